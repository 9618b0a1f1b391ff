#pragma once
// One shared thread hook per kind for the whole suite: parts that watch keyboard, mouse,
// window-procedure, message-queue or activation traffic subscribe a procedure instead of
// installing hooks of their own. A kind's hook is installed while it has subscribers.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/rtl/System.h"
#include "platform/win/Windows.h"

// A subscriber: it sets Result (non-zero) to answer the hook in place of the rest of the chain.
using TdxHookProc = void (*)(int Code, WPARAM wParam, LPARAM lParam, LRESULT& Result);

enum TdxSystemHookKind : uint8_t {
  shkKeyboard = 0,
  shkMouse = 1,
  shkCallWndProc = 2,
  shkGetMessage = 3,
  shkCBT = 4,
};
constexpr int dxSystemHookKindCount = 5;

class TdxSystemHook : public TObject {
 public:
  explicit TdxSystemHook(TdxSystemHookKind AKind);
  // In use (subscribers or installed) is an assertion failure.
  ~TdxSystemHook() override;

  // A procedure subscribed twice is an assertion failure. Returns its index.
  int Add(TdxHookProc Proc);
  void Remove(TdxHookProc Proc);
  bool Contains(TdxHookProc Proc) const;
  void Install();
  void Uninstall();
  // Calls the subscribers present now, newest first, then the rest of the thread's chain.
  LRESULT Dispatch(int Code, WPARAM wParam, LPARAM lParam);

  TdxSystemHookKind Kind() const { return FKind; }
  HHOOK Handle() const { return FHandle; }
  int Count() const { return int(FProcs.size()); }

 private:
  TdxSystemHookKind FKind;
  std::vector<TdxHookProc> FProcs;
  HHOOK FHandle = nullptr;
};

class TdxHookController : public TObject {
 public:
  TdxHookController();
  ~TdxHookController() override;
  TdxSystemHook* Hooks(TdxSystemHookKind Kind) const { return FHooks[Kind].get(); }

 private:
  std::unique_ptr<TdxSystemHook> FHooks[dxSystemHookKindCount];
};

// The controller while the unit is started, else null.
TdxHookController* dxHookController();
int SubscribeSystemHook(TdxSystemHookKind Kind, TdxHookProc Proc);
// Removes the procedure from every kind; one never subscribed changes nothing.
void UnsubscribeSystemHook(TdxHookProc Proc);

void dxHooksInitialize();
void dxHooksFinalize();
