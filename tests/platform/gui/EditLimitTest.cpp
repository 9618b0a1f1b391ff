// The edit's text limit against the program and the clipboard, and where its caret stands.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "platform/gui/GuiInput.h"
#include "platform/gui/StdCtrls.h"

namespace {

const char* kEdits = R"F(
object Digits: TEdit {
  Left = 10
  Top = 10
  Width = 120
  MaxLength = 3
}
object Other: TEdit {
  Left = 10
  Top = 40
}
)F";

TEdit* EditOf(TForm* form, const char* name) { return static_cast<TEdit*>(form->FindComponent(name)); }

TEST(EditLimit, TextSetByTheProgramShowsWholeAndTypingStillStopsAtTheLimit) {
  auto form = guitest::ShowForm(kEdits);
  TEdit* digits = EditOf(form.get(), "Digits");
  int changes = 0;
  digits->OnChange = [&](TObject*) { ++changes; };
  digits->SetText("22500");
  EXPECT_EQ(digits->Text(), "22500");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(digits->Perform(EM_GETLIMITTEXT), 3);

  // Over the limit, deleting still works and typing adds nothing until there is room.
  digits->SetFocus();
  digits->SetSelStart(5);
  guitest::Type(form.get(), "7");
  EXPECT_EQ(digits->Text(), "22500");
  guitest::Key(form.get(), Qt::Key_Backspace);
  guitest::Key(form.get(), Qt::Key_Backspace);
  guitest::Key(form.get(), Qt::Key_Backspace);
  EXPECT_EQ(digits->Text(), "22");
  guitest::Type(form.get(), "78");
  EXPECT_EQ(digits->Text(), "227");
  // Typing over a selection replaces it within the limit.
  digits->SelectAll();
  guitest::Type(form.get(), "9");
  EXPECT_EQ(digits->Text(), "9");

  // A limit set later leaves the text alone as well.
  digits->SetText("123456");
  digits->SetMaxLength(2);
  EXPECT_EQ(digits->Text(), "123456");
}

TEST(EditLimit, PastingTakesOnlyWhatFitsByKeyAndByMessage) {
  auto form = guitest::ShowForm(kEdits);
  TEdit* digits = EditOf(form.get(), "Digits");
  QGuiApplication::clipboard()->setText("98765");
  digits->SetFocus();
  digits->SetText("1");
  digits->SetSelStart(1);
  guitest::Key(form.get(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(digits->Text(), "198");
  digits->SetText("");
  digits->Perform(WM_PASTE);
  EXPECT_EQ(digits->Text(), "987");
  // Without a limit of its own the whole clipboard goes in.
  TEdit* other = EditOf(form.get(), "Other");
  other->SetFocus();
  guitest::Key(form.get(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(other->Text(), "98765");
}

TEST(EditLimit, CaretPositionIsTheFocusedEditsInItsClientPixels) {
  auto form = guitest::ShowForm(kEdits);
  TEdit* digits = EditOf(form.get(), "Digits");
  TEdit* other = EditOf(form.get(), "Other");
  digits->SetText("-10");
  digits->SetFocus();
  POINT atStart{-1, -1}, inside{-1, -1}, atEnd{-1, -1};
  digits->SetSelStart(0);
  ASSERT_TRUE(GetCaretPos(&atStart));
  digits->SetSelStart(1);
  ASSERT_TRUE(GetCaretPos(&inside));
  digits->SetSelStart(3);
  ASSERT_TRUE(GetCaretPos(&atEnd));
  EXPECT_GE(atStart.x, 0);
  EXPECT_LE(atStart.x, 1) << "the caret before the first character stands at the left edge";
  EXPECT_GT(inside.x, atStart.x);
  EXPECT_GT(atEnd.x, inside.x);
  EXPECT_LT(atEnd.x, digits->ClientWidth());
  // The same place in another edit gives the same answer: the pixels are the edit's own.
  other->SetText("-10");
  other->SetFocus();
  other->SetSelStart(1);
  POINT otherInside{};
  ASSERT_TRUE(GetCaretPos(&otherInside));
  EXPECT_EQ(otherInside.x, inside.x);
  EXPECT_EQ(otherInside.y, inside.y);
}

}  // namespace
