#pragma once
// Image drawing through work bitmaps (six drawing modes, alpha honoured, Lanczos resampling),
// the hatched state rectangle, and the suite's image list with its streamable image copies.
// Included by cxGraphics.h.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gui/ImgList.h"

class TcxBitmap;
class TcxBitmap32;
class TcxAlphaBitmap;
class TcxCanvas;
class TFiler;
class TReader;
class TWriter;

using TcxImageDrawMode = uint8_t;
constexpr TcxImageDrawMode ImageDrawNormal = 0;
constexpr TcxImageDrawMode ImageDrawDisabled = 1;
constexpr TcxImageDrawMode ImageDrawFaded = 2;
constexpr TcxImageDrawMode ImageDrawGrayed = 3;
constexpr TcxImageDrawMode ImageDrawLightened = 4;
constexpr TcxImageDrawMode ImageDrawShadowed = 5;

// Offered every image first; answers true when it drew the image itself.
using TcxCustomDrawImageProc = bool (*)(TCanvas* Canvas, TCustomImageList* Images, int ImageIndex,
                                        TcxImageDrawMode Mode, const TRect& R, TGraphic* Glyph);
extern TcxCustomDrawImageProc cxCustomDrawImageProc;

// One source pixel's share (out of 256) in a destination pixel.
struct TcxResampleContributor {
  int Index;
  int Weight;
};
// For each destination index the source indices (always inside 0..SourceSize - 1) and weights of
// the Lanczos-3 filter.
std::vector<std::vector<TcxResampleContributor>> CalculateResampleContributors(int SourceSize, int DestSize);
float LanczosKernel(float X);
void ResampleBitmap(TBitmap* Source, TBitmap* Dest, bool HighQuality);

void AlphaBlendDC(HDC DestDC, HDC SourceDC, const TRect& DestRect, const TRect& SourceRect, bool Smooth = false,
                  uint8_t Factor = 255);
void AlphaBlendBitmap(TBitmap* Dest, TBitmap* Source, const TRect& DestRect, bool Smooth = false,
                      uint8_t Factor = 255);
void DrawBitmapOnDC(HDC DC, TBitmap* Bitmap, const TRect& DestRect, TPoint SourceTopLeft, DWORD Rop = SRCCOPY);
void AddDropShadow(TcxAlphaBitmap* Bitmap, TcxAlphaBitmap* Mask, int Size, TColor Color, bool Resize);
void DrawImageInState(HDC DC, const TRect& ImageRect, const TRect& DrawRect, TGraphic* Glyph,
                      TCustomImageList* ImageList, int ImageIndex, TcxImageDrawMode Mode, bool Smooth = false,
                      HBRUSH BackgroundBrush = nullptr, TColor TransparentColor = clNone);
// DrawImageInState in the normal mode for a bitmap, in two halves, for callers that draw one
// rendered glyph many times: its pixels made ready for blending once (Image gets them), then
// drawn over the background (the brush, else what DC shows) exactly as DrawImageInState draws.
void cxPrepareImageForDrawing(TBitmap* Glyph, TcxAlphaBitmap* Image);
void cxDrawPreparedImage(HDC DC, const TRect& ImageRect, const TRect& DrawRect, TcxAlphaBitmap* Image, bool Smooth,
                         HBRUSH BackgroundBrush);
void HatchRectOnDC(HDC DC, const TRect& R, TColor Color1, TColor Color2, uint8_t Step, uint8_t Alpha1,
                   uint8_t Alpha2);
void DrawHatchedStateRect(TcxCanvas* Canvas, const TRect& R, bool Positive);

// ---- the suite's image list

class TcxImageInfo : public TPersistent {
 public:
  TcxImageInfo();
  ~TcxImageInfo() override;
  void Assign(TPersistent* Source) override;

  TcxBitmap* Image() const { return FImage.get(); }
  void SetImage(TBitmap* Value);
  TcxBitmap* Mask() const { return FMask.get(); }
  void SetMask(TBitmap* Value);
  TColor MaskColor() const { return FMaskColor; }
  void SetMaskColor(TColor Value) { FMaskColor = Value; }
  // Filled from the system list when the item has no mask of its own.
  TcxBitmap* InternalMask() const { return FInternalMask.get(); }

