#include "suite/bars/dxBarCaptionButtons.h"

#include <algorithm>

#include "platform/gui/Pictures.h"

TdxBarCaptionButton::TdxBarCaptionButton(TdxBarCaptionButtons* AOwner)
    : FOwner(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->OnChange = [this](TObject*) {
    if (FOwner) FOwner->Changed(this);
  };
}

TdxBarCaptionButton::~TdxBarCaptionButton() = default;

void TdxBarCaptionButton::SetEnabled(bool Value) {
  FEnabled = Value;
  SetState(Value ? bcbsNormal : bcbsDisabled);
}

void TdxBarCaptionButton::SetState(int Value) {
  if (FState == Value) return;
  FState = Value;
  if (FOwner) FOwner->Changed(this);
}

TdxBarCaptionButton* TdxBarCaptionButtons::Add() {
  FButtons.push_back(std::make_unique<TdxBarCaptionButton>(this));
  Changed(nullptr);
  return FButtons.back().get();
}

int TdxBarCaptionButtons::ButtonAtPoint(const TPoint& P) const {
  for (int i = 0; i < Count(); ++i)
    if (FButtons[size_t(i)]->Enabled() && FButtons[size_t(i)]->Rect.Contains(P)) return i;
  return -1;
}

TRect TdxBarCaptionButtons::ButtonsBounds() const {
  TRect r;
  for (const auto& b : FButtons) {
    if (b->Rect.IsEmpty()) continue;
    if (r.IsEmpty()) {
      r = b->Rect;
      continue;
    }
    r = TRect(std::min(r.Left, b->Rect.Left), std::min(r.Top, b->Rect.Top), std::max(r.Right, b->Rect.Right),
              std::max(r.Bottom, b->Rect.Bottom));
  }
  return r;
}

void TdxBarCaptionButtons::UpdateStatesAtPoint(const TPoint& P, bool Pressed) {
  for (const auto& b : FButtons) {
    if (!b->Enabled()) continue;
    if (!b->Rect.Contains(P)) b->SetState(TdxBarCaptionButton::bcbsNormal);
    else b->SetState(Pressed ? TdxBarCaptionButton::bcbsPressed : TdxBarCaptionButton::bcbsHot);
  }
}
