#include "suite/navbar/dxNavBarGraphics.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Modules.h"
#include "platform/win/Windows.h"
#include "suite/core/dxOffice11.h"
#include "suite/core/dxThemeManager.h"

// The bitmaps and cursors drawn at build time live in the library's own resources.
static void InitNavBarImages() { Q_INIT_RESOURCE(sonalix_navbar_images); }
static void InitNavBarCursors() { Q_INIT_RESOURCE(sonalix_navbar_cursors); }

namespace {

constexpr int StateDisabled = 0x02, StateHot = 0x08, StatePressed = 0x10, StateSelected = 0x20;

TColor Rgb(TColor Color) { return ColorToRGB(Color) & 0xFFFFFF; }

std::string Upper(std::string S) {
  for (char& c : S) c = char(std::toupper(static_cast<unsigned char>(c)));
  return S;
}

std::string WithoutChar(std::string S, char C) {
  S.erase(std::remove(S.begin(), S.end(), C), S.end());
  return S;
}

// A bitmap of the program's resources; a missing one stays empty.
std::unique_ptr<TBitmap> ProgramBitmap(const char* Name, bool Transparent = false) {
  InitNavBarImages();
  auto bitmap = std::make_unique<TBitmap>();
  try {
    bitmap->LoadFromResourceName(Name);
  } catch (const EResNotFound&) {
  }
  if (Transparent) bitmap->SetTransparent(true);
  return bitmap;
}

using TShellStyleEntry = TInstanceTag* (*)();
HMODULE gShellLibrary = nullptr;
TShellStyleEntry gGetShellStyle = nullptr;

TdxNavBarAdvExplorerBarResources* gAdvExplorerBar = nullptr;
TdxNavBarOffice11Resources* gOffice11 = nullptr;
TdxNavBarNavPaneResources* gNavPane = nullptr;
TdxNavBarShellStyleResources* gShellStyle = nullptr;

template <class T>
T& SharedSet(T*& Set) {
  if (!Set) Set = new T;
  return *Set;
}

template <class T>
void FreeSet(T*& Set) {
  delete Set;
  Set = nullptr;
}

// Screen cursor ids of the bar's cursors and their resource names.
constexpr struct {
  int Id;
  const char* Name;
} kCursors[] = {{-1120, "dxNavBarDragCursor"}, {-1119, "dxNavBarDragCopyCursor"}, {-1118, "dxNavBarLinksCursor"}};

}  // namespace

// ---- colour helpers

TColor Light20(TColor Color) { return LightenColorByPercent(Color, 20); }
TColor Light40(TColor Color) { return LightenColorByPercent(Color, 40); }
TColor Light70(TColor Color) { return LightenColorByPercent(Color, 70); }
TColor Light80(TColor Color) { return LightenColorByPercent(Color, 80); }
TColor Dark20(TColor Color) { return ScaleColorByPercent(Color, 20); }
TColor Dark60(TColor Color) { return ScaleColorByPercent(Color, 60); }
TColor Dark70(TColor Color) { return ScaleColorByPercent(Color, 70); }

TColor HighlightTint(int Delta) {
  const TColor h = Rgb(clHighlight);
  const int r = h & 0xFF, g = (h >> 8) & 0xFF, b = (h >> 16) & 0xFF;
  const int e = std::min(0, 220 - Delta - std::max({r, g, b})) + Delta + 35;
  auto channel = [](int v) { return std::abs(std::min(v, 255)); };
  return TColor(RGB(BYTE(channel(r + e + 5)), BYTE(channel(g + e)), BYTE(channel(b + e))));
}

TColor StateColor(TColor Color, int State) {
  if (Color == clNone) Color = HighlightTint(-50);
  if (State & StateDisabled) return Light40(Color);
  if (State & (StateSelected | StateHot | StatePressed)) return Light80(Color);
  return Color;
}

uint32_t MakeColor(uint8_t A, uint8_t R, uint8_t G, uint8_t B) {
  return uint32_t(A) << 24 | uint32_t(R) << 16 | uint32_t(G) << 8 | B;
}

uint32_t ColorToARGB(TColor Color) {
  const TColor c = Rgb(Color);
  return MakeColor(255, uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16));
}

TColor ARGBToColor(uint32_t Argb) { return TColor(RGB(GetRed(Argb), GetGreen(Argb), GetBlue(Argb))); }

std::array<uint8_t, 3> ColorToBGRBytes(TColor Color) {
  const TColor c = Rgb(Color);
  return {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)};
}

TcxBorders FrameBorders(TColor TopLeftColor, TColor BottomRightColor) {
  TcxBorders sides;
  if (TopLeftColor != clNone) sides.Include(bLeft).Include(bTop);
  if (BottomRightColor != clNone) sides.Include(bRight).Include(bBottom);
  return sides;
}

