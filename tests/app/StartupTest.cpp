// Start-up: the splash shape, the main window's creation, deferred start and splash timer on
// the test clock, placement kept across starts, damaged settings; the busy cursor, fonts and
// links.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "common/TestEnv.h"
#include "Imports/XOQAUDIOINFORMATION2Lib_TLB.h"
#include "app/ExplorerVerb.h"
#include "appbase/Globals.h"
#include "app/Main.h"
#include "app/Program.h"
#include "app/Splash.h"
#include "appbase/Utils.h"
#include "platform/sys/Registry.h"
#include "platform/win/QtWindows.h"

namespace {

struct TManualClock {
  TManualClock() { SetManualClock(true); }
  ~TManualClock() { SetManualClock(false); }
};

// Answers every message box (a failing creation step reports through one) and counts them.
struct TQuietBoxes {
  int Count = 0;
  TModalHook Old;
  TQuietBoxes() {
    Old = SetModalHook([this](const TModalRequest& r) {
      if (r.Kind == TModalRequest::mrMessageBox) ++Count;
      return IDOK;
    });
  }
  ~TQuietBoxes() { SetModalHook(Old); }
};

// A start as the program block makes it, without the loop: splash, then the main window.
struct TStart {
  TStart() {
    RegisterAppClasses();
    SplashForm = new TSplashForm(Application);
    SplashForm->Show();
    CreateForm(MainForm);
  }
  ~TStart() {
    delete SplashForm;
    SplashForm = nullptr;
    delete MainForm;
  }
};

void ClearSettings() {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  reg.DeleteKey(SettingsKey);
}

TEST(Splash, RegionScanKeepsEveryRunOfARow) {
  struct Case {
    const char* Name;
    std::vector<std::string> Rows;  // '#' a shape pixel, '.' the key
  };
  std::vector<Case> cases = {
      {"row ending in a shape pixel", {"..##", "...#"}},
      {"all key", {"....", "...."}},
      {"runs and gaps", {"#.#.", "####", "##.."}},
      {"single column", {"#", ".", "#"}},
  };
  for (const Case& c : cases) {
    const int w = int(c.Rows[0].size()), h = int(c.Rows.size());
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        img.setPixel(x, y, c.Rows[y][x] == '#' ? qRgb(10, 20, 30) : qRgb(255, 0, 255));
    TBitmap bmp;
    bmp.SetImage(img);
    HRGN rgn = BitmapShapeRegion(&bmp, TColor(0xFF00FF));
    ASSERT_TRUE(rgn) << c.Name;
    int inside = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        EXPECT_EQ(bool(PtInRegion(rgn, x, y)), c.Rows[y][x] == '#') << c.Name << " " << x << "," << y;
        inside += c.Rows[y][x] == '#';
      }
    RECT box;
    int kind = GetRgnBox(rgn, &box);
    if (!inside) EXPECT_EQ(kind, NULLREGION) << c.Name;
    DeleteObject(rgn);
  }
  // A window given the region of an all-key picture shows nothing at all.
  {
    TForm blank(nullptr);
    blank.SetBorderStyle(bsNone);
    blank.SetBounds(0, 0, 4, 2);
    blank.Show();
    TBitmap keyOnly;
    QImage img(4, 2, QImage::Format_RGB32);
    img.fill(qRgb(255, 0, 255));
    keyOnly.SetImage(img);
    SetWindowShapeFromBitmap(blank.Handle(), &keyOnly, TColor(0xFF00FF));
    QWidget* w = GetWindowWidget(blank.Handle());
    ASSERT_FALSE(w->mask().isEmpty());
    EXPECT_FALSE(w->mask().intersects(w->rect()));
  }
  // The splash window takes the shape of its picture.
  RegisterAppClasses();
  TSplashForm splash(nullptr);
  ASSERT_TRUE(splash.Image);
  EXPECT_EQ(splash.Image->Width(), 392);
  EXPECT_EQ(splash.Image->Height(), 212);
  EXPECT_EQ(splash.ClientWidth(), 392);
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(splash.Handle(), shape), ERROR);
  EXPECT_FALSE(PtInRegion(shape, 0, 0));      // a cut corner
  EXPECT_TRUE(PtInRegion(shape, 196, 106));   // the middle
  EXPECT_TRUE(PtInRegion(shape, 391, 106));   // the last column belongs to the shape
  DeleteObject(shape);
}

