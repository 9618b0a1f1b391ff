#include "suite/bars/dxBarStrs.h"

const TResStringRec dxSBAR_LOOKUPDIALOGCAPTION{64600, "Select value"};
const TResStringRec dxSBAR_LOOKUPDIALOGOK{64601, "OK"};
const TResStringRec dxSBAR_LOOKUPDIALOGCANCEL{64602, "Cancel"};
const TResStringRec dxSBAR_DIALOGOK{64603, "OK"};
const TResStringRec dxSBAR_DIALOGCANCEL{64604, "Cancel"};
const TResStringRec dxSBAR_COLOR_STR_0{64605, "Black"};
const TResStringRec dxSBAR_COLOR_STR_1{64606, "Maroon"};
const TResStringRec dxSBAR_COLOR_STR_2{64607, "Green"};
const TResStringRec dxSBAR_COLOR_STR_3{64608, "Olive"};
const TResStringRec dxSBAR_COLOR_STR_4{64609, "Navy"};
const TResStringRec dxSBAR_COLOR_STR_5{64610, "Purple"};
const TResStringRec dxSBAR_COLOR_STR_6{64611, "Teal"};
const TResStringRec dxSBAR_COLOR_STR_7{64612, "Gray"};
const TResStringRec dxSBAR_COLOR_STR_8{64613, "Silver"};
const TResStringRec dxSBAR_COLOR_STR_9{64614, "Red"};
const TResStringRec dxSBAR_COLOR_STR_10{64615, "Lime"};
const TResStringRec dxSBAR_COLOR_STR_11{64616, "Yellow"};
const TResStringRec dxSBAR_COLOR_STR_12{64617, "Blue"};
const TResStringRec dxSBAR_COLOR_STR_13{64618, "Fuchsia"};
const TResStringRec dxSBAR_COLOR_STR_14{64619, "Aqua"};
const TResStringRec dxSBAR_COLOR_STR_15{64620, "White"};
const TResStringRec dxSBAR_COLORAUTOTEXT{64621, "(automatic)"};
const TResStringRec dxSBAR_COLORCUSTOMTEXT{64622, "(custom)"};
const TResStringRec dxSBAR_DATETODAY{64623, "Today"};
const TResStringRec dxSBAR_DATECLEAR{64624, "Clear"};
const TResStringRec dxSBAR_DATEDIALOGCAPTION{64625, "Select the date"};
const TResStringRec dxSBAR_TREEVIEWDIALOGCAPTION{64626, "Select item"};
const TResStringRec dxSBAR_IMAGEDIALOGCAPTION{64627, "Select item"};
const TResStringRec dxSBAR_IMAGEINDEX{64628, "Image Index"};
const TResStringRec dxSBAR_IMAGETEXT{64629, "Text"};
const TResStringRec dxSBAR_PLACEFORCONTROL{64630, "The place for the "};
const TResStringRec dxSBAR_CANTASSIGNCONTROL{64631, "You cannot assign the same control to more than one TdxBarControlContainerItem"};
const TResStringRec dxSBAR_CXEDITVALUEDIALOGCAPTION{64632, "Enter value"};
const TResStringRec dxSBAR_WANTTORESETTOOLBAR{64633, "Are you sure you want to reset the changes made to the '%s' toolbar?"};
const TResStringRec dxSBAR_WANTTORESETUSAGEDATA{64634, "This will delete the record of the commands you've used in this application and restore the default set of visible commands to the menus and toolbars. It will not undo any explicit customizations.   Are you sure you want to proceed?"};
const TResStringRec dxSBAR_BARMANAGERMORETHANONE{64635, "A control should contain only a single TdxBarManager"};
const TResStringRec dxSBAR_BARMANAGERBADOWNER{64636, "TdxBarManager should have TWinControl as its Owner"};
const TResStringRec dxSBAR_NOBARMANAGERS{64637, "There are no TdxBarManagers available"};
const TResStringRec dxSBAR_WANTTODELETETOOLBAR{64638, "Are you sure you want to delete the '%s' toolbar?"};
const TResStringRec dxSBAR_WANTTODELETETOOLBARS{64639, "Are you sure you want to delete selected toolbars?"};
const TResStringRec dxSBAR_WANTTODELETECATEGORY{64640, "Are you sure you want to delete the '%s' category?"};
const TResStringRec dxSBAR_WANTTOCLEARCOMMANDS{64641, "Are you sure you want to delete all commands in the '%s' category?"};
const TResStringRec dxSBAR_RECURSIVEMENUS{64642, "You cannot create recursive menus"};
const TResStringRec dxSBAR_COMMANDNAMECANNOTBEBLANK{64643, "A command name cannot be blank. Please enter a name."};
const TResStringRec dxSBAR_TOOLBAREXISTS{64644, "A toolbar named '%s' already exists. Type another name."};
const TResStringRec dxSBAR_RECURSIVEGROUPS{64645, "You cannot create recursive groups"};
const TResStringRec dxSBAR_WANTTODELETECOMPLEXITEM{64646, "One of the selected objects is an item which has several links. Are you sure you want to delete these links?"};
const TResStringRec dxSBAR_CANTPLACEQUICKACCESSGROUPBUTTON{64647, "You can place TdxRibbonQuickAccessGroupButton only on TdxRibbonQuickAccessToolbar"};
const TResStringRec dxSBAR_QUICKACCESSGROUPBUTTONTOOLBARNOTDOCKEDINRIBBON{64648, "Quick Access Group Button's Toolbar is not docked in the Ribbon"};
const TResStringRec dxSBAR_QUICKACCESSALREADYHASGROUPBUTTON{64649, "The Quick Access Toolbar already contains GroupButton with the same toolbar"};
const TResStringRec dxSBAR_CANTPLACESEPARATOR{64650, "A separator item cannot be placed on the specified toolbar"};
const TResStringRec dxSBAR_CANTPLACERIBBONGALLERY{64651, "You can place TdxRibbonGalleryItem only on the Ribbon"};
const TResStringRec dxSBAR_CANTMERGEBARMANAGER{64652, "You cannot merge with the specified bar manager"};
const TResStringRec dxSBAR_CANTMERGETOOLBAR{64653, "You cannot merge with the specified toolbar"};
const TResStringRec dxSBAR_CANTMERGEWITHMERGEDTOOLBAR{64654, "You cannot merge a toolbar with a toolbar that is already merged"};
const TResStringRec dxSBAR_CANTUNMERGETOOLBAR{64655, "You cannot unmerge the specified toolbar"};
const TResStringRec dxSBAR_ONEOFTOOLBARSALREADYMERGED{64656, "One of the toolbars of the specified bar manager is already merged"};
const TResStringRec dxSBAR_ONEOFTOOLBARSHASMERGEDTOOLBARS{64657, "One of the toolbars of the specified bar manager has merged toolbars"};
const TResStringRec dxSBAR_TOOLBARHASMERGEDTOOLBARS{64658, "The '%s' toolbar has merged toolbars"};
const TResStringRec dxSBAR_TOOLBARSALREADYMERGED{64659, "The '%s' toolbar is already merged with the '%s' toolbar"};
const TResStringRec dxSBAR_TOOLBARSARENOTMERGED{64660, "The '%s' toolbar is not merged with the '%s' toolbar"};
const TResStringRec dxSBAR_DEFAULTCATEGORYNAME{64661, "Default"};
const TResStringRec dxSBAR_NEWBUTTONCAPTION{64662, "New Button"};
const TResStringRec dxSBAR_NEWITEMCAPTION{64663, "New Item"};
const TResStringRec dxSBAR_NEWRIBBONGALLERYITEMCAPTION{64664, "New Gallery"};
const TResStringRec dxSBAR_NEWSEPARATORCAPTION{64665, "New Separator"};
const TResStringRec dxSBAR_NEWSUBITEMCAPTION{64666, "New SubItem"};
const TResStringRec dxSBAR_CP_ADDSUBITEM{64667, "Add &SubItem"};
const TResStringRec dxSBAR_CP_ADDBUTTON{64668, "Add &Button"};
const TResStringRec dxSBAR_CP_ADDLARGEBUTTON{64669, "Add L&argeButton"};
const TResStringRec dxSBAR_CP_ADDSEPARATOR{64670, "Add &Separator"};
const TResStringRec dxSBAR_CP_ADDDXITEM{64671, "Add &Item"};
const TResStringRec dxSBAR_CP_ADDCXITEM{64672, "Add &cxEditItem"};
const TResStringRec dxSBAR_CP_ADDGROUPBUTTON{64673, "Add Gro&upButton"};
const TResStringRec dxSBAR_CP_DELETEITEM{64674, "Delete Item"};
const TResStringRec dxSBAR_CP_DELETELINK{64675, "Delete Link"};
const TResStringRec dxSBAR_CP_RESET{64676, "&Reset"};
const TResStringRec dxSBAR_CP_DELETE{64677, "&Delete"};
const TResStringRec dxSBAR_CP_NAME{64678, "&Name:"};
const TResStringRec dxSBAR_CP_CAPTION{64679, "&Caption:"};
const TResStringRec dxSBAR_CP_BUTTONPAINTSTYLEMENU{64680, "Button Paint &Style"};
const TResStringRec dxSBAR_CP_DEFAULTSTYLE{64681, "Defa&ult style"};
const TResStringRec dxSBAR_CP_TEXTONLYALWAYS{64682, "&Text Only (Always)"};
const TResStringRec dxSBAR_CP_TEXTONLYINMENUS{64683, "Text &Only (in Menus)"};
const TResStringRec dxSBAR_CP_IMAGEANDTEXT{64684, "Image &and Text"};
const TResStringRec dxSBAR_CP_BEGINAGROUP{64685, "Begin a &Group"};
const TResStringRec dxSBAR_CP_VISIBLE{64686, "&Visible"};
const TResStringRec dxSBAR_CP_MOSTRECENTLYUSED{64687, "&Most recently used"};
const TResStringRec dxSBAR_CP_DISTRIBUTED{64688, "Dis&tributed"};
const TResStringRec dxSBAR_CP_POSITIONMENU{64689, "&Position"};
const TResStringRec dxSBAR_CP_VIEWLEVELSMENU{64690, "View&Levels"};
const TResStringRec dxSBAR_CP_ALLVIEWLEVELS{64691, "All"};
const TResStringRec dxSBAR_CP_SINGLEVIEWLEVELITEMSUFFIX{64692, " ONLY"};
const TResStringRec dxSBAR_CP_BUTTONGROUPMENU{64693, "ButtonG&roup"};
const TResStringRec dxSBAR_CP_BUTTONGROUP{64694, "Group"};
const TResStringRec dxSBAR_CP_BUTTONUNGROUP{64695, "Ungroup"};
const TResStringRec dxSBAR_ADDEX{64696, "Add..."};
const TResStringRec dxSBAR_RENAMEEX{64697, "Rename..."};
const TResStringRec dxSBAR_DELETE{64698, "Delete"};
const TResStringRec dxSBAR_CLEAR{64699, "Clear"};
const TResStringRec dxSBAR_VISIBLE{64700, "Visible"};
const TResStringRec dxSBAR_OK{64701, "OK"};
const TResStringRec dxSBAR_CANCEL{64702, "Cancel"};
const TResStringRec dxSBAR_SUBMENUEDITOR{64703, "SubMenu Editor..."};
const TResStringRec dxSBAR_SUBMENUEDITORCAPTION{64704, "Sonalix SubMenu Editor"};
const TResStringRec dxSBAR_INSERTEX{64705, "Insert..."};
const TResStringRec dxSBAR_MOVEUP{64706, "Move Up"};
const TResStringRec dxSBAR_MOVEDOWN{64707, "Move Down"};
const TResStringRec dxSBAR_POPUPMENUEDITOR{64708, "PopupMenu Editor..."};
const TResStringRec dxSBAR_TABSHEET1{64709, " Toolbars "};
const TResStringRec dxSBAR_TABSHEET2{64710, " Commands "};
const TResStringRec dxSBAR_TABSHEET3{64711, " Options "};
const TResStringRec dxSBAR_TOOLBARS{64712, "Toolb&ars:"};
const TResStringRec dxSBAR_TNEW{64713, "&New..."};
const TResStringRec dxSBAR_TRENAME{64714, "R&ename..."};
const TResStringRec dxSBAR_TDELETE{64715, "&Delete"};
const TResStringRec dxSBAR_TRESET{64716, "&Reset..."};
const TResStringRec dxSBAR_CLOSE{64717, "Close"};
const TResStringRec dxSBAR_CAPTION{64718, "Customize"};
const TResStringRec dxSBAR_CATEGORIES{64719, "Cate&gories:"};
const TResStringRec dxSBAR_COMMANDS{64720, "Comman&ds:"};
const TResStringRec dxSBAR_DESCRIPTION{64721, "Description  "};
const TResStringRec dxSBAR_MDIMINIMIZE{64722, "Minimize Window"};
const TResStringRec dxSBAR_MDIRESTORE{64723, "Restore Window"};
const TResStringRec dxSBAR_MDICLOSE{64724, "Close Window"};
const TResStringRec dxSBAR_CUSTOMIZE{64725, "&Customize..."};
const TResStringRec dxSBAR_ADDREMOVEBUTTONS{64726, "&Add or Remove Buttons"};
const TResStringRec dxSBAR_MOREBUTTONS{64727, "More Buttons"};
const TResStringRec dxSBAR_RESETTOOLBAR{64728, "&Reset Toolbar"};
const TResStringRec dxSBAR_EXPAND{64729, "Expand (Ctrl-Down)"};
const TResStringRec dxSBAR_DRAGTOMAKEMENUFLOAT{64730, "Drag to make this menu float"};
const TResStringRec dxSBAR_MORECOMMANDS{64731, "&More Commands..."};
const TResStringRec dxSBAR_SHOWBELOWRIBBON{64732, "&Show Quick Access Toolbar Below the Ribbon"};
const TResStringRec dxSBAR_SHOWABOVERIBBON{64733, "&Show Quick Access Toolbar Above the Ribbon"};
const TResStringRec dxSBAR_MINIMIZERIBBON{64734, "Mi&nimize the Ribbon"};
const TResStringRec dxSBAR_ADDTOQAT{64735, "&Add to Quick Access Toolbar"};
const TResStringRec dxSBAR_ADDTOQATITEMNAME{64736, "&Add %s to Quick Access Toolbar"};
const TResStringRec dxSBAR_REMOVEFROMQAT{64737, "&Remove from Quick Access Toolbar"};
const TResStringRec dxSBAR_CUSTOMIZEQAT{64738, "Customize Quick Access Toolbar"};
const TResStringRec dxSBAR_ADDGALLERYNAME{64739, "Gallery"};
const TResStringRec dxSBAR_SHOWALLGALLERYGROUPS{64740, "Show all groups"};
const TResStringRec dxSBAR_HIDEALLGALLERYGROUPS{64741, "Hide all groups"};
const TResStringRec dxSBAR_CLEARGALLERYFILTER{64742, "Clear filter"};
const TResStringRec dxSBAR_GALLERYEMPTYFILTERCAPTION{64743, "<empty>"};
const TResStringRec dxSBAR_TOOLBARNEWNAME{64744, "Custom "};
const TResStringRec dxSBAR_CATEGORYADD{64745, "Add Category"};
const TResStringRec dxSBAR_CATEGORYINSERT{64746, "Insert Category"};
const TResStringRec dxSBAR_CATEGORYRENAME{64747, "Rename Category"};
const TResStringRec dxSBAR_TOOLBARADD{64748, "Add Toolbar"};
const TResStringRec dxSBAR_TOOLBARRENAME{64749, "Rename Toolbar"};
const TResStringRec dxSBAR_CATEGORYNAME{64750, "&Category name:"};
const TResStringRec dxSBAR_TOOLBARNAME{64751, "&Toolbar name:"};
const TResStringRec dxSBAR_CUSTOMIZINGFORM{64752, "Customization Form..."};
const TResStringRec dxSBAR_MODIFY{64753, "... modify"};
const TResStringRec dxSBAR_PERSMENUSANDTOOLBARS{64754, "Personalized Menus and Toolbars  "};
const TResStringRec dxSBAR_MENUSSHOWRECENTITEMS{64755, "Me&nus show recently used commands first"};
const TResStringRec dxSBAR_SHOWFULLMENUSAFTERDELAY{64756, "Show f&ull menus after a short delay"};
const TResStringRec dxSBAR_RESETUSAGEDATA{64757, "&Reset my usage data"};
const TResStringRec dxSBAR_OTHEROPTIONS{64758, "Other  "};
const TResStringRec dxSBAR_LARGEICONS{64759, "&Large icons"};
const TResStringRec dxSBAR_HINTOPT1{64760, "Show Tool&Tips on toolbars"};
const TResStringRec dxSBAR_HINTOPT2{64761, "Show s&hortcut keys in ToolTips"};
const TResStringRec dxSBAR_MENUANIMATIONS{64762, "&Menu animations:"};
const TResStringRec dxSBAR_MENUANIM1{64763, "(None)"};
const TResStringRec dxSBAR_CANTFINDBARMANAGERFORSTATUSBAR{64764, "A bar manager cannot be found for the status bar"};
const TResStringRec dxSBAR_BUTTONDEFAULTACTIONDESCRIPTION{64765, "Press"};
const TResStringRec SBlob{64766, "(Blob)"};
const TResStringRec dxSBAR_APPMENUOUTSIDERIBBON{64767, "The Application Menu cannot be displayed outside the Ribbon"};
const TResStringRec dxSBAR_GDIPLUSNEEDED{64768, "%s requires the Microsoft GDI+ library to be installed"};
const TResStringRec dxSBAR_RIBBONMORETHANONE{64769, "There should be only one %s instance on the form"};
const TResStringRec dxSBAR_RIBBONBADOWNER{64770, "%s should have TCustomForm as its Owner"};
const TResStringRec dxSBAR_RIBBONBADPARENT{64771, "%s should have TCustomForm as its Parent"};
const TResStringRec dxSBAR_RIBBONADDTAB{64772, "Add Tab"};
const TResStringRec dxSBAR_RIBBONDELETETAB{64773, "Delete Tab"};
const TResStringRec dxSBAR_RIBBONADDEMPTYGROUP{64774, "Add Empty Group"};
const TResStringRec dxSBAR_RIBBONADDGROUPWITHTOOLBAR{64775, "Add Group With Toolbar"};
const TResStringRec dxSBAR_RIBBONDELETEGROUP{64776, "Delete Group"};
const TResStringRec dxSBAR_ACCESSIBILITY_RIBBONNAME{64777, "Ribbon"};
const TResStringRec dxSBAR_ACCESSIBILITY_RIBBONTABCOLLECTIONNAME{64778, "Ribbon Tabs"};

