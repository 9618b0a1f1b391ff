// Standard controls: labels drawn on their parent, the windowed controls over Qt widgets, and
// the text drawing the painted controls share.
#include "platform/gui/StdCtrls.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QTextCursor>
#include <algorithm>
#include <functional>

#include "platform/gui/HostedWidgets.h"
#include "platform/rtl/TypInfo.h"

int DrawControlText(TCanvas* Canvas, const std::string& Text, TRect& Rect, UINT Flags) {
  HDC dc = Canvas->Handle();
  HGDIOBJ oldFont = SelectObject(dc, Canvas->Font()->Handle());
  COLORREF oldColor = SetTextColor(dc, COLORREF(ColorToRGB(Canvas->Font()->Color())));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT r = Rect;
  int h = DrawText(dc, Text, -1, &r, Flags);
  Rect = r;
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  SelectObject(dc, oldFont);
  return h;
}

TRect MeasureControlText(TFont* Font, const std::string& Text, TRect Rect, UINT Flags) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font->Handle());
  RECT r = Rect;
  DrawText(dc, Text, -1, &r, Flags | DT_CALCRECT);
  SelectObject(dc, old);
  DeleteDC(dc);
  return r;
}

bool IsAccel(char32_t Key, const std::string& Caption) {
  QString text = QString::fromStdString(Caption);
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    QString key = QString::fromUcs4(&Key, 1);
    return text.mid(i + 1, 1).compare(key, Qt::CaseInsensitive) == 0;
  }
  return false;
}

bool SunkenEdgeMessage(TWinControl* Control, TMessage& Message) {
  if (Message.Msg == WM_NCCALCSIZE) {
    auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam);
    p->rgrc[0] = TRect(p->rgrc[0]).Inflate(-2, -2);
    Message.Result = 0;
    return true;
  }
  if (Message.Msg == WM_NCPAINT && Control->HandleAllocated()) {
    HDC dc = GetWindowDC(Control->WindowHandle());
    RECT r = Rect(0, 0, Control->Width(), Control->Height());
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
    ReleaseDC(Control->WindowHandle(), dc);
    Message.Result = 0;
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csOpaque);
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (Transparent() == Value) return;
  if (Value) FControlStyle.Exclude(csOpaque);
  else FControlStyle.Include(csOpaque);
  // The parent repaints what lies behind.
  InvalidateControl(Visible(), false);
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

UINT TCustomLabel::TextFlags() const {
  static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = DT_EXPANDTABS | kAlign[int(FAlignment)];
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  return flags;
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  std::string text = Caption();
  // An empty caption still keeps one line's height.
  if (text.empty() || (FShowAccelChar && text == "&")) text += ' ';
  TRect r = MeasureControlText(Font(), text, Rect(0, 0, FWordWrap ? Width() : 0, 0), TextFlags());
  int x = Left();
  if (FAlignment == taRightJustify) x += Width() - r.Width();
  SetBounds(x, Top(), r.Width(), r.Height());
}

void TCustomLabel::Paint() {
  TCanvas* c = Canvas();
  TRect client = ClientRect();
  if (!Transparent()) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(client);
  }
  std::string text = Caption();
  UINT flags = TextFlags();
  TRect r = client;
  if (FLayout != tlTop) {
    TRect need = MeasureControlText(Font(), text, client, flags);
    int dy = client.Height() - need.Height();
    r.Top += FLayout == tlCenter ? dy / 2 : dy;
  }
  c->Font()->Assign(Font());
  if (!Enabled()) {
    // The classic engraved look: a highlight one pixel down and right, the shadow over it.
    TRect lit = r.Offset(1, 1);
    c->Font()->SetColor(clBtnHighlight);
    DrawControlText(c, text, lit, flags);
    c->Font()->SetColor(clBtnShadow);
  }
  DrawControlText(c, text, r, flags);
}

void TCustomLabel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGCHAR:
      if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(char32_t(m.WParam), Caption()) &&
          FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        m.Result = 1;
        return;
      }
      break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TGraphicControl::Dispatch(m);
      AdjustBounds();
      return;
  }
  TGraphicControl::Dispatch(m);
}

// ---------------------------------------------------------------------------------------------
// Windowed controls

bool FocusOnClick(TWinControl* Control) {
  if (Control->Focused() || !Control->CanFocus()) return true;
  TWeakLink<TWinControl> self(Control);
  Control->SetFocus();
  if (!self) return false;
  if (Control->Focused()) return true;
  // The press goes nowhere: no capture, no click on the release.
  TControlState state = Control->ControlState();
  state.Exclude(csLButtonDown);
  state.Exclude(csClicked);
  Control->SetControlState(state);
  Control->SetMouseCapture(false);
  return false;
}

namespace {

// Handlers run from Qt's signals: their exceptions go where the window layer sends them.
template <class F>
void Guarded(F&& f) {
  try {
    f();
  } catch (...) {
    HandleWindowException(std::current_exception());
  }
}

// The caption's access key is ours to handle (as a dialog character), never a Qt shortcut.
void ShowCaption(QWidget* w, const std::string& caption) {
  auto* b = qobject_cast<QAbstractButton*>(w);
  if (!b) return;
  b->setText(QString::fromStdString(caption));
  b->setShortcut(QKeySequence());
}

// Check boxes and radio buttons take a click anywhere in their window, as the platform's do.
class TQtCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  bool hitButton(const QPoint& Pos) const override { return rect().contains(Pos); }
};

