// The layout of the base view: rectangles of a fixture bar, hit tests, drop positions, an idle
// pass that changes nothing, the software gradient, and what views 0 and 1 draw.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <string>

#include "common/TestEnv.h"
#include "platform/gui/ActnList.h"
#include "suite/navbar/NavBarTestSupport.h"
#include "suite/navbar/dxNavBarBaseViews.h"

using namespace navbar_test;

namespace {

// Groups A (three links), B (one link) and C (none) in a 160 x 300 bar; A is active.
struct TFixture : TNavBarScene {
  TdxNavBarGroup *A, *B, *C;
  TFixture() : TNavBarScene(160, 300) {
    A = AddGroupWithLinks("Files", {"Open", "Save", "Close"});
    B = AddGroupWithLinks("Edit", {"Cut"});
    C = AddGroup("Tools");
    Bar->SetActiveGroup(A);
  }
  int CaptionHeight() { return 6 + dxNavBarTextHeight(Bar->DefaultStyles()->GroupHeader()->Font()); }
  int LinkHeight() { return std::max(16, dxNavBarTextHeight(Bar->DefaultStyles()->Item()->Font()) + 4) + 6; }
  TPoint Mid(const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }
};

QColor Rgb(TColor C) {
  TColor c = ColorToRGB(C);
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

}  // namespace

TEST(NavBarLayout, BaseViewRectanglesOfAFixture) {
  TFixture f;
  TdxNavBarViewInfo* vi = f.Layout();
  ASSERT_EQ(vi->GroupCount(), 3);
  int ch = f.CaptionHeight(), lh = f.LinkHeight();
  TdxNavBarGroupViewInfo* a = vi->GroupAt(0);
  EXPECT_EQ(a->CaptionRect, TRect(0, 0, 160, ch));
  EXPECT_EQ(a->CaptionTextRect, TRect(2, 1, 158, ch - 1));
  ASSERT_EQ(a->LinkCount(), 3);
  for (int i = 0; i < 3; ++i) {
    TdxNavBarLinkViewInfo* l = a->LinkAt(i);
    int top = ch + 8 + i * lh;
    EXPECT_EQ(l->Rect, TRect(0, top, 160, top + lh)) << i;
    EXPECT_EQ(l->ImageRect, TRect(4, top + (lh - 16) / 2, 20, top + (lh - 16) / 2 + 16)) << i;
    EXPECT_EQ(l->CaptionRect.Left, 24) << i;
    EXPECT_LE(l->CaptionRect.Right, 160 - 1 - 1) << i;
  }
  // Only the active group shows links; it takes the free room and the others sit at the bottom.
  EXPECT_EQ(vi->GroupAt(1)->LinkCount(), 0);
  EXPECT_EQ(vi->GroupAt(2)->Rect, TRect(0, 300 - ch, 160, 300));
  EXPECT_EQ(vi->GroupAt(1)->Rect, TRect(0, 300 - 2 * ch, 160, 300 - ch));
  EXPECT_EQ(a->Rect, TRect(0, 0, 160, 300 - 2 * ch));
  EXPECT_EQ(a->ItemsRect, TRect(0, ch, 160, 300 - 2 * ch));
  // Nothing to scroll: no scroll buttons.
  EXPECT_TRUE(vi->TopScrollButtonRect.IsEmpty());
  EXPECT_TRUE(vi->BottomScrollButtonRect.IsEmpty());
  // Captions hidden: only the active group, its links one edge below its top.
  f.Bar->SetShowGroupCaptions(false);
  vi = f.Layout();
  ASSERT_EQ(vi->GroupCount(), 1);
  EXPECT_EQ(vi->GroupAt(0)->CaptionRect.Height(), 0);
  EXPECT_EQ(vi->GroupAt(0)->LinkAt(0)->Rect.Top, 8);
}

TEST(NavBarLayout, HitTestsOfAFixture) {
  TFixture f;
  TdxNavBarViewInfo* vi = f.Layout();
  TdxNavBarGroupViewInfo* a = vi->GroupAt(0);
  TdxNavBarLinkViewInfo* save = a->LinkAt(1);
  EXPECT_EQ(vi->GetGroupAtCaptionPos(TPoint(80, 3)), f.A);
  EXPECT_EQ(vi->GetGroupAtCaptionPos(f.Mid(save->Rect)), nullptr);
  EXPECT_EQ(vi->GetGroupAtItemsPos(f.Mid(save->Rect)), f.A);
  EXPECT_EQ(vi->GetGroupAtCaptionPos(f.Mid(vi->GroupAt(2)->CaptionRect)), f.C);
  EXPECT_EQ(vi->GetLinkAtHotPos(f.Mid(save->ImageRect)), save->Link());
  EXPECT_EQ(vi->GetLinkAtHotPos(TPoint(save->CaptionRect.Left + 1, f.Mid(save->CaptionRect).Y)), save->Link());
  // Beyond the caption text the link is not hot, though the point lies in its row.
  TPoint blank(158, f.Mid(save->Rect).Y);
  EXPECT_EQ(vi->FindLinkAtPos(blank), save->Link());
  EXPECT_EQ(vi->GetLinkAtHotPos(blank), nullptr);
  // A disabled item's link is never hot.
  save->Item()->SetEnabled(false);
  vi = f.Layout();
  EXPECT_EQ(vi->GetLinkAtHotPos(f.Mid(vi->GroupAt(0)->LinkAt(1)->ImageRect)), nullptr);
  // Accelerators.
  f.B->SetCaption("&Edit");
  vi = f.Layout();
  ASSERT_NE(vi->FindGroupByAccel('e'), nullptr);
  EXPECT_EQ(vi->FindGroupByAccel('e')->Group(), f.B);
  EXPECT_EQ(vi->FindGroupByAccel('x'), nullptr);
}

TEST(NavBarLayout, DropIndexes) {
  TFixture f;
  TdxNavBarViewInfo* vi = f.Layout();
  TdxNavBarGroupViewInfo* a = vi->GroupAt(0);
  struct Case {
    const char* Name;
    TPoint P;
    int Index, Before, After;  // link positions, -1 for none
  };
  const TRect r0 = a->LinkAt(0)->Rect, r1 = a->LinkAt(1)->Rect, r2 = a->LinkAt(2)->Rect;
  const Case cases[] = {
      {"upper half of the first", TPoint(50, r0.Top + 1), 0, -1, 0},
      {"lower half of the first", TPoint(50, r0.Bottom - 1), 1, 0, 1},
      {"upper half of the second", TPoint(50, r1.Top + 2), 1, 0, 1},
      {"lower half of the last", TPoint(50, r2.Bottom - 1), 3, 2, -1},
      {"below every link", TPoint(50, r2.Bottom + 20), 3, 2, -1},
      {"above the first link", TPoint(50, r0.Top - 2), 0, -1, 0},
      {"caption of the active group", TPoint(50, 2), 0, -1, 0},
  };
  for (const Case& c : cases) {
    TdxNavBarGroupViewInfo* g = nullptr;
    TdxNavBarLinkViewInfo *before = nullptr, *after = nullptr;
    EXPECT_EQ(vi->GetLinksAtDropPos(c.P, g, before, after), c.Index) << c.Name;
    EXPECT_EQ(g, a) << c.Name;
    EXPECT_EQ(before ? a->IndexOfLinkViewInfo(before) : -1, c.Before) << c.Name;
    EXPECT_EQ(after ? a->IndexOfLinkViewInfo(after) : -1, c.After) << c.Name;
  }
  // The caption of a group that shows no links: insert at its start.
  TdxNavBarGroupViewInfo* g = nullptr;
  TdxNavBarLinkViewInfo *before = nullptr, *after = nullptr;
  EXPECT_EQ(vi->GetLinksAtDropPos(f.Mid(vi->GroupAt(1)->CaptionRect), g, before, after), 0);
  EXPECT_EQ(g, vi->GroupAt(1));
  EXPECT_EQ(vi->GetLinksAtDropPos(TPoint(500, 500), g, before, after), -1);
}

TEST(NavBarLayout, IdlePassWithoutActionChangesNeitherLaysOutNorPaints) {
  // The base view and the command panel's view, which lays out a scroll bar as well.
  for (int view : {0, 10}) {
    SCOPED_TRACE(view);
    TFixture f;
    f.Bar->SetView(view);
    // In view 10 every group shows its links: enough of them to need the scroll bar.
    if (view == 10)
      for (int i = 0; i < 12; ++i) f.B->CreateLink(f.AddItem("More " + std::to_string(i)));
    auto* list = new TActionList(f.Form.get());
    bool enabled = true;
    for (int i = 0; i < f.A->LinkCount(); ++i) {
      auto* action = new TAction(f.Form.get());
      action->SetActionList(list);
      action->SetCaption(f.A->LinkAt(i)->Item()->Caption());
      action->OnExecute = [](TObject*) {};
      action->OnUpdate = [&enabled, action](TObject*) {
        action->SetEnabled(enabled);
        action->SetVisible(true);
      };
      f.A->LinkAt(i)->Item()->SetAction(action);
    }
    f.Shot();
    if (view == 10) EXPECT_TRUE(f.Bar->ScrollBar()->Visible());
    TdxNavBarPainter* p = f.Bar->Painter();
    int rebuilds = p->RebuildCount(), layouts = p->CalculateCount(), draws = p->DrawCount();
    for (int pass = 0; pass < 3; ++pass) {
      f.Bar->InitiateAction();
      DoActionIdle();
      f.Shot();
    }
    EXPECT_EQ(p->RebuildCount(), rebuilds);
    EXPECT_EQ(p->CalculateCount(), layouts);
    EXPECT_EQ(p->DrawCount(), draws);
    EXPECT_FALSE(p->NeedRepaint());
    // A real change goes through.
    enabled = false;
    f.Bar->InitiateAction();
    f.Shot();
    EXPECT_GT(p->DrawCount(), draws);
    EXPECT_FALSE(f.A->LinkAt(0)->Item()->Enabled());
  }
}

TEST(NavBarLayout, SoftwareGradientOfOnePixelFillsWithTheFirstColour) {
  TBitmap bmp;
  bmp.SetSize(40, 20);
  HDC dc = bmp.Canvas()->Handle();
  struct Case {
    TRect R;
    TdxBarStyleGradientMode Mode;
  };
  for (const Case& c : {Case{TRect(0, 0, 1, 20), gmHorizontal}, Case{TRect(2, 0, 3, 20), gmVertical},
                        Case{TRect(4, 5, 40, 6), gmVertical}, Case{TRect(4, 7, 40, 8), gmForwardDiagonal},
                        Case{TRect(4, 9, 40, 10), gmBackwardDiagonal}}) {
    dxNavBarFillGradientRect(dc, c.R, 0x0000FF, 0xFF0000, c.Mode);
    for (int y = c.R.Top; y < c.R.Bottom; ++y)
      for (int x = c.R.Left; x < c.R.Right; ++x) ASSERT_EQ(bmp.Canvas()->Pixel(x, y), 0x0000FF) << x << "," << y;
  }
  // A real gradient runs from the first colour to the second.
  dxNavBarFillGradientRect(dc, TRect(10, 11, 30, 20), 0x000000, 0xFFFFFF, gmHorizontal);
  EXPECT_EQ(bmp.Canvas()->Pixel(10, 15), 0x000000);
  EXPECT_EQ(bmp.Canvas()->Pixel(29, 15), 0xFFFFFF);
  TColor mid = bmp.Canvas()->Pixel(20, 15);
  EXPECT_GT(mid & 0xFF, 0x40);
  EXPECT_LT(mid & 0xFF, 0xC0);
}

TEST(NavBarLayout, ViewsZeroAndOneDrawTheFixture) {
  QImage shots[2];
  for (int view : {0, 1}) {
    TFixture f;
    f.Bar->SetView(view);
    f.Bar->DoLinkHotTrack(f.A->LinkAt(1));
    QImage shot = f.Shot();
    ASSERT_EQ(shot.width(), 160);
    TdxNavBarViewInfo* vi = f.Bar->ViewInfo();
    TdxNavBarGroupViewInfo* a = vi->GroupAt(0);
    // The empty part of the active group shows the group background; captions the button face.
    EXPECT_EQ(shot.pixelColor(80, a->ItemsRect.Bottom - 3), Rgb(clAppWorkSpace)) << view;
    EXPECT_EQ(shot.pixelColor(6, a->CaptionRect.Top + 3), Rgb(clBtnFace)) << view;
    // Caption text dark on the button face, link text light on the group background.
    auto count = [&](const TRect& r, bool Dark) {
      int n = 0;
      for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
          int v = qGray(shot.pixel(x, y));
          n += Dark ? v < 60 : v > 220;
        }
      return n;
    };
    EXPECT_GT(count(a->CaptionTextRect, true), 10) << view;
    EXPECT_GT(count(a->LinkAt(0)->CaptionRect, false), 10) << view;
    // The hot link's image area carries a raised selection frame.
    TRect sel = a->LinkAt(1)->GetSelectionRect();
    EXPECT_NE(shot.pixelColor(sel.Left, sel.Top + 4), Rgb(clAppWorkSpace)) << view;
    shots[view] = shot;
  }
  // The flat view's captions lack the base view's inner bottom frame.
  EXPECT_NE(shots[0], shots[1]);
  QImage sheet(2 * 160 + 30, 320, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter painter(&sheet);
  painter.drawImage(10, 10, shots[0]);
  painter.drawImage(180, 10, shots[1]);
  painter.end();
  EXPECT_TRUE(sheet.save(QString::fromStdString((sonalix::test::SheetDir() / "navbar-views-0-1.png").string())));
  if (const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR"))
    EXPECT_TRUE(sheet.save(QString::fromStdString(std::string(dir) + "/navbar-views-0-1.png")));
}
