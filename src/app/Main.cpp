#include "app/Main.h"

#include <QCoreApplication>
#include <QImage>
#include <filesystem>

#include "Imports/AudioEditorControl.h"
#include "app/About.h"
#include "app/AppPictures.h"
#include "app/Child.h"
#include "app/ExplorerVerb.h"
#include "app/MainCommands.h"
#include "app/Options.h"
#include "app/Splash.h"
#include "appbase/Globals.h"
#include "appbase/Utils.h"
#include "controls/ImageSlider.h"
#include "controls/PngImage.h"
#include "controls/PngSpeedButton.h"
#include "controls/RzPrgres.h"
#include "controls/SUIImagePanel.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/TypInfo.h"
#include "platform/sys/ShellFolders.h"
#include "suite/bars/dxBar.h"
#include "suite/core/cxGraphicsImages.h"
#include "suite/core/cxLookAndFeels.h"
#include "suite/core/cxSuiteUnits.h"
#include "Imports/XOQAUDIOFILE2Lib_TLB.h"
#include "Imports/XOQAUDIOINFORMATION2Lib_TLB.h"
#include "Imports/XOQAUDIOPLAYER2Lib_TLB.h"
#include "Imports/XOQAUDIOTRANSFORM2Lib_TLB.h"
#include "suite/extras/dxBarExtItems.h"
#include "suite/extras/dxStatusBar.h"
#include "suite/navbar/dxNavBar.h"
#include "suite/navbar/dxNavBarCollns.h"
#include "suite/navbar/dxNavBarStyles.h"

TMainForm* MainForm = nullptr;

namespace {
const char* const kExplorerVerb = "Edit with Sonalix";

// The actions of the frame with the rule that enables each, taken once from the command table.
struct TActionRule {
  TCustomAction* Action;
  TCommandEnabling Enabling;
};
std::vector<TActionRule>& ActionRules() {
  static std::vector<TActionRule> rules;
  return rules;
}

template <class T>
T* Part(TComponent* Root, const char* Name) {
  return dynamic_cast<T*>(Root->FindComponent(Name));
}

// Image list filled from a strip of square glyphs of that size.
void FillFromStrip(TCustomImageList* List, const std::string& Strip, int Size) {
  if (!List) return;
  TPNGObject png;
  if (!LoadAppPng(Strip, png)) return;
  // The strip keeps its alpha: a 24-bit copy would show each glyph on a white square.
  TBitmap strip;
  strip.SetPixelFormat(pf32bit);
  strip.SetImage(png.ToImage().convertToFormat(QImage::Format_ARGB32));
  List->SetSize(Size, Size);
  List->Add(&strip, nullptr);
}
}  // namespace

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
  MainForm = this;
  // The interface libraries start once, with the first main window, and stay for the process.
  static const bool started = [] {
    InitializeSuiteUnits();
    return true;
  }();
  (void)started;
  dxBarInitialize();
  dxBarExtItemsInitialize();
  dxStatusBarInitialize();
  dxNavBarInitialize();
  InitForm("TMainForm");
}

TMainForm::~TMainForm() {
  BeforeDestruction();
  Application->OnMessage = TMessageEvent();
  ActionRules().clear();
  // Documents are the application's, but they talk to the frame: they go first.
  for (TChildForm* d : Documents()) delete d;
  if (MainForm == this) MainForm = nullptr;
}

