#include "audio/SampleSequence.h"

#include <algorithm>
#include <cmath>
#include <cstring>

struct SampleSequence::Node {
  Piece P;
  Tree Left, Right;
  int64_t Frames = 0;  // of the whole subtree
  int64_t Count = 0;   // pieces of the whole subtree
  int Height = 0;
};

namespace {
// A persistent AVL tree joined and split as in "just join" balanced trees: every operation is
// a split or a join, each rebuilding one path.
using Node = SampleSequence::Node;
using Tree = SampleSequence::Tree;
using Piece = SampleSequence::Piece;

int HeightOf(const Tree& t) { return t ? t->Height : 0; }
int64_t FramesOf(const Tree& t) { return t ? t->Frames : 0; }

Tree Make(Tree left, const Piece& p, Tree right) {
  auto n = std::make_shared<Node>();
  n->Frames = FramesOf(left) + p.Length + FramesOf(right);
  n->Count = (left ? left->Count : 0) + 1 + (right ? right->Count : 0);
  n->Height = 1 + std::max(HeightOf(left), HeightOf(right));
  n->P = p;
  n->Left = std::move(left);
  n->Right = std::move(right);
  return n;
}

Tree RotateLeft(const Tree& t) {
  const Tree& r = t->Right;
  return Make(Make(t->Left, t->P, r->Left), r->P, r->Right);
}

Tree RotateRight(const Tree& t) {
  const Tree& l = t->Left;
  return Make(l->Left, l->P, Make(l->Right, t->P, t->Right));
}

// left is taller than right by more than one.
Tree JoinRight(const Tree& left, const Piece& p, const Tree& right) {
  const Tree& c = left->Right;
  if (HeightOf(c) <= HeightOf(right) + 1) {
    Tree t = Make(c, p, right);
    if (HeightOf(t) <= HeightOf(left->Left) + 1) return Make(left->Left, left->P, std::move(t));
    return RotateLeft(Make(left->Left, left->P, RotateRight(t)));
  }
  Tree t = JoinRight(c, p, right);
  const bool balanced = HeightOf(t) <= HeightOf(left->Left) + 1;
  Tree joined = Make(left->Left, left->P, std::move(t));
  return balanced ? joined : RotateLeft(joined);
}

// right is taller than left by more than one.
Tree JoinLeft(const Tree& left, const Piece& p, const Tree& right) {
  const Tree& c = right->Left;
  if (HeightOf(c) <= HeightOf(left) + 1) {
    Tree t = Make(left, p, c);
    if (HeightOf(t) <= HeightOf(right->Right) + 1) return Make(std::move(t), right->P, right->Right);
    return RotateRight(Make(RotateLeft(t), right->P, right->Right));
  }
  Tree t = JoinLeft(left, p, c);
  const bool balanced = HeightOf(t) <= HeightOf(right->Right) + 1;
  Tree joined = Make(std::move(t), right->P, right->Right);
  return balanced ? joined : RotateRight(joined);
}

// Everything of left, then p, then everything of right.
Tree Join(const Tree& left, const Piece& p, const Tree& right) {
  if (HeightOf(left) > HeightOf(right) + 1) return JoinRight(left, p, right);
  if (HeightOf(right) > HeightOf(left) + 1) return JoinLeft(left, p, right);
  return Make(left, p, right);
}

// The frames before `at` and the frames from `at` on.
std::pair<Tree, Tree> Split(const Tree& t, int64_t at) {
  if (!t || at <= 0) return {nullptr, t};
  if (at >= t->Frames) return {t, nullptr};
  const int64_t left = FramesOf(t->Left), end = left + t->P.Length;
  if (at < left) {
    auto [a, b] = Split(t->Left, at);
    return {std::move(a), Join(b, t->P, t->Right)};
  }
  if (at == left) return {t->Left, Join(nullptr, t->P, t->Right)};
  if (at >= end) {
    auto [a, b] = Split(t->Right, at - end);
    return {Join(t->Left, t->P, a), std::move(b)};
  }
  const int32_t cut = int32_t(at - left);
  Piece head = t->P, tail = t->P;
  head.Length = cut;
  tail.Offset += cut;
  tail.Length -= cut;
  return {Join(t->Left, head, nullptr), Join(nullptr, tail, t->Right)};
}

const Piece& First(const Tree& t) { return t->Left ? First(t->Left) : t->P; }
const Piece& Last(const Tree& t) { return t->Right ? Last(t->Right) : t->P; }

// Everything of left, then everything of right. Neighbouring pieces of one block join again (a
// cut undone by a paste, for instance), so repeated edits do not splinter the sequence.
Tree Concat(const Tree& left, const Tree& right) {
  if (!left) return right;
  if (!right) return left;
  const Piece& a = Last(left);
  const Piece& b = First(right);
  Piece middle = a;
  Tree rest = right;
  if (a.Block == b.Block && a.Offset + a.Length == b.Offset) {
    middle.Length += b.Length;
    rest = Split(right, b.Length).second;
  }
  return Join(Split(left, left->Frames - a.Length).first, middle, rest);
}

// Calls visit(piece, its first frame in the sequence) for the pieces overlapping [start, end).
template <class F>
void VisitPieces(const Node* n, int64_t base, int64_t start, int64_t end, F& visit) {
  while (n) {
    const int64_t first = base + FramesOf(n->Left), last = first + n->P.Length;
    if (start < first) VisitPieces(n->Left.get(), base, start, end, visit);
    if (first < end && last > start) visit(n->P, first);
    if (end <= last) return;
    n = n->Right.get();
    base = last;
  }
}
}  // namespace

