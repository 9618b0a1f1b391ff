// Office 2003 colour schemes, the shared colour set and its drawing primitives.
#include "suite/core/dxOffice11.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <set>

#include "platform/rtl/SysUtils.h"
#include "platform/sys/Modules.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxThemeManager.h"
#include "suite/core/dxUxTheme.h"

TColor Office11Colors[Office11ColorCount] = {};
HBRUSH Office11Brushes[Office11BrushCount] = {};
int Office11GradientPercent = 75;
TBitmap* Office11SubMenuExpandBitmap = nullptr;
TBitmap* Office11ExpandButtonMinusBitmap = nullptr;
TBitmap* Office11ExpandButtonPlusBitmap = nullptr;

// The bitmaps drawn at build time live in the suite library's own resources.
static void InitSuiteBitmaps() { Q_INIT_RESOURCE(sonalix_suite_images); }

namespace {

TOffice11Scheme gScheme = schUnknown;
bool gSchemeActive = false;
int gUsers = 0;
bool gComputed = false;
HMODULE gMsimg32 = nullptr;
using TGradientFillProc = BOOL (*)(HDC, const TRIVERTEX*, ULONG, const void*, ULONG, ULONG);
TGradientFillProc gGradientFill = nullptr;

// The schemes' own colours ($BBGGRR), one row per entry, columns NormalColor, HomeStead, Metallic.
constexpr uint32_t kSchemeColors[49][3] = {
    {0xFEECDD, 0xDEF7F4, 0xFAF4F3}, {0xE2A981, 0x91C6B7, 0xB59799}, {0xF5BE9E, 0xA7D9D9, 0xE5D7D7},
    {0xF9DAC3, 0xE4F0F2, 0xF7F3F3}, {0x913500, 0x6B7760, 0x927476}, {0xF1A675, 0x8CC2B0, 0xC8B2B3},
    {0x76C1FF, 0x76C1FF, 0x76C1FF}, {0xD3F8FF, 0xD3F8FF, 0xD3F8FF}, {0x98DDFF, 0x98DDFF, 0x98DDFF},
    {0x5295FE, 0x5295FE, 0x5295FE}, {0x9C613B, 0x588060, 0x947C7C}, {0xE0A47B, 0x8FC4B5, 0xB09193},
    {0x764127, 0x335E51, 0x755454}, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, {0xCB8C6A, 0x588060, 0x8F6D6E},
    {0xFFF9F1, 0xDEF7F4, 0xFFFFFF}, {0xC9662A, 0x5E8674, 0x99797A}, {0xF9DBC4, 0xADDEE1, 0xE4DADB},
    {0x962D00, 0x5E8D75, 0x947C7C}, {0xF6F6F6, 0xEEF4F4, 0xFFFAFD}, {0xC2EEFF, 0xC2EEFF, 0xC2EEFF},
    {0x800000, 0x385D3F, 0x6F4B4B}, {0xCCF4FF, 0xCCF4FF, 0xCCF4FF}, {0x91D0FF, 0x91D0FF, 0x91D0FF},
    {0x8ED3FF, 0x8ED3FF, 0x8ED3FF}, {0x4E91FE, 0x4E91FE, 0x4E91FE}, {0xFCE1CB, 0xB6E3D8, 0xE7D3D6},
    {0x6FC0FF, 0x6FC0FF, 0x6FC0FF}, {0x3E80FE, 0x3E80FE, 0x3E80FE}, {0xF0C7A9, 0x9FD4C5, 0xD3C0C0},
    {0x000000, 0x000000, 0x000000}, {0x8D8D8D, 0x8D8D8D, 0x8D8D8D}, {0xFBDABE, 0x91BAAF, 0xEBE5E5},
    {0x94E6FB, 0x94E6FB, 0x94E6FB}, {0xFADAC4, 0xE4F1F2, 0xF7F3F3}, {0x962D00, 0x588060, 0x947C7C},
    {0xB96837, 0x548973, 0x916F70}, {0x962D00, 0x5E8D75, 0x947C7C}, {0xFBE5D3, 0xDBF5F2, 0xF8F1F0},
    {0xE4AE88, 0x97C9BC, 0xBA9EA0}, {0xDCFFFF, 0xDCFFFF, 0xDCFFFF}, {0x5BC0F7, 0x5BC0F7, 0x5BC0F7},
    {0x94E6FB, 0x94E6FB, 0x94E6FB}, {0x1595EE, 0x1595EE, 0x1595EE}, {0x087FE8, 0x087FE8, 0x087FE8},
    {0x7CDAF7, 0x7CDAF7, 0x7CDAF7}, {0xD68759, 0x82C0AF, 0xBFA7A8}, {0x933803, 0x447A63, 0x916F70},
    {0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
};

int R(TColor c) { return int(c & 0xFF); }
int G(TColor c) { return int((c >> 8) & 0xFF); }
int B(TColor c) { return int((c >> 16) & 0xFF); }
TColor Make(int r, int g, int b) {
  return TColor(RGB(BYTE(std::clamp(r, 0, 255)), BYTE(std::clamp(g, 0, 255)), BYTE(std::clamp(b, 0, 255))));
}
TColor Resolve(TColor c) { return ColorToRGB(c) & 0xFFFFFF; }

TColor Nearest(TColor c) { return NearestScreenColor(c); }

TColor Mix(TColor c1, TColor c2, int p) {
  c1 = Resolve(c1);
  c2 = Resolve(c2);
  auto ch = [&](int a, int b) { return std::min(255, MulDiv(a, p, 100) + MulDiv(b, 100 - p, 100)); };
  return Nearest(Make(ch(R(c1), R(c2)), ch(G(c1), G(c2)), ch(B(c1), B(c2))));
}

TColor Light(int a, int b, int c) {
  TColor face = Resolve(clBtnFace), hi = Resolve(clHighlight), win = Resolve(clWindow);
  if (face == 0 || face == 0xFFFFFF) return hi;
  auto ch = [&](int f, int h, int w) { return MulDiv(f, a, 100) + MulDiv(h, b, 100) + MulDiv(w, c, 100); };
  return Make(ch(R(face), R(hi), R(win)), ch(G(face), G(hi), G(win)), ch(B(face), B(hi), B(win)));
}

TColor CaptionTone(bool lighter) {
  TColor face = Resolve(clBtnFace);
  auto ch = [&](int c) { return lighter ? c * 127 / 255 + 128 : (c - c * 4 / 255 + 4) & 255; };
  return Nearest(Make(ch(R(face)), ch(G(face)), ch(B(face))));
}

void ComputeColors() {
  gComputed = true;
  gScheme = GetOffice11Scheme();
  gSchemeActive = IsThemingAvailable() && gScheme != schUnknown;
  const bool scheme = gScheme != schUnknown;
  auto row = [&](int n) { return TColor(kSchemeColors[n][int(gScheme) - 1]); };
  TColor* c = Office11Colors;
  const TColor face = Resolve(clBtnFace), window = Resolve(clWindow), shadow = Resolve(clBtnShadow),
               text = Resolve(clBtnText), hilite = Resolve(clBtnHighlight), highlight = Resolve(clHighlight),
               hiText = Resolve(clHighlightText), grey = Resolve(clGrayText);
  const TColor black = 0, white = 0xFFFFFF;
  if (scheme) {
    const int rows[] = {2, 3, 0, 1, 5, 7, 9, 4, 6, 8, 10, 11};
    for (int i = 0; i < 12; ++i) c[i] = row(rows[i]);
    c[12] = Mix(c[4], c[2], 90);
    c[13] = Mix(c[5], c[2], 90);
    c[14] = Mix(c[6], c[2], 90);
    c[18] = row(12);
    c[19] = row(13);
    c[20] = row(14);
    c[21] = row(15);
    c[22] = black;
    c[23] = white;
    c[24] = row(16);
    c[25] = row(17);
    c[28] = white;
    c[29] = black;
    c[30] = black;
    c[31] = row(19);
    c[38] = row(18);
    for (int i = 40; i <= 49; ++i) c[i] = row(i - 20);
    c[51] = row(30);
    c[52] = row(31);
    c[58] = row(32);
    c[59] = row(33);
    c[60] = row(35);
    c[61] = row(34);
    c[62] = TColor(0xC9EEFD);
    c[63] = row(36);
    c[65] = row(37);
    for (int i = 66; i <= 76; ++i) c[i] = row(i - 28);
    c[77] = row(46);
    c[78] = row(47);
  } else {
    c[0] = face;
    c[1] = Mix(face, window, 20);
    c[2] = Mix(face, window, 22);
    c[3] = Mix(face, window, 96);
    c[7] = shadow;
    c[4] = Mix(c[7], window, 74);
    c[5] = c[8] = Nearest(Light(-15, 29, 86));
    c[6] = c[9] = Nearest(Light(42, 11, 47));
    c[10] = Mix(face, window, 85);
    c[11] = face;
    c[12] = Mix(c[7], window, 50);
    c[13] = Mix(c[8], window, 50);
    c[14] = Mix(c[9], window, 50);
    c[18] = Mix(shadow, window, 76);
    c[19] = window;
    c[20] = Mix(shadow, window, 70);
    c[21] = white;
    c[22] = text;
    c[23] = window;
    c[24] = shadow;
    c[25] = c[3];
    c[28] = hilite;
    c[29] = c[30] = text;
    c[31] = window;
    c[38] = shadow;
    c[40] = Nearest(Light(-2, 30, 72));
    c[41] = highlight;
    c[42] = c[43] = c[40];
    c[47] = Light(41, 11, 48);
    c[48] = Nearest(Light(14, 44, 40));
    c[44] = c[45] = c[48];
    c[46] = c[3];
    c[49] = c[46];
    c[51] = text;
    c[52] = grey;
    c[58] = face;
    c[59] = c[47];
    c[60] = c[38];
    c[61] = c[0];
    c[62] = face;
    c[63] = shadow;
    c[64] = shadow;
    c[65] = Nearest(shadow);
    c[66] = CaptionTone(true);
    c[67] = CaptionTone(false);
    c[68] = c[42];
    c[69] = c[43];
    c[70] = c[71] = c[47];
    c[72] = c[73] = c[48];
    c[74] = c[75] = c[65];
    c[76] = hiText;
    c[77] = Nearest(face);
    c[78] = c[65];
  }
  c[15] = Mix(c[7], c[11], 50);
  c[16] = Mix(c[8], c[11], 50);
  c[17] = Mix(c[9], c[11], 50);
  if (scheme) c[64] = c[11];
  // Copies of earlier colours come last.
  c[26] = c[2];
  c[27] = c[24];
  c[32] = c[2];
  c[33] = c[3];
  c[34] = c[2];
  c[35] = c[3];
  c[36] = Mix(c[2], black, 92);
  c[37] = Mix(c[35], black, 92);
  c[39] = c[31];
  c[50] = c[40];
  c[53] = c[38];
  c[54] = c[0];
  c[55] = c[15];
  c[56] = c[28];
  c[57] = c[38];
  c[79] = Make(158, 174, 191);
  c[80] = Make(46, 70, 95);
  switch (gScheme) {
    case schNormalColor: Office11GradientPercent = 41; break;
    case schHomeStead: Office11GradientPercent = 125; break;
    case schMetallic: Office11GradientPercent = 40; break;
    default: Office11GradientPercent = 75; break;
  }
}

void FreeBrushes() {
  std::set<HBRUSH> distinct(std::begin(Office11Brushes), std::end(Office11Brushes));
  for (HBRUSH b : distinct)
    if (b) DeleteObject(b);
  std::fill(std::begin(Office11Brushes), std::end(Office11Brushes), nullptr);
}

void MakeBrushes() {
  FreeBrushes();
  auto make = [](int colour) { return CreateSolidBrush(COLORREF(Office11Colors[colour])); };
  HBRUSH* b = Office11Brushes;
  for (int i = 0; i < 4; ++i) b[i] = make(18 + i);
  b[4] = b[11] = make(31);
  b[5] = make(41);
  b[6] = b[13] = make(40);
  b[7] = make(46);
  b[8] = make(47);
  b[9] = make(48);
  b[10] = b[14] = make(38);
  b[12] = make(49);
  b[15] = make(55);
}

QImage ResourceImage(const char* Name) {
  InitSuiteBitmaps();
  TBitmap b;
  b.LoadFromResourceName(Name);
  return b.ToImage().convertToFormat(QImage::Format_RGB32);
}

void RecolorSubMenuExpand(QImage& img) {
  TColor c2 = Office11Colors[2], c3 = Office11Colors[3];
  if (c2 == c3) c3 = c2 == 0 ? TColor(0xFFFFFF) : TColor(0);
  const uint32_t background = img.pixel(0, 0) & 0xFFFFFF;
  int smallest = 255, largest = 1;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      uint32_t p = img.pixel(x, y) & 0xFFFFFF;
      if ((x == 0 && y == 0) || p == background || p == 0) continue;
      int red = int((p >> 16) & 0xFF);
      smallest = std::min(smallest, red);
      largest = std::max(largest, red);
    }
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      uint32_t p = img.pixel(x, y) & 0xFFFFFF;
      if ((x == 0 && y == 0) || p == background || p == 0) continue;
      int span = largest - smallest;
      int percent = span ? MulDiv(int((p >> 16) & 0xFF) - smallest, 100, span) : 0;
      TColor m = Mix(c2, c3, percent);
      img.setPixel(x, y, 0xFF000000u | (uint32_t(R(m)) << 16) | (uint32_t(G(m)) << 8) | uint32_t(B(m)));
    }
}

