#include "platform/system/desktop.h"

namespace tv::sys {

TRect WorkArea() {
  return {0, 0, 1024, 738};
}

TRect ScreenRect() {
  return {0, 0, 1024, 768};
}

}  // namespace tv::sys
