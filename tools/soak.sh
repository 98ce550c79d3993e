#!/usr/bin/env bash
# Soaks the real Sashcaster.asi under wine on the stand-in script hook: a key
# storm and the settings file rewritten under it, every turn checked, memory
# compared between the first 1 % of the turns and the end.
#   bash tools/soak.sh [TURNS]   default 1000000 (some minutes)
set -euo pipefail
cd "$(dirname "$0")/.."
turns=${1:-1000000}

cmake --preset windows >/dev/null
cmake --build --preset windows --target Sashcaster standin_host sashcaster-soak

# shellcheck source=tools/wine_env.sh
source tools/wine_env.sh
status=0
output=$(wine build/windows/wine/sashcaster-soak.exe \
  "Z:$PWD/build/windows/src/host/windows/Sashcaster.asi" "$turns") || status=$?
output=${output//$'\r'/}  # the program's stdout is in text mode
printf '%s\n' "$output"
last=$(printf '%s\n' "$output" | tail -n 1)
pattern="^soak: $turns turns, [0-9]+ key events, [0-9]+ file edits, [0-9]+ faults, memory [0-9]+ KiB -> [0-9]+ KiB$"
if ! [[ $last =~ $pattern ]]; then
  echo "soak: the soak program ended (status $status) without its summary line" >&2
  exit 1
fi
exit "$status"
