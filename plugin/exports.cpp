#include "plugin/exports.h"

#include <cstring>

#include "platform/system/module.h"
#include "plugin/host_answer.h"
#include "plugin/scan_run.h"
#include "plugin/setup.h"

namespace tv {

std::int32_t CopyResultString(char* buffer, std::int32_t bufSize, const char* text) noexcept {
  const auto length = static_cast<std::int32_t>(std::strlen(text));
  if (buffer == nullptr || bufSize <= 0) return length;
  if (bufSize >= length) {
    std::memcpy(buffer, text, static_cast<std::size_t>(length) + 1);
    return length;
  }
  std::memcpy(buffer, text, static_cast<std::size_t>(bufSize));
  buffer[bufSize] = '\0';
  return bufSize;
}

namespace {

// One reference for the duration of the call, and nothing else.
class TStreamReference {
 public:
  explicit TStreamReference(TUnknown* stream) noexcept : stream_(stream) {
    if (stream_ != nullptr && stream_->Vtbl != nullptr) stream_->Vtbl->AddRef(stream_);
  }
  ~TStreamReference() {
    if (stream_ != nullptr && stream_->Vtbl != nullptr) stream_->Vtbl->Release(stream_);
  }
  TStreamReference(const TStreamReference&) = delete;
  TStreamReference& operator=(const TStreamReference&) = delete;

 private:
  TUnknown* stream_;
};

}  // namespace
}  // namespace tv

using tv::kResultNotCarriedOut;
using tv::kResultNotSupported;
using tv::kResultOk;

// What the library makes lives until BAV_Uninitialize, the host's word
// that no call follows before the library is freed: it frees the dialogs'
// forms, windows, window classes and lists (ShutdownSetup); a later call
// makes them again. A host that frees the library without it leaks them,
// and the loader's notice (dll_main.cpp) only hands windows that outlive the
// library to the system: freeing or destroying there, under the loader
// lock, could run other libraries' code or wait for another thread.
BAV_API std::int32_t BAV_CALL BAV_Initialize() {
  return kResultOk;
}
BAV_API std::int32_t BAV_CALL BAV_Uninitialize() {
  try {
    tv::ShutdownSetup();
  } catch (...) {
    // Nothing of it may reach the mail client; what is left is leaked.
  }
  return kResultOk;
}

BAV_API std::int32_t BAV_CALL BAV_GetName(char* buffer, std::int32_t bufSize) {
  return tv::CopyResultString(buffer, bufSize, tv::kPluginName);
}
BAV_API std::int32_t BAV_CALL BAV_GetVersion(char* buffer, std::int32_t bufSize) {
  return tv::CopyResultString(buffer, bufSize, tv::kPluginVersion);
}

BAV_API std::int32_t BAV_CALL BAV_SetCfgData(std::intptr_t, std::intptr_t) {
  return kResultNotSupported;
}
BAV_API std::int32_t BAV_CALL BAV_GetCfgData(std::intptr_t, std::intptr_t) {
  return kResultNotSupported;
}
BAV_API std::int32_t BAV_CALL BAV_GetStatus() {
  return kResultOk;
}
BAV_API std::int32_t BAV_CALL BAV_ConfigNeeded() {
  return kResultOk;
}
BAV_API std::int32_t BAV_CALL BAV_Setup() {
  try {
    tv::RunSetup(tv::sys::HostExecutableDirectory());
  } catch (...) {
    // The dialog shows what the user can mend; anything else must not
    // reach the mail client.
  }
  return kResultOk;
}
BAV_API std::int32_t BAV_CALL BAV_MemoryChecking() {
  return kResultNotSupported;
}
BAV_API std::int32_t BAV_CALL BAV_FileChecking() {
  return kResultOk;
}
BAV_API std::int32_t BAV_CALL BAV_StreamChecking() {
  return kResultNotSupported;
}

BAV_API std::int32_t BAV_CALL BAV_CheckFile(const char* fileName, char* virusName) {
  try {
    return tv::CheckFile(fileName, virusName, tv::sys::HostExecutableDirectory());
  } catch (...) {
    return kResultNotCarriedOut;
  }
}

BAV_API std::int32_t BAV_CALL BAV_CureFile(std::intptr_t, std::intptr_t) {
  return kResultNotCarriedOut;
}
BAV_API std::int32_t BAV_CALL BAV_CheckMemory(std::intptr_t, std::intptr_t, std::intptr_t) {
  return kResultNotSupported;
}
BAV_API std::int32_t BAV_CALL BAV_CureMemory(std::intptr_t, std::intptr_t, std::intptr_t) {
  return kResultNotSupported;
}

BAV_API std::int32_t BAV_CALL BAV_CheckStream(TUnknown* stream, std::intptr_t) {
  tv::TStreamReference hold(stream);
  return kResultNotSupported;
}
BAV_API std::int32_t BAV_CALL BAV_CureStream(TUnknown* stream, TUnknown* cured, std::intptr_t) {
  tv::TStreamReference holdStream(stream);
  tv::TStreamReference holdCured(cured);
  return kResultNotSupported;
}
