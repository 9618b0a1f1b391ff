#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/TestEnv.h"
#include "platform/sys/Modules.h"
#include "platform/win/DeviceContext.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/VisualStyles.h"
#include "platform/win/Windows.h"

namespace {

using HTHEME = uintptr_t;
struct TMargins {
  int Left, Right, Top, Bottom;
};

// The library as a caller binds it: loaded by name, entries looked up by name.
struct TLibrary {
  TModuleTableGuard Guard;
  HMODULE Module = nullptr;
  HTHEME (*Open)(HWND, const char16_t*) = nullptr;
  HRESULT (*Draw)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
  HRESULT (*Content)(HTHEME, HDC, int, int, const RECT*, RECT*) = nullptr;
  HRESULT (*PartSize)(HTHEME, HDC, int, int, const RECT*, int, SIZE*) = nullptr;
  HRESULT (*Region)(HTHEME, HDC, int, int, const RECT*, HRGN*) = nullptr;
  BOOL (*Transparent)(HTHEME, int, int) = nullptr;
  HRESULT (*Color)(HTHEME, int, int, int, COLORREF*) = nullptr;
  HRESULT (*Margins)(HTHEME, HDC, int, int, int, const RECT*, TMargins*) = nullptr;
  HRESULT (*Name)(char16_t*, int, char16_t*, int, char16_t*, int) = nullptr;
  BOOL (*Active)() = nullptr;

  TLibrary() {
    SetModulePresent("UxTheme.dll", true);
    SetVisualStylesActive(true);
    Module = LoadLibrary("uxtheme");
    if (!Module) return;
    Open = GetProcAddressAs<decltype(Open)>(Module, "OpenThemeData");
    Draw = GetProcAddressAs<decltype(Draw)>(Module, "DrawThemeBackground");
    Content = GetProcAddressAs<decltype(Content)>(Module, "GetThemeBackgroundContentRect");
    PartSize = GetProcAddressAs<decltype(PartSize)>(Module, "GetThemePartSize");
    Region = GetProcAddressAs<decltype(Region)>(Module, "GetThemeBackgroundRegion");
    Transparent = GetProcAddressAs<decltype(Transparent)>(Module, "IsThemeBackgroundPartiallyTransparent");
    Color = GetProcAddressAs<decltype(Color)>(Module, "GetThemeColor");
    Margins = GetProcAddressAs<decltype(Margins)>(Module, "GetThemeMargins");
    Name = GetProcAddressAs<decltype(Name)>(Module, "GetCurrentThemeName");
    Active = GetProcAddressAs<decltype(Active)>(Module, "IsThemeActive");
  }
  ~TLibrary() {
    if (Module) FreeLibrary(Module);
    SetVisualStylesActive(true);
    SetVisualStyleColorName("NormalColor");
  }
  HTHEME OpenClass(const std::u16string& list) const { return Open(nullptr, list.c_str()); }
};

struct TSurface {
  QImage Image;
  HDC DC;
  TSurface(int w, int h, QColor fill) : Image(w, h, QImage::Format_ARGB32_Premultiplied) {
    Image.fill(fill);
    DC = CreateImageDC(&Image);
  }
  ~TSurface() { DeleteDC(DC); }
};

// The classes that open, with the parts and the last state their callers draw.
struct TClassParts {
  const char16_t* Name;
  std::vector<std::pair<int, int>> Parts;
};
const std::vector<TClassParts>& Classes() {
  static const std::vector<TClassParts> classes = {
      {u"Button", {{1, 5}, {2, 8}, {3, 8}, {4, 2}}},
      {u"ComboBox", {{1, 4}}},
      {u"Edit", {{1, 6}}},
      {u"Header", {{1, 3}, {2, 1}, {3, 3}}},
      {u"ListBox", {{3, 4}}},
      {u"ListView", {{5, 1}}},
      {u"Progress", {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
      {u"Rebar", {{0, 1}, {1, 1}, {2, 1}}},
      {u"ScrollBar", {{1, 16}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 4}, {8, 4}, {9, 4}, {10, 1}}},
      {u"Spin", {{1, 4}, {2, 4}}},
      {u"Status", {{0, 1}, {1, 1}, {3, 1}}},
      {u"Tab", {{1, 4}, {9, 1}}},
      {u"ToolBar", {{0, 1}, {1, 6}, {3, 6}, {4, 6}, {5, 1}, {6, 1}}},
      {u"ToolTip", {{1, 1}}},
      {u"TrackBar", {{1, 1}, {2, 1}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}}},
      {u"TreeView", {{2, 2}}},
      {u"Window", {{16, 4}, {19, 4}, {20, 4}, {22, 4}}},
  };
  return classes;
}

// A flat tool button at rest draws nothing, as on the system itself.
bool DrawsNothingAtRest(const std::u16string& name, int part, int state) {
  return name == u"ToolBar" && part >= 1 && part <= 4 && (state == 1 || state == 4);
}

QSize CellSize(const std::u16string& name, int part) {
  if (name == u"ScrollBar" && (part == 2 || part == 4 || part == 5)) return {40, 17};
  if (name == u"ScrollBar" && (part == 3 || part == 6 || part == 7)) return {17, 40};
  if (name == u"TrackBar" && part == 2) return {8, 40};
  if (name == u"TrackBar" && part == 1) return {40, 8};
  if (name == u"TrackBar") return part <= 5 ? QSize(11, 21) : QSize(21, 11);
  if (name == u"Progress" && (part == 2 || part == 4)) return {14, 40};
  if (name == u"Window" || name == u"TreeView" || name == u"Spin" || name == u"ComboBox") return {17, 17};
  if (name == u"Button" && (part == 2 || part == 3)) return {13, 13};
  if (name == u"ToolBar" && (part == 5 || part == 6)) return {8, 22};
  if (name == u"ToolBar" && part == 4) return {13, 22};
  if (name == u"Status" && part == 1) return {2, 20};
  if (name == u"Status" && part == 3) return {16, 16};
  return {40, 22};
}

}  // namespace

