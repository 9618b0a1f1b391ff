#pragma once
// Key tips: the short letter labels that may stand over menu and toolbar commands after Alt, typed
// to run a command without the mouse. The description of one tip, the data object that holds its
// window while shown, the default tip of a command, and the renaming that keeps the tips of one
// container apart. Tip windows come from a windows manager that an accessibility root hands out;
// the bar windows of this program have none, so their tips are collected and matched but never
// drawn.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/rtl/Events.h"
#include "platform/rtl/System.h"
#include "platform/win/Types.h"

// What one tip says, where it stands and what typing it does.
struct TdxBarKeyTipInfo {
  std::string KeyTip;
  TPoint BasePoint;  // screen point the tip window is aligned to
  uint8_t HorzAlign = 0;  // 2: centred on BasePoint.X
  uint8_t VertAlign = 0;
  bool Visible = false;
  bool Enabled = false;
  TNotifyEvent OnExecute;
};

// Makes, places and removes tip windows; supplied by an accessibility root from outside the bar
// unit.
class IdxBarKeyTipWindowsManager {
 public:
  virtual TObject* AddWindow(const std::string& Caption, const TPoint& BasePoint, uint8_t HorzAlign,
                             uint8_t VertAlign, bool Enabled) = 0;
  virtual void RemoveWindow(TObject* Window) = 0;
  // Every window of one refresh has been added or removed.
  virtual void UpdateWindows() = 0;

 protected:
  ~IdxBarKeyTipWindowsManager() = default;
};

class TdxBarKeyTipData : public TObject {
 public:
  explicit TdxBarKeyTipData(const TdxBarKeyTipInfo& AInfo) : Info(AInfo) {}
  void ShowKeyTipWindow(IdxBarKeyTipWindowsManager* WindowsManager);
  void HideTipWindow(IdxBarKeyTipWindowsManager* WindowsManager);
  // The tip as shown and as compared with what the user types.
  std::string UpperKeyTip() const;
  TObject* KeyTipWindow() const { return FWindow; }

  TdxBarKeyTipInfo Info;

 private:
  TObject* FWindow = nullptr;
};
using TdxBarKeyTipDataList = std::vector<std::unique_ptr<TdxBarKeyTipData>>;

// Longest tip a command gives before the renaming appends its numbers.
constexpr size_t dxBarKeyTipMaxLength = 3;
// Renaming passes after which MakeKeyTipsUnique gives up (each pass only lengthens tips).
constexpr int dxBarKeyTipMaxPasses = 64;

// Renames the tips of one container so that none equals another and none is the start of
// another: equal tips get numbers ("F", "F" become "F1", "F2"; twelve equal tips get "01" to
// "12"), a tip that starts another gets "1". Tips compare without regard to letter case, as they
// are shown and typed in upper case. Returns the number of passes made.
int MakeKeyTipsUnique(TdxBarKeyTipDataList& List);

// The default tip of a command: the letter of a Ctrl+letter shortcut, else the caption's
// accelerator in upper case, else "Y".
std::string GeneratedItemKeyTip(TShortCut ShortCut, const std::string& Caption);
// An assigned or generated tip cut to its first three characters.
std::string CutKeyTip(const std::string& Text);

// The 1-based position of the caption's accelerator character (the one after the last single
// "&"; "&&" is a literal ampersand), 0 without one; with Strip the markers are removed from
// Caption and the position refers to the stripped text.
int AcceleratorCharPosition(std::string& Caption, bool Strip);
// Whether a virtual key types a printable character (no space, no control character).
bool IsCharacterKey(WORD Key);
