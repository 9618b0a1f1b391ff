#include "suite/bars/dxBarFlatPainter.h"

#include <algorithm>
#include <string>

#include "platform/win/Gdi.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxOffice11.h"

namespace {

TdxBarFlatPainter* gSharedFlatPainter = nullptr;

// A drawing object made for one call.
class TTempObject {
 public:
  explicit TTempObject(HGDIOBJ Handle) : FHandle(Handle) {}
  ~TTempObject() {
    if (FHandle) DeleteObject(FHandle);
  }
  TTempObject(const TTempObject&) = delete;
  TTempObject& operator=(const TTempObject&) = delete;
  HGDIOBJ Handle() const { return FHandle; }
  HBRUSH Brush() const { return static_cast<HBRUSH>(FHandle); }

 private:
  HGDIOBJ FHandle;
};

class TSelection {
 public:
  TSelection(HDC DC, HGDIOBJ Object) : FDC(DC), FPrevious(SelectObject(DC, Object)) {}
  ~TSelection() { SelectObject(FDC, FPrevious); }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FPrevious;
};

void FillWithBrush(HDC DC, const TRect& R, HBRUSH Brush) {
  RECT r = R;
  FillRect(DC, &r, Brush);
}

void FrameWithBrush(HDC DC, const TRect& R, HBRUSH Brush) {
  RECT r = R;
  FrameRect(DC, &r, Brush);
}

void Lines(HDC DC, COLORREF Color, std::initializer_list<POINT> Points) {
  TTempObject pen(CreatePen(PS_SOLID, 1, Color));
  TSelection select(DC, pen.Handle());
  Polyline(DC, Points.begin(), int(Points.size()));
}

HBRUSH SysBrush(int Index) { return GetSysColorBrush(Index); }

TdxBarManager* ManagerOf(TCustomdxBarControl* Bar) {
  if (!Bar) return nullptr;
  if (TdxBarManager* m = Bar->BarManager()) return m;
  return Bar->ItemLinks() ? Bar->ItemLinks()->BarManager() : nullptr;
}

// Keeps a DC's clip region as it was when the scope began.
class TClipKeeper {
 public:
  explicit TClipKeeper(HDC DC) : FDC(DC), FSaved(CreateRectRgn(0, 0, 0, 0)) {
    FHad = GetClipRgn(DC, FSaved) == 1;
  }
  ~TClipKeeper() {
    SelectClipRgn(FDC, FHad ? FSaved : nullptr);
    DeleteObject(FSaved);
  }
  TClipKeeper(const TClipKeeper&) = delete;
  TClipKeeper& operator=(const TClipKeeper&) = delete;

 private:
  HDC FDC;
  HRGN FSaved;
  bool FHad = false;
};

TCustomdxBarControl* BarOf(TdxBarItemControl* Control) { return Control ? Control->BarControl() : nullptr; }

TdxBarManager* ManagerOf(TdxBarItemControl* Control) {
  if (!Control) return nullptr;
  if (TdxBarManager* m = Control->LinkBarManager()) return m;
  return ManagerOf(Control->BarControl());
}

bool ItemEnabled(TdxBarItemControl* Control) {
  if (!Control || !Control->ItemLink()) return true;
  TdxBarItem* item = Control->ItemLink()->Item();
  return item == nullptr || item->Enabled();
}

// Brushes of the flat colours for drawing without a manager, remade when the colours move.
struct TFallbackBrush {
  HBRUSH Brush = nullptr;
  TColor Color = clNone;
};
TFallbackBrush gFallback[5];

void FreeFallbackBrushes() {
  for (TFallbackBrush& f : gFallback) {
    if (f.Brush) DeleteObject(f.Brush);
    f = TFallbackBrush();
  }
}

HBRUSH FallbackBrush(int Index) {
  TColor c = TdxBarFlatPainter::FlatColor(Index);
  TFallbackBrush& f = gFallback[Index];
  if (!f.Brush || f.Color != c) {
    if (f.Brush) DeleteObject(f.Brush);
    f.Brush = CreateSolidBrush(COLORREF(c));
    f.Color = c;
  }
  return f.Brush;
}

COLORREF ScaleChannels(COLORREF Color, int (*F)(int)) {
  auto ch = [&](int Shift) { return std::clamp(F(int((Color >> Shift) & 0xFF)), 0, 255) << Shift; };
  return COLORREF(ch(0) | ch(8) | ch(16));
}

}  // namespace

