// The Edit commands: clipboard, trimming, splitting, silence and file insertion, mixing, looping
// and the typed selection.
#include <string>

#include "Imports/AudioEditorControl.h"
#include "Imports/XOQAUDIOINFORMATION2Lib_TLB.h"
#include "app/Child.h"
#include "app/Main.h"
#include "appbase/Globals.h"
#include "appbase/Utils.h"
#include "audio/SampleBuffer.h"
#include "operations/FormatSummary.h"
#include "operations/SelectSpecifiedTime.h"
#include "operations/SmallEditDialogs.h"

namespace {

void Select(IAudioEditor2Position* Pos, int A, int B) {
  Pos->SetSelectionActive(true);
  Pos->SetSelectionStart(A);
  Pos->SetSelectionEnd(B);
}

void ShowError(const std::string& Text) {
  Application->MessageBox(Text, Application->Title(), MB_OK | MB_ICONERROR);
}

}  // namespace

// The rate and channels a document made from Editor's (split off, copied, recorded or spoken) gets.
void NewDocumentFormat(IAudioEditor2* Editor, int& Rate, int& Channels) {
  static constexpr int kRates[] = {6000,  8000,  11025, 12000, 16000, 22050,
                                   24000, 32000, 44100, 48000, 88200, 96000};
  const int rate = Editor->FileInfo()->SampleRate();
  Rate = 44100;
  for (int r : kRates)
    if (r == rate) Rate = rate;
  const int channels = Editor->FileInfo()->Channels();
  Channels = channels == 1 || channels == 2 ? channels : 2;
}

void TMainForm::AfterEdit() {
  SetModified(true);
  if (GlobalVars.OP_PlayAfterEdit) ActionPlayExecute(this);
}

// A new document holding Samples, for Split and Copy To New. The samples travel directly, so
// what the user cut or copied stays for Paste.
void TMainForm::NewDocumentWith(IAudioEditor2* Source, SampleBuffer& Samples) {
  int rate = 44100, channels = 2;
  NewDocumentFormat(Source, rate, channels);
  TChildForm* doc = NewEmptyDocument(rate, channels);
  if (!doc) return;
  doc->Modified = true;
  doc->AudioEditor->InsertPcm(Samples);
  doc->AudioEditor->Position()->SetSelectionActive(false);
  if (GlobalVars.OP_TileFormAfter) ActionTileHorizontalExecute(this);
}

void TMainForm::ActionUndoExecute(TObject*) {
  if (IAudioEditor2* e = ActiveEditor()) e->Undo();
}

void TMainForm::ActionRedoExecute(TObject*) {
  if (IAudioEditor2* e = ActiveEditor()) e->Redo();
}

void TMainForm::ActionCutExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  ClipboardFilled = true;
  ClipboardLength = e->Position()->SelectionEnd() - e->Position()->SelectionStart();
  e->Cut();
  AfterEdit();
}

void TMainForm::ActionCopyExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  ClipboardFilled = true;
  ClipboardLength = e->Position()->SelectionEnd() - e->Position()->SelectionStart();
  e->Copy();
}

void TMainForm::ActionPasteExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  e->Paste();
  AfterEdit();
}

void TMainForm::ActionDeleteExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  e->DeleteSelection();
  AfterEdit();
}

void TMainForm::ActionSilenceSelectExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  e->Effects()->Silence();
  SetModified(true);
}

void TMainForm::ActionTrimStartExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  ActionSelectToStartExecute(this);
  e->DeleteSelection();
  SetModified(true);
  if (GlobalVars.OP_TileFormAfter) ActionTileHorizontalExecute(this);
}

void TMainForm::ActionTrimEndExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  ActionSelectToEndExecute(this);
  e->DeleteSelection();
  SetModified(true);
  if (GlobalVars.OP_TileFormAfter) ActionTileHorizontalExecute(this);
}

