// The common controls. Each keeps its state itself and hands it to its Qt widget whenever the
// window exists; what the user does in the widget comes back through the widget's signals.

#include "platform/gui/ComCtrls.h"

#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLocale>
#include <QPainter>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QStyledItemDelegate>
#include <QStylePainter>
#include <QTabBar>
#include <QTreeWidget>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

#include "platform/gui/HostedWidgets.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/QtWindows.h"

namespace {

template <class W>
W* WidgetOf(const TWinControl* Control) {
  HWND h = Control->WindowHandle();
  return h ? qobject_cast<W*>(GetWindowWidget(h)) : nullptr;
}

// Counts nested changes made by code, during which the widget's signals are not the user's.
struct TSyncScope {
  explicit TSyncScope(int& Counter) : C(Counter) { ++C; }
  ~TSyncScope() { --C; }
  int& C;
};

QString Q(const std::string& S) { return QString::fromStdString(S); }

// The Qt widget shows the control's font (WM_SETFONT comes when the window is made and whenever
// the font changes).
void TakeFont(TWinControl* Control, const TMessage& Message) {
  if (Message.Msg != WM_SETFONT) return;
  ShowControlFont(WidgetOf<QWidget>(Control), Control->Font());
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Progress bar

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  SetClassWidgetFactory(Params.WinClassName.c_str(), [](QWidget* parent) -> QWidget* {
    auto* bar = new QProgressBar(parent);
    bar->setTextVisible(false);
    return WithSystemColors(bar);
  });
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWidget();
}

void TProgressBar::Dispatch(TMessage& Message) {
  TakeFont(this, Message);
  TWinControl::Dispatch(Message);
}

void TProgressBar::UpdateWidget() {
  auto* bar = WidgetOf<QProgressBar>(this);
  if (!bar) return;
  bar->setOrientation(FOrientation == pbVertical ? Qt::Vertical : Qt::Horizontal);
  bar->setRange(FMin, std::max(FMin, FMax));
  bar->setValue(FPosition);
}

void TProgressBar::SetMin(int Value) {
  FMin = Value;
  FPosition = std::clamp(FPosition, FMin, std::max(FMin, FMax));
  UpdateWidget();
}

void TProgressBar::SetMax(int Value) {
  FMax = Value;
  FPosition = std::clamp(FPosition, FMin, std::max(FMin, FMax));
  UpdateWidget();
}

void TProgressBar::SetPosition(int Value) {
  Value = std::clamp(Value, FMin, std::max(FMin, FMax));
  if (Value == FPosition) return;
  FPosition = Value;
  UpdateWidget();
}

void TProgressBar::StepIt() {
  int64_t p = int64_t(FPosition) + FStep;
  int64_t span = int64_t(FMax) - FMin;
  if (p > FMax && span > 0) p = FMin + (p - FMin) % span;
  SetPosition(int(std::clamp<int64_t>(p, FMin, FMax)));
}

void TProgressBar::StepBy(int Delta) { SetPosition(int(std::clamp<int64_t>(int64_t(FPosition) + Delta, FMin, FMax))); }

void TProgressBar::SetSmooth(bool Value) { FSmooth = Value; }

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
  if (FOrientation == Value) return;
  FOrientation = Value;
  UpdateWidget();
}

// ---------------------------------------------------------------------------------------------
// Scroll bar

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetTabStop(true);
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  SetClassWidgetFactory(Params.WinClassName.c_str(),
                        [](QWidget* parent) -> QWidget* { return WithSystemColors(new QScrollBar(parent)); });
}

struct TScrollBarWidget {
  // Qt has already moved its slider for the action; the bar's own rules decide where it goes.
  static void Action(const TWeakLink<TScrollBar>& Self, QScrollBar* Bar, int Action) {
    TScrollBar* s = Self.get();
    if (!s || WidgetOf<QScrollBar>(s) != Bar) return;
    int pos = s->FPosition;
    TScrollCode code;
    switch (Action) {
      case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; pos += s->FSmallChange; break;
      case QAbstractSlider::SliderSingleStepSub: code = scLineUp; pos -= s->FSmallChange; break;
      case QAbstractSlider::SliderPageStepAdd: code = scPageDown; pos += s->FLargeChange; break;
      case QAbstractSlider::SliderPageStepSub: code = scPageUp; pos -= s->FLargeChange; break;
      case QAbstractSlider::SliderToMinimum: code = scTop; pos = s->FMin; break;
      case QAbstractSlider::SliderToMaximum: code = scBottom; pos = s->FMax; break;
      case QAbstractSlider::SliderMove: code = scTrack; pos = Bar->sliderPosition(); break;
      default: return;
    }
    s->FScrolling = true;
    s->DoScroll(code, pos);
    if (Self.get()) Bar->setSliderPosition(Self->FPosition);
  }
};

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  auto* bar = WidgetOf<QScrollBar>(this);
  if (!bar) return;
  TWeakLink<TScrollBar> self(this);
  QObject::connect(bar, &QAbstractSlider::actionTriggered, bar,
                   [self, bar](int action) { TScrollBarWidget::Action(self, bar, action); });
  QObject::connect(bar, &QAbstractSlider::sliderReleased, bar, [self, bar] {
    if (self && WidgetOf<QScrollBar>(self.get()) == bar) self->DoScroll(scPosition, bar->sliderPosition());
  });
  UpdateWidget();
}

void TScrollBar::Dispatch(TMessage& Message) {
  TakeFont(this, Message);
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_WANTARROWS;
    return;
  }
  TWinControl::Dispatch(Message);
  // The end of a scroll comes when the button or the key that scrolled is released.
  if ((Message.Msg == WM_LBUTTONUP || Message.Msg == WM_KEYUP) && FScrolling) {
    FScrolling = false;
    DoScroll(scEndScroll, FPosition);
  }
}

