// Saving documents, the output-format routines, sample-rate conversion and the audio tags.
#include <optional>
#include <string>

#include "Imports/AudioEditorControl.h"
#include "Imports/XOQAUDIOFILE2Lib_TLB.h"
#include "app/Child.h"
#include "app/Main.h"
#include "appbase/Globals.h"
#include "appbase/Utils.h"
#include "audio/OutputFormat.h"
#include "operations/ConvertSampleRate.h"
#include "operations/FormatSetup.h"
#include "operations/FormatSummary.h"
#include "operations/OutputFormatApply.h"
#include "operations/SmallEditDialogs.h"
#include "suite/extras/dxBarExtItems.h"

namespace {

// A save format known by the file name's extension: the setup dialog's index and the writer's
// format code.
struct TSaveFormat {
  int Setup;
  int Code;
};

std::optional<TSaveFormat> SaveFormatOf(const std::string& FileName) {
  const std::string ext = LowerCase(ExtractFileExt(FileName));
  if (ext == ".wav") return TSaveFormat{0, afWav};
  if (ext == ".mp3") return TSaveFormat{1, afMp3};
  if (ext == ".ogg") return TSaveFormat{2, afOgg};
  if (ext == ".wma") return TSaveFormat{3, afWma};
  return std::nullopt;
}

void ShowError(const std::string& Text) {
  Application->MessageBox(Text, Application->Title(), MB_OK | MB_ICONERROR);
}

}  // namespace

TAudioEditor2LameEnc& TMainForm::LameEncoder() {
  if (!LameEnc) LameEnc = new TAudioEditor2LameEnc(this);
  return *LameEnc;
}

bool TMainForm::ApplyFormatTo(IAudioEditor2* Editor, int Format) {
  if (!Editor || !Editor->FileFormat()) return false;
  return ApplyOutputFormat(GlobalVars, Format, LameEncoder(), *Editor->FileFormat());
}

bool TMainForm::ApplyWavFormat() { return ApplyFormatTo(ActiveEditor(), afWav); }
bool TMainForm::ApplyMp3Format() { return ApplyFormatTo(ActiveEditor(), afMp3); }
bool TMainForm::ApplyOggFormat() { return ApplyFormatTo(ActiveEditor(), afOgg); }
bool TMainForm::ApplyWmaFormat() { return ApplyFormatTo(ActiveEditor(), afWma); }

bool TMainForm::SaveDocument(TChildForm* Document, bool SaveAs, bool SelectionOnly) {
  if (!Document || !Document->AudioEditor) return false;
  std::string name = Document->FileName;
  // A document whose name no writer takes ("Untitled3", an ".aif" it was opened from) needs a
  // name just as Save As does; writing nothing would lose the user's work on close.
  if (SaveAs || name.empty() || !SaveFormatOf(name)) {
    if (!SaveDialog) return false;
    SaveDialog->SetFileName(ChangeFileExt(ExtractFileName(name), ""));
    const std::string folder = ExtractFilePath(name);
    if (!folder.empty()) SaveDialog->SetInitialDir(folder);
    if (!SaveDialog->Execute()) return false;
    name = SaveDialog->FileName();
  }
  const std::optional<TSaveFormat> format = SaveFormatOf(name);
  if (!format) return false;
  if (!RunSaveFormatSetup(format->Setup, this)) return false;
  IAudioEditor2* editor = Document->AudioEditor;
  ApplyFormatTo(editor, format->Code);
  try {
    editor->SaveFile(name, SelectionOnly, format->Code);
  } catch (const std::exception& e) {
    std::string reason = e.what();
    if (reason.find(name) == std::string::npos)
      reason = "\"" + name + "\" could not be saved.\n" + reason;
    ShowError(reason);
    return false;
  }
  // Only the selection went out: the document is still the whole sound under its old name.
  if (SelectionOnly) return true;
  if (name != Document->FileName) {
    Document->SetFileName(name);
    if (dxBarMRUFiles) {
      dxBarMRUFiles->RemoveEntry(name);
      dxBarMRUFiles->InsertAtTop(name);
    }
  }
  Document->Modified = false;
  return true;
}

void TMainForm::ActionSaveFileExecute(TObject*) { SaveDocument(ActiveDocument(), false, false); }
void TMainForm::ActionSaveAsExecute(TObject*) { SaveDocument(ActiveDocument(), true, false); }
void TMainForm::ActionSaveSelectExecute(TObject*) { SaveDocument(ActiveDocument(), true, true); }

void TMainForm::ActionConvertSampleRateExecute(TObject*) {
  IAudioEditor2* editor = ActiveEditor();
  if (!editor || !editor->FileInfo()) return;
  TConvertSampleRateForm dialog(this);
  CenterOverWindow(&dialog, this);
  const int rate = editor->FileInfo()->SampleRate();
  int index = 3;
  for (int i = 0; i < 10; ++i)
    if (ConvertSampleRates[i] == rate) index = i;
  dialog.ComboBoxRate->SetItemIndex(index);
  dialog.GroupBoxSChannels->SetItemIndex(editor->FileInfo()->Channels() == 1 ? 0 : 1);
  if (dialog.ShowModal() != mrOk) return;
  const int chosen = dialog.ComboBoxRate->ItemIndex();
  const int newRate = chosen >= 0 && chosen < 10 && chosen != 3 ? ConvertSampleRates[chosen] : 44100;
  editor->ConvertFormat(newRate, dialog.GroupBoxSChannels->ItemIndex() == 0 ? 1 : 2);
  SetModified(true);
}

void TMainForm::ActionEditID3Execute(TObject*) {
  IAudioEditor2* editor = ActiveEditor();
  if (!editor || !editor->FileInfo()) return;
  IAudioEditor2FileInfo* info = editor->FileInfo();
  TEditID3Form dialog(this);
  CenterOverWindow(&dialog, this);
  for (int i = 0; i < 148; ++i) {
    std::string genre;
    info->GenreName(i, genre);
    dialog.ComboBoxGenre->Items()->Add(genre);
  }
  dialog.EditTitle->SetText(info->Title());
  dialog.EditArtist->SetText(info->Artist());
  dialog.EditAlbum->SetText(info->Album());
  dialog.ComboBoxGenre->SetItemIndex(info->GenreIndex());
  dialog.EditYear->SetText(std::to_string(info->Year()));
  dialog.MemoComment->Lines()->SetText(info->Comment());
  if (dialog.ShowModal() != mrOk) return;
  // The year is read first: a year that is no number changes none of the tags.
  const std::string yearText = Trim(dialog.EditYear->Text());
  int year = 0;
  if (!yearText.empty() && !TryStrToInt(yearText, year)) {
    ShowError("'" + yearText + "' is not a valid integer value");
    return;
  }
  info->SetTitle(dialog.EditTitle->Text());
  info->SetArtist(dialog.EditArtist->Text());
  info->SetAlbum(dialog.EditAlbum->Text());
  info->SetGenreIndex(dialog.ComboBoxGenre->ItemIndex());
  info->SetYear(year);
  info->SetComment(dialog.MemoComment->Lines()->Text());
  SetModified(true);
}
