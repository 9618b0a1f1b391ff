#include "controls/RzPrgres.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/gui/Pictures.h"
#include "platform/rtl/TypInfo.h"
#include "suite/core/dxThemeManager.h"

namespace {

constexpr int PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4;

struct TFixedColor {
  int R, G, B;  // 16.16
  static TFixedColor Of(TColor C) {
    C = ColorToRGB(C);
    return {GetRValue(C) << 16, GetGValue(C) << 16, GetBValue(C) << 16};
  }
  QRgb Pixel() const { return qRgb(R >> 16, G >> 16, B >> 16); }
};

// N colours from the far end (Start) toward the near end (Target), far end first.
std::vector<QRgb> GradientRun(TColor Start, TColor Target, int N, int Quantum) {
  std::vector<QRgb> out(size_t(std::max(N, 0)));
  if (N <= 0) return out;
  TFixedColor c = TFixedColor::Of(Start);
  const TFixedColor t = TFixedColor::Of(Target);
  const int dr = (t.R - c.R) / N, dg = (t.G - c.G) / N, db = (t.B - c.B) / N;
  int merged = 0;
  QRgb band = c.Pixel();
  for (int i = 0; i < N; ++i) {
    const QRgb now = c.Pixel();
    if (now != band) {
      if (merged < Quantum - 1) ++merged;
      else {
        band = now;
        merged = 0;
      }
    }
    out[size_t(i)] = band;
    c.R += dr, c.G += dg, c.B += db;
  }
  return out;
}

// Colours along one axis of Length pixels, index 0 at the left or top.
std::vector<QRgb> AxisColors(int Length, bool Center, TColor C1, TColor C2, int Quantum) {
  std::vector<QRgb> axis(static_cast<size_t>(Length));
  if (!Center) {
    const auto run = GradientRun(C2, C1, Length, Quantum);
    for (int i = 0; i < Length; ++i) axis[size_t(Length - 1 - i)] = run[size_t(i)];
    return axis;
  }
  const int mid = Length / 2;
  const auto first = GradientRun(C2, C1, mid + 1, Quantum);
  for (int i = 0; i <= mid && i < Length; ++i) axis[size_t(mid - i)] = first[size_t(i)];
  const auto second = GradientRun(C1, C2, Length - mid - 1, Quantum);
  for (int i = 0; i < Length - mid - 1; ++i) axis[size_t(Length - 1 - i)] = second[size_t(i)];
  return axis;
}

void FillRectImage(QImage& img, int l, int t, int r, int b, QRgb c) {
  l = std::max(l, 0), t = std::max(t, 0), r = std::min(r, img.width()), b = std::min(b, img.height());
  for (int y = t; y < b; ++y) {
    auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    std::fill(row + l, row + std::max(l, r), c);
  }
}

void GradientBoxes(QImage& img, TGradientDirection Dir, TColor C1, TColor C2) {
  const int w = img.width(), h = img.height();
  const QRgb c1 = TFixedColor::Of(C1).Pixel();
  if (ColorToRGB(C1) == ColorToRGB(C2) || w < 5 || h <= 4) {
    img.fill(c1);
    return;
  }
  if (Dir == gdHorizontalBox || Dir == gdSquareBox) img.fill(c1);
  const int hw = (w - 1) / 2, hh = (h - 1) / 2;
  int mx = 0, my = 0;
  if (Dir == gdHorizontalBox) mx = w / 4;
  else if (Dir == gdVerticalBox) my = h / 4;
  else if (Dir == gdBigSquareBox) mx = w / 4, my = h / 4;
  const int n = std::max(hw - mx, hh - my) + 1;
  const int dx = ((hw - mx) << 16) / n, dy = ((hh - my) << 16) / n;
  TFixedColor c = TFixedColor::Of(C2);
  const TFixedColor t = TFixedColor::Of(C1);
  const int dr = (t.R - c.R) / n, dg = (t.G - c.G) / n, db = (t.B - c.B) / n;
  int x = (hw - mx) << 16, y = (hh - my) << 16;
  int px = hw + 1, py = hh + 1;
  for (int k = 0; k <= n; ++k) {
    const int cx = std::max(x >> 16, 0), cy = std::max(y >> 16, 0);
    if (k == n || cx < px || cy < py) {
      const int ex = k == n ? 0 : cx, ey = k == n ? 0 : cy;
      FillRectImage(img, ex, ey, hw + 1, py, c.Pixel());
      FillRectImage(img, ex, py, px, hh + 1, c.Pixel());
      px = ex, py = ey;
    }
    x -= dx, y -= dy;
    c.R += dr, c.G += dg, c.B += db;
  }
  // Mirror the top-left quarter down, then the left half across.
  for (int yy = hh + 1; yy < h; ++yy)
    for (int xx = 0; xx <= hw; ++xx) img.setPixel(xx, yy, img.pixel(xx, h - 1 - yy));
  for (int yy = 0; yy < h; ++yy)
    for (int xx = hw + 1; xx < w; ++xx) img.setPixel(xx, yy, img.pixel(w - 1 - xx, yy));
}

void GradientDiagonal(QImage& img, TGradientDirection Dir, TColor C1, TColor C2) {
  const int w = img.width(), h = img.height();
  if (ColorToRGB(C1) == ColorToRGB(C2)) {
    img.fill(TFixedColor::Of(C1).Pixel());
    return;
  }
  const bool up = Dir == gdDiagonalUp;
  const TFixedColor start = TFixedColor::Of(up ? C1 : C2), end = TFixedColor::Of(up ? C2 : C1);
  const int d = int(std::sqrt(double(w) * w + double(h) * h)) + 1;
  const int half = std::max(d / 2, 1);
  const int dr = (end.R - start.R) / d, dg = (end.G - start.G) / d, db = (end.B - start.B) / d;
  // The bands are lines parallel to the diagonal through the two corners beside the starting
  // one, which lies at the bottom left (up) or bottom right (down).
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double across = up ? (x + 0.5) / w : (w - x - 0.5) / w;
      const int k = std::min(int((across + (h - y - 0.5) / h) * half), d);
      img.setPixel(x, y, qRgb((start.R + k * dr) >> 16, (start.G + k * dg) >> 16, (start.B + k * db) >> 16));
    }
}

}  // namespace

