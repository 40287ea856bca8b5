#include "plugin/daemon_check.h"

#include "platform/system/process.h"
#include "plugin/scan_log.h"
#include "plugin/scan_run.h"
#include "plugin/settings.h"
#include "scanners/clamd/client.h"

namespace tv {

namespace {

constexpr std::string_view kScheme = "clamd://";

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    const char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] + 32) : text[i];
    if (c != prefix[i]) return false;
  }
  return true;
}

// The text and the log line, as a scanner's report line with the default
// tag would give them. The daemon has told of the finding: no failure here
// may change the result.
void TakeDaemonFinding(const std::string& fileName, const std::string& name, char* virusName,
                       const std::string& hostDirectory) noexcept {
  try {
    if (virusName != nullptr) CopyVirusText("\n" + fileName + "\n" + name, virusName);
    WriteLog(hostDirectory, fileName + " ... " + kDefaultFoundTag + name);
  } catch (...) {
  }
}

}  // namespace

std::optional<std::string> DaemonServersOf(std::string_view scanner) {
  if (!StartsWithIgnoringCase(scanner, kScheme)) return std::nullopt;
  return std::string(scanner.substr(kScheme.size()));
}

std::int32_t CheckWithDaemon(const std::string& fileName, const std::string& servers, char* virusName,
                             const std::string& hostDirectory) noexcept {
  try {
    std::string problem;
    const std::optional<std::vector<clamd::TServerAddress>> list = clamd::ParseServerList(servers, problem);
    if (!list) return kResultNotCarriedOut;
    clamd::TClientOptions options;
    options.Idle = [] { sys::DispatchPaintMessages(); };
    const clamd::TScanResult result = clamd::ScanFile(fileName, *list, options);
    if (result.Kind == clamd::TScanResult::TKind::Clean) return kResultOk;
    if (result.Kind == clamd::TScanResult::TKind::Error) return kResultNotCarriedOut;
    TakeDaemonFinding(fileName, result.Text, virusName, hostDirectory);
    return kResultFinding;
  } catch (...) {
    return kResultNotCarriedOut;
  }
}

}  // namespace tv
