#include "suite/navbar/dxNavBarExplorerViews.h"

#include <algorithm>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/win/GdiExtras.h"
#include "suite/core/dxCore.h"
#include "suite/core/dxOffice11.h"
#include "suite/navbar/dxNavBarGraphics.h"

namespace {

void SetBack(TdxNavBarBaseStyle* S, TColor C) {
  S->SetBackColor(C);
  S->SetBackColor2(C);
}

void AddFontStyle(TdxNavBarBaseStyle* S, TFontStyle Style) {
  TFontStyles styles = S->Font()->Style();
  styles.Include(Style);
  S->Font()->SetStyle(styles);
}

TdxNavBarAdvExplorerBarResources& Colors() { return AdvExplorerBarResources(); }

}  // namespace

TColor dxNavBarResolveStateColor(TColor Normal, TColor Hot, TdxNavBarObjectStates State) {
  if (State & sDisabled) return LightenColorByPercent(Normal, 40);
  if (State & (sHotTracked | sPressed | sSelected)) return Hot;
  return Normal;
}

// ---- layout of views 8, 9 and 10

TdxNavBarExplorerBarGroupViewInfo* TdxNavBarExplorerBarViewInfo::ExplorerGroupAt(int Index) const {
  return static_cast<TdxNavBarExplorerBarGroupViewInfo*>(GroupAt(Index));
}

TRect TdxNavBarExplorerBarViewInfo::GetLinkImageEdges() {
  TRect e = GetLinkImageEdgesUnscaled();
  return TRect(ScaleValue(e.Left), e.Top, ScaleValue(e.Right), e.Bottom);
}

void TdxNavBarExplorerBarViewInfo::CreateGroupsInfo() {
  TdxNavBarGroups* groups = NavBar()->Groups();
  TdxNavBarGroup* rest = nullptr;
  for (int i = 0; i < groups->Count() && !rest; ++i)
    if (TdxNavBarGroup* g = groups->Items(i); g->Visible() && g->UseRestSpace() && g->Expanded()) rest = g;
  // Top-aligned groups first, then bottom-aligned ones; the groups after the one that takes the
  // rest space, and the bottom ones unless that group is itself at the bottom, move down with
  // the free space.
  auto pass = [&](TcxTopBottom Align, bool Follows) {
    for (int i = 0; i < groups->Count(); ++i) {
      TdxNavBarGroup* g = groups->Items(i);
      if (!g->Visible() || g->Align() != Align) continue;
      auto* entry =
          static_cast<TdxNavBarExplorerBarGroupViewInfo*>(Painter()->CreateGroupViewInfo(this, g, true, true));
      FGroups.emplace_back(entry);
      entry->TakesRestSpace = g == rest;
      entry->FollowsFreeSpace = Follows;
      entry->Initialize();
      if (g == rest) Follows = true;
    }
  };
  pass(TcxTopBottom::vaTop, false);
  pass(TcxTopBottom::vaBottom, !(rest && rest->Align() == TcxTopBottom::vaBottom));
}

void TdxNavBarExplorerBarViewInfo::CalculateGroupsBounds(int X, int Y) {
  TdxNavBarViewInfo::CalculateGroupsBounds(X, Y);
  if (GroupCount() == 0) return;
  int free = ClientHeight() - (GroupAt(GroupCount() - 1)->Rect.Bottom + GetGroupsOrigin().Y);
  if (free < 1) return;
  for (int i = 0; i < GroupCount(); ++i) {
    TdxNavBarExplorerBarGroupViewInfo* g = ExplorerGroupAt(i);
    if (g->TakesRestSpace) {
      g->Rect.Bottom += free;
      g->ItemsRect.Bottom += free;
    }
    if (g->FollowsFreeSpace) g->Offset(0, free);
  }
}

int TdxNavBarExplorerBarViewInfo::KeepLastExpandedGroupInView(int Position, int) {
  TdxNavBarGroups* groups = NavBar()->Groups();
  TdxNavBarGroup* last = groups->LastExpandedGroup();
  if (!last) return Position;
  if (TdxNavBarGroupViewInfo* g = FindGroupViewInfo(last)) {
    int half = GetGroupSpacing() / 2;
    int client = ClientHeight();
    if (client < g->Rect.Height() || g->Rect.Top - Position < half)
      Position = g->Rect.Top - half;
    else if (g->Rect.Bottom + half - Position > client)
      Position = g->Rect.Bottom + half - client;
  }
  groups->SetLastExpandedGroup(nullptr);
  return Position;
}

