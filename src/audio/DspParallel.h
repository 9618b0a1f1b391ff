#pragma once
// One small pool of worker threads shared by the effects. A job is split into items; the workers
// run them while the calling thread waits and reports progress, so progress events are raised on
// the caller's thread, inside the call, as the components promise.

#include <cstddef>
#include <functional>

// Number of workers (all cores).
int DspThreadCount();

// Runs item(i) for every i in [0, count). progress(done, count) is called on the calling thread
// after items finish. The first exception thrown by an item or by progress is rethrown once every
// started item has finished (items not yet started are then skipped). Called from inside a worker,
// from a progress handler of another job, or with count 1, the items run on the calling thread.
void DspParallelFor(size_t count, const std::function<void(size_t)>& item,
                    const std::function<void(size_t, size_t)>& progress = {});

// How a run of frames is cut into pieces for the pool: pieces of at least minFrames (so the
// overhead and any warm-up stay small against the work), about four per worker.
size_t DspPieceCount(size_t frames, size_t minFrames);
