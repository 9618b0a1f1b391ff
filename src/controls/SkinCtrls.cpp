#include "controls/SkinCtrls.h"

#include <algorithm>
#include <cmath>

#include "controls/spLayers.h"
#include "controls/spPngImageList.h"
#include "controls/spSkinImages.h"
#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Messages.h"

namespace {

inline int RoundEven(double v) { return int(std::nearbyint(v)); }

// Frame K (from 1) of Count in an animation strip: frames lie side by side when the strip is
// wider than a face, else one under the other.
TRect StripFrame(const TRect& Strip, int FaceWidth, int Count, int K) {
  if (Strip.Width() > FaceWidth) {
    const int w = Strip.Width() / Count;
    return Rect(Strip.Left + (K - 1) * w, Strip.Top, Strip.Left + K * w, Strip.Bottom);
  }
  const int h = Strip.Height() / Count;
  return Rect(Strip.Left, Strip.Top + (K - 1) * h, Strip.Right, Strip.Top + K * h);
}

void FillBitmap(TBitmap* B, TColor Colour) {
  B->Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
  B->Canvas()->Brush()->SetColor(Colour);
  B->Canvas()->FillRect(Rect(0, 0, B->Width(), B->Height()));
}

void Frame(TCanvas* C, const TRect& R, TColor Border, TColor Fill) {
  C->Brush()->SetStyle(TBrushStyle::bsSolid);
  C->Brush()->SetColor(Fill);
  C->FillRect(R);
  C->Brush()->SetColor(Border);
  C->FrameRect(R);
}

// A piece of a picture in a bitmap of its own.
void Cut(TBitmap* Out, TBitmap* Picture, const TRect& R) {
  Out->SetSize(std::max(R.Width(), 1), std::max(R.Height(), 1));
  if (Picture && !R.IsEmpty()) Out->Canvas()->CopyRect(Rect(0, 0, R.Width(), R.Height()), Picture->Canvas(), R);
}

// Draws B with one colour left out.
void DrawKeyed(TCanvas* C, int X, int Y, TBitmap* B, TColor Key) {
  B->SetTransparentColor(Key);
  B->SetTransparent(true);
  C->Draw(X, Y, B);
}

std::unique_ptr<TspEffectBmp> Effect(TBitmap* B) { return std::make_unique<TspEffectBmp>(B->Handle()); }

void PutEffect(TspEffectBmp* E, TBitmap* B) { E->Draw(B->Canvas()->Handle(), 0, 0); }

}  // namespace

// ---- TspSkinControl

TspSkinControl::TspSkinControl(TComponent* AOwner) : TCustomControl(AOwner) {}

TspSkinControl::~TspSkinControl() = default;

void TspSkinControl::SetSkinData(TspSkinData* Value) {
  FSkinData = Value;
  if (Value) Value->FreeNotification(this);
  if (Value && !Value->Empty() && !Designing()) ApplySkin();
}

void TspSkinControl::SetSkinDataName(const std::string& Value) { FSkinDataName = Value; }

void TspSkinControl::SetDrawDefault(bool Value) {
  FDrawDefault = Value;
  Invalidate();
}

void TspSkinControl::SetAlphaBlend(bool Value) {
  FAlphaBlend = Value;
  Invalidate();
}

void TspSkinControl::SetAlphaBlendValue(int Value) {
  FAlphaBlendValue = std::clamp(Value, 0, 255);
  Invalidate();
}

TspDataSkinControl* TspSkinControl::Description() const {
  return FSkinData && FIndex != -1 ? FSkinData->ControlDescription(FIndex) : nullptr;
}

void TspSkinControl::LoadSkinDescription() {
  FIndex = FSkinData && !FSkinData->Empty() ? FSkinData->IndexOfControlDescription(FSkinDataName) : -1;
}

void TspSkinControl::ApplySkin() {
  LoadSkinDescription();
  Invalidate();
}

void TspSkinControl::ForgetSkin() { FIndex = -1; }

bool TspSkinControl::WantsDefaultFace() const {
  return FDrawDefault || (FSkinData && FSkinData->Empty() && !FSkinData->LoadErrorText().empty());
}

void TspSkinControl::PaintDefault(TBitmap* B) {}
void TspSkinControl::PaintSkin(TBitmap* B) {}

void TspSkinControl::ParentChanged() {
  if (!FAlphaBlend) return;
  Invalidate();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      if (w->HandleAllocated()) SendMessage(w->Handle(), SKINMSG_PARENTCHANGED, 0, 0);
    } else {
      c->Perform(SKINMSG_PARENTCHANGED, 0, 0);
    }
  }
}

void TspSkinControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSkinData) {
    FSkinData = nullptr;
    FIndex = -1;
    Invalidate();
  }
}

void TspSkinControl::Paint() {
  if (Width() < 1 || Height() < 1) return;
  LoadSkinDescription();
  TBitmap face;
  face.SetSize(Width(), Height());
  if (FIndex != -1) {
    PaintSkin(&face);
  } else if (WantsDefaultFace()) {
    PaintDefault(&face);
  } else {
    return;
  }
  if (FAlphaBlend) {
    TBitmap back;
    back.SetSize(Width(), Height());
    DrawParentImage(this, back.Canvas());
    auto f = Effect(&face), b = Effect(&back);
    f->Morph(b.get(), 1 - FAlphaBlendValue / 255.0);
    f->Draw(Canvas()->Handle(), 0, 0);
    return;
  }
  Canvas()->Draw(0, 0, &face);
}

void TspSkinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case SKINMSG_PARENTCHANGED:
      ParentChanged();
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_MOVE:
      TCustomControl::Dispatch(Message);
      if (FAlphaBlend) Invalidate();
      return;
    case WM_PAINT: {
      FPainting = true;
      struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
      } reset{FPainting};
      TCustomControl::Dispatch(Message);
      return;
    }
  }
  TCustomControl::Dispatch(Message);
}

void TspSkinControl::CMMouseEnter(TMessage& Message) {
  TCustomControl::CMMouseEnter(Message);
  if (!Designing() && OnMouseEnter) OnMouseEnter(this);
}

void TspSkinControl::CMMouseLeave(TMessage& Message) {
  TCustomControl::CMMouseLeave(Message);
  if (!Designing() && OnMouseLeave) OnMouseLeave(this);
}

// ---- TspSkinCustomControl

TspSkinCustomControl::TspSkinCustomControl(TComponent* AOwner)
    : TspSkinControl(AOwner), FDefaultFont(std::make_unique<TFont>()) {
  FDefaultFont->SetName("Arial");
  FDefaultFont->SetHeight(14);
  FDefaultFont->OnChange = [this](TObject*) {
    FontChanged();
    if (FIndex == -1) Invalidate();
  };
}

TspSkinCustomControl::~TspSkinCustomControl() {
  if (FRgn) DeleteObject(FRgn);
}

void TspSkinCustomControl::SetDefaultWidth(int Value) {
  FDefaultWidth = Value;
  if (FIndex == -1 && Value > 0) SetWidth(Value);
}

void TspSkinCustomControl::SetDefaultHeight(int Value) {
  FDefaultHeight = Value;
  if (FIndex == -1 && Value > 0) SetHeight(Value);
}

void TspSkinCustomControl::LoadSkinDescription() {
  TspSkinControl::LoadSkinDescription();
  FPicture = FMaskPicture = nullptr;
  FResizeMode = 0;
  TspDataSkinControl* d = Description();
  if (!d || !d->InheritsFrom("TspDataSkinCustomControl")) {
    if (d) GetSkinData();
    return;
  }
  FPicture = FSkinData->PictureAt(d->Int("pictureindex"));
  FMaskPicture = FSkinData->PictureAt(d->Int("maskpictureindex"));
  FSkinRect = d->Rect("skinrect");
  FClRect = d->Rect("clientrect");
  FLTPoint = d->Point("lefttoppoint");
  FRTPoint = d->Point("righttoppoint");
  FLBPoint = d->Point("leftbottompoint");
  FRBPoint = d->Point("rightbottompoint");
  FLeftStretch = d->Bool("leftstretch");
  FTopStretch = d->Bool("topstretch");
  FRightStretch = d->Bool("rightstretch");
  FBottomStretch = d->Bool("bottomstretch");
  FStretchEffect = d->Bool("stretcheffect");
  FStretchType = d->Int("stretchtype");
  if (IsNullRect(FSkinRect)) {
    FResizeMode = -1;
  } else if (FRBPoint.X != 0 && FRBPoint.Y != 0) {
    FResizeMode = 1;
  } else if (FRTPoint != TPoint()) {
    FResizeMode = 2;
  } else if (FLBPoint != TPoint()) {
    FResizeMode = 3;
  }
  GetSkinData();
}

void TspSkinCustomControl::GetSkinData() {}

void TspSkinCustomControl::AdjustSize(int& W, int& H) {
  if (FIndex == -1) return;
  int w0 = FSkinRect.Width(), h0 = FSkinRect.Height();
  int dx = W - w0, dy = H - h0;
  FNewLT = FLTPoint;
  FNewRT = FRTPoint;
  FNewLB = FLBPoint;
  FNewRB = FRBPoint;
  FNewCl = FClRect;
  switch (FResizeMode) {
    case 0:
      W = w0;
      H = h0;
      break;
    case 1:
      FNewRT = Point(FRTPoint.X + dx, FRTPoint.Y);
      FNewLB = Point(FLBPoint.X, FLBPoint.Y + dy);
      FNewRB = Point(FRBPoint.X + dx, FRBPoint.Y + dy);
      FNewCl = Rect(FClRect.Left, FClRect.Top, FClRect.Right + dx, FClRect.Bottom + dy);
      break;
    case 2:
      H = h0;
      FNewRT = Point(FRTPoint.X + dx, FRTPoint.Y);
      FNewCl = Rect(FClRect.Left, FClRect.Top, FClRect.Right + dx, FClRect.Bottom);
      break;
    case 3:
      W = w0;
      FNewLB = Point(FLBPoint.X, FLBPoint.Y + dy);
      FNewCl = Rect(FClRect.Left, FClRect.Top, FClRect.Right, FClRect.Bottom + dy);
      break;
    default:
      break;
  }
}

