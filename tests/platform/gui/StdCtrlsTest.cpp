// Standard controls built from descriptions and driven with real input: labels, buttons, check
// boxes, radio buttons and groups, edits, memos, combo boxes, list boxes, and the dialog keys.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextCursor>
#include <algorithm>
#include <memory>
#include <string>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Streaming.h"
#include "platform/win/QtWindows.h"
#include "platform/gui/GuiInput.h"

namespace {

using guitest::Px;
using guitest::Rgb;

class TDialogForm : public TForm {
 public:
  using TForm::TForm;
  std::vector<std::string> Log;
  void LabelClick(TObject*) { Log.push_back("click"); }
  void LabelDblClick(TObject*) { Log.push_back("dblclick"); }
  // The exit check of the edit: refuses to let the focus go while the text is "bad".
  void EditExit(TObject* Sender) {
    auto* edit = static_cast<TEdit*>(Sender);
    Log.push_back("exit " + edit->Text());
    if (edit->Text() == "bad") edit->SetFocus();
  }
  void OKClick(TObject*) { Log.push_back("ok"); }
  void CancelClick(TObject*) { Log.push_back("cancel"); }
  void OtherClick(TObject*) { Log.push_back("other"); }
  void BoxClick(TObject* Sender) { Log.push_back("box " + static_cast<TControl*>(Sender)->Name()); }
  void EditChange(TObject*) { Log.push_back("change"); }
};

std::unique_ptr<TDialogForm> FormFrom(const std::string& Children) {
  static bool registered = [] {
    RegisterGuiClasses();
    RegisterClass<TDialogForm, TForm>();
    Published<TDialogForm>()
        .Method("LabelClick", &TDialogForm::LabelClick)
        .Method("LabelDblClick", &TDialogForm::LabelDblClick)
        .Method("EditExit", &TDialogForm::EditExit)
        .Method("OKClick", &TDialogForm::OKClick)
        .Method("CancelClick", &TDialogForm::CancelClick)
        .Method("OtherClick", &TDialogForm::OtherClick)
        .Method("BoxClick", &TDialogForm::BoxClick)
        .Method("EditChange", &TDialogForm::EditChange);
    return true;
  }();
  (void)registered;
  return guitest::ShowForm<TDialogForm>(Children, "TDialogForm");
}

// The columns and rows of Image inside R that differ from Background.
TRect InkBounds(const QImage& Image, TRect R, QRgb Background) {
  TRect ink(R.Right, R.Bottom, R.Left - 1, R.Top - 1);
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (Px(Image, x, y) != Background) {
        ink.Left = std::min(ink.Left, x), ink.Right = std::max(ink.Right, x + 1);
        ink.Top = std::min(ink.Top, y), ink.Bottom = std::max(ink.Bottom, y + 1);
      }
  return ink;
}

// The main window's time labels lie on a picture: a transparent label leaves every pixel
// around its letters as the picture drew it; an opaque one fills its rectangle.
TEST(Labels, TransparentLabelLiesOnAPicture) {
  auto form = FormFrom(
      "object Picture: TImage {\n  Left = 0\n  Top = 0\n  Width = 240\n  Height = 160\n  Stretch = true\n}\n"
      "object Time: TLabel {\n  Left = 20\n  Top = 20\n  Caption = \"00:00:00.000\"\n"
      "  Transparent = true\n  Font {\n    Name = \"DejaVu Sans\"\n    Height = -11\n    Color = clWhite\n  }\n}\n");
  auto* picture = dynamic_cast<TImage*>(form->FindComponent("Picture"));
  auto* time = dynamic_cast<TLabel*>(form->FindComponent("Time"));
  QImage stripes(240, 160, QImage::Format_RGB32);
  for (int y = 0; y < 160; ++y)
    for (int x = 0; x < 240; ++x) stripes.setPixel(x, y, (y / 2) % 2 ? qRgb(0, 0, 128) : qRgb(0, 96, 0));
  picture->Picture()->Bitmap()->SetImage(stripes);
  QImage shot = guitest::Shot(form.get());
  TRect r = time->BoundsRect();
  int ink = 0, picturePixels = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      QRgb p = Px(shot, x, y);
      if (p == (stripes.pixel(x, y) | 0xFF000000)) ++picturePixels;
      else if (qRed(p) > 0) ++ink;  // white letters, blended into the picture at their edges
    }
  EXPECT_GT(ink, 20);
  // Letters are thin: most of the rectangle is still the picture, and the rest is letters.
  EXPECT_GT(picturePixels, r.Width() * r.Height() / 2);
  EXPECT_EQ(picturePixels + ink, r.Width() * r.Height());
  time->SetTransparent(false);
  time->SetColor(clYellow);
  shot = guitest::Shot(form.get());
  EXPECT_EQ(Px(shot, r.Left, r.Top), Rgb(clYellow));
  EXPECT_EQ(Px(shot, r.Right - 1, r.Bottom - 1), Rgb(clYellow));
}

