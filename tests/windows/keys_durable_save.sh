#!/usr/bin/env bash
# Sashcaster-keys.exe saves through the Windows calls that keep a save whole
# across a crash: each temporary file it writes is flushed (FlushFileBuffers
# on its own handle) before it is moved, and every move is MoveFileExW with
# MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH (9). Wine's relay trace
# shows the calls; the file and its .bak must then hold the new and the old
# bytes. That the bytes are on the disk after a power cut only a real Windows
# machine can show.
# Usage: keys_durable_save.sh WINDOWS_KEYS
set -u
windows=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
touch "$scratch"/{RDR2.exe,ScriptHookRDR2.dll,dinput8.dll,Sashcaster.asi}
before=$'[Sashcaster]\r\niXKey=88\r\n'
printf '%s' "$before" >"$scratch/Sashcaster.ini"

# Only the calls that matter are kept of the trace, which is long.
(cd "$scratch" && WINEDEBUG=+relay wine "$windows" trigger=Z </dev/null 2>&1 >out |
  grep -E '(Call|Ret) +[A-Za-z0-9]+\.(CreateFileW|FlushFileBuffers|MoveFileExW)\(' >calls)
status=${PIPESTATUS[0]}

fail() { echo "FAIL: $*"; echo "calls seen:"; grep -F '.tmp' "$scratch/calls" | sed 's/^/  /'; exit 1; }
[ "$status" -eq 0 ] || fail "exit status $status, not 0"
[ "$(cat "$scratch/Sashcaster.ini"; echo .)" = $'[Sashcaster]\r\niXKey=90\r\n.' ] ||
  fail "Sashcaster.ini holds: $(od -c "$scratch/Sashcaster.ini")"
[ "$(cat "$scratch/Sashcaster.ini.bak"; echo .)" = "$before." ] || fail "Sashcaster.ini.bak is not the old file"

# For each temporary file: the handle its CreateFileW returned, whether that
# handle was flushed, then every move: from a flushed file, written through.
verdict=$(awk '
  /Call [A-Za-z0-9]+\.CreateFileW\(/ { opening = ($0 ~ /\.tmp"/) ? $0 : ""; sub(/.*L"/, "", opening); sub(/".*/, "", opening); next }
  /Ret +[A-Za-z0-9]+\.CreateFileW\(/ { if (opening != "") { handle = $0; sub(/.*retval=/, "", handle); sub(/ .*/, "", handle); file[handle] = opening } opening = ""; next }
  /Call [A-Za-z0-9]+\.FlushFileBuffers\(/ { h = $0; sub(/.*FlushFileBuffers\(/, "", h); sub(/\).*/, "", h); if (h in file) flushed[file[h]] = 1; next }
  /Call [A-Za-z0-9]+\.MoveFileExW\(/ {
    from = $0; sub(/[^"]*"/, "", from); sub(/".*/, "", from)
    flags = $0; sub(/.*,/, "", flags); sub(/\).*/, "", flags)
    moves++
    if (!(from in flushed)) print "moved " from " unflushed"
    if (flags !~ /^0*9$/) print "moved " from " with flags " flags
  }
  END { if (moves < 2) print "only " moves + 0 " moves" }' "$scratch/calls")
[ -z "$verdict" ] || fail "$verdict"
echo "both temporary files flushed before their moves, every move written through (exit $status)"
