#include "platform/rtl/datetime.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"

namespace tv {

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;
constexpr int kTwoDigitYearWindow = 50;

const int kDaysInMonth[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                 {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// Days from 1 January of year 1 to the given day, the first being 1.
long long DayNumber(int year, int month, int day) {
  const long long y = year - 1;
  long long days = y * 365 + y / 4 - y / 100 + y / 400;
  for (int m = 1; m < month; ++m) days += kDaysInMonth[IsLeapYear(year)][m - 1];
  return days + day;
}

const long long kDayZero = DayNumber(1899, 12, 30);

std::string Two(int v) {
  char b[16];
  std::snprintf(b, sizeof b, "%02d", v);
  return b;
}

[[noreturn]] void Invalid(std::string_view text, const char* what) {
  throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

int CurrentYear() {
  return DecodeDate(Date()).Year;
}

// Scans an unsigned number at Pos; false when there is none.
bool ScanNumber(std::string_view s, std::size_t& pos, int& value, int& digits) {
  value = 0;
  digits = 0;
  while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && digits < 9) {
    value = value * 10 + (s[pos++] - '0');
    ++digits;
  }
  return digits > 0;
}

void SkipBlanks(std::string_view s, std::size_t& pos) {
  while (pos < s.size() && s[pos] == ' ') ++pos;
}

bool ScanChar(std::string_view s, std::size_t& pos, char c) {
  if (pos < s.size() && s[pos] == c) {
    ++pos;
    return true;
  }
  return false;
}

std::optional<TDateTime> ScanDate(std::string_view s, std::size_t& pos, const TFormatSettings& settings) {
  // The order of day, month and year as the short date format gives it.
  std::string order;
  for (char c : LowerCase(settings.ShortDateFormat))
    if ((c == 'd' || c == 'm' || c == 'y') && order.find(c) == std::string::npos) order += c;
  if (order.size() != 3) order = "mdy";

  SkipBlanks(s, pos);
  int n[3] = {0, 0, 0}, digits[3] = {0, 0, 0};
  int count = 0;
  while (count < 3) {
    if (!ScanNumber(s, pos, n[count], digits[count])) return std::nullopt;
    ++count;
    if (count < 3 && !ScanChar(s, pos, settings.DateSeparator)) break;
  }
  if (count < 2) return std::nullopt;

  int year = 0, month = 0, day = 0, yearDigits = 4;
  if (count == 2) {
    // Without a year: the two parts in the order of the others.
    std::string dm;
    for (char c : order)
      if (c != 'y') dm += c;
    (dm[0] == 'd' ? day : month) = n[0];
    (dm[1] == 'd' ? day : month) = n[1];
    year = CurrentYear();
  } else {
    for (int i = 0; i < 3; ++i) {
      if (order[static_cast<std::size_t>(i)] == 'd') day = n[i];
      if (order[static_cast<std::size_t>(i)] == 'm') month = n[i];
      if (order[static_cast<std::size_t>(i)] == 'y') {
        year = n[i];
        yearDigits = digits[i];
      }
    }
    if (yearDigits <= 2) {
      const int base = CurrentYear() - kTwoDigitYearWindow;
      year += base / 100 * 100;
      if (year < base) year += 100;
    }
  }
  return TryEncodeDate(year, month, day);
}

std::optional<TDateTime> ScanTime(std::string_view s, std::size_t& pos, const TFormatSettings& settings) {
  SkipBlanks(s, pos);
  int hour = 0, minute = 0, second = 0, ms = 0, digits = 0;
  if (!ScanNumber(s, pos, hour, digits) || !ScanChar(s, pos, settings.TimeSeparator) ||
      !ScanNumber(s, pos, minute, digits))
    return std::nullopt;
  if (ScanChar(s, pos, settings.TimeSeparator)) {
    if (!ScanNumber(s, pos, second, digits)) return std::nullopt;
    if (ScanChar(s, pos, '.') && !ScanNumber(s, pos, ms, digits)) return std::nullopt;
  }
  SkipBlanks(s, pos);
  std::string rest = UpperCase(s.substr(pos, 2));
  if (rest == "AM" || rest == "PM") {
    if (hour < 1 || hour > 12) return std::nullopt;
    hour = hour % 12 + (rest == "PM" ? 12 : 0);
    pos += 2;
  }
  return TryEncodeTime(hour, minute, second, ms);
}

}  // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

std::optional<TDateTime> TryEncodeDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > kDaysInMonth[IsLeapYear(year)][month - 1])
    return std::nullopt;
  return static_cast<TDateTime>(DayNumber(year, month, day) - kDayZero);
}

