#pragma once
// The name of the user the process runs for.

#include <optional>
#include <string>

namespace tv::sys {

// GetUserNameA into 256 characters on Windows; the account of the effective
// user on POSIX. None when the system cannot tell.
std::optional<std::string> UserName();

}  // namespace tv::sys
