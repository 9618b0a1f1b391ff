// Wave input on the file backend with the manual wave clock, and its buffer pool.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cmath>
#include <cstring>
#include <vector>

#include "AcmTestUtil.h"
#include "acm/deAudioControls.h"
#include "acm/deAudioIO.h"
#include "audio/AudioRecorder.h"
#include "audio/DeviceTestUtil.h"
#include "audio/WavFile.h"
#include "common/TestEnv.h"
#include "platform/rtl/Streaming.h"
#include "platform/win/QtWindows.h"

using namespace acmtest;
using Clock = audiotest::ManualClock;
using audiotest::ScopedBackend;

namespace {

constexpr const char* kOpenError = "Error opening audio device for input.\r\n";

struct InputFolder {
  std::filesystem::path Dir = sonalix::test::MakeTempDir("in");
  ScopedBackend Backend{"file:" + Dir.string()};
};

// Collects every delivered block.
struct Blocks {
  std::vector<std::vector<uint8_t>> List;
  void Watch(TdeAudioIn& in) {
    in.OnAudioRecorded = [this](TObject*, const void* d, int n) {
      List.emplace_back(static_cast<const uint8_t*>(d), static_cast<const uint8_t*>(d) + n);
    };
  }
  size_t Bytes() const {
    size_t n = 0;
    for (auto& b : List) n += b.size();
    return n;
  }
};

// A wave input of 16-bit stereo at 44.1 kHz on an input.wav that sox makes, keeping its blocks.
struct StereoCapture {
  InputFolder Folder;
  Clock Time;
  TdeAudioIn In{nullptr};
  Blocks Got;
  explicit StereoCapture(const std::string& synth) {
    MakeInput(Folder.Dir, synth);
    In.SetFormat(PcmFormat(44100, 16, 2).get());
    Got.Watch(In);
  }
};

}  // namespace

TEST(AudioIn, BuffersHoldWholeFramesWhenAdjusted) {
  struct Case {
    int Bits, Channels;
    uint32_t Expected;
  } cases[] = {{16, 2, 22048}, {8, 1, 22050}, {16, 1, 22050}, {32, 1, 22048}};
  InputFolder folder;
  MakeInput(folder.Dir, "synth 1 sine 440");
  Clock clock;
  for (const Case& c : cases) {
    TdeAudioIn in(nullptr);
    in.SetFormat(PcmFormat(44100, c.Bits, c.Channels).get());
    in.SetBufferSize(22050);
    Blocks blocks;
    blocks.Watch(in);
    in.SetActive(true);
    EXPECT_EQ(in.BufferSize(), c.Expected);
    ASSERT_TRUE(clock.RunUntil([&] { return blocks.List.size() >= 5; }));
    for (auto& b : blocks.List) EXPECT_EQ(b.size(), c.Expected) << c.Bits << "x" << c.Channels;
    EXPECT_EQ(in.LastBlockSize(), int(c.Expected));
  }
}

TEST(AudioIn, PropertiesThatCannotBeTakenAreRefused) {
  InputFolder folder;
  MakeInput(folder.Dir, "synth 1 sine 440");
  Clock clock;
  TdeAudioIn in(nullptr);
  try {
    in.SetBufferCount(1);
    ADD_FAILURE();
  } catch (const EACMAudioIOError& e) {
    EXPECT_EQ(e.Message(), "Invalid input buffer size.");
  }
  EXPECT_EQ(in.BufferCount(), 4);
  in.SetActive(true);
  try {
    in.SetBufferSize(4000);
    ADD_FAILURE();
  } catch (const EACMAudioIOError& e) {
    EXPECT_EQ(e.Message(), "Cannot perform this action while active.");
  }
  EXPECT_EQ(in.BufferSize(), 22050u);
}

TEST(AudioIn, TheBlocksPutTogetherAreTheInputByteForByte) {
  StereoCapture c("synth 0.6 whitenoise vol 0.8");
  const std::vector<uint8_t> expected = RawSamples(c.Folder.Dir / "input.wav");
  c.In.SetBufferSize(8820);
  c.In.SetActive(true);
  ASSERT_TRUE(c.Time.RunUntil([&] { return c.Got.Bytes() > expected.size(); }));
  std::vector<uint8_t> all;
  for (auto& b : c.Got.List) all.insert(all.end(), b.begin(), b.end());
  all.resize(expected.size());
  EXPECT_TRUE(all == expected);
}

