#include "suite/bars/dxBarDock.h"

#include <algorithm>

#include "platform/gui/Pictures.h"
#include "platform/win/GdiExtras.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBarAccessibility.h"
#include "suite/bars/dxBarControl.h"
#include "suite/bars/dxBarLayout.h"

// ---------------------------------------------------------------------------------------------
// columns and rows

void TdxDockCol::StorePosition() { Pos = TPoint(FBarControl->Left(), FBarControl->Top()); }

TdxDockRow::~TdxDockRow() {
  FCols.clear();
  for (TdxBar* b : FBars)
    if (b->DockRow() == this) b->SetDockRow(nullptr);
  FBars.clear();
}

TdxDockCol* TdxDockRow::InsertColumn(int Index, TCustomdxBarControl* BarControl, TdxBar* Bar) {
  Index = std::clamp(Index, 0, ColCount());
  auto* c = FCols.insert(FCols.begin() + Index, std::make_unique<TdxDockCol>(this, BarControl, Bar))->get();
  UpdateOneOnRow();
  return c;
}

TdxDockCol* TdxDockRow::AddColumn(TCustomdxBarControl* BarControl, TdxBar* Bar) {
  return InsertColumn(ColCount(), BarControl, Bar);
}

void TdxDockRow::DeleteColumn(int Index) {
  if (Index < 0 || Index >= ColCount()) return;
  FCols.erase(FCols.begin() + Index);
  UpdateOneOnRow();
}

int TdxDockRow::IndexOfColumn(const TdxDockCol* Col) const {
  for (int i = 0; i < ColCount(); ++i)
    if (FCols[size_t(i)].get() == Col) return i;
  return -1;
}

void TdxDockRow::RemoveColumnOf(TCustomdxBarControl* BarControl) {
  for (int i = 0; i < ColCount(); ++i)
    if (FCols[size_t(i)]->BarControl() == BarControl) return DeleteColumn(i);
}

void TdxDockRow::AddBar(TdxBar* Bar) {
  if (std::find(FBars.begin(), FBars.end(), Bar) == FBars.end()) FBars.push_back(Bar);
  Bar->SetDockRow(this);
  // A bar whose window lies in this site gets its column here, at its stored place.
  TdxBarControl* c = Bar->BarControl();
  if (!c || ColCount() >= int(FBars.size()) || Bar->CurrentDockSite() != FSite) return;
  for (auto& col : FCols)
    if (col->BarControl() == c) return;
  AddColumn(c, Bar)->Pos = TPoint(Bar->DockedLeft(), Bar->DockedTop());
}

void TdxDockRow::RemoveBar(TdxBar* Bar, bool FreeEmptyRow) {
  auto it = std::find(FBars.begin(), FBars.end(), Bar);
  if (it == FBars.end()) return;
  FBars.erase(it);
  if (Bar->DockRow() == this) Bar->SetDockRow(nullptr);
  for (int i = 0; i < ColCount(); ++i)
    if (FCols[size_t(i)]->Bar() == Bar) {
      DeleteColumn(i);
      break;
    }
  if (FBars.empty() && FreeEmptyRow) FSite->DeleteRow(this);  // frees this row
}

void TdxDockRow::UpdateOneOnRow() {
  for (auto& c : FCols)
    if (c->Bar()) c->Bar()->SetOneOnRow(ColCount() == 1);
}

bool TdxDockRow::HasDockedBarControls() const {
  for (auto& c : FCols)
    if (c->BarControl() && c->BarControl()->DockingStyle() != dsNone) return true;
  for (TdxBar* b : FBars)
    if (TdxBarControl* c = b->BarControl(); c && c->DockingStyle() != dsNone) return true;
  return false;
}

// ---------------------------------------------------------------------------------------------
// the site

TdxDockControl::TdxDockControl(TComponent* AOwner)
    : TCustomControl(AOwner), FBackgroundCache(std::make_unique<TBitmap>()) {
  SetParentColor(true);
}

