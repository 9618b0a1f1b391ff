#pragma once
// The bar manager: one non-visual component per form that owns the form's menus and toolbars.
// Commands are items (buttons, sub-menus, separators, lists) kept once in the manager; bars,
// sub-menus and popup menus show them through item links. The windows that draw links (bar
// controls, item controls, dock sites) and the painters of each bar style are declared here as
// the operations this model calls; their behaviour lives with the bar windows.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"
#include "suite/core/cxClasses.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxLookAndFeels.h"
#include "suite/core/cxStyles.h"
#include "suite/core/dxCore.h"
#include "suite/core/dxUxTheme.h"
#include "suite/bars/dxBarCaptionButtons.h"

class TdxBarManager;
class TdxBar;
class TdxBars;
class TdxBarItem;
class TdxBarItemLink;
class TdxBarItemLinks;
class TdxBarButton;
class TdxBarGroup;
class TdxBarPainter;
class TCustomdxBarControl;
class TdxBarItemControl;
class TdxDockControl;
class TdxDockRow;
class TdxDockCol;
class TdxBarItemActionLink;
class TdxBarPopupMenu;
class TdxBarControl;
class TCustomForm;
class TCustomIniFile;
class TMemIniFile;
class TdxBarLayoutIO;
class TCustomImageList;
class TChangeLink;
class TBitmap;
class TcxCanvas;
class TdxFader;
class TdxCustomHintViewInfo;
class TdxScreenTip;
class TCustomdxBarControlViewInfo;

// ---- enumerations

enum TdxBarManagerStyle : uint8_t {
  bmsStandard, bmsEnhanced, bmsFlat, bmsXP, bmsOffice11, bmsUseLookAndFeel
};
enum TdxBarMenuAnimations : uint8_t { maNone, maRandom, maUnfold, maSlide, maFade };
enum TdxBarDockingStyle : uint8_t { dsNone, dsLeft, dsTop, dsRight, dsBottom };
using TdxBarDockingStyles = TSet<TdxBarDockingStyle, 5>;
enum TdxBarItemVisible : uint8_t { ivNever, ivInCustomizing, ivAlways };
enum TdxBarItemAlign : uint8_t { iaLeft, iaCenter, iaRight, iaClient };
enum TdxBarBorderStyle : uint8_t { bbsNone, bbsSingle };
enum TdxBarItemMergeKind : uint8_t { mkAdd, mkMergeByCaption, mkNone };
// psStandard is also a look-and-feel painter style of the suite, so this one is scoped; the other
// names are plain.
enum class TdxBarPaintStyle : uint8_t { psStandard, psCaption, psCaptionInMenu, psCaptionGlyph };
inline constexpr TdxBarPaintStyle psCaption = TdxBarPaintStyle::psCaption;
inline constexpr TdxBarPaintStyle psCaptionInMenu = TdxBarPaintStyle::psCaptionInMenu;
inline constexpr TdxBarPaintStyle psCaptionGlyph = TdxBarPaintStyle::psCaptionGlyph;
enum TdxBarGlyphLayout : uint8_t { glLeft, glRight, glTop, glBottom };
enum TdxBarButtonStyle : uint8_t { bsDefault, bsChecked, bsDropDown, bsCheckedDropDown };
enum TdxBarButtonGroupPosition : uint8_t { bgpNone, bgpStart, bgpMember };
enum TdxBarItemPosition : uint8_t { ipBeginsNewRow, ipBeginsNewColumn, ipContinuesRow };
enum TdxBarUserDefine : uint8_t { udCaption, udGlyph, udPaintStyle, udWidth };
using TdxBarUserDefines = TSet<TdxBarUserDefine, 4>;
enum TdxBarItemViewLevel : uint8_t {
  ivlLargeIconWithText, ivlSmallIconWithText, ivlSmallIcon, ivlControlOnly, ivlDefault
};
using TdxBarItemViewLevels = TSet<TdxBarItemViewLevel, 5>;
enum TdxBarMenuItemSize : uint8_t { misNormal, misLarge };
enum TdxBarItemOptionValue : uint8_t { ioShowDescriptions, ioShowShortCuts, ioSize };
using TdxBarItemOptionValues = TSet<TdxBarItemOptionValue, 3>;
enum TdxBarRowAlignment : uint8_t { dxbraLeft, dxbraRight };

using TdxBarEvent = Event<void(TObject* Sender, TdxBar* ABar)>;
using TdxBarItemLinkEvent = Event<void(TObject* Sender, TdxBarItemLink* AItemLink)>;
using TdxBarClickItemEvent = Event<void(TObject* Sender, TdxBarItem* ClickedItem)>;
using TdxBarMergeItemLinkEvent =
    Event<void(TObject* Sender, TdxBarItemLinks* ADstItemLinks, TdxBarItemLinks* ASrcItemLinks,
               TdxBarItemLink* ASrcItemLink, TdxBarItemMergeKind& AMergeKind, int& AMergeIndex)>;
using TdxBarCanDockingEvent = Event<void(TdxBar* Sender, TdxBarDockingStyle Style,
                                         TdxDockControl* DockControl, bool& CanDocking)>;

// ---- windows and painters, filled by the bar windows

#include "suite/bars/dxBarControl.h"

// ---- item controls

class TdxFader;
class TcxCanvas;
class TcxBitmap32;
class TcxAlphaBitmap;
class TcxAccessibilityHelper;
class TdxCustomHintViewInfo;
class TdxBarItemControlViewInfo;
class TCustomdxBarControlViewInfo;
class TdxCachedImageOptions;

// Bits of an item control's shown parts.
constexpr int dxBarGlyphPart = 1;
constexpr int dxBarCaptionPart = 2;

// The hot part of a control when the mouse is inside it but over none of its parts.
constexpr int dxBarNoPartHot = 100;

// What an item control hands the painter for one paint or measure.
class TdxBarItemControlDrawParams : public TObject {
 public:
  explicit TdxBarItemControlDrawParams(TdxBarItemControl* AControl) : FControl(AControl) {}
  int GlyphSizeKind() const { return FGlyphSizeKind; }
  // 0 small glyph, 1 large icon, 2 large-button glyph; a change invalidates the glyph cache.
  void SetGlyphSizeKind(int Value);
  TdxBarItemControl* Control() const { return FControl; }
  TdxBarItemControl* ItemControl() const { return FControl; }

  TcxCanvas* DrawCanvas = nullptr;
  std::string CaptionText;
  std::string DescriptionText;
  std::string ShortCutText;
  int PaintKind = 0;  // 0 bar, 1 menu, 2 rotated bar
  int ShownParts = 0;
  bool DrawEnabled = true;
  bool KeyNavigable = false;
  bool Highlighted = false;
  bool PopupOpen = false;
  bool HasDropDownPart = false;
  int HotPart = -1;
  bool Customizing = false;
  bool PressedLook = false;
  bool KeyboardSelected = false;
  TSize GlyphExtent;

 private:
  int FGlyphSizeKind = 0;
  TdxBarItemControl* FControl;
};

class TdxBarButtonLikeControlDrawParams : public TdxBarItemControlDrawParams {
 public:
  using TdxBarItemControlDrawParams::TdxBarItemControlDrawParams;
  TSize ArrowAreaSize;
  uint8_t RealButtonGroupPosition = 0;
  TRect ContentMargins;
  bool DownLook = false;
  bool PressedState = false;
  bool DropDownEnabled = false;
  bool ArrowPressed = false;
  bool GrayGlyph = false;
  bool PlainTextLook = false;
  bool LoweredLook = false;
  bool InMainMenu = false;
  bool HotLook = false;
  bool SeparateArrowPart = false;
};

class TdxBarEditLikeControlDrawParams : public TdxBarItemControlDrawParams {
 public:
  using TdxBarItemControlDrawParams::TdxBarItemControlDrawParams;
  bool EditingNow = false;
  bool FramePartOnly = false;
};

// Filled by the static controls of the extra items.
class TdxBarStaticLikeControlDrawParams : public TdxBarItemControlDrawParams {
 public:
  using TdxBarItemControlDrawParams::TdxBarItemControlDrawParams;
  TAlignment Alignment = taLeftJustify;
  bool AlignmentSet = false;
  TRect BorderOffsets;
  int BorderStyle = 0;
};

class TdxBarSeparatorControlDrawParams : public TdxBarStaticLikeControlDrawParams {
 public:
  using TdxBarStaticLikeControlDrawParams::TdxBarStaticLikeControlDrawParams;
  bool FirstShown = false;
};

class TdxBarColorComboControlDrawParams : public TdxBarEditLikeControlDrawParams {
 public:
  using TdxBarEditLikeControlDrawParams::TdxBarEditLikeControlDrawParams;
  bool ShowCustomColorButton = false;
};

class TdxBarSpinEditDrawParams : public TdxBarEditLikeControlDrawParams {
 public:
  using TdxBarEditLikeControlDrawParams::TdxBarEditLikeControlDrawParams;
  int PressedButton = -1;
  TSize ButtonSizes[2];
  bool Pressed = false;
};

class TdxBarProgressControlDrawParams : public TdxBarStaticLikeControlDrawParams {
 public:
  using TdxBarStaticLikeControlDrawParams::TdxBarStaticLikeControlDrawParams;
  int Min = 0;
  int Max = 100;
  int Position = 0;
  bool Smooth = false;
};

class TdxBarInPlaceSubItemControlDrawParams : public TdxBarButtonLikeControlDrawParams {
 public:
  using TdxBarButtonLikeControlDrawParams::TdxBarButtonLikeControlDrawParams;
  bool Expanded = false;
  int TextOffset = 0;
};

// An item control's rendered glyph: drawn once per drawing mode and source, then copied.
class TdxCachedImageOptions : public TObject {
 public:
  // Draws the glyph at (0, 0) of the cache in the requested mode.
  using TRenderProc = std::function<void(HDC DC, const TRect& R)>;
  TdxCachedImageOptions();
  ~TdxCachedImageOptions() override;
  bool IsValidFor(int ADrawMode, TBitmap* Glyph, TCustomImageList* AImages) const;
  void Fill(const TRect& R, TBitmap* Glyph, int ADrawMode, TCustomImageList* AImages,
            const TRenderProc& Render);
  TcxAlphaBitmap* CacheBitmap() const { return FCacheBitmap.get(); }
  // Renderings since creation, for whoever wants to see the cache at work.
  int FillCount() const { return FFillCount; }
  // The rendered glyph made ready for blending (masked, as drawing needs it), made once per
  // rendering: copying the cache then skips that work.
  TcxAlphaBitmap* PreparedBitmap();

  bool Valid = false;
  int DrawMode = 0;
  TCustomImageList* Images = nullptr;
  TBitmap* SourceGlyph = nullptr;

 private:
  std::unique_ptr<TcxAlphaBitmap> FCacheBitmap;
  std::unique_ptr<TcxAlphaBitmap> FPreparedBitmap;
  int FFillCount = 0;
  int FPreparedFill = -1;  // the rendering FPreparedBitmap was made from
};

// The canvas font an item control replaced, to put back after measuring or drawing.
struct TdxBarItemFontState {
  bool Changed = false;
  std::unique_ptr<TFont> Saved;
};

// The on-screen control of one link inside one bar control. Each item kind has its own class;
// the virtual operations below, in this order, are what the bar windows, painters and the extra
// items' controls rely on.
class TdxBarItemControl : public TcxIUnknownObject {
 public:
  using TDrawParamsFactory = TdxBarItemControlDrawParams* (*)(TdxBarItemControl*);
  using TViewInfoFactory = TdxBarItemControlViewInfo* (*)(TdxBarItemControl*);

  // CreateForLink: call Initialize() right after construction (virtual calls need the whole
  // object); CreateItemControl does both.
  explicit TdxBarItemControl(TdxBarItemLink* ALink);
  ~TdxBarItemControl() override;
  virtual void Initialize();

  // -- fading and hints
  virtual bool CanFade();
  virtual void FadingInvalidate();
  virtual void GetFadingImages(TcxBitmap32*& Normal, TcxBitmap32*& Hot);
  virtual bool GetHintTexts(bool& Refused, std::string& Hint, std::string& ShortCut);
  virtual TdxCustomHintViewInfo* CreateHintViewInfo(const std::string& Hint, const std::string& ShortCut);
  virtual bool IsEnabled() const;
  virtual TPoint CalcHintPosition(const TPoint& Cursor, int Height);
  virtual bool PainterHintFlag() const;
  virtual TdxFader* Fader() const;
  // -- notifications from the item
  virtual void RecalcBar();
  virtual void CaptionChanged();
  virtual void EnabledChanged();
  virtual void RecalcBarIfNeeded();
  virtual void HotImageChanged() {}
  virtual void LargeImageChanged();
  virtual void RefreshState();
  virtual void PaintStyleChanged() {}
  virtual void BarShown(bool Value) {}
  virtual void RepaintIfIdle();
  virtual void ShowPlacedWindow(bool Show) {}
  virtual void RecalcBarOnChange();
  virtual void WidthChanged();
  virtual void ReleasePlacedWindow() {}
  // -- behaviour queries and actions
  virtual bool SupportsButtonGroup() const { return false; }
  virtual bool ClickFiresItem() const { return true; }
  virtual bool BelongsToManager() const;
  virtual bool CanCloseFor(TdxBarManager* Manager) { return CanClose(); }
  virtual bool CanClose() { return true; }
  virtual bool CanFocusByKey() const { return IsKeyNavigable(); }
  virtual bool IsKeyNavigable() const;
  virtual void HitTest(const TPoint& P);
  virtual void ClickAt(bool ByMouse, bool Flag);
  virtual void EnterActiveState(bool Flag, bool ByMouse);
  virtual void LeaveActiveState(bool Flag);
  virtual void DoClick(bool ByMouse, bool Flag) {}
  virtual void Click(bool ByMouse);
  virtual void SelectByMouse(bool AlreadySelected, bool& Handled);
  virtual bool IsActiveNow() const { return IsDrawnSelected(); }
  virtual bool WantsKey(WORD Key) const { return false; }
  virtual TcxAccessibilityHelperClass AccessibilityHelperClass() const;
  virtual TdxBarItemViewLevels GetPossibleViewLevels() const;
  virtual int ShownParts() const;
  virtual int DefaultShownParts() const { return 0; }
  virtual int DefaultViewSize() const;
  virtual int PaintKind() const;
  virtual int PartCount() const { return 1; }
  virtual TViewInfoFactory ViewInfoClass() const;
  virtual bool DrawsGrayGlyph() const { return false; }
  virtual void CaptionText(std::string& Text) const;
  virtual TWinControl* InnerControl() const { return nullptr; }
  virtual TDrawParamsFactory DrawParamsClass() const;
  // -- glyph, image-list and hint sources
  virtual TBitmap* SmallGlyph() const;
  virtual bool DrawGlyphAsIs() const;
  virtual int SmallImageIndex() const;
  virtual TCustomImageList* ImagesFor(int SizeKind) const;
  virtual TCustomImageList* SmallImages() const;
  virtual TCustomImageList* HotImages() const;
  virtual TBitmap* LargeGlyph() const;
  virtual int LargeImageIndex() const;
  virtual TCustomImageList* LargeImages() const;
  virtual bool GlyphAndImages(int SizeKind, bool Hot, int& Index, TCustomImageList*& Images,
                              TBitmap*& Glyph) const;
  virtual int ImageIndexFor(int SizeKind) const;
  virtual TSize GlyphSize(int SizeKind, bool Hot) const;
  virtual std::string ItemHint() const;
  virtual void HintAndShortCutText(std::string& Hint, std::string& ShortCut) const;
  // -- painting
  virtual TdxBarMenuItemSize MenuItemSize() const;
  virtual TdxBarPainter* Painter() const;
  virtual TShortCut ShortCutOf() const;
  virtual int TextSize() const;
  virtual void GetTextColors(bool Enabled, bool Selected, bool Flat, TColor& Color,
                             TColor& SecondColor) const;
  virtual void CalcDrawParams(bool WithTexts = true);
  virtual void CalcPartRects();
  virtual void RecalcTextMetrics();
  virtual void UpdateStyleMetrics();
  virtual void Draw(const TRect& R, int APaintKind) {}
  virtual bool PaintsFlat() const { return true; }
  virtual void SelectItemFont(TFont* FontSource, int StyleIndex, TdxBarItemFontState& Saved);
  virtual void RestoreItemFont(TdxBarItemFontState& Saved);
  virtual TCustomdxBarControl* DropDownBarControl() const { return nullptr; }
  virtual void EmptyPartRect(TRect& R) const { R = TRect(); }
  virtual int CaptionWidth();
  // -- glyph and measure queries
  virtual bool UsesLargeIcons() const;
  virtual bool UsesLargePath(int SizeKind) const;
  virtual bool UsesLargeGlyph(int SizeKind) const;
  virtual bool UsesLargeImage(int SizeKind) const;
  virtual int ViewSizeForLevel() const;
  // -- sizes
  virtual void GetControlMargins(int Kind, TRect& Margins);
  virtual int TextPartWidth();
  virtual int ExtraPartWidth() { return 0; }
  virtual int GlyphPartWidth();
  virtual int TextIndent();
  virtual int Height();
  virtual int Width();
  virtual int SmallWidth();
  virtual int LargeWidth();
  virtual int MenuItemHeight();
  virtual int MenuItemWidth();
  virtual int MinHeight() { return 1; }
  virtual int MinWidth() { return 1; }
  virtual int LargeHeight();
  virtual int SmallHeight();
  virtual int NaturalHeight();
  virtual int NaturalWidth();
  // -- the rest of the contract
  virtual bool HasToolbarHint() const;
  virtual bool JoinsSubMenuToOwner() const;
  virtual bool CanBeClicked() const { return IsKeyNavigable() || ClickFiresItem(); }
  virtual bool OwnsWindow(HWND Wnd) const;
  virtual bool ClosesMenusOnClick() const { return true; }
  virtual bool HasArrowPart() const { return false; }
  virtual bool FrameEditPartOnly() const { return false; }
  virtual bool HasDropDown() const { return false; }
  virtual bool HiddenFromCustomizingHitTest() const { return false; }
  virtual bool IsInSubMenu() const { return false; }
  virtual bool IsInMainMenu() const { return false; }
  virtual bool IsRotated() const;
  virtual bool KeepsMouseAfterClick() const { return false; }
  virtual void BeginSizing(const TPoint& P) {}
  virtual bool IsSizingPoint(const TPoint& P) const { return false; }
  virtual void EndSizing(bool Apply) {}
  virtual void DoSizing(const TPoint& P) {}
  virtual bool HasInnerWindow() const { return false; }
  virtual bool IsDroppedDown() const { return false; }
  virtual void Repaint();
  // -- dynamic operations, sent by the bar control
  virtual void DoubleClicked() {}
  virtual bool WantsDoubleClick() const;
  virtual void KeyDown(WORD& Key, TShiftState Shift) {}
  virtual void KeyUp(WORD& Key, TShiftState Shift) {}
  virtual void KeyPress(char32_t& Key) {}
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {}
  virtual void MouseEnter(TShiftState Shift, int X, int Y) { HitTest(TPoint(X, Y)); }
  virtual void MouseLeave() { HitTest(TPoint(-1, -1)); }
  virtual void MouseMove(TShiftState Shift, int X, int Y) { HitTest(TPoint(X, Y)); }
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {}
  // Window items ask for the text of an open editor through these.
  virtual bool IsWindowControl() const { return HasInnerWindow(); }
  virtual bool IsEditing() const { return false; }
  virtual std::string WindowText() const { return {}; }
  virtual void SetWindowText(const std::string& Value) {}
  virtual bool IsSelected() const;

