// How a screen tip is measured, laid out band by band and painted, and the window showing it.
#include <algorithm>
#include <cmath>

#include "suite/core/cxGraphicsImages.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/dxScreenTip.h"

// ---- painter adapter

TColor TdxScreenTipPainter::DescriptionTextColor() const {
  return FPainter ? FPainter->TipDescriptionColor() : clDefault;
}
int TdxScreenTipPainter::FooterLineSize() const { return FPainter ? FPainter->TipFooterLineSize() : 3; }
TColor TdxScreenTipPainter::TitleTextColor() const { return FPainter ? FPainter->TipTitleColor() : clDefault; }

void TdxScreenTipPainter::DrawBackground(TcxCanvas* ACanvas, const TRect& R) const {
  if (FPainter)
    FPainter->DrawTipBackground(ACanvas, R);
  else
    ACanvas->FillRectWithColor(R, clInfoBk);
}

void TdxScreenTipPainter::DrawFooterLine(TcxCanvas* ACanvas, const TRect& R) const {
  if (FPainter) FPainter->DrawTipFrame(ACanvas, R);
}

// ---- bands

TdxScreenTipBandViewInfo::TdxScreenTipBandViewInfo(TdxCustomScreenTipBand* ABand, const std::string& AHintText,
                                                   const std::string& AShortCutText)
    : FBand(ABand) {
  if (ABand->BandType() == stbHeader)
    FText = (AHintText.empty() ? ABand->Text() : AHintText) + AShortCutText;
  else
    FText = ABand->Text();
}

int TdxScreenTipBandViewInfo::HorizontalIndent() const {
  return ScaleByCurrentDPI(FBand->BandType() == stbDescription ? 14 : 6);
}

int TdxScreenTipBandViewInfo::VerticalIndent(const TdxScreenTipPainter* APainter) const {
  int indent = ScaleByCurrentDPI(6);
  return FBand->BandType() == stbFooter ? APainter->FooterLineSize() + indent : indent;
}

int TdxScreenTipBandViewInfo::GlyphColumnWidth() const {
  return FBand->BandType() == stbDescription ? ScaleByCurrentDPI(108) - HorizontalIndent() : ScaleByCurrentDPI(16);
}

UINT TdxScreenTipBandViewInfo::TextFlags() const {
  UINT flags = DT_NOPREFIX;
  if (FBand->BandType() == stbDescription) flags |= DT_WORDBREAK | DT_EDITCONTROL;
  return flags;
}

int TdxScreenTipBandViewInfo::CalcHeight(TcxCanvas* ACanvas, int AWidth, const TdxScreenTipPainter* APainter) {
  FWidth = AWidth;
  FGlyphSize = {0, 0};
  FTextSize = {0, 0};
  if (FText.empty() && !HasGlyph()) return FHeight = 0;
  int indent = HorizontalIndent();
  int column = GlyphColumnWidth();
  if (HasGlyph()) {
    TBitmap* g = FBand->Glyph();
    if (g->Width() < column)
      FGlyphSize = {g->Width(), g->Height()};
    else
      FGlyphSize = {column, int(std::lround(double(g->Height()) * column / g->Width()))};
  }
  if (!FText.empty()) {
    int available = AWidth - 2 * indent;
    if (HasGlyph()) available -= column + indent;
    ACanvas->AssignFont(FBand->Font());
    SelectCanvasObjects(ACanvas);
    RECT r{0, 0, std::max(available, 0), 0};
    ::DrawText(ACanvas->CurrentDC(), FText.c_str(), -1, &r, DT_CALCRECT | TextFlags());
    FTextSize = {r.right - r.left, r.bottom - r.top};
  }
  return FHeight = std::max(FGlyphSize.cy, FTextSize.cy) + 2 * VerticalIndent(APainter);
}

void TdxScreenTipBandViewInfo::Arrange(int AWidth, int ATop, const TdxScreenTipPainter* APainter, int AHeight) {
  FWidth = AWidth;
  FTop = ATop;
  FHeight = AHeight;
  int indent = HorizontalIndent();
  int column = GlyphColumnWidth();
  int textTop = ATop + VerticalIndent(APainter);
  if (FBand->TextAlign() == stbtaRight) {
    int left = HasGlyph() ? indent + column + indent : indent;
    FTextRect = TRect(left, textTop, AWidth - indent, textTop + FTextSize.cy);
  } else {
    FTextRect = TRect(indent, textTop, indent + FTextSize.cx, textTop + FTextSize.cy);
  }
  if (!HasGlyph()) {
    FGlyphRect = TRect();
    return;
  }
  int glyphTop = FBand->BandType() == stbDescription ? textTop : ATop + (AHeight - FGlyphSize.cy) / 2;
  int columnLeft = FBand->TextAlign() == stbtaRight ? indent : AWidth - indent - column;
  int glyphLeft = columnLeft + (column - FGlyphSize.cx) / 2;
  FGlyphRect = Bounds(glyphLeft, glyphTop, FGlyphSize.cx, FGlyphSize.cy);
}