class TQtRadioButton : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  bool hitButton(const QPoint& Pos) const override { return rect().contains(Pos); }
};

}  // namespace

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {
  // The widget makes the click; the control only hears it.
  FControlStyle = {csSetCaption, csDoubleClicks};
  SetTabStop(true);
}

QWidget* TButtonControl::Widget() const {
  return HandleAllocated() ? GetWindowWidget(WindowHandle()) : nullptr;
}

void TButtonControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  SetClassWidgetFactory(Params.WinClassName.c_str(), WidgetFactory());
}

void TButtonControl::CreateWnd() {
  TWinControl::CreateWnd();
  WidgetCreated();
}

void TButtonControl::WidgetCreated() {
  auto* b = qobject_cast<QAbstractButton*>(Widget());
  if (!b) return;
  ShowCaption(b, Caption());
  ShowControlFont(b, Font());
  TWeakLink<TButtonControl> self(this);
  QObject::connect(b, &QAbstractButton::clicked, b, [self] {
    TButtonControl* c = self.get();
    if (c && !c->FSettingWidget) Guarded([c] { c->WidgetClicked(); });
  });
}

void TButtonControl::WMLButtonDown(TMessage& m) {
  if (FocusOnClick(this)) TWinControl::WMLButtonDown(m);
}

void TButtonControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccel(char32_t(m.WParam), Caption()) && CanFocus()) {
        AccessKeyPressed();
        m.Result = 1;
        return;
      }
      break;
    case CM_TEXTCHANGED:
      ShowCaption(Widget(), Caption());
      break;
    case CM_FONTCHANGED:
      TWinControl::Dispatch(m);
      ShowControlFont(Widget(), Font());
      return;
  }
  TWinControl::Dispatch(m);
}

// ---- TButton

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 75, 25); }

TWidgetFactory TButton::WidgetFactory() const {
  return [](QWidget* parent) -> QWidget* {
    auto* b = new QPushButton(parent);
    b->setAutoDefault(false);
    return b;
  };
}

void TButton::WidgetCreated() {
  TButtonControl::WidgetCreated();
  SetActive(FActive);
}

void TButton::SetActive(bool Value) {
  FActive = Value;
  if (auto* b = qobject_cast<QPushButton*>(Widget())) b->setDefault(Value);
}

void TButton::SetDefault(bool Value) {
  FDefault = Value;
  TWinControl* form = GetParentForm(this);
  TWinControl* focused = form ? form->ActiveControl() : nullptr;
  SetActive(dynamic_cast<TButton*>(focused) ? focused == this : FDefault);
}

void TButton::Click() {
  // The modal result first: a click handler may still take it back.
  if (auto* form = dynamic_cast<TCustomForm*>(GetParentForm(this))) form->SetModalResult(FModalResult);
  TButtonControl::Click();
}

void TButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGKEY:
      if (((m.WParam == VK_RETURN && FActive) || (m.WParam == VK_ESCAPE && FCancel)) &&
          KeyDataToShiftState(m.LParam).Empty() && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      break;
    case CM_FOCUSCHANGED: {
      auto* sender = reinterpret_cast<TWinControl*>(m.LParam);
      SetActive(dynamic_cast<TButton*>(sender) ? sender == this : FDefault);
      break;
    }
    case WM_GETDLGCODE:
      m.Result = DLGC_BUTTON | (FActive ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
      return;
  }
  TButtonControl::Dispatch(m);
}

// ---- TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) { SetBounds(0, 0, 97, 17); }

TWidgetFactory TCustomCheckBox::WidgetFactory() const {
  return [](QWidget* parent) -> QWidget* {
    auto* b = new TQtCheckBox(parent);
    b->setTristate(true);
    return b;
  };
}

void TCustomCheckBox::WidgetCreated() {
  TButtonControl::WidgetCreated();
  ShowState();
}

void TCustomCheckBox::ShowState() {
  auto* b = qobject_cast<QCheckBox*>(Widget());
  if (!b) return;
  static const Qt::CheckState kStates[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
  FSettingWidget = true;
  b->setCheckState(kStates[int(FState)]);
  FSettingWidget = false;
}

void TCustomCheckBox::SetState(TCheckBoxState Value) {
  if (FState == Value) return;
  FState = Value;
  ShowState();
  if (!ComponentState().Contains(csLoading)) Click();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(FAllowGrayed ? cbGrayed : cbUnchecked); break;
    case cbGrayed: SetState(cbUnchecked); break;
  }
}

void TCustomCheckBox::WidgetClicked() {
  TWeakLink<TCustomCheckBox> self(this);
  Toggle();
  // The widget changed its own state; it shows ours.
  if (self) ShowState();
}

void TCustomCheckBox::AccessKeyPressed() {
  SetFocus();
  if (Focused()) Toggle();
}

// ---- TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 113, 17);
  SetTabStop(false);
}

TWidgetFactory TRadioButton::WidgetFactory() const {
  return [](QWidget* parent) -> QWidget* {
    auto* b = new TQtRadioButton(parent);
    // Exclusivity is the control's: one checked among the radio buttons of a parent.
    b->setAutoExclusive(false);
    return b;
  };
}

void TRadioButton::WidgetCreated() {
  TButtonControl::WidgetCreated();
  ShowChecked();
}

