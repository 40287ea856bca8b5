// Path locks on POSIX: an flock on a file named by the path's digits, in a
// folder that only this user may write (no other user can hold our locks).
// The holder removes the file before it lets go, so lock files do not pile
// up; a waiter that then gets the lock of a removed file tries again.

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

bool SameInode(int fd, const std::string& path) {
  struct stat held {}, named{};
  return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
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
  const std::string file = folder + "/" + PathLockDigits(ResolvedName(path)) + ".lock";
  // Each round is lost only to a holder that removed the file meanwhile.
  for (int round = 0; round < 1000; ++round) {
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return;
    if (LockExclusive(fd) != 0) {
      ::close(fd);
      return;
    }
    if (SameInode(fd, file)) {
      handle_ = fd;
      lockFile_ = file;
      return;
    }
    ::close(fd);
  }
}

TPathLock::~TPathLock() {
  if (!IsHeld()) return;
  ::unlink(lockFile_.c_str());
  ::close(static_cast<int>(handle_));
}

}  // namespace tv::sys
