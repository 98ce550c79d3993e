#!/usr/bin/env bash
# Makes the release package from the Windows build into a scratch directory
# and checks it: the release files with their Sashcaster-SHA256SUMS, every
# one named Sashcaster-something so that no other mod's file is overwritten; a
# zip named with the
# version that holds exactly those, byte for byte, and an update zip that
# holds all of them but Sashcaster.ini, both in a fixed order with fixed
# dates, permissions and no extra fields, each with its checksum outside it in
# NAME.sha256; the player's notes with CR LF line ends; the update extracted
# over a game folder with keys set leaves Sashcaster.ini byte for byte as it
# was and replaces every other file; each program stripped, with its debug
# information in symbols/ beside the release: the PDB that matches it, or a
# file named by its debug link with that file's CRC; and a DEST holding a foreign file is refused with that file
# untouched, while an older release's files in it stay.
# Usage: check_package.sh SOURCE_DIR BUILD_DIR VERSION
set -u
source_dir=$1 build=$2 version=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export SOURCE_DATE_EPOCH=1700000000 # 2023-11-14 22:13:20 UTC

zip_name=Sashcaster-$version.zip update_name=Sashcaster-$version-update.zip
zips=$(bash "$source_dir/tools/package.sh" "$build" "$scratch/dist") || fail "packaging failed"
[ "$zips" = "$scratch/dist/$zip_name"$'\n'"$scratch/dist/$update_name" ] || fail "the zips are $zips"
zip=$scratch/dist/$zip_name update=$scratch/dist/$update_name

released=$(find "$scratch/dist" -mindepth 1 -not -path '*/symbols*' -printf '%P\n' |
  grep -vxF -e "$zip_name" -e "$update_name" -e "$zip_name.sha256" -e "$update_name.sha256" |
  LC_ALL=C sort)
sums=Sashcaster-SHA256SUMS
for file in Sashcaster-README.txt Sashcaster.asi Sashcaster-check.exe Sashcaster-keys.exe Sashcaster.ini $sums; do
  grep -qx "$file" <<<"$released" || fail "$file is not in the release"
done
unowned=$(grep -v '^Sashcaster[-.]' <<<"$released" | tr '\n' ' ')
[ -z "$unowned" ] || fail "the release puts files into the game's folder whose names do not start with Sashcaster: $unowned"
# Fixed order: the files sorted byte-wise, then their checksums; the update
# the same without Sashcaster.ini.
full_order=$(grep -vx $sums <<<"$released"; echo $sums)
listing=$(zipinfo -1 "$zip")
[ "$listing" = "$full_order" ] || fail "the zip holds, in this order:"$'\n'"$listing"
update_listing=$(zipinfo -1 "$update")
[ "$update_listing" = "$(grep -vx Sashcaster.ini <<<"$full_order")" ] ||
  fail "the update zip holds, in this order:"$'\n'"$update_listing"

# Each zip's checksum is beside it, naming it alone, and matches it.
for archive in "$zip_name" "$update_name"; do
  [ "$(cut -d' ' -f3- "$scratch/dist/$archive.sha256")" = "$archive" ] ||
    fail "$archive.sha256 holds: $(cat "$scratch/dist/$archive.sha256")"
  (cd "$scratch/dist" && sha256sum --quiet -c "$archive.sha256") || fail "$archive.sha256 does not match $archive"
done

mkdir "$scratch/unpacked"
(cd "$scratch/unpacked" && unzip -q "$zip") || fail "cannot unpack"
for file in $released; do
  cmp -s "$scratch/unpacked/$file" "$scratch/dist/$file" || fail "$file differs in the zip"
done
for file in Sashcaster-README.txt Sashcaster.ini; do
  cmp -s "$scratch/dist/$file" "$source_dir/package/$file" || fail "$file is not package/$file"
done
# The player's notes read alike in Notepad and in a console: every line ends
# in CR LF, under 80 columns. The settings file holds printable ASCII only; the
# notes, which greet players in their own languages, are UTF-8 with a
# byte-order mark, so that every Notepad reads them as such.
for file in Sashcaster-README.txt Sashcaster.ini; do
  notes=$scratch/dist/$file
  lines=$(wc -l <"$notes")
  if [ "$(grep -c $'\r$' "$notes")" -ne "$lines" ] || [ "$(tr -cd '\r' <"$notes" | wc -c)" -ne "$lines" ] ||
    [ "$(tail -c 1 "$notes" | od -An -tx1)" != " 0a" ]; then
    fail "$file has a line that does not end in CR LF, or a CR inside a line"
  fi
  if [ "$file" = Sashcaster.ini ]; then
    text=$(tr -d '\r' <"$notes")
    LC_ALL=C grep -q '[^[:print:]]' <<<"$text" && fail "$file holds bytes that are not printable ASCII"
  else
    [ "$(head -c 3 "$notes" | od -An -tx1)" = " ef bb bf" ] || fail "$file does not start with UTF-8's byte-order mark"
    iconv -f UTF-8 -t UTF-8 "$notes" >/dev/null 2>&1 || fail "$file is not UTF-8"
    text=$(tr -d '\r' <"$notes" | tail -c +4)
    LC_ALL=C.UTF-8 grep -q '[^[:print:]]' <<<"$text" && fail "$file holds characters that are not printable"
  fi
  # wc -L counts a wide character's two columns.
  widest=$(LC_ALL=C.UTF-8 wc -L <<<"$text")
  [ "$widest" -lt 80 ] || fail "$file has lines of $widest columns"
