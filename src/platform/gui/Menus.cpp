#include "platform/gui/Menus.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/QtWindows.h"

namespace {

UINT gNextCommand = 1;

const std::pair<WORD, const char*> kKeyNames[] = {
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"}, {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"},
    {VK_HOME, "Home"}, {VK_LEFT, "Left"}, {VK_UP, "Up"}, {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"}, {VK_INSERT, "Ins"}, {VK_DELETE, "Del"}};

std::string KeyName(WORD Key) {
  for (auto& [k, name] : kKeyNames)
    if (k == Key) return name;
  if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z')) return std::string(1, char(Key));
  if (Key >= VK_F1 && Key < VK_F1 + 24) return "F" + std::to_string(Key - VK_F1 + 1);
  return {};
}

}  // namespace

std::string ShortCutToText(TShortCut ShortCut) {
  std::string name = KeyName(WORD(ShortCut & 0xFF));
  if (name.empty()) return {};
  std::string text;
  if (ShortCut & scShift) text += "Shift+";
  if (ShortCut & scCtrl) text += "Ctrl+";
  if (ShortCut & scAlt) text += "Alt+";
  return text + name;
}

TShortCut TextToShortCut(const std::string& Text) {
  std::string rest = Text;
  TShortCut mods = 0;
  for (bool more = true; more;) {
    more = false;
    for (auto [prefix, bit] : {std::pair{"Shift+", scShift}, {"Ctrl+", scCtrl}, {"Alt+", scAlt}})
      if (rest.size() > std::strlen(prefix) && SameText(rest.substr(0, std::strlen(prefix)), prefix)) {
        mods |= bit;
        rest.erase(0, std::strlen(prefix));
        more = true;
      }
  }
  for (WORD key = 1; key < 0x100; ++key)
    if (std::string name = KeyName(key); !name.empty() && SameText(name, rest)) return mods | key;
  return 0;
}

std::string StripHotkey(const std::string& Text) {
  std::string out;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '&') {
      if (i + 1 < Text.size() && Text[i + 1] == '&') out += '&';
      else continue;
      ++i;
      continue;
    }
    out += Text[i];
  }
  return out;
}

// ---------------------------------------------------------------------------------------------

TMenuActionLink::TMenuActionLink(TMenuItem* AClient) : TActionLink(AClient) {}
TMenuItem* TMenuActionLink::Item() const { return static_cast<TMenuItem*>(FClient); }

bool TMenuActionLink::IsCaptionLinked() const {
  return TActionLink::IsCaptionLinked() && Item()->Caption() == CustomAction()->Caption();
}
bool TMenuActionLink::IsCheckedLinked() const {
  return TActionLink::IsCheckedLinked() && Item()->Checked() == CustomAction()->Checked();
}
bool TMenuActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && Item()->Enabled() == CustomAction()->Enabled();
}
bool TMenuActionLink::IsHelpContextLinked() const {
  return TActionLink::IsHelpContextLinked() &&
         Item()->HelpContext() == CustomAction()->HelpContext();
}
bool TMenuActionLink::IsHintLinked() const {
  return TActionLink::IsHintLinked() && Item()->Hint() == CustomAction()->Hint();
}
bool TMenuActionLink::IsImageIndexLinked() const {
  return TActionLink::IsImageIndexLinked() && Item()->ImageIndex() == CustomAction()->ImageIndex();
}
bool TMenuActionLink::IsShortCutLinked() const {
  return TActionLink::IsShortCutLinked() && Item()->ShortCut() == CustomAction()->ShortCut();
}
bool TMenuActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() && Item()->Visible() == CustomAction()->Visible();
}
bool TMenuActionLink::IsOnExecuteLinked() const {
  return TActionLink::IsOnExecuteLinked() && Item()->OnClick == FAction->OnExecute;
}

void TMenuActionLink::SetCaption(const std::string& Value) {
  if (IsCaptionLinked()) Item()->SetCaption(Value);
}
void TMenuActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) Item()->SetChecked(Value);
}
void TMenuActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) Item()->SetEnabled(Value);
}
void TMenuActionLink::SetHelpContext(int Value) {
  if (IsHelpContextLinked()) Item()->SetHelpContext(Value);
}
void TMenuActionLink::SetHint(const std::string& Value) {
  if (IsHintLinked()) Item()->SetHint(Value);
}
void TMenuActionLink::SetImageIndex(int Value) {
  if (IsImageIndexLinked()) Item()->SetImageIndex(Value);
}
void TMenuActionLink::SetShortCut(TShortCut Value) {
  if (IsShortCutLinked()) Item()->SetShortCut(Value);
}
void TMenuActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) Item()->SetVisible(Value);
}

