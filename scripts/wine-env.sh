# Sourced by the test and demo scripts: a project-local 32-bit Wine prefix,
# an X server, and a wineserver started detached so that ctest's pipes are
# not inherited by Wine's background services.
qlm_root=${qlm_root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX=${QLM_WINEPREFIX:-$qlm_root/.wine}
export WINEARCH=win32
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
