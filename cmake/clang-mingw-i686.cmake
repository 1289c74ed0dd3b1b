# Cross build of the Windows program on Linux with Clang (i686), against the
# same mingw-w64 headers, import libraries and GCC runtime as mingw-i686.cmake:
# a second compiler's warnings over the same sources.
# Clang 14 finds no GCC under /usr/lib/gcc/i686-w64-mingw32, whose folders it
# cannot read as versions ("12-posix"), so the posix-thread variant's libstdc++
# (GoogleTest needs std::mutex) and libgcc are named here; GNU ld links.
# GNU ld notes "duplicate section ... has different size" for type names that
# both Clang (unpadded) and libstdc++ (padded) carry: the same text, one kept.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET i686-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET i686-w64-mingw32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_SYSROOT /usr/i686-w64-mingw32)

set(tavirel_gcc /usr/lib/gcc/i686-w64-mingw32/12-posix)
# Thread-local variables as GCC lays them out (emulated), as its libstdc++ has them.
set(CMAKE_C_FLAGS_INIT "-femulated-tls")
set(CMAKE_CXX_FLAGS_INIT "-femulated-tls -isystem ${tavirel_gcc}/include/c++ -isystem ${tavirel_gcc}/include/c++/i686-w64-mingw32 -isystem ${tavirel_gcc}/include/c++/backward")
# -B: GCC's crtbegin.o, which registers the exception tables (mingw-w64's own
# registers none: every throw would end in std::terminate). -pthread:
# winpthread, which the posix variant's libgcc and libstdc++ call.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-B${tavirel_gcc} -L${tavirel_gcc} -pthread")

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test executables run under Wine, in the project's own prefix and display.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec)