void DrawDoubleFrame(TcxCanvas* Canvas, const TRect& Rect, TColor OuterTopLeft, TColor InnerBottomRight,
                     TColor InnerTopLeft, TColor OuterBottomRight) {
  Canvas->DrawTwoToneFrame(Rect, OuterTopLeft, OuterBottomRight, FrameBorders(OuterTopLeft, OuterBottomRight), 1);
  Canvas->DrawTwoToneFrame(Rect.Inflate(-1, -1), InnerTopLeft, InnerBottomRight, FrameBorders(InnerTopLeft, InnerBottomRight), 1);
}

// ---- the style-sheet reader

TdxStyleSheetParser::TdxStyleSheetParser(const std::string& Text) {
  const std::string text = Trim(Text);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    FLines.push_back(text.substr(start, end - start));
    start = end;
    if (start < text.size() && text[start] == '\r') ++start;
    if (start < text.size() && text[start] == '\n') ++start;
  }
}

std::string TdxStyleSheetParser::FindRule(const std::string& Selector) const {
  const std::string selector = Upper(Selector);
  for (const std::string& line : FLines)
    if (Upper(line.substr(0, selector.size())) == selector) return line;
  return {};
}

std::string TdxStyleSheetParser::GetValue(const std::string& Line, const std::string& Key) {
  const size_t at = Upper(Line).find(Upper(Key));
  if (at == std::string::npos) return {};
  const std::string rest = Line.substr(at + Key.size());
  size_t end = rest.find(';');
  if (end == std::string::npos) end = rest.find('}');
  return rest.substr(0, end);
}

void TdxStyleSheetParser::ApplyFont(TFont* Font, const std::string& Selector) const {
  const std::string rule = WithoutChar(FindRule(Selector), ' ');
  if (rule.empty()) return;
  std::string digits;
  for (char c : GetValue(rule, "FONT-SIZE:"))
    if (c >= '0' && c <= '9') digits += c;
  // A size too long for an integer is no size.
  if (!digits.empty() && digits.size() < 9) Font->SetSize(std::atoi(digits.c_str()));
  TFontStyles style = Font->Style();
  const std::string weight = Upper(GetValue(rule, "FONT-WEIGHT:"));
  if (weight == "BOLD") style.Include(fsBold);
  if (weight == "NORMAL") style.Exclude(fsBold);
  const std::string decoration = Upper(GetValue(rule, "TEXT-DECORATION:"));
  if (decoration == "UNDERLINE") style.Include(fsUnderline);
  if (decoration == "NONE") style.Exclude(fsUnderline);
  Font->SetStyle(style);
  const TColor color = ParseColor(GetValue(rule, "COLOR:"));
  if (color > 0 && color != clNone) Font->SetColor(color);
}

void TdxStyleSheetParser::GetBorderColor(TColor& Color, const std::string& Selector) const {
  const std::string rule = WithoutChar(FindRule(Selector), ' ');
  if (rule.empty()) return;
  Color = ParseColor(WithoutChar(GetValue(rule, "BORDER:"), '\''));
}

TColor TdxStyleSheetParser::ParseColor(const std::string& Text) {
  const size_t hash = Text.find('#');
  if (hash == std::string::npos) {
    TColor color = clNone;
    return FindNamedWebColor(Text, color) ? color : clNone;
  }
  const std::string hex = Text.substr(hash + 1, 6);
  if (hex.size() < 6 || !std::all_of(hex.begin(), hex.end(), [](char c) { return std::isxdigit(uint8_t(c)); }))
    return clNone;
  auto byte = [&](int i) { return BYTE(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16)); };
  return TColor(RGB(byte(0), byte(2), byte(4)));
}

// ---- shared resource sets

void TdxNavBarLookResourceSet::Acquire() {
  if (FUsers++ > 0) return;
  ComputeColors();
  LoadObjects();
}

void TdxNavBarLookResourceSet::Refresh() {
  ComputeColors();
  if (FUsers == 0) return;
  FreeObjects();
  LoadObjects();
}

void TdxNavBarLookResourceSet::Release() {
  if (FUsers == 0 || --FUsers > 0) return;
  FreeObjects();
}

