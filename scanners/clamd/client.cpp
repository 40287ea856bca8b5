#include "scanners/clamd/client.h"

#include <algorithm>
#include <chrono>
#include <string_view>

#include "platform/system/deadline.h"
#include "platform/system/files.h"
#include "platform/system/socket.h"

namespace tv::clamd {

namespace {

using TKind = TScanResult::TKind;

constexpr std::size_t kChunkSize = 64 * 1024;
// An answer is a line; a peer that sends more is no clamd.
constexpr std::size_t kLongestAnswer = 4096;
constexpr std::string_view kCommand{"zINSTREAM\0", 10};

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// What one server's exchange came to: its answer, or what failed, the
// server (the next one may do better) or the file (no server can help).
struct TServerReply {
  enum class TKind { Answer, ServerFailed, FileFailed } Kind;
  std::string Text;
};

// One server's exchange, bounded by its deadline, waiting in slices: the
// command, the file's bytes in chunks framed by their length, the answer.
class TExchange {
 public:
  TExchange(sys::TSocket& socket, const TClientOptions& options)
      : socket_(socket), options_(options), deadline_(std::chrono::milliseconds(options.AnswerTimeoutMs)) {}

  // Sends all of Data; false with the failure in Error.
  bool SendAll(std::string_view data, std::string& error) {
    while (!data.empty()) {
      std::size_t sent = 0;
      const sys::TNetResult result = socket_.Send(data.data(), data.size(), Slice(), sent, error);
      if (result == sys::TNetResult::Failed) return false;
      if (result == sys::TNetResult::TimedOut && !Waited(error)) return false;
      data.remove_prefix(sent);
    }
    return true;
  }

  // True when the daemon has said something already, or gone: it answers
  // early when the stream exceeds its limit, then stops reading.
  bool AnswerArrived() {
    char buffer[512];
    std::size_t got = 0;
    std::string ignored;
    const sys::TNetResult result = socket_.Receive(buffer, sizeof buffer, 0, got, ignored);
    pending_.append(buffer, got);
    return result != sys::TNetResult::TimedOut;
  }

  // Where the next chunk's bytes go, at most kChunkSize of them.
  char* ChunkRoom() { return frame_.data() + 4; }
  // Sends the chunk of Size bytes put in ChunkRoom, behind its length
  // (four bytes, most significant first) in one send; an empty chunk ends
  // the stream.
  bool SendChunk(std::size_t size, std::string& error) {
    for (int i = 0; i < 4; ++i)
      frame_[static_cast<std::size_t>(i)] = static_cast<char>((size >> (24 - 8 * i)) & 0xFF);
    return SendAll(std::string_view(frame_.data(), 4 + size), error);
  }

  // The answer up to its NUL or the connection's orderly end; the server's
  // failure when it said nothing, or broke off or fell silent before its
  // answer was whole (a cut "stream: OK..." is no verdict).
  TServerReply ReadAnswer() {
    std::string answer = pending_, error;
    char buffer[512];
    for (;;) {
      if (const std::size_t nul = answer.find('\0'); nul != std::string::npos)
        return {TServerReply::TKind::Answer, answer.substr(0, nul)};
      if (answer.size() > kLongestAnswer)
        return {TServerReply::TKind::Answer, answer.substr(0, kLongestAnswer)};
      std::size_t got = 0;
      const sys::TNetResult result = socket_.Receive(buffer, sizeof buffer, Slice(), got, error);
      if (result == sys::TNetResult::Done) {
        answer.append(buffer, got);
      } else if (result == sys::TNetResult::Closed) {
        if (!answer.empty()) return {TServerReply::TKind::Answer, answer};
        return {TServerReply::TKind::ServerFailed, "closed the connection without answering"};
      } else if (result == sys::TNetResult::Failed || !Waited(error)) {
        return {TServerReply::TKind::ServerFailed, error};
      }
    }
  }

 private:
  // No wait lasts longer than a slice before the caller's Idle runs.
  std::uint32_t Slice() const { return deadline_.Slice(); }

