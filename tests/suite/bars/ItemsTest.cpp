#include <gtest/gtest.h>

#include "BarTestSupport.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "suite/bars/dxBar.h"

namespace {

using TItemsFixture = TBarFixture;

// Records the order in which handlers ran.
struct TLog : TObject {
  std::vector<std::string> Calls;
  void ManagerClick(TObject*, TdxBarItem* Item) { Calls.push_back("manager:" + Item->Caption()); }
  void ItemClick(TObject* Sender) {
    Calls.push_back("item:" + static_cast<TdxBarItem*>(Sender)->Caption());
  }
  void Execute(TObject*) { Calls.push_back("action"); }
  void Throw(TObject*) { throw Exception("handler failed"); }
  void Exception_(TObject*, Exception* E) { Calls.push_back(std::string("reported:") + E->what()); }
};

}  // namespace

// ---- caption and hint

TEST_F(TItemsFixture, TheHintFollowsTheCaptionUntilTheUserChangesIt) {
  auto* b = NewItem<TdxBarButton>();
  b->SetCaption("&Open...");
  EXPECT_EQ(b->Hint(), "Open");
  b->SetHint("Open|Opens an existing file.");
  b->SetCaption("&Save...");
  EXPECT_EQ(b->Hint(), "Save|Opens an existing file.");
  b->SetCaption("A && &B && C");
  EXPECT_EQ(b->Hint(), "A & &B && C|Opens an existing file.");
  b->SetHint("Mine");
  b->SetCaption("&Other");
  EXPECT_EQ(b->Hint(), "Mine");
  // Sub items keep their hint.
  auto* s = NewItem<TdxBarSubItem>("&File");
  EXPECT_EQ(s->Hint(), "");
}

// ---- actions

TEST_F(TItemsFixture, AnItemTakesTheActionsValuesAndFollowsThem) {
  TActionList list(Form.get());
  auto* a = new TAction(Form.get());
  a->SetActionList(&list);
  a->SetCaption("&Open File...");
  a->SetHint("Opens an existing file.");
  a->SetShortCut(ShortCut('O', {ssCtrl}));
  a->SetImageIndex(3);
  a->SetHelpContext(7);
  a->SetChecked(true);
  TLog log;
  a->OnExecute = TNotifyEvent::Bind(&log, &TLog::Execute);

  auto* b = NewItem<TdxBarLargeButton>();
  b->SetButtonStyle(bsChecked);
  b->SetAction(a);
  EXPECT_EQ(b->Caption(), "&Open File...");
  EXPECT_EQ(b->Hint(), "Opens an existing file.");
  EXPECT_EQ(b->ShortCut(), ShortCut('O', {ssCtrl}));
  EXPECT_EQ(b->LargeImageIndex(), 3);
  EXPECT_EQ(b->HelpContext(), 7);
  EXPECT_TRUE(b->Down());
  EXPECT_TRUE(b->OnClick == a->OnExecute);

  // The nine linked values follow the action while the item still shows the action's value.
  a->SetCaption("&Open");
  a->SetEnabled(false);
  a->SetVisible(false);
  a->SetChecked(false);
  a->SetImageIndex(4);
  a->SetShortCut(0);
  a->SetHint("Other");
  a->SetHelpContext(8);
  EXPECT_EQ(b->Caption(), "&Open");
  EXPECT_FALSE(b->Enabled());
  EXPECT_EQ(b->Visible(), ivNever);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(b->LargeImageIndex(), 4);
  EXPECT_EQ(b->ShortCut(), 0);
  EXPECT_EQ(b->Hint(), "Other");
  EXPECT_EQ(b->HelpContext(), 8);
  EXPECT_FALSE(b->StoresCaption());
  b->SetCaption("Mine");
  EXPECT_TRUE(b->StoresCaption());
  a->SetCaption("Theirs");
  EXPECT_EQ(b->Caption(), "Mine");

  delete a;
  EXPECT_EQ(b->Action(), nullptr);
}

