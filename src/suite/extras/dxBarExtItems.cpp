// The extra bar items: static text, recent-files list, the host form of bar window controls and
// the module's start and end.
#include "suite/extras/dxBarExtItems.h"

#include <algorithm>
#include <memory>

#include "platform/gui/Graphics.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Gdi.h"
#include "platform/win/Windows.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxGraphics.h"

static void InitExtItemsBitmaps() { Q_INIT_RESOURCE(sonalix_extras_images); }

// ---- static text item

TdxBarStatic::TdxBarStatic(TComponent* AOwner) : TdxBarItem(AOwner) { FShowCaption = true; }

void TdxBarStatic::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  if (!IsLoading()) RepaintControls();
}

void TdxBarStatic::SetBorderStyle(TdxBarStaticBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (IsLoading()) return;
  // With both extents fixed the frame cannot change the item's size.
  if (FWidth != 0 && FHeight != 0)
    RepaintControls();
  else
    RebuildBars(7);
}

int& TdxBarStatic::SizeField(int Index) {
  switch (Index) {
    case 1: return FLeftIndent;
    case 2: return FRightIndent;
    case 3: return FWidth;
    default: return FHeight;
  }
}

void TdxBarStatic::SetSize(int Index, int Value) {
  Value = std::max(Value, 0);
  int& field = SizeField(Index);
  if (field == Value) return;
  field = Value;
  if (!IsLoading()) RebuildBars(7);
}

// ---- static text control

bool TdxBarStaticControl::IsSelectable() const {
  TdxBarStatic* item = StaticItem();
  return item && item->AllowClick();
}

TAlignment TdxBarStaticControl::ContentAlignment() const {
  TdxBarStatic* item = StaticItem();
  return item ? item->Alignment() : taCenter;
}

bool TdxBarStaticControl::IsKeyNavigable() const {
  return IsSelectable() ? TdxBarItemControl::IsKeyNavigable() : TdxBarCustomStaticControl::IsKeyNavigable();
}

void TdxBarStaticControl::HitTest(const TPoint& P) {
  if (CanHotTrack())
    TdxBarCustomStaticControl::HitTest(P);
  else
    SetHotPart(-1);
}

void TdxBarStaticControl::CaptionChanged() {
  // A fixed width keeps the layout: only the text inside changes.
  if (StaticItem() && StaticItem()->Width() != 0)
    Repaint();
  else
    TdxBarCustomStaticControl::CaptionChanged();
}

void TdxBarStaticControl::CalcDrawParams(bool WithTexts) {
  TdxBarCustomStaticControl::CalcDrawParams(WithTexts);
  TdxBarStaticLikeControlDrawParams* dp = StaticDrawParams();
  if (!WithTexts || !dp) return;
  TdxBarStatic* item = StaticItem();
  TdxBarStaticBorderStyle style = item ? item->BorderStyle() : sbsNone;
  dp->Alignment = ContentAlignment();
  dp->AlignmentSet = true;
  TdxBarPainter* p = Painter();
  dp->BorderOffsets = p ? p->StaticBorderOffsets(style) : TRect();
  dp->BorderStyle = style;
}

void TdxBarStaticControl::Draw(const TRect& R, int APaintKind) {
  TdxBarPainter* p = Painter();
  TdxBarStatic* item = StaticItem();
  if (!p || !item) return;
  TdxBarStaticLikeControlDrawParams* dp = StaticDrawParams();
  TRect r = R;
  p->DrawStaticBorder(dp, r);
  // The indents keep the item's background; the content goes between them.
  p->DrawStaticBackground(dp, r);
  if (dp->PaintKind == 2) {
    r.Top += item->LeftIndent();
    r.Bottom -= item->RightIndent();
  } else {
    r.Left += item->LeftIndent();
    r.Right -= item->RightIndent();
  }
  if (r.Right > r.Left && r.Bottom > r.Top) DrawContent(r);
}

void TdxBarStaticControl::DrawContent(const TRect& R) {
  if (TdxBarPainter* p = Painter()) p->DrawStaticContent(StaticDrawParams(), R);
}

int TdxBarStaticControl::NaturalHeight() {
  TdxBarStatic* item = StaticItem();
  if (item && item->Height() != 0) return item->Height();
  TdxBarItemControlDrawParams* dp = DrawParams();
  int result = SelectAcrossRotation(dp->GlyphExtent.cx, dp->GlyphExtent.cy);
  int parts = ShownParts();
  int text = OwnTextSize();
  if (BarControl() && BarControl()->BarControlKind() == 2)
    result = text;
  else if (parts & dxBarCaptionPart)
    result = parts & dxBarGlyphPart ? std::max(result, text - 3) : text - 3;
  else if (!(parts & dxBarGlyphPart) && DrawsWithoutContent())
    result = text - 3;
  TRect o = StaticDrawParams()->BorderOffsets;
  return result + o.Top + o.Bottom;
}

