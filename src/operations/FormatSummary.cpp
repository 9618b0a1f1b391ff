#include "operations/FormatSummary.h"

#include <iterator>

#include "appbase/Globals.h"
#include "platform/gui/Controls.h"
#include "platform/rtl/SysUtils.h"

namespace {

template <size_t N>
std::string Pick(const char* const (&texts)[N], int index, const char* otherwise) {
  return index >= 0 && size_t(index) < N ? texts[index] : otherwise;
}

// The MP3 rate lists: constant and average use all 14, the minimum the first 13, the maximum
// the last 13.
constexpr const char* kMp3Rates[] = {"32",  "40",  "48",  "56",  "64",  "80",  "96",
                                     "112", "128", "160", "192", "224", "256", "320"};

std::string Mp3Rate(int index, int first, int count) {
  return (index >= 0 && index < count ? kMp3Rates[first + index] : "") + std::string("kbps");
}

}  // namespace

std::string DescribeWaveSettings(const TGlobalVars& s) {
  static constexpr const char* rates[] = {"8,000 Hz",  "11,025 Hz", "12,000 Hz", "16,000 Hz",
                                          "22,050 Hz", "24,000 Hz", "32,000 Hz", "44,100 Hz",
                                          "48,000 Hz", "96,000 Hz"};
  static constexpr const char* bits[] = {"8 bits", "16 bits", "24 bits", "32 bits"};
  static constexpr const char* modes[] = {"Stereo", "Mono"};
  return Format("WAV, %s, %s, %s", {Pick(rates, s.OutputWAVSampleType, "Unknow Hz"),
                                     Pick(bits, s.OutputWAVBitesPerSample, "Unknow bits"),
                                     Pick(modes, s.OutputWAVMode, "Unknow")});
}

std::string DescribeMp3Settings(const TGlobalVars& s) {
  static constexpr const char* modes[] = {"Stereo", "Joint Stereo", "Dual Channels", "Mono"};
  const std::string mode = Pick(modes, s.OutputMP3Mode, "");
  std::string body;
  if (s.OutputMP3CBR) {
    body = Mp3Rate(s.OutputMP3CBRBitRate, 0, 14) + ", " + mode;
  } else {
    const std::string quality =
        s.OutputMP3QualityLevel ? Format("Quality %d", {s.OutputMP3QualityLevelValue})
                                : Format("Average %s", {Mp3Rate(s.OutputMP3ABRBitRate, 0, 14)});
    body = Format("Variable %s - %s, %s, %s",
                  {Mp3Rate(s.OutputMP3VBRBitRateMin, 0, 13),
                   Mp3Rate(s.OutputMP3VBRBitRateMax, 1, 13), quality, mode});
    if (s.OutputMP3WriteXING) body += ", XING compatible variable bit rate header";
  }
  if (s.OutputMP3Checksum) body += ", Checksum on";
  return "MPEG 1, Layer 3, " + body;
}

std::string DescribeOggSettings(const TGlobalVars& s) {
  static constexpr const char* rates[] = {"64", "96", "128", "160", "192", "256", "350"};
  const char* mode = s.OutputOGGMode != 0 ? "Mono" : "Stereo";
  if (s.OutputOGGABR)
    return Format("Average Bit Rate: %s kbps, %s",
                  {Pick(rates, s.OutputOGGABRBitRate, "Unknow"), mode});
  return Format("Variable bit rate %d%%, %s", {s.OutputOGGQualityValue, mode});
}

void CenterOverWindow(TControl* Dialog, TControl* Caller) {
  Dialog->SetTop(Caller->Top() + (Caller->Height() - Dialog->Height()) / 2);
  Dialog->SetLeft(Caller->Left() + (Caller->Width() - Dialog->Width()) / 2);
}
