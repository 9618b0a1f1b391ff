// A demo panel of skinned controls on the recording skin, read whole from the form description
// made at build time: gauges, the vertical track bar, the six icon buttons (icons from a PNG
// image list) in each state and the flat check box. Pictures are kept for a person to look at,
// also taken on a real X server (Xvfb).
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>
#include <filesystem>

#include "ControlsScene.h"
#include "common/TestEnv.h"
#include "controls/SkinCtrls.h"
#include "controls/spPngImageList.h"
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
  TspPngImageList* Icons = nullptr;
  std::vector<TspSkinButton*> Buttons;
  TspSkinGauge* Left = nullptr;
  TspSkinTrackBar* Volume = nullptr;
  TspSkinCheckRadioBox* Check = nullptr;

  explicit TDemo(std::string Description) {
    RegisterSkinControlClasses();
    ReadComponentFromText(Form.get(), Description, "SkinDemo.form");
    auto find = [this]<class T>(T*& Into, const std::string& Name) {
      Into = dynamic_cast<T*>(Form->FindComponent(Name));
      EXPECT_TRUE(Into) << Name;
    };
    find(Data, "SkinData");
    find(Icons, "Icons");
    find(Left, "LeftGauge");
    find(Volume, "Volume");
    find(Check, "WithoutSilence");
    for (const char* row : {"Normal", "Hot", "Down", "Disabled"})
      for (int i = 0; i < 6; ++i) {
        TspSkinButton* b = nullptr;
        find(b, row + std::string("Button") + IntToStr(i));
        Buttons.push_back(b);
      }
    Form->Show();
  }

  // Row 1 hot; the description makes row 2 down and row 3 disabled.
  void SetStates(TManualClock& Clock) {
    for (int i = 0; i < 6; ++i) Buttons[size_t(6 + i)]->Perform(CM_MOUSEENTER, 0, 0);
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
  ASSERT_EQ(demo.Icons->PngImages()->Count(), 6);
  EXPECT_EQ(demo.Icons->Count(), 6);
  EXPECT_TRUE(demo.Buttons[12]->Down());
  EXPECT_FALSE(demo.Buttons[18]->Enabled());
  EXPECT_TRUE(demo.Check->Checked());
  EXPECT_EQ(demo.Left->Value(), 24000);
  EXPECT_EQ(demo.Volume->Value(), 40000);
  // Plain published fields are set from the description too.
  EXPECT_EQ(demo.Left->AreaName, "LeftGauge");
  EXPECT_FALSE(demo.Buttons[0]->UseSkinSize);
  EXPECT_TRUE(demo.Volume->JumpWhenClick);
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
  // The plain meter still fills from the bottom: 24000 of 32512 leaves the top quarter empty.
  TspSkinGauge* g = demo.Left;
  EXPECT_EQ(shot.pixel(g->Left() + 9, g->Top() + 20), Rgb(clWindow));
  EXPECT_EQ(shot.pixel(g->Left() + 9, g->Top() + 180), Rgb(TColor(0xD2BDB6)));
  Keep(shot, "skin-demo-damaged.png");
  if (QGuiApplication::platformName() == "xcb") Keep(FromScreen(demo.Form.get()), "skin-demo-damaged-xvfb.png");
}

TEST(SkinDemo, ScreenshotsUnderXvfb) {
  const std::filesystem::path dir = sonalix::test::SheetDir() / "xvfb";
  std::filesystem::create_directories(dir);
  for (const char* name : {"skin-demo-xvfb.png", "skin-demo-damaged-xvfb.png"}) std::filesystem::remove(dir / name);
  const auto run = sonalix::test::RunUnderXvfb("SkinDemo.PanelOnTheRecordingSkin:SkinDemo.DamagedSkinOpensWithPlainFaces",
                                               {{"SONALIX_SCREENSHOT_DIR", dir.string()}});
  if (!run.Ran) GTEST_SKIP() << "xvfb-run is not installed";
  EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  for (const char* name : {"skin-demo-xvfb.png", "skin-demo-damaged-xvfb.png"})
    EXPECT_FALSE(QImage(QString::fromStdString((dir / name).string())).isNull()) << name;
}
