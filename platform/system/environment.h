#pragma once
// The process's environment variables, as the system hands them to it.

#include <optional>
#include <string>

namespace tv::sys {

// The variable's value, or nothing when it is not set.
std::optional<std::string> EnvironmentValue(const std::string& name);

}  // namespace tv::sys
