#pragma once
// ClamAV's daemon's route: the "Scanner" setting "clamd://ADDRESS[,ADDRESS...]"
// streams the file to the first daemon that answers, instead of starting a
// scanner. No process, no report file; Hide, Options and FoundTag do not
// apply.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "plugin/scan_route.h"

namespace tv {

// The server list of a "clamd://" setting (scheme in any letter case), or
// nothing for any other setting.
std::optional<std::string> DaemonServersOf(std::string_view scanner);

// Clean; a finding named by the daemon (NamedFinding); not carried out for
// an unusable server list, a file that cannot be read, an error or no
// answering server.
class TDaemonRoute final : public TScanRoute {
 public:
  explicit TDaemonRoute(std::string servers) : servers_(std::move(servers)) {}
  TVerdict Check(const std::string& fileName) noexcept override;

 private:
  const std::string servers_;
};

// The route's check handed back as every check is (HandBack).
std::int32_t CheckWithDaemon(const std::string& fileName, const std::string& servers, char* virusName,
                             const std::string& hostDirectory) noexcept;

}  // namespace tv
