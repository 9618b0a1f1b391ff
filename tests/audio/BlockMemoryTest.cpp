// Block memory is carved from large shared regions and recycled when blocks die; these check that
// no two live blocks ever share memory, that blocks outlive the threads and documents that made
// them (also through swap), and that opening and closing documents does not pile up memory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "AudioTestUtil.h"
#include "audio/AudioDocument.h"
#include "audio/BlockStore.h"
#include "audio/WavFile.h"
#include "common/TestEnv.h"

using namespace audiotest;
namespace fs = std::filesystem;

namespace {
struct BudgetScope {
  int64_t saved = BlockStore::Instance().MemoryBudget();
  explicit BudgetScope(int64_t bytes) { BlockStore::Instance().SetMemoryBudget(bytes); }
  ~BudgetScope() { BlockStore::Instance().SetMemoryBudget(saved); }
};

struct Tagged {
  BlockRef Block;
  float Tag;
};

Tagged MakeBlock(int channels, float tag) {
  std::shared_ptr<float[]> data = BlockStore::Allocate(kBlockFrames, channels);
  std::fill_n(data.get(), size_t(kBlockFrames) * size_t(channels), tag);
  return {BlockStore::Instance().Adopt(std::move(data), kBlockFrames, channels, nullptr), tag};
}

long ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

void WriteWav(const fs::path& path, const SampleBuffer& content, int bits) {
  WavWriter w(path.string(), content.SampleRate(), content.Channels(), bits);
  w.Write(content.Data(), content.Frames());
  w.Close();
}

// Lets go of whatever the process-wide clipboard holds.
void EmptyClipboard() {
  AudioDocument doc;
  doc.NewDocument(44100, 1);
  doc.Select(0, 0);
  doc.Copy();
}
}  // namespace

TEST(BlockMemory, BlocksMadeOnManyThreadsNeverShareMemory) {
  std::mutex lock;
  std::vector<Tagged> kept;
  // Threads mix block sizes and drop every other block, so freed memory is handed to other
  // threads while they are still making blocks.
  const std::vector<std::vector<int>> layouts = {{2, 2, 2, 2, 2, 2, 2, 2, 2},
                                                 {1, 2, 1, 2, 1, 2, 1},
                                                 {3, 3, 2, 3, 1, 3},
                                                 {8, 2, 8, 4, 4, 1},
                                                 {2, 1, 1, 1, 1, 2, 2, 4}};
  std::vector<std::thread> threads;
  for (size_t t = 0; t < layouts.size(); ++t)
    threads.emplace_back([&, t] {
      for (size_t i = 0; i < layouts[t].size(); ++i) {
        Tagged made = MakeBlock(layouts[t][i], float(t * 100 + i));
        if (i % 2 == 0) {
          std::lock_guard g(lock);
          kept.push_back(std::move(made));
        }
      }
    });
  for (std::thread& t : threads) t.join();
  // The threads are gone; memory they freed serves this thread now.
  for (int i = 0; i < 30; ++i) kept.push_back(MakeBlock(1 + i % 4, float(-1 - i)));

  struct Extent {
    const char *Begin, *End;
  };
  std::vector<Extent> extents;
  std::vector<std::shared_ptr<const float[]>> pinned;  // held, so none moves while checked
  for (const Tagged& t : kept) {
    pinned.push_back(t.Block->Data());
    const size_t count = size_t(t.Block->Frames()) * size_t(t.Block->Channels());
    const float* p = pinned.back().get();
    EXPECT_TRUE(std::all_of(p, p + count, [&](float v) { return v == t.Tag; })) << t.Tag;
    extents.push_back({reinterpret_cast<const char*>(p), reinterpret_cast<const char*>(p + count)});
  }
  std::sort(extents.begin(), extents.end(),
            [](const Extent& a, const Extent& b) { return a.Begin < b.Begin; });
  for (size_t i = 1; i < extents.size(); ++i)
    EXPECT_LE(extents[i - 1].End, extents[i].Begin) << "blocks " << i - 1 << " and " << i;
}

TEST(BlockMemory, LoadedBlocksOutliveTheirDocumentThroughSwap) {
  const fs::path dir = sonalix::test::MakeTempDir("outlive");
  // Float samples come back exactly; 23 blocks are loaded side by side on several threads.
  const SampleBuffer first = Ramp(1500000, 2);
  const SampleBuffer second = Ramp(900000, 2, 44100, 0.5f);
  WriteWav(dir / "first.wav", first, 32);
  WriteWav(dir / "second.wav", second, 32);
  {
    BudgetScope budget(2 << 20);  // blocks go to swap while the loading threads still run
    auto doc = std::make_unique<AudioDocument>();
    doc->SetTempDirectory(dir.string());
    doc->OpenFile((dir / "first.wav").string());
    EXPECT_LE(BlockStore::Instance().ResidentBytes(), 2 << 20);
    doc->Select(0, doc->Length());
    doc->Copy();
    doc.reset();
    // Another document takes and returns memory meanwhile.
    AudioDocument other;
    other.SetTempDirectory(dir.string());
    other.OpenFile((dir / "second.wav").string());
    EXPECT_EQ(Contents(other).Values(), second.Values());
  }
  AudioDocument pasted;
  pasted.NewDocument(44100, 2);
  pasted.Paste();
  EXPECT_EQ(Contents(pasted).Values(), first.Values());
  EmptyClipboard();
}

TEST(BlockMemory, OpeningAndClosingDocumentsReturnsMemory) {
  const fs::path dir = sonalix::test::MakeTempDir("reopen");
  // Sizes of one, two and three channels: blocks of sizes that fill a chunk and one that does not.
  const std::vector<fs::path> files = {dir / "stereo.wav", dir / "mono.wav", dir / "three.wav"};
  WriteWav(files[0], Sine(1500000, 440, 44100, 2, 0.5), 16);
  WriteWav(files[1], Sine(1700000, 440, 44100, 1, 0.5), 16);
  WriteWav(files[2], Sine(700000, 440, 44100, 3, 0.5), 24);
  EmptyClipboard();
  const int blocksBefore = BlockStore::Instance().LiveBlocks();
  long settled = 0;
  for (int round = 1; round <= 10; ++round) {
    for (const fs::path& file : files) {
      AudioDocument doc;
      doc.OpenFile(file.string());
      ASSERT_GT(doc.Length(), 0);
    }
    EXPECT_EQ(BlockStore::Instance().LiveBlocks(), blocksBefore);
    if (round == 2) settled = ResidentKb();
  }
  // One round holds about 30 MB of blocks; later rounds reuse the memory of earlier ones.
#ifndef __SANITIZE_ADDRESS__  // the address sanitizer holds freed memory back on purpose
  EXPECT_LT(ResidentKb() - settled, 8 * 1024);
#else
  (void)settled;
#endif
}
