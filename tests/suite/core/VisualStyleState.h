#pragma once
// Tests say which visual-style state they draw under instead of inheriting the program's:
// TVisualStylesAbsent leaves the library out of the module table and restarts the suite's units
// over it; both are put back when it goes.

#include <memory>

#include "platform/sys/Modules.h"
#include "suite/core/cxSuiteUnits.h"

class TVisualStylesAbsent {
 public:
  TVisualStylesAbsent() {
    FinalizeSuiteUnits();
    FGuard = std::make_unique<TModuleTableGuard>();
    SetModulePresent("UxTheme.dll", false);
    InitializeSuiteUnits();
  }
  ~TVisualStylesAbsent() {
    FinalizeSuiteUnits();
    FGuard.reset();
    InitializeSuiteUnits();
  }
  TVisualStylesAbsent(const TVisualStylesAbsent&) = delete;
  TVisualStylesAbsent& operator=(const TVisualStylesAbsent&) = delete;

 private:
  std::unique_ptr<TModuleTableGuard> FGuard;
};