void TRadioButton::ShowChecked() {
  auto* b = qobject_cast<QRadioButton*>(Widget());
  if (!b) return;
  FSettingWidget = true;
  b->setChecked(FChecked);
  FSettingWidget = false;
}

void TRadioButton::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  SetTabStop(Value);
  ShowChecked();
  if (!Value) return;
  if (Parent())
    for (int i = 0; i < Parent()->ControlCount(); ++i)
      if (auto* r = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); r && r != this) r->SetChecked(false);
  if (!ComponentState().Contains(csLoading)) Click();
}

void TRadioButton::WidgetClicked() {
  TWeakLink<TRadioButton> self(this);
  SetChecked(true);
  // A click on the checked button leaves it checked.
  if (self) ShowChecked();
}

void TRadioButton::AccessKeyPressed() {
  SetFocus();
  if (Focused()) SetChecked(true);
}

// ---- TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks,
                   csReplicatable};
  SetBounds(0, 0, 185, 105);
}

int TCustomGroupBox::CaptionHeight() const {
  return MeasureControlText(Font(), "0", Rect(0, 0, 0, 0), DT_SINGLELINE).Height();
}

void TCustomGroupBox::AlignControls(TControl* AControl, TRect& Rect) {
  Rect = ClientRect();
  Rect.Top += CaptionHeight();
  Rect = Rect.Inflate(-2, -2);
  TCustomControl::AlignControls(AControl, Rect);
}

void TCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  TRect client = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(client);
  int h = CaptionHeight();
  RECT frame = Rect(0, h / 2 - 1, client.Right, client.Bottom);
  DrawEdge(c->Handle(), &frame, EDGE_ETCHED, BF_RECT);
  std::string caption = Caption();
  if (caption.empty()) return;
  TRect text = MeasureControlText(Font(), caption, Rect(0, 0, 0, 0), DT_SINGLELINE).Offset(8, 0);
  // The caption interrupts the frame's top line.
  c->FillRect(text.Inflate(2, 0));
  c->Font()->Assign(Font());
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  DrawControlText(c, caption, text, DT_LEFT | DT_SINGLELINE);
}

void TCustomGroupBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccel(char32_t(m.WParam), Caption()) && CanFocus()) {
        if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
        m.Result = 1;
        return;
      }
      break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(m);
      Realign();
      Invalidate();
      return;
  }
  TCustomControl::Dispatch(m);
}

// ---- TCustomRadioGroup

// A radio button of a radio group: its check is the group's item index.
class TGroupButton : public TRadioButton {
 public:
  explicit TGroupButton(TCustomRadioGroup* Group) : TRadioButton(nullptr), FGroup(Group) {}

 protected:
  void Click() override {
    FGroup->ButtonClicked(this);
    TRadioButton::Click();
  }

 private:
  TCustomRadioGroup* FGroup;
};

TCustomRadioGroup::TCustomRadioGroup(TComponent* AOwner)
    : TCustomGroupBox(AOwner), FItems(new TStringList) {
  FControlStyle.Exclude(csAcceptsControls);
  FItems->OnChange = [this](TObject*) {
    if (!ComponentState().Contains(csLoading)) UpdateButtons();
  };
}

TCustomRadioGroup::~TCustomRadioGroup() {
  FItems->OnChange = nullptr;
  delete FItems;
}

void TCustomRadioGroup::ButtonClicked(TRadioButton* Button) {
  if (FUpdating) return;
  auto it = std::find(FButtons.begin(), FButtons.end(), Button);
  if (it == FButtons.end()) return;
  FItemIndex = int(it - FButtons.begin());
  Click();
}

void TCustomRadioGroup::SetItemIndex(int Value) {
  if (ComponentState().Contains(csLoading)) {
    FItemIndex = Value;
    return;
  }
  Value = std::clamp(Value, -1, int(FButtons.size()) - 1);
  if (Value == FItemIndex) return;
  if (FItemIndex >= 0) FButtons[size_t(FItemIndex)]->SetChecked(false);
  FItemIndex = Value;
  // Checking the button clicks it, and so the group.
  if (Value >= 0) FButtons[size_t(Value)]->SetChecked(true);
}

void TCustomRadioGroup::SetColumns(int Value) {
  Value = std::clamp(Value, 1, 16);
  if (FColumns == Value) return;
  FColumns = Value;
  ArrangeButtons();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  UpdateButtons();
}

void TCustomRadioGroup::Resize() {
  TCustomGroupBox::Resize();
  ArrangeButtons();
}

void TCustomRadioGroup::UpdateButtons() {
  FUpdating = true;
  while (FButtons.size() > size_t(FItems->Count())) {
    delete FButtons.back();
    FButtons.pop_back();
  }
  while (FButtons.size() < size_t(FItems->Count())) {
    auto* b = new TGroupButton(this);
    b->SetParent(this);
    FButtons.push_back(b);
  }
  FItemIndex = std::clamp(FItemIndex, -1, int(FButtons.size()) - 1);
  for (size_t i = 0; i < FButtons.size(); ++i) {
    FButtons[i]->SetCaption(FItems->Strings(int(i)));
    FButtons[i]->SetEnabled(Enabled());
    FButtons[i]->SetChecked(int(i) == FItemIndex);
  }
  FUpdating = false;
  ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (FButtons.empty()) return;
  int count = int(FButtons.size());
  int perColumn = (count + FColumns - 1) / FColumns;
  int h = CaptionHeight();
  int width = (ClientWidth() - 10) / FColumns;
  int room = std::max(ClientHeight() - h - 5, 0);
  int height = room / perColumn;
  int top = h + 1 + (room % perColumn) / 2;
  for (int i = 0; i < count; ++i)
    FButtons[size_t(i)]->SetBounds((i / perColumn) * width + 8, (i % perColumn) * height + top, width, height);
}

