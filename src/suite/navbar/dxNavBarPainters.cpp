#include "suite/navbar/dxNavBarPainters.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "platform/sys/Modules.h"
#include "platform/win/GdiExtras.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxGraphicsImages.h"
#include "suite/core/dxOffice11.h"

bool CheckGdiPlusAvailable(bool) {
  static HMODULE module = LoadLibrary("gdiplus.dll");
  return module != nullptr;
}

namespace {

TColor Channel(TColor C, int Shift) { return (C >> Shift) & 0xFF; }

void FillSolid(HDC DC, const TRect& R, TColor Color) {
  if (R.IsEmpty() || Color == clNone) return;
  HBRUSH b = CreateSolidBrush(ColorToRGB(Color));
  RECT rc = R;
  FillRect(DC, &rc, b);
  DeleteObject(b);
}

// The dotted frame of a focused element: every other pixel of each edge in Color.
void DrawDottedFrame(TcxCanvas* ACanvas, const TRect& R, TColor Color) {
  if (R.IsEmpty()) return;
  TRect r = R.Inflate(-1, -1);
  if (r.IsEmpty()) return;
  HDC dc = ACanvas->CurrentDC();
  HBRUSH b = CreateSolidBrush(ColorToRGB(Color));
  auto walk = [&](int x, int y, int dx, int dy, int n) {
    int parity = (x + y) & 1;
    for (int i = 0; i < n; ++i, x += dx, y += dy) {
      if (parity) {
        RECT px{x, y, x + 1, y + 1};
        FillRect(dc, &px, b);
      }
      parity ^= 1;
    }
  };
  walk(r.Left, r.Top, 1, 0, r.Width());
  walk(r.Left, r.Top, 0, 1, r.Height());
  walk(r.Right - 1, r.Top, 0, 1, r.Height());
  walk(r.Left, r.Bottom - 1, 1, 0, r.Width());
  DeleteObject(b);
}

}  // namespace

void dxNavBarDrawDoubleFrame(TcxCanvas* ACanvas, const TRect& R, TColor OuterTopLeft, TColor InnerBottomRight,
                             TColor InnerTopLeft, TColor OuterBottomRight) {
  auto frame = [&](const TRect& r, TColor tl, TColor br) {
    TcxBorders borders;
    if (tl != clNone) borders.Include(bLeft).Include(bTop);
    if (br != clNone) borders.Include(bRight).Include(bBottom);
    if (!(borders == TcxBorders())) ACanvas->DrawTwoToneFrame(r, tl, br, borders, 1);
  };
  frame(R, OuterTopLeft, OuterBottomRight);
  frame(R.Inflate(-1, -1), InnerTopLeft, InnerBottomRight);
}

void dxNavBarFillGradientRect(HDC DC, const TRect& R, TColor Color1, TColor Color2, TdxBarStyleGradientMode Mode,
                              uint8_t, uint8_t) {
  if (R.IsEmpty()) return;
  TColor c1 = ColorToRGB(Color1), c2 = ColorToRGB(Color2);
  int w = R.Width(), h = R.Height();
  // A single row or column has no second cell to grade towards: the first colour fills it.
  if (c1 == c2 || w == 1 || h == 1) {
    FillSolid(DC, R, c1);
    return;
  }
  int nx = std::min(w, 256), ny = std::min(h, 256);
  for (int j = 0; j < ny; ++j) {
    int top = R.Top + MulDiv(j, h, ny), bottom = R.Top + MulDiv(j + 1, h, ny);
    if (top >= bottom) continue;
    for (int i = 0; i < nx; ++i) {
      int left = R.Left + MulDiv(i, w, nx), right = R.Left + MulDiv(i + 1, w, nx);
      if (left >= right) continue;
      TColor color = 0;
      for (int shift : {0, 8, 16}) {
        int a = Channel(c1, shift), b = Channel(c2, shift), d = b - a, t = 0;
        switch (Mode) {
          case gmHorizontal: t = MulDiv(i, d, nx - 1); break;
          case gmVertical: t = MulDiv(j, d, ny - 1); break;
          case gmForwardDiagonal: t = (MulDiv(i, d, nx - 1) + MulDiv(j, d, ny - 1)) / 2; break;
          case gmBackwardDiagonal: t = (MulDiv(nx - 1 - i, d, nx - 1) + MulDiv(j, d, ny - 1)) / 2; break;
        }
        color |= TColor(std::clamp(a + t, 0, 255)) << shift;
      }
      FillSolid(DC, TRect(left, top, right, bottom), color);
    }
  }
}

// ---- element painters

