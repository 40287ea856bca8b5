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

namespace {

// A writer opens or creates in one step: creating "always" after a separate
// existence test would truncate a log that another writer created in
// between. Writers hold the log for one line only, so a busy log is tried
// again; any other failure will not go away by waiting.
sys::TFile OpenLog(const std::string& path, sys::TFile::TOpenMode mode) {
  return sys::TFile::OpenWhenFree(path, mode, kLogWaitLimit);
}

}  // namespace

void WriteLog(const std::string& hostDirectory, std::string_view text) {
  try {
    sys::TFile file = OpenLog(LogFilePath(hostDirectory), sys::TFile::TOpenMode::ExclusiveOpenAlways);
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

bool ReadLog(const std::string& hostDirectory, std::string& text) {
  text.clear();
  sys::TFile file = OpenLog(LogFilePath(hostDirectory), sys::TFile::TOpenMode::ReadDenyWrite);
  if (!file.IsOpen()) return false;
  char buffer[64 * 1024];
  while (const std::size_t got = file.Read(buffer, sizeof buffer)) text.append(buffer, got);
  return true;
}

}  // namespace tv
