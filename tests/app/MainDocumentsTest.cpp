// Documents in the main window: new and opened documents, the recent-files list, dropped files,
// the window list, closing with modified documents, and what a restart keeps.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Imports/AudioEditorControl.h"
#include "MainTestSupport.h"
#include "platform/gui/ComCtrls.h"
#include "platform/sys/Registry.h"
#include "suite/bars/dxBar.h"
#include "suite/extras/dxBarExtItems.h"
#include "suite/navbar/dxNavBar.h"

using namespace maintest;

namespace {

std::vector<std::string> Lines(TStrings* S) {
  std::vector<std::string> r;
  for (int i = 0; i < S->Count(); ++i) r.push_back(S->Strings(i));
  return r;
}

// A drop of these names on the frame, as the desktop delivers it.
void Drop(const std::vector<std::string>& Files) {
  QWidget* w = GetWindowWidget(MainForm->Handle());
  QMimeData data;
  QList<QUrl> urls;
  for (const auto& f : Files) urls << QUrl::fromLocalFile(QString::fromStdString(f));
  data.setUrls(urls);
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  // Straight to the window, as Qt's drop handling delivers it.
  static_cast<QObject*>(w)->event(&drop);
  Application->ProcessMessages();
}

}  // namespace

TEST(MainDocuments, NewAndOpenedDocuments) {
  TProgram p;
  GlobalVars.OP_DefSample = 22050;
  GlobalVars.OP_DefChannel = 1;
  GlobalVars.DeviceOutputVolume = 1234;
  p->ActionNewFileExecute(nullptr);
  TChildForm* fresh = p->ActiveDocument();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->FileName, "Untitled1");
  EXPECT_EQ(fresh->Caption(), "Untitled1");
  EXPECT_EQ(fresh->Number(), 1);
  EXPECT_FALSE(fresh->Modified);
  EXPECT_EQ(fresh->AudioEditor->FileInfo()->SampleRate(), 22050);
  EXPECT_EQ(fresh->AudioEditor->FileInfo()->Channels(), 1);
  EXPECT_EQ(fresh->AudioEditor->Player().Volume(), 1234) << "the slider's volume, not the default";

  const std::string wav = WriteTone("take.wav", 8000, 2, 16000);
  TChildForm* opened = p.Open(wav);
  ASSERT_NE(opened, fresh);
  EXPECT_EQ(opened->FileName, wav);
  EXPECT_EQ(opened->Number(), 2);
  EXPECT_FALSE(opened->Modified);
  EXPECT_EQ(opened->AudioEditor->Position()->Length(), 16000);
  EXPECT_EQ(GlobalVars.LastOpenDir, std::filesystem::path(wav).parent_path().string() + "/");
  EXPECT_EQ(Lines(p->dxBarMRUFiles->Items()), std::vector<std::string>{wav});
  // The window list names both windows and checks the active one before it drops down.
  EXPECT_EQ(Lines(p->dxBarListWindows->Items()), (std::vector<std::string>{"Untitled1", wav}));
  p->dxBarListWindowsGetData(nullptr);
  EXPECT_EQ(p->dxBarListWindows->ItemIndex(), 1);
  p->dxBarListWindows->SetItemIndex(0);
  p->dxBarListWindowsClick(nullptr);
  Application->ProcessMessages();
  EXPECT_EQ(p->ActiveDocument(), fresh);
  // Tiling and closing keep the list in step.
  p->ActionTileVerticalExecute(nullptr);
  EXPECT_EQ(p->TileMode(), tbVertical);
  p->ActionCloseFileExecute(nullptr);  // the new one, not modified: no question
  Application->ProcessMessages();
  EXPECT_EQ(Lines(p->dxBarListWindows->Items()), std::vector<std::string>{wav});
}

TEST(MainDocuments, RecentFilesList) {
  TProgram p;
  std::vector<std::string> files;
  for (int i = 0; i < 6; ++i) files.push_back(WriteTone("r" + std::to_string(i) + ".wav", 8000, 1, 800));
  for (const auto& f : files) p.Open(f);
  // Six opened: the oldest fell off; opening a listed one moves it up.
  EXPECT_EQ(Lines(p->dxBarMRUFiles->Items()),
            (std::vector<std::string>{files[5], files[4], files[3], files[2], files[1]}));
  p.Open(files[2]);
  EXPECT_EQ(p->dxBarMRUFiles->Items()->Strings(0), files[2]);
  // A click opens the entry and leaves the list alone.
  const int before = p->MDIChildCount();
  p->dxBarMRUFiles->SetItemIndex(4);
  p->dxBarMRUFilesClick(nullptr);
  Application->ProcessMessages();
  EXPECT_EQ(p->MDIChildCount(), before + 1);
  EXPECT_EQ(p->ActiveFileName(), files[1]);
  EXPECT_EQ(p->dxBarMRUFiles->Items()->Strings(0), files[2]);
  // An entry whose file is gone is reported and dropped.
  std::filesystem::remove(files[3]);
  TAnswers answers(IDOK);
  p->dxBarMRUFiles->SetItemIndex(p->dxBarMRUFiles->Items()->IndexOf(files[3]));
  p->dxBarMRUFilesClick(nullptr);
  EXPECT_EQ(answers.LastText, files[3] + " was not found.");
  EXPECT_EQ(p->dxBarMRUFiles->Items()->IndexOf(files[3]), -1);
  EXPECT_EQ(p->MDIChildCount(), before + 1);
}

