#include "data/types/numeric_types.h"

#include <cmath>
#include <limits>

#include "data/types/data_types.h"
#include "platform/rtl/sysutils.h"

namespace tv {

namespace {
// A divisor of 0 would make every number infinite: it counts as none.
long double Divisor(const DisplayFormat& format) {
  return format.Divisor == 0 ? 1 : format.Divisor;
}

// X rounded half away from zero to a multiple of 1/M; no rounding when M < 1.
long double RoundToMultiple(long double x, double m) {
  if (m < 1) return x;
  const long double scaled = x * m;
  return (scaled >= 0 ? std::trunc(scaled + 0.5L) : std::trunc(scaled - 0.5L)) / m;
}

int Sign(long double a, long double b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

std::int32_t Wrap(std::int64_t x) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(x));
}
std::int64_t Wrap64(std::uint64_t x) {
  return static_cast<std::int64_t>(x);
}
}  // namespace

// --- TNumericType

bool TNumericType::IsNegative(const TValue& value) const {
  return Compare(value, GetDefaultValue()) < 0;
}

TValue TNumericType::NumberToText(long double number, const DisplayFormat& format, std::string_view suffix) {
  if (!format.Edit) number /= Divisor(format);
  number = RoundToMultiple(number, format.Rounding);
  std::string pattern = format.NumberFormat;
  // Editing shows no thousands separators; "," is what asks for them in a pattern.
  if (format.Edit) std::erase(pattern, ',');
  std::string text = pattern.empty() ? FloatToStr(static_cast<double>(number)).append(suffix)
                                     : FormatFloat(pattern.append(suffix), static_cast<double>(number));
  return StringValue(Trim(text));
}

std::optional<long double> TNumericType::ParseDisplayText(std::string_view text) {
  const char thousands = DefaultFormatSettings().ThousandSeparator;
  std::string cleaned;
  for (char c : text)
    if (c != ' ' && c != thousands) cleaned += c;
  const std::optional<double> number = TryStrToFloat(cleaned);
  if (!number) return std::nullopt;
  return *number;
}

bool TNumericType::TextToValue(const std::string& text, const DisplayFormat& format, TValue& result) const {
  try {
    if (const std::optional<long double> number = ParseDisplayText(text)) {
      result = DisplayNumberToValue(*number * Divisor(format), format);
      return true;
    }
  } catch (const EInvalidOp&) {
    // A number without a form in this type is refused like any other text.
  }
  result = AnyStringType()->CreateValue(text);
  return false;
}

// --- TIntegerType

TIntegerType::TIntegerType() : TNumericType(false) {
  EnterClass(ClassOf<TIntegerType>());
}

TValue TIntegerType::ConvertValue(const TValue& value) const {
  return Owns(value) ? value : NewValue(GetAsInteger(value));
}

int TIntegerType::Compare(const TValue& a, const TValue& b) const {
  const std::int32_t x = Operand(a), y = Operand(b);
  return (x > y) - (x < y);
}

TValue TIntegerType::Sum(const TValue& a, const TValue& b) const {
  return NewValue(Wrap(std::int64_t{Operand(a)} + Operand(b)));
}
TValue TIntegerType::Difference(const TValue& a, const TValue& b) const {
  return NewValue(Wrap(std::int64_t{Operand(a)} - Operand(b)));
}
TValue TIntegerType::Product(const TValue& a, const TValue& b) const {
  return NewValue(Wrap(std::int64_t{Operand(a)} * Operand(b)));
}

TValue TIntegerType::Quota(const TValue& a, const TValue& b) const {
  const std::int32_t x = Operand(a), y = Operand(b);
  if (y == 0) throw EDivByZero();
  return NewValue(Wrap(std::int64_t{x} / y));
}

TValue TIntegerType::Negate(const TValue& value) const {
  return NewValue(Wrap(-std::int64_t{Operand(value)}));
}

TValue TIntegerType::GetDefaultValue() const {
  return NewValue(std::int32_t{0});
}

TValue TIntegerType::ValueToText(const TValue& value, const DisplayFormat& format) const {
  return StringValue(IntToStr(RoundHalfAway(static_cast<double>(GetAsInteger(value) / Divisor(format)))));
}

void TIntegerType::WriteToBuffer(unsigned char* buffer, const TValue& value, const TOverflowCallback&) const {
  const std::int32_t number = Operand(value);
  std::memcpy(buffer, &number, sizeof number);
}

void TIntegerType::AssignToParam(TParam& param, const TValue& value) const {
  param.SetAsInteger(Operand(value));
}

std::int32_t TIntegerType::ParseText(std::string_view text) const {
  const std::string trimmed = Trim(text);
  return trimmed.empty() ? 0 : StrToInt(trimmed);
}

std::string TIntegerType::ReadString(const TValue& value) const {
  return IntToStr(Own(value));
}

void* TIntegerType::ReadPointer(const TValue& value) const {
  return reinterpret_cast<void*>(static_cast<std::intptr_t>(Own(value)));
}

TCurrency TIntegerType::ReadCurrency(const TValue& value) const {
  return TCurrency{std::int64_t{Own(value)} * 10000};
}

