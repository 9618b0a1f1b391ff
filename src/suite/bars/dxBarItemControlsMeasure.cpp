// How an item control measures itself, which glyph and image it shows, which font and colours it
// draws with, and its glyph cache.

#include <algorithm>

#include "platform/gui/Controls.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Pictures.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarGlyphCache.h"
#include "suite/bars/dxBarItemControlsImpl.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/cxGraphicsImages.h"
#include "suite/core/cxStyles.h"

namespace {

TCustomImageList* ListOf(TComponent* C) { return dynamic_cast<TCustomImageList*>(C); }

bool HoldsImage(TCustomImageList* Images, int Index) {
  return Images && Index >= 0 && Index < Images->Count();
}

TBitmap* NonEmpty(TBitmap* Glyph) { return Glyph && !Glyph->Empty() ? Glyph : nullptr; }

TcxStyle* StyleAt(TdxBarItem* Item, int Index) {
  if (!Item || Index >= Item->StylesData()->Count()) return nullptr;
  return dynamic_cast<TcxStyle*>(Item->StylesData()->StyleAt(Index));
}

}  // namespace

// ---- glyphs and images

TBitmap* TdxBarItemControl::SmallGlyph() const { return FLink ? FLink->EffectiveGlyph() : nullptr; }

int TdxBarItemControl::SmallImageIndex() const { return LinkItem() ? LinkItem()->ImageIndex() : -1; }

TCustomImageList* TdxBarItemControl::SmallImages() const {
  TdxBarManager* m = LinkBarManager();
  if (!m) return nullptr;
  TCustomImageList* disabled = ListOf(m->ImageOptions()->DisabledImages());
  return !IsEnabled() && disabled ? disabled : ListOf(m->Images());
}

TCustomImageList* TdxBarItemControl::HotImages() const {
  TdxBarManager* m = LinkBarManager();
  return m ? ListOf(m->HotImages()) : nullptr;
}

TBitmap* TdxBarItemControl::LargeGlyph() const { return LinkItem() ? LinkItem()->LargeGlyph() : nullptr; }

int TdxBarItemControl::LargeImageIndex() const { return LinkItem() ? LinkItem()->LargeImageIndex() : -1; }

TCustomImageList* TdxBarItemControl::LargeImages() const {
  TdxBarManager* m = LinkBarManager();
  if (!m) return nullptr;
  TCustomImageList* disabled = ListOf(m->ImageOptions()->DisabledLargeImages());
  return !IsEnabled() && disabled ? disabled : ListOf(m->LargeImages());
}

TCustomImageList* TdxBarItemControl::ImagesFor(int SizeKind) const {
  return UsesLargePath(SizeKind) ? LargeImages() : SmallImages();
}

int TdxBarItemControl::ImageIndexFor(int SizeKind) const {
  if (UsesLargePath(SizeKind) && LargeImages() && LargeImageIndex() != -1) return LargeImageIndex();
  return SmallImageIndex();
}

bool TdxBarItemControl::DrawGlyphAsIs() const {
  if (IsEnabled()) return true;
  TdxBarManager* m = LinkBarManager();
  if (!m) return false;
  int kind = FDrawParams ? FDrawParams->GlyphSizeKind() : 0;
  bool large = UsesLargePath(kind);
  if (large ? NonEmpty(LargeGlyph()) : NonEmpty(SmallGlyph())) return false;
  return large ? m->ImageOptions()->DisabledLargeImages() != nullptr
               : m->ImageOptions()->DisabledImages() != nullptr;
}

bool TdxBarItemControl::UsesLargeIcons() const {
  TdxBarManager* m = LinkBarManager();
  TdxBarPainter* p = Painter();
  return m && m->ImageOptions()->LargeIcons() && (!p || dxBarControlsImpl::PainterAllowsLargeIcons(p));
}

bool TdxBarItemControl::UsesLargePath(int SizeKind) const {
  if (SizeKind == 2) return true;
  TdxBarManager* m = LinkBarManager();
  return PaintKind() != 1 && UsesLargeIcons() && m && m->ImageOptions()->UseLargeImagesForLargeIcons();
}

