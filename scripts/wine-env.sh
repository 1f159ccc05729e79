# Sourced by the test and demo scripts: a project-local Wine prefix (32-bit,
# or 64-bit where the machine runs no 32-bit code: win-arch.sh), an X server,
# and a wineserver started detached so that ctest's pipes are not inherited by
# Wine's background services.
qlm_root=${qlm_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
source "$qlm_root/scripts/win-arch.sh"
if [ "$(qlm_win_arch)" = i686 ]; then
  export WINEPREFIX=${QLM_WINEPREFIX:-$qlm_root/.wine}
  export WINEARCH=win32
else
  # Debian's wrappers take the 32-bit loader whenever it is installed.
  export WINEPREFIX=${QLM_WINEPREFIX:-$qlm_root/.wine}64
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
  wine() { /usr/lib/wine/wine64 "$@"; }
  wineserver() { /usr/lib/wine/wineserver64 "$@"; }
  wineboot() { /usr/lib/wine/wine64 wineboot "$@"; }
  winepath() { /usr/lib/wine/wine64 winepath "$@"; }
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

qlm_start_display() {
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 </dev/null &
    QLM_XVFB_PID=$!
    local n
    read -r n <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$n"
  fi
}

qlm_start_wine() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 </dev/null || true
  fi
  (wineserver -p >/dev/null 2>&1 </dev/null &)
  wine wineboot >/dev/null 2>&1 </dev/null || true
}

qlm_stop_all() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${QLM_XVFB_PID:-}" ]; then kill "$QLM_XVFB_PID" 2>/dev/null || true; fi
}
