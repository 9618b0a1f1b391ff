#include <gtest/gtest.h>

#include "NetTestUtil.h"
#include "net/IcsDES.h"
#include "net/IcsMD4.h"
#include "net/IcsMD5.h"
#include "net/IcsSha1.h"

using nettest::Hex;
using nettest::Openssl;
using nettest::RandomBytes;
using nettest::Unhex;

namespace {

std::string Md4Hex(const std::string& data, std::size_t piece) {
  TMD4Context c;
  Md4Init(c);
  for (std::size_t i = 0; i < data.size(); i += piece)
    Md4Update(c, data.data() + i, std::min(piece, data.size() - i));
  TMD4Digest d;
  Md4Final(c, d);
  return Hex(d, 16);
}

std::string Md5Hex(const std::string& data, std::size_t piece, bool staged = false) {
  TMD5Context c;
  Md5Init(c);
  for (std::size_t i = 0; i < data.size(); i += piece) {
    const std::size_t n = std::min(piece, data.size() - i);
    staged ? Md5UpdateStaged(c, data.data() + i, n) : Md5Update(c, data.data() + i, n);
  }
  TMD5Digest d;
  Md5Final(d, c);
  return Hex(d, 16);
}

std::string Sha1Hex(const std::string& data, std::size_t piece) {
  TSha1Context c;
  EXPECT_EQ(Sha1Reset(&c), shaSuccess);
  for (std::size_t i = 0; i < data.size(); i += piece)
    EXPECT_EQ(Sha1Input(&c, data.data() + i, std::min(piece, data.size() - i)), shaSuccess);
  TSha1Digest d;
  EXPECT_EQ(Sha1Result(&c, d), shaSuccess);
  return Hex(d, 20);
}

const char* const Legacy[] = {"-provider", "legacy", "-provider", "default"};

}  // namespace

