#include "platform/system/user.h"

#include <windows.h>

namespace tv::sys {

std::optional<std::string> UserName() {
  char buffer[256];
  DWORD size = sizeof buffer;
  if (!::GetUserNameA(buffer, &size) || size == 0) return std::nullopt;
  return std::string(buffer, size - 1);  // size counts the terminating NUL
}

}  // namespace tv::sys
