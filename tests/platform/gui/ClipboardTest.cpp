// Bitmaps and pictures through the desktop clipboard (Qt's, on the offscreen platform here).
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "platform/gui/Clipbrd.h"
#include "platform/gui/CustomForms.h"
#include "platform/gui/Pictures.h"
#include "platform/win/DeviceContext.h"

namespace {

QImage Pattern(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 30, y * 50, (x * y * 7) & 0xFF));
  return img;
}

void ExpectSamePixels(const QImage& got, const QImage& want) {
  ASSERT_EQ(got.size(), want.size());
  for (int y = 0; y < want.height(); ++y)
    for (int x = 0; x < want.width(); ++x)
      EXPECT_EQ(got.pixel(x, y) & 0xFFFFFF, want.pixel(x, y) & 0xFFFFFF) << x << "," << y;
}

}  // namespace

TEST(Clipboard, BitmapsAndPicturesRoundTrip) {
  RegisterGuiClasses();
  QClipboard* qt = QGuiApplication::clipboard();
  ASSERT_TRUE(qt);
  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));

  // Ours in, the desktop's image out, and back into a picture and a bitmap.
  const QImage pattern = Pattern(7, 5);
  TBitmap source;
  source.SetImage(pattern);
  Clipboard()->Assign(&source);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
  ExpectSamePixels(qt->image(), pattern);
  TPicture picture;
  picture.Assign(Clipboard());
  auto* read = dynamic_cast<TBitmap*>(picture.Graphic());
  ASSERT_TRUE(read);
  ExpectSamePixels(read->ToImage(), pattern);

  // What another program put there reads as a bitmap; a picture holding a bitmap goes in too.
  const QImage foreign = Pattern(3, 9).mirrored(true, false);
  qt->setImage(foreign);
  TBitmap fromDesktop;
  fromDesktop.Assign(Clipboard());
  ExpectSamePixels(fromDesktop.ToImage(), foreign);
  Clipboard()->Assign(&picture);
  ExpectSamePixels(qt->image(), pattern);

  // An empty clipboard has nothing to give.
  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_BITMAP));
  EXPECT_EQ(Clipboard()->GetAsHandle(CF_BITMAP), nullptr);
  EXPECT_THROW(picture.Assign(Clipboard()), EConvertError);
  ExpectSamePixels(read->ToImage(), pattern);
  EXPECT_THROW(picture.LoadFromClipboardFormat(CF_BITMAP, nullptr, nullptr), EInvalidGraphic);
  EXPECT_THROW(picture.LoadFromClipboardFormat(0x7777, nullptr, nullptr), EInvalidGraphic);
  EXPECT_TRUE(TPicture::SupportsClipboardFormat(CF_BITMAP));
}

TEST(Clipboard, SystemCallsNeedTheClipboardOpen) {
  HBITMAP h = CreateBitmapFromImage(Pattern(2, 2));
  EXPECT_EQ(SetClipboardData(CF_BITMAP, h), nullptr);
  EXPECT_NE(FindBitmap(h), nullptr) << "a refused bitmap stays the caller's";
  EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_FALSE(CloseClipboard());

  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_EQ(SetClipboardData(1, h), nullptr) << "only bitmaps are exchanged";
  EXPECT_EQ(SetClipboardData(CF_BITMAP, h), h);
  EXPECT_EQ(FindBitmap(h), nullptr) << "the clipboard took the bitmap";
  HANDLE first = GetClipboardData(CF_BITMAP);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(FindBitmap(static_cast<HBITMAP>(first))->Image.size(), QSize(2, 2));
  EXPECT_TRUE(CloseClipboard());
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_FALSE(IsClipboardFormatAvailable(1));
}
