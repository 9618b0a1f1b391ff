#include "controls/TransparentDraw.h"

#include "platform/gui/Forms.h"
#include "platform/win/GdiExtras.h"

void MaskedStretchCopy(HDC DestDC, int DestX, int DestY, int DestW, int DestH, HDC SrcDC, int SrcX,
                       int SrcY, int SrcW, int SrcH, TColor Color, HPALETTE Palette) {
  HDC maskDC = CreateCompatibleDC(DestDC), invDC = CreateCompatibleDC(DestDC);
  HDC workDC = CreateCompatibleDC(DestDC), copyDC = CreateCompatibleDC(DestDC);
  HBITMAP maskBmp = CreateBitmap(SrcW, SrcH, 1, 1, nullptr);
  HBITMAP invBmp = CreateBitmap(SrcW, SrcH, 1, 1, nullptr);
  HBITMAP workBmp = CreateCompatibleBitmap(DestDC, DestW, DestH);
  HBITMAP copyBmp = CreateCompatibleBitmap(DestDC, SrcW, SrcH);
  HGDIOBJ oldMask = SelectObject(maskDC, maskBmp), oldInv = SelectObject(invDC, invBmp);
  HGDIOBJ oldWork = SelectObject(workDC, workBmp), oldCopy = SelectObject(copyDC, copyBmp);
  HPALETTE oldDestPal = nullptr, oldCopyPal = nullptr, oldMaskPal = nullptr, oldWorkPal = nullptr;
  if (Palette) {
    oldDestPal = SelectPalette(DestDC, Palette, TRUE);
    RealizePalette(DestDC);
    oldCopyPal = SelectPalette(copyDC, Palette, FALSE);
    RealizePalette(copyDC);
    oldMaskPal = SelectPalette(maskDC, Palette, FALSE);
    RealizePalette(maskDC);
    oldWorkPal = SelectPalette(workDC, Palette, FALSE);
    RealizePalette(workDC);
  }
  BitBlt(copyDC, 0, 0, SrcW, SrcH, SrcDC, SrcX, SrcY, SRCCOPY);
  // A colour source copied to a one-bit bitmap gives 1 where it has its background colour.
  COLORREF oldBk = SetBkColor(copyDC, (COLORREF(ColorToRGB(Color)) & 0xFFFFFF) | 0x02000000);
  BitBlt(maskDC, 0, 0, SrcW, SrcH, copyDC, 0, 0, SRCCOPY);
  SetBkColor(copyDC, oldBk);
  BitBlt(invDC, 0, 0, SrcW, SrcH, maskDC, 0, 0, NOTSRCCOPY);
  BitBlt(workDC, 0, 0, DestW, DestH, DestDC, DestX, DestY, SRCCOPY);
  StretchBlt(workDC, 0, 0, DestW, DestH, maskDC, 0, 0, SrcW, SrcH, SRCAND);
  BitBlt(copyDC, 0, 0, SrcW, SrcH, invDC, 0, 0, SRCAND);
  StretchBlt(workDC, 0, 0, DestW, DestH, copyDC, 0, 0, SrcW, SrcH, SRCPAINT);
  BitBlt(DestDC, DestX, DestY, DestW, DestH, workDC, 0, 0, SRCCOPY);
  if (Palette) {
    SelectPalette(workDC, oldWorkPal, FALSE);
    SelectPalette(maskDC, oldMaskPal, FALSE);
    SelectPalette(copyDC, oldCopyPal, FALSE);
    SelectPalette(DestDC, oldDestPal, TRUE);
  }
  SelectObject(copyDC, oldCopy);
  SelectObject(workDC, oldWork);
  SelectObject(invDC, oldInv);
  SelectObject(maskDC, oldMask);
  DeleteObject(copyBmp);
  DeleteObject(workBmp);
  DeleteObject(invBmp);
  DeleteObject(maskBmp);
  DeleteDC(copyDC);
  DeleteDC(workDC);
  DeleteDC(invDC);
  DeleteDC(maskDC);
}

namespace {
// Keeps the bitmap's canvas locked and its change notification quiet while it is drawn from.
struct TDrawingFrom {
  TBitmap* Bitmap;
  TNotifyEvent Saved;
  explicit TDrawingFrom(TBitmap* B) : Bitmap(B), Saved(B->OnChange) {
    Bitmap->Canvas()->Lock();
    Bitmap->OnChange = nullptr;
  }
  ~TDrawingFrom() {
    Bitmap->OnChange = Saved;
    Bitmap->Canvas()->Unlock();
  }
};
}  // namespace

void StretchBitmapWithTransparency(TCanvas* Canvas, int DestX, int DestY, int DestW, int DestH,
                                   TBitmap* Bitmap, int SrcX, int SrcY, int SrcW, int SrcH,
                                   TColor TransparentColor) {
  if (!Bitmap || Bitmap->Empty()) return;
  if (DestW < 1) DestW = Bitmap->Width();
  if (DestH < 1) DestH = Bitmap->Height();
  if (SrcW < 1 || SrcH < 1) {
    SrcX = SrcY = 0;
    SrcW = Bitmap->Width();
    SrcH = Bitmap->Height();
  }
  HDC dest = Canvas->Handle();
  if (!Bitmap->Monochrome()) SetStretchBltMode(dest, COLORONCOLOR);
  TDrawingFrom guard(Bitmap);
  HDC src = Bitmap->Canvas()->Handle();
  if (TransparentColor == clNone) {
    StretchBlt(dest, DestX, DestY, DestW, DestH, src, SrcX, SrcY, SrcW, SrcH, DWORD(Canvas->CopyMode()));
    return;
  }
  if (TransparentColor == clDefault)
    TransparentColor = TColor(GetPixel(src, 0, Bitmap->Height() - 1) & 0xFFFFFF);
  const TColor key = Bitmap->Monochrome() ? clWhite : ColorToRGB(TransparentColor);
  MaskedStretchCopy(dest, DestX, DestY, DestW, DestH, src, SrcX, SrcY, SrcW, SrcH, key, nullptr);
}

void BlitWithTransparency(TCanvas* Canvas, int X, int Y, TBitmap* Bitmap, TColor TransparentColor) {
  StretchBitmapWithTransparency(Canvas, X, Y, Bitmap->Width(), Bitmap->Height(), Bitmap, 0, 0,
                                Bitmap->Width(), Bitmap->Height(), TransparentColor);
}

void BlitRectWithTransparency(TCanvas* Canvas, int X, int Y, TColor TransparentColor,
                              TBitmap* Bitmap, const TRect& SourceRect) {
  StretchBitmapWithTransparency(Canvas, X, Y, SourceRect.Width(), SourceRect.Height(), Bitmap,
                                SourceRect.Left, SourceRect.Top, SourceRect.Width(),
                                SourceRect.Height(), TransparentColor);
}

bool PointInRectInclusive(TPoint P, const TRect& R) {
  return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}

void RegisterRxCursors() {
  Screen->SetCursors(crRxHand, LoadCursor(nullptr, IDC_HAND));
  Screen->SetCursors(crRxDrag, Screen->Cursors(crDrag));
}
