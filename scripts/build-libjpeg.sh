#!/usr/bin/env bash
# Builds libjpeg-turbo from Debian's source package for the i686 MinGW target into PREFIX/mingw.
set -euo pipefail
deps=$1
here=$(cd "$(dirname "$0")/.." && pwd)
prefix=$deps/mingw
[ -f "$prefix/lib/libjpeg.a" ] && exit 0

if ! grep -rqs '^Types: deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > /etc/apt/sources.list.d/debian-src.sources
  apt-get update -q >/dev/null
fi
work=$deps/src
rm -rf "$work" && mkdir -p "$work"
(cd "$work" && apt-get source -q --download-only libjpeg-turbo >/dev/null 2>&1 || { apt-get update -q >/dev/null; apt-get source -q --download-only libjpeg-turbo >/dev/null; })
tar -xzf "$work"/libjpeg-turbo_*.orig.tar.gz -C "$work"
src=$(find "$work" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n1)
echo "setup: building $(basename "$src") for i686-w64-mingw32"
cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON -DREQUIRE_SIMD=OFF -Wno-dev >/dev/null
cmake --build "$work/build" >/dev/null
cmake --install "$work/build" >/dev/null
rm -rf "$work"
