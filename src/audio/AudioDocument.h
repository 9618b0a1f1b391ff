#pragma once
// AudioDocument: the non-visual core of the waveform editor. It holds one document's samples
// (a SampleSequence of shared blocks), format, cursor, selection, view, markers, undo history,
// tags and output format, and performs every document operation the editor control offers; the
// visual control owns one and forwards to it.
//
// Positions are frame boundaries 0..Length(); the selection is the half-open range
// [SelectionStart, SelectionEnd). Documents are limited to 2^31-1 frames.
//
// Decoders and encoders of other formats plug in through AudioStream.h; WAV is built in.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/AudioStream.h"
#include "audio/OutputFormat.h"
#include "audio/SampleBuffer.h"
#include "audio/SampleSequence.h"
#include "platform/rtl/Events.h"
#include "platform/rtl/SysUtils.h"

// Raised by changing calls made while a long operation of the same document is running (from
// its progress handler).
SONALIX_DECLARE_EXCEPTION(EAudioBusy, Exception);

constexpr int64_t kMaxDocumentFrames = 2147483647;

class AudioDocument {
 public:
  AudioDocument();
  ~AudioDocument();
  AudioDocument(const AudioDocument&) = delete;
  AudioDocument& operator=(const AudioDocument&) = delete;

  // Events, fired synchronously inside the call that causes them.
  Event<void()> OnChangePosition;                 // selection, cursor, view or length changed
  Event<void(int num)> OnChangeMarker;            // 1-based index of a marker an edit moved
  Event<void(int16_t percent)> OnBlockOperation;  // progress of a long operation
  Event<void()> OnEndOperation;  // after the last OnBlockOperation, also on failure

  // Document
  void NewDocument(int sampleRate, int channels);
  void OpenFile(const std::string& path);
  void SaveFile(const std::string& path, bool selectionOnly, int format);
  int SampleRate() const { return FRate; }
  int Channels() const { return FChannels; }
  int64_t Length() const { return FSamples.Length(); }
  const SampleSequence& Samples() const { return FSamples; }

  // Editing
  SampleBuffer CopyPcm(int64_t count) const;
  void InsertPcm(const SampleBuffer& samples);
  // Replaces [start, end) by `samples` as one undoable edit; positions and markers inside the
  // range scale to the new length (effects use this).
  void ReplaceRange(int64_t start, int64_t end, const SampleBuffer& samples);
  // The same with frames already in blocks (of the document's rate and channel count), for
  // results too long to hold in one array.
  void ReplaceRange(int64_t start, int64_t end, const SampleSequence& samples);
  void Copy();
  void Cut();
  void Paste();
  void PasteMix(double selectPartPercent, double clipPercent);
  void MixFile(double selectPartPercent, const std::string& path, double filePercent);
  void InsertFile(const std::string& path);
  void DeleteSelection();
  void ConvertFormat(int sampleRate, int channels);

  void Undo();
  void Redo();
  bool CanUndo() const;
  bool CanRedo() const;
  void BeginGroup();
  void EndGroup();

  const std::string& TempDirectory() const { return FTempDirectory; }
  // Where blocks made for this document go when memory is short (null: the default folder).
  const std::shared_ptr<const std::string>& SwapFolder() const { return FSwapFolder; }
  void SetTempDirectory(const std::string& folder);

  // Position
  int64_t SelectionStart() const { return FSelActive ? FSelStart : Cursor(); }
  int64_t SelectionEnd() const { return FSelActive ? FSelEnd : Cursor(); }
  bool SelectionActive() const { return FSelActive; }
  int64_t Cursor() const { return FCursorHook ? FCursorHook() : FCursor; }
  // While a player plays the document, the cursor reads the play position from it; the stored
  // cursor (where play began) comes back when the hook is removed (an empty function).
  void SetCursorHook(std::function<int64_t()> hook) { FCursorHook = std::move(hook); }
  int64_t ViewStart() const { return FViewStart; }
  int64_t ViewEnd() const { return FViewEnd; }
  void SetSelectionStart(int64_t value);
  void SetSelectionEnd(int64_t value);
  void SetSelectionActive(bool value);
  void SetCursor(int64_t value);
  void SetViewStart(int64_t value);
  void SetViewEnd(int64_t value);
  // A selection made in one go (a mouse drag): active, ordered, cursor at its start.
  void Select(int64_t start, int64_t end);
  int64_t MsToSamples(int64_t ms) const;
  int64_t SamplesToMs(int64_t samples) const;

  void ZoomToRange(int64_t viewStart, int64_t viewEnd);
  void ZoomToSelection();
  void ZoomOut();
  void ZoomFull();

  // Markers: a list in creation order, 1-based.
  int MarkerCount() const { return int(FMarkers.size()); }
  void AddMarker(int64_t position, int64_t length, const std::string& name,
                 const std::string& kind);
  void DeleteCurrentMarker();
  int CurrentMarkerIndex() const { return FCurrentMarker; }
  void SetCurrentMarkerIndex(int index);
  // Of the current marker; -1, 0 and empty when there is none.
  int64_t MarkerPosition() const;
  int64_t MarkerLength() const;
  std::string MarkerName() const;
  std::string MarkerKind() const;
  // Moves marker `index` (1-based) to [position, position + length), kept inside the document;
  // raises OnChangeMarker(index) when it moved. Not an edit: nothing goes to the undo history.
  void MoveMarker(int index, int64_t position, int64_t length);
  // Position and length of marker `index` without changing the current marker (-1, 0 when
  // there is none); its kind and name likewise.
  int64_t MarkerPositionAt(int index) const;
  int64_t MarkerLengthAt(int index) const;
  std::string MarkerNameAt(int index) const;
  std::string MarkerKindAt(int index) const;

