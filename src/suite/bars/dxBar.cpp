#include "suite/bars/dxBar.h"

#include <algorithm>

#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Streaming.h"
#include "platform/rtl/TypInfo.h"
#include "suite/bars/dxBarFlatPainter.h"
#include "suite/bars/dxBarStrs.h"
#include "platform/rtl/Streaming.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiExtras.h"
#include "suite/core/cxControls.h"
#include "suite/core/dxHooks.h"
#include "suite/core/dxOffice11.h"
#include "suite/core/dxThemeManager.h"

namespace {

bool gUnitFinalized = true;
TdxBarItemList* gItemList = nullptr;
std::vector<TdxBarManager*>* gManagers = nullptr;
TdxBarDesignController* gDesignController = nullptr;
TdxBarPainterClass gPainterClasses[6];

void RegisterBarManager(TdxBarManager* Manager) {
  if (!gManagers) return;
  if (std::find(gManagers->begin(), gManagers->end(), Manager) != gManagers->end()) return;
  const bool first = gManagers->empty();
  if (first) {
    SubscribeSystemHook(shkKeyboard, BarKeyboardHookProc);
    SubscribeSystemHook(shkMouse, BarMouseHookProc);
    SubscribeSystemHook(shkCallWndProc, BarCallWndProcHookProc);
  }
  gManagers->push_back(Manager);
  if (first && !Manager->IsDesigning()) Manager->EnsureHintWindow();
}

void UnsubscribeBarHooks() {
  UnsubscribeSystemHook(BarCallWndProcHookProc);
  UnsubscribeSystemHook(BarMouseHookProc);
  UnsubscribeSystemHook(BarKeyboardHookProc);
}

void UnregisterBarManager(TdxBarManager* Manager) {
  if (!gManagers) return;
  auto it = std::find(gManagers->begin(), gManagers->end(), Manager);
  if (it == gManagers->end()) return;
  gManagers->erase(it);
  if (gManagers->empty()) {
    UnsubscribeBarHooks();
    dxBarFreeHintWindow();
  }
}

// The initial use count of new links: the smallest n with n * (100 - percents) div 100 > 0.
int InitialUseCountFor(int Percents) {
  if (Percents >= 100) return 0;
  int n = 1;
  while (n * (100 - Percents) / 100 <= 0) ++n;
  return n;
}

// A bitmap that keeps its picture in descriptions, as its BMP form under "Data".
class TdxBarBitmap : public TBitmap {
 protected:
  void DefineProperties(TFiler* Filer) override {
    TBitmap::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        "Data", [this](TStream* S) { LoadFromStream(S); }, [this](TStream* S) { SaveToStream(S); },
        !Empty());
  }
};

COLORREF NearestScreenColor(COLORREF Color) {
  HDC dc = GetDC(nullptr);
  COLORREF c = GetNearestColor(dc, Color);
  ReleaseDC(nullptr, dc);
  return c;
}

COLORREF ScaleChannels(COLORREF Color, const std::function<int(int)>& F) {
  auto ch = [&](int Shift) { return std::clamp(F(int((Color >> Shift) & 0xFF)), 0, 255) << Shift; };
  return COLORREF(ch(0) | ch(8) | ch(16));
}

}  // namespace

std::unique_ptr<TBitmap> CreateNotifyingBitmap(TNotifyEvent Handler) {
  auto bitmap = std::make_unique<TdxBarBitmap>();
  bitmap->OnChange = std::move(Handler);
  return bitmap;
}

// The bar whose links are being merged, recorded on the links a merge creates.
TdxBar* dxBarMergingFrom = nullptr;

// ---- seams

TdxBarDesignController::TdxBarDesignController() : FInternalItems(std::make_unique<TComponentList>(true)) {}

TdxBarDesignController::~TdxBarDesignController() = default;

void TdxBarDesignController::TrackInternalItem(TdxBarItem* Item, TComponentList* List) {
  if (Item->BarManager()) Item->BarManager()->RemoveItem(Item);
  (List ? List : FInternalItems.get())->Add(Item);
}

void TdxBarDesignController::FreeInternalItems() { FInternalItems->Clear(); }

void TdxBarDesignController::FreeLinkItems(TdxBarItemLinks* Links) {
  while (Links && Links->Count() > 0) {
    TdxBarItemLink* first = Links->LinkByIndex(0);
    if (TdxBarItem* item = first->Item()) delete item;
    else delete first;
  }
}

TdxBarDesignController* BarDesignController() {
  if (!gDesignController && !gUnitFinalized) gDesignController = new TdxBarDesignController();
  return gDesignController;
}

TdxBarPainterClass dxBarSkinnedPainterClass;

void RegisterBarPainterClass(TdxBarManagerStyle Style, TdxBarPainterClass Class) {
  gPainterClasses[Style] = std::move(Class);
}

TdxBarPainterClass RegisteredBarPainterClass(TdxBarManagerStyle Style) {
  if (Style == bmsUseLookAndFeel && dxBarSkinnedPainterClass) return dxBarSkinnedPainterClass;
  if (Style <= bmsUseLookAndFeel && gPainterClasses[Style]) return gPainterClasses[Style];
  return gPainterClasses[bmsStandard];
}

// ---- item class registry

TdxBarItemList::~TdxBarItemList() {
  while (!FEntries.empty()) RemoveAt(Count() - 1);
}

void TdxBarItemList::AddEntry(const TClassInfo* ItemClass, TdxBarItemControlClass ItemControlClass,
                              bool Visible) {
  FEntries.push_back({ItemClass, std::move(ItemControlClass), Visible});
}

void TdxBarItemList::RemoveClass(const TClassInfo* ItemClass) {
  for (int i = 0; i < Count(); ++i)
    if (FEntries[size_t(i)].ItemClass == ItemClass) return RemoveAt(i);
}

void TdxBarItemList::RemoveAt(int Index) { FEntries.erase(FEntries.begin() + Index); }

int TdxBarItemList::ListedEntryCount() const {
  return int(std::count_if(FEntries.begin(), FEntries.end(), [](auto& e) { return e.Visible; }));
}

const TClassInfo* TdxBarItemList::ListedItemClass(int Index) const {
  for (const TRegItemRecord& e : FEntries)
    if (e.Visible && Index-- == 0) return e.ItemClass;
  return nullptr;
}

TdxBarItemList* GetBarItemList() {
  if (!gItemList && !gUnitFinalized) gItemList = new TdxBarItemList();
  return gItemList;
}

void RegisterBarItemClass(const TClassInfo* ItemClass, TdxBarItemControlClass ItemControlClass,
                          bool Visible) {
  if (TdxBarItemList* list = GetBarItemList())
    list->AddEntry(ItemClass, std::move(ItemControlClass), Visible);
}

void UnregisterBarItemClass(const TClassInfo* ItemClass) {
  if (gItemList) gItemList->RemoveClass(ItemClass);
}

// ---- unit services

TdxBarManager* FindBarManagerOf(TComponent* AControl) {
  if (!gManagers || !AControl) return nullptr;
  for (TdxBarManager* m : *gManagers)
    if (m->Owner() == AControl && !m->IsDestroying()) return m;
  // A control placed on a form belongs to the form's manager.
  auto* control = dynamic_cast<TControl*>(AControl);
  return control ? FindBarManagerOf(control->Parent()) : nullptr;
}

int BarManagerCount() { return gManagers ? int(gManagers->size()) : 0; }
TdxBarManager* BarManagerAt(int Index) {
  return gManagers && Index >= 0 && Index < BarManagerCount() ? (*gManagers)[size_t(Index)]
                                                              : nullptr;
}

