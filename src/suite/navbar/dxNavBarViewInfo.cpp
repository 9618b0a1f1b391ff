#include "suite/navbar/dxNavBarViewInfo.h"

#include <algorithm>

#include "platform/gui/StdCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/GdiExtras.h"
#include "suite/core/cxGraphics.h"
#include "suite/navbar/dxNavBarPainters.h"

int dxNavBarTextHeight(TFont* AFont) {
  TcxScreenCanvas* canvas = SharedScreenCanvas();
  canvas->Canvas()->Font()->Assign(AFont);
  return canvas->Canvas()->TextHeight("Wg");
}

UINT dxNavBarAlignmentFlags(TdxBarStyleHAlignment H, TdxBarStyleVAlignment V) {
  UINT flags = 0;
  if (H == TdxBarStyleHAlignment::haCenter) flags |= DT_CENTER;
  if (H == TdxBarStyleHAlignment::haRight) flags |= DT_RIGHT;
  if (V == TdxBarStyleVAlignment::vaCenter) flags |= DT_VCENTER;
  if (V == TdxBarStyleVAlignment::vaBottom) flags |= DT_BOTTOM;
  return flags;
}

namespace {

// The rectangle DrawText measures for Text from R's top-left.
TRect MeasureText(TFont* Font, const std::string& Text, const TRect& R, UINT Flags) {
  TcxScreenCanvas* canvas = SharedScreenCanvas();
  canvas->Canvas()->Font()->Assign(Font);
  RECT rc = R;
  DrawText(canvas->Canvas()->Handle(), Text, -1, &rc, Flags | DT_CALCRECT);
  return TRect(rc.left, rc.top, rc.right, rc.bottom);
}

TRect CenterInRect(const TRect& Bounds, TSize Size) {
  int l = Bounds.Left + (Bounds.Width() - Size.cx) / 2;
  int t = Bounds.Top + (Bounds.Height() - Size.cy) / 2;
  return TRect(l, t, l + Size.cx, t + Size.cy);
}

}  // namespace

// ---- base entries

TdxNavBarCustomViewInfo::TdxNavBarCustomViewInfo(TdxCustomNavBar* ANavBar, TdxNavBarPainter* APainter)
    : FNavBar(ANavBar), FPainter(APainter) {
  HDC dc = GetDC(nullptr);
  int ppi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  FScaleFactor = std::max(1.0, ppi / 96.0);
}

int TdxNavBarCustomViewInfo::ScaleValue(int Value) const { return int(Round(Value * FScaleFactor)); }

TdxNavBarCustomItemViewInfo::TdxNavBarCustomItemViewInfo(TdxNavBarViewInfo* AViewInfo, bool ACaptionVisible,
                                                         bool AImageVisible)
    : TdxNavBarCustomViewInfo(AViewInfo->NavBar(), AViewInfo->Painter()),
      CaptionVisible(ACaptionVisible),
      ImageVisible(AImageVisible),
      FCaptionFont(std::make_unique<TFont>()),
      FViewInfo(AViewInfo) {}

TdxNavBarCustomItemViewInfo::~TdxNavBarCustomItemViewInfo() = default;

TCustomImageList* TdxNavBarCustomItemViewInfo::GetImageList() {
  TdxNavBarImageOptions* o = NavBar()->OptionsImage();
  if (UseLargeImages()) {
    if (UseDisabledImages()) return o->DisabledLargeImages();
    if (UseHotImages()) return o->HotLargeImages();
    return o->LargeImages();
  }
  if (UseDisabledImages()) return o->DisabledSmallImages();
  if (UseHotImages()) return o->HotSmallImages();
  return o->SmallImages();
}

bool TdxNavBarCustomItemViewInfo::UseDisabledImages() {
  TdxNavBarImageOptions* o = NavBar()->OptionsImage();
  return !IsEnabled() && (UseLargeImages() ? o->DisabledLargeImages() : o->DisabledSmallImages()) != nullptr;
}

bool TdxNavBarCustomItemViewInfo::UseHotImages() {
  TdxNavBarImageOptions* o = NavBar()->OptionsImage();
  return IsHotOrSelected() && (UseLargeImages() ? o->HotLargeImages() : o->HotSmallImages()) != nullptr;
}

void TdxNavBarCustomItemViewInfo::Offset(int DX, int DY) {
  CaptionRect = CaptionRect.Offset(DX, DY);
  DesignRect = DesignRect.Offset(DX, DY);
  FocusRect = FocusRect.Offset(DX, DY);
  ImageRect = ImageRect.Offset(DX, DY);
  Rect = Rect.Offset(DX, DY);
}

int TdxNavBarCustomItemViewInfo::GetImageIndex() {
  TdxNavBarCustomItem* item = GetItem();
  if (!item) return -1;
  return UseLargeImages() ? item->LargeImageIndex() : item->SmallImageIndex();
}

// ---- links

TdxNavBarLinkViewInfo::TdxNavBarLinkViewInfo(TdxNavBarGroupViewInfo* AGroupViewInfo, TdxNavBarItemLink* ALink,
                                             bool ACaptionVisible, bool AImageVisible)
    : TdxNavBarCustomItemViewInfo(AGroupViewInfo->ViewInfo(), ACaptionVisible, AImageVisible),
      FGroupViewInfo(AGroupViewInfo),
      FLink(ALink),
      FItem(ALink->Item()) {}

TdxNavBarCustomItem* TdxNavBarLinkViewInfo::GetItem() const { return FItem; }

TdxNavBarObjectStates TdxNavBarLinkViewInfo::GetState() {
  TdxNavBarObjectStates s = 0;
  TdxCustomNavBar* bar = NavBar();
  if (!FItem || !FItem->Enabled()) s |= sDisabled;
  if (bar->HotTrackedLink() == FLink) s |= sHotTracked;
  if (bar->PressedLink() == FLink && bar->HotTrackedLink() == FLink) s |= sPressed;
  if (FLink->IsSelected()) s |= sSelected;
  if (bar->IsFocusedElement(FLink)) s |= sFocused;
  return s;
}

bool TdxNavBarLinkViewInfo::UseLargeImages() {
  return ViewInfo()->CanLinksUseLargeImages() && !FGroupViewInfo->Group()->LinksUseSmallImages();
}

void TdxNavBarLinkViewInfo::CalculateBounds(int X, int Y) { TdxNavBarItemCalculator::CalculateBounds(X, Y, this); }

int TdxNavBarLinkViewInfo::GetCaptionHeight() { return dxNavBarTextHeight(GetFont()) + 4; }

UINT TdxNavBarLinkViewInfo::GetDrawTextFlags() { return UseLargeImages() ? 0x11 : 0x24; }

int TdxNavBarLinkViewInfo::GetImageHeight() {
  return UseLargeImages() ? ViewInfo()->LargeImageHeight() : ViewInfo()->SmallImageHeight();
}

int TdxNavBarLinkViewInfo::GetImageWidth() {
  return UseLargeImages() ? ViewInfo()->LargeImageWidth() : ViewInfo()->SmallImageWidth();
}

TdxNavBarStyleItem* TdxNavBarLinkViewInfo::GetStyleItem() {
  if (!FItem) return nullptr;
  TdxNavBarObjectStates s = GetState();
  TdxNavBarItemCustomStyles* styles = FItem->CustomStyles();
  if (s & sDisabled) return styles->ItemDisabled();
  if (s & sPressed) return styles->ItemPressed();
  if (s & sHotTracked) return styles->ItemHotTracked();
  return styles->Item();
}

TdxNavBarBaseStyle* TdxNavBarLinkViewInfo::GetDefaultStyle() {
  TdxNavBarDefaultStyles* d = NavBar()->DefaultStyles();
  TdxNavBarObjectStates s = GetState();
  if (s & sDisabled) return d->ItemDisabled();
  if (s & sPressed) return d->ItemPressed();
  if (s & sHotTracked) return d->ItemHotTracked();
  if (s & sSelected) return d->ItemPressed();
  return d->Item();
}

