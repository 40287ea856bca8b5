// A stand-in for Microsoft Defender's command-line scanner MpCmdRun.exe,
// which cannot run here. It takes the one command line of a single file
// scanned without remediation:
//   MpCmdRun -Scan -ScanType 3 -File PATH -DisableRemediation
// and prints what Defender prints, with Defender's exit codes: 0 no threat,
// 2 threats or a failure. Its answer comes from the file:
//   the anti-virus test file          one threat, Virus:DOS/EICAR_Test_File
//   a zip holding it (stored)         the same threat, in PATH->MEMBER
//   a line "tvdefender: WORD", WORD:
//     two           three threat blocks, one name twice
//     disabled      Defender switched off: a warning, exit 2
//     failed        "CmdTool: Failed with hr = ...", exit 2
//     exit2-silent  exit 2, the count of threats but no threat block
//     exit0-silent  exit 0 without the line of no threats
//     exit3         exit 3 after the line of no threats
//     hang          never ends
//     flood         megabytes of output, then the line of no threats
//     delete        deletes the file, then says it found no threats
//   anything else                     no threats
// Any other command line fails as Defender fails for bad arguments.
// FAKEDEFENDER_LOG names a file that gets this program's path, one line per
// run, so that tests see which copy ran.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
// CommandLineToArgvW
#include <shellapi.h>
#endif

namespace {

#ifdef _WIN32
// Defender reads every path, also those beyond 259 characters that the ANSI
// file functions refuse: the file argument as the wide API's long name.
std::wstring LongName() {
  int count = 0;
  LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::wstring name = args != nullptr && count > 5 ? args[5] : L"";
  if (args != nullptr) ::LocalFree(args);
  wchar_t full[32768];
  const DWORD got = ::GetFullPathNameW(name.c_str(), 32768, full, nullptr);
  return got > 0 && got < 32768 ? L"\\\\?\\" + std::wstring(full, got) : name;
}
std::FILE* OpenFile(const std::string&) {
  return ::_wfopen(LongName().c_str(), L"rb");
}
void DeleteFile(const std::string&) {
  ::DeleteFileW(LongName().c_str());
}
#else
std::FILE* OpenFile(const std::string& path) {
  return std::fopen(path.c_str(), "rb");
}
void DeleteFile(const std::string& path) {
  std::remove(path.c_str());
}
#endif

constexpr int kNoThreat = 0;
constexpr int kThreatsOrFailure = 2;

std::string ReadFile(const std::string& path, bool& readable) {
  std::string content;
  std::FILE* in = OpenFile(path);
  readable = in != nullptr;
  if (in == nullptr) return content;
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) content.append(buffer, got);
  std::fclose(in);
  return content;
}

void Line(const std::string& text) {
  std::printf("%s\r\n", text.c_str());
}

void Header() {
  Line("Scan starting...");
  Line("Scan finished.");
}

void NoThreats(const std::string& path) {
  Header();
  Line("Scanning " + path + " found no threats.");
}

void ThreatBlock(const std::string& name, const std::string& resource) {
  Line("----------------------------- Threat information ------------------------------");
  Line("Threat                  : " + name);
  Line("Resources               : 1 total");
  Line("    file                : " + resource);
  Line("-------------------------------------------------------------------------------");
}

int Threats(const std::string& path, const char* const names[], int count, const std::string& resource) {
  Header();
  Line("Scanning " + path + " found " + std::to_string(count) + " threats.");
  Line("");
  Line("<===========================LIST OF DETECTED THREATS==========================>");
  for (int i = 0; i < count; ++i) ThreatBlock(names[i], resource);
  return kThreatsOrFailure;
}

int Failed(const char* hr) {
  Line(std::string("CmdTool: Failed with hr = ") + hr +
       ". Check C:\\Users\\user\\AppData\\Local\\Temp\\MpCmdRun.log for more information");
  return kThreatsOrFailure;
}

std::string Eicar() {
  return std::string("X5O!P%@AP[4\\PZX54(P^)7CC)7}$") + "EICAR-STANDARD-ANTIVIRUS-TEST-FILE!$H+H*";
}

// The first member's name of a zip's first local header.
std::string FirstMember(const std::string& zip) {
  if (zip.size() < 30) return "?";
  const std::size_t length = static_cast<unsigned char>(zip[26]) |
                             static_cast<std::size_t>(static_cast<unsigned char>(zip[27])) << 8;
  return zip.substr(30, length);
}

int Answer(const std::string& path, const std::string& content) {
  const std::size_t marker = content.find("tvdefender: ");
  const std::string word =
      marker == std::string::npos
          ? ""
          : content.substr(marker + 12, content.find_first_of("\r\n", marker) - marker - 12);
  if (word == "two") {
    const char* names[] = {"Virus:DOS/EICAR_Test_File", "Trojan:Win32/Tevrin.A", "Virus:DOS/EICAR_Test_File"};
    return Threats(path, names, 3, path);
  }
  if (word == "disabled") {
    Line("Microsoft Defender Antivirus is disabled: the product or this feature has been switched off.");
    return kThreatsOrFailure;
  }
  if (word == "failed") return Failed("0x80508023");
  if (word == "exit2-silent") {
    Header();
    Line("Scanning " + path + " found 1 threats.");
    return kThreatsOrFailure;
  }
  if (word == "exit0-silent") {
    Header();
    return kNoThreat;
  }
  if (word == "exit3") {
    NoThreats(path);
    return 3;
  }
  if (word == "hang") {
    std::fflush(stdout);
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  }
  if (word == "flood") {
    const std::string line(200, 'x');
    for (int i = 0; i < 20'000; ++i) Line(line);
    NoThreats(path);
    return kNoThreat;
  }
  if (word == "delete") {
    DeleteFile(path);
    NoThreats(path);
    return kNoThreat;
  }
  if (content.find(Eicar()) != std::string::npos) {
    const char* names[] = {"Virus:DOS/EICAR_Test_File"};
    const bool zip = content.rfind("PK\x03\x04", 0) == 0;
    return Threats(path, names, 1, zip ? path + "->" + FirstMember(content) : path);
  }
  NoThreats(path);
  return kNoThreat;
}

}  // namespace

int main(int argc, char** argv) {
  if (const char* log = std::getenv("FAKEDEFENDER_LOG")) {
    if (std::FILE* out = std::fopen(log, "ab")) {
      std::fprintf(out, "%s\n", argv[0]);
      std::fclose(out);
    }
  }
  const bool usual = argc == 7 && std::strcmp(argv[1], "-Scan") == 0 &&
                     std::strcmp(argv[2], "-ScanType") == 0 && std::strcmp(argv[3], "3") == 0 &&
                     std::strcmp(argv[4], "-File") == 0 && std::strcmp(argv[6], "-DisableRemediation") == 0;
  if (!usual) return Failed("0x80070057");  // E_INVALIDARG
  const std::string path = argv[5];
  bool readable = false;
  const std::string content = ReadFile(path, readable);
  if (!readable) return Failed("0x80070002");  // the file is not found
  const int code = Answer(path, content);
  std::fflush(stdout);
  return code;
}
