#pragma once
// The suite's drawing layer: regions, the canvas every painter draws through (text with the
// suite's own flags, frames, tiled fills, state stacks), the shared screen and paint canvases,
// the graphics routines (text measuring and fitting, rotated text, colours and named web
// colours, object queries) and the suite's bitmaps with their compressed stream form.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Classes.h"
#include "platform/win/Windows.h"

class TcxCanvas;
class TStrings;
class TControl;

// ---- the suite's text flags

using TcxTextFlags = uint16_t;
constexpr TcxTextFlags TextAlignLeft = 0x0001;
constexpr TcxTextFlags TextAlignRight = 0x0002;
constexpr TcxTextFlags TextAlignHCenter = 0x0004;
constexpr TcxTextFlags TextAlignTop = 0x0008;
constexpr TcxTextFlags TextAlignBottom = 0x0010;
constexpr TcxTextFlags TextAlignVCenter = 0x0020;
constexpr TcxTextFlags TextSingleLine = 0x0040;
constexpr TcxTextFlags TextDontClip = 0x0080;
constexpr TcxTextFlags TextExpandTabs = 0x0100;
constexpr TcxTextFlags TextShowPrefix = 0x0200;
constexpr TcxTextFlags TextWordBreak = 0x0400;
constexpr TcxTextFlags TextShowEndEllipsis = 0x0800;
constexpr TcxTextFlags TextCalcRect = 0x1000;
constexpr TcxTextFlags TextShowPathEllipsis = 0x2000;
constexpr TcxTextFlags TextNoEditControlBreak = 0x4000;
constexpr TcxTextFlags TextNoFullWidthCharBreak = 0x8000;

enum TcxRegionOperation : uint8_t { RegionCopy, RegionUnion, RegionDifference, RegionIntersection };

enum class TcxBorder { bLeft, bTop, bRight, bBottom };
using enum TcxBorder;
using TcxBorders = TSet<TcxBorder>;
inline const TcxBorders cxBordersAll{bLeft, bTop, bRight, bBottom};

// Ellipsis kinds and text rotations.
enum TcxEllipsisKind : uint8_t { EllipsisEnd, EllipsisPath };
enum TcxRotationAngle : uint8_t { raNone, raPlus90, raMinus90, ra180 };

// The colour, bitmap, font and text colour a style hands to drawing code.
struct TcxViewParams {
  TColor Color = clDefault;
  TBitmap* Bitmap = nullptr;
  TFont* Font = nullptr;
  TColor TextColor = clDefault;
};

// ---- regions

class TcxRegion : public TObject {
 public:
  explicit TcxRegion(HRGN AHandle) : FHandle(AHandle) {}
  static TcxRegion* CreateFromHandle(HRGN AHandle) { return new TcxRegion(AHandle); }
  static TcxRegion* CreateFromRect(const TRect& R);
  static TcxRegion* CreateFromBounds(int Left, int Top, int Right, int Bottom);
  static TcxRegion* CreateEmpty() { return CreateFromBounds(0, 0, 0, 0); }
  ~TcxRegion() override { FreeHandle(); }

  HRGN Handle() const { return FHandle; }
  void FreeHandle();
  bool IsEmpty() const;
  bool IsEqual(const TcxRegion* Region) const;
  bool IsEqualToHandle(HRGN AHandle) const;
  // With DestroyRegion the other region is freed afterwards.
  void CombineWith(TcxRegion* Region, TcxRegionOperation Operation, bool DestroyRegion = true);
  void OffsetBy(int DX, int DY);
  void OffsetByPoint(TPoint P) { OffsetBy(P.X, P.Y); }

 private:
  HRGN FHandle;
};

// ---- the canvas

class TcxCanvas : public TObject {
 public:
  explicit TcxCanvas(TCanvas* ACanvas);
  static TcxCanvas* CreateOnCanvas(TCanvas* ACanvas) { return new TcxCanvas(ACanvas); }
  ~TcxCanvas() override;