TEST(Startup, DeferredStartShowsTheWindowAndTheTimerFreesTheSplash) {
  ClearSettings();
  TManualClock clock;
  const char separator = FormatSettings.TimeSeparator;
  FormatSettings.TimeSeparator = '.';
  TStart start;
  // The process-wide time texts are the locale's, whatever the start does.
  EXPECT_EQ(FormatSettings.TimeSeparator, '.');
  FormatSettings.TimeSeparator = separator;
  EXPECT_EQ(Application->MainForm(), MainForm);
  // First start: the defaults are stored and the window centred before anything shows.
  EXPECT_FALSE(MainForm->Visible());
  EXPECT_TRUE(SplashForm->Visible());
  {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    EXPECT_TRUE(reg.OpenKeyReadOnly(SettingsKey));
    EXPECT_TRUE(reg.ValueExists("DefAmplify"));
  }
  EXPECT_EQ(MainForm->Left(), (Screen->Width() - MainForm->Width()) / 2);
  EXPECT_EQ(MainForm->Top(), (Screen->Height() - MainForm->Height()) / 2);
  EXPECT_EQ(MainForm->Constraints()->MinWidth(), 740);
  EXPECT_EQ(MainForm->Constraints()->MinHeight(), 450);
  EXPECT_TRUE(std::filesystem::is_directory(GlobalVars.DataFolder));
  EXPECT_EQ(GlobalVars.DataFolder.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(ExplorerVerbDesktopFile()));

  Application->ProcessMessages();
  EXPECT_TRUE(MainForm->Visible());
  EXPECT_TRUE(MainForm->TimerSplash->Enabled());
  EXPECT_EQ(MainForm->StartFileName(), "");
  // A click on the picture hides the splash; the timer still frees it.
  SplashForm->Image->OnClick(SplashForm->Image);
  EXPECT_FALSE(SplashForm->Visible());
  AdvanceClock(999);
  Application->ProcessMessages();
  EXPECT_NE(SplashForm, nullptr);
  AdvanceClock(1);
  Application->ProcessMessages();
  EXPECT_EQ(SplashForm, nullptr);
  EXPECT_FALSE(MainForm->TimerSplash->Enabled());
}

// The decoding and speech libraries (well over a hundred shared libraries with their own) are
// opened by the first file read, not by the start.
TEST(Startup, TheWindowShowsWithoutTheDecodingLibraries) {
  auto mapped = [](const char* Library) {
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
      if (line.find(Library) != std::string::npos) return true;
    return false;
  };
  // Alone in its process (as the test runner starts each test), or other tests may have read.
  if (testing::UnitTest::GetInstance()->test_to_run_count() != 1)
    GTEST_SKIP() << "meaningful only as the one test of its process";
  ClearSettings();
  TStart start;
  Application->ProcessMessages();
  ASSERT_TRUE(MainForm->Visible());
  EXPECT_FALSE(mapped("libavformat.so"));
  EXPECT_FALSE(mapped("libavcodec.so"));
  EXPECT_FALSE(mapped("libespeak-ng.so"));
  // A file read loads them, and reading works through them.
  const std::filesystem::path wav = sonalix::test::MakeTempDir("lazy") / "one.wav";
  {
    std::ofstream f(wav, std::ios::binary);
    auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
    f.write("RIFF", 4);
    u32(36 + 2000);
    f.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(16000);
    u16(2);
    u16(16);
    f.write("data", 4);
    u32(2000);
    for (int i = 0; i < 1000; ++i) u16(uint16_t(i * 7));
  }
  TAudioInformation2 info(nullptr);
  info.OpenFile(wav.string());
  EXPECT_EQ(info.LengthInSamples(), 1000);
  EXPECT_TRUE(mapped("libavformat.so"));
}

TEST(Startup, DamagedStoredValuesStillReachTheDeferredStart) {
  ClearSettings();
  {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(SettingsKey, true));
    reg.WriteString("DefAmplify", "loud");
    reg.WriteInteger("DefNormalize", 77);
    ASSERT_TRUE(reg.OpenKey(std::string("\\") + SettingsKey + "FormPos\\", true));
    reg.WriteString("x", "left");
    reg.WriteInteger("y", 20);
    reg.WriteInteger("width", 800);
    reg.WriteInteger("height", 500);
    reg.WriteInteger("maximized", 0);
  }
  TQuietBoxes boxes;
  TManualClock clock;
  TStart start;
  EXPECT_EQ(GlobalVars.DefAmplify, 25);    // the default stays
  EXPECT_EQ(GlobalVars.DefNormalize, 77);  // the values after it still load
  EXPECT_EQ(MainForm->Top(), 20);
  EXPECT_EQ(MainForm->Width(), 800);
  Application->ProcessMessages();
  EXPECT_TRUE(MainForm->Visible());
  AdvanceClock(1000);
  Application->ProcessMessages();
  EXPECT_EQ(SplashForm, nullptr);
  EXPECT_EQ(boxes.Count, 0);
}