// ---------------------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(gNextCommand++) {
  if (gNextCommand == 0) gNextCommand = 1;
}

TMenuItem::~TMenuItem() {
  Destroying();
  if (FParent) FParent->Remove(this);
  // Sub-items owned elsewhere (by the form) stay; the ones without owner go with their parent.
  for (TMenuItem* item : std::vector<TMenuItem*>(FItems)) {
    item->FParent = nullptr;
    if (!item->Owner()) delete item;
  }
  FItems.clear();
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  // Checking a radio item unchecks the others of its group among its siblings.
  if (Value && FRadioItem && FParent)
    for (TMenuItem* other : FParent->FItems)
      if (other != this && other->FRadioItem && other->FGroupIndex == FGroupIndex)
        other->FChecked = false;
}

void TMenuItem::SetDefault(bool Value) {
  if (Value && FParent)
    for (TMenuItem* other : FParent->FItems) other->FDefault = false;
  FDefault = Value;
}

TBasicAction* TMenuItem::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TMenuItem::SetAction(TBasicAction* Value) {
  if (!Value) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) FActionLink = std::make_unique<TMenuActionLink>(this);
  FActionLink->SetAction(Value);
  ActionChange(Value, Value->ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (!a) return;
  if (!CheckDefaults || FCaption.empty()) SetCaption(a->Caption());
  if (!CheckDefaults || !FChecked) SetChecked(a->Checked());
  if (!CheckDefaults || FEnabled) SetEnabled(a->Enabled());
  if (!CheckDefaults || FHelpContext == 0) SetHelpContext(a->HelpContext());
  if (!CheckDefaults || FHint.empty()) SetHint(a->Hint());
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(a->ImageIndex());
  if (!CheckDefaults || FShortCut == 0) SetShortCut(a->ShortCut());
  if (!CheckDefaults || FVisible) SetVisible(a->Visible());
}

void TMenuItem::Loaded() {
  TComponent::Loaded();
  if (TBasicAction* a = Action()) ActionChange(a, true);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item || Item == this) return;
  if (Item->FParent) Item->FParent->Remove(Item);
  Index = std::clamp(Index, 0, Count());
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  Item->FParent = nullptr;
}

void TMenuItem::Clear() {
  for (TMenuItem* item : std::vector<TMenuItem*>(FItems)) delete item;
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

TMenuItem* TMenuItem::FindByCommand(UINT Command) {
  if (FCommand == Command) return this;
  for (TMenuItem* item : FItems)
    if (TMenuItem* found = item->FindByCommand(Command)) return found;
  return nullptr;
}

TMenuItem* TMenuItem::FindByShortCut(TShortCut ShortCut) {
  for (TMenuItem* item : FItems) {
    if (!item->FVisible) continue;
    if (item->FShortCut == ShortCut && item->Count() == 0) return item;
    if (!item->FEnabled) continue;
    if (TMenuItem* found = item->FindByShortCut(ShortCut)) return found;
  }
  return nullptr;
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  // AutoCheck toggles unless the action does it (it toggles an AutoCheck action itself).
  auto* action = dynamic_cast<TCustomAction*>(Action());
  if (FAutoCheck && !(action && action->AutoCheck())) SetChecked(!FChecked);
  if (OnClick && !(FActionLink && FActionLink->IsOnExecuteLinked())) {
    OnClick(this);
  } else if (FActionLink) {
    FActionLink->Execute(this);
  }
}

void TMenuItem::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (auto* menu = dynamic_cast<TMenu*>(Value)) menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(Value)) item->Add(this);
}

void TMenuItem::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TMenuItem* item : FItems)
    if (item->Owner() == Root) Proc(item);
}

void TMenuItem::SetChildOrder(TComponent* Child, int Order) {
  auto* item = dynamic_cast<TMenuItem*>(Child);
  if (IndexOf(item) < 0) return;
  Remove(item);
  Insert(Order, item);
}

// ---------------------------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  Destroying();
  delete FItems;
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TMenu::GetChildren(TGetChildProc Proc, TComponent* Root) { FItems->GetChildren(Proc, Root); }
void TMenu::SetChildOrder(TComponent* Child, int Order) { FItems->SetChildOrder(Child, Order); }

bool TMenu::IsShortCut(TMessage& Message) {
  TShortCut key = ::ShortCut(WORD(Message.WParam), KeyDataToShiftState(Message.LParam));
  if (!(key & 0xFF)) return false;
  TMenuItem* item = FItems->FindByShortCut(key);
  if (!item) return false;
  TWeakLink<TMenuItem> alive(item);
  item->InitiateAction();
  if (!alive || !item->Enabled()) return false;
  item->Click();
  return true;
}

// ---------------------------------------------------------------------------------------------

