#!/usr/bin/env bash
# Configures and builds both trees: build-win (the programs, for Windows) and
# build-native (window-free code under sanitizers, fuzzers, host tools).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
deps=${QLM_DEPS_DIR:-$here/.deps}
what=${1:-all}

if [ "$what" = all ] || [ "$what" = native ]; then
  [ -f build-native/build.ninja ] || cmake -S . -B build-native -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build build-native
fi
if [ "$what" = all ] || [ "$what" = win ]; then
  [ -f build-win/build.ninja ] || cmake -S . -B build-win -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release -DQLM_DEPS_DIR="$deps" >/dev/null
  cmake --build build-win
fi