void TspSkinCustomControl::ApplySkin() {
  LoadSkinDescription();
  if (FIndex == -1) {
    if (FDefaultWidth > 0) SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) SetHeight(FDefaultHeight);
    UpdateRegion();
    Invalidate();
    return;
  }
  int w = Width(), h = Height();
  AdjustSize(w, h);
  if (w != Width() || h != Height()) {
    SetBounds(Left(), Top(), w, h);
  } else {
    UpdateRegion();
    Invalidate();
  }
}

void TspSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  bool resized = AWidth != Width() || AHeight != Height();
  if (resized && FIndex != -1) AdjustSize(AWidth, AHeight);
  resized = AWidth != Width() || AHeight != Height();
  TspSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!resized) return;
  UpdateRegion();
  Invalidate();
  if (FIndex != -1 && FStretchEffect)
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(SKINMSG_PARENTCHANGED, 0, 0);
}

void TspSkinCustomControl::UpdateRegion() {
  if (!Parent() || !HandleAllocated()) return;
  if (!FMaskPicture || FIndex == -1) {
    if (FRgn) {
      SetWindowRgn(Handle(), nullptr, TRUE);
      FRgn = nullptr;  // the window owned it
    }
    return;
  }
  HRGN rgn = nullptr;
  if (FResizeMode == 0) {
    rgn = RegionFromMask(FMaskPicture);
  } else {
    rgn = BuildBorderRegion(FMaskPicture, FLTPoint, FRTPoint, FLBPoint, FRBPoint, FClRect, Width(), Height(), FNewLT,
                            FNewRT, FNewLB, FNewRB, FNewCl);
  }
  SetWindowRgn(Handle(), rgn, TRUE);
  FRgn = rgn;
}

void TspSkinCustomControl::PaintDefault(TBitmap* B) { FillBitmap(B, clBtnFace); }

void TspSkinCustomControl::PaintSkin(TBitmap* B) { BuildFace(B, FPicture, FSkinRect); }

void TspSkinCustomControl::Paint() {
  if (Width() < 1 || Height() < 1) return;
  LoadSkinDescription();
  int w = Width(), h = Height();
  AdjustSize(w, h);
  TspSkinControl::Paint();
}

void TspSkinCustomControl::BuildFace(TBitmap* B, TBitmap* Picture, const TRect& Source) {
  if (!Picture) return;
  const int W = B->Width(), H = B->Height();
  switch (FResizeMode) {
    case 0:
      Cut(B, Picture, Source);
      break;
    case 1:
      BuildNinePartImage(Picture, Source, FLTPoint, FRTPoint, FLBPoint, FRBPoint, FClRect, B, W, H, FNewLT, FNewRT,
                         FNewLB, FNewRB, FNewCl, FLeftStretch, FTopStretch, FRightStretch, FBottomStretch, true,
                         FStretchEffect, FStretchType);
      break;
    case 2:
      BuildHorizontalThreePartImage(FLTPoint.X, FSkinRect.Width() - FRTPoint.X, B, FStretchEffect, W, Source, Picture);
      break;
    case 3:
      BuildVerticalThreePartImage(FLTPoint.Y, FSkinRect.Height() - FLBPoint.Y, B, FStretchEffect, H, Source, Picture);
      break;
    default:
      break;
  }
}

void TspSkinCustomControl::SkinFont(TFont* Font, TspDataSkinControl* D) {
  if (D && UseSkinFont) {
    Font->SetName(D->Str("fontname"));
    Font->SetHeight(D->Int("fontheight"));
    Font->SetStyle(D->Style("fontstyle"));
  } else {
    Font->Assign(FDefaultFont.get());
  }
  if (FSkinData && FSkinData->ResourceStrData()) {
    Font->SetCharset(BYTE(FSkinData->ResourceStrData()->CharSet));
  } else {
    Font->SetCharset(FDefaultFont->Charset());
  }
}

// ---- TspSkinButton

TspSkinButton::TspSkinButton(TComponent* AOwner)
    : TspSkinCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()),
      FLayerManager(std::make_unique<TspLayerManager>(nullptr)) {
  FSkinDataName = "button";
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
}

TspSkinButton::~TspSkinButton() {
  FMorphTimer.reset();
  FRepeatTimer.reset();
  FFrameTimer.reset();
}

bool TspSkinButton::FocusedNow() const { return FCanFocused && Focused(); }
bool TspSkinButton::Morphing() const {
  return FMorphing && FIndex != -1 && (!FSkinData || FSkinData->EnableSkinEffects);
}

void TspSkinButton::GetSkinData() {
  TspDataSkinControl* d = Description();
  FMorphing = false;
  FAnimateSkinRect = TRect();
  if (!d || !d->InheritsFrom("TspDataSkinButtonControl")) return;
  FFontColor = d->Int("fontcolor");
  FActiveFontColor = d->Int("activefontcolor");
  FDownFontColor = d->Int("downfontcolor");
  FDisabledFontColor = d->Int("disabledfontcolor");
  if (FDisabledFontColor == FFontColor) FDisabledFontColor = 0x808080;
  FMorphing = d->Bool("morphing");
  FMorphKind = d->Int("morphkind");
  FShowFocus = d->Bool("showfocus");
  FActiveSkinRect = d->Rect("activeskinrect");
  if (IsNullRect(FActiveSkinRect)) FActiveSkinRect = FSkinRect;
  FDownSkinRect = d->Rect("downskinrect");
  if (IsNullRect(FDownSkinRect)) FDownSkinRect = FActiveSkinRect;
  FDisabledSkinRect = d->Rect("disabledskinrect");
  FFocusedSkinRect = d->Rect("focusedskinrect");
  FAnimateSkinRect = d->Rect("animateskinrect");
  FFrameCount = d->Int("framecount");
  FAnimateInterval = d->Int("animateinterval");
  if (!UseSkinSize && FResizeMode != 1) FMaskPicture = nullptr;
}

void TspSkinButton::AdjustSize(int& W, int& H) {
  int w = W, h = H;
  TspSkinCustomControl::AdjustSize(W, H);
  if (!UseSkinSize) {
    W = w;
    H = h;
  }
}

void TspSkinButton::SetCheckedMode(bool Value) {
  if (Value == FCheckedMode) return;
  FCheckedMode = Value;
  if (Value) {
    FGroupIndex = -1;
  } else if (FGroupIndex == -1) {
    FGroupIndex = 0;
  }
}

void TspSkinButton::SetImageList(TCustomImageList* Value) {
  FImageList = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

void TspSkinButton::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  Invalidate();
}

void TspSkinButton::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TspSkinButton::SetGroupIndex(int Value) {
  FGroupIndex = Value;
  if (Value != 0) SetCanFocused(false);
}

void TspSkinButton::SetDown(bool Value) {
  FDown = Value;
  if (Morphing()) {
    FMorphLevel = 1;
    if (Value) {
      if (FMorphTimer) FMorphTimer->SetEnabled(false);
    } else {
      StartMorph();
    }
  }
  Invalidate();
  if (FGroupIndex > 0 && Value && !AllowAllUp && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* other = dynamic_cast<TspSkinButton*>(Parent()->Controls(i));
      if (other && other != this && other->FGroupIndex == FGroupIndex && other->FDown) other->SetDown(false);
    }
  }
}

void TspSkinButton::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Invalidate();
}

void TspSkinButton::SetNumGlyphs(int Value) {
  FNumGlyphs = Value;
  Invalidate();
}

void TspSkinButton::SetMargin(int Value) {
  if (Value < -1 || Value == FMargin) return;
  FMargin = Value;
  Invalidate();
}

void TspSkinButton::SetSpacing(int Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Invalidate();
}

void TspSkinButton::SetLayout(TspButtonLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Invalidate();
}

void TspSkinButton::SetDefault(bool Value) {
  FDefault = Value;
  if (HandleAllocated() && FCanFocused && !Designing())
    if (auto* form = dynamic_cast<TCustomForm*>(GetParentForm(this)))
      form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TspSkinButton::CreateWnd() {
  TspSkinCustomControl::CreateWnd();
  FDefaultNow = FDefault;
}

void TspSkinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImageList) FImageList = nullptr;
}

void TspSkinButton::ButtonClick() {
  if (FCanFocused)
    if (auto* form = dynamic_cast<TCustomForm*>(GetParentForm(this))) form->SetModalResult(ModalResult);
  if (OnClick) OnClick(this);
}

bool TspSkinButton::LookChanges() const {
  if (FGroupIndex != 0) return !FDown;
  return !FocusedNow() || FDown;
}

void TspSkinButton::StartMorph() {
  if (!Morphing()) {
    Invalidate();
    return;
  }
  if (!FMorphTimer) {
    FMorphTimer = std::make_unique<TTimer>(nullptr);
    FMorphTimer->SetEnabled(false);
    FMorphTimer->SetInterval(20);
    FMorphTimer->SetOnTimer([this](TObject*) { MorphTick(); });
  }
  if (!FMorphTimer->Enabled()) FMorphTimer->SetEnabled(true);
}

