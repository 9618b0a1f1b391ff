#pragma once
// Colours, fonts and bitmaps that the navigation bar's views take from the system rather than
// from their styles: the colour scheme of the desktop theme, the shell's explorer-bar style
// sheet and the program's own bitmaps. Each kind lives in one process-wide set that the views
// share by reference counting (acquire, refresh on a system-colour or theme change, release).
// Also the colour helpers every navigation-bar painter uses and the style-sheet reader.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/System.h"
#include "suite/core/cxGraphics.h"

struct TInstanceTag;

// ---- colour helpers

TColor Light20(TColor Color);
TColor Light40(TColor Color);
TColor Light70(TColor Color);
TColor Light80(TColor Color);
TColor Dark20(TColor Color);
TColor Dark60(TColor Color);
TColor Dark70(TColor Color);
// A tint of the highlight colour, lighter for a smaller Delta.
TColor HighlightTint(int Delta);
// The colour as an element in State (the navigation bar's state bits) shows it: clNone stands
// for a highlight tint; disabled is lighter, selected, hot and pressed lighter still.
TColor StateColor(TColor Color, int State);

uint32_t MakeColor(uint8_t A, uint8_t R, uint8_t G, uint8_t B);
inline uint8_t GetRed(uint32_t Argb) { return uint8_t(Argb >> 16); }
inline uint8_t GetGreen(uint32_t Argb) { return uint8_t(Argb >> 8); }
inline uint8_t GetBlue(uint32_t Argb) { return uint8_t(Argb); }
// An RGB colour (system colours resolved) as opaque ARGB, and back.
uint32_t ColorToARGB(TColor Color);
TColor ARGBToColor(uint32_t Argb);
// Blue, green, red.
std::array<uint8_t, 3> ColorToBGRBytes(TColor Color);

// Left and top unless TopLeftColor is clNone, right and bottom unless BottomRightColor is.
TcxBorders FrameBorders(TColor TopLeftColor, TColor BottomRightColor);
// Two one-pixel frames, the inner one on Rect deflated by one; clNone leaves its sides out.
void DrawDoubleFrame(TcxCanvas* Canvas, const TRect& Rect, TColor OuterTopLeft, TColor InnerBottomRight,
                     TColor InnerTopLeft, TColor OuterBottomRight);

// ---- the style-sheet reader

// Reads the few rules of a style-sheet text the explorer-bar views use: one rule per line, a
// rule found by the start of its line.
class TdxStyleSheetParser : public TObject {
 public:
  explicit TdxStyleSheetParser(const std::string& Text);

  // The first line that begins with Selector (any case); empty when none does.
  std::string FindRule(const std::string& Selector) const;
  // What follows the first occurrence of Key (any case) up to the first ";", or the first "}"
  // when there is no ";"; empty without Key.
  static std::string GetValue(const std::string& Line, const std::string& Key);
  // Size, weight, underline and colour of the rule (pure black is never applied).
  void ApplyFont(TFont* Font, const std::string& Selector) const;
  // The colour given in the rule's border, when there is a rule.
  void GetBorderColor(TColor& Color, const std::string& Selector) const;
  // "#RRGGBB" (anything before the "#" ignored) or a named web colour; clNone when neither.
  static TColor ParseColor(const std::string& Text);

  const std::vector<std::string>& Lines() const { return FLines; }

 private:
  std::vector<std::string> FLines;
};

// ---- shared resource sets

class TdxNavBarLookResourceSet {
 public:
  virtual ~TdxNavBarLookResourceSet() = default;
  // The first user computes the colours and loads the objects.
  void Acquire();
  // Recomputes the colours; reloads the objects while the set has users.
  void Refresh();
  // The last user frees the objects.
  void Release();
  int Users() const { return FUsers; }

 protected:
  virtual void ComputeColors() {}
  virtual void LoadObjects() {}
  virtual void FreeObjects() {}

 private:
  int FUsers = 0;
};

