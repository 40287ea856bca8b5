#include <utility>

#include "platform/system/shell.h"

namespace tv::sys {

void OpenWithSystem(const TShellOpen& request);  // per system

namespace {

// Set by tests before they start threads, read-only afterwards.
TShellOpenHook& Hook() {
  static TShellOpenHook hook;
  return hook;
}

}  // namespace

void ShellOpen(const TShellOpen& request) {
  if (Hook()) {
    Hook()(request);
    return;
  }
  OpenWithSystem(request);
}

TShellOpenHook SetShellOpenHook(TShellOpenHook hook) {
  return std::exchange(Hook(), std::move(hook));
}

}  // namespace tv::sys
