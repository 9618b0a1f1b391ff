// The item controls of sub items and containers: they open a menu window of their links.

#include "suite/bars/dxBarSubMenu.h"

namespace {

bool InMenu(const TdxBarItemControl* Control) {
  return Control->BarControl() && Control->BarControl()->BarControlKind() == 2;
}

}  // namespace

TCustomdxBarControl* TCustomdxBarSubItem::CreateLinksBarControl() {
  return new TdxBarSubMenuControl(BarManager());
}

// ---- TdxBarSubItemControl

TdxBarSubItemControl::~TdxBarSubItemControl() {
  if (TdxBarSubMenuControl* menu = SubMenu(); menu && menu->OpeningSubItemControl == this) {
    menu->OpeningSubItemControl = nullptr;
    if (!menu->IsDestroying()) menu->CloseAndFree();
  }
}

TCustomdxBarSubItem* TdxBarSubItemControl::SubItem() const { return dynamic_cast<TCustomdxBarSubItem*>(LinkItem()); }

TdxBarSubMenuControl* TdxBarSubItemControl::SubMenu() const {
  TCustomdxBarSubItem* item = SubItem();
  return item && item->ItemLinks() ? dynamic_cast<TdxBarSubMenuControl*>(item->ItemLinks()->BarControl()) : nullptr;
}

bool TdxBarSubItemControl::IsDroppedDown() const {
  TdxBarSubMenuControl* menu = SubMenu();
  return menu && Active() && menu->OwnerItemControl() == this;
}

bool TdxBarSubItemControl::IsInMainMenu() const { return BarControl() && BarControl()->IsMainMenu(); }

bool TdxBarSubItemControl::WantsKey(WORD Key) const {
  return TdxBarButtonLikeControl::WantsKey(Key) || Key == VK_RETURN;
}

bool TdxBarSubItemControl::WantsDoubleClick() const {
  TdxBarManager* m = LinkBarManager();
  return TdxBarButtonLikeControl::WantsDoubleClick() && !(m && m->IsDesigning());
}

TdxBarItemViewLevels TdxBarSubItemControl::GetPossibleViewLevels() const {
  TdxBarItemViewLevels levels = TdxBarButtonLikeControl::GetPossibleViewLevels();
  levels.Include(ivlLargeIconWithText);
  return levels;
}

int TdxBarSubItemControl::DefaultShownParts() const {
  TCustomdxBarSubItem* item = SubItem();
  int parts = 0;
  if ((item && item->ShowCaption()) || InMenu(this)) parts |= dxBarCaptionPart;
  if (HasGlyphFor(0) || !(parts & dxBarCaptionPart)) parts |= dxBarGlyphPart;
  return parts;
}

void TdxBarSubItemControl::CalcDrawParams(bool WithTexts) {
  TdxBarButtonLikeControl::CalcDrawParams(WithTexts);
  TdxBarButtonLikeControlDrawParams* dp = ButtonLikeDrawParams();
  if (!dp) return;
  const bool open = IsDroppedDown();
  if (WithTexts) dp->PressedLook = open && HotPart() != -1 && IsPressedByMouse();
  dp->PressedState = open;
  dp->PopupOpen = open;
  dp->InMainMenu = IsInMainMenu();
  // A menu bar's titles open their menus without a drop-down arrow; they keep the arrow part for
  // the keys and the hover opening, but neither draw the arrow nor reserve room for it.
  dp->HasDropDownPart = HasArrowPart() && !dp->InMainMenu;
}

int TdxBarSubItemControl::TextPartWidth() {
  int w = TdxBarButtonLikeControl::TextPartWidth();
  if (TdxBarPainter* p = Painter()) p->AddButtonExtraWidth(ButtonLikeDrawParams(), w);
  return w;
}

int TdxBarSubItemControl::TextIndent() {
  TdxBarPainter* p = Painter();
  return p ? p->HalfFontHeight(this) : TdxBarButtonLikeControl::TextIndent();
}

bool TdxBarSubItemControl::AllowsActivation() const { return TdxBarButtonLikeControl::AllowsActivation(); }

void TdxBarSubItemControl::MarkBarPressed(bool Flag) {
  if (BarControl()) BarControl()->SetDowned(true);
  ClickAt(Flag, false);
}

bool TdxBarSubItemControl::QueryPlainTextLook() const {
  TdxBarPainter* p = Painter();
  return p && p->IsFlat() && !(ColorToRGB(clBtnFace) == 0xFFFFFF && !TdxBarButtonLikeControl::QueryPlainTextLook());
}

bool TdxBarSubItemControl::QueryHotLook() const {
  if (!IsDrawnSelected()) return false;
  return TdxBarButtonLikeControl::QueryHotLook();
}

void TdxBarSubItemControl::DoClick(bool ByMouse, bool Flag) {
  TdxBarManager* m = LinkBarManager();
  if (IsDroppedDown()) {
    if ((BarControl() && BarControl()->IsCustomizing()) || (m && m->ResolvedStyle() == bmsStandard))
      LeaveActiveState(true);
    return;
  }
  TWeakLink<TdxBarItemControl> self(this);
  EnterActiveState(true, ByMouse);
  if (!self || ByMouse) return;
  TdxBarSubMenuControl* menu = SubMenu();
  if (!menu || !menu->ItemLinks()) return;
  if (TdxBarItemLink* first = menu->ItemLinks()->FirstSelectableLink(); first && first->Control())
    menu->KeySelectItemControl(first->Control());
}

void TdxBarSubItemControl::PrepareSubItems() {
  if (TCustomdxBarSubItem* item = SubItem()) item->ItemLinks()->CreateBarControl();
}

