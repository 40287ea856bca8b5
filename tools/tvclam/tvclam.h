#pragma once
// tvclam: ClamAV behind the scanner contract. The plug-in runs
//   tvclam FILE [OPTIONS...] /REPORT REPORTFILE
// and tvclam runs ClamAV's clamscan (or clamdscan against a running clamd)
// on FILE, then answers as the contract asks: exit 0 and an empty report
// for a clean file; exit 13 and a line "FILE ... Found the NAME" per
// finding; exit 2 and "FILE ... Found the scanner error: TEXT" when ClamAV
// could not decide, so that a failed scan is never taken for a clean file.

#include <optional>
#include <string>
#include <vector>

namespace tv::clam {

constexpr int kExitClean = 0;
constexpr int kExitError = 2;
constexpr int kExitFinding = 13;

struct TArguments {
  std::vector<std::string> Files;
  std::string Report;                 // empty: none asked for
  bool Daemon = false;                // --clamd: clamdscan against clamd
  std::string Program;                // --clamscan=PATH or --clamdscan=PATH
  std::vector<std::string> PassedOn;  // other "--" options, for ClamAV
};

// The contract's command line. The original scanner's options ("/MIME",
// "/UNZIP", any "/WORD") mean nothing to ClamAV and are dropped; "/REPORT"
// takes the next argument. On POSIX a rooted path also begins with "/": an
// argument with a further separator or a dot is a file. Nothing, with the
// reason in Problem, for a command line without file.
std::optional<TArguments> ParseArguments(const std::vector<std::string>& args, std::string& problem);

// What ClamAV said of one file.
struct TVerdict {
  enum class TKind { Clean, Found, Error } Kind = TKind::Clean;
  std::string Text;  // the signature name, or the error
};

// The verdicts of Files from ClamAV's log lines ("PATH: NAME FOUND",
// "PATH: TEXT ERROR", "PATH: OK") and its exit code (0 clean, 1 a finding,
// anything else an error). A file ClamAV did not name takes the exit code's
// meaning; an exit code that contradicts the lines is an error.
std::vector<TVerdict> Judge(const std::vector<std::string>& files, const std::string& log, int exitCode,
                            const std::string& program);

// The report's lines, each ended by CR LF, and the contract's exit code.
std::string ReportText(const std::vector<std::string>& files, const std::vector<TVerdict>& verdicts);
int ExitCode(const std::vector<TVerdict>& verdicts);

// Runs the whole command; returns the exit code.
int Run(const std::vector<std::string>& args);

}  // namespace tv::clam
