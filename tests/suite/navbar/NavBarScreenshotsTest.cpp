// Pictures of the explorer-bar views to look at: the command panel of the main window (view 10)
// read from a form description, without a colour scheme and with the first scheme, and views 8
// and 9 with a small fixture; also taken again on a real X server.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "common/TestEnv.h"
#include "platform/rtl/Streaming.h"
#include "platform/win/QtWindows.h"
#include "suite/core/VisualStyleState.h"
#include "suite/navbar/NavBarTestSupport.h"
#include "suite/navbar/dxNavBarExplorerViews.h"
#include "suite/navbar/dxNavBarGraphics.h"

using namespace navbar_test;

namespace {

QColor Rgb(TColor C) {
  TColor c = ColorToRGB(C);
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

void Keep(const QImage& Picture, const std::string& Name) {
  const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR");
  const std::filesystem::path folder = dir ? std::filesystem::path(dir) : sonalix::test::SheetDir();
  EXPECT_TRUE(Picture.save(QString::fromStdString((folder / Name).string()))) << Name;
}

QImage FromScreen(TForm* Form) {
  QWindow* window = GetWindowWidget(Form->Handle())->windowHandle();
  for (int i = 0; i < 2000 && !window->isExposed(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  return window->screen()->grabWindow(window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// The main window's command panel: six groups, twenty-two items.
const std::vector<std::pair<std::string, std::vector<std::string>>>& CommandPanel() {
  static const std::vector<std::pair<std::string, std::vector<std::string>>> groups = {
      {"Files",
       {"Open an existing file", "Create a new file", "Load tracks from CD", "Save this file", "Save file as..."}},
      {"Edit",
       {"Undo last edit or effect", "Cut selection", "Copy selection", "Delete selection", "Mix file with selection",
        "Trim start and end", "Split into two files"}},
      {"Effects",
       {"Amplify louder or softer", "Normalize to optimal level", "Fade In", "Fade Out", "Remove noise or hiss"}},
      {"Tools", {"Batch processor"}},
      {"Boolmark", {"Bookmark current position", "Open bookmark list"}},
      {"Region", {"Make selection a new region", "Open region list"}},
  };
  return groups;
}

std::string CommandPanelDescription() {
  std::string groups, items;
  int item = 0;
  for (size_t g = 0; g < CommandPanel().size(); ++g) {
    groups += "    object dxNavBar1Group" + std::to_string(g + 1) + ": TdxNavBarGroup {\n      Caption = \"" +
              CommandPanel()[g].first + "\"\n      Links = items {\n";
    for (const std::string& caption : CommandPanel()[g].second) {
      ++item;
      std::string name = "dxNavBar1Item" + std::to_string(item);
      groups += "        item {\n          Item = " + name + "\n        }\n";
      items += "    object " + name + ": TdxNavBarItem {\n      Caption = \"" + caption + "\"\n    }\n";
    }
    groups += "      }\n    }\n";
  }
  return "object MainForm: TForm {\n  ClientWidth = 249\n  ClientHeight = 314\n"
         "  object dxNavBar1: TdxNavBar {\n    Left = 0\n    Top = 0\n    Width = 209\n    Height = 274\n"
         "    View = 10\n" +
         groups + items + "  }\n}\n";
}

struct TCommandPanel {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TdxNavBar* Bar = nullptr;
  TCommandPanel() {
    dxNavBarInitialize();  // as the application does before reading its windows
    ReadComponentFromText(Form.get(), CommandPanelDescription());
    Bar = dynamic_cast<TdxNavBar*>(Form->FindComponent("dxNavBar1"));
    Form->Show();
    Application->ProcessMessages();
  }
};

void ShootCommandPanel(const char* Name, TColor Background) {
  TCommandPanel p;
  ASSERT_NE(p.Bar, nullptr);
  ASSERT_EQ(p.Bar->Groups()->Count(), 6);
  ASSERT_EQ(p.Bar->Items()->Count(), 22);
  // The mouse over the second link of Files: hot text, underlined.
  p.Bar->DoLinkHotTrack(p.Bar->Groups()->Items(0)->LinkAt(1));
  QImage shot = suitetest::Snapshot(p.Bar);
  EXPECT_EQ(shot.width(), 209);
  EXPECT_EQ(shot.height(), 274);
  // Twenty-two links do not fit in 274 pixels: the scroll bar shows beside the groups.
  EXPECT_TRUE(p.Bar->ScrollBar()->Visible());
  EXPECT_EQ(shot.pixelColor(2, 2), Rgb(Background));
  TdxNavBarViewInfo* vi = p.Bar->ViewInfo();
  TdxNavBarGroupViewInfo* files = vi->GroupAt(0);
  EXPECT_EQ(files->Rect.Left, 12);
  EXPECT_EQ(files->Rect.Right, 209 - 17 - 12);
  EXPECT_EQ(shot.pixelColor(files->ItemsRect.Left + 6, files->ItemsRect.Bottom - 3),
            Rgb(static_cast<TdxNavBarAdvExplorerBarGroupViewInfo*>(files)->GetBackgroundBackColor()));
  Keep(shot, Name);
  if (QGuiApplication::platformName() == "xcb")
    Keep(FromScreen(p.Form.get()), std::string("xvfb-") + Name);
}

// Groups Files (three links, the second hot), Edit (one link) and Tools (collapsed, no links).
QImage FixtureShot(int View) {
  TNavBarScene s(209, 274);
  s.Bar->SetView(View);
  TdxNavBarGroup* files = s.AddGroupWithLinks("Files", {"Open", "Save", "Close"});
  s.AddGroupWithLinks("Edit", {"Cut"});
  TdxNavBarGroup* tools = s.AddGroupWithLinks("Tools", {"Batch"});
  tools->SetExpanded(false);
  s.Bar->Groups()->SetLastExpandedGroup(nullptr);
  s.Bar->DoLinkHotTrack(files->LinkAt(1));
  QImage shot = s.Shot();
  TdxNavBarViewInfo* vi = s.Bar->ViewInfo();
  EXPECT_FALSE(s.Bar->ScrollBar()->Visible());
  EXPECT_EQ(shot.pixelColor(2, 2), Rgb(clWindow)) << View;
  TdxNavBarGroupViewInfo* f = vi->GroupAt(0);
  EXPECT_EQ(shot.pixelColor(f->CaptionRect.Left + 2, f->CaptionRect.Top + 2), Rgb(clBtnFace)) << View;
  // The border runs down both sides of the expanded group, not of the collapsed one.
  EXPECT_NE(shot.pixelColor(f->ItemsRect.Left, f->ItemsRect.Bottom - 2), Rgb(clWindow)) << View;
  TdxNavBarGroupViewInfo* t = vi->GroupAt(2);
  EXPECT_TRUE(t->ItemsRect.IsEmpty() || t->ItemsRect.Height() == 0) << View;
  if (QGuiApplication::platformName() == "xcb")
    Keep(FromScreen(s.Form.get()), "xvfb-navbar-view-" + std::to_string(View) + ".png");
  return shot;
}

}  // namespace

TEST(NavBarScreenshots, CommandPanelWithoutAColourScheme) {
  TVisualStylesAbsent absent;
  ShootCommandPanel("navbar-command-panel-no-scheme.png", clInactiveCaption);
}

TEST(NavBarScreenshots, CommandPanelWithTheFirstScheme) {
  TVisualStylesOn on;
  SetVisualStyleColorName("NormalColor");
  ShootCommandPanel("navbar-command-panel-scheme-1.png", TColor(0xE7A27B));
}

TEST(NavBarScreenshots, ExplorerViewsEightAndNine) {
  QImage eight = FixtureShot(dxNavBarExplorerBarView);
  QImage nine = FixtureShot(dxNavBarUltraFlatExplorerView);
  EXPECT_NE(eight, nine) << "the hot link is framed differently";
  QImage sheet(2 * 209 + 30, 294, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  painter.drawImage(10, 10, eight);
  painter.drawImage(229, 10, nine);
  painter.end();
  Keep(sheet, "navbar-views-8-9.png");
}

TEST(NavBarScreenshots, UnderXvfb) {
  const std::filesystem::path dir = sonalix::test::SheetDir() / "xvfb";
  std::filesystem::create_directories(dir);
  const char* names[] = {"xvfb-navbar-command-panel-no-scheme.png", "xvfb-navbar-command-panel-scheme-1.png",
                         "xvfb-navbar-view-8.png", "xvfb-navbar-view-9.png"};
  for (const char* name : names) std::filesystem::remove(dir / name);
  const auto run = sonalix::test::RunUnderXvfb("NavBarScreenshots.CommandPanel*:NavBarScreenshots.ExplorerViews*",
                                               {{"SONALIX_SCREENSHOT_DIR", dir.string()}});
  if (!run.Ran) GTEST_SKIP() << "xvfb-run is not installed";
  EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  for (const char* name : names) EXPECT_FALSE(QImage(QString::fromStdString((dir / name).string())).isNull()) << name;
}
