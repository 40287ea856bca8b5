# Cross build of the 64-bit Windows plug-in (for the mail client's 64-bit
# edition) with mingw-w64, posix thread model, linked statically like the
# 32-bit one. The same source; tests run under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TV_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# A pointer squeezed into an int is an error, not a warning.
set(CMAKE_C_FLAGS_INIT "-Werror=pointer-to-int-cast -Werror=int-to-pointer-cast")
set(CMAKE_CXX_FLAGS_INIT "-Werror=int-to-pointer-cast")
