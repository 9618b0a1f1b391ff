#include <gtest/gtest.h>

#include <QtCore/QLocale>
#include <string>
#include <vector>

#include "platform/gui/Pictures.h"
#include "platform/win/GdiExtras.h"
#include "platform/rtl/Streams.h"
#include "platform/sys/Modules.h"
#include "platform/win/Windows.h"
#include "suite/core/cxDropDown.h"
#include "suite/core/cxLibraryStrs.h"
#include "suite/core/cxSuiteUnits.h"
#include "suite/core/dxCore.h"

namespace {

const TResStringRec sFirst{1, "first text"};
const TResStringRec sSecond{2, "second text"};

void AddTwo(TdxProductResourceStrings* P) {
  P->AddString("sZeta", &sFirst);
  P->AddString("sAlpha", &sSecond);
}
void AddNone(TdxProductResourceStrings*) {}

std::vector<std::string> gCalls;
void InitA() { gCalls.push_back("initA"); }
void InitB() { gCalls.push_back("initB"); }
void FinA() { gCalls.push_back("finA"); }
void FinB() { gCalls.push_back("finB"); }
void FinC() { gCalls.push_back("finC"); }

struct TListener : IdxLocalizerListener {
  TdxResourceStringsRepository* Repo = nullptr;
  IdxLocalizerListener* RemoveOnCall = nullptr;
  int Calls = 0;
  void TranslationChanged() override {
    ++Calls;
    if (RemoveOnCall) Repo->RemoveListener(RemoveOnCall);
  }
};

}  // namespace

TEST(ResourceStrings, ProductsAreFoundByExactNameFirstRegistrationFirst) {
  TdxResourceStringsRepository repo;
  repo.RegisterProduct("Bars", &AddTwo);
  repo.RegisterProduct("Bars", &AddNone);
  repo.RegisterProduct("bars", &AddNone);
  ASSERT_EQ(repo.ProductCount(), 3);
  EXPECT_EQ(repo.IndexOfProduct("Bars"), 0);
  EXPECT_EQ(repo.IndexOfProduct("bars"), 2) << "names compare with case";
  EXPECT_EQ(repo.IndexOfProduct("Nav"), -1);
  // The registration procedure ran at once and its names are sorted.
  TdxProductResourceStrings* p = repo.Products(0);
  ASSERT_EQ(p->ResStringCount(), 2);
  EXPECT_EQ(p->Names()->Strings(0), "sAlpha");
  EXPECT_EQ(LoadResString(p->ResStrings(0)), "second text");
  repo.UnregisterProduct("Bars");
  ASSERT_EQ(repo.ProductCount(), 2);
  EXPECT_EQ(repo.Products(0)->ResStringCount(), 0) << "only the first registration went";
  repo.UnregisterProduct("Nav");
  EXPECT_EQ(repo.ProductCount(), 2);
}

TEST(ResourceStrings, LibraryStringsAreRegisteredAtStartUp) {
  TdxResourceStringsRepository* repo = GetResourceStringsRepository();
  ASSERT_NE(repo, nullptr);
  int i = repo->IndexOfProduct(cxLibraryProductName);
  ASSERT_GE(i, 0);
  TdxProductResourceStrings* p = repo->Products(i);
  EXPECT_EQ(p->ResStringCount(), 25);
  int k = p->Names()->IndexOf("cxSDateThird");
  ASSERT_GE(k, 0);
  EXPECT_EQ(p->ResStrings(k)->Identifier, 65184);
  EXPECT_EQ(LoadResString(p->ResStrings(k)), "third");
  EXPECT_EQ(LoadResString(&scxLockedStateText), "Please wait...");
}

TEST(ResourceStrings, ListenersAddedOnceAndRemovedDuringANotificationAreNotCalled) {
  TdxResourceStringsRepository repo;
  TListener a, b, c;
  a.Repo = b.Repo = c.Repo = &repo;
  repo.AddListener(&a);
  repo.AddListener(&a);
  repo.AddListener(&b);
  repo.AddListener(&c);
  EXPECT_EQ(repo.ListenerCount(), 3);
  // b takes c off the list, and itself: c is not told, and the next round reaches a only.
  b.RemoveOnCall = &c;
  repo.NotifyListeners();
  EXPECT_EQ(a.Calls, 1);
  EXPECT_EQ(b.Calls, 1);
  EXPECT_EQ(c.Calls, 0);
  b.RemoveOnCall = &b;
  repo.NotifyListeners();
  repo.NotifyListeners();
  EXPECT_EQ(a.Calls, 3);
  EXPECT_EQ(b.Calls, 2);
  repo.RemoveListener(&c);  // absent: nothing
  EXPECT_EQ(repo.ListenerCount(), 1);
}

