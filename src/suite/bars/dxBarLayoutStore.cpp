// The bar layout store: which bars exist, where they sit, which links they show with which user
// settings and how often each was used, kept in the registry, an ini file or the snapshot taken
// when the manager's description was loaded.

#include <algorithm>
#include <optional>
#include <set>

#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Streams.h"
#include "platform/sys/RegistryIniFile.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarStrs.h"

namespace {

constexpr int LayoutVersion = 20110106;

std::string NormalizedRegistryPath(const std::string& Path) {
  std::string v = Path;
  if (v.empty()) return v;
  if (v.front() != '\\') v.insert(v.begin(), '\\');
  if (v.back() != '\\') v.push_back('\\');
  return v;
}

bool StartsWithText(const std::string& S, const std::string& Prefix) {
  return S.size() >= Prefix.size() && SameText(S.substr(0, Prefix.size()), Prefix);
}

// Stored ordinals come from outside: one the enumeration does not have keeps the current value.
template <class E>
E ReadOrdinal(TCustomIniFile* Ini, const std::string& S, const std::string& Ident, E Current,
              E Last) {
  int v = Ini->ReadInteger(S, Ident, int(Current));
  return v >= 0 && v <= int(Last) ? E(v) : Current;
}

// A one-byte set; a missing or empty value gives Default.
uint8_t ReadByte(TCustomIniFile* Ini, const std::string& S, const std::string& Ident,
                 uint8_t Default) {
  TMemoryStream m;
  if (Ini->ReadBinaryStream(S, Ident, &m) < 1) return Default;
  return static_cast<const uint8_t*>(m.Memory())[0];
}

void WriteByte(TCustomIniFile* Ini, const std::string& S, const std::string& Ident, uint8_t Value) {
  TMemoryStream m;
  m.WriteBuffer(&Value, 1);
  m.SetPosition(0);
  Ini->WriteBinaryStream(S, Ident, &m);
}

}  // namespace

// Reads and writes one layout: the manager, its bars with their links and the items' own links.
class TdxBarLayoutIO {
 public:
  TdxBarLayoutIO(TdxBarManager* Manager, TCustomIniFile* Ini, std::string Base, bool Registry)
      : M(Manager), Ini(Ini), Base(std::move(Base)), Registry(Registry) {}

  std::string Separator() const { return Registry ? "\\" : "."; }
  std::string MainSection() const { return Registry ? Base : Base + "Main"; }
  std::string ItemsSection() const { return Base + "Items"; }
  std::string BarSection(int N) const { return Base + "Bar" + IntToStr(N); }
  std::string LinkSection(const std::string& S, int J) const {
    return S + Separator() + "ItemLink" + IntToStr(J);
  }
  std::string OwnLinksSection(TdxBarItem* Item) const {
    auto* b = dynamic_cast<TdxBarButtonLikeItem*>(Item);
    return b && !Item->Name().empty() && Item->ItemLinks() ? b->OwnLinksSection(Base)
                                                           : std::string();
  }

  void Write();
  void Read();
  void RestoreUsage();
  // The bar's section of this layout (found by caption); empty when there is none.
  std::string BarSectionOf(TdxBar* Bar) const;
  // Reads the bar's links back (and its placement when asked), then the own links of the
  // items it shows, all without the stored usage's new-item rules.
  void ResetBar(TdxBar* Bar, const std::string& S, bool Placement);

 private:
  void EraseOld();
  void WriteBar(TdxBar* Bar, int N);
  void WriteLinks(TdxBarItemLinks* Links, const std::string& S);
  void WriteLink(TdxBarItemLink* Link, const std::string& S, bool OfBar, bool Recent);
  void ReadBar(TdxBar* Bar, const std::string& S, bool Placement = true);
  void RestoreOwnLinks(TdxBarItem* Item, std::set<TdxBarItem*>& Seen);
  void ReadLinks(TdxBarItemLinks* Links, const std::string& S);
  // False when the link was destroyed.
  bool ReadLink(TdxBarItemLink* Link, const std::string& S, bool OfBar, bool Recent);
  void RestoreMostRecentlyUsed(TdxBarItemLinks* Links, const std::string& S);
  bool IsNewItem(TdxBarItem* Item) const;

