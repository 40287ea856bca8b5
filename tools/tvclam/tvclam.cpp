#include "tools/tvclam/tvclam.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "platform/system/command_line.h"
#include "platform/system/files.h"
#include "platform/system/module.h"
#include "platform/system/process.h"

namespace tv::clam {

namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// An option of the original scanner: "/WORD", no further separator or dot.
bool IsSlashOption(const std::string& arg) {
  return arg.size() > 1 && arg[0] == '/' && arg.find_first_of("/\\.", 1) == std::string::npos;
}

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    if (end > at) lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

}  // namespace

std::optional<TArguments> ParseArguments(const std::vector<std::string>& args, std::string& problem) {
  TArguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (IsSlashOption(arg)) {
      if (Upper(arg) != "/REPORT") continue;  // the original scanner's, not ClamAV's
      if (i + 1 >= args.size()) {
        problem = "/REPORT needs a file name";
        return std::nullopt;
      }
      parsed.Report = args[++i];
    } else if (arg == "--clamd") {
      parsed.Daemon = true;
    } else if (StartsWith(arg, "--clamscan=") || StartsWith(arg, "--clamdscan=")) {
      parsed.Program = arg.substr(arg.find('=') + 1);
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

std::vector<TVerdict> Judge(const std::vector<std::string>& files, const std::string& log, int exitCode,
                            const std::string& program) {
  using TKind = TVerdict::TKind;
  std::vector<TVerdict> verdicts(files.size());
  std::string general;  // an error of ClamAV's own, not of a file
  for (std::string line : Lines(log)) {
    // "WARNING: FILE: TEXT" (a file ClamAV could not open) is that file's
    // error, as "FILE: TEXT ERROR" is.
    for (const std::string level : {"WARNING: ", "ERROR: "})
      for (const std::string& file : files)
        if (StartsWith(line, level + file + ": ")) line = line.substr(level.size()) + " ERROR";
    std::size_t file = files.size();
    for (std::size_t i = 0; i < files.size() && file == files.size(); ++i)
      if (StartsWith(line, files[i] + ": ")) file = i;
    // A file's lines name it as it was given; an archive's members follow
    // its name with their own.
    if (file == files.size() && files.size() == 1 && line.find(": ") != std::string::npos &&
        (EndsWith(line, " FOUND") || EndsWith(line, " ERROR")))
      file = 0;
    if (file == files.size()) {
      if (general.empty() && (StartsWith(line, "ERROR: ") || line.find("Error: ") != std::string::npos))
        general = StartsWith(line, "ERROR: ") ? line.substr(7) : line;
      continue;
    }
    // After the name as given (which may hold ": " itself), or an archive
    // member's name.
    const std::string said = StartsWith(line, files[file] + ": ") ? line.substr(files[file].size() + 2)
                                                                  : line.substr(line.find(": ") + 2);
    TVerdict& verdict = verdicts[file];
    if (EndsWith(said, " FOUND") && verdict.Kind != TKind::Error) {
      verdict = {TKind::Found, said.substr(0, said.size() - 6)};
    } else if (EndsWith(said, " ERROR")) {
      std::string text = said.substr(0, said.size() - 6);
      while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.pop_back();
      verdict = {TKind::Error, text};
    }
  }
  const bool anyFound =
      std::any_of(verdicts.begin(), verdicts.end(), [](const TVerdict& v) { return v.Kind == TKind::Found; });
  for (TVerdict& verdict : verdicts) {
    const bool contradicts = (exitCode == 0 && verdict.Kind == TKind::Found) ||
                             (exitCode == 1 && !anyFound && verdict.Kind == TKind::Clean);
    if (exitCode != 0 && exitCode != 1 && verdict.Kind != TKind::Error)
      verdict = {TKind::Error,
                 !general.empty() ? general : program + " ended with exit code " + std::to_string(exitCode)};
    else if (contradicts)
      verdict = {TKind::Error, program + " ended with exit code " + std::to_string(exitCode) +
                                   (exitCode == 0 ? " but named a finding" : " without naming a finding")};
  }
  return verdicts;
}

std::string ReportText(const std::vector<std::string>& files, const std::vector<TVerdict>& verdicts) {
  std::string text;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (verdicts[i].Kind == TVerdict::TKind::Clean) continue;
    text += files[i] + " ... Found the ";
    if (verdicts[i].Kind == TVerdict::TKind::Error) text += "scanner error: ";
    text += verdicts[i].Text + "\r\n";
  }
  return text;
}

int ExitCode(const std::vector<TVerdict>& verdicts) {
  int code = kExitClean;
  for (const TVerdict& verdict : verdicts) {
    if (verdict.Kind == TVerdict::TKind::Error) return kExitError;
    if (verdict.Kind == TVerdict::TKind::Found) code = kExitFinding;
  }
  return code;
}

namespace {

// Every file judged as the same error.
std::vector<TVerdict> AllFailed(std::size_t count, const std::string& text) {
  return std::vector<TVerdict>(count, TVerdict{TVerdict::TKind::Error, text});
}

// ClamAV's exit code with its log in LogPath, or nothing when it could not
// be started.
std::optional<int> RunClamAV(const std::string& program, const TArguments& arguments,
                             const std::string& logPath) {
  std::string line = "\"" + program + "\" --no-summary " + sys::QuoteArgument("--log=" + logPath);
  for (const std::string& option : arguments.PassedOn) line += " " + sys::QuoteArgument(option);
  // A name that begins like an option is made a path.
  for (const std::string& file : arguments.Files)
    line += " " + sys::QuoteArgument(file[0] == '-' ? "./" + file : file);
  if (line.size() + 1 > sys::kMaxCommandLine) return std::nullopt;
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back('\0');
  sys::TProcessInfo process;
  if (!sys::CreateChildProcess(buffer.data(), sys::kSwHide, process)) return std::nullopt;
  for (;;) {
    const std::uint32_t result = sys::MsgWaitForProcess(process);
    if (result == sys::kWaitFailed || result == sys::kWaitProcessEnded) break;
    if (result == sys::kWaitMessages) sys::DispatchPaintMessages();
  }
  const std::uint32_t code = sys::GetProcessExitCode(process);
  sys::CloseProcessHandles(process);
  return static_cast<int>(code);
}

bool WriteReport(const std::string& path, const std::string& text) {
  std::FILE* report = std::fopen(path.c_str(), "wb");
  if (report == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), report) == text.size();
  return std::fclose(report) == 0 && written;
}

}  // namespace

