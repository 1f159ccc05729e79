#!/usr/bin/env bash
# Makes the demo music disk in DISKDIR from generated material: spoken songs
# (espeak-ng, sox, lame) with Russian and English tags, song texts, pictures,
# pages, the English language file and the stand-in player, then writes its
# qlm.cfg with the authoring tool. Needs the built trees (scripts/build.sh all).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
disk=${1:?usage: make-demo-disk.sh DISKDIR}
qlmdisk=${QLMDISK:-$here/build-native/src/qlmdisk/qlmdisk}
standin=$here/build-win/src/player/Winamp.exe

for tool in espeak-ng sox lame; do
  command -v "$tool" >/dev/null || { echo "make-demo-disk: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
[ -x "$qlmdisk" ] || { echo "make-demo-disk: $qlmdisk is not built" >&2; exit 1; }

rm -rf "$disk"
mkdir -p "$disk"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Songs, texts, pictures, pages and the manifest.
/usr/bin/python3 "$here/scripts/demo_disk.py" "$disk" "$work"

"$qlmdisk" write "$work/manifest.json" "$disk"

mkdir -p "$disk/About" "$disk/Player"
if [ -f "$here/src/lang/English.lng" ]; then cp "$here/src/lang/English.lng" "$disk/About/English.lng"; fi
if [ -f "$standin" ]; then
  cp "$standin" "$disk/Player/Winamp.exe"
else
  echo "make-demo-disk: $standin is not built; the disk has no player" >&2
fi
videoplayer=$here/build-win/src/videoplayer/play.exe
if [ -f "$videoplayer" ]; then cp "$videoplayer" "$disk/Video/play.exe"; fi
echo "demo disk ready in $disk"
