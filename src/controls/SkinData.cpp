#include "controls/SkinData.h"

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/gui/Forms.h"
#include "platform/rtl/Streaming.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

namespace {

SONALIX_DECLARE_EXCEPTION(ESkinLoadError, Exception);

// The numbered entries "0", "1", ... below Count that a section holds, in order: a count far
// above the entries present costs nothing.
std::vector<int> NumberedKeys(TCustomIniFile* Ini, const std::string& Section, int Count) {
  TStringList names;
  Ini->ReadSection(Section, &names);
  std::vector<int> keys;
  for (int i = 0; i < names.Count(); ++i) {
    const std::string& n = names.Strings(i);
    if (n.empty() || n.size() > 10 || !std::all_of(n.begin(), n.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    if (n.size() > 1 && n[0] == '0') continue;
    int64_t v = 0;
    if (!TryStrToInt64(n, v) || v >= Count) continue;
    keys.push_back(int(v));
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

void Inflate(TStream* Compressed, TMemoryStream* Out) {
  bool complete = false;
  bool fits;
  try {
    fits = spInflatePackage(Compressed, Out, spMaxInflatedPackage, complete);
  } catch (const Exception&) {
    throw ESkinLoadError("the compressed package is corrupt");
  }
  if (!fits) throw ESkinLoadError("the package inflates beyond 64 MB");
  if (!complete) throw ESkinLoadError("the compressed package is cut short");
  Out->SetPosition(0);
}

int32_t ReadInt32(TStream* S, const char* What) {
  int32_t v = 0;
  if (S->Read(&v, 4) != 4) throw ESkinLoadError(std::string("the package ends before ") + What);
  return v;
}

// One BMP file from the package: its size field is checked against its header and the bytes
// left, and its picture against the size limit, before it is decoded.
void ReadBmp(TStream* S, TBitmap* Target) {
  int64_t left = S->Size() - S->Position();
  uint8_t header[54];
  if (left < 54 || S->Read(header, 54) != 54) throw ESkinLoadError("a picture is cut short");
  if (header[0] != 'B' || header[1] != 'M') throw ESkinLoadError("a picture is not a BMP file");
  uint32_t fileSize, headerSize;
  int32_t width, height;
  std::memcpy(&fileSize, header + 2, 4);
  std::memcpy(&headerSize, header + 14, 4);
  std::memcpy(&width, header + 18, 4);
  std::memcpy(&height, header + 22, 4);
  if (headerSize < 12 || fileSize < 14 + headerSize || fileSize > uint64_t(left))
    throw ESkinLoadError("a picture's size field does not match its data");
  int64_t w = std::abs(int64_t(width)), h = std::abs(int64_t(height));
  if (headerSize >= 40 && (w > spMaxPictureSide || h > spMaxPictureSide))
    throw ESkinLoadError("a picture is larger than 4096 x 4096");
  TMemoryStream bmp;
  bmp.WriteBuffer(header, 54);
  if (fileSize > 54) bmp.CopyFrom(S, int64_t(fileSize) - 54);
  bmp.SetPosition(0);
  QImage image;
  try {
    image = ReadBmpImage(&bmp);
  } catch (const Exception& e) {
    throw ESkinLoadError(std::string("a picture cannot be read: ") + e.Message());
  }
  if (image.width() > spMaxPictureSide || image.height() > spMaxPictureSide)
    throw ESkinLoadError("a picture is larger than 4096 x 4096");
  Target->SetImage(image);
}

}  // namespace

// ---- colours

TspSkinColors::TspSkinColors() { std::fill(std::begin(Values), std::end(Values), 0); }

void TspSkinColors::SetSystemColors() {
  static const int indexes[10] = {15, 18, 5, 8, 13, 14, 20, 16, 22, 21};
  for (int i = 0; i < 10; ++i) Values[i] = TColor(0xFF000000u | uint32_t(indexes[i]));
}

void TspSkinColors::ReadColors(TCustomIniFile* Ini) {
  static const char* keys[10] = {"cbtnface",     "cbtntext",   "cwindow",       "cwindowtext", "chighlight",
                                 "chighlighttext", "cbtnhighlight", "cbtnshadow", "c3dlight",    "c3ddkshadow"};
  for (int i = 0; i < 10; ++i) Values[i] = Ini->ReadInteger("SKINCOLORS", keys[i], 0);
}

// ---- TspSkinData

TspSkinData::TspSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      FPopupWindow(FindSkinDescClass("TspDataSkinPopupWindow"), "POPUPWINDOW"),
      FHintWindow(FindSkinDescClass("TspDataSkinHintWindow"), "HINTWINDOW"),
      FFormInfo(FindSkinDescClass("TspFormInfo"), "FORMINFO") {}

TspSkinData::~TspSkinData() {
  FEmpty = true;
  ClearDescriptions();
}

void TspSkinData::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FCompressedStoredSkin) FCompressedStoredSkin = nullptr;
  if (AComponent == FResourceStrData) FResourceStrData = nullptr;
  if (AComponent == FSkinList) FSkinList = nullptr;
}

void TspSkinData::SetCompressedStoredSkin(TspCompressedStoredSkin* Value) {
  FCompressedStoredSkin = Value;
  if (Value) Value->FreeNotification(this);
  if (!Designing() && Value) LoadCompressedStoredSkin(Value);
}

void TspSkinData::SetResourceStrData(TspResourceStrData* Value) {
  FResourceStrData = Value;
  if (Value) Value->FreeNotification(this);
  if (!Designing()) BroadcastSkinMessage(SKINMSG_RESOURCESTRCHANGED);
}

void TspSkinData::SetSkinList(TspCompressedSkinList* Value) {
  FSkinList = Value;
  if (Value) Value->FreeNotification(this);
  if (!Designing() && Value && FSkinIndex >= 0 && FSkinIndex < Value->Count())
    LoadCompressedStoredSkin(Value->Item(FSkinIndex)->StoredSkin());
}

void TspSkinData::SetSkinIndex(int Value) {
  if (Value == FSkinIndex) return;
  if (!FSkinList) {
    FSkinIndex = Value;
    return;
  }
  if (Value < 0 || Value >= FSkinList->Count()) return;
  FSkinIndex = Value;
  if (!Designing()) LoadCompressedStoredSkin(FSkinList->Item(Value)->StoredSkin());
}

void TspSkinData::SetShowLayeredBorders(bool Value) {
  if (Value == FShowLayeredBorders) return;
  FShowLayeredBorders = Value;
  if (!Designing() && !Loading()) BroadcastSkinMessage(SKINMSG_LAYEREDBORDERSCHANGED);
}

void TspSkinData::SetSkinnableForm(bool Value) {
  if (Value == FSkinnableForm) return;
  FSkinnableForm = Value;
  if (!Designing() && !Loading()) BroadcastSkinMessage(SKINMSG_SKINNABLEFORMCHANGED);
}

void TspSkinData::SetAeroBlurEnabled(bool Value) {
  if (Value == FAeroBlurEnabled) return;
  FAeroBlurEnabled = Value;
  if (!Designing() && !Loading()) BroadcastSkinMessage(SKINMSG_AEROBLURCHANGED);
}

TBitmap* TspSkinData::PictureAt(int Index) const {
  if (Index < 0 || Index >= int(FPictures.size())) return nullptr;
  return FPictures[size_t(Index)].get();
}

TspDataSkinControl* TspSkinData::ControlDescription(int Index) const {
  if (Index < 0 || Index >= int(FControls.size())) return nullptr;
  return FControls[size_t(Index)].get();
}

int TspSkinData::IndexOfControlDescription(const std::string& Name) const {
  for (size_t i = 0; i < FControls.size(); ++i)
    if (FControls[i]->SectionName() == Name) return int(i);
  return -1;
}

void TspSkinData::ClearDescriptions() {
  FObjects.clear();
  FAreas.clear();
  FControls.clear();
  FPictures.clear();
  FPopupWindow.Reset();
  FHintWindow.Reset();
  FLayerFrame.Reset();
  FLayerFrame.BindFrameImages(this);
  PictureNames.clear();
  FColors.SetSystemColors();
}

void TspSkinData::ClearSkin() {
  ClearDescriptions();
  for (TBitmap* b : {&FPicture, &FInactivePicture, &FMask, &FRollUpPicture, &FRollUpMask}) b->SetSize(0, 0);
  PictureName.clear();
  MaskName.clear();
  RollUpPictureName.clear();
  RollUpMaskName.clear();
  FEmpty = true;
}

void TspSkinData::LoadCompressedStoredSkin(TspCompressedStoredSkin* Skin) {
  if (!Skin || Skin->IsEmpty()) return;
  FEmpty = true;
  FLoadErrorText.clear();
  BroadcastSkinMessage(SKINMSG_BEGINCHANGE);
  ClearSkin();
  try {
    Load(Skin->CompressedStream());
  } catch (const ESkinLoadError& e) {
    Fail(e.Message());
    return;
  } catch (const Exception& e) {
    Fail(e.Message());
    return;
  } catch (const std::bad_alloc&) {
    Fail("out of memory");
    return;
  }
  if (FEmpty) return;  // a newer package version: nothing loaded, nothing announced
  if (OnLoadData) OnLoadData(this);
  BroadcastSkinMessage(SKINMSG_CHANGED);
  BroadcastSkinMessage(SKINMSG_ENDCHANGE);
}

void TspSkinData::Fail(const std::string& Reason) {
  ClearSkin();
  FLoadErrorText = Reason.empty() ? "the package cannot be read" : Reason;
  std::fprintf(stderr, "Skin not loaded: %s\n", FLoadErrorText.c_str());
}

void TspSkinData::Load(TStream* Compressed) {
  TMemoryStream package;
  Inflate(Compressed, &package);
  int32_t version = ReadInt32(&package, "its version");
  if (version > 3) {
    FLoadErrorText = "package version " + IntToStr(version) + " is newer than 3";
    std::fprintf(stderr, "Skin not loaded: %s\n", FLoadErrorText.c_str());
    return;
  }
  std::vector<TBitmap*> records;
  switch (version) {
    case 1: records = {&FPicture, &FMask, &FRollUpPicture, &FRollUpMask}; break;
    case 2: records = {&FPicture, &FInactivePicture, &FMask, &FRollUpPicture, &FRollUpMask}; break;
    case 3: records = {&FPicture, &FInactivePicture, &FMask}; break;
    default: records = {&FPicture, &FMask}; break;
  }
  for (TBitmap* slot : records) {
    uint8_t flag = 1;
    if (package.Read(&flag, 1) != 1) throw ESkinLoadError("the package ends in its bitmap flags");
    if (flag == 1) {
      slot->SetSize(0, 0);
    } else {
      ReadBmp(&package, slot);
    }
  }
  int32_t count = ReadInt32(&package, "its picture count");
  if (count < 0) throw ESkinLoadError("a negative picture count");
  // Every picture takes at least a BMP header: a count beyond what the bytes can hold is a lie.
  if (int64_t(count) * 54 > package.Size() - package.Position())
    throw ESkinLoadError("the picture count " + IntToStr(count) + " is more than the package holds");
  for (int i = 0; i < count; ++i) {
    auto picture = std::make_unique<TBitmap>();
    ReadBmp(&package, picture.get());
    FPictures.push_back(std::move(picture));
  }
  std::string text(size_t(package.Size() - package.Position()), '\0');
  if (!text.empty()) package.ReadBuffer(text.data(), int64_t(text.size()));
  TMemIniFile ini("");
  ini.SetText(text);

  SkinName = ini.ReadString("VERSION", "skinname", "");
  SkinAuthor = ini.ReadString("VERSION", "skinauthor", "");
  AuthorEmail = ini.ReadString("VERSION", "authoremail", "");
  AuthorURL = ini.ReadString("VERSION", "authorurl", "");
  SkinComments = ini.ReadString("VERSION", "skincomments", "");
  PictureName = ini.ReadString("PICTURES", "picture", "");
  MaskName = ini.ReadString("PICTURES", "mask", "");
  RollUpPictureName = ini.ReadString("PICTURES", "rolluppicture", "");
  RollUpMaskName = ini.ReadString("PICTURES", "rollupmask", "");
  for (int i : NumberedKeys(&ini, "PICTURES", ini.ReadInteger("PICTURES", "activepicturescount", 0)))
    PictureNames.push_back(ini.ReadString("PICTURES", IntToStr(i), ""));

  ReadFormInfo(&ini);
  FPopupWindow.ReadDescription(&ini);
  FLayerFrame.ReadDescription(&ini);
  FLayerFrame.BindFrameImages(this);
  FHintWindow.ReadDescription(&ini);
  FColors.ReadColors(&ini);
  ReadAreas(&ini);
  ReadObjects(&ini);
  ReadControls(&ini);
  FEmpty = false;
}

void TspSkinData::ReadFormInfo(TCustomIniFile* Ini) {
  FFormInfo.ReadDescription(Ini);
  TspDataSkinDescription& f = FFormInfo;
  TRect client = f.Rect("clientrect");
  if (!MaskName.empty()) {
    TRect m = f.Rect("maskrectarea");
    if (IsNullRect(m)) {
      m = client;
    } else {
      m = Rect(std::min(m.Left, client.Left), std::min(m.Top, client.Top), std::max(m.Right, client.Right),
               std::max(m.Bottom, client.Bottom));
    }
    f.SetRect("maskrectarea", m);
    for (const char* corner : {"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint"}) {
      std::string hit = std::string("hittest") + corner;
      if (IsNullPoint(f.Point(hit))) f.SetPoint(hit, f.Point(corner));
    }
  }
  TPoint lt = f.Point("lefttoppoint"), rb = f.Point("rightbottompoint");
  if (rb.X != lt.X && rb.Y != lt.Y) {
    TPoint rt = f.Point("righttoppoint"), lb = f.Point("leftbottompoint");
    f.SetPoint("lefttoppoint", Point(std::max(lt.X, client.Left), std::max(lt.Y, client.Top)));
    f.SetPoint("righttoppoint", Point(std::min(rt.X, client.Right), std::max(rt.Y, client.Top)));
    f.SetPoint("leftbottompoint", Point(std::max(lb.X, client.Left), std::min(lb.Y, client.Bottom)));
    f.SetPoint("rightbottompoint", Point(std::min(rb.X, client.Right), std::min(rb.Y, client.Bottom)));
  }
}

void TspSkinData::ReadAreas(TCustomIniFile* Ini) {
  for (int i : NumberedKeys(Ini, "SKINAREAS", Ini->ReadInteger("SKINAREAS", "count", 0))) {
    std::string entry = Ini->ReadString("SKINAREAS", IntToStr(i), "");
    TspDataSkinArea area;
    size_t colon = entry.rfind(':'), semi = entry.rfind(';');
    if (colon != std::string::npos) {
      area.Name = entry.substr(0, colon);
      size_t end = semi != std::string::npos && semi > colon ? semi : entry.size();
      area.Rect = ParseRect(entry.substr(colon + 1, end - colon - 1));
    }
    if (semi != std::string::npos && entry.size() - semi - 1 == 9)
      for (int k = 0; k < 5; ++k) area.Flags[k] = entry[semi + 1 + size_t(2 * k)] == '1';
    FAreas.push_back(area);
  }
}

namespace {

std::pair<std::string, std::string> SplitEntry(const std::string& Entry) {
  size_t colon = Entry.find(':');
  if (colon == std::string::npos) return {};
  return {Entry.substr(0, colon), Entry.substr(colon + 1)};
}

}  // namespace

void TspSkinData::ReadObjects(TCustomIniFile* Ini) {
  for (int i : NumberedKeys(Ini, "SKINOBJECTS", Ini->ReadInteger("SKINOBJECTS", "count", 0))) {
    auto [name, type] = SplitEntry(Ini->ReadString("SKINOBJECTS", IntToStr(i), ""));
    for (const auto& [word, cls] : SkinObjectTypes()) {
      if (word != type) continue;
      auto object = std::make_unique<TspDataSkinObject>(cls, name);
      object->ReadDescription(Ini);
      object->BindImages(this);
      FObjects.push_back(std::move(object));
      break;
    }
  }
}

void TspSkinData::ReadControls(TCustomIniFile* Ini) {
  for (int i : NumberedKeys(Ini, "SKINCONTROLS", Ini->ReadInteger("SKINCONTROLS", "count", 0))) {
    auto [name, type] = SplitEntry(Ini->ReadString("SKINCONTROLS", IntToStr(i), ""));
    for (const auto& [word, cls] : SkinControlTypes()) {
      if (word != type) continue;
      auto control = std::make_unique<TspDataSkinControl>(cls, name);
      control->ReadDescription(Ini);
      FControls.push_back(std::move(control));
      break;
    }
  }
}

void TspSkinData::BroadcastSkinMessage(UINT Msg) {
  TWinControl* remembered = nullptr;
  auto* ownerForm = dynamic_cast<TCustomForm*>(Owner());
  if (ownerForm && !FShowLayeredBorders && ownerForm->HandleAllocated()) {
    SendMessage(ownerForm->Handle(), Msg, WPARAM(this), 1000);
    remembered = ownerForm;
  }
  std::vector<HWND> windows;
  for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
    TWinControl* form = Screen->Forms(i);
    if (form == remembered || form->ClassName() == "TspFormLayerWindow" || !form->HandleAllocated()) continue;
    windows.push_back(form->Handle());
  }
  if (FShowLayeredBorders && FLayerFrame.Int("pictureindex") != -1) std::reverse(windows.begin(), windows.end());
  for (HWND w : windows) SendMessage(w, Msg, WPARAM(this), 1000);
}

// ---- stored skin

TspCompressedStoredSkin::TspCompressedStoredSkin(TComponent* AOwner) : TComponent(AOwner) {}

void TspCompressedStoredSkin::SetFileName(const std::string& Value) {
  if (!ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) {
    FFileName = Value;
    return;
  }
  FFileName = ExtractFileName(Value);
  BuildFromSkinFile(Value);
}

void TspCompressedStoredSkin::SetCompressedFileName(const std::string& Value) {
  if (!ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading)) {
    FCompressedFileName = Value;
    return;
  }
  FCompressedFileName = ExtractFileName(Value);
  LoadFromSknFile(Value);
}

