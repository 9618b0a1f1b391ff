#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "DialogTestUtil.h"
#include "Imports/XOQAUDIOINFORMATION2Lib_TLB.h"
#include "appbase/Globals.h"
#include "audio/AudioDocument.h"
#include "audio/EditorEffects.h"
#include "audio/WavFile.h"
#include "common/TestEnv.h"
#include "operations/BatchCommands.h"
#include "operations/BatchConverter.h"
#include "operations/BatchPipeline.h"

using namespace dialogtest;
namespace fs = std::filesystem;

namespace {

// A sound that every effect changes: two tones and a little noise, louder on the left.
std::vector<float> TestSound(int Rate, int Channels, int64_t Frames) {
  std::vector<float> v(size_t(Frames * Channels));
  uint32_t seed = 12345;
  for (int64_t i = 0; i < Frames; ++i) {
    const double t = double(i) / Rate;
    seed = seed * 1664525u + 1013904223u;
    const float noise = float(int(seed >> 9) - (1 << 22)) / float(1 << 22) * 0.02f;
    const float s = float(0.4 * std::sin(2 * M_PI * 440 * t) + 0.2 * std::sin(2 * M_PI * 3100 * t));
    for (int c = 0; c < Channels; ++c) v[size_t(i * Channels + c)] = s * (c == 0 ? 1.0f : 0.6f) + noise;
  }
  return v;
}

std::string WriteWav(const fs::path& Path, int Rate, int Channels, int64_t Frames, int Bits = 16) {
  WavWriter w(Path.string(), Rate, Channels, Bits);
  std::vector<float> v = TestSound(Rate, Channels, Frames);
  w.Write(v.data(), Frames);
  w.Close();
  return Path.string();
}

std::string WriteTaggedWav(const fs::path& Path, int Rate, int Channels, double Seconds) {
  WriteWav(Path, Rate, Channels, int64_t(Seconds * Rate));
  AudioTags tags;
  tags.Title = "Night Train";
  tags.Artist = "Ilse Varga";
  WriteAudioTags(Path.string(), tags);
  return Path.string();
}

SampleBuffer ReadWav(const std::string& Path) {
  WavReader r(Path);
  SampleBuffer b(r.Info().Channels, r.Info().SampleRate, r.Info().Frames);
  EXPECT_EQ(r.Read(b.Data(), b.Frames()), b.Frames());
  return b;
}

struct TProbe {
  std::string Codec, Title, Artist;
  int Rate = 0, Channels = 0;
  double Duration = 0;
};

TProbe Probe(const std::string& Path) {
  QProcess p;
  p.start("ffprobe", {"-v", "error", "-show_entries",
                      "stream=codec_name,sample_rate,channels:format=duration:format_tags:stream_tags",
                      "-of", "json", QString::fromStdString(Path)});
  EXPECT_TRUE(p.waitForFinished(60000));
  const QJsonObject root = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
  TProbe r;
  const QJsonObject stream = root["streams"].toArray().at(0).toObject();
  r.Codec = stream["codec_name"].toString().toStdString();
  r.Rate = stream["sample_rate"].toString().toInt();
  r.Channels = stream["channels"].toInt();
  const QJsonObject format = root["format"].toObject();
  r.Duration = format["duration"].toString().toDouble();
  // Tags sit on the container or, for OGG, on the stream; their keys vary in case.
  for (const QJsonObject& tags : {format["tags"].toObject(), stream["tags"].toObject()})
    for (auto it = tags.begin(); it != tags.end(); ++it) {
      const QString key = it.key().toLower();
      if (key == "title") r.Title = it.value().toString().toStdString();
      if (key == "artist") r.Artist = it.value().toString().toStdString();
    }
  return r;
}

std::vector<std::string> FilesIn(const fs::path& Dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(Dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::unique_ptr<TBatchConverterForm> ConverterWith(const std::vector<std::string>& Files,
                                                   const std::vector<TBatchStep>& Chain = {}) {
  auto form = std::make_unique<TBatchConverterForm>(nullptr);
  form->Show();
  Application->ProcessMessages();
  for (const std::string& f : Files) form->AddFile(f);
  for (const TBatchStep& s : Chain) {
    TListItem* item = form->ListViewCommand->Items()->Add();
    item->SetCaption(BatchCommandNames[s.Command]);
    std::unique_ptr<TObject> record = MakeBatchCommand(s.Command, s.Values);
    item->SubItems()->Add(BatchCommandSettingsText(s.Command, *record));
    item->SetData(std::move(record));
  }
  form->ShowStep(2);
  return form;
}

std::vector<std::string> RowCaptions(TListView* List) {
  std::vector<std::string> rows;
  for (int i = 0; i < List->Items()->Count(); ++i) rows.push_back(List->Items()->Item(i)->Caption());
  return rows;
}

class BatchRun : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaultGlobalVars();
    Dir = sonalix::test::MakeTempDir("batch");
  }
  fs::path Dir;
};

TEST_F(BatchRun, ADamagedFileFailsAloneWithItsTwoBoxesAndStaysListed) {
  const std::string a = WriteTaggedWav(Dir / "a.wav", 44100, 2, 2.5);
  std::ofstream(Dir / "b.wav") << "RIFF....WAVEnot really a sound file at all";
  const std::string b = (Dir / "b.wav").string();
  const std::string c = WriteTaggedWav(Dir / "c.wav", 22050, 1, 1.0);
  GlobalVars.BatchFileFormatUseTheSame = false;
  GlobalVars.BatchFileFormatIndex = 1;  // MP3 with the stored choices
  auto form = ConverterWith({a, b, c}, {{bcAmplify, {80}}});
  form->Hide();
  MessageBoxes boxes;
  // Finish inside the modal window: the run lets the window's messages through as it goes.
  const int result = RunModal(form.get(), [&] { ClickOn(form->ButtonNext); });
  ASSERT_EQ(boxes.Texts.size(), 3u);
  EXPECT_EQ(boxes.Texts[0], "An error occurred while transforming file:\r\n\r\nThe file \"" + b +
                                "\" is damaged or the format is not supported.");
  EXPECT_EQ(boxes.Texts[1],
            "Something wasn't as expected! At least one error occurred while processing file: \"" +
                b + "\"");
  EXPECT_EQ(boxes.Texts[2], "Encoding finished. 1 file(s) not been encoded.");
  EXPECT_EQ(RowCaptions(form->ListViewFiles), (std::vector<std::string>{"b.wav"}));
  EXPECT_EQ(form->Step(), 0);
  EXPECT_EQ(result, mrAbort) << "the window stays open (the test's guard ended it)";
  EXPECT_EQ(FilesIn(Dir), (std::vector<std::string>{"a.mp3", "a.wav", "b.wav", "c.mp3", "c.wav"}))
      << "no work file is left";
  EXPECT_TRUE(form->StopFlag);
  EXPECT_EQ(form->LabelBatch->Caption(), "Batch = 0%");
  EXPECT_FALSE(form->GroupBoxProcessing->Visible());
}

TEST_F(BatchRun, AllConvertedEmptiesTheListAndEndsTheWindowWithOk) {
  const std::string a = WriteTaggedWav(Dir / "a.wav", 44100, 2, 1.2);
  // Capitals: with "use the same format" only ".wav" itself keeps WAV.
  const std::string b = WriteTaggedWav(Dir / "B.WAV", 44100, 2, 1.2);
  auto form = ConverterWith({a, b});
  MessageBoxes boxes;
  form->RunBatch();
  EXPECT_TRUE(boxes.Texts.empty());
  EXPECT_EQ(form->ListViewFiles->Items()->Count(), 0);
  EXPECT_EQ(form->ModalResult(), mrOk);
  EXPECT_EQ(Probe((Dir / "a(1).wav").string()).Codec, "pcm_s16le") << "a.wav itself is taken";
  EXPECT_EQ(Probe((Dir / "B.mp3").string()).Codec, "mp3");
}

TEST_F(BatchRun, OutputsOfEachFormatCarryTheSourcesSoundAndTags) {
  struct Case {
    int formatIndex;
    const char* ext;
    const char* codec;
  } cases[] = {{0, ".wav", "pcm_s16le"}, {1, ".mp3", "mp3"}, {2, ".ogg", "vorbis"}, {3, ".wma", "wmav2"}};
  const std::string stereo = WriteTaggedWav(Dir / "stereo.wav", 44100, 2, 3.0);
  const std::string mono = WriteTaggedWav(Dir / "mono.wav", 44100, 1, 2.0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ext);
    const fs::path out = sonalix::test::MakeTempDir("out");
    GlobalVars.BatchFileFormatUseTheSame = false;
    GlobalVars.BatchFileFormatIndex = c.formatIndex;
    GlobalVars.BatchFileSaveFolderUseTheSame = false;
    GlobalVars.BatchFileSaveFolderpath = out.string();
    auto form = ConverterWith({stereo, mono}, {{bcEcho, {100, 30, 20}}});
    MessageBoxes boxes;
    form->RunBatch();
    EXPECT_TRUE(boxes.Texts.empty()) << (boxes.Texts.empty() ? "" : boxes.Texts[0]);
    for (const char* name : {"stereo", "mono"}) {
      SCOPED_TRACE(name);
      const TProbe p = Probe((out / (std::string(name) + c.ext)).string());
      EXPECT_EQ(p.Codec, c.codec);
      EXPECT_EQ(p.Rate, 44100);
      EXPECT_GE(p.Channels, 1);
      EXPECT_NEAR(p.Duration, std::string(name) == "stereo" ? 3.0 : 2.0, 0.1);
      EXPECT_EQ(p.Title, "Night Train");
      EXPECT_EQ(p.Artist, "Ilse Varga");
    }
    if (c.formatIndex == 0) {
      EXPECT_EQ(Probe((out / "mono.wav").string()).Channels, 2) << "the stored WAV choice is stereo";
    }
  }
}

