// The common controls built from descriptions on real widgets (offscreen) and driven with real
// mouse and key events: list-view sorting, selection and owned data; hidden tabs; scroll-bar
// events; date and time texts; progress steps.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/GuiInput.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Streaming.h"
#include "platform/win/QtWindows.h"

namespace {

// Counts the objects rows own that are still alive.
struct TRowData : TObject {
  static inline int Alive = 0;
  std::string Tag;
  explicit TRowData(std::string t) : Tag(std::move(t)) { ++Alive; }
  ~TRowData() override { --Alive; }
};

// A form whose handlers the descriptions below bind.
class TControlsForm : public TForm {
 public:
  explicit TControlsForm(TComponent* AOwner) : TForm(AOwner) {}
  std::vector<std::string> Log;
  int SortColumn = 0;

  // The region list's ordering: captions or sub-items without regard to case, empty texts last.
  static int CompareTexts(TListItem* a, TListItem* b, LPARAM column) {
    auto text = [column](TListItem* i) {
      if (column == 0) return i->Caption();
      return column - 1 < i->SubItems()->Count() ? i->SubItems()->Strings(int(column - 1)) : std::string();
    };
    std::string x = text(a), y = text(b);
    if (x.empty() != y.empty()) return x.empty() ? 1 : -1;
    return AnsiCompareText(x, y);
  }
  void ListColumnClick(TObject* Sender, TListColumn* Column) {
    auto* list = static_cast<TListView*>(Sender);
    Log.push_back("column " + Column->Caption());
    if (Column->Index() == SortColumn) {
      list->CustomSort([](TListItem* a, TListItem* b, LPARAM c) { return -CompareTexts(a, b, c); }, Column->Index());
      SortColumn = -1;
    } else {
      list->CustomSort(CompareTexts, Column->Index());
      SortColumn = Column->Index();
    }
  }
  void ListSelectItem(TObject*, TListItem* Item, bool Selected) {
    Log.push_back((Selected ? "select " : "unselect ") + Item->Caption());
  }
  void ListDblClick(TObject*) { Log.push_back("double click"); }
  void PagesChange(TObject* Sender) {
    Log.push_back("page " + static_cast<TPageControl*>(Sender)->ActivePage()->Name());
  }
  void PagesChanging(TObject*, bool& Allow) { Allow = AllowPageChange; }
  bool AllowPageChange = true;
  void BarChange(TObject* Sender) { Log.push_back("change " + std::to_string(static_cast<TScrollBar*>(Sender)->Position())); }
  void BarScroll(TObject*, TScrollCode Code, int& Pos) {
    static const char* names[] = {"line up", "line down", "page up", "page down", "position",
                                  "track", "top", "bottom", "end"};
    Log.push_back(std::string(names[int(Code)]) + " " + std::to_string(Pos));
    if (Code == scPageDown) Pos += 1000;  // the handler may send the bar elsewhere
  }
  void PickerChange(TObject*) { Log.push_back("picked"); }
};

void Register() {
  static bool done = [] {
    RegisterGuiClasses();
    RegisterClass<TControlsForm, TForm>();
    Published<TControlsForm>()
        .Method("ListColumnClick", &TControlsForm::ListColumnClick)
        .Method("ListSelectItem", &TControlsForm::ListSelectItem)
        .Method("ListDblClick", &TControlsForm::ListDblClick)
        .Method("PagesChange", &TControlsForm::PagesChange)
        .Method("PagesChanging", &TControlsForm::PagesChanging)
        .Method("BarChange", &TControlsForm::BarChange)
        .Method("BarScroll", &TControlsForm::BarScroll)
        .Method("PickerChange", &TControlsForm::PickerChange);
    return true;
  }();
  (void)done;
}

std::unique_ptr<TControlsForm> MakeForm(const std::string& Body) {
  Register();
  auto form = std::make_unique<TControlsForm>(nullptr);
  ReadComponentFromText(form.get(), "object Form: TControlsForm {\n  Width = 500\n  Height = 400\n" + Body + "}\n");
  form->Show();
  Application->ProcessMessages();
  return form;
}

template <class W>
W* Widget(TWinControl* c) {
  return qobject_cast<W*>(GetWindowWidget(c->Handle()));
}

// A point of a widget inside the form (what the user aims at), in the form's coordinates.
QPoint At(TWinControl* Form, QWidget* Part, QPoint Local) { return Part->mapTo(GetWindowWidget(Form->Handle()), Local); }

std::vector<std::string> Shown(QTreeWidget* tree, int column) {
  std::vector<std::string> rows;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) rows.push_back(tree->topLevelItem(i)->text(column).toStdString());
  return rows;
}

