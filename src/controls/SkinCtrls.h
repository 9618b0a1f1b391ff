#pragma once
// Skinned controls: each finds its description in a skin container by name and paints its face
// cut from the skin's picture, stretched or tiled to its size; without one it paints a plain
// default face. Button, check box / radio button, gauge and track bar.

#include <memory>
#include <string>

#include "controls/SkinData.h"
#include "controls/spEffBmp.h"
#include "controls/spUtils.h"
#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/StdCtrls.h"

constexpr UINT SKINMSG_PARENTCHANGED = 1284;
constexpr UINT SKINMSG_SHOWGLOW = 1424;
constexpr UINT SKINMSG_HIDEGLOW = 1425;

class TspLayerManager;

class TspSkinControl : public TCustomControl {
 public:
  explicit TspSkinControl(TComponent* AOwner);
  ~TspSkinControl() override;

  TspSkinData* SkinData() const { return FSkinData; }
  virtual void SetSkinData(TspSkinData* Value);
  const std::string& SkinDataName() const { return FSkinDataName; }
  virtual void SetSkinDataName(const std::string& Value);
  std::string AreaName, HintTitle;
  int HintImageIndex = 0;
  bool DrawDefault() const { return FDrawDefault; }
  void SetDrawDefault(bool Value);
  bool AlphaBlend() const { return FAlphaBlend; }
  virtual void SetAlphaBlend(bool Value);
  int AlphaBlendValue() const { return FAlphaBlendValue; }
  virtual void SetAlphaBlendValue(int Value);
  bool UseSkinCursor = false;
  TNotifyEvent OnMouseEnter, OnMouseLeave;

  // The description in use (null for none).
  TspDataSkinControl* Description() const;
  int DescriptionIndex() const { return FIndex; }
  virtual void ApplySkin();
  virtual void ForgetSkin();

 protected:
  virtual void LoadSkinDescription();
  virtual void PaintDefault(TBitmap* B);
  virtual void PaintSkin(TBitmap* B);
  virtual void ParentChanged();
  // The default face is drawn when DrawDefault is set, or when the skin failed to load.
  bool WantsDefaultFace() const;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  bool LoadingState() const { return ComponentState().Contains(csLoading); }

  TspSkinData* FSkinData = nullptr;
  std::string FSkinDataName;
  bool FDrawDefault = true;
  bool FAlphaBlend = false;
  int FAlphaBlendValue = 200;
  int FIndex = -1;
  bool FPainting = false;
};

class TspSkinCustomControl : public TspSkinControl {
 public:
  explicit TspSkinCustomControl(TComponent* AOwner);
  ~TspSkinCustomControl() override;

  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  bool UseSkinFont = true;
  int DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(int Value);
  int DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(int Value);
  int ResizeMode() const { return FResizeMode; }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void ApplySkin() override;
  // The working geometry for the current size.
  TPoint NewLTPoint() const { return FNewLT; }
  TPoint NewRTPoint() const { return FNewRT; }
  TPoint NewLBPoint() const { return FNewLB; }
  TPoint NewRBPoint() const { return FNewRB; }
  TRect NewClRect() const { return FNewCl; }

 protected:
  virtual void FontChanged() {}
  virtual void AdjustSize(int& W, int& H);
  virtual void UpdateRegion();
  // Copies what the control uses from its description (after the base values).
  virtual void GetSkinData();
  void LoadSkinDescription() override;
  void PaintDefault(TBitmap* B) override;
  void PaintSkin(TBitmap* B) override;
  void Paint() override;
  void BuildFace(TBitmap* B, TBitmap* Picture, const TRect& Source);
  // The font of the face: the description's when UseSkinFont, else DefaultFont.
  void SkinFont(TFont* Font, TspDataSkinControl* D);

  std::unique_ptr<TFont> FDefaultFont;
  int FDefaultWidth = 0, FDefaultHeight = 0;
  TBitmap* FPicture = nullptr;
  TBitmap* FMaskPicture = nullptr;
  TRect FSkinRect, FClRect;
  TPoint FLTPoint, FRTPoint, FLBPoint, FRBPoint;
  bool FLeftStretch = false, FTopStretch = false, FRightStretch = false, FBottomStretch = false;
  bool FStretchEffect = false;
  int FStretchType = 0;
  int FResizeMode = 0;
  TPoint FNewLT, FNewRT, FNewLB, FNewRB;
  TRect FNewCl;
  HRGN FRgn = nullptr;
};

// ---- button

class TspSkinButton : public TspSkinCustomControl {
 public:
  explicit TspSkinButton(TComponent* AOwner);
  ~TspSkinButton() override;