  // -- fields and plain operations
  TdxBarItemLink* Link() const { return FLink; }
  TdxBarItemLink* ItemLink() const { return FLink; }
  TdxBarItem* LinkItem() const;
  TdxBarManager* LinkBarManager() const;
  TdxBarManager* ItemBarManager() const;
  TCustomdxBarControl* BarControl() const { return FBarControl; }
  TCustomdxBarControl* Parent() const { return FBarControl; }
  TRect ItemBoundsOf() const;
  TcxCanvas* DrawingCanvas() const;
  TCustomdxBarControl* ParentSubMenu() const;
  TdxBarItemAlign EffectiveAlign() const;
  bool IsDrawnSelected() const;
  bool IsLockedInCustomizing() const;
  bool IsPressedByMouse() const;
  int HotPart() const { return FHotPart; }
  void SetHotPart(int Index);
  bool RepaintSuspended() const { return FRepaintSuspended; }
  void SetRepaintSuspended(bool Value);
  bool BarStaysAfterClick() const;
  void BoundsChanged();
  void ResetGlyphCache(bool ResetWidths = false);
  void Paint(TcxCanvas* ACanvas, const TRect& R, int APaintKind);
  int LayoutHeight();
  int LayoutWidth();
  int WidthAtViewLevel(TdxBarItemViewLevel Level);
  HBRUSH BackgroundBrushOrBar() const;
  bool HasOwnBackground() const { return FBackgroundBrush != nullptr; }
  HBRUSH BackgroundBrush() const { return FBackgroundBrush; }
  bool ShowsShortCut() const;
  bool ShowsDescription() const;
  bool HasGlyphFor(int SizeKind) const;
  bool ShowsGlyphFor(int SizeKind, int Parts) const;
  TdxBarItemViewLevels CheckedPossibleViewLevels() const;
  TdxBarItemViewLevels AllowedViewLevels() const;
  int OwnTextSize() const;
  int TextWidthOf(const std::string& Text);
  int TextHeight();
  int SelectByRotation(int X, int Y) const { return IsRotated() ? Y : X; }
  int SelectAcrossRotation(int X, int Y) const { return IsRotated() ? X : Y; }
  void BeginBackgroundFill();
  void EndBackgroundFill();
  TcxAccessibilityHelper* AcquireAccessibilityHelper();

  TdxBarItemControlDrawParams* DrawParams() const { return FDrawParams.get(); }
  TdxBarItemControlViewInfo* ViewInfo() const { return FViewInfo.get(); }
  TdxCachedImageOptions* CachedImageOptions() const { return FCachedImageOptions.get(); }
  const std::vector<TRect>& PartRects() const { return FPartRects; }
  bool Active() const { return FActive; }
  bool Destroying() const { return FDestroying; }
  bool Placed = false;
  bool SelectedByMouse = false;
  bool LessUsed = false;
  bool StartsLessUsedBand = false;

 protected:
  TcxCanvas* FDrawCanvas = nullptr;
  HBRUSH FBackgroundBrush = nullptr;
  std::vector<TRect> FPartRects;
  int FMeasuredTextSize = 0;

 private:
  std::unique_ptr<TdxCachedImageOptions> FCachedImageOptions;
  bool FDestroying = false;
  TcxAccessibilityHelper* FAccessibilityHelper = nullptr;
  bool FActive = false;
  TdxBarItemLink* FLink;
  TCustomdxBarControl* FBarControl;
  bool FRepaintSuspended = false;
  std::unique_ptr<TdxBarItemControlDrawParams> FDrawParams;
  int FHotPart = -1;
  std::unique_ptr<TdxBarItemControlViewInfo> FViewInfo;
};
using TdxBarItemControlClass = std::function<TdxBarItemControl*(TdxBarItemLink* Link)>;

// Constructs a control of class T for a link and runs its creation steps.
template <class T>
T* CreateItemControl(TdxBarItemLink* Link) {
  std::unique_ptr<T> c(new T(Link));
  c->Initialize();
  return c.release();
}
template <class T>
TdxBarItemControlClass ItemControlClassOf() {
  return [](TdxBarItemLink* Link) -> TdxBarItemControl* { return CreateItemControl<T>(Link); };
}

// The geometry one layout gave an item control.
class TdxBarItemControlViewInfo : public TcxInterfacedPersistent {
 public:
  explicit TdxBarItemControlViewInfo(TdxBarItemControl* AControl);
  ~TdxBarItemControlViewInfo() override;
  virtual void RecalcHook() {}
  void ResetLevelWidths();
  void CopyBounds(TRect& R) const { R = Bounds; }
  TdxBarItemControl* Control() const { return FControl; }

  // The layouts' side of the view info, in this order.
  TdxBarItemAlign Align() const;
  TdxBarItemViewLevels GetAllowedLevels() const { return AllowedLevels; }
  TRect GetBounds() const { return Bounds; }
  int GetLayoutValueA() const { return LayoutValueA; }
  bool IsDistributed() const;
  TdxBarItemPosition Position() const;
  TdxBarButtonGroupPosition ButtonGroup() const;
  uint8_t GetRealButtonGroupPosition() const { return RealButtonGroupPosition; }
  int GetLayoutValueB() const { return LayoutValueB; }
  TdxBarItemViewLevel GetViewLevel() const { return ViewLevel; }
  TdxBarItemViewLevel GetGroupViewLevel() const { return GroupViewLevel; }
  int WidthAtLevel(TdxBarItemViewLevel Level);
  bool BeginsGroup() const;
  bool IsListed() const;
  bool HasMultiColumnViewInfo() const { return false; }
  void SetBounds(const TRect& R) { Bounds = R; }
  void SetLayoutValueA(int Value) { LayoutValueA = Value; }
  void SetDistributed(bool Value);
  void SetRealButtonGroupPosition(uint8_t Value) { RealButtonGroupPosition = Value; }
  void SetLayoutValueB(int Value) { LayoutValueB = Value; }
  void SetViewLevel(TdxBarItemViewLevel Level) { ViewLevel = Level; }

  TdxBarItemViewLevels AllowedLevels;
  TRect Bounds;
  int LayoutValueA = 0;
  TRect GlyphBounds;
  TdxBarItemViewLevel MostCompactPossibleLevel = ivlSmallIconWithText;
  uint8_t RealButtonGroupPosition = 0;
  int LayoutValueB = 0;
  TdxBarItemViewLevel ViewLevel = ivlDefault;
  TdxBarItemViewLevel GroupViewLevel = ivlSmallIconWithText;
  struct TLevelWidth {
    bool Computed = false;
    int Width = 0;
  };
  TLevelWidth LevelWidths[4];

 private:
  TdxBarItemControl* FControl;
};

// What a bar control's last layout placed: its item controls' view infos and the group
// separators between them.
class TCustomdxBarControlViewInfo : public TObject {
 public:
  struct TSeparator {
    TdxBarItemControl* Control = nullptr;
    TRect Bounds;
    uint8_t Kind = 0;  // 0 horizontal line, 1 vertical line
  };
  explicit TCustomdxBarControlViewInfo(TCustomdxBarControl* ABarControl) : FBarControl(ABarControl) {}
  virtual void Reset();
  virtual void Recalculate() { Reset(); }

  void AddControlViewInfo(TdxBarItemControlViewInfo* Value);
  void RemoveControlViewInfo(TdxBarItemControlViewInfo* Value);
  int ControlCount() const { return int(FControlViewInfos.size()); }
  TdxBarItemControlViewInfo* ControlViewInfo(int Index) const { return FControlViewInfos.at(size_t(Index)); }
  int IndexOfControl(TdxBarItemControl* Control) const;
  bool ShowsControl(TdxBarItemControl* Control) const { return IndexOfControl(Control) >= 0; }
  void AddSeparator(const TRect& R, uint8_t Kind, TdxBarItemControl* AssociatedControl);
  void ClearSeparators() { FSeparators.clear(); }
  int SeparatorCount() const { return int(FSeparators.size()); }
  void GetSeparator(int Index, TRect& R, uint8_t& Kind) const;
  // The item control whose group the separator begins.
  TdxBarItemControl* SeparatorControl(int Index) const { return FSeparators.at(size_t(Index)).Control; }
  bool FindSeparatorOf(TdxBarItemControl* Control, int& Index) const;
  TCustomdxBarControl* BarControl() const { return FBarControl; }

 private:
  std::vector<TdxBarItemControlViewInfo*> FControlViewInfos;
  std::vector<TSeparator> FSeparators;
  TCustomdxBarControl* FBarControl;
};

// ---- painters

class TdxBarSubMenuControl;
class TdxBarHintViewInfo;
class TdxBarItemControlDrawParams;
class TdxBarButtonLikeControlDrawParams;
class TdxBarEditLikeControlDrawParams;
class TdxBarStaticLikeControlDrawParams;
class TdxBarSeparatorControlDrawParams;
class TdxBarColorComboControlDrawParams;
class TdxBarSpinEditDrawParams;
class TdxBarProgressControlDrawParams;
class TdxBarInPlaceSubItemControlDrawParams;
class TCustomImageList;
class TdxScreenTipViewInfo;

enum TdxBarStaticBorderStyle : uint8_t { sbsNone, sbsLowered, sbsRaised, sbsEtched, sbsBump };
enum TdxBarMDIButton : uint8_t { mdibMinimize, mdibRestore, mdibClose };

// Draws the bar windows in one style and answers the sizes they lay themselves out with. A painter
// holds no state: every bar window of a manager shares one. The operations keep a fixed order so
// that the style painters' tables line up; an operation no caller uses yet keeps its base answer.
// Paint types: 0 on a horizontal bar, 1 in a menu, 2 on a vertical bar.
class TdxBarPainter : public TcxIUnknownObject {
 public:
  ~TdxBarPainter() override = default;