void TspSkinButton::MorphTick() {
  bool target = FMouseIn || FocusedNow();
  if (FIndex == -1) {
    FMorphLevel = target ? 1 : 0;
    FMorphTimer->SetEnabled(false);
    return;
  }
  // The level moves in whole fifths, so hovering on and off take the same number of ticks.
  int fifths = int(std::lround(FMorphLevel * 5));
  if (target && FMorphLevel < 1) {
    FMorphLevel = (fifths + 1) / 5.0;
  } else if (!target && FMorphLevel > 0) {
    FMorphLevel = (fifths - 1) / 5.0;
  } else {
    FMorphLevel = target ? 1 : 0;
    FMorphTimer->SetEnabled(false);
  }
  Invalidate();
}

bool TspSkinButton::FrameAnimationAllowed() const {
  return FIndex != -1 && (!FSkinData || FSkinData->EnableSkinEffects) && !IsNullRect(FAnimateSkinRect) &&
         FFrameCount > 0;
}

void TspSkinButton::StartFrameAnimation(bool Forward) {
  if (!FrameAnimationAllowed()) return;
  FFrameForward = Forward;
  FFrame = Forward ? 1 : FFrameCount;
  if (!FFrameTimer) {
    FFrameTimer = std::make_unique<TTimer>(nullptr);
    FFrameTimer->SetEnabled(false);
    FFrameTimer->SetOnTimer([this](TObject*) { FrameTick(); });
  }
  FFrameTimer->SetInterval(UINT(std::max(FAnimateInterval, 1)));
  FFrameTimer->SetEnabled(true);
  Invalidate();
}

void TspSkinButton::StopFrameAnimation() {
  if (FFrameTimer) FFrameTimer->SetEnabled(false);
}

bool TspSkinButton::FrameAnimating() const { return FFrameTimer && FFrameTimer->Enabled(); }

void TspSkinButton::FrameTick() {
  if (FFrameForward) {
    if (FFrame <= FFrameCount) ++FFrame;
    if (FFrame > FFrameCount) StopFrameAnimation();
  } else {
    if (FFrame >= 0) --FFrame;
    if (FFrame <= 0) StopFrameAnimation();
  }
  Invalidate();
}

bool TspSkinButton::FrameShown(bool Forward) const {
  return FrameAnimating() && FFrameForward == Forward && FFrame >= 1 && FFrame <= FFrameCount;
}

TRect TspSkinButton::NormalSource() const {
  return FrameShown(false) ? StripFrame(FAnimateSkinRect, FSkinRect.Width(), FFrameCount, FFrame) : FSkinRect;
}

TRect TspSkinButton::HotSource() const {
  return FrameShown(true) ? StripFrame(FAnimateSkinRect, FSkinRect.Width(), FFrameCount, FFrame) : FActiveSkinRect;
}

void TspSkinButton::StartRepeat() {
  if (!FRepeatTimer) {
    FRepeatTimer = std::make_unique<TTimer>(nullptr);
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetOnTimer([this](TObject*) { RepeatTick(); });
  }
  FRepeatTimer->SetInterval(500);
  FRepeatTimer->SetEnabled(true);
}

void TspSkinButton::StopRepeat() {
  if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
}

void TspSkinButton::RepeatTick() {
  if (FRepeatTimer->Interval() == 500) {
    FRepeatTimer->SetInterval(UINT(std::max(RepeatInterval, 1)));
    return;
  }
  ButtonClick();
}

void TspSkinButton::CMMouseEnter(TMessage& Message) {
  TspSkinCustomControl::CMMouseEnter(Message);
  if (Designing()) return;
  FMouseIn = true;
  if (LookChanges()) {
    if (FDown) {
      if (Morphing()) FMorphLevel = 1;
      Invalidate();
    } else {
      StartFrameAnimation(true);
      StartMorph();
    }
  }
  if (FDown && RepeatMode && FGroupIndex == 0) StartRepeat();
  if (HandleAllocated()) PostMessage(Handle(), SKINMSG_SHOWGLOW, 0, 0);
}

void TspSkinButton::CMMouseLeave(TMessage& Message) {
  TspSkinCustomControl::CMMouseLeave(Message);
  if (Designing()) return;
  FMouseIn = FCanFocused && FDefault && FDefaultNow && !FocusedNow();
  if (LookChanges()) {
    StartFrameAnimation(false);
    StartMorph();
  }
  if (FDown && RepeatMode && FGroupIndex == 0) StopRepeat();
  if (HandleAllocated()) PostMessage(Handle(), SKINMSG_HIDEGLOW, 0, 0);
}

void TspSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  StopFrameAnimation();
  FHeld = true;
  if (!FDown) {
    FMouseIn = true;
    SetDown(true);
    if (FCheckedMode) {
      FToggledOnPress = true;
      ButtonClick();
    } else if (RepeatMode && FGroupIndex == 0) {
      StartRepeat();
    } else if (FGroupIndex != 0) {
      ButtonClick();
    }
    FDownAtPress = false;
  } else if (FGroupIndex != 0) {
    FDownAtPress = true;
  }
}

void TspSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    FHeld = false;
    bool inside = X >= 0 && Y >= 0 && X < Width() && Y < Height();
    if (!inside) FMouseIn = false;
    if (FCheckedMode) {
      if (FToggledOnPress) {
        FToggledOnPress = false;
      } else {
        SetDown(false);
        ButtonClick();
      }
    } else if (FGroupIndex == 0) {
      bool wasDown = FDown;
      if (FMouseIn) {
        SetDown(false);
        StopRepeat();
        if (wasDown) ButtonClick();
      } else {
        FDown = false;
        StopRepeat();
        Invalidate();
      }
    } else if (FDown && AllowAllUp && FDownAtPress && FMouseIn) {
      SetDown(false);
      ButtonClick();
    }
  }
  if (HandleAllocated() && Visible()) TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY:
      if (Message.WParam == VK_RETURN && FDefaultNow && Enabled()) {
        ButtonClick();
        Message.Result = 1;
        return;
      }
      if (Message.WParam == VK_ESCAPE && Cancel && FCanFocused && KeyDataToShiftState(Message.LParam).Empty() &&
          CanFocus()) {
        ButtonClick();
        Message.Result = 1;
        return;
      }
      break;
    case CM_FOCUSCHANGED: {
      auto* sender = reinterpret_cast<TWinControl*>(Message.LParam);
      bool wasDefaultNow = FDefaultNow;
      FDefaultNow = dynamic_cast<TspSkinButton*>(sender) ? sender == this : FDefault;
      if (FCanFocused && FDefault && wasDefaultNow != FDefaultNow) {
        if (dynamic_cast<TspSkinButton*>(sender)) {
          FMouseIn = false;
          StartMorph();
        } else {
          FMouseIn = true;
          if (Morphing()) FMorphLevel = 1;
          Invalidate();
        }
      }
      break;
    }
    case CM_ENABLEDCHANGED:
      TspSkinCustomControl::Dispatch(Message);
      if (Morphing()) {
        if (FMorphTimer) FMorphTimer->SetEnabled(false);
        FMorphLevel = 0;
      }
      FMouseIn = false;
      Invalidate();
      return;
    case CM_TEXTCHANGED:
      TspSkinCustomControl::Dispatch(Message);
      if (FIndex != -1 || Designing() || FDrawDefault) Invalidate();
      return;
    case WM_SETFOCUS:
      TspSkinCustomControl::Dispatch(Message);
      if (FCanFocused) {
        StartFrameAnimation(true);
        StartMorph();
      }
      return;
    case WM_KILLFOCUS:
      if (RepeatMode) StopRepeat();
      if (FGroupIndex == 0 && FDown) FDown = false;
      TspSkinCustomControl::Dispatch(Message);
      if (FCanFocused) {
        StartFrameAnimation(false);
        StartMorph();
      }
      return;
    case WM_KEYDOWN:
      if (FCanFocused && Message.WParam == VK_SPACE) {
        SetDown(true);
        if (RepeatMode) ButtonClick();
        return;
      }
      if (FCanFocused && Message.WParam == VK_RETURN) {
        ButtonClick();
        return;
      }
      break;
    case WM_KEYUP:
      if (FCanFocused && Message.WParam == VK_SPACE) {
        SetDown(false);
        ButtonClick();
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (FCanFocused && !Focused() && !Designing() && CanFocus()) {
        SetFocus();
        if (!Focused()) return;
      }
      break;
    case SKINMSG_SHOWGLOW:
      ShowGlow();
      return;
    case SKINMSG_HIDEGLOW:
      HideGlow();
      return;
  }
  TspSkinCustomControl::Dispatch(Message);
}

void TspSkinButton::ApplySkin() {
  if (FMorphTimer) FMorphTimer->SetEnabled(false);
  StopFrameAnimation();
  FMorphLevel = 0;
  TspSkinCustomControl::ApplySkin();
  if (Morphing() && (FocusedNow() || FMouseIn)) FMorphLevel = 1;
  if (FMouseIn && HandleAllocated()) PostMessage(Handle(), SKINMSG_SHOWGLOW, 0, 0);
}

void TspSkinButton::ForgetSkin() {
  if (FLayerManager->Showing()) FLayerManager->HideLayer();
  TspSkinCustomControl::ForgetSkin();
}

