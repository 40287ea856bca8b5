#include "platform/rtl/convert.h"

namespace tv {

// Linux builds serve development and tests: one fixed, documented set of
// separators and formats (the members' defaults) instead of the locale's.
TFormatSettings UserFormatSettings() {
  return TFormatSettings{};
}

}  // namespace tv
