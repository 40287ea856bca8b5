#pragma once
// The process's environment variables, which child processes and the
// libraries the process loads see too.

#include <string>

namespace tv::sys {

// False when the system refuses (a name with "=" among them).
bool SetEnvironmentValue(const std::string& name, const std::string& value);

}  // namespace tv::sys
