#!/usr/bin/env bash
# Builds libxml2 from Debian's source package (with Debian's patches) for the
# i686 MinGW target into DEPS/mingw: a static library with the HTML parser and
# without iconv, compression or network code (the program converts the page's
# character set itself). The native build uses Debian's libxml2-dev.
set -euo pipefail
. "$(dirname "$0")/deps-common.sh"
deps_start "$@" libxml2.a
work=$deps/src-libxml2
deps_fetch libxml2 "$work"
dpkg-source -x "$work"/libxml2_*.dsc "$work/libxml2" >/dev/null 2>&1
src=$work/libxml2
echo "setup: building libxml2 for $triple"
cmake -S "$src" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
  -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_ICU=OFF -DLIBXML2_WITH_LZMA=OFF -DLIBXML2_WITH_ZLIB=OFF \
  -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_HTTP=OFF -DLIBXML2_WITH_FTP=OFF \
  -DLIBXML2_WITH_MODULES=OFF -DLIBXML2_WITH_PROGRAMS=OFF -DLIBXML2_WITH_TESTS=OFF -DLIBXML2_WITH_CATALOG=OFF \
  -Wno-dev >/dev/null
cmake --build "$work/build" >/dev/null
cmake --install "$work/build" >/dev/null
rm -rf "$work"
