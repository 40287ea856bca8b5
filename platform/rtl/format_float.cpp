#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/rtl/convert.h"

namespace tv {

namespace {

// A value as 15 significant decimal digits: 0.D1D2...D15 x 10^Exponent.
struct TDigits {
  bool Negative = false;
  std::string Digits;  // no leading zeros; empty for zero
  int Exponent = 0;
};

TDigits ToDigits(double value) {
  TDigits d;
  d.Negative = std::signbit(value);
  if (value == 0) return d;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
  const std::string text(buffer);
  const std::size_t e = text.find('e');
  for (std::size_t i = 0; i < e; ++i)
    if (text[i] >= '0' && text[i] <= '9') d.Digits += text[i];
  d.Exponent = std::atoi(text.c_str() + e + 1) + 1;
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  return d;
}

// Rounds half away from zero to Decimals places after the point.
void RoundTo(TDigits& d, int decimals) {
  const long long keep = static_cast<long long>(d.Exponent) + decimals;
  if (d.Digits.empty() || keep >= static_cast<long long>(d.Digits.size())) return;
  if (keep < 0) {
    d.Digits.clear();
    return;
  }
  const bool up = d.Digits[static_cast<std::size_t>(keep)] >= '5';
  d.Digits.resize(static_cast<std::size_t>(keep));
  if (up) {
    int i = static_cast<int>(d.Digits.size()) - 1;
    while (i >= 0 && d.Digits[static_cast<std::size_t>(i)] == '9')
      d.Digits[static_cast<std::size_t>(i--)] = '0';
    if (i >= 0) {
      ++d.Digits[static_cast<std::size_t>(i)];
    } else {
      d.Digits.insert(d.Digits.begin(), '1');
      ++d.Exponent;
    }
  }
  while (!d.Digits.empty() && d.Digits.back() == '0') d.Digits.pop_back();
  if (d.Digits.empty()) d.Exponent = 0;
}

// One section of a format, taken apart.
struct TSection {
  std::string Prefix, Suffix;  // literal text around the number
  int IntegerPlaces = 0;       // placeholders before the point
  int IntegerRequired = 0;     // of those, from the first "0" on
  int DecimalPlaces = 0;       // placeholders after the point
  int DecimalRequired = 0;     // up to the last "0" after the point
  bool Grouping = false;
  bool Scientific = false;
  bool ExponentPlus = false;
  char ExponentLetter = 'E';
  int ExponentDigits = 0;
};

TSection ParseSection(std::string_view f) {
  TSection s;
  bool inNumber = false, afterNumber = false, point = false, seenZero = false;
  std::string between;  // literals met inside the number, written after it
  for (std::size_t i = 0; i < f.size(); ++i) {
    const char c = f[i];
    if (c == '\'' || c == '"') {
      const std::size_t close = f.find(c, i + 1);
      const std::size_t end = close == std::string_view::npos ? f.size() : close;
      (afterNumber || inNumber ? between : s.Prefix).append(f.substr(i + 1, end - i - 1));
      i = end;
      continue;
    }
    if ((c == '0' || c == '#') && !afterNumber) {
      inNumber = true;
      if (point) {
        ++s.DecimalPlaces;
        if (c == '0') s.DecimalRequired = s.DecimalPlaces;
      } else {
        ++s.IntegerPlaces;
        if (c == '0') seenZero = true;
        if (seenZero) ++s.IntegerRequired;
      }
      continue;
    }
    if (c == '.' && !afterNumber && !point) {
      point = true;
      inNumber = true;
      continue;
    }
    if (c == ',' && !afterNumber) {
      if (inNumber)
        s.Grouping = true;
      else
        s.Prefix += c;
      continue;
    }
    if ((c == 'E' || c == 'e') && inNumber && i + 1 < f.size() && (f[i + 1] == '+' || f[i + 1] == '-')) {
      s.Scientific = true;
      s.ExponentLetter = c;
      s.ExponentPlus = f[i + 1] == '+';
      i += 2;
      while (i < f.size() && f[i] == '0') {
        ++s.ExponentDigits;
        ++i;
      }
      --i;
      afterNumber = true;
      inNumber = false;
      continue;
    }
    if (inNumber) {
      afterNumber = true;
      inNumber = false;
    }
    (afterNumber ? between : s.Prefix) += c;
  }
  s.Suffix = between;
  return s;
}

std::vector<std::string> SplitSections(std::string_view format) {
  std::vector<std::string> sections(1);
  char quote = 0;
  for (char c : format) {
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      sections.emplace_back();
      continue;
    }
    sections.back() += c;
  }
  return sections;
}

std::string Group(const std::string& integer, char separator) {
  std::string out;
  const std::size_t n = integer.size();
  for (std::size_t i = 0; i < n; ++i) {
    out += integer[i];
    const std::size_t left = n - 1 - i;
    if (left > 0 && left % 3 == 0) out += separator;
  }
  return out;
}

std::string Render(const TSection& s, TDigits d, const TFormatSettings& settings) {
  std::string number;
  if (s.Scientific) {
    const int integerPlaces = s.IntegerPlaces > 0 ? s.IntegerPlaces : 1;
    int exponent = d.Digits.empty() ? 0 : d.Exponent - integerPlaces;
    TDigits m = d;
    m.Exponent = d.Digits.empty() ? 0 : integerPlaces;
    RoundTo(m, s.DecimalPlaces);
    if (m.Exponent > integerPlaces) {  // rounding carried into a new digit: 9.99 -> 10.0
      m.Exponent = integerPlaces;
      ++exponent;
    }
    std::string digits = m.Digits;
    digits.resize(static_cast<std::size_t>(integerPlaces + s.DecimalPlaces), '0');
    number = digits.substr(0, static_cast<std::size_t>(integerPlaces));
    std::string fraction = digits.substr(static_cast<std::size_t>(integerPlaces));
    while (static_cast<int>(fraction.size()) > s.DecimalRequired && !fraction.empty() &&
           fraction.back() == '0')
      fraction.pop_back();
    if (!fraction.empty()) number.append(1, settings.DecimalSeparator).append(fraction);
    std::string e = std::to_string(std::abs(exponent));
    if (static_cast<int>(e.size()) < s.ExponentDigits)
      e.insert(0, static_cast<std::size_t>(s.ExponentDigits) - e.size(), '0');
    number += s.ExponentLetter;
    if (exponent < 0)
      number += '-';
    else if (s.ExponentPlus)
      number += '+';
    number += e;
    return s.Prefix + number + s.Suffix;
  }

  RoundTo(d, s.DecimalPlaces);
  std::string integer, fraction;
  if (!d.Digits.empty()) {
    if (d.Exponent > 0) {
      integer =
          d.Digits.substr(0, std::min<std::size_t>(d.Digits.size(), static_cast<std::size_t>(d.Exponent)));
      integer.resize(static_cast<std::size_t>(d.Exponent), '0');
      if (static_cast<int>(d.Digits.size()) > d.Exponent)
        fraction = d.Digits.substr(static_cast<std::size_t>(d.Exponent));
    } else {
      fraction = std::string(static_cast<std::size_t>(-d.Exponent), '0') + d.Digits;
    }
  }
  if (static_cast<int>(integer.size()) < s.IntegerRequired)
    integer.insert(0, static_cast<std::size_t>(s.IntegerRequired) - integer.size(), '0');
  fraction.resize(static_cast<std::size_t>(std::max(static_cast<int>(fraction.size()), s.DecimalRequired)),
                  '0');
  if (static_cast<int>(fraction.size()) > s.DecimalPlaces)
    fraction.resize(static_cast<std::size_t>(s.DecimalPlaces));
  number = s.Grouping ? Group(integer, settings.ThousandSeparator) : integer;
  if (!fraction.empty()) number.append(1, settings.DecimalSeparator).append(fraction);
  return s.Prefix + number + s.Suffix;
}

bool HasPlaceholder(const std::string& section) {
  return section.find_first_of("0#") != std::string::npos;
}

}  // namespace

std::string FormatFloat(std::string_view format, double value, const TFormatSettings& settings) {
  if (format.empty() || std::isnan(value) || std::isinf(value)) return FloatToStr(value, settings);
  const std::vector<std::string> sections = SplitSections(format);
  const TSection positive = ParseSection(sections[0]);

  TDigits d = ToDigits(value);
  TDigits rounded = d;
  if (!positive.Scientific) RoundTo(rounded, positive.DecimalPlaces);
  const bool zero = rounded.Digits.empty();
  d.Negative = false;

  if (zero && sections.size() > 2 && !sections[2].empty()) {
    const TSection s = ParseSection(sections[2]);
    return HasPlaceholder(sections[2]) ? Render(s, TDigits{}, settings) : s.Prefix + s.Suffix;
  }
  if (std::signbit(value) && !zero) {
    if (sections.size() > 1 && !sections[1].empty()) {
      const TSection s = ParseSection(sections[1]);
      return HasPlaceholder(sections[1]) ? Render(s, d, settings) : s.Prefix + s.Suffix;
    }
    std::string text(1, '-');
    return text.append(Render(positive, d, settings));
  }
  return Render(positive, d, settings);
}

}  // namespace tv
