// The base control's scroll bars and size grip, their ranges and places, anchor scrolling, the
// settings watcher and the control's child components.
#include <QtCore/qglobal.h>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"
#include "suite/core/cxControls.h"

static void InitSuiteBitmaps() { Q_INIT_RESOURCE(sonalix_suite_images); }

namespace {
// SetupScrollBarRanges of a descendant may never settle (each answer flips the other bar); the
// calculation keeps what the last round left.
constexpr int kMaxScrollBarRounds = 8;
constexpr UINT kAnchorTimerInterval = 20;
constexpr int kMaxAnchorSpeed = 12;
constexpr UINT kSetNonClientMetrics = 42;

std::unique_ptr<TcxSettingsController>& SettingsControllerSlot() {
  static std::unique_ptr<TcxSettingsController> controller;
  return controller;
}

TcxBitmap* BackgroundOf(TWinControl* Control, TWinControl*& Covered) {
  auto* provider = dynamic_cast<IcxBackgroundProvider*>(Control);
  if (!provider) return nullptr;
  TcxBitmap* bitmap = provider->BackgroundBitmap();
  Covered = provider->BackgroundControl();
  return bitmap;
}

// Copies the control's area out of the bitmap that covers the control Covered.
void CopyBackground(TControl* Control, TcxCanvas* Canvas, TcxBitmap* Bitmap, TWinControl* Covered) {
  TPoint offset = Covered ? Covered->ScreenToClient(Control->ClientToScreen(TPoint(0, 0))) : TPoint();
  TRect r = Control->ClientRect();
  Canvas->CopyRectFrom(r, Bitmap->Canvas(), r.Offset(offset.X, offset.Y));
}
}  // namespace

// ---- control scroll bar

TcxControlScrollBar::TcxControlScrollBar(TComponent* AOwner) : TcxScrollBar(AOwner) {
  SetColor(clBtnFace);
  TControlStyle style = ControlStyle();
  style.Exclude(csFramed);
  style.Include(csNoDesignVisible);
  SetControlStyle(style);
  SetTabStop(false);
  SetVisible(false);
}

void TcxControlScrollBar::ApplyData() {
  if (FData.Visible) {
    ConfigureRange(FData.Min, FData.Max, FData.Position, FData.PageSize);
    SetSmallChange(FData.SmallChange);
    SetLargeChange(FData.LargeChange);
  }
  SetEnabled(FData.Enabled);
  if (Visible() != FData.Visible) SetVisible(FData.Visible);
}

void TcxControlScrollBar::FocusOwner() {
  if (auto* control = dynamic_cast<TcxControl*>(Parent())) {
    if (control->CanFocusOnChildClick(this)) control->SetFocus();
  } else if (Parent() && Parent()->CanFocus()) {
    Parent()->SetFocus();
  }
}

void TcxControlScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: {
      TWeakLink<TControl> self(this);
      FocusOwner();
      if (self) TcxScrollBar::Dispatch(Message);
      return;
    }
    case CM_DESIGNHITTEST: Message.Result = 1; return;
  }
  TcxScrollBar::Dispatch(Message);
}

void TcxControlScrollBar::DrawTrackBackground(TcxCanvas* Canvas, const TRect& R) {
  TWinControl* covered = nullptr;
  if (TcxBitmap* bitmap = BackgroundOf(Parent(), covered)) CopyBackground(this, Canvas, bitmap, covered);
  else TcxScrollBar::DrawTrackBackground(Canvas, R);
}

// ---- size grip

TcxSizeGrip::TcxSizeGrip(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clBtnFace);
  TControlStyle style = ControlStyle();
  style.Include(csNoDesignVisible);
  SetControlStyle(style);
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues) { Invalidate(); };
}

TcxSizeGrip::~TcxSizeGrip() = default;

void TcxSizeGrip::Paint() {
  TcxCanvas canvas(Canvas());
  TWinControl* covered = nullptr;
  if (TcxBitmap* bitmap = BackgroundOf(Parent(), covered)) CopyBackground(this, &canvas, bitmap, covered);
  else canvas.FillRectWithColor(ClientRect(), FLookAndFeel->ActivePainter()->ViewColor21());
}

void TcxSizeGrip::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  TCustomControl::Dispatch(Message);
}

// ---- the control's scroll bars

