# 32-bit x86 Linux: the whole project (toolkit, modules, headless host and
# tests) built with the system compiler in -m32 mode (Debian's g++-multilib)
# and run under qemu-i386 user emulation, so the suite proves pointer-sized
# values, record positions and arithmetic on a 32-bit target.
#
# SSE2 arithmetic, as in the Windows build: the i386 default (x87, 80-bit
# intermediates) would round differently from the 64-bit build.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-m32 -msse2 -mfpmath=sse")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")

# 32-bit libraries only: never pick up a 64-bit archive from the multiarch
# directory (GoogleTest, for one, is built from source for this target).
list(APPEND CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu)

find_program(KELZU_QEMU_I386 NAMES qemu-i386 qemu-i386-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR "${KELZU_QEMU_I386}")
