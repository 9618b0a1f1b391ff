#include <gtest/gtest.h>

#include "suite/core/cxSuiteUnits.h"
#include "suite/navbar/dxNavBar.h"

namespace {
// The suite's units and the navigation bar's are started once for the whole test program, as
// the application does.
class TNavBarUnitsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    InitializeSuiteUnits();
    dxNavBarInitialize();
  }
  void TearDown() override {
    dxNavBarFinalize();
    FinalizeSuiteUnits();
  }
};
const auto* const gEnvironment = ::testing::AddGlobalTestEnvironment(new TNavBarUnitsEnvironment);
}  // namespace