TcxControlScrollBar* TcxControl::CreateScrollBar(TScrollBarKind Kind) {
  auto* bar = new TcxControlScrollBar(nullptr);
  bar->SetKind(Kind);
  return bar;
}

TcxSizeGrip* TcxControl::CreateSizeGrip() { return new TcxSizeGrip(nullptr); }

void TcxControl::CreateScrollBars() {
  if (!HasScrollBars() || FSizeGrip) return;
  FHScrollBar = CreateScrollBar(sbHorizontal);
  FVScrollBar = CreateScrollBar(sbVertical);
  FSizeGrip = CreateSizeGrip();
  for (TcxControlScrollBar* bar : {FHScrollBar, FVScrollBar}) {
    bar->OnScroll = TScrollEvent::Bind(this, &TcxControl::ScrollBarScroll);
    bar->LookAndFeel()->AttachMaster(FLookAndFeel.get());
  }
  FSizeGrip->LookAndFeel()->AttachMaster(FLookAndFeel.get());
  for (TControl* c : std::initializer_list<TControl*>{FHScrollBar, FVScrollBar, FSizeGrip}) {
    TControlStyle style = c->ControlStyle();
    style.Include(csReplicatable);
    c->SetControlStyle(style);
  }
  GetSettingsController()->Register(this);
}

void TcxControl::DestroyScrollBars() {
  if (auto& controller = SettingsControllerSlot()) controller->Unregister(this);
  delete FSizeGrip;
  delete FVScrollBar;
  delete FHScrollBar;
  FSizeGrip = nullptr;
  FVScrollBar = nullptr;
  FHScrollBar = nullptr;
}

void TcxControl::ParentScrollBars() {
  FHScrollBar->SetParent(this);
  FVScrollBar->SetParent(this);
  FSizeGrip->SetParent(this);
}

void TcxControl::RecreateScrollBars() {
  if (HasScrollBars()) {
    CreateScrollBars();
    if (HandleAllocated()) ParentScrollBars();
  } else {
    DestroyScrollBars();
  }
}

void TcxControl::InitScrollBars() {
  if (HasScrollBars() && FSizeGrip) ParentScrollBars();
}

void TcxControl::AddChildComponent(TcxControlChildComponent* Child) { Child->SetControl(this); }

void TcxControl::RemoveChildComponent(TcxControlChildComponent* Child) { Child->SetControl(nullptr); }

void TcxControl::ScrollBarScroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos) {
  Scroll(static_cast<TcxScrollBar*>(Sender)->Kind(), ScrollCode, ScrollPos);
}

bool TcxControl::IsHorzScrollBarVisible() const {
  if (!HasScrollBars() || !FHScrollBar) return false;
  return FCalculatingScrollBarsParams ? FHScrollBar->Data().Visible : FHScrollBar->Visible();
}

bool TcxControl::IsVertScrollBarVisible() const {
  if (!HasScrollBars() || !FVScrollBar) return false;
  return FCalculatingScrollBarsParams ? FVScrollBar->Data().Visible : FVScrollBar->Visible();
}

void TcxControl::SetScrollBarInfo(TScrollBarKind Kind, int Min, int Max, int Step, int Page, int Position,
                                  bool AllowShow, bool AllowHide) {
  if (!HasScrollBars() || !FHScrollBar) return;
  TcxScrollBarData& data = (Kind == sbHorizontal ? FHScrollBar : FVScrollBar)->Data();
  TScrollStyle both = ssBoth, own = Kind == sbHorizontal ? ssHorizontal : ssVertical;
  bool mayShow = AllowShow && (FScrollBars == own || FScrollBars == both);
  data.AllowShow = mayShow;
  data.AllowHide = AllowHide;
  data.Visible = false;
  if (!mayShow) return;
  if (Max < Min || Page >= Max - Min + 1 || Position < Min) {
    if (!AllowHide) {
      data.Visible = true;
      data.Enabled = false;
    }
    return;
  }
  data.Min = Min;
  data.Max = Max;
  data.SmallChange = int16_t(Step);
  data.PageSize = Page;
  data.Position = Position;
  data.LargeChange = int16_t(std::clamp(Page, 0, 32767));
  data.Enabled = true;
  data.Visible = true;
}

