// The base control: canvas, look and feel, mouse and keys, pop-up menus and painting.
#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxDWMApi.h"
#include "suite/core/dxUxTheme.h"

namespace {
// Windowed coordinates of messages are 16-bit; wider controls read the cursor instead.
constexpr int kMaxMessageCoordinate = 32768;
}  // namespace

TcxControl::TcxControl(TComponent* AOwner) : TCustomControl(AOwner) {
  FCanvas = std::make_unique<TcxCanvas>(TCustomControl::Canvas());
  FDefaultCursor = Cursor();
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel* Sender, TcxLookAndFeelValues Values) {
    LookAndFeelChangeHandler(Sender, Values);
  };
  CreateScrollBars();
  SetTabStop(IsFocusable());
  TControlStyle style = ControlStyle();
  style.Include(csParentBackground);
  SetControlStyle(style);
  GetResourceStringsRepository()->AddListener(this);
}

TcxControl::~TcxControl() {
  Destroying();
  GetResourceStringsRepository()->RemoveListener(this);
  if (Dragging()) EndDrag(false);
  FDragAndDropObject.reset();
  DestroyScrollBars();
  FFontListeners.clear();
  FActiveCanvas.reset();
  FCanvas.reset();
  FLookAndFeel.reset();
  ClearLinksToObject(this);
}

TcxCanvas* TcxControl::Canvas() {
  if (HandleAllocated()) {
    FActiveCanvas.reset();
    return FCanvas.get();
  }
  if (!FActiveCanvas) FActiveCanvas = std::make_unique<TcxScreenCanvas>();
  return FActiveCanvas.get();
}

void TcxControl::SetBorderStyle(TcxControlBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  BoundsChanged();
  Invalidate();
}

void TcxControl::SetScrollBars(TScrollStyle Value) {
  if (FScrollBars == Value) return;
  FScrollBars = Value;
  BoundsChanged();
}

