#!/usr/bin/env bash
# The command layer of qlmdisk: exit codes and messages, and write -> dump
# -> records decode on the sample manifests. Usage: cli_test.sh QLMDISK SOURCE_DIR
set -u
q=$1; src=$2
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
fail=0
expect() {  # expect CODE DESCRIPTION COMMAND...
    local code=$1 what=$2; shift 2
    "$@" >"$work/out" 2>"$work/err"; local got=$?
    if [ "$got" != "$code" ]; then
        echo "FAIL: $what: exit $got, expected $code"; cat "$work/err"; fail=1
    fi
}
expect 2 "no command" "$q"
expect 2 "unknown command" "$q" frobnicate
expect 2 "write without arguments" "$q" write
expect 1 "write with a missing manifest" "$q" write "$work/none.json" "$work/disk"
echo '{"form": "packed", "tree": [' >"$work/bad.json"
expect 1 "write with broken JSON" "$q" write "$work/bad.json" "$work/disk"
grep -q "not valid JSON" "$work/err" || { echo "FAIL: no JSON message"; fail=1; }
expect 1 "dump of a folder without qlm.cfg" "$q" dump "$work"
expect 2 "dump with an unknown option" "$q" dump "$work" --frob
expect 2 "key with arguments" "$q" key extra
expect 0 "key" "$q" key
grep -Eq '^start=0x[0-9A-F]{2} c16=0x[0-9A-F]{4} c32=0x[0-9A-F]{8}$' "$work/out" || { echo "FAIL: key output"; fail=1; }
for name in packed_full record_full; do
    expect 0 "write $name" "$q" write "$src/tests/qlmdisk/data/$name.json" "$work/$name"
    expect 0 "dump $name" "$q" dump "$work/$name"
    # dump runs the tag scan as the player does; a disk it fills has its own recorded dump.
    want=$src/tests/qlmdisk/data/$name.dump.json
    [ -f "$src/tests/qlmdisk/data/$name.scanned.dump.json" ] && want=$src/tests/qlmdisk/data/$name.scanned.dump.json
    python3 -c 'import json,sys; sys.exit(json.load(open(sys.argv[1])) != json.load(open(sys.argv[2])))' \
        "$work/out" "$want" || { echo "FAIL: dump of $name differs"; fail=1; }
done
expect 0 "records decode" "$q" records decode "$work/record_full/qlm.cfg"
cp "$work/out" "$work/records.txt"
expect 0 "records encode" "$q" records encode "$work/records.txt" "$work/again/qlm.cfg"
cmp -s "$work/record_full/qlm.cfg" "$work/again/qlm.cfg" || { echo "FAIL: decode/encode is not the identity"; fail=1; }
expect 1 "records decode of the packed form" "$q" records decode "$work/packed_full/qlm.cfg"
printf 'S NOTADISK\n' >"$work/notadisk.txt"
expect 0 "records encode" "$q" records encode "$work/notadisk.txt" "$work/nd/qlm.cfg"
expect 3 "dump of a file that is not a disk description" "$q" dump "$work/nd"
# favorites: set, dump, load; a stale song number is found by its path, a missing song is dropped.
fav=$work/favorites.dat
expect 2 "favorites without a subcommand" "$q" favorites
expect 1 "favorites dump of a missing file" "$q" favorites dump "$fav"
expect 0 "favorites set" "$q" favorites set "$fav" "$work/record_full" QLM-REC-001 RusRock/Band/02.mp3 'RusRock\Band\01.mp3'
expect 0 "favorites set of a second list" "$q" favorites set "$fav" "$work/record_full" OTHER RusRock/Band/01.mp3
expect 1 "favorites set of a song the disk lacks" "$q" favorites set "$fav" "$work/record_full" OTHER no/such.mp3
expect 0 "favorites dump" "$q" favorites dump "$fav"
python3 - "$work/out" <<'PY' || { echo "FAIL: favorites dump"; fail=1; }
import json, sys
d = json.load(open(sys.argv[1]))
assert d["header"]["check"] == "accepted" and d["header"]["entries"] == 2, d["header"]
assert [l["name"] for l in d["lists"]] == ["QLM-REC-001", "OTHER"]
recs = d["lists"][0]["blocks"][0]["records"]
assert [r["path"] for r in recs] == ["RusRock\\Band\\02.mp3", "RusRock\\Band\\01.mp3"], recs
assert d["freeList"] is None and d["problems"] == []
PY
# Song number 6 of the first record becomes 1 (a folder now); the second record's path a song the disk lacks.
python3 - "$fav" <<'PY'
import sys
b = bytearray(open(sys.argv[1], "rb").read())
b[44:48] = (1).to_bytes(4, "little")
at = 44 + 12 + 2 + len("RusRock\\Band\\02.mp3")
b[at + 14:at + 16] = b"XX"
open(sys.argv[1], "wb").write(bytes(b))
PY
expect 0 "favorites load" "$q" favorites load "$fav" "$work/record_full" QLM-REC-001
python3 - "$work/out" <<'PY' || { echo "FAIL: favorites load"; cat "$work/out"; fail=1; }
import json, sys
d = json.load(open(sys.argv[1]))
assert d["found"] and [i["path"] for i in d["items"]] == ["RusRock\\Band\\02.mp3"], d["items"]
assert d["items"][0]["caption"] == "Песня 2"
assert [r["found"] for r in d["records"]] == ["by path", "dropped: no such song"], d["records"]
PY
[ $fail = 0 ] && echo "qlmdisk command line: all checks passed"
exit $fail
