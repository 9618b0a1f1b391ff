#pragma once
// The waveform editor component's declarations: the IAudioEditor2 interface family, its
// constants and event types. Positions
// and lengths are sample frames (32-bit); WordBool is bool, Smallint int16_t, Single float, wide
// strings UTF-8. A failing call raises an Exception.

#include <cstdint>
#include <string>

#include "audio/OutputFormat.h"
#include "audio/SampleBuffer.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Events.h"

// Dispatch identifiers of the editor's properties and events.
constexpr int DISPID_AudioEditor2_TypeBorder = 150;
constexpr int DISPID_AudioEditor2_TempDirectory = 155;
constexpr int DISPID_AudioEditor2_CanUndo = 158;
constexpr int DISPID_AudioEditor2_CanRedo = 159;
constexpr int DISPID_AudioEditor2_PlayState = 222;
constexpr int DISPID_AudioEditor2_OnDblClick = 1;
constexpr int DISPID_AudioEditor2_OnMouseDown = 2;
constexpr int DISPID_AudioEditor2_OnMouseUp = 3;
constexpr int DISPID_AudioEditor2_OnMouseMove = 4;
constexpr int DISPID_AudioEditor2_OnMeter = 5;
constexpr int DISPID_AudioEditor2_OnBlockOperation = 6;
constexpr int DISPID_AudioEditor2_OnChangePosition = 7;
constexpr int DISPID_AudioEditor2_OnEndPlay = 8;
constexpr int DISPID_AudioEditor2_OnChangePlayPosition = 9;
constexpr int DISPID_AudioEditor2_OnEndOperation = 11;
constexpr int DISPID_AudioEditor2_OnMarkerClick = 12;
constexpr int DISPID_AudioEditor2_OnNewMarker = 13;
constexpr int DISPID_AudioEditor2_OnGainChange = 14;
constexpr int DISPID_AudioEditor2_OnScaleXClick = 16;
constexpr int DISPID_AudioEditor2_OnScaleYClick = 17;
constexpr int DISPID_AudioEditor2_OnChangeMarker = 18;

// PlayState values.
constexpr int16_t AUDIO_PLAYSTATE_IDLE = 0;
constexpr int16_t AUDIO_PLAYSTATE_PLAYING = 1;
constexpr int16_t AUDIO_PLAYSTATE_RUNNING = 2;  // another running state only Stop ends
constexpr int16_t AUDIO_PLAYSTATE_PAUSED = 5;

// Play modes.
constexpr int AUDIO_PLAY_ONCE = 1;
constexpr int AUDIO_PLAY_LOOP = 3;

// SaveFile format codes: afWav, afMp3, afOgg, afWma (audio/OutputFormat.h).

// Marker kinds.
inline constexpr const char* AUDIO_MARKER_BOOKMARK = "Bookmark";
inline constexpr const char* AUDIO_MARKER_REGION = "Region";

// Events. The sender is the control.
using TAudioEditor2NotifyEvent = Event<void(TObject* Sender)>;
using TAudioEditor2MeterEvent = Event<void(TObject* Sender, int LevelLeft, int LevelRight)>;
using TAudioEditor2BlockOperationEvent = Event<void(TObject* Sender, int16_t Percent)>;
using TAudioEditor2ChangeMarkerEvent = Event<void(TObject* Sender, int Num)>;
using TAudioEditor2MouseEvent =
    Event<void(TObject* Sender, int16_t Button, int16_t Shift, int X, int Y)>;
using TAudioEditor2MouseMoveEvent = Event<void(TObject* Sender, int16_t Shift, int X, int Y)>;
using TAudioEditor2MarkerClickEvent = Event<void(TObject* Sender, int Num)>;
using TAudioEditor2GainChangeEvent = Event<void(TObject* Sender, int Gain)>;

// The font the time and level scales are drawn with.
struct TAudioEditor2ScaleFont {
  std::string Name = "Tahoma";
  int Size = 7;        // points
  uint32_t Color = 0;  // $BBGGRR
  bool operator==(const TAudioEditor2ScaleFont&) const = default;
};