bool TdxBarItemControl::UsesLargeGlyph(int SizeKind) const {
  return UsesLargePath(SizeKind) && NonEmpty(LinkItem() ? LargeGlyph() : nullptr);
}

bool TdxBarItemControl::UsesLargeImage(int SizeKind) const {
  return UsesLargePath(SizeKind) && HoldsImage(LargeImages(), ImageIndexFor(SizeKind));
}

bool TdxBarItemControl::GlyphAndImages(int SizeKind, bool Hot, int& Index, TCustomImageList*& Images,
                                       TBitmap*& Glyph) const {
  Images = ImagesFor(SizeKind);
  Index = ImageIndexFor(SizeKind);
  if (UsesLargeGlyph(SizeKind))
    Glyph = NonEmpty(LargeGlyph());
  else if (UsesLargeImage(SizeKind))
    Glyph = nullptr;
  else
    Glyph = NonEmpty(SmallGlyph());
  if (Glyph || HoldsImage(Images, Index)) return true;
  Glyph = FBarControl ? NonEmpty(FBarControl->FallbackGlyph()) : nullptr;
  return Glyph != nullptr;
}

TSize TdxBarItemControl::GlyphSize(int SizeKind, bool Hot) const {
  int index;
  TCustomImageList* images;
  TBitmap* glyph;
  if (GlyphAndImages(SizeKind, Hot, index, images, glyph)) {
    if (glyph) return TSize{glyph->Width(), glyph->Height()};
    return TSize{images->Width(), images->Height()};
  }
  if (SizeKind == 2) return TSize{20, 20};
  TdxBarManager* m = LinkBarManager();
  int size = m ? m->ImageOptions()->GlyphSize() : 16;
  return TSize{size, size};
}

bool TdxBarItemControl::HasGlyphFor(int SizeKind) const {
  int index;
  TCustomImageList* images;
  TBitmap* glyph;
  return GlyphAndImages(SizeKind, false, index, images, glyph);
}

bool TdxBarItemControl::ShowsGlyphFor(int SizeKind, int Parts) const {
  return (Parts & dxBarGlyphPart) && HasGlyphFor(SizeKind);
}

int TdxBarItemControl::ViewSizeForLevel() const {
  switch (FViewInfo ? FViewInfo->ViewLevel : ivlDefault) {
    case ivlLargeIconWithText:
      return 2;
    case ivlSmallIconWithText:
    case ivlSmallIcon:
      return 0;
    default:
      return DefaultViewSize();
  }
}

int TdxBarItemControl::DefaultViewSize() const {
  if (MenuItemSize() == misLarge) return 2;
  return UsesLargeIcons() ? 1 : 0;
}

void TdxBarItemControl::ResetGlyphCache(bool ResetWidths) {
  if (FCachedImageOptions) FCachedImageOptions->Valid = false;
  if (ResetWidths && FViewInfo) FViewInfo->ResetLevelWidths();
}

// ---- fonts and colours

void TdxBarItemControl::SelectItemFont(TFont* FontSource, int StyleIndex, TdxBarItemFontState& Saved) {
  Saved.Changed = false;
  TcxCanvas* canvas = DrawingCanvas();
  TcxStyle* style = StyleAt(LinkItem(), StyleIndex);
  bool styleFont = style && style->AssignedValues().Contains(svFont);
  if (!canvas || !(styleFont || FontSource)) return;
  Saved.Changed = true;
  Saved.Saved = std::make_unique<TFont>();
  Saved.Saved->Assign(canvas->CurrentFont());
  TFont* base = FontSource ? FontSource : Saved.Saved.get();
  TFont chosen;
  chosen.Assign(styleFont ? style->Font() : base);
  // Rotated bars keep their rotated text.
  chosen.SetOrientation(base->Orientation());
  canvas->AssignFont(&chosen);
}