  TCanvas* Canvas() const { return FCanvas; }
  TBrush* CurrentBrush() const { return FCanvas->Brush(); }
  TFont* CurrentFont() const { return FCanvas->Font(); }
  TPen* CurrentPen() const { return FCanvas->Pen(); }
  HDC CurrentDC() const { return FCanvas->Handle(); }
  int CopyMode() const { return FCanvas->CopyMode(); }
  void SetCopyMode(DWORD Value) { FCanvas->SetCopyMode(Value); }
  void AssignBrush(TBrush* Value) { FCanvas->SetBrush(Value); }
  void AssignFont(TFont* Value) { FCanvas->SetFont(Value); }
  void SetPixelColor(int X, int Y, TColor Color) { FCanvas->SetPixel(X, Y, Color); }
  TPoint ViewportOrigin() const;
  void ApplyViewportOrigin(TPoint P);
  TPoint WindowOrigin() const;
  void ApplyWindowOrigin(TPoint P);
  TPoint DCOrigin() const;
  void CopyRectFrom(const TRect& Dest, TCanvas* Source, const TRect& SourceRect) {
    FCanvas->CopyRect(Dest, Source, SourceRect);
  }
  void DrawGraphic(int X, int Y, TGraphic* Graphic) { FCanvas->Draw(X, Y, Graphic); }
  void MovePenTo(int X, int Y) { FCanvas->MoveTo(X, Y); }
  void DrawLineTo(int X, int Y) { FCanvas->LineTo(X, Y); }
  void DrawPolygon(const TPoint* Points, int Count) { FCanvas->Polygon(Points, Count); }
  void DrawPolyline(const TPoint* Points, int Count) { FCanvas->Polyline(Points, Count); }
  void ClipOutRect(const TRect& R);
  void ClipToRect(const TRect& R);
  int SelectFontHeight(TFont* Font);

  void SetBrushColor(TColor Color);
  void FillRectWithColor(const TRect& R, TColor Color);
  void FillRectTiled(const TRect& R, TBitmap* Bitmap, bool ExcludeRect);
  void DrawTwoToneFrame(const TRect& R, TColor LeftTopColor, TColor RightBottomColor, TcxBorders Borders,
                        int BorderWidth);
  void DrawEdgeFrame(const TRect& R, bool Sunken, bool Outer, TcxBorders Borders);
  void DrawSideBorders(const TRect& R, TColor Color, int LineWidth, TcxBorders Borders, bool ExcludeFromClip);
  void FillRectWithViewParams(const TRect& R, const TcxViewParams& ViewParams, TcxBorders Borders,
                              TColor BorderColor, int BorderWidth, bool ExcludeRect);
  void InvertRect(const TRect& R);
  void SetFontAngle(int Angle);

  void MeasureText(const std::string& Text, TSize& Size);
  int MeasureTextWidth(const std::string& Text);
  int MeasureTextHeight(const std::string& Text);
  void MeasureTextInRect(const std::string& Text, TRect& R, TcxTextFlags Flags);
  void DrawTextInRect(const std::string& Text, const TRect& R, TcxTextFlags Flags, bool Enabled,
                      TcxRotationAngle Rotation);
  void DrawAlignedText(const std::string& Text, const TRect& R, TcxTextFlags Flags, bool Enabled = true) {
    DrawTextInRect(Text, R, Flags, Enabled, raNone);
  }
  // Placement: 0 none, 1 bottom, 2 centre.
  void AlignTextRectVertically(TRect& R, const std::string& Text, bool EndEllipsis, bool NoEditControlBreak,
                               bool Enabled, bool ShowPrefix, bool WordBreak, int Placement);

  void PushDCState();
  void PopDCState();
  void PushDrawingState();
  void PopDrawingState();
  void SyncObjectsFromDC(HDC DC);
  // A new region the caller owns: the clip region, or (0, 0, 30000, 30000) without one.
  TcxRegion* CurrentClipRegion(bool ConsiderOrigin = true);
  void ApplyClipRegion(TcxRegion* Region, TcxRegionOperation Operation = RegionCopy, bool ConsiderOrigin = true,
                       bool DestroyRegion = true);
  void PushClipRegion();
  void PopClipRegion();

  // Turns a bitmap (the canvas itself is not used).
  static void RotateBitmap(TBitmap* Bitmap, TcxRotationAngle Rotation, bool Mirror);

  int DCStateDepth() const { return int(FDCStates.size()); }
  int DrawingStateDepth() const { return int(FCanvasStates.size()); }
  int ClipRegionDepth() const { return int(FSavedRegions.size()); }

 protected:
  TCanvas* FCanvas;
  void MakeStateValid();

