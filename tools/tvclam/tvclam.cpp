#include "tools/tvclam/tvclam.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "platform/rtl/sysutils.h"
#include "platform/system/child_process.h"
#include "platform/system/command_line.h"
#include "platform/system/files.h"
#include "platform/system/module.h"
#include "platform/system/process.h"
#include "scanners/clamd/client.h"

namespace tv::clam {

namespace {

using TKind = TVerdict::TKind;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// An option of the original scanner: "/WORD", no further separator or dot.
bool IsSlashOption(const std::string& arg) {
  return arg.size() > 1 && arg[0] == '/' && arg.find_first_of("/\\.", 1) == std::string::npos;
}

// "--NAME" or "--NAME=VALUE" names the option NAME.
bool NamesOption(std::string_view arg, std::string_view name) {
  return StartsWith(arg, name) && (arg.size() == name.size() || arg[name.size()] == '=');
}

constexpr std::string_view kTimeoutOption = "--timeout";

// 1 to kLongestTimeout seconds in plain digits, or nothing.
std::optional<int> Seconds(const std::string& text) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const int seconds = std::stoi(text);
  if (seconds < 1 || seconds > kLongestTimeout) return std::nullopt;
  return seconds;
}

// clamscan passes as clean what it did not look into; reported instead
// (as its Heuristics.Limits.Exceeded.* and Heuristics.Encrypted.* findings)
// unless the user's options choose: an option is left out when the user
// names one of its ChosenBy spellings, or when one added before Covers it.
struct TPolicyOption {
  std::string Name;
  std::vector<std::string> ChosenBy;
  std::vector<std::string> Covers;
};

// "--alert-encrypted" overrides its two parts in clamscan; a user who chose
// for archives or documents alone keeps that choice and gets the other part.
const std::vector<TPolicyOption>& Policy() {
  static const std::vector<TPolicyOption> policy{
      {"--alert-exceeds-max", {"--alert-exceeds-max"}, {}},
      {"--alert-encrypted",
       {"--alert-encrypted", "--alert-encrypted-archive", "--alert-encrypted-doc"},
       {"--alert-encrypted-archive", "--alert-encrypted-doc"}},
      {"--alert-encrypted-archive", {"--alert-encrypted", "--alert-encrypted-archive"}, {}},
      {"--alert-encrypted-doc", {"--alert-encrypted", "--alert-encrypted-doc"}, {}},
  };
  return policy;
}

bool UserChose(const TArguments& arguments, const std::vector<std::string>& names) {
  for (const std::string& option : arguments.PassedOn)
    for (const std::string& name : names)
      if (NamesOption(option, name)) return true;
  return false;
}

// The policy's options that the user's leave standing, each "=yes".
std::vector<std::string> PolicyOptions(const TArguments& arguments) {
  std::vector<std::string> options, covered;
  for (const TPolicyOption& policy : Policy()) {
    if (UserChose(arguments, policy.ChosenBy) ||
        std::find(covered.begin(), covered.end(), policy.Name) != covered.end())
      continue;
    options.push_back(policy.Name + "=yes");
    covered.insert(covered.end(), policy.Covers.begin(), policy.Covers.end());
  }
  return options;
}

}  // namespace

std::optional<TArguments> ParseArguments(const std::vector<std::string>& args, std::string& problem) {
  TArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (IsSlashOption(arg)) {
      if (!SameText(arg, "/REPORT")) continue;  // the original scanner's, not ClamAV's
      if (i + 1 >= args.size()) {
        problem = "/REPORT needs a file name";
        return std::nullopt;
      }
      parsed.Report = args[++i];
    } else if (NamesOption(arg, "--clamd")) {
      parsed.Daemon = true;
      parsed.Servers = arg.size() > 7 ? arg.substr(8) : "";
      if (arg.size() > 7 && !clamd::ParseServerList(parsed.Servers, problem)) {
        problem = "--clamd: " + problem;
        return std::nullopt;
      }
    } else if (StartsWith(arg, "--clamscan=")) {
      parsed.Program = arg.substr(arg.find('=') + 1);
    } else if (NamesOption(arg, kTimeoutOption)) {
      const std::optional<int> seconds = Seconds(arg.substr(std::min(arg.size(), kTimeoutOption.size() + 1)));
      if (!seconds) {
        problem = "--timeout needs a whole number of seconds from 1 to " + std::to_string(kLongestTimeout);
        return std::nullopt;
      }
      parsed.TimeoutSeconds = *seconds;
    } else if (StartsWith(arg, "--")) {
      parsed.PassedOn.push_back(arg);
    } else {
      parsed.Files.push_back(arg);
    }
  }
  if (parsed.Files.empty()) {
    problem = "no file to scan";
    return std::nullopt;
  }
  return parsed;
}