// ---- TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "EDIT");
  Params.Style |= ES_AUTOHSCROLL;
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
}

void TCustomEdit::CreateWnd() {
  FCreating = true;
  try {
    TWinControl::CreateWnd();
  } catch (...) {
    FCreating = false;
    throw;
  }
  FCreating = false;
  Perform(EM_LIMITTEXT, WPARAM(FMaxLength));
  if (auto* e = qobject_cast<QLineEdit*>(GetWindowWidget(WindowHandle()))) e->setFrame(FBorderStyle == bsSingle);
}

void TCustomEdit::SetMaxLength(int Value) {
  FMaxLength = std::max(Value, 0);
  if (HandleAllocated()) Perform(EM_LIMITTEXT, WPARAM(FMaxLength));
}

void TCustomEdit::SetReadOnly(bool Value) {
  FReadOnly = Value;
  if (HandleAllocated()) Perform(EM_SETREADONLY, Value);
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  FBorderStyle = Value == bsNone ? bsNone : bsSingle;
  if (!HandleAllocated()) return;
  if (auto* e = qobject_cast<QLineEdit*>(GetWindowWidget(WindowHandle()))) e->setFrame(FBorderStyle == bsSingle);
}

bool TCustomEdit::Modified() const {
  return HandleAllocated() && const_cast<TCustomEdit*>(this)->Perform(EM_GETMODIFY) != 0;
}

void TCustomEdit::SetModified(bool Value) {
  if (HandleAllocated()) Perform(EM_SETMODIFY, Value);
}

int TCustomEdit::SelStart() {
  DWORD start = 0, end = 0;
  Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return int(start);
}

void TCustomEdit::SetSelStart(int Value) { Perform(EM_SETSEL, WPARAM(Value), LPARAM(Value)); }

int TCustomEdit::SelLength() {
  DWORD start = 0, end = 0;
  Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return int(end) - int(start);
}

void TCustomEdit::SetSelLength(int Value) {
  int start = SelStart();
  Perform(EM_SETSEL, WPARAM(start), LPARAM(start + Value));
}

std::string TCustomEdit::SelText() const {
  auto* self = const_cast<TCustomEdit*>(this);
  return QString::fromStdString(Text()).mid(self->SelStart(), self->SelLength()).toStdString();
}

void TCustomEdit::SelectAll() { Perform(EM_SETSEL, 0, -1); }

void TCustomEdit::Change() {
  if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter() {
  // Entered by a click, the click places the caret instead.
  if (FAutoSelect && !FControlState.Contains(csLButtonDown)) SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::WMLButtonDown(TMessage& m) {
  if (FocusOnClick(this)) TWinControl::WMLButtonDown(m);
}

void TCustomEdit::Dispatch(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(DWORD(m.WParam)) == EN_CHANGE && !FCreating) Change();
    return;
  }
  TWinControl::Dispatch(m);
}

// ---- TCustomComboBox

namespace {
// Tells the control before its list drops down.
class TQtComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;
  std::function<void()> BeforePopup;
  void showPopup() override {
    if (BeforePopup) BeforePopup();
    QComboBox::showPopup();
  }
};
}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner), FItems(new TStringList) {
  FControlStyle = {csSetCaption, csDoubleClicks, csFixedHeight};
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
  FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomComboBox::~TCustomComboBox() {
  FItems->OnChange = nullptr;
  delete FItems;
}

QWidget* TCustomComboBox::Widget() const {
  return HandleAllocated() ? GetWindowWidget(WindowHandle()) : nullptr;
}

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  SetClassWidgetFactory(Params.WinClassName.c_str(), [](QWidget* parent) -> QWidget* {
    auto* c = new TQtComboBox(parent);
    c->setInsertPolicy(QComboBox::NoInsert);
    return c;
  });
}

void TCustomComboBox::CreateWnd() {
  TWinControl::CreateWnd();
  auto* c = static_cast<TQtComboBox*>(qobject_cast<QComboBox*>(Widget()));
  if (!c) return;
  c->setEditable(FStyle == csDropDown);
  c->setMaxVisibleItems(FDropDownCount);
  ShowControlFont(c, Font());
  ShowItems();
  TWeakLink<TCustomComboBox> self(this);
  c->BeforePopup = [self] {
    TCustomComboBox* cb = self.get();
    if (cb && cb->OnDropDown) Guarded([cb] { cb->OnDropDown(cb); });
  };
  QObject::connect(c, &QComboBox::activated, c, [self](int index) {
    TCustomComboBox* cb = self.get();
    if (!cb || cb->FSettingWidget) return;
    Guarded([cb, index] {
      TWeakLink<TCustomComboBox> alive(cb);
      cb->FItemIndex = index;
      cb->Click();
      if (alive) cb->Change();
    });
  });
  if (QLineEdit* line = c->lineEdit())
    QObject::connect(line, &QLineEdit::textEdited, c, [self](const QString& text) {
      TCustomComboBox* cb = self.get();
      if (!cb || cb->FSettingWidget) return;
      Guarded([cb, text] {
        cb->FItemIndex = cb->FItems->IndexOf(text.toStdString());
        cb->Change();
      });
    });
}