TEST_F(BatchRun, ConvertCommandGivesTheFileItsRateAndChannelsWhereTheFormatCanHoldThem) {
  const std::string stereo = WriteTaggedWav(Dir / "s.wav", 44100, 2, 2.0);
  struct Case {
    int formatIndex;
    std::function<void()> choose;
    const char* ext;
    int rate, channels;
  } cases[] = {
      {0, [] {}, ".wav", 22050, 1},
      {1, [] { GlobalVars.OutputMP3Type = 1; GlobalVars.OutputMP3CBR = true; GlobalVars.OutputMP3CBRBitRate = 4; },
       ".mp3", 22050, 1},
      {2, [] { GlobalVars.OutputOGGType = 0; GlobalVars.OutputOGGPresets = 0; }, ".ogg", 22050, 1},
      // 320 kbps is more than Vorbis gives 22050 Hz mono: the writer converts to the stored choice.
      {2, [] { GlobalVars.OutputOGGType = 1; GlobalVars.OutputOGGABR = true; GlobalVars.OutputOGGABRBitRate = 6; },
       ".ogg", 44100, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ext) + " " + std::to_string(c.rate));
    const fs::path out = sonalix::test::MakeTempDir("out");
    SetDefaultGlobalVars();
    c.choose();
    GlobalVars.BatchFileFormatUseTheSame = false;
    GlobalVars.BatchFileFormatIndex = c.formatIndex;
    GlobalVars.BatchFileSaveFolderUseTheSame = false;
    GlobalVars.BatchFileSaveFolderpath = out.string();
    // 22050 Hz mono, with 500 ms of silence before it at the converted rate.
    auto form = ConverterWith({stereo}, {{bcConvertSampleType, {5, 1}}, {bcInsertSilenceAtTheStart, {500}}});
    MessageBoxes boxes;
    form->RunBatch();
    ASSERT_TRUE(boxes.Texts.empty()) << boxes.Texts[0];
    const TProbe p = Probe((out / (std::string("s") + c.ext)).string());
    EXPECT_EQ(p.Rate, c.rate);
    EXPECT_EQ(p.Channels, c.channels);
    EXPECT_NEAR(p.Duration, 2.5, 0.08);
  }
}

