#include "platform/system/text.h"

#include <windows.h>

namespace tv::sys {

std::string AnsiUpperCase(std::string_view text) {
  std::string result(text);
  if (!result.empty()) ::CharUpperBuffA(result.data(), static_cast<DWORD>(result.size()));
  return result;
}

bool OutputTakesUtf8() {
  return ::GetConsoleOutputCP() == CP_UTF8;
}

}  // namespace tv::sys
