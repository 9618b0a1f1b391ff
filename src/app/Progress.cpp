#include "app/Progress.h"

#include "app/AppPictures.h"
#include "operations/DialogSupport.h"
#include "platform/rtl/TypInfo.h"

TFormProgress* FormProgress = nullptr;

namespace {
constexpr int kWidth = 300;
constexpr int kHeight = 115;
}  // namespace

TFormProgress::TFormProgress(TComponent* AOwner) : TForm(AOwner) {
  RegisterProgressClasses();
  InitForm("TFormProgress");
  Image = DialogComponent<TImage>(this, "Image");
  LabelProcess = DialogComponent<TLabel>(this, "LabelProcess");
  LabelWait = DialogComponent<TLabel>(this, "LabelWait");
  ProgressBar = DialogComponent<TProgressBar>(this, "ProgressBar");
  LoadAppPicture(Image, "Progress");
}

void TFormProgress::FormShow(TObject*) { SubstituteDialogFont(this); }

void TFormProgress::ShowProgress(TControl* Over, int Percent) {
  if (!Visible()) {
    SetBorderStyle(bsSingle);
    SetBounds(Over->Left() + (Over->Width() - kWidth) / 2, Over->Top() + (Over->Height() - kHeight) / 2,
              kWidth, kHeight);
    Show();
  }
  ProgressBar->SetPosition(Percent);
  Application->ProcessMessages();
}

void TFormProgress::EndProgress() {
  if (!Visible()) return;
  Hide();
  SetHeight(0);
  SetWidth(0);
  SetBorderStyle(bsNone);
}

void RegisterProgressClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterEditingDialogClasses();
  RegisterClass<TFormProgress, TForm>();
  Published<TFormProgress>().Method("FormShow", &TFormProgress::FormShow);
}