TEST(Startup, ClosingKeepsThePlacementForTheNextStart) {
  ClearSettings();
  TManualClock clock;
  struct Placement {
    int Left, Top, Width, Height;
  };
  std::vector<Placement> placements = {{10, 20, 750, 460}, {11, 21, 751, 461}};
  for (const Placement& p : placements) {
    for (int run = 0; run < 2; ++run) {
      TStart start;
      Application->ProcessMessages();
      if (run == 0) {
        MainForm->SetBounds(p.Left, p.Top, p.Width, p.Height);
        GlobalVars.DefAmplify = 33;
      } else {
        // Read back as it was left, however often the window goes and comes.
        EXPECT_EQ(MainForm->Left(), p.Left);
        EXPECT_EQ(MainForm->Top(), p.Top);
        EXPECT_EQ(MainForm->Width(), p.Width);
        EXPECT_EQ(MainForm->Height(), p.Height);
        EXPECT_EQ(GlobalVars.DefAmplify, 33);
      }
      MainForm->Close();
      MSG quit;
      EXPECT_TRUE(PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    }
  }
  // A placement beyond the screen is brought back onto it.
  {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey(std::string(SettingsKey) + "FormPos\\", true));
    reg.WriteInteger("x", Screen->Width() - 100);
    reg.WriteInteger("y", -40);
  }
  TStart start;
  EXPECT_EQ(MainForm->Left(), Screen->Width() - MainForm->Width());
  EXPECT_EQ(MainForm->Top(), 0);
}