TEST_F(TItemsFixture, LoadingWithAnActionFillsOnlyDefaults) {
  auto* a = new TAction(Form.get());
  a->SetCaption("From action");
  a->SetHint("Action hint");
  auto* b = NewItem<TdxBarButton>();
  a->SetComponentState(csLoading, true);
  b->SetComponentState(csLoading, true);
  b->SetCaption("Stored");
  b->SetAction(a);
  b->Loaded();
  EXPECT_EQ(b->Caption(), "Stored");
  EXPECT_EQ(b->Hint(), "Action hint");
}

// ---- the click path

TEST_F(TItemsFixture, AClickRunsTheManagerEventFirstAndSurvivesAThrowingHandler) {
  TLog log;
  Manager->OnClickItem = TdxBarClickItemEvent::Bind(&log, &TLog::ManagerClick);
  auto* b = NewItem<TdxBarButton>("b");
  b->OnClick = TNotifyEvent::Bind(&log, &TLog::ItemClick);
  b->Click();
  EXPECT_EQ(log.Calls, (std::vector<std::string>{"manager:b", "item:b"}));

  log.Calls.clear();
  b->SetEnabled(false);
  b->Click();
  EXPECT_TRUE(log.Calls.empty());
  b->SetEnabled(true);

  auto* app = GetApplication();
  auto saved = app->OnException;
  app->OnException = TExceptionEvent::Bind(&log, &TLog::Exception_);
  b->OnClick = TNotifyEvent::Bind(&log, &TLog::Throw);
  EXPECT_NO_THROW(b->Click());
  EXPECT_EQ(log.Calls.back(), "reported:handler failed");
  b->OnClick = TNotifyEvent::Bind(&log, &TLog::ItemClick);
  b->Click();
  EXPECT_EQ(log.Calls.back(), "item:b");
  app->OnException = saved;
}

TEST_F(TItemsFixture, OnClickEqualToTheActionsHandlerRunsTheAction) {
  TLog log;
  auto* a = new TAction(Form.get());
  a->OnExecute = TNotifyEvent::Bind(&log, &TLog::Execute);
  auto* b = NewItem<TdxBarButton>("b");
  b->SetAction(a);
  b->Click();
  EXPECT_EQ(log.Calls, (std::vector<std::string>{"action"}));
}

// ---- buttons

TEST_F(TItemsFixture, DownWithinAGroupAndAllowAllUp) {
  auto* a = NewItem<TdxBarButton>("a");
  auto* b = NewItem<TdxBarButton>("b");
  auto* plain = NewItem<TdxBarButton>("plain");
  for (TdxBarButton* x : {a, b}) {
    x->SetButtonStyle(bsChecked);
    x->SetGroupIndex(1);
  }
  plain->SetGroupIndex(1);
  EXPECT_EQ(plain->GroupIndex(), 0);
  plain->SetDown(true);
  EXPECT_FALSE(plain->Down());

  a->SetDown(true);
  b->SetDown(true);
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(b->Down());
  b->SetDown(false);  // the only down member stays down
  EXPECT_TRUE(b->Down());
  a->SetAllowAllUp(true);
  EXPECT_TRUE(b->AllowAllUp());
  b->SetDown(false);
  EXPECT_FALSE(b->Down());

  b->SetDown(true);
  b->SetButtonStyle(bsDefault);
  EXPECT_FALSE(b->Down());

  // Buttons of another manager never interact.
  TForm other(nullptr);
  new TdxBarManager(&other);
  auto* c = new TdxBarButton(&other);
  c->SetButtonStyle(bsChecked);
  c->SetGroupIndex(1);
  a->SetDown(true);
  c->SetDown(true);
  EXPECT_TRUE(a->Down());
}