std::vector<std::string> ClamAVOptions(const TArguments& arguments, const std::string& logPath) {
  std::vector<std::string> options{"--log=" + logPath};
  for (std::string& option : PolicyOptions(arguments)) options.push_back(std::move(option));
  // The log is tvclam's to read, its summary included.
  for (const std::string& option : arguments.PassedOn)
    if (!NamesOption(option, "--log") && option != "--no-summary") options.push_back(option);
  return options;
}

std::vector<std::vector<std::size_t>> ScanRuns(const std::vector<std::string>& files) {
  std::vector<std::vector<std::size_t>> runs(1);
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (files[i].find_first_of("\r\n") == std::string::npos)
      runs.front().push_back(i);
    else
      runs.push_back({i});
  }
  if (runs.front().empty()) runs.erase(runs.begin());
  return runs;
}

namespace {

// Every file judged as the same error.
std::vector<TVerdict> AllFailed(std::size_t count, const std::string& text) {
  return std::vector<TVerdict>(count, TVerdict{TKind::Error, text});
}

// How a ClamAV run ended.
struct TRunEnd {
  enum class TKind { Ended, NotStarted, TimedOut } Kind = TKind::NotStarted;
  int ExitCode = 0;
};

// Runs ClamAV and waits for it until the deadline, after which it is ended.
TRunEnd RunClamAV(const std::string& program, const std::vector<std::string>& options,
                  const std::vector<std::string>& files, const sys::TDeadline& deadline) {
  std::string line = "\"" + program + "\"";
  const auto append = [&line](const std::string& argument) {
    line += ' ';
    line += sys::QuoteArgument(argument);
  };
  for (const std::string& option : options) append(option);
  // A name that begins like an option is made a path.
  for (const std::string& file : files) append(file[0] == '-' ? "./" + file : file);
  sys::TChildProcess clamav(line, sys::kSwHide);
  if (!clamav.Started()) return {};
  const sys::TChildProcess::TEnd waited = clamav.Wait(&deadline);
  // Nothing ClamAV holds outlives the run, whatever ended the wait; after a
  // failed wait the code is that of the ended process, an error as any other.
  if (waited != sys::TChildProcess::TEnd::Ended) clamav.End();
  TRunEnd end;
  end.Kind = waited == sys::TChildProcess::TEnd::TimedOut ? TRunEnd::TKind::TimedOut : TRunEnd::TKind::Ended;
  end.ExitCode = static_cast<int>(clamav.ExitCode());
  return end;
}

// ClamAV's log of one run: a new file of tvclam's own in the temporary
// folder, never one that somebody put there, removed when the run is judged.
class TRunLog {
 public:
  TRunLog() : path_(sys::CreateTempFile("tvclam-")) {}
  ~TRunLog() {
    if (!path_.empty()) sys::DeleteFileAt(path_);
  }
  TRunLog(const TRunLog&) = delete;
  TRunLog& operator=(const TRunLog&) = delete;

  const std::string& Path() const { return path_; }
  std::string Text() const {
    std::string text;
    sys::ReadWholeFile(path_, text);
    return text;
  }

 private:
  const std::string path_;
};

// One run's verdicts, for the files as ClamAV was given them.
std::vector<TVerdict> ScanRun(const std::string& program, const std::string& name,
                              const TArguments& arguments, const std::vector<std::string>& files,
                              const sys::TDeadline& deadline) {
  const auto all = [&](const std::string& text) { return AllFailed(files.size(), text); };
  const TRunLog log;
  if (log.Path().empty()) return all("cannot create ClamAV's log in the temporary folder");
  if (deadline.Passed()) return all("timed out");
  const TRunEnd end = RunClamAV(program, ClamAVOptions(arguments, log.Path()), files, deadline);
  switch (end.Kind) {
    case TRunEnd::TKind::NotStarted: return all(name + " could not be started");
    case TRunEnd::TKind::TimedOut: return all("timed out");
    case TRunEnd::TKind::Ended: break;
  }
  return Judge(files, log.Text(), end.ExitCode, name);
}

// The addresses a clamd configuration file listens on, as a server list.
std::string ConfiguredServers(const std::string& text) {
  std::string local, tcpPort, tcpAddress = "127.0.0.1";
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(at, end - at);
    at = end + 1;
    const std::size_t blank = line.find_first_of(" \t");
    if (blank == std::string::npos || line[0] == '#') continue;
    const std::string key = line.substr(0, blank);
    const std::size_t from = line.find_first_not_of(" \t", blank);
    const std::string value =
        from == std::string::npos ? "" : line.substr(from, line.find_last_not_of(" \t") + 1 - from);
    if (key == "LocalSocket") local = value;
    if (key == "TCPSocket") tcpPort = value;
    if (key == "TCPAddr") tcpAddress = value.find(':') != std::string::npos ? "[" + value + "]" : value;
  }
  std::string servers = local;
  if (!tcpPort.empty()) servers += (servers.empty() ? "" : ",") + tcpAddress + ":" + tcpPort;
  return servers;
}

