// The flat look: its colours, the check mark, floating border and combo list entry that the
// themed look borrows, and the outline that joins a button to the menu it opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <QImage>

#include "BarTestSupport.h"
#include "platform/win/Messages.h"
#include "platform/win/QtWindows.h"
#include "suite/bars/dxBarSubMenu.h"
#include "suite/bars/dxBarFlatPainter.h"
#include "suite/bars/dxBarOffice11Painter.h"
#include "suite/core/PainterTestSupport.h"
#include "suite/core/dxOffice11.h"

using namespace painter_test;

namespace {

TColor Sys(int Index) { return TColor(GetSysColor(Index)); }

// Sets system colours for a scope and puts the previous ones back.
class TSysColors {
 public:
  TSysColors(std::initializer_list<std::pair<int, COLORREF>> Colors) {
    for (auto [index, value] : Colors) {
      FSaved.push_back({index, GetSysColor(index)});
      SetSysColors(1, &index, &value);
    }
  }
  ~TSysColors() {
    for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) SetSysColors(1, &it->first, &it->second);
  }

 private:
  std::vector<std::pair<int, COLORREF>> FSaved;
};

// What a brush paints, as a colour.
TColor BrushColor(HBRUSH Brush) {
  TSurface s(2, 2);
  RECT r{0, 0, 2, 2};
  FillRect(s.C()->CurrentDC(), &r, Brush);
  uint32_t p = s.At(0, 0);
  return TColor(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
}

int Channel(TColor C, int Shift) { return int((uint32_t(C) >> Shift) & 0xFF); }

// Per channel: the weighted sum (percent) of face, highlight and window.
TColor Weighted(int Face, int Highlight, int Window) {
  TColor f = Sys(COLOR_BTNFACE), h = Sys(COLOR_HIGHLIGHT), w = Sys(COLOR_WINDOW);
  auto ch = [&](int s) {
    int v = MulDiv(Channel(f, s), Face, 100) + MulDiv(Channel(h, s), Highlight, 100) +
            MulDiv(Channel(w, s), Window, 100);
    return std::clamp(v, 0, 255);
  };
  return TColor(RGB(ch(0), ch(8), ch(16)));
}

TColor PerChannel(TColor C, int (*F)(int)) { return TColor(RGB(F(Channel(C, 0)), F(Channel(C, 8)), F(Channel(C, 16)))); }

struct TFlatBar : TCustomdxBarControl {
  TRect ClientBounds() const override { return TRect(0, 0, 100, 22); }
};

}  // namespace

TEST_F(TBarFixture, FlatColoursFollowTheSystemColours) {
  // A face that is neither black nor white keeps the mixes apart from the plain highlight.
  for (COLORREF face : {RGB(212, 208, 200), RGB(90, 140, 60)}) {
    SCOPED_TRACE(face);
    TSysColors colours{{COLOR_BTNFACE, face}, {COLOR_BTNSHADOW, RGB(128, 101, 77)}};
    Manager->SetStyle(bmsStandard);
    Manager->SetStyle(bmsFlat);
    const struct {
      const char* Name;
      HBRUSH Brush;
      TColor Expected;
    } rows[] = {
        {"frame", Manager->FlatFrameBrush(), PerChannel(Sys(COLOR_BTNSHADOW), [](int c) { return c * 8 / 10; })},
        {"face", Manager->FlatFaceBrush(),
         PerChannel(Sys(COLOR_BTNFACE), [](int c) { return c + (255 - c) * 16 / 100; })},
        {"down", Manager->FlatDownBrush(), Weighted(11, 9, 73)},
        {"down selected", Manager->FlatDownSelectedBrush(), Weighted(14, 44, 40)},
        {"selected", Manager->FlatSelectedBrush(), Weighted(-2, 30, 72)},
    };
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(BrushColor(rows[i].Brush), rows[i].Expected) << rows[i].Name;
      EXPECT_EQ(TdxBarFlatPainter::FlatColor(i), rows[i].Expected) << rows[i].Name;
    }
    // The look's own brushes are these.
    TdxBarPainter* p = Manager->Painter();
    ASSERT_NE(dynamic_cast<TdxBarFlatPainter*>(p), nullptr);
  }
}

TEST(FlatPainter, SharedPainterIsOneObject) {
  TdxBarFlatPainter* p = GetSharedFlatPainter();
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(GetSharedFlatPainter(), p);
}

