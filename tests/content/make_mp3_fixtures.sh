#!/usr/bin/env bash
# Encodes short clips with real tools (sox, espeak-ng, lame, id3v2) into OUTDIR and
# records what an independent reader (mediainfo) says about each, as NAME.json.
# The tests compare the program's tag and stream readers against both.
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

sox -n -r 44100 -c 2 "$tmp/tone.wav" synth 3 sine 440 sine 660
sox -n -r 22050 -c 1 "$tmp/tone22.wav" synth 3 sine 330
espeak-ng -w "$tmp/speech.wav" "The quick brown fox jumps over the lazy dog. One two three four five."

q="--quiet --noreplaygain"
lame $q -b 128 -m s "$tmp/tone.wav" cbr128_stereo.mp3            # CBR with a LAME "Info" frame
lame $q -b 128 -m j -t "$tmp/tone.wav" cbr128_joint_bare.mp3      # CBR, no Info frame
lame $q -V 4 -m j "$tmp/tone.wav" vbr_joint.mp3                   # VBR with a Xing header
lame $q --resample 22.05 -m m -b 64 "$tmp/tone.wav" mpeg2_mono.mp3
lame $q -V 6 -m m "$tmp/tone22.wav" mpeg2_vbr_mono.mp3            # Xing 13 bytes into the frame
lame $q --resample 8 -m m -b 16 "$tmp/tone.wav" mpeg25_mono.mp3
lame $q -b 64 "$tmp/speech.wav" speech_plain.mp3

# Tags written by lame itself: ID3v1 and ID3v2.3 together, ID3v1 only, UTF-16 ID3v2.
lame $q -b 64 --add-id3v2 --tt "Fox Song" --ta "Espeak" --tl "Test Album" --ty 1999 --tc "spoken test" \
  --tg Speech --tn 7 "$tmp/speech.wav" speech_lame_tags.mp3
lame $q -b 64 --id3v1-only --tt "Only One" --ta "Old Tagger" --tl "Vintage" --ty 1987 --tc "v1 comment" \
  --tn 3 --tg Rock "$tmp/speech.wav" speech_v1_only.mp3
lame $q -V 5 --id3v2-only --id3v2-utf16 --tt "Тест" --ta "Артист" --tc "Комментарий" \
  "$tmp/tone.wav" vbr_utf16.mp3

# Tags written by a tag editor (id3lib): ID3v2.3 with padding plus ID3v1.1; Cyrillic in Windows-1251.
cp cbr128_joint_bare.mp3 editor_tags.mp3
id3v2 -a $'\xc0\xf0\xf2\xe8\xf1\xf2' -A "Album B" -t "Title C" -y 2001 -g 13 -c "Hello comment" -T 5 \
  --TCOM "Composer D" editor_tags.mp3 >/dev/null

for f in *.mp3; do
  mediainfo --Output=JSON "$f" > "${f%.mp3}.json"
done
