#pragma once
// tvclam: ClamAV behind the scanner contract. The plug-in runs
//   tvclam FILE [OPTIONS...] /REPORT REPORTFILE
// and tvclam runs ClamAV's clamscan on FILE, or with --clamd streams it to
// ClamAV's daemon (scanners/clamd), then answers as the contract asks: exit 0 and an empty report
// for a clean file; exit 13 and a line "FILE ... Found the NAME" per
// finding; exit 2 and "FILE ... Found the scanner error: TEXT" when ClamAV
// could not decide, so that a failed scan is never taken for a clean file:
// a database without signatures, a scan that does not end in time, and
// content ClamAV did not look into (beyond its limits, encrypted) included.

#include <optional>
#include <string>
#include <vector>

#include "scanners/clamd/address.h"

namespace tv::clam {

constexpr int kExitClean = 0;
constexpr int kExitError = 2;
constexpr int kExitFinding = 13;

// How long a route may take before its program is ended, in seconds.
constexpr int kClamscanTimeout = 300;
constexpr int kDaemonTimeout = 120;
constexpr int kLongestTimeout = 86400;

struct TArguments {
  std::vector<std::string> Files;
  std::string Report;                 // empty: none asked for
  bool Daemon = false;                // --clamd[=SERVERS]: ClamAV's daemon
  std::string Servers;                // --clamd=ADDRESS[,ADDRESS...]; empty: found
  std::string Program;                // --clamscan=PATH
  int TimeoutSeconds = 0;             // --timeout=SECONDS; 0: the route's default
  std::vector<std::string> PassedOn;  // other "--" options, for ClamAV
};

// The contract's command line. The original scanner's options ("/MIME",
// "/UNZIP", any "/WORD") mean nothing to ClamAV and are dropped; "/REPORT"
// takes the next argument. On POSIX a rooted path also begins with "/": an
// argument with a further separator or a dot is a file. Nothing, with the
// reason in Problem, for a command line without file or with a bad option.
std::optional<TArguments> ParseArguments(const std::vector<std::string>& args, std::string& problem);

// The daemons to ask, in order: those of --clamd=; else those that the
// daemon's configuration named with --config-file= listens on (LocalSocket,
// TCPSocket at TCPAddr); else the local daemon's socket where one exists;
// else 127.0.0.1:3310. Nothing, with the reason in Problem, when none can be
// told.
std::optional<std::vector<clamd::TServerAddress>> DaemonServers(const TArguments& arguments,
                                                                std::string& problem);

// clamscan's options: its log in LogPath, then the policy that
// reports what ClamAV did not look into (content beyond its limits,
// encrypted content) unless the user's own options name it, then the user's
// options without those that would take the log or its summary away.
// clamscan keeps the first of two spellings of an option, so a default of
// ours is left out rather than put before the user's choice.
std::vector<std::string> ClamAVOptions(const TArguments& arguments, const std::string& logPath);

// The files' indexes in the ClamAV runs they are scanned in: names that
// ClamAV reports on one line each share one run; a name with a line break
// has a run of its own, where nothing else can be taken for its answer.
std::vector<std::vector<std::size_t>> ScanRuns(const std::vector<std::string>& files);

// What ClamAV said of one file.
struct TVerdict {
  enum class TKind { Clean, Found, Error } Kind = TKind::Clean;
  std::string Text;  // the signature name, or the error
};

// The verdicts of Files (the names exactly as ClamAV was given them) from
// ClamAV's log ("NAME: SIGNATURE FOUND", "NAME: TEXT ERROR", "WARNING:
// NAME: TEXT", the summary) and its exit code (0 clean, 1 a finding,
// anything else an error). A line is a file's when it begins with the file's
// whole name, the longest name first, so a name that is a prefix of another
// or holds ": " or a line break is never misread. A file ClamAV did not name
// takes the exit code's meaning; an exit code that contradicts the lines,
// a finding pinned on no file, and a summary of no signatures are errors.
std::vector<TVerdict> Judge(const std::vector<std::string>& files, const std::string& log, int exitCode,
                            const std::string& program);

// The report's lines, each ended by CR LF, and the contract's exit code.
std::string ReportText(const std::vector<std::string>& files, const std::vector<TVerdict>& verdicts);
int ExitCode(const std::vector<TVerdict>& verdicts);

// Runs the whole command; returns the exit code.
int Run(const std::vector<std::string>& args);

}  // namespace tv::clam
