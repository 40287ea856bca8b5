#include "data/types/string_types.h"

#include <algorithm>

#include "data/types/data_types.h"
#include "platform/rtl/sysutils.h"

namespace tv {

namespace {
// The value's text without a copy when it is one already.
const std::string& TextOf(const TValue& value, std::string& converted) {
  if (TDataType::TypeOf(value).HoldsText()) return value.Text;
  converted = ValueAsString(value);
  return converted;
}
}  // namespace

// --- TStringType

TStringType::TStringType(int size, bool caseSensitive) : TStringType(size, caseSensitive, false) {}

TStringType::TStringType(int size, bool caseSensitive, bool alwaysParameter)
    : TDataType(alwaysParameter), size_(size), caseSensitive_(caseSensitive) {
  holdsText_ = true;
  EnterClass(ClassOf<TStringType>());
}

std::string TStringType::Shortened(std::string text) const {
  if (size_ > 0 && text.size() > static_cast<std::size_t>(size_))
    text.resize(static_cast<std::size_t>(size_));
  return text;
}

void TStringType::AppendComparable(std::string& key, std::string_view text) const {
  const std::size_t from = key.size();
  key.append(size_ > 0 ? text.substr(0, static_cast<std::size_t>(size_)) : text);
  if (!caseSensitive_)
    for (std::size_t i = from; i < key.size(); ++i) key[i] = UpCase(key[i]);
}

TValue TStringType::CreateValue(std::string text) const {
  TValue value = NewValue();
  value.Text = Shortened(std::move(text));
  return value;
}

TValue TStringType::ConvertValue(const TValue& value) const {
  return Owns(value) ? value : CreateValue(ValueAsString(value));
}

std::string TStringType::GetSQLTypeName() const {
  return std::string("char(").append(IntToStr(size_)).append(")");
}

int TStringType::GetDataSize() const {
  return (size_ <= 255 ? 1 : 2) + std::max(size_, 0);
}

std::string TStringType::GetTypeName() const {
  return (caseSensitive_ ? "String(" : "Text(") + IntToStr(size_) + ")";
}

void TStringType::WriteParams(TStrings& params) const {
  params.Add(std::string("SIZE=").append(IntToStr(size_)));
  params.Add(std::string("CS=").append(ValueAsString(BooleanValue(caseSensitive_))));
}

bool TStringType::NeedsParameter(const TValue& value) const {
  return GetAsString(value).find('\'') != std::string::npos;
}

int TStringType::Compare(const TValue& a, const TValue& b) const {
  std::string convertedA, convertedB;
  return CompareTexts(TextOf(a, convertedA), TextOf(b, convertedB), caseSensitive_);
}

bool TStringType::Equals(const TValue& a, const TValue& b) const {
  try {
    std::string convertedA, convertedB;
    return TextOf(a, convertedA) == TextOf(b, convertedB);
  } catch (const Exception&) {
    return false;
  }
}

TValue TStringType::Sum(const TValue& a, const TValue& b) const {
  std::string text = GetAsString(a);
  text += GetAsString(b);
  return CreateValue(std::move(text));
}

TValue TStringType::Difference(const TValue&, const TValue&) const {
  NotSupported("TStringType", "Difference");
}
TValue TStringType::Product(const TValue&, const TValue&) const {
  NotSupported("TStringType", "Product");
}
TValue TStringType::Quota(const TValue&, const TValue&) const {
  NotSupported(ClassName(), "Quota");
}

bool TStringType::IsEmpty(const TValue& value) const {
  try {
    return GetAsString(value).empty();
  } catch (const Exception&) {
    return false;
  }
}

std::string TStringType::GetSQLLiteral(const TValue& value) const {
  return QuotedText(Shortened(GetAsString(value)));
}

TValue TStringType::ValueToText(const TValue& value, const DisplayFormat&) const {
  return StringValue(Trim(GetAsString(value)));
}

bool TStringType::TextToValue(const std::string& text, const DisplayFormat&, TValue& result) const {
  result = CreateValue(text);
  return true;
}

void TStringType::WriteToBuffer(unsigned char* buffer, const TValue& value, const TOverflowCallback&) const {
  std::string converted;
  const std::string& text = TextOf(value, converted);
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(std::max(size_, 0)));
  std::size_t at = 0;
  buffer[at++] = static_cast<unsigned char>(length);
  if (size_ > 255) buffer[at++] = static_cast<unsigned char>(length >> 8);
  std::memcpy(buffer + at, text.data(), length);
}

