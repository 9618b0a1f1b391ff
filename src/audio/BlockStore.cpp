#include "audio/BlockStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>
#include <xmmintrin.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace fs = std::filesystem;

namespace {
std::atomic<int64_t> gSwapInUse{0};
std::atomic<int64_t> gSwapFileBytes{0};
}  // namespace

// One swap file: space handed out by first fit over the freed extents; the file is locked while
// this process owns it, so another run can tell it from a leftover of a crash.
class SwapFile {
 public:
  SwapFile(std::string path, int fd) : FPath(std::move(path)), FFd(fd) {}
  ~SwapFile() {
    gSwapFileBytes -= FEnd;
    ::close(FFd);
    ::unlink(FPath.c_str());
  }

  int64_t Allocate(int64_t bytes) {
    auto it = FFree.lower_bound(bytes);
    int64_t offset;
    if (it != FFree.end()) {
      offset = it->second;
      if (it->first > bytes) FFree.emplace(it->first - bytes, offset + bytes);
      FFree.erase(it);
    } else {
      offset = FEnd;
      FEnd += bytes;
      gSwapFileBytes += bytes;
    }
    gSwapInUse += bytes;
    return offset;
  }
  void Release(int64_t offset, int64_t bytes) {
    gSwapInUse -= bytes;
    FFree.emplace(bytes, offset);
  }
  bool Write(int64_t offset, const void* data, int64_t bytes) {
    const char* p = static_cast<const char*>(data);
    while (bytes > 0) {
      ssize_t n = ::pwrite(FFd, p, size_t(bytes), offset);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      p += n, offset += n, bytes -= n;
    }
    return true;
  }
  void Read(int64_t offset, void* data, int64_t bytes) {
    char* p = static_cast<char*>(data);
    while (bytes > 0) {
      ssize_t n = ::pread(FFd, p, size_t(bytes), offset);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) throw EInOutError("Cannot read back the swap file " + FPath);
      p += n, offset += n, bytes -= n;
    }
  }

 private:
  std::string FPath;
  int FFd;
  int64_t FEnd = 0;
  std::multimap<int64_t, int64_t> FFree;  // size -> offset
};

SampleBlock::~SampleBlock() { BlockStore::Instance().Forget(this); }

std::shared_ptr<const float[]> SampleBlock::Data() const {
  BlockStore& store = BlockStore::Instance();
  std::lock_guard lock(store.FLock);
  if (!FData) return store.Load(this);
  store.Touch(this);
  return FData;
}

bool SampleBlock::Resident() const {
  std::lock_guard lock(BlockStore::Instance().FLock);
  return bool(FData);
}

BlockStore& BlockStore::Instance() {
  static BlockStore* store = new BlockStore;  // outlives every block, even static ones
  return *store;
}

BlockStore::BlockStore() {
  int64_t physical = int64_t(::sysconf(_SC_PHYS_PAGES)) * int64_t(::sysconf(_SC_PAGESIZE));
  FBudget = std::clamp<int64_t>(physical / 4, int64_t(256) << 20, int64_t(2) << 30);
}

namespace {
// Minimum, maximum and sum of squares of each channel over `frames` interleaved frames.
void SummariseChunk(const float* p, int frames, int channels, SummaryPoint* out /* channels */) {
  if (channels == 2 || channels == 1) {
    // Two stereo frames or four mono frames per vector; lanes are folded per channel after.
    // Two sets of accumulators, so the loop does not wait for each previous result.
    __m128 lo0 = _mm_set1_ps(INFINITY), hi0 = _mm_set1_ps(-INFINITY), sq0 = _mm_setzero_ps();
    __m128 lo1 = lo0, hi1 = hi0, sq1 = sq0;
    const int values = frames * channels;
    int i = 0;
    for (; i + 8 <= values; i += 8) {
      const __m128 x = _mm_loadu_ps(p + i), y = _mm_loadu_ps(p + i + 4);
      lo0 = _mm_min_ps(lo0, x);
      hi0 = _mm_max_ps(hi0, x);
      sq0 = _mm_add_ps(sq0, _mm_mul_ps(x, x));
      lo1 = _mm_min_ps(lo1, y);
      hi1 = _mm_max_ps(hi1, y);
      sq1 = _mm_add_ps(sq1, _mm_mul_ps(y, y));
    }
    for (; i + 4 <= values; i += 4) {
      const __m128 x = _mm_loadu_ps(p + i);
      lo0 = _mm_min_ps(lo0, x);
      hi0 = _mm_max_ps(hi0, x);
      sq0 = _mm_add_ps(sq0, _mm_mul_ps(x, x));
    }
    const __m128 lowest = _mm_min_ps(lo0, lo1), highest = _mm_max_ps(hi0, hi1);
    const __m128 sum = _mm_add_ps(sq0, sq1);
    alignas(16) float l[4], h[4], q[4];
    _mm_store_ps(l, lowest);
    _mm_store_ps(h, highest);
    _mm_store_ps(q, sum);
    for (int c = 0; c < channels; ++c) {
      float cl = INFINITY, ch = -INFINITY, cq = 0;
      for (int lane = c; lane < 4; lane += channels) {
        cl = std::min(cl, l[lane]);
        ch = std::max(ch, h[lane]);
        cq += q[lane];
      }
      for (int j = i + c; j < values; j += channels) {
        cl = std::min(cl, p[j]);
        ch = std::max(ch, p[j]);
        cq += p[j] * p[j];
      }
      out[c] = {cl, ch, cq};
    }
    return;
  }
  for (int c = 0; c < channels; ++c) {
    float lo = INFINITY, hi = -INFINITY, sum = 0;
    const float* s = p + c;
    for (int f = 0; f < frames; ++f, s += channels) {
      lo = std::min(lo, *s);
      hi = std::max(hi, *s);
      sum += *s * *s;
    }
    out[c] = {lo, hi, sum};
  }
}
}  // namespace

