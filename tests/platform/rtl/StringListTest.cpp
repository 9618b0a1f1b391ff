#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/TestEnv.h"
#include "platform/rtl/Classes.h"

namespace {

std::vector<std::string> Items(const TStrings& l) {
  std::vector<std::string> r;
  for (int i = 0; i < l.Count(); ++i) r.push_back(l[i]);
  return r;
}

using V = std::vector<std::string>;

int gFreed = 0;
class TTracked : public TObject {
 public:
  explicit TTracked(int v) : Value(v) {}
  ~TTracked() override { ++gFreed; }
  int Value;
};

}  // namespace

TEST(StringList, SortedWithDuplicatesAndCase) {
  struct Case {
    TDuplicates dup;
    bool caseSensitive;
    V expected;
  } cases[] = {
      {dupIgnore, false, {"apple", "b", "Cherry"}},
      {dupAccept, false, {"apple", "Apple", "b", "Cherry", "cherry"}},
      {dupIgnore, true, {"apple", "Apple", "b", "cherry", "Cherry"}},
  };
  for (const auto& c : cases) {
    TStringList l;
    l.SetDuplicates(c.dup);
    l.SetCaseSensitive(c.caseSensitive);
    l.SetSorted(true);
    for (const char* s : {"Cherry", "apple", "b", "Apple", "cherry"}) l.Add(s);
    EXPECT_EQ(Items(l), c.expected);
  }
  // Letters beyond ASCII sort by their letter, not by their bytes.
  TStringList words;
  words.SetSorted(true);
  words.AddStrings({"zebra", "Ärger", "apfel", "_x"});
  EXPECT_EQ(Items(words), (V{"_x", "apfel", "Ärger", "zebra"}));
  EXPECT_EQ(words.IndexOf("ärger"), 2);
  TStringList l;
  l.SetSorted(true);
  l.SetDuplicates(dupError);
  l.Add("x");
  try {
    l.Add("X");
    ADD_FAILURE();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "String list does not allow duplicates");
  }
  EXPECT_THROW(l.Insert(0, "a"), EStringListError);
  EXPECT_THROW(l.Exchange(0, 0), EStringListError);
  int index;
  EXPECT_FALSE(l.Find("y", index));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(l.IndexOf("X"), 0);
  try {
    l.Delete(3);
    ADD_FAILURE();
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (3)");
  }
}

TEST(StringList, ObjectsFollowTheirStrings) {
  gFreed = 0;
  {
    TStringList l(true);
    l.AddObject("c", new TTracked(3));
    l.AddObject("a", new TTracked(1));
    l.AddObject("b", new TTracked(2));
    l.CustomSort([](TStringList* list, int a, int b) {
      return static_cast<TTracked*>(list->Objects(b))->Value -
             static_cast<TTracked*>(list->Objects(a))->Value;  // descending by object
    });
    EXPECT_EQ(Items(l), (V{"c", "b", "a"}));
    l.Sort();
    EXPECT_EQ(Items(l), (V{"a", "b", "c"}));
    EXPECT_EQ(static_cast<TTracked*>(l.Objects(2))->Value, 3);
    EXPECT_EQ(l.IndexOfObject(l.Objects(1)), 1);
    l.Move(0, 2);
    EXPECT_EQ(Items(l), (V{"b", "c", "a"}));
    EXPECT_EQ(static_cast<TTracked*>(l.Objects(2))->Value, 1);
    EXPECT_EQ(gFreed, 0);  // moving frees nothing
    l.Delete(0);
    EXPECT_EQ(gFreed, 1);
    l.SetObjects(0, new TTracked(9));
    EXPECT_EQ(gFreed, 2);
  }
  EXPECT_EQ(gFreed, 4);
}

