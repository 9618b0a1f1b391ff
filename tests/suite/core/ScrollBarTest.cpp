// The painter-drawn scroll bar: its layout, its range rules, and real mouse input on the test
// clock (repeating arrows, thumb drags that snap back), read back as pixels where it shows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "platform/rtl/SysUtils.h"
#include "suite/core/cxScrollBar.h"

using namespace suitetest;

namespace {

struct TBarScene {
  std::unique_ptr<TForm> Form;
  TcxScrollBar* Bar;
  std::vector<std::string> Log;

  explicit TBarScene(TScrollBarKind Kind = sbVertical) {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 400, 320);
    Bar = new TcxScrollBar(Form.get());
    Bar->SetKind(Kind);
    if (Kind == sbVertical) Bar->SetBounds(20, 20, 17, 217);
    else Bar->SetBounds(20, 20, 217, 17);
    Bar->SetParent(Form.get());
    Bar->ConfigureRange(0, 100, 0, 10);
    Bar->SetLargeChange(10);
    Bar->OnChange = [this](TObject*) { Log.push_back("change " + std::to_string(Bar->Position())); };
    Bar->OnScroll = [this](TObject*, TScrollCode Code, int& Pos) {
      static const char* names[] = {"lineup", "linedown", "pageup", "pagedown", "position",
                                    "track", "top", "bottom", "end"};
      Log.push_back(std::string(names[int(Code)]) + " " + std::to_string(Pos));
    };
    Form->Show();
    Application->ProcessMessages();
  }
  TPoint ThumbCentre() const {
    const TRect& t = Bar->ViewInfo()->ThumbRect();
    return TPoint((t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2);
  }
};

}  // namespace

// The bar's length less two square arrows is the track; the thumb stands for the page within the
// range, never shorter than the painter allows, and none shows where it cannot.
TEST(ScrollBar, LayoutOfArrowsThumbAndPages) {
  struct Case {
    const char* Name;
    int Height, Min, Max, Page, Position;
    bool Enabled;
    TRect Thumb;
  };
  const Case cases[] = {
      {"page 10 of 0..100 at the start", 217, 0, 100, 10, 0, true, TRect(0, 17, 17, 35)},
      {"page 10 of 0..100 half way", 217, 0, 100, 10, 50, true, TRect(0, 108, 17, 126)},
      {"page 10 of 0..100 at the end", 217, 0, 100, 10, 100, true, TRect(0, 182, 17, 200)},
      {"no page: a thumb as long as the system's", 217, 0, 100, 0, 100, true, TRect(0, 183, 17, 200)},
      {"an empty range keeps the thumb at the start", 217, 5, 5, 0, 5, true, TRect(0, 17, 17, 34)},
      {"a disabled bar has none", 217, 0, 100, 10, 0, false, TRect()},
      {"a track shorter than the minimum has none", 40, 0, 100, 10, 0, true, TRect()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TcxScrollBar bar(nullptr);
    bar.SetKind(sbVertical);
    bar.SetBounds(0, 0, 17, c.Height);
    bar.ConfigureRange(c.Min, c.Max, c.Position, c.Page);
    bar.SetEnabled(c.Enabled);
    const TcxScrollBarViewInfo* v = bar.ViewInfo();
    EXPECT_EQ(v->TopLeftArrowRect(), TRect(0, 0, 17, std::min(17, c.Height / 2)));
    EXPECT_EQ(v->BottomRightArrowRect(), TRect(0, c.Height - std::min(17, c.Height / 2), 17, c.Height));
    EXPECT_EQ(v->ThumbRect(), c.Thumb);
    if (!c.Thumb.IsEmpty()) {
      EXPECT_EQ(v->PageUpRect(), TRect(0, 17, 17, c.Thumb.Top));
      EXPECT_EQ(v->PageDownRect(), TRect(0, c.Thumb.Bottom, 17, c.Height - 17));
    } else {
      EXPECT_TRUE(v->PageUpRect().IsEmpty());
      EXPECT_TRUE(v->PageDownRect().IsEmpty());
    }
  }
}

TEST(ScrollBar, TheVerticalBarOfTheDemoHasA183PixelTrackAndAn18PixelThumb) {
  TBarScene s;
  const TcxScrollBarViewInfo* v = s.Bar->ViewInfo();
  EXPECT_EQ(v->TrackEnd() - v->TrackStart(), 183);
  EXPECT_EQ(v->ThumbRect().Height(), MulDiv(10, 183, 101));
  EXPECT_EQ(v->ThumbRect().Height(), 18);
  s.Bar->ConfigureRange(0, 10000, 0, 1);
  EXPECT_EQ(v->ThumbRect().Height(), v->MinThumbSize()) << "a tiny page gets the painter's minimum";
  s.Bar->ConfigureRange(0, 100, 0, 10);
  // What shows: the thumb is a plain face across the bar, the track a two-colour pattern.
  auto plain = [](const QImage& image, int y) {
    for (int x = 4; x < 13; ++x)
      if (image.pixel(x, y) != image.pixel(4, y)) return false;
    return true;
  };
  QImage image = Snapshot(s.Bar);
  ASSERT_EQ(image.height(), 217);
  EXPECT_TRUE(plain(image, 26));
  EXPECT_FALSE(plain(image, 100));
  EXPECT_FALSE(plain(image, 191));
  s.Bar->SetPosition(100);
  image = Snapshot(s.Bar);
  EXPECT_FALSE(plain(image, 26)) << "the thumb left the top";
  EXPECT_TRUE(plain(image, 191)) << "and stands at the end of the track";
}

// Range and position change through one routine that refuses what does not fit and clamps the
// position.
TEST(ScrollBar, RangeRules) {
  TBarScene s;
  s.Log.clear();
  s.Bar->SetPosition(500);
  EXPECT_EQ(s.Bar->Position(), 100);
  EXPECT_EQ(s.Log, (std::vector<std::string>{"change 100"}));
  s.Bar->SetPosition(100);
  EXPECT_EQ(s.Log.size(), 1u) << "the same value says nothing";
  EXPECT_THROW(s.Bar->SetPageSize(101), EInvalidOperation);
  EXPECT_THROW(s.Bar->ConfigureRange(10, 5, 7, 0), EInvalidOperation);
  try {
    s.Bar->SetMin(200);
    ADD_FAILURE();
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "Scrollbar property out of range");
  }
  EXPECT_EQ(s.Bar->Min(), 0);
  EXPECT_EQ(s.Bar->Max(), 100);
  EXPECT_EQ(s.Bar->PageSize(), 10);
  s.Bar->SetPageSize(101 - 1);
  EXPECT_EQ(s.Bar->PageSize(), 100) << "a page as large as the range is allowed";
}

