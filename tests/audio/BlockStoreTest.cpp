#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "AudioTestUtil.h"
#include "audio/AudioDocument.h"
#include "audio/BlockStore.h"
#include "common/TestEnv.h"
#include "platform/rtl/SysUtils.h"

using namespace audiotest;
namespace fs = std::filesystem;

namespace {
int SwapFilesIn(const fs::path& dir) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(dir))
    n += BlockStore::IsSwapFileName(e.path().filename().string());
  return n;
}

struct BudgetScope {
  int64_t saved = BlockStore::Instance().MemoryBudget();
  explicit BudgetScope(int64_t bytes) { BlockStore::Instance().SetMemoryBudget(bytes); }
  ~BudgetScope() { BlockStore::Instance().SetMemoryBudget(saved); }
};
}  // namespace

TEST(BlockStore, BudgetForcesSwapAndReadsBackEqual) {
  BlockStore& store = BlockStore::Instance();
  const fs::path dir = sonalix::test::MakeTempDir("swap");
  // A leftover of a crashed run (nobody holds it locked) is removed on first use of the folder.
  std::ofstream(dir / "sonalix-swap-999999-1.tmp") << "stale";
  const SampleBuffer content = Ramp(600000, 2);  // about 4.6 MB of floats
  {
    BudgetScope budget(1 << 20);
    AudioDocument doc;
    doc.SetTempDirectory(dir.string());
    doc.NewDocument(44100, 2);
    doc.InsertPcm(content);
    EXPECT_LE(store.ResidentBytes(), 1 << 20);
    EXPECT_GT(store.SwapBytesInUse(), 3 << 20);
    EXPECT_FALSE(fs::exists(dir / "sonalix-swap-999999-1.tmp"));
    EXPECT_EQ(SwapFilesIn(dir), 1);
    EXPECT_EQ(Contents(doc).Values(), content.Values());

    // Edits, clipboard and undo share swapped blocks; the disk never holds more than the data.
    doc.Select(1000, 300000);
    doc.Cut();
    doc.SetCursor(200000);
    doc.Paste();
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(Contents(doc).Values(), content.Values());
    EXPECT_LE(store.SwapFileBytes(), int64_t(content.ValueCount() * sizeof(float)) + (1 << 20));
    // The swap file lives as long as the clipboard refers to its blocks.
  }
  EXPECT_EQ(SwapFilesIn(dir), 1);
  AudioDocument other;
  other.NewDocument(44100, 2);
  other.Paste();  // the clipboard still reads back
  EXPECT_EQ(other.Length(), 299000);
  EXPECT_EQ(Contents(other).Slice(0, 2).Values(), content.Slice(1000, 2).Values());
  other.Select(0, 0);
  other.Copy();  // the clipboard lets go of the old blocks
  other.NewDocument(44100, 2);
  EXPECT_EQ(SwapFilesIn(dir), 0);
}

TEST(BlockStore, UnusableTempDirectoryFallsBack) {
  const fs::path dir = sonalix::test::MakeTempDir("fallback");
  std::ofstream(dir / "a-file") << "x";
  BlockStore& store = BlockStore::Instance();
  EXPECT_EQ(store.UsableFolder((dir / "a-file").string()), BlockStore::DefaultFolder());
  EXPECT_EQ(store.UsableFolder(""), BlockStore::DefaultFolder());
  EXPECT_EQ(BlockStore::DefaultFolder(), std::string(getenv("XDG_CACHE_HOME")) + "/sonalix");
  EXPECT_EQ(store.UsableFolder((dir / "made" / "on demand").string()),
            (dir / "made" / "on demand").string());

  BudgetScope budget(0);
  AudioDocument doc;
  doc.SetTempDirectory((dir / "a-file").string());
  doc.NewDocument(8000, 1);
  doc.InsertPcm(Ramp(70000, 1, 8000));
  EXPECT_GE(SwapFilesIn(BlockStore::DefaultFolder()), 1);
  EXPECT_EQ(Contents(doc).Values(), Ramp(70000, 1, 8000).Values());
}

