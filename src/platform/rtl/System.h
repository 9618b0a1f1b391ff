#pragma once
// The root of the object model: TObject with its class name, class references for virtual
// construction by name, weak links, and small sets of enumeration values.

#include <bitset>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <typeindex>



class TObject;
class TComponent;

// A weak link to an object that may be freed while an event is being processed: it reads null
// once the object is gone. Single-threaded (GUI thread), like the objects it points to.
template <class T>
class TWeakLink;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject();

  // The class name without namespaces ("TComponent").
  std::string ClassName() const;
  bool InheritsFrom(const std::type_info& type) const;

 private:
  template <class T>
  friend class TWeakLink;
  std::shared_ptr<TObject*> WeakToken() const;
  mutable std::shared_ptr<TObject*> FWeakToken;
};

// Demangled, namespace-stripped name of a type.
std::string TypeName(const std::type_info& type);

template <class T>
class TWeakLink {
 public:
  TWeakLink() = default;
  TWeakLink(T* object) : FToken(object ? object->WeakToken() : nullptr) {}  // NOLINT
  // While the object is being destroyed its dynamic type walks back up the hierarchy: once T's
  // destructor has run the link reads null rather than handing out a T that no longer exists.
  T* get() const { return FToken && *FToken ? dynamic_cast<T*>(*FToken) : nullptr; }
  T* operator->() const { return get(); }
  explicit operator bool() const { return get() != nullptr; }
  bool Alive() const { return get() != nullptr; }

 private:
  std::shared_ptr<TObject*> FToken;
};

// A class reference: what a stored description names, able to construct an instance
// and to tell its ancestry.
struct TClassInfo {
  std::string Name;
  const TClassInfo* Parent = nullptr;
  std::type_index Type = typeid(void);
  // The parent's type, so that Parent is linked whichever of the two registers first (static
  // initialisation runs in no fixed order across files).
  std::type_index ParentType = typeid(void);
  std::function<TComponent*(TComponent* owner)> CreateComponent;  // empty for non-components
  std::function<TObject*()> CreateObject;                           // empty when abstract

  bool InheritsFrom(const TClassInfo* other) const;
  bool InheritsFrom(const std::string& name) const;
};

// Registry of classes by name (case-insensitive, as names in descriptions are).
// Registering a name again replaces the earlier entry.
void RegisterClassInfo(TClassInfo info);
const TClassInfo* FindClassInfo(const std::string& name);
const TClassInfo* FindClassInfo(const std::type_info& type);
// Like FindClassInfo, raising EClassNotFound ("Class %s not found") when absent.
const TClassInfo& GetClassInfo(const std::string& name);

// RegisterClass<T, Parent>(): Parent is void for a root; it may register before or after T.
// Components are constructed with their owner; other objects with no arguments.
template <class T, class Parent = void>
const TClassInfo& RegisterClass(const std::string& name = {}) {
  TClassInfo info;
  info.Name = name.empty() ? TypeName(typeid(T)) : name;
  info.Type = typeid(T);
  if constexpr (!std::is_void_v<Parent>) {
    info.ParentType = typeid(Parent);
    info.Parent = FindClassInfo(typeid(Parent));
  }
  if constexpr (!std::is_abstract_v<T>) {
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>) {
      info.CreateComponent = [](TComponent* owner) -> TComponent* { return new T(owner); };
      info.CreateObject = []() -> TObject* { return new T(nullptr); };
    } else if constexpr (std::is_default_constructible_v<T>) {
      info.CreateObject = []() -> TObject* { return new T(); };
    }
  }
  RegisterClassInfo(std::move(info));
  return *FindClassInfo(typeid(T));
}

// A small set of enumeration values (the platform's "set of"), values 0..N-1.
template <class E, std::size_t N = 64>
class TSet {
 public:
  constexpr TSet() = default;
  TSet(std::initializer_list<E> values) {
    for (E v : values) Include(v);
  }
  bool Contains(E v) const { return FBits.test(Index(v)); }
  TSet& Include(E v) {
    FBits.set(Index(v));
    return *this;
  }
  TSet& Exclude(E v) {
    FBits.reset(Index(v));
    return *this;
  }
  bool Empty() const { return FBits.none(); }
  std::size_t Count() const { return FBits.count(); }
  TSet operator+(const TSet& o) const { return TSet(FBits | o.FBits); }
  TSet operator-(const TSet& o) const { return TSet(FBits & ~o.FBits); }
  TSet operator*(const TSet& o) const { return TSet(FBits & o.FBits); }
  TSet& operator+=(const TSet& o) { FBits |= o.FBits; return *this; }
  TSet& operator-=(const TSet& o) { FBits &= ~o.FBits; return *this; }
  bool operator==(const TSet& o) const { return FBits == o.FBits; }
  // Subset test: a <= b when every member of a is in b.
  bool operator<=(const TSet& o) const { return (FBits & ~o.FBits).none(); }
  const std::bitset<N>& Bits() const { return FBits; }
  uint64_t ToInt() const requires(N <= 64) { return FBits.to_ullong(); }
  static TSet FromInt(uint64_t v) requires(N <= 64) { return TSet(std::bitset<N>(v)); }

 private:
  explicit TSet(std::bitset<N> b) : FBits(b) {}
  static std::size_t Index(E v) { return static_cast<std::size_t>(v); }
  std::bitset<N> FBits;
};