void TdxNavBarExplorerBarViewInfo::UpdateScrollBar() {
  TdxCustomNavBar* bar = NavBar();
  TdxNavBarScrollBar* sb = bar->ScrollBar();
  bool wasVisible = sb->Visible();
  int client = ClientHeight();
  int content = GroupCount() > 0 ? GetGroupsOrigin().Y + GroupAt(GroupCount() - 1)->Rect.Bottom : 0;
  if (GroupCount() > 0 && content > client) {
    int page = int(Round(double(client) * client / content));
    int max = content - client + page;
    sb->SetSmallChange(GetGroupCaptionSignSize().cx);
    sb->SetScrollParams(0, max, true, page, sb->Position());
    int position = KeepLastExpandedGroupInView(sb->Position(), page);
    if (position != sb->Position()) sb->SetScrollParams(0, max, true, page, position);
    if (ClientWidth() > GetSystemMetrics(SM_CXVSCROLL)) sb->SetVisible(true);
  } else {
    sb->SetVisible(false);
  }
  if (sb->Visible() != wasVisible) {
    // The client width changed with the scroll bar: lay out again (the second pass keeps the
    // visibility, since a narrower client never makes the groups lower).
    if (FLayoutDepth < 2) {
      ++FLayoutDepth;
      Calculate();
      --FLayoutDepth;
    }
    return;
  }
  int position = bar->ScrollPosition();
  if (position != 0)
    for (auto& g : FGroups) g->Offset(0, -position);
}

void TdxNavBarExplorerBarViewInfo::ScrollBy(int Delta) {
  TdxNavBarScrollBar* sb = NavBar()->ScrollBar();
  if (Delta == 0 || !sb->Visible()) return;
  int before = sb->Position();
  sb->SetScrollParams(sb->Min(), sb->Max(), true, sb->PageSize(), before + Delta);
  if (sb->Position() != before) NavBar()->InvalidateAll(nbctRecalculate);
}

void TdxNavBarExplorerBarViewInfo::ExpandGroup(TdxNavBarGroup* AGroup) {
  if (!AGroup->Expandable() || AGroup->Expanded()) return;
  AGroup->SetExpanded(true);
  NavBar()->InvalidateAll(nbctRebuild);
}

void TdxNavBarExplorerBarViewInfo::CollapseGroup(TdxNavBarGroup* AGroup) {
  if (!AGroup->Expandable() || !AGroup->Expanded()) return;
  AGroup->SetExpanded(false);
  NavBar()->InvalidateAll(nbctRebuild);
}

void TdxNavBarExplorerBarViewInfo::MakeLinkVisible(TdxNavBarItemLink* ALink, bool AtTop) {
  TdxNavBarGroup* group = ALink->Group();
  if (!group) return;
  if (!group->Expanded()) {
    group->SetExpanded(true);
    Painter()->InvalidateViewInfo(nbctRebuild);
    Painter()->CheckViewInfo();
  }
  TdxNavBarGroupViewInfo* g = FindGroupViewInfo(group);
  TdxNavBarLinkViewInfo* l = g ? g->FindLinkViewInfo(ALink) : nullptr;
  if (!l) return;
  int delta = 0;
  if (AtTop || l->Rect.Top < 0)
    delta = l->Rect.Top - 2;
  else if (l->Rect.Bottom > ClientHeight())
    delta = l->Rect.Bottom - ClientHeight();
  ScrollBy(delta);
}

void TdxNavBarExplorerBarViewInfo::MakeGroupVisible(TdxNavBarGroup* AGroup, bool Expand, bool AtTop) {
  if (Expand && !AGroup->Expanded()) {
    AGroup->SetExpanded(true);
    NavBar()->Groups()->SetLastExpandedGroup(nullptr);
    Painter()->InvalidateViewInfo(nbctRebuild);
    Painter()->CheckViewInfo();
  }
  TdxNavBarGroupViewInfo* g = FindGroupViewInfo(AGroup);
  if (!g) return;
  int delta = 0;
  if (AtTop || g->CaptionRect.Top < 0)
    delta = g->Rect.Top - 2;
  else if (g->CaptionRect.Bottom > ClientHeight())
    delta = g->CaptionRect.Bottom - ClientHeight();
  ScrollBy(delta);
}

