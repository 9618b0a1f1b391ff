#include "controls/RzCommon.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/Streaming.h"
#include "platform/rtl/TypInfo.h"

namespace {

struct TFrameColors {
  TColor UL, LR;
};
// By style, fsNone..fsFlatBold.
const TFrameColors kFrameColors[] = {
    {clWindow, clWindow},           {cl3DDkShadow, cl3DDkShadow},   {clBtnShadow, clBtnHighlight},
    {clBtnHighlight, clBtnShadow},  {clBtnShadow, clBtnHighlight},  {clNone, clNone},
    {cl3DDkShadow, clBtnFace},      {clNone, clNone},               {clBtnShadow, clBtnHighlight},
    {clBtnHighlight, clBtnShadow},  {clBtnShadow, clBtnShadow},
};

struct TBevelColors {
  TColor OuterUL, OuterLR, InnerUL, InnerLR;
};
TBevelColors BevelColors(TFrameStyleEx Style) {
  switch (Style) {
    case fsLowered: return {clBtnShadow, clBtnHighlight, cl3DDkShadow, cl3DLight};
    case fsRaised: return {cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow};
    case fsButtonDown: return {clBtnText, clBtnText, clBtnShadow, clBtnShadow};
    default: return {clBtnHighlight, cl3DDkShadow, cl3DLight, clBtnShadow};  // fsButtonUp
  }
}

void Line(TCanvas* Canvas, int X1, int Y1, int X2, int Y2) {
  Canvas->MoveTo(X1, Y1);
  Canvas->LineTo(X2, Y2);
}

void Pixel(TCanvas* Canvas, int X, int Y, TColor C) {
  if (C != clNone) Canvas->SetPixel(X, Y, C);
}

}  // namespace

TColor FrameULColor(TFrameStyleEx Style) { return kFrameColors[std::min(int(Style), int(fsFlatBold))].UL; }
TColor FrameLRColor(TFrameStyleEx Style) { return kFrameColors[std::min(int(Style), int(fsFlatBold))].LR; }

void ColorToHSL240(TColor Color, uint8_t& H, uint8_t& S, uint8_t& L) {
  const TColor rgb = ColorToRGB(Color);
  const double r = GetRValue(rgb) / 255.0, g = GetGValue(rgb) / 255.0, b = GetBValue(rgb) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const double l = (mx + mn) / 2;
  double h = 0, s = 0;
  if (mx != mn) {
    const double d = mx - mn;
    s = l < 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    if (r == mx) h = (g - b) / d;
    else if (g == mx) h = (b - r) / d + 2;
    else h = (r - g) / d + 4;
    h /= 6;
    if (h < 0) h += 1;
  }
  H = uint8_t(Round(h * 240));
  S = uint8_t(Round(s * 240));
  L = uint8_t(Round(l * 240));
}

TColor HSL240ToColor(uint8_t H, uint8_t S, uint8_t L) {
  const double l = L / 240.0, s = S / 240.0, h = H / 239.0;
  const double m2 = l < 0.5 ? l * (1 + s) : l + s - l * s;
  if (m2 <= 0) return clBlack;
  const double m1 = 2 * l - m2;
  const double h6 = h * 6;
  const int sector = int(std::trunc(h6));
  const double f = m2 * ((m2 - m1) / m2) * (h6 - sector);
  double r, g, b;
  switch (sector % 6) {
    case 0: r = m2, g = m1 + f, b = m1; break;
    case 1: r = m2 - f, g = m2, b = m1; break;
    case 2: r = m1, g = m2, b = m1 + f; break;
    case 3: r = m1, g = m2 - f, b = m2; break;
    case 4: r = m1 + f, g = m1, b = m2; break;
    default: r = m2, g = m1, b = m2 - f; break;
  }
  auto byte = [](double c) { return int(Round(std::clamp(c, 0.0, 1.0) * 255)); };
  return TColor(RGB(byte(r), byte(g), byte(b)));
}

TColor DarkenColor(TColor Color, int Amount) {
  uint8_t h, s, l;
  ColorToHSL240(Color, h, s, l);
  return HSL240ToColor(h, s, uint8_t(std::max(l - Amount, 0)));
}

TColor LightenColor(TColor Color, int Amount) {
  uint8_t h, s, l;
  ColorToHSL240(Color, h, s, l);
  return HSL240ToColor(h, s, uint8_t(std::min(l + Amount, 255)));
}