TEST(VisualStyles, SeventeenClassesOpenOthersAnswerZero) {
  TLibrary lib;
  ASSERT_TRUE(lib.Module && lib.Open);
  std::vector<HTHEME> handles;
  for (const TClassParts& c : Classes()) {
    HTHEME h = lib.OpenClass(c.Name);
    EXPECT_NE(h, 0u) << QString::fromStdU16String(c.Name).toStdString();
    handles.push_back(h);
  }
  struct TCase {
    std::u16string List;
    HTHEME Expected;
  };
  const HTHEME button = handles[0], edit = handles[2], toolbar = handles[12];
  const TCase cases[] = {
      {u"ExplorerBar", 0}, {u"Menu", 0}, {u"Page", 0}, {u"TaskBar", 0}, {u"", 0},
      {u"TOOLBAR", toolbar}, {u"Menu;Edit", edit}, {u"Edit;Button", edit},
      {u" button ; Edit", button}, {u"Clock;StartPanel", 0}};
  for (const TCase& c : cases)
    EXPECT_EQ(lib.OpenClass(c.List), c.Expected) << QString::fromStdU16String(c.List).toStdString();
  SetVisualStylesActive(false);
  EXPECT_EQ(lib.OpenClass(u"Button"), 0u) << "nothing opens while styles are off";
  EXPECT_FALSE(lib.Active());
}

