#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/TypInfo.h"
#include "platform/win/QtWindows.h"
#include "suite/core/cxClasses.h"

namespace {

// ---- timer

struct TTicks : TObject {
  std::vector<TObject*> Senders;
  void Tick(TObject* Sender) { Senders.push_back(Sender); }
};

void Advance(DWORD ms) {
  AdvanceClock(ms);
  QCoreApplication::processEvents();
}

}  // namespace

TEST(Timer, RunsOnlyEnabledWithAHandlerAndRestartsOnChanges) {
  SetManualClock(true);
  TTicks t;
  auto* timer = new TcxTimer(nullptr);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 1000u);
  EXPECT_FALSE(timer->TimerOn()) << "no handler, no timer";
  timer->SetInterval(100);
  EXPECT_FALSE(timer->TimerOn());
  timer->SetOnTimer(TNotifyEvent::Bind(&t, &TTicks::Tick));
  EXPECT_TRUE(timer->TimerOn()) << "assigning the handler starts it";
  Advance(99);
  EXPECT_TRUE(t.Senders.empty());
  Advance(1);
  ASSERT_EQ(t.Senders.size(), 1u);
  EXPECT_EQ(t.Senders[0], timer);

  // Interval 0 and the same interval change nothing: the running period goes on.
  Advance(60);
  timer->SetInterval(0);
  timer->SetInterval(100);
  EXPECT_EQ(timer->Interval(), 100u);
  Advance(40);
  EXPECT_EQ(t.Senders.size(), 2u);
  // A new interval restarts the period from now.
  Advance(50);
  timer->SetInterval(80);
  Advance(50);
  EXPECT_EQ(t.Senders.size(), 2u);
  Advance(30);
  EXPECT_EQ(t.Senders.size(), 3u);
  // Disabled: no ticks; enabled again: a fresh period.
  timer->SetEnabled(false);
  EXPECT_FALSE(timer->TimerOn());
  Advance(500);
  EXPECT_EQ(t.Senders.size(), 3u);
  timer->SetEnabled(true);
  Advance(79);
  EXPECT_EQ(t.Senders.size(), 3u);
  Advance(1);
  EXPECT_EQ(t.Senders.size(), 4u);
  timer->SetOnTimer(nullptr);
  EXPECT_FALSE(timer->TimerOn());

  // A timer freed while running never ticks again, and other timers go on.
  auto* second = new TcxTimer(nullptr);
  second->SetInterval(50);
  second->SetOnTimer(TNotifyEvent::Bind(&t, &TTicks::Tick));
  timer->SetOnTimer(TNotifyEvent::Bind(&t, &TTicks::Tick));
  delete timer;
  Advance(100);
  ASSERT_EQ(t.Senders.size(), 5u);
  EXPECT_EQ(t.Senders.back(), second);
  delete second;
  // A stray timer message with an id that is not running is ignored.
  SendMessage(cxTimerWindowHandle(), WM_TIMER, reinterpret_cast<WPARAM>(second), 0);
  EXPECT_EQ(t.Senders.size(), 5u);
  SetManualClock(false);
}

// ---- multicast events and links

namespace {
struct THandlers : TObject {
  std::vector<std::string>* Log = nullptr;
  TcxEventHandlerCollection* Coll = nullptr;
  std::string Tag;
  TcxEventHandler Victim;
  void Handle(TObject*, TcxEventArgs*) {
    Log->push_back(Tag);
    if (Victim) Coll->Unsubscribe(Victim);
  }
};
}  // namespace

TEST(EventHandlers, SubscribedOnceCalledInOrderAndNeverAfterUnsubscribing) {
  std::vector<std::string> log;
  TcxEventHandlerCollection c;
  THandlers a, b, d;
  for (auto* h : {&a, &b, &d}) h->Log = &log, h->Coll = &c;
  a.Tag = "a", b.Tag = "b", d.Tag = "d";
  auto ha = TcxEventHandler::Bind(&a, &THandlers::Handle);
  auto hb = TcxEventHandler::Bind(&b, &THandlers::Handle);
  auto hd = TcxEventHandler::Bind(&d, &THandlers::Handle);
  c.Subscribe(ha);
  c.Subscribe(TcxEventHandler::Bind(&a, &THandlers::Handle));
  c.Subscribe(hb);
  c.Subscribe(hd);
  EXPECT_EQ(c.Count(), 3);
  // b removes d during the call: d is not called, and the loop ends normally.
  b.Victim = hd;
  c.CallAll(nullptr, nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(c.Count(), 2);
  // A handler removing itself.
  log.clear();
  a.Victim = ha;
  b.Victim = nullptr;
  c.CallAll(nullptr, nullptr);
  c.CallAll(nullptr, nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "b", "b"}));
  c.Unsubscribe(hd);  // unknown: ignored
  EXPECT_EQ(c.Count(), 1);
}

