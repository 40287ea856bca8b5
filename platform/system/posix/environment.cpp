#include "platform/system/environment.h"

#include <cstdlib>

namespace tv::sys {

bool SetEnvironmentValue(const std::string& name, const std::string& value) {
  return ::setenv(name.c_str(), value.c_str(), 1) == 0;
}

}  // namespace tv::sys
