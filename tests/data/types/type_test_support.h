#pragma once
// Helpers for the data type tests: results rendered as text so that whole
// tables of conversions can be compared, and fixed format settings.

#include <functional>
#include <string>

#include "data/types/data_types.h"
#include "platform/rtl/convert.h"

namespace tv::test {

// The result of Call as text, or "error: " + the message of what it raised
// (prefixed with "conversion " for ETypeConversionError).
std::string Outcome(const std::function<std::string()>& call);

std::string Text(bool value);
std::string Text(double value);
std::string Text(TCurrency value);
std::string Text(const void* value);

// A value shown with its type's name: "Integer:3".
std::string Described(const TValue& value);

// Settings that differ from the defaults where it shows: "," for decimals,
// "." for thousands and dates.
TFormatSettings GermanSettings();

// Puts Settings in place as the user's for the life of the object.
class TScopedFormatSettings {
 public:
  explicit TScopedFormatSettings(const TFormatSettings& settings);
  ~TScopedFormatSettings();
  TScopedFormatSettings(const TScopedFormatSettings&) = delete;
  TScopedFormatSettings& operator=(const TScopedFormatSettings&) = delete;

 private:
  TFormatSettings saved_;
};

}  // namespace tv::test
