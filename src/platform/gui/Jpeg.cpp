#include "platform/gui/Jpeg.h"

#include <jpeglib.h>

#include <QImage>
#include <csetjmp>
#include <cstdio>

#include "platform/rtl/Streaming.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/TypInfo.h"

namespace {

// libjpeg reports fatal errors through a handler that must not return: jump back out.
struct TErrorManager {
  jpeg_error_mgr Base;
  std::jmp_buf Jump;
  char Message[JMSG_LENGTH_MAX] = {};
};

void ErrorExit(j_common_ptr info) {
  auto* err = reinterpret_cast<TErrorManager*>(info->err);
  info->err->format_message(info, err->Message);
  std::longjmp(err->Jump, 1);
}

void SilentMessage(j_common_ptr) {}

}  // namespace

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::Width() const { return FBitmap ? FBitmap->Width() : FWidth; }
int TJPEGImage::Height() const { return FBitmap ? FBitmap->Height() : FHeight; }

void TJPEGImage::SetCompressionQuality(int Value) { FQuality = std::clamp(Value, 1, 100); }

void TJPEGImage::ReadHeader() {
  jpeg_decompress_struct info;
  TErrorManager err;
  info.err = jpeg_std_error(&err.Base);
  err.Base.error_exit = ErrorExit;
  err.Base.output_message = SilentMessage;
  if (setjmp(err.Jump)) {
    jpeg_destroy_decompress(&info);
    throw EJPEG(Format("JPEG error: %s", {std::string(err.Message)}));
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, FData.data(), static_cast<unsigned long>(FData.size()));
  jpeg_read_header(&info, TRUE);
  FWidth = int(info.image_width);
  FHeight = int(info.image_height);
  FGrayscale = info.jpeg_color_space == JCS_GRAYSCALE;
  jpeg_destroy_decompress(&info);
}

void TJPEGImage::DIBNeeded() {
  if (FBitmap || FData.empty()) return;
  jpeg_decompress_struct info;
  TErrorManager err;
  info.err = jpeg_std_error(&err.Base);
  err.Base.error_exit = ErrorExit;
  err.Base.output_message = SilentMessage;
  QImage image;
  if (setjmp(err.Jump)) {
    jpeg_destroy_decompress(&info);
    throw EJPEG(Format("JPEG error: %s", {std::string(err.Message)}));
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, FData.data(), static_cast<unsigned long>(FData.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
  std::vector<JSAMPLE> row(size_t(info.output_width) * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {row.data()};
    int y = int(info.output_scanline);
    jpeg_read_scanlines(&info, rows, 1);
    auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (JDIMENSION x = 0; x < info.output_width; ++x)
      dst[x] = qRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  FBitmap = std::make_unique<TBitmap>();
  FBitmap->SetImage(image);
}

TBitmap* TJPEGImage::Bitmap() {
  DIBNeeded();
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return FBitmap.get();
}

void TJPEGImage::Compress() {
  if (!FBitmap) return;
  QImage image = FBitmap->ToImage();
  jpeg_compress_struct info;
  TErrorManager err;
  info.err = jpeg_std_error(&err.Base);
  err.Base.error_exit = ErrorExit;
  err.Base.output_message = SilentMessage;
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  if (setjmp(err.Jump)) {
    jpeg_destroy_compress(&info);
    free(out);
    throw EJPEG(Format("JPEG error: %s", {std::string(err.Message)}));
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &out, &outSize);
  info.image_width = JDIMENSION(image.width());
  info.image_height = JDIMENSION(image.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, FQuality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(size_t(image.width()) * 3);
  while (info.next_scanline < info.image_height) {
    auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(int(info.next_scanline)));
    for (int x = 0; x < image.width(); ++x) {
      row[3 * x] = JSAMPLE(qRed(src[x]));
      row[3 * x + 1] = JSAMPLE(qGreen(src[x]));
      row[3 * x + 2] = JSAMPLE(qBlue(src[x]));
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  FData.assign(out, out + outSize);
  free(out);
  FWidth = image.width();
  FHeight = image.height();
  FGrayscale = false;
}

void TJPEGImage::Assign(TPersistent* Source) {
  if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
    FData = j->FData;
    FWidth = j->FWidth;
    FHeight = j->FHeight;
    FGrayscale = j->FGrayscale;
    FQuality = j->FQuality;
    FBitmap.reset();
    if (FData.empty() && j->FBitmap) {
      FBitmap = std::make_unique<TBitmap>();
      FBitmap->Assign(j->FBitmap.get());
    }
    Changed(this);
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    FBitmap = std::make_unique<TBitmap>();
    FBitmap->Assign(g);
    FData.clear();
    Compress();
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TJPEGImage::AssignTo(TPersistent* Dest) {
  if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
    b->Assign(Bitmap());
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  int64_t size = Stream->Size() - Stream->Position();
  std::vector<uint8_t> data(size_t(std::max<int64_t>(size, 0)));
  if (size > 0) Stream->ReadBuffer(data.data(), size);
  FData = std::move(data);
  FBitmap.reset();
  FWidth = FHeight = 0;
  if (!FData.empty()) ReadHeader();
  Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  if (FData.empty() && FBitmap) Compress();
  if (!FData.empty()) Stream->WriteBuffer(FData.data(), int64_t(FData.size()));
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  DIBNeeded();
  if (FBitmap) ACanvas->StretchDraw(Rect, FBitmap.get());
}

void RegisterJpegClasses() {
  RegisterClass<TJPEGImage, TGraphic>();
  RegisterGraphicClass("jpeg", "JPEG Image File", FindClassInfo(typeid(TJPEGImage)));
  RegisterGraphicClass("jpg", "JPEG Image File", FindClassInfo(typeid(TJPEGImage)));
}