TEST(ObjectLinks, ReadNullOnceTheObjectIsGone) {
  EXPECT_EQ(CreateObjectLink(nullptr), nullptr);
  auto* comp = new TcxComponent(nullptr);
  auto* plain = new TObject;
  TcxObjectLink* l1 = CreateObjectLink(comp);
  TcxObjectLink* l2 = CreateObjectLink(comp);
  TcxObjectLink* l3 = CreateObjectLink(plain);
  EXPECT_EQ(l1->Ref(), comp);
  delete comp;  // its destructor clears the links to it
  EXPECT_EQ(l1->Ref(), nullptr);
  EXPECT_EQ(l2->Ref(), nullptr);
  EXPECT_EQ(l3->Ref(), plain);
  delete plain;  // a plain object does not clear its links, yet they read null
  EXPECT_EQ(l3->Ref(), nullptr);
  DestroyObjectLink(l1);
  DestroyObjectLink(l2);
  DestroyObjectLink(l3);
  DestroyObjectLink(nullptr);
}

TEST(FreeNotificator, ReportsWatchedComponentsOnly) {
  TcxFreeNotificator n;
  std::vector<TComponent*> freed;
  n.OnFreeNotification = [&](TComponent* c) { freed.push_back(c); };
  auto* a = new TComponent(nullptr);
  auto* b = new TComponent(nullptr);
  n.Watch(a);
  n.Watch(b);
  n.Watch(nullptr);
  n.Unwatch(b);
  delete a;
  delete b;
  EXPECT_EQ(freed, std::vector<TComponent*>{a});
}

// ---- component collections

namespace {
class TOwnerComp;

class TItem : public TcxComponentCollectionItem {
 public:
  explicit TItem(TComponent* AOwner) : TcxComponentCollectionItem(AOwner) {}

 protected:
  TcxComponentCollection* CollectionFromParent(TComponent* AParent) override;
};

class TOtherItem : public TcxComponentCollectionItem {
 public:
  explicit TOtherItem(TComponent* AOwner) : TcxComponentCollectionItem(AOwner) {}

 protected:
  TcxComponentCollection* CollectionFromParent(TComponent* AParent) override;
};

struct TChange {
  TComponent* Item;
  TcxComponentCollectionNotification Action;
  bool operator==(const TChange&) const = default;
};

class TNamingCollection : public TcxComponentCollection {
 public:
  using TcxComponentCollection::TcxComponentCollection;
  std::vector<TChange> Notified;

 protected:
  void ItemNotification(TcxComponentCollectionItem* Item,
                        TcxComponentCollectionNotification Action) override {
    Notified.push_back({Item, Action});
  }
  void AssignItemName(TcxComponentCollectionItem* Item) override {
    std::string name;
    CreateUniqueName(Item->Owner(), ParentComponent(), Item, "T", "", name);
    Item->SetName(name);
  }
};

class TOwnerComp : public TComponent {
 public:
  explicit TOwnerComp(TComponent* AOwner) : TComponent(AOwner) {}
  TNamingCollection Items{this, FindClassInfo(typeid(TItem))};
};

TcxComponentCollection* TItem::CollectionFromParent(TComponent* AParent) {
  auto* o = dynamic_cast<TOwnerComp*>(AParent);
  return o ? &o->Items : nullptr;
}
TcxComponentCollection* TOtherItem::CollectionFromParent(TComponent* AParent) {
  auto* o = dynamic_cast<TOwnerComp*>(AParent);
  return o ? &o->Items : nullptr;
}

const bool kRegistered = [] {
  RegisterClass<TItem, TcxComponentCollectionItem>();
  RegisterClass<TOtherItem, TcxComponentCollectionItem>();
  return true;
}();
}  // namespace

