// Controls on real widgets (offscreen): message chains, graphic children, capture, the control
// notifications, focus and keys, painting through the canvas.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"

namespace {

std::vector<std::string> gLog;

std::string Describe(UINT msg) {
  switch (msg) {
    case CM_ENABLEDCHANGED: return "enabled";
    case CM_VISIBLECHANGED: return "visible";
    case CM_TEXTCHANGED: return "text";
    case CM_FONTCHANGED: return "font";
    case CM_COLORCHANGED: return "color";
    case CM_PARENTFONTCHANGED: return "parentfont";
    case CM_PARENTCOLORCHANGED: return "parentcolor";
    case CM_SHOWINGCHANGED: return "showing";
    case CM_MOUSEENTER: return "enter";
    case CM_MOUSELEAVE: return "leave";
    case CM_FOCUSCHANGED: return "focuschanged";
    case CM_ENTER: return "cmenter";
    case CM_EXIT: return "cmexit";
    case CM_CANCELMODE: return "cancelmode";
    case WM_CAPTURECHANGED: return "capturechanged";
  }
  return {};
}

template <class Base>
class TLogged : public Base {
 public:
  using Base::Base;
  bool Logging = true;
  TColor Fill = clNone;
  std::vector<std::string> Mouse;

 protected:
  void WndProc(TMessage& m) override {
    std::string d = Describe(m.Msg);
    // Parents also hear CM_MOUSEENTER/LEAVE of their children (with the child in LParam).
    if (Logging && !d.empty() && !((m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) && m.LParam))
      gLog.push_back(this->Name() + ":" + d);
    Base::WndProc(m);
  }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    Mouse.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    Base::MouseDown(b, s, x, y);
  }
  void MouseMove(TShiftState s, int x, int y) override {
    Mouse.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    Base::MouseMove(s, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    Mouse.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    Base::MouseUp(b, s, x, y);
  }
  void Click() override {
    Mouse.push_back("click");
    Base::Click();
  }
};

class TPaintedControl : public TLogged<TCustomControl> {
 public:
  using TLogged::TLogged;

 protected:
  void Paint() override {
    if (Fill == clNone) return;
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect(ClientRect());
    Canvas()->Pen()->SetColor(clBlue);
    Canvas()->MoveTo(0, 0);
    Canvas()->LineTo(10, 0);
  }
};

class TPaintedGraphic : public TLogged<TGraphicControl> {
 public:
  using TLogged::TLogged;

 protected:
  void Paint() override {
    if (Fill == clNone) return;
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->Pen()->SetColor(clBlack);
    Canvas()->Rectangle(0, 0, Width(), Height());
  }
};

// A top-level control with children, shown on the offscreen screen.
struct TScene {
  std::unique_ptr<TPaintedControl> Form;
  TPaintedControl* Panel;
  TPaintedGraphic* Graphic;
  TPaintedControl* EditA;
  TPaintedControl* EditB;

