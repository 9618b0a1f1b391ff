// The static text item on a stand-in bar window, the module's start and end, and the host form
// of bar window controls.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/win/Gdi.h"
#include "platform/win/Windows.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxGraphics.h"
#include "suite/extras/dxBarExtItems.h"

namespace {

// A toolbar that draws into a bitmap, records relayouts and repaints, and paints its background
// red left of x = 50 and blue from there on, in its own coordinates.
struct TStandInBar : TCustomdxBarControl {
  int Kind = 0;
  int Relayouts = 0;
  int Repaints = 0;
  std::unique_ptr<TBitmap> Surface = std::make_unique<TBitmap>();
  std::unique_ptr<TcxCanvas> Canvas;

  TStandInBar() {
    Surface->SetSize(200, 60);
    Canvas = std::make_unique<TcxCanvas>(Surface->Canvas());
    Canvas->CurrentFont()->SetName("DejaVu Sans");
  }
  int BarControlKind() const override { return Kind; }
  TcxCanvas* CurrentCanvas() const override { return Canvas.get(); }
  int TextSize() const override { return 19; }
  void RecalculateBar() override { ++Relayouts; }
  void InvalidateItemControl(TdxBarItemControl*) override { ++Repaints; }
  void DrawBackground(HDC DC, const TRect& R, bool, TColor, HBRUSH) override {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT left = {R.Left, R.Top, std::min(R.Right, 50), R.Bottom};
    RECT right = {std::max(R.Left, 50), R.Top, R.Right, R.Bottom};
    if (left.right > left.left) FillRect(DC, &left, red);
    if (right.right > right.left) FillRect(DC, &right, blue);
    DeleteObject(red);
    DeleteObject(blue);
  }
};

struct TStaticFixture : ::testing::Test {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TdxBarManager* Manager = new TdxBarManager(Form.get());
  TdxBarSubItem* Owner = new TdxBarSubItem(Form.get());
  TStandInBar Bar;

  TStaticFixture() {
    Owner->ItemLinks()->SetBarControl(&Bar);
    Bar.SetItemLinks(Owner->ItemLinks());
  }
  ~TStaticFixture() override {
    TdxBarItemLinks* links = Owner->ItemLinks();
    for (int i = 0; i < links->Count(); ++i) links->LinkByIndex(i)->FreeControl();
    links->SetBarControl(nullptr);
  }
  TdxBarStatic* NewStatic(const std::string& Caption) {
    auto* item = new TdxBarStatic(Form.get());
    item->SetCaption(Caption);
    return item;
  }
  TdxBarStaticControl* ControlFor(TdxBarItem* Item) {
    TdxBarItemLink* link = Owner->ItemLinks()->AddLinkForItem(Item);
    link->SetItemBounds(TRect(0, 0, 100, 24));
    link->CreateControl();
    auto* c = dynamic_cast<TdxBarStaticControl*>(link->Control());
    EXPECT_NE(c, nullptr);
    if (c) c->CalcDrawParams(true);
    return c;
  }
};

int Gray(TColor C) {
  COLORREF c = ColorToRGB(C);
  return (GetRValue(c) * 11 + GetGValue(c) * 16 + GetBValue(c) * 5) / 32;
}

struct TClickCount : TObject {
  int Count = 0;
  void Click(TObject*) { ++Count; }
};

}  // namespace