TFont* TdxNavBarLinkViewInfo::GetFont() {
  TdxNavBarStyleItem* own = GetStyleItem();
  TdxNavBarBaseStyle* src =
      own && own->Style()->IsValueAssigned(savFont) ? static_cast<TdxNavBarBaseStyle*>(own->Style()) : GetDefaultStyle();
  FCaptionFont->Assign(src->Font());
  return FCaptionFont.get();
}

TColor TdxNavBarLinkViewInfo::GetFontColor() { return GetFont()->Color(); }

TRect TdxNavBarLinkViewInfo::GetSelectionRect() { return ImageRect.Inflate(2, 2); }

TRect TdxNavBarLinkViewInfo::GetCaptionLineRect() {
  int top = (CaptionRect.Top + CaptionRect.Bottom - 1) / 2;
  int left = UseLargeImages() ? CaptionRect.Left + 8 : CaptionRect.Left;
  return TRect(left, top, CaptionRect.Right - 8, top + 1);
}

void TdxNavBarItemCalculator::CalculateBounds(int X, int Y, TdxNavBarLinkViewInfo* L) {
  TdxNavBarViewInfo* vi = L->ViewInfo();
  TdxNavBarGroupViewInfo* g = L->GroupViewInfo();
  TRect e = vi->GetLinkImageEdges();
  int w = vi->ClientWidth() - X;
  int iw = L->GetImageWidth(), ih = L->GetImageHeight();
  std::string caption = L->Item() ? L->Item()->Caption() : std::string();
  if (g->IsIconView()) {
    L->ImageRect = TRect(X + e.Left, Y + e.Top, X + e.Left + iw, Y + e.Top + ih);
    L->CaptionRect = TRect(0, 0, 0, 0);
    L->Rect = TRect(X, Y, L->ImageRect.Right + e.Right, L->ImageRect.Bottom + e.Bottom);
  } else {
    int limit = (w - 1) - (vi->GetGroupEdges().Right + 1);
    int captionHeight = L->GetCaptionHeight();
    if (!L->UseLargeImages()) {
      L->ImageRect = TRect(X + e.Left, Y, X + e.Left + iw, Y + ih);
      int x = L->ImageRect.Right + e.Right;
      TRect m = MeasureText(L->GetFont(), caption, TRect(x, Y, limit, Y + captionHeight), L->GetDrawTextFlags());
      L->CaptionRect = TRect(x, Y, std::min(m.Right, limit), Y + captionHeight);
      int h = std::max(ih, captionHeight);
      L->Rect = TRect(X, Y, w, Y + h + vi->GetSmallLinkPadding());
      L->ImageRect = L->ImageRect.Offset(0, (L->Rect.Height() - ih) / 2);
      L->CaptionRect = L->CaptionRect.Offset(0, L->Rect.Height() / 2 - captionHeight / 2);
    } else {
      int pad = vi->GetLargeLinkPadding();
      L->ImageRect = TRect(X, Y + pad / 2, X + iw, Y + pad / 2 + ih);
      int x = X + 1, y = L->ImageRect.Bottom + e.Bottom;
      TRect m = MeasureText(L->GetFont(), caption, TRect(x, y, limit, y + captionHeight), L->GetDrawTextFlags());
      L->CaptionRect = TRect(x, y, std::min(m.Right, limit), std::max(m.Bottom, y + captionHeight));
      L->Rect = TRect(X, Y, w, L->CaptionRect.Bottom + pad / 2);
      L->ImageRect = L->ImageRect.Offset(L->Rect.Left + (L->Rect.Width() - iw) / 2 - L->ImageRect.Left, 0);
      int cw = L->CaptionRect.Width();
      L->CaptionRect = L->CaptionRect.Offset(L->Rect.Left + (L->Rect.Width() - cw) / 2 - L->CaptionRect.Left, 0);
    }
  }
  if (L->IsFocused()) {
    TRect f = L->CaptionRect.Inflate(2, 0);
    IntersectRect(L->FocusRect, f, L->Rect);
  } else {
    L->FocusRect = TRect(0, 0, 0, 0);
  }
  if (L->NavBar()->IsDesigning()) {
    TRect band(L->Rect.Right - 20, L->Rect.Top, L->Rect.Right, L->Rect.Bottom);
    L->DesignRect = CenterInRect(band, TSize{10, 10});
  } else {
    L->DesignRect = TRect(0, 0, 0, 0);
  }
}

// ---- groups

TdxNavBarGroupViewInfo::TdxNavBarGroupViewInfo(TdxNavBarViewInfo* AViewInfo, TdxNavBarGroup* AGroup,
                                               bool ACaptionVisible, bool ALinksVisible)
    : TdxNavBarCustomItemViewInfo(AViewInfo, ACaptionVisible, true), FGroup(AGroup), FLinksVisible(ALinksVisible) {}

TdxNavBarGroupViewInfo::~TdxNavBarGroupViewInfo() = default;

TdxNavBarLinkViewInfo* TdxNavBarGroupViewInfo::FindLinkViewInfo(TdxNavBarItemLink* ALink) const {
  for (auto& l : FLinks)
    if (l->Link() == ALink) return l.get();
  return nullptr;
}

int TdxNavBarGroupViewInfo::IndexOfLinkViewInfo(TdxNavBarLinkViewInfo* ALinkViewInfo) const {
  for (int i = 0; i < LinkCount(); ++i)
    if (FLinks[size_t(i)].get() == ALinkViewInfo) return i;
  return -1;
}

bool TdxNavBarGroupViewInfo::IsCaptionVisible() const {
  return CaptionVisible && NavBar()->ShowGroupCaptions() &&
         (FGroup->ShowCaption() || !ViewInfo()->CanHideGroupCaptions());
}

bool TdxNavBarGroupViewInfo::IsLinksVisible() const { return FLinksVisible && ViewInfo()->AreLinksVisible(FGroup); }

bool TdxNavBarGroupViewInfo::IsIconView() const { return ViewInfo()->CanShowIconView() && FGroup->ShowAsIconView(); }

TdxNavBarObjectStates TdxNavBarGroupViewInfo::GetState() {
  TdxNavBarObjectStates s = 0;
  TdxCustomNavBar* bar = NavBar();
  bool active = bar->ActiveGroup() == FGroup;
  if (active && ViewInfo()->HasActiveGroup()) s |= sActive;
  if (FGroup->Expanded()) s |= sExpanded;
  if (bar->HotTrackedGroup() == FGroup) s |= sHotTracked;
  if (bar->PressedGroup() == FGroup && bar->HotTrackedGroup() == FGroup) s |= sPressed;
  if (active && ViewInfo()->CanHaveSpecialGroup() && bar->ShowSpecialGroup()) s |= sSpecial;
  if (bar->IsFocusedElement(FGroup)) s |= sFocused;
  return s;
}

bool TdxNavBarGroupViewInfo::UseLargeImages() {
  return ViewInfo()->CanGroupsUseLargeImages() && !FGroup->UseSmallImages();
}

void TdxNavBarGroupViewInfo::Offset(int DX, int DY) {
  TdxNavBarCustomItemViewInfo::Offset(DX, DY);
  ItemsRect = ItemsRect.Offset(DX, DY);
  CaptionTextRect = CaptionTextRect.Offset(DX, DY);
  SignRect = SignRect.Offset(DX, DY);
  for (auto& l : FLinks) l->Offset(DX, DY);
}

void TdxNavBarGroupViewInfo::CreateLinks() {
  if (!IsLinksVisible() || FGroup->ShowControl()) return;
  for (int i = 0; i < FGroup->LinkCount(); ++i) {
    TdxNavBarItemLink* link = FGroup->LinkAt(i);
    if (link->Item() && link->Item()->Visible())
      FLinks.emplace_back(Painter()->CreateLinkViewInfo(this, link, true, true));
  }
}

void TdxNavBarGroupViewInfo::CreateInfo() {
  FLinks.clear();
  if (FGroup) CreateLinks();
}

