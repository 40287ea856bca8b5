#include "platform/system/profile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <optional>

#include "platform/system/files.h"
#include "platform/system/profile_text.h"

namespace tv::sys {

std::string GetProfileValue(const std::string& path, const std::string& section, const std::string& key,
                            const std::string& defaultValue, std::size_t bufferSize) {
  return GetProfileValues(path, section, {{key, defaultValue}}, bufferSize).front();
}

std::vector<std::string> GetProfileValues(const std::string& path, const std::string& section,
                                          const std::vector<TProfileKey>& keys, std::size_t bufferSize) {
  std::string text;
  const bool haveFile = ReadWholeFile(path, text);
  const std::size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
  std::vector<std::string> values;
  values.reserve(keys.size());
  for (const TProfileKey& key : keys) {
    std::optional<std::string> value;
    if (haveFile) value = profile::FindValue(text, section, key.Key);
    std::string result = value ? *value : profile::EffectiveDefault(key.Default);
    if (result.size() > room) result.resize(room);
    values.push_back(std::move(result));
  }
  return values;
}

bool SetProfileValue(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) {
  // Windows refuses to write a read-only file, whoever asks; so do we,
  // rather than put a writable file in its place.
  struct stat existing {};
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists &&
      (::access(path.c_str(), W_OK) != 0 || (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0))
    return false;
  std::string text;
  if (FileExists(path) && !ReadWholeFile(path, text)) return false;
  std::string updated = profile::SetValue(text, section, key, value);

  // Written beside the file and renamed over it, so that a failed write
  // never leaves the user's settings half written.
  std::string temp = path + ".tmp~";
  {
    TFile out = TFile::Open(temp, TFile::TOpenMode::ExclusiveCreateAlways);
    if (!out.IsOpen()) return false;
    if (out.Write(updated.data(), updated.size()) != updated.size()) {
      out.Close();
      DeleteFileAt(temp);
      return false;
    }
  }
  // The file replaced keeps its mode.
  if ((exists && ::chmod(temp.c_str(), existing.st_mode & 07777) != 0) ||
      std::rename(temp.c_str(), path.c_str()) != 0) {
    DeleteFileAt(temp);
    return false;
  }
  return true;
}

}  // namespace tv::sys
