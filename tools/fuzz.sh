#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz) and runs each for a bounded time,
# starting from its seed corpus in fuzz/corpus/<target>/. New inputs go to a
# scratch copy; the committed seeds are never changed. A crash, leak, thrown
# exception or broken invariant fails the run and leaves the input in
# build/fuzz/artifacts/.
#   bash tools/fuzz.sh            60 s per target (what CI runs)
#   bash tools/fuzz.sh 3600       an hour per target
#   bash tools/fuzz.sh 600 settings_fuzz   one target only
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
# Every target has its seeds in a folder of its name.
[ ${#targets[@]} -gt 0 ] || mapfile -t targets < <(cd fuzz/corpus && printf '%s\n' */ | tr -d /)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

artifacts=$PWD/build/fuzz/artifacts
mkdir -p "$artifacts"
for target in "${targets[@]}"; do
  corpus=$(mktemp -d "/tmp/sashcaster-corpus-$target.XXXXXX")
  cp -r "fuzz/corpus/$target/." "$corpus/"
  echo "=== fuzz $target for ${seconds}s ==="
  status=0
  "build/fuzz/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/$target-" "$corpus" >"$artifacts/$target.log" 2>&1 || status=$?
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)|ERROR|invariant|differ' \
    "$artifacts/$target.log" || true
  rm -rf "$corpus"
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$artifacts/$target.log"
    echo "fuzz $target failed (log: $artifacts/$target.log)"
    exit "$status"
  fi
done