TColor AdjustColorLightness(TColor Color, int Amount) {
  if (Amount < 0) return DarkenColor(Color, -Amount);
  if (Amount > 0) return LightenColor(Color, Amount);
  return Color;
}

void DrawFrameSides(TCanvas* Canvas, const TRect& Bounds, TColor ULColor, TRect& Inner,
                    TSides Sides, TColor LRColor) {
  const TRect b = Bounds;
  if (ULColor != clNone) {
    Canvas->Pen()->SetColor(ULColor);
    if (Sides.Contains(sdLeft)) Line(Canvas, b.Left, b.Top, b.Left, b.Bottom);
    if (Sides.Contains(sdTop)) Line(Canvas, b.Left, b.Top, b.Right, b.Top);
  }
  if (LRColor != clNone) {
    Canvas->Pen()->SetColor(LRColor);
    if (Sides.Contains(sdRight)) Line(Canvas, b.Right - 1, b.Top, b.Right - 1, b.Bottom);
    if (Sides.Contains(sdBottom)) Line(Canvas, b.Left, b.Bottom - 1, b.Right, b.Bottom - 1);
  }
  Inner = b;
  if (Sides.Contains(sdLeft)) ++Inner.Left;
  if (Sides.Contains(sdTop)) ++Inner.Top;
  if (Sides.Contains(sdRight)) --Inner.Right;
  if (Sides.Contains(sdBottom)) --Inner.Bottom;
}

void DrawFrameLines(TCanvas* Canvas, const TRect& Bounds, TColor ULColor, TRect& Inner,
                    TSides Sides, int Count, TColor LRColor) {
  Canvas->Pen()->SetWidth(1);
  Inner = Bounds;
  for (int i = 0; i < Count; ++i) {
    const TRect outer = Inner;
    DrawFrameSides(Canvas, outer, ULColor, Inner, Sides, LRColor);
  }
}

void DrawStyledFrame(TCanvas* Canvas, const TRect& Bounds, TFrameStyleEx Style, TRect& Inner,
                     TSides Sides) {
  Inner = Bounds;
  switch (Style) {
    case fsNone:
    case fsFlatRounded:
      return;
    case fsFlat:
    case fsStatus:
    case fsPopup:
      DrawFrameSides(Canvas, Bounds, FrameULColor(Style), Inner, Sides, FrameLRColor(Style));
      return;
    case fsFlatBold:
      DrawFrameLines(Canvas, Bounds, FrameULColor(Style), Inner, Sides, 2, FrameLRColor(Style));
      return;
    case fsLowered:
    case fsRaised:
    case fsButtonDown:
    case fsButtonUp: {
      const TBevelColors c = BevelColors(Style);
      TRect middle;
      DrawFrameSides(Canvas, Bounds, c.OuterUL, middle, Sides, c.OuterLR);
      DrawFrameSides(Canvas, middle, c.InnerUL, Inner, Sides, c.InnerLR);
      return;
    }
    case fsGroove:
    case fsBump: {
      const TColor ul = FrameULColor(Style), lr = FrameLRColor(Style);
      const TRect b = Bounds;
      const bool left = Sides.Contains(sdLeft), top = Sides.Contains(sdTop);
      const bool right = Sides.Contains(sdRight), bottom = Sides.Contains(sdBottom);
      // Where a drawn side meets an undrawn one, the pixel the offset frames leave open.
      if (left && !top) Pixel(Canvas, b.Left + 1, b.Top, lr);
      if (top && !left) Pixel(Canvas, b.Left, b.Top + 1, lr);
      if (right && !top) Pixel(Canvas, b.Right - 1, b.Top, lr);
      if (bottom && !left) Pixel(Canvas, b.Left, b.Bottom - 1, lr);
      if (bottom && !right) Pixel(Canvas, b.Right - 1, b.Bottom - 2, ul);
      if (right && !bottom) Pixel(Canvas, b.Right - 2, b.Bottom - 1, ul);
      TRect unused;
      DrawFrameSides(Canvas, Rect(b.Left + 1, b.Top + 1, b.Right, b.Bottom), lr, unused, Sides, lr);
      DrawFrameSides(Canvas, Rect(b.Left, b.Top, b.Right - 1, b.Bottom - 1), ul, unused, Sides, ul);
      Inner = Rect(b.Left + (left ? 2 : 0), b.Top + (top ? 2 : 0), b.Right - (right ? 2 : 0),
                   b.Bottom - (bottom ? 2 : 0));
      return;
    }
  }
}

