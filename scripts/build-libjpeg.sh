#!/usr/bin/env bash
# Builds libjpeg-turbo from Debian's source package for the i686 MinGW target into PREFIX/mingw.
set -euo pipefail
. "$(dirname "$0")/deps-common.sh"
deps_start "$@" libjpeg.a
work=$deps/src
deps_fetch libjpeg-turbo "$work"
tar -xzf "$work"/libjpeg-turbo_*.orig.tar.gz -C "$work"
src=$(find "$work" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
echo "setup: building $(basename "$src") for $triple"
cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=OFF -Wno-dev >/dev/null
cmake --build "$work/build" >/dev/null
cmake --install "$work/build" >/dev/null
rm -rf "$work"
