// The options, new-file, progress and about windows as the user meets them: nothing leaves its
// window, and each is saved as a picture to the sheets folder (and to SONALIX_SCREENSHOT_DIR
// when set) for a person to look at.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <string>

#include "app/About.h"
#include "app/NewFile.h"
#include "app/Options.h"
#include "app/Program.h"
#include "app/Progress.h"
#include "appbase/Globals.h"
#include "common/FormPictures.h"
#include "common/TestEnv.h"
#include "platform/win/QtWindows.h"

using sonalix::test::ExpectControlsInside;
using sonalix::test::SavePicture;

namespace {

QImage Shot(TCustomForm* form) {
  form->Show();
  Application->ProcessMessages();
  ExpectControlsInside(form);
  return GetWindowWidget(form->Handle())->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Whether any pixel of the rectangle differs much from the face colour: a picture is drawn.
bool Drawn(const QImage& img, QRect r) {
  const QRgb face = img.pixel(img.width() - 2, img.height() - 2);
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (std::abs(qRed(img.pixel(x, y)) - qRed(face)) + std::abs(qBlue(img.pixel(x, y)) - qBlue(face)) > 80)
        return true;
  return false;
}

TEST(DialogsGallery, EachWindowAsTheUserSeesIt) {
  RegisterAppClasses();
  Application->SetTitle("Sonalix Sound Editor");
  SetDefaultGlobalVars();
  {
    TOptionsForm options(nullptr);
    options.LoadOptions();
    SavePicture(Shot(&options), "app-options-general");
    options.PageControl->SetActivePageIndex(1);
    SavePicture(Shot(&options), "app-options-audio");
  }
  {
    TNewFileForm newFile(nullptr);
    SavePicture(Shot(&newFile), "app-new-file");
  }
  {
    TForm over(nullptr);
    over.SetBounds(0, 0, 800, 600);
    TFormProgress progress(nullptr);
    progress.ShowProgress(&over, 40);
    QImage shot = Shot(&progress);
    EXPECT_TRUE(Drawn(shot, QRect(progress.Image->Left(), progress.Image->Top(), progress.Image->Width(), progress.Image->Height())));
    SavePicture(shot, "app-progress");
  }
  {
    TAboutForm about(nullptr);
    QImage shot = Shot(&about);
    EXPECT_TRUE(Drawn(shot, QRect(about.Image->Left(), about.Image->Top(), about.Image->Width(), about.Image->Height())));
    SavePicture(shot, "app-about");
  }
}

}  // namespace
