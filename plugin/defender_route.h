#pragma once
// Microsoft Defender's route: the "Scanner" setting "defender:" runs
// Defender's command-line scanner MpCmdRun.exe on the file, found where
// Defender is installed; "defender:PATH" runs the program at PATH. Its
// verdict is in its exit code and its standard output, and a file is called
// clean or found only when both say so: anything else, Defender switched
// off by another anti-virus among it, is "not carried out". Hide, Options
// and FoundTag do not apply.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "plugin/scan_route.h"

namespace tv {

// Its own -Timeout counts in days.
inline constexpr std::chrono::milliseconds kDefenderTimeLimit{120'000};
// Far more than a report of many threats prints; beyond it the output is no
// report we know.
inline constexpr std::size_t kDefenderOutputLimit = 1 << 20;

inline constexpr const char* kDefenderProgram = "MpCmdRun.exe";

// The program part of a "defender:" setting (scheme in any letter case):
// empty for Defender where it is installed; nothing for any other setting.
std::optional<std::string> DefenderProgramOf(std::string_view scanner);

// MpCmdRun.exe where Defender is installed, or empty: the folder of the
// registry value InstallLocation (64-bit view), else the newest version
// folder under %ProgramData%\Microsoft\Windows Defender\Platform, else
// Windows Defender under %ProgramW6432% (the 64-bit Program Files folder).
std::string FindDefender();

// One file scanned with nothing done to it: no cleaning, no quarantine, no
// exclusions; archives looked into.
std::string DefenderCommandLine(std::string_view program, std::string_view fileName);

// Clean for exit code 0 with the line that the scan of FileName found no
// threats; a finding for exit code 2 with at least one threat line, its
// names each once in their order; not carried out for everything else,
// and whenever the output tells of a failure or of Defender switched off.
TVerdict JudgeDefender(std::uint32_t exitCode, std::string_view output, const std::string& fileName);

class TDefenderRoute final : public TScanRoute {
 public:
  // Program: as DefenderProgramOf gives it.
  explicit TDefenderRoute(std::string program, std::chrono::milliseconds timeLimit = kDefenderTimeLimit)
      : program_(std::move(program)), timeLimit_(timeLimit) {}
  TVerdict Check(const std::string& fileName) noexcept override;

 private:
  const std::string program_;
  const std::chrono::milliseconds timeLimit_;
};

}  // namespace tv