TEST(Digests, PublishedVectors) {
  struct Case {
    std::string text, md4, md5;
  };
  const Case cases[] = {
      {"", "31d6cfe0d16ae931b73c59d7e0c089c0", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "bde52cb31de33e46245e05fbdbd6fb24", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "a448017aaf21d8525fc10ae87aa6729d", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "d9130a8164549fe818874806e1c7014b", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "d79e1c308aa5bbcdeea8ed63df412da9",
       "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "043f8582f241db351ce627e153e7f0e4", "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "e33b4ddc9c38f2199c3e7b164fcc0536", "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Md4Hex(c.text, 1000), c.md4) << c.text;
    EXPECT_EQ(Hex(Md4OfText(c.text)), c.md4) << c.text;
    EXPECT_EQ(Md5Hex(c.text, 1000), c.md5) << c.text;
  }
  EXPECT_EQ(Sha1Hex("abc", 3), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(Sha1Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 7),
            "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
  EXPECT_EQ(Sha1Hex(std::string(1000000, 'a'), 4096), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

// Lengths around the 55/56/64-byte padding boundaries and several blocks, fed whole and in
// pieces of odd sizes, against the openssl command.
TEST(Digests, AgreeWithOpenssl) {
  const std::vector<std::string> md4Args = {"dgst",    "-md4",    "-binary", Legacy[0],
                                            Legacy[1], Legacy[2], Legacy[3]};
  for (std::size_t n : {1u, 55u, 56u, 57u, 63u, 64u, 65u, 119u, 120u, 128u, 1000u, 70001u}) {
    const std::string data = RandomBytes(n, uint32_t(n));
    const std::string md4 = Hex(Openssl(md4Args, data));
    const std::string md5 = Hex(Openssl({"dgst", "-md5", "-binary"}, data));
    const std::string sha1 = Hex(Openssl({"dgst", "-sha1", "-binary"}, data));
    for (std::size_t piece : {std::size_t(7), std::size_t(64), n}) {
      EXPECT_EQ(Md4Hex(data, piece), md4) << n << "/" << piece;
      EXPECT_EQ(Md5Hex(data, piece), md5) << n << "/" << piece;
      EXPECT_EQ(Sha1Hex(data, piece), sha1) << n << "/" << piece;
    }
  }
  const std::string big = RandomBytes(40000, 9);
  EXPECT_EQ(Md5Hex(big, big.size(), true), Hex(Openssl({"dgst", "-md5", "-binary"}, big)));
}

TEST(Digests, Md4RefusesContextNotInitialised) {
  TMD4Context c;
  TMD4Digest d;
  auto expectRefused = [&](auto&& call) {
    try {
      call();
      ADD_FAILURE() << "no exception";
    } catch (const MD4Exception& e) {
      EXPECT_EQ(e.Message(), "MD4 not initialized");
    }
  };
  expectRefused([&] { Md4Update(c, "x", 1); });
  Md4Init(c);
  Md4UpdateText(c, "abc");
  Md4Final(c, d);
  EXPECT_EQ(Hex(d, 16), "a448017aaf21d8525fc10ae87aa6729d");
  expectRefused([&] { Md4Update(c, "x", 1); });
  expectRefused([&] { Md4UpdateText(c, "x"); });
  expectRefused([&] { Md4Final(c, d); });
}

TEST(Digests, Sha1StatusCodes) {
  TSha1Context c;
  TSha1Digest d;
  EXPECT_EQ(Sha1Reset(nullptr), shaNull);
  ASSERT_EQ(Sha1Reset(&c), shaSuccess);
  EXPECT_EQ(Sha1Input(&c, nullptr, 0), shaSuccess);
  EXPECT_EQ(Sha1Input(&c, nullptr, 3), shaNull);
  EXPECT_EQ(Sha1Input(nullptr, "abc", 3), shaNull);
  EXPECT_EQ(Sha1Input(&c, "abc", 3), shaSuccess);
  EXPECT_EQ(Sha1Result(&c, d), shaSuccess);
  TSha1Digest again;
  EXPECT_EQ(Sha1Result(&c, again), shaSuccess);  // repeated result: same digest
  EXPECT_EQ(Hex(again, 20), "a9993e364706816aba3e25717850c26c9cd0d89d");
  EXPECT_EQ(Sha1Input(&c, "x", 1), shaStateError);
  EXPECT_EQ(Sha1Input(&c, "x", 1), shaStateError);
  EXPECT_EQ(Sha1Result(&c, d), shaStateError);
  ASSERT_EQ(Sha1Reset(&c), shaSuccess);
  EXPECT_EQ(Sha1Input(&c, "abc", 3), shaSuccess);
}

// RFC 2202's HMAC-SHA1 cases (short keys, and keys longer than a block that get hashed first),
// plus openssl for a few random key and text sizes.
TEST(Digests, HmacSha1) {
  struct Case {
    std::string key, text, mac;
  };
  const Case cases[] = {
      {std::string(20, '\x0b'), "Hi There", "b617318655057264e28bc0b6fb378c8ef146be00"},
      {"Jefe", "what do ya want for nothing?", "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79"},
      {std::string(20, '\xaa'), std::string(50, '\xdd'),
       "125d7342b9ac11cd91a39af48aa17b4f63f175d3"},
      {std::string(80, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First",
       "aa4ae5e15272d00e95705637ce8a3b55ed402112"},
      {std::string(80, '\xaa'),
       "Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data",
       "e8e99d0f45237d786d6bbaa7965c7808bbff1a91"},
      {"", "", "fbdb1d1b18aa6c08324b7d64b71fb76370690e1d"},
  };
  for (const auto& c : cases) {
    TSha1Digest d;
    HmacSha1(c.text.data(), c.text.size(), c.key.data(), c.key.size(), d);
    EXPECT_EQ(Hex(d, 20), c.mac) << c.text;
  }
  for (std::size_t keyLength : {1u, 64u, 65u, 200u}) {
    const std::string key = RandomBytes(keyLength, 100 + keyLength);
    const std::string text = RandomBytes(3 * keyLength + 5, 7);
    TSha1Digest d;
    HmacSha1(text.data(), text.size(), key.data(), key.size(), d);
    const std::string expected = Hex(Openssl(
        {"dgst", "-sha1", "-binary", "-mac", "HMAC", "-macopt", "hexkey:" + Hex(key)}, text));
    EXPECT_EQ(Hex(d, 20), expected) << keyLength;
  }
}

TEST(Des, PublishedVectorsAndDecryption) {
  struct Case {
    const char *key, *plain, *cipher;
  };
  const Case cases[] = {
      {"133457799bbcdff1", "0123456789abcdef", "85e813540f0ab405"},
      {"0123456789abcdef", "4e6f772069732074", "3fa40e8a984d4815"},  // "Now is t"
      {"0101010101010101", "95f8a5e5dd31d900", "8000000000000000"},
      {"8001010101010101", "0000000000000000", "95a8d72813daa94d"},
  };
  for (const auto& c : cases) {
    const std::string key = Unhex(c.key), plain = Unhex(c.plain);
    uint8_t out[8], back[8];
    DesBlock(reinterpret_cast<const uint8_t*>(plain.data()), out,
             reinterpret_cast<const uint8_t*>(key.data()), true);
    EXPECT_EQ(Hex(out, 8), c.cipher) << c.key;
    DesBlock(out, back, reinterpret_cast<const uint8_t*>(key.data()), false);
    EXPECT_EQ(Hex(back, 8), c.plain) << c.key;
    // Flipping every parity bit changes nothing.
    std::string flipped = key;
    for (char& b : flipped) b = char(b ^ 1);
    DesBlock(reinterpret_cast<const uint8_t*>(plain.data()), out,
             reinterpret_cast<const uint8_t*>(flipped.data()), true);
    EXPECT_EQ(Hex(out, 8), c.cipher) << c.key;
  }
}

TEST(Des, AgreesWithOpenssl) {
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    const std::string key = RandomBytes(8, seed), data = RandomBytes(8 * 32, seed + 50);
    const std::string expected = Openssl(
        {"enc", "-des-ecb", "-nopad", "-K", Hex(key), Legacy[0], Legacy[1], Legacy[2], Legacy[3]},
        data);
    ASSERT_EQ(expected.size(), data.size());
    for (std::size_t i = 0; i < data.size(); i += 8) {
      uint8_t out[8];
      DesBlock(reinterpret_cast<const uint8_t*>(data.data() + i), out,
               reinterpret_cast<const uint8_t*>(key.data()), true);
      EXPECT_EQ(Hex(out, 8), Hex(expected.substr(i, 8))) << seed << "/" << i;
    }
  }
}
