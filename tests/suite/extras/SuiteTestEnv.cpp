#include <gtest/gtest.h>

#include "suite/core/cxSuiteUnits.h"
#include "suite/extras/dxStatusBar.h"

namespace {
// The suite's units and the status bar's panel styles are started once for the whole test
// program, as the application does.
class TExtrasUnitsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    InitializeSuiteUnits();
    dxStatusBarInitialize();
  }
  void TearDown() override {
    dxStatusBarFinalize();
    FinalizeSuiteUnits();
  }
};
const auto* const gEnvironment = ::testing::AddGlobalTestEnvironment(new TExtrasUnitsEnvironment);
}  // namespace
