#pragma once
// A run of frames as pieces of shared blocks, kept in a balanced tree of immutable nodes. An edit
// (slice, insert, erase, append) rebuilds only the nodes on its paths, so it costs in proportion
// to the logarithm of the number of pieces, and a copy of a sequence (an undo step, the
// clipboard) costs nothing: it shares the tree, as the tree shares the samples.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/BlockStore.h"

struct SummaryValue {
  float Min = 0, Max = 0, Rms = 0;
};

class SampleSequence {
 public:
  struct Piece {
    BlockRef Block;
    int32_t Offset = 0;
    int32_t Length = 0;
  };

  SampleSequence() = default;
  explicit SampleSequence(int channels) : FChannels(channels) {}

  int Channels() const { return FChannels; }
  int64_t Length() const;
  bool Empty() const { return !FRoot; }
  int64_t PieceCount() const;

  // Positions are clipped to 0..Length().
  SampleSequence Slice(int64_t start, int64_t end) const;
  void Insert(int64_t at, const SampleSequence& other);
  void Erase(int64_t start, int64_t end);
  void Append(const SampleSequence& other);
  void AppendPiece(const Piece& piece);

  // Copies frames [start, start + frames) interleaved into `out`; returns the frames copied
  // (fewer past the end).
  int64_t Read(int64_t start, int64_t frames, float* out) const;
  // Minimum, maximum and RMS of one channel over [start, end), from the blocks' summaries where
  // whole summary points fall inside the range.
  SummaryValue Summary(int channel, int64_t start, int64_t end) const;

  struct Node;
  using Tree = std::shared_ptr<const Node>;

 private:
  explicit SampleSequence(int channels, Tree root) : FChannels(channels), FRoot(std::move(root)) {}

  int FChannels = 0;
  Tree FRoot;
};

// Turns a stream of interleaved frames into blocks and a sequence.
class SequenceBuilder {
 public:
  SequenceBuilder(int channels, std::shared_ptr<const std::string> swapFolder);
  void Append(const float* values, int64_t frames);
  int64_t Frames() const { return FSequence.Length() + FPendingFrames; }
  // What was appended so far, including the partial block (which is cut into its own block).
  SampleSequence Finish();
  int Channels() const { return FChannels; }
  // The full blocks made so far.
  const SampleSequence& Completed() const { return FSequence; }

 private:
  void Flush();

  int FChannels;
  std::shared_ptr<const std::string> FFolder;
  std::vector<float> FPending;
  int FPendingFrames = 0;
  SampleSequence FSequence;
};
