// TControl: a rectangle in a parent window that receives messages, and the free functions
// of the controls unit (shift states, the capture control, the control at a point).
#include "platform/gui/Controls.h"

#include <algorithm>

#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/QtWindows.h"

// The graphic child or windowed control holding the capture; windowed controls read it too.
TWeakLink<TControl> gCaptureControl;

std::string GetShortHint(const std::string& Hint) {
  size_t bar = Hint.find('|');
  return bar == std::string::npos ? Hint : Hint.substr(0, bar);
}

std::string GetLongHint(const std::string& Hint) {
  size_t bar = Hint.find('|');
  return bar == std::string::npos ? Hint : Hint.substr(bar + 1);
}

void TSizeConstraints::Set(int& Field, int Value) {
  Value = std::max(Value, 0);
  if (Field == Value) return;
  Field = Value;
  if (OnChange) OnChange(this);
}

void TSizeConstraints::Apply(int& Width, int& Height) const {
  if (FMaxWidth > 0) Width = std::min(Width, FMaxWidth);
  if (FMaxHeight > 0) Height = std::min(Height, FMaxHeight);
  Width = std::max(Width, FMinWidth);
  Height = std::max(Height, FMinHeight);
}

void TSizeConstraints::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TSizeConstraints*>(Source);
  if (!s) return TPersistent::Assign(Source);
  FMinWidth = s->FMinWidth;
  FMinHeight = s->FMinHeight;
  FMaxWidth = s->FMaxWidth;
  FMaxHeight = s->FMaxHeight;
  if (OnChange) OnChange(this);
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (KeyData & KF_ALTDOWN_BIT) s.Include(ssAlt);
  return s;
}