// The bar's own keys, the same whichever way it lies.
void TScrollBar::KeyDown(WORD& Key, TShiftState Shift) {
  TWinControl::KeyDown(Key, Shift);
  int pos = FPosition;
  TScrollCode code;
  switch (Key) {
    case VK_LEFT: case VK_UP: code = scLineUp; pos -= FSmallChange; break;
    case VK_RIGHT: case VK_DOWN: code = scLineDown; pos += FSmallChange; break;
    case VK_PRIOR: code = scPageUp; pos -= FLargeChange; break;
    case VK_NEXT: code = scPageDown; pos += FLargeChange; break;
    case VK_HOME: code = scTop; pos = FMin; break;
    case VK_END: code = scBottom; pos = FMax; break;
    default: return;
  }
  Key = 0;
  FScrolling = true;
  TWeakLink<TScrollBar> self(this);
  DoScroll(code, pos);
  if (self) UpdateWidget();
}

int TScrollBar::LastPosition() const { return std::max(FMin, FMax - std::max(FPageSize - 1, 0)); }

void TScrollBar::UpdateWidget() {
  auto* bar = WidgetOf<QScrollBar>(this);
  if (!bar) return;
  QSignalBlocker block(bar);
  bar->setOrientation(FKind == sbVertical ? Qt::Vertical : Qt::Horizontal);
  bar->setRange(FMin, LastPosition());
  bar->setPageStep(std::max(FPageSize, 0));
  bar->setSingleStep(std::max(FSmallChange, 1));
  bar->setValue(FPosition);
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (!ComponentState().Contains(csLoading)) SetBounds(FLeft, FTop, FHeight, FWidth);
  UpdateWidget();
}

void TScrollBar::SetPageSize(int Value) {
  if (Value == FPageSize) return;
  if (Value < 0 || (Value > FMax - FMin + 1 && !ComponentState().Contains(csLoading)))
    throw EInvalidOperation("Scrollbar property out of range");
  FPageSize = Value;
  SetParams(FPosition, FMin, FMax);
  UpdateWidget();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
  if (AMax < AMin) throw EInvalidOperation("Scrollbar property out of range");
  FMin = AMin;
  FMax = AMax;
  APosition = std::clamp(APosition, FMin, LastPosition());
  bool changed = APosition != FPosition;
  FPosition = APosition;
  UpdateWidget();
  if (changed) Change();
}

void TScrollBar::DoScroll(TScrollCode Code, int ScrollPos) {
  ScrollPos = std::clamp(ScrollPos, FMin, LastPosition());
  TWeakLink<TScrollBar> self(this);
  Scroll(Code, ScrollPos);
  if (self) SetPosition(ScrollPos);
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

// ---------------------------------------------------------------------------------------------
// Date and time picker

namespace {

QDateTime ToQDateTime(TDateTime Value) {
  uint16_t y, m, d, h, n, s, ms;
  DecodeDate(Value, y, m, d);
  DecodeTime(Value, h, n, s, ms);
  return QDateTime(QDate(y, m, d), QTime(h, n, s, ms), Qt::UTC);
}

TDateTime FromQDateTime(const QDateTime& Value) {
  QDate d = Value.date();
  QTime t = Value.time();
  return EncodeDate(d.year(), d.month(), d.day()) + EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
}

// Copies a quoted literal (Quote at Format[i]) as a Qt literal; i ends past it.
void CopyLiteral(const std::string& Format, size_t& i, char Quote, std::string& Out) {
  size_t end = Format.find(Quote, i + 1);
  if (end == std::string::npos) end = Format.size();
  Out += '\'' + Format.substr(i + 1, end - i - 1) + '\'';
  i = std::min(end + 1, Format.size());
}

size_t RunLength(const std::string& S, size_t i) {
  size_t n = 1;
  while (i + n < S.size() && S[i + n] == S[i]) ++n;
  return n;
}

}  // namespace

std::string PickerFormatToQt(const std::string& Format) {
  std::string out;
  for (size_t i = 0; i < Format.size();) {
    char c = Format[i];
    if (c == '\'') {
      CopyLiteral(Format, i, '\'', out);
      continue;
    }
    size_t n = RunLength(Format, i);
    switch (c) {
      case 'y': out += n <= 2 ? "yy" : "yyyy"; break;
      case 't': out += "AP"; break;
      case 'd': case 'M': case 'h': case 'H': case 'm': case 's':
        out += Format.substr(i, std::min<size_t>(n, c == 'd' || c == 'M' ? 4 : 2));
        break;
      default: out += Format.substr(i, n); break;
    }
    i += n;
  }
  return out;
}

std::string DateTimeFormatToQt(const std::string& Format) {
  std::string out;
  bool afterHour = false;
  for (size_t i = 0; i < Format.size();) {
    char c = Format[i];
    char lc = char(std::tolower(static_cast<unsigned char>(c)));
    if (c == '\'' || c == '"') {
      CopyLiteral(Format, i, c, out);
      continue;
    }
    if (lc == 'a') {
      for (const char* token : {"am/pm", "ampm", "a/p"}) {
        if (AnsiLowerCase(Format.substr(i, std::strlen(token))) == token) {
          out += std::isupper(static_cast<unsigned char>(c)) ? "AP" : "ap";
          i += std::strlen(token);
          goto next;
        }
      }
    }
    {
      size_t n = RunLength(AnsiLowerCase(Format), i);
      switch (lc) {
        case 'd': out += std::string(std::min<size_t>(n, 4), 'd'); break;
        case 'y': out += n <= 2 ? "yy" : "yyyy"; break;
        case 'h': out += std::string(std::min<size_t>(n, 2), 'h'); afterHour = true; break;
        case 'n': out += std::string(std::min<size_t>(n, 2), 'm'); break;
        case 's': out += std::string(std::min<size_t>(n, 2), 's'); break;
        case 'z': out += n >= 3 ? "zzz" : "z"; break;
        case 'm':
          // Right after an hour, m means minutes.
          out += afterHour && n <= 2 ? std::string(n, 'm') : std::string(std::min<size_t>(n, 4), 'M');
          break;
        default: out += Format.substr(i, n); break;
      }
      if (lc != 'h' && lc != ' ' && lc != ':') afterHour = false;
      i += n;
    }
  next:;
  }
  return out;
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner) {
  SetTabStop(true);
  SetBounds(0, 0, 186, 21);
  FDateTime = Now();
}

void TDateTimePicker::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  SetClassWidgetFactory(Params.WinClassName.c_str(), [](QWidget* parent) -> QWidget* {
    auto* edit = new QDateTimeEdit(parent);
    edit->setTimeSpec(Qt::UTC);
    edit->setMinimumDateTime(QDateTime(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC));
    return WithSystemColors(edit);
  });
}

