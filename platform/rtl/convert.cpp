#include "platform/rtl/convert.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/rtl/exception.h"

namespace tv {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Magnitude of the digits and the sign; Bits limits hexadecimal, MaxPositive
// and MaxNegative decimal.
std::optional<std::int64_t> ParseInteger(std::string_view s, int bits) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  const bool hex = i < s.size() && s[i] == '$';
  if (hex) ++i;
  if (i >= s.size()) return std::nullopt;

  const std::uint64_t hexLimit = bits == 64 ? ~0ull : (1ull << bits) - 1;
  const std::uint64_t positiveLimit = (1ull << (bits - 1)) - 1;
  std::uint64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    const int digit = hex ? HexDigit(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
    if (digit < 0) return std::nullopt;
    const std::uint64_t base = hex ? 16 : 10;
    if (magnitude > (hexLimit - static_cast<std::uint64_t>(digit)) / base) return std::nullopt;
    magnitude = magnitude * base + static_cast<std::uint64_t>(digit);
  }
  if (hex) {
    // Hexadecimal fills all the bits: the top bit makes the number negative.
    std::uint64_t bitsValue = negative ? 0 - magnitude : magnitude;
    if (bits == 32)
      return static_cast<std::int64_t>(static_cast<std::int32_t>(static_cast<std::uint32_t>(bitsValue)));
    return static_cast<std::int64_t>(bitsValue);
  }
  if (magnitude > positiveLimit + (negative ? 1 : 0)) return std::nullopt;
  return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
}

[[noreturn]] void InvalidInteger(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

[[noreturn]] void InvalidFloat(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
}

// The parts of a decimal number: sign, digits without the separator, the
// position of the separator in them, and the exponent.
struct TDecimal {
  bool Negative = false;
  std::string Digits;
  long long PointAt = 0;
  long long Exponent = 0;
};

std::optional<TDecimal> ParseDecimal(std::string_view s, char separator) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  std::size_t end = s.size();
  while (end > i && s[end - 1] == ' ') --end;
  TDecimal d;
  if (i < end && (s[i] == '+' || s[i] == '-')) d.Negative = s[i++] == '-';
  bool anyDigit = false, point = false;
  for (; i < end; ++i) {
    if (s[i] >= '0' && s[i] <= '9') {
      d.Digits += s[i];
      anyDigit = true;
    } else if (s[i] == separator && !point) {
      point = true;
      d.PointAt = static_cast<long long>(d.Digits.size());
    } else {
      break;
    }
  }
  if (!point) d.PointAt = static_cast<long long>(d.Digits.size());
  if (!anyDigit) return std::nullopt;
  if (i < end && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < end && (s[i] == '+' || s[i] == '-')) negativeExponent = s[i++] == '-';
    if (i >= end) return std::nullopt;
    long long e = 0;
    for (; i < end; ++i) {
      if (s[i] < '0' || s[i] > '9') return std::nullopt;
      if (e < 100000) e = e * 10 + (s[i] - '0');
    }
    d.Exponent = negativeExponent ? -e : e;
  }
  if (i != end) return std::nullopt;
  return d;
}

}  // namespace

namespace {
// Read from any thread (a check's log line); made once under the
// language's guard for statics. Replaced only by tests and tools before
// they start threads.
TFormatSettings& Settings() {
  static TFormatSettings settings = UserFormatSettings();
  return settings;
}
}  // namespace

const TFormatSettings& DefaultFormatSettings() {
  return Settings();
}

void SetDefaultFormatSettings(const TFormatSettings& settings) {
  Settings() = settings;
}

std::string IntToStr(std::int64_t value) {
  return std::to_string(value);
}

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
  auto v = ParseInteger(text, 32);
  if (!v) return std::nullopt;
  return static_cast<std::int32_t>(*v);
}

std::optional<std::int64_t> TryStrToInt64(std::string_view text) {
  return ParseInteger(text, 64);
}

std::int32_t StrToInt(std::string_view text) {
  auto v = TryStrToInt(text);
  if (!v) InvalidInteger(text);
  return *v;
}

std::int64_t StrToInt64(std::string_view text) {
  auto v = TryStrToInt64(text);
  if (!v) InvalidInteger(text);
  return *v;
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t defaultValue) {
  return TryStrToInt(text).value_or(defaultValue);
}

