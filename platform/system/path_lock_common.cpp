#include "platform/system/path_lock.h"

#include <cstdio>

namespace tv::sys {

std::string PathLockDigits(std::string_view resolvedPath) {
  // FNV-1a: short, stable across processes and builds.
  std::uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : resolvedPath) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  char digits[17];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
  return digits;
}

}  // namespace tv::sys