void TdxDockControl::ClearBackgroundCache() {
  if (FBackgroundCache) FBackgroundCache->SetSize(0, 0);
}

TdxDockControl::TdxDockControl(TComponent* AOwner, TdxBarDockingStyle Style, TdxBarManager* Manager)
    : TdxDockControl(AOwner) {
  static const TAlign aligns[] = {alNone, alLeft, alTop, alRight, alBottom};
  FStyle = Style;
  FImplicit = true;
  SetAlign(aligns[Style]);
  SetBarManager(Manager);
}

TdxDockControl::~TdxDockControl() {
  DetachAccessibilityHelper(FAccessibilityHelper);
  // The bar windows lying here go with this window; they must not reach back into it.
  for (auto& r : FRows)
    for (int i = 0; i < r->ColCount(); ++i)
      if (TCustomdxBarControl* c = r->Cols(i)->BarControl(); IsLiveBarControl(c) && c->DockControl() == this)
        c->AssignDockControl(nullptr);
  SetBarManager(nullptr);
  FRows.clear();
}

void TdxDockControl::SetBarManager(TdxBarManager* Value) {
  if (FBarManager == Value) return;
  if (FBarManager) FBarManager->UnregisterDockControl(this);
  FBarManager = Value;
  if (FBarManager) FBarManager->RegisterDockControl(this);
  UpdateColor();
}

TdxBarDockingStyle TdxDockControl::DockingStyle() const {
  switch (Align()) {
    case alBottom: return dsBottom;
    case alLeft: return dsLeft;
    case alRight: return dsRight;
    default: return dsTop;
  }
}

bool TdxDockControl::Horizontal() const {
  const TdxBarDockingStyle s = DockingStyle();
  return s == dsTop || s == dsBottom;
}
bool TdxDockControl::Leading() const {
  const TdxBarDockingStyle s = DockingStyle();
  return s == dsTop || s == dsLeft;
}

TdxBarPainter* TdxDockControl::Painter() const { return FBarManager ? FBarManager->Painter() : nullptr; }

bool TdxDockControl::SunkenBorder() const { return FBarManager && FBarManager->SunkenBorder; }

void TdxDockControl::UpdateColor() {
  if (!FBarManager || FBarManager->AutoDockColor()) SetParentColor(true);
  else SetColor(FBarManager->DockColor());
}

int TdxDockControl::IndexOfRow(const TdxDockRow* Row) const {
  for (int i = 0; i < RowCount(); ++i)
    if (FRows[size_t(i)].get() == Row) return i;
  return -1;
}

TdxDockRow* TdxDockControl::InsertRow(int Index) {
  Index = std::clamp(Index, 0, RowCount());
  return FRows.insert(FRows.begin() + Index, std::make_unique<TdxDockRow>(this))->get();
}

void TdxDockControl::DeleteRow(TdxDockRow* Row) {
  const int i = IndexOfRow(Row);
  if (i >= 0) FRows.erase(FRows.begin() + i);
}

void TdxDockControl::DropEmptyRows() {
  std::erase_if(FRows, [](const std::unique_ptr<TdxDockRow>& r) { return r->Bars().empty() && r->ColCount() == 0; });
}

// ---- row geometry

static int RowThickness(const TdxDockRow* Row, bool Horizontal) {
  if (!Row->HasDockedBarControls()) return 0;
  int t = 0;
  for (int i = 0; i < Row->ColCount(); ++i) {
    TCustomdxBarControl* c = Row->Cols(i)->BarControl();
    t = std::max(t, Horizontal ? c->Height() : c->Width());
  }
  return t;
}

int TdxDockControl::RowsExtent() const {
  int e = 0;
  for (int i = 0; i < RowCount(); ++i) {
    const TRect r = RowRect(i);
    e += Horizontal() ? r.Height() : r.Width();
  }
  return e;
}

