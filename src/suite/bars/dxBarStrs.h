#pragma once
// The texts of the bar libraries, registered so that a localizer can replace them.

#include "suite/core/cxClasses.h"
#include "suite/core/dxCore.h"

extern const TResStringRec dxSBAR_BARMANAGERMORETHANONE;
extern const TResStringRec dxSBAR_BARMANAGERBADOWNER;
extern const TResStringRec dxSBAR_NOBARMANAGERS;
extern const TResStringRec dxSBAR_RECURSIVEMENUS;
extern const TResStringRec dxSBAR_RECURSIVEGROUPS;
extern const TResStringRec dxSBAR_CANTPLACESEPARATOR;
extern const TResStringRec dxSBAR_CANTMERGETOOLBAR;
extern const TResStringRec dxSBAR_CANTMERGEWITHMERGEDTOOLBAR;
extern const TResStringRec dxSBAR_CANTUNMERGETOOLBAR;
extern const TResStringRec dxSBAR_DEFAULTCATEGORYNAME;
extern const TResStringRec dxSBAR_NEWBUTTONCAPTION;
extern const TResStringRec dxSBAR_NEWITEMCAPTION;
extern const TResStringRec dxSBAR_NEWSEPARATORCAPTION;
extern const TResStringRec dxSBAR_NEWSUBITEMCAPTION;
extern const TResStringRec dxSBAR_SUBMENUEDITORCAPTION;

// The product the bar strings are registered under.
extern const char* const dxBarProductName;
void RegisterBarResourceStrings(TdxProductResourceStrings* Product);
