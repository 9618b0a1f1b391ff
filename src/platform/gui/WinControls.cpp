// TWinControl: a control that owns a window and its widget; the canvases of controls,
// TCustomControl and TGraphicControl.
#include "platform/gui/Controls.h"

#include <algorithm>
#include <unordered_map>

#include "platform/gui/Menus.h"
#include "platform/win/QtWindows.h"

class TApplication;
bool ApplyControlCursor(TWinControl* Window, TMessage& Message);
bool ApplicationIsShortCut(TMessage& Message);
TApplication* GetApplication();
extern TWeakLink<TControl> gCaptureControl;

namespace {

std::unordered_map<HWND, TWinControl*> gControls;
thread_local TWinControl* tCreationControl = nullptr;
TWeakLink<TControl> gMouseControl;
std::vector<TControlCanvas*> gCanvasesWithDC;
int gMainWndProcDepth = 0;

bool IsMouseMsg(UINT m) {
  return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST && m != WM_MOUSEWHEEL && m != WM_MOUSEHWHEEL;
}

void FreeDeviceContexts() {
  std::vector<TControlCanvas*> list;
  list.swap(gCanvasesWithDC);
  for (TControlCanvas* c : list) c->FreeHandle();
}

}  // namespace

LRESULT ControlWindowProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  TWinControl* c = FindControl(h);
  if (!c && tCreationControl && !tCreationControl->FHandle) {
    c = tCreationControl;
    tCreationControl = nullptr;
    c->FHandle = h;
    gControls[h] = c;
  }
  if (!c) return DefWindowProc(h, m, w, l);
  TMessage msg{m, w, l, 0};
  c->MainWndProc(msg);
  return msg.Result;
}

namespace {
WNDPROC ControlProc() {
  static WNDPROC proc = MakeWindowProc(ControlWindowProc);
  return proc;
}
}  // namespace

TWinControl* FindControl(HWND Handle) {
  auto it = gControls.find(Handle);
  return it == gControls.end() ? nullptr : it->second;
}

// ---------------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FBrush(new TBrush) {
  FBrush->SetColor(Color());
  // The application object puts shortcuts and dialog keys into the message pipeline.
  GetApplication();
}

TWinControl::~TWinControl() {
  Destroying();
  if (FParent) FParent->RemoveControl(this);
  if (FHandle) DestroyHandle();
  // Children go with their parent, newest first.
  while (!FControls.empty()) {
    TControl* c = FControls.back();
    RemoveControl(c);
    delete c;
  }
  delete FBrush;
}

bool TWinControl::IsTopLevel() const { return !FParent; }

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParent || FParentWindow == Value) return;
  if (FHandle && Value) ::SetParent(FHandle, Value);
  else if (FHandle) DestroyHandle();
  FParentWindow = Value;
  UpdateShowing();
}

