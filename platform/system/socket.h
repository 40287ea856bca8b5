#pragma once
// Stream connections to servers: TCP on both systems (Winsock on Windows),
// local stream sockets on POSIX. Every wait has a time limit in
// milliseconds, so that a caller can wait in slices and keep its windows
// painted between them, and a silent peer never holds it for good.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace tv::sys {

// How a transfer or a connection attempt ended.
enum class TNetResult {
  Done,      // connected, or at least one byte moved
  TimedOut,  // nothing happened within the time given
  Closed,    // the peer closed the connection (receiving only)
  Failed,    // refused, reset, unreachable, ... (the text says which)
};

// A connected stream socket. Move-only; closes itself.
class TSocket {
 public:
  TSocket() = default;
  TSocket(TSocket&& other) noexcept;
  TSocket& operator=(TSocket&& other) noexcept;
  TSocket(const TSocket&) = delete;
  TSocket& operator=(const TSocket&) = delete;
  ~TSocket();

  // Connects to Host (a name, or an IPv4 or IPv6 address without brackets)
  // at Port, trying each address the name resolves to, each within TimeoutMs
  // (Idle, when given, runs every few tens of milliseconds meanwhile; the
  // name's resolution itself is not sliced). On failure the socket stays
  // closed and Error says why, in words.
  static TSocket ConnectTcp(const std::string& host, std::uint16_t port, std::uint32_t timeoutMs,
                            std::string& error, const std::function<void()>& idle = {});
  // Connects to the local stream socket at Path (POSIX; Windows: always
  // fails, saying so).
  static TSocket ConnectLocal(const std::string& path, std::uint32_t timeoutMs, std::string& error,
                              const std::function<void()>& idle = {});

  bool IsOpen() const { return handle_ != kInvalid; }

  // Sends some of Data (Sent: how much) once the socket takes it within
  // TimeoutMs. A peer that has gone is Failed, never a signal.
  TNetResult Send(const char* data, std::size_t size, std::uint32_t timeoutMs, std::size_t& sent,
                  std::string& error);
  // Receives what has arrived, up to Size (> 0) bytes (Got: how much),
  // waiting at most TimeoutMs for the first byte.
  TNetResult Receive(char* buffer, std::size_t size, std::uint32_t timeoutMs, std::size_t& got,
                     std::string& error);
  void Close();

 private:
  static constexpr long long kInvalid = -1;
  explicit TSocket(long long handle) : handle_(handle) {}
  long long handle_ = kInvalid;
};

}  // namespace tv::sys