TEST(UnitsLoader, InitializesAtOnceAndFinalizesInReverse) {
  gCalls.clear();
  {
    TdxUnitsLoader loader;
    loader.RegisterUnit(&InitA, &FinA);
    loader.RegisterUnit(nullptr, &FinB);
    loader.RegisterUnit(&InitB, &FinC);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"initA", "initB"}));
    loader.UnregisterUnit(&FinB);
    loader.UnregisterUnit(&FinB);  // no longer registered: not called again
    EXPECT_EQ(gCalls.back(), "finB");
  }
  EXPECT_EQ(gCalls, (std::vector<std::string>{"initA", "initB", "finB", "finC", "finA"}));

  // Inside a library loaded by a host, start-up waits for the explicit call.
  gCalls.clear();
  TdxUnitsLoader deferred(true);
  deferred.RegisterUnit(&InitA, &FinA);
  deferred.RunFinalizers();
  EXPECT_TRUE(gCalls.empty()) << "nothing started, so nothing is finalized";
  deferred.RegisterUnit(&InitB, &FinB);
  deferred.Initialize();
  EXPECT_EQ(gCalls, (std::vector<std::string>{"initA", "initB"}));
  deferred.RunFinalizers();
  EXPECT_EQ(gCalls, (std::vector<std::string>{"initA", "initB", "finB"}));
}

TEST(UnitsLoader, SuiteShutDownRunsRegisteredFinalizersAndStartUpComesBack) {
  gCalls.clear();
  GetUnitsLoader()->RegisterUnit(&InitA, &FinA);
  GetUnitsLoader()->RegisterUnit(nullptr, &FinB);
  FinalizeSuiteUnits();
  EXPECT_EQ(gCalls, (std::vector<std::string>{"initA", "finB", "finA"}));
  EXPECT_EQ(GetResourceStringsRepository(), nullptr) << "not made again once shut down";
  EXPECT_EQ(GetUnitsLoader(), nullptr);
  InitializeSuiteUnits();
  ASSERT_NE(GetResourceStringsRepository(), nullptr);
  EXPECT_GE(GetResourceStringsRepository()->IndexOfProduct(cxLibraryProductName), 0);
}

TEST(Core, OperatingSystemFlagsFollowTheReportedVersion) {
  struct Case {
    TOSVersion v;
    bool nt, xpOrLater, vista, seven, win9x, me;
  } cases[] = {
      {{VER_PLATFORM_WIN32_NT, 6, 1, 7601}, true, true, true, true, false, false},
      {{VER_PLATFORM_WIN32_NT, 5, 0, 2195}, true, false, false, false, false, false},
      {{VER_PLATFORM_WIN32_NT, 5, 1, 2600}, true, true, false, false, false, false},
      {{VER_PLATFORM_WIN32_WINDOWS, 4, 90, 0}, false, false, false, false, true, true},
  };
  TOSVersion saved = OSVersion();
  for (const Case& c : cases) {
    SetOSVersion(c.v);
    FinalizeSuiteUnits();
    InitializeSuiteUnits();
    EXPECT_EQ(IsNTPlatform, c.nt);
    EXPECT_EQ(IsWindowsXPOrLater, c.xpOrLater);
    EXPECT_EQ(IsWindowsVistaOrLater, c.vista);
    EXPECT_EQ(IsWindows7, c.seven);
    EXPECT_EQ(IsWin9xPlatform, c.win9x);
    EXPECT_EQ(IsWindowsMe, c.me);
    EXPECT_FALSE(IsWow64);
  }
  SetOSVersion(saved);
  {
    // Without the kernel entry the answer is still "not WOW64".
    TModuleTableGuard guard;
    SetModuleEntry("kernel32.dll", "IsWow64Process", nullptr);
    FinalizeSuiteUnits();
    InitializeSuiteUnits();
    EXPECT_FALSE(IsWow64);
  }
  FinalizeSuiteUnits();
  InitializeSuiteUnits();
  EXPECT_TRUE(IsWindows7);
}

TEST(Core, FirstDayOfWeekFromTheLocaleOrTheOverride) {
  QLocale saved;
  struct Case {
    const char* locale;
    int day;
  } cases[] = {{"en_US", 0}, {"de_DE", 1}, {"ar_EG", 6}};
  for (const Case& c : cases) {
    QLocale::setDefault(QLocale(c.locale));
    EXPECT_EQ(GetLocaleFirstDayOfWeek(), c.day) << c.locale;
    EXPECT_EQ(GetFirstDayOfWeek(), c.day) << c.locale;
  }
  dxStartOfWeek = 3;
  dxStartOfWeekOverridden = 1;
  EXPECT_EQ(GetFirstDayOfWeek(), 3);
  dxStartOfWeekOverridden = 0;
  QLocale::setDefault(saved);
  EXPECT_EQ(GetLocaleText(GetThreadLocale(), 0xFFFF, "none"), "none");
}