void TCustomComboBox::ShowItems() {
  auto* c = qobject_cast<QComboBox*>(Widget());
  if (!c) return;
  FSettingWidget = true;
  c->clear();
  for (int i = 0; i < FItems->Count(); ++i) c->addItem(QString::fromStdString(FItems->Strings(i)));
  c->setCurrentIndex(FItemIndex);
  if (FStyle == csDropDown && FItemIndex < 0) c->setEditText(QString::fromStdString(FText));
  FSettingWidget = false;
}

void TCustomComboBox::ItemsChanged() {
  if (ComponentState().Contains(csLoading)) return;
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  ShowItems();
}

void TCustomComboBox::Loaded() {
  TWinControl::Loaded();
  if (FItemIndex < 0 || FItemIndex >= FItems->Count()) FItemIndex = -1;
  if (FItemIndex >= 0) FText = FItems->Strings(FItemIndex);
  ShowItems();
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (Value != csDropDownList) Value = csDropDown;
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomComboBox::SetItemIndex(int Value) {
  if (ComponentState().Contains(csLoading)) {
    FItemIndex = Value;
    return;
  }
  // An index off the list selects nothing, as the list's own selection message does; pulling it
  // onto the last item would show (and later store) a choice nobody made.
  if (Value < 0 || Value >= FItems->Count()) Value = -1;
  FItemIndex = Value;
  if (Value >= 0) FText = FItems->Strings(Value);
  ShowItems();
}

void TCustomComboBox::SetDropDownCount(int Value) {
  FDropDownCount = std::max(Value, 1);
  if (auto* c = qobject_cast<QComboBox*>(Widget())) c->setMaxVisibleItems(FDropDownCount);
}

bool TCustomComboBox::DroppedDown() const {
  auto* c = qobject_cast<QComboBox*>(Widget());
  return c && c->view() && c->view()->isVisible();
}

void TCustomComboBox::SetDroppedDown(bool Value) {
  auto* c = qobject_cast<QComboBox*>(Widget());
  if (!c || Value == DroppedDown()) return;
  if (Value) c->showPopup();
  else c->hidePopup();
}

std::string TCustomComboBox::GetText() const {
  if (auto* c = qobject_cast<QComboBox*>(Widget())) return c->currentText().toStdString();
  return FText;
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::WMLButtonDown(TMessage& m) {
  if (FocusOnClick(this)) TWinControl::WMLButtonDown(m);
}

void TCustomComboBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT: {
      std::string text = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
      FText = text;
      int index = FItems->IndexOf(text);
      // A pick-only list can show only one of its items.
      if (FStyle == csDropDownList) {
        if (index >= 0) SetItemIndex(index);
      } else {
        FItemIndex = index;
        ShowItems();
      }
      m.Result = 1;
      return;
    }
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case CM_WANTSPECIALKEY:
      m.Result = DroppedDown() && (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE);
      return;
    case CM_FONTCHANGED:
      TWinControl::Dispatch(m);
      ShowControlFont(Widget(), Font());
      return;
  }
  TWinControl::Dispatch(m);
}

// ---- TCustomListBox

