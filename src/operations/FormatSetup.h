#pragma once
// The "file setup" dialogs of the save formats share one design: a preset slider with a name
// and a description of each position, and (WAV, MP3, OGG) a second choice of settings of the
// user's own, edited in a Configure dialog and summarised in one line. They edit only the
// output-format fields of the settings record GlobalVars.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "operations/FormatSummary.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TImageSlider;

// A Configure dialog: the specified settings of one format.
class TFormatSpecifyForm : public TForm {
 public:
  virtual void LoadSettings() = 0;
  virtual void SaveSettings() = 0;
  void FormShow(TObject* Sender);

 protected:
  using TForm::TForm;
  // Brings the enabled controls and the read-outs in line with the loaded choices.
  virtual void UpdateControls() {}
};

// A component of Form's description by name, null when it has none of that class.
template <class T>
T* FindChild(TComponent* Form, const std::string& Name) {
  return dynamic_cast<T*>(Form->FindComponent(Name));
}

// One position of a preset slider: the texts of LabelPresetQuality1 and LabelPresetQuality2.
struct TPresetText {
  const char* Name;
  const char* Description;
};

class TFormatSetupForm : public TForm {
 public:
  TRadioButton* RadioButtonPresetQuality = nullptr;
  TImageSlider* ImageSliderPreset = nullptr;
  TLabel* LabelPresetQuality1 = nullptr;
  TLabel* LabelPresetQuality2 = nullptr;
  TLabel* LabelLowQuality = nullptr;
  TLabel* LabelHighQuality = nullptr;
  TRadioButton* RadioButtonSpecifySettings = nullptr;
  TLabel* LabelSpecifySettings = nullptr;
  TButton* ButtonConfigure = nullptr;
  TButton* ButtonHelp = nullptr;

  void LoadSettings();
  void SaveSettings();
  // The summary of the stored specified settings ("" for a format without them).
  virtual std::string DescribeSettings() const { return ""; }

  void FormShow(TObject* Sender);
  void RadioButtonPresetQualityClick(TObject* Sender);
  void ImageSliderPresetChange(TObject* Sender);
  void ButtonConfigureClick(TObject* Sender);
  void ButtonHelpClick(TObject* Sender);

 protected:
  // TypeField is null for a format with presets only.
  TFormatSetupForm(TComponent* AOwner, std::span<const TPresetText> Presets, const char* HelpTopic,
                   uint8_t* TypeField, uint8_t& PresetField);
  // Reads the description of the class being constructed; its constructor calls this.
  void InitSetupForm();
  // The format's Configure dialog, owned by this one.
  virtual std::unique_ptr<TFormatSpecifyForm> CreateSpecifyForm() { return nullptr; }

 private:
  std::span<const TPresetText> FPresets;
  const char* FHelpTopic;
  uint8_t* FTypeField;
  uint8_t& FPresetField;
};

// Opens a format dialog the way every caller does: centred over Caller, loaded, shown modally
// and saved on OK. True on OK.
template <class D>
bool RunFormatDialog(D& Dialog, TControl* Caller) {
  CenterOverWindow(&Dialog, Caller);
  Dialog.LoadSettings();
  if (Dialog.ShowModal() != mrOk) return false;
  Dialog.SaveSettings();
  return true;
}

// Opens the setup dialog of a save format (0 WAV, 1 MP3, 2 OGG, 3 WMA) as RunFormatDialog does.
// False on Cancel or for another index.
bool RunSaveFormatSetup(int Format, TControl* Caller);

// Registers the seven format dialogs with their handlers for their descriptions.
void RegisterOutputFormatClasses();