  TdxBarManager* M;
  TCustomIniFile* Ini;
  std::string Base;
  bool Registry;
};

// ---- writing

void TdxBarLayoutIO::EraseOld() {
  TStringList sections;
  Ini->ReadSections(&sections);
  for (int i = 0; i < sections.Count(); ++i)
    if (StartsWithText(sections[i], Base)) Ini->EraseSection(sections[i]);
  if (Registry) Ini->EraseSection(Base);
}

void TdxBarLayoutIO::Write() {
  EraseOld();
  const std::string main = MainSection();
  Ini->WriteInteger(main, "Version", LayoutVersion);
  if (M->HasRecentItemsStyle()) {
    Ini->WriteBool(main, "MenusShowRecentItemsFirst", M->MenusShowRecentItemsFirst());
    Ini->WriteBool(main, "ShowFullMenusAfterDelay", M->ShowFullMenusAfterDelay);
  }
  Ini->WriteBool(main, "LargeIcons", M->ImageOptions()->LargeIcons());
  Ini->WriteInteger(main, "MenuAnimations", int(M->MenuAnimations));
  Ini->WriteBool(main, "ShowHint", M->ShowHint);
  Ini->WriteBool(main, "ShowShortCutInHint", M->ShowShortCutInHint);
  Ini->WriteInteger(main, "BarCount", M->Bars()->Count());

  Ini->WriteInteger(ItemsSection(), "ItemCount", M->ItemCount());
  for (int i = 0; i < M->ItemCount(); ++i)
    if (!M->Items(i)->Name().empty()) Ini->WriteBool(ItemsSection(), M->Items(i)->Name(), true);

  for (int n = 0; n < M->Bars()->Count(); ++n) WriteBar(M->Bars()->Items(n), n);
  for (int i = 0; i < M->ItemCount(); ++i)
    if (std::string s = OwnLinksSection(M->Items(i)); !s.empty())
      WriteLinks(M->Items(i)->ItemLinks(), s);
}

void TdxBarLayoutIO::WriteBar(TdxBar* Bar, int N) {
  const std::string s = BarSection(N);
  Ini->WriteString(s, "Caption", Bar->Caption());
  Ini->WriteInteger(s, "DockedDockingStyle", int(Bar->DockedDockingStyle()));
  Ini->WriteInteger(s, "DockedLeft", Bar->DockedLeft());
  Ini->WriteInteger(s, "DockedTop", Bar->DockedTop());
  Ini->WriteInteger(s, "DockingStyle", int(Bar->DockingStyle()));
  Ini->WriteInteger(s, "FloatClientHeight", Bar->FloatClientHeight());
  Ini->WriteInteger(s, "FloatClientWidth", Bar->FloatClientWidth());
  Ini->WriteInteger(s, "FloatLeft", Bar->FloatLeft());
  Ini->WriteInteger(s, "FloatTop", Bar->FloatTop());
  Ini->WriteBool(s, "OneOnRow", Bar->OneOnRow());
  Ini->WriteInteger(s, "Row", Bar->Row());
  Ini->WriteBool(s, "Visible", Bar->Visible());
  WriteLinks(Bar->ItemLinks(), s);
}

void TdxBarLayoutIO::WriteLinks(TdxBarItemLinks* Links, const std::string& S) {
  const bool ofBar = dynamic_cast<TdxBar*>(Links->OwnerComponent()) != nullptr;
  const bool recent = M->HasRecentItemsStyle() && Links->UsesRecentItems();
  int j = 0;
  for (int i = 0; i < Links->Count(); ++i) {
    TdxBarItemLink* l = Links->LinkByIndex(i);
    // Links a toolbar merge added belong to the other bar's layout.
    if (!l->Item() || l->Item()->Name().empty() || l->CreatedFromBar()) continue;
    WriteLink(l, LinkSection(S, j++), ofBar, recent);
  }
  Ini->WriteInteger(S, "ItemLinkCount", j);
}

