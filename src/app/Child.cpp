#include "app/Child.h"

#include <algorithm>

#include "Imports/AudioEditorControl.h"
#include "app/AppPictures.h"
#include "app/Main.h"
#include "appbase/Globals.h"
#include "appbase/Utils.h"
#include "controls/PngImage.h"
#include "controls/PngSpeedButton.h"
#include "platform/gui/ComCtrls.h"
#include "platform/rtl/TypInfo.h"
#include "suite/bars/dxBar.h"

TChildForm::TChildForm(TComponent* AOwner) : TForm(AOwner) {
  // A document window lives in the frame; without one (a tool checking descriptions) it stays a
  // plain hidden form.
  auto* frame = dynamic_cast<TCustomForm*>(Application->MainForm());
  if (frame && frame->FormStyle() == fsMDIForm) SetFormStyle(fsMDIChild);
  InitForm("TChildForm");
}

TChildForm::~TChildForm() { BeforeDestruction(); }

void TChildForm::FormCreate(TObject*) {
  AudioEditor = dynamic_cast<TAudioEditor2*>(FindComponent("AudioEditor"));
  PanelMain = dynamic_cast<TPanel*>(FindComponent("PanelMain"));
  PanelLeft = dynamic_cast<TPanel*>(FindComponent("PanelLeft"));
  PanelRight = dynamic_cast<TPanel*>(FindComponent("PanelRight"));
  ScrollBarStart = dynamic_cast<TScrollBar*>(FindComponent("ScrollBarStart"));
  ScrollBarEnd = dynamic_cast<TScrollBar*>(FindComponent("ScrollBarEnd"));
  ActionList = dynamic_cast<TActionList*>(FindComponent("ActionList"));
  struct {
    const char* Name;
    TPngSpeedButton** Button;
    TAction** Action;
  } zooms[] = {{"ZoomIn", &ButtonZoomIn, &ActionZoomIn},
               {"ZoomOut", &ButtonZoomOut, &ActionZoomOut},
               {"ZoomSelection", &ButtonZoomSelection, &ActionZoomSelection},
               {"ZoomFull", &ButtonZoomFull, &ActionZoomFull}};
  for (auto& z : zooms) {
    *z.Button = dynamic_cast<TPngSpeedButton*>(FindComponent(std::string("Button") + z.Name));
    *z.Action = dynamic_cast<TAction*>(FindComponent(std::string("Action") + z.Name));
    TPNGObject png;
    if (*z.Button && LoadAppPng(std::string("Button") + z.Name, png)) (*z.Button)->SetPngImage(&png);
  }

  SubstituteFontName(this, "Tahoma", Screen->HintFont()->Name());
  TMainForm* main = MainForm;
  if (main) {
    ++main->DocumentCounter;
    SetTag(main->DocumentCounter);
  }
  if (AudioEditor) {
    auto* e = AudioEditor;
    if (main) {
      e->OnChangePosition = TAudioEditor2NotifyEvent::Bind(main, &TMainForm::EditorPositionChanged, "EditorPositionChanged");
      e->OnBlockOperation = TAudioEditor2BlockOperationEvent::Bind(main, &TMainForm::EditorBlockOperation, "EditorBlockOperation");
      e->OnEndOperation = TAudioEditor2NotifyEvent::Bind(main, &TMainForm::EditorEndOperation, "EditorEndOperation");
      e->OnMeter = TAudioEditor2MeterEvent::Bind(main, &TMainForm::EditorMeter, "EditorMeter");
      e->OnChangeMarker = TAudioEditor2ChangeMarkerEvent::Bind(main, &TMainForm::EditorMarkerChanged, "EditorMarkerChanged");
      e->OnChangePlayPosition = TAudioEditor2NotifyEvent::Bind(main, &TMainForm::EditorPlayPositionChanged, "EditorPlayPositionChanged");
      e->OnDblClick = TNotifyEvent::Bind(main, &TMainForm::EditorDblClick, "EditorDblClick");
    }
    // A new editor plays at the volume the frame's slider shows, not at the control's default.
    e->OutputDevice()->SetVolume(GlobalVars.DeviceOutputVolume);
  }
  if (main && main->dxBarListWindows) main->dxBarListWindows->Items()->AddObject(Caption(), this);
  Modified = true;
  SetupEditorLook();
  for (TScrollBar* bar : {ScrollBarStart, ScrollBarEnd})
    if (bar) {
      bar->SetMin(0);
      bar->SetMax(65535);
    }
}

void TChildForm::SetupEditorLook() {
  if (!AudioEditor) return;
  TAudioEditor2ScaleFont font;
  font.Name = "Tahoma";
  font.Size = 7;
  font.Color = 0xF8DCA8;
  for (IAudioEditor2Scale* scale : {AudioEditor->ScaleX(), AudioEditor->ScaleY()}) {
    scale->SetFont(font);
    scale->SetScaleOption(0);
  }
  AudioEditor->SetTypeBorder(4);
  IAudioEditor2Colors* c = AudioEditor->Colors();
  c->SetColor1(0);
  c->SetColor9(0x66FF66);
  c->SetColor(14, 0x66FF66);
  c->SetColor13(0);
  c->SetColor11(0x808080);
  c->SetColor2(0xFFFFFF);
  c->SetColor5(0xFFFFFF);
  c->SetColor4(0xA75F05);
  c->SetColor3(0x808080);
  c->SetColor8(0);
}

