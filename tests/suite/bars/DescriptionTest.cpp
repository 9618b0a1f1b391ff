#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Streaming.h"
#include "suite/bars/dxBar.h"

namespace {

// A main window's bars as its description keeps them: categories, a main menu, a toolbar and a
// quick bar, sub-menus with separators, large buttons bound to actions, a window list and a
// popup menu.
const char* const kMainWindow = R"(object MainForm: TForm {
  object ActionList: TActionList {
    object ActionOpenFile: TAction {
      Caption = "&Open File..."
      Hint = "Opens an existing file."
      ShortCut = 16463
    }
    object ActionSaveFile: TAction {
      Caption = "&Save File"
      Hint = "Saves the current file."
      ShortCut = 16467
    }
    object ActionExit: TAction {
      Caption = "E&xit"
      Hint = "Quit."
    }
    object ActionPlay: TAction {
      Caption = "&Play"
      Hint = "Plays the current file from the current position. "
      ShortCut = 120
    }
  }
  object BarManager: TdxBarManager {
    AllowReset = false
    AlwaysMerge = true
    AlwaysSaveText = true
    AutoDockColor = false
    Categories = ("File", "Edit", "Effects", "Control", "Tools", "Bookmark", "View", "Window", "Help", "Menus", "Toolbar")
    DockColor = clBtnFace
    Font {
      Name = "Tahoma"
      Height = -11
    }
    MenuAnimations = maFade
    ShowShortCutInHint = true
    Style = bmsXP
    SunkenBorder = true
    UseF10ForMenu = false
    UseSystemFont = true
    DockControlHeights = (0, 0, 107, 0)
    ItemsVisibles = (2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2)
    Visibles = (true, true, true, true, true, true, true, true, true, true, true)
    object BarManagerBar1: TdxBar {
      Caption = "Menu"
      DockingStyle = dsTop
      IsMainMenu = true
      ItemLinks = items {
        item {
          ItemName = "SubItemFile"
        }
        item {
          ItemName = "SubItemWindow"
        }
      }
      Visible = true
    }
    object BarManagerBar2: TdxBar {
      Caption = "Toolbar"
      DockingStyle = dsTop
      ItemLinks = items {
        item {
          ItemName = "ButtonOpen"
        }
        item {
          BeginGroup = true
          ItemName = "ButtonPlay"
        }
      }
      Visible = true
    }
    object BarManagerBar3: TdxBar {
      Caption = "Quick"
      DockingStyle = dsTop
      ItemLinks = items {
        item {
          ItemName = "ButtonPlay"
        }
      }
      Visible = true
    }
    object SubItemFile: TdxBarSubItem {
      Caption = "&File"
      Category = 9
      Visible = ivAlways
      ItemLinks = items {
        item {
          ItemName = "ButtonOpen"
        }
        item {
          ItemName = "ButtonSave"
        }
        item {
          ItemName = "Separator1"
        }
        item {
          ItemName = "ButtonExit"
        }
      }
    }
    object SubItemWindow: TdxBarSubItem {
      Caption = "&Window"
      Category = 9
      Visible = ivAlways
      ItemLinks = items {
        item {
          ItemName = "ListWindows"
        }
      }
    }
    object ButtonOpen: TdxBarLargeButton {
      Action = ActionOpenFile
      Category = 0
      LargeImageIndex = 1
    }
    object ButtonSave: TdxBarLargeButton {
      Action = ActionSaveFile
      Category = 0
      LargeImageIndex = 2
    }
    object ButtonExit: TdxBarLargeButton {
      Action = ActionExit
      Category = 0
    }
    object ButtonPlay: TdxBarLargeButton {
      Action = ActionPlay
      Category = 3
      ButtonStyle = bsChecked
    }
    object Separator1: TdxBarSeparator {
      Caption = "New Separator"
      Category = 0
      Hint = "New Separator"
      Visible = ivAlways
    }
    object ListWindows: TdxBarListItem {
      Caption = "Windows"
      Category = 7
      Visible = ivAlways
    }
  }
  object PopupMenu: TdxBarPopupMenu {
    ItemLinks = items {
      item {
        ItemName = "ButtonPlay"
      }
    }
  }
})";

std::vector<std::string> Captions(TdxBarItemLinks* Links) {
  std::vector<std::string> r;
  for (TdxBarItemLink* l : Links->ShownLinks())
    r.push_back(dynamic_cast<TdxBarSeparator*>(l->Item()) ? "-" : l->EffectiveCaption());
  return r;
}

}  // namespace

TEST(BarDescription, AMainWindowsBarsLoadAndWriteBackEqual) {
  TForm form(nullptr);
  ReadComponentFromText(&form, kMainWindow);
  auto* m = dynamic_cast<TdxBarManager*>(form.FindComponent("BarManager"));
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->Style(), bmsXP);
  EXPECT_EQ(m->Categories()->Count(), 11);
  EXPECT_EQ(m->Categories()->Strings(10), "Toolbar");
  EXPECT_FALSE(m->AllowReset);
  // Font is read before UseSystemFont, so the system menu font wins over the stored Tahoma.
  EXPECT_TRUE(m->UseSystemFont());
  EXPECT_EQ(m->Font()->Name(), Screen->MenuFont()->Name());
  EXPECT_EQ(m->Bars()->Count(), 3);
  EXPECT_EQ(m->ItemCount(), 8);

  TdxBar* menu = m->Bars()->Items(0);
  EXPECT_EQ(menu->Caption(), "Menu");
  EXPECT_TRUE(menu->IsMainMenu());
  EXPECT_TRUE(menu->Visible());
  EXPECT_EQ(menu->DockingStyle(), dsTop);
  EXPECT_EQ(Captions(menu->ItemLinks()), (std::vector<std::string>{"&File", "&Window"}));

  auto* file = dynamic_cast<TdxBarSubItem*>(m->ItemByName("SubItemFile"));
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Captions(file->ItemLinks()),
            (std::vector<std::string>{"&Open File...", "&Save File", "-", "E&xit"}));
  auto* open = dynamic_cast<TdxBarLargeButton*>(m->ItemByName("ButtonOpen"));
  EXPECT_EQ(open->ShortCut(), ShortCut('O', {ssCtrl}));
  EXPECT_EQ(open->Hint(), "Opens an existing file.");
  EXPECT_EQ(open->ImageIndex(), 1);
  EXPECT_EQ(open->LinkCount(), 2);

  TdxBar* toolbar = m->Bars()->Items(1);
  EXPECT_TRUE(toolbar->ItemLinks()->LinkByIndex(1)->BeginGroup());

  auto* popup = dynamic_cast<TdxBarPopupMenu*>(form.FindComponent("PopupMenu"));
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(Captions(popup->ItemLinks()), (std::vector<std::string>{"&Play"}));

  std::string written = WriteComponentToText(&form);
  TForm back(nullptr);
  ReadComponentFromText(&back, written);
  EXPECT_EQ(WriteComponentToText(&back), written);
  auto* m2 = dynamic_cast<TdxBarManager*>(back.FindComponent("BarManager"));
  ASSERT_NE(m2, nullptr);
  EXPECT_EQ(m2->ItemCount(), 8);
  EXPECT_EQ(Captions(dynamic_cast<TdxBarSubItem*>(m2->ItemByName("SubItemFile"))->ItemLinks()),
            (std::vector<std::string>{"&Open File...", "&Save File", "-", "E&xit"}));
}