void TdxBarLayoutIO::WriteLink(TdxBarItemLink* Link, const std::string& S, bool OfBar,
                               bool Recent) {
  Ini->WriteString(S, "ItemName", Link->Item()->Name());
  Ini->WriteBool(S, "BeginGroup", Link->StoredBeginGroup());
  TdxBarUserDefines ud = Link->UserDefine();
  WriteByte(Ini, S, "UserDefine", uint8_t(ud.ToInt()));
  if (ud.Contains(udCaption)) Ini->WriteString(S, "UserCaption", Link->UserCaption());
  if (ud.Contains(udPaintStyle)) Ini->WriteInteger(S, "UserPaintStyle", int(Link->UserPaintStyle()));
  if (ud.Contains(udWidth)) Ini->WriteInteger(S, "UserWidth", Link->UserWidth());
  if (Registry && ud.Contains(udGlyph)) {
    TMemoryStream m;
    Link->UserGlyph()->SaveToStream(&m);
    m.SetPosition(0);
    Ini->WriteBinaryStream(S, "UserGlyph", &m);
  }
  if (OfBar) {
    Ini->WriteInteger(S, "ButtonGroup", int(Link->ButtonGroup()));
    Ini->WriteInteger(S, "Position", int(Link->Position()));
    WriteByte(Ini, S, "ViewLevels", uint8_t(Link->ViewLevels().ToInt()));
    Ini->WriteBool(S, "Visible", Link->Visible());
  }
  if (Recent) {
    Ini->WriteInteger(S, "UseCount", Link->UseCount());
    Ini->WriteInteger(S, "RecentIndex", Link->RecentIndex());
  }
  if (M->IsWritingLayoutSnapshot()) Ini->WriteBool(S, "MostRecentlyUsed", Link->MostRecentlyUsed());
}

// ---- reading

bool TdxBarLayoutIO::IsNewItem(TdxBarItem* Item) const {
  const std::vector<std::string>& names = *M->FNewItemNames;
  return Item && std::any_of(names.begin(), names.end(),
                             [&](const std::string& n) { return SameText(n, Item->Name()); });
}

void TdxBarLayoutIO::Read() {
  const std::string main = MainSection();
  if (M->HasRecentItemsStyle()) {
    M->SetMenusShowRecentItemsFirst(
        Ini->ReadBool(main, "MenusShowRecentItemsFirst", M->MenusShowRecentItemsFirst()));
    M->ShowFullMenusAfterDelay =
        Ini->ReadBool(main, "ShowFullMenusAfterDelay", M->ShowFullMenusAfterDelay);
  }
  M->ImageOptions()->SetLargeIcons(
      Ini->ReadBool(main, "LargeIcons", M->ImageOptions()->LargeIcons()));
  M->MenuAnimations = ReadOrdinal(Ini, main, "MenuAnimations", M->MenuAnimations, maFade);
  M->ShowHint = Ini->ReadBool(main, "ShowHint", M->ShowHint);
  M->ShowShortCutInHint = Ini->ReadBool(main, "ShowShortCutInHint", M->ShowShortCutInHint);
  const int barCount = Ini->ReadInteger(main, "BarCount", 0);

  std::vector<std::string> newItems;
  if (Ini->ReadInteger(ItemsSection(), "ItemCount", -1) >= 0)
    for (int i = 0; i < M->ItemCount(); ++i)
      if (!Ini->ReadBool(ItemsSection(), M->Items(i)->Name(), false))
        newItems.push_back(M->Items(i)->Name());
  M->FNewItemNames = &newItems;
  try {
    if (barCount > 0) {
      for (int n = 0; n < M->Bars()->Count(); ++n) M->Bars()->Items(n)->SetVisible(false);
      // Sections that are not there end the list: a damaged count makes no empty bars.
      for (int n = 0; n < barCount && Ini->SectionExists(BarSection(n)); ++n)
        ReadBar(n < M->Bars()->Count() ? M->Bars()->Items(n) : M->Bars()->Add(), BarSection(n));
    }
    for (int i = 0; i < M->ItemCount(); ++i) {
      TdxBarItem* item = M->Items(i);
      std::string s = OwnLinksSection(item);
      if (!s.empty() && Ini->ReadInteger(s, "ItemLinkCount", -1) >= 0)
        ReadLinks(item->ItemLinks(), s);
    }
  } catch (...) {
    M->FNewItemNames = nullptr;
    throw;
  }
  M->FNewItemNames = nullptr;
}

