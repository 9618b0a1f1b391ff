#pragma once
// A form with a bar manager, and items made on it, for the bar tests; a plain bar window that
// lays its links out in one line or one column.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/gui/Forms.h"
#include "suite/bars/dxBar.h"

struct TBarFixture : ::testing::Test {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TdxBarManager* Manager = new TdxBarManager(Form.get());

  template <class T>
  T* NewItem(const std::string& Caption = {}) {
    auto* item = new T(Form.get());
    item->SetCaption(Caption);
    return item;
  }
};

// The view info of TTestBarControl: every shown link with bounds, in order.
class TTestBarViewInfo : public TCustomdxBarControlViewInfo {
 public:
  using TCustomdxBarControlViewInfo::TCustomdxBarControlViewInfo;
  void Recalculate() override {
    Reset();
    BarControl()->CalcLayout();
    if (!BarControl()->ItemLinks()) return;
    for (TdxBarItemLink* l : BarControl()->ItemLinks()->ShownLinks())
      if (TdxBarItemControl* c = l->Control(); c && !l->ItemRect().IsEmpty()) {
        c->ViewInfo()->SetBounds(l->ItemRect());
        AddControlViewInfo(c->ViewInfo());
      }
  }
};

// A top-level bar window over a link collection: a toolbar (kind 0) in a row or, when Vertical,
// a column; a menu (kind 2) stacks its links. It draws its item controls on the button face.
class TTestBarControl : public TCustomdxBarControl {
 public:
  TTestBarControl(TdxBarManager* AManager, TdxBarItemLinks* ALinks, int AKind = 0, bool AVertical = false)
      : TCustomdxBarControl(AManager), Kind(AKind), Vertical(AVertical) {
    SetItemLinks(ALinks);
    ALinks->SetBarControl(this);
  }
  ~TTestBarControl() override { FreeItemControls(); }
  int Kind;
  bool Vertical;
  int BarControlKind() const override { return Kind; }
  bool IsVerticalBar() const override { return Vertical; }
  TCustomdxBarControlViewInfo* CreateViewInfo() override { return new TTestBarViewInfo(this); }
  void CalcLayout() override {
    CalcItemsRect();
    PlaceItemControls(Kind == 2 ? 1 : 0, 0);
  }
  void ArrangeLinks() override {
    int at = 0;
    for (TdxBarItemLink* l : ItemLinks()->ShownLinks()) {
      TdxBarItemControl* c = l->Control();
      if (!c) continue;
      int w = c->Width(), h = c->Height();
      l->SetItemBounds(Vertical ? TRect(0, at, w, at + h) : TRect(at, 0, at + w, h));
      at += Vertical ? h : w;
    }
  }
  void Paint() override {
    TcxCanvas* c = CurrentCanvas();
    RECT r{0, 0, ClientWidth(), ClientHeight()};
    FillRect(c->CurrentDC(), &r, HBRUSH(COLOR_BTNFACE + 1));
    DrawItemControls();
  }
  void CreateParams(TCreateParams& Params) override {
    TCustomdxBarControl::CreateParams(Params);
    Params.ExStyle |= WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
  }
  // Shows the window at (X, Y) with the given client size and lays it out.
  void ShowAt(int X, int Y, int W, int H) {
    SetBounds(X, Y, W, H);
    HandleNeeded();
    ShowWindow(WindowHandle(), SW_SHOWNOACTIVATE);
    SetVisible(true);
    CalculateViewInfo();
    Application->ProcessMessages();
  }
};
