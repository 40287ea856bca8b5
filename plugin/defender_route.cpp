#include "plugin/defender_route.h"

#include <algorithm>
#include <vector>

#include "platform/rtl/sysutils.h"
#include "platform/system/child_process.h"
#include "platform/system/command_line.h"
#include "platform/system/environment.h"
#include "platform/system/files.h"
#include "platform/system/registry.h"

namespace tv {

namespace {

constexpr std::string_view kScheme = "defender:";
constexpr std::string_view kScanning = "Scanning ";
constexpr std::string_view kNoThreats = " found no threats.";
constexpr std::string_view kThreat = "Threat";

// --- where Defender lives

// The numbers of a version folder's name ("4.18.24090.11-0"), or none for a
// name that is no version.
std::optional<std::vector<unsigned long>> VersionOf(const std::string& name) {
  std::vector<unsigned long> parts;
  std::size_t at = 0;
  while (at <= name.size()) {
    const std::size_t end = std::min(name.find_first_of(".-", at), name.size());
    const std::string_view part(name.data() + at, end - at);
    const bool digits = std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (part.empty() || part.size() > 9 || !digits) return std::nullopt;
    parts.push_back(std::stoul(std::string(part)));
    at = end + 1;
  }
  return parts;
}

std::string InRegisteredFolder() {
  const std::optional<std::string> folder =
      sys::MachineText64("SOFTWARE\\Microsoft\\Windows Defender", "InstallLocation");
  if (!folder || folder->empty()) return {};
  const std::string program = sys::InFolder(*folder, kDefenderProgram);
  return sys::FileExists(program) ? program : std::string();
}

// Defender updates itself into a new version folder and leaves old ones.
std::string InNewestPlatformFolder() {
  const std::optional<std::string> data = sys::EnvironmentValue("ProgramData");
  if (!data || data->empty()) return {};
  const std::string platform =
      sys::InFolder(sys::InFolder(sys::InFolder(*data, "Microsoft"), "Windows Defender"), "Platform");
  std::vector<std::pair<std::vector<unsigned long>, std::string>> versions;
  for (const std::string& name : sys::SubfolderNames(platform))
    if (std::optional<std::vector<unsigned long>> version = VersionOf(name))
      versions.emplace_back(*version, name);
  std::sort(versions.begin(), versions.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& [version, name] : versions) {
    const std::string program = sys::InFolder(sys::InFolder(platform, name), kDefenderProgram);
    if (sys::FileExists(program)) return program;
  }
  return {};
}

// The 64-bit Program Files folder, also from a 32-bit process.
std::string InProgramFiles() {
  const std::optional<std::string> programFiles = sys::EnvironmentValue("ProgramW6432");
  if (!programFiles || programFiles->empty()) return {};
  const std::string program =
      sys::InFolder(sys::InFolder(*programFiles, "Windows Defender"), kDefenderProgram);
  return sys::FileExists(program) ? program : std::string();
}

// --- its output

std::vector<std::string> LinesOf(std::string_view output) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < output.size()) {
    const std::size_t end = std::min(output.find('\n', at), output.size());
    lines.push_back(TrimRight(output.substr(at, end - at)));
    at = end + 1;
  }
  return lines;
}

// Defender may print the path in another code page than the one it was
// given in: a run of non-ASCII bytes matches any other such run; the rest
// is compared without case, as the system compares names.
bool SamePathAnyCodePage(std::string_view printed, std::string_view given) {
  auto high = [](char c) { return static_cast<unsigned char>(c) >= 0x80; };
  std::size_t p = 0, g = 0;
  while (p < printed.size() && g < given.size()) {
    if (high(printed[p]) && high(given[g])) {
      while (p < printed.size() && high(printed[p])) ++p;
      while (g < given.size() && high(given[g])) ++g;
    } else if (UpCase(printed[p]) == UpCase(given[g])) {
      ++p, ++g;
    } else {
      return false;
    }
  }
  return p == printed.size() && g == given.size();
}

bool SaysNoThreats(const std::string& line, const std::string& fileName) {
  if (!line.starts_with(kScanning) || !line.ends_with(kNoThreats)) return false;
  const std::string_view path =
      std::string_view(line).substr(kScanning.size(), line.size() - kScanning.size() - kNoThreats.size());
  return SamePathAnyCodePage(path, fileName);
}

