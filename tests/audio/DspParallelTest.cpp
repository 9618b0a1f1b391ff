#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "audio/DspParallel.h"

TEST(DspParallel, RunsEveryItemOnceAndReportsToTheEnd) {
  for (size_t count : {1u, 2u, 7u, 100u}) {
    std::vector<std::atomic<int>> runs(count);
    std::vector<size_t> reports;
    DspParallelFor(count, [&](size_t i) { ++runs[i]; },
                   [&](size_t done, size_t total) {
                     EXPECT_EQ(total, count);
                     reports.push_back(done);
                   });
    for (auto& r : runs) EXPECT_EQ(r.load(), 1) << count;
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back(), count);
  }
}

TEST(DspParallel, FailuresComeBackAndNestedJobsDoNotWait) {
  // An item that throws: the error reaches the caller once the running items are done.
  EXPECT_THROW(DspParallelFor(50, [](size_t i) {
                 if (i == 3) throw std::runtime_error("item");
               }),
               std::runtime_error);
  // A progress handler that starts another job (as one pumping events may) finishes it.
  int inner = 0;
  DspParallelFor(8, [](size_t) {}, [&](size_t, size_t) {
    std::atomic<int> n{0};
    DspParallelFor(16, [&](size_t) { ++n; });
    inner += n.load();
  });
  EXPECT_GE(inner, 16);
  EXPECT_EQ(inner % 16, 0);
}
