#pragma once
// The keyboard navigation controller: the one object that knows which bar object is selected
// by the keyboard across all managers, turns arrows, Tab, Esc, Alt and F10 into selection moves,
// and runs key-tip mode (collecting, narrowing and matching the tips of one container). The
// unit's keyboard hook feeds it; bar windows and helpers call it to select, to hide tips and to
// end navigation.

#include <memory>
#include <string>

#include "suite/bars/dxBarAccessibility.h"
#include "suite/core/cxClasses.h"

// How long Alt must be held before key tips appear.
constexpr UINT dxBarKeyTipsWaitTime = 500;

class TdxBarNavigationController : public TObject {
 public:
  TdxBarNavigationController();
  ~TdxBarNavigationController() override;

  void RequestKeyTips(TdxBarAccessibilityHelper* Root);
  void StopWaitingForKeyTips(bool ShowTips);
  void SelectFirstObject(TdxBarAccessibilityHelper* Root);
  void DispatchKey(WORD Key, TShiftState Shift, TdxBarAccessibilityHelper* Selected = nullptr,
                   TdxBarAccessibilityHelper* Parent = nullptr);
  bool WantsKey(WORD Key, TShiftState Shift);
  void MoveSelection(bool ByTab, TdxBarAccessibilityHelper* NewObject,
                     TdxBarAccessibilityHelper* OldObject = nullptr);
  void ShowKeyTipsFor(TdxBarAccessibilityHelper* Container, const std::string& Typed);
  void LeaveNavigationMode();
  void CancelKeyTips();
  void ForgetObject(TdxBarAccessibilityHelper* Object);
  TdxBarAccessibilityHelper* CurrentSelectedObject();
  TdxBarAccessibilityHelper* CurrentSelectedObjectParent();
  TCustomdxBarControl* NavigatedBarControl();
  bool IsBarControlUnderNavigation(TCustomdxBarControl* BarControl);
  bool HasPendingKeyTips() const { return bool(FWaitingRoot); }
  bool HasKeyTipsContainer() const { return bool(FKeyTipsContainer); }
  void ClearNavigationMode() { FNavigationMode = false; }
  void FreeKeyTipsTimer();
  static bool IsArrowOrTabKey(WORD Key, TShiftState Shift);

  // Keyboard navigation is on: an object was selected by Alt, F10 or a key tip and has not
  // released its selection.
  bool NavigationMode() const { return FNavigationMode; }
  // The helpers' base TakeSelection and ReleaseSelection keep the selected object here.
  void StoreSelection(TdxBarAccessibilityHelper* Object, TdxBarAccessibilityHelper* Parent);
  // A bar window left the keyboard: a selection inside it is over.
  void BarControlDeactivated(TCustomdxBarControl* BarControl);
  // The tips now shown and the text typed so far (upper case), for whoever draws or tests them.
  const TdxBarKeyTipDataList& KeyTips() const { return FKeyTips; }
  const std::string& TypedKeyTip() const { return FTyped; }
  TdxBarAccessibilityHelper* KeyTipsContainer() const { return FKeyTipsContainer.get(); }
  bool KeyTipsTimerRunning() const { return FTimer && FTimer->Enabled(); }

  // Whether Key belongs to key-tip mode; Handler is the command of a fully typed, enabled tip and
  // Matched tells that some tip starts with what is typed.
  bool MatchKeyTip(WORD Key, TShiftState Shift, TNotifyEvent& Handler, bool& Matched);

 private:
  void TypeKeyTipChar(WORD Key, const TNotifyEvent& Handler);
  void RefreshKeyTipWindows();
  void HideKeyTipWindows();
  void TimerFired(TObject* Sender);

  bool FHandlingKey = false;
  TdxBarAccessibilityHelperRef FKeyTipsContainer;
  TdxBarKeyTipDataList FKeyTips;
  std::string FTyped;
  TdxBarAccessibilityHelperRef FWaitingRoot;
  std::unique_ptr<TcxTimer> FTimer;
  bool FInTimer = false;
  bool FNavigationMode = false;
  TdxBarAccessibilityHelperRef FSelected;
  TdxBarAccessibilityHelperRef FSelectedParent;
};

// The unit's navigation controller, made on first use and freed when the bar unit ends.
TdxBarNavigationController* GetBarNavigationController();
void FreeBarNavigationController();
// Alt (or F10) went down alone: the pending flag the controller and the keyboard hook share.
void SetBarMenuKeyPending(bool Value);
