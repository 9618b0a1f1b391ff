#pragma once
// A speed button whose glyph is a PNG with alpha. The inherited glyph is a placeholder of the
// PNG's size in the face colour: it draws nothing but keeps the glyph's room in the layout.

#include <memory>

#include "controls/PngFunctions.h"
#include "controls/PngImage.h"
#include "platform/gui/Buttons.h"

class TPngSpeedButton : public TSpeedButton {
 public:
  explicit TPngSpeedButton(TComponent* AOwner);
  ~TPngSpeedButton() override;

  TPNGObject* PngImage() const { return FPngImage.get(); }
  // Copies the picture (null empties it) and drops its gamma, so that its colours show as
  // stored.
  void SetPngImage(TPNGObject* Value);
  TPngOptions PngOptions() const { return FPngOptions; }
  void SetPngOptions(TPngOptions Value);
  // True while the picture was taken from the action's image list (it is then not stored).
  bool ImageFromAction() const { return FImageFromAction; }
  // Where the glyph was drawn last.
  TPoint GlyphPos() const { return FGlyphPos; }

 protected:
  void Loaded() override;
  void DefineProperties(TFiler* Filer) override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  void Paint() override;

 private:
  void FillPlaceholderGlyph();

  std::unique_ptr<TPNGObject> FPngImage;
  TPngOptions FPngOptions{pngBlendOnDisabled};
  bool FImageFromAction = false;
  TPoint FGlyphPos;
};

void RegisterPngSpeedButtonClasses();
