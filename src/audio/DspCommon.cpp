#include "audio/DspCommon.h"

#include <cmath>
#include <cstdio>

#include "audio/DspParallel.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::string Number(double v) {
  if (std::isnan(v)) return "NaN";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

}  // namespace

void DspFail(const std::string& message) { throw EArgumentOutOfRangeException(message); }

void DspCheckRange(const char* effect, const char* parameter, double value, double lo, double hi,
                   const char* unit) {
  if (value >= lo && value <= hi) return;  // false for NaN
  std::string u = unit && *unit ? std::string(" ") + unit : std::string();
  DspFail(std::string(effect) + ": " + parameter + " must be from " + Number(lo) + " to " +
          Number(hi) + u + ", not " + Number(value) + u + ".");
}

void DspForPieces(size_t frames, size_t minFrames, const DspProgress& progress, int from, int to,
                  const std::function<void(size_t, size_t)>& fn) {
  const size_t pieces = DspPieceCount(frames, minFrames);
  auto item = [&](size_t i) {
    const size_t begin = frames * i / pieces;
    const size_t end = frames * (i + 1) / pieces;
    fn(begin, end);
  };
  std::function<void(size_t, size_t)> report;
  if (progress)
    report = [&](size_t done, size_t count) {
      progress(from + int((to - from) * double(done) / double(count)));
    };
  DspParallelFor(pieces, item, report);
}
