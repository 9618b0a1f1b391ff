#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/TestEnv.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Streaming.h"
#include "platform/sys/Registry.h"
#include "suite/bars/dxBar.h"

namespace {

// A form with a menu bar, a toolbar and a File menu; Extra goes into the manager (more items),
// ToolbarLinks replaces the toolbar's links and Options sets manager properties.
struct TDescription {
  std::string Options;
  std::string ToolbarLinks = R"(item { ItemName = "ButtonOpen" }
        item { ItemName = "ButtonSave"
          BeginGroup = true }
        item { ItemName = "ButtonExit" })";
  std::string Extra;
  std::string FormName = "MainForm";

  std::string Text() const {
    return "object " + FormName + R"(: TForm {
  object BarManager: TdxBarManager {
    )" + Options + R"(
    object BarManagerBar1: TdxBar {
      Caption = "Menu"
      DockingStyle = dsTop
      IsMainMenu = true
      ItemLinks = items { item { ItemName = "SubItemFile" } }
      Visible = true
    }
    object BarManagerBar2: TdxBar {
      Caption = "Toolbar"
      DockingStyle = dsTop
      Row = 1
      ItemLinks = items {
        )" + ToolbarLinks + R"(
      }
      Visible = true
    }
    object SubItemFile: TdxBarSubItem {
      Caption = "&File"
      Category = 0
      ItemLinks = items {
        item { ItemName = "ButtonOpen" }
        item { ItemName = "ButtonSave" }
        item { ItemName = "ButtonExit" }
      }
    }
    object ButtonOpen: TdxBarButton {
      Caption = "&Open"
      Category = 0
    }
    object ButtonSave: TdxBarButton {
      Caption = "&Save"
      Category = 0
    }
    object ButtonExit: TdxBarButton {
      Caption = "E&xit"
      Category = 0
    }
    )" + Extra + R"(
  }
})";
  }
};

struct TLoaded {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TdxBarManager* Manager = nullptr;

  explicit TLoaded(const TDescription& D) {
    ReadComponentFromText(Form.get(), D.Text());
    Manager = dynamic_cast<TdxBarManager*>(Form->FindComponent("BarManager"));
  }
  TdxBar* Bar(int Index) const { return Manager->Bars()->Items(Index); }
  TdxBarItemLinks* FileMenu() const { return Manager->ItemByName("SubItemFile")->ItemLinks(); }
};

std::vector<std::string> Names(TdxBarItemLinks* Links) {
  std::vector<std::string> r;
  for (int i = 0; i < Links->Count(); ++i)
    r.push_back(Links->LinkByIndex(i)->Item() ? Links->LinkByIndex(i)->Item()->Name() : "?");
  return r;
}

