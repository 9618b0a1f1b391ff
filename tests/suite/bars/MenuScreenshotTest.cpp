// Pictures of the editor's menus on a real X server: the File menu faded in with its shadow, and
// the Edit menu with its "Insert Silen&ce..." sub-menu open. A compositing manager runs beside
// Xvfb when one is installed, so that the shadows have their per-pixel alpha.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QThread>
#include <cstdlib>
#include <filesystem>

#include "BarTestSupport.h"
#include "common/TestEnv.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/sys/Modules.h"
#include "platform/win/Messages.h"
#include "platform/win/QtWindows.h"
#include "suite/bars/dxBarShadow.h"
#include "suite/bars/dxBarSubMenu.h"

BOOL UpdateLayeredWindow(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);

namespace {

void Pump(int Ms) {
  for (int i = 0; i < Ms / 10; ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    Application->ProcessMessages();
    QThread::msleep(10);
  }
}

// Starts the compositing manager on this display; the layered-window entry, dropped at start-up
// without one, is put back once it runs.
std::unique_ptr<QProcess> StartCompositor() {
  const QString exe = QStandardPaths::findExecutable("xcompmgr");
  if (exe.isEmpty()) return nullptr;
  auto p = std::make_unique<QProcess>();
  p->start(exe, {"-n"});
  if (!p->waitForStarted(3000)) return nullptr;
  QThread::msleep(300);
  SetModuleEntryAs("user32.dll", "UpdateLayeredWindow", &UpdateLayeredWindow);
  dxBarBindWindowEntries();
  return p;
}

struct TMenuScreens : TBarFixture {
  TdxBarButton* Command(const char* Caption, TShortCut Key = 0) {
    auto* b = NewItem<TdxBarButton>(Caption);
    if (Key) b->SetShortCut(Key);
    return b;
  }
  TdxBarPopupMenu* Menu(std::initializer_list<std::pair<TdxBarItem*, bool>> Entries) {
    auto* m = new TdxBarPopupMenu(Form.get());
    for (auto [item, group] : Entries) m->ItemLinks()->AddLinkForItem(item)->SetBeginGroup(group);
    return m;
  }
  void Save(const char* Name, const TRect& Area) {
    const char* dir = std::getenv("SONALIX_MENU_SCREENSHOTS");
    // The compositor shows a change a little later: the first grab may still be the old picture.
    QGuiApplication::primaryScreen()->grabWindow(0);
    Pump(200);
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QImage shot = screen.copy(Area.Left, Area.Top, Area.Width(), Area.Height());
    ASSERT_TRUE(shot.save(QString::fromUtf8(dir) + "/" + Name));
  }
};

TEST_F(TMenuScreens, FileAndEditMenus) {
  if (!std::getenv("SONALIX_MENU_SCREENSHOTS") || QGuiApplication::platformName() != "xcb")
    GTEST_SKIP() << "runs under Xvfb from MenuScreenshots.UnderXvfb";
  auto compositor = StartCompositor();
  Manager->SetStyle(bmsXP);
  Manager->MenuAnimations = maFade;
  Form->SetBounds(0, 0, 520, 420);
  Form->SetColor(TColor(0xF0F0F0));
  Form->Show();
  Pump(300);

  TdxBarPopupMenu* file = Menu({{Command("&New File...", scCtrl | 'N'), false},
                                {Command("&Open File...", scCtrl | 'O'), false},
                                {Command("&Load Audio CD Track(s)..."), false},
                                {Command("Close File"), true},
                                {Command("&Save File", scCtrl | 'S'), true},
                                {Command("Save File &As..."), false},
                                {Command("&Convert Sample Rate and Channels..."), true},
                                {Command("Edit ID3 Tags..."), true},
                                {Command("&Options..."), true},
                                {Command("E&xit"), true}});
  const TPoint at = Form->ClientToScreen(TPoint(20, 20));
  file->PopupFromControl(at.X, at.Y, nullptr, false);
  Pump(500);  // the fade takes 150 ms
  TCustomdxBarControl* menu = file->BarControl();
  ASSERT_TRUE(menu);
  EXPECT_EQ(static_cast<TdxBarSubMenuControl*>(menu)->ShownAnimation(), maFade);
  const TRect r = menu->BoundsRect();
  Save("menu-file.png", TRect(r.Left - 10, r.Top - 10, r.Right + 20, r.Bottom + 20));
  SendMessage(menu->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  Pump(100);

  auto* silence = NewItem<TdxBarSubItem>("Insert Silen&ce...");
  for (const char* c : {"Begin", "Current", "End"}) silence->ItemLinks()->AddLinkForItem(Command(c));
  auto* insertFile = NewItem<TdxBarSubItem>("&Insert File...");
  TdxBarPopupMenu* edit = Menu({{Command("&Undo", scCtrl | 'Z'), false},
                                {Command("Redo"), false},
                                {Command("Cu&t", scCtrl | 'X'), true},
                                {Command("&Copy", scCtrl | 'C'), false},
                                {Command("Copy To &New"), false},
                                {Command("&Paste", scCtrl | 'V'), false},
                                {Command("Paste Mi&x..."), false},
                                {Command("&Delete", VK_DELETE), false},
                                {Command("&Select All", scCtrl | 'A'), true},
                                {Command("Tri&m", scCtrl | 'T'), true},
                                {silence, true},
                                {insertFile, false}});
  edit->PopupFromControl(at.X, at.Y, nullptr, false);
  Pump(400);
  menu = edit->BarControl();
  ASSERT_TRUE(menu);
  // Down to "Insert Silen&ce...", then Right opens it.
  for (int i = 0; i < 20; ++i) {
    TdxBarItemControl* sel = menu->SelectedControl();
    if (sel && sel->LinkItem() == silence) break;
    SendMessage(menu->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  }
  SendMessage(menu->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
  Pump(500);
  TCustomdxBarControl* sub = silence->ItemLinks()->BarControl();
  ASSERT_TRUE(sub);
  const TRect a = menu->BoundsRect(), b = sub->BoundsRect();
  Save("menu-edit-insert-silence.png", TRect(a.Left - 10, std::min(a.Top, b.Top) - 10, b.Right + 20,
                                             std::max(a.Bottom, b.Bottom) + 20));
  CloseActiveMenusOf(Manager);
  if (compositor) compositor->kill();
}

TEST(MenuScreenshots, UnderXvfb) {
  const std::filesystem::path dir = sonalix::test::SheetDir();
  std::filesystem::create_directories(dir);
  for (const char* name : {"menu-file.png", "menu-edit-insert-silence.png"}) std::filesystem::remove(dir / name);
  const auto run = sonalix::test::RunUnderXvfb("TMenuScreens.*", {{"SONALIX_MENU_SCREENSHOTS", dir.string()}});
  if (!run.Ran) GTEST_SKIP() << "xvfb-run is not installed";
  ASSERT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  for (const char* name : {"menu-file.png", "menu-edit-insert-silence.png"}) {
    QImage img(QString::fromStdString((dir / name).string()));
    EXPECT_FALSE(img.isNull()) << name;
  }
}

}  // namespace