bool dxBarThemesAvailable() {
  TdxThemedObjectTypes kinds;
  for (TdxThemedObjectType k : {totComboBox, totEdit, totProgress, totRebar, totScrollBar, totSpin, totStatus,
                                totToolBar, totWindow})
    kinds.Include(k);
  return IsThemingAvailable(kinds);
}

int EditThemeState(TdxBarItemControl* EditControl) { return !EditControl || EditControl->IsEnabled() ? 1 : 4; }

TColor EditThemeFillColor(HTHEME Theme, int State) {
  constexpr int kFillColor = 3802;
  COLORREF c = 0;
  if (State == 4 && UxGetThemeColor(Theme, 1, State, kFillColor, c) == 0) return TColor(c);
  return TColor(GetSysColor(COLOR_WINDOW));
}

TColor EditThemeTextColor(HTHEME Theme, int State) {
  constexpr int kTextColor = 3803;
  COLORREF c = 0;
  if (UxGetThemeColor(Theme, 1, State, kTextColor, c) == 0) return TColor(c);
  return TColor(GetSysColor(State == 4 ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
}

TSize ThemeSmallCloseButtonSize() {
  SIZE s{0, 0};
  UxGetThemePartSizeDefault(AcquireThemeHandle(totWindow), nullptr, 19, 1, TS_TRUE, s);
  return TSize{int(s.cx), int(s.cy)};
}

TSize ThemedGripExtent() {
  SIZE s{0, 0};
  UxGetThemePartSizeDefault(AcquireThemeHandle(totScrollBar), nullptr, 10, 1, TS_TRUE, s);
  return TSize{int(s.cx) + 2, int(s.cy) + 2};
}

TColor ToolbarThemeColor() {
  constexpr int kThemeFillColor = 3802;  // the theme's fill colour property
  COLORREF c = 0;
  HTHEME theme = AcquireThemeHandle(totToolBar);
  if (theme && UxGetThemeColor(theme, 0, 0, kThemeFillColor, c) == 0) return TColor(c);
  return clBtnFace;
}

void dxBarPlaySound(const std::string& Alias) {
  PlaySound(Alias.empty() ? nullptr : Alias.c_str(), nullptr, SND_ALIAS | SND_ASYNC | SND_NODEFAULT);
}

// ---- components and groups

void TdxBarComponent::NotifyChanged(bool AllChanged) {
  if (FBarManager) FBarManager->NotifyDesignerModified();
}

TdxBarGroup::TdxBarGroup(TComponent* AOwner) : TdxBarComponent(AOwner) {
  FBarManager = FindBarManagerOf(AOwner);
  if (!FBarManager && BarManagerCount() > 0) FBarManager = BarManagerAt(0);
  if (FBarManager) FBarManager->AddGroup(this);
}

TdxBarGroup::~TdxBarGroup() {
  for (TdxBarComponent* c : FItems) RemoveFreeNotification(c);
  if (FBarManager) FBarManager->RemoveGroup(this);
}

int TdxBarGroup::IndexOf(TdxBarComponent* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

bool TdxBarGroup::Contains(TdxBarComponent* Item) const {
  for (TdxBarComponent* c : FItems) {
    if (c == Item) return true;
    if (auto* g = dynamic_cast<TdxBarGroup*>(c); g && g->Contains(Item)) return true;
  }
  return false;
}

void TdxBarGroup::Add(TdxBarComponent* Item) {
  if (!Item || IndexOf(Item) >= 0) return;
  if (Item == this)
    throw EdxException(LoadLocalizableResString(&dxSBAR_RECURSIVEGROUPS));
  if (auto* g = dynamic_cast<TdxBarGroup*>(Item); g && g->Contains(this))
    throw EdxException(LoadLocalizableResString(&dxSBAR_RECURSIVEGROUPS));
  FItems.push_back(Item);
  FreeNotification(Item);
}

void TdxBarGroup::Remove(TdxBarComponent* Item) {
  int i = IndexOf(Item);
  if (i < 0) return;
  FItems.erase(FItems.begin() + i);
  RemoveFreeNotification(Item);
}

void TdxBarGroup::SetEnabled(bool Value) {
  FEnabled = Value;
  for (TdxBarComponent* c : FItems) c->SetEnabled(Value);
}

void TdxBarGroup::SetVisible(TdxBarItemVisible Value) {
  FVisible = Value;
  for (TdxBarComponent* c : FItems) c->SetVisible(Value);
}

TComponent* TdxBarGroup::GetParentComponent() const { return FBarManager; }

void TdxBarGroup::SetParentComponent(TComponent* Value) {
  auto* m = dynamic_cast<TdxBarManager*>(Value);
  if (m == FBarManager) return;
  if (FBarManager) FBarManager->RemoveGroup(this);
  FBarManager = m;
  if (m) m->AddGroup(this);
}

void TdxBarGroup::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  // The component may be past its own destructor's body: compare addresses only.
  if (Operation == opRemove)
    std::erase_if(FItems, [AComponent](TdxBarComponent* c) {
      return static_cast<TComponent*>(c) == AComponent;
    });
}

void TdxBarGroup::DefineProperties(TFiler* Filer) {
  Filer->DefineProperty(
      "Items",
      [this](TReader* R) {
        R->ReadListBegin();
        while (!R->EndOfList()) FPendingNames.push_back(R->ReadString());
        R->ReadListEnd();
      },
      [this](TWriter* W) {
        W->WriteListBegin();
        for (TdxBarComponent* c : FItems) W->WriteString(c->Name());
        W->WriteListEnd();
      },
      !FItems.empty());
}

// ---- categories

TdxBarManagerCategories::TdxBarManagerCategories(TdxBarManager* AManager) : FManager(AManager) {
  SetOwnsObjects(true);
}

TdxBarManagerCategories::~TdxBarManagerCategories() { OnChange = {}; }

TdxBarCategoryData* TdxBarManagerCategories::Data(int Index, bool Create) {
  if (Index < 0 || Index >= Count()) return nullptr;
  auto* d = static_cast<TdxBarCategoryData*>(Objects(Index));
  if (!d && Create) {
    d = new TdxBarCategoryData();
    SetObjects(Index, d);
  }
  return d;
}

void TdxBarManagerCategories::Changed() {
  TStringList::Changed();
  if (FManager) FManager->NotifyDesignerModified();
}

// Items of category From take To (the caller shifts the others).
void TdxBarManagerCategories::MoveItemsOf(int From, int To) {
  for (int i = 0; i < FManager->ItemCount(); ++i) {
    TdxBarItem* item = FManager->Items(i);
    if (item->Category() == From) item->FCategory = To;
  }
}

void TdxBarManagerCategories::Delete(int Index) {
  CheckIndex(Index);
  if (!FMoving && FManager) {
    std::vector<TdxBarItem*> doomed;
    FManager->CategoryItems(Index, doomed);
    for (TdxBarItem* item : doomed) delete item;
    for (int c = Index + 1; c < Count(); ++c) MoveItemsOf(c, c - 1);
  }
  TStringList::Delete(Index);
  if (Count() == 0) Add(LoadLocalizableResString(&dxSBAR_DEFAULTCATEGORYNAME));
}

void TdxBarManagerCategories::Insert(int Index, const std::string& S) {
  if (!FMoving && FManager && Index >= 0 && Index < Count())
    for (int c = Count() - 1; c >= Index; --c) MoveItemsOf(c, c + 1);
  TStringList::Insert(Index, S);
}

void TdxBarManagerCategories::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  if (FManager) {
    MoveItemsOf(Index1, -1000);
    MoveItemsOf(Index2, Index1);
    MoveItemsOf(-1000, Index2);
  }
  TStringList::Exchange(Index1, Index2);
}

void TdxBarManagerCategories::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex || CurIndex < 0 || NewIndex < 0 || CurIndex >= Count() ||
      NewIndex >= Count())
    return;
  if (FManager) {
    MoveItemsOf(CurIndex, -1000);
    if (CurIndex < NewIndex)
      for (int c = CurIndex + 1; c <= NewIndex; ++c) MoveItemsOf(c, c - 1);
    else
      for (int c = CurIndex - 1; c >= NewIndex; --c) MoveItemsOf(c, c + 1);
    MoveItemsOf(-1000, NewIndex);
  }
  FMoving = true;
  try {
    TStringList::Move(CurIndex, NewIndex);
  } catch (...) {
    FMoving = false;
    throw;
  }
  FMoving = false;
}

