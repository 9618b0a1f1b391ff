// The text panel: a long path shortened in the middle shows as much of its start as fits, "..."
// and its last part.
#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "suite/extras/StatusBarTestSupport.h"
#include "suite/extras/dxStatusBar.h"

using statusbar_test::TBarScene;

TEST(StatusBarTextPanel, SmartPathKeepsTheStartAndTheLastPart) {
  const std::string path = "/home/user/Music/Sessions/2026/Interview with the composer/take 12.wav";
  const std::string tail = ".../take 12.wav";
  TBarScene s(600);
  auto add = [&](const std::string& Text, TdxStatusBarEllipsisType Ellipsis) {
    TdxStatusBarPanel* p = s.Add(200);
    p->SetText(Text);
    auto* style = static_cast<TdxStatusBarTextPanelStyle*>(p->PanelStyle());
    style->SetEllipsisType(Ellipsis);
    return style;
  };
  auto* shortened = add(path, dxetSmartPath);
  // The longest start that fits before the tail in the text's room (the panel less its bevel
  // and 2 pixels each side).
  TcxCanvas* canvas = s.Bar->Canvas();
  canvas->AssignFont(shortened->Font());
  const int room = 200 - 4;
  size_t n = path.size();
  while (n > 0 && canvas->MeasureTextWidth(path.substr(0, n) + tail) > room) --n;
  const std::string expected = path.substr(0, n) + tail;
  ASSERT_GT(n, 10u);
  add(expected, dxetNone);
  s.Add(20);
  QImage img = s.Shot();
  const TRect a = s.Bar->ViewInfo()->Panels(0)->Bounds, b = s.Bar->ViewInfo()->Panels(1)->Bounds;
  EXPECT_EQ(img.copy(a.Left, a.Top, a.Width(), a.Height()), img.copy(b.Left, b.Top, b.Width(), b.Height()))
      << "expected " << expected;
}
