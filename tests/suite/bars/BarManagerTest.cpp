#include <gtest/gtest.h>

#include "BarTestSupport.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarStrs.h"
#include "suite/core/VisualStyleState.h"

namespace {

using TManagerFixture = TBarFixture;

// A bar window stand-in that counts what the model asks of it.
struct TFakeBarControl : TCustomdxBarControl {
  int Recalculations = 0;
  int Kind = 0;
  void RecalculateBar() override { ++Recalculations; }
  int BarControlKind() const override { return Kind; }
};

struct TFakeDock : TdxDockControl {
  std::vector<bool> Redraws;
  int Relayouts = 0;
  void SetRedraw(bool Value) override { Redraws.push_back(Value); }
  void RelayoutAndResize() override { ++Relayouts; }
};

}  // namespace

// ---- construction

TEST(BarManagerConstruction, RefusesOwnersWithTheirTextsAndLeavesNothingBehind) {
  TComponent plain(nullptr);
  int before = BarManagerCount();
  try {
    TdxBarManager m(&plain);
    FAIL();
  } catch (const EdxException& e) {
    EXPECT_STREQ(e.what(), "TdxBarManager should have TWinControl as its Owner");
  }
  EXPECT_EQ(plain.ComponentCount(), 0);
  EXPECT_EQ(BarManagerCount(), before);

  TForm form(nullptr);
  auto* first = new TdxBarManager(&form);
  try {
    TdxBarManager second(&form);
    FAIL();
  } catch (const EdxException& e) {
    EXPECT_STREQ(e.what(), "A control should contain only a single TdxBarManager");
  }
  // The refused second manager neither joined the form nor took the first one out of the list.
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(BarManagerCount(), before + 1);
  EXPECT_EQ(FindBarManagerOf(&form), first);
  auto* item = new TdxBarButton(&form);
  EXPECT_EQ(item->BarManager(), first);
}

TEST(BarManagerConstruction, TheLastManagerReleasesTheHooksAndANewOneTakesThemAgain) {
  int before = BarManagerCount();
  {
    TForm form(nullptr);
    new TdxBarManager(&form);
    EXPECT_EQ(BarManagerCount(), before + 1);
  }
  EXPECT_EQ(BarManagerCount(), before);
}

// ---- style and painter

TEST(BarManagerStyle, PainterStyleFollowsStyleLookAndFeelAndThemes) {
  struct Row {
    TdxBarManagerStyle Style;
    bool Native;
    TcxLookAndFeelKind Kind;
    bool Skin;
    bool Themes;
    TdxBarManagerStyle Expected;
  };
  const Row rows[] = {
      {bmsXP, false, lfFlat, false, false, bmsEnhanced},
      {bmsXP, false, lfFlat, false, true, bmsXP},
      {bmsStandard, false, lfFlat, false, true, bmsStandard},
      {bmsOffice11, false, lfFlat, false, false, bmsOffice11},
      {bmsUseLookAndFeel, true, lfFlat, false, true, bmsXP},
      {bmsUseLookAndFeel, true, lfStandard, false, false, bmsStandard},
      {bmsUseLookAndFeel, false, lfFlat, false, true, bmsEnhanced},
      {bmsUseLookAndFeel, false, lfUltraFlat, false, true, bmsFlat},
      {bmsUseLookAndFeel, false, lfOffice11, false, false, bmsOffice11},
      {bmsUseLookAndFeel, false, lfStandard, true, false, bmsUseLookAndFeel},
  };
  for (const Row& r : rows)
    EXPECT_EQ(TdxBarManager::PainterStyleFor(r.Style, r.Native, r.Kind, r.Skin, r.Themes),
              r.Expected)
        << int(r.Style) << " native " << r.Native << " kind " << int(r.Kind) << " themes "
        << r.Themes;
}

namespace {
struct TNamedPainter : TdxBarPainter {
  std::string Name;
  explicit TNamedPainter(std::string n) : Name(std::move(n)) {}
};
std::string PainterName(TdxBarManager* m) {
  auto* p = dynamic_cast<TNamedPainter*>(m->Painter());
  return p ? p->Name : "";
}
}  // namespace

