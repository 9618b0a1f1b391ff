#pragma once
// Form descriptions: the text a window (or any component tree) is built from, its reader and
// writer, the filer hooks a class uses to store data beyond its published properties, and the
// registry of graphic classes that picture data names.
//
// The format. A description is UTF-8 text holding one object block:
//
//   # A comment runs to the end of the line.
//   object MainForm: TMainForm {
//     Caption = "Sonalix"                  string: \" \\ \n \r \t \xHH escapes; "a" + "b" joins
//     Width = 640                          integer, also $FF or 0xFF; or an identifier some
//     Color = clBtnFace                      integer properties accept (colours)
//     Ratio = 0.5                          floating point (inf, -inf, nan)
//     Visible = true                       boolean: true or false
//     Align = alClient                     enumeration value
//     Options = [soShowPoints, soSmooth]   set, [] when empty
//     PopupMenu = Menu1                    component of the same root, by name; Frame1.Edit1
//                                            names a component owned by Frame1; nil for none
//     OnClick = FormClick                  handler method of the root's class, by name
//     Font {                               nested object, read into the existing object
//       Name = "Tahoma"
//     }
//     Panels = items {                     collection: its items in order, each a block
//       item {
//         Width = 100
//       }
//     }
//     Data = hex {                         binary data, two hexadecimal digits a byte
//       0A0B0C0D
//     }
//     Lines = ("one", "two")               string list (TStrings); also any list of values a
//                                            class reads and writes itself (DefineProperty)
//     object Button1: TButton {            owned component, created from its class name;
//       Caption = "OK"                       "object TButton { }" when it has no name
//     }
//   }
//
// Keywords (object, item, items, hex, nil, true, false) are lower case; names of properties,
// classes, components, values and handlers compare without regard to case. Within a block the
// properties apply in their order, before the blocks of owned components; a property may not
// appear twice. The writer emits exactly this layout (two spaces a level, properties in
// published order, then the class's own stored properties, then children), so writing what
// was read gives the same text.
//
// Reading marks every component it creates csLoading and csReading, resolves component
// references once the whole description is read (so they may point forward), then clears
// csReading and calls Loaded on each component in creation order, the root first. Any error
// raises EDescriptionError naming the file, the line and the property; the components created
// until then are freed and the published properties already set on an existing root (and its
// nested objects, lists and collections) are put back, so a description is applied whole or not
// at all. Data a class stores through DefineProperties is its own to keep consistent.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

class TStream;
class TCollection;

// A located error in a description: "<file>:<line>: <property path>: <text>".
class EDescriptionError : public EReadError {
 public:
  EDescriptionError(std::string file, int line, std::string path, std::string text);
  const std::string& File() const { return FFile; }
  int Line() const { return FLine; }
  const std::string& Path() const { return FPath; }
  const std::string& Text() const { return FText; }

 private:
  std::string FFile, FPath, FText;
  int FLine;
};

// The parsed form of a description.
enum class TDescValueKind {
  dvInteger,
  dvFloat,
  dvString,
  dvIdent,
  dvSet,
  dvList,
  dvBinary,
  dvItems,
  dvBlock
};
using enum TDescValueKind;

struct TDescProperty;

struct TDescValue {
  TDescValueKind Kind = dvIdent;
  int Line = 0;
  int64_t Integer = 0;
  double Float = 0;
  std::string Text;                               // string, identifier
  std::vector<std::string> Names;                 // set
  std::vector<TDescValue> Elements;               // list
  std::vector<uint8_t> Bytes;                     // binary
  std::vector<std::vector<TDescProperty>> Items;  // collection items
  std::vector<TDescProperty> Block;               // nested object
};

struct TDescProperty {
  std::string Name;
  int Line = 0;
  TDescValue Value;
};

struct TDescObject {
  std::string Name;
  std::string ClassName;
  int Line = 0;
  std::vector<TDescProperty> Properties;
  std::vector<TDescObject> Children;
};

// Raises EDescriptionError on malformed text.
TDescObject ParseDescription(const std::string& Text, const std::string& FileName);
std::string FormatDescription(const TDescObject& Object);

// What a class's DefineProperties sees: the reader or the writer. A defined property is read
// with the reader's value functions and written with the writer's; a binary one through a
// stream holding its bytes.
class TFiler {
 public:
  virtual ~TFiler() = default;
  virtual void DefineProperty(const std::string& Name, std::function<void(TReader*)> ReadData,
                              std::function<void(TWriter*)> WriteData, bool HasData) = 0;
  virtual void DefineBinaryProperty(const std::string& Name, std::function<void(TStream*)> ReadData,
                                    std::function<void(TStream*)> WriteData, bool HasData) = 0;
  TComponent* Root() const { return FRoot; }
  TComponent* LookupRoot() const { return FRoot; }
  // Descriptions are never inherited from another form's, so there is no ancestor to compare
  // with; writers store what differs from the class's own state.
  TPersistent* Ancestor() const { return nullptr; }

