#pragma once
// The start-up and shut-down of the suite's units, in one fixed order (each unit's own pair is
// guarded by its reference count). Shut-down runs the units in the reverse order.

#include <string>
#include <vector>

struct TcxSuiteUnit {
  const char* Name;
  void (*Initialize)();
  void (*Finalize)();
};

// The units in start-up order.
const std::vector<TcxSuiteUnit>& SuiteUnits();
void InitializeSuiteUnits();
void FinalizeSuiteUnits();
// While the units are started (between the two calls above).
bool SuiteUnitsInitialized();
