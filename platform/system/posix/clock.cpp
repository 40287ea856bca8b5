#include "platform/system/clock.h"

#include <ctime>

namespace tv::sys {

TLocalTime LocalTimeNow() {
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  ::localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

std::chrono::system_clock::time_point CoarseClockNow() {
#ifdef CLOCK_REALTIME_COARSE
  timespec now{};
  if (::clock_gettime(CLOCK_REALTIME_COARSE, &now) == 0)
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec)));
#endif
  return std::chrono::system_clock::now();
}

// Linux locales have no separate setting for it; every locale's time format
// that the mail client's users meet writes a colon.
std::string TimeSeparator() {
  return ":";
}

}  // namespace tv::sys
