// Open, save and folder dialogs answered through the modal hook, which acts on the real Qt file
// dialog: filter conversion and matching in any letter case, several files, names that must
// exist, the default extension, the overwrite question, a folder chosen.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QFileSystemModel>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "common/TestEnv.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"

namespace {

namespace fs = std::filesystem;

struct THook {
  TModalHook Previous;
  explicit THook(TModalHook Hook) : Previous(SetModalHook(std::move(Hook))) {}
  ~THook() { SetModalHook(std::move(Previous)); }
};

void Touch(const fs::path& p) { std::ofstream(p) << "x"; }

QFileDialog* FileDialog(const TModalRequest& r) {
  return r.Kind == TModalRequest::mrDialog ? static_cast<QFileDialog*>(r.Dialog) : nullptr;
}

// The names the dialog lists in its folder once the folder has been read. The model reads on a
// thread of its own and tells of it through the event loop, which has not run since the dialog
// was made (the timer only guards).
std::set<std::string> Listed(QFileDialog* d) {
  auto* model = d->findChild<QFileSystemModel*>();
  if (!model) return {};
  const QString folder = d->directory().absolutePath();
  QEventLoop loop;
  QObject::connect(model, &QFileSystemModel::directoryLoaded, &loop, [&](const QString& path) {
    if (QDir(path) == QDir(folder)) loop.quit();
  });
  QTimer::singleShot(20000, &loop, &QEventLoop::quit);
  loop.exec();
  // The rows read are filtered and sorted once the events waiting now have run.
  QCoreApplication::processEvents();
  QModelIndex root = model->index(d->directory().absolutePath());
  std::set<std::string> names;
  for (int i = 0; i < model->rowCount(root); ++i) {
    QModelIndex index = model->index(i, 0, root);
    if (!model->isDir(index)) names.insert(model->fileName(index).toStdString());
  }
  return names;
}

TEST(Dialogs, FilterTextsBecomeQtNameFilters) {
  EXPECT_EQ(FilterToNameFilters("Wave (*.wav)|*.wav|MPEG Layer 3 Files (*.mp3;*.mp2;*.mpga)|*.mp3;*.mp2;*.mpga"),
            (std::vector<std::string>{"Wave (*.wav) (*.wav)",
                                      "MPEG Layer 3 Files (*.mp3;*.mp2;*.mpga) (*.mp3 *.mp2 *.mpga)"}));
  EXPECT_EQ(FilterToNameFilters("All Supported Formats|*.wav; *.ogg"),
            (std::vector<std::string>{"All Supported Formats (*.wav *.ogg)"}));
  EXPECT_EQ(FilterToNameFilters("Anything|"), (std::vector<std::string>{"Anything (*)"}));
  EXPECT_TRUE(FilterToNameFilters("").empty());
}

TEST(Dialogs, OpenShowsMatchingFilesInAnyCaseAndReturnsSeveralInOrder) {
  fs::path dir = sonalix::test::MakeTempDir("open");
  for (const char* n : {"LOUD.WAV", "quiet.wav", "song.Mp3", "notes.txt"}) Touch(dir / n);
  TOpenDialog dialog(nullptr);
  dialog.SetFilter("All Supported Formats|*.wav;*.mp3|Wave Files (*.wav)|*.wav");
  dialog.SetInitialDir(dir.string());
  dialog.SetOptions({ofHideReadOnly, ofAllowMultiSelect, ofPathMustExist, ofFileMustExist, ofEnableSizing});
  struct TCase {
    int FilterIndex;
    const char* Shown;  // the chosen filter as the dialog names it
    std::set<std::string> Listed;
  } cases[] = {
      {2, "Wave Files (*.wav)", {"LOUD.WAV", "quiet.wav"}},
      {1, "All Supported Formats", {"LOUD.WAV", "quiet.wav", "song.Mp3"}},
  };
  for (const TCase& c : cases) {
    dialog.SetFilterIndex(c.FilterIndex);
    std::set<std::string> listed;
    QString shown;
    THook hook([&](const TModalRequest& r) {
      QFileDialog* d = FileDialog(r);
      if (!d || r.DialogClass != "TOpenDialog") return 0;
      EXPECT_EQ(d->directory().absolutePath().toStdString(), fs::canonical(dir).string());
      EXPECT_EQ(d->nameFilters().size(), 2);
      shown = d->selectedNameFilter();
      listed = Listed(d);
      d->selectFile("\"quiet.wav\" \"LOUD.WAV\"");
      return IDOK;
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(shown.toStdString(), c.Shown);
    EXPECT_EQ(listed, c.Listed);
    ASSERT_EQ(dialog.Files()->Count(), 2);
    EXPECT_EQ(dialog.Files()->Strings(0), (fs::canonical(dir) / "quiet.wav").string());
    EXPECT_EQ(dialog.Files()->Strings(1), (fs::canonical(dir) / "LOUD.WAV").string());
    EXPECT_EQ(dialog.FileName(), dialog.Files()->Strings(0));
    EXPECT_EQ(dialog.FilterIndex(), c.FilterIndex);
  }
}

TEST(Dialogs, AMissingFileIsRefusedWithAMessageAndTheDialogAsksAgain) {
  fs::path dir = sonalix::test::MakeTempDir("missing");
  Touch(dir / "there.wav");
  TOpenDialog dialog(nullptr);
  dialog.SetInitialDir(dir.string());
  dialog.SetOptions({ofFileMustExist});
  std::vector<std::string> seen;
  THook hook([&](const TModalRequest& r) {
    if (r.Kind == TModalRequest::mrMessageBox) {
      seen.push_back(r.Text);
      return IDOK;
    }
    seen.push_back("dialog");
    FileDialog(r)->selectFile(seen.size() == 1 ? "gone.wav" : "there.wav");
    return IDOK;
  });
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(seen, (std::vector<std::string>{"dialog", "gone.wav\nFile not found.\nCheck the file name and try again.",
                                            "dialog"}));
  EXPECT_EQ(dialog.FileName(), (fs::canonical(dir) / "there.wav").string());

  // A hook that insists on the refused name cancels rather than asking for ever.
  seen.clear();
  THook stubborn([&](const TModalRequest& r) {
    if (r.Kind == TModalRequest::mrDialog) FileDialog(r)->selectFile("gone.wav");
    return IDOK;
  });
  EXPECT_FALSE(dialog.Execute());
}

TEST(Dialogs, SaveAddsTheChosenFiltersExtensionOrTheDefaultOne) {
  fs::path dir = sonalix::test::MakeTempDir("save");
  const std::string filter = "Wave (*.wav)|*.wav|MPEG Layer-3  (*.mp3)|*.mp3|Any|*.*";
  struct TCase {
    int Filter;
    const char* Typed;
    const char* Saved;
  } cases[] = {
      {1, "take", "take.wav"},
      {2, "song", "song.mp3"},   // the chosen filter names the extension
      {3, "notes", "notes.wav"},  // a filter without one: the default extension
      {2, "a.ogg", "a.ogg"},     // a typed extension stays
  };
  for (const TCase& c : cases) {
    TSaveDialog dialog(nullptr);
    dialog.SetFilter(filter);
    dialog.SetDefaultExt(".wav");
    dialog.SetInitialDir(dir.string());
    THook hook([&](const TModalRequest& r) {
      QFileDialog* d = FileDialog(r);
      if (!d) return IDOK;
      EXPECT_EQ(r.DialogClass, "TSaveDialog");
      EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
      d->selectNameFilter(d->nameFilters().value(c.Filter - 1));
      d->selectFile(c.Typed);
      return IDOK;
    });
    ASSERT_TRUE(dialog.Execute()) << c.Typed;
    EXPECT_EQ(dialog.FileName(), (fs::canonical(dir) / c.Saved).string()) << c.Typed;
    EXPECT_EQ(dialog.FilterIndex(), c.Filter);
  }
}

TEST(Dialogs, SavingOverAnExistingFileAsksFirst) {
  fs::path dir = sonalix::test::MakeTempDir("overwrite");
  Touch(dir / "old.wav");
  TSaveDialog dialog(nullptr);
  dialog.SetFilter("Wave (*.wav)|*.wav");
  dialog.SetDefaultExt("wav");
  dialog.SetInitialDir(dir.string());
  dialog.SetFileName("old");
  dialog.SetOptions({ofOverwritePrompt, ofHideReadOnly});
  struct TStep {
    int Answer;  // to the question
    int Dialog;  // to the dialog shown again
    bool Saved;
  } steps[] = {{IDNO, IDCANCEL, false}, {IDYES, IDCANCEL, true}};
  for (const TStep& s : steps) {
    int questions = 0, dialogs = 0;
    std::string question;
    THook hook([&](const TModalRequest& r) {
      if (r.Kind == TModalRequest::mrMessageBox) {
        ++questions;
        question = r.Text;
        EXPECT_EQ(r.Type & MB_TYPEMASK, UINT(MB_YESNO));
        return s.Answer;
      }
      // The name starts as given, without a folder or extension.
      if (++dialogs == 1) EXPECT_EQ(FileDialog(r)->selectedFiles().value(0).toStdString(), (fs::canonical(dir) / "old").string());
      return dialogs == 1 ? IDOK : s.Dialog;
    });
    dialog.SetFileName("old");
    EXPECT_EQ(dialog.Execute(), s.Saved);
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(question, "old.wav already exists.\nDo you want to replace it?");
    EXPECT_EQ(dialogs, s.Saved ? 1 : 2);
  }
}

TEST(Dialogs, TheFolderPickerStartsOnTheFolderAndGivesTheChosenOne) {
  fs::path root = sonalix::test::MakeTempDir("folders");
  fs::create_directories(root / "music" / "live");
  std::string folder = (root / "music").string();
  std::string startedIn;
  THook hook([&](const TModalRequest& r) {
    QFileDialog* d = FileDialog(r);
    EXPECT_EQ(r.DialogClass, "BrowseForFolder");
    EXPECT_EQ(r.Caption, "Please select a folder");
    EXPECT_EQ(d->fileMode(), QFileDialog::Directory);
    startedIn = d->directory().absolutePath().toStdString();
    d->selectFile("live");
    return IDOK;
  });
  ASSERT_TRUE(ShellBrowseForFolder(nullptr, folder, "Please select a folder", "", 65));
  EXPECT_EQ(startedIn, fs::canonical(root / "music").string());
  EXPECT_EQ(folder, fs::canonical(root / "music" / "live").string());

  // Cancel leaves the folder as it was; a vanished folder starts at its nearest parent.
  std::string kept = (root / "music" / "gone" / "deeper").string();
  THook cancel([&](const TModalRequest& r) {
    startedIn = FileDialog(r)->directory().absolutePath().toStdString();
    return IDCANCEL;
  });
  EXPECT_FALSE(ShellBrowseForFolder(nullptr, kept, "Please select a folder", "", 65));
  EXPECT_EQ(kept, (root / "music" / "gone" / "deeper").string());
  EXPECT_EQ(startedIn, fs::canonical(root / "music").string());
}

}  // namespace
