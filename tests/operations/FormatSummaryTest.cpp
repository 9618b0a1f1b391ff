// The summaries of the stored specified settings, and the placement of a dialog over its caller.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "appbase/Globals.h"
#include "operations/FormatSummary.h"
#include "platform/gui/Forms.h"

namespace {

struct SummaryCase {
  std::function<std::string(const TGlobalVars&)> Describe;
  std::function<void(TGlobalVars&)> Change;
  const char* Text;
};

const SummaryCase SummaryCases[] = {
    {DescribeWaveSettings, [](TGlobalVars&) {}, "WAV, 44,100 Hz, 16 bits, Stereo"},
    {DescribeWaveSettings, [](TGlobalVars& v) { v.OutputWAVBitesPerSample = 7; },
     "WAV, 44,100 Hz, Unknow bits, Stereo"},
    {DescribeWaveSettings,
     [](TGlobalVars& v) {
       v.OutputWAVSampleType = 10;
       v.OutputWAVBitesPerSample = 0;
       v.OutputWAVMode = 2;
     },
     "WAV, Unknow Hz, 8 bits, Unknow"},
    {DescribeWaveSettings,
     [](TGlobalVars& v) {
       v.OutputWAVSampleType = 0;
       v.OutputWAVBitesPerSample = 3;
       v.OutputWAVMode = 1;
     },
     "WAV, 8,000 Hz, 32 bits, Mono"},
    {DescribeMp3Settings, [](TGlobalVars&) {}, "MPEG 1, Layer 3, 192kbps, Stereo"},
    {DescribeMp3Settings,
     [](TGlobalVars& v) {
       v.OutputMP3CBRBitRate = 14;
       v.OutputMP3Mode = 1;
       v.OutputMP3Checksum = true;
     },
     "MPEG 1, Layer 3, kbps, Joint Stereo, Checksum on"},
    {DescribeMp3Settings, [](TGlobalVars& v) { v.OutputMP3CBR = false; },
     "MPEG 1, Layer 3, Variable 128kbps - 320kbps, Quality 2, Stereo, XING compatible variable "
     "bit rate header"},
    {DescribeMp3Settings,
     [](TGlobalVars& v) {
       v.OutputMP3CBR = false;
       v.OutputMP3QualityLevel = false;
       v.OutputMP3ABRBitRate = 0;
       v.OutputMP3VBRBitRateMin = 0;
       v.OutputMP3VBRBitRateMax = 0;
       v.OutputMP3WriteXING = false;
       v.OutputMP3Checksum = true;
       v.OutputMP3Mode = 3;
     },
     "MPEG 1, Layer 3, Variable 32kbps - 40kbps, Average 32kbps, Mono, Checksum on"},
    {DescribeMp3Settings,
     [](TGlobalVars& v) {
       v.OutputMP3CBR = false;
       v.OutputMP3VBRBitRateMin = 13;
       v.OutputMP3VBRBitRateMax = 13;
       v.OutputMP3Mode = 4;
       v.OutputMP3WriteXING = false;
     },
     "MPEG 1, Layer 3, Variable kbps - kbps, Quality 2, "},
    {DescribeOggSettings, [](TGlobalVars&) {}, "Variable bit rate 60%, Stereo"},
    {DescribeOggSettings,
     [](TGlobalVars& v) {
       v.OutputOGGABR = true;
       v.OutputOGGABRBitRate = 6;
       v.OutputOGGMode = 1;
     },
     "Average Bit Rate: 350 kbps, Mono"},
    {DescribeOggSettings,
     [](TGlobalVars& v) {
       v.OutputOGGABR = true;
       v.OutputOGGABRBitRate = 7;
       v.OutputOGGMode = 5;
     },
     "Average Bit Rate: Unknow kbps, Mono"},
};

TEST(FormatSummary, DescribesTheStoredSettings) {
  for (const SummaryCase& c : SummaryCases) {
    TGlobalVars v;
    SetDefaultGlobalVars(v);
    c.Change(v);
    EXPECT_EQ(c.Describe(v), c.Text);
  }
}

TEST(FormatSummary, DialogGoesCentredOverItsCaller) {
  struct Case {
    int CallerLeft, CallerTop, CallerWidth, CallerHeight, Width, Height, Left, Top;
  } cases[] = {
      {100, 50, 600, 400, 300, 200, 250, 150},
      // A dialog larger than its caller by an odd amount: halves truncate toward zero.
      {100, 50, 201, 101, 300, 200, 51, 1},
  };
  for (const Case& c : cases) {
    TForm caller(nullptr);
    caller.SetBounds(c.CallerLeft, c.CallerTop, c.CallerWidth, c.CallerHeight);
    TForm dialog(nullptr);
    dialog.SetBounds(0, 0, c.Width, c.Height);
    CenterOverWindow(&dialog, &caller);
    EXPECT_EQ(dialog.Left(), c.Left);
    EXPECT_EQ(dialog.Top(), c.Top);
    EXPECT_EQ(dialog.Width(), c.Width);
    EXPECT_EQ(dialog.Height(), c.Height);
  }
}

}  // namespace
