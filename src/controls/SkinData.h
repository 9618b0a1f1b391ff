#pragma once
// A loaded skin: its pictures and the descriptions read from its INI text (controls, window
// objects, popup, hint and layer-frame windows, form information, areas, colours); the stored
// skin package that carries it inside a form; lists of packages; resource strings.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/spEffBmp.h"
#include "controls/spUtils.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Streams.h"

// ---- descriptions driven by key tables

enum class TspKeyKind {
  Integer, Bool, Rect, Point, String, FontStyle, Lines, Alignment,
  StretchKind, MorphKind, ImageEffect, FramesPlacement, RegulatorKind, GaugeKind, CommandKind
};

struct TspKeyDef {
  std::string Key;
  TspKeyKind Kind;
  int IntDefault = 0;
  std::string StrDefault;
};

struct TspKeyValue {
  int Int = 0;  // integers, Booleans, alignments and keyword kinds
  TRect Rect;
  TPoint Point;
  std::string Str;
  TFontStyles Style;
  std::vector<std::string> Lines;
  bool operator==(const TspKeyValue&) const = default;
};

// One description class: its name, base, the type word that creates it and the keys it adds.
struct TspDescClass {
  std::string ClassName;
  const TspDescClass* Base = nullptr;
  std::vector<TspKeyDef> Keys;
  // Runs after the keys of the whole chain are read (fix-ups of some classes).
  std::function<void(class TspDataSkinDescription&)> AfterRead;
  bool SkipBaseKeys = false;
};

// Keyword kinds: their words, and the values of a missing key and of an unknown word.
int ReadSkinKeyword(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, TspKeyKind Kind);
std::string SkinKeywordText(TspKeyKind Kind, int Value);
int ReadStretchKind(TCustomIniFile* Ini, const std::string& Section, const std::string& Key);
int ReadMorphKind(TCustomIniFile* Ini, const std::string& Section, const std::string& Key);
int ReadImageEffect(TCustomIniFile* Ini, const std::string& Section, const std::string& Key);
void WriteStretchKind(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, int Value);
void WriteMorphKind(TCustomIniFile* Ini, const std::string& Section, const std::string& Key, int Value);

class TspDataSkinDescription {
 public:
  TspDataSkinDescription(const TspDescClass* Class, std::string SectionName);
  virtual ~TspDataSkinDescription() = default;
  const std::string& SectionName() const { return FSectionName; }
  const TspDescClass* Class() const { return FClass; }
  const std::string& ClassName() const { return FClass->ClassName; }
  // Whether the class is ClassName or derives from it.
  bool InheritsFrom(const std::string& ClassName) const;

  virtual void ReadDescription(TCustomIniFile* Ini);
  virtual void WriteDescription(TCustomIniFile* Ini);

  // Values by key (a key the class does not have reads as zero / empty).
  int Int(const std::string& Key) const;
  bool Bool(const std::string& Key) const { return Int(Key) != 0; }
  TRect Rect(const std::string& Key) const;
  TPoint Point(const std::string& Key) const;
  std::string Str(const std::string& Key) const;
  TFontStyles Style(const std::string& Key) const;
  const std::vector<std::string>& Lines(const std::string& Key) const;
  void SetInt(const std::string& Key, int Value) { FValues[Key].Int = Value; }
  void SetRect(const std::string& Key, const TRect& Value) { FValues[Key].Rect = Value; }
  void SetPoint(const std::string& Key, TPoint Value) { FValues[Key].Point = Value; }
  void SetStr(const std::string& Key, const std::string& Value) { FValues[Key].Str = Value; }
  const std::map<std::string, TspKeyValue>& Values() const { return FValues; }
  // Every key of the chain, base keys first.
  std::vector<const TspKeyDef*> AllKeys() const;

 private:
  const TspDescClass* FClass;
  std::string FSectionName;
  std::map<std::string, TspKeyValue> FValues;
};

class TspSkinData;

class TspDataSkinControl : public TspDataSkinDescription {
 public:
  using TspDataSkinDescription::TspDataSkinDescription;
};

class TspDataSkinObject : public TspDataSkinDescription {
 public:
  using TspDataSkinDescription::TspDataSkinDescription;
  ~TspDataSkinObject() override;
  virtual void BindImages(TspSkinData* Data);
  // Alpha images of button-like objects: "normal", "active", "down", "inactive", "restore..."
  TspBitmap* Image(const std::string& Name) const;

 private:
  void MakeAlphaImage(TspSkinData* Data, const std::string& Name, const std::string& RectKey,
                      const std::string& MaskKey);
  std::map<std::string, std::unique_ptr<TspBitmap>> FImages;
};

