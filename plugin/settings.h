#pragma once
// The plug-in's four settings in "tvvexal.ini" beside the host executable.
// They are read afresh for every use: a change saved by the options dialog or
// made by hand takes effect with the next check.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tv {

inline constexpr const char* kSettingsFileName = "tvvexal.ini";
inline constexpr const char* kSettingsSection = "tevrin.BAV";

inline constexpr const char* kKeyScanner = "Scanner";
inline constexpr const char* kKeyHide = "Hide";
inline constexpr const char* kKeyOptions = "Options";
inline constexpr const char* kKeyFoundTag = "FoundTag";

inline constexpr const char* kDefaultScanner = "scan.exe";
inline constexpr bool kDefaultHide = true;
inline constexpr const char* kDefaultOptions = "/MIME /UNZIP";
inline constexpr const char* kDefaultFoundTag = "Found the ";

// Values are read through a buffer of this size: at most 2047 characters of a
// value are seen.
inline constexpr std::size_t kSettingBufferSize = 2048;

struct TPluginSettings {
  std::string Scanner = kDefaultScanner;
  bool Hide = kDefaultHide;
  std::string Options = kDefaultOptions;
  std::string FoundTag = kDefaultFoundTag;
};

// HostDirectory ends with a path separator.
std::string SettingsFilePath(const std::string& hostDirectory);

// Scanner, Hide, Options and FoundTag, in this order. FoundTag comes back as
// the profile reader gives it: its default without the trailing blank.
TPluginSettings ReadScanSettings(const std::string& hostDirectory);

// Scanner, Hide and Options, in this order; FoundTag keeps its default.
TPluginSettings ReadDialogSettings(const std::string& hostDirectory);

// Writes Scanner, Hide and Options, in this order, one profile write each.
// Raises EWriteError "nach <path> kann nicht geschrieben werden" at the first
// write that fails; the keys after it are not written.
void WriteDialogSettings(const std::string& hostDirectory, const TPluginSettings& settings);

// An integer setting's text as the settings reader takes it: "0x"/"0X"
// followed by at least one character is hexadecimal; otherwise an optionally
// signed decimal integer, or "$" and hexadecimal digits. Nothing for any
// other text, the empty text included, or a value beyond 32 bits.
std::optional<std::int32_t> ParseSettingInteger(std::string_view text);

}  // namespace tv
