#include "operations/FormatSetup.h"

#include "appbase/HtmlHelp.h"
#include "appbase/Utils.h"
#include "controls/ImageSlider.h"
#include "operations/Mp3Format.h"
#include "operations/OggFormat.h"
#include "operations/WaveFormat.h"
#include "operations/WmaFormat.h"
#include "platform/rtl/TypInfo.h"

void TFormatSpecifyForm::FormShow(TObject*) {
  SubstituteFontName(this, "Tahoma", Screen->HintFont()->Name());
  UpdateControls();
}

TFormatSetupForm::TFormatSetupForm(TComponent* AOwner, std::span<const TPresetText> Presets,
                                   const char* HelpTopic, uint8_t* TypeField, uint8_t& PresetField)
    : TForm(AOwner),
      FPresets(Presets),
      FHelpTopic(HelpTopic),
      FTypeField(TypeField),
      FPresetField(PresetField) {}

void TFormatSetupForm::InitSetupForm() {
  InitForm(ClassName());
  RadioButtonPresetQuality = FindChild<TRadioButton>(this, "RadioButtonPresetQuality");
  ImageSliderPreset = FindChild<TImageSlider>(this, "ImageSliderPreset");
  LabelPresetQuality1 = FindChild<TLabel>(this, "LabelPresetQuality1");
  LabelPresetQuality2 = FindChild<TLabel>(this, "LabelPresetQuality2");
  LabelLowQuality = FindChild<TLabel>(this, "LabelLowQuality");
  LabelHighQuality = FindChild<TLabel>(this, "LabelHighQuality");
  RadioButtonSpecifySettings = FindChild<TRadioButton>(this, "RadioButtonSpecifySettings");
  LabelSpecifySettings = FindChild<TLabel>(this, "LabelSpecifySettings");
  ButtonConfigure = FindChild<TButton>(this, "ButtonConfigure");
  ButtonHelp = FindChild<TButton>(this, "ButtonHelp");
}

void TFormatSetupForm::LoadSettings() {
  if (FTypeField) {
    if (*FTypeField == 0)
      RadioButtonPresetQuality->SetChecked(true);
    else if (*FTypeField == 1)
      RadioButtonSpecifySettings->SetChecked(true);
  }
  ImageSliderPreset->SetValue(FPresetField);
}

void TFormatSetupForm::SaveSettings() {
  if (FTypeField) {
    if (RadioButtonPresetQuality->Checked())
      *FTypeField = 0;
    else if (RadioButtonSpecifySettings->Checked())
      *FTypeField = 1;
  }
  FPresetField = uint8_t(ImageSliderPreset->Value() & 0xFF);
}

void TFormatSetupForm::FormShow(TObject*) {
  SubstituteFontName(this, "Tahoma", Screen->HintFont()->Name());
  ImageSliderPresetChange(this);
  if (!FTypeField) return;
  RadioButtonPresetQualityClick(this);
  LabelSpecifySettings->SetCaption(DescribeSettings());
}

void TFormatSetupForm::RadioButtonPresetQualityClick(TObject*) {
  const bool preset = RadioButtonPresetQuality->Checked();
  for (TControl* c :
       std::initializer_list<TControl*>{LabelPresetQuality1, LabelPresetQuality2, LabelLowQuality,
                                        ImageSliderPreset, LabelHighQuality})
    c->SetEnabled(preset);
  const bool specify = RadioButtonSpecifySettings->Checked();
  LabelSpecifySettings->SetEnabled(specify);
  ButtonConfigure->SetEnabled(specify);
}

void TFormatSetupForm::ImageSliderPresetChange(TObject*) {
  const int value = ImageSliderPreset->Value();
  if (value < 0 || size_t(value) >= FPresets.size()) return;
  LabelPresetQuality1->SetCaption(FPresets[size_t(value)].Name);
  LabelPresetQuality2->SetCaption(FPresets[size_t(value)].Description);
}

void TFormatSetupForm::ButtonConfigureClick(TObject*) {
  std::unique_ptr<TFormatSpecifyForm> dialog = CreateSpecifyForm();
  if (!dialog || !RunFormatDialog(*dialog, this)) return;
  LabelSpecifySettings->SetCaption(DescribeSettings());
}

void TFormatSetupForm::ButtonHelpClick(TObject*) { ShowHelpTopic(Handle(), FHelpTopic); }

bool RunSaveFormatSetup(int Format, TControl* Caller) {
  std::unique_ptr<TFormatSetupForm> dialog;
  switch (Format) {
    case 0: dialog = std::make_unique<TWaveFormatForm>(Caller); break;
    case 1: dialog = std::make_unique<TMp3FormatForm>(Caller); break;
    case 2: dialog = std::make_unique<TOGGFormatForm>(Caller); break;
    case 3: dialog = std::make_unique<TWMAFormatForm>(Caller); break;
    default: return false;
  }
  return RunFormatDialog(*dialog, Caller);
}

void RegisterOutputFormatClasses() {
  static const bool done = [] {
    RegisterImageSliderClasses();
    RegisterClass<TFormatSpecifyForm, TForm>();
    Published<TFormatSpecifyForm>().Method("FormShow", &TFormatSpecifyForm::FormShow);
    RegisterClass<TFormatSetupForm, TForm>();
    Published<TFormatSetupForm>()
        .Method("FormShow", &TFormatSetupForm::FormShow)
        .Method("RadioButtonPresetQualityClick", &TFormatSetupForm::RadioButtonPresetQualityClick)
        .Method("ImageSliderPresetChange", &TFormatSetupForm::ImageSliderPresetChange)
        .Method("ButtonConfigureClick", &TFormatSetupForm::ButtonConfigureClick)
        .Method("ButtonHelpClick", &TFormatSetupForm::ButtonHelpClick);
    RegisterWaveFormatClasses();
    RegisterMp3FormatClasses();
    RegisterOggFormatClasses();
    RegisterWmaFormatClasses();
    return true;
  }();
  (void)done;
}
