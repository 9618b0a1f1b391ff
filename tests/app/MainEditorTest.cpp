// The frame and the editors of its documents: the hook on the editor's mouse, time labels and
// scroll bars following each other, meters, progress, volume, zoom and the transport.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "Imports/AudioEditorControl.h"
#include "MainTestSupport.h"
#include "controls/ImageSlider.h"
#include "controls/RzPrgres.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Menus.h"
#include "suite/bars/dxBar.h"

using namespace maintest;

namespace {

struct TManualClock {
  TManualClock() { SetManualClock(true); }
  ~TManualClock() { SetManualClock(false); }
};

struct TDocument {
  TProgram P;
  TChildForm* Doc;
  IAudioEditor2Position* Pos;
  explicit TDocument(int Frames = 100000) {
    Doc = P.Open(WriteTone("doc.wav", 8000, 2, Frames));
    Pos = Doc->AudioEditor->Position();
  }
  void Select(int A, int B) {
    Pos->SetSelectionActive(true);
    Pos->SetSelectionStart(A);
    Pos->SetSelectionEnd(B);
  }
};

}  // namespace

TEST(MainEditor, HookTakesTheEditorsRightButtonAndDoubleClick) {
  TDocument d;
  d.Doc->SetBounds(0, 0, 600, 300);
  Application->ProcessMessages();
  std::vector<void*> popups;
  TModalHook old = SetModalHook([&](const TModalRequest& r) {
    if (r.Kind == TModalRequest::mrPopupMenu) popups.push_back(r.Dialog);
    return -1;
  });
  const HWND editor = d.Doc->AudioEditor->Handle();
  d.Pos->SetCursor(5000);
  d.Pos->SetSelectionActive(false);
  PostMessage(editor, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(200, 100));
  PostMessage(editor, WM_RBUTTONUP, 0, MAKELPARAM(200, 100));
  Application->ProcessMessages();
  EXPECT_EQ(popups, std::vector<void*>{d.P->PopupMenu});
  EXPECT_EQ(d.Pos->Cursor(), 5000) << "the editor saw no press";
  // A double click selects everything, and the press it replaces never starts a selection.
  PostMessage(editor, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(300, 100));
  PostMessage(editor, WM_LBUTTONUP, 0, MAKELPARAM(300, 100));
  Application->ProcessMessages();
  SetModalHook(old);
  EXPECT_EQ(d.Pos->SelectionStart(), 0);
  EXPECT_EQ(d.Pos->SelectionEnd(), 100000);
}

TEST(MainEditor, LabelsAndScrollBarsFollowEachOther) {
  TDocument d(80000);  // ten seconds at 8000 Hz
  d.Select(8000, 28000);
  EXPECT_EQ(d.P->LabelStart->Caption(), "0:00:01.000");
  EXPECT_EQ(d.P->LabelEnd->Caption(), "0:00:03.500");
  EXPECT_EQ(d.P->LabelSelLength->Caption(), "0:00:02.500");
  EXPECT_EQ(d.P->LabelFileLength->Caption(), "0:00:10.000");
  EXPECT_EQ(d.Doc->ScrollBarStart->Position(), 6554);   // 8000 / 80000 * 65535, half to even
  EXPECT_EQ(d.Doc->ScrollBarEnd->Position(), 22937);
  d.Select(0, 80000);
  EXPECT_EQ(d.Doc->ScrollBarStart->Position(), 0);
  EXPECT_EQ(d.Doc->ScrollBarEnd->Position(), 65535);
  // The bars set the selection; the end bar left of the start bar selects between them.
  struct {
    int Start, End, SelStart, SelEnd;
  } cases[] = {{16384, 49151, 20000, 60000}, {49151, 16384, 20000, 60000}, {65535, 65535, 80000, 80000}};
  for (const auto& c : cases) {
    d.Doc->ScrollBarStart->SetPosition(c.Start);
    d.Doc->ScrollBarEnd->SetPosition(c.End);
    EXPECT_EQ(d.Pos->SelectionStart(), c.SelStart);
    EXPECT_EQ(d.Pos->SelectionEnd(), c.SelEnd);
    EXPECT_FALSE(d.Doc->ScrollUpdating);
    EXPECT_FALSE(d.P->PositionUpdating);
  }
  // While the frame moves the bars, the bars do not move the selection back.
  d.P->PositionUpdating = true;
  d.Doc->ScrollBarStart->SetPosition(0);
  EXPECT_EQ(d.Pos->SelectionStart(), 80000);
  d.P->PositionUpdating = false;
  // An empty document keeps both edges at 0 whatever the bars show.
  d.P->ActionNewFileExecute(nullptr);
  TChildForm* empty = d.P->ActiveDocument();
  empty->ScrollBarStart->SetPosition(30000);
  empty->ScrollBarEnd->SetPosition(60000);
  EXPECT_EQ(empty->AudioEditor->Position()->SelectionStart(), 0);
  EXPECT_EQ(empty->AudioEditor->Position()->SelectionEnd(), 0);
}

