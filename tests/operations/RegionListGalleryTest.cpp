// The region list, the bookmark list and the export dialog as a user meets them, saved as
// pictures: to the sheets folder, and with SONALIX_SCREENSHOT_DIR set (run under Xvfb) there.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <cmath>
#include <filesystem>
#include <memory>
#include <tuple>

#include "MarkerListTestUtil.h"
#include "common/TestEnv.h"
#include "operations/ExportRegion.h"

namespace fs = std::filesystem;
using namespace markertest;

namespace {

QImage Picture(TForm* Form) {
  Application->ProcessMessages();
  QWidget* widget = GetWindowWidget(Form->Handle());
  if (QGuiApplication::platformName() == "xcb") {
    QWindow* window = widget->windowHandle();
    for (int i = 0; i < 2000 && !window->isExposed(); ++i)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    // What the screen shows of the window is the window's own drawing: nothing covers it. The
    // server may show a freshly mapped window a little after it reports it exposed, so look again
    // for a while before calling it covered.
    const QImage own = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QImage screen;
    int differing = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
      if (attempt) QThread::msleep(20);
      for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
      screen = window->screen()->grabWindow(window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
      if (screen.size() != own.size()) continue;
      differing = 0;
      for (int y = 0; y < own.height(); ++y)
        for (int x = 0; x < own.width(); ++x)
          differing += std::abs(qGray(screen.pixel(x, y)) - qGray(own.pixel(x, y))) > 40;
      if (differing < own.width() * own.height() / 50) break;
    }
    EXPECT_EQ(screen.size(), own.size());
    EXPECT_LT(differing, own.width() * own.height() / 50) << Form->Name() << " is covered";
    return screen;
  }
  return widget->grab().toImage();
}

void Save(const QImage& Shot, const std::string& Name) {
  const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR");
  const fs::path out = dir ? fs::path(dir) : sonalix::test::SheetDir();
  EXPECT_TRUE(Shot.save(QString::fromStdString((out / (Name + ".png")).string())));
}

// Rows of dark text on the list's white: the rows were drawn.
int DarkRows(const QImage& Shot) {
  const QImage img = Shot.convertToFormat(QImage::Format_RGB32);
  int rows = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (qGray(img.pixel(x, y)) < 80) {
        ++rows;
        break;
      }
  return rows;
}

TEST(MarkerListGallery, BothListsAndTheExportDialog) {
  SetDefaultGlobalVars(GlobalVars);
  Host h;
  auto regions = std::make_unique<TRegionForm>(nullptr);
  auto bookmarks = std::make_unique<TBookmarkForm>(nullptr);
  RegionForm = regions.get();
  BookmarkForm = bookmarks.get();
  regions->Host = bookmarks->Host = &h;
  h.Open(1, 30.0);
  h.Open(2, 30.0);
  AddRegion(h, 1, 44100, 5 * 44100, "Intro");
  AddRegion(h, 1, 12 * 44100, 20 * 44100, "Chorus");
  AddRegion(h, 2, 3 * 44100, 9 * 44100, "Interview: part 1");
  AddBookmark(h, 1, 2 * 44100, "Count-in");
  AddBookmark(h, 1, 17 * 44100 + 2205, "Key change");
  AddBookmark(h, 2, 25 * 44100, "Applause");
  regions->ListViewRegionList->Items()->Item(1)->SetSelected(true);
  bookmarks->ListViewBookmarkList->Items()->Item(0)->SetSelected(true);

  regions->OpenList();
  EXPECT_EQ(regions->BoundsRect(), (TRect{0, 0, 550, 200}));
  bookmarks->OpenList();
  EXPECT_EQ(bookmarks->BoundsRect(), (TRect{0, 200, 550, 400}));
  EXPECT_EQ(regions->FormStyle(), fsStayOnTop);
  EXPECT_EQ(bookmarks->FormStyle(), fsStayOnTop);

  const QImage regionShot = Picture(regions.get());
  const QImage bookmarkShot = Picture(bookmarks.get());
  ASSERT_FALSE(regionShot.isNull());
  ASSERT_FALSE(bookmarkShot.isNull());
  EXPECT_GT(DarkRows(regionShot), 3 * 6) << "header and three rows";
  EXPECT_GT(DarkRows(bookmarkShot), 3 * 6);
  Save(regionShot, "region-list");
  Save(bookmarkShot, "bookmark-list");

  GlobalVars.ExportFolder = "/home/user/Music/Exports";
  GlobalVars.ExportFormat = 1;
  TExportRegionForm exportForm(regions.get());
  exportForm.SetPosition(poScreenCenter);
  exportForm.LoadSettings();
  exportForm.Show();
  EXPECT_EQ(exportForm.ComboBoxFormat->Text(), ".mp3");
  const QImage exportShot = Picture(&exportForm);
  ASSERT_FALSE(exportShot.isNull());
  Save(exportShot, "export-regions");

  // The close box keeps where the windows were.
  regions->SetBounds(30, 40, 600, 250);
  regions->Close();
  EXPECT_EQ(std::tie(GlobalVars.RegionFormLeft, GlobalVars.RegionFormTop, GlobalVars.RegionFormWidth,
                     GlobalVars.RegionFormHeight),
            std::make_tuple(30, 40, 600, 250));
  EXPECT_FALSE(regions->Visible());
}

TEST(MarkerListGallery, ScreenshotsUnderXvfb) {
  const fs::path dir = sonalix::test::SheetDir() / "marker-lists-xvfb";
  fs::create_directories(dir);
  fs::remove(dir / "region-list.png");
  const auto run = sonalix::test::RunUnderXvfb("MarkerListGallery.BothListsAndTheExportDialog",
                                               {{"SONALIX_SCREENSHOT_DIR", dir.string()}});
  if (!run.Ran) GTEST_SKIP() << "xvfb-run is not installed";
  EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  QImage img(QString::fromStdString((dir / "region-list.png").string()));
  ASSERT_FALSE(img.isNull());
  EXPECT_GE(img.width(), 500);
}

}  // namespace