TValue TIntegerType::DisplayNumberToValue(long double number, const DisplayFormat&) const {
  return NewValue(RoundHalfAway32(static_cast<double>(number)));
}

const TDataType* TIntegerType::CreateFromParams(const TStrings&) {
  return IntegerType();
}

// --- TDoubleType

TDoubleType::TDoubleType() : TNumericType(true) {
  EnterClass(ClassOf<TDoubleType>());
}

TValue TDoubleType::ConvertValue(const TValue& value) const {
  return Owns(value) ? value : NewValue(GetAsDouble(value));
}

int TDoubleType::Compare(const TValue& a, const TValue& b) const {
  return Sign(GetAsDouble(a), GetAsDouble(b));
}

TValue TDoubleType::Sum(const TValue& a, const TValue& b) const {
  return NewValue(GetAsDouble(a) + GetAsDouble(b));
}
TValue TDoubleType::Difference(const TValue& a, const TValue& b) const {
  return NewValue(GetAsDouble(a) - GetAsDouble(b));
}
TValue TDoubleType::Product(const TValue& a, const TValue& b) const {
  return NewValue(GetAsDouble(a) * GetAsDouble(b));
}

TValue TDoubleType::Quota(const TValue& a, const TValue& b) const {
  const double x = GetAsDouble(a), y = GetAsDouble(b);
  if (y == 0) return GetDefaultValue();
  const double quotient = x / y;
  // An overflow, or an operand that is no number, is an error of the
  // division: the answer is the default.
  if (std::isnan(quotient) || (std::isinf(quotient) && std::isfinite(x))) return GetDefaultValue();
  return NewValue(quotient);
}

TValue TDoubleType::Negate(const TValue& value) const {
  return NewValue(-GetAsDouble(value));
}

TValue TDoubleType::GetDefaultValue() const {
  return NewValue(0.0);
}

TValue TDoubleType::ValueToText(const TValue& value, const DisplayFormat& format) const {
  return NumberToText(GetAsDouble(value), format);
}

void TDoubleType::WriteToBuffer(unsigned char* buffer, const TValue& value, const TOverflowCallback&) const {
  const double number = GetAsDouble(value);
  std::memcpy(buffer, &number, sizeof number);
}

void TDoubleType::AssignToParam(TParam& param, const TValue& value) const {
  param.SetAsFloat(GetAsDouble(value));
}

double TDoubleType::ParseText(std::string_view text) const {
  const std::string trimmed = Trim(text);
  return trimmed.empty() ? 0 : StrToFloat(trimmed);
}

std::string TDoubleType::ReadString(const TValue& value) const {
  return FloatToStr(Own(value));
}
void* TDoubleType::ReadPointer(const TValue&) const {
  CannotConvert("Double", "Pointer");
}

TValue TDoubleType::DisplayNumberToValue(long double number, const DisplayFormat&) const {
  return NewValue(static_cast<double>(number));
}

const TDataType* TDoubleType::CreateFromParams(const TStrings&) {
  return DoubleType();
}

// --- TCurrencyType

TCurrencyType::TCurrencyType() : TNumericType(true) {
  EnterClass(ClassOf<TCurrencyType>());
}

TValue TCurrencyType::ConvertValue(const TValue& value) const {
  return Owns(value) ? value : NewValue(GetAsCurrency(value).Value);
}

int TCurrencyType::Compare(const TValue& a, const TValue& b) const {
  const std::int64_t x = Operand(a).Value, y = Operand(b).Value;
  return x < y ? -1 : x > y ? 1 : 0;
}

TValue TCurrencyType::Sum(const TValue& a, const TValue& b) const {
  return NewValue(
      Wrap64(static_cast<std::uint64_t>(Operand(a).Value) + static_cast<std::uint64_t>(Operand(b).Value)));
}
TValue TCurrencyType::Difference(const TValue& a, const TValue& b) const {
  return NewValue(
      Wrap64(static_cast<std::uint64_t>(Operand(a).Value) - static_cast<std::uint64_t>(Operand(b).Value)));
}

TValue TCurrencyType::Product(const TValue& a, const TValue& b) const {
  const long double product = static_cast<long double>(Operand(a).Value) * Operand(b).Value / 10000;
  return NewValue(RoundToEven(product));
}

TValue TCurrencyType::Quota(const TValue& a, const TValue& b) const {
  const std::int64_t x = Operand(a).Value, y = Operand(b).Value;
  if (y == 0) return GetDefaultValue();
  try {
    return NewValue(RoundToEven(static_cast<long double>(x) * 10000 / y));
  } catch (const EInvalidOp&) {
    return GetDefaultValue();
  }
}

TValue TCurrencyType::Negate(const TValue& value) const {
  return NewValue(Wrap64(0 - static_cast<std::uint64_t>(Operand(value).Value)));
}

TValue TCurrencyType::GetDefaultValue() const {
  return NewValue(std::int64_t{0});
}

TValue TCurrencyType::ValueToText(const TValue& value, const DisplayFormat& format) const {
  return NumberToText(static_cast<long double>(GetAsCurrency(value).Value) / 10000, format);
}