void TMainForm::ActionTrimExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  IAudioEditor2Position* pos = e->Position();
  if (pos->SelectionStart() == pos->SelectionEnd()) {
    ShowError("You must select an audio part before this operstion.");
    return;
  }
  e->BeginGroup();
  try {
    SampleBuffer kept = e->CopyPcm(pos->SelectionEnd() - pos->SelectionStart());
    ActionSelectAllExecute(this);
    e->DeleteSelection();
    e->InsertPcm(kept);
  } catch (...) {
    e->EndGroup();
    throw;
  }
  e->EndGroup();
  SetModified(true);
  if (GlobalVars.OP_TileFormAfter) ActionTileHorizontalExecute(this);
}

void TMainForm::ActionSplitIntoTwoExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  IAudioEditor2Position* pos = e->Position();
  if (pos->Cursor() == 0 || pos->Cursor() == pos->Length()) {
    ShowError("You can not select the start or the end of the audio file when using this function.");
    return;
  }
  ActionSelectToEndExecute(this);
  SampleBuffer tail = e->CopyPcm(pos->SelectionEnd() - pos->SelectionStart());
  e->DeleteSelection();
  NewDocumentWith(e, tail);
}

void TMainForm::ActionCopyToNewExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  IAudioEditor2Position* pos = e->Position();
  SampleBuffer part = e->CopyPcm(pos->SelectionEnd() - pos->SelectionStart());
  NewDocumentWith(e, part);
}

void TMainForm::InsertSilenceAt(TInsertPlace Where) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  TInsertSilenceForm dialog(this);
  CenterOverWindow(&dialog, this);
  dialog.EditSilenceTime->SetText(std::to_string(GlobalVars.InsertSilenceTime));
  if (dialog.ShowModal() != mrOk) return;
  GlobalVars.InsertSilenceTime = StrToInt(Trim(dialog.EditSilenceTime->Text()));
  if (GlobalVars.InsertSilenceTime == 0) return;
  IAudioEditor2Position* pos = e->Position();
  pos->SetSelectionActive(false);
  if (Where == ipBegin) pos->SetCursor(0);
  if (Where == ipEnd) pos->SetCursor(pos->Length());
  e->Effects()->InsertSilence(GlobalVars.InsertSilenceTime);
  AfterEdit();
}

void TMainForm::InsertFileAt(TInsertPlace Where) {
  IAudioEditor2* e = ActiveEditor();
  if (!e || !OpenDialog) return;
  OpenDialog->SetFileName("");
  OpenDialog->SetInitialDir(GlobalVars.LastOpenDir);
  if (!OpenDialog->Execute()) return;
  const std::string path = OpenDialog->FileName();
  IAudioEditor2Position* pos = e->Position();
  pos->SetSelectionActive(false);
  if (Where == ipBegin) pos->SetCursor(0);
  if (Where == ipEnd) pos->SetCursor(pos->Length());
  e->InsertFile(path);
  GlobalVars.LastOpenDir = ExtractFilePath(path);
  AfterEdit();
}

void TMainForm::ActionInsertSilenceBeginExecute(TObject*) { InsertSilenceAt(ipBegin); }
void TMainForm::ActionInsertSilenceCurrentExecute(TObject*) { InsertSilenceAt(ipCurrent); }
void TMainForm::ActionInsertSilenceEndExecute(TObject*) { InsertSilenceAt(ipEnd); }
void TMainForm::ActionInsertFileBeginExecute(TObject*) { InsertFileAt(ipBegin); }
void TMainForm::ActionInsertFileCurrentExecute(TObject*) { InsertFileAt(ipCurrent); }
void TMainForm::ActionInsertFileEndExecute(TObject*) { InsertFileAt(ipEnd); }

bool TMainForm::AskMix(IAudioEditor2* Editor) {
  TPasteMixForm dialog(this);
  CenterOverWindow(&dialog, this);
  if (Editor->Position()->Length() == 0) {
    GlobalVars.IncreaseSelection = false;
    dialog.RadioButtonIncreaseSelection->SetEnabled(false);
  }
  dialog.EditSelectPart->SetText(std::to_string(GlobalVars.SelectePartPercent));
  dialog.EditAudioInBuffer->SetText(std::to_string(GlobalVars.AudioInBufferPercent));
  dialog.RadioButtonIncreaseSelection->SetChecked(GlobalVars.IncreaseSelection);
  dialog.RadioButtonInsertSilence->SetChecked(!GlobalVars.IncreaseSelection);
  if (dialog.ShowModal() != mrOk) return false;
  GlobalVars.SelectePartPercent = StrToInt(Trim(dialog.EditSelectPart->Text()));
  GlobalVars.AudioInBufferPercent = StrToInt(Trim(dialog.EditAudioInBuffer->Text()));
  GlobalVars.IncreaseSelection = dialog.RadioButtonIncreaseSelection->Checked();
  return true;
}

