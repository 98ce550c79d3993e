#!/usr/bin/env bash
# Checks that PDB is the one a Windows debugger takes for PLUGIN, and that it
# serves a player's crash dump: the DLL names it without a folder and carries
# its GUID and age; it holds the plug-in's procedures, types and line records;
# the plug-in's own source files are named from the top of the source tree,
# with no folder of the machine that built it.
# Usage: check_plugin_pdb.sh PLUGIN PDB
set -u
plugin=$1 pdb=$2
readobj=$(command -v llvm-readobj-16 || command -v llvm-readobj)
pdbutil=$(command -v llvm-pdbutil-16 || command -v llvm-pdbutil)
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

record=$("$readobj" --coff-debug-directory "$plugin") || { echo "FAIL: cannot read $plugin"; exit 1; }
summary=$("$pdbutil" dump --summary "$pdb") || { echo "FAIL: cannot read $pdb"; exit 1; }

# The DLL's CodeView record: the PDB's name, then its GUID as 16 bytes, in
# the order a GUID's text gives them only after its first three fields are
# turned around.
named=$(sed -n 's/^ *PDBFileName: //p' <<<"$record")
[ "$named" = "$(basename "$pdb")" ] || fail "$plugin names its PDB '$named', not $(basename "$pdb")"
read -r -a bytes <<<"$(sed -n 's/^ *PDBGUID: (\(.*\))/\1/p' <<<"$record")"
[ "${#bytes[@]}" -eq 16 ] || fail "$plugin carries no CodeView record with a GUID"
guid=$(printf '{%s%s%s%s-%s%s-%s%s-%s%s-%s%s%s%s%s%s}' "${bytes[@]:3:1}" "${bytes[@]:2:1}" \
  "${bytes[@]:1:1}" "${bytes[@]:0:1}" "${bytes[@]:5:1}" "${bytes[@]:4:1}" "${bytes[@]:7:1}" \
  "${bytes[@]:6:1}" "${bytes[@]:8:8}")
[ "$guid" = "$(sed -n 's/^ *GUID: //p' <<<"$summary")" ] ||
  fail "the GUID of $plugin, $guid, is not its PDB's: $(sed -n 's/^ *GUID: //p' <<<"$summary")"
[ "$(sed -n 's/^ *PDBAge: //p' <<<"$record")" = "$(sed -n 's/^ *Age: //p' <<<"$summary")" ] ||
  fail "the age in $plugin is not its PDB's"

# What a debugger needs to name a frame of the throw loop, with its line.
"$pdbutil" dump --symbols "$pdb" | grep -q 'S_GPROC32 .* `sashcaster::throwTurn`$' ||
  fail "no procedure sashcaster::throwTurn"
"$pdbutil" dump --types "$pdb" | grep -q 'LF_STRUCTURE .* `sashcaster::KeyState`' ||
  fail "no type sashcaster::KeyState"
lines=$("$pdbutil" dump --l "$pdb")
grep -A2 -x 'src\\throw\\throw_loop.cpp (MD5: [0-9A-F]*)' <<<"$lines" | grep -q 'line/addr entries = [1-9]' ||
  fail "no line records of src\\throw\\throw_loop.cpp"

# The project's files by the path from the top of the source tree; no name
# in the PDB outside the system's own folders starts from the root.
files=$("$pdbutil" dump --files "$pdb" | sed -n 's/^- (MD5: [0-9A-F]*) //p' | sort -u)
own=$(grep -E '(^|[\\/])(src|tools)[\\/]' <<<"$files")
[ -n "$own" ] || fail "names none of the project's source files"
misnamed=$(grep -vE '^(src|tools)\\' <<<"$own")
[ -z "$misnamed" ] || fail "names the project's files by another path:"$'\n'"$misnamed"
foreign=$(grep -E '^(/|[A-Za-z]:)' <<<"$files" | grep -vE '^/usr/')
[ -z "$foreign" ] || fail "names files by a folder of the building machine:"$'\n'"$foreign"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed for $pdb"
  exit 1
fi
echo "$pdb: matches $plugin ($guid, age $(sed -n 's/^ *Age: //p' <<<"$summary")), with procedures, types and lines of src\\"
