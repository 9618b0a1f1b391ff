#include "controls/spEffBmp.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/rtl/SysUtils.h"
#include "platform/sys/Modules.h"

namespace {

TspBlendVariant gBlendVariant = TspBlendVariant::Word;

std::vector<TspBitmap*>& Registry() {
  static std::vector<TspBitmap*> list;
  return list;
}

inline int RoundEven(double v) { return int(std::nearbyint(v)); }
inline uint8_t Clamp8(double v) {
  int r = RoundEven(v);
  return uint8_t(std::clamp(r, 0, 255));
}
inline double ClampK(double K) {
  if (std::isnan(K)) return 0;
  return std::clamp(K, 0.0, 1.0);
}

}  // namespace

void spSetBlendVariant(TspBlendVariant Variant) { gBlendVariant = Variant; }
TspBlendVariant spBlendVariant() { return gBlendVariant; }

TspColor spBlendPixel(TspColor S, TspColor D, TspBlendVariant Variant) {
  unsigned a = S >> 24;
  if (a == 0) return D;
  if (a == 255) return S;
  TspColor r = 0;
  if (Variant == TspBlendVariant::Portable) {
    for (int shift = 0; shift < 24; shift += 8) {
      unsigned s = (S >> shift) & 0xFF, d = (D >> shift) & 0xFF;
      r |= ((s * a + d * (255 - a)) >> 8) << shift;
    }
    return r | 0xFF000000u;
  }
  // Word arithmetic on all four bytes: (D * (256 - A) + S * A) >> 8 never leaves 0..255.
  for (int shift = 0; shift < 32; shift += 8) {
    unsigned s = (S >> shift) & 0xFF, d = (D >> shift) & 0xFF;
    r |= ((d * (256 - a) + s * a) >> 8) << shift;
  }
  return r;
}

void spBlendLine(const TspColor* Source, TspColor* Dest, int Count, TspBlendVariant Variant) {
  for (int i = 0; i < Count; ++i) Dest[i] = spBlendPixel(Source[i], Dest[i], Variant);
}

void spKeyCopyLine(const TspColor* Source, TspColor* Dest, int Count) {
  for (int i = 0; i < Count; ++i)
    if ((Source[i] & 0xFFFFFF) != spTransparentKey) Dest[i] = Source[i] | 0xFF000000u;
}

// ---- TspBitmap

TspBitmap::TspBitmap() = default;

TspBitmap::~TspBitmap() {
  Release();
  FCanvas.reset();
}

void TspBitmap::Release() {
  auto& reg = Registry();
  reg.erase(std::remove(reg.begin(), reg.end(), this), reg.end());
  if (FDC) {
    if (FOldBitmap) SelectObject(FDC, FOldBitmap);
    DeleteDC(FDC);
  }
  if (FDIB) DeleteObject(FDIB);
  FDC = nullptr;
  FDIB = nullptr;
  FOldBitmap = nullptr;
  FBits = nullptr;
  FWidth = FHeight = 0;
}

void TspBitmap::SetSize(int W, int H) {
  W = std::abs(W);
  H = std::abs(H);
  if (W == 0 || H == 0 || (W == FWidth && H == FHeight)) return;
  Release();
  BITMAPINFO info{};
  info.bmiHeader.biWidth = W;
  info.bmiHeader.biHeight = -H;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) throw Exception("Can't allocate the DIB handle");
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) {
    DeleteObject(dib);
    throw Exception("Can't create compatible DC");
  }
  HGDIOBJ old = SelectObject(dc, dib);
  if (!old) {
    DeleteDC(dc);
    DeleteObject(dib);
    throw Exception("Can't bslect an object into DC");
  }
  FDIB = dib;
  FDC = dc;
  FOldBitmap = old;
  FBits = static_cast<TspColor*>(bits);
  FWidth = W;
  FHeight = H;
  Registry().push_back(this);
  if (FCanvas) FCanvas->SetHandle(FDC);
}

TspColor TspBitmap::Pixel(int X, int Y) const {
  if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
  return *PixelAddress(X, Y);
}

void TspBitmap::SetPixel(int X, int Y, TspColor Value) {
  if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  *PixelAddress(X, Y) = Value;
}

void TspBitmap::SetAlpha(uint8_t A) {
  if (!FBits) return;
  for (int i = 0, n = FWidth * FHeight; i < n; ++i) FBits[i] = (FBits[i] & 0xFFFFFF) | (TspColor(A) << 24);
}

