// PNG images through the clipboard: drawn on a bitmap going out, read back as an opaque RGB
// image, compared pixel by pixel with libpng's reading of the same file.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "PngFiles.h"
#include "controls/PngImage.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/CustomForms.h"

using namespace pngfiles;

namespace {

void Load(TPNGObject& png, const Bytes& file) {
  TMemoryStream s;
  s.WriteBuffer(file.data(), int64_t(file.size()));
  s.SetPosition(0);
  png.LoadFromStream(&s);
}

}  // namespace

TEST(PngClipboard, RoundTripThroughTheDesktopClipboard) {
  RegisterGuiClasses();
  RegisterPngClasses();
  QClipboard* qt = QGuiApplication::clipboard();
  ASSERT_TRUE(qt);

  struct TCase {
    const char* Name;
    int ColorType, BitDepth;
  };
  const TCase cases[] = {{"RGB", 2, 8}, {"palette", 3, 4}, {"grey+alpha", 4, 8}, {"RGBA", 6, 8}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TPngShape shape;
    shape.Width = 11, shape.Height = 7, shape.ColorType = c.ColorType, shape.BitDepth = c.BitDepth;
    Bytes file = WritePng(shape, RandomRows(shape));
    TRgbaImage ref = ReadPng(file);
    TPNGObject png;
    Load(png, file);

    WORD format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    png.SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(format, CF_BITMAP);
    ASSERT_NE(data, nullptr);
    Clipboard()->SetAsHandle(format, data);

    // Opaque pixels as they are, transparent ones over white, partial ones in between.
    QImage board = qt->image();
    ASSERT_EQ(board.size(), QSize(11, 7));
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 11; ++x) {
        uint32_t want = ref.At(x, y), got = board.pixel(x, y) & 0xFFFFFF;
        uint32_t alpha = want >> 24;
        for (int shift : {0, 8, 16}) {
          uint32_t w = (want >> shift) & 0xFF, g = (got >> shift) & 0xFF;
          if (alpha == 255) EXPECT_EQ(g, w) << x << "," << y;
          else if (alpha == 0) EXPECT_EQ(g, 255u) << x << "," << y;
          else EXPECT_TRUE(g + 1 >= w && g <= 255) << x << "," << y;
        }
      }

    // Read back: an opaque RGB image of what the clipboard holds.
    TPNGObject back;
    back.LoadFromClipboardFormat(CF_BITMAP, Clipboard()->GetAsHandle(CF_BITMAP), nullptr);
    ASSERT_TRUE(back.HasHeaderChunk());
    EXPECT_EQ(back.HeaderChunk()->ColorType, 2);
    EXPECT_EQ(back.TransparencyKind(), ptkNone);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 11; ++x) EXPECT_EQ(back.ReadPixel(x, y), RGB(qRed(board.pixel(x, y)), qGreen(board.pixel(x, y)), qBlue(board.pixel(x, y)))) << x << "," << y;
  }

  // Reading what is not a bitmap fails and keeps the image as it was.
  TPngShape shape;
  TPNGObject png;
  Load(png, WritePng(shape, RandomRows(shape)));
  EXPECT_THROW(png.LoadFromClipboardFormat(1, nullptr, nullptr), EInvalidGraphic);
  EXPECT_THROW(png.LoadFromClipboardFormat(CF_BITMAP, nullptr, nullptr), EInvalidGraphic);
  EXPECT_EQ(png.Width(), shape.Width);
  EXPECT_EQ(png.HeaderChunk()->ColorType, 2);
}
