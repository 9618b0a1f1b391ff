#include "audio/AudioDocument.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "audio/AudioFileError.h"
#include "audio/AudioRegistry.h"
#include "audio/DspKernels.h"
#include "audio/FormatConverter.h"
#include "audio/SafeFileSave.h"
#include "audio/WavFile.h"
#include "platform/sys/CdTrackFiles.h"

namespace fs = std::filesystem;

namespace {
struct Clipboard {
  SampleSequence Samples;
  int Rate = 0;
  bool Filled = false;
};
// Destroyed at exit (the block store outlives it), so its swap space is removed then.
Clipboard& TheClipboard() {
  static Clipboard clipboard;
  return clipboard;
}

constexpr size_t kUndoLimit = 1000;
constexpr int64_t kChunkFrames = kBlockFrames;

void CheckFormat(int rate, int channels) {
  if (rate < 1000 || rate > 768000)
    throw EArgumentException(
        Format("Invalid sample rate %d Hz: the editor handles 1000 to 768000 Hz.", {rate}));
  if (channels < 1 || channels > 32)
    throw EArgumentException(
        Format("Invalid channel count %d: the editor handles 1 to 32 channels.", {channels}));
}

// The same for a file's sound, in words that name the file.
void CheckFileFormat(const std::string& path, int rate, int channels) {
  if (rate < 1000 || rate > 768000 || channels < 1 || channels > 32)
    throw EReadError(
        Format("The file \"%s\" cannot be opened: its sound of %d Hz with %d "
               "channels is outside what the editor handles (1000 to 768000 Hz, "
               "1 to 32 channels).",
               {path, rate, channels}));
}
}  // namespace

// Marks the document busy for the length of a changing call; a changing call made meanwhile (from
// an event handler pumping messages) is refused.
class AudioDocument::Busy {
 public:
  explicit Busy(AudioDocument* doc) : FDoc(doc) {
    if (doc->FBusy)
      throw EAudioBusy(
          "The audio editor is busy with another operation. Try again when it has finished.");
    doc->FBusy = true;
  }
  ~Busy() { FDoc->FBusy = false; }

 private:
  AudioDocument* FDoc;
};

// Progress of one long operation: OnBlockOperation once the operation has run for the progress
// delay, and OnEndOperation after the last of them, on success and failure alike.
class AudioDocument::Operation {
 public:
  explicit Operation(AudioDocument* doc) : FDoc(doc), FStart(std::chrono::steady_clock::now()) {}
  void Report(double fraction) {
    const int percent = int(std::clamp(fraction, 0.0, 1.0) * 100.0);
    if (!FStarted) {
      const auto elapsed = std::chrono::steady_clock::now() - FStart;
      if (elapsed < std::chrono::milliseconds(FDoc->FProgressDelay)) return;
      FStarted = true;
    } else if (percent == FLast) {
      return;
    }
    FLast = percent;
    if (FDoc->OnBlockOperation) FDoc->OnBlockOperation(int16_t(percent));
  }
  void End() {
    if (!FStarted) return;
    FStarted = false;
    if (FDoc->OnEndOperation) FDoc->OnEndOperation();
  }
  void EndQuietly() {
    try {
      End();
    } catch (...) {
    }
  }

 private:
  AudioDocument* FDoc;
  std::chrono::steady_clock::time_point FStart;
  bool FStarted = false;
  int FLast = -1;
};

// Runs `body` as one long operation; OnEndOperation follows even when it fails.
template <class Op, class F>
static auto RunOperation(Op& op, F&& body) {
  try {
    if constexpr (std::is_void_v<decltype(body())>) {
      body();
      op.End();
    } else {
      auto result = body();
      op.End();
      return result;
    }
  } catch (...) {
    op.EndQuietly();
    throw;
  }
}

AudioDocument::AudioDocument() : FSamples(2) {}
AudioDocument::~AudioDocument() = default;

int64_t AudioDocument::Transform::Apply(int64_t p) const {
  if (Rescale) return FormatConverter::ScaleFrames(p, From, To);
  if (p <= At) return p;
  if (p >= At + Removed) return p - Removed + Inserted;
  return At + (p - At) * Inserted / Removed;
}

AudioDocument::Transform AudioDocument::Transform::Inverse() const {
  Transform t = *this;
  if (Rescale)
    std::swap(t.From, t.To);
  else
    std::swap(t.Removed, t.Inserted);
  return t;
}

int64_t AudioDocument::Clamp(int64_t p) const { return std::clamp<int64_t>(p, 0, Length()); }

void AudioDocument::CheckLength(int64_t frames) const {
  if (frames > kMaxDocumentFrames)
    throw EComponentError(
        Format("The document would hold %d sample frames; at most %d are possible.",
               {frames, kMaxDocumentFrames}));
}

AudioDocument::Positions AudioDocument::CapturePositions() const {
  return {FCursor, FSelStart, FSelEnd, FSelActive, FViewStart, FViewEnd, Length()};
}

AudioDocument::State AudioDocument::CaptureState() const {
  State s{FSamples, FRate, FChannels, CapturePositions(), {}};
  s.Markers.reserve(FMarkers.size());
  for (const Marker& m : FMarkers) s.Markers.push_back({m.Id, m.Position, m.Length});
  return s;
}