void TdxBarItemControl::RestoreItemFont(TdxBarItemFontState& Saved) {
  if (!Saved.Changed) return;
  if (TcxCanvas* canvas = DrawingCanvas(); canvas && Saved.Saved) canvas->AssignFont(Saved.Saved.get());
  Saved.Changed = false;
  Saved.Saved.reset();
}

void TdxBarItemControl::GetTextColors(bool Enabled, bool Selected, bool Flat, TColor& Color,
                                      TColor& SecondColor) const {
  TdxBarPainter* p = Painter();
  auto* self = const_cast<TdxBarItemControl*>(this);
  if (Enabled) {
    TcxStyle* style = StyleAt(LinkItem(), 0);
    TColor c = style && style->AssignedValues().Contains(svTextColor) ? style->TextColor() : clDefault;
    if (c == clDefault) c = p ? dxBarControlsImpl::PainterDefaultCaptionColor(p, self, Selected, Flat) : clBtnText;
    Color = SecondColor = c;
  } else if (p) {
    dxBarControlsImpl::PainterDisabledCaptionColors(p, self, Selected, SecondColor, Color, Flat);
  } else {
    Color = SecondColor = clGrayText;
  }
}

void TdxBarItemControl::RecalcTextMetrics() {
  TdxBarItemFontState font;
  SelectItemFont(nullptr, 0, font);
  try {
    UpdateStyleMetrics();
  } catch (...) {
    RestoreItemFont(font);
    throw;
  }
  RestoreItemFont(font);
}

void TdxBarItemControl::UpdateStyleMetrics() {
  if (FBackgroundBrush) DeleteObject(FBackgroundBrush);
  FBackgroundBrush = nullptr;
  TdxBarItem* item = LinkItem();
  if (item && item->IsStaticItem()) {
    TcxStyle* style = StyleAt(item, 0);
    if (style && style->AssignedValues().Contains(svColor) && style->Color() != clDefault)
      FBackgroundBrush = CreateSolidBrush(ColorToRGB(style->Color()));
  }
  TcxCanvas* canvas = DrawingCanvas();
  TdxBarPainter* p = Painter();
  FMeasuredTextSize = 0;
  if (canvas && p)
    FMeasuredTextSize = FBarControl && FBarControl->BarControlKind() == 2
                            ? dxBarControlsImpl::PainterMenuTextSize(p, canvas)
                            : dxBarControlsImpl::PainterDefaultTextSize(p, canvas);
}

int TdxBarItemControl::OwnTextSize() const {
  TcxStyle* style = StyleAt(LinkItem(), 0);
  if (style && style->AssignedValues().Contains(svFont)) return FMeasuredTextSize;
  return FBarControl ? FBarControl->TextSize() : FMeasuredTextSize;
}

int TdxBarItemControl::TextWidthOf(const std::string& Text) {
  TcxCanvas* canvas = DrawingCanvas();
  if (!canvas) return 0;
  TdxBarItemFontState font;
  SelectItemFont(nullptr, 0, font);
  int w = canvas->MeasureTextWidth(Text);
  RestoreItemFont(font);
  return w;
}

int TdxBarItemControl::TextHeight() {
  TcxCanvas* canvas = DrawingCanvas();
  if (!canvas) return 0;
  TdxBarItemFontState font;
  SelectItemFont(nullptr, 0, font);
  int h = canvas->MeasureTextHeight("Zq");
  RestoreItemFont(font);
  return h;
}

// ---- sizes

int TdxBarItemControl::CaptionWidth() {
  TdxBarPainter* p = Painter();
  if (!DrawingCanvas()) return 0;
  TdxBarItemFontState font;
  SelectItemFont(nullptr, 0, font);
  TcxCanvas* previous = FDrawParams->DrawCanvas;
  FDrawParams->DrawCanvas = DrawingCanvas();
  if (FDrawParams->CaptionText.empty()) CaptionText(FDrawParams->CaptionText);
  TRect r = dxBarControlsImpl::PainterCaptionTextRect(p, FDrawParams.get());
  FDrawParams->DrawCanvas = previous;
  RestoreItemFont(font);
  return r.Width();
}