TEST_F(TManagerFixture, APainterStyleWithoutItsPainterDrawsWithTheStandardOne) {
  TVisualStylesAbsent styles;
  TdxBarPainterClass standard = RegisteredBarPainterClass(bmsStandard);
  TdxBarPainterClass flat = RegisteredBarPainterClass(bmsFlat);
  TdxBarPainterClass office11 = RegisteredBarPainterClass(bmsOffice11);
  RegisterBarPainterClass(bmsStandard, [] { return new TNamedPainter("standard"); });
  RegisterBarPainterClass(bmsFlat, [] { return new TNamedPainter("flat"); });
  RegisterBarPainterClass(bmsOffice11, {});
  Manager->SetStyle(bmsFlat);
  EXPECT_EQ(PainterName(Manager), "flat");
  Manager->SetStyle(bmsOffice11);
  EXPECT_EQ(PainterName(Manager), "standard");
  // Without visual styles the XP style is drawn as Enhanced.
  Manager->SetStyle(bmsXP);
  EXPECT_EQ(Manager->PainterStyle(), bmsEnhanced);
  RegisterBarPainterClass(bmsStandard, standard);
  RegisterBarPainterClass(bmsFlat, flat);
  RegisterBarPainterClass(bmsOffice11, office11);
}

// ---- properties

TEST_F(TManagerFixture, PropertySettersKeepTheirLimits) {
  Manager->SetButtonArrowWidth(1);
  EXPECT_EQ(Manager->ButtonArrowWidth(), 11);
  Manager->SetLargeButtonArrowWidth(2);
  EXPECT_EQ(Manager->LargeButtonArrowWidth(), 2);
  Manager->SetWaitForDockingTime(-5);
  EXPECT_EQ(Manager->WaitForDockingTime(), 21);
  Manager->SetMostRecentItemsPercents(250);
  EXPECT_EQ(Manager->MostRecentItemsPercents(), 100);
  EXPECT_EQ(Manager->InitialUseCount(), 0);
  Manager->SetMostRecentItemsPercents(95);
  EXPECT_EQ(Manager->InitialUseCount(), 20);
  Manager->SetRegistryPath("Software\\Sonalix");
  EXPECT_EQ(Manager->RegistryPath(), "\\Software\\Sonalix\\");
  Manager->SetRegistryPath("");
  EXPECT_EQ(Manager->RegistryPath(), "");

  Form->SetColor(clAppWorkSpace);
  EXPECT_EQ(Manager->DockColor(), clAppWorkSpace);
  Manager->SetDockColor(clBtnFace);
  EXPECT_FALSE(Manager->AutoDockColor());
  EXPECT_EQ(Manager->DockColor(), clBtnFace);
}

TEST_F(TManagerFixture, ChangingTheFontByHandEndsTheSystemFont) {
  ASSERT_TRUE(Manager->UseSystemFont());
  Manager->Font()->SetName("DejaVu Serif");
  EXPECT_FALSE(Manager->UseSystemFont());
  Manager->SetUseSystemFont(true);
  EXPECT_EQ(Manager->Font()->Name(), Screen->MenuFont()->Name());
}

// ---- locks

TEST_F(TManagerFixture, NestedBarUpdatesRelayOutOnceAtTheOutermostEnd) {
  TFakeDock dock;
  Manager->RegisterDockControl(&dock);
  int relayouts = Manager->RelayoutCount();
  Manager->BeginBarsUpdate();
  Manager->BeginBarsUpdate();
  Manager->EndBarsUpdate();
  EXPECT_EQ(Manager->RelayoutCount(), relayouts);
  Manager->EndBarsUpdate();
  EXPECT_EQ(Manager->RelayoutCount(), relayouts + 1);
  EXPECT_EQ(dock.Redraws, (std::vector<bool>{false, true}));
  Manager->EndBarsUpdate();  // an unbalanced end changes nothing
  EXPECT_EQ(Manager->RelayoutCount(), relayouts + 1);
  Manager->UnregisterDockControl(&dock);
}

