// Toolbar windows on a form: bars docked in the manager's sites in rows, their item controls in
// place and clickable, the main menu wrapping into lines, and floating bars kept reachable.
#include <gtest/gtest.h>

#include "BarTestSupport.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Streaming.h"
#include "platform/win/QtWindows.h"
#include "suite/bars/dxBar.h"
#include "suite/core/ControlTestSupport.h"

namespace {

struct TRuns : TObject {
  int Count = 0;
  void Execute(TObject*) { ++Count; }
};

struct TToolbarFixture : TBarFixture {
  TRuns Runs;
  TActionList* Actions = new TActionList(Form.get());

  TToolbarFixture() {
    Form->SetBounds(50, 50, 640, 420);
    Form->Show();
    Application->ProcessMessages();
  }
  TdxDockControl* TopSite() const { return Manager->Bars()->DockControls(dsTop); }
  TdxBar* NewBar(const std::string& Caption, int Row, const std::vector<TdxBarItem*>& Items, bool WholeRow = true) {
    TdxBar* bar = Manager->Bars()->Add();
    bar->SetCaption(Caption);
    for (TdxBarItem* i : Items) bar->ItemLinks()->AddLinkForItem(i);
    bar->SetRow(Row);
    bar->SetOneOnRow(true);
    bar->SetWholeRow(WholeRow);
    bar->SetDockingStyle(dsTop);
    bar->SetVisible(true);
    Application->ProcessMessages();
    return bar;
  }
  std::vector<TdxBarItem*> Buttons(const std::vector<std::string>& Captions) {
    std::vector<TdxBarItem*> r;
    for (const std::string& c : Captions) r.push_back(NewItem<TdxBarButton>(c));
    return r;
  }
  TdxBarLargeButton* LargeButton(const std::string& Caption) {
    auto* action = new TAction(Form.get());
    action->SetActionList(Actions);
    action->SetCaption(Caption);
    action->OnExecute = TNotifyEvent::Bind(&Runs, &TRuns::Execute);
    auto* b = NewItem<TdxBarLargeButton>();
    b->SetAction(action);
    b->SetShowCaption(true);
    TBitmap glyph;
    glyph.SetWidth(32);
    glyph.SetHeight(32);
    glyph.Canvas()->Brush()->SetColor(clNavy);
    glyph.Canvas()->FillRect(TRect(4, 4, 28, 28));
    b->SetLargeGlyph(&glyph);
    return b;
  }
  static TRect ScreenBounds(TWinControl* C) {
    const TPoint o = C->ClientOrigin();
    return Bounds(o.X, o.Y, C->ClientWidth(), C->ClientHeight());
  }
};

}  // namespace

TEST_F(TToolbarFixture, TheManagerMakesItsFourSitesAlongTheFormEmptyAndFlat) {
  for (TdxBarDockingStyle s : {dsLeft, dsTop, dsRight, dsBottom}) {
    TdxDockControl* site = Manager->Bars()->DockControls(s);
    ASSERT_TRUE(site) << int(s);
    EXPECT_EQ(site->Parent(), Form.get());
    EXPECT_EQ(site->DockingStyle(), s);
    EXPECT_EQ(site->Horizontal() ? site->Height() : site->Width(), 0);
  }
}

TEST_F(TToolbarFixture, ThreeWholeRowBarsLieInThreeRowsOfTheTopSite) {
  TdxBar* menu = NewBar("Menu", 0, Buttons({"&File", "&Edit", "&View"}));
  TdxBar* tools = NewBar("Toolbar", 1, Buttons({"New", "Open", "Save"}));
  TdxBar* quick = NewBar("Quick", 2, Buttons({"Play", "Stop"}));
  TdxDockControl* site = TopSite();
  ASSERT_EQ(site->RowCount(), 3);
  int top = 0;
  for (TdxBar* bar : {menu, tools, quick}) {
    TdxBarControl* c = bar->BarControl();
    ASSERT_TRUE(c) << bar->Caption();
    EXPECT_EQ(c->Parent(), site);
    EXPECT_EQ(c->Left(), 0) << bar->Caption();
    EXPECT_EQ(c->Top(), top) << bar->Caption();
    EXPECT_EQ(c->Width(), site->ClientWidth()) << bar->Caption();
    EXPECT_GT(c->Height(), 0);
    EXPECT_EQ(bar->Row(), top == 0 ? 0 : bar == tools ? 1 : 2);
    top += c->Height();
    // the links follow each other along the row, inside the client area
    int right = 0;
    for (TdxBarItemLink* l : bar->ItemLinks()->ShownLinks()) {
      EXPECT_GE(l->ItemRect().Left, right) << l->Item()->Caption();
      EXPECT_FALSE(l->ItemRect().IsEmpty()) << l->Item()->Caption();
      EXPECT_LE(l->ItemRect().Bottom, c->ClientHeight());
      right = l->ItemRect().Right;
    }
  }
  EXPECT_EQ(site->Height(), top);
  // the rows follow each other on the screen too
  EXPECT_EQ(ScreenBounds(tools->BarControl()).Top >= ScreenBounds(menu->BarControl()).Bottom, true);
}