void TdxNavBarCustomBackgroundPainter::DrawBackground(TcxCanvas* ACanvas, const TRect& R, TPicture* AImage, bool AFill,
                                                      TColor ADefaultColor, TColor AColor1, TColor AColor2,
                                                      uint8_t AAlpha1, uint8_t AAlpha2,
                                                      TdxBarStyleGradientMode AGradientMode) const {
  if (R.IsEmpty()) return;
  HDC dc = ACanvas->CurrentDC();
  if (AImage && AImage->Graphic() && AImage->Width() > 0 && AImage->Height() > 0) {
    TBitmap* bmp = AImage->Bitmap();
    ACanvas->PushClipRegion();
    ACanvas->ClipToRect(R);
    for (int y = R.Top; y < R.Bottom; y += bmp->Height())
      for (int x = R.Left; x < R.Right; x += bmp->Width()) ACanvas->DrawGraphic(x, y, bmp);
    ACanvas->PopClipRegion();
  } else if (AFill) {
    FillSolid(dc, R, ADefaultColor);
  }
  if (AColor1 == AColor2 && AAlpha1 == 255 && AAlpha2 == 255) {
    FillSolid(dc, R, AColor1);
  } else if (CheckGdiPlusAvailable(false)) {
    dxNavBarFillGradientRect(dc, R, AColor1, AColor2, AGradientMode, AAlpha1, AAlpha2);
  } else if (AAlpha1 != 0 || AAlpha2 != 0) {
    if (AColor1 == clNone || AColor2 == clNone) return;
    dxNavBarFillGradientRect(dc, R, AColor1, AColor2, AGradientMode);
  }
}

void TdxNavBarCustomButtonPainter::DrawButton(TcxCanvas* ACanvas, const TRect& R, TPicture* AImage, TColor AColor1,
                                              TColor AColor2, uint8_t AAlpha1, uint8_t AAlpha2,
                                              TdxBarStyleGradientMode AGradientMode, TColor,
                                              TdxNavBarObjectStates) const {
  NavBarElementPainter<TdxNavBarCustomBackgroundPainter>()->DrawBackground(
      ACanvas, R, AImage, false, clBtnFace, AColor1, AColor2, AAlpha1, AAlpha2, AGradientMode);
}

void TdxNavBarCustomSelectionPainter::GetColors(TdxNavBarObjectStates, TColor, TColor& AOuterLeftTop,
                                                TColor& AOuterRightBottom, TColor& AInnerLeftTop,
                                                TColor& AInnerRightBottom, TColor& AFillColor) const {
  AOuterLeftTop = AOuterRightBottom = AInnerLeftTop = AInnerRightBottom = AFillColor = clNone;
}

void TdxNavBarCustomSelectionPainter::DrawSelection(TcxCanvas* ACanvas, const TRect& R, TColor ABackColor,
                                                    TdxNavBarObjectStates AState) const {
  if (!(AState & (sHotTracked | sPressed | sSelected))) return;
  TColor olt, orb, ilt, irb, fill;
  GetColors(AState, ABackColor, olt, orb, ilt, irb, fill);
  dxNavBarDrawDoubleFrame(ACanvas, R, olt, irb, ilt, orb);
  if (fill != clNone) FillSolid(ACanvas->CurrentDC(), R.Inflate(-1, -1), fill);
}

bool TdxNavBarCustomSelectionPainter::IsPressed(TdxNavBarObjectStates AState) const {
  return (AState & (sPressed | sSelected)) != 0;
}

void TdxNavBarUltraFlatSelectionPainter::GetColors(TdxNavBarObjectStates AState, TColor, TColor& AOuterLeftTop,
                                                   TColor& AOuterRightBottom, TColor& AInnerLeftTop,
                                                   TColor& AInnerRightBottom, TColor& AFillColor) const {
  AOuterLeftTop = AOuterRightBottom = clHighlight;
  AInnerLeftTop = AInnerRightBottom = clNone;
  AFillColor = IsPressed(AState) ? NearestScreenColor(SystemLightColor(14, 44, 40))
                                 : NearestScreenColor(SystemLightColor(-2, 30, 72));
}

bool TdxNavBarUltraFlatSelectionPainter::IsPressed(TdxNavBarObjectStates AState) const {
  return (AState & sPressed) && !(AState & sSelected);
}

void TdxNavBarCustomImagePainter::DrawImage(TcxCanvas* ACanvas, TCustomImageList* AImageList, int AImageIndex,
                                            const TRect& R, bool AEnabled) const {
  if (!AImageList || AImageIndex < 0 || AImageIndex >= AImageList->Count()) return;
  ACanvas->PushDCState();
  AImageList->Draw(ACanvas->Canvas(), R.Left, R.Top, AImageIndex, AEnabled);
  ACanvas->PopDCState();
}

