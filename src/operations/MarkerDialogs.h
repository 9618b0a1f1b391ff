#pragma once
// The two small dialogs of bookmarks and regions: the name dialog (the main window's Set
// Bookmark and Add Region, and Rename in the lists) and the choice of the bookmark a selection
// runs to.

#include <string>

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TAddRegionOrBookmarkForm : public TForm {
 public:
  explicit TAddRegionOrBookmarkForm(TComponent* AOwner);
  TLabel* LabelEnterName{};
  TEdit* EditName{};
  TButton *ButtonOK{}, *ButtonCancel{};
  void FormShow(TObject* Sender);
  // Closes with OK when the name holds more than blanks (kept as typed, blanks and all);
  // otherwise empties the edit, focuses it and says so.
  void ButtonOKClick(TObject* Sender);
};

// Shows the name dialog owned by Owner and centred over CenterOver, with Prompt as its caption
// and label and Name in the edit; on OK Name is what the user typed and the answer is true.
bool AskRegionOrBookmarkName(TComponent* Owner, TControl* CenterOver, const std::string& Prompt,
                             std::string& Name);

class TSelectToBookmarkForm : public TForm {
 public:
  explicit TSelectToBookmarkForm(TComponent* AOwner);
  TLabel* LabelBookmark{};
  // The caller adds the names with their entries as objects.
  TComboBox* ComboBoxBookmark{};
  TButton *ButtonOK{}, *ButtonCancel{};
  void FormShow(TObject* Sender);
};

void RegisterMarkerDialogClasses();
