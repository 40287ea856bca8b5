#pragma once
// The BAV anti-virus plug-in interface as both sides see it: the calling
// convention, the COM stream that the stream exports take, and the
// signature of every export. The plug-in declares its exports with it
// (exports.h); a host resolves them by name and calls them through these
// types (bavhost). 32-bit Windows: stdcall; elsewhere the C convention.

#include <cstdint>

#if defined(_WIN32)
#define BAV_CALL __stdcall
#else
#define BAV_CALL
#endif

// The first three slots of a COM interface's table (IUnknown): all that the
// plug-in does with a stream is take and drop one reference.
struct TUnknownVtbl {
  std::int32_t(BAV_CALL* QueryInterface)(void* self, const void* iid, void** object);
  std::uint32_t(BAV_CALL* AddRef)(void* self);
  std::uint32_t(BAV_CALL* Release)(void* self);
};
struct TUnknown {
  const TUnknownVtbl* Vtbl;
};

namespace tv::bav {

// Ignored arguments are pointer-sized: 32 bits on the Windows build, and
// whatever a 64-bit POSIX host passes.
// BAV_Initialize, BAV_Uninitialize, BAV_GetStatus, BAV_ConfigNeeded,
// BAV_Setup, BAV_MemoryChecking, BAV_FileChecking, BAV_StreamChecking
using TNoArguments = std::int32_t(BAV_CALL*)();
// BAV_GetName, BAV_GetVersion
using TStringExport = std::int32_t(BAV_CALL*)(char* buffer, std::int32_t bufSize);
using TCheckFileExport = std::int32_t(BAV_CALL*)(const char* fileName, char* virusName);
// BAV_SetCfgData, BAV_GetCfgData, BAV_CureFile
using TTwoArguments = std::int32_t(BAV_CALL*)(std::intptr_t, std::intptr_t);
// BAV_CheckMemory, BAV_CureMemory
using TThreeArguments = std::int32_t(BAV_CALL*)(std::intptr_t, std::intptr_t, std::intptr_t);
using TCheckStreamExport = std::int32_t(BAV_CALL*)(TUnknown* stream, std::intptr_t);
using TCureStreamExport = std::int32_t(BAV_CALL*)(TUnknown* stream, TUnknown* cured, std::intptr_t);

}  // namespace tv::bav
