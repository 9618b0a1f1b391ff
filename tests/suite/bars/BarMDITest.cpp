// The main form's bar manager and its MDI documents: the system-menu item that follows the
// maximized document, the window menu read into bar items, and the double click on its icon.
#include <gtest/gtest.h>

#include "BarTestSupport.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "suite/bars/dxBar.h"
#include "platform/gui/Pictures.h"
#include "suite/bars/dxBarMDI.h"
#include "suite/bars/dxBarToolbar.h"
#include "suite/core/ControlTestSupport.h"

namespace {

std::vector<std::pair<HWND, WPARAM>> gCommands;

LRESULT CommandSpy(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
  if (msg == WM_SYSCOMMAND) gCommands.emplace_back(h, w);
  return DefSubclassProc(h, msg, w, l);
}

struct TMdiFixture : ::testing::Test {
  TForm* Frame = nullptr;
  TdxBarManager* Manager = nullptr;
  TdxBar* Menu = nullptr;
  std::vector<TForm*> Docs;
  std::vector<std::pair<int, HWND>> Steps;

  TMdiFixture() {
    RegisterGuiClasses();
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(QColor(255, 0, 0));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(red)));
    CreateForm(Frame);
    Frame->SetFormStyle(fsMDIForm);
    Frame->SetBounds(0, 0, 640, 480);
    Manager = new TdxBarManager(Frame);
    Menu = Manager->Bars()->Add();
    Menu->SetIsMainMenu(true);
    auto* file = new TdxBarSubItem(Frame);
    file->SetCaption("&File");
    Menu->ItemLinks()->AddLinkForItem(file);
    Frame->Show();
    for (int i = 0; i < 2; ++i) {
      auto* doc = new TForm(Frame);
      doc->SetFormStyle(fsMDIChild);
      doc->SetCaption("Sound " + std::to_string(i + 1));
      doc->SetBounds(20 * i, 20 * i, 300, 200);
      doc->Show();
      SetWindowSubclass(doc->Handle(), CommandSpy, 1, 0);
      Docs.push_back(doc);
    }
    Manager->MergeHandlers()->Subscribe(TcxEventHandler::Bind(this, &TMdiFixture::Step));
    gCommands.clear();
  }
  ~TMdiFixture() override {
    for (TForm* d : Docs)
      if (d->HandleAllocated()) RemoveWindowSubclass(d->Handle(), CommandSpy, 1);
    delete Frame;
    QApplication::setWindowIcon(QIcon());
  }
  void Step(TObject*, TcxEventArgs* Args) {
    auto* a = static_cast<TdxBarMergeEventArgs*>(Args);
    Steps.emplace_back(a->Kind, a->ChildWindow);
  }
  TSystemMenuSubItem* SystemItem() const {
    return dynamic_cast<TSystemMenuSubItem*>(Menu->ItemLinks()->LinkByIndex(0)->Item());
  }
  void Command(TForm* Doc, WPARAM Command) {
    SendMessage(Doc->Handle(), WM_SYSCOMMAND, Command, 0);
    Application->ProcessMessages();
  }
};

TEST_F(TMdiFixture, TheSystemMenuLinkFollowsTheMaximizedDocument) {
  EXPECT_FALSE(SystemItem());
  Command(Docs[1], SC_MAXIMIZE);
  ASSERT_TRUE(SystemItem());
  EXPECT_EQ(SystemItem()->ChildWindow(), Docs[1]->Handle());
  EXPECT_EQ(Menu->ItemLinks()->Count(), 2);
  EXPECT_TRUE(Manager->HasSystemMenuItems());
  EXPECT_EQ(Manager->IndexOfItem(SystemItem()), -1);
  EXPECT_EQ(Steps.back(), std::make_pair(2, Docs[1]->Handle()));

  // The other document comes up maximized too: its item replaces the first one's.
  Steps.clear();
  Docs[0]->Show();
  Application->ProcessMessages();
  ASSERT_TRUE(SystemItem());
  EXPECT_EQ(SystemItem()->ChildWindow(), Docs[0]->Handle());
  EXPECT_EQ(Menu->ItemLinks()->Count(), 2);
  // The first document stopped being active before the second became active.
  auto at = [&](int Kind, HWND Child) {
    return std::find(Steps.begin(), Steps.end(), std::make_pair(Kind, Child)) - Steps.begin();
  };
  EXPECT_LT(at(1, Docs[1]->Handle()), at(0, Docs[0]->Handle()));
  EXPECT_LT(at(0, Docs[0]->Handle()), std::ptrdiff_t(Steps.size()));

  Command(Docs[0], SC_RESTORE);
  EXPECT_FALSE(SystemItem());
  EXPECT_EQ(Menu->ItemLinks()->Count(), 1);
  EXPECT_FALSE(Manager->HasSystemMenuItems());

  // The MDI buttons' commands reach the active document.
  gCommands.clear();
  for (int i = 0; i < 3; ++i) Manager->SendMDIChildSysCommand(i);
  const std::vector<std::pair<HWND, WPARAM>> sent = {
      {Docs[0]->Handle(), SC_MINIMIZE}, {Docs[0]->Handle(), SC_RESTORE}, {Docs[0]->Handle(), SC_CLOSE}};
  EXPECT_EQ(gCommands, sent);
}

