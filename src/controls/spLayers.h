#pragma once
// Glow frames: a top-level layered window showing a 32-bit picture with per-pixel alpha around
// a skinned button, never activated, transparent to the mouse, faded in on a 25 ms timer.

#include <memory>

#include "controls/spEffBmp.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"

class TspLayerWindow : public TCustomControl {
 public:
  explicit TspLayerWindow(TComponent* AOwner);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
};

class TspLayerManager : public TComponent {
 public:
  explicit TspLayerManager(TComponent* AOwner);
  ~TspLayerManager() override;

  bool TopMost = true;
  void ShowLayer(int X, int Y, int TargetAlpha, TspBitmap* Mask, TspBitmap* Image);
  void HideLayer();
  void StartFade();
  void StopFade();
  static void MakeLayerImage(TspBitmap* Image, TspBitmap* Mask, TspBitmap* Target);
  // Redraws the window from Image at its position with the constant Alpha; nothing when the
  // system has no layered-window drawing.
  static void UpdateLayer(TspBitmap* Image, int Alpha, TspLayerWindow* Window);

  TspLayerWindow* LayerWindow() const { return FLayerWindow; }
  TspBitmap* LayerImage() const { return FLayerImage.get(); }
  TTimer* FadeTimer() const { return FFadeTimer.get(); }
  int TargetAlpha() const { return FTargetAlpha; }
  int CurrentAlpha() const { return FCurrentAlpha; }
  int AlphaStep() const { return FAlphaStep; }
  bool Showing() const { return FShowing; }

 private:
  void FadeTick();
  TspLayerWindow* FLayerWindow = nullptr;
  std::unique_ptr<TspBitmap> FLayerImage;
  std::unique_ptr<TTimer> FFadeTimer;
  int FTargetAlpha = 0, FCurrentAlpha = 0, FAlphaStep = 0;
  bool FShowing = false;
};
