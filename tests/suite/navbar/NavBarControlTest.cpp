// The control itself: its scroll bar's parameters, batched updates, and the group image placed
// in a caption by a view that shows group images.
#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/ImgList.h"
#include "suite/navbar/NavBarTestSupport.h"
#include "suite/navbar/dxNavBarBaseViews.h"

using namespace navbar_test;

TEST(NavBarControl, ScrollParametersClampThePositionAndRefuseABadRange) {
  TNavBarScene s;
  TdxNavBarScrollBar* sb = s.Bar->ScrollBar();
  sb->SetScrollParams(0, 100, false, 30, 95);
  EXPECT_EQ(sb->Position(), 70);
  EXPECT_EQ(sb->LargeChange(), 30);
  sb->SetScrollParams(10, 100, false, 30, 2);
  EXPECT_EQ(sb->Position(), 10);
  EXPECT_THROW(sb->SetScrollParams(0, 20, false, 30, 0), EInvalidOperation);
  EXPECT_THROW(sb->SetScrollParams(50, 20, false, 0, 0), EInvalidOperation);
  EXPECT_EQ(sb->Max(), 100) << "a refused range changes nothing";
  // Scrolling by a line moves by the small change and tells the listener the unclamped value.
  int told = -1;
  sb->OnScroll = [&](TObject*, TScrollCode, int& Pos) { told = Pos; };
  sb->SetSmallChange(7);
  int pos = 0;
  sb->Scroll(scLineDown, pos);
  EXPECT_EQ(sb->Position(), 17);
  EXPECT_EQ(told, 17);
  sb->Scroll(scBottom, pos);
  EXPECT_EQ(sb->Position(), 70);
  EXPECT_EQ(told, 100);
}

TEST(NavBarControl, NestedUpdatesRebuildOnceAtTheEnd) {
  TNavBarScene s;
  s.Shot();
  TdxNavBarPainter* p = s.Bar->Painter();
  int rebuilds = p->RebuildCount();
  s.Bar->BeginUpdate();
  s.Bar->BeginUpdate();
  s.AddGroupWithLinks("A", {"a1", "a2"});
  s.AddGroupWithLinks("B", {"b1"});
  s.Shot();
  s.Bar->EndUpdate();
  s.Shot();
  EXPECT_EQ(p->RebuildCount(), rebuilds) << "nothing is laid out while updates are held";
  s.Bar->EndUpdate();
  s.Shot();
  EXPECT_EQ(p->RebuildCount(), rebuilds + 1);
  EXPECT_EQ(s.Bar->ViewInfo()->GroupCount(), 2);
}

namespace {
// The base view with group images in the captions.
class TImageViewInfo : public TdxNavBarBaseViewInfo {
 public:
  using TdxNavBarBaseViewInfo::TdxNavBarBaseViewInfo;
  bool CanShowGroupImages() override { return true; }
};
class TImagePainter : public TdxNavBarBasePainter {
 public:
  using TdxNavBarBasePainter::TdxNavBarBasePainter;
  TdxNavBarViewInfo* CreateViewInfo() override { return new TImageViewInfo(this); }
};
}  // namespace

TEST(NavBarControl, GroupImageThatFitsIsCentredByItsHeight) {
  TNavBarScene s;
  TdxNavBarGroup* g = s.AddGroup("Files");
  auto* painter = new TImagePainter(s.Bar);
  painter->Initialize();
  s.Bar->SetViewStyle(painter);
  // Wide, short images: a width taken for the height would push the image out of the caption.
  auto* images = new TCustomImageList(s.Form.get());
  images->SetSize(32, 8);
  s.Bar->SetSmallImages(images);
  TdxNavBarGroupViewInfo* e = s.Layout()->FindGroupViewInfo(g);
  ASSERT_EQ(e->ImageRect.Height(), 8);
  EXPECT_EQ(e->ImageRect.Width(), 32);
  int imageMiddle = (e->ImageRect.Top + e->ImageRect.Bottom) / 2;
  int captionMiddle = (e->CaptionRect.Top + e->CaptionRect.Bottom) / 2;
  EXPECT_LE(std::abs(imageMiddle - captionMiddle), 1);
  EXPECT_GE(e->ImageRect.Top, e->CaptionRect.Top);
  EXPECT_LE(e->ImageRect.Bottom, e->CaptionRect.Bottom);
  EXPECT_EQ(e->CaptionTextRect.Left, e->ImageRect.Right + 4);
  // An image taller than the caption moves the caption band down instead.
  images->SetSize(16, 40);
  e = s.Layout()->FindGroupViewInfo(g);
  EXPECT_EQ(e->ImageRect.Top, 0);
  EXPECT_EQ(e->CaptionRect.Bottom, 40);
  EXPECT_GT(e->CaptionRect.Top, 0);
}