TRect TdxNavBarGroupViewInfo::GroupEdges(bool ForControl) {
  TRect e = ViewInfo()->GetGroupEdges();
  if (ForControl && IsCaptionVisible()) e.Top = 0;
  return e;
}

TRect TdxNavBarGroupViewInfo::GetControlRect() {
  TRect e = GroupEdges(true);
  return TRect(ItemsRect.Left + e.Left, ItemsRect.Top + e.Top, ItemsRect.Right - e.Right, ItemsRect.Bottom - e.Bottom);
}

void TdxNavBarGroupViewInfo::AdjustControlBounds() {
  TdxNavBarGroupControl* c = FGroup->Control();
  if (!c) return;
  if (IsLinksVisible() && FGroup->ShowControl())
    c->SetBoundsAndVisible(GetControlRect(), true);
  else
    c->SetBoundsAndVisible(c->BoundsRect(), false);
}

int TdxNavBarGroupViewInfo::GetCaptionHeight() {
  return ViewInfo()->GetGroupCaptionHeightAddition() + dxNavBarTextHeight(GetCaptionFont());
}

UINT TdxNavBarGroupViewInfo::GetCaptionDrawTextFlags() {
  return dxNavBarAlignmentFlags(GetCaptionHAlignment(), GetCaptionVAlignment()) | DT_SINGLELINE | DT_END_ELLIPSIS;
}

int TdxNavBarGroupViewInfo::GetImageHeight() {
  return UseLargeImages() ? ViewInfo()->LargeImageHeight() : ViewInfo()->SmallImageHeight();
}

int TdxNavBarGroupViewInfo::GetImageWidth() {
  return UseLargeImages() ? ViewInfo()->LargeImageWidth() : ViewInfo()->SmallImageWidth();
}

void TdxNavBarGroupViewInfo::CalculateBounds(int X, int& Y) {
  TdxNavBarViewInfo* vi = ViewInfo();
  int clientWidth = vi->ClientWidth();
  // 1. Caption
  CaptionRect = TRect(X, Y, clientWidth - X, Y);
  int captionHeight = GetCaptionHeight();
  if (vi->ScrollButtonsInCaptions()) {
    TdxNavBarGroupViewInfo* active = vi->ActiveGroupViewInfo();
    int index = vi->IndexOfGroupViewInfo(this);
    if (active && (active == this || vi->IndexOfGroupViewInfo(active) + 1 == index))
      CaptionRect.Right -= captionHeight + 2;
  }
  ImageRect = TRect(0, 0, 0, 0);
  SignRect = TRect(0, 0, 0, 0);
  if (IsCaptionVisible()) {
    CaptionRect.Bottom = CaptionRect.Top + captionHeight;
    CaptionTextRect = CaptionRect.Inflate(-2, -1);
    // 2. Image
    if (vi->CanShowGroupImages()) {
      TRect offsets = vi->GetGroupCaptionImageOffsets();
      int iw = GetImageWidth(), ih = GetImageHeight();
      ImageRect.Left = CaptionRect.Left + offsets.Left;
      ImageRect.Bottom = CaptionRect.Bottom;
      ImageRect.Right = ImageRect.Left + iw;
      ImageRect.Top = ImageRect.Bottom - ih;
      int p = vi->GroupImageInsideCaption() ? vi->GetGroupCaptionHeightAddition() : 0;
      if (ImageRect.Top - 2 * p < CaptionRect.Top) {
        int d = 2 * p + CaptionRect.Top - ImageRect.Top;
        CaptionRect.Bottom += d;
        CaptionTextRect.Bottom += d;
        if (!vi->GroupImageInsideCaption()) {
          CaptionRect.Top += d;
          CaptionTextRect.Top += d;
        }
        ImageRect = ImageRect.Offset(0, d - p);
      } else {
        // Centred by its height: the image's middle on the caption's middle.
        ImageRect = ImageRect.Offset(0, ih / 2 - captionHeight / 2);
      }
      CaptionTextRect.Left = ImageRect.Right + vi->GetGroupCaptionImageIndent();
    }
    // 3. Sign
    if (vi->CanShowGroupSigns()) {
      int h = CaptionRect.Height();
      TRect square(CaptionRect.Right - h, CaptionRect.Top, CaptionRect.Right, CaptionRect.Bottom);
      SignRect = CenterInRect(square, vi->GetGroupCaptionSignSize());
      CaptionTextRect.Right = square.Left;
    }
  } else {
    CaptionTextRect = CaptionRect;
  }
  // 4. Design mark
  if (NavBar()->IsDesigning()) {
    TRect band(CaptionRect.Right - 20, CaptionRect.Top, CaptionRect.Right, CaptionRect.Bottom);
    DesignRect = CenterInRect(band, TSize{14, 14});
  } else {
    DesignRect = TRect(0, 0, 0, 0);
  }
  // 5. Focus
  FocusRect = IsFocused() ? CaptionRect.Inflate(-2, -2) : TRect(0, 0, 0, 0);
  // 6. Bounds
  Rect = TRect(CaptionRect.Left, CaptionRect.Top, clientWidth - X, CaptionRect.Bottom);
  if (IsLinksVisible()) {
    if (FGroup->ShowControl() && FGroup->Control()) {
      TRect e = GroupEdges(true);
      TdxNavBarGroupControl* c = FGroup->Control();
      int h = std::max(int(c->OriginalHeight()), c->Height());
      Rect.Bottom = CaptionRect.Bottom + h + e.Top + e.Bottom;
    } else {
      int edge = vi->GetLinksEdge();
      int y = CaptionRect.Bottom + edge, x = X;
      int bottom = y;
      bool icon = IsIconView();
      for (int i = 0; i < LinkCount(); ++i) {
        TdxNavBarLinkViewInfo* l = LinkAt(i);
        l->CalculateBounds(x, y);
        if (icon) {
          if (i > 0 && l->Rect.Right > CaptionRect.Right) {
            x = X;
            y = LinkAt(i - 1)->Rect.Bottom;
            l->CalculateBounds(x, y);
          }
          x = l->Rect.Right;
        } else {
          y = l->Rect.Bottom;
        }
        bottom = l->Rect.Bottom;
      }
      Rect.Bottom = bottom + edge;
    }
    if (FGroup->Expanded() && NavBar()->OnCalcGroupClientHeight) {
      int clientHeight = Rect.Height() - CaptionRect.Height();
      NavBar()->OnCalcGroupClientHeight(NavBar(), this, clientHeight);
      Rect.Bottom = Rect.Top + CaptionRect.Height() + clientHeight;
    }
  }
  // 7. Items area
  ItemsRect = TRect(CaptionRect.Left, CaptionRect.Bottom, Rect.Right, Rect.Bottom);
  // 8. Next group
  Y = Rect.Bottom + vi->GetGroupSpacing();
}

void TdxNavBarGroupViewInfo::Grow(int DX, int DY) {
  Rect.Right += DX;
  Rect.Bottom += DY;
  ItemsRect.Right += DX;
  ItemsRect.Bottom += DY;
  int n = LinkCount();
  if (n == 0) return;
  int k = std::max(0, std::min(FGroup->TopVisibleLinkIndex(), n - 1));
  int shift = LinkAt(k)->Rect.Top - LinkAt(0)->Rect.Top;
  for (auto& l : FLinks) l->Offset(0, -shift);
}

TdxNavBarBaseStyle* TdxNavBarGroupViewInfo::Source(TdxNavBarStyleItem* Own, TdxNavBarBaseStyle* Default,
                                                   TdxBarStyleAssignedValue Value) {
  return Own && Own->Style()->IsValueAssigned(Value) ? Own->Style() : Default;
}

TdxNavBarStyleItem* TdxNavBarGroupViewInfo::GetCaptionStyleItem() {
  TdxNavBarObjectStates s = GetState();
  TdxNavBarGroupCustomStyles* c = FGroup->CustomStyles();
  if (s & (sActive | sSpecial)) {
    if (s & sPressed) return c->HeaderActivePressed();
    if (s & sHotTracked) return c->HeaderActiveHotTracked();
    return c->HeaderActive();
  }
  if (s & sPressed) return c->HeaderPressed();
  if (s & sHotTracked) return c->HeaderHotTracked();
  return c->Header();
}