void TdxBarManagerCategories::Clear() { TStringList::Clear(); }

void TdxBarManagerCategories::DefineVisibilities(TFiler* Filer) {
  Filer->DefineProperty(
      "ItemsVisibles",
      [this](TReader* R) {
        R->ReadListBegin();
        for (int i = 0; !R->EndOfList(); ++i) {
          int v = R->ReadInteger();
          if (i < Count()) FManager->SetCategoryVisibility(i, TdxBarItemVisible(std::clamp(v, 0, 2)));
        }
        R->ReadListEnd();
      },
      [this](TWriter* W) {
        W->WriteListBegin();
        for (int i = 0; i < Count(); ++i) {
          TdxBarCategoryData* d = Data(i, false);
          W->WriteInteger(d && d->HasPendingVisibility ? d->PendingVisibility
                                                       : FManager->CategoryVisibility(i));
        }
        W->WriteListEnd();
      },
      true);
  Filer->DefineProperty(
      "Visibles",
      [this](TReader* R) {
        R->ReadListBegin();
        for (int i = 0; !R->EndOfList(); ++i) {
          bool v = R->ReadBoolean();
          if (i < Count()) FManager->SetCategoryItemsVisible(i, v);
        }
        R->ReadListEnd();
      },
      [this](TWriter* W) {
        W->WriteListBegin();
        for (int i = 0; i < Count(); ++i) W->WriteBoolean(FManager->CategoryItemsVisible(i));
        W->WriteListEnd();
      },
      true);
}

// ---- image options and backgrounds

TdxBarImageOptions::TdxBarImageOptions(TdxBarManager* AManager) : FManager(AManager) {
  for (int i = 0; i < 5; ++i) {
    FChangeLinks[i] = std::make_unique<TChangeLink>();
    FChangeLinks[i]->OnChange = [this, i](TObject*) { ListContentsChanged(i); };
  }
}

// Each change link leaves its list as it goes.
TdxBarImageOptions::~TdxBarImageOptions() = default;

TPersistent* TdxBarImageOptions::GetOwner() const { return FManager; }

bool TdxBarImageOptions::IsLoading() const {
  for (TComponent* l : {FImages, FLargeImages, FHotImages, FDisabledImages, FDisabledLargeImages})
    if (l && l->ComponentState().Contains(csLoading)) return true;
  return false;
}

void TdxBarImageOptions::SetList(int Index, TComponent*& Field, TComponent* Value) {
  if (Field == Value) return;
  if (auto* l = dynamic_cast<TCustomImageList*>(Field)) l->UnRegisterChanges(FChangeLinks[Index].get());
  if (Field && FManager) FManager->RemoveFreeNotification(Field);
  Field = Value;
  if (Field && FManager) FManager->FreeNotification(Field);
  if (auto* l = dynamic_cast<TCustomImageList*>(Field)) l->RegisterChanges(FChangeLinks[Index].get());
  ListContentsChanged(Index);
}

void TdxBarImageOptions::ListContentsChanged(int Index) {
  if (FManager) FManager->ImageListContentsChanged(Index);
}

void TdxBarImageOptions::SetImages(TComponent* Value) { SetList(0, FImages, Value); }
void TdxBarImageOptions::SetLargeImages(TComponent* Value) {
  if (FLargeImages == Value) return;
  SetList(1, FLargeImages, Value);
  if (FLargeIcons && FUseLargeImagesForLargeIcons && FManager) FManager->GlyphSizeChanged();
}
void TdxBarImageOptions::SetHotImages(TComponent* Value) { SetList(2, FHotImages, Value); }
void TdxBarImageOptions::SetDisabledImages(TComponent* Value) { SetList(3, FDisabledImages, Value); }
void TdxBarImageOptions::SetDisabledLargeImages(TComponent* Value) {
  SetList(4, FDisabledLargeImages, Value);
}
void TdxBarImageOptions::SetLargeIcons(bool Value) {
  if (FLargeIcons == Value) return;
  FLargeIcons = Value;
  if (FManager) FManager->GlyphSizeChanged();
}
void TdxBarImageOptions::SetUseLargeImagesForLargeIcons(bool Value) {
  if (FUseLargeImagesForLargeIcons == Value) return;
  FUseLargeImagesForLargeIcons = Value;
  if (FManager) FManager->GlyphSizeChanged();
}
void TdxBarImageOptions::SetImageListBkColor(TColor Value) {
  if (ImageListBkColor == Value) return;
  ImageListBkColor = Value;
  if (FManager) FManager->ImagesChanged();
}
void TdxBarImageOptions::SetMakeDisabledImagesFaded(bool Value) {
  if (MakeDisabledImagesFaded == Value) return;
  MakeDisabledImagesFaded = Value;
  if (FManager) FManager->ImagesChanged();
}
void TdxBarImageOptions::SetUseLeftBottomPixelAsTransparent(bool Value) {
  if (UseLeftBottomPixelAsTransparent == Value) return;
  UseLeftBottomPixelAsTransparent = Value;
  if (FManager) FManager->ImagesChanged();
}

int TdxBarImageOptions::GlyphSize() const {
  if (!FLargeIcons) return 16;
  if (UsesLargeImagesForLargeIcons())
    if (auto* list = dynamic_cast<TCustomImageList*>(FLargeImages)) return list->Width();
  return 32;
}

// The list is past its own destructor's body: its change links went with it.
void TdxBarImageOptions::ComponentRemoved(TComponent* AComponent) {
  for (TComponent** f : {&FImages, &FLargeImages, &FHotImages, &FDisabledImages,
                         &FDisabledLargeImages})
    if (*f == AComponent) *f = nullptr;
}

void TdxBarImageOptions::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TdxBarImageOptions*>(Source);
  if (!s) return TPersistent::Assign(Source);
  CacheGlyphs = s->CacheGlyphs;
  SetDisabledImages(s->FDisabledImages);
  SetDisabledLargeImages(s->FDisabledLargeImages);
  SetHotImages(s->FHotImages);
  SetImageListBkColor(s->ImageListBkColor);
  SetImages(s->FImages);
  SetLargeImages(s->FLargeImages);
  SetLargeIcons(s->FLargeIcons);
  SetMakeDisabledImagesFaded(s->MakeDisabledImagesFaded);
  SmoothGlyphs = s->SmoothGlyphs;
  StretchGlyphs = s->StretchGlyphs;
  SetUseLargeImagesForLargeIcons(s->FUseLargeImagesForLargeIcons);
  SetUseLeftBottomPixelAsTransparent(s->UseLeftBottomPixelAsTransparent);
}

TdxBarBackgrounds::TdxBarBackgrounds(TdxBarManager* AManager)
    : FManager(AManager),
      FBar(CreateNotifyingBitmap([this](TObject*) { FManager->ApplyStyle(); })),
      FSubMenu(CreateNotifyingBitmap({})) {}
TdxBarBackgrounds::~TdxBarBackgrounds() = default;
TPersistent* TdxBarBackgrounds::GetOwner() const { return FManager; }