TEST_F(TItemsFixture, ACheckedButtonsShortcutTogglesItThenClicks) {
  TLog log;
  auto* b = NewItem<TdxBarButton>("b");
  b->SetButtonStyle(bsChecked);
  b->SetShortCut(ShortCut('B', {ssCtrl}));
  b->OnClick = TNotifyEvent::Bind(&log, &TLog::ItemClick);
  EXPECT_TRUE(b->MatchesShortCut(ShortCut('B', {ssCtrl})));
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(log.Calls.size(), 1u);
  b->SetEnabled(false);
  EXPECT_FALSE(b->MatchesShortCut(ShortCut('B', {ssCtrl})));
  EXPECT_TRUE(b->Down());
}

TEST_F(TItemsFixture, LargeButtonKeepsItsImageIndexesInStep) {
  auto* b = NewItem<TdxBarLargeButton>();
  b->SetLargeImageIndex(5);
  EXPECT_EQ(b->ImageIndex(), 5);
  b->SetImageIndex(2);  // setting the small index directly ends the synchronisation
  EXPECT_FALSE(b->SyncImageIndex());
  b->SetLargeImageIndex(6);
  EXPECT_EQ(b->ImageIndex(), 2);
  b->SetSyncImageIndex(true);
  EXPECT_EQ(b->ImageIndex(), 6);

  // Read from a description that stored only ImageIndex: the large index follows it.
  auto* loaded = NewItem<TdxBarLargeButton>();
  loaded->SetComponentState(csLoading, true);
  loaded->SetImageIndex(9);
  loaded->Loaded();
  EXPECT_EQ(loaded->LargeImageIndex(), 9);

  // One read with SyncImageIndex off keeps separate indexes.
  auto* separate = NewItem<TdxBarLargeButton>();
  separate->SetComponentState(csLoading, true);
  separate->SetSyncImageIndex(false);
  separate->SetImageIndex(1);
  separate->SetLargeImageIndex(4);
  separate->Loaded();
  EXPECT_EQ(separate->ImageIndex(), 1);
  EXPECT_EQ(separate->LargeImageIndex(), 4);
}

// ---- list items

namespace {
std::vector<std::string> Captions(TdxBarItemLinks* Links) {
  std::vector<std::string> r;
  for (int i = 0; i < Links->Count(); ++i) r.push_back(Links->LinkByIndex(i)->Item()->Caption());
  return r;
}
}  // namespace

TEST_F(TItemsFixture, ListEntriesAreNumberedAndGroupedBySeparators) {
  auto* list = NewItem<TdxBarListItem>("Windows");
  list->Items()->AddStrings({"a", "-", "b", "c"});
  list->SetShowCheck(true);
  list->SetItemIndex(2);
  auto* menu = NewItem<TdxBarSubItem>("menu");
  TdxBarItemLinks* links = menu->ItemLinks();
  TdxBarContainerLinkData data;
  data.Item = list;
  list->FillLinks(links, &data, 0);
  EXPECT_EQ(Captions(links), (std::vector<std::string>{"&1 a", "&2 b", "&3 c"}));
  EXPECT_TRUE(links->LinkByIndex(0)->StoredBeginGroup());
  EXPECT_TRUE(links->LinkByIndex(1)->StoredBeginGroup());
  EXPECT_FALSE(links->LinkByIndex(2)->StoredBeginGroup());
  auto* second = static_cast<TdxBarButton*>(links->LinkByIndex(1)->Item());
  EXPECT_TRUE(second->Down());
  // Generated buttons are not among the manager's items.
  EXPECT_EQ(Manager->IndexOfItem(second), -1);

  // A click on an entry sets ItemIndex before the list item's own click runs.
  TLog log;
  struct TProbe : TObject {
    TdxBarListItem* List;
    int Seen = -2;
    void Click(TObject*) { Seen = List->ItemIndex(); }
  } probe;
  probe.List = list;
  list->OnClick = TNotifyEvent::Bind(&probe, &TProbe::Click);
  static_cast<TdxBarButton*>(links->LinkByIndex(2)->Item())->Click();
  EXPECT_EQ(probe.Seen, 3);
  list->EndItemsPopulation(&data);
  EXPECT_EQ(links->Count(), 0);
}

