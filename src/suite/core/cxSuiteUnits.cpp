#include "suite/core/cxSuiteUnits.h"

#include "suite/core/cxAccessibility.h"
#include "suite/core/cxClasses.h"
#include "suite/core/cxContainer.h"
#include "suite/core/cxControls.h"
#include "suite/core/dxHooks.h"
#include "suite/core/cxGeometry.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxOffice11.h"
#include "suite/core/cxLibraryStrs.h"
#include "suite/core/cxStyles.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/cxLookAndFeels.h"
#include "suite/core/cxDWMApi.h"
#include "suite/core/dxCore.h"
#include "suite/core/dxCustomHint.h"
#include "suite/core/dxScreenTip.h"
#include "suite/core/dxThemeManager.h"
#include "suite/core/dxUxTheme.h"

namespace {
int gSuiteCount = 0;
}

const std::vector<TcxSuiteUnit>& SuiteUnits() {
  static const std::vector<TcxSuiteUnit> units = {
      {"dxCore", &dxCoreInitialize, &dxCoreFinalize},
      {"cxLibraryStrs", &cxLibraryStrsInitialize, &cxLibraryStrsFinalize},
      {"dxHooks", &dxHooksInitialize, &dxHooksFinalize},
      {"cxGeometry", &cxGeometryInitialize, &cxGeometryFinalize},
      {"cxClasses", &cxClassesInitialize, &cxClassesFinalize},
      {"dxUxTheme", &dxUxThemeInitialize, &dxUxThemeFinalize},
      {"cxDWMApi", &cxDWMApiInitialize, &cxDWMApiFinalize},
      {"dxThemeConsts", &dxThemeConstsInitialize, &dxThemeConstsFinalize},
      {"dxThemeManager", &dxThemeManagerInitialize, &dxThemeManagerFinalize},
      {"cxStyles", &cxStylesInitialize, &cxStylesFinalize},
      {"cxGraphics", &cxGraphicsInitialize, &cxGraphicsFinalize},
      {"dxOffice11", &dxOffice11Initialize, &dxOffice11Finalize},
      {"cxLookAndFeelPainters", &cxLookAndFeelPaintersInitialize, &cxLookAndFeelPaintersFinalize},
      {"cxLookAndFeels", &cxLookAndFeelsInitialize, &cxLookAndFeelsFinalize},
      {"cxControls", &cxControlsInitialize, &cxControlsFinalize},
      {"cxAccessibility", &cxAccessibilityInitialize, &cxAccessibilityFinalize},
      {"cxContainer", &cxContainerInitialize, &cxContainerFinalize},
      {"dxCustomHint", &dxCustomHintInitialize, &dxCustomHintFinalize},
      {"dxScreenTip", &dxScreenTipInitialize, &dxScreenTipFinalize},
  };
  return units;
}

void InitializeSuiteUnits() {
  if (gSuiteCount++ > 0) return;
  for (const TcxSuiteUnit& u : SuiteUnits()) u.Initialize();
}

void FinalizeSuiteUnits() {
  if (gSuiteCount == 0 || --gSuiteCount > 0) return;
  const auto& units = SuiteUnits();
  for (auto it = units.rbegin(); it != units.rend(); ++it) it->Finalize();
}

bool SuiteUnitsInitialized() { return gSuiteCount > 0; }