TEST_F(TManagerFixture, LoadedUnderTheBarUpdateLockWaitsForTheOutermostEnd) {
  TdxBar* bar = Manager->Bars()->Add();
  Manager->SetComponentState(csLoading, true);
  bar->SetComponentState(csLoading, true);
  bar->SetVisible(true);
  bar->SetDockingStyle(dsTop);
  bar->SetComponentState(csLoading, false);
  Manager->BeginBarsUpdate();
  Manager->Loaded();
  EXPECT_FALSE(bar->Visible());
  EXPECT_FALSE(bar->Predefined());
  Manager->EndBarsUpdate();
  EXPECT_TRUE(bar->Visible());
  EXPECT_TRUE(bar->Predefined());
  EXPECT_EQ(bar->DockingStyle(), dsTop);
}

TEST_F(TManagerFixture, ChangeReportsWaitUnderTheLock) {
  Manager->LockChangeReports(true);
  Manager->LockChangeReports(true);
  Manager->NotifyDesignerModified();
  EXPECT_TRUE(Manager->ChangeReportPending());
  Manager->LockChangeReports(false);
  EXPECT_TRUE(Manager->ChangeReportPending());
  Manager->LockChangeReports(false);
  EXPECT_FALSE(Manager->ChangeReportPending());
}

// ---- categories

namespace {
std::vector<int> CategoriesOf(const std::vector<TdxBarItem*>& items) {
  std::vector<int> r;
  for (TdxBarItem* i : items) r.push_back(i->Category());
  return r;
}
}  // namespace

TEST_F(TManagerFixture, CategoryDeleteInsertAndMoveRenumberTheItems) {
  TdxBarManagerCategories* c = Manager->Categories();
  c->Clear();
  c->AddStrings({"A", "B", "C", "D", "E"});
  std::vector<TdxBarItem*> items;
  for (int i = 0; i < 5; ++i) {
    items.push_back(NewItem<TdxBarButton>("b" + std::to_string(i)));
    items.back()->SetCategory(i);
  }
  c->Delete(2);
  items.erase(items.begin() + 2);
  EXPECT_EQ(Manager->ItemCount(), 4);
  EXPECT_EQ(CategoriesOf(items), (std::vector<int>{0, 1, 2, 3}));

  c->Insert(1, "New");
  EXPECT_EQ(CategoriesOf(items), (std::vector<int>{0, 2, 3, 4}));

  c->Move(0, 3);
  EXPECT_EQ(CategoriesOf(items), (std::vector<int>{3, 1, 2, 4}));
  EXPECT_EQ(c->Strings(3), "A");

  while (c->Count() > 0 && !(c->Count() == 1 && c->Strings(0) == "Default")) c->Delete(0);
  EXPECT_EQ(c->Count(), 1);
  EXPECT_EQ(c->Strings(0), "Default");
  EXPECT_EQ(Manager->ItemCount(), 0);
}

TEST_F(TManagerFixture, CategoryQueriesOutsideTheListAndWithoutData) {
  EXPECT_EQ(Manager->CategoryVisibility(-1), ivNever);
  EXPECT_TRUE(Manager->CategoryItemsVisible(0));
  EXPECT_FALSE(Manager->CategoryItemsVisible(5));
}

TEST_F(TManagerFixture, SettingACategoryMovesTheItemBehindTheLastOfIt) {
  Manager->Categories()->Add("Two");
  auto* a = NewItem<TdxBarButton>("a");
  auto* b = NewItem<TdxBarButton>("b");
  auto* c = NewItem<TdxBarButton>("c");
  a->SetCategory(1);
  b->SetCategory(0);
  c->SetCategory(1);
  EXPECT_EQ(Manager->IndexOfItem(a), 0);
  EXPECT_EQ(Manager->IndexOfItem(c), 1);
  EXPECT_EQ(Manager->IndexOfItem(b), 2);
  c->SetCategory(7);  // not a category: ignored
  EXPECT_EQ(c->Category(), 1);
}

// ---- unique names and groups

TEST_F(TManagerFixture, NewBarsGetUniqueNames) {
  Manager->SetName("BarManager");
  TdxBar* b1 = Manager->Bars()->Add();
  TdxBar* b2 = Manager->Bars()->Add();
  EXPECT_EQ(b1->Name(), "BarManagerBar1");
  EXPECT_EQ(b2->Name(), "BarManagerBar2");
  EXPECT_EQ(Manager->UniqueName("BarManagerBar"), "BarManagerBar3");
}

