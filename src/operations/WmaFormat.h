#pragma once
// The WMA setup dialog ("WMA File Setup"): presets only.

#include "operations/FormatSetup.h"

class TWMAFormatForm : public TFormatSetupForm {
 public:
  explicit TWMAFormatForm(TComponent* AOwner);
};

void RegisterWmaFormatClasses();