namespace {
constexpr int kScrollBarWidth = 17;
}

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomControl(AOwner), FItems(new TStringList) {
  // The list clicks itself when a row is chosen.
  FControlStyle = {csCaptureMouse, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
  FItems->OnChange = [this](TObject*) {
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    SetTopIndex(FTopIndex);
    Invalidate();
  };
}

TCustomListBox::~TCustomListBox() {
  FItems->OnChange = nullptr;
  delete FItems;
}

int TCustomListBox::VisibleRows() const { return std::max(ClientHeight() / FItemHeight, 1); }

bool TCustomListBox::HasScrollBar() const { return FItems->Count() > VisibleRows(); }

int TCustomListBox::RowsWidth() const {
  return std::max(ClientWidth() - (HasScrollBar() ? kScrollBarWidth : 0), 0);
}

TRect TCustomListBox::ItemRect(int Index) const {
  int top = (Index - FTopIndex) * FItemHeight;
  return Rect(0, top, RowsWidth(), top + FItemHeight);
}

int TCustomListBox::ItemAtPos(TPoint Pos, bool Existing) const {
  if (Pos.X < 0 || Pos.X >= RowsWidth() || Pos.Y < 0) return -1;
  int index = FTopIndex + Pos.Y / FItemHeight;
  if (Existing && index >= FItems->Count()) return -1;
  return index;
}

void TCustomListBox::SetItemIndex(int Value) {
  if (Value < 0 || Value >= FItems->Count()) Value = -1;
  if (FItemIndex == Value) return;
  FItemIndex = Value;
  MakeVisible(Value);
  Invalidate();
}

void TCustomListBox::SetItemHeight(int Value) {
  if (Value < 1 || FItemHeight == Value) return;
  FItemHeight = Value;
  Invalidate();
}

void TCustomListBox::SetTopIndex(int Value) {
  Value = std::clamp(Value, 0, std::max(FItems->Count() - VisibleRows(), 0));
  if (FTopIndex == Value) return;
  FTopIndex = Value;
  Invalidate();
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TCustomListBox::SetBorderStyle(TBorderStyle Value) {
  Value = Value == bsNone ? bsNone : bsSingle;
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (HandleAllocated())
    SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
}

void TCustomListBox::MakeVisible(int Index) {
  if (Index < 0) return;
  if (Index < FTopIndex) SetTopIndex(Index);
  else if (Index >= FTopIndex + VisibleRows()) SetTopIndex(Index - VisibleRows() + 1);
}

void TCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  bool ownerDraw = FStyle == lbOwnerDrawFixed || FStyle == lbOwnerDrawVariable || FStyle == lbVirtualOwnerDraw;
  if (ownerDraw && OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  Canvas()->FillRect(Rect);
  TRect text = Rect;
  text.Left += 2;
  DrawControlText(Canvas(), FItems->Strings(Index), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TCustomListBox::Paint() {
  TCanvas* c = Canvas();
  int rowsWidth = RowsWidth(), height = ClientHeight();
  int row = 0;
  for (int i = FTopIndex; i < FItems->Count() && row * FItemHeight < height; ++i, ++row) {
    TOwnerDrawState state;
    bool selected = i == FItemIndex;
    if (selected) state.Include(odSelected);
    if (selected && Focused()) state.Include(odFocused);
    if (!Enabled()) state.Include(odDisabled);
    c->Font()->Assign(Font());
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(selected ? clHighlight : Color());
    if (selected) c->Font()->SetColor(clHighlightText);
    TRect r = ItemRect(i);
    DrawItem(i, r, state);
    if (state.Contains(odFocused)) c->DrawFocusRect(r);
  }
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(Rect(0, row * FItemHeight, rowsWidth, height));
  if (!HasScrollBar()) return;
  // A classic vertical scroll bar: arrows at both ends, the thumb where the top row is.
  int x = rowsWidth;
  RECT up = Rect(x, 0, x + kScrollBarWidth, kScrollBarWidth);
  RECT down = Rect(x, height - kScrollBarWidth, x + kScrollBarWidth, height);
  c->Brush()->SetColor(cl3DLight);
  c->FillRect(Rect(x, kScrollBarWidth, x + kScrollBarWidth, height - kScrollBarWidth));
  DrawFrameControl(c->Handle(), &up, DFC_SCROLL, DFCS_SCROLLUP);
  DrawFrameControl(c->Handle(), &down, DFC_SCROLL, DFCS_SCROLLDOWN);
  int track = height - 2 * kScrollBarWidth, count = FItems->Count();
  if (track <= 8) return;
  int thumb = std::max(8, track * VisibleRows() / count);
  int top = kScrollBarWidth + (track - thumb) * FTopIndex / std::max(count - VisibleRows(), 1);
  RECT face = Rect(x, top, x + kScrollBarWidth, top + thumb);
  DrawFrameControl(c->Handle(), &face, DFC_BUTTON, DFCS_BUTTONPUSH);
}

void TCustomListBox::ScrollBarClick(int Y) {
  int height = ClientHeight();
  if (Y < kScrollBarWidth) return SetTopIndex(FTopIndex - 1);
  if (Y >= height - kScrollBarWidth) return SetTopIndex(FTopIndex + 1);
  int track = height - 2 * kScrollBarWidth, count = FItems->Count();
  int thumbTop = kScrollBarWidth + (track * FTopIndex) / std::max(count, 1);
  SetTopIndex(FTopIndex + (Y < thumbTop ? -VisibleRows() : VisibleRows()));
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TWeakLink<TCustomListBox> self(this);
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (!self || Button != mbLeft) return;
  if (HasScrollBar() && X >= RowsWidth()) return ScrollBarClick(Y);
  int index = ItemAtPos(TPoint(X, Y), true);
  if (index < 0) return;
  SetItemIndex(index);
  Click();
}

void TCustomListBox::KeyDown(WORD& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  int index = FItemIndex;
  switch (Key) {
    case VK_UP: index = std::max(index - 1, 0); break;
    case VK_DOWN: index = index + 1; break;
    case VK_HOME: index = 0; break;
    case VK_END: index = FItems->Count() - 1; break;
    case VK_PRIOR: index = std::max(index - VisibleRows(), 0); break;
    case VK_NEXT: index = index + VisibleRows(); break;
    default: return;
  }
  Key = 0;
  index = std::clamp(index, 0, FItems->Count() - 1);
  if (FItems->Count() == 0 || index == FItemIndex) return;
  SetItemIndex(index);
  Click();
}

bool TCustomListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  SetTopIndex(FTopIndex - WheelDelta / WHEEL_DELTA * 3);
  return true;
}

void TCustomListBox::WMLButtonDown(TMessage& m) {
  if (FocusOnClick(this)) TCustomControl::WMLButtonDown(m);
}

void TCustomListBox::Dispatch(TMessage& m) {
  if (FBorderStyle == bsSingle && SunkenEdgeMessage(this, m)) return;
  switch (m.Msg) {
    case WM_LBUTTONDBLCLK: {
      // The second press selects as a press does; on a row it is the list's double click.
      TWeakLink<TCustomListBox> self(this);
      TCustomControl::Dispatch(m);
      if (self && ItemAtPos(TPoint(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)), true) >= 0) DblClick();
      return;
    }
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case CM_ENTER:
    case CM_EXIT: Invalidate(); break;
  }
  TCustomControl::Dispatch(m);
}

// ---- TCustomMemo

// The lines of a memo: its text split at line breaks (a break at the end starts no line).
class TMemoStrings : public TStrings {
 public:
  explicit TMemoStrings(TCustomMemo* Memo) : FMemo(Memo) {}
  int Count() const override { return int(Split().size()); }
  std::string Strings(int Index) const override {
    std::vector<std::string> lines = Split();
    if (Index < 0 || Index >= int(lines.size())) Error("List index out of bounds (%d)", Index);
    return lines[size_t(Index)];
  }
  void SetStrings(int Index, const std::string& S) override {
    std::vector<std::string> lines = Split();
    if (Index < 0 || Index >= int(lines.size())) Error("List index out of bounds (%d)", Index);
    lines[size_t(Index)] = S;
    Join(lines);
  }
  void Insert(int Index, const std::string& S) override {
    std::vector<std::string> lines = Split();
    if (Index < 0 || Index > int(lines.size())) Error("List index out of bounds (%d)", Index);
    lines.insert(lines.begin() + Index, S);
    Join(lines);
  }
  void Delete(int Index) override {
    std::vector<std::string> lines = Split();
    if (Index < 0 || Index >= int(lines.size())) Error("List index out of bounds (%d)", Index);
    lines.erase(lines.begin() + Index);
    Join(lines);
  }
  void Clear() override { FMemo->SetText(""); }
  std::string Text() const override { return FMemo->Text(); }
  void SetText(const std::string& Value) override { FMemo->SetText(Value); }

 private:
  std::vector<std::string> Split() const {
    std::vector<std::string> lines;
    std::string text = FMemo->Text();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      start = end + 1;
    }
    return lines;
  }
  void Join(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? sLineBreak : "") + lines[i];
    FMemo->SetText(text);
  }
  TCustomMemo* FMemo;
};

