#!/usr/bin/env bash
# Installs what is missing, builds every preset from scratch and runs every
# test. Exits non-zero on the first step that fails.
# Each step prints when it began. Steps that mostly wait run beside one that
# computes: the Windows tests (which wait on wine) and the fuzz targets (one
# core each) beside the lint. SASHCASTER_FUZZ_SECONDS sets each target's time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINEPREFIX=$(mktemp -d /tmp/sashcaster-wine.XXXXXX)
export WINEPREFIX
logs=$(mktemp -d /tmp/sashcaster-logs.XXXXXX)
beside=()
clean_up() {
  for job in "${beside[@]}"; do
    pkill -P "$job" 2>/dev/null || true
    kill "$job" 2>/dev/null || true
  done
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX" "$logs"
}
trap clean_up EXIT

step() {
  echo "=== $1 ($((SECONDS / 60)) min $((SECONDS % 60)) s in) ==="
}

# A preset's tests, side by side (each test is a process of its own); the
# number that passed goes into build/PRESET/ctest.log's last lines.
run_tests() {
  ctest --preset "$1" -j "$2" >"build/$1/ctest.log" 2>&1
}

# Waits for a step run beside, and shows its output.
finish() {
  local job=$1 log=$2
  if ! wait "$job"; then
    cat "$log"
    echo "FAILED: $log"
    exit 1
  fi
  tail -n 4 "$log"
}

passed=0
count_passed() {
  local total
  total=$(sed -n 's/.*tests failed out of \([0-9]*\)$/\1/p' "build/$1/ctest.log")
  passed=$((passed + ${total:-0}))
}

for preset in native windows; do
  step "$preset: build"
  cmake --preset "$preset" --fresh >/dev/null
  cmake --build --preset "$preset"
done
step "native: tests"
run_tests native 2 || { cat build/native/ctest.log; exit 1; }
tail -n 4 build/native/ctest.log
count_passed native

step "windows: tests, beside the fuzz targets and the lint"
run_tests windows 2 &
windows_tests=$!
beside+=("$windows_tests")
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
bash tools/fuzz.sh "${SASHCASTER_FUZZ_SECONDS:-30}" >"$logs/fuzz.log" 2>&1 &
fuzz=$!
beside+=("$fuzz")
step "lint"
bash tools/lint.sh
step "windows tests and fuzz targets: their end"
finish "$windows_tests" build/windows/ctest.log
count_passed windows
finish "$fuzz" "$logs/fuzz.log"
beside=()

for preset in native-tsan native-asan; do
  step "$preset"
  cmake --preset "$preset" --fresh >/dev/null
  cmake --build --preset "$preset"
  run_tests "$preset" 2 || { cat "build/$preset/ctest.log"; exit 1; }
  tail -n 4 "build/$preset/ctest.log"
  count_passed "$preset"
done

step "benchmarks (smoke run, timings not judged)"
bash tools/bench.sh --smoke >build/bench-smoke.log 2>&1 || {
  cat build/bench-smoke.log
  exit 1
}
echo "benchmarks ran (build/bench-smoke.log)"

step "soak (10,000 turns)"
bash tools/soak.sh 10000 | tail -n 1

step "done"
# Every step above stops the script on a failure, so every test counted passed.
echo "tests: $passed passed, 0 failed"
