# Cross build of the 32-bit Windows launcher with Debian's mingw-w64.
#
#   cmake -S . -B build/win -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

# The -posix flavour: its libstdc++ has std::thread and std::mutex (over
# winpthreads); the -win32 flavour has neither in GCC 12.
set(CMAKE_C_COMPILER   i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  i686-w64-mingw32-windres)

# Our .rc files are UTF-8 (they hold Chinese text); windres would otherwise
# read them in the ANSI code page and garble every string.
set(CMAKE_RC_FLAGS_INIT "-c65001")

# Only the mingw sysroot may satisfy find_*() for libraries and headers, or
# the host's Linux libraries would get picked up; programs (perl, python...)
# still come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Ship one self-contained .exe: no libstdc++-6.dll, libgcc_s_dw2-1.dll or
# libwinpthread-1.dll to carry around. Plain -static is what catches
# winpthread, which the other two flags don't cover.
set(_tavrin_static "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT    "${_tavrin_static}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_tavrin_static}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_tavrin_static}")
unset(_tavrin_static)

# Lets ctest (and try_run) start the test .exe files under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
