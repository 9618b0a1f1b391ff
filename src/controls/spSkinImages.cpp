#include "controls/spSkinImages.h"

#include <algorithm>
#include <cstring>

namespace {

void Copy(TCanvas* Target, const TRect& Dest, TCanvas* Source, const TRect& Src) {
  if (Dest.IsEmpty() || Src.IsEmpty()) return;
  Target->CopyRect(Dest, Source, Src);
}

// Edge piece: stretched over Dest, or tiled along the given axis.
void Edge(TCanvas* Target, const TRect& Dest, TCanvas* Source, const TRect& Piece, bool Stretch,
          bool AlongX) {
  if (Stretch) {
    Copy(Target, Dest, Source, Piece);
  } else if (AlongX) {
    TileHorizontally(Target, Dest, Source, Piece);
  } else {
    TileVertically(Target, Dest, Source, Piece);
  }
}

void TileBoth(TCanvas* Target, const TRect& Dest, TCanvas* Source, const TRect& Piece) {
  int u = Piece.Height();
  if (u <= 0 || Piece.Width() <= 0) return;
  for (int y = Dest.Top; y < Dest.Bottom; y += u) {
    int y1 = std::min(y + u, Dest.Bottom);
    TileHorizontally(Target, Rect(Dest.Left, y, Dest.Right, y1), Source,
                     Rect(Piece.Left, Piece.Top, Piece.Right, Piece.Top + (y1 - y)));
  }
}

}  // namespace

void TileHorizontally(TCanvas* Target, const TRect& Dest, TCanvas* Source, const TRect& Piece) {
  int u = Piece.Width();
  if (u <= 0 || Piece.Height() <= 0) return;
  for (int x = Dest.Left; x < Dest.Right; x += u) {
    int x1 = std::min(x + u, Dest.Right);
    Copy(Target, Rect(x, Dest.Top, x1, Dest.Bottom), Source,
         Rect(Piece.Left, Piece.Top, Piece.Left + (x1 - x), Piece.Bottom));
  }
}

void TileVertically(TCanvas* Target, const TRect& Dest, TCanvas* Source, const TRect& Piece) {
  int u = Piece.Height();
  if (u <= 0 || Piece.Width() <= 0) return;
  for (int y = Dest.Top; y < Dest.Bottom; y += u) {
    int y1 = std::min(y + u, Dest.Bottom);
    Copy(Target, Rect(Dest.Left, y, Dest.Right, y1), Source,
         Rect(Piece.Left, Piece.Top, Piece.Right, Piece.Top + (y1 - y)));
  }
}

void BuildNinePartImage(TBitmap* Source, const TRect& R, TPoint LT, TPoint RT, TPoint LB, TPoint RB,
                        const TRect& CL, TBitmap* Target, int W, int H, TPoint NLT, TPoint NRT,
                        TPoint NLB, TPoint NRB, const TRect& NCL, bool LeftStretch, bool TopStretch,
                        bool RightStretch, bool BottomStretch, bool DrawClient, bool StretchClient,
                        int StretchKind) {
  Target->SetSize(W, H);
  if (RB.X == LT.X || RB.Y == LT.Y || !Source || Source->Width() <= 0 || Source->Height() <= 0) return;
  if (W <= 0 || H <= 0) return;
  TCanvas* t = Target->Canvas();
  TCanvas* s = Source->Canvas();
  const int rw = R.Width(), rh = R.Height();
  auto src = [&](int l, int tp, int r, int b) { return Rect(l, tp, r, b).Offset(R.Left, R.Top); };
  Edge(t, Rect(NLT.X, 0, NRT.X, NCL.Top), s, src(LT.X, 0, RT.X, CL.Top), TopStretch, true);
  Edge(t, Rect(NLB.X, NCL.Bottom, NRB.X, H), s, src(LB.X, CL.Bottom, RB.X, rh), BottomStretch, true);
  Edge(t, Rect(0, NLT.Y, NCL.Left, NLB.Y), s, src(0, LT.Y, CL.Left, LB.Y), LeftStretch, false);
  Edge(t, Rect(NCL.Right, NRT.Y, W, NRB.Y), s, src(CL.Right, RT.Y, rw, RB.Y), RightStretch, false);

  Copy(t, Rect(0, 0, NLT.X, NCL.Top), s, src(0, 0, LT.X, CL.Top));
  Copy(t, Rect(0, NCL.Top, NCL.Left, NLT.Y), s, src(0, CL.Top, CL.Left, LT.Y));
  Copy(t, Rect(NRT.X, 0, W, NCL.Top), s, src(RT.X, 0, rw, CL.Top));
  Copy(t, Rect(NCL.Right, NCL.Top, W, NRT.Y), s, src(CL.Right, CL.Top, rw, RT.Y));
  Copy(t, Rect(0, NLB.Y, NCL.Left, H), s, src(0, LB.Y, CL.Left, rh));
  Copy(t, Rect(NCL.Left, NCL.Bottom, NLB.X, H), s, src(CL.Left, CL.Bottom, LB.X, rh));
  Copy(t, Rect(NRB.X, NCL.Bottom, W, H), s, src(RB.X, CL.Bottom, rw, rh));
  Copy(t, Rect(NCL.Right, NRB.Y, W, NCL.Bottom), s, src(CL.Right, RB.Y, rw, CL.Bottom));

  if (!DrawClient) return;
  TRect client = src(CL.Left, CL.Top, CL.Right, CL.Bottom);
  if (!StretchClient) {
    TileBoth(t, NCL, s, client);
    return;
  }
  if (NCL.IsEmpty() || client.IsEmpty()) return;
  if (StretchKind == 1 || StretchKind == 2) {
    TBitmap strip;
    bool across = StretchKind == 1;
    strip.SetSize(across ? client.Width() : NCL.Width(), across ? NCL.Height() : client.Height());
    Copy(strip.Canvas(), Rect(0, 0, strip.Width(), strip.Height()), s, client);
    if (across) {
      TileHorizontally(t, NCL, strip.Canvas(), Rect(0, 0, strip.Width(), strip.Height()));
    } else {
      TileVertically(t, NCL, strip.Canvas(), Rect(0, 0, strip.Width(), strip.Height()));
    }
    return;
  }
  Copy(t, NCL, s, client);
}

