#pragma once
// One way of checking a file (a command-line scanner, ClamAV's daemon,
// Windows' Defender), as the check of a file sees it: a route checks one
// file and answers a verdict; handing it back to the host and logging it is
// the caller's.

#include <cstdint>
#include <optional>
#include <string>

namespace tv {

// A finding whose names are known: what follows the file in the host's text,
// and the line that the log gets for it.
struct TFindingReport {
  std::string Names;
  std::string LogLine;
};

struct TVerdict {
  enum class TKind { Clean, Finding, NotCarriedOut };
  TKind Kind = TKind::NotCarriedOut;
  // A finding without a report (a scanner's report that names nothing) is
  // still a finding: the host gets no text and the log no line.
  std::optional<TFindingReport> Report;
  std::string Why;  // not carried out: why, for people reading a trace

  static TVerdict Clean() { return {TKind::Clean, std::nullopt, {}}; }
  static TVerdict Finding(std::optional<TFindingReport> report) {
    return {TKind::Finding, std::move(report), {}};
  }
  static TVerdict NotCarriedOut(std::string why) {
    return {TKind::NotCarriedOut, std::nullopt, std::move(why)};
  }
};

class TScanRoute {
 public:
  virtual ~TScanRoute() = default;
  // Waits for its answer with the caller's windows kept painted. Never
  // throws: whatever goes wrong is an answer not carried out.
  virtual TVerdict Check(const std::string& fileName) noexcept = 0;
};

// A finding named by a route that reads no report, formed as a scanner's
// report line with the default tag would give it: the names, and the log
// line FileName " ... Found the " Names.
TFindingReport NamedFinding(const std::string& fileName, const std::string& names);

// The verdict as the host gets it: its result code, and after a finding with
// a report the text (FindingText) in VirusName when one is given, and the
// report's line in the log. A failure there never changes the result.
std::int32_t HandBack(const std::string& fileName, const TVerdict& verdict, char* virusName,
                      const std::string& hostDirectory) noexcept;

}  // namespace tv
