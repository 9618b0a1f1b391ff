#pragma once
// Dock sites: the windows along the edges of a form in which bar controls lie docked, in rows.
// A row keeps the bars assigned to it and one column per bar control that lies in it; the site
// shares each row among its columns with the row arithmetic of dxBarLayout and sizes itself to the
// sum of its rows.

#include <memory>
#include <vector>

#include "suite/bars/dxBar.h"

class TdxDockRow;
struct TdxDockColumnInput;

class TdxDockCol : public TObject {
 public:
  TdxDockCol(TdxDockRow* ARow, TCustomdxBarControl* ABarControl, TdxBar* ABar)
      : FRow(ARow), FBarControl(ABarControl), FBar(ABar) {}
  TdxDockRow* Row() const { return FRow; }
  TCustomdxBarControl* BarControl() const { return FBarControl; }
  TdxBar* Bar() const { return FBar; }
  // The place (client coordinates of the site) where the bar control wants to lie.
  TPoint Pos;
  void StorePosition();

 private:
  TdxDockRow* FRow;
  TCustomdxBarControl* FBarControl;
  TdxBar* FBar;
};

class TdxDockRow : public TObject {
 public:
  explicit TdxDockRow(TdxDockControl* ASite) : FSite(ASite) {}
  ~TdxDockRow() override;
  TdxDockControl* DockControl() const { return FSite; }
  int ColCount() const { return int(FCols.size()); }
  TdxDockCol* Cols(int Index) const { return FCols.at(size_t(Index)).get(); }
  const std::vector<TdxBar*>& Bars() const { return FBars; }

  TdxDockCol* AddColumn(TCustomdxBarControl* BarControl, TdxBar* Bar);
  TdxDockCol* InsertColumn(int Index, TCustomdxBarControl* BarControl, TdxBar* Bar);
  void DeleteColumn(int Index);
  void RemoveColumnOf(TCustomdxBarControl* BarControl);
  int IndexOfColumn(const TdxDockCol* Col) const;
  void AddBar(TdxBar* Bar);
  // Takes the bar out; the row frees itself when its last bar left and FreeEmptyRow is set.
  void RemoveBar(TdxBar* Bar, bool FreeEmptyRow);
  void UpdateOneOnRow();
  bool HasDockedBarControls() const;

 private:
  TdxDockControl* FSite;
  std::vector<std::unique_ptr<TdxDockCol>> FCols;
  std::vector<TdxBar*> FBars;
};

class TdxDockControl : public TCustomControl {
 public:
  explicit TdxDockControl(TComponent* AOwner = nullptr);
  // One of the four sites of a manager's form, aligned to its side.
  TdxDockControl(TComponent* AOwner, TdxBarDockingStyle Style, TdxBarManager* Manager);
  ~TdxDockControl() override;

  // ---- what the manager asks of its sites
  virtual bool CanDockBar(TdxBar* Bar) const { return AllowDocking; }
  virtual bool IsImplicit() const { return FImplicit; }
  virtual void RelayoutAndResize();
  virtual void RefreshColors() {
    ClearBackgroundCache();
    UpdateColor();
  }
  virtual void SetRedraw(bool Value) {}
  virtual void DropEmptyRows();

  bool AllowDocking = true;
  TdxBarManager* BarManager() const { return FBarManager; }
  void SetBarManager(TdxBarManager* Value);

  // ---- introduced
  virtual void LayoutRows();
  virtual void LayoutRow(int Index, int Length);
  virtual void UpdateColor();
  virtual int RowsExtent() const;
  virtual bool SunkenBorder() const;
  virtual bool UsesStoredRows() const { return true; }
  virtual void ResizeToRows();
  TdxBarDockingStyle DockingStyle() const;
  TdxBarPainter* Painter() const;
  // The sizes of a column's bar control for the row arithmetic; without a toolbar layout of its
  // own a bar control keeps its current size.
  virtual void MeasureColumn(TdxDockCol* Col, TdxDockColumnInput& In) const;
  // Resizes a column's bar control to a length along the row and answers its thickness across.
  virtual int ThicknessForLength(TdxDockCol* Col, int Length) const;
  void FillBackground(HDC DC, const TRect& R, TColor AColor, HBRUSH Brush, const TRect& Origin);
  // The drawn background a themed painter keeps; emptied whenever the look or the size changes.
  TBitmap* BackgroundCache() const { return FBackgroundCache.get(); }
  void ClearBackgroundCache();

