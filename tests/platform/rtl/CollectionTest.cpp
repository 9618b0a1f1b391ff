#include <gtest/gtest.h>

#include "platform/rtl/Classes.h"

namespace {

class TBand : public TCollectionItem {
 public:
  explicit TBand(TCollection* c) : TCollectionItem(c) {}
  int Gain = 0;
  void SetGain(int v) {
    Gain = v;
    Changed(false);
  }
  void Assign(TPersistent* Source) override {
    if (auto* b = dynamic_cast<TBand*>(Source)) {
      Gain = b->Gain;
      return;
    }
    TCollectionItem::Assign(Source);
  }
};

class TBands : public TOwnedCollection {
 public:
  explicit TBands(TPersistent* owner) : TOwnedCollection(owner, ItemClassOf<TBand>()) {}
  std::vector<std::string> Log;

 protected:
  void Update(TCollectionItem* Item) override {
    Log.push_back(Item ? "update " + std::to_string(Item->Index()) : "update all");
  }
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
    // The item is complete when the addition is reported.
    if (Action == cnAdded)
      Log.push_back("added gain " + std::to_string(static_cast<TBand*>(Item)->Gain));
    if (Action == cnExtracting) Log.push_back("extracting " + std::to_string(Item->ID()));
  }
};

std::vector<int> Ids(const TCollection& c) {
  std::vector<int> r;
  for (int i = 0; i < c.Count(); ++i) r.push_back(c[i]->ID());
  return r;
}

}  // namespace

TEST(Collection, IndexMovesIdsAndNotifications) {
  TComponent owner(nullptr);
  owner.SetName("Equalizer");
  TBands bands(&owner);
  bands.SetPropName("Bands");
  for (int i = 0; i < 4; ++i) bands.Add();
  EXPECT_EQ(Ids(bands), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(bands.Log[0], "added gain 0");
  EXPECT_EQ(bands.Log[1], "update all");
  bands.Log.clear();

  bands[3]->SetIndex(0);
  EXPECT_EQ(Ids(bands), (std::vector<int>{3, 0, 1, 2}));
  bands[0]->SetIndex(3);
  EXPECT_EQ(Ids(bands), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_THROW(bands[0]->SetIndex(4), EListError);
  EXPECT_EQ(bands.Log, (std::vector<std::string>{"update all", "update all"}));
  bands.Log.clear();

  bands.Get<TBand>(2)->SetGain(5);
  EXPECT_EQ(bands.Log, (std::vector<std::string>{"update 2"}));
  EXPECT_EQ(bands[2]->GetNamePath(), "Equalizer.Bands[2]");
  bands.Log.clear();

  bands.Delete(1);
  EXPECT_EQ(Ids(bands), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(bands.Log, (std::vector<std::string>{"extracting 1", "update all"}));
  EXPECT_EQ(bands.FindItemID(2), bands[1]);
  EXPECT_EQ(bands.FindItemID(1), nullptr);
  EXPECT_EQ(bands.Insert(0)->ID(), 4);  // IDs are never reused
  EXPECT_EQ(bands[0]->ID(), 4);
  bands.Log.clear();

  bands.BeginUpdate();
  bands.Get<TBand>(0)->SetGain(1);
  bands.Add();
  bands.EndUpdate();
  EXPECT_EQ(bands.Log, (std::vector<std::string>{"added gain 0", "update all"}));

  delete bands[0];  // an item freed on its own leaves its collection
  EXPECT_EQ(bands.Count(), 4);
}

TEST(Collection, AssignCopiesItemsInOneUpdate) {
  TBands a(nullptr), b(nullptr);
  for (int g : {3, 6, 9}) static_cast<TBand*>(a.Add())->Gain = g;
  b.Add();
  b.Log.clear();
  b.Assign(&a);
  ASSERT_EQ(b.Count(), 3);
  EXPECT_EQ(b.Get<TBand>(2)->Gain, 9);
  int updates = 0;
  for (const auto& s : b.Log) updates += s.rfind("update", 0) == 0;
  EXPECT_EQ(updates, 1);
  TStringList notACollection;
  EXPECT_THROW(b.Assign(&notACollection), EConvertError);
  // Moving an item between collections.
  TCollectionItem* moved = a[0];
  moved->SetCollection(&b);
  EXPECT_EQ(a.Count(), 2);
  EXPECT_EQ(b.Count(), 4);
  EXPECT_EQ(moved->Collection(), &b);
}
