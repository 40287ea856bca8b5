#include "tests/data/types/type_test_support.h"

#include <cstdio>

namespace tv::test {

std::string Outcome(const std::function<std::string()>& call) {
  try {
    return call();
  } catch (const ETypeConversionError& e) {
    return std::string("conversion error: ") + e.what();
  } catch (const std::exception& e) {
    return std::string("error: ") + e.what();
  }
}

std::string Text(bool value) {
  return value ? "true" : "false";
}

std::string Text(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

std::string Text(TCurrency value) {
  return std::string("C").append(std::to_string(value.Value));
}

std::string Text(const void* value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "@%llx",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(value)));
  return buffer;
}

std::string Described(const TValue& value) {
  return value.DataType->GetTypeName() + ":" + ValueAsString(value);
}

TFormatSettings GermanSettings() {
  TFormatSettings s;
  s.DecimalSeparator = ',';
  s.ThousandSeparator = '.';
  s.DateSeparator = '.';
  s.TimeSeparator = ':';
  s.ShortDateFormat = "dd.mm.yyyy";
  s.LongTimeFormat = "hh:nn:ss";
  return s;
}

TScopedFormatSettings::TScopedFormatSettings(const TFormatSettings& settings)
    : saved_(DefaultFormatSettings()) {
  SetDefaultFormatSettings(settings);
}

TScopedFormatSettings::~TScopedFormatSettings() {
  SetDefaultFormatSettings(saved_);
}

}  // namespace tv::test
