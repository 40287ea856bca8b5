// Stands in for ClamAV's clamscan and clamdscan in the tests of tvclam: it
// answers as TV_FAKECLAM says, "EXIT|LINE|LINE...", each %FILE% in a line
// replaced by the last argument, the lines written to the file of --log=.
// With TV_FAKECLAM_ARGS set, it writes its arguments there, one per line.

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const char* script = std::getenv("TV_FAKECLAM");
  const char* argsFile = std::getenv("TV_FAKECLAM_ARGS");
  std::string log, file = argc > 1 ? argv[argc - 1] : "";
  if (argsFile != nullptr)
    if (std::FILE* out = std::fopen(argsFile, "wb")) {
      for (int i = 1; i < argc; ++i) std::fprintf(out, "%s\n", argv[i]);
      std::fclose(out);
    }
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]).rfind("--log=", 0) == 0) log = argv[i] + 6;
  std::string text = script != nullptr ? script : "0";
  const int code = std::atoi(text.c_str());
  std::string lines;
  for (std::size_t at = text.find('|'); at != std::string::npos;) {
    const std::size_t next = text.find('|', at + 1);
    std::string line = text.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1);
    for (std::size_t p; (p = line.find("%FILE%")) != std::string::npos;) line.replace(p, 6, file);
    lines += line + "\n";
    at = next;
  }
  if (!log.empty())
    if (std::FILE* out = std::fopen(log.c_str(), "wb")) {
      std::fputs(lines.c_str(), out);
      std::fclose(out);
    }
  std::fputs(lines.c_str(), stdout);
  return code;
}
