#include "plugin/scan_run.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/system/command_line.h"
#include "platform/system/files.h"
#include "platform/system/path_lock.h"
#include "platform/system/text.h"
#include "plugin/daemon_check.h"
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

// Deletes the report when the check starts (a report left over from an
// earlier check must not be read as this check's finding) and whatever way
// it leaves; never when the name has come to denote the checked file.
class TReportCleanup {
 public:
  TReportCleanup(const std::string& report, const std::string& file) : report_(report), file_(file) {
    Delete();
  }
  ~TReportCleanup() { Delete(); }
  TReportCleanup(const TReportCleanup&) = delete;
  TReportCleanup& operator=(const TReportCleanup&) = delete;

 private:
  void Delete() const {
    if (!sys::IsSameFile(report_, file_)) sys::DeleteFileAt(report_);
  }
  const std::string& report_;
  const std::string& file_;
};

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

void CopyVirusText(const std::string& text, char* virusName) {
  std::size_t count = std::min(text.size(), kVirusNameCapacity - 1);
  std::memcpy(virusName, text.data(), count);
  virusName[count] = '\0';
}

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

std::optional<std::string> ChooseReportFile(const std::string& fileName) {
  for (std::string report : {ReportFileFor(fileName), fileName + kReportExtension}) {
    if (!sys::IsSameFile(report, fileName)) return report;
  }
  return std::nullopt;
}

TScannerCommand ScannerCommandOf(std::string_view scanner) {
  if (scanner.empty() || scanner.front() != '"') return {std::string(scanner), {}};
  std::size_t close = scanner.find('"', 1);
  if (close == std::string_view::npos) return {std::string(scanner.substr(1)), {}};
  return {std::string(scanner.substr(1, close - 1)), std::string(scanner.substr(close + 1))};
}

std::string BuildCommandLine(std::string_view program, const TPluginSettings& settings,
                             std::string_view fileName, std::string_view reportFile) {
  // The program name is parsed apart from the arguments: quotes only toggle
  // there, so the quoted path (which holds no quote) comes back whole.
  std::string line = "\"";
  line += program;
  line += '"';
  line += ScannerCommandOf(settings.Scanner).Arguments;
  line += ' ';
  line += sys::QuoteArgument(fileName);
  line += ' ';
  line += settings.Options;
  line += " /REPORT ";
  line += sys::QuoteArgument(reportFile);
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
    const TPluginSettings settings = ReadScanSettings(hostDirectory);
    if (const std::optional<std::string> servers = DaemonServersOf(settings.Scanner))
      return CheckWithDaemon(file, *servers, virusName, hostDirectory);
    const std::optional<std::string> reportFile = ChooseReportFile(file);
    if (!reportFile) return kResultNotCarriedOut;
    const std::string upperTag = sys::AnsiUpperCase(settings.FoundTag);
    const int showCommand = settings.Hide ? sys::kSwHide : sys::kSwShowNormal;

    // Checks whose files share a report name (x.com, x.txt) take turns from
    // the deletion of a stale report to the deletion of their own.
    const sys::TPathLock reportLock(*reportFile);
    const TReportCleanup cleanup(*reportFile, file);

    // Searched by ourselves, never in the current directory: an attachment
    // saved there under the scanner's name must not be run.
    const std::string program = sys::FindProgram(ScannerCommandOf(settings.Scanner).Program, hostDirectory);
    if (program.empty() || program.find('"') != std::string::npos) return kResultNotCarriedOut;

    const std::int32_t exitCode =
        RunScanner(BuildCommandLine(program, settings, file, *reportFile), showCommand);
    if (exitCode == -1) return kResultNotCarriedOut;
    if (exitCode == 0) return kResultOk;
    TakeFinding(file, *reportFile, upperTag, virusName, hostDirectory);
    return kResultFinding;
  } catch (...) {
    return kResultNotCarriedOut;
  }
}

}  // namespace tv
