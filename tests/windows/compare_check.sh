#!/usr/bin/env bash
# Runs the native sashcaster-check and Sashcaster-check.exe under wine on the
# same settings files, in the same game folder, and requires the same output
# and exit status from both. Windows ends lines with CR LF; that alone differs.
# Usage: compare_check.sh NATIVE_CHECK WINDOWS_CHECK
set -u
native=$1 windows=$2
[ -x "$native" ] || { echo "FAIL: no native check at $native: build the native preset first"; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
touch RDR2.exe ScriptHookRDR2.dll dinput8.dll Sashcaster.asi
failures=0

# same NAME: both programs on ./Sashcaster.ini as it stands; their standard
# output is compared (wine may add its own messages on standard error).
same() {
  "$native" >native.out
  local native_status=$?
  wine "$windows" </dev/null 2>/dev/null | tr -d '\r' >windows.out
  local windows_status=${PIPESTATUS[0]}
  if [ "$native_status" -ne "$windows_status" ] || ! cmp -s native.out windows.out; then
    echo "FAIL: $1: native exited $native_status, Windows $windows_status"
    diff native.out windows.out | sed 's/^/  /'
    failures=$((failures + 1))
  else
    # The line before the last counts the findings; the last is the controller's.
    echo "same: $1 (exit $native_status, $(tail -n 2 native.out | head -n 1))"
  fi
}

printf '[Sashcaster]\r\niXKey=90\r\niWindowThrowFront=38\r\n' >Sashcaster.ini
same "a correct file"
printf '[Sashcaster]\nixkey = 90\niXKey=0x5A\niWindowThrowLeft=Z\niWindowThrowBack=87\n[Keys]\niXKey=1\n' >Sashcaster.ini
same "lower case, hexadecimal, a letter, two directions on one key, another section"
printf '\xff\xfe[\0S\0a\0s\0h\0c\0a\0s\0t\0e\0r\0]\0\n\0i\0X\0K\0e\0y\0=\0009\0000\0' >Sashcaster.ini
same "a UTF-16 file"
printf '[Sashcaster]\niXKey=160\niWindowThrowLeft=5\niWindowThrowRight=Left arrow\n' >Sashcaster.ini
same "codes never received, a key named for a value, and the commands that set them"
printf '[sashcaster]\niXKey=90 ; Z\niWindowThrowRight=-1\n' >Sashcaster.ini
same "a header in lower case"
mv Sashcaster.ini Sashcaster.ini.txt
same "a hidden .txt extension"
mv Sashcaster.ini.txt Sashcaster.ini
rm RDR2.exe dinput8.dll
touch WINMM.DLL
same "no RDR2.exe, and the loader under another name in another letter case"
rm WINMM.DLL ScriptHookRDR2.dll Sashcaster.asi
same "none of the game's files"

[ "$failures" -eq 0 ] || { echo "$failures case(s) differ"; exit 1; }
