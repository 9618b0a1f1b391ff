// A picture of a maximized document on a real X server: the document's icon first on the main
// menu, its minimize, restore and close buttons at the menu's far end, and no title bar of its own.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BarTestSupport.h"
#include "common/TestEnv.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "suite/bars/dxBarMDI.h"
#include "suite/bars/dxBarToolbar.h"

namespace {

void Pump(int Ms) {
  for (int i = 0; i < Ms / 10; ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    Application->ProcessMessages();
    QThread::msleep(10);
  }
}

// The documents' icon: a green sheet with a dark wave, easy to find on a grey bar.
QIcon DocumentIcon() {
  QImage img(16, 16, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.fillRect(2, 1, 12, 14, QColor(40, 170, 60));
  p.setPen(QColor(10, 40, 10));
  for (int x = 4; x < 12; ++x) p.drawPoint(x, 8 + ((x % 4) < 2 ? -2 : 2));
  p.end();
  return QIcon(QPixmap::fromImage(img));
}

// The frame is the application's main form, as a document frame has to be.
struct TMdiScreens : ::testing::Test {
  TForm* Frame = nullptr;
  TdxBarManager* Manager = nullptr;
  TMdiScreens() {
    RegisterGuiClasses();
    CreateForm(Frame);
    Manager = new TdxBarManager(Frame);
  }
  ~TMdiScreens() override {
    delete Frame;
    QApplication::setWindowIcon(QIcon());
  }
  template <class T>
  T* NewItem(const std::string& Caption) {
    auto* item = new T(Frame);
    item->SetCaption(Caption);
    return item;
  }
};

TEST_F(TMdiScreens, MaximizedDocument) {
  if (!std::getenv("SONALIX_MDI_SCREENSHOTS") || QGuiApplication::platformName() != "xcb")
    GTEST_SKIP() << "runs under Xvfb from MdiScreenshots.UnderXvfb";
  QApplication::setWindowIcon(DocumentIcon());
  Frame->SetFormStyle(fsMDIForm);
  Frame->SetColor(clAppWorkSpace);
  Frame->SetBounds(0, 0, 640, 360);
  Manager->SetStyle(bmsXP);
  Manager->SetAutoDockColor(false);
  Manager->SetDockColor(clBtnFace);
  TdxBar* menu = Manager->Bars()->Add();
  menu->SetCaption("Menu");
  for (const char* c : {"&File", "&Edit", "Effe&cts", "&View", "&Window", "&Help"}) {
    auto* sub = NewItem<TdxBarSubItem>(c);
    sub->ItemLinks()->AddLinkForItem(NewItem<TdxBarButton>("Item"));
    menu->ItemLinks()->AddLinkForItem(sub);
  }
  menu->SetIsMainMenu(true);
  menu->SetAllowClose(false);
  menu->SetAllowQuickCustomizing(false);
  menu->SetOneOnRow(true);
  menu->SetWholeRow(true);
  menu->SetDockingStyle(dsTop);
  menu->SetVisible(true);
  Frame->Show();
  std::vector<TForm*> docs;
  for (int i = 0; i < 2; ++i) {
    auto* doc = new TForm(Frame);
    doc->SetFormStyle(fsMDIChild);
    doc->SetCaption("Sound " + std::to_string(i + 1) + ".wav");
    doc->SetColor(clWhite);
    doc->SetBounds(20 + 30 * i, 20 + 30 * i, 320, 200);
    doc->Show();
    docs.push_back(doc);
  }
  SendMessage(docs[1]->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump(400);

  TdxBarControl* bar = menu->BarControl();
  ASSERT_TRUE(bar);
  ASSERT_TRUE(IsZoomed(docs[1]->Handle()));
  ASSERT_TRUE(bar->HasMDIButtons());
  ASSERT_TRUE(dynamic_cast<TSystemMenuSubItem*>(menu->ItemLinks()->LinkByIndex(0)->Item()));

  // The compositor may show a change a little later: the first grab can still be the old picture.
  QGuiApplication::primaryScreen()->grabWindow(0);
  Pump(200);
  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  const TPoint origin = bar->ClientToScreen(TPoint(0, 0));
  auto onScreen = [&](const TRect& R) {
    return screen.copy(origin.X + R.Left, origin.Y + R.Top, R.Width(), R.Height()).convertToFormat(QImage::Format_RGB32);
  };

  // The icon leads the menu, its green sheet on the bar.
  const TRect icon = menu->ItemLinks()->LinkByIndex(0)->ItemRect();
  EXPECT_EQ(icon.Width(), 16);
  EXPECT_LT(icon.Left, menu->ItemLinks()->LinkByIndex(1)->ItemRect().Left);
  EXPECT_EQ(onScreen(icon).pixel(4, 4) & 0xFFFFFF, 0x28AA3Cu);

  // Minimize, restore and close at the far end, each drawn as the painter draws it at rest.
  for (int i = 0; i < 3; ++i) {
    const TRect r = bar->MDIButtonRect(i);
    EXPECT_GT(r.Left, menu->ItemLinks()->LinkByIndex(6)->ItemRect().Right) << i;
    TBitmap canvas;
    canvas.SetSize(bar->ClientWidth(), bar->ClientHeight());
    Manager->Painter()->DrawMDIButton(bar, TdxBarMDIButton(i), r, canvas.Canvas()->Handle(), 0);
    const QImage drawn =
        canvas.ToImage().copy(r.Left, r.Top, r.Width(), r.Height()).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(onScreen(r), drawn) << "button " << i;
  }
  EXPECT_GE(bar->MDIButtonRect(2).Right, bar->ClientWidth() - 4);
  // Round the buttons, above them and in the gap before close, the bar shows its own background.
  const TRect rs = bar->MDIButtonRect(1);
  auto at = [&](int X, int Y) { return screen.pixel(origin.X + X, origin.Y + Y) & 0xFFFFFF; };
  const int middle = (rs.Top + rs.Bottom) / 2, free = rs.Left - 40;
  EXPECT_EQ(at(rs.Right, middle), at(free, middle));
  EXPECT_EQ(at(rs.Right + 1, middle), at(free, middle));
  if (rs.Top > 0) EXPECT_EQ(at(rs.Left + 3, rs.Top - 1), at(free, rs.Top - 1));

  // The document fills the frame's client area below the bars: no title bar of its own.
  RECT client, doc;
  GetWindowRect(Frame->ClientHandle(), &client);
  GetWindowRect(docs[1]->Handle(), &doc);
  EXPECT_EQ(doc.top, client.top);
  EXPECT_EQ(doc.left, client.left);
  EXPECT_GE(client.top, origin.Y + bar->ClientHeight());

  const char* dir = std::getenv("SONALIX_MDI_SCREENSHOTS");
  const TPoint o = Frame->ClientOrigin();
  ASSERT_TRUE(screen.copy(o.X, o.Y, Frame->ClientWidth(), 120).save(QString::fromUtf8(dir) + "/mdi-maximized.png"));
}

TEST(MdiScreenshots, UnderXvfb) {
  const std::filesystem::path dir = sonalix::test::SheetDir();
  std::filesystem::create_directories(dir);
  std::filesystem::remove(dir / "mdi-maximized.png");
  const auto run = sonalix::test::RunUnderXvfb("TMdiScreens.*", {{"SONALIX_MDI_SCREENSHOTS", dir.string()}});
  if (!run.Ran) GTEST_SKIP() << "xvfb-run is not installed";
  ASSERT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  EXPECT_FALSE(QImage(QString::fromStdString((dir / "mdi-maximized.png").string())).isNull());
}

}  // namespace
