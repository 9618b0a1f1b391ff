// Bitmaps read and written as BMP files, pictures stored in descriptions, JPEG files through
// libjpeg checked against Qt's own reader, and the image control's pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <vector>

#include "common/TestEnv.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Jpeg.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Streaming.h"
#include "platform/rtl/Streams.h"
#include "platform/win/QtWindows.h"

namespace {

QImage Pattern(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 40 % 256, y * 60 % 256, (x + y) * 25 % 256));
  return img;
}

void Put16(std::vector<uint8_t>& v, int x) {
  v.push_back(uint8_t(x));
  v.push_back(uint8_t(x >> 8));
}
void Put32(std::vector<uint8_t>& v, int64_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

// A BMP file made by hand: a 40-byte header, a palette for up to 8 bits, then Rows as given
// (each already padded), bottom row first unless Height is negative.
std::vector<uint8_t> HandMadeBmp(int Width, int Height, int Bits, const std::vector<uint32_t>& Palette,
                                 const std::vector<std::vector<uint8_t>>& Rows) {
  std::vector<uint8_t> pixels;
  for (auto& r : Rows) pixels.insert(pixels.end(), r.begin(), r.end());
  int off = 54 + int(Palette.size()) * 4;
  std::vector<uint8_t> f = {'B', 'M'};
  Put32(f, off + int64_t(pixels.size()));
  Put32(f, 0);
  Put32(f, off);
  Put32(f, 40);
  Put32(f, Width);
  Put32(f, Height);
  Put16(f, 1);
  Put16(f, Bits);
  Put32(f, 0);
  Put32(f, int64_t(pixels.size()));
  Put32(f, 0);
  Put32(f, 0);
  Put32(f, int64_t(Palette.size()));
  Put32(f, 0);
  for (uint32_t c : Palette) Put32(f, c);
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

QImage ReadBytes(const std::vector<uint8_t>& bytes) {
  TMemoryStream s;
  s.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  s.SetPosition(0);
  return ReadBmpImage(&s);
}

TEST(Pictures, BmpFilesRoundTripAndForeignLayoutsRead) {
  auto dir = sonalix::test::MakeTempDir("bmp");
  QImage source = Pattern(7, 5);  // odd width: rows need padding
  for (TPixelFormat format : {pf24bit, pf32bit}) {
    TBitmap bmp;
    bmp.SetImage(source);
    bmp.SetPixelFormat(format);
    std::string file = (dir / "a.bmp").string();
    bmp.SaveToFile(file);
    // Qt's reader agrees with what was written.
    QImage independent(QString::fromStdString(file));
    ASSERT_FALSE(independent.isNull());
    EXPECT_EQ(independent.convertToFormat(QImage::Format_RGB32), source) << int(format);
    TBitmap back;
    back.LoadFromFile(file);
    EXPECT_EQ(back.ToImage().convertToFormat(QImage::Format_RGB32), source) << int(format);
  }
  // 1 and 8 bits with palettes, a top-down file, 4 bits.
  const uint32_t red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
  struct Case {
    const char* Name;
    std::vector<uint8_t> Bytes;
    std::vector<std::vector<QRgb>> Expected;  // top row first
  };
  std::vector<Case> cases = {
      {"1 bit", HandMadeBmp(3, 2, 1, {red, blue}, {{0xA0, 0, 0, 0}, {0x40, 0, 0, 0}}),
       {{qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 0, 0)}, {qRgb(0, 0, 255), qRgb(255, 0, 0), qRgb(0, 0, 255)}}},
      {"4 bits", HandMadeBmp(2, 1, 4, {red, green, blue}, {{0x21, 0, 0, 0}}),
       {{qRgb(0, 0, 255), qRgb(0, 255, 0)}}},
      {"8 bits top-down", HandMadeBmp(2, -2, 8, {red, green, blue}, {{0, 1, 0, 0}, {2, 2, 0, 0}}),
       {{qRgb(255, 0, 0), qRgb(0, 255, 0)}, {qRgb(0, 0, 255), qRgb(0, 0, 255)}}},
  };
  for (const Case& c : cases) {
    QImage img = ReadBytes(c.Bytes);
    ASSERT_EQ(img.height(), int(c.Expected.size())) << c.Name;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        EXPECT_EQ(img.pixel(x, y) | 0xFF000000, c.Expected[y][x]) << c.Name << " " << x << "," << y;
  }
  // What is not a bitmap is refused.
  std::vector<uint8_t> truncated = cases[0].Bytes;
  truncated.resize(60);
  for (const auto& bad : {std::vector<uint8_t>(40, 'x'), truncated,
                          HandMadeBmp(2, 1, 7, {}, {{0, 0, 0, 0}})})
    EXPECT_THROW(ReadBytes(bad), EInvalidGraphic);
}

TEST(Pictures, ImageControlStoresItsPictureAndPaintsIt) {
  RegisterGuiClasses();
  TForm form(nullptr);
  form.SetBounds(0, 0, 120, 90);
  auto* image = new TImage(&form);
  image->SetName("Picture1");
  image->SetParent(&form);
  image->SetBounds(10, 10, 5, 5);
  image->SetAutoSize(true);
  QImage source = Pattern(30, 20);
  image->Picture()->Bitmap()->SetImage(source);
  EXPECT_EQ(image->Width(), 30);
  EXPECT_EQ(image->Height(), 20);
  // Written as picture data (the class name, then the bitmap file) and read back whole.
  std::string text = WriteComponentToText(&form);
  EXPECT_NE(text.find("Picture {"), std::string::npos) << text.substr(0, 400);
  TForm copy(nullptr);
  ReadComponentFromText(&copy, text);
  auto* read = dynamic_cast<TImage*>(copy.FindComponent("Picture1"));
  ASSERT_TRUE(read);
  ASSERT_TRUE(dynamic_cast<TBitmap*>(read->Picture()->Graphic()));
  EXPECT_EQ(read->Picture()->Bitmap()->ToImage().convertToFormat(QImage::Format_RGB32), source);
  // The form paints the image into its window.
  copy.Show();
  PaintWindowNow(copy.Handle());
  QImage* buffer = GetWindowBackBuffer(copy.Handle());
  ASSERT_TRUE(buffer);
  for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {29, 19}, {7, 13}})
    EXPECT_EQ(buffer->pixel(10 + x, 10 + y) | 0xFF000000, source.pixel(x, y)) << x << "," << y;
  // Stretched, the picture fills the control.
  read->SetAutoSize(false);
  read->SetBounds(0, 0, 60, 40);
  read->SetStretch(true);
  PaintWindowNow(copy.Handle());
  EXPECT_EQ(buffer->pixel(59, 39) | 0xFF000000, source.pixel(29, 19));
  EXPECT_EQ(buffer->pixel(1, 1) | 0xFF000000, source.pixel(0, 0));
}

