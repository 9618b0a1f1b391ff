#pragma once
// Published properties: per registered class an ordered table of properties with typed
// accessors, inherited along the class registry's parent chain; the names of enumeration values;
// and the handler methods a class offers by name, so that stored descriptions can bind events.
//
// A class publishes its properties once, next to its class registration:
//
//   RegisterClass<TSlider, TComponent>();
//   RegisterEnumNames<TSliderOrientation>({"soHorizontal", "soVertical"});
//   Published<TSlider>()
//       .Property("Value", &TSlider::Value, &TSlider::SetValue).Default(0)
//       .Property("Orientation", &TSlider::Orientation, &TSlider::SetOrientation)
//       .Property("Font", &TSlider::Font)              // nested persistent object, read in place
//       .Property("OnChange", &TSlider::OnChange)      // event, stored as a handler name
//       .Method("SliderChange", &TSlider::SliderChange);
//
// The kind of a property follows from its value type: bool, integers up to 32 bits, 64-bit
// integers, enumerations, TSet<E>, floating point, std::string, pointers to components
// (references by name), pointers to other persistent objects (nested objects and collections)
// and Event<...> members (handler names).

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Events.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/System.h"

SONALIX_DECLARE_EXCEPTION(EPropertyError, Exception);
SONALIX_DECLARE_EXCEPTION(EPropertyConvertError, Exception);

enum class TTypeKind {
  tkInteger,
  tkInt64,
  tkEnumeration,
  tkSet,
  tkBool,
  tkFloat,
  tkString,
  tkComponent,  // a reference to a component, stored by name
  tkClass,      // a nested persistent object owned by its holder (collections included)
  tkMethod      // an event, stored as the name of its handler
};
using enum TTypeKind;

// The names of an enumeration's values (case-insensitive on lookup).
struct TEnumInfo {
  std::string TypeName;
  std::vector<std::pair<std::string, int64_t>> Values;

  bool NameOf(int64_t value, std::string& name) const;
  bool ValueOf(const std::string& name, int64_t& value) const;
};

void RegisterEnumInfo(std::type_index type, TEnumInfo info);
const TEnumInfo* FindEnumInfo(std::type_index type);

// Names for consecutive values from 0, in declaration order.
template <class E>
void RegisterEnumNames(std::initializer_list<const char*> names) {
  static_assert(std::is_enum_v<E>);
  TEnumInfo info;
  info.TypeName = TypeName(typeid(E));
  int64_t v = 0;
  for (const char* n : names) info.Values.emplace_back(n, v++);
  RegisterEnumInfo(typeid(E), std::move(info));
}

// Symbolic names some integer properties accept and are written with (colours, cursors).
struct TIdentMap {
  std::function<bool(const std::string& ident, int64_t& value)> IdentToInt;
  std::function<bool(int64_t value, std::string& ident)> IntToIdent;
};

struct TMethodEntry;

struct TPropInfo {
  std::string Name;
  TTypeKind Kind = tkInteger;
  // The enumeration of enumerations and sets, the class of objects, the Event type of events.
  const std::type_info* ValueType = &typeid(void);
  int64_t MinValue = 0, MaxValue = 0;  // ordinal kinds
  bool HasDefault = false;
  int64_t Default = 0;  // ordinal kinds
  double DefaultFloat = 0;
  const TIdentMap* Idents = nullptr;
  std::function<bool(TObject*)> IsStored;  // empty: stored

