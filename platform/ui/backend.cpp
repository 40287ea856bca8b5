#include "platform/ui/backend.h"

#include <utility>

#include "platform/ui/headless/headless_backend.h"
#ifdef _WIN32
#include "platform/ui/win32/win32_backend.h"
#endif

namespace tv {

namespace {

// Real windows where the system has them. Never destroyed: forms still
// alive at exit ask it to forget them.
std::unique_ptr<TUiBackend>& Installed() {
#ifdef _WIN32
  static auto* backend = new std::unique_ptr<TUiBackend>(NewWin32Backend());
#else
  static auto* backend = new std::unique_ptr<TUiBackend>(NewHeadlessBackend());
#endif
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
