#include <spawn.h>
#include <sys/wait.h>

#include <string>

#include "platform/system/shell.h"

extern char** environ;

namespace tv::sys {

// A shell starts the desktop's opener in the background and ends at once:
// the opener may run as long as the program it starts, the caller must not
// wait for it, and no child of ours is left unreaped. The address is an
// argument of the shell, never part of its command text.
void OpenWithSystem(const TShellOpen& request) {
  if (request.File.empty()) return;
  std::string shell = "/bin/sh", flag = "-c", command = "xdg-open \"$1\" >/dev/null 2>&1 &", name = "sh",
              file = request.File;
  char* argv[] = {shell.data(), flag.data(), command.data(), name.data(), file.data(), nullptr};
  pid_t child = 0;
  if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, argv, environ) != 0) return;
  int status = 0;
  waitpid(child, &status, 0);
}

}  // namespace tv::sys