void FreeBitmaps() {
  delete Office11SubMenuExpandBitmap;
  delete Office11ExpandButtonMinusBitmap;
  delete Office11ExpandButtonPlusBitmap;
  Office11SubMenuExpandBitmap = Office11ExpandButtonMinusBitmap = Office11ExpandButtonPlusBitmap = nullptr;
}

void MakeBitmaps() {
  FreeBitmaps();
  QImage arrow = ResourceImage("DXSUBMENUEXPAND");
  RecolorSubMenuExpand(arrow);
  Office11SubMenuExpandBitmap = new TBitmap();
  Office11SubMenuExpandBitmap->SetImage(arrow);
  Office11ExpandButtonMinusBitmap = new TBitmap();
  Office11ExpandButtonMinusBitmap->SetImage(ResourceImage("DXEXPANDBUTTON_MINUS"));
  Office11ExpandButtonPlusBitmap = new TBitmap();
  Office11ExpandButtonPlusBitmap->SetImage(ResourceImage("DXEXPANDBUTTON_PLUS"));
}

}  // namespace

void Office11ColorsAddRef() {
  if (gUsers++ == 0) {
    ComputeColors();
    MakeBrushes();
    MakeBitmaps();
  }
}

void Office11ColorsRelease() {
  if (gUsers == 0 || --gUsers > 0) return;
  FreeBitmaps();
  FreeBrushes();
}