// "Threat                  : NAME": the name, or nothing for another line.
std::optional<std::string> ThreatOf(const std::string& line) {
  const std::string trimmed = TrimLeft(line);
  if (!trimmed.starts_with(kThreat)) return std::nullopt;
  const std::string rest = TrimLeft(std::string_view(trimmed).substr(kThreat.size()));
  if (rest.empty() || rest.front() != ':') return std::nullopt;
  return Trim(std::string_view(rest).substr(1));
}

// A failure or Defender switched off (another anti-virus has taken over):
// its tool's failure, an error line, a word of being disabled.
bool TellsOfFailure(const std::string& line) {
  if (StartsText("CmdTool: Failed", TrimLeft(line)) || StartsText("ERROR", TrimLeft(line))) return true;
  const std::string upper = UpperCase(line);
  return upper.find("DISABLED") != std::string::npos || upper.find("NOT ENABLED") != std::string::npos;
}

}  // namespace

std::optional<std::string> DefenderProgramOf(std::string_view scanner) {
  if (!StartsText(kScheme, scanner)) return std::nullopt;
  return std::string(scanner.substr(kScheme.size()));
}

std::string FindDefender() {
  for (std::string (*place)() : {InRegisteredFolder, InNewestPlatformFolder, InProgramFiles}) {
    std::string program = place();
    if (!program.empty()) return program;
  }
  return {};
}

std::string DefenderCommandLine(std::string_view program, std::string_view fileName) {
  std::string line = "\"";
  line += program;
  line += "\" -Scan -ScanType 3 -File ";
  line += sys::QuoteArgument(fileName);
  line += " -DisableRemediation";
  return line;
}

TVerdict JudgeDefender(std::uint32_t exitCode, std::string_view output, const std::string& fileName) {
  bool noThreats = false;
  std::vector<std::string> names;
  for (const std::string& line : LinesOf(output)) {
    if (SaysNoThreats(line, fileName)) {
      noThreats = true;
    } else if (std::optional<std::string> name = ThreatOf(line)) {
      if (name->empty()) return TVerdict::NotCarriedOut("Defender named a threat without a name");
      if (std::find(names.begin(), names.end(), *name) == names.end()) names.push_back(std::move(*name));
    } else if (!line.starts_with(kScanning) && TellsOfFailure(line)) {
      return TVerdict::NotCarriedOut("Defender failed: " + line);
    }
  }
  if (exitCode == 0 && noThreats && names.empty()) return TVerdict::Clean();
  if (exitCode == 2 && !noThreats && !names.empty()) {
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
    return TVerdict::Finding(NamedFinding(fileName, joined));
  }
  return TVerdict::NotCarriedOut("Defender's answer is no verdict: exit code " + std::to_string(exitCode));
}

TVerdict TDefenderRoute::Check(const std::string& fileName) noexcept {
  try {
    // A file it cannot read is one Defender may report as scanned.
    if (!sys::TFile::OpenWhenFree(fileName, sys::TFile::TOpenMode::ReadDenyWrite, sys::kReadWaitLimit)
             .IsOpen())
      return TVerdict::NotCarriedOut("the file cannot be read");
    const std::string program = program_.empty() ? FindDefender() : program_;
    if (program.empty() || program.find('"') != std::string::npos || !sys::FileExists(program))
      return TVerdict::NotCarriedOut("Defender's scanner not found");

    sys::TChildProcess defender(DefenderCommandLine(program, fileName), sys::kSwHide, kDefenderOutputLimit);
    if (!defender.Started()) return TVerdict::NotCarriedOut("Defender's scanner could not be started");
    const sys::TDeadline deadline(timeLimit_);
    const sys::TChildProcess::TEnd end = defender.Wait(&deadline);
    if (end != sys::TChildProcess::TEnd::Ended) {
      defender.End();
      return TVerdict::NotCarriedOut(end == sys::TChildProcess::TEnd::TimedOut
                                         ? "Defender's time limit passed"
                                         : "Defender's output is no report");
    }
    // Whatever it printed, a file that is gone was not checked to the end.
    if (!sys::FileExists(fileName)) return TVerdict::NotCarriedOut("the file went during the scan");
    return JudgeDefender(defender.ExitCode(), defender.Output(), fileName);
  } catch (...) {
    return TVerdict::NotCarriedOut("check failed");
  }
}

}  // namespace tv
