// The explorer-bar views: when the scroll bar shows, free space for rest-space and bottom groups,
// the gap at two screen resolutions, colours of view 10 against the user's, the tinted sign read
// back as pixels, and the last expanded group scrolled into view.
#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "platform/win/Gdi.h"
#include "suite/core/VisualStyleState.h"
#include "suite/core/dxCore.h"
#include "suite/core/dxOffice11.h"
#include "suite/navbar/NavBarTestSupport.h"
#include "suite/navbar/dxNavBarExplorerViews.h"
#include "suite/navbar/dxNavBarGraphics.h"

using namespace navbar_test;

namespace {

QColor Rgb(TColor C) {
  TColor c = ColorToRGB(C);
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

int CaptionHeight(TdxNavBarGroupViewInfo* G) { return 12 + dxNavBarTextHeight(G->GetCaptionFont()); }

// Reports Ppi pixels per inch while it lives.
struct TScreenPpi {
  explicit TScreenPpi(int Ppi) { SetScreenLogPixels(Ppi); }
  ~TScreenPpi() { SetScreenLogPixels(96); }
};

}  // namespace

TEST(NavBarExplorerViews, ScrollBarShowsOnlyWhenTheGroupsOverflow) {
  struct Case {
    const char* Name;
    int Width;
    bool Group;
    int Extra;  // the content's height less the client's
    bool Shown;
  };
  const Case cases[] = {
      {"no visible group", 160, false, 0, false},
      {"content as high as the client", 160, true, 0, false},
      {"one pixel more", 160, true, 1, true},
      {"no wider than a scroll bar", 17, true, 1, false},
  };
  for (int view : {dxNavBarExplorerBarView, dxNavBarAdvExplorerBarView})
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.Name) + " in view " + std::to_string(view));
      TNavBarScene s(c.Width, 300);
      s.Bar->SetView(view);
      TdxNavBarGroup* g = s.AddGroupWithLinks("Files", {"Open"});
      g->SetVisible(c.Group);
      int clientHeight = 0;
      s.Bar->OnCalcGroupClientHeight = [&](TObject*, TdxNavBarGroupViewInfo* Info, int& Height) {
        // Origin 12 above the group, 12 below the content.
        Height = 300 - 24 - CaptionHeight(Info) + c.Extra;
        clientHeight = Height;
      };
      TdxNavBarViewInfo* vi = s.Layout();
      TdxNavBarScrollBar* sb = s.Bar->ScrollBar();
      EXPECT_EQ(sb->Visible(), c.Shown);
      EXPECT_EQ(s.Bar->ClientWidth(), c.Shown ? c.Width - 17 : c.Width);
      if (c.Shown) {
        // Page = round(300 * 300 / 301) = 299; the range covers the one hidden pixel.
        EXPECT_EQ(sb->PageSize(), 299);
        EXPECT_EQ(sb->Max(), 300);
        EXPECT_EQ(sb->SmallChange(), view == dxNavBarAdvExplorerBarView ? 22 : 18);
        ASSERT_EQ(vi->GroupCount(), 1);
        EXPECT_EQ(vi->GroupAt(0)->Rect.Width(), c.Width - 17 - 24) << "laid out again for the narrower client";
        // Scrolled to the end the group moves up by the hidden pixel.
        int pos = 1;
        sb->Scroll(scPosition, pos);
        EXPECT_EQ(s.Layout()->GroupAt(0)->Rect.Top, 11);
      } else if (c.Group && c.Width > 17) {
        EXPECT_EQ(vi->GroupAt(0)->Rect.Bottom, 300 - 12);
        EXPECT_GT(clientHeight, 0);
      }
      s.Shot();
    }
}

