#pragma once
// What the region and bookmark windows need of the main window: its documents by number, the
// active document's editor, and the commands they hand on (play, save the selection, copy to a
// new document, the save formats). The main window implements it; the windows never see it as
// more than this.

#include <string>

class TAudioEditor2;
class TCustomForm;
class TObject;

class IMarkerListHost {
 public:
  virtual ~IMarkerListHost() = default;
  // True while at least one document window is open.
  virtual bool HasDocument() const = 0;
  // Brings the first open document window with that number to the front and gives the main
  // window the focus; false (nothing done) when no open document has that number.
  virtual bool BringDocumentToFront(int DocumentNumber) = 0;
  // The editor of the document window in front; null when none is open.
  virtual TAudioEditor2* ActiveEditor() = 0;
  // The main window, which the bookmark choice and the export dialog are centred over.
  virtual TCustomForm* HostForm() = 0;
  virtual void ActionPlayExecute(TObject* Sender) = 0;
  // Saves the selection of the active document under a name the user chooses.
  virtual void ActionSaveSelectExecute(TObject* Sender) = 0;
  virtual void ActionCopyToNewExecute(TObject* Sender) = 0;
  // The stored format choices of each save format put on the active editor; false leaves its
  // previous format.
  virtual bool ApplyWavFormat() = 0;
  virtual bool ApplyMp3Format() = 0;
  virtual bool ApplyOggFormat() = 0;
  virtual bool ApplyWmaFormat() = 0;
};
