// What the frame does with the events of every document's editor (time labels, scroll bars,
// progress, level meters), the volume slider, the transport commands and buttons, and the
// selection commands.
#include <algorithm>

#include "Imports/AudioEditorControl.h"
#include "app/Child.h"
#include "app/Main.h"
#include "app/Progress.h"
#include "appbase/Globals.h"
#include "appbase/Utils.h"
#include "controls/ImageSlider.h"
#include "controls/RzPrgres.h"
#include "platform/gui/ComCtrls.h"
#include "suite/bars/dxBar.h"

namespace {
std::string MsText(IAudioEditor2Position* Pos, int Samples) {
  int ms = 0;
  Pos->SamplesToMs(Samples, ms);
  return FormatMsTime(ms);
}

void Select(IAudioEditor2Position* Pos, int A, int B) {
  Pos->SetSelectionActive(true);
  Pos->SetSelectionStart(A);
  Pos->SetSelectionEnd(B);
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// Editor events

void TMainForm::EditorPositionChanged(TObject*) {
  struct TUpdating {
    bool& Flag;
    ~TUpdating() { Flag = false; }
  } guard{PositionUpdating};
  PositionUpdating = true;
  TChildForm* d = ActiveDocument();
  if (!d) return;
  IAudioEditor2Position* pos = d->AudioEditor->Position();
  const int start = pos->SelectionStart(), end = pos->SelectionEnd(), length = pos->Length();
  if (LabelStart) LabelStart->SetCaption(MsText(pos, start));
  if (LabelEnd) LabelEnd->SetCaption(MsText(pos, end));
  if (LabelSelLength) LabelSelLength->SetCaption(MsText(pos, std::abs(end - start)));
  if (LabelFileLength) LabelFileLength->SetCaption(MsText(pos, length));
  if (!d->ScrollUpdating && length != 0) {
    d->ScrollBarStart->SetPosition(int(Round(double(start) / length * 65535)));
    d->ScrollBarEnd->SetPosition(int(Round(double(end) / length * 65535)));
  }
  FeedFrequencyAnalysis();
}

void TMainForm::EditorPlayPositionChanged(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  if (LabelStart) LabelStart->SetCaption(MsText(e->Position(), e->Position()->Cursor()));
  FeedFrequencyAnalysis();
}

void TMainForm::EditorBlockOperation(TObject*, int16_t Percent) {
  if (!HasDocument()) return;
  SetEnabled(false);
  if (FormProgress) FormProgress->ShowProgress(this, Percent);
}

void TMainForm::EditorEndOperation(TObject*) {
  if (!HasDocument()) return;
  SetEnabled(true);
  if (FormProgress) FormProgress->EndProgress();
}

void TMainForm::EditorMeter(TObject*, int LevelLeft, int LevelRight) {
  if (!HasDocument()) return;
  // 67 and below show nothing, 92 a full bar; louder levels are passed on as they are.
  if (LeftBar) LeftBar->SetPercent(uint16_t(std::max(0, LevelLeft - 67) * 4));
  if (RightBar) RightBar->SetPercent(uint16_t(std::max(0, LevelRight - 67) * 4));
}

void TMainForm::EditorDblClick(TObject*) {
  if (HasDocument()) ActionSelectAllExecute(this);
}

void TMainForm::LayoutMeter() {
  if (!ScrollBarValue) return;
  ScrollBarValue->SetAnchors({akLeft, akTop, akRight});
  ScrollBarValue->SetBounds(634, 28, Width() - 634 - 12, ScrollBarValue->Height());
  // The two bars lie on a black strip over the slider, one above the other.
  const int left = ScrollBarValue->Left() + 6, width = ScrollBarValue->Width() - 12;
  if (pnlMeter) {
    pnlMeter->SetAnchors({akLeft, akTop, akRight});
    pnlMeter->SetColor(clBlack);
    pnlMeter->SetBounds(left, 10, width, 14);
  }
  for (TRzProgressBar* bar : {LeftBar, RightBar}) {
    if (!bar) continue;
    bar->SetAnchors({akLeft, akTop, akRight});
    bar->SetBackColor(clBlack);
    bar->SetBounds(0, bar == LeftBar ? 0 : 7, width, 7);
  }
}

void TMainForm::ScrollBarValueChange(TObject*) {
  if (!ScrollBarValue) return;
  GlobalVars.DeviceOutputVolume = ScrollBarValue->Value();
  if (IAudioEditor2* e = ActiveEditor()) e->OutputDevice()->SetVolume(ScrollBarValue->Value());
}

void TMainForm::TimeLabelDblClick(TObject*) { ActionSelectSpecifiedTimeExecute(this); }

void TMainForm::TimeLabelMouseUp(TObject*, TMouseButton Button, TShiftState, int, int) {
  if (Button == mbRight && dxBarPopupMenuSelection) dxBarPopupMenuSelection->PopupAtCursor();
}

// ---------------------------------------------------------------------------------------------
// Transport

void TMainForm::ActionPlayExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  switch (e->PlayState()) {
    case 0: e->Play(1); break;
    case 1: e->Stop(); break;
    case 5: e->Resume(); break;
    default: break;
  }
}

void TMainForm::ActionPlayAndPauseExecute(TObject* Sender) { ActionPlayExecute(Sender); }

void TMainForm::ActionLoopPlayExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  switch (e->PlayState()) {
    case 0: e->Play(3); break;
    case 1: e->Stop(); break;
    case 5: e->Resume(); break;
    default: break;
  }
}

