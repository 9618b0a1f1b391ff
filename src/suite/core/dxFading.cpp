#include "suite/core/dxFading.h"

TdxFader* SharedFader() { return nullptr; }

bool IsFadeIdle(TdxFadingObjectHelper*) { return true; }

bool DrawFadeFrame(TdxFadingObjectHelper*, HDC, const TRect&) { return false; }