std::string ReadText(const std::filesystem::path& Path) {
  std::ifstream in(Path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteText(const std::filesystem::path& Path, const std::string& Text) {
  std::ofstream(Path) << Text;
}

// The user changes the toolbar and the File menu and moves the toolbar.
void Customize(TLoaded& L) {
  TdxBar* toolbar = L.Bar(1);
  toolbar->ItemLinks()->LinkByIndex(2)->SetVisible(false);
  toolbar->ItemLinks()->LinkByIndex(0)->SetUserCaption("Open it");
  toolbar->ItemLinks()->LinkByIndex(0)->SetUserWidth(140);
  toolbar->ItemLinks()->LinkByIndex(1)->SetViewLevels({ivlSmallIcon});
  toolbar->ItemLinks()->LinkByIndex(1)->SetPosition(ipContinuesRow);
  toolbar->ItemLinks()->MoveLink(2, 0);
  toolbar->SetDockingStyle(dsLeft);
  toolbar->SetRow(3);
  toolbar->SetFloatLeft(40);
  toolbar->SetFloatTop(50);
  toolbar->SetFloatClientWidth(300);
  toolbar->SetCaption("My tools");
  L.FileMenu()->LinkByIndex(1)->PromoteInRecentList(true);
  L.FileMenu()->MoveLink(2, 0);
  L.Manager->ShowHint = false;
  L.Manager->MenuAnimations = maSlide;
  L.Manager->ImageOptions()->SetLargeIcons(true);
}

void ExpectCustomized(TLoaded& L) {
  TdxBar* toolbar = L.Bar(1);
  EXPECT_EQ(Names(toolbar->ItemLinks()),
            (std::vector<std::string>{"ButtonExit", "ButtonOpen", "ButtonSave"}));
  TdxBarItemLink* exit = toolbar->ItemLinks()->LinkByIndex(0);
  TdxBarItemLink* open = toolbar->ItemLinks()->LinkByIndex(1);
  TdxBarItemLink* save = toolbar->ItemLinks()->LinkByIndex(2);
  EXPECT_FALSE(exit->Visible());
  EXPECT_EQ(open->EffectiveCaption(), "Open it");
  EXPECT_EQ(open->EffectiveWidth(), 140);
  EXPECT_EQ(open->UserDefine(), (TdxBarUserDefines{udCaption, udWidth}));
  EXPECT_TRUE(save->BeginGroup());
  EXPECT_EQ(save->ViewLevels(), TdxBarItemViewLevels{ivlSmallIcon});
  EXPECT_EQ(save->Position(), ipContinuesRow);
  EXPECT_EQ(toolbar->Caption(), "My tools");
  EXPECT_EQ(toolbar->DockingStyle(), dsLeft);
  // Alone in the left site, the toolbar asked for row 3 takes the one row appended there.
  EXPECT_EQ(toolbar->Row(), 0);
  EXPECT_EQ(toolbar->FloatLeft(), 40);
  EXPECT_EQ(toolbar->FloatTop(), 50);
  EXPECT_EQ(toolbar->FloatClientWidth(), 300);
  EXPECT_TRUE(toolbar->Visible());
  EXPECT_EQ(Names(L.FileMenu()), (std::vector<std::string>{"ButtonExit", "ButtonOpen", "ButtonSave"}));
  EXPECT_FALSE(L.Manager->ShowHint);
  EXPECT_EQ(L.Manager->MenuAnimations, maSlide);
  EXPECT_TRUE(L.Manager->ImageOptions()->LargeIcons());
}

struct LayoutStore : ::testing::Test {
  std::filesystem::path Dir = sonalix::test::MakeTempDir("layout");
  std::string IniPath = (Dir / "bars.ini").string();
};

}  // namespace

TEST_F(LayoutStore, AnIniFileGivesBackTheUsersBarsLinksAndOptions) {
  {
    TLoaded first{{}};
    Customize(first);
    first.Manager->SaveLayoutToIniFile(IniPath);
  }
  std::string text = ReadText(IniPath);
  EXPECT_NE(text.find("[MainForm.BarManager.Main]"), std::string::npos);
  EXPECT_NE(text.find("[MainForm.BarManager.Bar1.ItemLink0]"), std::string::npos);
  EXPECT_NE(text.find("[MainForm.BarManager.SubItem_SubItemFile.ItemLink2]"), std::string::npos);

  TLoaded second{{}};
  second.Manager->LoadLayoutFromIniFile(IniPath);
  ExpectCustomized(second);
  // What was read writes back the same.
  std::string again = (Dir / "again.ini").string();
  second.Manager->SaveLayoutToIniFile(again);
  EXPECT_EQ(ReadText(again), text);
}

TEST_F(LayoutStore, TheManagerReadsItsIniFileWhenLoadedAndWritesItOnRequest) {
  TDescription d;
  d.Options = "StoreInIniFile = true\n    IniFileName = \"" + IniPath + "\"";
  {
    TLoaded first(d);
    Customize(first);
    first.Manager->StoreLayout();
  }
  TLoaded second(d);
  ExpectCustomized(second);
}

TEST_F(LayoutStore, TheRegistryGivesBackTheLayoutAndHoldsOneSetOfKeys) {
  const std::string path = "Software\\Sonalix\\Test\\Bars";
  {
    TLoaded first{{}};
    Customize(first);
    first.Manager->Bars()->Add()->SetCaption("Extra");
    first.Manager->SaveLayoutToRegistry(path);
    // Written again with one bar fewer: no key of the old third bar stays.
    delete first.Manager->Bars()->Items(2);
    first.Manager->SaveLayoutToRegistry("\\" + path + "\\");
  }
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\" + path));
  EXPECT_EQ(reg.ReadInteger("BarCount"), 2);
  EXPECT_EQ(reg.ReadInteger("Version"), 20110106);
  EXPECT_FALSE(reg.KeyExists("\\" + path + "\\Bar2"));
  EXPECT_TRUE(reg.KeyExists("\\" + path + "\\Bar1\\ItemLink2"));
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\" + path + "\\Bar1\\ItemLink1"));
  EXPECT_EQ(reg.GetDataType("UserDefine"), rdBinary);
  EXPECT_EQ(reg.ReadString("UserCaption"), "Open it");
  reg.CloseKey();

  TDescription d;
  d.Options = R"(StoreInRegistry = true
    RegistryPath = "Software\\Sonalix\\Test\\Bars")";
  TLoaded second(d);
  ExpectCustomized(second);
  EXPECT_EQ(second.Manager->Bars()->Count(), 2);
}

