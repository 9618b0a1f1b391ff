#include "suite/bars/dxBarLayout.h"

#include <algorithm>

// ---- links of one toolbar

bool FitLinksInLength(const std::vector<TdxBarLayoutLink>& Links, int GroupIndent, int Length,
                      int& Along, int& Across) {
  Along = 0;
  Across = 0;
  for (size_t i = 0; i < Links.size(); ++i) {
    const TdxBarLayoutLink& l = Links[i];
    int g = l.BeginsGroup && i > 0 ? GroupIndent : 0;
    if (i > 0 && g + Along + l.Along > Length) return true;
    Along += g + l.Along;
    Across = std::max(Across, l.Across);
  }
  return false;
}

void WrapLinksToLength(std::vector<TdxBarLayoutLink>& Links, int GroupIndent, bool SubtractMark,
                       int Length, const TdxBarWrapExtras& Extras, int& Along, int& Across) {
  int limit = std::max(Length, Along);
  if (SubtractMark) limit -= Extras.MarkSize;
  int lineLength = 0, lineThickness = 0, total = 0, longest = 0;
  // The last link of the line that begins a group after something else, with the line before it.
  struct TGroupStart {
    int Index = -1, LineLength = 0, LineThickness = 0;
  } groupStart;
  bool rewrap = false, lastBreakPlain = false;
  for (int i = 0; i < int(Links.size()); ++i) {
    TdxBarLayoutLink& l = Links[size_t(i)];
    int g = l.BeginsGroup && lineLength > 0 ? GroupIndent : 0;
    if (g > 0 && !rewrap) groupStart = {i, lineLength, lineThickness};
    bool lineBreak = (lineLength > 0 && lineLength + g + l.Along > limit) || rewrap ||
                     (g > 0 && lastBreakPlain);
    if (lineBreak) {
      l.StartsNewLine = true;
      if (groupStart.Index >= 0 && !rewrap) {
        i = groupStart.Index - 1;
        lineLength = groupStart.LineLength;
        lineThickness = groupStart.LineThickness;
        rewrap = true;
        continue;
      }
      lastBreakPlain = groupStart.Index < 0;
      longest = std::max(longest, lineLength);
      total += g + lineThickness;
      lineLength = l.Along;
      lineThickness = 0;
      rewrap = false;
      groupStart = {};
    } else {
      l.StartsNewLine = false;
      lineLength += g + l.Along;
    }
    lineThickness = std::max(lineThickness, l.Across);
  }
  if (!Links.empty()) {
    Across = lineThickness + total;
    if (Extras.MdiAlong > 0) {
      if (lineLength + Extras.MdiAlong > limit)
        Across += Extras.MdiAcross;
      else
        lineLength += Extras.MdiAlong;
    }
    longest = std::max(longest, lineLength);
  }
  Along = std::max(Along, longest);
}

namespace {

TRect AlongAcrossRect(bool Vertical, int Along, int Across, int AlongSize, int AcrossSize) {
  return Vertical ? Bounds(Across, Along, AcrossSize, AlongSize)
                  : Bounds(Along, Across, AlongSize, AcrossSize);
}

void CentreRow(std::vector<TdxBarArrangedLink>& Result, int First, int Last, bool Vertical,
               int RowThickness) {
  for (int j = First; j <= Last; ++j) {
    TdxBarArrangedLink& a = Result[size_t(j)];
    if (a.Bounds.IsEmpty()) continue;
    if (Vertical)
      a.Bounds = a.Bounds.Offset(-(RowThickness - a.Bounds.Width()) / 2, 0);
    else
      a.Bounds = a.Bounds.Offset(0, (RowThickness - a.Bounds.Height()) / 2);
    a.RowHeight = RowThickness;
  }
}

}  // namespace

