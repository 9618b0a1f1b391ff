#pragma once
// The extra buttons of a floating bar's caption: each a model with a click, a hint, a key tip, an
// enabled flag, a state that follows the mouse and the rectangle the bar window lays it out in.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/Types.h"

class TBitmap;
class TdxBar;
class TdxBarCaptionButtons;

class TdxBarCaptionButton {
 public:
  enum : int { bcbsNormal = 0, bcbsDisabled = 1, bcbsHot = 2, bcbsPressed = 4 };
  explicit TdxBarCaptionButton(TdxBarCaptionButtons* AOwner);
  ~TdxBarCaptionButton();

  bool Enabled() const { return FEnabled; }
  // Also resets the state to normal or disabled when the value is unchanged.
  void SetEnabled(bool Value);
  std::string Hint;
  std::string KeyTip;
  std::function<void(TdxBarCaptionButton* Sender)> OnClick;
  // In the bar window's non-client coordinates; empty while not placed.
  TRect Rect;
  int State() const { return FState; }
  void SetState(int Value);
  void DoClick() {
    if (OnClick) OnClick(this);
  }
  // Its hint while hot, else none.
  std::string HintText() const { return FState == bcbsHot ? Hint : std::string(); }
  TdxBarCaptionButtons* OwningButtons() const { return FOwner; }
  // Drawn in the middle of the button; a change repaints it.
  TBitmap* Glyph() const { return FGlyph.get(); }

 private:
  TdxBarCaptionButtons* FOwner;
  std::unique_ptr<TBitmap> FGlyph;
  bool FEnabled = true;
  int FState = bcbsNormal;
};

class TdxBarCaptionButtons {
 public:
  explicit TdxBarCaptionButtons(TdxBar* ABar = nullptr) : FBar(ABar) {}
  TdxBar* Bar() const { return FBar; }
  TdxBarCaptionButton* Add();
  int Count() const { return int(FButtons.size()); }
  TdxBarCaptionButton* ButtonByIndex(int Index) const { return FButtons.at(size_t(Index)).get(); }
  // The first enabled button whose rectangle holds the point; -1 when none.
  int ButtonAtPoint(const TPoint& P) const;
  // The union of the placed buttons' rectangles.
  TRect ButtonsBounds() const;
  // Enabled buttons become hot (or pressed) under the point and normal elsewhere.
  void UpdateStatesAtPoint(const TPoint& P, bool Pressed);
  // Told of every change of a button (the bar window repaints its caption).
  std::function<void(TdxBarCaptionButton* Button)> OnChanged;
  void Changed(TdxBarCaptionButton* Button) {
    if (OnChanged) OnChanged(Button);
  }

 private:
  TdxBar* FBar;
  std::vector<std::unique_ptr<TdxBarCaptionButton>> FButtons;
};
