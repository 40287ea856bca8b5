#include "platform/system/registry.h"

namespace tv::sys {

std::optional<std::string> MachineText64(const std::string&, const std::string&) {
  return std::nullopt;
}

}  // namespace tv::sys
