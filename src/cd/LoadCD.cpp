#include "cd/LoadCD.h"

#include <cstdlib>
#include <memory>

#include "cd/CDItem.h"
#include "cd/CdDeviceChange.h"
#include "cd/MultiFoundCDDB.h"
#include "controls/PngImage.h"
#include "controls/PngSpeedButton.h"
#include "net/IcsUrl.h"
#include "platform/gui/FontSubstitution.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/sys/Drives.h"

static void InitCdImages() { Q_INIT_RESOURCE(sonalix_cd_images); }

namespace {

constexpr const char* kCaption = "freecddb";
constexpr const char* kAnimation[] = {"- freecddb -", "\\ freecddb \\", "| freecddb |", "/ freecddb /"};

void ShowError(const std::string& Text) { Application->MessageBox(Text, {}, MB_OK | MB_ICONERROR); }

bool IsAudioCD(char Letter) {
  const std::string root = std::string(1, Letter) + ":\\";
  if (GetDriveType(root) != DRIVE_CDROM) return false;
  std::string label;
  return GetVolumeInformation(root, label) && label == "Audio CD";
}

// The two characters before the extension of the track file's name: "Track07.cda" gives "07".
std::string TrackDigits(const std::string& FileName) {
  const std::string name = FileName.substr(0, FileName.rfind('.'));
  return name.size() >= 2 ? name.substr(name.size() - 2) : name;
}

// The number of the track a path names, or 0.
int TrackNumber(const std::string& TrackPath) {
  const size_t slash = TrackPath.rfind('\\');
  return StrToIntDef(TrackDigits(TrackPath.substr(slash == std::string::npos ? 0 : slash + 1)), 0);
}

void UseCddbServer(TCddb& Cddb) {
  Cddb.ServerType = HTTP;
  const char* url = std::getenv("SONALIX_CDDB_URL");
  if (!url || !*url) {
    Cddb.ServerAddr = CddbDefaultServer;
    Cddb.ServerAdditionalAddr = "/~cddb/cddb.cgi";
    Cddb.ServerPort = "80";
    return;
  }
  std::string proto, user, password, host, port, path;
  ParseURL(url, proto, user, password, host, port, path);
  Cddb.ServerAddr = host;
  Cddb.ServerAdditionalAddr = path;
  Cddb.ServerPort = port.empty() ? "80" : port;
}

}  // namespace

TLoadCDForm::TLoadCDForm(TComponent* AOwner) : TForm(AOwner) { InitForm("TLoadCDForm"); }

TCDItem* TLoadCDForm::SelectedTrack() const {
  TListItem* item = ListViewTracks->Selected();
  return item ? dynamic_cast<TCDItem*>(item->Data()) : nullptr;
}

void TLoadCDForm::FormCreate(TObject*) {
  auto find = [this](auto*& Field, const char* Name) {
    Field = dynamic_cast<std::remove_reference_t<decltype(Field)>>(FindComponent(Name));
  };
  find(ComboBoxCDROM, "ComboBoxCDROM");
  find(ButtonRefresh, "ButtonRefresh");
  find(ListViewTracks, "ListViewTracks");
  find(ButtonFreeCDDB, "ButtonFreeCDDB");
  find(LabelConnect, "LabelConnect");
  find(ButtonLoad, "ButtonLoad");
  find(ButtonCancel, "ButtonCancel");
  find(Cddb, "Cddb");
  find(ActionList, "ActionList");
  find(ActionRefresh, "ActionRefresh");
  find(Actionfreecddb, "Actionfreecddb");
  find(ActionLoad, "ActionLoad");
  find(ActionCancel, "ActionCancel");
  find(Timer, "Timer");

  TResourceStream picture(":/images/freecddb.png");
  TPNGObject png;
  png.LoadFromStream(&picture);
  ButtonFreeCDDB->SetPngImage(&png);

  // Disc changes reach this window as WM_DEVICECHANGE once the drive monitor runs.
  StartCdDeviceNotifications();
  const TCDDriveTable& drives = Cddb->DriveTable();
  for (int i = 0; i < drives.Count; ++i) ComboBoxCDROM->Items()->Add(Format("CD-ROM %d", {i + 1}));
  if (ComboBoxCDROM->Items()->Count() > 0) {
    ComboBoxCDROM->SetItemIndex(0);
    PostMessage(Handle(), WM_STARTLOAD, 0, 0);
  }
  StopBusyAnimation();
}