namespace {
// Memory of full blocks: carved from large regions and kept for reuse when freed (fresh memory
// costs the system a page clearing), up to a limit beyond which freed memory is given back to the
// system (the address range stays for reuse).
class BlockMemory {
 public:
  static constexpr size_t kRegion = size_t(64) << 20;
  static constexpr size_t kHuge = size_t(2) << 20;
  static constexpr size_t kKeep = size_t(256) << 20;

  float* Take(size_t bytes) {
    std::lock_guard g(FLock);
    for (auto* list : {&FWarm, &FCold}) {
      auto& chunks = (*list)[bytes];
      if (!chunks.empty()) {
        float* p = chunks.back();
        chunks.pop_back();
        if (list == &FWarm) FWarmBytes -= bytes;
        return p;
      }
    }
    if (FLeft < bytes) {
      void* raw = ::mmap(nullptr, kRegion + kHuge, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (raw == MAP_FAILED) return nullptr;
      char* base = reinterpret_cast<char*>((uintptr_t(raw) + kHuge - 1) & ~(kHuge - 1));
      // Most of the time of opening a long file goes into the system clearing fresh pages: in
      // pages of 2 MB it needs 512 times fewer faults. Kernels that give huge pages only to
      // those who ask need this; others ignore it.
      ::madvise(base, kRegion, MADV_HUGEPAGE);
      FNext = base;
      FLeft = kRegion;
    }
    float* p = reinterpret_cast<float*>(FNext);
    FNext += bytes;
    FLeft -= bytes;
    return p;
  }
  void Give(float* p, size_t bytes) {
    std::lock_guard g(FLock);
    if (FWarmBytes + bytes <= kKeep) {
      FWarm[bytes].push_back(p);
      FWarmBytes += bytes;
    } else {
      ::madvise(p, bytes, MADV_DONTNEED);
      FCold[bytes].push_back(p);
    }
  }

 private:
  std::mutex FLock;
  std::map<size_t, std::vector<float*>> FWarm, FCold;
  size_t FWarmBytes = 0;
  char* FNext = nullptr;
  size_t FLeft = 0;
};

BlockMemory& TheBlockMemory() {
  static BlockMemory* memory = new BlockMemory;
  return *memory;
}
}  // namespace

std::shared_ptr<float[]> BlockStore::Allocate(int frames, int channels) {
  const size_t bytes = size_t(frames) * size_t(channels) * sizeof(float);
  if (frames == kBlockFrames && channels <= 8) {
    if (float* p = TheBlockMemory().Take(bytes))
      return std::shared_ptr<float[]>(p, [bytes](float* q) { TheBlockMemory().Give(q, bytes); });
  }
  return std::shared_ptr<float[]>(new float[size_t(frames) * size_t(channels)]);
}

BlockRef BlockStore::Create(const float* values, int frames, int channels,
                            const std::shared_ptr<const std::string>& folder) {
  if (frames <= 0 || channels <= 0 || frames > kBlockFrames)
    throw EArgumentException("Invalid sample block size");
  std::shared_ptr<float[]> data = Allocate(frames, channels);
  std::memcpy(data.get(), values, size_t(frames) * size_t(channels) * sizeof(float));
  return Adopt(std::move(data), frames, channels, folder);
}

BlockRef BlockStore::Adopt(std::shared_ptr<float[]> data, int frames, int channels,
                           const std::shared_ptr<const std::string>& folder) {
  return Make(std::move(data), frames, channels, folder, nullptr);
}

BlockRef BlockStore::Fill(int frames, int channels,
                          const std::shared_ptr<const std::string>& folder,
                          const std::function<void(float*, int, int)>& fill) {
  if (frames <= 0 || channels <= 0 || frames > kBlockFrames)
    throw EArgumentException("Invalid sample block size");
  return Make(Allocate(frames, channels), frames, channels, folder, &fill);
}

BlockRef BlockStore::Make(std::shared_ptr<float[]> data, int frames, int channels,
                          const std::shared_ptr<const std::string>& folder,
                          const std::function<void(float*, int, int)>* fill) {
  if (frames <= 0 || channels <= 0 || frames > kBlockFrames)
    throw EArgumentException("Invalid sample block size");
  const size_t count = size_t(frames) * size_t(channels);
  const int fine = (frames + kSummaryFrames - 1) / kSummaryFrames;
  std::unique_ptr<SummaryPoint[]> fineOf(new SummaryPoint[size_t(fine) * size_t(channels)]);
  std::unique_ptr<SummaryPoint[]> wholeOf(new SummaryPoint[size_t(channels)]);
  SummaryPoint point[8];
  std::vector<SummaryPoint> more;
  SummaryPoint* points = point;
  if (channels > 8) {
    more.resize(size_t(channels));
    points = more.data();
  }
  for (int c = 0; c < channels; ++c) wholeOf[size_t(c)] = {INFINITY, -INFINITY, 0};
  // Filled a few points at a time, which are summarised while still in the cache.
  constexpr int kPiece = 16 * kSummaryFrames;
  for (int k = 0; k < fine; ++k) {
    const int first = k * kSummaryFrames, n = std::min(frames - first, kSummaryFrames);
    float* values = data.get() + size_t(first) * size_t(channels);
    if (fill && first % kPiece == 0) (*fill)(values, first, std::min(frames - first, kPiece));
    SummariseChunk(values, n, channels, points);
    for (int c = 0; c < channels; ++c) {
      fineOf[size_t(c) * size_t(fine) + size_t(k)] = points[c];
      SummaryPoint& whole = wholeOf[size_t(c)];
      whole.Min = std::min(whole.Min, points[c].Min);
      whole.Max = std::max(whole.Max, points[c].Max);
      whole.SumSquares += points[c].SumSquares;
    }
  }

  // Made only now, so that a failure above leaves nothing to account for.
  std::shared_ptr<SampleBlock> block(new SampleBlock);
  block->FChannels = channels;
  block->FFrames = frames;
  block->FFolder = folder;
  block->FFine = std::move(fineOf);
  block->FWhole = std::move(wholeOf);
  std::lock_guard lock(FLock);
  block->FData = std::move(data);
  FResident += int64_t(count * sizeof(float));
  ++FLive;
  Touch(block.get());
  Evict();
  return block;
}

void BlockStore::Touch(const SampleBlock* block) {
  if (block->FInLru) {
    FLruList.splice(FLruList.begin(), FLruList, block->FLru);
  } else {
    FLruList.push_front(block);
    block->FLru = FLruList.begin();
    block->FInLru = true;
  }
}

void BlockStore::Evict() {
  if (FResident <= FBudget) return;
  // Oldest first; a block somebody is reading (its data pointer is shared) stays.
  auto it = FLruList.end();
  while (FResident > FBudget && it != FLruList.begin()) {
    --it;
    const SampleBlock* block = *it;
    if (block->FData.use_count() > 1) continue;
    if (block->FSwapOffset < 0 && !SwapOut(block)) return;  // no disk: stay over budget
    FResident -= int64_t(block->FFrames) * block->FChannels * int64_t(sizeof(float));
    block->FData.reset();
    block->FInLru = false;
    it = FLruList.erase(it);
  }
}

bool BlockStore::SwapOut(const SampleBlock* block) {
  const int64_t bytes = int64_t(block->FFrames) * block->FChannels * int64_t(sizeof(float));
  std::shared_ptr<SwapFile> file = SwapFileFor(block->FFolder ? *block->FFolder : std::string());
  if (!file) return false;
  const int64_t offset = file->Allocate(bytes);
  if (!file->Write(offset, block->FData.get(), bytes)) {
    file->Release(offset, bytes);
    return false;
  }
  block->FSwap = std::move(file);
  block->FSwapOffset = offset;
  return true;
}

std::shared_ptr<const float[]> BlockStore::Load(const SampleBlock* block) {
  const size_t count = size_t(block->FFrames) * size_t(block->FChannels);
  std::shared_ptr<float[]> data = Allocate(block->FFrames, block->FChannels);
  block->FSwap->Read(block->FSwapOffset, data.get(), int64_t(count * sizeof(float)));
  block->FData = data;
  FResident += int64_t(count * sizeof(float));
  Touch(block);
  Evict();  // `data` pins this block meanwhile
  return data;
}

void BlockStore::Forget(SampleBlock* block) {
  std::lock_guard lock(FLock);
  if (block->FData)
    FResident -= int64_t(block->FFrames) * block->FChannels * int64_t(sizeof(float));
  if (block->FInLru) FLruList.erase(block->FLru);
  if (block->FSwap)
    block->FSwap->Release(block->FSwapOffset,
                          int64_t(block->FFrames) * block->FChannels * int64_t(sizeof(float)));
  block->FSwap.reset();
  --FLive;
}

std::shared_ptr<SwapFile> BlockStore::SwapFileFor(const std::string& wanted) {
  const std::string folder = UsableFolderLocked(wanted);
  if (auto existing = FSwapFiles[folder].lock()) return existing;
  std::string path = (fs::path(folder) / ("sonalix-swap-" + std::to_string(::getpid()) + "-" +
                                          std::to_string(FNextSwapNumber++) + ".tmp"))
                         .string();
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return nullptr;
  ::flock(fd, LOCK_EX | LOCK_NB);
  auto file = std::make_shared<SwapFile>(path, fd);
  FSwapFiles[folder] = file;
  return file;
}

std::string BlockStore::DefaultFolder() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache && *cache) return (fs::path(cache) / "sonalix").string();
  const char* home = std::getenv("HOME");
  return (fs::path(home && *home ? home : "/tmp") / ".cache" / "sonalix").string();
}

