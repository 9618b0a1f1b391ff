#include "operations/Mp3Format.h"

#include "appbase/Globals.h"
#include "controls/ImageSlider.h"
#include "platform/rtl/TypInfo.h"

namespace {

constexpr TPresetText kMp3Presets[] = {
    {"Phone Quality", "[MPEG 2.5, Layer 3, 16kbps, Mono]"},
    {"Shortwave Quality", "[MPEG 2.5, Layer 3, 24kbps, Mono]"},
    {"AM Quality", "[MPEG 2, Layer 3, 32kbps, Mono]"},
    {"FM Quality", "[MPEG 2, Layer 3, 96kbps, Joint Stereo]"},
    {"Voice Quality", "[MPEG 1, Layer 3, 64kbps, Mono]"},
    {"Radio Quality", "[MPEG 1, Layer 3, 112kbps, Joint Stereo]"},
    {"Tape Quality", "[MPEG 1, Layer 3, 128kbps, Joint Stereo]"},
    {"Hi-Fi Quality", "[MPEG 1, Layer 3, 160kbps, Joint Stereo]"},
    {"CD Quality", "[MPEG 1, Layer 3, 192kbps, Stereo]"},
    {"Studio Quality", "[MPEG 1, Layer 3, 256kbps, Stereo]"},
    {"Super Quality!", "[MPEG 1, Layer 3, 320kbps, Stereo]"},
};

// The slider runs from the lowest quality (left) to the best; the stored level counts the other
// way, as the encoder's quality levels do.
constexpr int kQualitySteps = 9;

}  // namespace

TMp3FormatForm::TMp3FormatForm(TComponent* AOwner)
    : TFormatSetupForm(AOwner, kMp3Presets, "MP3Settings", &GlobalVars.OutputMP3Type,
                       GlobalVars.OutputMP3Presets) {
  InitSetupForm();
}

std::string TMp3FormatForm::DescribeSettings() const { return DescribeMp3Settings(GlobalVars); }

std::unique_ptr<TFormatSpecifyForm> TMp3FormatForm::CreateSpecifyForm() {
  return std::make_unique<TMp3SettingsSpecifyForm>(this);
}

TMp3SettingsSpecifyForm::TMp3SettingsSpecifyForm(TComponent* AOwner) : TFormatSpecifyForm(AOwner) {
  InitForm("TMp3SettingsSpecifyForm");
  ComboBoxMode = FindChild<TComboBox>(this, "ComboBoxMode");
  RadioButtonConstant = FindChild<TRadioButton>(this, "RadioButtonConstant");
  ComboBoxConstant = FindChild<TComboBox>(this, "ComboBoxConstant");
  RadioButtonVariable = FindChild<TRadioButton>(this, "RadioButtonVariable");
  GroupBoxVariable = FindChild<TGroupBox>(this, "GroupBoxVariable");
  LabelMin = FindChild<TLabel>(this, "LabelMin");
  ComboBoxMin = FindChild<TComboBox>(this, "ComboBoxMin");
  LabelMax = FindChild<TLabel>(this, "LabelMax");
  ComboBoxMax = FindChild<TComboBox>(this, "ComboBoxMax");
  RadioButtonQuality = FindChild<TRadioButton>(this, "RadioButtonQuality");
  ImageSliderQuality = FindChild<TImageSlider>(this, "ImageSliderQuality");
  LabelLow = FindChild<TLabel>(this, "LabelLow");
  LabelHigh = FindChild<TLabel>(this, "LabelHigh");
  LabelQuality = FindChild<TLabel>(this, "LabelQuality");
  RadioButtonSetAverage = FindChild<TRadioButton>(this, "RadioButtonSetAverage");
  ComboBoxSetAverage = FindChild<TComboBox>(this, "ComboBoxSetAverage");
  CheckBoxWriteXING = FindChild<TCheckBox>(this, "CheckBoxWriteXING");
  CheckBoxChecksum = FindChild<TCheckBox>(this, "CheckBoxChecksum");
}

