#include <gtest/gtest.h>

#include <algorithm>

#include "AudioTestUtil.h"
#include "audio/SpectrumAnalysis.h"

using namespace audiotest;

TEST(SpectrumAnalysis, AFullScaleSinePeaksInItsBinAtZeroDbForEveryWindow) {
  struct Case {
    int size, rate;
    double hz;
  } cases[] = {{1024, 44100, 1000},
               {256, 8000, 1000},
               {4096, 48000, 1000},
               {1024, 44100, 44100.0 / 1024 * 40}};
  for (const Case& c : cases)
    for (int type = 0; type < SpectrumAnalysis::kWindowTypes; ++type) {
      SpectrumAnalysis a;
      a.SetSize(c.size);
      a.SetWindowType(type);
      SampleBuffer s = Sine(2 * c.size, c.hz, c.rate, 2, 1.0);
      for (int64_t f = 0; f < s.Frames(); ++f) s.At(f, 1) = s.At(f, 0);  // both channels alike
      a.Feed(s);
      const auto& sp = a.Spectrum();
      ASSERT_EQ(sp.size(), size_t(c.size / 2 + 1));
      const int peak = int(std::max_element(sp.begin(), sp.end()) - sp.begin());
      EXPECT_EQ(peak, int(std::lround(c.hz * c.size / c.rate))) << c.size << " type " << type;
      const bool centred = std::fmod(c.hz * c.size / c.rate, 1.0) == 0;
      // Off-centre sines lose up to the window's scalloping loss.
      EXPECT_NEAR(sp[size_t(peak)], centred ? 0.f : -0.8f, centred ? 0.05f : 1.0f)
          << c.size << " type " << type;
      // Far from the tone the spectrum is low (the rectangular window leaks most).
      EXPECT_LT(sp[size_t(c.size / 2 - 2)], type == 3 ? -30.f : -60.f) << type;
    }
}

TEST(SpectrumAnalysis, ChannelsMixShortInputPadsAndViewsMapThePlace) {
  SpectrumAnalysis a;
  a.SetSize(1024);
  SampleBuffer opposite = Constant(2048, {0.5f, -0.5f}, 44100);
  a.Feed(opposite);
  for (float v : a.Spectrum()) EXPECT_EQ(v, SpectrumAnalysis::kFloor);
  SampleBuffer empty;
  EXPECT_NO_THROW(a.Feed(empty));
  SampleBuffer shortOne = Sine(100, 1000, 22050, 1, 0.5);
  EXPECT_NO_THROW(a.Feed(shortOne));
  EXPECT_EQ(a.SampleRate(), 22050);
  EXPECT_NEAR(a.Waveform()[10], shortOne[10], 1e-7);
  EXPECT_EQ(a.Waveform()[500], 0.f);

  a.SetView(0);
  EXPECT_EQ(a.XValueAt(0), 0);
  EXPECT_EQ(a.XValueAt(1), 1023);
  EXPECT_NEAR(a.LevelAt(10.0 / 1023), 20 * std::log10(std::fabs(shortOne[10])), 1e-3);
  a.SetView(1);
  EXPECT_DOUBLE_EQ(a.XValueAt(0.5), 22050 / 4.0);
  a.SetView(2);
  EXPECT_NEAR(a.XValueAt(0), 22050.0 / 1024, 1e-9);
  EXPECT_NEAR(a.XValueAt(1), 11025, 1e-6);
  EXPECT_NEAR(a.XValueAt(0.5), std::sqrt(22050.0 / 1024 * 11025), 1e-6);
  EXPECT_EQ(SpectrumAnalysis::ScaleLevelAt(0), 0.f);
  EXPECT_EQ(SpectrumAnalysis::ScaleLevelAt(1), SpectrumAnalysis::kFloor);
}
