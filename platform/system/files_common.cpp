#include "platform/system/files.h"

#include <thread>

#include "platform/system/deadline.h"

namespace tv::sys {

std::string InFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  if (last == kPathSeparator || last == '/') return folder + name;
  return folder + kPathSeparator + name;
}

TFile::TFile(TFile&& other) noexcept : handle_(other.handle_), error_(other.error_) {
  other.handle_ = kInvalid;
}

TFile& TFile::operator=(TFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    error_ = other.error_;
    other.handle_ = kInvalid;
  }
  return *this;
}

TFile::~TFile() {
  Close();
}

TFile TFile::OpenWhenFree(const std::string& path, TOpenMode mode, std::chrono::milliseconds limit) {
  constexpr std::chrono::milliseconds kPause{5};
  const TDeadline deadline{limit};
  for (;;) {
    TFile file = Open(path, mode);
    if (file.Error() != TOpenError::Busy || deadline.Passed()) return file;
    std::this_thread::sleep_for(kPause);
  }
}

bool ReadWholeFile(const std::string& path, std::string& content) {
  content.clear();
  TFile file = TFile::OpenWhenFree(path, TFile::TOpenMode::ReadDenyWrite, kReadWaitLimit);
  if (!file.IsOpen()) return false;
  char buffer[64 * 1024];
  for (;;) {
    std::size_t got = file.Read(buffer, sizeof buffer);
    if (got == 0) break;
    content.append(buffer, got);
  }
  return true;
}

}  // namespace tv::sys
