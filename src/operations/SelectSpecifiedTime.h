#pragma once
// "Set Selection": the start, end or length of the selection typed as times. Every value is in
// milliseconds; start and end stay within 0..FileLengthMs and in order. The caller fills the
// four initial fields, shows the dialog modally and after OK selects SelectStartMs..SelectEndMs.

#include <cstdint>
#include <string>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TSelectSpecifiedTimeForm : public TForm {
 public:
  explicit TSelectSpecifiedTimeForm(TComponent* AOwner);

  // Milliseconds of "h:m:s.f", "m:s.f", "s.f", "s", "m:s" or "h:m:s" (digits, colons and one
  // point; f counts milliseconds as written, so "3.4" is 3004 and "3.400" 3400; an empty part
  // is 0); -1 for any other text. Parts are not limited to their clock range ("0:75" is 75 s).
  static int64_t ParseTime(const std::string& Text);

  TLabel *LabelStart{}, *labEnd{}, *labLength{};
  TEdit *EditStart{}, *EditEnd{}, *EditLength{};
  TButton *ButtonOK{}, *ButtonCancel{};
  TBevel* Bevel{};

  int InitialStartMs = 0;
  int InitialEndMs = 0;
  int FileLengthMs = 0;
  int CursorMs = 0;
  int StartMs = 0;
  int EndMs = 0;
  std::string SavedStartText, SavedEndText, SavedLengthText;
  // The result: set when the dialog shows and again by OK.
  int SelectStartMs = 0;
  int SelectEndMs = 0;

  void FormShow(TObject* Sender);
  void EditStartEnter(TObject* Sender);
  void EditEndEnter(TObject* Sender);
  void EditLengthEnter(TObject* Sender);
  void EditStartExit(TObject* Sender);
  void EditEndExit(TObject* Sender);
  void EditLengthExit(TObject* Sender);
  void ButtonOKClick(TObject* Sender);

 private:
  int WithinFile(int64_t Ms) const;
  void ShowLength();
};

void RegisterSelectSpecifiedTimeClasses();