void TWinControl::CreateParams(TCreateParams& P) {
  P.Caption = FText;
  if (FParent || FParentWindow) {
    P.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls)) {
      P.Style |= WS_CLIPCHILDREN;
      P.ExStyle |= WS_EX_CONTROLPARENT;
    }
  } else {
    P.Style = WS_POPUP | WS_CLIPCHILDREN;
  }
  if (!Enabled()) P.Style |= WS_DISABLED;
  if (FTabStop) P.Style |= WS_TABSTOP;
  P.X = FLeft;
  P.Y = FTop;
  P.Width = FWidth;
  P.Height = FHeight;
  P.WndParent = FParent ? FParent->Handle() : FParentWindow;
  P.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  P.WindowClass.lpfnWndProc = DefWindowProcInstance();
  P.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const char* ControlClassName) {
  WNDCLASS wc;
  if (!ControlClassName || !GetClassInfo(nullptr, ControlClassName, &wc)) return;
  DWORD keep = Params.WindowClass.style & (CS_VREDRAW | CS_HREDRAW);
  Params.WindowClass = wc;
  Params.WindowClass.style = (wc.style & ~(CS_VREDRAW | CS_HREDRAW)) | keep;
  Params.WindowClass.lpszClassName = nullptr;
  FSubClassName = ControlClassName;
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.Style & WS_CHILD) && !p.WndParent)
    throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  FDefWndProc = p.WindowClass.lpfnWndProc ? p.WindowClass.lpfnWndProc : DefWindowProcInstance();
  WNDCLASS existing;
  bool registered = GetClassInfo(nullptr, p.WinClassName.c_str(), &existing);
  if (!registered || existing.lpfnWndProc != ControlProc() ||
      existing.style != p.WindowClass.style) {
    if (registered) UnregisterClass(p.WinClassName.c_str(), nullptr);
    WNDCLASS wc = p.WindowClass;
    wc.lpfnWndProc = ControlProc();
    wc.lpszClassName = p.WinClassName.c_str();
    // A subclassed built-in class keeps its widget (a Qt control).
    if (!FSubClassName.empty())
      SetClassWidgetFactory(wc.lpszClassName, GetClassWidgetFactory(FSubClassName.c_str()));
    RegisterClass(&wc);
  }
  FControlState.Include(csCreating);
  tCreationControl = this;
  try {
    CreateWindowHandle(p);
  } catch (...) {
    tCreationControl = nullptr;
    FControlState.Exclude(csCreating);
    throw;
  }
  tCreationControl = nullptr;
  FControlState.Exclude(csCreating);
  if (!FHandle) throw EInvalidOperation(Format("Error creating window for %s", {Name()}));
  UpdateBounds();
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  HWND h = CreateWindowEx(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                          p.Width, p.Height, p.WndParent, nullptr, nullptr, p.Param);
  if (h && !FHandle) {
    FHandle = h;
    gControls[h] = this;
  }
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  // Windowed children keep the stacking of the control list.
  if (FParent) {
    auto& list = FParent->FControls;
    auto it = std::find(list.begin(), list.end(), this);
    HWND above = nullptr;
    for (auto j = it + 1; j != list.end() && it != list.end(); ++j)
      if (auto* wc = dynamic_cast<TWinControl*>(*j); wc && wc->FHandle) above = wc->FHandle;
    if (above)
      SetWindowPos(FHandle, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TWinControl::DestroyWnd() {
  FText = GetText();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  FControlState.Include(csDestroyingHandle);
  HWND h = FHandle;
  DestroyWindow(h);
  FControlState.Exclude(csDestroyingHandle);
  gControls.erase(h);
  FHandle = nullptr;
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TControl* c : std::vector<TControl*>(FControls))
    if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->DestroyHandle();
  DestroyWnd();
  FShowing = false;
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  bool hadFocus = Focused();
  DestroyHandle();
  UpdateShowing();
  if (FHandle && FParent) {
    // Children come back with their parent.
    for (TControl* c : FControls)
      if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->UpdateShowing();
  }
  if (hadFocus && CanFocus()) SetFocus();
}

void TWinControl::UpdateShowing() {
  bool showing = Visible() && (FParent ? FParent->FShowing : true);
  if (showing) {
    if (!FHandle) CreateHandle();
    bool changed = !FShowing;
    FShowing = true;
    for (TControl* c : std::vector<TControl*>(FControls))
      if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->UpdateShowing();
    if (changed) Perform(CM_SHOWINGCHANGED);
    return;
  }
  if (FShowing) {
    FShowing = false;
    Perform(CM_SHOWINGCHANGED);
  }
  for (TControl* c : std::vector<TControl*>(FControls))
    if (auto* wc = dynamic_cast<TWinControl*>(c); wc && wc->FShowing) wc->UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&) {
  if (!FHandle) return;
  if (IsTopLevel()) ShowWindow(FHandle, FShowing ? SW_SHOW : SW_HIDE);
  else
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage&) {
  if (!Visible() && FParent) {
    TWinControl* form = GetParentForm(this);
    if (form && (form->ActiveControl() == this || ContainsControl(form->ActiveControl())))
      form->SetActiveControl(nullptr);
  }
  if (!FParent || FParent->FShowing || FShowing) UpdateShowing();
}

void TWinControl::InsertControl(TControl* AControl) {
  AControl->FParent = this;
  FControls.push_back(AControl);
  if (auto* wc = dynamic_cast<TWinControl*>(AControl)) FTabList.push_back(wc);
  AControl->Perform(CM_PARENTCOLORCHANGED);
  AControl->Perform(CM_PARENTFONTCHANGED);
  AControl->Perform(CM_PARENTSHOWHINTCHANGED);
  if (auto* wc = dynamic_cast<TWinControl*>(AControl)) {
    if (FShowing || FHandle) wc->UpdateShowing();
  } else {
    AControl->Invalidate();
  }
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
  if (AControl->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (AControl->FParent != this) return;
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
  if (auto* wc = dynamic_cast<TWinControl*>(AControl)) {
    TWinControl* form = GetParentForm(this);
    if (form && (form->ActiveControl() == wc || wc->ContainsControl(form->ActiveControl())))
      form->SetActiveControl(nullptr);
    if (wc->FHandle) wc->DestroyHandle();
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), wc), FTabList.end());
  } else {
    AControl->Invalidate();
  }
  if (gMouseControl.get() == AControl) gMouseControl = nullptr;
  FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
  AControl->FParent = nullptr;
  if (AControl->Align() != alNone) Realign();
}

