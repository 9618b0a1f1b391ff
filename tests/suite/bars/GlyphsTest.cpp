// Item, link and background pictures: kept in descriptions, followed by the links' controls, and
// the items' screen tips.

#include <gtest/gtest.h>

#include <QtGui/QImage>
#include <memory>
#include <string>

#include "BarTestSupport.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Streaming.h"
#include "suite/core/dxScreenTip.h"

namespace {

// A w x h picture of one colour with a differently coloured top-left pixel, so that a picture
// read back upside down or shifted does not pass.
// Assigned whole, as a user of the bitmap would, so that its change notice goes out.
void Paint(TBitmap* Bitmap, int W, int H, uint32_t Rgb) {
  TBitmap b;
  b.SetSize(W, H);
  for (int y = 0; y < H; ++y) {
    uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < W; ++x) {
      uint32_t c = x == 0 && y == 0 ? 0x123456 : Rgb;
      row[4 * x + 0] = uint8_t(c);
      row[4 * x + 1] = uint8_t(c >> 8);
      row[4 * x + 2] = uint8_t(c >> 16);
    }
  }
  Bitmap->Assign(&b);
}

bool SamePixels(TBitmap* A, TBitmap* B) {
  QImage a = A->ToImage().convertToFormat(QImage::Format_RGB32);
  QImage b = B->ToImage().convertToFormat(QImage::Format_RGB32);
  return !A->Empty() && a == b;
}

int Occurrences(const std::string& Text, const std::string& What) {
  int n = 0;
  for (size_t at = Text.find(What); at != std::string::npos; at = Text.find(What, at + 1)) ++n;
  return n;
}

// A bar window that counts what the link controls ask of it.
struct TCountingBarControl : TCustomdxBarControl {
  int Recalculated = 0;
  int Invalidated = 0;
  void RecalculateBar() override { ++Recalculated; }
  void InvalidateItemControl(TdxBarItemControl*) override { ++Invalidated; }
};

}  // namespace

TEST(BarGlyphs, PicturesGoThroughDescriptionsAndComeBackEqual) {
  TForm form(nullptr);
  form.SetName("MainForm");
  auto* manager = new TdxBarManager(&form);
  manager->SetName("BarManager");
  auto* tips = new TdxScreenTipRepository(&form);
  tips->SetName("Tips");
  TdxScreenTip* tip = tips->Items()->Add();
  tip->Header()->SetText("Open");

  auto* open = new TdxBarLargeButton(&form);
  open->SetName("ButtonOpen");
  open->SetCategory(0);
  Paint(open->Glyph(), 16, 16, 0xC00000);
  Paint(open->LargeGlyph(), 32, 32, 0x00A000);
  Paint(open->HotGlyph(), 32, 32, 0x0000E0);
  open->SetScreenTip(tip);
  auto* file = new TdxBarSubItem(&form);
  file->SetName("SubItemFile");
  file->SetCategory(0);
  Paint(file->Glyph(), 16, 16, 0x808000);
  auto* plain = new TdxBarButton(&form);
  plain->SetName("ButtonPlain");
  plain->SetCategory(0);
  TBitmap wallpaper;
  Paint(&wallpaper, 8, 8, 0xE0E0F0);
  manager->Backgrounds()->SetBar(&wallpaper);

  std::string text = WriteComponentToText(&form);
  // Five pictures are stored; the empty ones (the plain button's, the sub-menu background) not.
  EXPECT_EQ(Occurrences(text, "Data ="), 5) << text;

  TForm back(nullptr);
  ReadComponentFromText(&back, text);
  auto* m = dynamic_cast<TdxBarManager*>(back.FindComponent("BarManager"));
  auto* open2 = dynamic_cast<TdxBarLargeButton*>(back.FindComponent("ButtonOpen"));
  auto* file2 = dynamic_cast<TdxBarSubItem*>(back.FindComponent("SubItemFile"));
  auto* plain2 = dynamic_cast<TdxBarButton*>(back.FindComponent("ButtonPlain"));
  ASSERT_TRUE(m && open2 && file2 && plain2);
  EXPECT_TRUE(SamePixels(open2->Glyph(), open->Glyph()));
  EXPECT_TRUE(SamePixels(open2->LargeGlyph(), open->LargeGlyph()));
  EXPECT_TRUE(SamePixels(open2->HotGlyph(), open->HotGlyph()));
  EXPECT_TRUE(SamePixels(file2->Glyph(), file->Glyph()));
  EXPECT_TRUE(SamePixels(m->Backgrounds()->Bar(), &wallpaper));
  EXPECT_TRUE(plain2->Glyph()->Empty());
  EXPECT_TRUE(m->Backgrounds()->SubMenu()->Empty());
  ASSERT_NE(open2->ScreenTip(), nullptr);
  EXPECT_EQ(open2->ScreenTip()->Header()->Text(), "Open");
  EXPECT_EQ(open2->ScreenTip()->Owner(), &back);
  EXPECT_EQ(WriteComponentToText(&back), text);
}

TEST_F(TBarFixture, AFreedScreenTipLeavesTheItemsThatShowedIt) {
  auto* tips = new TdxScreenTipRepository(Form.get());
  TdxScreenTip* tip = tips->Items()->Add();
  auto* a = NewItem<TdxBarButton>("A");
  auto* b = NewItem<TdxBarLargeButton>("B");
  a->SetScreenTip(tip);
  b->Assign(a);
  EXPECT_EQ(b->ScreenTip(), tip);
  delete tip;
  EXPECT_EQ(a->ScreenTip(), nullptr);
  EXPECT_EQ(b->ScreenTip(), nullptr);
}