void BuildStretchedImage(TBitmap* Target, TBitmap* Source, const TRect& R, bool DrawClient, const TRect& CL) {
  int W = Target->Width(), H = Target->Height();
  TRect ncl(CL.Left, CL.Top, W - (R.Width() - CL.Right), H - (R.Height() - CL.Bottom));
  BuildNinePartImage(Source, R, CL.TopLeft(), Point(CL.Right, CL.Top), Point(CL.Left, CL.Bottom),
                     CL.BottomRight(), CL, Target, W, H, ncl.TopLeft(), Point(ncl.Right, ncl.Top),
                     Point(ncl.Left, ncl.Bottom), ncl.BottomRight(), ncl, true, true, true, true, DrawClient,
                     true, 0);
}

void BuildHorizontalThreePartImage(int A, int C, TBitmap* Target, bool StretchMiddle, int W, const TRect& R,
                                   TBitmap* Source) {
  Target->SetSize(W, R.Height());
  if (!Source || W <= 0 || R.Height() <= 0) return;
  TCanvas* t = Target->Canvas();
  TCanvas* s = Source->Canvas();
  const int h = R.Height();
  if (A != 0) Copy(t, Rect(0, 0, A, h), s, Rect(R.Left, R.Top, R.Left + A, R.Bottom));
  if (C != 0) Copy(t, Rect(W - C, 0, W, h), s, Rect(R.Right - C, R.Top, R.Right, R.Bottom));
  Edge(t, Rect(A, 0, W - C, h), s, Rect(R.Left + A, R.Top, R.Right - C, R.Bottom), StretchMiddle, true);
}

void BuildVerticalThreePartImage(int A, int C, TBitmap* Target, bool StretchMiddle, int H, const TRect& R,
                                 TBitmap* Source) {
  Target->SetSize(R.Width(), H);
  if (!Source || H <= 0 || R.Width() <= 0) return;
  TCanvas* t = Target->Canvas();
  TCanvas* s = Source->Canvas();
  const int w = R.Width();
  if (A != 0) Copy(t, Rect(0, 0, w, A), s, Rect(R.Left, R.Top, R.Right, R.Top + A));
  if (C != 0) Copy(t, Rect(0, H - C, w, H), s, Rect(R.Left, R.Bottom - C, R.Right, R.Bottom));
  Edge(t, Rect(0, A, w, H - C), s, Rect(R.Left, R.Top + A, R.Right, R.Bottom - C), StretchMiddle, false);
}

std::vector<uint8_t> MaskToRegionData(TBitmap* Mask, int Dx, int Dy) {
  if (!Mask || Mask->Width() <= 0 || Mask->Height() <= 0) return {};
  std::vector<RECT> runs;
  const int w = Mask->Width();
  for (int y = 0; y < Mask->Height(); ++y) {
    const uint8_t* row = Mask->ScanLine(y);
    auto black = [&](int x) { return row[x * 4] == 0 && row[x * 4 + 1] == 0 && row[x * 4 + 2] == 0; };
    for (int x = 0; x < w;) {
      if (!black(x)) {
        ++x;
        continue;
      }
      int x0 = x;
      while (x < w && black(x)) ++x;
      runs.push_back(RECT{x0 + Dx, y + Dy, x + Dx, y + Dy + 1});
    }
  }
  RGNDATAHEADER h;
  h.nCount = DWORD(runs.size());
  h.rcBound = RECT{Dx, Dy, Dx + w, Dy + Mask->Height()};
  std::vector<uint8_t> data(sizeof(h) + runs.size() * sizeof(RECT));
  std::memcpy(data.data(), &h, sizeof(h));
  if (!runs.empty()) std::memcpy(data.data() + sizeof(h), runs.data(), runs.size() * sizeof(RECT));
  return data;
}

