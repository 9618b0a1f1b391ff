#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/rtl/SysUtils.h"
#include "platform/win/DeviceContext.h"
#include "suite/core/cxGraphics.h"

TcxCustomDrawImageProc cxCustomDrawImageProc = nullptr;

namespace {

uint32_t Bgr(TColor c) {
  uint32_t v = uint32_t(ColorToRGB(c)) & 0xFFFFFF;
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

float Sinc(float X) {
  if (X == 0.0f) return 1.0f;
  const float p = std::numbers::pi_v<float> * X;
  return std::sin(p) / p;
}

float PassScale(int S, int D) {
  if (S == 1 || D == 1) return float(D) / float(S);
  return float(D - 1) / float(S - 1);
}

// One separable pass over rows of 32-bit pixels: Count lines, each read with a stride.
void ResamplePass(const uint32_t* Src, int SrcStep, int SrcLineStep, uint32_t* Dst, int DstStep, int DstLineStep,
                  int Lines, const std::vector<std::vector<TcxResampleContributor>>& Contributors) {
  for (int line = 0; line < Lines; ++line) {
    const uint32_t* s = Src + size_t(line) * size_t(SrcLineStep);
    uint32_t* d = Dst + size_t(line) * size_t(DstLineStep);
    for (size_t i = 0; i < Contributors.size(); ++i) {
      int sum[4] = {0, 0, 0, 0};
      for (const TcxResampleContributor& c : Contributors[i]) {
        const uint32_t p = s[size_t(c.Index) * size_t(SrcStep)];
        for (int ch = 0; ch < 4; ++ch) sum[ch] += c.Weight * int((p >> (8 * ch)) & 0xFF);
      }
      uint32_t out = 0;
      for (int ch = 0; ch < 4; ++ch) out |= uint32_t(std::clamp(sum[ch] < 0 ? 0 : sum[ch] >> 8, 0, 255)) << (8 * ch);
      d[i * size_t(DstStep)] = out;
    }
  }
}

QImage Argb(TBitmap* b) { return b->ToImage().convertToFormat(QImage::Format_ARGB32); }

void PutPixels(TBitmap* b, const QImage& img) {
  if (auto* b32 = dynamic_cast<TcxBitmap32*>(b)) {
    std::vector<uint32_t> c(size_t(img.width()) * size_t(img.height()));
    for (int y = 0; y < img.height(); ++y)
      std::memcpy(&c[size_t(img.height() - 1 - y) * size_t(img.width())], img.constScanLine(y), size_t(img.width()) * 4);
    b32->SetColors(c);
  } else {
    b->SetImage(img);
  }
}

}  // namespace

float LanczosKernel(float X) {
  if (std::fabs(X) >= 3.0f) return 0.0f;
  return Sinc(X) * Sinc(X / 3.0f);
}

std::vector<std::vector<TcxResampleContributor>> CalculateResampleContributors(int SourceSize, int DestSize) {
  std::vector<std::vector<TcxResampleContributor>> result(size_t(std::max(0, DestSize)));
  if (SourceSize <= 0 || DestSize <= 0) return result;
  const float s = PassScale(SourceSize, DestSize);
  const float w = s >= 1.0f ? 1.0f : 1.0f / s;
  const float r = 3.0f * w;
  for (int i = 0; i < DestSize; ++i) {
    const float c = float(i) / s;
    for (int j = int(std::floor(c - r)); j <= int(std::ceil(c + r)); ++j) {
      const int weight = int(std::nearbyint(LanczosKernel((c - float(j)) / w) / w * 256.0f));
      if (weight == 0) continue;
      int k = j;
      if (k < 0) k = -k;
      else if (k >= SourceSize) k = 2 * SourceSize - 1 - k;
      // Narrow sources mirror past their other edge: keep the index inside.
      k = std::clamp(k, 0, SourceSize - 1);
      result[size_t(i)].push_back({k, weight});
    }
  }
  return result;
}

void ResampleBitmap(TBitmap* Source, TBitmap* Dest, bool HighQuality) {
  if (!Source || !Dest || Source->Empty() || Dest->Empty()) return;
  if (!HighQuality) {
    HDC dc = Dest->Canvas()->Handle();
    const int old = SetStretchBltMode(dc, HALFTONE);
    StretchBlt(dc, 0, 0, Dest->Width(), Dest->Height(), Source->Canvas()->Handle(), 0, 0, Source->Width(),
               Source->Height(), SRCCOPY);
    SetStretchBltMode(dc, old);
    return;
  }
  const QImage src = Argb(Source);
  const int ws = src.width(), hs = src.height(), wd = Dest->Width(), hd = Dest->Height();
  std::vector<uint32_t> temp(size_t(wd) * size_t(hs));
  ResamplePass(reinterpret_cast<const uint32_t*>(src.constBits()), 1, src.bytesPerLine() / 4, temp.data(), 1, wd,
               hs, CalculateResampleContributors(ws, wd));
  QImage out(wd, hd, QImage::Format_ARGB32);
  ResamplePass(temp.data(), wd, 1, reinterpret_cast<uint32_t*>(out.bits()), out.bytesPerLine() / 4, 1, wd,
               CalculateResampleContributors(hs, hd));
  PutPixels(Dest, out);
}

void AlphaBlendDC(HDC DestDC, HDC SourceDC, const TRect& DestRect, const TRect& SourceRect, bool Smooth,
                  uint8_t Factor) {
  const bool resample = Smooth && !RectsSameSize(DestRect, SourceRect);
  BLENDFUNCTION bf;
  bf.SourceConstantAlpha = Factor;
  bf.AlphaFormat = AC_SRC_ALPHA;
  if (!resample) {
    AlphaBlend(DestDC, DestRect.Left, DestRect.Top, DestRect.Width(), DestRect.Height(), SourceDC, SourceRect.Left,
               SourceRect.Top, SourceRect.Width(), SourceRect.Height(), bf);
    return;
  }
  if (DestRect.Width() <= 0 || DestRect.Height() <= 0 || SourceRect.Width() <= 0 || SourceRect.Height() <= 0) return;
  TcxBitmap32 source(SourceRect.Width(), SourceRect.Height(), true);
  BitBlt(source.Canvas()->Handle(), 0, 0, SourceRect.Width(), SourceRect.Height(), SourceDC, SourceRect.Left,
         SourceRect.Top, SRCCOPY);
  TcxBitmap32 dest(DestRect.Width(), DestRect.Height(), true);
  BitBlt(dest.Canvas()->Handle(), 0, 0, DestRect.Width(), DestRect.Height(), DestDC, DestRect.Left, DestRect.Top,
         SRCCOPY);
  TcxBitmap32 scaled(DestRect.Width(), DestRect.Height(), true);
  ResampleBitmap(&source, &scaled, true);
  AlphaBlend(dest.Canvas()->Handle(), 0, 0, DestRect.Width(), DestRect.Height(), scaled.Canvas()->Handle(), 0, 0,
             DestRect.Width(), DestRect.Height(), bf);
  BitBlt(DestDC, DestRect.Left, DestRect.Top, DestRect.Width(), DestRect.Height(), dest.Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

void AlphaBlendBitmap(TBitmap* Dest, TBitmap* Source, const TRect& DestRect, bool Smooth, uint8_t Factor) {
  AlphaBlendDC(Dest->Canvas()->Handle(), Source->Canvas()->Handle(), DestRect,
               TRect(0, 0, Source->Width(), Source->Height()), Smooth, Factor);
}

void DrawBitmapOnDC(HDC DC, TBitmap* Bitmap, const TRect& DestRect, TPoint SourceTopLeft, DWORD Rop) {
  if (!Bitmap || Bitmap->Empty()) return;
  if (Bitmap->PixelFormat() != pf32bit && GetDeviceCaps(DC, BITSPIXEL) == 32) {
    // A 32-bit target reads alpha: a shallower bitmap goes through a copy with cleared alpha.
    TcxAlphaBitmap copy(Bitmap->Width(), Bitmap->Height());
    copy.CopyBitmap(Bitmap);
    copy.RunPixelOperation(poMakeTransparent);
    BitBltRect(DC, copy.Canvas()->Handle(), DestRect, SourceTopLeft, Rop);
    return;
  }
  BitBltRect(DC, Bitmap->Canvas()->Handle(), DestRect, SourceTopLeft, Rop);
}

void AddDropShadow(TcxAlphaBitmap* Bitmap, TcxAlphaBitmap* Mask, int Size, TColor Color, bool Resize) {
  const int w = Bitmap->Width(), h = Bitmap->Height();
  if (Size <= 0 || w <= 0 || h <= 0) return;
  std::vector<uint32_t> image, mask;
  Bitmap->GetColors(image);
  Mask->GetColors(mask);
  // Rows are bottom-up: row r of the arrays is line h - 1 - r from the top.
  auto opaque = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= w || y >= h) return false;
    return (mask[size_t(h - 1 - y) * size_t(w) + size_t(x)] & 0xFFFFFF) == 0;
  };
  const int ow = w + Size, oh = h + Size;
  const uint32_t shadow = 0xFF000000u | Bgr(Color);
  std::vector<uint32_t> out(size_t(ow) * size_t(oh), 0);
  for (int y = 0; y < oh; ++y)
    for (int x = 0; x < ow; ++x) {
      uint32_t p = (x < w && y < h) ? image[size_t(h - 1 - y) * size_t(w) + size_t(x)] : 0u;
      if (!opaque(x, y) && opaque(x - Size, y - Size)) p |= shadow;
      out[size_t(oh - 1 - y) * size_t(ow) + size_t(x)] = p;
    }
  if (Resize) {
    Bitmap->SetSize(ow, oh);
    Bitmap->SetColors(out);
    return;
  }
  std::vector<uint32_t> cut(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    std::memcpy(&cut[size_t(h - 1 - y) * size_t(w)], &out[size_t(oh - 1 - y) * size_t(ow)], size_t(w) * 4);
  Bitmap->SetColors(cut);
}

namespace {

struct TWorkBitmaps {
  std::unique_ptr<TcxAlphaBitmap> Draw, Image, Mask;
};
TWorkBitmaps& Work() {
  static TWorkBitmaps w;
  if (!w.Draw) {
    w.Draw = std::make_unique<TcxAlphaBitmap>(0, 0);
    w.Image = std::make_unique<TcxAlphaBitmap>(0, 0);
    w.Mask = std::make_unique<TcxAlphaBitmap>(0, 0);
  }
  return w;
}

bool SomeAlpha(const std::vector<uint32_t>& c) {
  return std::any_of(c.begin(), c.end(), [](uint32_t p) { return (p >> 24) != 0; });
}

// Destination AND NOT source, pixel by pixel.
void AndNot(std::vector<uint32_t>& Dest, const std::vector<uint32_t>& Source) {
  for (size_t i = 0; i < Dest.size() && i < Source.size(); ++i) Dest[i] &= ~Source[i];
}

bool PrepareImageAndMask(TBitmap* Glyph, TCustomImageList* List, int Index, TColor TransparentColor,
                         TcxAlphaBitmap* Image, TcxAlphaBitmap* Mask) {
  const bool useGlyph = Glyph && !Glyph->Empty();
  const int w = useGlyph ? Glyph->Width() : List->Width(), h = useGlyph ? Glyph->Height() : List->Height();
  ResizeAndClearAlphaBitmap(Image, w, h);
  ResizeAndClearAlphaBitmap(Mask, w, h);
  std::unique_ptr<TBitmap> listMask;
  bool sourceIs32;
  if (useGlyph) {
    Image->CopyBitmap(Glyph);
    sourceIs32 = Glyph->PixelFormat() == pf32bit;
  } else {
    TcxBitmap image;
    listMask = std::make_unique<TBitmap>();
    if (auto* cx = dynamic_cast<TcxImageList*>(List)) {
      cx->GetImage(Index, &image, listMask.get());
      sourceIs32 = image.PixelFormat() == pf32bit;
    } else {
      TcxImageList::ExtractImageBitmaps(List->Handle(), Index, &image, listMask.get());
      sourceIs32 = ImageList_GetColorDepth(List->Handle()) == 32;
    }
    Image->CopyBitmap(&image);
  }
  std::vector<uint32_t> pixels;
  Image->GetColors(pixels);
  const bool hasAlpha = sourceIs32 && SomeAlpha(pixels);
  if (!hasAlpha) Image->RunPixelOperation(poMakeOpaque);
  Image->GetColors(pixels);
  Mask->SetColors(pixels);
  if (!hasAlpha) {
    if (listMask && !listMask->Empty()) {
      TcxAlphaBitmap m32(w, h);
      m32.CopyBitmap(listMask.get());
      m32.RunPixelOperation(poMakeTransparent);
      m32.RunPixelOperation(poRestoreAlpha);
      std::vector<uint32_t> mc, dc;
      m32.GetColors(mc);
      Mask->GetColors(dc);
      AndNot(dc, mc);
      Mask->SetColors(dc);
    }
    if (TransparentColor != clNone) Mask->TransparentPixels()->AddColor(TransparentColor);
    if (useGlyph && Glyph->Transparent()) Mask->TransparentPixels()->AddColor(Glyph->TransparentColor());
  }
  Mask->RunPixelOperation(poMask);
  std::vector<uint32_t> mc;
  Mask->GetColors(mc);
  Image->GetColors(pixels);
  AndNot(pixels, mc);
  Image->SetColors(pixels);
  return hasAlpha;
}

}  // namespace

namespace {

// The work bitmap sized to DrawRect and holding the background: the brush, or what DC shows there.
HDC BeginDrawArea(TWorkBitmaps& work, HDC DC, const TRect& DrawRect, HBRUSH BackgroundBrush) {
  ResizeAndClearAlphaBitmap(work.Draw.get(), DrawRect.Width(), DrawRect.Height());
  HDC drawDC = work.Draw->Canvas()->Handle();
  const TRect local(0, 0, DrawRect.Width(), DrawRect.Height());
  const RECT localRect = local;
  if (BackgroundBrush) FillRect(drawDC, &localRect, BackgroundBrush);
  else BitBlt(drawDC, 0, 0, local.Width(), local.Height(), DC, DrawRect.Left, DrawRect.Top, SRCCOPY);
  return drawDC;
}

}  // namespace

void cxPrepareImageForDrawing(TBitmap* Glyph, TcxAlphaBitmap* Image) {
  if (!Glyph || Glyph->Empty()) {
    ResizeAndClearAlphaBitmap(Image, 0, 0);
    return;
  }
  PrepareImageAndMask(Glyph, nullptr, -1, clNone, Image, Work().Mask.get());
}

void cxDrawPreparedImage(HDC DC, const TRect& ImageRect, const TRect& DrawRect, TcxAlphaBitmap* Image, bool Smooth,
                         HBRUSH BackgroundBrush) {
  if (!Image || Image->Empty() || DrawRect.Width() <= 0 || DrawRect.Height() <= 0) return;
  TWorkBitmaps& work = Work();
  BeginDrawArea(work, DC, DrawRect, BackgroundBrush);
  AlphaBlendBitmap(work.Draw.get(), Image, ImageRect.Offset(-DrawRect.Left, -DrawRect.Top), Smooth, 255);
  DrawBitmapOnDC(DC, work.Draw.get(), DrawRect, TPoint(0, 0), SRCCOPY);
}

void DrawImageInState(HDC DC, const TRect& ImageRect, const TRect& DrawRect, TGraphic* Glyph,
                      TCustomImageList* ImageList, int ImageIndex, TcxImageDrawMode Mode, bool Smooth,
                      HBRUSH BackgroundBrush, TColor TransparentColor) {
  auto* glyph = dynamic_cast<TBitmap*>(Glyph);
  const bool hasGlyph = glyph && !glyph->Empty();
  const bool hasImage = ImageList && ImageIndex >= 0 && ImageIndex < ImageList->Count();
  if (!hasGlyph && !hasImage) return;
  if (DrawRect.Width() <= 0 || DrawRect.Height() <= 0) return;
  TWorkBitmaps& work = Work();
  BeginDrawArea(work, DC, DrawRect, BackgroundBrush);
  TRect r = ImageRect;
  r = r.Offset(-DrawRect.Left, -DrawRect.Top);
  if (cxCustomDrawImageProc &&
      cxCustomDrawImageProc(work.Draw->Canvas(), ImageList, ImageIndex, Mode, r, Glyph)) {
    DrawBitmapOnDC(DC, work.Draw.get(), DrawRect, TPoint(0, 0), SRCCOPY);
    return;
  }
  const bool hasAlpha = PrepareImageAndMask(hasGlyph ? glyph : nullptr, ImageList, ImageIndex, TransparentColor,
                                            work.Image.get(), work.Mask.get());
  uint8_t factor = 255;
  switch (Mode) {
    case ImageDrawDisabled:
      if (hasAlpha) {
        work.Image->RunPixelOperation(poGrayGreen);
        factor = 151;
      } else {
        work.Image->RunPixelOperation(poShadow);
        AddDropShadow(work.Image.get(), work.Mask.get(), 1, clBtnHighlight, false);
      }
      break;
    case ImageDrawFaded:
      work.Image->RunPixelOperation(poGray);
      factor = 64;
      break;
    case ImageDrawGrayed: work.Image->RunPixelOperation(poGrayMean); break;
    case ImageDrawLightened: work.Image->RunPixelOperation(poLighten); break;
    case ImageDrawShadowed:
      AddDropShadow(work.Image.get(), work.Mask.get(), 2, clBtnShadow, true);
      r.Right += 2;
      r.Bottom += 2;
      r = r.Offset(-1, -1);
      break;
    default: break;
  }
  AlphaBlendBitmap(work.Draw.get(), work.Image.get(), r, Smooth, factor);
  DrawBitmapOnDC(DC, work.Draw.get(), DrawRect, TPoint(0, 0), SRCCOPY);
}

void HatchRectOnDC(HDC DC, const TRect& R, TColor Color1, TColor Color2, uint8_t Step, uint8_t Alpha1,
                   uint8_t Alpha2) {
  if (R.Width() <= 0 || R.Height() <= 0) return;
  TcxAlphaBitmap b(R.Width(), R.Height());
  BitBlt(b.Canvas()->Handle(), 0, 0, R.Width(), R.Height(), DC, R.Left, R.Top, SRCCOPY);
  b.Hatch(Color1, Color2, Step, Alpha1, Alpha2);
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), b.Canvas()->Handle(), 0, 0, SRCCOPY);
}

