#!/usr/bin/env bash
# Proves the binding made for Microsoft's tools with LLVM's compatible ones: a
# program compiled for x86_64-pc-windows-msvc calls the script hook's eight
# functions by their plain names; linked by lld-link against the import
# library made from LIB_DEF (the decorated names alone) with the options of
# ALTERNATE_NAMES (a response file), it imports exactly the eight decorated
# names of IMPORT_LIST and nothing else, and without those options it does
# not link at all.
# Usage: check_msvc_binding.sh PROBE_SOURCE LIB_DEF ALTERNATE_NAMES IMPORT_LIST
set -u
probe=$1 lib_def=$2 alternate_names=$3 import_list=$4
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cd "$scratch" || fail "no scratch folder"

clang++-16 --target=x86_64-pc-windows-msvc -std=c++20 -Wall -Wextra -Werror -c "$probe" -o probe.obj ||
  fail "cannot compile $probe for x86_64-pc-windows-msvc"
# llvm-lib 16 takes no /def:, so llvm-dlltool makes the same kind of library.
llvm-dlltool-16 -m i386:x86-64 -d "$lib_def" -l ScriptHookRDR2.lib || fail "cannot make an import library of $lib_def"
link=(lld-link-16 -nologo -nodefaultlib -entry:probeEntry -subsystem:console probe.obj ScriptHookRDR2.lib)
"${link[@]}" -out:unbound.exe >unbound.log 2>&1 &&
  fail "linked without the options that bind the plain names: the import library binds them itself"
grep -q "undefined symbol: scriptRegister" unbound.log || fail "the unbound link failed otherwise: $(cat unbound.log)"
"${link[@]}" -out:probe.exe "@$alternate_names" || fail "lld-link cannot bind the plain names"

imports=$(llvm-readobj-16 --coff-imports probe.exe) || fail "cannot read probe.exe"
dlls=$(sed -n 's/^ *Name: //p' <<<"$imports")
[ "$dlls" = "ScriptHookRDR2.dll" ] || fail "imports from $(tr '\n' ' ' <<<"$dlls"), not from ScriptHookRDR2.dll alone"
expected=$(awk '!/^#/ && NF == 2 { print $2 }' "$import_list" | sort)
actual=$(sed -n 's/^ *Symbol: \(.*\) ([0-9]*)$/\1/p' <<<"$imports" | sort)
[ "$(wc -l <<<"$expected")" -eq 8 ] || fail "$import_list does not name eight functions"
[ "$actual" = "$expected" ] || fail "imports differ from the list:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"
echo "bound by Microsoft's rules: the eight plain names import $(tr '\n' ' ' <<<"$actual")"
