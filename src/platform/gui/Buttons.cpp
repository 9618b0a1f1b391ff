// The speed button: painted on its parent in the classic raised, pressed and flat looks.
#include "platform/gui/Buttons.h"

#include <QImage>
#include <algorithm>

#include "platform/gui/Pictures.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/TypInfo.h"

void LayoutGlyphAndText(const TRect& Client, TSize GlyphSize, TSize TextSize, TButtonLayout Layout,
                        int Margin, int Spacing, int Offset, TPoint& GlyphPos, TPoint& TextPos) {
  int w = Client.Width(), h = Client.Height();
  int gw = GlyphSize.cx, gh = GlyphSize.cy, tw = TextSize.cx, th = TextSize.cy;
  bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  if (horizontal) GlyphPos.Y = (h - gh + 1) / 2;
  else GlyphPos.X = (w - gw + 1) / 2;
  if (tw == 0 || gw == 0) Spacing = 0;
  int extent = horizontal ? w : h;
  int glyphExtent = horizontal ? gw : gh, textExtent = horizontal ? tw : th;
  if (Margin == -1) {
    if (Spacing == -1) {
      Margin = (extent - (glyphExtent + textExtent)) / 3;
      Spacing = Margin;
    } else {
      Margin = (extent - (glyphExtent + Spacing + textExtent)) / 2;
    }
  } else if (Spacing == -1) {
    Spacing = (extent - (Margin + glyphExtent + textExtent)) / 2;
  }
  switch (Layout) {
    case blGlyphLeft: GlyphPos.X = Margin; break;
    case blGlyphRight: GlyphPos.X = w - Margin - gw; break;
    case blGlyphTop: GlyphPos.Y = Margin; break;
    case blGlyphBottom: GlyphPos.Y = h - Margin - gh; break;
  }
  if (horizontal) TextPos.Y = (h - th) / 2;
  else TextPos.X = (w - tw) / 2;
  switch (Layout) {
    case blGlyphLeft: TextPos.X = GlyphPos.X + gw + Spacing; break;
    case blGlyphRight: TextPos.X = GlyphPos.X - Spacing - tw; break;
    case blGlyphTop: TextPos.Y = GlyphPos.Y + gh + Spacing; break;
    case blGlyphBottom: TextPos.Y = GlyphPos.Y - Spacing - th; break;
  }
  TPoint shift(Client.Left + Offset, Client.Top + Offset);
  GlyphPos = GlyphPos + shift;
  TextPos = TextPos + shift;
}

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  FControlStyle = {csCaptureMouse, csDoubleClicks};
  FGlyph->OnChange = [this](TObject* s) { GlyphChanged(s); };
  SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::GlyphChanged(TObject*) { Invalidate(); }

void TSpeedButton::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::clamp(Value, 1, 4);
  if (FNumGlyphs == Value) return;
  FNumGlyphs = Value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TSpeedButton::SetMargin(int Value) {
  if (FMargin == Value || Value < -1) return;
  FMargin = Value;
  Invalidate();
}

void TSpeedButton::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}

void TSpeedButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  InvalidateControl(Visible(), false);
}

void TSpeedButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  InvalidateControl(Visible(), false);
}

void TSpeedButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  // The down button of a group that must keep one down stays down.
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  if (Value) {
    if (FState == bsUp) Invalidate();
    FState = bsExclusive;
  } else {
    FState = bsUp;
    Invalidate();
  }
  if (Value) UpdateExclusive();
}

// The other buttons of the group go up and share the group's all-up rule.
void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !Parent()) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
    if (!b || b == this || b->FGroupIndex != FGroupIndex) continue;
    b->FAllowAllUp = FAllowAllUp;
    if (FDown && b->FDown) {
      b->FDown = false;
      b->FState = bsUp;
      b->Invalidate();
    }
  }
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  if (!FDown) {
    FState = bsDown;
    Invalidate();
  }
  FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  bool inside = ClientRect().Contains({X, Y});
  TButtonState state = FDown ? bsExclusive : (inside ? bsDown : bsUp);
  if (state == FState) return;
  FState = state;
  Invalidate();
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging) return;
  FDragging = false;
  bool click = ClientRect().Contains({X, Y});
  if (FGroupIndex == 0) {
    FState = bsUp;
    Invalidate();
  } else if (click) {
    SetDown(!FDown);
    if (FDown) Invalidate();
  } else {
    if (FDown) FState = bsExclusive;
    Invalidate();
  }
  if (click) Click();
}

void TSpeedButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // LParam names a child control; a speed button has none.
      if (m.LParam == 0) {
        FMouseInControl = m.Msg == CM_MOUSEENTER;
        if (FFlat && Enabled()) InvalidateControl(Visible(), false);
      }
      break;
    case CM_ENABLEDCHANGED:
      FState = !Enabled() ? bsDisabled : FDown ? bsExclusive : bsUp;
      FDragging = false;
      InvalidateControl(Visible(), false);
      break;
  }
  TGraphicControl::Dispatch(m);
}

