#include "platform/system/desktop.h"

#include <windows.h>

namespace tv::sys {

TRect SystemWorkArea() {
  RECT area{};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return {area.left, area.top, area.right, area.bottom};
}

TRect SystemScreenRect() {
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace tv::sys
