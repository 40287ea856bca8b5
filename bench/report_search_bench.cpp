// Throughput of the report search on a report given by REPORT_FILE (see
// report_search.sh, which generates it and times grep on the same file), and
// the process's peak memory, which must not grow with the report's size.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "plugin/report_search.h"

namespace {

long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    long value = 0;
    if (key == "VmHWM:" && status >> value) return value;
    status.ignore(1 << 20, '\n');
  }
  return -1;
}

void BM_SearchReport(benchmark::State& state) {
  const char* path = std::getenv("REPORT_FILE");
  const char* file = std::getenv("REPORT_CHECKED_FILE");
  if (path == nullptr || file == nullptr) {
    state.SkipWithError("REPORT_FILE and REPORT_CHECKED_FILE must name the report and the checked file");
    return;
  }
  const auto upper = tv::sys::AnsiUpperTable();
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(path));
  for (auto _ : state) {
    auto match = tv::SearchReport(path, file, "FOUND THE", upper);
    if (!match) state.SkipWithError("the last line did not match");
    benchmark::DoNotOptimize(match);
  }
  state.SetBytesProcessed(state.iterations() * size);
  state.counters["peak_rss_MiB"] = static_cast<double>(PeakResidentKiB()) / 1024.0;
}

BENCHMARK(BM_SearchReport)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
