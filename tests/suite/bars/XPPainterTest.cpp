// The XP painter: when the manager takes it, the metrics it reads from the theme, and the parts and
// states it asks the style library for, recorded by a stand-in library put into the module table.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "BarTestSupport.h"
#include "platform/gui/Forms.h"
#include "platform/sys/Modules.h"
#include "platform/win/Gdi.h"
#include "suite/bars/dxBarPainters.h"
#include "suite/bars/dxBarXPPainter.h"
#include "suite/core/PainterTestSupport.h"
#include "suite/core/VisualStyleState.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/cxSuiteUnits.h"
#include "suite/core/dxThemeManager.h"

using painter_test::TSurface;

namespace {

bool IsXP(TdxBarManager* M) { return dynamic_cast<TdxBarXPPainter*>(M->Painter()) != nullptr; }
bool IsEnhanced(TdxBarManager* M) { return dynamic_cast<TdxBarEnhancedPainter*>(M->Painter()) != nullptr; }

// ---- a recording style library

struct TRecorded {
  std::string Class;
  int Part, State;
  TRect R;
  bool operator==(const TRecorded& O) const {
    return Class == O.Class && Part == O.Part && State == O.State && R == O.R;
  }
};
std::ostream& operator<<(std::ostream& S, const TRecorded& D) {
  return S << D.Class << " " << D.Part << "/" << D.State << " (" << D.R.Left << "," << D.R.Top << ","
           << D.R.Right << "," << D.R.Bottom << ")";
}

struct TRecordingStyle {
  std::vector<std::string> Opened;   // by handle - 1
  std::set<std::string> Refused;     // classes that do not open
  std::vector<TRecorded> Drawn;
  // Part sizes by class, part and size kind; content margins by class and part.
  std::map<std::tuple<std::string, int, int>, TSize> Sizes;
  std::map<std::pair<std::string, int>, TRect> Margins;
  std::string ClassOf(HTHEME T) const { return T >= 1 && T <= Opened.size() ? Opened[T - 1] : ""; }
  // The parts drawn of one class, as "part/state".
  std::vector<std::string> Of(const std::string& Class) const {
    std::vector<std::string> r;
    for (const TRecorded& d : Drawn)
      if (d.Class == Class) r.push_back(std::to_string(d.Part) + "/" + std::to_string(d.State));
    return r;
  }
};
TRecordingStyle* gStyle = nullptr;

HTHEME FakeOpen(HWND, const char16_t* List) {
  std::u16string w(List);
  std::string name(w.begin(), w.end());
  if (gStyle->Refused.count(name)) return 0;
  gStyle->Opened.push_back(name);
  return gStyle->Opened.size();
}
HRESULT FakeClose(HTHEME) { return 0; }
BOOL FakeActive() { return TRUE; }
HRESULT FakeDraw(HTHEME T, HDC DC, int Part, int State, const RECT* R, const RECT*) {
  gStyle->Drawn.push_back({gStyle->ClassOf(T), Part, State, TRect(*R)});
  return 0;
}
HRESULT FakePartSize(HTHEME T, HDC, int Part, int, const RECT*, THEMESIZE Kind, SIZE* S) {
  auto it = gStyle->Sizes.find({gStyle->ClassOf(T), Part, int(Kind)});
  if (it == gStyle->Sizes.end()) return HRESULT(0x80004005u);
  *S = SIZE{it->second.cx, it->second.cy};
  return 0;
}
HRESULT FakeContent(HTHEME T, HDC, int Part, int, const RECT* Bounds, RECT* Content) {
  auto it = gStyle->Margins.find({gStyle->ClassOf(T), Part});
  const TRect m = it == gStyle->Margins.end() ? TRect() : it->second;
  *Content = {Bounds->left + m.Left, Bounds->top + m.Top, Bounds->right - m.Right, Bounds->bottom - m.Bottom};
  return 0;
}
BOOL FakeTransparent(HTHEME, int, int) { return FALSE; }
HRESULT FakeColor(HTHEME, int, int, int, COLORREF*) { return HRESULT(0x80004005u); }

// Puts the recording library in place of the real one for a test and restarts the suite's units
// over it; the table and the units are put back afterwards.
struct TRecordingStyleScope {
  TRecordingStyle Style;
  std::unique_ptr<TModuleTableGuard> Guard;
  explicit TRecordingStyleScope(std::set<std::string> Refused = {}) {
    Style.Refused = std::move(Refused);
    gStyle = &Style;
    FinalizeSuiteUnits();
    Guard = std::make_unique<TModuleTableGuard>();
    const std::string m = "UxTheme.dll";
    SetModulePresent(m, true);
    SetModuleEntryAs(m, "OpenThemeData", &FakeOpen);
    SetModuleEntryAs(m, "CloseThemeData", &FakeClose);
    SetModuleEntryAs(m, "IsThemeActive", &FakeActive);
    SetModuleEntryAs(m, "DrawThemeBackground", &FakeDraw);
    SetModuleEntryAs(m, "GetThemePartSize", &FakePartSize);
    SetModuleEntryAs(m, "GetThemeBackgroundContentRect", &FakeContent);
    SetModuleEntryAs(m, "IsThemeBackgroundPartiallyTransparent", &FakeTransparent);
    SetModuleEntryAs(m, "GetThemeColor", &FakeColor);
    InitializeSuiteUnits();
  }
  ~TRecordingStyleScope() {
    FinalizeSuiteUnits();
    Guard.reset();
    InitializeSuiteUnits();
    gStyle = nullptr;
  }
};

}  // namespace