TdxNavBarBaseStyle* TdxNavBarGroupViewInfo::GetCaptionDefaultStyle() {
  TdxNavBarObjectStates s = GetState();
  TdxNavBarDefaultStyles* d = NavBar()->DefaultStyles();
  if (s & (sActive | sSpecial)) {
    if (s & sPressed) return d->GroupHeaderActivePressed();
    if (s & sHotTracked) return d->GroupHeaderActiveHotTracked();
    return d->GroupHeaderActive();
  }
  if (s & sPressed) return d->GroupHeaderPressed();
  if (s & sHotTracked) return d->GroupHeaderHotTracked();
  return d->GroupHeader();
}

#define NAVBAR_GROUP_GETTER(Type, Name, Own, Default, Bit, Field) \
  Type TdxNavBarGroupViewInfo::Name() { return Source(Own, Default, Bit)->Field(); }

NAVBAR_GROUP_GETTER(TPicture*, GetBackgroundImage, FGroup->StyleBackground(), NavBar()->DefaultStyles()->GroupBackground(), savImage, Image)
NAVBAR_GROUP_GETTER(TColor, GetBackgroundBackColor, FGroup->StyleBackground(), NavBar()->DefaultStyles()->GroupBackground(), savBackColor, BackColor)
NAVBAR_GROUP_GETTER(TColor, GetBackgroundBackColor2, FGroup->StyleBackground(), NavBar()->DefaultStyles()->GroupBackground(), savBackColor2, BackColor2)
NAVBAR_GROUP_GETTER(uint8_t, GetBackgroundAlphaBlending, FGroup->StyleBackground(), NavBar()->DefaultStyles()->GroupBackground(), savAlphaBlending, AlphaBlending)
NAVBAR_GROUP_GETTER(uint8_t, GetBackgroundAlphaBlending2, FGroup->StyleBackground(), NavBar()->DefaultStyles()->GroupBackground(), savAlphaBlending2, AlphaBlending2)
NAVBAR_GROUP_GETTER(TdxBarStyleGradientMode, GetBackgroundGradientMode, FGroup->StyleBackground(), NavBar()->DefaultStyles()->GroupBackground(), savGradientMode, GradientMode)
NAVBAR_GROUP_GETTER(TPicture*, GetCaptionImage, GetCaptionStyleItem(), GetCaptionDefaultStyle(), savImage, Image)
NAVBAR_GROUP_GETTER(TColor, GetCaptionBackColor, GetCaptionStyleItem(), GetCaptionDefaultStyle(), savBackColor, BackColor)
NAVBAR_GROUP_GETTER(TColor, GetCaptionBackColor2, GetCaptionStyleItem(), GetCaptionDefaultStyle(), savBackColor2, BackColor2)
NAVBAR_GROUP_GETTER(uint8_t, GetCaptionAlphaBlending, GetCaptionStyleItem(), GetCaptionDefaultStyle(), savAlphaBlending, AlphaBlending)
NAVBAR_GROUP_GETTER(uint8_t, GetCaptionAlphaBlending2, GetCaptionStyleItem(), GetCaptionDefaultStyle(), savAlphaBlending2, AlphaBlending2)
NAVBAR_GROUP_GETTER(TdxBarStyleGradientMode, GetCaptionGradientMode, GetCaptionStyleItem(), GetCaptionDefaultStyle(), savGradientMode, GradientMode)
NAVBAR_GROUP_GETTER(TdxBarStyleHAlignment, GetCaptionHAlignment, GetCaptionStyleItem(), GetCaptionDefaultStyle(), savHAlignment, HAlignment)
NAVBAR_GROUP_GETTER(TdxBarStyleVAlignment, GetCaptionVAlignment, GetCaptionStyleItem(), GetCaptionDefaultStyle(), savVAlignment, VAlignment)
#undef NAVBAR_GROUP_GETTER

TColor TdxNavBarGroupViewInfo::GetBorderColor() { return GetCaptionBackColor2(); }

TFont* TdxNavBarGroupViewInfo::GetCaptionFont() {
  FCaptionFont->Assign(Source(GetCaptionStyleItem(), GetCaptionDefaultStyle(), savFont)->Font());
  return FCaptionFont.get();
}

TColor TdxNavBarGroupViewInfo::GetCaptionFontColor() { return GetCaptionFont()->Color(); }

bool TdxNavBarGroupViewInfo::ControlTakesGroupBackground() {
  TdxNavBarStyleItem* own = FGroup->StyleControl();
  TdxNavBarBaseStyle* d = NavBar()->DefaultStyles()->GroupControl();
  return Source(own, d, savBackColor)->BackColor() == clNone || Source(own, d, savBackColor2)->BackColor2() == clNone;
}

TPicture* TdxNavBarGroupViewInfo::GetControlBackgroundImage() {
  if (ControlTakesGroupBackground()) return GetBackgroundImage();
  return Source(FGroup->StyleControl(), NavBar()->DefaultStyles()->GroupControl(), savImage)->Image();
}

TColor TdxNavBarGroupViewInfo::GetControlBackColor() {
  if (ControlTakesGroupBackground()) return GetBackgroundBackColor();
  return Source(FGroup->StyleControl(), NavBar()->DefaultStyles()->GroupControl(), savBackColor)->BackColor();
}

TColor TdxNavBarGroupViewInfo::GetControlBackColor2() {
  if (ControlTakesGroupBackground()) return GetBackgroundBackColor2();
  return Source(FGroup->StyleControl(), NavBar()->DefaultStyles()->GroupControl(), savBackColor2)->BackColor2();
}

uint8_t TdxNavBarGroupViewInfo::GetControlAlphaBlending() {
  if (ControlTakesGroupBackground()) return GetBackgroundAlphaBlending();
  return Source(FGroup->StyleControl(), NavBar()->DefaultStyles()->GroupControl(), savAlphaBlending)->AlphaBlending();
}

uint8_t TdxNavBarGroupViewInfo::GetControlAlphaBlending2() {
  if (ControlTakesGroupBackground()) return GetBackgroundAlphaBlending2();
  return Source(FGroup->StyleControl(), NavBar()->DefaultStyles()->GroupControl(), savAlphaBlending2)
      ->AlphaBlending2();
}

TdxBarStyleGradientMode TdxNavBarGroupViewInfo::GetControlGradientMode() {
  if (ControlTakesGroupBackground()) return GetBackgroundGradientMode();
  return Source(FGroup->StyleControl(), NavBar()->DefaultStyles()->GroupControl(), savGradientMode)->GradientMode();
}

// ---- the bar's entry

TdxNavBarViewInfo::TdxNavBarViewInfo(TdxNavBarPainter* APainter)
    : TdxNavBarCustomViewInfo(APainter->NavBar(), APainter),
      FHeaderFont(std::make_unique<TFont>()),
      FHintFont(std::make_unique<TFont>()),
      FGroupHeaderFont(std::make_unique<TFont>()) {}

TdxNavBarViewInfo::~TdxNavBarViewInfo() = default;

TdxNavBarGroupViewInfo* TdxNavBarViewInfo::ActiveGroupViewInfo() const {
  return FindGroupViewInfo(NavBar()->ActiveGroup());
}

TdxNavBarGroupViewInfo* TdxNavBarViewInfo::FindGroupViewInfo(TdxNavBarGroup* AGroup) const {
  if (!AGroup) return nullptr;
  for (auto& g : FGroups)
    if (g->Group() == AGroup) return g.get();
  return nullptr;
}

TdxNavBarLinkViewInfo* TdxNavBarViewInfo::FindLinkViewInfo(TdxNavBarItemLink* ALink) const {
  for (auto& g : FGroups)
    if (TdxNavBarLinkViewInfo* l = g->FindLinkViewInfo(ALink)) return l;
  return nullptr;
}