void DrawRoundedFrame(TCanvas* Canvas, const TRect& Bounds, TColor Color, TRect& Inner, TSides Sides) {
  const TRect b = Bounds;
  const bool left = Sides.Contains(sdLeft), top = Sides.Contains(sdTop);
  const bool right = Sides.Contains(sdRight), bottom = Sides.Contains(sdBottom);
  Canvas->Pen()->SetColor(Color);
  Canvas->Pen()->SetWidth(1);
  if (left) Line(Canvas, b.Left, b.Top + (top ? 2 : 0), b.Left, b.Bottom - (bottom ? 2 : 0));
  if (right) Line(Canvas, b.Right - 1, b.Top + (top ? 2 : 0), b.Right - 1, b.Bottom - (bottom ? 2 : 0));
  if (top) Line(Canvas, b.Left + (left ? 2 : 0), b.Top, b.Right - (right ? 2 : 0), b.Top);
  if (bottom) Line(Canvas, b.Left + (left ? 2 : 0), b.Bottom - 1, b.Right - (right ? 2 : 0), b.Bottom - 1);
  if (left && top) Pixel(Canvas, b.Left + 1, b.Top + 1, Color);
  if (right && top) Pixel(Canvas, b.Right - 2, b.Top + 1, Color);
  if (left && bottom) Pixel(Canvas, b.Left + 1, b.Bottom - 2, Color);
  if (right && bottom) Pixel(Canvas, b.Right - 2, b.Bottom - 2, Color);
  Inner = Rect(b.Left + (left ? 2 : 0), b.Top + (top ? 2 : 0), b.Right - (right ? 2 : 0),
               b.Bottom - (bottom ? 2 : 0));
}

namespace {

struct TBorderColors {
  TColor Flat, Parent, Back, Border, Shadow, Highlight;
  int BevelWidth;
  bool Transparent;
  bool BorderInside;  // the rounded frame's inner line takes the border colour
};

TRect DrawOneFrame(TCanvas* Canvas, const TRect& Bounds, TFrameStyleEx Style, const TBorderColors& c,
                   TSides Sides, bool CutCorners) {
  TRect inner = Bounds;
  switch (Style) {
    case fsFlat:
      if (CutCorners) {
        const TRect b = Bounds;
        Canvas->Pen()->SetColor(c.Flat);
        if (Sides.Contains(sdLeft)) Line(Canvas, b.Left, b.Top + 1, b.Left, b.Bottom - 1);
        if (Sides.Contains(sdTop)) Line(Canvas, b.Left + 1, b.Top, b.Right - 1, b.Top);
        if (Sides.Contains(sdRight)) Line(Canvas, b.Right - 1, b.Top + 1, b.Right - 1, b.Bottom - 1);
        if (Sides.Contains(sdBottom)) Line(Canvas, b.Left + 1, b.Bottom - 1, b.Right - 1, b.Bottom - 1);
        return Rect(b.Left + 1, b.Top + 1, b.Right - 1, b.Bottom - 1);
      }
      DrawFrameLines(Canvas, Bounds, c.Flat, inner, Sides, 1, c.Flat);
      return inner;
    case fsFlatBold:
      DrawFrameLines(Canvas, Bounds, c.Flat, inner, Sides, 2, c.Flat);
      return inner;
    case fsFlatRounded: {
      TRect r = Bounds;
      const TColor second = c.BorderInside ? c.Border : c.Back;
      if (!c.Transparent) {
        DrawFrameSides(Canvas, r, c.Parent, r, Sides, c.Parent);
        DrawFrameSides(Canvas, r, second, r, Sides, second);
      } else if (c.BorderInside) {
        TRect in = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        DrawFrameSides(Canvas, in, c.Border, in, Sides, c.Border);
      }
      DrawRoundedFrame(Canvas, Bounds, c.Flat, inner, Sides);
      return inner;
    }
    case fsPopup:
      DrawFrameLines(Canvas, Bounds, c.Highlight, inner, Sides, c.BevelWidth, c.Shadow);
      return inner;
    case fsStatus:
      DrawFrameLines(Canvas, Bounds, c.Shadow, inner, Sides, c.BevelWidth, c.Highlight);
      return inner;
    default:
      DrawStyledFrame(Canvas, Bounds, Style, inner, Sides);
      return inner;
  }
}

}  // namespace

