// Scanner reports are outside input. The first bytes choose the checked
// file's name and the tag; the rest is the report. A match must meet the
// definition: its line begins with the name and holds the tag at its position.

#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/rtl/exception.h"
#include "plugin/report_search.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t fileLength = data[0] % 8, tagLength = data[1] % 6;
  if (size < 2 + fileLength + tagLength) return 0;
  const char* bytes = reinterpret_cast<const char*>(data);
  const std::string file(bytes + 2, fileLength);
  const auto upper = tv::sys::AnsiUpperTable();
  std::string tag(bytes + 2 + fileLength, tagLength);
  for (char& c : tag) c = static_cast<char>(upper[static_cast<unsigned char>(c)]);
  const std::size_t offset = 2 + fileLength + tagLength;

  static const std::string path = "/tmp/tv-fuzz-report-" + std::to_string(getpid()) + ".~tv";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return 0;
  std::fwrite(bytes + offset, 1, size - offset, f);
  std::fclose(f);

  auto match = tv::SearchReport(path, file, tag, upper);
  if (match) {
    auto up = [&](std::string s) {
      for (char& c : s) c = static_cast<char>(upper[static_cast<unsigned char>(c)]);
      return s;
    };
    const std::string line = up(match->Line);
    if (tag.empty() || match->TagPosition == 0 || line.size() < file.size() ||
        line.compare(0, file.size(), up(file)) != 0 || line.find(tag) + 1 != match->TagPosition ||
        match->Line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
      __builtin_trap();
  }
  return 0;
}
