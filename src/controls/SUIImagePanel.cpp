#include "controls/SUIImagePanel.h"

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/GdiExtras.h"

TsuiCustomPanel::TsuiCustomPanel(TComponent* AOwner)
    : TCustomPanel(AOwner), FPicture(std::make_unique<TPicture>()) {
  FPicture->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
  SetBevelInner(bvNone);
  SetBevelOuter(bvNone);
  Repaint();
}

TsuiCustomPanel::~TsuiCustomPanel() { FPicture->OnChange = nullptr; }

void TsuiCustomPanel::SetPicture(TPicture* Value) {
  FPicture->Assign(Value);
  ApplyColor();
  Repaint();
}

void TsuiCustomPanel::SetDrawStyle(TsuiDrawStyle Value) {
  FDrawStyle = Value;
  ApplyColor();
  Repaint();
}

void TsuiCustomPanel::SetAutoSize(bool Value) {
  FAutoSize = Value;
  if (FPicture->Graphic()) FitToPicture();
}

void TsuiCustomPanel::SetTransparent(bool Value) {
  FTransparent = Value;
  if (TGraphic* g = FPicture->Graphic()) g->SetTransparent(Value);
  Repaint();
}

void TsuiCustomPanel::PictureChanged(TObject*) {
  if (TGraphic* g = FPicture->Graphic()) {
    FitToPicture();
    if (g->Transparent() != FTransparent) g->SetTransparent(FTransparent);
  }
  ApplyColor();
  Repaint();
}

void TsuiCustomPanel::FitToPicture() {
  if (!FAutoSize) return;
  const int w = FPicture->Width(), h = FPicture->Height();
  switch (Align()) {
    case alNone:
    case alCustom: SetBounds(Left(), Top(), w, h); break;
    case alLeft:
    case alRight: SetWidth(w); break;
    case alTop:
    case alBottom: SetHeight(h); break;
    case alClient: break;
  }
}

void TsuiCustomPanel::ApplyColor() {
  Canvas()->Brush()->SetColor(Color());
  // A panel placed in a window of another program paints its own ground.
  if (!Parent() && ParentWindow() && HandleAllocated()) Canvas()->FillRect(ClientRect());
}

void TsuiCustomPanel::Resize() {
  TCustomPanel::Resize();
  Repaint();
}

void TsuiCustomPanel::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED) {
    CaptionAreaChanged(FCaptionRect);
    Repaint();
    return;
  }
  TCustomPanel::Dispatch(Message);
}

void TsuiCustomPanel::WMEraseBkgnd(TMessage& Message) {
  // The painting covers everything; erasing first would only flicker.
  if (FEraseBackground) TCustomPanel::WMEraseBkgnd(Message);
  else Message.Result = 1;
}

void TsuiCustomPanel::Paint() {
  TBitmap b;
  b.SetSize(Width(), Height());
  TCanvas* c = b.Canvas();
  const TRect client = ClientRect();
  if (FTransparent) PaintParentBackground(c, this);
  if (FPicture->Graphic()) {
    switch (FDrawStyle) {
      case suiStretch: c->StretchDraw(client, FPicture->Graphic()); break;
      case suiTile: TilePicture(c, FPicture.get(), client); break;
      case suiNormal: c->Draw(0, 0, FPicture->Graphic()); break;
    }
  } else if (!FTransparent) {
    c->Brush()->SetColor(Color());
    c->FillRect(client);
  }
  c->Brush()->SetStyle(bsClear);
  const std::string caption = Caption();
  if (!Trim(caption).empty()) {
    c->SetFont(Font());
    UINT flags = DT_SINGLELINE | DT_VCENTER;
    if (Alignment() == taRightJustify) flags |= DT_RIGHT;
    else if (Alignment() == taCenter) flags |= DT_CENTER;
    RECT r = client;
    HDC dc = c->Handle();
    HGDIOBJ old = SelectObject(dc, c->Font()->Handle());
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    const int mode = SetBkMode(dc, TRANSPARENT);
    DrawText(dc, caption, -1, &r, flags);
    SetBkMode(dc, mode);
    SelectObject(dc, old);
    FCaptionRect = client;
  }
  Canvas()->Draw(0, 0, &b);
}

void PaintParentBackground(TCanvas* Canvas, TControl* Control) {
  TWinControl* parent = Control->Parent();
  if (!parent) return;
  HDC dc = Canvas->Handle();
  const int saved = SaveDC(dc);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - Control->Left(), origin.y - Control->Top(), nullptr);
  const TRect area = parent->ClientRect();
  IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
  parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
  parent->Perform(WM_PAINT, WPARAM(dc), 0);
  RestoreDC(dc, saved);
}

void TilePicture(TCanvas* Canvas, TPicture* Picture, const TRect& Rect) {
  TGraphic* g = Picture->Graphic();
  const int w = Picture->Width(), h = Picture->Height();
  if (!g || w <= 0 || h <= 0) return;
  for (int y = 0; y < Rect.Height() + h; y += h)
    for (int x = 0; x < Rect.Width() + w; x += w) Canvas->Draw(x, y, g);
}

void RegisterSUIImagePanelClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterExtControlClasses();
  RegisterPictureClasses();
  RegisterEnumNames<TsuiDrawStyle>({"suiNormal", "suiStretch", "suiTile"});
  RegisterClass<TsuiCustomPanel, TCustomPanel>();
  RegisterClass<TsuiImagePanel, TsuiCustomPanel>();
  Published<TsuiImagePanel>()
      .Property("Picture", &TsuiImagePanel::Picture, &TsuiImagePanel::SetPicture)
      .Property("Transparent", &TsuiImagePanel::Transparent, &TsuiImagePanel::SetTransparent).Default(0)
      .Property("AutoSize", &TsuiImagePanel::AutoSize, &TsuiImagePanel::SetAutoSize).Default(0)
      .Property("DrawStyle", &TsuiImagePanel::DrawStyle, &TsuiImagePanel::SetDrawStyle).Default(suiNormal);
}