void TdxNavBarAdvExplorerBarResources::ComputeColors() {
  // The scheme is asked afresh: the Office 2003 set that remembers it may not be computed yet.
  const TOffice11Scheme scheme = GetOffice11Scheme();
  if (scheme != schUnknown) {
    struct TRow {
      TColor T[12];
    };
    // T0 to T11 of each scheme (T10 unused).
    static const TRow rows[3] = {
        {{0xE7A27B, 0xD67563, 0xC65D21, 0xFF8E42, 0xF7DFD6, 0xFFFFFF, 0xF7D3C6, 0xB54900, 0xCE5D29, 0xA53C00, 0,
          0xFF8E42}},
        {{0xADD9CC, 0x84BDA5, 0x2D6656, 0x1D9272, 0xECF6F6, 0xECFCFF, 0xB8E7E0, 0x408C77, 0x67A896, 0x1C674B, 0,
          0xB8E7E0}},
        {{0xD4C8C4, 0xC8B3B1, 0x3D3D3F, 0x7C7C7E, 0xF5F1F0, 0xFFFFFF, 0xE0D7D6, 0x927777, 0xC7B6B4, 0x734431, 0,
          0xE6E6E6}},
    };
    const TColor* t = rows[int(scheme) - 1].T;
    BackColor = t[0], BackColor2 = t[1];
    LinkColor = CaptionTextColor = t[2];
    HotLinkColor = HotCaptionTextColor = t[3];
    GroupBackColor = t[4];
    CaptionBackColor = t[5], CaptionBackColor2 = t[6];
    SpecialCaptionBackColor = t[7], SpecialCaptionBackColor2 = t[8];
    SignColor = SpecialSignColor = t[9];
    HotSignColor = SpecialHotSignColor = t[3];
    SpecialCaptionTextColor = 0xFFFFFF;
    SpecialHotCaptionTextColor = t[11];
    return;
  }
  BackColor = BackColor2 = Rgb(clInactiveCaption);
  LinkColor = CaptionTextColor = SignColor = Rgb(StateColor(clNone, 0));
  HotLinkColor = HotCaptionTextColor = HotSignColor = Rgb(StateColor(clNone, StateHot));
  GroupBackColor = Light40(clInactiveCaption);
  CaptionBackColor = Rgb(clWindow);
  CaptionBackColor2 = Light40(clHighlight);
  SpecialCaptionBackColor = SpecialCaptionBackColor2 = Rgb(clHighlight);
  SpecialSignColor = SpecialHotSignColor = Rgb(clHighlight);
  SpecialCaptionTextColor = SpecialHotCaptionTextColor = Rgb(clCaptionText);
}

void TdxNavBarAdvExplorerBarResources::LoadObjects() {
  CollapseSignBitmap = ProgramBitmap("DXNAVBARADVEXPLORERBARGROUPCAPTIONCOLLAPSESIGN");
  ExpandSignBitmap = ProgramBitmap("DXNAVBARADVEXPLORERBARGROUPCAPTIONEXPANDSIGN");
}

void TdxNavBarAdvExplorerBarResources::FreeObjects() {
  CollapseSignBitmap.reset();
  ExpandSignBitmap.reset();
}

void TdxNavBarOffice11Resources::ComputeColors() {
  const TOffice11Scheme scheme = GetOffice11Scheme();
  if (IsThemingAvailable() && scheme != schUnknown) {
    static const TColor rows[3][9] = {
        {0xFADAC4, 0xC97A4A, 0xFEECDD, 0xF1D0BA, 0xF9DBC4, 0xE08F65, 0xFFFFFF, 0x862D00, 0xB23D00},
        {0xE7F2F3, 0x98C6BE, 0xFFFFFF, 0xE7F2F3, 0xAEDFD2, 0x80B0A1, 0xFFFFFF, 0x466B5A, 0x5E8674},
        {0xF4EEEE, 0xC3B0B1, 0xFCFBFB, 0xF5F0F0, 0xDFD0D0, 0xBFA8A9, 0xFFFFFF, 0x795B5C, 0x99797A},
    };
    const TColor* o = rows[int(scheme) - 1];
    BackColor = o[0], BackColor2 = o[1], GroupBackColor = o[2], GroupBackColor2 = o[3];
    CaptionBackColor = o[4], CaptionBackColor2 = o[5], GroupBorderColor = o[6];
    CaptionTextColor = o[7], LinkTextColor = o[8];
    return;
  }
  auto mix = [](int Percent) { return MixColors(clBtnFace, clWindow, Percent); };
  BackColor = mix(50), BackColor2 = mix(100), GroupBackColor = mix(15), GroupBackColor2 = mix(20);
  CaptionBackColor = mix(45), CaptionBackColor2 = mix(70), GroupBorderColor = mix(5);
  CaptionTextColor = clBlack;
  LinkTextColor = 0xFF0000;
}

void TdxNavBarOffice11Resources::LoadObjects() {
  ExpandSignBitmap = ProgramBitmap("DXNAVBAROFFICE11EXPANDSIGN");
  CollapseSignBitmap = ProgramBitmap("DXNAVBAROFFICE11COLLAPSESIGN");
}

void TdxNavBarOffice11Resources::FreeObjects() {
  ExpandSignBitmap.reset();
  CollapseSignBitmap.reset();
}

