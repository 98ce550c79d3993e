#!/usr/bin/env bash
# Plays one scenario both ways, on the portable core (sashcaster-sim) and on
# the real plug-in under the stand-in host in wine (sashcaster-wine.exe), and
# requires both to pass and to print the same trace, native calls included.
# Usage: compare_traces.sh SIM DRIVER PLUGIN [--ini FILE] [SCENARIO]
set -u
sim=$1 driver=$2 plugin=$3
shift 3

if [ ! -x "$sim" ]; then
  echo "FAIL: no simulator at $sim: build the native preset first (cmake --build --preset native)"
  exit 1
fi

# wine takes a Linux path as a path on drive Z:.
on_z() { case $1 in /*) echo "Z:$1" ;; *) echo "Z:$PWD/$1" ;; esac }
sim_args=() wine_args=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--ini" ]; then
    sim_args+=(--ini "$2") wine_args+=(--ini "$(on_z "$2")")
    shift 2
  else
    sim_args+=("$1") wine_args+=("$(on_z "$1")")
    shift
  fi
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$sim" --natives "${sim_args[@]}" >"$scratch/sim.trace" 2>"$scratch/sim.err"
sim_status=$?
wine "$driver" --natives --plugin "$(on_z "$plugin")" "${wine_args[@]}" >"$scratch/wine.trace" 2>"$scratch/wine.err"
wine_status=$?

failed=0
if [ $sim_status -ne 0 ]; then
  echo "FAIL: sashcaster-sim exited with $sim_status"; cat "$scratch/sim.err"; failed=1
fi
if [ $wine_status -ne 0 ]; then
  echo "FAIL: sashcaster-wine exited with $wine_status"; cat "$scratch/wine.err"; failed=1
fi
if ! diff -u --label sashcaster-sim --label sashcaster-wine "$scratch/sim.trace" "$scratch/wine.trace"; then
  echo "FAIL: the traces differ"; failed=1
fi
if [ ! -s "$scratch/sim.trace" ]; then
  echo "FAIL: empty trace"; failed=1
fi
[ $failed -eq 0 ] || { echo "--- trace of sashcaster-wine:"; cat "$scratch/wine.trace"; exit 1; }
tail -n 1 "$scratch/wine.trace"