void Office11ColorsRefresh() {
  ComputeColors();
  if (gUsers > 0) {
    MakeBrushes();
    MakeBitmaps();
  }
}

int Office11ColorsUsers() { return gUsers; }

TColor Office11RoleColor(TOffice11Role Role) {
  if (!gComputed) ComputeColors();
  return Office11Colors[Role];
}

TOffice11Scheme CurrentOffice11Scheme() { return gScheme; }
bool IsOffice11SchemeActive() { return gSchemeActive; }

TOffice11Scheme GetOffice11Scheme() {
  if (!IsThemingAvailable()) return schUnknown;
  char16_t file[1024] = {}, colour[1024] = {}, size[1024] = {};
  if (UxGetCurrentThemeName(file, 1024, colour, 1024, size, 1024) != 0) return schUnknown;
  std::u16string path(file);
  size_t slash = path.find_last_of(u"\\/");
  std::u16string name = slash == std::u16string::npos ? path : path.substr(slash + 1);
  auto upper = [](std::u16string s) {
    for (char16_t& ch : s)
      if (ch >= u'a' && ch <= u'z') ch = char16_t(ch - 32);
    return s;
  };
  constexpr int kSystemMajorVersion = 6;  // the system reported is NT 6.1
  if (upper(name) != u"LUNA.MSSTYLES" && kSystemMajorVersion < 6) return schUnknown;
  std::u16string c = upper(colour);
  if (c == u"NORMALCOLOR") return schNormalColor;
  if (c == u"HOMESTEAD") return schHomeStead;
  if (c == u"METALLIC") return schMetallic;
  return schUnknown;
}

