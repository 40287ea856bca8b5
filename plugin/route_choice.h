#pragma once
// Which route checks a file, chosen once from the "Scanner" setting.

#include <memory>
#include <string>
#include <string_view>

#include "plugin/scan_route.h"
#include "plugin/scanner_route.h"
#include "plugin/settings.h"

namespace tv {

// The "Scanner" setting taken apart once.
struct TScannerSetting {
  enum class TRoute { Scanner, Daemon, Defender };
  TRoute Route = TRoute::Scanner;
  TScannerCommand Command;  // Scanner: the program and its further arguments
  std::string Servers;      // Daemon: the server list after "clamd://"
  std::string Program;      // Defender: the program after "defender:", empty to find it
};
TScannerSetting ParseScannerSetting(std::string_view scanner);

// The route for these settings, the host's folder being HostDirectory.
std::unique_ptr<TScanRoute> ChooseRoute(const TPluginSettings& settings, const std::string& hostDirectory);

}  // namespace tv
