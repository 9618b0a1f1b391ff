#pragma once
// The about box: the program's name and version and a link to its web page.

#include <string>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/gui/StdCtrls.h"

class TAboutForm : public TForm {
 public:
  explicit TAboutForm(TComponent* AOwner);
  TImage* Image{};
  TLabel *LabelProduct{}, *LabelVersion{}, *LabelDistributor{}, *LabelWEB{};
  TButton* ButtonOK{};
  void FormShow(TObject* Sender);
  void LabelWEBClick(TObject* Sender);
};

// Title, " v", then the "Version" value of section "SYSTEM" of the ini-format file IniPath
// (nothing when the file or the value is missing).
std::string AboutVersionText(const std::string& Title, const std::string& IniPath);
// The file the build writes beside the program to carry its version.
std::string VersionFilePath();

void RegisterAboutClasses();
