# Sourced by the build-*.sh scripts that build a library for the MinGW target
# (i686, or x86_64 where the machine runs no 32-bit code: win-arch.sh) from
# Debian's source package. The caller passes its own arguments:
#   deps_start "$@" LIBRARY_FILE   sets deps (DEPS, the first argument), here
#                                  (the repository) and prefix (DEPS/mingw), and
#                                  ends the calling script when
#                                  prefix/lib/LIBRARY_FILE is already built.
#   deps_fetch PACKAGE WORK        downloads PACKAGE's source package into a
#                                  fresh folder WORK (deb-src entries are added
#                                  first when apt has none).
source "$(dirname "${BASH_SOURCE[0]}")/apt-retry.sh"
source "$(dirname "${BASH_SOURCE[0]}")/win-arch.sh"
arch=$(qlm_win_arch)
triple=$arch-w64-mingw32

deps_start() {
  deps=$1
  here=$(cd "$(dirname "$0")/.." && pwd)
  prefix=$deps/mingw
  [ "$arch" = i686 ] || prefix=$deps/mingw-$arch
  [ -f "$prefix/lib/$2" ] && exit 0
  return 0
}

deps_fetch() {
  local package=$1 work=$2
  if ! grep -rqs '^Types: deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > /etc/apt/sources.list.d/debian-src.sources
    apt_update
  fi
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && { apt-get source -q --download-only "$package" >/dev/null 2>&1 || { apt_update; apt_retry apt-get source -q --download-only "$package" >/dev/null; }; })
}
