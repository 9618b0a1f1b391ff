#include "platform/gui/Graphics.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstring>

#include "platform/rtl/TypInfo.h"
#include "platform/win/DeviceContext.h"

TColor ColorToRGB(TColor color) {
  if (color < 0 && (uint32_t(color) & 0xFF000000u) == 0xFF000000u)
    return TColor(GetSysColor(int(color & 0xFF)));
  return color;
}

QColor TColorToQColor(TColor color) {
  TColor c = ColorToRGB(color);
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

TColor QColorToTColor(const QColor& c) { return TColor(RGB(BYTE(c.red()), BYTE(c.green()), BYTE(c.blue()))); }

namespace {
const std::pair<const char*, TColor> kColorNames[] = {
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
    {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
    {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen}, {"clSkyBlue", clSkyBlue}, {"clCream", clCream},
    {"clMedGray", clMedGray}, {"clNone", clNone}, {"clDefault", clDefault},
    {"clScrollBar", clScrollBar}, {"clBackground", clBackground},
    {"clActiveCaption", clActiveCaption}, {"clInactiveCaption", clInactiveCaption},
    {"clMenu", clMenu}, {"clWindow", clWindow}, {"clWindowFrame", clWindowFrame},
    {"clMenuText", clMenuText}, {"clWindowText", clWindowText}, {"clCaptionText", clCaptionText},
    {"clActiveBorder", clActiveBorder}, {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace}, {"clHighlight", clHighlight},
    {"clHighlightText", clHighlightText}, {"clBtnFace", clBtnFace}, {"clBtnShadow", clBtnShadow},
    {"clGrayText", clGrayText}, {"clBtnText", clBtnText},
    {"clInactiveCaptionText", clInactiveCaptionText}, {"clBtnHighlight", clBtnHighlight},
    {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight}, {"clInfoText", clInfoText},
    {"clInfoBk", clInfoBk}, {"clHotLight", clHotLight},
    {"clGradientActiveCaption", clGradientActiveCaption},
    {"clGradientInactiveCaption", clGradientInactiveCaption},
    {"clMenuHighlight", clMenuHighlight}, {"clMenuBar", clMenuBar}};
}  // namespace

bool ColorToIdent(int64_t Color, std::string& Ident) {
  for (auto& [name, value] : kColorNames)
    if (TColor(Color) == value) {
      Ident = name;
      return true;
    }
  return false;
}

bool IdentToColor(const std::string& Ident, int64_t& Color) {
  for (auto& [name, value] : kColorNames)
    if (SameText(Ident, name)) {
      Color = value;
      return true;
    }
  return false;
}

std::string ColorToString(TColor Color) {
  std::string s;
  if (ColorToIdent(Color, s)) return s;
  return "$" + IntToHex(uint32_t(Color), 8);
}

TColor StringToColor(const std::string& S) {
  int64_t v;
  if (IdentToColor(S, v)) return TColor(v);
  return TColor(StrToInt64(S));
}

const TIdentMap* ColorIdentMap() {
  static const TIdentMap map{IdentToColor, ColorToIdent};
  return &map;
}

TGraphicsObject::~TGraphicsObject() {
  if (FHandle) DeleteObject(FHandle);
}

void TGraphicsObject::Changed() {
  if (FHandle) {
    DeleteObject(FHandle);
    FHandle = nullptr;
  }
  Notify();
}

void TGraphicsObject::Notify() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------------

TFont::TFont() = default;

void TFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    if (f == this) return;
    FName = f->FName;
    FHeight = f->FHeight;
    FColor = f->FColor;
    FStyle = f->FStyle;
    FPitch = f->FPitch;
    FCharset = f->FCharset;
    FOrientation = f->FOrientation;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TFont::SetName(const std::string& Value) {
  if (Value.empty() || Value == FName) return;
  FName = Value;
  Changed();
}

int TFont::Size() const {
  // -Height * 72 / 96, rounded half away from zero.
  int64_t n = int64_t(-FHeight) * 72;
  return int(n >= 0 ? (n + 48) / 96 : -((-n + 48) / 96));
}

void TFont::SetSize(int Value) {
  int64_t n = int64_t(Value) * 96;
  SetHeight(-int(n >= 0 ? (n + 36) / 72 : -((-n + 36) / 72)));
}

void TFont::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  // The colour is not part of the font handle.
  Notify();
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch) return;
  FPitch = Value;
  Changed();
}