TEST(NavBarExplorerViews, FreeSpaceGoesToTheRestGroupOrBelowTheBottomGroups) {
  for (bool rest : {false, true}) {
    SCOPED_TRACE(rest ? "with a rest-space group" : "without");
    TNavBarScene s(160, 400);
    s.Bar->SetView(dxNavBarExplorerBarView);
    // The bottom group comes first in the collection yet is laid out after the others.
    TdxNavBarGroup* bottom = s.AddGroupWithLinks("Bottom", {"b"});
    bottom->SetAlign(TcxTopBottom::vaBottom);
    TdxNavBarGroup* a = s.AddGroupWithLinks("A", {"a1", "a2"});
    TdxNavBarGroup* b = s.AddGroupWithLinks("B", {"b1"});
    b->SetExpanded(false);
    a->SetUseRestSpace(rest);
    s.Bar->Groups()->SetLastExpandedGroup(nullptr);
    TdxNavBarViewInfo* vi = s.Layout();
    ASSERT_EQ(vi->GroupCount(), 3);
    EXPECT_EQ(vi->GroupAt(0)->Group(), a);
    EXPECT_EQ(vi->GroupAt(2)->Group(), bottom);
    TdxNavBarGroupViewInfo *ea = vi->GroupAt(0), *eb = vi->GroupAt(1), *eBottom = vi->GroupAt(2);
    int gap = vi->GetGroupSpacing();
    EXPECT_EQ(gap, 15);
    EXPECT_EQ(eBottom->Rect.Bottom, 400 - 12) << "the bottom group keeps to the bottom edge";
    EXPECT_FALSE(s.Bar->ScrollBar()->Visible());
    if (rest) {
      // A takes the room; B follows it down and sits right above the bottom group.
      EXPECT_EQ(eb->Rect.Bottom + gap, eBottom->Rect.Top);
      EXPECT_EQ(ea->Rect.Bottom + gap, eb->Rect.Top);
      EXPECT_EQ(ea->ItemsRect.Bottom, ea->Rect.Bottom);
      EXPECT_GT(ea->Rect.Height(), 200);
    } else {
      EXPECT_EQ(ea->Rect.Top, 12);
      EXPECT_EQ(ea->Rect.Bottom + gap, eb->Rect.Top);
      EXPECT_GT(eBottom->Rect.Top - eb->Rect.Bottom, gap) << "the free space lies above the bottom group";
    }
    // A collapsed rest-space group takes nothing: the free space goes back above the bottom group.
    a->SetExpanded(false);
    vi = s.Layout();
    EXPECT_EQ(vi->GroupAt(0)->Rect.Bottom + gap, vi->GroupAt(1)->Rect.Top);
    EXPECT_EQ(vi->GroupAt(2)->Rect.Bottom, 400 - 12);
  }
}

TEST(NavBarExplorerViews, GapFollowsTheScreenResolution) {
  struct Case {
    int Ppi, Space, Gap, Origin;
  };
  // 15 x 1.25 = 18.75 rounds to 19; a space of the user's own wins at any resolution.
  for (const Case& c : {Case{96, 0, 15, 12}, Case{120, 0, 19, 15}, Case{120, 7, 7, 15}, Case{72, 0, 15, 12}}) {
    SCOPED_TRACE(c.Ppi);
    TScreenPpi ppi(c.Ppi);
    TNavBarScene s(160, 300);
    s.Bar->SetView(dxNavBarUltraFlatExplorerView);
    s.Bar->SetSpaceBetweenGroups(c.Space);
    s.AddGroupWithLinks("A", {"a"});
    s.AddGroupWithLinks("B", {"b"});
    TdxNavBarViewInfo* vi = s.Layout();
    ASSERT_EQ(vi->GroupCount(), 2);
    EXPECT_EQ(vi->GroupAt(1)->Rect.Top - vi->GroupAt(0)->Rect.Bottom, c.Gap);
    EXPECT_EQ(vi->GroupAt(0)->Rect.Left, c.Origin);
    EXPECT_EQ(vi->GroupAt(0)->Rect.Top, c.Origin);
  }
}

