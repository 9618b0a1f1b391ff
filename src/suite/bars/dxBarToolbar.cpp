#include "suite/bars/dxBarToolbar.h"

#include "suite/bars/dxBarLayout.h"

TdxBarHitTestResult ToolbarHitTest(const TdxBarHitTestInput& In) {
  TdxBarHitTestResult r;
  r.Result = In.PlatformResult;
  if (In.KeepsPlatformResult) {
    r.Code = int(In.PlatformResult);
    return r;
  }
  bool overControl = In.Customizing ? In.OverAnyControl : In.OverSelectableControl;
  if (!In.Floating) {
    if (In.PlatformResult == HTCLIENT && overControl) return {HTCLIENT, 1};
    if (In.PlatformResult != HTCLIENT && In.PlatformResult != HTNOWHERE) return {HTCLIENT, int(In.PlatformResult)};
    const TPoint& p = In.ClientPoint;
    // The border strip before the client area always drags the bar.
    bool inside = In.Vertical ? p.Y >= In.ClientRect.Top : p.X >= In.ClientRect.Left;
    if (inside) {
      if (In.OverButtons || In.OverMark) return {In.PlatformResult, 0};
      if (In.OverSizeGrip) return {HTBOTTOMRIGHT, int(HTBOTTOMRIGHT)};
    }
    return {HTCLIENT, 2};
  }
  if (In.PlatformResult == HTNOWHERE) {
    int frame = FloatingFrameHitCode(In.WindowRect, In.ScreenPoint, In.FrameWidth, In.FrameHeight);
    if (frame != HTNOWHERE) return {frame, frame};
    if (!In.Customizing && In.OverMark) return {HTCLIENT, 1};
    if (!In.Customizing && In.OverCloseButton)
      return In.CloseButtonHitTestDirect ? TdxBarHitTestResult{HTCLOSE, 1} : TdxBarHitTestResult{HTCLIENT, int(HTCLOSE)};
    return {HTCLIENT, 2};
  }
  if (In.PlatformResult == HTCLIENT) {
    if (overControl || In.OverButtons) return {HTCLIENT, 0};
    return {HTCLIENT, 2};
  }
  r.Code = int(In.PlatformResult);
  return r;
}