// The control description classes by type word, in the order they are matched.
const std::vector<std::pair<std::string, const TspDescClass*>>& SkinControlTypes();
const std::vector<std::pair<std::string, const TspDescClass*>>& SkinObjectTypes();
const TspDescClass* FindSkinDescClass(const std::string& ClassName);

// The window descriptions, each reading its own section.
class TspDataSkinWindow : public TspDataSkinDescription {
 public:
  TspDataSkinWindow(const TspDescClass* Class, std::string Section);
  // Picture indexes back to -1.
  void Reset();
};

class TspDataSkinLayerFrame : public TspDataSkinWindow {
 public:
  TspDataSkinLayerFrame();
  void BindFrameImages(TspSkinData* Data);
  TspBitmap* ActiveFrameImage() const { return FActive.get(); }
  TspBitmap* InactiveFrameImage() const { return FInactive.get(); }

 private:
  std::unique_ptr<TspBitmap> FActive, FInactive;
};

// ---- the container

struct TspDataSkinArea {
  std::string Name;
  TRect Rect;
  bool Flags[5] = {};
};

class TspSkinColors {
 public:
  TspSkinColors();
  // button face, button text, window, window text, highlight, highlight text, button highlight,
  // button shadow, 3-D light, 3-D dark shadow
  TColor Values[10];
  TColor BtnFace() const { return Values[0]; }
  void SetSystemColors();
  void ReadColors(TCustomIniFile* Ini);
};

constexpr UINT SKINMSG_BEGINCHANGE = 1225;
constexpr UINT SKINMSG_CHANGED = 1226;
constexpr UINT SKINMSG_ENDCHANGE = 1227;
constexpr UINT SKINMSG_RESOURCESTRCHANGED = 1274;
constexpr UINT SKINMSG_SKINNABLEFORMCHANGED = 1294;
constexpr UINT SKINMSG_LAYEREDBORDERSCHANGED = 1427;
constexpr UINT SKINMSG_AEROBLURCHANGED = 1428;

class TspCompressedStoredSkin;
class TspCompressedSkinList;
class TspResourceStrData;

class TspSkinData : public TComponent {
 public:
  explicit TspSkinData(TComponent* AOwner);
  ~TspSkinData() override;

  bool Empty() const { return FEmpty; }
  // Why the last load stopped (empty after a good load).
  const std::string& LoadErrorText() const { return FLoadErrorText; }

  TspCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
  void SetCompressedStoredSkin(TspCompressedStoredSkin* Value);
  TspResourceStrData* ResourceStrData() const { return FResourceStrData; }
  void SetResourceStrData(TspResourceStrData* Value);
  TspCompressedSkinList* SkinList() const { return FSkinList; }
  void SetSkinList(TspCompressedSkinList* Value);
  int SkinIndex() const { return FSkinIndex; }
  void SetSkinIndex(int Value);

  bool DlgTreeViewDrawSkin = true;
  std::string DlgTreeViewItemSkinDataName = "listbox";
  bool DlgListViewDrawSkin = true;
  std::string DlgListViewItemSkinDataName = "listbox";
  bool AnimationForAllWindows = false;
  bool ShowLayeredBorders() const { return FShowLayeredBorders; }
  void SetShowLayeredBorders(bool Value);
  bool SkinnableForm() const { return FSkinnableForm; }
  void SetSkinnableForm(bool Value);
  bool EnableSkinEffects = true;
  bool AeroBlurEnabled() const { return FAeroBlurEnabled; }
  void SetAeroBlurEnabled(bool Value);
  bool ShowButtonGlowFrames = true;
  bool ShowCaptionButtonGlowFrames = true;
  TNotifyEvent OnLoadData;

  void LoadCompressedStoredSkin(TspCompressedStoredSkin* Skin);
  int IndexOfControlDescription(const std::string& Name) const;
  void BroadcastSkinMessage(UINT Msg);
  void ClearDescriptions();
  void ClearSkin();
  void ReadFormInfo(TCustomIniFile* Ini);
  void ReadAreas(TCustomIniFile* Ini);
  void ReadObjects(TCustomIniFile* Ini);
  void ReadControls(TCustomIniFile* Ini);

