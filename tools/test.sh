#!/usr/bin/env bash
# Installs what is missing, builds every preset from scratch and runs every
# test. Exits non-zero on the first preset with a failing test.
# Each step prints how long it took. The fuzz targets run on one core while
# the lint takes the other; SASHCASTER_FUZZ_SECONDS sets their time each.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINEPREFIX=$(mktemp -d /tmp/sashcaster-wine.XXXXXX)
export WINEPREFIX
fuzz_log=$(mktemp /tmp/sashcaster-fuzz.XXXXXX)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX" "$fuzz_log"' EXIT

step() {
  echo "=== $1 ($((SECONDS / 60)) min $((SECONDS % 60)) s in) ==="
}

# Tests run side by side: the unit tests are processes of their own, and
# the Windows tests spend most of their time waiting on wine.
declare -A test_jobs=([native]=2 [windows]=3 [native-tsan]=1 [native-asan]=2)
passed=0
for preset in native windows native-tsan native-asan; do
  step "$preset"
  cmake --preset "$preset" --fresh >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" -j "${test_jobs[$preset]}" | tee "build/$preset/ctest.log"
  total=$(sed -n 's/.*tests failed out of \([0-9]*\)$/\1/p' "build/$preset/ctest.log")
  passed=$((passed + ${total:-0}))
done

step "fuzz, beside the lint"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
bash tools/fuzz.sh "${SASHCASTER_FUZZ_SECONDS:-30}" >"$fuzz_log" 2>&1 &
fuzz=$!

step "lint"
bash tools/lint.sh

if ! wait "$fuzz"; then
  cat "$fuzz_log"
  exit 1
fi
grep -E '^(===|Done)' "$fuzz_log"

step "benchmarks (smoke run, timings not judged)"
bash tools/bench.sh --smoke >build/bench-smoke.log 2>&1 || {
  cat build/bench-smoke.log
  exit 1
}
echo "benchmarks ran (build/bench-smoke.log)"

step "soak (10,000 turns)"
bash tools/soak.sh 10000 | tail -n 1

step "done"
# ctest stops the script on a failure above, so every test counted passed.
echo "tests: $passed passed, 0 failed"
