#pragma once
// The batch converter's records: one file of its list, and one class per command of its chain,
// holding that command's parameters. Each is the data object of one list row and is freed with it.

#include <array>
#include <cstdint>
#include <string>

#include "platform/rtl/System.h"

// One file of the batch converter's list.
class TBatchFileItem : public TObject {
 public:
  std::string FileName;  // without its folder
  std::string Folder;    // with the trailing delimiter
};

// The batch converter's commands, one class each, holding that command's parameters.

class TBatchInsertSilenceAtTheStart : public TObject {
 public:
  int SilenceTime = 0;  // ms
};

class TBatchInsertSilenceAtTheEnd : public TObject {
 public:
  int SilenceTime = 0;  // ms
};

class TBatchAmplify : public TObject {
 public:
  int Gain = 0;  // percent
};

class TBatchNormalize : public TObject {
 public:
  int PeakLevel = 0;  // percent
};

class TBatchHighPass : public TObject {
 public:
  int Frequency = 0;  // Hz
};

class TBatchEqualizer : public TObject {
 public:
  std::array<int, 12> Bands{};  // 31.25 Hz to 16000 Hz
};

class TBatchEcho : public TObject {
 public:
  int DelayTime = 0;  // ms
  int MixDepth = 0;   // percent
  int FeedbackGain = 0;
};

class TBatchReverb : public TObject {
 public:
  int DelayTime = 0;
  int MixDepth = 0;
  int FeedbackGain = 0;
  int Gain = 0;
  int Frequency = 0;  // Hz
  int Taps = 0;
};

class TBatchNoiseReduction : public TObject {
 public:
  int Threshold = 0;  // dB
  int Rate = 0;       // percent
  int RMSTime = 0;    // ms
};

class TBatchSpeedChange : public TObject {
 public:
  int SpeedAdjust = 0;  // percent
};

class TBatchPitchChange : public TObject {
 public:
  int PitchAdjust = 0;  // percent
};

class TBatchCompressor : public TObject {
 public:
  int Threshold = 0;  // dB
  int Rate = 0;       // percent
};

class TBatchConvertSampleType : public TObject {
 public:
  uint8_t RateIndex = 0;    // into ConvertSampleRates
  uint8_t ChannelMode = 0;  // 0 stereo, 1 mono
};

class TBatchMixStereoChannels : public TObject {
 public:
  int LL = 0, LR = 0, RL = 0, RR = 0;  // percent
};

class TBatchPhaser : public TObject {
 public:
  int DelayTime = 0;
  int MixDepth = 0;
  int FeedbackGain = 0;
};

class TBatchFlanger : public TObject {
 public:
  int DelayRate = 0;
  int MixDepth = 0;
  int FeedbackGain = 0;
  int SweepDepth = 0;
  int SweepRate = 0;
  int SweepPhase = 0;  // degrees
};

class TBatchChorus : public TObject {
 public:
  int DelayRate = 0;
  int MixDepth = 0;
  int FeedbackGain = 0;
  int SweepDepth = 0;
  int SweepRate = 0;
  int SweepPhase = 0;  // degrees
};