int TdxNavBarViewInfo::IndexOfGroupViewInfo(TdxNavBarGroupViewInfo* AGroupViewInfo) const {
  for (int i = 0; i < GroupCount(); ++i)
    if (FGroups[size_t(i)].get() == AGroupViewInfo) return i;
  return -1;
}

int TdxNavBarViewInfo::ClientWidth() const { return NavBar()->ClientWidth(); }
int TdxNavBarViewInfo::ClientHeight() const { return NavBar()->ClientHeight(); }

int TdxNavBarViewInfo::GetGroupSpacing() {
  int space = NavBar()->SpaceBetweenGroups();
  return space > 0 ? space : GetGroupSpace();
}

int TdxNavBarViewInfo::SmallImageHeight() const {
  TCustomImageList* l = NavBar()->SmallImages();
  return l ? l->Height() : 16;
}

int TdxNavBarViewInfo::SmallImageWidth() const {
  TCustomImageList* l = NavBar()->SmallImages();
  return l ? l->Width() : 16;
}

int TdxNavBarViewInfo::LargeImageHeight() const {
  TCustomImageList* l = NavBar()->LargeImages();
  return l ? l->Height() : 32;
}

int TdxNavBarViewInfo::LargeImageWidth() const {
  TCustomImageList* l = NavBar()->LargeImages();
  return l ? l->Width() : 32;
}

TRect TdxNavBarViewInfo::GetGroupCaptionImageOffsets() {
  int o = GetGroupCaptionImageOffset();
  return TRect(o, 0, o, 0);
}

bool TdxNavBarViewInfo::AreLinksVisible(TdxNavBarGroup* AGroup) { return AGroup == NavBar()->ActiveGroup(); }

void TdxNavBarViewInfo::AdjustControls() {
  TdxNavBarGroups* groups = NavBar()->Groups();
  for (int i = 0; i < groups->Count(); ++i) {
    TdxNavBarGroup* g = groups->Items(i);
    TdxNavBarGroupControl* c = g->Control();
    if (!c || c->Parent() != NavBar()) continue;
    if (TdxNavBarGroupViewInfo* entry = FindGroupViewInfo(g))
      entry->AdjustControlBounds();
    else
      c->SetBoundsAndVisible(c->BoundsRect(), false);
  }
}

TdxNavBarObjectStates TdxNavBarViewInfo::GetTopScrollButtonState() {
  TdxNavBarObjectStates s = 0;
  TdxNavBarGroupViewInfo* a = ActiveGroupViewInfo();
  if (!a || a->LinkCount() == 0 || a->LinkAt(0)->Rect.Top >= a->ItemsRect.Top ||
      a->Group()->TopVisibleLinkIndex() <= 0)
    s |= sDisabled;
  if (!NavBar()->IsDesigning()) {
    if (IsTopScrollButtonAt(NavBar()->TargetPoint())) s |= sHotTracked;
    if (NavBar()->ScrollButtonUpIsDown()) s |= sPressed;
  }
  return s;
}

TdxNavBarObjectStates TdxNavBarViewInfo::GetBottomScrollButtonState() {
  TdxNavBarObjectStates s = 0;
  TdxNavBarGroupViewInfo* a = ActiveGroupViewInfo();
  if (!a || a->LinkCount() == 0 ||
      !(a->Rect.Bottom < a->LinkAt(a->LinkCount() - 1)->Rect.Bottom &&
        a->Group()->TopVisibleLinkIndex() < a->LinkCount() - 1))
    s |= sDisabled;
  if (!NavBar()->IsDesigning()) {
    if (IsBottomScrollButtonAt(NavBar()->TargetPoint())) s |= sHotTracked;
    if (NavBar()->ScrollButtonDownIsDown()) s |= sPressed;
  }
  return s;
}

TRect TdxNavBarViewInfo::GetTopScrollButtonRect() {
  TRect r(0, 0, 0, 0);
  if (GetTopScrollButtonState() & sDisabled) return r;
  TdxNavBarGroupViewInfo* a = ActiveGroupViewInfo();
  if (!a) return r;
  r = a->ItemsRect;
  r.Left = r.Right - GetScrollButtonWidth();
  r.Bottom = r.Top + GetScrollButtonHeight();
  return r.Offset(-GetScrollButtonHorizontalEdge(), GetScrollButtonVerticalEdge());
}

TRect TdxNavBarViewInfo::GetBottomScrollButtonRect() {
  TRect r(0, 0, 0, 0);
  if (GetBottomScrollButtonState() & sDisabled) return r;
  TdxNavBarGroupViewInfo* a = ActiveGroupViewInfo();
  if (!a) return r;
  r = a->ItemsRect;
  r.Left = r.Right - GetScrollButtonWidth();
  r.Bottom = r.Top + GetScrollButtonHeight();
  r = r.Offset(-GetScrollButtonHorizontalEdge(), -GetScrollButtonVerticalEdge());
  return r.Offset(0, a->ItemsRect.Height() - GetScrollButtonHeight());
}

void TdxNavBarViewInfo::CreateGroupsInfo() {
  TdxCustomNavBar* bar = NavBar();
  auto add = [this](TdxNavBarGroup* g) {
    TdxNavBarGroupViewInfo* entry = Painter()->CreateGroupViewInfo(this, g, true, true);
    FGroups.emplace_back(entry);
    entry->Initialize();
  };
  if (bar->ShowGroupCaptions()) {
    for (int i = 0; i < bar->Groups()->Count(); ++i)
      if (TdxNavBarGroup* g = bar->Groups()->Items(i); g->Visible()) add(g);
  } else if (TdxNavBarGroup* g = bar->ActiveGroup()) {
    add(g);
  }
}

void TdxNavBarViewInfo::CalculateGroupsBounds(int X, int Y) {
  for (auto& g : FGroups) g->CalculateBounds(X, Y);
}

void TdxNavBarViewInfo::ToggleGroup(TdxNavBarGroup* AGroup) {
  if (IsGroupExpanded(AGroup))
    CollapseGroup(AGroup);
  else
    ExpandGroup(AGroup);
}

void TdxNavBarViewInfo::CreateInfo() {
  FGroups.clear();
  CreateGroupsInfo();
}

void TdxNavBarViewInfo::Calculate() {
  ClearRects();
  TPoint origin = GetGroupsOrigin();
  CalculateGroupsBounds(origin.X, origin.Y);
  AlignGroups();
  AdjustControls();
}

void TdxNavBarViewInfo::CalculateScrollButtonsBounds() {
  if (!ActiveGroupViewInfo()) return;
  TopScrollButtonRect = GetTopScrollButtonRect();
  BottomScrollButtonRect = GetBottomScrollButtonRect();
}

void TdxNavBarViewInfo::ClearRects() {
  TopScrollButtonRect = TRect(0, 0, 0, 0);
  BottomScrollButtonRect = TRect(0, 0, 0, 0);
  HintRect = TRect(0, 0, 0, 0);
}

// -- styles

TdxNavBarDefaultStyles* TdxNavBarViewInfo::Defaults() const { return NavBar()->DefaultStyles(); }

TdxNavBarBaseStyle* TdxNavBarViewInfo::Source(TdxNavBarStyleItem* Own, TdxNavBarBaseStyle* Default,
                                              TdxBarStyleAssignedValue Value) {
  return Own && Own->Style()->IsValueAssigned(Value) ? Own->Style() : Default;
}

TdxNavBarStyleItem* TdxNavBarViewInfo::GetBottomScrollButtonStyleItem() {
  TdxNavBarObjectStates s = GetBottomScrollButtonState();
  if (s & sPressed) return NavBar()->StyleButtonPressed();
  if (s & sHotTracked) return NavBar()->StyleButtonHotTracked();
  return NavBar()->StyleButton();
}

