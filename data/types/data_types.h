#pragma once
// The process-wide registries of data types, the standard instances, the
// string-type lookup, the constant values and the free routines on values.
//
// Types are compared by reference throughout the engine, so every request for
// a standard kind yields the one standard instance and every string type comes
// from StringType. The registries come into being on first use and are
// destroyed at process end.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/types/boolean_type.h"
#include "data/types/data_type.h"
#include "data/types/date_time_types.h"
#include "data/types/numeric_types.h"
#include "data/types/pointer_types.h"
#include "data/types/string_types.h"

namespace tv {

// The classes of every type constructed so far, sorted by name; a name is
// entered once.
class TDataTypeFactory {
 public:
  void Enter(const TDataTypeClass& typeClass);
  // Null when no type of that class (name compared without case) exists.
  const TDataTypeClass* Find(std::string_view className) const;
  std::vector<std::string> ClassNames() const;

 private:
  std::vector<const TDataTypeClass*> classes_;
};

TDataTypeFactory& DataTypeFactory();
// Every type constructed and not yet destroyed, in order of construction.
const std::vector<const TDataType*>& DataTypeInstances();

// The standard instances.
const TObjectType* ObjectType();
const TIntegerType* IntegerType();
const TBooleanType* BooleanType();
const TDateTimeType* DateTimeType();
const TDateType* DateType();
const TTimeType* TimeType();
const TPointerType* PointerType();
const TDoubleType* DoubleType();
const TCurrencyType* CurrencyType();
const TPercentType* PercentType();
const TMemoType* MemoType(bool caseSensitive);
// The case-insensitive memo type: text of any length.
const TMemoType* AnyStringType();
const TIntegerStringType* IntegerStringType();
const TPictureType* PictureType();
const TStringDateTimeType* StringDateTimeType();

namespace detail {
// The two string-type lists of the registries (case-insensitive first), null
// until the registries exist; StringType reads them inline.
extern std::vector<const TStringType*>* stringTypeLists;
const TStringType* FindOrCreateStringType(int size, bool caseSensitive);
}  // namespace detail

// The shared string type of Size and case sensitivity. Sizes up to 1024 are
// one list access; a negative size raises the list's index error.
inline const TStringType* StringType(int size, bool caseSensitive) {
  if (detail::stringTypeLists && size >= 0 && size <= 1024) [[likely]] {
    const auto& list = detail::stringTypeLists[caseSensitive ? 1 : 0];
    if (static_cast<std::size_t>(size) < list.size() && list[static_cast<std::size_t>(size)])
      return list[static_cast<std::size_t>(size)];
  }
  return detail::FindOrCreateStringType(size, caseSensitive);
}
// The list StringType keeps for one case sensitivity: entry Size for sizes
// up to 1024 (null where none was asked for yet), larger sizes behind them
// in order of creation.
const std::vector<const TStringType*>& StringTypeList(bool caseSensitive);

// The constant values.
const TValue& EmptyStringValue();
const TValue& TrueValue();
const TValue& FalseValue();
const TValue& ZeroValue();
const TValue& OneValue();
const TValue& NilValue();

// Value constructors.
inline TValue StringValue(std::string_view text) {
  return TValue{StringType(static_cast<int>(text.size()), true), {}, std::string(text)};
}
TValue BooleanValue(bool value);
TValue IntegerValue(std::int32_t value);
TValue DoubleValue(double value);
TValue CurrencyValue(TCurrency value);
TValue PercentValue(double value);
TValue DateTimeValue(TDateTime value);
// The time of day is cut off.
TValue DateValue(TDateTime value);
TValue PointerValue(void* value);
TValue ObjectValue(TObject* value);

// The value as its own type reads it.
std::string ValueAsString(const TValue& value);
bool ValueAsBoolean(const TValue& value);
TDateTime ValueAsDateTime(const TValue& value);
TDateTime ValueAsDate(const TValue& value);
TDateTime ValueAsTime(const TValue& value);
void* ValueAsPointer(const TValue& value);
TObject* ValueAsObject(const TValue& value);
double ValueAsDouble(const TValue& value);
std::int32_t ValueAsInteger(const TValue& value);
TCurrency ValueAsCurrency(const TValue& value);
double ValueAsPercent(const TValue& value);
TPicture* ValueAsPicture(const TValue& value);

// A copy of Value when Type is null or Value's own type, else Type's
// conversion of it.
TValue ConvertToType(const TDataType* type, const TValue& value);
// Type.Compare(A, B) = 0: what conditions and storages mean by equal.
bool ValuesEqual(const TDataType& type, const TValue& a, const TValue& b);
// A tie yields A for MaxValue and B for MinValue.
TValue MaxValue(const TDataType& type, const TValue& a, const TValue& b);
TValue MinValue(const TDataType& type, const TValue& a, const TValue& b);

}  // namespace tv