 private:
  std::unique_ptr<TcxBitmap> FImage, FMask, FInternalMask;
  TColor FMaskColor = clNone;
};

class TcxImageInfoItem : public TCollectionItem {
 public:
  explicit TcxImageInfoItem(TCollection* Collection);
  ~TcxImageInfoItem() override;
  void Assign(TPersistent* Source) override;

  TcxImageInfo* ImageInfo() const { return FImageInfo.get(); }
  TBitmap* Image() const;
  void SetImage(TBitmap* Value);
  TBitmap* Mask() const;
  void SetMask(TBitmap* Value);
  TColor MaskColor() const { return FImageInfo->MaskColor(); }
  void SetMaskColor(TColor Value) { FImageInfo->SetMaskColor(Value); }
  bool CompressData() const;
  void SetCompressData(bool Value);

 private:
  std::unique_ptr<TcxImageInfo> FImageInfo;
};

class TcxImageList;

class TcxImageInfoCollection : public TCollection {
 public:
  explicit TcxImageInfoCollection(TcxImageList* AImageList);
  TcxImageInfoItem* Items(int Index) const { return Get<TcxImageInfoItem>(Index); }
  TcxImageInfoItem* AddItem(TBitmap* Image, TBitmap* Mask, TColor MaskColor);
  uint8_t CompressData() const { return FCompressData; }
  void SetCompressData(uint8_t Value);

 protected:
  TPersistent* GetOwner() const override;

 private:
  TcxImageList* FImageList;
  uint8_t FCompressData = 0;
};

class TcxImageList : public TDragImageList {
 public:
  explicit TcxImageList(TComponent* AOwner);
  ~TcxImageList() override;

  void SetWidth(int Value) override { SetSize(Value, Height()); }
  void SetHeight(int Value) override { SetSize(Width(), Value); }
  void SetSize(int AWidth, int AHeight) override;
  bool CompressData() const { return FImageInfo->CompressData() != 0; }
  void SetCompressData(bool Value) { FImageInfo->SetCompressData(Value); }
  TcxImageInfoCollection* ImageInfo() const { return FImageInfo.get(); }
  int FormatVersion() const { return FFormatVersion; }

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void CancelUpdate() { --FUpdateCount; }

  int AddBitmap(TBitmap* Image, TBitmap* Mask);
  int AddMaskedBitmap(TBitmap* Image, TColor MaskColor);
  int AddImageInfo(TcxImageInfo* Info);
  void AddImageInfoItems(TBitmap* Bitmap, TBitmap* Mask, TColor MaskColor);
  void DeleteImage(int Index);
  void ClearImages() { DeleteImage(-1); }
  void AddImagesFrom(TCustomImageList* Source, int StartIndex = 0, int EndIndex = -1);
  void Assign(TPersistent* Source) override;

  static void ExtractImageBitmaps(HIMAGELIST Handle, int Index, TBitmap* Image, TBitmap* Mask);
  void GetImage(int Index, TBitmap* Image, TBitmap* Mask);
  static int GetPixelFormat(HIMAGELIST Handle);
  void DrawImage(TCanvas* Canvas, const TRect& R, int Index, bool Stretch = false, bool Smooth = false,
                 bool Enabled = true);
  void DrawImageEx(int Index, TCanvas* Canvas, const TRect& R, UINT Style, bool Stretch, bool Smooth, bool Enabled);
  void SynchronizeImageInfo();
  void ConvertLegacyImages();

 protected:
  void Initialize() override;
  void Change() override;
  void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) override;
  void DefineProperties(TFiler* Filer) override;
  void ReadData(TStream* Stream) override;

 private:
  void ReadImageInfo(TReader* Reader);
  void WriteImageInfo(TWriter* Writer);
  std::unique_ptr<TcxImageInfoCollection> FImageInfo;
  int FUpdateCount = 0;
  uint8_t FSynchronizing = 0;
  uint8_t FDrawThroughSuite = 0;
  int32_t FFormatVersion = 0;
};

bool CompareImageLists(TCustomImageList* A, TCustomImageList* B);
void FlattenImageListOnColor(TcxImageList* List, TColor Color, bool Enabled = true);

// Registers the image list classes and their stored properties (the unit's start-up).
void RegisterImageListClasses();