void TspSkinButton::ShowGlow() {
  TspDataSkinControl* d = Description();
  if (!d || !FSkinData || FSkinData->Empty() || !IsWindows2000OrLater()) return;
  if (!FSkinData->ShowButtonGlowFrames && !AlwaysShowLayeredFrame) return;
  TBitmap* glow = FSkinData->PictureAt(d->Int("glowlayerpictureindex"));
  TBitmap* glowMask = FSkinData->PictureAt(d->Int("glowlayermaskpictureindex"));
  if (!glow || !glowMask) return;
  bool mode2 = FResizeMode == 2 && UseSkinSize;
  if (FResizeMode != 0 && FResizeMode != 1 && !mode2) return;
  TBitmap picture, mask;
  if (FResizeMode == 0) {
    picture.Assign(glow);
    mask.Assign(glowMask);
  } else {
    int extraW = glow->Width() - FSkinRect.Width(), extraH = glow->Height() - FSkinRect.Height();
    int ol = d->Int("glowlayeroffsetleft"), orr = d->Int("glowlayeroffsetright");
    int ot = d->Int("glowlayeroffsettop"), ob = d->Int("glowlayeroffsetbottom");
    TRect all(0, 0, glow->Width(), glow->Height());
    if (mode2) {
      BuildHorizontalThreePartImage(ol, orr, &picture, true, Width() + extraW, all, glow);
      BuildHorizontalThreePartImage(ol, orr, &mask, true, Width() + extraW, all, glowMask);
    } else {
      int W = Width() + extraW, H = Height() + extraH;
      TRect cl(ol, ot, glow->Width() - orr, glow->Height() - ob), ncl(ol, ot, W - orr, H - ob);
      for (auto [target, source] : {std::pair{&picture, glow}, std::pair{&mask, glowMask}})
        BuildNinePartImage(source, all, cl.TopLeft(), Point(cl.Right, cl.Top), Point(cl.Left, cl.Bottom),
                           cl.BottomRight(), cl, target, W, H, ncl.TopLeft(), Point(ncl.Right, ncl.Top),
                           Point(ncl.Left, ncl.Bottom), ncl.BottomRight(), ncl, true, true, true, true, true, true, 0);
    }
  }
  TspBitmap image, m;
  image.Assign(&picture);
  m.Assign(&mask);
  auto* form = dynamic_cast<TCustomForm*>(GetParentForm(this));
  FLayerManager->TopMost = form && form->FormStyle() == fsStayOnTop;
  TPoint origin = ClientToScreen(TPoint());
  FLayerManager->ShowLayer(origin.X - d->Int("glowlayershowoffsetx"), origin.Y - d->Int("glowlayershowoffsety"),
                           d->Int("glowlayeralphablendvalue"), &m, &image);
}

void TspSkinButton::HideGlow() {
  if (FIndex == -1 || !FSkinData || FSkinData->Empty()) return;
  if (FResizeMode == 0 || FResizeMode == 1 || (FResizeMode == 2 && UseSkinSize)) FLayerManager->HideLayer();
}

void TspSkinButton::ContentRect(const TRect& Source, TRect& Content, int W, int H) const {
  if (UseSkinSize || FResizeMode == 1) {
    Content = FNewCl;
  } else {
    Content = Rect(FClRect.Left, FClRect.Top, FClRect.Right + W - Source.Width(), FClRect.Bottom + H - Source.Height());
  }
}

void TspSkinButton::PaintFace(TBitmap* B, const TRect& Source, bool Active, bool IsDown) {
  const int W = B->Width(), H = B->Height();
  TRect content;
  if (UseSkinSize || FResizeMode == 1) {
    BuildFace(B, FPicture, Source);
  } else if (FPicture) {
    TBitmap face;
    if (FResizeMode == 2) {
      BuildHorizontalThreePartImage(FLTPoint.X, FSkinRect.Width() - FRTPoint.X, &face, FStretchEffect, W, Source,
                                    FPicture);
    } else if (FResizeMode == 3) {
      BuildVerticalThreePartImage(FLTPoint.Y, FSkinRect.Height() - FLBPoint.Y, &face, FStretchEffect, H, Source,
                                  FPicture);
    } else {
      Cut(&face, FPicture, Source);
    }
    B->Canvas()->StretchDraw(Rect(0, 0, W, H), &face);
  }
  ContentRect(Source, content, W, H);
  TCanvas* c = B->Canvas();
  TspDataSkinControl* d = Description();
  SkinFont(c->Font(), d);
  TColor colour;
  if (Enabled() && !UseSkinFontColor) {
    colour = FDefaultFont->Color();
  } else if (!Enabled()) {
    colour = FDisabledFontColor;
  } else if (Active && IsDown) {
    colour = FDownFontColor;
  } else if (Active) {
    colour = FActiveFontColor;
  } else {
    colour = FFontColor;
  }
  c->Font()->SetColor(colour);
  if (FShowFocus && FocusedNow()) {
    c->Font()->SetColor(FSkinData->Colors()->BtnFace());
    DrawFocusFrame(c, content);
    c->Font()->SetColor(colour);
  }
  bool draw = true;
  if (OnPaint) OnPaint(this, c, draw, Active, IsDown, content);
  if (!draw) return;
  if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count()) {
    DrawImageListGlyphAndCaption(c, content, FMargin, 0, false, Enabled(), false, FImageList, FImageIndex,
                                 Caption(), FLayout, FSpacing);
  } else {
    DrawImageListGlyphAndCaption(c, content, FMargin, 0, false, Enabled(), false, nullptr, -1, Caption(), FLayout,
                                 FSpacing);
  }
}

void TspSkinButton::PaintSkin(TBitmap* B) {
  bool morphing = Morphing() && FMorphLevel > 0 && FMorphLevel < 1 && Enabled();
  if (morphing) {
    TBitmap hot;
    hot.SetSize(B->Width(), B->Height());
    PaintFace(B, NormalSource(), false, false);
    PaintFace(&hot, HotSource(), true, false);
    auto normal = Effect(B), active = Effect(&hot);
    normal->MorphByKind(FMorphKind, active.get(), FMorphLevel);
    PutEffect(normal.get(), B);
    return;
  }
  bool focused = FocusedNow();
  if (!Enabled() && !IsNullRect(FDisabledSkinRect)) {
    PaintFace(B, FDisabledSkinRect, false, false);
  } else if (FDown && (FGroupIndex != 0 || FMouseIn || (focused && !FHeld))) {
    PaintFace(B, FDownSkinRect, true, true);
  } else if (focused && !IsNullRect(FFocusedSkinRect) && !FrameAnimating()) {
    PaintFace(B, FFocusedSkinRect, true, false);
  } else if (focused || FMouseIn) {
    PaintFace(B, HotSource(), true, false);
  } else if (!Morphing() || FMorphLevel != 1) {
    PaintFace(B, NormalSource(), false, false);
  } else {
    PaintFace(B, HotSource(), true, false);
  }
}

void TspSkinButton::PaintDefault(TBitmap* B) {
  TCanvas* c = B->Canvas();
  FillBitmap(B, clBtnFace);
  c->Font()->Assign(FDefaultFont.get());
  if (!Enabled()) c->Font()->SetColor(clBtnShadow);
  TRect r(0, 0, B->Width(), B->Height());
  bool focused = FocusedNow();
  bool down = FDown && (FGroupIndex != 0 || FMouseIn || (focused && !FHeld));
  if (down) {
    Frame(c, r, 0x800000, 0xB59385);
  } else if (FMouseIn || focused) {
    Frame(c, r, 0x800000, 0xD2BDB6);
  } else {
    Frame(c, r, clBtnShadow, clBtnFace);
  }
  bool draw = true;
  if (OnPaint) OnPaint(this, c, draw, FMouseIn, down, r);
  if (!draw) return;
  bool valid = FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count();
  DrawImageListGlyphAndCaption(c, r, FMargin, 0, false, Enabled(), false, valid ? FImageList : nullptr,
                               valid ? FImageIndex : -1, Caption(), FLayout, FSpacing);
}

void TspSkinButton::Paint() {
  if (Width() < 1 || Height() < 1) return;
  LoadSkinDescription();
  int w = Width(), h = Height();
  // The content rectangle follows the control even when its size is the one asked for.
  TspSkinCustomControl::AdjustSize(w, h);
  TspSkinControl::Paint();
}

// ---- TspSkinCheckRadioBox

TspSkinCheckRadioBox::TspSkinCheckRadioBox(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  FSkinDataName = "checkbox";
  SetTabStop(false);
  SetBounds(0, 0, 150, 25);
}

TspSkinCheckRadioBox::~TspSkinCheckRadioBox() { FMorphTimer.reset(); }

bool TspSkinCheckRadioBox::FocusedNow() const { return FCanFocused && Focused(); }

void TspSkinCheckRadioBox::GetSkinData() {
  TspDataSkinControl* d = Description();
  FMorphing = false;
  if (!d || !d->InheritsFrom("TspDataSkinCheckRadioControl")) return;
  FFontColor = d->Int("fontcolor");
  FActiveFontColor = d->Int("activefontcolor");
  FUnenabledFontColor = d->Int("unenabledfontcolor");
  FFrameFontColor = d->Int("framefontcolor");
  FMorphing = d->Bool("morphing") && !FFlat;
  FMorphKind = d->Int("morphkind");
  auto orElse = [&](const char* key, const TRect& fallback) {
    TRect r = d->Rect(key);
    return IsNullRect(r) ? fallback : r;
  };
  FActiveSkinRect = orElse("activeskinrect", FSkinRect);
  FCheckImageArea = d->Rect("checkimagearea");
  FTextArea = d->Rect("textarea");
  FCheckImageRect = d->Rect("checkimagerect");
  FUnCheckImageRect = d->Rect("uncheckimagerect");
  FActiveCheckImageRect = orElse("activecheckimagerect", FCheckImageRect);
  FActiveUnCheckImageRect = orElse("activeuncheckimagerect", FUnCheckImageRect);
  FUnEnabledCheckImageRect = orElse("unenabledcheckimagerect", FCheckImageRect);
  FUnEnabledUnCheckImageRect = orElse("unenableduncheckimagerect", FUnCheckImageRect);
  FGrayedCheckImageRect = d->Rect("grayedcheckimagerect");
  FActiveGrayedCheckImageRect = d->Rect("activegrayedcheckimagerect");
  if (FFlat) FMaskPicture = nullptr;
}

