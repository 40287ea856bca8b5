#include "platform/system/environment.h"

#include <cstdlib>

namespace tv::sys {

// The program and the plug-in share the system's C runtime, whose copy
// getenv reads; _putenv_s updates the process's block for children too.
bool SetEnvironmentValue(const std::string& name, const std::string& value) {
  return ::_putenv_s(name.c_str(), value.c_str()) == 0;
}

}  // namespace tv::sys
