#pragma once
// The modal dialog that lists the audio tracks of a CD drive as "D:\Track01.cda"... files, asks
// the disc database for their titles, and hands the chosen track back as the TCDItem of the
// selected row of ListViewTracks. The caller creates it for one use, shows it modally and, on
// mrOk, opens that item's TrackPath.

#include "cd/Cddb.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TPngSpeedButton;
class TCDItem;

class TLoadCDForm : public TForm {
 public:
  // Posted to itself: the first drive is read once the dialog runs; a chosen match is read; the
  // entry's titles go into the list.
  static constexpr UINT WM_STARTLOAD = 0x0C00;
  static constexpr UINT WM_READ = 0x0800;     // WParam: the TCddb that asks
  static constexpr UINT WM_FILLCDDB = 0x1000;  // WParam: the TCddb

  explicit TLoadCDForm(TComponent* AOwner);

  TComboBox* ComboBoxCDROM = nullptr;
  TButton* ButtonRefresh = nullptr;
  TListView* ListViewTracks = nullptr;
  TPngSpeedButton* ButtonFreeCDDB = nullptr;
  TLabel* LabelConnect = nullptr;
  TButton* ButtonLoad = nullptr;
  TButton* ButtonCancel = nullptr;
  TCddb* Cddb = nullptr;
  TActionList* ActionList = nullptr;
  TAction* ActionRefresh = nullptr;
  TAction* Actionfreecddb = nullptr;
  TAction* ActionLoad = nullptr;
  TAction* ActionCancel = nullptr;
  TTimer* Timer = nullptr;

  // The track of the selected row; null when no row is selected.
  TCDItem* SelectedTrack() const;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void ComboBoxCDROMChange(TObject* Sender);
  void ActionRefreshExecute(TObject* Sender);
  void ActionfreecddbExecute(TObject* Sender);
  void ActionLoadExecute(TObject* Sender);
  void ActionCancelExecute(TObject* Sender);
  void ActionListUpdate(TBasicAction* Action, bool& Handled);
  void ListViewTracksDblClick(TObject* Sender);
  void TimerTimer(TObject* Sender);
  void CddbStatusMessage(TObject* Sender, const std::string& Status);
  void CddbDataExchange(TObject* Sender, const std::string& Status);
  void CddbMatch(TObject* Sender, const TMatchArray& Matches, int& RightOne);

 protected:
  void Dispatch(TMessage& Message) override;

 private:
  void ReadSelectedDrive();
  void FillTrackList();
  void AddTrackItem(char Letter, const std::string& FileName);
  void FillTitles();
  void StartLookup();
  void StartBusyAnimation();
  void StopBusyAnimation();

  int FAnimationStep = 0;
  // Set once the running request's failure was reported: the component keeps its failed state
  // until the next request, and every status until then would report it again.
  bool FFailureShown = false;
};

void RegisterLoadCDClasses();
