// Drop shadows of menus and floating bars: the strips for each way a menu meets its opener, their
// alpha ramps and fading ends, the thin fallback without per-pixel alpha, and clicks passing
// through.

#include <gtest/gtest.h>

#include <vector>

#include "platform/sys/Modules.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBarShadow.h"
#include "suite/core/cxGraphics.h"

namespace {

using TPlace = TdxBarShadow::TPartPlace;
constexpr int H = dxBarShadowHorizontal, V = dxBarShadowVertical;

std::vector<TPlace> PartsOf(const TdxBarShadow& Shadow) {
  std::vector<TPlace> parts;
  for (int i = 0; i < Shadow.PartCount(); ++i) {
    TdxBarShadowPart* p = Shadow.Part(i);
    parts.push_back({p->Kind(), p->Corners(), p->BoundsRect()});
  }
  return parts;
}

void ExpectParts(const std::vector<TPlace>& Actual, const std::vector<TPlace>& Expected) {
  ASSERT_EQ(Actual.size(), Expected.size());
  for (size_t i = 0; i < Actual.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Actual[i].Kind, Expected[i].Kind);
    EXPECT_EQ(Actual[i].Corners, Expected[i].Corners);
    EXPECT_EQ(Actual[i].Bounds, Expected[i].Bounds);
  }
}

// Alpha of a part's image at (x, y) from the top-left.
int AlphaAt(TdxBarShadowPart* Part, int X, int Y) {
  std::vector<uint32_t> colors;
  Part->Image()->GetColors(colors);
  const int w = Part->Width(), h = Part->Height();
  return int(colors[size_t(h - 1 - Y) * size_t(w) + size_t(X)] >> 24);
}

struct TShadowFixture : ::testing::Test {
  void SetUp() override { dxBarBindWindowEntries(); }
  void TearDown() override {
    dxBarSetScreenBitsPerPixel(0);
    dxBarBindWindowEntries();
  }
};