// The bitmap's own change notice re-applies the manager's style.
void TdxBarBackgrounds::SetBar(TBitmap* Value) {
  if (FBar->Empty() && (!Value || Value->Empty())) return;
  FBar->Assign(Value);
}

void TdxBarBackgrounds::SetSubMenu(TBitmap* Value) { FSubMenu->Assign(Value); }

void TdxBarBackgrounds::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TdxBarBackgrounds*>(Source);
  if (!s) return TPersistent::Assign(Source);
  SetBar(s->Bar());
  SetSubMenu(s->SubMenu());
}

// ---- popup-menu links

void TdxBarPopupMenuLink::SetControl(TControl* Value) {
  FControl = Value;
  if (auto* links = dynamic_cast<TdxBarPopupMenuLinks*>(Collection()))
    if (Value && links->BarManager()) links->BarManager()->FreeNotification(Value);
}

void TdxBarPopupMenuLink::SetPopupMenu(TdxBarPopupMenu* Value) {
  FPopupMenu = Value;
  if (auto* links = dynamic_cast<TdxBarPopupMenuLinks*>(Collection()))
    if (Value && links->BarManager()) links->BarManager()->FreeNotification(Value);
}

void TdxBarPopupMenuLink::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TdxBarPopupMenuLink*>(Source);
  if (!s) return TCollectionItem::Assign(Source);
  SetControl(s->FControl);
  SetPopupMenu(s->FPopupMenu);
}

TdxBarPopupMenuLinks::TdxBarPopupMenuLinks(TdxBarManager* AManager)
    : TOwnedCollection(AManager, TCollection::ItemClassOf<TdxBarPopupMenuLink>()),
      FManager(AManager) {}

// ---- popup menus

TdxBarPopupMenu::TdxBarPopupMenu(TComponent* AOwner) : TComponent(AOwner) {
  FBarManager = FindBarManagerOf(AOwner);
  if (!FBarManager && BarManagerCount() > 0) FBarManager = BarManagerAt(0);
  FItemLinks = std::make_unique<TdxBarSubMenuControlItemLinks>(FBarManager, this);
  FItemLinks->SetUseRecentItems(false);
  if (FBarManager) FBarManager->AddPopupMenu(this);
}

TdxBarPopupMenu::~TdxBarPopupMenu() {
  if (FBarManager) FBarManager->OwnerClosing();
  Destroying();
  FItemLinks.reset();
  if (FBarManager) FBarManager->RemovePopupMenu(this);
}

void TdxBarPopupMenu::Loaded() {
  TComponent::Loaded();
  FItemLinks->ResolveLoadedItemNames();
}

bool TdxBarPopupMenu::CanContainItem(TdxBarItem* Item, std::string& ErrorText) {
  if (!Item->CanPlaceOn(1, nullptr, ErrorText)) return false;
  if (TdxBarItemLinks* own = Item->ItemLinks(); own && own->ContainsLinksOwner(this)) {
    ErrorText = LoadLocalizableResString(&dxSBAR_RECURSIVEMENUS);
    return false;
  }
  return true;
}

// ---- bars

TdxBar::TdxBar(TComponent* AOwner) : TcxComponentCollectionItem(AOwner) {
  FItemLinks = std::make_unique<TdxBarControlItemLinks>(nullptr, this);
}

TdxBar::~TdxBar() {
  FCaptionButtons.reset();
  if (TdxBarManager* m = BarManager()) m->OwnerClosing();
  Destroying();
  if (FMergedWith) FMergedWith->Unmerge(this);
  while (!FMergedBars.empty()) Unmerge(FMergedBars.back());
  FItemLinks->FreeBarControl();
  RemoveFromDockRow();
  FItemLinks.reset();
}

TdxBarManager* TdxBar::BarManager() const {
  auto* bars = dynamic_cast<TdxBars*>(Collection());
  return bars ? bars->BarManager() : nullptr;
}

TcxComponentCollection* TdxBar::CollectionFromParent(TComponent* AParent) {
  auto* m = dynamic_cast<TdxBarManager*>(AParent);
  if (m) FItemLinks->SetBarManager(m);
  return m ? m->Bars() : nullptr;
}

void TdxBar::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  NotifyCollection();
}

void TdxBar::SetVisible(bool Value) {
  if (ComponentState().Contains(csLoading)) {
    FLoadedVisible = Value;
    return;
  }
  if (FVisible == Value) return;
  TdxBarManager* m = BarManager();
  if (Value && m && m->IsDestroying()) return;
  if (!Value)
    if (TdxBarControl* c = BarControl()) c->StorePositionInBar();
  FVisible = Value;
  if (Value) {
    FItemLinks->CreateBarControl();
    ApplyPlacement();
  } else {
    FItemLinks->FreeBarControl();
  }
  NotifyCollection();
}

void TdxBar::SetDockingStyle(TdxBarDockingStyle Value) {
  if (ComponentState().Contains(csLoading)) {
    FLoadedDockingStyle = Value;
    return;
  }
  if (DockingStyle() == Value) return;
  TdxBarControl* c = BarControl();
  const bool reshow = c && c->DockingStyle() != Value && !FChangingDockingStyle;
  if (reshow) SetVisible(false);
  FDockingStyle = Value;
  if (!FChangingDockingStyle) {
    FChangingDockingStyle = true;
    FDockControl = nullptr;
    FChangingDockingStyle = false;
  }
  FItemLinks->SetRecentItemCount(-1);
  if (reshow) SetVisible(true);
  NotifyCollection(true);
}

// The bars are read before the manager that attaches them is told it was loaded, so the values
// read may still sit aside while the bar itself counts as loading.
void TdxBar::ApplyLoadedPlacement() {
  bool loading = ComponentState().Contains(csLoading);
  SetComponentState(csLoading, false);
  try {
    if (FLoadedDockControl) SetDockControl(FLoadedDockControl);
    else SetDockingStyle(FLoadedDockingStyle);
    SetVisible(FLoadedVisible);
  } catch (...) {
    SetComponentState(csLoading, loading);
    throw;
  }
  SetComponentState(csLoading, loading);
}

void TdxBar::SetIsMainMenu(bool Value) {
  if (Value && BarManager() && !ComponentState().Contains(csLoading))
    for (int i = 0; i < BarManager()->Bars()->Count(); ++i)
      if (TdxBar* b = BarManager()->Bars()->Items(i); b != this) b->FIsMainMenu = false;
  FIsMainMenu = Value;
}

void TdxBar::Loaded() {
  TcxComponentCollectionItem::Loaded();
  if (BarManager()) FItemLinks->SetBarManager(BarManager());
}

bool TdxBar::CanContainItem(TdxBarItem* Item, std::string& ErrorText) {
  return Item->CanPlaceOn(0, this, ErrorText);
}

void TdxBar::Merge(TdxBar* Bar) {
  if (!Bar || Bar == this) throw EdxException(LoadLocalizableResString(&dxSBAR_CANTMERGETOOLBAR));
  if (Bar->FMergedWith || FMergedWith)
    throw EdxException(LoadLocalizableResString(&dxSBAR_CANTMERGEWITHMERGEDTOOLBAR));
  FMergedBars.push_back(Bar);
  Bar->FMergedWith = this;
  dxBarMergingFrom = Bar;
  try {
    FItemLinks->MergeLinks(Bar->ItemLinks());
  } catch (...) {
    dxBarMergingFrom = nullptr;
    throw;
  }
  dxBarMergingFrom = nullptr;
}

void TdxBar::Unmerge(TdxBar* Bar) {
  auto it = std::find(FMergedBars.begin(), FMergedBars.end(), Bar);
  if (Bar && it == FMergedBars.end())
    throw EdxException(LoadLocalizableResString(&dxSBAR_CANTUNMERGETOOLBAR));
  FItemLinks->UnmergeLinks(Bar);
  if (Bar) {
    FMergedBars.erase(it);
    Bar->FMergedWith = nullptr;
  } else {
    for (TdxBar* b : FMergedBars) b->FMergedWith = nullptr;
    FMergedBars.clear();
  }
}

