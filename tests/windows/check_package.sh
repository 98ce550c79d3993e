#!/usr/bin/env bash
# Makes the release package from the Windows build into a scratch directory
# and checks it: the three files, and a zip named with the version that holds
# exactly those three, byte for byte.
# Usage: check_package.sh SOURCE_DIR BUILD_DIR VERSION
set -u
source_dir=$1 build=$2 version=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

zip=$(bash "$source_dir/tools/package.sh" "$build" "$scratch/dist") || { echo "FAIL: packaging failed"; exit 1; }
[ "$zip" = "$scratch/dist/Sashcaster-$version.zip" ] || { echo "FAIL: zip is $zip"; exit 1; }

listing=$(cd "$scratch/dist" && cmake -E tar tf "$zip" | sort)
expected=$(printf '%s\n' README.txt Sashcaster.asi Sashcaster.ini)
[ "$listing" = "$expected" ] || { echo "FAIL: the zip holds:"; echo "$listing"; exit 1; }

mkdir "$scratch/unpacked"
(cd "$scratch/unpacked" && cmake -E tar xf "$zip") || { echo "FAIL: cannot unpack"; exit 1; }
for file in $expected; do
  cmp -s "$scratch/unpacked/$file" "$scratch/dist/$file" || { echo "FAIL: $file differs in the zip"; exit 1; }
done
cmp -s "$scratch/dist/README.txt" "$source_dir/package/README.txt" || { echo "FAIL: README.txt is not package/README.txt"; exit 1; }
echo "Sashcaster-$version.zip: $(tr '\n' ' ' <<<"$expected")"
