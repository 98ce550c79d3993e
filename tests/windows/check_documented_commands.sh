#!/usr/bin/env bash
# Runs the commands README.md and docs/ show, as written there, from the top of the
# source tree: the scenario tools with and without a settings file, their
# --help and -h, the settings check, and a plug-in that fails to load, which
# must say why.
# Usage: check_documented_commands.sh SOURCE_DIR BUILD_DIR SIM
set -u
source_dir=$1 build=$2 sim=$3
cd "$source_dir" || exit 1
driver=${build#"$source_dir"/}/wine/sashcaster-wine.exe # build/windows/wine/... for the preset
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# expect STATUS PATTERN COMMAND...: the command exits with STATUS and its
# output (both streams) has a line matching PATTERN.
expect() {
  local status=$1 pattern=$2
  shift 2
  "$@" >"$scratch/out" 2>&1
  local actual=$?
  if [ "$actual" -ne "$status" ] || ! grep -qE -- "$pattern" "$scratch/out"; then
    echo "FAIL: $* exited $actual (wanted $status), output:"
    sed 's/^/  /' "$scratch/out"
    echo "  (wanted a line matching: $pattern)"
    failures=$((failures + 1))
  else
    echo "ok: $*"
  fi
}

[ -x "$sim" ] || { echo "FAIL: no simulator at $sim: build the native preset first"; exit 1; }
own=tests/scenarios/with_ini/custom_keys
passed='^passed: [0-9]+ turns?, '
expect 0 "$passed" wine "$driver"
expect 0 "$passed" wine "$driver" --ini "Z:$PWD/$own.ini" "Z:$PWD/$own.scenario"
expect 0 "$passed" "$sim" --ini "$own.ini" "$own.scenario"
expect 0 "$passed" "$sim"
expect 0 "$passed" "$sim" --ini "$own.ini"
check=${sim%/harness/sim/sashcaster-sim}/programs/check/sashcaster-check
expect 0 '^usage: sashcaster-check ' "$check" --help
expect 1 '^line 3: "ixkey" is no key the plug-in knows: did you mean iXKey\?' \
  "$check" tests/scenarios/with_ini/lower_case_name.ini
for option in --help -h; do
  expect 0 '^usage: sashcaster-sim ' "$sim" "$option"
  expect 0 '^usage: sashcaster-wine ' wine "$driver" "$option"
  expect 0 '^usage: sashcaster-wine-bench ' wine "${driver%/*}/sashcaster-wine-bench.exe" "$option"
done
# Not a DLL: the reason is the system's, with its real code.
expect 2 'cannot load .*Sashcaster-README.txt: .+ \(error 193\)' wine "$driver" --plugin "Z:$PWD/package/Sashcaster-README.txt"

[ "$failures" -eq 0 ] || { echo "$failures documented command(s) failed"; exit 1; }
echo "every documented command ran as written"
