#include <gtest/gtest.h>

#include <functional>
#include <memory>
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

// A base class's destructor may run code that reaches the object through a link (a signal fired
// while its window goes): by then the derived part is gone and only the base may be handed out.
struct TProbeBase : TComponent {
  using TComponent::TComponent;
  std::function<void()> OnBaseDestroy;
  ~TProbeBase() override {
    if (OnBaseDestroy) OnBaseDestroy();
  }
};
struct TProbeDerived : TProbeBase {
  using TProbeBase::TProbeBase;
  std::string Data = "derived";
};

TEST(Component, WeakLinkHandsOutOnlyWhatIsLeftDuringDestruction) {
  auto* d = new TProbeDerived(nullptr);
  TWeakLink<TProbeDerived> derived(d);
  TWeakLink<TProbeBase> base(d);
  TWeakLink<TComponent> root(d);
  EXPECT_EQ(derived.get(), d);
  TProbeBase* const asBase = d;
  TComponent* const asRoot = d;
  TProbeDerived* derivedSeen = d;
  TProbeBase* baseSeen = nullptr;
  TComponent* rootSeen = nullptr;
  d->OnBaseDestroy = [&] {
    derivedSeen = derived.get();
    baseSeen = base.get();
    rootSeen = root.get();
  };
  delete d;
  EXPECT_EQ(derivedSeen, nullptr);
  EXPECT_EQ(baseSeen, asBase);
  EXPECT_EQ(rootSeen, asRoot);
  EXPECT_FALSE(base.Alive());
  EXPECT_FALSE(root.Alive());
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

// What a handler captured stays alive until it returns, even when the handler frees the object
// holding the event or replaces the handler; it goes once nothing refers to it.
TEST(Events, HandlerOutlivesItsEventDuringTheCall) {
  struct TCaptured {
    bool* Alive;
    ~TCaptured() { *Alive = false; }
  };
  struct THolder : TObject {
    TNotifyEvent OnFire;
  };
  for (bool freeHolder : {true, false}) {
    SCOPED_TRACE(freeHolder ? "holder freed" : "handler replaced");
    bool alive = true, aliveAfter = false;
    std::string seen;
    auto* holder = new THolder;
    auto captured = std::make_shared<TCaptured>(&alive);
    holder->OnFire = [&, captured, text = std::string(40, 'x')](TObject* sender) {
      auto* h = static_cast<THolder*>(sender);
      if (freeHolder) delete h;
      else h->OnFire = nullptr;
      aliveAfter = alive;
      seen = text;
    };
    captured.reset();
    holder->OnFire(holder);
    EXPECT_TRUE(aliveAfter);
    EXPECT_EQ(seen, std::string(40, 'x'));
    EXPECT_FALSE(alive);
    if (!freeHolder) delete holder;
  }
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