done
(cd "$scratch/unpacked" && sha256sum --quiet -c $sums) || fail "$sums does not match the files"
[ "$(wc -l <"$scratch/dist/$sums")" -eq "$(($(wc -l <<<"$released") - 1))" ] ||
  fail "$sums does not list every release file"

# An upgrade: the update extracted over a game folder of an older release
# with keys set, replacing every file, leaves the keys and replaces the rest.
mkdir "$scratch/upgraded"
(cd "$scratch/upgraded" && unzip -q "$zip") || fail "cannot unpack into the game folder"
printf '; mine\r\n[Sashcaster]\r\niXKey=90\r\niWindowThrowLeft=81\r\n' >"$scratch/upgraded/Sashcaster.ini"
cp "$scratch/upgraded/Sashcaster.ini" "$scratch/keys"
echo "an older plug-in" >"$scratch/upgraded/Sashcaster.asi"
(cd "$scratch/upgraded" && unzip -q -o "$update") || fail "cannot extract the update"
cmp -s "$scratch/upgraded/Sashcaster.ini" "$scratch/keys" || fail "the update changed the player's Sashcaster.ini"
while read -r file; do
  cmp -s "$scratch/upgraded/$file" "$scratch/dist/$file" || fail "the update did not bring $file"
done < <(grep -vx Sashcaster.ini <<<"$released")

# Each program stripped and tied to its debug file: the link's name, then the
# file's CRC-32, which is also the one a gzip stream of it ends with.
objcopy=$(sed -n 's/^CMAKE_OBJCOPY:FILEPATH=//p' "$build/CMakeCache.txt")
objdump=${objcopy%objcopy}objdump
mapfile -t programs < <(grep -E '\.(asi|exe)$' <<<"$released")
# A program's debug file: its PDB where the release holds one, else NAME.debug.
symbols_of() {
  [ -f "$scratch/dist/symbols/${1%.*}.pdb" ] && echo "${1%.*}.pdb" || echo "$1.debug"
}
[ "$(find "$scratch/dist/symbols" -type f -printf '%P\n' | LC_ALL=C sort)" = \
  "$(for program in "${programs[@]}"; do symbols_of "$program"; done | LC_ALL=C sort)" ] ||
  fail "symbols/ holds $(ls "$scratch/dist/symbols"), not one debug file per program"
for program in "${programs[@]}"; do
  debug=$scratch/dist/symbols/$(symbols_of "$program")
  ! "$objdump" -h "$scratch/dist/$program" | grep -q '\.debug_' || fail "$program is not stripped"
  if [[ $debug == *.pdb ]]; then
    verdict=$(bash "$source_dir/tests/windows/check_plugin_pdb.sh" "$scratch/dist/$program" "$debug") ||
      fail "$program's PDB: $verdict"
    continue
  fi
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
  "$version" "$objdump" "${objdump%objdump}strings" "$scratch/dist/symbols/$(symbols_of Sashcaster.asi)") ||
  fail "the released plug-in: $verdict"

# Each entry of both zips: -rw-r--r--, dated the epoch in UTC, and no extra
# field at all.
for archive in "$zip" "$update"; do
  details=$(zipinfo -v "$archive")
  entries=$(zipinfo -1 "$archive" | wc -l)
  [ "$(grep -c 'file last modified on (DOS date/time):  *2023 Nov 14 22:13:20$' <<<"$details")" -eq "$entries" ] ||
    fail "${archive##*/}: entries not all dated 2023 Nov 14 22:13:20:"$'\n'"$(grep 'DOS date/time' <<<"$details")"
  [ "$(grep -c 'Unix file attributes (100644 octal):' <<<"$details")" -eq "$entries" ] ||
    fail "${archive##*/}: entries' permissions are not all 0644"
  [ "$(grep -c 'length of extra field:  *0 bytes$' <<<"$details")" -eq "$entries" ] ||
    fail "${archive##*/}: entries carry extra fields"
done

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
# A release folder made before is its own: packaging again replaces its files
# and leaves an older release's zips and checksums.
older=(Sashcaster-0.9.0.zip Sashcaster-0.9.0.zip.sha256 Sashcaster-0.9.0-update.zip Sashcaster-0.9.0-update.zip.sha256)
for file in "${older[@]}"; do echo "older $file" >"$scratch/dist/$file"; done
bash "$source_dir/tools/package.sh" "$build" "$scratch/dist" >/dev/null || fail "cannot package over a release"
for file in "${older[@]}"; do
  [ "$(cat "$scratch/dist/$file")" = "older $file" ] || fail "packaging again changed $file"
done
echo "$zip_name: $(tr '\n' ' ' <<<"$listing")"
echo "$update_name: $(tr '\n' ' ' <<<"$update_listing")"