int TdxBarStaticControl::NaturalWidth() {
  TdxBarStatic* item = StaticItem();
  if (item && item->Width() != 0) return item->Width();
  TdxBarItemControlDrawParams* dp = DrawParams();
  int result = SelectByRotation(dp->GlyphExtent.cx, dp->GlyphExtent.cy);
  int parts = ShownParts();
  bool caption = parts & dxBarCaptionPart, glyph = parts & dxBarGlyphPart;
  if (caption && !glyph) {
    result = CaptionWidth() + (BarControl() ? BarControl()->TextSize() : OwnTextSize()) / 2;
  } else if (caption && glyph) {
    TdxBarPainter* p = Painter();
    if (PaintKind() == 1 && p)
      result = p->MenuCaptionOffset(dp) + CaptionWidth() + 4;
    else
      result += CaptionWidth() + 4;
  } else if (!caption && !glyph && DrawsWithoutContent()) {
    result = 0;
  }
  TRect o = StaticDrawParams()->BorderOffsets;
  if (item) result += item->LeftIndent() + item->RightIndent();
  return result + o.Left + o.Right;
}

// ---- recent-files list

TdxBarMRUListItem::TdxBarMRUListItem(TComponent* AOwner) : TdxBarListItem(AOwner) {}

void TdxBarMRUListItem::SetMaxItemCount(int Value) {
  Value = std::max(Value, 0);
  if (FMaxItemCount == Value) return;
  FMaxItemCount = Value;
  TrimToMaxCount();
}

void TdxBarMRUListItem::InsertAtTop(const std::string& Text, TObject* Obj) {
  TStringList* items = Items();
  int i = items->IndexOf(Text);
  if (i == -1 && Obj) i = items->IndexOfObject(Obj);
  if (i == -1) {
    items->InsertObject(0, Text, Obj);
    TrimToMaxCount();
  } else {
    // A known entry keeps its own text and object; it only comes first.
    items->Move(i, 0);
  }
}

void TdxBarMRUListItem::RemoveEntry(const std::string& Text, TObject* Obj) {
  TStringList* items = Items();
  int i = Text.empty() ? items->IndexOfObject(Obj) : items->IndexOf(Text);
  if (i != -1) items->Delete(i);
}

void TdxBarMRUListItem::TrimToMaxCount() {
  if (FMaxItemCount == 0) return;
  TStringList* items = Items();
  while (items->Count() > FMaxItemCount) items->Delete(items->Count() - 1);
}

std::string TdxBarMRUListItem::ItemDisplayText(const std::string& Text) const {
  std::string shown;
  ShortenTextToWidth(nullptr, nullptr, Text, DisplayWidth, EllipsisPath, shown);
  return shown;
}

void TdxBarMRUListItem::Click() {
  // The clicked entry's text is taken before the handler runs: the handler may change the list,
  // and then ItemIndex can name another entry or none.
  int index = ItemIndex();
  bool known = index >= 0 && index < Items()->Count();
  std::string clicked = known ? Items()->Strings(index) : std::string();
  TWeakLink<TdxBarMRUListItem> self(this);
  TdxBarListItem::Click();
  if (!self || !FRemoveItemOnClick || !known) return;
  if (SelectedLink()) return;
  if (BarManager() && BarManager()->IsCustomizingOrDesigning()) return;
  int i = Items()->IndexOf(clicked);
  if (i != -1) Items()->Delete(i);
  SetItemIndex(-1);
}

// ---- host form

TPlaceForm::TPlaceForm(TComponent* AOwner) : TCustomForm(AOwner) { SetBorderStyle(bsNone); }

void TPlaceForm::WndProc(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    EraseBackground(Message);
    return;
  }
  TCustomForm::WndProc(Message);
  if (Message.Msg != 0 && Message.Msg == cxPlaceHolderFormMessage()) Message.Result = 1;
}

void TPlaceForm::EraseBackground(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  Message.Result = 1;
  if (!dc) return;
  TRect client = ClientRect();
  TCustomdxBarControl* bar = FBarItemControl ? FBarItemControl->BarControl() : nullptr;
  TdxBarPainter* painter = FBarItemControl ? FBarItemControl->Painter() : nullptr;
  if (!bar || !painter) {
    RECT r = client;
    ::FillRect(dc, &r, FBrush->Handle());
    return;
  }
  // The form's place inside the bar window, so the bar's background lines up behind it.
  POINT at = {Left(), Top()};
  if (HandleAllocated() && bar->HandleAllocated()) {
    at = {0, 0};
    MapWindowPoints(Handle(), bar->Handle(), &at, 1);
  }
  POINT origin;
  OffsetWindowOrgEx(dc, at.x, at.y, &origin);
  TcxPaintCanvas* canvas = SharedPaintCanvas();
  canvas->PushTargetDC(dc);
  try {
    painter->FillBarBackgroundRect(FBarItemControl, canvas, FBrush->Handle(), client.Offset(at.x, at.y));
  } catch (...) {
    canvas->PopTarget();
    SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
    throw;
  }
  canvas->PopTarget();
  SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
}

