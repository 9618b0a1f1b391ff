#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/rtl/Streaming.h"
#include "platform/rtl/TypInfo.h"
#include "suite/core/cxStyles.h"

namespace {

class TRecordingStyles : public TcxCustomStyles {
 public:
  using TcxCustomStyles::TcxCustomStyles;
  std::vector<int> Changed;

 protected:
  void StyleValueChanged(int Index) override { Changed.push_back(Index); }
};

class TOtherStyles : public TcxCustomStyles {
 public:
  using TcxCustomStyles::TcxCustomStyles;
};

class TRecordingSheet : public TcxCustomStyleSheet {
 public:
  using TcxCustomStyleSheet::TcxCustomStyleSheet;
  TcxCustomStyles* CreateStyles() override { return new TRecordingStyles(this); }
};

class TOtherSheet : public TcxCustomStyleSheet {
 public:
  using TcxCustomStyleSheet::TcxCustomStyleSheet;
  TcxCustomStyles* CreateStyles() override { return new TOtherStyles(this); }
};

const bool kRegistered = [] {
  RegisterClass<TRecordingSheet, TcxCustomStyleSheet>();
  RegisterClass<TOtherSheet, TcxCustomStyleSheet>();
  return true;
}();

const TClassInfo* StyleClass() { return FindClassInfo(typeid(TcxStyle)); }

}  // namespace

TEST(Styles, AssignedValuesFollowTheValues) {
  TcxStyleRepository repo(nullptr);
  auto* style = static_cast<TcxStyle*>(repo.NewStyle(StyleClass()));
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(style->StyleRepository(), &repo);
  EXPECT_EQ(repo.Count(), 1);
  TRecordingStyles users(nullptr);
  users.SetValues(3, style);
  users.Changed.clear();

  style->SetColor(clRed);
  EXPECT_TRUE(style->AssignedValues().Contains(svColor));
  style->SetColor(clRed);
  EXPECT_EQ(users.Changed, std::vector<int>{3}) << "an equal colour changes nothing";
  style->SetColor(clDefault);
  EXPECT_FALSE(style->AssignedValues().Contains(svColor));
  style->SetTextColor(clBlue);
  style->Font()->SetName("DejaVu Sans");
  EXPECT_TRUE(style->AssignedValues().Contains(svFont));
  EXPECT_EQ(users.Changed.size(), 4u);

  TBitmap pic;
  pic.SetSize(8, 8);
  pic.Canvas()->SetPixel(3, 3, clRed);
  users.Changed.clear();
  style->SetBitmap(&pic);
  EXPECT_TRUE(style->AssignedValues().Contains(svBitmap));
  EXPECT_EQ(users.Changed.size(), 1u) << "one report for the assignment";
  EXPECT_EQ(style->Bitmap()->Canvas()->Pixel(3, 3), clRed) << "the style keeps its own copy";
  style->Bitmap()->SetSize(0, 0);
  EXPECT_FALSE(style->AssignedValues().Contains(svBitmap)) << "an emptied picture clears the bit";
  style->SetBitmap(&pic);
  style->SetBitmap(nullptr);
  EXPECT_FALSE(style->AssignedValues().Contains(svBitmap));
  style->SetBitmap(&pic);

  // What is stored is what is assigned: the colour left clDefault is not written.
  std::string text = WriteComponentToText(style);
  EXPECT_EQ(text.find("\n  Color ="), std::string::npos) << text;
  EXPECT_NE(text.find("TextColor = clBlue"), std::string::npos) << text;
  EXPECT_NE(text.find("DejaVu Sans"), std::string::npos) << text;

  // The picture travels with the description and sets its bit when read.
  EXPECT_NE(text.find("Bitmap = hex"), std::string::npos) << text;
  TcxStyle back(nullptr);
  ReadComponentFromText(&back, text);
  EXPECT_TRUE(back.AssignedValues().Contains(svBitmap));
  EXPECT_EQ(back.Bitmap()->Width(), 8);
  EXPECT_EQ(back.Bitmap()->Canvas()->Pixel(3, 3), clRed);
  EXPECT_EQ(back.TextColor(), clBlue);

  style->ResetValues();
  EXPECT_TRUE(style->AssignedValues().Empty());
  EXPECT_TRUE(style->Bitmap()->Empty());
  EXPECT_EQ(style->TextColor(), clDefault);
  EXPECT_EQ(style->Font()->Name(), "DejaVu Sans") << "the font keeps its value";

  style->Font()->SetHeight(-11);
  style->ApplyScale(144, 96);
  EXPECT_EQ(style->Font()->Height(), -17) << "MulDiv rounds half away from zero";
}

