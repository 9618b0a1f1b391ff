#pragma once
// The main window: the multiple-document frame every document window and command lives in. Its
// creation, deferred start, idle enabling, message hook and closing are in Main.cpp; the file
// commands in MainFiles.cpp; the editor events, time labels, meters and transport in
// MainEditor.cpp; the window, view, zoom and help commands in MainWindows.cpp.

#include <memory>
#include <string>
#include <vector>

#include "operations/EffectPreview.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Buttons.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Pictures.h"
#include "platform/gui/StdCtrls.h"

class IAudioEditor2;
class TAudioEditor2;
class TAudioPlayer2;
class TFreAnalysisForm;
class IMarkerListHost;
class TAudioTransform2;
class TAudioEditor2LameEnc;
class TAudioInformation2;
class SampleBuffer;
class TChildForm;
class TdxBarButton;
class TdxBarListItem;
class TdxBarManager;
class TdxBarMRUListItem;
class TdxBarPopupMenu;
class TdxNavBar;
class TdxStatusBar;
class TImageSlider;
class TPngSpeedButton;
class TRzProgressBar;
class TScrollBar;
class TsuiImagePanel;
class TCustomImageList;
class TCustomListItem;

// The rate and channels a document made from Editor's document gets: its own when the editor
// offers it, else 44100 Hz, and mono or stereo.
void NewDocumentFormat(IAudioEditor2* Editor, int& Rate, int& Channels);

// The private message the main window posts itself at the end of its creation.
constexpr UINT WM_DEFERRED_START = WM_USER + 1;

// Every command of the frame, by the name of its action without "Action".
#define SONALIX_MAIN_ACTIONS(X)                                                                   \
  X(NewFile) X(OpenFile) X(LoadCD) X(SaveFile) X(SaveAs) X(CloseFile) X(CopyAllToCD)              \
  X(ConvertSampleRate) X(EditID3) X(Options) X(Exit) X(Undo) X(Redo) X(Cut) X(Copy) X(CopyToNew) \
  X(Paste) X(Delete) X(SelectAll) X(SelectToStart) X(SelectToEnd) X(SelectSpecifiedTime)          \
  X(MixFile) X(RepeatLoop) X(PasteMix) X(Trim) X(TrimStart) X(TrimEnd) X(AutoTrim)                \
  X(SplitIntoTwo) X(AutoSplit) X(SilenceSelect) X(SaveSelect) X(InsertSilenceBegin)               \
  X(InsertSilenceCurrent) X(InsertSilenceEnd) X(InsertFileBegin) X(InsertFileCurrent)             \
  X(InsertFileEnd) X(MarkFirstPosition) X(MarkSecondPosition) X(RecallMarkSelection) X(Amplify)   \
  X(Normalize) X(DynamicRangeCompressor) X(HighPass) X(Equalizer) X(Echo) X(Reverb) X(Reverse)    \
  X(FadeIn) X(FadeOut) X(FadeOutAndTrim) X(CrossFade) X(Envelope) X(MixStereo)                    \
  X(NoiseReduction) X(SpeedPitchChange) X(SpeedChange) X(PitchChange) X(Phaser) X(Flanger)        \
  X(Chorus) X(Record) X(Play) X(LoopPlay) X(Pause) X(Stop) X(Start) X(Rewind) X(Forword) X(End)   \
  X(PlayAndPause) X(SetBookmark) X(OpenBookmarkList) X(AddRegion) X(OpenRegionList) X(Batch)      \
  X(FrequencyAnalysis) X(TextToSpeech) X(ShowCommandBar) X(BarOntheLeft) X(BarOntheRight)         \
  X(ShowMainToolbar) X(ShowEffectsToolbar) X(Cascade) X(TileHorizontal) X(TileVertical)           \
  X(ArrangeIcons) X(ZoomIn) X(ZoomOut) X(ZoomToSelection) X(ZoomFull) X(CloseAll) X(Help)         \
  X(HomePage) X(TechnicalSupport) X(RelatedSoftware) X(Korvane) X(About)

class TMainForm : public TForm, public IEffectPreviewHost {
 public:
  explicit TMainForm(TComponent* AOwner);
  ~TMainForm() override;

