#include "operations/EffectDialogs.h"

#include "appbase/HtmlHelp.h"
#include "appbase/Utils.h"
#include "controls/ImageSlider.h"
#include "operations/DialogSupport.h"
#include "operations/Equalizer.h"
#include "platform/rtl/TypInfo.h"

namespace {

// BeginBusy for the life of a scope, ended also when an exception passes.
struct TBusyScope {
  TBusyScope() { BeginBusy(); }
  ~TBusyScope() { EndBusy(); }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;
};

template <class T>
T* Component(TComponent* Root, const std::string& Name) {
  return dynamic_cast<T*>(Root->FindComponent(Name));
}

int Utf8Length(const std::string& Text) {
  int n = 0;
  for (unsigned char c : Text) n += (c & 0xC0) != 0x80;
  return n;
}

}  // namespace

TEffectForm::TEffectForm(TComponent* AOwner, IEffectPreviewHost* Host, const char* ClassName)
    : TForm(AOwner), FInfo(FindEffectDialog(ClassName)), FHost(Host) {
  if (!FInfo) throw Exception(std::string("No effect dialog ") + ClassName);
}

void TEffectForm::Build() {
  InitForm(FInfo->ClassName);
  for (size_t i = 0; i < FInfo->Params.size(); ++i) {
    FSliders.push_back(FInfo->Layout == elSingleEdit ? nullptr
                                                     : Component<TImageSlider>(this, FInfo->SliderName(i)));
    FEdits.push_back(FInfo->Layout == elEqualizer ? nullptr : Component<TEdit>(this, FInfo->EditName(i)));
  }
  FButtonPreview = Component<TButton>(this, "ButtonPreview");
  FButtonOK = Component<TButton>(this, "ButtonOK");
  FComboBoxPreset = Component<TComboBox>(this, "ComboBoxPreset");
  FTimerMonitor = Component<TTimer>(this, "TimerMonitor");
  if (FComboBoxPreset) {
    TStrings* items = FComboBoxPreset->Items();
    items->Clear();
    items->Add("Select Preset");
    for (const auto& preset : FInfo->Presets) items->Add(preset.Name);
    FComboBoxPreset->SetItemIndex(0);
  }
  if (FButtonPreview && !FHost) FButtonPreview->SetVisible(false);
}

size_t TEffectForm::ParamOf(TObject* Sender) const {
  for (size_t i = 0; i < FSliders.size(); ++i)
    if (Sender && (Sender == FSliders[i] || Sender == FEdits[i])) return i;
  return npos;
}

void TEffectForm::SetParamValue(size_t Index, int Value) {
  if (FSliders[Index]) FSliders[Index]->SetValue(Value);
  else FEdits[Index]->SetText(IntToStr(Value));
}

void TEffectForm::LoadParams() { SetValues(EffectSettings(*FInfo)); }

void TEffectForm::SaveParams() {
  if (FInfo->Previews()) GlobalVars.PreviewOperationTypes = FInfo->Code;
  std::vector<int> values = Values();
  for (size_t i = 0; i < values.size(); ++i) GlobalVars.*(FInfo->Params[i].Field) = values[i];
}

std::vector<int> TEffectForm::Values() const {
  std::vector<int> values;
  for (size_t i = 0; i < FSliders.size(); ++i)
    values.push_back(FSliders[i] ? FSliders[i]->Value() : StrToInt(FEdits[i]->Text()));
  return values;
}

void TEffectForm::SetValues(const std::vector<int>& Values) {
  for (size_t i = 0; i < Values.size() && i < FSliders.size(); ++i) SetParamValue(i, Values[i]);
}

void TEffectForm::EnableControls(bool Enabled) {
  for (int i = 0; i < ComponentCount(); ++i) {
    TComponent* c = Components(i);
    if (auto* edit = dynamic_cast<TEdit*>(c)) edit->SetReadOnly(!Enabled);
    else if (dynamic_cast<TGroupBox*>(c) || dynamic_cast<TBevel*>(c)) continue;
    else if (auto* control = dynamic_cast<TControl*>(c)) control->SetEnabled(Enabled);
  }
}