TEST(Styles, FreeingAStyleUnlinksEveryUserAndReportsEachIndex) {
  TcxStyleRepository repo(nullptr);
  auto* a = repo.NewStyle(StyleClass());
  auto* b = repo.NewStyle(StyleClass());
  TRecordingStyles one(nullptr), two(nullptr);
  one.SetValues(1, a);
  one.SetValues(2, a);
  one.SetValues(5, b);
  two.SetValues(7, a);
  EXPECT_EQ(a->WatcherCount(), 2);
  one.Changed.clear();
  two.Changed.clear();
  static_cast<TcxStyle*>(a)->SetColor(clGreen);
  EXPECT_EQ(one.Changed, (std::vector<int>{1, 2}));
  EXPECT_EQ(two.Changed, std::vector<int>{7});

  one.Changed.clear();
  two.Changed.clear();
  delete a;
  EXPECT_EQ(repo.Count(), 1);
  EXPECT_EQ(one.LinkCount(), 1);
  EXPECT_EQ(one.Values(1), nullptr);
  EXPECT_EQ(one.Values(5), b);
  EXPECT_EQ(two.LinkCount(), 0);
  std::vector<int> oneChanged = one.Changed;
  std::sort(oneChanged.begin(), oneChanged.end());
  EXPECT_EQ(oneChanged, (std::vector<int>{1, 2}));
  EXPECT_EQ(two.Changed, std::vector<int>{7});
}

namespace {
// A watcher that removes another (or itself) while a change is being told, and one that never
// removes itself when the style goes.
struct TWatcher : IcxStyleWatcher {
  TcxCustomStyle* Style = nullptr;
  IcxStyleWatcher* RemoveOnModified = nullptr;
  bool LeaveOnRemoving = true;
  int Modified = 0, Removing = 0;
  void StyleModified(TcxCustomStyle*) override {
    ++Modified;
    if (RemoveOnModified) Style->RemoveWatcher(RemoveOnModified);
  }
  void StyleRemoving(TcxCustomStyle* S) override {
    ++Removing;
    if (LeaveOnRemoving) S->RemoveWatcher(this);
  }
};
}  // namespace

TEST(Styles, WatchersRemovedDuringANotificationAreNotCalled) {
  auto* style = new TcxStyle(nullptr);
  TWatcher first, second, third;
  for (auto* w : {&first, &second, &third}) {
    w->Style = style;
    style->AddWatcher(w);
  }
  style->AddWatcher(&first);
  EXPECT_EQ(style->WatcherCount(), 3);
  // Called from the last to the first: third takes second off before its turn.
  third.RemoveOnModified = &second;
  style->SetColor(clRed);
  EXPECT_EQ(third.Modified, 1);
  EXPECT_EQ(second.Modified, 0);
  EXPECT_EQ(first.Modified, 1);
  // A watcher that does not leave when the style goes is taken off after its call.
  first.LeaveOnRemoving = false;
  delete style;
  EXPECT_EQ(first.Removing, 1);
  EXPECT_EQ(third.Removing, 1);
  EXPECT_EQ(second.Removing, 0);
}