void TcxControl::CalculateScrollBars() {
  if (FCalculatingScrollBarsParams) return;
  FCalculatingScrollBarsParams = true;
  struct Reset {
    bool& Flag;
    ~Reset() { Flag = false; }
  } reset{FCalculatingScrollBarsParams};
  TcxScrollBarData& h = FHScrollBar->Data();
  TcxScrollBarData& v = FVScrollBar->Data();
  h.Visible = false;
  v.Visible = false;
  for (int round = 0; round < kMaxScrollBarRounds; ++round) {
    bool hVisible = h.Visible, vVisible = v.Visible;
    SetupScrollBarRanges();
    if (h.Visible == hVisible && v.Visible == vVisible) break;
  }
  // Each bar needed only because the other takes room: neither is.
  if (h.Visible && h.Enabled && h.AllowHide && v.Visible && v.Enabled && v.AllowHide &&
      NeedsScrollBar(sbHorizontal) && NeedsScrollBar(sbVertical) &&
      h.PageSize + FVScrollBar->Width() >= h.Max - h.Min + 1 &&
      v.PageSize + FHScrollBar->Height() >= v.Max - v.Min + 1) {
    TcxScrollBarData hData = h, vData = v;
    SetScrollBarInfo(sbHorizontal, hData.Min, hData.Max, hData.SmallChange, hData.PageSize + FVScrollBar->Width(),
                     hData.Position, true, hData.AllowHide);
    SetScrollBarInfo(sbVertical, vData.Min, vData.Max, vData.SmallChange, vData.PageSize + FHScrollBar->Height(),
                     vData.Position, true, vData.AllowHide);
  }
}

void TcxControl::UpdateScrollBars() {
  if (!HasScrollBars() || !FHScrollBar) return;
  if (!FUpdatingScrollBars) {
    FInitialHScrollBarVisible = FHScrollBar->Visible();
    FInitialVScrollBarVisible = FVScrollBar->Visible();
  }
  bool nested = FUpdatingScrollBars;
  FUpdatingScrollBars = true;
  struct Restore {
    TcxControl* Control;
    bool Nested;
    ~Restore() {
      Control->FUpdatingScrollBars = Nested;
      if (!Nested) Control->FInitialScrollBarsParamsCalculated = false;
    }
  } restore{this, nested};
  bool hVisible = FHScrollBar->Visible(), vVisible = FVScrollBar->Visible();
  if (!FInitialScrollBarsParamsCalculated) {
    CalculateScrollBars();
    FInitialScrollBarsParamsCalculated = nested && FHScrollBar->Data().Visible == FInitialHScrollBarVisible &&
                                         FVScrollBar->Data().Visible == FInitialVScrollBarVisible;
    if (FInitialScrollBarsParamsCalculated) {
      // Back where the outer update began: a bar that went meanwhile stays, disabled.
      if (FHScrollBar->Visible() != FInitialHScrollBarVisible) {
        FHScrollBar->SetEnabled(false);
        FHScrollBar->SetVisible(true);
      }
      if (FVScrollBar->Visible() != FInitialVScrollBarVisible) {
        FVScrollBar->SetEnabled(false);
        FVScrollBar->SetVisible(true);
      }
    } else {
      FHScrollBar->ApplyData();
      FVScrollBar->ApplyData();
    }
  }
  if (FHScrollBar->Visible() != hVisible || FVScrollBar->Visible() != vVisible) {
    BoundsChanged();
  } else {
    FSizeGrip->SetVisible(FHScrollBar->Visible() && FVScrollBar->Visible());
    PlaceScrollBars();
    if (KeepsScrollBarsVisible()) BringScrollBarsToFront();
  }
}

TRect TcxControl::HorzScrollBarBounds() {
  TRect r = ClientBounds();
  r.Top = r.Bottom;
  r.Bottom = r.Top + FHScrollBar->Height();
  return r;
}

TRect TcxControl::VertScrollBarBounds() {
  TRect r = ClientBounds();
  r.Left = r.Right;
  r.Right = r.Left + FVScrollBar->Width();
  return r;
}

TRect TcxControl::SizeGripBounds() {
  TRect v = VertScrollBarBounds(), h = HorzScrollBarBounds();
  return TRect(v.Left, h.Top, v.Right, h.Bottom);
}

void TcxControl::PlaceScrollBars() {
  if (!HasScrollBars() || !FHScrollBar) return;
  if (FHScrollBar->Visible()) FHScrollBar->SetBoundsRect(HorzScrollBarBounds());
  if (FVScrollBar->Visible()) FVScrollBar->SetBoundsRect(VertScrollBarBounds());
  if (FSizeGrip->Visible()) FSizeGrip->SetBoundsRect(SizeGripBounds());
}

