#include "data/types/data_type.h"

#include <climits>
#include <cmath>

#include "data/types/registry.h"
#include "platform/rtl/thread_confinement.h"

namespace tv {

namespace {
// The registry of types, its list of instances and its string types are
// filled as tables and fields are made: by the translator, on the thread of
// the dialogs (and by single-threaded tools). Not guarded; checked in debug
// builds here, where every type is made (types made in static storage go
// at the end of the process, on whichever thread ends it).
TThreadConfinement& RegistryThread() {
  static TThreadConfinement confinement("The data type registry");
  return confinement;
}
}  // namespace

TDataType::TDataType(bool alwaysParameter) : alwaysParameter_(alwaysParameter) {
  RegistryThread().Check();
  DataTypeRegistry().AddInstance(this);
}

TDataType::~TDataType() {
  // A type that outlives the registries has no list left to leave.
  if (detail::registry) detail::registry->RemoveInstance(this);
}

void TDataType::EnterClass(const TDataTypeClass& typeClass) {
  DataTypeRegistry().Factory->Enter(typeClass);
}

void TDataType::NoDataType() {
  throw EAssertionFailed("TValue.DataType <> nil", "DataTypes", __LINE__);
}

bool TDataType::ReadBoolean(const TValue& value) const {
  return DataTypeRegistry().Boolean->ParseText(ReadString(value));
}

TDateTime TDataType::ReadDate(const TValue& value) const {
  return std::trunc(ReadDateTime(value));
}

std::int32_t TDataType::ReadInteger(const TValue& value) const {
  return RoundHalfAway32(ReadDouble(value));
}

TCurrency TDataType::ReadCurrency(const TValue& value) const {
  // The product is taken as a double: 0.00005 is half a ten-thousandth.
  const double count = ReadDouble(value) * 10000;
  return TCurrency{RoundToEven(count)};
}

TValue TDataType::ReadFromBuffer(const unsigned char* buffer, const TOverflowCallback& /*overflow*/) const {
  TValue value = NewValue();
  const int size = GetDataSize();
  std::memcpy(value.Data, buffer, size < 8 ? static_cast<std::size_t>(size) : 8u);
  return value;
}

void TDataType::CannotConvert(std::string_view from, std::string_view to) {
  std::string message = "Cannot convert ";
  message.append(from).append(" to ").append(to).append("!");
  throw ETypeConversionError(message);
}

void TDataType::NotSupported(std::string_view className, std::string_view operation) {
  std::string message(className);
  message.append(".").append(operation).append(": Operation not supported!");
  throw Exception(message);
}

std::string QuotedText(std::string_view text) {
  std::string result = "'";
  for (char c : text) {
    result += c;
    if (c == '\'') result += '\'';
  }
  return result.append("'");
}

namespace {
// 2^63: the first magnitude without a 64-bit integer form.
constexpr long double kInt64Limit = 9223372036854775808.0L;

std::int64_t ToInt64(long double whole) {
  if (!(whole > -kInt64Limit - 1 && whole < kInt64Limit)) throw EInvalidOp();
  return static_cast<std::int64_t>(whole);
}
}  // namespace

std::int64_t RoundHalfAway(double x) {
  return ToInt64(x >= 0 ? std::trunc(static_cast<long double>(x) + 0.5L)
                        : std::trunc(static_cast<long double>(x) - 0.5L));
}

std::int32_t RoundHalfAway32(double x) {
  const std::int64_t whole = RoundHalfAway(x);
  if (whole < INT32_MIN || whole > INT32_MAX) throw EInvalidOp();
  return static_cast<std::int32_t>(whole);
}

std::int64_t RoundToEven(long double x) {
  if (std::isnan(x)) throw EInvalidOp();
  const long double whole = std::floor(x);
  const long double fraction = x - whole;
  long double rounded = whole;
  if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0)) rounded = whole + 1;
  return ToInt64(rounded);
}

}  // namespace tv
