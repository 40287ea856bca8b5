#include "platform/system/win32/wide_path.h"

#include <windows.h>

namespace tv::sys::win32 {

namespace {

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.rfind(prefix, 0) == 0;
}

// Already prefixed names ("\\?\", and device names "\\.\") are taken as given.
bool IsPrefixed(const std::wstring& path) {
  return StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\");
}

std::wstring FullPathName(const std::wstring& path) {
  DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  DWORD got = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (got == 0 || got >= size) return path;
  full.resize(got);
  return full;
}

}  // namespace

std::wstring Widen(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int length = static_cast<int>(ansi.size());
  int count = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (count <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(count), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), count);
  return wide;
}

std::optional<std::string> Narrow(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  const int length = static_cast<int>(wide.size());
  BOOL lossy = FALSE;
  int count = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, &lossy);
  if (count <= 0 || lossy) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(count), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), length, ansi.data(), count, nullptr, nullptr);
  return ansi;
}

std::wstring ExtendedPath(const std::string& path) {
  std::wstring wide = Widen(path);
  if (wide.empty() || IsPrefixed(wide)) return wide;
  std::wstring full = FullPathName(wide);
  if (IsPrefixed(full)) return full;
  if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

}  // namespace tv::sys::win32
