#include "platform/system/module.h"

#include <windows.h>

#include <vector>

namespace tv::sys {

std::string HostExecutableDirectory() {
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    DWORD got = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0) return {};
    if (got < buffer.size()) {
      std::string path(buffer.data(), got);
      std::size_t cut = path.find_last_of("\\:");
      return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    }
    buffer.resize(buffer.size() * 2);
  }
}

void* HostProgramExport(const char* name) {
  return reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(nullptr), name));
}

}  // namespace tv::sys