TRect TdxDockControl::RowRect(int Row) const {
  if (Row < 0 || Row >= RowCount()) return TRect();
  const bool h = Horizontal();
  const int gap = Painter() ? Painter()->DockRowGap() : 0;
  int start = 0;
  for (int i = 0; i < Row; ++i) {
    const int t = RowThickness(FRows[size_t(i)].get(), h);
    start += t ? t + gap : 0;
  }
  int t = RowThickness(FRows[size_t(Row)].get(), h);
  if (t && Row < RowCount() - 1) t += gap;
  return h ? TRect(0, start, ClientWidth(), start + t) : TRect(start, 0, start + t, ClientHeight());
}

static TdxDockRowGeometry GeometryOf(const TdxDockControl* Site) {
  TdxDockRowGeometry g;
  for (int i = 0; i < Site->RowCount(); ++i) {
    const TRect r = Site->RowRect(i);
    g.Rows.emplace_back(Site->Horizontal() ? r.Top : r.Left, Site->Horizontal() ? r.Bottom : r.Right);
  }
  g.Leading = Site->Leading();
  g.HasDockingStyle = Site->DockingStyle() != dsNone;
  g.ClientLength = Site->Horizontal() ? Site->ClientHeight() : Site->ClientWidth();
  g.RowsExtent = Site->RowsExtent();
  return g;
}

void TdxDockControl::RowBand(int Row, int Band, int& Start, int& End) const {
  DockRowBand(GeometryOf(this), Row, Band, Start, End);
}

void TdxDockControl::RowAtPoint(const TPoint& ScreenPoint, int& Row, bool& NewRow) const {
  const TPoint p = ScreenToClient(ScreenPoint);
  DockRowAtCoordinate(GeometryOf(this), Horizontal() ? p.Y : p.X, Row, NewRow);
}

// The bar control being dragged by its user (not one re-docked by code), or null.
static TdxBarControl* DraggedBarControl(TdxBarManager* Manager, TCustomdxBarControl* Control = nullptr) {
  if (!Manager || !Manager->Bars()->IsMoving()) return nullptr;
  auto* c = dynamic_cast<TdxBarControl*>(Manager->Bars()->MovingBarControl());
  if (!c || c->IsLayoutLockedInternal() || (Control && c != Control)) return nullptr;
  return c;
}

int TdxDockControl::ColumnIndexAt(int Row, const TPoint& ScreenPoint) const {
  if (Row < 0 || Row >= RowCount()) return 0;
  const TdxDockRow* r = Rows(Row);
  TPoint p = ScreenToClient(ScreenPoint);
  if (TdxBarControl* dragged = DraggedBarControl(FBarManager)) {
    TPoint grab;
    dragged->GrabOffsetForDockingStyle(DockingStyle(), grab);
    if (Horizontal()) p.X -= grab.X;
    else p.Y -= grab.Y;
  }
  for (int i = 0; i < r->ColCount(); ++i) {
    const TdxDockCol* c = r->Cols(i);
    if (Horizontal() ? c->Pos.X >= p.X : c->Pos.Y >= p.Y) return i;
  }
  return r->ColCount();
}

void TdxDockControl::SnapPointToRowGap(int Row, bool NewRow, TPoint& ScreenPoint) const {
  TPoint p = ScreenToClient(ScreenPoint);
  const int c = SnapCoordinateToRowGap(GeometryOf(this), Row, NewRow);
  (Horizontal() ? p.Y : p.X) = c;
  ScreenPoint = ClientToScreen(p);
}

TRect TdxDockControl::ScreenDockingZone() const {
  TRect r(Left(), Top(), Left() + Width(), Top() + Height());
  r.Left -= dxBarDockingZoneSize;
  r.Right += dxBarDockingZoneSize;
  if (Horizontal()) {
    r.Top -= dxBarDockingZoneSize;
    r.Bottom += dxBarDockingZoneSize;
  }
  if (Parent()) {
    const TPoint o = Parent()->ClientOrigin();
    r.Left += o.X, r.Right += o.X, r.Top += o.Y, r.Bottom += o.Y;
  }
  return r;
}

