#pragma once
// The batch converter's command chain: the seventeen commands, their records (appbase/
// BatchRecords.h) made from the settings record, their one-line settings texts, the editing
// of a record in the dialog the editor uses for that effect, and the Add Command dialog.

#include <memory>
#include <string>
#include <vector>

#include "appbase/BatchRecords.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

struct TGlobalVars;

enum TBatchCommand {
  bcInsertSilenceAtTheStart,
  bcInsertSilenceAtTheEnd,
  bcAmplify,
  bcNormalize,
  bcHighPass,
  bcEqualizer,
  bcEcho,
  bcReverb,
  bcNoiseReduction,
  bcSpeedChange,
  bcPitchChange,
  bcCompressor,
  bcConvertSampleType,
  bcMixStereoChannels,
  bcPhaser,
  bcFlanger,
  bcChorus,
  BatchCommandCount
};

// The names, in the Add Command list's order; a row's caption is one of them.
extern const char* const BatchCommandNames[BatchCommandCount];

// The command a caption names (compared exactly), or -1.
int FindBatchCommand(const std::string& Caption);

// A new record of the command, filled from the settings record (Convert starts at 44100 Hz,
// stereo, whatever the settings hold).
std::unique_ptr<TObject> NewBatchCommand(int Command, const TGlobalVars& Settings);
// The record's values in field order (Convert: RateIndex, ChannelMode).
std::vector<int> BatchCommandValues(int Command, const TObject& Record);
std::unique_ptr<TObject> MakeBatchCommand(int Command, const std::vector<int>& Values);
// The text of the row's "Settings" column.
std::string BatchCommandSettingsText(int Command, const TObject& Record);

// Opens the command's dialog over Owner, filled from Record, without preview. On OK the new
// record; null on Cancel. A non-numeric edit raises the conversion error.
std::unique_ptr<TObject> EditBatchCommand(int Command, const TObject& Record, TCustomForm* Owner);

class TAddCommandForm : public TForm {
 public:
  explicit TAddCommandForm(TComponent* AOwner);
  TLabel* LabelSelect{};
  TListBox* ListBoxCommand{};
  TButton *ButtonAdd{}, *ButtonCancel{}, *ButtonHelp{};
  TActionList* ActionList{};
  TAction *ActionAdd{}, *ActionCancel{}, *ActionHelp{};

  void ActionListUpdate(TBasicAction* Action, bool& Handled);
  void ListBoxCommandDblClick(TObject* Sender);
  void ActionAddExecute(TObject* Sender);
  void ActionCancelExecute(TObject* Sender);
  void ActionHelpExecute(TObject* Sender);
  void FormShow(TObject* Sender);
};

void RegisterBatchCommandClasses();
