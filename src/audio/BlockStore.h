#pragma once
// The sample store: immutable blocks of interleaved float frames shared by reference, and the one
// manager that keeps their memory within a budget by moving the least recently used blocks to
// swap files. A block's swap space lives as long as the block, that is as long as a document, the
// clipboard or an undo step refers to it.

#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>

// Frames per fine summary point; a full block carries one coarse point per channel as well.
constexpr int kSummaryFrames = 256;
constexpr int kBlockFrames = 65536;

struct SummaryPoint {
  float Min = 0, Max = 0;
  double SumSquares = 0;
};

class SwapFile;

class SampleBlock {
 public:
  ~SampleBlock();
  SampleBlock(const SampleBlock&) = delete;
  SampleBlock& operator=(const SampleBlock&) = delete;

  int Channels() const { return FChannels; }
  int Frames() const { return FFrames; }
  // The interleaved frames; brought back from swap when needed, and kept in memory as long as
  // the returned pointer lives.
  std::shared_ptr<const float[]> Data() const;
  // Fine points of one channel: (Frames() + kSummaryFrames - 1) / kSummaryFrames of them.
  const SummaryPoint* Fine(int channel) const {
    return FFine.get() + size_t(channel) * size_t(FineCount());
  }
  int FineCount() const { return (FFrames + kSummaryFrames - 1) / kSummaryFrames; }
  const SummaryPoint& Whole(int channel) const { return FWhole[size_t(channel)]; }
  bool Resident() const;

 private:
  friend class BlockStore;
  SampleBlock() = default;

  int FChannels = 0;
  int FFrames = 0;
  std::unique_ptr<SummaryPoint[]> FFine;
  std::unique_ptr<SummaryPoint[]> FWhole;
  // Guarded by the store's mutex.
  mutable std::shared_ptr<float[]> FData;
  mutable std::shared_ptr<SwapFile> FSwap;
  mutable int64_t FSwapOffset = -1;
  std::shared_ptr<const std::string> FFolder;
  mutable std::list<const SampleBlock*>::iterator FLru;
  mutable bool FInLru = false;
};

using BlockRef = std::shared_ptr<const SampleBlock>;

class BlockStore {
 public:
  static BlockStore& Instance();

  // A new block of `frames` interleaved frames; its swap space goes to `folder` (empty: the
  // default folder).
  BlockRef Create(const float* values, int frames, int channels,
                  const std::shared_ptr<const std::string>& folder);
  // The same without a copy: takes a buffer of frames × channels values from Allocate(). Safe
  // to call from several threads.
  BlockRef Adopt(std::shared_ptr<float[]> data, int frames, int channels,
                 const std::shared_ptr<const std::string>& folder);
  static std::shared_ptr<float[]> Allocate(int frames, int channels);
  // A new block whose frames `fill` writes in pieces: fill(values, first frame, frames). Faster
  // than Allocate and Adopt, as each piece is summarised while still in the cache. Safe to call
  // from several threads; an exception from `fill` leaves no block behind.
  BlockRef Fill(int frames, int channels, const std::shared_ptr<const std::string>& folder,
                const std::function<void(float* values, int first, int frames)>& fill);

  int64_t MemoryBudget() const;
  void SetMemoryBudget(int64_t bytes);
  int64_t ResidentBytes() const;
  // Bytes of swap space in use and the size of all swap files.
  int64_t SwapBytesInUse() const;
  int64_t SwapFileBytes() const;
  int LiveBlocks() const;

  // $XDG_CACHE_HOME/sonalix (~/.cache/sonalix without it).
  static std::string DefaultFolder();
  // The folder swap files of `wanted` really go to: `wanted` when it can hold them, else the
  // default folder, else the system's temporary folder. Leftovers of crashed runs found in a
  // folder used for the first time are removed.
  std::string UsableFolder(const std::string& wanted);
  // Name pattern of swap files: "sonalix-swap-<pid>-<n>.tmp".
  static bool IsSwapFileName(const std::string& name);

 private:
  BlockStore();
  friend class SampleBlock;
  // The lock is held by the callers of these.
  void Touch(const SampleBlock* block);
  void Evict();
  std::shared_ptr<const float[]> Load(const SampleBlock* block);
  bool SwapOut(const SampleBlock* block);
  std::shared_ptr<SwapFile> SwapFileFor(const std::string& folder);
  std::string UsableFolderLocked(const std::string& wanted);
  void Forget(SampleBlock* block);
  BlockRef Make(std::shared_ptr<float[]> data, int frames, int channels,
                const std::shared_ptr<const std::string>& folder,
                const std::function<void(float*, int, int)>* fill);

  mutable std::recursive_mutex FLock;
  int64_t FBudget;
  int64_t FResident = 0;
  std::list<const SampleBlock*> FLruList;  // most recent first
  std::map<std::string, std::weak_ptr<SwapFile>> FSwapFiles;
  std::map<std::string, std::string> FUsable;  // wanted folder -> usable folder
  int FLive = 0;
  int FNextSwapNumber = 1;
};
