#pragma once
// A form like the editor's main window for the menu tests: an MDI frame whose manager docks the
// multi-line main menu "Menu" with the editor's menus, and the "Toolbar" row of large buttons,
// in the top site; nothing can be docked elsewhere, no bar shows its mark. Documents are real
// MDI children listed by the "&Window" menu's window list.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/win/QtWindows.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarNavigation.h"
#include "suite/bars/dxBarSubMenu.h"

struct TMainMenuFixture : ::testing::Test {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TdxBarManager* Manager = new TdxBarManager(Form.get());
  TActionList* Actions = new TActionList(Form.get());
  TdxBar* Menu = nullptr;
  TdxBar* Toolbar = nullptr;
  std::vector<TForm*> Documents;
  TdxBarListItem* WindowList = nullptr;
  // Runs of each command, by caption.
  std::map<std::string, int> Runs;

  TdxBarSubItem *File, *Edit, *Effects, *Control, *Tools, *Bookmark, *View, *Window, *Help;
  TdxBarSubItem *InsertSilence, *InsertFile;

  TMainMenuFixture() {
    Form->SetFormStyle(fsMDIForm);
    Form->SetBounds(40, 40, 700, 460);
    Manager->SetStyle(bmsXP);
    Manager->MenuAnimations = maNone;
    Manager->SetNotDocking({dsNone, dsLeft, dsTop, dsRight, dsBottom});
    Manager->BeginBarsUpdate();
    Menu = NewBar("Menu", 0);
    File = Sub("&File", {"&New File...|Ctrl+N", "&Open File...|Ctrl+O", "&Load Audio CD Track(s)...", "-Close File",
                         "-&Save File|Ctrl+S", "Save File &As...", "-E&xit"});
    Edit = Sub("&Edit", {"&Undo|Ctrl+Z", "Redo", "-Cu&t|Ctrl+X", "&Copy|Ctrl+C", "Copy To &New", "&Paste|Ctrl+V",
                         "-&Select All|Ctrl+A", "-Tri&m|Ctrl+T"});
    InsertSilence = Sub("Insert Silen&ce...", {"&Begin", "C&urrent", "&End"}, false);
    InsertFile = Sub("&Insert File...", {"&Begin", "C&urrent", "&End"}, false);
    Edit->ItemLinks()->AddLinkForItem(InsertSilence)->SetBeginGroup(true);
    Edit->ItemLinks()->AddLinkForItem(InsertFile);
    Effects = Sub("&Effects", {"&Amplify...", "&Normalize...", "&Echo...", "-&Fade In", "Fade &Out"});
    Control = Sub("&Control", {"&Record", "-&Play", "&Stop"});
    Tools = Sub("&Tools", {"&Frequency Analysis (FFT)", "-&Batch Converter"});
    Bookmark = Sub("&Bookmark", {"&Set Bookmark", "&Add Region"});
    View = Sub("&View", {"Open &Bookmark List", "Open &Region List"});
    Window = Sub("&Window", {"&Cascade", "Tile &Horizontal", "Tile &Vertical", "-Close All"});
    WindowList = new TdxBarListItem(Form.get());
    WindowList->SetCaption("List of Current Windows");
    WindowList->SetShowCheck(true);
    WindowList->OnGetData = [this](TObject*) { MarkActiveDocument(); };
    Window->ItemLinks()->AddLinkForItem(WindowList)->SetBeginGroup(true);
    Help = Sub("&Help", {"&Help Contents|F1", "-About"});
    Menu->SetIsMainMenu(true);
    Menu->SetMultiLine(true);
    Toolbar = NewBar("Toolbar", 1);
    for (const char* c : {"&New", "&Open", "&Save"}) {
      auto* b = new TdxBarLargeButton(Form.get());
      b->SetAction(Action(c));
      b->SetShowCaption(true);
      Toolbar->ItemLinks()->AddLinkForItem(b);
    }
    Manager->EndBarsUpdate();
    Menu->SetVisible(true);
    Toolbar->SetVisible(true);
    Form->Show();
    SetFocus(Form->Handle());
    Application->ProcessMessages();
  }
  ~TMainMenuFixture() override {
    CloseActiveMenusOf(Manager);
    GetBarNavigationController()->LeaveNavigationMode();
    if (Application->MainForm() == Form.get()) Application->SetMainForm(nullptr);
  }

