// Every format dialog as a user meets it, saved as a picture to look at: the setup dialogs in
// both modes and the Configure dialogs. Each control lies inside its parent and no label runs
// into a neighbour. With SONALIX_SCREENSHOT_DIR set the pictures go there; a second test runs
// the gallery on a real X server (Xvfb).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "FormatDialogInput.h"
#include "appbase/Globals.h"
#include "common/TestEnv.h"
#include "operations/Mp3Format.h"
#include "operations/OggFormat.h"
#include "operations/WaveFormat.h"
#include "operations/WmaFormat.h"
#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"

namespace {

namespace fs = std::filesystem;

template <class F>
std::unique_ptr<TForm> Loaded(std::function<void(F&)> Then = {}) {
  auto form = std::make_unique<F>(nullptr);
  form->LoadSettings();
  form->Show();
  if (Then) Then(*form);
  Application->ProcessMessages();
  return form;
}

struct View {
  const char* File;
  std::function<void()> Store;
  std::function<std::unique_ptr<TForm>()> Make;
};

const View kViews[] = {
    {"wav-setup", [] {}, [] { return Loaded<TWaveFormatForm>(); }},
    {"wav-configure", [] { GlobalVars.OutputWAVMode = 1; },
     [] { return Loaded<TWaveFormatSpecifyForm>(); }},
    {"mp3-setup-preset", [] {}, [] { return Loaded<TMp3FormatForm>(); }},
    {"mp3-setup-specify",
     [] {
       GlobalVars.OutputMP3Type = 1;
       // The longest summary there is.
       GlobalVars.OutputMP3CBR = false;
       GlobalVars.OutputMP3QualityLevel = false;
       GlobalVars.OutputMP3Mode = 2;
       GlobalVars.OutputMP3Checksum = true;
     },
     [] { return Loaded<TMp3FormatForm>(); }},
    {"mp3-configure-constant", [] {}, [] { return Loaded<TMp3SettingsSpecifyForm>(); }},
    {"mp3-configure-variable", [] { GlobalVars.OutputMP3CBR = false; },
     [] { return Loaded<TMp3SettingsSpecifyForm>(); }},
    {"ogg-setup-preset", [] {}, [] { return Loaded<TOGGFormatForm>(); }},
    {"ogg-setup-specify",
     [] {
       GlobalVars.OutputOGGType = 1;
       GlobalVars.OutputOGGABR = true;
     },
     [] { return Loaded<TOGGFormatForm>(); }},
    {"ogg-configure-variable", [] {}, [] { return Loaded<TOGGSettingsSpecifyForm>(); }},
    {"ogg-configure-average", [] { GlobalVars.OutputOGGABR = true; },
     [] { return Loaded<TOGGSettingsSpecifyForm>(); }},
    {"wma-setup", [] {}, [] { return Loaded<TWMAFormatForm>(); }},
};

// Controls of Parent that stick out of its client area, and labels that overlap a sibling.
void ExpectLaidOut(TWinControl* Parent, const std::string& Where) {
  const TRect client = Parent->ClientRect();
  for (int i = 0; i < Parent->ControlCount(); ++i) {
    TControl* c = Parent->Controls(i);
    const TRect r = c->BoundsRect();
    EXPECT_TRUE(r.Left >= client.Left && r.Top >= client.Top && r.Right <= client.Right &&
                r.Bottom <= client.Bottom)
        << Where << ": " << c->Name() << " is clipped";
    if (auto* label = dynamic_cast<TLabel*>(c)) {
      const UINT flags = DT_EXPANDTABS | (label->WordWrap() ? DT_WORDBREAK : 0);
      const TRect need =
          MeasureControlText(label->Font(), label->Caption(), Rect(0, 0, r.Width(), 0), flags);
      EXPECT_LE(need.Height(), r.Height()) << Where << ": " << c->Name() << " cuts its text off";
      EXPECT_LE(need.Width(), r.Width()) << Where << ": " << c->Name() << " cuts its text off";
    }
    if (dynamic_cast<TLabel*>(c))
      for (int j = 0; j < Parent->ControlCount(); ++j) {
        TControl* other = Parent->Controls(j);
        if (other == c) continue;
        const TRect o = other->BoundsRect();
        const bool overlap =
            r.Left < o.Right && o.Left < r.Right && r.Top < o.Bottom && o.Top < r.Bottom;
        EXPECT_FALSE(overlap) << Where << ": " << c->Name() << " runs into " << other->Name();
      }
    if (auto* w = dynamic_cast<TWinControl*>(c)) ExpectLaidOut(w, Where);
  }
}

QImage Picture(TForm* Form) {
  QWidget* widget = GetWindowWidget(Form->Handle());
  if (QGuiApplication::platformName() == "xcb") {
    QWindow* window = widget->windowHandle();
    for (int i = 0; i < 2000 && !window->isExposed(); ++i)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
    return window->screen()->grabWindow(window->winId()).toImage();
  }
  return widget->grab().toImage();
}

TEST(FormatDialogGallery, EveryDialogInEachOfItsModes) {
  formatdialogs::FreshSettings();
  const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR");
  const fs::path out = dir ? fs::path(dir) : sonalix::test::SheetDir();
  for (const View& v : kViews) {
    SCOPED_TRACE(v.File);
    SetDefaultGlobalVars(GlobalVars);
    v.Store();
    std::unique_ptr<TForm> form = v.Make();
    ExpectLaidOut(form.get(), v.File);
    const QImage shot = Picture(form.get());
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(QString::fromStdString((out / (std::string(v.File) + ".png")).string())));
  }
}

TEST(FormatDialogGallery, ScreenshotsUnderXvfb) {
  const fs::path dir = sonalix::test::SheetDir() / "format-dialogs-xvfb";
  fs::create_directories(dir);
  fs::remove(dir / "wma-setup.png");
  const auto run = sonalix::test::RunUnderXvfb("FormatDialogGallery.EveryDialogInEachOfItsModes",
                                               {{"SONALIX_SCREENSHOT_DIR", dir.string()}});
  if (!run.Ran) GTEST_SKIP() << "xvfb-run is not installed";
  EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  QImage img(QString::fromStdString((dir / "wma-setup.png").string()));
  ASSERT_FALSE(img.isNull());
  EXPECT_GE(img.width(), 372);
}

}  // namespace
