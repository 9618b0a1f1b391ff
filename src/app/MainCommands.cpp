#include "app/MainCommands.h"

#include "Imports/XOQAUDIOEDITOR2Lib_TLB.h"
#include "app/AppPictures.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Menus.h"

const std::vector<TCommandInfo>& MainCommands() {
  static const std::vector<TCommandInfo> commands = {
    {"ActionNewFile", "File", "&New File...", "Ctrl+N", "Creates a new audio file.", ceAlways, cpMenus, false},
    {"ActionOpenFile", "File", "&Open File...", "Ctrl+O", "Opens an existing file.", ceAlways, cpMenus, false},
    {"ActionLoadCD", "File", "&Load Audio CD Track(s)...", "", "Load audio track(s) from audio CDs.", ceAlways, cpMenus, false},
    {"ActionSaveFile", "File", "&Save File", "Ctrl+S", "Saves the current file.", ceFileName, cpMenus, false},
    {"ActionSaveAs", "File", "Save File &As...", "", "Saves the current file with a new file or formats.", ceDocument, cpMenus, false},
    {"ActionCloseFile", "File", "Close File", "", "Closes the current audio file.", ceDocument, cpMenus, false},
    {"ActionCopyAllToCD", "File", "Copy All Open File(s) to CD...", "", "", ceAlways, cpNowhere, false},
    {"ActionConvertSampleRate", "File", "&Convert Sample Rate and Channels...", "", "Converts the sample rate of the current file.", ceDocument, cpMenus, false},
    {"ActionEditID3", "File", "Edit ID3 Tags...", "", "Edits audio information of current file.", ceDocument, cpMenus, false},
    {"ActionOptions", "File", "O&ptions...", "", "Adjust settings and options.", ceAlways, cpMenus, false},
    {"ActionExit", "File", "E&xit", "", "Quit.", ceAlways, cpMenus, false},
    {"ActionUndo", "Edit", "&Undo", "Ctrl+Z", "Reverse (undo) the last action.", ceUndo, cpMenus, false},
    {"ActionRedo", "Edit", "Redo", "", "Redo the last action.", ceRedo, cpMenus, false},
    {"ActionCut", "Edit", "Cu&t", "Ctrl+X", "Cuts the selection and keep it on the Clipboard.", ceSelection, cpMenus, false},
    {"ActionCopy", "Edit", "&Copy", "Ctrl+C", "Copies the selection to the Clipboard.", ceSelection, cpMenus, false},
    {"ActionCopyToNew", "Edit", "Copy To &New", "", "Copies the selection region to a new file.", ceSelection, cpMenus, false},
    {"ActionPaste", "Edit", "&Paste", "Ctrl+V", "Inserts clipboard contents.", ceClipboard, cpMenus, false},
    {"ActionDelete", "Edit", "&Delete", "Del", "Deletes current selection.", ceSelection, cpMenus, false},
    {"ActionSelectAll", "Edit", "&Select All", "Ctrl+A", "Selects the entire file.", ceLength, cpMenus, false},
    {"ActionSelectToStart", "Edit", "Select To Start", "Shift+Home", "Selects everything before the current postion.", ceLength, cpMenus, false},
    {"ActionSelectToEnd", "Edit", "Select To End", "Shift+End", "Selects everything after the current postion.", ceLength, cpMenus, false},
    {"ActionSelectSpecifiedTime", "Edit", "Select Specified Time", "Ctrl+G", "Selects specified time.", ceLength, cpMenus, false},
    {"ActionMixFile", "Edit", "&Mix File...", "", "Mixes the current file with another file.", ceDocument, cpMenus, false},
    {"ActionRepeatLoop", "Edit", "Repeat &Loop...", "", "Repeats the selected region.", ceLength, cpMenus, false},
    {"ActionPasteMix", "Edit", "Paste Mi&x...", "", "Mixes the the selected parts of an audio file with copied contents.", ceClipboard, cpMenus, false},
    {"ActionTrim", "Edit", "Tri&m", "Ctrl+T", "The selected region becames the entire file.", ceSelection, cpMenus, false},
    {"ActionTrimStart", "Edit", "Trim St&art", "Ctrl+M", "Deletes everything before the current position.", ceLength, cpMenus, false},
    {"ActionTrimEnd", "Edit", "Trim En&d", "Ctrl+E", "Deletes everything after the current position.", ceLength, cpMenus, false},
    {"ActionAutoTrim", "Edit", "Auto Trim", "", "", ceAlways, cpNowhere, false},
    {"ActionSplitIntoTwo", "Edit", "S&plit into two at this point", "", "Splits current file into two files at the current position.", ceLength, cpMenus, false},
    {"ActionAutoSplit", "Edit", "Auto Split...", "", "", ceAlways, cpNowhere, false},
    {"ActionSilenceSelect", "Edit", "Silence Select Re&gion", "", "Silences the select region.", ceSelection, cpMenus, false},
    {"ActionSaveSelect", "Edit", "Save Select &Region As...", "", "Save the select region as a new file.", ceSelection, cpMenus, false},
    {"ActionInsertSilenceBegin", "Edit", "Begin", "", "Inserts silence at the start.", ceDocument, cpMenus, false},
    {"ActionInsertSilenceCurrent", "Edit", "Current", "", "Inserts silence at the current position.", ceDocument, cpMenus, false},
    {"ActionInsertSilenceEnd", "Edit", "End", "", "Inserts silence at the end.", ceDocument, cpMenus, false},
    {"ActionInsertFileBegin", "Edit", "Begin", "", "Inserts another file at the start.", ceDocument, cpMenus, false},
    {"ActionInsertFileCurrent", "Edit", "Current", "", "Inserts another file at the current position.", ceDocument, cpMenus, false},
    {"ActionInsertFileEnd", "Edit", "End", "", "Inserts another file at the end.", ceDocument, cpMenus, false},
    {"ActionMarkFirstPosition", "Edit", "Mark First Position", "", "", ceAlways, cpNowhere, false},
    {"ActionMarkSecondPosition", "Edit", "Mark Second Position", "", "", ceAlways, cpNowhere, false},
    {"ActionRecallMarkSelection", "Edit", "Recall Mark Selection", "", "", ceAlways, cpNowhere, false},
    {"ActionAmplify", "Effect", "&Amplify...", "", "Increases or decreases the volume of the selected region.", ceLength, cpMenus, false},
    {"ActionNormalize", "Effect", "&Normalize...", "", "Adjusts the volume to an optimal (normal) level.", ceLength, cpMenus, false},
    {"ActionDynamicRangeCompressor", "Effect", "Dynamic Range Co&mpressor...", "", "Volume compression, limiting or noise gates.", ceLength, cpMenus, false},
    {"ActionHighPass", "Effect", "&High-Pass Filter...", "", "Removes lower frequencies.", ceLength, cpMenus, false},
    {"ActionEqualizer", "Effect", "E&qualizer...", "", "Changes the tone with graphic equaliser.", ceLength, cpMenus, false},
    {"ActionEcho", "Effect", "Ech&o...", "", "Adds echo to the selected region.", ceLength, cpMenus, false},
    {"ActionReverb", "Effect", "&Reverb...", "", "Adds reverb to the selected region.", ceLength, cpMenus, false},
    {"ActionReverse", "Effect", "Re&verse", "", "Reverses the selected region.", ceLength, cpMenus, false},
    {"ActionFadeIn", "Effect", "&Fade In", "", "Fades in over the selected region.", ceSelection, cpMenus, false},
    {"ActionFadeOut", "Effect", "&Fade Out", "", "Fades out over the selected region.", ceSelection, cpMenus, false},
    {"ActionFadeOutAndTrim", "Effect", "Fade Out and &Trim", "", "Fades out over the selected region and deletes everything after the end position.", ceSelection, cpMenus, false},
    {"ActionCrossFade", "Effect", "CrossFade...", "", "Fades out over the selected region and deletes everything after the end position.", ceSelection, cpMenus, false},
    {"ActionEnvelope", "Effect", "En&velope...", "", "Adjusts the volume envelope over the selected region.", ceLength, cpMenus, false},
    {"ActionMixStereo", "Effect", "&Mix Stereo Channels...", "", "Configure mixed audio from channels.", ceLength, cpMenus, false},
    {"ActionNoiseReduction", "Effect", "&Noise Reduction...", "", "Reduces background noise.", ceLength, cpMenus, false},
    {"ActionSpeedPitchChange", "Effect", "Spee&d and Pitch Change...", "", "Adjust speed and pitch.", ceLength, cpNowhere, false},
    {"ActionSpeedChange", "Effect", "S&peed Change...", "", "Adjusts speed without changing pitch.", ceLength, cpMenus, false},
    {"ActionPitchChange", "Effect", "&Pitch Change...", "", "Adjusts pitch without changing the speed. ", ceLength, cpMenus, false},
    {"ActionPhaser", "Effect", "Phaser...", "", "The phaser achieves its distinctive sound by creating one or more notches in the frequency domain that eliminate sounds at the notch frequencies.", ceLength, cpMenus, false},
    {"ActionFlanger", "Effect", "Flanger...", "", "Flanging is created by mixing a signal with a slightly delayed copy of itself, where the length of the delay is constantly changing. It is actually one specific type of phasing (Phaser). ", ceLength, cpMenus, false},
    {"ActionChorus", "Effect", "Chorus...", "", "Makes the recording of a vocal track sound like it was sung by two or more people singing in chorus. This is achieved by adding a single delayed signal (echo) to the original input.", ceLength, cpMenus, false},
    {"ActionRecord", "Control", "&Record", "F5", "Records at the current position (or over selection).", ceAlways, cpMenus, false},
    {"ActionPlay", "Control", "&Play", "F9", "Plays the current file from the current position. ", ceAlways, cpMenus, false},
    {"ActionLoopPlay", "Control", "L&oop Play", "Shift+F9", "Repeats playing the current selection. ", ceAlways, cpMenus, false},
    {"ActionPause", "Control", "&Pause", "", "Pauses playback.", ceAlways, cpMenus, false},
    {"ActionStop", "Control", "&Stop", "Esc", "Stops playback.", ceAlways, cpMenus, false},
    {"ActionStart", "Control", "&Go to Start", "Home", "Moves to the start of the file. ", ceAlways, cpMenus, false},
    {"ActionRewind", "Control", "Re&wind", "F7", "Rewinds.", ceAlways, cpMenus, false},
    {"ActionForword", "Control", "&Fast Forword", "F8", "Fast-forwards.", ceAlways, cpMenus, false},
    {"ActionEnd", "Control", "Go To &End", "End", "Moves to the end of the current file.", ceAlways, cpMenus, false},
    {"ActionPlayAndPause", "Control", "...", "Space", "", ceAlways, cpShortCutOnly, false},
    {"ActionSetBookmark", "Bookmark", "&Set Bookmark", "Ctrl+B", "Remembers the current position of the file.", ceLength, cpMenus, false},
    {"ActionOpenBookmarkList", "Bookmark", "&Open Bookmark List", "Ctrl+Shift+B", "Set a specified bookmark at the current position. ", ceAnyWindow, cpMenus, false},
    {"ActionAddRegion", "Bookmark", "&Add Region", "Ctrl+R", "Remembers the current selection of the file.", ceSelection, cpMenus, false},
    {"ActionOpenRegionList", "Bookmark", "&Open Region List", "Ctrl+Shift+R", "Select a specified region. ", ceAnyWindow, cpMenus, false},
    {"ActionBatch", "Tools", "Batch Converter", "", "Applies multiple effect or edit functions on the current file at once.", ceAlways, cpMenus, false},
    {"ActionFrequencyAnalysis", "Tools", "&Frequency Analysis (FFT)", "", "Views the spectral content of an audio signal.", ceAnyWindow, cpMenus, false},
    {"ActionTextToSpeech", "Tools", "Text To &Speech", "", "Converts text to audio.", ceAlways, cpMenus, false},
    {"ActionShowCommandBar", "View", "Show Command Bar", "Ctrl+Shift+A", "", ceAlways, cpMenus, false},
    {"ActionBarOntheLeft", "View", "On the Left", "", "", ceAlways, cpMenus, false},
    {"ActionBarOntheRight", "View", "On the Right", "", "", ceAlways, cpMenus, false},
    {"ActionShowMainToolbar", "View", "Main Toolbar", "", "", ceAlways, cpMenus, true},
    {"ActionShowEffectsToolbar", "View", "Effects Toolbar", "", "", ceAlways, cpMenus, true},
    {"ActionCascade", "Window", "&Cascade", "", "Cascade windows on the Desktop.", ceAnyWindow, cpMenus, false},
    {"ActionTileHorizontal", "Window", "Tile &Horizontal", "", "Tile windows horizontally on the Desktop.", ceAnyWindow, cpMenus, false},
    {"ActionTileVertical", "Window", "Tile &Vertical", "", "Tile windows vertically on the Desktop.", ceAnyWindow, cpMenus, false},
    {"ActionArrangeIcons", "Window", "&Arrange Icons", "", "Arrange all iconized Windows.", ceAnyWindow, cpMenus, false},
    {"ActionZoomIn", "Window", "&Zoom In", "", "Zooms in.", ceLength, cpMenus, false},
    {"ActionZoomOut", "Window", "Zoom &Out", "", "Zooms out.", ceLength, cpMenus, false},
    {"ActionZoomToSelection", "Window", "Zoom To &Selection", "", "Zooms to the selected region.", ceSelection, cpMenus, false},
    {"ActionZoomFull", "Window", "Zoom &Full", "", "Displays the entire wave length.", ceZoomFull, cpMenus, false},
    {"ActionCloseAll", "Window", "Close All", "", "Closes all windows.", ceAnyWindow, cpMenus, false},
    {"ActionHelp", "Help", "&Help Contents", "F1", "Displays the manual. ", ceAlways, cpMenus, false},
    {"ActionHomePage", "Help", "Sonalix Home Page", "", "", ceAlways, cpMenus, false},
    {"ActionTechnicalSupport", "Help", "Sonalix Technical Support", "", "", ceAlways, cpMenus, false},
    {"ActionRelatedSoftware", "Help", "More Related Software", "", "", ceAlways, cpMenus, false},
    {"ActionKorvane", "Help", "Korvane Homepage", "", "", ceAlways, cpMenus, false},
    {"ActionAbout", "Help", "About", "", "Displays program information including version number.", ceAlways, cpMenus, false},
  };
  return commands;
}