void TFont::SetCharset(BYTE Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  Changed();
}

void TFont::SetOrientation(int Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  Changed();
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONT lf;
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    lf.lfEscapement = lf.lfOrientation = FOrientation;
    std::strncpy(lf.lfFaceName, FName.c_str(), sizeof lf.lfFaceName - 1);
    FHandle = CreateFontIndirect(&lf);
  }
  return FHandle;
}

void TFont::SetHandle(HFONT Value) {
  LOGFONT lf;
  if (!GetObject(Value, sizeof lf, &lf)) return;
  FName = lf.lfFaceName;
  FHeight = lf.lfHeight;
  FStyle = TFontStyles();
  if (lf.lfWeight >= FW_BOLD) FStyle.Include(fsBold);
  if (lf.lfItalic) FStyle.Include(fsItalic);
  if (lf.lfUnderline) FStyle.Include(fsUnderline);
  if (lf.lfStrikeOut) FStyle.Include(fsStrikeOut);
  FCharset = lf.lfCharSet;
  FOrientation = lf.lfEscapement;
  Changed();
}

QFont TFont::ToQFont() const {
  LOGFONT lf;
  lf.lfHeight = FHeight;
  lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FStyle.Contains(fsItalic);
  lf.lfUnderline = FStyle.Contains(fsUnderline);
  lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
  std::strncpy(lf.lfFaceName, FName.c_str(), sizeof lf.lfFaceName - 1);
  return FontFromLogFont(lf);
}

// ---------------------------------------------------------------------------------------------

void TPen::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPen*>(Source)) {
    FColor = p->FColor;
    FWidth = p->FWidth;
    FStyle = p->FStyle;
    FMode = p->FMode;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TPen::SetColor(TColor Value) {
  if (Value != FColor) FColor = Value, Changed();
}
void TPen::SetWidth(int Value) {
  if (Value >= 0 && Value != FWidth) FWidth = Value, Changed();
}
void TPen::SetStyle(TPenStyle Value) {
  if (Value != FStyle) FStyle = Value, Changed();
}
void TPen::SetMode(TPenMode Value) {
  if (Value != FMode) FMode = Value, Notify();
}

HPEN TPen::Handle() {
  if (!FHandle) {
    static const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    FHandle = CreatePen(styles[int(FStyle)], FWidth, COLORREF(ColorToRGB(FColor)));
  }
  return FHandle;
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    FColor = b->FColor;
    FStyle = b->FStyle;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value != FStyle) FStyle = Value, Changed();
}

HBRUSH TBrush::Handle() {
  if (!FHandle) {
    LOGBRUSH lb;
    lb.lbColor = COLORREF(ColorToRGB(FColor));
    switch (FStyle) {
      case bsSolid: lb.lbStyle = BS_SOLID; break;
      case bsClear: lb.lbStyle = BS_NULL; break;
      default:
        lb.lbStyle = BS_HATCHED;
        lb.lbHatch = ULONG_PTR(int(FStyle) - int(bsHorizontal));
        break;
    }
    FHandle = CreateBrushIndirect(&lb);
  }
  return FHandle;
}

// ---------------------------------------------------------------------------------------------

TCanvas::TCanvas() : FPen(new TPen), FBrush(new TBrush), FFont(new TFont) {}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
  delete FPen;
  delete FBrush;
  delete FFont;
}

HDC TCanvas::Handle() {
  if (!FHandle) CreateHandle();
  if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (FHandle == Value) return;
  if (FHandle) {
    // Give the device context back its own objects before it goes.
    if (FOldPen) SelectObject(FHandle, FOldPen);
    if (FOldBrush) SelectObject(FHandle, FOldBrush);
    if (FOldFont) SelectObject(FHandle, FOldFont);
    FOldPen = FOldBrush = FOldFont = nullptr;
  }
  FHandle = Value;
}

void TCanvas::CreateHandle() {}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::Refresh() {
  if (!FHandle) return;
  SetHandle(FHandle == nullptr ? nullptr : FHandle);
}

