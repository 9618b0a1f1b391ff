#pragma once
// A status bar at the bottom of a shown form, for the status bar tests.
#include <QImage>
#include <memory>
#include <vector>

#include "platform/gui/Forms.h"
#include "suite/core/ControlTestSupport.h"
#include "suite/extras/dxStatusBar.h"

namespace statusbar_test {

struct TBarScene {
  std::unique_ptr<TForm> Form;
  TdxStatusBar* Bar;

  explicit TBarScene(int ClientWidth = 839, TdxStatusBarPaintStyle Style = stpsStandard) {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetClientWidth(ClientWidth);
    Form->SetClientHeight(120);
    Bar = new TdxStatusBar(Form.get());
    Bar->SetPaintStyle(Style);
    Bar->SetParent(Form.get());
    Form->Show();
    Application->ProcessMessages();
  }
  TdxStatusBarPanel* Add(int Width, bool Fixed = true) {
    TdxStatusBarPanel* p = Bar->Panels()->Add();
    p->SetWidth(Width);
    p->SetFixed(Fixed);
    return p;
  }
  // Each visible panel's width and, between them, each separator's.
  std::vector<int> Widths() const {
    std::vector<int> w;
    TdxStatusBarViewInfo* info = Bar->ViewInfo();
    for (int i = 0; i < info->PanelCount(); ++i) {
      w.push_back(info->Panels(i)->Bounds.Width());
      if (i + 1 < info->PanelCount()) w.push_back(info->Panels(i)->SeparatorBounds.Width());
    }
    return w;
  }
  QImage Shot() { return suitetest::Snapshot(Bar); }
};

}  // namespace statusbar_test