std::vector<std::string> Captions(TListView* list) {
  std::vector<std::string> rows;
  for (int i = 0; i < list->Items()->Count(); ++i) rows.push_back(list->Items()->Item(i)->Caption());
  return rows;
}

const char* kRegionList = R"(  object List: TListView {
    Left = 8
    Top = 8
    Width = 400
    Height = 200
    Columns = items {
      item {
        Caption = "Name"
        Width = 120
      }
      item {
        Caption = "Time"
        Width = 100
      }
    }
    Font {
      Height = -15
      Name = "DejaVu Sans"
    }
    HideSelection = false
    MultiSelect = true
    ReadOnly = true
    RowSelect = true
    ViewStyle = vsReport
    OnColumnClick = ListColumnClick
    OnDblClick = ListDblClick
    OnSelectItem = ListSelectItem
  }
)";

TListView* FillRegions(TControlsForm* form) {
  auto* list = static_cast<TListView*>(form->FindComponent("List"));
  const char* rows[][2] = {{"beta", "0:00:02"}, {"Alpha", ""}, {"gamma", "0:00:01"}, {"alpha 2", "0:00:03"}};
  for (auto& r : rows) {
    TListItem* item = list->Items()->Add();
    item->SetCaption(r[0]);
    item->SubItems()->Add(r[1]);
    item->SetData(std::make_unique<TRowData>(r[0]));
  }
  return list;
}

TEST(ListView, HeaderClicksSortAscendingThenDescendingWithEmptyTextsLast) {
  auto form = MakeForm(kRegionList);
  TListView* list = FillRegions(form.get());
  auto* tree = Widget<QTreeWidget>(list);
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->headerItem()->text(0), "Name");
  EXPECT_EQ(tree->columnWidth(1), 100);
  // The rows show in the list's font, also after it changes.
  EXPECT_EQ(tree->font().pixelSize(), 15);
  list->Font()->SetHeight(-18);
  EXPECT_EQ(tree->font().pixelSize(), 18);
  QHeaderView* header = tree->header();
  auto clickColumn = [&](int c) {
    guitest::Click(form.get(), At(form.get(), header->viewport(), QPoint(header->sectionPosition(c) + 5, header->height() / 2)));
  };

  clickColumn(1);  // Time, ascending: empty last
  EXPECT_EQ(Shown(tree, 1), (std::vector<std::string>{"0:00:01", "0:00:02", "0:00:03", ""}));
  EXPECT_EQ(Captions(list), (std::vector<std::string>{"gamma", "beta", "alpha 2", "Alpha"}));
  clickColumn(1);  // again: descending, empty first
  EXPECT_EQ(Shown(tree, 1), (std::vector<std::string>{"", "0:00:03", "0:00:02", "0:00:01"}));
  clickColumn(0);  // Name without regard to case
  EXPECT_EQ(Shown(tree, 0), (std::vector<std::string>{"Alpha", "alpha 2", "beta", "gamma"}));
  EXPECT_EQ(form->Log.front(), "column Time");
  // Each row kept its own data through the sorts.
  for (int i = 0; i < list->Items()->Count(); ++i)
    EXPECT_EQ(static_cast<TRowData*>(list->Items()->Item(i)->Data())->Tag, list->Items()->Item(i)->Caption());
}

TEST(ListView, OwnedDataIsFreedWithItsRowAndWithTheList) {
  TRowData::Alive = 0;
  {
    auto form = MakeForm(kRegionList);
    TListView* list = FillRegions(form.get());
    std::vector<std::string> deleted;
    list->OnDeletion = [&](TObject*, TListItem* item) {
      // The data is still there while the handler looks at it.
      deleted.push_back(static_cast<TRowData*>(item->Data())->Tag);
    };
    EXPECT_EQ(TRowData::Alive, 4);
    list->Items()->Item(1)->Delete();
    EXPECT_EQ(TRowData::Alive, 3);
    EXPECT_EQ(deleted, (std::vector<std::string>{"Alpha"}));
    // Replacing a row's data releases the old object.
    list->Items()->Item(0)->SetData(std::make_unique<TRowData>("renamed"));
    EXPECT_EQ(TRowData::Alive, 3);
    EXPECT_EQ(Widget<QTreeWidget>(list)->topLevelItemCount(), 3);
    list->Items()->Delete(2);
    EXPECT_EQ(TRowData::Alive, 2);
    EXPECT_EQ(Shown(Widget<QTreeWidget>(list), 0), (std::vector<std::string>{"beta", "gamma"}));
  }
  // The rows still listed go with the form.
  EXPECT_EQ(TRowData::Alive, 0);
}