void TdxNavBarCustomGroupBackgroundPainter::DrawBackground(TcxCanvas* ACanvas, const TRect& R, TPicture* AImage,
                                                           TColor AColor1, TColor AColor2, uint8_t AAlpha1,
                                                           uint8_t AAlpha2,
                                                           TdxBarStyleGradientMode AGradientMode) const {
  NavBarElementPainter<TdxNavBarCustomBackgroundPainter>()->DrawBackground(
      ACanvas, R, AImage, false, clNone, AColor1, AColor2, AAlpha1, AAlpha2, AGradientMode);
}

void TdxNavBarCustomHintPainter::DrawHint(TcxCanvas* ACanvas, const TRect& R, const std::string& AText,
                                          const TdxNavBarButtonStyle& AStyle, TFont* AFont) const {
  if (AText.empty()) return;
  NavBarElementPainter<TdxNavBarCustomBackgroundPainter>()->DrawBackground(
      ACanvas, R, AStyle.Image, true, clInfoBk, AStyle.BackColor, AStyle.BackColor2, AStyle.AlphaBlending,
      AStyle.AlphaBlending2, AStyle.GradientMode);
  RECT edge = R;
  DrawEdge(ACanvas->CurrentDC(), &edge, BDR_RAISEDOUTER, BF_RECT);
  TRect r = R.Inflate(-1, -1);
  r.Left += 2;
  r.Top += 2;
  ACanvas->Canvas()->Font()->Assign(AFont);
  SetBkMode(ACanvas->CurrentDC(), TRANSPARENT);
  DrawTextOnCanvas(ACanvas->Canvas(), AText, r, DT_WORDBREAK | DT_NOPREFIX, AFont->Color());
}

void TdxNavBarCustomDropTargetLinkPainter::DrawMark(TcxCanvas* ACanvas, const TPoint (&APoints)[6],
                                                    TColor AColor) const {
  TCanvas* c = ACanvas->Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(AColor);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetColor(AColor);
  const TPoint poly[8] = {APoints[0], APoints[1], APoints[2], APoints[0],
                          APoints[3], APoints[4], APoints[5], APoints[3]};
  ACanvas->DrawPolygon(poly, 8);
}

void TdxNavBarCustomDropTargetGroupPainter::DrawTarget(TcxCanvas* ACanvas, const TRect& R, TColor AColor1,
                                                       TColor AColor2, uint8_t AAlpha1, uint8_t AAlpha2,
                                                       TdxBarStyleGradientMode AGradientMode) const {
  if (CheckGdiPlusAvailable(false))
    NavBarElementPainter<TdxNavBarCustomBackgroundPainter>()->DrawBackground(
        ACanvas, R, nullptr, false, 0, AColor1, AColor2, AAlpha1, AAlpha2, AGradientMode);
  else
    for (int i = 0; i < 2; ++i) ACanvas->DrawTwoToneFrame(R.Inflate(-i, -i), AColor1, AColor1, cxBordersAll, 1);
}

// ---- painter

TdxNavBarPainter::TdxNavBarPainter(TdxCustomNavBar* ANavBar) : TdxNavBarPersistent(ANavBar) {}

TdxNavBarPainter::~TdxNavBarPainter() {
  FCanvas.reset();
  FController.reset();
  if (FViewInfo) FViewInfo->ReleaseLookResources();
  FViewInfo.reset();
}

void TdxNavBarPainter::Assign(TPersistent* Source) {
  if (!dynamic_cast<TdxNavBarPainter*>(Source)) TdxNavBarPersistent::Assign(Source);
}

void TdxNavBarPainter::Initialize() {
  FViewInfo.reset(CreateViewInfo());
  FViewInfo->Initialize();
  FController.reset(CreateController());
}

TcxCanvas* TdxNavBarPainter::Canvas() {
  TCanvas* source = NavBar()->OffScreenBitmap()->Canvas();
  if (!FCanvas || FCanvasSource != source) {
    FCanvas = std::make_unique<TcxCanvas>(source);
    FCanvasSource = source;
  }
  return FCanvas.get();
}

void TdxNavBarPainter::InvalidateViewInfo(int Level) {
  if (Level <= nbctRebuild) FNeedRebuild = true;
  if (Level <= nbctRecalculate) FNeedRecalculate = true;
  FNeedRepaint = true;
}

void TdxNavBarPainter::CheckViewInfo() {
  if (NavBar()->UpdateLock() > 0) return;
  if (FNeedRebuild) {
    FNeedRebuild = false;
    ++FRebuildCount;
    FViewInfo->CreateInfo();
  }
  if (FNeedRecalculate) {
    FNeedRecalculate = false;
    ++FCalculateCount;
    FViewInfo->Calculate();
    NavBar()->CheckFocusedAccessibleObject();
  }
}