TCustomMemo::TCustomMemo(TComponent* AOwner) : TWinControl(AOwner), FLines(new TMemoStrings(this)) {
  FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 185, 89);
  SetTabStop(true);
  SetColor(clWindow);
}

TCustomMemo::~TCustomMemo() { delete FLines; }

QWidget* TCustomMemo::Widget() const {
  return HandleAllocated() ? GetWindowWidget(WindowHandle()) : nullptr;
}

void TCustomMemo::SetLines(TStrings* Value) { FLines->Assign(Value); }

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= ES_MULTILINE;
  SetClassWidgetFactory(Params.WinClassName.c_str(), [](QWidget* parent) -> QWidget* {
    return new QPlainTextEdit(parent);
  });
}

void TCustomMemo::CreateWnd() {
  TWinControl::CreateWnd();
  auto* e = qobject_cast<QPlainTextEdit*>(Widget());
  if (!e) return;
  FSettingWidget = true;
  e->setPlainText(QString::fromStdString(FText));
  FSettingWidget = false;
  ApplyOptions();
  TWeakLink<TCustomMemo> self(this);
  QObject::connect(e, &QPlainTextEdit::textChanged, e, [self] {
    TCustomMemo* m = self.get();
    if (m && !m->FSettingWidget) Guarded([m] { m->Change(); });
  });
}

void TCustomMemo::ApplyOptions() {
  auto* e = qobject_cast<QPlainTextEdit*>(Widget());
  if (!e) return;
  e->setLineWrapMode(FWordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  bool vertical = FScrollBars == ssVertical || FScrollBars == ssBoth;
  bool horizontal = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
  e->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  e->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  e->setReadOnly(FReadOnly);
  e->setTabChangesFocus(!FWantTabs);
  ShowControlFont(e, Font());
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  FScrollBars = Value;
  ApplyOptions();
}

void TCustomMemo::SetWordWrap(bool Value) {
  FWordWrap = Value;
  ApplyOptions();
}

void TCustomMemo::SetReadOnly(bool Value) {
  FReadOnly = Value;
  ApplyOptions();
}

std::string TCustomMemo::GetText() const {
  if (auto* e = qobject_cast<QPlainTextEdit*>(Widget())) return e->toPlainText().toStdString();
  return FText;
}

void TCustomMemo::Change() {
  if (OnChange) OnChange(this);
}

void TCustomMemo::KeyPress(char32_t& Key) {
  TWinControl::KeyPress(Key);
  if (Key == 0 || FMaxLength == 0 || (Key < 0x20 && Key != '\r')) return;
  auto* e = qobject_cast<QPlainTextEdit*>(Widget());
  if (e && !e->textCursor().hasSelection() && e->toPlainText().size() >= FMaxLength) {
    Key = 0;
    MessageBeep(0);
  }
}

void TCustomMemo::WMLButtonDown(TMessage& m) {
  if (FocusOnClick(this)) TWinControl::WMLButtonDown(m);
}

void TCustomMemo::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT:
      TWinControl::Dispatch(m);
      if (auto* e = qobject_cast<QPlainTextEdit*>(Widget())) e->setPlainText(QString::fromStdString(FText));
      return;
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL | (FWantTabs ? DLGC_WANTTAB : 0);
      return;
    case CM_WANTSPECIALKEY:
      // Enter makes a new line; Esc still reaches the dialog.
      m.Result = FWantReturns && m.WParam == VK_RETURN;
      return;
    case CM_FONTCHANGED:
      TWinControl::Dispatch(m);
      ShowControlFont(Widget(), Font());
      return;
  }
  TWinControl::Dispatch(m);
}