void TcxControl::SetPopupMenu(TComponent* Value) {
  if (Value && !dynamic_cast<TPopupMenu*>(Value) && !dynamic_cast<IcxPopupMenu*>(Value)) Value = nullptr;
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

TPopupMenu* TcxControl::GetPopupMenu() const { return dynamic_cast<TPopupMenu*>(FPopupMenu); }

void TcxControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TcxControl::AddFontListener(IcxFontListener* Listener) {
  if (std::find(FFontListeners.begin(), FFontListeners.end(), Listener) == FFontListeners.end())
    FFontListeners.push_back(Listener);
}

void TcxControl::RemoveFontListener(IcxFontListener* Listener) {
  FFontListeners.erase(std::remove(FFontListeners.begin(), FFontListeners.end(), Listener), FFontListeners.end());
}

void TcxControl::LookAndFeelChangeHandler(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues) {
  if (Application->ComponentState().Contains(csDestroying) || IsDestroying()) return;
  LookAndFeelChanged(Sender, ChangedValues);
}

TcxCustomLookAndFeelPainter* TcxControl::LookAndFeelPainter() { return LookAndFeelSource()->ActivePainter(); }

void TcxControl::SetMouseCaptureObject(TObject* Value) {
  if (Value == FMouseCaptureObject) return;
  bool wasCaptured = MouseCapture();
  if (auto* old = dynamic_cast<IcxMouseCaptureObject*>(FMouseCaptureObject)) old->DoCancelMode();
  FMouseCaptureObject = Value;
  SetMouseCapture(Value != nullptr);
  if (wasCaptured && !MouseCapture() && FDragAndDropState == ddsStarting) Perform(WM_CANCELMODE, 0, 0);
}

void TcxControl::ResetMouseState() {
  FMouseButtonPressed = false;
  FMouseCaptureObject = nullptr;
}

bool TcxControl::DesignHitTest(int, int, TShiftState) {
  return FDragAndDropState != ddsNone || FMouseButtonPressed;
}

// ---- the operations' base behaviour

bool TcxControl::ShowContextPopup(TComponent* Popup, int X, int Y) { return ShowPopupMenu(this, Popup, X, Y); }

void TcxControl::NotifyDesigner() { ::NotifyDesigner(this); }

void TcxControl::FillBackground(TcxCanvas* ACanvas) {
  if (AreThemesEnabled() && Parent() && ControlStyle().Contains(csParentBackground)) {
    TcxPaintCanvas* shared = SharedPaintCanvas();
    shared->PushTargetDC(ACanvas->CurrentDC());
    DrawThemedParentBackground(this, shared, ClientRect());
    shared->PopTarget();
  } else {
    ACanvas->FillRectWithColor(ClientRect(), Color());
  }
}

void TcxControl::BeginAutoDrag(TMouseButton Button, int X, int Y) {
  if (DragMode() == dmAutomatic && Button == mbLeft && MouseCapture() && (!IsDesigning() || AllowDragAt(X, Y, {})) &&
      CanBeginPlatformDrag(X, Y)) {
    if (DetectDrag(Handle(), ClientToScreen(TPoint(X, Y))) == ddDrag) BeginDrag(true, -1);
  } else if (Button == mbMiddle) {
    ScrollContentFromAnchor();
  }
}

void TcxControl::BringScrollBarsToFront() {
  if (FHScrollBar) FHScrollBar->BringToFront();
  if (FVScrollBar) FVScrollBar->BringToFront();
  if (FSizeGrip) FSizeGrip->BringToFront();
}

void TcxControl::AfterMouseUp() {
  FinishDragAndDrop(true);
  SetMouseCaptureObject(nullptr);
}

void TcxControl::DrawBorder(TcxCanvas* ACanvas) {
  if (FBorderStyle == cxcbsDefault) {
    LookAndFeelPainter()->DrawControlBorder(ACanvas, ControlBounds());
    ACanvas->ClipToRect(ClientBounds());
  }
  UpdateScrollBarsState();
}

int TcxControl::BorderSize() { return FBorderStyle == cxcbsNone ? 0 : LookAndFeelPainter()->ControlBorderSize(); }

TRect TcxControl::ControlBounds() {
  if (!FBounds.IsEmpty()) return FBounds;
  if (HandleAllocated()) return ClientRect();
  return TRect(0, 0, Width(), Height());
}

TRect TcxControl::ClientBounds() {
  TRect r = ControlBounds();
  int b = BorderSize();
  r = r.Inflate(-b, -b);
  if (IsHorzScrollBarVisible()) r.Bottom -= FHScrollBar->Height();
  if (IsVertScrollBarVisible()) r.Right -= FVScrollBar->Width();
  return r;
}

TcxMouseWheelScrollingKind TcxControl::WheelScrollKind() {
  return IsVertScrollBarVisible() ? mwskVertical : mwskNone;
}

bool TcxControl::CanFocusOnClick() {
  return !IsDesigning() && FFocusOnClick && IsFocusable() && CanFocus();
}

bool TcxControl::IsInternalControl(TControl* Control) const {
  return Control && (Control == FHScrollBar || Control == FVScrollBar || Control == FSizeGrip);
}

bool TcxControl::CanFocusNow() {
  if (!CanFocus()) return false;
  TWinControl* form = GetParentForm(this);
  return !form || form == this || (form->CanFocus() && form->Enabled() && form->Visible());
}

bool TcxControl::IsDragPoint(int X, int Y) {
  return DragMode() == dmManual || !IsPointInDragDetectArea(FMouseDownPos, X, Y);
}

bool TcxControl::IsCopyDragDrop() { return IsCtrlPressed(); }

void TcxControl::BoundsChanged() {
  UpdateScrollBars();
  if (RedrawOnResize()) Invalidate();
}

void TcxControl::FocusChanged() {
  if (OnFocusChanged) OnFocusChanged(this);
}

void TcxControl::FontChanged() {
  if (auto* target = dynamic_cast<IcxFontTarget*>(this)) target->AssignFont(Font());
  std::vector<IcxFontListener*> listeners = FFontListeners;
  for (IcxFontListener* l : listeners) l->FontChanged(this, Font());
  Invalidate();
}

void TcxControl::Resize() {
  TCustomControl::Resize();
  BoundsChanged();
}

void TcxControl::Invalidate() { Perform(CM_INVALIDATE, 0, 0); }

// ---- mouse

TPoint TcxControl::MessagePoint(const TMessage& Message) {
  if (Width() > kMaxMessageCoordinate || Height() > kMaxMessageCoordinate) {
    POINT p;
    GetCursorPos(&p);
    return ScreenToClient(TPoint(p.x, p.y));
  }
  return TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
}

void TcxControl::WndProc(TMessage& Message) {
  TWeakLink<TControl> self(this);
  bool direct = false;
  if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) && !Dragging()) {
    TPoint p = MessagePoint(Message);
    bool take = IsDesigning() ? DesignHitTest(p.X, p.Y, {ssLeft}) : DragMode() == dmAutomatic;
    direct = take && !ControlAtPos(p, false);
  }
  if (direct) {
    // Straight to the handlers: the platform would start its own drag on the press.
    FControlState.Include(csLButtonDown);
    if (ControlStyle().Contains(csCaptureMouse)) SetMouseCapture(true);
    FDirectButtonDown = true;
    Dispatch(Message);
    if (self) {
      FDirectButtonDown = false;
      FControlState.Exclude(csLButtonDown);
    }
  } else {
    TCustomControl::WndProc(Message);
  }
  if (!self || IsDestroying()) return;
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS: FocusChanged(); break;
    case WM_PAINT: {
      bool parentBackground = ControlStyle().Contains(csParentBackground);
      if (parentBackground != FLastParentBackground) {
        FLastParentBackground = parentBackground;
        ParentBackgroundChanged();
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      TPoint p = MessagePoint(Message);
      TMouseButton button = Message.Msg == WM_LBUTTONDOWN ? mbLeft : Message.Msg == WM_RBUTTONDOWN ? mbRight : mbMiddle;
      BeginAutoDrag(button, p.X, p.Y);
      break;
    }
  }
}