TEST(FlatPainter, CheckMarkIsOneThickStrokeInTheInkOfTheScheme) {
  TdxBarFlatPainter p;
  // Without a control the mark is drawn enabled.
  auto draw = [&](bool, TColor Back) {
    auto s = std::make_unique<TSurface>(40, 40, Back);
    p.DrawCheckSign(nullptr, s->C()->CurrentDC(), 2, 10, 10);
    return s;
  };
  // Size code 2: strokes k = 0..3 of (12, 14+k)-(16, 18+k)-(26, 8+k), the last point left out.
  auto s = draw(true, clRed);
  EXPECT_EQ(s->Bounds(clBlack), TRect(12, 9, 26, 22));
  EXPECT_EQ(s->Bounds(clRed, true), s->Bounds(clBlack));
  EXPECT_EQ(s->At(12, 14), Rgb(clBlack));
  EXPECT_EQ(s->At(12, 17), Rgb(clBlack));
  EXPECT_EQ(s->At(12, 18), Rgb(clRed)) << "four strokes for size 2";
  {
    // White ink on a white face, and on a black face with coloured text.
    for (auto scheme : {std::pair<COLORREF, COLORREF>{RGB(255, 255, 255), RGB(0, 0, 0)},
                        std::pair<COLORREF, COLORREF>{RGB(0, 0, 0), RGB(255, 255, 0)}}) {
      TSysColors colours{{COLOR_BTNFACE, scheme.first}, {COLOR_BTNTEXT, scheme.second}};
      EXPECT_EQ(draw(true, clRed)->Bounds(clWhite), TRect(12, 9, 26, 22));
    }
    // A black face with white text keeps black ink.
    TSysColors colours{{COLOR_BTNFACE, RGB(0, 0, 0)}, {COLOR_BTNTEXT, RGB(255, 255, 255)}};
    EXPECT_EQ(draw(true, clRed)->Bounds(clBlack), TRect(12, 9, 26, 22));
  }
}

TEST_F(TBarFixture, DisabledCheckMarkIsShadowStartingOneRowLower) {
  TdxBarFlatPainter p;
  TFlatBar bar;
  auto* sub = NewItem<TdxBarSubItem>("menu");
  sub->ItemLinks()->SetBarControl(&bar);
  bar.SetItemLinks(sub->ItemLinks());
  auto* item = NewItem<TdxBarButton>("Loop");
  item->SetEnabled(false);
  TdxBarItemLink* link = sub->ItemLinks()->AddLinkForItem(item);
  link->CreateControl();
  TSurface s(40, 40, clRed);
  p.DrawCheckSign(link->Control(), s.C()->CurrentDC(), 1, 10, 10);
  // Size 1, k = 1..2: (11, 13+k)-(13, 15+k)-(18, 9+k).
  EXPECT_EQ(s.Bounds(Sys(COLOR_BTNSHADOW)), TRect(11, 11, 18, 17));
  link->FreeControl();
  sub->ItemLinks()->SetBarControl(nullptr);
}

TEST_F(TBarFixture, FloatingBorderIsFrameLightLineThenBarFace) {
  Manager->SetStyle(bmsFlat);
  TdxBarFlatPainter p;
  TFlatBar bar;
  auto* sub = NewItem<TdxBarSubItem>("menu");
  sub->ItemLinks()->SetBarControl(&bar);
  bar.SetItemLinks(sub->ItemLinks());
  TSurface s(40, 30, clRed);
  const TRect r(2, 2, 38, 28);
  p.DrawFloatingBorder(&bar, s.C()->CurrentDC(), r);
  const int width = std::min(p.FloatingFrameWidth(), p.FloatingFrameHeight());
  ASSERT_GE(width, 3);
  TColor frame = BrushColor(Manager->FlatFrameBrush());
  EXPECT_EQ(s.At(2, 10), Rgb(frame));
  EXPECT_EQ(s.At(20, 27), Rgb(frame));
  EXPECT_EQ(s.At(3, 10), Rgb(Sys(COLOR_BTNHIGHLIGHT)));
  EXPECT_EQ(s.At(20, 3), Rgb(Sys(COLOR_BTNHIGHLIGHT)));
  TColor face = BrushColor(bar.BackgroundBrush());
  for (int i = 2; i < width; ++i) EXPECT_EQ(s.At(2 + i, 15), Rgb(face)) << i;
  EXPECT_EQ(s.At(2 + width, 15), Rgb(clRed)) << "the inside is the client's";
  sub->ItemLinks()->SetBarControl(nullptr);
}

TEST(FlatPainter, ComboListEntryOfTheEditLineSitsTwoPixelsLowerThanInTheBaseLook) {
  TdxBarFlatPainter flat;
  TdxBarPainter base;
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  auto* item = new TdxBarWindowItem(form.get());
  item->SetText("Wave");
  auto text = [&](const TdxBarPainter& P) {
    TSurface s(80, 24, clRed);
    s.C()->CurrentBrush()->SetColor(clWhite);
    s.C()->CurrentFont()->SetColor(clBlack);
    P.DrawComboListItemDefault(item, s.C(), TRect(0, 0, 80, 24), -1);
    EXPECT_EQ(s.Count(TRect(0, 0, 80, 24), clRed), 0) << "the whole entry is filled";
    return s.Bounds(clWhite, true);
  };
  TRect inBase = text(base), inFlat = text(flat);
  ASSERT_FALSE(inBase.IsEmpty());
  EXPECT_EQ(inFlat, inBase.Offset(0, 2));
}

