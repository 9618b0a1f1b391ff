#include "platform/gui/CustomForms.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <memory>

#include "platform/gui/ActnList.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Streaming.h"
#include "platform/win/QtWindows.h"

namespace {

// Sub-windows moved or resized by the user carry the form's window along.
// Set on an MDI child's sub-window while its window is destroyed.
constexpr const char* kClosingProperty = "sonalix_mdi_closing";

class TSubWindowTracker : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Close) {
      // The sub-window's own close button asks the form, as the window menu's Close does: the
      // form's close query may keep it (a document with unsaved changes).
      auto* w = static_cast<QWidget*>(o);
      HWND h = WindowFromWidget(w);
      if (!h || w->property(kClosingProperty).toBool()) return false;
      e->ignore();
      SendMessage(h, WM_CLOSE, 0, 0);
      return true;
    }
    if (e->type() != QEvent::Move && e->type() != QEvent::Resize && e->type() != QEvent::WindowStateChange &&
        e->type() != QEvent::ContentsRectChange)
      return false;
    auto* w = static_cast<QWidget*>(o);
    HWND h = WindowFromWidget(w);
    if (!h) return false;
    if (e->type() == QEvent::ContentsRectChange) {
      // The title bar and frame came or went (Qt sets them after the state change): the client
      // area follows, even where the sub-window keeps its geometry.
      const QRect g = w->geometry();
      SetWindowPos(h, nullptr, g.x(), g.y(), g.width(), g.height(), SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
      return false;
    }
    if (e->type() == QEvent::WindowStateChange) {
      // Activation changes the state too; only minimizing, maximizing and restoring count.
      const Qt::WindowStates sized = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
      if ((static_cast<QWindowStateChangeEvent*>(e)->oldState() & sized) == (w->windowState() & sized))
        return false;
      // Maximizing takes the title bar away and restoring gives it back: the client area
      // follows, and the child hears that it was sized. Qt may have placed the sub-window
      // while it was hidden, without move or resize events yet: its geometry is the one to keep.
      const QRect g = w->geometry();
      SetWindowPos(h, nullptr, g.x(), g.y(), g.width(), g.height(),
                   SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
      // A minimized child shows its title alone: its controls, laid out in an empty client
      // area, would stand over the title. Their widgets go out of sight until it is restored.
      const bool minimized = w->windowState() & Qt::WindowMinimized;
      for (HWND c = IsWindow(h) ? GetWindow(h, GW_CHILD) : nullptr; c; c = GetWindow(c, GW_HWNDNEXT))
        if (QWidget* cw = GetWindowWidget(c))
          cw->setVisible(!minimized && (GetWindowLongPtr(c, GWL_STYLE) & WS_VISIBLE));
      if (IsWindow(h)) SendMessage(h, WM_CHILDACTIVATE, 0, 0);
      return false;
    }
    RECT r;
    GetWindowRect(h, &r);
    POINT p{r.left, r.top};
    ScreenToClient(GetParent(h), &p);
    QRect g = w->geometry();
    if (g.x() != p.x || g.y() != p.y || g.width() != r.right - r.left || g.height() != r.bottom - r.top)
      SetWindowPos(h, nullptr, g.x(), g.y(), g.width(), g.height(), SWP_NOZORDER | SWP_NOACTIVATE);
    return false;
  }
};


QMdiSubWindow* SubWindowOf(const TCustomForm* Form) {
  return Form->HandleAllocated() ? qobject_cast<QMdiSubWindow*>(GetWindowWidget(Form->WindowHandle()))
                                 : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TComponent* FormsApplicationOwner() { return Application; }

void FormsSetMainFormIfNone(TCustomForm* Form) {
  if (!Application->MainForm()) Application->SetMainForm(Form);
}

TCustomForm* GetParentCustomForm(TControl* Control) {
  return dynamic_cast<TCustomForm*>(GetParentForm(Control));
}

TCustomForm::TCustomForm(TComponent* AOwner)
    : TWinControl(AOwner) {
  FFormState.Include(fsCreating);
  SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                                csDoubleClicks});
  SetVisible(false);
  SetParentColor(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  Screen->AddForm(this);
  FFormState.Exclude(fsCreating);
}

void TCustomForm::BeforeDestruction() {
  if (FDestroyed) return;
  FDestroyed = true;
  try {
    DoDestroy();
  } catch (...) {
    HandleWindowException(std::current_exception());
  }
}

