#include "platform/system/module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <vector>

namespace tv::sys {

std::string HostExecutableDirectory() {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t got = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (got < 0) return "./";
    if (static_cast<std::size_t>(got) < buffer.size()) {
      std::string path(buffer.data(), static_cast<std::size_t>(got));
      std::size_t slash = path.rfind('/');
      return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
    }
    buffer.resize(buffer.size() * 2);
  }
}

void* HostProgramExport(const char* name) {
  // The program's handle: its own exports (linked with -rdynamic) come first.
  void* program = ::dlopen(nullptr, RTLD_LAZY);
  if (program == nullptr) return nullptr;
  void* found = ::dlsym(program, name);
  ::dlclose(program);
  return found;
}

}  // namespace tv::sys
