#include "audio/BlockStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

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

BlockRef BlockStore::Create(const float* values, int frames, int channels,
                            const std::shared_ptr<const std::string>& folder) {
  if (frames <= 0 || channels <= 0 || frames > kBlockFrames)
    throw EArgumentException("Invalid sample block size");
  std::shared_ptr<SampleBlock> block(new SampleBlock);
  block->FChannels = channels;
  block->FFrames = frames;
  block->FFolder = folder;
  const size_t count = size_t(frames) * size_t(channels);
  std::shared_ptr<float[]> data(new float[count]);
  std::memcpy(data.get(), values, count * sizeof(float));

  const int fine = block->FineCount();
  block->FFine.reset(new SummaryPoint[size_t(fine) * size_t(channels)]);
  block->FWhole.reset(new SummaryPoint[size_t(channels)]);
  for (int c = 0; c < channels; ++c) {
    SummaryPoint whole{INFINITY, -INFINITY, 0};
    for (int k = 0; k < fine; ++k) {
      const int first = k * kSummaryFrames, last = std::min(frames, first + kSummaryFrames);
      float lo = INFINITY, hi = -INFINITY;
      float sum = 0;
      const float* p = values + size_t(first) * size_t(channels) + size_t(c);
      for (int f = first; f < last; ++f, p += channels) {
        const float v = *p;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        sum += v * v;
      }
      block->FFine[size_t(c) * size_t(fine) + size_t(k)] = {lo, hi, sum};
      whole.Min = std::min(whole.Min, lo);
      whole.Max = std::max(whole.Max, hi);
      whole.SumSquares += sum;
    }
    block->FWhole[size_t(c)] = whole;
  }

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
  std::shared_ptr<float[]> data(new float[count]);
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
