#include "suite/bars/dxBarMDI.h"

#include <QtCore/QtGlobal>
#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/win/DeviceContext.h"
#include "platform/win/QtWindows.h"

// The window-menu glyphs drawn by tools/suitebitmaps.
static void InitBarImages() { Q_INIT_RESOURCE(sonalix_bar_images); }

namespace {

// The system's window-menu command of each MDI button (minimize, restore, close).
constexpr WPARAM kMDIButtonCommands[3] = {SC_MINIMIZE, SC_RESTORE, SC_CLOSE};

// Deep menus are read to this depth at most.
constexpr int kMaxMenuDepth = 8;

const char* GlyphResourceOf(HBITMAP ItemBitmap) {
  if (ItemBitmap == HBMMENU_POPUP_CLOSE) return "DXBARCLOSE";
  if (ItemBitmap == HBMMENU_POPUP_RESTORE) return "DXBARRESTORE";
  if (ItemBitmap == HBMMENU_POPUP_MAXIMIZE) return "DXBARMAXIMIZE";
  if (ItemBitmap == HBMMENU_POPUP_MINIMIZE) return "DXBARMINIMIZE";
  return nullptr;
}

// A glyph takes a copy of a menu's bitmap; the menu keeps its own.
bool CopyBitmapInto(TBitmap* Glyph, HBITMAP Bitmap) {
  TGdiBitmap* bits = Bitmap ? FindBitmap(Bitmap) : nullptr;
  if (!bits || bits->Image.isNull()) return false;
  Glyph->SetImage(bits->Image.copy());
  return true;
}

}  // namespace

HWND ActiveMDIChildWindow() {
  auto* main = Application ? dynamic_cast<TCustomForm*>(Application->MainForm()) : nullptr;
  if (!main || !main->HandleAllocated() || !main->ClientHandle()) return nullptr;
  return reinterpret_cast<HWND>(SendMessage(main->ClientHandle(), WM_MDIGETACTIVE, 0, 0));
}

// ---- TSystemMenuSubItem

TSystemMenuSubItem::TSystemMenuSubItem(TComponent* AOwner) : TCustomdxBarSubItem(AOwner) {}

TSystemMenuSubItem::~TSystemMenuSubItem() = default;

TdxBarItemControlClass TSystemMenuSubItem::ControlClass(bool) const {
  return ItemControlClassOf<TSystemMenuSubItemControl>();
}

void TSystemMenuSubItem::Click() {
  TdxBarDesignController* dc = BarDesignController();
  if (dc) dc->FreeInternalItems();
  if (HMENU menu = GetSystemMenu(FChildWindow, FALSE)) {
    ItemLinks()->BeginUpdate();
    try {
      FillLinks(ItemLinks(), menu, 0);
    } catch (...) {
      ItemLinks()->EndUpdate();
      throw;
    }
    ItemLinks()->EndUpdate();
  }
  TCustomdxBarSubItem::Click();
}

void TSystemMenuSubItem::FillLinks(TdxBarItemLinks* Links, HMENU Menu, int Depth) {
  TdxBarDesignController* dc = BarDesignController();
  bool beginGroup = false;
  const int count = GetMenuItemCount(Menu);
  for (int i = 0; i < count; ++i) {
    char text[1024] = {};
    MENUITEMINFO mii;
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_TYPE;
    mii.dwTypeData = text;
    mii.cch = sizeof(text);
    if (!GetMenuItemInfo(Menu, UINT(i), TRUE, &mii)) continue;
    if (mii.fType & MFT_SEPARATOR) {
      beginGroup = true;
      continue;
    }
    std::string caption;
    if (mii.fType & MFT_BITMAP) {
      char bitmapText[1024] = {};
      if (GetMenuString(Menu, UINT(i), bitmapText, sizeof(bitmapText), MF_BYPOSITION) > 0) caption = bitmapText;
    } else {
      caption = text;
    }
    std::string shortCut;
    if (size_t tab = caption.find('\t'); tab != std::string::npos) {
      shortCut = caption.substr(tab + 1);
      caption.erase(tab);
    }
    TdxBarItem* item;
    if (mii.hSubMenu && Depth < kMaxMenuDepth) {
      auto* sub = new TdxBarSubItem(Owner());
      item = sub;
      if (dc) dc->TrackInternalItem(sub);
      FillLinks(sub->ItemLinks(), mii.hSubMenu, Depth + 1);
    } else {
      auto* button = new TdxBarButton(Owner());
      item = button;
      if (dc) dc->TrackInternalItem(button);
      if (mii.fState & MFS_CHECKED) {
        button->SetButtonStyle(bsChecked);
        button->SetDown(true);
      }
      button->SetTag(intptr_t(mii.wID));
      button->OnClick = TNotifyEvent::Bind(this, &TSystemMenuSubItem::ExecuteCommand);
    }
    item->SetCaption(caption);
    item->SetEnabled(!(mii.fState & (MFS_GRAYED | MFS_DISABLED)));
    if (const char* resource = GlyphResourceOf(mii.hbmpItem)) {
      item->Glyph()->LoadFromResourceName(resource);
    } else {
      CopyBitmapInto(item->Glyph(), (mii.fState & MFS_CHECKED) ? mii.hbmpChecked : mii.hbmpUnchecked);
      if ((mii.fType & MFT_BITMAP) && item->Glyph()->Empty())
        CopyBitmapInto(item->Glyph(), reinterpret_cast<HBITMAP>(mii.dwTypeData));
    }
    item->SetShortCut(TextToShortCut(shortCut));
    TdxBarItemLink* link = Links->AddLinkForItem(item);
    link->SetBeginGroup(beginGroup);
    beginGroup = false;
  }
}