TEST(Labels, AutoSizeFollowsTheCaptionAndKeepsTheAlignedEdge) {
  auto form = FormFrom("object Left1: TLabel {\n  Left = 10\n  Top = 10\n  Caption = \"Hz\"\n}\n"
                       "object Right1: TLabel {\n  Left = 100\n  Top = 40\n  Width = 50\n  AutoSize = false\n"
                       "  Alignment = taRightJustify\n  Caption = \"Hz\"\n}\n");
  auto* left = dynamic_cast<TLabel*>(form->FindComponent("Left1"));
  auto* right = dynamic_cast<TLabel*>(form->FindComponent("Right1"));
  int narrow = left->Width();
  EXPECT_GT(narrow, 5);
  EXPECT_GT(left->Height(), 8);
  left->SetCaption("44,100 Hz");
  EXPECT_GT(left->Width(), narrow * 2);
  EXPECT_EQ(left->Left(), 10);
  // An empty caption keeps one line.
  left->SetCaption("");
  EXPECT_GT(left->Height(), 8);
  right->SetAutoSize(true);
  right->SetCaption("44,100 Hz");
  EXPECT_EQ(right->Left() + right->Width(), 150) << "the right edge stays";
  // A bigger font makes a taller label.
  int h = right->Height();
  right->Font()->SetHeight(-20);
  EXPECT_GT(right->Height(), h);
}

TEST(Labels, WordWrapBreaksLinesAndLayoutPlacesThemVertically) {
  auto form = FormFrom("object Detail: TLabel {\n  Left = 10\n  Top = 10\n  Width = 90\n  WordWrap = true\n"
                       "  Caption = \"Click on the Add File button to select files\"\n}\n");
  auto* detail = dynamic_cast<TLabel*>(form->FindComponent("Detail"));
  EXPECT_EQ(detail->Width(), 90);
  EXPECT_GT(detail->Height(), 3 * 12) << "several lines";
  QImage shot = guitest::Shot(form.get());
  TRect ink = InkBounds(shot, detail->BoundsRect(), Rgb(clWhite));
  EXPECT_LE(ink.Right, 100);
  // One line in a tall label: top, centre and bottom layouts.
  detail->SetWordWrap(false);
  detail->SetAutoSize(false);
  detail->SetCaption("0 dB");
  detail->SetBounds(10, 10, 90, 60);
  int previous = -1;
  for (TTextLayout layout : {tlTop, tlCenter, tlBottom}) {
    detail->SetLayout(layout);
    TRect at = InkBounds(guitest::Shot(form.get()), detail->BoundsRect(), Rgb(clWhite));
    int above = at.Top - 10, below = 70 - at.Bottom;
    if (layout == tlTop) EXPECT_LE(above, 4);
    if (layout == tlCenter) EXPECT_LE(std::abs(above - below), 3);
    if (layout == tlBottom) EXPECT_LE(below, 4);
    EXPECT_GT(at.Top, previous);
    previous = at.Top;
  }
}

// The slider end labels of the format dialogs: a caption's "\r\n" starts one new line, wrapped
// or not, and the label is as wide as its wider line.
TEST(Labels, ALineBreakInTheCaptionStartsOneNewLine) {
  auto form = FormFrom(
      "object One: TLabel {\n  Left = 10\n  Top = 10\n  Caption = \"Low Quality,\"\n}\n"
      "object Plain: TLabel {\n  Left = 10\n  Top = 40\n  Caption = \"Low Quality,\\r\\nSmall Size\"\n}\n"
      "object Wrapped: TLabel {\n  Left = 120\n  Top = 40\n  Width = 130\n  WordWrap = true\n"
      "  Caption = \"High Quality,\\r\\nLarge Size\"\n}\n");
  auto* one = dynamic_cast<TLabel*>(form->FindComponent("One"));
  auto* plain = dynamic_cast<TLabel*>(form->FindComponent("Plain"));
  auto* wrapped = dynamic_cast<TLabel*>(form->FindComponent("Wrapped"));
  EXPECT_EQ(plain->Caption(), "Low Quality,\r\nSmall Size");
  EXPECT_EQ(plain->Height(), 2 * one->Height());
  EXPECT_EQ(plain->Width(), one->Width()) << "the first line is the wider one";
  EXPECT_EQ(wrapped->Height(), 2 * one->Height()) << "room for both lines on one, still two";
  EXPECT_LT(wrapped->Width(), 130) << "as wide as its wider line";
  // Two bands of letters, the second starting one line below the first.
  QImage shot = guitest::Shot(form.get());
  for (TLabel* label : {plain, wrapped}) {
    TRect r = label->BoundsRect();
    TRect top = InkBounds(shot, TRect(r.Left, r.Top, r.Right, r.Top + one->Height()), Rgb(clWhite));
    TRect bottom = InkBounds(shot, TRect(r.Left, r.Top + one->Height(), r.Right, r.Bottom), Rgb(clWhite));
    EXPECT_LT(top.Left, top.Right) << label->Name();
    EXPECT_LT(bottom.Left, bottom.Right) << label->Name();
    EXPECT_LE(std::abs(bottom.Left - top.Left), 2) << label->Name() << ": no stray character before the second line";
  }
}