TEST(NavBarExplorerViews, UserColoursBeatTheColourSet) {
  TVisualStylesOn on;
  SetVisualStyleColorName("NormalColor");
  TNavBarScene s(200, 300);
  s.Bar->SetView(dxNavBarAdvExplorerBarView);
  TdxNavBarGroup* special = s.AddGroupWithLinks("Special", {"s"});
  TdxNavBarGroup* normal = s.AddGroupWithLinks("Normal", {"n"});
  s.Bar->SetActiveGroup(special);
  s.Bar->SetShowSpecialGroup(true);
  const TdxNavBarAdvExplorerBarResources& set = AdvExplorerBarResources();
  auto* vi = static_cast<TdxNavBarAdvExplorerBarViewInfo*>(s.Layout());
  auto entry = [&](TdxNavBarGroup* g) { return static_cast<TdxNavBarAdvExplorerBarGroupViewInfo*>(vi->FindGroupViewInfo(g)); };
  ASSERT_TRUE(entry(special)->GetState() & sSpecial);
  EXPECT_EQ(entry(special)->GetCaptionBackColor(), set.SpecialCaptionBackColor);
  EXPECT_EQ(entry(special)->GetCaptionBackColor2(), set.SpecialCaptionBackColor2);
  EXPECT_EQ(entry(special)->GetCaptionFontColor(), set.SpecialCaptionTextColor);
  EXPECT_EQ(entry(normal)->GetCaptionBackColor(), set.CaptionBackColor);
  EXPECT_EQ(entry(normal)->GetCaptionBackColor2(), set.CaptionBackColor2);
  EXPECT_EQ(entry(normal)->GetBackgroundBackColor(), set.GroupBackColor);
  EXPECT_EQ(entry(normal)->GetSignColor(), set.SignColor);
  EXPECT_EQ(vi->GetBackgroundBackColor(), set.BackColor);
  EXPECT_EQ(vi->GetBackgroundGradientMode(), gmVertical);
  EXPECT_EQ(entry(normal)->LinkAt(0)->GetFontColor(), set.LinkColor);
  EXPECT_EQ(entry(normal)->LinkAt(0)->GetFocusFrameColor(), entry(normal)->GetBorderColor());
  QImage before = s.Shot();
  EXPECT_EQ(before.pixelColor(2, 2), Rgb(set.BackColor)) << "the bar's background from the set";

  // The user's colours win over the set: caption, caption text, background, links.
  TdxNavBarStyleItem* header = s.Bar->OptionsStyle()->CustomStyleRepository()->Add();
  header->Style()->SetBackColor(0x2040A0);
  header->Style()->SetBackColor2(0x2040A0);
  header->Style()->Font()->SetColor(0x00FF00);
  normal->SetStyleHeader(header);
  s.Bar->DefaultStyles()->Background()->SetBackColor(0x123456);
  s.Bar->DefaultStyles()->Background()->SetBackColor2(0x123456);
  s.Bar->DefaultStyles()->Item()->Font()->SetColor(0x0000C0);
  vi = static_cast<TdxNavBarAdvExplorerBarViewInfo*>(s.Layout());
  EXPECT_EQ(entry(normal)->GetCaptionBackColor(), 0x2040A0);
  EXPECT_EQ(entry(normal)->GetCaptionFontColor(), 0x00FF00);
  EXPECT_EQ(entry(normal)->GetSignColor(), 0x00FF00) << "the sign takes the user's caption text colour";
  EXPECT_EQ(entry(normal)->GetBorderColor(), 0x2040A0);
  EXPECT_EQ(entry(special)->GetCaptionBackColor(), set.SpecialCaptionBackColor) << "the other group keeps the set";
  EXPECT_EQ(vi->GetBackgroundBackColor(), 0x123456);
  EXPECT_EQ(entry(normal)->LinkAt(0)->GetFontColor(), 0x0000C0);
  QImage after = s.Shot();
  EXPECT_EQ(after.pixelColor(2, 2), Rgb(0x123456));
  TRect caption = entry(normal)->CaptionRect;
  EXPECT_EQ(after.pixelColor(caption.Left + 3, caption.Bottom - 2), Rgb(0x2040A0));
  // The caption's two top corners stay out of the caption.
  EXPECT_EQ(after.pixelColor(caption.Left, caption.Top), Rgb(0x123456));
  EXPECT_EQ(after.pixelColor(caption.Right - 1, caption.Top + 1), Rgb(0x123456));
}

