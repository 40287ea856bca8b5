#include "plugin/host_answer.h"

#include <algorithm>
#include <cstring>

namespace tv {

std::string FindingText(std::string_view fileName, std::string_view names) {
  std::string text = "\n";
  text += fileName;
  text += '\n';
  text += names;
  return text;
}

void CopyVirusText(const std::string& text, char* virusName) {
  const std::size_t count = std::min(text.size(), kVirusNameCapacity - 1);
  std::memcpy(virusName, text.data(), count);
  virusName[count] = '\0';
}

}  // namespace tv
