// Form descriptions are files that people edit. Whatever the text, the
// parser refuses it cleanly or yields a stream that converts to text and
// back to the very same bytes.

#include <cstdint>
#include <string>

#include "platform/components/text_form.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string binary;
  try {
    binary = tv::ObjectTextToBinary(text);
  } catch (const tv::EParserError&) {
    return 0;
  }
  if (tv::ObjectTextToBinary(tv::ObjectBinaryToText(binary)) != binary) __builtin_trap();
  return 0;
}
