// The bar control window base: item controls, metrics, painting order, and the mouse and keyboard
// paths that move the selection and take bars in and out of the active chain.
#include <algorithm>

#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarAccessibility.h"
#include "suite/bars/dxBarHints.h"
#include "suite/bars/dxBarItemControls.h"
#include "suite/bars/dxBarNavigation.h"
#include "suite/bars/dxBarShadow.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxFading.h"

namespace {

std::vector<TCustomdxBarControl*>& LiveBars() {
  static std::vector<TCustomdxBarControl*> list;
  return list;
}

TCustomdxBarControl* gActiveBarControl = nullptr;
bool gChainEnteredWhileCustomizing = false;

bool IsSelectable(TdxBarItemControl* Control) {
  return Control && (Control->IsKeyNavigable() || Control->CanBeClicked());
}

bool IsButtonLike(TdxBarItemControl* Control) { return dynamic_cast<TdxBarButtonLikeControl*>(Control); }

bool IsFocusedWindowed(TdxBarItemControl* Control) {
  auto* w = dynamic_cast<TdxBarWinControl*>(Control);
  return w && w->Editing();
}

// Holds the manager's selection-change counter up for one change, also when an exception passes.
struct TSelectionChange {
  TdxBarManager* Manager;
  explicit TSelectionChange(TdxBarManager* M) : Manager(M) {
    if (Manager) Manager->BeginSelectionChange();
  }
  ~TSelectionChange() {
    if (Manager) Manager->EndSelectionChange();
  }
};

}  // namespace

// ---- unit-wide state

TCustomdxBarControl* GetActiveBarControl() { return gActiveBarControl; }
bool ActiveChainEnteredWhileCustomizing() { return gChainEnteredWhileCustomizing; }
void SetActiveChainEnteredWhileCustomizing(bool Value) { gChainEnteredWhileCustomizing = Value; }

void AddLiveBarControl(TCustomdxBarControl* Control) { LiveBars().push_back(Control); }

void RemoveLiveBarControl(TCustomdxBarControl* Control) {
  auto& l = LiveBars();
  l.erase(std::remove(l.begin(), l.end(), Control), l.end());
  if (gActiveBarControl == Control) gActiveBarControl = nullptr;
}

bool IsLiveBarControl(const TObject* Control) {
  const auto& l = LiveBars();
  return Control && std::find(l.begin(), l.end(), Control) != l.end();
}

int LiveBarControlCount() { return int(LiveBars().size()); }
TCustomdxBarControl* LiveBarControl(int Index) { return LiveBars().at(size_t(Index)); }

TCustomdxBarControl* RootBarControlOf(TCustomdxBarControl* Control) {
  while (Control && Control->ParentBar()) Control = Control->ParentBar();
  return Control;
}

TCustomdxBarControl* BarControlOfWindow(HWND Wnd) {
  if (!Wnd) return nullptr;
  for (TCustomdxBarControl* c : LiveBars())
    if (c->WindowHandle() == Wnd) return c;
  return nullptr;
}

// ---- construction

TCustomdxBarControl::TCustomdxBarControl(TComponent* AOwner) : TCustomControl(AOwner) {
  CreateResources();
  AddLiveBarControl(this);
  TControlStyle style = ControlStyle();
  style.Exclude(csCaptureMouse);
  SetControlStyle(style);
  UpdateDoubleClicks();
  SetColor(clBtnFace);
  SetVisible(false);
  SetBounds(100, 100, 50, 30);
}

void TCustomdxBarControl::BeforeDestruction() {
  SetState(dxbcsDestroying, true);
  if (FChildBar && !FChildBar->IsDestroying()) delete FChildBar;
  if (FParentBar && FParentBar->FChildBar == this) FParentBar->AttachChildBar(nullptr);
}

TCustomdxBarControl::~TCustomdxBarControl() {
  BeforeDestruction();
  DetachAccessibilityHelper(FAccessibilityHelper);
  if (TdxBarManager* m = BarManager()) {
    m->EndControlMouseTracking(this);
    if (m->KeyboardBarControl() == this) m->SetKeyboardBarControl(nullptr);
  }
  StopMouseTracking(this);
  NotifyClosed();
  if (TdxBarManager* m = BarManager())
    if (TdxBarItemControl* sel = m->SelectedItemControl(); sel && sel->BarControl() == this) {
      m->StoreSelectedItemControl(nullptr);
      m->HideItemHint();
    }
  FreeItemControls();
  DestroyHandle();
  if (FItemLinks && FItemLinks->BarControl() == this) FItemLinks->SetBarControl(nullptr);
  HandOverSelection();
  if (gActiveBarControl == this) gActiveBarControl = FPreviousActive;
  for (TCustomdxBarControl* c : LiveBars())
    if (c->FPreviousActive == this) c->FPreviousActive = FPreviousActive;
  RemoveLiveBarControl(this);
  if (gActiveBarControl && !IsLiveBarControl(gActiveBarControl)) gActiveBarControl = nullptr;
  ClearLinksToObject(this);
  FreeResources();
  SetState(dxbcsDestroyed, true);
}

TdxBarManager* TCustomdxBarControl::OwnerBarManager() const { return dynamic_cast<TdxBarManager*>(Owner()); }

TdxBarManager* TCustomdxBarControl::BarManager() const {
  if (TdxBarManager* m = OwnerBarManager()) return m;
  return FItemLinks ? FItemLinks->BarManager() : nullptr;
}

void TCustomdxBarControl::CreateResources() {
  FShadow = std::make_unique<TdxBarShadow>(this);
  FBackgroundCache = std::make_unique<TBitmap>();
}

void TCustomdxBarControl::FreeResources() {
  FShadow.reset();
  FViewInfo.reset();
  FBackgroundCache.reset();
  FCanvas.reset();
  FScreenCanvas.reset();
}

TCustomdxBarControlViewInfo* TCustomdxBarControl::CreateViewInfo() { return new TCustomdxBarControlViewInfo(this); }

TCustomdxBarControlViewInfo* TCustomdxBarControl::ViewInfo() const {
  if (!FViewInfo && !IsDestroying()) FViewInfo.reset(const_cast<TCustomdxBarControl*>(this)->CreateViewInfo());
  return FViewInfo.get();
}

void TCustomdxBarControl::ClearBackgroundCache() {
  if (FBackgroundCache) FBackgroundCache->SetSize(0, 0);
}

void TCustomdxBarControl::DecideDoubleBuffered() {}

void TCustomdxBarControl::UpdateDoubleClicks() {
  TdxBarManager* m = BarManager();
  TControlStyle style = ControlStyle();
  if ((m && m->ResolvedStyle() != bmsStandard) || (m && m->IsCustomizing())) style.Include(csDoubleClicks);
  else style.Exclude(csDoubleClicks);
  SetControlStyle(style);
}

// ---- window

void TCustomdxBarControl::CreateWindowHandle(const TCreateParams& Params) {
  TCustomControl::CreateWindowHandle(Params);
  BuildItemControls();
  ApplyTransparency();
}

TcxAccessibilityHelperClass TCustomdxBarControl::AccessibilityHelperClass() const {
  return &CreateForOwner<TCustomdxBarControlAccessibilityHelper>;
}

TcxAccessibilityHelper* TCustomdxBarControl::AcquireAccessibilityHelper() {
  if (!FAccessibilityHelper && !IsDestroying())
    if (TcxAccessibilityHelperClass helperClass = AccessibilityHelperClass()) FAccessibilityHelper = helperClass(this);
  return FAccessibilityHelper;
}

void TCustomdxBarControl::CreateWnd() {
  TCustomControl::CreateWnd();
  // Assistive tools read the bar and its commands through its helper.
  cxSetWindowAccessibilityHelper(WindowHandle(), AcquireAccessibilityHelper());
  FCanvas = std::make_unique<TcxCanvas>(Canvas());
  if (FScreenCanvas) FScreenCanvas.reset();
  InitFont();
  UpdateFont();
  UpdateMetrics();
}

void TCustomdxBarControl::DestroyWindowHandle() {
  if (WindowHandle()) ReleasePlacedWindows();
  FreeItemControls();
  TCustomControl::DestroyWindowHandle();
  FCanvas.reset();
}