  // Accessors, by kind. Ordinal kinds (integer, int64, enumeration, set bits, boolean) go
  // through GetOrd/SetOrd; objects and references through GetObject/SetObject.
  std::function<int64_t(TObject*)> GetOrd;
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<double(TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<std::string(TObject*)> GetStr;
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<TObject*(TObject*)> GetObject;
  std::function<void(TObject*, TObject*)>
      SetObject;  // references: raises EInvalidCast on a wrong class
  std::function<bool(TObject*)> MethodAssigned;
  std::function<std::string(TObject*)> GetHandlerName;
  // Binds the event to Entry's method of Receiver, or clears it when Entry is null. Raises
  // EPropertyError when the method's signature is not the event's.
  std::function<void(TObject*, const TMethodEntry* Entry, TObject* Receiver)> SetMethod;

  const TEnumInfo* EnumInfo() const { return FindEnumInfo(*ValueType); }
  const TClassInfo* ObjectClass() const { return FindClassInfo(*ValueType); }
  bool Writable() const;
};

// A handler method a class offers by name; Bind stores into *Event (an Event of EventType) the
// method bound to Receiver.
struct TMethodEntry {
  std::string Name;
  std::type_index EventType = typeid(void);
  std::function<void(TObject* Receiver, void* Event)> Bind;
};

// The class's own table (not inherited entries). Created on first use.
struct TClassProps {
  std::vector<std::unique_ptr<TPropInfo>> Props;
  std::vector<TMethodEntry> Methods;
};
TClassProps& ClassPropsOf(std::type_index type);

// The registered class of an object's dynamic type, or null.
const TClassInfo* ClassInfoOf(const TObject* Instance);

// Every published property of a class, the root ancestor's first. A class that publishes a
// name again replaces the inherited entry in place.
std::vector<const TPropInfo*> GetPropList(const TClassInfo* Class);
const TPropInfo* GetPropInfo(const TClassInfo* Class, const std::string& Name);
const TPropInfo* GetPropInfo(const TObject* Instance, const std::string& Name);
bool IsPublishedProp(const TObject* Instance, const std::string& Name);
// Raises EPropertyError "Unknown property: %s" when absent.
const TPropInfo& FindPropInfo(const TObject* Instance, const std::string& Name);

// The handler the class or an ancestor offers under Name, or null.
const TMethodEntry* FindMethod(const TClassInfo* Class, const std::string& Name);

// Typed accessors by name. Setters check the kind (EPropertyError) and the range of ordinal
// values (ERangeError "Property value out of range").
int64_t GetOrdProp(TObject* Instance, const std::string& Name);
void SetOrdProp(TObject* Instance, const std::string& Name, int64_t Value);
int64_t GetInt64Prop(TObject* Instance, const std::string& Name);
void SetInt64Prop(TObject* Instance, const std::string& Name, int64_t Value);
std::string GetEnumProp(TObject* Instance, const std::string& Name);
void SetEnumProp(TObject* Instance, const std::string& Name, const std::string& Value);
// "[a,b]" (brackets optional on input; the names separated by commas).
std::string GetSetProp(TObject* Instance, const std::string& Name, bool Brackets = true);
void SetSetProp(TObject* Instance, const std::string& Name, const std::string& Value);
double GetFloatProp(TObject* Instance, const std::string& Name);
void SetFloatProp(TObject* Instance, const std::string& Name, double Value);
std::string GetStrProp(TObject* Instance, const std::string& Name);
void SetStrProp(TObject* Instance, const std::string& Name, const std::string& Value);
TObject* GetObjectProp(TObject* Instance, const std::string& Name);
void SetObjectProp(TObject* Instance, const std::string& Name, TObject* Value);
std::string GetMethodProp(TObject* Instance, const std::string& Name);
// Binds the event to the handler Receiver's class offers under HandlerName ("" clears).
void SetMethodProp(TObject* Instance, const std::string& Name, TObject* Receiver,
                   const std::string& HandlerName);

// Range-checked ordinal store on a known property.
void SetOrdValue(TObject* Instance, const TPropInfo& Prop, int64_t Value);

namespace typinfo_detail {

template <class T>
struct IsTSet : std::false_type {};
template <class E, std::size_t N>
struct IsTSet<TSet<E, N>> : std::true_type {
  using Enum = E;
  static constexpr std::size_t Bits = N;
};

template <class T>
T* Cast(TObject* o) {
  T* t = dynamic_cast<T*>(o);
  if (!t) throw EPropertyError("Property accessed on an object of the wrong class");
  return t;
}

template <class Sig>
struct EventTraits;
template <class R, class... A>
struct EventTraits<Event<R(A...)>> {
  using Signature = R(A...);
};

template <class M>
struct MethodTraits;
template <class R, class C, class... A>
struct MethodTraits<R (C::*)(A...)> {
  using Class = C;
  using EventType = Event<R(A...)>;
};

}  // namespace typinfo_detail

template <class T>
class TPublished {
 public:
  // Getter: a member function, data member or callable taking T*; Setter likewise with a value.
  template <class G, class S>
  TPublished& Property(const std::string& name, G getter, S setter) {
    using V = std::decay_t<std::invoke_result_t<G, T*>>;
    auto info = std::make_unique<TPropInfo>();
    info->Name = name;
    Describe<V>(*info, getter, setter);
    return Add(std::move(info));
  }

