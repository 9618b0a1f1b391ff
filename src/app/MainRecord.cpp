// Recording and text to speech: a work file in the temporary folder, made by the recording
// window or the speech dialog, inserted at the cursor or into a new document.
#include <filesystem>
#include <string>

#include "Imports/AudioEditorControl.h"
#include "app/Child.h"
#include "app/Main.h"
#include "app/NewFile.h"
#include "appbase/Globals.h"
#include "appbase/Utils.h"
#include "operations/FormatSummary.h"
#include "operations/RecordControl.h"
#include "operations/TextToSpeechDialog.h"

namespace {

// A work file in the temporary folder (made when missing), deleted before it is used.
std::string WorkFile(const char* Name) {
  std::error_code ec;
  std::filesystem::create_directories(GlobalVars.TempFolder, ec);
  const std::string path = AddTrailingBackslash(GlobalVars.TempFolder) + Name;
  std::filesystem::remove(path, ec);
  return path;
}

void RemoveFile(const std::string& Path) {
  std::error_code ec;
  std::filesystem::remove(Path, ec);
}

}  // namespace

bool TMainForm::FormatForWorkFile(int& Rate, int& Channels) {
  if (IAudioEditor2* e = ActiveEditor()) {
    NewDocumentFormat(e, Rate, Channels);
    return true;
  }
  Rate = GlobalVars.OP_DefSample;
  Channels = GlobalVars.OP_DefChannel;
  return !GlobalVars.OP_PromptNewFile || AskNewFileFormat(this, false, Rate, Channels);
}

void TMainForm::InsertWorkFile(const std::string& Path, int Rate, int Channels) {
  if (IAudioEditor2* e = ActiveEditor()) {
    e->InsertFile(Path);
    SetModified(true);
    return;
  }
  TChildForm* doc = NewEmptyDocument(Rate, Channels);
  if (!doc) return;
  doc->Modified = true;
  doc->AudioEditor->InsertFile(Path);
  if (GlobalVars.OP_TileFormAfter) ActionTileHorizontalExecute(this);
}

void TMainForm::ActionRecordExecute(TObject*) {
  int rate = 44100, channels = 2;
  if (!FormatForWorkFile(rate, channels)) return;
  const std::string file = WorkFile("SonalixRecording.wav");
  // The window records at 48000 Hz at most and says in what format it did: a new document
  // takes that format, an open one converts what it inserts to its own.
  if (!RecordToFile(this, rate, channels, file)) {
    RemoveFile(file);
    return;
  }
  InsertWorkFile(file, rate, channels);
}

void TMainForm::ActionTextToSpeechExecute(TObject*) {
  int rate = 44100, channels = 2;
  if (!FormatForWorkFile(rate, channels)) return;
  const std::string file = WorkFile("SynthesizeSpeech.wav");
  bool ok = false;
  {
    TTextToSpeechForm dialog(this);
    CenterOverWindow(&dialog, this);
    dialog.SpeechSampleRate = rate;
    dialog.SpeechChannels = channels;
    dialog.SpeechFile = file;
    ok = dialog.ShowModal() == mrOk;
    rate = dialog.SpeechSampleRate;
    channels = dialog.SpeechChannels;
  }
  if (!ok) {
    RemoveFile(file);
    return;
  }
  InsertWorkFile(file, rate, channels);
}
