// Regions, the suite canvas with its state stacks, the shared canvases and the graphics
// routines.
#include "suite/core/cxGraphics.h"

#include <algorithm>
#include <cstring>

#include "platform/gui/Controls.h"
#include "platform/rtl/SysUtils.h"
#include "suite/core/dxCore.h"
#include "suite/core/dxUxTheme.h"

namespace {

int FloorDiv(int a, int b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

int ToRgnMode(TcxRegionOperation op) {
  switch (op) {
    case RegionUnion: return RGN_OR;
    case RegionDifference: return RGN_DIFF;
    case RegionIntersection: return RGN_AND;
    default: return RGN_COPY;
  }
}

COLORREF Rgb(TColor c) { return COLORREF(ColorToRGB(c)) & 0xFFFFFF; }

}  // namespace

// ---- regions

TcxRegion* TcxRegion::CreateFromRect(const TRect& R) {
  RECT r = {R.Left, R.Top, R.Right, R.Bottom};
  return new TcxRegion(CreateRectRgnIndirect(&r));
}

TcxRegion* TcxRegion::CreateFromBounds(int Left, int Top, int Right, int Bottom) {
  return new TcxRegion(CreateRectRgn(Left, Top, Right, Bottom));
}

void TcxRegion::FreeHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

bool TcxRegion::IsEmpty() const {
  RECT r;
  return GetRgnBox(FHandle, &r) == NULLREGION;
}

bool TcxRegion::IsEqual(const TcxRegion* Region) const {
  if (!Region) return false;
  return (IsEmpty() && Region->IsEmpty()) || EqualRgn(FHandle, Region->FHandle);
}

bool TcxRegion::IsEqualToHandle(HRGN AHandle) const { return EqualRgn(FHandle, AHandle); }

void TcxRegion::CombineWith(TcxRegion* Region, TcxRegionOperation Operation, bool DestroyRegion) {
  if (!Region) return;
  if (Operation == RegionCopy) CombineRgn(FHandle, Region->FHandle, nullptr, RGN_COPY);
  else CombineRgn(FHandle, FHandle, Region->FHandle, ToRgnMode(Operation));
  if (DestroyRegion) delete Region;
}

void TcxRegion::OffsetBy(int DX, int DY) { OffsetRgn(FHandle, DX, DY); }

// ---- canvas

TcxCanvas::TcxCanvas(TCanvas* ACanvas) : FCanvas(ACanvas) {}

TcxCanvas::~TcxCanvas() = default;

void TcxCanvas::MakeStateValid() {
  // Measuring selects the canvas's pen, brush and font into its context.
  FCanvas->TextExtent(std::string());
}

TPoint TcxCanvas::ViewportOrigin() const {
  POINT p{};
  GetViewportOrgEx(CurrentDC(), &p);
  return {p.x, p.y};
}

void TcxCanvas::ApplyViewportOrigin(TPoint P) { SetViewportOrgEx(CurrentDC(), P.X, P.Y, nullptr); }

TPoint TcxCanvas::WindowOrigin() const {
  POINT p{};
  GetWindowOrgEx(CurrentDC(), &p);
  return {p.x, p.y};
}

void TcxCanvas::ApplyWindowOrigin(TPoint P) { SetWindowOrgEx(CurrentDC(), P.X, P.Y, nullptr); }

TPoint TcxCanvas::DCOrigin() const {
  TPoint v = ViewportOrigin(), w = WindowOrigin();
  return {v.X - w.X, v.Y - w.Y};
}

void TcxCanvas::ClipOutRect(const TRect& R) { ExcludeClipRect(CurrentDC(), R.Left, R.Top, R.Right, R.Bottom); }

void TcxCanvas::ClipToRect(const TRect& R) { IntersectClipRect(CurrentDC(), R.Left, R.Top, R.Right, R.Bottom); }

int TcxCanvas::SelectFontHeight(TFont* Font) {
  AssignFont(Font);
  MakeStateValid();
  return DCFontHeight(CurrentDC());
}

void TcxCanvas::SetBrushColor(TColor Color) {
  TBrush* b = CurrentBrush();
  if (b->Color() != Color || b->Style() == bsClear) {
    b->SetColor(Color);
    b->SetStyle(bsSolid);
  }
}

void TcxCanvas::FillRectWithColor(const TRect& R, TColor Color) {
  if (Color == clNone) return;
  if (Color != clDefault) SetBrushColor(Color);
  FCanvas->FillRect(R);
}

void TcxCanvas::FillRectTiled(const TRect& R, TBitmap* Bitmap, bool ExcludeRect) {
  if (R.IsEmpty()) return;
  if (Bitmap && !Bitmap->Empty()) {
    int w = Bitmap->Width(), h = Bitmap->Height();
    // Tiles sit at multiples of the bitmap's size in canvas coordinates, also left of zero.
    int c0 = FloorDiv(R.Left, w), c1 = FloorDiv(R.Right - 1, w);
    int r0 = FloorDiv(R.Top, h), r1 = FloorDiv(R.Bottom - 1, h);
    HDC src = Bitmap->Canvas()->Handle();
    HDC dst = CurrentDC();
    for (int row = r0; row <= r1; ++row)
      for (int col = c0; col <= c1; ++col) {
        TRect tile(col * w, row * h, (col + 1) * w, (row + 1) * h), part;
        if (!IntersectRect(part, tile, R)) continue;
        BitBlt(dst, part.Left, part.Top, part.Width(), part.Height(), src, part.Left - tile.Left,
               part.Top - tile.Top, SRCCOPY);
      }
  } else {
    FCanvas->FillRect(R);
  }
  if (ExcludeRect) ApplyClipRegion(TcxRegion::CreateFromRect(R), RegionDifference);
}

void TcxCanvas::DrawTwoToneFrame(const TRect& R, TColor LeftTopColor, TColor RightBottomColor, TcxBorders Borders,
                                 int BorderWidth) {
  int w = BorderWidth;
  if (Borders.Contains(bLeft)) FillRectWithColor(TRect(R.Left, R.Top, R.Left + w, R.Bottom), LeftTopColor);
  if (Borders.Contains(bTop)) FillRectWithColor(TRect(R.Left, R.Top, R.Right, R.Top + w), LeftTopColor);
  if (Borders.Contains(bRight)) FillRectWithColor(TRect(R.Right - w, R.Top, R.Right, R.Bottom), RightBottomColor);
  if (Borders.Contains(bBottom)) FillRectWithColor(TRect(R.Left, R.Bottom - w, R.Right, R.Bottom), RightBottomColor);
}

void TcxCanvas::DrawEdgeFrame(const TRect& R, bool Sunken, bool Outer, TcxBorders Borders) {
  TColor lt, rb;
  if (Sunken) {
    lt = Outer ? clBtnShadow : cl3DDkShadow;
    rb = Outer ? clBtnHighlight : cl3DLight;
  } else {
    lt = Outer ? cl3DLight : clBtnHighlight;
    rb = Outer ? cl3DDkShadow : clBtnShadow;
  }
  DrawTwoToneFrame(R, lt, rb, Borders, 1);
}

void TcxCanvas::DrawSideBorders(const TRect& R, TColor Color, int LineWidth, TcxBorders Borders,
                                bool ExcludeFromClip) {
  if (R.IsEmpty()) return;
  if (Color != clDefault) SetBrushColor(Color);
  int wx = std::min(LineWidth, R.Width()), wy = std::min(LineWidth, R.Height());
  if (Borders.Contains(bLeft)) FillRectTiled(TRect(R.Left, R.Top, R.Left + wx, R.Bottom), nullptr, ExcludeFromClip);
  if (Borders.Contains(bRight))
    FillRectTiled(TRect(R.Right - wx, R.Top, R.Right, R.Bottom), nullptr, ExcludeFromClip);
  if (Borders.Contains(bTop)) FillRectTiled(TRect(R.Left, R.Top, R.Right, R.Top + wy), nullptr, ExcludeFromClip);
  if (Borders.Contains(bBottom))
    FillRectTiled(TRect(R.Left, R.Bottom - wy, R.Right, R.Bottom), nullptr, ExcludeFromClip);
}

void TcxCanvas::FillRectWithViewParams(const TRect& R, const TcxViewParams& ViewParams, TcxBorders Borders,
                                       TColor BorderColor, int BorderWidth, bool ExcludeRect) {
  DrawSideBorders(R, BorderColor, BorderWidth, Borders, ExcludeRect);
  TRect inner = R;
  if (Borders.Contains(bLeft)) inner.Left += BorderWidth;
  if (Borders.Contains(bTop)) inner.Top += BorderWidth;
  if (Borders.Contains(bRight)) inner.Right -= BorderWidth;
  if (Borders.Contains(bBottom)) inner.Bottom -= BorderWidth;
  if (ViewParams.Color != clDefault && ViewParams.Color != clNone) SetBrushColor(ViewParams.Color);
  FillRectTiled(inner, ViewParams.Bitmap, ExcludeRect);
}

void TcxCanvas::InvertRect(const TRect& R) {
  SetCopyMode(DSTINVERT);
  CopyRectFrom(R, FCanvas, R);
  SetCopyMode(SRCCOPY);
}

void TcxCanvas::SetFontAngle(int Angle) {
  LOGFONT lf;
  if (!GetObject(CurrentFont()->Handle(), sizeof lf, &lf)) return;
  lf.lfEscapement = Angle * 10;
  if (Angle != 0) lf.lfOutPrecision = 7;  // true-type outlines only
  HFONT h = CreateFontIndirect(&lf);
  CurrentFont()->SetHandle(h);
  DeleteObject(h);
}

void TcxCanvas::MeasureText(const std::string& Text, TSize& Size) {
  MakeStateValid();
  MeasureTextExtent(CurrentDC(), Text, Size);
}

int TcxCanvas::MeasureTextWidth(const std::string& Text) {
  TSize s;
  MeasureText(Text, s);
  return s.cx;
}

int TcxCanvas::MeasureTextHeight(const std::string& Text) {
  TSize s;
  MeasureText(Text, s);
  return s.cy;
}

void TcxCanvas::MeasureTextInRect(const std::string& Text, TRect& R, TcxTextFlags Flags) {
  UINT flags = TextFlagsToDrawTextFlags(Flags);
  if (R.Width() <= 0 && !Text.empty()) R.Right = R.Left + 1;
  MakeStateValid();
  RECT calc = {R.Left, R.Top, R.Right, R.Bottom};
  if (!DrawText(CurrentDC(), Text, -1, &calc, (flags & ~DT_VCENTER) | DT_CALCRECT))
    calc = {R.Left, R.Top, R.Left, R.Top};
  TRect m(calc);
  int dx = 0, dy = 0;
  if (flags & DT_CENTER) dx = (R.Width() - m.Width()) / 2;
  else if (flags & DT_RIGHT) dx = R.Width() - m.Width();
  if (flags & DT_VCENTER) dy = (R.Height() - m.Height()) / 2;
  else if (flags & DT_BOTTOM) dy = R.Height() - m.Height();
  R = m.Offset(dx, dy);
}

void TcxCanvas::AlignTextRectVertically(TRect& R, const std::string& Text, bool EndEllipsis, bool NoEditControlBreak,
                                        bool Enabled, bool ShowPrefix, bool WordBreak, int Placement) {
  if (Placement == 0) return;
  int d = Enabled ? 0 : 1;
  int height;
  if (EndEllipsis && WordBreak) {
    int line = MeasureTextHeight("Wg");
    int lines = line > 0 ? std::max(1, (R.Height() - d) / line) : 1;
    height = line * lines;
  } else {
    TcxTextFlags f = TextAlignLeft | TextAlignTop;
    if (WordBreak) f |= TextWordBreak;
    if (ShowPrefix) f |= TextShowPrefix;
    if (NoEditControlBreak) f |= TextNoEditControlBreak;
    TRect m(R.Left, R.Top, R.Right - d, R.Bottom);
    MeasureTextInRect(Text, m, f);
    height = m.Height();
  }
  if (Placement == 1) R.Top = R.Bottom - d - height;
  else R.Top = (R.Top + R.Bottom - height) / 2;
}

void TcxCanvas::DrawTextInRect(const std::string& Text, const TRect& ARect, TcxTextFlags Flags, bool Enabled,
                               TcxRotationAngle Rotation) {
  if (Text.empty()) return;
  TRect R = ARect;
  bool fast = (Flags & TextSingleLine) && Rotation == raNone &&
              !(Flags & (TextShowPrefix | TextShowEndEllipsis | TextShowPathEllipsis));
  TSize size;
  MeasureText(Text, size);
  if (size.cx <= R.Width() && size.cy <= R.Height()) Flags |= TextDontClip;
  int d = Enabled ? 0 : 1;
  UINT dtFlags = 0, options = 0;
  if (!fast) {
    if (!(Flags & TextSingleLine) && (Flags & (TextAlignBottom | TextAlignVCenter)))
      AlignTextRectVertically(R, Text, Flags & TextShowEndEllipsis, Flags & TextNoEditControlBreak, Enabled,
                              Flags & TextShowPrefix, Flags & TextWordBreak, (Flags & TextAlignBottom) ? 1 : 2);
    dtFlags = TextFlagsToDrawTextFlags(Flags);
  } else {
    if (size.cx < R.Width()) {
      TcxTextFlags horz = Flags & (TextAlignLeft | TextAlignRight | TextAlignHCenter);
      if (horz == TextAlignRight) R.Left = R.Right - size.cx - d;
      else if (Flags & TextAlignHCenter) R.Left = (R.Left + R.Right - size.cx) / 2;
    }
    if (size.cy < R.Height()) {
      if (Flags & TextAlignBottom) R.Top = R.Bottom - size.cy - d;
      else if (Flags & TextAlignVCenter) R.Top = (R.Top + R.Bottom - size.cy) / 2;
    }
    options = (Flags & TextDontClip) ? 0 : ETO_CLIPPED;
  }
  TBrushStyle brushStyle = CurrentBrush()->Style();
  TColor fontColor = CurrentFont()->Color();
  auto draw = [&](const TRect& r) {
    if (fast) {
      MakeStateValid();
      ExtTextOutString(CurrentDC(), Text, {r.Left, r.Top}, options, r);
    } else {
      DrawRotatedText(FCanvas, Text, r, dtFlags, clDefault, Rotation);
    }
  };
  if (!Enabled) {
    R.Left += 1;
    R.Top += 1;
    CurrentBrush()->SetStyle(bsClear);
    CurrentFont()->SetColor(clBtnHighlight);
    draw(R);
    R = R.Offset(-1, -1);
    CurrentFont()->SetColor(clBtnShadow);
  }
  draw(R);
  if (CurrentBrush()->Style() != brushStyle) CurrentBrush()->SetStyle(brushStyle);
  CurrentFont()->SetColor(fontColor);
}

// ---- state stacks

void TcxCanvas::PushDCState() {
  FCanvas->Lock();
  HDC dc = CurrentDC();
  FDCStates.push_back({dc, SaveDC(dc)});
}

void TcxCanvas::PopDCState() {
  if (!CheckCondition(!FDCStates.empty(), "RestoreDC fails")) return;
  TcxDCState s = FDCStates.back();
  if (FCanvas->Handle() != s.DC) FCanvas->SetHandle(s.DC);
  CheckCondition(RestoreDC(s.DC, s.Index), "RestoreDC fails");
  FDCStates.pop_back();
  FCanvas->Unlock();
}

void TcxCanvas::PushDrawingState() {
  SyncObjectsFromDC(CurrentDC());
  PushDCState();
  TcxCanvasState s{std::make_unique<TFont>(), std::make_unique<TBrush>(), std::make_unique<TPen>()};
  s.Font->Assign(CurrentFont());
  s.Brush->Assign(CurrentBrush());
  s.Pen->Assign(CurrentPen());
  FCanvasStates.push_back(std::move(s));
}

void TcxCanvas::PopDrawingState() {
  if (FCanvasStates.empty()) return;
  TcxCanvasState& s = FCanvasStates.back();
  CurrentFont()->Assign(s.Font.get());
  CurrentBrush()->Assign(s.Brush.get());
  CurrentPen()->Assign(s.Pen.get());
  FCanvasStates.pop_back();
  PopDCState();
}

void TcxCanvas::SyncObjectsFromDC(HDC DC) {
  LOGFONT lf;
  if (GetObject(GetCurrentObject(DC, OBJ_FONT), sizeof lf, &lf)) {
    HFONT h = CreateFontIndirect(&lf);
    CurrentFont()->SetHandle(h);
    DeleteObject(h);
    CurrentFont()->SetColor(TColor(GetTextColor(DC)));
  }
  LOGBRUSH lb;
  if (GetObject(GetCurrentObject(DC, OBJ_BRUSH), sizeof lb, &lb)) {
    CurrentBrush()->SetColor(TColor(lb.lbColor));
    TBrushStyle style = bsSolid;
    if (lb.lbStyle == BS_NULL) style = bsClear;
    else if (lb.lbStyle == BS_HATCHED && lb.lbHatch <= 5) style = TBrushStyle(int(bsHorizontal) + int(lb.lbHatch));
    CurrentBrush()->SetStyle(style);
  }
  LOGPEN lp;
  if (GetObject(GetCurrentObject(DC, OBJ_PEN), sizeof lp, &lp)) {
    CurrentPen()->SetColor(TColor(lp.lopnColor));
    if (lp.lopnStyle <= PS_INSIDEFRAME) CurrentPen()->SetStyle(TPenStyle(lp.lopnStyle));
    static const int modes[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN, R2_XORPEN};
    int rop2 = GetROP2(DC);
    TPenMode mode = pmCopy;
    for (int i = 0; i < 7; ++i)
      if (modes[i] == rop2) mode = TPenMode(i);
    CurrentPen()->SetMode(mode);
    CurrentPen()->SetWidth(lp.lopnWidth.x);
  }
}

TcxRegion* TcxCanvas::CurrentClipRegion(bool ConsiderOrigin) {
  auto* r = TcxRegion::CreateEmpty();
  if (GetClipRgn(CurrentDC(), r->Handle()) != 1) SetRectRgn(r->Handle(), 0, 0, 30000, 30000);
  if (ConsiderOrigin) {
    TPoint o = DCOrigin();
    r->OffsetBy(-o.X, -o.Y);
  }
  return r;
}

void TcxCanvas::ApplyClipRegion(TcxRegion* Region, TcxRegionOperation Operation, bool ConsiderOrigin,
                                bool DestroyRegion) {
  if (!Region) return;
  if (Operation == RegionCopy) {
    TPoint o = ConsiderOrigin ? DCOrigin() : TPoint{0, 0};
    Region->OffsetBy(o.X, o.Y);
    SelectClipRgn(CurrentDC(), Region->Handle());
    if (DestroyRegion) delete Region;
    else Region->OffsetBy(-o.X, -o.Y);
    return;
  }
  TcxRegion* clip = CurrentClipRegion(ConsiderOrigin);
  clip->CombineWith(Region, Operation, DestroyRegion);
  ApplyClipRegion(clip, RegionCopy, ConsiderOrigin, true);
}

void TcxCanvas::PushClipRegion() { FSavedRegions.emplace_back(CurrentClipRegion(true)); }

void TcxCanvas::PopClipRegion() {
  if (FSavedRegions.empty()) return;
  TcxRegion* r = FSavedRegions.back().release();
  FSavedRegions.pop_back();
  ApplyClipRegion(r, RegionCopy, true, true);
}

// ---- screen and paint canvases

TScreenCanvas::~TScreenCanvas() { ReleaseDC(); }

void TScreenCanvas::CreateHandle() {
  FWindow = GetDesktopWindow();
  FDC = GetDCEx(FWindow, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE);
  SetHandle(FDC);
}

void TScreenCanvas::ReleaseDC() {
  if (!FDC) return;
  SetHandle(nullptr);
  ::ReleaseDC(FWindow, FDC);
  FDC = nullptr;
}

TcxScreenCanvas::TcxScreenCanvas() : TcxCanvas(new TScreenCanvas()) { FScreen = static_cast<TScreenCanvas*>(FCanvas); }

TcxScreenCanvas::~TcxScreenCanvas() { delete FScreen; }

void TcxScreenCanvas::ReleaseScreenDC() { FScreen->ReleaseDC(); }

TcxPaintCanvas::~TcxPaintCanvas() {
  while (FCounter > 0) PopTarget();
}

void TcxPaintCanvas::PushTargetDC(HDC DC) {
  if (int(FStates.capacity()) < FCounter + 1) FStates.reserve(std::max<size_t>(FCounter + 1, FStates.capacity() + 4));
  FStates.push_back({FCanvas, SaveDC(DC), DC});
  auto* canvas = new TCanvas();
  canvas->SetHandle(DC);
  FCanvas = canvas;
  SyncObjectsFromDC(DC);
  PushDrawingState();
  ++FCounter;
}

void TcxPaintCanvas::PushTargetCanvas(TCanvas* ACanvas) {
  FStates.push_back({FCanvas, 0, nullptr});
  FCanvas = ACanvas;
  PushDrawingState();
  ++FCounter;
}

void TcxPaintCanvas::PopTarget() {
  if (FCounter == 0) return;
  --FCounter;
  PopDrawingState();
  TcxPaintCanvasState s = FStates.back();
  FStates.pop_back();
  if (s.SavedDCIndex) {
    FCanvas->SetHandle(nullptr);
    delete FCanvas;
    RestoreDC(s.DC, s.SavedDCIndex);
  }
  FCanvas = s.PrevCanvas;
}

namespace {
bool gFinalizing = false;
std::unique_ptr<TcxScreenCanvas> gScreenCanvas;
std::unique_ptr<TcxPaintCanvas> gPaintCanvas;
}  // namespace

TcxScreenCanvas* SharedScreenCanvas() {
  if (!gScreenCanvas && !gFinalizing) gScreenCanvas.reset(TcxScreenCanvas::CreateForScreen());
  return gScreenCanvas.get();
}

TcxPaintCanvas* SharedPaintCanvas() {
  if (!gPaintCanvas && !gFinalizing) gPaintCanvas = std::make_unique<TcxPaintCanvas>();
  return gPaintCanvas.get();
}

void cxGraphicsInitialize() {
  gFinalizing = false;
  if (!FindClassInfo(typeid(TcxBitmap))) RegisterClass<TcxBitmap, TBitmap>();
  if (!FindClassInfo(typeid(TcxBitmap32))) RegisterClass<TcxBitmap32, TcxBitmap>();
  RegisterImageListClasses();
}

void cxGraphicsFinalize() {
  gFinalizing = true;
  gPaintCanvas.reset();
  gScreenCanvas.reset();
}

// ---- graphics routines

int CurrentScreenDPI() { return ScreenPixelsPerInch().Y; }

int ScaleByCurrentDPI(int Value) { return MulDiv(Value, CurrentScreenDPI(), 96); }

TPoint ScreenPixelsPerInch() {
  HDC dc = GetDC(nullptr);
  TPoint p{GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY)};
  ReleaseDC(nullptr, dc);
  return p;
}