TValue TStringType::ReadFromBuffer(const unsigned char* buffer, const TOverflowCallback&) const {
  std::size_t length = buffer[0];
  std::size_t at = 1;
  if (size_ > 255) length |= static_cast<std::size_t>(buffer[at++]) << 8;
  // A damaged prefix must not read past the slot.
  length = std::min(length, static_cast<std::size_t>(std::max(size_, 0)));
  TValue value = NewValue();
  value.Text.assign(reinterpret_cast<const char*>(buffer + at), length);
  return value;
}

void TStringType::AssignToParam(TParam& param, const TValue& value) const {
  param.SetAsString(Shortened(GetAsString(value)));
}

bool TStringType::ReadBoolean(const TValue& value) const {
  return BooleanType()->ParseText(value.Text);
}
TDateTime TStringType::ReadDateTime(const TValue& value) const {
  return DateTimeType()->ParseText(value.Text);
}
TDateTime TStringType::ReadDate(const TValue& value) const {
  return DateType()->ParseText(value.Text);
}
TDateTime TStringType::ReadTime(const TValue& value) const {
  return TimeType()->ParseText(value.Text);
}
double TStringType::ReadDouble(const TValue& value) const {
  return DoubleType()->ParseText(value.Text);
}
std::int32_t TStringType::ReadInteger(const TValue& value) const {
  return IntegerType()->ParseText(value.Text);
}
TCurrency TStringType::ReadCurrency(const TValue& value) const {
  return CurrencyType()->ParseText(value.Text);
}
double TStringType::ReadPercent(const TValue& value) const {
  return PercentType()->ParseText(value.Text);
}

const TDataType* TStringType::CreateFromParams(const TStrings& params) {
  int size = -1;
  try {
    size = StrToInt(params.Values("SIZE"));
  } catch (const Exception&) {
  }
  if (size < 1) return TMemoType::CreateFromParams(params);
  bool caseSensitive = true;
  if (params.IndexOfName("CS") >= 0) caseSensitive = BooleanType()->ParseText(params.Values("CS"));
  return StringType(size, caseSensitive);
}

// --- TMemoType

TMemoType::TMemoType(bool caseSensitive) : TStringType(-1, caseSensitive, true) {
  EnterClass(ClassOf<TMemoType>());
}

TValue TMemoType::CreateValue(std::string text) const {
  TValue value = NewValue();
  value.Text = std::move(text);
  return value;
}

void TMemoType::WriteParams(TStrings& params) const {
  TStringType::WriteParams(params);
  params.Add("DYNSIZE=T");
}

std::string TMemoType::GetSQLLiteral(const TValue& value) const {
  return QuotedText(GetAsString(value));
}

namespace {
// Texts up to this length sit in the slot after their length + 1.
constexpr std::size_t kInlineMemo = 254;
}  // namespace

void TMemoType::WriteToBuffer(unsigned char* buffer, const TValue& value,
                              const TOverflowCallback& overflow) const {
  std::string converted;
  const std::string& text = TextOf(value, converted);
  if (text.size() <= kInlineMemo) {
    buffer[0] = static_cast<unsigned char>(text.size() + 1);
    std::memcpy(buffer + 1, text.data(), text.size());
    return;
  }
  buffer[0] = 0;
  if (overflow) {
    std::string whole = text;
    overflow(whole, TOverflowAction::oaStore);
  }
}

TValue TMemoType::ReadFromBuffer(const unsigned char* buffer, const TOverflowCallback& overflow) const {
  TValue value = NewValue();
  if (buffer[0] > 0)
    value.Text.assign(reinterpret_cast<const char*>(buffer + 1), buffer[0] - 1u);
  else if (overflow)
    overflow(value.Text, TOverflowAction::oaFetch);
  return value;
}

void TMemoType::AssignToParam(TParam& param, const TValue& value) const {
  param.SetAsMemo(GetAsString(value));
}

const TDataType* TMemoType::CreateFromParams(const TStrings& params) {
  const bool caseSensitive = params.IndexOfName("CS") < 0 || BooleanType()->ParseText(params.Values("CS"));
  return MemoType(caseSensitive);
}

// --- TIntegerStringType

TIntegerStringType::TIntegerStringType() : TStringType(10, false) {
  EnterClass(ClassOf<TIntegerStringType>());
}

const TDataType* TIntegerStringType::CreateFromParams(const TStrings&) {
  return IntegerStringType();
}

}  // namespace tv