void TcxControl::WMLButtonDown(TMessage& Message) {
  if (!FDirectButtonDown) {
    TCustomControl::WMLButtonDown(Message);
    return;
  }
  DefaultHandler(Message);
  if (!ControlStyle().Contains(csNoStdEvents)) {
    TPoint p = MessagePoint(Message);
    MouseDown(mbLeft, KeysToShiftState(Message.WParam), p.X, p.Y);
  }
}

void TcxControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FMouseDownPos = TPoint(X, Y);
  TWeakLink<TControl> self(this);
  if (CanFocusOnClickAt(X, Y) && !Shift.Contains(ssDouble)) {
    TRect old = BoundsRect();
    SetFocus();
    if (!self) return;
    auto* form = dynamic_cast<TCustomForm*>(GetParentForm(this));
    if (form && form->ActiveControl() == this && !IsFocused()) ::SetFocus(Handle());
    if (!IsFocused() && !AllowsClickWithoutFocus()) {
      SetMouseCapture(false);
      return;
    }
    if (KeepsClickPointOnMove()) {
      X += old.Left - Left();
      Y += old.Top - Top();
    }
  }
  if (Button == mbLeft && !Shift.Contains(ssDouble) && StartDragAndDrop(TPoint(X, Y))) {
    if (DragAndDropObject()->GetImmediateStart()) BeginDragAndDrop();
    else SetDragAndDropState(ddsStarting);
  } else {
    FinishDragAndDrop(false);
  }
  if (!self) return;
  PrepareMouseDown(Button, Shift, X, Y);
  if (!self) return;
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (self && MouseCapture()) FMouseButtonPressed = true;
}

void TcxControl::MouseMove(TShiftState Shift, int X, int Y) {
  TCursor kept = FDefaultCursor;
  SetCursor(DefaultCursor(X, Y));
  FDefaultCursor = kept;
  TCustomControl::MouseMove(Shift, X, Y);
  if (FDragAndDropState == ddsStarting && !IsPointInDragDetectArea(FMouseDownPos, X, Y)) BeginDragAndDrop();
  if (FDragAndDropState == ddsInProcess) {
    bool accepted = false;
    DragAndDrop(TPoint(X, Y), accepted);
  }
}

void TcxControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  FMouseButtonPressed = false;
  AfterMouseUp();
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

bool TcxControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  TcxMouseWheelScrollingKind kind = WheelScrollKind();
  if (kind == mwskNone) return false;
  TcxDirection direction = kind == mwskVertical ? (WheelDelta > 0 ? dirUp : dirDown) : (WheelDelta > 0 ? dirLeft : dirRight);
  for (int i = 0; i < Mouse->WheelScrollLines(); ++i) ScrollContent(direction);
  return true;
}