TdxBars::TdxBars(TdxBarManager* AManager)
    : TcxComponentCollection(AManager, FindClassInfo(typeid(TdxBar))), FManager(AManager) {
  CreateDockControls();
}

TdxBars::~TdxBars() {
  FreeDockControls();
  if (FCaptureWindow) DeallocateHWnd(FCaptureWindow);
}

TdxBar* TdxBars::Add() { return static_cast<TdxBar*>(AddNew()); }

void TdxBars::AssignItemName(TcxComponentCollectionItem* Item) {
  if (!FManager->Owner()) return;
  Item->SetName(FManager->UniqueName(FManager->Name() + "Bar"));
}

void TdxBars::NotifyUpdate(TcxComponentCollectionItem* Item,
                           TcxComponentCollectionNotification Action) {
  auto* bar = static_cast<TdxBar*>(Item);
  if (bar && Action == CollectionItemAdded) {
    bar->ItemLinks()->SetBarManager(FManager);
    if (!FManager->IsLoading() && FManager->OnBarAdd) FManager->OnBarAdd(FManager, bar);
  }
  if (bar && Action == CollectionItemDeleted && !FManager->IsDestroying() &&
      FManager->OnBarDelete)
    FManager->OnBarDelete(FManager, bar);
  TcxComponentCollection::NotifyUpdate(Item, Action);
  FManager->NotifyDesignerModified();
}

TdxBar* TdxBars::GetBarByCaption(const std::string& Caption) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Caption() == Caption) return Items(i);
  return nullptr;
}

TdxBar* TdxBars::MainMenuBar() const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->IsMainMenu()) return Items(i);
  return nullptr;
}

void TdxBars::RecalculateAll() {
  for (int i = 0; i < Count(); ++i)
    if (TCustomdxBarControl* c = Items(i)->ItemLinks()->BarControl()) c->RecalculateBar();
}

// ---- manager

TdxBarManager::TdxBarManager(TComponent* AOwner) : TComponent(nullptr) {
  // The owner is checked before the component joins it, so that a refused manager leaves
  // nothing behind: not in the owner, not in the global list.
  if (!AOwner)
    if (TApplication* app = GetApplication()) AOwner = app->MainForm();
  if (!dynamic_cast<TWinControl*>(AOwner))
    throw EdxException(LoadLocalizableResString(&dxSBAR_BARMANAGERBADOWNER));
  if (TdxBarManager* other = FindBarManagerOf(AOwner); other && other->Owner() == AOwner)
    throw EdxException(LoadLocalizableResString(&dxSBAR_BARMANAGERMORETHANONE));
  FConstructionFailed = false;
  AOwner->InsertComponent(this);
  RegisterBarManager(this);
  FRegistered = true;
  // A failure further on must not leave this half-made manager in the list or in its owner.
  try {
    FBackgrounds = std::make_unique<TdxBarBackgrounds>(this);
    FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
    FLookAndFeel->OnChanged = decltype(FLookAndFeel->OnChanged)::Bind(
        this, &TdxBarManager::LookAndFeelChanged);
    FCategories = std::make_unique<TdxBarManagerCategories>(this);
    if (!IsLoading()) FCategories->Add(LoadLocalizableResString(&dxSBAR_DEFAULTCATEGORYNAME));
    FBars = std::make_unique<TdxBars>(this);
    FFontChangedHandlers = std::make_unique<TcxEventHandlerCollection>();
    FSmallCaptionFont = std::make_unique<TFont>();
    FCaptionFont = std::make_unique<TFont>();
    FFont = std::make_unique<TFont>();
    FFont->OnChange = TNotifyEvent::Bind(this, &TdxBarManager::FontChanged);
    FThemeNotificator = std::make_unique<TdxThemeChangedNotificator>();
    FThemeNotificator->OnThemeChanged = TNotifyEvent::Bind(this, &TdxBarManager::ApplyStyle);
    SetMostRecentItemsPercents(95);
    FPopupMenuLinks = std::make_unique<TdxBarPopupMenuLinks>(this);
    FImageOptions = std::make_unique<TdxBarImageOptions>(this);
    SetStyle(bmsEnhanced);
    if (FPainter == nullptr) ApplyStyle();
    SetUseSystemFont(true);
    RebuildDerivedFonts();
    RefreshColors();
    FAfterReadLayout = std::make_unique<TcxEventHandlerCollection>();
    FAfterWriteLayout = std::make_unique<TcxEventHandlerCollection>();
    if (!IsDesigning()) FLayoutSnapshot = std::make_unique<TMemIniFile>("");
  } catch (...) {
    UnregisterBarManager(this);
    FRegistered = false;
    AOwner->RemoveComponent(this);
    throw;
  }
  Office11ColorsAddRef();
}

TdxBarManager::~TdxBarManager() {
  if (FConstructionFailed) return;
  OwnerClosing();
  Destroying();
  if (FRegistered) UnregisterBarManager(this);
  FHintObject = nullptr;
  // The sites outlive their manager when the form frees it first; they must not call it back.
  for (TdxDockControl* d : std::vector<TdxDockControl*>(FDockControls)) d->SetBarManager(nullptr);
  FThemeNotificator.reset();
  StopHintTimers();
  FreeBrushes();
  Office11ColorsRelease();
  for (TdxBarPopupMenu* m : std::vector<TdxBarPopupMenu*>(FPopupMenus)) delete m;
  for (TdxBarGroup* g : std::vector<TdxBarGroup*>(FGroups)) delete g;
  FBars.reset();
  for (TdxBarItem* item : std::vector<TdxBarItem*>(FItems)) delete item;
  FCategories.reset();
  FPopupMenuLinks.reset();
  FImageOptions.reset();
  FBackgrounds.reset();
  FLookAndFeel.reset();
  FPainter.reset();
}

void TdxBarManager::DoClickItem(TdxBarItem* ClickedItem) {
  if (OnClickItem) OnClickItem(this, ClickedItem);
}

bool TdxBarManager::CanDock(TdxBar* Bar, TdxBarDockingStyle Style, TdxDockControl* DockControl) {
  bool result;
  if (Bar->NotDocking().Contains(Style))
    result = false;
  else if (DockControl && !DockControl->IsImplicit())
    result = DockControl->CanDockBar(Bar);
  else
    result = !FNotDocking.Contains(Style);
  if (OnDocking) OnDocking(Bar, Style, DockControl, result);
  return result;
}

TdxBarManagerStyle TdxBarManager::PainterStyleFor(TdxBarManagerStyle Style, bool NativeStyle,
                                                  TcxLookAndFeelKind Kind, bool HasSkinPainter,
                                                  bool ThemesAvailable) {
  switch (Style) {
    case bmsXP:
      return ThemesAvailable ? bmsXP : bmsEnhanced;
    case bmsUseLookAndFeel:
      if (NativeStyle && ThemesAvailable) return bmsXP;
      if (HasSkinPainter) return bmsUseLookAndFeel;
      switch (Kind) {
        case lfFlat: return bmsEnhanced;
        case lfStandard: return bmsStandard;
        case lfUltraFlat: return bmsFlat;
        default: return bmsOffice11;
      }
    default:
      return Style;
  }
}

TdxBarManagerStyle TdxBarManager::ResolvedStyle() const {
  if (FStyle != bmsUseLookAndFeel) return FStyle;
  TdxBarManagerStyle s = PainterStyleFor(FStyle, FLookAndFeel->NativeStyle(), FLookAndFeel->Kind(),
                                         false, dxBarThemesAvailable());
  return s;
}

