#include <gtest/gtest.h>

#include "platform/rtl/Streaming.h"
#include "platform/rtl/TypInfo.h"
#include "suite/core/cxGeometry.h"

TEST(Geometry, RectangleRoutines) {
  const TRect a{10, 20, 50, 60};
  TRect r;
  // Overlap and union, touching edges and empty second rectangles included.
  EXPECT_TRUE(IntersectRects(a, {40, 50, 90, 90}, r));
  EXPECT_EQ(r, TRect(40, 50, 50, 60));
  r = {1, 2, 3, 4};
  EXPECT_FALSE(IntersectRects({0, 0, 10, 10}, {10, 0, 20, 10}, r)) << "touching is no overlap";
  EXPECT_EQ(r, TRect());
  EXPECT_EQ(UnionRects(a, {5, 5, 5, 9}), a);
  EXPECT_EQ(UnionRects(a, {0, 70, 5, 65}), a) << "negative height";
  EXPECT_EQ(UnionRects(a, {0, 0, 15, 25}), TRect(0, 0, 50, 60));

  struct Case {
    const char* name;
    TRect got, want;
  } cases[] = {
      {"InflateRectXY", InflateRectXY(a, 2, 3), {8, 17, 52, 63}},
      {"InflateRectSides", InflateRectSides(a, 1, 2, 3, 4), {9, 18, 53, 64}},
      {"InflateRectByMargins", InflateRectByMargins(a, {1, 2, 3, 4}), {9, 18, 53, 64}},
      {"DeflateRectByMargins", DeflateRectByMargins(a, {1, 2, 3, 4}), {11, 22, 47, 56}},
      {"NegateRect", NegateRect(a), {-10, -20, -50, -60}},
      {"OffsetRectByPoint", OffsetRectByPoint(a, {5, 6}), {15, 26, 55, 66}},
      {"OffsetRectByPoint back", OffsetRectByPoint(a, {5, 6}, false), {5, 14, 45, 54}},
      {"OffsetRectByXY back", OffsetRectByXY(a, 10, 20, false), {0, 0, 40, 40}},
      {"RotateRect", RotateRect(a), {20, 10, 60, 50}},
      {"RectFromSize", RectFromSize({7, 8}), {0, 0, 7, 8}},
      {"MakeBoundsRect", MakeBoundsRect(3, 4, 10, 20), {3, 4, 13, 24}},
      {"RectFromPoints", RectFromPoints({1, 2}, {3, 4}), {1, 2, 3, 4}},
      {"RectWithTopAt", RectWithTopAt(a, 0), {10, 0, 50, 40}},
      {"RectWithTopAt height", RectWithTopAt(a, 0, 5), {10, 0, 50, 5}},
      {"RectWithBottomAt", RectWithBottomAt(a, 100), {10, 60, 50, 100}},
      {"RectWithBottomAt height", RectWithBottomAt(a, 100, 5), {10, 95, 50, 100}},
      {"RectWithLeftAt", RectWithLeftAt(a, 0), {0, 20, 40, 60}},
      {"RectWithLeftAt width", RectWithLeftAt(a, 0, 5), {0, 20, 5, 60}},
      {"RectWithRightAt width", RectWithRightAt(a, 100, 5), {95, 20, 100, 60}},
      {"RectWithWidth", RectWithWidth(a, 5), {10, 20, 15, 60}},
      {"RectWithHeight", RectWithHeight(a, 5), {10, 20, 50, 25}},
      // Centring divides truncating toward zero, also for negative sums.
      {"CenterSizeInRect", CenterSizeInRect(a, {11, 11}), {24, 34, 35, 45}},
      {"CenterSizeInRectWH negative", CenterSizeInRectWH({-10, -10, 0, 0}, 5, 5), {-7, -7, -2, -2}},
      {"CenterRectVertically", CenterRectVertically(a, 9), {10, 35, 50, 44}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.name;

  EXPECT_EQ(RectCenterPoint({-3, -3, 0, 0}), TPoint(-1, -1)) << "-3 div 2 is -1";
  EXPECT_EQ(RectBottomLeft(a), TPoint(10, 60));
  EXPECT_EQ(RectTopRight(a), TPoint(50, 20));
  EXPECT_EQ(OffsetPointByRectOrigin({1, 1}, a, false), TPoint(-9, -19));
  EXPECT_EQ(MarginsHorzTotal({3, 100, 4, 100}), 7);
  // Points on the right and bottom edges are outside; contained rectangles may share edges.
  EXPECT_TRUE(IsPointInRect(a, {10, 20}));
  EXPECT_FALSE(IsPointInRect(a, {50, 30}));
  EXPECT_FALSE(IsXYInRect(a, 30, 60));
  EXPECT_TRUE(RectContainsRect(a, a));
  EXPECT_FALSE(RectContainsRect(a, {9, 20, 50, 60}));
  EXPECT_TRUE(IsEmptyRect({5, 0, 5, 10}));
  EXPECT_FALSE(IsZeroRect({0, 0, 0, 1}));
  EXPECT_EQ(GetRectSize(a), MakeSize(40, 40));
}

TEST(Geometry, StoredRectangleAndSize) {
  TcxRect r;
  int changes = 0;
  r.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &r);
    ++changes;
  };
  r.SetRect({1, 2, 3, 4});
  r.SetRect({1, 2, 3, 4});
  EXPECT_EQ(changes, 1) << "the same rectangle again fires nothing";
  r.SetSide(2, 30);
  EXPECT_EQ(r.Rect(), TRect(1, 2, 30, 4));
  EXPECT_EQ(changes, 2);
  *r.RectAddress() = {5, 6, 7, 8};
  EXPECT_EQ(changes, 2) << "direct access fires nothing";
  TcxRect other;
  other.Assign(&r);
  EXPECT_TRUE(other.IsEqual(&r));
  EXPECT_TRUE(other.IsEqualToRect({5, 6, 7, 8}));

  TcxSize s;
  int sizeChanges = 0;
  s.OnChange = [&](TObject*) { ++sizeChanges; };
  s.SetWidth(-5);
  EXPECT_EQ(s.Width(), 0);
  EXPECT_EQ(sizeChanges, 0) << "-5 is stored as 0, which it already was";
  s.SetSize({10, -1});
  EXPECT_EQ(s.Size(), MakeSize(10, 0));
  EXPECT_EQ(sizeChanges, 1);
  EXPECT_TRUE(s.IsValueStored(1));
  EXPECT_FALSE(s.IsValueStored(0));
  EXPECT_THROW(s.Assign(&r), EConvertError);
}

namespace {
class THolder : public TComponent {
 public:
  explicit THolder(TComponent* AOwner) : TComponent(AOwner) {}
  TcxRect* Margins() { return &FMargins; }
  TcxSize* Size() { return &FSize; }

 private:
  TcxRect FMargins{this};
  TcxSize FSize{this};
};
}  // namespace

TEST(Geometry, RectangleAndSizeRoundTripThroughADescription) {
  RegisterClass<THolder, TComponent>();
  Published<THolder>().Property("Margins", &THolder::Margins).Property("Size", &THolder::Size);
  THolder h(nullptr);
  h.SetName("Holder1");
  h.Margins()->SetRect({1, 0, 3, 4});
  h.Size()->SetSize({16, 0});
  std::string text = WriteComponentToText(&h);
  EXPECT_NE(text.find("Width = 16"), std::string::npos) << text;
  EXPECT_EQ(text.find("Height"), std::string::npos) << "a zero size value is not stored\n" << text;
  THolder back(nullptr);
  ReadComponentFromText(&back, text);
  EXPECT_EQ(back.Margins()->Rect(), TRect(1, 0, 3, 4));
  EXPECT_EQ(back.Size()->Size(), MakeSize(16, 0));
}
