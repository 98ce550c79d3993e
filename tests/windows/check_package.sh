#!/usr/bin/env bash
# Makes the release package from the Windows build into a scratch directory
# and checks it: the release files with their SHA256SUMS, a zip named with the
# version that holds exactly those, byte for byte, in a fixed order with fixed
# dates, permissions and no extra fields; each program stripped, with its
# debug information in symbols/ beside the release and named by its debug
# link with that file's CRC; and a DEST holding a foreign file is refused with
# that file untouched.
# Usage: check_package.sh SOURCE_DIR BUILD_DIR VERSION
set -u
source_dir=$1 build=$2 version=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export SOURCE_DATE_EPOCH=1700000000 # 2023-11-14 22:13:20 UTC

zip=$(bash "$source_dir/tools/package.sh" "$build" "$scratch/dist") || fail "packaging failed"
[ "$zip" = "$scratch/dist/Sashcaster-$version.zip" ] || fail "zip is $zip"

released=$(find "$scratch/dist" -mindepth 1 -not -path '*/symbols*' -printf '%P\n' |
  grep -vx "Sashcaster-$version.zip" | LC_ALL=C sort)
for file in README.txt Sashcaster.asi Sashcaster-check.exe Sashcaster-keys.exe Sashcaster.ini SHA256SUMS; do
  grep -qx "$file" <<<"$released" || fail "$file is not in the release"
done
listing=$(zipinfo -1 "$zip")
# Fixed order: the files sorted byte-wise, then their checksums.
[ "$listing" = "$(grep -vx SHA256SUMS <<<"$released"; echo SHA256SUMS)" ] ||
  fail "the zip holds, in this order:"$'\n'"$listing"

mkdir "$scratch/unpacked"
(cd "$scratch/unpacked" && unzip -q "$zip") || fail "cannot unpack"
for file in $released; do
  cmp -s "$scratch/unpacked/$file" "$scratch/dist/$file" || fail "$file differs in the zip"
done
cmp -s "$scratch/dist/README.txt" "$source_dir/package/README.txt" || fail "README.txt is not package/README.txt"
# The player's notes read alike in Notepad and in a console: printable ASCII,
# under 80 columns.
for file in README.txt Sashcaster.ini; do
  wide=$(awk 'length > 79 { print FNR }' "$scratch/dist/$file" | tr '\n' ' ')
  [ -z "$wide" ] || fail "$file has lines of 80 columns or more: $wide"
  if LC_ALL=C grep -q '[^[:print:]]' "$scratch/dist/$file"; then
    fail "$file holds bytes that are not printable ASCII"
  fi
done
(cd "$scratch/unpacked" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
[ "$(wc -l <"$scratch/dist/SHA256SUMS")" -eq "$(($(wc -l <<<"$released") - 1))" ] ||
  fail "SHA256SUMS does not list every release file"

# Each program stripped and tied to its debug file: the link's name, then the
# file's CRC-32, which is also the one a gzip stream of it ends with.
objcopy=$(sed -n 's/^CMAKE_OBJCOPY:FILEPATH=//p' "$build/CMakeCache.txt")
objdump=${objcopy%objcopy}objdump
mapfile -t programs < <(grep -E '\.(asi|exe)$' <<<"$released")
[ "$(find "$scratch/dist/symbols" -type f -printf '%P\n' | LC_ALL=C sort)" = "$(printf '%s.debug\n' "${programs[@]}")" ] ||
  fail "symbols/ holds $(ls "$scratch/dist/symbols"), not one debug file per program"
for program in "${programs[@]}"; do
  debug=$scratch/dist/symbols/$program.debug
  ! "$objdump" -h "$scratch/dist/$program" | grep -q '\.debug_' || fail "$program is not stripped"
  "$objdump" -h "$debug" | grep -q '\.debug_info' || fail "$program.debug holds no debug information"
  "$objcopy" --dump-section .gnu_debuglink="$scratch/link" "$scratch/dist/$program" "$scratch/copy" ||
    fail "$program has no debug link"
  [ "$(head -c "$((${#program} + 7))" "$scratch/link" | tr '\0' '|')" = "$program.debug|" ] ||
    fail "$program's debug link names $(tr '\0' ' ' <"$scratch/link")"
  [ "$(tail -c 4 "$scratch/link" | od -An -tx1)" = "$(gzip -c "$debug" | tail -c 8 | head -c 4 | od -An -tx1)" ] ||
    fail "$program's debug link does not carry the CRC of $program.debug"
done

# The released plug-in, stripped, holds to the same imports as the built one.
verdict=$(bash "$source_dir/tests/windows/check_plugin_binary.sh" "$scratch/dist/Sashcaster.asi" \
  "$version" "$objdump" "${objdump%objdump}strings" "$scratch/dist/symbols/Sashcaster.asi.debug") ||
  fail "the released plug-in: $verdict"

# Each entry: -rw-r--r--, dated the epoch in UTC, and no extra field at all.
details=$(zipinfo -v "$zip")
entries=$(wc -l <<<"$listing")
[ "$(grep -c 'file last modified on (DOS date/time):  *2023 Nov 14 22:13:20$' <<<"$details")" -eq "$entries" ] ||
  fail "entries not all dated 2023 Nov 14 22:13:20:"$'\n'"$(grep 'DOS date/time' <<<"$details")"
[ "$(grep -c 'Unix file attributes (100644 octal):' <<<"$details")" -eq "$entries" ] ||
  fail "entries' permissions are not all 0644"
[ "$(grep -c 'length of extra field:  *0 bytes$' <<<"$details")" -eq "$entries" ] ||
  fail "entries carry extra fields"

# A folder holding something else (here standing for a game folder) is refused
# and left exactly as it was.
mkdir "$scratch/game"
echo "the player's own" >"$scratch/game/RDR2.exe"
bash "$source_dir/tools/package.sh" "$build" "$scratch/game" >/dev/null 2>"$scratch/refusal" &&
  fail "packaged into a folder holding a foreign file"
grep -q "RDR2.exe" "$scratch/refusal" || fail "the refusal does not name the foreign file: $(cat "$scratch/refusal")"
if [ "$(ls "$scratch/game")" != RDR2.exe ] || [ "$(cat "$scratch/game/RDR2.exe")" != "the player's own" ]; then
  fail "the foreign folder was changed: $(ls "$scratch/game")"
fi
# A release folder made before is its own: packaging again replaces its files.
bash "$source_dir/tools/package.sh" "$build" "$scratch/dist" >/dev/null || fail "cannot package over a release"
echo "Sashcaster-$version.zip: $(tr '\n' ' ' <<<"$released")"
