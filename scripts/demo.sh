#!/usr/bin/env bash
# The demo command: builds everything, makes the demo disk and shows it.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
if [ "$(id -u)" = 0 ]; then scripts/setup.sh; fi
scripts/build.sh all
if [ -x scripts/make-demo-disk.sh ]; then
  scripts/make-demo-disk.sh demo/disk
fi
if [ -f build-win/src/app/qlm.exe ]; then
  qlm_root=$here source scripts/wine-env.sh
  qlm_start_display
  qlm_start_wine
  # The disk carries its own copy of the shell, as a publisher's disk does.
  cp build-win/src/app/qlm.exe demo/disk/qlm.exe
  echo "Starting the shell on demo/disk (DISPLAY=$DISPLAY)"
  wine demo/disk/qlm.exe "$(winepath -w demo/disk)" &
  shell=$!
  if [ -n "${QLM_XVFB_PID:-}" ]; then
    # No screen of the user's: show what the virtual one shows.
    sleep 15
    import -window root demo/screen.png && echo "Screenshot of the running shell: demo/screen.png (Ctrl-C ends the demo)"
  fi
  wait "$shell" || true
  qlm_stop_all
elif [ -x build-native/src/qlmdisk/qlmdisk ] && [ -d demo/disk ]; then
  build-native/src/qlmdisk/qlmdisk dump demo/disk
fi
