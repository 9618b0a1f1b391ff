#include <gtest/gtest.h>

#include "platform/gui/CustomForms.h"
#include "suite/bars/dxBar.h"
#include "suite/core/cxSuiteUnits.h"

namespace {
// The suite's units and the bar library are started once for the whole test program, as the
// application does.
class TBarsUnitsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    RegisterGuiClasses();
    InitializeSuiteUnits();
    dxBarInitialize();
  }
  void TearDown() override {
    dxBarFinalize();
    FinalizeSuiteUnits();
  }
};
const auto* const gEnvironment = ::testing::AddGlobalTestEnvironment(new TBarsUnitsEnvironment);
}  // namespace
