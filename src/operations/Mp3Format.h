#pragma once
// The MP3 setup dialog ("MP3 File Setup") and its Configure dialog.

#include "operations/FormatSetup.h"

class TComboBox;
class TCheckBox;
class TGroupBox;

class TMp3FormatForm : public TFormatSetupForm {
 public:
  explicit TMp3FormatForm(TComponent* AOwner);
  std::string DescribeSettings() const override;

 protected:
  std::unique_ptr<TFormatSpecifyForm> CreateSpecifyForm() override;
};

class TMp3SettingsSpecifyForm : public TFormatSpecifyForm {
 public:
  explicit TMp3SettingsSpecifyForm(TComponent* AOwner);
  TComboBox* ComboBoxMode = nullptr;
  TRadioButton* RadioButtonConstant = nullptr;
  TComboBox* ComboBoxConstant = nullptr;
  TRadioButton* RadioButtonVariable = nullptr;
  TGroupBox* GroupBoxVariable = nullptr;
  TLabel* LabelMin = nullptr;
  TComboBox* ComboBoxMin = nullptr;
  TLabel* LabelMax = nullptr;
  TComboBox* ComboBoxMax = nullptr;
  TRadioButton* RadioButtonQuality = nullptr;
  TImageSlider* ImageSliderQuality = nullptr;
  TLabel* LabelLow = nullptr;
  TLabel* LabelHigh = nullptr;
  TLabel* LabelQuality = nullptr;
  TRadioButton* RadioButtonSetAverage = nullptr;
  TComboBox* ComboBoxSetAverage = nullptr;
  TCheckBox* CheckBoxWriteXING = nullptr;
  TCheckBox* CheckBoxChecksum = nullptr;

  void LoadSettings() override;
  void SaveSettings() override;
  void RadioButtonConstantClick(TObject* Sender);
  void ImageSliderQualityChange(TObject* Sender);
  void ComboBoxMinChange(TObject* Sender);
  void ComboBoxMaxChange(TObject* Sender);

 protected:
  void UpdateControls() override { RadioButtonConstantClick(this); }
};

void RegisterMp3FormatClasses();
