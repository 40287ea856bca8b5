#pragma once
// The plug-in's export table: the whole contract with the mail client.
// 32-bit Windows: stdcall, undecorated names at fixed ordinals (tvvexal.def).
// POSIX: the same names with the C calling convention.

#include <cstdint>

#include "plugin/bav_interface.h"
#include "plugin/tv_version.h"

#if defined(_WIN32)
#define BAV_API extern "C"
#else
#define BAV_API extern "C" __attribute__((visibility("default")))
#endif

namespace tv {

inline constexpr const char* kPluginName = "tevrinVexal (McAfee Viruscan Interface for The Bat!)";
inline constexpr const char* kPluginVersion = TV_VERSION_TEXT;

// Copies Text into Buffer for the host. A null buffer or a size of 0 or less
// only asks for the length. Otherwise at most BufSize characters and a NUL
// are written (BufSize + 1 bytes). Returns the count of characters that the
// text has or that were copied.
std::int32_t CopyResultString(char* buffer, std::int32_t bufSize, const char* text) noexcept;

}  // namespace tv

// Their types, and what an ignored argument is: bav_interface.h.
BAV_API std::int32_t BAV_CALL BAV_Initialize();
BAV_API std::int32_t BAV_CALL BAV_Uninitialize();
BAV_API std::int32_t BAV_CALL BAV_GetName(char* buffer, std::int32_t bufSize);
BAV_API std::int32_t BAV_CALL BAV_GetVersion(char* buffer, std::int32_t bufSize);
BAV_API std::int32_t BAV_CALL BAV_SetCfgData(std::intptr_t, std::intptr_t);
BAV_API std::int32_t BAV_CALL BAV_GetCfgData(std::intptr_t, std::intptr_t);
BAV_API std::int32_t BAV_CALL BAV_GetStatus();
BAV_API std::int32_t BAV_CALL BAV_ConfigNeeded();
// Opens the options dialog; 0 whatever the user chose.
BAV_API std::int32_t BAV_CALL BAV_Setup();
BAV_API std::int32_t BAV_CALL BAV_MemoryChecking();
BAV_API std::int32_t BAV_CALL BAV_FileChecking();
BAV_API std::int32_t BAV_CALL BAV_StreamChecking();
BAV_API std::int32_t BAV_CALL BAV_CheckFile(const char* fileName, char* virusName);
BAV_API std::int32_t BAV_CALL BAV_CureFile(std::intptr_t, std::intptr_t);
BAV_API std::int32_t BAV_CALL BAV_CheckMemory(std::intptr_t, std::intptr_t, std::intptr_t);
BAV_API std::int32_t BAV_CALL BAV_CureMemory(std::intptr_t, std::intptr_t, std::intptr_t);
BAV_API std::int32_t BAV_CALL BAV_CheckStream(TUnknown* stream, std::intptr_t);
BAV_API std::int32_t BAV_CALL BAV_CureStream(TUnknown* stream, TUnknown* cured, std::intptr_t);