void AudioDocument::SetPositions(const Positions& p) {
  FCursor = Clamp(p.Cursor);
  FSelStart = Clamp(p.SelStart);
  FSelEnd = std::max(FSelStart, Clamp(p.SelEnd));
  FSelActive = p.SelActive;
  FViewStart = Clamp(p.ViewStart);
  FViewEnd = std::max(FViewStart, Clamp(p.ViewEnd));
}

// Events come last in every call; their handlers may call the document again (the marker handler
// of the main window puts CurrentIndex), so the call stops counting as busy first.
void AudioDocument::FirePosition(const Positions& before) {
  FBusy = false;
  if (CapturePositions() != before && OnChangePosition) OnChangePosition();
}

void AudioDocument::FireMarkers(const std::vector<int>& moved) {
  FBusy = false;
  if (!OnChangeMarker) return;
  for (int num : moved) OnChangeMarker(num);
}

std::vector<int> AudioDocument::MoveMarkers(const std::vector<Transform>& transforms, bool inverse,
                                            const std::vector<MarkerPlace>* known) {
  std::vector<int> moved;
  for (size_t i = 0; i < FMarkers.size(); ++i) {
    Marker& m = FMarkers[i];
    int64_t start = m.Position, end = m.Position + m.Length;
    const MarkerPlace* place = nullptr;
    if (known)
      for (const MarkerPlace& k : *known)
        if (k.Id == m.Id) place = &k;
    if (place) {
      start = place->Position;
      end = place->Position + place->Length;
    } else if (inverse) {
      for (auto t = transforms.rbegin(); t != transforms.rend(); ++t) {
        const Transform inv = t->Inverse();
        start = inv.Apply(start);
        end = inv.Apply(end);
      }
    } else {
      for (const Transform& t : transforms) {
        start = t.Apply(start);
        end = t.Apply(end);
      }
    }
    if (start != m.Position || end - start != m.Length) {
      m.Position = start;
      m.Length = end - start;
      moved.push_back(int(i) + 1);
    }
  }
  return moved;
}

void AudioDocument::Commit(SampleSequence samples, int rate, int channels, const Transform& t,
                           const Positions* newPositions) {
  CheckLength(samples.Length());
  const Positions before = CapturePositions();
  State prior = CaptureState();
  const bool wholeView = FViewStart == 0 && FViewEnd == Length();
  Positions next = newPositions ? *newPositions : before;
  if (!newPositions) {
    next.Cursor = t.Apply(before.Cursor);
    next.SelStart = t.Apply(before.SelStart);
    next.SelEnd = t.Apply(before.SelEnd);
  }
  next.ViewStart = t.Apply(before.ViewStart);
  next.ViewEnd = t.Apply(before.ViewEnd);

  FSamples = std::move(samples);
  FRate = rate;
  FChannels = channels;
  if (wholeView) next.ViewStart = 0, next.ViewEnd = Length();
  SetPositions(next);
  std::vector<int> moved = MoveMarkers({t}, false, nullptr);

  if (FGroupDepth > 0 && FGroupStarted && !FUndo.empty()) {
    FUndo.back().After = CaptureState();
    FUndo.back().Transforms.push_back(t);
  } else {
    FUndo.push_back({std::move(prior), CaptureState(), {t}});
    if (FUndo.size() > kUndoLimit) FUndo.erase(FUndo.begin());
    FGroupStarted = FGroupDepth > 0;
  }
  FRedo.clear();
  FirePosition(before);
  FireMarkers(moved);
}

void AudioDocument::Restore(const State& state, const std::vector<Transform>& transforms,
                            bool inverse) {
  const Positions before = CapturePositions();
  FSamples = state.Samples;
  FRate = state.Rate;
  FChannels = state.Channels;
  SetPositions(state.Pos);
  std::vector<int> moved = MoveMarkers(transforms, inverse, &state.Markers);
  FirePosition(before);
  FireMarkers(moved);
}

// ---- document -----------------------------------------------------------------------------

void AudioDocument::NewDocument(int sampleRate, int channels) {
  Busy busy(this);
  CheckFormat(sampleRate, channels);
  const Positions before = CapturePositions();
  FSamples = SampleSequence(channels);
  FRate = sampleRate;
  FChannels = channels;
  FMarkers.clear();
  FCurrentMarker = 0;
  FUndo.clear();
  FRedo.clear();
  FGroupDepth = 0;
  FGroupStarted = false;
  FTags = AudioTags();
  SetPositions({});
  FirePosition(before);
}

struct AudioDocument::Decoded {
  SampleSequence Samples;
  int Rate = 0;
  AudioTags Tags;
};

