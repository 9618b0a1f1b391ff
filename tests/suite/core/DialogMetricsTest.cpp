#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "suite/core/cxDialogMetrics.h"

namespace {

class TFindDialog : public TWinControl {
 public:
  using TWinControl::TWinControl;
};

class TFixedDialog : public TWinControl {
 public:
  using TWinControl::TWinControl;
};

class TLayoutDialog : public TWinControl, public IcxDialogMetricsData {
 public:
  using TWinControl::TWinControl;
  char Layout[8] = "default";
  bool WasMaximized = false;
  const void* GetData() override { return Layout; }
  int GetDataSize() override { return sizeof Layout; }
  void SetData(const void* Data) override { std::memcpy(Layout, Data, sizeof Layout); }
};

// Forms of the test: a fixed border for TFixedDialog, maximized state remembered per control.
struct TAccessGuard {
  TcxDialogFormAccess Saved = DialogFormAccess();
  std::set<TWinControl*> Maximized;
  TAccessGuard() {
    TcxDialogFormAccess a = Saved;
    a.Sizeable = [](TWinControl* f) { return dynamic_cast<TFixedDialog*>(f) == nullptr; };
    a.Maximized = [this](TWinControl* f) { return Maximized.count(f) > 0; };
    a.Maximize = [this](TWinControl* f) { Maximized.insert(f); };
    SetDialogFormAccess(a);
  }
  ~TAccessGuard() { SetDialogFormAccess(Saved); }
};

}  // namespace

TEST(DialogMetrics, SecondOpeningTakesThePlaceOfTheFirst) {
  TAccessGuard access;
  TcxDialogsMetricsStore store;
  {
    TFindDialog first(nullptr);
    first.SetBounds(10, 10, 300, 200);
    store.ApplyToForm(&first);
    EXPECT_EQ(DialogFormAccess().Position(&first), cxPositionMainFormCenter)
        << "seen for the first time: centred on the main form";
    EXPECT_EQ(store.Count(), 1);
    first.SetBounds(120, 80, 400, 260);
    store.CaptureFromForm(&first);
  }
  TFindDialog second(nullptr);
  second.SetBounds(0, 0, 300, 200);
  store.ApplyToForm(&second);
  EXPECT_EQ(DialogFormAccess().Position(&second), cxPositionDesigned);
  EXPECT_EQ(second.Left(), 120);
  EXPECT_EQ(second.Top(), 80);
  EXPECT_EQ(second.ClientWidth(), 400);
  EXPECT_EQ(second.ClientHeight(), 260);
  EXPECT_EQ(store.Count(), 1) << "one record per dialog class";

  // A fixed border keeps its designed size.
  {
    TFixedDialog fixed(nullptr);
    fixed.SetBounds(0, 0, 150, 100);
    store.ApplyToForm(&fixed);
    fixed.SetBounds(30, 40, 150, 100);
    store.CaptureFromForm(&fixed);
  }
  TFixedDialog fixed(nullptr);
  fixed.SetBounds(0, 0, 150, 100);
  store.ApplyToForm(&fixed);
  EXPECT_EQ(fixed.Left(), 30);
  EXPECT_EQ(fixed.Top(), 40);
  EXPECT_EQ(fixed.ClientWidth(), 150);
  // Capturing a dialog class never seen before records nothing.
  TWinControl stranger(nullptr);
  store.CaptureFromForm(&stranger);
  EXPECT_EQ(store.Count(), 2);
}

TEST(DialogMetrics, DataAndMaximizedStateComeBack) {
  TAccessGuard access;
  TcxDialogsMetricsStore store;
  {
    TLayoutDialog first(nullptr);
    store.ApplyToForm(&first);
    std::memcpy(first.Layout, "narrow", 7);
    access.Maximized.insert(&first);
    store.CaptureFromForm(&first);
    access.Maximized.clear();
  }
  TLayoutDialog second(nullptr);
  second.SetBounds(5, 5, 100, 100);
  store.ApplyToForm(&second);
  EXPECT_STREQ(second.Layout, "narrow");
  EXPECT_TRUE(access.Maximized.count(&second)) << "maximized again";
  EXPECT_EQ(second.Left(), 5) << "a maximized record leaves the bounds alone";
  EXPECT_NE(SharedDialogsMetricsStore(), nullptr);
  EXPECT_EQ(SharedDialogsMetricsStore(), SharedDialogsMetricsStore());
}
