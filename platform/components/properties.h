#pragma once
// Published properties by name: each class lists its own, and a class has
// those of its ancestors too. The streams and the translator read and write
// properties through these tables.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/rtl/enum_names.h"
#include "platform/rtl/exception.h"
#include "platform/rtl/object.h"

namespace tv {

class EPropertyError : public Exception {
 public:
  using Exception::Exception;
};

enum class TPropertyKind { pkString, pkInteger, pkBoolean, pkEnumeration, pkSet, pkFloat, pkClass, pkEvent };

// The handler of a plain event: Sender is the object whose event it is.
using TNotifyEvent = std::function<void(TObject* sender)>;

struct TPropertyInfo {
  std::string Name;
  TPropertyKind Kind = TPropertyKind::pkString;
  // pkEnumeration: the value names in order; pkSet: the member names, bit 0 first
  std::vector<std::string> EnumNames;
  // pkString
  std::function<std::string(const TObject&)> GetString;
  std::function<void(TObject&, const std::string&)> SetString;
  // pkInteger, pkBoolean (0 or 1), pkEnumeration (the value's index), pkSet
  // (a bit per member)
  std::function<long long(const TObject&)> GetOrdinal;
  std::function<void(TObject&, long long)> SetOrdinal;
  // pkFloat, left unwritten when 0
  std::function<double(const TObject&)> GetFloat;
  std::function<void(TObject&, double)> SetFloat;
  // pkInteger: values with names (colours, cursors), written by name
  std::vector<std::pair<std::string, long long>> Idents;
  // pkClass
  std::function<TObject*(const TObject&)> GetObject;
  std::function<void(TObject&, TObject*)> SetObject;
  // pkEvent: whether a handler is set; notification events also take one
  // from a stream, bound by name to a method of the stream's root
  std::function<bool(const TObject&)> HasHandler;
  std::function<void(TObject&, TNotifyEvent)> SetNotify;
  // Ordinals: the value a stream leaves unwritten; none: always written.
  // Strings are left unwritten when empty.
  std::optional<long long> DefaultOrdinal;
  // When set, a stream writes the property only where it says so (a
  // control's font only when it has its own).
  std::function<bool(const TObject&)> IsStored;
};

// Info whose integer values in Idents travel by name.
inline TPropertyInfo WithIdents(TPropertyInfo info, std::vector<std::pair<std::string, long long>> idents) {
  info.Idents = std::move(idents);
  return info;
}

// Info of a property that streams leave out (a value its container sets).
inline TPropertyInfo NotStored(TPropertyInfo info) {
  info.IsStored = [](const TObject&) { return false; };
  return info;
}

// What an ordinal property's value may be given as: a number, a truth value
// or an enumeration's value.
template <class TValue>
concept TOrdinalValue = std::is_integral_v<TValue> || std::is_enum_v<TValue>;

// Info with Value as its ordinal default.
template <TOrdinalValue TValue>
TPropertyInfo WithDefault(TPropertyInfo info, TValue value) {
  info.DefaultOrdinal = static_cast<long long>(value);
  return info;
}

// Declares the properties that Class itself introduces. Called from the
// class's publish function (TV_PUBLISHED_CLASS), which runs once, before
// anything looks up the class or a descendant.
void RegisterProperties(const TClassInfo& info, std::vector<TPropertyInfo> properties);

// Typed declarations, so that a class lists its properties as a short table
// beside its accessors:
//
//   void TLabel::PublishOwn() {
//     RegisterProperties(StaticClassInfo(),
//                        {StringProperty("Caption", &TLabel::Caption, &TLabel::SetCaption),
//                         EnumProperty("Align", &TLabel::Align, &TLabel::SetAlign),
//                         ObjectProperty("Lines", &TLabel::Lines),
//                         EventProperty("OnClick", &TLabel::OnClick)});
//   }
//
// A getter is a const member function or a data member of the class; a
// setter is a member function taking the value, a data member, or left out
// for a read-only property.
namespace property_detail {

template <class T, class Getter>
decltype(auto) Read(const T& object, Getter getter) {
  if constexpr (std::is_member_function_pointer_v<Getter>)
    return (object.*getter)();
  else
    return (object.*getter);
}

// The type a setter takes.
template <class Setter>
struct TSetterValue;
template <class C, class M>
struct TSetterValue<M C::*> {
  using Type = M;
};
template <class C, class R, class A>
struct TSetterValue<R (C::*)(A)> {
  using Type = std::remove_cvref_t<A>;
};

template <class T, class Setter, class Value>
void Write(T& object, Setter setter, Value&& value) {
  if constexpr (std::is_member_function_pointer_v<Setter>)
    (object.*setter)(std::forward<Value>(value));
  else
    object.*setter = std::forward<Value>(value);
}

template <class Setter>
constexpr bool kWritable = !std::is_null_pointer_v<Setter>;

inline std::vector<std::string> NameList(TEnumNames names) {
  return {names.begin(), names.end()};
}

}  // namespace property_detail

template <class T, class G, class Setter = std::nullptr_t>
TPropertyInfo StringProperty(std::string name, G T::*getter, Setter setter = nullptr) {
  TPropertyInfo info;
  info.Name = std::move(name);
  info.Kind = TPropertyKind::pkString;
  info.GetString = [getter](const TObject& o) {
    return std::string(property_detail::Read(static_cast<const T&>(o), getter));
  };
  if constexpr (property_detail::kWritable<Setter>)
    info.SetString = [setter](TObject& o, const std::string& v) {
      property_detail::Write(static_cast<T&>(o), setter, v);
    };
  return info;
}

// Integers, booleans and enumerations travel as ordinals.
template <class T, class G, class Setter = std::nullptr_t>
TPropertyInfo OrdinalProperty(std::string name, TPropertyKind kind, G T::*getter, Setter setter = nullptr) {
  TPropertyInfo info;
  info.Name = std::move(name);
  info.Kind = kind;
  info.GetOrdinal = [getter](const TObject& o) {
    return static_cast<long long>(property_detail::Read(static_cast<const T&>(o), getter));
  };
  if constexpr (property_detail::kWritable<Setter>)
    info.SetOrdinal = [setter](TObject& o, long long v) {
      using TValue = typename property_detail::TSetterValue<Setter>::Type;
      if constexpr (std::is_same_v<TValue, bool>)
        property_detail::Write(static_cast<T&>(o), setter, v != 0);
      else
        property_detail::Write(static_cast<T&>(o), setter, static_cast<TValue>(v));
    };
  return info;
}

template <class T, class G, class Setter = std::nullptr_t>
TPropertyInfo IntegerProperty(std::string name, G T::*getter, Setter setter = nullptr) {
  return OrdinalProperty(std::move(name), TPropertyKind::pkInteger, getter, setter);
}

template <class T, class G, class Setter = std::nullptr_t>
TPropertyInfo BooleanProperty(std::string name, G T::*getter, Setter setter = nullptr) {
  return OrdinalProperty(std::move(name), TPropertyKind::pkBoolean, getter, setter);
}

// Names: the enumeration's value names in the order of their values.
template <class T, class G, class Setter>
TPropertyInfo EnumProperty(std::string name, G T::*getter, Setter setter, std::vector<std::string> names) {
  TPropertyInfo info = OrdinalProperty(std::move(name), TPropertyKind::pkEnumeration, getter, setter);
  info.EnumNames = std::move(names);
  return info;
}
template <class T, class G>
TPropertyInfo EnumProperty(std::string name, G T::*member, std::vector<std::string> names) {
  return EnumProperty(std::move(name), member, member, std::move(names));
}
// The names come from EnumNames(E), declared beside the enumeration E that
// the getter gives.
template <class T, class G, class Setter>
TPropertyInfo EnumProperty(std::string name, G T::*getter, Setter setter) {
  using TEnum = std::remove_cvref_t<decltype(property_detail::Read(std::declval<const T&>(), getter))>;
  return EnumProperty(std::move(name), getter, setter, property_detail::NameList(EnumNames(TEnum{})));
}
template <class T, class G>
TPropertyInfo EnumProperty(std::string name, G T::*member) {
  return EnumProperty(std::move(name), member, member);
}

// Members: the names of the set's members, bit 0 first.
template <class T, class G, class Setter>
TPropertyInfo SetOfProperty(std::string name, G T::*getter, Setter setter, std::vector<std::string> members) {
  TPropertyInfo info = OrdinalProperty(std::move(name), TPropertyKind::pkSet, getter, setter);
  info.EnumNames = std::move(members);
  info.DefaultOrdinal = 0;
  return info;
}
template <class T, class G, class Setter>
TPropertyInfo SetOfProperty(std::string name, G T::*getter, Setter setter, TEnumNames members) {
  return SetOfProperty(std::move(name), getter, setter, property_detail::NameList(members));
}

template <class T, class G, class Setter = std::nullptr_t>
TPropertyInfo FloatProperty(std::string name, G T::*getter, Setter setter = nullptr) {
  TPropertyInfo info;
  info.Name = std::move(name);
  info.Kind = TPropertyKind::pkFloat;
  info.GetFloat = [getter](const TObject& o) {
    return static_cast<double>(property_detail::Read(static_cast<const T&>(o), getter));
  };
  if constexpr (property_detail::kWritable<Setter>)
    info.SetFloat = [setter](TObject& o, double v) {
      using TValue = typename property_detail::TSetterValue<Setter>::Type;
      property_detail::Write(static_cast<T&>(o), setter, static_cast<TValue>(v));
    };
  return info;
}

// An owned object (a string list, a font): read only, it is changed in place.
template <class T, class G>
TPropertyInfo ObjectProperty(std::string name, G T::*getter) {
  TPropertyInfo info;
  info.Name = std::move(name);
  info.Kind = TPropertyKind::pkClass;
  info.GetObject = [getter](const TObject& o) -> TObject* {
    auto&& value = property_detail::Read(static_cast<const T&>(o), getter);
    if constexpr (std::is_pointer_v<std::remove_cvref_t<decltype(value)>>)
      return const_cast<TObject*>(static_cast<const TObject*>(value));
    else
      return const_cast<TObject*>(static_cast<const TObject*>(&value));
  };
  return info;
}

// A reference to another component of the same stream (a label's focus
// control), written by name and bound by name once the stream is read.
template <class T, class C, class Setter>
TPropertyInfo ComponentProperty(std::string name, C* (T::*getter)() const, Setter setter) {
  TPropertyInfo info;
  info.Name = std::move(name);
  info.Kind = TPropertyKind::pkClass;
  info.GetObject = [getter](const TObject& o) -> TObject* { return (static_cast<const T&>(o).*getter)(); };
  info.SetObject = [setter](TObject& o, TObject* v) {
    C* typed = dynamic_cast<C*>(v);
    if (v != nullptr && typed == nullptr)
      throw EPropertyError(v->ClassName() + " is not a " + C::StaticClassInfo().Name);
    property_detail::Write(static_cast<T&>(o), setter, typed);
  };
  return info;
}

// An event: a handler member (std::function) that is set or not.
template <class T, class G>
TPropertyInfo EventProperty(std::string name, G T::*handler) {
  TPropertyInfo info;
  info.Name = std::move(name);
  info.Kind = TPropertyKind::pkEvent;
  info.HasHandler = [handler](const TObject& o) {
    return static_cast<bool>(property_detail::Read(static_cast<const T&>(o), handler));
  };
  if constexpr (std::is_same_v<std::remove_cvref_t<G>, TNotifyEvent>)
    info.SetNotify = [handler](TObject& o, TNotifyEvent e) { static_cast<T&>(o).*handler = std::move(e); };
  return info;
}

// Every property of the object's class, ancestors' first.
std::vector<const TPropertyInfo*> GetPropertyList(const TObject& object);
// The property of that name (without case), or null; with a kind, only a
// property of that kind.
const TPropertyInfo* FindProperty(const TObject& object, std::string_view name);
const TPropertyInfo* FindProperty(const TObject& object, std::string_view name, TPropertyKind kind);

// Raise EPropertyError "Property <name> does not exist" for a missing
// property and "Invalid property type: <name>" for one of another kind.
std::string GetStrProp(const TObject& object, std::string_view name);
void SetStrProp(TObject& object, std::string_view name, const std::string& value);
long long GetOrdProp(const TObject& object, std::string_view name);
void SetOrdProp(TObject& object, std::string_view name, long long value);
TObject* GetObjectProp(const TObject& object, std::string_view name);
// The name of an enumeration property's value.
std::string GetEnumProp(const TObject& object, std::string_view name);

}  // namespace tv
