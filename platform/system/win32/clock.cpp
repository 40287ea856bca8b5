#include "platform/system/clock.h"

#include <windows.h>

namespace tv::sys {

TLocalTime LocalTimeNow() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::string TimeSeparator() {
  char buffer[8] = {};
  int got = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, buffer, sizeof buffer);
  if (got <= 1) return ":";
  return std::string(buffer, static_cast<std::size_t>(got - 1));
}

}  // namespace tv::sys
