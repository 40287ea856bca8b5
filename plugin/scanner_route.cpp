#include "plugin/scanner_route.h"

#include "platform/rtl/sysutils.h"
#include "platform/system/child_process.h"
#include "platform/system/command_line.h"
#include "platform/system/files.h"
#include "platform/system/path_lock.h"
#include "platform/system/text.h"
#include "plugin/report_search.h"

namespace tv {

namespace {

bool IsPathSeparator(char c) {
  return c == '\\' || c == '/' || c == ':';
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
  if (dot == std::string_view::npos || SameText(fileName.substr(dot), kReportExtension))
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
  sys::TChildProcess scanner(commandLine, showCommand);
  if (!scanner.Started()) return -1;
  // No time limit: a scanner takes as long as the file needs. After a failed
  // wait the code is "still active", a finding as any other.
  scanner.Wait();
  return static_cast<std::int32_t>(scanner.ExitCode());
}

// The scanner's exit code has already told of the finding: a report that
// cannot be read, or names nothing, leaves it a finding without names.
std::optional<TFindingReport> TScannerRoute::ReadReport(const std::string& fileName,
                                                        const std::string& reportFile) const {
  try {
    const std::string upperTag = sys::AnsiUpperCase(settings_.FoundTag);
    const std::optional<TReportMatch> match =
        SearchReport(reportFile, fileName, upperTag, sys::AnsiUpperTable());
    if (!match) return std::nullopt;
    const std::size_t cut = match->TagPosition + upperTag.size();
    return TFindingReport{cut < match->Line.size() ? match->Line.substr(cut) : std::string(), match->Line};
  } catch (...) {
    return std::nullopt;
  }
}

TVerdict TScannerRoute::Check(const std::string& fileName) noexcept {
  try {
    const std::optional<std::string> reportFile = ChooseReportFile(fileName);
    if (!reportFile) return TVerdict::NotCarriedOut("no report name that is not the file itself");
    const int showCommand = settings_.Hide ? sys::kSwHide : sys::kSwShowNormal;

    // Checks whose files share a report name (x.com, x.txt) take turns from
    // the deletion of a stale report to the deletion of their own.
    const sys::TPathLock reportLock(*reportFile);
    const TReportCleanup cleanup(*reportFile, fileName);

    // Searched by ourselves, never in the current directory: an attachment
    // saved there under the scanner's name must not be run.
    const std::string program = sys::FindProgram(command_.Program, hostDirectory_);
    if (program.empty() || program.find('"') != std::string::npos)
      return TVerdict::NotCarriedOut("scanner not found: " + command_.Program);

    const std::int32_t exitCode =
        RunScanner(BuildCommandLine(program, settings_, fileName, *reportFile), showCommand);
    if (exitCode == -1) return TVerdict::NotCarriedOut("the scanner could not be started: " + program);
    if (exitCode == 0) return TVerdict::Clean();
    return TVerdict::Finding(ReadReport(fileName, *reportFile));
  } catch (...) {
    return TVerdict::NotCarriedOut("check failed");  // short: no allocation while failing
  }
}

}  // namespace tv
