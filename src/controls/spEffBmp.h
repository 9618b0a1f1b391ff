#pragma once
// The skin library's raw pixel buffers: TspBitmap, a 32-bit top-down DIB section with its own
// memory DC (pictures with per-pixel alpha or a key colour), and TspEffectBmp, a 24-bit DIB used
// for the animated transitions between control faces.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/gui/Pictures.h"
#include "platform/win/Gdi.h"
#include "platform/win/Types.h"

// 0xAARRGGBB as it lies in memory (bytes B, G, R, A).
using TspColor = uint32_t;
// RGB (127, 0, 127): pixels of this colour are left out when a bitmap is Transparent.
constexpr TspColor spTransparentKey = 0x007F007F;

// The two blend formulas of a line of pixels. Every build blends with the word formula
// (the same pixels on every processor); the byte formula is kept for callers that ask for it.
enum class TspBlendVariant { Portable, Word };
void spSetBlendVariant(TspBlendVariant Variant);
TspBlendVariant spBlendVariant();
// One pixel of Source (its alpha A) over Dest: 0 leaves Dest, 255 gives Source.
TspColor spBlendPixel(TspColor Source, TspColor Dest, TspBlendVariant Variant);
void spBlendLine(const TspColor* Source, TspColor* Dest, int Count, TspBlendVariant Variant);
void spKeyCopyLine(const TspColor* Source, TspColor* Dest, int Count);

class TspBitmap : public TPersistent {
 public:
  TspBitmap();
  ~TspBitmap() override;
  TspBitmap(const TspBitmap&) = delete;
  TspBitmap& operator=(const TspBitmap&) = delete;

  TspColor* Bits() const { return FBits; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FBits == nullptr; }
  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value) { FName = Value; }
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  HDC DC() const { return FDC; }

  // Negative sizes count as their absolute value; 0 or the current size changes nothing.
  // A new bitmap starts with every byte 0.
  void SetSize(int W, int H);
  TspColor* PixelAddress(int X, int Y) const { return FBits + X + Y * FWidth; }
  TspColor* ScanLine(int Y) const { return FBits + Y * FWidth; }
  TspColor Pixel(int X, int Y) const;
  void SetPixel(int X, int Y, TspColor Value);
  void SetAlpha(uint8_t A);
  void CheckAlpha();
  void ClampToAlpha();
  void Premultiply();
  TCanvas* Canvas();

  void Draw(HDC DC, int X, int Y);
  void Draw(HDC DC, int X, int Y, const TRect& SrcRect);
  void DrawOnCanvas(TCanvas* Canvas, int X, int Y) { Draw(Canvas->Handle(), X, Y); }
  void StretchDraw(HDC DC, const TRect& DestRect, const TRect& SrcRect);
  void DrawTo(TspBitmap* Dest, const TRect& DestRect, const TRect& SrcRect);

  // From another TspBitmap or a platform bitmap (its pixels, opaque).
  void Assign(TPersistent* Source) override;
  void AssignTo(TPersistent* Dest) override;

  // The registered bitmap whose memory DC this is, or null.
  static TspBitmap* FromDC(HDC DC);

 private:
  void Release();
  TspColor* FBits = nullptr;
  int FWidth = 0, FHeight = 0;
  std::string FName;
  HBITMAP FDIB = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
  HDC FDC = nullptr;
  std::unique_ptr<TCanvas> FCanvas;
  bool FAlphaBlend = false;
  bool FTransparent = false;
};

// Target's alpha from the grey level of Mask (rounded mean of red, green and blue); the second
// form then premultiplies the target. Mask must be at least as large as Target.
void spAlphaFromMask(TspBitmap* Target, TspBitmap* Mask);
void spAlphaFromMaskPremultiplied(TspBitmap* Target, TspBitmap* Mask);

class TspEffectBmp {
 public:
  // A 24-bit copy of a device bitmap.
  explicit TspEffectBmp(HBITMAP Bitmap);
  ~TspEffectBmp();
  TspEffectBmp(const TspEffectBmp&) = delete;
  TspEffectBmp& operator=(const TspEffectBmp&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Stride() const { return FStride; }
  uint8_t* Bits() const { return FBits; }
  void Draw(HDC DC, int X, int Y);
  void GetRow(int Row, uint8_t* Buffer) const;
  void SetRow(int Row, const uint8_t* Buffer);
  // Pixel (X, Y) as 0x00RRGGBB.
  uint32_t Pixel(int X, int Y) const;

  // Transitions toward Other (same size, else nothing) by K in 0..1; self changes in place.
  void Morph(TspEffectBmp* Other, double K);
  void GradientMorph(TspEffectBmp* Other, double K);
  void LeftGradientMorph(TspEffectBmp* Other, double K);
  void RightGradientMorph(TspEffectBmp* Other, double K);
  void LeftSlideMorph(TspEffectBmp* Other, double K);
  void RightSlideMorph(TspEffectBmp* Other, double K);
  void PushMorph(TspEffectBmp* Other, double K);
  // Runs the transition of a morph kind (0 to 6, in the order above).
  void MorphByKind(int Kind, TspEffectBmp* Other, double K);
  void Lighten(double K);

 private:
  bool SameSize(const TspEffectBmp* Other) const;
  void BlendColumns(TspEffectBmp* Other, int Column, double W);
  void BlendRows(TspEffectBmp* Other, int Row, double W);
  int FWidth = 0, FHeight = 0, FStride = 0;
  uint8_t* FBits = nullptr;
  BITMAPINFO FInfo{};
  HBITMAP FDIB = nullptr;
};