TEST(NavBarExplorerViews, StateColoursResolveDisabledAndHot) {
  struct Case {
    TdxNavBarObjectStates State;
    TColor Expected;
  };
  const TColor normal = 0x604020, hot = 0x0080FF;
  for (const Case& c : {Case{0, normal}, Case{sHotTracked, hot}, Case{sPressed, hot}, Case{sSelected, hot},
                        Case{sDisabled | sHotTracked, LightenColorByPercent(normal, 40)}, Case{sExpanded, normal}})
    EXPECT_EQ(dxNavBarResolveStateColor(normal, hot, c.State), c.Expected) << int(c.State);
}

TEST(NavBarExplorerViews, AdvancedSignTintsTheBlueGlyphAndKeepsWhite) {
  TNavBarScene s(200, 300);
  s.Bar->SetView(dxNavBarAdvExplorerBarView);
  TdxNavBarGroup* g = s.AddGroupWithLinks("Files", {"Open"});
  for (bool expanded : {true, false}) {
    SCOPED_TRACE(expanded ? "expanded" : "collapsed");
    g->SetExpanded(expanded);
    TdxNavBarGroupViewInfo* e = s.Layout()->FindGroupViewInfo(g);
    QImage shot = s.Shot();
    const TdxNavBarAdvExplorerBarResources& set = AdvExplorerBarResources();
    TBitmap* sign = expanded ? set.CollapseSignBitmap.get() : set.ExpandSignBitmap.get();
    ASSERT_TRUE(sign);
    std::vector<uint32_t> px;
    ASSERT_TRUE(ReadBitmapColors(sign, px, true));
    const uint32_t key = px[0] & 0xFFFFFF;
    const QColor signColor = Rgb(e->GetSignColor());
    int blue = 0, white = 0, key_ = 0;
    for (int y = 0; y < sign->Height(); ++y)
      for (int x = 0; x < sign->Width(); ++x) {
        uint32_t p = px[size_t(y * sign->Width() + x)] & 0xFFFFFF;
        QColor got = shot.pixelColor(e->SignRect.Left + x, e->SignRect.Top + y);
        if (p == key) {
          ++key_;
          ASSERT_NE(got, QColor(0, 0, 0)) << "the key colour lets the caption through";
        } else if (p == 0x0000FF) {
          ++blue;
          ASSERT_EQ(got, signColor) << x << "," << y;
        } else if (p == 0xFFFFFF) {
          ++white;
          ASSERT_EQ(got, QColor(255, 255, 255)) << x << "," << y;
        }
      }
    EXPECT_GT(blue, 10);
    EXPECT_GT(white, 10);
    EXPECT_GT(key_, 10);
  }
}

TEST(NavBarExplorerViews, LastExpandedGroupIsScrolledIntoView) {
  TNavBarScene s(160, 200);
  s.Bar->SetView(dxNavBarExplorerBarView);
  std::vector<TdxNavBarGroup*> groups;
  for (int i = 0; i < 4; ++i)
    groups.push_back(s.AddGroupWithLinks("G" + std::to_string(i), {"one", "two", "three"}));
  TdxNavBarGroup* last = groups.back();
  last->SetExpanded(false);
  s.Bar->Groups()->SetLastExpandedGroup(nullptr);
  TdxNavBarViewInfo* vi = s.Layout();
  ASSERT_TRUE(s.Bar->ScrollBar()->Visible());
  EXPECT_EQ(s.Bar->ScrollPosition(), 0);
  int half = vi->GetGroupSpacing() / 2;
  last->SetExpanded(true);
  EXPECT_EQ(s.Bar->Groups()->LastExpandedGroup(), last);
  vi = s.Layout();
  TdxNavBarGroupViewInfo* e = vi->FindGroupViewInfo(last);
  EXPECT_GT(s.Bar->ScrollPosition(), 0);
  EXPECT_EQ(e->Rect.Bottom + half, vi->ClientHeight()) << "the group's bottom and half a gap show";
  EXPECT_EQ(s.Bar->Groups()->LastExpandedGroup(), nullptr) << "the note is used once";
  // Expanding the first group again brings its top back, half a gap below the edge.
  groups[0]->SetExpanded(false);
  s.Layout();
  groups[0]->SetExpanded(true);
  vi = s.Layout();
  EXPECT_EQ(vi->FindGroupViewInfo(groups[0])->Rect.Top, half);
}

