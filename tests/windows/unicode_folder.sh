#!/usr/bin/env bash
# Sashcaster-keys.exe and Sashcaster-check.exe on a settings file in a folder
# named with accented and Cyrillic letters, given as Windows gives it: the
# keys tool writes the file there, both read it and both name it right in what
# they print, and both name the folder right when it lacks the loader, which
# makes the keys tool's status 1.
# Usage: unicode_folder.sh WINDOWS_KEYS WINDOWS_CHECK
set -u
keys=$1 check=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
folder="$scratch/Jérôme/Игры"
mkdir -p "$folder"
touch "$folder"/{RDR2.exe,ScriptHookRDR2.dll,dinput8.dll,Sashcaster.asi}
printf '[Sashcaster]\r\niXKey=88\r\n' >"$folder/Sashcaster.ini"
file="Z:${folder//\//\\}\\Sashcaster.ini"
fail() { echo "FAIL: $*"; exit 1; }

wine "$keys" --file "$file" trigger=Z left=Q </dev/null >"$scratch/keys.out" 2>/dev/null
status=$?
[ "$status" -le 1 ] || fail "Sashcaster-keys.exe exited $status: $(cat "$scratch/keys.out")"
[ "$(cat "$folder/Sashcaster.ini")" = $'[Sashcaster]\r\niXKey=90\r\niWindowThrowLeft=81\r' ] ||
  fail "the file holds: $(od -c "$folder/Sashcaster.ini")"
[ "$(cat "$folder/Sashcaster.ini.bak")" = $'[Sashcaster]\r\niXKey=88\r' ] || fail "no .bak of the old file"
grep -qF "Wrote $file;" "$scratch/keys.out" || fail "Sashcaster-keys.exe names the file as: $(head -n 1 "$scratch/keys.out")"

wine "$check" "$file" </dev/null >"$scratch/check.out" 2>/dev/null
grep -qxF "Checking $file"$'\r' "$scratch/check.out" ||
  fail "Sashcaster-check.exe names the file as: $(head -n 1 "$scratch/check.out")"
grep -q 'no such file' "$scratch/check.out" && fail "Sashcaster-check.exe does not find the file"
grep -q '^iXKey = 90 (Z)   from line 2' "$scratch/check.out" ||
  fail "Sashcaster-check.exe does not read the keys written: $(cat "$scratch/check.out")"
grep -q '^iXKey = 90 (Z)   from line 2' "$scratch/keys.out" ||
  fail "Sashcaster-keys.exe's report does not read the keys written: $(cat "$scratch/keys.out")"
rm "$folder/dinput8.dll"
wine "$check" "$file" </dev/null >"$scratch/check.out" 2>/dev/null
grep -qF "No plug-in loader (dinput8.dll, or version.dll, winmm.dll or dsound.dll) is in the folder ${file%\\*}, so" \
  "$scratch/check.out" || fail "Sashcaster-check.exe does not name the folder without a loader: $(cat "$scratch/check.out")"
# The keys tool's status counts the check's findings, the installation's too.
wine "$keys" --file "$file" trigger=X </dev/null >"$scratch/keys.out" 2>/dev/null
status=$?
[ "$status" -eq 1 ] || fail "Sashcaster-keys.exe exited $status in a folder without a loader, not 1"
grep -qF "No plug-in loader" "$scratch/keys.out" || fail "Sashcaster-keys.exe's report lacks the loader: $(cat "$scratch/keys.out")"
echo "both programs found and named $file, and both its folder without a loader"
