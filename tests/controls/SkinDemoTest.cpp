// A demo panel of skinned controls on the recording skin, read from the form description made
// at build time: gauges, the vertical track bar, the six icon buttons in each state and the flat
// check box. Pictures are kept for a person to look at, also taken on a real X server (Xvfb).
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QWindow>
#include <filesystem>

#include "ControlsScene.h"
#include "common/TestEnv.h"
#include "controls/PngImage.h"
#include "controls/SkinCtrls.h"
#include "platform/rtl/Streaming.h"

using namespace controlstest;

namespace {

std::string ReadText(const std::string& path) {
  TStringStream s;
  TFileStream f(path, fmOpenRead);
  s.CopyFrom(&f, 0);
  return s.DataString();
}

struct TDemo {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TspSkinData* Data = nullptr;
  TCustomImageList* Icons = nullptr;
  std::vector<TspSkinButton*> Buttons;
  TspSkinGauge* Left = nullptr;
  TspSkinTrackBar* Volume = nullptr;
  TspSkinCheckRadioBox* Check = nullptr;

  explicit TDemo(std::string Description) {
    RegisterSkinControlClasses();
    ReadComponentFromText(Form.get(), Description, "SkinDemo.form");
    Data = dynamic_cast<TspSkinData*>(Form->FindComponent("SkinData"));
    Form->SetClientWidth(880);
    Form->SetClientHeight(220);
    Icons = new TCustomImageList(Form.get());
    Icons->SetWidth(24);
    Icons->SetHeight(24);
    for (int i = 0; i < 6; ++i) {
      TPNGObject png;
      png.LoadFromFile(std::string(SONALIX_SKIN_DIR) + "/icon" + IntToStr(i) + ".png");
      TBitmap b;
      b.SetPixelFormat(pf32bit);
      b.SetImage(png.ToImage());
      Icons->Add(&b, nullptr);
    }
    auto place = [&](TspSkinControl* c, int l, int t, int w, int h) {
      c->SetParent(Form.get());
      c->SetDrawDefault(false);
      c->SetSkinData(Data);
      c->SetBounds(l, t, w, h);
    };
    for (int i = 0; i < 2; ++i) {
      auto* g = new TspSkinGauge(Form.get());
      g->SetMaxValue(32512);
      g->SetValue(i == 0 ? 24000 : 9000);
      place(g, 10 + 24 * i, 12, 19, 193);
      if (i == 0) Left = g;
    }
    Volume = new TspSkinTrackBar(Form.get());
    Volume->SetSkinDataName("trackbar");
    Volume->SetMaxValue(65535);
    Volume->SetValue(40000);
    place(Volume, 64, 12, 18, 193);
    const char* captions[] = {"Record", "Pause", "Delete", "Timer Record", "Mixer", "Settings"};
    for (int row = 0; row < 4; ++row)
      for (int i = 0; i < 6; ++i) {
        auto* b = new TspSkinButton(Form.get());
        b->UseSkinSize = false;
        b->SetCaption(captions[i]);
        b->SetImageList(Icons);
        b->SetImageIndex(i);
        b->SetMargin(8);
        b->SetSpacing(6);
        b->SetCanFocused(false);
        place(b, 96 + 130 * i, 12 + 40 * row, 124, 34);
        Buttons.push_back(b);
      }
    Check = new TspSkinCheckRadioBox(Form.get());
    Check->SetSkinDataName("checkradio");
    Check->SetCaption("Recording without silence");
    Check->SetCanFocused(false);
    Check->SetChecked(true);
    place(Check, 100, 180, 220, 25);
    Form->Show();
  }

  // Row 1 hot, row 2 down, row 3 disabled.
  void SetStates(TManualClock& Clock) {
    for (int i = 0; i < 6; ++i) {
      Buttons[size_t(6 + i)]->Perform(CM_MOUSEENTER, 0, 0);
      Buttons[size_t(12 + i)]->SetGroupIndex(10 + i);
      Buttons[size_t(12 + i)]->SetDown(true);
      Buttons[size_t(18 + i)]->SetEnabled(false);
    }
    for (int i = 0; i < 10; ++i) Clock.Advance(20);
  }