TEST(AudioIn, WaveInputAndTheRecorderCaptureTheSameSamplesAtOnce) {
  StereoCapture c("synth 0.5 sine 300 sine 700");
  AudioRecorder rec;
  rec.SetFormat(44100, 2);
  rec.SetBlockSize(4410);
  std::vector<float> recorded;
  rec.OnBlock = [&](const SampleBuffer& b) {
    recorded.insert(recorded.end(), b.Data(), b.Data() + b.Frames() * 2);
  };
  c.In.SetActive(true);
  ASSERT_EQ(rec.Start(), wrOk);
  ASSERT_TRUE(
      c.Time.RunUntil([&] { return c.Got.Bytes() >= 4 * 22048 && recorded.size() >= 44100; }));
  rec.Stop();
  std::vector<int16_t> ours(c.Got.Bytes() / 2);
  size_t at = 0;
  for (auto& b : c.Got.List) {
    std::memcpy(ours.data() + at, b.data(), b.size());
    at += b.size() / 2;
  }
  const size_t n = std::min(ours.size(), recorded.size());
  int differ = 0;
  for (size_t i = 0; i < n; ++i) differ += int(std::lrint(recorded[i] * 32768.f)) != ours[i];
  EXPECT_EQ(differ, 0) << "of " << n;
  EXPECT_GT(n, 40000u);
}

TEST(AudioIn, AutoOpenOpensOnceADescriptionIsRead) {
  InputFolder folder;
  MakeInput(folder.Dir, "synth 1 sine 440");
  Clock clock;
  RegisterAudioInputClasses();
  struct Case {
    const char* Text;
    bool Active;
  } cases[] = {
      {"object Input: TdeAudioIn {\n  BufferSize = 8820\n}\n", true},
      {"object Input: TdeAudioIn {\n  AutoOpen = false\n}\n", false},
  };
  for (const Case& c : cases) {
    std::unique_ptr<TComponent> made(CreateComponentFromText(c.Text, nullptr));
    auto* in = dynamic_cast<TdeAudioIn*>(made.get());
    ASSERT_TRUE(in);
    EXPECT_EQ(in->Active(), c.Active) << c.Text;
  }
}

TEST(AudioIn, OpeningAgainLeavesNoPoolBlockBehind) {
  InputFolder folder;
  MakeInput(folder.Dir, "synth 1 sine 440");
  Clock clock;
  TdeAudioIn in(nullptr);
  for (int round = 0; round < 3; ++round) {
    in.SetActive(true);
    EXPECT_EQ(in.AllocatedBufferCount(), 2 * in.BufferCount()) << "a header and a block each";
    clock.Advance(300);
    in.SetActive(false);
    EXPECT_EQ(in.AllocatedBufferCount(), 0);
  }
}

TEST(AudioIn, AnObserverThatAlwaysFailsDoesNotStopCapture) {
  InputFolder folder;
  MakeInput(folder.Dir, "synth 2 sine 440");
  Clock clock;
  int errors = 0;
  SetWindowExceptionHandler([&](std::exception_ptr) { ++errors; });
  {
    TdeAudioIn in(nullptr);
    in.SetFormat(PcmFormat(44100, 16, 2).get());
    TComponent c1(nullptr), c2(nullptr);
    int delivered = 0;
    TdeAudioObserver counting(&c1, [&](IdeAudioSubject*, const void*, int) { ++delivered; });
    TdeAudioObserver failing(&c2, [](IdeAudioSubject*, const void*, int) {
      throw EACMError("observer failed");
    });
    counting.SetAudioSource(&in);
    failing.SetAudioSource(&in);
    in.SetActive(true);
    ASSERT_TRUE(clock.RunUntil([&] { return delivered >= 3 * in.BufferCount(); }, 5000));
    EXPECT_EQ(errors, delivered);
  }
  SetWindowExceptionHandler(nullptr);
}

TEST(AudioIn, BlocksDueWhenTheInputClosesAreNeverDelivered) {
  StereoCapture c("synth 2 sine 440");
  c.In.SetActive(true);
  AdvanceWaveClock(400);  // three buffers filled; their messages wait
  c.In.SetActive(false);
  c.In.SetActive(true);  // the pool may hand out the same addresses again
  QCoreApplication::processEvents();
  EXPECT_EQ(c.Got.List.size(), 0u);
  c.Time.Advance(130);
  ASSERT_EQ(c.Got.List.size(), 1u);
  EXPECT_EQ(c.Got.List[0].size(), 22048u);
}