int Run(const std::vector<std::string>& args) {
  std::string problem;
  const std::optional<TArguments> arguments = ParseArguments(args, problem);
  if (!arguments) {
    std::fprintf(stderr, "tvclam: %s\nusage: tvclam FILE [OPTIONS...] /REPORT REPORTFILE\n", problem.c_str());
    return kExitError;
  }
  const std::string name = arguments->Daemon ? "clamdscan" : "clamscan";
  // Beside tvclam first, then the system's folders and the search path.
  const std::string program = sys::FindProgram(arguments->Program.empty() ? name : arguments->Program,
                                               sys::HostExecutableDirectory());
  // ClamAV's log beside the report (or the first file), read and removed.
  const std::string logPath =
      (arguments->Report.empty() ? arguments->Files[0] : arguments->Report) + ".clamav";
  std::vector<TVerdict> verdicts;
  if (program.empty()) {
    verdicts = AllFailed(arguments->Files.size(),
                         (arguments->Program.empty() ? name : arguments->Program) + " not found");
  } else if (const std::optional<int> code = RunClamAV(program, *arguments, logPath)) {
    std::string log;
    sys::ReadWholeFile(logPath, log);
    verdicts = Judge(arguments->Files, log, *code, name);
  } else {
    verdicts = AllFailed(arguments->Files.size(), name + " could not be started");
  }
  sys::DeleteFileAt(logPath);
  const std::string report = ReportText(arguments->Files, verdicts);
  std::fputs(report.c_str(), stdout);
  if (!arguments->Report.empty() && !WriteReport(arguments->Report, report)) {
    std::fprintf(stderr, "tvclam: cannot write the report %s\n", arguments->Report.c_str());
    return kExitError;
  }
  return ExitCode(verdicts);
}

}  // namespace tv::clam