TEST_F(TToolbarFixture, ADockedToolbarKeepsItsPlaceInItsRowAndTakesItsNaturalSize) {
  TdxBar* bar = Manager->Bars()->Add();
  bar->SetCaption("Tools");
  for (TdxBarItem* i : Buttons({"One", "Two", "Three"})) bar->ItemLinks()->AddLinkForItem(i);
  bar->ItemLinks()->LinkByIndex(2)->SetBeginGroup(true);
  bar->SetDockedLeft(40);
  bar->SetDockingStyle(dsTop);
  bar->SetVisible(true);
  Application->ProcessMessages();
  TdxBarControl* c = bar->BarControl();
  ASSERT_TRUE(c);
  EXPECT_EQ(c->Left(), 40);
  EXPECT_EQ(c->Top(), 0);
  EXPECT_EQ(c->Width(), c->MaxWidth(dsTop) + bar->HorzBorderSize(dsTop));
  EXPECT_EQ(TopSite()->Height(), c->Height());
  // the group separator stands between the second and the third button
  const TRect two = bar->ItemLinks()->LinkByIndex(1)->ItemRect();
  const TRect three = bar->ItemLinks()->LinkByIndex(2)->ItemRect();
  EXPECT_EQ(three.Left - two.Right, c->GroupIndent());
  ASSERT_EQ(c->ViewInfo()->SeparatorCount(), 1);
  TRect sep;
  uint8_t kind = 0;
  c->ViewInfo()->GetSeparator(0, sep, kind);
  EXPECT_EQ(kind, 1);
  EXPECT_EQ(sep.Left, two.Right);
  // the position goes back into the bar
  EXPECT_EQ(bar->DockedLeft(), 40);
  EXPECT_EQ(bar->DockedDockingStyle(), dsTop);
}

TEST_F(TToolbarFixture, AToolbarDockedAtTheSideTakesItsLongestLayoutDownwards) {
  TdxBar* bar = Manager->Bars()->Add();
  bar->SetCaption("Tools");
  for (TdxBarItem* i : Buttons({"One", "Two", "Three"})) bar->ItemLinks()->AddLinkForItem(i);
  bar->ItemLinks()->LinkByIndex(2)->SetBeginGroup(true);
  bar->SetDockedTop(30);
  bar->SetDockingStyle(dsLeft);
  bar->SetVisible(true);
  Application->ProcessMessages();
  TdxBarControl* c = bar->BarControl();
  ASSERT_TRUE(c);
  EXPECT_EQ(c->Top(), 30);
  EXPECT_EQ(c->Height(), c->MaxHeight(dsLeft) + bar->VertBorderSize(dsLeft));
  // Downwards the links follow one another with the group's indent and the mark; across, the
  // widest one counts.
  int widest = 0, heights = 0;
  for (TdxBarItemLink* l : bar->ItemLinks()->ShownLinks()) {
    widest = std::max(widest, l->ItemRect().Width());
    heights += l->ItemRect().Height();
  }
  EXPECT_EQ(c->MaxWidth(dsLeft), std::max(widest, c->MinWidth(dsLeft)));
  EXPECT_EQ(c->MaxHeight(dsLeft), heights + c->GroupIndent() + c->MarkSize());
  // Docked at the top the same links lie across.
  EXPECT_GT(c->MaxWidth(dsTop), c->MaxWidth(dsLeft));
  EXPECT_LT(c->MaxHeight(dsTop), c->MaxHeight(dsLeft));
}

