// The manager's image options: the glyph size, what a change of an image list or an option does
// to the items shown, and the older way of naming the lists on the manager itself.

#include <gtest/gtest.h>

#include <string>

#include "BarTestSupport.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Streaming.h"

namespace {

TCustomImageList* NewImages(TComponent* Owner, int Size, int Count) {
  auto* images = new TCustomImageList(Owner);
  images->SetSize(Size, Size);
  for (int i = 0; i < Count; ++i) {
    TBitmap b;
    b.SetSize(Size, Size);
    images->Add(&b, nullptr);
  }
  return images;
}

struct TCountingBarControl : TCustomdxBarControl {
  int Recalculated = 0;
  int Invalidated = 0;
  int Seen() const { return Recalculated + Invalidated; }
  void RecalculateBar() override { ++Recalculated; }
  void InvalidateItemControl(TdxBarItemControl*) override { ++Invalidated; }
};

// A toolbar whose window counts what the link controls and the manager ask of it.
struct TShownItems : TBarFixture {
  TCountingBarControl Bar;
  TdxBar* Toolbar = Manager->Bars()->Add();
  TShownItems() { Toolbar->ItemLinks()->SetBarControl(&Bar); }
  ~TShownItems() override {
    TdxBarItemLinks* links = Toolbar->ItemLinks();
    for (int i = 0; i < links->Count(); ++i) links->LinkByIndex(i)->FreeControl();
    links->SetBarControl(nullptr);
  }
  TdxBarItemControl* Show(TdxBarItem* Item) {
    TdxBarItemLink* link = Toolbar->ItemLinks()->AddLinkForItem(Item);
    link->SetItemBounds(TRect(0, 0, 100, 22));
    link->CreateControl();
    return link->Control();
  }
};

}  // namespace

TEST_F(TBarFixture, TheGlyphSizeFollowsLargeIconsAndTheLargeImages) {
  TdxBarImageOptions* o = Manager->ImageOptions();
  o->SetLargeImages(NewImages(Form.get(), 24, 1));
  struct Row {
    bool LargeIcons, UseLargeImages;
    int Expected;
  } rows[] = {{false, false, 16}, {false, true, 16}, {true, false, 32}, {true, true, 24}};
  for (const Row& r : rows) {
    o->SetLargeIcons(r.LargeIcons);
    o->SetUseLargeImagesForLargeIcons(r.UseLargeImages);
    EXPECT_EQ(o->GlyphSize(), r.Expected) << r.LargeIcons << r.UseLargeImages;
  }
  // A list that goes leaves no dangling reference behind.
  delete o->LargeImages();
  EXPECT_EQ(o->LargeImages(), nullptr);
  EXPECT_EQ(o->GlyphSize(), 32);
}