 private:
  struct TcxDCState {
    HDC DC;
    int Index;
  };
  struct TcxCanvasState {
    std::unique_ptr<TFont> Font;
    std::unique_ptr<TBrush> Brush;
    std::unique_ptr<TPen> Pen;
  };
  std::vector<TcxDCState> FDCStates;
  std::vector<std::unique_ptr<TcxRegion>> FSavedRegions;
  std::vector<TcxCanvasState> FCanvasStates;
};

// A canvas on the desktop's device context.
class TScreenCanvas : public TCanvas {
 public:
  ~TScreenCanvas() override;
  void ReleaseDC();

 protected:
  void CreateHandle() override;

 private:
  HWND FWindow = nullptr;
  HDC FDC = nullptr;
};

class TcxScreenCanvas : public TcxCanvas {
 public:
  TcxScreenCanvas();
  static TcxScreenCanvas* CreateForScreen() { return new TcxScreenCanvas(); }
  ~TcxScreenCanvas() override;
  void ReleaseScreenDC();

 private:
  TScreenCanvas* FScreen;
};

class TcxPaintCanvas : public TcxCanvas {
 public:
  TcxPaintCanvas() : TcxCanvas(nullptr) {}
  ~TcxPaintCanvas() override;
  void PushTargetDC(HDC DC);
  void PushTargetCanvas(TCanvas* ACanvas);
  void PopTarget();
  int Depth() const { return FCounter; }

 private:
  struct TcxPaintCanvasState {
    TCanvas* PrevCanvas;
    int SavedDCIndex;
    HDC DC;
  };
  int FCounter = 0;
  std::vector<TcxPaintCanvasState> FStates;
};

TcxScreenCanvas* SharedScreenCanvas();
TcxPaintCanvas* SharedPaintCanvas();
// The unit's start-up (registers the bitmap classes) and shut-down (frees the shared canvases,
// none is made again until the next start-up).
void cxGraphicsInitialize();
void cxGraphicsFinalize();

// ---- graphics routines

int CurrentScreenDPI();
int ScaleByCurrentDPI(int Value);
TPoint ScreenPixelsPerInch();

UINT TextFlagsToDrawTextFlags(TcxTextFlags Flags);

int DrawTextColored(HDC DC, const std::string& Text, TRect& R, UINT Format, int CharCount, TColor TextColor,
                    int BkMode);
int DrawTextOnCanvas(TCanvas* Canvas, const std::string& Text, const TRect& R, UINT Format, TColor TextColor);
int DrawRotatedText(TCanvas* Canvas, const std::string& Text, const TRect& R, UINT Format, TColor TextColor,
                    TcxRotationAngle Rotation);
bool ExtTextOutString(HDC DC, const std::string& Text, TPoint P, UINT Options, const TRect& R, int CharCount = -1);
void MeasureTextExtent(HDC DC, const std::string& Text, TSize& Size, int CharCount = -1);
int DCFontHeight(HDC DC);
int FontTextHeight(TFont* Font);
void MeasureTextInFont(TFont* Font, const std::string& Text, int FontSize, TSize& Size);
int MeasureTextWidthInFont(TFont* Font, const std::string& Text, int FontSize = 0);
TSize MeasureTextSize(HDC DC, const std::string& Text);
void CalcTextRectForLines(HDC DC, const std::string& Text, int LineCount, bool FullHeight, TRect& R);
void ShortenTextToWidth(HDC DC, TFont* Font, const std::string& Text, int Width, TcxEllipsisKind Kind,
                        std::string& Result);
void WrapTextToLines(const std::string& Text, TCanvas* Canvas, const TRect& R, std::vector<std::string>& Lines);
void InvalidateWindowRect(HWND Window, const TRect& R, bool Erase);
void InvalidateWindow(HWND Window, bool Erase);

int ClampChannel(int Value);
TColor NearestScreenColor(TColor Color);
TColor MixSystemColors(int8_t FacePercent, int8_t HighlightPercent, int8_t WindowPercent);
TColor HighlightMixStrong();
TColor HighlightMixLight();

struct TcxColorInfo {
  const char* Name;
  TColor Color;
};
// The 168 named colours in search order (HTML and CSS names, then system-colour names).
const std::vector<TcxColorInfo>& NamedWebColors();
bool FindNamedWebColor(const std::string& Name, TColor& Color);

