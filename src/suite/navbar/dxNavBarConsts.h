#pragma once
// The navigation bar's texts, registered as one product so that a localizer can replace them.

#include "suite/core/dxCore.h"

extern const TResStringRec sdxNavigationPaneOverflowPanelCustomizeHint;
extern const TResStringRec sdxNavigationPaneMinimizeNavPaneSignHint;
extern const TResStringRec sdxNavigationPaneExpandNavPaneSignHint;
extern const TResStringRec sdxNavigationPaneCollapseBarHint;
extern const TResStringRec sdxNavigationPaneCollapseBar;
extern const TResStringRec sdxInvalideGroupControl;
extern const TResStringRec sdxInvalidLink;
extern const TResStringRec sdxCannotFindView;
extern const TResStringRec sdxViewAlreadyExists;
extern const TResStringRec sdxNavBarOffice11ShowMoreButtons;
extern const TResStringRec sdxNavBarOffice11ShowFewerButtons;
extern const TResStringRec sdxNavBarOffice11AddRemoveButtons;
extern const TResStringRec sdxNavBarCustomizationCaption;
extern const TResStringRec sdxNavBarNewGroupCaption;
extern const TResStringRec sdxNavBarNewGroupsCaption;
extern const TResStringRec sdxNavBarNewItemsCaption;
extern const TResStringRec sdxNavBarAddGroup;
extern const TResStringRec sdxNavBarDelete;
extern const TResStringRec sdxNavBarExpandAll;
extern const TResStringRec sdxNavBarCollapseAll;

// The product name the strings are registered under.
extern const char* const dxNavBarProductName;

void dxNavBarConstsInitialize();
void dxNavBarConstsFinalize();
