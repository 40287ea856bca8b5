// A check through Defender's route (defender:PATH, the stand-in answering
// "no threats") against a bare spawn of the same stand-in with the same
// arguments, its output read from the pipe. Both run in the same process
// and run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/system/module.h"
#include "platform/system/process.h"
#include "plugin/defender_route.h"
#include "plugin/host_answer.h"
#include "plugin/scan_run.h"

namespace {

struct TFixture {
  std::string host;
  std::string file;
  std::string program;

  TFixture() {
    auto dir = std::filesystem::temp_directory_path() / "tvbench-defender";
    std::filesystem::create_directories(dir);
    host = dir.string() + "/";
    file = host + "att.txt";
    program = tv::sys::HostExecutableDirectory() + "MpCmdRun";
    std::FILE* f = std::fopen(file.c_str(), "wb");
    std::fputs("attachment", f);
    std::fclose(f);
    f = std::fopen((host + "tvvexal.ini").c_str(), "wb");
    std::fprintf(f, "[tevrin.BAV]\r\nScanner=defender:%s\r\n", program.c_str());
    std::fclose(f);
  }
};

TFixture& Fixture() {
  static TFixture fixture;
  return fixture;
}

void BM_BareDefenderSpawn(benchmark::State& state) {
  const TFixture& f = Fixture();
  const std::string line = tv::DefenderCommandLine(f.program, f.file);
  for (auto _ : state) {
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    tv::sys::TProcessInfo info;
    if (!tv::sys::CreateChildProcess(buffer.data(), tv::sys::kSwHide, info, true))
      state.SkipWithError("spawn failed");
    tv::sys::MsgWaitForProcess(info);
    std::string output;
    char chunk[4096];
    std::size_t got = 0;
    while (tv::sys::ReadChildOutput(info, chunk, sizeof chunk, got) == tv::sys::TPipeRead::Data)
      output.append(chunk, got);
    benchmark::DoNotOptimize(output);
    benchmark::DoNotOptimize(tv::sys::GetProcessExitCode(info));
    tv::sys::CloseProcessHandles(info);
  }
}

void BM_DefenderCheck(benchmark::State& state) {
  const TFixture& f = Fixture();
  char virusName[tv::kVirusNameCapacity];
  for (auto _ : state) {
    if (tv::CheckFile(f.file.c_str(), virusName, f.host) != tv::kResultOk)
      state.SkipWithError("check failed");
  }
}

// Five repetitions each; bench/run interleaves them so that both see the same
// machine load. Timed by the clock on the wall: the parent's own CPU time is
// a small part of a spawn, and two seconds of it would take minutes.
BENCHMARK(BM_BareDefenderSpawn)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0)->Repetitions(5);
BENCHMARK(BM_DefenderCheck)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