  // Parts of the window, from its description.
  TActionList* ActionList = nullptr;
  TCustomImageList *ImageListSmall = nullptr, *ImageListLarge = nullptr;
  TdxBarManager* dxBarManager = nullptr;
  TdxBarMRUListItem* dxBarMRUFiles = nullptr;
  TdxBarListItem* dxBarListWindows = nullptr;
  TdxBarButton *dxBarLargeButtonShowCommandBar = nullptr, *dxBarLargeButtonBarOntheLeft = nullptr,
               *dxBarLargeButtonBarOntheRight = nullptr;
  TdxBarPopupMenu* dxBarPopupMenuSelection = nullptr;
  TdxNavBar* dxNavBar = nullptr;
  TdxStatusBar* dxStatusBar = nullptr;
  TsuiImagePanel* PanelBottom = nullptr;
  TPngSpeedButton *ButtonPlay = nullptr, *ButtonRecord = nullptr, *ButtonPause = nullptr,
                  *ButtonStop = nullptr, *ButtonStart = nullptr, *ButtonRewind = nullptr,
                  *ButtonForword = nullptr, *ButtonEnd = nullptr;
  TLabel *LabelStart = nullptr, *LabelEnd = nullptr, *LabelSelLength = nullptr,
         *LabelFileLength = nullptr;
  TImage *ImageStart = nullptr, *ImageSel = nullptr;
  TImageSlider* ScrollBarValue = nullptr;
  TPanel* pnlMeter = nullptr;
  TRzProgressBar *LeftBar = nullptr, *RightBar = nullptr;
  TOpenDialog* OpenDialog = nullptr;
  TSaveDialog* SaveDialog = nullptr;
  TPopupMenu* PopupMenu = nullptr;
  TTimer *TimerRewind = nullptr, *TimerForword = nullptr, *TimerSplash = nullptr;

  bool ClipboardFilled = false;
  int ClipboardLength = 0;
  int DocumentCounter = 0;
  int SelectStartMs = 0;
  int SelectEndMs = 0;
  bool PositionUpdating = false;
  int PreviewLength = 0;

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void TimerSplashTimer(TObject* Sender);
  void AppMessage(MSG& Msg, bool& Handled);
  void ActionListUpdate(TBasicAction* Action, bool& Handled);
  // The frame asks every document window first (each may ask to save), then itself.
  bool CloseQuery() override;

  // The active document and what commands reach through it.
  TChildForm* ActiveDocument() const;
  bool HasDocument() const { return ActiveDocument() != nullptr; }
  IAudioEditor2* ActiveEditor() const;
  TScrollBar* ActiveScrollBarStart() const;
  TScrollBar* ActiveScrollBarEnd() const;
  std::string ActiveFileName() const;
  void SetActiveFileName(const std::string& Name);
  bool ActiveScrollUpdating() const;
  void SetModified(bool Flag);
  void SelectAllIfEmpty();
  // The font of every default style of the command panel but the drop-target group's.
  void ApplyFontName(const std::string& Name);
  // With an active document, its editor keeps temporary files in the data folder or in the
  // working folder, as the options say.
  void ApplyTempDirectory();
  // Registers or withdraws the Explorer verb for the sixteen extensions per OP_AddToExplorer.
  void ApplyExplorerVerbs();
  // The file named on the command line that the deferred start opened ("" when none).
  const std::string& StartFileName() const { return FStartFileName; }
  // Document windows of the frame, topmost first.
  std::vector<TChildForm*> Documents() const;

  // Documents (MainFiles.cpp).
  // A new document window, active, named Name ("" names it "Untitled" and its number).
  TChildForm* NewDocumentWindow(const std::string& Name = {});
  // A new "Untitled" document of that rate and channels, with the editor's work folder set:
  // every command that makes a document goes through it.
  TChildForm* NewEmptyDocument(int Rate, int Channels);
  // Opens Path as a new document the way Open, a drop and the command line do.
  void OpenAsDocument(const std::string& Path);
  // True when a file was written. A failed write is shown and leaves the document as it was.
  bool SaveDocument(TChildForm* Document, bool SaveAs, bool SelectionOnly);
  // The stored output-format choices put on the active editor; false keeps its previous format
  // (MainSave.cpp).
  bool ApplyWavFormat();
  bool ApplyMp3Format();
  bool ApplyOggFormat();
  bool ApplyWmaFormat();
  // The encoder settings object the MP3 choices go through (a part of the window; made on first
  // use where a description lacks it).
  TAudioEditor2LameEnc* LameEnc = nullptr;
  TAudioEditor2LameEnc& LameEncoder();
  // Reads the length of a file to be mixed in.
  TAudioInformation2* AudioInfo = nullptr;
  // The files of a drop: exactly one existing, supported file opens; anything else is ignored.
  void OpenDroppedFiles(HDROP Drop);
  void dxBarMRUFilesClick(TObject* Sender);

