#pragma once
// JPEG pictures over libjpeg: the file's bytes are kept as read (saving writes them back
// unchanged) and decoded into a bitmap when first drawn or asked for; a JPEG made from another
// graphic is compressed at CompressionQuality.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gui/Pictures.h"

SONALIX_DECLARE_EXCEPTION(EJPEG, EInvalidGraphic);

class TJPEGImage : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;

  int Width() const override;
  int Height() const override;
  bool Grayscale() const { return FGrayscale; }
  // 1..100; used when compressing.
  int CompressionQuality() const { return FQuality; }
  void SetCompressionQuality(int Value);
  // Compresses the current pixels (after Assign from a bitmap).
  void Compress();
  // Decodes the data into the bitmap when not yet done.
  void DIBNeeded();
  TBitmap* Bitmap();

  void Assign(TPersistent* Source) override;
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void AssignTo(TPersistent* Dest) override;

 private:
  void ReadHeader();
  std::vector<uint8_t> FData;
  std::unique_ptr<TBitmap> FBitmap;
  int FWidth = 0, FHeight = 0;
  bool FGrayscale = false;
  int FQuality = 90;
};

// Registers TJPEGImage for "jpeg" and "jpg".
void RegisterJpegClasses();