// Collects a decoder's output into blocks, with progress and the length limit.
class DocumentSink : public AudioSink {
 public:
  DocumentSink(std::string path, std::shared_ptr<const std::string> folder,
               std::function<void(double)> progress)
      : FPath(std::move(path)), FFolder(std::move(folder)), FProgress(std::move(progress)) {}
  void Begin(int sampleRate, int channels, int64_t expectedFrames) override {
    CheckFileFormat(FPath, sampleRate, channels);
    if (expectedFrames > kMaxDocumentFrames) TooLong(expectedFrames);
    FRate = sampleRate;
    FExpected = expectedFrames;
    FBuilder = std::make_unique<SequenceBuilder>(channels, FFolder);
  }
  void Append(const float* values, int64_t frames) override {
    if (!FBuilder) throw EInvalidOperation("Samples arrived before their format");
    if (FBuilder->Frames() + frames > kMaxDocumentFrames) TooLong(FBuilder->Frames() + frames);
    FBuilder->Append(values, frames);
    if (FProgress && FExpected > 0)
      FProgress(std::min(1.0, double(FBuilder->Frames()) / double(FExpected)));
  }
  bool Started() const { return bool(FBuilder); }
  SampleSequence Finish() { return FBuilder->Finish(); }
  const SampleSequence* Completed() const { return FBuilder ? &FBuilder->Completed() : nullptr; }
  int Rate() const { return FRate; }
  int64_t Expected() const { return FExpected; }

 private:
  [[noreturn]] static void TooLong(int64_t frames) {
    throw EReadError(
        Format("The file is too long: it holds %d sample frames, more than the %d "
               "an editor can hold.",
               {frames, kMaxDocumentFrames}));
  }
  std::string FPath;
  std::shared_ptr<const std::string> FFolder;
  std::function<void(double)> FProgress;
  std::unique_ptr<SequenceBuilder> FBuilder;
  int FRate = 0;
  int64_t FExpected = -1;
};

// Reads the frames of a WAV file into blocks on several threads, one block at a time each, so
// blocks complete about in file order (the first screen is ready first). The calling thread
// reports progress; an exception from it (a cancel) stops the workers.
static SampleSequence LoadWav(const std::string& path, const WavReader& reader,
                              const std::shared_ptr<const std::string>& folder,
                              const std::function<void(double)>& progress, SampleSequence& prefix) {
  const WavInfo info = reader.Info();
  const int bytesPerFrame = reader.BytesPerFrame();
  const int64_t blockCount = (info.Frames + kBlockFrames - 1) / kBlockFrames;
  std::vector<BlockRef> blocks{size_t(blockCount), BlockRef{}};
  std::vector<char> ready(size_t(blockCount), 0);
  size_t contiguous = 0;  // blocks [0, contiguous) are in `prefix`
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFOpenError(Format("Cannot open file \"%s\".", {path}));
  std::atomic<int64_t> next{0};
  std::atomic<bool> stop{false};
  std::mutex lock;
  std::condition_variable changed;
  int64_t done = 0;
  std::exception_ptr error;
  auto work = [&] {
    std::vector<unsigned char> raw;
    while (!stop) {
      const int64_t i = next++;
      if (i >= blockCount) break;
      try {
        const int64_t first = i * kBlockFrames;
        const int64_t frames = std::min<int64_t>(kBlockFrames, info.Frames - first);
        raw.resize(size_t(frames) * size_t(bytesPerFrame));
        size_t got = 0;
        while (got < raw.size()) {
          const ssize_t n =
              ::pread(fd, raw.data() + got, raw.size() - got,
                      off_t(reader.DataOffset() + first * bytesPerFrame + int64_t(got)));
          if (n < 0 && errno == EINTR) continue;
          if (n < 0)
            throw EReadError(Format("Cannot read file \"%s\". %s", {path, std::strerror(errno)}));
          if (n == 0) break;  // the file shrank: keep what is there
          got += size_t(n);
        }
        const int n = int(got / size_t(bytesPerFrame));
        if (n > 0)
          blocks[size_t(i)] = BlockStore::Instance().Fill(
              n, info.Channels, folder, [&](float* values, int firstFrame, int frames) {
                WavReader::Convert(raw.data() + size_t(firstFrame) * size_t(bytesPerFrame), frames,
                                   info, bytesPerFrame, values);
              });
      } catch (...) {
        std::lock_guard g(lock);
        if (!error) error = std::current_exception();
        stop = true;
      }
      bool wake;
      {
        std::lock_guard g(lock);
        ready[size_t(i)] = 1;
        ++done;
        // Every wake of the reporting thread may push a worker off its processor: after the
        // first screen's blocks, it is woken once per 16 blocks, and at the end or on failure.
        wake = done <= 8 || done % 16 == 0 || done == blockCount || error;
      }
      if (wake) changed.notify_one();
    }
  };
  auto extend = [&] {  // the lock is held
    for (; contiguous < ready.size() && ready[contiguous] && blocks[contiguous]; ++contiguous)
      prefix.AppendPiece({blocks[contiguous], 0, blocks[contiguous]->Frames()});
  };
  const int threads = int(std::clamp<int64_t>(std::thread::hardware_concurrency(), 1, 8));
  std::vector<std::thread> pool;
  auto finish = [&] {
    stop = true;
    for (std::thread& t : pool) t.join();
    ::close(fd);
  };
  try {
    for (int t = 1; t < std::min<int64_t>(threads, blockCount); ++t) pool.emplace_back(work);
    if (blockCount > 0 && pool.empty()) work();
    // The workers may finish before this thread first waits: report both ends regardless.
    if (progress) progress(0.0);
    std::unique_lock g(lock);
    while (done < blockCount && !error) {
      changed.wait(g);
      const int64_t now = done;
      extend();
      g.unlock();
      if (progress) progress(double(now) / double(blockCount));
      g.lock();
    }
    const bool complete = !error;
    extend();
    g.unlock();
    if (complete && progress) progress(1.0);
  } catch (...) {
    finish();
    throw;
  }
  finish();
  if (error) std::rethrow_exception(error);
  if (progress) progress(1.0);
  SampleSequence out(info.Channels);
  for (const BlockRef& b : blocks) {
    if (!b) break;
    out.AppendPiece({b, 0, b->Frames()});
    if (b->Frames() < kBlockFrames) break;
  }
  return out;
}

