// The preview's effect for each code against the transform called directly with the values in
// the effect's order, and one real preview: a host over a WAV file that transforms and plays
// through the file sound backend, driven from the echo dialog.
#include <functional>

#include "../audio/AudioTestUtil.h"
#include "../audio/DeviceTestUtil.h"
#include "EffectTestUtil.h"
#include "Imports/XOQAUDIOPLAYER2Lib_TLB.h"
#include "Imports/XOQAUDIOTRANSFORM2Lib_TLB.h"
#include "audio/WavFile.h"
#include "common/TestEnv.h"

namespace {

using namespace effecttest;

SampleBuffer Signal() { return audiotest::Sine(22050, 440, 44100, 2, 0.5); }

TEST(EffectPreviewTransform, EachCodeCallsItsEffectWithTheValuesInOrder) {
  using Call = std::function<void(TAudioTransform2&, SampleBuffer&)>;
  struct Case {
    int Code;
    std::vector<int> Values;
    Call Direct;
  };
  const Case cases[] = {
      {1, {-20, 60}, [](auto& t, auto& a) { t.Compressor(a, -20, 60, 100); }},
      {2, {150}, [](auto& t, auto& a) { t.Amplify(a, 150); }},
      {3, {800}, [](auto& t, auto& a) { t.HighPass(a, 800, 100); }},
      {5, {120, 50, 30}, [](auto& t, auto& a) { t.Echo(a, 120, 50, 30); }},
      {6, {30, 60, 60, 30, 11025, 8}, [](auto& t, auto& a) { t.Reverb(a, 30, 60, 60, 30, 11025, 8); }},
      {7, {20, 90}, [](auto& t, auto& a) { t.Fade(a, 20, 90); }},
      {8, {80, 20, 10, 70}, [](auto& t, auto& a) { t.MixStereo(a, 80, 20, 10, 70); }},
      {9, {-30, 25, 30}, [](auto& t, auto& a) { t.NoiseReduction(a, -30, 25, 30); }},
      {10, {150}, [](auto& t, auto& a) { t.SpeedChange(a, 150); }},
      {11, {140}, [](auto& t, auto& a) { t.PitchChange(a, 140); }},
      {12, {60, 30, 60}, [](auto& t, auto& a) { t.Phaser(a, 60, 30, 60); }},
      {13, {14, 50, 30, 99, 18, 40}, [](auto& t, auto& a) { t.Flanger(a, 14, 50, 30, 99, 18, 40); }},
      {14, {10, 20, 60, 0, 0, 90}, [](auto& t, auto& a) { t.Chorus(a, 10, 20, 60, 0, 0, 90); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Code);
    TAudioTransform2 viaCode(nullptr), direct(nullptr);
    SampleBuffer a = Signal(), b = Signal();
    TransformPreviewArray(viaCode, c.Code, c.Values, a);
    c.Direct(direct, b);
    EXPECT_EQ(a.Values(), b.Values());
    EXPECT_NE(a.Values(), Signal().Values()) << "the effect did something";
  }
}

TEST(EffectPreviewTransform, EqualizerGainsAreTheBandValuesOverAHundred) {
  std::vector<int> bands = {30, 55, 30, 15, 0, 0, 0, 0, -90, -120, -150, -180};
  SampleBuffer gains(1, 0, 12), frequencies(1, 0, 12);
  const float hz[] = {31.25f, 62.5f, 125, 250, 500, 1000, 2000, 4000, 6000, 9000, 12000, 16000};
  for (int i = 0; i < 12; ++i) gains[i] = float(bands[size_t(i)]) / 100, frequencies[i] = hz[i];
  TAudioTransform2 viaCode(nullptr), direct(nullptr);
  SampleBuffer a = Signal(), b = Signal();
  TransformPreviewArray(viaCode, 4, bands, a);
  direct.Equalizer(b, gains, frequencies);
  EXPECT_EQ(a.Values(), b.Values());
}

TEST(EffectPreviewTransform, NoCodeOrAnUnknownOneChangesNothing) {
  TAudioTransform2 t(nullptr);
  for (int code : {-1, 0, 15, 99}) {
    SampleBuffer a = Signal();
    TransformPreviewArray(t, code, {}, a);
    EXPECT_EQ(a.Values(), Signal().Values()) << code;
  }
  SampleBuffer a = Signal();
  EXPECT_THROW(TransformPreviewArray(t, 5, {200, 70}, a), Exception);
  EXPECT_EQ(a.Values(), Signal().Values());
}

// What the main window does for a preview, over a WAV file instead of a document.
class TFilePreviewHost : public IEffectPreviewHost {
 public:
  explicit TFilePreviewHost(std::string File) : FFile(std::move(File)), FPlayer(nullptr), FTransform(nullptr) {
    FPlayer.OnEndPlay = [this](TObject*) { StopPreview(); };
    FTransform.OnTransformBlock = [this](TObject*, int) { FTransforming = true; };
    FTransform.OnEndTransform = [this](TObject*) { FTransforming = false; };
  }
  void StartPreview() override {
    SampleBuffer a = audiotest::ReadWav(FFile);
    FPlayer.SetFormat(a.SampleRate(), a.Channels());
    FPlayer.OpenDevice();
    if (FPlayer.DeviceError() != 0) {
      Application->MessageBox("Starting audio device error.", Application->Title(), MB_OK | MB_ICONERROR);
      return;
    }
    const int code = GlobalVars.PreviewOperationTypes;
    const TEffectDialogInfo* info = FindEffectDialogByCode(code);
    TransformPreviewArray(FTransform, code, info ? EffectSettings(*info) : std::vector<int>{}, a);
    FPlayer.PlayArray(a);
    FPlaying = true;
  }
  void StopPreview() override {
    FPlayer.Stop();
    FPlaying = false;
  }
  bool PreviewPlaying() const override { return FPlaying; }
  bool PreviewTransforming() const override { return FTransforming; }
  void ClearPreviewPlaying() override { FPlaying = false; }
  std::string OutputFile() const { return FPlayer.OutputFile(); }

 private:
  std::string FFile;
  TAudioPlayer2 FPlayer;
  TAudioTransform2 FTransform;
  bool FPlaying = false, FTransforming = false;
};

using EffectPreview = EffectDialogTest;

TEST_F(EffectPreview, EchoPreviewedFromTheDialogPlaysTheEchoOfTheFile) {
  const auto dir = sonalix::test::MakeTempDir("preview");
  const std::string fixture = (dir / "fixture.wav").string();
  {
    // Quiet enough that the echo stays below full scale.
    SampleBuffer s = audiotest::Sine(22050, 330, 44100, 2, 0.4);
    WavWriter w(fixture, 44100, 2, 16);
    w.Write(s.Data(), s.Frames());
    w.Close();
  }
  audiotest::ScopedBackend backend("file:" + (dir / "out").string());
  std::filesystem::create_directories(dir / "out");
  audiotest::ManualClock deviceClock;
  TFilePreviewHost host(fixture);
  auto form = Open("TEchoForm", &host);
  TComboBox* list = form->ComboBoxPreset();
  list->SetItemIndex(1);  // "Echo": 200, 70, 40
  form->ComboBoxPresetChange(list);
  ClickOn(form->ButtonPreview());
  ASSERT_TRUE(host.PreviewPlaying());
  EXPECT_EQ(form->ButtonPreview()->Caption(), "&Stop");
  ASSERT_TRUE(deviceClock.RunUntil([&] { return !host.PreviewPlaying(); }));
  Tick();
  EXPECT_EQ(form->ButtonPreview()->Caption(), "&Preview");
  EXPECT_TRUE(form->ButtonOK()->Enabled());

  SampleBuffer expected = audiotest::ReadWav(fixture);
  TAudioTransform2 direct(nullptr);
  direct.Echo(expected, 200, 70, 40);
  const SampleBuffer played = audiotest::ReadWav(host.OutputFile());
  ASSERT_EQ(played.Frames(), expected.Frames());
  double worst = 0;
  for (int64_t i = 0; i < expected.ValueCount(); ++i)
    worst = std::max(worst, double(std::abs(played[i] - expected[i])));
  EXPECT_LE(worst, 1.0 / 32768 + 1e-6);
  // What played is not the dry file.
  EXPECT_NE(played.Values(), audiotest::ReadWav(fixture).Values());
}

}  // namespace