void TMainForm::ActionPauseExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  switch (e->PlayState()) {
    case 0: e->Play(1); break;
    case 1: e->Pause(); break;
    case 5: e->Resume(); break;
    default: break;
  }
}

void TMainForm::ActionStopExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  const int state = e->PlayState();
  if (state == 1 || state == 2 || state == 5) e->Stop();
}

void TMainForm::ActionStartExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  e->Position()->SetSelectionActive(false);
  e->Position()->SetCursor(0);
  KeepCursorVisible();
}

void TMainForm::ActionEndExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  e->Position()->SetSelectionActive(false);
  e->Position()->SetCursor(e->Position()->Length());
  KeepCursorVisible();
}

void TMainForm::StepBack() {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  IAudioEditor2Position* pos = e->Position();
  pos->SetSelectionActive(false);
  const int c = pos->Cursor();
  pos->SetCursor(c <= 2000 ? 0 : c - 2000);
}

void TMainForm::StepForward() {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  IAudioEditor2Position* pos = e->Position();
  pos->SetSelectionActive(false);
  const int c = pos->Cursor(), length = pos->Length();
  pos->SetCursor(length - 2000 < c ? length : c + 2000);
}

void TMainForm::KeepCursorVisible() {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  IAudioEditor2Position* pos = e->Position();
  const int vs = pos->ViewStart(), ve = pos->ViewEnd(), c = pos->Cursor(), w = ve - vs;
  if (vs <= c && c <= ve) return;
  if (c < vs) {
    pos->SetViewStart(c - w <= 0 ? 0 : c - w);
    pos->SetViewEnd(pos->ViewStart() + w);
  } else {
    pos->SetViewEnd(c + w < pos->Length() ? c + w : pos->Length());
    pos->SetViewStart(pos->ViewEnd() - w);
  }
  e->RefreshView();
}

void TMainForm::ActionRewindExecute(TObject*) { StepBack(); }
void TMainForm::ActionForwordExecute(TObject*) { StepForward(); }

void TMainForm::TimerRewindTimer(TObject*) {
  StepBack();
  KeepCursorVisible();
}

void TMainForm::TimerForwordTimer(TObject*) {
  StepForward();
  KeepCursorVisible();
}

void TMainForm::ButtonPlayClick(TObject* Sender) { ActionPlayExecute(Sender); }
void TMainForm::ButtonRecordClick(TObject* Sender) { ActionRecordExecute(Sender); }
void TMainForm::ButtonPauseClick(TObject* Sender) { ActionPauseExecute(Sender); }
void TMainForm::ButtonStopClick(TObject* Sender) { ActionStopExecute(Sender); }
void TMainForm::ButtonStartClick(TObject* Sender) { ActionStartExecute(Sender); }
void TMainForm::ButtonEndClick(TObject* Sender) { ActionEndExecute(Sender); }

void TMainForm::ButtonRewindMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  if (TimerRewind) TimerRewind->SetEnabled(true);
}
void TMainForm::ButtonRewindMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  if (TimerRewind) TimerRewind->SetEnabled(false);
}
void TMainForm::ButtonForwordMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  if (TimerForword) TimerForword->SetEnabled(true);
}
void TMainForm::ButtonForwordMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  if (TimerForword) TimerForword->SetEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// Selection

void TMainForm::ActionSelectAllExecute(TObject*) {
  if (IAudioEditor2* e = ActiveEditor()) Select(e->Position(), 0, e->Position()->Length());
}

void TMainForm::ActionSelectToStartExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  IAudioEditor2Position* pos = e->Position();
  Select(pos, 0, pos->SelectionEnd() + pos->Cursor() - pos->SelectionStart());
}

void TMainForm::ActionSelectToEndExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  IAudioEditor2Position* pos = e->Position();
  Select(pos, pos->SelectionEnd() + pos->Cursor() - pos->SelectionStart(), pos->Length());
}
