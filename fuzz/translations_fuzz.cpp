// A dialog's stored translations come with its form, which a hostile file
// could replace. Whatever the value, reading the dialog either succeeds or
// refuses it with an error, leaving no half-built dialog; what was read can
// be written and read again.

#include <cstdint>
#include <string>

#include "platform/components/component_stream.h"
#include "platform/components/stream_items.h"
#include "translator/app_translator.h"

namespace {

// A root holding one dialog translator whose Translations value is Value.
std::string Dialog(const std::string& value) {
  tv::TItemWriter w;
  w.Bytes() = "TPF0";
  w.WriteShortString("TComponent");
  w.WriteShortString("wDialog");
  w.WriteListEnd();
  w.WriteShortString("TtvTranslator");
  w.WriteShortString("Translator");
  w.WriteShortString("Translations");
  w.Bytes() += value;
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteListEnd();
  return w.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tv::InitializeTranslatorLibrary();
  tv::TComponent root(nullptr);
  try {
    tv::TReader::ReadRoot(Dialog(std::string(reinterpret_cast<const char*>(data), size)), root);
  } catch (const tv::Exception&) {
    if (root.ComponentCount() != 0) __builtin_trap();
    return 0;
  }
  const std::string written = tv::TWriter::WriteRoot(root);
  tv::TComponent again(nullptr);
  tv::TReader::ReadRoot(written, again);
  if (tv::TWriter::WriteRoot(again) != written) __builtin_trap();
  return 0;
}