TcxCanvas* TCustomdxBarControl::CurrentCanvas() const {
  if (WindowHandle() && FCanvas) return FCanvas.get();
  if (!FScreenCanvas) {
    FScreenCanvas = std::make_unique<TcxScreenCanvas>();
    FScreenCanvas->CurrentFont()->Assign(Font());
  }
  return FScreenCanvas.get();
}

void TCustomdxBarControl::UpdateFont() {
  if (FState & dxbcsUpdatingFont) return;
  SetState(dxbcsUpdatingFont, true);
  TcxCanvas* c = CurrentCanvas();
  if (c && c->CurrentFont()) {
    c->CurrentFont()->Assign(Font());
    if (IsRotated()) c->CurrentFont()->SetOrientation(-900);
  }
  SetState(dxbcsUpdatingFont, false);
}

void TCustomdxBarControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (!dynamic_cast<TdxBarWinControl*>(SelectedControl())) {
        PassFocusBack();
        return;
      }
      break;
    case WM_KILLFOCUS: {
      TCustomControl::WndProc(Message);
      if (Message.WParam == 0) CloseUp(dxbcrClick);
      return;
    }
    case WM_NCACTIVATE:
      if (Message.WParam && !IsCustomizing())
        if (HWND parent = GetParent(WindowHandle())) SendMessage(parent, WM_NCACTIVATE, 1, 0);
      Message.WParam = 1;
      break;
    default:
      break;
  }
  if (((Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSEWHEEL) ||
       (Message.Msg >= WM_NCMOUSEMOVE && Message.Msg <= WM_NCMBUTTONDBLCLK)) &&
      !IsInActiveChain())
    return;
  TCustomControl::WndProc(Message);
}

void TCustomdxBarControl::Dispatch(TMessage& Message) {
  FCurrentMessage = Message;
  DispatchMessageTable(Message);
}

