#pragma once
// Cross-fading of hot elements between their normal and their hot image. Fading is off: there is
// no fader, every helper is idle and no frame is ever drawn, so an element always shows its final
// look at once. The declarations keep the shape that a fader will fill in.

#include <memory>

#include "platform/win/Types.h"
#include "suite/core/cxClasses.h"
#include "suite/core/cxGraphics.h"

// An object the fader animates between a normal and a hot image.
class IdxFadingObject {
 public:
  virtual ~IdxFadingObject() = default;
  virtual bool CanFade() = 0;
  virtual void FadingInvalidate() = 0;
  // Both images are made by the object; the fader keeps them.
  virtual void GetFadingImages(std::unique_ptr<TcxBitmap32>& Normal, std::unique_ptr<TcxBitmap32>& Hot) = 0;
};

// Answered by a painter that draws fading elements.
class IdxFadingPainter {
 public:
  virtual ~IdxFadingPainter() = default;
};

// The base of the adaptors through which the fader holds an element.
class TdxFadingObjectHelper : public TcxIUnknownObject, public IdxFadingObject {
 public:
  bool CanFade() override { return false; }
  void FadingInvalidate() override {}
  void GetFadingImages(std::unique_ptr<TcxBitmap32>& Normal, std::unique_ptr<TcxBitmap32>& Hot) override {
    Normal.reset();
    Hot.reset();
  }
};

class TdxFader : public TObject {
 public:
  void BeginFadeIn(IdxFadingObject* Object) {}
  void BeginFadeOut(IdxFadingObject* Object) {}
  // With Discard the animation ends without painting its final image.
  void StopFading(IdxFadingObject* Object, bool Discard) {}
};

// The program's one fader; none while fading is off.
TdxFader* SharedFader();
// Whether no animation runs for the helper.
bool IsFadeIdle(TdxFadingObjectHelper* Helper);
// Draws the current frame of the helper's animation; False when there was none to draw.
bool DrawFadeFrame(TdxFadingObjectHelper* Helper, HDC DC, const TRect& R);
