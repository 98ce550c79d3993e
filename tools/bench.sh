#!/usr/bin/env bash
# Builds the benchmarks in Release and runs them; each binary ends with a
# summary of the judged figures and their ratios, all from that one run.
#   bash tools/bench.sh           full run (a few minutes)
#   bash tools/bench.sh --smoke   each benchmark once, briefly, as CI does;
#                                 the figures of a smoke run mean nothing
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
# The native preset builds them, in Release, beside the tests.
cmake --preset native >/dev/null
cmake --build --preset native --target sashcaster_bench sashcaster_bench_fake_host

# Figures are the median of five runs each; the machine may be busy.
args=(--benchmark_repetitions=5 --benchmark_report_aggregates_only=true)
if [ "${1:-}" = "--smoke" ]; then
  args=(--benchmark_min_time=0.001)
  export SASHCASTER_BENCH_TURNS=1000
fi

for binary in sashcaster_bench sashcaster_bench_fake_host; do
  echo "=== $binary ==="
  "build/native/bench/$binary" "${args[@]}"
done

# The real plug-in under wine on the stand-in script hook.
cmake --preset windows >/dev/null
cmake --build --preset windows
# shellcheck source=tools/wine_env.sh
source tools/wine_env.sh
turns=2000
[ "${1:-}" != "--smoke" ] || turns=20
echo "=== sashcaster-wine-bench ==="
wine build/windows/wine/sashcaster-wine-bench.exe \
  "Z:$PWD/build/windows/src/host/windows/Sashcaster.asi" "Z:$PWD/package/Sashcaster.ini" "$turns"