void TMainForm::FindParts() {
  ActionList = Part<TActionList>(this, "ActionList");
  ImageListSmall = Part<TCustomImageList>(this, "ImageListSmall");
  ImageListLarge = Part<TCustomImageList>(this, "ImageListLarge");
  dxBarManager = Part<TdxBarManager>(this, "dxBarManager");
  dxBarMRUFiles = Part<TdxBarMRUListItem>(this, "dxBarMRUFiles");
  dxBarListWindows = Part<TdxBarListItem>(this, "dxBarListWindows");
  dxBarLargeButtonShowCommandBar = Part<TdxBarButton>(this, "dxBarLargeButtonShowCommandBar");
  dxBarLargeButtonBarOntheLeft = Part<TdxBarButton>(this, "dxBarLargeButtonBarOntheLeft");
  dxBarLargeButtonBarOntheRight = Part<TdxBarButton>(this, "dxBarLargeButtonBarOntheRight");
  dxBarPopupMenuSelection = Part<TdxBarPopupMenu>(this, "dxBarPopupMenuSelection");
  dxNavBar = Part<TdxNavBar>(this, "dxNavBar");
  dxStatusBar = Part<TdxStatusBar>(this, "dxStatusBar");
  PanelBottom = Part<TsuiImagePanel>(this, "PanelBottom");
  ButtonPlay = Part<TPngSpeedButton>(this, "ButtonPlay");
  ButtonRecord = Part<TPngSpeedButton>(this, "ButtonRecord");
  ButtonPause = Part<TPngSpeedButton>(this, "ButtonPause");
  ButtonStop = Part<TPngSpeedButton>(this, "ButtonStop");
  ButtonStart = Part<TPngSpeedButton>(this, "ButtonStart");
  ButtonRewind = Part<TPngSpeedButton>(this, "ButtonRewind");
  ButtonForword = Part<TPngSpeedButton>(this, "ButtonForword");
  ButtonEnd = Part<TPngSpeedButton>(this, "ButtonEnd");
  LabelStart = Part<TLabel>(this, "LabelStart");
  LabelEnd = Part<TLabel>(this, "LabelEnd");
  LabelSelLength = Part<TLabel>(this, "LabelSelLength");
  LabelFileLength = Part<TLabel>(this, "LabelFileLength");
  ImageStart = Part<TImage>(this, "ImageStart");
  ImageSel = Part<TImage>(this, "ImageSel");
  ScrollBarValue = Part<TImageSlider>(this, "ScrollBarValue");
  pnlMeter = Part<TPanel>(this, "pnlMeter");
  LeftBar = Part<TRzProgressBar>(this, "LeftBar");
  RightBar = Part<TRzProgressBar>(this, "RightBar");
  OpenDialog = Part<TOpenDialog>(this, "OpenDialog");
  SaveDialog = Part<TSaveDialog>(this, "SaveDialog");
  PopupMenu = Part<TPopupMenu>(this, "PopupMenu");
  TimerRewind = Part<TTimer>(this, "TimerRewind");
  TimerForword = Part<TTimer>(this, "TimerForword");
  TimerSplash = Part<TTimer>(this, "TimerSplash");
  LameEnc = Part<TAudioEditor2LameEnc>(this, "LameEnc");
  AudioInfo = Part<TAudioInformation2>(this, "AudioInfo");
}

void TMainForm::LoadPictures() {
  // Every glyph changes the look of its bar: the bars lay themselves out once, at the end.
  if (dxBarManager) dxBarManager->BeginBarsUpdate();
  struct EndUpdate {
    TdxBarManager* Manager;
    ~EndUpdate() {
      if (Manager) Manager->EndBarsUpdate();
    }
  } endUpdate{dxBarManager};
  FillFromStrip(ImageListSmall, "Glyphs16", 16);
  FillFromStrip(ImageListLarge, "Glyphs32", 32);
  auto& rules = ActionRules();
  rules.clear();
  if (ActionList)
    for (int i = 0; i < ActionList->ActionCount(); ++i) {
      auto* action = dynamic_cast<TCustomAction*>(ActionList->Actions(i));
      if (!action) continue;
      action->SetImageIndex(AppGlyphIndex(action->Name()));
      if (const TCommandInfo* c = FindMainCommand(action->Name()))
        rules.push_back({action, c->Enabling});
    }
  // A large button shows the 32-pixel glyph of its command in the toolbars.
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* b = dynamic_cast<TdxBarLargeButton*>(Components(i)))
      if (auto* a = dynamic_cast<TCustomAction*>(b->Action())) b->SetLargeImageIndex(a->ImageIndex());
  for (TPngSpeedButton* b : {ButtonPlay, ButtonRecord, ButtonPause, ButtonStop, ButtonStart,
                             ButtonRewind, ButtonForword, ButtonEnd}) {
    TPNGObject png;
    if (b && LoadAppPng(b->Name(), png)) b->SetPngImage(&png);
  }
  if (PanelBottom) {
    TPNGObject png;
    if (LoadAppPng("PanelBottom", png)) PanelBottom->Picture()->SetGraphic(&png);
  }
  if (ImageStart) LoadAppPicture(ImageStart, "ImageStart");
  if (ImageSel) LoadAppPicture(ImageSel, "ImageSel");
}

