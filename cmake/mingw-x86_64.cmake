# Cross toolchain: 64-bit Windows with MinGW-w64 (posix threads, static runtime).
# For testing on machines that cannot run 32-bit code; the shipped build is i686.
set(QLM_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Debian's wine wrapper would take the 32-bit loader whenever it is installed.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