const TCommandInfo* FindMainCommand(const std::string& Name) {
  for (const TCommandInfo& c : MainCommands())
    if (Name == c.Name) return &c;
  return nullptr;
}

TCommandState CommandStateOf(IAudioEditor2* ActiveEditor, const std::string& ActiveFileName,
                             int DocumentWindows, bool ClipboardFilled) {
  TCommandState s;
  s.DocumentWindows = DocumentWindows;
  s.ClipboardFilled = ClipboardFilled;
  if (!ActiveEditor) return s;
  s.Document = true;
  s.HasFileName = !ActiveFileName.empty();
  s.CanUndo = ActiveEditor->CanUndo();
  s.CanRedo = ActiveEditor->CanRedo();
  IAudioEditor2Position* position = ActiveEditor->Position();
  s.SelectionStart = position->SelectionStart();
  s.SelectionEnd = position->SelectionEnd();
  s.Length = position->Length();
  s.ViewStart = position->ViewStart();
  s.ViewEnd = position->ViewEnd();
  return s;
}

bool CommandEnabled(TCommandEnabling Enabling, const TCommandState& State) {
  const bool length = State.Document && State.Length > 0;
  const bool selection = length && State.SelectionEnd > State.SelectionStart;
  switch (Enabling) {
    case ceAlways: return true;
    case ceDocument: return State.Document;
    case ceFileName: return State.Document && State.HasFileName;
    case ceUndo: return State.Document && State.CanUndo;
    case ceRedo: return State.Document && State.CanRedo;
    case ceLength: return length;
    case ceSelection: return selection;
    case ceClipboard: return State.Document && State.ClipboardFilled;
    case ceAnyWindow: return State.DocumentWindows > 0;
    case ceZoomFull: return length && (State.ViewStart != 0 || State.ViewEnd != State.Length);
  }
  return true;
}

