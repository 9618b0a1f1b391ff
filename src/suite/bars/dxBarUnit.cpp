// Start-up and shut-down of the bar library: class and property registration for stored
// descriptions, the item registry, the manager list and the drag cursors.

#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include <QtCore/QtGlobal>
#include "platform/rtl/TypInfo.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarFlatPainter.h"
#include "suite/bars/dxBarGlyphCache.h"
#include "suite/bars/dxBarOffice11Painter.h"
#include "suite/bars/dxBarItemControls.h"
#include "suite/bars/dxBarMDI.h"
#include "suite/bars/dxBarNavigation.h"
#include "suite/bars/dxBarStrs.h"
#include "suite/core/dxScreenTip.h"
#include "suite/bars/dxBarSubMenu.h"

void dxBarUnitStart(bool Start);

static void InitBarCursors() { Q_INIT_RESOURCE(sonalix_bar_cursors); }

namespace {

int gUnitCount = 0;

template <class T>
void PublishItemBase() {
  Published<T>()
      .Property("Action", &T::Action, &T::SetAction)
      .Property("Align", &T::Align, &T::SetAlign).Default(iaLeft)
      .Property("Caption", &T::Caption, &T::SetCaption).Stored(&T::StoresCaption)
      .Property("Category", &T::Category, &T::SetCategory)
      .Property("Description", &T::Description, &T::SetDescription)
      .Property("Enabled", [](T* t) { return t->Enabled(); }, [](T* t, bool v) { t->SetEnabled(v); })
      .Default(1).Stored(&T::StoresEnabled)
      .Property("HelpContext", &T::HelpContext, &T::SetHelpContext).Default(0)
      .Stored(&T::StoresHelpContext)
      .Property("Hint", &T::Hint, &T::SetHint).Stored(&T::StoresHint)
      .Property("KeyTip", &T::KeyTip, &T::SetKeyTip)
      .Property("MergeKind", &T::MergeKind, &T::SetMergeKind).Default(mkAdd)
      .Property("MergeOrder", &T::MergeOrder, &T::SetMergeOrder).Default(0)
      .Property("Style", &T::Style, &T::SetStyle)
      .Property("ScreenTip", [](T* t) { return t->ScreenTip(); },
                [](T* t, TdxScreenTip* v) { t->SetScreenTip(v); })
      .Property("Visible", [](T* t) { return t->Visible(); },
                [](T* t, TdxBarItemVisible v) { t->SetVisible(v); })
      .Stored(&T::StoresVisible)
      .Property("OnDestroy", &T::OnDestroy);
}

void RegisterClasses() {
  RegisterEnumNames<TdxBarManagerStyle>(
      {"bmsStandard", "bmsEnhanced", "bmsFlat", "bmsXP", "bmsOffice11", "bmsUseLookAndFeel"});
  RegisterEnumNames<TdxBarMenuAnimations>({"maNone", "maRandom", "maUnfold", "maSlide", "maFade"});
  RegisterEnumNames<TdxBarDockingStyle>({"dsNone", "dsLeft", "dsTop", "dsRight", "dsBottom"});
  RegisterEnumNames<TdxBarItemVisible>({"ivNever", "ivInCustomizing", "ivAlways"});
  RegisterEnumNames<TdxBarItemAlign>({"iaLeft", "iaCenter", "iaRight", "iaClient"});
  RegisterEnumNames<TdxBarBorderStyle>({"bbsNone", "bbsSingle"});
  RegisterEnumNames<TdxBarItemMergeKind>({"mkAdd", "mkMergeByCaption", "mkNone"});
  RegisterEnumNames<TdxBarPaintStyle>({"TdxBarPaintStyle::psStandard", "psCaption", "psCaptionInMenu", "psCaptionGlyph"});
  RegisterEnumNames<TdxBarGlyphLayout>({"glLeft", "glRight", "glTop", "glBottom"});
  RegisterEnumNames<TdxBarButtonStyle>({"bsDefault", "bsChecked", "bsDropDown", "bsCheckedDropDown"});
  RegisterEnumNames<TdxBarButtonGroupPosition>({"bgpNone", "bgpStart", "bgpMember"});
  RegisterEnumNames<TdxBarItemPosition>({"ipBeginsNewRow", "ipBeginsNewColumn", "ipContinuesRow"});
  RegisterEnumNames<TdxBarUserDefine>({"udCaption", "udGlyph", "udPaintStyle", "udWidth"});
  RegisterEnumNames<TdxBarItemViewLevel>({"ivlLargeIconWithText", "ivlSmallIconWithText",
                                          "ivlSmallIcon", "ivlControlOnly", "ivlDefault"});
  RegisterEnumNames<TdxBarMenuItemSize>({"misNormal", "misLarge"});
  RegisterEnumNames<TdxBarItemOptionValue>({"ioShowDescriptions", "ioShowShortCuts", "ioSize"});

  RegisterClass<TdxBarManagerCategories, TStringList>();
  RegisterClass<TdxBarImageOptions, TPersistent>();
  Published<TdxBarImageOptions>()
      .Property("CacheGlyphs", [](TdxBarImageOptions* o) { return o->CacheGlyphs; },
                [](TdxBarImageOptions* o, bool v) { o->CacheGlyphs = v; }).Default(1)
      .Property("DisabledImages", &TdxBarImageOptions::DisabledImages,
                &TdxBarImageOptions::SetDisabledImages)
      .Property("DisabledLargeImages", &TdxBarImageOptions::DisabledLargeImages,
                &TdxBarImageOptions::SetDisabledLargeImages)
      .Property("HotImages", &TdxBarImageOptions::HotImages, &TdxBarImageOptions::SetHotImages)
      .Property("ImageListBkColor", [](TdxBarImageOptions* o) { return o->ImageListBkColor; },
                &TdxBarImageOptions::SetImageListBkColor)
      .Default(0xFF00FF).Idents(ColorIdentMap())
      .Property("Images", &TdxBarImageOptions::Images, &TdxBarImageOptions::SetImages)
      .Property("LargeImages", &TdxBarImageOptions::LargeImages, &TdxBarImageOptions::SetLargeImages)
      .Property("LargeIcons", &TdxBarImageOptions::LargeIcons, &TdxBarImageOptions::SetLargeIcons)
      .Default(0)
      .Property("MakeDisabledImagesFaded", [](TdxBarImageOptions* o) { return o->MakeDisabledImagesFaded; },
                &TdxBarImageOptions::SetMakeDisabledImagesFaded).Default(0)
      .Property("SmoothGlyphs", [](TdxBarImageOptions* o) { return o->SmoothGlyphs; },
                [](TdxBarImageOptions* o, bool v) { o->SmoothGlyphs = v; }).Default(0)
      .Property("StretchGlyphs", [](TdxBarImageOptions* o) { return o->StretchGlyphs; },
                [](TdxBarImageOptions* o, bool v) { o->StretchGlyphs = v; }).Default(1)
      .Property("UseLargeImagesForLargeIcons", &TdxBarImageOptions::UseLargeImagesForLargeIcons,
                &TdxBarImageOptions::SetUseLargeImagesForLargeIcons).Default(0)
      .Property("UseLeftBottomPixelAsTransparent",
                [](TdxBarImageOptions* o) { return o->UseLeftBottomPixelAsTransparent; },
                &TdxBarImageOptions::SetUseLeftBottomPixelAsTransparent).Default(1);
  RegisterClass<TdxBarBackgrounds, TPersistent>();
  Published<TdxBarBackgrounds>()
      .Property("Bar", &TdxBarBackgrounds::Bar)
      .Property("SubMenu", &TdxBarBackgrounds::SubMenu);
  RegisterClass<TdxBarPopupMenuLinks, TCollection>();
  RegisterClass<TdxBarPopupMenuLink, TCollectionItem>();
  Published<TdxBarPopupMenuLink>()
      .Property("Control", &TdxBarPopupMenuLink::Control, &TdxBarPopupMenuLink::SetControl)
      .Property("PopupMenu", &TdxBarPopupMenuLink::PopupMenu, &TdxBarPopupMenuLink::SetPopupMenu);

  RegisterClass<TdxBarItemOptions, TPersistent>();
  Published<TdxBarItemOptions>()
      .Property("ShowDescriptions", &TdxBarItemOptions::ShowDescriptions,
                &TdxBarItemOptions::SetShowDescriptions)
      .Stored([](TdxBarItemOptions* o) { return o->AssignedValues().Contains(ioShowDescriptions); })
      .Property("ShowShortCuts", &TdxBarItemOptions::ShowShortCuts,
                &TdxBarItemOptions::SetShowShortCuts)
      .Stored([](TdxBarItemOptions* o) { return o->AssignedValues().Contains(ioShowShortCuts); })
      .Property("Size", &TdxBarItemOptions::Size, &TdxBarItemOptions::SetSize)
      .Stored([](TdxBarItemOptions* o) { return o->AssignedValues().Contains(ioSize); });

  RegisterClass<TdxBarItemLinks, TCollection>();
  RegisterClass<TdxBarItemLink, TCollectionItem>();
  Published<TdxBarItemLink>()
      .Property("BeginGroup", &TdxBarItemLink::StoredBeginGroup, &TdxBarItemLink::SetBeginGroup)
      .Default(0)
      .Property("ButtonGroup", &TdxBarItemLink::ButtonGroup, &TdxBarItemLink::SetButtonGroup)
      .Default(bgpNone)
      .Property("Distributed", &TdxBarItemLink::Distributed, &TdxBarItemLink::SetDistributed)
      .Default(1)
      .Property("MostRecentlyUsed", &TdxBarItemLink::MostRecentlyUsed,
                &TdxBarItemLink::SetMostRecentlyUsed).Default(1)
      .Property("Position", &TdxBarItemLink::Position, &TdxBarItemLink::SetPosition)
      .Default(ipBeginsNewRow)
      .Property("UserCaption", &TdxBarItemLink::UserCaption, &TdxBarItemLink::SetUserCaption)
      .Property("UserDefine", &TdxBarItemLink::UserDefine, &TdxBarItemLink::SetUserDefine)
      .Default(TdxBarUserDefines{})
      .Property("UserPaintStyle", &TdxBarItemLink::UserPaintStyle,
                &TdxBarItemLink::SetUserPaintStyle).Default(TdxBarPaintStyle::psStandard)
      .Property("UserWidth", &TdxBarItemLink::UserWidth, &TdxBarItemLink::SetUserWidth).Default(0)
      .Property("ViewLevels", &TdxBarItemLink::ViewLevels, &TdxBarItemLink::SetViewLevels)
      .Default(TdxBarItemViewLevels{ivlLargeIconWithText, ivlSmallIconWithText, ivlSmallIcon,
                                    ivlControlOnly})
      .Property("Visible", [](TdxBarItemLink* l) { return l->Visible(); },
                [](TdxBarItemLink* l, bool v) { l->SetVisible(v); });

  RegisterClass<TdxBarManager, TComponent>();
  using M = TdxBarManager;
  Published<M>()
      .Property("AllowCallFromAnotherForm", [](M* m) { return m->AllowCallFromAnotherForm; },
                [](M* m, bool v) { m->AllowCallFromAnotherForm = v; }).Default(0)
      .Property("AllowReset", [](M* m) { return m->AllowReset; },
                [](M* m, bool v) { m->AllowReset = v; }).Default(1)
      .Property("AlwaysMerge", [](M* m) { return m->AlwaysMerge; },
                [](M* m, bool v) { m->AlwaysMerge = v; }).Default(0)
      .Property("AlwaysSaveText", [](M* m) { return m->AlwaysSaveText; },
                [](M* m, bool v) { m->AlwaysSaveText = v; }).Default(0)
      .Property("AutoDockColor", &M::AutoDockColor, &M::SetAutoDockColor).Default(1)
      .Property("AutoHideEmptyBars", &M::AutoHideEmptyBars, &M::SetAutoHideEmptyBars).Default(0)
      .Property("Backgrounds", [](M* m) { return m->Backgrounds(); })
      .Property("ButtonArrowWidth", &M::ButtonArrowWidth, &M::SetButtonArrowWidth).Default(11)
      .Property("CanCustomize", [](M* m) { return m->CanCustomize; },
                [](M* m, bool v) { m->CanCustomize = v; }).Default(1)
      .Property("Categories", [](M* m) { return static_cast<TStringList*>(m->Categories()); })
      .Property("DockColor", &M::DockColor, &M::SetDockColor)
      .Stored([](M* m) { return !m->AutoDockColor(); }).Idents(ColorIdentMap())
      .Property("FlatCloseButton", [](M* m) { return m->FlatCloseButton; },
                [](M* m, bool v) { m->FlatCloseButton = v; }).Default(0)
      .Property("Font", [](M* m) { return m->Font(); })
      .Property("HelpContext", [](M* m) { return m->HelpContext; },
                [](M* m, int v) { m->HelpContext = v; }).Default(0)
      .Property("HideFloatingBarsWhenInactive", [](M* m) { return m->HideFloatingBarsWhenInactive; },
                [](M* m, bool v) { m->HideFloatingBarsWhenInactive = v; }).Default(1)
      .Property("ImageOptions", [](M* m) { return m->ImageOptions(); })
      // Older descriptions set the image options on the manager itself; never written.
      .Property("DisabledImages", [](M* m) { return m->ImageOptions()->DisabledImages(); },
                [](M* m, TComponent* v) { m->ImageOptions()->SetDisabledImages(v); }).Stored([](M*) { return false; })
      .Property("DisabledLargeImages", [](M* m) { return m->ImageOptions()->DisabledLargeImages(); },
                [](M* m, TComponent* v) { m->ImageOptions()->SetDisabledLargeImages(v); })
      .Stored([](M*) { return false; })
      .Property("HotImages", [](M* m) { return m->ImageOptions()->HotImages(); },
                [](M* m, TComponent* v) { m->ImageOptions()->SetHotImages(v); }).Stored([](M*) { return false; })
      .Property("ImageListBkColor", [](M* m) { return m->ImageOptions()->ImageListBkColor; },
                [](M* m, TColor v) { m->ImageOptions()->SetImageListBkColor(v); })
      .Stored([](M*) { return false; }).Idents(ColorIdentMap())
      .Property("Images", [](M* m) { return m->ImageOptions()->Images(); },
                [](M* m, TComponent* v) { m->ImageOptions()->SetImages(v); }).Stored([](M*) { return false; })
      .Property("LargeImages", [](M* m) { return m->ImageOptions()->LargeImages(); },
                [](M* m, TComponent* v) { m->ImageOptions()->SetLargeImages(v); }).Stored([](M*) { return false; })
      .Property("LargeIcons", [](M* m) { return m->ImageOptions()->LargeIcons(); },
                [](M* m, bool v) { m->ImageOptions()->SetLargeIcons(v); }).Stored([](M*) { return false; })
      .Property("MakeDisabledImagesFaded", [](M* m) { return m->ImageOptions()->MakeDisabledImagesFaded; },
                [](M* m, bool v) { m->ImageOptions()->SetMakeDisabledImagesFaded(v); })
      .Stored([](M*) { return false; })
      .Property("StretchGlyphs", [](M* m) { return m->ImageOptions()->StretchGlyphs; },
                [](M* m, bool v) { m->ImageOptions()->StretchGlyphs = v; }).Stored([](M*) { return false; })
      .Property("UseLargeImagesForLargeIcons", [](M* m) { return m->ImageOptions()->UseLargeImagesForLargeIcons(); },
                [](M* m, bool v) { m->ImageOptions()->SetUseLargeImagesForLargeIcons(v); })
      .Stored([](M*) { return false; })
      .Property("IniFileName", [](M* m) { return m->IniFileName; },
                [](M* m, const std::string& v) { m->IniFileName = v; })
      .Property("LargeButtonArrowWidth", &M::LargeButtonArrowWidth, &M::SetLargeButtonArrowWidth)
      .Default(13)
      .Property("LookAndFeel", [](M* m) { return m->LookAndFeel(); })
      .Property("MenuAnimations", [](M* m) { return m->MenuAnimations; },
                [](M* m, TdxBarMenuAnimations v) { m->MenuAnimations = v; }).Default(maNone)
      .Property("MenusShowRecentItemsFirst", &M::MenusShowRecentItemsFirst,
                &M::SetMenusShowRecentItemsFirst).Default(1)
      .Property("MostRecentItemsPercents", [](M* m) { return m->MostRecentItemsPercents(); },
                [](M* m, uint8_t v) { m->SetMostRecentItemsPercents(v); }).Default(95)
      .Property("NotDocking", &M::NotDocking, &M::SetNotDocking).Default(TdxBarDockingStyles{})
      .Property("PopupMenuLinks", [](M* m) { return static_cast<TCollection*>(m->PopupMenuLinks()); })
      .Property("RegistryPath", &M::RegistryPath, &M::SetRegistryPath)
      .Property("Scaled", &M::Scaled, &M::SetScaled).Default(1)
      .Property("ShowCloseButton", [](M* m) { return m->ShowCloseButton; },
                [](M* m, bool v) { m->ShowCloseButton = v; }).Default(0)
      .Property("ShowFullMenusAfterDelay", [](M* m) { return m->ShowFullMenusAfterDelay; },
                [](M* m, bool v) { m->ShowFullMenusAfterDelay = v; }).Default(1)
      .Property("ShowHelpButton", [](M* m) { return m->ShowHelpButton; },
                [](M* m, bool v) { m->ShowHelpButton = v; }).Default(0)
      .Property("ShowHint", [](M* m) { return m->ShowHint; },
                [](M* m, bool v) { m->ShowHint = v; }).Default(1)
      .Property("ShowHintForDisabledItems", [](M* m) { return m->ShowHintForDisabledItems; },
                [](M* m, bool v) { m->ShowHintForDisabledItems = v; }).Default(1)
      .Property("ShowShortCutInHint", [](M* m) { return m->ShowShortCutInHint; },
                [](M* m, bool v) { m->ShowShortCutInHint = v; }).Default(0)
      .Property("StoreInIniFile", [](M* m) { return m->StoreInIniFile; },
                [](M* m, bool v) { m->StoreInIniFile = v; }).Default(0)
      .Property("StoreInRegistry", [](M* m) { return m->StoreInRegistry; },
                [](M* m, bool v) { m->StoreInRegistry = v; }).Default(0)
      .Property("Style", &M::Style, &M::SetStyle)
      .Stored([](M* m) { return m->Style() != bmsEnhanced; })
      .Property("SunkenBorder", [](M* m) { return m->SunkenBorder; },
                [](M* m, bool v) { m->SunkenBorder = v; }).Default(0)
      .Property("UseBarHintWindow", [](M* m) { return m->UseBarHintWindow; },
                [](M* m, bool v) { m->UseBarHintWindow = v; }).Default(1)
      .Property("UseF10ForMenu", [](M* m) { return m->UseF10ForMenu; },
                [](M* m, bool v) { m->UseF10ForMenu = v; }).Default(1)
      .Property("UseFullReset", [](M* m) { return m->UseFullReset; },
                [](M* m, bool v) { m->UseFullReset = v; }).Default(0)
      .Property("UseSystemFont", &M::UseSystemFont, &M::SetUseSystemFont)
      .Property("WaitForDockingTime", &M::WaitForDockingTime, &M::SetWaitForDockingTime).Default(21)
      .Property("OnClickItem", &M::OnClickItem)
      .Property("OnItemLinkAdd", &M::OnItemLinkAdd)
      .Property("OnItemLinkChange", &M::OnItemLinkChange)
      .Property("OnItemLinkDelete", &M::OnItemLinkDelete)
      .Property("OnMergeItemLink", &M::OnMergeItemLink);

  RegisterClass<TdxBar, TcxComponentCollectionItem>();
  Published<TdxBar>()
      .Property("AllowClose", &TdxBar::AllowClose, &TdxBar::SetAllowClose).Default(1)
      .Property("AllowCustomizing", &TdxBar::AllowCustomizing, &TdxBar::SetAllowCustomizing)
      .Default(1)
      .Property("AllowQuickCustomizing", &TdxBar::AllowQuickCustomizing,
                &TdxBar::SetAllowQuickCustomizing).Default(1)
      .Property("AllowReset", &TdxBar::AllowReset, &TdxBar::SetAllowReset).Default(1)
      .Property("AlphaBlendValue", &TdxBar::AlphaBlendValue, &TdxBar::SetAlphaBlendValue).Default(255)
      .Property("BorderStyle", &TdxBar::BorderStyle, &TdxBar::SetBorderStyle).Default(bbsSingle)
      .Property("Caption", &TdxBar::Caption, &TdxBar::SetCaption)
      .Property("Color", &TdxBar::Color, &TdxBar::SetColor).Idents(ColorIdentMap()).Default(clDefault)
      .Property("DockControl", &TdxBar::DockControl, &TdxBar::SetDockControl)
      .Property("DockedLeft", &TdxBar::DockedLeft, &TdxBar::SetDockedLeft).Default(0)
      .Property("DockedTop", &TdxBar::DockedTop, &TdxBar::SetDockedTop).Default(0)
      .Property("DockingStyle",
                [](TdxBar* b) {
                  return b->ComponentState().Contains(csWriting) || b->Predefined()
                             ? b->DockingStyle() : b->LoadedDockingStyle();
                },
                &TdxBar::SetDockingStyle)
      .Property("FloatLeft", &TdxBar::FloatLeft, &TdxBar::SetFloatLeft).Default(0)
      .Property("FloatTop", &TdxBar::FloatTop, &TdxBar::SetFloatTop).Default(0)
      .Property("FloatClientWidth", &TdxBar::FloatClientWidth, &TdxBar::SetFloatClientWidth)
      .Default(0)
      .Property("FloatClientHeight", &TdxBar::FloatClientHeight, &TdxBar::SetFloatClientHeight)
      .Default(0)
      .Property("IsMainMenu", &TdxBar::IsMainMenu, &TdxBar::SetIsMainMenu).Default(0)
      .Property("ItemLinks", [](TdxBar* b) { return static_cast<TCollection*>(b->ItemLinks()); })
      .Property("MultiLine", &TdxBar::MultiLine, &TdxBar::SetMultiLine).Default(0)
      .Property("NotDocking", &TdxBar::NotDocking, &TdxBar::SetNotDocking)
      .Default(TdxBarDockingStyles{})
      .Property("OneOnRow", &TdxBar::OneOnRow, &TdxBar::SetOneOnRow).Default(0)
      .Property("RotateWhenVertical", &TdxBar::RotateWhenVertical, &TdxBar::SetRotateWhenVertical).Default(1)
      .Property("Row", &TdxBar::Row, &TdxBar::SetRow).Default(0)
      .Property("ShowMark", &TdxBar::ShowMark, &TdxBar::SetShowMark).Default(1)
      .Property("SizeGrip", &TdxBar::SizeGrip, &TdxBar::SetSizeGrip).Default(1)
      .Property("UseRecentItems", &TdxBar::UseRecentItems, &TdxBar::SetUseRecentItems).Default(1)
      .Property("UseRestSpace", &TdxBar::UseRestSpace, &TdxBar::SetUseRestSpace).Default(0)
      .Property("Visible",
                [](TdxBar* b) { return b->Predefined() ? b->Visible() : b->LoadedVisible(); },
                &TdxBar::SetVisible)
      .Property("WholeRow", &TdxBar::WholeRow, &TdxBar::SetWholeRow).Default(0);

  RegisterEnumNames<TdxBarDockAlign>({"dalNone", "dalTop", "dalBottom", "dalLeft", "dalRight"});
  if (!FindClassInfo(typeid(TdxDockControl))) RegisterClass<TdxDockControl, TCustomControl>();
  if (!FindClassInfo(typeid(TdxBarDockControl))) RegisterClass<TdxBarDockControl, TdxDockControl>();
  using D = TdxBarDockControl;
  Published<D>()
      .Property("Align", &D::DockAlign, &D::SetDockAlign).Default(dalTop)
      .Property("AllowDocking", [](D* d) { return d->AllowDocking; }, [](D* d, bool v) { d->AllowDocking = v; })
      .Default(1)
      .Property("AllowZeroSizeInDesignTime", &D::AllowZeroSizeInDesignTime, &D::SetAllowZeroSizeInDesignTime)
      .Default(0)
      .Property("BarManager", &D::BarManager, &D::SetBarManager)
      .Property("Color", &D::SiteColor, &D::SetSiteColor).Idents(ColorIdentMap()).Stored(&D::StoresColor)
      .Property("ParentColor", &D::SiteParentColor, &D::SetSiteParentColor).Default(1)
      .Property("SunkenBorder", &D::OwnSunkenBorder, &D::SetOwnSunkenBorder).Stored(&D::UseOwnSunkenBorder)
      .Property("UseOwnColor", &D::UseOwnColor, &D::SetUseOwnColor).Default(0)
      .Property("UseOwnSunkenBorder", &D::UseOwnSunkenBorder, &D::SetUseOwnSunkenBorder).Default(0);

  RegisterClass<TdxBarGroup, TComponent>();
  RegisterClass<TdxBarPopupMenu, TComponent>();
  Published<TdxBarPopupMenu>()
      .Property("ItemLinks",
                [](TdxBarPopupMenu* p) { return static_cast<TCollection*>(p->ItemLinks()); })
      .Property("ItemOptions", [](TdxBarPopupMenu* p) { return p->ItemOptions(); })
      .Property("OnPopup", &TdxBarPopupMenu::OnPopup)
      .Property("OnCloseUp", &TdxBarPopupMenu::OnCloseUp);

  RegisterClass<TdxBarComponent, TComponent>();
  RegisterClass<TdxBarItem, TdxBarComponent>();
  PublishItemBase<TdxBarItem>();
  RegisterClass<TdxBarButtonLikeItem, TdxBarItem>();
}

// The button family's published properties beyond the base.
template <class T>
void PublishButton() {
  Published<T>()
      .Property("AllowAllUp", &T::AllowAllUp, &T::SetAllowAllUp).Default(0)
      .Property("ButtonStyle", &T::ButtonStyle, &T::SetButtonStyle).Default(bsDefault)
      .Property("CloseSubMenuOnClick", &T::CloseSubMenuOnClick, &T::SetCloseSubMenuOnClick)
      .Default(1)
      .Property("DropDownEnabled", &T::DropDownEnabled, &T::SetDropDownEnabled).Default(1)
      .Property("GroupIndex", &T::GroupIndex, &T::SetGroupIndex).Default(0)
      .Property("Down", &T::Down, &T::SetDown).Default(0).Stored(&T::StoresDown)
      .Property("DropDownMenu", &T::DropDownMenu, &T::SetDropDownMenu)
      .Property("Glyph", [](T* t) { return t->Glyph(); })
      .Property("LargeGlyph", [](T* t) { return t->LargeGlyph(); })
      .Property("Lowered", &T::Lowered, &T::SetLowered).Default(0)
      .Property("PaintStyle", &T::PaintStyle, &T::SetPaintStyle).Default(TdxBarPaintStyle::psStandard)
      .Property("ShortCut", &T::ShortCut, &T::SetShortCut).Default(0).Stored(&T::StoresShortCut)
      .Property("UnclickAfterDoing", &T::UnclickAfterDoing, &T::SetUnclickAfterDoing).Default(1)
      .Property("OnClick", &T::OnClick).Stored(&T::StoresOnClick);
}

void RegisterItemClasses() {
  RegisterClass<TdxBarButton, TdxBarButtonLikeItem>();
  PublishButton<TdxBarButton>();
  Published<TdxBarButton>()
      .Property("ImageIndex", [](TdxBarButton* b) { return b->ImageIndex(); },
                [](TdxBarButton* b, int v) { b->SetImageIndex(v); })
      .Default(-1).Stored(&TdxBarButton::StoresImageIndex)
      .Property("LargeImageIndex", &TdxBarButton::LargeImageIndex,
                [](TdxBarButton* b, int v) { b->SetLargeImageIndex(v); }).Default(-1);

  RegisterClass<TdxBarLargeButton, TdxBarButton>();
  using L = TdxBarLargeButton;
  Published<L>()
      .Property("AutoGrayScale", &L::AutoGrayScale, &L::SetAutoGrayScale).Default(1)
      .Property("GlyphLayout", &L::GlyphLayout, &L::SetGlyphLayout).Default(glTop)
      .Property("Height", &L::Height, &L::SetHeight).Default(0)
      .Property("HotGlyph", &L::HotGlyph)
      .Property("HotImageIndex", &L::HotImageIndex, &L::SetHotImageIndex).Default(-1)
      .Property("LargeImageIndex", &L::LargeImageIndex,
                [](L* b, int v) { b->SetLargeImageIndex(v); })
      .Default(-1).Stored(&L::StoresLargeImageIndex)
      .Property("ShowCaption", &L::ShowCaption, &L::SetShowCaption).Default(1)
      .Property("Width", [](L* b) { return b->Width(); }, [](L* b, int v) { b->SetWidth(v); })
      .Default(0)
      .Property("ImageIndex", [](L* b) { return b->ImageIndex(); },
                [](L* b, int v) { b->SetImageIndex(v); })
      .Stored([](L*) { return false; })
      .Property("SyncImageIndex", &L::SyncImageIndex, &L::SetSyncImageIndex).Default(1);

  RegisterClass<TdxBarLabel, TdxBarItem>();
  RegisterClass<TdxBarSeparator, TdxBarLabel>();
  Published<TdxBarSeparator>().Property("ShowCaption", &TdxBarSeparator::ShowCaption,
                                        &TdxBarSeparator::SetShowCaption).Default(1);
  RegisterClass<TdxBarWindowItem, TdxBarItem>();
  using W = TdxBarWindowItem;
  Published<W>()
      .Property("OnChange", &W::OnChange)
      .Property("OnCurChange", &W::OnCurChange)
      .Property("OnEnter", &W::OnEnter)
      .Property("OnExit", &W::OnExit)
      .Property("OnKeyDown", &W::OnKeyDown)
      .Property("OnKeyPress", &W::OnKeyPress)
      .Property("OnKeyUp", &W::OnKeyUp);

  RegisterClass<TCustomdxBarSubItem, TdxBarButtonLikeItem>();
  using S = TCustomdxBarSubItem;
  Published<S>()
      .Property("Glyph", [](S* s) { return s->Glyph(); })
      .Property("ImageIndex", [](S* s) { return s->ImageIndex(); },
                [](S* s, int v) { s->SetImageIndex(v); }).Default(-1)
      .Property("LargeGlyph", [](S* s) { return s->LargeGlyph(); })
      .Property("LargeImageIndex", &S::LargeImageIndex, [](S* s, int v) { s->SetLargeImageIndex(v); })
      .Default(-1)
      .Property("ShowCaption", &S::ShowCaption, &S::SetShowCaption).Default(1)
      .Property("OnClick", &S::OnClick);
  RegisterClass<TdxBarSubItem, TCustomdxBarSubItem>();
  Published<TdxBarSubItem>()
      .Property("AllowCustomizing", &TdxBarSubItem::AllowCustomizing,
                &TdxBarSubItem::SetAllowCustomizing).Default(1)
      .Property("ItemLinks", [](TdxBarSubItem* s) { return static_cast<TCollection*>(s->ItemLinks()); })
      .Property("ItemOptions", [](TdxBarSubItem* s) { return s->ItemOptions(); })
      .Property("OnPopup", &TdxBarSubItem::OnPopup)
      .Property("OnCloseUp", &TdxBarSubItem::OnCloseUp);
  RegisterClass<TCustomdxBarContainerItem, TCustomdxBarSubItem>();
  Published<TCustomdxBarContainerItem>().Property("OnGetData", &TCustomdxBarContainerItem::OnGetData);
  RegisterClass<TdxBarContainerItem, TCustomdxBarContainerItem>();
  Published<TdxBarContainerItem>().Property(
      "ItemLinks", [](TdxBarContainerItem* s) { return static_cast<TCollection*>(s->ItemLinks()); });
  RegisterClass<TdxBarListItem, TCustomdxBarContainerItem>();
  using LI = TdxBarListItem;
  Published<LI>()
      .Property("DataIndex", &LI::DataIndex, &LI::SetDataIndex).Stored([](LI*) { return false; })
      .Property("ItemIndex", &LI::ItemIndex, &LI::SetItemIndex).Default(-1)
      .Property("Items", [](LI* l) { return l->Items(); })
      .Property("ShowCheck", &LI::ShowCheck, &LI::SetShowCheck).Default(0)
      .Property("ShowNumbers", &LI::ShowNumbers, &LI::SetShowNumbers).Default(1);
}

}  // namespace

