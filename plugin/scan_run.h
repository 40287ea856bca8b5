#pragma once
// The check of one file: run the scanner on it, judge its exit code, and
// after a finding take the finding's text from the scanner's report.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system/process.h"
#include "plugin/settings.h"

namespace tv {

// Result codes of the exported interface.
inline constexpr std::int32_t kResultOk = 0;
inline constexpr std::int32_t kResultFinding = 1;
inline constexpr std::int32_t kResultNotSupported = -1;
inline constexpr std::int32_t kResultNotCarriedOut = -3;

// The host's finding buffer: its other anti-virus plug-ins rely on 1,024
// bytes, so the text is cut to 1,023 characters and a NUL.
inline constexpr std::size_t kVirusNameCapacity = 1024;

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
// the command line is longer than the platform allows).
std::int32_t RunScanner(const std::string& commandLine, int showCommand);

// Returns when the process has ended or the wait fails; paint and sent
// messages for the caller's windows are handled meanwhile.
void WaitForProcess(sys::TProcessInfo& process);

// Text with its NUL into the host's buffer, cut to kVirusNameCapacity.
void CopyVirusText(const std::string& text, char* virusName);

// "\n" FileName "\n" and what follows the tag and the one character after it.
std::string FormatVirusText(std::string_view fileName, std::string_view line, std::size_t tagPosition,
                            std::size_t tagLength);

// Checks FileName with the settings and log in HostDirectory. Writes the
// finding's text into VirusName (at most kVirusNameCapacity bytes) only when
// the report names the finding. Returns 0 clean, 1 finding, -3 not carried
// out. Never throws.
std::int32_t CheckFile(const char* fileName, char* virusName, const std::string& hostDirectory) noexcept;

}  // namespace tv