void TdxBarItemControl::GetControlMargins(int Kind, TRect& Margins) {
  TdxBarPainter* p = Painter();
  Margins = p ? dxBarControlsImpl::PainterControlMargins(p, FDrawParams.get(), Kind) : TRect(3, 0, 3, 0);
}

int TdxBarItemControl::TextPartWidth() {
  int parts = FDrawParams->ShownParts;
  if (!(parts & dxBarCaptionPart)) return 0;
  TdxBarPainter* p = Painter();
  if (PaintKind() == 1) {
    int width = CaptionWidth();
    if (ShowsShortCut() && ShortCutOf()) {
      // The shortcut is drawn right-aligned a text size + 5 pixels in from the item's right edge:
      // keep that inset as well as the gap before it, or the widest entry's shortcut runs over
      // its caption.
      const int textSize = FBarControl ? FBarControl->TextSize() : 0;
      width += TextWidthOf(FDrawParams->ShortCutText) + (textSize - 6) + (textSize + 5);
    }
    if (MenuItemSize() == misLarge && ShowsDescription() && !FDrawParams->DescriptionText.empty()) {
      const std::string& d = FDrawParams->DescriptionText;
      int half = TextWidthOf(d) / 2;
      width = std::max(width, half + TextWidthOf("W"));
    }
    TRect m;
    GetControlMargins(1, m);
    return width + m.Left + m.Right + (p ? dxBarControlsImpl::PainterSeparatorTextIndent(p, FDrawParams.get()) : 0);
  }
  if (parts & dxBarGlyphPart)
    return CaptionWidth() + (p ? dxBarControlsImpl::PainterCaptionGlyphGap(p).Left : 4);
  return CaptionWidth() + 2 * TextIndent();
}

int TdxBarItemControl::GlyphPartWidth() {
  if (PaintKind() == 1) return FBarControl ? FBarControl->IconAreaWidth() : 0;
  if (FDrawParams->ShownParts & dxBarGlyphPart)
    return SelectByRotation(FDrawParams->GlyphExtent.cx, FDrawParams->GlyphExtent.cy);
  return 0;
}

int TdxBarItemControl::TextIndent() {
  TFont* font = nullptr;
  if (auto* control = dynamic_cast<TControl*>(FBarControl)) font = control->Font();
  if (!font && LinkBarManager()) font = LinkBarManager()->Font();
  return font ? font->Size() / 2 : 0;
}

int TdxBarItemControl::Height() {
  if (FBarControl && FBarControl->BarControlKind() == 2) return MenuItemHeight();
  return IsRotated() ? NaturalWidth() : NaturalHeight();
}

int TdxBarItemControl::Width() {
  if (PaintKind() == 1) return MenuItemWidth();
  return IsRotated() ? NaturalHeight() : NaturalWidth();
}

int TdxBarItemControl::NaturalHeight() {
  return FDrawParams->GlyphSizeKind() == 2 ? LargeHeight() : SmallHeight();
}

int TdxBarItemControl::NaturalWidth() {
  return FDrawParams->GlyphSizeKind() == 2 ? LargeWidth() : SmallWidth();
}

int TdxBarItemControl::SmallWidth() { return GlyphPartWidth() + TextPartWidth() + ExtraPartWidth(); }

int TdxBarItemControl::SmallHeight() {
  int parts = FDrawParams->ShownParts;
  int caption = parts & dxBarCaptionPart ? OwnTextSize() : 0;
  int glyph = parts & dxBarGlyphPart
                  ? SelectAcrossRotation(FDrawParams->GlyphExtent.cx, FDrawParams->GlyphExtent.cy)
                  : 0;
  return std::max(caption, glyph);
}

namespace {
TdxBarGlyphLayout LayoutOf(TdxBarItem* Item) { return Item ? Item->GlyphLayout() : glTop; }
}  // namespace

