#include <gtest/gtest.h>

#include <algorithm>

#include "net/IcsHttpContCod.h"
#include "platform/rtl/Streams.h"

namespace {

// Test codings whose order of undoing shows: one strips a trailing "!", one reverses. Both hold
// the data until Complete.
class THttpContentCodingBang : public THttpContentCoding {
 public:
  using THttpContentCoding::THttpContentCoding;
  void WriteBuffer(const void* Buffer, int Count) override {
    FData.append(static_cast<const char*>(Buffer), std::size_t(Count));
  }
  void Complete() override {
    if (!FData.empty() && FData.back() == '!') FData.pop_back();
    FWriteBuffer(FData.data(), int(FData.size()));
  }
  std::string FData;
};

class TReverseCoding : public THttpContentCoding {
 public:
  using THttpContentCoding::THttpContentCoding;
  static std::string GetCoding() { return "reverse"; }
  void WriteBuffer(const void* Buffer, int Count) override {
    FData.append(static_cast<const char*>(Buffer), std::size_t(Count));
  }
  void Complete() override {
    std::reverse(FData.begin(), FData.end());
    FWriteBuffer(FData.data(), int(FData.size()));
  }
  std::string FData;
};

class TBadlyNamed : public THttpContentCoding {
 public:
  using THttpContentCoding::THttpContentCoding;
  void WriteBuffer(const void* Buffer, int Count) override {}
};

// A subclass inherits the class operations of its parent.
class TIdentityToo : public THttpCCodIdentity {
 public:
  using THttpCCodIdentity::THttpCCodIdentity;
};

class THiddenCoding : public TReverseCoding {
 public:
  using TReverseCoding::TReverseCoding;
  static bool GetActive() { return false; }
  static std::string GetCoding() { return "hidden"; }
};

struct Registered {
  std::vector<THttpContentCodingClass> classes;
  Registered(std::initializer_list<std::pair<THttpContentCodingClass, float>> list) {
    for (auto [cls, quality] : list) {
      TContCodingsList::Instance().RegisterCoding(cls, quality);
      classes.push_back(cls);
    }
  }
  ~Registered() {
    for (auto cls : classes) TContCodingsList::Instance().UnregisterCoding(cls);
  }
};

struct Client {
  TStream* ReplyStream = nullptr;
  std::string DocData;
  THttpContCodHandler Handler{&ReplyStream, [this](const void* b, int n) {
                                DocData.append(static_cast<const char*>(b), std::size_t(n));
                              }};
  void Receive(const std::string& body) {
    // The body arrives in two pieces, as from the network.
    Handler.WriteInput(body.data(), int(body.size() / 2));
    Handler.WriteInput(body.data() + body.size() / 2, int(body.size() - body.size() / 2));
    Handler.Complete();
  }
};

}  // namespace

TEST(ContentCoding, AcceptEncodingHeader) {
  Client c;
  EXPECT_EQ(c.Handler.HeaderText(), "");
  c.Handler.SetEnabled(true);
  EXPECT_EQ(c.Handler.HeaderText(), "");
  c.Handler.SetUseQuality(true);
  EXPECT_EQ(c.Handler.HeaderText(), "identity;q=0, *;q=0");
  c.Handler.SetEnabled(false);
  EXPECT_EQ(c.Handler.HeaderText(), "");

  Registered r{{ContentCodingClass<THttpContentCodingBang>(), 0.5f},
               {ContentCodingClass<TReverseCoding>(), 1.0f},
               {ContentCodingClass<THiddenCoding>(), 0.25f}};
  Client d;
  d.Handler.SetEnabled(true);
  EXPECT_EQ(d.Handler.HeaderText(), "Bang, reverse");
  d.Handler.SetUseQuality(true);
  EXPECT_EQ(d.Handler.HeaderText(), "identity;q=0, *;q=0, Bang;q=0.5, reverse;q=1");
}

TEST(ContentCoding, CodingNamesAndLookup) {
  auto& list = TContCodingsList::Instance();
  EXPECT_EQ(list.FindCoding("IDENTITY"), ContentCodingClass<THttpCCodIdentity>());
  EXPECT_EQ(list.FindCoding("*"), ContentCodingClass<THttpCCodStar>());
  EXPECT_EQ(list.FindCoding("gzip"), nullptr);
  EXPECT_EQ(ContentCodingClass<THttpContentCodingBang>()->GetCoding(), "Bang");
  EXPECT_EQ(ContentCodingClass<TIdentityToo>()->GetCoding(), "identity");
  EXPECT_FALSE(ContentCodingClass<THiddenCoding>()->GetActive());
  EXPECT_TRUE(ContentCodingClass<TIdentityToo>()->GetActive());
  try {
    ContentCodingClass<TBadlyNamed>()->GetCoding();
    ADD_FAILURE();
  } catch (const EHttpContentCodingException& e) {
    EXPECT_EQ(e.Message(), "GetCoding must be overriden in TBadlyNamed");
  }
  // The last registration of a name wins.
  Registered r{{ContentCodingClass<THttpContentCodingBang>(), 0}};
  class THttpContentCodingbang : public THttpContentCodingBang {
   public:
    using THttpContentCodingBang::THttpContentCodingBang;
  };
  Registered later{{ContentCodingClass<THttpContentCodingbang>(), 0}};
  EXPECT_EQ(list.FindCoding("bang"), ContentCodingClass<THttpContentCodingbang>());
}

TEST(ContentCoding, DecoderChainUndoesCodingsInReverseOrder) {
  Registered r{{ContentCodingClass<THttpContentCodingBang>(), 0},
               {ContentCodingClass<TReverseCoding>(), 0}};
  struct Case {
    bool enabled;
    std::string encoding, body;
    bool prepared;
    std::string stored;
  };
  const Case cases[] = {
      // "abc" coded with Bang (append "!") and then reverse.
      {true, "Bang, reverse", "!cba", true, "abc"},
      {true, "reverse,bang", "!cba", true, "abc!"},
      {true, "identity", "plain", true, "plain"},
      {true, "*, identity", "plain", true, "plain"},
      {true, "", "raw", true, "raw"},
      // Unknown codings, and every coding while disabled: stored as received.
      {true, "reverse, gzip", "!cba", false, "!cba"},
      {true, "reverse,", "!cba", false, "!cba"},
      {false, "Bang, reverse", "!cba", true, "!cba"},
  };
  for (const auto& k : cases) {
    Client c;
    c.Handler.SetEnabled(k.enabled);
    EXPECT_EQ(c.Handler.Prepare(k.encoding), k.prepared) << k.encoding;
    TMemoryStream stream;
    c.ReplyStream = &stream;  // set after the handler was made
    c.Receive(k.body);
    EXPECT_EQ(c.DocData, k.stored) << k.encoding;
    EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), std::size_t(stream.Size())),
              k.stored)
        << k.encoding;
  }
  // Without a reply stream only the callback gets the data; Clear returns to plain writing.
  Client c;
  c.Handler.SetEnabled(true);
  ASSERT_TRUE(c.Handler.Prepare("reverse"));
  c.Handler.Clear();
  c.Receive("xyz");
  EXPECT_EQ(c.DocData, "xyz");
}