TdxBarManagerStyle TdxBarManager::PainterStyle() const {
  return PainterStyleFor(FStyle, FLookAndFeel->NativeStyle(), FLookAndFeel->Kind(),
                         FLookAndFeel->SkinPainter() != nullptr, dxBarThemesAvailable());
}

TdxBarPainterClass TdxBarManager::PainterClass() const {
  return RegisteredBarPainterClass(PainterStyle());
}

void TdxBarManager::SetStyle(TdxBarManagerStyle Value) {
  if (FStyle == Value && FPainter) return;
  FStyle = Value;
  ApplyStyle();
}

void TdxBarManager::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { ApplyStyle(); }

void TdxBarManager::ApplyStyle(TObject*) {
  if (IsDestroying() || FApplyingStyle) return;
  FApplyingStyle = true;
  try {
    FThemesAvailable = dxBarThemesAvailable();
    if (FFlatBrushes[0]) RefreshColors();
    FPainter.reset();
    if (TdxBarPainterClass make = PainterClass()) FPainter.reset(make());
    if (FBars)
      for (int i = 0; i < FBars->Count(); ++i)
        if (TCustomdxBarControl* c = FBars->Items(i)->ItemLinks()->BarControl()) {
          c->ClearBackgroundCache();
          c->StyleChanged();
          // A floating toolbar is shown anew by its style change, in a new window.
          if ((c = FBars->Items(i)->ItemLinks()->BarControl())) c->RecalculateBar();
        }
    for (TdxDockControl* d : FDockControls) d->RefreshColors();
  } catch (...) {
    FApplyingStyle = false;
    throw;
  }
  FApplyingStyle = false;
}

TWinControl* TdxBarManager::ParentControl() const { return dynamic_cast<TWinControl*>(Owner()); }

TCustomForm* TdxBarManager::NearestParentForm() const {
  for (TControl* c = dynamic_cast<TControl*>(Owner()); c; c = c->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(c)) return f;
  return nullptr;
}

// Loading and its deferral under the bar update lock.

void TdxBarManager::ReadState(TReader* Reader) {
  TComponent::ReadState(Reader);
  ++FReadCount;
}

void TdxBarManager::Loaded() {
  TComponent::Loaded();
  if (FBarsUpdateCount > 0) {
    // Attaching the bars waits for the outermost EndBarsUpdate instead of being lost.
    FLoadedPending = true;
    return;
  }
  LoadedBody();
}

void TdxBarManager::LoadedBody() {
  FLoadedPending = false;
  FInLoaded = true;
  try {
    for (TdxBarItem* item : std::vector<TdxBarItem*>(FItems))
      if (TdxBarItemLinks* links = item->ItemLinks()) links->ResolveLoadedItemNames();
    for (TdxBarPopupMenu* m : FPopupMenus) m->ItemLinks()->ResolveLoadedItemNames();
    for (TdxBarGroup* g : FGroups) {
      for (const std::string& n : g->FPendingNames) {
        TComponent* c = Owner() ? Owner()->FindComponent(n) : nullptr;
        if (auto* bc = dynamic_cast<TdxBarComponent*>(c)) g->Add(bc);
      }
      g->FPendingNames.clear();
    }
    for (int i = 0; i < FBars->Count(); ++i) FBars->Items(i)->ItemLinks()->ResolveLoadedItemNames();
    FRedockingLoadedBars = true;
    try {
      for (int i = 0; i < FBars->Count(); ++i) {
        TdxBar* bar = FBars->Items(i);
        bar->SetPredefined(true);
        bar->ApplyLoadedPlacement();
      }
      WriteLayoutSnapshot();
      if (!IsDesigning()) {
        if (StoreInRegistry) LoadLayoutFromRegistry(FRegistryPath);
        if (StoreInIniFile) LoadLayoutFromIniFile(IniFileName);
      }
    } catch (...) {
      FRedockingLoadedBars = false;
      throw;
    }
    FRedockingLoadedBars = false;
    BeginBarsUpdate();
    try {
      for (int i = 0; i < FCategories->Count(); ++i)
        if (TdxBarCategoryData* d = FCategories->Data(i, false); d && d->HasPendingVisibility) {
          d->HasPendingVisibility = false;
          SetCategoryVisibility(i, d->PendingVisibility);
        }
    } catch (...) {
      EndBarsUpdate();
      throw;
    }
    EndBarsUpdate();
    for (TdxDockControl* d : FDockControls) d->RelayoutAndResize();
  } catch (...) {
    FInLoaded = false;
    throw;
  }
  FInLoaded = false;
}

void TdxBarManager::BeginBarsUpdate() {
  if (FBarsUpdateCount++ == 0)
    for (TdxDockControl* d : FDockControls) d->SetRedraw(false);
}

void TdxBarManager::EndBarsUpdate(bool RecreateChangedControls) {
  if (FBarsUpdateCount == 0) return;
  if (--FBarsUpdateCount > 0 || IsDestroying()) return;
  for (TdxDockControl* d : FDockControls) d->SetRedraw(true);
  if (FLoadedPending && !IsLoading()) LoadedBody();
  Relayout(RecreateChangedControls);
}

void TdxBarManager::Relayout(bool RecreateChangedControls) {
  ++FRelayoutCount;
  for (int i = 0; i < FBars->Count(); ++i) {
    TdxBar* bar = FBars->Items(i);
    TCustomdxBarControl* c = bar->ItemLinks()->BarControl();
    if (!c) continue;
    if (RecreateChangedControls && bar->Changed()) {
      c->RecreateChangedItemControls();
      bar->SetChanged(false);
    }
    c->RecalculateBar();
  }
  for (TdxDockControl* d : FDockControls) {
    d->DropEmptyRows();
    d->RelayoutAndResize();
  }
}

void TdxBarManager::LockChangeReports(bool Lock, bool SendPending) {
  if (Lock) {
    if (FChangeReportLock++ == 0) FChangeReportPending = false;
    return;
  }
  if (FChangeReportLock == 0) return;
  if (--FChangeReportLock == 0 && SendPending && FChangeReportPending) {
    FChangeReportPending = false;
    NotifyDesignerModified();
  }
}

void TdxBarManager::NotifyDesignerModified() {
  if (IsLoadingOrInLoaded() || IsDestroying()) return;
  if (FChangeReportLock > 0) {
    FChangeReportPending = true;
    return;
  }
  // At run time nobody listens; the form designer is not part of this program.
}

void TdxBarManager::RegisterDockControl(TdxDockControl* Value) {
  if (std::find(FDockControls.begin(), FDockControls.end(), Value) == FDockControls.end())
    FDockControls.push_back(Value);
}

void TdxBarManager::UnregisterDockControl(TdxDockControl* Value) {
  if (FBars) FBars->ForgetDockControl(Value);
  FDockControls.erase(std::remove(FDockControls.begin(), FDockControls.end(), Value),
                      FDockControls.end());
}

// Items, groups and popup menus.

void TdxBarManager::AddItem(TdxBarItem* Item) {
  if (IndexOfItem(Item) < 0) FItems.push_back(Item);
}

void TdxBarManager::RemoveItem(TdxBarItem* Item) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
}

