// The painters of the status bar's paint styles.
#include "platform/win/GdiExtras.h"
#include "suite/core/dxOffice11.h"
#include "suite/extras/dxStatusBar.h"

namespace {
constexpr int kStatusPartBackground = 0, kStatusPartPane = 1, kStatusPartGripper = 3;

void FillSolid(TcxCanvas* Canvas, const TRect& R, TColor Color) { Canvas->FillRectWithColor(R, Color); }

TRect Deflate(const TRect& R, const TRect& M) {
  return TRect(R.Left + M.Left, R.Top + M.Top, R.Right - M.Right, R.Bottom - M.Bottom);
}

// The bar's light and dark colours of the Office 2003 look (those of its toolbars).
TColor Office11Light() { return Office11Colors[2]; }
TColor Office11Dark() { return Office11Colors[3]; }

HTHEME StatusTheme() { return AcquireThemeHandle(totStatus); }

// A part's true size as the visual style reports it on the screen; Fallback when it cannot.
TSize ThemePartSize(int Part, TSize Fallback) {
  HDC screen = GetDC(nullptr);
  SIZE s{};
  HRESULT hr = UxGetThemePartSize(StatusTheme(), screen, Part, 0, nullptr, TS_TRUE, s);
  ReleaseDC(nullptr, screen);
  return hr == 0 ? TSize{s.cx, s.cy} : Fallback;
}
}  // namespace

// ---- base

void TdxStatusBarPainter::DrawContainerBackground(TdxStatusBarContainerPanelStyle* Style, TcxCanvas* Canvas) const {
  TdxStatusBarContainerControl* container = Style->Container();
  TdxCustomStatusBar* bar = Style->StatusBar();
  if (!container || !bar) return;
  TRect r = bar->ClientRect().Offset(-container->Left(), -container->Top());
  DrawBorder(bar, Canvas, r);
  FillPanelBackground(bar, Style->Owner(), r, Canvas);
}

TRect TdxStatusBarPainter::BorderExtents(TdxCustomStatusBar* StatusBar) const {
  const int w = StatusBar->BorderWidth();
  return TRect(w, TopBorderHeight() + w, w, w);
}

TRect TdxStatusBarPainter::PanelContentMargins(TdxStatusBarPanel*, bool HasBevel) const {
  return HasBevel ? TRect(1, 0, 1, 0) : TRect();
}

void TdxStatusBarPainter::DrawBorder(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, TRect& R) const {
  const int top = TopBorderHeight();
  FillBackground(StatusBar, Canvas, TRect(R.Left, R.Top, R.Right, R.Top + top));
  R.Top += top;
  const int w = StatusBar->BorderWidth();
  if (w < 1) return;
  FillBackground(StatusBar, Canvas, TRect(R.Left, R.Top, R.Right, R.Top + w));
  FillBackground(StatusBar, Canvas, TRect(R.Left, R.Bottom - w, R.Right, R.Bottom));
  FillBackground(StatusBar, Canvas, TRect(R.Left, R.Top + w, R.Left + w, R.Bottom - w));
  FillBackground(StatusBar, Canvas, TRect(R.Right - w, R.Top + w, R.Right, R.Bottom - w));
  R = R.Inflate(-w, -w);
}

void TdxStatusBarPainter::DrawEmptyPanel(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, TRect R) const {
  DrawPanelBevel(StatusBar, dxpbLowered, R, Canvas);
  FillPanelBackground(StatusBar, nullptr, R, Canvas);
}

void TdxStatusBarPainter::DrawPanel(TdxCustomStatusBar* StatusBar, TdxStatusBarPanel* Panel, TRect R,
                                    TcxCanvas* Canvas) const {
  if (!Panel) {
    DrawEmptyPanel(StatusBar, Canvas, R);
    return;
  }
  if (!Panel->Visible()) {
    FillPanelBackground(StatusBar, Panel, R, Canvas);
    return;
  }
  DrawPanelBevel(StatusBar, PanelBevel(Panel), R, Canvas);
  bool done = false;
  if (Panel->OnDrawPanel) Panel->OnDrawPanel(Panel, Canvas, R, done);
  if (done) return;
  if (TdxStatusBarPanelStyle* style = Panel->PanelStyle()) style->DrawContent(Canvas, R, this);
  else FillPanelBackground(StatusBar, Panel, R, Canvas);
}