void TdxBarLayoutIO::ReadBar(TdxBar* Bar, const std::string& S, bool Placement) {
  ReadLinks(Bar->ItemLinks(), S);
  if (!Placement) return;
  // Read in the manager's Loaded, the bars may still count as loading; the layout's values are
  // meant to take effect at once.
  const bool loading = Bar->ComponentState().Contains(csLoading);
  Bar->SetComponentState(csLoading, false);
  try {
    Bar->SetVisible(false);
    Bar->SetCaption(Ini->ReadString(S, "Caption", Bar->Caption()));
    Bar->SetDockedDockingStyle(
        ReadOrdinal(Ini, S, "DockedDockingStyle", Bar->DockedDockingStyle(), dsBottom));
    Bar->SetDockedLeft(std::max(0, Ini->ReadInteger(S, "DockedLeft", Bar->DockedLeft())));
    Bar->SetDockedTop(std::max(0, Ini->ReadInteger(S, "DockedTop", Bar->DockedTop())));
    Bar->SetOneOnRow(Ini->ReadBool(S, "OneOnRow", Bar->OneOnRow()));
    Bar->SetFloatLeft(Ini->ReadInteger(S, "FloatLeft", Bar->FloatLeft()));
    Bar->SetFloatTop(Ini->ReadInteger(S, "FloatTop", Bar->FloatTop()));
    Bar->SetFloatClientWidth(Ini->ReadInteger(S, "FloatClientWidth", Bar->FloatClientWidth()));
    Bar->SetFloatClientHeight(Ini->ReadInteger(S, "FloatClientHeight", Bar->FloatClientHeight()));
    Bar->SetDockingStyle(ReadOrdinal(Ini, S, "DockingStyle", Bar->DockingStyle(), dsBottom));
    Bar->SetRow(std::max(0, Ini->ReadInteger(S, "Row", Bar->Row())));
    Bar->SetVisible(Ini->ReadBool(S, "Visible", false));
  } catch (const std::exception&) {
    // A bar whose placement cannot be taken stays where the user can see it.
    Bar->SetVisible(true);
  }
  Bar->SetComponentState(csLoading, loading);
}

void TdxBarLayoutIO::ReadLinks(TdxBarItemLinks* Links, const std::string& S) {
  const bool ofBar = dynamic_cast<TdxBar*>(Links->OwnerComponent()) != nullptr;
  const bool recent = M->HasRecentItemsStyle() && Links->UsesRecentItems();
  // Links of items the layout does not know stay, each after the item it followed.
  struct TKept {
    TdxBarItemLink* Link;
    std::optional<std::string> After;
  };
  std::vector<TKept> kept;
  Links->BeginUpdate();
  try {
    for (int i = Links->Count() - 1; i >= 0; --i) {
      TdxBarItemLink* l = Links->LinkByIndex(i);
      if (!M->FNewItemNames->empty() && IsNewItem(l->Item())) {
        l->FCreatedFromBar = nullptr;
        std::optional<std::string> after;
        if (i > 0) {
          TdxBarItem* prev = Links->LinkByIndex(i - 1)->Item();
          after = prev ? prev->Name() : std::string();
        }
        kept.insert(kept.begin(), {l, after});
      } else {
        Links->Delete(i);
      }
    }
    // The stored links go in front of the kept ones, in their stored order. Sections that are
    // not there end the list: a damaged count makes no empty links.
    const int count = Ini->ReadInteger(S, "ItemLinkCount", 0);
    int at = 0;
    for (int j = 0; j < count && Ini->SectionExists(LinkSection(S, j)); ++j)
      if (ReadLink(Links->InsertLink(at), LinkSection(S, j), ofBar, recent)) ++at;
    for (const TKept& k : kept) {
      int at = k.Link->Index();
      if (!k.After) {
        at = 0;
      } else {
        for (int i = 0; i < Links->Count(); ++i) {
          TdxBarItem* item = Links->LinkByIndex(i)->Item();
          if (item && !k.After->empty() && SameText(item->Name(), *k.After)) {
            at = i < k.Link->Index() ? i + 1 : i;
            break;
          }
        }
      }
      if (at != k.Link->Index()) k.Link->SetIndex(at);
    }
  } catch (...) {
    Links->EndUpdate();
    throw;
  }
  Links->EndUpdate();
  Links->ApplyLoadedValues(true);
}

