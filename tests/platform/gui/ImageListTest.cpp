// The handle-based image list and the component over it: adding (plain, masked, strips),
// removing, drawing read back as pixels, and the stream form.
#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <memory>
#include <string>

#include "platform/gui/ImgList.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Streaming.h"
#include "platform/rtl/Streams.h"
#include "platform/win/DeviceContext.h"

namespace {

std::unique_ptr<TBitmap> Picture(int W, int H, uint32_t Left, uint32_t Right, TPixelFormat Format = pf24bit) {
  QImage img(W, H, QImage::Format_ARGB32);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) img.setPixel(x, y, (x % 8) < 4 ? Left : Right);
  auto b = std::make_unique<TBitmap>();
  b->SetImage(img);
  b->SetPixelFormat(Format);
  return b;
}

uint32_t At(TBitmap* b, int x, int y) { return b->ToImage().pixel(x, y) & 0xFFFFFF; }

std::unique_ptr<TBitmap> Canvas8(uint32_t Fill) {
  auto b = std::make_unique<TBitmap>();
  QImage img(8, 8, QImage::Format_RGB32);
  img.fill(Fill);
  b->SetImage(img);
  return b;
}

}  // namespace

TEST(ImageList, AddMaskedStripsAndDrawOverTheBackground) {
  TCustomImageList list(nullptr);
  list.SetSize(8, 8);
  int changes = 0;
  TChangeLink link;
  link.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  list.RegisterChanges(&link);

  // Three images side by side in one bitmap; a narrower one is refused.
  auto strip = Picture(24, 8, 0xFFFF0000u, 0xFFFF00FFu);
  EXPECT_EQ(list.AddMasked(strip.get(), TColor(0x00FF00FF)), 0);
  EXPECT_EQ(list.Count(), 3);
  auto narrow = Picture(4, 8, 0xFF00FF00u, 0xFF00FF00u);
  EXPECT_EQ(list.Add(narrow.get(), nullptr), -1);
  auto alpha = Picture(8, 8, 0xFF00FF00u, 0x00000000u, pf32bit);
  EXPECT_EQ(list.Add(alpha.get(), nullptr), 3);
  EXPECT_GE(changes, 2);

  struct TCase {
    int Index;
    UINT Style;
    TPoint P;
    uint32_t Expected;
  };
  const TCase cases[] = {
      {0, ILD_NORMAL, {1, 1}, 0xFF0000}, {0, ILD_NORMAL, {6, 1}, 0x123456},  // key colour shows the back
      {3, ILD_NORMAL, {1, 1}, 0x00FF00}, {3, ILD_NORMAL, {6, 1}, 0x123456},  // alpha 0 shows the back
      {0, ILD_MASK, {6, 1}, 0xFFFFFF},   {0, ILD_MASK, {1, 1}, 0x000000},
  };
  for (const TCase& t : cases) {
    auto back = Canvas8(0xFF123456u);
    ASSERT_TRUE(ImageList_Draw(list.Handle(), t.Index, back->Canvas()->Handle(), 0, 0, t.Style));
    EXPECT_EQ(At(back.get(), t.P.X, t.P.Y), t.Expected) << t.Index << " " << t.Style;
  }
  EXPECT_FALSE(ImageList_Draw(list.Handle(), 9, Canvas8(0)->Canvas()->Handle(), 0, 0, ILD_NORMAL));

  // The strip form of the images and their masks.
  IMAGEINFO info;
  ASSERT_TRUE(ImageList_GetImageInfo(list.Handle(), 2, &info));
  EXPECT_EQ(TRect(info.rcImage), TRect(16, 0, 24, 8));
  EXPECT_EQ(FindBitmap(info.hbmMask)->BitsPerPixel, 1);
  EXPECT_EQ(FindBitmap(info.hbmImage)->Image.width(), 32);
  DeleteObject(info.hbmImage);
  DeleteObject(info.hbmMask);

  list.Delete(1);
  EXPECT_EQ(list.Count(), 3);
  list.SetWidth(0);
  EXPECT_EQ(list.Width(), 1);
  EXPECT_EQ(list.Count(), 0) << "a new size drops the images";
  list.UnRegisterChanges(&link);
  EXPECT_EQ(link.Sender(), nullptr);
}