TEST_F(TItemsFixture, ListNumbersRunThroughDigitsThenLettersThenStop) {
  auto* list = NewItem<TdxBarListItem>();
  struct Row {
    int Number;
    const char* Prefix;
  };
  for (Row r : {Row{0, "&1 "}, Row{8, "&9 "}, Row{9, "&A "}, Row{34, "&Z "}, Row{35, ""}})
    EXPECT_EQ(list->NumberPrefix(r.Number), r.Prefix) << r.Number;
  list->SetShowNumbers(false);
  EXPECT_EQ(list->NumberPrefix(0), "");
}

TEST_F(TItemsFixture, DataIndexCountsEntriesWithoutSeparators) {
  auto* list = NewItem<TdxBarListItem>();
  EXPECT_EQ(list->DataIndex(), -1);
  list->SetDataIndex(0);
  EXPECT_EQ(list->ItemIndex(), -1);
  list->Items()->AddStrings({"a", "-", "b"});
  list->SetItemIndex(2);
  EXPECT_EQ(list->DataIndex(), 1);
  list->SetDataIndex(1);
  EXPECT_EQ(list->ItemIndex(), 2);
  list->SetDataIndex(5);
  EXPECT_EQ(list->ItemIndex(), 3);
  EXPECT_EQ(list->DataIndex(), -1);
}

// ---- container items

TEST_F(TItemsFixture, AContainerExpandsItsShownLinksInPlaceAndCollapsesAgain) {
  auto* container = NewItem<TdxBarContainerItem>("recent");
  auto* x = NewItem<TdxBarButton>("x");
  auto* y = NewItem<TdxBarButton>("y");
  container->ItemLinks()->AddLinkForItem(x);
  container->ItemLinks()->AddLinkForItem(y)->SetBeginGroup(true);
  EXPECT_TRUE(container->CanShowContents());

  auto* menu = NewItem<TdxBarSubItem>("menu");
  TdxBarItemLinks* links = menu->ItemLinks();
  links->AddLinkForItem(NewItem<TdxBarButton>("before"));
  TdxBarItemLink* own = links->AddLinkForItem(container);
  TdxBarContainerLinkData data;
  data.Item = container;
  data.ContainerLink = own;
  data.Index = own->Index();
  int gets = 0;
  struct TG : TObject {
    int* N;
    void Get(TObject*) { ++*N; }
  } g;
  g.N = &gets;
  container->OnGetData = TNotifyEvent::Bind(&g, &TG::Get);
  container->FillLinks(links, &data, own->Index() + 1);
  EXPECT_EQ(Captions(links), (std::vector<std::string>{"before", "recent", "x", "y"}));
  EXPECT_TRUE(links->LinkByIndex(2)->StoredBeginGroup());
  EXPECT_FALSE(links->LinkByIndex(3)->StoredBeginGroup());
  EXPECT_EQ(links->LinkByIndex(2)->OriginLink(), own);
  EXPECT_EQ(gets, 1);
  EXPECT_FALSE(container->CanRecreateOnChange(nullptr));
  container->EndItemsPopulation(&data);
  EXPECT_EQ(Captions(links), (std::vector<std::string>{"before", "recent"}));
  EXPECT_TRUE(container->CanRecreateOnChange(nullptr));
}

// ---- item class registry

TEST(BarItemRegistry, ListedClassesAndExactMatching) {
  TdxBarItemList* list = GetBarItemList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->ListedItemClass(0), FindClassInfo(typeid(TdxBarButton)));
  int listed = list->ListedEntryCount();
  int count = list->Count();
  const TClassInfo* label = FindClassInfo(typeid(TdxBarLabel));
  RegisterBarItemClass(label, {}, true);  // a second entry for the same class
  EXPECT_EQ(list->ListedEntryCount(), listed + 1);
  UnregisterBarItemClass(label);  // the first entry goes: the unlisted one of start-up
  EXPECT_EQ(list->Count(), count);
  EXPECT_EQ(list->ListedEntryCount(), listed + 1);
  UnregisterBarItemClass(label);
  UnregisterBarItemClass(label);  // none left: nothing happens
  EXPECT_EQ(list->Count(), count - 1);
  RegisterBarItemClass(label, {}, false);
}

