// The checked file's name and its report's name are the host's input: the
// scanner must get both back from the command line exactly as they were,
// whatever blanks, tabs, quotes and backslashes they hold.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system/command_line.h"
#include "plugin/scan_run.h"
#include "plugin/scanner_route.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  // A NUL ends the name at the exported interface: no such name arrives.
  if (file.empty() || file.find('\0') != std::string::npos) return 0;
  const std::string program = "C:\\Program Files\\McAfee\\scan.exe";
  const std::string report = tv::ReportFileFor(file);
  const std::vector<std::string> args =
      tv::sys::SplitCommandLine(tv::BuildCommandLine(program, tv::TPluginSettings{}, file, report));
  if (args.size() != 6 || args[0] != program || args[1] != file || args[4] != "/REPORT" || args[5] != report)
    __builtin_trap();
  return 0;
}