bool ArrangeLinks(const std::vector<TdxBarLayoutLink>& Links, const TdxBarArrangeParams& Params,
                  std::vector<TdxBarArrangedLink>& Result) {
  Result.assign(Links.size(), {});
  const bool multi = Params.MultiLine, vertical = Params.Vertical;
  int available = Params.Length - Params.MarkSize;
  int rowThickness = 0;
  if (!multi) {
    rowThickness = Params.Thickness;
    available -= Params.MdiAlong;
  }
  int position = 0, rowsOffset = 0, rowFirst = 0, lastPlaced = -1;
  bool mdiTaken = !multi || Params.MdiAlong == 0;
  bool truncated = false;
  for (int i = 0; i < int(Links.size()); ++i) {
    const TdxBarLayoutLink& l = Links[size_t(i)];
    int g = l.BeginsGroup && position > 0 ? Params.GroupIndent : 0;
    bool lineBreak =
        ((position > 0 || (!multi && Params.BreaksBeforeFirst)) &&
         available < position + g + l.Along) ||
        (multi && l.StartsNewLine && i > rowFirst);
    if (lineBreak) {
      if (!multi) break;
      if (lastPlaced >= 0) Result[size_t(lastPlaced)].LastInRow = true;
      CentreRow(Result, rowFirst, i - 1, vertical, rowThickness);
      rowsOffset += rowThickness + g;
      position = g = rowThickness = 0;
      rowFirst = i;
    }
    int alongStart = position + g, alongSize = l.Along;
    if (!mdiTaken && l.Align != iaLeft && available - Params.MdiAlong >= alongStart + l.Along) {
      available -= Params.MdiAlong;
      mdiTaken = true;
    }
    switch (l.Align) {
      case iaLeft: position += g + l.Along; break;
      case iaCenter: alongStart += (available - alongStart - l.Along) / 2; break;
      case iaRight: alongStart = available - l.Along; break;
      case iaClient: alongSize = std::max(available - alongStart, l.MinAlong); break;
    }
    if (l.Align != iaLeft) {
      position = available;
      if (i + 1 < int(Links.size())) truncated = true;
    }
    TRect r;
    if (multi && vertical)
      r = Bounds(Params.Thickness - rowsOffset - l.Across, alongStart, l.Across, alongSize);
    else if (multi)
      r = Bounds(alongStart, rowsOffset, alongSize, l.Across);
    else
      r = AlongAcrossRect(vertical, alongStart, (rowThickness - l.Across) / 2, alongSize, l.Across);
    Result[size_t(i)].Bounds = r;
    Result[size_t(i)].RowHeight = rowThickness;
    rowThickness = std::max(rowThickness, l.Across);
    lastPlaced = i;
  }
  if (lastPlaced >= 0) Result[size_t(lastPlaced)].LastInRow = true;
  if (multi && lastPlaced >= 0) CentreRow(Result, rowFirst, lastPlaced, vertical, rowThickness);
  return truncated;
}

// ---- dock rows

void DockRowBand(const TdxDockRowGeometry& G, int Row, int Band, int& Start, int& End) {
  const int count = int(G.Rows.size());
  if (Row >= 0 && Row < count) {
    Start = G.Rows[size_t(Row)].first;
    End = G.Rows[size_t(Row)].second;
  } else if (Row < 0) {
    Start = G.Leading ? -G.Zone : G.ClientLength - G.RowsExtent - G.Zone;
    End = Start + G.Zone;
  } else {
    Start = G.Leading ? G.RowsExtent : G.ClientLength;
    End = Start + G.Zone;
  }
  const int side = (G.Zone - dxBarRowInsertionStrip) / 2;
  int b = !G.HasDockingStyle ? 0 : G.Leading ? Start + side : End - side - dxBarRowInsertionStrip;
  switch (Band) {
    case 0: End = b; break;
    case 1: Start = b; End = b + dxBarRowInsertionStrip; break;
    default: Start = b + dxBarRowInsertionStrip; break;
  }
}

void DockRowAtCoordinate(const TdxDockRowGeometry& G, int Coordinate, int& Row, bool& NewRow) {
  const int count = int(G.Rows.size());
  Row = 0;
  NewRow = true;
  if (count == 0) return;
  bool found = false;
  for (int r = -1; r < count && !found; ++r)
    for (int band = 0; band < 3; ++band) {
      int start, end;
      DockRowBand(G, r, band, start, end);
      if (Coordinate < start || Coordinate >= end) continue;
      found = !(r == -1 && band == 0);
      Row = band == 0 ? r : r + 1;
      NewRow = band == 1;
      break;
    }
  if (!found) {
    Row = Coordinate < G.RowsExtent ? 0 : count;
    NewRow = true;
  }
  if (Row >= count) NewRow = true;
}

int SnapCoordinateToRowGap(const TdxDockRowGeometry& G, int Row, bool NewRow) {
  if (NewRow && Row == int(G.Rows.size())) NewRow = false;
  int s, e;
  if (NewRow) {
    DockRowBand(G, Row - 1, 1, s, e);
  } else {
    int unused, m;
    DockRowBand(G, Row - 1, 2, s, unused);
    DockRowBand(G, Row, 0, m, e);
    if (e - m < m - s) s = m - (e - m);
  }
  return (s + e) / 2;
}

