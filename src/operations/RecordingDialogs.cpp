#include "operations/RecordingDialogs.h"

#include <cmath>
#include <mutex>

#include "appbase/Globals.h"
#include "appbase/HtmlHelp.h"
#include "operations/DialogSupport.h"
#include "platform/rtl/TypInfo.h"

namespace {

int CodePoints(const std::string& Text) {
  int n = 0;
  for (unsigned char c : Text) n += (c & 0xC0) != 0x80;
  return n;
}

// Digits, backspace, Enter and the point pass; a minus sign only where a number may begin: over
// the whole text, or at the start of a text that has none yet. Everything else beeps.
void LevelKeyFilter(TObject* Sender, char32_t& Key) {
  auto* edit = dynamic_cast<TEdit*>(Sender);
  if (!edit) return;
  if ((Key >= '0' && Key <= '9') || Key == 8 || Key == 13 || Key == '.') return;
  if (Key == '-') {
    const std::string text = edit->Text();
    if (edit->SelLength() == CodePoints(text)) return;
    POINT caret{};
    GetCaretPos(&caret);
    if (text.find('-') == std::string::npos && caret.x <= 1) return;
  }
  Key = 0;
  MessageBeep(0);
}

// A level must lie in -90..0; otherwise the message, with the focus on its edit.
bool LevelInRange(TEdit* Edit, const char* Message) {
  const int level = StrToInt(Edit->Text());
  if (level >= -90 && level <= 0) return true;
  Edit->SetFocus();
  ShowErrorMessage(Message);
  return false;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Recording timer

TRecordingTimerForm::TRecordingTimerForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterRecordingDialogClasses();
  InitForm("TRecordingTimerForm");
}

TRecordingTimerForm::~TRecordingTimerForm() { BeforeDestruction(); }

void TRecordingTimerForm::FormCreate(TObject*) {
  LabelStartRecording = DialogComponent<TLabel>(this, "LabelStartRecording");
  LabelWhenRecording = DialogComponent<TLabel>(this, "LabelWhenRecording");
  LabelHours = DialogComponent<TLabel>(this, "LabelHours");
  RadioButtonManually = DialogComponent<TRadioButton>(this, "RadioButtonManually");
  RadioButtonAutomatically = DialogComponent<TRadioButton>(this, "RadioButtonAutomatically");
  DateTimePickerAutomaticallyData = DialogComponent<TDateTimePicker>(this, "DateTimePickerAutomaticallyData");
  DateTimePickerAutomaticallyTime = DialogComponent<TDateTimePicker>(this, "DateTimePickerAutomaticallyTime");
  DateTimePickerWhenRecordingTime = DialogComponent<TDateTimePicker>(this, "DateTimePickerWhenRecordingTime");
  CheckBoxStopAfter = DialogComponent<TCheckBox>(this, "CheckBoxStopAfter");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
}

void TRecordingTimerForm::FormShow(TObject*) {
  SubstituteDialogFont(this);
  RadioButtonAutomaticallyClick(nullptr);
  CheckBoxStopAfterClick(nullptr);
}

void TRecordingTimerForm::RadioButtonAutomaticallyClick(TObject*) {
  const bool on = RadioButtonAutomatically->Checked();
  DateTimePickerAutomaticallyData->SetEnabled(on);
  DateTimePickerAutomaticallyTime->SetEnabled(on);
}

void TRecordingTimerForm::CheckBoxStopAfterClick(TObject*) {
  const bool on = CheckBoxStopAfter->Checked();
  DateTimePickerWhenRecordingTime->SetEnabled(on);
  LabelHours->SetEnabled(on);
}

// Built from the pickers' values rather than their texts, so that no locale changes it.
TDateTime TRecordingTimerForm::StartAt() const {
  const TDateTime day = std::floor(DateTimePickerAutomaticallyData->Date());
  const TDateTime time = DateTimePickerAutomaticallyTime->Time();
  return day + (time - std::floor(time));
}

void TRecordingTimerForm::ButtonOKClick(TObject*) {
  if (RadioButtonAutomatically->Checked() && Now() > StartAt()) {
    DateTimePickerAutomaticallyTime->SetFocus();
    ShowErrorMessage("The entered starting date and time has already passed.");
    SetModalResult(mrNone);
    return;
  }
  uint16_t h, m, s, ms;
  DecodeTime(DateTimePickerWhenRecordingTime->Time(), h, m, s, ms);
  if (h == 0 && m == 0 && s == 0) DateTimePickerWhenRecordingTime->SetTime(EncodeTime(0, 0, 10, 0));
  SetModalResult(mrOk);
}

// ---------------------------------------------------------------------------------------------
// Recording without silence

TRecordingWithoutSilenceForm::TRecordingWithoutSilenceForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterRecordingDialogClasses();
  InitForm("TRecordingWithoutSilenceForm");
}

