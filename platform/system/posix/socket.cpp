// Stream sockets on POSIX: non-blocking descriptors waited for with poll,
// sends that never raise SIGPIPE.

#include "platform/system/socket.h"
#include "platform/system/deadline.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <string>

namespace tv::sys {

namespace {

std::string ErrorText(int error) {
  return std::strerror(error);
}

int AsTimeout(std::uint32_t timeoutMs) {
  return timeoutMs > static_cast<std::uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(timeoutMs);
}

// Waits until the descriptor is ready for Events: 1 ready, 0 timed out, -1 failed.
int WaitFor(int fd, short events, std::uint32_t timeoutMs) {
  pollfd ready{fd, events, 0};
  int result;
  do {
    result = ::poll(&ready, 1, AsTimeout(timeoutMs));
  } while (result < 0 && errno == EINTR);
  return result;
}

// Connects the non-blocking descriptor to Address within TimeoutMs, Idle
// running between slices; 0 or the error number.
int ConnectWithin(int fd, const sockaddr* address, socklen_t length, std::uint32_t timeoutMs,
                  const std::function<void()>& idle) {
  if (::connect(fd, address, length) == 0) return 0;
  if (errno != EINPROGRESS && errno != EINTR) return errno;
  const TDeadline deadline{std::chrono::milliseconds(timeoutMs)};
  for (;;) {
    const std::uint32_t wait = deadline.MillisecondsLeft();
    const int ready = WaitFor(fd, POLLOUT, idle ? deadline.Slice() : wait);
    if (ready < 0) return errno;
    if (ready > 0) break;
    if (wait == 0) return ETIMEDOUT;
    if (idle) idle();
  }
  int error = 0;
  socklen_t size = sizeof error;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return errno;
  return error;
}

// Waits until the descriptor is ready for Events, then moves bytes with
// Move (a send or a receive, repeated when a signal broke it off).
template <class TMove>
TNetResult Transfer(long long handle, short events, std::uint32_t timeoutMs, TMove move, std::size_t& moved,
                    std::string& error) {
  moved = 0;
  if (handle < 0) {
    error = "not connected";
    return TNetResult::Failed;
  }
  const int fd = static_cast<int>(handle);
  const int ready = WaitFor(fd, events, timeoutMs);
  if (ready == 0) return TNetResult::TimedOut;
  ssize_t count = -1;
  if (ready > 0) do {
      count = move(fd);
    } while (count < 0 && errno == EINTR);
  if (count < 0) {
    if (errno == EAGAIN || errno == EWOULDBLOCK) return TNetResult::TimedOut;
    error = ErrorText(errno);
    return TNetResult::Failed;
  }
  moved = static_cast<std::size_t>(count);
  return TNetResult::Done;
}

int NewSocket(int family) {
  return ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
}

}  // namespace

TSocket TSocket::ConnectTcp(const std::string& host, std::uint16_t port, std::uint32_t timeoutMs,
                            std::string& error, const std::function<void()>& idle) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int resolved = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
  if (resolved != 0) {
    error = resolved == EAI_SYSTEM ? ErrorText(errno) : ::gai_strerror(resolved);
    return TSocket();
  }
  error = "no address";
  for (const addrinfo* at = found; at != nullptr; at = at->ai_next) {
    const int fd = NewSocket(at->ai_family);
    if (fd < 0) {
      error = ErrorText(errno);
      continue;
    }
    const int failure = ConnectWithin(fd, at->ai_addr, at->ai_addrlen, timeoutMs, idle);
    if (failure == 0) {
      ::freeaddrinfo(found);
      return TSocket(fd);
    }
    error = ErrorText(failure);
    ::close(fd);
  }
  ::freeaddrinfo(found);
  return TSocket();
}

TSocket TSocket::ConnectLocal(const std::string& path, std::uint32_t timeoutMs, std::string& error,
                              const std::function<void()>& idle) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path || path.find('\0') != std::string::npos) {
    error = "not a usable socket path";
    return TSocket();
  }
  std::memcpy(address.sun_path, path.data(), path.size());
  const int fd = NewSocket(AF_UNIX);
  if (fd < 0) {
    error = ErrorText(errno);
    return TSocket();
  }
  const int failure =
      ConnectWithin(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address, timeoutMs, idle);
  if (failure == 0) return TSocket(fd);
  error = ErrorText(failure);
  ::close(fd);
  return TSocket();
}

TNetResult TSocket::Send(const char* data, std::size_t size, std::uint32_t timeoutMs, std::size_t& sent,
                         std::string& error) {
  return Transfer(
      handle_, POLLOUT, timeoutMs, [&](int fd) { return ::send(fd, data, size, MSG_NOSIGNAL); }, sent, error);
}

TNetResult TSocket::Receive(char* buffer, std::size_t size, std::uint32_t timeoutMs, std::size_t& got,
                            std::string& error) {
  const TNetResult result = Transfer(
      handle_, POLLIN, timeoutMs, [&](int fd) { return ::recv(fd, buffer, size, 0); }, got, error);
  return result == TNetResult::Done && got == 0 ? TNetResult::Closed : result;
}

void TSocket::Close() {
  if (IsOpen()) ::close(static_cast<int>(handle_));
  handle_ = kInvalid;
}

}  // namespace tv::sys
