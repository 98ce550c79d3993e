#!/usr/bin/env bash
# Builds the Windows release a second time, in a build folder whose path has
# another length, packages both builds and requires every release file, both
# zips with their .sha256 files and the programs' debug files (symbols/: the
# plug-in's PDB, which must match it, and the tools' .debug files) to be
# identical byte for byte, naming no build folder. Only the release's targets are built (no tests),
# and without a compiler cache, so the second build is a real one.
# Usage: check_reproducible.sh SOURCE_DIR BUILD_DIR
set -u
source_dir=$1 first=$2
second=$first/reproduced/in-a-folder-whose-path-is-longer
scratch=$(mktemp -d)
trap 'rm -rf "$scratch" "$first/reproduced"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER

cd "$source_dir" || fail "no source folder $source_dir"
if ! { cmake --preset windows -B "$second" -DSASHCASTER_BUILD_TESTS=OFF >"$scratch/build.log" 2>&1 &&
  cmake --build "$second" --target plugin sashcaster_check_program sashcaster_keys_program \
    >>"$scratch/build.log" 2>&1; }; then
  cat "$scratch/build.log"
  fail "the second build failed"
fi
epoch=$(git log -1 --format=%ct 2>/dev/null || echo 1700000000)
SOURCE_DATE_EPOCH=$epoch bash tools/package.sh "$first" "$scratch/first" >/dev/null || fail "cannot package $first"
SOURCE_DATE_EPOCH=$epoch bash tools/package.sh "$second" "$scratch/second" >/dev/null || fail "cannot package $second"

list() { (cd "$1" && find . -type f -printf '%P\n' | LC_ALL=C sort); }
files=$(list "$scratch/first")
[ "$files" = "$(list "$scratch/second")" ] || fail "the two releases hold different files"
grep -qx 'symbols/Sashcaster.pdb' <<<"$files" || fail "no PDB of the plug-in"
verdict=$(bash "$source_dir/tests/windows/check_plugin_pdb.sh" "$scratch/second/Sashcaster.asi" \
  "$scratch/second/symbols/Sashcaster.pdb") || fail "the second build's plug-in and PDB: $verdict"
for archive in 'Sashcaster-[0-9.]*[0-9]\.zip' 'Sashcaster-[0-9.]*-update\.zip'; do
  if ! grep -qx "$archive" <<<"$files" || ! grep -qx "$archive\.sha256" <<<"$files"; then
    fail "no archive $archive with its .sha256 in: $(tr '\n' ' ' <<<"$files")"
  fi
done
differing=0
for file in $files; do
  if ! cmp "$scratch/first/$file" "$scratch/second/$file"; then
    differing=$((differing + 1))
  fi
done
for file in $files; do
  case $file in *.asi | *.exe | *.debug | *.pdb) ;; *) continue ;; esac
  for folder in "$source_dir" "$first" "$second"; do
    if strings -a "$scratch/second/$file" | grep -qF "$folder" ||
      strings -a -el "$scratch/second/$file" | grep -qF "$folder"; then
      echo "$file names the build's folder $folder"
      differing=$((differing + 1))
    fi
  done
done
[ "$differing" -eq 0 ] || fail "$differing difference(s) between the builds in $first and $second, or build folders named"
echo "identical from two build folders: $(tr '\n' ' ' <<<"$files")"
