#pragma once
// The forms as real windows of the system's standard classes. The process's
// backend (backend.cpp) hands forms that a test or a tool operates headless
// to the headless backend instead.

#include <memory>

#include "platform/ui/backend.h"

namespace tv {

std::unique_ptr<TUiBackend> NewWin32Backend();
// For the loader's notice that the library goes without shutdown: a window
// of the backend that outlives the library gets the system's procedure.
// Safe under the loader lock: it frees and destroys nothing.
void OrphanWin32Windows() noexcept;

}  // namespace tv