TEST(Labels, ClicksAndTheAccessKeyOfTheCaption) {
  auto form = FormFrom("object Edit1: TPanel {\n  Left = 100\n  Top = 10\n  TabStop = true\n}\n"
                       "object Edit2: TPanel {\n  Left = 100\n  Top = 60\n  TabStop = true\n}\n"
                       "object Label1: TLabel {\n  Left = 10\n  Top = 10\n  Caption = \"&Silence\"\n"
                       "  FocusControl = Edit2\n  OnClick = LabelClick\n  OnDblClick = LabelDblClick\n}\n");
  auto* label = dynamic_cast<TLabel*>(form->FindComponent("Label1"));
  auto* edit1 = dynamic_cast<TWinControl*>(form->FindComponent("Edit1"));
  auto* edit2 = dynamic_cast<TWinControl*>(form->FindComponent("Edit2"));
  QPoint inside(label->Left() + 3, label->Top() + 3);
  guitest::DoubleClick(form.get(), inside);
  EXPECT_EQ(form->Log, (std::vector<std::string>{"click", "dblclick", "click"}));
  edit1->SetFocus();
  // The underlined letter, in either case, with Alt.
  guitest::Key(form.get(), Qt::Key_S, Qt::AltModifier, "s");
  EXPECT_TRUE(edit2->Focused());
  edit1->SetFocus();
  guitest::Key(form.get(), Qt::Key_I, Qt::AltModifier, "i");
  EXPECT_TRUE(edit1->Focused()) << "not the access key";
  // No focus control, or a disabled one: nothing moves.
  edit2->SetEnabled(false);
  guitest::Key(form.get(), Qt::Key_S, Qt::AltModifier, "s");
  EXPECT_TRUE(edit1->Focused());
  // A freed focus control is forgotten.
  delete edit2;
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST(Labels, AccessKeysMatchTheLetterAfterASingleAmpersand) {
  struct Case {
    const char* Caption;
    char32_t Key;
    bool Match;
  } cases[] = {{"&Silence", U's', true}, {"&Silence", U'S', true}, {"Fre&q", U'q', true},
               {"Fre&q", U'f', false}, {"A&&B", U'b', false}, {"A&&B &C", U'c', true},
               {"No key", U'n', false}, {"End&", U'd', false}, {"&Ärger", U'ä', true}};
  for (const Case& c : cases) EXPECT_EQ(IsAccel(c.Key, c.Caption), c.Match) << c.Caption;
}

// ---------------------------------------------------------------------------------------------
// Windowed controls and dialog keys


const char* kDialog = R"F(
object Edit1: TEdit {
  Left = 10
  Top = 10
  TabOrder = 0
  OnExit = EditExit
}
object Other: TButton {
  Left = 10
  Top = 50
  Caption = "&Other"
  TabOrder = 1
  OnClick = OtherClick
}
object OK: TButton {
  Left = 100
  Top = 120
  Caption = "&OK"
  Default = true
  ModalResult = 1
  TabOrder = 2
  OnClick = OKClick
}
object Cancel: TButton {
  Left = 180
  Top = 120
  Caption = "&Cancel"
  Cancel = true
  ModalResult = 2
  TabOrder = 3
  OnClick = CancelClick
}
)F";


template <class T>
T* Find(TForm* Form, const char* Name) {
  return dynamic_cast<T*>(Form->FindComponent(Name));
}

QPoint Centre(TControl* C) {
  TPoint p = C->ClientToParent(TPoint(C->Width() / 2, C->Height() / 2), GetParentForm(C));
  return QPoint(p.X, p.Y);
}

TEST(DialogKeys, EnterRunsTheDefaultButtonAndEscTheCancelButton) {
  auto form = FormFrom(kDialog);
  auto* edit = Find<TEdit>(form.get(), "Edit1");
  edit->SetFocus();
  guitest::Key(form.get(), Qt::Key_Return);
  EXPECT_EQ(form->ModalResult(), mrOk);
  form->SetModalResult(mrNone);
  guitest::Key(form.get(), Qt::Key_Escape);
  EXPECT_EQ(form->ModalResult(), mrCancel);
  // A focused button is the one Enter clicks.
  form->SetModalResult(mrNone);
  Find<TButton>(form.get(), "Other")->SetFocus();
  guitest::Key(form.get(), Qt::Key_Return);
  EXPECT_EQ(form->ModalResult(), mrNone);
  // Alt with an access key clicks a button from anywhere, the edit included.
  edit->SetFocus();
  guitest::Key(form.get(), Qt::Key_C, Qt::AltModifier, "c");
  EXPECT_EQ(form->ModalResult(), mrCancel);
  EXPECT_EQ(form->Log, (std::vector<std::string>{"ok", "cancel", "exit ", "other", "cancel"}));
}

