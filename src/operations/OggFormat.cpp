#include "operations/OggFormat.h"

#include "appbase/Globals.h"
#include "controls/ImageSlider.h"
#include "platform/rtl/TypInfo.h"

namespace {

constexpr TPresetText kOggPresets[] = {
    {"Voice Quality", "64 kbps, Mono"},   {"FM Quality", "96 kbps, Stereo"},
    {"Tape Quality", "128 kbps, Stereo"}, {"Hi-Fi Quality", "160 kbps, Stereo"},
    {"CD Quality", "192 kbps, Stereo"},   {"Studio Quality", "256 kbps, Stereo"},
    {"Best Quality", "320 kbps, Stereo"},
};

}  // namespace

TOGGFormatForm::TOGGFormatForm(TComponent* AOwner)
    : TFormatSetupForm(AOwner, kOggPresets, "OGGSettings", &GlobalVars.OutputOGGType,
                       GlobalVars.OutputOGGPresets) {
  InitSetupForm();
}

std::string TOGGFormatForm::DescribeSettings() const { return DescribeOggSettings(GlobalVars); }

std::unique_ptr<TFormatSpecifyForm> TOGGFormatForm::CreateSpecifyForm() {
  return std::make_unique<TOGGSettingsSpecifyForm>(this);
}

TOGGSettingsSpecifyForm::TOGGSettingsSpecifyForm(TComponent* AOwner) : TFormatSpecifyForm(AOwner) {
  InitForm("TOGGSettingsSpecifyForm");
  GroupBoxMode = FindChild<TRadioGroup>(this, "GroupBoxMode");
  RadioButtonAverage = FindChild<TRadioButton>(this, "RadioButtonAverage");
  ComboBoxSetAverage = FindChild<TComboBox>(this, "ComboBoxSetAverage");
  RadioButtonVariable = FindChild<TRadioButton>(this, "RadioButtonVariable");
  ImageSliderQuality = FindChild<TImageSlider>(this, "ImageSliderQuality");
  LabelLowQuality = FindChild<TLabel>(this, "LabelLowQuality");
  LabelHighQuality = FindChild<TLabel>(this, "LabelHighQuality");
  LabelQuality = FindChild<TLabel>(this, "LabelQuality");
}

void TOGGSettingsSpecifyForm::LoadSettings() {
  const TGlobalVars& s = GlobalVars;
  GroupBoxMode->SetItemIndex(s.OutputOGGMode);
  RadioButtonAverage->SetChecked(s.OutputOGGABR);
  RadioButtonVariable->SetChecked(!s.OutputOGGABR);
  ComboBoxSetAverage->SetItemIndex(s.OutputOGGABRBitRate);
  ImageSliderQuality->SetValue(s.OutputOGGQualityValue);
}

void TOGGSettingsSpecifyForm::SaveSettings() {
  TGlobalVars& s = GlobalVars;
  s.OutputOGGMode = uint8_t(GroupBoxMode->ItemIndex());
  s.OutputOGGABR = RadioButtonAverage->Checked();
  s.OutputOGGABRBitRate = uint8_t(ComboBoxSetAverage->ItemIndex());
  s.OutputOGGQualityValue = ImageSliderQuality->Value();
}

void TOGGSettingsSpecifyForm::UpdateControls() {
  RadioButtonAverageClick(this);
  ImageSliderQualityChange(this);
}

void TOGGSettingsSpecifyForm::RadioButtonAverageClick(TObject*) {
  ComboBoxSetAverage->SetEnabled(RadioButtonAverage->Checked());
  const bool variable = RadioButtonVariable->Checked();
  for (TControl* c : std::initializer_list<TControl*>{LabelLowQuality, ImageSliderQuality,
                                                      LabelHighQuality, LabelQuality})
    c->SetEnabled(variable);
}

void TOGGSettingsSpecifyForm::ImageSliderQualityChange(TObject*) {
  LabelQuality->SetCaption(Format("%d%%", {ImageSliderQuality->Value()}));
}

void RegisterOggFormatClasses() {
  RegisterClass<TOGGFormatForm, TFormatSetupForm>();
  RegisterClass<TOGGSettingsSpecifyForm, TFormatSpecifyForm>();
  Published<TOGGSettingsSpecifyForm>()
      .Method("RadioButtonAverageClick", &TOGGSettingsSpecifyForm::RadioButtonAverageClick)
      .Method("ImageSliderQualityChange", &TOGGSettingsSpecifyForm::ImageSliderQualityChange);
}
