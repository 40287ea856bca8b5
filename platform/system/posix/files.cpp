// Files on POSIX. Sharing is reproduced with flock: our own writers take an
// exclusive lock and our readers a shared one, so they exclude each other
// like the Windows share modes do.

#include "platform/system/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

namespace tv::sys {

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DeleteFileAt(const std::string& path) {
  return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool IsSameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  struct stat sa {
  }, sb{};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

std::string ResolvedPath(const std::string& path) {
  if (path.empty()) return path;
  const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  if (real) return real.get();
  if (path.front() == '/') return path;
  std::vector<char> folder(PATH_MAX);
  if (::getcwd(folder.data(), folder.size()) == nullptr) return path;
  const std::string cwd = folder.data();
  return cwd.back() == '/' ? cwd + path : cwd + "/" + path;
}

std::string CreateTempFile(const std::string& prefix) {
  const char* folder = std::getenv("TMPDIR");
  std::string name = folder != nullptr && folder[0] == '/' ? folder : "/tmp";
  if (name.back() != '/') name += '/';
  name += prefix + "XXXXXX";
  // mkstemp creates with O_EXCL and mode 0600: never a file that was there.
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  const int fd = ::mkstemp(buffer.data());
  if (fd < 0) return {};
  ::close(fd);
  return buffer.data();
}

TFile TFile::Open(const std::string& path, TOpenMode mode) {
  int flags = O_CLOEXEC;
  int lock = LOCK_EX;
  switch (mode) {
    case TOpenMode::ReadDenyWrite:
      flags |= O_RDONLY;
      lock = LOCK_SH;
      break;
    case TOpenMode::ExclusiveOpenAlways:
    case TOpenMode::ExclusiveCreateAlways: flags |= O_RDWR | O_CREAT; break;
  }
  // Without waiting: opening a FIFO for reading would block until somebody
  // writes to it. Only a regular file is a file here; the flag goes again
  // before anything is read or written.
  int fd = ::open(path.c_str(), flags | O_NONBLOCK, 0666);
  if (fd < 0) return TFile(TOpenError::Failed);
  struct stat st {};
  const int status = ::fcntl(fd, F_GETFL);
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || status < 0 ||
      ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return TFile(TOpenError::Failed);
  }
  if (::flock(fd, lock | LOCK_NB) != 0) {
    const TOpenError error = errno == EWOULDBLOCK ? TOpenError::Busy : TOpenError::Failed;
    ::close(fd);
    return TFile(error);
  }
  // Truncate only once the lock is ours: another holder's content stays.
  if (mode == TOpenMode::ExclusiveCreateAlways && ::ftruncate(fd, 0) != 0) {
    ::close(fd);
    return TFile(TOpenError::Failed);
  }
  return TFile(fd);
}

std::size_t TFile::Read(char* buffer, std::size_t size) {
  if (!IsOpen()) return 0;
  for (;;) {
    ssize_t got = ::read(static_cast<int>(handle_), buffer, size);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) {
      error_ = TOpenError::Failed;
      return 0;
    }
  }
}

std::size_t TFile::Write(const char* data, std::size_t size) {
  if (!IsOpen()) return 0;
  std::size_t done = 0;
  while (done < size) {
    ssize_t put = ::write(static_cast<int>(handle_), data + done, size - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      break;
    }
    done += static_cast<std::size_t>(put);
  }
  return done;
}

bool TFile::SeekToEnd() {
  return IsOpen() && ::lseek(static_cast<int>(handle_), 0, SEEK_END) >= 0;
}

void TFile::Close() {
  if (IsOpen()) ::close(static_cast<int>(handle_));
  handle_ = kInvalid;
}

std::vector<std::string> SubfolderNames(const std::string& folder) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    if (::stat((folder + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) names.push_back(name);
  }
  return names;
}

}  // namespace tv::sys