void TdxStatusBarPainter::DrawSizeGrip(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, bool Overlapped,
                                       TRect R) const {
  R = R.Inflate(-1, -1);
  const TSize size = SizeGripSize(), fill = GripFillSize();
  const TRect grip(R.Right - size.cx, R.Bottom - size.cy, R.Right, R.Bottom);
  TRect area = grip;
  if (Overlapped) area.Right += 1;
  const TColor color = StatusBar->Color();
  FillSolid(Canvas, area, color);
  DrawClassicGrip(Canvas->CurrentDC(), grip);
  const TRect below(R.Right - fill.cx, R.Bottom, R.Right + 1, R.Bottom + 1);
  const TRect right(R.Right, R.Bottom - fill.cy, R.Right + 1, R.Bottom);
  FillSolid(Canvas, below, color);
  FillSolid(Canvas, right, color);
  Canvas->ClipOutRect(area);
  Canvas->ClipOutRect(below);
  Canvas->ClipOutRect(right);
}

void TdxStatusBarPainter::FillBackground(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, const TRect& R) const {
  FillSolid(Canvas, R, StatusBar->Color());
}

TdxStatusBarPanelBevel TdxStatusBarPainter::PanelBevel(TdxStatusBarPanel* Panel) const {
  if (!Panel) return dxpbLowered;
  if (Panel->PanelStyle() && Panel->PanelStyle()->DrawsOwnCells()) return dxpbNone;
  return Panel->Bevel();
}

TColor TdxStatusBarPainter::PanelColor(TdxCustomStatusBar* StatusBar, TdxStatusBarPanel* Panel) const {
  if (Panel && Panel->PanelStyle()) return Panel->PanelStyle()->Color();
  return StatusBar->Color();
}