TCustomForm::~TCustomForm() {
  // A document's window outlives this part of its form: it is on its way out already.
  if (QMdiSubWindow* sub = SubWindowOf(this)) sub->setProperty(kClosingProperty, true);
  BeforeDestruction();
  Destroying();
  Screen->RemoveForm(this);
  if (Application->MainForm() == this) Application->SetMainForm(nullptr);
  // Owned components go while the form is still a form.
  DestroyComponents();
  delete FCanvas;
}

void TCustomForm::InitForm(const std::string& ResName) {
  FFormState.Include(fsCreating);
  try {
    if (DescriptionExists(ResName)) ReadComponentRes(this, ResName);
    // A timer whose handler came from the description starts now that it has one.
    for (int i = 0; i < ComponentCount(); ++i)
      if (auto* t = dynamic_cast<TTimer*>(Components(i))) t->SetOnTimer(t->OnTimer);
  } catch (...) {
    FFormState.Exclude(fsCreating);
    throw;
  }
  FFormState.Exclude(fsCreating);
  DoCreate();
  if (Visible() || FFormStyle == fsMDIChild) {
    SetVisible(false);
    Show();
  }
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  ApplySizeLimits();
}

void TCustomForm::DoCreate() {
  // A failing creation handler is reported; the form still exists and can be shown.
  try {
    if (OnCreate) OnCreate(this);
  } catch (...) {
    HandleWindowException(std::current_exception());
  }
}

void TCustomForm::DoDestroy() {
  if (OnDestroy) OnDestroy(this);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Show() {
  SetVisible(true);
  if (QMdiSubWindow* sub = SubWindowOf(this)) {
    if (sub->mdiArea()) sub->mdiArea()->setActiveSubWindow(sub);
    if (auto* frame = dynamic_cast<TCustomForm*>(Application->MainForm())) frame->FActiveMDIChild = this;
    return;
  }
  if (HandleAllocated()) BringWindowToTop(WindowHandle());
  RaiseStayOnTopForms();
}

// Without a window manager that keeps them there, stay-on-top forms are raised again whenever
// another form comes to the front. A form owned by a stay-on-top form (its dialogs) stays on top
// as well, as owned windows do on the platform, and is not covered.
void TCustomForm::RaiseStayOnTopForms() {
  for (TComponent* c = this; c; c = c->Owner())
    if (auto* f = dynamic_cast<TCustomForm*>(c); f && f->FFormStyle == fsStayOnTop) return;
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* f = dynamic_cast<TCustomForm*>(Screen->Forms(i));
        f && f != this && f->FFormStyle == fsStayOnTop && f->Showing())
      if (QWidget* w = GetWindowWidget(f->WindowHandle())) w->raise();
}

// A form that becomes active gives the keyboard to the control that had it last, else to its
// first tab stop, so a dialog can be used from the keyboard at once.
void TCustomForm::SetWindowFocus() {
  if (FFormStyle == fsMDIChild || !HandleAllocated()) return;
  HWND focus = GetFocus();
  if (focus && focus != WindowHandle() && GetAncestor(focus, GA_ROOT) == WindowHandle()) return;
  TWinControl* target = ActiveControl();
  if (!target || !target->CanFocus()) target = FindNextControl(nullptr, true, true, false);
  if (target && target->CanFocus()) target->SetFocus();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  FFormStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  if (HandleAllocated()) RecreateWnd();
}

TWindowState TCustomForm::WindowState() const {
  if (HWND h = WindowHandle(); h && IsWindowVisible(h)) {
    if (IsZoomed(h)) return wsMaximized;
    if (IsIconic(h)) return wsMinimized;
    return wsNormal;
  }
  return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState Value) {
  FWindowState = Value;
  if (HWND h = WindowHandle(); h && Showing())
    ShowWindow(h, Value == wsMaximized ? SW_SHOWMAXIMIZED
                  : Value == wsMinimized ? SW_SHOWMINIMIZED
                                         : SW_SHOWNORMAL);
}

void TCustomForm::ConstraintsChanged() {
  ApplySizeLimits();
  TWinControl::ConstraintsChanged();
}

void TCustomForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  Constraints()->Apply(AWidth, AHeight);
  // A fixed border keeps the user from resizing, not the program.
  if (IsFixedBorder())
    if (QWidget* w = HandleAllocated() ? GetWindowWidget(WindowHandle()) : nullptr)
      w->setFixedSize(AWidth, AHeight);
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

