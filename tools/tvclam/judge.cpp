// ClamAV's log read as verdicts, and the verdicts written as the contract's
// report and exit code.

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "tools/tvclam/tvclam.h"

namespace tv::clam {

namespace {

using TKind = TVerdict::TKind;
constexpr std::size_t kNoFile = static_cast<std::size_t>(-1);

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// One answer of ClamAV's log: the file it names (kNoFile when none) and
// what it says after the name, or the whole line.
struct TAnswer {
  std::size_t File = kNoFile;
  std::string Said;
};

// The longest file whose whole name, followed by ": ", begins Text. Names are
// compared as they stand, line breaks included, so that an answer is read
// from where the name ends and not from the first ": " in it.
std::size_t NamedFile(const std::vector<std::string>& files, std::string_view text) {
  std::size_t best = kNoFile;
  for (std::size_t i = 0; i < files.size(); ++i)
    if (StartsWith(text, files[i]) && StartsWith(text.substr(files[i].size()), ": ") &&
        (best == kNoFile || files[i].size() > files[best].size()))
      best = i;
  return best;
}

// The log taken apart into answers, line by line. "WARNING: NAME: TEXT" and
// "ERROR: NAME: TEXT" (ClamAV 1.4 on a file it cannot open) are that file's
// error, as "NAME: TEXT ERROR" is.
std::vector<TAnswer> Answers(const std::vector<std::string>& files, std::string_view log) {
  std::vector<TAnswer> answers;
  std::size_t at = 0;
  while (at < log.size()) {
    if (log[at] == '\r' || log[at] == '\n') {
      ++at;
      continue;
    }
    const std::string_view rest = log.substr(at);
    // A file's own name first: a file may be called "WARNING: ..." too.
    std::size_t from = 0;
    if (NamedFile(files, rest) == kNoFile)
      for (const std::string_view level : {"WARNING: ", "ERROR: "})
        if (StartsWith(rest, level) && NamedFile(files, rest.substr(level.size())) != kNoFile)
          from = level.size();
    const bool leveled = from > 0;
    TAnswer answer;
    answer.File = NamedFile(files, rest.substr(from));
    if (answer.File != kNoFile) from += files[answer.File].size() + 2;
    const std::size_t end = std::min(rest.find_first_of("\r\n", from), rest.size());
    answer.Said = std::string(rest.substr(from, end - from));
    if (leveled) answer.Said += " ERROR";
    answers.push_back(std::move(answer));
    at += end;
  }
  return answers;
}

// An answer that names no file as given but says FOUND or ERROR after a
// name: in a run of one file it can only be that file's (an archive member
// after the archive's name); in a run of several it is pinned on none.
bool IsVerdictLine(const std::string& line) {
  return line.find(": ") != std::string::npos && (EndsWith(line, " FOUND") || EndsWith(line, " ERROR"));
}

// The summary's count of loaded signatures, when the log holds it.
std::optional<long> KnownViruses(const std::string& line) {
  static constexpr std::string_view kLabel = "Known viruses: ";
  if (!StartsWith(line, kLabel) || line.size() == kLabel.size()) return std::nullopt;
  const std::string digits = line.substr(kLabel.size());
  if (digits.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  return std::strtol(digits.c_str(), nullptr, 10);
}

void Take(TVerdict& verdict, const std::string& said) {
  if (EndsWith(said, " FOUND") && verdict.Kind != TKind::Error) {
    verdict = {TKind::Found, said.substr(0, said.size() - 6)};
  } else if (EndsWith(said, " ERROR")) {
    std::string text = said.substr(0, said.size() - 6);
    while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.pop_back();
    verdict = {TKind::Error, text};
  }
}

// What the exit code means for a verdict the lines gave: an error exit
// leaves no file clean; a finding under exit 0, or exit 1 without
// any finding, contradicts itself.
void CheckAgainstExitCode(std::vector<TVerdict>& verdicts, int exitCode, const std::string& general,
                          const std::string& program) {
  const bool anyFound =
      std::any_of(verdicts.begin(), verdicts.end(), [](const TVerdict& v) { return v.Kind == TKind::Found; });
  const std::string ended = program + " ended with exit code " + std::to_string(exitCode);
  for (TVerdict& verdict : verdicts) {
    if (verdict.Kind == TKind::Error) continue;
    if (exitCode != 0 && exitCode != 1) {
      // A finding ClamAV named stays one: another file's failure made the code.
      if (verdict.Kind == TKind::Clean) verdict = {TKind::Error, !general.empty() ? general : ended};
    } else if (exitCode == 0 && verdict.Kind == TKind::Found)
      verdict = {TKind::Error, ended + " but named a finding"};
    else if (exitCode == 1 && !anyFound)
      verdict = {TKind::Error, ended + " without naming a finding"};
  }
}

}  // namespace

std::vector<TVerdict> Judge(const std::vector<std::string>& files, const std::string& log, int exitCode,
                            const std::string& program) {
  std::vector<TVerdict> verdicts(files.size());
  std::string general;   // an error of ClamAV's own, not of a file
  std::string unpinned;  // a finding that names none of the files
  std::optional<long> signatures;
  for (TAnswer& answer : Answers(files, log)) {
    if (answer.File == kNoFile && files.size() == 1 && IsVerdictLine(answer.Said)) {
      answer.File = 0;
      answer.Said = answer.Said.substr(answer.Said.find(": ") + 2);
    }
    if (answer.File != kNoFile) {
      Take(verdicts[answer.File], answer.Said);
      continue;
    }
    const std::string& line = answer.Said;
    if (const std::optional<long> count = KnownViruses(line)) signatures = count;
    if (unpinned.empty() && EndsWith(line, " FOUND")) unpinned = line;
    if (general.empty() && (StartsWith(line, "ERROR: ") || line.find("Error: ") != std::string::npos))
      general = StartsWith(line, "ERROR: ") ? line.substr(7) : line;
  }
  // Nothing was looked for: every answer of such a run means nothing.
  if (signatures == 0L)
    return std::vector<TVerdict>(files.size(), TVerdict{TKind::Error, "no signatures loaded"});
  CheckAgainstExitCode(verdicts, exitCode, general, program);
  if (!unpinned.empty())
    for (TVerdict& verdict : verdicts)
      if (verdict.Kind == TKind::Clean)
        verdict = {TKind::Error, program + " named a finding of no file it was given: " + unpinned};
  return verdicts;
}

std::string ReportText(const std::vector<std::string>& files, const std::vector<TVerdict>& verdicts) {
  std::string text;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (verdicts[i].Kind == TKind::Clean) continue;
    text += files[i] + " ... Found the ";
    if (verdicts[i].Kind == TKind::Error) text += "scanner error: ";
    text += verdicts[i].Text + "\r\n";
  }
  return text;
}

int ExitCode(const std::vector<TVerdict>& verdicts) {
  int code = kExitClean;
  for (const TVerdict& verdict : verdicts) {
    if (verdict.Kind == TKind::Error) return kExitError;
    if (verdict.Kind == TKind::Found) code = kExitFinding;
  }
  return code;
}

}  // namespace tv::clam