void TSystemMenuSubItem::ExecuteCommand(TObject* Sender) {
  auto* component = dynamic_cast<TComponent*>(Sender);
  if (component && IsWindow(FChildWindow))
    SendMessage(FChildWindow, WM_SYSCOMMAND, WPARAM(component->Tag()), 0);
}

HICON TSystemMenuSubItem::ChildIcon() const {
  if (!IsWindow(FChildWindow)) return nullptr;
  auto icon = reinterpret_cast<HICON>(SendMessage(FChildWindow, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessage(FChildWindow, WM_GETICON, ICON_BIG, 0));
  if (!icon) return nullptr;
  return static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE));
}

// ---- TSystemMenuSubItemControl

TSystemMenuSubItem* TSystemMenuSubItemControl::SystemMenuItem() const {
  return dynamic_cast<TSystemMenuSubItem*>(LinkItem());
}

bool TSystemMenuSubItemControl::IsKeyNavigable() const {
  TdxBarManager* m = LinkBarManager();
  return !(m && m->IsCustomizingOrDesigning());
}

void TSystemMenuSubItemControl::Draw(const TRect& R, int) {
  TcxCanvas* canvas = DrawingCanvas();
  TCustomdxBarControl* bar = BarControl();
  if (!canvas) return;
  HDC dc = canvas->CurrentDC();
  if (bar) bar->DrawBackground(dc, R, true, clNone, bar->BackgroundBrush());
  TSystemMenuSubItem* item = SystemMenuItem();
  if (HICON icon = item ? item->ChildIcon() : nullptr) {
    DrawIconEx(dc, R.Left, R.Top, icon, R.Width(), R.Height(), 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
  }
}

int TSystemMenuSubItemControl::Height() { return GetSystemMetrics(SM_CYSMICON); }

int TSystemMenuSubItemControl::Width() { return GetSystemMetrics(SM_CXSMICON); }

bool TSystemMenuSubItemControl::AllowsActivation() const {
  TdxBarManager* m = LinkBarManager();
  return TdxBarSubItemControl::AllowsActivation() && !(m && m->IsDraggingItem());
}

void TSystemMenuSubItemControl::DoubleClicked() {
  TSystemMenuSubItem* item = SystemMenuItem();
  HWND child = item ? item->ChildWindow() : nullptr;
  TdxBarSubItemControl::DoubleClicked();
  if (TCustomdxBarControl* bar = BarControl()) bar->CloseUp(dxbcrClick);
  if (!IsWindow(child)) return;
  UINT command = GetMenuDefaultItem(GetSystemMenu(child, FALSE), FALSE, 0);
  if (command != 0xFFFFFFFF) SendMessage(child, WM_SYSCOMMAND, command, 0);
}

// ---- the manager's side

void TdxBarManager::ActiveMDIChildChanged() {
  const bool wasMaximized = FActiveMDIChildMaximized;
  HWND active = ActiveMDIChildWindow();
  FActiveMDIChildMaximized = active && IsZoomed(active);
  // The bars are updated together, their dock sites still drawing.
  ++FBarsUpdateCount;
  struct TRelease {
    TdxBarManager* Manager;
    HWND Active;
    ~TRelease() {
      Manager->FLastActiveMDIChild = Active;
      if (--Manager->FBarsUpdateCount > 0 || Manager->IsDestroying()) return;
      bool changed = false;
      for (int i = 0; i < Manager->Bars()->Count(); ++i) changed = changed || Manager->Bars()->Items(i)->Changed();
      Manager->Relayout(changed);
    }
  };
  {
    TRelease release{this, FLastActiveMDIChild};
    if (active != FLastActiveMDIChild) {
      MergeStep(1, FLastActiveMDIChild);
      MergeStep(0, active);
    } else if (wasMaximized != FActiveMDIChildMaximized) {
      MergeStep(2, active);
    }
    release.Active = active;
  }
  TdxBar* main = Bars()->MainMenuBar();
  TCustomdxBarControl* bar = main ? main->ItemLinks()->BarControl() : nullptr;
  if (FActiveMDIChildMaximized && bar && bar->HandleAllocated())
    PostMessage(bar->WindowHandle(), WM_APP + 200, 0, 0);
}

void TdxBarManager::MergeStep(int Kind, HWND ChildWindow) {
  const bool maximized = ChildWindow && IsZoomed(ChildWindow);
  TdxBar* mine = Bars()->MainMenuBar();
  if (mine) {
    if ((Kind == 0 || Kind == 2) && maximized) AddSystemMenuItem(ChildWindow);
    else if (Kind == 1 || Kind == 2) RemoveSystemMenuItems();
  }
  TdxBarManager* child = ChildWindow ? BarManagerOfWindow(ChildWindow) : nullptr;
  if (child == this) child = nullptr;
  enum { mmNone, mmMerge, mmUnmerge } mode = mmNone;
  if (Kind == 2 && AlwaysMerge) mode = mmNone;
  else if ((Kind == 0 || Kind == 2) && (AlwaysMerge || maximized)) mode = mmMerge;
  else if (Kind == 1 || (Kind == 2 && !maximized)) mode = mmUnmerge;
  TdxBar* theirs = child ? child->Bars()->MainMenuBar() : nullptr;
  auto recorded = [this](TdxBar* b) {
    return std::find(FMenuMergedBars.begin(), FMenuMergedBars.end(), b) != FMenuMergedBars.end();
  };
  if (mine && theirs && mode == mmMerge) {
    if (OnMenuMerge) {
      OnMenuMerge(this, child, true);
      if (!theirs->MergedWith() && !recorded(theirs)) {
        FVisibleBeforeMerging[theirs] = theirs->Visible();
        FMenuMergedBars.push_back(theirs);
        theirs->SetVisible(false);
      }
    } else if (!theirs->MergedWith() && !recorded(theirs)) {
      FVisibleBeforeMerging[theirs] = theirs->Visible();
      mine->Merge(theirs);
      theirs->SetVisible(false);
    }
  } else if (mine && theirs && mode == mmUnmerge) {
    std::vector<TdxBar*> noted = mine->MergedBars();
    for (TdxBar* b : noted) mine->Unmerge(b);
    noted.insert(noted.end(), FMenuMergedBars.begin(), FMenuMergedBars.end());
    FMenuMergedBars.clear();
    if (OnMenuMerge) OnMenuMerge(this, child, false);
    for (TdxBar* b : noted)
      if (auto it = FVisibleBeforeMerging.find(b); it != FVisibleBeforeMerging.end()) {
        b->SetVisible(it->second);
        FVisibleBeforeMerging.erase(it);
      }
  }
  if (OnMerge && child && mode != mmNone) OnMerge(this, child, mode == mmMerge);
  TdxBarMergeEventArgs args(Kind, ChildWindow);
  MergeHandlers()->CallAll(this, &args);
}

void TdxBarManager::AddSystemMenuItem(HWND ChildWindow) {
  if (!GetSystemMenu(ChildWindow, FALSE)) return;
  TdxBar* main = Bars()->MainMenuBar();
  if (!main) return;
  auto* item = new TSystemMenuSubItem(Owner());
  if (!FInternalItems) FInternalItems = std::make_unique<TComponentList>(true);
  if (TdxBarDesignController* dc = BarDesignController()) dc->TrackInternalItem(item, FInternalItems.get());
  else FInternalItems->Add(item);
  item->SetChildWindow(ChildWindow);
  main->ItemLinks()->BeginUpdate();
  try {
    TdxBarItemLink* link = main->ItemLinks()->InsertLink(0);
    link->SetItem(item);
  } catch (...) {
    main->ItemLinks()->EndUpdate();
    throw;
  }
  main->ItemLinks()->EndUpdate();
}

void TdxBarManager::RemoveSystemMenuItems() {
  if (FInternalItems) FInternalItems->Clear();
}

bool TdxBarManager::HasSystemMenuItems() const { return FInternalItems && FInternalItems->Count() > 0; }

void TdxBarManager::SendMDIChildSysCommand(int ButtonIndex) {
  if (ButtonIndex < 0 || ButtonIndex > 2) return;
  if (HWND child = ActiveMDIChildWindow()) SendMessage(child, WM_SYSCOMMAND, kMDIButtonCommands[ButtonIndex], 0);
}

TcxEventHandlerCollection* TdxBarManager::MergeHandlers() {
  if (!FMergeHandlers) FMergeHandlers = std::make_unique<TcxEventHandlerCollection>();
  return FMergeHandlers.get();
}

void RegisterBarMDIClasses() {
  InitBarImages();
  RegisterClass<TSystemMenuSubItem, TCustomdxBarSubItem>();
  RegisterBarItemClass(FindClassInfo(typeid(TSystemMenuSubItem)), ItemControlClassOf<TSystemMenuSubItemControl>(),
                       false);
}