// ---- inserting and removing bar controls

void TdxDockControl::InsertBarControl(TCustomdxBarControl* BarControl, TdxBar* Bar, const TPoint& ScreenPoint,
                                      bool Relayout, int Row, bool NewRow) {
  if (!FBarManager) return;
  // A bar that kept its row while its window was away takes that row again when nothing else
  // lies in it; a bar in any other row leaves it first.
  bool reuse = false;
  if (Bar && Bar->DockRow()) {
    TdxDockRow* own = Bar->DockRow();
    if (own->DockControl() == this && own->ColCount() == 0 && Row >= 0) {
      Row = IndexOfRow(own);
      NewRow = false;
      reuse = true;
    } else {
      Bar->RemoveFromDockRow();
    }
  }
  if (Row < 0) RowAtPoint(ScreenPoint, Row, NewRow);
  if (Bar && Bar->WholeRow() && !reuse) NewRow = true;
  // While loaded bars come back, the rows up to a stored one are made, and a bar takes the
  // empty row made for it.
  if (!reuse && FBarManager->IsRedockingLoadedBars() && Row >= 0) {
    while (RowCount() <= Row) InsertRow(RowCount());
    if (Rows(Row)->ColCount() == 0) NewRow = false;
  }
  Row = std::clamp(Row, 0, NewRow ? RowCount() : std::max(0, RowCount() - 1));
  if (Row >= RowCount()) NewRow = true;
  if (!NewRow)
    for (int i = 0; i < Rows(Row)->ColCount(); ++i) {
      TdxDockCol* c = Rows(Row)->Cols(i);
      if (c->BarControl() != BarControl && c->Bar() && c->Bar()->WholeRow()) NewRow = true;
    }
  // A dragged bar's point is the cursor on its row's gap: back to the bar's top-left corner.
  TPoint at = ScreenPoint;
  if (TdxBarControl* dragged = DraggedBarControl(FBarManager, BarControl)) {
    TPoint grab;
    dragged->GrabOffsetForDockingStyle(dragged->DockingStyle(), grab);
    const TPoint& offset = FBarManager->Bars()->DragOffset();
    at = TPoint(at.X - offset.X - grab.X, at.Y - offset.Y - grab.Y);
  }
  TPoint p = ScreenToClient(at);
  (Horizontal() ? p.X : p.Y) = std::max(0, Horizontal() ? p.X : p.Y);
  TdxDockCol* col;
  TdxDockRow* row;
  if (NewRow) {
    row = InsertRow(Row);
    col = row->AddColumn(BarControl, Bar);
  } else {
    row = Rows(Row);
    col = row->InsertColumn(ColumnIndexAt(Row, ScreenPoint), BarControl, Bar);
  }
  if (Bar) row->AddBar(Bar);
  col->Pos = p;
  BarControl->AssignDockControl(this);
  if (BarControl->Parent() != this) BarControl->SetParent(this);
  if (Relayout) {
    BarControl->SetBounds(p.X, p.Y, BarControl->Width(), BarControl->Height());
    RelayoutAndResize();
    col->StorePosition();
  }
}

void TdxDockControl::RemoveBarControl(TCustomdxBarControl* BarControl, TdxDockCol* Col, bool Relayout) {
  if (!FBarManager) return;
  for (auto& r : FRows)
    for (int i = 0; i < r->ColCount(); ++i) {
      TdxDockCol* c = r->Cols(i);
      if (Col ? c == Col : c->BarControl() == BarControl) {
        r->DeleteColumn(i);
        if (Relayout) RelayoutAndResize();
        return;
      }
    }
}

void TdxDockControl::StoreColumnPositions() {
  for (auto& r : FRows)
    for (int i = 0; i < r->ColCount(); ++i) r->Cols(i)->StorePosition();
}

// ---- layout