HRGN RegionFromMask(TBitmap* Mask) {
  auto data = MaskToRegionData(Mask, 0, 0);
  if (data.empty()) return nullptr;
  return ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
}

HRGN BuildBorderRegion(TBitmap* Mask, TPoint LT, TPoint RT, TPoint LB, TPoint RB, const TRect& CL, int W,
                       int H, TPoint NLT, TPoint NRT, TPoint NLB, TPoint NRB, const TRect& NCL) {
  if (NRT.X < NLT.X || NLB.Y < NLT.Y) return nullptr;
  if (NCL.IsEmpty() || !Mask || Mask->Width() <= 0) return nullptr;
  const int mw = Mask->Width(), mh = Mask->Height();
  TCanvas* s = Mask->Canvas();
  HRGN result = CreateRectRgn(NCL.Left, NCL.Top, NCL.Right, NCL.Bottom);
  auto unite = [&](TBitmap& strip, int dx, int dy) {
    auto data = MaskToRegionData(&strip, dx, dy);
    if (data.empty()) return;
    HRGN r = ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
    if (!r) return;
    CombineRgn(result, result, r, RGN_OR);
    DeleteObject(r);
  };
  const int nh = NCL.Height();
  if (W > 0 && CL.Top > 0) {
    TBitmap top;
    top.SetSize(W, CL.Top);
    TileHorizontally(top.Canvas(), Rect(NLT.X, 0, NRT.X, CL.Top), s, Rect(LT.X, 0, RT.X, CL.Top));
    Copy(top.Canvas(), Rect(0, 0, LT.X, CL.Top), s, Rect(0, 0, LT.X, CL.Top));
    Copy(top.Canvas(), Rect(NRT.X, 0, NRT.X + mw - RT.X, CL.Top), s, Rect(RT.X, 0, mw, CL.Top));
    unite(top, 0, 0);
  }
  if (W > 0 && mh - CL.Bottom > 0) {
    TBitmap bottom;
    int bh = mh - CL.Bottom;
    bottom.SetSize(W, bh);
    TileHorizontally(bottom.Canvas(), Rect(NLB.X, 0, NRB.X, bh), s, Rect(LB.X, CL.Bottom, RB.X, mh));
    Copy(bottom.Canvas(), Rect(0, 0, LB.X, bh), s, Rect(0, CL.Bottom, LB.X, mh));
    Copy(bottom.Canvas(), Rect(NRB.X, 0, NRB.X + mw - RB.X, bh), s, Rect(RB.X, CL.Bottom, mw, mh));
    unite(bottom, 0, NCL.Bottom);
  }
  auto side = [&](int x0, int x1, int topY, int bottomY, int dx) {
    int sw = x1 - x0;
    if (sw <= 0 || nh <= 0) return;
    TBitmap strip;
    strip.SetSize(sw, nh);
    TileVertically(strip.Canvas(), Rect(0, 0, sw, nh), s, Rect(x0, topY, x1, bottomY));
    Copy(strip.Canvas(), Rect(0, 0, sw, topY - CL.Top), s, Rect(x0, CL.Top, x1, topY));
    Copy(strip.Canvas(), Rect(0, nh - (CL.Bottom - bottomY), sw, nh), s, Rect(x0, bottomY, x1, CL.Bottom));
    unite(strip, dx, NCL.Top);
  };
  side(0, CL.Left, LT.Y, LB.Y, 0);
  side(CL.Right, mw, RT.Y, RB.Y, NCL.Right);
  return result;
}

void DrawStripFrame(TCanvas* Canvas, int X, int Y, int Number, int Count, TBitmap* Strip) {
  if (!Strip || Strip->Width() <= 0 || Strip->Height() <= 0 || Count <= 0) return;
  int fw = Strip->Width() / Count;
  if (fw <= 0) return;
  TBitmap frame;
  frame.SetSize(fw, Strip->Height());
  frame.Canvas()->CopyRect(Rect(0, 0, fw, Strip->Height()), Strip->Canvas(),
                           Rect(fw * (Number - 1), 0, fw * Number, Strip->Height()));
  frame.SetTransparent(true);
  Canvas->Draw(X, Y, &frame);
}