// ---- the painter choice

TEST(XPPainterChoice, VisualStylesDecideBetweenXPAndEnhancedAtRunTime) {
  TVisualStylesOn styles;
  TForm form(nullptr);
  auto* m = new TdxBarManager(&form);
  m->SetStyle(bmsXP);
  EXPECT_TRUE(IsXP(m));
  EXPECT_TRUE(m->ThemesAvailable());
  // The test hook tells every window of the change; the manager's theme listener rebuilds the
  // painter each time.
  SetVisualStylesActive(false);
  EXPECT_TRUE(IsEnhanced(m));
  EXPECT_FALSE(m->ThemesAvailable());
  SetVisualStylesActive(true);
  EXPECT_TRUE(IsXP(m));

  // The look-and-feel style: native draws with the XP painter while styles are on; the painter of
  // the suite's look and feel is the native one with it.
  m->SetStyle(bmsUseLookAndFeel);
  m->LookAndFeel()->SetKind(lfUltraFlat);
  m->LookAndFeel()->SetNativeStyle(true);
  ASSERT_TRUE(IsXP(m));
  ASSERT_NE(m->Painter()->LookAndFeelPainter(), nullptr);
  EXPECT_EQ(m->Painter()->LookAndFeelPainter()->StyleKind(), psNative);
  SetVisualStylesActive(false);
  EXPECT_FALSE(IsXP(m));
  EXPECT_EQ(m->PainterStyle(), bmsFlat);
  SetVisualStylesActive(true);
  EXPECT_TRUE(IsXP(m));
}

TEST(XPPainterChoice, AnyOfTheNineClassesRefusedGivesEnhanced) {
  for (const char* refused : {"ComboBox", "Edit", "Progress", "Rebar", "ScrollBar", "Spin", "Status", "ToolBar",
                              "Window"}) {
    SCOPED_TRACE(refused);
    TRecordingStyleScope scope({refused});
    TForm form(nullptr);
    auto* m = new TdxBarManager(&form);
    m->SetStyle(bmsXP);
    EXPECT_TRUE(IsEnhanced(m));
    EXPECT_FALSE(m->ThemesAvailable());
  }
  // A class the painter does not need may be missing.
  TRecordingStyleScope scope({"Header"});
  TForm form(nullptr);
  auto* m = new TdxBarManager(&form);
  m->SetStyle(bmsXP);
  EXPECT_TRUE(IsXP(m));
}

