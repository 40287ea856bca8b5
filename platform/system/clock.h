#pragma once

#include <string>

namespace tv::sys {

struct TLocalTime {
  int Year = 0, Month = 0, Day = 0;
  int Hour = 0, Minute = 0, Second = 0;
};

TLocalTime LocalTimeNow();

// The time separator of the user's regional settings.
std::string TimeSeparator();

}  // namespace tv::sys
