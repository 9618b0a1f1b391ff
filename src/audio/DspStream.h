#pragma once
// Continuity of effects over a stream cut into blocks. A caller that feeds a long signal block by
// block (the batch converter: one second at a time, channel by channel, command by command)
// marks each block; the i-th effect call of a block takes over the state (filter memories,
// detector levels, delay lines) that the i-th call of the previous block left, provided it is the
// same effect with the same settings. Anything else starts from rest. Effects with no memory
// simply never ask.

#include <memory>
#include <string>
#include <vector>

// Base of every effect's carried state.
class DspStreamState {
 public:
  virtual ~DspStreamState() = default;
};

class DspStreams {
 public:
  // A block starts: call numbering restarts at 0.
  void BeginBlock();
  // The block ends; calls outside blocks neither continue nor leave state.
  void EndBlock();
  bool InBlock() const { return FInBlock; }
  // A caller that marks the last block of each stream itself (MarkLastBlock) may feed blocks of
  // any length; others have their last block told by its length (see DspTimePitch.h).
  void SetMarksEnd(bool Value) { FMarksEnd = Value; }
  bool MarksEnd() const { return FMarksEnd; }
  // The block begun is the stream's last; cleared by the next BeginBlock.
  void MarkLastBlock() { FLastBlock = true; }
  bool LastBlock() const { return FLastBlock; }
  // Forgets every stream (the stream's format changed).
  void Reset();

  // The state for the next call. key names the effect with every setting that shapes its state
  // (kind, parameters, rate, channels). Returns the state the same call of the previous block
  // left when its key matches; otherwise a fresh State, kept for the next block when inside a
  // block. continued tells which.
  // A call of an effect without memory: it still counts in the numbering of the block's calls.
  void Pass(const std::string& key) {
    Slot& slot = NextSlot();
    slot.Key = key;
    slot.State.reset();
  }

  template <class State>
  State& Acquire(const std::string& key, bool& continued) {
    Slot& slot = NextSlot();
    if (slot.Key == key && slot.State) {
      if (auto* s = dynamic_cast<State*>(slot.State.get())) {
        continued = true;
        return *s;
      }
    }
    continued = false;
    slot.Key = key;
    slot.State = std::make_unique<State>();
    return static_cast<State&>(*slot.State);
  }

 private:
  struct Slot {
    std::string Key;
    std::unique_ptr<DspStreamState> State;
  };
  Slot& NextSlot();

  bool FInBlock = false;
  bool FMarksEnd = false, FLastBlock = false;
  size_t FCall = 0;
  std::vector<Slot> FSlots;
  Slot FScratch;
};