void TCustomdxBarControl::DispatchMessageTable(TMessage& Message) {
  switch (Message.Msg) {
    case WM_DESTROY:
      if (!IsDestroying()) {
        SetMarkState(0);
        ReleasePlacedWindows();
      }
      TCustomControl::Dispatch(Message);
      return;
    case WM_PAINT:
      if (IsDestroying()) {
        ValidateRect(WindowHandle(), nullptr);
        return;
      }
      break;
    case WM_CLOSE:
      if (TdxBarManager* m = BarManager())
        if (TCustomForm* f = m->NearestParentForm(); f && f->HandleAllocated())
          SendMessage(f->WindowHandle(), WM_CLOSE, 0, 0);
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_MOUSEACTIVATE:
      TCustomControl::Dispatch(Message);
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_WINDOWPOSCHANGED: {
      TCustomControl::Dispatch(Message);
      if (!IsDestroying()) BoundsChanged(reinterpret_cast<const WINDOWPOS*>(Message.LParam));
      return;
    }
    case WM_NCPAINT:
      if (NeedsNCPaint()) {
        TCustomControl::Dispatch(Message);
        HDC dc = BeginNCPaint(HRGN(Message.WParam));
        if (!dc) return;
        try {
          DrawNonClient(dc);
        } catch (...) {
          EndNCPaint(dc);
          throw;
        }
        EndNCPaint(dc);
        return;
      }
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      HandleKeyDown(Message);
      return;
    case WM_MOUSEMOVE: {
      TWeakLink<TCustomdxBarControl> self(this);
      TCustomControl::Dispatch(Message);
      if (self) RecordMousePosition(KeysToShiftState(Message.WParam), GET_X_LPARAM(Message.LParam),
                                    GET_Y_LPARAM(Message.LParam));
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (FIgnoreNextClick) return;
      break;
    case WM_LBUTTONUP: {
      if (FIgnoreNextClick) {
        FIgnoreNextClick = false;
        return;
      }
      TWeakLink<TCustomdxBarControl> self(this);
      TCustomControl::Dispatch(Message);
      if (self) HandleMouseUpMessage(Message);
      return;
    }
    case WM_CAPTURECHANGED:
      TCustomControl::Dispatch(Message);
      if (FDragPending) {
        FDragPending = false;
        if (TdxBarManager* m = BarManager()) {
          m->SetDraggedItem(nullptr);
          m->SetDraggedItemLink(nullptr);
        }
      }
      FClickedControl = nullptr;
      return;
    case WM_PRINT:
      TCustomControl::Dispatch(Message);
      DrawNonClient(HDC(Message.WParam));
      return;
    case WM_DXBAR_DEFERREDRECALC:
      RecalculateBar();
      return;
    default:
      break;
  }
  TCustomControl::Dispatch(Message);
}

HDC TCustomdxBarControl::BeginNCPaint(HRGN Region) { return GetWindowDC(WindowHandle()); }

void TCustomdxBarControl::EndNCPaint(HDC DC) { ReleaseDC(WindowHandle(), DC); }

void TCustomdxBarControl::DrawBackground(HDC DC, const TRect& R, bool InClient, TColor Color, HBRUSH Brush) {
  FillRectWithBackground(DC, R, R, nullptr, Color, Brush);
}

void TCustomdxBarControl::DrawNCBackground(HDC DC, HRGN Region, bool InClient, HBRUSH Brush) {
  int saved = SaveDC(DC);
  if (Region) ExtSelectClipRgn(DC, Region, RGN_AND);
  RECT r{};
  GetWindowRect(WindowHandle(), &r);
  DrawBackground(DC, TRect(0, 0, r.right - r.left, r.bottom - r.top), InClient, clNone, Brush);
  RestoreDC(DC, saved);
}

void TCustomdxBarControl::Resize() {
  TCustomControl::Resize();
  if (IsPopup() && WindowHandle())
    if (TdxBarPainter* p = Painter()) {
      RECT r{};
      GetWindowRect(WindowHandle(), &r);
      p->AfterBarResize(WindowHandle(), TRect(0, 0, r.right - r.left, r.bottom - r.top), true);
    }
}

void TCustomdxBarControl::BoundsChanged(const WINDOWPOS* WindowPos) {
  bool changed = !WindowPos || (WindowPos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE);
  if (changed && FShadow && HasShadow() && WindowHandle()) {
    TdxBarPainter* p = Painter();
    TRect owner = TouchesOwnerBounds() && p && p->FlatBarFlagDeep(this) ? FOwnerBounds : TRect();
    RECT r{};
    GetWindowRect(WindowHandle(), &r);
    FShadow->SetRects(owner, TRect(r.left, r.top, r.right, r.bottom));
  }
  if (FShadow) FShadow->ChangeVisibility(ShadowVisible());
  ClearBackgroundCache();
}

void TCustomdxBarControl::RecordMousePosition(TShiftState Shift, int X, int Y) {
  if (IgnoresMouse(true) && IgnoresMouse(false)) {
    MouseLeave();
    return;
  }
  if (!IgnoresMouse(false)) {
    POINT p{};
    GetCursorPos(&p);
    FLastMousePosition = TPoint(p.x, p.y);
  }
}

bool TCustomdxBarControl::IsShowing() const {
  return WindowHandle() && IsWindowVisible(WindowHandle()) && ::IsWindowEnabled(WindowHandle());
}

bool TCustomdxBarControl::IsWindowEnabled() const { return WindowHandle() && IsWindowEnabledDeep(WindowHandle()); }

bool TCustomdxBarControl::IgnoresMouse(bool SamePositionCounts) const {
  if (IsCustomizing()) return true;
  if (!WindowHandle() || !IsWindowVisible(WindowHandle())) return true;
  POINT p{};
  GetCursorPos(&p);
  if (SamePositionCounts && TPoint(p.x, p.y) == FLastMousePosition) return true;
  RECT r{};
  GetWindowRect(WindowHandle(), &r);
  return !(p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom);
}

// ---- metrics and layout

TdxBarPainter* TCustomdxBarControl::Painter() const {
  if (FParentBar) return FParentBar->Painter();
  TdxBarManager* m = BarManager();
  return m ? m->Painter() : nullptr;
}

int TCustomdxBarControl::MeasureTextSize() {
  TdxBarPainter* p = Painter();
  TcxCanvas* c = CurrentCanvas();
  return p && c ? p->DefaultTextSize(c) : 0;
}

int TCustomdxBarControl::BaseTextSize() const {
  TdxBarPainter* p = Painter();
  return p ? p->ReferenceTextSize() : 19;
}

void TCustomdxBarControl::UpdateMetrics() {
  FTextSize = MeasureTextSize();
  int base = BaseTextSize();
  FRatio = base > 0 ? std::max(double(FTextSize) / base, 1.0) : 1.0;
  FMenuArrowHeight = std::max(4, FTextSize / 5);
  FIconAreaSize = IconAreaWidth();
  TdxBarPainter* p = Painter();
  TcxCanvas* c = CurrentCanvas();
  if (!p || !c) return;
  std::unique_ptr<TFont> saved = std::make_unique<TFont>();
  saved->Assign(c->CurrentFont());
  if (TFont* ef = EditFont()) c->CurrentFont()->Assign(ef);
  SIZE s{};
  GetTextExtentPoint32(c->CurrentDC(), "0", &s);
  c->CurrentFont()->Assign(saved.get());
  FEditTextSize = p->EditTextHeight(this, s.cy);
  FComboArrowWidth = p->ComboArrowWidth(this, s.cx);
}

int TCustomdxBarControl::TextWidthFor(TdxBarItemControl* Control) const {
  int own = Control ? Control->OwnTextSize() : 0;
  return own ? own : TextSize();
}

int TCustomdxBarControl::ReservedMetric(TdxBarItemControl* Control) const { return ivlDefault; }

int TCustomdxBarControl::ItemOrientation() const { return BarControlKind() == 2 ? 1 : IsRotated() ? 2 : 0; }

int TCustomdxBarControl::PainterIndent() const {
  TdxBarPainter* p = Painter();
  return p ? p->BarIndent(const_cast<TCustomdxBarControl*>(this)) : 0;
}

int TCustomdxBarControl::DropDownShift() const {
  TdxBarPainter* p = Painter();
  return p ? p->DropDownShift() : 0;
}

int TCustomdxBarControl::MarkSize() const { return HasMark() ? FMarkSize : 0; }

TFont* TCustomdxBarControl::EditFont() const {
  TdxBarManager* m = BarManager();
  return m ? m->Font() : nullptr;
}

HFONT TCustomdxBarControl::EditFontHandle() const {
  TFont* f = EditFont();
  return f ? f->Handle() : nullptr;
}

TdxFader* TCustomdxBarControl::Fader() const { return SharedFader(); }

HBRUSH TCustomdxBarControl::BackgroundBrush() const {
  TdxBarPainter* p = Painter();
  return p ? p->BarBrush(const_cast<TCustomdxBarControl*>(this)) : nullptr;
}
HBRUSH TCustomdxBarControl::PatternBrush() const {
  TdxBarPainter* p = Painter();
  return p ? p->CheckerBrush(const_cast<TCustomdxBarControl*>(this)) : nullptr;
}
HBRUSH TCustomdxBarControl::FaceBrush() const {
  TdxBarPainter* p = Painter();
  return p ? p->MenuBrush(const_cast<TCustomdxBarControl*>(this)) : nullptr;
}
HBRUSH TCustomdxBarControl::HighlightBrush() const {
  TdxBarPainter* p = Painter();
  return p ? p->SelectionBrush(const_cast<TCustomdxBarControl*>(this)) : nullptr;
}

bool TCustomdxBarControl::HasShadow() const {
  TdxBarPainter* p = Painter();
  return p && p->FlatBarFlag(const_cast<TCustomdxBarControl*>(this));
}

bool TCustomdxBarControl::ShadowVisible() const {
  return HasShadow() && WindowHandle() && IsWindowVisible(WindowHandle());
}

void TCustomdxBarControl::CalcLayout() { CalcItemsRect(); }

void TCustomdxBarControl::CalcItemsRect() {
  TRect margins;
  ContentMargins(margins);
  TRect r = ClientRect();
  FItemsRect = TRect(r.Left + margins.Left, r.Top + margins.Top, r.Right - margins.Right, r.Bottom - margins.Bottom);
}

int TCustomdxBarControl::GroupIndentBefore(TdxBarItemLink* Link) const {
  if (!Link || !Link->BeginGroup() || !FItemLinks) return 0;
  const auto& shown = FItemLinks->ShownLinks();
  return !shown.empty() && shown.front() != Link ? GroupIndent() : 0;
}

void TCustomdxBarControl::CalcStackedLinkRect(TdxBarItemLink* Link, const TPoint& Origin, TRect& R) {
  int h = Link && Link->Control() ? Link->Control()->Height() : 0;
  int top = Origin.Y + GroupIndentBefore(Link);
  R = TRect(Origin.X, top, FVisibleItemsRect.Right, top + h);
}

void TCustomdxBarControl::StackLinks(int FirstIndex, int& Bottom) {
  Bottom = FVisibleItemsRect.Top;
  if (!FItemLinks) return;
  TPoint origin(FVisibleItemsRect.Left, FVisibleItemsRect.Top);
  const auto& shown = FItemLinks->ShownLinks();
  for (size_t i = size_t(std::max(FirstIndex, 0)); i < shown.size(); ++i) {
    TRect r;
    CalcStackedLinkRect(shown[i], origin, r);
    if (r.Bottom > FVisibleItemsRect.Bottom) {
      if (ShowsPartialLink(r)) {
        shown[i]->SetItemBounds(r);
        Bottom = FVisibleItemsRect.Bottom;
      }
      return;
    }
    shown[i]->SetItemBounds(r);
    Bottom = r.Bottom;
    origin.Y = r.Bottom;
  }
}

void TCustomdxBarControl::PlaceItemControls(int Kind, int FirstIndex) {
  FVisibleItemsRect = FItemsRect;
  AdjustVisibleTop();
  if (FItemLinks) FItemLinks->ClearLinkBounds();
  if (Kind == 1) {
    int bottom = 0;
    StackLinks(FirstIndex, bottom);
  } else {
    ArrangeLinks();
  }
  AdjustVisibleBottom();
}

void TCustomdxBarControl::CalculateViewInfo() {
  if (FLockCount > 0 || !ViewInfo()) return;
  ViewInfo()->Recalculate();
}

void TCustomdxBarControl::DropPositionAt(const TPoint& P, TdxBarItemLink*& Link, bool& Vertical, bool& Before,
                                         bool& OnSeparator) {
  Link = nullptr;
  Before = false;
  OnSeparator = false;
  Vertical = IsVerticalLayout();
  if (!FItemLinks) return;
  for (TdxBarItemLink* l : FItemLinks->ShownLinks()) {
    TdxBarItemControl* c = l->Control();
    if (!c || !c->BelongsToManager()) continue;
    TRect full;
    ItemControlRect(c, true, full);
    if (!full.Contains(P)) continue;
    Link = l;
    TRect r;
    ItemRect(c, r);
    bool vertical = Vertical;
    int index = -1;
    if (!r.Contains(P) && ViewInfo() && ViewInfo()->FindSeparatorOf(c, index)) {
      OnSeparator = true;
      uint8_t kind = 0;
      ViewInfo()->GetSeparator(index, r, kind);
      if (P.Y < LinkBoundsOf(c).Top) vertical = true;
    }
    Before = vertical ? P.Y < (r.Top + r.Bottom) / 2 : P.X < (r.Left + r.Right) / 2;
    return;
  }
}

void TCustomdxBarControl::ItemRect(TdxBarItemControl* Control, TRect& R) const { R = LinkBoundsOf(Control); }

void TCustomdxBarControl::ItemControlRect(TdxBarItemControl* Control, bool IncludeSeparator, TRect& R) const {
  R = LinkBoundsOf(Control);
}

HRGN TCustomdxBarControl::ItemControlRegion(TdxBarItemControl* Control) const {
  TRect r;
  ItemControlRect(Control, true, r);
  return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
}

TRect TCustomdxBarControl::LinkBoundsOf(TdxBarItemControl* Control) const {
  return Control ? Control->ItemBoundsOf() : TRect();
}

TRect TCustomdxBarControl::ItemControlScreenRect(TdxBarItemControl* Control) const {
  TRect r = LinkBoundsOf(Control);
  TPoint o = ClientOrigin();
  return TRect(r.Left + o.X, r.Top + o.Y, r.Right + o.X, r.Bottom + o.Y);
}

TdxBarItemControl* TCustomdxBarControl::ItemControlAt(const TPoint& P) const {
  if (!ViewInfo()) return nullptr;
  for (int i = 0; i < ViewInfo()->ControlCount(); ++i) {
    TdxBarItemControlViewInfo* vi = ViewInfo()->ControlViewInfo(i);
    if (!vi->Bounds.Contains(P)) continue;
    TdxBarItemControl* c = vi->Control();
    if (IsCustomizing() && (!AllowsCustomizingHits() || (c && c->HiddenFromCustomizingHitTest()))) return nullptr;
    return c;
  }
  return nullptr;
}

TdxBarItemControl* TCustomdxBarControl::ItemControlUnderCursor() const {
  if (!WindowHandle()) return nullptr;
  POINT p{};
  GetCursorPos(&p);
  return ItemControlAt(ScreenToClient(TPoint(p.x, p.y)));
}

bool TCustomdxBarControl::HasItemControl(TdxBarItemControl* Control) const {
  TdxBarItemLink* link = Control ? Control->Link() : nullptr;
  return link && link->Control() == Control && link->BarControl() == this;
}

TdxBarItemControl* TCustomdxBarControl::SelectedControl() const {
  return FSelectedLink ? FSelectedLink->Control() : nullptr;
}

TdxBarItemControl* TCustomdxBarControl::DesignSelectedItemControl() const { return nullptr; }

TdxBarItemControl* TCustomdxBarControl::ClickedControl() const { return FClickedControl.get(); }

void TCustomdxBarControl::SetClickedControl(TdxBarItemControl* Value) { FClickedControl = Value; }

// ---- item controls

void TCustomdxBarControl::BuildItemControls() {
  if (FState & (dxbcsBuildingControls | dxbcsFreeingControls)) return;
  SetState(dxbcsBuildingControls, true);
  try {
    CreateLinkControls();
  } catch (...) {
    SetState(dxbcsBuildingControls, false);
    throw;
  }
  SetState(dxbcsBuildingControls, false);
}

void TCustomdxBarControl::FreeItemControls() {
  if (FState & (dxbcsBuildingControls | dxbcsFreeingControls)) return;
  SetState(dxbcsFreeingControls, true);
  FSelectedLink = nullptr;
  FTrackedLink = nullptr;
  FreeLinkControls();
  SetState(dxbcsFreeingControls, false);
}

void TCustomdxBarControl::CreateLinkControls() {
  if (!FItemLinks) return;
  for (TdxBarItemLink* l : FItemLinks->ShowableLinks()) l->CreateControl();
}

void TCustomdxBarControl::FreeLinkControls() {
  if (!FItemLinks) return;
  for (TdxBarItemLink* l : FItemLinks->ShowableLinks()) l->FreeControl();
}

void TCustomdxBarControl::ReleasePlacedWindows() {
  if (!IsDestroying()) MouseLeave();
  if (!FItemLinks) return;
  for (TdxBarItemLink* l : FItemLinks->ShowableLinks())
    if (TdxBarItemControl* c = l->Control()) c->ReleasePlacedWindow();
}

void TCustomdxBarControl::Rebuild(bool Recreate) {
  if (Recreate) RecreateItemControls();
}

void TCustomdxBarControl::RecreateItemControls() {
  FreeItemControls();
  BuildItemControls();
  if (TdxBarManager* m = BarManager()) m->PostHotTrackMouseMove(this);
}

void TCustomdxBarControl::RebuildKeepingSelection(bool Recreate) {
  if (IsDestroying() || !WindowHandle()) return;
  if (FState & (dxbcsBuildingControls | dxbcsFreeingControls | dxbcsRebuilding)) return;
  if (IsLayoutLocked()) return;
  SetState(dxbcsRebuilding, true);
  TdxBarItemLink* kept = FSelectedLink;
  TdxBarManager* m = BarManager();
  if (IsCustomizing()) {
    if (m && m->SelectedItemControl() && m->SelectedItemControl()->BarControl() == this)
      m->StoreSelectedItemControl(nullptr);
  }
  FSelectedLink = nullptr;
  try {
    Rebuild(Recreate);
  } catch (...) {
    SetState(dxbcsRebuilding, false);
    throw;
  }
  if (kept && FItemLinks && FItemLinks->IndexOfLink(kept) >= 0 && kept->Control())
    KeySelectItemControl(kept->Control());
  SetState(dxbcsRebuilding, false);
}

void TCustomdxBarControl::RecalculateBar() { RebuildKeepingSelection(true); }

bool TCustomdxBarControl::IsLayoutLocked() const {
  TdxBarManager* m = BarManager();
  return (m && m->IsBarsUpdating()) || FLockCount > 0;
}

// ---- painting

bool TCustomdxBarControl::CanDrawItemControl(TdxBarItemControl* Control) const {
  if (IsDestroying() || !Control || !Control->Link() || Control->Link()->Control() != Control) return false;
  if (Control->Destroying()) return false;
  if (TdxBarItem* item = Control->LinkItem(); item && item->ComponentState().Contains(csDestroying)) return false;
  if (FState & dxbcsDrawingControl) return false;
  if (IsLayoutLocked()) return false;
  return ViewInfo() && ViewInfo()->ShowsControl(Control);
}

void TCustomdxBarControl::DrawItemControl(TdxBarItemControl* Control, TcxCanvas* ACanvas, const TRect& R) {
  if (!ACanvas) return;
  TRect clip = R;
  if (ViewInfo()) {
    int i = ViewInfo()->IndexOfControl(Control);
    if (i >= 0) clip = ViewInfo()->ControlViewInfo(i)->Bounds;
  }
  HDC dc = ACanvas->CurrentDC();
  int saved = SaveDC(dc);
  IntersectClipRect(dc, clip.Left, clip.Top, clip.Right, clip.Bottom);
  Control->Paint(ACanvas, R, ItemOrientation());
  RestoreDC(dc, saved);
}

void TCustomdxBarControl::DrawItemControlWithBackground(TcxCanvas* ACanvas, TdxBarItemControl* Control) {
  SetState(dxbcsDrawingControl, true);
  FBackgroundBrush = BackgroundBrush();
  try {
    DrawItemControl(Control, ACanvas, LinkBoundsOf(Control));
  } catch (...) {
    SetState(dxbcsDrawingControl, false);
    throw;
  }
  SetState(dxbcsDrawingControl, false);
}

void TCustomdxBarControl::DrawItemControls() {
  TcxCanvas* c = CurrentCanvas();
  if (!c || !ViewInfo()) return;
  for (int i = 0; i < ViewInfo()->ControlCount(); ++i) {
    TdxBarItemControlViewInfo* vi = ViewInfo()->ControlViewInfo(i);
    if (CanDrawItemControl(vi->Control())) DrawItemControlWithBackground(c, vi->Control());
    ExcludeClipRect(c->CurrentDC(), vi->Bounds.Left, vi->Bounds.Top, vi->Bounds.Right, vi->Bounds.Bottom);
  }
}

void TCustomdxBarControl::InvalidateItemControl(TdxBarItemControl* Control) {
  if (!Control || !WindowHandle()) return;
  TRect r = LinkBoundsOf(Control);
  RECT rr{r.Left, r.Top, r.Right, r.Bottom};
  InvalidateRect(WindowHandle(), &rr, FALSE);
}

void TCustomdxBarControl::RepaintWithFrame() {
  if (WindowHandle()) SendMessage(WindowHandle(), WM_NCPAINT, 1, 0);
  Invalidate();
}

void TCustomdxBarControl::RepaintFrameAndClient() {
  if (WindowHandle()) SendMessage(WindowHandle(), WM_NCPAINT, 1, 0);
  Repaint();
}

TPoint TCustomdxBarControl::ClientOffset() const {
  if (!WindowHandle()) return TPoint();
  RECT w{};
  GetWindowRect(WindowHandle(), &w);
  TPoint o = ClientOrigin();
  return TPoint(o.X - w.left, o.Y - w.top);
}

void TCustomdxBarControl::ClientRectInWindow(TRect& R) const {
  TPoint o = ClientOffset();
  TRect c = ClientRect();
  R = TRect(c.Left + o.X, c.Top + o.Y, c.Right + o.X, c.Bottom + o.Y);
}

TPoint TCustomdxBarControl::PointInParent(const TPoint& P) const { return TPoint(P.X + Left(), P.Y + Top()); }

bool TCustomdxBarControl::TouchesOwnerBounds() const {
  if (FOwnerBounds.IsEmpty()) return false;
  TRect b = BoundsRect();
  bool horizontalEdge = (b.Top == FOwnerBounds.Bottom || b.Bottom == FOwnerBounds.Top) &&
                        std::max(b.Left, FOwnerBounds.Left) < std::min(b.Right, FOwnerBounds.Right);
  bool verticalEdge = (b.Left == FOwnerBounds.Right || b.Right == FOwnerBounds.Left) &&
                      std::max(b.Top, FOwnerBounds.Top) < std::min(b.Bottom, FOwnerBounds.Bottom);
  return horizontalEdge || verticalEdge;
}

void TCustomdxBarControl::OwnerJointRect(bool InScreen, TRect& R) const {
  R = TRect();
  if (!TouchesOwnerBounds()) return;
  TRect b = BoundsRect();
  const TRect& o = FOwnerBounds;
  if (b.Top == o.Bottom || b.Bottom == o.Top) {
    int l = std::max(b.Left, o.Left) + 1, r = std::min(b.Right, o.Right) - 1;
    if (r <= l) return;
    bool below = b.Top == o.Bottom;
    if (InScreen) R = below ? TRect(l, b.Top - 1, r, b.Top) : TRect(l, b.Bottom, r, b.Bottom + 1);
    else R = below ? TRect(l - b.Left, 0, r - b.Left, 1) : TRect(l - b.Left, b.Height() - 1, r - b.Left, b.Height());
  } else {
    int t = std::max(b.Top, o.Top) + 1, bt = std::min(b.Bottom, o.Bottom) - 1;
    if (bt <= t) return;
    bool right = b.Left == o.Right;
    if (InScreen) R = right ? TRect(b.Left - 1, t, b.Left, bt) : TRect(b.Right, t, b.Right + 1, bt);
    else R = right ? TRect(0, t - b.Top, 1, bt - b.Top) : TRect(b.Width() - 1, t - b.Top, b.Width(), bt - b.Top);
  }
}

// ---- relations

void TCustomdxBarControl::AttachChildBar(TCustomdxBarControl* Child) {
  if (FChildBar == Child) return;
  TCustomdxBarControl* old = FChildBar;
  FChildBar = Child;
  if (old && old->FParentBar == this) old->FParentBar = nullptr;
  if (Child && Child->FParentBar != this) Child->SetParentBar(this);
}

void TCustomdxBarControl::SetParentBar(TCustomdxBarControl* Value) {
  if (FParentBar == Value) return;
  TCustomdxBarControl* old = FParentBar;
  FParentBar = Value;
  if (old && old->FChildBar == this) old->FChildBar = nullptr;
  if (Value && Value->FChildBar != this) Value->AttachChildBar(this);
}

void TCustomdxBarControl::AssignDockControl(TdxDockControl* Site) {
  FDockControl = Site;
  DecideDoubleBuffered();
}

void TCustomdxBarControl::SetDockingStyle(TdxBarDockingStyle Style) {
  if (FDockingStyle == Style) return;
  FDockingStyle = Style;
  ClearBackgroundCache();
  Perform(CM_FONTCHANGED, 0, 0);
  ApplyTransparency();
}

bool TCustomdxBarControl::IsDockedVertically() const { return FDockingStyle == dsLeft || FDockingStyle == dsRight; }

bool TCustomdxBarControl::IsAncestorOf(const TCustomdxBarControl* Control) const {
  for (const TCustomdxBarControl* c = Control ? Control->FParentBar : nullptr; c; c = c->FParentBar)
    if (c == this) return true;
  return false;
}

bool TCustomdxBarControl::OwnsWindow(HWND Wnd) const {
  if (!Wnd) return false;
  HWND own = WindowHandle();
  if (own && (Wnd == own || IsChild(own, Wnd))) return true;
  if (FChildBar && FChildBar->OwnsWindow(Wnd)) return true;
  if (TdxBarItemControl* c = SelectedControl(); c && c->OwnsWindow(Wnd)) return true;
  return false;
}

TWinControl* TCustomdxBarControl::OwnerControl() const { return FOwnerBounds.IsEmpty() ? nullptr : FOwnerControl; }

TCustomForm* TCustomdxBarControl::OwnerForm() const {
  TdxBarManager* m = BarManager();
  return m ? m->NearestParentForm() : nullptr;
}

bool TCustomdxBarControl::IsKeyboardBar() const {
  TdxBarManager* m = BarManager();
  return m && m->KeyboardBarControl() == this;
}

bool TCustomdxBarControl::IsCursorOverMark() const {
  if (!WindowHandle()) return false;
  TRect r;
  MarkRect(r);
  POINT p{};
  GetCursorPos(&p);
  return r.Contains(ScreenToClient(TPoint(p.x, p.y)));
}

bool TCustomdxBarControl::IsMouseOverWindow() const {
  return WindowHandle() && WindowAtScreenPoint(GetMouseScreenPos()) == WindowHandle();
}

void TCustomdxBarControl::ShowNoActivate() {
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  if (TdxBarItemControl* c = SelectedControl()) c->ShowPlacedWindow(true);
}

void TCustomdxBarControl::MouseTrackingBounds(TRect& R) const { R = BoundsRect(); }

bool TCustomdxBarControl::CanActivate() const {
  return (Application->Active() && IsWindowEnabled()) || IsCustomizing();
}

bool TCustomdxBarControl::IsCustomizing() const {
  TdxBarManager* m = BarManager();
  return m && m->IsCustomizingOrDesigning();
}

bool TCustomdxBarControl::AllowsCustomizingHits() const {
  TdxBarManager* m = BarManager();
  return m && m->IsDesigning();
}

bool TCustomdxBarControl::IsCustomizingClick(TdxBarManager* Manager, HWND Wnd) const {
  if (Manager && Manager->IsCustomizingOrDesigning() && Wnd != WindowHandle()) return true;
  TdxBarItemControl* c = SelectedControl();
  return !(c && !c->CanCloseFor(Manager));
}

int TCustomdxBarControl::NavigationFlags() const { return FParentBar ? FParentBar->NavigationFlags() : 19; }

bool TCustomdxBarControl::IsInActiveChain() const {
  TCustomdxBarControl* head = GetActiveBarControl();
  if (!head || head == this) return true;
  for (TCustomdxBarControl* c = head->NavigationParent(); c; c = c->NavigationParent())
    if (c == this) return true;
  return false;
}

bool TCustomdxBarControl::ShowsContextPopupOn(bool MouseDown) const {
  bool early = (!(NavigationFlags() & 256) && !IsInternalPopup()) || IsCustomizing();
  return MouseDown ? early : (NavigationFlags() & 256) && !early;
}

TCustomdxBarControl* TCustomdxBarControl::NextToolbar(bool Forward) const {
  TdxBarManager* m = BarManager();
  if (!m) return nullptr;
  std::vector<TCustomdxBarControl*> bars;
  for (int i = 0; i < m->Bars()->Count(); ++i)
    if (TCustomdxBarControl* c = m->Bars()->Items(i)->ItemLinks()->BarControl(); c && c->IsShowing())
      bars.push_back(c);
  if (bars.empty()) return nullptr;
  const TCustomdxBarControl* root = this;
  while (root->FParentBar) root = root->FParentBar;
  auto it = std::find(bars.begin(), bars.end(), root);
  int n = int(bars.size());
  int i = it == bars.end() ? (Forward ? -1 : 0) : int(it - bars.begin());
  return bars[size_t(((i + (Forward ? 1 : -1)) % n + n) % n)];
}

// ---- hints

void TCustomdxBarControl::AdjustHintRect(TRect& R, int Height) {
  int top = R.Top + ScaleByCurrentDPI(20);
  TRect work = DesktopWorkAreaAt(TPoint(R.Left, R.Top));
  if (top + Height > work.Bottom) top = ClientOrigin().Y - Height;
  R.Bottom = top + (R.Bottom - R.Top);
  R.Top = top;
}

void TCustomdxBarControl::RequestHint(bool Show, const std::string* Text, TObject* Object) {
  if (TdxBarManager* m = BarManager()) m->ShowItemHint(Show, Text ? *Text : std::string(), Object);
}

TdxCustomHintViewInfo* TCustomdxBarControl::NewHintViewInfo(const std::string& Hint, const std::string& ShortCut,
                                                            TdxScreenTip* ScreenTip) {
  TdxBarPainter* p = Painter();
  return p ? p->CreateHintViewInfo(BarManager(), Hint, ShortCut) : nullptr;
}

// The painter places the hint at the mouse; the bar then moves it below the cursor, or above the
// bar when there is no room below.
TPoint TCustomdxBarControl::CalcHintPosition(const TPoint& Cursor, int Height, const TRect& ItemBounds) {
  TdxBarPainter* p = Painter();
  TPoint at = p ? p->HintPosition(this, ItemBounds, Cursor) : Cursor;
  TRect r(at.X, at.Y, at.X, at.Y + Height);
  AdjustHintRect(r, Height);
  return r.TopLeft();
}

TPoint TCustomdxBarControl::CalcHintPositionAtMark(const TPoint& Cursor, int Height) {
  TRect r;
  MarkRect(r);
  return CalcHintPosition(Cursor, Height, r);
}

bool TCustomdxBarControl::GetHintTexts(TObject* Sender, std::string& Hint, std::string& ShortCut) {
  OwnHintText(Hint);
  ShortCut.clear();
  return true;
}

void TCustomdxBarControl::NotifyClosed() {
  if (OnClose) OnClose(this);
}

// ---- focus

void TCustomdxBarControl::PassFocusBack() {
  TdxBarManager* m = BarManager();
  TWinControl* owner = m ? m->ParentControl() : nullptr;
  if (owner && owner->HandleAllocated() && IsWindowVisible(owner->WindowHandle())) {
    ::SetFocus(owner->WindowHandle());
    return;
  }
  if (HWND next = WindowHandle() ? GetWindow(WindowHandle(), GW_HWNDNEXT) : nullptr) ::SetFocus(next);
}

// ---- active state and selection

void TCustomdxBarControl::SetActiveState(bool Value) {
  FActive = Value;
  if (Value) {
    if (!gActiveBarControl) gChainEnteredWhileCustomizing = IsCustomizing();
    if (gActiveBarControl != this) {
      FPreviousActive = gActiveBarControl;
      gActiveBarControl = this;
    }
    if (!IsCustomizing() && FItemLinks) FItemLinks->UpdateActions();
    return;
  }
  if (IsCustomizing()) FSelectedLink = nullptr;
  else KeySelectItemControl(nullptr);
  if (gActiveBarControl == this) gActiveBarControl = FPreviousActive;
  FPreviousActive = nullptr;
  if (gActiveBarControl && (!IsLiveBarControl(gActiveBarControl) || !gActiveBarControl->IsActive()))
    gActiveBarControl = nullptr;
  GetBarNavigationController()->BarControlDeactivated(this);
}

void TCustomdxBarControl::ChangeActive(bool Value) {
  if (TdxBarManager* m = BarManager()) m->HideItemHint();
  if (Value == FActive) return;
  if (!CanActivate() && !(!Value && IsCustomizing())) return;
  SetActiveState(Value);
}

void TCustomdxBarControl::Activate(TdxBarItemControl* Control) {
  KeySelectItemControl(Control);
  SetActiveState(true);
}

void TCustomdxBarControl::Deactivate() {
  KeySelectItemControl(nullptr);
  SetActiveState(false);
}

void TCustomdxBarControl::DeactivateIfFocused() {
  if (IsKeyboardBar()) Deactivate();
}

void TCustomdxBarControl::ActivateItemControlInBar(TCustomdxBarControl* Bar, TdxBarItemControl* Control) {
  if (Bar) Bar->Activate(Control);
}

void TCustomdxBarControl::MoveToNextToolbar(bool Forward) {
  TCustomdxBarControl* root = RootBarControlOf(this);
  TCustomdxBarControl* next = NextToolbar(Forward);
  if (root && root->IsKeyboardBar()) root->Deactivate();
  if (!next) return;
  TdxBarItemControl* first = next->FirstSelectableControl();
  next->Activate(first);
}

void TCustomdxBarControl::KeySelectItemControl(TdxBarItemControl* Control) {
  if (!WindowHandle() || IsDestroying() || Control == SelectedControl()) return;
  TWeakLink<TCustomdxBarControl> self(this);
  TdxBarItemControl* old = SelectedControl();
  TdxBarManager* m = BarManager();
  std::unique_ptr<TSelectionChange> change;
  if (old && Control) change = std::make_unique<TSelectionChange>(m);
  if (old && old->Active()) old->LeaveActiveState(true);
  if (!self) return;
  if (Control) Control->SelectedByMouse = false;
  SetHotItemControl(Control);
  change.reset();
  if (self && Control) ItemControlSelected(Control);
}

void TCustomdxBarControl::SelectItemControl(TdxBarItemControl* Control) {
  if (!WindowHandle() || IsDestroying()) return;
  if (Control == SelectedControl()) return;
  if (IsFocusedWindowed(SelectedControl())) return;
  TWeakLink<TCustomdxBarControl> self(this);
  TdxBarItemControl* old = SelectedControl();
  {
    TSelectionChange change(old && Control ? BarManager() : nullptr);
    if (old && old->Active()) old->LeaveActiveState(false);
    if (!self) return;
    if (Control) Control->SelectedByMouse = true;
    SetHotItemControl(Control);
  }
  if (!self) return;
  TdxBarItemControl* sel = SelectedControl();
  if (sel) {
    if (auto* b = dynamic_cast<TdxBarButtonLikeControl*>(sel)) b->Pressed = true;
    sel->EnterActiveState(false, true);
  }
}

void TCustomdxBarControl::SetHotItemControl(TdxBarItemControl* Control) {
  TdxBarItemControl* old = SelectedControl();
  if (Control == old) return;
  TWeakLink<TCustomdxBarControl> self(this);
  FSelectedLink = Control ? Control->Link() : nullptr;
  if (NavigationFlags() & 64) FDowned = false;
  TdxBarManager* m = BarManager();
  if (m) {
    if (IsCustomizing()) {
      m->SelectItemControl(Control);
      if (!self) return;
    } else {
      m->StoreSelectedItemControl(Control);
    }
  }
  if (old) InvalidateItemControl(old);
  if (Control) InvalidateItemControl(Control);
  if (!Control) SetCursor(crDefault);
  if (Control || BarControlKind() == 2 || FMarkState == 0) RequestHint(true, nullptr, Control);
  std::string hint;
  if (Control && (Control->IsEnabled() || (m && m->ShowHintForDisabledItems))) {
    std::string h, shortCut;
    Control->HintAndShortCutText(h, shortCut);
    hint = GetLongHint(h);
  }
  SetHint(hint);
}

void TCustomdxBarControl::SelectOrClose(TdxBarItemControl* Control) {
  if (NavigationFlags() & 2) SetHotItemControl(Control);
  else CloseByKey();
}

void TCustomdxBarControl::PressItemControl(TdxBarItemControl* Control, bool Ambiguous) {
  TWeakLink<TCustomdxBarControl> self(this);
  KeySelectItemControl(Control);
  if (self && !Ambiguous && WindowHandle()) SendMessage(WindowHandle(), WM_KEYDOWN, VK_RETURN, 0);
}

TdxBarItemLink* TCustomdxBarControl::FindAccelLink(WORD Key, TShiftState Shift, TdxBarItemLink* StartLink) {
  return FItemLinks ? FItemLinks->FindAccelLink(Key, Shift, StartLink) : nullptr;
}

TdxBarItemLink* TCustomdxBarControl::AccelLinkFor(WORD Key, TShiftState Shift, bool& Ambiguous,
                                                  TdxBarItemLink* StartLink) {
  Ambiguous = false;
  TdxBarItemLink* l = FindAccelLink(Key, Shift, StartLink);
  if (!l || !l->Control() || !l->Control()->IsEnabled()) return nullptr;
  TdxBarItemLink* other = FindAccelLink(Key, Shift, l);
  Ambiguous = other && other != l;
  return l;
}

// ---- closing

void TCustomdxBarControl::CloseUp(int Reason) {
  if (FState & dxbcsClosingUp) return;
  FCloseUpReason = uint8_t(Reason);
  SetState(dxbcsClosingUp, true);
  TWeakLink<TCustomdxBarControl> self(this);
  try {
    DoCloseUp(Reason);
  } catch (...) {
    if (self) SetState(dxbcsClosingUp, false);
    throw;
  }
  if (self) SetState(dxbcsClosingUp, false);
}

void TCustomdxBarControl::DoCloseUp(int Reason) {
  TWeakLink<TCustomdxBarControl> self(this);
  SetActiveState(false);
  if (self && FParentBar) FParentBar->CloseUp(FCloseUpReason);
}

// ---- mouse

bool TCustomdxBarControl::IsPointInClient(const TPoint& P) const { return ClientRect().Contains(P); }

void TCustomdxBarControl::MouseLeave() {
  FLastMousePosition = TPoint(-1, -1);
  TdxBarManager* m = BarManager();
  if (m && m->IsMouseTrackedControl(this) && !KeepsMouseTracking()) {
    m->EndControlMouseTracking(this);
    MouseLeftBar();
  }
}

bool TCustomdxBarControl::PtInCaller(const TPoint& P) {
  POINT s{};
  GetCursorPos(&s);
  TPoint screen(s.x, s.y);
  if (IsKeyboardBar()) {
    TRect r;
    MouseTrackingBounds(r);
    return r.Contains(screen);
  }
  if (WindowAtScreenPoint(screen) == WindowHandle() && WindowHandle()) return true;
  return WindowHandle() && ItemControlAt(ScreenToClient(screen)) != nullptr;
}

void TCustomdxBarControl::TrackLink(const TPoint& P, TShiftState Shift) {
  TdxBarItemControl* under = P.X == -1 && P.Y == -1 ? nullptr : ItemControlAt(P);
  TdxBarItemLink* link = under ? under->Link() : nullptr;
  if (link != FTrackedLink) {
    if (FTrackedLink && FTrackedLink->Control()) FTrackedLink->Control()->MouseLeave();
    FTrackedLink = link;
    if (link && link->Control()) link->Control()->MouseEnter(Shift, P.X, P.Y);
  }
  if (link && link->Control()) link->Control()->MouseMove(Shift, P.X, P.Y);
}

void TCustomdxBarControl::MouseEnterBar(TShiftState Shift, const TPoint& P, TdxBarItemControl* Control) {
  if (TdxBarManager* m = BarManager()) m->BeginControlMouseTracking(this);
  TrackLink(P, Shift);
  int old = FViewState;
  FViewState = 1;
  if (old != 1 && !IsCustomizing()) ViewStateChanged(old);
}

void TCustomdxBarControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TWeakLink<TCustomdxBarControl> self(this);
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (!self) return;
  TPoint p(X, Y);
  TdxBarItemControl* c = ItemControlAt(p);
  TdxBarManager* m = BarManager();
  if ((FLastMousePosition == TPoint(-1, -1) || !(m && m->IsMouseTrackedControl(this))) && !IsCustomizing())
    MouseEnterBar(Shift, p, c);
  if (!self) return;
  if (Shift.Contains(ssDouble) && c && c == SelectedControl() && c->WantsDoubleClick()) {
    DblClickItemControl(c);
    return;
  }
  switch (FCurrentMessage.Msg) {
    case WM_LBUTTONDBLCLK: FCurrentMessage.Msg = WM_LBUTTONDOWN; break;
    case WM_RBUTTONDBLCLK: FCurrentMessage.Msg = WM_RBUTTONDOWN; break;
    case WM_MBUTTONDBLCLK: FCurrentMessage.Msg = WM_MBUTTONDOWN; break;
    default: break;
  }
  MouseDownOnBar(Button, Shift, IsPointInClient(p), c, p);
}