// ---- colours

TColor TdxBarFlatPainter::FlatColor(int Index) {
  COLORREF c = 0;
  switch (Index) {
    case 0: c = ScaleChannels(ColorToRGB(clBtnShadow), [](int v) { return v * 8 / 10; }); break;
    case 1: c = ScaleChannels(ColorToRGB(clBtnFace), [](int v) { return v + (255 - v) * 16 / 100; }); break;
    case 2: c = COLORREF(ColorToRGB(SystemLightColor(11, 9, 73))); break;
    case 3: c = COLORREF(ColorToRGB(SystemLightColor(14, 44, 40))); break;
    default: c = COLORREF(ColorToRGB(SystemLightColor(-2, 30, 72))); break;
  }
  return TColor(COLORREF(NearestScreenColor(TColor(c))) & 0xFFFFFF);
}

HBRUSH TdxBarFlatPainter::FlatFrameBrush(TdxBarManager* Manager) {
  return Manager && Manager->FlatFrameBrush() ? Manager->FlatFrameBrush() : FallbackBrush(0);
}
HBRUSH TdxBarFlatPainter::FlatFaceBrush(TdxBarManager* Manager) {
  return Manager && Manager->FlatFaceBrush() ? Manager->FlatFaceBrush() : FallbackBrush(1);
}
HBRUSH TdxBarFlatPainter::FlatDownBrush(TdxBarManager* Manager) {
  return Manager && Manager->FlatDownBrush() ? Manager->FlatDownBrush() : FallbackBrush(2);
}
HBRUSH TdxBarFlatPainter::FlatDownSelectedBrush(TdxBarManager* Manager) {
  return Manager && Manager->FlatDownSelectedBrush() ? Manager->FlatDownSelectedBrush() : FallbackBrush(3);
}
HBRUSH TdxBarFlatPainter::FlatSelectedBrush(TdxBarManager* Manager) {
  return Manager && Manager->FlatSelectedBrush() ? Manager->FlatSelectedBrush() : FallbackBrush(4);
}

// ---- the shared painter

TdxBarFlatPainter* GetSharedFlatPainter() {
  if (!gSharedFlatPainter) gSharedFlatPainter = new TdxBarFlatPainter();
  return gSharedFlatPainter;
}

void FreeSharedFlatPainter() {
  delete gSharedFlatPainter;
  gSharedFlatPainter = nullptr;
  FreeFallbackBrushes();
}

void RegisterFlatBarPainters() {
  RegisterBarPainterClass(bmsFlat, [] { return new TdxBarFlatPainter(); });
}

// ---- the operations other looks borrow

void TdxBarFlatPainter::DrawCheckSign(TdxBarItemControl* Control, HDC DC, int SizeCode, int X, int Y) const {
  const int s = SizeCode;
  auto stroke = [&](COLORREF Color, int k) {
    Lines(DC, Color, {{X + s, Y + 2 * s + k}, {X + 3 * s, Y + 4 * s + k}, {X + 8 * s, Y - s + k}});
  };
  if (ItemEnabled(Control)) {
    COLORREF ink = IsBtnFaceWhite() || IsBtnFaceBlackWithColoredText() ? 0xFFFFFF : 0x000000;
    for (int k = 0; k < 2 * s; ++k) stroke(ink, k);
  } else {
    for (int k = 1; k <= 2 * s; ++k) stroke(GetSysColor(COLOR_BTNSHADOW), k);
  }
}

void TdxBarFlatPainter::DrawFloatingBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  FrameWithBrush(DC, R, FlatFrameBrush(ManagerOf(BarControl)));
  TRect r = R.Inflate(-1, -1);
  FrameWithBrush(DC, r, SysBrush(COLOR_BTNHIGHLIGHT));
  HBRUSH brush = BarControl && BarControl->BackgroundBrush() ? BarControl->BackgroundBrush() : BarBrush(BarControl);
  const int width = std::min(FloatingFrameWidth(), FloatingFrameHeight());
  for (int i = 2; i < width && r.Width() > 2 && r.Height() > 2; ++i) {
    r = r.Inflate(-1, -1);
    FrameWithBrush(DC, r, brush);
  }
}