void TMainForm::FormCreate(TObject*) {
  FindParts();
  // Whatever fails below, the deferred start still comes, so the splash goes and the window
  // shows.
  struct PostDeferredStart {
    HWND Window;
    ~PostDeferredStart() { PostMessage(Window, WM_DEFERRED_START, 0, 0); }
  } post{Handle()};

  Application->OnMessage = TMessageEvent::Bind(this, &TMainForm::AppMessage, "AppMessage");
  LoadPictures();

  GlobalVars.DataFolder =
      AddTrailingBackslash(AddTrailingBackslash(GetShellFolder("AppData")) + "Sonalix Sound Editor5");
  std::error_code ec;
  std::filesystem::create_directories(GlobalVars.DataFolder, ec);
  GlobalVars.TempFolder = AddTrailingBackslash(TempFolder());

  SetDefaultGlobalVars();
  bool stored = false;
  try {
    stored = LoadSettings();
  } catch (...) {
    // The defaults could not be stored: the user hears of it, and the start goes on.
    Application->HandleException(this, std::current_exception());
  }
  if (!stored) {
    SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
  }
  // The verb follows the stored option, so it is applied once the settings are read.
  ApplyExplorerVerbs();
  // The bookmark and region windows live as long as the frame, shown or not.
  CreateMarkerWindows();

  if (dxBarMRUFiles && FileExists(RecentFilesPath())) {
    try {
      dxBarMRUFiles->Items()->LoadFromFile(RecentFilesPath());
    } catch (...) {
      Application->HandleException(this, std::current_exception());
    }
  }

  // The frame's client area never shrinks below 740 x 450.
  Constraints()->SetMinWidth(740 + Width() - ClientWidth());
  Constraints()->SetMinHeight(450 + Height() - ClientHeight());
  if (TimerRewind) TimerRewind->SetEnabled(false);
  if (TimerForword) TimerForword->SetEnabled(false);
  ClipboardFilled = false;
  ClipboardLength = 0;

  if (ScrollBarValue) {
    ScrollBarValue->SetMaxValue(65535);
    LayoutMeter();
    ScrollBarValue->SetValue(GlobalVars.DeviceOutputVolume);
  }

  const std::string hintFont = Screen->HintFont()->Name();
  SubstituteFontName(this, "Tahoma", hintFont);
  ApplyFontName(hintFont);

  if (dxBarLargeButtonShowCommandBar) dxBarLargeButtonShowCommandBar->SetDown(GlobalVars.ShowCommandBar);
  if (dxBarLargeButtonBarOntheLeft) dxBarLargeButtonBarOntheLeft->SetDown(GlobalVars.CommandBarOnTheLeft);
  if (dxBarLargeButtonBarOntheRight) dxBarLargeButtonBarOntheRight->SetDown(!GlobalVars.CommandBarOnTheLeft);
  ApplyCommandBar();

  LoadFormPosition("FormPos", this);
}

void TMainForm::ApplyExplorerVerbs() {
  const std::vector<std::string> exts(std::begin(SupportedAudioExts), std::end(SupportedAudioExts));
  if (GlobalVars.OP_AddToExplorer)
    AddExplorerVerbs(Application->ExeName(), kExplorerVerb, exts);
  else
    RemoveExplorerVerbs(kExplorerVerb, exts);
}

void TMainForm::ApplyFontName(const std::string& Name) {
  if (!dxNavBar) return;
  TdxNavBarDefaultStyles* styles = dxNavBar->DefaultStyles();
  for (int i = nbsBackground; i <= nbsNavigationPaneHeader; ++i)
    if (i != nbsDropTargetGroup) styles->StyleAt(i)->Font()->SetName(Name);
}

// ---------------------------------------------------------------------------------------------
// The active document

std::vector<TChildForm*> TMainForm::Documents() const {
  std::vector<TChildForm*> list;
  for (int i = 0; i < MDIChildCount(); ++i)
    if (auto* c = dynamic_cast<TChildForm*>(MDIChildren(i))) list.push_back(c);
  return list;
}

TChildForm* TMainForm::ActiveDocument() const {
  auto* child = dynamic_cast<TChildForm*>(ActiveMDIChild());
  if (child && child->AudioEditor) return child;
  return nullptr;
}

IAudioEditor2* TMainForm::ActiveEditor() const {
  TChildForm* d = ActiveDocument();
  return d ? d->AudioEditor : nullptr;
}

