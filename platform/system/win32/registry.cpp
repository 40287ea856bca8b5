#include "platform/system/registry.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace tv::sys {

namespace {

class TKey {
 public:
  explicit TKey(const std::string& path) {
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key_) !=
        ERROR_SUCCESS)
      key_ = nullptr;
  }
  ~TKey() {
    if (key_ != nullptr) ::RegCloseKey(key_);
  }
  TKey(const TKey&) = delete;
  TKey& operator=(const TKey&) = delete;
  HKEY Handle() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::optional<std::string> Expanded(const std::string& text) {
  const DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::vector<char> buffer(needed);
  const DWORD got = ::ExpandEnvironmentStringsA(text.c_str(), buffer.data(), needed);
  if (got == 0 || got > needed) return std::nullopt;
  return std::string(buffer.data());
}

}  // namespace

std::optional<std::string> MachineText64(const std::string& key, const std::string& name) {
  const TKey opened(key);
  if (opened.Handle() == nullptr) return std::nullopt;
  DWORD type = 0, size = 0;
  if (::RegQueryValueExA(opened.Handle(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::nullopt;
  // Room for a terminator that the stored value may lack; a value that grows
  // between the two calls is read again.
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::vector<char> buffer(size + 2, '\0');
    DWORD got = size;
    const LONG status = ::RegQueryValueExA(opened.Handle(), name.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (status == ERROR_MORE_DATA) {
      size = got;
      continue;
    }
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    std::string text(buffer.data(), std::min<std::size_t>(got, buffer.size()));
    text.resize(std::string(text.c_str()).size());  // up to the first terminator
    return type == REG_EXPAND_SZ ? Expanded(text) : text;
  }
  return std::nullopt;
}

}  // namespace tv::sys
