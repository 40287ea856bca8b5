#pragma once
// Numbers as text and back. Parsers are strict: what they refuse raises
// EConvertError with the platform's message, and nothing wraps around.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tv {

// The separators and formats that rendering and parsing share, so that
// parsing what was rendered gives the value back.
struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "dd/mm/yyyy";
  std::string LongTimeFormat = "hh:nn:ss";
};

// The user's settings: from the locale on Windows, the defaults above on
// POSIX. DefaultFormatSettings() reads them once, on first use, and is what
// every routine uses when no settings are passed.
TFormatSettings UserFormatSettings();
const TFormatSettings& DefaultFormatSettings();
// Replaces what DefaultFormatSettings() answers from now on, as a change of
// the user's locale would.
void SetDefaultFormatSettings(const TFormatSettings& settings);

// Currency: a 64-bit count of ten-thousandths.
struct TCurrency {
  std::int64_t Value = 0;
  friend bool operator==(TCurrency a, TCurrency b) { return a.Value == b.Value; }
};

std::string IntToStr(std::int64_t value);

// Leading blanks, an optional sign, then decimal digits or "$" and
// hexadecimal digits (which may fill all 32 or 64 bits). Nothing else.
std::optional<std::int32_t> TryStrToInt(std::string_view text);
std::optional<std::int64_t> TryStrToInt64(std::string_view text);
// Raise EConvertError "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::string_view text);
std::int64_t StrToInt64(std::string_view text);
std::int32_t StrToIntDef(std::string_view text, std::int32_t defaultValue);

// General format with up to 15 significant digits: fixed notation unless the
// exponent is below -5 or reaches 15; "NAN", "INF", "-INF".
std::string FloatToStr(double value, const TFormatSettings& settings = DefaultFormatSettings());
// Blanks around an optionally signed number with the decimal separator and
// an optional exponent; raises "'<text>' is not a valid floating point value".
double StrToFloat(std::string_view text, const TFormatSettings& settings = DefaultFormatSettings());
std::optional<double> TryStrToFloat(std::string_view text,
                                    const TFormatSettings& settings = DefaultFormatSettings());

// The value by a pattern: "0" a digit always shown, "#" a digit shown when
// there is one, the first "." the decimal separator, a "," among the digits
// groups thousands, "E+"/"E-" (or "e") and zeros a scientific exponent
// (with its sign always, or only when negative); text in quotes and other
// characters stand as they are. Up to three sections separated by ";": for
// positive, negative and zero values. Digits round half away from zero.
// An empty pattern gives FloatToStr.
std::string FormatFloat(std::string_view format, double value,
                        const TFormatSettings& settings = DefaultFormatSettings());

// Up to four decimals, no trailing zeros.
std::string CurrToStr(TCurrency value, const TFormatSettings& settings = DefaultFormatSettings());
// As StrToFloat, kept exact to four decimals; a fifth and later decimals
// round half to even. Raises "'<text>' is not a valid floating point value".
TCurrency StrToCurr(std::string_view text, const TFormatSettings& settings = DefaultFormatSettings());

}  // namespace tv
