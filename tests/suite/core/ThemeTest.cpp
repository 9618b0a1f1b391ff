#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/sys/Modules.h"
#include "suite/core/cxDWMApi.h"
#include "suite/core/cxSuiteUnits.h"
#include "suite/core/dxThemeManager.h"
#include "suite/core/VisualStyleState.h"

namespace {

// A stand-in visual-style library: handles count up, each open and close is recorded.
struct TFakeThemes {
  std::vector<std::u16string> Opened;
  std::vector<HTHEME> Closed;
  HTHEME Next = 100;
  bool Active = true;
  std::u16string Refuse;  // a class list that fails to open
};
TFakeThemes* gFake = nullptr;

HTHEME FakeOpen(HWND, const char16_t* classList) {
  if (classList == gFake->Refuse) return 0;
  gFake->Opened.push_back(classList);
  return gFake->Next++;
}
HRESULT FakeClose(HTHEME t) {
  gFake->Closed.push_back(t);
  return 0;
}
BOOL FakeActive() { return gFake->Active; }

// Restarts the suite's units over a module table the test edits, and afterwards over the
// table as it was.
struct TRestartedUnits {
  std::unique_ptr<TModuleTableGuard> Guard = std::make_unique<TModuleTableGuard>();
  TRestartedUnits() { FinalizeSuiteUnits(); }
  void Start() { InitializeSuiteUnits(); }
  ~TRestartedUnits() {
    FinalizeSuiteUnits();
    Guard.reset();
    InitializeSuiteUnits();
  }
};

struct TListener : TObject {
  int Calls = 0;
  TdxThemeChangedNotificator* FreeOnCall = nullptr;
  void Changed(TObject*) {
    ++Calls;
    if (FreeOnCall) {
      delete FreeOnCall;
      FreeOnCall = nullptr;
    }
  }
};

}  // namespace

TEST(ThemeManager, WithoutTheLibraryNothingOpensAndNobodyIsTold) {
  TVisualStylesAbsent styles;
  ASSERT_FALSE(IsUxThemeLoaded());
  EXPECT_FALSE(UxIsThemeActive());
  EXPECT_FALSE(IsThemingAvailable());
  EXPECT_EQ(AcquireThemeHandle(totButton), 0u);
  EXPECT_EQ(ReleaseThemeHandle(totButton), 1);
  EXPECT_EQ(dxThemeChangedReceiverHandle(), nullptr);
  HTHEME h = 0;
  EXPECT_EQ(UxCloseThemeData(h), HRESULT(0x80004001u));
  SIZE s{5, 5};
  EXPECT_LT(UxGetThemePartSizeDefault(h, nullptr, 1, 1, TS_TRUE, s), 0);
  TListener l;
  TdxThemeChangedNotificator n;
  n.OnThemeChanged = TNotifyEvent::Bind(&l, &TListener::Changed);
  // Composition: the library is there, composition is off.
  EXPECT_TRUE(IsDwmApiLoaded());
  EXPECT_FALSE(IsCompositionEnabled());
  EXPECT_EQ(l.Calls, 0);
}