TEST(ComponentCollection, IdsNotificationsAndUpdates) {
  TComponent form(nullptr);
  auto* parent = new TOwnerComp(&form);
  parent->SetName("Bar");
  std::vector<TChange> changes;
  parent->Items.OnChange = [&](TObject* Sender, TComponent* Item,
                               TcxComponentCollectionNotification A) {
    EXPECT_EQ(Sender, &parent->Items);
    changes.push_back({Item, A});
  };
  TcxComponentCollectionItem* i0 = parent->Items.AddNew();
  TcxComponentCollectionItem* i1 = parent->Items.AddNew();
  EXPECT_EQ(i0->Owner(), &form) << "items belong to the parent's owner";
  EXPECT_EQ(i0->GetParentComponent(), parent);
  EXPECT_EQ(i0->Name(), "BarItem1");
  EXPECT_EQ(i1->Name(), "BarItem2");
  EXPECT_EQ(i1->ID(), 1);
  EXPECT_EQ((changes), (std::vector<TChange>{{i0, CollectionItemAdded}, {i1, CollectionItemAdded}}));

  // A foreign class is not taken in.
  auto* other = new TOtherItem(&form);
  other->SetParentComponent(parent);
  EXPECT_EQ(other->Collection(), nullptr);
  EXPECT_EQ(other->CollectionIndex(), -1);
  EXPECT_EQ(parent->Items.CountItems(), 2);

  // Removal tells the hook before and after; the change event hears only "extracted".
  changes.clear();
  parent->Items.Notified.clear();
  delete i0;
  EXPECT_EQ(parent->Items.Notified, (std::vector<TChange>{{i0, CollectionItemExtracting},
                                                          {i0, CollectionItemExtracted}}));
  EXPECT_EQ(changes, (std::vector<TChange>{{i0, CollectionItemExtracted}}));
  // Ids are never reused.
  TcxComponentCollectionItem* i2 = parent->Items.AddNew();
  EXPECT_EQ(i2->ID(), 2);
  EXPECT_EQ(i2->Name(), "BarItem1") << "the freed name is free again";

  // Locked: changes are held back; unlocking with ForceChanged reports the whole collection.
  changes.clear();
  parent->Items.LockUpdates();
  i1->NotifyCollection();
  i2->MoveToIndex(0);
  EXPECT_TRUE(changes.empty());
  parent->Items.UnlockUpdates(true);
  EXPECT_EQ(changes, (std::vector<TChange>{{nullptr, CollectionItemChanged}}));
  EXPECT_EQ(i2->CollectionIndex(), 0);
  changes.clear();
  i1->NotifyCollection();
  i1->NotifyCollection(true);
  EXPECT_EQ(changes, (std::vector<TChange>{{i1, CollectionItemChanged},
                                           {nullptr, CollectionItemChanged}}));

  changes.clear();
  parent->Items.FreeAllItems();
  EXPECT_EQ(parent->Items.CountItems(), 0);
  EXPECT_EQ(changes, (std::vector<TChange>{{nullptr, CollectionItemChanged}}));
  changes.clear();
  parent->Items.FreeAllItems();
  EXPECT_TRUE(changes.empty()) << "an empty collection sends no change";
  parent->Items.OnChange = nullptr;
}

TEST(ComponentCollection, UniqueNames) {
  struct TdxScreenTip : TComponent {
    using TComponent::TComponent;
  };
  TComponent form(nullptr);
  TComponent repo(&form);
  repo.SetName("Repo");
  TdxScreenTip tip(nullptr);
  std::string name;
  CreateUniqueName(&form, &repo, &tip, "Tdx", "", name);
  EXPECT_EQ(name, "RepoScreenTip1");
  auto* taken = new TComponent(&repo);  // found through the owned components, any case
  taken->SetName("reposcreentip1");
  CreateUniqueName(&form, &repo, &tip, "Tdx", "", name);
  EXPECT_EQ(name, "RepoScreenTip2");

  struct Case {
    const char* prefix;
    const char* suffix;
    const char* want;
  } cases[] = {
      {"Tdx", "Open File!", "RepoOpenFile"},         // suffix kept, counter from 0
      {"Tdx", "2nd", "RepoScreenTip2nd"},            // a leading digit takes the class name
      {"Tcx", "", "RepodxScreenTip1"},               // the prefix does not match: "T" goes
      {"Tdx", "caf\xC3\xA9", "Repocaf"},             // a two-byte character goes whole
  };
  for (const Case& c : cases) {
    CreateUniqueName(&form, &repo, &tip, c.prefix, c.suffix, name);
    EXPECT_EQ(name, c.want) << c.suffix;
  }
  auto* open = new TComponent(&form);
  open->SetName("RepoOpenFile");
  CreateUniqueName(&form, &repo, &tip, "Tdx", "Open File", name);
  EXPECT_EQ(name, "RepoOpenFile1");
}