TEST(AudioIn, ADeliveryMayCloseAndReopenTheInput) {
  StereoCapture c("synth 2 sine 440");
  TComponent consumer(nullptr);
  int updates = 0;
  TdeAudioObserver restart(&consumer, [&](IdeAudioSubject*, const void*, int) {
    if (++updates == 1) {
      c.In.SetActive(false);
      c.In.SetActive(true);
    }
  });
  restart.SetAudioSource(&c.In);
  c.In.SetActive(true);
  ASSERT_TRUE(c.Time.RunUntil([&] { return c.Got.List.size() >= 6; }));
  EXPECT_TRUE(c.In.Active());
  EXPECT_EQ(int(c.Got.List.size()), updates - 1) << "the block whose delivery closed the input";
  for (auto& b : c.Got.List) EXPECT_EQ(b.size(), 22048u);
}

TEST(AudioIn, SamplesAreRoundedAndSaturated) {
  InputFolder folder;
  {
    WavWriter w((folder.Dir / "input.wav").string(), 8000, 1, 32);
    const float v[6] = {1.5f, -1.5f, 0.25f, -0.25f, 1.0f, 0.0001f};
    w.Write(v, 6);
    w.Close();
  }
  struct Case {
    int Bits;
    std::vector<int> Expected;
  } cases[] = {{16, {32767, -32768, 8192, -8192, 32767, 3}}, {8, {255, 0, 160, 96, 255, 128}}};
  Clock clock;
  for (const Case& c : cases) {
    TdeAudioIn in(nullptr);
    in.SetFormat(PcmFormat(8000, c.Bits, 1).get());
    in.SetBufferSize(uint32_t(6 * c.Bits / 8));
    Blocks blocks;
    blocks.Watch(in);
    in.SetActive(true);
    ASSERT_TRUE(clock.RunUntil([&] { return !blocks.List.empty(); }));
    std::vector<int> got;
    const auto& b = blocks.List[0];
    for (size_t i = 0; i < b.size(); i += size_t(c.Bits / 8))
      got.push_back(c.Bits == 8 ? b[i] : int(int16_t(b[i] | (b[i + 1] << 8))));
    EXPECT_EQ(got, c.Expected) << c.Bits;
  }
}

TEST(AudioIn, AFormatTheDeviceRefusesLeavesTheInputClosed) {
  InputFolder folder;
  MakeInput(folder.Dir, "synth 1 sine 440");
  Clock clock;
  const std::string refused = std::string(kOpenError) +
                              "The selected audio format is not supported on this machine.";
  auto twelveBits = PcmFormat(44100, 12, 2);
  twelveBits->SetBlockAlign(4);
  auto codec = PcmFormat(44100, 16, 2);
  codec->SetFormatTag(0x55);
  auto threeChannels = PcmFormat(44100, 16, 3);
  auto slow = PcmFormat(500, 16, 2);
  for (TdeWaveFormat* f : {twelveBits.get(), codec.get(), threeChannels.get(), slow.get()}) {
    TdeAudioIn in(nullptr);
    in.SetFormat(f);
    try {
      in.SetActive(true);
      ADD_FAILURE() << f->FormatTag() << " " << f->BitsPerSample();
    } catch (const EACMAudioInError& e) {
      EXPECT_EQ(e.Message(), refused);
    }
    EXPECT_FALSE(in.Active());
    EXPECT_EQ(in.AllocatedBufferCount(), 0);
  }
}

TEST(AudioIn, NoDeviceIsReported) {
  InputFolder folder;  // without input.wav
  TdeAudioIn in(nullptr);
  try {
    in.SetActive(true);
    ADD_FAILURE();
  } catch (const EACMAudioInError& e) {
    EXPECT_EQ(e.Message(), std::string(kOpenError) + "Bad device ID.");
  }
  EXPECT_FALSE(in.Active());
}

TEST(BufferPool, TakesAnExactBlockElseTheClosestNotTwiceAsLarge) {
  struct Case {
    std::vector<uint32_t> Free;
    int Taken;  // index into Free; -1 for a new block
  } cases[] = {
      {{150, 120}, 1}, {{250}, -1}, {{120, 100}, 1}, {{200}, -1}, {{130, 110, 110}, 1}, {{}, -1},
  };
  TdeAudioIn in(nullptr);
  for (const Case& c : cases) {
    in.FreeAllBuffers();
    std::vector<void*> blocks;
    for (uint32_t size : c.Free) blocks.push_back(in.GetBuffer(size));
    for (void* b : blocks) in.ReleaseBuffer(b);
    void* got = in.GetBuffer(100);
    if (c.Taken >= 0) {
      EXPECT_EQ(got, blocks[size_t(c.Taken)]);
      EXPECT_EQ(in.AllocatedBufferCount(), int(c.Free.size()));
    } else {
      EXPECT_EQ(std::find(blocks.begin(), blocks.end(), got), blocks.end());
      EXPECT_EQ(in.AllocatedBufferCount(), int(c.Free.size()) + 1);
    }
    std::memset(got, 0xEE, 100);
  }
}
