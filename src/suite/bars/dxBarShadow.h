#pragma once
// The soft shadow of a menu or floating bar, to the right and below: up to five thin top-level
// strip windows just under the bar window. When the menu dropped from an item, the shadow also
// runs along the part of that item the menu leaves uncovered, so menu and item read as one shape.

#include <memory>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/rtl/Classes.h"

class TCustomdxBarControl;
class TcxBitmap32;
class TdxBarShadow;

// Strip kinds and the fading ends of a strip.
constexpr int dxBarShadowHorizontal = 0;  // below something
constexpr int dxBarShadowVertical = 1;    // right of something
constexpr int dxBarShadowFadeLeft = 1;
constexpr int dxBarShadowFadeRight = 2;
constexpr int dxBarShadowFadeTop = 4;

// The shadow thickness: 4 with per-pixel alpha (the layered-window entry was bound when the bar
// library started and the screen has more than 8 bits per pixel), else 2 (drawing nothing).
int dxBarShadowSize();
bool dxBarShadowsUseAlpha();
// Binds the optional window entry points again and reads the screen depth (the library does so
// when it starts; tests call it after changing the module table).
void dxBarBindWindowEntries();
// Overrides the screen depth the bar library read (0 reads it again).
void dxBarSetScreenBitsPerPixel(int Value);

class TdxBarShadowPart : public TCustomControl {
 public:
  TdxBarShadowPart(TdxBarShadow* AShadow, int AKind, int ACorners, const TRect& R);
  ~TdxBarShadowPart() override;

  int Kind() const { return FKind; }
  int Corners() const { return FCorners; }
  TdxBarShadow* Shadow() const { return FShadow; }
  // Null when the part is too small for its fading ends.
  TcxBitmap32* Image() const { return FImage.get(); }
  void ShowPart();
  void HidePart();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;

 private:
  bool HasImageRule() const;
  void BuildImage();

  TdxBarShadow* FShadow;
  int FKind;
  int FCorners;
  std::unique_ptr<TcxBitmap32> FImage;
};

class TdxBarShadow : public TObject {
 public:
  struct TPartPlace {
    int Kind = dxBarShadowHorizontal;
    int Corners = 0;
    TRect Bounds;
  };

  explicit TdxBarShadow(TCustomdxBarControl* AOwner);
  ~TdxBarShadow() override;

  // The opener's screen rectangle (empty for none) and the bar window's.
  void SetRects(const TRect& OwnerRect, const TRect& ControlRect);
  void RebuildParts();
  void ChangeVisibility(bool Value);

  TCustomdxBarControl* Owner() const { return FOwner; }
  bool Visible() const { return FVisible; }
  bool Horizontal() const { return FHorizontal; }
  TRect OwnerRect() const { return FOwnerRect; }
  TRect ControlRect() const { return FControlRect; }
  int PartCount() const { return int(FParts.size()); }
  TdxBarShadowPart* Part(int Index) const { return FParts.at(size_t(Index)).get(); }

  // The strips for an opener O (empty: none) above or left of the bar window C, with thickness
  // S; strips with an empty rectangle are left out.
  static std::vector<TPartPlace> CalcParts(const TRect& O, const TRect& C, bool Horizontal, int S);

 private:
  TCustomdxBarControl* FOwner;
  bool FVisible = false;
  bool FHorizontal = true;
  TRect FOwnerRect;
  TRect FControlRect;
  std::vector<std::unique_ptr<TdxBarShadowPart>> FParts;
};