void TdxNavBarPainter::Paint() {
  TdxCustomNavBar* bar = NavBar();
  if (bar->UpdateLock() > 0) return;
  CheckViewInfo();
  if (FNeedRepaint) {
    FNeedRepaint = false;
    ++FDrawCount;
    DrawNavBar();
  }
  TCanvas* target = bar->Canvas()->Canvas();
  HDC src = NavBar()->OffScreenBitmap()->Canvas()->Handle();
  BitBlt(target->Handle(), 0, 0, bar->ClientWidth(), bar->ClientHeight(), src, 0, 0, SRCCOPY);
  SelectClipRgn(src, nullptr);
}

TdxNavBarViewInfo* TdxNavBarPainter::CreateViewInfo() { return new TdxNavBarViewInfo(this); }

TdxNavBarGroupViewInfo* TdxNavBarPainter::CreateGroupViewInfo(TdxNavBarViewInfo* AViewInfo, TdxNavBarGroup* AGroup,
                                                              bool ACaptionVisible, bool ALinksVisible) {
  return new TdxNavBarGroupViewInfo(AViewInfo, AGroup, ACaptionVisible, ALinksVisible);
}

TdxNavBarLinkViewInfo* TdxNavBarPainter::CreateLinkViewInfo(TdxNavBarGroupViewInfo* AGroupViewInfo,
                                                            TdxNavBarItemLink* ALink, bool ACaptionVisible,
                                                            bool AImageVisible) {
  return new TdxNavBarLinkViewInfo(AGroupViewInfo, ALink, ACaptionVisible, AImageVisible);
}

TdxNavBarController* TdxNavBarPainter::CreateController() { return new TdxNavBarController(NavBar()); }

TcxScrollBar* TdxNavBarPainter::CreateScrollBar(TWinControl* AParent) {
  auto* sb = new TcxControlScrollBar(nullptr);
  sb->SetParent(AParent);
  sb->SetVisible(false);
  return sb;
}

const std::type_info& TdxNavBarPainter::GetScrollBarClass() const { return typeid(TcxControlScrollBar); }

void TdxNavBarPainter::DrawNavBar() {
  TdxCustomNavBar* bar = NavBar();
  TcxCanvas* canvas = Canvas();
  TdxNavBarViewInfo* vi = ViewInfo();
  TdxNavBarCustomDrawEvents* events = bar->OnCustomDraw();
  bool handled = false;
  if (events->Background) events->Background(bar, canvas, vi, handled);
  if (!handled) DrawBackground();
  for (int i = 0; i < vi->GroupCount(); ++i) {
    TdxNavBarGroupViewInfo* g = vi->GroupAt(i);
    RECT rc = g->Rect;
    if (RectVisible(canvas->CurrentDC(), &rc)) DrawGroup(g);
  }
  DrawScrollButtons();
  DrawDropTargetGroupSelection();
  DrawDropTargetLinkSelection();
}

void TdxNavBarPainter::DrawGroup(TdxNavBarGroupViewInfo* AGroupViewInfo) {
  DrawGroupClient(AGroupViewInfo);
  if (AGroupViewInfo->IsCaptionVisible()) {
    bool handled = false;
    TdxNavBarCustomDrawEvents* events = NavBar()->OnCustomDraw();
    if (events->GroupCaption) events->GroupCaption(NavBar(), Canvas(), AGroupViewInfo, handled);
    if (!handled) DrawGroupCaption(AGroupViewInfo);
    DrawGroupFocusRect(AGroupViewInfo);
    DrawGroupDesignRect(AGroupViewInfo);
  }
}

void TdxNavBarPainter::DrawGroupClient(TdxNavBarGroupViewInfo* AGroupViewInfo) {
  TdxNavBarCustomDrawEvents* events = NavBar()->OnCustomDraw();
  bool handled = false;
  if (events->GroupClientBackground) events->GroupClientBackground(NavBar(), Canvas(), AGroupViewInfo, handled);
  if (!handled) {
    DrawGroupBackground(AGroupViewInfo);
    TRect e = ViewInfo()->GetGroupEdges();
    if (AGroupViewInfo->IsCaptionVisible()) e.Top = 0;
    if (e.Left || e.Top || e.Right || e.Bottom) DrawGroupBorder(AGroupViewInfo);
  }
  if (!AGroupViewInfo->Group()->ShowControl()) {
    handled = false;
    if (events->GroupClientForeground) events->GroupClientForeground(NavBar(), Canvas(), AGroupViewInfo, handled);
    if (!handled) DrawGroupLinks(AGroupViewInfo);
  }
}

void TdxNavBarPainter::DrawGroupCaption(TdxNavBarGroupViewInfo* AGroupViewInfo) {
  DrawGroupCaptionButton(AGroupViewInfo);
  DrawGroupCaptionText(AGroupViewInfo);
  if (!AGroupViewInfo->ImageRect.IsEmpty()) DrawGroupCaptionImage(AGroupViewInfo);
  if (!AGroupViewInfo->SignRect.IsEmpty()) DrawGroupCaptionSign(AGroupViewInfo);
}