TEST_F(TStaticFixture, NaturalSizesFollowCaptionIndentsBorderAndFixedExtents) {
  struct Row {
    const char* Name;
    TdxBarStaticBorderStyle Border;
    int LeftIndent, RightIndent, Width, Height;
    int ExtraWidth;  // beyond caption width + half the bar's text size; -1: the fixed width
    int ExpectedHeight;
  };
  // The bar's text size is 19: a caption line is 16 high, half the text size 9.
  const Row rows[] = {
      {"plain", sbsNone, 0, 0, 0, 0, 0, 16},
      {"indented", sbsNone, 3, 5, 0, 0, 8, 16},
      {"lowered frame", sbsLowered, 0, 0, 0, 0, 2, 18},
      {"bump frame and indents", sbsBump, 2, 2, 0, 0, 8, 20},
      {"fixed width and height", sbsEtched, 4, 4, 77, 31, -1, 31},
  };
  for (const Row& r : rows) {
    TdxBarStatic* item = NewStatic("Ready to record");
    item->SetBorderStyle(r.Border);
    item->SetLeftIndent(r.LeftIndent);
    item->SetRightIndent(r.RightIndent);
    item->SetWidth(r.Width);
    item->SetHeight(r.Height);
    TdxBarStaticControl* c = ControlFor(item);
    ASSERT_NE(c, nullptr) << r.Name;
    int caption = c->CaptionWidth();
    EXPECT_GT(caption, 40) << r.Name;
    EXPECT_EQ(c->NaturalWidth(), r.ExtraWidth < 0 ? r.Width : caption + 9 + r.ExtraWidth) << r.Name;
    EXPECT_EQ(c->NaturalHeight(), r.ExpectedHeight) << r.Name;
  }
  // Negative extents store 0: the automatic size.
  TdxBarStatic* item = NewStatic("x");
  for (int v : {-5, 0}) {
    item->SetWidth(v);
    item->SetHeight(v);
    item->SetLeftIndent(v);
    EXPECT_EQ(item->Width(), 0);
    EXPECT_EQ(item->Height(), 0);
    EXPECT_EQ(item->LeftIndent(), 0);
  }
}

TEST_F(TStaticFixture, OnlyAllowClickMakesTheItemHotAndClickable) {
  for (bool allow : {false, true}) {
    TdxBarStatic* item = NewStatic("Status");
    item->SetAllowClick(allow);
    TClickCount clicks;
    item->OnClick = TNotifyEvent::Bind(&clicks, &TClickCount::Click);
    TdxBarStaticControl* c = ControlFor(item);
    ASSERT_NE(c, nullptr);
    c->CalcPartRects();
    c->HitTest(TPoint(10, 10));
    EXPECT_EQ(c->HotPart() != -1, allow) << allow;
    EXPECT_EQ(c->IsKeyNavigable(), allow) << allow;
    EXPECT_FALSE(item->IsEnabledFor(c->Link()));
    EXPECT_TRUE(item->IsStaticItem());
    c->ClickAt(true, false);
    EXPECT_EQ(clicks.Count, allow ? 1 : 0) << allow;
  }
}

TEST_F(TStaticFixture, ChangesRelayOutOnlyWhenTheSizeCanChange) {
  struct Row {
    const char* Name;
    int Width, Height;
    bool Caption;  // change the caption, else the border style
    bool Relayout;
  };
  const Row rows[] = {
      {"caption at a fixed width", 80, 0, true, false},
      {"caption at the automatic width", 0, 0, true, true},
      {"border with both extents fixed", 80, 20, false, false},
      {"border with the height automatic", 80, 0, false, true},
  };
  for (const Row& r : rows) {
    TdxBarStatic* item = NewStatic("Idle");
    item->SetWidth(r.Width);
    item->SetHeight(r.Height);
    ASSERT_NE(ControlFor(item), nullptr);
    Bar.Relayouts = Bar.Repaints = 0;
    if (r.Caption)
      item->SetCaption("Recording now");
    else
      item->SetBorderStyle(sbsRaised);
    EXPECT_EQ(Bar.Relayouts > 0, r.Relayout) << r.Name;
    EXPECT_EQ(Bar.Repaints > 0, !r.Relayout) << r.Name;
  }
}

TEST_F(TStaticFixture, DrawsItsFrameAndCentredCaptionThroughThePainter) {
  TdxBarStatic* item = NewStatic("Mid");
  item->SetBorderStyle(sbsLowered);
  TdxBarStaticControl* c = ControlFor(item);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->StaticDrawParams()->Alignment, taCenter);
  EXPECT_TRUE(c->StaticDrawParams()->AlignmentSet);
  EXPECT_EQ(c->StaticDrawParams()->BorderOffsets, TRect(1, 1, 1, 1));
  Bar.Canvas->FillRectWithColor(TRect(0, 0, 200, 60), clWhite);
  c->Paint(Bar.Canvas.get(), TRect(0, 0, 120, 24), 0);
  TCanvas* shot = Bar.Surface->Canvas();
  // The lowered frame's dark top edge, and dark text pixels only around the middle.
  EXPECT_NE(ColorToRGB(shot->Pixel(60, 0)), ColorToRGB(clWhite));
  int first = -1, last = -1;
  for (int x = 2; x < 118; ++x)
    for (int y = 2; y < 22; ++y)
      if (Gray(shot->Pixel(x, y)) < 100) {
        if (first < 0) first = x;
        last = x;
      }
  ASSERT_GE(first, 0);
  EXPECT_NEAR((first + last) / 2, 60, 4);
}

