#pragma once
// Published properties by name: each class lists its own, and a class has
// those of its ancestors too. The streams and the translator read and write
// properties through these tables.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/exception.h"
#include "platform/rtl/object.h"

namespace tv {

class EPropertyError : public Exception {
 public:
  using Exception::Exception;
};

enum class TPropertyKind { pkString, pkInteger, pkBoolean, pkEnumeration, pkClass, pkEvent };

struct TPropertyInfo {
  std::string Name;
  TPropertyKind Kind = TPropertyKind::pkString;
  std::vector<std::string> EnumNames;  // pkEnumeration: the value names in order
  // pkString
  std::function<std::string(const TObject&)> GetString;
  std::function<void(TObject&, const std::string&)> SetString;
  // pkInteger, pkBoolean (0 or 1), pkEnumeration (the value's index)
  std::function<long long(const TObject&)> GetOrdinal;
  std::function<void(TObject&, long long)> SetOrdinal;
  // pkClass
  std::function<TObject*(const TObject&)> GetObject;
  std::function<void(TObject&, TObject*)> SetObject;
  // pkEvent: whether a handler is set
  std::function<bool(const TObject&)> HasHandler;
};

// Declares the properties that Class itself introduces.
void RegisterProperties(const TClassInfo& info, std::vector<TPropertyInfo> properties);

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
