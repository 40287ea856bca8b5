#pragma once
// Profile (INI) files with the semantics of the Windows profile functions.

#include <cstddef>
#include <string>
#include <vector>

namespace tv::sys {

// Reads Key of Section from the file at Path. Section and key names compare
// case-insensitively; the value comes back trimmed, with one pair of
// surrounding quotes removed, and cut to BufferSize - 1 characters. A missing
// file, section or key yields Default without its trailing blanks.
std::string GetProfileValue(const std::string& path, const std::string& section, const std::string& key,
                            const std::string& defaultValue, std::size_t bufferSize);

// Several keys of one section, read in the order given, each as
// GetProfileValue reads it. The POSIX build reads the file once for all.
struct TProfileKey {
  std::string Key;
  std::string Default;
};
std::vector<std::string> GetProfileValues(const std::string& path, const std::string& section,
                                          const std::vector<TProfileKey>& keys, std::size_t bufferSize);

// Writes Key=Value into Section, creating the file or section when missing and
// keeping every other line. Returns false when the file cannot be written.
bool SetProfileValue(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value);

}  // namespace tv::sys
