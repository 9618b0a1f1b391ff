#pragma once
// The kinds of scroll bar, the scroll requests (numbered as the SB_ codes of WM_HSCROLL and
// WM_VSCROLL) and the scroll event of the controls that scroll.

#include <cstdint>

#include "platform/rtl/Events.h"

enum class TScrollBarKind { sbHorizontal, sbVertical };
using enum TScrollBarKind;
enum class TScrollCode {
  scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll
};
using enum TScrollCode;

constexpr int SB_LINEUP = 0;
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_LINERIGHT = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_ENDSCROLL = 8;

// A scroll bar step: 1 to 32767.
using TScrollBarInc = int16_t;

class TObject;
// ScrollPos is where the bar is about to go; the handler may change it.
using TScrollEvent = Event<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// Which scroll bars a control may show.
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
using enum TScrollStyle;
