#include "plugin/settings.h"

#include <vector>

#include "platform/rtl/convert.h"
#include "platform/rtl/exception.h"
#include "platform/system/path_lock.h"
#include "platform/system/profile.h"

namespace tv {

namespace {

// Scanner, Hide, Options and, when asked for, FoundTag: one read of the file.
TPluginSettings ReadSettings(const std::string& hostDirectory, bool withFoundTag) {
  std::vector<sys::TProfileKey> keys{
      {kKeyScanner, kDefaultScanner}, {kKeyHide, ""}, {kKeyOptions, kDefaultOptions}};
  if (withFoundTag) keys.push_back({kKeyFoundTag, kDefaultFoundTag});
  std::vector<std::string> values =
      sys::GetProfileValues(SettingsFilePath(hostDirectory), kSettingsSection, keys, kSettingBufferSize);

  TPluginSettings settings;
  settings.Scanner = values[0];
  std::optional<std::int32_t> hide = ParseSettingInteger(values[1]);
  settings.Hide = hide ? *hide != 0 : kDefaultHide;
  settings.Options = values[2];
  if (withFoundTag) settings.FoundTag = values[3];
  return settings;
}

}  // namespace

std::string SettingsFilePath(const std::string& hostDirectory) {
  return hostDirectory + kSettingsFileName;
}

TPluginSettings ReadScanSettings(const std::string& hostDirectory) {
  return ReadSettings(hostDirectory, true);
}

TPluginSettings ReadDialogSettings(const std::string& hostDirectory) {
  return ReadSettings(hostDirectory, false);
}

void WriteDialogSettings(const std::string& hostDirectory, const TPluginSettings& settings) {
  const std::string path = SettingsFilePath(hostDirectory);
  // Two dialogs saving at once (two mail clients of one user) write one
  // after the other, never a mix of both.
  const sys::TPathLock lock(path);
  auto write = [&](const char* key, const std::string& value) {
    if (!sys::SetProfileValue(path, kSettingsSection, key, value))
      throw EWriteError("nach " + path + " kann nicht geschrieben werden");
  };
  write(kKeyScanner, settings.Scanner);
  write(kKeyHide, settings.Hide ? "1" : "0");
  write(kKeyOptions, settings.Options);
}

std::optional<std::int32_t> ParseSettingInteger(std::string_view text) {
  std::string s(text);
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.replace(0, 2, 1, '$');
  return TryStrToInt(s);
}

}  // namespace tv