// Each scroll request moves by its step, is offered to OnScroll, and stays in the range; a track
// request never says OnChange.
TEST(ScrollBar, ScrollRequests) {
  struct Case {
    TScrollCode Code;
    int From, Expected;
    bool Changes;
  };
  const Case cases[] = {
      {scLineUp, 50, 49, true},     {scLineDown, 50, 51, true}, {scPageUp, 50, 40, true},
      {scPageDown, 95, 100, true},  {scTop, 50, 0, true},       {scBottom, 50, 100, true},
      {scLineUp, 0, 0, false},      {scEndScroll, 50, 50, false},
  };
  for (const Case& c : cases) {
    TBarScene s;
    s.Bar->SetPosition(c.From);
    s.Log.clear();
    s.Bar->Perform(CN_VSCROLL, WPARAM(c.Code), 0);
    EXPECT_EQ(s.Bar->Position(), c.Expected) << int(c.Code);
    EXPECT_EQ(s.Log.size(), c.Changes ? 2u : 1u) << int(c.Code);
  }
  TBarScene s;
  s.Bar->OnScroll = [](TObject*, TScrollCode Code, int& Pos) {
    if (Code == scTrack) Pos = 77;
    if (Code == scLineDown) Pos = 1000;  // clamped again after the handler
  };
  s.Log.clear();
  s.Bar->Perform(CN_VSCROLL, WPARAM(scTrack), 0);
  EXPECT_EQ(s.Bar->Position(), 77);
  EXPECT_TRUE(s.Log.empty()) << "no OnChange for tracking";
  s.Bar->Perform(CN_VSCROLL, WPARAM(scLineDown), 0);
  EXPECT_EQ(s.Bar->Position(), 100);
}

// Holding an arrow steps once at the press, again after 400 ms and then every 60 ms; off the
// arrow it pauses, back on it goes on; the release ends with scEndScroll.
TEST(ScrollBar, HeldArrowRepeatsOnTheTestClock) {
  TManualClock clock;
  TBarScene s;
  s.Log.clear();
  TPoint down(8, 208);
  MouseEvent(s.Bar, QEvent::MouseButtonPress, down);
  EXPECT_EQ(s.Bar->Position(), 1);
  EXPECT_EQ(s.Bar->PressedPart(), spLineForward);
  Tick(399);
  EXPECT_EQ(s.Bar->Position(), 1);
  Tick(1);
  EXPECT_EQ(s.Bar->Position(), 2);
  Tick(59);
  EXPECT_EQ(s.Bar->Position(), 2);
  Tick(1);
  EXPECT_EQ(s.Bar->Position(), 3);
  Tick(60);
  EXPECT_EQ(s.Bar->Position(), 4);
  Drag(s.Bar, TPoint(40, 208));
  Tick(600);
  EXPECT_EQ(s.Bar->Position(), 4) << "paused off the arrow";
  Drag(s.Bar, down);
  Tick(60);
  EXPECT_EQ(s.Bar->Position(), 5);
  MouseEvent(s.Bar, QEvent::MouseButtonRelease, down);
  Tick(600);
  EXPECT_EQ(s.Bar->Position(), 5);
  EXPECT_EQ(s.Bar->PressedPart(), spNone);
  ASSERT_FALSE(s.Log.empty());
  EXPECT_EQ(s.Log.back(), "end 5");
  EXPECT_EQ(s.Log.front(), "linedown 1");
}

