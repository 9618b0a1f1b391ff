#include <gtest/gtest.h>

#include "suite/core/cxSuiteUnits.h"

namespace {
// The suite's units are started once for the whole test program, as the application does.
class TSuiteUnitsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { InitializeSuiteUnits(); }
  void TearDown() override { FinalizeSuiteUnits(); }
};
const auto* const gEnvironment = ::testing::AddGlobalTestEnvironment(new TSuiteUnitsEnvironment);
}  // namespace
