#include "platform/system/desktop.h"

namespace tv::sys {

TRect SystemWorkArea() {
  return {0, 0, 1024, 738};
}

TRect SystemScreenRect() {
  return {0, 0, 1024, 768};
}

}  // namespace tv::sys
