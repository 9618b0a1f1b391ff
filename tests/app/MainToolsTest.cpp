// The frequency-analysis window opened by the main window.
#include <gtest/gtest.h>

#include "Imports/XOQAUDIOVISUALIZATION2Lib_TLB.h"
#include "MainTestSupport.h"
#include "operations/FreAnalysis.h"

using namespace maintest;

// It opens at its stored bounds, and hiding it keeps it for the next time.
TEST(MainTools, FrequencyAnalysisOpensAtItsStoredBounds) {
  TProgram program;
  program.Open(WriteTone("tone.wav", 44100, 2, 44100));
  GlobalVars.FreAnalysisFormLeft = 30;
  GlobalVars.FreAnalysisFormTop = 40;
  GlobalVars.FreAnalysisFormWidth = 420;
  GlobalVars.FreAnalysisFormHeight = 300;
  program->ActionFrequencyAnalysisExecute(nullptr);
  Application->ProcessMessages();
  TFreAnalysisForm* form = program->FreAnalysisForm;
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(form->Visible());
  EXPECT_EQ(form->BoundsRect(), (TRect{30, 40, 450, 340}));
  // Fed while it shows: moving the cursor hands it a block without trouble.
  program->FeedFrequencyAnalysis();
  form->Close();
  Application->ProcessMessages();
  EXPECT_FALSE(form->Visible());
  program->FeedFrequencyAnalysis();
  program->ActionFrequencyAnalysisExecute(nullptr);
  EXPECT_EQ(program->FreAnalysisForm, form);
}