  QImage Picture() {
    TBitmap sheet;
    sheet.SetSize(Form->Width(), Form->Height());
    Form->PaintTo(sheet.Canvas()->Handle(), 0, 0);
    return sheet.ToImage().convertToFormat(QImage::Format_RGB32);
  }
};

void Keep(const QImage& Picture, const std::string& Name) {
  const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR");
  const std::filesystem::path folder = dir ? std::filesystem::path(dir) : sonalix::test::SheetDir();
  EXPECT_TRUE(Picture.save(QString::fromStdString((folder / Name).string()))) << Name;
}

QImage FromScreen(TForm* Form) {
  QWindow* window = GetWindowWidget(Form->Handle())->windowHandle();
  for (int i = 0; i < 2000 && !window->isExposed(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  return window->screen()->grabWindow(window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

std::string DamagedDescription() {
  std::string text = ReadText(std::string(SONALIX_SKIN_DIR) + "/SkinDemo.form");
  size_t at = text.find("CompressedData = hex {");
  at = text.find('\n', at) + 1 + 6 + 40;  // into the first line of bytes
  text.replace(at, 8, "00000000");
  return text;
}

}  // namespace

TEST(SkinDemo, PanelOnTheRecordingSkin) {
  TManualClock clock;
  TDemo demo(ReadText(std::string(SONALIX_SKIN_DIR) + "/SkinDemo.form"));
  ASSERT_TRUE(demo.Data);
  ASSERT_FALSE(demo.Data->Empty()) << demo.Data->LoadErrorText();
  demo.SetStates(clock);
  QImage shot = demo.Picture();
  // The disabled row is not the normal row; the hot row differs from both.
  auto at = [&](int row, int i, int x, int y) {
    TspSkinButton* b = demo.Buttons[size_t(6 * row + i)];
    return shot.pixel(b->Left() + x, b->Top() + y);
  };
  EXPECT_NE(at(0, 0, 55, 1), at(1, 0, 55, 1));
  EXPECT_NE(at(0, 0, 55, 1), at(2, 0, 55, 1));
  EXPECT_EQ(demo.Buttons[0]->Height(), 34);
  // The record icon's red shows in the normal button, paler in the disabled one.
  QRgb red = at(0, 0, 8 + 12, 17), pale = at(3, 0, 8 + 12, 17);
  EXPECT_GT(qRed(red), 180);
  EXPECT_LT(qGreen(red), 120);
  EXPECT_LT(qRed(pale), qRed(red));
  Keep(shot, "skin-demo.png");
  if (QGuiApplication::platformName() == "xcb") Keep(FromScreen(demo.Form.get()), "skin-demo-xvfb.png");
}

TEST(SkinDemo, DamagedSkinOpensWithPlainFaces) {
  TManualClock clock;
  TDemo demo(DamagedDescription());
  ASSERT_TRUE(demo.Data);
  EXPECT_TRUE(demo.Data->Empty());
  EXPECT_FALSE(demo.Data->LoadErrorText().empty());
  demo.SetStates(clock);
  QImage shot = demo.Picture();
  TspSkinButton* b = demo.Buttons[0];
  EXPECT_EQ(shot.pixel(b->Left(), b->Top()), Rgb(clBtnShadow)) << "the plain button face";
  Keep(shot, "skin-demo-damaged.png");
  if (QGuiApplication::platformName() == "xcb") Keep(FromScreen(demo.Form.get()), "skin-demo-damaged-xvfb.png");
}

TEST(SkinDemo, ScreenshotsUnderXvfb) {
  const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
  if (xvfb.isEmpty()) GTEST_SKIP() << "xvfb-run is not installed";
  const std::filesystem::path dir = sonalix::test::SheetDir() / "xvfb";
  std::filesystem::create_directories(dir);
  for (const char* name : {"skin-demo-xvfb.png", "skin-demo-damaged-xvfb.png"}) std::filesystem::remove(dir / name);
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("SONALIX_SCREENSHOT_DIR", QString::fromStdString(dir.string()));
  env.insert("SONALIX_TEST_PLATFORM", "xcb");
  child.setProcessEnvironment(env);
  child.start(xvfb, {"-a", "-s", "-screen 0 1024x768x24", QCoreApplication::applicationFilePath(),
                     "--gtest_filter=SkinDemo.PanelOnTheRecordingSkin:SkinDemo.DamagedSkinOpensWithPlainFaces"});
  ASSERT_TRUE(child.waitForFinished(100000));
  EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString()
                                 << child.readAllStandardError().toStdString();
  for (const char* name : {"skin-demo-xvfb.png", "skin-demo-damaged-xvfb.png"})
    EXPECT_FALSE(QImage(QString::fromStdString((dir / name).string())).isNull()) << name;
}