void CreateMainActions(TActionList* List, TComponent* Owner) {
  for (const TCommandInfo& c : MainCommands()) {
    auto* action = new TAction(Owner);
    action->SetName(c.Name);
    action->SetCategory(c.Category);
    action->SetCaption(c.Caption);
    action->SetHint(c.Hint);
    if (*c.ShortCut) action->SetShortCut(TextToShortCut(c.ShortCut));
    action->SetVisible(!c.Hidden);
    action->SetImageIndex(AppGlyphIndex(c.Name));
    action->SetActionList(List);
  }
}

void ApplyCommandStates(TActionList* List, const TCommandState& State) {
  for (int i = 0; i < List->ActionCount(); ++i) {
    auto* action = dynamic_cast<TCustomAction*>(List->Actions(i));
    if (!action) continue;
    if (const TCommandInfo* c = FindMainCommand(action->Name()))
      action->SetEnabled(CommandEnabled(c->Enabling, State));
  }
}

const std::vector<TCommandPanelGroup>& CommandPanelGroups() {
  static const std::vector<TCommandPanelGroup> groups = {
      {"Files",
       {{"Open an existing file", "ActionOpenFile"},
        {"Create a new file", "ActionNewFile"},
        {"Load tracks from CD", "ActionLoadCD"},
        {"Save this file", "ActionSaveFile"},
        {"Save file as...", "ActionSaveAs"}}},
      {"Edit",
       {{"Undo last edit or effect", "ActionUndo"},
        {"Cut selection", "ActionCut"},
        {"Copy selection", "ActionCopy"},
        {"Delete selection", "ActionDelete"},
        {"Mix file with selection", "ActionMixFile"},
        {"Trim start and end", "ActionTrim"},
        {"Split into two files", "ActionSplitIntoTwo"}}},
      {"Effects",
       {{"Amplify louder or softer", "ActionAmplify"},
        {"Normalize to optimal level", "ActionNormalize"},
        {"Fade In", "ActionFadeIn"},
        {"Fade Out", "ActionFadeOut"},
        {"Remove noise or hiss", "ActionNoiseReduction"}}},
      {"Tools", {{"Batch processor", "ActionBatch"}}},
      {"Boolmark",
       {{"Bookmark current position", "ActionSetBookmark"},
        {"Open bookmark list", "ActionOpenBookmarkList"}}},
      {"Region",
       {{"Make selection a new region", "ActionAddRegion"},
        {"Open region list", "ActionOpenRegionList"}}},
  };
  return groups;
}

bool CommandPanelGroupVisible(const TCommandPanelGroup& Group, const TCommandState& State) {
  for (const TCommandPanelItem& item : Group.Items)
    if (const TCommandInfo* c = FindMainCommand(item.Action); c && CommandEnabled(c->Enabling, State))
      return true;
  return false;
}
