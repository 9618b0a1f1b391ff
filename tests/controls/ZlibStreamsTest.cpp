#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "PngFiles.h"
#include "controls/ZlibStreams.h"

namespace {

std::vector<uint8_t> Sample(std::size_t n) {
  // Compressible but not trivial: text-like runs with noise.
  std::mt19937 rng(7);
  std::vector<uint8_t> v(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = uint8_t((i / 37) % 26 + 'a' + (rng() % 8 == 0));
  return v;
}

std::vector<uint8_t> Bytes(TMemoryStream& s) {
  auto* p = static_cast<const uint8_t*>(s.Memory());
  return {p, p + s.Size()};
}

TEST(ZlibStreams, RoundTripAtEveryLevel) {
  for (std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(4096), std::size_t(100000)}) {
    for (auto level : {clNone, clFastest, clDefault, clMax}) {
      auto data = Sample(size);
      TMemoryStream packed;
      int progress = 0;
      {
        TCompressionStream z(level, &packed);
        z.ProgressEvent = [&](TObject*) { ++progress; };
        // Odd write sizes cross the internal buffer boundaries.
        for (std::size_t pos = 0; pos < data.size(); pos += 1000)
          z.WriteBuffer(data.data() + pos, int64_t(std::min<std::size_t>(1000, data.size() - pos)));
        EXPECT_EQ(z.Seek(0, soCurrent), int64_t(size));
      }
      ASSERT_GE(packed.Size(), 8) << "an empty source still makes header and trailer";
      if (level == clMax) {
        auto b = Bytes(packed);
        EXPECT_EQ(b[0], 0x78);
        EXPECT_EQ(b[1], 0xDA);
      }
      TMemoryStream out;
      DecompressStreamTo(&out, &packed);
      EXPECT_EQ(Bytes(out), data) << "size " << size << " level " << level;
      if (level == clNone && size == 100000) EXPECT_GT(progress, 0);
    }
  }
}

TEST(ZlibStreams, DecompressionSeekRules) {
  auto data = Sample(10000);
  TMemoryStream source, packed;
  source.WriteBuffer(data.data(), int64_t(data.size()));
  CompressStreamTo(&source, &packed);
  packed.SetPosition(0);
  TDecompressionStream z(&packed);
  std::vector<uint8_t> buf(100);
  EXPECT_EQ(z.Read(buf.data(), 100), 100);
  EXPECT_EQ(z.Seek(0, soCurrent), 100);
  EXPECT_THROW(z.Seek(100, soBeginning), EDecompressionError);
  EXPECT_THROW(z.Seek(-1, soCurrent), EDecompressionError);
  EXPECT_THROW(z.Seek(0, soEnd), EDecompressionError);
  EXPECT_EQ(z.Seek(150, soBeginning), 150);
  EXPECT_EQ(z.Read(buf.data(), 1), 1);
  EXPECT_EQ(buf[0], data[150]);
  EXPECT_EQ(z.Seek(0, soBeginning), 0);
  EXPECT_EQ(z.Read(buf.data(), 100), 100);
  EXPECT_TRUE(std::equal(buf.begin(), buf.end(), data.begin()));
  EXPECT_EQ(z.Seek(9900, soCurrent), 10000);
  EXPECT_EQ(z.Read(buf.data(), 10), 0) << "reading after the end returns 0";
  EXPECT_THROW(z.Write(buf.data(), 1), EDecompressionError);
  EXPECT_THROW(z.Seek(1, soCurrent), EReadError) << "skipping past the end is a read error";
}

TEST(ZlibStreams, DamagedInput) {
  auto data = Sample(20000);
  TMemoryStream source, packed;
  source.WriteBuffer(data.data(), int64_t(data.size()));
  CompressStreamTo(&source, &packed);
  auto bytes = Bytes(packed);

  // Truncated: reading ends early without error; the whole-stream helper reports it.
  TMemoryStream truncated;
  truncated.WriteBuffer(bytes.data(), int64_t(bytes.size() / 2));
  truncated.SetPosition(0);
  {
    TDecompressionStream z(&truncated);
    std::vector<uint8_t> buf(data.size());
    int64_t got = z.Read(buf.data(), int64_t(buf.size()));
    EXPECT_GT(got, 0);
    EXPECT_LT(got, int64_t(data.size()));
  }
  TMemoryStream out;
  try {
    DecompressStreamTo(&out, &truncated);
    FAIL() << "truncated stream accepted";
  } catch (const EDecompressionError& e) {
    EXPECT_EQ(e.Message(), "compression error");
  }

  // Corrupt header: an error out of Read.
  TMemoryStream corrupt;
  bytes[0] = 0x12;
  corrupt.WriteBuffer(bytes.data(), int64_t(bytes.size()));
  corrupt.SetPosition(0);
  TDecompressionStream z(&corrupt);
  uint8_t b[16];
  EXPECT_THROW(z.Read(b, sizeof b), EDecompressionError);

  TMemoryStream sink;
  TCompressionStream c(clDefault, &sink);
  try {
    c.Read(b, 1);
    FAIL();
  } catch (const ECompressionError& e) {
    EXPECT_EQ(e.Message(), "Invalid stream operation");
  }
  EXPECT_THROW(c.Seek(1, soBeginning), ECompressionError);
}

TEST(ZlibStreams, StreamNeedingPresetDictionaryIsAnError) {
  // A valid zlib stream, but made with a preset dictionary that no reader here can supply.
  auto packed = pngfiles::DeflateWithDictionary({'h', 'e', 'l', 'l', 'o'}, "hello world");
  TMemoryStream source;
  source.WriteBuffer(packed.data(), int64_t(packed.size()));
  source.SetPosition(0);
  {
    TDecompressionStream z(&source);
    uint8_t b[16];
    try {
      z.Read(b, sizeof b);
      FAIL() << "no error";
    } catch (const EDecompressionError& e) {
      EXPECT_EQ(e.Message(), "compression error");
    }
  }
  TMemoryStream out;
  EXPECT_THROW(DecompressStreamTo(&out, &source), EDecompressionError);
  EXPECT_EQ(out.Size(), 0);
}

TEST(ZlibStreams, UnderlyingPositionIsRestoredWhenMovedBehindItsBack) {
  TMemoryStream packed;
  packed.WriteString("HDR");
  {
    TCompressionStream z(clDefault, &packed);
    z.WriteString("hello");
    packed.SetPosition(0);  // someone else moves the destination
    z.WriteString(" world");
  }
  EXPECT_EQ(Bytes(packed)[0], 'H');
  packed.SetPosition(3);
  TDecompressionStream d(&packed);
  char text[32] = {};
  EXPECT_EQ(d.Read(text, sizeof text), 11);
  EXPECT_STREQ(text, "hello world");
}

}  // namespace
