#pragma once
// Tests say which visual-style state they draw under instead of inheriting the program's:
// TVisualStylesAbsent leaves the library out of the module table, TVisualStylesOn puts our own
// library in, active; each restarts the suite's units over that table, and both are put back
// when it goes.

#include <memory>

#include "platform/sys/Modules.h"
#include "platform/win/VisualStyles.h"
#include "suite/core/cxSuiteUnits.h"

class TVisualStyleState {
 public:
  explicit TVisualStyleState(bool Present) {
    FinalizeSuiteUnits();
    FGuard = std::make_unique<TModuleTableGuard>();
    if (Present) {
      InstallVisualStyles();
      SetModulePresent("UxTheme.dll", true);
      SetVisualStylesActive(true);
    } else {
      SetModulePresent("UxTheme.dll", false);
    }
    InitializeSuiteUnits();
  }
  ~TVisualStyleState() {
    FinalizeSuiteUnits();
    FGuard.reset();
    InitializeSuiteUnits();
  }
  TVisualStyleState(const TVisualStyleState&) = delete;
  TVisualStyleState& operator=(const TVisualStyleState&) = delete;

 private:
  std::unique_ptr<TModuleTableGuard> FGuard;
};

struct TVisualStylesAbsent : TVisualStyleState {
  TVisualStylesAbsent() : TVisualStyleState(false) {}
};
struct TVisualStylesOn : TVisualStyleState {
  TVisualStylesOn() : TVisualStyleState(true) {}
};
