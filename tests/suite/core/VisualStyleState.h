#pragma once
// Tests say which visual-style state they draw under instead of inheriting the program's:
// TVisualStylesAbsent leaves the library out of the module table, TVisualStylesOn puts our own
// library in, active; each restarts the suite's units over that table, and both are put back
// when it goes. Products registered with the string repository by units above the suite (bars,
// navigation bar...) outlive the restart, as they would in the running program.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/sys/Modules.h"
#include "platform/win/VisualStyles.h"
#include "suite/core/dxCore.h"
#include "suite/core/cxSuiteUnits.h"

class TVisualStyleState {
 public:
  explicit TVisualStyleState(bool Present) {
    if (auto* r = GetResourceStringsRepository())
      for (int i = 0; i < r->ProductCount(); ++i)
        FProducts.emplace_back(r->Products(i)->Name(), r->Products(i)->RegistrationProc());
    FinalizeSuiteUnits();
    FGuard = std::make_unique<TModuleTableGuard>();
    if (Present) {
      InstallVisualStyles();
      SetModulePresent("UxTheme.dll", true);
      SetVisualStylesActive(true);
    } else {
      SetModulePresent("UxTheme.dll", false);
    }
    RestartSuiteUnits();
  }
  ~TVisualStyleState() {
    FinalizeSuiteUnits();
    FGuard.reset();
    RestartSuiteUnits();
  }
  TVisualStyleState(const TVisualStyleState&) = delete;
  TVisualStyleState& operator=(const TVisualStyleState&) = delete;

 private:
  void RestartSuiteUnits() {
    InitializeSuiteUnits();
    auto* r = GetResourceStringsRepository();
    if (!r) return;
    for (const auto& [name, proc] : FProducts)
      if (r->IndexOfProduct(name) < 0) r->RegisterProduct(name, proc);
  }

  std::unique_ptr<TModuleTableGuard> FGuard;
  std::vector<std::pair<std::string, TdxAddResourceStringsProcedure>> FProducts;
};

struct TVisualStylesAbsent : TVisualStyleState {
  TVisualStylesAbsent() : TVisualStyleState(false) {}
};
struct TVisualStylesOn : TVisualStyleState {
  TVisualStylesOn() : TVisualStyleState(true) {}
};
