// The conversion chain over the compression-manager stand-in, and the codec list.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "AcmTestUtil.h"
#include "acm/deACM.h"
#include "common/TestEnv.h"

using namespace acmtest;

namespace {

// A format of a made-up codec: `tag`, 4-byte blocks, two extra bytes.
struct CodecFormat {
  alignas(8) uint8_t Bytes[TdeWaveFormat::kBufferSize] = {};
  CodecFormat(uint16_t tag, uint32_t rate, int channels) {
    auto* f = reinterpret_cast<WAVEFORMATEX*>(Bytes);
    f->wFormatTag = tag;
    f->nChannels = uint16_t(channels);
    f->nSamplesPerSec = rate;
    f->nAvgBytesPerSec = rate;
    f->nBlockAlign = 4;
    f->wBitsPerSample = 0;
    f->cbSize = 2;
    Bytes[18] = uint8_t(tag);
  }
  const WAVEFORMATEX& Wfx() const { return *reinterpret_cast<const WAVEFORMATEX*>(Bytes); }
  std::vector<uint8_t> Vec() const { return AcmFormatBytes(Wfx()); }
  void Into(TdeWaveFormat* f) const { std::memcpy(f->Bytes(), Bytes, sizeof Bytes); }
};

std::vector<uint8_t> PcmBytes(uint32_t rate, int bits, int channels) {
  return AcmFormatBytes(*PcmFormat(rate, bits, channels)->Pointer());
}

// The suggestion completes a copy of another format: only the format itself is compared.
bool SameWfx(const TdeWaveFormat* a, const TdeWaveFormat* b) {
  return std::memcmp(a->Bytes(), b->Bytes(), sizeof(WAVEFORMATEX)) == 0;
}

class Scripted : public ::testing::Test {
 protected:
  ~Scripted() override {
    AcmRemoveScriptedDrivers();
    FreeCodecList();
  }
  void Driver(std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> pairs,
              MMRESULT openResult = 0) {
    TAcmScriptedDriver d;
    d.Pairs = std::move(pairs);
    d.StreamOpenResult = openResult;
    AcmRegisterScriptedDriver(d);
  }
  std::vector<uint16_t> Tags(const TdeAudioConvertor& c) {
    std::vector<uint16_t> tags;
    for (int i = 0; i < c.ChainCount(); ++i) tags.push_back(c.ChainFormat(i)->FormatTag());
    return tags;
  }
};

}  // namespace

TEST_F(Scripted, ChainsThroughSuggestedPcmFormats) {
  const CodecFormat a(0x77, 8000, 1), b(0x78, 22050, 2);
  // a decodes to 16-bit mono 8000 Hz; b is made from 16-bit stereo 22050 Hz.
  Driver({{a.Vec(), PcmBytes(8000, 16, 1)}});
  Driver({{PcmBytes(22050, 16, 2), b.Vec()}});
  TdeAudioConvertor c(nullptr);

  a.Into(c.FormatIn());
  c.SetFormatOut(PcmFormat(48000, 16, 2).get());
  c.Open();
  EXPECT_EQ(Tags(c), (std::vector<uint16_t>{0x77, 1, 1}));
  EXPECT_TRUE(SameWfx(c.ChainFormat(1), PcmFormat(8000, 16, 1).get()));
  c.Close();

  b.Into(c.FormatOut());
  c.Open();
  EXPECT_EQ(Tags(c), (std::vector<uint16_t>{0x77, 1, 1, 0x78}));
  EXPECT_TRUE(SameWfx(c.ChainFormat(2), PcmFormat(22050, 16, 2).get()));
  // Each codec block becomes one block: 3 blocks of a, 2 bytes left for the next call.
  std::vector<uint8_t> out;
  c.OnAudioConverted = [&](TObject*, const void* d, int n, bool&) {
    out.assign(static_cast<const uint8_t*>(d), static_cast<const uint8_t*>(d) + n);
  };
  const uint8_t block[14] = {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9};
  c.Convert(block, sizeof block);
  EXPECT_FALSE(out.empty());
  EXPECT_EQ(out.size() % 4, 0u);
  c.Close();

  // A suggestion equal to the input does not make a stage of its own.
  c.SetFormatIn(PcmFormat(22050, 16, 1).get());
  c.Open();
  EXPECT_EQ(c.ChainCount(), 3);
  EXPECT_EQ(Tags(c), (std::vector<uint16_t>{1, 1, 0x78}));
  EXPECT_EQ(c.ChainFormat(1)->Channels(), 2);
}