TEST_F(TShadowFixture, PartsFollowTheOpenerAndTheMenu) {
  ASSERT_EQ(dxBarShadowSize(), 4);
  struct {
    const char* name;
    TRect opener, menu;
    std::vector<TPlace> parts;
  } cases[] = {
      {"menu wider than the button below it", TRect(10, 10, 40, 30), TRect(10, 30, 130, 200),
       {{V, 4, TRect(40, 14, 44, 30)}, {H, 3, TRect(14, 200, 134, 204)}, {V, 4, TRect(130, 34, 134, 200)}}},
      {"menu narrower than the button", TRect(10, 10, 140, 30), TRect(10, 30, 100, 200),
       {{V, 4, TRect(140, 14, 144, 30)},
        {H, 3, TRect(14, 200, 104, 204)},
        {H, 2, TRect(100, 30, 144, 34)},
        {V, 0, TRect(100, 30, 104, 200)}}},
      {"menu shifted further right", TRect(10, 10, 40, 30), TRect(30, 30, 130, 200),
       {{V, 4, TRect(40, 14, 44, 30)},
        {H, 3, TRect(34, 200, 134, 204)},
        {H, 1, TRect(14, 30, 30, 34)},
        {V, 4, TRect(130, 34, 134, 200)}}},
      {"no opener", TRect(), TRect(0, 0, 100, 50),
       {{H, 3, TRect(4, 50, 104, 54)}, {V, 4, TRect(100, 4, 104, 50)}}},
      {"sub-menu beside a short item", TRect(0, 20, 50, 40), TRect(50, 10, 150, 100),
       {{V, 4, TRect(150, 14, 154, 100)}, {H, 1, TRect(4, 40, 50, 44)}, {H, 3, TRect(54, 100, 154, 104)}}},
      {"sub-menu shorter than its item's bottom", TRect(0, 20, 50, 120), TRect(50, 0, 150, 100),
       {{V, 4, TRect(150, 4, 154, 100)},
        {H, 3, TRect(4, 120, 54, 124)},
        {V, 0, TRect(50, 100, 54, 120)},
        {H, 2, TRect(50, 100, 154, 104)}}},
      {"sub-menu starting below its item's top", TRect(0, 0, 50, 20), TRect(50, 30, 150, 100),
       {{V, 4, TRect(150, 34, 154, 100)},
        {V, 4, TRect(50, 4, 54, 30)},
        {H, 1, TRect(4, 20, 50, 24)},
        {H, 3, TRect(54, 100, 154, 104)}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TdxBarShadow shadow(nullptr);
    shadow.SetRects(c.opener, c.menu);
    ExpectParts(PartsOf(shadow), c.parts);
  }
}

TEST_F(TShadowFixture, AMenuAboveItsButtonTakesTheOpenersPlace) {
  TdxBarShadow shadow(nullptr);
  shadow.SetRects(TRect(10, 200, 40, 220), TRect(10, 50, 130, 200));
  EXPECT_TRUE(shadow.Horizontal());
  EXPECT_EQ(shadow.OwnerRect(), TRect(10, 50, 130, 200));
  EXPECT_EQ(shadow.ControlRect(), TRect(10, 200, 40, 220));
  shadow.SetRects(TRect(150, 20, 200, 40), TRect(50, 10, 150, 100));  // a sub-menu opened to the left
  EXPECT_FALSE(shadow.Horizontal());
  EXPECT_EQ(shadow.OwnerRect(), TRect(50, 10, 150, 100));
}

TEST_F(TShadowFixture, StripsDarkenTowardsTheEdgeAndFadeAtTheirEnds) {
  TdxBarShadow shadow(nullptr);
  shadow.SetRects(TRect(), TRect(0, 0, 100, 50));
  TdxBarShadowPart* bottom = shadow.Part(0);  // H, both ends fading, 100 x 4
  TdxBarShadowPart* right = shadow.Part(1);   // V, top end fading, 4 x 46
  ASSERT_TRUE(bottom->Image() && right->Image());
  for (int y = 0; y < 4; ++y) EXPECT_EQ(AlphaAt(bottom, 50, y), 60 - 15 * y);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(AlphaAt(right, x, 30), 60 - 15 * x);
  // At a fading end the pixel k from the end keeps (k + 1) / 5 of its alpha.
  const int ends[] = {12, 24, 36, 48};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(AlphaAt(bottom, k, 0), ends[k]);
    EXPECT_EQ(AlphaAt(bottom, 99 - k, 0), ends[k]);
    EXPECT_EQ(AlphaAt(right, 0, k), ends[k]);
  }
  EXPECT_EQ(AlphaAt(bottom, 4, 0), 60);
  EXPECT_EQ(AlphaAt(right, 0, 4), 60);
}

TEST_F(TShadowFixture, ShownPartsAreLayeredLetClicksThroughAndGoWhenHidden) {
  TdxBarShadow shadow(nullptr);
  shadow.SetRects(TRect(10, 24, 40, 30), TRect(10, 30, 130, 200));
  // The strip beside a 6-pixel button is too short for its fading end: no image, never shown.
  ASSERT_EQ(shadow.PartCount(), 3);
  EXPECT_EQ(shadow.Part(0)->Image(), nullptr);
  shadow.ChangeVisibility(true);
  EXPECT_FALSE(shadow.Part(0)->HandleAllocated() && IsWindowVisible(shadow.Part(0)->Handle()));
  for (int i = 1; i < 3; ++i) {
    HWND wnd = shadow.Part(i)->Handle();
    EXPECT_TRUE(IsWindowVisible(wnd));
    EXPECT_TRUE(GetWindowLong(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    const TRect r = shadow.Part(i)->BoundsRect();
    EXPECT_EQ(SendMessage(wnd, WM_NCHITTEST, 0, MAKELPARAM(r.Left + 1, r.Top + 1)), LRESULT(HTTRANSPARENT));
  }
  shadow.ChangeVisibility(false);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(shadow.Part(i)->HandleAllocated());
}

TEST_F(TShadowFixture, WithoutPerPixelAlphaStripsAreTwoPixelsAndDrawNothing) {
  auto check = [] {
    EXPECT_EQ(dxBarShadowSize(), 2);
    TdxBarShadow shadow(nullptr);
    shadow.SetRects(TRect(), TRect(0, 0, 100, 50));
    ExpectParts(PartsOf(shadow), {{H, 3, TRect(2, 50, 102, 52)}, {V, 4, TRect(100, 2, 102, 50)}});
    shadow.ChangeVisibility(true);
    HWND wnd = shadow.Part(0)->Handle();
    EXPECT_TRUE(IsWindowVisible(wnd));
    EXPECT_FALSE(GetWindowLong(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(wnd, rgn), NULLREGION);
    DeleteObject(rgn);
  };
  {
    SCOPED_TRACE("8 bits per pixel");
    dxBarSetScreenBitsPerPixel(8);
    check();
    dxBarSetScreenBitsPerPixel(0);
  }
  {
    SCOPED_TRACE("no layered windows");
    TModuleTableGuard guard;
    SetModuleEntry("user32.dll", "UpdateLayeredWindow", nullptr);
    dxBarBindWindowEntries();
    check();
  }
}

}  // namespace