AudioDocument::Decoded AudioDocument::Decode(const std::string& path, Operation& op, bool preview) {
  std::error_code ec;
  // A CD track is no file on disk; its decoder tells what is missing (drive, disc, track).
  char drive;
  int track;
  if (!fs::is_regular_file(path, ec) && !ParseCdTrackPath(path, drive, track))
    throw EFOpenError(Format("The file \"%s\" was not found.", {path}));
  struct LoadingScope {
    TLoadingView& view;
    ~LoadingScope() { view = TLoadingView(); }
  } scope{FLoading};
  DocumentSink* sinkPtr = nullptr;
  DocumentSink sink(path, FSwapFolder, [&](double f) {
    if (preview) FLoading = {sinkPtr->Completed(), sinkPtr->Rate(), sinkPtr->Expected()};
    op.Report(f);
  });
  sinkPtr = &sink;
  Decoded result;
  std::unique_ptr<WavReader> wav;
  if (WavReader::LooksLikeWav(path)) {
    // WAV files of compressed codecs (ADPCM, mu-law...) are left to the other decoders.
    try {
      wav = std::make_unique<WavReader>(path);
    } catch (const EWavTooLong&) {
      throw;
    } catch (const EReadError&) {
    }
    // Sounds of more than two channels are mixed down to stereo, as the decoders do for every
    // other file: the devices play one or two.
    if (wav) CheckFileFormat(path, wav->Info().SampleRate, wav->Info().Channels);
    if (wav && wav->Info().Channels > 2) wav.reset();
  }
  if (wav) {
    WavReader& reader = *wav;
    SampleSequence prefix(reader.Info().Channels);
    if (preview) FLoading = {&prefix, reader.Info().SampleRate, reader.Info().Frames};
    result.Samples = LoadWav(
        path, reader, FSwapFolder, [&op](double f) { op.Report(f); }, prefix);
    result.Rate = reader.Info().SampleRate;
    return result;
  } else {
    bool taken = false;
    for (const FileDecoder& decoder : RegisteredDecoders())
      if ((taken = decoder(path, sink, result.Tags))) break;
    if (!taken || !sink.Started())
      throw EReadError(
          Format("The file \"%s\" is damaged or the format is not supported.", {path}));
  }
  result.Samples = sink.Finish();
  result.Rate = sink.Rate();
  return result;
}

void AudioDocument::OpenFile(const std::string& path) {
  Busy busy(this);
  const Positions before = CapturePositions();
  Operation op(this);
  auto reset = [&](SampleSequence samples, int rate) {
    FSamples = std::move(samples);
    FRate = rate;
    FChannels = FSamples.Channels();
    FMarkers.clear();
    FCurrentMarker = 0;
    FUndo.clear();
    FRedo.clear();
    FGroupDepth = 0;
    FGroupStarted = false;
    SetPositions({0, 0, 0, false, 0, Length(), Length()});
  };
  try {
    Decoded d = RunOperation(op, [&] { return Decode(path, op, true); });
    reset(std::move(d.Samples), d.Rate);
    FTags = d.Tags;
  } catch (...) {
    reset(SampleSequence(FChannels), FRate);
    FTags = AudioTags();
    FirePosition(before);
    throw;
  }
  FirePosition(before);
}

// Frames of a range of a document in the output rate and channels, reporting progress.
class DocumentSource : public AudioSource {
 public:
  DocumentSource(SampleSequence samples, int inRate, int outRate, int outChannels,
                 std::function<void(double)> progress)
      : FSamples(std::move(samples)),
        FInRate(inRate),
        FOutRate(outRate),
        FOutChannels(outChannels),
        FConverter(inRate, FSamples.Channels(), outRate, outChannels),
        FProgress(std::move(progress)) {}
  int SampleRate() const override { return FOutRate; }
  int Channels() const override { return FOutChannels; }
  int64_t Frames() const override {
    return FormatConverter::ScaleFrames(FSamples.Length(), FInRate, FOutRate);
  }
  int64_t Read(float* values, int64_t maxFrames) override {
    while (int64_t(FReady.size()) / FOutChannels - FTaken < maxFrames && !FDone) {
      if (FTaken > 0) {
        FReady.erase(FReady.begin(), FReady.begin() + FTaken * FOutChannels);
        FTaken = 0;
      }
      std::vector<float> chunk(size_t(kChunkFrames) * size_t(FSamples.Channels()));
      const int64_t n = FSamples.Read(FRead, kChunkFrames, chunk.data());
      FRead += n;
      if (n > 0) FConverter.Process(chunk.data(), n, FReady);
      if (n == 0 || FRead >= FSamples.Length()) {
        FConverter.Finish(FReady);
        FDone = true;
      }
      if (FProgress && FSamples.Length() > 0) FProgress(double(FRead) / double(FSamples.Length()));
    }
    const int64_t n = std::min<int64_t>(maxFrames, int64_t(FReady.size()) / FOutChannels - FTaken);
    std::copy_n(FReady.begin() + FTaken * FOutChannels, n * FOutChannels, values);
    FTaken += n;
    return n;
  }