void DrawGradientArea(TCanvas* Canvas, const TRect& R, TGradientDirection Direction, TColor C1,
                      TColor C2, int Quantum) {
  const int w = std::abs(R.Width()), h = std::abs(R.Height());
  if (w == 0 || h == 0) return;
  if (Quantum > 8) Quantum = 255 / Quantum + 1;
  Quantum = std::max(Quantum, 1);
  QImage img(w, h, QImage::Format_RGB32);
  switch (Direction) {
    case gdHorizontalEnd:
    case gdHorizontalCenter: {
      const auto axis = AxisColors(h, Direction == gdHorizontalCenter, C1, C2, Quantum);
      for (int y = 0; y < h; ++y) FillRectImage(img, 0, y, w, y + 1, axis[size_t(y)]);
      break;
    }
    case gdVerticalEnd:
    case gdVerticalCenter: {
      const auto axis = AxisColors(w, Direction == gdVerticalCenter, C1, C2, Quantum);
      auto* row = reinterpret_cast<QRgb*>(img.scanLine(0));
      std::copy(axis.begin(), axis.end(), row);
      for (int y = 1; y < h; ++y) std::copy(row, row + w, reinterpret_cast<QRgb*>(img.scanLine(y)));
      break;
    }
    case gdDiagonalUp:
    case gdDiagonalDown:
      GradientDiagonal(img, Direction, C1, C2);
      break;
    default:
      GradientBoxes(img, Direction, C1, C2);
      break;
  }
  DrawImageOnCanvas(Canvas, Bounds(std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), w, h), img);
}

// ---------------------------------------------------------------------------------------------

TRzCustomProgressBar::TRzCustomProgressBar(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  SetBounds(Left(), Top(), 200, 24);
  Font()->SetColor(FBarColor);
}

TRzCustomProgressBar::~TRzCustomProgressBar() {
  if (FFrameController) FFrameController->RemoveControl(this);
}

void TRzCustomProgressBar::SetBarColor(TColor V) {
  if (V == FBarColor) return;
  FBarColor = V;
  Font()->SetColor(V);
  Repaint();
}

void TRzCustomProgressBar::SetBarStyle(TBarStyle V) {
  if (V == FBarStyle) return;
  FBarStyle = V;
  FShowPercent = V != bsLED;
  FInteriorOffset = V == bsLED ? 1 : 0;
  Repaint();
}