void TCustomdxBarControl::MouseMove(TShiftState Shift, int X, int Y) {
  TWeakLink<TCustomdxBarControl> self(this);
  TCustomControl::MouseMove(Shift, X, Y);
  if (!self || IsDestroying()) return;
  TPoint p(X, Y);
  if (FDragPending) {
    int cx = GetSystemMetrics(SM_CXDRAG), cy = GetSystemMetrics(SM_CYDRAG);
    TRect drag(FDragPoint.X - cx, FDragPoint.Y - cy, FDragPoint.X + cx, FDragPoint.Y + cy);
    if (!drag.Contains(p)) {
      FDragPending = false;
      ReleaseCapture();
      TdxBarManager* m = BarManager();
      if (m) {
        TdxBarItemLink* link = m->DraggedItemLink();
        if (link && link->Control()) link->Control()->LeaveActiveState(true);
        m->DragItemOrLink(m->DraggedItem(), link);
      }
      return;
    }
  }
  TdxBarItemControl* c = ItemControlAt(p);
  if (FLastMousePosition == TPoint(-1, -1) && !IgnoresMouse(true)) MouseEnterBar(Shift, p, c);
  if (self) MouseMoveOverBar(Shift, p, c);
}

void TCustomdxBarControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TWeakLink<TCustomdxBarControl> self(this);
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (!self) return;
  TPoint p(X, Y);
  MouseUpOnBar(Button, Shift, IsPointInClient(p), ItemControlAt(p), p);
}