void TWinControl::SetParent(TWinControl* AParent) {
  if (Parent() == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  bool hadHandle = FHandle != nullptr;
  if (Parent()) Parent()->RemoveControl(this);
  if (hadHandle && FHandle) DestroyHandle();
  if (AParent) AParent->InsertControl(this);
  else UpdateShowing();
}

void TWinControl::SetChildOrder(TComponent* Child, int Order) {
  auto* c = dynamic_cast<TControl*>(Child);
  auto it = std::find(FControls.begin(), FControls.end(), c);
  if (it == FControls.end()) return;
  FControls.erase(it);
  Order = std::clamp(Order, 0, int(FControls.size()));
  FControls.insert(FControls.begin() + Order, c);
  if (auto* wc = dynamic_cast<TWinControl*>(c); wc && wc->HandleAllocated()) {
    // Stack the window under the next windowed sibling above it.
    HWND above = HWND_TOP;
    for (auto j = FControls.begin() + Order + 1; j != FControls.end(); ++j)
      if (auto* w = dynamic_cast<TWinControl*>(*j); w && w->HandleAllocated()) {
        above = w->WindowHandle();
        break;
      }
    SetWindowPos(wc->WindowHandle(), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    c->Invalidate();
  }
}

bool TWinControl::ContainsControl(TControl* Control) const {
  for (TControl* c = Control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (!AllowWinControls && dynamic_cast<TWinControl*>(c)) continue;
    if (!c->Visible() || (!AllowDisabled && !c->Enabled())) continue;
    if (!c->BoundsRect().Contains(Pos)) continue;
    if (c->HitTest(Pos.X - c->Left(), Pos.Y - c->Top())) return c;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (TControl* c : std::vector<TControl*>(FControls)) {
    if (std::find(FControls.begin(), FControls.end(), c) == FControls.end()) continue;
    if (c->FWindowProc) c->FWindowProc(Message);
    else c->WndProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage m{Msg, 0, 0, 0};
  Broadcast(m);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (FHandle) {
    LONG_PTR style = GetWindowLongPtr(FHandle, GWL_STYLE);
    SetWindowLongPtr(FHandle, GWL_STYLE, Value ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  auto& list = Parent()->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int Value) {
  if (!Parent()) return;
  auto& list = Parent()->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  Value = std::clamp(Value, 0, int(list.size()));
  list.insert(list.begin() + Value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* c : FTabList) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return FHandle && FHandle == GetFocus(); }

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  TWinControl* form = GetParentForm(this);
  if (form && form != this) form->FActiveControl = this;
  ::SetFocus(Handle());
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = int(list.size());
  auto found = std::find(list.begin(), list.end(), CurControl);
  int start = found == list.end() ? (GoForward ? n - 1 : 0) : int(found - list.begin());
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[size_t(i)];
    if (c == CurControl) break;
    if (!c->CanFocus()) continue;
    if (CheckTabStop && !c->TabStop()) continue;
    if (CheckParent && c->Parent() != this) continue;
    return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop);
  if (next) next->SetFocus();
}

TWinControl* TWinControl::ActiveControl() const {
  const TWinControl* form = this;
  while (form->Parent()) form = form->Parent();
  return form->FActiveControl.get();
}

void TWinControl::SetActiveControl(TWinControl* Control) {
  TWinControl* form = GetParentForm(this);
  if (form != this) {
    if (form) form->SetActiveControl(Control);
    return;
  }
  if (Control && (Control == this || GetParentForm(Control) != this || !Control->CanFocus()))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FActiveControl = Control;
  if (Control && GetFocus() && GetAncestor(GetFocus(), GA_ROOT) == FHandle) Control->SetFocus();
}

bool TWinControl::SetFocusedControl(TWinControl* Control) {
  TWinControl* old = FFocusedControl.get();
  if (Control != this) FActiveControl = Control;
  if (old == Control) return true;
  FFocusedControl = Control;
  // A form being torn down moves the focus as its children go, but its handlers may belong to
  // parts of it already destroyed: no enter or exit reaches them.
  if (ComponentState().Contains(csDestroying)) return true;
  TWeakLink<TWinControl> guard(Control);
  // Leaving: from the old control up to (not including) the first common parent.
  for (TWinControl* c = old; c && !(Control && c->ContainsControl(Control)); c = c->Parent())
    c->Perform(CM_EXIT);
  if (!guard && Control) return false;
  // Entering: from below the common parent down to the control.
  std::vector<TWinControl*> path;
  for (TWinControl* c = Control; c && !(old && c->ContainsControl(old)); c = c->Parent())
    path.push_back(c);
  for (auto it = path.rbegin(); it != path.rend(); ++it) (*it)->Perform(CM_ENTER);
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  return true;
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  Constraints()->Apply(AWidth, AHeight);
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if (FHandle) {
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    // The window's messages bring the new bounds in.
    if (!FAnchoring) UpdateAnchorRules();
    return;
  }
  bool sized = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  if (sized) Realign();
  RequestAlign();
  if (!FAnchoring) UpdateAnchorRules();
}

TRect TWinControl::ClientRect() const {
  if (FHandle) {
    RECT r;
    GetClientRect(FHandle, &r);
    return r;
  }
  return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin() const {
  if (FHandle) {
    POINT p{0, 0};
    ::ClientToScreen(FHandle, &p);
    return p;
  }
  return TControl::ClientOrigin();
}

void TWinControl::UpdateBounds() {
  if (!FHandle) return;
  RECT r;
  GetWindowRect(FHandle, &r);
  // A child window without a parent control (hosted in a foreign window, an MDI child) is
  // placed in its parent window's client area as well.
  HWND parent = FParent ? FParent->FHandle : nullptr;
  if (!parent && (GetWindowLongPtr(FHandle, GWL_STYLE) & WS_CHILD)) parent = GetParent(FHandle);
  if (parent) {
    POINT tl{r.left, r.top};
    ::ScreenToClient(parent, &tl);
    r = {tl.x, tl.y, tl.x + (r.right - r.left), tl.y + (r.bottom - r.top)};
  }
  bool sized = (r.right - r.left) != FWidth || (r.bottom - r.top) != FHeight;
  FLeft = r.left;
  FTop = r.top;
  FWidth = r.right - r.left;
  FHeight = r.bottom - r.top;
  if (sized) RequestAlign();
}

void TWinControl::EnableAlign() {
  if (--FAlignLevel == 0) Realign();
}

void TWinControl::Realign() {
  if (FAlignLevel > 0 || FAligning) return;
  TRect r = ClientRect();
  FAligning = true;
  try {
    AlignControls(nullptr, r);
  } catch (...) {
    FAligning = false;
    throw;
  }
  FAligning = false;
}

void TWinControl::AlignControls(TControl*, TRect& R) {
  auto place = [&](TAlign align) {
    std::vector<TControl*> list;
    for (TControl* c : FControls)
      if (c->Align() == align && c->Visible()) list.push_back(c);
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
      switch (align) {
        case alTop: return a->Top() < b->Top();
        case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft: return a->Left() < b->Left();
        case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
        default: return false;
      }
    });
    for (TControl* c : list) {
      switch (align) {
        case alTop:
          c->SetBounds(R.Left, R.Top, R.Width(), c->Height());
          R.Top += c->Height();
          break;
        case alBottom:
          c->SetBounds(R.Left, R.Bottom - c->Height(), R.Width(), c->Height());
          R.Bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(R.Left, R.Top, c->Width(), R.Height());
          R.Left += c->Width();
          break;
        case alRight:
          c->SetBounds(R.Right - c->Width(), R.Top, c->Width(), R.Height());
          R.Right -= c->Width();
          break;
        case alClient: c->SetBounds(R.Left, R.Top, R.Width(), R.Height()); break;
        default: break;
      }
    }
  };
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) place(a);
  // Unaligned children keep their distances to the edges they are anchored to.
  int w = ClientWidth(), h = ClientHeight();
  for (TControl* c : std::vector<TControl*>(FControls))
    if (c->Align() == alNone && c->Anchors() != TAnchors{akLeft, akTop}) c->AnchorToParent(w, h);
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  int saved = SaveDC(DC);
  POINT old;
  OffsetViewportOrgEx(DC, X, Y, &old);
  IntersectClipRect(DC, 0, 0, FWidth, FHeight);
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), reinterpret_cast<LPARAM>(DC));
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  for (TControl* c : FControls)
    if (auto* wc = dynamic_cast<TWinControl*>(c); wc && wc->Visible())
      wc->PaintTo(DC, wc->Left(), wc->Top());
  RestoreDC(DC, saved);
}

