// Container styles: values resolved through the style, its controller and the defaults; shared
// values kept on the base style; change notices only for real changes; controller cycles refused.
#include <gtest/gtest.h>

#include <memory>

#include "suite/core/cxContainer.h"

namespace {

struct TStyles {
  std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>(nullptr);
  TcxContainerStyles Styles{Owner.get()};
  TcxContainerStyle* Base() { return Styles.StyleNormal(); }
  TcxContainerStyle* Hot() { return Styles.GetStyle(1); }
};

TEST(ContainerStyle, StateStylesFollowTheBaseStyle) {
  struct TCase {
    TcxContainerBorderStyle Base;
    bool HotTrack;
    int State;
    TcxContainerBorderStyle Expected;
  } cases[] = {
      {cbsSingle, true, 1, cbsThick}, {cbsNone, true, 3, cbsFlat}, {cbsFlat, true, 1, cbs3D},
      {cbs3D, true, 1, cbs3D},        {cbsSingle, false, 1, cbsSingle}, {cbsSingle, true, 2, cbsSingle},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.Base) << " hot " << c.HotTrack << " state " << c.State);
    TStyles s;
    s.Base()->SetBorderStyle(c.Base);
    s.Base()->SetHotTrack(c.HotTrack);
    EXPECT_EQ(s.Styles.GetStyle(c.State)->BorderStyle(), c.Expected);
  }
  TStyles s;
  s.Base()->SetColor(clYellow);
  EXPECT_EQ(s.Hot()->Color(), clYellow);
  EXPECT_EQ(s.Styles.GetStyle(2)->BorderColor(), clBtnShadow);
  EXPECT_EQ(s.Styles.GetStyle(2)->TextColor(), clBtnShadow);
  s.Hot()->SetColor(clRed);
  EXPECT_EQ(s.Hot()->Color(), clRed);
  EXPECT_EQ(s.Base()->Color(), clYellow);

  // Shared values live on the base style.
  s.Hot()->SetEdges(TcxBorders{bLeft, bTop});
  EXPECT_EQ(s.Base()->Edges(), (TcxBorders{bLeft, bTop}));
  EXPECT_TRUE(s.Base()->AssignedValues().Contains(csvEdges));
  EXPECT_FALSE(s.Hot()->AssignedValues().Contains(csvEdges));
  EXPECT_FALSE(s.Hot()->IsExtendedStylePropertyPublished("Font"));
  EXPECT_TRUE(s.Hot()->IsExtendedStylePropertyPublished("Color"));
  EXPECT_TRUE(s.Base()->IsExtendedStylePropertyPublished("Font"));
}

TEST(ContainerStyle, OneChangeNoticePerRealChange) {
  TStyles s;
  int changes = 0;
  s.Styles.SetOnChanged([&](TObject*) { ++changes; });
  s.Base()->SetBorderColor(clRed);
  s.Base()->SetBorderColor(clRed);
  EXPECT_EQ(changes, 1);
  s.Base()->SetBorderColor(clBlue);
  EXPECT_EQ(changes, 2);
  s.Base()->BeginUpdate();
  s.Base()->SetColor(clGreen);
  s.Base()->SetShadow(true);
  EXPECT_EQ(changes, 2);
  s.Base()->EndUpdate();
  EXPECT_EQ(changes, 3);
  s.Base()->Font()->SetSize(14);
  EXPECT_EQ(changes, 4);
  EXPECT_TRUE(s.Base()->AssignedValues().Contains(csvFont));
}

TEST(ContainerStyle, ControllersServeUnassignedValuesAndRefuseCycles) {
  TComponent owner(nullptr);
  auto* a = new TcxStyleController(&owner);
  auto* b = new TcxStyleController(&owner);
  TStyles s;
  a->Style()->SetColor(clAqua);
  a->Styles()->GetStyle(1)->SetBorderColor(clFuchsia);
  s.Hot()->SetStyleController(a);
  EXPECT_EQ(s.Base()->StyleController(), a);
  EXPECT_EQ(a->ListenerCount(), 1);
  EXPECT_EQ(s.Base()->Color(), clAqua);
  EXPECT_EQ(s.Hot()->BorderColor(), clFuchsia);
  s.Base()->SetColor(clLime);
  EXPECT_EQ(s.Base()->Color(), clLime);

  int changes = 0;
  s.Styles.SetOnChanged([&](TObject*) { ++changes; });
  a->Style()->SetTextColor(clMaroon);
  EXPECT_EQ(changes, 1);  // the controller tells its listeners

  // Its own normal style, or a chain leading back, is refused.
  a->Style()->SetStyleController(a);
  EXPECT_EQ(a->Style()->StyleController(), nullptr);
  b->Style()->SetStyleController(a);
  a->Style()->SetStyleController(b);
  EXPECT_EQ(a->Style()->StyleController(), nullptr);
  EXPECT_EQ(b->Style()->StyleController(), a);

  delete a;
  EXPECT_EQ(s.Base()->StyleController(), nullptr);
  EXPECT_EQ(b->Style()->StyleController(), nullptr);
}

}  // namespace