class IAudioEditor2Position {
 public:
  virtual ~IAudioEditor2Position() = default;
  virtual void MsToSamples(int ms, int& samples) = 0;
  virtual void SamplesToMs(int samples, int& ms) = 0;
  virtual int SelectionStart() = 0;
  virtual void SetSelectionStart(int value) = 0;
  virtual int SelectionEnd() = 0;
  virtual void SetSelectionEnd(int value) = 0;
  virtual int ViewStart() = 0;
  virtual void SetViewStart(int value) = 0;
  virtual int ViewEnd() = 0;
  virtual void SetViewEnd(int value) = 0;
  virtual int Cursor() = 0;
  virtual void SetCursor(int value) = 0;
  virtual bool SelectionActive() = 0;
  virtual void SetSelectionActive(bool value) = 0;
  virtual int Length() = 0;
};

class IAudioEditor2Markers {
 public:
  virtual ~IAudioEditor2Markers() = default;
  virtual void Add(int position, int length, const std::string& name, const std::string& kind,
                   int reserved1, int reserved2, int reserved3, int reserved4, int reserved5) = 0;
  virtual void DeleteCurrent() = 0;
  virtual int Count() = 0;
  virtual int CurrentIndex() = 0;
  virtual void SetCurrentIndex(int value) = 0;
  virtual int MarkerPosition() = 0;
  virtual int MarkerLength() = 0;
  virtual std::string MarkerName() = 0;
};

class IAudioEditor2FileInfo {
 public:
  virtual ~IAudioEditor2FileInfo() = default;
  virtual int SampleRate() = 0;
  virtual int Channels() = 0;
  virtual std::string Title() = 0;
  virtual void SetTitle(const std::string& value) = 0;
  virtual std::string Artist() = 0;
  virtual void SetArtist(const std::string& value) = 0;
  virtual std::string Album() = 0;
  virtual void SetAlbum(const std::string& value) = 0;
  virtual std::string Comment() = 0;
  virtual void SetComment(const std::string& value) = 0;
  virtual int Year() = 0;
  virtual void SetYear(int value) = 0;
  virtual int GenreIndex() = 0;
  virtual void SetGenreIndex(int value) = 0;
  virtual void GenreName(int index, std::string& name) = 0;
};

// The MP3 encoder settings objects (TAudioEditor2LameEnc) are in XOQAUDIOFILE2Lib_TLB.h.
class TLameEncSettingsBase;

class IAudioEditor2FileFormat {
 public:
  virtual ~IAudioEditor2FileFormat() = default;
  virtual void SetWavFormat(int sampleRate, int channels, int bits) = 0;
  virtual void SetMp3CbrFormat(int sampleRate, int kbps, int channels) = 0;
  // Copies the settings: later puts on the object do not change this format.
  virtual void SetMp3EncoderFormat(const TLameEncSettingsBase& settings) = 0;
  virtual void SetOggFormat(int sampleRate, int channels, int kbps, int reserved1, int reserved2,
                            int16_t quality) = 0;
  virtual void SetWmaFormat(int profile) = 0;
};

class IAudioEditor2Scale {
 public:
  virtual ~IAudioEditor2Scale() = default;
  virtual void SetFont(const TAudioEditor2ScaleFont& font) = 0;
  virtual void SetScaleOption(int value) = 0;
};

class IAudioEditor2Colors {
 public:
  virtual ~IAudioEditor2Colors() = default;
  // Colours are $BBGGRR; index 1..14.
  virtual uint32_t Color(int index) = 0;
  virtual void SetColor(int index, uint32_t value) = 0;
  void SetColor1(uint32_t v) { SetColor(1, v); }
  void SetColor2(uint32_t v) { SetColor(2, v); }
  void SetColor3(uint32_t v) { SetColor(3, v); }
  void SetColor4(uint32_t v) { SetColor(4, v); }
  void SetColor5(uint32_t v) { SetColor(5, v); }
  void SetColor8(uint32_t v) { SetColor(8, v); }
  void SetColor9(uint32_t v) { SetColor(9, v); }
  void SetColor11(uint32_t v) { SetColor(11, v); }
  void SetColor13(uint32_t v) { SetColor(13, v); }
  void SetColor14(uint32_t v) { SetColor(14, v); }
};

class IAudioEditor2Output {
 public:
  virtual ~IAudioEditor2Output() = default;
  virtual void SetVolume(int value) = 0;  // 0..65535
};