void TCanvas::RequiredState() {
  HDC dc = Handle();
  HGDIOBJ p = SelectObject(dc, FPen->Handle());
  HGDIOBJ b = SelectObject(dc, FBrush->Handle());
  HGDIOBJ f = SelectObject(dc, FFont->Handle());
  if (!FOldPen) FOldPen = p;
  if (!FOldBrush) FOldBrush = b;
  if (!FOldFont) FOldFont = f;
  static const int rop2[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN, R2_XORPEN};
  SetROP2(dc, rop2[int(FPen->Mode())]);
  SetTextColor(dc, COLORREF(ColorToRGB(FFont->Color())));
  SetBkColor(dc, COLORREF(ColorToRGB(FBrush->Color())));
  SetBkMode(dc, FBrush->Style() == bsClear ? TRANSPARENT : OPAQUE);
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState();
  MoveToEx(FHandle, X, Y, nullptr);
  FPenPos = {X, Y};
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState();
  ::LineTo(FHandle, X, Y);
  FPenPos = {X, Y};
  Changed();
}

void TCanvas::Polyline(const TPoint* Points, int Count) {
  Changing();
  RequiredState();
  std::vector<POINT> pts(Points, Points + Count);
  ::Polyline(FHandle, pts.data(), Count);
  Changed();
}

void TCanvas::Polygon(const TPoint* Points, int Count) {
  Changing();
  RequiredState();
  std::vector<POINT> pts(Points, Points + Count);
  ::Polygon(FHandle, pts.data(), Count);
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState();
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Changing();
  RequiredState();
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState();
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::FillRect(const TRect& R) {
  Changing();
  RequiredState();
  RECT r = R;
  ::FillRect(FHandle, &r, FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  Changing();
  RequiredState();
  RECT r = R;
  ::FrameRect(FHandle, &r, FBrush->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
  Changing();
  RequiredState();
  // A dotted frame drawn by inverting every other pixel.
  HDC dc = FHandle;
  for (int x = R.Left; x < R.Right; x += 2) {
    PatBlt(dc, x, R.Top, 1, 1, DSTINVERT);
    PatBlt(dc, x, R.Bottom - 1, 1, 1, DSTINVERT);
  }
  for (int y = R.Top + 2; y < R.Bottom - 1; y += 2) {
    PatBlt(dc, R.Left, y, 1, 1, DSTINVERT);
    PatBlt(dc, R.Right - 1, y, 1, 1, DSTINVERT);
  }
  Changed();
}

TColor TCanvas::Pixel(int X, int Y) {
  COLORREF c = GetPixel(Handle(), X, Y);
  return c == CLR_INVALID ? TColor(clNone) : TColor(c);
}

void TCanvas::SetPixel(int X, int Y, TColor Value) {
  Changing();
  ::SetPixel(Handle(), X, Y, COLORREF(ColorToRGB(Value)));
  Changed();
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
  Changing();
  RequiredState();
  ::TextOut(FHandle, X, Y, Text);
  SIZE s;
  GetTextExtentPoint32(FHandle, Text, &s);
  FPenPos = {X + s.cx, Y};
  Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const std::string& Text) {
  Changing();
  RequiredState();
  SaveDC(FHandle);
  IntersectClipRect(FHandle, R.Left, R.Top, R.Right, R.Bottom);
  if (FBrush->Style() != bsClear) {
    RECT r = R;
    ::FillRect(FHandle, &r, FBrush->Handle());
  }
  int mode = SetBkMode(FHandle, TRANSPARENT);
  ::TextOut(FHandle, X, Y, Text);
  SetBkMode(FHandle, mode);
  RestoreDC(FHandle, -1);
  Changed();
}

TSize TCanvas::TextExtent(const std::string& Text) {
  RequiredState();
  SIZE s;
  GetTextExtentPoint32(FHandle, Text, &s);
  return s;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState();
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState();
  Graphic->Draw(this, R);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  Changing();
  RequiredState();
  Canvas->RequiredState();
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->FHandle,
             Source.Left, Source.Top, Source.Width(), Source.Height(), FCopyMode);
  Changed();
}

TRect TCanvas::ClipRect() {
  RECT r;
  GetClipBox(Handle(), &r);
  return r;
}

void DrawImageOnCanvas(TCanvas* Canvas, const TRect& Dest, const QImage& Image) {
  TDeviceContext* dc = FindDeviceContext(Canvas->Handle());
  if (!dc) return;
  TDibSync sync;
  QPainter p;
  if (!dc->BeginPainter(p)) return;
  p.drawImage(QRect(Dest.Left, Dest.Top, Dest.Width(), Dest.Height()), Image);
}
