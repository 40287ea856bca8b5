#pragma once
// A query parameter as a data type fills it. Nothing in this system sends
// queries; the parameter records what a database layer would receive.

#include <cstdint>
#include <string>

#include "platform/rtl/convert.h"
#include "platform/rtl/datetime.h"

namespace tv {

enum class TFieldType { ftUnknown, ftString, ftMemo, ftInteger, ftFloat, ftCurrency, ftDateTime };

// A query parameter: the typed value a data type hands to a query.
class TParam {
 public:
  void SetAsString(std::string value) { Set(TFieldType::ftString, std::move(value)); }
  void SetAsMemo(std::string value) { Set(TFieldType::ftMemo, std::move(value)); }
  void SetAsInteger(std::int32_t value) { SetNumber(TFieldType::ftInteger, value); }
  void SetAsFloat(double value) { SetNumber(TFieldType::ftFloat, value); }
  void SetAsCurrency(TCurrency value) {
    Set(TFieldType::ftCurrency, {});
    currency_ = value;
  }
  void SetAsDateTime(TDateTime value) { SetNumber(TFieldType::ftDateTime, value); }

  // ftUnknown while no setter has run.
  TFieldType DataType() const { return dataType_; }
  bool IsNull() const { return dataType_ == TFieldType::ftUnknown; }
  const std::string& AsString() const { return text_; }
  std::int32_t AsInteger() const { return static_cast<std::int32_t>(number_); }
  double AsFloat() const { return number_; }
  TDateTime AsDateTime() const { return number_; }
  TCurrency AsCurrency() const { return currency_; }

 private:
  void Set(TFieldType type, std::string text) {
    dataType_ = type;
    text_ = std::move(text);
    number_ = 0;
    currency_ = {};
  }
  void SetNumber(TFieldType type, double number) {
    Set(type, {});
    number_ = number;
  }
  TFieldType dataType_ = TFieldType::ftUnknown;
  std::string text_;
  double number_ = 0;
  TCurrency currency_;
};

}  // namespace tv