void TDateTimePicker::CreateWnd() {
  TWinControl::CreateWnd();
  auto* edit = WidgetOf<QDateTimeEdit>(this);
  if (!edit) return;
  TWeakLink<TDateTimePicker> self(this);
  QObject::connect(edit, &QDateTimeEdit::dateTimeChanged, edit, [self, edit](const QDateTime& v) {
    TDateTimePicker* p = self.get();
    if (!p || WidgetOf<QDateTimeEdit>(p) != edit) return;
    TDateTime picked = FromQDateTime(v);
    // The picker shows one part; the other part of the value stays.
    TDateTime value = p->FKind == dtkDate ? std::trunc(picked) + (p->FDateTime - std::trunc(p->FDateTime))
                                          : std::trunc(p->FDateTime) + (picked - std::trunc(picked));
    if (value == p->FDateTime) return;
    p->FDateTime = value;
    p->Change();
  });
  UpdateWidget();
}

void TDateTimePicker::UpdateWidget() {
  auto* edit = WidgetOf<QDateTimeEdit>(this);
  if (!edit) return;
  QSignalBlocker block(edit);
  edit->setDisplayFormat(Q(QtFormat()));
  edit->setCalendarPopup(FKind == dtkDate);
  edit->setDateTime(ToQDateTime(FDateTime));
}

std::string TDateTimePicker::QtFormat() const {
  if (!FFormat.empty()) return PickerFormatToQt(FFormat);
  if (FKind == dtkTime) return DateTimeFormatToQt(FormatSettings.LongTimeFormat);
  return DateTimeFormatToQt(FDateFormat == dfLong ? FormatSettings.LongDateFormat : FormatSettings.ShortDateFormat);
}

std::string TDateTimePicker::GetText() const {
  if (FFormat.empty()) {
    const std::string& f = FKind == dtkTime      ? FormatSettings.LongTimeFormat
                           : FDateFormat == dfLong ? FormatSettings.LongDateFormat
                                                   : FormatSettings.ShortDateFormat;
    return FormatDateTime(f, FDateTime);
  }
  return QLocale::c().toString(ToQDateTime(FDateTime), Q(QtFormat())).toStdString();
}

void TDateTimePicker::SetKind(TDateTimeKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  UpdateWidget();
}

void TDateTimePicker::SetDateTime(TDateTime Value) {
  if (Value == FDateTime) return;
  FDateTime = Value;
  UpdateWidget();
}

TDateTime TDateTimePicker::Date() const { return std::trunc(FDateTime); }
void TDateTimePicker::SetDate(TDateTime Value) { SetDateTime(std::trunc(Value) + (FDateTime - std::trunc(FDateTime))); }
TDateTime TDateTimePicker::Time() const { return FDateTime - std::trunc(FDateTime); }
void TDateTimePicker::SetTime(TDateTime Value) { SetDateTime(std::trunc(FDateTime) + (Value - std::trunc(Value))); }

void TDateTimePicker::SetFormat(const std::string& Value) {
  FFormat = Value;
  UpdateWidget();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat Value) {
  FDateFormat = Value;
  UpdateWidget();
}

void TDateTimePicker::Dispatch(TMessage& Message) {
  TakeFont(this, Message);
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    return;
  }
  TWinControl::Dispatch(Message);
}

void TDateTimePicker::Change() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------------
// List view

namespace {

// Without whole-row selection only the caption shows as selected.
class TCaptionSelectionDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  bool RowSelect = false;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem o(option);
    if (!RowSelect && index.column() > 0) o.state &= ~QStyle::State_Selected;
    QStyledItemDelegate::paint(painter, o, index);
  }
};

constexpr int kItemRole = Qt::UserRole;

QIcon ImageIcon(TCustomImageList* Images, int Index) {
  if (!Images || Index < 0 || Index >= Images->Count()) return {};
  // Drawn on a key colour that then becomes transparent, so the row's colours show around it.
  const TColor key = 0xFF00FF;
  TBitmap bmp;
  bmp.SetSize(Images->Width(), Images->Height());
  bmp.Canvas()->Brush()->SetColor(key);
  bmp.Canvas()->FillRect(Rect(0, 0, Images->Width(), Images->Height()));
  Images->Draw(bmp.Canvas(), 0, 0, Index);
  QImage img = bmp.ToImage().convertToFormat(QImage::Format_ARGB32);
  const QRgb keyRgb = qRgb(0xFF, 0x00, 0xFF);
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if ((line[x] & 0xFFFFFF) == (keyRgb & 0xFFFFFF)) line[x] = 0;
  }
  return QIcon(QPixmap::fromImage(img));
}

}  // namespace
TListColumn::TListColumn(TCollection* Collection) : TCollectionItem(Collection) {}

void TListColumn::SetCaption(const std::string& Value) {
  FCaption = Value;
  Changed(false);
}

void TListColumn::SetWidth(int Value) {
  FWidth = Value;
  Changed(false);
}

void TListColumn::SetAutoSize(bool Value) {
  FAutoSize = Value;
  Changed(false);
}

void TListColumn::Assign(TPersistent* Source) {
  if (auto* c = dynamic_cast<TListColumn*>(Source)) {
    FCaption = c->FCaption;
    FWidth = c->FWidth;
    FAutoSize = c->FAutoSize;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(Source);
}

TListColumns::TListColumns(TListView* AOwner)
    : TOwnedCollection(AOwner, TCollection::ItemClassOf<TListColumn>()), FView(AOwner) {}

void TListColumns::Update(TCollectionItem*) { FView->ColumnsChanged(); }

TListItem::TListItem(TListItems* AOwner) : FOwner(AOwner), FSubItems(std::make_unique<TStringList>()) {
  FSubItems->OnChange = [this](TObject*) { Changed(); };
}

TListItem::~TListItem() = default;

TListView* TListItem::ListView() const { return FOwner->FView; }
int TListItem::Index() const { return FOwner->IndexOf(this); }
TStrings* TListItem::SubItems() const { return FSubItems.get(); }

void TListItem::Changed() { FOwner->FView->ItemChanged(this); }

void TListItem::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  FCaption = Value;
  Changed();
}