const char* const dxBarProductName = "Sonalix Bars";

void RegisterBarResourceStrings(TdxProductResourceStrings* Product) {
  struct TRow {
    const char* Name;
    const TResStringRec* Rec;
  };
  static const TRow rows[] = {
      {"dxSBAR_LOOKUPDIALOGCAPTION", &dxSBAR_LOOKUPDIALOGCAPTION},
      {"dxSBAR_LOOKUPDIALOGOK", &dxSBAR_LOOKUPDIALOGOK},
      {"dxSBAR_LOOKUPDIALOGCANCEL", &dxSBAR_LOOKUPDIALOGCANCEL},
      {"dxSBAR_DIALOGOK", &dxSBAR_DIALOGOK},
      {"dxSBAR_DIALOGCANCEL", &dxSBAR_DIALOGCANCEL},
      {"dxSBAR_COLOR_STR_0", &dxSBAR_COLOR_STR_0},
      {"dxSBAR_COLOR_STR_1", &dxSBAR_COLOR_STR_1},
      {"dxSBAR_COLOR_STR_2", &dxSBAR_COLOR_STR_2},
      {"dxSBAR_COLOR_STR_3", &dxSBAR_COLOR_STR_3},
      {"dxSBAR_COLOR_STR_4", &dxSBAR_COLOR_STR_4},
      {"dxSBAR_COLOR_STR_5", &dxSBAR_COLOR_STR_5},
      {"dxSBAR_COLOR_STR_6", &dxSBAR_COLOR_STR_6},
      {"dxSBAR_COLOR_STR_7", &dxSBAR_COLOR_STR_7},
      {"dxSBAR_COLOR_STR_8", &dxSBAR_COLOR_STR_8},
      {"dxSBAR_COLOR_STR_9", &dxSBAR_COLOR_STR_9},
      {"dxSBAR_COLOR_STR_10", &dxSBAR_COLOR_STR_10},
      {"dxSBAR_COLOR_STR_11", &dxSBAR_COLOR_STR_11},
      {"dxSBAR_COLOR_STR_12", &dxSBAR_COLOR_STR_12},
      {"dxSBAR_COLOR_STR_13", &dxSBAR_COLOR_STR_13},
      {"dxSBAR_COLOR_STR_14", &dxSBAR_COLOR_STR_14},
      {"dxSBAR_COLOR_STR_15", &dxSBAR_COLOR_STR_15},
      {"dxSBAR_COLORAUTOTEXT", &dxSBAR_COLORAUTOTEXT},
      {"dxSBAR_COLORCUSTOMTEXT", &dxSBAR_COLORCUSTOMTEXT},
      {"dxSBAR_DATETODAY", &dxSBAR_DATETODAY},
      {"dxSBAR_DATECLEAR", &dxSBAR_DATECLEAR},
      {"dxSBAR_DATEDIALOGCAPTION", &dxSBAR_DATEDIALOGCAPTION},
      {"dxSBAR_TREEVIEWDIALOGCAPTION", &dxSBAR_TREEVIEWDIALOGCAPTION},
      {"dxSBAR_IMAGEDIALOGCAPTION", &dxSBAR_IMAGEDIALOGCAPTION},
      {"dxSBAR_IMAGEINDEX", &dxSBAR_IMAGEINDEX},
      {"dxSBAR_IMAGETEXT", &dxSBAR_IMAGETEXT},
      {"dxSBAR_PLACEFORCONTROL", &dxSBAR_PLACEFORCONTROL},
      {"dxSBAR_CANTASSIGNCONTROL", &dxSBAR_CANTASSIGNCONTROL},
      {"dxSBAR_CXEDITVALUEDIALOGCAPTION", &dxSBAR_CXEDITVALUEDIALOGCAPTION},
      {"dxSBAR_WANTTORESETTOOLBAR", &dxSBAR_WANTTORESETTOOLBAR},
      {"dxSBAR_WANTTORESETUSAGEDATA", &dxSBAR_WANTTORESETUSAGEDATA},
      {"dxSBAR_BARMANAGERMORETHANONE", &dxSBAR_BARMANAGERMORETHANONE},
      {"dxSBAR_BARMANAGERBADOWNER", &dxSBAR_BARMANAGERBADOWNER},
      {"dxSBAR_NOBARMANAGERS", &dxSBAR_NOBARMANAGERS},
      {"dxSBAR_WANTTODELETETOOLBAR", &dxSBAR_WANTTODELETETOOLBAR},
      {"dxSBAR_WANTTODELETETOOLBARS", &dxSBAR_WANTTODELETETOOLBARS},
      {"dxSBAR_WANTTODELETECATEGORY", &dxSBAR_WANTTODELETECATEGORY},
      {"dxSBAR_WANTTOCLEARCOMMANDS", &dxSBAR_WANTTOCLEARCOMMANDS},
      {"dxSBAR_RECURSIVEMENUS", &dxSBAR_RECURSIVEMENUS},
      {"dxSBAR_COMMANDNAMECANNOTBEBLANK", &dxSBAR_COMMANDNAMECANNOTBEBLANK},
      {"dxSBAR_TOOLBAREXISTS", &dxSBAR_TOOLBAREXISTS},
      {"dxSBAR_RECURSIVEGROUPS", &dxSBAR_RECURSIVEGROUPS},
      {"dxSBAR_WANTTODELETECOMPLEXITEM", &dxSBAR_WANTTODELETECOMPLEXITEM},
      {"dxSBAR_CANTPLACEQUICKACCESSGROUPBUTTON", &dxSBAR_CANTPLACEQUICKACCESSGROUPBUTTON},
      {"dxSBAR_QUICKACCESSGROUPBUTTONTOOLBARNOTDOCKEDINRIBBON", &dxSBAR_QUICKACCESSGROUPBUTTONTOOLBARNOTDOCKEDINRIBBON},
      {"dxSBAR_QUICKACCESSALREADYHASGROUPBUTTON", &dxSBAR_QUICKACCESSALREADYHASGROUPBUTTON},
      {"dxSBAR_CANTPLACESEPARATOR", &dxSBAR_CANTPLACESEPARATOR},
      {"dxSBAR_CANTPLACERIBBONGALLERY", &dxSBAR_CANTPLACERIBBONGALLERY},
      {"dxSBAR_CANTMERGEBARMANAGER", &dxSBAR_CANTMERGEBARMANAGER},
      {"dxSBAR_CANTMERGETOOLBAR", &dxSBAR_CANTMERGETOOLBAR},
      {"dxSBAR_CANTMERGEWITHMERGEDTOOLBAR", &dxSBAR_CANTMERGEWITHMERGEDTOOLBAR},
      {"dxSBAR_CANTUNMERGETOOLBAR", &dxSBAR_CANTUNMERGETOOLBAR},
      {"dxSBAR_ONEOFTOOLBARSALREADYMERGED", &dxSBAR_ONEOFTOOLBARSALREADYMERGED},
      {"dxSBAR_ONEOFTOOLBARSHASMERGEDTOOLBARS", &dxSBAR_ONEOFTOOLBARSHASMERGEDTOOLBARS},
      {"dxSBAR_TOOLBARHASMERGEDTOOLBARS", &dxSBAR_TOOLBARHASMERGEDTOOLBARS},
      {"dxSBAR_TOOLBARSALREADYMERGED", &dxSBAR_TOOLBARSALREADYMERGED},
      {"dxSBAR_TOOLBARSARENOTMERGED", &dxSBAR_TOOLBARSARENOTMERGED},
      {"dxSBAR_DEFAULTCATEGORYNAME", &dxSBAR_DEFAULTCATEGORYNAME},
      {"dxSBAR_NEWBUTTONCAPTION", &dxSBAR_NEWBUTTONCAPTION},
      {"dxSBAR_NEWITEMCAPTION", &dxSBAR_NEWITEMCAPTION},
      {"dxSBAR_NEWRIBBONGALLERYITEMCAPTION", &dxSBAR_NEWRIBBONGALLERYITEMCAPTION},
      {"dxSBAR_NEWSEPARATORCAPTION", &dxSBAR_NEWSEPARATORCAPTION},
      {"dxSBAR_NEWSUBITEMCAPTION", &dxSBAR_NEWSUBITEMCAPTION},
      {"dxSBAR_CP_ADDSUBITEM", &dxSBAR_CP_ADDSUBITEM},
      {"dxSBAR_CP_ADDBUTTON", &dxSBAR_CP_ADDBUTTON},
      {"dxSBAR_CP_ADDLARGEBUTTON", &dxSBAR_CP_ADDLARGEBUTTON},
      {"dxSBAR_CP_ADDSEPARATOR", &dxSBAR_CP_ADDSEPARATOR},
      {"dxSBAR_CP_ADDDXITEM", &dxSBAR_CP_ADDDXITEM},
      {"dxSBAR_CP_ADDCXITEM", &dxSBAR_CP_ADDCXITEM},
      {"dxSBAR_CP_ADDGROUPBUTTON", &dxSBAR_CP_ADDGROUPBUTTON},
      {"dxSBAR_CP_DELETEITEM", &dxSBAR_CP_DELETEITEM},
      {"dxSBAR_CP_DELETELINK", &dxSBAR_CP_DELETELINK},
      {"dxSBAR_CP_RESET", &dxSBAR_CP_RESET},
      {"dxSBAR_CP_DELETE", &dxSBAR_CP_DELETE},
      {"dxSBAR_CP_NAME", &dxSBAR_CP_NAME},
      {"dxSBAR_CP_CAPTION", &dxSBAR_CP_CAPTION},
      {"dxSBAR_CP_BUTTONPAINTSTYLEMENU", &dxSBAR_CP_BUTTONPAINTSTYLEMENU},
      {"dxSBAR_CP_DEFAULTSTYLE", &dxSBAR_CP_DEFAULTSTYLE},
      {"dxSBAR_CP_TEXTONLYALWAYS", &dxSBAR_CP_TEXTONLYALWAYS},
      {"dxSBAR_CP_TEXTONLYINMENUS", &dxSBAR_CP_TEXTONLYINMENUS},
      {"dxSBAR_CP_IMAGEANDTEXT", &dxSBAR_CP_IMAGEANDTEXT},
      {"dxSBAR_CP_BEGINAGROUP", &dxSBAR_CP_BEGINAGROUP},
      {"dxSBAR_CP_VISIBLE", &dxSBAR_CP_VISIBLE},
      {"dxSBAR_CP_MOSTRECENTLYUSED", &dxSBAR_CP_MOSTRECENTLYUSED},
      {"dxSBAR_CP_DISTRIBUTED", &dxSBAR_CP_DISTRIBUTED},
      {"dxSBAR_CP_POSITIONMENU", &dxSBAR_CP_POSITIONMENU},
      {"dxSBAR_CP_VIEWLEVELSMENU", &dxSBAR_CP_VIEWLEVELSMENU},
      {"dxSBAR_CP_ALLVIEWLEVELS", &dxSBAR_CP_ALLVIEWLEVELS},
      {"dxSBAR_CP_SINGLEVIEWLEVELITEMSUFFIX", &dxSBAR_CP_SINGLEVIEWLEVELITEMSUFFIX},
      {"dxSBAR_CP_BUTTONGROUPMENU", &dxSBAR_CP_BUTTONGROUPMENU},
      {"dxSBAR_CP_BUTTONGROUP", &dxSBAR_CP_BUTTONGROUP},
      {"dxSBAR_CP_BUTTONUNGROUP", &dxSBAR_CP_BUTTONUNGROUP},
      {"dxSBAR_ADDEX", &dxSBAR_ADDEX},
      {"dxSBAR_RENAMEEX", &dxSBAR_RENAMEEX},
      {"dxSBAR_DELETE", &dxSBAR_DELETE},
      {"dxSBAR_CLEAR", &dxSBAR_CLEAR},
      {"dxSBAR_VISIBLE", &dxSBAR_VISIBLE},
      {"dxSBAR_OK", &dxSBAR_OK},
      {"dxSBAR_CANCEL", &dxSBAR_CANCEL},
      {"dxSBAR_SUBMENUEDITOR", &dxSBAR_SUBMENUEDITOR},
      {"dxSBAR_SUBMENUEDITORCAPTION", &dxSBAR_SUBMENUEDITORCAPTION},
      {"dxSBAR_INSERTEX", &dxSBAR_INSERTEX},
      {"dxSBAR_MOVEUP", &dxSBAR_MOVEUP},
      {"dxSBAR_MOVEDOWN", &dxSBAR_MOVEDOWN},
      {"dxSBAR_POPUPMENUEDITOR", &dxSBAR_POPUPMENUEDITOR},
      {"dxSBAR_TABSHEET1", &dxSBAR_TABSHEET1},
      {"dxSBAR_TABSHEET2", &dxSBAR_TABSHEET2},
      {"dxSBAR_TABSHEET3", &dxSBAR_TABSHEET3},
      {"dxSBAR_TOOLBARS", &dxSBAR_TOOLBARS},
      {"dxSBAR_TNEW", &dxSBAR_TNEW},
      {"dxSBAR_TRENAME", &dxSBAR_TRENAME},
      {"dxSBAR_TDELETE", &dxSBAR_TDELETE},
      {"dxSBAR_TRESET", &dxSBAR_TRESET},
      {"dxSBAR_CLOSE", &dxSBAR_CLOSE},
      {"dxSBAR_CAPTION", &dxSBAR_CAPTION},
      {"dxSBAR_CATEGORIES", &dxSBAR_CATEGORIES},
      {"dxSBAR_COMMANDS", &dxSBAR_COMMANDS},
      {"dxSBAR_DESCRIPTION", &dxSBAR_DESCRIPTION},
      {"dxSBAR_MDIMINIMIZE", &dxSBAR_MDIMINIMIZE},
      {"dxSBAR_MDIRESTORE", &dxSBAR_MDIRESTORE},
      {"dxSBAR_MDICLOSE", &dxSBAR_MDICLOSE},
      {"dxSBAR_CUSTOMIZE", &dxSBAR_CUSTOMIZE},
      {"dxSBAR_ADDREMOVEBUTTONS", &dxSBAR_ADDREMOVEBUTTONS},
      {"dxSBAR_MOREBUTTONS", &dxSBAR_MOREBUTTONS},
      {"dxSBAR_RESETTOOLBAR", &dxSBAR_RESETTOOLBAR},
      {"dxSBAR_EXPAND", &dxSBAR_EXPAND},
      {"dxSBAR_DRAGTOMAKEMENUFLOAT", &dxSBAR_DRAGTOMAKEMENUFLOAT},
      {"dxSBAR_MORECOMMANDS", &dxSBAR_MORECOMMANDS},
      {"dxSBAR_SHOWBELOWRIBBON", &dxSBAR_SHOWBELOWRIBBON},
      {"dxSBAR_SHOWABOVERIBBON", &dxSBAR_SHOWABOVERIBBON},
      {"dxSBAR_MINIMIZERIBBON", &dxSBAR_MINIMIZERIBBON},
      {"dxSBAR_ADDTOQAT", &dxSBAR_ADDTOQAT},
      {"dxSBAR_ADDTOQATITEMNAME", &dxSBAR_ADDTOQATITEMNAME},
      {"dxSBAR_REMOVEFROMQAT", &dxSBAR_REMOVEFROMQAT},
      {"dxSBAR_CUSTOMIZEQAT", &dxSBAR_CUSTOMIZEQAT},
      {"dxSBAR_ADDGALLERYNAME", &dxSBAR_ADDGALLERYNAME},
      {"dxSBAR_SHOWALLGALLERYGROUPS", &dxSBAR_SHOWALLGALLERYGROUPS},
      {"dxSBAR_HIDEALLGALLERYGROUPS", &dxSBAR_HIDEALLGALLERYGROUPS},
      {"dxSBAR_CLEARGALLERYFILTER", &dxSBAR_CLEARGALLERYFILTER},
      {"dxSBAR_GALLERYEMPTYFILTERCAPTION", &dxSBAR_GALLERYEMPTYFILTERCAPTION},
      {"dxSBAR_TOOLBARNEWNAME", &dxSBAR_TOOLBARNEWNAME},
      {"dxSBAR_CATEGORYADD", &dxSBAR_CATEGORYADD},
      {"dxSBAR_CATEGORYINSERT", &dxSBAR_CATEGORYINSERT},
      {"dxSBAR_CATEGORYRENAME", &dxSBAR_CATEGORYRENAME},
      {"dxSBAR_TOOLBARADD", &dxSBAR_TOOLBARADD},
      {"dxSBAR_TOOLBARRENAME", &dxSBAR_TOOLBARRENAME},
      {"dxSBAR_CATEGORYNAME", &dxSBAR_CATEGORYNAME},
      {"dxSBAR_TOOLBARNAME", &dxSBAR_TOOLBARNAME},
      {"dxSBAR_CUSTOMIZINGFORM", &dxSBAR_CUSTOMIZINGFORM},
      {"dxSBAR_MODIFY", &dxSBAR_MODIFY},
      {"dxSBAR_PERSMENUSANDTOOLBARS", &dxSBAR_PERSMENUSANDTOOLBARS},
      {"dxSBAR_MENUSSHOWRECENTITEMS", &dxSBAR_MENUSSHOWRECENTITEMS},
      {"dxSBAR_SHOWFULLMENUSAFTERDELAY", &dxSBAR_SHOWFULLMENUSAFTERDELAY},
      {"dxSBAR_RESETUSAGEDATA", &dxSBAR_RESETUSAGEDATA},
      {"dxSBAR_OTHEROPTIONS", &dxSBAR_OTHEROPTIONS},
      {"dxSBAR_LARGEICONS", &dxSBAR_LARGEICONS},
      {"dxSBAR_HINTOPT1", &dxSBAR_HINTOPT1},
      {"dxSBAR_HINTOPT2", &dxSBAR_HINTOPT2},
      {"dxSBAR_MENUANIMATIONS", &dxSBAR_MENUANIMATIONS},
      {"dxSBAR_MENUANIM1", &dxSBAR_MENUANIM1},
      {"dxSBAR_CANTFINDBARMANAGERFORSTATUSBAR", &dxSBAR_CANTFINDBARMANAGERFORSTATUSBAR},
      {"dxSBAR_BUTTONDEFAULTACTIONDESCRIPTION", &dxSBAR_BUTTONDEFAULTACTIONDESCRIPTION},
      {"SBlob", &SBlob},
      {"dxSBAR_APPMENUOUTSIDERIBBON", &dxSBAR_APPMENUOUTSIDERIBBON},
      {"dxSBAR_GDIPLUSNEEDED", &dxSBAR_GDIPLUSNEEDED},
      {"dxSBAR_RIBBONMORETHANONE", &dxSBAR_RIBBONMORETHANONE},
      {"dxSBAR_RIBBONBADOWNER", &dxSBAR_RIBBONBADOWNER},
      {"dxSBAR_RIBBONBADPARENT", &dxSBAR_RIBBONBADPARENT},
      {"dxSBAR_RIBBONADDTAB", &dxSBAR_RIBBONADDTAB},
      {"dxSBAR_RIBBONDELETETAB", &dxSBAR_RIBBONDELETETAB},
      {"dxSBAR_RIBBONADDEMPTYGROUP", &dxSBAR_RIBBONADDEMPTYGROUP},
      {"dxSBAR_RIBBONADDGROUPWITHTOOLBAR", &dxSBAR_RIBBONADDGROUPWITHTOOLBAR},
      {"dxSBAR_RIBBONDELETEGROUP", &dxSBAR_RIBBONDELETEGROUP},
      {"dxSBAR_ACCESSIBILITY_RIBBONNAME", &dxSBAR_ACCESSIBILITY_RIBBONNAME},
      {"dxSBAR_ACCESSIBILITY_RIBBONTABCOLLECTIONNAME", &dxSBAR_ACCESSIBILITY_RIBBONTABCOLLECTIONNAME},
  };
  for (const TRow& r : rows) Product->AddString(r.Name, r.Rec);
}
