#include "Imports/AudioEditor2Parts.h"

#include <algorithm>
#include <climits>

#include "Imports/XOQAUDIOFILE2Lib_TLB.h"

void TAudioEditor2PositionPart::MsToSamples(int ms, int& samples) {
  samples = int(std::clamp<int64_t>(FDoc.MsToSamples(ms), INT_MIN, INT_MAX));
}

void TAudioEditor2PositionPart::SamplesToMs(int samples, int& ms) {
  ms = int(std::clamp<int64_t>(FDoc.SamplesToMs(samples), INT_MIN, INT_MAX));
}

void TAudioEditor2FileFormatPart::SetMp3EncoderFormat(const TLameEncSettingsBase& settings) {
  FDoc.SetMp3EncoderFormat(settings.Settings());
}
