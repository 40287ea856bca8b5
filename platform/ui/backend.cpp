#include "platform/ui/backend.h"

#include <utility>

#include "platform/ui/headless/headless_backend.h"

namespace tv {

namespace {

// Never destroyed: forms still alive at exit ask it to forget them.
std::unique_ptr<TUiBackend>& Installed() {
  static auto* backend = new std::unique_ptr<TUiBackend>(NewHeadlessBackend());
  return *backend;
}

}  // namespace

TUiBackend& UiBackend() {
  return *Installed();
}

std::unique_ptr<TUiBackend> SetUiBackend(std::unique_ptr<TUiBackend> backend) {
  return std::exchange(Installed(), std::move(backend));
}

}  // namespace tv
