#!/usr/bin/env bash
# Checks what the built plug-in asks of Windows and offers to it: a 64-bit
# DLL that imports exactly the eight script-hook functions (plus system DLLs,
# nothing of the compiler's runtime), exports nothing, and carries a version
# resource with the project's version.
# Usage: check_plugin_binary.sh PLUGIN VERSION OBJDUMP STRINGS
set -u
plugin=$1 version=$2 objdump=$3 strings=$4
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

headers=$("$objdump" -p "$plugin") || { echo "FAIL: cannot read $plugin"; exit 1; }

grep -q "file format pei-x86-64" <<<"$headers" || fail "not a 64-bit PE file"
grep -qE "^\s+DLL\s*$" <<<"$headers" || fail "not a DLL"

# Imported DLLs: the script hook and Windows' own libraries only.
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | sort -f)
allowed='^(ScriptHookRDR2\.dll|KERNEL32\.dll|msvcrt\.dll|ntdll\.dll|USER32\.dll|ADVAPI32\.dll|api-ms-win-.*\.dll)$'
while read -r dll; do
  grep -qiE "$allowed" <<<"$dll" || fail "imports $dll, which a player's Windows lacks"
done <<<"$dlls"
grep -qx "ScriptHookRDR2.dll" <<<"$dlls" || fail "does not import ScriptHookRDR2.dll"

# The script hook's functions, by their decorated names and nothing else.
expected=$(sort <<'NAMES'
?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z
?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z
?keyboardHandlerRegister@@YAXP6AXKGEHHHH@Z@Z
?keyboardHandlerUnregister@@YAXP6AXKGEHHHH@Z@Z
?scriptWait@@YAXK@Z
?nativeInit@@YAX_K@Z
?nativePush64@@YAX_K@Z
?nativeCall@@YAPEA_KXZ
NAMES
)
actual=$(awk '/DLL Name:/ { inside = ($3 == "ScriptHookRDR2.dll"); next }
              inside && NF == 0 { inside = 0 }
              inside && NF == 3 && $1 ~ /^[0-9a-f]+$/ { print $3 }' <<<"$headers" | sort)
[ "$actual" = "$expected" ] || fail "script-hook imports differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
grep -qx "GetTickCount" <(awk '/DLL Name:/ { inside = ($3 == "KERNEL32.dll"); next }
                               inside && NF == 3 { print $3 }' <<<"$headers") ||
  fail "does not take the clock from KERNEL32.dll's GetTickCount"

# Exports: none (an empty export directory is fine).
if grep -q "The Export Tables" <<<"$headers"; then
  count=$(awk '/\[Name Pointer\/Ordinal\] Table/ && NF == 4 { print $4; exit }' <<<"$headers")
  [ "$count" = "00000000" ] || fail "exports $((16#${count:-1})) names"
fi

# Version resource: each name is followed by its value in the string table.
resource=$("$strings" -el "$plugin")
value_of() { grep -A1 -x "$1" <<<"$resource" | sed -n 2p; }
[ "$(value_of ProductName)" = "Sashcaster" ] || fail "ProductName is '$(value_of ProductName)'"
[ "$(value_of FileVersion)" = "$version" ] || fail "FileVersion is '$(value_of FileVersion)', not $version"
[ "$(value_of ProductVersion)" = "$version" ] || fail "ProductVersion is '$(value_of ProductVersion)'"
[ -n "$(value_of FileDescription)" ] || fail "no FileDescription"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed for $plugin"
  exit 1
fi
echo "$plugin: 8 script-hook imports, system DLLs only, no exports, version $version"
