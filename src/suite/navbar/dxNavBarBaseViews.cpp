#include "suite/navbar/dxNavBarBaseViews.h"

#include "suite/core/dxOffice11.h"

// ---- layout

int TdxNavBarBaseViewInfo::GetActiveGroupMinClientHeight() {
  TdxNavBarGroupViewInfo* a = ActiveGroupViewInfo();
  if (!a) return 0;
  TdxNavBarGroup* g = a->Group();
  if (g->ShowControl() && g->Control() && g->Control()->Height() > 0) return g->Control()->Height();
  int h = 2 * GetScrollButtonHeight() + 3 * GetScrollButtonVerticalEdge();
  int k = g->TopVisibleLinkIndex();
  if (k >= 0 && k < a->LinkCount()) h = std::max(h, a->LinkAt(k)->Rect.Height() + GetLinksEdge());
  return h;
}

void TdxNavBarBaseViewInfo::AlignGroups() {
  TdxNavBarGroupViewInfo* a = ActiveGroupViewInfo();
  if (GroupCount() == 0 || !a) return;
  int free = ClientHeight() - GroupAt(GroupCount() - 1)->Rect.Bottom;
  int m = GetActiveGroupMinClientHeight();
  if (free + a->ItemsRect.Bottom < m + a->ItemsRect.Top) free = m + a->ItemsRect.Top - a->ItemsRect.Bottom;
  a->Grow(0, free);
  for (int i = IndexOfGroupViewInfo(a) + 1; i < GroupCount(); ++i) GroupAt(i)->Offset(0, free);
  CalculateScrollButtonsBounds();
}

bool TdxNavBarBaseViewInfo::IsGroupExpanded(TdxNavBarGroup* AGroup) { return AGroup == NavBar()->ActiveGroup(); }

void TdxNavBarBaseViewInfo::ExpandGroup(TdxNavBarGroup* AGroup) {
  if (AGroup->Index() != NavBar()->ActiveGroupIndex()) NavBar()->SetActiveGroup(AGroup);
}

void TdxNavBarBaseViewInfo::MakeGroupVisible(TdxNavBarGroup* AGroup, bool, bool) { NavBar()->SetActiveGroup(AGroup); }

void TdxNavBarBaseViewInfo::MakeLinkVisible(TdxNavBarItemLink* ALink, bool AtTop) {
  TdxNavBarGroup* g = ALink->Group();
  if (!g) return;
  TdxCustomNavBar* bar = NavBar();
  if (bar->ActiveGroup() != g) {
    bar->SetActiveGroup(g);
    Painter()->CheckViewInfo();
  }
  TdxNavBarGroupViewInfo* entry = FindGroupViewInfo(g);
  TdxNavBarLinkViewInfo* l = entry ? entry->FindLinkViewInfo(ALink) : nullptr;
  if (!l) return;
  if (AtTop || entry->ItemsRect.Top >= l->Rect.Top || l->Rect.Height() > entry->ItemsRect.Height()) {
    g->SetTopVisibleLinkIndex(ALink->Index());
  } else {
    while (l->Rect.Bottom > entry->ItemsRect.Bottom && g->TopVisibleLinkIndex() < g->LinkCount() - 1) {
      g->SetTopVisibleLinkIndex(g->TopVisibleLinkIndex() + 1);
      Painter()->InvalidateViewInfo(nbctRecalculate);
      Painter()->CheckViewInfo();
      entry = FindGroupViewInfo(g);
      l = entry ? entry->FindLinkViewInfo(ALink) : nullptr;
      if (!l) return;
    }
  }
  bar->InvalidateAll(nbctRebuild);
}

// ---- element painters

namespace {
TColor Light(TColor C, int P) { return LightenColorByPercent(C, P); }
TColor Dark(TColor C, int P) { return ScaleColorByPercent(C, P); }
}  // namespace

void TdxNavBarBaseSelectionPainter::GetColors(TdxNavBarObjectStates AState, TColor ABackColor, TColor& AOuterLeftTop,
                                              TColor& AOuterRightBottom, TColor& AInnerLeftTop,
                                              TColor& AInnerRightBottom, TColor& AFillColor) const {
  if (IsPressed(AState)) {
    AOuterLeftTop = Dark(ABackColor, 20);
    AOuterRightBottom = Light(ABackColor, 20);
  } else {
    AOuterLeftTop = Light(ABackColor, 20);
    AOuterRightBottom = Dark(ABackColor, 20);
  }
  AInnerLeftTop = AInnerRightBottom = AFillColor = clNone;
}

void TdxNavBarBaseButtonPainter::DrawButton(TcxCanvas* ACanvas, const TRect& R, TPicture* AImage, TColor AColor1,
                                            TColor AColor2, uint8_t AAlpha1, uint8_t AAlpha2,
                                            TdxBarStyleGradientMode AGradientMode, TColor ABorderColor,
                                            TdxNavBarObjectStates AState) const {
  TdxNavBarCustomButtonPainter::DrawButton(ACanvas, R, AImage, AColor1, AColor2, AAlpha1, AAlpha2, AGradientMode,
                                           ABorderColor, AState);
  DrawFrame(ACanvas, R, AColor1, AState);
  if (AState & sActive) ACanvas->FillRectWithColor(TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), clBlack);
}