int TdxNavBarExplorerBarViewInfo::GroupIndexAtSizingBand(TPoint P) {
  for (int i = 0; i < GroupCount(); ++i)
    if (ExplorerGroupAt(i)->SizingBand.Contains(P)) return i;
  return -1;
}

TdxNavBarExplorerBarGroupViewInfo* TdxNavBarExplorerBarViewInfo::GroupAtSizingBand(TPoint P) {
  int i = GroupIndexAtSizingBand(P);
  return i < 0 ? nullptr : ExplorerGroupAt(i);
}

// -- default styles of views 8 and 9

void TdxNavBarExplorerBarViewInfo::InitBackgroundStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  SetBack(S, clWindow);
}

void TdxNavBarExplorerBarViewInfo::InitGroupBackgroundStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  SetBack(S, clWindow);
}

void TdxNavBarExplorerBarViewInfo::InitGroupHeaderStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  SetBack(S, clBtnFace);
  S->Font()->SetColor(clBtnText);
  AddFontStyle(S, fsBold);
}

void TdxNavBarExplorerBarViewInfo::InitGroupHeaderActiveStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->GroupHeader());
  SetBack(S, clActiveCaption);
  S->Font()->SetColor(clCaptionText);
}

void TdxNavBarExplorerBarViewInfo::InitItemStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Font()->SetColor(clWindowText);
  S->SetHAlignment(TdxBarStyleHAlignment::haCenter);
}

void TdxNavBarExplorerBarViewInfo::InitItemDisabledStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->Item());
  S->Font()->SetColor(clGrayText);
}

void TdxNavBarExplorerBarViewInfo::InitItemHotTrackedStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->Item());
  AddFontStyle(S, fsUnderline);
}

void TdxNavBarExplorerBarViewInfo::InitItemPressedStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->Item());
  AddFontStyle(S, fsUnderline);
}

// ---- group entries

void TdxNavBarExplorerBarGroupViewInfo::CalculateBounds(int X, int& Y) {
  TdxNavBarGroupViewInfo::CalculateBounds(X, Y);
  SizingBand = TRect(0, 0, 0, 0);
  TdxNavBarGroup* g = Group();
  if (!(g->OptionsGroupControl()->AllowControlResizing() && g->Expanded() && g->ShowControl() && g->UseControl() &&
        !TakesRestSpace))
    return;
  int h = SizingBandHeight(), s = ViewInfo()->GetGroupSpacing();
  if (h > s) {
    Y += h - s;
    if (FollowsFreeSpace) Offset(0, h - s);
  }
  SizingBand = FollowsFreeSpace ? TRect(Rect.Left, Rect.Top - h, Rect.Right, Rect.Top)
                                : TRect(Rect.Left, Rect.Bottom, Rect.Right, Rect.Bottom + h);
}

void TdxNavBarExplorerBarGroupViewInfo::Offset(int DX, int DY) {
  TdxNavBarGroupViewInfo::Offset(DX, DY);
  SizingBand = SizingBand.Offset(DX, DY);
}

// ---- view 10

void TdxNavBarAdvExplorerBarViewInfo::AcquireLookResources() {
  if (FAcquired) return;
  FAcquired = true;
  Colors().Acquire();
}

void TdxNavBarAdvExplorerBarViewInfo::RefreshLookResources() { Colors().Refresh(); }

void TdxNavBarAdvExplorerBarViewInfo::ReleaseLookResources() {
  if (!FAcquired) return;
  FAcquired = false;
  Colors().Release();
}

bool TdxNavBarAdvExplorerBarViewInfo::BackgroundIsDefault() {
  return TdxNavBarViewInfo::GetBackgroundBackColor() == clNone ||
         TdxNavBarViewInfo::GetBackgroundBackColor2() == clNone;
}