void TdxBarFlatPainter::DrawComboListItemDefault(TdxBarItem* Item, TcxCanvas* Canvas, const TRect& R,
                                                 int Index) const {
  HDC dc = Canvas->CurrentDC();
  Canvas->MeasureTextWidth(std::string());
  FillWithBrush(dc, R, static_cast<HBRUSH>(Canvas->CurrentBrush()->Handle()));
  std::string text;
  if (auto* w = dynamic_cast<TdxBarWindowItem*>(Item)) text = Index < 0 ? w->Text() : std::string();
  const int flag = Index < 0 ? 1 : 0;
  TextOut(dc, R.Left + 2, R.Top + 2 * flag, text);
}

// ---- the selection frame and the operations of the flat look

void TdxBarFlatPainter::FrameSelection(HDC DC, const TRect& R) const {
  if (IsBtnFaceBlack() || IsBtnFaceBlackWithColoredText()) {
    TTempObject brush(CreateSolidBrush(COLORREF(ColorToRGB(clHighlightText))));
    FrameWithBrush(DC, R, brush.Brush());
  } else {
    FrameWithBrush(DC, R, SysBrush(COLOR_HIGHLIGHT));
  }
}

void TdxBarFlatPainter::FrameOrFillItem(TdxBarItemControl* Control, HDC DC, bool Down, bool Selected,
                                        int PaintType, HBRUSH Brush, const TRect& R) const {
  const bool inMenu = PaintType == 1;
  if (!Down && !Selected && !inMenu) {
    TCustomdxBarControl* bar = BarOf(Control);
    FrameWithBrush(DC, R, bar && bar->BackgroundBrush() ? bar->BackgroundBrush() : BarBrush(bar));
  } else if (Selected || !inMenu) {
    FrameSelection(DC, R);
  } else if (Down) {
    FrameWithBrush(DC, R, SysBrush(COLOR_BTNSHADOW));
  }
}

HBRUSH TdxBarFlatPainter::ManagerBrush(TdxBarItemControl* Control) const { return FlatFaceBrush(ManagerOf(Control)); }

HBRUSH TdxBarFlatPainter::ShadowBrush() const { return SysBrush(COLOR_BTNSHADOW); }

void TdxBarFlatPainter::FillJoinArea(TCustomdxBarControl* Control, HDC DC, TCustomdxBarControl* Popup,
                                     const TRect& R) const {
  CallClipped(Control, DC, R, nullptr, Popup);
  FillWithBrush(DC, R.Inflate(-1, -1), ManagerBarBrush(ManagerOf(Control)));
}

void TdxBarFlatPainter::CallClipped(TCustomdxBarControl* Control, HDC DC, const TRect& R,
                                    TdxBarItemControl* ItemControl, TCustomdxBarControl* Popup) const {
  TRect strip;
  if (Popup) Popup->OwnerJointRect(true, strip);
  if (!strip.IsEmpty()) {
    // From the screen into the coordinates the element is drawn in.
    TPoint origin;
    TRect client;
    if (TWinControl* owner = Popup->OwnerControl()) {
      origin = owner->ClientOrigin();
      client = TRect(origin.X, origin.Y, origin.X + owner->ClientWidth(), origin.Y + owner->ClientHeight());
      TRect meet;
      if (!IntersectRect(meet, client, strip)) {
        RECT w{};
        if (owner->HandleAllocated()) GetWindowRect(owner->WindowHandle(), &w);
        origin = TPoint(w.left, w.top);
      }
    } else if (Control) {
      origin = Control->ClientOrigin();
    }
    strip = strip.Offset(-origin.X, -origin.Y);
  }
  TClipKeeper keep(DC);
  if (!strip.IsEmpty()) {
    FillWithBarBrush(Control, DC, R, strip, ItemControl);
    ExcludeClipRect(DC, strip.Left, strip.Top, strip.Right, strip.Bottom);
  }
  FrameWithManagerColor(Control, DC, R);
}

void TdxBarFlatPainter::FrameWithManagerColor(TCustomdxBarControl* Control, HDC DC, const TRect& R) const {
  FrameWithBrush(DC, R, FlatFrameBrush(ManagerOf(Control)));
}

void TdxBarFlatPainter::FillWithBarBrush(TCustomdxBarControl* Control, HDC DC, const TRect& R, const TRect& Strip,
                                         TdxBarItemControl* ItemControl) const {
  FillWithBrush(DC, Strip, ManagerBarBrush(ManagerOf(Control)));
}

TColor TdxBarFlatPainter::ShadowColor() const { return TColor(GetSysColor(COLOR_BTNSHADOW)); }