void TLoadCDForm::FormShow(TObject*) { SubstituteFontName(this, "Tahoma", Screen->HintFont()->Name()); }

void TLoadCDForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_STARTLOAD:
      Show();
      ReadSelectedDrive();
      return;
    case WM_READ:
      // Only our own component, and only while it holds a chosen match.
      if (reinterpret_cast<TCddb*>(Message.WParam) == Cddb && (Cddb->State() == 3 || Cddb->State() == 4)) {
        FFailureShown = false;
        Cddb->ReadEntry();
      }
      return;
    case WM_FILLCDDB:
      if (reinterpret_cast<TCddb*>(Message.WParam) == Cddb) FillTitles();
      return;
    default:
      break;
  }
  TForm::Dispatch(Message);
  if (Message.Msg == WM_DEVICECHANGE &&
      (Message.WParam == DBT_DEVICEARRIVAL || Message.WParam == DBT_DEVICEREMOVECOMPLETE))
    ReadSelectedDrive();
}

void TLoadCDForm::ReadSelectedDrive() {
  Cddb->SelectDrive(ComboBoxCDROM->ItemIndex());
  FillTrackList();
}

void TLoadCDForm::ComboBoxCDROMChange(TObject*) { ReadSelectedDrive(); }

void TLoadCDForm::ActionRefreshExecute(TObject*) { ReadSelectedDrive(); }

void TLoadCDForm::FillTrackList() {
  ListViewTracks->Items()->Clear();
  const char letter = Cddb->DriveLetter();
  if (!IsAudioCD(letter)) {
    ShowError(
        "No Audio Disc have been detected. If you do have an Audio-CD inserted but see this message "
        "please read the Help topic relating to Loading CD Tracks.");
    return;
  }
  TSearchRec found;
  for (int rc = FindFirst(std::string(1, letter) + ":\\*.cda", faAnyFile, found); rc == 0; rc = FindNext(found))
    AddTrackItem(letter, found.Name);
  FindClose(found);
}

void TLoadCDForm::AddTrackItem(char Letter, const std::string& FileName) {
  auto track = std::make_unique<TCDItem>();
  track->TrackPath = Format("%s:\\%s", {std::string(1, Letter), FileName});
  track->Caption = Format("Track - %s", {TrackDigits(FileName)});
  TListItem* item = ListViewTracks->Items()->Add();
  item->SetCaption(track->Caption);
  item->SetData(std::move(track));
}

// Each row takes the title of the track its file names: a data track listed first leaves no
// gap in the rows, but its number still counts in the entry.
void TLoadCDForm::FillTitles() {
  TListItems* items = ListViewTracks->Items();
  for (int i = 0; i < items->Count(); ++i) {
    TListItem* item = items->Item(i);
    auto* old = dynamic_cast<TCDItem*>(item->Data());
    if (!old) continue;
    const int number = TrackNumber(old->TrackPath);
    if (number < 1 || number > int(Cddb->CDInfo().TrackTitles.size())) continue;
    auto track = std::make_unique<TCDItem>();
    track->TrackPath = old->TrackPath;
    track->Caption = Cddb->CDInfo().TrackTitles[size_t(number - 1)];
    item->SetCaption(track->Caption);
    item->SetData(std::move(track));
  }
}

void TLoadCDForm::ActionfreecddbExecute(TObject*) {
  if (!IsAudioCD(Cddb->DriveLetter())) return;
  StartLookup();
  StartBusyAnimation();
}

void TLoadCDForm::StartLookup() {
  Cddb->AbortQuery();
  UseCddbServer(*Cddb);
  FFailureShown = false;
  Cddb->QueryDisc();
}

void TLoadCDForm::StartBusyAnimation() {
  FAnimationStep = 0;
  Actionfreecddb->SetCaption(kCaption);
  Timer->SetEnabled(true);
  LabelConnect->SetVisible(true);
}

void TLoadCDForm::StopBusyAnimation() {
  Timer->SetEnabled(false);
  Actionfreecddb->SetCaption(kCaption);
  LabelConnect->SetVisible(false);
}