TEST_F(BatchRun, ATakenNameGivesTheNextNumberAndTheOldFileStaysAsItWas) {
  const std::string src = WriteTaggedWav(Dir / "song.wav", 44100, 2, 1.0);
  std::ofstream(Dir / "song.mp3") << "an older song";
  auto form = ConverterWith({src});
  MessageBoxes boxes;
  form->RunBatch();
  std::ifstream old(Dir / "song.mp3");
  std::string content((std::istreambuf_iterator<char>(old)), {});
  EXPECT_EQ(content, "an older song");
  GlobalVars.BatchFileFormatUseTheSame = false;
  EXPECT_EQ(Probe((Dir / "song(1).wav").string()).Codec, "pcm_s16le");
}

TEST(BatchPublish, ANameTakenWhileConvertingGetsTheNextNumber) {
  const fs::path dir = sonalix::test::MakeTempDir("publish");
  std::ofstream(dir / ".work") << "new";
  std::ofstream(dir / "x.mp3") << "taken meanwhile";
  EXPECT_EQ(PublishBatchOutput((dir / ".work").string(), (dir / "x.mp3").string()),
            (dir / "x(1).mp3").string());
  EXPECT_FALSE(fs::exists(dir / ".work"));
  std::ifstream taken(dir / "x.mp3");
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(taken)), {}), "taken meanwhile");
}

