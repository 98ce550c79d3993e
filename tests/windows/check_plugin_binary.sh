#!/usr/bin/env bash
# Checks what the built plug-in asks of Windows and offers to it. A guest in
# the game's process, it is a 64-bit DLL that imports the eight script-hook
# functions and, from the system, only the functions on the allow-list
# plugin_system_imports.txt beside this script, which says why each is there
# and names what the plug-in must never call: no thread started, suspended or
# steered, no vectored exception handler, no C runtime descriptor or stream
# over a file. Its only TLS callbacks are the C runtime's own. It exports
# nothing, and carries a version resource with the project's version.
# Usage: check_plugin_binary.sh PLUGIN VERSION OBJDUMP STRINGS [SYMBOLS]
# The symbols that name the TLS callbacks come from the plug-in as built, or
# from SYMBOLS: a released one's debug file, or the PDB of a plug-in linked
# with one (by default NAME.pdb beside it, where there is one), whose public
# symbols stand in for the symbol table such a link leaves out.
# SASHCASTER_IMPORT_LIST names another allow-list, for the checks of this check.
set -u
plugin=$1 version=$2 objdump=$3 strings=$4
pdb_beside=${plugin%.*}.pdb
[ -f "$pdb_beside" ] || pdb_beside=$plugin
symbol_file=${5:-$pdb_beside}
import_list=${SASHCASTER_IMPORT_LIST:-$(dirname "$0")/plugin_system_imports.txt}
nm=${objdump%objdump}nm
pdbutil=$(command -v llvm-pdbutil-16 || command -v llvm-pdbutil)
# The script hook's functions, each a plain name and a decorated one a line.
hook_list=$(dirname "$0")/../../src/host/windows/script_hook_imports.txt
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

headers=$("$objdump" -p "$plugin") || { echo "FAIL: cannot read $plugin"; exit 1; }

grep -q "file format pei-x86-64" <<<"$headers" || fail "not a 64-bit PE file"
grep -qE "^\s+DLL\s*$" <<<"$headers" || fail "not a DLL"

# The allow-list as "library function" lines, the library in lower case,
# and the names it forbids; a line of another shape fails the list itself.
allowed_imports=$(awk '$1 !~ /^#/ && NF && $1 != "never" { print tolower($1), $2 }' "$import_list" | sort -u)
never_imports=$(awk '$1 == "never" { print $2 }' "$import_list")
[ -n "$allowed_imports" ] || { echo "FAIL: no allow-list at $import_list"; exit 1; }
while read -r line; do
  fail "the allow-list's line '$line' is neither LIBRARY FUNCTION [watch] nor never FUNCTION"
done < <(awk '$1 !~ /^#/ && NF && !($1 == "never" ? NF == 2 : NF == 2 || (NF == 3 && $3 == "watch"))' "$import_list")
while read -r name; do
  [ -z "$name" ] || fail "the allow-list allows $name, which it also forbids"
done < <(awk '{ print $2 }' <<<"$allowed_imports" | grep -xF "$never_imports")

# Imported DLLs: the script hook and the system's on the allow-list.
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | sort -f)
while read -r dll; do
  [ "$dll" = "ScriptHookRDR2.dll" ] || awk '{ print $1 }' <<<"$allowed_imports" | grep -qxiF "$dll" ||
    fail "imports $dll, which the plug-in has no use for"
done <<<"$dlls"
grep -qx "ScriptHookRDR2.dll" <<<"$dlls" || fail "does not import ScriptHookRDR2.dll"

imports_of() {
  awk -v dll="$1" '/DLL Name:/ { inside = ($3 == dll); next }
                   inside && NF == 0 { inside = 0 }
                   inside && NF == 3 && $1 ~ /^[0-9a-f]+$/ { print $3 }' <<<"$headers" | sort
}

# The script hook's functions, by their decorated names and nothing else.
expected=$(awk '!/^#/ && NF == 2 { print $2 }' "$hook_list" | sort)
[ "$(wc -l <<<"$expected")" -eq 8 ] || fail "$hook_list does not name eight functions"
actual=$(imports_of ScriptHookRDR2.dll)
[ "$actual" = "$expected" ] || fail "script-hook imports differ:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
grep -qx "GetTickCount" <(imports_of KERNEL32.dll) ||
  fail "does not take the clock from KERNEL32.dll's GetTickCount"

