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

// ---- state tables

namespace {

// A windowless bar for painting item controls and bar parts straight onto a surface.
struct TRecBar : TCustomdxBarControl {
  int Kind = 0;
  TdxBarDockingStyle Docking = dsTop;
  int CloseState = 0;
  TcxCanvas* Canvas = nullptr;
  int BarControlKind() const override { return Kind; }
  TdxBarDockingStyle DockingStyle() const override { return Docking; }
  TcxCanvas* CurrentCanvas() const override { return Canvas; }
  TRect ClientBounds() const override { return TRect(0, 0, 200, 40); }
  int CloseButtonState() const override { return CloseState; }
  bool MainMenu = false;
  bool IsMainMenu() const override { return MainMenu; }
  HBRUSH BackgroundBrush() const override { return GetSysColorBrush(COLOR_BTNFACE); }
};

struct TXPStates : TBarFixture {
  TRecordingStyleScope Scope;
  TRecBar Bar;
  TdxBarSubItem* Owner = nullptr;
  std::unique_ptr<TSurface> Surface = std::make_unique<TSurface>(200, 60, clBtnFace);
  std::unique_ptr<TdxBarXPPainter> Painter;
  TXPStates() {
    Owner = NewItem<TdxBarSubItem>("owner");
    Owner->ItemLinks()->SetBarControl(&Bar);
    Bar.SetItemLinks(Owner->ItemLinks());
    Bar.Canvas = Surface->C();
    Painter = std::make_unique<TdxBarXPPainter>();
  }
  ~TXPStates() override {
    TdxBarItemLinks* links = Owner->ItemLinks();
    for (int i = 0; i < links->Count(); ++i) links->LinkByIndex(i)->FreeControl();
    links->SetBarControl(nullptr);
  }
  HDC DC() { return Surface->C()->CurrentDC(); }
  TdxBarItemControl* ControlFor(TdxBarItem* Item) {
    TdxBarItemLink* link = Owner->ItemLinks()->AddLinkForItem(Item);
    link->SetItemBounds(TRect(0, 0, 40, 24));
    link->CreateControl();
    return link->Control();
  }
};

}  // namespace

TEST_F(TXPStates, GlyphFrameOfToolbarButtons) {
  TdxBarItemControl* enabled = ControlFor(NewItem<TdxBarButton>("on"));
  auto* off = NewItem<TdxBarButton>("off");
  off->SetEnabled(false);
  TdxBarItemControl* disabled = ControlFor(off);
  struct TCase {
    const char* Name;
    TdxBarItemControl* Control;
    bool Selected, Down, Pressed, Dropped, Split;
    const char* Expected;
  } cases[] = {
      {"normal", enabled, false, false, false, false, false, "1/1"},
      {"hot", enabled, true, false, false, false, false, "1/2"},
      {"pressed", enabled, true, false, true, false, false, "1/3"},
      {"checked", enabled, false, true, false, false, false, "1/5"},
      {"checked hot", enabled, true, true, false, false, false, "1/5"},
      {"dropped", enabled, true, false, false, true, false, "1/5"},
      {"disabled", disabled, true, true, true, false, false, "1/4"},
      {"split hot", enabled, true, false, false, false, true, "3/2"},
      {"split dropped", enabled, true, false, false, true, true, "3/2"},
  };
  for (const TCase& c : cases) {
    Scope.Style.Drawn.clear();
    Painter->FrameGlyphArea(c.Control, DC(), 0, false, c.Selected, c.Down, c.Pressed, c.Dropped, c.Split, true,
                            GetSysColorBrush(COLOR_BTNFACE), TRect(2, 3, 26, 25));
    EXPECT_EQ(Scope.Style.Drawn, (std::vector<TRecorded>{{"ToolBar", atoi(c.Expected), atoi(c.Expected + 2),
                                                          TRect(2, 3, 26, 25)}}))
        << c.Name;
  }
}

TEST_F(TXPStates, MainMenuEntriesLightUpInTheHighlightColour) {
  Bar.MainMenu = true;
  TdxBarItemControl* entry = ControlFor(NewItem<TdxBarSubItem>("&File"));
  ASSERT_TRUE(Painter->ShowsHotAsDown(entry));
  const TRect r(2, 3, 40, 25);
  Painter->FrameGlyphArea(entry, DC(), 0, true, true, false, false, false, false, true,
                          GetSysColorBrush(COLOR_BTNFACE), r);
  EXPECT_TRUE(Scope.Style.Of("ToolBar").empty());
  EXPECT_EQ(Surface->Count(r, TColor(GetSysColor(COLOR_HIGHLIGHT))), r.Width() * r.Height());
  // At rest it is a flat toolbar button.
  Painter->FrameGlyphArea(entry, DC(), 0, true, false, false, false, false, false, true,
                          GetSysColorBrush(COLOR_BTNFACE), r);
  EXPECT_EQ(Scope.Style.Of("ToolBar"), (std::vector<std::string>{"1/1"}));
}

