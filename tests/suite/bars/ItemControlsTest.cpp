// Item controls on a stand-in bar window: sizes, view levels, hot parts, clicks, hints, the menu
// hover delay, the glyph cache and the in-place editor's text.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "BarTestSupport.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Pictures.h"
#include "platform/gui/StdCtrls.h"
#include "platform/win/QtWindows.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBarGlyphCache.h"
#include "suite/bars/dxBarItemControls.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxCore.h"

namespace {

// A bar window that draws nowhere and records what its item controls ask of it.
struct TFakeBarControl : TCustomdxBarControl {
  int Kind = 0;
  std::vector<std::string>* Log = nullptr;
  TdxBarItemControl* UnderCursor = nullptr;
  TdxBarItemControl* Selected = nullptr;
  std::unique_ptr<TBitmap> Surface = std::make_unique<TBitmap>();
  std::unique_ptr<TcxCanvas> Canvas;

  TFakeBarControl() {
    Surface->SetSize(200, 100);
    Canvas = std::make_unique<TcxCanvas>(Surface->Canvas());
    Canvas->CurrentFont()->SetName("DejaVu Sans");
  }
  int BarControlKind() const override { return Kind; }
  TcxCanvas* CurrentCanvas() const override { return Canvas.get(); }
  void CloseUp(int Reason) override {
    if (Log) Log->push_back("close " + std::to_string(Reason));
  }
  bool ClosesAfterClick() const override { return Kind == 2; }
  bool ShowsItemHints() const override { return true; }
  TdxBarItemControl* ItemControlUnderCursor() const override { return UnderCursor; }
  TdxBarItemControl* SelectedControl() const override { return Selected; }
  void SetSelectedControl(TdxBarItemControl* Value) override { Selected = Value; }
  int TextSize() const override { return 19; }
};

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

struct TItemControlsFixture : TBarFixture {
  TFakeBarControl Bar;
  TdxBarSubItem* Owner = NewItem<TdxBarSubItem>("owner");

  TItemControlsFixture() {
    Owner->ItemLinks()->SetBarControl(&Bar);
    Bar.SetItemLinks(Owner->ItemLinks());  // the controls draw and measure with the manager's painter
  }
  ~TItemControlsFixture() override {
    SetPlaySoundWatcher(nullptr);
    TdxBarItemLinks* links = Owner->ItemLinks();
    for (int i = 0; i < links->Count(); ++i) links->LinkByIndex(i)->FreeControl();
    links->SetBarControl(nullptr);
  }

  // A control of class C for a new link of Item on the bar.
  template <class C>
  C* ControlFor(TdxBarItem* Item, TRect Bounds = TRect(0, 0, 100, 24)) {
    TdxBarItemLink* link = Owner->ItemLinks()->AddLinkForItem(Item);
    link->SetItemBounds(Bounds);
    link->CreateControl();
    auto* c = dynamic_cast<C*>(link->Control());
    EXPECT_NE(c, nullptr);
    if (c) c->CalcPartRects();
    return c;
  }
};

}  // namespace

// ---- sizes

TEST_F(TItemControlsFixture, LargeButtonsMeasureGlyphCaptionAndFixedSizes) {
  Manager->ImageOptions()->SetLargeImages(NewImages(Form.get(), 32, 1));
  auto* withCaption = NewItem<TdxBarLargeButton>("Open file");
  withCaption->SetLargeImageIndex(0);
  withCaption->SetShowCaption(true);
  withCaption->SetGlyphLayout(glLeft);
  auto* c = ControlFor<TdxBarLargeButtonControl>(withCaption);
  ASSERT_NE(c, nullptr);
  c->CalcDrawParams(false);
  EXPECT_EQ(c->DrawParams()->GlyphSizeKind(), 2);
  EXPECT_EQ(c->ShownParts(), dxBarGlyphPart | dxBarCaptionPart);
  int caption = Bar.Canvas->MeasureTextWidth("Open file");
  EXPECT_GT(caption, 0);
  EXPECT_EQ(c->NaturalWidth(), 32 + caption + 16);

  auto* fixed = NewItem<TdxBarLargeButton>("Play");
  fixed->SetLargeImageIndex(0);
  fixed->SetShowCaption(false);
  fixed->SetWidth(29);
  auto* f = ControlFor<TdxBarLargeButtonControl>(fixed);
  ASSERT_NE(f, nullptr);
  f->CalcDrawParams(false);
  EXPECT_EQ(f->ShownParts(), dxBarGlyphPart);
  EXPECT_EQ(f->NaturalWidth(), 29);
  EXPECT_EQ(f->NaturalHeight(), 32 + 6);

  // Without any image the large glyph area is 20 by 20.
  auto* bare = NewItem<TdxBarLargeButton>("Bare");
  bare->SetShowCaption(false);
  auto* b = ControlFor<TdxBarLargeButtonControl>(bare);
  ASSERT_NE(b, nullptr);
  b->CalcDrawParams(false);
  EXPECT_EQ(b->NaturalWidth(), 20 + 10);
  EXPECT_EQ(b->NaturalHeight(), 20 + 6);
}