TEST_F(TMdiFixture, ClosingTheMaximizedDocumentsTakesTheirLinkAway) {
  Command(Docs[1], SC_MAXIMIZE);
  ASSERT_TRUE(SystemItem());
  // The other document takes over, maximized or not; the link never names a window that is gone.
  delete Docs[1];
  Docs.pop_back();
  Application->ProcessMessages();
  if (IsZoomed(Docs[0]->Handle())) {
    ASSERT_TRUE(SystemItem());
    EXPECT_EQ(SystemItem()->ChildWindow(), Docs[0]->Handle());
  } else {
    EXPECT_FALSE(SystemItem());
  }
  // The last document closed: the menu is the frame's own again.
  Command(Docs[0], SC_MAXIMIZE);
  ASSERT_TRUE(SystemItem());
  delete Docs[0];
  Docs.clear();
  Application->ProcessMessages();
  EXPECT_FALSE(SystemItem());
  EXPECT_EQ(Menu->ItemLinks()->Count(), 1);
  EXPECT_FALSE(Manager->HasSystemMenuItems());
  EXPECT_FALSE(Manager->ActiveMDIChildMaximized());
}

TEST_F(TMdiFixture, ADocumentWithoutWindowMenuGetsNoItem) {
  Docs[1]->SetBorderIcons(TBorderIcons{biMaximize});
  Docs[1]->Show();
  Command(Docs[1], SC_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(Docs[1]->Handle()));
  EXPECT_FALSE(SystemItem());
  EXPECT_TRUE(Manager->ActiveMDIChildMaximized());
}

TEST_F(TMdiFixture, TheWindowMenuIsReadIntoItemsAnewAtEveryOpening) {
  HWND doc = Docs[1]->Handle();
  HMENU system = GetSystemMenu(doc, FALSE);
  HMENU more = CreatePopupMenu();
  AppendMenu(more, MF_STRING, 0x2001, "&Inner");
  AppendMenu(system, MF_SEPARATOR, 0, nullptr);
  AppendMenu(system, MF_STRING | MF_CHECKED, 0x2002, "&Pinned");
  AppendMenu(system, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "&More");
  Command(Docs[1], SC_MAXIMIZE);
  TSystemMenuSubItem* item = SystemItem();
  ASSERT_TRUE(item);
  TdxBarDesignController* dc = BarDesignController();

  struct Row {
    std::string Caption;
    std::string ShortCut;
    bool BeginGroup, Enabled, Glyph;
  };
  const std::vector<Row> expected = {
      {"&Restore", "", false, true, true},       {"&Move", "", false, false, false},
      {"&Size", "", false, false, false},        {"Mi&nimize", "", false, true, true},
      {"Ma&ximize", "", false, false, true},     {"&Close", "Ctrl+F4", true, true, true},
      {"Nex&t", "Ctrl+F6", true, true, false},   {"&Pinned", "", true, true, false},
      {"&More", "", false, true, false}};
  int internalCount = -1;
  for (int opening = 0; opening < 2; ++opening) {
    item->Click();
    TdxBarItemLinks* links = item->ItemLinks();
    ASSERT_EQ(links->Count(), int(expected.size())) << opening;
    for (size_t i = 0; i < expected.size(); ++i) {
      TdxBarItem* entry = links->LinkByIndex(int(i))->Item();
      EXPECT_EQ(entry->Caption(), expected[i].Caption);
      EXPECT_EQ(ShortCutToText(entry->ShortCut()), expected[i].ShortCut) << expected[i].Caption;
      EXPECT_EQ(links->LinkByIndex(int(i))->BeginGroup(), expected[i].BeginGroup) << expected[i].Caption;
      EXPECT_EQ(entry->Enabled(), expected[i].Enabled) << expected[i].Caption;
      EXPECT_EQ(!entry->Glyph()->Empty(), expected[i].Glyph) << expected[i].Caption;
      EXPECT_EQ(Manager->IndexOfItem(entry), -1);
    }
    auto* pinned = dynamic_cast<TdxBarButton*>(links->LinkByIndex(7)->Item());
    ASSERT_TRUE(pinned);
    EXPECT_EQ(pinned->ButtonStyle(), bsChecked);
    EXPECT_TRUE(pinned->Down());
    auto* sub = dynamic_cast<TdxBarSubItem*>(links->LinkByIndex(8)->Item());
    ASSERT_TRUE(sub);
    ASSERT_EQ(sub->ItemLinks()->Count(), 1);
    EXPECT_EQ(sub->ItemLinks()->LinkByIndex(0)->Item()->Caption(), "&Inner");
    // The second opening starts from freed items: nothing accumulates.
    if (opening == 0) internalCount = dc->InternalItems()->Count();
    else EXPECT_EQ(dc->InternalItems()->Count(), internalCount);
  }
  EXPECT_EQ(internalCount, int(expected.size()) + 1);

  // An entry's click sends its command to the document.
  gCommands.clear();
  item->ItemLinks()->LinkByIndex(0)->Item()->Click();
  Application->ProcessMessages();
  ASSERT_EQ(gCommands.size(), 1u);
  EXPECT_EQ(gCommands[0], std::make_pair(doc, WPARAM(SC_RESTORE)));
  EXPECT_FALSE(IsZoomed(doc));
  EXPECT_FALSE(SystemItem());
}