void TdxDockControl::RelayoutAndResize() {
  if (!FBarManager || FBarManager->IsBarsUpdating()) return;
  Relayout();
  ResizeToRows();
}

void TdxDockControl::AlignControls(TControl*, TRect&) {
  if (!FBarManager || FBarManager->IsLoading() || FAligning) return;
  FAligning = true;
  try {
    RelayoutAndResize();
  } catch (...) {
    FAligning = false;
    throw;
  }
  FAligning = false;
}

void TdxDockControl::Relayout() {
  if (!FBarManager || FLayingOut || FBarManager->IsRedockingLoadedBars() || FBarManager->IsDestroying()) return;
  // The site lies above the other windows of its parent (an MDI client, a panel).
  if (HandleAllocated() && !FBarManager->IsDesigning())
    SetWindowPos(WindowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  FLayingOut = true;
  LayoutRows();
  FLayingOut = false;
  Invalidate();
}

void TdxDockControl::LayoutRows() {
  for (int i = 0; i < RowCount(); ++i)
    if (Rows(i)->HasDockedBarControls()) LayoutRow(i, Horizontal() ? ClientWidth() : ClientHeight());
}

void TdxDockControl::MeasureColumn(TdxDockCol* Col, TdxDockColumnInput& In) const {
  TCustomdxBarControl* c = Col->BarControl();
  auto* t = dynamic_cast<TdxBarControl*>(c);
  TdxBar* bar = t ? t->Bar() : nullptr;
  if (!bar) {
    const int along = Horizontal() ? c->Width() : c->Height();
    In.MinAlong = In.MaxAlong = along;
    In.NaturalAcross = Horizontal() ? c->Height() : c->Width();
    return;
  }
  const TdxBarDockingStyle style = DockingStyle();
  const bool h = Horizontal();
  t->SetTruncated(false);
  if (bar->ItemLinks()) bar->ItemLinks()->SetRecentItemCount(-1);
  const int bordersAlong = h ? bar->HorzBorderSize(style) : bar->VertBorderSize(style);
  const int bordersAcross = h ? bar->VertBorderSize(style) : bar->HorzBorderSize(style);
  In.MinAlong = (h ? t->MinWidth(style) : t->MinHeight(style)) + bordersAlong;
  const int maxClient = h ? t->MaxWidth(style) : t->MaxHeight(style);
  In.MaxAlong = maxClient + bordersAlong;
  if (!t->HasMark() && In.MinAlong != In.MaxAlong)
    if (TdxBarPainter* p = Painter()) In.MinAlong += p->MarkSize(t);
  TSize natural{0, 0};
  if (h) t->CalcSizeForWidth(style, maxClient, natural);
  else t->CalcSizeForHeight(style, maxClient, natural);
  In.NaturalAcross = (h ? natural.cy : natural.cx) + bordersAcross;
  In.Wraps = t->IsMultiLineLayout();
  In.UseRestSpace = bar->UseRestSpace();
  In.Dragged = FBarManager && FBarManager->Bars()->MovingBarControl() == c;
}

int TdxDockControl::ThicknessForLength(TdxDockCol* Col, int Length) const {
  TCustomdxBarControl* c = Col->BarControl();
  auto* t = dynamic_cast<TdxBarControl*>(c);
  TdxBar* bar = t ? t->Bar() : nullptr;
  if (!bar) return Horizontal() ? c->Height() : c->Width();
  const TdxBarDockingStyle style = DockingStyle();
  const bool h = Horizontal();
  TdxBarPainter* p = Painter();
  int len = Length - (h ? bar->HorzBorderSize(style) : bar->VertBorderSize(style));
  if (p && !p->AllowsQuickCustomizing()) len -= t->MarkSize();
  TSize s{0, 0};
  if (h) t->CalcSizeForWidth(style, len, s);
  else t->CalcSizeForHeight(style, len, s);
  return (h ? s.cy : s.cx) + (h ? bar->VertBorderSize(style) : bar->HorzBorderSize(style));
}

void TdxDockControl::LayoutRow(int Index, int Length) {
  if (Index < 0 || Index >= RowCount()) return;
  TdxDockRow* row = Rows(Index);
  if (row->ColCount() == 0) return;
  const bool h = Horizontal();
  std::vector<TdxDockColumnInput> in(size_t(row->ColCount()));
  for (int i = 0; i < row->ColCount(); ++i) {
    TdxDockCol* col = row->Cols(i);
    TdxDockColumnInput& c = in[size_t(i)];
    MeasureColumn(col, c);
    c.Wished = h ? col->Pos.X : col->Pos.Y;
    c.WholeRow = col->Bar() && col->Bar()->WholeRow();
    c.AcrossForLength = [this, col](int L) { return ThicknessForLength(col, L); };
  }
  std::vector<TdxDockColumnResult> out;
  LayoutDockRow(in, Length, FBarManager && FBarManager->AutoAlignBars, out);
  const TRect rr = RowRect(Index);
  const int across = h ? rr.Top : rr.Left;
  for (int i = 0; i < row->ColCount(); ++i) {
    const TdxDockColumnResult& r = out[size_t(i)];
    if (!r.Placed) continue;
    TdxDockCol* col = row->Cols(i);
    (h ? col->Pos.X : col->Pos.Y) = in[size_t(i)].Wished;
    TCustomdxBarControl* c = col->BarControl();
    auto* t = dynamic_cast<TdxBarControl*>(c);
    if (t) {
      t->SetTruncated(r.Truncated);
      // Sized for its final length once more: this lays its links out for that length.
      ThicknessForLength(col, r.Width);
    }
    const TRect b = h ? TRect(r.Left, across, r.Left + r.Width, across + r.Height)
                      : TRect(across, r.Left, across + r.Height, r.Left + r.Width);
    if (b != TRect(c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height())) c->SetBoundsRect(b);
    if (t) {
      t->CalculateViewInfo();
      t->Invalidate();
    }
  }
}

void TdxDockControl::ResizeToRows() {
  int t = RowsExtent();
  if (t > 0 && SunkenBorder()) t += 2;
  switch (DockingStyle()) {
    case dsRight: SetBounds(Left() + Width() - t, Top(), t, Height()); break;
    case dsBottom: SetBounds(Left(), Top() + Height() - t, Width(), t); break;
    case dsLeft: SetBounds(Left(), Top(), t, Height()); break;
    default: SetBounds(Left(), Top(), Width(), t); break;
  }
}

// ---- painting and messages

void TdxDockControl::FillBackground(HDC DC, const TRect& R, TColor AColor, HBRUSH Brush, const TRect& Origin) {
  if (FBarManager && FBarManager->Backgrounds()->Bar() && !FBarManager->Backgrounds()->Bar()->Empty()) {
    FillRectWithBackground(DC, R, Origin, FBarManager->Backgrounds()->Bar(), AColor, Brush);
  } else if (FBarManager && Painter()) {
    if (!ClientRect().IsEmpty()) Painter()->FillDockBackground(this, DC, AColor, Brush, R, Origin);
  } else {
    FillRectWithBackground(DC, R, Origin, nullptr, AColor, Brush);
  }
}

void TdxDockControl::Paint() {
  FillBackground(Canvas()->Handle(), ClientRect(), Color(), nullptr, ClientRect());
}

void TdxDockControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
      TCustomControl::Dispatch(Message);
      if (SunkenBorder()) {
        auto* r = reinterpret_cast<RECT*>(Message.LParam);
        r->left += 1, r->top += 1, r->right -= 1, r->bottom -= 1;
      }
      return;
    case WM_NCPAINT:
      TCustomControl::Dispatch(Message);
      if (SunkenBorder() && HandleAllocated()) {
        HDC dc = GetWindowDC(WindowHandle());
        RECT r = Rect(0, 0, Width(), Height());
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        ReleaseDC(WindowHandle(), dc);
      }
      return;
    case WM_MOUSEACTIVATE:
      TCustomControl::Dispatch(Message);
      if (FBarManager && !FBarManager->IsDesigning()) {
        Message.Result = MA_NOACTIVATE;
        if (HandleAllocated())
          if (HWND top = GetAncestor(WindowHandle(), GA_ROOT); top && top != GetActiveWindow()) {
            SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            SetActiveWindow(top);
          }
      }
      return;
    case WM_LBUTTONDBLCLK:
      if (FBarManager && FBarManager->CanCustomize) FBarManager->SetCustomizing(true);
      Message.Result = 0;
      return;
    case WM_WINDOWPOSCHANGED: {
      TCustomControl::Dispatch(Message);
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
      if (!FBarManager || (pos && (pos->flags & (SWP_NOSIZE | SWP_NOMOVE)) == (SWP_NOSIZE | SWP_NOMOVE))) return;
      // A status-bar-like bottom bar draws its size grip only while it touches the form's corner.
      if (DockingStyle() == dsBottom)
        for (auto& r : FRows)
          for (int i = 0; i < r->ColCount(); ++i)
            if (auto* c = dynamic_cast<TdxBarControl*>(r->Cols(i)->BarControl());
                IsLiveBarControl(c) && c->Bar() && c->Bar()->IsBottomWholeRowBar() &&
                c->HasSizeGrip() != c->Bar()->ShowsSizeGrip())
              c->ApplyAppearanceChange();
      return;
    }
    case WM_SIZE:
      ClearBackgroundCache();
      TCustomControl::Dispatch(Message);
      return;
    case WM_ERASEBKGND:
      FillBackground(reinterpret_cast<HDC>(Message.WParam), ClientRect(), Color(), nullptr, ClientRect());
      Message.Result = 1;
      return;
    default:
      TCustomControl::Dispatch(Message);
  }
}