void TdxNavBarBaseButtonPainter::DrawFrame(TcxCanvas* ACanvas, const TRect& R, TColor B,
                                           TdxNavBarObjectStates AState) const {
  if (AState & sPressed)
    dxNavBarDrawDoubleFrame(ACanvas, R, Dark(B, 20), Dark(B, 70), Dark(B, 70), Dark(B, 20));
  else
    dxNavBarDrawDoubleFrame(ACanvas, R, Light(B, 20), Dark(B, 70), Light(B, 70), Dark(B, 20));
}

void TdxNavBarFlatButtonPainter::DrawFrame(TcxCanvas* ACanvas, const TRect& R, TColor B,
                                           TdxNavBarObjectStates AState) const {
  if (AState & sPressed)
    dxNavBarDrawDoubleFrame(ACanvas, R, Dark(B, 20), clNone, Dark(B, 70), Light(B, 20));
  else if (AState & sHotTracked)
    dxNavBarDrawDoubleFrame(ACanvas, R, Light(B, 20), Dark(B, 70), clNone, Dark(B, 20));
  else
    dxNavBarDrawDoubleFrame(ACanvas, R, Light(B, 20), clNone, clNone, Dark(B, 70));
}

void TdxNavBarBaseScrollButtonsPainter::DrawArrow(TcxCanvas* ACanvas, const TRect& R, TdxNavBarObjectStates AState,
                                                  bool Down) const {
  TColor color = (AState & sDisabled) ? clGrayText : clBlack;
  TCanvas* c = ACanvas->Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(color);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetColor(color);
  int half = R.Height() / 4;
  int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
  int h = half / 2;
  TPoint p[3];
  if (Down) {
    p[0] = TPoint(cx - half, cy - h);
    p[1] = TPoint(cx + half, cy - h);
    p[2] = TPoint(cx, cy - h + half);
  } else {
    p[0] = TPoint(cx - half, cy + h);
    p[1] = TPoint(cx + half, cy + h);
    p[2] = TPoint(cx, cy + h - half);
  }
  ACanvas->DrawPolygon(p, 3);
}

void TdxNavBarBaseScrollButtonsPainter::DrawBottomButton(TcxCanvas* ACanvas, const TRect& R,
                                                         TdxNavBarObjectStates AState, TColor ABorderColor,
                                                         const TdxNavBarButtonStyle& S,
                                                         const TdxNavBarCustomButtonPainter* AButtonPainter) const {
  AButtonPainter->DrawButton(ACanvas, R, S.Image, S.BackColor, S.BackColor2, S.AlphaBlending, S.AlphaBlending2,
                             S.GradientMode, ABorderColor, AState);
  DrawArrow(ACanvas, R, AState, true);
}

void TdxNavBarBaseScrollButtonsPainter::DrawTopButton(TcxCanvas* ACanvas, const TRect& R, TdxNavBarObjectStates AState,
                                                      TColor ABorderColor, const TdxNavBarButtonStyle& S,
                                                      const TdxNavBarCustomButtonPainter* AButtonPainter) const {
  AButtonPainter->DrawButton(ACanvas, R, S.Image, S.BackColor, S.BackColor2, S.AlphaBlending, S.AlphaBlending2,
                             S.GradientMode, ABorderColor, AState);
  DrawArrow(ACanvas, R, AState, false);
}

// ---- painters

const TdxNavBarCustomButtonPainter* TdxNavBarBasePainter::GetButtonPainterClass() const {
  return NavBarElementPainter<TdxNavBarBaseButtonPainter>();
}

const TdxNavBarCustomScrollButtonsPainter* TdxNavBarBasePainter::GetScrollButtonsPainterClass() const {
  return NavBarElementPainter<TdxNavBarBaseScrollButtonsPainter>();
}

const TdxNavBarCustomSelectionPainter* TdxNavBarBasePainter::GetSelectionPainterClass() const {
  return NavBarElementPainter<TdxNavBarBaseSelectionPainter>();
}

const TdxNavBarCustomButtonPainter* TdxNavBarFlatPainter::GetButtonPainterClass() const {
  return NavBarElementPainter<TdxNavBarFlatButtonPainter>();
}

void dxNavBarBaseViewsInitialize() {
  RegisterClass<TdxNavBarPainter, TPersistent>();
  RegisterClass<TdxNavBarElementPainter, TdxNavBarPainter>();
  RegisterView(dxNavBarBaseView, "BaseView", NavBarPainterClassOf<TdxNavBarBasePainter, TdxNavBarElementPainter>());
  RegisterView(dxNavBarFlatView, "FlatView", NavBarPainterClassOf<TdxNavBarFlatPainter, TdxNavBarBasePainter>());
}

void dxNavBarBaseViewsFinalize() {
  UnregisterView(dxNavBarBaseView);
  UnregisterView(dxNavBarFlatView);
}