TEST_F(TMdiFixture, ADoubleClickOnTheIconSendsTheDefaultCommand) {
  Command(Docs[1], SC_MAXIMIZE);
  ASSERT_TRUE(SystemItem());
  TTestBarControl bar(Manager, Menu->ItemLinks());
  bar.ShowAt(10, 10, 300, 24);
  TdxBarItemControl* icon = Menu->ItemLinks()->LinkByIndex(0)->Control();
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->Width(), 16);
  EXPECT_EQ(icon->Height(), 16);
  // The document's small icon is drawn on the bar.
  QImage shot = suitetest::Snapshot(&bar);
  const TRect r = Menu->ItemLinks()->LinkByIndex(0)->ItemRect();
  EXPECT_EQ(shot.pixel(r.Left + 8, r.Top + 8) & 0xFFFFFF, 0xFF0000u);

  SetMenuDefaultItem(GetSystemMenu(Docs[1]->Handle(), FALSE), UINT(SC_MINIMIZE), FALSE);
  gCommands.clear();
  const TPoint at(r.Left + 8, r.Top + 8);
  suitetest::MouseEvent(&bar, QEvent::MouseButtonPress, at);
  suitetest::MouseEvent(&bar, QEvent::MouseButtonRelease, at);
  suitetest::MouseEvent(&bar, QEvent::MouseButtonDblClick, at);
  suitetest::MouseEvent(&bar, QEvent::MouseButtonRelease, at);
  ASSERT_FALSE(gCommands.empty());
  EXPECT_EQ(gCommands.back(), std::make_pair(Docs[1]->Handle(), WPARAM(SC_MINIMIZE)));
  EXPECT_TRUE(IsIconic(Docs[1]->Handle()));
  EXPECT_FALSE(GetActiveBarControl());
}