TEST_F(LayoutStore, UserGlyphsGoToTheRegistryOnly) {
  TBitmap glyph;
  glyph.SetWidth(16);
  glyph.SetHeight(16);
  glyph.Canvas()->SetPixel(3, 4, 0x0000FF);
  {
    TLoaded first{{}};
    first.Bar(1)->ItemLinks()->LinkByIndex(0)->SetUserGlyph(&glyph);
    first.Manager->SaveLayoutToRegistry("Software\\Sonalix\\Glyphs");
    first.Manager->SaveLayoutToIniFile(IniPath);
  }
  EXPECT_EQ(ReadText(IniPath).find("UserGlyph"), std::string::npos);

  TLoaded fromIni{{}};
  fromIni.Manager->LoadLayoutFromIniFile(IniPath);
  EXPECT_FALSE(fromIni.Bar(1)->ItemLinks()->LinkByIndex(0)->UserDefine().Contains(udGlyph));

  TLoaded fromRegistry{{}};
  fromRegistry.Manager->LoadLayoutFromRegistry("Software\\Sonalix\\Glyphs");
  TdxBarItemLink* link = fromRegistry.Bar(1)->ItemLinks()->LinkByIndex(0);
  ASSERT_TRUE(link->UserDefine().Contains(udGlyph));
  EXPECT_EQ(link->UserGlyph()->Width(), 16);
  EXPECT_EQ(link->UserGlyph()->Canvas()->Pixel(3, 4), TColor(0x0000FF));
}

TEST_F(LayoutStore, TwoManagersShareAnIniFileWithoutErasingEachOther) {
  TDescription other;
  other.FormName = "OtherForm";
  {
    TLoaded a{{}}, b(other);
    a.Bar(1)->SetCaption("A's tools");
    b.Bar(1)->SetCaption("B's tools");
    a.Manager->SaveLayoutToIniFile(IniPath);
    b.Manager->SaveLayoutToIniFile(IniPath);
    a.Bar(1)->SetCaption("A's tools again");
    a.Manager->SaveLayoutToIniFile(IniPath);
  }
  TLoaded a2{{}}, b2(other);
  a2.Manager->LoadLayoutFromIniFile(IniPath);
  b2.Manager->LoadLayoutFromIniFile(IniPath);
  EXPECT_EQ(a2.Bar(1)->Caption(), "A's tools again");
  EXPECT_EQ(b2.Bar(1)->Caption(), "B's tools");
}