int TdxBarManager::IndexOfItem(const TdxBarItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TdxBarManager::MoveItem(int From, int To) {
  if (From == To || From < 0 || To < 0 || From >= ItemCount() || To >= ItemCount()) return;
  TdxBarItem* item = FItems[size_t(From)];
  FItems.erase(FItems.begin() + From);
  FItems.insert(FItems.begin() + To, item);
  NotifyDesignerModified();
}

TdxBarItem* TdxBarManager::ItemByName(const std::string& Name) const {
  for (TdxBarItem* item : FItems)
    if (SameText(item->Name(), Name)) return item;
  return nullptr;
}

void TdxBarManager::AddGroup(TdxBarGroup* Group) { FGroups.push_back(Group); }
void TdxBarManager::RemoveGroup(TdxBarGroup* Group) {
  FGroups.erase(std::remove(FGroups.begin(), FGroups.end(), Group), FGroups.end());
}
void TdxBarManager::AddPopupMenu(TdxBarPopupMenu* Menu) { FPopupMenus.push_back(Menu); }
void TdxBarManager::RemovePopupMenu(TdxBarPopupMenu* Menu) {
  FPopupMenus.erase(std::remove(FPopupMenus.begin(), FPopupMenus.end(), Menu), FPopupMenus.end());
}

std::string TdxBarManager::UniqueName(const std::string& BaseName) const {
  TComponent* root = Owner();
  for (int n = 1;; ++n) {
    std::string name = BaseName + std::to_string(n);
    if (!root || !root->FindComponent(name)) return name;
  }
}

// Categories.

TdxBarItemVisible TdxBarManager::CategoryVisibility(int Index) const {
  if (Index < 0 || Index >= FCategories->Count()) return ivNever;
  TdxBarCategoryData* d = FCategories->Data(Index, false);
  return d ? d->Visibility : ivAlways;
}

bool TdxBarManager::CategoryItemsVisible(int Index) const {
  if (Index < 0 || Index >= FCategories->Count()) return false;
  TdxBarCategoryData* d = FCategories->Data(Index, false);
  return d ? d->ItemsVisible : true;
}

void TdxBarManager::SetCategoryVisibility(int Index, TdxBarItemVisible Value) {
  TdxBarCategoryData* d = FCategories->Data(Index, true);
  if (!d) return;
  if (IsLoading()) {
    d->PendingVisibility = Value;
    d->HasPendingVisibility = true;
    return;
  }
  TdxBarItemVisible old = d->Visibility;
  d->Visibility = Value;
  if (IsDesigning()) return;
  std::vector<TdxBar*> hadLinks;
  if (FAutoHideEmptyBars)
    for (int i = 0; i < FBars->Count(); ++i)
      if (FBars->Items(i)->ItemLinks()->PresentLinkCount() > 0) hadLinks.push_back(FBars->Items(i));
  BeginBarsUpdate();
  try {
    std::vector<TdxBarItem*> items;
    CategoryItems(Index, items);
    if (Value == ivAlways) std::reverse(items.begin(), items.end());
    for (TdxBarItem* item : items)
      if (item->Visible() == old) item->SetVisible(Value);
  } catch (...) {
    EndBarsUpdate();
    throw;
  }
  EndBarsUpdate();
  if (FAutoHideEmptyBars)
    for (int i = 0; i < FBars->Count(); ++i) {
      TdxBar* bar = FBars->Items(i);
      bool had = std::find(hadLinks.begin(), hadLinks.end(), bar) != hadLinks.end();
      bool has = bar->ItemLinks()->PresentLinkCount() > 0;
      if (had && !has) {
        if (Value == ivNever) bar->SetVisible(false);
        bar->SetHiddenAsEmpty(Value == ivNever);
      } else if (!had && has && bar->HiddenAsEmpty()) {
        if (Value == ivAlways) bar->SetVisible(true);
        bar->SetHiddenAsEmpty(false);
      }
    }
  if (old != Value) NotifyDesignerModified();
}

void TdxBarManager::SetCategoryItemsVisible(int Index, bool Value) {
  if (Index < 0 || Index >= FCategories->Count() || CategoryItemsVisible(Index) == Value) return;
  FCategories->Data(Index, true)->ItemsVisible = Value;
  NotifyDesignerModified();
}

int TdxBarManager::CategoryItems(int Index, std::vector<TdxBarItem*>& List) const {
  List.clear();
  if (Index < 0 || Index >= FCategories->Count()) return 0;
  for (TdxBarItem* item : FItems)
    if (item->Category() == Index) List.push_back(item);
  return int(List.size());
}

int TdxBarManager::GetListedCategoryItems(int Index, std::vector<TdxBarItem*>& List) const {
  CategoryItems(Index, List);
  if (IsDesigning()) return int(List.size());
  std::erase_if(List, [this](TdxBarItem* i) {
    return !(i->Visible() == ivAlways || (i->Visible() == ivInCustomizing && FIsCustomizing));
  });
  return int(List.size());
}

int TdxBarManager::RealCategoryIndex(int N) const {
  if (IsDesigning()) return N;
  for (int i = 0; i < FCategories->Count(); ++i)
    if (CategoryItemsVisible(i) && N-- == 0) return i;
  return -1;
}

TdxBarItem* TdxBarManager::CreateItem(const TClassInfo* ItemClass) {
  auto* item = dynamic_cast<TdxBarItem*>(ItemClass->CreateComponent(this));
  if (!item) throw EdxException("Not an item class: " + ItemClass->Name);
  item->AttachToManager(this);
  int c = FCategories->IndexOf(dxSBAR_DEFAULTCATEGORYNAME.Text);
  item->SetCategory(c < 0 ? 0 : c);
  return item;
}

// Properties.

void TdxBarManager::SetMostRecentItemsPercents(int Value) {
  FMostRecentItemsPercents = uint8_t(std::clamp(Value, 0, 100));
  FInitialUseCount = InitialUseCountFor(FMostRecentItemsPercents);
}

void TdxBarManager::SetButtonArrowWidth(int Value) {
  if (Value < 2 || Value == FButtonArrowWidth) return;
  FButtonArrowWidth = Value;
  FBars->RecalculateAll();
}

void TdxBarManager::SetLargeButtonArrowWidth(int Value) {
  if (Value < 2 || Value == FLargeButtonArrowWidth) return;
  FLargeButtonArrowWidth = Value;
  FBars->RecalculateAll();
}

TColor TdxBarManager::DockColor() const {
  if (FAutoDockColor)
    if (auto* c = dynamic_cast<TControl*>(Owner())) return c->Color();
  return FDockColor;
}

void TdxBarManager::SetDockColor(TColor Value) {
  FDockColor = Value;
  FAutoDockColor = false;
  for (TdxDockControl* d : FDockControls) d->RefreshColors();
}

void TdxBarManager::SetNotDocking(TdxBarDockingStyles Value) {
  if (FNotDocking == Value) return;
  FNotDocking = Value;
  ApplyStyle();
}

void TdxBarManager::SetRegistryPath(const std::string& Value) {
  std::string v = Value;
  if (!v.empty()) {
    if (v.front() != '\\') v.insert(v.begin(), '\\');
    if (v.back() != '\\') v.push_back('\\');
  }
  FRegistryPath = v;
}

void TdxBarManager::SetWaitForDockingTime(int Value) {
  if (Value >= 0) FWaitForDockingTime = Value;
}

void TdxBarManager::SetScaled(bool Value) {
  if (FScaled == Value) return;
  FScaled = Value;
  if (Value && !FUseSystemFont) ApplySystemFont();
  RebuildDerivedFonts();
}

void TdxBarManager::SetUseSystemFont(bool Value) {
  FUseSystemFont = Value;
  if (Value) ApplySystemFont();
  RebuildDerivedFonts();
}

void TdxBarManager::ApplySystemFont() {
  TFont* menuFont = Screen ? Screen->MenuFont() : nullptr;
  if (!menuFont) return;
  FChangingFontItself = true;
  try {
    if (FUseSystemFont)
      FFont->Assign(menuFont);
    else if (FScaled)
      FFont->SetHeight(menuFont->Height());
  } catch (...) {
    FChangingFontItself = false;
    throw;
  }
  FChangingFontItself = false;
}

void TdxBarManager::FontChanged(TObject*) {
  if (!FChangingFontItself) {
    FUseSystemFont = false;
    if (FScaled && !IsLoading()) {
      TNotifyEvent handler = FFont->OnChange;
      FFont->OnChange = {};
      ApplySystemFont();
      FFont->OnChange = handler;
    }
  }
  RebuildDerivedFonts();
  if (FFontChangedHandlers) FFontChangedHandlers->CallAll(this, nullptr);
  if (FBars) FBars->RecalculateAll();
}

void TdxBarManager::RebuildDerivedFonts() {
  if (!FSmallCaptionFont || !FCaptionFont || !FFont) return;
  NONCLIENTMETRICS ncm;
  ncm.cbSize = 340;
  if (SystemParametersInfo(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) {
    LOGFONT lf = ncm.lfSmCaptionFont;
    if (!FUseSystemFont) {
      lf.lfHeight = std::min<LONG>(-11, lf.lfHeight);
      std::string face = FFont->Name().substr(0, sizeof lf.lfFaceName - 1);
      std::fill(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), '\0');
      std::copy(face.begin(), face.end(), lf.lfFaceName);
    }
    HFONT font = CreateFontIndirect(&lf);
    FSmallCaptionFont->SetHandle(font);
    DeleteObject(font);
  }
  FCaptionFont->Assign(FFont.get());
  LOGFONT icon;
  if (FScaled && SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0))
    FCaptionFont->SetHeight(icon.lfHeight >= -10 ? -11 : icon.lfHeight);
}