// ---------------------------------------------------------------------------------------------
// a dock site placed on a form

TdxBarDockControl::TdxBarDockControl(TComponent* AOwner) : TdxDockControl(AOwner) {
  SetAlign(alTop);
  if (AOwner && AOwner->ComponentState().Contains(csDesigning))
    if (TdxBarManager* m = FindBarManagerOf(AOwner)) SetBarManager(m);
}

bool TdxBarDockControl::IsLoadingSite() const {
  return ComponentState().Contains(csLoading) || (BarManager() && BarManager()->IsRedockingLoadedBars());
}

bool TdxBarDockControl::CanDockBar(TdxBar* Bar) const {
  if (!TdxDockControl::CanDockBar(Bar)) return false;
  // A site lying on the bar's own window cannot take it.
  TdxBarControl* c = Bar ? Bar->BarControl() : nullptr;
  if (c && c->HandleAllocated() && HandleAllocated())
    for (HWND w = WindowHandle(); w; w = GetParent(w))
      if (w == c->WindowHandle()) return false;
  return true;
}

void TdxBarDockControl::UpdateColor() {
  if (FUseOwnColor) return;
  TdxDockControl::UpdateColor();
  FUseOwnColor = false;
}

int TdxBarDockControl::MinimalSize() const {
  return ComponentState().Contains(csDesigning) && !FAllowZeroSizeInDesignTime ? 3 : 0;
}

