#include "platform/system/profile.h"

#include <windows.h>

#include <vector>

#include "platform/system/win32/wide_path.h"

namespace tv::sys {

std::string GetProfileValue(const std::string& path, const std::string& section, const std::string& key,
                            const std::string& defaultValue, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  std::vector<char> buffer(bufferSize, '\0');
  DWORD got = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                         static_cast<DWORD>(bufferSize), path.c_str());
  return std::string(buffer.data(), got);
}

std::vector<std::string> GetProfileValues(const std::string& path, const std::string& section,
                                          const std::vector<TProfileKey>& keys, std::size_t bufferSize) {
  std::vector<std::string> values;
  values.reserve(keys.size());
  for (const TProfileKey& key : keys)
    values.push_back(GetProfileValue(path, section, key.Key, key.Default, bufferSize));
  return values;
}

bool SetProfileValue(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) {
  // Windows refuses a read-only file itself; said here as well, because Wine
  // run by root would write it.
  const DWORD attributes = ::GetFileAttributesW(win32::ExtendedPath(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return false;
  return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != 0;
}

}  // namespace tv::sys