TEST(ComponentList, RelaysNotificationsAndDropsFreedComponents) {
  TcxComponentList list;
  std::vector<TChange> changes;
  std::vector<TListNotification> notes;
  list.OnComponentListChanged = [&](TObject*, TComponent* c, TcxComponentCollectionNotification a) {
    changes.push_back({c, a});
  };
  list.OnNotify = [&](TObject*, TComponent*, TListNotification a) { notes.push_back(a); };
  auto* a = new TComponent(nullptr);
  auto* b = new TComponent(nullptr);
  list.Add(a);
  list.Add(b);
  delete a;  // freed elsewhere: the list lets it go
  EXPECT_EQ(list.Count(), 1);
  list.SuspendNotify();
  list.Remove(b);
  EXPECT_EQ(changes.size(), 3u);
  list.ResumeNotify();
  EXPECT_EQ(changes, (std::vector<TChange>{{a, CollectionItemAdded},
                                           {b, CollectionItemAdded},
                                           {a, CollectionItemExtracted},
                                           {nullptr, CollectionItemChanged}}));
  EXPECT_EQ(notes.size(), 4u);
  delete b;
}

// ---- registered classes and auto width

namespace {
struct TBase : TObject {};
struct TMid : TBase {};
struct TLeaf : TMid {};
struct TBaseView : TObject {};
struct TLeafView : TObject {};
const bool kViewsRegistered = [] {
  RegisterClass<TBase>();
  RegisterClass<TMid, TBase>();
  RegisterClass<TLeaf, TMid>();
  RegisterClass<TBaseView>();
  RegisterClass<TLeafView>();
  return true;
}();
const TClassInfo* C(const std::type_info& t) { return FindClassInfo(t); }
}  // namespace

TEST(RegisteredClasses, MostSpecificRegistrationWins) {
  TcxRegisteredClassList list;
  // Registered descendant first: the ancestor still goes before it.
  list.AddClassPair(C(typeid(TLeaf)), C(typeid(TLeafView)));
  list.AddClassPair(C(typeid(TBase)), C(typeid(TBaseView)));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(0)->ItemClass, C(typeid(TBase)));
  EXPECT_EQ(list.LookupClass(C(typeid(TMid))), C(typeid(TBaseView))) << "through the ancestor";
  EXPECT_EQ(list.LookupClass(C(typeid(TLeaf))), C(typeid(TLeafView)));
  EXPECT_EQ(list.LookupClass(C(typeid(TBaseView))), nullptr);
  TcxRegisteredClassList leaves;
  leaves.AddClassPair(C(typeid(TLeaf)), C(typeid(TLeafView)));
  int index = -1;
  EXPECT_FALSE(leaves.FindItemClass(C(typeid(TMid)), index));
  EXPECT_EQ(index, 0) << "no ancestor entry; the lowest descendant entry";
  list.RemoveClassPair(C(typeid(TLeaf)), C(typeid(TLeafView)));
  EXPECT_EQ(list.LookupClass(C(typeid(TLeaf))), C(typeid(TBaseView)));

  TcxRegisteredClasses reg(true);
  reg.AddEntry(C(typeid(TMid)), "Zeta|the long text");
  reg.AddEntry(C(typeid(TLeaf)), "alpha");
  reg.AddEntry(C(typeid(TMid)), "again");
  EXPECT_EQ(reg.Count(), 2);
  EXPECT_EQ(reg.DescriptionAt(0), "Zeta");
  EXPECT_EQ(reg.DescriptionAt(1), "alpha");
  reg.SetSorted(true);
  EXPECT_EQ(reg.ClassAt(0), C(typeid(TLeaf)));
  EXPECT_EQ(reg.FindByClassName("TMid"), C(typeid(TMid)));
  EXPECT_EQ(reg.FindByClassName("tmid"), nullptr) << "exact case";
  reg.RemoveEntry(C(typeid(TLeaf)));
  EXPECT_EQ(reg.IndexOfClass(C(typeid(TLeaf))), -1);
}

