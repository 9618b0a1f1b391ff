#include "suite/navbar/dxNavBarConsts.h"

const TResStringRec sdxNavigationPaneOverflowPanelCustomizeHint{64966, "Configure buttons"};
const TResStringRec sdxNavigationPaneMinimizeNavPaneSignHint{64967, "Minimize Navigation Pane"};
const TResStringRec sdxNavigationPaneExpandNavPaneSignHint{64968, "Expand Navigation Pane"};
const TResStringRec sdxNavigationPaneCollapseBarHint{64969, "Click to expand Navigation Pane"};
const TResStringRec sdxNavigationPaneCollapseBar{64970, "Navigation Pane"};
const TResStringRec sdxInvalideGroupControl{64971, "Invalid the TdxNavBarGroupControl parent or group."};
const TResStringRec sdxInvalidLink{
    64972,
    "You cannot create a link to the '%s' item within the '%s' group because they belong to different NavBar "
    "controls"};
const TResStringRec sdxCannotFindView{64973, "Cannot find view with ID = %d."};
const TResStringRec sdxViewAlreadyExists{64974, "ID of view = %d is already exists."};
const TResStringRec sdxNavBarOffice11ShowMoreButtons{64975, "Show &More Buttons"};
const TResStringRec sdxNavBarOffice11ShowFewerButtons{64944, "Show &Fewer Buttons"};
const TResStringRec sdxNavBarOffice11AddRemoveButtons{64945, "&Add or Remove Buttons"};
const TResStringRec sdxNavBarCustomizationCaption{64946, "Customization"};
const TResStringRec sdxNavBarNewGroupCaption{64947, "New Group"};
const TResStringRec sdxNavBarNewGroupsCaption{64948, "Groups and links:"};
const TResStringRec sdxNavBarNewItemsCaption{64949, "Items:"};
const TResStringRec sdxNavBarAddGroup{64950, "Add Group"};
const TResStringRec sdxNavBarDelete{64951, "Delete"};
const TResStringRec sdxNavBarExpandAll{64952, "Expand All"};
const TResStringRec sdxNavBarCollapseAll{64953, "Collapse All"};

const char* const dxNavBarProductName = "Sonalix Navigation Bar";

namespace {

int gUnitCount = 0;

void AddNavBarResourceStringNames(TdxProductResourceStrings* Product) {
  struct Entry {
    const char* Name;
    const TResStringRec* Rec;
  };
  static const Entry entries[] = {
      {"sdxNavigationPaneOverflowPanelCustomizeHint", &sdxNavigationPaneOverflowPanelCustomizeHint},
      {"sdxNavigationPaneMinimizeNavPaneSignHint", &sdxNavigationPaneMinimizeNavPaneSignHint},
      {"sdxNavigationPaneExpandNavPaneSignHint", &sdxNavigationPaneExpandNavPaneSignHint},
      {"sdxNavigationPaneCollapseBarHint", &sdxNavigationPaneCollapseBarHint},
      {"sdxNavigationPaneCollapseBar", &sdxNavigationPaneCollapseBar},
      {"sdxInvalideGroupControl", &sdxInvalideGroupControl},
      {"sdxInvalidLink", &sdxInvalidLink},
      {"sdxCannotFindView", &sdxCannotFindView},
      {"sdxViewAlreadyExists", &sdxViewAlreadyExists},
      {"sdxNavBarOffice11ShowMoreButtons", &sdxNavBarOffice11ShowMoreButtons},
      {"sdxNavBarOffice11ShowFewerButtons", &sdxNavBarOffice11ShowFewerButtons},
      {"sdxNavBarOffice11AddRemoveButtons", &sdxNavBarOffice11AddRemoveButtons},
      {"sdxNavBarCustomizationCaption", &sdxNavBarCustomizationCaption},
      {"sdxNavBarNewGroupCaption", &sdxNavBarNewGroupCaption},
      {"sdxNavBarNewGroupsCaption", &sdxNavBarNewGroupsCaption},
      {"sdxNavBarNewItemsCaption", &sdxNavBarNewItemsCaption},
      {"sdxNavBarAddGroup", &sdxNavBarAddGroup},
      {"sdxNavBarDelete", &sdxNavBarDelete},
      {"sdxNavBarExpandAll", &sdxNavBarExpandAll},
      {"sdxNavBarCollapseAll", &sdxNavBarCollapseAll},
  };
  for (const Entry& e : entries) Product->AddString(e.Name, e.Rec);
}

}  // namespace

void dxNavBarConstsInitialize() {
  if (gUnitCount++ > 0) return;
  GetResourceStringsRepository()->RegisterProduct(dxNavBarProductName, &AddNavBarResourceStringNames);
}

void dxNavBarConstsFinalize() {
  if (gUnitCount == 0 || --gUnitCount > 0) return;
  if (TdxResourceStringsRepository* r = GetResourceStringsRepository()) r->UnregisterProduct(dxNavBarProductName);
}
