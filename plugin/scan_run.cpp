#include "plugin/scan_run.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/system/files.h"
#include "platform/system/text.h"
#include "plugin/report_search.h"
#include "plugin/scan_log.h"

namespace tv {

namespace {

bool IsPathSeparator(char c) {
  return c == '\\' || c == '/' || c == ':';
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
           return lower(x) == lower(y);
         });
}

std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted.append(1, '"').append(text).append(1, '"');
  return quoted;
}

// A path with a blank or tab would reach the scanner as several arguments.
std::string QuotePath(std::string_view path) {
  if (path.find_first_of(" \t") == std::string_view::npos) return std::string(path);
  return Quoted(path);
}

// An unquoted program path with blanks lets the system try "C:\Program" and
// friends first.
std::string QuoteProgram(std::string_view program) {
  if (program.find(' ') == std::string_view::npos || (!program.empty() && program.front() == '"'))
    return std::string(program);
  return Quoted(program);
}

// Deletes the report whatever way the check leaves.
class TReportCleanup {
 public:
  explicit TReportCleanup(const std::string& path) : path_(path) {}
  ~TReportCleanup() { sys::DeleteFileAt(path_); }
  TReportCleanup(const TReportCleanup&) = delete;
  TReportCleanup& operator=(const TReportCleanup&) = delete;

 private:
  const std::string& path_;
};

void CopyVirusText(const std::string& text, char* virusName) {
  std::size_t count = std::min(text.size(), kVirusNameCapacity - 1);
  std::memcpy(virusName, text.data(), count);
  virusName[count] = '\0';
}

// After a finding: the report's line for the file becomes the host's text
// and a log line. A report that cannot be read leaves both untouched.
// The scanner's exit code has already told of the finding, so no failure
// here may change the result.
void TakeFinding(const std::string& fileName, const std::string& reportFile, const std::string& upperTag,
                 char* virusName, const std::string& hostDirectory) noexcept {
  try {
    std::optional<TReportMatch> match = SearchReport(reportFile, fileName, upperTag, sys::AnsiUpperTable());
    if (!match) return;
    if (virusName != nullptr)
      CopyVirusText(FormatVirusText(fileName, match->Line, match->TagPosition, upperTag.size()), virusName);
    WriteLog(hostDirectory, match->Line);
  } catch (...) {
  }
}

}  // namespace

std::string ReportFileFor(std::string_view fileName) {
  std::size_t dot = fileName.rfind('.');
  if (dot != std::string_view::npos) {
    for (std::size_t i = dot + 1; i < fileName.size(); ++i) {
      if (IsPathSeparator(fileName[i])) {
        dot = std::string_view::npos;
        break;
      }
    }
  }
  if (dot == std::string_view::npos || SameTextAscii(fileName.substr(dot), kReportExtension))
    return std::string(fileName) + kReportExtension;
  return std::string(fileName.substr(0, dot)) + kReportExtension;
}

std::string BuildCommandLine(const TPluginSettings& settings, std::string_view fileName,
                             std::string_view reportFile) {
  std::string line = QuoteProgram(settings.Scanner);
  line += ' ';
  line += QuotePath(fileName);
  line += ' ';
  line += settings.Options;
  line += " /REPORT ";
  line += QuotePath(reportFile);
  return line;
}

std::int32_t RunScanner(const std::string& commandLine, int showCommand) {
  if (commandLine.size() + 1 > sys::kMaxCommandLine) return -1;
  // Process creation may write into the command line: it gets its own copy.
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  sys::TProcessInfo process;
  if (!sys::CreateChildProcess(buffer.data(), showCommand, process)) return -1;
  WaitForProcess(process);
  std::uint32_t exitCode = sys::GetProcessExitCode(process);
  sys::CloseProcessHandles(process);
  return static_cast<std::int32_t>(exitCode);
}

void WaitForProcess(sys::TProcessInfo& process) {
  for (;;) {
    std::uint32_t result = sys::MsgWaitForProcess(process);
    if (result == sys::kWaitFailed || result == sys::kWaitProcessEnded) return;
    if (result == sys::kWaitMessages) sys::DispatchPaintMessages();
  }
}

std::string FormatVirusText(std::string_view fileName, std::string_view line, std::size_t tagPosition,
                            std::size_t tagLength) {
  std::string text = "\n";
  text += fileName;
  text += '\n';
  std::size_t cut = tagPosition + tagLength;
  if (cut < line.size()) text += line.substr(cut);
  return text;
}

std::int32_t CheckFile(const char* fileName, char* virusName, const std::string& hostDirectory) noexcept {
  // A path cannot hold a double quote; one would break the command line apart.
  if (fileName == nullptr || *fileName == '\0' || std::strchr(fileName, '"') != nullptr)
    return kResultNotCarriedOut;
  try {
    const std::string file(fileName);
    const std::string reportFile = ReportFileFor(file);
    const TPluginSettings settings = ReadScanSettings(hostDirectory);
    const std::string upperTag = sys::AnsiUpperCase(settings.FoundTag);
    const int showCommand = settings.Hide ? sys::kSwHide : sys::kSwShowNormal;
    const std::string commandLine = BuildCommandLine(settings, file, reportFile);

    // A report left over from an earlier check must not be read as this
    // check's finding.
    sys::DeleteFileAt(reportFile);
    TReportCleanup cleanup(reportFile);

    const std::int32_t exitCode = RunScanner(commandLine, showCommand);
    if (exitCode == -1) return kResultNotCarriedOut;
    if (exitCode == 0) return kResultOk;
    TakeFinding(file, reportFile, upperTag, virusName, hostDirectory);
    return kResultFinding;
  } catch (...) {
    return kResultNotCarriedOut;
  }
}

}  // namespace tv