bool TdxBarLayoutIO::ReadLink(TdxBarItemLink* Link, const std::string& S, bool OfBar,
                              bool Recent) {
  const std::string name = Ini->ReadString(S, "ItemName", "");
  if (name.empty()) return true;
  TdxBarItem* item = M->ItemByName(name);
  if (!item) {
    delete Link;
    return false;
  }
  try {
    Link->SetItem(item);
  } catch (const EdxException&) {
    // An item this collection refuses (a menu inside itself) is dropped like an unknown one;
    // the refused link has freed itself.
    return false;
  }
  Link->SetBeginGroup(Ini->ReadBool(S, "BeginGroup", false));
  TdxBarUserDefines ud;
  if (Registry) {
    ud = TdxBarUserDefines::FromInt(ReadByte(Ini, S, "UserDefine", 0));
  } else {
    std::string text = Ini->ReadString(S, "UserDefine", "");
    ud = TdxBarUserDefines::FromInt(text.size() == 1 ? uint64_t(StrToIntDef(text, 0) & 15)
                                                      : ReadByte(Ini, S, "UserDefine", 0));
  }
  if (!Registry) ud.Exclude(udGlyph);
  Link->SetUserDefine(ud);
  if (ud.Contains(udCaption)) Link->SetUserCaption(Ini->ReadString(S, "UserCaption", ""));
  if (ud.Contains(udPaintStyle))
    Link->SetUserPaintStyle(ReadOrdinal(Ini, S, "UserPaintStyle", TdxBarPaintStyle::psStandard,
                                        TdxBarPaintStyle::psCaptionGlyph));
  if (ud.Contains(udWidth)) Link->SetUserWidth(Ini->ReadInteger(S, "UserWidth", 100));
  if (ud.Contains(udGlyph)) {
    TMemoryStream m;
    if (Ini->ReadBinaryStream(S, "UserGlyph", &m) > 0) {
      m.SetPosition(0);
      try {
        Link->UserGlyph()->LoadFromStream(&m);
      } catch (const std::exception&) {
        // A damaged picture leaves the link with the item's own glyph.
        Link->SetUserDefine(ud.Exclude(udGlyph));
      }
    }
  }
  if (OfBar) {
    Link->SetButtonGroup(ReadOrdinal(Ini, S, "ButtonGroup", bgpNone, bgpMember));
    Link->SetPosition(ReadOrdinal(Ini, S, "Position", ipBeginsNewRow, ipContinuesRow));
    if (Ini->ValueExists(S, "ViewLevels"))
      Link->SetViewLevels(
          TdxBarItemViewLevels::FromInt(ReadByte(Ini, S, "ViewLevels", Link->ViewLevels().ToInt())));
    Link->LoadedVisible = Ini->ReadBool(S, "Visible", true);
  }
  if (Recent) {
    Link->LoadedUseCount = std::max(0, Ini->ReadInteger(S, "UseCount", 0));
    Link->LoadedRecentIndex = Ini->ReadInteger(S, "RecentIndex", -1);
  }
  return true;
}

// ---- usage restore from the snapshot

