#pragma once
// The WAV setup dialog ("Wave File Setup") and its Configure dialog.

#include "operations/FormatSetup.h"

class TComboBox;

class TWaveFormatForm : public TFormatSetupForm {
 public:
  explicit TWaveFormatForm(TComponent* AOwner);
  std::string DescribeSettings() const override;

 protected:
  std::unique_ptr<TFormatSpecifyForm> CreateSpecifyForm() override;
};

class TWaveFormatSpecifyForm : public TFormatSpecifyForm {
 public:
  explicit TWaveFormatSpecifyForm(TComponent* AOwner);
  TComboBox* ComboBoxSampleRate = nullptr;
  TComboBox* ComboBoxBitDepth = nullptr;
  TRadioButton* RadioButtonStereo = nullptr;
  TRadioButton* RadioButtonMono = nullptr;
  void LoadSettings() override;
  void SaveSettings() override;
};

void RegisterWaveFormatClasses();
