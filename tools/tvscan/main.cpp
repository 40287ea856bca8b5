// Stand-in for the command-line virus scanner: it honours the scanner's
// contract (FILE... [OPTIONS...] /REPORT REPORTFILE, exit code 0 when nothing
// was found, a report line per file) and knows one "virus", the standard
// anti-virus test file.
//
// Exit codes: 0 all files clean, 13 a finding, 2 a usage error or a file that
// could not be read.

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/sysutils.h"

namespace {

constexpr int kExitClean = 0;
constexpr int kExitError = 2;
constexpr int kExitFinding = 13;

// Kept in two halves so that no file of ours is itself taken for the test file.
std::string TestSignature() {
  return std::string("X5O!P%@AP[4\\PZX54(P^)7CC)7}$") + "EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*";
}

enum class TVerdict { Clean, Found, Unreadable };

TVerdict ScanFile(const std::string& path, const std::string& signature) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return TVerdict::Unreadable;
  // Searched chunk by chunk with an overlap, so a signature across two
  // chunks is found and large files are never held whole.
  std::vector<char> window;
  char chunk[64 * 1024];
  TVerdict verdict = TVerdict::Clean;
  for (;;) {
    std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
    if (got == 0) {
      if (std::ferror(file)) verdict = TVerdict::Unreadable;
      break;
    }
    window.insert(window.end(), chunk, chunk + got);
    std::string_view view(window.data(), window.size());
    if (view.find(signature) != std::string_view::npos) {
      verdict = TVerdict::Found;
      break;
    }
    std::size_t keep = signature.size() - 1;
    if (window.size() > keep) window.erase(window.begin(), window.end() - static_cast<std::ptrdiff_t>(keep));
  }
  std::fclose(file);
  return verdict;
}

// Options are "/WORD". On POSIX an absolute path also starts with "/", but
// it has a further separator or a dot in it, which no option has.
bool IsOption(const std::string& arg) {
  return arg.size() > 1 && arg[0] == '/' && arg.find_first_of("/\\.", 1) == std::string::npos;
}

int Usage(const char* message) {
  std::fprintf(stderr, "scan: %s\nusage: scan FILE... [/MIME] [/UNZIP] /REPORT REPORTFILE\n", message);
  return kExitError;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> files;
  std::string reportPath;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (IsOption(arg)) {
      if (tv::SameText(arg, "/REPORT")) {
        if (i + 1 >= argc) return Usage("/REPORT needs a file name");
        reportPath = argv[++i];
      }
      // Every other option (/MIME, /UNZIP, ...) changes nothing here.
      continue;
    }
    files.push_back(arg);
  }
  if (files.empty()) return Usage("no file to scan");

  std::FILE* report = nullptr;
  if (!reportPath.empty()) {
    report = std::fopen(reportPath.c_str(), "wb");
    if (report == nullptr) return Usage("cannot write the report");
  }

  const std::string signature = TestSignature();
  int exitCode = kExitClean;
  for (const std::string& file : files) {
    std::string line = file + " ... ";
    switch (ScanFile(file, signature)) {
      case TVerdict::Clean: line += "is OK."; break;
      case TVerdict::Found:
        line += "Found the EICAR test file NOT a virus.";
        if (exitCode == kExitClean) exitCode = kExitFinding;
        break;
      case TVerdict::Unreadable:
        line += "cannot be read.";
        exitCode = kExitError;
        std::fprintf(stderr, "scan: %s cannot be read\n", file.c_str());
        break;
    }
    std::printf("%s\n", line.c_str());
    if (report != nullptr) std::fprintf(report, "%s\r\n", line.c_str());
  }
  if (report != nullptr) std::fclose(report);
  return exitCode;
}
