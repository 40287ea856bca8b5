#include "platform/system/files.h"

#include <windows.h>

#include <cstdint>

namespace tv::sys {

namespace {

HANDLE AsHandle(long long h) {
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(h));
}

}  // namespace

bool FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFileAt(const std::string& path) {
  if (::DeleteFileA(path.c_str())) return true;
  DWORD error = ::GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

TFile TFile::Open(const std::string& path, TOpenMode mode) {
  DWORD access = GENERIC_READ | GENERIC_WRITE;
  DWORD share = 0;
  DWORD disposition = OPEN_EXISTING;
  switch (mode) {
    case TOpenMode::ReadDenyWrite:
      access = GENERIC_READ;
      share = FILE_SHARE_READ;
      break;
    case TOpenMode::ExclusiveOpenAlways: disposition = OPEN_ALWAYS; break;
    case TOpenMode::ExclusiveCreateAlways: disposition = CREATE_ALWAYS; break;
  }
  HANDLE h = ::CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE || h == nullptr) return TFile();
  return TFile(static_cast<long long>(reinterpret_cast<std::intptr_t>(h)));
}

std::size_t TFile::Read(char* buffer, std::size_t size) {
  if (!IsOpen()) return 0;
  DWORD got = 0;
  if (!::ReadFile(AsHandle(handle_), buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
  return got;
}

std::size_t TFile::Write(const char* data, std::size_t size) {
  if (!IsOpen()) return 0;
  DWORD put = 0;
  if (!::WriteFile(AsHandle(handle_), data, static_cast<DWORD>(size), &put, nullptr)) return 0;
  return put;
}

bool TFile::SeekToEnd() {
  return IsOpen() && ::SetFilePointer(AsHandle(handle_), 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
}

void TFile::Close() {
  if (IsOpen()) ::CloseHandle(AsHandle(handle_));
  handle_ = kInvalid;
}

}  // namespace tv::sys