void TListItem::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  Changed();
}

void TListItem::SetData(std::unique_ptr<TObject> Value) { FData = std::move(Value); }

void TListItem::SetSelected(bool Value) {
  if (Value != FSelected) FOwner->FView->ItemSelecting(this, Value);
}

bool TListItem::Focused() const { return FOwner->FView->FFocused == this; }

void TListItem::SetFocused(bool Value) {
  if (Value) FOwner->FView->SetItemFocused(this);
  else if (Focused()) FOwner->FView->SetItemFocused(nullptr);
}

void TListItem::MakeVisible(bool PartialOK) {
  auto* row = static_cast<QTreeWidgetItem*>(FRow);
  if (row && row->treeWidget()) row->treeWidget()->scrollToItem(row);
}

void TListItem::Delete() { FOwner->Delete(Index()); }

TListItems::~TListItems() = default;

TListItem* TListItems::Item(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FItems[size_t(Index)].get();
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int Index) {
  Index = std::clamp(Index, 0, Count());
  auto* item = new TListItem(this);
  FItems.insert(FItems.begin() + Index, std::unique_ptr<TListItem>(item));
  FView->ItemAdded(item);
  return item;
}

void TListItems::Delete(int Index) {
  TListItem* item = Item(Index);
  if (FView->OnDeletion) FView->OnDeletion(FView, item);
  FView->ItemRemoving(item);
  // The handler may have moved rows; find the row again.
  auto it = std::find_if(FItems.begin(), FItems.end(), [item](const auto& p) { return p.get() == item; });
  if (it != FItems.end()) FItems.erase(it);
}

void TListItems::Clear() {
  BeginUpdate();
  try {
    while (Count() > 0) Delete(Count() - 1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TListItems::IndexOf(const TListItem* Item) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == Item) return int(i);
  return -1;
}

void TListItems::BeginUpdate() {
  if (FUpdateCount++ == 0)
    if (auto* tree = WidgetOf<QTreeWidget>(FView)) tree->setUpdatesEnabled(false);
}

void TListItems::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0)
    if (auto* tree = WidgetOf<QTreeWidget>(FView)) tree->setUpdatesEnabled(true);
}

struct TListViewSync {
  static TListItem* ItemOf(QTreeWidgetItem* Row) {
    return Row ? reinterpret_cast<TListItem*>(Row->data(0, kItemRole).value<quintptr>()) : nullptr;
  }

  // The user changed the selection in the widget.
  static void SelectionChanged(const TWeakLink<TListView>& Self, QTreeWidget* Tree) {
    TListView* v = Self.get();
    if (!v || v->FSyncing || WidgetOf<QTreeWidget>(v) != Tree) return;
    std::vector<TListItem*> changed;
    for (auto& item : v->FItems->FItems) {
      auto* row = static_cast<QTreeWidgetItem*>(item->FRow);
      bool now = row && row->isSelected();
      if (now == item->FSelected) continue;
      item->FSelected = now;
      changed.push_back(item.get());
    }
    // Rows leaving the selection are told first, as the platform does.
    std::stable_partition(changed.begin(), changed.end(), [](TListItem* i) { return !i->FSelected; });
    for (TListItem* item : changed) {
      if (!Self.get() || !Self->OnSelectItem) return;
      if (Self->FItems->IndexOf(item) >= 0) Self->OnSelectItem(Self.get(), item, item->FSelected);
    }
  }

  static void CurrentChanged(const TWeakLink<TListView>& Self, QTreeWidget* Tree, QTreeWidgetItem* Current) {
    TListView* v = Self.get();
    if (!v || v->FSyncing || WidgetOf<QTreeWidget>(v) != Tree) return;
    v->FFocused = ItemOf(Current);
  }

  static void RowEdited(const TWeakLink<TListView>& Self, QTreeWidget* Tree, QTreeWidgetItem* Row, int Column) {
    TListView* v = Self.get();
    if (!v || v->FSyncing || Column != 0 || WidgetOf<QTreeWidget>(v) != Tree) return;
    TListItem* item = ItemOf(Row);
    if (!item) return;
    std::string text = Row->text(0).toStdString();
    if (v->OnEdited) v->OnEdited(v, item, text);
    if (!Self.get() || Self->FItems->IndexOf(item) < 0) return;
    item->FCaption.clear();
    item->SetCaption(text);
  }
};

TListView::TListView(TComponent* AOwner)
    : TWinControl(AOwner),
      FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this)),
      FImageLink(std::make_unique<TChangeLink>()) {
  SetTabStop(true);
  SetBounds(0, 0, 250, 150);
  FImageLink->OnChange = [this](TObject* Sender) { ImagesChanged(Sender); };
  FColumns->SetPropName("Columns");
}

TListView::~TListView() {
  Destroying();
  SetSmallImages(nullptr);
  if (HandleAllocated()) DestroyHandle();
  FFocused = nullptr;
}

void TListView::SetColumns(TListColumns* Value) { FColumns->Assign(Value); }

void TListView::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  SetClassWidgetFactory(Params.WinClassName.c_str(), [](QWidget* parent) -> QWidget* {
    auto* tree = new QTreeWidget(parent);
    tree->setRootIsDecorated(false);
    tree->setItemsExpandable(false);
    tree->setUniformRowHeights(true);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionsMovable(false);
    tree->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    tree->setItemDelegate(new TCaptionSelectionDelegate(tree));
    return WithSystemColors(tree);
  });
}

