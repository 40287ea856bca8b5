// Command lines are built from user settings and host paths. Splitting any
// of them must neither crash nor lose the program name.

#include <cstdint>
#include <string_view>

#include "platform/system/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto args = tv::sys::SplitCommandLine(std::string_view(reinterpret_cast<const char*>(data), size));
  if (args.empty()) __builtin_trap();
  return 0;
}