void TCurrencyType::WriteToBuffer(unsigned char* buffer, const TValue& value,
                                  const TOverflowCallback&) const {
  const std::int64_t count = Operand(value).Value;
  std::memcpy(buffer, &count, sizeof count);
}

void TCurrencyType::AssignToParam(TParam& param, const TValue& value) const {
  param.SetAsCurrency(Operand(value));
}

TCurrency TCurrencyType::ParseText(std::string_view text) const {
  const std::string trimmed = Trim(text);
  return trimmed.empty() ? TCurrency{} : StrToCurr(trimmed);
}

std::string TCurrencyType::ReadString(const TValue& value) const {
  return CurrToStr(Own(value));
}
TDateTime TCurrencyType::ReadDateTime(const TValue&) const {
  CannotConvert("Currency", "DateTime");
}
void* TCurrencyType::ReadPointer(const TValue&) const {
  CannotConvert("Currency", "Pointer");
}
double TCurrencyType::ReadDouble(const TValue& value) const {
  return static_cast<double>(static_cast<long double>(Own(value).Value) / 10000);
}

TValue TCurrencyType::DisplayNumberToValue(long double number, const DisplayFormat&) const {
  return NewValue(RoundToEven(number * 10000));
}

const TDataType* TCurrencyType::CreateFromParams(const TStrings&) {
  return CurrencyType();
}

// --- TPercentType

TPercentType::TPercentType() : TNumericType(true) {
  EnterClass(ClassOf<TPercentType>());
}

TValue TPercentType::ConvertValue(const TValue& value) const {
  return Owns(value) ? value : NewValue(GetAsPercent(value));
}

int TPercentType::Compare(const TValue& a, const TValue& b) const {
  return Sign(GetAsPercent(a), GetAsPercent(b));
}

TValue TPercentType::Sum(const TValue& a, const TValue& b) const {
  return NewValue(GetAsPercent(a) + GetAsPercent(b));
}
TValue TPercentType::Difference(const TValue& a, const TValue& b) const {
  return NewValue(GetAsPercent(a) - GetAsPercent(b));
}
TValue TPercentType::Product(const TValue& a, const TValue& b) const {
  return NewValue(GetAsPercent(a) * GetAsPercent(b));
}

TValue TPercentType::Quota(const TValue& a, const TValue& b) const {
  const double x = GetAsDouble(a), y = GetAsDouble(b);
  if (y == 0) throw EZeroDivide();
  return NewValue(x / y);
}

TValue TPercentType::Negate(const TValue& value) const {
  return NewValue(-GetAsPercent(value));
}

TValue TPercentType::GetDefaultValue() const {
  return NewValue(0.0);
}

TValue TPercentType::ValueToText(const TValue& value, const DisplayFormat& format) const {
  if (!TypeOf(value).IsNumeric()) return ConvertToType(AnyStringType(), value);
  return NumberToText(static_cast<long double>(GetAsPercent(value)) * 100, format, " %");
}

bool TPercentType::TextToValue(const std::string& text, const DisplayFormat& format, TValue& result) const {
  // The display text ends in "%"; what it leaves is the number.
  std::string number = TrimRight(text);
  if (!number.empty() && number.back() == '%') number.pop_back();
  if (TNumericType::TextToValue(number, format, result)) return true;
  result = AnyStringType()->CreateValue(text);
  return false;
}

void TPercentType::WriteToBuffer(unsigned char* buffer, const TValue& value, const TOverflowCallback&) const {
  const double number = GetAsPercent(value);
  std::memcpy(buffer, &number, sizeof number);
}

void TPercentType::AssignToParam(TParam& param, const TValue& value) const {
  param.SetAsFloat(GetAsPercent(value));
}

double TPercentType::ParseText(std::string_view text) const {
  if (!text.empty() && text.back() == '%') text.remove_suffix(1);
  const std::string trimmed = Trim(text);
  return trimmed.empty() ? 0 : StrToFloat(trimmed);
}

std::string TPercentType::ReadString(const TValue& value) const {
  return FloatToStr(Own(value));
}
bool TPercentType::ReadBoolean(const TValue&) const {
  CannotConvert("Percent", "Boolean");
}
TDateTime TPercentType::ReadDateTime(const TValue&) const {
  CannotConvert("Percent", "DateTime");
}
void* TPercentType::ReadPointer(const TValue&) const {
  CannotConvert("Percent", "Pointer");
}
std::int32_t TPercentType::ReadInteger(const TValue&) const {
  CannotConvert("Percent", "Integer");
}
TCurrency TPercentType::ReadCurrency(const TValue& value) const {
  const double count = Own(value) * 10000;
  return TCurrency{RoundToEven(count)};
}

TValue TPercentType::DisplayNumberToValue(long double number, const DisplayFormat& format) const {
  if (format.Decimals >= 0) {
    const long double whole = std::trunc(number);
    number = whole + RoundToMultiple(number - whole, format.Rounding);
  }
  return NewValue(static_cast<double>(number / 100));
}

const TDataType* TPercentType::CreateFromParams(const TStrings&) {
  return PercentType();
}

}  // namespace tv