void TspBitmap::CheckAlpha() {
  FAlphaBlend = false;
  if (!FBits) return;
  for (int i = 0, n = FWidth * FHeight; i < n; ++i) {
    unsigned a = FBits[i] >> 24;
    if (a != 0 && a != 255) {
      FAlphaBlend = true;
      return;
    }
  }
}

void TspBitmap::ClampToAlpha() {
  if (!FBits) return;
  for (int i = 0, n = FWidth * FHeight; i < n; ++i) {
    TspColor p = FBits[i];
    unsigned a = p >> 24;
    TspColor r = p & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) r |= std::min((p >> shift) & 0xFF, a) << shift;
    FBits[i] = r;
  }
}

void TspBitmap::Premultiply() {
  if (!FBits) return;
  for (int i = 0, n = FWidth * FHeight; i < n; ++i) {
    TspColor p = FBits[i];
    unsigned a = p >> 24;
    TspColor r = p & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
      r |= TspColor(RoundEven(a * double((p >> shift) & 0xFF) / 255.0)) << shift;
    FBits[i] = r;
  }
}

TCanvas* TspBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TCanvas>();
    if (FDC) FCanvas->SetHandle(FDC);
  }
  return FCanvas.get();
}

TspBitmap* TspBitmap::FromDC(HDC DC) {
  if (!DC) return nullptr;
  for (TspBitmap* b : Registry())
    if (b->FDC == DC) return b;
  return nullptr;
}

void TspBitmap::Draw(HDC DC, int X, int Y) {
  StretchDraw(DC, Rect(X, Y, X + FWidth, Y + FHeight), Rect(0, 0, FWidth, FHeight));
}

void TspBitmap::Draw(HDC DC, int X, int Y, const TRect& SrcRect) {
  StretchDraw(DC, SrcRect.Offset(X - SrcRect.Left, Y - SrcRect.Top), SrcRect);
}

void TspBitmap::StretchDraw(HDC DC, const TRect& DestRect, const TRect& SrcRect) {
  if (!FBits || !DC) return;
  if (TspBitmap* target = FromDC(DC)) {
    POINT org{};
    GetWindowOrgEx(DC, &org);
    DrawTo(target, DestRect.Offset(-org.x, -org.y), SrcRect);
    return;
  }
  if (FAlphaBlend || FTransparent) {
    // No system key-colour blit is bound here, so keyed pictures take the software path too.
    int w = DestRect.Width(), h = DestRect.Height();
    if (w <= 0 || h <= 0) return;
    TspBitmap temp;
    temp.SetSize(w, h);
    BitBlt(temp.DC(), 0, 0, w, h, DC, DestRect.Left, DestRect.Top, SRCCOPY);
    DrawTo(&temp, Rect(0, 0, w, h), SrcRect);
    BitBlt(DC, DestRect.Left, DestRect.Top, w, h, temp.DC(), 0, 0, SRCCOPY);
    return;
  }
  SetStretchBltMode(DC, COLORONCOLOR);
  StretchBlt(DC, DestRect.Left, DestRect.Top, DestRect.Width(), DestRect.Height(), FDC, SrcRect.Left,
             SrcRect.Top, SrcRect.Width(), SrcRect.Height(), SRCCOPY);
}