TEST(Core, SmallHelpers) {
  EXPECT_TRUE(AnsiToWideInCodePage("", CP_ACP).empty());
  EXPECT_EQ(AnsiToWideInCodePage("h\xC3\xA9llo", CP_UTF8), u"h\u00e9llo");
  EXPECT_EQ(AnsiToWideInCodePage("hello", CP_ACP, 2), u"he");
  EXPECT_EQ(WideToAnsiInCodePage(u"\u00e9t\u00e9", CP_ACP), "\xC3\xA9t\xC3\xA9");
  std::string longText(254, 'a');
  longText += "\xC3\xA9z";
  EXPECT_EQ(AnsiToShortString(longText), std::string(254, 'a')) << "no character cut in two";

  uint32_t words[8] = {};
  words[1] = 1u << 3;
  EXPECT_TRUE(TestBit(35, words));
  EXPECT_FALSE(TestBit(34, words));
  EXPECT_FALSE(TestBit(256, words));

  TMemoryStream s;
  WriteIntToStream(&s, 0x01020304);
  ASSERT_EQ(s.Size(), 4);
  auto* b = static_cast<const uint8_t*>(s.Memory());
  EXPECT_EQ(b[0], 4);
  EXPECT_EQ(b[3], 1);

  EXPECT_EQ(ColorToQuadWithAlpha(0x00332211, 0x80), 0x80112233u);
  EXPECT_EQ(ColorToQuadWithAlpha(int32_t(0xFF00000F), 0xFF), 0xFFD4D0C8u) << "button face of the classic table";

  int* obj = new int(5);
  FreeAndClearObject(obj);
  EXPECT_EQ(obj, nullptr);
}

TEST(Core, DropDownGeometry) {
  const TRect edit{100, 100, 200, 120};
  EXPECT_EQ(GetDropDownCorner(edit, {0, 0, 50, 50}), 0) << "left of and above";
  EXPECT_EQ(GetDropDownCorner(edit, {150, 0, 300, 50}), 1);
  EXPECT_EQ(GetDropDownCorner(edit, {0, 120, 90, 300}), 2);
  EXPECT_EQ(GetDropDownCorner(edit, {250, 150, 300, 300}), 3) << "right of and below";
  EXPECT_EQ(HitTestOfCorner(0), HTTOPLEFT);
  EXPECT_EQ(HitTestOfCorner(3), HTBOTTOMRIGHT);
  EXPECT_EQ(GetDropDownNonClientHeight(), 20) << "classic metrics: scroll bar 17, caption button 18";
}

TEST(Core, BitmapPixelsAsColours) {
  TBitmap bmp;
  std::vector<uint32_t> colors;
  EXPECT_FALSE(ReadBitmapColors(&bmp, colors, true)) << "empty";
  bmp.SetSize(2, 2);
  const std::vector<uint32_t> topDown = {0x01FF0000u, 0x0000FF00u, 0x000000FFu, 0x00FFFFFFu};
  ASSERT_TRUE(WriteBitmapColors(&bmp, topDown, true));
  EXPECT_EQ(bmp.Canvas()->Pixel(0, 0), TColor(0x0000FF)) << "red, as a colour $00BBGGRR";
  ASSERT_TRUE(ReadBitmapColors(&bmp, colors, false));
  EXPECT_EQ(colors, (std::vector<uint32_t>{0x000000FFu, 0x00FFFFFFu, 0x01FF0000u, 0x0000FF00u}))
      << "bottom row first";
  // The fourth byte counts as alpha only for 32 bits per pixel.
  struct Case {
    TPixelFormat format;
    int bits;
    bool alpha;
  } cases[] = {{pf24bit, 24, false}, {pf32bit, 32, true}, {pf15bit, 16, false}, {pf1bit, 1, false}};
  for (const Case& c : cases) {
    bmp.SetPixelFormat(c.format);
    EXPECT_EQ(GetBitmapBitsPerPixel(&bmp), c.bits);
    EXPECT_EQ(IsBitmapAlphaUsed(&bmp), c.alpha) << c.bits;
  }
  BITMAPINFOHEADER h;
  h.biClrUsed = 9;
  InitBitmapInfoHeader(h, 5, 7, true);
  EXPECT_EQ(h.biSize, 40u);
  EXPECT_EQ(h.biHeight, -7) << "rows from the top";
  EXPECT_EQ(h.biBitCount, 32);
  EXPECT_EQ(h.biClrUsed, 0u);
  InitBitmapInfoHeader(h, 5, 7, false);
  EXPECT_EQ(h.biHeight, 7);

  bmp.SetPixelFormat(pf32bit);
  std::vector<uint32_t> opaque(4, 0x00808080u);
  WriteBitmapColors(&bmp, opaque, true);
  EXPECT_FALSE(IsBitmapAlphaUsed(&bmp));
}
