// The skin library's pixel buffers: both blend formulas, scaling, drawing into another bitmap's
// DC, the transitions between faces and brightening, read back pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>

#include "controls/spEffBmp.h"

namespace {

struct TBlendGuard {
  TspBlendVariant Saved = spBlendVariant();
  ~TBlendGuard() { spSetBlendVariant(Saved); }
};

// A platform bitmap of W x H whose pixel (x, y) is Colour(x, y) (0x00RRGGBB).
template <class F>
void Fill(TBitmap& b, int W, int H, F Colour) {
  b.SetSize(W, H);
  for (int y = 0; y < H; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(b.ScanLine(y));
    for (int x = 0; x < W; ++x) row[x] = Colour(x, y) | 0xFF000000u;
  }
}

}  // namespace

TEST(spEffBmp, BlendFormulasOfRedHalfOverBlue) {
  const TspColor red128 = 0x80FF0000, blue = 0xFF0000FF;
  struct TCase {
    TspBlendVariant Variant;
    TspColor Expected;
  } cases[] = {{TspBlendVariant::Portable, 0xFF7F007E}, {TspBlendVariant::Word, 0xBF7F007F}};
  for (const auto& c : cases) {
    EXPECT_EQ(spBlendPixel(red128, blue, c.Variant), c.Expected);
    TspColor line[2] = {blue, blue};
    const TspColor src[2] = {red128, 0x00FFFFFF};
    spBlendLine(src, line, 2, c.Variant);
    EXPECT_EQ(line[0], c.Expected);
    EXPECT_EQ(line[1], blue) << "alpha 0 leaves the destination";
  }
  EXPECT_EQ(spBlendPixel(0xFF123456, blue, TspBlendVariant::Portable), 0xFF123456u);
}

TEST(spEffBmp, TheProductBlendsWithTheWordFormula) {
  EXPECT_EQ(spBlendVariant(), TspBlendVariant::Word);
  TspBitmap src, dst;
  src.SetSize(1, 1);
  dst.SetSize(1, 1);
  src.SetPixel(0, 0, 0x80FF0000);
  src.CheckAlpha();
  ASSERT_TRUE(src.AlphaBlend());
  dst.SetPixel(0, 0, 0xFF0000FF);
  src.Draw(dst.DC(), 0, 0);  // a registered bitmap's DC blends straight into its pixels
  EXPECT_EQ(dst.Pixel(0, 0), 0xBF7F007Fu);
}

TEST(spEffBmp, SizesAndPixelAccess) {
  TspBitmap b;
  b.SetSize(-20, 10);
  EXPECT_EQ(b.Width(), 20);
  EXPECT_EQ(b.Height(), 10);
  EXPECT_EQ(b.Pixel(19, 9), 0u) << "a new bitmap starts with zero bytes";
  b.SetSize(0, 10);
  EXPECT_EQ(b.Width(), 20);
  b.SetPixel(20, 0, 1);
  b.SetPixel(-1, 0, 1);
  b.SetPixel(3, 4, 0x11223344);
  EXPECT_EQ(*b.PixelAddress(3, 4), 0x11223344u);
  EXPECT_EQ(b.ScanLine(4)[3], 0x11223344u);
  TspBitmap none;
  none.SetPixel(0, 0, 5);
  none.SetAlpha(1);
  EXPECT_TRUE(none.Empty());
}

TEST(spEffBmp, AlphaOperations) {
  TspBitmap b, mask;
  b.SetSize(2, 1);
  mask.SetSize(2, 1);
  b.SetPixel(0, 0, 0xFF80C0FF);
  b.SetPixel(1, 0, 0xFF102030);
  mask.SetPixel(0, 0, 0x00010203);  // mean 2
  mask.SetPixel(1, 0, 0x00FFFFFF);
  spAlphaFromMask(&b, &mask);
  EXPECT_EQ(b.Pixel(0, 0) >> 24, 2u);
  EXPECT_EQ(b.Pixel(1, 0) >> 24, 255u);
  b.CheckAlpha();
  EXPECT_TRUE(b.AlphaBlend());
  b.SetPixel(0, 0, 0x4080C0FF);
  b.ClampToAlpha();
  EXPECT_EQ(b.Pixel(0, 0), 0x40404040u);
  b.SetPixel(0, 0, 0x80FF0080);
  b.Premultiply();
  EXPECT_EQ(b.Pixel(0, 0), 0x80800040u);  // 128 * 128 / 255 = 64.25
  b.SetAlpha(255);
  b.CheckAlpha();
  EXPECT_FALSE(b.AlphaBlend());
}