void TcxControl::UpdateScrollBarsState() {
  if (!HasScrollBars() || !FHScrollBar) return;
  for (TWinControl* c : std::initializer_list<TWinControl*>{FHScrollBar, FVScrollBar, FSizeGrip})
    if (c->Visible() && c->HandleAllocated()) EnableWindow(c->Handle(), c->Enabled());
}

void TcxControl::CheckScrollBarSizes() {
  if (!HasScrollBars() || !FHScrollBar) return;
  int height = GetSystemMetrics(SM_CYHSCROLL), width = GetSystemMetrics(SM_CXVSCROLL);
  if (FHScrollBar->Height() == height && FVScrollBar->Width() == width) return;
  FHScrollBar->SetHeight(height);
  FVScrollBar->SetWidth(width);
  BoundsChanged();
}

// ---- anchor scrolling

void TcxControl::AnchorScrollDirection(TPoint Anchor, TPoint P, TSize BitmapSize, bool& LeftZone,
                                       TcxDirection& Direction, int& Speed) const {
  bool horizontal = IsHorzScrollBarVisible(), vertical = IsVertScrollBarVisible();
  int half = BitmapSize.cx / 2;
  TRect zone(Anchor.X - half, Anchor.Y - half, Anchor.X - half + BitmapSize.cx, Anchor.Y - half + BitmapSize.cx);
  if (!horizontal) {
    zone.Left = 0;
    zone.Right = GetSystemMetrics(SM_CXSCREEN);
  }
  if (!vertical) {
    zone.Top = 0;
    zone.Bottom = GetSystemMetrics(SM_CYSCREEN);
  }
  if (zone.Contains(P)) {
    Direction = dirNone;
    Speed = 0;
    return;
  }
  LeftZone = true;
  int dx = std::abs(P.X - Anchor.X), dy = std::abs(P.Y - Anchor.Y);
  int distance;
  if (!horizontal || (vertical && dy >= dx)) {
    Direction = P.Y < Anchor.Y ? dirUp : dirDown;
    distance = dy;
  } else {
    Direction = P.X < Anchor.X ? dirLeft : dirRight;
    distance = dx;
  }
  Speed = std::min((distance - half) / 5 + 1, kMaxAnchorSpeed);
}

TCursor TcxControl::AnchorScrollCursor(TcxDirection Direction) const {
  switch (Direction) {
    case dirLeft: return crcxLeftScroll;
    case dirRight: return crcxRightScroll;
    case dirUp: return crcxUpScroll;
    case dirDown: return crcxDownScroll;
    default: break;
  }
  bool horizontal = IsHorzScrollBarVisible(), vertical = IsVertScrollBarVisible();
  if (horizontal && vertical) return crcxFullScroll;
  return horizontal ? crcxHorScroll : crcxVerScroll;
}