TEST_F(Scripted, FormatsNoDriverBridgesAreRefusedAndLeaveTheConvertorInactive) {
  const CodecFormat unknown(0x99, 8000, 1);
  TdeAudioConvertor c(nullptr);
  unknown.Into(c.FormatIn());
  c.SetFormatOut(PcmFormat(48000, 16, 2).get());
  try {
    c.Open();
    ADD_FAILURE();
  } catch (const EACMConversionError& e) {
    EXPECT_EQ(e.Message(), "Conversion not possible.");
  }
  EXPECT_FALSE(c.Active());

  // A stage whose stream fails to open takes the others with it.
  const CodecFormat a(0x77, 8000, 1);
  Driver({{a.Vec(), PcmBytes(8000, 16, 1)}}, MMSYSERR_NOMEM);
  a.Into(c.FormatIn());
  EXPECT_THROW(c.Open(), EACMConversionError);
  EXPECT_FALSE(c.Active());
  EXPECT_EQ(c.ChainCount(), 0);
}

TEST(AudioConvertor, ConvertsCdAudioToTheDeviceRateInOneStreamAndBlocksGiveWhatSoxGives) {
  const auto dir = sonalix::test::MakeTempDir("conv");
  Sox("-D -r 44100 -c 2 -n -b 16 '" + (dir / "in.wav").string() + "' synth 5512s sine 1000 vol 0.5");
  Sox("-D '" + (dir / "in.wav").string() + "' -r 48000 '" + (dir / "out.wav").string() + "'");
  const std::vector<uint8_t> in = RawSamples(dir / "in.wav");
  const std::vector<uint8_t> soxRaw = RawSamples(dir / "out.wav");
  const size_t soxBytes = soxRaw.size();
  ASSERT_EQ(in.size(), 5512u * 4);

  TdeAudioConvertor c(nullptr);
  c.SetFormatIn(PcmFormat(44100, 16, 2).get());
  c.SetFormatOut(PcmFormat(48000, 16, 2).get());
  c.Open();
  EXPECT_EQ(c.ChainCount(), 2) << "one stream";
  std::vector<int16_t> out;
  c.OnAudioConverted = [&](TObject*, const void* d, int n, bool&) {
    out.resize(size_t(n) / 2);
    std::memcpy(out.data(), d, size_t(n));
  };
  c.Convert(in.data(), int(in.size()));
  EXPECT_EQ(out.size() * 2, soxBytes);
  EXPECT_EQ(out.size() / 2, 5999u);
  int peak = 0;
  for (size_t i = 1000; i + 1000 < out.size(); ++i) peak = std::max(peak, std::abs(int(out[i])));
  EXPECT_NEAR(peak, 16384, 164) << "the sine keeps its level";
  // Away from the block's edges (where sox sees silence around the file) the samples match.
  std::vector<int16_t> sox(soxRaw.size() / 2);
  std::memcpy(sox.data(), soxRaw.data(), soxRaw.size());
  int worst = 0;
  for (size_t i = 1000; i + 1000 < out.size(); ++i) worst = std::max(worst, std::abs(out[i] - sox[i]));
  EXPECT_LE(worst, 2);

  // The next block converts on its own: the same count again.
  c.Convert(in.data(), int(in.size()));
  EXPECT_EQ(out.size() / 2, 5999u);
}

TEST(AudioConvertor, EachBlockConvertsAloneWhateverCameBefore) {
  struct Rates {
    uint32_t In, Out;
  } cases[] = {{44100, 48000}, {8000, 48000}, {48000, 22050}, {44100, 44101}};
  const auto dir = sonalix::test::MakeTempDir("alone");
  Sox("-D -r 44100 -c 2 -n -b 16 '" + (dir / "a.wav").string() + "' synth 4000s sine 1234 vol 0.7");
  Sox("-D -r 44100 -c 2 -n -b 16 '" + (dir / "b.wav").string() + "' synth 3000s square 77");
  const std::vector<uint8_t> a = RawSamples(dir / "a.wav"), b = RawSamples(dir / "b.wav");
  const std::vector<uint8_t> silence(b.size(), 0);
  for (const Rates& r : cases) {
    auto run = [&](const std::vector<const std::vector<uint8_t>*>& blocks) {
      TdeAudioConvertor c(nullptr);
      c.SetFormatIn(PcmFormat(r.In, 16, 2).get());
      c.SetFormatOut(PcmFormat(r.Out, 16, 2).get());
      c.Open();
      std::vector<int16_t> last;
      for (auto* block : blocks) {
        c.Convert(block->data(), int(block->size()));
        last.resize(size_t(c.OutputSize()) / 2);
        std::memcpy(last.data(), c.Output(), size_t(c.OutputSize()));
      }
      return last;
    };
    // Silence before it, then a loud square wave right up to its first frame.
    const std::vector<int16_t> alone = run({&silence, &a});
    const std::vector<int16_t> after = run({&b, &a, &b, &b, &a});
    ASSERT_EQ(alone.size(), after.size()) << r.In << "->" << r.Out;
    EXPECT_EQ(alone.size() / 2, size_t((4000 * int64_t(r.Out) + r.In / 2) / r.In));
    int worst = 0;
    for (size_t i = 0; i < alone.size(); ++i) worst = std::max(worst, std::abs(alone[i] - after[i]));
    EXPECT_LE(worst, 1) << r.In << "->" << r.Out;
  }
}

