// A bar going back to the links its description gave it, and bars the manager hides while a
// category leaves them nothing to show.

#include <gtest/gtest.h>

#include <QtCore/QFileInfo>
#include <QtCore/QTemporaryDir>
#include <string>
#include <vector>

#include "BarTestSupport.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Streaming.h"

namespace {

const char* const kBars = R"(object MainForm: TForm {
  object BarManager: TdxBarManager {
    Categories = ("File", "Edit")
    object BarManagerBar1: TdxBar {
      Caption = "Toolbar"
      DockingStyle = dsTop
      ItemLinks = items {
        item {
          ItemName = "ButtonOpen"
        }
        item {
          BeginGroup = true
          ItemName = "ButtonSave"
        }
        item {
          ItemName = "SubItemMore"
        }
      }
      Visible = true
    }
    object BarManagerBar2: TdxBar {
      Caption = "Edit"
      DockingStyle = dsTop
      ItemLinks = items {
        item {
          ItemName = "ButtonCut"
        }
      }
      Visible = true
    }
    object ButtonOpen: TdxBarButton {
      Caption = "Open"
      Category = 0
    }
    object ButtonSave: TdxBarButton {
      Caption = "Save"
      Category = 0
    }
    object ButtonCut: TdxBarButton {
      Caption = "Cut"
      Category = 1
    }
    object SubItemMore: TdxBarSubItem {
      Caption = "More"
      Category = 0
      ItemLinks = items {
        item {
          ItemName = "ButtonOpen"
        }
        item {
          ItemName = "ButtonCut"
        }
      }
    }
  }
})";

std::vector<std::string> Links(TdxBarItemLinks* Links) {
  std::vector<std::string> r;
  for (int i = 0; i < Links->Count(); ++i) {
    TdxBarItemLink* l = Links->LinkByIndex(i);
    r.push_back((l->BeginGroup() ? "|" : "") + l->EffectiveCaption());
  }
  return r;
}

struct TLoadedBars : ::testing::Test {
  TForm Form{nullptr};
  TdxBarManager* Manager = nullptr;
  TdxBar* Toolbar = nullptr;
  TdxBar* Edit = nullptr;
  TdxBarSubItem* More = nullptr;
  std::vector<std::string> Events;

  TLoadedBars() {
    ReadComponentFromText(&Form, kBars);
    Manager = dynamic_cast<TdxBarManager*>(Form.FindComponent("BarManager"));
    Toolbar = Manager->Bars()->Items(0);
    Edit = Manager->Bars()->Items(1);
    More = dynamic_cast<TdxBarSubItem*>(Manager->ItemByName("SubItemMore"));
    Manager->OnBarBeforeReset = [this](TObject*, TdxBar* b) {
      Events.push_back("before " + b->Caption());
    };
    Manager->OnBarAfterReset = [this](TObject*, TdxBar* b) {
      Events.push_back("after " + b->Caption());
    };
  }
};

const std::vector<std::string> kLoadedToolbar{"Open", "|Save", "More"};
const std::vector<std::string> kLoadedMore{"Open", "Cut"};

}  // namespace

TEST_F(TLoadedBars, ResetBringsBackTheLoadedLinksOfTheBarAndItsMenus) {
  ASSERT_EQ(Links(Toolbar->ItemLinks()), kLoadedToolbar);
  EXPECT_TRUE(Toolbar->IsResettable());

  // The user rearranges the bar, renames a link and empties the sub-menu.
  Toolbar->ItemLinks()->Delete(0);
  Toolbar->ItemLinks()->AddLinkForItem(Manager->ItemByName("ButtonCut"));
  Toolbar->ItemLinks()->LinkByIndex(0)->SetUserCaption("Keep");
  Toolbar->ItemLinks()->LinkByIndex(0)->SetBeginGroup(false);
  More->ItemLinks()->Delete(1);
  Toolbar->SetDockingStyle(dsLeft);
  ASSERT_EQ(Links(Toolbar->ItemLinks()), (std::vector<std::string>{"Keep", "More", "Cut"}));

  Toolbar->Reset();
  EXPECT_EQ(Links(Toolbar->ItemLinks()), kLoadedToolbar);
  EXPECT_FALSE(Toolbar->ItemLinks()->LinkByIndex(1)->UserDefine().Contains(udCaption));
  EXPECT_EQ(Links(More->ItemLinks()), kLoadedMore);
  EXPECT_EQ(Events, (std::vector<std::string>{"before Toolbar", "after Toolbar"}));
  // The placement stays where the user put it unless a full reset is asked for.
  EXPECT_EQ(Toolbar->DockingStyle(), dsLeft);
  Manager->UseFullReset = true;
  Toolbar->Reset();
  EXPECT_EQ(Toolbar->DockingStyle(), dsTop);
  EXPECT_TRUE(Toolbar->Visible());
}