void TdxNavBarNavPaneResources::LoadObjects() {
  OverflowBitmap = ProgramBitmap("DXNAVBAROFFICE11NAVPANEOVERFLOW", true);
  SplitterBitmap = ProgramBitmap("DXNAVBAROFFICE11NAVPANESPLITTER", true);
  ArrowUpBitmap = ProgramBitmap("DXNAVBAROFFICE11NAVPANEARROWUP", true);
  ArrowDownBitmap = ProgramBitmap("DXNAVBAROFFICE11NAVPANEARROWDOWN", true);
  DefaultLargeBitmap = ProgramBitmap("DXNAVBAROFFICE11NAVPANEDEFAULTLARGE", true);
  DefaultSmallBitmap = ProgramBitmap("DXNAVBAROFFICE11NAVPANEDEFAULTSMALL", true);
}

void TdxNavBarNavPaneResources::FreeObjects() {
  for (auto* b : {&OverflowBitmap, &SplitterBitmap, &ArrowUpBitmap, &ArrowDownBitmap, &DefaultLargeBitmap,
                  &DefaultSmallBitmap})
    b->reset();
}

void TdxNavBarShellStyleResources::LoadObjects() {
  FModule = gGetShellStyle ? gGetShellStyle() : nullptr;
  // The platform keeps no resources inside modules, so even a known style module yields no
  // bitmaps and no style sheet: the slots stay empty and the fonts keep the message font.
  for (auto& bitmap : FBitmaps) bitmap = std::make_unique<TBitmap>();
  NONCLIENTMETRICS metrics;
  HFONT base = SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)
                   ? CreateFontIndirect(&metrics.lfMessageFont)
                   : nullptr;
  for (auto& font : FFonts) {
    font = std::make_unique<TFont>();
    font->SetHandle(base ? CreateFontIndirect(&metrics.lfMessageFont) : HFONT(GetStockObject(DEFAULT_GUI_FONT)));
  }
  if (base) DeleteObject(base);
  FBorderColor = clNone;
  ApplyStyleSheet({});
}

void TdxNavBarShellStyleResources::ApplyStyleSheet(const std::string& Text) {
  const TdxStyleSheetParser parser(Text);
  TFont *link = LinkFont(), *hotLink = HotLinkFont(), *caption = CaptionFont(), *hotCaption = HotCaptionFont();
  const std::pair<TFont*, const char*> steps[] = {
      {caption, "BODY "},  {hotCaption, "BODY "}, {link, "BODY "},    {hotLink, "BODY "},
      {link, "A "},        {hotLink, "A "},       {caption, ".LEARNABOUTCAPTION "},
      {hotCaption, ".LEARNABOUTCAPTION "},        {hotCaption, "A:HOVER "}, {hotLink, "A:HOVER "}};
  for (const auto& [font, selector] : steps) parser.ApplyFont(font, selector);
  parser.GetBorderColor(FBorderColor, ".LEARNABOUTBOX");
}

void TdxNavBarShellStyleResources::FreeObjects() {
  FModule = nullptr;
  for (auto& bitmap : FBitmaps) bitmap.reset();
  for (auto& font : FFonts) font.reset();
  FBorderColor = clNone;
}

TdxNavBarAdvExplorerBarResources& AdvExplorerBarResources() { return SharedSet(gAdvExplorerBar); }
TdxNavBarOffice11Resources& Office11NavBarResources() { return SharedSet(gOffice11); }
TdxNavBarNavPaneResources& NavPaneResources() { return SharedSet(gNavPane); }
TdxNavBarShellStyleResources& ShellStyleResources() { return SharedSet(gShellStyle); }

void dxNavBarLoadCursors() {
  if (!Screen) return;
  InitNavBarCursors();
  for (const auto& c : kCursors) Screen->SetCursors(c.Id, LoadCursor(nullptr, c.Name));
}

void dxNavBarFreeCursors() {
  if (!Screen) return;
  for (const auto& c : kCursors) Screen->SetCursors(c.Id, nullptr);
}

void dxNavBarGraphicsInitialize() {
  if (gShellLibrary) return;
  gShellLibrary = LoadLibrary("shell32.dll");
  gGetShellStyle = gShellLibrary ? GetProcAddressAs<TShellStyleEntry>(gShellLibrary, "SHGetShellStyleHInstance")
                                 : nullptr;
}

void dxNavBarGraphicsFinalize() {
  FreeSet(gAdvExplorerBar);
  FreeSet(gOffice11);
  FreeSet(gNavPane);
  FreeSet(gShellStyle);
  gGetShellStyle = nullptr;
  if (gShellLibrary) FreeLibrary(gShellLibrary);
  gShellLibrary = nullptr;
}
