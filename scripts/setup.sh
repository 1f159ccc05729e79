#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine (run as root).
# Idempotent: packages already present and a dependency prefix already built are left alone.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/apt-retry.sh"
source "$here/scripts/win-arch.sh"
deps=${QLM_DEPS_DIR:-$here/.deps}

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 xvfb xauth x11-utils xdotool imagemagick
  fonts-dejavu-core fonts-liberation
  googletest nlohmann-json3-dev dpkg-dev nasm
  libjpeg62-turbo-dev libgif-dev libxml2-dev
  python3-pil lame espeak-ng sox mediainfo id3v2 nsis
  cups printer-driver-cups-pdf libcups2:i386 poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  # libjpeg-turbo, giflib and libxml2 are built from Debian's source package, so deb-src lines are needed too.
  if ! grep -rqs '^Types: deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > /etc/apt/sources.list.d/debian-src.sources
    fi
  fi
  apt_update
  export DEBIAN_FRONTEND=noninteractive
  apt_retry apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

# The libraries for the Windows build this machine runs, and for the shipped
# 32-bit one in any case (where it cannot run here it is still compiled).
archs=$(qlm_win_arch)
[ "$archs" = i686 ] || archs="$archs i686"
for arch in $archs; do
  for lib in libjpeg giflib libxml2; do QLM_WIN_ARCH=$arch "$here/scripts/build-$lib.sh" "$deps"; done
done