  template <class T>
  T* NewItem(const std::string& Caption = {}) {
    auto* item = new T(Form.get());
    item->SetCaption(Caption);
    return item;
  }
  TdxBar* NewBar(const char* Caption, int Row) {
    TdxBar* bar = Manager->Bars()->Add();
    bar->SetCaption(Caption);
    bar->SetNotDocking({dsNone, dsLeft, dsTop, dsRight, dsBottom});
    bar->SetShowMark(false);
    bar->SetAllowClose(false);
    bar->SetAllowQuickCustomizing(false);
    bar->SetRow(Row);
    bar->SetOneOnRow(true);
    bar->SetWholeRow(true);
    bar->SetDockingStyle(dsTop);
    return bar;
  }
  TAction* Action(const std::string& Caption, TShortCut Key = 0) {
    auto* a = new TAction(Form.get());
    a->SetActionList(Actions);
    a->SetCaption(Caption);
    if (Key) a->SetShortCut(Key);
    a->OnExecute = [this, Caption](TObject*) { ++Runs[Caption]; };
    return a;
  }
  // A sub item of commands; "-" before a caption starts a group, "|" puts its shortcut after it.
  TdxBarSubItem* Sub(const char* Caption, std::initializer_list<const char*> Commands, bool OnMenu = true) {
    auto* sub = new TdxBarSubItem(Form.get());
    sub->SetCaption(Caption);
    for (std::string c : Commands) {
      const bool group = !c.empty() && c[0] == '-';
      if (group) c.erase(0, 1);
      TShortCut key = 0;
      if (size_t bar = c.find('|'); bar != std::string::npos) {
        key = TextToShortCut(c.substr(bar + 1));
        c.erase(bar);
      }
      auto* b = new TdxBarButton(Form.get());
      b->SetAction(Action(std::string(Caption) + "/" + c, key));
      b->SetCaption(c);
      sub->ItemLinks()->AddLinkForItem(b)->SetBeginGroup(group);
    }
    if (OnMenu) Menu->ItemLinks()->AddLinkForItem(sub);
    return sub;
  }

  TdxBarControl* MenuBar() const { return Menu->BarControl(); }
  TdxBarItemControl* ControlOf(TdxBarItem* Item) const {
    for (TdxBarItemLink* l : Menu->ItemLinks()->ShownLinks())
      if (l->Item() == Item) return l->Control();
    return nullptr;
  }
  std::string SelectedOn(TCustomdxBarControl* Bar) const {
    TdxBarItemControl* c = Bar ? Bar->SelectedControl() : nullptr;
    return c ? c->LinkItem()->Caption() : std::string();
  }
  // The open menus, from the main menu's drop-down inward, by the caption of the item that opened each.
  std::vector<std::string> OpenMenus() const {
    std::vector<std::string> r;
    for (TCustomdxBarControl* c = GetActiveBarControl(); c; c = c->PreviousActiveBar())
      if (auto* m = dynamic_cast<TdxBarSubMenuControl*>(c))
        r.insert(r.begin(), m->OwnerItemControl() ? m->OwnerItemControl()->LinkItem()->Caption() : "?");
    return r;
  }
  static TdxBarSubMenuControl* MenuOf(TdxBarItemLinks* Links) {
    return dynamic_cast<TdxBarSubMenuControl*>(Links->BarControl());
  }

  // Real keys through the form's window: a press and a release with the modifiers held.
  void Press(int Key, Qt::KeyboardModifiers M = Qt::NoModifier, bool Repeat = false) {
    QKeyEvent e(QEvent::KeyPress, Key, M, QString(), Repeat);
    QCoreApplication::sendEvent(GetWindowWidget(Form->Handle()), &e);
    Application->ProcessMessages();
  }
  void Release(int Key, Qt::KeyboardModifiers M = Qt::NoModifier) {
    QKeyEvent e(QEvent::KeyRelease, Key, M);
    QCoreApplication::sendEvent(GetWindowWidget(Form->Handle()), &e);
    Application->ProcessMessages();
  }
  void Type(int Key, Qt::KeyboardModifiers M = Qt::NoModifier) {
    Press(Key, M);
    Release(Key, M);
  }
  void Alt() {
    Press(Qt::Key_Alt, Qt::AltModifier);
    Release(Qt::Key_Alt);
  }
  void AltWith(int Key) {
    Press(Qt::Key_Alt, Qt::AltModifier);
    Type(Key, Qt::AltModifier);
    Release(Qt::Key_Alt);
  }

  // A document window of the frame.
  TForm* NewDocument(const std::string& Caption) {
    // Documents are made in the program's main form.
    Application->SetMainForm(Form.get());
    auto* doc = new TForm(Form.get());
    doc->SetFormStyle(fsMDIChild);
    doc->SetCaption(Caption);
    doc->SetBounds(20 * int(Documents.size()), 20 * int(Documents.size()), 300, 200);
    doc->Show();
    WindowList->Items()->AddObject(Caption, doc);
    Documents.push_back(doc);
    Application->ProcessMessages();
    return doc;
  }
  // The window list's selected line is that of the active document.
  void MarkActiveDocument() {
    TCustomForm* active = Form->ActiveMDIChild();
    WindowList->SetItemIndex(-1);
    for (int i = 0; i < WindowList->Items()->Count(); ++i)
      if (WindowList->Items()->Objects(i) == active) WindowList->SetItemIndex(i);
  }
};