 private:
  SampleSequence FSamples;
  int FInRate, FOutRate, FOutChannels;
  FormatConverter FConverter;
  std::function<void(double)> FProgress;
  std::vector<float> FReady;
  int64_t FTaken = 0, FRead = 0;
  bool FDone = false;
};

void AudioDocument::SaveFile(const std::string& path, bool selectionOnly, int format) {
  Busy busy(this);
  SampleSequence part = selectionOnly ? FSamples.Slice(SelectionStart(), SelectionEnd()) : FSamples;
  int rate = FRate, channels = FChannels;
  const FileEncoder* encoder = nullptr;
  if (format == afWav) {
    rate = FFormat.WavSampleRate;
    channels = FFormat.WavChannels;
  } else if (format == afMp3 || format == afOgg || format == afWma) {
    encoder = RegisteredEncoder(format);
    if (!encoder)
      throw EComponentError(Format("Saving in this format (%d) is not available.", {format}));
    if (const EncoderFormatQuery* query = RegisteredEncoderFormat(format))
      (*query)(FFormat, rate, channels);
  } else {
    throw EArgumentException(Format("Unknown file format %d", {format}));
  }
  Operation op(this);
  RunOperation(op, [&] {
    DocumentSource source(part, FRate, rate, channels, [&op](double f) { op.Report(f); });
    if (encoder) {
      (*encoder)(path, FFormat, FTags, source);
      return;
    }
    // Known before anything is written: a sound too big for a WAV file.
    if (uint64_t(source.Frames()) * uint64_t(channels) * uint64_t(FFormat.WavBits / 8) >
        kMaxWavDataBytes)
      throw EWriteError(Format("\"%s\" would exceed the 4 GB a WAV file can hold.", {path}));
    // Written aside and renamed over the target, so a failed save leaves the old file.
    std::optional<TSafeFileSave> save;
    try {
      save.emplace(path);
    } catch (const EAudioFileError& e) {
      throw EFCreateError(e.Message());
    }
    WavWriter writer(save->TempPath(), rate, channels, FFormat.WavBits, path);
    std::vector<float> chunk(size_t(kChunkFrames) * size_t(channels));
    while (int64_t n = source.Read(chunk.data(), kChunkFrames)) writer.Write(chunk.data(), n);
    writer.Close();
    try {
      save->Commit();
    } catch (const EAudioFileError& e) {
      throw EWriteError(e.Message());
    }
  });
}

// ---- editing ------------------------------------------------------------------------------

SampleBuffer AudioDocument::CopyPcm(int64_t count) const {
  const int64_t start = SelectionStart();
  const int64_t n = std::clamp<int64_t>(count, 0, Length() - start);
  SampleBuffer out(FChannels, FRate, n);
  FSamples.Read(start, n, out.Data());
  return out;
}

SampleSequence AudioDocument::FromBuffer(const SampleBuffer& samples) const {
  SampleBuffer in = samples;
  if (in.Channels() <= 0) in.SetFormat(FChannels, in.SampleRate());
  if (in.SampleRate() <= 0) in.SetFormat(in.Channels(), FRate);
  in.ResizeFrames(in.Frames());  // drops a trailing partial frame
  DspMakeFinite(in.Data(), size_t(in.ValueCount()));
  const SampleBuffer converted = ConvertBuffer(in, FRate, FChannels);
  SequenceBuilder builder(FChannels, FSwapFolder);
  builder.Append(converted.Data(), converted.Frames());
  return builder.Finish();
}

void AudioDocument::InsertPcm(const SampleBuffer& samples) {
  Busy busy(this);
  SampleSequence insert = FromBuffer(samples);
  if (insert.Empty()) return;
  const int64_t at = FCursor;
  CheckLength(Length() + insert.Length());
  SampleSequence next = FSamples;
  next.Insert(at, insert);
  const Transform t{false, at, 0, insert.Length()};
  Positions p = CapturePositions();
  p.Cursor = at;
  p.SelStart = t.Apply(p.SelStart);
  p.SelEnd = t.Apply(p.SelEnd);
  Commit(std::move(next), FRate, FChannels, t, &p);
}

void AudioDocument::ReplaceRange(int64_t start, int64_t end, const SampleBuffer& samples) {
  Busy busy(this);
  Replace(start, end, FromBuffer(samples));
}

void AudioDocument::ReplaceRange(int64_t start, int64_t end, const SampleSequence& samples) {
  Busy busy(this);
  if (samples.Channels() != FChannels && !samples.Empty())
    throw EArgumentException("The frames to put in have another channel count than the document.");
  Replace(start, end, samples);
}

void AudioDocument::Replace(int64_t start, int64_t end, const SampleSequence& insert) {
  start = Clamp(start);
  end = std::max(start, Clamp(end));
  CheckLength(Length() - (end - start) + insert.Length());
  SampleSequence next = FSamples.Slice(0, start);
  next.Append(insert);
  next.Append(FSamples.Slice(end, Length()));
  Commit(std::move(next), FRate, FChannels, {false, start, end - start, insert.Length()}, nullptr);
}