void TListView::CreateWnd() {
  TWinControl::CreateWnd();
  auto* tree = WidgetOf<QTreeWidget>(this);
  if (!tree) return;
  RouteWidgetInput(WindowHandle(), tree->viewport());
  TWeakLink<TListView> self(this);
  QObject::connect(tree, &QTreeWidget::itemSelectionChanged, tree,
                   [self, tree] { TListViewSync::SelectionChanged(self, tree); });
  QObject::connect(tree, &QTreeWidget::currentItemChanged, tree, [self, tree](QTreeWidgetItem* current) {
    TListViewSync::CurrentChanged(self, tree, current);
  });
  QObject::connect(tree, &QTreeWidget::itemChanged, tree, [self, tree](QTreeWidgetItem* row, int column) {
    TListViewSync::RowEdited(self, tree, row, column);
  });
  QObject::connect(tree->header(), &QHeaderView::sectionClicked, tree, [self, tree](int section) {
    TListView* v = self.get();
    if (v && WidgetOf<QTreeWidget>(v) == tree && section < v->FColumns->Count())
      v->ColClick(v->FColumns->Items(section));
  });
  ApplyOptions();
  ColumnsChanged();
  ReloadRows();
}

void TListView::DestroyWnd() {
  for (auto& item : FItems->FItems) item->FRow = nullptr;
  TWinControl::DestroyWnd();
}

void TListView::Dispatch(TMessage& Message) {
  TakeFont(this, Message);
  if (Message.Msg == WM_GETDLGCODE) {
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
    return;
  }
  TWinControl::Dispatch(Message);
}

void TListView::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSmallImages) {
    FSmallImages = nullptr;
    ImagesChanged(nullptr);
  }
}

void TListView::ApplyOptions() {
  auto* tree = WidgetOf<QTreeWidget>(this);
  if (!tree) return;
  TSyncScope sync(FSyncing);
  tree->setSelectionMode(FMultiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  tree->setAllColumnsShowFocus(FRowSelect);
  if (auto* d = dynamic_cast<TCaptionSelectionDelegate*>(tree->itemDelegate())) d->RowSelect = FRowSelect;
  tree->setEditTriggers(FReadOnly ? QAbstractItemView::NoEditTriggers
                                  : QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  tree->setHeaderHidden(!FShowColumnHeaders);
  tree->header()->setSectionsClickable(FColumnClick);
  QPalette pal = tree->palette();
  if (FHideSelection) {
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Inactive, QPalette::Base));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Inactive, QPalette::Text));
  } else {
    // Kept visible without the focus, in the face colour as the platform shows it.
    pal.setColor(QPalette::Inactive, QPalette::Highlight, TColorToQColor(clBtnFace));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, TColorToQColor(clBtnText));
  }
  tree->setPalette(pal);
  if (FSmallImages) tree->setIconSize(QSize(FSmallImages->Width(), FSmallImages->Height()));
  tree->viewport()->update();
}

void TListView::SetMultiSelect(bool Value) {
  FMultiSelect = Value;
  ApplyOptions();
}

void TListView::SetRowSelect(bool Value) {
  FRowSelect = Value;
  ApplyOptions();
}

void TListView::SetReadOnly(bool Value) {
  FReadOnly = Value;
  ApplyOptions();
  ReloadRows();
}

void TListView::SetHideSelection(bool Value) {
  FHideSelection = Value;
  ApplyOptions();
}

void TListView::SetShowColumnHeaders(bool Value) {
  FShowColumnHeaders = Value;
  ApplyOptions();
}

void TListView::SetColumnClick(bool Value) {
  FColumnClick = Value;
  ApplyOptions();
}

void TListView::SetSmallImages(TCustomImageList* Value) {
  if (Value == FSmallImages) return;
  if (FSmallImages) {
    FSmallImages->UnRegisterChanges(FImageLink.get());
    FSmallImages->RemoveFreeNotification(this);
  }
  FSmallImages = Value;
  if (FSmallImages) {
    FSmallImages->RegisterChanges(FImageLink.get());
    FSmallImages->FreeNotification(this);
  }
  ImagesChanged(nullptr);
}

void TListView::ImagesChanged(TObject*) {
  if (ComponentState().Contains(csDestroying)) return;
  ApplyOptions();
  for (auto& item : FItems->FItems) ItemChanged(item.get());
}

void TListView::ColumnsChanged() {
  auto* tree = WidgetOf<QTreeWidget>(this);
  if (!tree) return;
  TSyncScope sync(FSyncing);
  int n = FColumns->Count();
  tree->setColumnCount(std::max(n, 1));
  QStringList labels;
  int fixed = 0, autoCount = 0;
  for (int i = 0; i < n; ++i) {
    TListColumn* c = FColumns->Items(i);
    labels << Q(c->Caption());
    if (c->AutoSize()) ++autoCount;
    else fixed += c->Width();
  }
  tree->setHeaderLabels(labels);
  // Auto-sized columns share what the others leave of the visible width.
  int room = std::max(0, tree->viewport()->width() - fixed);
  for (int i = 0; i < n; ++i) {
    TListColumn* c = FColumns->Items(i);
    tree->setColumnWidth(i, c->AutoSize() ? room / autoCount : c->Width());
  }
  for (auto& item : FItems->FItems) ItemChanged(item.get());
}

void TListView::Resize() {
  TWinControl::Resize();
  for (int i = 0; i < FColumns->Count(); ++i)
    if (FColumns->Items(i)->AutoSize()) {
      ColumnsChanged();
      break;
    }
}

void TListView::ItemChanged(TListItem* Item) {
  auto* row = static_cast<QTreeWidgetItem*>(Item->FRow);
  if (!row) return;
  TSyncScope sync(FSyncing);
  row->setText(0, Q(Item->FCaption));
  for (int c = 1; c < std::max(FColumns->Count(), 1); ++c)
    row->setText(c, c - 1 < Item->FSubItems->Count() ? Q(Item->FSubItems->Strings(c - 1)) : QString());
  row->setIcon(0, ImageIcon(FSmallImages, Item->FImageIndex));
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!FReadOnly) flags |= Qt::ItemIsEditable;
  row->setFlags(flags);
}

void TListView::ItemAdded(TListItem* Item) {
  auto* tree = WidgetOf<QTreeWidget>(this);
  if (!tree) return;
  TSyncScope sync(FSyncing);
  auto* row = new QTreeWidgetItem;
  row->setData(0, kItemRole, QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(Item)));
  Item->FRow = row;
  tree->insertTopLevelItem(FItems->IndexOf(Item), row);
  ItemChanged(Item);
}

