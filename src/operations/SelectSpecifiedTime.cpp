#include "operations/SelectSpecifiedTime.h"

#include <algorithm>

#include "appbase/Utils.h"
#include "operations/DialogSupport.h"
#include "platform/rtl/TypInfo.h"

namespace {

// Far beyond any sound's length, and small enough that hours of it still sum in 64 bits.
constexpr int64_t kPartLimit = 1'000'000'000'000;

// A run of digits; empty reads 0, and a huge number stays huge rather than wrapping.
int64_t PartValue(const std::string& Digits) {
  int64_t v = 0;
  for (char c : Digits) v = std::min(v * 10 + (c - '0'), kPartLimit);
  return v;
}

}  // namespace

TSelectSpecifiedTimeForm::TSelectSpecifiedTimeForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  InitForm("TSelectSpecifiedTimeForm");
  LabelStart = DialogComponent<TLabel>(this, "LabelStart");
  labEnd = DialogComponent<TLabel>(this, "labEnd");
  labLength = DialogComponent<TLabel>(this, "labLength");
  EditStart = DialogComponent<TEdit>(this, "EditStart");
  EditEnd = DialogComponent<TEdit>(this, "EditEnd");
  EditLength = DialogComponent<TEdit>(this, "EditLength");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
  Bevel = DialogComponent<TBevel>(this, "Bevel");
}

int64_t TSelectSpecifiedTimeForm::ParseTime(const std::string& Text) {
  if (Text.empty()) return -1;
  int colons = 0, points = 0;
  size_t lastColon = std::string::npos, point = std::string::npos;
  for (size_t i = 0; i < Text.size(); ++i) {
    const char c = Text[i];
    if (c == ':') {
      ++colons;
      lastColon = i;
    } else if (c == '.') {
      ++points;
      point = i;
    } else if (c < '0' || c > '9') {
      return -1;
    }
  }
  if (points > 1 || colons > 2) return -1;
  if (points == 1 && colons > 0 && point < lastColon) return -1;

  // The whole part split at its colons, empty parts kept; the fraction after the point.
  const std::string whole = Text.substr(0, point);
  std::vector<int64_t> parts;
  size_t from = 0;
  for (;;) {
    const size_t colon = whole.find(':', from);
    parts.push_back(PartValue(whole.substr(from, colon - from)));
    if (colon == std::string::npos) break;
    from = colon + 1;
  }
  const int64_t fraction = points ? PartValue(Text.substr(point + 1)) : 0;
  int64_t total = 0;
  for (int64_t part : parts) total = total * 60 + part;
  return total * 1000 + fraction;
}

int TSelectSpecifiedTimeForm::WithinFile(int64_t Ms) const {
  return int(std::clamp<int64_t>(Ms, 0, std::max(FileLengthMs, 0)));
}

void TSelectSpecifiedTimeForm::ShowLength() { EditLength->SetText(FormatMsTime(EndMs - StartMs)); }

void TSelectSpecifiedTimeForm::FormShow(TObject*) {
  SubstituteDialogFont(this);
  SelectStartMs = InitialStartMs;
  SelectEndMs = InitialEndMs;
  StartMs = InitialStartMs;
  EndMs = InitialEndMs;
  EditStart->SetText(FormatMsTime(InitialStartMs));
  EditEnd->SetText(FormatMsTime(InitialEndMs));
  EditLength->SetText(FormatMsTime(InitialEndMs - InitialStartMs));
}

void TSelectSpecifiedTimeForm::EditStartEnter(TObject*) { SavedStartText = EditStart->Text(); }
void TSelectSpecifiedTimeForm::EditEndEnter(TObject*) { SavedEndText = EditEnd->Text(); }
void TSelectSpecifiedTimeForm::EditLengthEnter(TObject*) { SavedLengthText = EditLength->Text(); }

void TSelectSpecifiedTimeForm::EditStartExit(TObject*) {
  const int64_t t = ParseTime(EditStart->Text());
  if (t < 0) {
    EditStart->SetText(SavedStartText);
  } else if (t > EndMs) {
    StartMs = EndMs = WithinFile(t);
    EditStart->SetText(FormatMsTime(StartMs));
    EditEnd->SetText(FormatMsTime(EndMs));
  } else {
    StartMs = int(t);
    EditStart->SetText(FormatMsTime(StartMs));
  }
  ShowLength();
}

void TSelectSpecifiedTimeForm::EditEndExit(TObject*) {
  const int64_t t = ParseTime(EditEnd->Text());
  if (t < 0) {
    EditEnd->SetText(SavedEndText);
  } else {
    EndMs = t > StartMs ? WithinFile(t) : StartMs;
    EditEnd->SetText(FormatMsTime(EndMs));
  }
  ShowLength();
}

void TSelectSpecifiedTimeForm::EditLengthExit(TObject*) {
  const int64_t t = ParseTime(EditLength->Text());
  if (t < 0) {
    EditLength->SetText(SavedLengthText);
  } else {
    EndMs = WithinFile(int64_t(StartMs) + t);
    EditEnd->SetText(FormatMsTime(EndMs));
  }
  ShowLength();
}

void TSelectSpecifiedTimeForm::ButtonOKClick(TObject*) {
  // Leaving an edit runs its exit check, so a time typed just before OK counts.
  ButtonOK->SetFocus();
  SelectStartMs = StartMs;
  SelectEndMs = EndMs;
}

void RegisterSelectSpecifiedTimeClasses() {
  RegisterClass<TSelectSpecifiedTimeForm, TForm>();
  Published<TSelectSpecifiedTimeForm>()
      .Method("FormShow", &TSelectSpecifiedTimeForm::FormShow)
      .Method("EditStartEnter", &TSelectSpecifiedTimeForm::EditStartEnter)
      .Method("EditEndEnter", &TSelectSpecifiedTimeForm::EditEndEnter)
      .Method("EditLengthEnter", &TSelectSpecifiedTimeForm::EditLengthEnter)
      .Method("EditStartExit", &TSelectSpecifiedTimeForm::EditStartExit)
      .Method("EditEndExit", &TSelectSpecifiedTimeForm::EditEndExit)
      .Method("EditLengthExit", &TSelectSpecifiedTimeForm::EditLengthExit)
      .Method("ButtonOKClick", &TSelectSpecifiedTimeForm::ButtonOKClick);
}
