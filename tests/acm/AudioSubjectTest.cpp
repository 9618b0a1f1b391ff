// Subject and observer, result texts and the wave format.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "AcmTestUtil.h"
#include "acm/deACM.h"
#include "acm/deAudioControls.h"
#include "acm/deAudioIO.h"
#include "platform/rtl/Streaming.h"

using namespace acmtest;

namespace {

struct Recorder {
  std::vector<std::string> Calls;
};

std::unique_ptr<TdeAudioObserver> Watcher(TComponent* outer, Recorder& rec, const std::string& name,
                                          std::function<void()> extra = nullptr) {
  return std::make_unique<TdeAudioObserver>(outer, [&rec, name, extra](IdeAudioSubject*,
                                                                       const void* b, int n) {
    rec.Calls.push_back(name + ":" + std::string(static_cast<const char*>(b), size_t(n)));
    if (extra) extra();
  });
}

}  // namespace

TEST(AudioSubject, ObserversGetEveryBlockInAttachOrderEvenWhenOneDetachesItself) {
  TestProducer source;
  TComponent c1(nullptr), c2(nullptr), c3(nullptr);
  Recorder rec;
  std::unique_ptr<TdeAudioObserver> first;
  first = Watcher(&c1, rec, "a", [&] { first->SetAudioSource(nullptr); });
  auto second = Watcher(&c2, rec, "b");
  auto third = Watcher(&c3, rec, "c");
  first->SetAudioSource(&source);
  second->SetAudioSource(&source);
  third->SetAudioSource(&source);
  source.Publish("1", 1);
  source.Publish("2", 1);
  EXPECT_EQ(rec.Calls, (std::vector<std::string>{"a:1", "b:1", "c:1", "b:2", "c:2"}));
  EXPECT_EQ(source.Subject->ObserverCount(), 2);
}

TEST(AudioSubject, ObserverErrorsGoToTheHandlerWhichMaySwallowThem) {
  TestProducer source;
  TComponent c1(nullptr), c2(nullptr);
  Recorder rec;
  auto failing = Watcher(&c1, rec, "bad", [] { throw EACMError("boom"); });
  auto good = Watcher(&c2, rec, "good");
  failing->SetAudioSource(&source);
  good->SetAudioSource(&source);

  // Without a handler the error reaches the producer and the later observer misses the block.
  EXPECT_THROW(source.Publish("1", 1), EACMError);
  std::vector<std::string> seen;
  source.Subject->OnObserverError = [&](IdeAudioSubject* s, IdeAudioObserver* o, Exception& e,
                                        bool& raise) {
    EXPECT_EQ(s, &source);
    EXPECT_EQ(o, failing.get());
    EXPECT_TRUE(raise) << "preset from RaiseObserverErrors";
    seen.push_back(e.Message());
    raise = false;
  };
  source.Publish("2", 1);
  source.Subject->OnObserverError = nullptr;
  source.Subject->RaiseObserverErrors = false;
  source.Publish("3", 1);
  EXPECT_EQ(seen, std::vector<std::string>{"boom"});
  EXPECT_EQ(rec.Calls,
            (std::vector<std::string>{"bad:1", "bad:2", "good:2", "bad:3", "good:3"}));
}

TEST(AudioSubject, AnObserverMayFreeTheProducerDuringItsUpdate) {
  auto source = std::make_unique<TestProducer>();
  TComponent c1(nullptr), c2(nullptr);
  Recorder rec;
  auto killer = Watcher(&c1, rec, "k", [&] { source.reset(); });
  auto other = Watcher(&c2, rec, "o");
  killer->SetAudioSource(source.get());
  other->SetAudioSource(source.get());
  source->Publish("1", 1);
  EXPECT_EQ(rec.Calls, std::vector<std::string>{"k:1"});
  EXPECT_EQ(killer->AudioSource(), nullptr);
  EXPECT_EQ(other->AudioSource(), nullptr);
}

TEST(AudioSubject, SourcesThatCannotBeObservedAreRefused) {
  TdeAudioControlSource levels(nullptr);
  TComponent plain(nullptr);
  struct Case {
    TComponent* Source;
    const char* Text;
  } cases[] = {{&levels, "Component cannot observe itself."},
               {&plain, "The selected component is not an audio subject."}};
  for (const Case& c : cases) {
    try {
      levels.SetAudioSource(c.Source);
      ADD_FAILURE() << c.Text;
    } catch (const EACMError& e) {
      EXPECT_EQ(e.Message(), c.Text);
    }
    EXPECT_EQ(levels.AudioSource(), nullptr);
  }
}

