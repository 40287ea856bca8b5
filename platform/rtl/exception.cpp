#include "platform/rtl/exception.h"

namespace tv {

std::string ListIndexErrorText(std::int64_t index) {
  return "List index out of bounds (" + std::to_string(index) + ")";
}

}  // namespace tv
