#include "platform/system/clock.h"

#include <windows.h>

namespace tv::sys {

TLocalTime LocalTimeNow() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

// The system time as the tick last set it, in 100-nanosecond units since
// 1601.
std::chrono::system_clock::time_point CoarseClockNow() {
  FILETIME time;
  ::GetSystemTimeAsFileTime(&time);
  const long long ticks = (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  constexpr long long kTicksFrom1601To1970 = 116444736000000000LL;
  return std::chrono::system_clock::time_point(
      std::chrono::duration_cast<std::chrono::system_clock::duration>(
          std::chrono::duration<long long, std::ratio<1, 10000000>>(ticks - kTicksFrom1601To1970)));
}

std::string TimeSeparator() {
  char buffer[8] = {};
  int got = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, buffer, sizeof buffer);
  if (got <= 1) return ":";
  return std::string(buffer, static_cast<std::size_t>(got - 1));
}

}  // namespace tv::sys