TEST(NavBarExplorerViews, CaptionClickTogglesTheGroup) {
  TNavBarScene s(160, 300);
  s.Bar->SetView(dxNavBarExplorerBarView);
  TdxNavBarGroup* g = s.AddGroupWithLinks("Files", {"Open", "Save"});
  TdxNavBarGroup* fixed = s.AddGroupWithLinks("Fixed", {"Keep"});
  fixed->SetExpandable(false);
  for (TdxNavBarGroup* group : {g, fixed}) {
    bool before = group->Expanded();
    s.Bar->DoGroupMouseUp(group);
    EXPECT_EQ(group->Expanded(), group == g ? !before : before) << group->Caption();
    TdxNavBarGroupViewInfo* e = s.Layout()->FindGroupViewInfo(group);
    EXPECT_EQ(e->LinkCount(), group->Expanded() ? group->LinkCount() : 0);
  }
}

TEST(NavBarExplorerViews, SizingBandResizesTheGroupControl) {
  struct Case {
    bool Bottom;  // the group sits at the bottom and follows the free space
    int Drag;     // vertical travel from the band's middle
    int Height;   // the control's height afterwards
  };
  for (const Case& c : {Case{false, 20, 80}, Case{true, -20, 80}, Case{true, 70, 60}}) {
    SCOPED_TRACE(std::to_string(c.Bottom) + " " + std::to_string(c.Drag));
    TNavBarScene s(160, 400);
    s.Bar->SetView(dxNavBarExplorerBarView);
    s.AddGroupWithLinks("Top", {"t"});
    TdxNavBarGroup* g = s.AddGroup("Sized");
    if (c.Bottom) g->SetAlign(TcxTopBottom::vaBottom);
    g->SetUseControl(true);
    g->OptionsGroupControl()->SetAllowControlResizing(true);
    g->Control()->SetOriginalHeight(60);
    s.Bar->Groups()->SetLastExpandedGroup(nullptr);
    auto* vi = static_cast<TdxNavBarExplorerBarViewInfo*>(s.Layout());
    auto* e = static_cast<TdxNavBarExplorerBarGroupViewInfo*>(vi->FindGroupViewInfo(g));
    ASSERT_FALSE(e->SizingBand.IsEmpty());
    EXPECT_EQ(e->SizingBand.Height(), 3);
    EXPECT_EQ(c.Bottom ? e->SizingBand.Bottom : e->SizingBand.Top, c.Bottom ? e->Rect.Top : e->Rect.Bottom)
        << "above a bottom group, below a top one";
    TPoint p((e->SizingBand.Left + e->SizingBand.Right) / 2, e->SizingBand.Top + 1);
    EXPECT_EQ(vi->GroupAtSizingBand(p), e);
    EXPECT_EQ(s.Bar->Controller()->GetPartAtPos(p).MajorIndex, 3);
    suitetest::MouseEvent(s.Bar, QEvent::MouseButtonPress, p);
    suitetest::Drag(s.Bar, TPoint(p.X, p.Y + c.Drag));
    suitetest::MouseEvent(s.Bar, QEvent::MouseButtonRelease, TPoint(p.X, p.Y + c.Drag));
    EXPECT_EQ(g->Control()->OriginalHeight(), c.Height);
    EXPECT_EQ(s.Bar->Controller()->PressedPart(), dxNavBarPartNone);
  }
}
