#include "plugin/scan_run.h"

#include <cstring>
#include <memory>

#include "plugin/route_choice.h"
#include "plugin/settings.h"

namespace tv {

std::int32_t CheckFile(const char* fileName, char* virusName, const std::string& hostDirectory) noexcept {
  // A path cannot hold a double quote; one would break a command line apart.
  if (fileName == nullptr || *fileName == '\0' || std::strchr(fileName, '"') != nullptr)
    return kResultNotCarriedOut;
  try {
    const std::string file(fileName);
    const TPluginSettings settings = ReadScanSettings(hostDirectory);
    const std::unique_ptr<TScanRoute> route = ChooseRoute(settings, hostDirectory);
    return HandBack(file, route->Check(file), virusName, hostDirectory);
  } catch (...) {
    return kResultNotCarriedOut;
  }
}

}  // namespace tv