// A daemon's verdict on one file, as ClamAV's own route gives it.
TVerdict DaemonVerdict(const std::string& file, const std::vector<clamd::TServerAddress>& servers,
                       int seconds) {
  clamd::TClientOptions options;
  options.AnswerTimeoutMs = static_cast<std::uint32_t>(seconds) * 1000u;
  const clamd::TScanResult result = clamd::ScanFile(file, servers, options);
  switch (result.Kind) {
    case clamd::TScanResult::TKind::Clean: return {TKind::Clean, ""};
    case clamd::TScanResult::TKind::Found: return {TKind::Found, result.Text};
    case clamd::TScanResult::TKind::Error: break;
  }
  return {TKind::Error, result.Text};
}

// Every file through clamscan, in as few runs as ClamAV can answer
// unambiguously, all within one time limit.
std::vector<TVerdict> ClamscanVerdicts(const TArguments& arguments, int seconds) {
  const std::string name = "clamscan";
  const sys::TDeadline deadline{std::chrono::seconds(seconds)};
  // Beside tvclam first, then the system's folders and the search path.
  const std::string wanted = arguments.Program.empty() ? name : arguments.Program;
  const std::string program = sys::FindProgram(wanted, sys::HostExecutableDirectory());
  // ClamAV is given each file's resolved full name: its answers name the
  // files exactly so, whatever ClamAV's folder.
  std::vector<std::string> resolved;
  for (const std::string& file : arguments.Files) resolved.push_back(sys::ResolvedPath(file));
  std::vector<TVerdict> verdicts(arguments.Files.size());
  for (const std::vector<std::size_t>& run : ScanRuns(resolved)) {
    std::vector<std::string> files;
    for (std::size_t i : run) files.push_back(resolved[i]);
    const std::vector<TVerdict> judged = program.empty() ? AllFailed(run.size(), wanted + " not found")
                                                         : ScanRun(program, name, arguments, files, deadline);
    for (std::size_t k = 0; k < run.size(); ++k) verdicts[run[k]] = judged[k];
  }
  return verdicts;
}

// Every file streamed to the daemon, which never sees its name: the file
// is opened here, where links are followed.
std::vector<TVerdict> DaemonVerdicts(const TArguments& arguments, int seconds) {
  std::string problem;
  const std::optional<std::vector<clamd::TServerAddress>> servers = DaemonServers(arguments, problem);
  if (!servers) return AllFailed(arguments.Files.size(), problem);
  std::vector<TVerdict> verdicts;
  for (const std::string& file : arguments.Files) verdicts.push_back(DaemonVerdict(file, *servers, seconds));
  return verdicts;
}

bool WriteReport(const std::string& path, const std::string& text) {
  std::FILE* report = std::fopen(path.c_str(), "wb");
  if (report == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), report) == text.size();
  return std::fclose(report) == 0 && written;
}

}  // namespace

std::optional<std::vector<clamd::TServerAddress>> DaemonServers(const TArguments& arguments,
                                                                std::string& problem) {
  std::string list = arguments.Servers;
  for (const std::string& option : arguments.PassedOn) {
    if (!list.empty() || !NamesOption(option, "--config-file") || option.size() < 15) continue;
    const std::string path = option.substr(14);
    std::string text;
    if (!sys::ReadWholeFile(path, text)) {
      problem = "cannot read the daemon's configuration " + path;
      return std::nullopt;
    }
    list = ConfiguredServers(text);
    if (list.empty()) {
      problem = path + " names no LocalSocket or TCPSocket";
      return std::nullopt;
    }
  }
  // Where Debian's and other packages put the daemon's socket.
  for (const char* socket : {"/run/clamav/clamd.ctl", "/var/run/clamav/clamd.ctl"})
    if (list.empty() && sys::FileExists(socket)) list = socket;
  if (list.empty()) list = "127.0.0.1:3310";
  return clamd::ParseServerList(list, problem);
}

int Run(const std::vector<std::string>& args) {
  std::string problem;
  const std::optional<TArguments> arguments = ParseArguments(args, problem);
  if (!arguments) {
    std::fprintf(stderr, "tvclam: %s\nusage: tvclam FILE [OPTIONS...] /REPORT REPORTFILE\n", problem.c_str());
    return kExitError;
  }
  const int seconds = arguments->TimeoutSeconds != 0
                          ? arguments->TimeoutSeconds
                          : (arguments->Daemon ? kDaemonTimeout : kClamscanTimeout);
  const std::vector<TVerdict> verdicts =
      arguments->Daemon ? DaemonVerdicts(*arguments, seconds) : ClamscanVerdicts(*arguments, seconds);
  const std::string report = ReportText(arguments->Files, verdicts);
  std::fputs(report.c_str(), stdout);
  if (!arguments->Report.empty() && !WriteReport(arguments->Report, report)) {
    std::fprintf(stderr, "tvclam: cannot write the report %s\n", arguments->Report.c_str());
    return kExitError;
  }
  return ExitCode(verdicts);
}

}  // namespace tv::clam
