#include <gtest/gtest.h>

#include <cstring>

#include "suite/core/cxDialogMetrics.h"

namespace {

class TFindDialog : public TCustomForm {
 public:
  using TCustomForm::TCustomForm;
};

class TFixedDialog : public TCustomForm {
 public:
  explicit TFixedDialog(TComponent* AOwner) : TCustomForm(AOwner) { SetBorderStyle(bsDialog); }
};

class TLayoutDialog : public TCustomForm, public IcxDialogMetricsData {
 public:
  using TCustomForm::TCustomForm;
  char Layout[8] = "default";
  const void* GetData() override { return Layout; }
  int GetDataSize() override { return sizeof Layout; }
  void SetData(const void* Data) override { std::memcpy(Layout, Data, sizeof Layout); }
};

}  // namespace

TEST(DialogMetrics, SecondOpeningTakesThePlaceOfTheFirst) {
  TcxDialogsMetricsStore store;
  int clientWidth = 0, clientHeight = 0;
  {
    TFindDialog first(nullptr);
    first.SetBounds(10, 10, 300, 200);
    store.ApplyToForm(&first);
    EXPECT_EQ(first.Position(), poMainFormCenter) << "seen for the first time";
    EXPECT_EQ(store.Count(), 1);
    first.SetBounds(120, 80, 400, 260);
    clientWidth = first.ClientWidth();
    clientHeight = first.ClientHeight();
    store.CaptureFromForm(&first);
  }
  TFindDialog second(nullptr);
  second.SetBounds(0, 0, 300, 200);
  store.ApplyToForm(&second);
  EXPECT_EQ(second.Position(), poDesigned);
  EXPECT_EQ(second.Left(), 120);
  EXPECT_EQ(second.Top(), 80);
  EXPECT_EQ(second.ClientWidth(), clientWidth);
  EXPECT_EQ(second.ClientHeight(), clientHeight);
  EXPECT_EQ(store.Count(), 1) << "one record per dialog class";

  // A fixed border keeps its designed size.
  {
    TFixedDialog fixed(nullptr);
    fixed.SetBounds(0, 0, 150, 100);
    store.ApplyToForm(&fixed);
    fixed.SetBounds(30, 40, 250, 200);
    store.CaptureFromForm(&fixed);
  }
  TFixedDialog fixed(nullptr);
  fixed.SetBounds(0, 0, 150, 100);
  int designedClientWidth = fixed.ClientWidth();
  store.ApplyToForm(&fixed);
  EXPECT_EQ(fixed.Left(), 30);
  EXPECT_EQ(fixed.Top(), 40);
  EXPECT_EQ(fixed.ClientWidth(), designedClientWidth);
  // Capturing a dialog class never seen before records nothing.
  TCustomForm stranger(nullptr);
  store.CaptureFromForm(&stranger);
  EXPECT_EQ(store.Count(), 2);
}

TEST(DialogMetrics, DataAndMaximizedStateComeBack) {
  TcxDialogsMetricsStore store;
  {
    TLayoutDialog first(nullptr);
    store.ApplyToForm(&first);
    std::memcpy(first.Layout, "narrow", 7);
    first.SetWindowState(wsMaximized);
    store.CaptureFromForm(&first);
  }
  TLayoutDialog second(nullptr);
  store.ApplyToForm(&second);
  EXPECT_STREQ(second.Layout, "narrow");
  EXPECT_EQ(second.WindowState(), wsMaximized);
  EXPECT_NE(SharedDialogsMetricsStore(), nullptr);
  EXPECT_EQ(SharedDialogsMetricsStore(), SharedDialogsMetricsStore());
}