void AudioDocument::Copy() {
  Busy busy(this);
  Clipboard& clip = TheClipboard();
  clip.Samples = FSamples.Slice(SelectionStart(), SelectionEnd());
  clip.Rate = FRate;
  clip.Filled = true;
}

void AudioDocument::DeleteSelection() {
  Busy busy(this);
  const int64_t s = SelectionStart(), e = SelectionEnd();
  if (s >= e) return;
  SampleSequence next = FSamples;
  next.Erase(s, e);
  Positions p = CapturePositions();
  p.Cursor = p.SelStart = p.SelEnd = s;
  p.SelActive = false;
  Commit(std::move(next), FRate, FChannels, {false, s, e - s, 0}, &p);
}

void AudioDocument::Cut() {
  Copy();
  DeleteSelection();
}

SampleSequence AudioDocument::ToDocumentFormat(const SampleSequence& seq, int rate,
                                               Operation& op) const {
  if (seq.Empty()) return SampleSequence(FChannels);
  if (rate == FRate && seq.Channels() == FChannels) return seq;
  return ConvertSequence(seq, rate, FRate, FChannels, FSwapFolder,
                         [&op](double f) { op.Report(f); });
}

void AudioDocument::Paste() {
  Busy busy(this);
  const Clipboard clip = TheClipboard();  // a copy: another editor may copy meanwhile
  if (!clip.Filled || clip.Samples.Empty()) return;
  Operation op(this);
  SampleSequence insert =
      RunOperation(op, [&] { return ToDocumentFormat(clip.Samples, clip.Rate, op); });
  const bool over = FSelActive && FSelEnd > FSelStart;
  const int64_t at = over ? FSelStart : FCursor;
  const int64_t removed = over ? FSelEnd - FSelStart : 0;
  CheckLength(Length() - removed + insert.Length());
  SampleSequence next = FSamples.Slice(0, at);
  next.Append(insert);
  next.Append(FSamples.Slice(at + removed, Length()));
  Positions p = CapturePositions();
  p.Cursor = p.SelStart = at;
  p.SelEnd = at + insert.Length();
  p.SelActive = true;
  Commit(std::move(next), FRate, FChannels, {false, at, removed, insert.Length()}, &p);
}

void AudioDocument::InsertFile(const std::string& path) {
  Busy busy(this);
  Operation op(this);
  SampleSequence insert = RunOperation(op, [&] {
    Decoded d = Decode(path, op, false);
    return ToDocumentFormat(d.Samples, d.Rate, op);
  });
  if (insert.Empty()) return;
  const int64_t at = FCursor;
  CheckLength(Length() + insert.Length());
  SampleSequence next = FSamples;
  next.Insert(at, insert);
  const Transform t{false, at, 0, insert.Length()};
  Positions p = CapturePositions();
  p.Cursor = at;
  p.SelStart = t.Apply(p.SelStart);
  p.SelEnd = t.Apply(p.SelEnd);
  Commit(std::move(next), FRate, FChannels, t, &p);
}

// The selection times its level plus `other` times its level, from the selection start; a longer
// `other` runs past the selection end and lengthens the document.
void AudioDocument::Mix(const SampleSequence& other, double selectPartPercent,
                        double otherPercent) {
  const int64_t s = SelectionStart(), e = SelectionEnd();
  const int64_t selLength = e - s, otherLength = other.Length();
  const int64_t mixLength = std::max(selLength, otherLength);
  if (mixLength == 0) return;
  CheckLength(Length() - selLength + mixLength);
  const float a = float(selectPartPercent / 100.0), b = float(otherPercent / 100.0);
  SequenceBuilder builder(FChannels, FSwapFolder);
  std::vector<float> mine(size_t(kChunkFrames) * size_t(FChannels));
  std::vector<float> theirs(mine.size());
  for (int64_t k = 0; k < mixLength; k += kChunkFrames) {
    const int64_t n = std::min(kChunkFrames, mixLength - k);
    const size_t values = size_t(n) * size_t(FChannels);
    std::fill_n(mine.begin(), values, 0.0f);
    std::fill_n(theirs.begin(), values, 0.0f);
    if (k < selLength) FSamples.Read(s + k, std::min(n, selLength - k), mine.data());
    if (k < otherLength) other.Read(k, n, theirs.data());
    for (size_t i = 0; i < values; ++i) mine[i] = mine[i] * a + theirs[i] * b;
    builder.Append(mine.data(), n);
  }
  SampleSequence next = FSamples.Slice(0, s);
  next.Append(builder.Finish());
  next.Append(FSamples.Slice(e, Length()));
  Positions p = CapturePositions();
  p.Cursor = p.SelStart = s;
  p.SelEnd = s + mixLength;
  p.SelActive = true;
  Commit(std::move(next), FRate, FChannels, {false, s, selLength, mixLength}, &p);
}

void AudioDocument::PasteMix(double selectPartPercent, double clipPercent) {
  Busy busy(this);
  const Clipboard clip = TheClipboard();  // a copy: another editor may copy meanwhile
  if (!clip.Filled) return;
  Operation op(this);
  SampleSequence other =
      RunOperation(op, [&] { return ToDocumentFormat(clip.Samples, clip.Rate, op); });
  Mix(other, selectPartPercent, clipPercent);
}