  TScene() {
    Form = std::make_unique<TPaintedControl>(nullptr);
    Form->SetName("Form");
    Form->SetBounds(0, 0, 300, 200);
    Panel = new TPaintedControl(Form.get());
    Panel->SetName("Panel");
    Panel->SetBounds(10, 10, 200, 150);
    Panel->SetParent(Form.get());
    Graphic = new TPaintedGraphic(Form.get());
    Graphic->SetName("Graphic");
    Graphic->SetBounds(20, 30, 40, 20);
    Graphic->SetParent(Panel);
    EditA = new TPaintedControl(Form.get());
    EditA->SetName("EditA");
    EditA->SetBounds(100, 10, 50, 20);
    EditA->SetTabStop(true);
    EditA->SetParent(Panel);
    EditB = new TPaintedControl(Form.get());
    EditB->SetName("EditB");
    EditB->SetBounds(100, 40, 50, 20);
    EditB->SetTabStop(true);
    EditB->SetParent(Panel);
    Form->SetVisible(true);
    gLog.clear();
  }
};

void SendMouse(TWinControl* c, QEvent::Type type, QPoint local, Qt::MouseButton button) {
  QWidget* w = GetWindowWidget(c->Handle());
  QPoint global = w->mapToGlobal(local);
  QCursor::setPos(global);
  Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent e(type, QPointF(local), QPointF(global), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

void SendKey(TWinControl* c, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, QString text = {}) {
  QWidget* w = GetWindowWidget(c->Handle());
  QKeyEvent down(QEvent::KeyPress, key, mods, text);
  QCoreApplication::sendEvent(w, &down);
  QKeyEvent up(QEvent::KeyRelease, key, mods, text);
  QCoreApplication::sendEvent(w, &up);
  Application->ProcessMessages();
}

TEST(Controls, WindowProcHooksChainAndUnhook) {
  TScene s;
  std::vector<std::string> seen;
  auto hook = [&](TControl* c, const std::string& name) {
    TWndMethod previous = c->WindowProc();
    c->SetWindowProc([&seen, previous, name](TMessage& m) {
      if (m.Msg == WM_USER + 9) seen.push_back(name);
      previous(m);
    });
    return previous;
  };
  s.Panel->OnClick = [&](TObject*) { seen.push_back("own"); };
  TWndMethod original = hook(s.Panel, "first");
  TWndMethod afterFirst = hook(s.Panel, "second");
  s.Panel->Perform(WM_USER + 9);
  EXPECT_EQ(seen, (std::vector<std::string>{"second", "first"}));
  // The window's own messages reach the chain too, newest first.
  seen.clear();
  SendMessage(s.Panel->Handle(), WM_USER + 9, 0, 0);
  EXPECT_EQ(seen, (std::vector<std::string>{"second", "first"}));
  s.Panel->SetWindowProc(afterFirst);
  seen.clear();
  s.Panel->Perform(WM_USER + 9);
  EXPECT_EQ(seen, (std::vector<std::string>{"first"}));
  s.Panel->SetWindowProc(original);
  seen.clear();
  s.Panel->Perform(WM_USER + 9);
  EXPECT_TRUE(seen.empty());
}

TEST(Controls, GraphicChildrenGetMouseAndCapture) {
  TScene s;
  // Press inside the graphic child, drag out of it, release outside: the child keeps the mouse
  // (it asked for the capture) and is not clicked; then a press and release inside clicks.
  SendMouse(s.Panel, QEvent::MouseButtonPress, QPoint(25, 35), Qt::LeftButton);
  EXPECT_EQ(GetCaptureControl(), s.Graphic);
  EXPECT_EQ(GetCapture(), s.Panel->Handle());
  SendMouse(s.Panel, QEvent::MouseMove, QPoint(150, 100), Qt::LeftButton);
  SendMouse(s.Panel, QEvent::MouseButtonRelease, QPoint(150, 100), Qt::LeftButton);
  SendMouse(s.Panel, QEvent::MouseButtonPress, QPoint(30, 40), Qt::LeftButton);
  SendMouse(s.Panel, QEvent::MouseButtonRelease, QPoint(30, 40), Qt::LeftButton);
  EXPECT_EQ(s.Graphic->Mouse, (std::vector<std::string>{"down 5,5", "move 130,70", "up 130,70",
                                                        "down 10,10", "click", "up 10,10"}));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(s.Panel->Mouse.empty());
  // A press elsewhere cancels the modes of the focused control.
  s.EditA->SetFocus();
  gLog.clear();
  SendMouse(s.Panel, QEvent::MouseButtonPress, QPoint(25, 35), Qt::LeftButton);
  SendMouse(s.Panel, QEvent::MouseButtonRelease, QPoint(25, 35), Qt::LeftButton);
  EXPECT_NE(std::find(gLog.begin(), gLog.end(), "EditA:cancelmode"), gLog.end());
  // Taking the capture away from the parent window tells the graphic child.
  gLog.clear();
  s.Graphic->SetMouseCapture(true);
  SetCapture(s.EditA->Handle());
  EXPECT_EQ(gLog, (std::vector<std::string>{"Panel:capturechanged", "Graphic:capturechanged"}));
  EXPECT_EQ(GetCaptureControl(), s.EditA);
  ReleaseCapture();
}

TEST(Controls, MouseEnterAndLeaveFollowTheMouse) {
  TScene s;
  int entered = 0, left = 0;
  s.Graphic->OnMouseEnter = [&](TObject*) { ++entered; };
  s.Graphic->OnMouseLeave = [&](TObject*) { ++left; };
  SendMouse(s.Panel, QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
  SendMouse(s.Panel, QEvent::MouseMove, QPoint(25, 35), Qt::NoButton);
  SendMouse(s.Panel, QEvent::MouseMove, QPoint(26, 36), Qt::NoButton);
  SendMouse(s.Panel, QEvent::MouseMove, QPoint(90, 5), Qt::NoButton);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(GetWindowWidget(s.Panel->Handle()), &leave);
  EXPECT_EQ(gLog, (std::vector<std::string>{"Panel:enter", "Panel:leave", "Graphic:enter",
                                            "Graphic:leave", "Panel:enter", "Panel:leave"}));
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(left, 1);
}

TEST(Controls, PropertyChangesSendTheirNotifications) {
  TScene s;
  s.EditB->SetParentFont(false);
  s.EditB->SetParentColor(false);
  struct Case {
    std::string What;
    std::function<void()> Change;
    std::vector<std::string> Expected;
  };
  std::vector<Case> cases = {
      {"disable", [&] { s.Graphic->SetEnabled(false); }, {"Graphic:enabled"}},
      {"disable again", [&] { s.Graphic->SetEnabled(false); }, {}},
      {"text", [&] { s.Graphic->SetCaption("Hello"); }, {"Graphic:text"}},
      {"same text", [&] { s.Graphic->SetCaption("Hello"); }, {}},
      {"hide", [&] { s.EditA->SetVisible(false); }, {"EditA:visible", "EditA:showing"}},
      // A parent's font reaches the children that follow it; they then tell their own.
      {"font",
       [&] { s.Panel->Font()->SetSize(12); },
       {"Panel:font", "Graphic:parentfont", "Graphic:font", "EditA:parentfont", "EditA:font",
        "EditB:parentfont"}},
      {"color",
       [&] { s.Panel->SetColor(clRed); },
       {"Panel:color", "Graphic:parentcolor", "Graphic:color", "EditA:parentcolor",
        "EditA:color", "EditB:parentcolor"}},
  };
  for (auto& c : cases) {
    gLog.clear();
    c.Change();
    EXPECT_EQ(gLog, c.Expected) << c.What;
  }
  EXPECT_EQ(s.Graphic->Font()->Size(), 12);
  EXPECT_TRUE(s.Graphic->ParentFont());
  EXPECT_EQ(s.EditB->Font()->Size(), 8);
  EXPECT_EQ(s.Graphic->Color(), clRed);
  EXPECT_EQ(s.EditB->Color(), clWindow);
  EXPECT_EQ(s.Graphic->Caption(), "Hello");
  EXPECT_FALSE(IsWindowVisible(s.EditA->WindowHandle()));
  EXPECT_FALSE(s.EditA->Showing());
  // Hiding a parent changes what its windowed children show, not their Visible.
  gLog.clear();
  s.Panel->SetVisible(false);
  EXPECT_EQ(gLog, (std::vector<std::string>{"Panel:visible", "Panel:showing", "EditB:showing"}));
  EXPECT_TRUE(s.EditB->Visible());
  EXPECT_FALSE(s.EditB->Showing());
}

TEST(Controls, FocusTabOrderAndKeys) {
  TScene s;
  std::vector<std::string> events;
  s.EditA->OnEnter = [&](TObject*) { events.push_back("enter A"); };
  s.EditA->OnExit = [&](TObject*) { events.push_back("exit A"); };
  s.EditB->OnEnter = [&](TObject*) { events.push_back("enter B"); };
  s.EditB->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    events.push_back("key " + std::to_string(key));
  };
  s.EditB->OnKeyPress = [&](TObject*, char32_t& ch) {
    events.push_back(std::string("char ") + char(ch));
    if (ch == 'x') ch = 0;
  };
  s.EditA->SetFocus();
  EXPECT_TRUE(s.EditA->Focused());
  EXPECT_EQ(s.Form->ActiveControl(), s.EditA);
  // Tab goes to the next control in tab order (a dialog key of the top-level control).
  SendKey(s.EditA, Qt::Key_Tab, Qt::NoModifier, "\t");
  EXPECT_TRUE(s.EditB->Focused());
  SendKey(s.EditB, Qt::Key_Y, Qt::NoModifier, "y");
  EXPECT_EQ(events, (std::vector<std::string>{"enter A", "exit A", "enter B", "key 89", "char y"}));
  // The focus change was broadcast through the whole tree, graphic children included.
  EXPECT_NE(std::find(gLog.begin(), gLog.end(), "Graphic:focuschanged"), gLog.end());
  // Shift+Tab goes back; tab order can be changed.
  SendKey(s.EditB, Qt::Key_Backtab, Qt::ShiftModifier, "");
  EXPECT_TRUE(s.EditA->Focused());
  s.EditB->SetTabOrder(0);
  EXPECT_EQ(s.EditB->TabOrder(), 0);
  EXPECT_EQ(s.EditA->TabOrder(), 1);
  EXPECT_EQ(s.Panel->FindNextControl(s.EditA, true, true, false), s.EditB);
}

// A top-level control that takes Ctrl+S as its shortcut and previews keys.
class TShortcutForm : public TPaintedControl {
 public:
  using TPaintedControl::TPaintedControl;
  int ShortCuts = 0;
  bool Preview = false;
  std::vector<WORD> Previewed;
  bool IsShortCut(TMessage& m) override {
    if (m.WParam == 'S' && GetKeyState(VK_CONTROL) < 0) {
      ++ShortCuts;
      return true;
    }
    return false;
  }
  bool KeyPreview() const override { return Preview; }

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override {
    Previewed.push_back(Key);
    if (Key == VK_F2) Key = 0;
  }
};

TEST(Controls, ShortcutsAndKeyPreviewComeBeforeTheFocusedControl) {
  auto form = std::make_unique<TShortcutForm>(nullptr);
  form->SetBounds(0, 0, 200, 100);
  auto* edit = new TPaintedControl(form.get());
  edit->SetBounds(5, 5, 50, 20);
  edit->SetParent(form.get());
  form->SetVisible(true);
  std::vector<std::string> events;
  edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState s) {
    events.push_back("key " + std::to_string(key) + (s.Contains(ssCtrl) ? " ctrl" : ""));
  };
  edit->OnKeyPress = [&](TObject*, char32_t& ch) { events.push_back("char " + std::to_string(int(ch))); };
  edit->SetFocus();
  SendKey(edit, Qt::Key_S, Qt::ControlModifier, "\x13");
  EXPECT_EQ(form->ShortCuts, 1);
  EXPECT_TRUE(events.empty());
  form->Preview = true;
  SendKey(edit, Qt::Key_F2);
  SendKey(edit, Qt::Key_F3);
  EXPECT_EQ(form->Previewed, (std::vector<WORD>{VK_F2, VK_F3}));
  EXPECT_EQ(events, (std::vector<std::string>{"key 114"}));
}

TEST(Controls, PaintingGoesThroughTheCanvasIntoTheBackBuffer) {
  TScene s;
  s.Panel->Fill = clRed;
  s.Graphic->Fill = clLime;
  s.Panel->Repaint();
  QImage* img = GetWindowBackBuffer(s.Panel->Handle());
  ASSERT_TRUE(img);
  struct Probe {
    int X, Y;
    QColor Expected;
  };
  std::vector<Probe> probes = {
      {5, 0, QColor(0, 0, 255)},     // the pen's line, last pixel left out
      {10, 0, QColor(255, 0, 0)},    //
      {5, 5, QColor(255, 0, 0)},     // the panel's fill
      {20, 30, QColor(0, 0, 0)},     // the graphic child's frame
      {30, 40, QColor(0, 255, 0)},   // and its fill, painted by the parent
      {59, 49, QColor(0, 0, 0)},     //
      {60, 50, QColor(255, 0, 0)},   // outside the child
  };
  for (auto& p : probes) EXPECT_EQ(img->pixelColor(p.X, p.Y), p.Expected) << p.X << "," << p.Y;
  // WM_PRINTCLIENT paints the same into another device context.
  HDC mem = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(mem, 200, 150);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessage(s.Panel->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
  for (auto& p : probes) EXPECT_EQ(GetPixel(mem, p.X, p.Y), COLORREF(QColorToTColor(p.Expected))) << p.X << "," << p.Y;
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
}

TEST(Controls, RecreatingTheWindowKeepsChildrenAndText) {
  TScene s;
  s.Panel->SetCaption("Panel text");
  HWND before = s.Panel->Handle();
  HWND childBefore = s.EditA->Handle();
  s.Panel->RecreateWnd();
  EXPECT_NE(s.Panel->Handle(), before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_FALSE(IsWindow(childBefore));
  EXPECT_TRUE(s.EditA->HandleAllocated());
  EXPECT_EQ(GetParent(s.EditA->Handle()), s.Panel->Handle());
  EXPECT_EQ(GetWindowText(s.Panel->Handle()), "Panel text");
  EXPECT_TRUE(IsWindowVisible(s.EditA->Handle()));
}

}  // namespace

namespace {

TEST(Controls, ControlsMayFreeThemselvesInTheirClick) {
  TScene s;
  int before = s.Panel->ControlCount();
  s.EditA->OnClick = [&](TObject*) { delete s.EditA; };
  s.Graphic->OnClick = [&](TObject*) { delete s.Graphic; };
  SendMouse(s.EditA, QEvent::MouseButtonPress, QPoint(3, 3), Qt::LeftButton);
  SendMouse(s.EditA, QEvent::MouseButtonRelease, QPoint(3, 3), Qt::LeftButton);
  SendMouse(s.Panel, QEvent::MouseButtonPress, QPoint(25, 35), Qt::LeftButton);
  SendMouse(s.Panel, QEvent::MouseButtonRelease, QPoint(25, 35), Qt::LeftButton);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(s.Panel->ControlCount(), before - 2);
  EXPECT_EQ(s.Form->FindComponent("EditA"), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  // The rest still works.
  SendMouse(s.Panel, QEvent::MouseButtonPress, QPoint(150, 100), Qt::LeftButton);
  SendMouse(s.Panel, QEvent::MouseButtonRelease, QPoint(150, 100), Qt::LeftButton);
  EXPECT_EQ(s.Panel->Mouse, (std::vector<std::string>{"down 150,100", "click", "up 150,100"}));
}

}  // namespace

namespace {

// A control over the built-in edit window, as the standard controls are made.
class TTestEdit : public TWinControl {
 public:
  using TWinControl::TWinControl;
  int Changes = 0;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "EDIT");
  }
  void Dispatch(TMessage& m) override {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
      ++Changes;
      return;
    }
    TWinControl::Dispatch(m);
  }
};

TEST(Controls, ControlsOverBuiltInWindowClassesKeepTheirQtWidget) {
  TScene s;
  auto* edit = new TTestEdit(s.Form.get());
  edit->SetBounds(5, 100, 80, 20);
  edit->SetParent(s.Panel);
  auto* line = qobject_cast<QLineEdit*>(GetWindowWidget(edit->Handle()));
  ASSERT_TRUE(line);
  edit->SetText("abc");
  EXPECT_EQ(line->text(), "abc");
  EXPECT_EQ(edit->Changes, 1);
  // What the user types is the control's text, and the parent's notification comes back.
  edit->SetFocus();
  line->setCursorPosition(3);
  QKeyEvent down(QEvent::KeyPress, Qt::Key_D, Qt::NoModifier, "d");
  QCoreApplication::sendEvent(line, &down);
  QKeyEvent up(QEvent::KeyRelease, Qt::Key_D, Qt::NoModifier, "d");
  QCoreApplication::sendEvent(line, &up);
  Application->ProcessMessages();
  EXPECT_EQ(edit->Text(), "abcd");
  EXPECT_EQ(edit->Changes, 2);
}

}  // namespace

// Every combination of anchors, on a windowed and a graphic child, through a grow and a shrink
// of the parent's window: each axis keeps the distance to its anchored edges (both stretch it,
// neither keeps its centre where it was), always measured from where the child was placed.
TEST(Controls, AnchoredChildrenFollowTheirParentsEdges) {
  auto parent = std::make_unique<TPaintedControl>(nullptr);
  parent->SetBounds(0, 0, 200, 100);
  parent->SetVisible(true);
  struct Child {
    TAnchors Anchors;
    TControl* Windowed;
    TControl* Graphic;
  };
  std::vector<Child> children;
  for (int bits = 0; bits < 16; ++bits) {
    TAnchors anchors;
    for (int k = 0; k < 4; ++k)
      if (bits & (1 << k)) anchors.Include(TAnchorKind(k));
    Child c{anchors, new TPaintedControl(parent.get()), new TPaintedGraphic(parent.get())};
    for (TControl* control : {c.Windowed, c.Graphic}) {
      control->SetBounds(40, 20, 60, 30);
      control->SetParent(parent.get());
      control->SetAnchors(anchors);
    }
    children.push_back(c);
  }
  // One axis: the low edge at Pos with Size, the parent's size changed by Delta.
  auto axis = [](bool low, bool high, int pos, int size, int delta) {
    if (low && high) return std::pair{pos, size + delta};
    if (high) return std::pair{pos + delta, size};
    if (!low) return std::pair{pos + delta / 2, size};
    return std::pair{pos, size};
  };
  for (auto [w, h] : {std::pair{300, 160}, std::pair{150, 70}, std::pair{200, 100}}) {
    parent->SetBounds(0, 0, w, h);
    ASSERT_EQ(parent->ClientWidth(), w);
    for (const Child& c : children) {
      auto [left, width] = axis(c.Anchors.Contains(akLeft), c.Anchors.Contains(akRight), 40, 60, w - 200);
      auto [top, height] = axis(c.Anchors.Contains(akTop), c.Anchors.Contains(akBottom), 20, 30, h - 100);
      for (TControl* control : {c.Windowed, c.Graphic}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " anchors " +
                     std::to_string(int(c.Anchors.Contains(akLeft))) + std::to_string(int(c.Anchors.Contains(akTop))) +
                     std::to_string(int(c.Anchors.Contains(akRight))) + std::to_string(int(c.Anchors.Contains(akBottom))) +
                     (control == c.Windowed ? " windowed" : " graphic"));
        EXPECT_EQ(control->BoundsRect(), Bounds(left, top, width, height));
      }
    }
  }
  // A child moved by the program is anchored where it now stands; constraints bound a stretch.
  TControl* stretched = children[1 | 4].Windowed;  // left and right
  stretched->SetBounds(10, 20, 100, 30);
  stretched->Constraints()->SetMaxWidth(150);
  parent->SetBounds(0, 0, 240, 100);
  EXPECT_EQ(stretched->BoundsRect(), Bounds(10, 20, 140, 30));
  parent->SetBounds(0, 0, 300, 100);
  EXPECT_EQ(stretched->BoundsRect(), Bounds(10, 20, 150, 30));
}