// Settings that cannot be saved: the user is told at the first start and at closing, naming
// the store and the cause, and the program still comes up fully and still closes.
TEST(Startup, UnwritableSettingsAreReportedAndTheProgramStillCloses) {
  const auto dir = sonalix::test::MakeTempDir("start-unwritable");
  std::ofstream(dir / "config") << "a file where the folder should be";
  const std::string file = (dir / "config" / "sonalix" / "registry").string();
  TRegistryStore::SetDefault(std::make_shared<TRegistryStore>(file));
  std::vector<std::string> texts;
  TModalHook old = SetModalHook([&](const TModalRequest& r) {
    if (r.Kind == TModalRequest::mrMessageBox) texts.push_back(r.Text);
    return IDOK;
  });
  testing::internal::CaptureStderr();
  {
    TManualClock clock;
    TStart start;
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(MainForm->Constraints()->MinWidth(), 740);  // the rest of the start still ran
    EXPECT_EQ(MainForm->Left(), (Screen->Width() - MainForm->Width()) / 2);
    Application->ProcessMessages();
    EXPECT_TRUE(MainForm->Visible());
    MainForm->Close();
    MSG quit;
    EXPECT_TRUE(PeekMessage(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  }
  testing::internal::GetCapturedStderr();
  SetModalHook(old);
  TRegistryStore::SetDefault(nullptr);
  ASSERT_EQ(texts.size(), 2u);
  for (const std::string& text : texts) {
    EXPECT_NE(text.find(file), std::string::npos) << text;
    EXPECT_NE(text.find(std::strerror(ENOTDIR)), std::string::npos) << text;
  }
}

TEST(Startup, TheExplorerVerbFollowsTheStoredOption) {
  ClearSettings();
  for (bool offered : {true, false, true}) {
    {
      TRegistry reg;
      reg.SetRootKey(HKEY_CURRENT_USER);
      ASSERT_TRUE(reg.OpenKey(SettingsKey, true));
      reg.WriteBool("OP_AddToExplorer", offered);
    }
    TStart start;
    EXPECT_EQ(GlobalVars.OP_AddToExplorer, offered);
    EXPECT_EQ(std::filesystem::exists(ExplorerVerbDesktopFile()), offered) << offered;
  }
}

// The first start offers the program for all sixteen extensions with one write of the desktop
// entry and of our MIME package, and one rebuild of each desktop database; it claims sound
// types only.
TEST(Startup, FirstStartOffersTheVerbInOneWrite) {
  ClearSettings();
  const auto dir = sonalix::test::MakeTempDir("verb-once");
  const auto bin = dir / "bin", log = dir / "tools.log";
  std::filesystem::create_directories(bin);
  for (const char* tool : {"update-mime-database", "update-desktop-database"}) {
    std::ofstream(bin / tool) << "#!/bin/sh\necho " << tool << " >> '" << log.string() << "'\n";
    std::filesystem::permissions(bin / tool, std::filesystem::perms(0755));
  }
  const std::string oldPath = std::getenv("PATH"), oldData = std::getenv("XDG_DATA_HOME");
  setenv("PATH", (bin.string() + ":" + oldPath).c_str(), 1);
  setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
  {
    TStart start;
  }
  setenv("PATH", oldPath.c_str(), 1);
  std::ifstream in(log);
  std::vector<std::string> runs;
  for (std::string line; std::getline(in, line);) runs.push_back(line);
  std::sort(runs.begin(), runs.end());
  EXPECT_EQ(runs, (std::vector<std::string>{"update-desktop-database", "update-mime-database"}));
  std::ifstream entryFile(ExplorerVerbDesktopFile());
  const std::string entry((std::istreambuf_iterator<char>(entryFile)), {});
  setenv("XDG_DATA_HOME", oldData.c_str(), 1);
  EXPECT_NE(entry.find("audio/x-sonalix-raw;"), std::string::npos) << entry;
  EXPECT_NE(entry.find("audio/x-wav;"), std::string::npos) << entry;
  EXPECT_EQ(entry.find("image/"), std::string::npos) << entry;
}

TEST(Startup, OnlyAnExistingSupportedFileOpensAtStart) {
  auto dir = sonalix::test::MakeTempDir("start");
  std::ofstream(dir / "song.WAV") << "x";
  std::ofstream(dir / "notes.txt") << "x";
  std::filesystem::create_directory(dir / "folder.wav");
  struct Case {
    std::string Path;
    bool Opens;
  };
  for (const Case& c : std::vector<Case>{{(dir / "song.WAV").string(), true},
                                         {(dir / "notes.txt").string(), false},
                                         {(dir / "missing.mp3").string(), false},
                                         {(dir / "folder.wav").string(), false}})
    EXPECT_EQ(OpensAtStart(c.Path), c.Opens) << c.Path;
}

// ---------------------------------------------------------------------------------------------

TEST(Utils, BusyCursorCountsItsCalls) {
  ASSERT_EQ(BusyCount(), 0);
  EndBusy();
  EXPECT_EQ(BusyCount(), 0);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  struct Step {
    void (*Call)();
    int Count;
    TCursor Cursor;
  };
  for (Step s : std::vector<Step>{{BeginBusy, 1, crHourGlass},
                                  {BeginBusy, 2, crHourGlass},
                                  {EndBusy, 1, crHourGlass},
                                  {EndBusy, 0, crDefault},
                                  {EndBusy, 0, crDefault}}) {
    s.Call();
    EXPECT_EQ(BusyCount(), s.Count);
    EXPECT_EQ(Screen->Cursor(), s.Cursor);
    EXPECT_EQ(QGuiApplication::overrideCursor() != nullptr, s.Cursor != crDefault);
  }
}

TEST(Utils, FontSubstitutionReachesNestedChildrenButNotTheWindow) {
  RegisterAppClasses();
  TForm form(nullptr);
  form.Font()->SetName("Tahoma");
  auto* panel = new TForm(&form);  // any windowed child
  panel->SetParent(&form);
  panel->Font()->SetName("Tahoma");
  auto* inner = new TImage(&form);
  inner->SetParent(panel);
  inner->Font()->SetName("Tahoma");
  auto* other = new TImage(&form);
  other->SetParent(&form);
  other->Font()->SetName("Arial");
  SubstituteFontName(&form, "Tahoma", "No Such Font Family");
  EXPECT_EQ(panel->Font()->Name(), "Tahoma");
  SubstituteFontName(&form, "Tahoma", "DejaVu Sans");
  EXPECT_EQ(form.Font()->Name(), "Tahoma");
  EXPECT_EQ(panel->Font()->Name(), "DejaVu Sans");
  EXPECT_EQ(inner->Font()->Name(), "DejaVu Sans");
  EXPECT_EQ(other->Font()->Name(), "Arial");
}

TEST(Utils, OpenURLHandsTheTargetToTheDesktop) {
  auto dir = sonalix::test::MakeTempDir("xdg");
  auto seen = dir / "seen.txt";
  {
    std::ofstream script(dir / "xdg-open");
    script << "#!/bin/sh\nprintf '%s' \"$1\" > '" << seen.string() << ".part'\nmv '" << seen.string()
           << ".part' '" << seen.string() << "'\n";
  }
  std::filesystem::permissions(dir / "xdg-open", std::filesystem::perms::owner_all);
  std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (dir.string() + ":" + oldPath).c_str(), 1);
  OpenURL("https://example.invalid/a b?x=1");
  setenv("PATH", oldPath.c_str(), 1);
  EXPECT_EQ(BusyCount(), 0);
  // The handler runs as its own process; give it the time it needs.
  for (int i = 0; i < 500 && !std::filesystem::exists(seen); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::ifstream in(seen);
  std::string got((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(got, "https://example.invalid/a b?x=1");
}

}  // namespace
