// Stored output-format choices turned into writer formats: the calls a target receives, and the
// files the editor and the file writer then make, read back by ffprobe.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FormatDialogInput.h"
#include "Imports/XOQAUDIOFILE2Lib_TLB.h"
#include "appbase/Globals.h"
#include "audio/AudioOutputFormat.h"
#include "audio/CodecTestUtil.h"
#include "common/TestEnv.h"
#include "controls/ImageSlider.h"
#include "operations/Mp3Format.h"
#include "operations/OutputFormatApply.h"
#include "platform/rtl/SysUtils.h"

namespace fs = std::filesystem;

namespace {

std::string Describe(const TLameEncoderSettings& e) {
  if (e.Preset) return Format("enc preset %d", {e.Preset});
  return Format("enc method %d quality %d abr %d min %d max %d channels %d stereo %d xing %d crc %d",
                {e.VbrMethod, int(e.VbrQuality), e.AbrBitRate, e.VbrMinBitRate, e.VbrMaxBitRate,
                 e.ChannelCount, e.StereoMode, int(e.WriteXing), int(e.WriteCrc)});
}

// Writes down every call as one line.
class TRecordingTarget : public IAudioEditor2FileFormat {
 public:
  std::vector<std::string> Calls;
  TLameEncoderSettings Encoder;
  void SetWavFormat(int rate, int channels, int bits) override {
    Calls.push_back(Format("wav %d %d %d", {rate, channels, bits}));
  }
  void SetMp3CbrFormat(int rate, int kbps, int channels) override {
    Calls.push_back(Format("cbr %d %d %d", {rate, kbps, channels}));
  }
  void SetMp3EncoderFormat(const TLameEncSettingsBase& settings) override {
    Encoder = settings.Settings();
    Calls.push_back(Describe(Encoder));
  }
  void SetOggFormat(int rate, int channels, int kbps, int r1, int r2, int16_t quality) override {
    Calls.push_back(Format("ogg %d %d %d %d %d %d", {rate, channels, kbps, r1, r2, int(quality)}));
  }
  void SetWmaFormat(int profile) override { Calls.push_back(Format("wma %d", {profile})); }
};

TGlobalVars Defaults() {
  TGlobalVars v;
  SetDefaultGlobalVars(v);
  return v;
}

struct ApplyCase {
  const char* Name;
  int Format;
  std::function<void(TGlobalVars&)> Change;
  std::string Call;  // empty: nothing set and the answer is false
};

const ApplyCase ApplyCases[] = {
    {"wav defaults", afWav, [](TGlobalVars&) {}, "wav 44100 2 16"},
    {"wav fm", afWav, [](TGlobalVars& v) { v.OutputWAVPersets = 0; }, "wav 22050 2 16"},
    {"wav hi-fi", afWav, [](TGlobalVars& v) { v.OutputWAVPersets = 2; }, "wav 96000 2 16"},
    {"wav preset off the list", afWav, [](TGlobalVars& v) { v.OutputWAVPersets = 9; },
     "wav 44100 2 16"},
    {"wav specified", afWav,
     [](TGlobalVars& v) {
       v.OutputWAVType = 1;
       v.OutputWAVSampleType = 0;
       v.OutputWAVBitesPerSample = 0;
       v.OutputWAVMode = 1;
     },
     "wav 8000 1 8"},
    {"wav specified, other type value", afWav,
     [](TGlobalVars& v) {
       v.OutputWAVType = 2;
       v.OutputWAVSampleType = 9;
       v.OutputWAVBitesPerSample = 3;
     },
     "wav 96000 2 32"},
    {"mp3 defaults", afMp3, [](TGlobalVars&) {}, "enc preset 9"},
    {"mp3 first preset", afMp3, [](TGlobalVars& v) { v.OutputMP3Presets = 0; }, "enc preset 1"},
    {"mp3 last preset", afMp3, [](TGlobalVars& v) { v.OutputMP3Presets = 10; }, "enc preset 11"},
    {"mp3 preset off the list", afMp3, [](TGlobalVars& v) { v.OutputMP3Presets = 11; }, ""},
    {"mp3 constant", afMp3,
     [](TGlobalVars& v) {
       v.OutputMP3Type = 1;
       v.OutputMP3CBRBitRate = 8;
       v.OutputMP3Mode = 3;
     },
     "cbr 44100 128 1"},
    {"mp3 constant off the list", afMp3,
     [](TGlobalVars& v) {
       v.OutputMP3Type = 1;
       v.OutputMP3CBRBitRate = 14;
       v.OutputMP3Mode = 1;
     },
     "cbr 44100 192 2"},
    {"mp3 variable by quality", afMp3,
     [](TGlobalVars& v) {
       v.OutputMP3Type = 1;
       v.OutputMP3CBR = false;
     },
     "enc method 0 quality 7 abr 128 min 128 max 320 channels 2 stereo 1 xing 1 crc 0"},
    {"mp3 average, joint stereo, flags turned round", afMp3,
     [](TGlobalVars& v) {
       v.OutputMP3Type = 1;
       v.OutputMP3CBR = false;
       v.OutputMP3QualityLevel = false;
       v.OutputMP3ABRBitRate = 2;
       v.OutputMP3Mode = 1;
       v.OutputMP3VBRBitRateMin = 0;
       v.OutputMP3VBRBitRateMax = 0;
       v.OutputMP3WriteXING = false;
       v.OutputMP3Checksum = true;
     },
     "enc method 4 quality 4 abr 48 min 32 max 40 channels 2 stereo 2 xing 0 crc 1"},
    {"mp3 dual channels", afMp3,
     [](TGlobalVars& v) {
       v.OutputMP3Type = 1;
       v.OutputMP3CBR = false;
       v.OutputMP3Mode = 2;
       v.OutputMP3QualityLevelValue = 9;
     },
     "enc method 0 quality 0 abr 128 min 128 max 320 channels 2 stereo 4 xing 1 crc 0"},
    {"mp3 mode off the list sets no channels", afMp3,
     [](TGlobalVars& v) {
       v.OutputMP3Type = 1;
       v.OutputMP3CBR = false;
       v.OutputMP3Mode = 4;
     },
     "enc method 0 quality 7 abr 128 min 128 max 320 channels 2 stereo 1 xing 1 crc 0"},
    {"ogg defaults", afOgg, [](TGlobalVars&) {}, "ogg 44100 2 192 0 0 -1"},
    {"ogg voice", afOgg, [](TGlobalVars& v) { v.OutputOGGPresets = 0; }, "ogg 44100 1 64 0 0 -1"},
    {"ogg best", afOgg, [](TGlobalVars& v) { v.OutputOGGPresets = 6; }, "ogg 44100 2 320 0 0 -1"},
    {"ogg preset off the list", afOgg, [](TGlobalVars& v) { v.OutputOGGPresets = 7; }, ""},
    {"ogg average", afOgg,
     [](TGlobalVars& v) {
       v.OutputOGGType = 1;
       v.OutputOGGABR = true;
       v.OutputOGGABRBitRate = 6;
       v.OutputOGGMode = 1;
     },
     "ogg 44100 1 350 0 0 -1"},
    {"ogg quality", afOgg, [](TGlobalVars& v) { v.OutputOGGType = 1; }, "ogg 44100 2 0 0 0 600"},
    {"ogg type off the list", afOgg, [](TGlobalVars& v) { v.OutputOGGType = 2; }, ""},
    {"wma defaults", afWma, [](TGlobalVars&) {}, "wma 10"},
    {"wma phone", afWma, [](TGlobalVars& v) { v.OutputWMAPresets = 0; }, "wma 36"},
    {"wma studio", afWma, [](TGlobalVars& v) { v.OutputWMAPresets = 6; }, "wma 8"},
    {"wma preset off the list", afWma, [](TGlobalVars& v) { v.OutputWMAPresets = 7; }, ""},
    {"another format", 3, [](TGlobalVars&) {}, ""},
};

TEST(ApplyOutputFormat, StoredChoicesBecomeTheTargetsFormat) {
  for (const ApplyCase& c : ApplyCases) {
    SCOPED_TRACE(c.Name);
    TGlobalVars v = Defaults();
    c.Change(v);
    TRecordingTarget target;
    TAudioEditor2LameEnc lame(nullptr);
    EXPECT_EQ(ApplyOutputFormat(v, c.Format, lame, target), !c.Call.empty());
    EXPECT_EQ(target.Calls, c.Call.empty() ? std::vector<std::string>{}
                                           : std::vector<std::string>{c.Call});
  }
}

TEST(ApplyOutputFormat, MonoKeepsTheStereoModeOfTheCallBefore) {
  TGlobalVars v = Defaults();
  v.OutputMP3Type = 1;
  v.OutputMP3CBR = false;
  v.OutputMP3Mode = 2;
  TRecordingTarget target;
  TAudioEditor2LameEnc lame(nullptr);
  ASSERT_TRUE(ApplyOutputFormat(v, afMp3, lame, target));
  v.OutputMP3Mode = 3;
  ASSERT_TRUE(ApplyOutputFormat(v, afMp3, lame, target));
  EXPECT_EQ(target.Encoder.ChannelCount, 1);
  EXPECT_EQ(target.Encoder.StereoMode, 4);
  // Back to stereo: both set again.
  v.OutputMP3Mode = 0;
  ASSERT_TRUE(ApplyOutputFormat(v, afMp3, lame, target));
  EXPECT_EQ(target.Encoder.ChannelCount, 2);
  EXPECT_EQ(target.Encoder.StereoMode, 1);
}

TEST(ApplyOutputFormat, AChoiceOffItsListLeavesTheFormatBefore) {
  TGlobalVars v = Defaults();
  v.OutputMP3Presets = 3;
  TRecordingTarget target;
  TAudioEditor2LameEnc lame(nullptr);
  ASSERT_TRUE(ApplyOutputFormat(v, afMp3, lame, target));
  v.OutputMP3Presets = 200;
  EXPECT_FALSE(ApplyOutputFormat(v, afMp3, lame, target));
  EXPECT_EQ(target.Calls, std::vector<std::string>{"enc preset 4"});
  EXPECT_EQ(target.Encoder.Preset, 4);
}

// ---- real files

constexpr int kRate = 44100;

// Three seconds of stereo: a tone on each side with a little noise, so that a variable-rate
// encoder has something to spend bits on.
SampleBuffer Fixture() {
  const int frames = 3 * kRate;
  SampleBuffer b(2, kRate, frames);
  uint32_t seed = 12345;
  auto noise = [&] {
    seed = seed * 1664525u + 1013904223u;
    return (float(seed >> 8) / float(1u << 24) - 0.5f) * 0.2f;
  };
  for (int f = 0; f < frames; ++f) {
    b.At(f, 0) = 0.4f * std::sin(2 * 3.14159265f * 440.f * f / kRate) + noise();
    b.At(f, 1) = 0.4f * std::sin(2 * 3.14159265f * 660.f * f / kRate) + noise();
  }
  return b;
}

struct FileCase {
  const char* Name;
  int Format;
  std::function<void(TGlobalVars&)> Change;
  const char* Codec;
  int SampleRate, Channels;
  long MinBitRate, MaxBitRate;  // 0, 0: not checked (PCM)
  bool AlsoWriter = false;      // also written through the file writer
  bool Variable = false;        // the rate is measured over the whole file, header frame included
};

const FileCase FileCases[] = {
    {"wav fm", afWav, [](TGlobalVars& v) { v.OutputWAVPersets = 0; }, "pcm_s16le", 22050, 2, 0, 0},
    {"wav hi-fi", afWav, [](TGlobalVars& v) { v.OutputWAVPersets = 2; }, "pcm_s16le", 96000, 2, 0,
     0},
    {"wav 8000 Hz 8-bit mono", afWav,
     [](TGlobalVars& v) {
       v.OutputWAVType = 1;
       v.OutputWAVSampleType = 0;
       v.OutputWAVBitesPerSample = 0;
       v.OutputWAVMode = 1;
     },
     "pcm_u8", 8000, 1, 0, 0, true},
    {"mp3 phone", afMp3, [](TGlobalVars& v) { v.OutputMP3Presets = 0; }, "mp3", 8000, 1, 16000,
     16000},
    {"mp3 cd", afMp3, [](TGlobalVars&) {}, "mp3", 44100, 2, 192000, 192000},
    {"mp3 constant 128 mono", afMp3,
     [](TGlobalVars& v) {
       v.OutputMP3Type = 1;
       v.OutputMP3CBRBitRate = 8;
       v.OutputMP3Mode = 3;
     },
     "mp3", 44100, 1, 128000, 128000},
    {"mp3 variable 96..160", afMp3,
     [](TGlobalVars& v) {
       v.OutputMP3Type = 1;
       v.OutputMP3CBR = false;
       v.OutputMP3VBRBitRateMin = 6;
       v.OutputMP3VBRBitRateMax = 8;
     },
     "mp3", 44100, 2, 96000, 160000, true, true},
    {"ogg voice", afOgg, [](TGlobalVars& v) { v.OutputOGGPresets = 0; }, "vorbis", 44100, 1, 64000,
     64000},
    {"ogg average 128", afOgg,
     [](TGlobalVars& v) {
       v.OutputOGGType = 1;
       v.OutputOGGABR = true;
       v.OutputOGGABRBitRate = 2;
     },
     "vorbis", 44100, 2, 128000, 128000, true},
        // FFmpeg's encoder goes no lower than kWmaMinKbps; the writer uses that for this profile.
    {"wma phone", afWma, [](TGlobalVars& v) { v.OutputWMAPresets = 0; }, "wmav2", 8000, 1,
     kWmaMinKbps * 1000, kWmaMinKbps * 1000, true},
    {"wma studio", afWma, [](TGlobalVars& v) { v.OutputWMAPresets = 6; }, "wmav2", 44100, 2,
     192000, 192000},
};

const char* Extension(int format) {
  switch (format) {
    case afMp3:
      return ".mp3";
    case afOgg:
      return ".ogg";
    case afWma:
      return ".wma";
  }
  return ".wav";
}

void ExpectProbe(const fs::path& file, const FileCase& c) {
  const codectest::Probe p = codectest::ProbeFile(file);
  ASSERT_TRUE(p.Ok) << file;
  EXPECT_EQ(p.Codec, c.Codec);
  EXPECT_EQ(p.SampleRate, c.SampleRate);
  EXPECT_EQ(p.Channels, c.Channels);
  // Encoders pad the last frame and add their start-up delay.
  EXPECT_NEAR(p.Duration, 3.0, 0.25);
  if (c.MaxBitRate) {
    EXPECT_GE(p.BitRate, c.MinBitRate);
    EXPECT_LE(p.BitRate, c.Variable ? c.MaxBitRate * 101 / 100 : c.MaxBitRate);
  }
}

class OutputFiles : public testing::Test {
 protected:
  fs::path Dir = sonalix::test::MakeTempDir("outfmt");

