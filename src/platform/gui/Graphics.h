#pragma once
// Colours, fonts, pens, brushes and the canvas that draws with them on a device context.

#include <cstdint>
#include <string>

#include "platform/rtl/Classes.h"
#include "platform/win/Types.h"
#include "platform/win/WinClipboard.h"
#include "platform/win/Windows.h"

class QColor;
class QFont;

// A colour: $00BBGGRR, or a system colour ($FF0000nn), clNone or clDefault.
using TColor = int32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clSystemColor = TColor(0xFF000000);
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;
constexpr TColor clHotLight = clSystemColor | 26;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;
constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
constexpr TColor clMenuHighlight = clSystemColor | 29;
constexpr TColor clMenuBar = clSystemColor | 30;

// Colour names ("clBtnFace") for stored descriptions; StringToColor also takes numbers.
bool ColorToIdent(int64_t Color, std::string& Ident);
bool IdentToColor(const std::string& Ident, int64_t& Color);
std::string ColorToString(TColor Color);
TColor StringToColor(const std::string& S);
struct TIdentMap;
const TIdentMap* ColorIdentMap();

// The RGB value of a colour (system colours looked up; clNone and clDefault unchanged).
TColor ColorToRGB(TColor color);
QColor TColorToQColor(TColor color);
TColor QColorToTColor(const QColor& color);

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using enum TFontStyle;
using TFontStyles = TSet<TFontStyle>;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };
using enum TFontPitch;
enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
using enum TPenStyle;
enum class TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmXor };
using enum TPenMode;
enum class TBrushStyle {
  bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};
using enum TBrushStyle;

// A pen, brush or font: its system object is made when first asked for and dropped whenever a
// property it carries changes.
class TGraphicsObject : public TPersistent {
 public:
  ~TGraphicsObject() override;
  TNotifyEvent OnChange;

 protected:
  // Drops the system object, then notifies.
  virtual void Changed();
  // Notifies only: for properties the system object does not carry.
  void Notify();
  HGDIOBJ FHandle = nullptr;
};

class TFont : public TGraphicsObject {
 public:
  TFont();
  void Assign(TPersistent* Source) override;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value);
  // Points at the reported 96 pixels per inch; Height is in pixels (negative: character height).
  int Size() const;
  void SetSize(int Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  BYTE Charset() const { return FCharset; }
  void SetCharset(BYTE Value);
  // Tenths of a degree, counter-clockwise.
  int Orientation() const { return FOrientation; }
  void SetOrientation(int Value);
  int PixelsPerInch() const { return 96; }
  HFONT Handle();
  void SetHandle(HFONT Value);
  QFont ToQFont() const;

 protected:

 private:
  std::string FName = "Tahoma";
  int FHeight = -11;
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  TFontPitch FPitch = fpDefault;
  BYTE FCharset = DEFAULT_CHARSET;
  int FOrientation = 0;
};

class TPen : public TGraphicsObject {
 public:
  TPen() = default;
  void Assign(TPersistent* Source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);
  HPEN Handle();

 protected:

 private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

class TBrush : public TGraphicsObject {
 public:
  TBrush() = default;
  void Assign(TPersistent* Source) override;
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  HBRUSH Handle();

 protected:

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

class TCanvas;

// Something that can draw itself on a canvas (bitmaps, pictures).
class TStream;
class TGraphic : public TPersistent {
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int Value) {}
  virtual void SetHeight(int Value) {}
  virtual bool Empty() const { return Width() == 0 || Height() == 0; }
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  bool Modified() const { return FModified; }
  void SetModified(bool Value);
  // The graphic's own file format (what picture data holds after the class name). Classes that
  // have none raise EInvalidGraphicOperation.
  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToStream(TStream* Stream);
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);
  // The clipboard form of the graphic (CF_BITMAP and a bitmap handle the receiver owns for
  // bitmaps). Classes without one raise EInvalidGraphicOperation.
  virtual void LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE APalette);
  virtual void SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette);
  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  friend class TPicture;
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
  virtual void Changed(TObject* Sender = nullptr);
  bool FTransparent = false;
  bool FModified = false;
};


class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;

  // The device context drawn on; creating it on demand is CreateHandle's work.
  HDC Handle();
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TPen* Pen() const { return FPen; }
  TBrush* Brush() const { return FBrush; }
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TPoint PenPos() const { return FPenPos; }
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
  int CopyMode() const { return int(FCopyMode); }
  void SetCopyMode(DWORD Value) { FCopyMode = Value; }

  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(const TPoint* Points, int Count);
  void Polygon(const TPoint* Points, int Count);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  void DrawFocusRect(const TRect& R);
  TColor Pixel(int X, int Y);
  void SetPixel(int X, int Y, TColor Value);
  void TextOut(int X, int Y, const std::string& Text);
  // Text clipped to a rectangle, drawn at (X, Y).
  void TextRect(const TRect& R, int X, int Y, const std::string& Text);
  TSize TextExtent(const std::string& Text);
  int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
  int TextHeight(const std::string& Text) { return TextExtent(Text).cy; }
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  TRect ClipRect();

  void Lock() { ++FLockCount; }
  void Unlock() { --FLockCount; }
  int LockCount() const { return FLockCount; }
  void Refresh();

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void CreateHandle();
  virtual void Changing();
  virtual void Changed();
  // Selects the current pen, brush and font into the device context.
  void RequiredState();

 private:
  HDC FHandle = nullptr;
  TPen* FPen;
  TBrush* FBrush;
  TFont* FFont;
  TPoint FPenPos;
  DWORD FCopyMode = SRCCOPY;
  int FLockCount = 0;
  HGDIOBJ FOldPen = nullptr, FOldBrush = nullptr, FOldFont = nullptr;
};

// Draws a whole image (a QImage given by pointer) on a canvas: for libraries with images.
void DrawImageOnCanvas(TCanvas* Canvas, const TRect& Dest, const class QImage& Image);