// ---------------------------------------------------------------------------------------------

void RegisterStdControlClasses() {
  static const bool done = [] {
    RegisterControlClasses();
    RegisterEnumNames<TAlignment>({"taLeftJustify", "taRightJustify", "taCenter"});
    RegisterEnumNames<TTextLayout>({"tlTop", "tlCenter", "tlBottom"});
    RegisterClass<TCustomLabel, TGraphicControl>();
    RegisterClass<TLabel, TCustomLabel>();
    Published<TCustomLabel>()
        .Property("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment).Default(taLeftJustify)
        .Property("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default(true)
        .Property("Caption", &TCustomLabel::Caption, &TCustomLabel::SetCaption)
        .Property("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl)
        .Property("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout).Default(tlTop)
        .Property("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar).Default(true)
        .Property("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent).Default(false)
        .Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default(false);
    RegisterEnumNames<TCheckBoxState>({"cbUnchecked", "cbChecked", "cbGrayed"});
    RegisterEnumNames<TEditCharCase>({"ecNormal", "ecUpperCase", "ecLowerCase"});
    RegisterEnumNames<TComboBoxStyle>({"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
                                       "csOwnerDrawVariable"});
    RegisterEnumNames<TListBoxStyle>({"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable", "lbVirtual",
                                      "lbVirtualOwnerDraw"});
    RegisterEnumNames<TScrollStyle>({"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
    RegisterEnumNames<TOwnerDrawStateItem>({"odSelected", "odGrayed", "odDisabled", "odChecked", "odFocused",
                                            "odDefault"});
    RegisterClass<TButtonControl, TWinControl>();
    RegisterClass<TButton, TButtonControl>();
    Published<TButtonControl>().Property("Caption", &TButtonControl::Caption, &TButtonControl::SetCaption);
    Published<TButton>()
        .Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false)
        .Property("Default", &TButton::Default, &TButton::SetDefault).Default(false)
        .Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(mrNone);
    RegisterClass<TCustomCheckBox, TButtonControl>();
    RegisterClass<TCheckBox, TCustomCheckBox>();
    Published<TCustomCheckBox>()
        .Property("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed).Default(false)
        .Property("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked).Default(false)
        .Property("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState)
            .Stored([](TCustomCheckBox* c) { return c->State() == cbGrayed; });
    RegisterClass<TRadioButton, TButtonControl>();
    Published<TRadioButton>().Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
    RegisterClass<TCustomGroupBox, TCustomControl>();
    RegisterClass<TGroupBox, TCustomGroupBox>();
    Published<TCustomGroupBox>().Property("Caption", &TCustomGroupBox::Caption, &TCustomGroupBox::SetCaption);
    RegisterClass<TCustomRadioGroup, TCustomGroupBox>();
    RegisterClass<TRadioGroup, TCustomRadioGroup>();
    Published<TCustomRadioGroup>()
        .Property("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns).Default(1)
        .Property("Items", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems)
        .Property("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex).Default(-1);
    RegisterClass<TCustomEdit, TWinControl>();
    RegisterClass<TEdit, TCustomEdit>();
    Published<TCustomEdit>()
        .Property("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).Default(true)
        .Property("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle).Default(bsSingle)
        .Property("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase).Default(ecNormal)
        .Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0)
        .Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false)
        .Property("Text", &TCustomEdit::Text, &TCustomEdit::SetText)
        .Property("OnChange", &TCustomEdit::OnChange);
    RegisterClass<TCustomComboBox, TWinControl>();
    RegisterClass<TComboBox, TCustomComboBox>();
    Published<TCustomComboBox>()
        .Property("Style", &TCustomComboBox::Style, &TCustomComboBox::SetStyle).Default(csDropDown)
        .Property("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount).Default(8)
        .Property("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted).Default(false)
        .Property("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems)
        .Property("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex).Default(-1)
        .Property("Text", &TCustomComboBox::Text, &TCustomComboBox::SetText)
            .Stored([](TCustomComboBox* c) { return c->ItemIndex() < 0; })
        .Property("OnChange", &TCustomComboBox::OnChange)
        .Property("OnDropDown", &TCustomComboBox::OnDropDown);
    RegisterClass<TCustomListBox, TCustomControl>();
    RegisterClass<TListBox, TCustomListBox>();
    Published<TCustomListBox>()
        .Property("BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle).Default(bsSingle)
        .Property("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight).Default(16)
        .Property("Items", &TCustomListBox::Items, &TCustomListBox::SetItems)
        .Property("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted).Default(false)
        .Property("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle).Default(lbStandard)
        .Property("OnDrawItem", &TCustomListBox::OnDrawItem);
    RegisterClass<TCustomMemo, TWinControl>();
    RegisterClass<TMemo, TCustomMemo>();
    Published<TCustomMemo>()
        .Property("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines)
        .Property("MaxLength", &TCustomMemo::MaxLength, &TCustomMemo::SetMaxLength).Default(0)
        .Property("ReadOnly", &TCustomMemo::ReadOnly, &TCustomMemo::SetReadOnly).Default(false)
        .Property("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars).Default(ssNone)
        .Property("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns).Default(true)
        .Property("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs).Default(false)
        .Property("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap).Default(true)
        .Property("OnChange", &TCustomMemo::OnChange);
    return true;
  }();
  (void)done;
}