TdxNavBarBaseStyle* TdxNavBarViewInfo::GetBottomScrollButtonDefaultStyle() {
  TdxNavBarObjectStates s = GetBottomScrollButtonState();
  if (s & sPressed) return Defaults()->ButtonPressed();
  if (s & sHotTracked) return Defaults()->ButtonHotTracked();
  return Defaults()->Button();
}

TdxNavBarStyleItem* TdxNavBarViewInfo::GetTopScrollButtonStyleItem() {
  TdxNavBarObjectStates s = GetTopScrollButtonState();
  if (s & sPressed) return NavBar()->StyleButtonPressed();
  if (s & sHotTracked) return NavBar()->StyleButtonHotTracked();
  return NavBar()->StyleButton();
}

TdxNavBarBaseStyle* TdxNavBarViewInfo::GetTopScrollButtonDefaultStyle() {
  TdxNavBarObjectStates s = GetTopScrollButtonState();
  if (s & sPressed) return Defaults()->ButtonPressed();
  if (s & sHotTracked) return Defaults()->ButtonHotTracked();
  return Defaults()->Button();
}

TdxNavBarBaseStyle* TdxNavBarViewInfo::ScrollButtonSource(bool Top, TdxBarStyleAssignedValue Value) {
  return Top ? Source(GetTopScrollButtonStyleItem(), GetTopScrollButtonDefaultStyle(), Value)
             : Source(GetBottomScrollButtonStyleItem(), GetBottomScrollButtonDefaultStyle(), Value);
}

#define NAVBAR_GETTER(Type, Name, Expr) \
  Type TdxNavBarViewInfo::Name() { return Expr; }

NAVBAR_GETTER(TPicture*, GetBackgroundImage, Source(NavBar()->StyleBackground(), Defaults()->Background(), savImage)->Image())
NAVBAR_GETTER(TColor, GetBackgroundBackColor, Source(NavBar()->StyleBackground(), Defaults()->Background(), savBackColor)->BackColor())
NAVBAR_GETTER(TColor, GetBackgroundBackColor2, Source(NavBar()->StyleBackground(), Defaults()->Background(), savBackColor2)->BackColor2())
NAVBAR_GETTER(uint8_t, GetBackgroundAlphaBlending, Source(NavBar()->StyleBackground(), Defaults()->Background(), savAlphaBlending)->AlphaBlending())
NAVBAR_GETTER(uint8_t, GetBackgroundAlphaBlending2, Source(NavBar()->StyleBackground(), Defaults()->Background(), savAlphaBlending2)->AlphaBlending2())
NAVBAR_GETTER(TdxBarStyleGradientMode, GetBackgroundGradientMode, Source(NavBar()->StyleBackground(), Defaults()->Background(), savGradientMode)->GradientMode())
NAVBAR_GETTER(TPicture*, GetBottomScrollButtonImage, ScrollButtonSource(false, savImage)->Image())
NAVBAR_GETTER(TColor, GetBottomScrollButtonBackColor, ScrollButtonSource(false, savBackColor)->BackColor())
NAVBAR_GETTER(TColor, GetBottomScrollButtonBackColor2, ScrollButtonSource(false, savBackColor2)->BackColor2())
NAVBAR_GETTER(uint8_t, GetBottomScrollButtonAlphaBlending, ScrollButtonSource(false, savAlphaBlending)->AlphaBlending())
NAVBAR_GETTER(uint8_t, GetBottomScrollButtonAlphaBlending2, ScrollButtonSource(false, savAlphaBlending2)->AlphaBlending2())
NAVBAR_GETTER(TdxBarStyleGradientMode, GetBottomScrollButtonGradientMode, ScrollButtonSource(false, savGradientMode)->GradientMode())
NAVBAR_GETTER(TPicture*, GetTopScrollButtonImage, ScrollButtonSource(true, savImage)->Image())
NAVBAR_GETTER(TColor, GetTopScrollButtonBackColor, ScrollButtonSource(true, savBackColor)->BackColor())
NAVBAR_GETTER(TColor, GetTopScrollButtonBackColor2, ScrollButtonSource(true, savBackColor2)->BackColor2())
NAVBAR_GETTER(uint8_t, GetTopScrollButtonAlphaBlending, ScrollButtonSource(true, savAlphaBlending)->AlphaBlending())
NAVBAR_GETTER(uint8_t, GetTopScrollButtonAlphaBlending2, ScrollButtonSource(true, savAlphaBlending2)->AlphaBlending2())
NAVBAR_GETTER(TdxBarStyleGradientMode, GetTopScrollButtonGradientMode, ScrollButtonSource(true, savGradientMode)->GradientMode())
NAVBAR_GETTER(TPicture*, GetHintImage, Source(NavBar()->StyleHint(), Defaults()->Hint(), savImage)->Image())
NAVBAR_GETTER(TColor, GetHintBackColor, Source(NavBar()->StyleHint(), Defaults()->Hint(), savBackColor)->BackColor())
NAVBAR_GETTER(TColor, GetHintBackColor2, Source(NavBar()->StyleHint(), Defaults()->Hint(), savBackColor2)->BackColor2())
NAVBAR_GETTER(uint8_t, GetHintAlphaBlending, Source(NavBar()->StyleHint(), Defaults()->Hint(), savAlphaBlending)->AlphaBlending())
NAVBAR_GETTER(uint8_t, GetHintAlphaBlending2, Source(NavBar()->StyleHint(), Defaults()->Hint(), savAlphaBlending2)->AlphaBlending2())
NAVBAR_GETTER(TdxBarStyleGradientMode, GetHintGradientMode, Source(NavBar()->StyleHint(), Defaults()->Hint(), savGradientMode)->GradientMode())
NAVBAR_GETTER(TColor, GetDropTargetLinkColor, Source(NavBar()->StyleDropTargetLink(), Defaults()->DropTargetLink(), savBackColor)->BackColor())
NAVBAR_GETTER(TColor, GetDropTargetGroupBackColor, Source(NavBar()->StyleDropTargetGroup(), Defaults()->DropTargetGroup(), savBackColor)->BackColor())
NAVBAR_GETTER(TColor, GetDropTargetGroupBackColor2, Source(NavBar()->StyleDropTargetGroup(), Defaults()->DropTargetGroup(), savBackColor2)->BackColor2())
NAVBAR_GETTER(uint8_t, GetDropTargetGroupAlphaBlending, Source(NavBar()->StyleDropTargetGroup(), Defaults()->DropTargetGroup(), savAlphaBlending)->AlphaBlending())
NAVBAR_GETTER(uint8_t, GetDropTargetGroupAlphaBlending2, Source(NavBar()->StyleDropTargetGroup(), Defaults()->DropTargetGroup(), savAlphaBlending2)->AlphaBlending2())
NAVBAR_GETTER(TdxBarStyleGradientMode, GetDropTargetGroupGradientMode, Source(NavBar()->StyleDropTargetGroup(), Defaults()->DropTargetGroup(), savGradientMode)->GradientMode())
NAVBAR_GETTER(TPicture*, GetHeaderImage, Source(NavBar()->StyleNavigationPaneHeader(), Defaults()->NavigationPaneHeader(), savImage)->Image())
NAVBAR_GETTER(TColor, GetHeaderBackColor, Source(NavBar()->StyleNavigationPaneHeader(), Defaults()->NavigationPaneHeader(), savBackColor)->BackColor())
NAVBAR_GETTER(TColor, GetHeaderBackColor2, Source(NavBar()->StyleNavigationPaneHeader(), Defaults()->NavigationPaneHeader(), savBackColor2)->BackColor2())
NAVBAR_GETTER(uint8_t, GetHeaderAlphaBlending, Source(NavBar()->StyleNavigationPaneHeader(), Defaults()->NavigationPaneHeader(), savAlphaBlending)->AlphaBlending())
NAVBAR_GETTER(uint8_t, GetHeaderAlphaBlending2, Source(NavBar()->StyleNavigationPaneHeader(), Defaults()->NavigationPaneHeader(), savAlphaBlending2)->AlphaBlending2())
NAVBAR_GETTER(TdxBarStyleGradientMode, GetHeaderGradientMode, Source(NavBar()->StyleNavigationPaneHeader(), Defaults()->NavigationPaneHeader(), savGradientMode)->GradientMode())
NAVBAR_GETTER(TColor, GetHeaderFontColor, GetHeaderFont()->Color())
NAVBAR_GETTER(TdxBarStyleHAlignment, GetHeaderHAlignment, Source(NavBar()->StyleNavigationPaneHeader(), Defaults()->NavigationPaneHeader(), savHAlignment)->HAlignment())
NAVBAR_GETTER(TdxBarStyleVAlignment, GetHeaderVAlignment, Source(NavBar()->StyleNavigationPaneHeader(), Defaults()->NavigationPaneHeader(), savVAlignment)->VAlignment())
NAVBAR_GETTER(UINT, GetHeaderDrawTextFlags, dxNavBarAlignmentFlags(GetHeaderHAlignment(), GetHeaderVAlignment()) | DT_SINGLELINE | DT_END_ELLIPSIS)
NAVBAR_GETTER(TPicture*, GetGroupHeaderImage, Defaults()->GroupHeader()->Image())
NAVBAR_GETTER(TColor, GetGroupHeaderBackColor, Defaults()->GroupHeader()->BackColor())
NAVBAR_GETTER(TColor, GetGroupHeaderBackColor2, Defaults()->GroupHeader()->BackColor2())
NAVBAR_GETTER(uint8_t, GetGroupHeaderAlphaBlending, Defaults()->GroupHeader()->AlphaBlending())
NAVBAR_GETTER(uint8_t, GetGroupHeaderAlphaBlending2, Defaults()->GroupHeader()->AlphaBlending2())
NAVBAR_GETTER(TdxBarStyleGradientMode, GetGroupHeaderGradientMode, Defaults()->GroupHeader()->GradientMode())
NAVBAR_GETTER(TColor, GetGroupHeaderFontColor, GetGroupHeaderFont()->Color())
#undef NAVBAR_GETTER

