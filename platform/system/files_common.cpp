#include "platform/system/files.h"

namespace tv::sys {

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

bool ReadWholeFile(const std::string& path, std::string& content) {
  content.clear();
  TFile file = TFile::Open(path, TFile::TOpenMode::ReadDenyWrite);
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