// A click in the track pages towards the pointer and stops once the thumb reaches it.
TEST(ScrollBar, HeldTrackPagesUntilTheThumbReachesThePointer) {
  TManualClock clock;
  TBarScene s;
  TPoint at(8, 120);
  MouseEvent(s.Bar, QEvent::MouseButtonPress, at);
  EXPECT_EQ(s.Bar->Position(), 10);
  for (int i = 0; i < 20; ++i) Tick(400);
  // The thumb now covers the pointer: no more pages.
  EXPECT_EQ(s.Bar->PartAt(at), spThumb);
  int reached = s.Bar->Position();
  Tick(400);
  EXPECT_EQ(s.Bar->Position(), reached);
  MouseEvent(s.Bar, QEvent::MouseButtonRelease, at);
}

// Dragging the thumb moves the position with it; too far across the bar the position returns to
// where the drag began, unless tracking is unlimited.
TEST(ScrollBar, ThumbDragSnapsBackFarFromTheBar) {
  struct Case {
    bool Unlimited;
    int Across;  // pixels below the horizontal bar's client area
    bool SnapsBack;
  };
  const Case cases[] = {{false, 135, false}, {false, 137, true}, {true, 400, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Across) + (c.Unlimited ? " unlimited" : ""));
    TBarScene s(sbHorizontal);
    s.Bar->SetUnlimitedTracking(c.Unlimited);
    s.Log.clear();
    TPoint start = s.ThumbCentre();
    MouseEvent(s.Bar, QEvent::MouseButtonPress, start);
    EXPECT_EQ(s.Bar->PressedPart(), spThumb);
    Drag(s.Bar, TPoint(start.X + 91, start.Y));
    int moved = s.Bar->Position();
    EXPECT_EQ(moved, 50) << "91 of 165 pixels of free track";
    EXPECT_EQ(s.Log.back(), "track 50");
    EXPECT_TRUE(std::find(s.Log.begin(), s.Log.end(), "change 50") == s.Log.end()) << "tracking says no change";
    Drag(s.Bar, TPoint(start.X + 91, 17 + c.Across));
    EXPECT_EQ(s.Bar->Position(), c.SnapsBack ? 0 : 50);
    MouseEvent(s.Bar, QEvent::MouseButtonRelease, TPoint(start.X + 91, 17 + c.Across));
    EXPECT_EQ(s.Bar->Position(), c.SnapsBack ? 0 : 50);
    EXPECT_EQ(s.Log.back(), c.SnapsBack ? "end 0" : "end 50");
  }
}

// A thumb that fills its whole track stands for the start of the range, never for a position
// outside it.
TEST(ScrollBar, ThumbFillingTheTrackStandsForTheStart) {
  TcxScrollBar bar(nullptr);
  bar.SetKind(sbVertical);
  int minThumb = bar.ViewInfo()->MinThumbSize();
  bar.SetBounds(0, 0, 17, 34 + minThumb);
  bar.ConfigureRange(5, 100, 5, 90);
  ASSERT_EQ(bar.ViewInfo()->ThumbRect().Height(), minThumb);
  EXPECT_EQ(bar.PositionFromThumb(), 5);
  bar.ConfigureRange(5, 100, 100, 90);
  EXPECT_EQ(bar.PositionFromThumb(), 5);
}

// A thumb dragged to the end of the track stands for the last position its page allows.
TEST(ScrollBar, ThumbAtTheEndStandsForTheLastPage) {
  TBarScene s;
  TPoint start = s.ThumbCentre();
  MouseEvent(s.Bar, QEvent::MouseButtonPress, start);
  Drag(s.Bar, TPoint(start.X, start.Y + 180));
  EXPECT_EQ(s.Bar->ViewInfo()->ThumbRect().Bottom, 200) << "clamped between the arrows";
  EXPECT_EQ(s.Bar->PositionFromThumb(), 91);
  MouseEvent(s.Bar, QEvent::MouseButtonRelease, TPoint(start.X, start.Y + 180));
  EXPECT_EQ(s.Bar->Position(), 91);
}