TFont* TdxNavBarViewInfo::GetHintFont() {
  FHintFont->Assign(Source(NavBar()->StyleHint(), Defaults()->Hint(), savFont)->Font());
  return FHintFont.get();
}

TFont* TdxNavBarViewInfo::GetHeaderFont() {
  FHeaderFont->Assign(
      Source(NavBar()->StyleNavigationPaneHeader(), Defaults()->NavigationPaneHeader(), savFont)->Font());
  return FHeaderFont.get();
}

TFont* TdxNavBarViewInfo::GetGroupHeaderFont() {
  FGroupHeaderFont->Assign(Defaults()->GroupHeader()->Font());
  return FGroupHeaderFont.get();
}

// -- default styles

void TdxNavBarViewInfo::AssignDefaultStyle(int Index, TdxNavBarBaseStyle* Style) {
  using Init = void (TdxNavBarViewInfo::*)(TdxNavBarBaseStyle*);
  static const Init inits[TdxNavBarDefaultStyles::StyleCount] = {
      &TdxNavBarViewInfo::InitBackgroundStyle,
      &TdxNavBarViewInfo::InitButtonStyle,
      &TdxNavBarViewInfo::InitButtonPressedStyle,
      &TdxNavBarViewInfo::InitButtonHotTrackedStyle,
      &TdxNavBarViewInfo::InitGroupBackgroundStyle,
      &TdxNavBarViewInfo::InitGroupControlStyle,
      &TdxNavBarViewInfo::InitGroupHeaderStyle,
      &TdxNavBarViewInfo::InitGroupHeaderActiveStyle,
      &TdxNavBarViewInfo::InitGroupHeaderActiveHotTrackedStyle,
      &TdxNavBarViewInfo::InitGroupHeaderActivePressedStyle,
      &TdxNavBarViewInfo::InitGroupHeaderHotTrackedStyle,
      &TdxNavBarViewInfo::InitGroupHeaderPressedStyle,
      &TdxNavBarViewInfo::InitHintStyle,
      &TdxNavBarViewInfo::InitItemStyle,
      &TdxNavBarViewInfo::InitItemDisabledStyle,
      &TdxNavBarViewInfo::InitItemHotTrackedStyle,
      &TdxNavBarViewInfo::InitItemPressedStyle,
      &TdxNavBarViewInfo::InitDropTargetGroupStyle,
      &TdxNavBarViewInfo::InitDropTargetLinkStyle,
      &TdxNavBarViewInfo::InitNavigationPaneHeaderStyle,
  };
  if (Index >= 0 && Index < TdxNavBarDefaultStyles::StyleCount) (this->*inits[Index])(Style);
}

namespace {
void SetBack(TdxNavBarBaseStyle* S, TColor C) {
  S->SetBackColor(C);
  S->SetBackColor2(C);
}
}  // namespace

void TdxNavBarViewInfo::InitBackgroundStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  SetBack(S, clAppWorkSpace);
}

void TdxNavBarViewInfo::InitButtonStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  SetBack(S, clBtnFace);
}

void TdxNavBarViewInfo::InitButtonPressedStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->Button());
}

void TdxNavBarViewInfo::InitButtonHotTrackedStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->Button());
}

void TdxNavBarViewInfo::InitGroupBackgroundStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  SetBack(S, clAppWorkSpace);
}

void TdxNavBarViewInfo::InitGroupControlStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  SetBack(S, clNone);
}

void TdxNavBarViewInfo::InitGroupHeaderStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  SetBack(S, clBtnFace);
  S->Font()->SetColor(clBtnText);
  S->SetHAlignment(TdxBarStyleHAlignment::haCenter);
}

void TdxNavBarViewInfo::InitGroupHeaderActiveStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->GroupHeader());
}

void TdxNavBarViewInfo::InitGroupHeaderActiveHotTrackedStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->GroupHeaderActive());
}

void TdxNavBarViewInfo::InitGroupHeaderActivePressedStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->GroupHeaderActive());
}

void TdxNavBarViewInfo::InitGroupHeaderHotTrackedStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->GroupHeader());
}

void TdxNavBarViewInfo::InitGroupHeaderPressedStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->GroupHeader());
}

void TdxNavBarViewInfo::InitHintStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  SetBack(S, clInfoBk);
  S->Font()->SetColor(clInfoText);
  S->SetHAlignment(TdxBarStyleHAlignment::haCenter);
}

void TdxNavBarViewInfo::InitItemStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Font()->SetColor(clBtnHighlight);
  S->SetHAlignment(TdxBarStyleHAlignment::haCenter);
}

void TdxNavBarViewInfo::InitItemDisabledStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->Item());
  S->Font()->SetColor(clBtnText);
}

void TdxNavBarViewInfo::InitItemHotTrackedStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->Item());
}

void TdxNavBarViewInfo::InitItemPressedStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->Item());
}

void TdxNavBarViewInfo::InitDropTargetGroupStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  SetBack(S, clHighlight);
  S->SetAlphaBlending(60);
  S->SetAlphaBlending2(60);
}

void TdxNavBarViewInfo::InitDropTargetLinkStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->SetBackColor(clBlack);
}

void TdxNavBarViewInfo::InitNavigationPaneHeaderStyle(TdxNavBarBaseStyle* S) { S->ResetValues(); }

// -- hit tests

TdxNavBarGroupViewInfo* TdxNavBarViewInfo::GetGroupViewInfoAtPos(TPoint P) {
  for (auto& g : FGroups)
    if (g->Rect.Contains(P)) return g.get();
  return nullptr;
}

TdxNavBarGroupViewInfo* TdxNavBarViewInfo::GetGroupViewInfoAtCaptionPos(TPoint P) {
  TdxNavBarGroupViewInfo* g = GetGroupViewInfoAtPos(P);
  return g && g->CaptionRect.Contains(P) ? g : nullptr;
}

TdxNavBarGroupViewInfo* TdxNavBarViewInfo::GetGroupViewInfoAtItemsPos(TPoint P) {
  TdxNavBarGroupViewInfo* g = GetGroupViewInfoAtPos(P);
  return g && !g->CaptionRect.Contains(P) ? g : nullptr;
}

