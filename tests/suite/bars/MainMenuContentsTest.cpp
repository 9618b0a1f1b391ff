// What the main menu's menus hold on a form like the main window: a menu taller than the screen
// drops down shortened to the work area and scrolls under the mouse and the keys, and the window
// list shows each document as "&1 <caption>" with the active one checked.
#include "MainMenuFixture.h"

#include <QImage>

#include "suite/core/ControlTestSupport.h"

namespace {

struct TMainMenuContents : TMainMenuFixture {
  static TPoint CentreOf(const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }
  void ClickTitle(TdxBarSubItem* Sub) {
    for (TdxBarItemLink* l : Menu->ItemLinks()->ShownLinks())
      if (l->Item() == Sub) {
        suitetest::MouseEvent(MenuBar(), QEvent::MouseMove, CentreOf(l->ItemRect()));
        suitetest::Click(MenuBar(), CentreOf(l->ItemRect()));
      }
  }
  static std::vector<std::string> Shown(TdxBarSubItem* Sub) {
    std::vector<std::string> r;
    for (TdxBarItemLink* l : Sub->ItemLinks()->ShownLinks()) r.push_back(l->Item()->Caption());
    return r;
  }
};

TEST_F(TMainMenuContents, AMenuTallerThanTheScreenDropsDownShortenedAndScrolls) {
  suitetest::TManualClock clock;
  std::vector<std::string> entries;
  for (int i = 0; i < 80; ++i) entries.push_back("Preset " + std::to_string(i));
  auto* presets = new TdxBarSubItem(Form.get());
  presets->SetCaption("&Presets");
  for (const std::string& e : entries) {
    auto* b = new TdxBarButton(Form.get());
    b->SetAction(Action(e));
    presets->ItemLinks()->AddLinkForItem(b);
  }
  Menu->ItemLinks()->AddLinkForItem(presets);
  Application->ProcessMessages();
  ClickTitle(presets);
  TdxBarSubMenuControl* menu = MenuOf(presets->ItemLinks());
  ASSERT_TRUE(menu);
  // Below its title, down to the foot of the work area, and no further.
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  TRect title;
  for (TdxBarItemLink* l : Menu->ItemLinks()->ShownLinks())
    if (l->Item() == presets) title = MenuBar()->ItemControlScreenRect(l->Control());
  EXPECT_EQ(menu->Top(), title.Bottom);
  EXPECT_EQ(menu->Top() + menu->Height(), work.bottom);
  ASSERT_TRUE(menu->CanScrollDown());
  EXPECT_FALSE(menu->CanScrollUp());

  const TPoint middle(menu->ClientWidth() / 2, menu->ClientHeight() / 2);
  auto number = [](TdxBarItemControl* C) { return C ? std::stoi(C->LinkItem()->Caption().substr(7)) : -1; };
  const int middleBefore = number(menu->ItemControlAt(middle));
  ASSERT_GT(middleBefore, 0);

  // The mouse resting on the bottom button scrolls one entry a step; off it, scrolling stops.
  const TPoint down = CentreOf(menu->ScrollButtonRect(true));
  suitetest::MouseEvent(menu, QEvent::MouseMove, down);
  EXPECT_TRUE(menu->Scrolling());
  for (int i = 1; i <= 3; ++i) {
    suitetest::Tick(menu->ScrollInterval());
    EXPECT_EQ(menu->TopIndex(), i);
  }
  EXPECT_TRUE(menu->CanScrollUp());
  suitetest::MouseEvent(menu, QEvent::MouseMove, middle);
  EXPECT_FALSE(menu->Scrolling());
  suitetest::Tick(menu->ScrollInterval() * 3);
  EXPECT_EQ(menu->TopIndex(), 3);
  // The entry under the mouse now lies three further on: a click runs that one.
  TdxBarItemControl* under = menu->ItemControlAt(middle);
  ASSERT_TRUE(under);
  const std::string caption = under->LinkItem()->Caption();
  EXPECT_EQ(number(under), middleBefore + 3);
  suitetest::Click(menu, middle);
  EXPECT_EQ(Runs[caption], 1);
  EXPECT_EQ(Runs.size(), 1u);
  EXPECT_EQ(GetActiveBarControl(), nullptr);

  // By the keys: End brings the last entry into view, Down wraps back to the top.
  Runs.clear();
  ClickTitle(presets);
  menu = MenuOf(presets->ItemLinks());
  ASSERT_TRUE(menu);
  SendMessage(menu->Handle(), WM_KEYDOWN, VK_END, 0);
  ASSERT_TRUE(menu->SelectedControl());
  EXPECT_EQ(menu->SelectedControl()->LinkItem()->Caption(), "Preset 79");
  EXPECT_FALSE(menu->CanScrollDown());
  EXPECT_TRUE(menu->CanScrollUp());
  const TRect last = presets->ItemLinks()->ShownLinks().back()->ItemRect();
  EXPECT_LE(last.Bottom, menu->ClientHeight());
  EXPECT_GE(last.Top, 0);
  SendMessage(menu->Handle(), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(menu->SelectedControl()->LinkItem()->Caption(), "Preset 0");
  EXPECT_EQ(menu->TopIndex(), 0);
  SendMessage(menu->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(Runs["Preset 0"], 1);
}

TEST_F(TMainMenuContents, TheWindowListNumbersTheDocumentsAndChecksTheActiveOne) {
  WindowList->OnClick = [this](TObject*) {
    // The main window shows the document of the line clicked.
    if (auto* doc = dynamic_cast<TForm*>(WindowList->Items()->Objects(WindowList->ItemIndex()))) doc->Show();
  };
  for (const char* c : {"Untitled1.wav", "Loop.wav", "Take 2.wav"}) NewDocument(c);
  Documents[1]->Show();
  Application->ProcessMessages();
  ASSERT_EQ(Form->ActiveMDIChild(), Documents[1]);
  const std::vector<std::string> lines{"&1 Untitled1.wav", "&2 Loop.wav", "&3 Take 2.wav"};
  struct {
    const char* name;
    int active;
  } rounds[] = {{"the second document active", 1}, {"after the first was chosen from the list", 0}};
  for (const auto& r : rounds) {
    SCOPED_TRACE(r.name);
    ClickTitle(Window);
    TdxBarSubMenuControl* menu = MenuOf(Window->ItemLinks());
    ASSERT_TRUE(menu);
    std::vector<std::string> shown = Shown(Window);
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(shown.end() - 3, shown.end()), lines);
    const auto& links = Window->ItemLinks()->ShownLinks();
    const QImage image = suitetest::Snapshot(menu);
    for (int i = 0; i < 3; ++i) {
      TdxBarItemLink* l = links[links.size() - 3 + size_t(i)];
      auto* b = dynamic_cast<TdxBarButton*>(l->Item());
      ASSERT_TRUE(b);
      EXPECT_EQ(b->Down(), i == r.active) << lines[size_t(i)];
      // The check shows in the glyph column of that line only.
      const TRect rect = l->ItemRect();
      int dark = 0;
      for (int y = rect.Top + 2; y < rect.Bottom - 2; ++y)
        for (int x = rect.Left + 2; x < rect.Left + menu->IconAreaWidth() - 2; ++x)
          if (qGray(image.pixel(x, y)) < 100) ++dark;
      if (i == r.active)
        EXPECT_GT(dark, 3) << lines[size_t(i)];
      else
        EXPECT_EQ(dark, 0) << lines[size_t(i)];
    }
    if (r.active == 1) {
      // Choose the first document from the list.
      TdxBarItemLink* first = links[links.size() - 3];
      suitetest::MouseEvent(menu, QEvent::MouseMove, CentreOf(first->ItemRect()));
      suitetest::Click(menu, CentreOf(first->ItemRect()));
      EXPECT_EQ(GetActiveBarControl(), nullptr);
      EXPECT_EQ(Form->ActiveMDIChild(), Documents[0]);
    }
    CloseActiveMenusOf(Manager);
  }
}

}  // namespace
