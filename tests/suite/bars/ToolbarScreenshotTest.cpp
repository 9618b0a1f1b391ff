// A picture of the editor's three top rows on a real X server: the multi-line main menu, the
// toolbar and the quick bar of large buttons with their glyphs and captions, over an MDI frame.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdlib>
#include <filesystem>

#include "BarTestSupport.h"
#include "common/TestEnv.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Pictures.h"

namespace {

void Pump(int Ms) {
  for (int i = 0; i < Ms / 10; ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    Application->ProcessMessages();
    QThread::msleep(10);
  }
}

struct TToolbarScreens : TBarFixture {
  TActionList* Actions = new TActionList(Form.get());
  TCustomImageList* LargeImages = new TCustomImageList(Form.get());

  // A 32 x 32 picture: a coloured sheet with a darker band, on the transparent corner colour.
  static void DrawGlyph(TBitmap* B, TColor Face, int Kind) {
    B->SetWidth(32);
    B->SetHeight(32);
    TCanvas* c = B->Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(TRect(0, 0, 32, 32));
    c->Brush()->SetColor(clGray);
    c->FillRect(TRect(6, 4, 27, 29));
    c->Brush()->SetColor(Face);
    c->FillRect(TRect(5, 3, 26, 28));
    c->Brush()->SetColor(clBlack);
    switch (Kind % 3) {
      case 0: c->FillRect(TRect(9, 8, 22, 10)), c->FillRect(TRect(9, 13, 22, 15)), c->FillRect(TRect(9, 18, 18, 20)); break;
      case 1: c->FillRect(TRect(14, 7, 17, 24)), c->FillRect(TRect(7, 14, 24, 17)); break;
      default: c->FillRect(TRect(10, 10, 21, 21)); break;
    }
  }
  TdxBarLargeButton* Large(const char* Caption, TColor Face, int Kind) {
    auto* a = new TAction(Form.get());
    a->SetActionList(Actions);
    a->SetCaption(Caption);
    auto* b = NewItem<TdxBarLargeButton>();
    b->SetAction(a);
    b->SetShowCaption(true);
    TBitmap glyph;
    DrawGlyph(&glyph, Face, Kind);
    b->SetLargeImageIndex(LargeImages->AddMasked(&glyph, clFuchsia));
    return b;
  }
  TdxBar* Bar(const char* Caption, int Row, std::initializer_list<std::pair<TdxBarItem*, bool>> Items) {
    TdxBar* bar = Manager->Bars()->Add();
    bar->SetCaption(Caption);
    for (auto [item, group] : Items) bar->ItemLinks()->AddLinkForItem(item)->SetBeginGroup(group);
    bar->SetNotDocking({dsNone, dsLeft, dsTop, dsRight, dsBottom});
    bar->SetShowMark(false);
    bar->SetAllowClose(false);
    bar->SetAllowQuickCustomizing(false);
    bar->SetRow(Row);
    bar->SetOneOnRow(true);
    bar->SetWholeRow(true);
    bar->SetDockingStyle(dsTop);
    return bar;
  }
};

TEST_F(TToolbarScreens, ThreeTopRows) {
  if (!std::getenv("SONALIX_TOOLBAR_SCREENSHOTS") || QGuiApplication::platformName() != "xcb")
    GTEST_SKIP() << "runs under Xvfb from ToolbarScreenshots.UnderXvfb";
  Form->SetFormStyle(fsMDIForm);
  Form->SetColor(clAppWorkSpace);
  Form->SetBounds(0, 0, 760, 420);
  Manager->SetStyle(bmsXP);
  LargeImages->SetWidth(32);
  LargeImages->SetHeight(32);
  Manager->ImageOptions()->SetLargeImages(LargeImages);
  Manager->SetAutoDockColor(false);
  Manager->SetDockColor(clBtnFace);
  Manager->SunkenBorder = true;
  Manager->SetNotDocking({dsNone, dsLeft, dsTop, dsRight, dsBottom});
  Manager->BeginBarsUpdate();
  std::vector<std::pair<TdxBarItem*, bool>> menu;
  TdxBar* mainMenu = Bar("Menu", 0, {});
  for (const char* c : {"&File", "&Edit", "&View", "Effe&cts", "&Generate", "&Tools", "&Bookmarks", "&Window", "&Help"}) {
    auto* sub = NewItem<TdxBarSubItem>(c);
    sub->ItemLinks()->AddLinkForItem(NewItem<TdxBarButton>("Item"));
    mainMenu->ItemLinks()->AddLinkForItem(sub);
  }
  mainMenu->SetIsMainMenu(true);
  mainMenu->SetMultiLine(true);
  Bar("Toolbar", 1,
      {{Large("New", TColor(0xF0F0FF), 0), false}, {Large("Open", TColor(0x80E0FF), 0), false},
       {Large("Save", TColor(0xFFC080), 2), false}, {Large("Cut", TColor(0xFFFFFF), 1), true},
       {Large("Copy", TColor(0xFFFFFF), 0), false}, {Large("Paste", TColor(0xC0FFC0), 0), false},
       {Large("Undo", TColor(0xC0C0FF), 1), true}, {Large("Redo", TColor(0xC0C0FF), 1), false}});
  Bar("Quick", 2,
      {{Large("Play", TColor(0x80FF80), 1), false}, {Large("Stop", TColor(0x8080FF), 2), false},
       {Large("Record", TColor(0x4040FF), 2), false}, {Large("Zoom In", TColor(0xFFE0C0), 1), true},
       {Large("Zoom Out", TColor(0xFFE0C0), 0), false}});
  Manager->EndBarsUpdate();
  for (int i = 0; i < Manager->Bars()->Count(); ++i) Manager->Bars()->Items(i)->SetVisible(true);
  Form->Show();
  Pump(400);

  TdxDockControl* top = Manager->Bars()->DockControls(dsTop);
  ASSERT_TRUE(top);
  EXPECT_EQ(top->RowCount(), 3);
  const char* dir = std::getenv("SONALIX_TOOLBAR_SCREENSHOTS");
  const TPoint o = Form->ClientOrigin();
  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  const QImage shot = screen.copy(o.X, o.Y, Form->ClientWidth(), top->Height() + 40);
  ASSERT_TRUE(shot.save(QString::fromUtf8(dir) + "/toolbar-rows.png"));
}

TEST(ToolbarScreenshots, UnderXvfb) {
  const std::filesystem::path dir = sonalix::test::SheetDir();
  std::filesystem::create_directories(dir);
  std::filesystem::remove(dir / "toolbar-rows.png");
  const auto run = sonalix::test::RunUnderXvfb("TToolbarScreens.*", {{"SONALIX_TOOLBAR_SCREENSHOTS", dir.string()}, {"SONALIX_THEMES", "0"}});
  if (!run.Ran) GTEST_SKIP() << "xvfb-run is not installed";
  ASSERT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  EXPECT_FALSE(QImage(QString::fromStdString((dir / "toolbar-rows.png").string())).isNull());
}

}  // namespace
