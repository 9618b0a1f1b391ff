// Window-procedure subclassing chains and the designer notification controller.
#include <algorithm>

#include "suite/core/cxControls.h"

// ---- doubly linked list

TcxDoublyLinkedObjectList::~TcxDoublyLinkedObjectList() { Clear(); }

TcxDoublyLinkedObject* TcxDoublyLinkedObjectList::CreateLinkedObject() {
  return new TcxDoublyLinkedObject;
}

TcxDoublyLinkedObject* TcxDoublyLinkedObjectList::Add() {
  TcxDoublyLinkedObject* link = CreateLinkedObject();
  link->FPrev = FLast;
  if (FLast) FLast->FNext = link;
  FLast = link;
  return link;
}

void TcxDoublyLinkedObjectList::Remove(TcxDoublyLinkedObject*& Link) {
  if (!Link) return;
  if (Link->FPrev) Link->FPrev->FNext = Link->FNext;
  if (Link->FNext) Link->FNext->FPrev = Link->FPrev;
  if (FLast == Link) FLast = Link->FPrev;
  delete Link;
  Link = nullptr;
}

void TcxDoublyLinkedObjectList::Clear() {
  while (FLast) {
    TcxDoublyLinkedObject* link = FLast;
    Remove(link);
  }
}

TcxDoublyLinkedObject* TcxDoublyLinkedObjectList::First() const {
  TcxDoublyLinkedObject* link = FLast;
  while (link && link->Prev()) link = link->Prev();
  return link;
}

// ---- subclassing helpers

TcxWindowProcLinkedObject* TcxSubclassingHelper::CreateLinkedObject() {
  return new TcxWindowProcLinkedObject;
}

void TcxVCLSubclassingHelper::StoreDefaultWindowProc(TWndMethod Handler) {
  TControl* control = FControl.get();
  if (!control) return;
  FDefaultWindowProc = control->WindowProc();
  control->SetWindowProc(std::move(Handler));
}

void TcxVCLSubclassingHelper::RestoreDefaultWindowProc() {
  if (TControl* control = FControl.get()) control->SetWindowProc(FDefaultWindowProc);
}

void TcxWin32SubclassingHelper::StoreDefaultWindowProc(TWndMethod Handler) {
  FObjectInstance = MakeWindowProc([Handler](HWND, UINT m, WPARAM w, LPARAM l) {
    TMessage message{m, w, l, 0};
    Handler(message);
    return message.Result;
  });
  FPrevWindowProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FObjectInstance)));
  FDefaultWindowProc = [this](TMessage& M) {
    M.Result = CallWindowProc(FPrevWindowProc, FHandle, M.Msg, M.WParam, M.LParam);
  };
}

void TcxWin32SubclassingHelper::RestoreDefaultWindowProc() {
  if (!FObjectInstance) return;
  if (IsWindow(FHandle))
    SetWindowLongPtr(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevWindowProc));
}

TcxWin32SubclassingHelper::~TcxWin32SubclassingHelper() {
  // Freed with the chain, never while the procedure runs (the chain waits for its dispatch).
  if (FObjectInstance) FreeWindowProc(FObjectInstance);
}

// ---- chains

TcxWindowProcLinkedObjectList::TcxWindowProcLinkedObjectList(TControl* AControl, HWND AHandle)
    : FControl(AControl), FIsControlChain(AControl != nullptr), FHandle(AHandle) {
  if (AControl)
    FHelper = std::make_unique<TcxVCLSubclassingHelper>(AControl);
  else
    FHelper = std::make_unique<TcxWin32SubclassingHelper>(AHandle);
}

TcxWindowProcLinkedObjectList::~TcxWindowProcLinkedObjectList() { Clear(); }

TcxDoublyLinkedObject* TcxWindowProcLinkedObjectList::CreateLinkedObject() {
  TcxWindowProcLinkedObject* link = FHelper->CreateLinkedObject();
  link->FControl = FControl.get();
  link->FHandle = FHandle;
  return link;
}