int TdxBarItemControl::LargeWidth() {
  TSize g = GlyphSize(2, false);
  int along = SelectByRotation(g.cx, g.cy);
  if (!(FDrawParams->ShownParts & dxBarCaptionPart)) return along + 10;
  TdxBarGlyphLayout layout = LayoutOf(LinkItem());
  if (layout == glLeft || layout == glRight) return along + CaptionWidth() + 16;
  return std::max(along, CaptionWidth() + 6) + 10;
}

int TdxBarItemControl::LargeHeight() {
  TSize g = GlyphSize(2, false);
  int across = SelectAcrossRotation(g.cx, g.cy);
  if (!(FDrawParams->ShownParts & dxBarCaptionPart)) return across + 6;
  TdxBarGlyphLayout layout = LayoutOf(LinkItem());
  if (layout == glLeft || layout == glRight) return std::max(across, TextHeight()) + 6;
  return across + TextHeight() + 7;
}

int TdxBarItemControl::MenuItemHeight() {
  int value = FBarControl ? FBarControl->TextWidthFor(this) : OwnTextSize();
  if (TdxBarPainter* p = Painter()) dxBarControlsImpl::PainterAdjustMenuExtent(p, value);
  return value;
}

int TdxBarItemControl::MenuItemWidth() {
  int width = SmallWidth();
  if (TdxBarPainter* p = Painter()) dxBarControlsImpl::PainterAdjustMenuItemWidth(p, width);
  return width;
}

int TdxBarItemControl::LayoutHeight() {
  TdxBarItemFontState font;
  SelectItemFont(nullptr, 0, font);
  int h;
  try {
    CalcDrawParams(false);
    h = Height();
    if (EffectiveAlign() == iaClient && FBarControl && FBarControl->BarControlKind() == 0 &&
        FBarControl->IsDockedVertically())
      h = IsRotated() ? MinWidth() : MinHeight();
  } catch (...) {
    RestoreItemFont(font);
    throw;
  }
  RestoreItemFont(font);
  return h;
}

int TdxBarItemControl::LayoutWidth() {
  TdxBarItemFontState font;
  SelectItemFont(nullptr, 0, font);
  int w;
  try {
    CalcDrawParams(false);
    w = std::max(Width(), MinWidth());
    if (EffectiveAlign() == iaClient && FBarControl && (FBarControl->NavigationFlags() & 16) &&
        !FBarControl->IsDockedVertically())
      w = MinWidth();
  } catch (...) {
    RestoreItemFont(font);
    throw;
  }
  RestoreItemFont(font);
  return w;
}

// ---- glyph cache

TdxCachedImageOptions::TdxCachedImageOptions() : FCacheBitmap(std::make_unique<TcxAlphaBitmap>(0, 0)) {}

TdxCachedImageOptions::~TdxCachedImageOptions() = default;

bool TdxCachedImageOptions::IsValidFor(int ADrawMode, TBitmap* Glyph, TCustomImageList* AImages) const {
  if (!Valid || DrawMode != ADrawMode || FCacheBitmap->Empty()) return false;
  return Glyph ? Glyph == SourceGlyph : AImages == Images;
}

void TdxCachedImageOptions::Fill(const TRect& R, TBitmap* Glyph, int ADrawMode, TCustomImageList* AImages,
                                 const TRenderProc& Render) {
  FCacheBitmap->SetSize(R.Width(), R.Height());
  FCacheBitmap->ClearBits();
  if (Render) Render(FCacheBitmap->Canvas()->Handle(), TRect(0, 0, R.Width(), R.Height()));
  DrawMode = ADrawMode;
  Images = AImages;
  SourceGlyph = Glyph;
  if (Glyph && !Glyph->Empty()) Glyph->Dormant();
  Valid = true;
  ++FFillCount;
}

TcxAlphaBitmap* TdxCachedImageOptions::PreparedBitmap() {
  if (FPreparedFill != FFillCount || !FPreparedBitmap) {
    if (!FPreparedBitmap) FPreparedBitmap = std::make_unique<TcxAlphaBitmap>(0, 0);
    dxBarPrepareGlyphCached(FCacheBitmap.get(), FPreparedBitmap.get());
    FPreparedFill = FFillCount;
  }
  return FPreparedBitmap.get();
}
