// Glow frames: the layered window's fade on the test clock, through the system entry where it
// exists, and nothing drawn where it does not.
#include <gtest/gtest.h>

#include "ControlsScene.h"
#include "controls/spLayers.h"
#include "platform/sys/Modules.h"
#include "platform/win/GdiExtras.h"

using namespace controlstest;

namespace {

// Every call of the system entry, with the constant alpha it was given.
std::vector<int> gDraws;
TUpdateLayeredWindowProc gReal = nullptr;

BOOL CountingUpdate(HWND h, HDC d, POINT* p, SIZE* s, HDC src, POINT* sp, COLORREF k, BLENDFUNCTION* b, DWORD f) {
  gDraws.push_back(b ? b->SourceConstantAlpha : -1);
  return gReal(h, d, p, s, src, sp, k, b, f);
}

void Glow(TspBitmap& image, TspBitmap& mask) {
  image.SetSize(20, 10);
  mask.SetSize(20, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      image.SetPixel(x, y, 0xFF40C0FF);
      mask.SetPixel(x, y, x < 10 ? 0x00FFFFFF : 0x00808080);
    }
}

}  // namespace

TEST(spLayers, FadeInThroughTheSystemEntry) {
  TModuleTableGuard guard;
  gReal = GetProcAddressAs<TUpdateLayeredWindowProc>(GetModuleHandle("user32"), "UpdateLayeredWindow");
  ASSERT_NE(gReal, nullptr) << "the offscreen platform shows translucent windows";
  SetModuleEntryAs("user32.dll", "UpdateLayeredWindow", &CountingUpdate);
  TManualClock clock;
  gDraws.clear();
  TspLayerManager manager(nullptr);
  TspBitmap image, mask;
  Glow(image, mask);
  manager.ShowLayer(30, 40, 255, &mask, &image);
  ASSERT_TRUE(manager.LayerWindow());
  HWND h = manager.LayerWindow()->Handle();
  EXPECT_TRUE(GetWindowLong(h, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_TRUE(GetWindowLong(h, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_NE(GetActiveWindow(), h);
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r, (RECT{30, 40, 50, 50}));
  // Colours are limited to the mask's alpha: the grey half is at most 128.
  EXPECT_EQ(manager.LayerImage()->Pixel(15, 5), 0x80408080u);
  for (int i = 0; i < 12; ++i) clock.Advance(25);
  EXPECT_EQ(gDraws, (std::vector<int>{0, 25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}));
  EXPECT_FALSE(manager.FadeTimer()->Enabled());
  manager.HideLayer();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(manager.Showing());
}

TEST(spLayers, AStepOfZeroTakesTheTargetAtOnce) {
  TModuleTableGuard guard;
  gReal = GetProcAddressAs<TUpdateLayeredWindowProc>(GetModuleHandle("user32"), "UpdateLayeredWindow");
  SetModuleEntryAs("user32.dll", "UpdateLayeredWindow", &CountingUpdate);
  TManualClock clock;
  gDraws.clear();
  TspLayerManager manager(nullptr);
  TspBitmap image, mask;
  Glow(image, mask);
  manager.ShowLayer(0, 0, 7, &mask, &image);
  EXPECT_EQ(manager.AlphaStep(), 0);
  clock.Advance(25);
  clock.Advance(25);
  EXPECT_EQ(gDraws, (std::vector<int>{0, 7}));
  EXPECT_FALSE(manager.FadeTimer()->Enabled());
}

TEST(spLayers, WithoutTheEntryNothingIsDrawn) {
  TModuleTableGuard guard;
  SetModuleEntry("user32.dll", "UpdateLayeredWindow", nullptr);
  TManualClock clock;
  TspLayerManager manager(nullptr);
  TspBitmap image, mask;
  Glow(image, mask);
  manager.ShowLayer(0, 0, 255, &mask, &image);
  for (int i = 0; i < 12; ++i) clock.Advance(25);
  EXPECT_EQ(manager.CurrentAlpha(), 255) << "the fade runs; only the drawing is missing";
  manager.HideLayer();
  // Older systems: neither showing nor hiding does anything.
  TOSVersion saved = OSVersion(), old;
  old.Major = 4;
  SetOSVersion(old);
  manager.ShowLayer(0, 0, 255, &mask, &image);
  EXPECT_EQ(manager.LayerWindow(), nullptr);
  SetOSVersion(saved);
}

TEST(spLayers, TheEntryDrawsThePictureWithItsAlpha) {
  TspBitmap image;
  image.SetSize(4, 2);
  image.SetPixel(0, 0, 0x80400000);  // premultiplied blue-ish red at half coverage
  auto update = GetProcAddressAs<TUpdateLayeredWindowProc>(GetModuleHandle("user32"), "UpdateLayeredWindow");
  ASSERT_NE(update, nullptr);
  auto form = MakeForm(4, 2);
  HWND h = form->Handle();
  EXPECT_FALSE(update(h, nullptr, nullptr, nullptr, image.DC(), nullptr, 0, nullptr, ULW_ALPHA))
      << "not a layered window";
  SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED);
  BLENDFUNCTION blend;
  blend.AlphaFormat = AC_SRC_ALPHA;
  blend.SourceConstantAlpha = 255;
  POINT at{5, 6}, src{0, 0};
  SIZE size{4, 2};
  EXPECT_TRUE(update(h, nullptr, &at, &size, image.DC(), &src, 0, &blend, ULW_ALPHA));
  RECT r;
  GetWindowRect(h, &r);
  EXPECT_EQ(r, (RECT{5, 6, 9, 8}));
}
