#pragma once
// The profile-file rules on a file's text, without any file access: the POSIX
// build stores its profiles with these, and the Windows build's tests compare
// them with the system's own functions.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tv::sys::profile {

// The raw value of Key in the first section named Section, as the reader
// returns it (trimmed, one pair of surrounding quotes removed), or nothing.
std::optional<std::string> FindValue(std::string_view text, std::string_view section, std::string_view key);

// What the reader gives for a missing key: the default without its trailing
// blanks, then without one pair of surrounding quotes, as the system does.
std::string EffectiveDefault(std::string_view defaultValue);

// Text with Key=Value set in Section: an existing key line is replaced, a new
// key goes after the section's last key, a new section goes at the end.
std::string SetValue(std::string_view text, std::string_view section, std::string_view key,
                     std::string_view value);

}  // namespace tv::sys::profile