TEST(DialogKeys, TabAndShiftTabFollowTheTabOrder) {
  auto form = FormFrom(kDialog);
  std::vector<std::string> order;
  Find<TEdit>(form.get(), "Edit1")->SetFocus();
  for (int i = 0; i < 4; ++i) {
    guitest::Key(form.get(), Qt::Key_Tab);
    order.push_back(form->ActiveControl() ? form->ActiveControl()->Name() : "none");
  }
  guitest::Key(form.get(), Qt::Key_Backtab, Qt::ShiftModifier);
  order.push_back(form->ActiveControl()->Name());
  EXPECT_EQ(order, (std::vector<std::string>{"Other", "OK", "Cancel", "Edit1", "Cancel"}));
  EXPECT_TRUE(Find<TButton>(form.get(), "Cancel")->Focused());
}

// A click on OK first moves the focus there, so the edit's exit check runs before OK's click;
// when the check keeps the focus, nothing is clicked.
TEST(DialogKeys, ClickingOKRunsTheEditsExitCheckFirst) {
  auto form = FormFrom(kDialog);
  auto* edit = Find<TEdit>(form.get(), "Edit1");
  auto* ok = Find<TButton>(form.get(), "OK");
  edit->SetFocus();
  edit->SetText("bad");
  guitest::Click(form.get(), Centre(ok));
  EXPECT_EQ(form->Log, (std::vector<std::string>{"exit bad"}));
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(form->ModalResult(), mrNone);
  edit->SetText("good");
  guitest::Click(form.get(), Centre(ok));
  EXPECT_EQ(form->Log, (std::vector<std::string>{"exit bad", "exit good", "ok"}));
  EXPECT_TRUE(ok->Focused());
  EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST(DialogKeys, AModalResultOnAButtonEndsTheModalForm) {
  auto form = FormFrom(kDialog);
  form->Hide();
  // The click comes from a timer that is due as soon as the modal loop runs.
  SetManualClock(true);
  TTimer timer(nullptr);
  timer.SetInterval(10);
  timer.SetOnTimer([&](TObject*) {
    timer.SetEnabled(false);
    guitest::Click(form.get(), Centre(Find<TButton>(form.get(), "Cancel")));
    if (form->ModalResult() == mrNone) form->SetModalResult(mrAbort);  // never hang
  });
  AdvanceClock(10);
  int result = form->ShowModal();
  SetManualClock(false);
  EXPECT_EQ(result, mrCancel);
  // The edit had the focus from the start, so the click on Cancel leaves it first.
  EXPECT_EQ(form->Log, (std::vector<std::string>{"exit ", "cancel"}));
}

// The caption shows the font's colour while the button is enabled and the palette's grey once it
// is disabled.
TEST(Buttons, CaptionTakesTheFontColourAndGreysWhenDisabled) {
  auto form = guitest::ShowForm(R"(  object Button1: TButton {
    Left = 10
    Top = 10
    Width = 120
    Height = 30
    Caption = "MMMMMMMM"
    Font {
      Color = clRed
      Height = -16
      Name = "DejaVu Sans"
    }
  }
)");
  auto* button = Find<TButton>(form.get(), "Button1");
  auto reddest = [&] {
    QImage shot = GetWindowWidget(button->Handle())->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int best = -255;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) {
        QRgb p = shot.pixel(x, y);
        best = std::max(best, qRed(p) - std::max(qGreen(p), qBlue(p)));
      }
    return best;
  };
  EXPECT_GT(reddest(), 150);
  button->SetEnabled(false);
  Application->ProcessMessages();
  EXPECT_LT(reddest(), 40);
}

TEST(CheckBoxes, ClicksKeysAndTheProgramChangeTheStateAndClick) {
  auto form = FormFrom(R"F(
object Box: TCheckBox {
  Left = 10
  Top = 10
  Width = 120
  Caption = "Check&sum"
  Checked = true
  OnClick = BoxClick
}
object Edit1: TEdit {
  Left = 10
  Top = 40
}
)F");
  auto* box = Find<TCheckBox>(form.get(), "Box");
  EXPECT_TRUE(box->Checked()) << "from the description, without a click";
  EXPECT_TRUE(form->Log.empty());
  guitest::Click(form.get(), Centre(box));
  EXPECT_EQ(box->State(), cbUnchecked);
  EXPECT_TRUE(box->Focused());
  // With grayed allowed the clicks go through three states.
  box->SetAllowGrayed(true);
  std::vector<TCheckBoxState> states;
  for (int i = 0; i < 3; ++i) {
    guitest::Click(form.get(), Centre(box));
    states.push_back(box->State());
  }
  EXPECT_EQ(states, (std::vector<TCheckBoxState>{cbChecked, cbGrayed, cbUnchecked}));
  // The access key focuses and toggles; the program's change clicks too.
  Find<TEdit>(form.get(), "Edit1")->SetFocus();
  guitest::Key(form.get(), Qt::Key_S, Qt::AltModifier, "s");
  EXPECT_TRUE(box->Checked());
  box->SetChecked(false);
  EXPECT_EQ(form->Log.size(), 6u);
  box->SetChecked(false);
  EXPECT_EQ(form->Log.size(), 6u) << "no change, no click";
}

