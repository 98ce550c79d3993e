#!/usr/bin/env bash
# Runs the native sashcaster-keys and Sashcaster-keys.exe under wine with the
# same settings on copies of the same files, each in a game folder of its
# own, and requires the same bytes written, the same .bak, the same report and
# the same exit status. Windows ends printed lines with CR LF; that alone differs.
# Usage: compare_keys.sh NATIVE_KEYS WINDOWS_KEYS
set -u
native=$1 windows=$2
[ -x "$native" ] || { echo "FAIL: no native keys tool at $native: build the native preset first"; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/native" "$scratch/windows"
touch "$scratch"/{native,windows}/{RDR2.exe,ScriptHookRDR2.dll,dinput8.dll,Sashcaster.asi}
failures=0

# same NAME FILE_BYTES SETTING=KEY...: FILE_BYTES as printf takes it, or
# "none" for no file.
same() {
  local name=$1 bytes=$2
  shift 2
  for side in native windows; do
    rm -f "$scratch/$side"/Sashcaster.ini*
    [ "$bytes" = none ] || printf "$bytes" >"$scratch/$side/Sashcaster.ini"
  done
  # Standard output only: wine may add its own messages on standard error.
  (cd "$scratch/native" && "$native" "$@" >out 2>/dev/null)
  local native_status=$?
  (cd "$scratch/windows" && wine "$windows" "$@" </dev/null >out.crlf 2>/dev/null)
  local windows_status=$?
  tr -d '\r' <"$scratch/windows/out.crlf" >"$scratch/windows/out" && rm "$scratch/windows/out.crlf"
  if [ "$native_status" -ne "$windows_status" ] ||
    ! diff -r "$scratch/native" "$scratch/windows" >"$scratch/diff"; then
    echo "FAIL: $name: native exited $native_status, Windows $windows_status"
    sed 's/^/  /' "$scratch/diff"
    failures=$((failures + 1))
  else
    echo "same: $name (exit $native_status, $(ls "$scratch/native" | tr '\n' ' '))"
  fi
}

same "a CR LF file, a value and a missing key" '[Sashcaster]\r\niXKey = 88 ; X\r\n' trigger=F5 left="Left arrow"
same "a UTF-16 file" '\xff\xfe[\0S\0a\0s\0h\0c\0a\0s\0t\0e\0r\0]\0\n\0i\0X\0K\0e\0y\0=\0009\0000\0' front=z
same "no section, and a key in another" '; mine\n[Keys]\niXKey=1' back=off iXKey=Q
same "no file" none right="Numpad 6"
same "a key the plug-in never receives" '[Sashcaster]\n' left="Right Ctrl"

[ "$failures" -eq 0 ] || { echo "$failures case(s) differ"; exit 1; }
