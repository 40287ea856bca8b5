# Cross build of the 32-bit Windows plug-in with mingw-w64 (posix thread model,
# so that std::thread and friends exist in the static runtime).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TV_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TV_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The DLL and the programs must import nothing but Windows system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

find_program(TV_WINE wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TV_WINE})

# Doubles are computed as doubles (SSE2), not in the x87's wider registers,
# so that rounding matches the native build bit for bit.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