void TcxControl::ScrollContent(TcxDirection Direction) {
  if (Direction == dirNone) return;
  if (!HasScrollBars() && !HandlesScroll(Direction)) return;
  TScrollBarKind kind = Direction == dirLeft || Direction == dirRight ? sbHorizontal : sbVertical;
  TScrollCode code = Direction == dirLeft || Direction == dirUp ? scLineUp : scLineDown;
  int position = 0;
  if (HasScrollBars()) position = (kind == sbHorizontal ? FHScrollBar : FVScrollBar)->Position();
  Scroll(kind, code, position);
  Update();
}

void TcxControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  TCustomControl::DoContextPopup(MousePos, Handled);
  if (Handled) return;
  // The menu key asks at the client origin.
  TPoint p = MousePos == TPoint(-1, -1) ? TPoint(0, 0) : MousePos;
  p = ClientToScreen(p);
  Handled = ShowContextPopup(FPopupMenu, p.X, p.Y);
}

// ---- keys

void TcxControl::WMGetDlgCode(TMessage& Message) {
  LRESULT code = 0;
  if (FKeys.Contains(kAll)) code += DLGC_WANTALLKEYS;
  if (FKeys.Contains(kArrows)) code += DLGC_WANTARROWS;
  if (FKeys.Contains(kChars)) code += DLGC_WANTCHARS;
  if (FKeys.Contains(kTab) && GetKeyState(VK_CONTROL) >= 0) code += DLGC_WANTTAB;
  Message.Result = code;
}

bool TcxControl::IsPopupShortCut(TMessage& Message) {
  if (IsDesigning()) return false;
  for (TControl* c = this; c; c = c->Parent())
    if (auto* control = dynamic_cast<TcxControl*>(c))
      if (IsPopupMenuShortCutKey(control->FPopupMenu, Message)) return true;
  return false;
}

// ---- painting

void TcxControl::PaintWindow(HDC DC) {
  bool saved = FCanvas->Canvas()->HandleAllocated();
  if (saved) FCanvas->PushDCState();
  TCustomControl::PaintWindow(DC);
  if (saved) FCanvas->PopDCState();
}

void TcxControl::Paint() {
  auto* provider = dynamic_cast<IcxBackgroundProvider*>(this);
  TcxBitmap* background = provider ? provider->BackgroundBitmap() : nullptr;
  if (!background) {
    DrawBorder(Canvas());
    return;
  }
  TWinControl* covered = provider->BackgroundControl();
  if (covered == this) {
    Canvas()->Canvas()->StretchDraw(TRect(0, 0, Width(), Height()), background);
  } else {
    TPoint offset = covered ? covered->ScreenToClient(ClientToScreen(TPoint(0, 0))) : TPoint();
    Canvas()->CopyRectFrom(ClientRect(), background->Canvas(), ClientRect().Offset(offset.X, offset.Y));
  }
}

void TcxControl::DoPaintWithMemoryDC(TMessage& Message) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  TRect r = ps.rcPaint;
  HBITMAP bitmap = nullptr;
  HDC memory = nullptr;
  HGDIOBJ old = nullptr;
  auto release = [&] {
    if (memory) {
      SelectObject(memory, old);
      DeleteDC(memory);
    }
    if (bitmap) DeleteObject(bitmap);
    EndPaint(FHandle, &ps);
  };
  try {
    if (!r.IsEmpty()) {
      bitmap = CreateCompatibleBitmap(dc, r.Width(), r.Height());
      memory = CreateCompatibleDC(dc);
      old = SelectObject(memory, bitmap);
      SetWindowOrgEx(memory, r.Left, r.Top, nullptr);
      Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), reinterpret_cast<LPARAM>(memory));
      Perform(WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
      BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), memory, r.Left, r.Top, SRCCOPY);
    }
  } catch (...) {
    release();
    throw;
  }
  release();
}

void TcxControl::DoPaintBuffered(TMessage& Message) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(Handle(), &ps);
  HDC buffered = nullptr;
  HPAINTBUFFER buffer = UxBeginBufferedPaint(dc, ps.rcPaint, 2, nullptr, buffered);
  if (buffer) {
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(buffered), reinterpret_cast<LPARAM>(buffered));
    Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(buffered), PRF_CLIENT);
    if (!PaintsAlpha()) UxBufferedPaintSetAlpha(buffer, &ps.rcPaint, 255);
    UxEndBufferedPaint(buffer, TRUE);
  }
  EndPaint(FHandle, &ps);
}