void ShrinkRectInPlace(TRect& R, const TRect& Margins);
bool RectsSameSize(const TRect& A, const TRect& B);
void BitBltRect(HDC DestDC, HDC SrcDC, const TRect& DestRect, TPoint SrcTopLeft, DWORD Rop = SRCCOPY);
TBitmap* CreateBitmapOfSize(int Width, int Height, TPixelFormat PixelFormat = pfDevice);
TBitmap* CreateBitmapForRect(const TRect& R, TPixelFormat PixelFormat = pfDevice);
TBitmap* CopyDCRectToBitmap(HDC DC, const TRect& R);
void StretchBitmapCopy(TBitmap* Dest, TBitmap* Source);
bool IsBitmapNonEmpty(TBitmap* Bitmap);
bool IsValidImageIndex(TCustomImageList* List, int Index);
// Moves Field to NewList: the old list loses Component's free notification and the change
// link, the new one gets both, and the link hears of the change. Nothing when unchanged.
void ReplaceLinkedImageList(TCustomImageList* NewList, TCustomImageList*& Field,
                            TChangeLink* ChangeLink, TComponent* Component);
bool IsComCtl6OrLater();

bool QueryBitmapInfo(HBITMAP Handle, BITMAP& Info);
bool QueryLogBrush(HBRUSH Handle, LOGBRUSH& Info);
bool QueryLogFont(HFONT Handle, LOGFONT& Info);
bool QueryLogPen(HPEN Handle, LOGPEN& Info);

// Paints what lies behind a transparent control: its parent (and, with siblings, the windowed
// controls before it in the parent's list) into the canvas over the rectangle, in the
// control's coordinates. The themed form asks the visual-style library when it is loaded.
void DrawParentBackground(TControl* Control, TcxCanvas* Canvas, const TRect& R, bool WithSiblings);
void DrawThemedParentBackground(TControl* Control, TcxCanvas* Canvas, const TRect& R);

void ResetFontToDefault(TFont* Font);
bool PrefersLastCharOfDayName(BYTE Charset, const std::string& DayName);

// ---- bitmaps

class TcxBitmap : public TBitmap {
 public:
  TcxBitmap() { InitializeBitmap(0, 0, pfDevice); }
  static TcxBitmap* CreateForRect(const TRect& R) { return CreateWithFormat(R.Width(), R.Height(), pf24bit); }
  static TcxBitmap* CreateSizedBitmap(int Width, int Height);
  static TcxBitmap* CreateForRectWithFormat(const TRect& R, TPixelFormat Format) {
    return CreateWithFormat(R.Width(), R.Height(), Format);
  }
  static TcxBitmap* CreateWithFormat(int Width, int Height, TPixelFormat Format);
  static class TcxBitmap32* Create32(int Width, int Height, bool Clear);
  ~TcxBitmap() override;

  // The virtual constructor: a new bitmap of this class at the given size.
  virtual TcxBitmap* CreateSized(int Width, int Height) const;
  virtual void SetSize(int Width, int Height);

  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate(bool Force = true);
  bool CompressData() const { return FCompressData; }
  void SetCompressData(bool Value) { FCompressData = Value; }
  TcxCanvas* cxCanvas() const { return FcxCanvas.get(); }

  void CopyBitmap(TBitmap* Bitmap, DWORD Rop = SRCCOPY);
  void CopyBitmapRect(TBitmap* Bitmap, const TRect& DestRect, TPoint SourceTopLeft, DWORD Rop = SRCCOPY);
  void RotateFlip(TcxRotationAngle Rotation, bool Mirror = false);
  TRect FullRect() const { return TRect(0, 0, Width(), Height()); }

  // The bitmap stream: the plain form (length and BMP file), or the compressed form when the
  // compress flag is set; reading takes either.
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);
  void DefineProperties(TFiler* Filer) override;

 protected:
  TcxBitmap(int Width, int Height, TPixelFormat Format) { InitializeBitmap(Width, Height, Format); }
  struct TNoInit {};
  explicit TcxBitmap(TNoInit) {}
  virtual void InitializeBitmap(int Width, int Height, TPixelFormat Format);
  virtual void ValidateFormat() {}
  void Changed(TObject* Sender = nullptr) override;

 private:
  bool FCompressData = false;
  std::unique_ptr<TcxCanvas> FcxCanvas;
  int FUpdateCount = 0;
  bool FModified = false;
};