void TspSkinCheckRadioBox::AdjustSize(int& W, int& H) {
  if (FFlat) return;
  TspSkinCustomControl::AdjustSize(W, H);
  int dx = W - FSkinRect.Width();
  FTextRect = Rect(FTextArea.Left, FTextArea.Top, FTextArea.Right + dx, FTextArea.Bottom);
  TRect area = FCheckImageArea;
  if (FTextArea.Right < FCheckImageArea.Right) area = area.Offset(dx, 0);
  int iw = FCheckImageRect.Width(), ih = FCheckImageRect.Height();
  FCheckRect = Bounds(area.Left + area.Width() / 2 - iw / 2, area.Top + area.Height() / 2 - ih / 2, iw, ih);
}

void TspSkinCheckRadioBox::SetChecked(bool Value) {
  FChecked = Value;
  if (Value || FState == cbChecked) FState = Value ? cbChecked : cbUnchecked;
  Invalidate();
  if (Value && GroupIndex != 0 && Parent()) {
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* other = dynamic_cast<TspSkinCheckRadioBox*>(Parent()->Controls(i));
      if (other && other != this && other->GroupIndex == GroupIndex && other->FChecked) other->SetChecked(false);
    }
  }
  if (!FRadio || FChecked) DoClick();
}

void TspSkinCheckRadioBox::SetState(TCheckBoxState Value) {
  FState = Value;
  FChecked = Value == cbChecked;
  Invalidate();
  DoClick();
}

void TspSkinCheckRadioBox::DoClick() {
  if (OnClick) OnClick(this);
}

void TspSkinCheckRadioBox::Toggle() {
  if (!FRadio) {
    SetChecked(!FChecked);
  } else if (!FChecked) {
    SetChecked(true);
  }
}

void TspSkinCheckRadioBox::SetAllowGrayed(bool Value) {
  FAllowGrayed = Value;
  Invalidate();
}

void TspSkinCheckRadioBox::SetRadio(bool Value) {
  FRadio = Value;
  if (Designing() && !LoadingState()) {
    FSkinDataName = Value ? "radiobox" : "checkbox";
    GroupIndex = Value ? 1 : 0;
  }
  Invalidate();
}

void TspSkinCheckRadioBox::SetFlat(bool Value) {
  FFlat = Value;
  Invalidate();
}

void TspSkinCheckRadioBox::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  if (FFlat) Invalidate();
}

void TspSkinCheckRadioBox::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

void TspSkinCheckRadioBox::SetImageIndex(int Value) {
  FImageIndex = Value;
  Invalidate();
}

void TspSkinCheckRadioBox::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TspSkinCheckRadioBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TspSkinCheckRadioBox::ApplySkin() {
  if (FFlat) {
    LoadSkinDescription();
    Invalidate();
    return;
  }
  if (FMorphTimer) FMorphTimer->SetEnabled(false);
  TspSkinCustomControl::ApplySkin();
  if (FMorphing && (FocusedNow() || FMouseIn)) FMorphLevel = 1;
}

void TspSkinCheckRadioBox::StartMorph() {
  if (!FMorphing || FIndex == -1) {
    Invalidate();
    return;
  }
  if (!FMorphTimer) {
    FMorphTimer = std::make_unique<TTimer>(nullptr);
    FMorphTimer->SetEnabled(false);
    FMorphTimer->SetInterval(20);
    FMorphTimer->SetOnTimer([this](TObject*) {
      bool target = FMouseIn || FocusedNow();
      int fifths = int(std::lround(FMorphLevel * 5));
      if (target && FMorphLevel < 1) {
        FMorphLevel = (fifths + 1) / 5.0;
      } else if (!target && FMorphLevel > 0) {
        FMorphLevel = (fifths - 1) / 5.0;
      } else {
        FMorphLevel = target ? 1 : 0;
        FMorphTimer->SetEnabled(false);
      }
      Invalidate();
    });
  }
  FMorphTimer->SetEnabled(true);
}

void TspSkinCheckRadioBox::CMMouseEnter(TMessage& Message) {
  TspSkinCustomControl::CMMouseEnter(Message);
  FMouseIn = true;
  StartMorph();
}

void TspSkinCheckRadioBox::CMMouseLeave(TMessage& Message) {
  TspSkinCustomControl::CMMouseLeave(Message);
  FMouseIn = false;
  StartMorph();
}

void TspSkinCheckRadioBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    FPressed = true;
    if (!FMouseIn) {
      FMouseIn = true;
      StartMorph();
    }
  }
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TspSkinCheckRadioBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  bool inside = X >= 0 && Y >= 0 && X < Width() && Y < Height();
  if (!inside) FMouseIn = false;
  if (FMouseIn && FPressed) {
    FPressed = false;
    if (!FRadio && FAllowGrayed && FState == cbUnchecked) {
      FState = cbGrayed;
      FChecked = false;
      Invalidate();
      DoClick();
    } else {
      Toggle();
    }
  }
  FPressed = false;
}

void TspSkinCheckRadioBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case SKINMSG_PARENTCHANGED:
      if (FFlat) Invalidate();
      break;
    case WM_MOVE:
      TspSkinCustomControl::Dispatch(Message);
      Invalidate();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TspSkinCustomControl::Dispatch(Message);
      if (FCanFocused) StartMorph();
      return;
    case WM_KEYUP:
      if (FCanFocused && Message.WParam == VK_SPACE && Focused()) {
        Toggle();
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (FCanFocused && !Focused() && CanFocus()) {
        SetFocus();
        if (!Focused()) return;
      }
      break;
  }
  TspSkinCustomControl::Dispatch(Message);
}

void TspSkinCheckRadioBox::CheckImage(TBitmap* Out) {
  bool enabled = Enabled(), hot = FMouseIn && enabled;
  TRect r;
  if (FState == cbGrayed && !FRadio) {
    TRect grayed = hot && !IsNullRect(FActiveGrayedCheckImageRect) ? FActiveGrayedCheckImageRect : FGrayedCheckImageRect;
    if (!IsNullRect(FGrayedCheckImageRect)) {
      Cut(Out, FPicture, grayed);
      return;
    }
    Cut(Out, FPicture, !enabled ? FUnEnabledCheckImageRect : hot ? FActiveCheckImageRect : FCheckImageRect);
    // Lightened, but the key colour (drawn transparent) stays as it was.
    TBitmap keep;
    keep.Assign(Out);
    const uint32_t key = reinterpret_cast<uint32_t*>(keep.ScanLine(keep.Height() - 1))[0] & 0xFFFFFF;
    auto e = Effect(Out);
    e->Lighten(0.5);
    PutEffect(e.get(), Out);
    for (int y = 0; y < Out->Height(); ++y)
      for (int x = 0; x < Out->Width(); ++x) {
        uint32_t p = reinterpret_cast<uint32_t*>(keep.ScanLine(y))[x];
        if ((p & 0xFFFFFF) == key) reinterpret_cast<uint32_t*>(Out->ScanLine(y))[x] = p;
      }
    return;
  }
  if (FState == cbChecked || FChecked) {
    r = !enabled ? FUnEnabledCheckImageRect : hot ? FActiveCheckImageRect : FCheckImageRect;
  } else {
    r = !enabled ? FUnEnabledUnCheckImageRect : hot ? FActiveUnCheckImageRect : FUnCheckImageRect;
  }
  Cut(Out, FPicture, r);
}

void TspSkinCheckRadioBox::DrawCaption(TCanvas* C, TRect R, bool Flat) {
  std::string text = Caption();
  if (text.empty()) return;
  C->Brush()->SetStyle(TBrushStyle::bsClear);
  SelectCanvasText(C);
  SetBkMode(C->Handle(), TRANSPARENT);
  RECT rc = R;
  UINT flags = FWordWrap ? DT_WORDBREAK : (DT_SINGLELINE | DT_VCENTER);
  if (FWordWrap) {
    RECT calc = rc;
    ::DrawText(C->Handle(), text, -1, &calc, flags | DT_CALCRECT);
    int h = calc.bottom - calc.top;
    rc.top = R.Top + (R.Height() - h) / 2;
    rc.bottom = rc.top + h;
  }
  ::DrawText(C->Handle(), text, -1, &rc, flags);
}

void TspSkinCheckRadioBox::PaintSkin(TBitmap* B) {
  TCanvas* c = B->Canvas();
  TspDataSkinControl* d = Description();
  if (FFlat) {
    DrawParentImage(this, c);
    TBitmap image;
    CheckImage(&image);
    image.SetTransparent(true);
    c->Draw(3, B->Height() / 2 - image.Height() / 2, &image);
    SkinFont(c->Font(), d);
    TColor colour = Enabled() ? FFrameFontColor : FUnenabledFontColor;
    if (!UseSkinFontColor) colour = FDefaultFont->Color();
    c->Font()->SetColor(colour);
    int x = image.Width() + 7;
    if (FImages && FImageIndex >= 0 && FImageIndex < FImages->Count()) {
      FImages->Draw(c, x, B->Height() / 2 - FImages->Height() / 2, FImageIndex, Enabled());
      x += FImages->Width() + 8;
    }
    TRect text(x, 0, B->Width() - 2, B->Height());
    DrawCaption(c, text, true);
    if (FocusedNow()) {
      c->Font()->SetColor(FSkinData->Colors()->BtnFace());
      DrawFocusFrame(c, text);
    }
    return;
  }
  auto face = [&](TBitmap* out, const TRect& source, bool hot) {
    out->SetSize(B->Width(), B->Height());
    BuildFace(out, FPicture, source);
    TBitmap image;
    CheckImage(&image);
    image.SetTransparent(true);
    out->Canvas()->Draw(FCheckRect.Left, FCheckRect.Top, &image);
    SkinFont(out->Canvas()->Font(), d);
    out->Canvas()->Font()->SetColor(!Enabled() ? FUnenabledFontColor : hot ? FActiveFontColor : FFontColor);
    DrawCaption(out->Canvas(), FTextRect, false);
  };
  if (FMorphing && FMorphLevel > 0 && FMorphLevel < 1) {
    TBitmap normal, hot;
    face(&normal, FSkinRect, false);
    face(&hot, FActiveSkinRect, true);
    auto n = Effect(&normal), h = Effect(&hot);
    n->MorphByKind(FMorphKind, h.get(), FMorphLevel);
    PutEffect(n.get(), B);
    return;
  }
  bool hot = FMouseIn || FocusedNow();
  TBitmap out;
  face(&out, hot ? FActiveSkinRect : FSkinRect, hot);
  c->Draw(0, 0, &out);
}

