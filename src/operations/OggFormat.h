#pragma once
// The OGG setup dialog ("OGG File Setup") and its Configure dialog.

#include "operations/FormatSetup.h"

class TComboBox;
class TRadioGroup;

class TOGGFormatForm : public TFormatSetupForm {
 public:
  explicit TOGGFormatForm(TComponent* AOwner);
  std::string DescribeSettings() const override;

 protected:
  std::unique_ptr<TFormatSpecifyForm> CreateSpecifyForm() override;
};

class TOGGSettingsSpecifyForm : public TFormatSpecifyForm {
 public:
  explicit TOGGSettingsSpecifyForm(TComponent* AOwner);
  TRadioGroup* GroupBoxMode = nullptr;
  TRadioButton* RadioButtonAverage = nullptr;
  TComboBox* ComboBoxSetAverage = nullptr;
  TRadioButton* RadioButtonVariable = nullptr;
  TImageSlider* ImageSliderQuality = nullptr;
  TLabel* LabelLowQuality = nullptr;
  TLabel* LabelHighQuality = nullptr;
  TLabel* LabelQuality = nullptr;

  void LoadSettings() override;
  void SaveSettings() override;
  void RadioButtonAverageClick(TObject* Sender);
  void ImageSliderQualityChange(TObject* Sender);

 protected:
  void UpdateControls() override;
};

void RegisterOggFormatClasses();