  // After a slice without progress: false, with the error, once the
  // deadline has passed; otherwise the caller's Idle runs.
  bool Waited(std::string& error) {
    if (deadline_.Passed()) {
      error = "timed out";
      return false;
    }
    if (options_.Idle) options_.Idle();
    return true;
  }

  sys::TSocket& socket_;
  const TClientOptions& options_;
  const sys::TDeadline deadline_;
  std::string pending_;
  std::string frame_ = std::string(4 + kChunkSize, '\0');
};

sys::TSocket Connect(const TServerAddress& server, const TClientOptions& options, std::string& error) {
  if (server.Kind == TServerAddress::TKind::Local)
    return sys::TSocket::ConnectLocal(server.Path, options.ConnectTimeoutMs, error, options.Idle);
  return sys::TSocket::ConnectTcp(server.Host, server.Port, options.ConnectTimeoutMs, error, options.Idle);
}

// What one server said of the file. The file is read from its start for
// every server.
TServerReply AskServer(const std::string& path, const TServerAddress& server, const TClientOptions& options) {
  using TReplyKind = TServerReply::TKind;
  sys::TFile file = sys::TFile::Open(path, sys::TFile::TOpenMode::ReadDenyWrite);
  if (!file.IsOpen()) return {TReplyKind::FileFailed, "cannot open the file"};
  std::string error;
  sys::TSocket socket = Connect(server, options, error);
  if (!socket.IsOpen()) return {TReplyKind::ServerFailed, error};
  TExchange exchange(socket, options);
  if (!exchange.SendAll(kCommand, error)) return {TReplyKind::ServerFailed, error};
  for (;;) {
    if (exchange.AnswerArrived()) return exchange.ReadAnswer();
    const std::size_t got = file.Read(exchange.ChunkRoom(), kChunkSize);
    if (got == 0 && file.Error() != sys::TOpenError::None)
      return {TReplyKind::FileFailed, "cannot read the file"};
    // A send that fails after the daemon has answered (its stream limit)
    // still leaves the answer to read.
    if (!exchange.SendChunk(got, error)) {
      TServerReply reply = exchange.ReadAnswer();
      if (reply.Kind != TReplyKind::Answer) reply.Text = error;
      return reply;
    }
    if (got == 0) break;
  }
  return exchange.ReadAnswer();
}

}  // namespace

TScanResult ParseAnswer(const std::string& answer) {
  std::string text = answer;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  static constexpr std::string_view kStream = "stream: ";
  const std::string said = text.rfind(kStream, 0) == 0 ? text.substr(kStream.size()) : text;
  if (said == "OK" && said.size() != text.size()) return {TKind::Clean, ""};
  if (EndsWith(said, " FOUND") && said.size() > 6 && said.size() != text.size())
    return {TKind::Found, said.substr(0, said.size() - 6)};
  if (EndsWith(said, "ERROR")) {
    std::string error = said.substr(0, said.size() - 5);
    while (!error.empty() && (error.back() == ' ' || error.back() == '.')) error.pop_back();
    return {TKind::Error, error.empty() ? "the daemon reported an error" : error};
  }
  // A peer that is no clamd may say much: enough of it to recognise.
  return {TKind::Error, "unexpected answer: " + text.substr(0, 100)};
}

TScanResult ScanFile(const std::string& path, const std::vector<TServerAddress>& servers,
                     const TClientOptions& options) {
  std::string failures;
  for (const TServerAddress& server : servers) {
    const TServerReply reply = AskServer(path, server, options);
    switch (reply.Kind) {
      case TServerReply::TKind::FileFailed: return {TKind::Error, reply.Text};
      case TServerReply::TKind::Answer: return ParseAnswer(reply.Text);
      case TServerReply::TKind::ServerFailed: break;
    }
    failures += (failures.empty() ? "" : "; ") + server.Text + ": " + reply.Text;
  }
  return {TKind::Error, "no clamd answered (" + failures + ")"};
}

}  // namespace tv::clamd