TEST(RadioButtons, OneIsCheckedPerParent) {
  auto form = FormFrom(R"F(
object rbMono: TRadioButton {
  Left = 10
  Top = 10
  Caption = "&Mono (Single)"
  OnClick = BoxClick
}
object rbStereo: TRadioButton {
  Left = 10
  Top = 30
  Caption = "Ste&reo (Dual)"
  Checked = true
  OnClick = BoxClick
}
object Group: TGroupBox {
  Left = 10
  Top = 60
  Width = 200
  Height = 80
  Caption = "&Variable"
  object rbA: TRadioButton {
    Left = 10
    Top = 20
    Caption = "A"
    Checked = true
  }
  object rbB: TRadioButton {
    Left = 10
    Top = 45
    Caption = "B"
  }
}
)F");
  auto* mono = Find<TRadioButton>(form.get(), "rbMono");
  auto* stereo = Find<TRadioButton>(form.get(), "rbStereo");
  auto* a = Find<TRadioButton>(form.get(), "rbA");
  auto* b = Find<TRadioButton>(form.get(), "rbB");
  guitest::Click(form.get(), Centre(mono));
  EXPECT_TRUE(mono->Checked());
  EXPECT_FALSE(stereo->Checked());
  EXPECT_TRUE(a->Checked()) << "another parent, another group";
  // A click on the checked one keeps it checked and does not click again.
  guitest::Click(form.get(), Centre(mono));
  EXPECT_TRUE(mono->Checked());
  EXPECT_EQ(form->Log, (std::vector<std::string>{"box rbMono"}));
  guitest::Click(form.get(), Centre(b));
  EXPECT_TRUE(b->Checked());
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(mono->Checked());
  // The widgets show the same.
  EXPECT_TRUE(qobject_cast<QRadioButton*>(mono->Widget())->isChecked());
  EXPECT_FALSE(qobject_cast<QRadioButton*>(a->Widget())->isChecked());
  // Alt+R checks the stereo button; the group box's key focuses its first control.
  guitest::Key(form.get(), Qt::Key_R, Qt::AltModifier, "r");
  EXPECT_TRUE(stereo->Checked());
  EXPECT_FALSE(mono->Checked());
  guitest::Key(form.get(), Qt::Key_V, Qt::AltModifier, "v");
  EXPECT_TRUE(b->Focused()) << "the checked radio button is the group's tab stop";
}

TEST(RadioGroups, ItemsMakeButtonsAndTheItemIndexFollowsClicks) {
  auto form = FormFrom(R"F(
object Modes: TRadioGroup {
  Left = 10
  Top = 10
  Width = 220
  Height = 90
  Caption = "Mode"
  Columns = 2
  Items = ("Preset", "Specify", "Constant", "Variable")
  ItemIndex = 1
  OnClick = BoxClick
}
)F");
  auto* modes = Find<TRadioGroup>(form.get(), "Modes");
  EXPECT_EQ(modes->ItemIndex(), 1);
  EXPECT_TRUE(modes->Buttons(1)->Checked());
  EXPECT_TRUE(form->Log.empty());
  // Two columns of two: the third item starts the second column.
  EXPECT_EQ(modes->Buttons(2)->Top(), modes->Buttons(0)->Top());
  EXPECT_GT(modes->Buttons(2)->Left(), modes->Buttons(0)->Left() + 50);
  EXPECT_GT(modes->Buttons(1)->Top(), modes->Buttons(0)->Top());
  guitest::Click(form.get(), Centre(modes->Buttons(3)));
  EXPECT_EQ(modes->ItemIndex(), 3);
  EXPECT_FALSE(modes->Buttons(1)->Checked());
  EXPECT_EQ(form->Log, (std::vector<std::string>{"box Modes"}));
  modes->SetItemIndex(0);
  EXPECT_TRUE(modes->Buttons(0)->Checked());
  EXPECT_EQ(form->Log.size(), 2u);
  modes->Items()->Delete(0);
  EXPECT_EQ(modes->ItemIndex(), 0);
  EXPECT_EQ(modes->Buttons(0)->Caption(), "Specify");
}