  bool CheckedMode() const { return FCheckedMode; }
  void SetCheckedMode(bool Value);
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool AlwaysShowLayeredFrame = false;
  bool UseSkinSize = true;
  bool UseSkinFontColor = true;
  bool RepeatMode = false;
  int RepeatInterval = 100;
  bool AllowAllUp = false;
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& Value) { SetText(Value); }
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  TspButtonLayout Layout() const { return FLayout; }
  void SetLayout(TspButtonLayout Value);
  bool Cancel = false;
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  int ModalResult = 0;
  TNotifyEvent OnClick;
  Event<void(TObject*, TCanvas*, bool&, bool, bool, const TRect&)> OnPaint;

  double MorphLevel() const { return FMorphLevel; }
  bool Hot() const { return FMouseIn; }
  bool DefaultNow() const { return FDefaultNow; }
  TspLayerManager* LayerManager() const { return FLayerManager.get(); }
  virtual void ButtonClick();
  void ApplySkin() override;
  void ForgetSkin() override;

 protected:
  virtual void PaintFace(TBitmap* B, const TRect& Source, bool Active, bool IsDown);
  void GetSkinData() override;
  void PaintDefault(TBitmap* B) override;
  void PaintSkin(TBitmap* B) override;
  void AdjustSize(int& W, int& H) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CreateWnd() override;

 private:
  bool FocusedNow() const;
  bool Morphing() const;
  bool LookChanges() const;
  void StartMorph();
  void MorphTick();
  // The hover animation: frames of "animateskinrect" in place of the hot face (forward) or
  // the normal face (backward).
  bool FrameAnimationAllowed() const;
  void StartFrameAnimation(bool Forward);
  void StopFrameAnimation();
  void FrameTick();
  bool FrameAnimating() const;
  // Whether a frame stands in for the hot face (forward) or the normal face now.
  bool FrameShown(bool Forward) const;
  TRect NormalSource() const;
  TRect HotSource() const;
  void StartRepeat();
  void StopRepeat();
  void RepeatTick();
  void ShowGlow();
  void HideGlow();
  void ContentRect(const TRect& Source, TRect& Content, int W, int H) const;

  bool FCheckedMode = false;
  TCustomImageList* FImageList = nullptr;
  int FImageIndex = -1;
  bool FCanFocused = true;
  bool FDown = false;
  int FGroupIndex = 0;
  std::unique_ptr<TBitmap> FGlyph;
  int FNumGlyphs = 1;
  int FMargin = -1;
  int FSpacing = 1;
  TspButtonLayout FLayout = TspButtonLayout::blGlyphLeft;
  bool FDefault = false;
  bool FMouseIn = false, FHeld = false, FToggledOnPress = false, FDownAtPress = false, FDefaultNow = false;
  double FMorphLevel = 0;
  std::unique_ptr<TTimer> FMorphTimer, FRepeatTimer, FFrameTimer;
  int FFrame = 0;
  bool FFrameForward = true;
  std::unique_ptr<TspLayerManager> FLayerManager;
  // Copied from the description.
  int FFontColor = 0, FActiveFontColor = 0, FDownFontColor = 0, FDisabledFontColor = 0;
  bool FMorphing = false, FShowFocus = false;
  int FMorphKind = 0;
  TRect FActiveSkinRect, FDownSkinRect, FDisabledSkinRect, FFocusedSkinRect, FAnimateSkinRect;
  int FFrameCount = 0, FAnimateInterval = 25;
};

// ---- check box and radio button

class TspSkinCheckRadioBox : public TspSkinCustomControl {
 public:
  explicit TspSkinCheckRadioBox(TComponent* AOwner);
  ~TspSkinCheckRadioBox() override;

  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value);
  bool Radio() const { return FRadio; }
  void SetRadio(bool Value);
  int GroupIndex = 0;
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool UseSkinFontColor = true;
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);
  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& Value) { SetText(Value); }
  TNotifyEvent OnClick;
  virtual void Toggle();
  bool Hot() const { return FMouseIn; }
  void ApplySkin() override;

 protected:
  void GetSkinData() override;
  void AdjustSize(int& W, int& H) override;
  void PaintDefault(TBitmap* B) override;
  void PaintSkin(TBitmap* B) override;
  void Dispatch(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool FocusedNow() const;
  void StartMorph();
  void DoClick();
  // The check image for the state: a rectangle of the picture, or a lightened copy when grayed.
  void CheckImage(TBitmap* Out);
  void DrawCaption(TCanvas* C, TRect R, bool Flat);

  TCheckBoxState FState = cbUnchecked;
  bool FChecked = false, FAllowGrayed = false, FRadio = false, FFlat = true, FWordWrap = false;
  TCustomImageList* FImages = nullptr;
  int FImageIndex = 0;
  bool FCanFocused = true;
  bool FMouseIn = false, FPressed = false;
  double FMorphLevel = 0;
  std::unique_ptr<TTimer> FMorphTimer;
  TRect FTextRect, FCheckRect;
  // Copied from the description.
  int FFontColor = 0, FActiveFontColor = 0, FUnenabledFontColor = 0, FFrameFontColor = 0;
  bool FMorphing = false;
  int FMorphKind = 0;
  TRect FActiveSkinRect, FCheckImageArea, FTextArea, FCheckImageRect, FUnCheckImageRect, FActiveCheckImageRect,
      FActiveUnCheckImageRect, FUnEnabledCheckImageRect, FUnEnabledUnCheckImageRect, FGrayedCheckImageRect,
      FActiveGrayedCheckImageRect;
};