TShiftState KeysToShiftState(WPARAM Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState GetShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

TWinControl* GetParentForm(TControl* Control) {
  if (!Control) return nullptr;
  TControl* c = Control;
  while (c->Parent()) c = c->Parent();
  return dynamic_cast<TWinControl*>(c);
}

TControl* GetCaptureControl() {
  HWND h = GetCapture();
  if (!h) {
    gCaptureControl = nullptr;
    return nullptr;
  }
  if (TControl* c = gCaptureControl.get()) {
    auto* wc = dynamic_cast<TWinControl*>(c);
    if (wc ? wc->WindowHandle() == h
           : (c->Parent() && c->Parent()->WindowHandle() == h))
      return c;
  }
  return FindControl(h);
}

void SetCaptureControl(TControl* Control) {
  TControl* old = gCaptureControl.get();
  if (!Control) {
    gCaptureControl = nullptr;
    ReleaseCapture();
    if (old && !dynamic_cast<TWinControl*>(old) && !GetCapture())
      old->Perform(WM_CAPTURECHANGED, 0, 0);
    return;
  }
  HWND target;
  if (auto* wc = dynamic_cast<TWinControl*>(Control)) target = wc->Handle();
  else if (Control->Parent()) target = Control->Parent()->Handle();
  else return;
  if (old && old != Control && !dynamic_cast<TWinControl*>(old) && old->Parent() &&
      old->Parent()->WindowHandle() == target) {
    // Same window, another graphic child: the window itself keeps the capture.
    gCaptureControl = nullptr;
    old->Perform(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(target));
  }
  SetCapture(target);
  gCaptureControl = Control;
}

TControl* FindDragTarget(TPoint Pos, bool AllowDisabled) {
  HWND h = WindowFromPoint(Pos);
  TWinControl* wc = nullptr;
  while (h && !(wc = FindControl(h))) h = GetParent(h);
  if (!wc) return nullptr;
  TControl* c = wc->ControlAtPos(wc->ScreenToClient(Pos), AllowDisabled);
  return c ? c : wc;
}

// ---------------------------------------------------------------------------------------------
// TControl

namespace {
const std::pair<const char*, TCursor> kCursorNames[] = {
    {"crDefault", crDefault}, {"crNone", crNone}, {"crArrow", crArrow}, {"crCross", crCross},
    {"crIBeam", crIBeam}, {"crSizeNESW", crSizeNESW}, {"crSizeNS", crSizeNS},
    {"crSizeNWSE", crSizeNWSE}, {"crSizeWE", crSizeWE}, {"crUpArrow", crUpArrow},
    {"crHourGlass", crHourGlass}, {"crDrag", crDrag}, {"crNoDrop", crNoDrop},
    {"crHSplit", crHSplit}, {"crVSplit", crVSplit}, {"crMultiDrag", crMultiDrag},
    {"crSQLWait", crSQLWait}, {"crNo", crNo}, {"crAppStart", crAppStart}, {"crHelp", crHelp},
    {"crHandPoint", crHandPoint}, {"crSizeAll", crSizeAll}};
}  // namespace

bool CursorToIdent(int64_t Cursor, std::string& Ident) {
  for (auto& [name, value] : kCursorNames)
    if (Cursor == value) {
      Ident = name;
      return true;
    }
  return false;
}

bool IdentToCursor(const std::string& Ident, int64_t& Cursor) {
  for (auto& [name, value] : kCursorNames)
    if (SameText(Ident, name)) {
      Cursor = value;
      return true;
    }
  return false;
}

void RegisterControlClasses() {
  static const bool done = [] {
    static const TIdentMap cursors{IdentToCursor, CursorToIdent};
    RegisterEnumNames<TAlign>({"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"});
    RegisterEnumNames<TFontStyle>({"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
    RegisterEnumNames<TFontPitch>({"fpDefault", "fpVariable", "fpFixed"});
    RegisterEnumNames<TPenStyle>({"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot",
                                  "psClear", "psInsideFrame"});
    RegisterEnumNames<TPenMode>({"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy", "pmXor"});
    RegisterEnumNames<TBrushStyle>({"bsSolid", "bsClear", "bsHorizontal", "bsVertical",
                                    "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"});
    RegisterClass<TGraphicsObject, TPersistent>();
    RegisterClass<TFont, TGraphicsObject>();
    RegisterClass<TPen, TGraphicsObject>();
    RegisterClass<TBrush, TGraphicsObject>();
    Published<TFont>()
        .Property("Charset", &TFont::Charset, &TFont::SetCharset).Default(DEFAULT_CHARSET)
        .Property("Color", &TFont::Color, &TFont::SetColor).Idents(ColorIdentMap())
        .Property("Height", &TFont::Height, &TFont::SetHeight)
        .Property("Name", &TFont::Name, &TFont::SetName)
        .Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault)
        .Property("Style", &TFont::Style, &TFont::SetStyle).Default(TFontStyles());
    Published<TPen>()
        .Property("Color", &TPen::Color, &TPen::SetColor).Idents(ColorIdentMap()).Default(clBlack)
        .Property("Mode", &TPen::Mode, &TPen::SetMode).Default(pmCopy)
        .Property("Style", &TPen::Style, &TPen::SetStyle).Default(psSolid)
        .Property("Width", &TPen::Width, &TPen::SetWidth).Default(1);
    Published<TBrush>()
        .Property("Color", &TBrush::Color, &TBrush::SetColor).Idents(ColorIdentMap()).Default(clWhite)
        .Property("Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
    RegisterClass<TSizeConstraints, TPersistent>();
    Published<TSizeConstraints>()
        .Property("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight).Default(0)
        .Property("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth).Default(0)
        .Property("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight).Default(0)
        .Property("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth).Default(0);
    RegisterEnumNames<TAnchorKind>({"akLeft", "akTop", "akRight", "akBottom"});
    RegisterEnumNames<TDragMode>({"dmManual", "dmAutomatic"});
    RegisterMenuClasses();
    RegisterClass<TControl, TComponent>();
    RegisterClass<TWinControl, TControl>();
    RegisterClass<TCustomControl, TWinControl>();
    RegisterClass<TGraphicControl, TControl>();
    Published<TControl>()
        .Property("Left", &TControl::Left, &TControl::SetLeft)
        .Property("Top", &TControl::Top, &TControl::SetTop)
        .Property("Width", &TControl::Width, &TControl::SetWidth)
        .Property("Height", &TControl::Height, &TControl::SetHeight)
        .Property("Action", &TControl::Action, &TControl::SetAction)
        .Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone)
        .Property("Anchors", &TControl::Anchors, &TControl::SetAnchors).Default(TAnchors{akLeft, akTop})
        .Property("Constraints", &TControl::Constraints)
        .Property("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor).Idents(&cursors).Default(crDrag)
        .Property("DragMode", &TControl::DragMode, &TControl::SetDragMode).Default(int(dmManual))
        .Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
        .Property("Color", &TControl::Color, &TControl::SetColor).Idents(ColorIdentMap())
            .Stored([](TControl* c) { return !c->ParentColor(); })
        .Property("Cursor", &TControl::Cursor, &TControl::SetCursor).Idents(&cursors).Default(crDefault)
        .Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(1)
        .Property("Font", &TControl::Font)
            .Stored([](TControl* c) { return !c->ParentFont(); })
        .Property("Hint", &TControl::Hint, &TControl::SetHint)
            .Stored([](TControl* c) { return !c->ActionLink() || !c->ActionLink()->IsHintLinked(); })
        .Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(1)
        .Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(1)
        .Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(1)
        .Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
            .Stored([](TControl* c) { return !c->ParentShowHint(); })
        .Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(1)
        .Property("OnClick", &TControl::OnClick)
        .Property("OnDblClick", &TControl::OnDblClick)
        .Property("OnMouseDown", &TControl::OnMouseDown)
        .Property("OnMouseMove", &TControl::OnMouseMove)
        .Property("OnMouseUp", &TControl::OnMouseUp)
        .Property("OnMouseEnter", &TControl::OnMouseEnter)
        .Property("OnMouseLeave", &TControl::OnMouseLeave)
        .Property("OnMouseWheel", &TControl::OnMouseWheel)
        .Property("OnResize", &TControl::OnResize)
        .Property("OnContextPopup", &TControl::OnContextPopup)
        .Property("OnDragDrop", &TControl::OnDragDrop)
        .Property("OnDragOver", &TControl::OnDragOver)
        .Property("OnEndDrag", &TControl::OnEndDrag)
        .Property("OnStartDrag", &TControl::OnStartDrag);
    Published<TWinControl>()
        .Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
            .Stored([](TWinControl* c) { return c->TabOrder() >= 0; })
        .Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(0)
        .Property("OnEnter", &TWinControl::OnEnter)
        .Property("OnExit", &TWinControl::OnExit)
        .Property("OnKeyDown", &TWinControl::OnKeyDown)
        .Property("OnKeyPress", &TWinControl::OnKeyPress)
        .Property("OnKeyUp", &TWinControl::OnKeyUp);
    return true;
  }();
  (void)done;
}

TControl::TControl(TComponent* AOwner)
    : TComponent(AOwner), FFont(new TFont), FConstraints(new TSizeConstraints) {
  RegisterControlClasses();
  FConstraints->OnChange = [this](TObject*) { ConstraintsChanged(); };
  FWindowProc = [this](TMessage& m) { WndProc(m); };
  FFont->OnChange = TNotifyEvent::Bind(this, &TControl::FontChanged);
  FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
}

TControl::~TControl() {
  Destroying();  // windowed controls said so already; a drag it started asks
  if (gCaptureControl.get() == this) SetCaptureControl(nullptr);
  if (Dragging()) EndDrag(false);
  if (FParent) FParent->RemoveControl(this);
  FActionLink.reset();
  delete FFont;
  delete FConstraints;
}

void TControl::MainWndProcChecked(TMessage& Message) {
  try {
    if (FWindowProc) FWindowProc(Message);
    else WndProc(Message);
  } catch (...) {
    HandleWindowException(std::current_exception());
  }
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  if (FWindowProc) FWindowProc(m);
  else WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Message.Msg == WM_LBUTTONDBLCLK && !FControlStyle.Contains(csDoubleClicks))
        Message.Msg = WM_LBUTTONDOWN;
      if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (FControlStyle.Contains(csClickEvents)) FControlState.Include(csClicked);
      FControlState.Include(csLButtonDown);
      break;
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      if (!FControlStyle.Contains(csDoubleClicks)) Message.Msg -= 1;  // the button-down
      break;
    case WM_LBUTTONUP:
      FControlState.Exclude(csLButtonDown);
      break;
  }
  Dispatch(Message);
}

void TControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: WMLButtonDown(m); return;
    case WM_RBUTTONDOWN: WMRButtonDown(m); return;
    case WM_MBUTTONDOWN: WMMButtonDown(m); return;
    case WM_LBUTTONDBLCLK: WMLButtonDblClk(m); return;
    case WM_RBUTTONDBLCLK: WMRButtonDblClk(m); return;
    case WM_MBUTTONDBLCLK: WMMButtonDblClk(m); return;
    case WM_LBUTTONUP: WMLButtonUp(m); return;
    case WM_RBUTTONUP: WMRButtonUp(m); return;
    case WM_CONTEXTMENU: WMContextMenu(m); return;
    case CM_DRAG: CMDrag(m); return;
    case CM_HINTSHOW: CMHintShow(m); return;
    case WM_MBUTTONUP: WMMButtonUp(m); return;
    case WM_MOUSEMOVE: WMMouseMove(m); return;
    case WM_MOUSEWHEEL: WMMouseWheel(m); return;
    case WM_CANCELMODE: WMCancelMode(m); return;
    case WM_CAPTURECHANGED: WMCaptureChanged(m); return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(m); return;
    case WM_SETTEXT: WMSetText(m); return;
    case WM_GETTEXT: WMGetText(m); return;
    case WM_GETTEXTLENGTH: WMGetTextLength(m); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); return;
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case CM_FONTCHANGED: CMFontChanged(m); return;
    case CM_COLORCHANGED: CMColorChanged(m); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(m); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(m); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(m); return;
    case CM_MOUSEENTER: CMMouseEnter(m); return;
    case CM_MOUSELEAVE: CMMouseLeave(m); return;
    case CM_HITTEST: CMHitTest(m); return;
    case CM_CURSORCHANGED: CMCursorChanged(m); return;
    case CM_CANCELMODE: CMCancelMode(m); return;
  }
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage& Message) { Message.Result = 0; }

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetParentComponent(TComponent* Value) {
  if (auto* p = dynamic_cast<TWinControl*>(Value)) SetParent(p);
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  if (AParent == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
  UpdateAnchorRules();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  FConstraints->Apply(AWidth, AHeight);
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  bool sized = AWidth != FWidth || AHeight != FHeight;
  InvalidateControl(FVisible, false);
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  InvalidateControl(FVisible, FControlStyle.Contains(csOpaque));
  if (sized && !ComponentState().Contains(csLoading)) Resize();
  RequestAlign();
  if (!FAnchoring) UpdateAnchorRules();
}

void TControl::ConstraintsChanged() { SetBounds(FLeft, FTop, FWidth, FHeight); }

void TControl::SetAnchors(TAnchors Value) {
  if (FAnchors == Value) return;
  FAnchors = Value;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (!FParent) return;
  FAnchorBounds = BoundsRect();
  FAnchorParentSize = TPoint{FParent->ClientWidth(), FParent->ClientHeight()};
}

void TControl::AnchorToParent(int ParentWidth, int ParentHeight) {
  if (FAnchorParentSize.X < 0) return UpdateAnchorRules();
  auto place = [](bool lowEdge, bool highEdge, int pos, int size, int delta, int& outPos,
                  int& outSize) {
    outPos = pos;
    outSize = size;
    if (lowEdge && highEdge) outSize = std::max(size + delta, 0);
    else if (highEdge) outPos = pos + delta;
    else if (!lowEdge) outPos = pos + delta / 2;
  };
  int l, t, w, h;
  place(FAnchors.Contains(akLeft), FAnchors.Contains(akRight), FAnchorBounds.Left,
        FAnchorBounds.Width(), ParentWidth - FAnchorParentSize.X, l, w);
  place(FAnchors.Contains(akTop), FAnchors.Contains(akBottom), FAnchorBounds.Top,
        FAnchorBounds.Height(), ParentHeight - FAnchorParentSize.Y, t, h);
  FAnchoring = true;
  try {
    SetBounds(l, t, w, h);
  } catch (...) {
    FAnchoring = false;
    throw;
  }
  FAnchoring = false;
}

// The frame around the client area (a windowed control's borders, caption...) keeps its size.
void TControl::SetClientSize(int W, int H) {
  const TRect client = ClientRect();
  SetBounds(FLeft, FTop, FWidth - client.Width() + W, FHeight - client.Height() + H);
}

TPoint TControl::ClientOrigin() const {
  if (!FParent) return {FLeft, FTop};
  return FParent->ClientOrigin() + TPoint(FLeft, FTop);
}

TPoint TControl::ClientToParent(TPoint P, TWinControl* AParent) const {
  if (!AParent) AParent = FParent;
  return P + ClientOrigin() - (AParent ? AParent->ClientOrigin() : TPoint());
}

TPoint TControl::ParentToClient(TPoint P, TWinControl* AParent) const {
  if (!AParent) AParent = FParent;
  return P - ClientOrigin() + (AParent ? AParent->ClientOrigin() : TPoint());
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  RequestAlign();
}

void TControl::RequestAlign() {
  if (FParent && FAlign != alNone) FParent->Realign();
}

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) {
    // A top-level control is visible from the start but shows only when asked.
    auto* wc = dynamic_cast<TWinControl*>(this);
    if (Value && wc && !FParent && !wc->Showing()) wc->UpdateShowing();
    return;
  }
  VisibleChanging();
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, Value, 0);
  if (FAlign != alNone) RequestAlign();
}

