// Child processes on POSIX: the Windows command line is split by the C
// runtime's rules and a bare program name searched beside the host
// executable, then along the rooted folders of PATH.

#include "platform/system/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/system/command_line.h"
#include "platform/system/deadline.h"
#include "platform/system/module.h"
#include "platform/system/program_search.h"

extern char** environ;

namespace tv::sys {

namespace {

// Killed by a signal: the shell's convention, never 0 and never -1.
std::uint32_t DecodeStatus(int status) {
  if (WIFEXITED(status)) return static_cast<std::uint32_t>(WEXITSTATUS(status));
  return 128u + static_cast<std::uint32_t>(WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

}  // namespace

bool CreateChildProcess(char* commandLineBuffer, int showCommand, TProcessInfo& info, bool pipeOutput) {
  info = TProcessInfo{};
  if (commandLineBuffer == nullptr) return false;
  std::vector<std::string> args = SplitCommandLine(commandLineBuffer);
  std::string program = FindProgram(args.front(), HostExecutableDirectory());
  if (program.empty()) return false;

  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  // Both ends close on exec: only the child's own copies (1 and 2) stay
  // open in it, so the pipe ends when the child and its children have gone.
  int pipeEnds[2] = {-1, -1};
  if (pipeOutput && ::pipe2(pipeEnds, O_CLOEXEC) != 0) return false;

  // A hidden console has nobody to read or type: the child gets /dev/null.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (pipeOutput) {
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
  } else if (showCommand == kSwHide) {
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  pid_t pid = 0;
  int rc = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (pipeOutput) ::close(pipeEnds[1]);
  if (rc != 0) {
    if (pipeOutput) ::close(pipeEnds[0]);
    return false;
  }
  info.Pid = pid;
  if (pipeOutput) {
    ::fcntl(pipeEnds[0], F_SETFL, ::fcntl(pipeEnds[0], F_GETFL) | O_NONBLOCK);
    info.Output = pipeEnds[0];
  }
  return true;
}

TPipeRead ReadChildOutput(TProcessInfo& info, char* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  if (info.Output < 0) return TPipeRead::Ended;
  ssize_t n;
  do {
    n = ::read(static_cast<int>(info.Output), buffer, size);
  } while (n < 0 && errno == EINTR);
  if (n > 0) {
    got = static_cast<std::size_t>(n);
    return TPipeRead::Data;
  }
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return TPipeRead::Empty;
  return TPipeRead::Ended;
}

namespace {

// Reaps the child, blocking or not; the result is MsgWaitForProcess's.
std::uint32_t Reap(TProcessInfo& info, int options) {
  int status = 0;
  pid_t got;
  do {
    got = ::waitpid(static_cast<pid_t>(info.Pid), &status, options);
  } while (got < 0 && errno == EINTR);
  if (got < 0) return kWaitFailed;
  if (got == 0) return kWaitTimedOut;
  info.Reaped = true;
  info.ExitStatus = DecodeStatus(status);
  return kWaitProcessEnded;
}

// Sleeps until the child has ended or Timeout has passed. A process file
// descriptor wakes the caller the moment the child ends; kernels without
// one are asked again after short, growing naps.
void AwaitEnd(const TProcessInfo& info, std::chrono::milliseconds timeout, std::chrono::milliseconds& nap) {
#ifdef SYS_pidfd_open
  const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(info.Pid), 0));
  if (pidfd >= 0) {
    pollfd ready{pidfd, POLLIN, 0};
    ::poll(&ready, 1, static_cast<int>(std::min<std::chrono::milliseconds::rep>(timeout.count(), 1 << 30)));
    ::close(pidfd);
    return;
  }
#endif
  std::this_thread::sleep_for(std::min(timeout, nap));
  nap = std::min(nap * 2, std::chrono::milliseconds(50));
}

}  // namespace

std::uint32_t MsgWaitForProcess(TProcessInfo& info, std::uint32_t timeoutMs) {
  if (info.Reaped) return kWaitProcessEnded;
  if (info.Pid <= 0) return kWaitFailed;
  if (timeoutMs == kWaitForever) return Reap(info, 0);
  const TDeadline deadline{std::chrono::milliseconds(timeoutMs)};
  std::chrono::milliseconds nap{1};
  for (;;) {
    const std::uint32_t result = Reap(info, WNOHANG);
    if (result != kWaitTimedOut) return result;
    const std::uint32_t left = deadline.MillisecondsLeft();
    if (left == 0) return kWaitTimedOut;
    AwaitEnd(info, std::chrono::milliseconds(left), nap);
  }
}

bool EndChildProcess(TProcessInfo& info) {
  if (info.Reaped) return true;
  if (info.Pid <= 0) return false;
  if (Reap(info, WNOHANG) == kWaitProcessEnded) return true;
  ::kill(static_cast<pid_t>(info.Pid), SIGKILL);
  return Reap(info, 0) == kWaitProcessEnded;
}

// There is no window system to repaint on POSIX: the wait above blocks in
// waitpid and reports only the end of the process.
void DispatchPaintMessages() {}

std::uint32_t GetProcessExitCode(TProcessInfo& info) {
  if (info.Reaped) return info.ExitStatus;
  int status = 0;
  if (info.Pid > 0 && ::waitpid(static_cast<pid_t>(info.Pid), &status, WNOHANG) == info.Pid) {
    info.Reaped = true;
    info.ExitStatus = DecodeStatus(status);
    return info.ExitStatus;
  }
  return kStillActive;
}

void CloseProcessHandles(TProcessInfo& info) {
  info.Pid = 0;
  if (info.Output >= 0) ::close(static_cast<int>(info.Output));
  info.Output = -1;
}

}  // namespace tv::sys

namespace tv::sys::search {

TNameKind Classify(std::string_view name) {
  if (name.empty()) return TNameKind::Refused;
  if (name.front() == '/') return TNameKind::Rooted;
  return name.find('/') == std::string_view::npos ? TNameKind::Bare : TNameKind::WithFolder;
}

// POSIX has no system folders apart from those on PATH.
std::vector<std::string> SystemFolders() {
  const char* path = std::getenv("PATH");
  return path == nullptr ? std::vector<std::string>() : RootedFolders(path, ':');
}

// Windows appends ".exe" to a name without extension; Linux programs have
// none, so the bare name is tried after it.
std::vector<std::string> FileNames(const std::string& name) {
  std::size_t slash = name.rfind('/');
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return {name};
  return {name + ".exe", name};
}

bool IsProgramFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string Join(const std::string& folder, const std::string& name) {
  return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

}  // namespace tv::sys::search
