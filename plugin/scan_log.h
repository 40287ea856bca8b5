#pragma once
// The log of findings, "tvvexal.log" beside the host executable: one line per
// matched report line, time-stamped, never truncated or rotated.

#include <string>
#include <string_view>

#include "platform/system/clock.h"

namespace tv {

inline constexpr const char* kLogFileName = "tvvexal.log";

std::string LogFilePath(const std::string& hostDirectory);

// "dd.mm.yyyy hh<sep>nn<sep>ss".
std::string FormatLogTimeStamp(const sys::TLocalTime& time, std::string_view timeSeparator);

// Appends time stamp, blank, Text, CR LF. The file is held exclusively for
// the one write; when it cannot be opened (another holder, no right to
// write) the line is dropped without a message.
void WriteLog(const std::string& hostDirectory, std::string_view text);

}  // namespace tv