void TdxNavBarPainter::DrawGroupCaptionText(TdxNavBarGroupViewInfo* AGroupViewInfo) {
  TcxCanvas* canvas = Canvas();
  TFont* font = AGroupViewInfo->GetCaptionFont();
  canvas->Canvas()->Font()->Assign(font);
  SetBkMode(canvas->CurrentDC(), TRANSPARENT);
  DrawTextOnCanvas(canvas->Canvas(), AGroupViewInfo->Group()->Caption(), AGroupViewInfo->CaptionTextRect,
                   AGroupViewInfo->GetCaptionDrawTextFlags(), AGroupViewInfo->GetCaptionFontColor());
}

void TdxNavBarPainter::DrawDesignMark(const TRect& R) {
  if (!R.IsEmpty()) DrawHatchedStateRect(Canvas(), R, false);
}

void TdxNavBarPainter::DrawGroupDesignRect(TdxNavBarGroupViewInfo* AGroupViewInfo) {
  DrawDesignMark(AGroupViewInfo->DesignRect);
}

void TdxNavBarPainter::DrawGroupLinks(TdxNavBarGroupViewInfo* AGroupViewInfo) {
  TcxCanvas* canvas = Canvas();
  canvas->PushClipRegion();
  canvas->ClipToRect(AGroupViewInfo->ItemsRect);
  for (int i = 0; i < AGroupViewInfo->LinkCount(); ++i) {
    TdxNavBarLinkViewInfo* l = AGroupViewInfo->LinkAt(i);
    if (l->Rect.Top >= AGroupViewInfo->ItemsRect.Top && l->Rect.Top <= AGroupViewInfo->ItemsRect.Bottom) DrawLink(l);
  }
  canvas->PopClipRegion();
}

void TdxNavBarPainter::DrawGroupFocusRect(TdxNavBarGroupViewInfo* AGroupViewInfo) {
  DrawDottedFrame(Canvas(), AGroupViewInfo->FocusRect, AGroupViewInfo->GetCaptionFontColor());
}

void TdxNavBarPainter::DrawLink(TdxNavBarLinkViewInfo* ALinkViewInfo) {
  TdxNavBarCustomDrawEvents* events = NavBar()->OnCustomDraw();
  bool handled = false;
  if (events->Link) events->Link(NavBar(), Canvas(), ALinkViewInfo, handled);
  if (!handled) {
    DrawLinkSelection(ALinkViewInfo);
    TCustomImageList* list = ALinkViewInfo->GetImageList();
    int index = ALinkViewInfo->GetImageIndex();
    if (list && index >= 0 && index < list->Count() && ALinkViewInfo->ImageVisible &&
        !ALinkViewInfo->ImageRect.IsEmpty())
      DrawLinkImage(ALinkViewInfo);
    DrawLinkCaption(ALinkViewInfo);
  }
  DrawLinkFocusRect(ALinkViewInfo);
  DrawLinkDesignRect(ALinkViewInfo);
}

void TdxNavBarPainter::DrawLinkCaption(TdxNavBarLinkViewInfo* ALinkViewInfo) {
  if (!ALinkViewInfo->Item()) return;
  TcxCanvas* canvas = Canvas();
  TFont* font = ALinkViewInfo->GetFont();
  canvas->Canvas()->Font()->Assign(font);
  SetBkMode(canvas->CurrentDC(), TRANSPARENT);
  DrawTextOnCanvas(canvas->Canvas(), ALinkViewInfo->Item()->Caption(), ALinkViewInfo->CaptionRect,
                   ALinkViewInfo->GetDrawTextFlags() | DT_END_ELLIPSIS, ALinkViewInfo->GetFontColor());
}

void TdxNavBarPainter::DrawLinkDesignRect(TdxNavBarLinkViewInfo* ALinkViewInfo) {
  DrawDesignMark(ALinkViewInfo->DesignRect);
}

void TdxNavBarPainter::DrawLinkFocusRect(TdxNavBarLinkViewInfo* ALinkViewInfo) {
  DrawDottedFrame(Canvas(), ALinkViewInfo->FocusRect, ALinkViewInfo->GetFocusFrameColor());
}

void TdxNavBarPainter::DrawLinkCaptionLine(TdxNavBarLinkViewInfo* ALinkViewInfo) {
  Canvas()->FillRectWithColor(ALinkViewInfo->GetCaptionLineRect(), ALinkViewInfo->GetLineColor());
}