void TListView::ItemRemoving(TListItem* Item) {
  if (FFocused == Item) FFocused = nullptr;
  auto* row = static_cast<QTreeWidgetItem*>(Item->FRow);
  Item->FRow = nullptr;
  if (!row) return;
  TSyncScope sync(FSyncing);
  delete row;
}

// Puts the widget's rows in the items' order (making the missing ones), keeping the scroll.
void TListView::ReloadRows() {
  auto* tree = WidgetOf<QTreeWidget>(this);
  if (!tree) return;
  TSyncScope sync(FSyncing);
  int scroll = tree->verticalScrollBar()->value();
  while (tree->topLevelItemCount() > 0) tree->takeTopLevelItem(tree->topLevelItemCount() - 1);
  QList<QTreeWidgetItem*> rows;
  for (auto& item : FItems->FItems) {
    auto* row = static_cast<QTreeWidgetItem*>(item->FRow);
    if (!row) {
      row = new QTreeWidgetItem;
      row->setData(0, kItemRole, QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(item.get())));
      item->FRow = row;
    }
    rows << row;
  }
  tree->insertTopLevelItems(0, rows);
  for (auto& item : FItems->FItems) ItemChanged(item.get());
  ApplySelection();
  if (FFocused) tree->setCurrentItem(static_cast<QTreeWidgetItem*>(FFocused->FRow), 0, QItemSelectionModel::NoUpdate);
  tree->verticalScrollBar()->setValue(scroll);
}

void TListView::ApplySelection() {
  if (!WidgetOf<QTreeWidget>(this)) return;
  TSyncScope sync(FSyncing);
  for (auto& item : FItems->FItems)
    if (auto* row = static_cast<QTreeWidgetItem*>(item->FRow)) row->setSelected(item->FSelected);
}

void TListView::ItemSelecting(TListItem* Item, bool Value) {
  std::vector<TListItem*> changed;
  if (Value && !FMultiSelect)
    for (auto& other : FItems->FItems)
      if (other.get() != Item && other->FSelected) {
        other->FSelected = false;
        changed.push_back(other.get());
      }
  Item->FSelected = Value;
  changed.push_back(Item);
  if (WidgetOf<QTreeWidget>(this)) {
    TSyncScope sync(FSyncing);
    for (TListItem* i : changed)
      if (auto* row = static_cast<QTreeWidgetItem*>(i->FRow)) row->setSelected(i->FSelected);
  }
  TWeakLink<TListView> self(this);
  for (TListItem* i : changed) {
    if (!self.get() || !OnSelectItem) return;
    if (FItems->IndexOf(i) >= 0) OnSelectItem(this, i, i->FSelected);
  }
}

TListItem* TListView::Selected() const {
  for (auto& item : FItems->FItems)
    if (item->FSelected) return item.get();
  return nullptr;
}

void TListView::SetSelected(TListItem* Value) {
  if (!Value) {
    ClearSelection();
    return;
  }
  for (auto& item : FItems->FItems)
    if (item.get() != Value && item->FSelected) item->SetSelected(false);
  Value->SetSelected(true);
}

int TListView::SelCount() const {
  return int(std::count_if(FItems->FItems.begin(), FItems->FItems.end(), [](const auto& i) { return i->FSelected; }));
}

int TListView::ItemIndex() const {
  TListItem* s = Selected();
  return s ? s->Index() : -1;
}

void TListView::SetItemIndex(int Value) { SetSelected(Value < 0 ? nullptr : FItems->Item(Value)); }

void TListView::SetItemFocused(TListItem* Value) {
  FFocused = Value;
  auto* tree = WidgetOf<QTreeWidget>(this);
  if (!tree) return;
  TSyncScope sync(FSyncing);
  tree->setCurrentItem(Value ? static_cast<QTreeWidgetItem*>(Value->FRow) : nullptr, 0, QItemSelectionModel::NoUpdate);
}

void TListView::SelectAll() {
  if (!FMultiSelect) return;
  FItems->BeginUpdate();
  for (auto& item : FItems->FItems) item->SetSelected(true);
  FItems->EndUpdate();
}

void TListView::ClearSelection() {
  FItems->BeginUpdate();
  for (auto& item : FItems->FItems) item->SetSelected(false);
  FItems->EndUpdate();
}

TListItem* TListView::GetItemAt(int X, int Y) {
  auto* tree = WidgetOf<QTreeWidget>(this);
  if (!tree) return nullptr;
  return TListViewSync::ItemOf(tree->itemAt(tree->viewport()->mapFrom(tree, QPoint(X, Y))));
}

bool TListView::CustomSort(const TLVCompare& Compare, LPARAM ParamSort) {
  if (!Compare) return false;
  std::stable_sort(FItems->FItems.begin(), FItems->FItems.end(),
                   [&](const auto& a, const auto& b) { return Compare(a.get(), b.get(), ParamSort) < 0; });
  ReloadRows();
  return true;
}

bool TListView::AlphaSort() {
  return CustomSort([](TListItem* a, TListItem* b, LPARAM) { return AnsiCompareText(a->Caption(), b->Caption()); }, 0);
}

TListItem* TListView::FindCaption(int StartIndex, const std::string& Value, bool Partial, bool Inclusive,
                                  bool Wrap) const {
  const int n = FItems->Count();
  const int first = std::clamp(Inclusive ? StartIndex : StartIndex + 1, 0, n);
  const std::string want = AnsiLowerCase(Value);
  auto matches = [&](int i) {
    const std::string& c = FItems->FItems[size_t(i)]->FCaption;
    return Partial ? AnsiLowerCase(c).starts_with(want) : AnsiSameText(c, Value);
  };
  for (int i = first; i < n; ++i)
    if (matches(i)) return FItems->Item(i);
  if (Wrap)
    for (int i = 0; i < first; ++i)
      if (matches(i)) return FItems->Item(i);
  return nullptr;
}

void TListView::ColClick(TListColumn* Column) {
  if (OnColumnClick) OnColumnClick(this, Column);
}

// ---------------------------------------------------------------------------------------------
// Page control

