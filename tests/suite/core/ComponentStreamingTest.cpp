#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Streaming.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/QtWindows.h"
#include "suite/core/cxClasses.h"

namespace {

class TPanelItem;

class TPanelHost : public TcxComponent {
 public:
  explicit TPanelHost(TComponent* AOwner);
  TcxComponentCollection* Panels() { return &FPanels; }

 private:
  TcxComponentCollection FPanels;
};

class TPanelItem : public TcxComponentCollectionItem {
 public:
  explicit TPanelItem(TComponent* AOwner) : TcxComponentCollectionItem(AOwner) {}
  int Width() const { return FWidth; }
  void SetWidth(int V) { FWidth = V; }
  void Assign(TPersistent* Source) override {
    if (auto* p = dynamic_cast<TPanelItem*>(Source)) {
      FWidth = p->FWidth;
      return;
    }
    TcxComponentCollectionItem::Assign(Source);
  }

 protected:
  TcxComponentCollection* CollectionFromParent(TComponent* AParent) override {
    auto* h = dynamic_cast<TPanelHost*>(AParent);
    return h ? h->Panels() : nullptr;
  }

 private:
  int FWidth = 0;
};

TPanelHost::TPanelHost(TComponent* AOwner)
    : TcxComponent(AOwner), FPanels(this, FindClassInfo(typeid(TPanelItem))) {}

// A host whose older descriptions kept its panels in the plain collection form.
class TLegacyHost : public TPanelHost {
 public:
  using TPanelHost::TPanelHost;

 protected:
  void DefineProperties(TFiler* Filer) override {
    TPanelHost::DefineProperties(Filer);
    Filer->DefineProperty(
        "Panels", [this](TReader* R) { Panels()->ReadLegacyCollection(R); }, nullptr, false);
  }
};

// A form whose description holds a timer bound to its handler.
class TTimerForm : public TComponent {
 public:
  explicit TTimerForm(TComponent* AOwner) : TComponent(AOwner) {}
  int Ticks = 0;
  void Timer1Timer(TObject*) { ++Ticks; }
};

class TScaled : public TcxScalableComponent {
 public:
  explicit TScaled(TComponent* AOwner) : TcxScalableComponent(AOwner) {}
  std::vector<std::pair<int, int>> Scales;

 protected:
  void ChangeScale(int M, int D) override { Scales.push_back({M, D}); }
};

const bool kRegistered = [] {
  RegisterClass<TPanelHost, TcxComponent>();
  RegisterClass<TPanelItem, TcxComponentCollectionItem>();
  RegisterClass<TLegacyHost, TPanelHost>();
  Published<TPanelItem>().Property("Width", &TPanelItem::Width, &TPanelItem::SetWidth);
  RegisterClass<TTimerForm, TComponent>();
  Published<TTimerForm>().Method("Timer1Timer", &TTimerForm::Timer1Timer);
  RegisterClass<TScaled, TcxScalableComponent>();
  return true;
}();

}  // namespace

TEST(ComponentStreaming, CollectionItemsComeBackIntoTheirCollection) {
  TComponent form(nullptr);
  form.SetName("Form1");
  auto* host = new TPanelHost(&form);
  host->SetName("StatusBar1");
  for (int w : {40, 120}) static_cast<TPanelItem*>(host->Panels()->AddNew())->SetWidth(w);
  host->Panels()->ItemAt(0)->SetName("Panel1");
  host->Panels()->ItemAt(1)->SetName("Panel2");
  std::string text = WriteComponentToText(&form);

  TComponent back(nullptr);
  ReadComponentFromText(&back, text);
  auto* host2 = dynamic_cast<TPanelHost*>(back.FindComponent("StatusBar1"));
  ASSERT_NE(host2, nullptr) << text;
  ASSERT_EQ(host2->Panels()->CountItems(), 2) << text;
  EXPECT_EQ(static_cast<TPanelItem*>(host2->Panels()->ItemAt(1))->Width(), 120);
  EXPECT_EQ(host2->Panels()->ItemAt(0)->Name(), "Panel1");
  EXPECT_EQ(WriteComponentToText(&back), text);

  // Assign copies item by item in one update.
  int changes = 0;
  TPanelHost copy(&back);
  copy.Panels()->OnChange = [&](TObject*, TComponent*, TcxComponentCollectionNotification) {
    ++changes;
  };
  copy.Panels()->Assign(host2->Panels());
  EXPECT_EQ(copy.Panels()->CountItems(), 2);
  EXPECT_EQ(static_cast<TPanelItem*>(copy.Panels()->ItemAt(0))->Width(), 40);
  EXPECT_EQ(changes, 1);
  copy.Panels()->OnChange = nullptr;
}