std::string TWinControl::GetText() const {
  // A window of a built-in class keeps its own text (what the user typed).
  if (FHandle && FDefWndProc && FDefWndProc != DefWindowProcInstance()) {
    LRESULT n = CallWindowProc(FDefWndProc, FHandle, WM_GETTEXTLENGTH, 0, 0);
    std::string buf(size_t(std::max<LRESULT>(n, 0)) + 1, '\0');
    LRESULT got = CallWindowProc(FDefWndProc, FHandle, WM_GETTEXT, buf.size(),
                                 reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(size_t(std::clamp<LRESULT>(got, 0, LRESULT(buf.size()))));
    return buf;
  }
  return FText;
}

void TWinControl::MainWndProc(TMessage& Message) {
  ++gMainWndProcDepth;
  try {
    if (FWindowProc) FWindowProc(Message);
    else WndProc(Message);
  } catch (...) {
    HandleWindowException(std::current_exception());
  }
  if (--gMainWndProcDepth == 0) FreeDeviceContexts();
}

void TWinControl::TrackMouseControl(TControl* Control) {
  TControl* old = gMouseControl.get();
  if (old == Control) return;
  gMouseControl = Control;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (Control && gMouseControl.get() == Control) Control->Perform(CM_MOUSEENTER);
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
  TPoint p(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  TControl* target = nullptr;
  TControl* capture = GetCaptureControl();
  if (capture && capture->Parent() == this && !dynamic_cast<TWinControl*>(capture)) {
    target = capture;
  } else if (!capture || capture == this) {
    if (!capture) target = ControlAtPos(p, false);
  }
  if (m.Msg == WM_MOUSEMOVE) TrackMouseControl(capture ? capture : (target ? target : this));
  if (!target) return false;
  TPoint local = p - TPoint(target->Left(), target->Top());
  m.Result = target->Perform(m.Msg, m.WParam, PointToLParam(local.X, local.Y));
  return true;
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      TWinControl* form = GetParentForm(this);
      if (form && !form->SetFocusedControl(this)) return;
      break;
    }
    case WM_KILLFOCUS:
      if (FControlState.Contains(csFocusing)) return;
      break;
    default:
      if (IsMouseMsg(Message.Msg) && IsControlMouseMsg(Message)) return;
      break;
  }
  TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: WMPaint(m); return;
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case WM_PRINTCLIENT: WMPrintClient(m); return;
    case WM_SETFOCUS: WMSetFocus(m); return;
    case WM_KILLFOCUS: WMKillFocus(m); return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: WMKeyDown(m); return;
    case WM_KEYUP:
    case WM_SYSKEYUP: WMKeyUp(m); return;
    case WM_CHAR: WMChar(m); return;
    case WM_SIZE: WMSize(m); return;
    case WM_MOVE: WMMove(m); return;
    case WM_SETCURSOR: WMSetCursor(m); return;
    case WM_NCDESTROY: WMNCDestroy(m); return;
    case WM_MOUSELEAVE: WMMouseLeave(m); return;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      // A child control's notification goes back to that control as CN_xxx.
      if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
        m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
      }
      DefaultHandler(m);
      return;
    case WM_SYSCOLORCHANGE:
      DefaultHandler(m);
      NotifyControls(CM_SYSCOLORCHANGE);
      Invalidate();
      return;
    case CM_SYSCOLORCHANGE:
      NotifyControls(CM_SYSCOLORCHANGE);
      Invalidate();
      return;
    case WM_SETTEXT:
      TControl::WMSetText(m);
      DefaultHandler(m);
      return;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: TControl::Dispatch(m); return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: CNKeyDown(m); return;
    case CN_CHAR:
    case CN_SYSCHAR: CNChar(m); return;
    case CM_DIALOGKEY: CMDialogKey(m); return;
    case CM_DIALOGCHAR: CMDialogChar(m); return;
    case CM_SHOWINGCHANGED: CMShowingChanged(m); return;
    case CM_FOCUSCHANGED: CMFocusChanged(m); Broadcast(m); return;
    case CM_ENTER: CMEnter(m); return;
    case CM_EXIT: CMExit(m); return;
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); return;
  }
  TControl::Dispatch(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (FHandle) {
    // Notifications of the control library are ours alone.
    if ((m.Msg >= CM_BASE && m.Msg < CN_BASE + 0x400)) {
      m.Result = 0;
      return;
    }
    m.Result = CallWindowProc(FDefWndProc, FHandle, m.Msg, m.WParam, m.LParam);
    return;
  }
  TControl::DefaultHandler(m);
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintHandler(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  PAINTSTRUCT ps;
  bool own = !dc;
  if (own) dc = BeginPaint(Handle(), &ps);
  try {
    PaintWindow(dc);
    PaintControls(dc, nullptr);
  } catch (...) {
    if (own) EndPaint(FHandle, &ps);
    throw;
  }
  if (own) EndPaint(FHandle, &ps);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  auto it = FControls.begin();
  if (First) it = std::find(FControls.begin(), FControls.end(), First);
  for (; it != FControls.end(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(DC, &r)) continue;
    int saved = SaveDC(DC);
    OffsetViewportOrgEx(DC, c->Left(), c->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    RestoreDC(DC, saved);
  }
}

void TWinControl::WMPaint(TMessage& m) {
  if (!FControlState.Contains(csCustomPaint) && FControls.empty() && !m.WParam &&
      FDefWndProc != DefWindowProcInstance()) {
    DefaultHandler(m);
    return;
  }
  PaintHandler(m);
}

void TWinControl::WMEraseBkgnd(TMessage& m) {
  RECT r = ClientRect();
  ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, FBrush->Handle());
  m.Result = 1;
}

void TWinControl::WMPrintClient(TMessage& m) {
  if (!m.WParam || !(m.LParam & PRF_CLIENT)) {
    DefaultHandler(m);
    return;
  }
  if (m.LParam & PRF_ERASEBKGND) Perform(WM_ERASEBKGND, m.WParam, m.WParam);
  FControlState.Include(csPaintCopy);
  TMessage paint{WM_PAINT, m.WParam, 0, 0};
  try {
    Dispatch(paint);
  } catch (...) {
    FControlState.Exclude(csPaintCopy);
    throw;
  }
  FControlState.Exclude(csPaintCopy);
  m.Result = 1;
}

void TWinControl::WMSetFocus(TMessage& m) { DefaultHandler(m); }
void TWinControl::WMKillFocus(TMessage& m) { DefaultHandler(m); }

// The form sees a key first when it previews keys; a handler that clears the key takes it.
bool TWinControl::DoKeyEvent(TMessage& m, bool (TWinControl::*Preview)(TMessage&),
                             void (TWinControl::*Handler)(WORD&, TShiftState)) {
  TWinControl* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && (form->*Preview)(m)) return true;
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  WORD key = WORD(m.WParam);
  (this->*Handler)(key, KeyDataToShiftState(m.LParam));
  if (key == 0) return true;
  m.WParam = key;
  return false;
}

