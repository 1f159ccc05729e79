#!/usr/bin/env bash
# The test command: installs what is missing, builds both trees, runs every
# test (native under sanitizers, Windows under Wine), then a bounded fuzz run.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
if [ "$(id -u)" = 0 ]; then scripts/setup.sh || exit 1; fi
scripts/build.sh all || exit 1

passed=0; failed=0
count() {  # reads ctest's summary line
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n1)
  [ -n "$line" ] || { failed=$((failed + 1)); return; }
  local f t
  f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  t=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + t - f)); failed=$((failed + f))
}

log=$(mktemp -d)
echo "== native tests (ASan/UBSan)"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-native --output-on-failure -j2 2>&1 | tee "$log/native.txt"
count "$log/native.txt"

echo "== Windows tests (Wine)"
# The demo disk, for the test that plays its video in the disk's own player.
if bash scripts/make-demo-disk.sh "$log/demo-disk" >"$log/demo-disk.txt" 2>&1; then
  export QLM_DEMO_DISK=$log/demo-disk
else
  echo "the demo disk could not be made:"; cat "$log/demo-disk.txt"; failed=$((failed + 1))
fi
qlm_root=$here source scripts/wine-env.sh
qlm_start_display
source scripts/printer-env.sh
qlm_start_printer
qlm_start_wine
ctest --test-dir build-win --output-on-failure 2>&1 | tee "$log/win.txt"
count "$log/win.txt"
qlm_stop_all

# A fixed seed and a fixed number of runs keep the test run repeatable (a time bound would
# let a faster machine walk further and meet inputs no earlier run met); the time bound only
# stops a run gone wrong. Longer open-ended fuzzing is done by hand and what it finds joins
# the seed corpus.
echo "== fuzzing (${QLM_FUZZ_RUNS:-20000} runs each)"
for f in build-native/fuzzers/*; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  work=$(mktemp -d)
  seeds=tests/fuzz/corpus/$name
  if "$f" -runs="${QLM_FUZZ_RUNS:-20000}" -max_total_time=300 -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 -seed=1 \
       -artifact_prefix="$log/$name-" "$work" ${seeds:+$( [ -d "$seeds" ] && echo "$seeds")} \
       >"$log/$name.txt" 2>&1; then
    echo "fuzz $name: ok ($(grep -Eo 'stat::number_of_executed_units: [0-9]+' "$log/$name.txt" | grep -Eo '[0-9]+' || echo '?') runs)"
    passed=$((passed + 1))
  else
    echo "fuzz $name: FAILED"; tail -n 40 "$log/$name.txt"; ls "$log" | grep "^$name-" || true
    failed=$((failed + 1))
  fi
  rm -rf "$work"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