TEST(Edits, TypingIsFilteredByNumberStyleMaximumLengthAndReadOnly) {
  auto form = FormFrom(R"F(
object Times: TEdit {
  Left = 10
  Top = 10
  MaxLength = 3
  Text = "1"
  OnChange = EditChange
}
object Free: TEdit {
  Left = 10
  Top = 40
}
)F");
  auto* times = Find<TEdit>(form.get(), "Times");
  auto* free = Find<TEdit>(form.get(), "Free");
  EXPECT_EQ(times->Text(), "1");
  SetWindowLongPtr(times->Handle(), GWL_STYLE, GetWindowLongPtr(times->Handle(), GWL_STYLE) | ES_NUMBER);
  guitest::Click(form.get(), Centre(times));
  times->SelectAll();
  int beeps = BeepCount();
  guitest::Type(form.get(), "4a5");
  EXPECT_EQ(times->Text(), "45");
  EXPECT_EQ(BeepCount(), beeps + 1) << "the letter is refused with a beep";
  guitest::Type(form.get(), "678");
  EXPECT_EQ(times->Text(), "456") << "three characters at most";
  EXPECT_EQ(form->Log, (std::vector<std::string>{"change", "change", "change"}));
  // A key filter sees each character first and may drop it.
  free->OnKeyPress = [](TObject*, char32_t& key) {
    if (key == '-') key = 0;
  };
  free->SetFocus();
  guitest::Type(form.get(), "a-b");
  EXPECT_EQ(free->Text(), "ab");
  free->SetReadOnly(true);
  guitest::Type(form.get(), "c");
  EXPECT_EQ(free->Text(), "ab");
  free->SetReadOnly(false);
  guitest::Type(form.get(), "C");
  EXPECT_EQ(free->Text(), "abC");
}

// Destroying a form moves the focus from child to child as they go; the handlers of a form half
// torn down must not run.
TEST(Edits, AFormBeingDestroyedRunsNoExitHandler) {
  auto form = FormFrom(R"F(
object E1: TEdit {
  Left = 10
  Top = 10
}
object E2: TEdit {
  Left = 10
  Top = 40
}
object E3: TEdit {
  Left = 10
  Top = 70
}
)F");
  int exits = 0;
  for (const char* name : {"E1", "E2", "E3"}) Find<TEdit>(form.get(), name)->OnExit = [&exits](TObject*) { ++exits; };
  QWidget* window = GetWindowWidget(form->Handle());
  window->activateWindow();
  for (int i = 0; i < 100 && QApplication::activeWindow() != window; ++i) Application->ProcessMessages();
  ASSERT_EQ(QApplication::activeWindow(), window);
  Find<TEdit>(form.get(), "E2")->SetFocus();
  ASSERT_TRUE(Find<TEdit>(form.get(), "E2")->Focused());
  exits = 0;
  form.reset();
  EXPECT_EQ(exits, 0);
}

TEST(Edits, EnterAndExitFollowTheFocusAndTabSelectsTheText) {
  auto form = FormFrom(R"F(
object E1: TEdit {
  Left = 10
  Top = 10
  Text = "first"
}
object E2: TEdit {
  Left = 10
  Top = 40
  Text = "second"
}
)F");
  auto* e1 = Find<TEdit>(form.get(), "E1");
  auto* e2 = Find<TEdit>(form.get(), "E2");
  std::vector<std::string> log;
  for (TEdit* e : {e1, e2}) {
    e->OnEnter = [&log](TObject* s) { log.push_back("enter " + static_cast<TEdit*>(s)->Name()); };
    e->OnExit = [&log](TObject* s) { log.push_back("exit " + static_cast<TEdit*>(s)->Name()); };
  }
  EXPECT_TRUE(e1->Focused()) << "the first tab stop has the keyboard once the form shows";
  e2->SetFocus();
  e1->SetFocus();
  guitest::Key(form.get(), Qt::Key_Tab);
  EXPECT_EQ(log, (std::vector<std::string>{"exit E1", "enter E2", "exit E2", "enter E1", "exit E1",
                                           "enter E2"}));
  EXPECT_EQ(e2->SelText(), "second");
  // A click places the caret instead of selecting.
  guitest::Click(form.get(), Centre(e1));
  EXPECT_TRUE(e1->Focused());
  EXPECT_EQ(e1->SelLength(), 0);
  EXPECT_EQ(log.back(), "enter E1");
}

TEST(GroupBoxes, EtchedFrameWithTheCaptionAcrossItsTopLine) {
  auto form = FormFrom(R"F(
object Group: TGroupBox {
  Left = 10
  Top = 10
  Width = 200
  Height = 100
  Caption = "Equalizer"
  Color = clBtnFace
}
)F");
  auto* group = Find<TGroupBox>(form.get(), "Group");
  QImage shot = guitest::Shot(group);
  // Etched: a shadow line with a highlight line inside it, on every side.
  EXPECT_EQ(Px(shot, 0, 50), Rgb(clBtnShadow));
  EXPECT_EQ(Px(shot, 1, 50), Rgb(clBtnHighlight));
  EXPECT_EQ(Px(shot, 198, 50), Rgb(clBtnShadow));
  EXPECT_EQ(Px(shot, 199, 50), Rgb(clBtnHighlight));
  EXPECT_EQ(Px(shot, 100, 98), Rgb(clBtnShadow));
  int top = -1;
  for (int y = 0; y < 20 && top < 0; ++y)
    if (Px(shot, 150, y) == Rgb(clBtnShadow)) top = y;
  ASSERT_GT(top, 2) << "the top line runs through the caption's middle";
  // The caption's letters interrupt the line.
  bool ink = false;
  for (int x = 9; x < 40; ++x) ink |= Px(shot, x, top) != Rgb(clBtnShadow);
  EXPECT_TRUE(ink);
}

