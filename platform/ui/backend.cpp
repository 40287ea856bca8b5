#include "platform/ui/backend.h"

#include <utility>

#include "platform/rtl/process_object.h"
#include "platform/ui/headless/headless_backend.h"
#ifdef _WIN32
#include "platform/ui/win32/win32_backend.h"
#endif

namespace tv {

namespace {

// Never destroyed at the end of the process: forms still alive then ask it
// to forget them.
constinit TProcessObject<TUiBackend> installed;

std::unique_ptr<TUiBackend> NewSystemBackend() {
#ifdef _WIN32
  return NewWin32Backend();
#else
  return NewHeadlessBackend();
#endif
}

}  // namespace

TUiBackend& UiBackend() {
  return installed.Get(NewSystemBackend);
}

TUiBackend* InstalledUiBackend() {
  return installed.Find();
}

std::unique_ptr<TUiBackend> SetUiBackend(std::unique_ptr<TUiBackend> backend) {
  return installed.Exchange(std::move(backend));
}

void ShutdownUiBackend() {
  // The released forms first, while the backend they tell of it is there.
  if (TUiBackend* backend = installed.Find()) backend->DestroyReleasedForms();
  installed.Free();
}

void OrphanUiWindows() noexcept {
#ifdef _WIN32
  OrphanWin32Windows();
#endif
}

}  // namespace tv