void TdxScreenTipBandViewInfo::Paint(TcxCanvas* ACanvas, const TdxScreenTipPainter* APainter) {
  if (!FText.empty()) {
    ACanvas->AssignFont(FBand->Font());
    TColor painterColor =
        FBand->BandType() == stbDescription ? APainter->DescriptionTextColor() : APainter->TitleTextColor();
    if (FBand->IsFontColorDefault() && painterColor != clDefault) ACanvas->CurrentFont()->SetColor(painterColor);
    SelectCanvasObjects(ACanvas);
    HDC dc = ACanvas->CurrentDC();
    SetTextColor(dc, ColorToRGB(ACanvas->CurrentFont()->Color()));
    int mode = SetBkMode(dc, TRANSPARENT);
    RECT r = FTextRect;
    ::DrawText(dc, FText.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    SetBkMode(dc, mode);
  }
  if (HasGlyph())
    DrawImageInState(ACanvas->CurrentDC(), FGlyphRect, FGlyphRect, FBand->Glyph(), nullptr, -1, ImageDrawNormal,
                     true);
  if (FBand->BandType() == stbFooter)
    APainter->DrawFooterLine(ACanvas, TRect(5, FTop, FWidth - 5, FTop + APainter->FooterLineSize()));
}

// ---- screen tip view info

TdxScreenTipViewInfoHelper::TdxScreenTipViewInfoHelper(TdxScreenTip* AScreenTip, const std::string& AShortCut,
                                                       const std::string& AHint, TdxScreenTipPainter* APainter)
    : FPainter(APainter),
      FScreenTip(AScreenTip),
      FHintText(AScreenTip->UseHintAsHeader() ? AHint : std::string()),
      FShortCutText(AShortCut) {}

TdxScreenTipBandViewInfo* TdxScreenTipViewInfoHelper::CreateBandViewInfo(TdxCustomScreenTipBand* ABand) {
  return new TdxScreenTipBandViewInfo(ABand, FHintText, FShortCutText);
}

void TdxScreenTipViewInfoHelper::Calculate(TcxCanvas* ACanvas) {
  FWidth = FScreenTip->EffectiveWidth();
  FBands.clear();
  int top = 0;
  for (TdxScreenTipBandType type : {stbHeader, stbDescription, stbFooter}) {
    TdxCustomScreenTipBand* band = FScreenTip->BandOf(type);
    bool keep = !band->Text().empty() || band->HasGlyph() || (type == stbHeader && !FHintText.empty());
    if (!keep) continue;
    std::unique_ptr<TdxScreenTipBandViewInfo> info(CreateBandViewInfo(band));
    int height = info->CalcHeight(ACanvas, FWidth, FPainter);
    if (type == stbHeader) {
      int needed = info->TextSize().cx + 2 * info->HorizontalIndent();
      if (info->HasGlyph()) needed += info->HorizontalIndent();
      FWidth = std::max(FWidth, needed);
    }
    info->Arrange(FWidth, top, FPainter, height);
    top += height;
    FBands.push_back(std::move(info));
  }
  FBounds = TRect(0, 0, FWidth, top);
}

void TdxScreenTipViewInfoHelper::Paint(TcxCanvas* ACanvas) {
  ACanvas->PushClipRegion();
  HRGN rounded = CreateRoundRectRgn(FBounds.Left, FBounds.Top, FBounds.Right + 1, FBounds.Bottom + 1, 2, 2);
  // Clip regions are in device units.
  TPoint vp = ACanvas->ViewportOrigin(), wo = ACanvas->WindowOrigin();
  OffsetRgn(rounded, vp.X - wo.X, vp.Y - wo.Y);
  ExtSelectClipRgn(ACanvas->CurrentDC(), rounded, RGN_AND);
  DeleteObject(rounded);
  FPainter->DrawBackground(ACanvas, FBounds);
  for (auto& band : FBands) band->Paint(ACanvas, FPainter);
  ACanvas->PopClipRegion();
}

TdxScreenTipViewInfo::TdxScreenTipViewInfo(TdxScreenTip* AScreenTip, const std::string& AShortCut,
                                           const std::string& AHint, TcxCustomLookAndFeelPainter* APainter)
    : FScreenTip(AScreenTip), FShortCut(AShortCut), FHint(AHint), FPainter(APainter) {}

TdxCustomHintViewInfoHelper* TdxScreenTipViewInfo::CreateHelper() {
  return new TdxScreenTipViewInfoHelper(FScreenTip, FShortCut, FHint, &FPainter);
}

// ---- screen-tip-like hint

void TdxScreenTipLikeHintViewInfoHelper::CorrectMinSize(TSize& Size) {
  Size.cx += 6 + 5;
  Size.cy += 6 + 5;
}

TRect TdxScreenTipLikeHintViewInfoHelper::GetTextRect() {
  return TRect(FBounds.Left + 5, FBounds.Top + 6, FBounds.Right - 6, FBounds.Bottom - 5);
}

void TdxScreenTipLikeHintViewInfoHelper::ApplyTextColor(TcxCanvas* ACanvas) {
  TColor c = FPainter->TitleTextColor();
  ACanvas->CurrentFont()->SetColor(c == clDefault ? Screen->HintFont()->Color() : c);
}

void TdxScreenTipLikeHintViewInfoHelper::Paint(TcxCanvas* ACanvas) {
  FPainter->DrawBackground(ACanvas, FBounds);
  ApplyHintFont(ACanvas);
  ApplyTextColor(ACanvas);
  DrawText(ACanvas);
}

// ---- window

TdxScreenTipWindow::TdxScreenTipWindow(TComponent* AOwner) : TcxCustomHintWindow(AOwner) {
  SetColor(clInfoBk);
  SetAnimationStyle(cxhaNone);
  SetBorder(true);
}

TdxScreenTipWindow::~TdxScreenTipWindow() = default;

TdxCustomHintViewInfo* TdxScreenTipWindow::CreateViewInfo(const std::string& AHint) {
  TcxHintController* hints = cxHintController();
  TcxCustomLookAndFeelPainter* painter = hints ? hints->HintPainter() : nullptr;
  TdxScreenTip* tip = FScreenTip;
  std::string shortCut;
  if (!tip && hints)
    if (TcxCustomHintStyleController* c = hints->ActiveController())
      if (auto* style = dynamic_cast<TdxScreenTipStyle*>(c->HintStyle()))
        style->FindScreenTip(hints->HintedControl(), tip, shortCut);
  TdxScreenTipRepository* repository = tip ? tip->Repository() : nullptr;
  if (tip && repository && repository->ShowDescription())
    return new TdxScreenTipViewInfo(tip, tip->UseHintAsHeader() ? std::string() : shortCut, AHint, painter);
  if (tip && !tip->UseHintAsHeader() && !tip->Header()->Text().empty())
    return new TdxScreenTipLikeHintViewInfo(tip->Header()->Text(), shortCut, TPoint(0, 0), painter);
  return new TdxScreenTipLikeHintViewInfo(AHint, {}, TPoint(0, 0), painter);
}

TRect TdxScreenTipWindow::CalcHintRect(int MaxWidth, const std::string& AHint, void* AData) {
  FViewInfo.reset();
  TcxHintController* hints = cxHintController();
  if (hints && hints->ActiveController()) {
    SetStandardHint(false);
    FViewInfo.reset(CreateViewInfo(AHint));
    FViewInfo->Calculate(cxCanvas());
    return FViewInfo->HintBounds();
  }
  SetStandardHint(true);
  Canvas()->SetFont(Screen->HintFont());
  return AHint.empty() ? TRect() : TcxCustomHintWindow::CalcHintRect(MaxWidth, AHint, AData);
}

void TdxScreenTipWindow::FitToDesktop(TRect& Rect) {
  // The rounded region leaves the last row and column out; the border stands outside the tip.
  Rect.Right += 1;
  Rect.Bottom += 1;
  Rect = Rect.Offset(-FBorderWidth, -FBorderWidth);
  TcxCustomHintWindow::FitToDesktop(Rect);
}

void TdxScreenTipWindow::SetWindowRegion() {
  if (!HandleAllocated()) return;
  HRGN rgn = CreateRoundRectRgn(0, 0, Width(), Height(), 2, 2);
  OffsetRgn(rgn, FBorderWidth, FBorderWidth);
  SetWindowRgn(Handle(), rgn, TRUE);
}

void TdxScreenTipWindow::ShowHintAt(int X, int Y, const std::string& ACaption, const std::string& AHint,
                                    int AMaxWidth) {
  if (AMaxWidth == 0) AMaxWidth = Screen->Width();
  TRect r = CalcHintRect(AMaxWidth, AHint, nullptr).Offset(X, Y);
  ActivateHint(r, AHint);
}

void TdxScreenTipWindow::Paint() {
  if (StandardHint() || !FViewInfo) {
    ClearWindowRegion();
    TcxCustomHintWindow::Paint();
    return;
  }
  // The window has no frame of its own: the tip stands one border width in, inside the region.
  TcxCanvas* canvas = cxCanvas();
  TPoint origin = canvas->WindowOrigin();
  canvas->ApplyWindowOrigin(TPoint(origin.X - FBorderWidth, origin.Y - FBorderWidth));
  FViewInfo->Paint(canvas);
  canvas->ApplyWindowOrigin(origin);
}

void TdxScreenTipWindow::Dispatch(TMessage& Message) {
  TcxCustomHintWindow::Dispatch(Message);
  if (Message.Msg == WM_SHOWWINDOW && Message.WParam == 0) {
    FViewInfo.reset();
    if (TcxHintController* hints = cxHintController()) hints->SetHintedControl(nullptr);
  }
}