std::string FloatToStr(double value, const TFormatSettings& settings) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  // 15 significant digits, then the layout: d.ddddddddddddddde±x.
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  std::string text(buffer);
  const std::size_t e = text.find('e');
  const int exponent = std::atoi(text.c_str() + e + 1);
  const bool negative = text[0] == '-';
  std::string digits;
  for (std::size_t i = negative ? 1 : 0; i < e; ++i)
    if (text[i] >= '0' && text[i] <= '9') digits += text[i];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string result = negative ? "-" : "";
  if (exponent < -5 || exponent >= 15) {
    result += digits[0];
    if (digits.size() > 1) result.append(1, settings.DecimalSeparator).append(digits, 1);
    result += 'E';
    result += std::to_string(exponent);
    return result;
  }
  if (exponent < 0) {
    result += '0';
    result += settings.DecimalSeparator;
    result.append(static_cast<std::size_t>(-exponent - 1), '0');
    result += digits;
    return result;
  }
  const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= whole) {
    result += digits;
    result.append(whole - digits.size(), '0');
  } else {
    result.append(digits, 0, whole).append(1, settings.DecimalSeparator).append(digits, whole);
  }
  return result;
}

std::optional<double> TryStrToFloat(std::string_view text, const TFormatSettings& settings) {
  auto d = ParseDecimal(text, settings.DecimalSeparator);
  if (!d) return std::nullopt;
  // strtod in the C locale does the exact rounding; it gets a canonical text.
  std::string canonical = d->Negative ? "-" : "";
  canonical += d->Digits.empty() ? "0" : d->Digits;
  canonical += 'e';
  canonical += std::to_string(d->Exponent - (static_cast<long long>(d->Digits.size()) - d->PointAt));
  double value = std::strtod(canonical.c_str(), nullptr);
  if (std::isinf(value)) return std::nullopt;
  return value;
}

double StrToFloat(std::string_view text, const TFormatSettings& settings) {
  auto v = TryStrToFloat(text, settings);
  if (!v) InvalidFloat(text);
  return *v;
}

std::string CurrToStr(TCurrency value, const TFormatSettings& settings) {
  const bool negative = value.Value < 0;
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(value.Value) : static_cast<std::uint64_t>(value.Value);
  std::string result = negative ? "-" : "";
  result += std::to_string(magnitude / 10000);
  std::string fraction = std::to_string(magnitude % 10000 + 10000).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) result.append(1, settings.DecimalSeparator).append(fraction);
  return result;
}

TCurrency StrToCurr(std::string_view text, const TFormatSettings& settings) {
  auto d = ParseDecimal(text, settings.DecimalSeparator);
  if (!d) InvalidFloat(text);
  // Digits scaled to ten-thousandths: the point moves by the exponent and 4.
  const long long point = d->PointAt + d->Exponent + 4;
  std::string digits = d->Digits;
  const long long length = static_cast<long long>(digits.size());
  std::string kept = point <= 0        ? ""
                     : point >= length ? digits + std::string(static_cast<std::size_t>(point - length), '0')
                                       : digits.substr(0, static_cast<std::size_t>(point));
  std::string dropped = point >= length ? ""
                        : point <= 0    ? std::string(static_cast<std::size_t>(-point), '0') + digits
                                        : digits.substr(static_cast<std::size_t>(point));
  while (kept.size() > 1 && kept.front() == '0') kept.erase(0, 1);
  if (kept.size() > 19) InvalidFloat(text);
  unsigned long long magnitude = kept.empty() ? 0 : std::strtoull(kept.c_str(), nullptr, 10);
  if (!dropped.empty() && dropped[0] >= '5') {
    const bool exactHalf = dropped[0] == '5' && dropped.find_first_not_of('0', 1) == std::string::npos;
    if (!exactHalf || magnitude % 2 == 1) ++magnitude;
  }
  const unsigned long long limit = static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max());
  if (magnitude > limit + (d->Negative ? 1 : 0)) InvalidFloat(text);
  return TCurrency{d->Negative ? static_cast<std::int64_t>(0 - magnitude)
                               : static_cast<std::int64_t>(magnitude)};
}

}  // namespace tv