TColor TdxNavBarAdvExplorerBarViewInfo::GetBackgroundBackColor() {
  return BackgroundIsDefault() ? Colors().BackColor : TdxNavBarViewInfo::GetBackgroundBackColor();
}

TColor TdxNavBarAdvExplorerBarViewInfo::GetBackgroundBackColor2() {
  return BackgroundIsDefault() ? Colors().BackColor2 : TdxNavBarViewInfo::GetBackgroundBackColor2();
}

uint8_t TdxNavBarAdvExplorerBarViewInfo::GetBackgroundAlphaBlending() {
  return BackgroundIsDefault() ? 255 : TdxNavBarViewInfo::GetBackgroundAlphaBlending();
}

uint8_t TdxNavBarAdvExplorerBarViewInfo::GetBackgroundAlphaBlending2() {
  return BackgroundIsDefault() ? 255 : TdxNavBarViewInfo::GetBackgroundAlphaBlending2();
}

TdxBarStyleGradientMode TdxNavBarAdvExplorerBarViewInfo::GetBackgroundGradientMode() {
  return BackgroundIsDefault() ? gmVertical : TdxNavBarViewInfo::GetBackgroundGradientMode();
}

void TdxNavBarAdvExplorerBarViewInfo::InitBackgroundStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  SetBack(S, clNone);
}

void TdxNavBarAdvExplorerBarViewInfo::InitGroupBackgroundStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  SetBack(S, clNone);
}

void TdxNavBarAdvExplorerBarViewInfo::InitGroupHeaderStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  SetBack(S, clNone);
  S->Font()->SetColor(clNone);
  AddFontStyle(S, fsBold);
}

void TdxNavBarAdvExplorerBarViewInfo::InitGroupHeaderActiveStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->GroupHeader());
  SetBack(S, clNone);
  S->Font()->SetColor(clNone);
}

void TdxNavBarAdvExplorerBarViewInfo::InitItemStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Font()->SetColor(clNone);
  S->SetHAlignment(TdxBarStyleHAlignment::haCenter);
}

void TdxNavBarAdvExplorerBarViewInfo::InitItemDisabledStyle(TdxNavBarBaseStyle* S) {
  S->ResetValues();
  S->Assign(Defaults()->Item());
}

bool TdxNavBarAdvExplorerBarGroupViewInfo::BackgroundIsDefault() {
  return TdxNavBarGroupViewInfo::GetBackgroundBackColor() == clNone ||
         TdxNavBarGroupViewInfo::GetBackgroundBackColor2() == clNone;
}

bool TdxNavBarAdvExplorerBarGroupViewInfo::CaptionIsDefault() {
  return TdxNavBarGroupViewInfo::GetCaptionBackColor() == clNone ||
         TdxNavBarGroupViewInfo::GetCaptionBackColor2() == clNone;
}

TColor TdxNavBarAdvExplorerBarGroupViewInfo::GetBackgroundBackColor() {
  return BackgroundIsDefault() ? Colors().GroupBackColor : TdxNavBarGroupViewInfo::GetBackgroundBackColor();
}

TColor TdxNavBarAdvExplorerBarGroupViewInfo::GetBackgroundBackColor2() {
  return BackgroundIsDefault() ? Colors().GroupBackColor : TdxNavBarGroupViewInfo::GetBackgroundBackColor2();
}

uint8_t TdxNavBarAdvExplorerBarGroupViewInfo::GetBackgroundAlphaBlending() {
  return BackgroundIsDefault() ? 255 : TdxNavBarGroupViewInfo::GetBackgroundAlphaBlending();
}

uint8_t TdxNavBarAdvExplorerBarGroupViewInfo::GetBackgroundAlphaBlending2() {
  return BackgroundIsDefault() ? 255 : TdxNavBarGroupViewInfo::GetBackgroundAlphaBlending2();
}

TdxBarStyleGradientMode TdxNavBarAdvExplorerBarGroupViewInfo::GetBackgroundGradientMode() {
  return BackgroundIsDefault() ? gmHorizontal : TdxNavBarGroupViewInfo::GetBackgroundGradientMode();
}