TScrollBar* TMainForm::ActiveScrollBarStart() const {
  TChildForm* d = ActiveDocument();
  return d ? d->ScrollBarStart : nullptr;
}

TScrollBar* TMainForm::ActiveScrollBarEnd() const {
  TChildForm* d = ActiveDocument();
  return d ? d->ScrollBarEnd : nullptr;
}

std::string TMainForm::ActiveFileName() const {
  TChildForm* d = ActiveDocument();
  return d ? d->FileName : std::string();
}

void TMainForm::SetActiveFileName(const std::string& Name) {
  if (TChildForm* d = ActiveDocument()) d->SetFileName(Name);
}

bool TMainForm::ActiveScrollUpdating() const {
  TChildForm* d = ActiveDocument();
  return d && d->ScrollUpdating;
}

void TMainForm::SetModified(bool Flag) {
  if (TChildForm* d = ActiveDocument()) d->Modified = Flag;
}

void TMainForm::SelectAllIfEmpty() {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  IAudioEditor2Position* pos = e->Position();
  if (pos->SelectionStart() != pos->SelectionEnd()) return;
  pos->SetSelectionActive(true);
  pos->SetSelectionStart(0);
  pos->SetSelectionEnd(pos->Length());
}

void TMainForm::ApplyTempDirectory() {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  e->SetTempDirectory(GlobalVars.OP_UseDefFolder ? GlobalVars.DataFolder : GlobalVars.OP_WorkingFolder);
}

// ---------------------------------------------------------------------------------------------
// Idle enabling

void TMainForm::ActionListUpdate(TBasicAction*, bool&) {
  const TCommandState state =
      CommandStateOf(ActiveEditor(), ActiveFileName(), int(Documents().size()), ClipboardFilled);
  for (const TActionRule& r : ActionRules()) r.Action->SetEnabled(CommandEnabled(r.Enabling, state));
  if (!dxNavBar) return;
  for (int g = 0; g < dxNavBar->Groups()->Count(); ++g) {
    TdxNavBarGroup* group = dxNavBar->Groups()->Items(g);
    bool any = false;
    for (int l = 0; l < group->LinkCount() && !any; ++l) {
      TdxNavBarItem* item = group->LinkAt(l)->Item();
      any = item && item->Enabled();
    }
    group->SetVisible(any);
  }
}

// ---------------------------------------------------------------------------------------------
// Start

void TMainForm::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_DEFERRED_START) {
    DeferredStart();
    return;
  }
  if (Message.Msg == WM_DROPFILES) {
    OpenDroppedFiles(reinterpret_cast<HDROP>(Message.WParam));
    Message.Result = 0;
    return;
  }
  TForm::Dispatch(Message);
}

void TMainForm::CreateWnd() {
  TForm::CreateWnd();
  DragAcceptFiles(Handle(), TRUE);
}

void TMainForm::DeferredStart() {
  Show();
  if (TimerSplash) TimerSplash->SetEnabled(true);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 2) return;
  const std::string file = args.at(1).toStdString();
  // A folder, a missing file or another kind of file is passed over without a word.
  if (!OpensAtStart(file)) return;
  FStartFileName = file;
  OpenAsDocument(file);
}

bool OpensAtStart(const std::string& Path) {
  return FileExists(Path) && !DirectoryExists(Path) && IsSupportedAudioExt(ExtractFileExt(Path));
}