void TdxNavBarPainter::DrawScrollButtons() {
  TdxNavBarViewInfo* vi = ViewInfo();
  TdxNavBarGroupViewInfo* active = vi->ActiveGroupViewInfo();
  auto visible = [&](const TRect& r) {
    return !r.IsEmpty() && active &&
           2 * (vi->GetScrollButtonHeight() + vi->GetScrollButtonVerticalEdge()) < active->ItemsRect.Height();
  };
  TdxNavBarCustomDrawEvents* events = NavBar()->OnCustomDraw();
  if (visible(vi->TopScrollButtonRect)) {
    bool handled = false;
    if (events->TopScrollButton) events->TopScrollButton(NavBar(), Canvas(), vi, handled);
    if (!handled) DrawTopScrollButton();
  }
  if (visible(vi->BottomScrollButtonRect)) {
    bool handled = false;
    if (events->BottomScrollButton) events->BottomScrollButton(NavBar(), Canvas(), vi, handled);
    if (!handled) DrawBottomScrollButton();
  }
}

void TdxNavBarPainter::DrawHint(TcxCanvas* ACanvas, const TRect& R) {
  if (NavBar()->HotTrackedGroup())
    DrawGroupHint(ACanvas, R);
  else if (NavBar()->HotTrackedLink())
    DrawLinkHint(ACanvas, R);
  else
    DrawHintWindow(ACanvas, R);
}

void TdxNavBarPainter::DrawGroupHint(TcxCanvas* ACanvas, const TRect& R) {
  bool handled = false;
  TdxNavBarCustomDrawEvents* events = NavBar()->OnCustomDraw();
  if (events->GroupHint)
    events->GroupHint(NavBar(), ACanvas, NavBar()->HotTrackedGroup(), ViewInfo()->HintText, R, handled);
  if (!handled) DrawHintWindow(ACanvas, R);
}

void TdxNavBarPainter::DrawLinkHint(TcxCanvas* ACanvas, const TRect& R) {
  bool handled = false;
  TdxNavBarCustomDrawEvents* events = NavBar()->OnCustomDraw();
  if (events->LinkHint)
    events->LinkHint(NavBar(), ACanvas, NavBar()->HotTrackedLink(), ViewInfo()->HintText, R, handled);
  if (!handled) DrawHintWindow(ACanvas, R);
}

// ---- element painter base

const TdxNavBarCustomBackgroundPainter* TdxNavBarElementPainter::GetBackgroundPainterClass() const {
  return NavBarElementPainter<TdxNavBarCustomBackgroundPainter>();
}
const TdxNavBarCustomButtonPainter* TdxNavBarElementPainter::GetButtonPainterClass() const {
  return NavBarElementPainter<TdxNavBarCustomButtonPainter>();
}
const TdxNavBarCustomDropTargetGroupPainter* TdxNavBarElementPainter::GetDropTargetGroupPainterClass() const {
  return NavBarElementPainter<TdxNavBarCustomDropTargetGroupPainter>();
}
const TdxNavBarCustomDropTargetLinkPainter* TdxNavBarElementPainter::GetDropTargetLinkPainterClass() const {
  return NavBarElementPainter<TdxNavBarCustomDropTargetLinkPainter>();
}
const TdxNavBarCustomGroupBackgroundPainter* TdxNavBarElementPainter::GetGroupBackgroundPainterClass() const {
  return NavBarElementPainter<TdxNavBarCustomGroupBackgroundPainter>();
}
const TdxNavBarCustomGroupBorderPainter* TdxNavBarElementPainter::GetGroupBorderPainterClass() const {
  return NavBarElementPainter<TdxNavBarCustomGroupBorderPainter>();
}
const TdxNavBarCustomImagePainter* TdxNavBarElementPainter::GetImagePainterClass() const {
  return NavBarElementPainter<TdxNavBarCustomImagePainter>();
}
const TdxNavBarCustomScrollButtonsPainter* TdxNavBarElementPainter::GetScrollButtonsPainterClass() const {
  return NavBarElementPainter<TdxNavBarCustomScrollButtonsPainter>();
}
const TdxNavBarCustomSelectionPainter* TdxNavBarElementPainter::GetSelectionPainterClass() const {
  return NavBarElementPainter<TdxNavBarCustomSelectionPainter>();
}
const TdxNavBarCustomSignPainter* TdxNavBarElementPainter::GetSignPainterClass() const {
  return NavBarElementPainter<TdxNavBarCustomSignPainter>();
}

void TdxNavBarElementPainter::DrawHintWindow(TcxCanvas* ACanvas, const TRect& R) {
  TdxNavBarViewInfo* vi = ViewInfo();
  TdxNavBarButtonStyle style{vi->GetHintImage(),          vi->GetHintBackColor(),     vi->GetHintBackColor2(),
                             vi->GetHintAlphaBlending(), vi->GetHintAlphaBlending2(), vi->GetHintGradientMode()};
  NavBarElementPainter<TdxNavBarCustomHintPainter>()->DrawHint(ACanvas, R, vi->HintText, style, vi->GetHintFont());
}

