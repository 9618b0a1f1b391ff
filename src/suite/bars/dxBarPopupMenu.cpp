// Opening a popup menu at a point or from a control, and the wait for it to close.

#include "platform/gui/Forms.h"
#include "platform/win/Messages.h"
#include "suite/bars/dxBarSubMenu.h"

TCustomdxBarControl* TdxBarPopupMenu::CreateLinksBarControl() { return new TdxBarSubMenuControl(FBarManager); }

TCustomdxBarControl* TdxBarPopupMenu::BarControl() const { return FItemLinks->BarControl(); }

void TdxBarPopupMenu::SetBarSize(int Value) { FBarSize = Value < 0 ? 0 : Value; }

bool TdxBarPopupMenu::IsShortCut(const TMessage& KeyMessage) {
  TShortCut shortCut = TShortCut(WORD(KeyMessage.WParam));
  if (!shortCut) return false;
  if (GetKeyState(VK_SHIFT) < 0) shortCut |= scShift;
  if (GetKeyState(VK_CONTROL) < 0) shortCut |= scCtrl;
  if (KeyMessage.LParam & (1 << 29)) shortCut |= scAlt;
  return FItemLinks->ExecuteShortCut(shortCut);
}

void TdxBarPopupMenu::PopupAtCursor() {
  POINT p{};
  GetCursorPos(&p);
  Popup(p.x, p.y);
}

void TdxBarPopupMenu::PopupFromControl(int X, int Y, TWinControl* OwnerControl, bool Wait, const TRect* OwnerRect,
                                       bool Animate, int OwnerHeight, int OwnerWidth) {
  FOwnerControl = OwnerControl;
  FWait = Wait;
  FHasOwnerRect = OwnerRect != nullptr;
  if (OwnerRect) FOwnerRect = *OwnerRect;
  FAnimate = Animate;
  FOwnerHeight = OwnerHeight;
  FOwnerWidth = OwnerWidth;
  struct TRestore {
    TdxBarPopupMenu* Menu;
    ~TRestore() {
      Menu->FWait = true;
      Menu->FOwnerControl = nullptr;
      Menu->FHasOwnerRect = false;
      Menu->FOwnerHeight = Menu->FOwnerWidth = 0;
      Menu->FAnimate = true;
    }
  } restore{this};
  Popup(X, Y);
}

void TdxBarPopupMenu::Popup(int X, int Y) {
  if (FItemLinks->BarControl() || !FBarManager) return;
  TdxBarManager* m = FBarManager;
  if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated())
    SendMessage(Screen->ActiveForm()->WindowHandle(), WM_CANCELMODE, 0, 0);
  if (!m->IsCustomizingOrDesigning())
    if (HWND capture = GetCapture()) {
      SendMessage(capture, CM_CANCELMODE, 0, 0);
      ReleaseCapture();
    }
  if (!FOwnerControl)
    if (TCustomdxBarControl* active = GetActiveBarControl()) {
      bool ownsFocus = false;
      for (TCustomdxBarControl* b = active; b && !ownsFocus; b = b->NavigationParent())
        ownsFocus = b->OwnsWindow(GetFocus()) && GetFocus();
      if (active->HandleAllocated() && (active->IsWindowEnabled() || m->IsCustomizing()) && !ownsFocus)
        active->CloseUp(dxbcrClick);
    }
  FItemLinks->CreateBarControl();
  auto* menu = dynamic_cast<TdxBarSubMenuControl*>(FItemLinks->BarControl());
  if (!menu) return;
  menu->SetBounds(X, Y, menu->Width(), menu->Height());
  if (PopupItemControl && PopupItemControl->BarControl()) PopupItemControl->BarControl()->AttachChildBar(menu);
  if (FHasOwnerRect) menu->SetOwnerBounds(FOwnerRect);
  menu->SetOwnerWinControl(FOwnerControl);
  menu->VerticalJump = FOwnerHeight;
  menu->HorizontalJump = FOwnerWidth;
  menu->MinWidth = MinWidth;
  menu->ThreadAnimation = FAnimate;
  if (auto* owner = dynamic_cast<TWinControl*>(Owner()); owner && owner->HandleAllocated())
    menu->OwnerWindow = owner->WindowHandle();
  TWeakLink<TdxBarPopupMenu> self(this);
  menu->OnCloseUpNotify = [self](TObject*, int Reason) {
    if (!self) return;
    self->FOpen = false;
    InvokeNotifyEvent(self.get(), self->OnCloseUp);
    if (self && self->InternalCloseUp) self->InternalCloseUp(Reason);
  };
  menu->OnShowNotify = [self] {
    if (!self) return;
    self->FOpen = true;
    InvokeNotifyEvent(self.get(), self->OnPopup);
  };
  try {
    menu->ShowWithAnimation();
  } catch (...) {
    if (self && FItemLinks->BarControl()) FItemLinks->BarControl()->CloseUp(dxbcrClick);
    throw;
  }
  // A menu already closed while it was being shown has nothing to wait for.
  if (!self || !FWait || !FOpen) return;
  // Wait for the menu to close, pumping the thread's messages; commands posted meanwhile are
  // dropped, as a command may not run under an open menu.
  MSG msg;
  while (true) {
    const BOOL got = GetMessage(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    if (!self || !FOpen) {
      if (msg.hwnd)
        PostMessage(msg.hwnd, msg.message, msg.wParam, msg.lParam);
      else
        PostThreadMessage(GetCurrentThreadId(), msg.message, msg.wParam, msg.lParam);
      break;
    }
    if (msg.message == WM_COMMAND) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    if (!self || !FOpen) break;
  }
}