namespace {

QIcon ItemIcon(TCustomImageList* images, int index, bool enabled) {
  if (!images || index < 0 || index >= images->Count()) return {};
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(images->Width(), images->Height());
  constexpr TColor kKey = TColor(0xFF00FF);
  bitmap.Canvas()->Brush()->SetColor(kKey);
  bitmap.Canvas()->FillRect(Rect(0, 0, images->Width(), images->Height()));
  images->Draw(bitmap.Canvas(), 0, 0, index, enabled);
  QPixmap pixmap = QPixmap::fromImage(bitmap.ToImage());
  pixmap.setMask(pixmap.createMaskFromColor(QColor(0xFF, 0x00, 0xFF)));
  return QIcon(pixmap);
}

// Fills a Qt menu with the visible items below Parent; each action keeps its item's command.
void BuildQtMenu(QMenu* menu, TMenuItem* parent, TCustomImageList* images) {
  std::map<int, QActionGroup*> groups;
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* item = parent->Items(i);
    if (!item->Visible()) continue;
    if (item->IsLine()) {
      menu->addSeparator();
      continue;
    }
    QString text = QString::fromStdString(item->Caption());
    if (std::string key = ShortCutToText(item->ShortCut()); !key.empty() && item->Count() == 0)
      text += '\t' + QString::fromStdString(key);  // shown as text: Qt never sees the shortcut
    QAction* action;
    if (item->Count() > 0) {
      QMenu* sub = menu->addMenu(text);
      BuildQtMenu(sub, item, images);
      action = sub->menuAction();
    } else {
      action = menu->addAction(text);
    }
    action->setEnabled(item->Enabled());
    action->setData(uint(item->Command()));
    action->setIcon(ItemIcon(images, item->ImageIndex(), item->Enabled()));
    if (item->Checked() || item->RadioItem()) {
      action->setCheckable(item->Checked() || item->RadioItem());
      action->setChecked(item->Checked());
      if (item->RadioItem()) {
        QActionGroup*& g = groups[item->GroupIndex()];
        if (!g) g = new QActionGroup(menu);
        g->addAction(action);
      }
    }
    if (item->Default()) {
      QFont f = action->font();
      f.setBold(true);
      action->setFont(f);
    }
    TWeakLink<TMenuItem> link(item);
    QObject::connect(action, &QAction::hovered, menu, [link] {
      if (TMenuItem* it = link.get()) Application->SetHint(GetLongHint(it->Hint()));
    });
  }
}

void UpdateItems(TMenuItem* parent) {
  for (int i = 0; i < parent->Count(); ++i) {
    parent->Items(i)->InitiateAction();
    UpdateItems(parent->Items(i));
  }
}

}  // namespace

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::Popup(int X, int Y) {
  TWeakLink<TPopupMenu> self(this);
  FPopupPoint = TPoint{X, Y};
  DoPopup(this);
  if (!self) return;
  UpdateItems(Items());
  TModalRequest request;
  request.Kind = TModalRequest::mrPopupMenu;
  request.Dialog = this;
  request.DialogClass = ClassName();
  int answer = AskModalHook(request);
  UINT chosen = 0;
  if (answer > 0) {
    chosen = UINT(answer);
  } else if (answer == 0) {
    QMenu menu;
    BuildQtMenu(&menu, Items(), Images());
    if (QAction* a = menu.exec(QPoint(X, Y))) chosen = a->data().toUInt();
  }
  if (!self || !chosen) return;
  // The item runs after the menu has closed, as a click of its own.
  if (TMenuItem* item = FindItem(chosen); item && item->Enabled()) item->Click();
}

// ---------------------------------------------------------------------------------------------

void RegisterMenuClasses() {
  static bool done = [] {
    RegisterClass<TMenuItem, TComponent>();
    RegisterClass<TMenu, TComponent>();
    RegisterClass<TPopupMenu, TMenu>();
    Published<TMenuItem>()
        .Property("Action", &TMenuItem::Action, &TMenuItem::SetAction)
        .Property("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false)
        .Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
            .Stored([](TMenuItem* i) { return !i->ActionLink() || !i->ActionLink()->IsCaptionLinked(); })
        .Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false)
        .Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false)
        .Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true)
        .Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0)
        .Property("HelpContext", &TMenuItem::HelpContext, &TMenuItem::SetHelpContext).Default(0)
        .Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
        .Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1)
        .Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false)
        .Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut).Default(0)
        .Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true)
        .Property("OnClick", &TMenuItem::OnClick);
    Published<TMenu>().Property("Images", &TMenu::Images, &TMenu::SetImages);
    Published<TPopupMenu>()
        .Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true)
        .Property("OnPopup", &TPopupMenu::OnPopup);
    return true;
  }();
  (void)done;
}