bool IsBtnFaceBlack() { return Resolve(clBtnFace) == 0; }
bool IsBtnFaceWhite() { return Resolve(clBtnFace) == 0xFFFFFF; }
bool IsBtnFaceBlackWithColoredText() { return IsBtnFaceBlack() && Resolve(clBtnText) != 0xFFFFFF; }

TColor MixColors(TColor Color1, TColor Color2, int Percent) { return Mix(Color1, Color2, Percent); }
TColor SystemLightColor(int A, int B_, int C) { return Light(A, B_, C); }

TColor ScaleColorByPercent(TColor Color, int Percent) {
  Color = Resolve(Color);
  return Make(R(Color) * Percent / 100, G(Color) * Percent / 100, B(Color) * Percent / 100);
}

TColor LightenColorByPercent(TColor Color, int Percent) {
  Color = Resolve(Color);
  auto ch = [&](int c) { return 255 - Percent * (255 - c) / 100; };
  return Make(ch(R(Color)), ch(G(Color)), ch(B(Color)));
}

TColor NavPaneGroupCaptionTone(bool Lighter) { return CaptionTone(Lighter); }

void FillRectSolid(HDC DC, const TRect& Rc, TColor Color) {
  HBRUSH b = CreateSolidBrush(COLORREF(Resolve(Color)));
  RECT r = {Rc.Left, Rc.Top, Rc.Right, Rc.Bottom};
  FillRect(DC, &r, b);
  DeleteObject(b);
}

