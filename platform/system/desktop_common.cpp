#include "platform/system/desktop.h"

namespace tv::sys {

TRect SystemWorkArea();  // per system
TRect SystemScreenRect();

namespace {

struct TOverride {
  std::optional<TRect> WorkArea, Screen;
};

// Set by tests before they start threads, read-only afterwards.
TOverride& Override() {
  static TOverride desktop;
  return desktop;
}

}  // namespace

TRect WorkArea() {
  return Override().WorkArea ? *Override().WorkArea : SystemWorkArea();
}

TRect ScreenRect() {
  return Override().Screen ? *Override().Screen : SystemScreenRect();
}

void OverrideDesktop(std::optional<TRect> workArea, std::optional<TRect> screen) {
  Override() = {workArea, screen};
}

}  // namespace tv::sys
