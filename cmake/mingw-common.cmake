# What both Windows cross builds share; the toolchain files set
# TV_MINGW_PREFIX and CMAKE_SYSTEM_PROCESSOR, then include this.
set(CMAKE_SYSTEM_NAME Windows)

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

# Tests run under Wine, through the loader that this machine can run.
find_program(TV_WINE wine REQUIRED)
get_filename_component(TV_WINE_RUNNER ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TV_WINE_RUNNER})