TEST_F(TItemControlsFixture, ALargeButtonWithItsGlyphOnTheRightRightAlignsItsCaption) {
  Manager->ImageOptions()->SetLargeImages(NewImages(Form.get(), 32, 1));
  auto* item = NewItem<TdxBarLargeButton>("Record");
  item->SetLargeImageIndex(0);
  item->SetShowCaption(true);
  item->SetGlyphLayout(glRight);
  auto* c = ControlFor<TdxBarLargeButtonControl>(item, TRect(0, 0, 120, 40));
  ASSERT_NE(c, nullptr);
  c->CalcDrawParams(true);
  TdxBarPainter* p = c->Painter();
  ASSERT_NE(p, nullptr);
  auto* dp = static_cast<TdxBarButtonLikeControlDrawParams*>(c->DrawParams());
  TRect content(0, 0, 120, 40);
  TRect glyph = p->CalcLargeGlyphRect(c, TSize{32, 32}, content, glRight, 0, true);
  EXPECT_EQ(glyph.Right, 116) << "4 pixels from the right edge";
  TRect caption;
  int alignment = -1;
  p->CalcCaptionRect(dp, content, caption, alignment, glyph);
  EXPECT_EQ(alignment, 2);
  EXPECT_EQ(caption.Right, glyph.Left - 3);
}

TEST_F(TItemControlsFixture, ADisabledEditShowsGrayTextOnTheBarColourWhateverItsStyle) {
  auto* item = NewItem<TdxBarButton>("Find");
  auto* c = ControlFor<TdxBarButtonControl>(item);
  ASSERT_NE(c, nullptr);
  TdxBarPainter* p = c->Painter();
  ASSERT_NE(p, nullptr);
  TColor text, back;
  p->EditColors(c, text, back);
  EXPECT_EQ(text, TColor(GetSysColor(COLOR_WINDOWTEXT)));
  EXPECT_EQ(back, TColor(GetSysColor(COLOR_WINDOW)));
  item->SetEnabled(false);
  p->EditColors(c, text, back);
  EXPECT_EQ(text, TColor(GetSysColor(COLOR_GRAYTEXT)));
  EXPECT_EQ(back, TColor(GetSysColor(COLOR_BTNFACE)));
}

// ---- view levels

namespace {
struct TNoLevelsControl : TdxBarButtonControl {
  using TdxBarButtonControl::TdxBarButtonControl;
  TdxBarItemViewLevels GetPossibleViewLevels() const override { return {}; }
};
struct TCountingControl : TdxBarButtonControl {
  using TdxBarButtonControl::TdxBarButtonControl;
  int Measured = 0;
  int Width() override {
    ++Measured;
    return TdxBarButtonControl::Width();
  }
};
}  // namespace