void TdxStatusBarPainter::DrawClassicGrip(HDC DC, const TRect& R) {
  const int w = R.Width(), h = R.Height();
  if (w <= 0 || h <= 0) return;
  HDC work = CreateCompatibleDC(DC), grip = CreateCompatibleDC(DC), mask = CreateCompatibleDC(DC);
  HBITMAP workBits = CreateCompatibleBitmap(DC, w, h), gripBits = CreateCompatibleBitmap(DC, w, h);
  HBITMAP maskBits = CreateBitmap(w, h, 1, 1, nullptr);
  HGDIOBJ oldWork = SelectObject(work, workBits), oldGrip = SelectObject(grip, gripBits),
          oldMask = SelectObject(mask, maskBits);
  auto release = [&] {
    SelectObject(work, oldWork);
    SelectObject(grip, oldGrip);
    SelectObject(mask, oldMask);
    DeleteObject(workBits);
    DeleteObject(gripBits);
    DeleteObject(maskBits);
    DeleteDC(work);
    DeleteDC(grip);
    DeleteDC(mask);
  };
  try {
    BitBlt(work, 0, 0, w, h, DC, R.Left, R.Top, SRCCOPY);
    RECT gr{0, 0, w, h};
    DrawFrameControl(grip, &gr, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    // The mask is set where the grip shows only the face colour: there the background stays.
    SetBkColor(grip, GetSysColor(COLOR_BTNFACE));
    BitBlt(mask, 0, 0, w, h, grip, 0, 0, SRCCOPY);
    BitBlt(work, 0, 0, w, h, mask, 0, 0, MERGEPAINT);
    BitBlt(grip, 0, 0, w, h, mask, 0, 0, SRCPAINT);
    BitBlt(work, 0, 0, w, h, grip, 0, 0, SRCAND);
    BitBlt(DC, R.Left, R.Top, w, h, work, 0, 0, SRCCOPY);
  } catch (...) {
    release();
    throw;
  }
  release();
}

// ---- Standard and Flat

TRect TdxStatusBarStandardPainter::PanelBevelExtents(TdxStatusBarPanelBevel Bevel) const {
  return Bevel == dxpbNone ? TRect() : TRect(2, 2, 2, 2);
}

void TdxStatusBarStandardPainter::DrawPanelBevel(TdxCustomStatusBar*, TdxStatusBarPanelBevel Bevel, TRect& R,
                                                 TcxCanvas* Canvas) const {
  if (Bevel == dxpbNone) return;
  RECT r{R.Left, R.Top, R.Right, R.Bottom};
  DrawEdge(Canvas->CurrentDC(), &r, Bevel == dxpbLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
  R = TRect(r.left, r.top, r.right, r.bottom);
}

void TdxStatusBarStandardPainter::DrawSeparator(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas,
                                                const TRect& R) const {
  FillSolid(Canvas, R, StatusBar->Color());
}

void TdxStatusBarStandardPainter::FillPanelBackground(TdxCustomStatusBar* StatusBar, TdxStatusBarPanel* Panel,
                                                      const TRect& R, TcxCanvas* Canvas) const {
  FillSolid(Canvas, R, PanelColor(StatusBar, Panel));
}

TRect TdxStatusBarFlatPainter::PanelBevelExtents(TdxStatusBarPanelBevel Bevel) const {
  return Bevel == dxpbNone ? TRect() : TRect(1, 1, 1, 1);
}

void TdxStatusBarFlatPainter::DrawPanelBevel(TdxCustomStatusBar*, TdxStatusBarPanelBevel Bevel, TRect& R,
                                             TcxCanvas* Canvas) const {
  if (Bevel == dxpbNone) return;
  Canvas->DrawSideBorders(R, clBtnShadow, 1, cxBordersAll, false);
  R = Deflate(R, PanelBevelExtents(Bevel));
}

// ---- Office11

TRect TdxStatusBarOffice11Painter::BorderExtents(TdxCustomStatusBar*) const { return TRect(1, 1, 1, 1); }

TRect TdxStatusBarOffice11Painter::PanelBevelExtents(TdxStatusBarPanelBevel Bevel) const {
  return Bevel == dxpbNone ? TRect() : TRect(1, 1, 1, 1);
}

void TdxStatusBarOffice11Painter::DrawBorder(TdxCustomStatusBar*, TcxCanvas* Canvas, TRect& R) const {
  FillOffice11Gradient(Canvas->CurrentDC(), R, Office11Light(), Office11Dark(), false);
  R = R.Inflate(-1, -1);
}

void TdxStatusBarOffice11Painter::DrawPanelBevel(TdxCustomStatusBar*, TdxStatusBarPanelBevel Bevel, TRect& R,
                                                 TcxCanvas* Canvas) const {
  if (Bevel == dxpbNone) return;
  Canvas->DrawSideBorders(R, MixColors(Office11Dark(), clBlack, 90), 1, cxBordersAll, false);
  R = Deflate(R, PanelBevelExtents(Bevel));
}

void TdxStatusBarOffice11Painter::DrawSizeGrip(TdxCustomStatusBar*, TcxCanvas* Canvas, bool Overlapped,
                                               TRect R) const {
  R = R.Inflate(0, -1);
  const TSize size = SizeGripSize();
  TRect grip(R.Right - size.cx, R.Bottom - size.cy, R.Right, R.Bottom);
  Office11PaintSizeGrip(Canvas->CurrentDC(), grip);
  if (!Overlapped) grip.Right -= 1;
  Canvas->ClipOutRect(grip);
}

// ---- XP

TRect TdxStatusBarXPPainter::BorderExtents(TdxCustomStatusBar*) const { return TRect(0, TopBorderHeight(), 0, 0); }

TSize TdxStatusBarXPPainter::SizeGripSize() const {
  return ThemePartSize(kStatusPartGripper, TdxStatusBarPainter::SizeGripSize());
}

int TdxStatusBarXPPainter::SeparatorBaseSize() const {
  return ThemePartSize(kStatusPartPane, TSize{TdxStatusBarPainter::SeparatorBaseSize(), 0}).cx;
}

void TdxStatusBarXPPainter::DrawBorder(TdxCustomStatusBar*, TcxCanvas* Canvas, TRect& R) const {
  UxDrawThemeBackgroundByRef(StatusTheme(), Canvas->CurrentDC(), kStatusPartBackground, 0, R);
  R.Top += TopBorderHeight();
}

void TdxStatusBarXPPainter::DrawSeparator(TdxCustomStatusBar*, TcxCanvas* Canvas, const TRect& R) const {
  UxDrawThemeBackgroundByRef(StatusTheme(), Canvas->CurrentDC(), kStatusPartPane, 0, R);
}

void TdxStatusBarXPPainter::DrawSizeGrip(TdxCustomStatusBar*, TcxCanvas* Canvas, bool Overlapped, TRect R) const {
  R = R.Inflate(-1, 0);
  const TSize size = SizeGripSize();
  TRect grip(R.Right - size.cx, R.Bottom - size.cy, R.Right, R.Bottom);
  UxDrawThemeBackgroundByRef(StatusTheme(), Canvas->CurrentDC(), kStatusPartGripper, 0, grip);
  if (Overlapped) grip.Right += 1;
  Canvas->ClipOutRect(grip);
}

// ---- the shared instances

TdxStatusBarPainterClass dxStatusBarStandardPainter() {
  static const TdxStatusBarStandardPainter p;
  return &p;
}
TdxStatusBarPainterClass dxStatusBarFlatPainter() {
  static const TdxStatusBarFlatPainter p;
  return &p;
}
TdxStatusBarPainterClass dxStatusBarOffice11Painter() {
  static const TdxStatusBarOffice11Painter p;
  return &p;
}
TdxStatusBarPainterClass dxStatusBarXPPainter() {
  static const TdxStatusBarXPPainter p;
  return &p;
}