void TcxWindowProcLinkedObjectList::Dispatch(TMessage& Message) {
  auto* last = static_cast<TcxWindowProcLinkedObject*>(Last());
  if (!last) return;
  ++FDispatching;
  struct TLeave {
    TcxWindowProcLinkedObjectList* Chain;
    ~TLeave() {
      if (--Chain->FDispatching == 0 && Chain->FFreeAfterDispatch) delete Chain;
    }
  } leave{this};
  TWndMethod handler = last->WindowProc();
  handler(Message);
}

TcxWindowProcController::~TcxWindowProcController() {
  for (TcxWindowProcLinkedObjectList* chain : std::vector(FChains)) FreeChain(chain);
}

TcxWindowProcLinkedObjectList* TcxWindowProcController::FindChain(TControl* Control,
                                                                  HWND Handle) const {
  for (TcxWindowProcLinkedObjectList* chain : FChains) {
    if (Control ? chain->IsControlChain() && chain->Control() == Control
                : !chain->IsControlChain() && chain->Handle() == Handle)
      return chain;
  }
  return nullptr;
}

TcxWindowProcLinkedObject* TcxWindowProcController::AddLink(TcxWindowProcLinkedObjectList* Chain,
                                                            TWndMethod Handler) {
  auto* link = static_cast<TcxWindowProcLinkedObject*>(Chain->Add());
  link->FWindowProc = std::move(Handler);
  return link;
}

TcxWindowProcLinkedObject* TcxWindowProcController::AddHook(TControl* Control, HWND Handle,
                                                            TWndMethod Handler) {
  TcxWindowProcLinkedObjectList* chain = FindChain(Control, Handle);
  if (!chain) {
    chain = new TcxWindowProcLinkedObjectList(Control, Handle);
    FChains.push_back(chain);
    chain->FHelper->StoreDefaultWindowProc([chain](TMessage& M) { chain->Dispatch(M); });
    AddLink(chain, chain->FHelper->DefaultWindowProc());
  }
  return AddLink(chain, std::move(Handler));
}

TcxWindowProcLinkedObject* TcxWindowProcController::HookControl(TControl* Control,
                                                                TWndMethod Handler) {
  return Control ? AddHook(Control, nullptr, std::move(Handler)) : nullptr;
}

TcxWindowProcLinkedObject* TcxWindowProcController::HookWindowHandle(HWND Handle,
                                                                     TWndMethod Handler) {
  return Handle ? AddHook(nullptr, Handle, std::move(Handler)) : nullptr;
}

void TcxWindowProcController::Unhook(TcxWindowProcLinkedObject*& Link) {
  if (!Link) return;
  TcxWindowProcLinkedObjectList* chain = nullptr;
  for (TcxWindowProcLinkedObjectList* c : FChains) {
    for (TcxDoublyLinkedObject* l = c->Last(); l && !chain; l = l->Prev())
      if (l == Link) chain = c;
    if (chain) break;
  }
  if (!chain || Link == chain->First()) return;
  TcxDoublyLinkedObject* link = Link;
  chain->Remove(link);
  Link = nullptr;
  if (chain->Last() == chain->First()) FreeChain(chain);
}

void TcxWindowProcController::FreeChain(TcxWindowProcLinkedObjectList* Chain) {
  FChains.erase(std::find(FChains.begin(), FChains.end(), Chain));
  Chain->FHelper->RestoreDefaultWindowProc();
  // A hook may leave from inside the chain's own dispatch: the chain goes once that returns.
  if (Chain->FDispatching > 0)
    Chain->FFreeAfterDispatch = true;
  else
    delete Chain;
}

void CallPreviousWindowProc(TcxWindowProcLinkedObject* Link, TMessage& Message) {
  if (!Link) return;
  auto* previous = static_cast<TcxWindowProcLinkedObject*>(Link->Prev());
  if (!previous) return;
  TWndMethod handler = previous->WindowProc();
  handler(Message);
}

// ---- designer notification

void TcxDesignController::NotifyFormDesignerModified(TCustomForm* Form) {
  if (FLockCount > 0 || (FState & 1)) return;
  FState |= 1;
  struct TClear {
    uint8_t& State;
    ~TClear() { State &= uint8_t(~1); }
  } clear{FState};
  NotifyDesigner(Form);
}
