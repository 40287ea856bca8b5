#include "platform/system/environment.h"

#include <windows.h>

#include <vector>

namespace tv::sys {

std::optional<std::string> EnvironmentValue(const std::string& name) {
  std::vector<char> buffer(MAX_PATH + 1);
  for (;;) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD got =
        ::GetEnvironmentVariableA(name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();  // set, and empty
    }
    if (got < buffer.size()) return std::string(buffer.data(), got);
    buffer.resize(got);  // the size it needs, its terminator included
  }
}

}  // namespace tv::sys