void TControl::Show() {
  if (FParent) {
    // Bring the parents on screen too, as showing a control means.
    for (TWinControl* p = FParent; p; p = p->Parent())
      if (!p->Visible() && !p->Parent()) p->SetVisible(true);
  }
  SetVisible(true);
  BringToFront();
}

void TControl::Hide() { SetVisible(false); }

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::string& Value) {
  if (GetText() == Value) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) {
    FParentColor = false;
    return;
  }
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (Value && FParent) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (Value && FParent) Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged(TObject*) {
  FParentFont = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool Value) {
  FParentShowHint = false;
  if (FShowHint == Value) return;
  FShowHint = Value;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (Value && FParent) Perform(CM_PARENTSHOWHINTCHANGED);
}

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!IsVisible || !FParent || !FParent->HandleAllocated()) return;
  RECT r = BoundsRect();
  InvalidateRect(FParent->WindowHandle(), &r, !IsOpaque);
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  if (auto* wc = dynamic_cast<TWinControl*>(this)) {
    if (wc->HandleAllocated()) SetWindowPos(wc->WindowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    Invalidate();
  }
}

void TControl::SendToBack() {
  if (!FParent) return;
  auto& list = FParent->FControls;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin(), this);
  if (auto* wc = dynamic_cast<TWinControl*>(this)) {
    if (wc->HandleAllocated()) SetWindowPos(wc->WindowHandle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    Invalidate();
  }
}