// The main menu docked on the frame, drawn flat so that every button state has its own look.
struct TMdiButtonsFixture : TMdiFixture {
  TMdiButtonsFixture() {
    Manager->SetStyle(bmsFlat);
    Menu->SetDockingStyle(dsTop);
    Menu->SetVisible(true);
    Application->ProcessMessages();
  }
  TdxBarControl* Bar() const { return Menu->BarControl(); }
  HWND Doc() const { return Docs[1]->Handle(); }
  void Maximize() {
    if (!IsZoomed(Doc())) Command(Docs[1], SC_MAXIMIZE);
    Application->ProcessMessages();
    gCommands.clear();
  }
  TPoint Centre(int Index) const {
    const TRect r = Bar()->MDIButtonRect(Index);
    return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  // The button as the bar shows it now (the picture holds the whole window, border included).
  QImage Shown(int Index) const {
    const TRect r = Bar()->MDIButtonRect(Index);
    const TPoint o = Bar()->ClientOriginInWindow();
    return suitetest::Snapshot(Bar())
        .copy(r.Left + o.X, r.Top + o.Y, r.Width(), r.Height())
        .convertToFormat(QImage::Format_RGB32);
  }
  // The button as the painter draws it in State, on a canvas the size of the bar.
  QImage Drawn(int Index, int State) const {
    const TRect r = Bar()->MDIButtonRect(Index);
    TBitmap canvas;
    canvas.SetSize(Bar()->ClientWidth(), Bar()->ClientHeight());
    Manager->Painter()->DrawMDIButton(Bar(), TdxBarMDIButton(Index), r, canvas.Canvas()->Handle(), State);
    return canvas.ToImage().copy(r.Left, r.Top, r.Width(), r.Height()).convertToFormat(QImage::Format_RGB32);
  }
  void ExpectLook(int Index, int State, const char* When) const {
    EXPECT_EQ(Shown(Index), Drawn(Index, State)) << "button " << Index << " not in state " << State << " " << When;
  }
  void Mouse(QEvent::Type Type, TPoint At) { suitetest::MouseEvent(Bar(), Type, At); }
};

TEST_F(TMdiButtonsFixture, TheThreeButtonsSendTheirCommandsToTheMaximizedDocument) {
  ASSERT_TRUE(Bar());
  EXPECT_FALSE(Bar()->HasMDIButtons());
  Maximize();
  ASSERT_TRUE(Bar()->HasMDIButtons());
  // Minimize, restore and close in a row at the far end, the close button set apart.
  const TRect mn = Bar()->MDIButtonRect(0), rs = Bar()->MDIButtonRect(1), cl = Bar()->MDIButtonRect(2);
  EXPECT_EQ(mn.Right, rs.Left);
  EXPECT_EQ(rs.Right + 2, cl.Left);
  EXPECT_LE(cl.Right, Bar()->ClientWidth());
  EXPECT_GE(mn.Left, Menu->ItemLinks()->LinkByIndex(1)->ItemRect().Right);
  for (int i = 0; i < 3; ++i) ExpectLook(i, 0, "at rest");
  // The gap before close is the bar's background, like the free bar before the buttons.
  const QImage shot = suitetest::Snapshot(Bar());
  const TPoint o = Bar()->ClientOriginInWindow();
  const int middle = o.Y + (rs.Top + rs.Bottom) / 2;
  EXPECT_EQ(shot.pixel(o.X + rs.Right + 1, middle), shot.pixel(o.X + mn.Left - 3, middle));

  struct TCase {
    int Index;
    WPARAM Command;
  };
  for (const TCase& c : {TCase{0, SC_MINIMIZE}, TCase{1, SC_RESTORE}, TCase{2, SC_CLOSE}}) {
    Maximize();
    ASSERT_TRUE(Bar()->HasMDIButtons()) << c.Index;
    const TPoint at = Centre(c.Index);
    Mouse(QEvent::MouseButtonPress, at);
    EXPECT_TRUE(gCommands.empty()) << "a press alone sends nothing";
    Mouse(QEvent::MouseButtonRelease, at);
    const std::vector<std::pair<HWND, WPARAM>> sent = {{Doc(), c.Command}};
    EXPECT_EQ(gCommands, sent) << c.Index;
    EXPECT_FALSE(GetCapture()) << c.Index;
    if (c.Index == 0) EXPECT_TRUE(IsIconic(Doc()));
    if (c.Index == 1) EXPECT_FALSE(IsZoomed(Doc()));
    if (c.Index < 2) EXPECT_FALSE(Bar()->HasMDIButtons()) << c.Index;
  }
}

TEST_F(TMdiButtonsFixture, AButtonIsGreyWhenItsWindowMenuEntryIs) {
  // Minimize follows the document's frame; the program greys or disables Close itself.
  struct TCase {
    const char* Name;
    int Index;
    UINT CloseFlags;
    bool MinimizeBox;
    int DrawnState, HotState;
    bool Sends;
  };
  const TCase cases[] = {
      {"minimize with a minimize box", 0, MF_ENABLED, true, 0, 2, true},
      {"close greyed", 2, MF_GRAYED, true, 1, 1, false},
      {"close disabled, not grey", 2, MF_DISABLED, true, 0, 2, false},
      {"minimize without a minimize box", 0, MF_ENABLED, false, 1, 1, false},
  };
  for (const TCase& c : cases) {
    if (!c.MinimizeBox) {
      Docs[1]->SetBorderIcons(TBorderIcons{biSystemMenu, biMaximize});
      SetWindowSubclass(Doc(), CommandSpy, 1, 0);
    }
    Maximize();
    ASSERT_TRUE(Bar()->HasMDIButtons()) << c.Name;
    EnableMenuItem(GetSystemMenu(Doc(), FALSE), SC_CLOSE, MF_BYCOMMAND | c.CloseFlags);
    InvalidateRect(Bar()->Handle(), nullptr, TRUE);
    ExpectLook(c.Index, c.DrawnState, c.Name);
    ExpectLook(1, 0, c.Name);
    Mouse(QEvent::MouseMove, Centre(c.Index));
    ExpectLook(c.Index, c.HotState, c.Name);
    Mouse(QEvent::MouseButtonPress, Centre(c.Index));
    Mouse(QEvent::MouseButtonRelease, Centre(c.Index));
    EXPECT_EQ(gCommands.size(), c.Sends ? 1u : 0u) << c.Name;
    EXPECT_EQ(bool(IsIconic(Doc())), c.Sends) << c.Name;
    EXPECT_TRUE(IsWindow(Doc())) << c.Name;
    Mouse(QEvent::MouseMove, TPoint(0, 0));
    if (IsIconic(Doc())) Command(Docs[1], SC_RESTORE);
    EnableMenuItem(GetSystemMenu(Doc(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_ENABLED);
  }
}

TEST_F(TMdiButtonsFixture, TheButtonsFollowTheMouseAndAPressReleasedElsewhereSendsNothing) {
  Maximize();
  // Each state has a look of its own in this style: its fill shows round the glyph.
  for (int a = 0; a < 5; ++a)
    for (int b = a + 1; b < 5; ++b) ASSERT_NE(Drawn(1, a), Drawn(1, b)) << a << " " << b;
  const TPoint away(Bar()->MDIButtonRect(0).Left - 20, Centre(0).Y);
  Mouse(QEvent::MouseMove, Centre(0));
  ExpectLook(0, 2, "under the mouse");
  Mouse(QEvent::MouseMove, Centre(1));
  ExpectLook(0, 0, "after the mouse went on");
  ExpectLook(1, 2, "under the mouse");
  Mouse(QEvent::MouseMove, away);
  ExpectLook(1, 0, "after the mouse left the buttons");

  Mouse(QEvent::MouseMove, Centre(1));
  Mouse(QEvent::MouseButtonPress, Centre(1));
  ExpectLook(1, 4, "held under the mouse");
  EXPECT_EQ(GetCapture(), Bar()->Handle());
  // Held, the button keeps the mouse: neither its neighbour nor the menu titles light up.
  suitetest::Drag(Bar(), Centre(2));
  ExpectLook(1, 3, "held with the mouse away");
  ExpectLook(2, 0, "while another is held");
  suitetest::Drag(Bar(), Centre(1));
  ExpectLook(1, 4, "held with the mouse back");
  suitetest::Drag(Bar(), away);
  Mouse(QEvent::MouseButtonRelease, away);
  ExpectLook(1, 0, "released elsewhere");
  EXPECT_TRUE(gCommands.empty());
  EXPECT_TRUE(IsZoomed(Doc()));
  EXPECT_FALSE(GetCapture());

  // The window system taking the mouse away ends the press without a command.
  Mouse(QEvent::MouseButtonPress, Centre(2));
  ExpectLook(2, 4, "held");
  SendMessage(Bar()->Handle(), WM_CANCELMODE, 0, 0);
  ExpectLook(2, 0, "after the press was cancelled");
  Mouse(QEvent::MouseButtonRelease, Centre(2));
  EXPECT_TRUE(gCommands.empty());
  EXPECT_TRUE(IsWindow(Doc()) && IsZoomed(Doc()));
}

TEST_F(TMdiButtonsFixture, TheLoneCloseButtonFiresTheManagersEventOnly) {
  int clicks = 0;
  Manager->OnCloseButtonClick = [&](TObject*) { ++clicks; };
  Manager->ShowCloseButton = true;
  // The bar makes room for the button on its next layout.
  SendMessage(Bar()->Handle(), WM_APP + 200, 0, 0);
  Application->ProcessMessages();
  ASSERT_FALSE(Bar()->HasMDIButtons());
  ASSERT_TRUE(Bar()->ShowsCloseButton());
  const TRect close = Bar()->MDIButtonRect(2);
  EXPECT_GE(close.Left, Menu->ItemLinks()->LinkByIndex(0)->ItemRect().Right);
  EXPECT_LE(close.Right, Bar()->ClientWidth());
  ExpectLook(2, 0, "alone");
  Mouse(QEvent::MouseMove, Centre(2));
  ExpectLook(2, 2, "alone under the mouse");
  Mouse(QEvent::MouseButtonPress, Centre(2));
  Mouse(QEvent::MouseButtonRelease, Centre(2));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(gCommands.empty());
  // Released elsewhere: no click.
  Mouse(QEvent::MouseButtonPress, Centre(2));
  suitetest::Drag(Bar(), TPoint(close.Left - 20, Centre(2).Y));
  Mouse(QEvent::MouseButtonRelease, TPoint(close.Left - 20, Centre(2).Y));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(gCommands.empty());
}

}  // namespace