TEST_F(TItemControlsFixture, ViewLevelsFollowTheGlyphAndTheLinkAndRefuseWhatIsNotAllowed) {
  auto* plain = NewItem<TdxBarButton>("Plain");
  auto* p = ControlFor<TdxBarButtonControl>(plain);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GetPossibleViewLevels(), TdxBarItemViewLevels{ivlSmallIconWithText});

  Manager->ImageOptions()->SetImages(NewImages(Form.get(), 16, 2));
  auto* glyphed = NewItem<TdxBarButton>("Glyphed");
  glyphed->SetImageIndex(1);
  TdxBarItemLink* link = Owner->ItemLinks()->AddLinkForItem(glyphed);
  link->SetViewLevels({ivlControlOnly});  // shares nothing: the possible levels apply
  auto* g = new TCountingControl(link);
  g->Initialize();
  TdxBarItemViewLevels both{ivlSmallIconWithText, ivlSmallIcon};
  EXPECT_EQ(g->GetPossibleViewLevels(), both);
  EXPECT_EQ(g->AllowedViewLevels(), both);
  EXPECT_EQ(g->ViewInfo()->GroupViewLevel, ivlSmallIcon);

  // A width is measured once per level until the cache is reset; the level is put back.
  TdxBarItemViewLevel before = g->ViewInfo()->ViewLevel;
  int w1 = g->ViewInfo()->WidthAtLevel(ivlSmallIcon);
  int measured = g->Measured;
  EXPECT_EQ(g->ViewInfo()->WidthAtLevel(ivlSmallIcon), w1);
  EXPECT_EQ(g->Measured, measured);
  EXPECT_EQ(g->ViewInfo()->ViewLevel, before);
  g->ResetGlyphCache(true);  // what a glyph change does
  g->ViewInfo()->WidthAtLevel(ivlSmallIcon);
  EXPECT_GT(g->Measured, measured);

  try {
    g->ViewInfo()->WidthAtLevel(ivlLargeIconWithText);
    ADD_FAILURE() << "a level that is not allowed was measured";
  } catch (const EdxException& e) {
    EXPECT_STREQ(e.what(), "Testing! The level is not allowed");
  }
  delete g;

  TdxBarItemLink* empty = Owner->ItemLinks()->AddLinkForItem(plain);
  try {
    CreateItemControl<TNoLevelsControl>(empty);
    ADD_FAILURE() << "a control without levels was made";
  } catch (const EdxException& e) {
    EXPECT_STREQ(e.what(), "TNoLevelsControl.GetPossibleViewLevels = []");
  }
}

// ---- hot parts

namespace {
// Two parts with a gap between them: the left and the right third.
struct TTwoPartControl : TdxBarItemControl {
  using TdxBarItemControl::TdxBarItemControl;
  int PartCount() const override { return 2; }
  void CalcPartRects() override {
    TRect r = ItemBoundsOf();
    int third = r.Width() / 3;
    FPartRects = {TRect(r.Left, r.Top, r.Left + third, r.Bottom), TRect(r.Right - third, r.Top, r.Right, r.Bottom)};
  }
};
}  // namespace

TEST_F(TItemControlsFixture, HotPartIsTheIndexOrNoneOrInsideButOverNoPart) {
  auto* item = NewItem<TdxBarButton>("Parts");
  TdxBarItemLink* link = Owner->ItemLinks()->AddLinkForItem(item);
  link->SetItemBounds(TRect(0, 0, 90, 20));
  std::unique_ptr<TTwoPartControl> c(CreateItemControl<TTwoPartControl>(link));
  c->CalcPartRects();
  struct {
    TPoint At;
    int Hot;
  } cases[] = {{{5, 5}, 0}, {{85, 5}, 1}, {{45, 5}, dxBarNoPartHot}, {{95, 5}, -1}, {{-1, -1}, -1}};
  for (auto& k : cases) {
    c->MouseMove({}, k.At.X, k.At.Y);
    EXPECT_EQ(c->HotPart(), k.Hot) << k.At.X;
  }
  c->MouseMove({}, 5, 5);
  item->SetEnabled(false);
  c->MouseMove({}, 5, 5);
  EXPECT_EQ(c->HotPart(), -1);
  c->SetHotPart(0);
  EXPECT_EQ(c->HotPart(), -1);
}

// ---- clicks