// ---- module start and end

namespace {

int gStartCount = 0;
TBitmap* gTrueTypeBitmap = nullptr;
TBitmap* gNonTrueTypeBitmap = nullptr;

// The list item's own control, whichever the bar library registered for it when the control
// is made.
TdxBarItemControl* MakeListItemControl(TdxBarItemLink* Link) {
  TdxBarItemList* list = GetBarItemList();
  const TClassInfo* listClass = FindClassInfo(typeid(TdxBarListItem));
  if (!list || !listClass) return nullptr;
  for (int i = 0; i < list->Count(); ++i)
    if (list->EntryItemClass(i) == listClass)
      return list->EntryAt(i).ItemControlClass ? list->EntryAt(i).ItemControlClass(Link) : nullptr;
  return nullptr;
}

// The item kinds of this module, in registration order.
const TClassInfo* const* ItemClasses(int& Count) {
  static const TClassInfo* classes[2];
  classes[0] = FindClassInfo(typeid(TdxBarStatic));
  classes[1] = FindClassInfo(typeid(TdxBarMRUListItem));
  Count = 2;
  return classes;
}

void RegisterItemClasses() {
  if (!FindEnumInfo(typeid(TAlignment)))
    RegisterEnumNames<TAlignment>({"taLeftJustify", "taRightJustify", "taCenter"});
  if (!FindEnumInfo(typeid(TdxBarStaticBorderStyle)))
    RegisterEnumNames<TdxBarStaticBorderStyle>({"sbsNone", "sbsLowered", "sbsRaised", "sbsEtched", "sbsBump"});
  if (!FindClassInfo(typeid(TdxBarStatic))) {
    RegisterClass<TdxBarStatic, TdxBarItem>();
    using S = TdxBarStatic;
    Published<S>()
        .Property("Alignment", &S::Alignment, &S::SetAlignment).Default(taCenter)
        .Property("AllowClick", &S::AllowClick, &S::SetAllowClick).Default(0)
        .Property("BorderStyle", &S::BorderStyle, &S::SetBorderStyle).Default(sbsNone)
        .Property("Height", &S::Height, &S::SetHeight).Default(0)
        .Property("LeftIndent", &S::LeftIndent, &S::SetLeftIndent).Default(0)
        .Property("RightIndent", &S::RightIndent, &S::SetRightIndent).Default(0)
        .Property("Width", [](S* s) { return s->Width(); }, [](S* s, int v) { s->SetWidth(v); }).Default(0)
        .Property("Glyph", [](S* s) { return s->Glyph(); })
        .Property("ImageIndex", [](S* s) { return s->ImageIndex(); }, [](S* s, int v) { s->SetImageIndex(v); })
        .Default(-1)
        .Property("ShowCaption", &S::ShowCaption, &S::SetShowCaption).Default(1)
        .Property("OnClick", &S::OnClick);
  }
  if (!FindClassInfo(typeid(TdxBarMRUListItem))) {
    RegisterClass<TdxBarMRUListItem, TdxBarListItem>();
    using M = TdxBarMRUListItem;
    Published<M>()
        .Property("MaxItemCount", &M::MaxItemCount, &M::SetMaxItemCount).Default(5)
        .Property("RemoveItemOnClick", &M::RemoveItemOnClick, &M::SetRemoveItemOnClick).Default(0);
  }
}

}  // namespace

void dxBarExtItemsInitialize() {
  if (gStartCount++ > 0) return;
  InitExtItemsBitmaps();
  gTrueTypeBitmap = new TBitmap();
  gTrueTypeBitmap->LoadFromResourceName("DXBARTRUETYPEFONT");
  gNonTrueTypeBitmap = new TBitmap();
  gNonTrueTypeBitmap->LoadFromResourceName("DXBARNONTRUETYPEFONT");
  RegisterItemClasses();
  RegisterBarItemClass(FindClassInfo(typeid(TdxBarStatic)), ItemControlClassOf<TdxBarStaticControl>(), true);
  RegisterBarItemClass(FindClassInfo(typeid(TdxBarMRUListItem)), &MakeListItemControl, true);
}

void dxBarExtItemsFinalize() {
  if (gStartCount == 0 || --gStartCount > 0) return;
  int count = 0;
  const TClassInfo* const* classes = ItemClasses(count);
  for (int i = 0; i < count; ++i) UnregisterBarItemClass(classes[i]);
  delete gNonTrueTypeBitmap;
  gNonTrueTypeBitmap = nullptr;
  delete gTrueTypeBitmap;
  gTrueTypeBitmap = nullptr;
}

TBitmap* dxBarTrueTypeFontBitmap() { return gTrueTypeBitmap; }
TBitmap* dxBarNonTrueTypeFontBitmap() { return gNonTrueTypeBitmap; }
