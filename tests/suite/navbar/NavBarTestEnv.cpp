#include <gtest/gtest.h>

#include "platform/gui/CustomForms.h"
#include "suite/core/cxSuiteUnits.h"
#include "suite/navbar/dxNavBarGraphics.h"

namespace {
// The suite's units and the navigation bar's are started once for the whole test program, as
// the application does.
class TNavBarUnitsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    RegisterGuiClasses();
    InitializeSuiteUnits();
    dxNavBarGraphicsInitialize();
    dxNavBarLoadCursors();
  }
  void TearDown() override {
    dxNavBarFreeCursors();
    dxNavBarGraphicsFinalize();
    FinalizeSuiteUnits();
  }
};
const auto* const gEnvironment = ::testing::AddGlobalTestEnvironment(new TNavBarUnitsEnvironment);
}  // namespace