void TdxBarLayoutIO::RestoreMostRecentlyUsed(TdxBarItemLinks* Links, const std::string& S) {
  const int count = std::min(Links->Count(), Ini->ReadInteger(S, "ItemLinkCount", 0));
  for (int j = 0; j < count; ++j)
    Links->LinkByIndex(j)->SetMostRecentlyUsed(
        Ini->ReadBool(LinkSection(S, j), "MostRecentlyUsed", true));
  for (int i = Links->Count() - 1; i >= 0; --i)
    if (Links->LinkByIndex(i)->Item()) Links->LinkByIndex(i)->ResetUseCount();
  Links->RebuildLinkLists();
}

std::string TdxBarLayoutIO::BarSectionOf(TdxBar* Bar) const {
  const int barCount = Ini->ReadInteger(MainSection(), "BarCount", 0);
  for (int k = 0; k < barCount; ++k)
    if (Ini->ReadString(BarSection(k), "Caption", "") == Bar->Caption()) return BarSection(k);
  return {};
}

void TdxBarLayoutIO::RestoreUsage() {
  for (int i = 0; i < M->ItemCount(); ++i)
    if (std::string s = OwnLinksSection(M->Items(i)); !s.empty())
      RestoreMostRecentlyUsed(M->Items(i)->ItemLinks(), s);
  for (int n = 0; n < M->Bars()->Count(); ++n) {
    TdxBar* bar = M->Bars()->Items(n);
    if (std::string s = BarSectionOf(bar); !s.empty()) RestoreMostRecentlyUsed(bar->ItemLinks(), s);
  }
}

// ---- bar reset from the snapshot

void TdxBarLayoutIO::RestoreOwnLinks(TdxBarItem* Item, std::set<TdxBarItem*>& Seen) {
  if (!Item || !Seen.insert(Item).second) return;
  std::string s = OwnLinksSection(Item);
  if (s.empty()) return;
  TdxBarItemLinks* links = Item->ItemLinks();
  if (Ini->ReadInteger(s, "ItemLinkCount", -1) >= 0) {
    ReadLinks(links, s);
    RestoreMostRecentlyUsed(links, s);
  }
  for (int i = 0; i < links->Count(); ++i) RestoreOwnLinks(links->LinkByIndex(i)->Item(), Seen);
}

void TdxBarLayoutIO::ResetBar(TdxBar* Bar, const std::string& S, bool Placement) {
  std::vector<std::string> noNewItems;
  M->FNewItemNames = &noNewItems;
  try {
    ReadBar(Bar, S, Placement);
    RestoreMostRecentlyUsed(Bar->ItemLinks(), S);
    std::set<TdxBarItem*> seen;
    for (int i = 0; i < Bar->ItemLinks()->Count(); ++i)
      RestoreOwnLinks(Bar->ItemLinks()->LinkByIndex(i)->Item(), seen);
  } catch (...) {
    M->FNewItemNames = nullptr;
    throw;
  }
  M->FNewItemNames = nullptr;
}

void TdxBar::Reset() {
  TdxBarManager* m = BarManager();
  if (!m || !m->LayoutSnapshot()) return;
  TdxBarLayoutIO io(m, m->LayoutSnapshot(), m->LayoutNamePath(), false);
  const std::string s = io.BarSectionOf(this);
  if (s.empty()) return;
  if (m->OnBarBeforeReset) m->OnBarBeforeReset(m, this);
  m->BeginBarsUpdate();
  try {
    io.ResetBar(this, s, m->UseFullReset);
  } catch (...) {
    m->EndBarsUpdate();
    throw;
  }
  m->EndBarsUpdate();
  if (m->OnBarAfterReset) m->OnBarAfterReset(m, this);
}

void TdxBar::ResetWithConfirmation() {
  std::string text = Format(LoadLocalizableResString(&dxSBAR_WANTTORESETTOOLBAR), {Caption()});
  if (Application->MessageBox(text, Application->Title(), MB_OKCANCEL | MB_ICONWARNING) == IDOK)
    Reset();
}

// ---- the manager's entry points