TEST(ListView, ClicksSelectRowsAndTheCaptionSearchIgnoresCase) {
  auto form = MakeForm(kRegionList);
  TListView* list = FillRegions(form.get());
  auto* tree = Widget<QTreeWidget>(list);
  auto rowPoint = [&](int i) { return tree->visualItemRect(tree->topLevelItem(i)).center(); };
  auto onRow = [&](int i) { return At(form.get(), tree->viewport(), rowPoint(i)); };
  guitest::Click(form.get(), onRow(1));
  guitest::Click(form.get(), onRow(3), Qt::ControlModifier);
  EXPECT_EQ(list->SelCount(), 2);
  EXPECT_EQ(list->Selected(), list->Items()->Item(1));
  EXPECT_EQ(list->ItemFocused(), list->Items()->Item(3));
  EXPECT_TRUE(list->Items()->Item(3)->Selected());
  EXPECT_EQ(form->Log, (std::vector<std::string>{"select Alpha", "select alpha 2"}));
  // A double click reaches the list's handler with the row under it selected.
  form->Log.clear();
  guitest::DoubleClick(form.get(), onRow(0));
  EXPECT_EQ(form->Log.back(), "double click");
  EXPECT_EQ(list->SelCount(), 1);
  EXPECT_EQ(list->ItemIndex(), 0);
  EXPECT_EQ(list->GetItemAt(rowPoint(2).x() + tree->viewport()->x(), rowPoint(2).y() + tree->viewport()->y()),
            list->Items()->Item(2));

  struct TCase {
    int Start;
    const char* Value;
    bool Partial, Inclusive, Wrap;
    int Found;
  } cases[] = {
      {0, "ALPHA", false, true, false, 1},   // whole caption, any case
      {0, "alpha", true, true, false, 1},    // first caption starting so
      {1, "alpha", true, false, false, 3},   // after the start
      {2, "beta", false, false, false, -1},  // not after row 2
      {2, "beta", false, false, true, 0},    // found by going on from the top
      {0, "alph", false, true, true, -1},    // a part is not the whole
  };
  for (const TCase& c : cases) {
    TListItem* found = list->FindCaption(c.Start, c.Value, c.Partial, c.Inclusive, c.Wrap);
    EXPECT_EQ(found ? found->Index() : -1, c.Found) << c.Value << " from " << c.Start;
  }
}

TEST(ListView, SelectionMadeInCodeShowsAndSingleSelectionStaysSingle) {
  auto form = MakeForm(kRegionList);
  TListView* list = FillRegions(form.get());
  auto* tree = Widget<QTreeWidget>(list);
  list->SelectAll();
  EXPECT_EQ(tree->selectedItems().size(), 4);
  list->SetMultiSelect(false);
  list->SetSelected(list->Items()->Item(2));
  EXPECT_EQ(list->SelCount(), 1);
  ASSERT_EQ(tree->selectedItems().size(), 1);
  EXPECT_EQ(tree->selectedItems().front()->text(0), "gamma");
  list->Items()->Item(0)->SetSelected(true);
  EXPECT_EQ(list->SelCount(), 1);
  EXPECT_EQ(list->ItemIndex(), 0);
  // The window made again shows the same rows and selection.
  list->RecreateWnd();
  tree = Widget<QTreeWidget>(list);
  EXPECT_EQ(Shown(tree, 0), Captions(list));
  ASSERT_EQ(tree->selectedItems().size(), 1);
  EXPECT_EQ(tree->selectedItems().front()->text(0), "beta");
}

// ---------------------------------------------------------------------------------------------

const char* kWizard = R"(  object Pages: TPageControl {
    Left = 0
    Top = 0
    Width = 300
    Height = 200
    ActivePage = Step2
    OnChange = PagesChange
    OnChanging = PagesChanging
    object Step1: TTabSheet {
      Caption = "First"
    }
    object Step2: TTabSheet {
      Caption = "Second"
      TabVisible = false
    }
    object Step3: TTabSheet {
      Caption = "Third"
    }
  }
)";