void TspSkinCheckRadioBox::PaintDefault(TBitmap* B) {
  TCanvas* c = B->Canvas();
  if (FFlat) {
    DrawParentImage(this, c);
  } else {
    FillBitmap(B, clBtnFace);
    if (FMouseIn || FocusedNow()) {
      c->Brush()->SetColor(clBtnShadow);
      c->FrameRect(Rect(0, 0, B->Width(), B->Height()));
    }
  }
  int h = B->Height();
  TRect box = Bounds(3, h / 2 - 7, 14, 14);
  Frame(c, box, FMouseIn ? TColor(0x800000) : clBtnShadow, clWindow);
  TColor mark = Enabled() ? clBlack : clBtnShadow;
  if (FState == cbGrayed) mark = clGrayText;
  if (FChecked || FState == cbGrayed) {
    if (FRadio) {
      DrawDot(c, 7, h / 2 - 3, mark);
    } else {
      DrawCheckMark(c, 7, h / 2 - 4, mark);
    }
  }
  c->Font()->Assign(FDefaultFont.get());
  if (!Enabled()) c->Font()->SetColor(clBtnShadow);
  int x = 22;
  if (FImages && FImageIndex >= 0 && FImageIndex < FImages->Count()) {
    FImages->Draw(c, x, h / 2 - FImages->Height() / 2, FImageIndex, Enabled());
    x += FImages->Width() + 5;
  }
  TRect text = FFlat ? Rect(x, 0, B->Width() - 2, h) : Rect(19, 0, B->Width(), h);
  DrawCaption(c, text, FFlat);
  if (FocusedNow()) DrawFocusFrame(c, text);
}

// ---- TspSkinGauge

TspSkinGauge::TspSkinGauge(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  FSkinDataName = "gauge";
  SetBounds(0, 0, 100, 20);
}

void TspSkinGauge::GetSkinData() {
  TspDataSkinControl* d = Description();
  if (!d || !d->InheritsFrom("TspDataSkinGaugeControl")) return;
  FProgressArea = d->Rect("progressarea");
  FProgressRect = d->Rect("progressrect");
  FBeginOffset = d->Int("beginoffset");
  FEndOffset = d->Int("endoffset");
  FVertical = d->Bool("vertical");
  FFontColor = d->Int("fontcolor");
  FProgressTransparent = d->Bool("progresstransparent");
  FProgressTransparentColor = d->Int("progresstransparentcolor");
  FProgressStretch = d->Bool("progressstretch");
  FAnimationSkinRect = d->Rect("progressanimationskinrect");
  FAnimationFrames = d->Int("progressanimationcountframes");
  FAnimationInterval = d->Int("progressanimationtimerinterval");
  if (!UseSkinSize) FMaskPicture = nullptr;
}

void TspSkinGauge::SetProgressAnimationPause(int Value) {
  if (Value >= 0) FProgressAnimationPause = Value;
}

void TspSkinGauge::BeginProgressAnimation() {
  TspDataSkinControl* d = Description();
  if (!d || IsNullRect(d->Rect("progressanimationskinrect"))) return;
  auto timer = [this](int Interval, void (TspSkinGauge::*Tick)()) {
    auto t = std::make_unique<TTimer>(nullptr);
    t->SetEnabled(false);
    t->SetInterval(UINT(std::max(Interval, 1)));
    t->SetOnTimer([this, Tick](TObject*) { (this->*Tick)(); });
    return t;
  };
  FPauseTimer = timer(FProgressAnimationPause, &TspSkinGauge::StartAnimationRun);
  FFrameTimer = timer(FAnimationInterval, &TspSkinGauge::AnimationTick);
  StartAnimationRun();
}

void TspSkinGauge::EndProgressAnimation() {
  // The bar must not stay on the frame shown last.
  if (FAnimationFrame != 0) Invalidate();
  FAnimationFrame = 0;
  FPauseTimer.reset();
  FFrameTimer.reset();
}

void TspSkinGauge::StartAnimationRun() {
  FPauseTimer->SetEnabled(false);
  FAnimationFrame = 0;
  FFrameTimer->SetEnabled(true);
  Invalidate();
}

void TspSkinGauge::AnimationTick() {
  if (++FAnimationFrame > FAnimationFrames) {
    FFrameTimer->SetEnabled(false);
    FPauseTimer->SetEnabled(true);
    FAnimationFrame = 0;
  }
  Invalidate();
}

void TspSkinGauge::ApplySkin() {
  const bool running = FFrameTimer != nullptr;
  EndProgressAnimation();
  TspSkinCustomControl::ApplySkin();
  if (running) BeginProgressAnimation();
}

void TspSkinGauge::AdjustSize(int& W, int& H) {
  int w = W, h = H;
  TspSkinCustomControl::AdjustSize(W, H);
  if (!UseSkinSize) {
    W = w;
    H = h;
  }
  FNewProgressArea = FProgressArea;
  if (FResizeMode > 0) {
    if (FVertical) {
      FNewProgressArea.Bottom += H - FSkinRect.Height();
    } else {
      FNewProgressArea.Right += W - FSkinRect.Width();
    }
  }
}

void TspSkinGauge::SetValue(int Value) {
  if (Value > FMaxValue) {
    Value = FMaxValue;
  } else if (Value < FMinValue) {
    Value = FMinValue;
  }
  if (Value == FValue) return;
  FValue = Value;
  Invalidate();
}

void TspSkinGauge::SetMinValue(int Value) {
  FMinValue = Value;
  if (FValue < Value) FValue = Value;
  Invalidate();
}

void TspSkinGauge::SetMaxValue(int Value) {
  FMaxValue = Value;
  if (FValue > Value) FValue = Value;
  Invalidate();
}

void TspSkinGauge::SetVertical(bool Value) {
  FVertical = Value;
  if (Designing() && !LoadingState()) FSkinDataName = Value ? "vgauge" : "gauge";
  Invalidate();
}

void TspSkinGauge::SetProgressText(const std::string& Value) {
  FProgressText = Value;
  Invalidate();
}
void TspSkinGauge::SetShowProgressText(bool Value) {
  FShowProgressText = Value;
  Invalidate();
}
void TspSkinGauge::SetShowPercent(bool Value) {
  FShowPercent = Value;
  Invalidate();
}

double TspSkinGauge::Fraction() const {
  if (FMaxValue == FMinValue) return 0;
  // A minimum above the maximum must not draw outside the area.
  return std::clamp(double(FValue - FMinValue) / double(FMaxValue - FMinValue), 0.0, 1.0);
}

TRect TspSkinGauge::FilledRect(const TRect& A) const {
  double f = Fraction();
  if (FVertical) return Rect(A.Left, A.Bottom - int(f * A.Height()), A.Right, A.Bottom);
  return Rect(A.Left, A.Top, A.Left + int(f * A.Width()), A.Bottom);
}

std::string TspSkinGauge::Text() const {
  std::string t;
  if (FShowProgressText) t = FProgressText;
  if (FShowPercent) t += IntToStr(int(Fraction() * 100)) + "%";
  return t;
}

void TspSkinGauge::DrawText(TCanvas* C, int W, int H, bool Skinned) {
  std::string t = Text();
  if (t.empty()) return;
  TspDataSkinControl* d = Skinned ? Description() : nullptr;
  SkinFont(C->Font(), d);
  if (d) C->Font()->SetColor(FFontColor);
  C->Brush()->SetStyle(TBrushStyle::bsClear);
  SetBkMode(C->Handle(), TRANSPARENT);
  TSize s = C->TextExtent(t);
  int lift = C->Font()->Height() % 2 != 0 ? 1 : 0;
  if (FVertical) {
    C->Font()->SetOrientation(900);
    C->TextOut(W / 2 - s.cy / 2, s.cx / 2 + H / 2 - lift, t);
    C->Font()->SetOrientation(0);
  } else {
    C->TextOut(W / 2 - s.cx / 2, H / 2 - s.cy / 2 - lift, t);
  }
}

