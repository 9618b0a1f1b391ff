#include <gtest/gtest.h>

#include "platform/gui/CustomForms.h"
#include "suite/bars/dxBar.h"
#include "suite/core/cxSuiteUnits.h"
#include "suite/extras/dxBarExtItems.h"
#include "suite/extras/dxStatusBar.h"

namespace {
// The suite's units, the bar library, the extra bar items and the status bar's panel styles are
// started once for the whole test program, as the application does.
class TExtrasUnitsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    RegisterGuiClasses();
    InitializeSuiteUnits();
    dxBarInitialize();
    dxBarExtItemsInitialize();
    dxStatusBarInitialize();
  }
  void TearDown() override {
    dxStatusBarFinalize();
    dxBarExtItemsFinalize();
    dxBarFinalize();
    FinalizeSuiteUnits();
  }
};
const auto* const gEnvironment = ::testing::AddGlobalTestEnvironment(new TExtrasUnitsEnvironment);
}  // namespace
