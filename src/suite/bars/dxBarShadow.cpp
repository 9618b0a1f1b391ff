#include "suite/bars/dxBarShadow.h"

#include <algorithm>

#include "platform/gui/Graphics.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Modules.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiExtras.h"
#include "platform/win/Messages.h"
#include "suite/bars/dxBar.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxGraphics.h"

namespace {

using TUpdateLayeredWindowProc = BOOL (*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);

struct TWindowEntries {
  bool Bound = false;
  TUpdateLayeredWindowProc UpdateLayeredWindow = nullptr;
  int ScreenBitsPerPixel = 0;
  int ScreenBitsOverride = 0;
};

TWindowEntries& Entries() {
  static TWindowEntries e;
  if (!e.Bound) {
    e.Bound = true;
    HMODULE user32 = GetModuleHandle("user32.dll");
    e.UpdateLayeredWindow =
        user32 ? GetProcAddressAs<TUpdateLayeredWindowProc>(user32, "UpdateLayeredWindow") : nullptr;
    HDC dc = GetDC(nullptr);
    e.ScreenBitsPerPixel = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(nullptr, dc);
  }
  return e;
}

}  // namespace

void dxBarBindWindowEntries() {
  Entries().Bound = false;
  Entries();
}

void dxBarSetScreenBitsPerPixel(int Value) { Entries().ScreenBitsOverride = Value; }

bool dxBarShadowsUseAlpha() {
  TWindowEntries& e = Entries();
  const int bits = e.ScreenBitsOverride > 0 ? e.ScreenBitsOverride : e.ScreenBitsPerPixel;
  return e.UpdateLayeredWindow != nullptr && bits > 8;
}

int dxBarShadowSize() { return dxBarShadowsUseAlpha() ? 4 : 2; }

// ---- TdxBarShadowPart

TdxBarShadowPart::TdxBarShadowPart(TdxBarShadow* AShadow, int AKind, int ACorners, const TRect& R)
    : TCustomControl(nullptr), FShadow(AShadow), FKind(AKind), FCorners(ACorners) {
  SetVisible(false);
  SetBoundsRect(R);
  if (HasImageRule()) BuildImage();
}

TdxBarShadowPart::~TdxBarShadowPart() = default;

bool TdxBarShadowPart::HasImageRule() const {
  const int s = dxBarShadowSize();
  return FCorners == 0 || (Width() >= s && Height() >= s);
}

void TdxBarShadowPart::BuildImage() {
  const int w = Width(), h = Height(), s = dxBarShadowSize();
  FImage = std::make_unique<TcxBitmap32>(w, h, true);
  std::vector<uint32_t> colors(size_t(w) * size_t(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int alpha = FKind == dxBarShadowHorizontal ? 15 * (h - y) : 15 * (w - x);
      // Inside the square at a fading end the strip thins out towards that end.
      auto fade = [&](int k) { alpha = MulDiv(alpha, k + 1, s + 1); };
      if ((FCorners & dxBarShadowFadeLeft) && x < s) fade(x);
      if ((FCorners & dxBarShadowFadeRight) && x >= w - s) fade(w - 1 - x);
      if ((FCorners & dxBarShadowFadeTop) && y < s) fade(y);
      // Black, premultiplied: only the alpha byte is set. Rows go bottom first.
      colors[size_t(h - 1 - y) * size_t(w) + size_t(x)] = uint32_t(std::clamp(alpha, 0, 255)) << 24;
    }
  FImage->SetColors(colors);
}

void TdxBarShadowPart::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_NOACTIVATE;
  if (dxBarShadowsUseAlpha()) Params.ExStyle |= WS_EX_LAYERED;
  TCustomdxBarControl* owner = FShadow->Owner();
  HWND ownerWnd = owner && owner->HandleAllocated() ? owner->Handle() : nullptr;
  if (ownerWnd && (GetWindowLong(ownerWnd, GWL_EXSTYLE) & WS_EX_TOPMOST)) Params.ExStyle |= WS_EX_TOPMOST;
  Params.WndParent = ownerWnd;
  Params.WindowClass.style = 0;
}

void TdxBarShadowPart::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCHITTEST:
      Message.Result = HTTRANSPARENT;
      return;
    case WM_ERASEBKGND:
      Message.Result = 0;
      return;
    case WM_PAINT:
      DefaultHandler(Message);
      Message.Result = 0;
      return;
    default:
      TCustomControl::Dispatch(Message);
  }
}

