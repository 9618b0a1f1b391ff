// The custom popup window opened by a control and the rules that close it, driven by real mouse
// and key events: clicks outside and on the owner, nested popups, the owner hidden or freed, the
// application deactivated, and the popup's own message loop.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ControlTestSupport.h"
#include "platform/gui/ExtCtrls.h"
#include "suite/core/cxContainer.h"

namespace {

class TClickCounter : public TPanel {
 public:
  using TPanel::TPanel;
  int Presses = 0;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    ++Presses;
    TPanel::MouseDown(Button, Shift, X, Y);
  }
};

class TTestPopup : public TcxCustomPopupWindow {
 public:
  using TcxCustomPopupWindow::TcxCustomPopupWindow;
  bool Swallow = false;
  int SysKeys = 0;
  bool SwallowsClosingClick(HWND, UINT, TPoint, TShiftState) override { return Swallow; }

 protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_SYSKEYDOWN) ++SysKeys;
    TcxCustomPopupWindow::Dispatch(Message);
  }
};

struct TPopupScene {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TClickCounter* Owner = new TClickCounter(Form.get());
  TClickCounter* Other = new TClickCounter(Form.get());
  std::unique_ptr<TTestPopup> Popup;

  explicit TPopupScene(bool TakesFocus = false) {
    Form->SetBounds(100, 100, 400, 300);
    Owner->SetParent(Form.get());
    Owner->SetBounds(10, 10, 100, 24);
    Other->SetParent(Form.get());
    Other->SetBounds(10, 200, 100, 24);
    Form->Show();
    Application->ProcessMessages();
    Popup = std::make_unique<TTestPopup>(Owner);
    Popup->SetTakesFocus(TakesFocus);
    Popup->SetOwnLoop(false);
    Popup->SetBounds(0, 0, 120, 80);
    Popup->SetOwnerBounds(Owner->ClientRect());
  }
  ~TPopupScene() {
    if (Popup && Popup->IsOpen()) Popup->ClosePopup();
  }
  void Open() {
    Popup->ShowPopup(nullptr);
    Application->ProcessMessages();
    ASSERT_TRUE(Popup->IsOpen());
  }
};

TEST(PopupClosing, AnOutsideClickClosesThePopupAndStillArrives) {
  TPopupScene s;
  s.Open();
  EXPECT_EQ(TPoint(s.Popup->Left(), s.Popup->Top()), s.Owner->ClientToScreen(TPoint(0, 24)));
  suitetest::Click(s.Other, TPoint(5, 5));
  EXPECT_FALSE(s.Popup->IsOpen());
  EXPECT_FALSE(s.Popup->Visible());
  EXPECT_EQ(s.Other->Presses, 1);
  EXPECT_TRUE(cxOpenPopups().empty());
}

TEST(PopupClosing, AClickOnTheOwnerTellsTheOwnerNotToReopen) {
  struct TCase {
    bool Swallow;
    bool ClosedByOwnerClick;
  } cases[] = {{false, false}, {true, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Swallow);
    TPopupScene s;
    s.Popup->Swallow = c.Swallow;
    s.Open();
    suitetest::Click(s.Owner, TPoint(5, 5));
    EXPECT_FALSE(s.Popup->IsOpen());
    EXPECT_EQ(s.Owner->Presses, 1);  // the click reaches the owner either way
    EXPECT_EQ(s.Popup->TakeClosedByOwnerClick(), c.ClosedByOwnerClick);
    EXPECT_FALSE(s.Popup->TakeClosedByOwnerClick());
  }
  // A swallowing popup keeps a click elsewhere from its window.
  TPopupScene s;
  s.Popup->Swallow = true;
  s.Open();
  suitetest::Click(s.Other, TPoint(5, 5));
  EXPECT_FALSE(s.Popup->IsOpen());
  EXPECT_EQ(s.Other->Presses, 0);
}

TEST(PopupClosing, AClickInTheOlderOfTwoPopupsClosesOnlyTheNewer) {
  TPopupScene s;
  auto* inner = new TClickCounter(s.Popup.get());
  inner->SetParent(s.Popup.get());
  inner->SetBounds(0, 0, 120, 40);
  auto* spare = new TClickCounter(s.Popup.get());
  spare->SetParent(s.Popup.get());
  spare->SetBounds(0, 40, 120, 40);
  s.Open();
  TTestPopup second(inner);
  second.SetTakesFocus(false);
  second.SetOwnLoop(false);
  second.SetBounds(0, 0, 60, 40);
  second.SetOwnerBounds(inner->ClientRect());
  second.ShowPopup(nullptr);
  ASSERT_EQ(cxOpenPopups().size(), 2u);
  suitetest::Click(spare, TPoint(100, 20));  // beside the second popup, which hangs over it
  EXPECT_FALSE(second.IsOpen());
  EXPECT_TRUE(s.Popup->IsOpen());
  EXPECT_EQ(spare->Presses, 1);
}

TEST(PopupClosing, TheOwnerHiddenOrFreedOrTheApplicationDeactivated) {
  {
    TPopupScene s;
    s.Open();
    s.Owner->SetVisible(false);
    Application->ProcessMessages();
    EXPECT_FALSE(s.Popup->IsOpen());
  }
  {
    TPopupScene s;
    s.Open();
    SendMessage(s.Form->Handle(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(s.Popup->IsOpen());
  }
  {
    TPopupScene s;
    int closed = 0;
    s.Popup->OnClosed = [&](TObject*) { ++closed; };
    s.Open();
    delete s.Owner;
    Application->ProcessMessages();
    EXPECT_FALSE(s.Popup->IsOpen());
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(s.Popup->OwnerControl(), nullptr);
  }
}

TEST(PopupClosing, AltEnterIsDroppedInThePopupsOwnLoop) {
  TPopupScene s(true);
  s.Popup->SetOwnLoop(true);
  s.Popup->HandleNeeded();
  PostMessage(s.Popup->Handle(), WM_SYSKEYDOWN, VK_RETURN, 0);
  PostMessage(s.Popup->Handle(), CM_CLOSEPOPUPWINDOW, 0, 0);
  s.Popup->ShowPopup(nullptr);  // returns once the loop has closed it
  EXPECT_FALSE(s.Popup->IsOpen());
  EXPECT_EQ(s.Popup->SysKeys, 0);
  MSG left;
  EXPECT_FALSE(PeekMessage(&left, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE));
}

TEST(PopupClosing, EscapeReleasesTheMouseCaptureFirst) {
  TPopupScene s(true);
  s.Open();
  SetCapture(s.Popup->Handle());
  ASSERT_TRUE(s.Popup->IsCapturingMouse());
  suitetest::Key(s.Popup.get(), Qt::Key_Escape);
  EXPECT_FALSE(s.Popup->IsCapturingMouse());
  EXPECT_TRUE(s.Popup->IsOpen());
}

TEST(PopupClosing, TheOpenListRefusesDoubleEntries) {
  TPopupScene s;
  s.Open();
  EXPECT_THROW(AddToOpenPopups(s.Popup.get()), EAssertionFailed);
  s.Popup->ClosePopup();
  EXPECT_THROW(RemoveFromOpenPopups(s.Popup.get()), EAssertionFailed);
  EXPECT_THROW(AddToOpenPopups(nullptr), EAssertionFailed);
}

}  // namespace
