// Frame controls in the classic look: check boxes, radio images and masks, push buttons and
// scroll arrows, read back pixel by pixel, with a sheet of them.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "common/TestEnv.h"
#include "platform/win/DeviceContext.h"
#include "platform/win/Windows.h"

namespace {

struct TCell {
  QImage Image;
  HDC DC;
  TCell(int w, int h, uint32_t fill) : Image(w, h, QImage::Format_RGB32) {
    Image.fill(fill);
    DC = CreateImageDC(&Image);
  }
  ~TCell() { DeleteDC(DC); }
  uint32_t At(int x, int y) const { return Image.pixel(x, y) & 0xFFFFFF; }
};

uint32_t Sys(int index) {
  COLORREF c = GetSysColor(index);
  return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace

TEST(GdiFrames, RadioMaskImageAndCheckBox) {
  const uint32_t kRed = 0xFF0000;
  for (int size : {12, 13, 16}) {
    // The mask paints every pixel of its cell and nothing outside it.
    TCell mask(size + 4, size + 4, kRed);
    RECT cell{2, 2, 2 + size, 2 + size};
    ASSERT_TRUE(DrawFrameControl(mask.DC, &cell, DFC_BUTTON, DFCS_BUTTONRADIOMASK));
    int black = 0;
    for (int y = 0; y < size + 4; ++y)
      for (int x = 0; x < size + 4; ++x) {
        bool in = x >= 2 && y >= 2 && x < 2 + size && y < 2 + size;
        uint32_t p = mask.At(x, y);
        if (!in) EXPECT_EQ(p, kRed) << size << ": outside at " << x << "," << y;
        else EXPECT_TRUE(p == 0 || p == 0xFFFFFF) << size << ": " << x << "," << y;
        if (p == 0) ++black;
      }
    EXPECT_EQ(mask.At(2, 2), 0xFFFFFFu) << "corners are outside the button";
    EXPECT_EQ(mask.At(2 + size / 2, 2 + size / 2), 0u);
    EXPECT_GT(black, size * size / 2);

    // The image leaves the corners alone, and where the mask is black it paints.
    TCell image(size + 4, size + 4, kRed);
    DrawFrameControl(image.DC, &cell, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    EXPECT_EQ(image.At(2, 2), kRed);
    for (int y = 2; y < 2 + size; ++y)
      for (int x = 2; x < 2 + size; ++x)
        EXPECT_EQ(image.At(x, y) != kRed, mask.At(x, y) == 0) << size << ": image and mask agree at " << x << "," << y;
    EXPECT_EQ(image.At(2 + size / 2, 2 + size / 2), Sys(COLOR_WINDOWTEXT)) << "the dot";
    EXPECT_EQ(image.At(2 + size / 2, 2), Sys(COLOR_BTNSHADOW)) << "upper ring";
    EXPECT_EQ(image.At(2 + size / 2, 1 + size), Sys(COLOR_BTNHIGHLIGHT)) << "lower ring";
    TCell unchecked(size + 4, size + 4, kRed);
    DrawFrameControl(unchecked.DC, &cell, DFC_BUTTON, DFCS_BUTTONRADIO);
    EXPECT_EQ(unchecked.At(2 + size / 2, 2 + size / 2), Sys(COLOR_WINDOW));
  }

  TCell box(13, 13, 0xFF0000);
  RECT r{0, 0, 13, 13};
  DrawFrameControl(box.DC, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  EXPECT_EQ(box.At(0, 6), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(box.At(1, 6), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(box.At(12, 6), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(box.At(2, 2), Sys(COLOR_WINDOW));
  EXPECT_EQ(box.At(5, 7), Sys(COLOR_WINDOWTEXT)) << "the tick's lowest column";
  TCell grey(13, 13, 0xFF0000);
  DrawFrameControl(grey.DC, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
  EXPECT_EQ(grey.At(2, 2), Sys(COLOR_BTNFACE));
  EXPECT_EQ(grey.At(5, 7), Sys(COLOR_BTNSHADOW));

  // The sheet.
  TCell sheet(160, 40, Sys(COLOR_BTNFACE));
  const UINT states[] = {DFCS_BUTTONCHECK, DFCS_BUTTONCHECK | DFCS_CHECKED, DFCS_BUTTONRADIO,
                         DFCS_BUTTONRADIO | DFCS_CHECKED, DFCS_BUTTONRADIOMASK, DFCS_BUTTONPUSH,
                         DFCS_BUTTONPUSH | DFCS_PUSHED};
  int x = 4;
  for (UINT s : states) {
    RECT c{x, 4, x + 13, 17};
    DrawFrameControl(sheet.DC, &c, DFC_BUTTON, s);
    x += 20;
  }
  x = 4;
  for (UINT s : {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT | DFCS_INACTIVE}) {
    RECT c{x, 20, x + 17, 37};
    DrawFrameControl(sheet.DC, &c, DFC_SCROLL, s);
    x += 20;
  }
  std::filesystem::path dir;
  if (const char* d = std::getenv("SONALIX_SHEETS_DIR")) dir = d;
  else dir = sonalix::test::MakeTempDir("sheets");
  std::filesystem::create_directories(dir);
  ASSERT_TRUE(sheet.Image.scaled(640, 160).save(QString::fromStdString((dir / "gdi-frames.png").string())));
}
