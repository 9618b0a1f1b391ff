#pragma once
// The toolbar window's decisions that do not need its window: what WM_NCHITTEST answers and which
// code the toolbar records for its mouse-down handling (0 none, 1 an item or the mark, 2 the drag
// area, a sizing code, HTCLOSE's 20 for the close button).

#include "platform/win/Types.h"
#include "platform/win/Windows.h"

struct TdxBarHitTestInput {
  LRESULT PlatformResult = HTCLIENT;  // what the default handling answered
  bool KeepsPlatformResult = false;   // navigation flag 128
  bool Floating = false;
  bool Vertical = false;
  bool Customizing = false;
  // Docked: the point in client coordinates against the client rectangle.
  TPoint ClientPoint;
  TRect ClientRect;
  bool OverSelectableControl = false;
  bool OverAnyControl = false;
  bool OverButtons = false;  // the MDI buttons or the main menu's close button
  bool OverMark = false;
  bool OverSizeGrip = false;
  // Floating: the screen point against the window rectangle and the painter's frame sizes.
  TPoint ScreenPoint;
  TRect WindowRect;
  int FrameWidth = 0;
  int FrameHeight = 0;
  bool OverCloseButton = false;
  bool CloseButtonHitTestDirect = false;
};
struct TdxBarHitTestResult {
  LRESULT Result = HTCLIENT;
  int Code = 0;
};
TdxBarHitTestResult ToolbarHitTest(const TdxBarHitTestInput& In);