  virtual void DrawBarClientBackground(TCustomdxBarControl* BarControl) const;
  virtual void DrawBarBackgroundAtOnce(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {}
  virtual TRect FloatingCaptionRect(TCustomdxBarControl* BarControl, const TRect& NCRect) const;
  virtual bool BarBackgroundAtOnce() const { return false; }
  virtual bool WantsDoubleBuffer() const { return false; }
  virtual bool AllowsLargeIcons() const { return true; }
  // Places a button's caption beside its glyph; Alignment gets 0 left, 1 centred, 2 right.
  virtual void CalcCaptionRect(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& ContentRect,
                               TRect& CaptionRect, int& Alignment, const TRect& GlyphRect) const;
  virtual void FrameGlyphArea(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected,
                              bool Down, bool Pressed, bool DroppedDown, bool Split, bool WithBorder,
                              HBRUSH Brush, const TRect& R) const {}
  virtual void DrawCheckSign(TdxBarItemControl* Control, HDC DC, int SizeCode, int X, int Y) const {}
  virtual void DrawCheckSignCentered(TdxBarItemControl* Control, HDC DC, bool Down, int PaintType,
                                     const TRect& R) const;
  virtual void DrawArrow(HDC DC, const TRect& R, TcxArrowDirection Direction, bool Enabled, bool Selected,
                         bool Flat, TColor Color) const;
  virtual void DrawArrowSized(HDC DC, const TRect& R, TcxArrowDirection Direction, int Size, bool Selected,
                              bool Enabled, bool Flat, TColor Color) const;
  virtual void FrameSelection(HDC DC, const TRect& R) const {}
  virtual TColor StateTextColor(TdxBarItemControl* Control, bool Selected, bool Flat) const;
  virtual void DisabledCaptionColors(TdxBarItemControl* Control, bool Selected, TColor& ShadowColor,
                                     TColor& TextColor, bool Flat) const;
  virtual TColor DefaultCaptionColor(TdxBarItemControl* Control, bool Selected, bool Flat) const {
    return StateTextColor(Control, Selected, Flat);
  }
  virtual TColor ArrowColor(TdxBarButtonLikeControlDrawParams* DrawParams) const;
  virtual bool DisabledGlyphsFaded(TCustomdxBarControl* BarControl) const;
  virtual bool ItemFlagStandard() const { return false; }
  virtual bool DrawsHiddenItemsItself() const { return false; }
  virtual bool SupportsFading() const;
  virtual bool ShowsHotAsDown(TdxBarItemControl* Control) const { return false; }
  virtual bool ArrowUsesCaptionColor() const { return false; }
  virtual TPoint HintPosition(TCustomdxBarControl* BarControl, const TRect& ItemRect, TPoint Cursor) const;
  // The caller owns the answer.
  virtual TdxBarHintViewInfo* CreateHintViewInfo(TdxBarManager* Manager, const std::string& HintText,
                                                 const std::string& ShortCutText) const;
  virtual bool BarWindowFlagA() const { return true; }
  virtual bool IsMarkAreaSmall(TCustomdxBarControl* BarControl, const TRect& R) const {
    return R.Bottom - R.Top < 17;
  }
  virtual TColor FloatingCaptionColor(TCustomdxBarControl* BarControl, bool Active) const;
  virtual TColor FloatingCaptionTextColor(TCustomdxBarControl* BarControl) const;
  virtual TColor CloseSignColor(TCustomdxBarControl* BarControl, int State) const;
  virtual void DrawSizeGrip(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const;
  virtual void DrawCaptionMarkArrow(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const;
  virtual void DrawMarkChevrons(TCustomdxBarControl* BarControl, HDC DC, int Position, const TRect& R) const;
  virtual void DrawMarkBackground(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {}
  virtual void DrawMarkContents(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const;
  virtual int FloatingCaptionTextStart(TCustomdxBarControl* BarControl) const;
  virtual int MarkSignColorIndex(TCustomdxBarControl* BarControl) const { return 18; }
  virtual void DrawTextWithParams(TdxBarItemControlDrawParams* DrawParams, const TRect& R, UINT Flags,
                                  int Alignment) const;
  virtual TRect CaptionGlyphGap() const { return TRect(4, 0, 0, 0); }
  virtual TRect CalcCaptionTextRect(TdxBarItemControlDrawParams* DrawParams) const;
  virtual void AddButtonExtraWidth(TdxBarButtonLikeControlDrawParams* DrawParams, int& Width) const;
  virtual int EllipsisDotLift(int DotSize) const { return DotSize; }
  virtual TRect CalcEllipsisButtonRect(TdxBarColorComboControlDrawParams* DrawParams, const TRect& ItemRect) const;
  virtual int EllipsisButtonWidth(int PaintType, const TRect& R) const;
  virtual void DrawEllipsisDot(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawEllipsisDots(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawComboArrow(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R, TColor Color,
                              int Size) const;
  virtual void FillRectWithColor(TcxCanvas* Canvas, const TRect& R, TColor Color) const;
  virtual void DrawScrollArrow(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom, TColor Color,
                               const TRect& R) const;
  virtual void DrawScrollButton(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const;
  virtual void FillScrollButton(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const;
  virtual void DrawScrollButtonEdge(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const;
  virtual TRect ScrollButtonRect(TdxBarSubMenuControl* SubMenu, bool Bottom) const;
  virtual int ScrollButtonHeight(TdxBarSubMenuControl* SubMenu) const;
  virtual int ScrollArrowSize(int Height) const { return Height / 3 - 1; }
  virtual void DrawExpandChevrons(TdxBarSubMenuControl* SubMenu, HDC DC, bool Hot, const TRect& R) const;
  virtual void DrawExpandButton(TdxBarSubMenuControl* SubMenu, const TRect& R, bool Hot) const;
  virtual void DrawExpandButtonFrame(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const;
  virtual bool MenuFlagA(TCustomdxBarControl* BarControl) const { return false; }
  virtual void InPlaceEditRect(TdxBarItemControl* EditControl, TRect& R) const;
  virtual void DrawSpinArrow(TdxBarSpinEditDrawParams* DrawParams, TPoint Position,
                             TcxArrowDirection Direction) const;
  virtual TColor DropDownBorderColor() const { return clWindowFrame; }
  virtual TcxCustomLookAndFeelPainter* LookAndFeelPainter() const;
  virtual void DrawCenteredButtonText(HDC DC, const TRect& R, bool Opaque, const std::string& Text,
                                      int Offset) const;
  // Create: the painter class registered with RegisterBarPainterClass; the painter has no fields.
  virtual void NarrowEditCaptionPart(TdxBarEditLikeControlDrawParams* DrawParams,
                                     std::vector<TRect>& PartRects) const;
  virtual void CalcButtonPartRects(TdxBarButtonLikeControlDrawParams* DrawParams,
                                   std::vector<TRect>& PartRects) const;
  virtual void CalcColorComboPartRects(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R,
                                       std::vector<TRect>& PartRects) const;
  virtual void CalcComboPartRects(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R,
                                  std::vector<TRect>& PartRects) const;
  virtual void CalcEditPartRects(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& ItemRect,
                                 std::vector<TRect>& PartRects) const;
  virtual void CalcSpinEditPartRects(TdxBarSpinEditDrawParams* DrawParams, const TRect& R,
                                     std::vector<TRect>& PartRects) const;
  virtual TRect BarBorderSizes(TdxBar* Bar, TdxBarDockingStyle Style, bool WithSizeGrip) const;
  virtual int AutoAlignToolbarsOffset() const { return 0; }
  virtual int DropDownShift() const { return 0; }
  virtual int MenuIconAreaSize(TdxBarSubMenuControl* SubMenu) const;
  virtual int HalfFontHeight(TdxBarItemControl* Control) const;
  virtual int DefaultTextSize(TcxCanvas* Canvas) const;
  virtual int PopupWindowBorderWidth() const { return 2; }
  virtual TRect CalcLargeGlyphRect(TdxBarItemControl* Control, TSize GlyphSize, const TRect& R,
                                   TdxBarGlyphLayout Layout, int PaintType, bool HasText) const;
  virtual void FillControlBackground(TdxBarItemControl* Control, HDC DC, bool Solid, HBRUSH Brush,
                                     const TRect& R) const;
  virtual void FrameControlBackground(TdxBarItemControl* Control, HDC DC, bool Solid, HBRUSH Brush,
                                      const TRect& R) const;
  virtual void FillDisabledShadow(TdxBarItemControl* Control, HDC DC, const TRect& R) const;
  virtual void FillBarBackgroundRect(TdxBarItemControl* Control, TcxCanvas* Canvas, HBRUSH Brush,
                                     const TRect& R) const;
  // ViewStructure: bit 0 the icon part, bit 1 the text part; ViewSize 2 is the large view.
  virtual void DrawGlyph(TdxBarItemControl* Control, HDC DC, int PaintType, int ViewStructure, int ViewSize,
                         bool NoIcon, bool Selected, bool Down, bool Pressed, bool DroppedDown, bool GrayGlyph,
                         bool Split, const TRect& GlyphArea, const TRect& TextArea) const;
  virtual void DrawGlyphInRect(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected,
                               bool Down, bool Pressed, bool DroppedDown, bool GrayGlyph, bool Split,
                               TCustomImageList* Images, TBitmap* Glyph, int ImageIndex, const TRect& GlyphRect,
                               const TRect& Area) const;
  virtual void BeforeDrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {}
  virtual void DrawItemText(TdxBarItemControl* Control, HDC DC, UINT Flags, bool Flat, bool Clip,
                            bool Vertical, bool Selected, bool Enabled, int Alignment, const TRect& R,
                            const std::string& Text) const;
  virtual void DrawSunkenFrame(HDC DC, TRect& R) const;
  virtual void DrawButtonFace(TdxBarItemControl* Control, HDC DC, bool Pressed, bool Selected, bool Enabled,
                              const TRect& R) const {}
  virtual TRect CaptionMargins() const { return TRect(2, 2, 2, 3); }
  virtual HBRUSH ItemBackgroundBrush(TdxBarItemControl* Control, int PaintType, bool NoIcon, bool Selected,
                                     bool Down, bool Enabled) const;
  virtual int DownGlyphOffset(TdxBarItemControl* Control) const { return 0; }
  virtual int PressedGlyphOffset(TdxBarItemControl* Control, bool Down) const { return 0; }
  virtual bool GlyphHotLook() const { return false; }
  virtual bool IsFlat() const { return false; }
  virtual bool IsFlatAndNotWhiteFace() const;
  virtual int ArrowAreaExtraWidth(TdxBarItemControl* Control) const { return 0; }
  virtual bool GlyphAreaSolid(TdxBarItemControl* Control, bool Down, bool NoGlyph, bool Selected,
                              bool Pressed) const;
  virtual bool GlyphShadowWhenHot() const { return false; }
  virtual bool UsesNativeItemBackground(TdxBarItemControl* Control) const;
  virtual bool DownButtonHighlight() const { return true; }
  virtual int ButtonBorderWidth(TdxBarItemControl* Control) const { return 0; }
  virtual int ItemTextSize(TdxBarItemControl* Control) const;
  virtual int ToolbarBorderGap() const { return 0; }
  virtual int FloatingFrameWidth() const;
  virtual int FloatingFrameHeight() const;
  virtual int GripSize() const { return 0; }
  virtual int GripSizeWithBorder(TCustomdxBarControl* BarControl) const { return 0; }
  virtual int GripDotCount() const { return 3; }
  virtual int DropDownArrowWidth(TdxBarManager* Manager) const;
  virtual int LargeDropDownArrowWidth(TdxBarManager* Manager) const;
  virtual int MenuBeginGroupIndent() const { return 0; }
  virtual void FillDockBackground(TdxDockControl* DockControl, HDC DC, TColor Color, HBRUSH Brush,
                                  const TRect& R, const TRect& OriginRect) const;
  virtual bool UsesThemedBackground() const { return false; }
  virtual int BarIndent(TCustomdxBarControl* BarControl) const { return 0; }
  virtual bool FlatBarFlag(TCustomdxBarControl* BarControl) const;
  virtual bool FlatBarFlagDeep(TCustomdxBarControl* BarControl) const;
  virtual HBRUSH ManagerBarBrush(TdxBarManager* Manager) const;
  virtual int DockRowGap() const { return 0; }
  virtual void DrawBarOnDockBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                                       const TRect& ItemRect, const TRect& OriginRect) const;
  virtual void DrawBarWallpaper(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                                const TRect& R, const TRect& OriginRect) const;
  virtual void FillBarBorderArea(TCustomdxBarControl* BarControl, HDC DC) const;
  virtual HBRUSH BarBrush(TCustomdxBarControl* BarControl) const;
  virtual HBRUSH ToolbarBrush(TCustomdxBarControl* BarControl) const { return BarBrush(BarControl); }
  virtual HBRUSH CheckerBrush(TCustomdxBarControl* BarControl) const;
  virtual HBRUSH MenuBrush(TCustomdxBarControl* BarControl) const;
  virtual HBRUSH SelectionBrush(TCustomdxBarControl* BarControl) const;
  virtual int ComboArrowWidth(TCustomdxBarControl* BarControl, int TextWidth) const { return 2 * TextWidth - 1; }
  virtual int EditTextHeight(TCustomdxBarControl* BarControl, int TextHeight) const;
  virtual void EditBorderSize(int& Top, int& Bottom) const {
    Top = 2;
    Bottom = 2;
  }
  virtual void AfterBarResize(HWND Window, const TRect& R, bool Flag) const {}
  virtual bool TracksHotElements() const { return true; }
  virtual bool AllowsQuickCustomizing() const { return true; }
  virtual int BarSeparatorMargin() const { return (BarSeparatorSize() - 2) / 2; }
  virtual int BarSeparatorSize() const { return 6; }
  virtual TRect UniformBorderRect() const;
  virtual int BorderUnit() const { return 1; }
  virtual TRect DockedBorderRect(TdxBar* Bar, TdxBarDockingStyle Style) const { return TRect(2, 2, 2, 2); }
  virtual int FloatingCaptionHeight(TCustomdxBarControl* BarControl) const { return SmallCaptionHeight() + 1; }
  virtual void FillFloatingCaption(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const;
  virtual int SmallCaptionHeight() const;
  virtual bool FloatingCaptionFilled() const { return false; }
  virtual TSize CloseButtonSize() const;
  virtual void DrawBarBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                                 const TRect& ItemRect, const TRect& OriginRect) const;
  virtual void DrawBarSeparator(TCustomdxBarControl* BarControl, HDC DC, bool Horizontal, HBRUSH Brush,
                                const TRect& R) const;
  // State 0 normal, 1 hot, 2 pressed.
  virtual void DrawCloseButtonBackground(TCustomdxBarControl* BarControl, HDC DC, int State, const TRect& R) const;
  virtual void DrawCaptionCloseButton(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {}
  virtual void DrawDockedBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {}
  virtual void DrawFloatingBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {}
  virtual void DrawFloatingCaption(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                   const TRect& CaptionRect) const;
  virtual void DrawFloatingMarkButton(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
    DrawCaptionMarkArrow(BarControl, DC, R);
  }
  virtual void DrawMark(TCustomdxBarControl* BarControl, TcxCanvas* Canvas, HBRUSH Brush, const TRect& R) const;
  // State 0 normal, 1 disabled, 2 hot, 4 pressed.
  virtual void DrawMDIButton(TCustomdxBarControl* BarControl, TdxBarMDIButton Button, const TRect& R, HDC DC,
                             int State) const {}
  virtual void DrawBarSizeGrip(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const;
  virtual void FillBarTopStrip(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const;
  virtual int FloatingFrameExtraX() const { return 0; }
  virtual TRect MarkAreaRect(TCustomdxBarControl* BarControl) const { return MarkRect(BarControl); }
  virtual TRect MarkRect(TCustomdxBarControl* BarControl) const;
  virtual void InvalidateMark(TCustomdxBarControl* BarControl) const;
  virtual int FloatingFrameExtraTop() const { return 0; }
  virtual int FloatingFrameExtraBottom() const { return 0; }
  virtual bool CloseButtonHitTestDirect() const { return false; }
  virtual bool BarFlagStandard() const { return false; }
  virtual int MarkSize(TCustomdxBarControl* BarControl) const { return 11; }
  virtual void FillBottomBarBackground(TCustomdxBarControl* BarControl, HDC DC, const TRect& R, TColor Color,
                                       HBRUSH Brush) const;
  virtual TRect BottomBarMargins() const { return TRect(); }
  virtual int StatusBarTopBorder(TdxBar* Bar) const { return 2; }
  virtual TSize SizeGripSize(TdxBarManager* Manager) const;
  virtual HBRUSH ToolbarBrushEx(TCustomdxBarControl* BarControl) const { return ToolbarBrush(BarControl); }
  virtual int SquareRight(TRect& R) const {
    R.Right = R.Left + (R.Bottom - R.Top);
    return R.Right;
  }
  virtual void DrawQuickCustomizingItemExtra(TdxBarItemControl* Control, HDC DC, const TRect& R) const {}
  virtual bool QuickPopupFlag() const { return false; }
  virtual int SeparatorTextIndent(TdxBarItemControlDrawParams* DrawParams) const;
  virtual TRect ControlMargins(TdxBarItemControlDrawParams* DrawParams, int Value) const {
    return TRect(3, 0, 3, 0);
  }
  virtual HBRUSH ArrowAreaBrush(TdxBarButtonLikeControlDrawParams* DrawParams) const;
  virtual bool DrawsArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams) const;
  virtual bool ArrowPartSunken(TdxBarButtonLikeControlDrawParams* DrawParams) const;
  virtual bool ArrowPartFlatA() const { return IsFlat(); }
  virtual bool ArrowPartFlatB() const { return IsFlat(); }
  virtual int GlyphAreaExtraHeight() const { return 6; }
  virtual int GlyphAreaExtraWidth() const { return 7; }
  virtual int GlyphAreaHeight(int GlyphHeight) const { return GlyphHeight + GlyphAreaExtraHeight(); }
  virtual int GlyphAreaWidth(int GlyphWidth) const { return GlyphWidth + GlyphAreaExtraWidth(); }
  virtual TSize GlyphAreaSize(int GlyphWidth, int GlyphHeight) const {
    return TSize{GlyphAreaWidth(GlyphWidth), GlyphAreaHeight(GlyphHeight)};
  }
  virtual TSize CheckSignSize() const { return TSize{5, 3}; }
  virtual void AdjustMenuExtent(int& Value) const {}
  virtual void AdjustMenuItemWidth(int& Width) const {}
  virtual void PressedOffset(bool Down, bool Pressed, TRect& R) const;
  virtual void OffsetWhenDown(bool Down, TRect& R) const;
  virtual void DrawButtonLike(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawButtonCaption(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const;
  virtual void FillDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R,
                                     HBRUSH Brush) const;
  virtual void DrawSplitArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawItemArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const;
  virtual TColor ComboArrowColor(TdxBarEditLikeControlDrawParams* DrawParams) const { return clBtnText; }
  virtual HBRUSH ComboButtonBrush(TdxBarEditLikeControlDrawParams* DrawParams) const;
  virtual int ComboButtonInset(TdxBarEditLikeControlDrawParams* DrawParams) const { return 1; }
  virtual TRect EditMargins(int PaintType) const { return EditFrameMargins(PaintType); }
  virtual void DrawComboButton(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R, bool Pressed) const;
  // May move R with the button face (a pressed face takes its arrow along).
  virtual void DrawSimpleComboButton(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R, HBRUSH Brush) const {}
  virtual int DropDownListBorderSize() const { return 2; }
  virtual void DrawDropDownListBorder(HDC DC, TColor Color, const TRect& R) const;
  virtual bool MenuHasSideBand() const { return false; }
  virtual bool OffsetsRecentGroup() const { return false; }
  virtual int MenuArrowsOffset() const { return 2; }
  virtual int MenuArrowWidth(int TextSize) const { return TextSize / 4 * 3 + 1; }
  virtual int MenuSeparatorSize() const { return 10; }
  virtual int MenuFrameTotal(TdxBarSubMenuControl* SubMenu) const { return MenuFrameWidth() + MenuClientIndent(); }
  virtual int MenuFrameWidth() const { return 1; }
  virtual int MenuClientIndent() const { return 1; }
  virtual void MenuTextMetrics(TcxCanvas* Canvas, int TextSize, int& ArrowWidth, int& MarkSize) const;
  virtual TRect MenuBorderRect(TdxBarSubMenuControl* SubMenu) const;
  virtual int DetachCaptionAreaSize(TdxBarSubMenuControl* SubMenu) const;
  virtual int MenuLeftAreaWidth(TdxBarSubMenuControl* SubMenu) const;
  virtual int MenuGlyphColumnWidth(TdxBarSubMenuControl* SubMenu) const;
  virtual int CaptionExtraHeight(TdxBarButtonLikeControlDrawParams* DrawParams) const { return 0; }
  virtual int MenuFlagB() const { return 0; }
  virtual int MenuSubItemArrowSize(int ItemHeight) const { return (ItemHeight - 6) / 2; }
  virtual int ReferenceTextSize() const { return 19; }
  virtual TRect MenuItemIconRect(const TRect& ItemRect, int IconAreaSize) const {
    return TRect(ItemRect.Left, ItemRect.Top, ItemRect.Left + IconAreaSize, ItemRect.Bottom);
  }
  virtual TRect MenuItemTextRect(TdxBarItemControlDrawParams* DrawParams, const TRect& R) const;
  virtual int MenuCaptionOffset(TdxBarItemControlDrawParams* DrawParams) const;
  virtual TRect MenuSeparatorRect(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control,
                                  const TRect& ItemRect) const;
  virtual void DetachCaptionRect(TdxBarSubMenuControl* SubMenu, TRect& R) const { R = R.Inflate(-3, -3); }
  virtual void DrawScrollButtonFrame(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const {}
  virtual void FillMenuBackground(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, TColor Color, HBRUSH Brush,
                                  const TRect& R) const;
  virtual void DrawMenuBorder(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const;
  virtual void DrawMenuFrame(TdxBarSubMenuControl* SubMenu, HDC DC, HBRUSH Brush, const TRect& R) const;
  virtual void DrawDetachCaption(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const;
  virtual void DrawMenuSeparator(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control, const TRect& R,
                                 TcxCanvas* Canvas) const;
  virtual void DrawMenuItemFrame(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control, int ItemIndex,
                                 const TRect& R, HDC DC) const {}
  virtual void DrawSeparatorLine(TcxCanvas* Canvas, const TRect& R) const;
  virtual void MenuBackgroundBrush(TdxBarSubMenuControl* SubMenu, HBRUSH& Brush) const;
  virtual int MenuTextSize(TcxCanvas* Canvas) const { return DefaultTextSize(Canvas); }
  virtual HBRUSH MenuOwnBrush(TdxBarSubMenuControl* SubMenu) const;
  virtual TRect SpareInsetsA() const { return TRect(); }
  virtual void DrawMenuBackgroundPart(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, const TRect& Area,
                                      const TRect& Excluded) const;
  virtual void AfterDrawBar() const {}
  virtual TRect SpareInsetsB() const { return TRect(); }
  virtual TColor BarFontColor() const { return clDefault; }
  virtual void FillItemBackgroundWithBitmap(TdxBarItemControl* Control, TcxCanvas* Canvas, TColor Color,
                                            HBRUSH Brush, const TRect& R) const;
  virtual void DrawSeparatorOnCanvas(TCustomdxBarControl* BarControl, TcxCanvas* Canvas, bool Horizontal,
                                     HBRUSH Brush, const TRect& R) const;
  virtual void PopupFlagA() const {}
  virtual TColor TextColorValue() const { return clBtnText; }
  virtual int EditMinTextWidth() const { return 30; }
  virtual int EditTextIndent() const { return 2; }
  virtual void DrawEditValue(TdxBarItem* EditItem, TdxBarItemLink* Link, const TRect& R, TcxCanvas* Canvas) const;
  virtual void ApplyLookAndFeel(TdxBarManager* Manager, TcxLookAndFeel* LookAndFeel) const;
  virtual TColor EditBackgroundColor(TdxBarItemControl* EditControl) const;
  virtual TColor EditDisabledBackgroundColor(TdxBarItemControl* EditControl) const;
  virtual TColor EditColor(TdxBarEditLikeControlDrawParams* DrawParams) const;
  virtual TColor EditTextColorEnabled() const;
  virtual TColor EditTextColorDisabled() const;
  virtual TColor EditTextColor(TdxBarItemControl* EditControl) const;
  virtual void EditColors(TdxBarItemControl* EditControl, TColor& TextColor, TColor& BackgroundColor) const;
  virtual bool EditFlagA() const { return true; }
  virtual int EditFlagB() const { return 0; }
  virtual bool EditDrawsSelected(TdxBarEditLikeControlDrawParams* DrawParams) const;
  virtual int EditFlagC() const { return 0; }
  virtual int EditFlagD(TdxBarEditLikeControlDrawParams* DrawParams) const { return 0; }
  virtual void EditHookA() const {}
  virtual void DrawEditHotFrame(TdxBarEditLikeControlDrawParams* DrawParams, HDC DC, const TRect& R) const {}
  virtual void EditHookB(TdxBarEditLikeControlDrawParams* DrawParams) const {}
  virtual void DrawComboListItemDefault(TdxBarItem* Item, TcxCanvas* Canvas, const TRect& R, int Index) const;
  virtual void DrawEdit(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const;
  virtual TRect EditFrameMargins(int PaintType) const { return TRect(2, 2, 2, 2); }
  virtual void FillEditBackground(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawEditBorder(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R) const;
  virtual void DrawEditCaption(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawEditSelectedInMenu(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawEditGlyph(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const;
  virtual bool EditCaptionSelected(TdxBarEditLikeControlDrawParams* DrawParams) const;
  virtual bool EditCaptionNonRecent(TdxBarEditLikeControlDrawParams* DrawParams) const;
  virtual void DrawEditText(TdxBarItemControl* EditControl, TcxCanvas* Canvas, const TRect& R) const;
  virtual bool EditDefaultShowsIcon(TdxBarEditLikeControlDrawParams* DrawParams) const { return false; }
  // Part 1 the caption part, part 2 the glyph part.
  virtual TRect EditCaptionMargins(TdxBarEditLikeControlDrawParams* DrawParams, int Part) const;
  virtual int EditGlyphIndent(TdxBarEditLikeControlDrawParams* DrawParams) const;
  virtual int EditMenuGlyphIndent() const { return 2; }
  virtual int EditNoGlyphIndent() const { return 2; }
  virtual int EditCaptionGap() const { return 4; }
  virtual TRect EditMenuCaptionMargins() const { return TRect(4, 0, 0, 0); }
  virtual HBRUSH EditBarBrush(TdxBarItemControl* Control) const;
  virtual bool EditGlyphHot(TdxBarItemControl* Control) const { return false; }
  virtual void SelectAllEditText(TdxBarItemControl* EditControl, HWND EditWindow, bool Notify) const;
  virtual bool EditFlagF(TdxBarEditLikeControlDrawParams* DrawParams, int& Value) const { return false; }
  virtual bool ColorComboFlag() const { return false; }
  virtual bool HasColorBox(TdxBarColorComboControlDrawParams* DrawParams) const;
  virtual void AdjustColorComboRect(TdxBarColorComboControlDrawParams* DrawParams, TRect& R) const;
  virtual TRect ColorBoxMargins(int PaintType) const { return TRect(1, 2, 1, 2); }
  virtual void DrawEllipsisButton(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawColorBoxFrame(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const;
  // R comes in as the window bounds and goes out as the content rectangle.
  virtual void CalcDropDownResizeBar(TRect& R, TRect& GripRect, bool Resizable, TcxCorner& Corner,
                                     TRect& CloseButtonRect) const;
  virtual void DrawDropDownResizeBar(HWND Window, bool Resizable, TcxCorner Corner, const TRect& GripRect,
                                     const TRect& CloseButtonRect, bool Tracking, int CloseState) const;
  virtual int DropDownNonClientHeight() const;
  virtual bool DateNavigatorFlag() const { return false; }
  virtual void DrawPushButton(const std::string& Text, HDC DC, bool Pressed, int Offset, const TRect& R) const;
  virtual TColor DateNavigatorColor() const { return clBtnFace; }
  virtual TPoint SpinArrowPosition(TdxBarSpinEditDrawParams* DrawParams, const TRect& ButtonRect,
                                   TcxArrowDirection Direction) const;
  virtual void AdjustSpinEditRect(TdxBarSpinEditDrawParams* DrawParams, TRect& R) const;
  // cx the arrow width, cy the arrow height.
  virtual TSize SpinButtonSizes(int Height) const;
  // Button 1 the upper, 2 the lower.
  virtual TRect CalcSpinButtonRect(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, int Button) const;
  virtual TRect SpinButtonMargins(int PaintType) const { return TRect(1, 0, 1, 0); }
  virtual int SpinButtonsWidth(int PaintType, const TRect& R) const;
  virtual int SpinButtonState(TdxBarSpinEditDrawParams* DrawParams, int Button) const;
  virtual void DrawSpinButton(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, int Button) const;
  virtual void FillSpinEditBackground(TdxBarSpinEditDrawParams* DrawParams, const TRect& R) const;
  virtual TColor ProgressBarDefaultColor() const;
  virtual int ProgressBarFrameSize() const { return 0; }
  virtual int ProgressBarMinHeight(TdxBarItemControl* Control) const { return 12; }
  virtual int ProgressBarLeftIndent(TdxBarProgressControlDrawParams* DrawParams) const { return 0; }
  virtual void DrawProgressBar(TdxBarProgressControlDrawParams* DrawParams, const TRect& R, TColor Color) const;
  virtual void FillProgressBackground(TdxBarProgressControlDrawParams* DrawParams, const TRect& R) const;
  // Where the filled part of a progress bar goes inside its background.
  virtual TRect ProgressBarContentRect(TdxBarProgressControlDrawParams* DrawParams, const TRect& R) const {
    return R;
  }
  virtual void DrawProgressChunks(TdxBarProgressControlDrawParams* DrawParams, const TRect& R, HBRUSH Brush) const;
  virtual void FillProgressRect(TdxBarProgressControlDrawParams* DrawParams, const TRect& R, HBRUSH Brush) const;
  virtual void DrawProgressChunk(TdxBarProgressControlDrawParams* DrawParams, const TRect& R, HBRUSH Brush) const {
    FillProgressRect(DrawParams, R, Brush);
  }
  virtual int ContainerExtraWidth() const { return 0; }
  virtual HBRUSH InPlaceSubItemHotBrush() const;
  virtual int InPlaceSubItemTextSize(TdxBarInPlaceSubItemControlDrawParams* DrawParams) const;
  virtual int InPlaceSubItemExtraHeight() const { return 5; }
  virtual bool InPlaceSubItemSelected(TdxBarInPlaceSubItemControlDrawParams* DrawParams) const;
  virtual bool InPlaceSubItemArrowFlat(TdxBarInPlaceSubItemControlDrawParams* DrawParams) const { return true; }
  virtual void DrawInPlaceSubItemArrow(TdxBarInPlaceSubItemControlDrawParams* DrawParams,
                                       TcxArrowDirection Direction, const TRect& R) const;
  virtual void DrawInPlaceSubItemBackground(TdxBarInPlaceSubItemControlDrawParams* DrawParams,
                                            const TRect& R) const;
  virtual void DrawInPlaceSubItem(TdxBarInPlaceSubItemControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawStaticBackground(TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawStaticBorder(TdxBarStaticLikeControlDrawParams* DrawParams, TRect& R) const;
  virtual void DrawStaticContent(TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawStatic(TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) const;
  virtual bool StaticHasOwnColor(TdxBarStaticLikeControlDrawParams* DrawParams) const;
  virtual TRect StaticBorderOffsets(TdxBarStaticBorderStyle Style) const;
  virtual TRect SeparatorItemMargins() const { return TRect(6, 0, 0, 0); }
  virtual int SeparatorLineHeight() const { return SeparatorLineHeightBase(); }
  virtual int SeparatorLineHeightBase() const { return 2; }
  virtual void DrawSeparatorCaption(TdxBarSeparatorControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawSeparatorItem(TdxBarSeparatorControlDrawParams* DrawParams, const TRect& R) const;
  virtual void DrawSeparatorItemLine(TcxCanvas* Canvas, const TRect& R) const { DrawSeparatorLine(Canvas, R); }
  virtual TColor ScreenTipDescriptionColor() const;
  virtual TColor ScreenTipTitleColor() const;
  virtual int ScreenTipFooterLineSize() const;
  virtual void DrawScreenTipBackground(TdxScreenTipViewInfo* ViewInfo, const TRect& R) const;
  virtual void DrawScreenTipFrame(TcxCanvas* Canvas, const TRect& R) const;

  // Shared steps of the painters and of the extra items' controls.
  void DrawItemGlyph(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected, bool Down,
                     bool Pressed, bool DroppedDown, bool GrayGlyph, bool Split, const TRect& TextRect,
                     const TRect& GlyphRect) const;
  void DrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const;
  void DrawButtonCaptionText(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const;
  void DrawWrappedCaption(TdxBarButtonLikeControlDrawParams* DrawParams, const std::string& Text,
                          int LineLimit, UINT Flags, const TRect& R) const;
};
using TdxBarPainterClass = std::function<TdxBarPainter*()>;

// Drawing routines of the bar unit that the painters and the item controls share.
// The arrow size for a rectangle: from its width for a down arrow, its height for a right one.
int ItemArrowSizeFromRect(const TRect& R, bool Down);
// A down or right arrow of Size centred in R; clDefault picks the colour of the state.
void DrawArrowTriangle(HDC DC, const TRect& R, bool Down, int Size, bool Selected, bool Enabled, bool Flat,
                       TColor Color);
void DrawItemArrowInRect(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected, bool Flat, TColor Color);
void DrawItemArrow(HDC DC, const TRect& R, TcxArrowDirection Direction, bool Enabled, bool Selected, bool Flat,
                   TColor Color);
void DrawItemArrowSized(HDC DC, const TRect& R, TcxArrowDirection Direction, int Size, bool Selected, bool Enabled,
                        bool Flat, TColor Color);
// Tiles the bitmap over R on a grid anchored at Origin's top-left corner, so that neighbouring
// windows given the same origin show one wallpaper.
void TileBitmapInRect(HDC DC, const TRect& R, const TRect& Origin, TBitmap* Bitmap);
// The bitmap tiled when it has pixels, else the brush, else the colour.
void FillRectWithBackground(HDC DC, const TRect& R, const TRect& Origin, TBitmap* Bitmap, TColor Color,
                            HBRUSH Brush);
// The system size grip over the background already in R.
void DrawTransparentSizeGrip(HDC DC, const TRect& R);
// An item control's glyph (the bitmap, else the image) in a drawing mode (0 normal, 1 disabled,
// 2 faded, 3 grayed, 4 dimmed, 5 shadowed) at GlyphRect over Area, filled with the brush or, without
// one, with what the DC already shows; rendered once per mode and source into the control's cache.
void DrawItemControlGlyph(TdxBarItemControl* Control, HDC DC, HBRUSH Brush, uint8_t Mode, TColor BackgroundColor,
                          int ImageIndex, TCustomImageList* Images, TBitmap* Glyph, const TRect& GlyphRect,
                          const TRect& Area);
// The checkered brush of down buttons that are not hot, in the current system colours.
HBRUSH BarCheckerBrush();
void RebuildBarCheckerBrush();

// Dock sites and their rows live in dxBarDock.h, included at the end of this header.
class TdxDockControl;
class TdxDockRow;

// The design controller of customizing; at run time it only tracks whether it is idle and owns
// the internal items that generated menus consist of.
class TdxBarDesignController : public TObject {
 public:
  TdxBarDesignController();
  ~TdxBarDesignController() override;
  virtual bool IsIdle() const { return true; }
  // Takes a generated item out of its manager's item list into List (the controller's own
  // internal items when null), which owns it.
  virtual void TrackInternalItem(TdxBarItem* Item, TComponentList* List = nullptr);
  // Frees the controller's internal items; every generated menu starts with it.
  void FreeInternalItems();
  // Frees the item of the first link until the collection is empty.
  void FreeLinkItems(TdxBarItemLinks* Links);
  TComponentList* InternalItems() const { return FInternalItems.get(); }

 private:
  std::unique_ptr<TComponentList> FInternalItems;
};
TdxBarDesignController* BarDesignController();

// Each painter's library fills its style's row; an empty row answers the standard painter's.
// The Standard and Enhanced rows are filled when the bar unit starts.
void RegisterStandardBarPainters();
void RegisterXPBarPainter();
void RegisterBarPainterClass(TdxBarManagerStyle Style, TdxBarPainterClass Class);
TdxBarPainterClass RegisteredBarPainterClass(TdxBarManagerStyle Style);
// The painter class the skinned style uses (a skin library may replace it).
extern TdxBarPainterClass dxBarSkinnedPainterClass;

// The control a window item shows on a vertical bar, set by the bar windows.
extern TdxBarItemControlClass dxBarButtonControlClass;

// ---- item class registry

struct TRegItemRecord {
  const TClassInfo* ItemClass = nullptr;
  TdxBarItemControlClass ItemControlClass;
  bool Visible = true;
};

class TdxBarItemList : public TObject {
 public:
  ~TdxBarItemList() override;
  void AddEntry(const TClassInfo* ItemClass, TdxBarItemControlClass ItemControlClass, bool Visible);
  void RemoveClass(const TClassInfo* ItemClass);
  void RemoveAt(int Index);
  int Count() const { return int(FEntries.size()); }
  const TRegItemRecord& EntryAt(int Index) const { return FEntries.at(size_t(Index)); }
  const TClassInfo* EntryItemClass(int Index) const { return EntryAt(Index).ItemClass; }
  int ListedEntryCount() const;
  const TClassInfo* ListedItemClass(int Index) const;

 private:
  std::vector<TRegItemRecord> FEntries;
};

TdxBarItemList* GetBarItemList();
void RegisterBarItemClass(const TClassInfo* ItemClass, TdxBarItemControlClass ItemControlClass,
                          bool Visible = true);
void UnregisterBarItemClass(const TClassInfo* ItemClass);

// ---- components

// What bars, items and groups share: the manager they belong to and change listeners.
class TdxBarComponent : public TComponent {
 public:
  explicit TdxBarComponent(TComponent* AOwner) : TComponent(AOwner) {}
  TdxBarManager* BarManager() const { return FBarManager; }
  virtual bool Enabled() const { return true; }
  virtual void SetEnabled(bool Value) {}
  TdxBarItemVisible Visible() const { return FVisible; }
  virtual void SetVisible(TdxBarItemVisible Value) { FVisible = Value; }
  void NotifyChanged(bool AllChanged = false);

 protected:
  TdxBarManager* FBarManager = nullptr;
  TdxBarItemVisible FVisible = ivAlways;
};

// Items and groups of one manager; a group holds items and other groups and turns their
// Enabled and Visible on and off together.
class TdxBarGroup : public TdxBarComponent {
 public:
  explicit TdxBarGroup(TComponent* AOwner);
  ~TdxBarGroup() override;
  int Count() const { return int(FItems.size()); }
  TdxBarComponent* Items(int Index) const { return FItems.at(size_t(Index)); }
  int IndexOf(TdxBarComponent* Item) const;
  // Raises "You cannot create recursive groups" when Item is this group or holds it.
  void Add(TdxBarComponent* Item);
  void Remove(TdxBarComponent* Item);
  bool Contains(TdxBarComponent* Item) const;
  bool Enabled() const override { return FEnabled; }
  void SetEnabled(bool Value) override;
  void SetVisible(TdxBarItemVisible Value) override;
  bool HasParent() const override { return FBarManager != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler* Filer) override;

 private:
  std::vector<TdxBarComponent*> FItems;
  std::vector<std::string> FPendingNames;
  bool FEnabled = true;
  friend class TdxBarManager;
};

// ---- categories

class TdxBarCategoryData : public TObject {
 public:
  TdxBarItemVisible Visibility = ivAlways;
  TdxBarItemVisible PendingVisibility = ivAlways;
  bool HasPendingVisibility = false;
  bool ItemsVisible = true;
};

class TdxBarManagerCategories : public TStringList {
 public:
  explicit TdxBarManagerCategories(TdxBarManager* AManager);
  ~TdxBarManagerCategories() override;
  void Delete(int Index) override;
  void Insert(int Index, const std::string& S) override;
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;
  void Clear() override;
  TdxBarCategoryData* Data(int Index, bool Create);
  // The manager stores the categories' visibilities beside the category names.
  void DefineVisibilities(TFiler* Filer);

 protected:
  void Changed() override;

 private:
  void MoveItemsOf(int From, int To);
  TdxBarManager* FManager;
  bool FMoving = false;
};

// ---- image options and backgrounds

class TdxBarImageOptions : public TPersistent {
 public:
  explicit TdxBarImageOptions(TdxBarManager* AManager);
  ~TdxBarImageOptions() override;
  TComponent* Images() const { return FImages; }
  void SetImages(TComponent* Value);
  TComponent* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TComponent* Value);
  TComponent* HotImages() const { return FHotImages; }
  void SetHotImages(TComponent* Value);
  TComponent* DisabledImages() const { return FDisabledImages; }
  void SetDisabledImages(TComponent* Value);
  TComponent* DisabledLargeImages() const { return FDisabledLargeImages; }
  void SetDisabledLargeImages(TComponent* Value);
  bool LargeIcons() const { return FLargeIcons; }
  void SetLargeIcons(bool Value);
  bool UseLargeImagesForLargeIcons() const { return FUseLargeImagesForLargeIcons; }
  void SetUseLargeImagesForLargeIcons(bool Value);
  bool UsesLargeImagesForLargeIcons() const {
    return FUseLargeImagesForLargeIcons && FLargeImages != nullptr;
  }
  int GlyphSize() const;
  void Assign(TPersistent* Source) override;
  // A watched image list is going away.
  void ComponentRemoved(TComponent* AComponent);

  bool CacheGlyphs = true;
  TColor ImageListBkColor = 0xFF00FF;
  bool MakeDisabledImagesFaded = false;
  bool SmoothGlyphs = false;
  bool StretchGlyphs = true;
  bool UseLeftBottomPixelAsTransparent = true;
  // These three redraw the glyphs of every bar.
  void SetImageListBkColor(TColor Value);
  void SetMakeDisabledImagesFaded(bool Value);
  void SetUseLeftBottomPixelAsTransparent(bool Value);
  bool IsLoading() const;

 protected:
  TPersistent* GetOwner() const override;

 private:
  // The lists in the order of their change links: Images, LargeImages, HotImages,
  // DisabledImages, DisabledLargeImages.
  void SetList(int Index, TComponent*& Field, TComponent* Value);
  void ListContentsChanged(int Index);
  std::unique_ptr<TChangeLink> FChangeLinks[5];
  TdxBarManager* FManager;
  TComponent* FImages = nullptr;
  TComponent* FLargeImages = nullptr;
  TComponent* FHotImages = nullptr;
  TComponent* FDisabledImages = nullptr;
  TComponent* FDisabledLargeImages = nullptr;
  bool FLargeIcons = false;
  bool FUseLargeImagesForLargeIcons = false;
};

class TdxBarBackgrounds : public TPersistent {
 public:
  explicit TdxBarBackgrounds(TdxBarManager* AManager);
  ~TdxBarBackgrounds() override;
  TBitmap* Bar() const { return FBar.get(); }
  void SetBar(TBitmap* Value);
  TBitmap* SubMenu() const { return FSubMenu.get(); }
  void SetSubMenu(TBitmap* Value);
  void Assign(TPersistent* Source) override;

 protected:
  TPersistent* GetOwner() const override;

 private:
  TdxBarManager* FManager;
  std::unique_ptr<TBitmap> FBar;
  std::unique_ptr<TBitmap> FSubMenu;
};

// ---- popup-menu links

class TdxBarPopupMenuLink : public TCollectionItem {
 public:
  explicit TdxBarPopupMenuLink(TCollection* Collection) : TCollectionItem(Collection) {}
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  TdxBarPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TdxBarPopupMenu* Value);
  void Assign(TPersistent* Source) override;

 private:
  TControl* FControl = nullptr;
  TdxBarPopupMenu* FPopupMenu = nullptr;
};

class TdxBarPopupMenuLinks : public TOwnedCollection {
 public:
  explicit TdxBarPopupMenuLinks(TdxBarManager* AManager);
  TdxBarPopupMenuLink* Items(int Index) const { return Get<TdxBarPopupMenuLink>(Index); }
  TdxBarManager* BarManager() const { return FManager; }

 private:
  TdxBarManager* FManager;
};

// ---- links

// The effective owner of a link collection: a bar, a sub item, a button's drop-down or a popup.
class IdxBarLinksOwner {
 public:
  virtual ~IdxBarLinksOwner() = default;
  virtual bool CanContainItem(TdxBarItem* Item, std::string& ErrorText) = 0;
  virtual TCustomdxBarControl* LinksBarControl() { return nullptr; }
  virtual TComponent* LinksOwnerComponent() = 0;
  virtual TdxBarItemLinks* LinksOwnerLinks() = 0;
  virtual TCustomdxBarControl* CreateLinksBarControl() { return nullptr; }
};

class TdxBarItemLink : public TcxInterfacedCollectionItem {
 public:
  explicit TdxBarItemLink(TCollection* Collection);
  ~TdxBarItemLink() override;

  void Assign(TPersistent* Source) override;

  bool BeginGroup() const;
  void SetBeginGroup(bool Value);
  bool StoredBeginGroup() const { return FBeginGroup; }
  TdxBarButtonGroupPosition ButtonGroup() const { return FButtonGroup; }
  void SetButtonGroup(TdxBarButtonGroupPosition Value);
  bool Distributed() const { return FDistributed; }
  void SetDistributed(bool Value);
  TdxBarItem* Item() const { return FItem; }
  void SetItem(TdxBarItem* Value);
  bool MostRecentlyUsed() const { return FMostRecentlyUsed; }
  void SetMostRecentlyUsed(bool Value);
  TdxBarItemPosition Position() const { return FPosition; }
  void SetPosition(TdxBarItemPosition Value);
  const std::string& UserCaption() const { return FUserCaption; }
  void SetUserCaption(const std::string& Value);
  TdxBarUserDefines UserDefine() const { return FUserDefine; }
  void SetUserDefine(TdxBarUserDefines Value);
  TdxBarPaintStyle UserPaintStyle() const { return FUserPaintStyle; }
  void SetUserPaintStyle(TdxBarPaintStyle Value);
  int UserWidth() const { return FUserWidth; }
  void SetUserWidth(int Value);
  TdxBarItemViewLevels ViewLevels() const { return FViewLevels; }
  void SetViewLevels(TdxBarItemViewLevels Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // The user's own picture for this link (shown while udGlyph is set).
  TBitmap* UserGlyph() const;
  void SetUserGlyph(TBitmap* Value);

  std::string EffectiveCaption() const;
  // The user's picture while udGlyph asks for it (or the link has no item), else the item's.
  TBitmap* EffectiveGlyph() const;
  TdxBarPaintStyle EffectivePaintStyle() const;
  int EffectiveWidth() const;

  TdxBarItemLinks* OwningLinks() const;
  TdxBarManager* Manager() const;
  TCustomdxBarControl* BarControl() const;
  int Index() const { return TCollectionItem::Index(); }
  int ShowableIndex() const;
  int ShownIndex() const;
  bool IsVisibleNow() const;
  TdxBarItemLink* OriginLink() const { return FOriginLink; }
  void SetOriginLink(TdxBarItemLink* Value) { FOriginLink = Value; }
  TdxBar* CreatedFromBar() const { return FCreatedFromBar; }
  TdxBarItemControl* Control() const { return FControl; }
  TObject* Data() const { return FData; }
  void SetData(TObject* Value) { FData = Value; }
  const TRect& ItemRect() const { return FItemRect; }
  void SetItemBounds(const TRect& Value);

  void CreateControl();
  void FreeControl();
  void RecreateControl();
  void VisibilityChanged();

  int UseCount() const { return FUseCount; }
  void SetUseCount(int Value) { FUseCount = Value; }
  int RecentIndex() const;
  void MoveInRecentList(int Position);
  void PromoteInRecentList(bool CountUse);
  void DemoteInRecentList();
  void ResetUseCount();
  void RememberRecentIndex() { FSavedRecentIndex = RecentIndex(); }
  void RestoreRecentIndex() { MoveInRecentList(FSavedRecentIndex); }
  void CopyRecentStateFrom(TdxBarItemLink* Link);

  // Values read from a stored layout, applied by the collection.
  int LoadedRecentIndex = -1;
  int LoadedUseCount = 0;
  bool LoadedVisible = true;
  const std::string& PendingItemName() const { return FPendingItemName; }

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  friend class TdxBarItemLinks;
  friend class TdxBarItem;
  friend class TdxBarLayoutIO;
  friend class TdxBarItemControl;
  void Changed(bool AllItems) { TCollectionItem::Changed(AllItems); }
  void MarkUserDefined(TdxBarUserDefine Element);
  void UserGlyphChanged(TObject* Sender);

  bool FBeginGroup = false;
  TdxBarButtonGroupPosition FButtonGroup = bgpNone;
  bool FDistributed = true;
  TdxBarItem* FItem = nullptr;
  bool FMostRecentlyUsed = true;
  TdxBarItemPosition FPosition = ipBeginsNewRow;
  std::string FUserCaption;
  TdxBarUserDefines FUserDefine;
  TdxBarPaintStyle FUserPaintStyle = TdxBarPaintStyle::psStandard;
  int FUserWidth = 0;
  TdxBarItemViewLevels FViewLevels{ivlLargeIconWithText, ivlSmallIconWithText, ivlSmallIcon,
                                   ivlControlOnly};
  bool FVisible = true;
  TdxBarItemControl* FControl = nullptr;
  TdxBar* FCreatedFromBar = nullptr;
  TObject* FData = nullptr;
  TRect FItemRect;
  std::string FPendingItemName;
  TdxBarItemLink* FOriginLink = nullptr;
  mutable std::unique_ptr<TBitmap> FUserGlyph;
  int FSavedRecentIndex = -1;
  int FUseCount = 0;
};

// Options a menu's links inherit from the menu that opened them.
class TdxBarItemOptions : public TPersistent {
 public:
  explicit TdxBarItemOptions(TdxBarItemLinks* ALinks);
  TdxBarItemOptionValues AssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TdxBarItemOptionValues Value) { FAssignedValues = Value; }
  bool ShowDescriptions() const;
  void SetShowDescriptions(bool Value);
  bool ShowShortCuts() const;
  void SetShowShortCuts(bool Value);
  TdxBarMenuItemSize Size() const;
  void SetSize(TdxBarMenuItemSize Value);
  int RawValue(TdxBarItemOptionValue Option) const;
  void Assign(TPersistent* Source) override;

 private:
  TdxBarItemLinks* FLinks;
  TdxBarItemOptionValues FAssignedValues;
  bool FShowDescriptions = false;
  bool FShowShortCuts = true;
  TdxBarMenuItemSize FSize = misNormal;
};

class TdxBarItemLinks : public TCollection {
 public:
  TdxBarItemLinks(TdxBarManager* AManager, IdxBarLinksOwner* ALinksOwner);
  ~TdxBarItemLinks() override;

  // After the collection slots.
  virtual bool ShownAsMenu() const;
  virtual TdxBarItemLink* SearchAccelLink(WORD Key, TShiftState Shift, TdxBarItemLink* StartLink) = 0;
  virtual int DefaultOptionValue(TdxBarItemOptionValue Option) const;
  virtual int OptionValue(TdxBarItemOptionValue Option, TdxBarItemLinks* Requester) const;
  virtual bool CanContainItem(TdxBarItem* Item, std::string& ErrorText);

  void Assign(TPersistent* Source) override;

  TdxBarManager* BarManager() const { return FManager; }
  void SetBarManager(TdxBarManager* Value) { FManager = Value; }
  IdxBarLinksOwner* LinksOwner() const { return FLinksOwner; }
  TdxBarItemLink* LinkByIndex(int Index) const { return Get<TdxBarItemLink>(Index); }
  int IndexOfLink(TdxBarItemLink* Link) const;
  int IndexOfItemName(const std::string& Name) const;
  bool HasLinkWithControl() const;

  TdxBarItemLink* AddLink();
  TdxBarItemLink* InsertLink(int Index);
  TdxBarItemLink* AddLinkForItem(TdxBarItem* Item);
  TdxBarItemLink* AddNewItemLink(const TClassInfo* ItemClass, TComponent* Owner = nullptr);
  void MoveLink(int From, int To);

  const std::vector<TdxBarItemLink*>& PresentLinks() const { return FPresentLinks; }
  int PresentLinkCount() const { return int(FPresentLinks.size()); }
  const std::vector<TdxBarItemLink*>& ShowableLinks() const { return FShowableLinks; }
  int ShowableLinkCount() const { return int(FShowableLinks.size()); }
  const std::vector<TdxBarItemLink*>& ShownLinks() const { return FShownLinks; }
  int ShownLinkCount() const { return int(FShownLinks.size()); }
  const std::vector<TdxBarItemLink*>& RecentList() const { return FRecentList; }
  void RebuildLinkLists();

  bool UseRecentItems() const { return FUseRecentItems; }
  void SetUseRecentItems(bool Value);
  bool UsesRecentItems() const;
  int CalcRecentItemCount() const;
  int RecentItemCount() const { return FRecentItemCount; }
  void SetRecentItemCount(int Count);
  void RestoreRecentItemCount();
  void PackRecentList();

  int FittingLinkCount() const;
  TdxBarItemLink* FirstSelectableLink() const;
  TdxBarItemLink* LastSelectableLink() const;
  TdxBarItemLink* NextSelectableLink(TdxBarItemLink* Link, bool Any = false) const;
  TdxBarItemLink* PrevSelectableLink(TdxBarItemLink* Link, bool Any = false) const;
  TdxBarItemLink* FindAccelLink(WORD Key, TShiftState Shift, TdxBarItemLink* StartLink);
  bool ExecuteShortCut(TShortCut ShortCut);

  TCustomdxBarControl* BarControl() const { return FBarControl; }
  void SetBarControl(TCustomdxBarControl* Value);
  void CreateBarControl();
  void FreeBarControl();
  TComponent* OwnerComponent() const;
  TdxBarItemLinks* ParentLinks() const;

  void MergeLinks(TdxBarItemLinks* Source);
  void UnmergeLinks(TdxBar* SourceBar);

  bool ContainsLinksOwner(IdxBarLinksOwner* Owner) const;
  void UpdateActions();
  void ResolveLoadedItemNames();
  void ApplyLoadedValues(bool WithVisibility);
  void ClearLinkBounds();
  TdxBarItemOptions* ItemOptions() const { return FOptions.get(); }
  void SetItemOptions(TdxBarItemOptions* Value) { FOptions->Assign(Value); }
  bool ShowDescriptionsInEffect() const { return OptionValue(ioShowDescriptions, nullptr) != 0; }
  bool ShowShortCutsInEffect() const { return OptionValue(ioShowShortCuts, nullptr) != 0; }
  TdxBarMenuItemSize ItemSizeInEffect() const {
    return TdxBarMenuItemSize(OptionValue(ioSize, nullptr));
  }
  bool Internal() const { return FInternal; }
  void SetInternal(bool Value) { FInternal = Value; }
  bool IsAssigning() const { return FAssigning; }
  TNotifyEvent OnChange;

 protected:
  friend class TdxBarLayoutIO;
  void Update(TCollectionItem* Item) override;
  TPersistent* GetOwner() const override { return OwnerComponent(); }
  static bool AccelMatches(TdxBarItemLink* Link, WORD Key, TShiftState Shift);

 private:
  friend class TdxBarItemLink;
  TdxBarManager* FManager;
  IdxBarLinksOwner* FLinksOwner;
  TCustomdxBarControl* FBarControl = nullptr;
  std::vector<TdxBarItemLink*> FPresentLinks, FShowableLinks, FShownLinks, FRecentList;
  std::vector<TdxBarItemLink*> FDistributionList;
  int FRecentItemCount = -1;
  int FPrevRecentItemCount = -1;
  bool FUseRecentItems = true;
  std::unique_ptr<TdxBarItemOptions> FOptions;
  bool FAssigning = false;
  bool FInternal = false;
};

class TdxBarControlItemLinks : public TdxBarItemLinks {
 public:
  using TdxBarItemLinks::TdxBarItemLinks;
  TdxBarItemLink* SearchAccelLink(WORD Key, TShiftState Shift, TdxBarItemLink* StartLink) override;
};

class TdxBarSubMenuControlItemLinks : public TdxBarItemLinks {
 public:
  using TdxBarItemLinks::TdxBarItemLinks;
  bool ShownAsMenu() const override { return true; }
  TdxBarItemLink* SearchAccelLink(WORD Key, TShiftState Shift, TdxBarItemLink* StartLink) override;
};

// ---- items

// An item's style slots (Style; edits also StyleEdit) with a snapshot of each style's values, so
// that a change of a style tells the item whether sizes (font) or only colours changed.
class TdxBarItemStylesData : public TcxInterfacedPersistent, public IcxStyleWatcher {
 public:
  // Kind 0: colours only; 1: something that can change sizes.
  using TChangeHandler = std::function<void(int Kind)>;
  TdxBarItemStylesData(TPersistent* AOwner, int ACount);
  ~TdxBarItemStylesData() override;
  int Count() const { return int(FSlots.size()); }
  TcxStyle* StyleAt(int Index) const;
  void SetStyleAt(int Index, TcxStyle* Value);
  int StyleRefCount(TcxStyle* Style) const;
  void BeginChange();
  void EndChange();
  TChangeHandler OnChange;

  // IcxStyleWatcher
  void StyleModified(TcxCustomStyle* AStyle) override;
  void StyleRemoving(TcxCustomStyle* AStyle) override;

  // The longest font name the snapshot keeps, as the platform's font record does.
  static constexpr size_t FontNameLength = 31;

 private:
  struct TFontSnapshot {
    int Height = 0;
    TFontPitch Pitch = fpDefault;
    TFontStyles Style;
    BYTE Charset = 0;
    std::string Name;
    bool operator==(const TFontSnapshot&) const = default;
  };
  struct TSlot {
    TcxStyleValues Assigned;
    TColor Color = 0;
    TFontSnapshot Font;
    TColor TextColor = 0;
    TcxStyle* Style = nullptr;
  };
  static TFontSnapshot SnapshotOf(TFont* Font);
  void Synchronize(int Index);
  void Report(int Kind);
  std::vector<TSlot> FSlots;
  int FPendingKind = 2;
  int FLockCount = 0;
  bool FDestroying = false;
};

class TdxBarItemActionLink : public TActionLink {
 public:
  explicit TdxBarItemActionLink(TdxBarItem* AClient);
  TdxBarItem* Item() const;
  bool IsCaptionLinked() const override;
  bool IsCheckedLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHelpContextLinked() const override;
  bool IsHintLinked() const override;
  bool IsImageIndexLinked() const override;
  bool IsShortCutLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;
  void SetCaption(const std::string& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetHelpContext(int Value) override;
  void SetHint(const std::string& Value) override;
  void SetImageIndex(int Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;
};

class TdxBarItem : public TdxBarComponent {
 public:
  explicit TdxBarItem(TComponent* AOwner);
  ~TdxBarItem() override;

  void Assign(TPersistent* Source) override;
  void Loaded() override;
  void SetName(const std::string& NewName) override;
  bool HasParent() const override { return FCategory >= 0; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  bool Enabled() const override;
  void SetEnabled(bool Value) override;
  void SetVisible(TdxBarItemVisible Value) override;

  // Introduced, in slot order.
  virtual int Width() const { return FWidth; }
  virtual void SetWidth(int Value);
  virtual void BarManagerChanged() {}
  virtual bool CanPlaceOn(int Kind, TdxBar* Bar, std::string& ErrorText) const;
  virtual bool ActsAsButton() const { return false; }
  virtual bool CanClick() const { return true; }
  virtual int CurrentImageIndex() const { return ImageIndex(); }
  virtual void SetCurrentImageIndex(int Index) { SetImageIndex(Index); }
  virtual TdxBarItemControlClass ControlClass(bool Vertical) const;
  virtual bool HostsControl() const { return false; }
  virtual TdxBarItemLinks* ItemLinks() const { return nullptr; }
  virtual bool IsEnabledFor(TdxBarItemLink* Link) const { return Enabled(); }
  virtual bool CanShowContents() const { return true; }
  virtual bool IsSameKindAs(TdxBarItem* Item) const { return false; }
  virtual bool MatchesShortCut(TShortCut AShortCut);
  virtual bool IsStaticItem() const { return false; }
  virtual void RefreshControlStates();
  virtual void RepaintControls();
  virtual void RebuildBars(int Kinds = 7);
  virtual bool HasHotImage() const { return false; }
  virtual bool HasAnyImageIndex() const { return FImageIndex >= 0 || FLargeImageIndex >= 0; }
  virtual std::string Caption() const { return FCaption; }
  virtual TBitmap* Glyph() const { return FGlyph.get(); }
  virtual std::string Hint() const { return FHint; }
  virtual int ImageIndex() const { return FImageIndex; }
  virtual TdxScreenTip* ScreenTip() const { return FScreenTip; }
  virtual bool StoresCaption() const;
  virtual bool StoresHint() const;
  virtual void SetCaption(const std::string& Value);
  virtual void SetGlyph(TBitmap* Value);
  virtual void SetHint(const std::string& Value) { FHint = Value; }
  virtual void SetImageIndex(int Value);
  virtual void SetLargeImageIndex(int Value);
  virtual void SetScreenTip(TdxScreenTip* Value);
  virtual void CaptionChanged();
  virtual void EnabledChanged();
  virtual void ImageIndexChanged();
  virtual void HotImageChanged();
  virtual void LargeImageIndexChanged();
  virtual void PaintStyleChanged() {}
  virtual void ShortCutChanged();
  virtual void RecreateLinkControls();
  virtual void WidthChanged();
  virtual std::string NewItemCaption() const;
  // The manager's Images (null without a manager or list).
  virtual TCustomImageList* ImageList() const;
  virtual int StyleCount() const { return 1; }
  // Dynamic operations.
  virtual void TakeActionProperties(TBasicAction* AAction, bool ACheckDefaults);
  virtual void ShortCutClick();
  virtual void Click();
  virtual void DoClick();

  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TdxBarItemActionLink* ActionLink() const { return FActionLink.get(); }
  TdxBarItemAlign Align() const { return FAlign; }
  void SetAlign(TdxBarItemAlign Value);
  int Category() const { return FCategory; }
  void SetCategory(int Value);
  const std::string& Description() const { return FDescription; }
  void SetDescription(const std::string& Value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  const std::string& KeyTip() const { return FKeyTip; }
  void SetKeyTip(const std::string& Value) { FKeyTip = Value; }
  int LargeImageIndex() const { return FLargeImageIndex; }
  TBitmap* LargeGlyph() const { return FLargeGlyph.get(); }
  void SetLargeGlyph(TBitmap* Value);
  TdxBarItemMergeKind MergeKind() const { return FMergeKind; }
  void SetMergeKind(TdxBarItemMergeKind Value) { FMergeKind = Value; }
  int MergeOrder() const { return FMergeOrder; }
  void SetMergeOrder(int Value) { FMergeOrder = Value < 0 ? 0 : Value; }
  TdxBarPaintStyle PaintStyle() const { return FPaintStyle; }
  void SetPaintStyle(TdxBarPaintStyle Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  TdxBarGlyphLayout GlyphLayout() const { return FGlyphLayout; }
  void SetGlyphLayout(TdxBarGlyphLayout Value);
  bool UnclickAfterDoing() const { return FUnclickAfterDoing; }
  void SetUnclickAfterDoing(bool Value) { FUnclickAfterDoing = Value; }
  TObject* Data() const { return FData; }
  void SetData(TObject* Value) { FData = Value; }
  TcxStyle* Style() const { return StylesData()->StyleAt(0); }
  void SetStyle(TcxStyle* Value) { StylesData()->SetStyleAt(0, Value); }
  TdxBarItemStylesData* StylesData() const;
  // What the item does when one of its styles changes (Kind as TdxBarItemStylesData reports).
  virtual void StyleChanged(int Kind);
  TdxBarItemLink* ClickedLink() const { return FClickedLink; }
  void SetClickedLink(TdxBarItemLink* Value) { FClickedLink = Value; }
  bool CheckDefaults() const { return FCheckDefaults; }

  int LinkCount() const { return int(FLinks.size()); }
  TdxBarItemLink* LinkAt(int Index) const;
  TdxBarItemLink* SelectedLink() const;
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  static bool IsShowable(const TdxBarItem* Item);
  int IndexInManager() const;
  void SetIndexInManager(int Index);
  static bool SameItemKind(TdxBarItem* A, TdxBarItem* B);
  std::string ShortHintFromCaption() const;
  bool HintIsFromCaption() const;
  // Whether List holds a picture at Index; HasImage asks it of ImageList and ImageIndex.
  static bool ImageExists(TCustomImageList* List, int Index);
  bool HasImage() const { return ImageExists(ImageList(), ImageIndex()); }
  // What a style gives the item's look: each value the style has assigned, else no bitmap,
  // clDefault, no font, clDefault. StyleViewParams reads the item's Style.
  struct TViewParams {
    TBitmap* Bitmap = nullptr;
    TColor Color = clDefault;
    TFont* Font = nullptr;
    TColor TextColor = clDefault;
  };
  static TViewParams ViewParamsFromStyle(TcxStyle* Style);
  TViewParams StyleViewParams() const { return ViewParamsFromStyle(Style()); }
  void DeleteAllLinks();

  bool StoresEnabled() const;
  bool StoresHelpContext() const;
  bool StoresImageIndex() const;
  bool StoresShortCut() const;
  bool StoresVisible() const;
  bool StoresOnClick() const;

  TNotifyEvent OnClick;
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;

  // Used by the manager when it binds the item.
  void AttachToManager(TdxBarManager* Manager);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader* Reader) override;
  void AssignTo(TPersistent* Dest) override;
  void ActionLinkChanged(TObject* Sender);
  template <class F>
  void ForEachControl(F f) const {
    for (TdxBarItemLink* l : std::vector<TdxBarItemLink*>(FLinks))
      if (l->Control()) f(l, l->Control());
  }

  std::string FCaption;
  std::string FHint;
  bool FEnabled = true;
  int FImageIndex = -1;
  int FLargeImageIndex = -1;
  TShortCut FShortCut = 0;
  int FWidth = 0;
  bool FShowCaption = false;
  TdxBarPaintStyle FPaintStyle = TdxBarPaintStyle::psStandard;
  TdxBarGlyphLayout FGlyphLayout = glTop;

 private:
  friend class TdxBarItemLink;
  friend class TdxBarItemLinks;
  friend class TdxBarManager;
  friend class TdxBarManagerCategories;
  std::unique_ptr<TdxBarItemActionLink> FActionLink;
  mutable std::unique_ptr<TdxBarItemStylesData> FStylesData;
  std::unique_ptr<TBitmap> FGlyph;
  std::unique_ptr<TBitmap> FLargeGlyph;
  TdxScreenTip* FScreenTip = nullptr;
  TdxBarItemAlign FAlign = iaLeft;
  int FCategory = -1;
  bool FCheckDefaults = false;
  TdxBarItemLink* FClickedLink = nullptr;
  TObject* FData = nullptr;
  std::string FDescription;
  int FHelpContext = 0;
  std::string FKeyTip;
  std::vector<TdxBarItemLink*> FLinks;
  TdxBarItemMergeKind FMergeKind = mkAdd;
  int FMergeOrder = 0;
  bool FUnclickAfterDoing = false;
};

class TdxBarButtonLikeItem : public TdxBarItem {
 public:
  using TdxBarItem::TdxBarItem;
  virtual std::string OwnLinksSection(const std::string& Prefix) const = 0;
};

class TdxBarButton : public TdxBarButtonLikeItem, public IdxBarLinksOwner {
 public:
  explicit TdxBarButton(TComponent* AOwner);

  bool ActsAsButton() const override { return true; }
  TdxBarItemLinks* ItemLinks() const override;
  bool IsEnabledFor(TdxBarItemLink* Link) const override;
  void PaintStyleChanged() override;
  std::string OwnLinksSection(const std::string& Prefix) const override {
    return Prefix + "Button_" + Name();
  }
  std::string NewItemCaption() const override;
  void ShortCutClick() override;

  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  TdxBarButtonStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TdxBarButtonStyle Value);
  bool IsCheckedStyle() const { return FButtonStyle == bsChecked || FButtonStyle == bsCheckedDropDown; }
  bool CloseSubMenuOnClick() const { return FCloseSubMenuOnClick; }
  void SetCloseSubMenuOnClick(bool Value) { FCloseSubMenuOnClick = Value; }
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool DropDownEnabled() const { return FDropDownEnabled; }
  void SetDropDownEnabled(bool Value);
  TdxBarPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TdxBarPopupMenu* Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool Lowered() const { return FLowered; }
  void SetLowered(bool Value);
  TdxBarButton* FindDownGroupMember() const;
  bool StoresDown() const;

  // IdxBarLinksOwner
  bool CanContainItem(TdxBarItem* Item, std::string& ErrorText) override;
  TComponent* LinksOwnerComponent() override { return this; }
  TdxBarItemLinks* LinksOwnerLinks() override { return ItemLinks(); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  bool FAllowAllUp = false;
  TdxBarButtonStyle FButtonStyle = bsDefault;
  bool FCloseSubMenuOnClick = true;
  bool FDown = false;
  bool FDropDownEnabled = true;
  TdxBarPopupMenu* FDropDownMenu = nullptr;
  int FGroupIndex = 0;
  bool FLowered = false;
};

class TdxBarLargeButton : public TdxBarButton {
 public:
  explicit TdxBarLargeButton(TComponent* AOwner);
  ~TdxBarLargeButton() override;
  void Loaded() override;
  int CurrentImageIndex() const override { return LargeImageIndex(); }
  void SetCurrentImageIndex(int Index) override { SetLargeImageIndex(Index); }
  bool IsEnabledFor(TdxBarItemLink* Link) const override;
  bool HasHotImage() const override { return FHotImageIndex >= 0; }
  bool HasAnyImageIndex() const override { return LargeImageIndex() >= 0; }
  void SetImageIndex(int Value) override;
  void SetLargeImageIndex(int Value) override;
  void HotImageChanged() override;
  void LargeImageIndexChanged() override;
  void WidthChanged() override { RebuildBars(); }

  bool AutoGrayScale() const { return FAutoGrayScale; }
  void SetAutoGrayScale(bool Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  int HotImageIndex() const { return FHotImageIndex; }
  void SetHotImageIndex(int Value);
  TBitmap* HotGlyph() const { return FHotGlyph.get(); }
  void SetHotGlyph(TBitmap* Value);
  bool SyncImageIndex() const { return FSyncImageIndex; }
  void SetSyncImageIndex(bool Value);
  bool StoresLargeImageIndex() const { return !(ActionLink() && ActionLink()->IsImageIndexLinked()); }

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  bool FAutoGrayScale = true;
  int FHeight = 0;
  std::unique_ptr<TBitmap> FHotGlyph;
  int FHotImageIndex = -1;
  bool FSyncImageIndex = true;
  bool FSynchronizing = false;
  bool FImageIndexRead = false;
  bool FLargeImageIndexRead = false;
  bool FSyncImageIndexRead = false;
};

class TdxBarLabel : public TdxBarItem {
 public:
  explicit TdxBarLabel(TComponent* AOwner);
  bool CanClick() const override { return false; }
};

class TdxBarSeparator : public TdxBarLabel {
 public:
  explicit TdxBarSeparator(TComponent* AOwner);
  bool CanPlaceOn(int Kind, TdxBar* Bar, std::string& ErrorText) const override;
  bool CanClick() const override { return false; }
  bool IsEnabledFor(TdxBarItemLink* Link) const override { return false; }
  std::string NewItemCaption() const override;
};

// Items whose control hosts a real edit window (edits and combos).
class TdxBarWindowItem : public TdxBarItem {
 public:
  using TdxBarItem::TdxBarItem;
  bool CanClick() const override { return false; }
  TdxBarItemControlClass ControlClass(bool Vertical) const override;

  virtual std::string Text() const { return FText; }
  virtual void SetText(const std::string& Value);
  virtual bool FocusEditor(bool OnlyVisible);

  virtual void DoChange();
  virtual void DoCurChange();
  virtual void DoEnter();
  virtual void DoExit();
  virtual void DoKeyDown(WORD& Key, TShiftState Shift);
  virtual void DoKeyPress(char32_t& Key);
  virtual void DoKeyUp(WORD& Key, TShiftState Shift);

  // The text as the user sees it now: the open edit window's whole text while a link with a
  // window control is selected.
  std::string CurrentText() const;
  TdxBarItemLink* EditingLink() const;
  void PutCurrentText(const std::string& Value);

  TNotifyEvent OnChange;
  TNotifyEvent OnCurChange;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;

 protected:
  std::string FText;
};

class TCustomdxBarSubItem : public TdxBarButtonLikeItem, public IdxBarLinksOwner {
 public:
  explicit TCustomdxBarSubItem(TComponent* AOwner);
  ~TCustomdxBarSubItem() override;
  void BarManagerChanged() override;
  bool CanClick() const override { return false; }
  TdxBarItemLinks* ItemLinks() const override { return FItemLinks.get(); }
  std::string OwnLinksSection(const std::string& Prefix) const override {
    return Prefix + "SubItem_" + Name();
  }
  void SetItemLinks(TdxBarItemLinks* Value) { FItemLinks->Assign(Value); }
  TdxBarItemOptions* ItemOptions() const { return FItemLinks->ItemOptions(); }
  void SetItemOptions(TdxBarItemOptions* Value) { FItemLinks->SetItemOptions(Value); }
  int BarSize() const { return FBarSize; }
  void SetBarSize(int Value) { FBarSize = Value < 0 ? 0 : Value; }
  bool Detachable() const { return FDetachable; }
  void SetDetachable(bool Value) { FDetachable = Value; }
  bool AllowCustomizing() const { return FAllowCustomizing; }
  void SetAllowCustomizing(bool Value) { FAllowCustomizing = Value; }

  // IdxBarLinksOwner
  bool CanContainItem(TdxBarItem* Item, std::string& ErrorText) override;
  TComponent* LinksOwnerComponent() override { return this; }
  TdxBarItemLinks* LinksOwnerLinks() override { return FItemLinks.get(); }
  TCustomdxBarControl* CreateLinksBarControl() override;

  TNotifyEvent OnPopup;
  TNotifyEvent OnCloseUp;

 private:
  std::unique_ptr<TdxBarItemLinks> FItemLinks;
  int FBarSize = 0;
  bool FDetachable = false;
  bool FAllowCustomizing = true;
};

class TdxBarSubItem : public TCustomdxBarSubItem {
 public:
  using TCustomdxBarSubItem::TCustomdxBarSubItem;
  std::string NewItemCaption() const override;
  bool IsSameKindAs(TdxBarItem* Item) const override;
};

// What the bar control keeps of one expanded container link.
class TdxBarContainerLinkData : public TObject {
 public:
  class TCustomdxBarContainerItem* Item = nullptr;
  TdxBarItemLink* ContainerLink = nullptr;
  int Index = -1;
  int SavedRecentIndex = -1;
  std::vector<TdxBarItemLink*> GeneratedLinks;
};

class TCustomdxBarContainerItem : public TCustomdxBarSubItem {
 public:
  using TCustomdxBarSubItem::TCustomdxBarSubItem;
  bool CanShowContents() const override { return bool(OnGetData); }
  virtual TdxBarItemLink* AddGeneratedLink(TdxBarItemLinks* Links, TdxBarContainerLinkData* LinkData,
                                           TdxBarItem* Item, int Index);
  virtual void EndItemsPopulation(TdxBarContainerLinkData* LinkData);
  virtual void ClearItemList();
  virtual bool ReplacesOwnLink() const { return true; }
  virtual void AddLinksTo(TdxBarItemLinks* Links, TdxBarContainerLinkData* LinkData, int Index) {}
  virtual void BeginItemsPopulation();
  virtual bool CanRecreateOnChange(TObject* Source) const;

  void FillLinks(TdxBarItemLinks* Links, TdxBarContainerLinkData* LinkData, int Index);
  void RequestItemListClear() { FClearRequested = true; }
  void ContentsChanged(TObject* Sender);
  bool IsPopulating() const { return FPopulating; }

  TNotifyEvent OnGetData;

 private:
  int FPassCount = 0;
  bool FClearRequested = false;
  bool FPopulating = false;
};

class TdxBarContainerItem : public TCustomdxBarContainerItem {
 public:
  explicit TdxBarContainerItem(TComponent* AOwner);
  bool CanShowContents() const override;
  bool IsSameKindAs(TdxBarItem* Item) const override;
  void AddLinksTo(TdxBarItemLinks* Links, TdxBarContainerLinkData* LinkData, int Index) override;
  bool CanRecreateOnChange(TObject* Source) const override;
  bool HasShowableLinks() const;
};

class TdxBarListItem : public TCustomdxBarContainerItem {
 public:
  explicit TdxBarListItem(TComponent* AOwner);
  ~TdxBarListItem() override;
  bool CanShowContents() const override;
  void ClearItemList() override;
  void AddLinksTo(TdxBarItemLinks* Links, TdxBarContainerLinkData* LinkData, int Index) override;
  virtual TdxBarButton* CreateListButton(int StringIndex, int Number);
  virtual std::string ItemHint(const std::string& Text) const { return {}; }
  virtual std::string NumberPrefix(int Number) const;
  virtual std::string DisplayTextAt(int Index) const;
  virtual std::string ItemDisplayText(const std::string& Text) const { return Text; }
  virtual const TClassInfo* ButtonClass() const;
  void Click() override;

  TStringList* Items() const { return FItems.get(); }
  void SetItems(TStringList* Value) { FItems->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value) { FItemIndex = Value; }
  int DataIndex() const;
  void SetDataIndex(int Value);
  bool ShowCheck() const { return FShowCheck; }
  void SetShowCheck(bool Value) { FShowCheck = Value; }
  bool ShowNumbers() const { return FShowNumbers; }
  void SetShowNumbers(bool Value) { FShowNumbers = Value; }
  TComponentList* GeneratedItems() const { return FItemList.get(); }

 private:
  void ListButtonClick(TObject* Sender);
  std::unique_ptr<TStringList> FItems;
  std::unique_ptr<TComponentList> FItemList;
  int FItemIndex = -1;
  bool FShowCheck = false;
  bool FShowNumbers = true;
};

// ---- bars

class TdxBar : public TcxComponentCollectionItem, public IdxBarLinksOwner {
 public:
  explicit TdxBar(TComponent* AOwner);
  ~TdxBar() override;

  TdxBarManager* BarManager() const;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  TdxBarItemLinks* ItemLinks() const { return FItemLinks.get(); }
  // The extra buttons of the floating caption (dxBarCaptionButtons.h), made on first use.
  TdxBarCaptionButtons* CaptionButtons();
  bool HasCaptionButtons() const;
  void SetItemLinks(TdxBarItemLinks* Value) { FItemLinks->Assign(Value); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // The side of the bar's explicit dock site while it has one.
  TdxBarDockingStyle DockingStyle() const;
  void SetDockingStyle(TdxBarDockingStyle Value);
  TdxBarDockingStyles NotDocking() const { return FNotDocking; }
  void SetNotDocking(TdxBarDockingStyles Value) { FNotDocking = Value; }
  bool IsMainMenu() const { return FIsMainMenu; }
  void SetIsMainMenu(bool Value);
  bool UseOwnFont() const { return FUseOwnFont; }
  bool UseRecentItems() const { return FItemLinks->UseRecentItems(); }
  void SetUseRecentItems(bool Value) { FItemLinks->SetUseRecentItems(Value); }
  bool AllowClose() const { return FAllowClose; }
  void SetAllowClose(bool Value) { FAllowClose = Value; }
  bool AllowCustomizing() const { return FAllowCustomizing; }
  void SetAllowCustomizing(bool Value) { FAllowCustomizing = Value; }
  bool AllowQuickCustomizing() const { return FAllowQuickCustomizing; }
  void SetAllowQuickCustomizing(bool Value) { FAllowQuickCustomizing = Value; }
  bool AllowReset() const { return FAllowReset; }
  void SetAllowReset(bool Value) { FAllowReset = Value; }
  int DockedLeft() const { return FDockedLeft; }
  void SetDockedLeft(int Value) { FDockedLeft = Value; }
  int DockedTop() const { return FDockedTop; }
  void SetDockedTop(int Value) { FDockedTop = Value; }
  // The side the bar was last docked at, where it goes back when docked again.
  TdxBarDockingStyle DockedDockingStyle() const { return FDockedDockingStyle; }
  void SetDockedDockingStyle(TdxBarDockingStyle Value) { FDockedDockingStyle = Value; }
  int FloatLeft() const { return FFloatLeft; }
  void SetFloatLeft(int Value) { FFloatLeft = Value; }
  int FloatTop() const { return FFloatTop; }
  void SetFloatTop(int Value) { FFloatTop = Value; }
  int FloatClientWidth() const { return FFloatClientWidth; }
  void SetFloatClientWidth(int Value) { FFloatClientWidth = Value; }
  int FloatClientHeight() const { return FFloatClientHeight; }
  void SetFloatClientHeight(int Value) { FFloatClientHeight = Value; }
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value) { FMultiLine = Value; }
  bool OneOnRow() const { return FOneOnRow; }
  void SetOneOnRow(bool Value) { FOneOnRow = Value; }
  // The index of the bar's dock row while it lies in one, else the stored value.
  int Row() const;
  void SetRow(int Value);
  bool WholeRow() const { return FWholeRow; }
  void SetWholeRow(bool Value) { FWholeRow = Value; }
  TdxBarBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TdxBarBorderStyle Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ShowMark() const { return FShowMark; }
  void SetShowMark(bool Value);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  bool RotateWhenVertical() const { return FRotateWhenVertical; }
  void SetRotateWhenVertical(bool Value);
  bool UseRestSpace() const { return FUseRestSpace; }
  void SetUseRestSpace(bool Value);
  uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(uint8_t Value);
  // An explicit dock site (a TdxBarDockControl), null for the implicit site of DockingStyle.
  TdxDockControl* DockControl() const { return FDockControl; }
  void SetDockControl(TdxDockControl* Value);

  // ---- the bar's window
  // The toolbar window while the bar is visible.
  TdxBarControl* BarControl() const;
  // The explicit dock site, else the manager's implicit site of DockingStyle (null floating).
  TdxDockControl* CurrentDockSite() const;
  TdxBarPainter* Painter() const;
  // Sums of the painter's left and right, top and bottom borders of the bar in a style.
  int HorzBorderSize(TdxBarDockingStyle Style) const;
  int VertBorderSize(TdxBarDockingStyle Style) const;
  bool CanBeClosed() const;
  bool IsDockable() const;
  bool IsBottomWholeRowBar() const;
  bool ShowsSizeGrip() const;
  // Docks the window in its site (at DockedLeft, DockedTop) or floats it at FloatLeft, FloatTop,
  // and shows it.
  void ApplyPlacement();
  void SetDockPlacement(TdxBarDockingStyle Style, TdxDockControl* Site);
  void MarkChanged() { FChanged = true; }
  // Whether the bar has lain in a dock site since it was made.
  bool EverDocked() const { return FEverDocked; }
  TdxDockRow* DockRow() const { return FDockRow; }
  void SetDockRow(TdxDockRow* Value) { FDockRow = Value; }
  void RemoveFromDockRow();
  TCustomdxBarControl* CreateLinksBarControl() override;
  bool Hidden() const { return FHidden; }
  // Hidden by the manager because no link of it was left to show (AutoHideEmptyBars).
  bool HiddenAsEmpty() const { return FHiddenAsEmpty; }
  void SetHiddenAsEmpty(bool Value) { FHiddenAsEmpty = Value; }
  // Predefined and AllowReset: the bar can go back to its loaded layout.
  bool IsResettable() const { return FPredefined && FAllowReset; }
  // Back to the links (and, with the manager's UseFullReset, the placement) of the snapshot
  // taken when the description was loaded; nothing when the snapshot has no bar of its caption.
  void Reset();
  // Reset after the user agreed.
  void ResetWithConfirmation();
  void SetHidden(bool Value) { FHidden = Value; }
  bool Predefined() const { return FPredefined; }
  void SetPredefined(bool Value) { FPredefined = Value; }
  bool Changed() const { return FChanged; }
  void SetChanged(bool Value) { FChanged = Value; }
  bool LoadedVisible() const { return FLoadedVisible; }
  TdxBarDockingStyle LoadedDockingStyle() const { return FLoadedDockingStyle; }
  void ApplyLoadedPlacement();

  // Merging of a toolbar into this one (an MDI child's main menu into the main form's).
  void Merge(TdxBar* Bar);
  void Unmerge(TdxBar* Bar);
  const std::vector<TdxBar*>& MergedBars() const { return FMergedBars; }
  TdxBar* MergedWith() const { return FMergedWith; }

  void Loaded() override;

  // IdxBarLinksOwner
  bool CanContainItem(TdxBarItem* Item, std::string& ErrorText) override;
  TComponent* LinksOwnerComponent() override { return this; }
  TdxBarItemLinks* LinksOwnerLinks() override { return FItemLinks.get(); }

 protected:
  TcxComponentCollection* CollectionFromParent(TComponent* AParent) override;

 private:
  friend class TdxBarLayoutIO;
  std::string FCaption;
  std::unique_ptr<TdxBarItemLinks> FItemLinks;
  std::unique_ptr<TdxBarCaptionButtons> FCaptionButtons;
  bool FVisible = false;
  bool FLoadedVisible = false;
  TdxBarDockingStyle FDockingStyle = dsNone;
  TdxBarDockingStyle FLoadedDockingStyle = dsNone;
  TdxBarDockingStyles FNotDocking;
  bool FIsMainMenu = false;
  bool FUseOwnFont = false;
  bool FAllowClose = true;
  bool FAllowCustomizing = true;
  bool FAllowQuickCustomizing = true;
  bool FAllowReset = true;
  int FDockedLeft = 0, FDockedTop = 0;
  TdxBarDockingStyle FDockedDockingStyle = dsTop;
  int FFloatLeft = 0, FFloatTop = 0, FFloatClientWidth = 0, FFloatClientHeight = 0;
  bool FMultiLine = false, FOneOnRow = false, FWholeRow = false;
  int FRow = 0;
  TdxBarBorderStyle FBorderStyle = bbsSingle;
  TColor FColor = clDefault;
  bool FShowMark = true, FSizeGrip = true, FRotateWhenVertical = true, FUseRestSpace = false;
  uint8_t FAlphaBlendValue = 255;
  TdxDockControl* FDockControl = nullptr;
  TdxDockControl* FLoadedDockControl = nullptr;
  TdxDockRow* FDockRow = nullptr;
  bool FChangingDockingStyle = false;
  bool FEverDocked = false;
  bool FHidden = false;
  bool FHiddenAsEmpty = false;
  bool FPredefined = false;
  bool FChanged = false;
  std::vector<TdxBar*> FMergedBars;
  TdxBar* FMergedWith = nullptr;
};

class TdxBars : public TcxComponentCollection {
 public:
  explicit TdxBars(TdxBarManager* AManager);
  ~TdxBars() override;
  TdxBar* Items(int Index) const { return static_cast<TdxBar*>(ItemAt(Index)); }
  TdxBar* Add();
  TdxBarManager* BarManager() const { return FManager; }
  TdxBar* GetBarByCaption(const std::string& Caption) const;
  TdxBar* MainMenuBar() const;
  void RecalculateAll();
  // The manager's implicit dock site of a style (null for dsNone or before they exist).
  TdxDockControl* DockControls(TdxBarDockingStyle Style) const;
  // Made by the manager once its owner control is known, as children of it.
  void CreateDockControls();
  void FreeDockControls();
  // A site of the collection goes away by itself (with the form's windows).
  void ForgetDockControl(TdxDockControl* Site);
  // The site given, else the implicit one of Style; nothing for dsNone.
  void InsertIntoDockSite(TdxBarDockingStyle Style, TdxDockControl* Site, const TPoint& ScreenPoint,
                          TCustomdxBarControl* BarControl);
  void UndockBarControl(TdxBarDockingStyle Style, TdxDockControl* Site, TCustomdxBarControl* BarControl);
  // The drag of a bar (dxBarDragging.cpp).
  bool IsMoving() const { return FMovingBarControl != nullptr; }
  TCustomdxBarControl* MovingBarControl() const { return FMovingBarControl; }
  void SetMovingBarControl(TCustomdxBarControl* Value) { FMovingBarControl = Value; }
  int DockingZoneSize() const { return 23; }
  // The modal loop that drags a bar by its drag area; returns when the drag ended.
  void RunBarMoveLoop(TCustomdxBarControl* BarControl);
  // The docking style and site under a screen point (dsNone and no site: floating).
  TdxBarDockingStyle FindDockSiteAt(TdxBar* Bar, const TPoint& ScreenPoint, TdxDockControl*& Site) const;
  // One step of the drag: the bar control moves in its site, into another one or floats.
  void MoveBarControlTo(TCustomdxBarControl* BarControl, const TPoint& ScreenPoint);
  bool IsMoveLoopRunning() const { return FMoveLoopRunning; }
  bool IsDelayedDocking() const { return FDelayedDocking; }
  // Added to the cursor while a docked bar is dragged: puts it on the gap of the bar's row.
  const TPoint& DragOffset() const { return FDragOffset; }
  // The cursor relative to the bar window when a docked bar was picked up.
  const TPoint& DragGrabPoint() const { return FDragGrabPoint; }
  TdxBarDockingStyle MovingStartStyle() const { return FMovingStartStyle; }
  // The hidden window that holds the mouse while a bar is dragged.
  HWND CaptureWindow();
  // The docking wait: a floating bar over a dock zone docks when the mouse rested this long.
  static void DockingWaitTimerProc(HWND Wnd, UINT Msg, UINT_PTR Id, DWORD Time);

 protected:
  void AssignItemName(TcxComponentCollectionItem* Item) override;
  void NotifyUpdate(TcxComponentCollectionItem* Item,
                    TcxComponentCollectionNotification Action) override;

 private:
  TdxBarManager* FManager;
  TdxDockControl* FDockControls[5] = {};
  TCustomdxBarControl* FMovingBarControl = nullptr;
  bool FMoveLoopRunning = false;
  bool FDelayedDocking = false;
  TdxBarDockingStyle FMovingStartStyle = dsNone;
  TPoint FDragOffset;
  TPoint FDragGrabPoint;
  HWND FCaptureWindow = nullptr;
};

// ---- popup menu (the part the manager and buttons need)

class TdxBarPopupMenu : public TComponent, public IdxBarLinksOwner {
 public:
  explicit TdxBarPopupMenu(TComponent* AOwner);
  ~TdxBarPopupMenu() override;
  TdxBarManager* BarManager() const { return FBarManager; }
  TdxBarItemLinks* ItemLinks() const { return FItemLinks.get(); }
  void SetItemLinks(TdxBarItemLinks* Value) { FItemLinks->Assign(Value); }
  TdxBarItemOptions* ItemOptions() const { return FItemLinks->ItemOptions(); }
  void SetItemOptions(TdxBarItemOptions* Value) { FItemLinks->SetItemOptions(Value); }
  bool UseOwnFont() const { return FUseOwnFont; }
  void Loaded() override;

  bool CanContainItem(TdxBarItem* Item, std::string& ErrorText) override;
  TComponent* LinksOwnerComponent() override { return this; }
  TdxBarItemLinks* LinksOwnerLinks() override { return FItemLinks.get(); }
  TCustomdxBarControl* CreateLinksBarControl() override;

  // Opens the menu with its top-left corner at a screen point (moved to stay on the monitor);
  // unless told otherwise by PopupFromControl, returns only after the menu closed.
  virtual void Popup(int X, int Y);
  void PopupAtCursor();
  void PopupFromControl(int X, int Y, TWinControl* OwnerControl, bool Wait = true, const TRect* OwnerRect = nullptr,
                        bool Animate = true, int OwnerHeight = 0, int OwnerWidth = 0);
  // Offers a key message's shortcut to the menu's links.
  bool IsShortCut(const TMessage& KeyMessage);
  // The open menu window, null while closed.
  TCustomdxBarControl* BarControl() const;
  bool IsOpen() const { return FOpen; }
  int BarSize() const { return FBarSize; }
  void SetBarSize(int Value);

  TNotifyEvent OnPopup;
  TNotifyEvent OnCloseUp;
  // Hears the close-up reason after OnCloseUp.
  std::function<void(int Reason)> InternalCloseUp;
  int MinWidth = 0;
  // The item control on whose behalf the menu opens (a button's drop-down), for one call.
  TdxBarItemControl* PopupItemControl = nullptr;

 private:
  TdxBarManager* FBarManager = nullptr;
  std::unique_ptr<TdxBarItemLinks> FItemLinks;
  bool FUseOwnFont = false;
  bool FOpen = false;
  int FBarSize = 0;
  TWinControl* FOwnerControl = nullptr;
  TRect FOwnerRect;
  bool FHasOwnerRect = false;
  int FOwnerHeight = 0;
  int FOwnerWidth = 0;
  bool FAnimate = true;
  bool FWait = true;
};

// ---- manager

// What the handlers after a layout was read or written get: where it went and how its sections
// are named.
class TdxBarIniFileEventData : public TcxEventArgs {
 public:
  TCustomIniFile* IniFile = nullptr;
  bool RegistryFlag = false;
  std::string Base;
  std::string Separator;
};

class TdxBarManager : public TComponent {
 public:
  explicit TdxBarManager(TComponent* AOwner);
  ~TdxBarManager() override;

  // Introduced, in slot order.
  virtual void DoClickItem(TdxBarItem* ClickedItem);
  virtual bool CanDock(TdxBar* Bar, TdxBarDockingStyle Style, TdxDockControl* DockControl);
  virtual TdxBarPainterClass PainterClass() const;

  void Loaded() override;

  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  bool IsLoadingOrInLoaded() const { return IsLoading() || FInLoaded; }
  bool IsCustomizing() const { return FIsCustomizing; }
  bool IsCustomizingOrDesigning() const { return FIsCustomizing || IsDesigning(); }
  // Enters or leaves run-time customizing: open menus close, every link list is rebuilt for the
  // new mode and the bar windows lay out again.
  void SetCustomizing(bool Value);
  bool IsRedockingLoadedBars() const { return FRedockingLoadedBars; }

  TdxBarManagerStyle Style() const { return FStyle; }
  void SetStyle(TdxBarManagerStyle Value);
  TdxBarManagerStyle ResolvedStyle() const;
  TdxBarManagerStyle PainterStyle() const;
  // The rule PainterStyle applies, for given look-and-feel values and theme availability.
  static TdxBarManagerStyle PainterStyleFor(TdxBarManagerStyle Style, bool NativeStyle,
                                            TcxLookAndFeelKind Kind, bool HasSkinPainter,
                                            bool ThemesAvailable);
  bool HasRecentItemsStyle() const { return ResolvedStyle() != bmsStandard; }
  bool ShowsRecentItemsFirst() const { return HasRecentItemsStyle() && FMenusShowRecentItemsFirst; }
  bool IsFlatStyle() const { return FStyle == bmsFlat; }
  TdxBarPainter* Painter() const { return FPainter.get(); }
  void ApplyStyle(TObject* Sender = nullptr);

  TdxBarManagerCategories* Categories() const { return FCategories.get(); }
  void SetCategories(TStrings* Value) { FCategories->Assign(Value); }
  TdxBarItemVisible CategoryVisibility(int Index) const;
  bool CategoryItemsVisible(int Index) const;
  void SetCategoryVisibility(int Index, TdxBarItemVisible Value);
  void SetCategoryItemsVisible(int Index, bool Value);
  int CategoryItems(int Index, std::vector<TdxBarItem*>& List) const;
  int GetListedCategoryItems(int Index, std::vector<TdxBarItem*>& List) const;
  int RealCategoryIndex(int N) const;
  TdxBarItem* CreateItem(const TClassInfo* ItemClass);

  TdxBars* Bars() const { return FBars.get(); }
  int ItemCount() const { return int(FItems.size()); }
  TdxBarItem* Items(int Index) const { return FItems.at(size_t(Index)); }
  int IndexOfItem(const TdxBarItem* Item) const;
  void MoveItem(int From, int To);
  int GroupCount() const { return int(FGroups.size()); }
  TdxBarGroup* Groups(int Index) const { return FGroups.at(size_t(Index)); }
  TdxBarItem* ItemByName(const std::string& Name) const;
  TdxBarBackgrounds* Backgrounds() const { return FBackgrounds.get(); }
  TdxBarImageOptions* ImageOptions() const { return FImageOptions.get(); }
  TdxBarPopupMenuLinks* PopupMenuLinks() const { return FPopupMenuLinks.get(); }
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TComponent* Images() const { return FImageOptions->Images(); }
  TComponent* LargeImages() const { return FImageOptions->LargeImages(); }
  TComponent* HotImages() const { return FImageOptions->HotImages(); }

  // Recent items.
  uint8_t MostRecentItemsPercents() const { return FMostRecentItemsPercents; }
  void SetMostRecentItemsPercents(int Value);
  int InitialUseCount() const { return FInitialUseCount; }
  bool MenusShowRecentItemsFirst() const { return FMenusShowRecentItemsFirst; }
  void SetMenusShowRecentItemsFirst(bool Value) { FMenusShowRecentItemsFirst = Value; }

  // Locks.
  void BeginBarsUpdate();
  void EndBarsUpdate(bool RecreateChangedControls = true);
  int BarsUpdateCount() const { return FBarsUpdateCount; }
  bool IsBarsUpdating() const { return FBarsUpdateCount > 0; }
  int RelayoutCount() const { return FRelayoutCount; }
  void LockChangeReports(bool Lock, bool SendPending = true);
  void NotifyDesignerModified();
  bool ChangeReportPending() const { return FChangeReportPending; }
  void RegisterDockControl(TdxDockControl* Value);
  void UnregisterDockControl(TdxDockControl* Value);

  // Unique component names for new items and bars (base name plus the first free number).
  std::string UniqueName(const std::string& BaseName) const;

  TWinControl* ParentControl() const;
  TCustomForm* NearestParentForm() const;
  bool CanReset() const { return FReadCount > 0; }

  // Published properties.
  bool AllowCallFromAnotherForm = false;
  bool AllowReset = true;
  bool AlwaysMerge = false;
  bool AlwaysSaveText = false;
  bool AutoAlignBars = false;
  bool AutoDockColor() const { return FAutoDockColor; }
  void SetAutoDockColor(bool Value) { FAutoDockColor = Value; }
  bool AutoHideEmptyBars() const { return FAutoHideEmptyBars; }
  void SetAutoHideEmptyBars(bool Value);
  int ButtonArrowWidth() const { return FButtonArrowWidth; }
  void SetButtonArrowWidth(int Value);
  bool CanCustomize = true;
  TColor DockColor() const;
  void SetDockColor(TColor Value);
  bool FlatCloseButton = false;
  int HelpContext = 0;
  bool HideFloatingBarsWhenInactive = true;
  std::string IniFileName;
  int LargeButtonArrowWidth() const { return FLargeButtonArrowWidth; }
  void SetLargeButtonArrowWidth(int Value);
  TdxBarMenuAnimations MenuAnimations = maNone;
  TdxBarDockingStyles NotDocking() const { return FNotDocking; }
  void SetNotDocking(TdxBarDockingStyles Value);
  const std::string& RegistryPath() const { return FRegistryPath; }
  void SetRegistryPath(const std::string& Value);
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value);
  bool ShowCloseButton = false;
  bool ShowFullMenusAfterDelay = true;
  bool ShowHelpButton = false;
  bool ShowHint = true;
  bool ShowHintForDisabledItems = true;
  bool ShowShortCutInHint = false;
  bool StoreInIniFile = false;
  bool StoreInRegistry = false;
  bool SunkenBorder = false;
  bool UseBarHintWindow = true;
  bool UseF10ForMenu = true;
  bool UseFullReset = false;
  bool UseSystemFont() const { return FUseSystemFont; }
  void SetUseSystemFont(bool Value);
  void ApplySystemFont();
  // The caption font of floating bars, and the font whose height follows the icon titles.
  TFont* SmallCaptionFont() const { return FSmallCaptionFont.get(); }
  TFont* CaptionFont() const { return FCaptionFont.get(); }
  TcxEventHandlerCollection* FontChangedHandlers() const { return FFontChangedHandlers.get(); }

  // The brushes of the flat style, and the toolbar brush of the visual style (null while visual
  // styles are off); rebuilt on every system colour change.
  HBRUSH FlatFrameBrush() const { return FFlatBrushes[0]; }
  HBRUSH FlatFaceBrush() const { return FFlatBrushes[1]; }
  HBRUSH FlatDownBrush() const { return FFlatBrushes[2]; }
  HBRUSH FlatDownSelectedBrush() const { return FFlatBrushes[3]; }
  HBRUSH FlatSelectedBrush() const { return FFlatBrushes[4]; }
  TColor FlatHighlightColor() const { return FFlatHighlightColor; }
  HBRUSH ThemedToolbarBrush() const { return FThemedToolbarBrush; }
  // Visual styles were usable (dxBarThemesAvailable) when the painter was last made.
  bool ThemesAvailable() const { return FThemesAvailable; }
  void RefreshColors();
  // What the image options tell the manager.
  void ImagesChanged();
  void GlyphSizeChanged();
  // The pictures of an image list changed: its index in the image options' order.
  void ImageListContentsChanged(int ListIndex);

  // The hint window: the platform's for plain hints without the bar hint window, else the bar's.
  bool UsesStandardHintWindow() const { return FPlainHint && !UseBarHintWindow; }
  void SetPlainHint(bool Value) { FPlainHint = Value; }
  THintWindow* (*HintWindowClass() const)(TComponent*);
  void EnsureHintWindow();
  bool IsHintWindowShowing() const;
  int WaitForDockingTime() const { return FWaitForDockingTime; }
  void SetWaitForDockingTime(int Value);

  TdxBarClickItemEvent OnClickItem;
  TdxBarCanDockingEvent OnDocking;
  TdxBarItemLinkEvent OnItemLinkAdd;
  TdxBarItemLinkEvent OnItemLinkChange;
  TdxBarItemLinkEvent OnItemLinkDelete;
  TdxBarMergeItemLinkEvent OnMergeItemLink;
  TdxBarEvent OnBarAdd;
  TdxBarEvent OnBarClose;
  TdxBarEvent OnBarDelete;
  TdxBarEvent OnBarBeforeReset;
  TdxBarEvent OnBarAfterReset;

  // The user's bar layout in the registry (sections below Path), in an ini file (sections named
  // after the manager's name path) or in the snapshot taken when the description was loaded.
  void SaveLayoutToRegistry(const std::string& Path);
  void LoadLayoutFromRegistry(const std::string& Path);
  void SaveLayoutToIniFile(const std::string& FileName);
  void LoadLayoutFromIniFile(const std::string& FileName);
  void WriteLayout(TCustomIniFile* IniFile, const std::string& Base, bool RegistryFlag);
  void ReadLayout(TCustomIniFile* IniFile, const std::string& Base, bool RegistryFlag);
  void WriteLayoutSnapshot();
  TMemIniFile* LayoutSnapshot() const { return FLayoutSnapshot.get(); }
  bool IsWritingLayoutSnapshot() const { return FWritingLayoutSnapshot; }
  // The owner names up to the form, then the manager's, each followed by ".".
  std::string LayoutNamePath() const;
  // Stores the layout where StoreInRegistry and StoreInIniFile say (the owner form is closing).
  void StoreLayout();
  // Called as the manager or a bar, item or popup menu of it starts to go: while the owner form
  // is being destroyed, the first call stores the layout, with every part still in place.
  void OwnerClosing();
  // Takes the links' recent use back to what the description gave.
  void ResetUsageData();
  TcxEventHandlerCollection* AfterReadLayoutHandlers() const { return FAfterReadLayout.get(); }
  TcxEventHandlerCollection* AfterWriteLayoutHandlers() const { return FAfterWriteLayout.get(); }

  // The bar windows' side of the manager.
  // The toolbar that holds the keyboard in menu mode.
  TCustomdxBarControl* KeyboardBarControl() const { return FKeyboardBar.get(); }
  void SetKeyboardBarControl(TCustomdxBarControl* Value) { FKeyboardBar = Value; }
  // The hot item control of the bars (the one hints and customizing follow).
  TdxBarItemControl* SelectedItemControl() const { return FSelectedItemControl.get(); }
  void StoreSelectedItemControl(TdxBarItemControl* Control) { FSelectedItemControl = Control; }
  void SelectItemControl(TdxBarItemControl* Control);
  void BeginSelectionChange() { ++FSelectionChangeCount; }
  void EndSelectionChange() { --FSelectionChangeCount; }
  int SelectionChangeCount() const { return FSelectionChangeCount; }
  // Mouse-leave tracking of one bar window at a time.
  void BeginControlMouseTracking(TCustomdxBarControl* BarControl);
  void EndControlMouseTracking(TCustomdxBarControl* BarControl);
  bool IsMouseTrackedControl(const TCustomdxBarControl* BarControl) const;
  TCustomdxBarControl* MouseTrackedControl() const { return FMouseTrackedControl.get(); }
  // Lets the bar window under the mouse (BarControl, or any when null) hot-track it again.
  void PostHotTrackMouseMove(TCustomdxBarControl* BarControl);
  // Item hints (dxBarHints.cpp): Object is what the hint is about (an item control, a bar
  // window, a caption button); Text, when given, is shown instead of the object's hint.
  void ShowItemHint(bool Show, const std::string& Text, TObject* Object);
  void HideItemHint();
  int HintShowDelay() const;
  int HintHideDelay() const;
  TObject* HintObject() const;
  // The shortcut text of the hint shown.
  const std::string& HintShortCut() const { return FHintShortCut; }
  // What the hint timers run: the hint of the hint object (or the requested text) now.
  void ShowHintNow();
  bool ShowHintText(const std::string& Text, const std::string& ShortCut);
  void StopHintTimers();
  // Dragging an item or link while customizing.
  TdxBarItem* DraggedItem() const { return FDraggedItem; }
  void SetDraggedItem(TdxBarItem* Value) { FDraggedItem = Value; }
  TdxBarItemLink* DraggedItemLink() const { return FDraggedItemLink; }
  void SetDraggedItemLink(TdxBarItemLink* Value) { FDraggedItemLink = Value; }
  bool IsDraggingItem() const { return FDraggedItem || FDraggedItemLink; }
  virtual void DragItemOrLink(TdxBarItem* Item, TdxBarItemLink* Link);
  // Another live manager is in run-time customizing mode.
  bool IsAnotherManagerCustomizing() const;
  // The main form's MDI children (dxBarMDI.cpp): the active child or its maximized state
  // changed; the steps of that change (Kind 0 the child became active, 1 it stopped being
  // active, 2 its maximized state changed); the system-menu item of a maximized child first on
  // the main menu; the window-menu command of an MDI button (0 minimize, 1 restore, 2 close)
  // sent to the active child.
  void ActiveMDIChildChanged();
  void MergeStep(int Kind, HWND ChildWindow);
  void AddSystemMenuItem(HWND ChildWindow);
  void RemoveSystemMenuItems();
  bool HasSystemMenuItems() const;
  void SendMDIChildSysCommand(int ButtonIndex);
  bool ActiveMDIChildMaximized() const { return FActiveMDIChildMaximized; }
  HWND LastActiveMDIChild() const { return FLastActiveMDIChild; }
  // Called with TdxBarMergeEventArgs (dxBarMDI.h) at the end of every merge step.
  TcxEventHandlerCollection* MergeHandlers();
  std::function<void(TObject* Sender, TdxBarManager* ChildBarManager, bool AddItems)> OnMenuMerge;
  std::function<void(TObject* Sender, TdxBarManager* ChildBarManager, bool AddItems)> OnMerge;
  // The main menu's lone close button was clicked (ShowCloseButton without a maximized child).
  TNotifyEvent OnCloseButtonClick;
  // What the hooks hand the manager.
  void HandleOwnerFormMessage(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam);
  bool ExecuteShortCut(TShortCut ShortCut);
  TdxBarItemLink* FindAcceleratorLink(WORD Key, TShiftState Shift);
  // The window that owns the manager's modal loops.
  HWND ModalLoopWindow() const;
  TdxBar* BarByName(const std::string& Name) const;
  TdxBar* BarByCaption(const std::string& Caption) const;
  std::string UniqueBarCaption(const std::string& Prefix) const;
  int CountDockControls() const { return int(FDockControls.size()); }
  TdxDockControl* DockControlByIndex(int Index) const { return FDockControls.at(size_t(Index)); }
  void AddDockControl(TdxDockControl* DockControl) { RegisterDockControl(DockControl); }
  // The site leaves the manager: the bars docked in it are hidden.
  void RemoveDockControl(TdxDockControl* DockControl);
  // Prefix plus the first number that no bar has as its name.
  std::string UniqueBarName(const std::string& Prefix) const;
  // The class name without its first letter plus the first number no item has as its name.
  std::string UniqueItemName(const TClassInfo* ItemClass) const;
  // The manager of the nearest control above the owner's window, or null.
  TdxBarManager* ParentManager() const;
  bool CanCreateItems() const;
  // A new toolbar captioned "Custom N", floating beside the owner and docked at the top; with
  // AskName the name dialog may change the caption or cancel (null then).
  TdxBar* AddNewToolbar(bool AsMainMenu, bool AskName);
  void RenameToolbar(TdxBar* Bar);
  void ResetToolbar(TdxBar* Bar);
  // Asks before taking the links' recent use back to the description's.
  void ConfirmResetUsageData();
  // A new group owned by the owner control.
  TdxBarGroup* AddGroup();
  int RecentItemsThreshold() const { return FInitialUseCount; }
  // Floating bar windows are disabled around the customizing dialogs and enabled again after.
  void DisableFloatingBarWindows();
  void ReenableFloatingBarWindows();
  // The manager's bar windows show as belonging to the active window; inactive floating bars
  // hide while HideFloatingBarsWhenInactive is set.
  bool BarsActive() const { return FBarsActive; }
  void SetBarsActive(bool Active, bool Forced, HWND OtherWindow);
  // Moves floating bars back inside the work area of the monitor nearest the owner's centre.
  void KeepFloatingBarsInWorkArea();

  // Bound by items, groups and popup menus themselves.
  void AddItem(TdxBarItem* Item);
  void RemoveItem(TdxBarItem* Item);
  void AddGroup(TdxBarGroup* Group);
  void RemoveGroup(TdxBarGroup* Group);
  void AddPopupMenu(TdxBarPopupMenu* Menu);
  void RemovePopupMenu(TdxBarPopupMenu* Menu);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ReadState(TReader* Reader) override;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  TComponent* GetChildOwner() override { return Owner(); }
  void SetChildOrder(TComponent* Child, int Order) override;
  void DefineProperties(TFiler* Filer) override;

 private:
  void FontChanged(TObject* Sender);
  void RebuildDerivedFonts();
  void FreeBrushes();
  void LoadedBody();
  void Relayout(bool RecreateChangedControls);
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues Values);

  friend class TdxBarLayoutIO;
  bool FConstructionFailed = true;
  bool FRegistered = false;
  std::unique_ptr<TdxBarBackgrounds> FBackgrounds;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TdxBarManagerStyle FStyle = bmsStandard;
  std::unique_ptr<TdxBarPainter> FPainter;
  bool FThemesAvailable = false;
  bool FApplyingStyle = false;
  std::vector<TdxBarItem*> FItems;
  std::vector<TdxBarGroup*> FGroups;
  std::vector<TdxBarPopupMenu*> FPopupMenus;
  std::vector<TdxDockControl*> FDockControls;
  std::unique_ptr<TdxBarManagerCategories> FCategories;
  std::unique_ptr<TdxBars> FBars;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TdxThemeChangedNotificator> FThemeNotificator;
  std::unique_ptr<TdxBarImageOptions> FImageOptions;
  std::unique_ptr<TdxBarPopupMenuLinks> FPopupMenuLinks;
  bool FAutoDockColor = true;
  TColor FDockColor = clBtnFace;
  int FButtonArrowWidth = 11;
  int FLargeButtonArrowWidth = 13;
  uint8_t FMostRecentItemsPercents = 95;
  int FInitialUseCount = 20;
  bool FMenusShowRecentItemsFirst = true;
  TdxBarDockingStyles FNotDocking;
  std::string FRegistryPath;
  bool FScaled = true;
  bool FUseSystemFont = false;
  bool FChangingFontItself = false;
  int FWaitForDockingTime = 21;
  int FBarsUpdateCount = 0;
  int FRelayoutCount = 0;
  bool FLoadedPending = false;
  int FChangeReportLock = 0;
  bool FChangeReportPending = false;
  int FReadCount = 0;
  bool FInLoaded = false;
  bool FRedockingLoadedBars = false;
  bool FIsCustomizing = false;
  std::vector<int> FDockControlHeights{0, 0, 0, 0};
  std::unique_ptr<TMemIniFile> FLayoutSnapshot;
  bool FWritingLayoutSnapshot = false;
  // While a layout is read: the items the layout does not know, which keep their links.
  std::vector<std::string>* FNewItemNames = nullptr;
  std::unique_ptr<TcxEventHandlerCollection> FAfterReadLayout;
  std::unique_ptr<TcxEventHandlerCollection> FAfterWriteLayout;
  std::unique_ptr<TcxEventHandlerCollection> FFontChangedHandlers;
  std::unique_ptr<TFont> FSmallCaptionFont;
  std::unique_ptr<TFont> FCaptionFont;
  HBRUSH FFlatBrushes[5] = {};
  TColor FFlatHighlightColor = clHighlight;
  HBRUSH FThemedToolbarBrush = nullptr;
  bool FAutoHideEmptyBars = false;
  bool FPlainHint = false;
  TWeakLink<TObject> FHintObject;
  std::string FHintShortCut;
  bool FLayoutStoredOnClose = false;
  TWeakLink<TCustomdxBarControl> FKeyboardBar;
  TWeakLink<TdxBarItemControl> FSelectedItemControl;
  TWeakLink<TCustomdxBarControl> FMouseTrackedControl;
  int FSelectionChangeCount = 0;
  TdxBarItem* FDraggedItem = nullptr;
  TdxBarItemLink* FDraggedItemLink = nullptr;
  HWND FLastActiveMDIChild = nullptr;
  bool FActiveMDIChildMaximized = false;
  std::unique_ptr<TComponentList> FInternalItems;  // the system-menu items
  std::unique_ptr<TcxEventHandlerCollection> FMergeHandlers;
  std::map<TdxBar*, bool> FVisibleBeforeMerging;
  std::vector<TdxBar*> FMenuMergedBars;  // recorded as merged by OnMenuMerge
  std::unique_ptr<std::vector<HWND>> FDisabledFloatingBarWindows;
  bool FBarsActive = true;
  bool FActivationChanging = false;
  bool FDeactivatedWhileDisabled = false;
  bool FHandlingCancelMode = false;
};

// The name dialog of the bar editor: lets the user change Name (a new toolbar, or a rename when
// Rename is set); false when cancelled. Null until the bar editor dialogs are linked in, and the
// proposed name then stands.
extern bool (*dxBarNameDialog)(TdxBarManager* Manager, std::string& Name, bool Rename);

// The active bar control, when any, closes up its whole chain.
void CloseActiveMenus();
// The manager whose owner control has the window, or null.
TdxBarManager* BarManagerOfWindow(HWND Wnd);
// The manager responsible for a key typed now (from the focused window, the active form, or the
// main form when its manager allows calls from another form).
TdxBarManager* FindKeyboardBarManager(bool MenuKey);
// The bar unit's thread hooks.
void BarKeyboardHookProc(int Code, WPARAM WParam, LPARAM LParam, LRESULT& Result);
void BarMouseHookProc(int Code, WPARAM WParam, LPARAM LParam, LRESULT& Result);
void BarCallWndProcHookProc(int Code, WPARAM WParam, LPARAM LParam, LRESULT& Result);
// Alt (or F10) went down alone and waits for its key-up to select the main menu.
bool BarMenuKeyPending();
// A window of the application was deactivated in favour of another application's window.
bool BarForeignActivation();

// ---- unit services

// The screen's cursors of dragging a command, copying it, a place it cannot go and sizing an edit.
constexpr int crdxBarDrag = 1041;
constexpr int crdxBarDragCopy = 1042;
constexpr int crdxBarDragNoDrop = 1043;
constexpr int crdxBarEditSizing = 1044;

// The live manager whose owner is AControl (or, for a nested control, one of its parents), or
// null.
TdxBarManager* FindBarManagerOf(TComponent* AControl);
int BarManagerCount();
TdxBarManager* BarManagerAt(int Index);
// Whether the toolbar theme colour can be read; otherwise the button face colour is used.
TColor ToolbarThemeColor();
// Visual styles are on and the nine theme classes of the themed bar look open ("ComboBox", "Edit",
// "Progress", "Rebar", "ScrollBar", "Spin", "Status", "ToolBar", "Window").
bool dxBarThemesAvailable();
// An edit item's theme state: 1 enabled, 4 disabled.
int EditThemeState(TdxBarItemControl* EditControl);
// The window colour; disabled, the theme's fill colour of the edit part (the window colour when
// it cannot be read).
TColor EditThemeFillColor(HTHEME Theme, int State);
// The theme's text colour of the edit part; when it cannot be read, grey text disabled and the
// window text colour otherwise.
TColor EditThemeTextColor(HTHEME Theme, int State);
// The window theme's small close button; the scroll-bar theme's size box plus 2 each way.
TSize ThemeSmallCloseButtonSize();
TSize ThemedGripExtent();
// An empty bitmap that calls Handler on every change and keeps its picture in descriptions; the
// glyphs, backgrounds and user glyphs of the bar library are such bitmaps.
std::unique_ptr<TBitmap> CreateNotifyingBitmap(TNotifyEvent Handler);
// The one hint window of all managers: made when the first manager starts, freed with the last.
THintWindow* dxBarHintWindow();
void dxBarFreeHintWindow();
// The class of the bar hint window (TdxBarHintWindow).
extern THintWindow* (*dxBarHintWindowClass)(TComponent* AOwner);

// PlaySound with the given alias, without a default sound.
void dxBarPlaySound(const std::string& Alias);

void dxBarInitialize();
void dxBarFinalize();

// Whether a toolbar window floats with a caption of its own (the painters size its frame by it).
bool BarControlHasFloatingCaption(TdxBarControl* Control);

#include "suite/bars/dxBarDock.h"
#include "suite/bars/dxBarToolbar.h"
