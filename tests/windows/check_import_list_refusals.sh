#!/usr/bin/env bash
# The binary check's allow-list at work: the plug-in passes with the list as
# it stands and fails on a doctored one, each fault named by its line; the
# breaker plug-in, which imports a function the list forbids, fails on it.
# Usage: check_import_list_refusals.sh PLUGIN BREAKER VERSION OBJDUMP STRINGS
set -u
plugin=$1 breaker=$2 version=$3 objdump=$4 strings=$5
here=$(dirname "$0")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# Each doctoring of the list (a sed command) and the line it must fail with.
doctorings=(
  "/^KERNEL32.dll CreateFileW /d|FAIL: imports CreateFileW from KERNEL32.dll, which is not on the allow-list doctored.txt"
  "/^msvcrt.dll /d|FAIL: imports msvcrt.dll, which the plug-in has no use for"
  "\$a KERNEL32.dll CreateThread|FAIL: the allow-list allows CreateThread, which it also forbids"
  "s/^KERNEL32.dll ReadFile watch/& twice/|FAIL: the allow-list's line 'KERNEL32.dll ReadFile watch twice' is neither LIBRARY FUNCTION [watch] nor never FUNCTION"
)

# Checks BINARY against the list LIST; prints the output, returns the status.
check() {
  SASHCASTER_IMPORT_LIST=$2 bash "$here/check_plugin_binary.sh" "$1" "$version" "$objdump" "$strings"
}

# Requires that the check of BINARY against LIST fails with every line after.
fails_with() {
  local binary=$1 list=$2 output expected
  shift 2
  if output=$(check "$binary" "$list"); then
    echo "FAIL: ${binary##*/} passes with ${list##*/}, which should fail"
    failures=$((failures + 1))
    return
  fi
  for expected in "$@"; do
    grep -qxF "$expected" <<<"$output" || {
      echo "FAIL: ${binary##*/} with ${list##*/} does not fail with: $expected"
      failures=$((failures + 1))
    }
  done
}

list=$here/plugin_system_imports.txt
output=$(check "$plugin" "$list") || {
  echo "FAIL: the plug-in does not pass with the list as it stands:"$'\n'"$output"
  exit 1
}

edits=() expected=()
for doctoring in "${doctorings[@]}"; do
  edits+=(-e "${doctoring%%|*}")
  expected+=("${doctoring#*|}")
done
sed "${edits[@]}" "$list" >"$scratch/doctored.txt"
fails_with "$plugin" "$scratch/doctored.txt" "${expected[@]}"

fails_with "$breaker" "$list" \
  "FAIL: imports _fdopen from msvcrt.dll, which the plug-in must never call"

[ "$failures" -eq 0 ] && echo "the allow-list refuses each of ${#doctorings[@]} doctorings and the breaker"
[ "$failures" -eq 0 ]
