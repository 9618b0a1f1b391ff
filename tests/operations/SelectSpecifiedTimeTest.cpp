#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DialogTestUtil.h"
#include "operations/SelectSpecifiedTime.h"

using namespace dialogtest;

namespace {

TEST(SelectSpecifiedTime, ParseTimeReadsTheSixFormsAndRefusesEverythingElse) {
  struct Case {
    const char* text;
    int64_t ms;
  } cases[] = {
      {"1:02:03.4", 3723004},
      {"2:03.4", 123004},
      {"3.4", 3004},
      {"3", 3000},
      {"2:3", 123000},
      {"1:2:3", 3723000},
      {"1:02:03.450", 3723450},
      {"1.5", 1005},
      {"1.500", 1500},
      {"1:", 60000},
      {"0:75", 75000},
      {"90", 90000},
      {"::.", 0},
      {"596:31:23.648", 2147483648},  // past 32 bits, still exact
      {"1.2:3", -1},
      {"1:2:3:4", -1},
      {"1..2", -1},
      {"1:2.3.4", -1},
      {"1:2.3:4", -1},
      {"abc", -1},
      {"", -1},
      {"1 2", -1},
      {"-1", -1},
      {"1,5", -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TSelectSpecifiedTimeForm::ParseTime(c.text), c.ms) << '"' << c.text << '"';
  // An absurd number of hours stays absurdly large instead of wrapping around.
  EXPECT_GT(TSelectSpecifiedTimeForm::ParseTime("99999999999999999999999:00:00"), int64_t(1) << 40);
}

std::unique_ptr<TSelectSpecifiedTimeForm> ShownSelection(int start, int end, int length) {
  auto form = std::make_unique<TSelectSpecifiedTimeForm>(nullptr);
  form->InitialStartMs = start;
  form->InitialEndMs = end;
  form->FileLengthMs = length;
  form->CursorMs = start;
  form->Show();
  Application->ProcessMessages();
  return form;
}

TEST(SelectSpecifiedTime, LeavingAnEditKeepsStartAndEndInOrderAndWithinTheFile) {
  struct Case {
    const char* edit;
    const char* typed;
    int start, end;
    const char *startText, *endText, *lengthText;
  } cases[] = {
      // From a selection of 1 s .. 5 s in a file of 10 s.
      {"EditStart", "7", 7000, 7000, "0:00:07.000", "0:00:07.000", "0:00:00.000"},
      {"EditStart", "20", 10000, 10000, "0:00:10.000", "0:00:10.000", "0:00:00.000"},
      {"EditStart", "999999999:00:00", 10000, 10000, "0:00:10.000", "0:00:10.000", "0:00:00.000"},
      {"EditStart", "2.5", 2005, 5000, "0:00:02.005", "0:00:05.000", "0:00:02.995"},
      {"EditStart", "5", 5000, 5000, "0:00:05.000", "0:00:05.000", "0:00:00.000"},
      {"EditStart", "abc", 1000, 5000, "0:00:01.000", "0:00:05.000", "0:00:04.000"},
      {"EditEnd", "0.5", 1000, 1000, "0:00:01.000", "0:00:01.000", "0:00:00.000"},
      {"EditEnd", "1:00", 1000, 10000, "0:00:01.000", "0:00:10.000", "0:00:09.000"},
      {"EditEnd", "3", 1000, 3000, "0:00:01.000", "0:00:03.000", "0:00:02.000"},
      {"EditEnd", "1:2.3:4", 1000, 5000, "0:00:01.000", "0:00:05.000", "0:00:04.000"},
      {"EditLength", "20", 1000, 10000, "0:00:01.000", "0:00:10.000", "0:00:09.000"},
      {"EditLength", "2", 1000, 3000, "0:00:01.000", "0:00:03.000", "0:00:02.000"},
      {"EditLength", "x", 1000, 5000, "0:00:01.000", "0:00:05.000", "0:00:04.000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.edit) + " <- " + c.typed);
    auto form = ShownSelection(1000, 5000, 10000);
    EXPECT_EQ(form->EditStart->Text(), "0:00:01.000");
    EXPECT_EQ(form->EditLength->Text(), "0:00:04.000");
    TypeInto(DialogComponent<TEdit>(form.get(), c.edit), c.typed);
    ClickOn(form->ButtonOK);  // leaving the edit checks it
    EXPECT_EQ(form->ModalResult(), mrOk);
    EXPECT_EQ(form->StartMs, c.start);
    EXPECT_EQ(form->EndMs, c.end);
    EXPECT_EQ(form->SelectStartMs, c.start);
    EXPECT_EQ(form->SelectEndMs, c.end);
    EXPECT_EQ(form->EditStart->Text(), c.startText);
    EXPECT_EQ(form->EditEnd->Text(), c.endText);
    EXPECT_EQ(form->EditLength->Text(), c.lengthText);
  }
}

TEST(SelectSpecifiedTime, ARefusedTextGivesBackTheTextTheEditHadWhenEntered) {
  auto form = ShownSelection(1000, 5000, 10000);
  TypeInto(form->EditEnd, "3");
  ClickOn(form->EditStart);
  EXPECT_EQ(form->EditEnd->Text(), "0:00:03.000");
  // The end edit was entered again showing 3 s, so a refused text returns to that.
  TypeInto(form->EditEnd, "1..2");
  ClickOn(form->EditLength);
  EXPECT_EQ(form->EditEnd->Text(), "0:00:03.000");
  EXPECT_EQ(form->EndMs, 3000);
}

TEST(SelectSpecifiedTime, EnterAtOnceConfirmsTheInitialSelection) {
  auto form = std::make_unique<TSelectSpecifiedTimeForm>(nullptr);
  form->InitialStartMs = 1500;
  form->InitialEndMs = 2500;
  form->FileLengthMs = 60000;
  const int result = RunModal(form.get(), [&] { guitest::Key(form.get(), Qt::Key_Return); });
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(form->SelectStartMs, 1500);
  EXPECT_EQ(form->SelectEndMs, 2500);
}

TEST(SelectSpecifiedTime, EnterInAnEditChecksItBeforeTheDialogEnds) {
  auto form = std::make_unique<TSelectSpecifiedTimeForm>(nullptr);
  form->InitialStartMs = 0;
  form->InitialEndMs = 1000;
  form->FileLengthMs = 60000;
  const int result = RunModal(form.get(), [&] {
    TypeInto(form->EditLength, "1:00:00");
    guitest::Key(form.get(), Qt::Key_Return);
  });
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(form->SelectStartMs, 0);
  EXPECT_EQ(form->SelectEndMs, 60000);
}

TEST(SelectSpecifiedTime, CancelLeavesTheResultAtTheInitialSelection) {
  auto form = std::make_unique<TSelectSpecifiedTimeForm>(nullptr);
  form->InitialStartMs = 100;
  form->InitialEndMs = 200;
  form->FileLengthMs = 60000;
  const int result = RunModal(form.get(), [&] {
    TypeInto(form->EditStart, "30");
    ClickOn(form->ButtonCancel);
  });
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(form->SelectStartMs, 100);
  EXPECT_EQ(form->SelectEndMs, 200);
}

}  // namespace
