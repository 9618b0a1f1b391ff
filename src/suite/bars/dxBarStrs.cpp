#include "suite/bars/dxBarStrs.h"

const TResStringRec dxSBAR_BARMANAGERMORETHANONE{64700,
                                                 "A control should contain only a single TdxBarManager"};
const TResStringRec dxSBAR_BARMANAGERBADOWNER{64701,
                                              "TdxBarManager should have TWinControl as its Owner"};
const TResStringRec dxSBAR_NOBARMANAGERS{64702, "There are no TdxBarManagers available"};
const TResStringRec dxSBAR_RECURSIVEMENUS{64703, "You cannot create recursive menus"};
const TResStringRec dxSBAR_RECURSIVEGROUPS{64704, "You cannot create recursive groups"};
const TResStringRec dxSBAR_CANTPLACESEPARATOR{
    64705, "A separator item cannot be placed on the specified toolbar"};
const TResStringRec dxSBAR_CANTMERGETOOLBAR{64706, "You cannot merge with the specified toolbar"};
const TResStringRec dxSBAR_CANTMERGEWITHMERGEDTOOLBAR{
    64707, "You cannot merge a toolbar with a toolbar that is already merged"};
const TResStringRec dxSBAR_CANTUNMERGETOOLBAR{64708, "You cannot unmerge the specified toolbar"};
const TResStringRec dxSBAR_DEFAULTCATEGORYNAME{64709, "Default"};
const TResStringRec dxSBAR_NEWBUTTONCAPTION{64710, "New Button"};
const TResStringRec dxSBAR_NEWITEMCAPTION{64711, "New Item"};
const TResStringRec dxSBAR_NEWSEPARATORCAPTION{64712, "New Separator"};
const TResStringRec dxSBAR_NEWSUBITEMCAPTION{64713, "New SubItem"};
const TResStringRec dxSBAR_SUBMENUEDITORCAPTION{64714, "Sonalix SubMenu Editor"};

const char* const dxBarProductName = "Sonalix Bars";

void RegisterBarResourceStrings(TdxProductResourceStrings* Product) {
  struct {
    const char* Name;
    const TResStringRec* Rec;
  } const rows[] = {
      {"dxSBAR_BARMANAGERMORETHANONE", &dxSBAR_BARMANAGERMORETHANONE},
      {"dxSBAR_BARMANAGERBADOWNER", &dxSBAR_BARMANAGERBADOWNER},
      {"dxSBAR_NOBARMANAGERS", &dxSBAR_NOBARMANAGERS},
      {"dxSBAR_RECURSIVEMENUS", &dxSBAR_RECURSIVEMENUS},
      {"dxSBAR_RECURSIVEGROUPS", &dxSBAR_RECURSIVEGROUPS},
      {"dxSBAR_CANTPLACESEPARATOR", &dxSBAR_CANTPLACESEPARATOR},
      {"dxSBAR_CANTMERGETOOLBAR", &dxSBAR_CANTMERGETOOLBAR},
      {"dxSBAR_CANTMERGEWITHMERGEDTOOLBAR", &dxSBAR_CANTMERGEWITHMERGEDTOOLBAR},
      {"dxSBAR_CANTUNMERGETOOLBAR", &dxSBAR_CANTUNMERGETOOLBAR},
      {"dxSBAR_DEFAULTCATEGORYNAME", &dxSBAR_DEFAULTCATEGORYNAME},
      {"dxSBAR_NEWBUTTONCAPTION", &dxSBAR_NEWBUTTONCAPTION},
      {"dxSBAR_NEWITEMCAPTION", &dxSBAR_NEWITEMCAPTION},
      {"dxSBAR_NEWSEPARATORCAPTION", &dxSBAR_NEWSEPARATORCAPTION},
      {"dxSBAR_NEWSUBITEMCAPTION", &dxSBAR_NEWSUBITEMCAPTION},
      {"dxSBAR_SUBMENUEDITORCAPTION", &dxSBAR_SUBMENUEDITORCAPTION},
  };
  for (const auto& r : rows) Product->AddString(r.Name, r.Rec);
}