UINT TextFlagsToDrawTextFlags(TcxTextFlags Flags) {
  UINT r = DT_NOPREFIX;
  if (Flags & TextAlignRight) r |= DT_RIGHT;
  if (Flags & TextAlignHCenter) r |= DT_CENTER;
  if (Flags & TextAlignBottom) r |= DT_BOTTOM;
  if (Flags & TextAlignVCenter) r |= DT_VCENTER;
  if (Flags & TextSingleLine) r |= DT_SINGLELINE;
  if (Flags & TextDontClip) r |= DT_NOCLIP;
  if (Flags & TextExpandTabs) r |= DT_EXPANDTABS;
  if (Flags & TextShowPrefix) r &= ~DT_NOPREFIX;
  if (Flags & TextWordBreak) {
    r |= DT_WORDBREAK;
    if (!(Flags & TextNoEditControlBreak)) r |= DT_EDITCONTROL;
    else if (Flags & TextNoFullWidthCharBreak) r |= DT_NOFULLWIDTHCHARBREAK;
  }
  if (Flags & TextShowEndEllipsis) r |= DT_END_ELLIPSIS;
  if (Flags & TextCalcRect) r |= DT_CALCRECT;
  if (Flags & TextShowPathEllipsis) r |= DT_PATH_ELLIPSIS;
  return r;
}

