#include "platform/system/path_lock.h"

#include <windows.h>

#include "platform/system/process.h"
#include "platform/system/win32/wide_path.h"

namespace tv::sys {

namespace {

// The folder of a report rarely exists under two spellings, but 8.3 names
// and letter case are resolved all the same: the report itself may not exist
// yet, its folder does.
std::wstring LockedName(const std::string& path) {
  std::wstring full = win32::ExtendedPath(path);
  std::size_t cut = full.rfind(L'\\');
  if (cut != std::wstring::npos) {
    std::wstring folder = full.substr(0, cut);
    DWORD size = ::GetLongPathNameW(folder.c_str(), nullptr, 0);
    if (size != 0) {
      std::wstring longFolder(size, L'\0');
      DWORD got = ::GetLongPathNameW(folder.c_str(), longFolder.data(), size);
      if (got != 0 && got < size) full = longFolder.substr(0, got) + full.substr(cut);
    }
  }
  if (!full.empty()) ::CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
  return full;
}

}  // namespace

TPathLock::TPathLock(const std::string& path) {
  const std::wstring name = LockedName(path);
  const std::string digits = PathLockDigits(
      std::string_view(reinterpret_cast<const char*>(name.data()), name.size() * sizeof(wchar_t)));
  const std::wstring mutexName = L"Local\\tvvexal.path." + win32::Widen(digits);
  HANDLE mutex = ::CreateMutexW(nullptr, FALSE, mutexName.c_str());
  if (mutex == nullptr) return;
  for (;;) {
    DWORD result = ::MsgWaitForMultipleObjects(1, &mutex, FALSE, INFINITE, QS_PAINT | QS_SENDMESSAGE);
    // An abandoned mutex is ours as well: its holder died, its work is over.
    if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) {
      handle_ = reinterpret_cast<std::intptr_t>(mutex);
      return;
    }
    if (result != WAIT_OBJECT_0 + 1) break;
    DispatchPaintMessages();
  }
  ::CloseHandle(mutex);
}

TPathLock::~TPathLock() {
  if (!IsHeld()) return;
  HANDLE mutex = reinterpret_cast<HANDLE>(handle_);
  ::ReleaseMutex(mutex);
  ::CloseHandle(mutex);
}

}  // namespace tv::sys