TEST_F(LayoutStore, ItemsNewSinceTheLayoutKeepTheirPlaceAfterTheirPredecessor) {
  {
    TLoaded old{{}};
    old.Bar(1)->ItemLinks()->MoveLink(0, 2);  // Save, Exit, Open
    old.Manager->SaveLayoutToIniFile(IniPath);
  }
  TDescription d;
  d.Extra = R"(object ButtonNew: TdxBarButton {
      Caption = "&New"
      Category = 0
    }
    object ButtonHelp: TdxBarButton {
      Caption = "&Help"
      Category = 0
    })";
  d.ToolbarLinks = R"(item { ItemName = "ButtonNew" }
        item { ItemName = "ButtonOpen" }
        item { ItemName = "ButtonHelp" }
        item { ItemName = "ButtonSave" }
        item { ItemName = "ButtonExit" })";
  TLoaded now(d);
  now.Manager->LoadLayoutFromIniFile(IniPath);
  EXPECT_EQ(Names(now.Bar(1)->ItemLinks()),
            (std::vector<std::string>{"ButtonNew", "ButtonSave", "ButtonExit", "ButtonOpen",
                                      "ButtonHelp"}));
}

TEST_F(LayoutStore, UsageDataSurvivesTheStoreAndResetsToTheDescription) {
  {
    TLoaded first{{}};
    TdxBarItemLinks* file = first.FileMenu();
    file->LinkByIndex(2)->SetMostRecentlyUsed(false);
    for (int i = 0; i < 5; ++i) file->LinkByIndex(1)->PromoteInRecentList(true);
    first.Manager->SaveLayoutToIniFile(IniPath);
    EXPECT_EQ(ReadText(IniPath).find("MostRecentlyUsed"), std::string::npos);
  }
  TLoaded second{{}};
  TdxBarItemLinks* file = second.FileMenu();
  int before = file->LinkByIndex(1)->UseCount();
  second.Manager->LoadLayoutFromIniFile(IniPath);
  EXPECT_EQ(file->LinkByIndex(1)->UseCount(), before + 5);
  EXPECT_EQ(file->LinkByIndex(2)->UseCount(), 0);
  EXPECT_EQ(file->LinkByIndex(1)->RecentIndex(), 0);

  // The snapshot remembers the description's state: every link most recently used.
  ASSERT_NE(second.Manager->LayoutSnapshot(), nullptr);
  EXPECT_TRUE(second.Manager->LayoutSnapshot()->ReadBool(
      "MainForm.BarManager.SubItem_SubItemFile.ItemLink2", "MostRecentlyUsed", false));
  second.Manager->ResetUsageData();
  for (int i = 0; i < file->Count(); ++i) {
    EXPECT_TRUE(file->LinkByIndex(i)->MostRecentlyUsed());
    EXPECT_EQ(file->LinkByIndex(i)->UseCount(), second.Manager->InitialUseCount());
  }
}

TEST_F(LayoutStore, AOneCharacterUserDefineIsADecimalSet) {
  {
    TLoaded first{{}};
    first.Manager->SaveLayoutToIniFile(IniPath);
  }
  TMemIniFile ini(IniPath);
  const std::string link = "MainForm.BarManager.Bar1.ItemLink0";
  ini.WriteString(link, "UserDefine", "5");
  ini.WriteString(link, "UserCaption", "Mine");
  ini.WriteInteger(link, "UserPaintStyle", int(psCaptionGlyph));
  ini.UpdateFile();
  TLoaded second{{}};
  second.Manager->LoadLayoutFromIniFile(IniPath);
  TdxBarItemLink* l = second.Bar(1)->ItemLinks()->LinkByIndex(0);
  EXPECT_EQ(l->UserDefine(), (TdxBarUserDefines{udCaption, udPaintStyle}));
  EXPECT_EQ(l->EffectiveCaption(), "Mine");
  EXPECT_EQ(l->EffectivePaintStyle(), psCaptionGlyph);
}