bool TWinControl::DoKeyDown(TMessage& m) {
  return DoKeyEvent(m, &TWinControl::DoKeyDown, &TWinControl::KeyDown);
}

bool TWinControl::DoKeyUp(TMessage& m) {
  return DoKeyEvent(m, &TWinControl::DoKeyUp, &TWinControl::KeyUp);
}

bool TWinControl::DoKeyPress(TMessage& m) {
  TWinControl* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyPress(m)) return true;
  if (FControlStyle.Contains(csNoStdEvents)) return false;
  char32_t key = char32_t(m.WParam);
  KeyPress(key);
  if (key == 0) return true;
  m.WParam = key;
  return false;
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char32_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::WMKeyDown(TMessage& m) {
  if (!DoKeyDown(m)) DefaultHandler(m);
}

void TWinControl::WMKeyUp(TMessage& m) {
  if (!DoKeyUp(m)) DefaultHandler(m);
}

void TWinControl::WMChar(TMessage& m) {
  if (!DoKeyPress(m)) DefaultHandler(m);
}

void TWinControl::WMSize(TMessage& m) {
  UpdateBounds();
  DefaultHandler(m);
  Realign();
  if (!ComponentState().Contains(csLoading)) Resize();
}

void TWinControl::WMMove(TMessage& m) {
  UpdateBounds();
  DefaultHandler(m);
}