void TMp3SettingsSpecifyForm::LoadSettings() {
  const TGlobalVars& s = GlobalVars;
  ComboBoxMode->SetItemIndex(s.OutputMP3Mode);
  RadioButtonConstant->SetChecked(s.OutputMP3CBR);
  RadioButtonVariable->SetChecked(!s.OutputMP3CBR);
  ComboBoxConstant->SetItemIndex(s.OutputMP3CBRBitRate);
  ComboBoxMin->SetItemIndex(s.OutputMP3VBRBitRateMin);
  ComboBoxMax->SetItemIndex(s.OutputMP3VBRBitRateMax);
  RadioButtonQuality->SetChecked(s.OutputMP3QualityLevel);
  RadioButtonSetAverage->SetChecked(!s.OutputMP3QualityLevel);
  ImageSliderQuality->SetValue(kQualitySteps - s.OutputMP3QualityLevelValue);
  ComboBoxSetAverage->SetItemIndex(s.OutputMP3ABRBitRate);
  CheckBoxWriteXING->SetChecked(s.OutputMP3WriteXING);
  CheckBoxChecksum->SetChecked(s.OutputMP3Checksum);
}

void TMp3SettingsSpecifyForm::SaveSettings() {
  TGlobalVars& s = GlobalVars;
  s.OutputMP3Mode = uint8_t(ComboBoxMode->ItemIndex());
  s.OutputMP3CBR = RadioButtonConstant->Checked();
  s.OutputMP3CBRBitRate = uint8_t(ComboBoxConstant->ItemIndex());
  s.OutputMP3VBRBitRateMin = uint8_t(ComboBoxMin->ItemIndex());
  s.OutputMP3VBRBitRateMax = uint8_t(ComboBoxMax->ItemIndex());
  s.OutputMP3QualityLevel = RadioButtonQuality->Checked();
  s.OutputMP3QualityLevelValue = kQualitySteps - ImageSliderQuality->Value();
  s.OutputMP3ABRBitRate = uint8_t(ComboBoxSetAverage->ItemIndex());
  s.OutputMP3WriteXING = CheckBoxWriteXING->Checked();
  s.OutputMP3Checksum = CheckBoxChecksum->Checked();
}

void TMp3SettingsSpecifyForm::RadioButtonConstantClick(TObject*) {
  const bool constant = RadioButtonConstant->Checked();
  const bool variable = RadioButtonVariable->Checked();
  ComboBoxConstant->SetEnabled(constant);
  for (TControl* c : std::initializer_list<TControl*>{GroupBoxVariable, LabelMin, ComboBoxMin,
                                                      LabelMax, ComboBoxMax, RadioButtonQuality,
                                                      RadioButtonSetAverage, CheckBoxWriteXING})
    c->SetEnabled(variable);
  const bool quality = variable && RadioButtonQuality->Checked();
  for (TControl* c :
       std::initializer_list<TControl*>{ImageSliderQuality, LabelLow, LabelHigh, LabelQuality})
    c->SetEnabled(quality);
  ComboBoxSetAverage->SetEnabled(variable && RadioButtonSetAverage->Checked());
}

void TMp3SettingsSpecifyForm::ImageSliderQualityChange(TObject*) {
  LabelQuality->SetCaption(Format("%d", {kQualitySteps - ImageSliderQuality->Value()}));
}

void TMp3SettingsSpecifyForm::ComboBoxMinChange(TObject*) {
  if (ComboBoxMax->ItemIndex() < ComboBoxMin->ItemIndex())
    ComboBoxMax->SetItemIndex(ComboBoxMin->ItemIndex());
}

void TMp3SettingsSpecifyForm::ComboBoxMaxChange(TObject*) {
  if (ComboBoxMax->ItemIndex() < ComboBoxMin->ItemIndex())
    ComboBoxMin->SetItemIndex(ComboBoxMax->ItemIndex());
}

void RegisterMp3FormatClasses() {
  RegisterClass<TMp3FormatForm, TFormatSetupForm>();
  RegisterClass<TMp3SettingsSpecifyForm, TFormatSpecifyForm>();
  Published<TMp3SettingsSpecifyForm>()
      .Method("RadioButtonConstantClick", &TMp3SettingsSpecifyForm::RadioButtonConstantClick)
      .Method("ImageSliderQualityChange", &TMp3SettingsSpecifyForm::ImageSliderQualityChange)
      .Method("ComboBoxMinChange", &TMp3SettingsSpecifyForm::ComboBoxMinChange)
      .Method("ComboBoxMaxChange", &TMp3SettingsSpecifyForm::ComboBoxMaxChange);
}