// Damaged layouts: each row changes one value of a good layout; the manager reads the rest.
TEST_F(LayoutStore, DamagedValuesFallBackAndNeverHang) {
  struct TCase {
    const char* Section;  // after "MainForm.BarManager."
    const char* Ident;
    const char* Value;
    std::vector<std::string> ToolbarLinks;
    TdxBarDockingStyle Docking;
    int Bars;
  };
  const std::vector<std::string> all{"ButtonOpen", "ButtonSave", "ButtonExit"};
  const TCase cases[] = {
      {"Bar1.ItemLink1", "ItemName", "NoSuchButton", {"ButtonOpen", "ButtonExit"}, dsTop, 2},
      {"Bar1", "DockingStyle", "99", all, dsTop, 2},
      {"Bar1", "DockingStyle", "banana", all, dsTop, 2},
      {"Bar1", "ItemLinkCount", "2147483647", all, dsTop, 2},
      {"Bar1", "ItemLinkCount", "-7", {}, dsTop, 2},
      {"Main", "BarCount", "2147483647", all, dsTop, 2},
      {"Main", "Version", "not a number", all, dsTop, 2},
      {"Bar1.ItemLink0", "RecentIndex", "1000", all, dsTop, 2},
      {"Bar1.ItemLink0", "UserDefine", "ZZ", all, dsTop, 2},
      {"Bar1.ItemLink0", "ViewLevels", "", all, dsTop, 2},
  };
  {
    TLoaded first{{}};
    first.Manager->SaveLayoutToIniFile(IniPath);
  }
  const std::string good = ReadText(IniPath);
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Section) + "." + c.Ident + "=" + c.Value);
    WriteText(IniPath, good);
    {
      TMemIniFile ini(IniPath);
      ini.WriteString(std::string("MainForm.BarManager.") + c.Section, c.Ident, c.Value);
      ini.UpdateFile();
    }
    TLoaded l{{}};
    l.Manager->LoadLayoutFromIniFile(IniPath);
    EXPECT_EQ(Names(l.Bar(1)->ItemLinks()), c.ToolbarLinks);
    EXPECT_EQ(l.Bar(1)->DockingStyle(), c.Docking);
    EXPECT_EQ(l.Manager->Bars()->Count(), c.Bars);
    EXPECT_TRUE(l.Bar(1)->Visible());
  }
  // A sub-menu that would hold itself loses that link and keeps the others.
  WriteText(IniPath, good);
  {
    TMemIniFile ini(IniPath);
    ini.WriteString("MainForm.BarManager.SubItem_SubItemFile.ItemLink0", "ItemName", "SubItemFile");
    ini.UpdateFile();
  }
  TLoaded l{{}};
  l.Manager->LoadLayoutFromIniFile(IniPath);
  EXPECT_EQ(Names(l.FileMenu()), (std::vector<std::string>{"ButtonSave", "ButtonExit"}));
}

TEST_F(LayoutStore, EmptyPathsAndAMissingLayoutChangeNothing) {
  TLoaded l{{}};
  l.Manager->SaveLayoutToIniFile("");
  l.Manager->SaveLayoutToRegistry("");
  l.Manager->LoadLayoutFromIniFile((Dir / "missing.ini").string());
  l.Manager->LoadLayoutFromRegistry("Software\\Sonalix\\Missing");
  EXPECT_FALSE(std::filesystem::exists(Dir / "missing.ini"));
  EXPECT_EQ(Names(l.Bar(1)->ItemLinks()),
            (std::vector<std::string>{"ButtonOpen", "ButtonSave", "ButtonExit"}));
  EXPECT_TRUE(l.Bar(0)->Visible());
  EXPECT_TRUE(l.Bar(1)->Visible());
  EXPECT_TRUE(l.Manager->ShowHint);
}
