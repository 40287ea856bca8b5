#include "plugin/daemon_check.h"

#include "platform/rtl/sysutils.h"
#include "platform/system/process.h"
#include "scanners/clamd/client.h"

namespace tv {

namespace {

constexpr std::string_view kScheme = "clamd://";

}  // namespace

std::optional<std::string> DaemonServersOf(std::string_view scanner) {
  if (!StartsText(kScheme, scanner)) return std::nullopt;
  return std::string(scanner.substr(kScheme.size()));
}

TVerdict TDaemonRoute::Check(const std::string& fileName) noexcept {
  try {
    std::string problem;
    const std::optional<std::vector<clamd::TServerAddress>> list = clamd::ParseServerList(servers_, problem);
    if (!list) return TVerdict::NotCarriedOut(problem);
    clamd::TClientOptions options;
    options.Idle = [] { sys::DispatchPaintMessages(); };
    const clamd::TScanResult result = clamd::ScanFile(fileName, *list, options);
    if (result.Kind == clamd::TScanResult::TKind::Clean) return TVerdict::Clean();
    if (result.Kind == clamd::TScanResult::TKind::Error) return TVerdict::NotCarriedOut(result.Text);
    return TVerdict::Finding(NamedFinding(fileName, result.Text));
  } catch (...) {
    return TVerdict::NotCarriedOut("check failed");  // short: no allocation while failing
  }
}

std::int32_t CheckWithDaemon(const std::string& fileName, const std::string& servers, char* virusName,
                             const std::string& hostDirectory) noexcept {
  return HandBack(fileName, TDaemonRoute(servers).Check(fileName), virusName, hostDirectory);
}

}  // namespace tv