int TdxBarDockControl::RowsExtent() const {
  if (IsLoadingSite()) return Horizontal() ? ClientHeight() : ClientWidth();
  const int e = TdxDockControl::RowsExtent();
  return e ? e : MinimalSize();
}

bool TdxBarDockControl::SunkenBorder() const {
  return FUseOwnSunkenBorder ? FOwnSunkenBorder : TdxDockControl::SunkenBorder();
}

TdxBarDockAlign TdxBarDockControl::DockAlign() const {
  switch (Align()) {
    case alTop: return dalTop;
    case alBottom: return dalBottom;
    case alLeft: return dalLeft;
    case alRight: return dalRight;
    default: return dalNone;
  }
}

void TdxBarDockControl::SetDockAlign(TdxBarDockAlign Value) {
  if (Value == DockAlign()) return;
  static const TAlign aligns[] = {alNone, alTop, alBottom, alLeft, alRight};
  static const TdxBarDockingStyle styles[] = {dsTop, dsTop, dsBottom, dsLeft, dsRight};
  std::vector<TCustomdxBarControl*> docked;
  for (int r = 0; r < RowCount(); ++r)
    for (int i = 0; i < Rows(r)->ColCount(); ++i) docked.push_back(Rows(r)->Cols(i)->BarControl());
  TdxBarManager* m = BarManager();
  if (m) m->BeginBarsUpdate();
  try {
    for (TCustomdxBarControl* c : docked) c->SetDockingStyle(styles[Value]);
    SetAlign(aligns[Value]);
  } catch (...) {
    if (m) m->EndBarsUpdate();
    for (TCustomdxBarControl* c : docked) c->RecalculateBar();
    throw;
  }
  if (m) m->EndBarsUpdate();
  for (TCustomdxBarControl* c : docked) c->RecalculateBar();
  if (Parent()) Parent()->Invalidate();
}

