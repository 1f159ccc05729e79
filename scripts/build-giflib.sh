#!/usr/bin/env bash
# Builds giflib from Debian's source package (with Debian's patches) for the
# i686 MinGW target into DEPS/mingw. The native build uses Debian's libgif-dev.
set -euo pipefail
. "$(dirname "$0")/deps-common.sh"
deps_start "$@" libgif.a
work=$deps/src-giflib
deps_fetch giflib "$work"
dpkg-source -x "$work"/giflib_*.dsc "$work/giflib" >/dev/null 2>&1
src=$work/giflib
echo "setup: building giflib for $triple"
# The library is seven C files; its Makefile builds Unix shared objects, so
# they are compiled directly.
objs=()
for f in dgif_lib egif_lib gifalloc gif_err gif_font gif_hash openbsd-reallocarray quantize; do
  $triple-gcc -O2 -std=gnu99 -c "$src/$f.c" -o "$work/$f.o"
  objs+=("$work/$f.o")
done
mkdir -p "$prefix/lib" "$prefix/include"
rm -f "$prefix/lib/libgif.a"
$triple-ar rcs "$prefix/lib/libgif.a" "${objs[@]}"
cp "$src/gif_lib.h" "$prefix/include/"
rm -rf "$work"
