#include "controls/spUtils.h"

#include "platform/gui/CustomForms.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Modules.h"
#include "platform/win/Messages.h"

namespace {

std::vector<int> ParseFields(const std::string& Text, size_t Count) {
  std::vector<std::string> fields(1);
  for (char c : Text) {
    if (c == ',') {
      fields.emplace_back();
    } else if (c >= '0' && c <= '9') {
      fields.back() += c;
    }
  }
  if (fields.size() < Count) throw EConvertError("'' is not a valid integer value");
  std::vector<int> out;
  for (size_t i = 0; i < Count; ++i) out.push_back(StrToInt(fields[i]));
  return out;
}

const char* const kStyleWords[] = {"fsbold", "fsitalic", "fsunderline", "fsstrikeout"};
const TFontStyle kStyles[] = {TFontStyle::fsBold, TFontStyle::fsItalic, TFontStyle::fsUnderline,
                              TFontStyle::fsStrikeOut};

}  // namespace

TRect ParseRect(const std::string& Text) {
  auto f = ParseFields(Text, 4);
  return {f[0], f[1], f[2], f[3]};
}

TPoint ParsePoint(const std::string& Text) {
  auto f = ParseFields(Text, 2);
  return {f[0], f[1]};
}

TRect ReadSkinRect(TCustomIniFile* Ini, const std::string& Section, const std::string& Key) {
  return ParseRect(Ini->ReadString(Section, Key, "0,0,0,0"));
}

TPoint ReadSkinPoint(TCustomIniFile* Ini, const std::string& Section, const std::string& Key) {
  return ParsePoint(Ini->ReadString(Section, Key, "0,0"));
}

bool ReadSkinBool(TCustomIniFile* Ini, const std::string& Section, const std::string& Key) {
  return Ini->ReadInteger(Section, Key, 0) == 1;
}

TFontStyles ReadSkinFontStyle(TCustomIniFile* Ini, const std::string& Section, const std::string& Key) {
  std::string v = Ini->ReadString(Section, Key, "");
  TFontStyles s;
  for (int i = 0; i < 4; ++i)
    if (v.find(kStyleWords[i]) != std::string::npos) s.Include(kStyles[i]);
  return s;
}

TspAlignment ReadSkinAlignment(TCustomIniFile* Ini, const std::string& Section, const std::string& Key) {
  std::string v = Ini->ReadString(Section, Key, "tacenter");
  if (v == "tacenter") return 2;
  if (v == "taleftjustify") return 0;
  return 1;
}

void ReadSkinStringList(TCustomIniFile* Ini, const std::string& Section, const std::string& Key,
                        TStrings* List) {
  int count = Ini->ReadInteger(Section, Key + "count", 0);
  for (int i = 0; i < count; ++i) List->Add(Ini->ReadString(Section, IntToStr(i), ""));
}

void ReadSkinLines(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, TStrings* List) {
  int count = Ini->ReadInteger(Section, Key + "linecount", 0);
  for (int i = 0; i < count; ++i) List->Add(Ini->ReadString(Section, Key + "line" + IntToStr(i), ""));
}

void WriteSkinRect(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, const TRect& R) {
  Ini->WriteString(Section, Key,
                   IntToStr(R.Left) + "," + IntToStr(R.Top) + "," + IntToStr(R.Right) + "," + IntToStr(R.Bottom));
}

void WriteSkinPoint(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, TPoint P) {
  Ini->WriteString(Section, Key, IntToStr(P.X) + "," + IntToStr(P.Y));
}

void WriteSkinBool(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, bool B) {
  Ini->WriteInteger(Section, Key, B ? 1 : 0);
}

void WriteSkinFontStyle(TCustomIniFile* Ini, const std::string& Section, const std::string& Key,
                        TFontStyles S) {
  std::string v;
  for (int i = 0; i < 4; ++i)
    if (S.Contains(kStyles[i])) v += (v.empty() ? "" : ",") + std::string(kStyleWords[i]);
  Ini->WriteString(Section, Key, v);
}

void WriteSkinAlignment(TCustomIniFile* Ini, const std::string& Section, const std::string& Key,
                        TspAlignment A) {
  Ini->WriteString(Section, Key, A == 2 ? "tacenter" : A == 1 ? "tarightjustify" : "taleftjustify");
}

