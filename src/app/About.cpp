#include "app/About.h"

#include "app/AppPictures.h"
#include "app/WebLinks.h"
#include "appbase/Utils.h"
#include "operations/DialogSupport.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/TypInfo.h"

TAboutForm::TAboutForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterAboutClasses();
  InitForm("TAboutForm");
  Image = DialogComponent<TImage>(this, "Image");
  LabelProduct = DialogComponent<TLabel>(this, "LabelProduct");
  LabelVersion = DialogComponent<TLabel>(this, "LabelVersion");
  LabelDistributor = DialogComponent<TLabel>(this, "LabelDistributor");
  LabelWEB = DialogComponent<TLabel>(this, "LabelWEB");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  LoadAppPicture(Image, "About");
  LabelWEB->SetCaption(ProductPageURL());
}

std::string AboutVersionText(const std::string& Title, const std::string& IniPath) {
  std::string version;
  if (FileExists(IniPath)) version = TIniFile(IniPath).ReadString("SYSTEM", "Version", "");
  return Format("%s v%s", {Title, version});
}

std::string VersionFilePath() { return ExtractFilePath(ParamStr(0)) + "lame.dll"; }

void TAboutForm::FormShow(TObject*) {
  SubstituteDialogFont(this);
  LabelVersion->SetCaption(AboutVersionText(Application->Title(), VersionFilePath()));
}

void TAboutForm::LabelWEBClick(TObject*) { OpenURL(ProductPageURL()); }

void RegisterAboutClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterEditingDialogClasses();
  RegisterClass<TAboutForm, TForm>();
  Published<TAboutForm>()
      .Method("FormShow", &TAboutForm::FormShow)
      .Method("LabelWEBClick", &TAboutForm::LabelWEBClick);
}