void TMainForm::TimerSplashTimer(TObject*) {
  if (SplashForm) {
    SplashForm->Hide();
    delete SplashForm;
    SplashForm = nullptr;
  }
  if (TimerSplash) TimerSplash->SetEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// The message hook: the editor's right button opens the editor menu, and a double click selects
// all without the editor seeing the press that would start a mouse selection.

void TMainForm::AppMessage(MSG& Msg, bool& Handled) {
  TChildForm* d = ActiveDocument();
  if (!d || !d->AudioEditor || !d->AudioEditor->HandleAllocated()) return;
  if (Msg.hwnd != d->AudioEditor->Handle()) return;
  switch (Msg.message) {
    case WM_RBUTTONDOWN:
      Handled = true;
      break;
    case WM_RBUTTONUP: {
      Handled = true;
      const TPoint p = GetMouse()->CursorPos();
      if (PopupMenu) PopupMenu->Popup(p.X, p.Y);
      break;
    }
    case WM_LBUTTONDBLCLK: {
      Handled = true;
      TWeakLink<TAudioEditor2> editor(d->AudioEditor);
      if (editor->OnDblClick) editor->OnDblClick(editor.get());
      break;
    }
    default: break;
  }
}

// ---------------------------------------------------------------------------------------------
// Closing

bool TMainForm::CloseQuery() {
  // Newest document first, as the window list reads from the top.
  for (TChildForm* d : Documents()) {
    TWeakLink<TChildForm> doc(d);
    if (!d->CloseQuery()) return false;
  }
  return TForm::CloseQuery();
}

void TMainForm::FormClose(TObject*, TCloseAction&) {
  // Settings that cannot be saved are reported, but never keep the program from closing.
  try {
    SaveFormPosition("FormPos", this);
    if (dxBarLargeButtonShowCommandBar) GlobalVars.ShowCommandBar = dxBarLargeButtonShowCommandBar->Down();
    if (dxBarLargeButtonBarOntheLeft) GlobalVars.CommandBarOnTheLeft = dxBarLargeButtonBarOntheLeft->Down();
    if (dxBarMRUFiles) dxBarMRUFiles->Items()->SaveToFile(RecentFilesPath());
    SaveSettings();
  } catch (...) {
    Application->HandleException(this, std::current_exception());
  }
}

void TMainForm::FormDestroy(TObject*) {}

std::string RecentFilesPath() { return GlobalVars.DataFolder + "MRUList5.0"; }

void ClearRecentFiles() {
  if (MainForm && MainForm->dxBarMRUFiles) MainForm->dxBarMRUFiles->Items()->Clear();
  // The list has no lines left to keep, so the file saved is empty.
  TStringList empty;
  empty.SaveToFile(RecentFilesPath());
}

void RegisterMainClasses() {
  RegisterImageListClasses();
  RegisterLookAndFeelClasses();
  RegisterAudioEditor2();
  RegisterAudioPlayer2();
  RegisterAudioTransform2();
  RegisterLameEncSettings();
  RegisterAudioInformation2();
  RegisterChildClasses();
  RegisterClass<TMainForm, TForm>();
  auto published = Published<TMainForm>();
  published.Method("FormCreate", &TMainForm::FormCreate)
      .Method("FormClose", &TMainForm::FormClose)
      .Method("FormDestroy", &TMainForm::FormDestroy)
      .Method("TimerSplashTimer", &TMainForm::TimerSplashTimer)
      .Method("ActionListUpdate", &TMainForm::ActionListUpdate)
      .Method("dxBarMRUFilesClick", &TMainForm::dxBarMRUFilesClick)
      .Method("dxBarListWindowsGetData", &TMainForm::dxBarListWindowsGetData)
      .Method("dxBarListWindowsClick", &TMainForm::dxBarListWindowsClick)
      .Method("ScrollBarValueChange", &TMainForm::ScrollBarValueChange)
      .Method("TimeLabelDblClick", &TMainForm::TimeLabelDblClick)
      .Method("TimeLabelMouseUp", &TMainForm::TimeLabelMouseUp)
      .Method("ButtonPlayClick", &TMainForm::ButtonPlayClick)
      .Method("ButtonRecordClick", &TMainForm::ButtonRecordClick)
      .Method("ButtonPauseClick", &TMainForm::ButtonPauseClick)
      .Method("ButtonStopClick", &TMainForm::ButtonStopClick)
      .Method("ButtonStartClick", &TMainForm::ButtonStartClick)
      .Method("ButtonEndClick", &TMainForm::ButtonEndClick)
      .Method("ButtonRewindMouseDown", &TMainForm::ButtonRewindMouseDown)
      .Method("ButtonRewindMouseUp", &TMainForm::ButtonRewindMouseUp)
      .Method("ButtonForwordMouseDown", &TMainForm::ButtonForwordMouseDown)
      .Method("ButtonForwordMouseUp", &TMainForm::ButtonForwordMouseUp)
      .Method("TimerRewindTimer", &TMainForm::TimerRewindTimer)
      .Method("TimerForwordTimer", &TMainForm::TimerForwordTimer);
#define SONALIX_PUBLISH_ACTION(n) published.Method("Action" #n "Execute", &TMainForm::Action##n##Execute);
  SONALIX_MAIN_ACTIONS(SONALIX_PUBLISH_ACTION)
#undef SONALIX_PUBLISH_ACTION
}
