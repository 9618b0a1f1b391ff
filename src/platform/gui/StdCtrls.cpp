// Standard controls: labels, and the text drawing they share with the painted controls.
#include "platform/gui/StdCtrls.h"

#include <QString>
#include <algorithm>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Buttons.h"
#include "platform/rtl/TypInfo.h"

int DrawControlText(TCanvas* Canvas, const std::string& Text, TRect& Rect, UINT Flags) {
  HDC dc = Canvas->Handle();
  HGDIOBJ oldFont = SelectObject(dc, Canvas->Font()->Handle());
  COLORREF oldColor = SetTextColor(dc, COLORREF(ColorToRGB(Canvas->Font()->Color())));
  int oldMode = SetBkMode(dc, TRANSPARENT);
  RECT r = Rect;
  int h = DrawText(dc, Text, -1, &r, Flags);
  Rect = r;
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColor);
  SelectObject(dc, oldFont);
  return h;
}

TRect MeasureControlText(TFont* Font, const std::string& Text, TRect Rect, UINT Flags) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font->Handle());
  RECT r = Rect;
  DrawText(dc, Text, -1, &r, Flags | DT_CALCRECT);
  SelectObject(dc, old);
  DeleteDC(dc);
  return r;
}

bool IsAccel(char32_t Key, const std::string& Caption) {
  QString text = QString::fromStdString(Caption);
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    QString key = QString::fromUcs4(&Key, 1);
    return text.mid(i + 1, 1).compare(key, Qt::CaseInsensitive) == 0;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csOpaque);
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  AdjustBounds();
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool Value) {
  if (Transparent() == Value) return;
  if (Value) FControlStyle.Exclude(csOpaque);
  else FControlStyle.Include(csOpaque);
  // The parent repaints what lies behind.
  InvalidateControl(Visible(), false);
}

void TCustomLabel::SetShowAccelChar(bool Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

UINT TCustomLabel::TextFlags() const {
  static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT flags = DT_EXPANDTABS | kAlign[int(FAlignment)];
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  return flags;
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || ComponentState().Contains(csLoading)) return;
  std::string text = Caption();
  // An empty caption still keeps one line's height.
  if (text.empty() || (FShowAccelChar && text == "&")) text += ' ';
  TRect r = MeasureControlText(Font(), text, Rect(0, 0, FWordWrap ? Width() : 0, 0), TextFlags());
  int x = Left();
  if (FAlignment == taRightJustify) x += Width() - r.Width();
  SetBounds(x, Top(), r.Width(), r.Height());
}

void TCustomLabel::Paint() {
  TCanvas* c = Canvas();
  TRect client = ClientRect();
  if (!Transparent()) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(client);
  }
  std::string text = Caption();
  UINT flags = TextFlags();
  TRect r = client;
  if (FLayout != tlTop) {
    TRect need = MeasureControlText(Font(), text, client, flags);
    int dy = client.Height() - need.Height();
    r.Top += FLayout == tlCenter ? dy / 2 : dy;
  }
  c->Font()->Assign(Font());
  if (!Enabled()) {
    // The classic engraved look: a highlight one pixel down and right, the shadow over it.
    TRect lit = r.Offset(1, 1);
    c->Font()->SetColor(clBtnHighlight);
    DrawControlText(c, text, lit, flags);
    c->Font()->SetColor(clBtnShadow);
  }
  DrawControlText(c, text, r, flags);
}

void TCustomLabel::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_DIALOGCHAR:
      if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(char32_t(m.WParam), Caption()) &&
          FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        m.Result = 1;
        return;
      }
      break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TGraphicControl::Dispatch(m);
      AdjustBounds();
      return;
  }
  TGraphicControl::Dispatch(m);
}

// ---------------------------------------------------------------------------------------------

void RegisterStdControlClasses() {
  static const bool done = [] {
    RegisterControlClasses();
    RegisterEnumNames<TAlignment>({"taLeftJustify", "taRightJustify", "taCenter"});
    RegisterEnumNames<TTextLayout>({"tlTop", "tlCenter", "tlBottom"});
    RegisterClass<TCustomLabel, TGraphicControl>();
    RegisterClass<TLabel, TCustomLabel>();
    Published<TCustomLabel>()
        .Property("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment).Default(taLeftJustify)
        .Property("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default(true)
        .Property("Caption", &TCustomLabel::Caption, &TCustomLabel::SetCaption)
        .Property("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl)
        .Property("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout).Default(tlTop)
        .Property("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar).Default(true)
        .Property("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent).Default(false)
        .Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default(false);
    return true;
  }();
  (void)done;
}