// With the insert-silence choice, a selection shorter than what is mixed in is first widened
// by silence at its end.
void TMainForm::WidenForMix(IAudioEditor2* Editor, int Start, int End, int64_t Frames) {
  if (GlobalVars.IncreaseSelection || End - Start >= Frames) return;
  IAudioEditor2Position* pos = Editor->Position();
  pos->SetSelectionActive(false);
  pos->SetCursor(End);
  int ms = 0;
  pos->SamplesToMs(int(Frames + Start - End), ms);
  Editor->Effects()->InsertSilence(ms);
  Select(pos, Start, int(Start + Frames));
}

void TMainForm::ActionMixFileExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e || !OpenDialog) return;
  OpenDialog->SetFileName("");
  OpenDialog->SetInitialDir(GlobalVars.LastOpenDir);
  if (!OpenDialog->Execute()) return;
  const std::string path = OpenDialog->FileName();
  const int start = e->Position()->SelectionStart(), end = e->Position()->SelectionEnd();
  if (!AskMix(e)) return;
  GlobalVars.LastOpenDir = ExtractFilePath(path);
  TAudioInformation2 spare(nullptr);
  TAudioInformation2& info = AudioInfo ? *AudioInfo : spare;
  info.OpenFile(path);
  WidenForMix(e, start, end, info.LengthInSamples());
  e->MixFile(float(GlobalVars.SelectePartPercent), path, float(GlobalVars.AudioInBufferPercent));
  AfterEdit();
}

void TMainForm::ActionPasteMixExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  const int start = e->Position()->SelectionStart(), end = e->Position()->SelectionEnd();
  if (!AskMix(e)) return;
  WidenForMix(e, start, end, ClipboardLength);
  e->PasteMix(float(GlobalVars.SelectePartPercent), float(GlobalVars.AudioInBufferPercent));
  AfterEdit();
}

void TMainForm::ActionRepeatLoopExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  TRepeatLoopForm dialog(this);
  CenterOverWindow(&dialog, this);
  if (dialog.ShowModal() != mrOk) return;
  SelectAllIfEmpty();
  const int times = StrToInt(Trim(dialog.EditRepeatTimes->Text()));
  if (times == 0) return;
  IAudioEditor2Position* pos = e->Position();
  const int length = pos->SelectionEnd() - pos->SelectionStart();
  SampleBuffer loop = e->CopyPcm(length);
  e->BeginGroup();
  try {
    for (int i = 0; i < times; ++i) {
      pos->SetCursor(pos->Cursor() + length);
      e->InsertPcm(loop);
    }
  } catch (...) {
    e->EndGroup();
    throw;
  }
  e->EndGroup();
  AfterEdit();
}

void TMainForm::ActionSelectSpecifiedTimeExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  IAudioEditor2Position* pos = e->Position();
  TSelectSpecifiedTimeForm dialog(this);
  CenterOverWindow(&dialog, this);
  pos->SamplesToMs(pos->SelectionStart(), dialog.InitialStartMs);
  pos->SamplesToMs(pos->SelectionEnd(), dialog.InitialEndMs);
  pos->SamplesToMs(pos->Length(), dialog.FileLengthMs);
  pos->SamplesToMs(pos->Cursor(), dialog.CursorMs);
  if (dialog.ShowModal() != mrOk) return;
  SelectStartMs = dialog.SelectStartMs;
  SelectEndMs = dialog.SelectEndMs;
  int start = 0, end = 0;
  pos->MsToSamples(SelectStartMs, start);
  pos->MsToSamples(SelectEndMs, end);
  Select(pos, start, end);
}