void dxBarInitialize() {
  if (gUnitCount++ > 0) return;
  dxBarUnitStart(true);
  RegisterClasses();
  RegisterItemClasses();
  RegisterStandardBarPainters();
  RegisterFlatBarPainters();
  RegisterOffice11BarPainters();
  RegisterXPBarPainter();
  GetResourceStringsRepository()->RegisterProduct(dxBarProductName, &RegisterBarResourceStrings);
  RegisterBarItemClass(FindClassInfo(typeid(TdxBarButton)), ItemControlClassOf<TdxBarButtonControl>(), true);
  RegisterBarItemClass(FindClassInfo(typeid(TdxBarLargeButton)), ItemControlClassOf<TdxBarLargeButtonControl>(),
                       true);
  RegisterBarItemClass(FindClassInfo(typeid(TdxBarSubItem)), ItemControlClassOf<TdxBarSubItemControl>(), true);
  for (auto* info : {FindClassInfo(typeid(TdxBarListItem)), FindClassInfo(typeid(TdxBarContainerItem))})
    RegisterBarItemClass(info, ItemControlClassOf<TdxBarContainerItemControl>(), true);
  RegisterBarItemClass(FindClassInfo(typeid(TdxBarLabel)), {}, false);
  RegisterBarItemClass(FindClassInfo(typeid(TdxBarSeparator)), ItemControlClassOf<TdxBarSeparatorControl>(),
                       true);
  RegisterBarMDIClasses();
  dxBarButtonControlClass = ItemControlClassOf<TdxBarButtonControl>();
  InitBarCursors();
  const char* const cursors[] = {"DXBARDRAGCURSOR", "DXBARDRAGCOPYCURSOR", "DXBARDRAGNODROPCURSOR",
                                 "DXBAREDITSIZINGCURSOR"};
  for (int i = 0; i < 4; ++i)
    if (Screen) Screen->SetCursors(crdxBarDrag + i, LoadCursor(nullptr, cursors[i]));
}

void dxBarFinalize() {
  if (gUnitCount == 0 || --gUnitCount > 0) return;
  FreeBarNavigationController();
  dxBarClearGlyphRenderCache();
  GetResourceStringsRepository()->UnregisterProduct(dxBarProductName);
  dxBarUnitStart(false);
}