TEST_F(TLoadedBars, ABarTheLoadedLayoutDoesNotKnowIsLeftAsItIs) {
  TdxBar* added = Manager->Bars()->Add();
  added->SetCaption("Mine");
  added->ItemLinks()->AddLinkForItem(Manager->ItemByName("ButtonSave"));
  added->Reset();
  EXPECT_EQ(Links(added->ItemLinks()), (std::vector<std::string>{"Save"}));
  // A renamed bar no longer finds its loaded section either.
  Toolbar->SetCaption("Renamed");
  Toolbar->ItemLinks()->Delete(0);
  Toolbar->Reset();
  EXPECT_EQ(Links(Toolbar->ItemLinks()), (std::vector<std::string>{"Save", "More"}));
  EXPECT_TRUE(Events.empty());
  EXPECT_FALSE(added->IsResettable());
}

TEST_F(TLoadedBars, EmptyBarsHideWhileTheirCategoryIsHiddenAndComeBackWithIt) {
  Manager->SetAutoHideEmptyBars(true);
  // "Edit" shows only a command of category 1; "Toolbar" has commands of category 0 too.
  Manager->SetCategoryVisibility(1, ivNever);
  EXPECT_FALSE(Edit->Visible());
  EXPECT_TRUE(Edit->HiddenAsEmpty());
  EXPECT_TRUE(Toolbar->Visible());
  EXPECT_FALSE(Toolbar->HiddenAsEmpty());
  Manager->SetCategoryVisibility(1, ivAlways);
  EXPECT_TRUE(Edit->Visible());
  EXPECT_FALSE(Edit->HiddenAsEmpty());

  // Without the option nothing is hidden; turning it off forgets why a bar was hidden.
  Manager->SetCategoryVisibility(1, ivNever);
  Manager->SetAutoHideEmptyBars(false);
  EXPECT_FALSE(Edit->HiddenAsEmpty());
  Manager->SetCategoryVisibility(1, ivAlways);
  EXPECT_FALSE(Edit->Visible());
  Edit->SetVisible(true);
  Manager->SetCategoryVisibility(1, ivNever);
  EXPECT_TRUE(Edit->Visible());
}

TEST(BarLayoutOnClose, TheOwnerFormClosingStoresTheLayoutOnlyWhenAsked) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (bool store : {false, true}) {
    const std::string ini = dir.filePath(store ? "stored.ini" : "not.ini").toStdString();
    {
      TForm form(nullptr);
      ReadComponentFromText(&form, kBars);
      auto* m = dynamic_cast<TdxBarManager*>(form.FindComponent("BarManager"));
      m->IniFileName = ini;
      m->StoreInIniFile = store;
      m->Bars()->Items(0)->ItemLinks()->LinkByIndex(0)->SetUserCaption("Mine");
      m->Bars()->Items(1)->SetVisible(false);
    }
    EXPECT_EQ(QFileInfo::exists(QString::fromStdString(ini)), store);
    if (!store) continue;
    // Every part was still there when the layout was written: the next run gets it all back.
    TForm form(nullptr);
    ReadComponentFromText(&form, kBars);
    auto* m = dynamic_cast<TdxBarManager*>(form.FindComponent("BarManager"));
    m->LoadLayoutFromIniFile(ini);
    EXPECT_EQ(Links(m->Bars()->Items(0)->ItemLinks()),
              (std::vector<std::string>{"Mine", "|Save", "More"}));
    EXPECT_FALSE(m->Bars()->Items(1)->Visible());
    auto* more = dynamic_cast<TdxBarSubItem*>(m->ItemByName("SubItemMore"));
    EXPECT_EQ(Links(more->ItemLinks()), kLoadedMore);
  }
}