void TspSkinGauge::PaintSkin(TBitmap* B) {
  const int W = B->Width(), H = B->Height();
  if (!UseSkinSize) {
    // The face at the skin's size, stretched to the control.
    TBitmap face;
    face.SetSize(std::max(FSkinRect.Width(), 1), std::max(FSkinRect.Height(), 1));
    Cut(&face, FPicture, FSkinRect);
    B->Canvas()->StretchDraw(Rect(0, 0, W, H), &face);
  } else {
    BuildFace(B, FPicture, FSkinRect);
  }
  TRect area = FNewProgressArea;
  TRect filled = FilledRect(area);
  TCanvas* c = B->Canvas();
  if (OnGaugePaint) {
    OnGaugePaint(c, area, filled);
  } else if (filled.Width() > 0 && filled.Height() > 0 && FPicture && !IsNullRect(FProgressRect)) {
    TBitmap bar;
    bar.SetSize(filled.Width(), filled.Height());
    TCanvas* bc = bar.Canvas();
    TCanvas* pc = FPicture->Canvas();
    const TRect src = FProgressRect;
    // While the animation shows a frame, the frame is stretched in place of the bar's middle.
    const bool frame = FAnimationFrame >= 1 && FAnimationFrames > 0;
    const TRect middle =
        frame ? StripFrame(FAnimationSkinRect, src.Width(), FAnimationFrames, FAnimationFrame) : src;
    const bool stretch = FProgressStretch || frame;
    if (FVertical) {
      int mid = filled.Height() - FBeginOffset - FEndOffset;
      TRect s(middle.Left, middle.Top + FBeginOffset, middle.Right, middle.Bottom - FEndOffset);
      if (mid > 0 && s.Height() > 0) {
        if (stretch) {
          bc->CopyRect(Rect(0, FBeginOffset, bar.Width(), FBeginOffset + mid), pc, s);
        } else {
          // Tiles from the bottom up; the topmost keeps the lower part of the source.
          int bottom = FBeginOffset + mid;
          for (int y = bottom; y > FBeginOffset; y -= s.Height()) {
            int top = std::max(y - s.Height(), FBeginOffset);
            bc->CopyRect(Rect(0, top, bar.Width(), y), pc, Rect(s.Left, s.Bottom - (y - top), s.Right, s.Bottom));
          }
        }
      }
      if (FBeginOffset > 0)
        bc->CopyRect(Rect(0, 0, bar.Width(), FBeginOffset), pc, Rect(src.Left, src.Top, src.Right, src.Top + FBeginOffset));
      if (FEndOffset > 0)
        bc->CopyRect(Rect(0, bar.Height() - FEndOffset, bar.Width(), bar.Height()), pc,
                     Rect(src.Left, src.Bottom - FEndOffset, src.Right, src.Bottom));
    } else {
      int mid = filled.Width() - FBeginOffset - FEndOffset;
      TRect s(middle.Left + FBeginOffset, middle.Top, middle.Right - FEndOffset, middle.Bottom);
      if (mid > 0 && s.Width() > 0) {
        if (stretch) {
          bc->CopyRect(Rect(FBeginOffset, 0, FBeginOffset + mid, bar.Height()), pc, s);
        } else {
          TileHorizontally(bc, Rect(FBeginOffset, 0, FBeginOffset + mid, bar.Height()), pc, s);
        }
      }
      if (FBeginOffset > 0)
        bc->CopyRect(Rect(0, 0, FBeginOffset, bar.Height()), pc, Rect(src.Left, src.Top, src.Left + FBeginOffset, src.Bottom));
      if (FEndOffset > 0)
        bc->CopyRect(Rect(bar.Width() - FEndOffset, 0, bar.Width(), bar.Height()), pc,
                     Rect(src.Right - FEndOffset, src.Top, src.Right, src.Bottom));
    }
    if (FProgressTransparent) {
      DrawKeyed(c, filled.Left, filled.Top, &bar, FProgressTransparentColor);
    } else {
      c->Draw(filled.Left, filled.Top, &bar);
    }
  }
  if (UseSkinSize) DrawText(c, W, H, true);
}

void TspSkinGauge::PaintDefault(TBitmap* B) {
  TCanvas* c = B->Canvas();
  TRect r(0, 0, B->Width(), B->Height());
  Frame(c, r, clBtnShadow, clWindow);
  TRect area = r.Inflate(-1, -1);
  TRect filled = FilledRect(area);
  if (OnGaugePaint) {
    OnGaugePaint(c, area, filled);
  } else if (!filled.IsEmpty()) {
    c->Brush()->SetColor(0xD2BDB6);
    c->FillRect(filled);
  }
  DrawText(c, B->Width(), B->Height(), false);
}

void TspSkinGauge::Dispatch(TMessage& Message) { TspSkinCustomControl::Dispatch(Message); }

// ---- TspSkinTrackBar

TspSkinTrackBar::TspSkinTrackBar(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  FSkinDataName = "htrackbar";
  SetTabStop(false);
  SetBounds(0, 0, 100, 20);
}

bool TspSkinTrackBar::FocusedNow() const { return FCanFocused && Focused(); }

void TspSkinTrackBar::GetSkinData() {
  TspDataSkinControl* d = Description();
  if (!d || !d->InheritsFrom("TspDataSkinTrackBarControl")) return;
  FActiveSkinRect = d->Rect("activeskinrect");
  FTrackArea = d->Rect("trackarea");
  FButtonSkinRect = d->Rect("buttonrect");
  FActiveButtonRect = d->Rect("activebuttonrect");
  if (IsNullRect(FActiveButtonRect)) FActiveButtonRect = FButtonSkinRect;
  FVertical = d->Bool("vertical");
  FButtonTransparent = d->Bool("buttontransparent");
  FButtonTransparentColor = d->Int("buttontransparentcolor");
}

void TspSkinTrackBar::AdjustSize(int& W, int& H) {
  TspSkinCustomControl::AdjustSize(W, H);
  FNewTrackArea = FTrackArea;
  if (FResizeMode > 0) {
    if (FVertical) {
      FNewTrackArea.Bottom += H - FSkinRect.Height();
    } else {
      FNewTrackArea.Right += W - FSkinRect.Width();
    }
  }
}

TSize TspSkinTrackBar::ButtonSize() const {
  if (FIndex != -1) return TSize{FButtonSkinRect.Width(), FButtonSkinRect.Height()};
  if (FVertical) {
    int bw = Width() - 4;
    return TSize{bw, bw / 2};
  }
  int bh = Height() - 4;
  return TSize{bh / 2, bh};
}

TRect TspSkinTrackBar::TrackArea() const {
  if (FIndex != -1) return FNewTrackArea;
  return Rect(2, 2, Width() - 2, Height() - 2);
}

void TspSkinTrackBar::Layout() {
  LoadSkinDescription();
  int w = Width(), h = Height();
  AdjustSize(w, h);
  TSize b = ButtonSize();
  TRect a = TrackArea();
  double f = FMaxValue == FMinValue ? 0 : double(FValue - FMinValue) / double(FMaxValue - FMinValue);
  if (FVertical) {
    FLo = a.Top + b.cy / 2;
    FHi = a.Bottom - b.cy / 2;
    FOffset = RoundEven(f * (FHi - FLo));
    int top = FHi - FOffset - b.cy / 2;
    int left = a.Left + a.Width() / 2 - b.cx / 2;
    FButtonRect = Bounds(left, top, b.cx, b.cy);
  } else {
    FLo = a.Left + b.cx / 2;
    FHi = a.Right - b.cx / 2;
    FOffset = RoundEven(f * (FHi - FLo));
    FButtonRect = Bounds(FLo + FOffset - b.cx / 2, a.Top + a.Height() / 2 - b.cy / 2, b.cx, b.cy);
  }
}

void TspSkinTrackBar::SetValue(int Value) {
  if (Value > FMaxValue) {
    Value = FMaxValue;
  } else if (Value < FMinValue) {
    Value = FMinValue;
  }
  if (Value == FValue) return;
  FValue = Value;
  Repaint();
  if (OnChange) OnChange(this);
}

void TspSkinTrackBar::SetMinValue(int Value) {
  FMinValue = Value;
  if (FValue < Value) FValue = Value;
  Invalidate();
}

void TspSkinTrackBar::SetMaxValue(int Value) {
  FMaxValue = Value;
  if (FValue > Value) FValue = Value;
  Invalidate();
}

void TspSkinTrackBar::SetVertical(bool Value) {
  FVertical = Value;
  if (Designing() && !LoadingState()) FSkinDataName = Value ? "trackbar" : "htrackbar";
  Invalidate();
}

void TspSkinTrackBar::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TspSkinTrackBar::SetValueFromOffset(int P) {
  double g = FHi - FLo > 0 ? double(P) / double(FHi - FLo) : 0;
  g = std::clamp(g, 0.0, 1.0);
  SetValue(FMinValue + RoundEven(double(FMaxValue - FMinValue) * g));
}

void TspSkinTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (!MouseSupport) return;
  Layout();
  const TRect& b = FButtonRect;
  if (X >= b.Left && X <= b.Right && Y >= b.Top && Y <= b.Bottom) {
    FDown = true;
    FAnchor = FVertical ? Y : X;
    FOffsetAtPress = FOffset;
    Invalidate();
    if (OnStartDragButton) OnStartDragButton(this);
  }
}

void TspSkinTrackBar::MouseMove(TShiftState Shift, int X, int Y) {
  TspSkinCustomControl::MouseMove(Shift, X, Y);
  if (!MouseSupport || !FDown) return;
  SetValueFromOffset(FVertical ? FAnchor + FOffsetAtPress - Y : X + FOffsetAtPress - FAnchor);
}

void TspSkinTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (!MouseSupport) return;
  if (FDown) {
    FDown = false;
    Invalidate();
    if (OnLastChange) OnLastChange(this);
    return;
  }
  if (!JumpWhenClick) return;
  Layout();
  TSize b = ButtonSize();
  int a = FIndex != -1 ? (FVertical ? FNewTrackArea.Top : FNewTrackArea.Left) : 2;
  SetValueFromOffset(FVertical ? Height() - Y - b.cy / 2 - a : X - b.cx / 2 - a);
}

