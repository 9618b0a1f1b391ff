// Opening the Edit menu (22 entries with 16 x 16 glyphs and shortcuts, no animation) from the
// request to the painted window, beside a QMenu with the same entries and icons. Each round
// opens, paints and closes the menu; only opening and painting are timed.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "BenchCommon.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/win/Messages.h"
#include "platform/win/QtWindows.h"
#include "suite/bars/dxBarSubMenu.h"
#include "suite/core/cxSuiteUnits.h"

namespace {

struct TEntry {
  const char* Caption;
  const char* Keys;
};
const TEntry kEntries[22] = {
    {"&Undo", "Ctrl+Z"},          {"Redo", ""},
    {"Cu&t", "Ctrl+X"},           {"&Copy", "Ctrl+C"},
    {"Copy To &New", ""},         {"&Paste", "Ctrl+V"},
    {"Paste Mi&x...", ""},        {"&Delete", "Del"},
    {"&Select All", "Ctrl+A"},    {"Select To Start", ""},
    {"Select To End", ""},        {"Select Specified Time...", ""},
    {"&Mix File...", ""},         {"Repeat Loop...", ""},
    {"Tri&m", "Ctrl+T"},          {"Trim Start", ""},
    {"Trim End", ""},             {"S&plit into two at this point", ""},
    {"Silence Select Region", ""}, {"Save Select &Region As...", ""},
    {"Insert Silen&ce...", ""},   {"&Insert File...", ""},
};

QImage Glyph(int Index) {
  QImage img(16, 16, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setBrush(QColor::fromHsv(Index * 16 % 360, 160, 200));
  p.setPen(Qt::darkGray);
  p.drawRoundedRect(2, 2, 11, 11, 3, 3);
  return img;
}

struct TBarMenu {
  std::unique_ptr<TForm> Form;
  TdxBarPopupMenu* Popup = nullptr;
};

TBarMenu& BarMenu() {
  static TBarMenu* m = nullptr;
  if (m) return *m;
  BenchEnsureApplication();
  RegisterGuiClasses();
  InitializeSuiteUnits();
  dxBarInitialize();
  m = new TBarMenu;
  BenchAtEnd([] {
    delete m;
    m = nullptr;
    dxBarFinalize();
    FinalizeSuiteUnits();
  });
  m->Form = std::make_unique<TForm>(nullptr);
  auto* manager = new TdxBarManager(m->Form.get());
  manager->MenuAnimations = maNone;
  m->Form->SetBounds(0, 0, 600, 500);
  m->Form->Show();
  m->Popup = new TdxBarPopupMenu(m->Form.get());
  for (int i = 0; i < 22; ++i) {
    auto* b = new TdxBarButton(m->Form.get());
    b->SetCaption(kEntries[i].Caption);
    if (*kEntries[i].Keys) b->SetShortCut(TextToShortCut(kEntries[i].Keys));
    TBitmap glyph;
    glyph.SetImage(Glyph(i));
    b->SetGlyph(&glyph);
    m->Popup->ItemLinks()->AddLinkForItem(b);
  }
  return *m;
}

void BM_BarMenuOpen(benchmark::State& state) {
  TBarMenu& m = BarMenu();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    m.Popup->PopupFromControl(40, 30, nullptr, false);
    HWND wnd = m.Popup->BarControl()->Handle();
    PaintWindowNow(wnd);
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    SendMessage(wnd, WM_KEYDOWN, VK_ESCAPE, 0);
    Application->ProcessMessages();
  }
}
BENCHMARK(BM_BarMenuOpen)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_QMenuOpen(benchmark::State& state) {
  BenchEnsureApplication();
  QMenu menu;
  for (int i = 0; i < 22; ++i) {
    QAction* a = menu.addAction(QIcon(QPixmap::fromImage(Glyph(i))), QString(kEntries[i].Caption));
    if (*kEntries[i].Keys) a->setShortcut(QKeySequence(QString(kEntries[i].Keys)));
  }
  QImage canvas(400, 600, QImage::Format_RGB32);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    menu.popup(QPoint(40, 30));
    // Offscreen, a shown window is not painted until it is exposed: paint it the way it would be.
    menu.render(&canvas);
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    menu.hide();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_QMenuOpen)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