TEST(ComboBoxes, AListPicksItemsByKeyAndTellsClickThenChange) {
  auto form = FormFrom(R"F(
object cbSampleRate: TComboBox {
  Left = 10
  Top = 10
  Style = csDropDownList
  Items = ("96,000", "88,200", "48,000", "44,100", "32,000")
  ItemIndex = 3
  OnClick = BoxClick
  OnChange = EditChange
}
)F");
  auto* rates = Find<TComboBox>(form.get(), "cbSampleRate");
  EXPECT_EQ(rates->ItemIndex(), 3);
  EXPECT_EQ(rates->Text(), "44,100");
  guitest::Click(form.get(), Centre(rates));
  EXPECT_TRUE(rates->Focused());
  rates->SetDroppedDown(false);
  guitest::Key(form.get(), Qt::Key_Down);
  EXPECT_EQ(rates->ItemIndex(), 4);
  EXPECT_EQ(rates->Text(), "32,000");
  EXPECT_EQ(form->Log, (std::vector<std::string>{"box cbSampleRate", "change"}));
  // The program's choices are silent; a text that is an item selects it.
  rates->SetItemIndex(0);
  rates->SetText("48,000");
  EXPECT_EQ(rates->ItemIndex(), 2);
  rates->SetText("12");
  EXPECT_EQ(rates->ItemIndex(), 2) << "a pick-only list shows only its items";
  EXPECT_EQ(form->Log.size(), 2u);
}

// A stored index that is no longer on the list must select nothing: shown as the last item, it
// would be saved back as a choice the user never made.
TEST(ComboBoxes, AnIndexOffTheListSelectsNothing) {
  auto form = FormFrom(R"F(
object cbRate: TComboBox {
  Style = csDropDownList
  Items = ("96,000", "88,200", "48,000")
  ItemIndex = 7
}
object lbRate: TListBox {
  Top = 40
  Items = ("96,000", "88,200", "48,000")
}
)F");
  auto* combo = Find<TComboBox>(form.get(), "cbRate");
  auto* list = Find<TListBox>(form.get(), "lbRate");
  EXPECT_EQ(combo->ItemIndex(), -1) << "read from a description";
  for (int index : {3, 9, -2}) {
    combo->SetItemIndex(1);
    combo->SetItemIndex(index);
    EXPECT_EQ(combo->ItemIndex(), -1) << index;
    list->SetItemIndex(1);
    list->SetItemIndex(index);
    EXPECT_EQ(list->ItemIndex(), -1) << index;
  }
  combo->SetItemIndex(2);
  EXPECT_EQ(combo->Text(), "48,000");
}

TEST(ComboBoxes, SortedItemsKeepTheirObjectsAndTypedTextChanges) {
  auto form = FormFrom(R"F(
object Voices: TComboBox {
  Left = 10
  Top = 10
  Sorted = true
  OnChange = EditChange
}
)F");
  auto* voices = Find<TComboBox>(form.get(), "Voices");
  TObject first, second, third;
  voices->Items()->AddObject("mbrola", &first);
  voices->Items()->AddObject("english", &second);
  voices->Items()->AddObject("german", &third);
  EXPECT_EQ(voices->Items()->CommaText(), "english,german,mbrola");
  EXPECT_EQ(voices->Items()->Objects(2), &first);
  auto* widget = qobject_cast<QComboBox*>(voices->Widget());
  ASSERT_TRUE(widget);
  EXPECT_EQ(widget->count(), 3);
  EXPECT_EQ(widget->itemText(0), "english");
  voices->SetItemIndex(1);
  EXPECT_EQ(voices->Text(), "german");
  voices->SetFocus();
  widget->lineEdit()->selectAll();
  guitest::Type(form.get(), "mbrola");
  EXPECT_EQ(voices->Text(), "mbrola");
  EXPECT_EQ(voices->ItemIndex(), 2) << "typed text naming an item selects it";
  ASSERT_FALSE(form->Log.empty());
  EXPECT_EQ(form->Log.back(), "change");
}

