// The popup window, the drag image window and the size frame.
#include <algorithm>

#include "suite/core/cxControls.h"

// ---- popup window

TcxPopupWindow::TcxPopupWindow() : TForm(nullptr) {
  SetBorderStyle(bsNone);
  SetDefaultMonitor(dmDesktop);
  SetFormStyle(fsStayOnTop);
  SetPaintsItself(true);
  FcxCanvas = std::make_unique<TcxCanvas>(Canvas());
}

TcxPopupWindow::~TcxPopupWindow() = default;

int TcxPopupWindow::FrameWidth(int) {
  switch (FFrameStyle) {
    case 1:
    case 2: return 1;
    case 3: return 2;
    default: return 0;
  }
}

TRect TcxPopupWindow::InnerBounds() {
  TRect r = ClientRect();
  return TRect(r.Left + SideBorderWidth(0), r.Top + SideBorderWidth(1), r.Right - SideBorderWidth(2),
               r.Bottom - SideBorderWidth(3));
}

TRect TcxPopupWindow::OwnerScreenBounds() {
  TControl* parent = FOwnerParent.get();
  if (!parent) return FOwnerBounds;
  return TRect(parent->ClientToScreen(FOwnerBounds.TopLeft()), parent->ClientToScreen(FOwnerBounds.BottomRight()));
}

void TcxPopupWindow::InitPopup() {
  if (TControl* parent = FOwnerParent.get()) Font()->Assign(parent->Font());
}

TPoint TcxPopupWindow::CalculatePosition() {
  const TRect r = OwnerScreenBounds();
  TcxPopupAlignHorz horz = FAlignHorz;
  TcxPopupAlignVert vert = FAlignVert;
  const int w = Width(), h = Height();
  int x = 0, y = 0;
  if (horz == pahCenter) x = (r.Left + r.Right - w) / 2;
  if (vert == pavCenter) y = (r.Top + r.Bottom - h) / 2;
  auto placeX = [&] {
    if (FDirection == pdVertical) {
      if (horz == pahLeft) x = r.Left;
      else if (horz == pahRight) x = r.Right - w;
    } else {
      if (horz == pahLeft) x = r.Left - w;
      else if (horz == pahRight) x = r.Right;
    }
  };
  auto placeY = [&] {
    if (FDirection == pdVertical) {
      if (vert == pavTop) y = r.Top - h;
      else if (vert == pavBottom) y = r.Bottom;
    } else {
      if (vert == pavTop) y = r.Top;
      else if (vert == pavBottom) y = r.Bottom - h;
    }
  };
  placeX();
  placeY();
  const TRect area = DesktopWorkAreaAt(TPoint(x, y));
  if (FDirection == pdVertical) {
    bool moreRoomAbove = area.Bottom - r.Bottom < r.Top - area.Top;
    if (vert == pavBottom && area.Bottom < y + h) {
      if (moreRoomAbove) vert = pavTop;
    } else if (vert == pavTop && y < area.Top) {
      if (!moreRoomAbove) vert = pavBottom;
    }
    placeY();
  } else {
    bool moreRoomLeft = area.Right - r.Right < r.Left - area.Left;
    if (horz == pahRight && area.Right < x + w) {
      if (moreRoomLeft) horz = pahLeft;
    } else if (horz == pahLeft && x < area.Left) {
      if (!moreRoomLeft) horz = pahRight;
    }
    placeX();
  }
  if (FDirection == pdVertical || horz == pahCenter) {
    if (x + w > area.Right) x = area.Right - w;
    if (x < area.Left) x = area.Left;
  }
  if (FDirection == pdHorizontal || vert == pavCenter) {
    if (y + h > area.Bottom) y = area.Bottom - h;
    if (y < area.Top) y = area.Top;
  }
  return TPoint(x, y);
}

void TcxPopupWindow::CalculateSize() {
  if (!FAdjustable) return;
  const TPoint inset(SideBorderWidth(0), SideBorderWidth(1));
  int right = 0, bottom = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    right = std::max(right, c->Left() + c->Width() - FChildOffset.X);
    bottom = std::max(bottom, c->Top() + c->Height() - FChildOffset.Y);
    c->SetBounds(c->Left() + inset.X - FChildOffset.X, c->Top() + inset.Y - FChildOffset.Y, c->Width(), c->Height());
  }
  FChildOffset = inset;
  if (ControlCount() > 0 || right != 0) SetWidth(inset.X + right + SideBorderWidth(2));
  if (ControlCount() > 0 || bottom != 0) SetHeight(inset.Y + bottom + SideBorderWidth(3));
}

void TcxPopupWindow::Popup() {
  InitPopup();
  CalculateSize();
  TPoint p = CalculatePosition();
  SetLeft(p.X);
  SetTop(p.Y);
  Show();
}

