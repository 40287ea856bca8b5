// Streams come from resources that a hostile file could replace. Whatever
// the bytes, the reader refuses them cleanly or yields a text that parses
// back into a stream giving the same text.

#include <cstdint>
#include <string>

#include "platform/components/text_form.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string text;
  try {
    text = tv::ObjectBinaryToText(bytes);
  } catch (const tv::Exception&) {
    return 0;
  }
  if (tv::ObjectBinaryToText(tv::ObjectTextToBinary(text)) != text) __builtin_trap();
  return 0;
}
