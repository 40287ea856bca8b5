#include "platform/system/clock.h"

#include <ctime>

namespace tv::sys {

TLocalTime LocalTimeNow() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  ::localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

// Linux locales have no separate setting for it; every locale's time format
// that the mail client's users meet writes a colon.
std::string TimeSeparator() {
  return ":";
}

}  // namespace tv::sys