TEST(PageControl, HiddenTabsKeepTheirPagesAndOnlyVisibleTabsShow) {
  auto form = MakeForm(kWizard);
  auto* pages = static_cast<TPageControl*>(form->FindComponent("Pages"));
  auto* step1 = static_cast<TTabSheet*>(form->FindComponent("Step1"));
  auto* step2 = static_cast<TTabSheet*>(form->FindComponent("Step2"));
  auto* step3 = static_cast<TTabSheet*>(form->FindComponent("Step3"));
  ASSERT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->ActivePage(), step2);
  EXPECT_EQ(step2->TabIndex(), -1);
  EXPECT_EQ(step3->TabIndex(), 1);
  QTabBar* bar = GetWindowWidget(pages->Handle())->findChild<QTabBar*>();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->count(), 2);
  EXPECT_EQ(bar->tabText(1), "Third");
  // Only the active page shows, inside the frame below the tabs.
  EXPECT_TRUE(GetWindowWidget(step2->Handle())->isVisible());
  EXPECT_FALSE(GetWindowWidget(step1->Handle())->isVisible());
  EXPECT_GE(step2->Top(), bar->height());
  EXPECT_EQ(form->Log, std::vector<std::string>{});  // set in code: no change events

  // A click on a tab changes the page unless OnChanging refuses.
  form->AllowPageChange = false;
  guitest::Click(form.get(), At(form.get(), bar, bar->tabRect(1).center()));
  EXPECT_EQ(pages->ActivePage(), step2);
  form->AllowPageChange = true;
  guitest::Click(form.get(), At(form.get(), bar, bar->tabRect(1).center()));
  EXPECT_EQ(pages->ActivePage(), step3);
  EXPECT_EQ(form->Log, std::vector<std::string>{"page Step3"});
  EXPECT_TRUE(GetWindowWidget(step3->Handle())->isVisible());
  EXPECT_FALSE(GetWindowWidget(step2->Handle())->isVisible());

  // With every tab hidden (a wizard) the pages take the whole frame.
  step1->SetTabVisible(false);
  step3->SetTabVisible(false);
  EXPECT_FALSE(bar->isVisible());
  EXPECT_EQ(pages->DisplayRect().Top, 4);
  EXPECT_EQ(step3->Top(), 4);
  pages->SetActivePageIndex(0);
  EXPECT_TRUE(GetWindowWidget(step1->Handle())->isVisible());
  // A freed sheet leaves the control.
  delete step1;
  EXPECT_EQ(pages->PageCount(), 2);
}

// ---------------------------------------------------------------------------------------------

TEST(ScrollBar, ArrowsPagesAndKeysScrollByTheirStepsAndEndTheScroll) {
  auto form = MakeForm(R"(  object Bar: TScrollBar {
    Left = 10
    Top = 10
    Width = 300
    Height = 17
    LargeChange = 500
    Max = 65535
    SmallChange = 10
    OnChange = BarChange
    OnScroll = BarScroll
  }
)");
  auto* bar = static_cast<TScrollBar*>(form->FindComponent("Bar"));
  auto* sb = Widget<QScrollBar>(bar);
  ASSERT_NE(sb, nullptr);
  EXPECT_EQ(sb->maximum(), 65535);
  guitest::Click(form.get(), At(form.get(), sb, QPoint(sb->width() - 4, sb->height() / 2)));  // the right arrow
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_EQ(form->Log, (std::vector<std::string>{"line down 10", "change 10", "end 10"}));
  form->Log.clear();
  guitest::Click(form.get(), At(form.get(), sb, QPoint(sb->width() * 3 / 4, sb->height() / 2)));  // the track
  // The handler moved the page step on by 1000.
  EXPECT_EQ(form->Log, (std::vector<std::string>{"page down 510", "change 1510", "end 1510"}));
  EXPECT_EQ(sb->value(), 1510);
  form->Log.clear();
  bar->SetFocus();
  guitest::Key(bar, Qt::Key_Left);
  EXPECT_EQ(form->Log, (std::vector<std::string>{"line up 1500", "change 1500", "end 1500"}));
}