int DrawTextColored(HDC DC, const std::string& Text, TRect& R, UINT Format, int CharCount, TColor TextColor,
                    int BkMode) {
  RECT r = {R.Left, R.Top, R.Right, R.Bottom};
  if (Text.empty()) {
    int h = DrawText(DC, Text, 0, &r, Format);
    R = TRect(r);
    return h;
  }
  int oldMode = SetBkMode(DC, BkMode);
  COLORREF oldColor = 0;
  if (TextColor != clDefault) oldColor = SetTextColor(DC, Rgb(TextColor));
  int h = DrawText(DC, Text, CharCount, &r, Format);
  if (TextColor != clDefault) SetTextColor(DC, oldColor);
  SetBkMode(DC, oldMode);
  R = TRect(r);
  return h;
}

int DrawTextOnCanvas(TCanvas* Canvas, const std::string& Text, const TRect& R, UINT Format, TColor TextColor) {
  TRect copy = R;
  Canvas->TextExtent(std::string());  // the canvas's objects into its context
  return DrawTextColored(Canvas->Handle(), Text, copy, Format, -1, TextColor, TRANSPARENT);
}

int DrawRotatedText(TCanvas* Canvas, const std::string& Text, const TRect& R, UINT Format, TColor TextColor,
                    TcxRotationAngle Rotation) {
  if (Rotation == raNone) return DrawTextOnCanvas(Canvas, Text, R, Format, TextColor);
  auto bitmap = std::make_unique<TcxBitmap32>(R.Width(), R.Height(), false);
  BitBlt(bitmap->Canvas()->Handle(), 0, 0, R.Width(), R.Height(), Canvas->Handle(), R.Left, R.Top, SRCCOPY);
  TcxRotationAngle opposite = Rotation == raPlus90 ? raMinus90 : Rotation == raMinus90 ? raPlus90 : ra180;
  RotateBitmap(bitmap.get(), opposite, false);
  bitmap->Canvas()->SetFont(Canvas->Font());
  int result = DrawTextOnCanvas(bitmap->Canvas(), Text, TRect(0, 0, bitmap->Width(), bitmap->Height()), Format,
                                TextColor);
  RotateBitmap(bitmap.get(), Rotation, false);
  BitBlt(Canvas->Handle(), R.Left, R.Top, R.Width(), R.Height(), bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
  return result;
}

bool ExtTextOutString(HDC DC, const std::string& Text, TPoint P, UINT Options, const TRect& R, int CharCount) {
  RECT r = {R.Left, R.Top, R.Right, R.Bottom};
  std::string s = CharCount < 0 ? Text : Text.substr(0, size_t(CharCount));
  return ExtTextOut(DC, P.X, P.Y, Options, &r, s);
}

void MeasureTextExtent(HDC DC, const std::string& Text, TSize& Size, int CharCount) {
  SIZE s{};
  GetTextExtentPoint32(DC, CharCount < 0 ? Text : Text.substr(0, size_t(CharCount)), &s);
  Size = {s.cx, s.cy};
}

int DCFontHeight(HDC DC) {
  TEXTMETRIC tm;
  GetTextMetrics(DC, &tm);
  return tm.tmHeight;
}

int FontTextHeight(TFont* Font) {
  TcxScreenCanvas* c = SharedScreenCanvas();
  c->AssignFont(Font);
  int h = c->MeasureTextHeight("Wg");
  c->ReleaseScreenDC();
  return h;
}

void MeasureTextInFont(TFont* Font, const std::string& Text, int FontSize, TSize& Size) {
  TcxScreenCanvas* c = SharedScreenCanvas();
  c->AssignFont(Font);
  if (FontSize != 0) c->CurrentFont()->SetSize(FontSize);
  c->MeasureText(Text, Size);
  c->ReleaseScreenDC();
}

int MeasureTextWidthInFont(TFont* Font, const std::string& Text, int FontSize) {
  TSize s;
  MeasureTextInFont(Font, Text, FontSize, s);
  return s.cx;
}

TSize MeasureTextSize(HDC DC, const std::string& Text) {
  TRect r;
  CalcTextRectForLines(DC, Text, 1, false, r);
  return {r.Width(), r.Height()};
}

void CalcTextRectForLines(HDC DC, const std::string& Text, int LineCount, bool FullHeight, TRect& R) {
  auto calc = [&](int width, UINT flags) {
    RECT r = {0, 0, width, 0};
    DrawText(DC, Text, -1, &r, flags | DT_CALCRECT);
    return TRect(r);
  };
  if (LineCount == 1) {
    R = calc(0, DT_SINGLELINE);
    return;
  }
  int h;
  if (LineCount > 0) {
    SIZE wg{};
    GetTextExtentPoint32(DC, "Wg", &wg);
    h = LineCount * wg.cy;
  } else {
    h = 32000;
  }
  const UINT wrap = DT_WORDBREAK | DT_NOFULLWIDTHCHARBREAK;
  int low = calc(1, wrap).Width();
  int high = calc(0, DT_SINGLELINE).Width();
  while (high - low > 1) {
    int mid = (low + high) / 2;
    if (calc(mid, wrap).Height() > h) low = mid;
    else high = mid;
  }
  R = calc(low, wrap);
  if (R.Height() > h) R = calc(high, wrap);
  if (FullHeight) R.Bottom = h;
}

void ShortenTextToWidth(HDC DC, TFont* Font, const std::string& Text, int Width, TcxEllipsisKind Kind,
                        std::string& Result) {
  Result.clear();
  if (Text.empty() || Width <= 0) return;
  std::string buffer = Text.substr(0, 4096);
  HDC dc = DC;
  TcxScreenCanvas* screen = nullptr;
  if (!dc) {
    screen = SharedScreenCanvas();
    dc = screen->CurrentDC();
  }
  HGDIOBJ old = Font ? SelectObject(dc, Font->Handle()) : nullptr;
  RECT r = {0, 0, Width, 32};
  DrawText(dc, &buffer, -1, &r,
           DT_MODIFYSTRING | DT_CALCRECT | DT_SINGLELINE | (Kind == EllipsisPath ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS));
  if (old) SelectObject(dc, old);
  if (screen) screen->ReleaseScreenDC();
  Result = buffer;
}

void WrapTextToLines(const std::string& Text, TCanvas* Canvas, const TRect& R, std::vector<std::string>& Lines) {
  if (Text.empty()) return;
  Canvas->TextExtent(std::string());
  HDC dc = Canvas->Handle();
  auto isSep = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  size_t n = Text.size(), i = 0, lineStart = std::string::npos, lineEnd = 0;
  while (i < n) {
    char c = Text[i];
    if (c == '\r' || c == '\n') {
      Lines.push_back(lineStart == std::string::npos ? std::string() : Text.substr(lineStart, lineEnd - lineStart));
      lineStart = std::string::npos;
      while (i < n && (Text[i] == '\r' || Text[i] == '\n')) ++i;
      continue;
    }
    if (isSep(c)) {
      ++i;
      continue;
    }
    size_t w = i;
    while (i < n && !isSep(Text[i])) ++i;
    if (lineStart == std::string::npos) {
      lineStart = w;
      lineEnd = i;
      continue;
    }
    if (MeasureTextSize(dc, Text.substr(lineStart, i - lineStart)).cx <= R.Width()) {
      lineEnd = i;
    } else {
      Lines.push_back(Text.substr(lineStart, lineEnd - lineStart));
      lineStart = w;
      lineEnd = i;
    }
  }
  if (lineStart != std::string::npos) Lines.push_back(Text.substr(lineStart, lineEnd - lineStart));
}

void InvalidateWindowRect(HWND Window, const TRect& R, bool Erase) {
  RECT r = {R.Left, R.Top, R.Right, R.Bottom};
  InvalidateRect(Window, &r, Erase);
}

void InvalidateWindow(HWND Window, bool Erase) { InvalidateRect(Window, nullptr, Erase); }

int ClampChannel(int Value) { return std::clamp(Value, 0, 255); }

TColor NearestScreenColor(TColor Color) {
  HDC dc = GetDC(nullptr);
  TColor c = TColor(GetNearestColor(dc, Rgb(Color)));
  ReleaseDC(nullptr, dc);
  return c;
}

TColor MixSystemColors(int8_t FacePercent, int8_t HighlightPercent, int8_t WindowPercent) {
  COLORREF face = Rgb(clBtnFace), hi = Rgb(clHighlight), win = Rgb(clWindow);
  if (face == 0 || face == 0xFFFFFF) return clHighlight;
  auto ch = [&](int shift) {
    return ClampChannel(MulDiv(int((face >> shift) & 0xFF), FacePercent, 100) +
                        MulDiv(int((hi >> shift) & 0xFF), HighlightPercent, 100) +
                        MulDiv(int((win >> shift) & 0xFF), WindowPercent, 100));
  };
  return TColor(RGB(BYTE(ch(0)), BYTE(ch(8)), BYTE(ch(16))));
}

TColor HighlightMixStrong() { return NearestScreenColor(MixSystemColors(14, 44, 40)); }
TColor HighlightMixLight() { return NearestScreenColor(MixSystemColors(-2, 30, 72)); }

const std::vector<TcxColorInfo>& NamedWebColors() {
  // RGB as written in style sheets; turned into colour values (blue in the high byte) below.
  static const struct {
    const char* Name;
    uint32_t Rgb;
  } web[] = {
      {"aliceblue", 0xF0F8FF}, {"antiquewhite", 0xFAEBD7}, {"aqua", 0x00FFFF}, {"aquamarine", 0x7FFFD4},
      {"azure", 0xF0FFFF}, {"beige", 0xF5F5DC}, {"bisque", 0xFFE4C4}, {"black", 0x000000},
      {"blanchedalmond", 0xFFEBCD}, {"blue", 0x0000FF}, {"blueviolet", 0x8A2BE2}, {"brown", 0xA52A2A},
      {"burlywood", 0xDEB887}, {"cadetblue", 0x5F9EA0}, {"chartreuse", 0x7FFF00}, {"chocolate", 0xD2691E},
      {"coral", 0xFF7F50}, {"cornflowerblue", 0x6495ED}, {"cornsilk", 0xFFF8DC}, {"crimson", 0xDC143C},
      {"cyan", 0x00FFFF}, {"darkblue", 0x00008B}, {"darkcyan", 0x008B8B}, {"darkgoldenrod", 0xB8860B},
      {"darkgray", 0xA9A9A9}, {"darkgreen", 0x006400}, {"darkkhaki", 0xBDB76B}, {"darkmagenta", 0x8B008B},
      {"darkolivegreen", 0x556B2F}, {"darkorange", 0xFF8C00}, {"darkorchid", 0x9932CC}, {"darkred", 0x8B0000},
      {"darksalmon", 0xE9967A}, {"darkseagreen", 0x8FBC8F}, {"darkslateblue", 0x483D8B},
      {"darkslategray", 0x2F4F4F}, {"darkturquoise", 0x00CED1}, {"darkviolet", 0x9400D3},
      {"deeppink", 0xFF1493}, {"deepskyblue", 0x00BFFF}, {"dimgray", 0x696969}, {"dodgerblue", 0x1E90FF},
      {"firebrick", 0xB22222}, {"floralwhite", 0xFFFAF0}, {"forestgreen", 0x228B22}, {"fuchsia", 0xFF00FF},
      {"gainsboro", 0xDCDCDC}, {"ghostwhite", 0xF8F8FF}, {"gold", 0xFFD700}, {"goldenrod", 0xDAA520},
      {"gray", 0x808080}, {"green", 0x008000}, {"greenyellow", 0xADFF2F}, {"honeydew", 0xF0FFF0},
      {"hotpink", 0xFF69B4}, {"indianred", 0xCD5C5C}, {"indigo", 0x4B0082}, {"ivory", 0xFFFFF0},
      {"khaki", 0xF0E68C}, {"lavender", 0xE6E6FA}, {"lavenderblush", 0xFFF0F5}, {"lawngreen", 0x7CFC00},
      {"lemonchiffon", 0xFFFACD}, {"lightblue", 0xADD8E6}, {"lightcoral", 0xF08080}, {"lightcyan", 0xE0FFFF},
      {"lightgoldenrodyellow", 0xFAFAD2}, {"lightgreen", 0x90EE90}, {"lightgrey", 0xD3D3D3},
      {"lightpink", 0xFFB6C1}, {"lightsalmon", 0xFFA07A}, {"lightseagreen", 0x20B2AA},
      {"lightskyblue", 0x87CEFA}, {"lightslategray", 0x778899}, {"lightsteelblue", 0xB0C4DE},
      {"lightyellow", 0xFFFFE0}, {"lime", 0x00FF00}, {"limegreen", 0x32CD32}, {"linen", 0xFAF0E6},
      {"magenta", 0xFF00FF}, {"maroon", 0x800000}, {"mediumaquamarine", 0x66CDAA}, {"mediumblue", 0x0000CD},
      {"mediumorchid", 0xBA55D3}, {"mediumpurple", 0x9370DB}, {"mediumseagreen", 0x3CB371},
      {"mediumpurple", 0x9370DB}, {"mediumslateblue", 0x7B68EE}, {"mediumspringgreen", 0x00FA9A},
      {"mediumturquoise", 0x48D1CC}, {"mediumvioletred", 0xC71585}, {"midnightblue", 0x191970},
      {"mintcream", 0xF5FFFA}, {"mistyrose", 0xFFE4E1}, {"moccasin", 0xFFE4B5}, {"navajowhite", 0xFFDEAD},
      {"navy", 0x000080}, {"oldlace", 0xFDF5E6}, {"olive", 0x808000}, {"olivedrab", 0x6B8E23},
      {"orange", 0xFFA500}, {"orangered", 0xFF4500}, {"orchid", 0xDA70D6}, {"palegoldenrod", 0xEEE8AA},
      {"palegreen", 0x98FB98}, {"paleturquoise", 0xAFEEEE}, {"palevioletred", 0xDB7093},
      {"papayawhip", 0xFFEFD5}, {"peachpuff", 0xFFDAB9}, {"peru", 0xCD853F}, {"pink", 0xFFC0CB},
      {"plum", 0xDDA0DD}, {"powderblue", 0xB0E0E6}, {"purple", 0x800080}, {"red", 0xFF0000},
      {"rosybrown", 0xBC8F8F}, {"royalblue", 0x4169E1}, {"saddlebrown", 0x8B4513}, {"salmon", 0xFA8072},
      {"sandybrown", 0xF4A460}, {"seagreen", 0x2E8B57}, {"seashell", 0xFFF5EE}, {"sienna", 0xA0522D},
      {"silver", 0xC0C0C0}, {"skyblue", 0x87CEEB}, {"slateblue", 0x6A5ACD}, {"slategray", 0x708090},
      {"snow", 0xFFFAFA}, {"springgreen", 0x00FF7F}, {"steelblue", 0x4682B4}, {"tan", 0xD2B48C},
      {"teal", 0x008080}, {"thistle", 0xD8BFD8}, {"tomato", 0xFF6347}, {"turquoise", 0x40E0D0},
      {"violet", 0xEE82EE}, {"wheat", 0xF5DEB3}, {"white", 0xFFFFFF}, {"whitesmoke", 0xF5F5F5},
      {"yellow", 0xFFFF00}, {"yellowgreen", 0x9ACD32},
  };
  static const TcxColorInfo system[] = {
      {"activeborder", clActiveBorder},       {"activecaption", clActiveCaption},
      {"appworkspace", clAppWorkSpace},       {"background", clBackground},
      {"buttonface", clBtnFace},              {"buttonhighlight", clBtnHighlight},
      {"buttonshadow", clBtnShadow},          {"buttontext", clBtnText},
      {"captiontext", clCaptionText},         {"graytext", clGrayText},
      {"highlight", clHighlight},             {"highlighttext", clHighlightText},
      {"inactiveborder", clInactiveBorder},   {"inactivecaption", clInactiveCaption},
      {"infobackground", clInfoBk},           {"infotext", clInfoText},
      {"menu", clMenu},                       {"menutext", clMenuText},
      {"scrollbar", clScrollBar},             {"threeddarkshadow", cl3DDkShadow},
      {"threedface", clBtnFace},              {"threedhighlight", clBtnHighlight},
      {"threedlightshadow", cl3DLight},       {"threedshadow", clBtnShadow},
      {"window", clWindow},                   {"windowframe", clWindowFrame},
      {"windowtext", clWindowText},           {"inactivecaptiontext", clInactiveCaptionText},
  };
  static const std::vector<TcxColorInfo> table = [] {
    std::vector<TcxColorInfo> t;
    for (const auto& w : web)
      t.push_back({w.Name, TColor(((w.Rgb & 0xFF) << 16) | (w.Rgb & 0xFF00) | ((w.Rgb >> 16) & 0xFF))});
    for (const auto& s : system) t.push_back(s);
    return t;
  }();
  return table;
}

bool FindNamedWebColor(const std::string& Name, TColor& Color) {
  for (const TcxColorInfo& c : NamedWebColors())
    if (SameText(Name, c.Name)) {
      Color = c.Color;
      return true;
    }
  return false;
}

void ShrinkRectInPlace(TRect& R, const TRect& Margins) {
  R.Left += Margins.Left;
  R.Top += Margins.Top;
  R.Right -= Margins.Right;
  R.Bottom -= Margins.Bottom;
}

bool RectsSameSize(const TRect& A, const TRect& B) { return A.Width() == B.Width() && A.Height() == B.Height(); }

void BitBltRect(HDC DestDC, HDC SrcDC, const TRect& DestRect, TPoint SrcTopLeft, DWORD Rop) {
  BitBlt(DestDC, DestRect.Left, DestRect.Top, DestRect.Width(), DestRect.Height(), SrcDC, SrcTopLeft.X,
         SrcTopLeft.Y, Rop);
}

TBitmap* CreateBitmapOfSize(int Width, int Height, TPixelFormat PixelFormat) {
  auto* b = new TBitmap();
  b->SetPixelFormat(PixelFormat);
  b->SetSize(Width, Height);
  return b;
}

TBitmap* CreateBitmapForRect(const TRect& R, TPixelFormat PixelFormat) {
  return CreateBitmapOfSize(R.Width(), R.Height(), PixelFormat);
}

TBitmap* CopyDCRectToBitmap(HDC DC, const TRect& R) {
  TBitmap* b = CreateBitmapOfSize(R.Width(), R.Height(), pf32bit);
  RECT all = {0, 0, R.Width(), R.Height()};
  FillRect(b->Canvas()->Handle(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  BitBlt(b->Canvas()->Handle(), 0, 0, R.Width(), R.Height(), DC, R.Left, R.Top, SRCCOPY);
  return b;
}

void StretchBitmapCopy(TBitmap* Dest, TBitmap* Source) {
  StretchBlt(Dest->Canvas()->Handle(), 0, 0, Dest->Width(), Dest->Height(), Source->Canvas()->Handle(), 0, 0,
             Source->Width(), Source->Height(), SRCCOPY);
}

bool IsBitmapNonEmpty(TBitmap* Bitmap) { return Bitmap && !Bitmap->Empty(); }

bool IsValidImageIndex(TCustomImageList* List, int Index) {
  return List && Index >= 0 && Index < List->Count();
}

void ReplaceLinkedImageList(TCustomImageList* NewList, TCustomImageList*& Field,
                            TChangeLink* ChangeLink, TComponent* Component) {
  if (Field == NewList) return;
  if (Field) {
    Field->RemoveFreeNotification(Component);
    Field->UnRegisterChanges(ChangeLink);
  }
  Field = NewList;
  if (Field) {
    Field->FreeNotification(Component);
    Field->RegisterChanges(ChangeLink);
  }
  ChangeLink->Change();
}

bool IsComCtl6OrLater() { return ComCtlVersion() > 0x5FFFF; }

bool QueryBitmapInfo(HBITMAP Handle, BITMAP& Info) { return GetObject(Handle, sizeof Info, &Info) != 0; }
bool QueryLogBrush(HBRUSH Handle, LOGBRUSH& Info) { return GetObject(Handle, sizeof Info, &Info) != 0; }
bool QueryLogFont(HFONT Handle, LOGFONT& Info) { return GetObject(Handle, sizeof Info, &Info) != 0; }
bool QueryLogPen(HPEN Handle, LOGPEN& Info) { return GetObject(Handle, sizeof Info, &Info) != 0; }

void ResetFontToDefault(TFont* Font) {
  TFont defaults;
  Font->SetCharset(defaults.Charset());
  Font->SetName(defaults.Name());
  Font->SetHeight(defaults.Height());
  Font->SetPitch(defaults.Pitch());
  Font->SetStyle(defaults.Style());
}

bool PrefersLastCharOfDayName(BYTE Charset, const std::string& DayName) {
  constexpr BYTE kSystemCharset = 0;  // the system's code page is a single-byte Western one
  if (Charset == DEFAULT_CHARSET) Charset = kSystemCharset;
  if (!DayName.empty() && static_cast<unsigned char>(DayName[0]) < 0x80) return false;
  return Charset == 134 || Charset == 136 || Charset == 178;
}

// ---- parent background

namespace {

// Paints a control's background and contents into the context at its current origin, clipped
// to the rectangle (control coordinates) and to the control's window region.
void PaintControlInto(TWinControl* Control, HDC DC, const TRect& R) {
  int saved = SaveDC(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  if (Control->HandleAllocated()) {
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(Control->WindowHandle(), rgn) > NULLREGION) {
      POINT org{};
      GetWindowOrgEx(DC, &org);
      POINT vp{};
      GetViewportOrgEx(DC, &vp);
      OffsetRgn(rgn, vp.x - org.x, vp.y - org.y);
      ExtSelectClipRgn(DC, rgn, RGN_AND);
    }
    DeleteObject(rgn);
  }
  TControlState state = Control->ControlState();
  Control->SetControlState(TControlState(state).Include(csPaintCopy));
  try {
    Control->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
    Control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  } catch (...) {
    Control->SetControlState(state);
    RestoreDC(DC, saved);
    throw;
  }
  Control->SetControlState(state);
  RestoreDC(DC, saved);
}

// A windowed child painted in its own place with its border first, then its own children.
void PaintChildSubtree(TWinControl* Child, HDC DC) {
  int saved = SaveDC(DC);
  OffsetWindowOrgEx(DC, -Child->Left(), -Child->Top(), nullptr);
  RECT bounds{0, 0, Child->Width(), Child->Height()};
  if (RectVisible(DC, &bounds)) {
    LONG_PTR style = Child->HandleAllocated() ? GetWindowLongPtr(Child->WindowHandle(), GWL_STYLE) : 0;
    LONG_PTR exStyle = Child->HandleAllocated() ? GetWindowLongPtr(Child->WindowHandle(), GWL_EXSTYLE) : 0;
    RECT inner = bounds;
    if (exStyle & WS_EX_CLIENTEDGE) DrawEdge(DC, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    else if (style & WS_BORDER) DrawEdge(DC, &inner, BDR_RAISEDOUTER | BDR_SUNKENOUTER, BF_RECT | BF_ADJUST | BF_MONO);
    OffsetWindowOrgEx(DC, -inner.left, -inner.top, nullptr);
    PaintControlInto(Child, DC, TRect(0, 0, inner.right - inner.left, inner.bottom - inner.top));
    for (int i = 0; i < Child->ControlCount(); ++i)
      if (auto* w = dynamic_cast<TWinControl*>(Child->Controls(i)); w && w->Visible()) PaintChildSubtree(w, DC);
  }
  RestoreDC(DC, saved);
}

}  // namespace

void DrawParentBackground(TControl* Control, TcxCanvas* Canvas, const TRect& R, bool WithSiblings) {
  TWinControl* parent = Control ? Control->Parent() : nullptr;
  if (!parent || !Canvas) return;
  TRect inParent = R.Offset(Control->Left(), Control->Top());
  Canvas->PushDCState();
  try {
    HDC dc = Canvas->CurrentDC();
    OffsetWindowOrgEx(dc, Control->Left(), Control->Top(), nullptr);
    RECT visible{inParent.Left, inParent.Top, inParent.Right, inParent.Bottom};
    if (RectVisible(dc, &visible)) {
      PaintControlInto(parent, dc, inParent);
      if (WithSiblings) {
        IntersectClipRect(dc, inParent.Left, inParent.Top, inParent.Right, inParent.Bottom);
        for (int i = 0; i < parent->ControlCount(); ++i) {
          TControl* c = parent->Controls(i);
          if (c == Control) break;
          if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible()) PaintChildSubtree(w, dc);
        }
      }
    }
  } catch (...) {
    Canvas->PopDCState();
    throw;
  }
  Canvas->PopDCState();
}

void DrawThemedParentBackground(TControl* Control, TcxCanvas* Canvas, const TRect& R) {
  TWinControl* parent = Control ? Control->Parent() : nullptr;
  if (!parent) return;
  if (!IsUxThemeLoaded()) {
    DrawParentBackground(Control, Canvas, R, false);
    return;
  }
  HDC dc = Canvas->CurrentDC();
  RECT r{R.Left, R.Top, R.Right, R.Bottom};
  auto* w = dynamic_cast<TWinControl*>(Control);
  UxDrawThemeParentBackground(w && w->HandleAllocated() ? w->WindowHandle() : parent->Handle(), dc, &r);
  CheckCondition(Canvas->CurrentDC() == dc, "cxDrawThemeParentBackground fails");
}