TEST(BlockStore, SummariesMatchTheSamples) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> dist(-1, 1);
  SampleBuffer noise(2, 44100, 200000);
  for (float& v : noise.Values()) v = dist(rng);
  AudioDocument doc;
  doc.NewDocument(44100, 2);
  doc.InsertPcm(noise);
  doc.Select(70000, 70123);  // pieces that start and end off the summary grid
  doc.DeleteSelection();
  const SampleBuffer now = Contents(doc);
  struct Range {
    int64_t start, end;
  };
  for (Range r : {Range{0, 199877}, Range{5, 300}, Range{256, 512}, Range{65000, 140000},
                  Range{69990, 70010}, Range{199800, 199877}}) {
    for (int c = 0; c < 2; ++c) {
      float lo = 2, hi = -2;
      double sum = 0;
      for (int64_t f = r.start; f < r.end; ++f) {
        lo = std::min(lo, now.At(f, c));
        hi = std::max(hi, now.At(f, c));
        sum += double(now.At(f, c)) * now.At(f, c);
      }
      const SummaryValue s = doc.Samples().Summary(c, r.start, r.end);
      EXPECT_EQ(s.Min, lo) << r.start << ".." << r.end;
      EXPECT_EQ(s.Max, hi) << r.start << ".." << r.end;
      EXPECT_NEAR(s.Rms, std::sqrt(sum / double(r.end - r.start)), 1e-4);
    }
  }
}

TEST(BlockStore, SummariesOfBlocksOfEveryShape) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> dist(-1, 1);
  // Lengths that end the last summary point on and off the vector width, for the channel counts
  // that take the vector path and one that does not.
  for (int channels : {1, 2, 3}) {
    for (int frames : {1, 3, 5, 7, 255, 257, 1001, kBlockFrames - 3, kBlockFrames}) {
      std::vector<float> values(size_t(frames) * size_t(channels));
      for (float& v : values) v = dist(rng);
      values[size_t(frames / 2) * size_t(channels)] = 1.5f;  // extremes inside a point
      values.back() = -1.5f;                                 // and in the last value
      const BlockRef block = BlockStore::Instance().Create(values.data(), frames, channels, nullptr);
      for (int c = 0; c < channels; ++c) {
        SummaryPoint whole{2, -2, 0};
        for (int k = 0; k < block->FineCount(); ++k) {
          SummaryPoint expect{2, -2, 0};
          for (int f = k * kSummaryFrames; f < std::min(frames, (k + 1) * kSummaryFrames); ++f) {
            const float v = values[size_t(f) * size_t(channels) + size_t(c)];
            expect = {std::min(expect.Min, v), std::max(expect.Max, v),
                      expect.SumSquares + double(v) * v};
          }
          const SummaryPoint& got = block->Fine(c)[k];
          ASSERT_EQ(got.Min, expect.Min) << channels << " " << frames << " " << k;
          ASSERT_EQ(got.Max, expect.Max) << channels << " " << frames << " " << k;
          ASSERT_NEAR(got.SumSquares, expect.SumSquares, 1e-4 * (1 + expect.SumSquares));
          whole = {std::min(whole.Min, expect.Min), std::max(whole.Max, expect.Max),
                   whole.SumSquares + expect.SumSquares};
        }
        EXPECT_EQ(block->Whole(c).Min, whole.Min);
        EXPECT_EQ(block->Whole(c).Max, whole.Max);
        EXPECT_NEAR(block->Whole(c).SumSquares, whole.SumSquares, 1e-4 * whole.SumSquares);
      }
    }
  }
}

TEST(BlockStore, FilledBlocksTakeTheirPiecesAndAFailedFillLeavesNothing) {
  BlockStore& store = BlockStore::Instance();
  for (int frames : {1, 4096, 10000, kBlockFrames}) {
    std::vector<std::pair<int, int>> pieces;
    const BlockRef block = store.Fill(frames, 2, nullptr, [&](float* values, int first, int n) {
      pieces.emplace_back(first, n);
      for (int f = 0; f < n; ++f) values[2 * f] = -(values[2 * f + 1] = float(first + f));
    });
    int covered = 0;
    for (const auto& [first, n] : pieces) {
      EXPECT_EQ(first, covered) << frames;
      covered += n;
    }
    EXPECT_EQ(covered, frames);
    const auto data = block->Data();
    bool same = true;
    for (int f = 0; f < frames; ++f) same = same && data[2 * f + 1] == float(f) && data[2 * f] == -f;
    EXPECT_TRUE(same) << frames;
    EXPECT_EQ(block->Whole(1).Max, float(frames - 1));
    EXPECT_EQ(block->Whole(0).Min, -float(frames - 1));
  }
  const int live = store.LiveBlocks();
  const int64_t resident = store.ResidentBytes();
  auto failing = [](float* values, int first, int n) {
    if (first > 0) throw EReadError("the file went away");
    std::fill_n(values, 2 * n, 0.5f);
  };
  EXPECT_THROW(store.Fill(kBlockFrames, 2, nullptr, failing), EReadError);
  EXPECT_EQ(store.LiveBlocks(), live);
  EXPECT_EQ(store.ResidentBytes(), resident);
}
