// The popup window placed next to its owner rectangle within the work area, sized round its
// children, closed when it loses the activation; and the size frame's ring-shaped region.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <memory>

#include "ControlTestSupport.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/win/QtWindows.h"
#include "suite/core/cxControls.h"

namespace {

TRect WorkArea() { return DesktopWorkAreaAt(TPoint(0, 0)); }

TEST(PopupWindow, FlipsAndKeepsToTheWorkArea) {
  const TRect a = WorkArea();
  ASSERT_GT(a.Height(), 200);
  struct TCase {
    const char* Name;
    TcxPopupDirection Direction;
    TcxPopupAlignHorz Horz;
    TcxPopupAlignVert Vert;
    TRect Owner;
    TSize Size;
    TPoint Expected;
  } cases[] = {
      {"below the owner", pdVertical, pahLeft, pavBottom, {a.Left + 10, a.Top + 10, a.Left + 60, a.Top + 30}, {100, 80},
       {a.Left + 10, a.Top + 30}},
      {"above when more room is above", pdVertical, pahLeft, pavBottom,
       {a.Left + 10, a.Bottom - 30, a.Left + 60, a.Bottom - 10}, {100, 80}, {a.Left + 10, a.Bottom - 110}},
      {"stays below with more room below, past the bottom", pdVertical, pahLeft, pavBottom,
       {a.Left + 10, a.Top + 50, a.Left + 60, a.Top + 70}, {100, a.Height()}, {a.Left + 10, a.Top + 70}},
      {"pulled in from the right edge", pdVertical, pahLeft, pavBottom,
       {a.Right - 20, a.Top + 10, a.Right, a.Top + 30}, {100, 80}, {a.Right - 100, a.Top + 30}},
      {"wider than the work area", pdVertical, pahRight, pavBottom,
       {a.Left + 100, a.Top + 10, a.Left + 160, a.Top + 30}, {a.Width() + 50, 80}, {a.Left, a.Top + 30}},
      {"right of the owner", pdHorizontal, pahRight, pavTop, {a.Left + 10, a.Top + 10, a.Left + 60, a.Top + 30},
       {100, 80}, {a.Left + 60, a.Top + 10}},
      {"left when the right edge is near", pdHorizontal, pahRight, pavTop,
       {a.Right - 60, a.Top + 10, a.Right - 10, a.Top + 30}, {100, 80}, {a.Right - 160, a.Top + 10}},
      {"horizontal direction keeps Y inside", pdHorizontal, pahRight, pavTop,
       {a.Left + 10, a.Bottom - 30, a.Left + 60, a.Bottom - 10}, {100, 80}, {a.Left + 60, a.Bottom - 80}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TcxPopupWindow popup;
    popup.SetDirection(c.Direction);
    popup.SetAlignHorz(c.Horz);
    popup.SetAlignVert(c.Vert);
    popup.SetOwnerBounds(c.Owner);
    popup.SetBounds(0, 0, c.Size.cx, c.Size.cy);
    popup.Popup();
    EXPECT_EQ(TPoint(popup.Left(), popup.Top()), c.Expected);
    EXPECT_EQ(popup.AlignVert(), c.Vert);  // the stored alignment is not changed
    popup.ClosePopup();
  }
}

TEST(PopupWindow, SizesRoundItsChildrenInsideItsFrame) {
  auto owner = std::make_unique<TForm>(nullptr);
  owner->SetBounds(50, 50, 300, 200);
  owner->Font()->SetSize(12);
  owner->Show();
  TcxPopupWindow popup;
  popup.SetFrameStyle(1);
  popup.SetBorderSpace(2);
  auto* panel = new TPanel(&popup);
  panel->SetParent(&popup);
  panel->SetBounds(0, 0, 50, 20);
  popup.SetOwnerParent(owner.get());
  popup.SetOwnerBounds(TRect(10, 10, 60, 30));
  for (int shown = 0; shown < 2; ++shown) {
    SCOPED_TRACE(shown);
    popup.Popup();
    EXPECT_EQ(panel->Left(), 3);
    EXPECT_EQ(panel->Top(), 3);
    EXPECT_EQ(popup.Width(), 3 + 50 + 3);
    EXPECT_EQ(popup.Height(), 3 + 20 + 3);
    EXPECT_EQ(TPoint(popup.Left(), popup.Top()), owner->ClientToScreen(TPoint(10, 30)));
    EXPECT_EQ(popup.Font()->Size(), 12);
    popup.ClosePopup();
  }
  // The single-line frame in the frame colour.
  popup.SetFrameColor(clRed);
  popup.Popup();
  PaintWindowNow(popup.Handle());
  QImage* pixels = GetWindowBackBuffer(popup.Handle());
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(pixels->pixelColor(0, 0), QColor(255, 0, 0));
  EXPECT_EQ(pixels->pixelColor(popup.Width() - 1, popup.Height() - 1), QColor(255, 0, 0));
  popup.ClosePopup();
}

TEST(PopupWindow, ClosesWhenItLosesTheActivation) {
  TForm other(nullptr);
  other.SetBounds(400, 300, 100, 100);
  other.Show();
  TcxPopupWindow popup;
  popup.SetBounds(0, 0, 80, 60);
  popup.SetOwnerBounds(TRect(10, 10, 20, 20));
  popup.Popup();
  QApplication::setActiveWindow(GetWindowWidget(popup.Handle()));
  Application->ProcessMessages();
  if (GetActiveWindow() != popup.Handle()) GTEST_SKIP() << "no window activation on this platform";
  QApplication::setActiveWindow(GetWindowWidget(other.Handle()));
  Application->ProcessMessages();
  EXPECT_FALSE(popup.Visible());
}

TEST(SizeFrame, ARingOfTheFrameWidthOnceTheRectangleIsLargeEnough) {
  struct TCase {
    int Size;
    bool Ring;
  } cases[] = {{3, false}, {10, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Size);
    std::unique_ptr<TcxSizeFrame> frame(TcxSizeFrame::CreateWithFrameWidth(2));
    frame->HandleNeeded();
    frame->PlaceOverRect(Bounds(100, 100, c.Size, c.Size));
    EXPECT_EQ(frame->Width(), c.Size);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    bool has = GetWindowRgn(frame->Handle(), rgn) != ERROR;
    for (int y = 0; y < c.Size; ++y)
      for (int x = 0; x < c.Size; ++x) {
        bool inRing = x < 2 || y < 2 || x >= c.Size - 2 || y >= c.Size - 2;
        bool shown = !has || PtInRegion(rgn, x, y);
        EXPECT_EQ(shown, c.Ring ? inRing : true) << x << "," << y;
      }
    DeleteObject(rgn);
  }
}

TEST(PopupWindow, Screenshot) {
  const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR");
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(40, 40, 320, 220);
  form->SetCaption("Popup");
  auto* owner = new TPanel(form.get());
  owner->SetParent(form.get());
  owner->SetBounds(20, 20, 120, 24);
  owner->SetCaption("Open the list");
  form->Show();
  TcxPopupWindow popup;
  popup.SetFrameStyle(3);
  popup.SetColor(clWindow);
  auto* content = new TPanel(&popup);
  content->SetParent(&popup);
  content->SetBounds(0, 0, 160, 90);
  content->SetCaption("Popup content");
  popup.SetOwnerParent(owner);
  popup.SetOwnerBounds(owner->ClientRect());
  popup.Popup();
  Application->ProcessMessages();
  PaintWindowNow(popup.Handle());
  QImage* pixels = GetWindowBackBuffer(popup.Handle());
  ASSERT_NE(pixels, nullptr);
  // Double raised edge: light outer top-left, dark outer bottom-right.
  auto rgb = [](TColor c) {
    c = ColorToRGB(c);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  };
  EXPECT_EQ(pixels->pixelColor(0, 0), rgb(cl3DLight));
  EXPECT_EQ(pixels->pixelColor(popup.Width() - 1, popup.Height() - 1), rgb(cl3DDkShadow));
  EXPECT_EQ(pixels->pixelColor(1, 1), rgb(clBtnHighlight));
  if (dir) {
    pixels->save(QString::fromUtf8(dir) + "/popup-window.png");
    if (QScreen* screen = QGuiApplication::primaryScreen())
      screen->grabWindow(0).save(QString::fromUtf8(dir) + "/popup-window-screen.png");
  }
  popup.ClosePopup();
}

}  // namespace
