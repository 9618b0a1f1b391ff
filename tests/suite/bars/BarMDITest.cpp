// The main form's bar manager and its MDI documents: the system-menu item that follows the
// maximized document, the window menu read into bar items, and the double click on its icon.
#include <gtest/gtest.h>

#include "BarTestSupport.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarMDI.h"
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

}  // namespace
