// The status bar read from and written to a form description: the main window's bar, and
// panels whose styles carry settings of their own.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/gui/Forms.h"
#include "platform/rtl/Streaming.h"
#include "suite/extras/dxStatusBar.h"

TEST(StatusBarStreaming, MainWindowsBarFromItsDescription) {
  RegisterGuiClasses();
  const char* text = R"(object MainForm: TForm {
  object dxStatusBar: TdxStatusBar {
    Panels = items {
      item {
        PanelStyleClassName = "TdxStatusBarTextPanelStyle"
        Width = 130
      }
      item {
        PanelStyleClassName = "TdxStatusBarTextPanelStyle"
        Width = 400
      }
    }
    PaintStyle = stpsXP
    LookAndFeel {
      Kind = lfUltraFlat
    }
  }
}
)";
  TForm form(nullptr);
  ReadComponentFromText(&form, text);
  auto* bar = dynamic_cast<TdxStatusBar*>(form.FindComponent("dxStatusBar"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->PaintStyle(), stpsXP);
  EXPECT_EQ(bar->LookAndFeel()->Kind(), lfUltraFlat);
  ASSERT_EQ(bar->Panels()->Count(), 2);
  for (int i = 0; i < 2; ++i) {
    TdxStatusBarPanel* p = bar->Panels()->Items(i);
    EXPECT_NE(dynamic_cast<TdxStatusBarTextPanelStyle*>(p->PanelStyle()), nullptr);
    EXPECT_EQ(p->Width(), i == 0 ? 130 : 400);
    EXPECT_TRUE(p->Fixed());
    EXPECT_EQ(p->Bevel(), dxpbLowered);
  }
  EXPECT_EQ(bar->Align(), alBottom);
  EXPECT_EQ(bar->Height(), 20);
}

TEST(StatusBarStreaming, StyleSettingsTravelWithTheirPanels) {
  RegisterGuiClasses();
  TForm form(nullptr);
  form.SetName("Form1");
  auto* bar = new TdxStatusBar(&form);
  bar->SetName("Bar");
  bar->SetParent(&form);
  bar->SetPaintStyle(stpsOffice11);
  TdxStatusBarPanel* text = bar->Panels()->Add();
  text->SetText("Ready");
  text->SetWidth(90);
  auto* textStyle = static_cast<TdxStatusBarTextPanelStyle*>(text->PanelStyle());
  textStyle->SetEllipsisType(dxetSmartPath);
  textStyle->SetAutoHint(true);
  textStyle->SetColor(TColor(0x00FFFF));
  TdxStatusBarPanel* lamps = bar->Panels()->Add();
  lamps->SetPanelStyleClassName("TdxStatusBarStateIndicatorPanelStyle");
  auto* lampStyle = static_cast<TdxStatusBarStateIndicatorPanelStyle*>(lamps->PanelStyle());
  lampStyle->SetSpacing(6);
  lampStyle->Indicators()->Add()->SetIndicatorType(sitTeal);
  TdxStatusBarPanel* keys = bar->Panels()->Add();
  keys->SetPanelStyleClassName("TdxStatusBarKeyboardStatePanelStyle");
  auto* keyStyle = static_cast<TdxStatusBarKeyboardStatePanelStyle*>(keys->PanelStyle());
  keyStyle->SetKeyboardStates({dxksCapsLock, dxksInsert});
  keyStyle->InsertKeyAppearance()->SetActiveCaption("OVER");
  keys->SetBevel(dxpbRaised);

  const std::string written = WriteComponentToText(&form);
  TForm back(nullptr);
  ReadComponentFromText(&back, written);
  EXPECT_EQ(WriteComponentToText(&back), written);
  auto* bar2 = dynamic_cast<TdxStatusBar*>(back.FindComponent("Bar"));
  ASSERT_NE(bar2, nullptr);
  ASSERT_EQ(bar2->Panels()->Count(), 3);
  auto* t = dynamic_cast<TdxStatusBarTextPanelStyle*>(bar2->Panels()->Items(0)->PanelStyle());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(bar2->Panels()->Items(0)->Text(), "Ready");
  EXPECT_EQ(t->EllipsisType(), dxetSmartPath);
  EXPECT_TRUE(t->AutoHint());
  EXPECT_EQ(t->Color(), TColor(0x00FFFF));
  auto* l = dynamic_cast<TdxStatusBarStateIndicatorPanelStyle*>(bar2->Panels()->Items(1)->PanelStyle());
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(l->Spacing(), 6);
  ASSERT_EQ(l->Indicators()->Count(), 1);
  EXPECT_EQ(l->Indicators()->Items(0)->IndicatorType(), sitTeal);
  auto* k = dynamic_cast<TdxStatusBarKeyboardStatePanelStyle*>(bar2->Panels()->Items(2)->PanelStyle());
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->KeyboardStates(), (TdxStatusBarKeyboardStates{dxksCapsLock, dxksInsert}));
  EXPECT_EQ(k->InsertKeyAppearance()->ActiveCaption(), "OVER");
  EXPECT_EQ(bar2->Panels()->Items(2)->Bevel(), dxpbRaised);
}