TdxNavBarLinkViewInfo* TdxNavBarViewInfo::GetLinkViewInfoAtPos(TPoint P) {
  TdxNavBarGroupViewInfo* g = GetGroupViewInfoAtItemsPos(P);
  if (!g) return nullptr;
  for (int i = 0; i < g->LinkCount(); ++i)
    if (g->LinkAt(i)->Rect.Contains(P)) return g->LinkAt(i);
  return nullptr;
}

TdxNavBarLinkViewInfo* TdxNavBarViewInfo::GetLinkViewInfoAtHotPos(TPoint P) {
  if (IsTopScrollButtonAt(P) || IsBottomScrollButtonAt(P)) return nullptr;
  TdxNavBarLinkViewInfo* l = GetLinkViewInfoAtPos(P);
  if (!l || !l->Item() || !l->Item()->Enabled()) return nullptr;
  if (IsWholeLinkHot()) return l;
  TRect caption = l->CaptionRect;
  if (l->UseLargeImages())
    caption.Top = l->ImageRect.Bottom;
  else
    caption.Left = l->ImageRect.Right;
  return l->ImageRect.Contains(P) || caption.Contains(P) ? l : nullptr;
}

TdxNavBarItemLink* TdxNavBarViewInfo::FindLinkAtPos(TPoint P) {
  TdxNavBarLinkViewInfo* l = GetLinkViewInfoAtPos(P);
  return l && l->Link()->Group() && l->Link()->Item() ? l->Link() : nullptr;
}

TdxNavBarGroup* TdxNavBarViewInfo::GetGroupAtCaptionPos(TPoint P) {
  TdxNavBarGroupViewInfo* g = GetGroupViewInfoAtCaptionPos(P);
  return g && !g->Group()->IsDestroying() ? g->Group() : nullptr;
}

TdxNavBarGroup* TdxNavBarViewInfo::GetGroupAtItemsPos(TPoint P) {
  TdxNavBarGroupViewInfo* g = GetGroupViewInfoAtItemsPos(P);
  return g && !g->Group()->IsDestroying() ? g->Group() : nullptr;
}

TdxNavBarItemLink* TdxNavBarViewInfo::GetLinkAtHotPos(TPoint P) {
  TdxNavBarLinkViewInfo* l = GetLinkViewInfoAtHotPos(P);
  return l && l->Link()->Group() && l->Link()->Item() ? l->Link() : nullptr;
}

bool TdxNavBarViewInfo::IsPtGroupDesignRect(TPoint P) {
  TdxNavBarGroupViewInfo* g = GetGroupViewInfoAtCaptionPos(P);
  return g && g->DesignRect.Contains(P);
}

bool TdxNavBarViewInfo::IsPtItemDesignRect(TPoint P) {
  TdxNavBarLinkViewInfo* l = GetLinkViewInfoAtPos(P);
  return l && l->DesignRect.Contains(P);
}

TdxNavBarGroupViewInfo* TdxNavBarViewInfo::FindGroupByAccel(char Key) {
  for (auto& g : FGroups)
    if (IsAccel(char32_t(static_cast<unsigned char>(Key)), g->Group()->Caption())) return g.get();
  return nullptr;
}

TdxNavBarLinkViewInfo* TdxNavBarViewInfo::FindLinkByAccel(char Key) {
  TdxNavBarLinkViewInfo* found = nullptr;
  for (auto& g : FGroups)
    for (int i = 0; i < g->LinkCount(); ++i)
      if (TdxNavBarLinkViewInfo* l = g->LinkAt(i);
          l->Item() && IsAccel(char32_t(static_cast<unsigned char>(Key)), l->Item()->Caption())) {
        found = l;
        break;
      }
  return found;
}

int TdxNavBarViewInfo::GetLinksAtDropPos(TPoint P, TdxNavBarGroupViewInfo*& AGroup,
                                         TdxNavBarLinkViewInfo*& LinkBefore, TdxNavBarLinkViewInfo*& LinkAfter) {
  LinkBefore = nullptr;
  LinkAfter = nullptr;
  AGroup = GetGroupViewInfoAtItemsPos(P);
  if (!AGroup) {
    AGroup = GetGroupViewInfoAtCaptionPos(P);
    if (!AGroup) return -1;
    if (AGroup->LinkCount() > 0) LinkAfter = AGroup->LinkAt(0);
    return 0;
  }
  if (AGroup->IsIconView()) return GetLinksAtIconDropPos(P, AGroup, LinkBefore, LinkAfter);
  int n = AGroup->LinkCount();
  TdxNavBarLinkViewInfo* at = nullptr;
  for (int i = 0; i < n; ++i)
    if (AGroup->LinkAt(i)->Rect.Contains(P)) {
      at = AGroup->LinkAt(i);
      break;
    }
  if (at) {
    int i = AGroup->IndexOfLinkViewInfo(at);
    if (P.Y < (at->Rect.Top + at->Rect.Bottom) / 2) {
      LinkBefore = i > 0 ? AGroup->LinkAt(i - 1) : nullptr;
      LinkAfter = at;
    } else {
      LinkBefore = at;
      LinkAfter = i + 1 < n ? AGroup->LinkAt(i + 1) : nullptr;
    }
  } else if (n > 0) {
    if (P.Y < AGroup->LinkAt(0)->Rect.Top)
      LinkAfter = AGroup->LinkAt(0);
    else
      LinkBefore = AGroup->LinkAt(n - 1);
  }
  if (LinkBefore && LinkAfter) return LinkAfter->Link()->Index();
  if (LinkBefore) return AGroup->Group()->LinkCount();
  return 0;
}

int TdxNavBarViewInfo::GetLinksAtIconDropPos(TPoint P, TdxNavBarGroupViewInfo* AGroup,
                                             TdxNavBarLinkViewInfo*& LinkBefore, TdxNavBarLinkViewInfo*& LinkAfter) {
  int n = AGroup->LinkCount();
  TdxNavBarLinkViewInfo* at = nullptr;
  for (int i = 0; i < n; ++i)
    if (AGroup->LinkAt(i)->Rect.Contains(P)) {
      at = AGroup->LinkAt(i);
      break;
    }
  if (at) {
    int i = AGroup->IndexOfLinkViewInfo(at);
    if (P.X < (at->Rect.Left + at->Rect.Right) / 2) {
      LinkBefore = i > 0 ? AGroup->LinkAt(i - 1) : nullptr;
      LinkAfter = at;
    } else {
      LinkBefore = at;
      LinkAfter = i + 1 < n ? AGroup->LinkAt(i + 1) : nullptr;
    }
  } else if (n > 0) {
    if (P.Y < AGroup->LinkAt(0)->Rect.Top) {
      LinkAfter = AGroup->LinkAt(0);
    } else if (P.Y > AGroup->LinkAt(n - 1)->Rect.Top && P.Y >= AGroup->LinkAt(n - 1)->Rect.Bottom) {
      LinkBefore = AGroup->LinkAt(n - 1);
    } else {
      for (int i = 0; i < n; ++i) {
        TdxNavBarLinkViewInfo* l = AGroup->LinkAt(i);
        if (!(l->Rect.Top < P.Y && P.Y < l->Rect.Bottom)) continue;
        if (P.X >= l->Rect.Right) {
          LinkBefore = l;
          LinkAfter = i + 1 < n ? AGroup->LinkAt(i + 1) : nullptr;
        } else {
          LinkAfter = l;
          LinkBefore = i > 0 ? AGroup->LinkAt(i - 1) : nullptr;
          break;
        }
      }
      if (!LinkBefore && !LinkAfter) LinkBefore = AGroup->LinkAt(n - 1);
    }
  } else {
    return -1;
  }
  if (LinkBefore && LinkAfter) return LinkAfter->Link()->Index();
  if (LinkBefore) return AGroup->Group()->LinkCount();
  return 0;
}
