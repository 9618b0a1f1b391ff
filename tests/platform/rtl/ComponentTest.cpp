#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Classes.h"

namespace {

std::vector<std::string> gLog;

class TLogged : public TComponent {
 public:
  using TComponent::TComponent;
  ~TLogged() override { gLog.push_back("free " + Name()); }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent != this)
      gLog.push_back(Name() + " hears " + AComponent->Name());
  }
};

TEST(Component, OwnerFreesNewestFirstAndSiblingsHear) {
  gLog.clear();
  auto* owner = new TLogged(nullptr);
  owner->SetName("Owner");
  for (const char* n : {"A", "B", "C"}) (new TLogged(owner))->SetName(n);
  EXPECT_EQ(owner->ComponentCount(), 3);
  EXPECT_EQ(owner->FindComponent("b")->Name(), "B");
  // A child freed alone is removed through its owner: the siblings hear, newest
  // first, then the owner itself.
  delete owner->FindComponent("B");
  EXPECT_EQ(gLog, (std::vector<std::string>{"free B", "C hears B", "A hears B", "Owner hears B"}));
  gLog.clear();
  // The owner frees its components newest first, without notifying the doomed siblings.
  delete owner;
  EXPECT_EQ(gLog, (std::vector<std::string>{"free Owner", "free C", "free A"}));
}

TEST(Component, FreeNotificationReachesOutsidersInReverseOrder) {
  gLog.clear();
  TLogged x(nullptr), y(nullptr);
  x.SetName("X");
  y.SetName("Y");
  {
    auto* t = new TLogged(nullptr);
    t->SetName("T");
    t->FreeNotification(&x);
    t->FreeNotification(&y);
    delete t;
  }
  std::vector<std::string> expected = {"free T", "Y hears T", "X hears T"};
  EXPECT_EQ(gLog, expected);
  gLog.clear();
}

TEST(Component, NamesAreValidatedAgainstSiblings) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Button1");
  try {
    b->SetName("button1");
    FAIL() << "duplicate accepted";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named button1 already exists");
  }
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  EXPECT_EQ(a->ClassName(), "TComponent");
}

TEST(Component, WeakLinkClearsWhenFreed) {
  auto* c = new TComponent(nullptr);
  TWeakLink<TComponent> link(c);
  EXPECT_EQ(link.get(), c);
  delete c;
  EXPECT_EQ(link.get(), nullptr);
}

struct TReceiver : TObject {
  int hits = 0;
  void Click(TObject*) { ++hits; }
  void Other(TObject*) {}
};

TEST(Events, MethodIdentityComparesReceiverAndMethod) {
  TReceiver r1, r2;
  auto e1 = TNotifyEvent::Bind(&r1, &TReceiver::Click, "Click");
  auto e2 = TNotifyEvent::Bind(&r1, &TReceiver::Click);
  EXPECT_TRUE(e1 == e2);
  EXPECT_FALSE(e1 == TNotifyEvent::Bind(&r2, &TReceiver::Click));
  EXPECT_FALSE(e1 == TNotifyEvent::Bind(&r1, &TReceiver::Other));
  TNotifyEvent lambda = [](TObject*) {};
  TNotifyEvent copy = lambda;
  EXPECT_TRUE(copy == lambda);
  EXPECT_FALSE(lambda == TNotifyEvent([](TObject*) {}));
  EXPECT_TRUE(TNotifyEvent() == nullptr);
  e1(nullptr);
  EXPECT_EQ(r1.hits, 1);
  EXPECT_EQ(e1.HandlerName(), "Click");
}

TEST(Classes, RegistryConstructsByNameAndKnowsAncestry) {
  RegisterClass<TComponent>();
  RegisterClass<TLogged, TComponent>("TLogged");
  const TClassInfo& info = GetClassInfo("tlogged");
  EXPECT_TRUE(info.InheritsFrom("TComponent"));
  TComponent owner(nullptr);
  TComponent* made = info.CreateComponent(&owner);
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_EQ(made->ClassName(), "TLogged");
  EXPECT_THROW(GetClassInfo("TNothing"), EClassNotFound);
}

}  // namespace