void TEffectForm::FormShow(TObject*) {
  SubstituteDialogFont(this);
  for (size_t i = 0; i < FEdits.size(); ++i)
    if (FEdits[i] && !FInfo->Params[i].KeyFilter) SetNumberStyle(FEdits[i]);
  if (FInfo->Layout == elSliders)
    for (TImageSlider* slider : FSliders) SliderChange(slider);
  if (!FInfo->Previews()) return;
  if (FHost) FHost->ClearPreviewPlaying();
  if (FTimerMonitor) FTimerMonitor->SetEnabled(false);
}

void TEffectForm::SliderChange(TObject* Sender) {
  const size_t i = ParamOf(Sender);
  if (i != npos && FEdits[i]) FEdits[i]->SetText(Format("%d", {FSliders[i]->Value()}));
}

bool TEffectForm::EditNumber(size_t Index, int& Value) const {
  const std::string text = FEdits[Index]->Text();
  if (FInfo->Params[Index].EditKind == ekTolerant) return TryStrToInt(text, Value);
  Value = StrToInt(text);
  return true;
}

void TEffectForm::EditChange(TObject* Sender) {
  const size_t i = ParamOf(Sender);
  if (i == npos || !FSliders[i]) return;
  TImageSlider* slider = FSliders[i];
  int value = 0;
  if (!EditNumber(i, value) || value < slider->MinValue() || value > slider->MaxValue()) {
    FEdits[i]->Font()->SetColor(clRed);
    return;
  }
  FEdits[i]->Font()->SetColor(clWindowText);
  slider->SetValue(value);
}

void TEffectForm::EditExit(TObject* Sender) {
  const size_t i = ParamOf(Sender);
  if (i == npos || !FSliders[i]) return;
  TImageSlider* slider = FSliders[i];
  int value = 0;
  if (!EditNumber(i, value) || value < slider->MinValue()) FEdits[i]->SetText(IntToStr(slider->MinValue()));
  else if (value > slider->MaxValue()) FEdits[i]->SetText(IntToStr(slider->MaxValue()));
}

bool TEffectForm::CheckSingleEdit(bool Show) {
  TEdit* edit = FEdits[0];
  const int value = StrToInt(edit->Text());
  const char* message = nullptr;
  switch (FInfo->Check) {
    case ecSpeed:
      if (value > 300) message = "Speed Change Percent must be less than 300. Please try again.";
      break;
    case ecPitch:
      if (value > 300 || value < 10)
        message = "Pitch Change Percent must be less than 300 and more than 10. Please try again.";
      break;
    case ecNormalize:
      if (value >= 101) message = "Normailze Peak Level must be less than 100%. Please try again.";
      break;
    case ecNone: break;
  }
  if (!message) return true;
  if (Show) {
    edit->SetFocus();
    ShowErrorMessage(message);
  }
  return false;
}

void TEffectForm::SingleEditExit(TObject*) { CheckSingleEdit(true); }

void TEffectForm::EditThresholdKeyPress(TObject* Sender, char32_t& Key) {
  auto* edit = dynamic_cast<TEdit*>(Sender);
  if (!edit) return;
  if ((Key >= '0' && Key <= '9') || Key == 8 || Key == 13 || Key == '.') return;
  if (Key == '-') {
    const std::string text = edit->Text();
    if (edit->SelLength() == Utf8Length(text)) return;
    POINT caret{};
    GetCaretPos(&caret);
    if (text.find('-') == std::string::npos && caret.x <= 1) return;
  }
  Key = 0;
  MessageBeep(0);
}

void TEffectForm::ComboBoxPresetChange(TObject*) {
  const int index = FComboBoxPreset->ItemIndex();
  if (index < 1 || size_t(index) > FInfo->Presets.size()) return;
  const std::vector<int>& row = FInfo->Presets[size_t(index - 1)].Values;
  const size_t n = std::min(row.size(), FSliders.size());
  for (size_t k = 0; k < n; ++k) {
    const size_t i = FInfo->PresetsLastFirst ? n - 1 - k : k;
    SetParamValue(i, row[i]);
  }
}