void TspBitmap::DrawTo(TspBitmap* Dest, const TRect& DestRect, const TRect& SrcRect) {
  if (!Dest || !Dest->FBits || !FBits) return;
  enum { Copy, Key, Blend } op = FAlphaBlend ? Blend : FTransparent ? Key : Copy;
  TRect d;
  IntersectRect(d, DestRect, Rect(0, 0, Dest->FWidth, Dest->FHeight));
  if (SrcRect.IsEmpty() || d.IsEmpty()) return;
  if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > FWidth || SrcRect.Bottom > FHeight) return;
  TspBlendVariant variant = gBlendVariant;
  auto line = [&](const TspColor* s, TspColor* t, int n) {
    switch (op) {
      case Copy:
        if (s != t) std::memmove(t, s, size_t(n) * 4);
        break;
      case Key:
        spKeyCopyLine(s, t, n);
        break;
      case Blend:
        spBlendLine(s, t, n, variant);
        break;
    }
  };
  int dw = DestRect.Width(), dh = DestRect.Height();
  int sw = SrcRect.Width(), sh = SrcRect.Height();
  if (dw == sw && dh == sh) {
    int sx = SrcRect.Left + d.Left - DestRect.Left, sy = SrcRect.Top + d.Top - DestRect.Top;
    for (int y = d.Top; y < d.Bottom; ++y)
      line(PixelAddress(sx, sy + y - d.Top), Dest->PixelAddress(d.Left, y), d.Width());
    return;
  }
  // Nearest neighbour with the end pixels of source and destination aligned.
  auto mapAxis = [](int x, int destStart, int destLen, int srcStart, int srcEnd) {
    if (destLen < 2) return (srcStart + srcEnd - 1) / 2;
    return RoundEven(double(x - destStart) * (srcEnd - srcStart - 1) / (destLen - 1) + srcStart);
  };
  std::vector<int> columns(size_t(d.Width()));
  for (int x = d.Left; x < d.Right; ++x)
    columns[size_t(x - d.Left)] = mapAxis(x, DestRect.Left, dw, SrcRect.Left, SrcRect.Right);
  std::vector<TspColor> sampled(size_t(d.Width()));
  int lastRow = -1;
  TspColor* lastDest = nullptr;
  for (int y = d.Top; y < d.Bottom; ++y) {
    int sy = mapAxis(y, DestRect.Top, dh, SrcRect.Top, SrcRect.Bottom);
    TspColor* t = Dest->PixelAddress(d.Left, y);
    if (op == Copy && sy == lastRow && lastDest) {
      std::memcpy(t, lastDest, sampled.size() * 4);
    } else {
      if (sy != lastRow) {
        const TspColor* s = ScanLine(sy);
        for (size_t i = 0; i < columns.size(); ++i) sampled[i] = s[columns[i]];
      }
      line(sampled.data(), t, d.Width());
    }
    lastRow = sy;
    lastDest = t;
  }
}

void TspBitmap::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TspBitmap*>(Source)) {
    if (b == this) return;
    if (b->Empty()) {
      Release();
    } else {
      SetSize(b->FWidth, b->FHeight);
      std::memcpy(FBits, b->FBits, size_t(FWidth) * FHeight * 4);
    }
    FName = b->FName;
    FTransparent = b->FTransparent;
    FAlphaBlend = b->FAlphaBlend;
    return;
  }
  if (auto* bmp = dynamic_cast<TBitmap*>(Source)) {
    if (bmp->Width() <= 0 || bmp->Height() <= 0) {
      Release();
      return;
    }
    SetSize(bmp->Width(), bmp->Height());
    for (int y = 0; y < FHeight; ++y) std::memcpy(ScanLine(y), bmp->ScanLine(y), size_t(FWidth) * 4);
    if (bmp->PixelFormat() == pf32bit) {
      CheckAlpha();
    } else {
      SetAlpha(255);
    }
    return;
  }
  TPersistent::Assign(Source);
}

void TspBitmap::AssignTo(TPersistent* Dest) {
  if (auto* bmp = dynamic_cast<TBitmap*>(Dest)) {
    bmp->SetPixelFormat(pf32bit);
    bmp->SetSize(FWidth, FHeight);
    if (FBits) Draw(bmp->Canvas()->Handle(), 0, 0);
    return;
  }
  TPersistent::AssignTo(Dest);
}