TEST_F(TBarFixture, ALinksPictureFollowsItsUserGlyphAndItsChangesReachTheBar) {
  auto* menu = NewItem<TdxBarSubItem>("Menu");
  TCountingBarControl bar;
  menu->ItemLinks()->SetBarControl(&bar);
  auto* item = NewItem<TdxBarButton>("Open");
  Paint(item->Glyph(), 16, 16, 0x0000FF);
  TdxBarItemLink* link = menu->ItemLinks()->AddLinkForItem(item);
  link->SetItemBounds(TRect(0, 0, 100, 22));
  link->CreateControl();
  ASSERT_NE(link->Control(), nullptr);

  // The item's own picture until the user gives the link one.
  EXPECT_EQ(link->EffectiveGlyph(), item->Glyph());
  EXPECT_EQ(link->Control()->SmallGlyph(), item->Glyph());

  TBitmap mine;
  Paint(&mine, 16, 16, 0x00FF00);
  link->SetUserGlyph(&mine);
  EXPECT_TRUE(link->UserDefine().Contains(udGlyph));
  EXPECT_TRUE(SamePixels(link->EffectiveGlyph(), &mine));
  EXPECT_EQ(link->Control()->SmallGlyph(), link->UserGlyph());

  // Drawing into the user glyph reaches the bar window as a repaint or a new layout.
  int before = bar.Recalculated + bar.Invalidated;
  Paint(link->UserGlyph(), 16, 16, 0xFF0000);
  EXPECT_GT(bar.Recalculated + bar.Invalidated, before);

  // Giving up the user picture empties it: the item's shows again.
  link->SetUserDefine({});
  EXPECT_TRUE(link->UserGlyph()->Empty());
  EXPECT_EQ(link->EffectiveGlyph(), item->Glyph());

  link->FreeControl();
  menu->ItemLinks()->SetBarControl(nullptr);
}

TEST_F(TBarFixture, ItemPicturesTellTheirLinksControls) {
  auto* menu = NewItem<TdxBarSubItem>("Menu");
  TCountingBarControl bar;
  menu->ItemLinks()->SetBarControl(&bar);
  auto* item = NewItem<TdxBarLargeButton>("Play");
  TdxBarItemLink* link = menu->ItemLinks()->AddLinkForItem(item);
  link->SetItemBounds(TRect(0, 0, 100, 22));
  link->CreateControl();
  ASSERT_NE(link->Control(), nullptr);
  struct Row {
    const char* Name;
    TBitmap* Picture;
  } rows[] = {
      {"Glyph", item->Glyph()}, {"LargeGlyph", item->LargeGlyph()}, {"HotGlyph", item->HotGlyph()}};
  for (const Row& r : rows) {
    int before = bar.Recalculated + bar.Invalidated;
    Paint(r.Picture, 32, 32, 0x445566);
    EXPECT_GT(bar.Recalculated + bar.Invalidated, before) << r.Name;
  }
  EXPECT_EQ(link->Control()->LargeGlyph(), item->LargeGlyph());
  link->FreeControl();
  menu->ItemLinks()->SetBarControl(nullptr);
}

TEST_F(TBarFixture, ALargeButtonShowsItsOwnLargeAndHotPicturesBeforeItsImageListImages) {
  auto* menu = NewItem<TdxBarSubItem>("Menu");
  TCountingBarControl bar;
  menu->ItemLinks()->SetBarControl(&bar);
  auto* images = new TCustomImageList(Form.get());
  images->SetSize(32, 32);
  TBitmap picture;
  Paint(&picture, 32, 32, 0x808080);
  images->Add(&picture, nullptr);
  Manager->ImageOptions()->SetLargeImages(images);
  struct Row {
    bool Large, Hot, AskHot, Listed;
    int Expected;  // 0 the large glyph, 1 the hot glyph, 2 the list's image
  } rows[] = {
      {true, false, false, true, 0},  {true, false, true, true, 0},  {true, true, false, true, 0},
      {true, true, true, true, 1},    {false, true, false, true, 2}, {false, true, true, true, 1},
      {false, true, false, false, 1}, {false, false, true, true, 2},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.Large << r.Hot << r.AskHot << r.Listed);
    auto* item = NewItem<TdxBarLargeButton>("Play");
    item->SetLargeImageIndex(r.Listed ? 0 : -1);
    if (r.Large) Paint(item->LargeGlyph(), 32, 32, 0x0000FF);
    if (r.Hot) Paint(item->HotGlyph(), 32, 32, 0x00FF00);
    TdxBarItemLink* link = menu->ItemLinks()->AddLinkForItem(item);
    link->CreateControl();
    ASSERT_NE(link->Control(), nullptr);
    int index = -1;
    TCustomImageList* list = nullptr;
    TBitmap* glyph = nullptr;
    EXPECT_TRUE(link->Control()->GlyphAndImages(2, r.AskHot, index, list, glyph));
    TBitmap* expected = r.Expected == 0 ? item->LargeGlyph() : r.Expected == 1 ? item->HotGlyph() : nullptr;
    EXPECT_EQ(glyph, expected);
    if (r.Expected == 2) {
      EXPECT_EQ(list, images);
      EXPECT_EQ(index, 0);
    }
    link->FreeControl();
  }
  menu->ItemLinks()->SetBarControl(nullptr);
}
