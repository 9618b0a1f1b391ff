#include "audio/DspParallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "audio/DspKernels.h"

namespace {

thread_local bool tInsideWorker = false;
// Set while this thread waits for a job of the pool: a progress handler that pumps events may
// start another effect, which then runs on this thread instead of waiting for the busy pool.
thread_local bool tWaitingOnPool = false;

struct Job {
  const std::function<void(size_t)>* Item = nullptr;
  size_t Count = 0;
  std::atomic<size_t> Next{0};
  size_t Done = 0;  // guarded by the pool's mutex
  size_t Running = 0;
  bool Stop = false;
  std::exception_ptr Error;
};

class Pool {
 public:
  static Pool& Instance() {
    static Pool pool;
    return pool;
  }

  int Workers() const { return int(FThreads.size()); }

  void Run(size_t count, const std::function<void(size_t)>& item,
           const std::function<void(size_t, size_t)>& progress) {
    std::lock_guard serial(FCallers);  // one job at a time; callers are rare and long
    tWaitingOnPool = true;
    struct Reset {
      ~Reset() { tWaitingOnPool = false; }
    } reset;
    auto job = std::make_shared<Job>();
    job->Item = &item;
    job->Count = count;
    std::exception_ptr progressError;
    {
      std::unique_lock lock(FMutex);
      FJob = job;
      FWake.notify_all();
      size_t reported = 0;
      auto finished = [&] { return (job->Done >= job->Count || job->Stop) && job->Running == 0; };
      for (;;) {
        FDone.wait(lock, [&] { return job->Done != reported || finished(); });
        if (job->Done != reported && progress && !job->Stop) {
          reported = job->Done;
          lock.unlock();
          try {
            progress(reported, count);
          } catch (...) {
            progressError = std::current_exception();
          }
          lock.lock();
          if (progressError) {
            job->Stop = true;
            job->Next = job->Count;
          }
          continue;  // items may have finished meanwhile: report them before leaving
        }
        reported = job->Done;
        if (finished()) break;
      }
      FJob.reset();
    }
    if (job->Error) std::rethrow_exception(job->Error);
    if (progressError) std::rethrow_exception(progressError);
  }

 private:
  Pool() {
    int n = int(std::thread::hardware_concurrency());
    if (const char* env = std::getenv("SONALIX_DSP_THREADS")) n = std::atoi(env);
    n = std::clamp(n, 1, 64);
    for (int i = 0; i < n; ++i) FThreads.emplace_back([this] { Work(); });
  }

  ~Pool() {
    {
      std::lock_guard lock(FMutex);
      FQuit = true;
      FWake.notify_all();
    }
    for (auto& t : FThreads) t.join();
  }

  void Work() {
    tInsideWorker = true;
    DspDenormalGuard guard;
    std::unique_lock lock(FMutex);
    for (;;) {
      FWake.wait(lock, [&] { return FQuit || (FJob && FJob->Next < FJob->Count); });
      if (FQuit) return;
      std::shared_ptr<Job> job = FJob;
      size_t i = job->Next++;
      if (i >= job->Count) continue;
      ++job->Running;
      lock.unlock();
      std::exception_ptr error;
      try {
        (*job->Item)(i);
      } catch (...) {
        error = std::current_exception();
      }
      lock.lock();
      --job->Running;
      ++job->Done;
      if (error) {
        if (!job->Error) job->Error = error;
        job->Stop = true;
        job->Next = job->Count;
      }
      FDone.notify_all();
    }
  }

  std::vector<std::thread> FThreads;
  std::mutex FCallers;
  std::mutex FMutex;
  std::condition_variable FWake;
  std::condition_variable FDone;
  std::shared_ptr<Job> FJob;
  bool FQuit = false;
};

}  // namespace

int DspThreadCount() { return Pool::Instance().Workers(); }

void DspParallelFor(size_t count, const std::function<void(size_t)>& item,
                    const std::function<void(size_t, size_t)>& progress) {
  if (count == 0) return;
  if (count == 1 || tInsideWorker || tWaitingOnPool || DspThreadCount() == 1) {
    DspDenormalGuard guard;
    for (size_t i = 0; i < count; ++i) {
      item(i);
      if (progress) progress(i + 1, count);
    }
    return;
  }
  Pool::Instance().Run(count, item, progress);
}

size_t DspPieceCount(size_t frames, size_t minFrames) {
  if (minFrames == 0) minFrames = 1;
  const size_t wanted = size_t(DspThreadCount()) * 4;
  return std::max<size_t>(1, std::min(wanted, frames / minFrames));
}