void TWinControl::WMWindowPosChanged(TMessage& m) {
  DefaultHandler(m);
  UpdateBounds();
}

void TWinControl::WMSetCursor(TMessage& m) {
  // The cursor shown is the one of the control under the mouse (graphic children included);
  // ApplyControlCursor lives with the screen's cursor table.
  if (ApplyControlCursor(this, m)) return;
  DefaultHandler(m);
}

void TWinControl::WMNCDestroy(TMessage& m) {
  DefaultHandler(m);
  gControls.erase(FHandle);
  FHandle = nullptr;
  FShowing = false;
}

void TWinControl::WMMouseLeave(TMessage& m) {
  TControl* mc = gMouseControl.get();
  if (mc && (mc == this || mc->Parent() == this) && !GetCaptureControl()) TrackMouseControl(nullptr);
  DefaultHandler(m);
}

void TWinControl::WMCaptureChanged(TMessage& m) {
  TControl* c = gCaptureControl.get();
  if (c && c->Parent() == this && !dynamic_cast<TWinControl*>(c) &&
      reinterpret_cast<HWND>(m.LParam) != FHandle) {
    gCaptureControl = nullptr;
    c->Perform(WM_CAPTURECHANGED, m.WParam, m.LParam);
  }
  TControl::WMCaptureChanged(m);
}