TEST(AudioConvertor, APartialBlockWaitsAndPublishesNothing) {
  TestProducer source;
  TdeAudioConvertor c(nullptr);
  c.SetAudioSource(&source);
  int published = 0, observed = 0;
  c.OnAudioConverted = [&](TObject*, const void*, int, bool&) { ++published; };
  TComponent consumer(nullptr);
  TdeAudioObserver watcher(&consumer, [&](IdeAudioSubject*, const void*, int) { ++observed; });
  watcher.SetAudioSource(&c);

  c.SetFormatOut(PcmFormat(48000, 16, 2).get());
  const uint8_t bytes[4] = {1, 2, 3, 4};
  source.Publish(bytes, 3);  // less than a frame
  EXPECT_TRUE(c.Active());
  EXPECT_EQ(published, 0);
  EXPECT_EQ(observed, 0);
  EXPECT_EQ(c.OutputSize(), 0);
  source.Publish(bytes + 3, 1);  // completes it
  EXPECT_EQ(published, 1);
  EXPECT_EQ(observed, 1);
  EXPECT_EQ(c.OutputSize(), 4);
}

TEST(AudioConvertor, ABlockLargerThanThePreparedBufferIsRefused) {
  TdeAudioConvertor c(nullptr);
  c.SetFormatIn(PcmFormat(44100, 16, 2).get());
  c.SetFormatOut(PcmFormat(44100, 16, 1).get());
  c.Open();
  std::vector<uint8_t> block(400, 0);
  c.Convert(block.data(), 400);  // prepares for three times that
  c.Convert(block.data(), 400 * 3);
  try {
    c.Convert(block.data(), 400);
    std::vector<uint8_t> big(400 * 3 + 4, 0);
    c.Convert(big.data(), int(big.size()));
    ADD_FAILURE();
  } catch (const EACMConversionError& e) {
    EXPECT_EQ(e.Message(), "Audio is too large to fit into conversion buffer");
  }
}

TEST(AudioConvertor, ActiveStateGuardsItsOperations) {
  TdeAudioConvertor c(nullptr);
  struct Case {
    bool Active;
    std::function<void()> Call;
    const char* Text;
  } cases[] = {
      {true, [&] { c.SetRequestRealTime(true); }, "Cannot perform this action while active."},
      {true, [&] { c.Open(); }, "Cannot perform this action while active."},
      {false, [&] { c.Close(); }, "Cannot perform this action while not active."},
      {false, [&] { c.Convert("x", 1); }, "Cannot perform this action while not active."},
  };
  c.SetFormatIn(PcmFormat(44100, 16, 2).get());
  c.SetFormatOut(PcmFormat(48000, 16, 2).get());
  for (const Case& k : cases) {
    c.SetActive(k.Active);
    try {
      k.Call();
      ADD_FAILURE() << k.Text;
    } catch (const EACMConversionError& e) {
      EXPECT_EQ(e.Message(), k.Text);
    }
    EXPECT_EQ(c.Active(), k.Active);
  }
  EXPECT_FALSE(c.RequestRealTime());
}

TEST_F(Scripted, CodecListShowsTheConverterAndSkipsDriversWithoutDetails) {
  TAcmScriptedDriver broken;
  broken.ShortName = "Broken";
  broken.DetailsResult = MMSYSERR_ERROR;
  AcmRegisterScriptedDriver(broken);
  TAcmScriptedDriver codec;
  codec.ShortName = "Made up";
  const CodecFormat a(0x77, 8000, 1);
  codec.Formats = {{"Made up 8 kHz", a.Vec()}};
  AcmRegisterScriptedDriver(codec);
  FreeCodecList();

  ASSERT_EQ(CodecCount(), 2);
  const TdeCodec* pcm = Codec(0);
  EXPECT_EQ(pcm->ShortName(), "PCM converter");
  EXPECT_TRUE(pcm->Support().Contains(TdeCodecSupport::csConverter));
  EXPECT_EQ(pcm->MaxFormatSize(), 18u);
  ASSERT_EQ(pcm->Formats().size(), 28u);  // 7 rates, 8 and 16 bits, mono and stereo
  const auto& first = pcm->Formats().front();
  EXPECT_EQ(first.Format, PcmBytes(8000, 8, 1));
  EXPECT_EQ(pcm->Formats().back().Format, PcmBytes(48000, 16, 2));
  EXPECT_FALSE(first.Description.empty());

  const TdeCodec* made = Codec(1);
  EXPECT_EQ(made->ShortName(), "Made up");
  EXPECT_EQ(made->MaxFormatSize(), 20u);
  EXPECT_EQ(made->ExtraSize(), 2u);
  ASSERT_EQ(made->Formats().size(), 1u);
  EXPECT_EQ(made->Formats()[0].Format, a.Vec());
  EXPECT_EQ(made->Formats()[0].Description, "Made up 8 kHz");
  EXPECT_GT(made->Priority(), pcm->Priority());
  EXPECT_THROW(Codec(2), EListError);
}