TEST(ListBoxes, OwnerDrawnRowsSelectByClickAndKeysAndScroll) {
  auto form = FormFrom(R"F(
object Commands: TListBox {
  Left = 10
  Top = 10
  Width = 150
  Height = 100
  Style = lbOwnerDrawFixed
  ItemHeight = 24
  OnClick = BoxClick
}
)F");
  auto* list = Find<TListBox>(form.get(), "Commands");
  for (int i = 0; i < 10; ++i) list->Items()->Add("Command " + std::to_string(i));
  // Even rows blue, odd rows green, the chosen row red.
  list->OnDrawItem = [](TWinControl* c, int index, TRect r, TOwnerDrawState state) {
    TCanvas* canvas = static_cast<TListBox*>(c)->Canvas();
    canvas->Brush()->SetColor(state.Contains(odSelected) ? clRed : index % 2 ? clLime : clBlue);
    canvas->FillRect(r);
  };
  int dbl = 0;
  list->OnDblClick = [&](TObject*) { ++dbl; };
  const int edge = 2;  // the sunken border
  auto rowPixel = [&](const QImage& shot, int row) { return Px(shot, edge + 20, edge + row * 24 + 12); };
  QImage shot = guitest::Shot(list);
  EXPECT_EQ(rowPixel(shot, 0), qRgb(0, 0, 255));
  EXPECT_EQ(rowPixel(shot, 1), qRgb(0, 255, 0));
  EXPECT_EQ(Px(shot, 0, 50), Rgb(clBtnShadow));
  // A click on the second row selects it and clicks the list.
  guitest::Click(form.get(), QPoint(list->Left() + edge + 20, list->Top() + edge + 24 + 12));
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_TRUE(list->Focused());
  shot = guitest::Shot(list);
  EXPECT_EQ(rowPixel(shot, 0), qRgb(0, 0, 255));
  EXPECT_EQ(rowPixel(shot, 1), qRgb(255, 0, 0));
  guitest::Key(form.get(), Qt::Key_Down);
  EXPECT_EQ(list->ItemIndex(), 2);
  guitest::Key(form.get(), Qt::Key_End);
  EXPECT_EQ(list->ItemIndex(), 9);
  EXPECT_EQ(list->TopIndex(), 10 - 96 / 24) << "the chosen row is scrolled into view";
  EXPECT_EQ(form->Log.size(), 3u);
  // The scroll bar's up arrow scrolls one row.
  guitest::Click(form.get(), QPoint(list->Left() + list->Width() - edge - 8, list->Top() + edge + 8));
  EXPECT_EQ(list->TopIndex(), 5);
  EXPECT_EQ(list->ItemIndex(), 9);
  guitest::DoubleClick(form.get(), QPoint(list->Left() + edge + 20, list->Top() + edge + 12));
  EXPECT_EQ(dbl, 1);
  EXPECT_EQ(list->ItemIndex(), 5);
}

TEST(Memos, LinesTypingEnterAndTheDialogKeys) {
  auto form = FormFrom(std::string(kDialog) + R"F(
object MemoInputString: TMemo {
  Left = 10
  Top = 80
  Width = 80
  Height = 40
  Lines = ("one", "two")
  ScrollBars = ssVertical
  OnChange = EditChange
}
)F");
  auto* memo = Find<TMemo>(form.get(), "MemoInputString");
  EXPECT_EQ(memo->Text(), "one\ntwo");
  EXPECT_EQ(memo->Lines()->Count(), 2);
  auto* widget = qobject_cast<QPlainTextEdit*>(memo->Widget());
  ASSERT_TRUE(widget);
  EXPECT_EQ(widget->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  memo->Lines()->Add("three");
  EXPECT_EQ(memo->Lines()->Strings(2), "three");
  // (A click lands on the edit's inner viewport, which Qt focuses by itself.)
  memo->SetFocus();
  form->Log.clear();
  widget->moveCursor(QTextCursor::End);
  guitest::Key(form.get(), Qt::Key_Return, Qt::NoModifier, "\r");
  guitest::Type(form.get(), "4");
  EXPECT_EQ(memo->Lines()->Count(), 4);
  EXPECT_EQ(memo->Lines()->Strings(3), "4");
  EXPECT_EQ(form->ModalResult(), mrNone) << "Enter made a line, not a click";
  EXPECT_EQ(form->Log, (std::vector<std::string>{"change", "change"}));
  guitest::Key(form.get(), Qt::Key_Escape);
  EXPECT_EQ(form->ModalResult(), mrCancel);
  // Without returns Enter is the dialog's again; a full memo refuses more with a beep.
  form->SetModalResult(mrNone);
  memo->SetWantReturns(false);
  guitest::Key(form.get(), Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_EQ(form->ModalResult(), mrOk);
  memo->SetMaxLength(int(widget->toPlainText().size()));
  int beeps = BeepCount();
  guitest::Type(form.get(), "x");
  EXPECT_EQ(memo->Lines()->Strings(3), "4");
  EXPECT_EQ(BeepCount(), beeps + 1);
  memo->Lines()->Clear();
  EXPECT_EQ(memo->Lines()->Count(), 0);
}

}  // namespace
