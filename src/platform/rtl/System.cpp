#include "platform/rtl/System.h"

#include <cxxabi.h>

#include <algorithm>
#include <map>
#include <vector>

#include "platform/rtl/SysUtils.h"

TObject::~TObject() {
  if (FWeakToken) *FWeakToken = nullptr;
}

std::shared_ptr<TObject*> TObject::WeakToken() const {
  if (!FWeakToken) FWeakToken = std::make_shared<TObject*>(const_cast<TObject*>(this));
  return FWeakToken;
}

std::string TObject::ClassName() const { return TypeName(typeid(*this)); }

bool TObject::InheritsFrom(const std::type_info& type) const {
  const TClassInfo* info = FindClassInfo(typeid(*this));
  const TClassInfo* target = FindClassInfo(type);
  if (info && target) return info->InheritsFrom(target);
  return typeid(*this) == type;
}

std::string TypeName(const std::type_info& type) {
  int status = 0;
  char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : type.name();
  std::free(demangled);
  // Strip template arguments' namespaces are rare here; strip the leading namespaces only.
  std::size_t angle = name.find('<');
  std::size_t colon = name.rfind("::", angle);
  if (colon != std::string::npos) name = name.substr(colon + 2);
  return name;
}

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    if (c == other) return true;
  return false;
}

bool TClassInfo::InheritsFrom(const std::string& name) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    if (SameText(c->Name, name)) return true;
  return false;
}

namespace {
struct ClassRegistry {
  // Entries are never freed: class references stay valid for the life of the program.
  std::map<std::string, TClassInfo*> byName;  // upper-cased name
  std::map<std::type_index, TClassInfo*> byType;
};
ClassRegistry& Registry() {
  // Never destroyed, so that lookups from static destructors still work and the entries stay
  // reachable until the process ends.
  static ClassRegistry* registry = new ClassRegistry;
  return *registry;
}
}  // namespace

void RegisterClassInfo(TClassInfo info) {
  ClassRegistry& r = Registry();
  auto it = r.byType.find(info.Type);
  if (it != r.byType.end()) {
    // Re-registration of a type updates it in place so that Parent pointers stay valid.
    r.byName.erase(UpperCase(it->second->Name));
    *it->second = std::move(info);
    r.byName[UpperCase(it->second->Name)] = it->second;
    return;
  }
  auto* entry = new TClassInfo(std::move(info));
  r.byName[UpperCase(entry->Name)] = entry;
  r.byType[entry->Type] = entry;
  // Children registered before their parent are linked now.
  for (auto& [type, other] : r.byType)
    if (!other->Parent && other->ParentType == entry->Type && other != entry) other->Parent = entry;
}

const TClassInfo* FindClassInfo(const std::string& name) {
  ClassRegistry& r = Registry();
  auto it = r.byName.find(UpperCase(name));
  return it == r.byName.end() ? nullptr : it->second;
}

const TClassInfo* FindClassInfo(const std::type_info& type) {
  ClassRegistry& r = Registry();
  auto it = r.byType.find(type);
  return it == r.byType.end() ? nullptr : it->second;
}

const TClassInfo& GetClassInfo(const std::string& name) {
  if (const TClassInfo* info = FindClassInfo(name)) return *info;
  throw EClassNotFound(Format("Class %s not found", {name}));
}
