#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "DialogTestUtil.h"
#include "Imports/AudioEditorControl.h"
#include "operations/EnvelopeDialog.h"

using namespace dialogtest;

namespace {

// A point of the curve editor in the dialog's client coordinates.
QPoint CurvePoint(TEnvelopeForm* form, double t, double db) {
  return {form->TD->Left() + form->TD->XOfPosition(t), form->TD->Top() + form->TD->YOfDb(db)};
}

std::unique_ptr<TEnvelopeForm> ShownEnvelope() {
  auto form = std::make_unique<TEnvelopeForm>(nullptr);
  form->Show();
  Application->ProcessMessages();
  return form;
}

TEST(EnvelopeForm, ShowingPlacesAndSetsUpTheCurveEditor) {
  auto form = ShownEnvelope();
  EXPECT_EQ(form->Caption(), "Envelope");
  EXPECT_EQ(form->ClientWidth(), 555);
  EXPECT_EQ(form->ClientHeight(), 252);
  TAudioTransformDisplay2* td = form->TD;
  EXPECT_EQ(td->Name(), "TD");
  EXPECT_EQ(td->BoundsRect(), (TRect{8, 0, 553, 200}));
  EXPECT_EQ(td->DisplayFont()->Name(), "Tahoma");
  EXPECT_EQ(td->DisplayFont()->Size(), 7);
  EXPECT_EQ(td->DisplayFont()->Color(), TColor(0xF8DCA8));
  EXPECT_TRUE(td->GridVisible());
  EXPECT_EQ(td->ScaleXCaption(), "smpl");
  EXPECT_EQ(td->LineArraySize(), 100000);
  EXPECT_FALSE(form->ButtonSetFlat->Visible());
  EXPECT_TRUE(form->ButtonOK->Visible());
}

TEST(EnvelopeForm, OkGivesAFlatCurveOfAHundredThousandValuesWhenUntouched) {
  auto form = ShownEnvelope();
  ClickOn(form->ButtonOK);
  EXPECT_EQ(form->ModalResult(), mrOk);
  const SampleBuffer curve = form->TD->CurveValues();
  ASSERT_EQ(curve.Frames(), 100000);
  ASSERT_EQ(curve.Channels(), 1);
  for (int i = 0; i < curve.Frames(); i += 997) ASSERT_EQ(curve[i], 0.f) << i;
  EXPECT_EQ(curve[99999], 0.f);
}

TEST(EnvelopeForm, ThePointDraggedWithTheMouseShapesTheCurve) {
  auto form = ShownEnvelope();
  // A press on the flat line adds a point; a press on that point drags it down.
  guitest::Click(form.get(), CurvePoint(form.get(), 0.5, 0));
  ASSERT_EQ(form->TD->Points().size(), 3u);
  guitest::Mouse(form.get(), QEvent::MouseButtonPress, CurvePoint(form.get(), 0.5, 0));
  guitest::Mouse(form.get(), QEvent::MouseMove, CurvePoint(form.get(), 0.5, -12));
  guitest::Mouse(form.get(), QEvent::MouseButtonRelease, CurvePoint(form.get(), 0.5, -12));
  ClickOn(form->ButtonOK);
  EXPECT_EQ(form->ModalResult(), mrOk);
  const SampleBuffer curve = form->TD->CurveValues();
  ASSERT_EQ(curve.Frames(), 100000);
  const double pointT = form->TD->Points()[1].first;
  const int middle = int(std::lround(pointT * 99999));
  // One pixel of the editor is about half a decibel.
  EXPECT_NEAR(curve[middle], -12.0, 0.6);
  EXPECT_NEAR(curve[middle / 2], -6.0, 0.6);
  EXPECT_EQ(curve[0], 0.f);
  EXPECT_EQ(curve[99999], 0.f);
  for (int i = 1; i < middle; i += 501) ASSERT_LE(curve[i], curve[i - 1] + 1e-4f) << i;
}

TEST(EnvelopeForm, CancelEndsTheDialogWithoutOk) {
  auto form = ShownEnvelope();
  guitest::Click(form.get(), CurvePoint(form.get(), 0.3, 0));
  ClickOn(form->ButtonCancel);
  EXPECT_EQ(form->ModalResult(), mrCancel);
}

TEST(EnvelopeForm, TheScaleRunsFromTheSelectionStartToItsEnd) {
  TAudioEditor2 editor(nullptr);
  editor.NewDocument(44100, 1);
  SampleBuffer samples(1, 44100, 44100);
  editor.InsertPcm(samples);
  IAudioEditor2Position* position = editor.Position();
  position->SetSelectionActive(true);
  position->SetSelectionStart(1000);
  position->SetSelectionEnd(30000);
  auto form = std::make_unique<TEnvelopeForm>(nullptr);
  form->BoundToSelection(position);
  form->Show();
  EXPECT_EQ(form->TD->ScaleXMin(), 1000);
  EXPECT_EQ(form->TD->ScaleXMax(), 30000);
  EXPECT_EQ(form->TD->LineArraySize(), 100000) << "the curve does not follow the scale";
}

}  // namespace