TEST(spEffBmp, ScalingAlignsTheEndPixels) {
  TspBitmap src, dst;
  src.SetSize(10, 1);
  for (int x = 0; x < 10; ++x) src.SetPixel(x, 0, 0xFF000000u | TspColor(x));
  dst.SetSize(4, 3);
  src.DrawTo(&dst, Rect(0, 0, 4, 3), Rect(0, 0, 10, 1));
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(dst.Pixel(0, y) & 0xFF, 0u);
    EXPECT_EQ(dst.Pixel(1, y) & 0xFF, 3u);
    EXPECT_EQ(dst.Pixel(2, y) & 0xFF, 6u);
    EXPECT_EQ(dst.Pixel(3, y) & 0xFF, 9u);
  }
  // One destination column takes the middle of the source.
  TspBitmap one;
  one.SetSize(1, 1);
  src.DrawTo(&one, Rect(0, 0, 1, 1), Rect(0, 0, 10, 1));
  EXPECT_EQ(one.Pixel(0, 0) & 0xFF, 4u);
  // A source rectangle outside the bitmap draws nothing.
  TspBitmap untouched;
  untouched.SetSize(2, 2);
  src.DrawTo(&untouched, Rect(0, 0, 2, 2), Rect(5, 0, 11, 1));
  EXPECT_EQ(untouched.Pixel(0, 0), 0u);
}

TEST(spEffBmp, KeyColourIsLeftOut) {
  TspBitmap src, dst;
  src.SetSize(2, 1);
  src.SetPixel(0, 0, spTransparentKey);
  src.SetPixel(1, 0, 0x00112233);
  src.SetTransparent(true);
  dst.SetSize(2, 1);
  dst.SetPixel(0, 0, 0xFFABCDEF);
  src.Draw(dst.DC(), 0, 0);
  EXPECT_EQ(dst.Pixel(0, 0), 0xFFABCDEFu);
  EXPECT_EQ(dst.Pixel(1, 0), 0xFF112233u);
}

TEST(spEffBmp, AssignFromAPlatformBitmapIsOpaque) {
  TBitmap bmp;
  Fill(bmp, 3, 2, [](int x, int y) { return uint32_t(x + 10 * y); });
  TspBitmap b;
  b.Assign(&bmp);
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(b.Pixel(2, 1), 0xFF00000Cu);
  TBitmap back;
  b.AssignTo(&back);
  EXPECT_EQ(back.Width(), 3);
  EXPECT_EQ(reinterpret_cast<uint32_t*>(back.ScanLine(1))[2] & 0xFFFFFF, 12u);
}

// ---- transitions

namespace {

struct TPair {
  TBitmap SelfBmp, OtherBmp;
  std::unique_ptr<TspEffectBmp> Self, Other;
  TPair(int W, int H, uint32_t SelfColour, uint32_t OtherColour) {
    Fill(SelfBmp, W, H, [&](int, int) { return SelfColour; });
    Fill(OtherBmp, W, H, [&](int, int) { return OtherColour; });
    Self = std::make_unique<TspEffectBmp>(SelfBmp.Handle());
    Other = std::make_unique<TspEffectBmp>(OtherBmp.Handle());
  }
  int Blue(int x, int y = 0) const { return int(Self->Pixel(x, y) & 0xFF); }
};

}  // namespace

TEST(spEffBmp, EffectBitmapIs24BitWithAlignedRows) {
  TPair p(5, 2, 0x0A0B0C, 0);
  EXPECT_EQ(p.Self->Stride(), 5 * 3 + 1);
  EXPECT_EQ(p.Self->Pixel(4, 1), 0x0A0B0Cu);
}

TEST(spEffBmp, MorphHalfRoundsTiesToEven) {
  TPair p(2, 2, 0x000000, 0xFFFFFF);
  p.Self->Morph(p.Other.get(), 0.5);
  EXPECT_EQ(p.Self->Pixel(1, 1), 0x808080u);
  TPair q(2, 2, 0x000000, 0xFFFFFF);
  q.Self->Morph(q.Other.get(), std::nan(""));
  EXPECT_EQ(q.Self->Pixel(0, 0), 0u);
}

