// Stands in for ClamAV's clamscan in the tests of tvclam: it
// answers as TV_FAKECLAM says, "EXIT|LINE|LINE...", each %FILE% in a line
// replaced by the last argument and each %FILEn% by the n-th argument that
// is no option (from 1), the lines written to the file of --log= (appended,
// as ClamAV does). With TV_FAKECLAM_ARGS set, it writes its arguments there,
// one per line; with TV_FAKECLAM_SLEEP, it first sleeps that many seconds.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

void Replace(std::string& line, const std::string& mark, const std::string& by) {
  for (std::size_t p = 0; (p = line.find(mark, p)) != std::string::npos; p += by.size())
    line.replace(p, mark.size(), by);
}

}  // namespace

int main(int argc, char** argv) {
  const char* script = std::getenv("TV_FAKECLAM");
  const char* argsFile = std::getenv("TV_FAKECLAM_ARGS");
  const char* sleep = std::getenv("TV_FAKECLAM_SLEEP");
  std::string log;
  std::vector<std::string> files;
  if (argsFile != nullptr)
    if (std::FILE* out = std::fopen(argsFile, "wb")) {
      for (int i = 1; i < argc; ++i) std::fprintf(out, "%s\n", argv[i]);
      std::fclose(out);
    }
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--log=", 0) == 0) log = arg.substr(6);
    if (arg.rfind("--", 0) != 0) files.push_back(arg);
  }
  if (sleep != nullptr) std::this_thread::sleep_for(std::chrono::seconds(std::atoi(sleep)));
  std::string text = script != nullptr ? script : "0";
  const int code = std::atoi(text.c_str());
  std::string lines;
  for (std::size_t at = text.find('|'); at != std::string::npos;) {
    const std::size_t next = text.find('|', at + 1);
    std::string line = text.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1);
    for (std::size_t n = files.size(); n >= 1; --n)
      Replace(line, "%FILE" + std::to_string(n) + "%", files[n - 1]);
    Replace(line, "%FILE%", argc > 1 ? argv[argc - 1] : "");
    lines += line + "\n";
    at = next;
  }
  if (!log.empty())
    if (std::FILE* out = std::fopen(log.c_str(), "ab")) {
      std::fputs(lines.c_str(), out);
      std::fclose(out);
    }
  std::fputs(lines.c_str(), stdout);
  return code;
}
