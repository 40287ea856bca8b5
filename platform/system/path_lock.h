#pragma once
// A lock on a file's full path, shared by every process of the user: work on
// one file that several processes may start at the same time (a report file
// that checks of different attachments share) waits for the holder before it.

#include <cstdint>
#include <string>
#include <string_view>

namespace tv::sys {

class TPathLock {
 public:
  // Waits until no other holder of the same path is left; meanwhile the
  // caller's windows stay painted as in the wait for a process. Names that
  // the system resolves to one file share one lock. When the system cannot
  // provide the lock, none is held and the caller goes on unguarded: a lost
  // check would cost the user more than a rare race.
  explicit TPathLock(const std::string& path);
  ~TPathLock();
  TPathLock(const TPathLock&) = delete;
  TPathLock& operator=(const TPathLock&) = delete;

  bool IsHeld() const { return handle_ != kNone; }

 private:
  static constexpr std::intptr_t kNone = -1;
  std::intptr_t handle_ = kNone;  // Windows: mutex handle; POSIX: locked descriptor
};

// Sixteen hex digits that name the lock of a resolved full path. Two paths
// with the same digits share a lock, which costs at most a needless wait.
std::string PathLockDigits(std::string_view resolvedPath);

}  // namespace tv::sys
