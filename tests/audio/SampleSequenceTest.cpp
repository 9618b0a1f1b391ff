#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "audio/SampleSequence.h"

namespace {
// A mono block whose frames hold `first`, `first` + 1, ...: every frame of a sequence built from
// such blocks tells where it came from.
BlockRef Numbered(int first, int frames) {
  std::vector<float> v(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) v[size_t(i)] = float(first + i);
  return BlockStore::Instance().Create(v.data(), frames, 1, nullptr);
}

std::vector<float> All(const SampleSequence& s) {
  std::vector<float> out(size_t(s.Length()));
  EXPECT_EQ(s.Read(0, s.Length(), out.data()), s.Length());
  return out;
}

SampleSequence Of(const BlockRef& b, int offset, int length) {
  SampleSequence s(1);
  s.AppendPiece({b, offset, length});
  return s;
}
}  // namespace

// Thousands of random slices, inserts, erases and appends, each checked frame by frame against
// the same edit on a plain vector; snapshots taken along the way must never change.
TEST(SampleSequence, RandomEditsMatchAPlainModelAndLeaveSnapshotsAlone) {
  std::mt19937 gen(7);
  std::vector<BlockRef> blocks;
  for (int b = 0; b < 6; ++b) blocks.push_back(Numbered(b * 1000, 500 + 97 * b));
  auto random = [&](int64_t lo, int64_t hi) {
    return std::uniform_int_distribution<int64_t>(lo, hi)(gen);
  };
  // A piece of one of the blocks, and its frames in `content`.
  auto randomPiece = [&](std::vector<float>& content) {
    const size_t which = size_t(random(0, int64_t(blocks.size()) - 1));
    const BlockRef& b = blocks[which];
    const int offset = int(random(0, b->Frames() - 1));
    const int length = int(random(1, b->Frames() - offset));
    content.clear();
    for (int i = 0; i < length; ++i) content.push_back(float(int(which) * 1000 + offset + i));
    return Of(b, offset, length);
  };

  SampleSequence seq(1);
  std::vector<float> model;
  std::vector<std::pair<SampleSequence, std::vector<float>>> snapshots;
  for (int round = 0; round < 3000; ++round) {
    const int64_t len = seq.Length();
    const int64_t a = random(-5, len + 5), b = random(-5, len + 5);
    const int64_t lo = std::clamp<int64_t>(std::min(a, b), 0, len);
    const int64_t hi = std::clamp<int64_t>(std::max(a, b), 0, len);
    switch (random(0, 4)) {
      case 0: {  // insert new material
        std::vector<float> piece;
        SampleSequence other = randomPiece(piece);
        seq.Insert(a, other);
        const int64_t at = std::clamp<int64_t>(a, 0, len);
        model.insert(model.begin() + at, piece.begin(), piece.end());
        break;
      }
      case 1:  // delete, once there is enough to delete
        if (len < 5000) break;
        seq.Erase(std::min(a, b), std::max(a, b));
        model.erase(model.begin() + lo, model.begin() + hi);
        break;
      case 2: {  // cut and paste elsewhere
        SampleSequence clip = seq.Slice(std::min(a, b), std::max(a, b));
        std::vector<float> part(model.begin() + lo, model.begin() + hi);
        seq.Erase(lo, hi);
        model.erase(model.begin() + lo, model.begin() + hi);
        const int64_t at = random(0, seq.Length());
        seq.Insert(at, clip);
        model.insert(model.begin() + at, part.begin(), part.end());
        break;
      }
      case 3: {  // append a slice of itself, while it is not too long
        if (len > 100000) {
          seq.Erase(lo, hi);
          model.erase(model.begin() + lo, model.begin() + hi);
          break;
        }
        SampleSequence tail = seq.Slice(lo, hi);
        seq.Append(tail);
        model.insert(model.end(), model.begin() + lo, model.begin() + hi);
        break;
      }
      default: {
        std::vector<float> piece;
        seq.Append(randomPiece(piece));
        model.insert(model.end(), piece.begin(), piece.end());
      }
    }
    ASSERT_EQ(seq.Length(), int64_t(model.size())) << "round " << round;
    if (round % 50 == 0) {
      ASSERT_EQ(All(seq), model) << "round " << round;
      snapshots.emplace_back(seq, model);
    }
  }
  EXPECT_EQ(All(seq), model);
  for (const auto& [snapshot, content] : snapshots) EXPECT_EQ(All(snapshot), content);

  // Reads and slices in the middle of pieces see the same frames as the model.
  for (int i = 0; i < 200; ++i) {
    const int64_t start = random(0, seq.Length()), n = random(0, 3000);
    const int64_t expected = std::min(n, seq.Length() - start);
    std::vector<float> got(size_t(std::max<int64_t>(n, 1)));
    ASSERT_EQ(seq.Read(start, n, got.data()), expected);
    got.resize(size_t(expected));
    EXPECT_EQ(got, std::vector<float>(model.begin() + start, model.begin() + start + expected));
    EXPECT_EQ(All(seq.Slice(start, start + n)), got);
  }
}

// Minimum, maximum and RMS over any range, across piece edges and summary points, are those of
// the frames themselves.
TEST(SampleSequence, SummaryOfAnyRangeMatchesTheFrames) {
  const BlockRef a = Numbered(-3000, kBlockFrames), b = Numbered(100, 3000);
  SampleSequence seq(1);
  seq.AppendPiece({a, 1000, 5000});
  seq.AppendPiece({b, 17, 2500});
  seq.AppendPiece({a, 0, kBlockFrames});
  seq.AppendPiece({a, 300, 700});
  const std::vector<float> frames = All(seq);
  std::mt19937 gen(3);
  for (int i = 0; i < 300; ++i) {
    int64_t s = std::uniform_int_distribution<int64_t>(0, seq.Length() - 1)(gen);
    int64_t e = std::uniform_int_distribution<int64_t>(s + 1, seq.Length())(gen);
    if (i == 0) s = 0, e = seq.Length();
    const SummaryValue v = seq.Summary(0, s, e);
    float lo = INFINITY, hi = -INFINITY;
    double sum = 0;
    for (int64_t f = s; f < e; ++f) {
      lo = std::min(lo, frames[size_t(f)]);
      hi = std::max(hi, frames[size_t(f)]);
      sum += double(frames[size_t(f)]) * frames[size_t(f)];
    }
    EXPECT_EQ(v.Min, lo) << s << ".." << e;
    EXPECT_EQ(v.Max, hi) << s << ".." << e;
    EXPECT_NEAR(v.Rms, std::sqrt(sum / double(e - s)), 1e-4 * std::sqrt(sum / double(e - s)));
  }
}

// A cut undone by pasting the frames back where they were leaves one piece again, however often
// it is done.
TEST(SampleSequence, NeighbouringPiecesOfOneBlockJoinAgain) {
  const BlockRef b = Numbered(0, 40000);
  SampleSequence seq = Of(b, 0, 40000);
  for (int i = 0; i < 100; ++i) {
    const int64_t s = 37 * i, e = 20000 + 91 * i;
    SampleSequence clip = seq.Slice(s, e);
    seq.Erase(s, e);
    seq.Insert(s, clip);
  }
  EXPECT_EQ(seq.PieceCount(), 1);
  EXPECT_EQ(All(seq), All(Of(b, 0, 40000)));
}