namespace {

// The page control's widget: the tab row and the frame around the pages; the sheets are child
// windows placed inside the frame.
class TTabHost : public QWidget {
 public:
  explicit TTabHost(QWidget* parent) : QWidget(parent), Bar(new QTabBar(this)) {
    Bar->setDrawBase(false);
    Bar->setUsesScrollButtons(true);
    Bar->setExpanding(false);
  }
  QTabBar* Bar;
  int BarHeight() const { return Bar->count() > 0 ? Bar->sizeHint().height() : 0; }

 protected:
  void resizeEvent(QResizeEvent*) override { Layout(); }
  void paintEvent(QPaintEvent*) override {
    QStylePainter p(this);
    QStyleOptionTabWidgetFrame opt;
    opt.initFrom(this);
    opt.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    int top = std::max(0, BarHeight() - style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this));
    opt.rect = QRect(0, top, width(), height() - top);
    opt.shape = QTabBar::RoundedNorth;
    if (Bar->count() > 0) {
      opt.tabBarSize = Bar->size();
      opt.tabBarRect = Bar->geometry();
      opt.selectedTabRect = Bar->tabRect(Bar->currentIndex()).translated(Bar->pos());
    }
    p.drawPrimitive(QStyle::PE_FrameTabWidget, opt);
  }

 public:
  void Layout() {
    Bar->setVisible(Bar->count() > 0);
    Bar->setGeometry(2, 0, std::min(Bar->sizeHint().width(), std::max(0, width() - 4)), BarHeight());
    update();
  }
};

TTabHost* HostOf(const TWinControl* Control) { return dynamic_cast<TTabHost*>(WidgetOf<QWidget>(Control)); }

}  // namespace

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Include(csAcceptsControls);
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* Value) { SetParent(Value); }

void TTabSheet::SetParent(TWinControl* AParent) {
  auto* pc = dynamic_cast<TPageControl*>(AParent);
  if (FPageControl && FPageControl != pc) FPageControl->RemovePage(this);
  TWinControl::SetParent(AParent);
  if (pc && FPageControl != pc) pc->InsertPage(this);
}

int TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  auto& pages = FPageControl->FPages;
  return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int Value) {
  if (!FPageControl) return;
  auto& pages = FPageControl->FPages;
  pages.erase(pages.begin() + PageIndex());
  pages.insert(pages.begin() + std::clamp<int>(Value, 0, int(pages.size())), this);
  FPageControl->UpdateTabs();
}

void TTabSheet::SetTabVisible(bool Value) {
  if (FTabVisible == Value) return;
  FTabVisible = Value;
  if (FPageControl) {
    FPageControl->UpdateTabs();
    FPageControl->PlacePages();
  }
}

int TTabSheet::TabIndex() const {
  if (!FPageControl || !FTabVisible) return -1;
  int index = 0;
  for (TTabSheet* p : FPageControl->FPages) {
    if (p == this) return index;
    if (p->FTabVisible) ++index;
  }
  return -1;
}

void TTabSheet::CMTextChanged(TMessage& Message) {
  TWinControl::CMTextChanged(Message);
  if (FPageControl) FPageControl->UpdateTabs();
}

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Include(csAcceptsControls);
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
  for (TTabSheet* p : FPages) p->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

void TPageControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  SetClassWidgetFactory(Params.WinClassName.c_str(), [](QWidget* parent) -> QWidget* { return WithSystemColors(new TTabHost(parent)); });
}

void TPageControl::CreateWnd() {
  TWinControl::CreateWnd();
  TTabHost* host = HostOf(this);
  if (!host) return;
  TWeakLink<TPageControl> self(this);
  QObject::connect(host->Bar, &QTabBar::currentChanged, host, [self, host](int index) {
    TPageControl* pc = self.get();
    if (!pc || pc->FSyncing || HostOf(pc) != host || index < 0) return;
    pc->TabClicked(reinterpret_cast<TTabSheet*>(host->Bar->tabData(index).value<quintptr>()));
  });
  UpdateTabs();
  PlacePages();
}

void TPageControl::Dispatch(TMessage& Message) {
  TakeFont(this, Message);
  TWinControl::Dispatch(Message);
  if (Message.Msg == WM_SETFONT) {
    UpdateTabs();
    PlacePages();
  }
}

void TPageControl::InsertPage(TTabSheet* Page) {
  FPages.push_back(Page);
  Page->FPageControl = this;
  UpdateTabs();
  if (!FActivePage) SetActivePage(Page);
  else PlacePages();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  auto it = std::find(FPages.begin(), FPages.end(), Page);
  if (it == FPages.end()) return;
  size_t at = size_t(it - FPages.begin());
  FPages.erase(it);
  Page->FPageControl = nullptr;
  if (FActivePage == Page) {
    FActivePage = nullptr;
    // The next sheet with a tab takes its place, else the one before.
    TTabSheet* next = nullptr;
    for (size_t i = at; i < FPages.size() && !next; ++i)
      if (FPages[i]->FTabVisible) next = FPages[i];
    for (size_t i = at; i-- > 0 && !next;)
      if (FPages[i]->FTabVisible) next = FPages[i];
    if (next && !ComponentState().Contains(csDestroying)) SetActivePage(next);
  }
  UpdateTabs();
}

void TPageControl::UpdateTabs() {
  TTabHost* host = HostOf(this);
  if (!host) return;
  TSyncScope sync(FSyncing);
  QTabBar* bar = host->Bar;
  while (bar->count() > 0) bar->removeTab(bar->count() - 1);
  for (TTabSheet* p : FPages) {
    if (!p->FTabVisible) continue;
    int i = bar->addTab(Q(p->Caption()));
    bar->setTabData(i, QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(p)));
  }
  if (FActivePage && FActivePage->TabIndex() >= 0) bar->setCurrentIndex(FActivePage->TabIndex());
  host->Layout();
}

int TPageControl::TabHeight() const {
  bool anyTab = std::any_of(FPages.begin(), FPages.end(), [](TTabSheet* p) { return p->FTabVisible; });
  if (!anyTab) return 0;
  if (TTabHost* host = HostOf(this)) return host->BarHeight();
  return Font()->Height() < 0 ? -Font()->Height() + 10 : 21;
}

TRect TPageControl::DisplayRect() const {
  int tabs = TabHeight();
  return Rect(4, tabs ? tabs + 4 : 4, std::max(4, FWidth - 4), std::max(tabs + 4, FHeight - 4));
}

