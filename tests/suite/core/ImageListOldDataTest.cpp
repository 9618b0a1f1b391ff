// An image list stored by an older program holds its images only as the platform list's
// "Bitmap" data; reading it still gives the full image collection.
#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "platform/rtl/Streaming.h"
#include "suite/core/cxGraphics.h"

namespace {

// Two 2 x 2 images written out by hand in the list's stream form: a red one whose lower-right
// pixel is masked out (and cleared, as masked adding leaves it), and an opaque green one.
const char* const kOldDescription = R"(object Images: TcxImageList {
  Height = 2
  Width = 2
  Bitmap = hex {
    5358494C 01000000 02000000 02000000 21000000 02000000
    0000FFFF 0000FFFF 0000FFFF 00000000
    000000FF 000000FF 000000FF FFFFFFFF
    00FF00FF 00FF00FF 00FF00FF 00FF00FF
    000000FF 000000FF 000000FF 000000FF
  }
}
)";

uint32_t Rgb(TBitmap* b, int x, int y) { return b->ToImage().pixel(x, y) & 0xFFFFFF; }

}  // namespace

TEST(CxImageListOldData, BitmapDataBecomesTheCollection) {
  RegisterImageListClasses();
  TcxImageList list(nullptr);
  ReadComponentFromText(&list, kOldDescription);
  ASSERT_EQ(list.Count(), 2);
  ASSERT_EQ(list.ImageInfo()->Count(), 2);
  TcxImageInfoItem* red = list.ImageInfo()->Items(0);
  TcxImageInfoItem* green = list.ImageInfo()->Items(1);
  EXPECT_EQ(red->MaskColor(), clNone);
  EXPECT_EQ(red->Image()->Width(), 2);
  EXPECT_EQ(Rgb(red->Image(), 0, 0), 0xFF0000u);
  EXPECT_EQ(Rgb(green->Image(), 1, 1), 0x00FF00u);
  EXPECT_TRUE(red->Mask()->Monochrome());
  EXPECT_EQ(Rgb(red->Mask(), 0, 0), 0x000000u);
  EXPECT_EQ(Rgb(red->Mask(), 1, 1), 0xFFFFFFu) << "the masked pixel";

  // Written again it is a list of today: the collection, no platform data; and that reads back
  // to the same images.
  const std::string text = WriteComponentToText(&list);
  EXPECT_EQ(text.find("Bitmap ="), std::string::npos) << text;
  EXPECT_NE(text.find("ImageInfo"), std::string::npos);
  TcxImageList again(nullptr);
  ReadComponentFromText(&again, text);
  ASSERT_EQ(again.ImageInfo()->Count(), 2);
  EXPECT_TRUE(CompareImageLists(&list, &again));

  // Drawn, the masked pixel shows what is below.
  TBitmap target;
  target.SetSize(2, 2);
  target.Canvas()->Brush()->SetColor(TColor(0x804020));
  target.Canvas()->FillRect(TRect(0, 0, 2, 2));
  again.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(Rgb(&target, 0, 0), 0xFF0000u);
  EXPECT_EQ(Rgb(&target, 1, 1), 0x204080u);
}