std::string TdxBarManager::LayoutNamePath() const {
  std::string path = Name() + ".";
  for (TComponent* o = Owner(); o && !o->Name().empty(); o = o->Owner()) {
    path = o->Name() + "." + path;
    if (dynamic_cast<TCustomForm*>(o)) break;
  }
  return path;
}

void TdxBarManager::WriteLayout(TCustomIniFile* IniFile, const std::string& Base,
                                bool RegistryFlag) {
  TdxBarLayoutIO io(this, IniFile, Base, RegistryFlag);
  io.Write();
  TdxBarIniFileEventData data;
  data.IniFile = IniFile;
  data.RegistryFlag = RegistryFlag;
  data.Base = Base;
  data.Separator = io.Separator();
  FAfterWriteLayout->CallAll(this, &data);
}

void TdxBarManager::ReadLayout(TCustomIniFile* IniFile, const std::string& Base,
                               bool RegistryFlag) {
  TdxBarLayoutIO io(this, IniFile, Base, RegistryFlag);
  BeginBarsUpdate();
  try {
    io.Read();
  } catch (...) {
    EndBarsUpdate();
    throw;
  }
  EndBarsUpdate();
  TdxBarIniFileEventData data;
  data.IniFile = IniFile;
  data.RegistryFlag = RegistryFlag;
  data.Base = Base;
  data.Separator = io.Separator();
  FAfterReadLayout->CallAll(this, &data);
}

void TdxBarManager::SaveLayoutToRegistry(const std::string& Path) {
  std::string path = NormalizedRegistryPath(Path);
  if (path.empty()) return;
  TRegistryIniFile ini(path);
  WriteLayout(&ini, path, true);
  ini.UpdateFile();
}

void TdxBarManager::LoadLayoutFromRegistry(const std::string& Path) {
  std::string path = NormalizedRegistryPath(Path);
  if (path.empty()) return;
  TRegistryIniFile ini(path);
  ReadLayout(&ini, path, true);
}

void TdxBarManager::SaveLayoutToIniFile(const std::string& FileName) {
  if (FileName.empty()) return;
  TMemIniFile ini(FileName);
  WriteLayout(&ini, LayoutNamePath(), false);
  ini.UpdateFile();
}

void TdxBarManager::LoadLayoutFromIniFile(const std::string& FileName) {
  if (FileName.empty()) return;
  TMemIniFile ini(FileName);
  ReadLayout(&ini, LayoutNamePath(), false);
}

void TdxBarManager::WriteLayoutSnapshot() {
  if (!FLayoutSnapshot) return;
  FLayoutSnapshot->Clear();
  FWritingLayoutSnapshot = true;
  try {
    WriteLayout(FLayoutSnapshot.get(), LayoutNamePath(), false);
  } catch (...) {
    FWritingLayoutSnapshot = false;
    throw;
  }
  FWritingLayoutSnapshot = false;
}

void TdxBarManager::StoreLayout() {
  if (IsDesigning()) return;
  if (StoreInRegistry) SaveLayoutToRegistry(FRegistryPath);
  if (StoreInIniFile) SaveLayoutToIniFile(IniFileName);
}

void TdxBarManager::OwnerClosing() {
  if (FLayoutStoredOnClose || FConstructionFailed || IsDesigning()) return;
  // A manager its owner has already let go of while destroying it has no owner left, but is
  // marked as going with it.
  TComponent* owner = Owner();
  if (!(owner ? owner->ComponentState().Contains(csDestroying) : IsDestroying())) return;
  FLayoutStoredOnClose = true;
  // Nothing may leave a destructor: a store that fails is reported like any other error.
  try {
    StoreLayout();
  } catch (...) {
    if (TApplication* app = GetApplication()) app->HandleException(this, std::current_exception());
  }
}

void TdxBarManager::ResetUsageData() {
  if (!FLayoutSnapshot) return;
  TdxBarLayoutIO io(this, FLayoutSnapshot.get(), LayoutNamePath(), false);
  BeginBarsUpdate();
  try {
    io.RestoreUsage();
  } catch (...) {
    EndBarsUpdate();
    throw;
  }
  EndBarsUpdate();
}