// ---- window items

namespace {
// An item control with an open edit window holding Text.
struct TFakeEditControl : TdxBarItemControl {
  using TdxBarItemControl::TdxBarItemControl;
  std::string Text;
  bool IsSelected() const override { return true; }
  bool IsWindowControl() const override { return true; }
  bool IsEditing() const override { return true; }
  std::string WindowText() const override { return Text; }
  void SetWindowText(const std::string& Value) override { Text = Value; }
};
struct TFakeMenuControl : TCustomdxBarControl {
  int BarControlKind() const override { return 2; }
};
}  // namespace

TEST_F(TItemsFixture, AWindowItemReadsTheWholeTextOfItsOpenEditor) {
  const TClassInfo* cls = FindClassInfo(typeid(TdxBarWindowItem));
  RegisterBarItemClass(cls, [](TdxBarItemLink* l) { return new TFakeEditControl(l); }, false);
  auto* item = NewItem<TdxBarWindowItem>("edit");
  int changes = 0;
  struct TC : TObject {
    int* N;
    void Change(TObject*) { ++*N; }
  } c;
  c.N = &changes;
  item->OnChange = TNotifyEvent::Bind(&c, &TC::Change);
  item->SetText("committed");
  item->SetText("committed");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(item->CurrentText(), "committed");

  auto* menu = NewItem<TdxBarSubItem>("menu");
  TFakeMenuControl window;
  menu->ItemLinks()->SetBarControl(&window);
  TdxBarItemLink* link = menu->ItemLinks()->AddLinkForItem(item);
  link->CreateControl();
  auto* editor = dynamic_cast<TFakeEditControl*>(link->Control());
  ASSERT_NE(editor, nullptr);
  editor->Text = std::string(300, 'x');  // longer than any fixed buffer
  EXPECT_EQ(item->CurrentText(), std::string(300, 'x'));
  EXPECT_EQ(item->EditingLink(), link);
  item->PutCurrentText("typed");
  EXPECT_EQ(editor->Text, "typed");
  EXPECT_EQ(item->Text(), "committed");
  menu->ItemLinks()->SetBarControl(nullptr);
  link->FreeControl();
  UnregisterBarItemClass(cls);
}

// ---- item styles

namespace {
struct TStyleProbeButton : TdxBarButton {
  using TdxBarButton::TdxBarButton;
  std::vector<int> Kinds;
  void StyleChanged(int Kind) override {
    Kinds.push_back(Kind);
    TdxBarButton::StyleChanged(Kind);
  }
};
}  // namespace

TEST_F(TItemsFixture, StyleChangesTellSizesFromColours) {
  auto* style = new TcxStyle(Form.get());
  auto* b = new TStyleProbeButton(Form.get());
  b->SetStyle(style);
  EXPECT_EQ(style->WatcherCount(), 1);
  EXPECT_TRUE(b->Kinds.empty());  // nothing assigned yet: nothing changed

  style->SetColor(clRed);
  EXPECT_EQ(b->Kinds, (std::vector<int>{0}));
  style->SetColor(TColor(0x0000FF));  // the same red by its number
  EXPECT_EQ(b->Kinds, (std::vector<int>{0}));
  style->Font()->SetHeight(-20);
  style->SetAssignedValues(style->AssignedValues() + TcxStyleValues{svFont});
  EXPECT_EQ(b->Kinds.back(), 1);

  // A font name longer than the snapshot keeps compares equal to itself at the next change.
  style->Font()->SetName(std::string(40, 'F'));
  size_t reports = b->Kinds.size();
  style->SetColor(clRed);
  style->NotifyStyleModified();
  EXPECT_EQ(b->Kinds.size(), reports);

  delete style;
  EXPECT_EQ(b->Style(), nullptr);
  EXPECT_EQ(b->Kinds.back(), 1);  // the values that disappeared, once
}