namespace {
TColor Darker(TColor Color, int Percent) {
  const uint32_t v = uint32_t(ColorToRGB(Color));
  uint32_t out = 0;
  for (int ch = 0; ch < 3; ++ch) out |= (((v >> (8 * ch)) & 0xFF) * uint32_t(100 - Percent) / 100) << (8 * ch);
  return TColor(out);
}
}  // namespace

void DrawHatchedStateRect(TcxCanvas* Canvas, const TRect& R, bool Positive) {
  if (R.Width() <= 0 || R.Height() <= 0) return;
  const TColor color = Positive ? TColor(0x00A0FFA0) : TColor(0x009090FF);
  Canvas->PushDrawingState();
  Canvas->PushClipRegion();
  Canvas->ClipToRect(R);
  Canvas->FillRectWithColor(R, color);
  Canvas->CurrentPen()->SetColor(Darker(color, 75));
  Canvas->CurrentPen()->SetWidth(1);
  const int lines = MulDiv(R.Right, 3, 2);
  for (int i = 0; i < lines; ++i) {
    const int x = R.Left + i * 3;
    Canvas->MovePenTo(x, R.Top);
    Canvas->DrawLineTo(x + R.Height(), R.Top + R.Height());
  }
  Canvas->DrawTwoToneFrame(R, Darker(color, 50), Darker(color, 50), cxBordersAll, 1);
  Canvas->PopClipRegion();
  Canvas->PopDrawingState();
  Canvas->ClipOutRect(R);
  TRect shadow = R;
  shadow = shadow.Offset(1, 1);
  Canvas->FillRectWithColor(shadow, clBtnShadow);
  Canvas->ClipOutRect(shadow);
}