TRect DrawBorderPair(TCanvas* Canvas, const TRect& Bounds, TFrameStyleEx Outer, TFrameStyleEx Inner,
                     bool CutCorners, bool Transparent, TColor ParentColor, TColor BackColor,
                     int FlatAdjustment, TColor FlatColor, TColor ShadowColor,
                     TColor HighlightColor, TColor BorderColor, int BevelWidth, TSides Sides,
                     int BorderWidth) {
  const TBorderColors c{AdjustColorLightness(FlatColor, FlatAdjustment), ParentColor, BackColor,
                        BorderColor, ShadowColor, HighlightColor, BevelWidth, Transparent,
                        BorderWidth > 0 || Inner != fsNone};
  TRect r = DrawOneFrame(Canvas, Bounds, Outer, c, Sides, false);
  if (BorderWidth > 0) {
    const TRect outer = r;
    DrawFrameLines(Canvas, outer, BorderColor, r, Sides, BorderWidth, BorderColor);
  }
  return DrawOneFrame(Canvas, r, Inner, c, Sides, CutCorners);
}

// ---------------------------------------------------------------------------------------------

TRzFrameController::~TRzFrameController() {
  for (TControl* c : FControls) c->RemoveFreeNotification(this);
}

void TRzFrameController::AddControl(TControl* Control) {
  if (!Control || std::find(FControls.begin(), FControls.end(), Control) != FControls.end()) return;
  FControls.push_back(Control);
  Control->FreeNotification(this);
  UpdateControl(Control, fcpAll);
}

void TRzFrameController::RemoveControl(TControl* Control) {
  auto it = std::find(FControls.begin(), FControls.end(), Control);
  if (it == FControls.end()) return;
  FControls.erase(it);
  Control->RemoveFreeNotification(this);
  if (FControls.empty()) FControls.shrink_to_fit();
}

void TRzFrameController::EndUpdate() {
  if (--FUpdateCount > 0) return;
  FUpdateCount = 0;
  NotifyControls(fcpAll);
}

void TRzFrameController::Assign(TPersistent* Source) {
  auto* other = dynamic_cast<TRzFrameController*>(Source);
  if (!other) {
    TComponent::Assign(Source);
    return;
  }
  BeginUpdate();
  SetColor(other->Color());
  SetParentColor(other->ParentColor());
  SetFlatButtonColor(other->FlatButtonColor());
  SetFlatButtons(other->FlatButtons());
  SetDisabledColor(other->DisabledColor());
  SetReadOnlyColor(other->ReadOnlyColor());
  SetReadOnlyColorOnFocus(other->ReadOnlyColorOnFocus());
  SetFocusColor(other->FocusColor());
  SetFrameColor(other->FrameColor());
  SetFrameHotColor(other->FrameHotColor());
  SetFrameHotTrack(other->FrameHotTrack());
  SetFrameHotStyle(other->FrameHotStyle());
  SetFrameSides(other->FrameSides());
  SetFrameStyle(other->FrameStyle());
  SetFrameVisible(other->FrameVisible());
  SetFramingPreference(other->FramingPreference());
  EndUpdate();
}

void TRzFrameController::SetColor(TColor V) {
  if (V == FColor) return;
  if (FColor == FFocusColor) SetFocusColor(V);
  FColor = V;
  FParentColor = false;
  NotifyControls(fcpColor);
}

void TRzFrameController::SetParentColor(bool V) {
  if (V == FParentColor) return;
  FParentColor = V;
  NotifyControls(fcpParentColor);
  if (!V) NotifyControls(fcpColor);
}

void TRzFrameController::SetFrameHotTrack(bool V) {
  if (V == FFrameHotTrack) return;
  FFrameHotTrack = V;
  NotifyControls(fcpFrameHotTrack);
  if (V) {
    SetFrameVisible(true);
    if (!ComponentState().Contains(csLoading)) SetFrameSides(sdAllSides);
  }
}

void TRzFrameController::SetRegIniFile(TRzRegIniFile* V) {
  if (V == FRegIniFile) return;
  if (FRegIniFile) FRegIniFile->RemoveFreeNotification(this);
  FRegIniFile = V;
  if (V) V->FreeNotification(this);
}

