#pragma once
// The forms as real windows of the system's standard classes. While a test
// or a tool operates forms headless (a modal driver, or the environment's
// steps), it leaves them to the headless backend.

#include <memory>

#include "platform/ui/backend.h"

namespace tv {

std::unique_ptr<TUiBackend> NewWin32Backend();

}  // namespace tv
