// A scripted scanner for the tests. Its behaviour comes from the environment
// that it inherits from the test:
//   FAKESCAN_LOG          file that receives one line per argument, then
//                         "show=N" (how its console was to be shown)
//   FAKESCAN_REPORT_FROM  file whose bytes are copied to the /REPORT file
//   FAKESCAN_EXIT         exit code (default 0)
//   FAKESCAN_CRASH        when set, the scanner crashes before it reports
//   FAKESCAN_PRINT        text written to its standard output, FAKESCAN_TIMES
//                         times (default once)
//   FAKESCAN_PRINT_ERR    text written to its standard error

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace {

int ShowCommand() {
#ifdef _WIN32
  STARTUPINFOA startup;
  GetStartupInfoA(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
#else
  // A hidden console hands the child /dev/null as its output.
  struct stat out {
  }, null{};
  if (fstat(1, &out) != 0 || stat("/dev/null", &null) != 0) return -1;
  return (S_ISCHR(out.st_mode) && out.st_rdev == null.st_rdev) ? 0 : 1;
#endif
}

void CopyFile(const char* from, const char* to) {
  std::FILE* in = std::fopen(from, "rb");
  std::FILE* out = std::fopen(to, "wb");
  if (in != nullptr && out != nullptr) {
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) std::fwrite(buffer, 1, got, out);
  }
  if (in != nullptr) std::fclose(in);
  if (out != nullptr) std::fclose(out);
}

}  // namespace

#ifdef _WIN32
LONG WINAPI EndWithTheException(EXCEPTION_POINTERS*) {
  return EXCEPTION_EXECUTE_HANDLER;
}
#endif

// A real crash, with the exit code that the system gives a crashed process,
// and no debugger or error box waiting for a person.
[[noreturn]] void Crash() {
#ifdef _WIN32
  ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
  ::SetUnhandledExceptionFilter(EndWithTheException);
  ::RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
#endif
  std::abort();
}

int main(int argc, char** argv) {
  if (const char* log = std::getenv("FAKESCAN_LOG"); log != nullptr && *log != '\0') {
    if (std::FILE* f = std::fopen(log, "wb")) {
      for (int i = 1; i < argc; ++i) std::fprintf(f, "%s\n", argv[i]);
      std::fprintf(f, "show=%d\n", ShowCommand());
      std::fclose(f);
    }
  }
  if (const char* crash = std::getenv("FAKESCAN_CRASH"); crash != nullptr && *crash != '\0') Crash();
  if (const char* text = std::getenv("FAKESCAN_PRINT"); text != nullptr) {
    const char* times = std::getenv("FAKESCAN_TIMES");
    for (long i = times != nullptr ? std::atol(times) : 1; i > 0; --i) std::fputs(text, stdout);
    std::fflush(stdout);
  }
  if (const char* text = std::getenv("FAKESCAN_PRINT_ERR"); text != nullptr) std::fputs(text, stderr);
  const char* reportFrom = std::getenv("FAKESCAN_REPORT_FROM");
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "/REPORT") == 0 && reportFrom != nullptr && *reportFrom != '\0')
      CopyFile(reportFrom, argv[i + 1]);
  }
  const char* code = std::getenv("FAKESCAN_EXIT");
  return code != nullptr && *code != '\0' ? std::atoi(code) : 0;
}