void TRzFrameController::Loaded() {
  TComponent::Loaded();
  NotifyControls(fcpAll);
}

void TRzFrameController::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FRegIniFile) FRegIniFile = nullptr;
  auto it = std::find(FControls.begin(), FControls.end(), AComponent);
  if (it != FControls.end()) FControls.erase(it);
}

void TRzFrameController::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  // Properties of older descriptions, read into their present equivalents.
  Filer->DefineProperty(
      "FrameFlat",
      [this](TReader* R) {
        const bool flat = R->ReadBoolean();
        SetFrameHotTrack(flat);
        if (flat) {
          SetFrameStyle(fsStatus);
          SetFrameHotStyle(fsLowered);
        }
      },
      nullptr, false);
  Filer->DefineProperty(
      "FrameFocusStyle",
      [this](TReader* R) {
        int64_t v = 0;
        const std::string ident = R->ReadIdent();
        if (FindEnumInfo(typeid(TFrameStyleEx))->ValueOf(ident, v) && v <= int64_t(fsFlatBold))
          SetFrameHotStyle(TFrameStyle(v));
      },
      nullptr, false);
  Filer->DefineProperty("FrameFlatStyle", [](TReader* R) { R->ReadIdent(); }, nullptr, false);
}

void TRzFrameController::NotifyControls(TRzFrameControllerProperty Kind) {
  if (FUpdateCount > 0) return;
  const std::vector<TControl*> controls = FControls;
  for (TControl* c : controls) UpdateControl(c, Kind);
}

void TRzFrameController::UpdateControl(TControl* Control, TRzFrameControllerProperty Kind) {
  if (FUpdateCount > 0 || !Control) return;
  if (auto* self = dynamic_cast<IRzFrameControllerNotification*>(Control)) {
    self->FrameControllerNotification(Kind);
    return;
  }
  TRzFrameControllerNotifications wanted = AllFrameControllerNotifications();
  if (IsPublishedProp(Control, "FrameControllerNotifications"))
    wanted = TRzFrameControllerNotifications::FromInt(uint64_t(GetOrdProp(Control, "FrameControllerNotifications")));
  static const char* const kNames[16] = {
      "Color",       "FocusColor",    "DisabledColor", "ReadOnlyColor", "ReadOnlyColorOnFocus",
      "ParentColor", "FlatButtonColor", "FlatButtons", "FrameColor",    "FrameHotColor",
      "FrameHotTrack", "FrameHotStyle", "FrameSides",  "FrameStyle",    "FrameVisible",
      "FramingPreference"};
  auto push = [&](TRzFrameControllerProperty p) {
    if (!wanted.Contains(p)) return;
    const char* name = kNames[int(p)];
    if (!IsPublishedProp(Control, name)) return;
    if (p == fcpFrameSides) SetSetProp(Control, name, GetSetProp(this, name));
    else SetOrdProp(Control, name, GetOrdProp(this, name));
  };
  if (Kind != fcpAll) {
    push(Kind);
    return;
  }
  push(fcpParentColor);
  if (!FParentColor) push(fcpColor);
  for (TRzFrameControllerProperty p :
       {fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus, fcpFocusColor,
        fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor, fcpFrameHotTrack,
        fcpFrameHotStyle, fcpFrameSides, fcpFrameStyle, fcpFrameVisible, fcpFramingPreference})
    push(p);
}

void RegisterRzCommonClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterEnumNames<TFrameStyleEx>({"fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered",
                                    "fsButtonDown", "fsRaised", "fsButtonUp", "fsStatus",
                                    "fsPopup", "fsFlatBold", "fsFlatRounded"});
  RegisterEnumNames<TSide>({"sdLeft", "sdTop", "sdRight", "sdBottom"});
  RegisterEnumNames<TFramingPreference>({"fpCustomFraming", "fpXPThemes"});
  RegisterEnumNames<TRzFrameControllerProperty>(
      {"fcpColor", "fcpFocusColor", "fcpDisabledColor", "fcpReadOnlyColor",
       "fcpReadOnlyColorOnFocus", "fcpParentColor", "fcpFlatButtonColor", "fcpFlatButtons",
       "fcpFrameColor", "fcpFrameHotColor", "fcpFrameHotTrack", "fcpFrameHotStyle",
       "fcpFrameSides", "fcpFrameStyle", "fcpFrameVisible", "fcpFramingPreference", "fcpAll"});
  RegisterEnumNames<TRzPathType>({"ptIniFile", "ptRegistry"});
  RegisterEnumNames<TRzRegKey>({"hkeyClassesRoot", "hkeyCurrentUser", "hkeyLocalMachine",
                                "hkeyUsers", "hkeyPerformanceData", "hkeyCurrentConfig",
                                "hkeyDynData"});
  RegisterEnumNames<TRzRegAccessKey>({"keyQueryValue", "keySetValue", "keyCreateSubKey",
                                      "keyEnumerateSubKeys", "keyNotify", "keyCreateLink",
                                      "keyRead", "keyWrite", "keyExecute", "keyAllAccess"});
  RegisterEnumNames<TRzSpecialFolder>({"sfNone", "sfUserAppDataRoaming", "sfUserAppDataLocal",
                                       "sfUserDocuments", "sfProgramData"});
  RegisterEnumNames<TRzIniFileEncoding>({"feDefault", "feUTF8", "feUnicode"});
  RegisterClass<TRzRegIniFile, TComponent>();
  Published<TRzRegIniFile>()
      .Property("Path", &TRzRegIniFile::Path, &TRzRegIniFile::SetPath)
      .Property("PathType", &TRzRegIniFile::PathType, &TRzRegIniFile::SetPathType).Default(ptIniFile)
      .Property("RegKey", &TRzRegIniFile::RegKey, &TRzRegIniFile::SetRegKey).Default(hkeyCurrentUser)
      .Property("RegAccess", &TRzRegIniFile::RegAccess, &TRzRegIniFile::SetRegAccess).Default(TRzRegAccess{keyAllAccess})
      .Property("SpecialFolder", &TRzRegIniFile::SpecialFolder, &TRzRegIniFile::SetSpecialFolder).Default(sfNone)
      .Property("FileEncoding", &TRzRegIniFile::FileEncoding, &TRzRegIniFile::SetFileEncoding).Default(feDefault);
  using C = TRzFrameController;
  RegisterClass<C, TComponent>();
  Published<C>()
      .Property("Color", &C::Color, &C::SetColor).Idents(ColorIdentMap()).Default(clWindow)
          .Stored([](C* c) { return !c->ParentColor(); })
      .Property("ParentColor", &C::ParentColor, &C::SetParentColor).Default(0)
      .Property("FlatButtonColor", &C::FlatButtonColor, &C::SetFlatButtonColor).Idents(ColorIdentMap()).Default(clBtnFace)
      .Property("FlatButtons", &C::FlatButtons, &C::SetFlatButtons).Default(1)
      .Property("DisabledColor", &C::DisabledColor, &C::SetDisabledColor).Idents(ColorIdentMap()).Default(clBtnFace)
      .Property("ReadOnlyColor", &C::ReadOnlyColor, &C::SetReadOnlyColor).Idents(ColorIdentMap()).Default(clInfoBk)
      .Property("ReadOnlyColorOnFocus", &C::ReadOnlyColorOnFocus, &C::SetReadOnlyColorOnFocus).Default(0)
      .Property("FocusColor", &C::FocusColor, &C::SetFocusColor).Idents(ColorIdentMap()).Default(clWindow)
      .Property("FrameColor", &C::FrameColor, &C::SetFrameColor).Idents(ColorIdentMap()).Default(clBtnShadow)
      .Property("FrameHotColor", &C::FrameHotColor, &C::SetFrameHotColor).Idents(ColorIdentMap()).Default(clBtnShadow)
      .Property("FrameHotTrack", &C::FrameHotTrack, &C::SetFrameHotTrack).Default(0)
      .Property("FrameHotStyle", &C::FrameHotStyle, &C::SetFrameHotStyle).Default(fsFlatBold)
      .Property("FrameSides", &C::FrameSides, &C::SetFrameSides).Default(sdAllSides)
      .Property("FrameStyle", &C::FrameStyle, &C::SetFrameStyle).Default(fsFlat)
      .Property("FrameVisible", &C::FrameVisible, &C::SetFrameVisible).Default(0)
      .Property("FramingPreference", &C::FramingPreference, &C::SetFramingPreference).Default(fpXPThemes)
      .Property("RegIniFile", &C::RegIniFile, &C::SetRegIniFile);
}