void FrameRectSolid(HDC DC, const TRect& Rc, TColor Color) {
  HBRUSH b = CreateSolidBrush(COLORREF(Resolve(Color)));
  RECT r = {Rc.Left, Rc.Top, Rc.Right, Rc.Bottom};
  FrameRect(DC, &r, b);
  DeleteObject(b);
}

void GradientFillRect(HDC DC, const TRect& Rc, TColor Color1, TColor Color2, bool Horizontal) {
  Color1 = Resolve(Color1);
  Color2 = Resolve(Color2);
  if (Color1 == Color2) {
    FillRectSolid(DC, Rc, Color1);
    return;
  }
  if (gGradientFill) {
    TRIVERTEX v[2];
    v[0] = {Rc.Left, Rc.Top, COLOR16(R(Color1) << 8), COLOR16(G(Color1) << 8), COLOR16(B(Color1) << 8), 0};
    v[1] = {Rc.Right, Rc.Bottom, COLOR16(R(Color2) << 8), COLOR16(G(Color2) << 8), COLOR16(B(Color2) << 8), 0};
    GRADIENT_RECT mesh{0, 1};
    gGradientFill(DC, v, 2, &mesh, 1, Horizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
    return;
  }
  const int extent = Horizontal ? Rc.Width() : Rc.Height();
  if (extent <= 0) return;
  const int bands = std::min(extent, 256);
  for (int i = 0; i < bands; ++i) {
    // One band has the first colour (the step would divide by zero).
    auto ch = [&](int a, int b) { return bands > 1 ? a + MulDiv(i, b - a, bands - 1) : a; };
    TColor c = Make(ch(R(Color1), R(Color2)), ch(G(Color1), G(Color2)), ch(B(Color1), B(Color2)));
    int from = MulDiv(i, extent, bands), to = MulDiv(i + 1, extent, bands);
    TRect band = Horizontal ? TRect(Rc.Left + from, Rc.Top, Rc.Left + to, Rc.Bottom)
                            : TRect(Rc.Left, Rc.Top + from, Rc.Right, Rc.Top + to);
    FillRectSolid(DC, band, c);
  }
}

void FillOffice11Gradient(HDC DC, const TRect& Rc, TColor Color1, TColor Color2, bool Horizontal) {
  Color1 = Resolve(Color1);
  Color2 = Resolve(Color2);
  if (Color1 == Color2) {
    FillRectSolid(DC, Rc, Color1);
    return;
  }
  const int L = Horizontal ? Rc.Width() : Rc.Height();
  if (L <= 0) return;
  const int H = L / 2, P = Office11GradientPercent;
  std::array<int, 3> c1{R(Color1), G(Color1), B(Color1)}, c2{R(Color2), G(Color2), B(Color2)}, m{}, s{}, e{};
  for (int k = 0; k < 3; ++k) {
    m[k] = c1[k] - MulDiv(c1[k] - c2[k], P, 200);
    if (H > 0) {
      s[k] = c1[k] - MulDiv(c1[k] - m[k], L, H);
      e[k] = c2[k] + MulDiv(m[k] - c2[k], L, H);
    }
  }
  for (int i = 0; i < L; ++i) {
    std::array<int, 3> v;
    for (int k = 0; k < 3; ++k) {
      if (i < H) v[k] = c1[k] + MulDiv(i, s[k] - c1[k], L - 1);
      else if (i == H) v[k] = m[k];
      else v[k] = e[k] + MulDiv(i, c2[k] - e[k], L - 1);
    }
    TRect band = Horizontal ? TRect(Rc.Left + i, Rc.Top, Rc.Left + i + 1, Rc.Bottom)
                            : TRect(Rc.Left, Rc.Top + i, Rc.Right, Rc.Top + i + 1);
    FillRectSolid(DC, band, Make(v[0], v[1], v[2]));
  }
}

TColor GradientColorAt(const TRect& Rc, int Pos, TColor Color1, TColor Color2, bool Horizontal) {
  Color1 = Resolve(Color1);
  Color2 = Resolve(Color2);
  const int extent = Horizontal ? Rc.Width() : Rc.Height(), start = Horizontal ? Rc.Left : Rc.Top;
  const int n = std::min(extent, 256);
  if (n <= 1) return Color1;
  int step = std::max(0, MulDiv(Pos - start + 1, n, extent) - 1);
  auto ch = [&](int a, int b) { return a + MulDiv(step, b - a, n - 1); };
  return Make(ch(R(Color1), R(Color2)), ch(G(Color1), G(Color2)), ch(B(Color1), B(Color2)));
}

void Office11DrawSelectionFrame(HDC DC, const TRect& Rc) {
  RECT r = {Rc.Left, Rc.Top, Rc.Right, Rc.Bottom};
  if (IsBtnFaceBlack()) {
    FrameRectSolid(DC, Rc, clHighlightText);
    return;
  }
  FrameRect(DC, &r, Office11Brushes[5]);
}

void Office11DrawGripDots(HDC DC, const TRect& Rc, bool Horizontal, HBRUSH Brush1, HBRUSH Brush2) {
  if (!Brush1) Brush1 = Office11Brushes[0];
  if (!Brush2) Brush2 = Office11Brushes[1];
  int extent = Horizontal ? Rc.Height() : Rc.Width();
  int shift = extent % 4 < 2 ? extent % 4 : extent % 4 / 2;
  TRect cell(Rc.Left, Rc.Top, Rc.Left + 4, Rc.Top + 4);
  cell = Horizontal ? cell.Offset(0, shift) : cell.Offset(shift, 0);
  while (Horizontal ? cell.Bottom <= Rc.Bottom : cell.Right <= Rc.Right) {
    RECT dot = {cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1};
    FillRect(DC, &dot, Brush2);
    RECT lit = {dot.left - 1, dot.top - 1, dot.right - 1, dot.bottom - 1};
    FillRect(DC, &lit, Brush1);
    cell = Horizontal ? cell.Offset(0, 4) : cell.Offset(4, 0);
  }
}

void Office11PaintSizeGrip(HDC DC, const TRect& Rc, TColor Color1, TColor Color2) {
  HBRUSH b1 = Color1 == clDefault ? nullptr : CreateSolidBrush(COLORREF(Resolve(Color1)));
  HBRUSH b2 = Color2 == clDefault ? nullptr : CreateSolidBrush(COLORREF(Resolve(Color2)));
  TRect row(Rc.Right - 12, Rc.Bottom - 3, Rc.Right, Rc.Bottom);
  for (int i = 0; i < 3; ++i) {
    Office11DrawGripDots(DC, row, false, b1, b2);
    row.Left += 4;
    row = row.Offset(0, -4);
  }
  if (b1) DeleteObject(b1);
  if (b2) DeleteObject(b2);
}

void Office11DrawArrowInRect(HDC DC, const TRect& Rc, bool Down, bool Enabled, bool Selected) {
  int base = Down ? Rc.Width() - 8 : Rc.Height() - 6;
  int size = std::max(3, (base + 1) / 2);
  Office11DrawArrowOfSize(DC, Rc, Down, size, Selected, Enabled);
}

void Office11DrawArrowOfSize(HDC DC, const TRect& Rc, bool Down, int Size, bool Selected, bool Enabled) {
  TColor color = !Enabled ? Office11Colors[52] : (Selected && IsBtnFaceWhite() ? TColor(0xFFFFFF) : Office11Colors[51]);
  POINT pts[3];
  if (Down) {
    int x = (Rc.Left + Rc.Right - 2 * Size + 1) / 2, y = (Rc.Top + Rc.Bottom - Size) / 2;
    pts[0] = {x, y};
    pts[1] = {x + 2 * Size - 2, y};
    pts[2] = {x + Size - 1, y + Size - 1};
  } else {
    int x = (Rc.Left + Rc.Right - Size) / 2, y = (Rc.Top + Rc.Bottom - 2 * Size + 1) / 2;
    pts[0] = {x, y};
    pts[1] = {x, y + 2 * Size - 2};
    pts[2] = {x + Size - 1, y + Size - 1};
  }
  HPEN pen = CreatePen(PS_SOLID, 1, COLORREF(Resolve(color)));
  HBRUSH brush = CreateSolidBrush(COLORREF(Resolve(color)));
  HGDIOBJ oldPen = SelectObject(DC, pen), oldBrush = SelectObject(DC, brush);
  Polygon(DC, pts, 3);
  SelectObject(DC, oldPen);
  SelectObject(DC, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
}

void dxOffice11Initialize() {
  // The drawing layer's own entry, unless another one was put there.
  auto names = ModuleEntryNames("msimg32.dll");
  if (std::find(names.begin(), names.end(), "GradientFill") == names.end())
    SetModuleEntryAs("msimg32.dll", "GradientFill", &GradientFill);
  gMsimg32 = LoadLibrary("msimg32.dll");
  gGradientFill = gMsimg32 ? GetProcAddressAs<TGradientFillProc>(gMsimg32, "GradientFill") : nullptr;
}

void dxOffice11Finalize() {
  if (gMsimg32) FreeLibrary(gMsimg32);
  gMsimg32 = nullptr;
  gGradientFill = nullptr;
}