void TdxBarDockControl::SetAllowZeroSizeInDesignTime(bool Value) {
  if (FAllowZeroSizeInDesignTime == Value) return;
  FAllowZeroSizeInDesignTime = Value;
  if (HandleAllocated()) SendMessage(WindowHandle(), WM_SIZE, 0, 0);
}

void TdxBarDockControl::SetOwnSunkenBorder(bool Value) {
  if (SunkenBorder() == Value) return;
  FOwnSunkenBorder = Value;
  FUseOwnSunkenBorder = true;
  RefreshFrames();
}

void TdxBarDockControl::SetUseOwnSunkenBorder(bool Value) {
  if (FUseOwnSunkenBorder == Value) return;
  if (Value) {
    FOwnSunkenBorder = SunkenBorder();
    FUseOwnSunkenBorder = true;
    return;
  }
  const bool own = FOwnSunkenBorder;
  FUseOwnSunkenBorder = false;
  if (TdxDockControl::SunkenBorder() != own) RefreshFrames();
}

void TdxBarDockControl::SetUseOwnColor(bool Value) {
  if (FUseOwnColor == Value) return;
  FUseOwnColor = Value;
  if (!Value) UpdateColor();
}

void TdxBarDockControl::SetSiteColor(TColor Value) {
  if (Value == Color()) return;
  SetColor(Value);
  if (!IsLoadingSite()) FUseOwnColor = true;
}

void TdxBarDockControl::SetSiteParentColor(bool Value) {
  if (Value == ParentColor()) return;
  SetParentColor(Value);
  if (!IsLoadingSite()) FUseOwnColor = true;
}

void TdxBarDockControl::RefreshFrames() {
  if (!HandleAllocated()) return;
  SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  for (int r = 0; r < RowCount(); ++r)
    for (int i = 0; i < Rows(r)->ColCount(); ++i)
      if (auto* c = dynamic_cast<TdxBarControl*>(Rows(r)->Cols(i)->BarControl()); IsLiveBarControl(c)) c->RefreshFrame();
  RelayoutAndResize();
}

void TdxBarDockControl::Dispatch(TMessage& Message) {
  TdxDockControl::Dispatch(Message);
  if (Message.Msg == WM_SIZE && !IsLoadingSite() && RowCount() == 0) {
    const int least = MinimalSize();
    if ((Horizontal() ? ClientHeight() : ClientWidth()) != least) {
      if (Horizontal()) SetClientHeight(least);
      else SetClientWidth(least);
    }
  }
}

TcxAccessibilityHelper* TdxDockControl::AcquireAccessibilityHelper() {
  if (!FAccessibilityHelper && !(ComponentState().Contains(csDestroying)))
    FAccessibilityHelper = new TdxDockControlAccessibilityHelper(this);
  return FAccessibilityHelper;
}
