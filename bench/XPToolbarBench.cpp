// Repainting a docked toolbar of 30 large buttons with 32 x 32 glyphs and captions through the XP
// painter (visual styles on), beside a QToolBar with the same actions and icons painted by Fusion.
// Each round invalidates the whole bar and paints it, glyphs (greyed, as large buttons show them
// until hot) and captions; the goal is at most twice Qt's time.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <QToolBar>
#include <chrono>
#include <memory>
#include <string>

#include "BenchCommon.h"
#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/win/Messages.h"
#include "platform/win/QtWindows.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarToolbar.h"
#include "suite/bars/dxBarXPPainter.h"
#include "suite/core/cxSuiteUnits.h"

namespace {

constexpr int kButtons = 30;

QImage Glyph(int Index) {
  QImage img(32, 32, QImage::Format_RGB32);
  img.fill(QColor(0x30, 0x30, 0x30));
  QPainter p(&img);
  p.fillRect(1, 1, 30, 30, QColor::fromHsv(Index * 12 % 360, 160, 210));
  p.fillRect(8, 8, 16, 16, QColor(0xF0, 0xF0, 0xF0));
  return img;
}

std::string Caption(int Index) { return "Command " + std::to_string(Index + 1); }

struct TXPToolbar {
  std::unique_ptr<TForm> Form;
  TdxBar* Bar = nullptr;
};

TXPToolbar& XPToolbar() {
  static TXPToolbar* t = nullptr;
  if (t) return *t;
  BenchEnsureApplication();
  RegisterGuiClasses();
  InitializeSuiteUnits();
  dxBarInitialize();
  t = new TXPToolbar;
  BenchAtEnd([] {
    delete t;
    t = nullptr;
    dxBarFinalize();
    FinalizeSuiteUnits();
  });
  t->Form = std::make_unique<TForm>(nullptr);
  auto* manager = new TdxBarManager(t->Form.get());
  manager->SetStyle(bmsXP);
  t->Form->SetBounds(0, 0, 3200, 200);
  t->Form->Show();
  t->Bar = manager->Bars()->Add();
  t->Bar->SetCaption("Toolbar");
  for (int i = 0; i < kButtons; ++i) {
    auto* b = new TdxBarLargeButton(t->Form.get());
    b->SetCaption(Caption(i));
    b->SetShowCaption(true);
    TBitmap glyph;
    glyph.SetImage(Glyph(i));
    b->SetLargeGlyph(&glyph);
    t->Bar->ItemLinks()->AddLinkForItem(b);
  }
  t->Bar->SetOneOnRow(true);
  t->Bar->SetDockingStyle(dsTop);
  t->Bar->SetVisible(true);
  Application->ProcessMessages();
  return *t;
}

void BM_XPToolbarRepaint(benchmark::State& state) {
  TXPToolbar& t = XPToolbar();
  TdxBarControl* control = t.Bar->BarControl();
  if (!control || !dynamic_cast<TdxBarXPPainter*>(t.Bar->BarManager()->Painter())) {
    state.SkipWithError("no XP toolbar (visual styles off?)");
    return;
  }
  // Every button must draw its glyph, or the comparison with Qt's toolbar would be unfair to it.
  TdxBarItemLinks* links = t.Bar->ItemLinks();
  for (int i = 0; i < links->Count(); ++i) {
    TdxBarItemControl* c = links->LinkByIndex(i)->Control();
    int index = -1;
    TCustomImageList* images = nullptr;
    TBitmap* glyph = nullptr;
    if (!c || !c->GlyphAndImages(2, false, index, images, glyph) || !glyph) {
      state.SkipWithError("a button without its glyph");
      return;
    }
  }
  HWND wnd = control->Handle();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    PaintWindowNow(wnd);
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  state.counters["width"] = control->Width();
}
BENCHMARK(BM_XPToolbarRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_QToolBarRepaint(benchmark::State& state) {
  BenchEnsureApplication();
  std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
  QToolBar bar;
  bar.setStyle(fusion.get());
  bar.setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  bar.setIconSize(QSize(32, 32));
  for (int i = 0; i < kButtons; ++i)
    bar.addAction(QIcon(QPixmap::fromImage(Glyph(i))), QString::fromStdString(Caption(i)));
  // Wide enough for every button, so that none goes into the overflow menu.
  bar.resize(bar.sizeHint());
  bar.show();
  QCoreApplication::processEvents();
  QImage canvas(bar.size(), QImage::Format_RGB32);
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    bar.render(&canvas);
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  state.counters["width"] = bar.width();
}
BENCHMARK(BM_QToolBarRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