  // Without a setter: a nested object read and written in place (Font, Items), given by a
  // getter returning its pointer or reference, or by a data member; or an event member.
  template <class G>
  TPublished& Property(const std::string& name, G getter) {
    using V = std::decay_t<std::invoke_result_t<G, T*>>;
    auto info = std::make_unique<TPropInfo>();
    info->Name = name;
    if constexpr (IsEvent<V>()) {
      DescribeEvent<V>(*info, getter);
    } else if constexpr (std::is_class_v<V> && std::is_base_of_v<TObject, V>) {
      // An object held by value or returned by reference: published by its address.
      auto address = [getter](T* o) { return &std::invoke(getter, o); };
      Describe<V*>(*info, address, nullptr);
    } else {
      Describe<V>(*info, getter, nullptr);
    }
    return Add(std::move(info));
  }

  // Modifiers of the property added last.
  TPublished& Default(int64_t value) {
    FLast->HasDefault = true;
    FLast->Default = value;
    FLast->DefaultFloat = double(value);
    return *this;
  }
  template <class E>
  requires std::is_enum_v<E> TPublished& Default(E value) { return Default(int64_t(value)); }
  template <class E, std::size_t N>
  TPublished& Default(const TSet<E, N>& value) {
    return Default(int64_t(value.ToInt()));
  }
  TPublished& DefaultFloat(double value) {
    FLast->HasDefault = true;
    FLast->DefaultFloat = value;
    return *this;
  }
  template <class P>
  TPublished& Stored(P predicate) {
    FLast->IsStored = [predicate](TObject* o) {
      return bool(std::invoke(predicate, typinfo_detail::Cast<T>(o)));
    };
    return *this;
  }
  TPublished& Idents(const TIdentMap* map) {
    FLast->Idents = map;
    return *this;
  }

  // A handler method offered by name to stored descriptions.
  template <class M>
  TPublished& Method(const std::string& name, M method) {
    using Traits = typinfo_detail::MethodTraits<M>;
    using E = typename Traits::EventType;
    TMethodEntry entry;
    entry.Name = name;
    entry.EventType = typeid(E);
    entry.Bind = [method, name](TObject* receiver, void* event) {
      auto* r = typinfo_detail::Cast<T>(receiver);
      *static_cast<E*>(event) = E::Bind(static_cast<typename Traits::Class*>(r), method, name);
    };
    auto& methods = ClassPropsOf(typeid(T)).Methods;
    for (auto& m : methods)
      if (SameText(m.Name, name)) {
        m = std::move(entry);
        return *this;
      }
    methods.push_back(std::move(entry));
    return *this;
  }

 private:
  template <class V>
  static constexpr bool IsEvent() {
    return requires { typename typinfo_detail::EventTraits<V>::Signature; };
  }

  TPublished& Add(std::unique_ptr<TPropInfo> info) {
    auto& props = ClassPropsOf(typeid(T)).Props;
    for (auto& p : props)
      if (SameText(p->Name, info->Name)) {
        p = std::move(info);
        FLast = p.get();
        return *this;
      }
    props.push_back(std::move(info));
    FLast = props.back().get();
    return *this;
  }

  template <class V, class G>
  static void DescribeEvent(TPropInfo& info, G member) {
    info.Kind = tkMethod;
    info.ValueType = &typeid(V);
    info.MethodAssigned = [member](TObject* o) {
      return bool(std::invoke(member, typinfo_detail::Cast<T>(o)));
    };
    info.GetHandlerName = [member](TObject* o) {
      return std::invoke(member, typinfo_detail::Cast<T>(o)).HandlerName();
    };
    info.SetMethod = [member, name = info.Name](TObject* o, const TMethodEntry* entry,
                                                TObject* receiver) {
      V& event = std::invoke(member, typinfo_detail::Cast<T>(o));
      if (!entry) {
        event = nullptr;
        return;
      }
      if (entry->EventType != typeid(V))
        throw EPropertyError(
            Format("Handler %s does not match the type of %s", {entry->Name, name}));
      entry->Bind(receiver, &event);
    };
  }