void TcxPopupWindow::DrawFrame() {
  const TRect r(0, 0, Width(), Height());
  switch (FFrameStyle) {
    case 1: FcxCanvas->DrawTwoToneFrame(r, FFrameColor, FFrameColor, cxBordersAll, 1); break;
    case 2: FcxCanvas->DrawTwoToneFrame(r, clBtnHighlight, clBtnShadow, cxBordersAll, 1); break;
    case 3:
      FcxCanvas->DrawTwoToneFrame(r, cl3DLight, cl3DDkShadow, cxBordersAll, 1);
      FcxCanvas->DrawTwoToneFrame(r.Inflate(-1, -1), clBtnHighlight, clBtnShadow, cxBordersAll, 1);
      break;
    default: break;
  }
}

void TcxPopupWindow::Paint() {
  TForm::Paint();
  DrawFrame();
}

void TcxPopupWindow::Deactivate() {
  TForm::Deactivate();
  ClosePopup();
}

void TcxPopupWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE:
      if (LOWORD(Message.WParam) != WA_INACTIVE) {
        // The window losing the activation keeps its caption active while the popup is open.
        FPrevActiveWindow = reinterpret_cast<HWND>(Message.LParam);
        if (FPrevActiveWindow) SendMessage(FPrevActiveWindow, WM_NCACTIVATE, 1, 0);
      }
      break;
    case WM_ACTIVATEAPP:
      if (Message.WParam == 0) {
        if (FPrevActiveWindow && IsWindow(FPrevActiveWindow)) SendMessage(FPrevActiveWindow, WM_NCACTIVATE, 0, 0);
        ClosePopup();
      }
      break;
    case CM_VISIBLECHANGED:
      TForm::Dispatch(Message);
      VisibleChanged();
      return;
    default: break;
  }
  TForm::Dispatch(Message);
}

// ---- drag image

TcxCustomDragImage::TcxCustomDragImage() {
  SetBounds(0, 0, 0, 0);
  SetAlphaBlend(true);
  SetAlphaBlendValue(180);
}

void TcxCustomDragImage::CreateParams(TCreateParams& Params) {
  TcxPopupWindow::CreateParams(Params);
  if (TCustomForm* parent = PopupParent())
    Params.WndParent = parent->Handle();
  else if (TWinControl* active = Screen->ActiveForm(); active && active != this)
    Params.WndParent = active->Handle();
}

void TcxCustomDragImage::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_NCHITTEST: Message.Result = HTTRANSPARENT; return;
    default: TcxPopupWindow::Dispatch(Message);
  }
}

void TcxCustomDragImage::ShowWithCommand(int Cmd) {
  ShowWindow(Handle(), Cmd);
  Update();
}

// ---- size frame

TcxSizeFrame::TcxSizeFrame(int AFrameWidth) : FFrameWidth(AFrameWidth) {
  SetAlphaBlend(false);
  FRegion.reset(TcxRegion::CreateEmpty());
  // Black, white where row and column are both even or both odd.
  uint32_t bits[64];
  for (int row = 0; row < 8; ++row)
    for (int col = 0; col < 8; ++col) bits[row * 8 + col] = (row + col) % 2 == 0 ? 0x00FFFFFFu : 0u;
  FPatternBitmap = CreateBitmap(8, 8, 1, 32, bits);
  FPatternBrush = CreatePatternBrush(FPatternBitmap);
}

TcxSizeFrame::~TcxSizeFrame() {
  DeleteObject(FPatternBrush);
  DeleteObject(FPatternBitmap);
}

void TcxSizeFrame::PlaceOverRect(const TRect& R) {
  FRegion.reset(TcxRegion::CreateFromBounds(0, 0, R.Width(), R.Height()));
  SetBounds(R.Left, R.Top, R.Width(), R.Height());
}

void TcxSizeFrame::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TcxCustomDragImage::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (!HandleAllocated() || !FRegion || 2 * FFrameWidth >= AWidth || 2 * FFrameWidth >= AHeight) return;
  if (!FFillSelection) {
    auto inner = std::unique_ptr<TcxRegion>(TcxRegion::CreateEmpty());
    inner->CombineWith(FRegion.get(), RegionCopy, false);
    const TPoint shifts[] = {{FFrameWidth, 0}, {0, FFrameWidth}, {-FFrameWidth, 0}, {0, -FFrameWidth}};
    for (TPoint d : shifts) {
      auto shifted = std::unique_ptr<TcxRegion>(TcxRegion::CreateEmpty());
      shifted->CombineWith(inner.get(), RegionCopy, false);
      shifted->OffsetByPoint(d);
      inner->CombineWith(shifted.release(), RegionIntersection);
    }
    FRegion->CombineWith(inner.release(), RegionDifference);
  }
  HRGN current = CreateRectRgn(0, 0, 0, 0);
  bool hasRegion = GetWindowRgn(Handle(), current) != ERROR;
  if (!hasRegion || !FRegion->IsEqualToHandle(current)) {
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(copy, FRegion->Handle(), nullptr, RGN_COPY);
    SetWindowRgn(Handle(), copy, TRUE);
  }
  DeleteObject(current);
}

void TcxSizeFrame::Paint() {
  RECT r = ClientRect();
  FillRect(Canvas()->Handle(), &r, FPatternBrush);
}
