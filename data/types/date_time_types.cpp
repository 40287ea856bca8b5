#include "data/types/date_time_types.h"

#include <cmath>

#include "data/types/data_types.h"
#include "platform/rtl/sysutils.h"

namespace tv {

// --- TDateTimeType

TDateTimeType::TDateTimeType() : TDataType(true) {
  EnterClass(ClassOf<TDateTimeType>());
}

TValue TDateTimeType::CreateValue(TDateTime value) const {
  return NewValue(value);
}

TValue TDateTimeType::ConvertValue(const TValue& value) const {
  if (Owns(value)) return value;
  const TDataType& own = TypeOf(value);
  if (own.HoldsText()) return CreateValue(ConvertText(own.GetAsString(value)));
  return CreateValue(NativeOf(value));
}

int TDateTimeType::Compare(const TValue& a, const TValue& b) const {
  const TDateTime x = Operand(a), y = Operand(b);
  return x < y ? -1 : x > y ? 1 : 0;
}

TValue TDateTimeType::Sum(const TValue& a, const TValue& b) const {
  return CreateValue(Operand(a) + Operand(b));
}
TValue TDateTimeType::Difference(const TValue& a, const TValue& b) const {
  return CreateValue(Operand(a) - Operand(b));
}
TValue TDateTimeType::Product(const TValue&, const TValue&) const {
  NotSupported("TDateTimeType", "Product");
}
TValue TDateTimeType::Quota(const TValue&, const TValue&) const {
  NotSupported("TDateTimeType", "Quota");
}

TValue TDateTimeType::Negate(const TValue& value) const {
  return CreateValue(-Operand(value));
}

bool TDateTimeType::IsEmpty(const TValue& value) const {
  return Compare(value, DateValue(0)) == 0;
}

TValue TDateTimeType::GetDefaultValue() const {
  return CreateValue(Now());
}

std::string TDateTimeType::GetSQLLiteral(const TValue& value) const {
  return QuotedText(GetAsString(value));
}

TValue TDateTimeType::ValueToText(const TValue& value, const DisplayFormat&) const {
  return StringValue(Trim(GetAsString(value)));
}

bool TDateTimeType::TextToValue(const std::string& text, const DisplayFormat&, TValue& result) const {
  try {
    result = CreateValue(ParseStrictly(text));
    return true;
  } catch (const Exception&) {
    // The conversion errors of the parsers and the string date-time type's
    // plain length error alike: the text is no value of this kind.
    result = AnyStringType()->CreateValue(text);
    return false;
  }
}

void TDateTimeType::WriteToBuffer(unsigned char* buffer, const TValue& value,
                                  const TOverflowCallback&) const {
  const TDateTime number = Own(OwnValueOf(value));
  std::memcpy(buffer, &number, sizeof number);
}

void TDateTimeType::AssignToParam(TParam& param, const TValue& value) const {
  param.SetAsDateTime(GetAsDateTime(value));
}

TDateTime TDateTimeType::ParseText(std::string_view text) const {
  try {
    return TDateTimeType::ParseStrictly(text);
  } catch (const Exception&) {
    return 0;
  }
}

TDateTime TDateTimeType::ParseStrictly(std::string_view text) const {
  const std::string trimmed = Trim(text);
  return trimmed.empty() ? 0 : StrToDateTime(trimmed);
}

std::string TDateTimeType::ReadString(const TValue& value) const {
  return DateTimeToStr(Own(value));
}
bool TDateTimeType::ReadBoolean(const TValue&) const {
  CannotConvert("DateTime", "Boolean");
}
void* TDateTimeType::ReadPointer(const TValue&) const {
  CannotConvert("DateTime", "Pointer");
}

const TDataType* TDateTimeType::CreateFromParams(const TStrings&) {
  return DateTimeType();
}

// --- TDateType

TDateType::TDateType() {
  EnterClass(ClassOf<TDateType>());
}

TValue TDateType::CreateValue(TDateTime value) const {
  return NewValue(std::trunc(value));
}

TValue TDateType::GetDefaultValue() const {
  return CreateValue(Date());
}

void TDateType::AssignToParam(TParam& param, const TValue& value) const {
  param.SetAsDateTime(GetAsDate(value));
}

TDateTime TDateType::ParseText(std::string_view text) const {
  return StrToDate(Trim(text));
}

std::string TDateType::ReadString(const TValue& value) const {
  return DateToStr(std::trunc(Own(value)));
}

const TDataType* TDateType::CreateFromParams(const TStrings&) {
  return DateType();
}

// --- TTimeType

TTimeType::TTimeType() {
  EnterClass(ClassOf<TTimeType>());
}

TValue TTimeType::GetDefaultValue() const {
  return CreateValue(0);
}

void TTimeType::AssignToParam(TParam& param, const TValue& value) const {
  param.SetAsFloat(GetAsTime(value));
}

TDateTime TTimeType::ParseText(std::string_view text) const {
  const std::string trimmed = Trim(text);
  return trimmed.empty() ? 0 : StrToTime(trimmed);
}

std::string TTimeType::ReadString(const TValue& value) const {
  return TimeToStr(Own(value));
}

const TDataType* TTimeType::CreateFromParams(const TStrings&) {
  return TimeType();
}

// --- TStringDateTimeType

namespace {
constexpr std::string_view kStringDateTimeFormat = "yyyy-mm-dd hh/nn/ss";

// The whole text must have the pattern's length; each step checks it with
// its own name in the message.
void CheckLength(std::string_view step, std::string_view text) {
  if (text.size() == kStringDateTimeFormat.size()) return;
  std::string message(step);
  message.append(": The length of the length of the date/time value '")
      .append(text)
      .append("' doesn't equal the length of the format string '")
      .append(kStringDateTimeFormat)
      .append("'!");
  throw Exception(message);
}

// The number at the 1-based position First, Count characters long.
int Field(std::string_view text, std::size_t first, std::size_t count) {
  return StrToInt(text.substr(first - 1, count));
}
}  // namespace

TStringDateTimeType::TStringDateTimeType() {
  EnterClass(ClassOf<TStringDateTimeType>());
}

TDateTime TStringDateTimeType::ParseText(std::string_view text) const {
  if (text.empty()) return 0;
  CheckLength("ExtractDate", text);
  const TDateTime date = EncodeDate(Field(text, 1, 4), Field(text, 6, 2), Field(text, 9, 2));
  CheckLength("ExtractTime", text);
  const TDateTime time = EncodeTime(Field(text, 12, 2), Field(text, 15, 2), Field(text, 18, 2), 0);
  return date + time;
}

TDateTime TStringDateTimeType::ConvertText(std::string_view text) const {
  try {
    return ParseText(text);
  } catch (const Exception&) {
    return TDateTimeType::ParseText(text);
  }
}

std::string TStringDateTimeType::ReadString(const TValue& value) const {
  return FormatDateTime(kStringDateTimeFormat, Own(value));
}

const TDataType* TStringDateTimeType::CreateFromParams(const TStrings&) {
  return StringDateTimeType();
}

}  // namespace tv