void TRzCustomProgressBar::SetPercent(uint16_t V) {
  if (V == FPercent) return;
  FPercent = V;
  Change();
  Repaint();
}

void TRzCustomProgressBar::Change() {
  if (OnChange) OnChange(this, FPercent);
}

void TRzCustomProgressBar::SetPartsComplete(uint32_t V) {
  V = std::min(V, FTotalParts);
  if (V == FPartsComplete) return;
  FPartsComplete = V;
  if (!ComponentState().Contains(csLoading) && FTotalParts != 0)
    SetPercent(uint16_t(Round(double(FPartsComplete) / FTotalParts * 100)));
}

void TRzCustomProgressBar::SetTotalParts(uint32_t V) {
  if (V == FTotalParts) return;
  FTotalParts = V;
  if (ComponentState().Contains(csLoading)) return;
  FPartsComplete = 0;
  SetPercent(0);
}

void TRzCustomProgressBar::SetFrameController(TRzFrameController* V) {
  if (V == FFrameController) return;
  if (FFrameController) {
    FFrameController->RemoveControl(this);
    FFrameController->RemoveFreeNotification(this);
  }
  FFrameController = V;
  if (V) {
    V->AddControl(this);
    V->FreeNotification(this);
  }
}

void TRzCustomProgressBar::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFrameController) FFrameController = nullptr;
}

void TRzCustomProgressBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TGraphicControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  SetOrientation(Width() < Height() ? orVertical : orHorizontal);
}

void TRzCustomProgressBar::ApplyFrameController() {
  if (!FFrameController || !FFrameController->FrameVisible()) return;
  const auto n = FFrameControllerNotifications;
  if (n.Contains(fcpFrameStyle)) SetBorderOuter(FFrameController->FrameStyle());
  if (n.Contains(fcpFrameColor)) {
    SetFlatColor(FFrameController->FrameColor());
    SetFlatColorAdjustment(0);
  }
  if (n.Contains(fcpColor)) SetBackColor(FFrameController->Color());
  if (n.Contains(fcpParentColor)) SetParentColor(FFrameController->ParentColor());
  Invalidate();
}

bool TRzCustomProgressBar::ThemedPainting() const {
  return FThemeAware && IsThemingAvailable({totProgress});
}

std::string TRzCustomProgressBar::BarText() const {
  if (!FShowPercent) return {};
  if (FShowParts) return Format("%u / %u", {int64_t(FPartsComplete), int64_t(FTotalParts)});
  return Format("%u%%", {int64_t(FPercent)});
}

TRect TRzCustomProgressBar::FilledPart(const TRect& R) const {
  if (FPercent >= 100) return R;
  if (FOrientation == orVertical)
    return Rect(R.Left, R.Bottom - int(Round(FPercent * double(R.Height()) / 100)), R.Right, R.Bottom);
  return Rect(R.Left, R.Top, R.Left + int(Round(FPercent * double(R.Width()) / 100)), R.Bottom);
}

// The text centred on R's right half-width (not R's own centre when R does not start at 0),
// clipped to Clip.
void TRzCustomProgressBar::PaintText(TCanvas* C, const TRect& R, const TRect& Clip, TColor TextColor,
                                     bool Opaque, TColor Fill) {
  const std::string text = BarText();
  C->Font()->SetColor(TextColor);
  C->Brush()->SetColor(Fill);
  C->Brush()->SetStyle(Opaque ? bsSolid : bsClear);
  const int x = R.Right / 2 - C->TextWidth(text) / 2;
  const int y = R.Top + (R.Height() - C->TextHeight("X")) / 2;
  if (Opaque || !text.empty()) C->TextRect(Clip, x, y, text);
  C->Brush()->SetStyle(bsSolid);
}

void TRzCustomProgressBar::PaintPlainBar(TCanvas* C, const TRect& R) {
  const TRect f = FilledPart(R);
  const TRect e = FOrientation == orVertical ? Rect(R.Left, R.Top, R.Right, f.Top) : Rect(f.Right, R.Top, R.Right, R.Bottom);
  if (!f.IsEmpty()) PaintText(C, R, f, FBackColor, true, FBarColor);
  if (!e.IsEmpty()) PaintText(C, R, e, FBarColor, true, FBackColor);
}

