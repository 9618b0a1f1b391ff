#include <gtest/gtest.h>

#include <deque>

#include "NetTestUtil.h"
#include "net/IcsWSockBuf.h"

namespace {

std::string Drain(TIcsBufferHandler& h, int32_t step) {
  std::string out;
  const uint8_t* p;
  while (int32_t n = h.FirstUnread(p)) {
    const int32_t take = std::min(n, step);
    out.append(reinterpret_cast<const char*>(p), std::size_t(take));
    h.Remove(take);
  }
  return out;
}

}  // namespace

TEST(SendBuffer, ChunksFillAndDrainInOrder) {
  TIcsBufferHandler h(nullptr);
  EXPECT_EQ(h.BufSize(), 1460);
  EXPECT_TRUE(h.HasNoData());
  const std::string data = nettest::RandomBytes(3000, 1);
  h.Append(data.data(), 3000);
  const uint8_t* p;
  EXPECT_EQ(h.FirstUnread(p), 1460);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(p), 1460), data.substr(0, 1460));
  h.Remove(0);
  EXPECT_EQ(h.FirstUnread(p), 1460);
  h.Remove(100);
  EXPECT_EQ(h.FirstUnread(p), 1360);
  h.Remove(5000);  // only the head chunk empties
  EXPECT_EQ(h.FirstUnread(p), 1460);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(p), 1460), data.substr(1460, 1460));
  h.Remove(1460);
  EXPECT_EQ(h.FirstUnread(p), 80);
  EXPECT_FALSE(h.HasNoData());
  h.Remove(80);
  EXPECT_TRUE(h.HasNoData());
  EXPECT_EQ(h.FirstUnread(p), 0);
  EXPECT_EQ(p, nullptr);
}

TEST(SendBuffer, RemoveErrors) {
  TIcsBufferHandler h(nullptr);
  struct Case {
    int32_t len;
    bool withData;
    const char* message;
  };
  for (const Case c : {Case{-1, true, "TIcsBufferHandler.Remove: Invalid Len -1"},
                       Case{-1, false, "TIcsBufferHandler.Remove: Invalid Len -1"},
                       Case{0, false, "TIcsBufferHandler.Remove: nothing to remove"},
                       Case{10, false, "TIcsBufferHandler.Remove: nothing to remove"}}) {
    h.DiscardAll();
    if (c.withData) h.Append("abc", 3);
    try {
      h.Remove(c.len);
      ADD_FAILURE() << c.message;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
}

TEST(SendBuffer, FreedChunksAreReusedAndKeepTheirSize) {
  TIcsBufferHandler h(nullptr);
  const std::string data = nettest::RandomBytes(5000, 2);
  h.Append(data.data(), 3000);
  h.DiscardAll();
  EXPECT_TRUE(h.HasNoData());
  // The three freed chunks of 1460 come back before any new chunk of the new size is made.
  h.SetBufSize(100);
  h.Append(data.data(), 5000);
  const uint8_t* p;
  std::vector<int32_t> sizes;
  std::string out;
  while (int32_t n = h.FirstUnread(p)) {
    sizes.push_back(n);
    out.append(reinterpret_cast<const char*>(p), std::size_t(n));
    h.Remove(n);
  }
  EXPECT_EQ(out, data);
  EXPECT_EQ(sizes, (std::vector<int32_t>{1460, 1460, 1460, 100, 100, 100, 100, 100, 100, 20}));
}

// Random appends and removes against a plain byte queue.
TEST(SendBuffer, InterleavedUseKeepsTheByteOrder) {
  TIcsBufferHandler h(nullptr);
  h.SetBufSize(64);
  std::deque<char> model;
  uint32_t x = 12345;
  auto next = [&] {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return x;
  };
  std::string sent;
  for (int step = 0; step < 2000; ++step) {
    if (next() % 3 != 0) {
      const std::string piece = nettest::RandomBytes(next() % 150, uint32_t(step));
      h.Append(piece.data(), int32_t(piece.size()));
      model.insert(model.end(), piece.begin(), piece.end());
    } else if (!h.HasNoData()) {
      const uint8_t* p;
      const int32_t n = h.FirstUnread(p);
      ASSERT_GT(n, 0);
      ASSERT_LE(n, 64);
      const int32_t take = int32_t(next() % uint32_t(n + 1));
      ASSERT_EQ(std::string(reinterpret_cast<const char*>(p), std::size_t(take)),
                std::string(model.begin(), model.begin() + take));
      h.Remove(take);
      model.erase(model.begin(), model.begin() + take);
    }
    ASSERT_EQ(h.HasNoData(), model.empty());
  }
  const std::string rest = Drain(h, 17);
  EXPECT_EQ(rest, std::string(model.begin(), model.end()));
}

TEST(SendBuffer, SingleChunk) {
  TIcsBuffer b(0);
  EXPECT_EQ(b.BufSize(), 1460);
  TIcsBuffer c(8);
  EXPECT_EQ(c.Fill("0123456789", 2, 10), 8);
  EXPECT_EQ(c.Fill("x", 0, 1), 0);
  const uint8_t* p;
  EXPECT_EQ(c.UnreadBytes(p), 8);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(p), 8), "23456789");
  EXPECT_EQ(c.Consume(3), 3);
  EXPECT_EQ(c.UnreadCount(), 5);
  c.SetBufSize(16);  // holds the 8 stored bytes: kept
  EXPECT_EQ(c.UnreadBytes(p), 5);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(p), 5), "56789");
  EXPECT_EQ(c.Consume(100), 5);
  EXPECT_EQ(c.UnreadBytes(p), 0);
  EXPECT_EQ(c.Fill("abcdefghijklmnopq", 0, 17), 16);  // emptied: the whole block is free again
  c.SetBufSize(4);                                    // too small for the stored bytes: dropped
  EXPECT_EQ(c.UnreadCount(), 0);
  EXPECT_EQ(c.Fill("abcdef", 0, 6), 4);
}
