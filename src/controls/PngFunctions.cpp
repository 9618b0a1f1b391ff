#include "controls/PngFunctions.h"

#include <algorithm>

#include "platform/win/GdiExtras.h"

namespace {
uint8_t Nearest(double X) { return uint8_t(std::clamp<int64_t>(Round(X), 0, 255)); }
}  // namespace

void BlendPngAlpha(TPNGObject* Png, uint8_t Amount) {
  if (Png->Empty()) return;
  const bool key = Png->TransparencyKind() == ptkColorKey;
  const COLORREF keyColor = Png->KeyColor();
  TChunkIHDR* h = Png->HeaderChunk();
  const int w = int(h->Width), hgt = int(h->Height);
  if (h->ColorType == 0 || h->ColorType == 3) {
    TBitmap blank;
    blank.SetSize(w, hgt);
    TPNGObject rgb;
    rgb.AssignBitmapHandle(blank.Handle(), false, 0);
    rgb.AddAlphaChannel();
    for (int y = 0; y < hgt; ++y) {
      uint8_t* alpha = rgb.AlphaRowPointer(y);
      for (int x = 0; x < w; ++x) {
        const COLORREF c = Png->ReadPixel(x, y);
        rgb.WritePixel(x, y, c);
        alpha[x] = key && c == keyColor ? 0 : Amount;
      }
    }
    Png->Assign(&rgb);
    return;
  }
  if (h->ColorType == 2) {
    Png->AddAlphaChannel();
    // The colour key now lives in the alpha plane.
    if (auto* trns = Png->Chunks().FindChunk<TChunktRNS>()) Png->Chunks().DeleteChunk(trns);
  }
  for (int y = 0; y < hgt; ++y) {
    uint8_t* alpha = Png->AlphaRowPointer(y);
    if (!alpha) return;
    for (int x = 0; x < w; ++x)
      alpha[x] = key && Png->ReadPixel(x, y) == keyColor ? 0 : Nearest(alpha[x] / 256.0 * (Amount + 1));
  }
}

namespace {
void MixToGrey(uint8_t& R, uint8_t& G, uint8_t& B, uint8_t Amount) {
  const uint8_t grey = Nearest(0.3 * R + 0.59 * G + 0.11 * B);
  auto mix = [&](uint8_t c) {
    return uint8_t(Nearest(c / 256.0 * (255 - Amount)) + Nearest(grey / 256.0 * (Amount + 1)));
  };
  R = mix(R), G = mix(G), B = mix(B);
}
}  // namespace

void GreyPngColours(TPNGObject* Png, uint8_t Amount) {
  if (Png->Empty()) return;
  TChunkIHDR* h = Png->HeaderChunk();
  if (h->ColorType == 0 || h->ColorType == 4) return;
  if (h->ColorType == 3) {
    HPALETTE palette = Png->GetPalette();
    if (!palette) return;
    PALETTEENTRY entries[256];
    const UINT count = std::min<UINT>(GetPaletteEntries(palette, 0, 256, entries), 256);
    for (UINT i = 0; i < count; ++i) MixToGrey(entries[i].peRed, entries[i].peGreen, entries[i].peBlue, Amount);
    SetPaletteEntries(palette, 0, count, entries);
    Png->SetPalette(palette);
    return;
  }
  for (int y = 0; y < int(h->Height); ++y) {
    uint8_t* p = Png->RowPointer(y);
    for (uint32_t x = 0; x < h->Width; ++x, p += 3) MixToGrey(p[2], p[1], p[0], Amount);
  }
}

void DrawPngWithOptions(TPNGObject* Png, TCanvas* Canvas, const TRect& Rect, TPngOptions Options) {
  if (Options.Empty()) {
    Canvas->StretchDraw(Rect, Png);
    return;
  }
  TPNGObject copy;
  copy.Assign(Png);
  if (Options.Contains(pngBlendOnDisabled)) BlendPngAlpha(&copy, 127);
  if (Options.Contains(pngGrayscaleOnDisabled)) GreyPngColours(&copy, 255);
  Canvas->StretchDraw(Rect, &copy);
}

void PngFromImageListEntry(TPNGObject* Png, TCustomImageList* ImageList, int Index) {
  IMAGEINFO info;
  if (!ImageList || !ImageList_GetImageInfo(ImageList->Handle(), Index, &info)) return;
  struct TFreeInfo {
    IMAGEINFO& I;
    ~TFreeInfo() {
      if (I.hbmImage) DeleteObject(I.hbmImage);
      if (I.hbmMask) DeleteObject(I.hbmMask);
    }
  } freeInfo{info};
  const int w = ImageList->Width(), h = ImageList->Height();
  const int left = Index * w;
  TBitmap colour;
  colour.SetPixelFormat(pf24bit);
  colour.SetSize(w, h);
  HDC src = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(src, info.hbmImage);
  BitBlt(colour.Canvas()->Handle(), 0, 0, w, h, src, left, 0, SRCCOPY);
  // The mask: black where the entry shows (every pixel shows without one).
  std::vector<bool> shows(size_t(w) * h, true);
  if (info.hbmMask) {
    SelectObject(src, info.hbmMask);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) shows[size_t(y) * w + x] = (GetPixel(src, left + x, y) & 0xFFFFFF) == 0;
  }
  SelectObject(src, old);
  DeleteDC(src);
  Png->AssignBitmapHandle(colour.Handle(), false, 0);
  Png->AddAlphaChannel();
  for (int y = 0; y < h; ++y) {
    uint8_t* alpha = Png->AlphaRowPointer(y);
    if (!alpha) break;
    for (int x = 0; x < w; ++x) alpha[x] = shows[size_t(y) * w + x] ? 255 : 0;
  }
}
