#include <gtest/gtest.h>

#include <QImage>

#include "PngFiles.h"
#include "controls/PngImage.h"
#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Streaming.h"
#include "platform/win/QtWindows.h"

using namespace pngfiles;

// A window description keeps a PNG picture as picture data and gives it back whole; the window
// then paints it blended over its own colour.
TEST(PngPicture, StoredInDescriptionsAndPainted) {
  RegisterGuiClasses();
  RegisterPngClasses();
  TPngShape shape;
  shape.Width = 9, shape.Height = 6, shape.ColorType = 6, shape.BitDepth = 8;
  Bytes file = WritePng(shape, RandomRows(shape));
  TRgbaImage ref = ReadPng(file);
  TMemoryStream s;
  s.WriteBuffer(file.data(), int64_t(file.size()));
  s.SetPosition(0);
  TPNGObject png;
  png.LoadFromStream(&s);

  TForm form(nullptr);
  form.SetBounds(0, 0, 120, 90);
  auto* image = new TImage(&form);
  image->SetName("Picture1");
  image->SetParent(&form);
  image->SetBounds(10, 10, 9, 6);
  image->Picture()->SetGraphic(&png);
  std::string text = WriteComponentToText(&form);
  TForm copy(nullptr);
  ReadComponentFromText(&copy, text);
  auto* read = dynamic_cast<TImage*>(copy.FindComponent("Picture1"));
  ASSERT_TRUE(read);
  auto* readPng = dynamic_cast<TPNGObject*>(read->Picture()->Graphic());
  ASSERT_TRUE(readPng);
  EXPECT_EQ(readPng->ToImage(), png.ToImage());

  copy.Show();
  PaintWindowNow(copy.Handle());
  QImage* buffer = GetWindowBackBuffer(copy.Handle());
  ASSERT_TRUE(buffer);
  const uint32_t face = ColorToRGB(copy.Color());
  const uint32_t back = (uint32_t(GetRValue(face)) << 16) | (uint32_t(GetGValue(face)) << 8) | GetBValue(face);
  for (int y = 0; y < shape.Height; ++y)
    for (int x = 0; x < shape.Width; ++x) {
      uint32_t src = ref.At(x, y), a = src >> 24, want = 0;
      for (int sh = 0; sh < 24; sh += 8)
        want |= ((((src >> sh) & 0xFF) * a + ((back >> sh) & 0xFF) * (255 - a) + 255) >> 8 & 0xFF) << sh;
      EXPECT_EQ(buffer->pixel(10 + x, 10 + y) & 0xFFFFFF, want) << x << "," << y;
    }
}
