#include "platform/rtl/TypInfo.h"

#include <map>

namespace {

std::map<std::type_index, TEnumInfo>& EnumRegistry() {
  static std::map<std::type_index, TEnumInfo> registry;
  return registry;
}

std::map<std::type_index, TClassProps>& PropRegistry() {
  static std::map<std::type_index, TClassProps> registry;
  return registry;
}

const TPropInfo& Expect(TObject* instance, const std::string& name,
                        std::initializer_list<TTypeKind> kinds) {
  const TPropInfo& p = FindPropInfo(instance, name);
  for (TTypeKind k : kinds)
    if (p.Kind == k) return p;
  throw EPropertyError(Format("Invalid property type: %s", {name}));
}

void RequireWritable(bool writable, const std::string& name) {
  if (!writable) throw EPropertyError(Format("Property %s is read-only", {name}));
}

}  // namespace

bool TEnumInfo::NameOf(int64_t value, std::string& name) const {
  for (const auto& [n, v] : Values)
    if (v == value) {
      name = n;
      return true;
    }
  return false;
}

bool TEnumInfo::ValueOf(const std::string& name, int64_t& value) const {
  for (const auto& [n, v] : Values)
    if (SameText(n, name)) {
      value = v;
      return true;
    }
  return false;
}

void RegisterEnumInfo(std::type_index type, TEnumInfo info) {
  EnumRegistry()[type] = std::move(info);
}

const TEnumInfo* FindEnumInfo(std::type_index type) {
  auto& r = EnumRegistry();
  auto it = r.find(type);
  return it == r.end() ? nullptr : &it->second;
}

bool TPropInfo::Writable() const {
  switch (Kind) {
    case tkFloat:
      return bool(SetFloat);
    case tkString:
      return bool(SetStr);
    case tkComponent:
    case tkClass:
      return bool(SetObject);
    case tkMethod:
      return bool(SetMethod);
    default:
      return bool(SetOrd);
  }
}

TClassProps& ClassPropsOf(std::type_index type) { return PropRegistry()[type]; }

const TClassInfo* ClassInfoOf(const TObject* Instance) {
  return Instance ? FindClassInfo(typeid(*Instance)) : nullptr;
}

std::vector<const TPropInfo*> GetPropList(const TClassInfo* Class) {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = Class; c; c = c->Parent) chain.push_back(c);
  std::vector<const TPropInfo*> list;
  auto& registry = PropRegistry();
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    auto found = registry.find((*it)->Type);
    if (found == registry.end()) continue;
    for (const auto& p : found->second.Props) {
      bool replaced = false;
      for (auto& existing : list)
        if (SameText(existing->Name, p->Name)) {
          existing = p.get();
          replaced = true;
          break;
        }
      if (!replaced) list.push_back(p.get());
    }
  }
  return list;
}

const TPropInfo* GetPropInfo(const TClassInfo* Class, const std::string& Name) {
  auto& registry = PropRegistry();
  for (const TClassInfo* c = Class; c; c = c->Parent) {
    auto found = registry.find(c->Type);
    if (found == registry.end()) continue;
    for (const auto& p : found->second.Props)
      if (SameText(p->Name, Name)) return p.get();
  }
  return nullptr;
}

const TPropInfo* GetPropInfo(const TObject* Instance, const std::string& Name) {
  return GetPropInfo(ClassInfoOf(Instance), Name);
}

bool IsPublishedProp(const TObject* Instance, const std::string& Name) {
  return GetPropInfo(Instance, Name) != nullptr;
}

const TPropInfo& FindPropInfo(const TObject* Instance, const std::string& Name) {
  if (const TPropInfo* p = GetPropInfo(Instance, Name)) return *p;
  throw EPropertyError(Format("Unknown property: %s", {Name}));
}

const TMethodEntry* FindMethod(const TClassInfo* Class, const std::string& Name) {
  auto& registry = PropRegistry();
  for (const TClassInfo* c = Class; c; c = c->Parent) {
    auto found = registry.find(c->Type);
    if (found == registry.end()) continue;
    for (const auto& m : found->second.Methods)
      if (SameText(m.Name, Name)) return &m;
  }
  return nullptr;
}

void SetOrdValue(TObject* Instance, const TPropInfo& Prop, int64_t Value) {
  RequireWritable(bool(Prop.SetOrd), Prop.Name);
  bool ok = Value >= Prop.MinValue && Value <= Prop.MaxValue;
  if (Prop.Kind == tkEnumeration) {
    std::string ignored;
    const TEnumInfo* e = Prop.EnumInfo();
    ok = e && e->NameOf(Value, ignored);
  } else if (Prop.Kind == tkSet) {
    const TEnumInfo* e = Prop.EnumInfo();
    ok = e != nullptr;
    for (int bit = 0; ok && bit < 64; ++bit) {
      std::string ignored;
      if ((uint64_t(Value) >> bit) & 1) ok = e->NameOf(bit, ignored);
    }
  }
  if (!ok) throw ERangeError("Property value out of range");
  Prop.SetOrd(Instance, Value);
}

int64_t GetOrdProp(TObject* Instance, const std::string& Name) {
  return Expect(Instance, Name, {tkInteger, tkInt64, tkEnumeration, tkSet, tkBool})
      .GetOrd(Instance);
}

void SetOrdProp(TObject* Instance, const std::string& Name, int64_t Value) {
  SetOrdValue(Instance, Expect(Instance, Name, {tkInteger, tkInt64, tkEnumeration, tkSet, tkBool}),
              Value);
}