void WriteSkinStringList(TCustomIniFile* Ini, const std::string& Section, const std::string& Key,
                         TStrings* List) {
  Ini->WriteInteger(Section, Key + "count", List->Count());
  for (int i = 0; i < List->Count(); ++i) Ini->WriteString(Section, IntToStr(i), List->Strings(i));
}

void WriteSkinLines(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, TStrings* List) {
  Ini->WriteInteger(Section, Key + "linecount", List->Count());
  for (int i = 0; i < List->Count(); ++i) Ini->WriteString(Section, Key + "line" + IntToStr(i), List->Strings(i));
}

bool IsWindows2000OrLater() {
  const TOSVersion& v = OSVersion();
  return v.Major > 5 || (v.Major == 5 && v.Minor <= 2);
}

void DrawFocusFrame(TCanvas* Canvas, const TRect& R) {
  int l = R.Left, t = R.Top, r = R.Right - 1, b = R.Bottom - 1;
  if (r < l || b < t) return;
  TColor c = Canvas->Font()->Color();
  // The dots run clockwise; each corner keeps the state of the edge that reached it.
  bool on = !((r - l) % 2 == 0 && (b - t) % 2 == 0);
  auto put = [&](int x, int y) {
    if (on) Canvas->SetPixel(x, y, c);
  };
  for (int x = l; x <= r; ++x, on = !on) put(x, t);
  on = !on;
  for (int y = t; y <= b; ++y, on = !on) put(r, y);
  on = !on;
  for (int x = r; x >= l; --x, on = !on) put(x, b);
  on = !on;
  for (int y = b; y >= t; --y, on = !on) put(l, y);
}

void CalcGlyphCaptionLayout(TspButtonLayout Layout, const TRect& R, int gw, int gh, int tw, int th, int Margin,
                            int Spacing, TPoint& G, TPoint& T) {
  int W = R.Width(), H = R.Height();
  int cx = R.Left + W / 2, cy = R.Top + H / 2;
  if (gw == 0) Spacing = 0;
  int gx0 = cx - gw / 2, tx0 = cx - tw / 2, ty0 = cy - th / 2, gy0 = cy - gh / 2;
  if (Margin != -1) {
    switch (Layout) {
      case TspButtonLayout::blGlyphLeft:
        G = {R.Left + Margin, gy0};
        T = {R.Left + Margin + gw + Spacing, ty0};
        break;
      case TspButtonLayout::blGlyphRight:
        G = {R.Right - gw - Margin, gy0};
        T = {G.X - Spacing - tw, ty0};
        break;
      case TspButtonLayout::blGlyphTop:
        G = {gx0, R.Top + Margin};
        T = {tx0, G.Y + gh + Spacing};
        break;
      case TspButtonLayout::blGlyphBottom:
        G = {gx0, R.Bottom - gh - Margin};
        T = {tx0, G.Y - Spacing - th};
        break;
    }
    return;
  }
  int hw = (gw + tw + Spacing) / 2, hh = (gh + th + Spacing) / 2;
  switch (Layout) {
    case TspButtonLayout::blGlyphLeft:
      G = {cx - hw, gy0};
      T = {cx + hw - tw, ty0};
      break;
    case TspButtonLayout::blGlyphRight:
      T = {cx - hw, ty0};
      G = {cx + hw - gw, gy0};
      break;
    case TspButtonLayout::blGlyphTop:
      G = {gx0, cy - hh};
      T = {tx0, cy + hh - th};
      break;
    case TspButtonLayout::blGlyphBottom:
      G = {gx0, cy + hh - gh};
      T = {tx0, cy - hh};
      break;
  }
}

