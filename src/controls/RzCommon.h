#pragma once
// The small control library's common routines and components: lightness arithmetic of colours on
// a 240-step hue/saturation/lightness scale, framed borders, the frame controller that pushes
// one set of frame and colour settings to many controls, and the settings-store description.

#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"

enum class TFrameStyleEx {
  fsNone, fsFlat, fsGroove, fsBump, fsLowered, fsButtonDown, fsRaised, fsButtonUp, fsStatus,
  fsPopup, fsFlatBold, fsFlatRounded
};
using enum TFrameStyleEx;
// The styles up to fsFlatBold.
using TFrameStyle = TFrameStyleEx;

enum class TSide { sdLeft, sdTop, sdRight, sdBottom };
using enum TSide;
using TSides = TSet<TSide, 4>;
inline const TSides sdAllSides{sdLeft, sdTop, sdRight, sdBottom};

// The colours of the one-line frame of each style up to fsFlatBold (clNone: not drawn).
TColor FrameULColor(TFrameStyleEx Style);
TColor FrameLRColor(TFrameStyleEx Style);

void ColorToHSL240(TColor Color, uint8_t& H, uint8_t& S, uint8_t& L);
TColor HSL240ToColor(uint8_t H, uint8_t S, uint8_t L);
TColor DarkenColor(TColor Color, int Amount);
// Lightness goes up to 255, beyond the scale's 240: the components are then capped.
TColor LightenColor(TColor Color, int Amount);
TColor AdjustColorLightness(TColor Color, int Amount);

// Each routine answers in Inner the rectangle left inside what it drew.
void DrawFrameSides(TCanvas* Canvas, const TRect& Bounds, TColor ULColor, TRect& Inner,
                    TSides Sides, TColor LRColor);
void DrawFrameLines(TCanvas* Canvas, const TRect& Bounds, TColor ULColor, TRect& Inner,
                    TSides Sides, int Count, TColor LRColor);
void DrawStyledFrame(TCanvas* Canvas, const TRect& Bounds, TFrameStyleEx Style, TRect& Inner,
                     TSides Sides);
void DrawRoundedFrame(TCanvas* Canvas, const TRect& Bounds, TColor Color, TRect& Inner, TSides Sides);
// An outer frame, BorderWidth lines of BorderColor, an inner frame.
TRect DrawBorderPair(TCanvas* Canvas, const TRect& Bounds, TFrameStyleEx Outer, TFrameStyleEx Inner,
                     bool CutCorners, bool Transparent, TColor ParentColor, TColor BackColor,
                     int FlatAdjustment, TColor FlatColor, TColor ShadowColor,
                     TColor HighlightColor, TColor BorderColor, int BevelWidth, TSides Sides,
                     int BorderWidth);

enum class TFramingPreference { fpCustomFraming, fpXPThemes };
using enum TFramingPreference;

enum class TRzFrameControllerProperty {
  fcpColor, fcpFocusColor, fcpDisabledColor, fcpReadOnlyColor, fcpReadOnlyColorOnFocus,
  fcpParentColor, fcpFlatButtonColor, fcpFlatButtons, fcpFrameColor, fcpFrameHotColor,
  fcpFrameHotTrack, fcpFrameHotStyle, fcpFrameSides, fcpFrameStyle, fcpFrameVisible,
  fcpFramingPreference, fcpAll
};
using enum TRzFrameControllerProperty;
// Over the sixteen settings (never fcpAll).
using TRzFrameControllerNotifications = TSet<TRzFrameControllerProperty, 16>;
inline TRzFrameControllerNotifications AllFrameControllerNotifications() {
  return TRzFrameControllerNotifications::FromInt(0xFFFF);
}

// A control that applies the controller's settings itself instead of property by property.
class IRzFrameControllerNotification {
 public:
  virtual ~IRzFrameControllerNotification() = default;
  virtual void FrameControllerNotification(TRzFrameControllerProperty Property) = 0;
};

enum class TRzPathType { ptIniFile, ptRegistry };
using enum TRzPathType;
enum class TRzRegKey {
  hkeyClassesRoot, hkeyCurrentUser, hkeyLocalMachine, hkeyUsers, hkeyPerformanceData,
  hkeyCurrentConfig, hkeyDynData
};
using enum TRzRegKey;
enum class TRzRegAccessKey {
  keyQueryValue, keySetValue, keyCreateSubKey, keyEnumerateSubKeys, keyNotify, keyCreateLink,
  keyRead, keyWrite, keyExecute, keyAllAccess
};
using enum TRzRegAccessKey;
using TRzRegAccess = TSet<TRzRegAccessKey, 10>;
enum class TRzSpecialFolder {
  sfNone, sfUserAppDataRoaming, sfUserAppDataLocal, sfUserDocuments, sfProgramData
};
using enum TRzSpecialFolder;
enum class TRzIniFileEncoding { feDefault, feUTF8, feUnicode };
using enum TRzIniFileEncoding;

