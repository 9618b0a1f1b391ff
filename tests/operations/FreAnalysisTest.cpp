#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "DialogTestUtil.h"
#include "appbase/Globals.h"
#include "operations/FreAnalysis.h"

using namespace dialogtest;

namespace {

// A sine at 44,100 Hz, as the main window would copy it from a document.
SampleBuffer Sine(double hz, int64_t frames) {
  SampleBuffer b(1, 44100, frames);
  for (int64_t i = 0; i < frames; ++i) b[i] = float(0.5 * std::sin(2 * M_PI * hz * double(i) / 44100));
  return b;
}

// The window with a feed as the main window connects it: every request copies twice the
// transform size of a 1 kHz sine.
struct Analysis {
  std::unique_ptr<TFreAnalysisForm> Form = std::make_unique<TFreAnalysisForm>(nullptr);
  std::vector<int64_t> Requests;
  Analysis() {
    Form->FeedFrequencyAnalysis = [this] {
      if (!Form->Visible()) return;
      SampleBuffer block = Sine(1000, 2 * Form->AudioVisualization->WindowArraySize());
      Requests.push_back(block.Frames());
      Form->AudioVisualization->FeedPcm(block);
    };
  }
  void Show() {
    Form->Show();
    Application->ProcessMessages();
  }
  // Picks the item of a list by clicking it and pressing keys.
  void Pick(TComboBox* box, int index) {
    ClickOn(box);
    box->SetDroppedDown(false);
    while (box->ItemIndex() < index) guitest::Key(Form.get(), Qt::Key_Down);
    while (box->ItemIndex() > index) guitest::Key(Form.get(), Qt::Key_Up);
  }
  // Moves the mouse over the display at its pixel (x, y).
  void Hover(int x, int y) {
    TAudioVisualization2* v = Form->AudioVisualization;
    guitest::Mouse(Form.get(), QEvent::MouseMove, QPoint(v->Left() + x, v->Top() + y));
  }
  // The display's column where the analysed level is highest.
  int PeakColumn() const {
    TAudioVisualization2* v = Form->AudioVisualization;
    int best = 0;
    float level = -1e9f;
    for (int x = 0; x < v->ClientWidth(); ++x) {
      const float l = v->Analysis().LevelAt(VisualizationFraction(x, v->ClientWidth()));
      if (l > level) {
        level = l;
        best = x;
      }
    }
    return best;
  }
};

int LeadingNumber(const std::string& text) { return std::stoi(text); }

TEST(FreAnalysisForm, IsMadeHiddenAboveTheOtherWindowsWithItsDesignedChoices) {
  Analysis a;
  TFreAnalysisForm* f = a.Form.get();
  EXPECT_FALSE(f->Visible());
  EXPECT_EQ(f->FormStyle(), fsStayOnTop);
  EXPECT_EQ(f->Caption(), "Frequency Analysis");
  EXPECT_EQ(f->LabelFreq->Caption(), "0 Hz");
  EXPECT_EQ(f->LabelValue->Caption(), "0 dB");
  EXPECT_EQ(f->ComboBoxViewType->Items()->CommaText(), "Analog,Linear,Normal,Fire,Glass,Kryptonite");
  EXPECT_EQ(f->ComboBoxViewType->ItemIndex(), 0);
  EXPECT_EQ(f->ComboBoxFFTSize->Items()->CommaText(), "256,1024,4096");
  EXPECT_EQ(f->ComboBoxFFTSize->ItemIndex(), 1);
  EXPECT_EQ(f->AudioVisualization->DisplayFont().Name, "Tahoma");
  EXPECT_EQ(f->AudioVisualization->DisplayFont().Size, 7);
  EXPECT_TRUE(a.Requests.empty()) << "nothing is asked for while hidden";
  a.Show();
  EXPECT_EQ(a.Requests, std::vector<int64_t>{2048});
  EXPECT_EQ(f->AudioVisualization->VisType(), 0);
  EXPECT_EQ(f->AudioVisualization->WindowFFTType(), 0);
}

TEST(FreAnalysisForm, EachChoiceAsksForAFreshBlockOfTwiceTheTransformSize) {
  Analysis a;
  a.Show();
  a.Pick(a.Form->ComboBoxFFTSize, 2);
  EXPECT_EQ(a.Form->ComboBoxFFTSize->Text(), "4096");
  EXPECT_EQ(a.Form->AudioVisualization->WindowArraySize(), 4096);
  EXPECT_EQ(a.Requests.back(), 8192);
  a.Pick(a.Form->ComboBoxFFTSize, 0);
  EXPECT_EQ(a.Requests.back(), 512);
  const size_t before = a.Requests.size();
  a.Pick(a.Form->ComboBoxViewType, 3);
  EXPECT_EQ(a.Form->AudioVisualization->VisType(), 3);
  EXPECT_EQ(a.Requests.size(), before + 3) << "one block for each choice on the way";
}

TEST(FreAnalysisForm, TheReadOutsNameTheValuesUnderTheMouse) {
  Analysis a;
  a.Show();
  TFreAnalysisForm* f = a.Form.get();
  // In the waveform view the horizontal read-out counts samples.
  a.Hover(100, 50);
  int xValue = 0, yValue = 0;
  f->AudioVisualization->MouseValues(100, 50, f->AudioVisualization->ClientWidth(),
                                     f->AudioVisualization->ClientHeight(), xValue, yValue);
  EXPECT_EQ(f->LabelFreq->Caption(), std::to_string(xValue) + " smpl");
  EXPECT_EQ(f->LabelValue->Caption(), std::to_string(yValue) + " dB");
  // Every other view shows hertz; over the sine's peak they name its frequency.
  for (int view = 1; view < 6; ++view) {
    SCOPED_TRACE(view);
    a.Pick(f->ComboBoxViewType, view);
    a.Pick(f->ComboBoxFFTSize, 2);
    a.Hover(a.PeakColumn(), 40);
    const std::string freq = f->LabelFreq->Caption();
    ASSERT_EQ(freq.substr(freq.size() - 3), " hz");
    EXPECT_NEAR(LeadingNumber(freq), 1000, 45);
    const std::string value = f->LabelValue->Caption();
    EXPECT_EQ(value.substr(value.size() - 3), " dB");
    EXPECT_LE(LeadingNumber(value), 0);
  }
}

TEST(FreAnalysisForm, ClosingHidesResetsTheReadOutsAndKeepsTheBoundsForTheNextShow) {
  Analysis a;
  TFreAnalysisForm* f = a.Form.get();
  f->SetBounds(40, 30, 550, 300);
  a.Show();
  a.Hover(200, 20);
  ASSERT_NE(f->LabelFreq->Caption(), "0 hz");
  f->SetBounds(70, 60, 600, 340);
  f->Close();
  Application->ProcessMessages();
  EXPECT_FALSE(f->Visible());
  EXPECT_EQ(f->LabelFreq->Caption(), "0 hz");
  EXPECT_EQ(f->LabelValue->Caption(), "0 dB");
  EXPECT_EQ(GlobalVars.FreAnalysisFormLeft, 70);
  EXPECT_EQ(GlobalVars.FreAnalysisFormTop, 60);
  EXPECT_EQ(GlobalVars.FreAnalysisFormWidth, 600);
  EXPECT_EQ(GlobalVars.FreAnalysisFormHeight, 340);
  // The main window shows it again with the stored bounds; nothing is asked for while hidden.
  const size_t requests = a.Requests.size();
  f->SetBounds(GlobalVars.FreAnalysisFormLeft, GlobalVars.FreAnalysisFormTop,
               GlobalVars.FreAnalysisFormWidth, GlobalVars.FreAnalysisFormHeight);
  a.Show();
  EXPECT_EQ(f->BoundsRect(), (TRect{70, 60, 670, 400}));
  EXPECT_EQ(f->LabelFreq->Caption(), "0 hz");
  EXPECT_EQ(a.Requests.size(), requests + 1);
}

TEST(FreAnalysisForm, LargerBoundsGrowTheDisplayAndKeepTheBarAtTheBottom) {
  Analysis a;
  TFreAnalysisForm* f = a.Form.get();
  const int w0 = f->ClientWidth(), h0 = f->ClientHeight();
  const TRect display0 = f->AudioVisualization->BoundsRect();
  const int comboTop0 = f->ComboBoxFFTSize->Top();
  f->SetBounds(10, 10, f->Width() + 200, f->Height() + 120);
  a.Show();
  const int dw = f->ClientWidth() - w0, dh = f->ClientHeight() - h0;
  ASSERT_EQ(dw, 200);
  ASSERT_EQ(dh, 120);
  EXPECT_EQ(f->AudioVisualization->BoundsRect(),
            (TRect{display0.Left, display0.Top, display0.Right + dw, display0.Bottom + dh}));
  EXPECT_EQ(f->ComboBoxFFTSize->Top(), comboTop0 + dh);
  EXPECT_EQ(f->Line->Width(), 542 + dw);
}

}  // namespace
