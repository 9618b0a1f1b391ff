// A gallery of the small controls as the main window uses them: horizontal and vertical sliders
// with ticks, two meters on a black panel, the bottom image panel and transport buttons
// enabled, disabled and pressed. Saved as a sheet to look at; a second test runs the gallery
// again on a real X server (Xvfb) and takes a screenshot of the window.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QWindow>
#include <cstdlib>
#include <filesystem>

#include "ControlsScene.h"
#include "common/TestEnv.h"
#include "controls/ImageSlider.h"
#include "controls/PngSpeedButton.h"
#include "controls/RzPrgres.h"
#include "controls/SUIImagePanel.h"
#include "controls/TransparentDraw.h"

using namespace controlstest;

namespace {

// A 24 x 24 transport glyph with soft edges: 0 play, 1 record, 2 pause, 3 stop.
std::unique_ptr<TPNGObject> TransportGlyph(int Kind) {
  QImage img(24, 24, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(Kind == 1 ? QColor(200, 30, 30) : QColor(40, 70, 120));
  switch (Kind) {
    case 0: {
      QPainterPath path;
      path.moveTo(7, 4);
      path.lineTo(20, 12);
      path.lineTo(7, 20);
      path.closeSubpath();
      p.drawPath(path);
      break;
    }
    case 1: p.drawEllipse(QRectF(5, 5, 14, 14)); break;
    case 2: p.drawRect(QRectF(6, 5, 4, 14)); p.drawRect(QRectF(14, 5, 4, 14)); break;
    default: p.drawRect(QRectF(6, 6, 12, 12)); break;
  }
  p.end();
  TBitmap bmp;
  bmp.SetPixelFormat(pf32bit);
  bmp.SetImage(img.convertToFormat(QImage::Format_RGB32));
  auto png = std::make_unique<TPNGObject>();
  png->Assign(&bmp);
  png->AddAlphaChannel();
  for (int y = 0; y < 24; ++y) {
    uint8_t* a = png->AlphaRowPointer(y);
    for (int x = 0; x < 24; ++x) a[x] = uint8_t(qAlpha(img.pixel(x, y)));
  }
  return png;
}

// The bottom panel's background: a soft vertical gradient.
void PanelBackground(TBitmap& b) {
  QImage img(8, 60, QImage::Format_RGB32);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 8; ++x) img.setPixel(x, y, qRgb(242 - y / 3, 225 - y / 4, 219 - y / 5));
  b.SetImage(img);
}

struct TGallery {
  std::unique_ptr<TForm> Form = MakeForm(640, 300);
  std::vector<TPngSpeedButton*> Buttons;
  TGallery() {
    RegisterSUIImagePanelClasses();
    RegisterRxCursors();
    Form->SetCaption("Small controls");
    auto* h = new TImageSlider(Form.get());
    h->SetParent(Form.get());
    h->SetBounds(20, 20, 260, 40);
    h->SetMaxValue(10);
    h->SetIncrement(1);
    h->SetOptions({soShowPoints});
    h->SetValue(7);
    h->SetColor(TColor(0xF2E1DB));
    auto* v = new TImageSlider(Form.get());
    v->SetParent(Form.get());
    v->SetOrientation(soVertical);
    v->SetBounds(300, 10, 44, 160);
    v->SetMinValue(-180);
    v->SetMaxValue(180);
    v->SetIncrement(30);
    v->SetOptions({soShowPoints, soSmooth});
    v->SetValue(60);
    auto* meter = new TPanel(Form.get());
    meter->SetParent(Form.get());
    meter->SetBounds(20, 80, 260, 28);
    meter->SetColor(clBlack);
    meter->SetBevelOuter(bvNone);
    int top = 10;
    for (int level : {62, 95}) {
      auto* bar = new TRzProgressBar(Form.get());
      bar->SetParent(meter);
      bar->SetBounds(6, top, 248, 7);
      bar->SetBarStyle(bsGradient);
      bar->SetGradientDirection(gdVerticalEnd);
      bar->SetBackColor(clBlack);
      bar->SetBackColorStop(clBlack);
      bar->SetBarColor(1314303);
      bar->SetBarColorStop(1341440);
      bar->SetBorderOuter(fsNone);
      bar->SetShowPercent(false);
      bar->SetThemeAware(false);
      bar->SetPercent(uint16_t(level));
      top += 7;
    }
    auto* bottom = new TsuiImagePanel(Form.get());
    bottom->SetParent(Form.get());
    bottom->SetAlign(alBottom);
    bottom->SetHeight(60);
    bottom->SetBorderWidth(1);
    bottom->SetDrawStyle(suiStretch);
    TBitmap back;
    PanelBackground(back);
    bottom->Picture()->SetGraphic(&back);
    for (int i = 0; i < 8; ++i) {
      auto* b = new TPngSpeedButton(Form.get());
      b->SetParent(bottom);
      b->SetBounds(12 + i * 40 + (i >= 4 ? 20 : 0), 12, 35, 35);
      b->SetFlat(true);
      b->SetLayout(blGlyphTop);
      b->SetSpacing(0);
      b->SetPngImage(TransportGlyph(i % 4).get());
      Buttons.push_back(b);
    }
    Buttons[5]->SetEnabled(false);
    Buttons[6]->SetEnabled(false);
    Buttons[6]->SetPngOptions({pngBlendOnDisabled, pngGrayscaleOnDisabled});
    Buttons[3]->SetGroupIndex(1);
    Buttons[3]->SetDown(true);
    Form->Show();
  }
};

TEST(Gallery, ShowsEveryControl) {
  TGallery g;
  TBitmap sheet;
  sheet.SetSize(g.Form->Width(), g.Form->Height());
  g.Form->PaintTo(sheet.Canvas()->Handle(), 0, 0);
  const QImage shot = sheet.ToImage().convertToFormat(QImage::Format_RGB32);
  // The pressed stop button draws its glyph one pixel on; a disabled record button is paler
  // than the enabled one.
  EXPECT_EQ(g.Buttons[3]->GlyphPos(), Point(6 + 1, 5 + 1));
  auto centre = [&](int i) {
    TPngSpeedButton* b = g.Buttons[size_t(i)];
    const TPoint at = b->ClientToParent(Point(17, 17), g.Form.get());
    return shot.pixelColor(at.X, at.Y);
  };
  EXPECT_EQ(centre(1), QColor(200, 30, 30));
  EXPECT_GT(centre(5).green(), 30);
  ASSERT_TRUE(shot.save(QString::fromStdString((sonalix::test::SheetDir() / "controls-gallery.png").string())));
  // On a real X server: the window as the screen shows it.
  if (const char* out = std::getenv("SONALIX_GALLERY_SCREENSHOT"); out && QGuiApplication::platformName() == "xcb") {
    QWindow* window = GetWindowWidget(g.Form->Handle())->windowHandle();
    for (int i = 0; i < 2000 && !window->isExposed(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_TRUE(window->isExposed());
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
    const QPixmap grab = window->screen()->grabWindow(window->winId());
    ASSERT_TRUE(grab.save(QString::fromUtf8(out)));
  }
}

// Runs the gallery under Xvfb and keeps the screenshot beside the sheets.
TEST(Gallery, ScreenshotUnderXvfb) {
  const std::filesystem::path shot = sonalix::test::SheetDir() / "controls-gallery-xvfb.png";
  std::filesystem::remove(shot);
  const auto run = sonalix::test::RunUnderXvfb("Gallery.ShowsEveryControl",
                                               {{"SONALIX_GALLERY_SCREENSHOT", shot.string()}});
  if (!run.Ran) GTEST_SKIP() << "xvfb-run is not installed";
  EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  QImage img(QString::fromStdString(shot.string()));
  ASSERT_FALSE(img.isNull());
  EXPECT_EQ(img.width(), 640);
}

}  // namespace