// ---- gauge

class TspSkinGauge : public TspSkinCustomControl {
 public:
  explicit TspSkinGauge(TComponent* AOwner);

  int MinValue() const { return FMinValue; }
  void SetMinValue(int Value);
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int Value);
  int Value() const { return FValue; }
  void SetValue(int Value);
  bool Vertical() const { return FVertical; }
  void SetVertical(bool Value);
  bool UseSkinSize = true;
  std::string ProgressText() const { return FProgressText; }
  void SetProgressText(const std::string& Value);
  bool ShowProgressText() const { return FShowProgressText; }
  void SetShowProgressText(bool Value);
  bool ShowPercent() const { return FShowPercent; }
  void SetShowPercent(bool Value);
  int ProgressAnimationPause() const { return FProgressAnimationPause; }
  void SetProgressAnimationPause(int Value);
  Event<void(TCanvas*, const TRect&, const TRect&)> OnGaugePaint;
  // Runs of "progressanimationskinrect" frames over the bar, a pause between runs.
  void BeginProgressAnimation();
  void EndProgressAnimation();
  void ApplySkin() override;

  // The filled part of the working progress area.
  TRect FilledRect(const TRect& Area) const;
  TRect ProgressArea() const { return FNewProgressArea; }

 protected:
  void GetSkinData() override;
  void AdjustSize(int& W, int& H) override;
  void PaintDefault(TBitmap* B) override;
  void PaintSkin(TBitmap* B) override;
  void Dispatch(TMessage& Message) override;

 private:
  double Fraction() const;
  void StartAnimationRun();
  void AnimationTick();
  std::string Text() const;
  void DrawText(TCanvas* C, int W, int H, bool Skinned);

  int FMinValue = 0, FMaxValue = 100, FValue = 50;
  bool FVertical = false;
  std::string FProgressText;
  bool FShowProgressText = false, FShowPercent = false;
  TRect FProgressArea, FProgressRect, FNewProgressArea;
  int FBeginOffset = 0, FEndOffset = 0, FFontColor = 0, FProgressTransparentColor = 0;
  bool FProgressTransparent = false, FProgressStretch = false;
  TRect FAnimationSkinRect;
  int FAnimationFrames = 0, FAnimationInterval = 0, FProgressAnimationPause = 1000, FAnimationFrame = 0;
  std::unique_ptr<TTimer> FPauseTimer, FFrameTimer;
};

// ---- track bar

class TspSkinTrackBar : public TspSkinCustomControl {
 public:
  explicit TspSkinTrackBar(TComponent* AOwner);

  int MinValue() const { return FMinValue; }
  void SetMinValue(int Value);
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int Value);
  int Value() const { return FValue; }
  void SetValue(int Value);
  bool Vertical() const { return FVertical; }
  void SetVertical(bool Value);
  bool JumpWhenClick = false;
  bool MouseSupport = true;
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);
  TNotifyEvent OnChange, OnLastChange, OnStartDragButton;

  // The button rectangle of the last paint and the travel limits.
  TRect ButtonRect() const { return FButtonRect; }
  int TravelLow() const { return FLo; }
  int TravelHigh() const { return FHi; }
  bool Dragging() const { return FDown; }

 protected:
  void GetSkinData() override;
  void AdjustSize(int& W, int& H) override;
  void PaintDefault(TBitmap* B) override;
  void PaintSkin(TBitmap* B) override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

 private:
  TSize ButtonSize() const;
  TRect TrackArea() const;
  // Computes the travel limits and the button rectangle for the current value.
  void Layout();
  void SetValueFromOffset(int P);
  bool FocusedNow() const;

  int FMinValue = 0, FMaxValue = 100, FValue = 50;
  bool FVertical = false, FCanFocused = false;
  TRect FTrackArea, FNewTrackArea, FActiveSkinRect, FButtonSkinRect, FActiveButtonRect;
  bool FButtonTransparent = false;
  int FButtonTransparentColor = 0;
  TRect FButtonRect;
  int FLo = 0, FHi = 0, FOffset = 0;
  bool FDown = false;
  int FAnchor = 0, FOffsetAtPress = 0;
};

void RegisterSkinControlClasses();