TEST(XPPainterChoice, ThemesSwitchedOffByTheEnvironmentGiveEnhanced) {
  const char* before = std::getenv("SONALIX_THEMES");
  std::string saved = before ? before : "";
  setenv("SONALIX_THEMES", "0", 1);
  {
    FinalizeSuiteUnits();
    TModuleTableGuard guard;
    InstallVisualStyles();
    InitializeSuiteUnits();
    EXPECT_FALSE(ModulePresent("UxTheme.dll"));
    {
      TForm form(nullptr);
      auto* m = new TdxBarManager(&form);
      m->SetStyle(bmsXP);
      EXPECT_TRUE(IsEnhanced(m));
    }
    FinalizeSuiteUnits();
  }
  if (before)
    setenv("SONALIX_THEMES", saved.c_str(), 1);
  else
    unsetenv("SONALIX_THEMES");
  InitializeSuiteUnits();
}

// ---- metrics

TEST(XPPainterMetrics, ReadFromTheTheme) {
  TRecordingStyleScope scope;
  auto& s = scope.Style;
  s.Sizes = {
      {{"ToolBar", 5, TS_MIN}, {7, 9}},       {{"ToolBar", 5, TS_TRUE}, {11, 11}},
      {{"Window", 19, TS_TRUE}, {15, 14}},    {{"ComboBox", 1, TS_TRUE}, {19, 21}},
      {{"Rebar", 1, TS_TRUE}, {4, 30}},       {{"Progress", 3, TS_TRUE}, {10, 11}},
      {{"ToolBar", 6, TS_TRUE}, {8, 5}},      {{"Status", 3, TS_TRUE}, {13, 12}},
      {{"ScrollBar", 10, TS_TRUE}, {17, 16}},
  };
  s.Margins = {{{"ToolBar", 3}, TRect(2, 3, 4, 5)},
               {{"Edit", 1}, TRect(1, 2, 3, 4)},
               {{"Progress", 1}, TRect(3, 1, 2, 1)}};
  const TOSVersion saved = OSVersion();
  TOSVersion xp = saved;
  xp.Major = 5;
  SetOSVersion(xp);
  {
    // Systems other than Windows 7 take the theme's combo button.
    TdxBarXPPainter older;
    EXPECT_EQ(older.ComboArrowWidth(nullptr, 5), 19);
  }
  SetOSVersion(saved);
  TdxBarXPPainter painter;
  EXPECT_EQ(painter.BarSeparatorSize(), 7);
  EXPECT_EQ(painter.BarSeparatorMargin(), 3);
  EXPECT_EQ(painter.GlyphAreaExtraHeight(), 8);
  EXPECT_EQ(painter.GlyphAreaExtraWidth(), 8);
  EXPECT_EQ(painter.EditFrameMargins(0), TRect(1, 2, 3, 4));
  // Windows 7 sizes the combo button as a scroll bar.
  EXPECT_EQ(painter.ComboArrowWidth(nullptr, 5), GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(painter.GripDotCount(), 4);
  EXPECT_EQ(painter.GripSizeWithBorder(nullptr), 6);
  EXPECT_EQ(painter.ProgressBarMinHeight(nullptr), 11 + 5);
  EXPECT_EQ(painter.MenuSeparatorSize(), 5);
  EXPECT_EQ(painter.SeparatorLineHeightBase(), 5);
  EXPECT_EQ(painter.CloseButtonSize(), (TSize{15, 14}));
  EXPECT_EQ(TdxBarXPPainter::XPSizeGripExtent(), (TSize{13, 12}));
  // The drop-down window's resize bar holds the close button or the size box, whichever is larger.
  EXPECT_EQ(painter.DropDownNonClientHeight(), std::max(14 + 4, 16 + 2 + 1));
}
