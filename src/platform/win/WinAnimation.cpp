// AnimateWindow: the window shows (or hides) at once and then reveals itself over the given
// time on the platform clock, through its opacity (blend) or a growing mask (slide, roll,
// centre). The animation's ticks are a thread timer, so tests drive it with the test clock.
#include <algorithm>
#include <map>

#include "platform/sys/Modules.h"
#include "platform/win/WinInternal.h"

namespace {

struct TAnimation {
  DWORD Start = 0;
  DWORD Time = 0;
  DWORD Flags = 0;
};

std::map<HWND, TAnimation> gAnimations;
UINT_PTR gAnimationTimer = 0;

// The part of the window (window coordinates) shown at progress P (0..1).
QRect RevealedRect(const QRect& all, DWORD flags, double p) {
  const int w = all.width(), h = all.height();
  const int rw = int(w * p + 0.5), rh = int(h * p + 0.5);
  if (flags & AW_CENTER) return QRect((w - rw) / 2, (h - rh) / 2, rw, rh);
  int left = 0, top = 0, width = w, height = h;
  if (flags & AW_HOR_POSITIVE) width = rw;
  if (flags & AW_HOR_NEGATIVE) left = w - rw, width = rw;
  if (flags & AW_VER_POSITIVE) height = rh;
  if (flags & AW_VER_NEGATIVE) top = h - rh, height = rh;
  return QRect(left, top, width, height);
}

bool UsesMask(DWORD flags) {
  return !(flags & AW_BLEND) &&
         (flags & (AW_CENTER | AW_HOR_POSITIVE | AW_HOR_NEGATIVE | AW_VER_POSITIVE | AW_VER_NEGATIVE));
}

void ApplyShape(TWindowObject* w, const QRegion* reveal) {
  QWidget* widget = w->Widget;
  if (!widget) return;
  QRegion shape = w->HasRegion ? w->Shape : QRegion();
  if (reveal) shape = w->HasRegion ? shape.intersected(*reveal) : *reveal;
  if (!reveal && !w->HasRegion) return widget->clearMask();
  // Qt takes an empty mask for none: nothing shown is a pixel outside the window.
  widget->setMask(shape.isEmpty() ? QRegion(-1, -1, 1, 1) : shape);
}

// Puts the window in the state of progress P; true when the animation is over.
bool Step(HWND hWnd, const TAnimation& a, DWORD now) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return true;
  const DWORD elapsed = now - a.Start;
  const bool done = elapsed >= a.Time;
  double p = done ? 1.0 : double(elapsed) / double(a.Time);
  if (a.Flags & AW_HIDE) p = 1.0 - p;
  if (a.Flags & AW_BLEND) {
    if (w->Widget) w->Widget->setWindowOpacity(p);
  } else if (UsesMask(a.Flags)) {
    const QRect all(0, 0, int(w->Rect.right - w->Rect.left), int(w->Rect.bottom - w->Rect.top));
    QRegion reveal(RevealedRect(all, a.Flags, p));
    if (done) ApplyShape(w, nullptr);
    else ApplyShape(w, &reveal);
  }
  if (done && (a.Flags & AW_HIDE)) {
    ShowWindow(hWnd, SW_HIDE);
    if ((w = FindWindowObject(hWnd)) && w->Widget && (a.Flags & AW_BLEND)) w->Widget->setWindowOpacity(1.0);
  }
  return done;
}

void AnimationTick(HWND, UINT, UINT_PTR, DWORD) {
  const DWORD now = GetTickCount();
  for (auto it = gAnimations.begin(); it != gAnimations.end();) {
    const HWND h = it->first;
    const TAnimation a = it->second;
    // Step may show or hide windows, which may start or end other animations.
    bool done = Step(h, a, now);
    it = gAnimations.upper_bound(h);
    if (done) {
      auto same = gAnimations.find(h);
      if (same != gAnimations.end() && same->second.Start == a.Start) gAnimations.erase(same);
    }
  }
  if (gAnimations.empty() && gAnimationTimer) {
    KillTimer(nullptr, gAnimationTimer);
    gAnimationTimer = 0;
  }
}

}  // namespace

BOOL AnimateWindow(HWND hWnd, DWORD dwTime, DWORD dwFlags) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  const bool hide = dwFlags & AW_HIDE;
  if (bool(w->Style & WS_VISIBLE) != hide) return FALSE;  // already in the state asked for
  TAnimation a{GetTickCount(), dwTime, dwFlags};
  gAnimations.erase(hWnd);
  if (!hide) {
    Step(hWnd, TAnimation{a.Start, std::max<DWORD>(dwTime, 1), dwFlags}, a.Start);
    ShowWindow(hWnd, (dwFlags & AW_ACTIVATE) ? SW_SHOW : SW_SHOWNA);
  }
  if (dwTime == 0) {
    Step(hWnd, a, a.Start);
    return TRUE;
  }
  gAnimations[hWnd] = a;
  if (!gAnimationTimer) gAnimationTimer = SetTimer(nullptr, 0, 10, &AnimationTick);
  return TRUE;
}

void RegisterWindowModuleEntries() {
  SetModuleEntryAs("user32.dll", "AnimateWindow", &AnimateWindow);
  SetModuleEntryAs("user32.dll", "SetLayeredWindowAttributes", &SetLayeredWindowAttributes);
  SetModuleEntryAs("user32.dll", "UpdateLayeredWindow", &UpdateLayeredWindow);
  SetModuleEntryAs("user32.dll", "MonitorFromPoint", &MonitorFromPoint);
  SetModuleEntryAs("user32.dll", "MonitorFromRect", &MonitorFromRect);
  SetModuleEntryAs("user32.dll", "MonitorFromWindow", &MonitorFromWindow);
  SetModuleEntryAs("user32.dll", "GetMonitorInfoA", &GetMonitorInfo);
}