TEST(MainDocuments, DroppedFiles) {
  TProgram p;
  const std::string a = WriteTone("a.wav", 8000, 1, 800), b = WriteTone("b.wav", 8000, 1, 800);
  // A name longer than 255 characters is read whole.
  std::filesystem::path deep = sonalix::test::MakeTempDir("long");
  while (deep.string().size() < 300) deep /= std::string(60, 'd');
  std::filesystem::create_directories(deep);
  const std::string longName = (deep / "long.wav").string();
  std::filesystem::copy_file(a, longName);
  const std::string text = (std::filesystem::path(a).parent_path() / "notes.txt").string();
  std::ofstream(text) << "not a sound";
  struct {
    std::vector<std::string> Files;
    int Documents;
  } cases[] = {
      {{a, b}, 0},                                  // two at once: neither
      {{std::filesystem::path(a).parent_path().string()}, 0},  // a folder
      {{text}, 0},                                  // not a sound file
      {{a + ".missing.wav"}, 0},
      {{a}, 1},
      {{longName}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Files[0]);
    const int before = p->MDIChildCount();
    Drop(c.Files);
    EXPECT_EQ(p->MDIChildCount(), before + c.Documents);
  }
  EXPECT_EQ(p->ActiveFileName(), longName);
}

TEST(MainDocuments, ClosingAsksEveryModifiedDocument) {
  TProgram p;
  TChildForm* first = p.Open(WriteTone("one.wav", 8000, 1, 800));
  TChildForm* second = p.Open(WriteTone("two.wav", 8000, 1, 800));
  first->Modified = second->Modified = true;
  GlobalVars.ShowCommandBar = false;  // would be written by a close that goes through
  {
    TAnswers cancel(IDCANCEL);
    EXPECT_FALSE(p->CloseQuery());
    EXPECT_EQ(cancel.Boxes, 1);
    EXPECT_EQ(cancel.LastText, "Do you want to save the changes you made to \"" + second->Caption() + "\"?");
  }
  EXPECT_EQ(p->MDIChildCount(), 2);
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  ASSERT_TRUE(reg.OpenKey(SettingsKey, false));
  EXPECT_TRUE(reg.ReadBool("ShowCommandBar")) << "nothing written";
  GlobalVars.ShowCommandBar = true;
  {
    // Yes saves; with the format dialog cancelled nothing is written and the window stays.
    TModalHook old = SetModalHook([](const TModalRequest& r) {
      return r.Kind == TModalRequest::mrMessageBox ? int(IDYES) : int(mrCancel);
    });
    EXPECT_FALSE(p->CloseQuery());
    SetModalHook(old);
  }
  {
    // Close All asks each window, last first; a window kept by Cancel does not stop the rest.
    int asked = 0;
    TModalHook old = SetModalHook([&](const TModalRequest& r) {
      if (r.Kind != TModalRequest::mrMessageBox) return 0;
      return ++asked == 1 ? IDCANCEL : IDNO;
    });
    p->ActionCloseAllExecute(nullptr);
    Application->ProcessMessages();
    SetModalHook(old);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(p->MDIChildCount(), 1);
  }
  TAnswers no(IDNO);
  EXPECT_TRUE(p->CloseQuery());
}

TEST(MainDocuments, CommandBarAndRecentListSurviveARestart) {
  const std::string wav = WriteTone("kept.wav", 8000, 1, 800);
  {
    TProgram p;
    p.Open(wav);
    EXPECT_TRUE(p->dxNavBar->Visible());
    p->dxBarLargeButtonShowCommandBar->SetDown(false);
    p->ActionShowCommandBarExecute(nullptr);
    EXPECT_FALSE(p->dxNavBar->Visible());
    p->ActionBarOntheRightExecute(nullptr);
    EXPECT_EQ(p->dxNavBar->Align(), alRight);
    EXPECT_FALSE(p->dxBarLargeButtonBarOntheLeft->Down());
    TAnswers no(IDNO);
    ASSERT_TRUE(p->CloseQuery());
    TCloseAction action = caFree;
    p->FormClose(nullptr, action);
  }
  TProgram again;
  EXPECT_FALSE(again->dxNavBar->Visible());
  EXPECT_EQ(again->dxNavBar->Align(), alRight);
  EXPECT_FALSE(again->dxBarLargeButtonShowCommandBar->Down());
  EXPECT_FALSE(again->dxBarLargeButtonBarOntheLeft->Down());
  EXPECT_TRUE(again->dxBarLargeButtonBarOntheRight->Down());
  EXPECT_EQ(Lines(again->dxBarMRUFiles->Items()), std::vector<std::string>{wav});
  again->ActionBarOntheLeftExecute(nullptr);
  again->dxBarLargeButtonShowCommandBar->SetDown(true);
  again->ActionShowCommandBarExecute(nullptr);
  TCloseAction action = caFree;
  again->FormClose(nullptr, action);
}