int64_t SampleSequence::Length() const { return FramesOf(FRoot); }
int64_t SampleSequence::PieceCount() const { return FRoot ? FRoot->Count : 0; }

void SampleSequence::AppendPiece(const Piece& piece) {
  if (piece.Length <= 0) return;
  if (FChannels == 0) FChannels = piece.Block->Channels();
  FRoot = Concat(FRoot, Make(nullptr, piece, nullptr));
}

SampleSequence SampleSequence::Slice(int64_t start, int64_t end) const {
  start = std::clamp<int64_t>(start, 0, Length());
  end = std::clamp<int64_t>(end, start, Length());
  return SampleSequence(FChannels, Split(Split(FRoot, end).first, start).second);
}

void SampleSequence::Append(const SampleSequence& other) {
  if (FChannels == 0) FChannels = other.FChannels;
  FRoot = Concat(FRoot, other.FRoot);
}

void SampleSequence::Insert(int64_t at, const SampleSequence& other) {
  if (FChannels == 0) FChannels = other.FChannels;
  auto [before, after] = Split(FRoot, std::clamp<int64_t>(at, 0, Length()));
  FRoot = Concat(Concat(before, other.FRoot), after);
}

void SampleSequence::Erase(int64_t start, int64_t end) {
  start = std::clamp<int64_t>(start, 0, Length());
  end = std::clamp<int64_t>(end, start, Length());
  FRoot = Concat(Split(FRoot, start).first, Split(FRoot, end).second);
}

int64_t SampleSequence::Read(int64_t start, int64_t frames, float* out) const {
  start = std::max<int64_t>(start, 0);
  const int64_t end = std::min(Length(), start + std::max<int64_t>(frames, 0));
  if (start >= end) return 0;
  float* dst = out;
  auto copy = [&](const Piece& p, int64_t at) {
    const int64_t a = std::max(start, at), b = std::min(end, at + p.Length);
    auto data = p.Block->Data();
    const size_t first = size_t(p.Offset + (a - at)) * size_t(FChannels);
    const size_t count = size_t(b - a) * size_t(FChannels);
    std::memcpy(dst, data.get() + first, count * sizeof(float));
    dst += count;
  };
  VisitPieces(FRoot.get(), 0, start, end, copy);
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
  auto piece = [&](const Piece& p, int64_t at) {
    const int first = p.Offset + int(std::max(start, at) - at);
    const int last = p.Offset + int(std::min(end, at + p.Length) - at);
    if (first == 0 && last == p.Block->Frames()) {
      take(p.Block->Whole(channel));
      return;
    }
    const int k0 = (first + kSummaryFrames - 1) / kSummaryFrames;
    const int k1 = last == p.Block->Frames() ? p.Block->FineCount() : last / kSummaryFrames;
    if (k0 >= k1) {
      raw(p, first, last);
      return;
    }
    raw(p, first, k0 * kSummaryFrames);
    const SummaryPoint* fine = p.Block->Fine(channel);
    for (int k = k0; k < k1; ++k) take(fine[k]);
    raw(p, std::min(last, k1 * kSummaryFrames), last);
  };
  VisitPieces(FRoot.get(), 0, start, end, piece);
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
