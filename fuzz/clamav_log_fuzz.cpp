// ClamAV's answers name files by whatever names the mail's attachments
// have: each finding must reach its own file and no other, however the names
// contain each other, ": ", "WARNING: " or any other byte but a line break
// (such names are scanned alone). The input is up to four names separated by
// NULs; each file with an odd first byte gets a finding line of its own.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/tvclam/tvclam.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tv::clam::TVerdict;
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> files;
  for (std::size_t at = 0; at <= input.size() && files.size() < 4;) {
    const std::size_t end = std::min(input.find('\0', at), input.size());
    files.push_back(input.substr(at, end - at));
    at = end + 1;
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (files[i].empty() || files[i].find_first_of("\r\n") != std::string::npos) return 0;
    for (std::size_t k = 0; k < i; ++k)
      if (files[k] == files[i]) return 0;
  }
  std::string log;
  bool any = false;
  for (std::size_t i = 0; i < files.size(); ++i)
    if (files[i][0] & 1) {
      log += files[i] + ": Sig" + std::to_string(i) + " FOUND\n";
      any = true;
    }
  const std::vector<TVerdict> verdicts = tv::clam::Judge(files, log, any ? 1 : 0, "clamscan");
  if (verdicts.size() != files.size()) __builtin_trap();
  for (std::size_t i = 0; i < files.size(); ++i) {
    const bool found = files[i][0] & 1;
    if (found &&
        (verdicts[i].Kind != TVerdict::TKind::Found || verdicts[i].Text != "Sig" + std::to_string(i)))
      __builtin_trap();
    if (!found && verdicts[i].Kind != TVerdict::TKind::Clean) __builtin_trap();
  }
  return 0;
}