TColor TdxNavBarAdvExplorerBarGroupViewInfo::GetCaptionBackColor() {
  if (!CaptionIsDefault()) return TdxNavBarGroupViewInfo::GetCaptionBackColor();
  return (GetState() & sSpecial) ? Colors().SpecialCaptionBackColor : Colors().CaptionBackColor;
}

TColor TdxNavBarAdvExplorerBarGroupViewInfo::GetCaptionBackColor2() {
  if (!CaptionIsDefault()) return TdxNavBarGroupViewInfo::GetCaptionBackColor2();
  return (GetState() & sSpecial) ? Colors().SpecialCaptionBackColor2 : Colors().CaptionBackColor2;
}

uint8_t TdxNavBarAdvExplorerBarGroupViewInfo::GetCaptionAlphaBlending() {
  return CaptionIsDefault() ? 255 : TdxNavBarGroupViewInfo::GetCaptionAlphaBlending();
}

uint8_t TdxNavBarAdvExplorerBarGroupViewInfo::GetCaptionAlphaBlending2() {
  return CaptionIsDefault() ? 255 : TdxNavBarGroupViewInfo::GetCaptionAlphaBlending2();
}

TdxBarStyleGradientMode TdxNavBarAdvExplorerBarGroupViewInfo::GetCaptionGradientMode() {
  return CaptionIsDefault() ? gmHorizontal : TdxNavBarGroupViewInfo::GetCaptionGradientMode();
}

TColor TdxNavBarAdvExplorerBarGroupViewInfo::GetCaptionFontColor() {
  TColor own = TdxNavBarGroupViewInfo::GetCaptionFontColor();
  if (own != clNone) return own;
  TdxNavBarObjectStates s = GetState();
  if (s & sSpecial)
    return dxNavBarResolveStateColor(Colors().SpecialCaptionTextColor, Colors().SpecialHotCaptionTextColor, s);
  return dxNavBarResolveStateColor(Colors().CaptionTextColor, Colors().HotCaptionTextColor, s);
}

TColor TdxNavBarAdvExplorerBarGroupViewInfo::GetSignColor() {
  TdxNavBarObjectStates s = GetState();
  if (s & sSpecial) {
    if (!CaptionIsDefault()) return GetCaptionBackColor2();
    return dxNavBarResolveStateColor(Colors().SpecialSignColor, Colors().SpecialHotSignColor, s);
  }
  if (TdxNavBarGroupViewInfo::GetCaptionFontColor() != clNone) return GetCaptionFontColor();
  return dxNavBarResolveStateColor(Colors().SignColor, Colors().HotSignColor, s);
}

TColor TdxNavBarAdvExplorerBarGroupViewInfo::GetBorderColor() {
  if (!CaptionIsDefault()) return TdxNavBarGroupViewInfo::GetBorderColor();
  if (ColorToRGB(GetBackgroundBackColor()) != ColorToRGB(clWhite)) return clWhite;
  return LightenColorByPercent(clHighlight, 40);
}

TColor TdxNavBarAdvExplorerBarLinkViewInfo::GetFontColor() {
  TColor own = TdxNavBarLinkViewInfo::GetFontColor();
  if (own != clNone) return own;
  return dxNavBarResolveStateColor(Colors().LinkColor, Colors().HotLinkColor, GetState());
}

// ---- controller

TdxNavBarExplorerBarController::~TdxNavBarExplorerBarController() {
  if (GetCapture() && NavBar()->HandleAllocated() && GetCapture() == NavBar()->Handle()) ReleaseCapture();
}

TdxNavBarPart TdxNavBarExplorerBarController::GetPartAtPos(TPoint P) {
  auto* vi = dynamic_cast<TdxNavBarExplorerBarViewInfo*>(ViewInfo());
  int index = vi ? vi->GroupIndexAtSizingBand(P) : -1;
  if (index == -1) return TdxNavBarController::GetPartAtPos(P);
  return TdxNavBarPart{SizingBandPart, index};
}

TdxNavBarExplorerBarGroupViewInfo* TdxNavBarExplorerBarController::PressedGroupViewInfo() {
  auto* vi = dynamic_cast<TdxNavBarExplorerBarViewInfo*>(ViewInfo());
  int index = PressedPart().MinorIndex;
  if (!vi || index < 0 || index >= vi->GroupCount()) return nullptr;
  return vi->ExplorerGroupAt(index);
}