TEST_F(TShownItems, ANewPictureInAListReachesTheItemsThatShowIt) {
  TCustomImageList* images = NewImages(Form.get(), 16, 1);
  TCustomImageList* hot = NewImages(Form.get(), 32, 1);
  Manager->ImageOptions()->SetImages(images);
  Manager->ImageOptions()->SetHotImages(hot);
  auto* indexed = NewItem<TdxBarButton>("Indexed");
  indexed->SetImageIndex(0);
  auto* plain = NewItem<TdxBarButton>("Plain");
  auto* large = NewItem<TdxBarLargeButton>("Large");
  large->SetHotImageIndex(0);
  ASSERT_NE(Show(indexed), nullptr);
  ASSERT_NE(Show(plain), nullptr);
  ASSERT_NE(Show(large), nullptr);

  // One bar update for the whole change: the indexed item's control is told, once re-laid out.
  int relayouts = Manager->RelayoutCount();
  int before = Bar.Invalidated;
  TBitmap b;
  b.SetSize(16, 16);
  images->Add(&b, nullptr);
  EXPECT_EQ(Bar.Invalidated - before, 1);
  EXPECT_EQ(Manager->RelayoutCount(), relayouts + 1);

  before = Bar.Seen();
  TBitmap h;
  h.SetSize(32, 32);
  hot->Add(&h, nullptr);
  EXPECT_GT(Bar.Seen(), before);

  // Options that change how glyphs are drawn redraw the bars; equal values do nothing.
  struct Row {
    const char* Name;
    void (*Set)(TdxBarImageOptions*);
    int Recalculations;
  } rows[] = {
      {"background", [](TdxBarImageOptions* o) { o->SetImageListBkColor(clWhite); }, 1},
      {"same background", [](TdxBarImageOptions* o) { o->SetImageListBkColor(clWhite); }, 0},
      {"faded", [](TdxBarImageOptions* o) { o->SetMakeDisabledImagesFaded(true); }, 1},
      {"transparency", [](TdxBarImageOptions* o) { o->SetUseLeftBottomPixelAsTransparent(false); },
       1},
      {"large icons", [](TdxBarImageOptions* o) { o->SetLargeIcons(true); }, 1},
  };
  for (const Row& r : rows) {
    int at = Bar.Recalculated;
    r.Set(Manager->ImageOptions());
    EXPECT_EQ(Bar.Recalculated - at, r.Recalculations) << r.Name;
  }
}

TEST(BarImageOptions, ListsNamedOnTheManagerGoToItsImageOptionsAndAreWrittenThere) {
  const char* text = R"(object MainForm: TForm {
  object Small: TcxImageList {
  }
  object BarManager: TdxBarManager {
    Images = Small
    LargeIcons = true
    MakeDisabledImagesFaded = true
  }
})";
  TForm form(nullptr);
  ReadComponentFromText(&form, text);
  auto* m = dynamic_cast<TdxBarManager*>(form.FindComponent("BarManager"));
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->ImageOptions()->Images(), form.FindComponent("Small"));
  EXPECT_TRUE(m->ImageOptions()->LargeIcons());
  EXPECT_TRUE(m->ImageOptions()->MakeDisabledImagesFaded);
  std::string written = WriteComponentToText(&form);
  EXPECT_NE(written.find("ImageOptions {"), std::string::npos) << written;
  EXPECT_EQ(written.find("\n    Images = Small"), std::string::npos) << written;
  EXPECT_NE(written.find("\n      Images = Small"), std::string::npos) << written;
  TForm back(nullptr);
  ReadComponentFromText(&back, written);
  EXPECT_EQ(WriteComponentToText(&back), written);
}

TEST_F(TBarFixture, AnItemHasAnImageOnlyAtAnIndexItsManagersListHolds) {
  auto* item = NewItem<TdxBarButton>("Open");
  struct Row {
    bool WithList;
    int Index;
    bool Expected;
  } rows[] = {
      {false, 0, false}, {true, -1, false}, {true, 0, true}, {true, 1, true}, {true, 2, false}};
  TCustomImageList* images = NewImages(Form.get(), 16, 2);
  for (const Row& r : rows) {
    Manager->ImageOptions()->SetImages(r.WithList ? images : nullptr);
    item->SetImageIndex(r.Index);
    EXPECT_EQ(item->HasImage(), r.Expected) << r.WithList << " " << r.Index;
  }
}

TEST_F(TBarFixture, AStyleGivesAnItemOnlyTheValuesItHasAssigned) {
  auto* item = NewItem<TdxBarButton>("Open");
  EXPECT_EQ(item->StyleViewParams().Color, clDefault);
  auto* style = new TcxStyle(Form.get());
  style->SetColor(clYellow);
  style->Font()->SetName("DejaVu Serif");
  item->SetStyle(style);
  TdxBarItem::TViewParams p = item->StyleViewParams();
  EXPECT_EQ(p.Color, clYellow);
  EXPECT_EQ(p.TextColor, clDefault);
  EXPECT_EQ(p.Bitmap, nullptr);
  EXPECT_EQ(p.Font, style->Font());
}
