#include "operations/DialogSupport.h"

#include <mutex>

#include "appbase/Utils.h"
#include "operations/EnvelopeDialog.h"
#include "operations/FreAnalysis.h"
#include "operations/RecordControl.h"
#include "operations/RegionList.h"
#include "operations/SelectSpecifiedTime.h"
#include "operations/SmallEditDialogs.h"
#include "operations/TextToSpeechDialog.h"
#include "platform/gui/Forms.h"

void SetNumberStyle(TWinControl* Edit) {
  const HWND window = Edit->Handle();
  SetWindowLong(window, GWL_STYLE, GetWindowLong(window, GWL_STYLE) | ES_NUMBER);
}

void ShowErrorMessage(const std::string& Text) {
  Application->MessageBox(Text, Application->Title(), MB_OK | MB_ICONERROR);
}

void SubstituteDialogFont(TWinControl* Dialog) {
  SubstituteFontName(Dialog, "Tahoma", Screen->HintFont()->Name());
}

void RegisterEditingDialogClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterGuiClasses();
    RegisterSmallEditDialogClasses();
    RegisterSelectSpecifiedTimeClasses();
    RegisterEnvelopeDialogClasses();
    RegisterTextToSpeechDialogClasses();
    RegisterFreAnalysisClasses();
    RegisterRecordControlClasses();
    RegisterRegionListClasses();
  });
}