int LayoutDockRow(std::vector<TdxDockColumnInput>& Columns, int Length, bool AutoAlignBars,
                  std::vector<TdxDockColumnResult>& Result) {
  const int n = int(Columns.size());
  Result.assign(Columns.size(), {});
  if (n == 0) return 0;
  auto across = [&](int i, int width) {
    const TdxDockColumnInput& c = Columns[size_t(i)];
    return c.AcrossForLength ? c.AcrossForLength(width) : c.NaturalAcross;
  };
  auto naturalAcross = [&](int i, int width) {
    return Columns[size_t(i)].Wraps ? across(i, width) : Columns[size_t(i)].NaturalAcross;
  };
  // Sums of the minima and maxima of the columns before each one.
  std::vector<int> minBefore(size_t(n) + 1, 0), maxBefore(size_t(n) + 1, 0);
  for (int i = 0; i < n; ++i) {
    minBefore[size_t(i) + 1] = minBefore[size_t(i)] + Columns[size_t(i)].MinAlong;
    maxBefore[size_t(i) + 1] = maxBefore[size_t(i)] + Columns[size_t(i)].MaxAlong;
  }
  const int sumMax = maxBefore[size_t(n)];
  int thickness = 0;
  if (Columns[0].WholeRow) {
    TdxDockColumnInput& c = Columns[0];
    TdxDockColumnResult& r = Result[0];
    r.Placed = true;
    r.Width = std::max(Length, c.MinAlong);
    r.Height = across(0, r.Width);
    r.Truncated = !c.Wraps && r.Width < c.MaxAlong;
    thickness = r.Height;
  } else if (Length >= sumMax) {
    int limit = Length;
    for (int i = n - 1; i >= 0; --i) {
      TdxDockColumnResult& r = Result[size_t(i)];
      r.Placed = true;
      r.Width = Columns[size_t(i)].MaxAlong;
      r.Height = naturalAcross(i, r.Width);
      r.Left = Columns[size_t(i)].Wished;
      if (r.Left + r.Width > limit) r.Left = limit - r.Width;
      r.Left = std::max(r.Left, maxBefore[size_t(i)]);
      limit = r.Left;
    }
  } else {
    int available = Length;
    for (int i = n - 1; i >= 0; --i) {
      TdxDockColumnInput& c = Columns[size_t(i)];
      TdxDockColumnResult& r = Result[size_t(i)];
      r.Placed = true;
      int p = std::min(std::max(c.Wished, minBefore[size_t(i)]), maxBefore[size_t(i)]);
      if (i > 0 && Columns[size_t(i) - 1].Dragged) {
        const TdxDockColumnInput& prev = Columns[size_t(i) - 1];
        int d = std::max(prev.Wished, minBefore[size_t(i) - 1]) + prev.MaxAlong;
        if (d < p) {
          p = d;
          c.Wished = d;
        }
      }
      if (available - p < c.MaxAlong) {
        r.Truncated = !c.Wraps && c.MinAlong != c.MaxAlong;
        r.Width = std::max(available - p, c.MinAlong);
        r.Height = across(i, r.Width);
      } else {
        r.Width = c.MaxAlong;
        r.Height = naturalAcross(i, r.Width);
      }
      if (i == 0 && r.Width < available) r.Width = available;
      r.Left = std::min(std::max(available - r.Width, minBefore[size_t(i)]), maxBefore[size_t(i)]);
      available -= r.Width;
    }
  }
  if (!Columns[0].WholeRow)
    for (int i = 0; i < n; ++i) {
      TdxDockColumnResult& r = Result[size_t(i)];
      if (Columns[size_t(i)].UseRestSpace || AutoAlignBars)
        r.Left = i == 0 ? 0 : Result[size_t(i) - 1].Left + Result[size_t(i) - 1].Width;
      if (Columns[size_t(i)].UseRestSpace) {
        int next = i + 1 < n ? Result[size_t(i) + 1].Left : Length;
        r.Width = std::max(next - r.Left, Columns[size_t(i)].MinAlong);
      }
    }
  for (int i = 0; i < n; ++i)
    if (Result[size_t(i)].Placed) thickness = std::max(thickness, Result[size_t(i)].Height);
  for (int i = 0; i < n; ++i) {
    TdxDockColumnResult& r = Result[size_t(i)];
    if (!r.Placed) continue;
    if (r.Truncated && i == n - 1) r.Width = std::max(Length - r.Left, Columns[size_t(i)].MinAlong);
    r.Height = thickness;
  }
  return thickness;
}

// ---- floating bars

int FloatingFrameHitCode(const TRect& Window, const TPoint& P, int FrameWidth, int FrameHeight) {
  if (P.Y < Window.Top + FrameHeight) return HTTOP;
  if (P.X >= Window.Right - FrameWidth) return HTRIGHT;
  if (P.Y >= Window.Bottom - FrameHeight) return HTBOTTOM;
  if (P.X < Window.Left + FrameWidth) return HTLEFT;
  return HTNOWHERE;
}

bool PlaceInWorkArea(TRect& R, const std::vector<TRect>& WorkAreas, const TRect& CursorWorkArea) {
  for (const TRect& w : WorkAreas) {
    TRect common;
    if (IntersectRect(common, R, w)) return false;
  }
  const TRect& w = CursorWorkArea;
  int x = R.Left, y = R.Top;
  // Each edge is brought back on its own, so a bar off a corner returns whole.
  if (R.Right <= w.Left) x = w.Left;
  if (R.Bottom <= w.Top) y = w.Top;
  if (R.Left >= w.Right) x = w.Right - R.Width();
  if (R.Top >= w.Bottom) y = w.Bottom - R.Height();
  R = Bounds(x, y, R.Width(), R.Height());
  return true;
}

int LimitFloatingTop(int Top, const TRect& WorkArea) {
  return std::max(Top, WorkArea.Top - dxBarFloatingTopAllowance);
}