void AudioDocument::MixFile(double selectPartPercent, const std::string& path, double filePercent) {
  Busy busy(this);
  Operation op(this);
  SampleSequence other = RunOperation(op, [&] {
    Decoded d = Decode(path, op, false);
    return ToDocumentFormat(d.Samples, d.Rate, op);
  });
  Mix(other, selectPartPercent, filePercent);
}

void AudioDocument::ConvertFormat(int sampleRate, int channels) {
  Busy busy(this);
  CheckFormat(sampleRate, channels);
  if (sampleRate == FRate && channels == FChannels) return;
  Operation op(this);
  SampleSequence next = RunOperation(op, [&] {
    return ConvertSequence(FSamples, FRate, sampleRate, channels, FSwapFolder,
                           [&op](double f) { op.Report(f); });
  });
  if (next.Channels() == 0) next = SampleSequence(channels);
  Transform t;
  t.Rescale = true;
  t.From = FRate;
  t.To = sampleRate;
  Commit(std::move(next), sampleRate, channels, t, nullptr);
}

void AudioDocument::Undo() {
  Busy busy(this);
  FGroupDepth = 0;
  FGroupStarted = false;
  if (FUndo.empty()) return;
  Step step = std::move(FUndo.back());
  FUndo.pop_back();
  Restore(step.Before, step.Transforms, true);
  FRedo.push_back(std::move(step));
}

void AudioDocument::Redo() {
  Busy busy(this);
  FGroupDepth = 0;
  FGroupStarted = false;
  if (FRedo.empty()) return;
  Step step = std::move(FRedo.back());
  FRedo.pop_back();
  Restore(step.After, step.Transforms, false);
  FUndo.push_back(std::move(step));
}

bool AudioDocument::CanUndo() const { return !FUndo.empty(); }
bool AudioDocument::CanRedo() const { return !FRedo.empty(); }

void AudioDocument::BeginGroup() {
  Busy busy(this);
  if (FGroupDepth++ == 0) FGroupStarted = false;
}

void AudioDocument::EndGroup() {
  Busy busy(this);
  if (FGroupDepth > 0 && --FGroupDepth == 0) FGroupStarted = false;
}

void AudioDocument::SetTempDirectory(const std::string& folder) {
  Busy busy(this);
  FTempDirectory = folder;
  FSwapFolder = folder.empty() ? nullptr : std::make_shared<const std::string>(folder);
}

// ---- positions ----------------------------------------------------------------------------

void AudioDocument::SetSelectionStart(int64_t value) {
  Busy busy(this);
  const Positions before = CapturePositions();
  value = Clamp(value);
  FSelStart = value;
  if (FSelEnd < value) FSelEnd = value;
  FCursor = value;
  FirePosition(before);
}

void AudioDocument::SetSelectionEnd(int64_t value) {
  Busy busy(this);
  const Positions before = CapturePositions();
  value = Clamp(value);
  FSelEnd = value;
  if (FSelStart > value) FSelStart = value;
  FirePosition(before);
}

void AudioDocument::SetSelectionActive(bool value) {
  Busy busy(this);
  const Positions before = CapturePositions();
  if (value && !FSelActive) FSelStart = FSelEnd = FCursor;
  FSelActive = value;
  FirePosition(before);
}

void AudioDocument::SetCursor(int64_t value) {
  Busy busy(this);
  const Positions before = CapturePositions();
  FCursor = Clamp(value);
  FirePosition(before);
}

void AudioDocument::SetViewStart(int64_t value) {
  Busy busy(this);
  const Positions before = CapturePositions();
  FViewStart = Clamp(value);
  if (FViewEnd < FViewStart) FViewEnd = FViewStart;
  FirePosition(before);
}

void AudioDocument::SetViewEnd(int64_t value) {
  Busy busy(this);
  const Positions before = CapturePositions();
  FViewEnd = Clamp(value);
  if (FViewStart > FViewEnd) FViewStart = FViewEnd;
  FirePosition(before);
}

void AudioDocument::Select(int64_t start, int64_t end) {
  Busy busy(this);
  const Positions before = CapturePositions();
  if (end < start) std::swap(start, end);
  FSelActive = true;
  FSelStart = FCursor = Clamp(start);
  FSelEnd = Clamp(end);
  FirePosition(before);
}

int64_t AudioDocument::MsToSamples(int64_t ms) const {
  const int64_t v = ms * FRate;
  return v >= 0 ? (v + 500) / 1000 : -((-v + 500) / 1000);
}

int64_t AudioDocument::SamplesToMs(int64_t samples) const {
  const int64_t v = samples * 1000;
  return v >= 0 ? (v + FRate / 2) / FRate : -((-v + FRate / 2) / FRate);
}

void AudioDocument::ZoomToRange(int64_t viewStart, int64_t viewEnd) {
  Busy busy(this);
  const Positions before = CapturePositions();
  if (viewEnd < viewStart) std::swap(viewStart, viewEnd);
  FViewStart = Clamp(viewStart);
  FViewEnd = Clamp(viewEnd);
  FirePosition(before);
}

void AudioDocument::ZoomToSelection() {
  if (SelectionEnd() > SelectionStart()) ZoomToRange(SelectionStart(), SelectionEnd());
}