bool TCustomForm::IsFixedBorder() const {
  return FFormStyle != fsMDIChild && (FBorderStyle == bsSingle || FBorderStyle == bsDialog ||
                                      FBorderStyle == bsToolWindow);
}

void TCustomForm::SetClientSize(int W, int H) {
  TRect client = ClientRect();
  SetBounds(Left(), Top(), Width() - client.Width() + W, Height() - client.Height() + H);
}

void TCustomForm::CreateParams(TCreateParams& P) {
  TWinControl::CreateParams(P);
  P.Style &= ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  switch (FBorderStyle) {
    case bsNone: P.Style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: P.Style |= WS_CAPTION; break;
    case bsSizeable:
    case bsSizeToolWin: P.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      P.Style |= WS_CAPTION;
      P.ExStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
  if (FBorderStyle != bsNone) {
    if (FBorderIcons.Contains(biSystemMenu)) P.Style |= WS_SYSMENU;
    if (FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin) {
      if (FBorderIcons.Contains(biMinimize)) P.Style |= WS_MINIMIZEBOX;
      if (FBorderIcons.Contains(biMaximize)) P.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) P.ExStyle |= WS_EX_TOOLWINDOW;
  if (FFormStyle == fsStayOnTop) P.ExStyle |= WS_EX_TOPMOST;
  if (TCustomForm* parent = FPopupParent.get(); parent && parent != this && FFormStyle != fsMDIChild)
    P.WndParent = parent->Handle();
  if (FFormStyle == fsMDIChild) {
    auto* frame = dynamic_cast<TCustomForm*>(Application->MainForm());
    if (!frame || frame == this || frame->FFormStyle != fsMDIForm)
      throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
    frame->HandleNeeded();
    // A window of the frame's client, shown in a sub-window of Qt's MDI area.
    P.Style = (P.Style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS | WS_CAPTION;
    P.WndParent = frame->FClientHandle;
    P.WinClassName = ClassName() + ".MDIChild";
    SetClassWidgetFactory(P.WinClassName.c_str(), [](QWidget* parent) -> QWidget* {
      auto* area = qobject_cast<QMdiArea*>(parent);
      auto* sub = new QMdiSubWindow;
      sub->setAttribute(Qt::WA_DeleteOnClose, false);
      if (area) area->addSubWindow(sub);
      return sub;
    });
  }
}


void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  ApplySizeLimits();
  ApplyAlphaBlend();
  if (FFormStyle == fsMDIForm) CreateMDIClient();
  if (QMdiSubWindow* sub = SubWindowOf(this)) {
    static TSubWindowTracker* tracker = new TSubWindowTracker;
    sub->installEventFilter(tracker);
    sub->setWindowTitle(QString::fromStdString(Caption()));
    // A document shows the application's icon until it is given one of its own.
    if (HICON icon = ApplicationIconHandle()) {
      SendMessage(WindowHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
      SendMessage(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
    // The client area lies inside the sub-window's frame and title bar.
    SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// An MDI child carries out the window-menu commands on its sub-window; the low four bits of the
// command are the system's own and are ignored.
void TCustomForm::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SYSCOMMAND && FFormStyle == fsMDIChild) {
    if (QMdiSubWindow* sub = SubWindowOf(this)) {
      switch (Message.WParam & 0xFFF0) {
        case SC_RESTORE: sub->showNormal(); return;
        case SC_MINIMIZE: sub->showMinimized(); return;
        case SC_MAXIMIZE: sub->showMaximized(); return;
        case SC_CLOSE: Close(); return;
        case SC_NEXTWINDOW:
          if (auto* frame = dynamic_cast<TCustomForm*>(Application->MainForm())) frame->Next();
          return;
        default: break;
      }
    }
  }
  TWinControl::WndProc(Message);
}

void TCustomForm::CreateMDIClient() {
  static bool registered = false;
  if (!registered) {
    registered = true;
    WNDCLASS wc;
    // The client answers which child is active and whether it is maximized.
    wc.lpfnWndProc = MakeWindowProc([](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
      if (msg != WM_MDIGETACTIVE) return DefWindowProc(h, msg, w, l);
      auto* area = qobject_cast<QMdiArea*>(GetWindowWidget(h));
      QMdiSubWindow* sub = area ? area->currentSubWindow() : nullptr;
      // A child whose window is being destroyed is active no more: the frame's bars hear
      // WM_DESTROY and ask again.
      if (sub && sub->property(kClosingProperty).toBool()) sub = nullptr;
      HWND child = sub ? WindowFromWidget(sub) : nullptr;
      if (l) *reinterpret_cast<BOOL*>(l) = child && sub->isMaximized() ? TRUE : FALSE;
      return reinterpret_cast<LRESULT>(child);
    });
    wc.lpszClassName = "MDICLIENT";
    RegisterClass(&wc);
    SetClassWidgetFactory("MDICLIENT", [](QWidget* parent) -> QWidget* {
      auto* area = new QMdiArea(parent);
      area->setFrameShape(QFrame::NoFrame);
      area->setBackground(QColor(0x80, 0x80, 0x80));
      return area;
    });
  }
  TRect r = ClientRect();
  FClientHandle = CreateWindowEx(0, "MDICLIENT", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r.Left,
                                 r.Top, r.Width(), r.Height(), WindowHandle(), nullptr, nullptr, nullptr);
  if (auto* area = qobject_cast<QMdiArea*>(GetWindowWidget(FClientHandle))) {
    // A maximized child draws no title bar: the frame's menu bar shows its icon and buttons.
    area->window()->setAttribute(Qt::WA_CanHostQMdiSubWindowTitleBar);
    TWeakLink<TCustomForm> self(this);
    // The child losing activation and the child gaining it each hear WM_MDIACTIVATE (losing
    // first, wParam the one losing, lParam the one gaining), then the new child WM_CHILDACTIVATE.
    // The frame itself going inactive (no current sub-window) changes neither.
    auto lastActive = std::make_shared<HWND>(nullptr);
    QObject::connect(area, &QMdiArea::subWindowActivated, area, [self, lastActive](QMdiSubWindow* sub) {
      if (!self.get() || !sub) return;
      HWND gaining = WindowFromWidget(sub);
      if (auto* child = dynamic_cast<TCustomForm*>(FindControl(gaining))) self->FActiveMDIChild = child;
      HWND losing = *lastActive;
      if (losing == gaining) return;
      *lastActive = gaining;
      if (losing && IsWindow(losing))
        SendMessage(losing, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(losing), reinterpret_cast<LPARAM>(gaining));
      if (gaining && IsWindow(gaining)) {
        SendMessage(gaining, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(losing), reinterpret_cast<LPARAM>(gaining));
        SendMessage(gaining, WM_CHILDACTIVATE, 0, 0);
      }
    });
  }
  Realign();
}

void TCustomForm::DestroyWnd() {
  if (QMdiSubWindow* sub = SubWindowOf(this)) sub->setProperty(kClosingProperty, true);
  if (FClientHandle) {
    // The children go with the client window.
    for (TCustomForm* child : MDIChildList(false)) child->DestroyHandle();
    DestroyWindow(FClientHandle);
    FClientHandle = nullptr;
  }
  TWinControl::DestroyWnd();
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  // The MDI client fills what the aligned controls leave.
  if (FClientHandle)
    SetWindowPos(FClientHandle, nullptr, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

std::vector<TCustomForm*> TCustomForm::MDIChildList(bool StackingOrder) const {
  std::vector<TCustomForm*> list;
  auto* area = FClientHandle ? qobject_cast<QMdiArea*>(GetWindowWidget(FClientHandle)) : nullptr;
  if (!area) return list;
  auto subs = area->subWindowList(StackingOrder ? QMdiArea::StackingOrder : QMdiArea::CreationOrder);
  for (QMdiSubWindow* sub : subs)
    if (auto* child = dynamic_cast<TCustomForm*>(FindControl(WindowFromWidget(sub)))) list.push_back(child);
  if (StackingOrder) std::reverse(list.begin(), list.end());
  return list;
}

int TCustomForm::MDIChildCount() const { return int(MDIChildList(false).size()); }

TCustomForm* TCustomForm::MDIChildren(int Index) const {
  auto list = MDIChildList(true);
  return Index >= 0 && Index < int(list.size()) ? list[size_t(Index)] : nullptr;
}

void TCustomForm::Cascade() {
  if (auto* area = FClientHandle ? qobject_cast<QMdiArea*>(GetWindowWidget(FClientHandle)) : nullptr)
    area->cascadeSubWindows();
}

void TCustomForm::Tile() {
  std::vector<TCustomForm*> shown;
  for (TCustomForm* c : MDIChildList(false)) {
    QMdiSubWindow* sub = SubWindowOf(c);
    if (sub && sub->isVisible() && !sub->isMinimized()) shown.push_back(c);
  }
  if (shown.empty() || !FClientHandle) return;
  RECT r;
  GetClientRect(FClientHandle, &r);
  const int n = int(shown.size()), w = r.right - r.left, h = r.bottom - r.top;
  for (int i = 0; i < n; ++i) {
    QMdiSubWindow* sub = SubWindowOf(shown[size_t(i)]);
    if (sub->isMaximized()) sub->showNormal();
    if (FTileMode == tbVertical) sub->setGeometry(w * i / n, 0, w * (i + 1) / n - w * i / n, h);
    else sub->setGeometry(0, h * i / n, w, h * (i + 1) / n - h * i / n);
  }
}

void TCustomForm::ArrangeIcons() {
  if (!FClientHandle) return;
  RECT r;
  GetClientRect(FClientHandle, &r);
  int x = 0;
  for (TCustomForm* c : MDIChildList(false)) {
    QMdiSubWindow* sub = SubWindowOf(c);
    if (!sub || !sub->isMinimized()) continue;
    sub->move(x, r.bottom - sub->height());
    x += sub->width();
  }
}

void TCustomForm::Next() {
  if (auto* area = FClientHandle ? qobject_cast<QMdiArea*>(GetWindowWidget(FClientHandle)) : nullptr)
    area->activateNextSubWindow();
}

void TCustomForm::Previous() {
  if (auto* area = FClientHandle ? qobject_cast<QMdiArea*>(GetWindowWidget(FClientHandle)) : nullptr)
    area->activatePreviousSubWindow();
}

// The window manager keeps the form inside its constraints, and fixed borders keep its size.
void TCustomForm::ApplySizeLimits() {
  QWidget* w = HandleAllocated() ? GetWindowWidget(WindowHandle()) : nullptr;
  if (!w) return;
  if (IsFixedBorder()) {
    w->setFixedSize(Width(), Height());
    return;
  }
  w->setMinimumSize(Constraints()->MinWidth(), Constraints()->MinHeight());
  w->setMaximumSize(Constraints()->MaxWidth() > 0 ? Constraints()->MaxWidth() : QWIDGETSIZE_MAX,
                    Constraints()->MaxHeight() > 0 ? Constraints()->MaxHeight() : QWIDGETSIZE_MAX);
}

void TCustomForm::ApplyPosition() {
  TRect area = Screen->DesktopRect();
  TWinControl* over = nullptr;
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter: break;
    case poMainFormCenter: over = Application->MainForm(); break;
    case poOwnerFormCenter: over = dynamic_cast<TWinControl*>(Owner()); break;
    default: return;
  }
  if (over == this) over = nullptr;
  if (over && over->Visible()) area = over->BoundsRect();
  else if (FPosition != poDesktopCenter) area = Bounds(0, 0, Screen->Width(), Screen->Height());
  SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2,
            Width(), Height());
}

void TCustomForm::CMShowingChanged(TMessage& Message) {
  if (!HandleAllocated()) return;
  HWND h = WindowHandle();
  if (Showing()) {
    if (!FPositioned) {
      FPositioned = true;
      ApplyPosition();
    }
    FFormState.Include(fsShowing);
    try {
      DoShow();
    } catch (...) {
      FFormState.Exclude(fsShowing);
      throw;
    }
    FFormState.Exclude(fsShowing);
    ShowWindow(h, FWindowState == wsMaximized   ? SW_SHOWMAXIMIZED
                  : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                                : SW_SHOW);
    if (!SubWindowOf(this) && (FFormState.Contains(fsModal) || !GetActiveWindow())) SetActiveWindow(h);
    RaiseStayOnTopForms();
  } else {
    FWindowState = WindowState();
    DoHide();
    ShowWindow(h, SW_HIDE);
  }
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = FFormStyle == fsMDIChild ? caMinimize : caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
  }
}

void TCustomForm::Release() {
  PostMessage(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::CloseModal() {
  TCloseAction action = caNone;
  if (CloseQuery()) {
    action = caHide;
    DoClose(action);
  }
  if (action == caNone) FModalResult = mrNone;
  else if (action == caFree) Release();
}

int TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (GetCapture()) SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  FModalResult = mrNone;
  TModalRequest request;
  request.Kind = TModalRequest::mrDialog;
  request.Caption = Caption();
  request.Dialog = this;
  request.DialogClass = ClassName();
  if (int answer = AskModalHook(request)) {
    FModalResult = answer;
    return answer;
  }
  // Every other top-level window is disabled while the form runs.
  std::vector<TWeakLink<TWinControl>> disabled;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TWinControl* f = Screen->Forms(i);
    if (f == this || !f->HandleAllocated() || !IsWindowEnabled(f->WindowHandle())) continue;
    if (!IsWindowVisible(f->WindowHandle())) continue;
    EnableWindow(f->WindowHandle(), FALSE);
    disabled.push_back(f);
  }
  HWND previousActive = GetActiveWindow();
  // The window manager keeps the dialog above the window it was opened from.
  HWND ownerWindow = previousActive;
  for (TComponent* c : {Owner(), static_cast<TComponent*>(Application->MainForm())}) {
    auto* form = dynamic_cast<TWinControl*>(c);
    if (!ownerWindow && form && form != this && form->HandleAllocated() && form->Showing())
      ownerWindow = form->WindowHandle();
  }
  TWeakLink<TCustomForm> self(this);
  FFormState.Include(fsModal);
  auto restore = [&] {
    for (auto& f : disabled)
      if (f.get() && f->HandleAllocated()) EnableWindow(f->WindowHandle(), TRUE);
    if (previousActive && IsWindow(previousActive)) SetActiveWindow(previousActive);
  };
  try {
    Show();
    // Showing sets Qt's own transient parent, so the owner is given afterwards.
    QWidget* dialogWidget = HandleAllocated() ? GetWindowWidget(WindowHandle()) : nullptr;
    QWidget* ownerWidget = ownerWindow ? GetWindowWidget(ownerWindow) : nullptr;
    if (dialogWidget && ownerWidget && dialogWidget->isWindow() && ownerWidget->window() != dialogWidget)
      if (QWindow* w = dialogWidget->windowHandle())
        w->setTransientParent(ownerWidget->window()->windowHandle());
    // A result set while showing ends the loop before it waits for a message.
    for (;;) {
      if (FModalResult == mrNone) Application->HandleMessage();
      if (!self) break;
      if (Application->Terminated()) FModalResult = mrCancel;
      else if (FModalResult != mrNone) CloseModal();
      if (FModalResult != mrNone) break;
    }
  } catch (...) {
    if (self) {
      FFormState.Exclude(fsModal);
      Hide();
    }
    restore();
    throw;
  }
  restore();
  if (!self) return mrCancel;
  FFormState.Exclude(fsModal);
  Hide();
  return FModalResult;
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE: Close(); return;
    case CM_TEXTCHANGED:
      TWinControl::Dispatch(Message);
      if (QMdiSubWindow* sub = SubWindowOf(this)) sub->setWindowTitle(QString::fromStdString(Caption()));
      return;
    case WM_NCCALCSIZE:
      if (QMdiSubWindow* sub = SubWindowOf(this)) {
        auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam);
        QMargins m = sub->contentsMargins();
        p->rgrc[0].left += m.left();
        p->rgrc[0].top += m.top();
        p->rgrc[0].right -= m.right();
        p->rgrc[0].bottom -= m.bottom();
        Message.Result = 0;
        return;
      }
      TWinControl::Dispatch(Message);
      return;
    case CM_RELEASE: delete this; return;
    case WM_ACTIVATE: {
      bool active = LOWORD(Message.WParam) != WA_INACTIVE;
      TWinControl::Dispatch(Message);
      if (active == FActive) return;
      FActive = active;
      if (active) {
        SetWindowFocus();
        Activate();
      } else
        Deactivate();
      return;
    }
    case WM_PAINT:
      if (!FPaintsItself) break;
      FControlState.Include(csCustomPaint);
      try {
        TWinControl::Dispatch(Message);
      } catch (...) {
        FControlState.Exclude(csCustomPaint);
        throw;
      }
      FControlState.Exclude(csCustomPaint);
      return;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
      if (Constraints()->MinWidth() > 0) info->ptMinTrackSize.x = Constraints()->MinWidth();
      if (Constraints()->MinHeight() > 0) info->ptMinTrackSize.y = Constraints()->MinHeight();
      if (Constraints()->MaxWidth() > 0) info->ptMaxTrackSize.x = Constraints()->MaxWidth();
      if (Constraints()->MaxHeight() > 0) info->ptMaxTrackSize.y = Constraints()->MaxHeight();
      Message.Result = 0;
      return;
    }
    case WM_WINDOWPOSCHANGING: {
      // Sizes from the window manager stay inside the constraints too.
      auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
      if (pos && !(pos->flags & SWP_NOSIZE)) Constraints()->Apply(pos->cx, pos->cy);
      TWinControl::Dispatch(Message);
      return;
    }
    default: break;
  }
  TWinControl::Dispatch(Message);
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

TCanvas* TCustomForm::Canvas() {
  if (!FCanvas) {
    FCanvas = new TControlCanvas;
    FCanvas->SetControl(this);
  }
  return FCanvas;
}

void TCustomForm::PaintWindow(HDC DC) {
  if (!FPaintsItself) return TWinControl::PaintWindow(DC);
  TCanvas* canvas = Canvas();
  FCanvas->FreeHandle();
  canvas->Lock();
  canvas->SetHandle(DC);
  struct TRestore {
    TCanvas* C;
    ~TRestore() {
      C->SetHandle(nullptr);
      C->Unlock();
    }
  } restore{canvas};
  Paint();
}

void TCustomForm::SetAlphaBlend(bool Value) {
  if (FAlphaBlend == Value) return;
  FAlphaBlend = Value;
  ApplyAlphaBlend();
}

void TCustomForm::SetAlphaBlendValue(BYTE Value) {
  if (FAlphaBlendValue == Value) return;
  FAlphaBlendValue = Value;
  ApplyAlphaBlend();
}

void TCustomForm::ApplyAlphaBlend() {
  if (!HandleAllocated()) return;
  HWND h = WindowHandle();
  LONG_PTR ex = GetWindowLong(h, GWL_EXSTYLE);
  if (FAlphaBlend) {
    SetWindowLong(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(h, 0, FAlphaBlendValue, LWA_ALPHA);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLong(h, GWL_EXSTYLE, ex & ~LONG_PTR(WS_EX_LAYERED));
    SetLayeredWindowAttributes(h, 0, 255, LWA_ALPHA);
  }
}

void TCustomForm::SetPopupParent(TCustomForm* Value) {
  if (FPopupParent.get() == Value) return;
  FPopupParent = Value;
  if (HandleAllocated() && FFormStyle != fsMDIChild) RecreateWnd();
}

bool TCustomForm::IsShortCut(TMessage& Message) {
  bool handled = false;
  if (OnShortCut) OnShortCut(Message, handled);
  if (handled) return true;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* list = dynamic_cast<TCustomActionList*>(Components(i)))
      if (list->IsShortCut(Message)) return true;
  return false;
}

bool TCustomForm::ExecuteAction(TBasicAction* Action) {
  TWeakLink<TCustomForm> self(this);
  if (TWinControl* active = ActiveControl(); active && active != this && active->ExecuteAction(Action))
    return true;
  if (!self) return false;
  if (TWinControl::ExecuteAction(Action)) return true;
  std::function<bool(TWinControl*)> offer = [&](TWinControl* parent) {
    for (int i = 0; self && i < parent->ControlCount(); ++i) {
      TControl* c = parent->Controls(i);
      if (!c->Visible()) continue;
      if (c->ExecuteAction(Action)) return true;
      if (auto* w = dynamic_cast<TWinControl*>(c); w && offer(w)) return true;
    }
    return false;
  };
  return offer(this);
}

void TCustomForm::UpdateActions() {
  TWeakLink<TCustomForm> self(this);
  std::vector<TWeakLink<TCustomActionList>> lists;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* list = dynamic_cast<TCustomActionList*>(Components(i))) lists.push_back(list);
  for (auto& l : lists) {
    if (!self) return;
    if (l.get()) l->UpdateActions();
  }
}

void DoActionIdle() {
  std::vector<TWeakLink<TCustomForm>> forms;
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* f = dynamic_cast<TCustomForm*>(Screen->Forms(i))) forms.push_back(f);
  for (auto& f : forms) {
    TCustomForm* form = f.get();
    if (form && form->HandleAllocated() && IsWindowVisible(form->WindowHandle()))
      form->UpdateActions();
  }
}
