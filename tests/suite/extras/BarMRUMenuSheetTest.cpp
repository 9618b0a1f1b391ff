// A sheet to look at: an open menu holding a recent-files list, numbered, with a long path
// shortened in its middle; written to $SONALIX_SHEETS_DIR.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "common/TestEnv.h"
#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"
#include "suite/bars/dxBarSubMenu.h"
#include "suite/extras/dxBarExtItems.h"

TEST(RecentFilesMenuSheet, AnOpenMenuShowsNumberedShortenedPaths) {
  auto form = std::make_unique<TForm>(nullptr);
  auto* manager = new TdxBarManager(form.get());
  manager->MenuAnimations = maNone;
  form->SetBounds(0, 0, 600, 400);
  form->Show();
  auto* popup = new TdxBarPopupMenu(form.get());
  for (const char* caption : {"&New File...", "&Open File..."}) {
    auto* b = new TdxBarButton(form.get());
    b->SetCaption(caption);
    popup->ItemLinks()->AddLinkForItem(b);
  }
  auto* recent = new TdxBarMRUListItem(form.get());
  recent->SetCaption("List of Recently Used Files");
  for (const char* path : {"C:\\Recordings\\take one.wav", "/home/someone/Music/loop.mp3",
                           "C:\\Documents and Settings\\Someone\\My Documents\\Recordings of the year\\Concerts\\"
                           "Evening session\\final take.wav"})
    recent->InsertAtTop(path);
  popup->ItemLinks()->AddLinkForItem(recent)->SetBeginGroup(true);

  popup->PopupFromControl(100, 80, nullptr, false);
  auto* menu = dynamic_cast<TdxBarSubMenuControl*>(popup->BarControl());
  ASSERT_TRUE(menu);
  Application->ProcessMessages();
  std::vector<std::string> captions;
  for (TdxBarItemLink* l : popup->ItemLinks()->ShownLinks()) captions.push_back(l->Item()->Caption());
  ASSERT_EQ(captions.size(), 5u);
  EXPECT_EQ(captions[2].rfind("&1 C:\\", 0), 0u);
  EXPECT_NE(captions[2].find("...\\final take.wav"), std::string::npos);
  EXPECT_EQ(captions[3], "&2 /home/someone/Music/loop.mp3");
  EXPECT_EQ(captions[4], "&3 C:\\Recordings\\take one.wav");

  QWidget* w = GetWindowWidget(menu->Handle());
  ASSERT_TRUE(w);
  const QImage shot = w->grab().toImage();
  ASSERT_FALSE(shot.isNull());
  // Text was drawn: dark pixels in the menu.
  int dark = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) dark += qGray(shot.pixel(x, y)) < 80;
  EXPECT_GT(dark, 200);
  EXPECT_TRUE(shot.save(QString::fromStdString((sonalix::test::SheetDir() / "menu-recent-files.png").string())));
  CloseActiveMenusOf(manager);
}
