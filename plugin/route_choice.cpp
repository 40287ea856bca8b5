#include "plugin/route_choice.h"

#include <optional>

#include "plugin/daemon_check.h"
#include "plugin/defender_route.h"

namespace tv {

TScannerSetting ParseScannerSetting(std::string_view scanner) {
  TScannerSetting setting;
  if (std::optional<std::string> servers = DaemonServersOf(scanner)) {
    setting.Route = TScannerSetting::TRoute::Daemon;
    setting.Servers = std::move(*servers);
  } else if (std::optional<std::string> program = DefenderProgramOf(scanner)) {
    setting.Route = TScannerSetting::TRoute::Defender;
    setting.Program = std::move(*program);
  } else {
    setting.Command = ScannerCommandOf(scanner);
  }
  return setting;
}

std::unique_ptr<TScanRoute> ChooseRoute(const TPluginSettings& settings, const std::string& hostDirectory) {
  TScannerSetting setting = ParseScannerSetting(settings.Scanner);
  switch (setting.Route) {
    case TScannerSetting::TRoute::Daemon: return std::make_unique<TDaemonRoute>(std::move(setting.Servers));
    case TScannerSetting::TRoute::Defender:
      return std::make_unique<TDefenderRoute>(std::move(setting.Program));
    case TScannerSetting::TRoute::Scanner: break;
  }
  return std::make_unique<TScannerRoute>(std::move(setting.Command), settings, hostDirectory);
}

}  // namespace tv