void TCustomdxBarControl::MouseDownOnBar(TMouseButton Button, TShiftState Shift, bool InClient,
                                         TdxBarItemControl* Control, const TPoint& P) {
  TWeakLink<TCustomdxBarControl> self(this);
  if (IsCustomizing() && Control && !Control->BelongsToManager()) {
    if (TdxBarManager* m = BarManager()) m->SetCustomizing(false);
    if (!self) return;
  }
  if (!IgnoresMouse(false) && Control) Control->MouseDown(Button, Shift, P.X, P.Y);
  if (!self) return;
  TdxBarItemControl* designSelected = DesignSelectedItemControl();
  if (IsCustomizing()) {
    CustomizingClick(Control, Button, Shift);
    if (!self) return;
  }
  if (Button == mbLeft) {
    if (IsCustomizing()) BeginItemDrag(P, designSelected == DesignSelectedItemControl());
    else ItemMouseDown(Control);
  } else if (Button == mbRight) {
    if (Control && Control != SelectedControl()) DeactivateIfFocused();
    if (self && ShowsContextPopupOn(true)) ShowContextPopup();
  }
}

void TCustomdxBarControl::MouseMoveOverBar(TShiftState Shift, const TPoint& P, TdxBarItemControl* Control) {
  if (IgnoresMouse(true)) return;
  TrackLink(P, Shift);
  TdxBarManager* m = BarManager();
  if (m && IsFocusedWindowed(m->SelectedItemControl())) return;
  if (Control && !Control->CanFocusByKey()) Control = nullptr;
  if (CanHotTrack(P, Control) && !ClickedControl() && (Control || !FChildBar)) SelectItemControl(Control);
}