int64_t GetInt64Prop(TObject* Instance, const std::string& Name) {
  return Expect(Instance, Name, {tkInt64, tkInteger}).GetOrd(Instance);
}

void SetInt64Prop(TObject* Instance, const std::string& Name, int64_t Value) {
  SetOrdValue(Instance, Expect(Instance, Name, {tkInt64, tkInteger}), Value);
}

std::string GetEnumProp(TObject* Instance, const std::string& Name) {
  const TPropInfo& p = Expect(Instance, Name, {tkEnumeration, tkBool});
  int64_t v = p.GetOrd(Instance);
  if (p.Kind == tkBool) return v ? "True" : "False";
  std::string name;
  const TEnumInfo* e = p.EnumInfo();
  if (!e || !e->NameOf(v, name)) return IntToStr(v);
  return name;
}

void SetEnumProp(TObject* Instance, const std::string& Name, const std::string& Value) {
  const TPropInfo& p = Expect(Instance, Name, {tkEnumeration, tkBool});
  int64_t v = 0;
  if (p.Kind == tkBool) {
    if (SameText(Value, "True"))
      v = 1;
    else if (!SameText(Value, "False"))
      throw EPropertyConvertError(Format("Invalid property element: %s", {Value}));
  } else {
    const TEnumInfo* e = p.EnumInfo();
    if (!e || !e->ValueOf(Value, v))
      throw EPropertyConvertError(Format("Invalid property element: %s", {Value}));
  }
  SetOrdValue(Instance, p, v);
}

std::string GetSetProp(TObject* Instance, const std::string& Name, bool Brackets) {
  const TPropInfo& p = Expect(Instance, Name, {tkSet});
  uint64_t bits = uint64_t(p.GetOrd(Instance));
  const TEnumInfo* e = p.EnumInfo();
  std::string text;
  for (int bit = 0; bit < 64; ++bit) {
    if (!((bits >> bit) & 1)) continue;
    std::string n;
    if (!e || !e->NameOf(bit, n)) n = IntToStr(bit);
    if (!text.empty()) text += ",";
    text += n;
  }
  return Brackets ? "[" + text + "]" : text;
}

void SetSetProp(TObject* Instance, const std::string& Name, const std::string& Value) {
  const TPropInfo& p = Expect(Instance, Name, {tkSet});
  std::string text = Trim(Value);
  if (!text.empty() && text.front() == '[') {
    if (text.back() != ']')
      throw EPropertyConvertError(Format("Invalid property element: %s", {Value}));
    text = text.substr(1, text.size() - 2);
  }
  const TEnumInfo* e = p.EnumInfo();
  uint64_t bits = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    std::string item =
        Trim(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (!item.empty()) {
      int64_t v = 0;
      if (!e || !e->ValueOf(item, v) || v < 0 || v >= 64)
        throw EPropertyConvertError(Format("Invalid property element: %s", {item}));
      bits |= uint64_t(1) << v;
    } else if (comma != std::string::npos) {
      throw EPropertyConvertError(Format("Invalid property element: %s", {Value}));
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  SetOrdValue(Instance, p, int64_t(bits));
}

double GetFloatProp(TObject* Instance, const std::string& Name) {
  return Expect(Instance, Name, {tkFloat}).GetFloat(Instance);
}

void SetFloatProp(TObject* Instance, const std::string& Name, double Value) {
  const TPropInfo& p = Expect(Instance, Name, {tkFloat});
  RequireWritable(p.Writable(), Name);
  p.SetFloat(Instance, Value);
}

std::string GetStrProp(TObject* Instance, const std::string& Name) {
  return Expect(Instance, Name, {tkString}).GetStr(Instance);
}

void SetStrProp(TObject* Instance, const std::string& Name, const std::string& Value) {
  const TPropInfo& p = Expect(Instance, Name, {tkString});
  RequireWritable(p.Writable(), Name);
  p.SetStr(Instance, Value);
}

TObject* GetObjectProp(TObject* Instance, const std::string& Name) {
  return Expect(Instance, Name, {tkClass, tkComponent}).GetObject(Instance);
}

void SetObjectProp(TObject* Instance, const std::string& Name, TObject* Value) {
  const TPropInfo& p = Expect(Instance, Name, {tkClass, tkComponent});
  RequireWritable(p.Writable(), Name);
  p.SetObject(Instance, Value);
}

std::string GetMethodProp(TObject* Instance, const std::string& Name) {
  return Expect(Instance, Name, {tkMethod}).GetHandlerName(Instance);
}

void SetMethodProp(TObject* Instance, const std::string& Name, TObject* Receiver,
                   const std::string& HandlerName) {
  const TPropInfo& p = Expect(Instance, Name, {tkMethod});
  if (HandlerName.empty()) {
    p.SetMethod(Instance, nullptr, nullptr);
    return;
  }
  const TMethodEntry* entry = FindMethod(ClassInfoOf(Receiver), HandlerName);
  if (!entry) throw EPropertyError(Format("Unknown handler: %s", {HandlerName}));
  p.SetMethod(Instance, entry, Receiver);
}

namespace {

// The runtime library's own persistent classes, which the others derive from.
const bool kRtlClassesRegistered = [] {
  RegisterClass<TPersistent>();
  RegisterClass<TComponent, TPersistent>();
  RegisterClass<TCollectionItem, TPersistent>();
  RegisterClass<TCollection, TPersistent>();
  RegisterClass<TStrings, TPersistent>();
  RegisterClass<TStringList, TStrings>();
  Published<TComponent>().Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
  return true;
}();

}  // namespace
