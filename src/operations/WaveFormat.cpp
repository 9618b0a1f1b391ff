#include "operations/WaveFormat.h"

#include "appbase/Globals.h"
#include "platform/rtl/TypInfo.h"

namespace {

constexpr TPresetText kWavePresets[] = {
    {"FM Quality", "22,050 Hz, 16 bits, Stereo"},
    {"CD Quality", "44,100 Hz, 16 bits, Stereo"},
    {"Hi-Fi Quality", "96,000 Hz, 16 bits, Stereo"},
};

}  // namespace

TWaveFormatForm::TWaveFormatForm(TComponent* AOwner)
    : TFormatSetupForm(AOwner, kWavePresets, "WAVSettings", &GlobalVars.OutputWAVType,
                       GlobalVars.OutputWAVPersets) {
  InitSetupForm();
}

std::string TWaveFormatForm::DescribeSettings() const { return DescribeWaveSettings(GlobalVars); }

std::unique_ptr<TFormatSpecifyForm> TWaveFormatForm::CreateSpecifyForm() {
  return std::make_unique<TWaveFormatSpecifyForm>(this);
}

TWaveFormatSpecifyForm::TWaveFormatSpecifyForm(TComponent* AOwner) : TFormatSpecifyForm(AOwner) {
  InitForm("TWaveFormatSpecifyForm");
  ComboBoxSampleRate = FindChild<TComboBox>(this, "ComboBoxSampleRate");
  ComboBoxBitDepth = FindChild<TComboBox>(this, "ComboBoxBitDepth");
  RadioButtonStereo = FindChild<TRadioButton>(this, "RadioButtonStereo");
  RadioButtonMono = FindChild<TRadioButton>(this, "RadioButtonMono");
}

void TWaveFormatSpecifyForm::LoadSettings() {
  ComboBoxSampleRate->SetItemIndex(GlobalVars.OutputWAVSampleType);
  ComboBoxBitDepth->SetItemIndex(GlobalVars.OutputWAVBitesPerSample);
  if (GlobalVars.OutputWAVMode == 0)
    RadioButtonStereo->SetChecked(true);
  else if (GlobalVars.OutputWAVMode == 1)
    RadioButtonMono->SetChecked(true);
}

void TWaveFormatSpecifyForm::SaveSettings() {
  GlobalVars.OutputWAVSampleType = uint8_t(ComboBoxSampleRate->ItemIndex());
  GlobalVars.OutputWAVBitesPerSample = uint8_t(ComboBoxBitDepth->ItemIndex());
  if (RadioButtonStereo->Checked())
    GlobalVars.OutputWAVMode = 0;
  else if (RadioButtonMono->Checked())
    GlobalVars.OutputWAVMode = 1;
}

void RegisterWaveFormatClasses() {
  RegisterClass<TWaveFormatForm, TFormatSetupForm>();
  RegisterClass<TWaveFormatSpecifyForm, TFormatSpecifyForm>();
}
