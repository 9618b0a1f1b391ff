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
#include "platform/gui/Forms.h"
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
  TdxBarSubItem* Owner = NewItem<TdxBarSubItem>("owner");
  std::unique_ptr<TTestBarControl> Bar;
  ~THintScreens() override { Bar.reset(); }

  TdxBarButton* Command(const char* Caption, const char* Hint, const char* Key) {
    auto* b = NewItem<TdxBarButton>(Caption);
    b->SetHint(Hint);
    if (*Key) b->SetShortCut(TextToShortCut(Key));
    Owner->ItemLinks()->AddLinkForItem(b);
    return b;
  }
};

TEST_F(THintScreens, OpenButtonHint) {
  if (!std::getenv("SONALIX_HINT_SCREENSHOTS") || QGuiApplication::platformName() != "xcb")
    GTEST_SKIP() << "runs under Xvfb from HintScreenshots.UnderXvfb";
  Manager->SetStyle(bmsXP);
  Manager->ShowShortCutInHint = true;
  Form->SetBounds(0, 0, 520, 300);
  Form->SetColor(TColor(0xF0F0F0));
  Form->Show();
  Command("&New", "Creates a new file.", "Ctrl+N");
  TdxBarButton* open = Command("&Open", "Opens an existing file.", "Ctrl+O");
  Command("&Save", "Saves the file.", "Ctrl+S");
  const TPoint origin = Form->ClientToScreen(TPoint(10, 10));
  Bar = std::make_unique<TTestBarControl>(Manager, Owner->ItemLinks());
  Bar->ShowAt(origin.X, origin.Y, 400, 26);
  Pump(300);

  TRect r;
  for (TdxBarItemLink* l : Owner->ItemLinks()->ShownLinks())
    if (l->Item() == open) r = l->ItemRect();
  const TPoint rest = Bar->ClientToScreen(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  SetCursorPos(rest.X - 20, rest.Y);
  Pump(100);
  SetCursorPos(rest.X, rest.Y);
  Pump(1100);
  ASSERT_TRUE(Manager->IsHintWindowShowing());
  THintWindow* hint = dxBarHintWindow();
  const TRect b = Bar->BoundsRect(), h = hint->BoundsRect();
  EXPECT_GT(h.Top, rest.Y);

  const char* dir = std::getenv("SONALIX_HINT_SCREENSHOTS");
  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  const TRect area(b.Left - 10, b.Top - 10, std::max(b.Right, h.Right) + 10, std::max(b.Bottom, h.Bottom) + 10);
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
