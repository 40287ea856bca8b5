// Settings files are edited by hand. Whatever their text, a value written
// into it must read back unchanged, and every other key must keep its value.

#include <cstdint>
#include <string>

#include "platform/system/profile_text.h"

using namespace tv::sys;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string before = profile::FindValue(text, "other", "Key").value_or("<none>");

  for (const char* value : {"C:\\Program Files\\scan.exe", "0", "/MIME /UNZIP", ""}) {
    const std::string updated = profile::SetValue(text, "tevrin.BAV", "Scanner", value);
    if (profile::FindValue(updated, "tevrin.BAV", "Scanner").value_or("<none>") != value) __builtin_trap();
    if (profile::FindValue(updated, "other", "Key").value_or("<none>") != before) __builtin_trap();
  }
  return 0;
}