TEST(ImageList, StreamRoundTripAndDamagedStreams) {
  HIMAGELIST a = ImageList_Create(8, 8, ILC_MASK | ILC_COLOR32, 4, 4);
  auto pic = Picture(16, 8, 0xFF102030u, 0xFFFF00FFu);
  ImageList_AddMasked(a, pic->Handle(), RGB(255, 0, 255));
  TMemoryStream s;
  ASSERT_TRUE(ImageList_Write(a, &s));
  s.SetPosition(0);
  HIMAGELIST b = ImageList_Read(&s);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(b), 2);
  TMemoryStream t;
  ImageList_Write(b, &t);
  ASSERT_EQ(t.Size(), s.Size());
  EXPECT_EQ(0, memcmp(t.Memory(), s.Memory(), size_t(s.Size())));

  // Cut short, or a count the bytes cannot hold: nothing is made.
  for (int64_t keep : {int64_t(3), int64_t(20), s.Size() - 1}) {
    TMemoryStream cut;
    cut.WriteBuffer(s.Memory(), keep);
    cut.SetPosition(0);
    EXPECT_EQ(ImageList_Read(&cut), nullptr) << keep;
  }
  TMemoryStream big;
  big.WriteBuffer(s.Memory(), 20);
  const int32_t huge = 1 << 30;
  big.WriteBuffer(&huge, 4);
  big.SetPosition(0);
  EXPECT_EQ(ImageList_Read(&big), nullptr);
  ImageList_Destroy(a);
  ImageList_Destroy(b);
}

// The list's images are stored as "Bitmap" data in descriptions and read back whole; damaged
// data is an error and leaves the list's images alone.
TEST(ImageList, BitmapDataInDescriptions) {
  if (!FindClassInfo(typeid(TCustomImageList))) RegisterClass<TCustomImageList, TComponent>();
  TCustomImageList list(nullptr);
  list.SetSize(8, 8);
  auto strip = Picture(16, 8, 0xFFFF0000, 0xFF0000FF);
  ASSERT_EQ(list.AddMasked(strip.get(), TColor(0xFF0000)), 0);  // blue keyed out
  const std::string text = WriteComponentToText(&list);
  ASSERT_NE(text.find("Bitmap = hex"), std::string::npos) << text;

  TCustomImageList back(nullptr);
  ReadComponentFromText(&back, text);
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.Width(), 8);
  TMemoryStream a, b;
  ImageList_Write(list.Handle(), &a);
  ImageList_Write(back.Handle(), &b);
  ASSERT_EQ(a.Size(), b.Size());
  EXPECT_EQ(std::memcmp(a.Memory(), b.Memory(), size_t(a.Size())), 0);
  auto target = Canvas8(0xFF00FF00);
  back.Draw(target->Canvas(), 0, 0, 0);
  EXPECT_EQ(At(target.get(), 1, 1), 0xFF0000u);
  EXPECT_EQ(At(target.get(), 5, 1), 0x00FF00u) << "the keyed half shows the background";

  // An empty list stores nothing; cut-short data is refused.
  TCustomImageList empty(nullptr);
  EXPECT_EQ(WriteComponentToText(&empty).find("Bitmap"), std::string::npos);
  const size_t cut = text.find("Bitmap = hex {") + 14;
  std::string damaged = text.substr(0, cut) + "\n    5358494C01000000\n  }\n}\n";
  EXPECT_THROW(ReadComponentFromText(&back, damaged), EReadError);
  EXPECT_EQ(back.Count(), 2);
}