TEST_F(TToolbarFixture, ALargeButtonOnADockedToolbarRunsItsActionOnceWhenClicked) {
  TdxBarLargeButton* open = LargeButton("&Open File...");
  TdxBar* bar = NewBar("Toolbar", 0, {NewItem<TdxBarLargeButton>("New"), open});
  TdxBarControl* c = bar->BarControl();
  ASSERT_TRUE(c);
  TdxBarItemLink* link = bar->ItemLinks()->LinkByIndex(1);
  const TRect r = link->ItemRect();
  // a 32 x 32 glyph with its caption below makes a tall button
  EXPECT_GE(r.Height(), 40);
  EXPECT_GE(c->Height(), 40);
  suitetest::MouseEvent(c, QEvent::MouseMove, TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  suitetest::Click(c, TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  EXPECT_EQ(Runs.Count, 1);
  // a click on the empty part of the bar runs nothing
  suitetest::Click(c, TPoint(c->ClientWidth() - 5, 5));
  EXPECT_EQ(Runs.Count, 1);
}

TEST_F(TToolbarFixture, AMultiLineMainMenuWrapsIntoLinesWhenTheFormIsNarrow) {
  std::vector<std::string> captions{"&File", "&Edit", "&View", "&Insert", "Effe&cts", "&Tools",
                                    "&Options", "&Window", "&Help", "Something &More", "And &Another"};
  TdxBar* menu = Manager->Bars()->Add();
  menu->SetCaption("Menu");
  for (TdxBarItem* i : Buttons(captions)) menu->ItemLinks()->AddLinkForItem(i);
  menu->SetIsMainMenu(true);
  menu->SetMultiLine(true);
  menu->SetWholeRow(true);
  menu->SetOneOnRow(true);
  menu->SetDockingStyle(dsTop);
  menu->SetVisible(true);
  Application->ProcessMessages();
  TdxBarControl* c = menu->BarControl();
  ASSERT_TRUE(c);
  const int oneLine = c->Height();
  const int lineHeight = menu->ItemLinks()->LinkByIndex(0)->ItemRect().Height();
  for (TdxBarItemLink* l : menu->ItemLinks()->ShownLinks()) EXPECT_EQ(l->ItemRect().Top, 0);

  Form->SetBounds(50, 50, 220, 420);
  Application->ProcessMessages();
  EXPECT_EQ(c->Width(), TopSite()->ClientWidth());
  EXPECT_GE(c->Height(), oneLine + 2 * lineHeight);
  int lines = 0, lastTop = -1;
  for (TdxBarItemLink* l : menu->ItemLinks()->ShownLinks()) {
    const TRect r = l->ItemRect();
    ASSERT_FALSE(r.IsEmpty()) << l->Item()->Caption();
    EXPECT_LE(r.Right, c->ClientWidth()) << l->Item()->Caption();
    if (r.Top != lastTop) ++lines, lastTop = r.Top;
  }
  EXPECT_GE(lines, 3);
  EXPECT_EQ(TopSite()->Height(), c->Height());

  // wide again: one line
  Form->SetBounds(50, 50, 900, 420);
  Application->ProcessMessages();
  EXPECT_EQ(c->Height(), oneLine);
}

// Dark pixels in the far end of an item, where a drop-down arrow would sit.
static int DarkPixelsAtEnd(const QImage& Image, const TRect& Item, int Span) {
  int dark = 0;
  for (int y = Item.Top + 2; y < Item.Bottom - 2; ++y)
    for (int x = std::max(int(Item.Left), int(Item.Right) - Span); x < Item.Right - 1; ++x)
      if (qGray(Image.pixel(x, y)) < 80) ++dark;
  return dark;
}

TEST_F(TToolbarFixture, MainMenuTitlesShowNoDropDownArrowWhileToolbarSubItemsDo) {
  auto subItem = [&](const std::string& Caption) {
    auto* s = NewItem<TdxBarSubItem>(Caption);
    s->SetShowCaption(true);
    s->ItemLinks()->AddLinkForItem(NewItem<TdxBarButton>("Inside"));
    return s;
  };
  TdxBar* menu = NewBar("Menu", 0, {subItem("&File"), subItem("&Edit")});
  menu->SetIsMainMenu(true);
  TdxBar* tools = NewBar("Toolbar", 1, {subItem("&File")}, false);
  Application->ProcessMessages();
  const TRect inMenu = menu->ItemLinks()->LinkByIndex(0)->ItemRect();
  const TRect onBar = tools->ItemLinks()->LinkByIndex(0)->ItemRect();
  TdxBarItemControl* menuFile = menu->ItemLinks()->LinkByIndex(0)->Control();
  const int textSize = menuFile->BarControl()->TextSize();
  // the title leaves out the room the arrow takes on a toolbar
  EXPECT_EQ(onBar.Width() - inMenu.Width(), textSize / 2);
  menuFile->CalcDrawParams(true);
  auto* dp = static_cast<TdxBarButtonLikeControlDrawParams*>(menuFile->DrawParams());
  EXPECT_TRUE(dp->InMainMenu);
  EXPECT_FALSE(dp->HasDropDownPart);
  // read back: the toolbar's sub item still shows its down arrow past the caption
  EXPECT_GT(DarkPixelsAtEnd(suitetest::Snapshot(tools->BarControl()), onBar, textSize / 2 + 4), 0);
}

TEST_F(TToolbarFixture, DockedToolbarsShowTheirGripBeforeTheButtonsButTheMainMenuDoesNot) {
  TdxBar* menu = Manager->Bars()->Add();
  for (TdxBarItem* i : Buttons({"&File", "&Edit"})) menu->ItemLinks()->AddLinkForItem(i);
  menu->SetIsMainMenu(true);
  menu->SetDockingStyle(dsTop);
  menu->SetVisible(true);
  TdxBar* tools = NewBar("Toolbar", 1, Buttons({"New", "Open"}));
  // a change of style lays the frames out anew
  for (TdxBarManagerStyle style : {bmsStandard, bmsEnhanced}) {
    SCOPED_TRACE(int(style));
    Manager->SetStyle(style);
    Application->ProcessMessages();
    TdxBarPainter* painter = Manager->Painter();
    ASSERT_TRUE(painter);
    auto clientLeft = [](TdxBarControl* c) {
      RECT w;
      GetWindowRect(c->Handle(), &w);
      return int(c->ClientOrigin().X - w.left);
    };
    TdxBarControl* bar = tools->BarControl();
    EXPECT_TRUE(bar->ShowsGrip());
    EXPECT_FALSE(menu->BarControl()->ShowsGrip());
    const int before = clientLeft(bar);
    EXPECT_EQ(before, painter->DockedBorderRect(tools, dsTop).Left + painter->GripSizeWithBorder(bar));
    EXPECT_EQ(clientLeft(menu->BarControl()), painter->DockedBorderRect(menu, dsTop).Left);
    // the grip strip's raised edge is read back in the border before the buttons
    suitetest::Snapshot(bar);
    const QImage* image = GetWindowBackBuffer(bar->Handle());
    ASSERT_TRUE(image);
    const int y = image->height() / 2;
    bool light = false, dark = false;
    for (int x = 2; x < before; ++x) {
      const QRgb p = image->pixel(x, y);
      light = light || p == QColor(Qt::white).rgb();
      dark = dark || qGray(p) < 150;
    }
    EXPECT_TRUE(light);
    EXPECT_TRUE(dark);
  }
}

TEST_F(TToolbarFixture, AFloatingBarIsKeptBelowTheTopOfItsWorkAreaWhileSized) {
  TdxBar* bar = Manager->Bars()->Add();
  bar->SetCaption("Floating");
  for (TdxBarItem* i : Buttons({"One", "Two", "Three", "Four"})) bar->ItemLinks()->AddLinkForItem(i);
  bar->SetFloatLeft(200);
  bar->SetFloatTop(150);
  bar->SetFloatClientWidth(400);
  bar->SetDockingStyle(dsNone);
  Manager->HideFloatingBarsWhenInactive = false;
  bar->SetVisible(true);
  Application->ProcessMessages();
  TdxBarControl* c = bar->BarControl();
  ASSERT_TRUE(c);
  EXPECT_EQ(c->Parent(), nullptr);
  EXPECT_TRUE(IsWindowVisible(c->Handle()));
  EXPECT_EQ(c->Left(), 200);
  EXPECT_EQ(c->Top(), 150);
  // the window is the bar's links plus its frame with the caption
  EXPECT_GE(c->ClientWidth(), 51);
  EXPECT_GT(c->Height() - c->ClientHeight(), c->Width() - c->ClientWidth());
  MONITORINFO mi;
  ASSERT_TRUE(GetMonitorInfo(MonitorFromWindow(c->Handle(), MONITOR_DEFAULTTONEAREST), &mi));
  // dragging the top edge far up: the top stays 15 pixels above the work area at most
  RECT r{c->Left(), mi.rcWork.top - 400, c->Left() + c->Width(), c->Top() + c->Height()};
  SendMessage(c->Handle(), WM_SIZING, WMSZ_TOP, reinterpret_cast<LPARAM>(&r));
  EXPECT_GE(r.top, mi.rcWork.top - 15);
  // a corner changes nothing
  RECT corner{0, 0, 10, 10};
  SendMessage(c->Handle(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&corner));
  EXPECT_EQ(corner.right - corner.left, c->Width());
  // sizing a side wraps the links into rows no wider than asked
  RECT narrow{c->Left(), c->Top(), c->Left() + 60, c->Top() + c->Height()};
  SendMessage(c->Handle(), WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&narrow));
  EXPECT_GT(narrow.bottom - narrow.top, c->Height());
}

TEST(BarDockControl, ABarDockedInASitePlacedOnTheFormLiesThereUprightAndTheSiteFitsIt) {
  RegisterGuiClasses();
  TForm form(nullptr);
  ReadComponentFromText(&form, R"(object DockForm: TForm {
  Left = 0
  Top = 0
  ClientWidth = 500
  ClientHeight = 300
  object Site: TdxBarDockControl {
    Align = dalLeft
    BarManager = BarManager
    SunkenBorder = true
    UseOwnSunkenBorder = true
  }
  object Empty: TdxBarDockControl {
    Align = dalBottom
    BarManager = BarManager
  }
  object BarManager: TdxBarManager {
    object BarManagerBar1: TdxBar {
      Caption = "Side"
      DockControl = Site
      ItemLinks = items {
        item { ItemName = "One" }
        item { ItemName = "Two" }
      }
      Visible = true
    }
    object One: TdxBarButton {
      Caption = "One"
    }
    object Two: TdxBarButton {
      Caption = "Two"
    }
  }
})");
  form.Show();
  Application->ProcessMessages();
  auto* site = dynamic_cast<TdxBarDockControl*>(form.FindComponent("Site"));
  auto* empty = dynamic_cast<TdxBarDockControl*>(form.FindComponent("Empty"));
  auto* m = dynamic_cast<TdxBarManager*>(form.FindComponent("BarManager"));
  ASSERT_TRUE(site && empty && m);
  TdxBar* bar = m->Bars()->Items(0);
  EXPECT_EQ(bar->DockControl(), site);
  EXPECT_EQ(bar->DockingStyle(), dsLeft);
  TdxBarControl* c = bar->BarControl();
  ASSERT_TRUE(c);
  EXPECT_EQ(c->Parent(), site);
  EXPECT_TRUE(c->IsVerticalBar());
  // the buttons follow each other downwards
  const TRect one = bar->ItemLinks()->LinkByIndex(0)->ItemRect();
  const TRect two = bar->ItemLinks()->LinkByIndex(1)->ItemRect();
  EXPECT_GE(two.Top, one.Bottom);
  EXPECT_EQ(two.Left, one.Left);
  // the site is as wide as its row plus its own sunken frame; an empty one at run time is flat
  EXPECT_TRUE(site->SunkenBorder());
  EXPECT_FALSE(m->SunkenBorder);
  EXPECT_EQ(site->Width(), c->Width() + 2);
  EXPECT_EQ(empty->Height(), 0);
  // turned to the top, the bar lies along the row
  site->SetDockAlign(dalTop);
  Application->ProcessMessages();
  EXPECT_EQ(bar->DockingStyle(), dsTop);
  EXPECT_FALSE(c->IsVerticalBar());
  EXPECT_EQ(bar->ItemLinks()->LinkByIndex(1)->ItemRect().Top, bar->ItemLinks()->LinkByIndex(0)->ItemRect().Top);
  // what the form wrote is read back the same
  const std::string written = WriteComponentToText(&form);
  EXPECT_NE(written.find("DockControl = Site"), std::string::npos) << written;
  EXPECT_NE(written.find("DockControlHeights"), std::string::npos);
}