void TCustomdxBarControl::MouseLeftBar() {
  int old = FViewState;
  FViewState = 0;
  if (old != 0 && !IsCustomizing()) ViewStateChanged(old);
  TrackLink(TPoint(-1, -1), {});
  if (FMarkState == 1) SetMarkState(0);
  TdxBarItemControl* sel = SelectedControl();
  if (!ClickedControl() && sel && !sel->IsDroppedDown() && !IsCustomizing()) SelectItemControl(nullptr);
}

void TCustomdxBarControl::MouseUpOnBar(TMouseButton Button, TShiftState Shift, bool InClient,
                                       TdxBarItemControl* Control, const TPoint& P) {
  TWeakLink<TCustomdxBarControl> self(this);
  if (!IgnoresMouse(false) && Control) Control->MouseUp(Button, Shift, P.X, P.Y);
  if (self && Button == mbRight && ShowsContextPopupOn(false)) ShowContextPopup();
}

void TCustomdxBarControl::ItemMouseDown(TdxBarItemControl* Control) {
  if (!Control || !Control->IsEnabled() || !IsSelectable(Control)) return;
  TWeakLink<TCustomdxBarControl> self(this);
  TWeakLink<TdxBarItemControl> control(Control);
  KeySelectItemControl(Control);
  if (!self || !control) return;
  if (TdxBarManager* m = BarManager()) m->HideItemHint();
  if (SelectedControl() == Control) {
    if (auto* b = dynamic_cast<TdxBarButtonLikeControl*>(Control)) b->Pressed = true;
    if (Control->IsWindowControl()) MakeItemVisible(Control);
  }
  Control->DoClick(true, false);
  if (self && control && HasItemControl(Control))
    if (auto* b = dynamic_cast<TdxBarButtonControl*>(Control)) {
      b->Pressed = false;
      // A button on a toolbar out of menu mode is left alone by its click above; held down
      // under the mouse it now shows pressed.
      if (SelectedControl() == b) b->Repaint();
    }
}

