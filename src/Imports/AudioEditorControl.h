#pragma once
// TAudioEditor2: the waveform editor control. It owns one AudioDocument and forwards the
// IAudioEditor2 calls to it, draws the document (a lane per channel from the block summaries, or
// the samples themselves once a frame is wider than a pixel), the time and level scales, the
// selection, cursor, play cursor, bookmarks and regions, and turns the mouse into selections,
// cursor moves, marker moves, zoom and scroll. It handles no keys and never edits samples or
// adds markers on its own: the host window does that through the interface.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Imports/XOQAUDIOEDITOR2Lib_TLB.h"
#include "audio/AudioDocument.h"
#include "audio/DocumentPlayer.h"
#include "audio/EditorEffects.h"
#include "platform/gui/Controls.h"

class QImage;
class TAudioEditor2MarkersPart;
class TAudioEditor2FileInfoPart;
class TAudioEditor2FileFormatPart;

class TAudioEditor2 : public TCustomControl, public IAudioEditor2 {
 public:
  explicit TAudioEditor2(TComponent* AOwner);
  ~TAudioEditor2() override;

  AudioDocument& Document() { return FDoc; }
  DocumentPlayer& Player() { return *FPlayer; }

  // IAudioEditor2
  void OpenFile(const std::string& path, int reserved) override;
  void NewDocument(int sampleRate, int channels) override;
  void SaveFile(const std::string& path, bool selectionOnly, int format) override;
  void Play(int mode) override;
  void Stop() override;
  void Pause() override;
  void Resume() override;
  SampleBuffer CopyPcm(int count) override;
  void InsertPcm(SampleBuffer& samples) override;
  void ZoomToSelection() override;
  void ZoomOut() override;
  void ZoomFull() override;
  void ZoomToRange(int viewStart, int viewEnd) override;
  void RefreshView() override;
  void Undo() override;
  void Redo() override;
  void Copy() override;
  void Cut() override;
  void Paste() override;
  void InsertFile(const std::string& path) override;
  void PasteMix(float selectPartPercent, float audioInBufferPercent) override;
  void MixFile(float selectPartPercent, const std::string& path,
               float audioInBufferPercent) override;
  void DeleteSelection() override;
  void ConvertFormat(int sampleRate, int channels) override;
  void BeginGroup() override;
  void EndGroup() override;
  IAudioEditor2Scale* ScaleX() override;
  IAudioEditor2Scale* ScaleY() override;
  IAudioEditor2Colors* Colors() override;
  IAudioEditor2FileInfo* FileInfo() override;
  IAudioEditor2Output* OutputDevice() override;
  IAudioEditor2Effects* Effects() override;
  IAudioEditor2Position* Position() override;
  IAudioEditor2Markers* Markers() override;
  IAudioEditor2FileFormat* FileFormat() override;
  int16_t TypeBorder() override { return FTypeBorder; }
  void SetTypeBorder(int16_t value) override;
  std::string TempDirectory() override { return FDoc.TempDirectory(); }
  void SetTempDirectory(const std::string& value) override { FDoc.SetTempDirectory(value); }
  bool CanUndo() override { return FDoc.CanUndo(); }
  bool CanRedo() override { return FDoc.CanRedo(); }
  int16_t PlayState() override;

  // The play cursor, put from the player's position news while it plays (-1 hides it). A
  // position outside the view pages the view so that playback stays in sight.
  int64_t PlayPosition() const { return FPlayPosition; }
  void SetPlayPosition(int64_t frame);

  // Layout, in client coordinates: the waveform area (all lanes), the time scale above it, the
  // marker band between them and the level scale on its left.
  TRect WaveRect() const;
  TRect TimeScaleRect() const;
  TRect MarkerBandRect() const;
  TRect LevelScaleRect() const;
  // The column where a frame boundary is drawn, and the frame boundary nearest a column.
  int XOfFrame(int64_t frame) const;
  int64_t FrameAtX(int x) const;
  // Narrowest view ZoomToRange makes (frames), unless the document is shorter.
  static constexpr int64_t kMinViewFrames = 16;

  // Draws the whole client area into an RGB32 image of the client size.
  void Render(QImage& image);

  // Events. OnDblClick is the control's own (TControl::OnDblClick).
  TAudioEditor2MouseEvent OnMouseDown;
  TAudioEditor2MouseEvent OnMouseUp;
  TAudioEditor2MouseMoveEvent OnMouseMove;
  TAudioEditor2MeterEvent OnMeter;
  TAudioEditor2BlockOperationEvent OnBlockOperation;
  TAudioEditor2NotifyEvent OnChangePosition;
  TAudioEditor2NotifyEvent OnEndPlay;
  TAudioEditor2NotifyEvent OnChangePlayPosition;
  TAudioEditor2NotifyEvent OnEndOperation;
  TAudioEditor2MarkerClickEvent OnMarkerClick;
  TAudioEditor2MarkerClickEvent OnNewMarker;
  TAudioEditor2GainChangeEvent OnGainChange;
  TAudioEditor2NotifyEvent OnScaleXClick;
  TAudioEditor2NotifyEvent OnScaleYClick;
  TAudioEditor2ChangeMarkerEvent OnChangeMarker;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

 private:
  class TScalePart;
  class TColorsPart;
  class TOutputPart;
  class TEffectsPart;
  class TViewPositionPart;
  friend class TViewPositionPart;

  // What a press in the marker band caught.
  enum class TMarkerGrip { None, Bookmark, RegionBody, RegionStart, RegionEnd };
  struct TMarkerHit {
    TMarkerGrip Grip = TMarkerGrip::None;
    int Index = 0;  // 1-based
  };
  TMarkerHit MarkerAt(int x, int y) const;
  int MarkerX(int64_t frame) const;
  void ApplyView(int64_t start, int64_t end);
  void PositionChanged();
  int ScaleHeight() const;
  int LevelScaleWidth() const;
  int16_t ShiftBits(TShiftState Shift) const;

  AudioDocument FDoc;
  AudioEditorEffects FEffectsEngine;
  std::unique_ptr<TViewPositionPart> FPosition;
  std::unique_ptr<TAudioEditor2MarkersPart> FMarkers;
  std::unique_ptr<TAudioEditor2FileInfoPart> FFileInfo;
  std::unique_ptr<TAudioEditor2FileFormatPart> FFileFormat;
  std::unique_ptr<TScalePart> FScaleX, FScaleY;
  std::unique_ptr<TColorsPart> FColors;
  std::unique_ptr<TOutputPart> FOutput;
  std::unique_ptr<TEffectsPart> FEffects;
  std::unique_ptr<DocumentPlayer> FPlayer;

  int16_t FTypeBorder = 4;
  int64_t FPlayPosition = -1;
  // ViewStart/ViewEnd put through Position wait here for RefreshView.
  std::optional<int64_t> FPendingViewStart, FPendingViewEnd;

  // Mouse gesture in progress.
  enum class TDrag { None, Select, Marker };
  TDrag FDrag = TDrag::None;
  bool FDragMoved = false;
  int FPressX = 0;
  int64_t FAnchor = 0;
  TMarkerHit FDragMarker;
  int64_t FDragStart = 0, FDragEnd = 0;  // the marker's place while it is dragged
  // Where each marker's flag was last drawn (1-based index, rectangle), for hit tests.
  std::vector<std::pair<int, TRect>> FMarkerFlags;
};

// Makes TAudioEditor2 known to stored form descriptions, with its published properties and
// events. Safe to call more than once.
void RegisterAudioEditor2();
