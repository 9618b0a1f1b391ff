// The main menu of a form like the editor's main window, by mouse: a click on an entry runs its
// command once, a right-button release outside the open menus is swallowed, a click elsewhere
// closes the levels it does not lie in one by one, and the selection popup at the cursor returns
// only once it has closed.
#include "MainMenuFixture.h"

#include <QTimer>

#include <functional>

#include "suite/core/ControlTestSupport.h"

namespace {

// Button messages that reached a document window.
std::vector<UINT> gDocumentMessages;
// Run when the document receives the message posted for it.
constexpr UINT WM_RUN_POSTED = WM_APP + 5;
std::function<void()> gPosted;

LRESULT DocumentSpy(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
  if (msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK) gDocumentMessages.push_back(msg);
  if (msg == WM_RUN_POSTED && gPosted) {
    auto run = std::move(gPosted);
    gPosted = nullptr;
    run();
    return 0;
  }
  return DefSubclassProc(h, msg, w, l);
}

struct TMainMenuMouse : TMainMenuFixture {
  TForm* Document = nullptr;

  TMainMenuMouse() {
    Document = NewDocument("Untitled1.wav");
    SetWindowSubclass(Document->Handle(), DocumentSpy, 1, 0);
    gDocumentMessages.clear();
  }
  ~TMainMenuMouse() override {
    if (Document->HandleAllocated()) RemoveWindowSubclass(Document->Handle(), DocumentSpy, 1);
  }

