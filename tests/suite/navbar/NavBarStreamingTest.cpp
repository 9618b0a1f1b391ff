// The navigation bar read from a form description and written back: groups with links to
// items bound to actions, options, the view and a default style's font.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Streaming.h"
#include "suite/navbar/dxNavBar.h"

namespace {
const char* const kDescription = R"(object MainForm: TForm {
  object ActionList1: TActionList {
    object ActionOpen: TAction {
      Caption = "&Open..."
      Hint = "Open|Opens a sound file"
    }
    object ActionSave: TAction {
      Caption = "&Save"
    }
  }
  object dxNavBar1: TdxNavBar {
    Left = 0
    Top = 107
    Width = 209
    Height = 274
    ActiveGroupIndex = 1
    View = 1
    OptionsBehavior {
      Common {
        ShowLinksHint = True
      }
    }
    OptionsStyle {
      DefaultStyles {
        Item {
          Font {
            Name = "DejaVu Serif"
          }
          HAlignment = haLeft
        }
      }
    }
    object dxNavBar1Group1: TdxNavBarGroup {
      Caption = "Files"
      SelectedLinkIndex = -1
      TopVisibleLinkIndex = 0
      Links = items {
        item {
          Item = dxNavBar1Item1
        }
        item {
          Item = dxNavBar1Item2
        }
      }
    }
    object dxNavBar1Group2: TdxNavBarGroup {
      Caption = "Edit"
      TopVisibleLinkIndex = 5
      Links = items {
        item {
          Item = dxNavBar1Item2
        }
      }
    }
    object dxNavBar1Item1: TdxNavBarItem {
      Action = ActionOpen
    }
    object dxNavBar1Item2: TdxNavBarItem {
      Action = ActionSave
      Caption = "Save it"
    }
  }
}
)";
}  // namespace

TEST(NavBarStreaming, BarFromADescriptionAndBack) {
  RegisterGuiClasses();
  dxNavBarInitialize();
  TForm form(nullptr);
  ReadComponentFromText(&form, kDescription);
  auto* bar = dynamic_cast<TdxNavBar*>(form.FindComponent("dxNavBar1"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->View(), 1);
  EXPECT_EQ(bar->ActiveGroupIndex(), 1);
  EXPECT_TRUE(bar->ShowLinksHint());
  ASSERT_EQ(bar->Groups()->Count(), 2);
  ASSERT_EQ(bar->Items()->Count(), 2);
  TdxNavBarGroup* files = bar->Groups()->Items(0);
  TdxNavBarGroup* edit = bar->Groups()->Items(1);
  ASSERT_EQ(files->LinkCount(), 2);
  EXPECT_EQ(files->LinkAt(1)->Item(), bar->Items()->Items(1));
  EXPECT_EQ(edit->LinkAt(0)->Item(), bar->Items()->Items(1));
  EXPECT_EQ(edit->TopVisibleLinkIndex(), 0) << "clamped once loaded";
  // Items take what their actions give, unless the description gave its own.
  EXPECT_EQ(bar->Items()->Items(0)->Caption(), "&Open...");
  EXPECT_EQ(bar->Items()->Items(0)->Hint(), "Open|Opens a sound file");
  EXPECT_EQ(bar->Items()->Items(1)->Caption(), "Save it");
  // The stored default style survived loading; the others carry the view's values.
  TdxNavBarDefaultStyles* d = bar->DefaultStyles();
  EXPECT_EQ(d->Item()->Font()->Name(), "DejaVu Serif");
  EXPECT_EQ(d->Item()->HAlignment(), TdxBarStyleHAlignment::haLeft);
  EXPECT_TRUE(d->IsStoredAt(nbsItem));
  EXPECT_FALSE(d->IsStoredAt(nbsHint));
  EXPECT_EQ(d->Background()->BackColor(), clAppWorkSpace);

  // Written back and read again into a fresh form, the same bar comes out.
  std::string text = WriteComponentToText(&form);
  EXPECT_NE(text.find("HAlignment = haLeft"), std::string::npos) << text;
  EXPECT_EQ(text.find("Caption = \"&Open...\"", text.find("dxNavBar1Item1")), std::string::npos)
      << "a caption the action gives is not stored";
  TForm again(nullptr);
  ReadComponentFromText(&again, text);
  auto* copy = dynamic_cast<TdxNavBar*>(again.FindComponent("dxNavBar1"));
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(copy->Groups()->Count(), 2);
  EXPECT_EQ(copy->Groups()->Items(0)->Caption(), "Files");
  EXPECT_EQ(copy->Groups()->Items(0)->LinkCount(), 2);
  EXPECT_EQ(copy->Items()->Items(1)->Caption(), "Save it");
  EXPECT_EQ(copy->DefaultStyles()->Item()->Font()->Name(), "DejaVu Serif");
  EXPECT_EQ(copy->ActiveGroupIndex(), 1);
}