TEST_F(TItemControlsFixture, AMenuClickSoundsPromotesClosesWithReasonTwoThenRunsTheItem) {
  std::vector<std::string> log;
  Bar.Kind = 2;
  Bar.Log = &log;
  SetPlaySoundWatcher([&](const char* s) { log.push_back(std::string("sound ") + (s ? s : "")); });
  auto* item = NewItem<TdxBarButton>("Cut");
  auto* c = ControlFor<TdxBarButtonControl>(item);
  ASSERT_NE(c, nullptr);
  TdxBarItemLink* link = c->Link();
  int uses = link->UseCount();
  struct TProbe : TObject {
    std::vector<std::string>* Log;
    TdxBarItemLink* Link;
    int Uses;
    bool FreeControl = false;
    void Click(TObject*) {
      Log->push_back(Link->UseCount() > Uses ? "click after promotion" : "click before promotion");
      if (FreeControl) Link->FreeControl();
    }
  } probe;
  probe.Log = &log;
  probe.Link = link;
  probe.Uses = uses;
  item->OnClick = TNotifyEvent::Bind(&probe, &TProbe::Click);

  c->Click(false);
  EXPECT_EQ(log, (std::vector<std::string>{"sound MenuCommand", "close 2", "click after promotion"}));
  EXPECT_FALSE(c->RepaintSuspended());

  // The item's handler may free the control that ran the click.
  log.clear();
  probe.Uses = link->UseCount();
  probe.FreeControl = true;
  c->ClickAt(false, false);
  EXPECT_EQ(log, (std::vector<std::string>{"sound MenuCommand", "close 2", "click after promotion"}));
  EXPECT_EQ(link->Control(), nullptr);

  // A toolbar click plays no menu sound; a checked button toggles.
  log.clear();
  Bar.Kind = 0;
  item->SetButtonStyle(bsChecked);
  probe.FreeControl = false;
  link->CreateControl();
  auto* t = dynamic_cast<TdxBarButtonControl*>(link->Control());
  ASSERT_NE(t, nullptr);
  t->Click(false);
  EXPECT_TRUE(item->Down());
  t->Click(false);
  EXPECT_FALSE(item->Down());
  EXPECT_EQ(log.front(), "close 2");
}

TEST_F(TItemControlsFixture, AMouseReleaseOverTheArrowPartRunsNothing) {
  std::vector<std::string> log;
  Bar.Log = &log;
  auto* item = NewItem<TdxBarButton>("Undo");
  item->SetButtonStyle(bsDropDown);
  int clicks = 0;
  struct TProbe : TObject {
    int* N;
    void Click(TObject*) { ++*N; }
  } probe;
  probe.N = &clicks;
  item->OnClick = TNotifyEvent::Bind(&probe, &TProbe::Click);
  auto* c = ControlFor<TdxBarButtonControl>(item);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->PartCount(), 2);
  c->SetHotPart(1);
  c->Click(true);
  EXPECT_EQ(clicks, 0);
  c->SetHotPart(0);
  c->Click(true);
  EXPECT_EQ(clicks, 1);
}

// ---- hints

TEST_F(TItemControlsFixture, HintTextsComeFromTheHintBeforeTheBarWithTheShortCutSuffix) {
  auto* item = NewItem<TdxBarButton>("Cut");
  item->SetHint("Cut the selection|Moves the selection to the clipboard");
  item->SetShortCut(TextToShortCut("Ctrl+X"));
  auto* c = ControlFor<TdxBarButtonControl>(item);
  ASSERT_NE(c, nullptr);
  bool refused = true;
  std::string hint = "x", shortcut = "x";
  EXPECT_FALSE(c->GetHintTexts(refused, hint, shortcut));  // the mouse is elsewhere
  EXPECT_EQ(hint, "");
  EXPECT_FALSE(refused);
  Bar.UnderCursor = c;
  EXPECT_TRUE(c->GetHintTexts(refused, hint, shortcut));
  EXPECT_EQ(hint, "Cut the selection");
  EXPECT_EQ(shortcut, " (Ctrl+X)");
  item->SetShortCut(0);
  item->SetHint("Plain");
  EXPECT_TRUE(c->GetHintTexts(refused, hint, shortcut));
  EXPECT_EQ(hint, "Plain");
  EXPECT_EQ(shortcut, "");
}

// ---- the menu hover delay