void TdxBarShadowPart::ShowPart() {
  if (!HasImageRule()) return;
  HWND wnd = Handle();
  if (dxBarShadowsUseAlpha() && FImage) {
    SIZE size{Width(), Height()};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    Entries().UpdateLayeredWindow(wnd, nullptr, nullptr, &size, FImage->Canvas()->Handle(), &source, 0, &blend,
                                  ULW_ALPHA);
  } else {
    // Without per-pixel alpha a strip paints nothing of its own; here an unpainted window would
    // show its buffer, so it shows no pixel at all.
    SetWindowRgn(wnd, CreateRectRgn(0, 0, 0, 0), FALSE);
  }
  TCustomdxBarControl* owner = FShadow->Owner();
  HWND below = owner && owner->HandleAllocated() ? owner->Handle() : nullptr;
  SetWindowZOrder(wnd, below, false, SWP_SHOWWINDOW);
}

void TdxBarShadowPart::HidePart() {
  if (!HandleAllocated()) return;
  ShowWindow(WindowHandle(), SW_HIDE);
  DestroyHandle();
}

// ---- TdxBarShadow

TdxBarShadow::TdxBarShadow(TCustomdxBarControl* AOwner) : FOwner(AOwner) {}

TdxBarShadow::~TdxBarShadow() = default;

std::vector<TdxBarShadow::TPartPlace> TdxBarShadow::CalcParts(const TRect& O, const TRect& C, bool Horizontal,
                                                             int S) {
  std::vector<TPartPlace> parts;
  auto add = [&](int kind, const TRect& r, int corners) {
    if (r.Right > r.Left && r.Bottom > r.Top) parts.push_back({kind, corners, r});
  };
  auto H = [&](const TRect& r, int corners) { add(dxBarShadowHorizontal, r, corners); };
  auto V = [&](const TRect& r, int corners) { add(dxBarShadowVertical, r, corners); };
  const bool hasOwner = !O.IsEmpty();
  if (Horizontal) {
    if (hasOwner) V(TRect(O.Right, O.Top + S, O.Right + S, O.Bottom), dxBarShadowFadeTop);
    H(TRect(C.Left + S, C.Bottom, C.Right + S, C.Bottom + S), dxBarShadowFadeLeft | dxBarShadowFadeRight);
    if (hasOwner) {
      if (O.Left + S < C.Left) H(TRect(O.Left + S, O.Bottom, C.Left, O.Bottom + S), dxBarShadowFadeLeft);
      if (C.Right < O.Right) H(TRect(C.Right, O.Bottom, O.Right + S, O.Bottom + S), dxBarShadowFadeRight);
    }
    if (!hasOwner || O.Right < C.Right)
      V(TRect(C.Right, C.Top + S, C.Right + S, C.Bottom), dxBarShadowFadeTop);
    else
      V(TRect(C.Right, C.Top, C.Right + S, C.Bottom), 0);
  } else {
    V(TRect(C.Right, C.Top + S, C.Right + S, C.Bottom), dxBarShadowFadeTop);
    if (O.Top + S < C.Top) V(TRect(O.Right, O.Top + S, O.Right + S, C.Top), dxBarShadowFadeTop);
    if (C.Bottom < O.Bottom) {
      H(TRect(O.Left + S, O.Bottom, O.Right + S, O.Bottom + S), dxBarShadowFadeLeft | dxBarShadowFadeRight);
      V(TRect(O.Right, C.Bottom, O.Right + S, O.Bottom), 0);
    } else {
      H(TRect(O.Left + S, O.Bottom, O.Right, O.Bottom + S), dxBarShadowFadeLeft);
    }
    if (O.Bottom < C.Bottom)
      H(TRect(C.Left + S, C.Bottom, C.Right + S, C.Bottom + S), dxBarShadowFadeLeft | dxBarShadowFadeRight);
    else
      H(TRect(C.Left, C.Bottom, C.Right + S, C.Bottom + S), dxBarShadowFadeRight);
  }
  return parts;
}

void TdxBarShadow::SetRects(const TRect& OwnerRect, const TRect& ControlRect) {
  TRect o = OwnerRect, c = ControlRect;
  FHorizontal = o.IsEmpty() || o.Bottom == c.Top || o.Top == c.Bottom;
  // The upper (or left) of the two goes into the opener's place.
  if (!o.IsEmpty() && (o.Top == c.Bottom || o.Left == c.Right)) std::swap(o, c);
  FOwnerRect = o;
  FControlRect = c;
  RebuildParts();
}

void TdxBarShadow::RebuildParts() {
  FParts.clear();
  for (const TPartPlace& place : CalcParts(FOwnerRect, FControlRect, FHorizontal, dxBarShadowSize())) {
    if (FParts.size() >= 5) break;
    FParts.push_back(std::make_unique<TdxBarShadowPart>(this, place.Kind, place.Corners, place.Bounds));
    if (FVisible) FParts.back()->ShowPart();
  }
}

void TdxBarShadow::ChangeVisibility(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  for (auto& part : FParts) {
    if (Value)
      part->ShowPart();
    else
      part->HidePart();
  }
}