void TLoadCDForm::TimerTimer(TObject*) {
  Actionfreecddb->SetCaption(kAnimation[FAnimationStep]);
  FAnimationStep = (FAnimationStep + 1) % 4;
}

void TLoadCDForm::ActionLoadExecute(TObject*) {
  if (ListViewTracks->Selected()) SetModalResult(mrOk);
}

void TLoadCDForm::ListViewTracksDblClick(TObject*) { ActionLoadExecute(nullptr); }

void TLoadCDForm::ActionCancelExecute(TObject*) {}

void TLoadCDForm::ActionListUpdate(TBasicAction*, bool&) {
  ActionLoad->SetEnabled(ListViewTracks->Selected() != nullptr);
}

void TLoadCDForm::CddbDataExchange(TObject*, const std::string&) {}

void TLoadCDForm::CddbStatusMessage(TObject* Sender, const std::string& Status) {
  switch (Cddb->State()) {
    case 13:
      if (!FFailureShown) {
        FFailureShown = true;
        StopBusyAnimation();
        ShowError("Reading CDDB information failed.");
      }
      break;
    case 5:  // the lookup ended without a match to read
    case 15:
      StopBusyAnimation();
      break;
    case 16:
      if (!FFailureShown) {
        FFailureShown = true;
        ShowError(
            "The operation failed when trying to access the freeDB Internet server. Please try again "
            "later.");
        StopBusyAnimation();
      }
      break;
    default:
      break;
  }
  if (Status == "Entry read") {
    StopBusyAnimation();
    PostMessage(Handle(), WM_FILLCDDB, reinterpret_cast<WPARAM>(Sender), 0);
  }
  LabelConnect->SetCaption("Connected to freedb server, please wait ... \n\rStatus: " + LowerCase(Status) +
                           " ...");
}

void TLoadCDForm::CddbMatch(TObject* Sender, const TMatchArray& Matches, int& RightOne) {
  RightOne = -1;
  auto chooser = std::make_unique<TMatchForm>(this);
  chooser->SetTop(Top() + (Height() - chooser->Height()) / 2);
  chooser->SetLeft(Left() + (Width() - chooser->Width()) / 2);
  for (const std::string& match : Matches) {
    if (match.empty()) break;
    const size_t blank = match.find(' ');
    const std::string category = match.substr(0, blank);
    const std::string title = blank == std::string::npos || blank + 10 > match.size() ? "" : match.substr(blank + 10);
    chooser->LstMatches->Items()->Add(Format("%s - %s", {title, category}));
  }
  if (chooser->ShowModal() == mrOk)
    RightOne = chooser->LstMatches->ItemIndex();
  else
    StopBusyAnimation();
  chooser.reset();
  if (RightOne != -1) PostMessage(Handle(), WM_READ, reinterpret_cast<WPARAM>(Sender), 0);
}

void RegisterLoadCDClasses() {
  InitCdImages();
  RegisterCddbClasses();
  RegisterMultiFoundCDDBClasses();
  RegisterClass<TLoadCDForm, TForm>();
  Published<TLoadCDForm>()
      .Method("FormCreate", &TLoadCDForm::FormCreate)
      .Method("FormShow", &TLoadCDForm::FormShow)
      .Method("ComboBoxCDROMChange", &TLoadCDForm::ComboBoxCDROMChange)
      .Method("ActionRefreshExecute", &TLoadCDForm::ActionRefreshExecute)
      .Method("ActionfreecddbExecute", &TLoadCDForm::ActionfreecddbExecute)
      .Method("ActionLoadExecute", &TLoadCDForm::ActionLoadExecute)
      .Method("ActionCancelExecute", &TLoadCDForm::ActionCancelExecute)
      .Method("ActionListUpdate", &TLoadCDForm::ActionListUpdate)
      .Method("ListViewTracksDblClick", &TLoadCDForm::ListViewTracksDblClick)
      .Method("TimerTimer", &TLoadCDForm::TimerTimer)
      .Method("CddbStatusMessage", &TLoadCDForm::CddbStatusMessage)
      .Method("CddbDataExchange", &TLoadCDForm::CddbDataExchange)
      .Method("CddbMatch", &TLoadCDForm::CddbMatch);
}
