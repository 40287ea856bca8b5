# Cross build of the 32-bit Windows plug-in with mingw-w64 (posix thread model,
# so that std::thread and friends exist in the static runtime).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TV_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Doubles are computed as doubles (SSE2), not in the x87's wider registers,
# so that rounding matches the native build bit for bit.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