TEST(ThemeManager, HandlesPerKindReopenedAfterAThemeChange) {
  TFakeThemes fake;
  gFake = &fake;
  TRestartedUnits units;
  SetModulePresent("UxTheme.dll", true);
  for (const std::string& entry : ModuleEntryNames("UxTheme.dll")) SetModuleEntry("UxTheme.dll", entry, nullptr);
  SetModuleEntryAs("UxTheme.dll", "OpenThemeData", &FakeOpen);
  SetModuleEntryAs("UxTheme.dll", "CloseThemeData", &FakeClose);
  SetModuleEntryAs("UxTheme.dll", "IsThemeActive", &FakeActive);
  units.Start();
  ASSERT_TRUE(IsUxThemeLoaded());
  EXPECT_NE(UxThemeEntry("OpenThemeData"), nullptr);
  EXPECT_EQ(UxThemeEntry("DrawThemeBackground"), nullptr) << "an entry the library lacks";
  EXPECT_TRUE(IsThemingAvailable());

  HTHEME button = AcquireThemeHandle(totButton);
  EXPECT_EQ(button, 100u);
  EXPECT_EQ(AcquireThemeHandle(totButton), button) << "cached";
  EXPECT_EQ(AcquireThemeHandle(totButton, u"BUTTON"), button) << "class list compared ignoring case";
  HTHEME status = AcquireThemeHandle(totStatus);
  EXPECT_EQ(fake.Opened, (std::vector<std::u16string>{u"Button", u"Status"}));
  // A different class list reopens the kind with it.
  HTHEME explorer = AcquireThemeHandle(totStatus, u"Explorer::Status");
  EXPECT_NE(explorer, status);
  EXPECT_EQ(fake.Closed, (std::vector<HTHEME>{status}));

  TListener a, b;
  auto* na = new TdxThemeChangedNotificator;
  auto* nb = new TdxThemeChangedNotificator;
  na->OnThemeChanged = TNotifyEvent::Bind(&a, &TListener::Changed);
  nb->OnThemeChanged = TNotifyEvent::Bind(&b, &TListener::Changed);
  a.FreeOnCall = nb;  // freed while the change is being told: never called

  fake.Closed.clear();
  fake.Opened.clear();
  EXPECT_EQ(SendMessage(dxThemeChangedReceiverHandle(), WM_THEMECHANGED, 0, 0), 0);
  EXPECT_EQ(fake.Closed, (std::vector<HTHEME>{button, explorer}));
  EXPECT_EQ(a.Calls, 1);
  EXPECT_EQ(b.Calls, 0);
  // The next acquisition reopens the class list used before.
  EXPECT_NE(AcquireThemeHandle(totStatus), 0u);
  EXPECT_EQ(fake.Opened, (std::vector<std::u16string>{u"Explorer::Status"}));

  // A system-colour change counts too, and the active flag is read again.
  fake.Active = false;
  SendMessage(dxThemeChangedReceiverHandle(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(a.Calls, 2);
  EXPECT_FALSE(IsThemingAvailable());
  EXPECT_EQ(AcquireThemeHandle(totButton), 0u);
  fake.Active = true;
  SendMessage(dxThemeChangedReceiverHandle(), WM_SYSCOLORCHANGE, 0, 0);

  // A kind that fails to open makes a set unavailable and forgets its list.
  fake.Refuse = u"Spin";
  EXPECT_FALSE(IsThemingAvailable(TdxThemedObjectTypes{totButton, totSpin}));
  EXPECT_TRUE(IsThemingAvailable(TdxThemedObjectTypes{totButton}));
  EXPECT_EQ(ReleaseThemeHandle(totSpin), 0) << "no handle";
  EXPECT_EQ(ReleaseThemeHandle(totButton), 0);
  delete na;
  gFake = nullptr;
}

TEST(ThemeManager, CompositionNeedsALaterSystemAndTheLibrary) {
  {
    TRestartedUnits units;
    SetModulePresent("dwmapi.dll", false);
    units.Start();
    EXPECT_FALSE(IsDwmApiLoaded());
    EXPECT_FALSE(IsCompositionEnabled());
  }
  {
    TRestartedUnits units;
    SetModuleEntry("dwmapi.dll", "DwmIsCompositionEnabled", nullptr);
    units.Start();
    EXPECT_TRUE(IsDwmApiLoaded()) << "loaded whatever entries were found";
    EXPECT_FALSE(IsCompositionEnabled());
  }
  {
    TOSVersion saved = OSVersion();
    TRestartedUnits units;
    SetOSVersion({VER_PLATFORM_WIN32_NT, 5, 1, 2600});
    units.Start();
    EXPECT_FALSE(IsDwmApiLoaded()) << "not looked for before version 6";
    SetOSVersion(saved);
  }
  EXPECT_TRUE(IsDwmApiLoaded());
}
