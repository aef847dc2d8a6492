# 32-bit Windows with Debian's MinGW-w64 cross compiler: the plug-in files
# Layout loads. Only the toolkit and the modules build here; the headless
# host and the tests are Linux programs.
#
# SSE2 arithmetic so the plug-ins compute the same doubles and float
# narrowings as the tested builds; x87 extended precision would not. With SSE
# enabled this compiler realigns the stack on entry where it needs 16 bytes,
# as callers on 32-bit Windows only keep 4.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(KELZU_MINGW_PREFIX i686-w64-mingw32)
# The win32 thread model: no winpthread, nothing to link beyond the C runtime.
find_program(CMAKE_C_COMPILER NAMES ${KELZU_MINGW_PREFIX}-gcc-win32 ${KELZU_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KELZU_MINGW_PREFIX}-g++-win32 ${KELZU_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KELZU_MINGW_PREFIX}-windres)

set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

set(CMAKE_FIND_ROOT_PATH /usr/${KELZU_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
