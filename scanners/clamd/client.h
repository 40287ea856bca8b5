#pragma once
// A client of ClamAV's daemon: a file's bytes streamed to clamd with its
// INSTREAM command, the answer judged. The client opens the file itself,
// so links are followed and the daemon needs no access to it (it may run
// on another machine). Servers are tried in their order: one that refuses,
// does not accept in time, or fails before answering is skipped and the
// next one gets the file from its start.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scanners/clamd/address.h"

namespace tv::clamd {

// What the daemon said of the file.
struct TScanResult {
  enum class TKind { Clean, Found, Error } Kind = TKind::Error;
  std::string Text;  // Found: the signature name; Error: what went wrong
};

// The daemon's answer without its NUL: "stream: OK" is clean, "stream: NAME
// FOUND" a finding of NAME, an answer ending in "ERROR" the daemon's error
// (its text without the word), anything else an error too.
TScanResult ParseAnswer(const std::string& answer);

struct TClientOptions {
  std::uint32_t ConnectTimeoutMs = 3000;
  // For one server's whole answer, from the connection to its last byte.
  std::uint32_t AnswerTimeoutMs = 120000;
  // Called at least every few tens of milliseconds while the client waits,
  // so that a caller's windows stay painted.
  std::function<void()> Idle;
};

// Scans the file at Path (long and wide paths as the system opens them)
// on the first of Servers that answers. When none does, the error names
// each server and its failure; a file that cannot be opened is an error
// without any server being asked.
TScanResult ScanFile(const std::string& path, const std::vector<TServerAddress>& servers,
                     const TClientOptions& options);

}  // namespace tv::clamd