// Where settings would live; here only a property target of the frame controller.
class TRzRegIniFile : public TComponent {
 public:
  using TComponent::TComponent;
  const std::string& Path() const { return FPath; }
  void SetPath(const std::string& V) { Store(FPath, V); }
  TRzPathType PathType() const { return FPathType; }
  void SetPathType(TRzPathType V) { Store(FPathType, V); }
  TRzRegKey RegKey() const { return FRegKey; }
  void SetRegKey(TRzRegKey V) { Store(FRegKey, V); }
  TRzRegAccess RegAccess() const { return FRegAccess; }
  void SetRegAccess(TRzRegAccess V) { Store(FRegAccess, V); }
  TRzSpecialFolder SpecialFolder() const { return FSpecialFolder; }
  void SetSpecialFolder(TRzSpecialFolder V) { Store(FSpecialFolder, V); }
  TRzIniFileEncoding FileEncoding() const { return FFileEncoding; }
  void SetFileEncoding(TRzIniFileEncoding V) { Store(FFileEncoding, V); }
  // Set by every change: the store would have to be opened again.
  bool RefreshStorage() const { return FRefreshStorage; }

 private:
  template <class T>
  void Store(T& Field, const T& V) {
    if (Field == V) return;
    Field = V;
    FRefreshStorage = true;
  }
  std::string FPath;
  TRzPathType FPathType = ptIniFile;
  TRzRegKey FRegKey = hkeyCurrentUser;
  TRzRegAccess FRegAccess{keyAllAccess};
  TRzSpecialFolder FSpecialFolder = sfNone;
  TRzIniFileEncoding FFileEncoding = feDefault;
  bool FRefreshStorage = true;
};

class TRzFrameController : public TComponent {
 public:
  using TComponent::TComponent;
  ~TRzFrameController() override;

  void AddControl(TControl* Control);
  void RemoveControl(TControl* Control);
  int ControlCount() const { return int(FControls.size()); }
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void Assign(TPersistent* Source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor V);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool V);
  TColor FlatButtonColor() const { return FFlatButtonColor; }
  void SetFlatButtonColor(TColor V) { Set(FFlatButtonColor, V, fcpFlatButtonColor); }
  bool FlatButtons() const { return FFlatButtons; }
  void SetFlatButtons(bool V) { Set(FFlatButtons, V, fcpFlatButtons); }
  TColor DisabledColor() const { return FDisabledColor; }
  void SetDisabledColor(TColor V) { Set(FDisabledColor, V, fcpDisabledColor); }
  TColor ReadOnlyColor() const { return FReadOnlyColor; }
  void SetReadOnlyColor(TColor V) { Set(FReadOnlyColor, V, fcpReadOnlyColor); }
  bool ReadOnlyColorOnFocus() const { return FReadOnlyColorOnFocus; }
  void SetReadOnlyColorOnFocus(bool V) { Set(FReadOnlyColorOnFocus, V, fcpReadOnlyColorOnFocus); }
  TColor FocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor V) { Set(FFocusColor, V, fcpFocusColor); }
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor V) { Set(FFrameColor, V, fcpFrameColor); }
  TColor FrameHotColor() const { return FFrameHotColor; }
  void SetFrameHotColor(TColor V) { Set(FFrameHotColor, V, fcpFrameHotColor); }
  bool FrameHotTrack() const { return FFrameHotTrack; }
  void SetFrameHotTrack(bool V);
  TFrameStyle FrameHotStyle() const { return FFrameHotStyle; }
  void SetFrameHotStyle(TFrameStyle V) { Set(FFrameHotStyle, V, fcpFrameHotStyle); }
  TSides FrameSides() const { return FFrameSides; }
  void SetFrameSides(TSides V) { Set(FFrameSides, V, fcpFrameSides); }
  TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle V) { Set(FFrameStyle, V, fcpFrameStyle); }
  bool FrameVisible() const { return FFrameVisible; }
  void SetFrameVisible(bool V) { Set(FFrameVisible, V, fcpFrameVisible); }
  TFramingPreference FramingPreference() const { return FFramingPreference; }
  void SetFramingPreference(TFramingPreference V) { Set(FFramingPreference, V, fcpFramingPreference); }
  TRzRegIniFile* RegIniFile() const { return FRegIniFile; }
  void SetRegIniFile(TRzRegIniFile* V);

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler* Filer) override;

 private:
  template <class T>
  void Set(T& Field, const T& V, TRzFrameControllerProperty Kind) {
    if (Field == V) return;
    Field = V;
    NotifyControls(Kind);
  }
  void NotifyControls(TRzFrameControllerProperty Kind);
  void UpdateControl(TControl* Control, TRzFrameControllerProperty Kind);

  int FUpdateCount = 0;
  std::vector<TControl*> FControls;
  TColor FColor = clWindow;
  bool FParentColor = false;
  TColor FFlatButtonColor = clBtnFace;
  bool FFlatButtons = true;
  TColor FDisabledColor = clBtnFace;
  TColor FReadOnlyColor = clInfoBk;
  bool FReadOnlyColorOnFocus = false;
  TColor FFocusColor = clWindow;
  TColor FFrameColor = clBtnShadow;
  TColor FFrameHotColor = clBtnShadow;
  bool FFrameHotTrack = false;
  TFrameStyle FFrameHotStyle = fsFlatBold;
  TSides FFrameSides = sdAllSides;
  TFrameStyle FFrameStyle = fsFlat;
  bool FFrameVisible = false;
  TFramingPreference FFramingPreference = fpXPThemes;
  TRzRegIniFile* FRegIniFile = nullptr;
};

// Registers the frame controller, the settings store and their enumerations.
void RegisterRzCommonClasses();