  static TPoint CentreOf(TdxBarItemLink* Link) {
    const TRect r = Link->ItemRect();
    return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  static TdxBarItemLink* LinkOf(TdxBarItemLinks* Links, const std::string& Caption) {
    for (TdxBarItemLink* l : Links->ShownLinks())
      if (l->Item()->Caption() == Caption) return l;
    return nullptr;
  }
  // Moves onto an entry and clicks it, in the window that shows it.
  void ClickEntry(TdxBarItemLinks* Links, const std::string& Caption) {
    TdxBarItemLink* l = LinkOf(Links, Caption);
    ASSERT_TRUE(l) << Caption;
    auto* bar = Links->BarControl();
    ASSERT_TRUE(bar) << Caption;
    suitetest::MouseEvent(bar, QEvent::MouseMove, CentreOf(l));
    suitetest::Click(bar, CentreOf(l));
  }
  void OpenEditInsertSilence() {
    ClickEntry(Menu->ItemLinks(), "&Edit");
    TdxBarSubMenuControl* edit = MenuOf(Edit->ItemLinks());
    ASSERT_TRUE(edit);
    TdxBarItemLink* l = LinkOf(Edit->ItemLinks(), "Insert Silen&ce...");
    suitetest::MouseEvent(edit, QEvent::MouseMove, CentreOf(l));
    suitetest::Click(edit, CentreOf(l));
    ASSERT_EQ(OpenMenus(), (std::vector<std::string>{"&Edit", "Insert Silen&ce..."}));
  }
};

TEST_F(TMainMenuMouse, AClickOnAnEntryRunsItsCommandOnceAndClosesTheMenus) {
  ClickEntry(Menu->ItemLinks(), "&File");
  ASSERT_EQ(OpenMenus(), (std::vector<std::string>{"&File"}));
  ClickEntry(File->ItemLinks(), "&Open File...");
  EXPECT_EQ(Runs["&File/&Open File..."], 1);
  EXPECT_EQ(Runs.size(), 1u);
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  EXPECT_EQ(MenuOf(File->ItemLinks()), nullptr);
  // In a nested menu as well.
  OpenEditInsertSilence();
  ClickEntry(InsertSilence->ItemLinks(), "&End");
  EXPECT_EQ(Runs["Insert Silen&ce.../&End"], 1);
  EXPECT_EQ(GetActiveBarControl(), nullptr);
}

TEST_F(TMainMenuMouse, ARightButtonReleaseOutsideTheOpenMenusIsSwallowed) {
  const TPoint inDocument(100, 100);
  OpenEditInsertSilence();
  suitetest::MouseEvent(Document, QEvent::MouseButtonRelease, inDocument, Qt::RightButton);
  EXPECT_TRUE(gDocumentMessages.empty());
  EXPECT_EQ(OpenMenus(), (std::vector<std::string>{"&Edit", "Insert Silen&ce..."}));
  // Over the open menus it is theirs, and closes nothing.
  TdxBarSubMenuControl* inner = MenuOf(InsertSilence->ItemLinks());
  suitetest::MouseEvent(inner, QEvent::MouseButtonRelease, TPoint(5, 5), Qt::RightButton);
  EXPECT_EQ(OpenMenus(), (std::vector<std::string>{"&Edit", "Insert Silen&ce..."}));
  EXPECT_TRUE(Runs.empty());
  CloseActiveMenusOf(Manager);
  // With no menu open the document has it.
  suitetest::MouseEvent(Document, QEvent::MouseButtonRelease, inDocument, Qt::RightButton);
  EXPECT_EQ(gDocumentMessages, (std::vector<UINT>{WM_RBUTTONUP}));
}

TEST_F(TMainMenuMouse, AClickElsewhereClosesTheLevelsItDoesNotLieInOneByOne) {
  std::vector<std::string> closed;
  for (TdxBarSubItem* s : {Edit, InsertSilence, File})
    s->OnCloseUp = [&closed, s](TObject*) { closed.push_back(s->Caption()); };
  struct {
    const char* name;
    std::function<void()> click;
    std::vector<std::string> closed;  // the menus that closed, in order
    std::vector<std::string> open;    // afterwards
    bool documentHasIt;
  } cases[] = {
      {"on the document: innermost first, and the document has the click",
       [&] { suitetest::Click(Document, TPoint(100, 100)); },
       {"Insert Silen&ce...", "&Edit"},
       {},
       true},
      {"on another title: both close and its menu opens",
       [&] { suitetest::Click(MenuBar(), CentreOf(LinkOf(Menu->ItemLinks(), "&File"))); },
       {"Insert Silen&ce...", "&Edit"},
       {"&File"},
       false},
      {"on the frame's empty client area",
       [&] { suitetest::Click(Form.get(), TPoint(Form->ClientWidth() - 10, Form->ClientHeight() - 10)); },
       {"Insert Silen&ce...", "&Edit"},
       {},
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OpenEditInsertSilence();
    gDocumentMessages.clear();
    closed.clear();
    c.click();
    EXPECT_EQ(closed, c.closed);
    EXPECT_EQ(OpenMenus(), c.open);
    EXPECT_EQ(!gDocumentMessages.empty(), c.documentHasIt);
    EXPECT_TRUE(Runs.empty());
    if (c.open.empty()) EXPECT_EQ(GetActiveBarControl(), nullptr);
    CloseActiveMenusOf(Manager);
    ASSERT_EQ(GetActiveBarControl(), nullptr);
  }
}

TEST_F(TMainMenuMouse, TheSelectionPopupAtTheCursorReturnsOnlyOnceItClosed) {
  auto* selection = new TdxBarPopupMenu(Form.get());
  for (const char* c : {"Select Specified Time", "-Select To Start", "Select To End", "-Select All"}) {
    const bool group = *c == '-';
    auto* b = NewItem<TdxBarButton>(group ? c + 1 : c);
    b->SetAction(Action(b->Caption()));
    selection->ItemLinks()->AddLinkForItem(b)->SetBeginGroup(group);
  }
  // The action runs from a message posted as the menu opens (inside the call's wait), or from a
  // timer that falls due while the menu is being shown.
  struct {
    const char* name;
    bool posted;
    std::function<void()> whileOpen;
    const char* ran;
  } cases[] = {
      {"a click on an entry", true, [&] { ClickEntry(selection->ItemLinks(), "Select To End"); }, "Select To End"},
      {"a click on the document", true, [&] { suitetest::Click(Document, TPoint(200, 150)); }, nullptr},
      {"Esc", true, [&] { Type(Qt::Key_Escape); }, nullptr},
      {"closed while it is being shown", false, [&] { CloseActiveMenusOf(Manager); }, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Runs.clear();
    bool wasOpen = false, closedInside = false;
    auto action = [&] {
      wasOpen = selection->IsOpen();
      c.whileOpen();
      closedInside = !selection->IsOpen();
    };
    selection->OnPopup = [&](TObject*) {
      if (c.posted) {
        gPosted = action;
        PostMessage(Document->Handle(), WM_RUN_POSTED, 0, 0);
      } else {
        QTimer::singleShot(0, action);
      }
    };
    SetCursorPos(Form->Left() + 300, Form->Top() + 200);
    selection->PopupAtCursor();
    EXPECT_TRUE(wasOpen);
    EXPECT_TRUE(closedInside);
    EXPECT_FALSE(selection->IsOpen());
    EXPECT_EQ(selection->BarControl(), nullptr);
    if (c.ran) {
      EXPECT_EQ(Runs[c.ran], 1);
      EXPECT_EQ(Runs.size(), 1u);
    } else {
      EXPECT_TRUE(Runs.empty());
    }
    gPosted = nullptr;
  }
}

}  // namespace