void TdxNavBarElementPainter::DrawBackground() {
  TdxNavBarViewInfo* vi = ViewInfo();
  GetBackgroundPainterClass()->DrawBackground(
      Canvas(), NavBar()->ClientRect(), vi->GetBackgroundImage(), true, NavBar()->Color(),
      vi->GetBackgroundBackColor(), vi->GetBackgroundBackColor2(), vi->GetBackgroundAlphaBlending(),
      vi->GetBackgroundAlphaBlending2(), vi->GetBackgroundGradientMode());
}

void TdxNavBarElementPainter::DrawGroupBackground(TdxNavBarGroupViewInfo* G) {
  GetGroupBackgroundPainterClass()->DrawBackground(Canvas(), G->ItemsRect, G->GetBackgroundImage(),
                                                   G->GetBackgroundBackColor(), G->GetBackgroundBackColor2(),
                                                   G->GetBackgroundAlphaBlending(), G->GetBackgroundAlphaBlending2(),
                                                   G->GetBackgroundGradientMode());
}

void TdxNavBarElementPainter::DrawGroupBorder(TdxNavBarGroupViewInfo* G) {
  if (ViewInfo()->IsGroupExpanded(G->Group()))
    GetGroupBorderPainterClass()->DrawBorder(Canvas(), G->ItemsRect, G->GetBorderColor(), G->IsCaptionVisible());
}

void TdxNavBarElementPainter::DrawGroupCaptionButton(TdxNavBarGroupViewInfo* G) {
  GetButtonPainterClass()->DrawButton(Canvas(), G->CaptionRect, G->GetCaptionImage(), G->GetCaptionBackColor(),
                                      G->GetCaptionBackColor2(), G->GetCaptionAlphaBlending(),
                                      G->GetCaptionAlphaBlending2(), G->GetCaptionGradientMode(),
                                      G->GetCaptionBorderColor(), G->GetState());
}

void TdxNavBarElementPainter::DrawGroupCaptionImage(TdxNavBarGroupViewInfo* G) {
  GetImagePainterClass()->DrawImage(Canvas(), G->GetImageList(), G->GetImageIndex(), G->ImageRect, true);
}

void TdxNavBarElementPainter::DrawGroupCaptionSign(TdxNavBarGroupViewInfo* G) {
  if (G->Group()->ShowExpandButton())
    GetSignPainterClass()->DrawSign(Canvas(), G->SignRect, G->GetSignColor(), G->GetCaptionBackColor(),
                                    G->GetCaptionBackColor2(), G->GetState());
}

void TdxNavBarElementPainter::DrawGroupControlBackground(TcxCanvas* ACanvas, const TRect& R,
                                                         TdxNavBarGroupViewInfo* G) {
  GetGroupBackgroundPainterClass()->DrawBackground(ACanvas, R, G->GetControlBackgroundImage(),
                                                   G->GetControlBackColor(), G->GetControlBackColor2(),
                                                   G->GetControlAlphaBlending(), G->GetControlAlphaBlending2(),
                                                   G->GetControlGradientMode());
}

void TdxNavBarElementPainter::DrawLinkImage(TdxNavBarLinkViewInfo* L) {
  bool enabled = L->IsEnabled() || L->UseDisabledImages();
  GetImagePainterClass()->DrawImage(Canvas(), L->GetImageList(), L->GetImageIndex(), L->ImageRect, enabled);
  if (L->CaptionRect.IsEmpty() && L->IsFocused()) DrawDottedFrame(Canvas(), L->ImageRect.Inflate(1, 1), L->GetFontColor());
}

void TdxNavBarElementPainter::DrawLinkSelection(TdxNavBarLinkViewInfo* L) {
  if (L->Item() && L->Item()->Enabled())
    GetSelectionPainterClass()->DrawSelection(Canvas(), L->GetSelectionRect(),
                                              L->GroupViewInfo()->GetBackgroundBackColor(), L->GetState());
}

void TdxNavBarElementPainter::DrawBottomScrollButton() {
  TdxNavBarViewInfo* vi = ViewInfo();
  TdxNavBarButtonStyle style{vi->GetBottomScrollButtonImage(),          vi->GetBottomScrollButtonBackColor(),
                             vi->GetBottomScrollButtonBackColor2(),     vi->GetBottomScrollButtonAlphaBlending(),
                             vi->GetBottomScrollButtonAlphaBlending2(), vi->GetBottomScrollButtonGradientMode()};
  GetScrollButtonsPainterClass()->DrawBottomButton(Canvas(), vi->BottomScrollButtonRect,
                                                   vi->GetBottomScrollButtonState(), vi->GetButtonBorderColor(),
                                                   style, GetButtonPainterClass());
  Canvas()->ClipOutRect(vi->BottomScrollButtonRect);
}