  // Editor events (MainEditor.cpp).
  void EditorPositionChanged(TObject* Sender);
  void EditorPlayPositionChanged(TObject* Sender);
  void EditorBlockOperation(TObject* Sender, int16_t Percent);
  void EditorEndOperation(TObject* Sender);
  void EditorMeter(TObject* Sender, int LevelLeft, int LevelRight);
  void EditorMarkerChanged(TObject* Sender, int Num);
  void EditorDblClick(TObject* Sender);
  // Feeds the analysis window while it shows (MainTools.cpp).
  void FeedFrequencyAnalysis();
  // Made by the first Frequency Analysis; hidden, not freed, when closed.
  TFreAnalysisForm* FreAnalysisForm = nullptr;
  void LayoutMeter();
  void ScrollBarValueChange(TObject* Sender);
  void TimeLabelDblClick(TObject* Sender);
  void TimeLabelMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  // Transport (MainEditor.cpp).
  void StepBack();
  void StepForward();
  void KeepCursorVisible();
  void ButtonPlayClick(TObject* Sender);
  void ButtonRecordClick(TObject* Sender);
  void ButtonPauseClick(TObject* Sender);
  void ButtonStopClick(TObject* Sender);
  void ButtonStartClick(TObject* Sender);
  void ButtonEndClick(TObject* Sender);
  void ButtonRewindMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ButtonRewindMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ButtonForwordMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void ButtonForwordMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void TimerRewindTimer(TObject* Sender);
  void TimerForwordTimer(TObject* Sender);

  // Windows (MainWindows.cpp).
  void dxBarListWindowsGetData(TObject* Sender);
  void dxBarListWindowsClick(TObject* Sender);
  // The command panel shown or hidden and on its side, as the View buttons say.
  void ApplyCommandBar();

  // Edit commands (MainEdit.cpp).
  enum TInsertPlace { ipBegin, ipCurrent, ipEnd };
  void InsertSilenceAt(TInsertPlace Where);
  void InsertFileAt(TInsertPlace Where);
  // A change of the samples: the document is modified, and played when the options say so.
  void AfterEdit();

  // Effects and their preview (MainEffects.cpp).
  void StartPreview() override;
  void StopPreview() override;
  bool PreviewPlaying() const override { return FPreviewPlaying; }
  bool PreviewTransforming() const override { return FPreviewTransforming; }
  void ClearPreviewPlaying() override { FPreviewPlaying = false; }
  void PlayPreviewBuffer();
  // The selection copy run through the effect of the stored preview code; false when the
  // transform gave nothing back.
  bool TransformPreviewBuffer(SampleBuffer& A);
  TAudioPlayer2* Player();
  TAudioTransform2* Transform();

  // Bookmarks and regions (MainMarkers.cpp): the two list windows, made once, and what they see
  // of the frame.
  void CreateMarkerWindows();
  IMarkerListHost* MarkerHost();

  // Recording and speech (MainRecord.cpp): the format of the work file, from the active
  // document or asked for a new one (false when cancelled), and its insertion at the cursor or
  // into a new document.
  bool FormatForWorkFile(int& Rate, int& Channels);
  void InsertWorkFile(const std::string& Path, int Rate, int Channels);

#define SONALIX_DECLARE_ACTION(n) void Action##n##Execute(TObject* Sender);
  SONALIX_MAIN_ACTIONS(SONALIX_DECLARE_ACTION)
#undef SONALIX_DECLARE_ACTION

 protected:
  void Dispatch(TMessage& Message) override;
  // Every window the frame gets (also one made again) takes dropped files.
  void CreateWnd() override;
  virtual void DeferredStart();

 private:
  std::shared_ptr<IMarkerListHost> FMarkerHost;
  void WirePreview(TAudioPlayer2* Player, TAudioTransform2* Transform);
  void RunEffectDialog(const std::string& ClassName);
  bool FPreviewPlaying = false;
  bool FPreviewTransforming = false;
  bool FPreviewWired = false;
  void NewDocumentWith(IAudioEditor2* Source, SampleBuffer& Samples);
  bool AskMix(IAudioEditor2* Editor);
  void WidenForMix(IAudioEditor2* Editor, int Start, int End, int64_t Frames);
  bool ApplyFormatTo(IAudioEditor2* Editor, int Format);
  void FindParts();
  void LoadPictures();
  std::string FStartFileName;
};

extern TMainForm* MainForm;

// Whether the deferred start opens the file named first on the command line: an existing file
// (not a folder) with an extension the editor opens.
bool OpensAtStart(const std::string& Path);

// The recent-files list file in the data folder.
std::string RecentFilesPath();
// Empties the recent-files list (the main window's, when there is one) and saves it at once.
void ClearRecentFiles();

void RegisterMainClasses();