TEST_F(TManagerFixture, RecursiveGroupsAreRefused) {
  auto* g1 = new TdxBarGroup(Form.get());
  auto* g2 = new TdxBarGroup(Form.get());
  g1->Add(g2);
  try {
    g2->Add(g1);
    FAIL();
  } catch (const EdxException& e) {
    EXPECT_STREQ(e.what(), "You cannot create recursive groups");
  }
  EXPECT_THROW(g1->Add(g1), EdxException);
  auto* b = NewItem<TdxBarButton>("b");
  g2->Add(b);
  g1->SetEnabled(false);
  EXPECT_FALSE(b->Enabled());
  delete b;
  EXPECT_EQ(g2->Count(), 0);
}

// ---- platform items

TEST(BarPlatform, MenuSoundsAreSilentAndShortcutTextsRoundTrip) {
  EXPECT_TRUE(PlaySound("MenuPopup", nullptr, SND_ALIAS | SND_NODEFAULT));
  EXPECT_TRUE(PlaySound("MenuCommand", nullptr, SND_ALIAS | SND_NODEFAULT));
  EXPECT_FALSE(PlaySound("NoSuchSound", nullptr, SND_ALIAS | SND_NODEFAULT));
}

TEST(BarPlatform, TheDragAndSizingCursorsAreLoaded) {
  for (int id : {crdxBarDrag, crdxBarDragCopy, crdxBarDragNoDrop, crdxBarEditSizing}) {
    EXPECT_NE(Screen->Cursors(id), nullptr) << id;
    EXPECT_NE(Screen->Cursors(id), Screen->Cursors(0)) << id;
  }
}

TEST(BarPlatform, AnActionsHintHandlerMayRewriteOrForbidTheHint) {
  TAction action(nullptr);
  std::string hint = "Opens an existing file.";
  EXPECT_TRUE(action.DoHint(hint));
  struct TH : TObject {
    void Hint(std::string& Text, bool& CanShow) {
      CanShow = Text != "secret";
      Text = "[" + Text + "]";
    }
  } h;
  action.OnHint = THintEvent::Bind(&h, &TH::Hint);
  EXPECT_TRUE(action.DoHint(hint));
  EXPECT_EQ(hint, "[Opens an existing file.]");
  std::string secret = "secret";
  EXPECT_FALSE(action.DoHint(secret));
}

TEST(BarPlatform, WithoutThemesTheToolbarColourIsTheButtonFace) {
  TVisualStylesAbsent styles;
  EXPECT_EQ(ToolbarThemeColor(), clBtnFace);
}

TEST(BarStrings, EveryTextIsRegisteredForLocalizers) {
  TdxResourceStringsRepository* r = GetResourceStringsRepository();
  int i = r->IndexOfProduct(dxBarProductName);
  ASSERT_GE(i, 0);
  TdxProductResourceStrings* p = r->Products(i);
  EXPECT_EQ(p->ResStringCount(), 179);
  int at = p->Names()->IndexOf("dxSBAR_RECURSIVEMENUS");
  ASSERT_GE(at, 0);
  EXPECT_STREQ(p->ResStrings(at)->Text, "You cannot create recursive menus");
  EXPECT_EQ(LoadLocalizableResString(&dxSBAR_SUBMENUEDITORCAPTION), "Sonalix SubMenu Editor");
  EXPECT_EQ(LoadLocalizableResString(&dxSBAR_TOOLBARNEWNAME), "Custom ");
}

TEST(BarManagerConstruction, AFailureHalfWayLeavesNoManagerBehind) {
  TForm form(nullptr);
  int before = BarManagerCount();
  TdxBarPainterClass enhanced = RegisteredBarPainterClass(bmsEnhanced);
  RegisterBarPainterClass(bmsEnhanced, []() -> TdxBarPainter* { throw EdxException("no painter"); });
  EXPECT_THROW(TdxBarManager m(&form), EdxException);
  RegisterBarPainterClass(bmsEnhanced, enhanced);
  EXPECT_EQ(BarManagerCount(), before);
  EXPECT_EQ(form.ComponentCount(), 0);
  // The form can still have its manager.
  auto* m = new TdxBarManager(&form);
  EXPECT_EQ(FindBarManagerOf(&form), m);
}
