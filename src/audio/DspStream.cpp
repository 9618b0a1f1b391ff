#include "audio/DspStream.h"

void DspStreams::BeginBlock() {
  FInBlock = true;
  FLastBlock = false;
  FCall = 0;
}

void DspStreams::EndBlock() { FInBlock = false; }

void DspStreams::Reset() {
  FSlots.clear();
  FCall = 0;
}

DspStreams::Slot& DspStreams::NextSlot() {
  if (!FInBlock) {
    FScratch = Slot();
    return FScratch;
  }
  const size_t i = FCall++;
  if (i >= FSlots.size()) FSlots.resize(i + 1);
  return FSlots[i];
}