void TcxControl::WMEraseBkgndSuite(TMessage& Message) {
  if (Message.WParam != WPARAM(Message.LParam) && !ErasesBackground()) {
    Message.Result = 0;
    return;
  }
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  int saved = SaveDC(dc);
  TCanvas canvas;
  canvas.SetHandle(dc);
  TcxCanvas suiteCanvas(&canvas);
  FillBackground(&suiteCanvas);
  canvas.SetHandle(nullptr);
  RestoreDC(dc, saved);
  Message.Result = 1;
}

// ---- window

void TcxControl::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

void TcxControl::CreateWnd() {
  FCreatingWindow = true;
  try {
    TCustomControl::CreateWnd();
  } catch (...) {
    FCreatingWindow = false;
    throw;
  }
  FCreatingWindow = false;
  RecreateScrollBars();
  InitScrollBars();
}

void TcxControl::DestroyWindowHandle() {
  TCustomControl::DestroyWindowHandle();
  FControlState.Exclude(csClicked);
}

void TcxControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      if (!Message.WParam && IsWindows7) {
        if (IsCompositionEnabled() && UsesBufferedPaint()) DoPaintBuffered(Message);
        else DoPaintWithMemoryDC(Message);
        return;
      }
      break;
    case WM_ERASEBKGND: WMEraseBkgndSuite(Message); return;
    case WM_GETDLGCODE: WMGetDlgCode(Message); return;
    case CN_KEYDOWN:
      if (IsPopupShortCut(Message)) {
        Message.Result = 1;
        return;
      }
      if (FDragAndDropState != ddsNone) {
        FinishDragAndDrop(false);
        Message.Result = 1;
        return;
      }
      break;
    case CN_SYSKEYDOWN:
      if (IsPopupShortCut(Message)) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_CANCELMODE:
      TCustomControl::Dispatch(Message);
      FinishDragAndDrop(false);
      ResetMouseState();
      return;
    case WM_NCCALCSIZE:
      TCustomControl::Dispatch(Message);
      if (HandleAllocated()) PostMessage(FHandle, DXM_CHECKSCROLLBARSIZES, 0, 0);
      return;
    case DXM_CHECKSCROLLBARSIZES: CheckScrollBarSizes(); return;
    case WM_SETCURSOR:
      if (IsDesigning() && FDragAndDropState == ddsNone) {
        POINT sp;
        GetCursorPos(&sp);
        TPoint p = ScreenToClient(TPoint(sp.x, sp.y));
        if (DesignHitTest(p.X, p.Y, {ssLeft})) {
          ::SetCursor(Screen->Cursors(DefaultCursor(p.X, p.Y)));
          Message.Result = 1;
          return;
        }
      }
      break;
    case CM_DESIGNHITTEST:
      TCustomControl::Dispatch(Message);
      if (Message.Result == 0)
        Message.Result = DesignHitTest(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam),
                                       KeysToShiftState(Message.WParam));
      return;
    case CM_COLORCHANGED:
      ColorChanged();
      break;
    case CM_CURSORCHANGED:
      CursorChanged();
      break;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(Message);
      FontChanged();
      return;
    case CM_TEXTCHANGED:
      TCustomControl::Dispatch(Message);
      TextChanged();
      return;
    case CM_VISIBLECHANGED:
      TCustomControl::Dispatch(Message);
      VisibleChanged();
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      TCustomControl::Dispatch(Message);
      auto* control = Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this;
      if (Message.Msg == CM_MOUSEENTER) MouseEnter(control);
      else MouseLeave(control);
      return;
    }
    case CM_INVALIDATE:
      if (!HandleAllocated() || IsDestroying()) return;
      if (Parent()) Parent()->Perform(CM_INVALIDATE, 1, 0);
      if (Message.WParam == 0) {
        InvalidateRect(FHandle, nullptr, !ControlStyle().Contains(csOpaque));
        if (RedrawOnResize())
          for (int i = 0; i < ControlCount(); ++i) {
            TControl* child = Controls(i);
            bool transparent = false;
            if (auto* t = dynamic_cast<IcxTransparentControl*>(child)) transparent = t->IsTransparentBackground();
            else if (dynamic_cast<TWinControl*>(child))
              transparent = !child->ControlStyle().Contains(csOpaque) ||
                            child->ControlStyle().Contains(csParentBackground);
            if (transparent) child->Invalidate();
          }
      }
      return;
  }
  TCustomControl::Dispatch(Message);
}
