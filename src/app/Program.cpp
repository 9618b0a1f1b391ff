#include "app/Program.h"

#include <QGuiApplication>
#include <QIcon>
#include <QResource>
#include <cstdlib>

#include "app/About.h"
#include "app/Main.h"
#include "app/NewFile.h"
#include "app/Options.h"
#include "app/Progress.h"
#include "app/Splash.h"
#include "app/StartupProbe.h"
#include "cd/LoadCD.h"
#include "controls/ImageSlider.h"
#include "controls/PngImage.h"
#include "controls/PngSpeedButton.h"
#include "controls/RzPrgres.h"
#include "controls/SUIImagePanel.h"
#include "controls/TransparentDraw.h"
#include "operations/BatchConverter.h"
#include "operations/DialogSupport.h"
#include "operations/EffectDialogs.h"
#include "operations/FormatSetup.h"
#include "platform/gui/QtApplication.h"

static void InitAppImages() { Q_INIT_RESOURCE(sonalix_app_images); }

void RegisterAppClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  InitAppImages();
  RegisterGuiClasses();
  RegisterPngClasses();
  // The small controls the windows are described with.
  RegisterImageSliderClasses();
  RegisterRzPrgresClasses();
  RegisterPngSpeedButtonClasses();
  RegisterSUIImagePanelClasses();
  RegisterSplashClasses();
  RegisterLoadCDClasses();
  RegisterMainClasses();
  RegisterOptionsClasses();
  RegisterNewFileClasses();
  RegisterProgressClasses();
  RegisterAboutClasses();
  RegisterOutputFormatClasses();
  RegisterEditingDialogClasses();
  RegisterEffectDialogClasses();
  RegisterBatchConverterClasses();
}

int RunProgram(int argc, char** argv) {
  RegisterAppClasses();
  TQtApplication app(argc, argv);
  // The program's icon, which its windows and documents show in their title bars.
  QIcon icon;
  for (int size : {16, 32, 48, 128}) icon.addFile(QStringLiteral(":/images/AppIcon%1.png").arg(size));
  QGuiApplication::setWindowIcon(icon);
  // The system's own hand for links.
  Screen->SetCursors(crHandPoint, LoadCursor(nullptr, IDC_HAND));
  RegisterRxCursors();

  SplashForm = new TSplashForm(Application);
  SplashForm->Show();
  SplashForm->Update();
  QCoreApplication::processEvents();

  Application->SetTitle("Sonalix Sound Editor");
  CreateForm(MainForm);
  CreateForm(FormProgress);
  InstallStartupProbe();
  Application->Run();

  // The forms go while Qt is still there.
  delete GetApplication();
  return 0;
}