  TBitmap* Picture() { return &FPicture; }
  TBitmap* InactivePicture() { return &FInactivePicture; }
  TBitmap* Mask() { return &FMask; }
  TBitmap* RollUpPicture() { return &FRollUpPicture; }
  TBitmap* RollUpMask() { return &FRollUpMask; }
  const std::vector<std::unique_ptr<TBitmap>>& Pictures() const { return FPictures; }
  // The picture at an index of Pictures, null for -1 or out of range.
  TBitmap* PictureAt(int Index) const;
  std::string PictureName, MaskName, RollUpPictureName, RollUpMaskName;
  std::vector<std::string> PictureNames;
  std::string SkinName, SkinAuthor, AuthorEmail, AuthorURL, SkinComments;
  const std::vector<std::unique_ptr<TspDataSkinControl>>& ControlDescriptions() const { return FControls; }
  TspDataSkinControl* ControlDescription(int Index) const;
  const std::vector<std::unique_ptr<TspDataSkinObject>>& ObjectDescriptions() const { return FObjects; }
  const std::vector<TspDataSkinArea>& Areas() const { return FAreas; }
  TspDataSkinWindow* PopupWindow() { return &FPopupWindow; }
  TspDataSkinWindow* HintWindow() { return &FHintWindow; }
  TspDataSkinLayerFrame* LayerFrame() { return &FLayerFrame; }
  TspSkinColors* Colors() { return &FColors; }
  // The FORMINFO values, by key.
  const TspDataSkinDescription& FormInfo() const { return FFormInfo; }
  int FirstCursorIndex() const { return 1; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void Load(TStream* Compressed);
  void Fail(const std::string& Reason);
  bool Designing() const { return ComponentState().Contains(csDesigning); }
  bool Loading() const { return ComponentState().Contains(csLoading); }

  bool FEmpty = true;
  std::string FLoadErrorText;
  TspCompressedStoredSkin* FCompressedStoredSkin = nullptr;
  TspResourceStrData* FResourceStrData = nullptr;
  TspCompressedSkinList* FSkinList = nullptr;
  int FSkinIndex = 0;
  bool FShowLayeredBorders = true;
  bool FSkinnableForm = true;
  bool FAeroBlurEnabled = true;
  TBitmap FPicture, FInactivePicture, FMask, FRollUpPicture, FRollUpMask;
  std::vector<std::unique_ptr<TBitmap>> FPictures;
  std::vector<std::unique_ptr<TspDataSkinControl>> FControls;
  std::vector<std::unique_ptr<TspDataSkinObject>> FObjects;
  std::vector<TspDataSkinArea> FAreas;
  TspDataSkinWindow FPopupWindow, FHintWindow;
  TspDataSkinLayerFrame FLayerFrame;
  TspSkinColors FColors;
  TspDataSkinDescription FFormInfo;
};

// The whole zlib stream of Compressed inflated into Out (at most Limit bytes, else false), and
// a package deflated at the best level. Raises EZlibError for corrupt data.
bool spInflatePackage(TStream* Compressed, TMemoryStream* Out, int64_t Limit, bool& Complete);
void spDeflatePackage(TMemoryStream* Package, TStream* Out);

// Limits on what a package may ask for.
constexpr int64_t spMaxInflatedPackage = 64 * 1024 * 1024;
constexpr int spMaxPictureSide = 4096;

class TspCompressedStoredSkin : public TComponent {
 public:
  explicit TspCompressedStoredSkin(TComponent* AOwner);
  std::string Description;
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& Value);
  const std::string& CompressedFileName() const { return FCompressedFileName; }
  void SetCompressedFileName(const std::string& Value);
  TMemoryStream* CompressedStream() { return &FCompressed; }
  bool IsEmpty() { return FCompressed.Size() == 0; }

  // Builds the package from a skin INI file and the BMP files beside it.
  void BuildFromSkinFile(const std::string& FileName);
  void LoadFromSknFile(const std::string& FileName);
  void SaveToSknStream(TStream* Stream);
  void LoadFromSknStream(TStream* Stream);

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  std::string FFileName, FCompressedFileName;
  TMemoryStream FCompressed;
};

class TspSkinListItem : public TCollectionItem {
 public:
  explicit TspSkinListItem(TCollection* Collection);
  ~TspSkinListItem() override;
  TspCompressedStoredSkin* StoredSkin() { return FSkin.get(); }
  std::string Description, FileName, CompressedFileName;
  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value) { FName = Value; }
  std::string DisplayName() const override;
  void Assign(TPersistent* Source) override;

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  std::unique_ptr<TspCompressedStoredSkin> FSkin;
  std::string FName;
};

class TspCompressedSkinList : public TComponent {
 public:
  explicit TspCompressedSkinList(TComponent* AOwner);
  ~TspCompressedSkinList() override;
  TCollection* Skins() const { return FSkins.get(); }
  void SetSkins(TCollection* Value);
  int Count() const;
  TspSkinListItem* Item(int Index) const;

 private:
  std::unique_ptr<TCollection> FSkins;
};

class TspResourceStrData : public TComponent {
 public:
  explicit TspResourceStrData(TComponent* AOwner);
  ~TspResourceStrData() override;
  TStrings* ResStrings() const { return FResStrings.get(); }
  void SetResStrings(TStrings* Value);
  int CharSet = 1;

 private:
  std::unique_ptr<TStrings> FResStrings;
};

void RegisterSkinDataClasses();