bool BlockStore::IsSwapFileName(const std::string& name) {
  return name.rfind("sonalix-swap-", 0) == 0 && name.size() > 17 &&
         name.compare(name.size() - 4, 4, ".tmp") == 0;
}

std::string BlockStore::UsableFolder(const std::string& wanted) {
  std::lock_guard lock(FLock);
  return UsableFolderLocked(wanted);
}

namespace {
// A folder can hold swap files when it exists (or can be made) and a file can be created in it.
bool Writable(const std::string& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (!fs::is_directory(folder, ec)) return false;
  std::string probe = (fs::path(folder) / ("sonalix-probe-" + std::to_string(::getpid()))).string();
  int fd = ::open(probe.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

// Swap files nobody holds locked were left by a run that ended without cleaning up.
void RemoveLeftovers(const std::string& folder) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (!BlockStore::IsSwapFileName(name) || !entry.is_regular_file(ec)) continue;
    int fd = ::open(entry.path().c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) continue;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(entry.path().c_str());
    ::close(fd);
  }
}
}  // namespace

std::string BlockStore::UsableFolderLocked(const std::string& wanted) {
  auto known = FUsable.find(wanted);
  if (known != FUsable.end()) return known->second;
  std::string result;
  for (const std::string& candidate :
       {wanted, DefaultFolder(), fs::temp_directory_path().string()}) {
    if (!candidate.empty() && Writable(candidate)) {
      result = candidate;
      break;
    }
  }
  if (result.empty()) result = "/tmp";
  bool seen = false;
  for (const auto& [w, usable] : FUsable) seen = seen || usable == result;
  if (!seen) RemoveLeftovers(result);
  FUsable[wanted] = result;
  return result;
}

int64_t BlockStore::MemoryBudget() const {
  std::lock_guard lock(FLock);
  return FBudget;
}

void BlockStore::SetMemoryBudget(int64_t bytes) {
  std::lock_guard lock(FLock);
  FBudget = std::max<int64_t>(bytes, 0);
  Evict();
}

int64_t BlockStore::ResidentBytes() const {
  std::lock_guard lock(FLock);
  return FResident;
}

int64_t BlockStore::SwapBytesInUse() const { return gSwapInUse; }
int64_t BlockStore::SwapFileBytes() const { return gSwapFileBytes; }

int BlockStore::LiveBlocks() const {
  std::lock_guard lock(FLock);
  return FLive;
}