TEST(Pictures, JpegFilesGoThroughTheGraphicClassRegistry) {
  RegisterGuiClasses();
  auto dir = sonalix::test::MakeTempDir("jpeg");
  EXPECT_EQ(GraphicClassForExtension("jpg"), FindClassInfo(typeid(TJPEGImage)));
  EXPECT_EQ(GraphicClassForExtension("jpeg"), FindClassInfo(typeid(TJPEGImage)));
  EXPECT_EQ(GraphicClassForExtension("bmp"), FindClassInfo(typeid(TBitmap)));
  // Flat colour blocks survive compression closely.
  QImage source(32, 16, QImage::Format_RGB32);
  source.fill(qRgb(200, 40, 40));
  for (int y = 0; y < 16; ++y)
    for (int x = 16; x < 32; ++x) source.setPixel(x, y, qRgb(30, 90, 220));
  TBitmap bmp;
  bmp.SetImage(source);
  TJPEGImage jpeg;
  jpeg.SetCompressionQuality(95);
  jpeg.Assign(&bmp);
  std::string file = (dir / "blocks.jpg").string();
  jpeg.SaveToFile(file);
  QImage independent(QString::fromStdString(file));
  ASSERT_FALSE(independent.isNull());
  EXPECT_EQ(independent.size(), QSize(32, 16));
  TPicture picture;
  picture.LoadFromFile(file);
  ASSERT_TRUE(dynamic_cast<TJPEGImage*>(picture.Graphic()));
  EXPECT_EQ(picture.Width(), 32);
  QImage decoded = static_cast<TJPEGImage*>(picture.Graphic())->Bitmap()->ToImage();
  for (auto [x, y] : std::vector<std::pair<int, int>>{{4, 8}, {27, 8}}) {
    QColor want = source.pixelColor(x, y), got = decoded.pixelColor(x, y), ref = independent.pixelColor(x, y);
    EXPECT_NEAR(got.red(), want.red(), 6);
    EXPECT_NEAR(got.blue(), want.blue(), 6);
    EXPECT_NEAR(got.red(), ref.red(), 2);
    EXPECT_NEAR(got.green(), ref.green(), 2);
  }
  // Reading keeps the file's bytes: saving writes them back unchanged.
  TMemoryStream saved;
  picture.Graphic()->SaveToStream(&saved);
  std::ifstream in(file, std::ios::binary);
  std::string original((std::istreambuf_iterator<char>(in)), {});
  ASSERT_EQ(saved.Size(), int64_t(original.size()));
  std::string bytes(original.size(), '\0');
  saved.SetPosition(0);
  saved.ReadBuffer(bytes.data(), saved.Size());
  EXPECT_EQ(bytes, original);
  // A broken file is an error of the graphic, and an unknown extension of the picture.
  std::ofstream(dir / "broken.jpg", std::ios::binary) << "\xFF\xD8\xFF\xE0garbage";
  EXPECT_THROW(picture.LoadFromFile((dir / "broken.jpg").string()), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromFile((dir / "picture.xyz").string()), EInvalidGraphic);
  EXPECT_TRUE(dynamic_cast<TJPEGImage*>(picture.Graphic()));
}

}  // namespace