void TPageControl::PlacePages() {
  TRect r = DisplayRect();
  for (TTabSheet* p : FPages) {
    p->SetBoundsRect(r);
    p->SetVisible(p == FActivePage);
  }
}

void TPageControl::SetActivePage(TTabSheet* Value) {
  if (Value && Value->FPageControl != this) return;
  FActivePage = Value;
  if (TTabHost* host = HostOf(this); host && Value && Value->TabIndex() >= 0) {
    TSyncScope sync(FSyncing);
    host->Bar->setCurrentIndex(Value->TabIndex());
  }
  PlacePages();
  if (Value) Value->BringToFront();
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int Value) {
  SetActivePage(Value >= 0 && Value < PageCount() ? FPages[size_t(Value)] : nullptr);
}

void TPageControl::TabClicked(TTabSheet* Page) {
  if (!Page || Page == FActivePage) return;
  TWeakLink<TPageControl> self(this);
  if (!CanChange()) {
    if (self) UpdateTabs();
    return;
  }
  if (!self) return;
  SetActivePage(Page);
  Change();
}

bool TPageControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TPageControl::Change() {
  if (OnChange) OnChange(this);
}

void TPageControl::Resize() {
  PlacePages();
  TWinControl::Resize();
}

void TPageControl::Loaded() {
  TWinControl::Loaded();
  PlacePages();
}

// ---------------------------------------------------------------------------------------------

void RegisterComCtrlsClasses() {
  static const bool done = [] {
    RegisterControlClasses();
    RegisterEnumNames<TProgressBarOrientation>({"pbHorizontal", "pbVertical"});
    RegisterEnumNames<TScrollBarKind>({"sbHorizontal", "sbVertical"});
    RegisterEnumNames<TScrollCode>({"scLineUp", "scLineDown", "scPageUp", "scPageDown", "scPosition",
                                    "scTrack", "scTop", "scBottom", "scEndScroll"});
    RegisterEnumNames<TDateTimeKind>({"dtkDate", "dtkTime"});
    RegisterEnumNames<TDTDateFormat>({"dfShort", "dfLong"});
    RegisterEnumNames<TViewStyle>({"vsIcon", "vsSmallIcon", "vsList", "vsReport"});

    RegisterClass<TProgressBar, TWinControl>();
    Published<TProgressBar>()
        .Property("Min", &TProgressBar::Min, &TProgressBar::SetMin).Default(0)
        .Property("Max", &TProgressBar::Max, &TProgressBar::SetMax).Default(100)
        .Property("Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation).Default(int(pbHorizontal))
        .Property("Position", &TProgressBar::Position, &TProgressBar::SetPosition).Default(0)
        .Property("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth).Default(false)
        .Property("Step", &TProgressBar::Step, &TProgressBar::SetStep).Default(10);

    RegisterClass<TScrollBar, TWinControl>();
    Published<TScrollBar>()
        .Property("Kind", &TScrollBar::Kind, &TScrollBar::SetKind).Default(int(sbHorizontal))
        .Property("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange).Default(1)
        .Property("Max", &TScrollBar::Max, &TScrollBar::SetMax).Default(100)
        .Property("Min", &TScrollBar::Min, &TScrollBar::SetMin).Default(0)
        .Property("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize).Default(0)
        .Property("Position", &TScrollBar::Position, &TScrollBar::SetPosition).Default(0)
        .Property("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange).Default(1)
        .Property("OnChange", &TScrollBar::OnChange)
        .Property("OnScroll", &TScrollBar::OnScroll);

    RegisterClass<TDateTimePicker, TWinControl>();
    Published<TDateTimePicker>()
        .Property("Date", &TDateTimePicker::Date, &TDateTimePicker::SetDate)
        .Property("Time", &TDateTimePicker::Time, &TDateTimePicker::SetTime)
        .Property("DateFormat", &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat).Default(int(dfShort))
        .Property("Format", &TDateTimePicker::Format, &TDateTimePicker::SetFormat)
        .Property("Kind", &TDateTimePicker::Kind, &TDateTimePicker::SetKind).Default(int(dtkDate))
        .Property("OnChange", &TDateTimePicker::OnChange);

    RegisterClass<TListColumn, TCollectionItem>();
    Published<TListColumn>()
        .Property("AutoSize", &TListColumn::AutoSize, &TListColumn::SetAutoSize).Default(false)
        .Property("Caption", &TListColumn::Caption, &TListColumn::SetCaption)
        .Property("Width", &TListColumn::Width, &TListColumn::SetWidth).Default(50);
    RegisterClass<TListView, TWinControl>();
    Published<TListView>()
        .Property("Columns", &TListView::Columns)
        .Property("ColumnClick", &TListView::ColumnClick, &TListView::SetColumnClick).Default(true)
        .Property("HideSelection", &TListView::HideSelection, &TListView::SetHideSelection).Default(true)
        .Property("MultiSelect", &TListView::MultiSelect, &TListView::SetMultiSelect).Default(false)
        .Property("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly).Default(false)
        .Property("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect).Default(false)
        .Property("ShowColumnHeaders", &TListView::ShowColumnHeaders, &TListView::SetShowColumnHeaders).Default(true)
        .Property("SmallImages", &TListView::SmallImages, &TListView::SetSmallImages)
        .Property("ViewStyle", &TListView::ViewStyle, &TListView::SetViewStyle).Default(int(vsIcon))
        .Property("OnColumnClick", &TListView::OnColumnClick)
        .Property("OnDeletion", &TListView::OnDeletion)
        .Property("OnEdited", &TListView::OnEdited)
        .Property("OnSelectItem", &TListView::OnSelectItem);

    RegisterClass<TTabSheet, TWinControl>();
    Published<TTabSheet>()
        .Property("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption)
        .Property("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex).Stored([](TTabSheet*) { return false; })
        .Property("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(true);
    RegisterClass<TPageControl, TWinControl>();
    Published<TPageControl>()
        .Property("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
        .Property("OnChange", &TPageControl::OnChange)
        .Property("OnChanging", &TPageControl::OnChanging);
    return true;
  }();
  (void)done;
}