void TCustomdxBarControl::HandleMouseUpMessage(TMessage& Message) {
  if (FDragPending) {
    FDragPending = false;
    ReleaseCapture();
    return;
  }
  TWeakLink<TCustomdxBarControl> self(this);
  bool held = ClickedControl() != nullptr;
  FClickedControl = nullptr;
  if (GetCapture() == WindowHandle() && WindowHandle()) ReleaseCapture();
  if (!self) return;
  TPoint p(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
  if (IsPointInClient(p) && FActive && !IsCustomizing()) {
    TdxBarItemControl* c = ItemControlAt(p);
    if (c && IsSelectable(c)) {
      if (c->IsEnabled() && c == SelectedControl()) {
        if (auto* w = dynamic_cast<TdxBarWinControl*>(c); w && w->InnerWindow()) {
          TPoint q = w->MapToInnerWindow(p);
          SendMessage(w->InnerWindow(), Message.Msg, Message.WParam, MAKELPARAM(q.X, q.Y));
        }
        if (self && HasItemControl(c) && c->CanBeClicked()) c->Click(true);
      } else if (!c->IsEnabled() && c != SelectedControl() && BarControlKind() == 0) {
        auto* b = dynamic_cast<TdxBarButtonControl*>(SelectedControl());
        if (!(b && b->IsDroppedDown())) CloseUp(dxbcrClick);
      }
    }
  }
  if (held && self) CloseUp(dxbcrClick);
}

void TCustomdxBarControl::DblClickItemControl(TdxBarItemControl* Control) {
  if (!Control) return;
  TdxBarManager* m = BarManager();
  if (m && m->IsDesigning()) return;
  Control->DoubleClicked();
}

void TCustomdxBarControl::BeginItemDrag(const TPoint& P, bool OnSelectedControl) {
  TdxBarManager* m = BarManager();
  TdxBarItemControl* c = DesignSelectedItemControl();
  if (!m || !IsCustomizing() || !c || !c->BelongsToManager()) return;
  FDragPoint = P;
  m->SetDraggedItem(c->LinkItem());
  m->SetDraggedItemLink(c->Link());
  FDragPending = true;
  SetCapture(Handle());
}

void TCustomdxBarControl::CustomizingClick(TdxBarItemControl* Control, TMouseButton Button, TShiftState Shift) {
  if (!Control) return;
  ActivateItemControlInBar(this, Control);
  if (Button == mbLeft) {
    if (!ViewInfo() || ViewInfo()->ControlCount() == 0) return;
    if (Control->BelongsToManager()) SelectItemControl(Control);
  } else if (Button == mbRight) {
    if (TdxBarItemControl* sel = SelectedControl(); sel && sel->Active()) sel->LeaveActiveState(true);
    KeySelectItemControl(Control);
  }
}

// ---- keyboard

TdxBarItemControl* TCustomdxBarControl::FirstSelectableControl() const {
  TdxBarItemLink* l = FItemLinks ? FItemLinks->FirstSelectableLink() : nullptr;
  return l ? l->Control() : nullptr;
}

TdxBarItemControl* TCustomdxBarControl::LastSelectableControl() const {
  TdxBarItemLink* l = FItemLinks ? FItemLinks->LastSelectableLink() : nullptr;
  return l ? l->Control() : nullptr;
}

TdxBarItemControl* TCustomdxBarControl::NextSelectableControl(TdxBarItemControl* From, bool Forward) const {
  if (!FItemLinks) return nullptr;
  TdxBarItemLink* from = From ? From->Link() : nullptr;
  if (!from) return FirstSelectableControl();
  TdxBarItemLink* l = Forward ? FItemLinks->NextSelectableLink(from) : FItemLinks->PrevSelectableLink(from);
  return l ? l->Control() : nullptr;
}

void TCustomdxBarControl::HandleKeyDown(TMessage& Message) {
  TWeakLink<TCustomdxBarControl> self(this);
  TCustomControl::Dispatch(Message);
  if (!self || !GetActiveBarControl()) return;
  WORD key = WORD(Message.WParam);
  TShiftState shift = GetShiftState();
  if (IsVerticalBar()) {
    switch (key) {
      case VK_LEFT: key = VK_UP; break;
      case VK_UP: key = VK_LEFT; break;
      case VK_RIGHT: key = VK_DOWN; break;
      case VK_DOWN: key = VK_RIGHT; break;
      default: break;
    }
  }
  if (BarControlKind() == 2) {
    switch (key) {
      case VK_LEFT:
      case VK_RIGHT: key = 0; break;
      case VK_UP: key = VK_LEFT; break;
      case VK_DOWN: key = VK_RIGHT; break;
      default: break;
    }
  }
  Message.WParam = key;
  bool clickWindowed = false;
  if (key == VK_TAB) {
    if (shift.Contains(ssCtrl)) {
      MoveToNextToolbar(!shift.Contains(ssShift));
      return;
    }
    key = shift.Contains(ssShift) ? VK_LEFT : VK_RIGHT;
    clickWindowed = true;
  }
  TdxBarManager* m = BarManager();
  switch (key) {
    case VK_END:
    case VK_HOME:
      if (TdxBarItemControl* c = key == VK_END ? LastSelectableControl() : FirstSelectableControl())
        KeySelectItemControl(c);
      return;
    case VK_LEFT:
    case VK_RIGHT: {
      TdxBarItemControl* c = NextSelectableControl(SelectedControl(), key == VK_RIGHT);
      if (c) KeySelectItemControl(c);
      if (self && clickWindowed)
        if (TdxBarItemControl* sel = SelectedControl(); sel && sel->IsWindowControl()) sel->ClickAt(false, false);
      return;
    }
    case VK_F10:
      if (!(m && m->UseF10ForMenu)) break;
      [[fallthrough]];
    case VK_MENU:
      Message.WParam = 0;
      CloseUp(dxbcrClick);
      return;
    default:
      if (key != VK_RETURN && key != VK_ESCAPE && key != 0 && (VirtualKeyToChar(key) || (key >= '0' && key <= 'Z'))) {
        bool ambiguous = false;
        if (TdxBarItemLink* l = AccelLinkFor(key, shift, ambiguous, FSelectedLink)) {
          PressItemControl(l->Control(), ambiguous);
          return;
        }
      }
      break;
  }
  if (!self || !GetActiveBarControl() || key == 0) return;
  TdxBarItemControl* sel = SelectedControl();
  if (sel && sel->IsEnabled() && sel->WantsKey(key)) {
    sel->KeyDown(key, shift);
    return;
  }
  HandleKey(key, shift);
  Message.WParam = key;
}

void TCustomdxBarControl::HandleKey(WORD& Key, TShiftState Shift) {
  if (Key != VK_RETURN) return;
  TdxBarItemControl* sel = SelectedControl();
  if (sel) sel->ClickAt(false, false);
}