TEST(AudioSubject, FreeingTheSourceLeavesNoSourceAndNoSubscription) {
  TdeAudioControlSource levels(nullptr);
  int changes = 0;
  levels.OnDataChanged = [&](TObject*) { ++changes; };
  {
    TestProducer first;
    levels.SetAudioSource(&first);
    EXPECT_EQ(first.Subject->ObserverCount(), 1);
  }
  EXPECT_EQ(levels.AudioSource(), nullptr);

  TestProducer second;
  levels.SetAudioSource(&second);
  const int16_t block[8] = {};
  second.Publish(block, sizeof block);
  EXPECT_EQ(changes, 1);
  {
    TdeAudioControlSource other(nullptr);
    other.SetAudioSource(&second);
    EXPECT_EQ(second.Subject->ObserverCount(), 2);
  }
  EXPECT_EQ(second.Subject->ObserverCount(), 1) << "a freed observer leaves its source";
}

TEST(MMResult, TextsCarryTheContextOnALineOfItsOwn) {
  struct Case {
    MMRESULT Code;
    const char* Context;
    const char* Text;
  } cases[] = {
      {11, "", "At least one parameter is invalid."},
      {11, "ctx", "ctx\r\nAt least one parameter is invalid."},
      {32, "", "The selected audio format is not supported on this machine."},
      {514, "", "Cannot perform this action on a header that has not been prepared."},
      {999, "", "An unexpected error has occurred (code #999)."},
      {1, "Open", "Open\r\nAn unexpected error has occurred (code #1)."},
  };
  for (const Case& c : cases) {
    try {
      CheckMMResult<EACMConversionError>(c.Code, c.Context);
      ADD_FAILURE() << c.Code;
    } catch (const EACMConversionError& e) {
      EXPECT_EQ(e.Message(), c.Text);
    }
  }
  EXPECT_NO_THROW(CheckMMResult<EACMConversionError>(0, "ctx"));
}

TEST(WaveFormat, ExtraBytesStayInsideTheBuffer) {
  TdeWaveFormat f;
  f.SetExtraSize(494);
  EXPECT_EQ(f.ExtraSize(), 494);
  try {
    f.SetExtraSize(495);
    ADD_FAILURE();
  } catch (const EACMError& e) {
    EXPECT_EQ(e.Message(), "The wave format buffer is too small.");
  }
  EXPECT_EQ(f.ExtraSize(), 494);
}

TEST(WaveFormat, EqualsAndAssignCoverAll512Bytes) {
  TdeWaveFormat a, b;
  EXPECT_TRUE(a.Equals(&b));
  EXPECT_EQ(a.FormatTag(), WAVE_FORMAT_PCM);
  EXPECT_EQ(a.Channels(), 2);
  EXPECT_EQ(a.SamplesPerSec(), 11025u);
  EXPECT_EQ(a.AvgBytesPerSec(), 22050u);
  EXPECT_EQ(a.BlockAlign(), 2);
  EXPECT_EQ(a.BitsPerSample(), 8);
  EXPECT_EQ(a.ExtraSize(), 0);
  a.Bytes()[511] = 7;
  EXPECT_FALSE(a.Equals(&b)) << "the last byte counts";
  b.Assign(&a);
  EXPECT_TRUE(a.Equals(&b));
  EXPECT_EQ(b.Bytes()[511], 7);
}

TEST(WaveFormat, Tag42CarriesItsConfigurationBytes) {
  TdeWaveFormat f;
  f.SetFormatTag(0x42);
  ASSERT_EQ(f.ExtraSize(), 10);
  const uint8_t expected[10] = {1, 0, 0, 0, 240, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(f.Bytes() + 18, expected, 10), 0);
}

TEST(WaveFormat, FormatBufferRoundTripsThroughADescription) {
  RegisterAudioInputClasses();
  TdeAudioIn in(nullptr);
  in.SetName("Input");
  in.SetAutoOpen(false);
  TdeWaveFormat* f = in.Format();
  f->SetSamplesPerSec(44100);
  f->SetBitsPerSample(16);
  f->Bytes()[300] = 0xAB;
  f->Bytes()[511] = 0x5C;
  const std::string text = WriteComponentToText(&in);
  EXPECT_NE(text.find("FormatBuffer = hex"), std::string::npos) << text;

  TdeAudioIn back(nullptr);
  ReadComponentFromText(&back, text);
  EXPECT_TRUE(back.Format()->Equals(f));
  EXPECT_FALSE(back.Active());

  // Anything but 512 bytes is damaged data.
  std::string shorter = text;
  const size_t start = shorter.find("FormatBuffer = hex {");
  size_t last = shorter.find('}', start);
  while (!std::isxdigit(static_cast<unsigned char>(shorter[last]))) --last;
  shorter.erase(last - 1, 2);
  TdeAudioIn damaged(nullptr);
  EXPECT_THROW(ReadComponentFromText(&damaged, shorter), EReadError);
}
