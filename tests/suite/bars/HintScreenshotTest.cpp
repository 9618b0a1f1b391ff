// A picture of a hint on a real X server: the Open button's tip, with its shortcut, one second
// after the mouse came to rest on the toolbar.

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
#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/gui/Menus.h"
#include "platform/win/Messages.h"
#include "suite/bars/dxBarHints.h"

namespace {

void Pump(int Ms) {
  for (int i = 0; i < Ms / 10; ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    Application->ProcessMessages();
    QThread::msleep(10);
  }
}

struct THintScreens : TBarFixture {
  TActionList* Actions = new TActionList(Form.get());

  TdxBarLargeButton* Command(const char* Caption, const char* Hint, const char* Key, TColor Colour) {
    auto* action = new TAction(Form.get());
    action->SetActionList(Actions);
    action->SetCaption(Caption);
    action->SetHint(Hint);
    action->SetShortCut(TextToShortCut(Key));
    action->OnExecute = [](TObject*) {};
    auto* b = NewItem<TdxBarLargeButton>();
    b->SetShowCaption(true);
    TBitmap glyph;
    glyph.SetWidth(32);
    glyph.SetHeight(32);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(TRect(0, 0, 32, 32));
    glyph.Canvas()->Brush()->SetColor(Colour);
    glyph.Canvas()->FillRect(TRect(6, 4, 26, 28));
    b->SetLargeGlyph(&glyph);
    b->SetAction(action);
    return b;
  }
  TdxBar* NewBar(const std::string& Caption, int Row, const std::vector<TdxBarItem*>& Items) {
    TdxBar* bar = Manager->Bars()->Add();
    bar->SetCaption(Caption);
    for (TdxBarItem* i : Items) bar->ItemLinks()->AddLinkForItem(i);
    bar->SetRow(Row);
    bar->SetOneOnRow(true);
    bar->SetWholeRow(true);
    bar->SetDockingStyle(dsTop);
    bar->SetVisible(true);
    return bar;
  }
};

TEST_F(THintScreens, OpenButtonHint) {
  if (!std::getenv("SONALIX_HINT_SCREENSHOTS") || QGuiApplication::platformName() != "xcb")
    GTEST_SKIP() << "runs under Xvfb from HintScreenshots.UnderXvfb";
  Manager->SetStyle(bmsXP);
  Manager->ShowShortCutInHint = true;
  Manager->ImageOptions()->SetLargeIcons(true);
  Form->SetBounds(0, 0, 520, 300);
  Form->SetColor(TColor(0xF0F0F0));
  Form->Show();
  std::vector<TdxBarItem*> menus;
  for (const char* c : {"&File", "&Edit", "&View", "&Help"}) menus.push_back(NewItem<TdxBarSubItem>(c));
  NewBar("Menu", 0, menus);
  TdxBarLargeButton* open = Command("&Open", "Opens an existing file.", "Ctrl+O", clYellow);
  TdxBar* tools = NewBar("Toolbar", 1,
                         {Command("&New", "Creates a new file.", "Ctrl+N", clWhite), open,
                          Command("&Save", "Saves the file.", "Ctrl+S", clNavy)});
  Pump(300);

  TdxBarControl* bar = tools->BarControl();
  ASSERT_TRUE(bar);
  TRect r;
  for (TdxBarItemLink* l : tools->ItemLinks()->ShownLinks())
    if (l->Item() == open) r = l->ItemRect();
  const TPoint rest = bar->ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  SetCursorPos(rest.X - 40, rest.Y);
  Pump(100);
  SetCursorPos(rest.X, rest.Y);
  Pump(1100);
  ASSERT_TRUE(Manager->IsHintWindowShowing());
  THintWindow* hint = dxBarHintWindow();
  const TRect f = Form->BoundsRect(), h = hint->BoundsRect();
  EXPECT_GT(h.Top, rest.Y);

  const char* dir = std::getenv("SONALIX_HINT_SCREENSHOTS");
  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  const TRect area(f.Left, f.Top, f.Right, std::max(h.Bottom + 10, f.Top + 160));
  ASSERT_TRUE(screen.copy(area.Left, area.Top, area.Width(), area.Height())
                  .save(QString::fromUtf8(dir) + "/hint-open.png"));
}

TEST(HintScreenshots, UnderXvfb) {
  const std::filesystem::path dir = sonalix::test::SheetDir();
  std::filesystem::create_directories(dir);
  std::filesystem::remove(dir / "hint-open.png");
  const auto run = sonalix::test::RunUnderXvfb("THintScreens.*", {{"SONALIX_HINT_SCREENSHOTS", dir.string()}});
  if (!run.Ran) GTEST_SKIP() << "xvfb-run is not installed";
  ASSERT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  EXPECT_FALSE(QImage(QString::fromStdString((dir / "hint-open.png").string())).isNull());
}

}  // namespace
