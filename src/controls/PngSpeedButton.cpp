#include "controls/PngSpeedButton.h"

#include "controls/PngButtonFunctions.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/Streaming.h"
#include "platform/rtl/TypInfo.h"

TPngSpeedButton::TPngSpeedButton(TComponent* AOwner)
    : TSpeedButton(AOwner), FPngImage(std::make_unique<TPNGObject>()) {}

TPngSpeedButton::~TPngSpeedButton() = default;

void TPngSpeedButton::SetPngImage(TPNGObject* Value) {
  if (Value) FPngImage->Assign(Value);
  else FPngImage = std::make_unique<TPNGObject>();
  if (!FPngImage->Empty()) {
    const uint8_t type = FPngImage->HeaderChunk()->ColorType;
    if (type == 2 || type == 3 || type == 6)
      if (auto* gamma = FPngImage->Chunks().FindChunk<TChunkgAMA>()) FPngImage->Chunks().DeleteChunk(gamma);
  }
  FImageFromAction = false;
  FillPlaceholderGlyph();
  Repaint();
}

void TPngSpeedButton::SetPngOptions(TPngOptions Value) {
  if (Value == FPngOptions) return;
  FPngOptions = Value;
  FillPlaceholderGlyph();
  Repaint();
}

void TPngSpeedButton::Loaded() {
  TSpeedButton::Loaded();
  FillPlaceholderGlyph();
}

void TPngSpeedButton::DefineProperties(TFiler* Filer) {
  TSpeedButton::DefineProperties(Filer);
  // The picture is kept as a PNG file; one taken from an action comes back with the action.
  Filer->DefineBinaryProperty(
      "PngImage",
      [this](TStream* S) {
        TPNGObject png;
        png.LoadFromStream(S);
        SetPngImage(&png);
      },
      [this](TStream* S) { FPngImage->SaveToStream(S); }, !FImageFromAction && !FPngImage->Empty());
}

void TPngSpeedButton::FillPlaceholderGlyph() {
  TBitmap placeholder;
  const bool has = !FPngImage->Empty();
  placeholder.SetSize(has ? FPngImage->Width() : 0, has ? FPngImage->Height() : 0);
  placeholder.Canvas()->Brush()->SetColor(clBtnFace);
  placeholder.Canvas()->FillRect(Rect(0, 0, placeholder.Width(), placeholder.Height()));
  SetGlyph(&placeholder);
  SetNumGlyphs(1);
}

void TPngSpeedButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  TSpeedButton::ActionChange(Sender, CheckDefaults);
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action || !action->ActionList()) return;
  auto* images = dynamic_cast<TCustomImageList*>(action->ActionList()->Images());
  const int index = action->ImageIndex();
  if (!images || index < 0 || index >= images->Count()) return;
  if (!FPngImage->Empty() && !FImageFromAction) return;
  PngFromImageListEntry(FPngImage.get(), images, index);
  FillPlaceholderGlyph();
  FImageFromAction = true;
}

void TPngSpeedButton::Paint() {
  TSpeedButton::Paint();
  if (FPngImage->Empty()) return;
  const int offset = Down() || State() == bsDown || State() == bsExclusive ? 1 : 0;
  TPoint textPos;
  LayOutGlyphAndText(Canvas(), FPngImage.get(), ClientRect(), 0, textPos, FGlyphPos, Spacing(), Margin(),
                     Layout(), Caption(), offset);
  const TRect dest = Bounds(FGlyphPos.X, FGlyphPos.Y, FPngImage->Width(), FPngImage->Height());
  if (Enabled()) Canvas()->StretchDraw(dest, FPngImage.get());
  else DrawPngWithOptions(FPngImage.get(), Canvas(), dest, FPngOptions);
}

void RegisterPngSpeedButtonClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterButtonClasses();
  RegisterPngClasses();
  RegisterEnumNames<TPngOption>({"pngBlendOnDisabled", "pngGrayscaleOnDisabled"});
  RegisterClass<TPngSpeedButton, TSpeedButton>();
  Published<TPngSpeedButton>()
      .Property("PngOptions", &TPngSpeedButton::PngOptions, &TPngSpeedButton::SetPngOptions)
          .Default(TPngOptions{pngBlendOnDisabled});
}