void TdxBarSubItemControl::OpenDropDown(bool ByMouse) {
  TCustomdxBarSubItem* item = SubItem();
  if (!item || IsDroppedDown()) return;
  TWeakLink<TdxBarItemControl> self(this);
  InvokeNotifyEvent(item, item->OnPopup);
  if (!self) return;
  item->Click();
  if (!self) return;
  OpenSubMenu(ByMouse);
}

void TdxBarSubItemControl::OpenSubMenu(bool ByMouse) {
  if (!AllowsSubMenu()) return;
  PrepareSubItems();
  TdxBarSubMenuControl* menu = SubMenu();
  if (!menu) return;
  menu->OpeningSubItemControl = this;
  if (JoinsSubMenuToOwner() && BarControl()) menu->SetOwnerBounds(BarControl()->ItemControlScreenRect(this));
  ShowSubMenu(ByMouse);
}

void TdxBarSubItemControl::SubMenuPosition(TPoint& P, int& OwnerWidth, int& OwnerHeight) {
  TCustomdxBarControl* bar = BarControl();
  const TRect r = ItemBoundsOf();
  OwnerWidth = OwnerHeight = 0;
  if (InMenu(this)) {
    P = TPoint(r.Right, r.Top - (bar ? bar->DropDownShift() : 0));
    OwnerWidth = r.Width();
  } else if (bar && bar->IsDockedVertically()) {
    P = TPoint(r.Right, r.Top);
    OwnerWidth = r.Width();
  } else {
    P = TPoint(r.Left, r.Bottom);
    OwnerHeight = r.Height();
  }
  if (bar && bar->HandleAllocated()) P = bar->ClientToScreen(P);
}

void TdxBarSubItemControl::ShowSubMenu(bool ByMouse) {
  TdxBarSubMenuControl* menu = SubMenu();
  TCustomdxBarControl* bar = BarControl();
  if (!menu || !bar) return;
  TPoint p;
  int w = 0, h = 0;
  SubMenuPosition(p, w, h);
  menu->HorizontalJump = w;
  menu->VerticalJump = h;
  menu->SetBounds(p.X, p.Y, menu->Width(), menu->Height());
  bar->AttachChildBar(menu);
  if (!InMenu(this)) Repaint();
  menu->ThreadAnimation = HoverSelected;
  HoverSelected = false;
  TWeakLink<TdxBarItemControl> self(this);
  menu->ShowWithAnimation();
  if (!self) return;
  if (TdxBarPainter* painter = Painter(); painter && painter->ArrowPartFlatB()) Repaint();
}

void TdxBarSubItemControl::CloseDropDown(bool Close) {
  TdxBarSubMenuControl* menu = SubMenu();
  if (menu && menu->OpeningSubItemControl == this && !menu->IsDestroying()) menu->CloseAndFree();
  TdxBarButtonLikeControl::CloseDropDown(Close);
  if (Close)
    if (TCustomdxBarSubItem* item = SubItem()) InvokeNotifyEvent(item, item->OnCloseUp);
}

// ---- containers

TCustomdxBarContainerItem* TdxBarContainerItemControl::ContainerItem() const {
  return dynamic_cast<TCustomdxBarContainerItem*>(LinkItem());
}

bool TdxBarContainerItemControl::IsActiveNow() const {
  return IsDrawnSelected() && !(BarControl() && BarControl()->IsCustomizing());
}

bool TdxBarContainerItemControl::ShownAsPlainSubItem() const {
  TCustomdxBarContainerItem* item = ContainerItem();
  return !InMenu(this) || !item || !item->ReplacesOwnLink();
}

void TdxBarContainerItemControl::CaptionText(std::string& Text) const {
  TdxBarSubItemControl::CaptionText(Text);
  if (!ShownAsPlainSubItem()) Text = "(" + Text + ")";
}

void TdxBarContainerItemControl::Draw(const TRect& R, int APaintKind) { TdxBarSubItemControl::Draw(R, APaintKind); }

bool TdxBarContainerItemControl::HasDropDown() const {
  TdxBarManager* m = LinkBarManager();
  return !(m && m->IsCustomizingOrDesigning());
}

void TdxBarContainerItemControl::PrepareSubItems() {
  TdxBarManager* m = LinkBarManager();
  TCustomdxBarContainerItem* item = ContainerItem();
  if (!item || (m && m->IsCustomizingOrDesigning())) return;
  if (item->ItemLinks()->BarControl()) return;
  auto* menu = new TContainerItemSubMenuControl(m);
  menu->ContainerItem = item;
  menu->LinkData->Item = item;
  menu->LinkData->ContainerLink = Link();
  item->ItemLinks()->SetBarControl(menu);
  menu->SetItemLinks(item->ItemLinks());
  item->FillLinks(item->ItemLinks(), menu->LinkData.get(), 0);
}

TContainerItemSubMenuControl::TContainerItemSubMenuControl(TComponent* AOwner)
    : TdxBarSubMenuControl(AOwner), LinkData(std::make_unique<TdxBarContainerLinkData>()) {}

TContainerItemSubMenuControl::~TContainerItemSubMenuControl() {
  TCustomdxBarContainerItem* item = ContainerItem;
  LinkData.reset();
  if (item) item->RequestItemListClear();
}

void TContainerItemSubMenuControl::DoCloseUp(int Reason) {
  if (ContainerItem && LinkData) ContainerItem->EndItemsPopulation(LinkData.get());
  TdxBarSubMenuControl::DoCloseUp(Reason);
}