void DrawImageListGlyphAndCaption(TCanvas* Canvas, const TRect& R, int Margin, TColor MarkerColor,
                                  bool DrawMarker, bool Enabled, bool Pressed, TCustomImageList* Images,
                                  int ImageIndex, const std::string& Caption, TspButtonLayout Layout,
                                  int Spacing) {
  int gw = 0, gh = 0;
  if (Images && ImageIndex >= 0 && ImageIndex < Images->Count()) {
    gw = Images->Width();
    gh = Images->Height();
  }
  int tw = 0, th = 0;
  bool horizontal = Layout == TspButtonLayout::blGlyphLeft || Layout == TspButtonLayout::blGlyphRight;
  SelectCanvasText(Canvas);
  if (!Caption.empty()) {
    RECT box{0, 0, R.Width() - (horizontal ? gw : 0), R.Height() - (horizontal ? 0 : gh)};
    DrawText(Canvas->Handle(), Caption, -1, &box, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    tw = box.right - box.left;
    th = box.bottom - box.top;
  }
  Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
  SetBkMode(Canvas->Handle(), TRANSPARENT);
  TPoint g, t;
  CalcGlyphCaptionLayout(Layout, R, gw, gh, tw, th, Margin, Spacing, g, t);
  if (Pressed) {
    g = g + TPoint(1, 1);
    t = t + TPoint(1, 1);
  }
  TRect textBox(t.X, t.Y, t.X + tw, t.Y + th);
  if (!Caption.empty()) {
    if (Canvas->Font()->Height() % 2 != 0) textBox.Top -= 1;
    textBox.Right += 2;
    RECT rc = textBox;
    DrawText(Canvas->Handle(), Caption, -1, &rc, DT_WORDBREAK | DT_EXPANDTABS | DT_CENTER | DT_VCENTER);
  }
  // The list draws a disabled image its own way (a PNG image list at half opacity).
  if (gw > 0) Images->Draw(Canvas, g.X, g.Y, ImageIndex, Enabled);
  if (!DrawMarker) return;
  Canvas->Pen()->SetColor(MarkerColor);
  if (gw > 0) {
    for (int dy = -2; dy <= 0; ++dy) {
      Canvas->MoveTo(g.X, g.Y + gh + dy);
      Canvas->LineTo(g.X + gw, g.Y + gh + dy);
    }
  } else if (!Caption.empty()) {
    for (int dy = -1; dy <= 1; ++dy) {
      Canvas->MoveTo(textBox.Left, textBox.Bottom + dy);
      Canvas->LineTo(textBox.Right, textBox.Bottom + dy);
    }
  } else {
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(MarkerColor);
    Canvas->FillRect(Rect(R.Left + 4, R.Top + (Pressed ? 5 : 4), R.Right - 2, R.Bottom - (Pressed ? 3 : 4)));
  }
}

void DrawCenteredTextLine(TCanvas* Canvas, const std::string& Text, TRect R) {
  if (Text.empty()) return;
  if (Canvas->Font()->Height() % 2 != 0) R.Top -= 1;
  RECT rc = R;
  SelectCanvasText(Canvas);
  SetBkMode(Canvas->Handle(), TRANSPARENT);
  DrawText(Canvas->Handle(), Text, -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void SelectCanvasText(TCanvas* Canvas) {
  SelectObject(Canvas->Handle(), Canvas->Font()->Handle());
  SetTextColor(Canvas->Handle(), COLORREF(ColorToRGB(Canvas->Font()->Color())));
}

void DrawDot(TCanvas* Canvas, int X, int Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->Rectangle(X, Y, X + 6, Y + 6);
}

void DrawCheckMark(TCanvas* Canvas, int X, int Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  for (int i = 0; i < 3; ++i) {
    TPoint pts[] = {{X, Y + 5 - i}, {X + 2, Y + 7 - i}, {X + 7, Y + 2 - i}};
    Canvas->Polyline(pts, 3);
  }
}

void DrawParentImage(TControl* Control, TCanvas* Canvas) {
  TWinControl* parent = Control ? Control->Parent() : nullptr;
  if (!parent) return;
  HDC dc = Canvas->Handle();
  int saved = SaveDC(dc);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - Control->Left(), origin.y - Control->Top(), nullptr);
  TRect area = parent->ClientRect();
  IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
  parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
  if (!dynamic_cast<TCustomForm*>(parent)) parent->Perform(WM_PAINT, WPARAM(dc), 0);
  RestoreDC(dc, saved);
  TRect bounds = Control->BoundsRect();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == Control) break;
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    TRect overlap;
    if (!IntersectRect(overlap, bounds, c->BoundsRect())) continue;
    int s = SaveDC(dc);
    SetViewportOrgEx(dc, origin.x + c->Left() - Control->Left(), origin.y + c->Top() - Control->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, WPARAM(dc), 0);
    RestoreDC(dc, s);
  }
}
