#include <gtest/gtest.h>

#include "NetTestUtil.h"
#include "net/IcsMimeUtils.h"
#include "net/IcsNtlmMsgs.h"

using nettest::Hex;
using nettest::Openssl;
using nettest::Unhex;

namespace {

uint32_t Get16(const std::string& m, std::size_t at) {
  return uint32_t(uint8_t(m[at])) | uint32_t(uint8_t(m[at + 1])) << 8;
}
uint32_t Get32(const std::string& m, std::size_t at) {
  return Get16(m, at) | Get16(m, at + 2) << 16;
}

// The item a descriptor points to, checking that maximum length equals length.
std::string Item(const std::string& m, std::size_t descriptor) {
  EXPECT_EQ(Get16(m, descriptor), Get16(m, descriptor + 2));
  return m.substr(Get32(m, descriptor + 4), Get16(m, descriptor));
}

std::string Wide(const std::string& ascii) {
  std::string r;
  for (char c : ascii) r += std::string{c, '\0'};
  return r;
}

const TNtlmChallenge Challenge = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef};

// The response computed by openssl: DES-ECB of the challenge under each third of the padded hash.
std::string OpensslResponse(const std::string& hash16) {
  std::string key21 = hash16 + std::string(5, '\0'), r;
  for (int part = 0; part < 3; ++part) {
    uint64_t bits = 0;
    for (int i = 0; i < 7; ++i) bits = bits << 8 | uint8_t(key21[7 * part + i]);
    std::string key;
    for (int i = 0; i < 8; ++i) key += char(((bits >> (49 - 7 * i)) & 0x7F) << 1);
    r += Openssl({"enc", "-des-ecb", "-nopad", "-K", Hex(key), "-provider", "legacy", "-provider",
                  "default"},
                 std::string(reinterpret_cast<const char*>(Challenge.data()), 8));
  }
  return r;
}

std::string OpensslMd4(const std::string& data) {
  return Openssl({"dgst", "-md4", "-binary", "-provider", "legacy", "-provider", "default"}, data);
}

}  // namespace

TEST(Ntlm, NegotiateMessage) {
  std::string m = DecodeBase64(NtlmMessage1("", ""));
  ASSERT_EQ(m.size(), 32u);
  EXPECT_EQ(m.substr(0, 8), std::string("NTLMSSP\0", 8));
  EXPECT_EQ(Get32(m, 8), 1u);
  EXPECT_EQ(Get32(m, 12), 0x8207u);
  EXPECT_EQ(m.substr(16), std::string(16, '\0'));

  m = DecodeBase64(NtlmMessage1("ws-01", "corp"));
  EXPECT_EQ(Get32(m, 12), 0x8207u | 0x2000 | 0x1000);
  EXPECT_EQ(Get32(m, 28), 32u);
  EXPECT_EQ(Item(m, 24), "WS-01");
  EXPECT_EQ(Get32(m, 20), 37u);
  EXPECT_EQ(Item(m, 16), "CORP");
  EXPECT_EQ(m.size(), 41u);

  m = DecodeBase64(NtlmMessage1("", "corp"));
  EXPECT_EQ(Get32(m, 12), 0x8207u | 0x1000);
  EXPECT_EQ(m.substr(24, 8), std::string(8, '\0'));
  EXPECT_EQ(Item(m, 16), "CORP");
}

// The NTLM v1 values of the published protocol documentation: user "User", domain "Domain",
// password "Password", workstation "COMPUTER", server challenge 0123456789abcdef.
TEST(Ntlm, AuthenticateMessageMatchesPublishedValues) {
  const std::string m =
      DecodeBase64(NtlmMessage3("Domain", "COMPUTER", "User", "Password", Challenge));
  EXPECT_EQ(m.substr(0, 8), std::string("NTLMSSP\0", 8));
  EXPECT_EQ(Get32(m, 8), 3u);
  EXPECT_EQ(Get32(m, 60), 0x8205u);
  EXPECT_EQ(m.substr(52, 8), std::string(8, '\0'));
  EXPECT_EQ(Item(m, 28), Wide("Domain"));
  EXPECT_EQ(Item(m, 36), Wide("User"));
  EXPECT_EQ(Item(m, 44), Wide("COMPUTER"));
  EXPECT_EQ(Hex(Item(m, 12)), "98def7b87f88aa5dafe2df779688a172def11c7d5ccdef13");
  EXPECT_EQ(Hex(Item(m, 20)), "67c43011f30298a2ad35ece64f16331c44bdbed927841f94");
  // Items follow each other from offset 64 in the order domain, user, host, LM, NT.
  std::size_t next = 64;
  for (std::size_t descriptor : {28u, 36u, 44u, 12u, 20u}) {
    EXPECT_EQ(Get32(m, descriptor + 4), next) << descriptor;
    next += Get16(m, descriptor);
  }
  EXPECT_EQ(m.size(), next);
}