void TdxNavBarExplorerBarController::MouseDown(TMouseButton Button, TShiftState Shift, TPoint P) {
  if (Shift.Contains(ssLeft)) {
    SetPressedPart(GetPartAtPos(P));
    if (PressedOnSizingBand()) {
      StartResize(P);
      return;
    }
  }
  TdxNavBarController::MouseDown(Button, Shift, P);
}

void TdxNavBarExplorerBarController::MouseMove(TShiftState Shift, TPoint P) {
  if (PressedOnSizingBand()) {
    DoResize(P);
    return;
  }
  SetHotPart(GetPartAtPos(P));
  TdxNavBarController::MouseMove(Shift, P);
}

void TdxNavBarExplorerBarController::MouseUp(TMouseButton Button, TShiftState Shift, TPoint P) {
  SetHotPart(GetPartAtPos(P));
  if (PressedOnSizingBand())
    EndResize();
  else
    TdxNavBarController::MouseUp(Button, Shift, P);
  SetPressedPart(dxNavBarPartNone);
}

TCursor TdxNavBarExplorerBarController::GetCursor() {
  POINT sp;
  GetCursorPos(&sp);
  TPoint p = NavBar()->ScreenToClient(TPoint(sp.x, sp.y));
  if (GetPartAtPos(p).MajorIndex == SizingBandPart) return crSizeNS;
  return TdxNavBarController::GetCursor();
}

void TdxNavBarExplorerBarController::StartResize(TPoint P) {
  TdxNavBarExplorerBarGroupViewInfo* g = PressedGroupViewInfo();
  TdxNavBarGroupControl* c = g ? g->Group()->Control() : nullptr;
  FDragStartHeight = c ? c->OriginalHeight() : 0;
  FDragStartPoint = P;
  if (NavBar()->HandleAllocated()) SetCapture(NavBar()->Handle());
}

void TdxNavBarExplorerBarController::DoResize(TPoint P) {
  TdxNavBarExplorerBarGroupViewInfo* g = PressedGroupViewInfo();
  TdxNavBarGroupControl* c = g ? g->Group()->Control() : nullptr;
  if (!c) return;
  int dy = P.Y - FDragStartPoint.Y;
  if (!g->FollowsFreeSpace) {
    c->SetOriginalHeight(FDragStartHeight + dy);
    return;
  }
  // The band sits above the group: dragging up makes the control taller.
  if (FDragStartHeight - dy <= 0) return;
  int before = c->OriginalHeight();
  c->SetOriginalHeight(FDragStartHeight - dy);
  TdxCustomNavBar* bar = NavBar();
  bar->Painter()->CheckViewInfo();
  if (bar->HandleAllocated()) bar->Update();
  TdxNavBarScrollBar* sb = bar->ScrollBar();
  if (sb->Visible()) {
    sb->SetScrollParams(sb->Min(), sb->Max(), true, sb->PageSize(), sb->Position() + FDragStartHeight - before - dy);
    bar->InvalidateAll(nbctRecalculate);
  }
}

void TdxNavBarExplorerBarController::EndResize() {
  if (NavBar()->HandleAllocated() && GetCapture() == NavBar()->Handle()) ReleaseCapture();
}

// ---- element painters

void TdxNavBarExplorerBarBorderPainter::DrawBorder(TcxCanvas* ACanvas, const TRect& R, TColor ABorderColor,
                                                   bool ACaptionVisible) const {
  TcxBorders borders = cxBordersAll;
  if (ACaptionVisible) borders.Exclude(bTop);
  ACanvas->DrawTwoToneFrame(R, ABorderColor, ABorderColor, borders, 1);
}

void TdxNavBarExplorerBarSignPainter::DrawSignBackground(TcxCanvas* ACanvas, const TRect& R,
                                                         TdxNavBarObjectStates AState) const {
  if (!(AState & sHotTracked)) return;
  RECT rc = R;
  DrawEdge(ACanvas->CurrentDC(), &rc, BDR_RAISEDINNER, BF_RECT);
}