  template <class V, class G, class S>
  static void Describe(TPropInfo& info, G getter, S setter) {
    using namespace typinfo_detail;
    auto get = [getter](TObject* o) -> V { return std::invoke(getter, Cast<T>(o)); };
    if constexpr (std::is_same_v<V, bool>) {
      info.Kind = tkBool;
      info.MinValue = 0;
      info.MaxValue = 1;
      info.GetOrd = [get](TObject* o) { return int64_t(get(o)); };
      if constexpr (!std::is_same_v<S, std::nullptr_t>)
        info.SetOrd = [setter](TObject* o, int64_t v) { std::invoke(setter, Cast<T>(o), v != 0); };
    } else if constexpr (std::is_integral_v<V>) {
      info.Kind = sizeof(V) <= 4 ? tkInteger : tkInt64;
      info.MinValue = int64_t(std::numeric_limits<V>::min());
      info.MaxValue = std::numeric_limits<V>::max() > uint64_t(INT64_MAX)
                          ? INT64_MAX
                          : int64_t(std::numeric_limits<V>::max());
      info.GetOrd = [get](TObject* o) { return int64_t(get(o)); };
      if constexpr (!std::is_same_v<S, std::nullptr_t>)
        info.SetOrd = [setter](TObject* o, int64_t v) { std::invoke(setter, Cast<T>(o), V(v)); };
    } else if constexpr (std::is_enum_v<V>) {
      info.Kind = tkEnumeration;
      info.ValueType = &typeid(V);
      info.MinValue = 0;
      info.MaxValue = INT64_MAX;  // checked against the registered names
      info.GetOrd = [get](TObject* o) { return int64_t(get(o)); };
      if constexpr (!std::is_same_v<S, std::nullptr_t>)
        info.SetOrd = [setter](TObject* o, int64_t v) { std::invoke(setter, Cast<T>(o), V(v)); };
    } else if constexpr (IsTSet<V>::value) {
      static_assert(IsTSet<V>::Bits <= 64, "published sets hold at most 64 values");
      info.Kind = tkSet;
      info.ValueType = &typeid(typename IsTSet<V>::Enum);
      info.MinValue = INT64_MIN;
      info.MaxValue = INT64_MAX;
      info.GetOrd = [get](TObject* o) { return int64_t(get(o).ToInt()); };
      if constexpr (!std::is_same_v<S, std::nullptr_t>)
        info.SetOrd = [setter](TObject* o, int64_t v) {
          std::invoke(setter, Cast<T>(o), V::FromInt(uint64_t(v)));
        };
    } else if constexpr (std::is_floating_point_v<V>) {
      info.Kind = tkFloat;
      info.GetFloat = [get](TObject* o) { return double(get(o)); };
      if constexpr (!std::is_same_v<S, std::nullptr_t>)
        info.SetFloat = [setter](TObject* o, double v) { std::invoke(setter, Cast<T>(o), V(v)); };
    } else if constexpr (std::is_same_v<V, std::string>) {
      info.Kind = tkString;
      info.GetStr = [get](TObject* o) { return get(o); };
      if constexpr (!std::is_same_v<S, std::nullptr_t>)
        info.SetStr = [setter](TObject* o, const std::string& v) {
          std::invoke(setter, Cast<T>(o), v);
        };
    } else if constexpr (std::is_pointer_v<V>) {
      using C = std::remove_cv_t<std::remove_pointer_t<V>>;
      static_assert(std::is_base_of_v<TObject, C>, "object properties point to TObject classes");
      info.Kind = std::is_base_of_v<TComponent, C> ? tkComponent : tkClass;
      info.ValueType = &typeid(C);
      info.GetObject = [get](TObject* o) -> TObject* {
        return const_cast<TObject*>(static_cast<const TObject*>(get(o)));
      };
      if constexpr (!std::is_same_v<S, std::nullptr_t>)
        info.SetObject = [setter](TObject* o, TObject* v) {
          C* value = nullptr;
          if (v && !(value = dynamic_cast<C*>(v)))
            throw EPropertyError(Format("%s is not a %s", {v->ClassName(), TypeName(typeid(C))}));
          std::invoke(setter, Cast<T>(o), value);
        };
    } else {
      static_assert(sizeof(V) == 0, "unsupported published property type");
    }
  }

  TPropInfo* FLast = nullptr;
};

template <class T>
TPublished<T> Published() {
  return TPublished<T>();
}
