#include <gtest/gtest.h>

#include "platform/sys/Modules.h"

namespace {
int FakeEntry(int x) { return x * 2; }
}  // namespace

TEST(Modules, BindingByNameFollowsTheTable) {
  TModuleTableGuard guard;
  // System modules are always loaded; optional ones only once LoadLibrary found them.
  HMODULE k = GetModuleHandle("KERNEL32.DLL");
  ASSERT_NE(k, nullptr);
  using TIsWow64 = int (*)(void*, int*);
  auto isWow64 = GetProcAddressAs<TIsWow64>(k, "IsWow64Process");
  ASSERT_NE(isWow64, nullptr);
  int wow = 7;
  EXPECT_EQ(isWow64(nullptr, &wow), 1);
  EXPECT_EQ(wow, 0);
  EXPECT_EQ(GetProcAddress(k, "isWow64Process"), nullptr) << "entry names are case-sensitive";

  EXPECT_EQ(GetModuleHandle("dwmapi.dll"), nullptr);
  HMODULE d = LoadLibrary("dwmapi");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(GetModuleHandle("DwmApi.dll"), d);
  using TIsComposition = int32_t (*)(int*);
  int on = 1;
  EXPECT_EQ(GetProcAddressAs<TIsComposition>(d, "DwmIsCompositionEnabled")(&on), 0);
  EXPECT_EQ(on, 0);
  EXPECT_TRUE(FreeLibrary(d));
  EXPECT_FALSE(FreeLibrary(d)) << "freed once more than loaded";
  EXPECT_EQ(GetProcAddress(d, "DwmIsCompositionEnabled"), nullptr) << "not loaded any more";

  {
    TModuleTableGuard guard;
    SetModulePresent("UxTheme.dll", false);
    EXPECT_EQ(LoadLibrary("UxTheme.dll"), nullptr) << "an absent library does not load";
  }
  EXPECT_EQ(LoadLibrary("nosuch.dll"), nullptr);
  EXPECT_EQ(GetProcAddress(nullptr, "IsWow64Process"), nullptr);
}

TEST(Modules, TestsEditTheTableAndTheGuardRestoresIt) {
  {
    TModuleTableGuard guard;
    SetModuleEntry("kernel32.dll", "IsWow64Process", nullptr);
    EXPECT_EQ(GetProcAddress(GetModuleHandle("kernel32"), "IsWow64Process"), nullptr);
    SetModuleEntryAs("fake.dll", "Twice", &FakeEntry);
    HMODULE f = LoadLibrary("fake.dll");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(GetProcAddressAs<int (*)(int)>(f, "Twice")(21), 42);
    SetModulePresent("dwmapi.dll", false);
    EXPECT_EQ(LoadLibrary("dwmapi.dll"), nullptr);
  }
  EXPECT_NE(GetProcAddress(GetModuleHandle("kernel32"), "IsWow64Process"), nullptr);
  EXPECT_EQ(LoadLibrary("fake.dll"), nullptr);
  HMODULE d = LoadLibrary("dwmapi.dll");
  EXPECT_NE(d, nullptr);
  FreeLibrary(d);
  EXPECT_EQ(ModuleLoadCount("dwmapi.dll"), 0);
}