// One sheet per class: each row a part, each column a state; every cell must show pixels.
TEST(VisualStyles, EveryNamedPartDrawsInEveryState) {
  TLibrary lib;
  ASSERT_TRUE(lib.Module);
  const QColor backdrop(255, 0, 255);
  for (const TClassParts& c : Classes()) {
    HTHEME theme = lib.OpenClass(c.Name);
    ASSERT_NE(theme, 0u);
    int columns = 0;
    for (auto [part, last] : c.Parts) columns = std::max(columns, last);
    const int cellW = 48, cellH = 48;
    TSurface sheet(columns * cellW + 4, int(c.Parts.size()) * cellH + 4, backdrop);
    const std::string name = QString::fromStdU16String(c.Name).toStdString();
    int row = 0;
    for (auto [part, last] : c.Parts) {
      QSize size = CellSize(c.Name, part);
      for (int state = 1; state <= last; ++state) {
        RECT r{4 + (state - 1) * cellW, 4 + row * cellH, 0, 0};
        r.right = r.left + size.width();
        r.bottom = r.top + size.height();
        EXPECT_EQ(lib.Draw(theme, sheet.DC, part, state, &r, nullptr), 0)
            << name << " part " << part << " state " << state;
        if (DrawsNothingAtRest(c.Name, part, state)) continue;
        int changed = 0;
        for (int y = r.top; y < r.bottom; ++y)
          for (int x = r.left; x < r.right; ++x)
            if (sheet.Image.pixelColor(x, y) != backdrop) ++changed;
        EXPECT_GT(changed, 0) << name << " part " << part << " state " << state << " drew nothing";
        int outside = 0;
        for (int x = r.left; x < r.right; ++x)
          if (r.bottom < sheet.Image.height() && sheet.Image.pixelColor(x, r.bottom) != backdrop) ++outside;
        EXPECT_EQ(outside, 0) << name << " part " << part << " drew below its rectangle";
      }
      ++row;
    }
    // Parts no caller draws are refused, not drawn as something else.
    RECT r{0, 0, 20, 20};
    EXPECT_NE(lib.Draw(theme, sheet.DC, 77, 1, &r, nullptr), 0) << name;
    const std::string file = "visual-style-" + name + ".png";
    ASSERT_TRUE(sheet.Image.scaled(sheet.Image.size() * 3).save(
        QString::fromStdString((sonalix::test::SheetDir() / file).string())));
  }
}

