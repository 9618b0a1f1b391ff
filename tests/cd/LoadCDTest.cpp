// The CD load dialog on cue-image drives, with the disc database served by lighttpd on
// 127.0.0.1: the track rows, the lookup through the match chooser to the titles, its failures,
// the busy animation on the test clock, disc changes, and the Load button.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CdImageFixture.h"
#include "CddbTestUtil.h"
#include "common/TestEnv.h"
#include "cd/CDItem.h"
#include "cd/LoadCD.h"
#include "cd/MultiFoundCDDB.h"
#include "controls/PngImage.h"
#include "controls/PngSpeedButton.h"
#include "platform/gui/GuiInput.h"
#include "platform/sys/CdMediaMonitor.h"
#include "platform/sys/CdTrackFiles.h"

using namespace cdtest;

namespace {

const char* const kNoDisc =
    "No Audio Disc have been detected. If you do have an Audio-CD inserted but see this message "
    "please read the Help topic relating to Loading CD Tracks.";
const char* const kServerFailed =
    "The operation failed when trying to access the freeDB Internet server. Please try again later.";
const char* const kReadFailed = "Reading CDDB information failed.";

std::string Entry(const std::string& Category, const std::string& Id, const std::vector<std::string>& Titles) {
  std::string e = "210 " + Category + " " + Id + " CD database entry follows (until terminating `.')\r\n" +
                  "# xmcd\r\n#\r\n# Track frame offsets:\r\n";
  for (size_t i = 0; i < Titles.size(); ++i) e += "#\t" + std::to_string(150 + 300 * i) + "\r\n";
  e += "#\r\n# Disc length: 30 seconds\r\n#\r\n# Revision: 1\r\n#\r\nDISCID=" + Id +
       "\r\nDTITLE=Artist / Album\r\nDYEAR=2001\r\nDGENRE=Test\r\n";
  for (size_t i = 0; i < Titles.size(); ++i) e += "TTITLE" + std::to_string(i) + "=" + Titles[i] + "\r\n";
  e += "EXTD=\r\n";
  for (size_t i = 0; i < Titles.size(); ++i) e += "EXTT" + std::to_string(i) + "=\r\n";
  return e + "PLAYORDER=\r\n.\r\n";
}

// The centre of row Index of a list view, in its client coordinates.
QPoint RowPoint(TListView* List, int Index) {
  for (int y = 0; y < List->ClientHeight(); ++y)
    if (TListItem* item = List->GetItemAt(20, y); item && item->Index() == Index) return QPoint(20, y + 6);
  ADD_FAILURE() << "row " << Index << " is not on show";
  return QPoint();
}

// Answers the chooser at once, as OK on its first row.
int TakeFirstMatch(TMatchForm* Chooser) {
  Chooser->LstMatches->SetItemIndex(0);
  return mrOk;
}

// What a window shows: read back from the screen on a real X server (unless another window
// covers it), else from the widget.
QImage WindowPicture(TWinControl* Form, bool FromScreen = true) {
  QWidget* widget = GetWindowWidget(Form->Handle());
  if (!FromScreen || QGuiApplication::platformName() != "xcb") return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  QWindow* window = widget->window()->windowHandle();
  for (int i = 0; i < 2000 && !window->isExposed(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  return window->screen()->grabWindow(window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

// Kept for a person to look at: in SONALIX_SCREENSHOT_DIR when set, else beside the sheets.
void KeepPicture(const QImage& Picture, const std::string& Name) {
  const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR");
  const std::filesystem::path folder = dir ? std::filesystem::path(dir) : sonalix::test::SheetDir();
  EXPECT_TRUE(Picture.save(QString::fromStdString((folder / Name).string()))) << Name;
}

// A click in the middle of a control, sent to the window that holds it.
void ClickOn(TControl* Control) {
  guitest::Click(Control->Parent(), QPoint(Control->Left() + Control->Width() / 2, Control->Top() + Control->Height() / 2));
}

std::string Upper(std::string Text) {
  for (char& c : Text) c = char(std::toupper(static_cast<unsigned char>(c)));
  return Text;
}

struct LoadCD : ::testing::Test {
  std::filesystem::path Dir;
  std::string AudioCue, DataFirstCue, DataOnlyCue;
  TCddbServer Server;
  std::unique_ptr<TLoadCDForm> Form;
  std::vector<std::string> Boxes;
  // Runs while the match chooser is up; answers its modal result (0 lets it run for real).
  std::function<int(TMatchForm*)> OnChooser;
  std::vector<std::vector<std::string>> ChooserRows;
  TModalHook Previous;

  void SetUp() override {
    RegisterGuiClasses();
    RegisterPngClasses();
    RegisterPngSpeedButtonClasses();
    RegisterLoadCDClasses();
    Dir = sonalix::test::MakeTempDir("loadcd");
    AudioCue = MakeCueImage(Dir, {{true, 300}, {true, 150, "square 220"}}, "audio");
    DataFirstCue = MakeCueImage(Dir, {{false, 225}, {true, 75}, {true, 150, "sine 1000"}}, "mixed");
    DataOnlyCue = MakeCueImage(Dir, {{false, 300}}, "data");
    ASSERT_FALSE(DataOnlyCue.empty());
    ::setenv("SONALIX_CD_IMAGES", (AudioCue + ":" + DataFirstCue + ":" + DataOnlyCue).c_str(), 1);
    SetDriveTable(SystemDriveTable(Dir.string()));  // D:, E:, F: (no srN in that folder)
    ::unsetenv("SONALIX_CD_IMAGES");
    Previous = SetModalHook([this](const TModalRequest& r) -> int {
      if (r.Kind == TModalRequest::mrMessageBox) {
        Boxes.push_back(r.Text);
        return IDOK;
      }
      if (r.Kind == TModalRequest::mrDialog && r.DialogClass == "TMatchForm") {
        auto* chooser = static_cast<TMatchForm*>(r.Dialog);
        std::vector<std::string> rows;
        for (int i = 0; i < chooser->LstMatches->Items()->Count(); ++i)
          rows.push_back(chooser->LstMatches->Items()->Strings(i));
        ChooserRows.push_back(rows);
        return OnChooser ? OnChooser(chooser) : mrCancel;
      }
      return 0;
    });
  }
  void TearDown() override {
    Form.reset();
    SetModalHook(Previous);
    SetManualClock(false);
    ::unsetenv("SONALIX_CDDB_URL");
    SetVirtualFileProvider(nullptr);
    ResetDriveTable();
  }

  void StartServer() {
    if (nettest::FindProgram("lighttpd").empty()) GTEST_SKIP() << "lighttpd is not installed (scripts/setup installs it)";
    ASSERT_TRUE(Server.Start());
    ::setenv("SONALIX_CDDB_URL",
             ("http://127.0.0.1:" + std::to_string(Server.Port) + "/~cddb/cddb.cgi").c_str(), 1);
  }
  // The dialog as the main window opens it, after it read its first drive.
  void Open() {
    Form = std::make_unique<TLoadCDForm>(nullptr);
    Form->Show();
    Application->ProcessMessages();
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int i = 0; i < Form->ListViewTracks->Items()->Count(); ++i)
      rows.push_back(Form->ListViewTracks->Items()->Item(i)->Caption());
    return rows;
  }
  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (int i = 0; i < Form->ListViewTracks->Items()->Count(); ++i)
      paths.push_back(static_cast<TCDItem*>(Form->ListViewTracks->Items()->Item(i)->Data())->TrackPath);
    return paths;
  }
  void ClickFreecddb() { ClickOn(Form->ButtonFreeCDDB); }
  // Runs messages until the lookup settled in one of the states.
  bool WaitForState(std::initializer_list<int> States) {
    return nettest::PumpUntil([&] {
      for (int s : States)
        if (Form->Cddb->State() == s) return true;
      return false;
    }, 20000);
  }
  std::string DiscId() const { return Form->Cddb->CDInfo().DiscId; }
};

TEST_F(LoadCD, ListsTheTracksOfTheFirstDriveAndLoadsOnlyASelection) {
  Open();
  ASSERT_EQ(Form->ComboBoxCDROM->Items()->Count(), 3);
  EXPECT_EQ(Form->ComboBoxCDROM->Items()->Strings(0), "CD-ROM 1");
  EXPECT_EQ(Form->ComboBoxCDROM->Items()->Strings(2), "CD-ROM 3");
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Track - 01", "Track - 02"}));
  EXPECT_EQ(Paths(), (std::vector<std::string>{"D:\\Track01.cda", "D:\\Track02.cda"}));
  EXPECT_TRUE(Boxes.empty());
  EXPECT_FALSE(Form->LabelConnect->Visible());
  EXPECT_EQ(Form->Actionfreecddb->Caption(), "freecddb");

  // Without a selected row Load is disabled and clicking it does nothing.
  DoActionIdle();
  EXPECT_FALSE(Form->ActionLoad->Enabled());
  ClickOn(Form->ButtonLoad);
  EXPECT_EQ(Form->ModalResult(), mrNone);

  guitest::Click(Form->ListViewTracks, RowPoint(Form->ListViewTracks, 1));
  DoActionIdle();
  EXPECT_TRUE(Form->ActionLoad->Enabled());
  ClickOn(Form->ButtonLoad);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  ASSERT_NE(Form->SelectedTrack(), nullptr);
  EXPECT_EQ(Form->SelectedTrack()->TrackPath, "D:\\Track02.cda");

  // A double click on a row closes the dialog with that row too.
  Form->SetModalResult(mrNone);
  guitest::DoubleClick(Form->ListViewTracks, RowPoint(Form->ListViewTracks, 0));
  EXPECT_EQ(Form->ModalResult(), mrOk);
  EXPECT_EQ(Form->SelectedTrack()->TrackPath, "D:\\Track01.cda");
}

TEST_F(LoadCD, OtherDrivesNoAudioDiscAndDiscChanges) {
  Open();
  // The data-first disc lists its audio tracks by their numbers.
  Form->ComboBoxCDROM->SetItemIndex(1);
  Form->ComboBoxCDROMChange(Form->ComboBoxCDROM);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Track - 02", "Track - 03"}));
  EXPECT_EQ(Paths(), (std::vector<std::string>{"E:\\Track02.cda", "E:\\Track03.cda"}));

  Form->ComboBoxCDROM->SetItemIndex(2);
  Form->ComboBoxCDROMChange(Form->ComboBoxCDROM);
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(Boxes, std::vector<std::string>{kNoDisc});
  // freecddb does nothing without an audio disc.
  ClickFreecddb();
  EXPECT_FALSE(Form->Timer->Enabled());
  EXPECT_EQ(Form->Cddb->State(), -1);

  // Back on D:, its disc is swapped for a three-track one, then taken out.
  Form->ComboBoxCDROM->SetItemIndex(0);
  Form->ComboBoxCDROMChange(Form->ComboBoxCDROM);
  ASSERT_EQ(Rows().size(), 2u);
  ASSERT_FALSE(MakeCueImage(Dir, {{true, 75}, {true, 75}, {true, 75}}, "audio").empty());
  NotifyCdMediaChange('D', TCdMediaEvent::Arrived);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Track - 01", "Track - 02", "Track - 03"}));

  Boxes.clear();
  std::filesystem::remove(AudioCue);
  NotifyCdMediaChange('D', TCdMediaEvent::Removed);
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(Boxes, std::vector<std::string>{kNoDisc});
  StopCdMediaMonitor();
}

// Also keeps pictures of the dialog while it waits on the chooser, of the chooser, and of the
// dialog with the titles.
TEST_F(LoadCD, ChosenMatchGivesTheTrackTitles) {
  StartServer();
  Open();
  const std::string id = DiscId();
  Server.Reply("query-" + id,
               "211 close matches found\r\nrock " + id + " Night Drive / Neon Roads\r\n"
               "jazz 0a0b0c0d Blue Hour Quartet / Late Set\r\nfolk " + id + " Hollow Pines / Kindling\r\n.\r\n");
  Server.Reply("read-0a0b0c0d", Entry("jazz", "0a0b0c0d", {"So Late It's Early", "Blue Hour"}));
  // The chooser runs for real: its second row is clicked, then OK.
  bool shown = false;
  QImage waiting, chooser;
  OnChooser = [&](TMatchForm* Chooser) {
    QTimer::singleShot(0, [&, Chooser] {
      shown = Chooser->Showing();
      EXPECT_EQ(Chooser->LstMatches->ItemIndex(), 0);
      guitest::Click(Chooser->LstMatches, QPoint(40, 24 + 12));
      chooser = WindowPicture(Chooser);
      waiting = WindowPicture(Form.get(), false);  // the chooser covers it on the screen
      ClickOn(Chooser->ButtonOK);
    });
    return 0;
  };
  ClickFreecddb();
  EXPECT_TRUE(Form->Timer->Enabled());
  EXPECT_TRUE(Form->LabelConnect->Visible());
  ASSERT_TRUE(WaitForState({12, 13, 16}));
  ASSERT_TRUE(nettest::PumpUntil([&] { return !Form->Timer->Enabled(); }, 5000));
  Application->ProcessMessages();

  EXPECT_TRUE(shown);
  ASSERT_EQ(ChooserRows.size(), 1u);
  EXPECT_EQ(ChooserRows[0], (std::vector<std::string>{"Night Drive / Neon Roads - rock",
                                                      "Blue Hour Quartet / Late Set - jazz",
                                                      "Hollow Pines / Kindling - folk"}));
  const std::string log = ReadText(Server.Dir / "queries.log");
  EXPECT_EQ(log.rfind("cmd=cddb+query+" + id + "+2+150+", 0), 0u) << log;
  EXPECT_NE(log.find("cmd=cddb+read+jazz+0a0b0c0d&hello=daruzeva+example.org+daruzeva+2.0&proto=5"),
            std::string::npos) << log;
  EXPECT_EQ(Rows(), (std::vector<std::string>{"So Late It's Early", "Blue Hour"}));
  EXPECT_EQ(Paths(), (std::vector<std::string>{"D:\\Track01.cda", "D:\\Track02.cda"}));
  EXPECT_EQ(static_cast<TCDItem*>(Form->ListViewTracks->Items()->Item(1)->Data())->Caption, "Blue Hour");
  EXPECT_TRUE(Boxes.empty());
  EXPECT_FALSE(Form->LabelConnect->Visible());
  EXPECT_EQ(Form->Actionfreecddb->Caption(), "freecddb");
  EXPECT_EQ(Form->LabelConnect->Caption(),
            "Connected to freedb server, please wait ... \n\rStatus: entry read ...");

  guitest::Click(Form->ListViewTracks, RowPoint(Form->ListViewTracks, 1));
  DoActionIdle();
  const QImage titled = WindowPicture(Form.get());
  ASSERT_FALSE(waiting.isNull());
  ASSERT_FALSE(chooser.isNull());
  EXPECT_GE(titled.width(), Form->ClientWidth());
  EXPECT_GE(chooser.width(), 312);
  // The button's picture is there: the blue of its globe in the lower right of the glyph.
  const TPoint glyph = Form->ButtonFreeCDDB->ClientToParent(Form->ButtonFreeCDDB->GlyphPos(), Form.get());
  const int dx = titled.width() - Form->ClientWidth(), dy = titled.height() - Form->ClientHeight();
  const QColor globe = titled.pixelColor(glyph.X + 23 + dx / 2, glyph.Y + 23 + (dy - dx / 2));
  EXPECT_GT(globe.blue(), globe.red() + 60) << globe.name().toStdString();
  KeepPicture(waiting, "loadcd-lookup.png");
  KeepPicture(chooser, "loadcd-chooser.png");
  KeepPicture(titled, "loadcd-titles.png");
}

TEST_F(LoadCD, RefusedChooserKeepsTheGenericCaptions) {
  StartServer();
  Open();
  const std::string id = DiscId();
  Server.Reply("query-" + id, "200 rock " + id + " Only / One\r\n");
  OnChooser = [&](TMatchForm* Chooser) {
    QTimer::singleShot(0, [Chooser] {
      ClickOn(Chooser->ButtonCancel);
    });
    return 0;
  };
  ClickFreecddb();
  ASSERT_TRUE(WaitForState({5, 16}));
  Application->ProcessMessages();
  ASSERT_EQ(ChooserRows.size(), 1u);
  EXPECT_EQ(ChooserRows[0], std::vector<std::string>{"Only / One - rock"});  // one exact match
  EXPECT_EQ(Form->Cddb->State(), 5);
  EXPECT_FALSE(Form->Timer->Enabled());
  EXPECT_FALSE(Form->LabelConnect->Visible());
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Track - 01", "Track - 02"}));
  EXPECT_EQ(ReadText(Server.Dir / "queries.log").find("cddb+read"), std::string::npos);
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(LoadCD, DataFirstDiscTakesTitlesByTrackNumber) {
  StartServer();
  Open();
  Form->ComboBoxCDROM->SetItemIndex(1);
  Form->ComboBoxCDROMChange(Form->ComboBoxCDROM);
  const std::string id = DiscId();
  Server.Reply("query-" + id, "200 misc " + id + " Mixed / Disc\r\n");
  Server.Reply("read-" + Upper(id), Entry("misc", id, {"Data", "Song", "Coda"}));
  OnChooser = TakeFirstMatch;
  ClickFreecddb();
  ASSERT_TRUE(WaitForState({12, 13, 16}));
  ASSERT_TRUE(nettest::PumpUntil([&] { return Rows().front() != "Track - 02"; }, 5000));
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Song", "Coda"}));
  EXPECT_EQ(Paths(), (std::vector<std::string>{"E:\\Track02.cda", "E:\\Track03.cda"}));
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(LoadCD, AnimationOnTheTestClockAndServerFailures) {
  // A server that takes the request and never answers, until it goes away.
  int port = 0;
  const int silent = nettest::ListenOnLoopback(port);
  ::setenv("SONALIX_CDDB_URL", ("http://127.0.0.1:" + std::to_string(port) + "/~cddb/cddb.cgi").c_str(), 1);
  SetManualClock(true);
  Open();
  ClickFreecddb();
  const char* frames[] = {"- freecddb -", "\\ freecddb \\", "| freecddb |", "/ freecddb /", "- freecddb -"};
  EXPECT_EQ(Form->Actionfreecddb->Caption(), "freecddb");
  for (const char* frame : frames) {
    AdvanceClock(300);
    Application->ProcessMessages();
    EXPECT_EQ(Form->Actionfreecddb->Caption(), frame);
    EXPECT_EQ(Form->ButtonFreeCDDB->Caption(), frame);
  }
  AdvanceClock(299);
  Application->ProcessMessages();
  EXPECT_EQ(Form->Actionfreecddb->Caption(), "- freecddb -");

  ::shutdown(silent, SHUT_RDWR);
  ::close(silent);
  ASSERT_TRUE(WaitForState({16}));
  Application->ProcessMessages();
  EXPECT_EQ(Boxes, std::vector<std::string>{kServerFailed});
  EXPECT_FALSE(Form->Timer->Enabled());
  EXPECT_EQ(Form->Actionfreecddb->Caption(), "freecddb");

  // Trying again where nobody listens fails once more, with one box of its own.
  Boxes.clear();
  ClickFreecddb();
  ASSERT_TRUE(nettest::PumpUntil([&] { return !Boxes.empty(); }, 20000));
  Application->ProcessMessages();
  EXPECT_EQ(Form->Cddb->State(), 16);
  EXPECT_EQ(Boxes, std::vector<std::string>{kServerFailed});
  EXPECT_FALSE(Form->Timer->Enabled());
}

TEST_F(LoadCD, FailedReadIsReportedOncePerRead) {
  StartServer();
  Open();
  const std::string id = DiscId();
  Server.Reply("query-" + id, "200 rock " + id + " Some / Disc\r\n");
  // Every line after the failure reports again while the state stays failed.
  Server.Reply("read-" + Upper(id), "210 rock " + id + " entry follows\r\nnot an entry\r\nnor this\r\n");
  OnChooser = TakeFirstMatch;
  ClickFreecddb();
  ASSERT_TRUE(WaitForState({13, 16}));
  Application->ProcessMessages();
  EXPECT_EQ(Form->Cddb->State(), 13);
  EXPECT_EQ(Boxes, std::vector<std::string>{kReadFailed});
  EXPECT_FALSE(Form->Timer->Enabled());
  EXPECT_EQ(Rows(), (std::vector<std::string>{"Track - 01", "Track - 02"}));

  // The next lookup starts clean: finding nothing is no failure.
  Boxes.clear();
  Server.Reply("query-" + id, "202 No match for disc ID " + id + ".\r\n");
  ClickFreecddb();
  ASSERT_TRUE(WaitForState({5, 16}));
  Application->ProcessMessages();
  EXPECT_EQ(Form->Cddb->State(), 5);
  EXPECT_TRUE(Boxes.empty());
  EXPECT_FALSE(Form->Timer->Enabled());  // nothing left to wait for
}

// The same pictures taken on a real X server (Xvfb), as the screen shows them.
TEST(LoadCDPictures, UnderXvfb) {
  const std::filesystem::path dir = sonalix::test::SheetDir() / "xvfb";
  std::filesystem::create_directories(dir);
  for (const char* name : {"loadcd-lookup.png", "loadcd-chooser.png", "loadcd-titles.png"})
    std::filesystem::remove(dir / name);
  const auto run = sonalix::test::RunUnderXvfb("LoadCD.ChosenMatchGivesTheTrackTitles",
                                               {{"SONALIX_SCREENSHOT_DIR", dir.string()}});
  if (!run.Ran) GTEST_SKIP() << "xvfb-run is not installed";
  EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  if (run.Output.find("[  SKIPPED ]") != std::string::npos) GTEST_SKIP() << "the lookup needs lighttpd";
  for (const char* name : {"loadcd-lookup.png", "loadcd-chooser.png", "loadcd-titles.png"})
    EXPECT_FALSE(QImage(QString::fromStdString((dir / name).string())).isNull()) << name;
}

}  // namespace