void TWinControl::CNKeyDown(TMessage& m) {
  m.Result = 1;
  // The pop-up menus of the control and its parents know their items' shortcuts.
  for (TControl* c = this; c; c = c->Parent())
    if (TPopupMenu* menu = c->PopupMenu(); menu && menu->IsShortCut(m)) return;
  TWinControl* form = GetParentForm(this);
  if (form && form->IsShortCut(m)) return;
  if (ApplicationIsShortCut(m)) return;
  if (Perform(CM_CHILDKEY, m.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
  LRESULT mask = 0;
  switch (m.WParam) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
  }
  if (mask && Perform(CM_WANTSPECIALKEY, m.WParam, m.LParam) == 0 &&
      (Perform(WM_GETDLGCODE) & mask) == 0 && form &&
      form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0)
    return;
  m.Result = 0;
}

void TWinControl::CNChar(TMessage& m) {
  m.Result = 1;
  TWinControl* form = GetParentForm(this);
  // Alt with a key always asks for an access key, also from controls that take characters.
  if ((m.Msg == CN_SYSCHAR || (Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0) && form &&
      form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
    return;
  m.Result = 0;
}

void TWinControl::CMDialogKey(TMessage& m) {
  if (IsTopLevel() && GetKeyState(VK_MENU) >= 0) {
    switch (m.WParam) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(ActiveControl(), GetKeyState(VK_SHIFT) >= 0, true);
          m.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_UP:
        if (ActiveControl()) {
          SelectNext(ActiveControl(), false, false);
          m.Result = 1;
          return;
        }
        break;
      case VK_RIGHT:
      case VK_DOWN:
        if (ActiveControl()) {
          SelectNext(ActiveControl(), true, false);
          m.Result = 1;
          return;
        }
        break;
    }
  }
  Broadcast(m);
}

void TWinControl::CMDialogChar(TMessage& m) { Broadcast(m); }

void TWinControl::CMEnabledChanged(TMessage& m) {
  if (!Enabled() && FParent) {
    TWinControl* form = GetParentForm(this);
    if (form && (form->ActiveControl() == this || ContainsControl(form->ActiveControl())))
      form->SetActiveControl(nullptr);
  }
  if (FHandle) EnableWindow(FHandle, Enabled());
  TControl::CMEnabledChanged(m);
}

void TWinControl::ColorToBrush() { FBrush->SetColor(Color()); }

void TWinControl::CMColorChanged(TMessage& m) {
  ColorToBrush();
  NotifyControls(CM_PARENTCOLORCHANGED);
  TControl::CMColorChanged(m);
}

void TWinControl::CMFontChanged(TMessage& m) {
  if (FHandle) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
  TControl::CMFontChanged(m);
}

void TWinControl::CMParentShowHintChanged(TMessage& m) {
  TControl::CMParentShowHintChanged(m);
  NotifyControls(CM_PARENTSHOWHINTCHANGED);
}

void TWinControl::CMCursorChanged(TMessage& m) {
  POINT p;
  GetCursorPos(&p);
  if (FHandle && GetCapture() == nullptr && WindowFromPoint(p) == FHandle)
    SendMessage(FHandle, WM_SETCURSOR, reinterpret_cast<WPARAM>(FHandle), MAKELPARAM(WORD(HTCLIENT), WORD(WM_MOUSEMOVE)));
  TControl::CMCursorChanged(m);
}

// ---------------------------------------------------------------------------------------------
// Canvases of controls

void TControlCanvas::SetControl(TControl* Value) {
  if (FControl == Value) return;
  FreeHandle();
  FControl = Value;
}

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
  if (!FControl) return;
  if (auto* wc = dynamic_cast<TWinControl*>(FControl)) {
    FWindowHandle = wc->Handle();
    FDeviceContext = GetDC(FWindowHandle);
  } else if (FControl->Parent()) {
    FWindowHandle = FControl->Parent()->Handle();
    FDeviceContext = GetDC(FWindowHandle);
    SetViewportOrgEx(FDeviceContext, FControl->Left(), FControl->Top(), nullptr);
    IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
  }
  if (FDeviceContext) {
    SetHandle(FDeviceContext);
    gCanvasesWithDC.push_back(this);
  }
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  HDC dc = FDeviceContext;
  FDeviceContext = nullptr;
  SetHandle(nullptr);
  ReleaseDC(FWindowHandle, dc);
  gCanvasesWithDC.erase(std::remove(gCanvasesWithDC.begin(), gCanvasesWithDC.end(), this),
                        gCanvasesWithDC.end());
}

// ---------------------------------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(new TControlCanvas) {
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() { delete FCanvas; }

void TCustomControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    WMPaintCustom(m);
    return;
  }
  TWinControl::Dispatch(m);
}

void TCustomControl::WMPaintCustom(TMessage& m) {
  FControlState.Include(csCustomPaint);
  try {
    TWinControl::WMPaint(m);
  } catch (...) {
    FControlState.Exclude(csCustomPaint);
    throw;
  }
  FControlState.Exclude(csCustomPaint);
}

void TCustomControl::PaintWindow(HDC DC) {
  FCanvas->FreeHandle();
  FCanvas->Lock();
  FCanvas->SetHandle(DC);
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner), FCanvas(new TControlCanvas) {
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() { delete FCanvas; }

void TGraphicControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    WMPaint(m);
    return;
  }
  TControl::Dispatch(m);
}

void TGraphicControl::WMPaint(TMessage& m) {
  if (!m.WParam) return;
  FCanvas->FreeHandle();
  FCanvas->Lock();
  FCanvas->SetHandle(reinterpret_cast<HDC>(m.WParam));
  try {
    Paint();
  } catch (...) {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
    throw;
  }
  FCanvas->SetHandle(nullptr);
  FCanvas->Unlock();
}