void spAlphaFromMask(TspBitmap* Target, TspBitmap* Mask) {
  if (!Target || !Mask || Target->Empty() || Mask->Empty()) return;
  if (Mask->Width() < Target->Width() || Mask->Height() < Target->Height()) return;
  for (int y = 0; y < Target->Height(); ++y) {
    TspColor* t = Target->ScanLine(y);
    const TspColor* m = Mask->ScanLine(y);
    for (int x = 0; x < Target->Width(); ++x) {
      TspColor p = m[x];
      int grey = RoundEven(((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) / 3.0);
      t[x] = (t[x] & 0xFFFFFF) | (TspColor(grey) << 24);
    }
  }
}

void spAlphaFromMaskPremultiplied(TspBitmap* Target, TspBitmap* Mask) {
  spAlphaFromMask(Target, Mask);
  if (Target) Target->Premultiply();
}

// ---- TspEffectBmp

TspEffectBmp::TspEffectBmp(HBITMAP Bitmap) {
  BITMAP bm{};
  if (!Bitmap || !GetObject(Bitmap, sizeof(bm), &bm)) return;
  FWidth = bm.bmWidth;
  FHeight = bm.bmHeight;
  if (FWidth <= 0 || FHeight <= 0) {
    FWidth = FHeight = 0;
    return;
  }
  FStride = FWidth * 3 + FWidth % 4;
  FInfo.bmiHeader.biWidth = FWidth;
  FInfo.bmiHeader.biHeight = -FHeight;
  FInfo.bmiHeader.biBitCount = 24;
  FInfo.bmiHeader.biSizeImage = DWORD(FStride * FHeight);
  void* bits = nullptr;
  FDIB = CreateDIBSection(nullptr, &FInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
  FBits = static_cast<uint8_t*>(bits);
  if (!FBits) {
    FWidth = FHeight = 0;
    return;
  }
  HDC screen = CreateCompatibleDC(nullptr);
  GetDIBits(screen, Bitmap, 0, UINT(FHeight), FBits, &FInfo, DIB_RGB_COLORS);
  DeleteDC(screen);
}

TspEffectBmp::~TspEffectBmp() {
  if (FDIB) DeleteObject(FDIB);
}

void TspEffectBmp::Draw(HDC DC, int X, int Y) {
  if (!FBits) return;
  SetDIBitsToDevice(DC, X, Y, DWORD(FWidth), DWORD(FHeight), 0, 0, 0, UINT(FHeight), FBits, &FInfo,
                    DIB_RGB_COLORS);
}

void TspEffectBmp::GetRow(int Row, uint8_t* Buffer) const {
  std::memcpy(Buffer, FBits + size_t(Row) * FStride, size_t(FWidth) * 3);
}

void TspEffectBmp::SetRow(int Row, const uint8_t* Buffer) {
  std::memcpy(FBits + size_t(Row) * FStride, Buffer, size_t(FWidth) * 3);
}

uint32_t TspEffectBmp::Pixel(int X, int Y) const {
  const uint8_t* p = FBits + size_t(Y) * FStride + size_t(X) * 3;
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
}

bool TspEffectBmp::SameSize(const TspEffectBmp* Other) const {
  return Other && FBits && Other->FBits && Other->FWidth == FWidth && Other->FHeight == FHeight;
}

void TspEffectBmp::Morph(TspEffectBmp* Other, double K) {
  if (!SameSize(Other)) return;
  K = ClampK(K);
  for (int y = 0; y < FHeight; ++y) {
    uint8_t* s = FBits + size_t(y) * FStride;
    const uint8_t* o = Other->FBits + size_t(y) * FStride;
    for (int i = 0; i < FWidth * 3; ++i) s[i] = Clamp8((1 - K) * s[i] + K * o[i]);
  }
}

// Column (or row) blended: weight W of self, 1 - W of Other.
void TspEffectBmp::BlendColumns(TspEffectBmp* Other, int Column, double W) {
  for (int y = 0; y < FHeight; ++y) {
    uint8_t* s = FBits + size_t(y) * FStride + size_t(Column) * 3;
    const uint8_t* o = Other->FBits + size_t(y) * FStride + size_t(Column) * 3;
    for (int c = 0; c < 3; ++c) s[c] = Clamp8(W * s[c] + (1 - W) * o[c]);
  }
}

void TspEffectBmp::BlendRows(TspEffectBmp* Other, int Row, double W) {
  uint8_t* s = FBits + size_t(Row) * FStride;
  const uint8_t* o = Other->FBits + size_t(Row) * FStride;
  for (int i = 0; i < FWidth * 3; ++i) s[i] = Clamp8(W * s[i] + (1 - W) * o[i]);
}

void TspEffectBmp::GradientMorph(TspEffectBmp* Other, double K) {
  if (!SameSize(Other)) return;
  K = ClampK(K);
  if (FWidth < FHeight) {
    int a = RoundEven(FHeight * K);
    int b = (FHeight - 1 - a) / 2;
    double step = b != 0 ? 1.0 / b : 0;
    int top = std::max(0, FHeight / 2 - a / 2), bottom = std::min(FHeight - 1, FHeight / 2 + a / 2);
    for (int y = top; y <= bottom; ++y) BlendRows(Other, y, 0);
    double w = 0;
    for (int y = top; y >= 0; --y, w = std::min(1.0, w + step)) BlendRows(Other, y, w);
    w = 0;
    for (int y = bottom; y < FHeight; ++y, w = std::min(1.0, w + step)) BlendRows(Other, y, w);
    return;
  }
  int a = RoundEven(FWidth * K);
  int b = (FWidth - a) / 2;
  double step = b != 0 ? 1.0 / b : 1;
  int left = std::max(0, FWidth / 2 - a / 2), right = std::min(FWidth - 1, FWidth / 2 + a / 2);
  for (int x = left; x <= right; ++x) BlendColumns(Other, x, 0);
  double w = 0;
  for (int x = left; x >= 0; --x, w = std::min(1.0, w + step)) BlendColumns(Other, x, w);
  w = 0;
  for (int x = right; x < FWidth; ++x, w = std::min(1.0, w + step)) BlendColumns(Other, x, w);
}

void TspEffectBmp::LeftGradientMorph(TspEffectBmp* Other, double K) {
  if (!SameSize(Other)) return;
  int a = std::min(std::max(RoundEven(FWidth * ClampK(K)), 1), FWidth - 1);
  double step = a > 0 ? 1.0 / a : 1;
  double w = 0;
  for (int x = 0; x <= a && x < FWidth; ++x, w = std::min(1.0, w + step)) BlendColumns(Other, x, w);
}

void TspEffectBmp::RightGradientMorph(TspEffectBmp* Other, double K) {
  if (!SameSize(Other)) return;
  int b = std::min(std::max(FWidth - RoundEven(FWidth * ClampK(K)), 0), FWidth - 1);
  double step = FWidth - b > 0 ? 1.0 / (FWidth - b) : 1;
  double w = 0;
  for (int x = FWidth - 1; x >= b; --x, w = std::min(1.0, w + step)) BlendColumns(Other, x, w);
}

void TspEffectBmp::LeftSlideMorph(TspEffectBmp* Other, double K) {
  if (!SameSize(Other) || FWidth < 2) return;
  int a = std::min(std::max(RoundEven(FWidth * ClampK(K)), 1), FWidth - 1);
  for (int y = 0; y < FHeight; ++y)
    std::memcpy(FBits + size_t(y) * FStride, Other->FBits + size_t(y) * FStride + size_t(FWidth - a) * 3,
                size_t(a) * 3);
}

void TspEffectBmp::RightSlideMorph(TspEffectBmp* Other, double K) {
  if (!SameSize(Other) || FWidth < 2) return;
  int a = std::min(std::max(RoundEven(FWidth * ClampK(K)), 1), FWidth - 1);
  for (int y = 0; y < FHeight; ++y)
    std::memcpy(FBits + size_t(y) * FStride + size_t(FWidth - a) * 3, Other->FBits + size_t(y) * FStride,
                size_t(a) * 3);
}

void TspEffectBmp::PushMorph(TspEffectBmp* Other, double K) {
  if (!SameSize(Other)) return;
  int a = std::min(std::max(RoundEven(FWidth * ClampK(K)), 0), FWidth - 1);
  std::vector<uint8_t> row(size_t(FWidth) * 3);
  for (int y = 0; y < FHeight; ++y) {
    uint8_t* s = FBits + size_t(y) * FStride;
    std::memcpy(row.data(), s, row.size());
    for (int j = FWidth - 1; j > a; --j) std::memcpy(s + size_t(j) * 3, row.data() + size_t(j - a - 1) * 3, 3);
    std::memcpy(s, Other->FBits + size_t(y) * FStride + size_t(FWidth - a - 1) * 3, size_t(a + 1) * 3);
  }
}

void TspEffectBmp::MorphByKind(int Kind, TspEffectBmp* Other, double K) {
  switch (Kind) {
    case 1: GradientMorph(Other, K); break;
    case 2: LeftGradientMorph(Other, K); break;
    case 3: RightGradientMorph(Other, K); break;
    case 4: LeftSlideMorph(Other, K); break;
    case 5: RightSlideMorph(Other, K); break;
    case 6: PushMorph(Other, K); break;
    default: Morph(Other, K); break;
  }
}

void TspEffectBmp::Lighten(double K) {
  if (!FBits) return;
  K = ClampK(K);
  for (int y = 0; y < FHeight; ++y) {
    uint8_t* s = FBits + size_t(y) * FStride;
    for (int i = 0; i < FWidth * 3; ++i) s[i] = Clamp8((1 - K) * s[i] + K * 255);
  }
}
