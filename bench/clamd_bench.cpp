// A check through the plug-in's daemon route (settings read, file streamed
// by the clamd client, answer judged) against a bare INSTREAM exchange
// written here: the same small files, the same daemon, the same run.
// bench/clamd.sh starts the daemon and names it in TV_BENCH_CLAMD_PORT,
// the files' folder in TV_BENCH_MAIL (200 files f1.txt ... f200.txt).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/system/socket.h"
#include "plugin/scan_run.h"

namespace {

constexpr int kFiles = 200;

struct TFixture {
  std::string host, mail;
  std::uint16_t port = 0;
  std::vector<std::string> files;

  TFixture() {
    const char* portText = std::getenv("TV_BENCH_CLAMD_PORT");
    const char* mailText = std::getenv("TV_BENCH_MAIL");
    if (portText == nullptr || mailText == nullptr) return;
    port = static_cast<std::uint16_t>(std::atoi(portText));
    mail = mailText;
    host = mail + "/";
    for (int i = 1; i <= kFiles; ++i) files.push_back(host + "f" + std::to_string(i) + ".txt");
    std::FILE* f = std::fopen((host + "tvvexal.ini").c_str(), "wb");
    std::fprintf(f, "[tevrin.BAV]\r\nScanner=clamd://127.0.0.1:%s\r\n", portText);
    std::fclose(f);
  }
};

const TFixture& Fixture() {
  static const TFixture fixture;
  return fixture;
}

// Connect, the command, the whole file as one chunk, the end, the answer.
bool BareInstream(const std::string& path, std::uint16_t port) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string error;
  tv::sys::TSocket socket = tv::sys::TSocket::ConnectTcp("127.0.0.1", port, 3000, error);
  if (!socket.IsOpen()) return false;
  std::string message("zINSTREAM", 10);
  const std::uint32_t size = static_cast<std::uint32_t>(bytes.size());
  for (int shift = 24; shift >= 0; shift -= 8) message += static_cast<char>((size >> shift) & 0xFF);
  message += bytes;
  message.append(4, '\0');
  for (std::size_t at = 0, sent = 0; at < message.size(); at += sent)
    if (socket.Send(message.data() + at, message.size() - at, 10000, sent, error) !=
        tv::sys::TNetResult::Done)
      return false;
  std::string answer;
  char buffer[256];
  for (std::size_t got = 0; answer.find('\0') == std::string::npos;) {
    if (socket.Receive(buffer, sizeof buffer, 10000, got, error) != tv::sys::TNetResult::Done) break;
    answer.append(buffer, got);
  }
  return answer.rfind("stream: OK", 0) == 0;
}

void BM_BareInstream(benchmark::State& state) {
  const TFixture& f = Fixture();
  if (f.files.empty()) return state.SkipWithError("no daemon: run bench/clamd.sh");
  int i = 0;
  for (auto _ : state)
    if (!BareInstream(f.files[i++ % kFiles], f.port)) state.SkipWithError("the bare exchange failed");
}
BENCHMARK(BM_BareInstream)->Repetitions(7);

void BM_PluginDaemonCheck(benchmark::State& state) {
  const TFixture& f = Fixture();
  if (f.files.empty()) return state.SkipWithError("no daemon: run bench/clamd.sh");
  char virusName[tv::kVirusNameCapacity];
  int i = 0;
  for (auto _ : state)
    if (tv::CheckFile(f.files[i++ % kFiles].c_str(), virusName, f.host) != tv::kResultOk)
      state.SkipWithError("the check was not clean");
}
BENCHMARK(BM_PluginDaemonCheck)->Repetitions(7);

}  // namespace

BENCHMARK_MAIN();