TEST(spEffBmp, GradientMorphHorizontal) {
  TPair full(10, 5, 0x000000, 0x0000FF);
  full.Self->GradientMorph(full.Other.get(), 1);
  for (int x = 0; x < 10; ++x) EXPECT_EQ(full.Blue(x, 2), 255) << x;
  TPair none(10, 5, 0x000000, 0x0000FF);
  none.Self->GradientMorph(none.Other.get(), 0);
  const int expected[] = {0, 51, 102, 153, 204, 255};  // columns 0..5: back to self in 0.2 steps
  for (int x = 0; x <= 5; ++x) EXPECT_EQ(none.Blue(x), expected[x]) << x;
}

TEST(spEffBmp, SlideAndPushMorphs) {
  // Self columns carry their index in blue, Other columns 100 + index.
  auto make = [](TBitmap& s, TBitmap& o) {
    Fill(s, 6, 1, [](int x, int) { return uint32_t(x); });
    Fill(o, 6, 1, [](int x, int) { return uint32_t(100 + x); });
  };
  struct TCase {
    const char* Name;
    void (TspEffectBmp::*Op)(TspEffectBmp*, double);
    double K;
    int Expected[6];
  } cases[] = {
      {"push 0", &TspEffectBmp::PushMorph, 0, {105, 0, 1, 2, 3, 4}},
      {"push 1/3", &TspEffectBmp::PushMorph, 1.0 / 3, {103, 104, 105, 0, 1, 2}},
      {"left slide 1/3", &TspEffectBmp::LeftSlideMorph, 1.0 / 3, {104, 105, 2, 3, 4, 5}},
      {"right slide 1/3", &TspEffectBmp::RightSlideMorph, 1.0 / 3, {0, 1, 2, 3, 100, 101}},
      {"left slide 0 moves one column", &TspEffectBmp::LeftSlideMorph, 0, {105, 1, 2, 3, 4, 5}},
  };
  for (const auto& c : cases) {
    TBitmap s, o;
    make(s, o);
    TspEffectBmp self(s.Handle()), other(o.Handle());
    (self.*c.Op)(&other, c.K);
    for (int x = 0; x < 6; ++x) EXPECT_EQ(int(self.Pixel(x, 0) & 0xFF), c.Expected[x]) << c.Name << " " << x;
  }
}

TEST(spEffBmp, EdgeGradientsEndOnOtherAndSelf) {
  TPair left(5, 1, 0x000000, 0x0000FF);
  left.Self->LeftGradientMorph(left.Other.get(), 0.5);  // a = 2: columns 0..2
  EXPECT_EQ(left.Blue(0), 255);
  EXPECT_EQ(left.Blue(1), 128);
  EXPECT_EQ(left.Blue(2), 0);
  TPair right(4, 1, 0x000000, 0x0000FF);
  right.Self->RightGradientMorph(right.Other.get(), 0.5);  // b = 2, step 1/2
  EXPECT_EQ(right.Blue(3), 255);
  EXPECT_EQ(right.Blue(2), 128);
  EXPECT_EQ(right.Blue(1), 0);
}

TEST(spEffBmp, DifferentSizesChangeNothingAndLightenClamps) {
  TPair a(3, 3, 0x102030, 0xFFFFFF);
  TPair b(4, 3, 0, 0);
  a.Self->Morph(b.Self.get(), 1);
  a.Self->PushMorph(b.Self.get(), 1);
  EXPECT_EQ(a.Self->Pixel(0, 0), 0x102030u);
  a.Self->Lighten(0.5);
  EXPECT_EQ(a.Self->Pixel(2, 2), 0x889098u);  // (c + 255) / 2, ties to even
  a.Self->Lighten(7);
  EXPECT_EQ(a.Self->Pixel(2, 2), 0xFFFFFFu);
}

TEST(spEffBmp, DrawPutsThePixelsOnADeviceContext) {
  TPair p(3, 2, 0x123456, 0);
  TBitmap target;
  target.SetSize(5, 5);
  p.Self->Draw(target.Canvas()->Handle(), 1, 2);
  EXPECT_EQ(reinterpret_cast<uint32_t*>(target.ScanLine(3))[3] & 0xFFFFFF, 0x123456u);
  EXPECT_EQ(reinterpret_cast<uint32_t*>(target.ScanLine(1))[1] & 0xFFFFFF, 0xFFFFFFu);
}
