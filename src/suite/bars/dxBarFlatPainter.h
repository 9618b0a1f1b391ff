#pragma once
// The flat look of the bars: one-pixel frames instead of raised and sunken edges, a highlight
// frame around the selected item, a light face colour for bars and the icon column of menus,
// white menus, and a menu that joins the button it dropped down from into one outline.

#include "suite/bars/dxBar.h"

class TdxBarFlatPainter : public TdxBarPainter {
 public:
  void DrawCheckSign(TdxBarItemControl* Control, HDC DC, int SizeCode, int X, int Y) const override;
  void DrawFloatingBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawComboListItemDefault(TdxBarItem* Item, TcxCanvas* Canvas, const TRect& R, int Index) const override;
  void FrameSelection(HDC DC, const TRect& R) const override;

  // ---- introduced by the flat look, in slot order
  // Frames an item: in the bar's background when plain on a bar, the selection frame when
  // selected or on a bar, a shadow frame for a down item in a menu.
  virtual void FrameOrFillItem(TdxBarItemControl* Control, HDC DC, bool Down, bool Selected, int PaintType,
                               HBRUSH Brush, const TRect& R) const;
  virtual HBRUSH ManagerBrush(TdxBarItemControl* Control) const;
  virtual HBRUSH ShadowBrush() const;
  // The joined outline around R, then the inside filled with the manager's bar brush.
  virtual void FillJoinArea(TCustomdxBarControl* Control, HDC DC, TCustomdxBarControl* Popup, const TRect& R) const;
  // Frames R (an element with an open popup) so that element and popup make one outline: the
  // strip where the popup touches it is filled instead of framed.
  virtual void CallClipped(TCustomdxBarControl* Control, HDC DC, const TRect& R, TdxBarItemControl* ItemControl,
                           TCustomdxBarControl* Popup) const;
  virtual void FrameWithManagerColor(TCustomdxBarControl* Control, HDC DC, const TRect& R) const;
  virtual void FillWithBarBrush(TCustomdxBarControl* Control, HDC DC, const TRect& R, const TRect& Strip,
                                TdxBarItemControl* ItemControl) const;
  virtual TColor ShadowColor() const;

  // The flat brushes of a manager; without one, brushes made from the same formulas and kept
  // until the system colours change.
  static HBRUSH FlatFrameBrush(TdxBarManager* Manager);
  static HBRUSH FlatFaceBrush(TdxBarManager* Manager);
  static HBRUSH FlatDownBrush(TdxBarManager* Manager);
  static HBRUSH FlatDownSelectedBrush(TdxBarManager* Manager);
  static HBRUSH FlatSelectedBrush(TdxBarManager* Manager);
  // The five flat colours computed from the current system colours (frame, face, down, down
  // selected, selected), as the manager makes its brushes of them.
  static TColor FlatColor(int Index);
};

// One flat painter for the whole bar unit, made on first use and freed when the unit stops. Other
// looks borrow its check mark and floating border.
TdxBarFlatPainter* GetSharedFlatPainter();
void FreeSharedFlatPainter();

// Registers the Flat painter for its style.
void RegisterFlatBarPainters();