TEST(MainEditor, MetersProgressAndVolume) {
  TDocument d;
  struct {
    int Level, Percent;
  } meters[] = {{0, 0}, {67, 0}, {68, 4}, {80, 52}, {92, 100}, {100, 132}};
  for (const auto& m : meters) {
    d.P->EditorMeter(nullptr, m.Level, 92 - (m.Level - 92 > 0 ? 0 : 0));
    EXPECT_EQ(d.P->LeftBar->Percent(), m.Percent) << m.Level;
    EXPECT_EQ(d.P->RightBar->Percent(), 100);
  }
  // Repeated block events keep one progress window and move its bar; the end folds it away.
  for (int percent : {10, 40, 90}) {
    d.P->EditorBlockOperation(nullptr, int16_t(percent));
    EXPECT_TRUE(FormProgress->Visible());
    EXPECT_EQ(FormProgress->Width(), 300);
    EXPECT_EQ(FormProgress->ProgressBar->Position(), percent);
    EXPECT_FALSE(d.P->Enabled());
  }
  d.P->EditorEndOperation(nullptr);
  EXPECT_FALSE(FormProgress->Visible());
  EXPECT_TRUE(d.P->Enabled());
  // The slider sets the active document's volume and the stored one; other documents keep theirs.
  TAudioEditor2* first = d.Doc->AudioEditor;
  d.P->ScrollBarValue->SetValue(40000);
  EXPECT_EQ(first->Player().Volume(), 40000);
  EXPECT_EQ(GlobalVars.DeviceOutputVolume, 40000);
  d.P->ActionNewFileExecute(nullptr);
  EXPECT_EQ(d.P->ActiveDocument()->AudioEditor->Player().Volume(), 40000);
  d.P->ScrollBarValue->SetValue(1000);
  EXPECT_EQ(first->Player().Volume(), 40000);
}

TEST(MainEditor, VolumeWithoutADocumentIsOnlyStored) {
  TProgram p;
  p->ScrollBarValue->SetValue(2222);
  EXPECT_EQ(GlobalVars.DeviceOutputVolume, 2222);
  EXPECT_EQ(p->ScrollBarValue->MaxValue(), 65535);
}

TEST(MainEditor, TransportFollowsThePlayState) {
  TDocument d;
  TAudioEditor2* e = d.Doc->AudioEditor;
  struct {
    const char* Command;
    int Before, After;
  } steps[] = {
      {"Stop", 0, 0}, {"Play", 0, 1}, {"Pause", 1, 5}, {"Play", 5, 1}, {"Play", 1, 0},
      {"Pause", 0, 1}, {"Pause", 1, 5}, {"Stop", 5, 0}, {"LoopPlay", 0, 1}, {"Stop", 1, 0},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.Command);
    ASSERT_EQ(e->PlayState(), s.Before);
    d.P->ActionList->FindComponent("");
    auto* action = dynamic_cast<TCustomAction*>(d.P->FindComponent(std::string("Action") + s.Command));
    action->Execute();
    EXPECT_EQ(e->PlayState(), s.After);
  }
  // Space is Play, although no menu shows it.
  TMessage key{WM_KEYDOWN, VK_SPACE, 0, 0};
  EXPECT_TRUE(d.P->IsShortCut(key));
  EXPECT_EQ(e->PlayState(), 1);
  d.P->ActionStopExecute(nullptr);
}

TEST(MainEditor, StepsAndTheViewFollowingTheCursor) {
  TDocument d(100000);
  struct {
    int Cursor;
    bool Back;
    int After;
  } steps[] = {{1500, true, 0}, {2000, true, 0}, {2001, true, 1}, {50000, true, 48000},
               {50000, false, 52000}, {98000, false, 100000}, {99000, false, 100000}, {97999, false, 99999}};
  for (const auto& s : steps) {
    d.Select(10, 20);
    d.Pos->SetCursor(s.Cursor);
    s.Back ? d.P->ActionRewindExecute(nullptr) : d.P->ActionForwordExecute(nullptr);
    EXPECT_EQ(d.Pos->Cursor(), s.After) << s.Cursor;
    EXPECT_FALSE(d.Pos->SelectionActive());
  }
  // Go to Start and Go To End bring the view along.
  d.Doc->AudioEditor->ZoomToRange(40000, 50000);
  d.P->ActionStartExecute(nullptr);
  EXPECT_EQ(d.Pos->Cursor(), 0);
  EXPECT_EQ(d.Pos->ViewStart(), 0);
  EXPECT_EQ(d.Pos->ViewEnd(), 10000);
  d.P->ActionEndExecute(nullptr);
  EXPECT_EQ(d.Pos->ViewEnd(), 100000);
  EXPECT_EQ(d.Pos->ViewStart(), 90000);
  // A cursor inside the view leaves it alone.
  d.Doc->AudioEditor->ZoomToRange(40000, 50000);
  d.Pos->SetCursor(45000);
  d.P->KeepCursorVisible();
  EXPECT_EQ(d.Pos->ViewStart(), 40000);

  // Held Rewind: 2000 frames a tick of the 10 ms timer; past the view start, the view scrolls so
  // that the cursor sits at its right edge.
  TManualClock clock;
  d.Pos->SetCursor(44000);
  d.P->ButtonRewindMouseDown(nullptr, mbLeft, {}, 0, 0);
  std::vector<int> cursors;
  for (int i = 0; i < 3; ++i) {
    AdvanceClock(10);
    Application->ProcessMessages();
    cursors.push_back(d.Pos->Cursor());
  }
  d.P->ButtonRewindMouseUp(nullptr, mbLeft, {}, 0, 0);
  AdvanceClock(50);
  Application->ProcessMessages();
  EXPECT_EQ(cursors, (std::vector<int>{42000, 40000, 38000}));
  EXPECT_EQ(d.Pos->Cursor(), 38000) << "released: no more steps";
  EXPECT_EQ(d.Pos->ViewStart(), 28000);
  EXPECT_EQ(d.Pos->ViewEnd(), 38000);
}

