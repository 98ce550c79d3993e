#!/usr/bin/env bash
# Puts the release into DEST: Sashcaster.asi, Sashcaster.ini and README.txt
# from the Windows build's install, and a zip of the three named with the
# project's version.
# Usage: tools/package.sh BUILD_DIR DEST
set -euo pipefail
build=$1 dest=$2

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "package: no project version in $build/CMakeCache.txt" >&2; exit 1; }

rm -rf "$dest"
cmake --install "$build" --prefix "$dest" >/dev/null

files=(Sashcaster.asi Sashcaster.ini README.txt)
for file in "${files[@]}"; do
  [ -f "$dest/$file" ] || { echo "package: $file was not installed into $dest" >&2; exit 1; }
done
(cd "$dest" && cmake -E tar cf "Sashcaster-$version.zip" --format=zip "${files[@]}")
echo "$dest/Sashcaster-$version.zip"