TEST(AutoWidth, DistributesProportionallyAboveMinimums) {
  struct Item {
    int width, min;
    bool fixed;
  };
  struct Case {
    const char* name;
    int available;
    std::vector<Item> items;
    std::vector<int> want;
  } cases[] = {
      {"proportional", 300, {{100, 0, false}, {50, 0, false}}, {200, 100}},
      {"clamped to minimum", 150, {{100, 120, false}, {100, 0, false}}, {120, 30}},
      {"minimum equal to share clamps", 100, {{50, 50, false}, {50, 0, false}}, {50, 50}},
      {"fixed keeps width", 300, {{100, 0, true}, {50, 0, false}, {50, 0, false}}, {100, 100, 100}},
      {"all fixed", 500, {{100, 0, true}, {50, 0, true}}, {100, 50}},
      {"shares add up", 100, {{1, 0, false}, {1, 0, false}, {1, 0, false}}, {33, 34, 33}},
  };
  for (const Case& c : cases) {
    TcxAutoWidthObject o(int(c.items.size()));
    for (const Item& i : c.items) {
      TcxAutoWidthItem* it = o.NewItem();
      EXPECT_EQ(it->AutoWidth, -1);
      it->Width = i.width, it->MinWidth = i.min, it->Fixed = i.fixed;
    }
    o.AvailableWidth = c.available;
    o.DistributeWidth();
    std::vector<int> got;
    for (int k = 0; k < o.CountItems(); ++k) got.push_back(o.ItemAt(k)->AutoWidth);
    EXPECT_EQ(got, c.want) << c.name;
  }
}

TEST(Helpers, RangeCentreAndHintParts) {
  EXPECT_EQ(RangeCenter(1, 4), 2);
  EXPECT_EQ(RangeCenter(-1, -4), -3) << "(sum - 1) div 2 for a sum of 0 or below";
  EXPECT_EQ(RangeCenter(0, 0), 0);
  EXPECT_EQ(ShortHintPart("Open|Opens a file"), "Open");
  EXPECT_EQ(ShortHintPart("Open"), "Open");
  EXPECT_EQ(CharByteLength("a\xC3\xA9", 2), 2);
  EXPECT_EQ(CharByteLength("a\xC3\xA9", 1), 1);
}

namespace {
struct TCounted : TObject {
  static inline int Alive = 0;
  TCounted() { ++Alive; }
  ~TCounted() override { --Alive; }
};

class TLinked : public TcxComponent {
 public:
  using TcxComponent::TcxComponent;
  std::vector<TComponent*> Links;

 protected:
  void GetFakeComponentLinks(std::vector<TComponent*>& List) override { List = Links; }
};
}  // namespace

TEST(ObjectList, RemoveAndFreeFreesWhetherOrNotTheListOwns) {
  for (bool owns : {true, false}) {
    TCounted::Alive = 0;
    {
      std::unique_ptr<TcxObjectList> list(TcxObjectList::CreateWithOwnership(owns));
      auto* a = new TCounted;
      auto* b = new TCounted;
      list->Add(a);
      list->Add(b);
      EXPECT_EQ(list->RemoveAndFree(b), 1);
      EXPECT_EQ(list->RemoveAndFree(b), -1) << "no longer there";
      EXPECT_EQ(TCounted::Alive, 1);
      EXPECT_EQ(list->ItemAt(0), a);
      if (!owns) delete a;
    }
    EXPECT_EQ(TCounted::Alive, 0) << "owning: freed with the list";
  }
}

TEST(FakeLinks, TakenAfterLoadingOnlyWhileDesigning) {
  TComponent form(nullptr);
  TComponent a(nullptr), b(nullptr), c(nullptr), d(nullptr);
  auto* linked = new TLinked(&form);
  linked->Links = {&a, &b};
  linked->Loaded();
  EXPECT_EQ(linked->FakeComponentLink1(), nullptr) << "not designing";
  linked->SetComponentState(csDesigning, true);
  linked->Loaded();
  EXPECT_EQ(linked->FakeComponentLink1(), &a);
  EXPECT_EQ(linked->FakeComponentLink2(), &b);
  EXPECT_EQ(linked->FakeComponentLink3(), nullptr);
  linked->Links = {&d, &c, &b, &a};
  linked->Loaded();
  EXPECT_EQ(linked->FakeComponentLink3(), &b) << "the first three";
  linked->SetFakeComponentLink1(nullptr);
  linked->SetFakeComponentLink2(nullptr);
  linked->SetFakeComponentLink3(nullptr);
}