TEST_F(TXPStates, BarPartsTakeTheirPartsAndStates) {
  using V = std::vector<std::string>;
  auto& style = Scope.Style;
  const TRect r(0, 0, 16, 14);
  // MDI buttons: 1 disabled, 2 hot, 4 pressed, anything else normal.
  for (TdxBarMDIButton b : {mdibMinimize, mdibRestore, mdibClose})
    for (int state : {0, 1, 2, 3, 4}) Painter->DrawMDIButton(&Bar, b, r, DC(), state);
  EXPECT_EQ(style.Of("Window"), (V{"16/1", "16/4", "16/2", "16/1", "16/3", "22/1", "22/4", "22/2", "22/1",
                                   "22/3", "20/1", "20/4", "20/2", "20/1", "20/3"}));
  style.Drawn.clear();
  for (int state : {0, 1, 2}) {
    Bar.CloseState = state;
    Painter->DrawCaptionCloseButton(&Bar, DC(), r);
  }
  EXPECT_EQ(style.Of("Window"), (V{"19/1", "19/2", "19/3"}));
  for (int state : {0, 1, 2}) {
    Bar.SetMarkState(state);
    Painter->DrawMarkBackground(&Bar, DC(), GetSysColorBrush(COLOR_BTNFACE), r);
  }
  EXPECT_EQ(style.Of("ToolBar"), (V{"1/1", "1/2", "1/3"}));
  style.Drawn.clear();
  // The grip runs across the bar: RP_GRIPPER unless docked at a side.
  for (TdxBarDockingStyle d : {dsTop, dsBottom, dsLeft, dsRight}) {
    Bar.Docking = d;
    Painter->DrawDockedBorder(&Bar, DC(), TRect(0, 0, 100, 30));
  }
  EXPECT_EQ(style.Of("Rebar"), (V{"1/1", "1/1", "2/1", "2/1"}));
  Bar.Docking = dsTop;
  Painter->DrawBarSeparator(&Bar, DC(), false, GetSysColorBrush(COLOR_BTNFACE), r);
  Painter->DrawBarSeparator(&Bar, DC(), true, GetSysColorBrush(COLOR_BTNFACE), r);
  EXPECT_EQ(style.Of("ToolBar"), (V{"5/1", "6/1"}));
  style.Drawn.clear();

  // Spin buttons: the upper one SPNP_UP, in the base painter's spin state.
  TdxBarSpinEditDrawParams spin(nullptr);
  spin.DrawCanvas = Surface->C();
  Painter->DrawSpinButton(&spin, r, 1);
  Painter->DrawSpinButton(&spin, r, 2);
  spin.HotPart = 3;
  Painter->DrawSpinButton(&spin, r, 1);
  spin.PressedButton = 2;
  Painter->DrawSpinButton(&spin, r, 2);
  spin.DrawEnabled = false;
  Painter->DrawSpinButton(&spin, r, 1);
  EXPECT_EQ(style.Of("Spin"), (V{"1/1", "2/1", "1/2", "2/3", "1/4"}));

  // Combo buttons: disabled, dropped, hot, normal.
  TdxBarEditLikeControlDrawParams combo(nullptr);
  combo.DrawCanvas = Surface->C();
  Painter->DrawComboButton(&combo, r, false);
  combo.Highlighted = true;
  Painter->DrawComboButton(&combo, r, false);
  combo.PopupOpen = true;
  Painter->DrawComboButton(&combo, r, true);
  combo.DrawEnabled = false;
  Painter->DrawComboButton(&combo, r, false);
  EXPECT_EQ(style.Of("ComboBox"), (V{"1/1", "1/2", "1/3", "1/4"}));

  // Progress: bar and one chunk, vertical parts on a vertical bar.
  for (int kind : {0, 2}) {
    TdxBarProgressControlDrawParams progress(nullptr);
    progress.DrawCanvas = Surface->C();
    progress.PaintKind = kind;
    progress.Position = 50;
    Painter->DrawProgressBar(&progress, TRect(0, 0, 40, 40), clDefault);
  }
  EXPECT_EQ(style.Of("Progress"), (V{"1/0", "3/0", "2/0", "4/0"}));
}

TEST_F(TXPStates, EditFrameShowsWhenSelectedDisabledOrInAMenu) {
  struct TCase {
    const char* Name;
    bool Enabled, Selected;
    int PaintKind;
    std::vector<std::string> Expected;
  } cases[] = {
      {"idle on a bar", true, false, 0, {}},
      {"selected on a bar", true, true, 0, {"1/1"}},
      {"disabled on a bar", false, false, 0, {"1/4"}},
      {"idle in a menu", true, false, 1, {"1/1"}},
  };
  Scope.Style.Margins = {{{"Edit", 1}, TRect(1, 2, 3, 4)}};
  for (const TCase& c : cases) {
    Scope.Style.Drawn.clear();
    TdxBarEditLikeControlDrawParams dp(nullptr);
    dp.DrawCanvas = Surface->C();
    dp.DrawEnabled = c.Enabled;
    dp.Highlighted = c.Selected;
    dp.PaintKind = c.PaintKind;
    TRect r(10, 10, 60, 30);
    Painter->DrawEditBorder(&dp, r);
    EXPECT_EQ(Scope.Style.Of("Edit"), c.Expected) << c.Name;
    // The caller gets the content rectangle back.
    EXPECT_EQ(r, TRect(11, 12, 57, 26)) << c.Name;
  }
}
