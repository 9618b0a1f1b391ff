#pragma once
// A panel that paints a picture behind its children (once, stretched or tiled), optionally over
// its parent's background, with its caption on top. Painted off screen and copied in one step.

#include <memory>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Pictures.h"

enum class TsuiDrawStyle { suiNormal, suiStretch, suiTile };
using enum TsuiDrawStyle;

class TsuiCustomPanel : public TCustomPanel {
 public:
  explicit TsuiCustomPanel(TComponent* AOwner);
  ~TsuiCustomPanel() override;

  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value);
  bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  TsuiDrawStyle DrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TsuiDrawStyle Value);

 protected:
  virtual void ApplyColor();
  virtual void CaptionAreaChanged(const TRect& Rect) {}
  virtual void PictureChanged(TObject* Sender);
  void FitToPicture();
  void Paint() override;
  void Resize() override;
  void Dispatch(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;

 private:
  std::unique_ptr<TPicture> FPicture;
  bool FTransparent = false;
  bool FAutoSize = false;
  TsuiDrawStyle FDrawStyle = suiNormal;
  bool FEraseBackground = false;
  TRect FCaptionRect;
};

class TsuiImagePanel : public TsuiCustomPanel {
 public:
  using TsuiCustomPanel::TsuiCustomPanel;
};

// Draws the part of Control's parent that lies under it onto Canvas (nothing without a parent).
void PaintParentBackground(TCanvas* Canvas, TControl* Control);
// The picture at every multiple of its size from the rectangle's origin until past its far
// edges; a picture without area draws nothing.
void TilePicture(TCanvas* Canvas, TPicture* Picture, const TRect& Rect);

void RegisterSUIImagePanelClasses();
