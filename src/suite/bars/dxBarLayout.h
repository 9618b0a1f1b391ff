#pragma once
// The arithmetic of toolbar and dock-row layout, apart from the windows that use it: which links
// fit a line, how they wrap, where each lies, how the bars of one dock row share it, which row a
// dragged bar aims at, and where a floating bar may stand. "Along" is the axis in which links or
// bars follow each other, "across" the other one.

#include <functional>
#include <vector>

#include "platform/win/Types.h"
#include "suite/bars/dxBar.h"

// ---- links of one toolbar

struct TdxBarLayoutLink {
  int Along = 0;
  int Across = 0;
  bool BeginsGroup = false;  // the link's effective BeginGroup
  TdxBarItemAlign Align = iaLeft;
  int MinAlong = 1;            // the least a client-aligned control may shrink to
  bool StartsNewLine = false;  // written by WrapLinksToLength
};

// Lays the links out in one line of Length. Returns whether a link after the first did not fit;
// Along and Across are the extent of the links that fit (the first always counts).
bool FitLinksInLength(const std::vector<TdxBarLayoutLink>& Links, int GroupIndent, int Length,
                      int& Along, int& Across);

struct TdxBarWrapExtras {
  int MarkSize = 0;  // taken off the length when SubtractMark
  int MdiAlong = 0;  // the MDI buttons' block, 0 without one
  int MdiAcross = 0;
};
// Breaks the links into lines of at most Length (a group that does not fit the rest of a line
// goes to the next line whole), flags each link's StartsNewLine, and answers the size: Along and
// Across come in as the smallest size of the bar.
void WrapLinksToLength(std::vector<TdxBarLayoutLink>& Links, int GroupIndent, bool SubtractMark,
                       int Length, const TdxBarWrapExtras& Extras, int& Along, int& Across);

struct TdxBarArrangeParams {
  bool MultiLine = false;
  bool Vertical = false;
  int Length = 0;        // client length along
  int Thickness = 0;     // client length across (a single line's row thickness)
  int MarkSize = 0;      // docked bars: taken off the length
  int MdiAlong = 0;
  int GroupIndent = 0;
  bool BreaksBeforeFirst = false;
};
struct TdxBarArrangedLink {
  TRect Bounds;  // empty for a link that does not show
  int RowHeight = 0;
  bool LastInRow = false;
};
// Places the links; true when links were left out after an aligned control (truncated).
bool ArrangeLinks(const std::vector<TdxBarLayoutLink>& Links, const TdxBarArrangeParams& Params,
                  std::vector<TdxBarArrangedLink>& Result);

// ---- dock rows

// The docking zone around a dock site in which a dragged bar docks, and the insertion strip
// between rows.
constexpr int dxBarDockingZoneSize = 23;
constexpr int dxBarRowInsertionStrip = 5;

struct TdxDockRowGeometry {
  std::vector<std::pair<int, int>> Rows;  // [start, end) of each row across the site
  bool Leading = true;                    // dsLeft or dsTop
  bool HasDockingStyle = true;
  int ClientLength = 0;  // the site's client length across the rows
  int RowsExtent = 0;
  int Zone = dxBarDockingZoneSize;
};
// Band 0, 1 (the insertion strip) or 2 of a row; Row may be -1 (before the first) or the row
// count (after the last).
void DockRowBand(const TdxDockRowGeometry& G, int Row, int Band, int& Start, int& End);
// The row a coordinate across the site (client coordinates) aims at, and whether a new row is
// inserted there.
void DockRowAtCoordinate(const TdxDockRowGeometry& G, int Coordinate, int& Row, bool& NewRow);
// The coordinate a dragged bar snaps to while a new row (or the boundary before Row) is shown.
int SnapCoordinateToRowGap(const TdxDockRowGeometry& G, int Row, bool NewRow);

struct TdxDockColumnInput {
  int MinAlong = 0;       // minimum length along plus the bar's borders along (and the mark)
  int MaxAlong = 0;       // natural length along plus the borders
  int Wished = 0;         // the wished position along the row
  int NaturalAcross = 0;  // natural thickness plus the borders across
  bool Wraps = false;     // floating or multi-line: the thickness follows the length
  bool WholeRow = false;
  bool UseRestSpace = false;
  bool Dragged = false;   // the bar being dragged over the site
  // Thickness plus borders across for a length along.
  std::function<int(int)> AcrossForLength;
};
struct TdxDockColumnResult {
  int Left = 0;
  int Width = 0;  // along
  int Height = 0;  // across, the row thickness once laid out
  bool Truncated = false;
  bool Placed = false;  // a whole-row bar places only itself
};
// Shares a row of Length among its bars. Wished positions of columns may move (a column after
// the dragged bar is pushed behind it). Returns the row thickness.
int LayoutDockRow(std::vector<TdxDockColumnInput>& Columns, int Length, bool AutoAlignBars,
                  std::vector<TdxDockColumnResult>& Result);

// ---- floating bars

// The sizing code of a point on a floating bar's frame (window rectangle), tested top, right,
// bottom, left: no diagonal codes. HTNOWHERE inside the frame.
int FloatingFrameHitCode(const TRect& Window, const TPoint& P, int FrameWidth, int FrameHeight);
// A floating bar that lies on no monitor's work area comes back at the nearest edge of the work
// area under the cursor. True when R moved.
bool PlaceInWorkArea(TRect& R, const std::vector<TRect>& WorkAreas, const TRect& CursorWorkArea);
// How far a floating bar's top may rise above the work area of its monitor.
constexpr int dxBarFloatingTopAllowance = 15;
// The top of a floating bar being sized, kept at most 15 pixels above its monitor's work area.
int LimitFloatingTop(int Top, const TRect& WorkArea);