TEST(StringList, NamesValuesCommaAndDelimitedText) {
  TStringList l;
  l.SetText("Rate=44100\r\nBits=16\nname only\r\r");
  EXPECT_EQ(Items(l), (V{"Rate=44100", "Bits=16", "name only", ""}));
  EXPECT_EQ(l.Values("rate"), "44100");
  EXPECT_EQ(l.Names(1), "Bits");
  EXPECT_EQ(l.Names(2), "");
  l.SetValues("Bits", "24");
  l.SetValues("Channels", "2");
  l.SetValues("Rate", "");
  EXPECT_EQ(Items(l), (V{"Bits=24", "name only", "", "Channels=2"}));
  EXPECT_EQ(l.Text(), "Bits=24\nname only\n\nChannels=2\n");

  struct Case {
    const char* text;
    V items;
    const char* back;
  } cases[] = {
      {"a,b,c", {"a", "b", "c"}, "a,b,c"},
      {"a b, c", {"a", "b", "c"}, "a,b,c"},  // blanks split outside quotes
      {"\"a b\",\"say \"\"hi\"\"\"", {"a b", "say \"hi\""}, "\"a b\",\"say \"\"hi\"\"\""},
      {"a,,b,", {"a", "", "b", ""}, "a,,b,"},
      {"  ", {}, ""},
      {"\"\"", {""}, "\"\""},
  };
  for (const auto& c : cases) {
    l.SetCommaText(c.text);
    EXPECT_EQ(Items(l), c.items) << c.text;
    EXPECT_EQ(l.CommaText(), c.back) << c.text;
  }
  l.SetDelimiter(';');
  l.SetStrictDelimiter(true);
  l.SetDelimitedText("a b;c,d; e");
  EXPECT_EQ(Items(l), (V{"a b", "c,d", " e"}));
  EXPECT_EQ(l.DelimitedText(), "a b;c,d; e");
}

TEST(StringList, ChangeEventsOncePerUpdate) {
  TStringList l;
  std::string log;
  l.OnChanging = [&](TObject*) { log += "<"; };
  l.OnChange = [&](TObject*) { log += ">"; };
  l.Add("a");
  EXPECT_EQ(log, "<>");
  log.clear();
  l.BeginUpdate();
  l.Add("b");
  l.BeginUpdate();
  l.Delete(0);
  l.EndUpdate();
  EXPECT_EQ(log, "<");
  l.EndUpdate();
  EXPECT_EQ(log, "<>");
  log.clear();
  l.SetCommaText("x,y,z");
  EXPECT_EQ(log, "<>");
  TStringList copy;
  copy.Assign(&l);
  EXPECT_TRUE(copy.Equals(&l));
}

TEST(StringList, FileRoundTrip) {
  std::string dir = sonalix::test::MakeTempDir("sl").string();
  TStringList l;
  l.AddStrings({"first", "", "ünïcödé", "last \"quoted\""});
  l.SaveToFile(dir + "/lines.txt");
  TStringList back;
  back.LoadFromFile(dir + "/lines.txt");
  EXPECT_EQ(Items(back), Items(l));

  std::ofstream(dir + "/crlf.txt", std::ios::binary) << "\xEF\xBB\xBFone\r\ntwo";
  back.LoadFromFile(dir + "/crlf.txt");
  EXPECT_EQ(Items(back), (V{"one", "two"}));

  TMemoryStream m;
  l.SaveToStream(&m);
  m.SetPosition(0);
  back.LoadFromStream(&m);
  EXPECT_EQ(Items(back), Items(l));

  try {
    back.LoadFromFile(dir + "/missing.txt");
    ADD_FAILURE();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(),
              "Cannot open file \"" + dir + "/missing.txt\". No such file or directory");
  }
}

TEST(Lists, ObjectAndComponentListsOwnership) {
  gFreed = 0;
  {
    TObjectList owning;
    auto* a = new TTracked(1);
    owning.Add(a);
    owning.Add(new TTracked(2));
    owning.Add(nullptr);
    owning.Pack();
    EXPECT_EQ(owning.Count(), 2);
    EXPECT_EQ(owning.Extract(a), a);
    EXPECT_EQ(gFreed, 0);
    delete a;
    owning.Delete(0);
    EXPECT_EQ(gFreed, 2);
    owning.Add(new TTracked(3));
    EXPECT_THROW(owning.Items(5), EListError);
  }
  EXPECT_EQ(gFreed, 3);

  TList ints;
  for (intptr_t v : {3, 1, 2}) ints.Add(reinterpret_cast<void*>(v));
  ints.Sort([](void* x, void* y) { return int(intptr_t(x) - intptr_t(y)); });
  ints.Move(0, 2);
  EXPECT_EQ(intptr_t(ints[0]) * 100 + intptr_t(ints[1]) * 10 + intptr_t(ints[2]), 231);

  TComponent owner(nullptr);
  TComponentList watched(false);
  auto* c1 = new TComponent(&owner);
  auto* c2 = new TComponent(&owner);
  watched.Add(c1);
  watched.Add(c2);
  delete c1;  // freed elsewhere: the list forgets it
  EXPECT_EQ(watched.Count(), 1);
  EXPECT_EQ(watched[0], c2);
}