# Every system function: on the allow-list for its library, and never one
# that the list forbids.
while read -r dll; do
  [ "$dll" != "ScriptHookRDR2.dll" ] || continue
  for name in $(imports_of "$dll"); do
    if grep -qxF "$name" <<<"$never_imports"; then
      fail "imports $name from $dll, which the plug-in must never call"
    elif ! grep -qxF "${dll,,} $name" <<<"$allowed_imports"; then
      fail "imports $name from $dll, which is not on the allow-list ${import_list##*/}"
    fi
  done
done <<<"$dlls"

# The 64-bit little-endian words at a virtual address, as 16 hex digits each.
words_at() {
  "$objdump" -s --start-address="$1" --stop-address="$(($1 + 8 * $2))" "$plugin" |
    awk '/^ [0-9a-f]+ / { hex = substr($0, length($1) + 3, 35); gsub(/ /, "", hex); printf "%s", hex }' |
    fold -w 16 | sed -E 's/(..)(..)(..)(..)(..)(..)(..)(..)/\8\7\6\5\4\3\2\1/'
  echo
}

# TLS callbacks: the C runtime's two (tlssup.c), which run its own per-thread
# set-up and clean-up, and nothing else.
# The section addresses of the plug-in, in order: a PDB names places by
# section and offset.
mapfile -t sections < <("$objdump" -h "$plugin" | awk '$1 ~ /^[0-9]+$/ { print $4 }')
# Prints each SECTION OFFSET REST line as ADDRESS (16 hex digits) REST.
at_addresses() {
  local section offset rest
  while read -r section offset rest; do
    [ "$section" -ge 1 ] && [ "$section" -le "${#sections[@]}" ] || continue
    printf '%016x %s\n' "$((16#${sections[section - 1]} + offset))" "$rest"
  done
}
# The PDB's public functions as nm lists symbols (address, T, name).
pdb_symbols() {
  "$pdbutil" dump --publics "$1" |
    awk '/S_PUB32/ { split($0, quoted, "`"); name = quoted[2]; next }
         /flags = function, addr = / { split($NF, at, ":"); print at[1] + 0, at[2] + 0, "T", name }' |
    at_addresses
}
# The object file whose code holds an address, from the PDB's section
# contributions: static functions (the C runtime's) have no public symbol.
pdb_object_at() {
  local address=$((16#$1)) start size object
  while read -r start size object; do
    if [ "$address" -ge "$((16#$start))" ] && [ "$address" -lt "$((16#$start + size))" ]; then
      echo "$object"
      return
    fi
  done < <({ "$pdbutil" dump --modules "$symbol_file"; "$pdbutil" dump --section-contribs "$symbol_file"; } |
    awk '/^ *Mod [0-9]+ \| `/ { split($0, quoted, "`"); object[$2 + 0] = quoted[2] }
         /SC\[/ && /mod = / { gsub(/,/, ""); split($6, at, ":")
                               print at[1] + 0, at[2] + 0, $9, object[$5] }' | at_addresses)
}
case $symbol_file in
*.pdb) symbols=$(pdb_symbols "$symbol_file") ;;
*) symbols=$("$nm" "$symbol_file" 2>/dev/null) ;;
esac
base=$(awk '/^ImageBase/ { print $2 }' <<<"$headers")
tls=$(awk '/Thread Storage Directory/ { print $3 }' <<<"$headers")
if [ -z "$symbols" ]; then
  fail "carries no symbols to name its TLS callbacks by (it was stripped)"
elif [ -n "$tls" ] && [ "$((16#$tls))" -ne 0 ]; then
  # IMAGE_TLS_DIRECTORY64: the fourth word is the address of the callbacks.
  callbacks=$(words_at "$((16#$base + 16#$tls))" 4 | sed -n 4p)
  for address in $(words_at "$((16#$callbacks))" 8); do
    [ "$((16#$address))" -ne 0 ] || break
    name=$(awk -v at="$address" '$1 == at && $2 ~ /^[Tt]$/ && $3 !~ /^[.]/ { print $3; exit }' <<<"$symbols")
    case $symbol_file in *.pdb) [ -n "$name" ] || name=$(pdb_object_at "$address") ;; esac
    # By name, or for a PDB by the C runtime's object that defines them.
    grep -qxE "__dyn_tls_init|__dyn_tls_dtor|lib64_libmingw32_a-tlssup\.o" <<<"$name" ||
      fail "has a TLS callback that is not the C runtime's: ${name:-at 0x$address}"
  done
fi

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
echo "$plugin: 8 script-hook imports, only the listed system functions, the C runtime's TLS callbacks, no exports, version $version"
