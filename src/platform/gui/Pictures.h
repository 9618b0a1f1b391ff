#pragma once
// Pictures: the bitmap graphic (a GDI bitmap with a canvas, read and written as BMP files), the
// picture that holds any registered graphic class and stores it in form descriptions, and the
// image control that shows a picture.

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

class QImage;
struct TGdiBitmap;

SONALIX_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
SONALIX_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
using enum TPixelFormat;
enum class TTransparentMode { tmAuto, tmFixed };
using enum TTransparentMode;

class TBitmap : public TGraphic {
 public:
  TBitmap();
  ~TBitmap() override;

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetWidth(int Value) override { SetSize(Value, FHeight); }
  void SetHeight(int Value) override { SetSize(FWidth, Value); }
  // Keeps the pixels that still fit; new ones are white.
  void SetSize(int AWidth, int AHeight);

  TPixelFormat PixelFormat() const { return FPixelFormat; }
  // The format a file is written in; pixels are kept at 32 bits per pixel whatever it is.
  void SetPixelFormat(TPixelFormat Value);
  bool Monochrome() const { return FPixelFormat == pf1bit; }
  void SetMonochrome(bool Value) { SetPixelFormat(Value ? pf1bit : pfDevice); }

  // Automatic mode takes the bottom-left pixel (clDefault when the bitmap is empty).
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  // The GDI bitmap (made on demand); the bitmap keeps owning it.
  HBITMAP Handle();
  // Hands the GDI bitmap to the caller, who then deletes it; the bitmap becomes a copy.
  HBITMAP ReleaseHandle();
  // Takes a GDI bitmap over (null empties the bitmap).
  void SetHandle(HBITMAP Value);
  TCanvas* Canvas();
  // Rows of 32-bit pixels (bytes blue, green, red, unused), top row 0.
  uint8_t* ScanLine(int Row);
  void Dormant() {}
  void FreeImage() {}

  // The pixels as a Qt image (a shallow copy), and the reverse.
  QImage ToImage() const;
  void SetImage(const QImage& Image);

  void Assign(TPersistent* Source) override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  void LoadFromResourceName(const std::string& ResName);
  // CF_BITMAP only: a copy of the bitmap is read, and a copy is handed out.
  void LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE APalette) override;
  void SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void Changed(TObject* Sender = nullptr) override;

 private:
  class TBitmapCanvas;
  TGdiBitmap* Bits() const;
  void FreeCanvasHandle();

  HBITMAP FHandle = nullptr;
  int FWidth = 0, FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
  std::unique_ptr<TBitmapCanvas> FCanvas;
};

// A BMP file: reads 1, 4, 8 (palette), 16, 24 and 32 bits per pixel, uncompressed or with
// bit-field masks, top-down or bottom-up. Raises EInvalidGraphic on anything else.
QImage ReadBmpImage(TStream* Stream);
// Writes 24 bits per pixel (32 when Bits is 32), bottom-up rows.
void WriteBmpImage(TStream* Stream, const QImage& Image, int Bits = 24);

class TPicture : public TPersistent {
 public:
  TPicture();
  ~TPicture() override;

  TGraphic* Graphic() const { return FGraphic.get(); }
  // Stores a copy of Value (of its own class), or empties the picture for null.
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap: an empty bitmap replaces a graphic of another class.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
  int Width() const { return FGraphic ? FGraphic->Width() : 0; }
  int Height() const { return FGraphic ? FGraphic->Height() : 0; }

  // The graphic class is chosen by the file's extension (registered graphic classes).
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);
  void Assign(TPersistent* Source) override;

  // Clipboard formats and the graphic classes that read them (CF_BITMAP: TBitmap); a format
  // registered again takes the newer class.
  static void RegisterClipboardFormat(WORD AFormat, const TClassInfo* GraphicClass);
  static bool SupportsClipboardFormat(WORD AFormat);
  static std::vector<WORD> ClipboardFormatList();
  // A new graphic of the format's class reads the data (EInvalidGraphic for an unregistered
  // format); saving hands the graphic's own clipboard form out (nothing when empty).
  void LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE APalette);
  void SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette);

  TNotifyEvent OnChange;

 protected:
  void DefineProperties(TFiler* Filer) override;
  void AssignTo(TPersistent* Dest) override;
  virtual void Changed(TObject* Sender);

 private:
  void SetOwnedGraphic(TGraphic* Value);
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);

  std::unique_ptr<TGraphic> FGraphic;
};

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool Value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // Where the picture is drawn inside the control.
  TRect DestRect() const;

  TNotifyEvent OnProgress;

 protected:
  void Paint() override;

 private:
  void PictureChanged(TObject* Sender);

  std::unique_ptr<TPicture> FPicture;
  bool FAutoSize = false;
  bool FStretch = false;
  bool FCenter = false;
  bool FProportional = false;
  bool FTransparent = false;
};

// Registers the graphic classes (TBitmap for "bmp"), TPicture and TImage with their
// properties. Called by RegisterGuiClasses.
void RegisterPictureClasses();
