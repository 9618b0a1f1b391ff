#include "suite/core/dxHooks.h"

#include <algorithm>
#include <cstdio>

#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "suite/core/dxCore.h"

namespace {

int gUnitCount = 0;
TdxHookController* gController = nullptr;

[[noreturn]] void AssertionFailure(const char* What) {
  throw EAssertionFailed(std::string(What) + " (dxHooks)");
}

LRESULT DispatchKind(TdxSystemHookKind Kind, int Code, WPARAM wParam, LPARAM lParam) {
  if (!gController) return CallNextHookEx(nullptr, Code, wParam, lParam);
  return gController->Hooks(Kind)->Dispatch(Code, wParam, lParam);
}

template <TdxSystemHookKind Kind>
LRESULT HookEntry(int Code, WPARAM wParam, LPARAM lParam) {
  return DispatchKind(Kind, Code, wParam, lParam);
}

struct THookKindInfo {
  int WindowsId;
  HOOKPROC Entry;
};
constexpr THookKindInfo HookKinds[dxSystemHookKindCount] = {
    {WH_KEYBOARD, &HookEntry<shkKeyboard>},
    {WH_MOUSE, &HookEntry<shkMouse>},
    {WH_CALLWNDPROC, &HookEntry<shkCallWndProc>},
    {WH_GETMESSAGE, &HookEntry<shkGetMessage>},
    {WH_CBT, &HookEntry<shkCBT>},
};

}  // namespace

TdxSystemHook::TdxSystemHook(TdxSystemHookKind AKind) : FKind(AKind) {}

TdxSystemHook::~TdxSystemHook() {
  // A destructor must not throw: an unbalanced subscriber is reported and the hook removed.
  if (!FProcs.empty() || FHandle) {
    std::fprintf(stderr, "Hook in use at destruction (dxHooks)\n");
    if (FHandle) UnhookWindowsHookEx(FHandle);
  }
}

int TdxSystemHook::Add(TdxHookProc Proc) {
  if (Contains(Proc)) AssertionFailure("Hook procedure subscribed twice");
  if (FProcs.empty()) Install();
  FProcs.push_back(Proc);
  return int(FProcs.size()) - 1;
}

void TdxSystemHook::Remove(TdxHookProc Proc) {
  auto it = std::find(FProcs.begin(), FProcs.end(), Proc);
  if (it == FProcs.end()) return;
  FProcs.erase(it);
  if (FProcs.empty()) Uninstall();
}

bool TdxSystemHook::Contains(TdxHookProc Proc) const {
  return std::find(FProcs.begin(), FProcs.end(), Proc) != FProcs.end();
}

void TdxSystemHook::Install() {
  if (FHandle) AssertionFailure("Hook installed twice");
  FHandle = SetWindowsHookEx(HookKinds[FKind].WindowsId, HookKinds[FKind].Entry, nullptr,
                             GetCurrentThreadId());
}

void TdxSystemHook::Uninstall() {
  if (!FHandle) AssertionFailure("Hook not installed");
  UnhookWindowsHookEx(FHandle);
  FHandle = nullptr;
}

LRESULT TdxSystemHook::Dispatch(int Code, WPARAM wParam, LPARAM lParam) {
  // Subscribers may subscribe or leave while they are called: the ones present now are called,
  // except those that left meanwhile.
  const std::vector<TdxHookProc> present = FProcs;
  const HHOOK handle = FHandle;
  LRESULT result = 0;
  for (auto it = present.rbegin(); it != present.rend(); ++it) {
    if (!Contains(*it)) continue;
    try {
      (*it)(Code, wParam, lParam, result);
    } catch (...) {
      GetApplication()->HandleException(nullptr, std::current_exception());
    }
  }
  LRESULT next = CallNextHookEx(handle, Code, wParam, lParam);
  return result != 0 ? result : next;
}

TdxHookController::TdxHookController() {
  for (int i = 0; i < dxSystemHookKindCount; ++i)
    FHooks[i] = std::make_unique<TdxSystemHook>(TdxSystemHookKind(i));
}

TdxHookController::~TdxHookController() = default;

TdxHookController* dxHookController() { return gController; }

int SubscribeSystemHook(TdxSystemHookKind Kind, TdxHookProc Proc) {
  if (!gController) return -1;
  return gController->Hooks(Kind)->Add(Proc);
}

void UnsubscribeSystemHook(TdxHookProc Proc) {
  if (!gController) return;
  for (int i = 0; i < dxSystemHookKindCount; ++i)
    gController->Hooks(TdxSystemHookKind(i))->Remove(Proc);
}

void dxHooksInitialize() {
  if (gUnitCount++ > 0) return;
  gController = new TdxHookController;
}

void dxHooksFinalize() {
  if (gUnitCount == 0 || --gUnitCount > 0) return;
  FreeAndClearObject(gController);
}