class TcxBitmap32 : public TcxBitmap {
 public:
  TcxBitmap32() : TcxBitmap(TNoInit{}) { InitializeBitmap(0, 0, pf32bit); }
  TcxBitmap32(int Width, int Height, bool Clear = false);
  static TcxBitmap32* CreateForRectCleared(const TRect& R, bool Clear) {
    return new TcxBitmap32(R.Width(), R.Height(), Clear);
  }
  TcxBitmap* CreateSized(int Width, int Height) const override;

  virtual void ClearBits();
  // Pixels as BGRA values (alpha in the top byte), bottom row first.
  void GetColors(std::vector<uint32_t>& Colors);
  void SetColors(const std::vector<uint32_t>& Colors);
  void SetAlpha(uint8_t Value);
  void MakeOpaque() { SetAlpha(255); }
  void LoadFromStream(TStream* Stream) override;

 protected:
  explicit TcxBitmap32(TNoInit) : TcxBitmap(TNoInit{}) {}
  void ValidateFormat() override;
};

class TcxColorList : public TObject {
 public:
  void AddColor(TColor Color);
  bool Contains(uint32_t Rgb) const;
  void Clear() { FItems.clear(); }
  int Count() const { return int(FItems.size()); }

 private:
  std::vector<uint32_t> FItems;
};

struct TcxHatchData {
  uint32_t Color1 = 0;
  uint8_t Alpha1 = 0;
  uint32_t Color2 = 0;
  uint8_t Alpha2 = 0;
  uint8_t Step = 1;
};

enum TcxPixelOperation : uint8_t {
  poLighten, poShadow, poGrayMean, poMakeOpaque, poMask, poGray, poGrayGreen, poRestoreAlpha, poHatch,
  poFillBackground, poMakeTransparent
};

class TcxAlphaBitmap : public TcxBitmap32 {
 public:
  TcxAlphaBitmap(int Width, int Height);
  TcxAlphaBitmap(int Width, uint32_t TransparentBkColor, int Height);
  static TcxAlphaBitmap* CreateWithBackground(int Width, uint32_t TransparentBkColor, int Height) {
    return new TcxAlphaBitmap(Width, TransparentBkColor, Height);
  }
  TcxBitmap* CreateSized(int Width, int Height) const override;

  void ClearBits() override;
  void RunPixelOperation(TcxPixelOperation Operation);
  void ApplyHatch(const TcxHatchData& Data);
  void Hatch(TColor Color1, TColor Color2, uint8_t Step, uint8_t Alpha1, uint8_t Alpha2);
  bool IsColorTransparent(uint32_t Pixel) const;

  uint32_t TransparentBkColor() const { return FTransparentBkColor; }
  void SetTransparentBkColor(uint32_t Value) { FTransparentBkColor = Value; }
  TcxColorList* TransparentPixels() const { return FTransparentPixels.get(); }

 protected:
  void InitializeBitmap(int Width, int Height, TPixelFormat Format) override;

 private:
  void ProcessPixel(uint32_t& Pixel, TcxPixelOperation Operation);
  uint32_t FTransparentBkColor = 0;
  std::unique_ptr<TcxColorList> FTransparentPixels;
  int FCurrentX = 0, FCurrentY = 0;
  TcxHatchData FHatchData;
};

// Blends a colour (BGRA) into a pixel with the factor (0..255).
void BlendPixel(uint32_t& Pixel, uint32_t Color, uint8_t Factor);
void ResizeAndClearAlphaBitmap(TcxAlphaBitmap* Bitmap, int Width, int Height);
void RotateBitmap(TBitmap* Bitmap, TcxRotationAngle Rotation, bool Mirror);
inline void TcxCanvas::RotateBitmap(TBitmap* Bitmap, TcxRotationAngle Rotation, bool Mirror) {
  ::RotateBitmap(Bitmap, Rotation, Mirror);
}

// The compressed body of the bitmap stream: version 2 (block size from the depth, remainder
// first) and the expansion of versions 1 and 2.
std::vector<uint8_t> CompressBitmapData(const std::vector<uint8_t>& Data, int BlockSize);
std::vector<uint8_t> ExpandBitmapData(const uint8_t* Body, size_t Length, int Version);
#include "suite/core/cxGraphicsImages.h"
