#pragma once

#include <chrono>
#include <string>

namespace tv::sys {

struct TLocalTime {
  int Year = 0, Month = 0, Day = 0;
  int Hour = 0, Minute = 0, Second = 0;
};

TLocalTime LocalTimeNow();

// The wall clock as the system keeps it between its ticks (a few
// milliseconds apart), read without asking the hardware: for stamps taken
// on every small change, where the precise clock would cost more than the
// change itself.
std::chrono::system_clock::time_point CoarseClockNow();

// The time separator of the user's regional settings.
std::string TimeSeparator();

}  // namespace tv::sys