void TEffectForm::ButtonPreviewClick(TObject*) {
  if (!FHost) return;
  TBusyScope busy;
  if (FHost->PreviewPlaying()) {
    FButtonPreview->SetCaption("&Preview");
    FHost->StopPreview();
    return;
  }
  EnableControls(false);
  FButtonPreview->SetCaption("&Stop");
  // Armed however the start ends: its first tick puts the controls back when nothing plays, so a
  // failed save or start never leaves the dialog disabled.
  struct TArm {
    TTimer* Timer;
    ~TArm() {
      if (Timer) Timer->SetEnabled(true);
    }
  } arm{FTimerMonitor};
  SaveParams();
  FStartingPreview = true;
  try {
    FHost->StartPreview();
  } catch (...) {
    EndStartingPreview();
    throw;
  }
  EndStartingPreview();
}

void TEffectForm::EndStartingPreview() {
  FStartingPreview = false;
  if (!FCloseAfterStart) return;
  FCloseAfterStart = false;
  Close();
}

bool TEffectForm::CloseQuery() {
  // The host runs messages while it starts; the dialog must outlive that call.
  if (FStartingPreview) {
    FCloseAfterStart = true;
    return false;
  }
  return TForm::CloseQuery();
}

void TEffectForm::TimerMonitorTimer(TObject*) {
  if (!FHost) return;
  if (!FHost->PreviewTransforming()) EnableControls(true);
  if (!FHost->PreviewPlaying()) {
    FButtonPreview->SetCaption("&Preview");
    FTimerMonitor->SetEnabled(false);
  }
}

void TEffectForm::ButtonOKClick(TObject*) {
  FButtonOK->SetFocus();
  if (FInfo->Check == ecNone) return;
  // The speed and pitch edits showed their message when the focus left them.
  if (CheckSingleEdit(FInfo->Check == ecNormalize)) SetModalResult(mrOk);
}

void TEffectForm::ButtonHelpClick(TObject*) { ShowHelpTopic(Handle(), "Effects"); }

#define SONALIX_EFFECT_FORM_CTOR(Name)                                                           \
  Name::Name(TComponent* AOwner, IEffectPreviewHost* Host) : TEffectForm(AOwner, Host, #Name) { \
    Build();                                                                                    \
  }

SONALIX_EFFECT_FORM_CTOR(TDynamicRangeCompressorForm)
SONALIX_EFFECT_FORM_CTOR(TAmplifyForm)
SONALIX_EFFECT_FORM_CTOR(THighPassForm)
SONALIX_EFFECT_FORM_CTOR(TEchoForm)
SONALIX_EFFECT_FORM_CTOR(TReverbForm)
SONALIX_EFFECT_FORM_CTOR(TCossFadeForm)
SONALIX_EFFECT_FORM_CTOR(TMixStereoForm)
SONALIX_EFFECT_FORM_CTOR(TNoiseReductionForm)
SONALIX_EFFECT_FORM_CTOR(TSpeedChangeForm)
SONALIX_EFFECT_FORM_CTOR(TPitchChangeForm)
SONALIX_EFFECT_FORM_CTOR(TPhaserForm)
SONALIX_EFFECT_FORM_CTOR(TFlangerForm)
SONALIX_EFFECT_FORM_CTOR(TChorusForm)
SONALIX_EFFECT_FORM_CTOR(TNormalizeForm)

#undef SONALIX_EFFECT_FORM_CTOR

