#include "audio/SampleSequence.h"

#include <algorithm>
#include <cmath>
#include <cstring>

size_t SampleSequence::PieceAt(int64_t position) const {
  auto it = std::upper_bound(FStarts.begin(), FStarts.end() - 1, position);
  return size_t(it - FStarts.begin()) - 1;
}

void SampleSequence::Rebuild() {
  FStarts.resize(FPieces.size() + 1);
  int64_t pos = 0;
  for (size_t i = 0; i < FPieces.size(); ++i) {
    FStarts[i] = pos;
    pos += FPieces[i].Length;
  }
  FStarts[FPieces.size()] = pos;
  if (FPieces.empty()) FStarts.clear();
}

void SampleSequence::AppendPiece(const Piece& piece) {
  if (piece.Length <= 0) return;
  if (FChannels == 0) FChannels = piece.Block->Channels();
  // Neighbouring pieces of one block join again (a cut undone by a paste, for instance).
  if (!FPieces.empty()) {
    Piece& last = FPieces.back();
    if (last.Block == piece.Block && last.Offset + last.Length == piece.Offset) {
      last.Length += piece.Length;
      FStarts.back() += piece.Length;
      return;
    }
  }
  if (FStarts.empty()) FStarts.push_back(0);
  FPieces.push_back(piece);
  FStarts.push_back(FStarts.back() + piece.Length);
}

SampleSequence SampleSequence::Slice(int64_t start, int64_t end) const {
  SampleSequence out(FChannels);
  start = std::clamp<int64_t>(start, 0, Length());
  end = std::clamp<int64_t>(end, start, Length());
  if (start == end) return out;
  for (size_t i = PieceAt(start); i < FPieces.size() && FStarts[i] < end; ++i) {
    const int64_t a = std::max(start, FStarts[i]), b = std::min(end, FStarts[i + 1]);
    Piece p = FPieces[i];
    p.Offset += int32_t(a - FStarts[i]);
    p.Length = int32_t(b - a);
    out.AppendPiece(p);
  }
  return out;
}

void SampleSequence::Append(const SampleSequence& other) {
  if (FChannels == 0) FChannels = other.FChannels;
  FPieces.reserve(FPieces.size() + other.FPieces.size());
  for (const Piece& p : other.FPieces) AppendPiece(p);
}

void SampleSequence::Insert(int64_t at, const SampleSequence& other) {
  at = std::clamp<int64_t>(at, 0, Length());
  SampleSequence out = Slice(0, at);
  out.Append(other);
  out.Append(Slice(at, Length()));
  if (out.FChannels == 0) out.FChannels = FChannels;
  *this = std::move(out);
}

void SampleSequence::Erase(int64_t start, int64_t end) {
  SampleSequence out = Slice(0, start);
  out.Append(Slice(end, Length()));
  out.FChannels = FChannels;
  *this = std::move(out);
}

int64_t SampleSequence::Read(int64_t start, int64_t frames, float* out) const {
  start = std::max<int64_t>(start, 0);
  const int64_t end = std::min(Length(), start + std::max<int64_t>(frames, 0));
  if (start >= end) return 0;
  float* dst = out;
  for (size_t i = PieceAt(start); i < FPieces.size() && FStarts[i] < end; ++i) {
    const int64_t a = std::max(start, FStarts[i]), b = std::min(end, FStarts[i + 1]);
    const Piece& p = FPieces[i];
    auto data = p.Block->Data();
    const size_t first = size_t(p.Offset + (a - FStarts[i])) * size_t(FChannels);
    const size_t count = size_t(b - a) * size_t(FChannels);
    std::memcpy(dst, data.get() + first, count * sizeof(float));
    dst += count;
  }
  return end - start;
}

SummaryValue SampleSequence::Summary(int channel, int64_t start, int64_t end) const {
  start = std::clamp<int64_t>(start, 0, Length());
  end = std::clamp<int64_t>(end, start, Length());
  if (start >= end || channel < 0 || channel >= FChannels) return {};
  float lo = INFINITY, hi = -INFINITY;
  double sum = 0;
  auto raw = [&](const Piece& p, int first, int last) {  // frames of the block
    auto data = p.Block->Data();
    const float* s = data.get() + size_t(first) * size_t(FChannels) + size_t(channel);
    for (int f = first; f < last; ++f, s += FChannels) {
      lo = std::min(lo, *s);
      hi = std::max(hi, *s);
      sum += double(*s) * *s;
    }
  };
  auto take = [&](const SummaryPoint& pt) {
    lo = std::min(lo, pt.Min);
    hi = std::max(hi, pt.Max);
    sum += pt.SumSquares;
  };
  for (size_t i = PieceAt(start); i < FPieces.size() && FStarts[i] < end; ++i) {
    const Piece& p = FPieces[i];
    const int first = p.Offset + int(std::max(start, FStarts[i]) - FStarts[i]);
    const int last = p.Offset + int(std::min(end, FStarts[i + 1]) - FStarts[i]);
    if (first == 0 && last == p.Block->Frames()) {
      take(p.Block->Whole(channel));
      continue;
    }
    const int k0 = (first + kSummaryFrames - 1) / kSummaryFrames;
    const int k1 = last == p.Block->Frames() ? p.Block->FineCount() : last / kSummaryFrames;
    if (k0 >= k1) {
      raw(p, first, last);
      continue;
    }
    raw(p, first, k0 * kSummaryFrames);
    const SummaryPoint* fine = p.Block->Fine(channel);
    for (int k = k0; k < k1; ++k) take(fine[k]);
    raw(p, std::min(last, k1 * kSummaryFrames), last);
  }
  return {lo, hi, float(std::sqrt(sum / double(end - start)))};
}

SequenceBuilder::SequenceBuilder(int channels, std::shared_ptr<const std::string> swapFolder)
    : FChannels(channels), FFolder(std::move(swapFolder)), FSequence(channels) {
  FPending.resize(size_t(kBlockFrames) * size_t(channels));
}

void SequenceBuilder::Append(const float* values, int64_t frames) {
  while (frames > 0) {
    const int n = int(std::min<int64_t>(frames, kBlockFrames - FPendingFrames));
    std::memcpy(FPending.data() + size_t(FPendingFrames) * size_t(FChannels), values,
                size_t(n) * size_t(FChannels) * sizeof(float));
    FPendingFrames += n;
    values += size_t(n) * size_t(FChannels);
    frames -= n;
    if (FPendingFrames == kBlockFrames) Flush();
  }
}

void SequenceBuilder::Flush() {
  if (FPendingFrames == 0) return;
  BlockRef block =
      BlockStore::Instance().Create(FPending.data(), FPendingFrames, FChannels, FFolder);
  FSequence.AppendPiece({block, 0, FPendingFrames});
  FPendingFrames = 0;
}

SampleSequence SequenceBuilder::Finish() {
  Flush();
  SampleSequence out = FSequence;
  return out;
}
