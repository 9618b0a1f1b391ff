#pragma once
// A navigation bar on a shown form with groups of links, for the navigation bar tests.
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "suite/core/ControlTestSupport.h"
#include "suite/navbar/dxNavBar.h"
#include "suite/navbar/dxNavBarPainters.h"
#include "suite/navbar/dxNavBarViewInfo.h"

namespace navbar_test {

struct TNavBarScene {
  std::unique_ptr<TForm> Form;
  TdxNavBar* Bar;

  explicit TNavBarScene(int Width = 160, int Height = 300, bool Show = true) {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetClientWidth(Width + 40);
    Form->SetClientHeight(Height + 40);
    Bar = new TdxNavBar(Form.get());
    Bar->SetBounds(0, 0, Width, Height);
    Bar->SetParent(Form.get());
    if (Show) {
      Form->Show();
      Application->ProcessMessages();
    }
  }
  TdxNavBarGroup* AddGroup(const std::string& Caption) {
    TdxNavBarGroup* g = Bar->Groups()->Add();
    g->SetCaption(Caption);
    return g;
  }
  TdxNavBarItem* AddItem(const std::string& Caption) {
    TdxNavBarItem* i = Bar->Items()->Add();
    i->SetCaption(Caption);
    return i;
  }
  // A group with one new item linked per caption.
  TdxNavBarGroup* AddGroupWithLinks(const std::string& Caption, const std::vector<std::string>& Links) {
    TdxNavBarGroup* g = AddGroup(Caption);
    for (const std::string& l : Links) g->CreateLink(AddItem(l));
    return g;
  }
  TdxNavBarViewInfo* Layout() {
    Bar->Painter()->CheckViewInfo();
    return Bar->ViewInfo();
  }
  QImage Shot() { return suitetest::Snapshot(Bar); }
};

}  // namespace navbar_test