// Passwords beyond 14 characters and outside ASCII, against openssl's MD4 and DES.
TEST(Ntlm, ResponsesAgreeWithOpenssl) {
  struct Case {
    std::string password, utf16, lmPassword;
  };
  const Case cases[] = {
      {"Password", Wide("Password"), "PASSWORD"},
      {"abcdefghijklmnopqrstu", Wide("abcdefghijklmnopqrstu"), "ABCDEFGHIJKLMN"},
      {"", "", ""},
      // "Pässwort€𝄞": two-byte, three-byte and four-byte (surrogate pair) characters.
      {"P\xc3\xa4sswort\xe2\x82\xac\xf0\x9d\x84\x9e",
       Wide("P") + Unhex("e400") + Wide("sswort") + Unhex("ac2034d81edd"),
       "P\xc3\xa4SSWORT\xe2\x82\xac\xf0\x9d"},
  };
  for (const auto& c : cases) {
    const std::string m = DecodeBase64(NtlmMessage3("", "", "u\xc3\xa9", c.password, Challenge));
    EXPECT_EQ(Item(m, 36), Unhex("7500e900"));
    EXPECT_EQ(Hex(Item(m, 20)), Hex(OpensslResponse(OpensslMd4(c.utf16)))) << c.password;
    std::string pw = c.lmPassword;
    pw.resize(14, '\0');
    const std::string magic = "KGS!@#$%";
    std::string lmHash;
    for (int half = 0; half < 2; ++half) {
      uint64_t bits = 0;
      for (int i = 0; i < 7; ++i) bits = bits << 8 | uint8_t(pw[7 * half + i]);
      std::string key;
      for (int i = 0; i < 8; ++i) key += char(((bits >> (49 - 7 * i)) & 0x7F) << 1);
      lmHash += Openssl({"enc", "-des-ecb", "-nopad", "-K", Hex(key), "-provider", "legacy",
                         "-provider", "default"},
                        magic);
    }
    EXPECT_EQ(Hex(Item(m, 12)), Hex(OpensslResponse(lmHash))) << c.password;
  }
  EXPECT_EQ(Hex(OpensslMd4(Wide("Password"))), "a4f49c406510bdcab6824ee7c30fd852");
}

namespace {

std::string Put16(uint32_t v) { return std::string{char(v), char(v >> 8)}; }
std::string Put32(uint32_t v) { return Put16(v) + Put16(v >> 16); }
std::string Descriptor(std::size_t length, std::size_t offset) {
  return Put16(uint32_t(length)) + Put16(uint32_t(length)) + Put32(uint32_t(offset));
}

// A challenge message with target name and target information at their usual places.
std::string Challenge2(const std::string& target, const std::string& info,
                       uint32_t flags = 0x00028233) {
  std::string m = std::string("NTLMSSP\0", 8) + Put32(2) + Descriptor(target.size(), 48) +
                  Put32(flags) + std::string(reinterpret_cast<const char*>(Challenge.data()), 8) +
                  std::string(8, '\0') + Descriptor(info.size(), 48 + target.size());
  return m + target + info;
}

std::string Pair(uint32_t type, const std::string& value) {
  return Put16(type) + Put16(uint32_t(value.size())) + value;
}

}  // namespace

TEST(Ntlm, ReadChallengeMessage) {
  // The published example challenge: target name "Server", no target information.
  TNTLM_Msg2_Info info = NtlmReadMessage2(EncodeBase64(Unhex(
      "4e544c4d53535000020000000c000c003800000033820a820123456789abcdef0000000000000000000000000000"
      "0000060070170000000f530065007200760065007200")));
  EXPECT_TRUE(info.ReplyPresent);
  EXPECT_EQ(info.TargetName, "Server");
  EXPECT_EQ(info.ServerChallenge, Challenge);
  EXPECT_EQ(info.NetbiosDomain, "");

  const std::string list = Pair(2, Wide("DOM")) + Pair(7, std::string(8, 'x')) +
                           Pair(1, Unhex("53005600d200")) + Pair(0, "") + Pair(1, Wide("late"));
  info = NtlmReadMessage2(EncodeBase64(Challenge2(Wide("DOM"), list)));
  EXPECT_TRUE(info.ReplyPresent);
  EXPECT_EQ(info.TargetName, "DOM");
  EXPECT_EQ(info.NetbiosDomain, "DOM");
  EXPECT_EQ(info.NetbiosServer, "SV\xc3\x92");
  EXPECT_EQ(info.ServerChallenge, Challenge);

  // Without the Unicode flag the target name is 8-bit text.
  info = NtlmReadMessage2(EncodeBase64(Challenge2("SRV\xe9", "", 0x00028202)));
  EXPECT_EQ(info.TargetName, "SRV\xc3\xa9");
}