  // File information
  const AudioTags& Tags() const { return FTags; }
  void SetTags(const AudioTags& tags);
  static std::string GenreName(int index);  // 0..147, empty otherwise
  static constexpr int kGenreCount = 148;

  // Output format
  const TOutputFormat& FileFormat() const { return FFormat; }
  void SetWavFormat(int sampleRate, int channels, int bits);
  void SetMp3CbrFormat(int sampleRate, int kbps, int channels);
  void SetMp3EncoderFormat(const TLameEncoderSettings& settings);
  void SetOggFormat(int sampleRate, int channels, int kbps, int reserved1, int reserved2,
                    int16_t quality);
  void SetWmaFormat(int profile);

  // While OpenFile loads a file (as its progress handler sees it): the frames loaded so far from
  // the start of the file, their rate and the whole length (-1 when unknown), so the first screen
  // can be drawn before the rest has arrived. Null at other times.
  struct TLoadingView {
    const SampleSequence* Samples = nullptr;
    int SampleRate = 0;
    int64_t Length = -1;
  };
  const TLoadingView* Loading() const { return FLoading.Samples ? &FLoading : nullptr; }

  // Runs `work` as one long operation of this document, as the document's own long operations
  // run: changing calls made meanwhile (from a progress handler pumping messages) raise
  // EAudioBusy, progress (0..1, passed to `work`) goes out as OnBlockOperation once the
  // operation has run for the progress delay, and OnEndOperation follows, also on failure.
  // For effects computed outside the document before they are put back with ReplaceRange.
  void RunLongOperation(const std::function<void(const std::function<void(double)>& report)>& work);

  // Progress events start once an operation has run this long (milliseconds).
  void SetProgressDelay(int ms) { FProgressDelay = ms; }

  // The one clipboard of the process.
  static bool ClipboardFilled();
  static int64_t ClipboardLength();  // in the clipboard's own frames

 private:
  struct Marker {
    uint64_t Id;
    int64_t Position, Length;
    std::string Name, Kind;
  };
  struct MarkerPlace {
    uint64_t Id;
    int64_t Position, Length;
  };
  struct Positions {
    int64_t Cursor = 0, SelStart = 0, SelEnd = 0;
    bool SelActive = false;
    int64_t ViewStart = 0, ViewEnd = 0;
    int64_t Length = 0;
    bool operator==(const Positions&) const = default;
  };
  // How an edit moved positions: [At, At + Removed) became Inserted frames, or everything was
  // rescaled from rate From to rate To.
  struct Transform {
    bool Rescale = false;
    int64_t At = 0, Removed = 0, Inserted = 0;
    int From = 0, To = 0;
    int64_t Apply(int64_t p) const;
    Transform Inverse() const;
  };
  struct State {
    SampleSequence Samples;
    int Rate = 0, Channels = 0;
    Positions Pos;
    std::vector<MarkerPlace> Markers;
  };
  struct Step {
    State Before, After;
    std::vector<Transform> Transforms;
  };
  class Busy;
  class Operation;
  friend class DocumentSink;
  friend class DocumentSource;

  Positions CapturePositions() const;
  State CaptureState() const;
  void SetPositions(const Positions& p);
  void Commit(SampleSequence samples, int rate, int channels, const Transform& t,
              const Positions* newPositions);
  void Restore(const State& state, const std::vector<Transform>& transforms, bool inverse);
  void FirePosition(const Positions& before);
  void FireMarkers(const std::vector<int>& moved);
  int64_t Clamp(int64_t p) const;
  std::vector<int> MoveMarkers(const std::vector<Transform>& transforms, bool inverse,
                               const std::vector<MarkerPlace>* known);
  SampleSequence ToDocumentFormat(const SampleSequence& seq, int rate, Operation& op) const;
  struct Decoded;
  Decoded Decode(const std::string& path, Operation& op, bool preview);
  void Mix(const SampleSequence& other, double selectPartPercent, double otherPercent);
  SampleSequence FromBuffer(const SampleBuffer& samples) const;
  void Replace(int64_t start, int64_t end, const SampleSequence& insert);
  void CheckLength(int64_t frames) const;

  SampleSequence FSamples;
  int FRate = 44100, FChannels = 2;
  int64_t FCursor = 0, FSelStart = 0, FSelEnd = 0;
  bool FSelActive = false;
  int64_t FViewStart = 0, FViewEnd = 0;
  std::vector<Marker> FMarkers;
  uint64_t FNextMarkerId = 1;
  int FCurrentMarker = 0;
  std::vector<Step> FUndo, FRedo;
  int FGroupDepth = 0;
  bool FGroupStarted = false;
  AudioTags FTags;
  TOutputFormat FFormat;
  std::string FTempDirectory;
  std::shared_ptr<const std::string> FSwapFolder;
  bool FBusy = false;
  TLoadingView FLoading;
  int FProgressDelay = 200;
  std::function<int64_t()> FCursorHook;
};