  // Saves the fixture through the editor after applying the choice.
  fs::path SaveThroughEditor(const TGlobalVars& v, int format, const std::string& name,
                             TLameEncSettingsBase& lame) {
    TAudioEditor2 editor(nullptr);
    editor.NewDocument(kRate, 2);
    SampleBuffer s = Fixture();
    editor.InsertPcm(s);
    EXPECT_TRUE(ApplyOutputFormat(v, format, lame, *editor.FileFormat()));
    const fs::path file = Dir / (name + Extension(format));
    editor.SaveFile(file.string(), false, format);
    return file;
  }
};

TEST_F(OutputFiles, TheEditorSavesWhatTheChoiceNames) {
  for (const FileCase& c : FileCases) {
    SCOPED_TRACE(c.Name);
    TGlobalVars v = Defaults();
    c.Change(v);
    TAudioEditor2LameEnc lame(nullptr);
    ExpectProbe(SaveThroughEditor(v, c.Format, "editor", lame), c);
  }
}

TEST_F(OutputFiles, TheFileWriterSavesWhatTheChoiceNames) {
  for (const FileCase& c : FileCases) {
    if (!c.AlsoWriter) continue;
    SCOPED_TRACE(c.Name);
    TGlobalVars v = Defaults();
    c.Change(v);
    TAudioFile2 writer(nullptr);
    TAudioFile2LameEnc lame(nullptr);
    TAudioFile2FormatTarget target(writer);
    ASSERT_TRUE(ApplyOutputFormat(v, c.Format, lame, target));
    EXPECT_EQ(writer.OutputKind(), c.Format);
    const fs::path file = Dir / (std::string("writer") + Extension(c.Format));
    writer.CreateFile(file.string(), 0);
    SampleBuffer s = Fixture();
    for (int64_t at = 0; at < s.Frames(); at += kRate) {
      SampleBuffer block = s.Slice(at, kRate);
      writer.WritePcm(block);
    }
    writer.CloseFile();
    ExpectProbe(file, c);
  }
}

// The stored quality level runs opposite to the encoder's: stored 0 ("High: 0") must be the
// encoder's best variable level, so it spends more bits than stored 9.
TEST_F(OutputFiles, StoredQualityZeroEncodesAtTheBestVariableLevel) {
  long rates[2] = {};
  for (int stored : {0, 9}) {
    TGlobalVars v = Defaults();
    v.OutputMP3Type = 1;
    v.OutputMP3CBR = false;
    v.OutputMP3VBRBitRateMin = 0;
    v.OutputMP3VBRBitRateMax = 12;
    v.OutputMP3QualityLevelValue = stored;
    TAudioEditor2LameEnc lame(nullptr);
    const codectest::Probe p =
        codectest::ProbeFile(SaveThroughEditor(v, afMp3, "q" + std::to_string(stored), lame));
    ASSERT_TRUE(p.Ok);
    rates[stored ? 1 : 0] = p.BitRate;
  }
  EXPECT_GT(rates[0], rates[1] * 3 / 2) << rates[0] << " vs " << rates[1];
}

// The whole quality chain: the Configure dialog's slider stores 9 - position, the encoder is given
// 9 - stored and encodes at its level 9 - that. The "High: 0" end must spend the most bits.
TEST_F(OutputFiles, TheQualitySlidersHighEndEncodesAtTheBestVariableLevel) {
  struct End {
    int Key;
    const char* ReadOut;
    int Stored;
    long Rate = 0;
  } ends[] = {{Qt::Key_End, "0", 0}, {Qt::Key_Home, "9", 9}};
  for (End& end : ends) {
    SCOPED_TRACE(end.ReadOut);
    formatdialogs::FreshSettings();
    GlobalVars.OutputMP3Type = 1;
    GlobalVars.OutputMP3CBR = false;
    GlobalVars.OutputMP3VBRBitRateMin = 0;
    GlobalVars.OutputMP3VBRBitRateMax = 12;
    {
      auto configure = formatdialogs::ShowLoaded<TMp3SettingsSpecifyForm>();
      formatdialogs::Press(configure->ImageSliderQuality, end.Key);
      EXPECT_EQ(configure->LabelQuality->Caption(), end.ReadOut);
      configure->SaveSettings();
    }
    EXPECT_EQ(GlobalVars.OutputMP3QualityLevelValue, end.Stored);
    TRecordingTarget target;
    TAudioEditor2LameEnc lame(nullptr);
    ASSERT_TRUE(ApplyOutputFormat(GlobalVars, afMp3, lame, target));
    EXPECT_EQ(target.Encoder.VbrMethod, 0);
    EXPECT_EQ(int(target.Encoder.VbrQuality), 9 - end.Stored);
    const codectest::Probe p =
        codectest::ProbeFile(SaveThroughEditor(GlobalVars, afMp3, end.ReadOut, lame));
    ASSERT_TRUE(p.Ok);
    end.Rate = p.BitRate;
  }
  EXPECT_GT(ends[0].Rate, ends[1].Rate * 3 / 2) << ends[0].Rate << " vs " << ends[1].Rate;
}

}  // namespace
