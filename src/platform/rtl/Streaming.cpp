#include "platform/rtl/Streaming.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "platform/rtl/Streams.h"

namespace {

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

std::string Join(const std::string& path, const std::string& name) {
  return path.empty() ? name : path + "." + name;
}

std::string RangeText(const TPropInfo& p) { return Format("%d..%d", {p.MinValue, p.MaxValue}); }

const char* KindName(TDescValueKind k) {
  switch (k) {
    case dvInteger:
      return "integer";
    case dvFloat:
      return "number";
    case dvString:
      return "string";
    case dvIdent:
      return "identifier";
    case dvSet:
      return "set";
    case dvList:
      return "list";
    case dvBinary:
      return "binary data";
    case dvItems:
      return "collection";
    case dvBlock:
      return "nested object";
  }
  return "value";
}

// What a property holds now, as a function that puts it back into an object of the same class;
// empty when that cannot be done (an event bound in code rather than by a handler's name).
using TRestore = std::function<void(TObject*)>;
TRestore SavedObject(TObject* o, TComponent* root, int depth);

TRestore SavedProperty(TObject* o, const TPropInfo& p, TComponent* root, int depth) {
  const TPropInfo* info = &p;
  switch (p.Kind) {
    case tkInteger:
    case tkInt64:
    case tkBool:
    case tkEnumeration:
    case tkSet: {
      if (!p.GetOrd || !p.SetOrd) return {};
      const int64_t v = p.GetOrd(o);
      return [info, v](TObject* t) { info->SetOrd(t, v); };
    }
    case tkFloat: {
      if (!p.GetFloat || !p.SetFloat) return {};
      const double v = p.GetFloat(o);
      return [info, v](TObject* t) { info->SetFloat(t, v); };
    }
    case tkString: {
      if (!p.GetStr || !p.SetStr) return {};
      const std::string v = p.GetStr(o);
      return [info, v](TObject* t) { info->SetStr(t, v); };
    }
    case tkComponent: {
      if (!p.GetObject || !p.SetObject) return {};
      TObject* v = p.GetObject(o);
      return [info, v](TObject* t) { info->SetObject(t, v); };
    }
    case tkMethod: {
      if (!p.MethodAssigned || !p.SetMethod) return {};
      if (!p.MethodAssigned(o)) return [info](TObject* t) { info->SetMethod(t, nullptr, nullptr); };
      const std::string name = p.GetHandlerName ? p.GetHandlerName(o) : std::string();
      const TMethodEntry* m = name.empty() ? nullptr : FindMethod(ClassInfoOf(root), name);
      if (!m) return {};
      return [info, m, root](TObject* t) { info->SetMethod(t, m, root); };
    }
    case tkClass: {
      TObject* nested = p.GetObject ? p.GetObject(o) : nullptr;
      if (!nested || depth > 8) return {};
      if (auto* strings = dynamic_cast<TStrings*>(nested)) {
        auto copy = std::make_shared<TStringList>();
        copy->Assign(strings);
        return [info, copy](TObject* t) {
          if (auto* target = dynamic_cast<TStrings*>(info->GetObject(t))) target->Assign(copy.get());
        };
      }
      if (auto* collection = dynamic_cast<TCollection*>(nested)) {
        std::vector<TRestore> items;
        for (int i = 0; i < collection->Count(); ++i)
          items.push_back(SavedObject(collection->Items(i), root, depth + 1));
        return [info, items](TObject* t) {
          auto* target = dynamic_cast<TCollection*>(info->GetObject(t));
          if (!target) return;
          target->BeginUpdate();
          target->Clear();
          for (const TRestore& item : items) item(target->Add());
          target->EndUpdate();
        };
      }
      TRestore whole = SavedObject(nested, root, depth + 1);
      return [info, whole](TObject* t) {
        if (TObject* target = info->GetObject(t)) whole(target);
      };
    }
  }
  return {};
}

TRestore SavedObject(TObject* o, TComponent* root, int depth) {
  std::vector<TRestore> parts;
  if (const TClassInfo* cls = ClassInfoOf(o))
    for (const TPropInfo* p : GetPropList(cls)) {
      if (p->Kind != tkClass && !p->Writable()) continue;
      if (TRestore part = SavedProperty(o, *p, root, depth)) parts.push_back(std::move(part));
    }
  return [parts](TObject* t) {
    for (const TRestore& part : parts) part(t);
  };
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Reader

struct TReader::Impl {
  std::string File;
  std::string RootName;

  // Where an error is reported: the line and the dotted path of the property being read.
  int Line = 0;
  std::string Path;

  struct Frame {
    const TDescObject* Object;
    TComponent* Owner;
    TComponent* Parent;
    std::string Path;
  };
  std::vector<Frame> Frames;

  std::vector<TComponent*> Created;  // newest last; freed newest first on failure
  std::vector<TComponent*> Loaded;   // creation order, the root first

  // Reading into a root that existed before: what each property held before it was set,
  // newest last, so that a failed read can put everything back.
  bool Remembering = false;
  std::vector<std::function<void()>> Undo;

  struct Fixup {
    TObject* Instance;
    const TPropInfo* Prop;
    std::string Target;
    int Line;
    std::string Path;
  };
  std::vector<Fixup> Fixups;

  // The values a defined property's reader consumes: the property's value, then list contents.
  struct Cursor {
    const TDescValue* Values;
    std::size_t Count;
    std::size_t Pos;
  };
  std::vector<Cursor> Cursors;

  // DefineProperties lookup: the property sought and whether some definition took it.
  const TDescProperty* Wanted = nullptr;
  bool Taken = false;
};

TReader::TReader(std::string FileName) : FImpl(std::make_unique<Impl>()) {
  FImpl->File = std::move(FileName);
}

TReader::~TReader() = default;

void TReader::Error(const std::string& Text) const {
  throw EDescriptionError(FImpl->File, FImpl->Line, FImpl->Path, Text);
}

TComponent* TReader::Owner() const {
  return FImpl->Frames.empty() ? nullptr : FImpl->Frames.back().Owner;
}

TComponent* TReader::Parent() const {
  return FImpl->Frames.empty() ? nullptr : FImpl->Frames.back().Parent;
}

namespace {

// Runs Body, turning any failure that is not yet located into one at the reader's position.
template <class F>
void Located(const TReader& reader, F body) {
  try {
    body();
  } catch (const EDescriptionError&) {
    throw;
  } catch (const EAbort&) {
    throw;  // stays silent
  } catch (const Exception& e) {
    reader.Error(e.Message());
  } catch (const std::exception& e) {
    reader.Error(e.what());
  }
}

}  // namespace

// A reader that walks one component tree; private helpers live here so that the header stays
// small.
struct TReader::Ops {
  TReader& R;
  TReader::Impl& I;

  void At(int line, const std::string& path) {
    I.Line = line;
    I.Path = path;
  }

  void ReadProperties(TObject* instance, const std::vector<TDescProperty>& props,
                      const std::string& path) {
    const TClassInfo* cls = ClassInfoOf(instance);
    if (!cls) R.Error(Format("Class %s is not registered", {instance->ClassName()}));
    std::set<std::string> seen;
    for (const auto& prop : props) {
      std::string propPath = Join(path, prop.Name);
      At(prop.Line, propPath);
      if (!seen.insert(UpperCase(prop.Name)).second) R.Error("Property given twice");
      const TPropInfo* info = GetPropInfo(cls, prop.Name);
      if (info) {
        Located(R, [&] { ReadValue(instance, *info, prop.Value, propPath); });
        continue;
      }
      if (auto* persistent = dynamic_cast<TPersistent*>(instance)) {
        I.Wanted = &prop;
        I.Taken = false;
        Located(R, [&] { persistent->DefineProperties(&R); });
        I.Wanted = nullptr;
        if (I.Taken) continue;
        At(prop.Line, propPath);
      }
      R.Error(Format("Unknown property in class %s", {cls->Name}));
    }
  }

  void Remember(TObject* instance, const TPropInfo& p) {
    if (!I.Remembering) return;
    // A plain nested object is remembered property by property as it is read.
    if (p.Kind == tkClass && p.GetObject) {
      TObject* nested = p.GetObject(instance);
      if (!dynamic_cast<TStrings*>(nested) && !dynamic_cast<TCollection*>(nested)) return;
    }
    if (TRestore restore = SavedProperty(instance, p, R.Root(), 0))
      I.Undo.push_back([instance, restore] { restore(instance); });
  }

  void ReadValue(TObject* instance, const TPropInfo& p, const TDescValue& v,
                 const std::string& path) {
    if (!p.Writable() && p.Kind != tkClass) R.Error("Property is read-only");
    Remember(instance, p);
    switch (p.Kind) {
      case tkInteger:
      case tkInt64: {
        int64_t n = 0;
        if (v.Kind == dvInteger) {
          n = v.Integer;
        } else if (v.Kind == dvIdent && p.Idents && p.Idents->IdentToInt &&
                   p.Idents->IdentToInt(v.Text, n)) {
        } else {
          R.Error(v.Kind == dvIdent ? Format("Invalid integer value %s", {Quote(v.Text)})
                                    : "Integer value expected");
        }
        if (n < p.MinValue || n > p.MaxValue)
          R.Error(Format("Value %d out of range (%s)", {n, RangeText(p)}));
        p.SetOrd(instance, n);
        return;
      }
      case tkBool:
        if (v.Kind != dvIdent || !(SameText(v.Text, "true") || SameText(v.Text, "false")))
          R.Error("Boolean value (true or false) expected");
        p.SetOrd(instance, SameText(v.Text, "true") ? 1 : 0);
        return;
      case tkEnumeration: {
        const TEnumInfo* e = p.EnumInfo();
        if (!e) R.Error("The property's enumeration has no registered names");
        int64_t n = 0;
        if (v.Kind != dvIdent) R.Error(Format("Identifier of %s expected", {e->TypeName}));
        if (!e->ValueOf(v.Text, n))
          R.Error(Format("Invalid value %s for %s", {Quote(v.Text), e->TypeName}));
        p.SetOrd(instance, n);
        return;
      }
      case tkSet: {
        const TEnumInfo* e = p.EnumInfo();
        if (!e) R.Error("The property's enumeration has no registered names");
        if (v.Kind != dvSet) R.Error("Set value [...] expected");
        uint64_t bits = 0;
        for (const auto& name : v.Names) {
          int64_t n = 0;
          if (!e->ValueOf(name, n) || n < 0 || n >= 64)
            R.Error(Format("Invalid set element %s for %s", {Quote(name), e->TypeName}));
          bits |= uint64_t(1) << n;
        }
        p.SetOrd(instance, int64_t(bits));
        return;
      }
      case tkFloat: {
        double d = 0;
        if (v.Kind == dvFloat)
          d = v.Float;
        else if (v.Kind == dvInteger)
          d = double(v.Integer);
        else if (v.Kind == dvIdent && SameText(v.Text, "inf"))
          d = HUGE_VAL;
        else if (v.Kind == dvIdent && SameText(v.Text, "-inf"))
          d = -HUGE_VAL;
        else if (v.Kind == dvIdent && SameText(v.Text, "nan"))
          d = std::nan("");
        else
          R.Error("Number expected");
        p.SetFloat(instance, d);
        return;
      }
      case tkString:
        if (v.Kind != dvString) R.Error("String expected");
        p.SetStr(instance, v.Text);
        return;
      case tkComponent:
        if (v.Kind != dvIdent) R.Error("Component name expected");
        if (v.Text == "nil") {
          p.SetObject(instance, nullptr);
          return;
        }
        I.Fixups.push_back({instance, &p, v.Text, I.Line, I.Path});
        return;
      case tkMethod: {
        if (v.Kind != dvIdent || v.Text.find('.') != std::string::npos)
          R.Error("Handler name expected");
        if (v.Text == "nil") {
          p.SetMethod(instance, nullptr, nullptr);
          return;
        }
        const TClassInfo* rootClass = ClassInfoOf(R.Root());
        const TMethodEntry* m = FindMethod(rootClass, v.Text);
        if (!m)
          R.Error(Format("Unknown handler %s in class %s",
                         {Quote(v.Text), rootClass ? rootClass->Name : R.Root()->ClassName()}));
        p.SetMethod(instance, m, R.Root());
        return;
      }
      case tkClass: {
        TObject* nested = p.GetObject(instance);
        if (!nested) R.Error("The property holds no object to read into");
        if (auto* collection = dynamic_cast<TCollection*>(nested)) {
          if (v.Kind != dvItems) R.Error("Collection items { ... } expected");
          ReadItems(collection, v, path);
          return;
        }
        if (auto* strings = dynamic_cast<TStrings*>(nested)) {
          ReadStrings(strings, v);
          return;
        }
        if (v.Kind != dvBlock) R.Error("Nested object { ... } expected");
        ReadProperties(nested, v.Block, path);
        return;
      }
    }
  }

  void ReadItems(TCollection* collection, const TDescValue& v, const std::string& path) {
    collection->BeginUpdate();
    try {
      collection->Clear();
      for (std::size_t i = 0; i < v.Items.size(); ++i) {
        TCollectionItem* item = collection->Add();
        ReadProperties(item, v.Items[i], path + "[" + std::to_string(i) + "]");
      }
    } catch (...) {
      collection->EndUpdate();
      throw;
    }
    collection->EndUpdate();
  }

  void ReadStrings(TStrings* strings, const TDescValue& v) {
    if (v.Kind != dvList) R.Error("List of strings ( ... ) expected");
    for (const auto& e : v.Elements)
      if (e.Kind != dvString) R.Error(Format("String expected, found %s", {KindName(e.Kind)}));
    strings->BeginUpdate();
    try {
      strings->Clear();
      for (const auto& e : v.Elements) strings->Add(e.Text);
    } catch (...) {
      strings->EndUpdate();
      throw;
    }
    strings->EndUpdate();
  }

  // Creates the component a child block describes, inside Enclosing's block.
  void ReadChild(const TDescObject& desc, TComponent* enclosing, const std::string& path) {
    std::string childPath = desc.Name.empty() ? path + "." + desc.ClassName : desc.Name;
    At(desc.Line, childPath);
    const TClassInfo* cls = FindClassInfo(desc.ClassName);
    if (!cls) R.Error(Format("Class %s not found", {desc.ClassName}));
    if (!cls->CreateComponent) R.Error(Format("Class %s is not a component class", {cls->Name}));
    TComponent* owner = enclosing->GetChildOwner();
    if (!owner) owner = R.Root();
    TComponent* parent = enclosing->GetChildParent();
    TComponent* child = nullptr;
    Located(R, [&] { child = cls->CreateComponent(owner); });
    I.Created.push_back(child);
    I.Loaded.push_back(child);
    child->SetComponentState(csLoading, true);
    child->SetComponentState(csReading, true);
    Located(R, [&] {
      child->SetName(desc.Name);
      if (parent) child->SetParentComponent(parent);
    });
    I.Frames.push_back({&desc, owner, parent, childPath});
    // A new component goes whole on failure: nothing of it needs remembering.
    const bool remembering = I.Remembering;
    I.Remembering = false;
    Located(R, [&] { child->ReadState(&R); });
    I.Remembering = remembering;
    I.Frames.pop_back();
  }

  TComponent* Resolve(const std::string& name) {
    TComponent* root = R.Root();
    // The root answers to its name in the text too, when a second instance got another.
    if (SameText(name, root->Name()) || SameText(name, I.RootName)) return root;
    TComponent* c = root;
    std::size_t start = 0;
    while (c) {
      std::size_t dot = name.find('.', start);
      c = c->FindComponent(name.substr(start, dot == std::string::npos ? dot : dot - start));
      if (dot == std::string::npos) break;
      start = dot + 1;
    }
    return c;
  }

  void ResolveFixups() {
    for (const auto& f : I.Fixups) {
      At(f.Line, f.Path);
      TComponent* target = Resolve(f.Target);
      if (!target) R.Error(Format("Unknown component %s", {Quote(f.Target)}));
      Located(R, [&] { f.Prop->SetObject(f.Instance, target); });
    }
  }
};

void TReader::ReadData(TComponent* Instance) {
  if (FImpl->Frames.empty()) throw EReadError("ReadData outside a description");
  Impl::Frame frame = FImpl->Frames.back();
  Ops ops{*this, *FImpl};
  ops.ReadProperties(Instance, frame.Object->Properties, frame.Path);
  for (const auto& child : frame.Object->Children) ops.ReadChild(child, Instance, frame.Path);
}

void TComponent::ReadState(TReader* Reader) { Reader->ReadData(this); }

TComponent* TReader::ReadRootComponent(const TDescObject& Desc, TComponent* Root,
                                       TComponent* AOwner) {
  Ops ops{*this, *FImpl};
  std::string path = Desc.Name.empty() ? Desc.ClassName : Desc.Name;
  ops.At(Desc.Line, path);
  bool createdRoot = false;
  if (!Root) {
    const TClassInfo* cls = FindClassInfo(Desc.ClassName);
    if (!cls) Error(Format("Class %s not found", {Desc.ClassName}));
    if (!cls->CreateComponent) Error(Format("Class %s is not a component class", {cls->Name}));
    Located(*this, [&] { Root = cls->CreateComponent(AOwner); });
    createdRoot = true;
  } else {
    const TClassInfo* cls = ClassInfoOf(Root);
    if (!cls) Error(Format("Class %s is not registered", {Root->ClassName()}));
    if (!SameText(cls->Name, Desc.ClassName))
      Error(Format("The description is of class %s, not %s", {Desc.ClassName, cls->Name}));
  }
  FRoot = Root;
  FImpl->RootName = Desc.Name;
  FImpl->Loaded.push_back(Root);
  bool wasLoading = Root->ComponentState().Contains(csLoading);
  const std::string oldName = Root->Name();
  FImpl->Remembering = !createdRoot;
  try {
    Root->SetComponentState(csLoading, true);
    Root->SetComponentState(csReading, true);
    if (Root->Name().empty() && !Desc.Name.empty()) {
      // A second instance of a form keeps working: its name gets a number.
      Located(*this, [&] {
        std::string name = Desc.Name;
        for (int n = 1;; ++n) {
          TComponent* sibling = Root->Owner() ? Root->Owner()->FindComponent(name) : nullptr;
          if (!sibling || sibling == Root) break;
          name = Desc.Name + "_" + std::to_string(n);
        }
        Root->SetName(name);
      });
    }
    FImpl->Frames.push_back({&Desc, Root->Owner(), nullptr, path});
    Located(*this, [&] { Root->ReadState(this); });
    FImpl->Frames.pop_back();
    ops.ResolveFixups();
  } catch (...) {
    for (auto it = FImpl->Created.rbegin(); it != FImpl->Created.rend(); ++it) delete *it;
    FImpl->Created.clear();
    if (createdRoot) {
      delete Root;
    } else {
      // Whole or not at all: what was set on the existing root goes back, newest first.
      for (auto it = FImpl->Undo.rbegin(); it != FImpl->Undo.rend(); ++it) {
        try {
          (*it)();
        } catch (...) {
        }
      }
      if (Root->Name() != oldName) {
        try {
          Root->SetName(oldName);
        } catch (...) {
        }
      }
      Root->SetComponentState(csReading, false);
      Root->SetComponentState(csLoading, wasLoading);
    }
    FImpl->Undo.clear();
    FRoot = nullptr;
    throw;
  }
  FImpl->Undo.clear();
  FImpl->Created.clear();
  // Loaded may free components (its own children); weak links skip those.
  std::vector<TWeakLink<TComponent>> loaded(FImpl->Loaded.begin(), FImpl->Loaded.end());
  for (auto& c : loaded)
    if (c) c->SetComponentState(csReading, false);
  for (auto& c : loaded)
    if (c) c->Loaded();
  return Root;
}

// ---- values of defined properties

const TDescValue& TReader::NextValue(TDescValueKind kind) {
  TReader& r = *this;
  Impl& i = *FImpl;
  if (i.Cursors.empty()) r.Error("No property value to read");
  auto& c = i.Cursors.back();
  if (c.Pos >= c.Count)
    r.Error(Format("Read past the end of the value (%s expected)", {std::string(KindName(kind))}));
  const TDescValue& v = c.Values[c.Pos++];
  if (v.Kind != kind && !(kind == dvFloat && v.Kind == dvInteger))
    r.Error(Format("%s expected, found %s", {std::string(KindName(kind)), KindName(v.Kind)}));
  return v;
}

int TReader::ReadInteger() {
  const TDescValue& v = NextValue(dvInteger);
  if (v.Integer < INT32_MIN || v.Integer > INT32_MAX)
    Error(Format("Value %d out of range (%d..%d)", {v.Integer, INT32_MIN, INT32_MAX}));
  return int(v.Integer);
}

int64_t TReader::ReadInt64() { return NextValue(dvInteger).Integer; }

bool TReader::ReadBoolean() {
  const TDescValue& v = NextValue(dvIdent);
  if (SameText(v.Text, "true")) return true;
  if (SameText(v.Text, "false")) return false;
  Error("Boolean value (true or false) expected");
}

double TReader::ReadFloat() {
  const TDescValue& v = NextValue(dvFloat);
  return v.Kind == dvInteger ? double(v.Integer) : v.Float;
}

std::string TReader::ReadString() { return NextValue(dvString).Text; }

std::string TReader::ReadIdent() { return NextValue(dvIdent).Text; }

void TReader::ReadListBegin() {
  const TDescValue& v = NextValue(dvList);
  FImpl->Cursors.push_back({v.Elements.data(), v.Elements.size(), 0});
}

bool TReader::EndOfList() {
  if (FImpl->Cursors.size() < 2) Error("Not inside a list");
  const auto& c = FImpl->Cursors.back();
  return c.Pos >= c.Count;
}

void TReader::ReadListEnd() {
  if (!EndOfList()) Error("List has more values than were read");
  FImpl->Cursors.pop_back();
}

void TReader::ReadCollection(TCollection* Collection) {
  const TDescValue& v = NextValue(dvItems);
  Ops{*this, *FImpl}.ReadItems(Collection, v, FImpl->Path);
}

void TReader::ReadItemsInto(const std::function<TPersistent*(int Index)>& ItemAt) {
  const TDescValue& v = NextValue(dvItems);
  Ops ops{*this, *FImpl};
  for (std::size_t i = 0; i < v.Items.size(); ++i)
    ops.ReadProperties(ItemAt(int(i)), v.Items[i], FImpl->Path + "[" + std::to_string(i) + "]");
}

void TReader::DefineProperty(const std::string& Name, std::function<void(TReader*)> ReadData,
                             std::function<void(TWriter*)>, bool) {
  Impl& i = *FImpl;
  if (!i.Wanted || i.Taken || !SameText(Name, i.Wanted->Name) || !ReadData) return;
  i.Taken = true;
  const TDescProperty* prop = i.Wanted;
  // The defined reader may read nested properties (collections): the lookup is over.
  i.Wanted = nullptr;
  std::size_t depth = i.Cursors.size();
  i.Cursors.push_back({&prop->Value, 1, 0});
  try {
    ReadData(this);
  } catch (...) {
    i.Cursors.resize(depth);
    throw;
  }
  bool complete = i.Cursors.size() == depth + 1 && i.Cursors.back().Pos == 1;
  i.Cursors.resize(depth);
  i.Taken = true;  // a nested lookup (collection items) may have reset it
  if (!complete) Error("The property's value was not read whole");
}

void TReader::DefineBinaryProperty(const std::string& Name, std::function<void(TStream*)> ReadData,
                                   std::function<void(TStream*)>, bool) {
  Impl& i = *FImpl;
  if (!i.Wanted || i.Taken || !SameText(Name, i.Wanted->Name) || !ReadData) return;
  i.Taken = true;
  const TDescValue& v = i.Wanted->Value;
  i.Wanted = nullptr;
  if (v.Kind != dvBinary) Error("Binary data hex { ... } expected");
  TMemoryStream stream;
  if (!v.Bytes.empty()) stream.WriteBuffer(v.Bytes.data(), int64_t(v.Bytes.size()));
  stream.SetPosition(0);
  ReadData(&stream);
}

// ---------------------------------------------------------------------------------------------
// Writer

struct TWriter::Impl {
  // Where written values go: a property's value slot, or a list's elements.
  std::vector<std::vector<TDescValue>*> Sinks;
  // Where defined properties go while DefineProperties runs.
  std::vector<TDescProperty>* DefinedTarget = nullptr;
  // The block being written (WriteData).
  std::vector<TDescObject*> Blocks;
};

TWriter::TWriter() : FImpl(std::make_unique<Impl>()) {}
TWriter::~TWriter() = default;

struct TWriter::Ops {
  TWriter& W;
  TWriter::Impl& I;

  static TDescValue Ident(std::string text) {
    TDescValue v;
    v.Kind = dvIdent;
    v.Text = std::move(text);
    return v;
  }

  // The name a reference is written with, or empty when the reader could not find it again.
  std::string ReferenceName(TComponent* target) {
    TComponent* root = W.Root();
    if (target == root) return root->Name();
    std::string name;
    for (TComponent* c = target; c; c = c->Owner()) {
      if (c->Name().empty()) return {};
      name = name.empty() ? c->Name() : c->Name() + "." + name;
      if (c->Owner() == root) return name;
    }
    return {};
  }

  void WriteProperties(TObject* instance, std::vector<TDescProperty>& out) {
    const TClassInfo* cls = ClassInfoOf(instance);
    if (!cls) throw EWriteError(Format("Class %s is not registered", {instance->ClassName()}));
    for (const TPropInfo* p : GetPropList(cls)) {
      // What could not be read back is not written.
      if (!p->Writable() && p->Kind != tkClass) continue;
      if (p->IsStored && !p->IsStored(instance)) continue;
      TDescValue v;
      if (!Value(instance, *p, v)) continue;
      out.push_back({p->Name, 0, std::move(v)});
    }
    if (auto* persistent = dynamic_cast<TPersistent*>(instance)) {
      auto* saved = I.DefinedTarget;
      I.DefinedTarget = &out;
      try {
        persistent->DefineProperties(&W);
      } catch (...) {
        I.DefinedTarget = saved;
        throw;
      }
      I.DefinedTarget = saved;
    }
  }

  // False when the property is not written (its default, empty, or unreachable).
  bool Value(TObject* instance, const TPropInfo& p, TDescValue& v) {
    switch (p.Kind) {
      case tkInteger:
      case tkInt64: {
        int64_t n = p.GetOrd(instance);
        if (p.HasDefault && n == p.Default) return false;
        std::string ident;
        if (p.Idents && p.Idents->IntToIdent && p.Idents->IntToIdent(n, ident)) {
          v = Ident(ident);
        } else {
          v.Kind = dvInteger;
          v.Integer = n;
        }
        return true;
      }
      case tkBool: {
        int64_t n = p.GetOrd(instance);
        if (p.HasDefault && n == p.Default) return false;
        v = Ident(n ? "true" : "false");
        return true;
      }
      case tkEnumeration: {
        int64_t n = p.GetOrd(instance);
        if (p.HasDefault && n == p.Default) return false;
        std::string name;
        const TEnumInfo* e = p.EnumInfo();
        if (!e || !e->NameOf(n, name))
          throw EWriteError(Format("%s: value %d has no name", {p.Name, n}));
        v = Ident(name);
        return true;
      }
      case tkSet: {
        int64_t bits = p.GetOrd(instance);
        if (p.HasDefault && bits == p.Default) return false;
        const TEnumInfo* e = p.EnumInfo();
        v.Kind = dvSet;
        for (int bit = 0; bit < 64; ++bit) {
          if (!((uint64_t(bits) >> bit) & 1)) continue;
          std::string name;
          if (!e || !e->NameOf(bit, name))
            throw EWriteError(Format("%s: set element %d has no name", {p.Name, bit}));
          v.Names.push_back(name);
        }
        return true;
      }
      case tkFloat: {
        double d = p.GetFloat(instance);
        if (p.HasDefault && d == p.DefaultFloat && std::signbit(d) == std::signbit(p.DefaultFloat))
          return false;
        v.Kind = dvFloat;
        v.Float = d;
        return true;
      }
      case tkString:
        v.Kind = dvString;
        v.Text = p.GetStr(instance);
        return !v.Text.empty();
      case tkComponent: {
        auto* target = dynamic_cast<TComponent*>(p.GetObject(instance));
        if (!target) return false;
        std::string name = ReferenceName(target);
        if (name.empty()) return false;
        v = Ident(name);
        return true;
      }
      case tkMethod: {
        if (!p.MethodAssigned(instance)) return false;
        std::string name = p.GetHandlerName(instance);
        // Only a handler the root offers by that name can be bound again on reading.
        if (name.empty() || !FindMethod(ClassInfoOf(W.Root()), name)) return false;
        v = Ident(name);
        return true;
      }
      case tkClass: {
        TObject* nested = p.GetObject(instance);
        if (!nested) return false;
        if (auto* collection = dynamic_cast<TCollection*>(nested)) {
          if (collection->Count() == 0) return false;
          Items(collection, v);
          return true;
        }

        if (auto* strings = dynamic_cast<TStrings*>(nested)) {
          if (strings->Count() == 0) return false;
          v.Kind = dvList;
          for (int i = 0; i < strings->Count(); ++i) {
            v.Elements.emplace_back();
            v.Elements.back().Kind = dvString;
            v.Elements.back().Text = strings->Strings(i);
          }
          return true;
        }
        v.Kind = dvBlock;
        WriteProperties(nested, v.Block);
        return !v.Block.empty();
      }
    }
    return false;
  }

  void Items(TCollection* collection, TDescValue& v) {
    v.Kind = dvItems;
    for (int i = 0; i < collection->Count(); ++i) {
      v.Items.emplace_back();
      WriteProperties(collection->Items(i), v.Items.back());
    }
  }

  void WriteComponent(TComponent* c, TDescObject& out) {
    const TClassInfo* cls = ClassInfoOf(c);
    if (!cls) throw EWriteError(Format("Class %s is not registered", {c->ClassName()}));
    out.Name = c->Name();
    out.ClassName = cls->Name;
    bool wasWriting = c->ComponentState().Contains(csWriting);
    c->SetComponentState(csWriting, true);
    I.Blocks.push_back(&out);
    try {
      c->WriteState(&W);
    } catch (...) {
      I.Blocks.pop_back();
      c->SetComponentState(csWriting, wasWriting);
      throw;
    }
    I.Blocks.pop_back();
    c->SetComponentState(csWriting, wasWriting);
  }

  void Put(TDescValue v) {
    if (I.Sinks.empty()) throw EWriteError("No property value is being written");
    I.Sinks.back()->push_back(std::move(v));
  }
};

void TWriter::WriteData(TComponent* Instance) {
  if (FImpl->Blocks.empty()) throw EWriteError("WriteData outside a description");
  TDescObject& out = *FImpl->Blocks.back();
  Ops ops{*this, *FImpl};
  ops.WriteProperties(Instance, out.Properties);
  Instance->GetChildren(
      [&](TComponent* child) {
        out.Children.emplace_back();
        // The vector may grow while the child writes its own children: address it afresh.
        TDescObject desc;
        ops.WriteComponent(child, desc);
        out.Children.back() = std::move(desc);
      },
      FRoot);
}

void TComponent::WriteState(TWriter* Writer) { Writer->WriteData(this); }

TDescObject TWriter::WriteRootComponent(TComponent* Root) {
  FRoot = Root;
  TDescObject desc;
  Ops{*this, *FImpl}.WriteComponent(Root, desc);
  return desc;
}

void TWriter::WriteInteger(int64_t Value) {
  TDescValue v;
  v.Kind = dvInteger;
  v.Integer = Value;
  Ops{*this, *FImpl}.Put(std::move(v));
}

void TWriter::WriteBoolean(bool Value) {
  Ops{*this, *FImpl}.Put(Ops::Ident(Value ? "true" : "false"));
}

void TWriter::WriteFloat(double Value) {
  TDescValue v;
  v.Kind = dvFloat;
  v.Float = Value;
  Ops{*this, *FImpl}.Put(std::move(v));
}

void TWriter::WriteString(const std::string& Value) {
  TDescValue v;
  v.Kind = dvString;
  v.Text = Value;
  Ops{*this, *FImpl}.Put(std::move(v));
}

void TWriter::WriteIdent(const std::string& Value) {
  if (!IsValidIdent(Value)) throw EWriteError(Format("%s is not an identifier", {Quote(Value)}));
  Ops{*this, *FImpl}.Put(Ops::Ident(Value));
}

void TWriter::WriteListBegin() {
  TDescValue v;
  v.Kind = dvList;
  Ops{*this, *FImpl}.Put(std::move(v));
  FImpl->Sinks.push_back(&FImpl->Sinks.back()->back().Elements);
}

void TWriter::WriteListEnd() {
  if (FImpl->Sinks.size() < 2) throw EWriteError("WriteListEnd without WriteListBegin");
  FImpl->Sinks.pop_back();
}

void TWriter::WriteCollection(TCollection* Collection) {
  TDescValue v;
  Ops{*this, *FImpl}.Items(Collection, v);
  Ops{*this, *FImpl}.Put(std::move(v));
}

void TWriter::DefineProperty(const std::string& Name, std::function<void(TReader*)>,
                             std::function<void(TWriter*)> WriteData, bool HasData) {
  if (!HasData || !WriteData || !FImpl->DefinedTarget) return;
  std::vector<TDescProperty>* target = FImpl->DefinedTarget;
  std::vector<TDescValue> values;
  std::size_t depth = FImpl->Sinks.size();
  FImpl->Sinks.push_back(&values);
  try {
    WriteData(this);
  } catch (...) {
    FImpl->Sinks.resize(depth);
    throw;
  }
  bool balanced = FImpl->Sinks.size() == depth + 1;
  FImpl->Sinks.resize(depth);
  if (!balanced) throw EWriteError(Format("%s: unbalanced list", {Name}));
  if (values.size() != 1)
    throw EWriteError(Format("%s: one value expected, %d written", {Name, int(values.size())}));
  target->push_back({Name, 0, std::move(values.front())});
}

void TWriter::DefineBinaryProperty(const std::string& Name, std::function<void(TStream*)>,
                                   std::function<void(TStream*)> WriteData, bool HasData) {
  if (!HasData || !WriteData || !FImpl->DefinedTarget) return;
  TMemoryStream stream;
  WriteData(&stream);
  TDescValue v;
  v.Kind = dvBinary;
  auto* bytes = static_cast<const uint8_t*>(stream.Memory());
  v.Bytes.assign(bytes, bytes + stream.Size());
  FImpl->DefinedTarget->push_back({Name, 0, std::move(v)});
}

// ---------------------------------------------------------------------------------------------
// Text and resources

void ReadComponentFromText(TComponent* Root, const std::string& Text, const std::string& FileName) {
  TDescObject desc = ParseDescription(Text, FileName);
  TReader(FileName).ReadRootComponent(desc, Root);
}

TComponent* CreateComponentFromText(const std::string& Text, TComponent* AOwner,
                                    const std::string& FileName) {
  TDescObject desc = ParseDescription(Text, FileName);
  return TReader(FileName).ReadRootComponent(desc, nullptr, AOwner);
}

std::string WriteComponentToText(TComponent* Root) {
  return FormatDescription(TWriter().WriteRootComponent(Root));
}

namespace {

const char* kFormsFolder = ":/forms";
const char* kFormExtension = ".form";

// Reads of each embedded description, so that the check knows whether constructing a class
// already read its description.
std::map<std::string, int>& ReadCounts() {
  static std::map<std::string, int> counts;
  return counts;
}

QString FindDescription(const QString& folder, const std::string& name) {
  QDir dir(folder);
  QString wanted = QString::fromStdString(name + kFormExtension);
  for (const QString& entry : dir.entryList(QDir::Files))
    if (entry.compare(wanted, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
  return {};
}

std::string ReadWhole(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw EFOpenError(Format("Cannot open %s", {path.toStdString()}));
  QByteArray data = file.readAll();
  return std::string(data.constData(), std::size_t(data.size()));
}

}  // namespace

bool DescriptionExists(const std::string& ResName) {
  return !FindDescription(kFormsFolder, ResName).isEmpty();
}

void ReadComponentRes(TComponent* Instance, const std::string& ResName) {
  QString path = FindDescription(kFormsFolder, ResName);
  if (path.isEmpty()) throw EResNotFound(Format("Resource %s not found", {ResName}));
  std::string file = path.mid(2).toStdString();
  ReadComponentFromText(Instance, ReadWhole(path), file);
  ++ReadCounts()[UpperCase(path.toStdString())];
}

std::vector<std::string> CheckDescriptions(const std::string& Folder) {
  std::vector<std::string> failures;
  QDir dir(QString::fromStdString(Folder));
  for (const QString& entry : dir.entryList(QDir::Files, QDir::Name)) {
    if (!entry.endsWith(kFormExtension, Qt::CaseInsensitive)) continue;
    QString path = dir.filePath(entry);
    std::string file = path.startsWith(":/") ? path.mid(2).toStdString() : path.toStdString();
    try {
      std::string text = ReadWhole(path);
      TDescObject desc = ParseDescription(text, file);
      const TClassInfo* cls = FindClassInfo(desc.ClassName);
      if (!cls || !cls->CreateComponent)
        throw EDescriptionError(file, desc.Line, desc.Name,
                                Format("Class %s not found", {desc.ClassName}));
      int before = ReadCounts()[UpperCase(path.toStdString())];
      std::unique_ptr<TComponent> root(cls->CreateComponent(nullptr));
      if (ReadCounts()[UpperCase(path.toStdString())] == before)
        TReader(file).ReadRootComponent(desc, root.get());
    } catch (const Exception& e) {
      failures.push_back(e.Message());
    } catch (const std::exception& e) {
      failures.push_back(file + ": " + e.what());
    }
  }
  return failures;
}

// ---------------------------------------------------------------------------------------------
// Graphic classes

namespace {

std::vector<TGraphicClassEntry>& GraphicRegistry() {
  static std::vector<TGraphicClassEntry> registry;
  return registry;
}

}  // namespace

void RegisterGraphicClass(const std::string& Extension, const std::string& Description,
                          const TClassInfo* Class) {
  std::string ext = LowerCase(Extension);
  if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  GraphicRegistry().push_back({ext, Description, Class});
}

void UnregisterGraphicClass(const TClassInfo* Class) {
  auto& r = GraphicRegistry();
  r.erase(std::remove_if(r.begin(), r.end(),
                         [&](const TGraphicClassEntry& e) { return e.Class == Class; }),
          r.end());
}

const TClassInfo* GraphicClassForExtension(const std::string& Extension) {
  std::string ext = LowerCase(Extension);
  if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  auto& r = GraphicRegistry();
  for (auto it = r.rbegin(); it != r.rend(); ++it)
    if (it->Extension == ext) return it->Class;
  return nullptr;
}

const TClassInfo* FindGraphicClass(const std::string& ClassName) {
  for (const auto& e : GraphicRegistry())
    if (e.Class && SameText(e.Class->Name, ClassName)) return e.Class;
  return nullptr;
}

std::vector<TGraphicClassEntry> GraphicClasses() { return GraphicRegistry(); }

void WriteGraphicClassName(TStream* Stream, const std::string& ClassName) {
  if (ClassName.empty() || ClassName.size() > 255)
    throw EWriteError(Format("Invalid graphic class name %s", {Quote(ClassName)}));
  Stream->WriteValue(uint8_t(ClassName.size()));
  Stream->WriteString(ClassName);
}

const TClassInfo* ReadGraphicClassName(TStream* Stream) {
  uint8_t len = Stream->ReadValue<uint8_t>();
  std::string name(len, '\0');
  if (len) Stream->ReadBuffer(name.data(), len);
  const TClassInfo* cls = FindGraphicClass(name);
  if (!cls) throw EReadError(Format("Unknown picture format %s", {Quote(name)}));
  return cls;
}