namespace {

template <class T>
TEffectForm* Make(TComponent* AOwner, IEffectPreviewHost* Host) {
  return new T(AOwner, Host);
}

// The handlers of one dialog class under the names its description binds.
template <class T>
TPublished<T> PublishEffectForm(const char* ClassName) {
  RegisterClass<T, TForm>();
  const TEffectDialogInfo& info = *FindEffectDialog(ClassName);
  TPublished<T> p = Published<T>();
  p.Method("FormShow", &TEffectForm::FormShow)
      .Method("ComboBoxPresetChange", &TEffectForm::ComboBoxPresetChange)
      .Method("ButtonHelpClick", &TEffectForm::ButtonHelpClick);
  if (info.Previews())
    p.Method("ButtonPreviewClick", &TEffectForm::ButtonPreviewClick)
        .Method("TimerMonitorTimer", &TEffectForm::TimerMonitorTimer);
  if (info.OKHandler) p.Method("ButtonOKClick", &TEffectForm::ButtonOKClick);
  for (const auto& param : info.Params) {
    const std::string name = param.Name;
    if (info.Layout == elSliders) {
      p.Method("ImageSlider" + name + "Change", &TEffectForm::SliderChange)
          .Method("Edit" + name + "Change", &TEffectForm::EditChange)
          .Method("Edit" + name + "Exit", &TEffectForm::EditExit);
      if (param.KeyFilter) p.Method("EditThresholdKeyPress", &TEffectForm::EditThresholdKeyPress);
    } else if (info.Check == ecSpeed || info.Check == ecPitch) {
      p.Method("Edit" + name + "Exit", &TEffectForm::SingleEditExit);
    }
  }
  return p;
}

struct TEffectClass {
  const char* Name;
  TEffectForm* (*Create)(TComponent*, IEffectPreviewHost*);
};

const TEffectClass kClasses[] = {
    {"TDynamicRangeCompressorForm", Make<TDynamicRangeCompressorForm>},
    {"TAmplifyForm", Make<TAmplifyForm>},
    {"THighPassForm", Make<THighPassForm>},
    {"TEqualizerForm", Make<TEqualizerForm>},
    {"TEchoForm", Make<TEchoForm>},
    {"TReverbForm", Make<TReverbForm>},
    {"TCossFadeForm", Make<TCossFadeForm>},
    {"TMixStereoForm", Make<TMixStereoForm>},
    {"TNoiseReductionForm", Make<TNoiseReductionForm>},
    {"TSpeedChangeForm", Make<TSpeedChangeForm>},
    {"TPitchChangeForm", Make<TPitchChangeForm>},
    {"TPhaserForm", Make<TPhaserForm>},
    {"TFlangerForm", Make<TFlangerForm>},
    {"TChorusForm", Make<TChorusForm>},
    {"TNormalizeForm", Make<TNormalizeForm>},
};

}  // namespace

TEffectForm* CreateEffectForm(const std::string& ClassName, TComponent* AOwner, IEffectPreviewHost* Host) {
  for (const auto& c : kClasses)
    if (ClassName == c.Name) return c.Create(AOwner, Host);
  return nullptr;
}

void RegisterEffectDialogClasses() {
  static const bool done = [] {
    RegisterGuiClasses();
    RegisterImageSliderClasses();
    PublishEffectForm<TDynamicRangeCompressorForm>("TDynamicRangeCompressorForm");
    PublishEffectForm<TAmplifyForm>("TAmplifyForm");
    PublishEffectForm<THighPassForm>("THighPassForm");
    PublishEffectForm<TEchoForm>("TEchoForm");
    PublishEffectForm<TReverbForm>("TReverbForm");
    PublishEffectForm<TCossFadeForm>("TCossFadeForm");
    PublishEffectForm<TMixStereoForm>("TMixStereoForm");
    PublishEffectForm<TNoiseReductionForm>("TNoiseReductionForm");
    PublishEffectForm<TSpeedChangeForm>("TSpeedChangeForm");
    PublishEffectForm<TPitchChangeForm>("TPitchChangeForm");
    PublishEffectForm<TPhaserForm>("TPhaserForm");
    PublishEffectForm<TFlangerForm>("TFlangerForm");
    PublishEffectForm<TChorusForm>("TChorusForm");
    PublishEffectForm<TNormalizeForm>("TNormalizeForm");
    PublishEffectForm<TEqualizerForm>("TEqualizerForm")
        .Method("Label18dBDblClick", &TEqualizerForm::Label18dBDblClick)
        .Method("Label10dBDblClick", &TEqualizerForm::Label10dBDblClick)
        .Method("Label18dB2DblClick", &TEqualizerForm::Label18dB2DblClick);
    return true;
  }();
  (void)done;
}
