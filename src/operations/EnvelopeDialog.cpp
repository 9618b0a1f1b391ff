#include "operations/EnvelopeDialog.h"

#include "Imports/XOQAUDIOEDITOR2Lib_TLB.h"
#include "appbase/HtmlHelp.h"
#include "operations/DialogSupport.h"
#include "platform/rtl/TypInfo.h"

TEnvelopeForm::TEnvelopeForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  InitForm("TEnvelopeForm");
  TD = DialogComponent<TAudioTransformDisplay2>(this, "TD");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
  ButtonHelp = DialogComponent<TButton>(this, "ButtonHelp");
  ButtonSetFlat = DialogComponent<TButton>(this, "ButtonSetFlat");
  Bevel = DialogComponent<TBevel>(this, "Bevel");
}

void TEnvelopeForm::BoundToSelection(IAudioEditor2Position* Position) {
  TD->SetScaleXMin(Position->SelectionStart());
  TD->SetScaleXMax(Position->SelectionEnd());
}

void TEnvelopeForm::FormShow(TObject*) {
  SubstituteDialogFont(this);
  TD->SetBounds(8, 0, 545, 200);
  // The curve's own captions keep their face whatever the dialog's font became.
  TFont* font = TD->DisplayFont();
  font->SetName("Tahoma");
  font->SetSize(7);
  font->SetColor(TColor(0xF8DCA8));
  TD->SetGridVisible(true);
  TD->SetScaleXCaption("smpl");
  TD->SetLineArraySize(100000);
}

void TEnvelopeForm::ButtonHelpClick(TObject*) { ShowHelpTopic(Handle(), "Effects"); }

void RegisterEnvelopeDialogClasses() {
  RegisterAudioTransformDisplay2();
  RegisterClass<TEnvelopeForm, TForm>();
  Published<TEnvelopeForm>()
      .Method("FormShow", &TEnvelopeForm::FormShow)
      .Method("ButtonHelpClick", &TEnvelopeForm::ButtonHelpClick);
}
