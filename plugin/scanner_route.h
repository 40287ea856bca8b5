#pragma once
// The command-line scanner's route: run the scanner on the file with a
// report file, judge its exit code, and after a finding take the finding's
// names from the report.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system/process.h"  // the show-window values
#include "plugin/scan_route.h"
#include "plugin/settings.h"

namespace tv {

inline constexpr const char* kReportExtension = ".~tv";

// FileName with its extension replaced by ".~tv". A file that already has
// that extension gets ".~tv" appended, so the report never is the file itself.
std::string ReportFileFor(std::string_view fileName);

// The report for FileName: ReportFileFor's name, or FileName + ".~tv" when
// the system takes that name for the file itself (Windows drops a trailing
// blank of "q.~tv ", a link may point to the file). Nothing when neither
// name is free of the file: the scanner would write over it.
std::optional<std::string> ChooseReportFile(const std::string& fileName);

// The "Scanner" setting as a program and the further arguments that follow
// a quoted program ("C:\Program Files\scan.exe" /NOBEEP); an unquoted
// setting is all program, blanks included.
struct TScannerCommand {
  std::string Program;
  std::string Arguments;  // as they stand, with their leading blank
};
TScannerCommand ScannerCommandOf(std::string_view scanner);

// Program (the scanner's resolved full path, in quotes), the setting's
// further arguments, FileName, Options, "/REPORT", ReportFile, separated by
// blanks. File and report are quoted so that the scanner's C runtime gives
// them back unchanged; Options stand as they are.
std::string BuildCommandLine(std::string_view program, const TPluginSettings& settings,
                             std::string_view fileName, std::string_view reportFile);

// The scanner's exit code, or -1 when the process could not be created (or
// the command line is longer than the platform allows). The caller's windows
// stay painted while it runs.
std::int32_t RunScanner(const std::string& commandLine, int showCommand);

// Exit code 0 is clean, a failed start not carried out, any other code a
// finding, named by the first report line that begins with the file and
// holds the found tag (what follows the tag and the one character after it).
class TScannerRoute final : public TScanRoute {
 public:
  TScannerRoute(TScannerCommand command, TPluginSettings settings, std::string hostDirectory)
      : command_(std::move(command)),
        settings_(std::move(settings)),
        hostDirectory_(std::move(hostDirectory)) {}
  TVerdict Check(const std::string& fileName) noexcept override;

 private:
  std::optional<TFindingReport> ReadReport(const std::string& fileName, const std::string& reportFile) const;

  const TScannerCommand command_;
  const TPluginSettings settings_;
  const std::string hostDirectory_;
};

}  // namespace tv