class IAudioEditor2Effects {
 public:
  virtual ~IAudioEditor2Effects() = default;
  virtual void PitchChange(float percent) = 0;
  virtual void SpeedChange(float percent) = 0;
  virtual void InsertSilence(int ms) = 0;
  virtual void MixStereo(float ll, float lr, float rl, float rr) = 0;
  virtual void Silence() = 0;
  virtual void Reverse() = 0;
  virtual void Amplify(float percent) = 0;
  virtual void Fade(float startPercent, float endPercent) = 0;
  virtual void Normalize(float percent, int reserved) = 0;
  virtual void Envelope(SampleBuffer& gains) = 0;
  virtual void Compressor(float threshold, float rate, float reserved) = 0;
  virtual void NoiseReduction(float threshold, float rate, float rmsTime) = 0;
  virtual void Echo(float delay, float mixDepth, float feedbackGain) = 0;
  virtual void Flanger(float delayRate, float mixDepth, float feedbackGain, float sweepDepth,
                       float sweepRate, float sweepPhase) = 0;
  virtual void Chorus(float delayRate, float mixDepth, float feedbackGain, float sweepDepth,
                      float sweepRate, float sweepPhase) = 0;
  virtual void Phaser(float delay, float mixDepth, float feedbackGain) = 0;
  virtual void Reverb(float delay, float mixDepth, float feedbackGain, float gain, float frequency,
                      int taps) = 0;
  virtual void HighPass(float cutoff, float reserved) = 0;
  virtual void Equalizer(SampleBuffer& gains, SampleBuffer& frequencies) = 0;
};

// The editor control's default interface, in interface order.
class IAudioEditor2 {
 public:
  virtual ~IAudioEditor2() = default;
  virtual void OpenFile(const std::string& path, int reserved) = 0;
  virtual void NewDocument(int sampleRate, int channels) = 0;
  virtual void SaveFile(const std::string& path, bool selectionOnly, int format) = 0;
  virtual void Play(int mode) = 0;
  virtual void Stop() = 0;
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  // Frames from the selection start; past the end, what is there. The caller owns the result.
  virtual SampleBuffer CopyPcm(int count) = 0;
  virtual void InsertPcm(SampleBuffer& samples) = 0;
  virtual void ZoomToSelection() = 0;
  virtual void ZoomOut() = 0;
  virtual void ZoomFull() = 0;
  virtual void ZoomToRange(int viewStart, int viewEnd) = 0;
  virtual void RefreshView() = 0;
  virtual void Undo() = 0;
  virtual void Redo() = 0;
  virtual void Copy() = 0;
  virtual void Cut() = 0;
  virtual void Paste() = 0;
  virtual void InsertFile(const std::string& path) = 0;
  virtual void PasteMix(float selectPartPercent, float audioInBufferPercent) = 0;
  virtual void MixFile(float selectPartPercent, const std::string& path,
                       float audioInBufferPercent) = 0;
  virtual void DeleteSelection() = 0;
  virtual void ConvertFormat(int sampleRate, int channels) = 0;
  virtual void BeginGroup() = 0;
  virtual void EndGroup() = 0;
  virtual IAudioEditor2Scale* ScaleX() = 0;
  virtual IAudioEditor2Scale* ScaleY() = 0;
  virtual IAudioEditor2Colors* Colors() = 0;
  virtual IAudioEditor2FileInfo* FileInfo() = 0;
  virtual IAudioEditor2Output* OutputDevice() = 0;
  virtual IAudioEditor2Effects* Effects() = 0;
  virtual IAudioEditor2Position* Position() = 0;
  virtual IAudioEditor2Markers* Markers() = 0;
  virtual IAudioEditor2FileFormat* FileFormat() = 0;

  virtual int16_t TypeBorder() = 0;
  virtual void SetTypeBorder(int16_t value) = 0;
  virtual std::string TempDirectory() = 0;
  virtual void SetTempDirectory(const std::string& value) = 0;
  virtual bool CanUndo() = 0;
  virtual bool CanRedo() = 0;
  virtual int16_t PlayState() = 0;
};

// The visual control that implements IAudioEditor2.
#include "Imports/AudioEditorControl.h"
