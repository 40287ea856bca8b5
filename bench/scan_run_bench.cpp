// Overhead of a whole check against a bare spawn-and-wait of the same
// scanner, which exits 0 at once. Both run in the same process and run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/system/module.h"
#include "platform/system/process.h"
#include "plugin/scan_run.h"
#include "plugin/scanner_route.h"

namespace {

struct TFixture {
  std::string host;
  std::string file;
  std::string scanner;

  TFixture() {
    auto dir = std::filesystem::temp_directory_path() / "tvbench-scan";
    std::filesystem::create_directories(dir);
    host = dir.string() + "/";
    file = host + "ATT.EXE";
    scanner = tv::sys::HostExecutableDirectory() + "fakescan";
    std::FILE* f = std::fopen(file.c_str(), "wb");
    std::fputs("attachment", f);
    std::fclose(f);
    f = std::fopen((host + "tvvexal.ini").c_str(), "wb");
    std::fprintf(f, "[tevrin.BAV]\r\nScanner=%s\r\n", scanner.c_str());
    std::fclose(f);
    unsetenv("FAKESCAN_LOG");
    unsetenv("FAKESCAN_REPORT_FROM");
    unsetenv("FAKESCAN_EXIT");
  }
};

TFixture& Fixture() {
  static TFixture fixture;
  return fixture;
}

void BM_BareSpawnAndWait(benchmark::State& state) {
  const TFixture& f = Fixture();
  tv::TPluginSettings settings;
  settings.Scanner = f.scanner;
  const std::string line = tv::BuildCommandLine(f.scanner, settings, f.file, tv::ReportFileFor(f.file));
  for (auto _ : state) {
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    tv::sys::TProcessInfo info;
    if (!tv::sys::CreateChildProcess(buffer.data(), tv::sys::kSwHide, info))
      state.SkipWithError("spawn failed");
    tv::sys::MsgWaitForProcess(info);
    benchmark::DoNotOptimize(tv::sys::GetProcessExitCode(info));
    tv::sys::CloseProcessHandles(info);
  }
}

void BM_WholeCheck(benchmark::State& state) {
  const TFixture& f = Fixture();
  char virusName[tv::kVirusNameCapacity];
  for (auto _ : state) {
    if (tv::CheckFile(f.file.c_str(), virusName, f.host) != tv::kResultOk)
      state.SkipWithError("check failed");
  }
}

// The part of the check's overhead that reading the settings takes.
void BM_ReadScanSettings(benchmark::State& state) {
  const TFixture& f = Fixture();
  for (auto _ : state) benchmark::DoNotOptimize(tv::ReadScanSettings(f.host));
}
BENCHMARK(BM_ReadScanSettings)->Unit(benchmark::kMicrosecond);

// Five repetitions each; bench/run interleaves them so that both see the same
// machine load.
BENCHMARK(BM_BareSpawnAndWait)->Unit(benchmark::kMicrosecond)->MinTime(2.0)->Repetitions(5);
BENCHMARK(BM_WholeCheck)->Unit(benchmark::kMicrosecond)->MinTime(2.0)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