bool TControl::HitTest(int X, int Y) const {
  return const_cast<TControl*>(this)->Perform(CM_HITTEST, 0, PointToLParam(X, Y)) != 0;
}

void TControl::Click() {
  // A click handler of the control's own runs instead of its action.
  if (OnClick && !(FActionLink && FActionLink->IsOnExecuteLinked())) OnClick(this);
  else if (FActionLink) FActionLink->Execute(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  return handled;
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }

void TControl::Loaded() {
  TComponent::Loaded();
  if (FParent) {
    if (FParentColor) Perform(CM_PARENTCOLORCHANGED);
    if (FParentFont) Perform(CM_PARENTFONTCHANGED);
  }
  if (TBasicAction* a = Action()) ActionChange(a, true);
  UpdateAnchorRules();
}

// ---- popup menu, action

void TControl::SetPopupMenu(TPopupMenu* Value) {
  if (FPopupMenu == Value) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
  if (FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
}

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

TControlActionLink* TControl::CreateActionLink() { return new TControlActionLink(this); }

void TControl::SetAction(TBasicAction* Value) {
  if (!Value) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) FActionLink.reset(CreateActionLink());
  FActionLink->SetAction(Value);
  ActionChange(Value, Value->ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (!a) return;
  if (!CheckDefaults || Caption().empty() || Caption() == Name()) SetCaption(a->Caption());
  if (!CheckDefaults || FEnabled) SetEnabled(a->Enabled());
  if (!CheckDefaults || FHint.empty()) SetHint(a->Hint());
  if (!CheckDefaults || FVisible) SetVisible(a->Visible());
}

bool TControl::ExecuteAction(TBasicAction* Action) {
  if (!Action->HandlesTarget(this)) return false;
  Action->ExecuteTarget(this);
  return true;
}

// ---- context popup

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

void TControl::WMContextMenu(TMessage& m) {
  if (m.Result) return;
  TPoint pos{SHORT(LOWORD(DWORD(m.LParam))), SHORT(HIWORD(DWORD(m.LParam)))};
  bool keyboard = pos.X == -1 && pos.Y == -1;
  TWeakLink<TControl> self(this);
  bool handled = false;
  DoContextPopup(keyboard ? pos : ScreenToClient(pos), handled);
  if (handled || !self) {
    m.Result = 1;
    return;
  }
  if (FPopupMenu && FPopupMenu->AutoPopup()) {
    if (keyboard) pos = ClientToScreen(TPoint{0, 0});
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(pos.X, pos.Y);
    m.Result = 1;
    return;
  }
  // A graphic control passes the request on to its parent; a window's default does that.
  if (!dynamic_cast<TWinControl*>(this) && FParent) m.Result = FParent->Perform(WM_CONTEXTMENU, m.WParam, m.LParam);
  else DefaultHandler(m);
}

void TControl::SendCancelMode(TControl* Sender) {
  TWinControl* form = GetParentForm(this);
  if (!form) return;
  TWinControl* active = form->ActiveControl();
  if (active && active != Sender) active->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

void TControl::DoMouseDown(TMessage& m, TMouseButton Button, TShiftState Shift) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  MouseDown(Button, KeysToShiftState(m.WParam) + Shift, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

void TControl::DoMouseUp(TMessage& m, TMouseButton Button) {
  if (FControlStyle.Contains(csNoStdEvents)) return;
  MouseUp(Button, KeysToShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

void TControl::WMLButtonDown(TMessage& m) {
  SendCancelMode(this);
  DefaultHandler(m);
  // A control dragged automatically starts its drag instead of a press.
  if (FDragMode == dmAutomatic && FEnabled) return BeginDrag(Mouse->DragImmediate(), -1);
  DoMouseDown(m, mbLeft, {});
}

void TControl::WMRButtonDown(TMessage& m) {
  DefaultHandler(m);
  DoMouseDown(m, mbRight, {});
}

void TControl::WMMButtonDown(TMessage& m) {
  DefaultHandler(m);
  DoMouseDown(m, mbMiddle, {});
}

void TControl::WMLButtonDblClk(TMessage& m) {
  SendCancelMode(this);
  DefaultHandler(m);
  TWeakLink<TControl> self(this);
  if (FControlStyle.Contains(csClickEvents)) DblClick();
  // The handler may have freed the control.
  if (self) DoMouseDown(m, mbLeft, {ssDouble});
}

void TControl::WMRButtonDblClk(TMessage& m) {
  DefaultHandler(m);
  DoMouseDown(m, mbRight, {ssDouble});
}

void TControl::WMMButtonDblClk(TMessage& m) {
  DefaultHandler(m);
  DoMouseDown(m, mbMiddle, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& m) {
  DefaultHandler(m);
  if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
  TWeakLink<TControl> self(this);
  if (FControlState.Contains(csClicked)) {
    FControlState.Exclude(csClicked);
    if (ClientRect().Contains({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)})) Click();
  }
  // The click handler may have freed the control.
  if (self) DoMouseUp(m, mbLeft);
}

void TControl::WMRButtonUp(TMessage& m) {
  DefaultHandler(m);
  TWeakLink<TControl> self(this);
  DoMouseUp(m, mbRight);
  // A window's default handling asks for its context menu; a graphic control asks itself.
  if (self && !dynamic_cast<TWinControl*>(this)) {
    TPoint p = ClientToScreen(TPoint{SHORT(LOWORD(DWORD(m.LParam))), SHORT(HIWORD(DWORD(m.LParam)))});
    Perform(WM_CONTEXTMENU, 0, MAKELPARAM(WORD(SHORT(p.X)), WORD(SHORT(p.Y))));
  }
}

void TControl::WMMButtonUp(TMessage& m) {
  DefaultHandler(m);
  DoMouseUp(m, mbMiddle);
}

void TControl::WMMouseMove(TMessage& m) {
  DefaultHandler(m);
  if (!FControlStyle.Contains(csNoStdEvents))
    MouseMove(KeysToShiftState(m.WParam), GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

void TControl::WMMouseWheel(TMessage& m) {
  TPoint pos(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  if (DoMouseWheel(KeysToShiftState(GET_KEYSTATE_WPARAM(m.WParam)), GET_WHEEL_DELTA_WPARAM(m.WParam), pos)) {
    m.Result = 1;
    return;
  }
  DefaultHandler(m);
}

void TControl::WMCancelMode(TMessage& m) {
  if (MouseCapture()) {
    SetMouseCapture(false);
    if (FControlState.Contains(csLButtonDown)) Perform(WM_LBUTTONUP, 0, PointToLParam(-1, -1));
  } else {
    FControlState.Exclude(csLButtonDown);
  }
  FControlState.Exclude(csClicked);
  DefaultHandler(m);
}

void TControl::WMCaptureChanged(TMessage& m) { DefaultHandler(m); }

void TControl::WMWindowPosChanged(TMessage& m) { DefaultHandler(m); }

void TControl::WMSetText(TMessage& m) {
  FText = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
  m.Result = 1;
}

void TControl::WMGetText(TMessage& m) {
  std::string t = GetText();
  if (!m.LParam || m.WParam == 0) return;
  size_t n = std::min<size_t>(t.size(), m.WParam - 1);
  std::copy_n(t.data(), n, reinterpret_cast<char*>(m.LParam));
  reinterpret_cast<char*>(m.LParam)[n] = 0;
  m.Result = LRESULT(n);
}

void TControl::WMGetTextLength(TMessage& m) { m.Result = LRESULT(GetText().size()); }

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) { InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque)); }
void TControl::CMTextChanged(TMessage&) { Invalidate(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMCursorChanged(TMessage&) {}

void TControl::CMParentFontChanged(TMessage& m) {
  if (!FParentFont) return;
  TFont* source = m.WParam ? reinterpret_cast<TFont*>(m.LParam) : (FParent ? FParent->Font() : nullptr);
  if (source) FFont->Assign(source);
  FParentFont = true;
}

void TControl::CMParentColorChanged(TMessage& m) {
  if (!FParentColor) return;
  if (m.WParam) SetColor(TColor(m.LParam));
  else if (FParent) SetColor(FParent->Color());
  FParentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!FParentShowHint || !FParent) return;
  FShowHint = FParent->ShowHint();
}

void TControl::CMMouseEnter(TMessage& m) {
  if (m.LParam == 0 && OnMouseEnter) OnMouseEnter(this);
  if (FParent) FParent->Perform(CM_MOUSEENTER, 0, m.LParam ? m.LParam : reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseLeave(TMessage& m) {
  if (m.LParam == 0 && OnMouseLeave) OnMouseLeave(this);
  if (FParent) FParent->Perform(CM_MOUSELEAVE, 0, m.LParam ? m.LParam : reinterpret_cast<LPARAM>(this));
}

void TControl::CMHitTest(TMessage& m) { m.Result = HTCLIENT; }
