#pragma once
// The conversion of one file of the batch converter, away from the window: read in blocks of
// one second, every block through the command chain with all its channels, written in the chosen
// format to a work file beside the output, with the source's tags. Each worker thread owns one
// converter (reader, writer, transformer and encoder settings of its own); the window gives the
// finished work file its name.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "appbase/Globals.h"
#include "audio/SampleBuffer.h"

class TAudioFile2;
class TAudioFile2LameEnc;
class TAudioTransform2;
class FormatConverter;

// One command of the chain: its index in BatchCommandNames and its record's values.
struct TBatchStep {
  int Command = 0;
  std::vector<int> Values;
};
using TBatchChain = std::vector<TBatchStep>;

// The WMA profile code for a source's bit rate in bits per second.
int WmaProfileForBitRate(int64_t BitRate);

// What became of one file.
struct TBatchOutcome {
  bool Ok = false;
  // The boxes to show for a failure, before the general one.
  std::vector<std::string> Messages;
  // The finished work file (with tags) and the name it should take, on success.
  std::string WorkFile;
  std::string Output;
};

// Runs the chain block by block on one file's sound. Effects with memory carry it from block to
// block through the transformer's streams; Convert steps keep their rate converters.
class TBatchChainRunner {
 public:
  // NormalizeGains: per step, the gain a Normalize step applies (found by its first pass).
  TBatchChainRunner(const TBatchChain& Chain, size_t Steps, int SampleRate, int Channels,
                    const std::vector<float>& NormalizeGains);
  ~TBatchChainRunner();
  // The next block; Last marks the file's end (an empty block after the last one read), so
  // streams give back what they hold and silence at the end is added.
  SampleBuffer Process(SampleBuffer Block, bool Last);

 private:
  const TBatchChain& FChain;
  size_t FSteps;
  std::vector<float> FGains;
  std::unique_ptr<TAudioTransform2> FTransform;
  std::vector<std::unique_ptr<FormatConverter>> FConverters;
  bool FFirst = true;
};

// The rate and channel count a block has after the chain (the last Convert step decides).
void BatchChainOutputFormat(const TBatchChain& Chain, int& SampleRate, int& Channels);

class TBatchFileConverter {
 public:
  TBatchFileConverter(TBatchChain Chain, const TGlobalVars& Settings);
  ~TBatchFileConverter();
  TBatchFileConverter(const TBatchFileConverter&) = delete;
  TBatchFileConverter& operator=(const TBatchFileConverter&) = delete;

  // Converts Source into a work file in OutputFolder (ending in "/"). Stop is read between
  // blocks: a stop fails the file. Progress gets (frames done, frames in all).
  TBatchOutcome Convert(const std::string& Source, const std::string& OutputFolder,
                        const std::atomic<bool>& Stop,
                        const std::function<void(int64_t, int64_t)>& Progress = {});

 private:
  // Chooses the writer's format from the source and the settings; gives the extension.
  std::string ChooseFormat(const std::string& Source);
  // The gain of each Normalize step, from a pass over the file up to it.
  std::vector<float> NormalizeGains(const std::string& Source, const std::atomic<bool>& Stop);

  TBatchChain FChain;
  TGlobalVars FSettings;
  std::unique_ptr<TAudioFile2> FReader, FWriter;
  std::unique_ptr<TAudioFile2LameEnc> FLameEnc;
};

// Gives a finished work file the name Wanted, or, when that is taken, the first free
// "name(n).ext" in its folder; never replaces a file. Returns the name taken.
std::string PublishBatchOutput(const std::string& WorkFile, const std::string& Wanted);