TEST(MainEditor, SelectionAndZoomCommands) {
  TDocument d(100000);
  struct {
    const char* Command;
    int Start, End, Cursor, SelStart, SelEnd;
  } cases[] = {
      {"SelectAll", 10, 20, 15, 0, 100000},
      {"SelectToStart", 30000, 30000, 30000, 0, 30000},   // nothing selected: up to the cursor
      {"SelectToStart", 30000, 40000, 30000, 0, 40000},   // cursor at the start: up to the end
      {"SelectToEnd", 30000, 30000, 30000, 30000, 100000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Command);
    d.Select(c.Start, c.End);
    d.Pos->SetCursor(c.Cursor);
    d.Select(c.Start, c.End);
    dynamic_cast<TCustomAction*>(d.P->FindComponent(std::string("Action") + c.Command))->Execute();
    EXPECT_EQ(d.Pos->SelectionStart(), c.SelStart);
    EXPECT_EQ(d.Pos->SelectionEnd(), c.SelEnd);
  }
  // Zoom In halves each view edge's distance to the cursor: at the view start, the start stays.
  d.Doc->AudioEditor->ZoomFull();
  d.Pos->SetSelectionActive(false);
  d.Pos->SetCursor(0);
  d.P->ActionZoomInExecute(nullptr);
  EXPECT_EQ(d.Pos->ViewStart(), 0);
  EXPECT_EQ(d.Pos->ViewEnd(), 50000);
  d.P->UpdateActions();
  EXPECT_TRUE(d.P.Enabled("ZoomFull"));
  d.P->ActionZoomFullExecute(nullptr);
  d.P->UpdateActions();
  EXPECT_FALSE(d.P.Enabled("ZoomFull"));
}

// The four time labels and their two pictures, clicked for real through the bottom panel: a
// right button released over one opens the selection pop-up where the mouse is, a double
// click asks for a time to select, and a left click does neither.
TEST(MainEditor, TimeLabelsOpenTheSelectionMenuAndTheTimeDialog) {
  TDocument d;
  d.P->Show();
  Application->ProcessMessages();
  TdxBarPopupMenu* menu = d.P->dxBarPopupMenuSelection;
  ASSERT_NE(menu, nullptr);
  int popups = 0;
  POINT menuAt{-1, -1};
  menu->OnPopup = [&](TObject*) {
    ++popups;
    TCustomdxBarControl* bar = menu->ItemLinks()->BarControl();
    menuAt = {bar->Left(), bar->Top()};
    PostMessage(bar->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  };
  int dialogs = 0;
  TModalHook old = SetModalHook([&](const TModalRequest& r) {
    if (r.Kind == TModalRequest::mrDialog && r.DialogClass == "TSelectSpecifiedTimeForm") {
      ++dialogs;
      return int(mrCancel);
    }
    return 0;
  });
  for (TControl* part : std::initializer_list<TControl*>{d.P->LabelStart, d.P->LabelEnd, d.P->LabelSelLength,
                                                         d.P->LabelFileLength, d.P->ImageStart, d.P->ImageSel}) {
    ASSERT_NE(part, nullptr);
    SCOPED_TRACE(part->Name());
    const HWND panel = part->Parent()->Handle();
    const int x = part->Left() + part->Width() / 2, y = part->Top() + part->Height() / 2;
    POINT screen{x, y};
    ClientToScreen(panel, &screen);
    SetCursorPos(screen.x, screen.y);
    popups = dialogs = 0;
    PostMessage(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessage(panel, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Application->ProcessMessages();
    EXPECT_EQ(popups, 0);
    EXPECT_EQ(dialogs, 0);
    PostMessage(panel, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    PostMessage(panel, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    Application->ProcessMessages();
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menuAt.x, screen.x);
    EXPECT_EQ(menuAt.y, screen.y);
    EXPECT_EQ(menu->ItemLinks()->BarControl(), nullptr) << "the menu closed again";
    PostMessage(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessage(panel, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    PostMessage(panel, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessage(panel, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Application->ProcessMessages();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(popups, 1);
  }
  SetModalHook(old);
  menu->OnPopup = nullptr;
}