void TChildForm::SetFileName(const std::string& Name) {
  FileName = Name;
  SetCaption(Name);
  if (!MainForm || !MainForm->dxBarListWindows) return;
  TStrings* lines = MainForm->dxBarListWindows->Items();
  const int i = lines->IndexOfObject(this);
  if (i >= 0) lines->SetStrings(i, Name);
}

void TChildForm::ScrollBarsToSelection() {
  if ((MainForm && MainForm->PositionUpdating) || !AudioEditor) return;
  struct TUpdating {
    bool& Flag;
    ~TUpdating() { Flag = false; }
  } guard{ScrollUpdating};
  ScrollUpdating = true;
  IAudioEditor2Position* pos = AudioEditor->Position();
  const double length = pos->Length();
  const int p1 = ScrollBarStart->Position(), p2 = ScrollBarEnd->Position();
  pos->SetSelectionActive(true);
  const int a = int(Round(length * (p1 / 65535.0)));
  const int b = int(Round(length * (p2 / 65535.0)));
  pos->SetSelectionStart(std::min(a, b));
  pos->SetSelectionEnd(std::max(a, b));
}

void TChildForm::ScrollBarStartChange(TObject*) { ScrollBarsToSelection(); }
void TChildForm::ScrollBarEndChange(TObject*) { ScrollBarsToSelection(); }

void ZoomInAroundCursor(TAudioEditor2* Editor) {
  IAudioEditor2Position* pos = Editor->Position();
  const int vs = pos->ViewStart(), ve = pos->ViewEnd(), c = pos->Cursor();
  Editor->ZoomToRange(vs + (c - vs) / 2, ve - (ve - c) / 2);
}

void ZoomToSelectionUnlessShown(TAudioEditor2* Editor) {
  IAudioEditor2Position* pos = Editor->Position();
  if (pos->ViewStart() == pos->SelectionStart() && pos->ViewEnd() == pos->SelectionEnd()) return;
  Editor->ZoomToSelection();
}

void TChildForm::ActionZoomInExecute(TObject*) {
  if (AudioEditor) ZoomInAroundCursor(AudioEditor);
}
void TChildForm::ActionZoomOutExecute(TObject*) {
  if (AudioEditor) AudioEditor->ZoomOut();
}
void TChildForm::ActionZoomFullExecute(TObject*) {
  if (AudioEditor) AudioEditor->ZoomFull();
}
void TChildForm::ActionZoomSelectionExecute(TObject*) {
  if (AudioEditor) ZoomToSelectionUnlessShown(AudioEditor);
}

void TChildForm::ActionListUpdate(TBasicAction*, bool&) {
  if (!AudioEditor) return;
  IAudioEditor2Position* pos = AudioEditor->Position();
  ActionZoomSelection->SetEnabled(pos->SelectionActive());
  ActionZoomFull->SetEnabled(pos->ViewStart() != 0 || pos->ViewEnd() != pos->Length());
  ActionZoomIn->SetEnabled(true);
  ActionZoomOut->SetEnabled(true);
}

void TChildForm::FormCloseQuery(TObject*, bool& CanClose) {
  if (!Modified) return;
  const std::string text = "Do you want to save the changes you made to \"" + Caption() + "\"?";
  switch (Application->MessageBox(text, Application->Title(), MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDCANCEL: CanClose = false; break;
    case IDNO: break;
    case IDYES: CanClose = MainForm && MainForm->SaveDocument(this, false, false); break;
    default: CanClose = false; break;
  }
}

void TChildForm::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TChildForm::FormDeactivate(TObject*) {}

void TChildForm::FormDestroy(TObject*) {
  if (!MainForm || !MainForm->dxBarListWindows) return;
  TStrings* lines = MainForm->dxBarListWindows->Items();
  const int i = lines->IndexOfObject(this);
  if (i >= 0) lines->Delete(i);
}

void RegisterChildClasses() {
  RegisterClass<TChildForm, TForm>();
  Published<TChildForm>()
      .Method("FormCreate", &TChildForm::FormCreate)
      .Method("FormCloseQuery", &TChildForm::FormCloseQuery)
      .Method("FormClose", &TChildForm::FormClose)
      .Method("FormDestroy", &TChildForm::FormDestroy)
      .Method("FormDeactivate", &TChildForm::FormDeactivate)
      .Method("ScrollBarStartChange", &TChildForm::ScrollBarStartChange)
      .Method("ScrollBarEndChange", &TChildForm::ScrollBarEndChange)
      .Method("ActionZoomInExecute", &TChildForm::ActionZoomInExecute)
      .Method("ActionZoomOutExecute", &TChildForm::ActionZoomOutExecute)
      .Method("ActionZoomFullExecute", &TChildForm::ActionZoomFullExecute)
      .Method("ActionZoomSelectionExecute", &TChildForm::ActionZoomSelectionExecute)
      .Method("ActionListUpdate", &TChildForm::ActionListUpdate);
}