TEST(StyleSheets, SheetsAreSharedAndRefusedWhenForeignOrCyclic) {
  TComponent form(nullptr);
  auto* repo = new TcxStyleRepository(&form);
  auto* style = static_cast<TcxStyle*>(repo->NewStyleOwned(StyleClass(), &form));
  auto* sheetA = repo->NewStyleSheetOwned(FindClassInfo(typeid(TRecordingSheet)), &form);
  auto* sheetB = repo->NewStyleSheetOwned(FindClassInfo(typeid(TRecordingSheet)), &form);
  auto* foreign = repo->NewStyleSheetOwned(FindClassInfo(typeid(TOtherSheet)), &form);
  ASSERT_NE(sheetA, nullptr);
  EXPECT_EQ(repo->StyleSheetCount(), 3);
  sheetA->GetStyles()->SetValues(4, style);
  sheetB->GetStyles()->SetValues(6, style);

  TRecordingStyles user(nullptr);
  user.SetStyleSheet(foreign);
  EXPECT_EQ(user.StyleSheet(), nullptr) << "a sheet of another styles class is refused";
  EXPECT_TRUE(user.Changed.empty());

  // Choosing a sheet reports the indexes of its chain once each.
  sheetA->GetStyles()->SetStyleSheet(sheetB);
  user.SetStyleSheet(sheetA);
  EXPECT_EQ(user.StyleSheet(), sheetA);
  EXPECT_EQ(user.Changed, (std::vector<int>{4, 6}));
  EXPECT_EQ(user.EffectiveValues(6), style) << "found through the chain";

  // B using A while A uses B is refused; so is a sheet using itself.
  sheetB->GetStyles()->SetStyleSheet(sheetA);
  EXPECT_EQ(sheetB->GetStyles()->StyleSheet(), nullptr);
  sheetA->GetStyles()->SetStyleSheet(sheetA);
  EXPECT_EQ(sheetA->GetStyles()->StyleSheet(), sheetB);

  // A change of a style in a sheet reaches the sheet's users; one in a chained sheet too.
  user.Changed.clear();
  style->SetColor(clYellow);
  std::sort(user.Changed.begin(), user.Changed.end());
  EXPECT_EQ(user.Changed, (std::vector<int>{4, 6}));

  // Freeing a sheet detaches its users.
  user.Changed.clear();
  delete sheetA;
  EXPECT_EQ(user.StyleSheet(), nullptr);
  EXPECT_EQ(user.Changed, (std::vector<int>{4, 6}));
  EXPECT_EQ(repo->StyleSheetCount(), 2);
}

TEST(StyleSheets, CaptionEqualToTheNameIsNotStored) {
  TcxStyleRepository repo(nullptr);
  auto* sheet = repo.NewStyleSheet(FindClassInfo(typeid(TRecordingSheet)));
  sheet->SetName("GridSheet");
  EXPECT_EQ(sheet->Caption(), "GridSheet");
  sheet->SetCaption("gridsheet");
  EXPECT_EQ(sheet->Caption(), "GridSheet");
  EXPECT_FALSE(sheet->IsCaptionStored());
  sheet->SetCaption("Grid colours");
  EXPECT_EQ(sheet->Caption(), "Grid colours");
  EXPECT_TRUE(sheet->IsCaptionStored());
}

TEST(StyleRepository, RoundTripThroughADescription) {
  TComponent form(nullptr);
  form.SetName("Form1");
  auto* repo = new TcxStyleRepository(&form);
  repo->SetName("Repository");
  auto* style = static_cast<TcxStyle*>(repo->NewStyleOwned(StyleClass(), &form));
  style->SetName("Hot");
  style->SetColor(clRed);
  auto* sheet = repo->NewStyleSheetOwned(FindClassInfo(typeid(TRecordingSheet)), &form);
  sheet->SetName("Sheet1");
  sheet->SetCaption("Warm");
  std::string text = WriteComponentToText(&form);
  EXPECT_NE(text.find("BuiltIn = false"), std::string::npos) << text;

  TComponent back(nullptr);
  ReadComponentFromText(&back, text);
  auto* repo2 = dynamic_cast<TcxStyleRepository*>(back.FindComponent("Repository"));
  ASSERT_NE(repo2, nullptr) << text;
  ASSERT_EQ(repo2->Count(), 1);
  auto* hot = dynamic_cast<TcxStyle*>(repo2->Items(0));
  ASSERT_NE(hot, nullptr);
  EXPECT_EQ(hot->Name(), "Hot");
  EXPECT_EQ(hot->Color(), clRed);
  EXPECT_EQ(hot->AssignedValues(), TcxStyleValues{svColor});
  ASSERT_EQ(repo2->StyleSheetCount(), 1);
  EXPECT_EQ(repo2->StyleSheets(0)->Caption(), "Warm");
  EXPECT_EQ(WriteComponentToText(&back), text);
}