TEST_F(TItemControlsFixture, OnlyTheLastHoveredMenuItemDropsDownFourHundredMillisecondsLater) {
  Bar.Kind = 2;
  SetManualClock(true);
  auto* menu = new TdxBarPopupMenu(Form.get());
  auto make = [&](const char* caption) {
    auto* item = NewItem<TdxBarButton>(caption);
    item->SetButtonStyle(bsDropDown);
    item->SetDropDownMenu(menu);
    return ControlFor<TdxBarButtonControl>(item);
  };
  auto* first = make("First");
  auto* second = make("Second");
  ASSERT_TRUE(first && second);
  auto settle = [](DWORD ms) {
    AdvanceClock(ms);
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
  };
  first->EnterActiveState(false, true);
  settle(200);
  second->EnterActiveState(false, true);
  EXPECT_EQ(TdxBarButtonLikeControl::PendingOpen(), second);
  settle(399);
  EXPECT_FALSE(first->DroppedDown());
  EXPECT_FALSE(second->DroppedDown());
  settle(1);
  EXPECT_FALSE(first->DroppedDown());
  EXPECT_TRUE(second->DroppedDown());
  EXPECT_EQ(TdxBarButtonLikeControl::PendingOpen(), nullptr);
  SetManualClock(false);
}

// ---- the glyph cache

TEST_F(TItemControlsFixture, TheGlyphCacheRendersOncePerModeAndSourceUntilTheImageIndexChanges) {
  // Two pictures of one colour each.
  auto* images = new TCustomImageList(Form.get());
  images->SetSize(16, 16);
  for (TColor c : {TColor(0x00C000), TColor(0xC00000)}) {
    TBitmap b;
    b.SetSize(16, 16);
    TcxCanvas(b.Canvas()).FillRectWithColor(TRect(0, 0, 16, 16), c);
    images->Add(&b, nullptr);
  }
  Manager->ImageOptions()->SetImages(images);
  auto* item = NewItem<TdxBarButton>("Copy");
  item->SetImageIndex(0);
  auto* c = ControlFor<TdxBarButtonControl>(item);
  ASSERT_NE(c, nullptr);
  TdxCachedImageOptions* cache = c->CachedImageOptions();
  HDC dc = Bar.Canvas->CurrentDC();
  auto draw = [&](uint8_t Mode) {
    DrawItemControlGlyph(c, dc, GetSysColorBrush(COLOR_BTNFACE), Mode, clNone, item->ImageIndex(), images, nullptr,
                         TRect(4, 4, 20, 20), TRect(2, 2, 22, 22));
    return TColor(GetPixel(dc, 12, 12));
  };
  EXPECT_EQ(draw(0), TColor(0x00C000));
  EXPECT_EQ(draw(0), TColor(0x00C000));
  EXPECT_EQ(cache->FillCount(), 1);
  draw(2);
  draw(2);
  EXPECT_EQ(cache->FillCount(), 2);
  EXPECT_EQ(cache->CacheBitmap()->Width(), 16);
  item->SetImageIndex(1);
  EXPECT_EQ(draw(0), TColor(0xC00000)) << "a new image index draws the new picture";
  EXPECT_EQ(cache->FillCount(), 3);
  // The shadowed look is never cached.
  draw(5);
  EXPECT_EQ(cache->FillCount(), 3);
}