TEST(BatchPipeline, WmaProfileFollowsTheSourceBitRate) {
  const std::pair<int64_t, int> cases[] = {{0, 36},      {10000, 36},  {10001, 23},  {34000, 23},
                                           {50000, 16},  {66000, 13},  {98000, 11},  {128000, 10},
                                           {130000, 10}, {130001, 8},  {320000, 8}};
  for (auto [rate, code] : cases) EXPECT_EQ(WmaProfileForBitRate(rate), code) << rate;
}

TEST_F(BatchRun, CancelAnsweredNoChangesNothingAndYesLeavesNoOutputOfTheStoppedFiles) {
  std::vector<std::string> files;
  for (const char* n : {"one", "two", "three"})
    files.push_back(WriteWav(Dir / (std::string(n) + ".wav"), 44100, 2, 44100 * 20));
  const std::vector<std::string> before = FilesIn(Dir);
  for (int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
    for (const std::string& n : FilesIn(Dir))
      if (std::find(before.begin(), before.end(), n) == before.end()) fs::remove(Dir / n);
    auto form = ConverterWith(files, {{bcEcho, {100, 30, 20}}});
    std::vector<std::string> texts;
    TModalHook previous = SetModalHook([&](const TModalRequest& r) {
      if (r.Kind != TModalRequest::mrMessageBox) return 0;
      texts.push_back(r.Text);
      return r.Type & MB_YESNO ? answer : int(IDOK);
    });
    // The first file stays in the middle of its conversion until the question is answered (and,
    // for Yes, until the run has told it to stop), however the machine schedules the threads.
    std::atomic<bool> answered{false};
    BatchBlockHook = [&](const std::string& Source, const std::atomic<bool>& Stop) {
      if (Source != files[0]) return;
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
      while (!Stop && !(answer == IDNO && answered) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    Steps steps;
    std::vector<std::string> rowsDuringRun;
    steps.Later([&] {
      // The run owns the list: a drop is refused.
      form->DropFiles({WriteWav(Dir / "late.wav", 44100, 2, 100)});
      rowsDuringRun = RowCaptions(form->ListViewFiles);
      EXPECT_TRUE(form->GroupBoxProcessing->Visible());
      EXPECT_FALSE(form->ButtonCancel->Enabled());
      // The close box asks the same question as the Cancel button.
      if (answer == IDNO)
        form->Close();
      else
        ClickOn(form->ButtonCancelConverting);
      answered = true;
    });
    form->RunBatch();
    BatchBlockHook = nullptr;
    SetModalHook(std::move(previous));
    fs::remove(Dir / "late.wav");
    EXPECT_EQ(rowsDuringRun, (std::vector<std::string>{"one.wav", "two.wav", "three.wav"}));
    ASSERT_GE(texts.size(), 1u);
    EXPECT_EQ(texts[0], "Really want to stop convertion?");
    if (answer == IDNO) {
      EXPECT_EQ(texts.size(), 1u);
      EXPECT_EQ(form->ListViewFiles->Items()->Count(), 0);
      EXPECT_EQ(form->ModalResult(), mrOk);
    } else {
      EXPECT_EQ(texts.size(), 2u);
      EXPECT_EQ(texts.back(),
                "Something wasn't as expected! At least one error occurred while processing file: "
                "\"" + files[0] + "\"");
      EXPECT_EQ(RowCaptions(form->ListViewFiles),
                (std::vector<std::string>{"two.wav", "three.wav", "one.wav"}));
      EXPECT_EQ(form->Step(), 2) << "the window stays at Step 3";
      EXPECT_EQ(FilesIn(Dir), before) << "no output or work file of the stopped files";
      EXPECT_TRUE(form->GroupBoxProcessing->Visible() == false);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// The batch chain against the editor's effects on the whole document.

struct TEditorStep {
  TBatchStep Batch;
  std::function<void(AudioDocument&, AudioEditorEffects&)> Editor;
};

void SelectAll(AudioDocument& d) { d.Select(0, d.Length()); }

std::vector<TEditorStep> EditorSteps() {
  auto all = [](auto f) {
    return [f](AudioDocument& d, AudioEditorEffects& e) {
      SelectAll(d);
      f(e);
    };
  };
  SampleBuffer gains(std::vector<float>{0.5f, 1, 1.5f, -1, 0.7f, 0, 1.3f, -0.5f, 0, 0.4f, 0, 0}, 1, 0);
  SampleBuffer freqs(std::vector<float>{31.25f, 62.5f, 125, 250, 500, 1000, 2000, 4000, 6000, 9000,
                                        12000, 16000},
                     1, 0);
  return {
      {{bcInsertSilenceAtTheStart, {250}},
       [](AudioDocument& d, AudioEditorEffects& e) {
         d.SetSelectionActive(false);
         d.SetCursor(0);
         e.InsertSilence(250);
       }},
      {{bcAmplify, {150}}, all([](AudioEditorEffects& e) { e.Amplify(150); })},
      {{bcEcho, {200, 70, 40}}, all([](AudioEditorEffects& e) { e.Echo(200, 70, 40); })},
      {{bcNormalize, {90}}, all([](AudioEditorEffects& e) { e.Normalize(90, -1); })},
      {{bcHighPass, {300}}, all([](AudioEditorEffects& e) { e.HighPass(300, 100); })},
      {{bcEqualizer, {50, 100, 150, -100, 70, 0, 130, -50, 0, 40, 0, 0}},
       all([gains, freqs](AudioEditorEffects& e) { e.Equalizer(gains, freqs); })},
      {{bcReverb, {30, 60, 60, 30, 11025, 8}},
       all([](AudioEditorEffects& e) { e.Reverb(30, 60, 60, 30, 11025, 8); })},
      {{bcNoiseReduction, {-54, 75, 100}}, all([](AudioEditorEffects& e) { e.NoiseReduction(-54, 75, 100); })},
      {{bcCompressor, {-10, 50}}, all([](AudioEditorEffects& e) { e.Compressor(-10, 50, 100); })},
      {{bcMixStereoChannels, {50, 50, 20, 80}}, all([](AudioEditorEffects& e) { e.MixStereo(50, 50, 20, 80); })},
      {{bcPhaser, {300, 30, 45}}, all([](AudioEditorEffects& e) { e.Phaser(300, 30, 45); })},
      {{bcFlanger, {14, 50, 30, 99, 18, 40}},
       all([](AudioEditorEffects& e) { e.Flanger(14, 50, 30, 99, 18, 40); })},
      {{bcChorus, {10, 20, 60, 30, 20, 90}},
       all([](AudioEditorEffects& e) { e.Chorus(10, 20, 60, 30, 20, 90); })},
      {{bcSpeedChange, {80}}, all([](AudioEditorEffects& e) { e.SpeedChange(80); })},
      {{bcPitchChange, {120}}, all([](AudioEditorEffects& e) { e.PitchChange(120); })},
      {{bcInsertSilenceAtTheEnd, {300}},
       [](AudioDocument& d, AudioEditorEffects& e) {
         d.SetSelectionActive(false);
         d.SetCursor(d.Length());
         e.InsertSilence(300);
       }},
  };
}

SampleBuffer ThroughBatch(const std::string& Source, const TBatchChain& Chain) {
  TGlobalVars settings;
  SetDefaultGlobalVars(settings);
  settings.BatchFileFormatUseTheSame = true;  // a float WAV stays a float WAV
  TBatchFileConverter converter(Chain, settings);
  std::atomic<bool> stop{false};
  const fs::path out = sonalix::test::MakeTempDir("same");
  TBatchOutcome o = converter.Convert(Source, out.string() + "/", stop);
  EXPECT_TRUE(o.Ok) << (o.Messages.empty() ? "" : o.Messages[0]);
  return o.Ok ? ReadWav(o.WorkFile) : SampleBuffer();
}

SampleBuffer ThroughEditor(const std::string& Source, const std::vector<const TEditorStep*>& Steps) {
  AudioDocument doc;
  doc.OpenFile(Source);
  AudioEditorEffects effects(doc);
  for (const TEditorStep* s : Steps) s->Editor(doc, effects);
  SampleBuffer b(doc.Channels(), doc.SampleRate(), doc.Length());
  doc.Samples().Read(0, doc.Length(), b.Data());
  return b;
}

float LargestDifference(const SampleBuffer& A, const SampleBuffer& B) {
  float d = 0;
  for (int64_t i = 0; i < std::min(A.ValueCount(), B.ValueCount()); ++i)
    d = std::max(d, std::fabs(A[i] - B[i]));
  return d;
}

// The same chain through the batch and through the editor on the whole document: same length to
// the frame and the same samples (so no seam where blocks meet).
void Compare(const std::string& Source, const std::vector<const TEditorStep*>& Chosen) {
  TBatchChain chain;
  for (const TEditorStep* s : Chosen) chain.push_back(s->Batch);
  const SampleBuffer batch = ThroughBatch(Source, chain), editor = ThroughEditor(Source, Chosen);
  EXPECT_EQ(batch.Frames(), editor.Frames());
  EXPECT_EQ(batch.Channels(), editor.Channels());
  EXPECT_LE(LargestDifference(batch, editor), 1e-5f);
}

const std::string& FloatWav(const char* Name, int Channels, double Seconds) {
  static std::map<std::string, std::string> made;
  std::string& path = made[Name];
  if (path.empty())
    path = WriteWav(sonalix::test::MakeTempDir("float") / Name, 44100, Channels,
                    int64_t(std::llround(44100 * Seconds)), 32);
  return path;
}

class BatchEqualsEditor : public ::testing::TestWithParam<double> {};

TEST_P(BatchEqualsEditor, EachCommandAlone) {
  const std::string source = FloatWav(GetParam() > 10 ? "long.wav" : "short.wav", 2, GetParam());
  for (const TEditorStep& s : EditorSteps()) {
    SCOPED_TRACE(BatchCommandNames[s.Batch.Command]);
    Compare(source, {&s});
  }
}

TEST_P(BatchEqualsEditor, ALongChain) {
  const std::string source = FloatWav(GetParam() > 10 ? "long.wav" : "short.wav", 2, GetParam());
  const std::vector<TEditorStep> steps = EditorSteps();
  auto step = [&steps](int command) {
    for (const TEditorStep& s : steps)
      if (s.Batch.Command == command) return &s;
    return static_cast<const TEditorStep*>(nullptr);
  };
  Compare(source, {step(bcInsertSilenceAtTheStart), step(bcAmplify), step(bcEcho),
                   step(bcSpeedChange), step(bcNormalize), step(bcMixStereoChannels),
                   step(bcFlanger), step(bcInsertSilenceAtTheEnd)});
  // A mono source goes through as one channel and stays mono.
  SCOPED_TRACE("mono");
  Compare(FloatWav(GetParam() > 10 ? "mono-long.wav" : "mono-short.wav", 1, GetParam()),
          {step(bcAmplify), step(bcEcho), step(bcNormalize), step(bcSpeedChange)});
}

INSTANTIATE_TEST_SUITE_P(FloatWavs, BatchEqualsEditor, ::testing::Values(60.0, 7.3));

}  // namespace

#include <signal.h>
#include <sys/resource.h>

namespace {

TEST_F(BatchRun, AFileFailingPartWayFailsAloneAndLeavesNothingBehind) {
  const std::string a = WriteWav(Dir / "a.wav", 44100, 2, 44100);
  const std::string big = WriteWav(Dir / "big.wav", 44100, 2, 44100 * 5);
  const std::string c = WriteWav(Dir / "c.wav", 44100, 2, 44100);
  const fs::path out = sonalix::test::MakeTempDir("out");
  GlobalVars.BatchFileSaveFolderUseTheSame = false;
  GlobalVars.BatchFileSaveFolderpath = out.string();
  auto form = ConverterWith({a, big, c});
  MessageBoxes boxes;
  // Files may grow to 300 kB: the one-second outputs fit, the five-second one fails while its
  // second second is written.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 300 * 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  form->RunBatch();
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);
  ASSERT_EQ(boxes.Texts.size(), 3u);
  EXPECT_NE(boxes.Texts[0].find("big.wav"), std::string::npos) << boxes.Texts[0];
  EXPECT_EQ(boxes.Texts[1],
            "Something wasn't as expected! At least one error occurred while processing file: \"" +
                big + "\"");
  EXPECT_EQ(boxes.Texts[2], "Encoding finished. 1 file(s) not been encoded.");
  EXPECT_EQ(FilesIn(out), (std::vector<std::string>{"a.wav", "c.wav"}));
}

}  // namespace
