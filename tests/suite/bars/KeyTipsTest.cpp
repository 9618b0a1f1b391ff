// Key tips as pure logic: the default tip of a command, the renaming that keeps the tips of one
// container apart, and the data object that holds a tip window while it is shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "suite/bars/dxBarKeyTips.h"

namespace {

std::vector<std::string> Unique(const std::vector<std::string>& Tips, int* Passes = nullptr) {
  TdxBarKeyTipDataList list;
  for (const std::string& t : Tips) {
    TdxBarKeyTipInfo info;
    info.KeyTip = t;
    list.push_back(std::make_unique<TdxBarKeyTipData>(info));
  }
  int passes = MakeKeyTipsUnique(list);
  if (Passes) *Passes = passes;
  std::vector<std::string> out;
  for (auto& d : list) out.push_back(d->Info.KeyTip);
  return out;
}

struct TWindows : IdxBarKeyTipWindowsManager {
  std::vector<std::string> Shown;
  int Removed = 0;
  TObject Window;
  TObject* AddWindow(const std::string& Caption, const TPoint&, uint8_t, uint8_t, bool) override {
    Shown.push_back(Caption);
    return &Window;
  }
  void RemoveWindow(TObject*) override { ++Removed; }
  void UpdateWindows() override {}
};

}  // namespace

TEST(KeyTips, RenamingKeepsTheTipsOfAContainerApart) {
  struct TCase {
    std::vector<std::string> In, Out;
  };
  std::vector<std::string> twelve(12, "O"), numbered;
  for (int i = 1; i <= 12; ++i) numbered.push_back(std::string("O") + (i < 10 ? "0" : "") + std::to_string(i));
  const TCase cases[] = {
      {{"F", "F", "E"}, {"F1", "F2", "E"}},
      {{"S", "SA"}, {"S1", "SA"}},
      {{"A", "A", "A1"}, {"A11", "A2", "A12"}},
      {{"A", "B", "C"}, {"A", "B", "C"}},
      {{"Y", "Y", "Y"}, {"Y1", "Y2", "Y3"}},
      // Tips are shown and typed in upper case, so "f" and "F" would be the same tip.
      {{"f", "F"}, {"f1", "F2"}},
      {twelve, numbered},
      {{}, {}},
  };
  for (const TCase& c : cases) EXPECT_EQ(Unique(c.In), c.Out);
  int passes = 0;
  Unique({"A", "A", "A1"}, &passes);
  EXPECT_EQ(passes, 2);
}

TEST(KeyTips, RenamingStopsAfterABoundedNumberOfPasses) {
  // Long chains of tips that start one another need several passes, each ending in tips that
  // are apart; whatever the input, the renaming returns.
  std::vector<std::string> chain = {"A", "A1", "A11", "A111", "A1111", "A", "A1"};
  int passes = 0;
  std::vector<std::string> out = Unique(chain, &passes);
  EXPECT_LE(passes, dxBarKeyTipMaxPasses);
  if (passes < dxBarKeyTipMaxPasses)
    for (size_t i = 0; i < out.size(); ++i)
      for (size_t j = 0; j < out.size(); ++j)
        if (i != j) EXPECT_NE(out[j].rfind(out[i], 0), 0u) << out[i] << " starts " << out[j];
}

TEST(KeyTips, ACommandsDefaultTip) {
  struct TCase {
    TShortCut ShortCut;
    const char* Caption;
    const char* Tip;
  };
  const TCase cases[] = {
      {TShortCut(0x4000 | 'O'), "&Open File...", "O"},  // Ctrl+letter wins over the accelerator
      {0, "&Save", "S"},
      {0, "Save &as", "A"},
      {0, "Exit", "Y"},
      {0, "Fish && &Chips", "C"},
      {0, "A&&B", "Y"},
      {0, "End&", "Y"},
      {TShortCut(0x6000 | 'S'), "Save &As", "A"},  // Ctrl+Shift+S is no Ctrl+letter
      {TShortCut(0x4000 | VK_F4), "&Close", "C"},
      {0, "&\xc3\xa9t\xc3\xa9", "\xc3\x89"},  // an accented accelerator in upper case
  };
  for (const TCase& c : cases) EXPECT_EQ(GeneratedItemKeyTip(c.ShortCut, c.Caption), c.Tip) << c.Caption;
  EXPECT_EQ(CutKeyTip("ABCDE"), "ABC");
  EXPECT_EQ(CutKeyTip("\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"), "\xc3\xa9\xc3\xa9\xc3\xa9");
  EXPECT_EQ(CutKeyTip("AB"), "AB");
}

TEST(KeyTips, AcceleratorPositionWithAndWithoutStripping) {
  struct TCase {
    const char* Caption;
    bool Strip;
    int Position;
    const char* After;
  };
  const TCase cases[] = {
      {"&File", true, 1, "File"}, {"&File", false, 2, "&File"},  {"A&&B", false, 0, "A&&B"},
      {"Save &As", true, 6, "Save As"}, {"End&", true, 0, "End&"}, {"&a&b", true, 2, "ab"},
  };
  for (const TCase& c : cases) {
    std::string s = c.Caption;
    EXPECT_EQ(AcceleratorCharPosition(s, c.Strip), c.Position) << c.Caption;
    EXPECT_EQ(s, c.After);
  }
}

TEST(KeyTips, ATipWindowIsMadeOnceInUpperCaseAndRemovedOnce) {
  TdxBarKeyTipInfo info;
  info.KeyTip = "f";
  TdxBarKeyTipData data(info);
  TWindows windows;
  data.HideTipWindow(&windows);
  EXPECT_EQ(windows.Removed, 0);
  data.ShowKeyTipWindow(&windows);
  data.ShowKeyTipWindow(&windows);
  EXPECT_EQ(windows.Shown, std::vector<std::string>{"F"});
  data.HideTipWindow(&windows);
  data.HideTipWindow(&windows);
  EXPECT_EQ(windows.Removed, 1);
  EXPECT_EQ(data.KeyTipWindow(), nullptr);
}

TEST(KeyTips, CharacterKeys) {
  for (WORD k : {WORD('A'), WORD('7'), WORD(VK_OEM_COMMA)}) EXPECT_TRUE(IsCharacterKey(k)) << k;
  for (WORD k : {WORD(VK_SPACE), WORD(VK_RETURN), WORD(VK_ESCAPE), WORD(VK_LEFT), WORD(VK_MENU), WORD(VK_F10)})
    EXPECT_FALSE(IsCharacterKey(k)) << k;
}