void TspCompressedStoredSkin::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "CompressedData",
      [this](TStream* S) {
        FCompressed.Clear();
        FCompressed.CopyFrom(S, 0);
      },
      [this](TStream* S) { FCompressed.SaveToStream(S); }, FCompressed.Size() > 0);
}

void TspCompressedStoredSkin::BuildFromSkinFile(const std::string& FileName) {
  TMemIniFile ini(FileName);
  for (const char* section : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"})
    if (!ini.SectionExists(section)) return;
  TMemoryStream text;
  text.LoadFromFile(FileName);
  std::string folder = ExtractFilePath(FileName);
  TMemoryStream package;
  int32_t version = 2;
  package.WriteBuffer(&version, 4);
  auto writeFile = [&](const std::string& name) {
    TMemoryStream bmp;
    bmp.LoadFromFile(folder + name);
    package.CopyFrom(&bmp, 0);
  };
  for (const char* key : {"picture", "inactivepicture", "mask", "rolluppicture", "rollupmask"}) {
    std::string name = ini.ReadString("PICTURES", key, "");
    uint8_t flag = name.empty() ? 1 : 0;
    package.WriteBuffer(&flag, 1);
    if (!name.empty()) writeFile(name);
  }
  TStringList names;
  ReadSkinStringList(&ini, "PICTURES", "activepictures", &names);
  int32_t count = names.Count();
  package.WriteBuffer(&count, 4);
  for (int i = 0; i < count; ++i) writeFile(names.Strings(i));
  package.CopyFrom(&text, 0);
  FCompressed.Clear();
  spDeflatePackage(&package, &FCompressed);
}

void TspCompressedStoredSkin::LoadFromSknFile(const std::string& FileName) {
  TFileStream file(FileName, fmOpenRead);
  LoadFromSknStream(&file);
}

void TspCompressedStoredSkin::SaveToSknStream(TStream* Stream) {
  int32_t version = 2, length = int32_t(FCompressed.Size());
  Stream->WriteBuffer(&version, 4);
  Stream->WriteBuffer(&length, 4);
  FCompressed.SaveToStream(Stream);
}

void TspCompressedStoredSkin::LoadFromSknStream(TStream* Stream) {
  FCompressed.Clear();
  int32_t version = 0, length = 0;
  Stream->ReadBuffer(&version, 4);
  if (version > 3) return;
  Stream->ReadBuffer(&length, 4);
  if (length < 0 || length > Stream->Size() - Stream->Position())
    throw EReadError("The skin file is shorter than its length says");
  if (length > 0) FCompressed.CopyFrom(Stream, length);
}

// ---- skin list

TspSkinListItem::TspSkinListItem(TCollection* Collection)
    : TCollectionItem(Collection), FSkin(std::make_unique<TspCompressedStoredSkin>(nullptr)) {
  FName = "spSkin" + IntToStr(Index());
}

TspSkinListItem::~TspSkinListItem() = default;

std::string TspSkinListItem::DisplayName() const { return FName; }

void TspSkinListItem::Assign(TPersistent* Source) {
  if (auto* item = dynamic_cast<TspSkinListItem*>(Source)) {
    Description = item->Description;
    FileName = item->FileName;
    CompressedFileName = item->CompressedFileName;
    FName = item->FName;
    FSkin->CompressedStream()->Clear();
    FSkin->CompressedStream()->CopyFrom(item->FSkin->CompressedStream(), 0);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TspSkinListItem::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "Skin", [this](TStream* S) { FSkin->LoadFromSknStream(S); },
      [this](TStream* S) { FSkin->SaveToSknStream(S); }, !FSkin->IsEmpty());
}

TspCompressedSkinList::TspCompressedSkinList(TComponent* AOwner)
    : TComponent(AOwner), FSkins(std::make_unique<TCollection>(TCollection::ItemClassOf<TspSkinListItem>())) {}

TspCompressedSkinList::~TspCompressedSkinList() = default;

void TspCompressedSkinList::SetSkins(TCollection* Value) { FSkins->Assign(Value); }
int TspCompressedSkinList::Count() const { return FSkins->Count(); }
TspSkinListItem* TspCompressedSkinList::Item(int Index) const { return FSkins->Get<TspSkinListItem>(Index); }

// ---- resource strings

TspResourceStrData::TspResourceStrData(TComponent* AOwner)
    : TComponent(AOwner), FResStrings(std::make_unique<TStringList>()) {
  static const char* const lines[] = {
#include "controls/spResStrings.inc"
  };
  for (const char* line : lines) FResStrings->Add(line);
}

TspResourceStrData::~TspResourceStrData() = default;

void TspResourceStrData::SetResStrings(TStrings* Value) { FResStrings->Assign(Value); }

void RegisterSkinDataClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClass<TspCompressedStoredSkin, TComponent>();
  Published<TspCompressedStoredSkin>()
      .Property("Description", &TspCompressedStoredSkin::Description)
      .Property("FileName", &TspCompressedStoredSkin::FileName, &TspCompressedStoredSkin::SetFileName)
      .Property("CompressedFileName", &TspCompressedStoredSkin::CompressedFileName,
                &TspCompressedStoredSkin::SetCompressedFileName);
  RegisterClass<TspResourceStrData, TComponent>();
  Published<TspResourceStrData>()
      .Property("ResStrings", &TspResourceStrData::ResStrings, &TspResourceStrData::SetResStrings)
      .Property("CharSet", &TspResourceStrData::CharSet).Default(1);
  RegisterClass<TspCompressedSkinList, TComponent>();
  Published<TspCompressedSkinList>().Property("Skins", &TspCompressedSkinList::Skins);
  RegisterClass<TspSkinData, TComponent>();
  Published<TspSkinData>()
      .Property("DlgTreeViewDrawSkin", &TspSkinData::DlgTreeViewDrawSkin).Default(true)
      .Property("DlgTreeViewItemSkinDataName", &TspSkinData::DlgTreeViewItemSkinDataName)
      .Property("DlgListViewDrawSkin", &TspSkinData::DlgListViewDrawSkin).Default(true)
      .Property("DlgListViewItemSkinDataName", &TspSkinData::DlgListViewItemSkinDataName)
      .Property("AnimationForAllWindows", &TspSkinData::AnimationForAllWindows).Default(false)
      .Property("ShowLayeredBorders", &TspSkinData::ShowLayeredBorders, &TspSkinData::SetShowLayeredBorders).Default(true)
      .Property("SkinnableForm", &TspSkinData::SkinnableForm, &TspSkinData::SetSkinnableForm).Default(true)
      .Property("EnableSkinEffects", &TspSkinData::EnableSkinEffects).Default(true)
      .Property("AeroBlurEnabled", &TspSkinData::AeroBlurEnabled, &TspSkinData::SetAeroBlurEnabled).Default(true)
      .Property("ShowButtonGlowFrames", &TspSkinData::ShowButtonGlowFrames).Default(true)
      .Property("ShowCaptionButtonGlowFrames", &TspSkinData::ShowCaptionButtonGlowFrames).Default(true)
      .Property("CompressedStoredSkin", &TspSkinData::CompressedStoredSkin, &TspSkinData::SetCompressedStoredSkin)
      .Property("ResourceStrData", &TspSkinData::ResourceStrData, &TspSkinData::SetResourceStrData)
      .Property("SkinList", &TspSkinData::SkinList, &TspSkinData::SetSkinList)
      .Property("SkinIndex", &TspSkinData::SkinIndex, &TspSkinData::SetSkinIndex).Default(0)
      .Property("OnLoadData", &TspSkinData::OnLoadData);
}