// ---- module start and end

TEST(ExtraItemsModule, StartAndEndAreCountedAndLeaveTheBarItemsAlone) {
  auto listed = [](const std::type_info& Type) {
    TdxBarItemList* list = GetBarItemList();
    const TClassInfo* info = FindClassInfo(Type);
    int n = 0;
    for (int i = 0; list && i < list->Count(); ++i) n += list->EntryItemClass(i) == info;
    return n;
  };
  // The test program started the module once.
  EXPECT_EQ(listed(typeid(TdxBarStatic)), 1);
  EXPECT_EQ(listed(typeid(TdxBarMRUListItem)), 1);
  ASSERT_NE(dxBarTrueTypeFontBitmap(), nullptr);
  EXPECT_GT(dxBarTrueTypeFontBitmap()->Width(), 0);
  dxBarExtItemsInitialize();
  EXPECT_EQ(listed(typeid(TdxBarStatic)), 1);
  dxBarExtItemsFinalize();
  EXPECT_EQ(listed(typeid(TdxBarStatic)), 1);

  dxBarExtItemsFinalize();
  dxBarExtItemsFinalize();  // an end too many does nothing
  EXPECT_EQ(listed(typeid(TdxBarStatic)), 0);
  EXPECT_EQ(listed(typeid(TdxBarMRUListItem)), 0);
  EXPECT_EQ(listed(typeid(TdxBarButton)), 1);
  EXPECT_EQ(listed(typeid(TdxBarListItem)), 1);
  EXPECT_EQ(dxBarTrueTypeFontBitmap(), nullptr);

  dxBarExtItemsInitialize();
  EXPECT_EQ(listed(typeid(TdxBarStatic)), 1);
  EXPECT_EQ(listed(typeid(TdxBarMRUListItem)), 1);
  EXPECT_NE(dxBarTrueTypeFontBitmap(), nullptr);
}

// ---- host form

TEST_F(TStaticFixture, APlaceFormErasesWithItsBrushOrTheBarBehindItsControl) {
  TdxBarStatic* item = NewStatic("host");
  TdxBarStaticControl* c = ControlFor(item);
  ASSERT_NE(c, nullptr);
  TPlaceForm place(nullptr);
  place.SetBounds(40, 5, 30, 10);
  place.SetColor(clLime);
  TBitmap target;
  target.SetSize(30, 10);
  struct Row {
    const char* Name;
    TdxBarItemControl* Control;
    TColor Left, Right;  // at x = 2 and x = 25
  };
  const Row rows[] = {
      {"detached", nullptr, RGB(0, 255, 0), RGB(0, 255, 0)},
      // The form starts at x = 40 of the bar: its first ten pixels lie left of the bar's x = 50.
      {"attached", c, RGB(255, 0, 0), RGB(0, 0, 255)},
  };
  for (const Row& r : rows) {
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(TRect(0, 0, 30, 10));
    place.SetBarItemControl(r.Control);
    HDC dc = target.Canvas()->Handle();
    EXPECT_EQ(place.Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1) << r.Name;
    POINT origin;
    GetWindowOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0) << r.Name;
    TCanvas* shot = target.Canvas();
    EXPECT_EQ(ColorToRGB(shot->Pixel(2, 5)), r.Left) << r.Name;
    EXPECT_EQ(ColorToRGB(shot->Pixel(25, 5)), r.Right) << r.Name;
    if (r.Control) EXPECT_EQ(ColorToRGB(shot->Pixel(9, 5)), r.Left) << r.Name;
    if (r.Control) EXPECT_EQ(ColorToRGB(shot->Pixel(10, 5)), r.Right) << r.Name;
  }
  place.SetBarItemControl(nullptr);
  EXPECT_EQ(place.Perform(cxPlaceHolderFormMessage(), 0, 0), 1);
}
