#include "plugin/settings.h"

#include <vector>

#include "platform/rtl/exception.h"
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

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
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

  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < s.size() && s[i] == '$') {
    hex = true;
    ++i;
  }
  if (i >= s.size()) return std::nullopt;

  std::uint64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    int digit = hex ? HexDigit(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
    if (magnitude > 0xFFFFFFFFull) return std::nullopt;
  }
  if (hex) {
    // Hexadecimal covers the full 32 bits; the top bit makes it negative.
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    return static_cast<std::int32_t>(bits);
  }
  if (negative ? magnitude > 0x80000000ull : magnitude > 0x7FFFFFFFull) return std::nullopt;
  return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                  : static_cast<std::int32_t>(magnitude);
}

}  // namespace tv