void TdxNavBarExplorerBarSignPainter::DrawSign(TcxCanvas* ACanvas, const TRect& R, TColor ASignColor, TColor,
                                               TColor, TdxNavBarObjectStates AState) const {
  DrawSignBackground(ACanvas, R, AState);
  HDC dc = ACanvas->CurrentDC();
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(ASignColor));
  HGDIOBJ old = SelectObject(dc, pen);
  int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
  int c = (AState & sExpanded) ? 1 : -1;
  // Two chevrons 4 pixels apart, each stroked twice one pixel apart so it is two pixels thick.
  for (int k = 0; k < 2; ++k) {
    int oy = k * 4 * c;
    POINT a{cx - 1, cy - 4 * c + oy}, b{cx - 4, cy - c + oy}, e{cx + 3, cy + oy};
    POINT first[3] = {b, a, e};
    POINT second[3] = {{b.x + 1, b.y}, {a.x, a.y + c}, {e.x - 1, e.y}};
    Polyline(dc, first, 3);
    Polyline(dc, second, 3);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

void TdxNavBarAdvExplorerBarSignPainter::DrawSign(TcxCanvas* ACanvas, const TRect& R, TColor ASignColor, TColor,
                                                  TColor, TdxNavBarObjectStates AState) const {
  TBitmap* source = (AState & sExpanded) ? Colors().CollapseSignBitmap.get() : Colors().ExpandSignBitmap.get();
  if (!source || source->Empty()) return;
  TBitmap sign;
  sign.Assign(source);
  std::vector<uint32_t> pixels;
  if (!ReadBitmapColors(&sign, pixels, true)) return;
  const uint32_t key = pixels[0] & 0xFFFFFF;
  const TColor signColor = ColorToRGB(ASignColor);
  HDC dc = ACanvas->CurrentDC();
  const int w = sign.Width(), h = sign.Height();
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < h; ++y) {
      uint32_t& p = pixels[size_t(y * w + x)];
      uint32_t rgb = p & 0xFFFFFF;
      if (rgb == key) continue;
      TColor out;
      if (rgb == 0x0000FF) {
        out = signColor;
      } else {
        // Grey levels let the caption show through in proportion to their darkness.
        TColor pixel = TColor(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
        TColor under = GetPixel(dc, R.Left + x, R.Top + y);
        out = MixColors(under, pixel, MulDiv(255 - int((rgb >> 16) & 0xFF), 100, 255));
      }
      out = ColorToRGB(out);
      p = (p & 0xFF000000) | ((out & 0xFF) << 16) | (out & 0xFF00) | ((out >> 16) & 0xFF);
    }
  WriteBitmapColors(&sign, pixels, true);
  TColor keyColor = TColor(((key & 0xFF) << 16) | (key & 0xFF00) | ((key >> 16) & 0xFF));
  sign.SetTransparentMode(tmFixed);
  sign.SetTransparentColor(keyColor);
  sign.SetTransparent(true);
  ACanvas->DrawGraphic(R.Left, R.Top, &sign);
}

void TdxNavBarAdvExplorerButtonPainter::DrawButton(TcxCanvas* ACanvas, const TRect& R, TPicture* AImage,
                                                   TColor AColor1, TColor AColor2, uint8_t AAlpha1, uint8_t AAlpha2,
                                                   TdxBarStyleGradientMode AGradientMode, TColor ABorderColor,
                                                   TdxNavBarObjectStates AState) const {
  HDC dc = ACanvas->CurrentDC();
  // Round the two top corners off.
  ExcludeClipRect(dc, R.Left, R.Top, R.Left + 2, R.Top + 1);
  ExcludeClipRect(dc, R.Left, R.Top, R.Left + 1, R.Top + 2);
  ExcludeClipRect(dc, R.Right - 2, R.Top, R.Right, R.Top + 1);
  ExcludeClipRect(dc, R.Right - 1, R.Top, R.Right, R.Top + 2);
  TdxNavBarCustomButtonPainter::DrawButton(ACanvas, R, AImage, AColor1, AColor2, AAlpha1, AAlpha2, AGradientMode,
                                           ABorderColor, AState);
  SelectClipRgn(dc, nullptr);
}

// ---- painters

TdxNavBarGroupViewInfo* TdxNavBarExplorerBarPainter::CreateGroupViewInfo(TdxNavBarViewInfo* AViewInfo,
                                                                         TdxNavBarGroup* AGroup,
                                                                         bool ACaptionVisible, bool ALinksVisible) {
  return new TdxNavBarExplorerBarGroupViewInfo(AViewInfo, AGroup, ACaptionVisible, ALinksVisible);
}

TdxNavBarLinkViewInfo* TdxNavBarExplorerBarPainter::CreateLinkViewInfo(TdxNavBarGroupViewInfo* AGroupViewInfo,
                                                                       TdxNavBarItemLink* ALink, bool ACaptionVisible,
                                                                       bool AImageVisible) {
  return new TdxNavBarExplorerBarLinkViewInfo(AGroupViewInfo, ALink, ACaptionVisible, AImageVisible);
}

const TdxNavBarCustomGroupBorderPainter* TdxNavBarExplorerBarPainter::GetGroupBorderPainterClass() const {
  return NavBarElementPainter<TdxNavBarExplorerBarBorderPainter>();
}

const TdxNavBarCustomSignPainter* TdxNavBarExplorerBarPainter::GetSignPainterClass() const {
  return NavBarElementPainter<TdxNavBarExplorerBarSignPainter>();
}

void TdxNavBarExplorerBarPainter::DrawGroup(TdxNavBarGroupViewInfo* AGroupViewInfo) {
  TdxNavBarElementPainter::DrawGroup(AGroupViewInfo);
  auto* g = static_cast<TdxNavBarExplorerBarGroupViewInfo*>(AGroupViewInfo);
  if (!g->SizingBand.IsEmpty()) DrawGroupSizingBand(g);
}

const TdxNavBarCustomSelectionPainter* TdxNavBarUltraFlatExplorerBarPainter::GetSelectionPainterClass() const {
  return NavBarElementPainter<TdxNavBarUltraFlatSelectionPainter>();
}

TdxNavBarGroupViewInfo* TdxNavBarAdvExplorerBarPainter::CreateGroupViewInfo(TdxNavBarViewInfo* AViewInfo,
                                                                            TdxNavBarGroup* AGroup,
                                                                            bool ACaptionVisible, bool ALinksVisible) {
  return new TdxNavBarAdvExplorerBarGroupViewInfo(AViewInfo, AGroup, ACaptionVisible, ALinksVisible);
}

TdxNavBarLinkViewInfo* TdxNavBarAdvExplorerBarPainter::CreateLinkViewInfo(TdxNavBarGroupViewInfo* AGroupViewInfo,
                                                                          TdxNavBarItemLink* ALink,
                                                                          bool ACaptionVisible, bool AImageVisible) {
  return new TdxNavBarAdvExplorerBarLinkViewInfo(AGroupViewInfo, ALink, ACaptionVisible, AImageVisible);
}

const TdxNavBarCustomButtonPainter* TdxNavBarAdvExplorerBarPainter::GetButtonPainterClass() const {
  return NavBarElementPainter<TdxNavBarAdvExplorerButtonPainter>();
}

const TdxNavBarCustomSignPainter* TdxNavBarAdvExplorerBarPainter::GetSignPainterClass() const {
  return NavBarElementPainter<TdxNavBarAdvExplorerBarSignPainter>();
}

void dxNavBarExplorerViewsInitialize() {
  RegisterView(dxNavBarExplorerBarView, "ExplorerBarView",
               NavBarPainterClassOf<TdxNavBarExplorerBarPainter, TdxNavBarElementPainter>());
  RegisterView(dxNavBarUltraFlatExplorerView, "UltraFlatExplorerBarView",
               NavBarPainterClassOf<TdxNavBarUltraFlatExplorerBarPainter, TdxNavBarExplorerBarPainter>());
  RegisterView(dxNavBarAdvExplorerBarView, "AdvExplorerBarView",
               NavBarPainterClassOf<TdxNavBarAdvExplorerBarPainter, TdxNavBarExplorerBarPainter>());
}

void dxNavBarExplorerViewsFinalize() {
  UnregisterView(dxNavBarExplorerBarView);
  UnregisterView(dxNavBarUltraFlatExplorerView);
  UnregisterView(dxNavBarAdvExplorerBarView);
}