TEST(Ntlm, DamagedChallengeMessages) {
  const std::string good = Challenge2(Wide("DOM"), Pair(2, Wide("D")) + Pair(1, Wide("S")));
  auto patched = [&](std::size_t at, const std::string& bytes) {
    std::string m = good;
    m.replace(at, bytes.size(), bytes);
    return m;
  };
  // Not a challenge at all: no reply.
  for (const std::string& text :
       {std::string(), std::string("not base64!"), EncodeBase64(good.substr(0, 31)),
        EncodeBase64(patched(0, "NTLMSSQ")), EncodeBase64(patched(8, Put32(3))),
        EncodeBase64(patched(8, Put32(0x102)))}) {
    const TNTLM_Msg2_Info info = NtlmReadMessage2(text);
    EXPECT_FALSE(info.ReplyPresent) << text;
    EXPECT_EQ(info.ServerChallenge, TNtlmChallenge{}) << text;
  }
  // A bare 32-byte header is enough for the challenge.
  TNTLM_Msg2_Info info = NtlmReadMessage2(EncodeBase64(good.substr(0, 32)));
  EXPECT_TRUE(info.ReplyPresent);
  EXPECT_EQ(info.ServerChallenge, Challenge);
  EXPECT_EQ(info.TargetName, "");
  // Descriptors pointing outside the message leave their names empty; the challenge stays.
  struct Case {
    std::string message, target, domain, server;
  };
  const Case cases[] = {
      {patched(12, Descriptor(6, 0xFFFFFFFF)), "", "D", "S"},
      {patched(12, Descriptor(0xFFFF, 48)), "", "D", "S"},
      {patched(40, Descriptor(20, 0xFFFFFFF0)), "DOM", "", ""},
      {patched(40, Descriptor(200, 54)), "DOM", "", ""},
      // A pair whose value runs past the list ends the walk; earlier pairs count.
      {patched(54 + 6 + 2, Put16(40)), "DOM", "D", ""},
      {patched(54 + 2, Put16(0xFFFF)), "DOM", "", ""},
      // Odd-length UTF-16 values lose their last byte.
      {patched(12, Descriptor(5, 48)), "DO", "D", "S"},
  };
  for (const auto& c : cases) {
    info = NtlmReadMessage2(EncodeBase64(c.message));
    EXPECT_TRUE(info.ReplyPresent);
    EXPECT_EQ(info.ServerChallenge, Challenge);
    EXPECT_EQ(info.TargetName, c.target) << Hex(c.message);
    EXPECT_EQ(info.NetbiosDomain, c.domain) << Hex(c.message);
    EXPECT_EQ(info.NetbiosServer, c.server) << Hex(c.message);
  }
}

// Lengths are 16-bit: over-long texts are cut (UTF-16 at a whole code unit) so that every
// descriptor still matches its item.
TEST(Ntlm, OverlongTextsAreCut) {
  const std::string m3 =
      DecodeBase64(NtlmMessage3("d", "h", std::string(40000, 'u'), "pw", Challenge));
  EXPECT_EQ(Get16(m3, 36), 0xFFFEu);
  EXPECT_EQ(Item(m3, 36), Wide(std::string(0x7FFF, 'u')));
  EXPECT_EQ(Item(m3, 44), Wide("h"));
  EXPECT_EQ(Get32(m3, 20 + 4) + 24, m3.size());

  const std::string m1 = DecodeBase64(NtlmMessage1(std::string(70000, 'h'), "d"));
  EXPECT_EQ(Item(m1, 24), std::string(0xFFFF, 'H'));
  EXPECT_EQ(Item(m1, 16), "D");
  EXPECT_EQ(m1.size(), 32u + 0xFFFF + 1);
}