std::optional<TDateTime> TryEncodeTime(int hour, int minute, int second, int milliSecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || milliSecond < 0 ||
      milliSecond > 999)
    return std::nullopt;
  return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + milliSecond) / kMillisecondsPerDay;
}

TDateTime EncodeDate(int year, int month, int day) {
  auto v = TryEncodeDate(year, month, day);
  if (!v) throw EConvertError("Invalid argument to date encode");
  return *v;
}

TDateTime EncodeTime(int hour, int minute, int second, int milliSecond) {
  auto v = TryEncodeTime(hour, minute, second, milliSecond);
  if (!v) throw EConvertError("Invalid argument to time encode");
  return *v;
}

TDateParts DecodeDate(TDateTime value) {
  // Whole days count from 30 December 1899; for days before it the time of
  // day counts forward, so the date is the integer part toward zero.
  long long n = static_cast<long long>(std::trunc(value)) + kDayZero;  // day number, 1 = 1 Jan year 1
  if (n < 1) return {};
  TDateParts d;
  long long y = (n - 1) * 400 / 146097;  // a first guess, then corrected
  while (DayNumber(static_cast<int>(y + 1), 1, 1) <= n) ++y;
  while (y > 0 && DayNumber(static_cast<int>(y), 1, 1) > n) --y;
  d.Year = static_cast<int>(y);
  long long dayOfYear = n - DayNumber(d.Year, 1, 1) + 1;
  d.Month = 1;
  while (dayOfYear > kDaysInMonth[IsLeapYear(d.Year)][d.Month - 1]) {
    dayOfYear -= kDaysInMonth[IsLeapYear(d.Year)][d.Month - 1];
    ++d.Month;
  }
  d.Day = static_cast<int>(dayOfYear);
  return d;
}

TTimeParts DecodeTime(TDateTime value) {
  const double fraction = std::fabs(value - std::trunc(value));
  long long ms = std::llround(fraction * kMillisecondsPerDay);
  if (ms >= static_cast<long long>(kMillisecondsPerDay)) ms = static_cast<long long>(kMillisecondsPerDay) - 1;
  TTimeParts t;
  t.MilliSecond = static_cast<int>(ms % 1000);
  t.Second = static_cast<int>(ms / 1000 % 60);
  t.Minute = static_cast<int>(ms / 60000 % 60);
  t.Hour = static_cast<int>(ms / 3600000);
  return t;
}

TDateTime Now() {
  return DateTimeOf(std::chrono::system_clock::now());
}

TDateTime DateTimeOf(std::chrono::system_clock::time_point now) {
  if (now == std::chrono::system_clock::time_point{}) return 0;
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  // The local time of a second is asked of the system once: a translator
  // stamps a change on every row it reads, many within one second. The
  // reentrant forms, as std::localtime shares one result between threads.
  thread_local std::time_t cachedSecond = -1;
  thread_local std::tm local{};
  thread_local TDateTime day = 0;
  if (seconds != cachedSecond) {
#ifdef _WIN32
    if (localtime_s(&local, &seconds) != 0) return 0;
#else
    if (localtime_r(&seconds, &local) == nullptr) return 0;
#endif
    day = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    cachedSecond = seconds;
  }
  return day + EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(ms));
}

TDateTime Date() {
  return std::trunc(Now());
}

