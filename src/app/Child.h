#pragma once
// The document window: one editor control with two scroll bars that move the selection edges
// and four zoom buttons. It carries the document's file name, number and modified flag; the
// frame's commands reach it as the active document.

#include <string>

#include "platform/gui/ActnList.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"

class TAudioEditor2;
class TPngSpeedButton;
class TScrollBar;

class TChildForm : public TForm {
 public:
  explicit TChildForm(TComponent* AOwner);
  ~TChildForm() override;

  TAudioEditor2* AudioEditor = nullptr;
  TPanel *PanelMain = nullptr, *PanelLeft = nullptr, *PanelRight = nullptr;
  TScrollBar *ScrollBarStart = nullptr, *ScrollBarEnd = nullptr;
  TPngSpeedButton *ButtonZoomIn = nullptr, *ButtonZoomOut = nullptr,
                  *ButtonZoomSelection = nullptr, *ButtonZoomFull = nullptr;
  TActionList* ActionList = nullptr;
  TAction *ActionZoomIn = nullptr, *ActionZoomOut = nullptr, *ActionZoomSelection = nullptr,
          *ActionZoomFull = nullptr;

  std::string FileName;
  bool ScrollUpdating = false;
  bool Modified = false;
  int Number() const { return Tag(); }

  void FormCreate(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void FormDeactivate(TObject* Sender);
  void SetupEditorLook();
  void SetFileName(const std::string& Name);
  // The selection from the two scroll bars (ignored while the frame moves the bars itself).
  void ScrollBarsToSelection();
  void ScrollBarStartChange(TObject* Sender);
  void ScrollBarEndChange(TObject* Sender);
  void ActionZoomInExecute(TObject* Sender);
  void ActionZoomOutExecute(TObject* Sender);
  void ActionZoomFullExecute(TObject* Sender);
  void ActionZoomSelectionExecute(TObject* Sender);
  void ActionListUpdate(TBasicAction* Action, bool& Handled);
  void IgnoreEvent(TObject* Sender) {}
};

// Each view edge of the editor halves its distance to the cursor.
void ZoomInAroundCursor(TAudioEditor2* Editor);
// Zooms to the selection unless the view is already just that.
void ZoomToSelectionUnlessShown(TAudioEditor2* Editor);

void RegisterChildClasses();