TEST(ScrollBar, RangeAndPageLimitThePosition) {
  auto form = MakeForm(R"(  object Bar: TScrollBar {
    Max = 100
    PageSize = 11
    OnChange = BarChange
  }
)");
  auto* bar = static_cast<TScrollBar*>(form->FindComponent("Bar"));
  bar->SetPosition(100);  // the thumb reaches 100 - 11 + 1
  EXPECT_EQ(bar->Position(), 90);
  EXPECT_EQ(Widget<QScrollBar>(bar)->value(), 90);
  bar->SetPosition(90);
  EXPECT_EQ(form->Log, std::vector<std::string>{"change 90"});  // only a real change
  EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
  EXPECT_EQ(bar->Max(), 100);
}

// ---------------------------------------------------------------------------------------------

TEST(DateTimePicker, TextsFollowTheFormatAndJoinIntoADateTime) {
  auto form = MakeForm(R"(  object Day: TDateTimePicker {
    Date = 46000.0
    Time = 0.0
  }
  object Stop: TDateTimePicker {
    Top = 30
    Format = "HH:mm:ss"
    Kind = dtkTime
    Time = 0.04309027777777778
    OnChange = PickerChange
  }
  object At: TDateTimePicker {
    Top = 60
    Kind = dtkTime
    Time = 0.75
  }
)");
  auto* day = static_cast<TDateTimePicker*>(form->FindComponent("Day"));
  auto* stop = static_cast<TDateTimePicker*>(form->FindComponent("Stop"));
  auto* at = static_cast<TDateTimePicker*>(form->FindComponent("At"));
  EXPECT_EQ(stop->Text(), "01:02:03");
  EXPECT_EQ(Widget<QDateTimeEdit>(stop)->text().toStdString(), stop->Text());
  EXPECT_EQ(day->Text(), FormatDateTime(FormatSettings.ShortDateFormat, 46000));
  EXPECT_EQ(Widget<QDateTimeEdit>(day)->text().toStdString(), day->Text());
  EXPECT_EQ(Widget<QDateTimeEdit>(at)->text().toStdString(), at->Text());
  // The date text and the time text joined by a blank read back as the moment they show.
  EXPECT_NEAR(StrToDateTime(day->Text() + " " + at->Text()), 46000.75, 1e-9);

  // The user steps the hours up with the arrow key.
  auto* edit = Widget<QDateTimeEdit>(stop);
  stop->SetFocus();
  edit->setSelectedSection(QDateTimeEdit::HourSection);
  guitest::Key(stop, Qt::Key_Up);
  EXPECT_EQ(stop->Text(), "02:02:03");
  EXPECT_EQ(form->Log, std::vector<std::string>{"picked"});
}

TEST(DateTimePicker, PickerFormatsBecomeQtFormats) {
  struct TCase {
    const char* Picker;
    const char* Qt;
  } cases[] = {
      {"HH:mm:ss", "HH:mm:ss"},
      {"hh':'mm tt", "hh':'mm AP"},
      {"dd MMMM yyyy", "dd MMMM yyyy"},
      {"d/M/yy", "d/M/yy"},
      {"'Day' ddd", "'Day' ddd"},
  };
  for (const TCase& c : cases) EXPECT_EQ(PickerFormatToQt(c.Picker), c.Qt) << c.Picker;
  EXPECT_EQ(DateTimeFormatToQt("m/d/yyyy"), "M/d/yyyy");
  EXPECT_EQ(DateTimeFormatToQt("h:nn:ss AMPM"), "h:mm:ss AP");
  EXPECT_EQ(DateTimeFormatToQt("hh:mm"), "hh:mm");
}

// ---------------------------------------------------------------------------------------------

TEST(ProgressBar, PositionStaysInRangeAndStepsStartOver) {
  auto form = MakeForm(R"(  object Progress: TProgressBar {
    Max = 50
    Position = 45
    Step = 10
  }
)");
  auto* progress = static_cast<TProgressBar*>(form->FindComponent("Progress"));
  auto* widget = Widget<QProgressBar>(progress);
  EXPECT_EQ(widget->value(), 45);
  EXPECT_EQ(widget->maximum(), 50);
  progress->StepBy(20);
  EXPECT_EQ(progress->Position(), 50);
  progress->StepIt();  // past the end: from the start again
  EXPECT_EQ(progress->Position(), 10);
  EXPECT_EQ(widget->value(), 10);
  progress->SetPosition(-5);
  EXPECT_EQ(progress->Position(), 0);
}

}  // namespace
