#!/usr/bin/env bash
# Configures and builds both trees: build-win (the programs, for Windows) and
# build-native (window-free code under sanitizers, fuzzers, host tools).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
deps=${QLM_DEPS_DIR:-$here/.deps}
what=${1:-all}
source "$here/scripts/win-arch.sh"
arch=$(qlm_win_arch)

if [ "$what" = all ] || [ "$what" = native ]; then
  [ -f build-native/build.ninja ] || cmake -S . -B build-native -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build build-native
fi
if [ "$what" = all ] || [ "$what" = win ]; then
  # A tree configured for the other architecture is configured anew.
  if [ -f build-win/build.ninja ] && ! grep -q "mingw-$arch.cmake" build-win/CMakeCache.txt; then rm -rf build-win; fi
  [ "$arch" = i686 ] || echo "build: this machine runs no 32-bit code; the Windows programs are built as $arch for the tests"
  [ -f build-win/build.ninja ] || cmake -S . -B build-win -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$arch.cmake -DCMAKE_BUILD_TYPE=Release -DQLM_DEPS_DIR="$deps" >/dev/null
  cmake --build build-win
  # Where the machine runs no 32-bit code the shipped 32-bit programs are still compiled.
  if [ "$arch" != i686 ]; then
    if [ -f build-win32/build.ninja ] && ! grep -q "mingw-i686.cmake" build-win32/CMakeCache.txt; then rm -rf build-win32; fi
    [ -f build-win32/build.ninja ] || cmake -S . -B build-win32 -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release -DQLM_DEPS_DIR="$deps" >/dev/null
    cmake --build build-win32
  fi
fi
