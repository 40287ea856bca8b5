#include "platform/system/library.h"

#include <utility>

namespace tv::sys {

TLibrary::TLibrary(TLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

TLibrary& TLibrary::operator=(TLibrary&& other) noexcept {
  if (this != &other) {
    Unload();
    handle_ = std::exchange(other.handle_, nullptr);
    error_ = std::move(other.error_);
  }
  return *this;
}

TLibrary::~TLibrary() {
  Unload();
}

}  // namespace tv::sys