std::string FormatDateTime(std::string_view format, TDateTime value, const TFormatSettings& settings) {
  const TDateParts d = DecodeDate(value);
  const TTimeParts t = DecodeTime(value);
  const std::string lower = LowerCase(format);
  const bool twelveHour = lower.find("am/pm") != std::string::npos ||
                          lower.find("a/p") != std::string::npos || lower.find("ampm") != std::string::npos;
  const int hour = twelveHour ? (t.Hour % 12 == 0 ? 12 : t.Hour % 12) : t.Hour;
  auto number = [](int v, bool twoDigits) { return twoDigits ? Two(v) : std::to_string(v); };

  std::string out;
  char lastLetter = 0;  // "m" right after an hour, separators aside, is minutes
  std::size_t i = 0;
  while (i < format.size()) {
    const char c = format[i];
    const char lc = lower[i];
    if (c == '\'' || c == '"') {
      const std::size_t close = format.find(c, i + 1);
      const std::size_t end = close == std::string_view::npos ? format.size() : close;
      out.append(format.substr(i + 1, end - i - 1));
      i = end == format.size() ? end : end + 1;
      continue;
    }
    if (lower.compare(i, 5, "am/pm") == 0 || lower.compare(i, 3, "a/p") == 0 ||
        lower.compare(i, 4, "ampm") == 0) {
      const bool ampm = lower.compare(i, 4, "ampm") == 0;
      const bool full = ampm || lower.compare(i, 5, "am/pm") == 0;
      std::string mark = full ? (t.Hour < 12 ? "AM" : "PM") : (t.Hour < 12 ? "A" : "P");
      if (!ampm && c == 'a') mark = LowerCase(mark);
      out += mark;
      i += ampm ? 4 : full ? 5 : 3;
      continue;
    }
    std::size_t n = 1;
    while (lc >= 'a' && lc <= 'z' && i + n < format.size() && lower[i + n] == lc) ++n;
    switch (lc) {
      case 'd': out += number(d.Day, n >= 2); break;
      case 'm': out += lastLetter == 'h' ? number(t.Minute, n >= 2) : number(d.Month, n >= 2); break;
      case 'y': out += n <= 2 ? Two(d.Year % 100) : std::to_string(d.Year); break;
      case 'h': out += number(hour, n >= 2); break;
      case 'n': out += number(t.Minute, n >= 2); break;
      case 's': out += number(t.Second, n >= 2); break;
      case 'z': {
        char b[8];
        std::snprintf(b, sizeof b, n >= 3 ? "%03d" : "%d", t.MilliSecond);
        out += b;
        break;
      }
      case '/': out += settings.DateSeparator; break;
      case ':': out += settings.TimeSeparator; break;
      default: out.append(format.substr(i, n)); break;
    }
    if (lc >= 'a' && lc <= 'z') lastLetter = lc;
    i += n;
  }
  return out;
}

std::string DateToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime(settings.ShortDateFormat, value, settings);
}

std::string TimeToStr(TDateTime value, const TFormatSettings& settings) {
  return FormatDateTime(settings.LongTimeFormat, value, settings);
}

std::string DateTimeToStr(TDateTime value, const TFormatSettings& settings) {
  std::string text = DateToStr(value, settings);
  if (value != std::trunc(value)) text.append(" ").append(TimeToStr(value, settings));
  return text;
}

namespace {

// The whole text, blanks around it aside, must be what Scan reads.
using TScanner = std::optional<TDateTime> (*)(std::string_view, std::size_t&, const TFormatSettings&);
TDateTime ScanWhole(std::string_view text, const TFormatSettings& settings, TScanner scan, const char* what) {
  std::size_t pos = 0;
  auto v = scan(text, pos, settings);
  SkipBlanks(text, pos);
  if (!v || pos != text.size()) Invalid(text, what);
  return *v;
}

}  // namespace

TDateTime StrToDate(std::string_view text, const TFormatSettings& settings) {
  return ScanWhole(text, settings, ScanDate, "date");
}

TDateTime StrToTime(std::string_view text, const TFormatSettings& settings) {
  return ScanWhole(text, settings, ScanTime, "time");
}

TDateTime StrToDateTime(std::string_view text, const TFormatSettings& settings) {
  std::size_t pos = 0;
  auto date = ScanDate(text, pos, settings);
  if (!date) Invalid(text, "date and time");
  SkipBlanks(text, pos);
  if (pos == text.size()) return *date;
  auto time = ScanTime(text, pos, settings);
  SkipBlanks(text, pos);
  if (!time || pos != text.size()) Invalid(text, "date and time");
  return *date < 0 ? *date - *time : *date + *time;
}

}  // namespace tv
