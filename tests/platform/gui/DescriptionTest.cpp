// Controls read from and written to stored descriptions through their published properties.
#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/Controls.h"
#include "platform/rtl/Streaming.h"

namespace {

class TDescribedRoot : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int Clicks = 0;
  void RootClick(TObject*) { ++Clicks; }
};

void RegisterRoot() {
  static bool done = [] {
    RegisterControlClasses();
    RegisterClass<TDescribedRoot, TCustomControl>();
    Published<TDescribedRoot>().Method("RootClick", &TDescribedRoot::RootClick);
    return true;
  }();
  (void)done;
}

TEST(Descriptions, ControlsComeFromTextWithParentsAndNamedValues) {
  RegisterRoot();
  const std::string text = R"(object Root: TDescribedRoot {
  Left = 0
  Top = 0
  Width = 200
  Height = 100
  Color = clBtnFace
  Font {
    Height = -13
    Name = "DejaVu Sans"
  }
  OnClick = RootClick
  object Top1: TCustomControl {
    Left = 5
    Top = 6
    Width = 50
    Height = 20
    Align = alTop
    Cursor = crHandPoint
    TabStop = true
  }
  object Shape1: TGraphicControl {
    Left = 10
    Top = 30
    Width = 8
    Height = 8
    Color = $00123456
  }
}
)";
  auto root = std::make_unique<TDescribedRoot>(nullptr);
  ReadComponentFromText(root.get(), text);
  auto* top = dynamic_cast<TCustomControl*>(root->FindComponent("Top1"));
  auto* shape = dynamic_cast<TGraphicControl*>(root->FindComponent("Shape1"));
  ASSERT_TRUE(top && shape);
  EXPECT_EQ(top->Parent(), root.get());
  EXPECT_EQ(shape->Parent(), root.get());
  EXPECT_EQ(root->Color(), clBtnFace);
  EXPECT_EQ(top->Cursor(), crHandPoint);
  EXPECT_TRUE(top->TabStop());
  // Aligned to the top across the whole client width.
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 20));
  // Children that follow their parent's font and colour took them.
  EXPECT_EQ(top->Font()->Name(), "DejaVu Sans");
  EXPECT_TRUE(top->ParentFont());
  EXPECT_EQ(top->Color(), clBtnFace);
  EXPECT_EQ(shape->Color(), TColor(0x123456));
  EXPECT_FALSE(shape->ParentColor());
  root->OnClick(root.get());
  EXPECT_EQ(root->Clicks, 1);
  std::string written = WriteComponentToText(root.get());
  EXPECT_NE(written.find("Color = clBtnFace"), std::string::npos) << written;
  EXPECT_NE(written.find("Cursor = crHandPoint"), std::string::npos) << written;
  EXPECT_NE(written.find("Align = alTop"), std::string::npos) << written;
  // Inherited font and colour are not stored with the children.
  EXPECT_EQ(written.find("Font", written.find("object Top1")), std::string::npos) << written;
}

}  // namespace