void TspSkinTrackBar::KeyDown(WORD& Key, TShiftState Shift) {
  TspSkinCustomControl::KeyDown(Key, Shift);
  if (!FCanFocused) return;
  if (Key == VK_LEFT || Key == VK_DOWN) {
    SetValue(FValue - 1);
  } else if (Key == VK_UP || Key == VK_RIGHT) {
    SetValue(FValue + 1);
  } else {
    return;
  }
  if (OnLastChange) OnLastChange(this);
}

bool TspSkinTrackBar::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (!FocusedNow()) return TspSkinCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos);
  if (FVertical) {
    SetValue(FValue + (WheelDelta > 0 ? 1 : -1));
  } else {
    SetValue(FValue + (WheelDelta <= 0 ? 1 : -1));
  }
  if (OnLastChange) OnLastChange(this);
  return true;
}

void TspSkinTrackBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
      if (FCanFocused && (Message.WParam == VK_LEFT || Message.WParam == VK_RIGHT || Message.WParam == VK_UP ||
                          Message.WParam == VK_DOWN)) {
        Message.Result = 1;
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (FCanFocused && !Focused() && CanFocus()) {
        SetFocus();
        if (!Focused()) return;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      TspSkinCustomControl::Dispatch(Message);
      if (FCanFocused) Invalidate();
      return;
  }
  TspSkinCustomControl::Dispatch(Message);
}

void TspSkinTrackBar::PaintSkin(TBitmap* B) {
  BuildFace(B, FPicture, FSkinRect);
  Layout();
  TCanvas* c = B->Canvas();
  if (!IsNullRect(FActiveSkinRect) && FPicture) {
    TBitmap active;
    active.SetSize(B->Width(), B->Height());
    BuildFace(&active, FPicture, FActiveSkinRect);
    if (FVertical) {
      int cy = FButtonRect.Top + FButtonRect.Height() / 2;
      c->CopyRect(Rect(0, cy, B->Width(), B->Height()), active.Canvas(), Rect(0, cy, B->Width(), B->Height()));
    } else {
      int cx = FButtonRect.Left + FButtonRect.Width() / 2;
      if (cx > 0) c->CopyRect(Rect(0, 0, cx, B->Height()), active.Canvas(), Rect(0, 0, cx, B->Height()));
    }
  }
  TBitmap button;
  Cut(&button, FPicture, FDown || FocusedNow() ? FActiveButtonRect : FButtonSkinRect);
  if (FButtonTransparent) {
    DrawKeyed(c, FButtonRect.Left, FButtonRect.Top, &button, FButtonTransparentColor);
  } else if (FAlphaBlend) {
    TBitmap under;
    under.SetSize(button.Width(), button.Height());
    under.Canvas()->CopyRect(Rect(0, 0, button.Width(), button.Height()), c, FButtonRect);
    auto b = Effect(&button), u = Effect(&under);
    b->Morph(u.get(), 1 - FAlphaBlendValue / 255.0);
    b->Draw(c->Handle(), FButtonRect.Left, FButtonRect.Top);
  } else {
    c->Draw(FButtonRect.Left, FButtonRect.Top, &button);
  }
}

void TspSkinTrackBar::PaintDefault(TBitmap* B) {
  TCanvas* c = B->Canvas();
  const int W = B->Width(), H = B->Height();
  Frame(c, Rect(0, 0, W, H), clBtnShadow, clBtnFace);
  TRect groove = FVertical ? Rect(W / 2 - 1, 4, W / 2 + 1, H - 4) : Rect(4, H / 2 - 1, W - 4, H / 2 + 1);
  c->Pen()->SetColor(clBtnShadow);
  c->MoveTo(groove.Left, groove.Bottom);
  c->LineTo(groove.Left, groove.Top);
  c->LineTo(groove.Right, groove.Top);
  c->Pen()->SetColor(clBtnHighlight);
  c->LineTo(groove.Right, groove.Bottom);
  c->LineTo(groove.Left, groove.Bottom);
  Layout();
  if (FDown) {
    Frame(c, FButtonRect, 0x800000, 0xB59385);
  } else if (FocusedNow()) {
    Frame(c, FButtonRect, 0x800000, 0xD2BDB6);
  } else {
    Frame(c, FButtonRect, clBtnShadow, clBtnFace);
  }
}

// ---- registration

namespace {

// A setter for a plain published field.
template <class C, class V>
auto Field(V C::*Member) {
  return [Member](auto* Object, const V& Value) { Object->*Member = Value; };
}

}  // namespace

void RegisterSkinControlClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterGuiClasses();
  RegisterSkinDataClasses();
  RegisterSpPngImageListClasses();
  RegisterEnumNames<TspButtonLayout>({"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
  auto base = []<class T>(TPublished<T> published) {
    published.Property("SkinData", &T::SkinData, &T::SetSkinData)
        .Property("SkinDataName", &T::SkinDataName, &T::SetSkinDataName)
        .Property("AreaName", &T::AreaName, Field(&T::AreaName))
        .Property("DrawDefault", &T::DrawDefault, &T::SetDrawDefault).Default(true)
        .Property("AlphaBlend", &T::AlphaBlend, &T::SetAlphaBlend).Default(false)
        .Property("AlphaBlendValue", &T::AlphaBlendValue, &T::SetAlphaBlendValue).Default(200)
        .Property("UseSkinCursor", &T::UseSkinCursor, Field(&T::UseSkinCursor)).Default(false)
        .Property("DefaultFont", &T::DefaultFont)
        .Property("UseSkinFont", &T::UseSkinFont, Field(&T::UseSkinFont)).Default(true);
  };
  RegisterClass<TspSkinButton, TCustomControl>();
  base(Published<TspSkinButton>());
  Published<TspSkinButton>()
      .Property("Caption", &TspSkinButton::Caption, &TspSkinButton::SetCaption)
      .Property("ImageList", &TspSkinButton::ImageList, &TspSkinButton::SetImageList)
      .Property("ImageIndex", &TspSkinButton::ImageIndex, &TspSkinButton::SetImageIndex).Default(-1)
      .Property("UseSkinSize", &TspSkinButton::UseSkinSize, Field(&TspSkinButton::UseSkinSize)).Default(true)
      .Property("CanFocused", &TspSkinButton::CanFocused, &TspSkinButton::SetCanFocused).Default(true)
      .Property("Down", &TspSkinButton::Down, &TspSkinButton::SetDown).Default(false)
      .Property("GroupIndex", &TspSkinButton::GroupIndex, &TspSkinButton::SetGroupIndex).Default(0)
      .Property("Margin", &TspSkinButton::Margin, &TspSkinButton::SetMargin).Default(-1)
      .Property("Spacing", &TspSkinButton::Spacing, &TspSkinButton::SetSpacing).Default(1)
      .Property("Layout", &TspSkinButton::Layout, &TspSkinButton::SetLayout)
      .Property("OnClick", &TspSkinButton::OnClick);
  RegisterClass<TspSkinCheckRadioBox, TCustomControl>();
  base(Published<TspSkinCheckRadioBox>());
  Published<TspSkinCheckRadioBox>()
      .Property("Caption", &TspSkinCheckRadioBox::Caption, &TspSkinCheckRadioBox::SetCaption)
      .Property("Checked", &TspSkinCheckRadioBox::Checked, &TspSkinCheckRadioBox::SetChecked).Default(false)
      .Property("Flat", &TspSkinCheckRadioBox::Flat, &TspSkinCheckRadioBox::SetFlat).Default(true)
      .Property("CanFocused", &TspSkinCheckRadioBox::CanFocused, &TspSkinCheckRadioBox::SetCanFocused).Default(true)
      .Property("OnClick", &TspSkinCheckRadioBox::OnClick);
  RegisterClass<TspSkinGauge, TCustomControl>();
  base(Published<TspSkinGauge>());
  Published<TspSkinGauge>()
      .Property("MinValue", &TspSkinGauge::MinValue, &TspSkinGauge::SetMinValue).Default(0)
      .Property("MaxValue", &TspSkinGauge::MaxValue, &TspSkinGauge::SetMaxValue).Default(100)
      .Property("Value", &TspSkinGauge::Value, &TspSkinGauge::SetValue).Default(50)
      .Property("Vertical", &TspSkinGauge::Vertical, &TspSkinGauge::SetVertical).Default(false)
      .Property("UseSkinSize", &TspSkinGauge::UseSkinSize, Field(&TspSkinGauge::UseSkinSize)).Default(true)
      .Property("ProgressAnimationPause", &TspSkinGauge::ProgressAnimationPause,
                &TspSkinGauge::SetProgressAnimationPause)
          .Default(1000);
  RegisterClass<TspSkinTrackBar, TCustomControl>();
  base(Published<TspSkinTrackBar>());
  Published<TspSkinTrackBar>()
      .Property("MinValue", &TspSkinTrackBar::MinValue, &TspSkinTrackBar::SetMinValue).Default(0)
      .Property("MaxValue", &TspSkinTrackBar::MaxValue, &TspSkinTrackBar::SetMaxValue).Default(100)
      .Property("Value", &TspSkinTrackBar::Value, &TspSkinTrackBar::SetValue).Default(50)
      .Property("Vertical", &TspSkinTrackBar::Vertical, &TspSkinTrackBar::SetVertical).Default(false)
      .Property("JumpWhenClick", &TspSkinTrackBar::JumpWhenClick, Field(&TspSkinTrackBar::JumpWhenClick)).Default(false)
      .Property("MouseSupport", &TspSkinTrackBar::MouseSupport, Field(&TspSkinTrackBar::MouseSupport)).Default(true)
      .Property("CanFocused", &TspSkinTrackBar::CanFocused, &TspSkinTrackBar::SetCanFocused).Default(false)
      .Property("OnChange", &TspSkinTrackBar::OnChange);
}
