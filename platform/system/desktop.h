#pragma once
// The desktop as dialogs place themselves on it.

#include <optional>

namespace tv::sys {

struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
};

// The screen without the task bar: SPI_GETWORKAREA on Windows. POSIX has no
// desktop of ours: a 1024 by 768 screen with a 30 pixel task bar at the
// bottom, the same on every machine so that placements can be tested.
TRect WorkArea();
// The whole screen.
TRect ScreenRect();

// Tests place dialogs on a desktop of their own: while set, WorkArea and
// ScreenRect give these instead of the system's.
void OverrideDesktop(std::optional<TRect> workArea, std::optional<TRect> screen);

}  // namespace tv::sys