void AudioDocument::ZoomOut() {
  const int64_t width = std::max<int64_t>(FViewEnd - FViewStart, 1);
  int64_t start = FViewStart - width / 2, end = FViewEnd + (width + 1) / 2;
  if (start < 0) end -= start, start = 0;
  if (end > Length()) start -= end - Length(), end = Length();
  ZoomToRange(std::max<int64_t>(start, 0), end);
}

void AudioDocument::ZoomFull() { ZoomToRange(0, Length()); }

// ---- markers ------------------------------------------------------------------------------

void AudioDocument::AddMarker(int64_t position, int64_t length, const std::string& name,
                              const std::string& kind) {
  Busy busy(this);
  FMarkers.push_back({FNextMarkerId++, position, std::max<int64_t>(length, 0), name, kind});
}

void AudioDocument::DeleteCurrentMarker() {
  Busy busy(this);
  if (FCurrentMarker < 1 || FCurrentMarker > MarkerCount()) return;
  FMarkers.erase(FMarkers.begin() + (FCurrentMarker - 1));
  if (FCurrentMarker > MarkerCount()) FCurrentMarker = MarkerCount();
}

void AudioDocument::SetCurrentMarkerIndex(int index) {
  Busy busy(this);
  FCurrentMarker = index;
}

int64_t AudioDocument::MarkerPosition() const {
  if (FCurrentMarker < 1 || FCurrentMarker > MarkerCount()) return -1;
  return FMarkers[size_t(FCurrentMarker - 1)].Position;
}

int64_t AudioDocument::MarkerLength() const {
  if (FCurrentMarker < 1 || FCurrentMarker > MarkerCount()) return 0;
  return FMarkers[size_t(FCurrentMarker - 1)].Length;
}

std::string AudioDocument::MarkerName() const {
  if (FCurrentMarker < 1 || FCurrentMarker > MarkerCount()) return {};
  return FMarkers[size_t(FCurrentMarker - 1)].Name;
}

std::string AudioDocument::MarkerKind() const {
  if (FCurrentMarker < 1 || FCurrentMarker > MarkerCount()) return {};
  return FMarkers[size_t(FCurrentMarker - 1)].Kind;
}

void AudioDocument::MoveMarker(int index, int64_t position, int64_t length) {
  Busy busy(this);
  if (index < 1 || index > MarkerCount()) return;
  Marker& m = FMarkers[size_t(index - 1)];
  const int64_t start = Clamp(position);
  const int64_t end = std::max(start, Clamp(position + std::max<int64_t>(length, 0)));
  if (start == m.Position && end - start == m.Length) return;
  m.Position = start;
  m.Length = end - start;
  FireMarkers({index});
}

int64_t AudioDocument::MarkerPositionAt(int index) const {
  return index < 1 || index > MarkerCount() ? -1 : FMarkers[size_t(index - 1)].Position;
}

int64_t AudioDocument::MarkerLengthAt(int index) const {
  return index < 1 || index > MarkerCount() ? 0 : FMarkers[size_t(index - 1)].Length;
}

std::string AudioDocument::MarkerNameAt(int index) const {
  return index < 1 || index > MarkerCount() ? std::string() : FMarkers[size_t(index - 1)].Name;
}

std::string AudioDocument::MarkerKindAt(int index) const {
  return index < 1 || index > MarkerCount() ? std::string() : FMarkers[size_t(index - 1)].Kind;
}

// ---- file information and output format ---------------------------------------------------

void AudioDocument::SetTags(const AudioTags& tags) {
  Busy busy(this);
  FTags = tags;
}

void AudioDocument::SetWavFormat(int sampleRate, int channels, int bits) {
  Busy busy(this);
  CheckFormat(sampleRate, channels);
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
    throw EArgumentException(Format("WAV files of %d bits are not supported", {bits}));
  FFormat.WavSampleRate = sampleRate;
  FFormat.WavChannels = channels;
  FFormat.WavBits = bits;
}

void AudioDocument::SetMp3CbrFormat(int sampleRate, int kbps, int channels) {
  Busy busy(this);
  FFormat.Mp3Mode = TMp3Mode::Cbr;
  FFormat.Mp3SampleRate = sampleRate;
  FFormat.Mp3Kbps = kbps;
  FFormat.Mp3Channels = channels;
}

void AudioDocument::SetMp3EncoderFormat(const TLameEncoderSettings& settings) {
  Busy busy(this);
  FFormat.Mp3Mode = TMp3Mode::Encoder;
  FFormat.Mp3Encoder = settings;
}

void AudioDocument::SetOggFormat(int sampleRate, int channels, int kbps, int, int,
                                 int16_t quality) {
  Busy busy(this);
  FFormat.OggSampleRate = sampleRate;
  FFormat.OggChannels = channels;
  FFormat.OggKbps = kbps;
  FFormat.OggQuality = quality;
}

void AudioDocument::SetWmaFormat(int profile) {
  Busy busy(this);
  FFormat.WmaProfile = profile;
}

void AudioDocument::RunLongOperation(
    const std::function<void(const std::function<void(double)>&)>& work) {
  Busy busy(this);
  Operation op(this);
  RunOperation(op, [&] { work([&op](double f) { op.Report(f); }); });
}

bool AudioDocument::ClipboardFilled() { return TheClipboard().Filled; }
int64_t AudioDocument::ClipboardLength() { return TheClipboard().Samples.Length(); }
