// Panels and bevels built from descriptions, read back as the pixels they paint.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Streaming.h"
#include "platform/gui/GuiInput.h"

namespace {

using guitest::Px;
using guitest::Rgb;

std::unique_ptr<TForm> FormFrom(const std::string& Children) { return guitest::ShowForm(Children); }

// Bevels, border and caption: the frame rings from the outside in, and the aligned child placed
// inside all of them.
TEST(Panels, BevelsAndBorderFrameTheClientAreaChildrenAlignIn) {
  struct Case {
    const char* Props;
    int Inset;  // of the area children align in
    std::vector<std::pair<int, TColor>> Ring;  // distance from the top-left edge: colour
    TColor BottomRight;                        // the outermost bottom-right pixel
  } cases[] = {
      {"", 1, {{0, clBtnHighlight}, {1, clBtnFace}}, clBtnShadow},
      {"BevelOuter = bvLowered\n", 1, {{0, clBtnShadow}, {1, clBtnFace}}, clBtnHighlight},
      {"BevelOuter = bvNone\n", 0, {{0, clBtnFace}}, clBtnFace},
      {"BevelInner = bvLowered\nBorderWidth = 2\nBevelWidth = 2\n", 6,
       {{0, clBtnHighlight}, {1, clBtnHighlight}, {2, clBtnFace}, {3, clBtnFace}, {4, clBtnShadow},
        {5, clBtnShadow}, {6, clBtnFace}},
       clBtnShadow},
  };
  for (const Case& c : cases) {
    auto form = FormFrom(std::string("object Panel1: TPanel {\n  Left = 10\n  Top = 10\n  Width = 100\n"
                                     "  Height = 60\n") + c.Props +
                         "  object Inner: TPanel {\n    Align = alClient\n    Visible = false\n  }\n}\n");
    auto* panel = dynamic_cast<TPanel*>(form->FindComponent("Panel1"));
    auto* inner = dynamic_cast<TPanel*>(form->FindComponent("Inner"));
    ASSERT_TRUE(panel && inner) << c.Props;
    inner->SetVisible(true);
    EXPECT_EQ(inner->BoundsRect(), Rect(c.Inset, c.Inset, 100 - c.Inset, 60 - c.Inset)) << c.Props;
    inner->SetVisible(false);
    QImage shot = guitest::Shot(panel);
    for (auto [d, color] : c.Ring) {
      EXPECT_EQ(Px(shot, d, 30), Rgb(color)) << c.Props << " left side at " << d;
      EXPECT_EQ(Px(shot, 50, d), Rgb(color)) << c.Props << " top side at " << d;
    }
    EXPECT_EQ(Px(shot, 99, 59), Rgb(c.BottomRight)) << c.Props;
  }
}

TEST(Panels, CaptionIsDrawnOnOneLineWhereTheAlignmentPutsIt) {
  struct Case {
    const char* Alignment;
    int From, To;  // the columns the text must lie within
  } cases[] = {{"taLeftJustify", 1, 50}, {"taCenter", 25, 75}, {"taRightJustify", 50, 99}};
  for (const Case& c : cases) {
    auto form = FormFrom(std::string("object Panel1: TPanel {\n  Width = 100\n  Height = 40\n"
                                     "  Caption = \"Wait\"\n  Alignment = ") + c.Alignment +
                         "\n  Font {\n    Name = \"DejaVu Sans\"\n    Height = -11\n  }\n}\n");
    auto* panel = dynamic_cast<TPanel*>(form->FindComponent("Panel1"));
    QImage shot = guitest::Shot(panel);
    int left = 100, right = -1, top = 40, bottom = -1;
    for (int y = 1; y < 39; ++y)
      for (int x = 1; x < 99; ++x)
        if (Px(shot, x, y) != Rgb(clBtnFace)) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    ASSERT_GE(right, 0) << c.Alignment;
    EXPECT_GE(left, c.From) << c.Alignment;
    EXPECT_LE(right, c.To) << c.Alignment;
    // Vertically centred: as much room above as below, within a pixel or two.
    EXPECT_LE(std::abs((top - 1) - (38 - bottom)), 3) << c.Alignment << " " << top << ".." << bottom;
  }
}

TEST(Panels, SingleBorderIsASunkenEdgeOutsideTheClientArea) {
  auto form = FormFrom("object Panel1: TPanel {\n  Width = 80\n  Height = 50\n  BevelOuter = bvNone\n"
                       "  BorderStyle = bsSingle\n}\n");
  auto* panel = dynamic_cast<TPanel*>(form->FindComponent("Panel1"));
  EXPECT_EQ(panel->ClientWidth(), 76);
  EXPECT_EQ(panel->ClientHeight(), 46);
  QImage shot = guitest::Shot(panel);
  EXPECT_EQ(Px(shot, 0, 20), Rgb(clBtnShadow));
  EXPECT_EQ(Px(shot, 79, 20), Rgb(clBtnHighlight));
  EXPECT_EQ(Px(shot, 40, 25), Rgb(clBtnFace));
  panel->SetBorderStyle(bsNone);
  EXPECT_EQ(panel->ClientWidth(), 80);
  shot = guitest::Shot(panel);
  EXPECT_EQ(Px(shot, 0, 20), Rgb(clBtnFace));
}

TEST(Panels, ClickAndDoubleClickReachThePanel) {
  auto form = FormFrom("object Panel1: TPanel {\n  Left = 20\n  Top = 20\n  Width = 80\n  Height = 50\n}\n");
  auto* panel = dynamic_cast<TPanel*>(form->FindComponent("Panel1"));
  std::vector<std::string> log;
  panel->OnClick = [&](TObject*) { log.push_back("click"); };
  panel->OnDblClick = [&](TObject*) { log.push_back("dblclick"); };
  guitest::DoubleClick(form.get(), QPoint(40, 40));
  EXPECT_EQ(log, (std::vector<std::string>{"click", "dblclick", "click"}));
}

// Every shape in both styles, on a white form: the two colours where the shape puts them and
// the form's own colour everywhere else (a bevel paints nothing behind itself).
TEST(Bevels, ShapesDrawTheirLinesAndLeaveTheRestToTheParent) {
  struct Case {
    const char* Shape;
    std::vector<std::pair<QPoint, TColor>> Lowered;  // raised swaps the two colours
  } cases[] = {
      {"bsBox", {{{10, 0}, clBtnShadow}, {{0, 10}, clBtnShadow}, {{10, 19}, clBtnHighlight}, {{39, 10}, clBtnHighlight}, {{10, 10}, clWhite}}},
      {"bsFrame", {{{10, 0}, clBtnShadow}, {{10, 1}, clBtnHighlight}, {{10, 18}, clBtnShadow}, {{10, 19}, clBtnHighlight}, {{10, 10}, clWhite}}},
      {"bsTopLine", {{{10, 0}, clBtnShadow}, {{10, 1}, clBtnHighlight}, {{10, 2}, clWhite}, {{10, 19}, clWhite}}},
      {"bsBottomLine", {{{10, 18}, clBtnShadow}, {{10, 19}, clBtnHighlight}, {{10, 0}, clWhite}}},
      {"bsLeftLine", {{{0, 10}, clBtnShadow}, {{1, 10}, clBtnHighlight}, {{2, 10}, clWhite}}},
      {"bsRightLine", {{{38, 10}, clBtnShadow}, {{39, 10}, clBtnHighlight}, {{0, 10}, clWhite}}},
      {"bsSpacer", {{{0, 0}, clWhite}, {{39, 19}, clWhite}}},
  };
  for (const Case& c : cases)
    for (const char* style : {"bsLowered", "bsRaised"}) {
      auto form = FormFrom(std::string("object Bevel1: TBevel {\n  Left = 30\n  Top = 40\n  Width = 40\n"
                                       "  Height = 20\n  Shape = ") + c.Shape + "\n  Style = " + style + "\n}\n");
      QImage shot = guitest::Shot(form.get());
      bool raised = std::string(style) == "bsRaised";
      for (auto [at, color] : c.Lowered) {
        TColor want = color;
        if (raised && color == clBtnShadow) want = clBtnHighlight;
        else if (raised && color == clBtnHighlight) want = clBtnShadow;
        EXPECT_EQ(Px(shot, 30 + at.x(), 40 + at.y()), Rgb(want)) << c.Shape << " " << style << " at "
                                                                 << at.x() << "," << at.y();
      }
    }
}

}  // namespace
