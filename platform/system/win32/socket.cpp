// Stream sockets on Windows through Winsock: non-blocking sockets waited for
// with select. Winsock is started once, on the first connection, and left
// to the process's end (the library may be unloaded at any time, and a
// cleanup while another thread has a connection would cut it).

#include "platform/system/socket.h"
#include "platform/system/deadline.h"

#include <winsock2.h>
#include <ws2tcpip.h>
// after winsock2.h, which must come first
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

namespace tv::sys {

namespace {

SOCKET AsSocket(long long handle) {
  return static_cast<SOCKET>(handle);
}

// The words POSIX's strerror gives, so that both builds report alike.
std::string ErrorText(int error) {
  switch (error) {
    case WSAECONNREFUSED: return "Connection refused";
    case WSAETIMEDOUT: return "Connection timed out";
    case WSAECONNRESET: return "Connection reset by peer";
    case WSAECONNABORTED: return "Software caused connection abort";
    case WSAEHOSTUNREACH: return "No route to host";
    case WSAENETUNREACH: return "Network is unreachable";
    case WSAEADDRNOTAVAIL: return "Cannot assign requested address";
    case WSAHOST_NOT_FOUND: return "Name or service not known";
    case WSATRY_AGAIN: return "Temporary failure in name resolution";
    case WSAENOTCONN: return "Transport endpoint is not connected";
    default: return "Winsock error " + std::to_string(error);
  }
}

bool StartWinsock(std::string& error) {
  static std::once_flag once;
  static int started = -1;
  std::call_once(once, [] {
    WSADATA data;
    started = ::WSAStartup(MAKEWORD(2, 2), &data);
  });
  if (started != 0) error = "Winsock could not be started (" + std::to_string(started) + ")";
  return started == 0;
}

// Waits until the socket is writable (Write) or readable: 1 ready, 0 timed
// out, -1 failed (a failed connection attempt shows in the exception set).
int WaitFor(SOCKET s, bool write, std::uint32_t timeoutMs) {
  fd_set ready, failed;
  FD_ZERO(&ready);
  FD_ZERO(&failed);
  FD_SET(s, &ready);
  FD_SET(s, &failed);
  timeval limit{static_cast<long>(timeoutMs / 1000), static_cast<long>((timeoutMs % 1000) * 1000)};
  const int result = ::select(0, write ? nullptr : &ready, write ? &ready : nullptr, &failed, &limit);
  if (result <= 0) return result == 0 ? 0 : -1;
  return FD_ISSET(s, &failed) ? -1 : 1;
}

// Connects the non-blocking socket within TimeoutMs, Idle running between
// slices; 0 or the error number.
int ConnectWithin(SOCKET s, const sockaddr* address, int length, std::uint32_t timeoutMs,
                  const std::function<void()>& idle) {
  if (::connect(s, address, length) == 0) return 0;
  const int started = ::WSAGetLastError();
  if (started != WSAEWOULDBLOCK) return started;
  const TDeadline deadline{std::chrono::milliseconds(timeoutMs)};
  int ready;
  for (;;) {
    const std::uint32_t wait = deadline.MillisecondsLeft();
    ready = WaitFor(s, true, idle ? deadline.Slice() : wait);
    if (ready != 0) break;
    if (wait == 0) return WSAETIMEDOUT;
    if (idle) idle();
  }
  int error = 0;
  int size = sizeof error;
  if (::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0)
    return ::WSAGetLastError();
  return error != 0 ? error : (ready < 0 ? WSAECONNREFUSED : 0);
}

// Waits until the socket is ready (to write, or to read), then moves at
// most Size bytes with Move (a send or a receive).
template <class TMove>
TNetResult Transfer(long long handle, bool write, std::uint32_t timeoutMs, TMove move, std::size_t size,
                    std::size_t& moved, std::string& error) {
  moved = 0;
  if (handle == -1) {
    error = "not connected";
    return TNetResult::Failed;
  }
  const SOCKET s = AsSocket(handle);
  const int ready = WaitFor(s, write, timeoutMs);
  if (ready == 0) return TNetResult::TimedOut;
  const int count = ready < 0 ? SOCKET_ERROR : move(s, size > 1u << 30 ? 1 << 30 : static_cast<int>(size));
  if (count == SOCKET_ERROR) {
    const int failure = ::WSAGetLastError();
    if (failure == WSAEWOULDBLOCK) return TNetResult::TimedOut;
    error = ErrorText(failure);
    return TNetResult::Failed;
  }
  moved = static_cast<std::size_t>(count);
  return TNetResult::Done;
}

SOCKET NewSocket(int family) {
  SOCKET s = ::socket(family, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  u_long nonBlocking = 1;
  ::ioctlsocket(s, FIONBIO, &nonBlocking);
  // Not handed to the scanner processes that the plug-in starts.
  ::SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
  return s;
}

}  // namespace

TSocket TSocket::ConnectTcp(const std::string& host, std::uint16_t port, std::uint32_t timeoutMs,
                            std::string& error, const std::function<void()>& idle) {
  if (!StartWinsock(error)) return TSocket();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_protocol = IPPROTO_TCP;
  addrinfo* found = nullptr;
  const int resolved = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
  if (resolved != 0) {
    error = ErrorText(resolved);
    return TSocket();
  }
  error = "no address";
  for (const addrinfo* at = found; at != nullptr; at = at->ai_next) {
    const SOCKET s = NewSocket(at->ai_family);
    if (s == INVALID_SOCKET) {
      error = ErrorText(::WSAGetLastError());
      continue;
    }
    const int failure = ConnectWithin(s, at->ai_addr, static_cast<int>(at->ai_addrlen), timeoutMs, idle);
    if (failure == 0) {
      ::freeaddrinfo(found);
      return TSocket(static_cast<long long>(s));
    }
    error = ErrorText(failure);
    ::closesocket(s);
  }
  ::freeaddrinfo(found);
  return TSocket();
}

TSocket TSocket::ConnectLocal(const std::string&, std::uint32_t, std::string& error,
                              const std::function<void()>&) {
  error = "local sockets are not available on Windows";
  return TSocket();
}

TNetResult TSocket::Send(const char* data, std::size_t size, std::uint32_t timeoutMs, std::size_t& sent,
                         std::string& error) {
  return Transfer(
      handle_, true, timeoutMs, [&](SOCKET s, int count) { return ::send(s, data, count, 0); }, size, sent,
      error);
}

TNetResult TSocket::Receive(char* buffer, std::size_t size, std::uint32_t timeoutMs, std::size_t& got,
                            std::string& error) {
  const TNetResult result = Transfer(
      handle_, false, timeoutMs, [&](SOCKET s, int count) { return ::recv(s, buffer, count, 0); }, size, got,
      error);
  return result == TNetResult::Done && got == 0 ? TNetResult::Closed : result;
}

void TSocket::Close() {
  if (IsOpen()) ::closesocket(AsSocket(handle_));
  handle_ = kInvalid;
}

}  // namespace tv::sys