TEST(VisualStyles, DrawingKeepsToTheClipAndTheRectangle) {
  TLibrary lib;
  HTHEME edit = lib.OpenClass(u"Edit");
  TSurface s(60, 30, Qt::white);
  RECT r{10, 5, 50, 25};
  RECT clip{10, 5, 30, 25};
  ASSERT_EQ(lib.Draw(edit, s.DC, 1, 4, &r, &clip), 0);
  const QColor face = ColorRefToQColor(GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(s.Image.pixelColor(20, 15), face) << "a disabled edit is filled with the face colour";
  EXPECT_EQ(s.Image.pixelColor(40, 15), QColor(Qt::white)) << "beyond the clip nothing is drawn";
  EXPECT_EQ(s.Image.pixelColor(5, 15), QColor(Qt::white));
  // The device context's own origin moves the part with it.
  SetWindowOrgEx(s.DC, -20, 0, nullptr);
  RECT small{0, 0, 10, 10};
  ASSERT_EQ(lib.Draw(edit, s.DC, 1, 4, &small, nullptr), 0);
  EXPECT_EQ(s.Image.pixelColor(25, 5), face);
  EXPECT_EQ(s.Image.pixelColor(5, 5), QColor(Qt::white));
}

TEST(VisualStyles, PartSizesContentAndMargins) {
  TLibrary lib;
  struct TCase {
    std::u16string Class;
    int Part, State, Kind;
    int Cx, Cy;
  };
  const TCase cases[] = {
      {u"ToolBar", 5, 1, 0, 6, 6},    {u"ToolBar", 6, 1, 1, 6, 6},   {u"Window", 19, 1, 1, 13, 13},
      {u"ComboBox", 1, 1, 1, 17, 20}, {u"Rebar", 1, 1, 1, 5, 5},     {u"Progress", 3, 0, 1, 8, 12},
      {u"Status", 3, 0, 1, 16, 16},   {u"Status", 1, 0, 1, 2, 2},    {u"TreeView", 2, 1, 1, 9, 9},
      {u"Button", 3, 1, 1, 13, 13},   {u"ScrollBar", 10, 1, 1, 17, 17}};
  for (const TCase& c : cases) {
    SIZE size{-1, -1};
    ASSERT_EQ(lib.PartSize(lib.OpenClass(c.Class), nullptr, c.Part, c.State, nullptr, c.Kind, &size), 0);
    EXPECT_EQ(size.cx, c.Cx) << QString::fromStdU16String(c.Class).toStdString() << " " << c.Part;
    EXPECT_EQ(size.cy, c.Cy) << QString::fromStdU16String(c.Class).toStdString() << " " << c.Part;
  }
  SIZE size;
  EXPECT_NE(lib.PartSize(lib.OpenClass(u"ToolBar"), nullptr, 42, 1, nullptr, 1, &size), 0);
  EXPECT_NE(lib.PartSize(lib.OpenClass(u"ToolBar"), nullptr, 1, 9, nullptr, 1, &size), 0)
      << "a state beyond the part's last";

  // Content rectangles and content margins answer the same insets.
  const RECT box{0, 0, 100, 100};
  for (auto [name, part] : std::vector<std::pair<std::u16string, int>>{
           {u"ToolBar", 3}, {u"Edit", 1}, {u"Progress", 1}, {u"Header", 1}, {u"Button", 1}}) {
    HTHEME t = lib.OpenClass(name);
    RECT content{};
    TMargins m{};
    ASSERT_EQ(lib.Content(t, nullptr, part, 1, &box, &content), 0);
    ASSERT_EQ(lib.Margins(t, nullptr, part, 1, 3602, nullptr, &m), 0);
    EXPECT_EQ(content.left, m.Left);
    EXPECT_EQ(100 - content.right, m.Right);
    EXPECT_EQ(content.top, m.Top);
    EXPECT_EQ(100 - content.bottom, m.Bottom);
    EXPECT_NE(lib.Margins(t, nullptr, part, 1, 3601, nullptr, &m), 0) << "only content margins";
  }
  RECT content{};
  lib.Content(lib.OpenClass(u"Edit"), nullptr, 1, 1, &box, &content);
  EXPECT_EQ(content.left, 1);
  EXPECT_EQ(content.bottom, 99);
}

TEST(VisualStyles, ColoursFollowTheClassicSystemColours) {
  TLibrary lib;
  struct TCase {
    std::u16string Class;
    int Part, State, Prop;
    int SysColor;
  };
  const TCase cases[] = {
      {u"Edit", 1, 1, 3802, COLOR_WINDOW},        {u"Edit", 1, 4, 3802, COLOR_BTNFACE},
      {u"Edit", 1, 1, 3803, COLOR_WINDOWTEXT},    {u"Edit", 1, 4, 3803, COLOR_GRAYTEXT},
      {u"ToolTip", 1, 1, 3803, COLOR_INFOTEXT},   {u"ComboBox", 1, 1, 3801, COLOR_BTNSHADOW},
      {u"Progress", 3, 0, 3802, COLOR_HIGHLIGHT}, {u"ToolBar", 0, 0, 3802, COLOR_BTNFACE},
      {u"Button", 1, 4, 3803, COLOR_GRAYTEXT},    {u"Button", 4, 1, 3803, COLOR_BTNTEXT},
      {u"Header", 1, 1, 3810, COLOR_BTNHIGHLIGHT}, {u"Header", 1, 1, 3811, COLOR_BTNFACE}};
  for (const TCase& c : cases) {
    COLORREF colour = 0x123456;
    ASSERT_EQ(lib.Color(lib.OpenClass(c.Class), c.Part, c.State, c.Prop, &colour), 0);
    EXPECT_EQ(colour, GetSysColor(c.SysColor))
        << QString::fromStdU16String(c.Class).toStdString() << " " << c.Prop << " state " << c.State;
  }
  COLORREF colour = 0;
  EXPECT_NE(lib.Color(lib.OpenClass(u"Button"), 1, 1, 204, &colour), 0)
      << "an undefined property fails so that callers take their own";

  char16_t file[64] = {}, name[64] = {}, size[64] = {};
  ASSERT_EQ(lib.Name(file, 64, name, 64, size, 64), 0);
  EXPECT_EQ(std::u16string(name), u"NormalColor");
  SetVisualStyleColorName("Metallic");
  ASSERT_EQ(lib.Name(file, 64, name, 64, size, 64), 0);
  EXPECT_EQ(std::u16string(name), u"Metallic");
  char16_t tiny[4] = {u'x', u'x', u'x', u'x'};
  ASSERT_EQ(lib.Name(nullptr, 0, tiny, 4, nullptr, 0), 0);
  EXPECT_EQ(std::u16string(tiny), u"Met") << "a short buffer is cut and terminated";
}

TEST(VisualStyles, RegionAndTransparencyComeFromThePixels) {
  TLibrary lib;
  HTHEME toolbar = lib.OpenClass(u"ToolBar");
  HTHEME status = lib.OpenClass(u"Status");
  EXPECT_TRUE(lib.Transparent(toolbar, 1, 1)) << "a flat button at rest shows the bar";
  EXPECT_FALSE(lib.Transparent(status, 0, 0)) << "the status background covers all";
  EXPECT_TRUE(lib.Transparent(lib.OpenClass(u"Button"), 2, 1)) << "a radio button is round";

  RECT r{10, 10, 30, 30};
  HRGN rgn = nullptr;
  ASSERT_EQ(lib.Region(status, nullptr, 0, 0, &r, &rgn), 0);
  EXPECT_TRUE(PtInRegion(rgn, 10, 10));
  EXPECT_TRUE(PtInRegion(rgn, 29, 29));
  EXPECT_FALSE(PtInRegion(rgn, 30, 30));
  DeleteObject(rgn);
  ASSERT_EQ(lib.Region(lib.OpenClass(u"Button"), nullptr, 2, 1, &r, &rgn), 0);
  EXPECT_FALSE(PtInRegion(rgn, 10, 10)) << "the radio button's corner is not in its region";
  EXPECT_TRUE(PtInRegion(rgn, 20, 20));
  DeleteObject(rgn);
}

TEST(VisualStyles, RenderedPartsAreCachedUntilTheThemeChanges) {
  TLibrary lib;
  HTHEME spin = lib.OpenClass(u"Spin");
  TSurface s(40, 40, Qt::white);
  RECT r{0, 0, 15, 11};
  lib.Draw(spin, s.DC, 1, 2, &r, nullptr);
  int cached = VisualStyleCachedParts();
  EXPECT_GT(cached, 0);
  lib.Draw(spin, s.DC, 1, 2, &r, nullptr);
  EXPECT_EQ(VisualStyleCachedParts(), cached);
  SetVisualStylesActive(true);
  EXPECT_EQ(VisualStyleCachedParts(), 0);
}

TEST(VisualStyles, TheSwitchTellsEveryWindowHiddenOnesIncluded) {
  TLibrary lib;
  std::vector<UINT> got;
  HWND hidden = AllocateHWnd([&](TMessage& m) {
    if (m.Msg == WM_THEMECHANGED || m.Msg == WM_SYSCOLORCHANGE) got.push_back(m.Msg);
  });
  SetVisualStylesActive(false);
  EXPECT_EQ(got, (std::vector<UINT>{WM_THEMECHANGED, WM_SYSCOLORCHANGE}));
  EXPECT_FALSE(lib.Active());
  got.clear();
  SetVisualStylesActive(true);
  EXPECT_EQ(got, (std::vector<UINT>{WM_THEMECHANGED, WM_SYSCOLORCHANGE}));
  EXPECT_TRUE(lib.Active());
  DeallocateHWnd(hidden);
}

TEST(VisualStyles, EnvironmentSwitchLeavesTheLibraryAbsent) {
  TModuleTableGuard guard;
  const char* old = std::getenv("SONALIX_THEMES");
  std::string saved = old ? old : "";
  setenv("SONALIX_THEMES", "0", 1);
  InstallVisualStyles();
  EXPECT_EQ(LoadLibrary("UxTheme.dll"), nullptr);
  unsetenv("SONALIX_THEMES");
  InstallVisualStyles();
  HMODULE m = LoadLibrary("UxTheme.dll");
  EXPECT_NE(m, nullptr);
  EXPECT_NE(GetProcAddress(m, "DrawThemeBackground"), nullptr);
  if (m) FreeLibrary(m);
  if (old) setenv("SONALIX_THEMES", saved.c_str(), 1);
  else unsetenv("SONALIX_THEMES");
}