void TdxNavBarElementPainter::DrawTopScrollButton() {
  TdxNavBarViewInfo* vi = ViewInfo();
  TdxNavBarButtonStyle style{vi->GetTopScrollButtonImage(),          vi->GetTopScrollButtonBackColor(),
                             vi->GetTopScrollButtonBackColor2(),     vi->GetTopScrollButtonAlphaBlending(),
                             vi->GetTopScrollButtonAlphaBlending2(), vi->GetTopScrollButtonGradientMode()};
  GetScrollButtonsPainterClass()->DrawTopButton(Canvas(), vi->TopScrollButtonRect, vi->GetTopScrollButtonState(),
                                                vi->GetButtonBorderColor(), style, GetButtonPainterClass());
  Canvas()->ClipOutRect(vi->TopScrollButtonRect);
}

void TdxNavBarElementPainter::DrawDropTargetGroupSelection() {
  TdxNavBarDragObject* drag = TdxCustomNavBar::DragObject();
  if (!drag || drag->NavBar() != NavBar() || !drag->SourceGroup() || drag->SourceLink()) return;
  if (!(NavBar()->DragDropFlags() & fAllowDropGroup)) return;
  TdxNavBarViewInfo* vi = ViewInfo();
  TPoint p = NavBar()->TargetPoint();
  TdxNavBarGroupViewInfo* g = vi->GetGroupViewInfoAtCaptionPos(p);
  if (!g) g = vi->GetGroupViewInfoAtItemsPos(p);
  if (!g || g->Group() == drag->SourceGroup()) return;
  GetDropTargetGroupPainterClass()->DrawTarget(Canvas(), g->CaptionRect, vi->GetDropTargetGroupBackColor(),
                                               vi->GetDropTargetGroupBackColor2(), vi->GetDropTargetGroupAlphaBlending(),
                                               vi->GetDropTargetGroupAlphaBlending2(),
                                               vi->GetDropTargetGroupGradientMode());
}

void TdxNavBarElementPainter::DrawDropTargetLinkSelection() {
  TdxNavBarDragObject* drag = TdxCustomNavBar::DragObject();
  if (!drag || !(drag->SourceLink() || drag->DraggedItem())) return;
  if (!(NavBar()->DragDropFlags() & fAllowDropLink)) return;
  TdxNavBarGroupViewInfo* g = nullptr;
  TdxNavBarLinkViewInfo* before = nullptr;
  TdxNavBarLinkViewInfo* after = nullptr;
  ViewInfo()->GetLinksAtDropPos(NavBar()->TargetPoint(), g, before, after);
  TdxNavBarItemLink* dragged = drag->SourceLink();
  if (dragged && ((before && before->Link() == dragged) || (after && after->Link() == dragged))) return;
  if (g && (before || after)) DrawDropTargetLinkMark(g, before, after);
}

void TdxNavBarElementPainter::DrawDropTargetLinkMark(TdxNavBarGroupViewInfo* G, TdxNavBarLinkViewInfo* ALinkBefore,
                                                     TdxNavBarLinkViewInfo* ALinkAfter) {
  bool icon = G->IsIconView();
  TPoint start, end;
  if (ALinkBefore) {
    start = icon ? TPoint(ALinkBefore->Rect.Right, ALinkBefore->Rect.Top)
                 : TPoint(ALinkBefore->Rect.Left, ALinkBefore->Rect.Bottom);
    end = TPoint(ALinkBefore->Rect.Right, ALinkBefore->Rect.Bottom);
  } else {
    start = TPoint(ALinkAfter->Rect.Left, ALinkAfter->Rect.Top);
    end = icon ? TPoint(ALinkAfter->Rect.Left, ALinkAfter->Rect.Bottom)
               : TPoint(ALinkAfter->Rect.Right, ALinkAfter->Rect.Top);
  }
  TRect area = G->ItemsRect.Inflate(1, 1);
  if (!area.Contains(start) || !area.Contains(end)) return;
  TdxNavBarViewInfo* vi = ViewInfo();
  TPoint p[6] = {start, start, start, end, end, end};
  if (!icon) {
    int arrow = vi->GetDropTargetArrowHeight() / 2, indent = vi->GetDropTargetArrowIndent();
    p[0].X = start.X + indent;
    if (ALinkBefore) p[1].Y = start.Y - arrow;
    if (ALinkAfter) p[2].Y = start.Y + arrow;
    int w = G->Rect.Width();
    p[3] = TPoint(w + p[0].X - 2 * indent - 1, start.Y);
    p[4] = TPoint(w + p[1].X - 1, p[1].Y);
    p[5] = TPoint(w + p[2].X - 1, p[2].Y);
  }
  GetDropTargetLinkPainterClass()->DrawMark(Canvas(), p, vi->GetDropTargetLinkColor());
}
