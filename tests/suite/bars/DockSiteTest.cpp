// Dock sites as real windows on a form: rows of bar windows, their placement and the site's size.

#include "BarTestSupport.h"
#include "suite/bars/dxBarControl.h"
#include "suite/bars/dxBarDock.h"

namespace {

struct TDockFixture : TBarFixture {
  TdxDockControl* Top = nullptr;
  std::vector<std::unique_ptr<TCustomdxBarControl>> Controls;
  void SetUp() override {
    Form->SetBounds(0, 0, 600, 400);
    Top = new TdxDockControl(Form.get(), dsTop, Manager);
    Top->SetParent(Form.get());
  }
  TCustomdxBarControl* NewBarControl(int W, int H) {
    Controls.push_back(std::make_unique<TCustomdxBarControl>(Manager));
    TCustomdxBarControl* c = Controls.back().get();
    c->SetDockingStyle(dsTop);
    c->SetBounds(0, 0, W, H);
    return c;
  }
  void TearDown() override {
    Controls.clear();
  }
};

}  // namespace

TEST_F(TDockFixture, AnEmptySiteIsZeroHighAndASunkenOneTwoPixelsThickerThanItsRows) {
  Top->RelayoutAndResize();
  EXPECT_EQ(Top->Height(), 0);
  Top->InsertBarControl(NewBarControl(100, 26), nullptr, Top->ClientToScreen(TPoint(0, 0)), true, 0, true);
  EXPECT_EQ(Top->Height(), 26);
  Manager->SunkenBorder = true;
  Top->RelayoutAndResize();
  EXPECT_EQ(Top->Height(), 28);
}

TEST_F(TDockFixture, TwoBarsOnAWideRowKeepTheirWishedPlacesAndArePushedBackOnlyAtTheEnd) {
  TCustomdxBarControl* a = NewBarControl(100, 26);
  TCustomdxBarControl* b = NewBarControl(120, 22);
  Top->InsertBarControl(a, nullptr, Top->ClientToScreen(TPoint(40, 0)), true, 0, true);
  Top->InsertBarControl(b, nullptr, Top->ClientToScreen(TPoint(300, 0)), true, 0, false);
  ASSERT_EQ(Top->RowCount(), 1);
  EXPECT_EQ(Top->Rows(0)->ColCount(), 2);
  EXPECT_EQ(a->Left(), 40);
  EXPECT_EQ(b->Left(), 300);
  // the row is as thick as its thickest bar, and every bar takes that thickness
  EXPECT_EQ(b->Height(), 26);
  EXPECT_EQ(Top->Height(), 26);
  // wished past the end of the row: back so that it ends at the row's end
  Top->RemoveBarControl(b, nullptr, false);
  Top->InsertBarControl(b, nullptr, Top->ClientToScreen(TPoint(560, 0)), true, 0, false);
  EXPECT_EQ(b->Left(), Top->ClientWidth() - 120);
  EXPECT_EQ(b->Top(), 0);
}

TEST_F(TDockFixture, AWholeRowBarNeverSharesItsRow) {
  TdxBar* whole = Manager->Bars()->Add();
  whole->SetWholeRow(true);
  TCustomdxBarControl* w = NewBarControl(100, 24);
  TCustomdxBarControl* other = NewBarControl(80, 24);
  Top->InsertBarControl(w, whole, Top->ClientToScreen(TPoint(0, 0)), true, 0, false);
  Top->InsertBarControl(other, nullptr, Top->ClientToScreen(TPoint(200, 2)), true, 0, false);
  ASSERT_EQ(Top->RowCount(), 2);
  EXPECT_EQ(w->Width(), Top->ClientWidth());
  EXPECT_EQ(Top->Height(), 48);
  EXPECT_TRUE(whole->OneOnRow());
  Top->RemoveBarControl(w, nullptr, false);
  Top->RemoveBarControl(other, nullptr, true);
}

TEST_F(TDockFixture, RowsUnderAPointFollowTheZoneBands) {
  Top->InsertBarControl(NewBarControl(100, 30), nullptr, Top->ClientToScreen(TPoint(0, 0)), true, 0, true);
  Top->InsertBarControl(NewBarControl(100, 30), nullptr, Top->ClientToScreen(TPoint(0, 0)), true, 1, true);
  ASSERT_EQ(Top->Height(), 60);
  // the zone of 23 pixels: the outer 9 before the site and the 5 after make a new row 0
  struct Case { int Y, Row; bool NewRow; } cases[] = {
      {-23, 0, true}, {-14, 0, true}, {-9, 0, false}, {0, 0, false}, {8, 0, false},
      {9, 1, true}, {13, 1, true}, {14, 1, false},
      {39, 2, true}, {44, 2, true},  // past the last row always a new one
  };
  for (const Case& c : cases) {
    int row = -5;
    bool newRow = false;
    Top->RowAtPoint(Top->ClientToScreen(TPoint(10, c.Y)), row, newRow);
    EXPECT_EQ(row, c.Row) << c.Y;
    EXPECT_EQ(newRow, c.NewRow) << c.Y;
  }
}
