# Cross build of the 64-bit Windows plug-in (for the mail client's 64-bit
# edition) with mingw-w64, posix thread model, linked statically like the
# 32-bit one. The same source; tests run under 64-bit Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TV_MINGW_PREFIX x86_64-w64-mingw32)
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

# A pointer squeezed into an int is an error, not a warning.
set(CMAKE_C_FLAGS_INIT "-Werror=pointer-to-int-cast -Werror=int-to-pointer-cast")
set(CMAKE_CXX_FLAGS_INIT "-Werror=int-to-pointer-cast")
