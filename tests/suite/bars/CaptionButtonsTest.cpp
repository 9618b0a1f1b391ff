#include <gtest/gtest.h>

#include "suite/bars/dxBarCaptionButtons.h"

TEST(CaptionButtons, StatesFollowTheMouseAndAClickRunsOnce) {
  TdxBarCaptionButtons buttons;
  int changes = 0, clicks = 0;
  buttons.OnChanged = [&](TdxBarCaptionButton*) { ++changes; };
  EXPECT_TRUE(buttons.ButtonsBounds().IsEmpty());
  TdxBarCaptionButton* a = buttons.Add();
  TdxBarCaptionButton* b = buttons.Add();
  EXPECT_TRUE(buttons.ButtonsBounds().IsEmpty());  // none placed yet
  a->Rect = TRect(10, 2, 24, 16);
  b->Rect = TRect(26, 2, 40, 16);
  a->Hint = "Pin";
  a->OnClick = [&](TdxBarCaptionButton* Sender) { clicks += Sender == a; };
  EXPECT_EQ(buttons.ButtonsBounds(), TRect(10, 2, 40, 16));

  changes = 0;
  buttons.UpdateStatesAtPoint(TPoint(12, 5), false);
  EXPECT_EQ(a->State(), TdxBarCaptionButton::bcbsHot);
  EXPECT_EQ(a->HintText(), "Pin");
  EXPECT_EQ(b->State(), TdxBarCaptionButton::bcbsNormal);
  EXPECT_EQ(changes, 1);
  buttons.UpdateStatesAtPoint(TPoint(12, 5), true);
  EXPECT_EQ(a->State(), TdxBarCaptionButton::bcbsPressed);
  EXPECT_EQ(a->HintText(), "");
  buttons.UpdateStatesAtPoint(TPoint(30, 5), false);
  EXPECT_EQ(a->State(), TdxBarCaptionButton::bcbsNormal);
  EXPECT_EQ(b->State(), TdxBarCaptionButton::bcbsHot);
  a->DoClick();
  EXPECT_EQ(clicks, 1);

  // A disabled button is never hit and keeps its state; enabling a hot button makes it normal.
  b->SetEnabled(false);
  EXPECT_EQ(b->State(), TdxBarCaptionButton::bcbsDisabled);
  EXPECT_EQ(buttons.ButtonAtPoint(TPoint(30, 5)), -1);
  buttons.UpdateStatesAtPoint(TPoint(30, 5), false);
  EXPECT_EQ(b->State(), TdxBarCaptionButton::bcbsDisabled);
  EXPECT_EQ(buttons.ButtonAtPoint(TPoint(12, 5)), 0);
  buttons.UpdateStatesAtPoint(TPoint(12, 5), false);
  a->SetEnabled(true);
  EXPECT_EQ(a->State(), TdxBarCaptionButton::bcbsNormal);
}
