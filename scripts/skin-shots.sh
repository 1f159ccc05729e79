#!/usr/bin/env bash
# Screenshots of the skin demo under Xvfb + Wine: the window alone, then with a
# message box of each icon kind and the loading box; PNGs go to $1 (default
# build-win/skin-shots). Also renders the contact sheet of every picture.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
out=${1:-$here/build-win/skin-shots}
mkdir -p "$out"
/usr/bin/python3 src/app/skin/make_skin.py --contact-sheet "$out/contact-sheet.png"
qlm_root=$here source scripts/wine-env.sh
qlm_start_display
qlm_start_wine
# Without a window manager on Xvfb, let Wine draw the window frames itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
shot() {  # name, arguments...
  local name=$1; shift
  wine build-win/src/app/skin/skindemo.exe --exit-after 6000 "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep 4
  import -window root -crop 1000x860+0+0 +repage "$out/$name.png"
  wait "$pid" || true
}
shot demo
shot demo-eng --eng
for k in 0 1 2 3 4; do shot "box$k" --box "$k"; done
echo "screenshots in $out"