void TSpeedButton::CalcLayout(TSize GlyphSize, TPoint& GlyphPos, TPoint& TextPos) {
  TSize text{0, 0};
  if (!Caption().empty()) {
    TRect r = MeasureControlText(Font(), Caption(), ClientRect(), 0);
    text = TSize{r.Width(), r.Height()};
  }
  int offset = (FState == bsDown || FState == bsExclusive) ? 1 : 0;
  LayoutGlyphAndText(ClientRect(), GlyphSize, text, FLayout, FMargin, FSpacing, offset, GlyphPos, TextPos);
}

void TSpeedButton::DrawGlyph(TPoint At) {
  if (FGlyph->Empty()) return;
  int count = std::min(FNumGlyphs, std::max(FGlyph->Width(), 1));
  int gw = FGlyph->Width() / count, gh = FGlyph->Height();
  int index = 0;
  switch (FState) {
    case bsUp: index = 0; break;
    case bsDisabled: index = count > 1 ? 1 : 0; break;
    case bsDown: index = count > 2 ? 2 : 0; break;
    case bsExclusive: index = count > 3 ? 3 : 0; break;
  }
  QImage strip = FGlyph->ToImage();
  QImage glyph = strip.copy(index * gw, 0, gw, gh).convertToFormat(QImage::Format_ARGB32);
  TColor key = ColorToRGB(FGlyph->TransparentColor());
  QRgb k = qRgb(GetRValue(key), GetGValue(key), GetBValue(key)) & 0xFFFFFF;
  bool engrave = FState == bsDisabled && count < 2;
  TColor light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  QImage lit = glyph;
  for (int y = 0; y < gh; ++y) {
    auto* px = reinterpret_cast<QRgb*>(glyph.scanLine(y));
    auto* lx = reinterpret_cast<QRgb*>(lit.scanLine(y));
    for (int x = 0; x < gw; ++x) {
      bool keyed = (px[x] & 0xFFFFFF) == k;
      if (keyed) {
        px[x] = lx[x] = 0;
      } else if (engrave) {
        // A disabled glyph without its own image: its shape engraved in the face colours.
        px[x] = qRgb(GetRValue(dark), GetGValue(dark), GetBValue(dark));
        lx[x] = qRgb(GetRValue(light), GetGValue(light), GetBValue(light));
      }
    }
  }
  if (engrave) DrawImageOnCanvas(Canvas(), Bounds(At.X + 1, At.Y + 1, gw, gh), lit);
  DrawImageOnCanvas(Canvas(), Bounds(At.X, At.Y, gw, gh), glyph);
}

void TSpeedButton::Paint() {
  if (!Enabled()) {
    FState = bsDisabled;
    FDragging = false;
  } else if (FState == bsDisabled) {
    FState = FDown ? bsExclusive : bsUp;
  }
  TCanvas* c = Canvas();
  HDC dc = c->Handle();
  TRect client = ClientRect();
  bool pressed = FState == bsDown || FState == bsExclusive;
  if (!FFlat) {
    RECT r = client;
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  } else {
    if (!FTransparent) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(Color());
      c->FillRect(client);
    }
    if (pressed || (FMouseInControl && FState != bsDisabled)) {
      RECT r = client;
      DrawEdge(dc, &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
  }
  if (FState == bsExclusive && !(FFlat && FMouseInControl)) {
    // A button that stays down shows a checked face of the face and highlight colours.
    TRect face = client.Inflate(FFlat ? -1 : -2, FFlat ? -1 : -2);
    if (!face.IsEmpty()) {
      TColor a = ColorToRGB(clBtnFace), b = ColorToRGB(clBtnHighlight);
      QImage checks(face.Width(), face.Height(), QImage::Format_RGB32);
      for (int y = 0; y < checks.height(); ++y)
        for (int x = 0; x < checks.width(); ++x) {
          TColor v = ((x + y + face.Left + face.Top) & 1) ? b : a;
          checks.setPixel(x, y, qRgb(GetRValue(v), GetGValue(v), GetBValue(v)));
        }
      DrawImageOnCanvas(c, face, checks);
    }
  }
  int count = std::max(1, FNumGlyphs);
  TSize glyphSize{FGlyph->Empty() ? 0 : FGlyph->Width() / count, FGlyph->Empty() ? 0 : FGlyph->Height()};
  TPoint glyphPos, textPos;
  CalcLayout(glyphSize, glyphPos, textPos);
  DrawGlyph(glyphPos);
  std::string caption = Caption();
  if (caption.empty()) return;
  c->Font()->Assign(Font());
  TRect r = MeasureControlText(Font(), caption, client, 0).Offset(textPos.X, textPos.Y);
  r.Right = std::max(r.Right, r.Left);
  if (FState == bsDisabled) {
    TRect lit = r.Offset(1, 1);
    c->Font()->SetColor(clBtnHighlight);
    DrawControlText(c, caption, lit, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    c->Font()->SetColor(clBtnShadow);
  }
  DrawControlText(c, caption, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void RegisterButtonClasses() {
  static const bool done = [] {
    RegisterControlClasses();
    RegisterEnumNames<TButtonLayout>({"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
    RegisterClass<TSpeedButton, TGraphicControl>();
    Published<TSpeedButton>()
        .Property("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false)
        .Property("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0)
        .Property("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(false)
        .Property("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption)
        .Property("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(false)
        .Property("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout).Default(blGlyphLeft)
        .Property("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1)
        .Property("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1)
        .Property("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4)
        .Property("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent).Default(true);
    return true;
  }();
  (void)done;
}
