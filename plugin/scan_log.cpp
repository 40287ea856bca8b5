#include "plugin/scan_log.h"

#include <cstdio>

#include "platform/system/files.h"

namespace tv {

std::string LogFilePath(const std::string& hostDirectory) {
  return hostDirectory + kLogFileName;
}

std::string FormatLogTimeStamp(const sys::TLocalTime& time, std::string_view timeSeparator) {
  char date[32];
  std::snprintf(date, sizeof date, "%02d.%02d.%04d ", time.Day, time.Month, time.Year);
  auto two = [](int value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02d", value);
    return std::string(digits);
  };
  std::string stamp(date);
  stamp += two(time.Hour);
  stamp += timeSeparator;
  stamp += two(time.Minute);
  stamp += timeSeparator;
  stamp += two(time.Second);
  return stamp;
}

void WriteLog(const std::string& hostDirectory, std::string_view text) {
  try {
    // Opened or created in one step: creating "always" after a separate
    // existence test would truncate a log that another writer created in
    // between.
    sys::TFile file =
        sys::TFile::Open(LogFilePath(hostDirectory), sys::TFile::TOpenMode::ExclusiveOpenAlways);
    if (!file.IsOpen()) return;
    if (!file.SeekToEnd()) return;
    std::string line = FormatLogTimeStamp(sys::LocalTimeNow(), sys::TimeSeparator());
    line += ' ';
    line += text;
    line += "\r\n";
    file.Write(line.data(), line.size());
  } catch (...) {
    // A log line is never worth failing a check for.
  }
}

}  // namespace tv
