// A sheet to look at: the status bar in each paint style with each panel style (text, a path
// shortened in the middle, lamps, keyboard states and a container holding an edit), written to
// $SONALIX_SHEETS_DIR, and to $SONALIX_SCREENSHOT_DIR when set (run under Xvfb with
// SONALIX_TEST_PLATFORM=xcb to see the real window).
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/TestEnv.h"
#include "platform/gui/StdCtrls.h"
#include "platform/win/QtWindows.h"
#include "suite/extras/StatusBarTestSupport.h"
#include "suite/extras/dxStatusBar.h"
#include "suite/core/VisualStyleState.h"

using statusbar_test::TBarScene;

TEST(StatusBarSheet, EachPaintStyleWithEachPanelStyle) {
  struct TRow {
    TdxStatusBarPaintStyle Style;
    const char* Name;
    bool Themed;
  };
  const TRow styles[] = {{stpsStandard, "Standard", false},
                         {stpsFlat, "Flat", false},
                         {stpsOffice11, "Office11", false},
                         {stpsXP, "XP (no visual styles)", false},
                         {stpsXP, "XP", true}};
  std::vector<QImage> shots;
  for (auto [style, name, themed] : styles) {
    SCOPED_TRACE(name);
    std::unique_ptr<TVisualStyleState> state =
        themed ? std::unique_ptr<TVisualStyleState>(new TVisualStylesOn) : std::make_unique<TVisualStylesAbsent>();
    TBarScene s(720, style);
    s.Form->SetClientHeight(24);
    TdxStatusBarPanel* text = s.Add(90);
    text->SetText("Ready");
    TdxStatusBarPanel* path = s.Add(200);
    path->SetText("/home/user/Music/Sessions/2026/Interview with the composer/take 12.wav");
    static_cast<TdxStatusBarTextPanelStyle*>(path->PanelStyle())->SetEllipsisType(dxetSmartPath);
    TdxStatusBarPanel* lamps = s.Add(10);
    lamps->SetPanelStyleClassName("TdxStatusBarStateIndicatorPanelStyle");
    auto* indicators = static_cast<TdxStatusBarStateIndicatorPanelStyle*>(lamps->PanelStyle())->Indicators();
    for (TdxStatusBarStateIndicatorType t : {sitGreen, sitRed, sitOff, sitYellow})
      indicators->Add()->SetIndicatorType(t);
    TdxStatusBarPanel* keys = s.Add(10);
    keys->SetPanelStyleClassName("TdxStatusBarKeyboardStatePanelStyle");
    TdxStatusBarPanel* box = s.Add(120);
    box->SetPanelStyleClassName("TdxStatusBarContainerPanelStyle");
    auto* edit = new TEdit(s.Form.get());
    edit->SetText("44100 Hz");
    edit->SetParent(static_cast<TdxStatusBarContainerPanelStyle*>(box->PanelStyle())->Container());
    s.Bar->RecalculateAndInvalidate();
    Application->ProcessMessages();
    QImage shot = GetWindowWidget(s.Form->Handle())->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.height(), 24);
    // The lamps are there: some red and some green in the lamp panel.
    const TRect l = s.Bar->ViewInfo()->Panels(2)->Bounds.Offset(s.Bar->Left(), s.Bar->Top());
    int red = 0, green = 0;
    for (int y = l.Top; y < l.Bottom; ++y)
      for (int x = l.Left; x < l.Right; ++x) {
        QRgb c = shot.pixel(x, y);
        red += qRed(c) > 180 && qGreen(c) < 90;
        green += qGreen(c) > 140 && qRed(c) < 90 && qBlue(c) < 90;
      }
    EXPECT_GT(red, 20);
    EXPECT_GT(green, 20);
    shots.push_back(shot);
  }
  const int gap = 6;
  QImage sheet(720, int(shots.size()) * (24 + gap) + gap, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter p(&sheet);
  for (size_t i = 0; i < shots.size(); ++i) p.drawImage(0, gap + int(i) * (24 + gap), shots[i]);
  p.end();
  EXPECT_TRUE(sheet.save(QString::fromStdString((sonalix::test::SheetDir() / "statusbar-styles.png").string())));
  if (const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR"))
    EXPECT_TRUE(sheet.save(QString::fromStdString(std::string(dir) + "/statusbar-styles.png")));
}