// Colours and caption signs of the advanced explorer bar, from the desktop colour scheme or,
// without a known scheme, from the system colours. Colours are stored resolved to RGB.
class TdxNavBarAdvExplorerBarResources : public TdxNavBarLookResourceSet {
 public:
  TColor BackColor = clNone, BackColor2 = clNone;
  TColor LinkColor = clNone, HotLinkColor = clNone;
  TColor GroupBackColor = clNone;
  TColor CaptionBackColor = clNone, CaptionBackColor2 = clNone;
  TColor SpecialCaptionBackColor = clNone, SpecialCaptionBackColor2 = clNone;
  TColor CaptionTextColor = clNone, HotCaptionTextColor = clNone;
  TColor SpecialCaptionTextColor = clNone, SpecialHotCaptionTextColor = clNone;
  TColor SignColor = clNone, HotSignColor = clNone;
  TColor SpecialSignColor = clNone, SpecialHotSignColor = clNone;
  // The sign drawn while a group is expanded, and while it is collapsed.
  std::unique_ptr<TBitmap> CollapseSignBitmap, ExpandSignBitmap;

 protected:
  void ComputeColors() override;
  void LoadObjects() override;
  void FreeObjects() override;
};

// The Office 2003 task pane's colours and signs: the scheme's row with a visual style active and
// a known scheme, else mixes of the button face and window colours.
class TdxNavBarOffice11Resources : public TdxNavBarLookResourceSet {
 public:
  TColor BackColor = clNone, BackColor2 = clNone;
  TColor GroupBackColor = clNone, GroupBackColor2 = clNone;
  TColor CaptionBackColor = clNone, CaptionBackColor2 = clNone;
  TColor GroupBorderColor = clNone;
  TColor CaptionTextColor = clNone;
  TColor LinkTextColor = clNone;
  std::unique_ptr<TBitmap> ExpandSignBitmap, CollapseSignBitmap;

 protected:
  void ComputeColors() override;
  void LoadObjects() override;
  void FreeObjects() override;
};

// The navigation pane's six transparent bitmaps.
class TdxNavBarNavPaneResources : public TdxNavBarLookResourceSet {
 public:
  std::unique_ptr<TBitmap> OverflowBitmap, SplitterBitmap, ArrowUpBitmap, ArrowDownBitmap, DefaultLargeBitmap,
      DefaultSmallBitmap;

 protected:
  void LoadObjects() override;
  void FreeObjects() override;
};

// The shell's own explorer-bar look: its style module, eleven bitmaps, the link, hot link,
// caption and hot caption fonts and the border colour. Without the shell's style module the
// bitmaps stay empty and the fonts are the message font.
class TdxNavBarShellStyleResources : public TdxNavBarLookResourceSet {
 public:
  static constexpr int BitmapCount = 11;
  // The shell's bitmap ids in slot order.
  static constexpr std::array<int, BitmapCount> BitmapIds{110, 112, 105, 101, 104, 100, 107, 103, 106, 102, 114};

  TInstanceTag* Module() const { return FModule; }
  TBitmap* Bitmap(int Slot) const { return FBitmaps[Slot].get(); }
  TFont* LinkFont() const { return FFonts[0].get(); }
  TFont* HotLinkFont() const { return FFonts[1].get(); }
  TFont* CaptionFont() const { return FFonts[2].get(); }
  TFont* HotCaptionFont() const { return FFonts[3].get(); }
  TColor BorderColor() const { return FBorderColor; }
  // Styles the fonts and the border colour from a style-sheet text.
  void ApplyStyleSheet(const std::string& Text);

 protected:
  void LoadObjects() override;
  void FreeObjects() override;

 private:
  TInstanceTag* FModule = nullptr;
  std::array<std::unique_ptr<TBitmap>, BitmapCount> FBitmaps;
  std::array<std::unique_ptr<TFont>, 4> FFonts;
  TColor FBorderColor = clNone;
};

TdxNavBarAdvExplorerBarResources& AdvExplorerBarResources();
TdxNavBarOffice11Resources& Office11NavBarResources();
TdxNavBarNavPaneResources& NavPaneResources();
TdxNavBarShellStyleResources& ShellStyleResources();

// Installs the bar's hot-link, link-drag and link-drag-copy cursors (-1118, -1120, -1119) as
// screen cursors, and destroys them.
void dxNavBarLoadCursors();
void dxNavBarFreeCursors();

// The unit's start (looks the shell's style entry up) and end (frees every set's objects and
// the shell library).
void dxNavBarGraphicsInitialize();
void dxNavBarGraphicsFinalize();
