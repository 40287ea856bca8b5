#pragma once

#include <string>

namespace tv::sys {

// Directory of the running process's main executable, up to and including
// its last path separator.
std::string HostExecutableDirectory();

// A function the running process's main program exports under Name, or
// null: how a library asks the program that loaded it for an offer that
// only some programs make (a mail client makes none).
void* HostProgramExport(const char* name);

}  // namespace tv::sys