TRecordingWithoutSilenceForm::~TRecordingWithoutSilenceForm() { BeforeDestruction(); }

void TRecordingWithoutSilenceForm::FormCreate(TObject*) {
  gbAttack = DialogComponent<TGroupBox>(this, "gbAttack");
  gbRelease = DialogComponent<TGroupBox>(this, "gbRelease");
  EditAttackTime = DialogComponent<TEdit>(this, "EditAttackTime");
  EditAttackLevel = DialogComponent<TEdit>(this, "EditAttackLevel");
  EditReleaseTime = DialogComponent<TEdit>(this, "EditReleaseTime");
  EditReleaseLevel = DialogComponent<TEdit>(this, "EditReleaseLevel");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
  ButtonHelp = DialogComponent<TButton>(this, "ButtonHelp");
}

void TRecordingWithoutSilenceForm::LoadSettings() {
  EditAttackLevel->SetText(IntToStr(GlobalVars.AccuAttackLevel));
  EditAttackTime->SetText(IntToStr(GlobalVars.AccuAttackTime));
  EditReleaseLevel->SetText(IntToStr(GlobalVars.AccuReleaseLevel));
  EditReleaseTime->SetText(IntToStr(GlobalVars.AccuReleaseTime));
}

void TRecordingWithoutSilenceForm::SaveSettings() {
  GlobalVars.AccuAttackLevel = StrToInt(EditAttackLevel->Text());
  GlobalVars.AccuAttackTime = StrToInt(EditAttackTime->Text());
  GlobalVars.AccuReleaseLevel = StrToInt(EditReleaseLevel->Text());
  GlobalVars.AccuReleaseTime = StrToInt(EditReleaseTime->Text());
}

void TRecordingWithoutSilenceForm::FormShow(TObject*) {
  SubstituteDialogFont(this);
  SetNumberStyle(EditAttackTime);
  SetNumberStyle(EditReleaseTime);
}

void TRecordingWithoutSilenceForm::EditAttackLevelKeyPress(TObject* Sender, char32_t& Key) {
  LevelKeyFilter(Sender, Key);
}

void TRecordingWithoutSilenceForm::EditReleaseLevelKeyPress(TObject* Sender, char32_t& Key) {
  LevelKeyFilter(Sender, Key);
}

void TRecordingWithoutSilenceForm::ButtonOKClick(TObject*) {
  SetModalResult(mrNone);
  if (!LevelInRange(EditAttackLevel, "Attack Level must be less than 0 and more than -90. Please try again."))
    return;
  if (!LevelInRange(EditReleaseLevel, "Release Level must be less than 0 and more than -90. Please try again."))
    return;
  SetModalResult(mrOk);
}

void TRecordingWithoutSilenceForm::ButtonHelpClick(TObject*) {
  ShowHelpTopic(Handle(), "AdvancedRecordingOptions");
}

void RegisterRecordingDialogClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterGuiClasses();
    RegisterClass<TRecordingTimerForm, TForm>();
    Published<TRecordingTimerForm>()
        .Method("FormCreate", &TRecordingTimerForm::FormCreate)
        .Method("FormShow", &TRecordingTimerForm::FormShow)
        .Method("RadioButtonAutomaticallyClick", &TRecordingTimerForm::RadioButtonAutomaticallyClick)
        .Method("CheckBoxStopAfterClick", &TRecordingTimerForm::CheckBoxStopAfterClick)
        .Method("ButtonOKClick", &TRecordingTimerForm::ButtonOKClick);
    RegisterClass<TRecordingWithoutSilenceForm, TForm>();
    Published<TRecordingWithoutSilenceForm>()
        .Method("FormCreate", &TRecordingWithoutSilenceForm::FormCreate)
        .Method("FormShow", &TRecordingWithoutSilenceForm::FormShow)
        .Method("EditAttackLevelKeyPress", &TRecordingWithoutSilenceForm::EditAttackLevelKeyPress)
        .Method("EditReleaseLevelKeyPress", &TRecordingWithoutSilenceForm::EditReleaseLevelKeyPress)
        .Method("ButtonOKClick", &TRecordingWithoutSilenceForm::ButtonOKClick)
        .Method("ButtonHelpClick", &TRecordingWithoutSilenceForm::ButtonHelpClick);
  });
}