TEST(ComponentStreaming, ItemsOfThePlainCollectionFormFillTheCollection) {
  const char* text = R"(object Form1: TComponent {
  object StatusBar1: TLegacyHost {
    Panels = items {
      item {
        Width = 10
      }
      item {
        Width = 20
      }
    }
  }
}
)";
  TComponent form(nullptr);
  ReadComponentFromText(&form, text);
  auto* host = dynamic_cast<TLegacyHost*>(form.FindComponent("StatusBar1"));
  ASSERT_NE(host, nullptr);
  ASSERT_EQ(host->Panels()->CountItems(), 2);
  EXPECT_EQ(static_cast<TPanelItem*>(host->Panels()->ItemAt(0))->Width(), 10);
  EXPECT_EQ(static_cast<TPanelItem*>(host->Panels()->ItemAt(1))->Width(), 20);
  EXPECT_EQ(host->Panels()->ItemAt(1)->Owner(), &form);
}

TEST(ComponentStreaming, TimerFromADescriptionStartsWithItsHandler) {
  SetManualClock(true);
  const char* text = R"(object TimerForm1: TTimerForm {
  object Timer1: TcxTimer {
    Interval = 250
    OnTimer = Timer1Timer
  }
  object Timer2: TcxTimer {
    Enabled = false
    OnTimer = Timer1Timer
  }
}
)";
  auto form = std::make_unique<TTimerForm>(nullptr);
  ReadComponentFromText(form.get(), text);
  auto* t1 = dynamic_cast<TcxTimer*>(form->FindComponent("Timer1"));
  auto* t2 = dynamic_cast<TcxTimer*>(form->FindComponent("Timer2"));
  ASSERT_NE(t1, nullptr);
  EXPECT_TRUE(t1->TimerOn());
  EXPECT_FALSE(t2->TimerOn());
  AdvanceClock(250);
  QCoreApplication::processEvents();
  EXPECT_EQ(form->Ticks, 1);
  form.reset();
  AdvanceClock(1000);
  QCoreApplication::processEvents();
  SetManualClock(false);
}

TEST(ComponentStreaming, ScalableComponentRescalesFromItsStoredResolution) {
  TComponent form(nullptr);
  auto* s = new TScaled(&form);
  s->SetName("Scaled1");
  EXPECT_EQ(s->PixelsPerInch(), 96);
  std::string text = WriteComponentToText(&form);
  EXPECT_NE(text.find("PixelsPerInch = 96"), std::string::npos) << text;
  std::string at120 = text;
  at120.replace(at120.find("PixelsPerInch = 96"), 18, "PixelsPerInch = 120");
  TComponent back(nullptr);
  ReadComponentFromText(&back, at120);
  auto* s2 = dynamic_cast<TScaled*>(back.FindComponent("Scaled1"));
  ASSERT_NE(s2, nullptr);
  EXPECT_EQ(s2->Scales, (std::vector<std::pair<int, int>>{{96, 120}}));
  TComponent same(nullptr);
  ReadComponentFromText(&same, text);
  EXPECT_TRUE(dynamic_cast<TScaled*>(same.FindComponent("Scaled1"))->Scales.empty());
}

namespace {
class TSortItem : public TcxInterfacedCollectionItem {
 public:
  explicit TSortItem(TCollection* C) : TcxInterfacedCollectionItem(C) {}
  int Key = 0;
};
}  // namespace

TEST(OwnedInterfacedCollection, SortsOnWholeUpdatesAndReportsChanges) {
  TComponent owner(nullptr);
  TcxOwnedInterfacedCollection c(&owner, TCollection::ItemClassOf<TSortItem>());
  std::vector<TCollectionItem*> changed;
  c.OnChange = [&](TObject*, TCollectionItem* Item) { changed.push_back(Item); };
  for (int k : {3, 1, 2}) static_cast<TSortItem*>(c.Add())->Key = k;
  c.OnCompare = [](TObject*, TCollectionItem* a, TCollectionItem* b) {
    return static_cast<TSortItem*>(a)->Key - static_cast<TSortItem*>(b)->Key;
  };
  changed.clear();
  c.SetSorted(true);
  std::vector<int> keys;
  for (int i = 0; i < c.Count(); ++i) keys.push_back(c.Get<TSortItem>(i)->Key);
  EXPECT_EQ(keys, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(changed.empty());
  EXPECT_EQ(changed.back(), nullptr) << "a change of the whole collection";
  // A new item sorts in with the next whole update.
  c.BeginUpdate();
  static_cast<TSortItem*>(c.Add())->Key = 0;
  c.EndUpdate();
  EXPECT_EQ(c.Get<TSortItem>(0)->Key, 0);
  c.OnChange = nullptr;
}