TEST_F(TBarFixture, AButtonAndTheMenuItOpenedShareOneOutline) {
  Manager->SetStyle(bmsFlat);
  Manager->MenuAnimations = maNone;
  Form->SetBounds(0, 0, 400, 300);
  Form->Show();
  auto* owner = NewItem<TdxBarSubItem>("bar");
  auto* effects = NewItem<TdxBarSubItem>("&Effects");
  owner->ItemLinks()->AddLinkForItem(NewItem<TdxBarButton>("&Open"));
  TdxBarItemLink* link = owner->ItemLinks()->AddLinkForItem(effects);
  effects->ItemLinks()->AddLinkForItem(NewItem<TdxBarButton>("&Echo"));
  effects->ItemLinks()->AddLinkForItem(NewItem<TdxBarButton>("&Reverb"));
  TTestBarControl bar(Manager, owner->ItemLinks());
  bar.ShowAt(40, 40, 200, 24);
  const TRect r = link->ItemRect();
  ASSERT_FALSE(r.IsEmpty());
  const TPoint centre((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  SendMessage(bar.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(centre.X, centre.Y));
  auto* control = dynamic_cast<TdxBarSubItemControl*>(link->Control());
  ASSERT_NE(control, nullptr);
  // Pressed as the mouse presses a menu title: the bar is down and the item opens its menu.
  bar.SetDowned(true);
  control->DoClick(false, false);
  Application->ProcessMessages();
  auto* menu = dynamic_cast<TCustomdxBarControl*>(effects->ItemLinks()->BarControl());
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(IsWindowVisible(menu->Handle()));
  RedrawWindow(bar.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RedrawWindow(menu->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  Application->ProcessMessages();

  const TPoint barOrigin = bar.ClientOrigin();
  EXPECT_EQ(menu->Top(), barOrigin.Y + r.Bottom) << "the menu opens right under the button";
  EXPECT_EQ(menu->Left(), barOrigin.X + r.Left);
  QImage* button = GetWindowBackBuffer(bar.Handle());
  QImage* popup = GetWindowBackBuffer(menu->Handle());
  ASSERT_TRUE(button && popup);
  auto pixel = [](QImage* Image, int X, int Y) { return Image->pixel(X, Y) & 0xFFFFFF; };
  const uint32_t frame = Rgb(BrushColor(Manager->FlatFrameBrush()));
  const uint32_t face = Rgb(BrushColor(Manager->FlatFaceBrush()));
  // Top, left and right sides of the button are the frame; its bottom row is open to the menu
  // except for its two end pixels.
  for (int x = r.Left; x < r.Right; ++x) EXPECT_EQ(pixel(button, x, r.Top), frame) << x;
  for (int y = r.Top; y < r.Bottom; ++y) {
    EXPECT_EQ(pixel(button, r.Left, y), frame) << y;
    EXPECT_EQ(pixel(button, r.Right - 1, y), frame) << y;
  }
  for (int x = r.Left + 1; x < r.Right - 1; ++x) EXPECT_EQ(pixel(button, x, r.Bottom - 1), face) << x;
  // The menu's own frame closes the outline below.
  for (int x = 0; x < r.Width(); ++x) EXPECT_EQ(pixel(popup, x, 0), frame) << x;
  CloseActiveMenusOf(Manager);
  Application->ProcessMessages();
}

namespace {
struct TDockedBar : TCustomdxBarControl {
  TdxBarDockingStyle DockingStyle() const override { return dsTop; }
  TRect ClientBounds() const override { return TRect(0, 0, 60, 24); }
};
}  // namespace

TEST(Office11Painter, DockedToolbarBorderIsRoundedWithAnEdgeLineBelow) {
  Office11ColorsAddRef();
  {
    TdxBarOffice11Painter p;
    TDockedBar bar;
    TSurface s(60, 24, clRed);
    p.DrawDockedBorder(&bar, s.C()->CurrentDC(), TRect(0, 0, 60, 24));
    const uint32_t dock = Rgb(dxBarOffice11::DockColor1()), edge = Rgb(dxBarOffice11::BarEdgeColor()),
                   border = Rgb(dxBarOffice11::BarBorderColor());
    // The leading two columns and the top row belong to the dock site.
    for (int y = 0; y < 24; ++y) {
      EXPECT_EQ(s.At(0, y), dock) << y;
      EXPECT_EQ(s.At(1, y), dock) << y;
    }
    for (int x = 2; x < 60; ++x) EXPECT_EQ(s.At(x, 0), dock) << x;
    // The rounded corners show the dock site too.
    for (TPoint c : {TPoint(2, 1), TPoint(59, 1), TPoint(2, 23), TPoint(59, 23)})
      EXPECT_EQ(s.At(c.X, c.Y), dock) << c.X << "," << c.Y;
    // The bottom edge line and the border pixel inside the lower right corner.
    for (int x = 4; x < 58; ++x) EXPECT_EQ(s.At(x, 23), edge) << x;
    EXPECT_EQ(s.At(58, 22), border);
  }
  Office11ColorsRelease();
}