void TcxControl::ScrollContentFromAnchor() {
  bool horizontal = IsHorzScrollBarVisible(), vertical = IsVertScrollBarVisible();
  if (!horizontal && !vertical) return;
  FScrollingContent = true;
  POINT cursor;
  GetCursorPos(&cursor);
  TPoint anchor(cursor.x, cursor.y);

  InitSuiteBitmaps();
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->LoadFromResourceName(horizontal && vertical ? "CX_FULLSCROLLBITMAP"
                               : vertical             ? "CX_VERSCROLLBITMAP"
                                                      : "CX_HORSCROLLBITMAP");
  int w = bitmap->Width(), h = bitmap->Height();
  HWND window = CreateWindowEx(WS_EX_TOPMOST, "STATIC", "", WS_POPUP, anchor.X - w / 2, anchor.Y - h / 2, w, h,
                               Handle(), nullptr, nullptr, nullptr);
  SetWindowRgn(window, CreateEllipticRgn(0, 0, w + 1, h + 1), TRUE);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (HDC dc = GetWindowDC(window)) {
    BitBlt(dc, 0, 0, w, h, bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, 0, 0, w, h);
    SelectObject(dc, oldBrush);
    DeleteObject(SelectObject(dc, oldPen));
    ReleaseDC(window, dc);
  }

  TcxDirection direction = dirNone;
  int speed = 1, ticks = 0;
  bool leftZone = false;
  TPoint last = anchor;
  UINT_PTR timer = SetTimer(nullptr, 0, kAnchorTimerInterval, nullptr);
  TWeakLink<TControl> self(this);
  SetMouseCapture(true);
  ::SetCursor(Screen->Cursors(AnchorScrollCursor(direction)));
  MSG msg;
  while (self && MouseCapture()) {
    BOOL got = GetMessage(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (!got) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    bool escape = false, ends = false;
    switch (msg.message) {
      case WM_PAINT:
        if (msg.hwnd == window) ValidateRect(window, nullptr);
        break;
      case WM_KEYDOWN:
      case WM_KEYUP: escape = msg.wParam == VK_ESCAPE; break;
      case WM_TIMER:
        if (!msg.hwnd && msg.wParam == timer && ++ticks % (13 - speed) == 0) ScrollContent(direction);
        break;
      case WM_MOUSEMOVE: {
        POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        ::ClientToScreen(msg.hwnd, &p);
        TPoint at(p.x, p.y);
        if (at != last) {
          last = at;
          AnchorScrollDirection(anchor, at, TSize{w, h}, leftZone, direction, speed);
          ::SetCursor(Screen->Cursors(AnchorScrollCursor(direction)));
        }
        break;
      }
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDOWN:
      case WM_RBUTTONUP:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDOWN:
      case WM_MBUTTONDBLCLK:
      case WM_MOUSEWHEEL: ends = true; break;
      // A middle click that never left the neutral zone keeps the scrolling on.
      case WM_MBUTTONUP: ends = leftZone; break;
    }
    if (escape) break;
    // A click that ends the scrolling still reaches its window.
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    if (ends) break;
  }
  if (self && MouseCapture()) SetMouseCapture(false);
  KillTimer(nullptr, timer);
  DestroyWindow(window);
  if (self) FScrollingContent = false;
}

// ---- settings controller

TcxSettingsController* GetSettingsController() {
  auto& slot = SettingsControllerSlot();
  if (!slot) slot = std::make_unique<TcxSettingsController>();
  return slot.get();
}

TcxSettingsController::~TcxSettingsController() {
  if (FWindow) DeallocateHWnd(FWindow);
}

bool TcxSettingsController::IsRegistered(TcxControl* Control) const {
  return std::find(FControls.begin(), FControls.end(), Control) != FControls.end();
}

void TcxSettingsController::Register(TcxControl* Control) {
  if (IsRegistered(Control)) return;
  if (FControls.empty()) FWindow = AllocateHWnd([this](TMessage& m) { WndProc(m); });
  FControls.push_back(Control);
}

void TcxSettingsController::Unregister(TcxControl* Control) {
  auto it = std::find(FControls.begin(), FControls.end(), Control);
  if (it == FControls.end()) return;
  FControls.erase(it);
  if (FControls.empty() && FWindow) {
    DeallocateHWnd(FWindow);
    FWindow = nullptr;
  }
}

void TcxSettingsController::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SETTINGCHANGE && Message.WParam == kSetNonClientMetrics) {
    try {
      std::vector<TcxControl*> controls = FControls;
      for (TcxControl* c : controls)
        if (IsRegistered(c) && c->HandleAllocated()) SendNotifyMessage(c->Handle(), DXM_CHECKSCROLLBARSIZES, 0, 0);
    } catch (...) {
      HandleWindowException(std::current_exception());
    }
    Message.Result = 0;
    return;
  }
  Message.Result = DefWindowProc(FWindow, Message.Msg, Message.WParam, Message.LParam);
}

// ---- child components

TcxControlChildComponent::TcxControlChildComponent(TComponent* AOwner) : TcxComponent(AOwner) { Initialize(); }

TcxControlChildComponent::TcxControlChildComponent(TcxControl* AControl, bool AssignOwner)
    : TcxComponent(AssignOwner && AControl ? AControl->Owner() : nullptr) {
  Initialize();
  if (AControl) AControl->AddChildComponent(this);
}

TcxControlChildComponent::~TcxControlChildComponent() {
  if (FControl) FControl->RemoveChildComponent(this);
}

void TcxControlChildComponent::SetParentComponent(TComponent* Value) {
  if (auto* control = dynamic_cast<TcxControl*>(Value)) control->AddChildComponent(this);
}
