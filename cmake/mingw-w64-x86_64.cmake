# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GORV_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GORV_MINGW_PREFIX}-gcc-posix) # GoogleTest enables C too
set(CMAKE_CXX_COMPILER ${GORV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${GORV_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${GORV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained .exe: the C++ runtime, libgcc and winpthread are linked
# in, so it imports only Windows' own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Release executables carry no debug symbols.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
