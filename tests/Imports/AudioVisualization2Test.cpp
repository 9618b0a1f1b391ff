#include <gtest/gtest.h>

#include "../audio/AudioTestUtil.h"
#include "Imports/XOQAUDIOVISUALIZATION2Lib_TLB.h"

TEST(AudioVisualization2, MouseMovesReportSamplesOrHertzAndTheLevelScale) {
  TAudioVisualization2 vis(nullptr);
  vis.SetWindowArraySize(256);
  vis.SetWindowFFTType(0);
  EXPECT_EQ(vis.WindowArraySize(), 256);
  SampleBuffer s = audiotest::Sine(512, 1000, 8000, 1, 1.0);
  vis.FeedPcm(s);
  struct Case {
    int view, x, y;
    int xValue, yValue;
  } cases[] = {{0, 100, 0, 100, 0},
               {0, 255, 100, 255, -120},
               {1, 128, 50, 2000, -60},
               {1, 256, 0, 4000, 0},
               {2, 0, 25, 31, -30}};
  for (const Case& c : cases) {
    vis.SetVisType(c.view);
    int got[4] = {-1, -1, -1, -1};
    vis.OnMouseMove = [&](TObject* sender, int x, int y, int xv, int yv) {
      EXPECT_EQ(sender, &vis);
      got[0] = x, got[1] = y, got[2] = xv, got[3] = yv;
    };
    const int width = c.view == 0 ? 256 : 257;
    vis.MouseMove(c.x, c.y, width, 101);
    EXPECT_EQ(got[0], c.x);
    EXPECT_EQ(got[2], c.xValue) << c.view << " " << c.x;
    EXPECT_EQ(got[3], c.yValue) << c.view << " " << c.y;
  }
}
