#include "operations/WmaFormat.h"

#include "appbase/Globals.h"
#include "platform/rtl/TypInfo.h"

namespace {

constexpr TPresetText kWmaPresets[] = {
    {"Phone Quality", "[WMA, 8 kbps, 8,000 Hz, Mono]"},
    {"FM Quality", "[WMA, 32 kbps, 22,050 Hz, Stereo]"},
    {"High Quality Mono", "[WMA, 48 kbps, 44,100 Hz, Mono]"},
    {"Radio Quality", "[WMA, 64 kbps, 44,100 Hz, Stereo]"},
    {"Tape Quality", "[WMA, 96 kbps, 44,100 Hz, Stereo]"},
    {"CD Quality", "[WMA, 128 kbps, 44,100 Hz, Stereo]"},
    {"Studio Quality", "[WMA, 192 kbps, 44,100 Hz, Stereo]"},
};

}  // namespace

TWMAFormatForm::TWMAFormatForm(TComponent* AOwner)
    : TFormatSetupForm(AOwner, kWmaPresets, "WMASettings", nullptr, GlobalVars.OutputWMAPresets) {
  InitSetupForm();
}

void RegisterWmaFormatClasses() { RegisterClass<TWMAFormatForm, TFormatSetupForm>(); }