TEST_F(TItemControlsFixture, ControlsShareRenderedGlyphsAndSeeTheirSourcesChange) {
  auto paint = [](TBitmap* b, TColor c) {
    b->SetSize(16, 16);
    TcxCanvas(b->Canvas()).FillRectWithColor(TRect(0, 0, 16, 16), c);
    TcxCanvas(b->Canvas()).FillRectWithColor(TRect(4, 4, 12, 12), TColor(0xFFFFFF));
  };
  HDC dc = Bar.Canvas->CurrentDC();
  // The glyph area's pixels after drawing; without a control nothing is cached.
  auto draw = [&](TdxBarItemControl* c, TBitmap* Glyph, TCustomImageList* Images, int Index, uint8_t Mode) {
    DrawItemControlGlyph(c, dc, GetSysColorBrush(COLOR_BTNFACE), Mode, clNone, Index, Images, Glyph,
                         TRect(4, 4, 20, 20), TRect(2, 2, 22, 22));
    std::vector<COLORREF> out;
    for (int y = 2; y < 22; ++y)
      for (int x = 2; x < 22; ++x) out.push_back(GetPixel(dc, x, y));
    return out;
  };
  TBitmap green;
  paint(&green, TColor(0x00A000));
  auto* first = NewItem<TdxBarButton>("One");
  auto* second = NewItem<TdxBarButton>("Two");
  first->SetGlyph(&green);
  second->SetGlyph(&green);
  auto* a = ControlFor<TdxBarButtonControl>(first);
  auto* b = ControlFor<TdxBarButtonControl>(second);
  ASSERT_TRUE(a && b);
  for (uint8_t mode : {ImageDrawNormal, ImageDrawDisabled, ImageDrawFaded, ImageDrawGrayed, ImageDrawLightened}) {
    SCOPED_TRACE(int(mode));
    const auto direct = draw(nullptr, first->Glyph(), nullptr, -1, mode);
    EXPECT_EQ(draw(a, first->Glyph(), nullptr, -1, mode), direct);
    const int renders = dxBarGlyphRenderCount();
    EXPECT_EQ(draw(b, second->Glyph(), nullptr, -1, mode), direct) << "a copy of the first rendering";
    EXPECT_EQ(dxBarGlyphRenderCount(), renders);
    EXPECT_EQ(b->CachedImageOptions()->FillCount(), a->CachedImageOptions()->FillCount());
  }

  // A bitmap changed in place (its corners and so its transparent colour kept) is rendered
  // afresh for a new control.
  TcxCanvas(first->Glyph()->Canvas()).FillRectWithColor(TRect(4, 4, 12, 12), TColor(0xC00000));
  const int renders = dxBarGlyphRenderCount();
  auto* again = ControlFor<TdxBarButtonControl>(first);
  EXPECT_EQ(draw(again, first->Glyph(), nullptr, -1, ImageDrawNormal), draw(nullptr, first->Glyph(), nullptr, -1, 0));
  EXPECT_EQ(dxBarGlyphRenderCount(), renders + 1);
  EXPECT_EQ(TColor(GetPixel(dc, 12, 12)), TColor(0xC00000));

  // An image list that changes forgets its renderings.
  auto* images = new TCustomImageList(Form.get());
  images->SetSize(16, 16);
  TBitmap picture;
  paint(&picture, TColor(0x0000C0));
  images->Add(&picture, nullptr);
  auto* listed = NewItem<TdxBarButton>("Three");
  auto* c = ControlFor<TdxBarButtonControl>(listed);
  const auto red = draw(c, nullptr, images, 0, ImageDrawNormal);
  EXPECT_EQ(red, draw(nullptr, nullptr, images, 0, ImageDrawNormal));
  EXPECT_EQ(red, draw(ControlFor<TdxBarButtonControl>(listed), nullptr, images, 0, ImageDrawNormal));
  images->Clear();
  paint(&picture, TColor(0xC0C000));
  images->Add(&picture, nullptr);
  const auto teal = draw(ControlFor<TdxBarButtonControl>(listed), nullptr, images, 0, ImageDrawNormal);
  EXPECT_NE(teal, red);
  EXPECT_EQ(teal, draw(nullptr, nullptr, images, 0, ImageDrawNormal));
}

// ---- in-place window controls

namespace {
struct TEditHostControl : TdxBarWinControl {
  using TdxBarWinControl::TdxBarWinControl;
  TEdit* Edit = nullptr;
  HWND InnerWindow() const override { return Edit ? Edit->Handle() : nullptr; }
  void HideInnerWindow(bool SaveText) override {
    if (SaveText) SaveTextToItem();
  }
};
}  // namespace

TEST_F(TItemControlsFixture, AnInPlaceEditorHandsItsWholeTextToTheItem) {
  auto* item = NewItem<TdxBarWindowItem>("Find");
  TdxBarItemLink* link = Owner->ItemLinks()->AddLinkForItem(item);
  std::unique_ptr<TEditHostControl> c(CreateItemControl<TEditHostControl>(link));
  auto* edit = new TEdit(Form.get());
  edit->SetParent(Form.get());
  c->Edit = edit;
  std::string typed(300, 'q');
  typed.back() = 'z';
  edit->SetText(typed);
  std::string text;
  c->InnerWindowText(text);
  EXPECT_EQ(text, typed);
  c->SaveTextToItem();
  EXPECT_EQ(item->Text(), typed);
}
