#include "platform/system/user.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace tv::sys {

std::optional<std::string> UserName() {
  std::vector<char> buffer(4096);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
    return std::nullopt;
  // The same limit as on Windows.
  std::string name = found->pw_name;
  if (name.size() > 255) name.resize(255);
  return name;
}

}  // namespace tv::sys