void TRzCustomProgressBar::PaintGradientBar(TCanvas* C, const TRect& R) {
  const TRect f = FilledPart(R);
  const TRect e = FOrientation == orVertical ? Rect(R.Left, R.Top, R.Right, f.Top) : Rect(f.Right, R.Top, R.Right, R.Bottom);
  if (!f.IsEmpty()) {
    DrawGradientArea(C, f, Direction(), FBarColor, BarStop(), 1);
    PaintText(C, R, f, FBackColor, false, FBarColor);
  }
  if (!e.IsEmpty()) {
    DrawGradientArea(C, e, Direction(), FBackColor, BackStop(), 1);
    PaintText(C, R, e, FBarColor, false, FBackColor);
  }
}

void TRzCustomProgressBar::PaintLedBar(TCanvas* C, const TRect& R) {
  const bool vertical = FOrientation == orVertical;
  if (ThemedPainting()) {
    const HTHEME theme = AcquireThemeHandle(totProgress);
    const TRect in = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    const int pct = std::min<int>(FPercent, 100);
    if (!vertical) {
      RECT chunk = Rect(in.Left, in.Top, in.Left + in.Width() * pct / 100, in.Bottom);
      UxDrawThemeBackground(theme, C->Handle(), PP_CHUNK, 0, &chunk);
      return;
    }
    const int filled = std::max(in.Height() * pct / 100, 1);
    TBitmap chunk;
    chunk.SetSize(in.Width(), filled);
    RECT all = Rect(0, 0, in.Width(), filled);
    UxDrawThemeBackground(theme, chunk.Canvas()->Handle(), PP_CHUNKVERT, 0, &all);
    // The chunk part fills from the top; turned upside down it grows from the bottom.
    StretchBlt(C->Handle(), in.Left, in.Bottom - filled, in.Width(), filled, chunk.Canvas()->Handle(),
               0, filled - 1, in.Width(), -filled, SRCCOPY);
    return;
  }
  const int length = vertical ? R.Height() : R.Width();
  int n = FNumSegments;
  int d = length / n;
  if (length <= 80 && n > 10) {
    d = length / 10;
    n = 10;
  }
  if (d != 0) {
    const int extra = (length - d * n) / d;
    if (extra > 0) n += extra;
  }
  const int margin = (length - d * n) / 2;
  C->Pen()->SetStyle(psClear);
  C->Brush()->SetColor(FBackColor);
  if (vertical) {
    C->FillRect(Rect(R.Left, R.Top, R.Right, R.Top + margin + 1));
    C->FillRect(Rect(R.Left, R.Bottom - margin - 1, R.Right, R.Bottom));
  } else {
    C->FillRect(Rect(R.Left, R.Top, R.Left + margin + 1, R.Bottom));
    C->FillRect(Rect(R.Right - margin - 1, R.Top, R.Right, R.Bottom));
  }
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetColor(FBackColor);
  const int lit = int(std::trunc(FPercent * double(n) / 100));
  for (int i = 1; i <= n; ++i) {
    C->Brush()->SetColor(i <= lit ? FBarColor : FBackColor);
    if (vertical) {
      const int top = R.Top + margin + d * (n - i);
      C->Rectangle(R.Left, top, R.Right, top + d);
    } else {
      const int left = R.Left + margin + d * (i - 1);
      C->Rectangle(left, R.Top, left + d, R.Bottom);
    }
  }
}

void TRzCustomProgressBar::Paint() {
  TBitmap b;
  b.SetSize(Width(), Height());
  TCanvas* c = b.Canvas();
  c->SetFont(Font());
  TRect r = ClientRect();
  if (ThemedPainting()) {
    RECT rc = r;
    UxDrawThemeBackground(AcquireThemeHandle(totProgress), c->Handle(),
                          FOrientation == orHorizontal ? PP_BAR : PP_BARVERT, 0, &rc);
    const int in = FInteriorOffset + (FBarStyle == bsLED ? 1 : 3);
    r = Rect(r.Left + in, r.Top + in, r.Right - in, r.Bottom - in);
  } else {
    c->Brush()->SetColor(FBorderColor);
    c->FillRect(r);
    const TColor parentColor = Parent() ? Parent()->Color() : Color();
    r = DrawBorderPair(c, r, FBorderOuter, FBorderInner, true, false, parentColor, FBackColor,
                       FFlatColorAdjustment, FFlatColor, clBtnShadow, clBtnHighlight, FBorderColor,
                       FBevelWidth, sdAllSides, FBorderWidth);
    if (FInteriorOffset > 0) {
      c->Pen()->SetWidth(FInteriorOffset);
      c->Pen()->SetColor(FBackColor);
      c->Pen()->SetStyle(psInsideFrame);
      c->Brush()->SetStyle(bsClear);
      c->Rectangle(r);
      c->Pen()->SetWidth(1);
      c->Pen()->SetStyle(psSolid);
      c->Brush()->SetStyle(bsSolid);
      r = Rect(r.Left + FInteriorOffset, r.Top + FInteriorOffset, r.Right - FInteriorOffset,
               r.Bottom - FInteriorOffset);
    }
  }
  switch (FBarStyle) {
    case bsTraditional: PaintPlainBar(c, r); break;
    case bsGradient: PaintGradientBar(c, r); break;
    case bsLED: PaintLedBar(c, r); break;
  }
  Canvas()->Draw(0, 0, &b);
}

void RegisterRzPrgresClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlClasses();
  RegisterRzCommonClasses();
  RegisterEnumNames<TBarStyle>({"bsTraditional", "bsLED", "bsGradient"});
  RegisterEnumNames<TOrientation>({"orHorizontal", "orVertical"});
  RegisterEnumNames<TGradientDirection>({"gdDiagonalUp", "gdDiagonalDown", "gdHorizontalEnd",
                                         "gdHorizontalCenter", "gdHorizontalBox", "gdVerticalEnd",
                                         "gdVerticalCenter", "gdVerticalBox", "gdSquareBox",
                                         "gdBigSquareBox"});
  using P = TRzProgressBar;
  RegisterClass<TRzCustomProgressBar, TGraphicControl>();
  RegisterClass<P, TRzCustomProgressBar>();
  const TIdentMap* colors = ColorIdentMap();
  Published<P>()
      .Property("BackColor", &P::BackColor, &P::SetBackColor).Idents(colors).Default(clWhite)
      .Property("BackColorStop", &P::BackColorStop, &P::SetBackColorStop).Idents(colors).Default(clBtnFace)
      .Property("BarColor", &P::BarColor, &P::SetBarColor).Idents(colors).Default(clHighlight)
      .Property("BarColorStop", &P::BarColorStop, &P::SetBarColorStop).Idents(colors).Default(clHotLight)
      .Property("BarStyle", &P::BarStyle, &P::SetBarStyle).Default(bsTraditional)
      .Property("BevelWidth", &P::BevelWidth, &P::SetBevelWidth).Default(1)
      .Property("BorderColor", &P::BorderColor, &P::SetBorderColor).Idents(colors).Default(clBtnFace)
      .Property("BorderInner", &P::BorderInner, &P::SetBorderInner).Default(fsNone)
      .Property("BorderOuter", &P::BorderOuter, &P::SetBorderOuter).Default(fsLowered)
      .Property("BorderWidth", &P::BorderWidth, &P::SetBorderWidth).Default(0)
      .Property("FlatColor", &P::FlatColor, &P::SetFlatColor).Idents(colors).Default(clBtnShadow)
      .Property("FlatColorAdjustment", &P::FlatColorAdjustment, &P::SetFlatColorAdjustment).Default(30)
      .Property("FrameController", &P::FrameController, &P::SetFrameController)
      .Property("FrameControllerNotifications", &P::FrameControllerNotifications, &P::SetFrameControllerNotifications)
          .Default(AllFrameControllerNotifications())
      .Property("GradientDirection", &P::GradientDirection, &P::SetGradientDirection).Default(gdHorizontalCenter)
      .Property("InteriorOffset", &P::InteriorOffset, &P::SetInteriorOffset).Default(0)
      .Property("NumSegments", &P::NumSegments, &P::SetNumSegments).Default(20)
      .Property("Orientation", &P::Orientation, &P::SetOrientation).Default(orHorizontal)
      .Property("PartsComplete", &P::PartsComplete, &P::SetPartsComplete).Default(0)
      .Property("Percent", &P::Percent, &P::SetPercent).Default(0)
      .Property("ShowPercent", &P::ShowPercent, &P::SetShowPercent).Default(1)
      .Property("ShowParts", &P::ShowParts, &P::SetShowParts).Default(0)
      .Property("ThemeAware", &P::ThemeAware, &P::SetThemeAware).Default(1)
      .Property("TotalParts", &P::TotalParts, &P::SetTotalParts).Default(0)
      .Property("OnChange", &P::OnChange);
}
