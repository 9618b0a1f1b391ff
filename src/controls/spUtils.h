#pragma once
// What skin descriptions and skinned controls share: the text forms of rectangles, points,
// Booleans, font styles, alignments and lists in a skin INI, rectangle helpers, the glyph and
// caption layout of a button face, and a few small painters.

#include <string>

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/IniFiles.h"
#include "platform/win/Types.h"

class TCustomImageList;

enum class TspButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// 0 left-justify, 1 right-justify, 2 centre.
using TspAlignment = int;

// Digits go into the current field, "," starts the next, everything else is skipped; an empty
// field raises EConvertError. Fields beyond the fourth (second) are ignored.
TRect ParseRect(const std::string& Text);
TPoint ParsePoint(const std::string& Text);

TRect ReadSkinRect(TCustomIniFile* Ini, const std::string& Section, const std::string& Key);
TPoint ReadSkinPoint(TCustomIniFile* Ini, const std::string& Section, const std::string& Key);
bool ReadSkinBool(TCustomIniFile* Ini, const std::string& Section, const std::string& Key);
TFontStyles ReadSkinFontStyle(TCustomIniFile* Ini, const std::string& Section, const std::string& Key);
TspAlignment ReadSkinAlignment(TCustomIniFile* Ini, const std::string& Section, const std::string& Key);
void ReadSkinStringList(TCustomIniFile* Ini, const std::string& Section, const std::string& Key,
                        TStrings* List);
void ReadSkinLines(TCustomIniFile* Ini, const std::string& Section, const std::string& Key,
                   TStrings* List);

void WriteSkinRect(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, const TRect& R);
void WriteSkinPoint(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, TPoint P);
void WriteSkinBool(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, bool B);
void WriteSkinFontStyle(TCustomIniFile* Ini, const std::string& Section, const std::string& Key,
                        TFontStyles S);
void WriteSkinAlignment(TCustomIniFile* Ini, const std::string& Section, const std::string& Key,
                        TspAlignment A);
void WriteSkinStringList(TCustomIniFile* Ini, const std::string& Section, const std::string& Key,
                         TStrings* List);
void WriteSkinLines(TCustomIniFile* Ini, const std::string& Section, const std::string& Key,
                    TStrings* List);

inline int RectWidth(const TRect& R) { return R.Right - R.Left; }
inline int RectHeight(const TRect& R) { return R.Bottom - R.Top; }
inline bool IsNullRect(const TRect& R) { return RectWidth(R) < 1 || RectHeight(R) < 1; }
inline bool IsNullPoint(TPoint P) { return P.X == 0 || P.Y == 0; }
inline TRect NullRect() { return {}; }
bool IsWindows2000OrLater();

void DrawFocusFrame(TCanvas* Canvas, const TRect& R);
void CalcGlyphCaptionLayout(TspButtonLayout Layout, const TRect& R, int GlyphWidth, int GlyphHeight,
                            int TextWidth, int TextHeight, int Margin, int Spacing, TPoint& GlyphPos,
                            TPoint& TextPos);
void DrawImageListGlyphAndCaption(TCanvas* Canvas, const TRect& R, int Margin, TColor MarkerColor,
                                  bool DrawMarker, bool Enabled, bool Pressed, TCustomImageList* Images,
                                  int ImageIndex, const std::string& Caption, TspButtonLayout Layout,
                                  int Spacing);
void DrawCenteredTextLine(TCanvas* Canvas, const std::string& Text, TRect R);
// Text drawn with DrawText on Canvas->Handle() takes the canvas's font and colour only after
// this; otherwise it gets whatever an earlier drawing left selected in the device context.
void SelectCanvasText(TCanvas* Canvas);
void DrawDot(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawCheckMark(TCanvas* Canvas, int X, int Y, TColor Color);
// What the parent shows behind Control (its background and the graphic controls before it).
void DrawParentImage(TControl* Control, TCanvas* Canvas);
