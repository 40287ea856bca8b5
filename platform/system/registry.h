#pragma once
// Values of the system's registry, where programs say where they are
// installed. POSIX has no registry: every value there is missing.

#include <optional>
#include <string>

namespace tv::sys {

// The text value Name of HKEY_LOCAL_MACHINE\Key, read in the registry's
// 64-bit view also from a 32-bit process (which would otherwise see the
// 32-bit programs' copy), with environment references (%ProgramFiles%)
// expanded. Nothing when the key or value is missing or holds no text.
std::optional<std::string> MachineText64(const std::string& key, const std::string& name);

}  // namespace tv::sys
