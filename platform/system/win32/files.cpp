#include "platform/system/files.h"

#include <windows.h>
// after windows.h, which it builds on
#include <wincrypt.h>

#include <cstdint>

#include "platform/system/win32/wide_path.h"

namespace tv::sys {

namespace {

using win32::ExtendedPath;

HANDLE AsHandle(long long h) {
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(h));
}

// An 8.3 name of an existing file becomes its long name, so that both
// spellings of one file compare equal.
std::wstring LongName(const std::wstring& path) {
  DWORD size = ::GetLongPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  DWORD got = ::GetLongPathNameW(path.c_str(), full.data(), size);
  if (got == 0 || got >= size) return path;
  full.resize(got);
  return full;
}

bool SameNameIgnoringCase(std::wstring a, std::wstring b) {
  if (a.size() != b.size()) return false;
  if (!a.empty()) {
    ::CharUpperBuffW(a.data(), static_cast<DWORD>(a.size()));
    ::CharUpperBuffW(b.data(), static_cast<DWORD>(b.size()));
  }
  return a == b;
}

// Volume and file index of an existing file or folder.
bool Identity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
  HANDLE h = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool known = ::GetFileInformationByHandle(h, &info) != 0;
  ::CloseHandle(h);
  return known;
}

bool IsBusy(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// The extended prefix taken off again, for programs that do not expect it.
std::wstring WithoutPrefix(const std::wstring& path) {
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

// The final name of an existing file, links resolved; empty when it cannot
// be opened.
std::wstring FinalName(const std::wstring& path) {
  HANDLE h = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return {};
  std::wstring name(MAX_PATH, L'\0');
  DWORD got = ::GetFinalPathNameByHandleW(h, name.data(), static_cast<DWORD>(name.size()), VOLUME_NAME_DOS);
  if (got >= name.size()) {
    name.resize(got + 1);
    got = ::GetFinalPathNameByHandleW(h, name.data(), static_cast<DWORD>(name.size()), VOLUME_NAME_DOS);
  }
  ::CloseHandle(h);
  if (got == 0 || got >= name.size()) return {};
  name.resize(got);
  return name;
}

// Random bits from the system's generator, for names nobody can guess.
bool RandomBits(std::uint64_t& bits) {
  HCRYPTPROV provider = 0;
  if (!::CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
    return false;
  const bool got = ::CryptGenRandom(provider, sizeof bits, reinterpret_cast<BYTE*>(&bits)) != 0;
  ::CryptReleaseContext(provider, 0);
  return got;
}

}  // namespace

std::string ResolvedPath(const std::string& path) {
  if (path.empty()) return path;
  const std::wstring extended = ExtendedPath(path);
  std::wstring resolved = FinalName(extended);
  if (resolved.empty()) resolved = extended;
  // A name the code page cannot spell stays as given: the system resolves it
  // the same way for whoever opens it.
  return win32::Narrow(WithoutPrefix(resolved)).value_or(path);
}

std::string CreateTempFile(const std::string& prefix) {
  char folder[MAX_PATH + 1];
  const DWORD length = ::GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return {};
  static const char digits[] = "0123456789abcdef";
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::uint64_t bits = 0;
    if (!RandomBits(bits)) return {};
    std::string name = std::string(folder, length) + prefix;
    for (int i = 0; i < 16; ++i, bits >>= 4) name += digits[bits & 15];
    name += ".tmp";
    // CREATE_NEW fails on an existing name: a planted file is never ours.
    HANDLE h = ::CreateFileW(ExtendedPath(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      ::CloseHandle(h);
      return name;
    }
    if (::GetLastError() != ERROR_FILE_EXISTS) return {};
  }
  return {};
}

bool FileExists(const std::string& path) {
  DWORD attributes = ::GetFileAttributesW(ExtendedPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFileAt(const std::string& path) {
  if (::DeleteFileW(ExtendedPath(path).c_str())) return true;
  DWORD error = ::GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsSameFile(const std::string& a, const std::string& b) {
  const std::wstring fullA = LongName(ExtendedPath(a)), fullB = LongName(ExtendedPath(b));
  if (SameNameIgnoringCase(fullA, fullB)) return true;
  BY_HANDLE_FILE_INFORMATION infoA, infoB;
  return Identity(fullA, infoA) && Identity(fullB, infoB) &&
         infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
         infoA.nFileIndexHigh == infoB.nFileIndexHigh && infoA.nFileIndexLow == infoB.nFileIndexLow;
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
  HANDLE h = ::CreateFileW(ExtendedPath(path).c_str(), access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE || h == nullptr)
    return TFile(IsBusy(::GetLastError()) ? TOpenError::Busy : TOpenError::Failed);
  return TFile(static_cast<long long>(reinterpret_cast<std::intptr_t>(h)));
}

std::size_t TFile::Read(char* buffer, std::size_t size) {
  if (!IsOpen()) return 0;
  DWORD got = 0;
  if (!::ReadFile(AsHandle(handle_), buffer, static_cast<DWORD>(size), &got, nullptr)) {
    error_ = TOpenError::Failed;
    return 0;
  }
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

std::vector<std::string> SubfolderNames(const std::string& folder) {
  std::vector<std::string> names;
  // The extended name takes no doubled separator.
  std::string base = folder;
  while (base.size() > 3 && (base.back() == '\\' || base.back() == '/')) base.pop_back();
  WIN32_FIND_DATAW found;
  std::wstring pattern = ExtendedPath(base);
  if (pattern.empty()) return names;
  if (pattern.back() != L'\\') pattern += L'\\';
  const HANDLE search = ::FindFirstFileW((pattern + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == L"." || name == L"..") continue;
    // A name without an ANSI form could not be reached again by it.
    if (std::optional<std::string> narrow = win32::Narrow(name)) names.push_back(std::move(*narrow));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

}  // namespace tv::sys
