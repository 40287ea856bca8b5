// Path locks on POSIX: an flock on one of 256 lock files, chosen by the
// path's digits, in a folder that only this user may write (no other user
// can hold our locks). The files stay: a fixed set that never grows, and no
// removal that a waiter could race with. Two paths sharing a file wait for
// each other needlessly, rarely and briefly.

#include "platform/system/path_lock.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace tv::sys {

namespace {

// Empty when the folder cannot be made or belongs to someone else.
std::string LockFolder() {
  const std::string folder = "/tmp/tvvexal-" + std::to_string(::geteuid());
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid() ||
      (st.st_mode & 077) != 0)
    return {};
  return folder;
}

// The report may not exist yet, its folder does: the folder is resolved
// (links, "." and ".."), the name appended.
std::string ResolvedName(const std::string& path) {
  std::size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::unique_ptr<char, decltype(&::free)> real(::realpath(folder.c_str(), nullptr), &::free);
  if (!real) return path;
  std::string resolved(real.get());
  if (resolved.back() != '/') resolved += '/';
  return resolved + name;
}

int LockExclusive(int fd) {
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX);
  } while (rc != 0 && errno == EINTR);
  return rc;
}

}  // namespace

TPathLock::TPathLock(const std::string& path) {
  const std::string folder = LockFolder();
  if (folder.empty()) return;
  const std::string file = folder + "/" + PathLockDigits(ResolvedName(path)).substr(14) + ".lock";
  int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return;
  if (LockExclusive(fd) != 0) {
    ::close(fd);
    return;
  }
  handle_ = fd;
}

TPathLock::~TPathLock() {
  if (IsHeld()) ::close(static_cast<int>(handle_));
}

}  // namespace tv::sys
