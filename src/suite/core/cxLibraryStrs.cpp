#include "suite/core/cxLibraryStrs.h"

const TResStringRec scxCantCreateRegistryKey{65231, "Can't create the registry key: \\%s"};
const TResStringRec scxCantOpenRegistryKey{65200, "Can't open the registry key: \\%s"};
const TResStringRec scxErrorStoreObject{65201, "Error store %s object"};
const TResStringRec scxConverterCantCreateStyleRepository{65202, "Can't create the Style Repository"};
const TResStringRec scxLockedStateText{65203, "Please wait..."};
const TResStringRec cxSDateToday{65204, "today"};
const TResStringRec cxSDateYesterday{65205, "yesterday"};
const TResStringRec cxSDateTomorrow{65206, "tomorrow"};
const TResStringRec cxSDateSunday{65207, "Sunday"};
const TResStringRec cxSDateMonday{65208, "Monday"};
const TResStringRec cxSDateTuesday{65209, "Tuesday"};
const TResStringRec cxSDateWednesday{65210, "Wednesday"};
const TResStringRec cxSDateThursday{65211, "Thursday"};
const TResStringRec cxSDateFriday{65212, "Friday"};
const TResStringRec cxSDateSaturday{65213, "Saturday"};
const TResStringRec cxSDateFirst{65214, "first"};
const TResStringRec cxSDateSecond{65215, "second"};
const TResStringRec cxSDateThird{65184, "third"};
const TResStringRec cxSDateFourth{65185, "fourth"};
const TResStringRec cxSDateFifth{65186, "fifth"};
const TResStringRec cxSDateSixth{65187, "sixth"};
const TResStringRec cxSDateSeventh{65188, "seventh"};
const TResStringRec cxSDateBOM{65189, "bom"};
const TResStringRec cxSDateEOM{65190, "eom"};
const TResStringRec cxSDateNow{65191, "now"};

const char* const cxLibraryProductName = "cxLibrary";

namespace {

void AddLibraryResourceStringNames(TdxProductResourceStrings* Product) {
  struct Entry {
    const char* Name;
    const TResStringRec* Rec;
  };
  static const Entry entries[] = {
      {"scxCantCreateRegistryKey", &scxCantCreateRegistryKey},
      {"scxCantOpenRegistryKey", &scxCantOpenRegistryKey},
      {"scxErrorStoreObject", &scxErrorStoreObject},
      {"scxConverterCantCreateStyleRepository", &scxConverterCantCreateStyleRepository},
      {"scxLockedStateText", &scxLockedStateText},
      {"cxSDateToday", &cxSDateToday},
      {"cxSDateYesterday", &cxSDateYesterday},
      {"cxSDateTomorrow", &cxSDateTomorrow},
      {"cxSDateSunday", &cxSDateSunday},
      {"cxSDateMonday", &cxSDateMonday},
      {"cxSDateTuesday", &cxSDateTuesday},
      {"cxSDateWednesday", &cxSDateWednesday},
      {"cxSDateThursday", &cxSDateThursday},
      {"cxSDateFriday", &cxSDateFriday},
      {"cxSDateSaturday", &cxSDateSaturday},
      {"cxSDateFirst", &cxSDateFirst},
      {"cxSDateSecond", &cxSDateSecond},
      {"cxSDateThird", &cxSDateThird},
      {"cxSDateFourth", &cxSDateFourth},
      {"cxSDateFifth", &cxSDateFifth},
      {"cxSDateSixth", &cxSDateSixth},
      {"cxSDateSeventh", &cxSDateSeventh},
      {"cxSDateBOM", &cxSDateBOM},
      {"cxSDateEOM", &cxSDateEOM},
      {"cxSDateNow", &cxSDateNow},
  };
  for (const Entry& e : entries) Product->AddString(e.Name, e.Rec);
}

int gLibraryStrsUnitCount = 0;

}  // namespace

void cxLibraryStrsInitialize() {
  if (gLibraryStrsUnitCount++ > 0) return;
  if (auto* r = GetResourceStringsRepository())
    r->RegisterProduct(cxLibraryProductName, &AddLibraryResourceStringNames);
}

void cxLibraryStrsFinalize() {
  if (gLibraryStrsUnitCount == 0 || --gLibraryStrsUnitCount > 0) return;
  if (auto* r = GetResourceStringsRepository()) r->UnregisterProduct(cxLibraryProductName);
}
