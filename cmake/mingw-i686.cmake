# Cross toolchain: 32-bit Windows with MinGW-w64 (posix threads, static runtime).
set(QLM_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
