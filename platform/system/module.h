#pragma once

#include <string>

namespace tv::sys {

// Directory of the running process's main executable, up to and including
// its last path separator.
std::string HostExecutableDirectory();

}  // namespace tv::sys