 protected:
  TComponent* FRoot = nullptr;
};

class TReader : public TFiler {
 public:
  explicit TReader(std::string FileName = "description");
  ~TReader() override;

  // Applies Desc to Root, or creates the root from its class name (with owner AOwner) when Root
  // is null. Returns the root.
  TComponent* ReadRootComponent(const TDescObject& Desc, TComponent* Root,
                                TComponent* AOwner = nullptr);

  // While a component's ReadState runs: its owner and the component that holds it.
  TComponent* Owner() const;
  TComponent* Parent() const;
  // Reads the properties and owned components of the block being read into Instance (what
  // TComponent::ReadState does).
  void ReadData(TComponent* Instance);

  // The values of a defined property (DefineProperty's reader).
  int ReadInteger();
  int64_t ReadInt64();
  bool ReadBoolean();
  double ReadFloat();
  std::string ReadString();
  std::string ReadIdent();
  void ReadListBegin();
  bool EndOfList();
  void ReadListEnd();
  void ReadCollection(TCollection* Collection);
  // Reads a collection value ("items { item { ... } ... }") into objects the caller gives for
  // each item index (an existing object or a new one).
  void ReadItemsInto(const std::function<TPersistent*(int Index)>& ItemAt);

  // Raises EDescriptionError at the property being read.
  [[noreturn]] void Error(const std::string& Text) const;

  void DefineProperty(const std::string& Name, std::function<void(TReader*)> ReadData,
                      std::function<void(TWriter*)> WriteData, bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, std::function<void(TStream*)> ReadData,
                            std::function<void(TStream*)> WriteData, bool HasData) override;

 private:
  struct Impl;
  struct Ops;
  const TDescValue& NextValue(TDescValueKind Kind);
  std::unique_ptr<Impl> FImpl;
};

class TWriter : public TFiler {
 public:
  TWriter();
  ~TWriter() override;

  TDescObject WriteRootComponent(TComponent* Root);
  // Writes the properties and the children of Instance into the block being written (what
  // TComponent::WriteState does).
  void WriteData(TComponent* Instance);

  void WriteInteger(int64_t Value);
  void WriteBoolean(bool Value);
  void WriteFloat(double Value);
  void WriteString(const std::string& Value);
  void WriteIdent(const std::string& Value);
  void WriteListBegin();
  void WriteListEnd();
  void WriteCollection(TCollection* Collection);

  void DefineProperty(const std::string& Name, std::function<void(TReader*)> ReadData,
                      std::function<void(TWriter*)> WriteData, bool HasData) override;
  void DefineBinaryProperty(const std::string& Name, std::function<void(TStream*)> ReadData,
                            std::function<void(TStream*)> WriteData, bool HasData) override;

 private:
  struct Impl;
  struct Ops;
  std::unique_ptr<Impl> FImpl;
};

// Reads Text into Root (an existing component of the description's class).
void ReadComponentFromText(TComponent* Root, const std::string& Text,
                           const std::string& FileName = "description");
// Creates the root from the description's class name with the given owner, then reads it.
TComponent* CreateComponentFromText(const std::string& Text, TComponent* AOwner,
                                    const std::string& FileName = "description");
std::string WriteComponentToText(TComponent* Root);

// Embedded descriptions: ":/forms/<name>.form", the name compared without regard to case.
// ReadComponentRes raises EResNotFound when there is no such description.
bool DescriptionExists(const std::string& ResName);
void ReadComponentRes(TComponent* Instance, const std::string& ResName);
// Loads every description in a resource folder: creates each root's class without an owner
// (reading the description when the construction did not), then frees it. Returns one message
// per description that fails.
std::vector<std::string> CheckDescriptions(const std::string& Folder = ":/forms");

// Graphic classes, for picture data: the data a picture stores is the name of its graphic
// class (one length byte, then the name) followed by the graphic's own data. Files are matched
// to classes by extension; when two classes register the same extension the later wins.
struct TGraphicClassEntry {
  std::string Extension;  // without the dot, lower case
  std::string Description;
  const TClassInfo* Class = nullptr;
};
void RegisterGraphicClass(const std::string& Extension, const std::string& Description,
                          const TClassInfo* Class);
void UnregisterGraphicClass(const TClassInfo* Class);
const TClassInfo* GraphicClassForExtension(const std::string& Extension);
// A registered graphic class by name, or null.
const TClassInfo* FindGraphicClass(const std::string& ClassName);
std::vector<TGraphicClassEntry> GraphicClasses();
// The class-name prefix of picture data: writes it, or reads it back (raising EReadError for a
// truncated prefix or a class that is not a registered graphic class).
void WriteGraphicClassName(TStream* Stream, const std::string& ClassName);
const TClassInfo* ReadGraphicClassName(TStream* Stream);
