// The View, Window, zoom and Help commands of the frame, the window list and the options.
#include "Imports/AudioEditorControl.h"
#include "app/About.h"
#include "app/Child.h"
#include "app/Main.h"
#include "app/Options.h"
#include "app/WebLinks.h"
#include "appbase/Globals.h"
#include "appbase/HtmlHelp.h"
#include "appbase/Utils.h"
#include "operations/FormatSummary.h"
#include "suite/bars/dxBar.h"
#include "suite/navbar/dxNavBar.h"

void TMainForm::ApplyCommandBar() {
  if (!dxNavBar) return;
  dxNavBar->SetAlign(GlobalVars.CommandBarOnTheLeft ? alLeft : alRight);
  dxNavBar->SetVisible(GlobalVars.ShowCommandBar);
}

void TMainForm::ActionShowCommandBarExecute(TObject*) {
  if (!dxBarLargeButtonShowCommandBar) return;
  // A click on the check button has turned it over already; the key has not, so it does here.
  if (dxBarLargeButtonShowCommandBar->Down() == GlobalVars.ShowCommandBar)
    dxBarLargeButtonShowCommandBar->SetDown(!GlobalVars.ShowCommandBar);
  GlobalVars.ShowCommandBar = dxBarLargeButtonShowCommandBar->Down();
  ApplyCommandBar();
}

void TMainForm::ActionBarOntheLeftExecute(TObject*) {
  if (dxBarLargeButtonBarOntheLeft) dxBarLargeButtonBarOntheLeft->SetDown(true);
  if (dxBarLargeButtonBarOntheRight) dxBarLargeButtonBarOntheRight->SetDown(false);
  GlobalVars.CommandBarOnTheLeft = true;
  ApplyCommandBar();
}

void TMainForm::ActionBarOntheRightExecute(TObject*) {
  if (dxBarLargeButtonBarOntheLeft) dxBarLargeButtonBarOntheLeft->SetDown(false);
  if (dxBarLargeButtonBarOntheRight) dxBarLargeButtonBarOntheRight->SetDown(true);
  GlobalVars.CommandBarOnTheLeft = false;
  ApplyCommandBar();
}

void TMainForm::ActionShowMainToolbarExecute(TObject*) {}
void TMainForm::ActionShowEffectsToolbarExecute(TObject*) {}

void TMainForm::ActionCascadeExecute(TObject*) { Cascade(); }

void TMainForm::ActionTileHorizontalExecute(TObject*) {
  SetTileMode(tbHorizontal);
  Tile();
}

void TMainForm::ActionTileVerticalExecute(TObject*) {
  SetTileMode(tbVertical);
  Tile();
}

void TMainForm::ActionArrangeIconsExecute(TObject*) { ArrangeIcons(); }

void TMainForm::ActionCloseAllExecute(TObject*) {
  // From the last window of the frame's list to the first; a window kept by its question does
  // not stop the others from being asked.
  std::vector<TChildForm*> docs = Documents();
  std::vector<TWeakLink<TChildForm>> links(docs.begin(), docs.end());
  for (auto it = links.rbegin(); it != links.rend(); ++it)
    if (*it) (*it)->Close();
}

void TMainForm::ActionZoomInExecute(TObject*) {
  if (TChildForm* d = ActiveDocument()) ZoomInAroundCursor(d->AudioEditor);
}

void TMainForm::ActionZoomOutExecute(TObject*) {
  if (IAudioEditor2* e = ActiveEditor()) e->ZoomOut();
}

void TMainForm::ActionZoomToSelectionExecute(TObject*) {
  if (TChildForm* d = ActiveDocument()) ZoomToSelectionUnlessShown(d->AudioEditor);
}

void TMainForm::ActionZoomFullExecute(TObject*) {
  if (IAudioEditor2* e = ActiveEditor()) e->ZoomFull();
}

void TMainForm::dxBarListWindowsGetData(TObject*) {
  if (!dxBarListWindows) return;
  dxBarListWindows->SetItemIndex(dxBarListWindows->Items()->IndexOfObject(ActiveDocument()));
}

void TMainForm::dxBarListWindowsClick(TObject*) {
  if (!dxBarListWindows) return;
  const int index = dxBarListWindows->ItemIndex();
  if (index < 0 || index >= dxBarListWindows->Items()->Count()) return;
  if (auto* doc = dynamic_cast<TChildForm*>(dxBarListWindows->Items()->Objects(index))) doc->Show();
}

void TMainForm::ActionOptionsExecute(TObject*) {
  TOptionsForm dialog(this);
  CenterOverWindow(&dialog, this);
  dialog.LoadOptions();
  if (dialog.ShowModal() != mrOk) return;
  dialog.SaveOptions();
  ApplyTempDirectory();
  ApplyExplorerVerbs();
}

void TMainForm::ActionHelpExecute(TObject*) { ShowHelpTopic(Handle(), "WelcometoAPP"); }

void TMainForm::ActionAboutExecute(TObject*) {
  TAboutForm dialog(this);
  CenterOverWindow(&dialog, this);
  dialog.ShowModal();
}

void TMainForm::ActionHomePageExecute(TObject*) { OpenURL(ProductPageURL()); }
void TMainForm::ActionTechnicalSupportExecute(TObject*) { OpenURL(SupportPageURL()); }
void TMainForm::ActionRelatedSoftwareExecute(TObject*) { OpenURL(RelatedSoftwareURL()); }
void TMainForm::ActionKorvaneExecute(TObject*) { OpenURL(MakerHomeURL()); }
