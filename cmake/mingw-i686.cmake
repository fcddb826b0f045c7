# Cross-compiling for Windows with Debian's mingw-w64 (i686).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# SSE2 for the vector byte scans and hexadecimal conversions: every CPU that
# runs a supported Windows has it.  Floating-point code stays on the x87
# unit (the default -mfpmath=387), so no computed value changes; the
# compiler realigns the stack where vector values need it, since a Basic
# host calls with the stack only 4-byte aligned (-mstackrealign is the
# target's default).  The assembler writes every vector move as the
# unaligned kind: GCC for Windows cannot align the stack to 32 bytes for
# the 256-bit values the AVX2 kernels spill there.
set(CMAKE_C_FLAGS_INIT "-msse2 -Wa,-muse-unaligned-vector-move")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -Wa,-muse-unaligned-vector-move")
