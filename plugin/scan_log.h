#pragma once
// The log of findings, "tvvexal.log" beside the host executable: one line per
// matched report line, time-stamped, never truncated or rotated.

#include <chrono>
#include <string>
#include <string_view>

#include "platform/system/clock.h"

namespace tv {

inline constexpr const char* kLogFileName = "tvvexal.log";

std::string LogFilePath(const std::string& hostDirectory);

// "dd.mm.yyyy hh<sep>nn<sep>ss".
std::string FormatLogTimeStamp(const sys::TLocalTime& time, std::string_view timeSeparator);

// How long a line waits for another holder of the log (another check, the
// options dialog reading it) before it is dropped. The check's result never
// waits longer on its log.
inline constexpr std::chrono::milliseconds kLogWaitLimit{2000};

// Appends time stamp, blank, Text, CR LF. The file is held exclusively for
// the one write; when it stays held elsewhere for kLogWaitLimit, or cannot
// be opened at all (no right to write), the line is dropped without a
// message.
void WriteLog(const std::string& hostDirectory, std::string_view text);

// The whole log, waiting for a writer's line as a writer waits for
// another's; false when it cannot be opened for reading.
bool ReadLog(const std::string& hostDirectory, std::string& text);

}  // namespace tv