  bool Horizontal() const;
  bool Leading() const;
  int RowCount() const { return int(FRows.size()); }
  TdxDockRow* Rows(int Index) const { return FRows.at(size_t(Index)).get(); }
  int IndexOfRow(const TdxDockRow* Row) const;
  TdxDockRow* InsertRow(int Index);
  void DeleteRow(TdxDockRow* Row);
  TRect RowRect(int Row) const;
  void RowBand(int Row, int Band, int& Start, int& End) const;
  void RowAtPoint(const TPoint& ScreenPoint, int& Row, bool& NewRow) const;
  int ColumnIndexAt(int Row, const TPoint& ScreenPoint) const;
  void SnapPointToRowGap(int Row, bool NewRow, TPoint& ScreenPoint) const;
  TRect ScreenDockingZone() const;

  // Docks a bar control: at its bar's stored row when Row is given (NewRow inserting one there),
  // else at the row under the screen point.
  void InsertBarControl(TCustomdxBarControl* BarControl, TdxBar* Bar, const TPoint& ScreenPoint,
                        bool Relayout, int Row = -1, bool NewRow = false);
  void RemoveBarControl(TCustomdxBarControl* BarControl, TdxDockCol* Col, bool Relayout);
  // A dragged bar control moves to another place of the site (dxBarDragging.cpp).
  void MoveBarControl(TCustomdxBarControl* BarControl, const TPoint& ScreenPoint);
  void StoreColumnPositions();
  void Relayout();
  // The site's accessibility helper, made on first request.
  TcxAccessibilityHelper* AcquireAccessibilityHelper();

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  // The bars of the rows take the place of the platform's alignment.
  void AlignControls(TControl* AControl, TRect& Rect) override;

 private:
  TdxBarManager* FBarManager = nullptr;
  TcxAccessibilityHelper* FAccessibilityHelper = nullptr;
  TdxBarDockingStyle FStyle = dsNone;
  bool FImplicit = false;
  bool FLayingOut = false;
  bool FAligning = false;
  std::vector<std::unique_ptr<TdxDockRow>> FRows;
  std::unique_ptr<TBitmap> FBackgroundCache;
};

// How a dock site placed on a form lies: its side, or dalNone for a site placed freely (bars lie
// in it as in a top site).
enum TdxBarDockAlign : uint8_t { dalNone, dalTop, dalBottom, dalLeft, dalRight };

// A dock site the user puts on a form: its own colour and frame when asked, an alignment that
// turns the bars in it, and a least size when it holds nothing.
class TdxBarDockControl : public TdxDockControl {
 public:
  explicit TdxBarDockControl(TComponent* AOwner);

  bool IsImplicit() const override { return false; }
  bool CanDockBar(TdxBar* Bar) const override;
  void UpdateColor() override;
  int RowsExtent() const override;
  bool SunkenBorder() const override;
  // Introduced.
  virtual bool DropsUnnamedDockControl() const { return true; }
  virtual int MinimalSize() const;

  TdxBarDockAlign DockAlign() const;
  void SetDockAlign(TdxBarDockAlign Value);
  bool AllowZeroSizeInDesignTime() const { return FAllowZeroSizeInDesignTime; }
  void SetAllowZeroSizeInDesignTime(bool Value);
  bool OwnSunkenBorder() const { return SunkenBorder(); }
  void SetOwnSunkenBorder(bool Value);
  bool UseOwnColor() const { return FUseOwnColor; }
  void SetUseOwnColor(bool Value);
  bool UseOwnSunkenBorder() const { return FUseOwnSunkenBorder; }
  void SetUseOwnSunkenBorder(bool Value);
  // The colour properties as the form description sets them: a change of either makes the
  // colour the site's own (not while it loads).
  TColor SiteColor() const { return Color(); }
  void SetSiteColor(TColor Value);
  bool SiteParentColor() const { return ParentColor(); }
  void SetSiteParentColor(bool Value);
  bool StoresColor() const { return FUseOwnColor && !ParentColor(); }
  void RefreshFrames();

 protected:
  void Dispatch(TMessage& Message) override;

 private:
  bool IsLoadingSite() const;
  bool FAllowZeroSizeInDesignTime = false;
  bool FOwnSunkenBorder = false;
  bool FUseOwnColor = false;
  bool FUseOwnSunkenBorder = false;
};
