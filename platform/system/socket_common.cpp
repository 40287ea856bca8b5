#include "platform/system/socket.h"

namespace tv::sys {

TSocket::TSocket(TSocket&& other) noexcept : handle_(other.handle_) {
  other.handle_ = kInvalid;
}

TSocket& TSocket::operator=(TSocket&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = kInvalid;
  }
  return *this;
}

TSocket::~TSocket() {
  Close();
}

}  // namespace tv::sys