void TdxBarManager::FreeBrushes() {
  for (HBRUSH& b : FFlatBrushes)
    if (b) {
      DeleteObject(b);
      b = nullptr;
    }
  if (FThemedToolbarBrush) {
    DeleteObject(FThemedToolbarBrush);
    FThemedToolbarBrush = nullptr;
  }
}

void TdxBarManager::RefreshColors() {
  FreeBrushes();
  const COLORREF colors[5] = {
      ScaleChannels(ColorToRGB(clBtnShadow), [](int c) { return c * 8 / 10; }),
      ScaleChannels(ColorToRGB(clBtnFace), [](int c) { return c + (255 - c) * 16 / 100; }),
      COLORREF(ColorToRGB(SystemLightColor(11, 9, 73))),
      COLORREF(ColorToRGB(SystemLightColor(14, 44, 40))),
      COLORREF(ColorToRGB(SystemLightColor(-2, 30, 72))),
  };
  for (int i = 0; i < 5; ++i) {
    COLORREF c = NearestScreenColor(colors[i]);
    FFlatBrushes[i] = CreateSolidBrush(c);
    if (i == 4) FFlatHighlightColor = TColor(c);
  }
  if (IsThemingAvailable())
    FThemedToolbarBrush = CreateSolidBrush(COLORREF(ColorToRGB(ToolbarThemeColor())));
}

void TdxBarManager::ImagesChanged() {
  if (FBars) FBars->RecalculateAll();
}

void TdxBarManager::GlyphSizeChanged() {
  NotifyDesignerModified();
  if (FBars) FBars->RecalculateAll();
}

void TdxBarManager::ImageListContentsChanged(int ListIndex) {
  if (IsLoading() || IsDestroying() || !FImageOptions || FImageOptions->IsLoading()) return;
  BeginBarsUpdate();
  try {
    for (TdxBarItem* item : std::vector<TdxBarItem*>(FItems)) {
      if (ListIndex == 0 || ListIndex == 3) {
        if (item->ImageIndex() >= 0) item->ImageIndexChanged();
      } else if (ListIndex == 1 || ListIndex == 4) {
        if (item->HasAnyImageIndex()) item->LargeImageIndexChanged();
      } else if (item->HasHotImage()) {
        item->HotImageChanged();
      }
    }
  } catch (...) {
    EndBarsUpdate();
    throw;
  }
  EndBarsUpdate();
}

void TdxBarManager::SetAutoHideEmptyBars(bool Value) {
  if (FAutoHideEmptyBars == Value) return;
  FAutoHideEmptyBars = Value;
  if (!Value)
    for (int i = 0; i < FBars->Count(); ++i) FBars->Items(i)->SetHiddenAsEmpty(false);
}

void TdxBarManager::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || IsDestroying()) return;
  if (FImageOptions) FImageOptions->ComponentRemoved(AComponent);
  if (FPopupMenuLinks)
    for (int i = 0; i < FPopupMenuLinks->Count(); ++i) {
      TdxBarPopupMenuLink* l = FPopupMenuLinks->Items(i);
      if (l->Control() == AComponent) l->SetControl(nullptr);
      if (l->PopupMenu() == AComponent) l->SetPopupMenu(nullptr);
    }
}

void TdxBarManager::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (int i = 0; i < FBars->Count(); ++i)
    if (FBars->Items(i)->Owner() == Root) Proc(FBars->Items(i));
  for (TdxBarItem* item : std::vector<TdxBarItem*>(FItems))
    if (item->Owner() == Root && item->Category() >= 0) Proc(item);
  for (TdxBarGroup* g : std::vector<TdxBarGroup*>(FGroups))
    if (g->Owner() == Root) Proc(g);
}

void TdxBarManager::SetChildOrder(TComponent* Child, int Order) {
  if (auto* item = dynamic_cast<TdxBarItem*>(Child))
    item->SetIndexInManager(Order - FBars->Count());
}

void TdxBarManager::DefineProperties(TFiler* Filer) {
  Filer->DefineProperty(
      "DockControlHeights",
      [this](TReader* R) {
        R->ReadListBegin();
        for (size_t i = 0; !R->EndOfList(); ++i) {
          int v = R->ReadInteger();
          if (i < FDockControlHeights.size()) FDockControlHeights[i] = v;
        }
        R->ReadListEnd();
        // Left and right widths, then top and bottom heights; the sites then follow their rows.
        static const TdxBarDockingStyle order[] = {dsLeft, dsRight, dsTop, dsBottom};
        for (size_t i = 0; i < 4; ++i)
          if (TdxDockControl* d = FBars->DockControls(order[i])) {
            if (d->Horizontal()) d->SetBounds(d->Left(), d->Top(), d->Width(), FDockControlHeights[i]);
            else d->SetBounds(d->Left(), d->Top(), FDockControlHeights[i], d->Height());
          }
      },
      [this](TWriter* W) {
        static const TdxBarDockingStyle order[] = {dsLeft, dsRight, dsTop, dsBottom};
        for (size_t i = 0; i < 4; ++i)
          if (TdxDockControl* d = FBars->DockControls(order[i]))
            FDockControlHeights[i] = d->Horizontal() ? d->Height() : d->Width();
        W->WriteListBegin();
        for (int v : FDockControlHeights) W->WriteInteger(v);
        W->WriteListEnd();
      },
      true);
  Filer->DefineProperty(
      "Bars", [this](TReader* R) { FBars->ReadLegacyCollection(R); }, nullptr, false);
  FCategories->DefineVisibilities(Filer);
}

void dxBarUnitStart(bool Start) {
  if (Start) {
    gUnitFinalized = false;
    gManagers = new std::vector<TdxBarManager*>();
    RegisterClass<TdxBarBitmap, TBitmap>();
    return;
  }
  gUnitFinalized = true;
  dxBarFreeHintWindow();
  delete gItemList;
  gItemList = nullptr;
  delete gDesignController;
  gDesignController = nullptr;
  FreeSharedFlatPainter();
  if (gManagers && !gManagers->empty()) UnsubscribeBarHooks();
  delete gManagers;
  gManagers = nullptr;
}
