#!/usr/bin/env bash
# Puts the release into DEST: every file the Windows build installs
# (Sashcaster.asi, Sashcaster.ini, Sashcaster-README.txt and the tools beside
# them), Sashcaster-SHA256SUMS of those files, and two zips named with the project's version:
# Sashcaster-VERSION.zip of them all, and Sashcaster-VERSION-update.zip of all
# but Sashcaster.ini, which a player extracts over the game's folder without
# losing their keys. Each zip's checksum is outside it, in NAME.zip.sha256
# beside it (sha256sum's format), so that a player who downloads one archive
# can check it alone. A program linked with a PDB (NAME.pdb installed beside
# NAME.asi) is released as built, its PDB in DEST/symbols/NAME.pdb, which the
# program names; any other program (every .asi and .exe) is released
# stripped, and its debug information goes into DEST/symbols/NAME.debug, tied
# to it by a debug link (the file's name and CRC); the symbols are in neither
# zip nor in Sashcaster-SHA256SUMS.
#
# The same commit gives the same bytes wherever it is built: the zips' entries
# come in a fixed order, all dated SOURCE_DATE_EPOCH (by default the commit's
# time), with fixed permissions and no extra fields.
#
# DEST is never emptied. It may be new, or hold only files of a release
# (these names, their symbols, or an older release's zips and their .sha256
# files, which stay); anything else in it, a game folder for instance, makes
# the script stop before it writes.
# Prints the two zips' paths, the full one first.
# Usage: tools/package.sh BUILD_DIR DEST
set -euo pipefail
build=$1 dest=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "package: no project version in $build/CMakeCache.txt" >&2; exit 1; }
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null || true)}
[[ $epoch =~ ^[0-9]+$ ]] || {
  echo "package: no commit to date the release by: set SOURCE_DATE_EPOCH (seconds since 1970)" >&2
  exit 1
}
zip_name=Sashcaster-$version.zip
update_name=Sashcaster-$version-update.zip
# The player's keys: the one file an upgrade must leave in place.
settings_file=Sashcaster.ini
# Every name in the game's folder starts with Sashcaster: no other mod's file
# of the same name is overwritten.
sums=Sashcaster-SHA256SUMS
objcopy=$(sed -n 's/^CMAKE_OBJCOPY:FILEPATH=//p' "$build/CMakeCache.txt")
objcopy=${objcopy:-x86_64-w64-mingw32-objcopy}
objdump=${objcopy%objcopy}objdump

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage/files" >/dev/null
mkdir "$stage/symbols"
mapfile -t pdbs < <(cd "$stage/files" && find . -type f -name '*.pdb' | sed 's|^\./||' | LC_ALL=C sort)
for pdb in "${pdbs[@]}"; do
  mv "$stage/files/$pdb" "$stage/symbols/$(basename "$pdb")"
  chmod 0644 "$stage/symbols/$(basename "$pdb")"
done
mapfile -t files < <(cd "$stage/files" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
for file in Sashcaster.asi "$settings_file" Sashcaster-check.exe Sashcaster-keys.exe Sashcaster-README.txt; do
  [ -f "$stage/files/$file" ] || { echo "package: $file was not installed" >&2; exit 1; }
done
# The debug file of a program: its PDB, if it was linked with one.
symbols_of() {
  local pdb
  pdb=symbols/$(basename "${1%.*}").pdb
  if [ -f "$stage/$pdb" ]; then echo "$pdb"; else echo "symbols/$(basename "$1").debug"; fi
}
symbols=()
for file in "${files[@]}"; do
  case $file in *.asi | *.exe) symbols+=("$(symbols_of "$file")") ;; esac
done

# Refuse a DEST with files of its own before anything is written.
if [ -e "$dest" ]; then
  [ -d "$dest" ] || { echo "package: $dest is not a folder" >&2; exit 1; }
  foreign=$(find "$dest" -mindepth 1 -printf '%P\n' | LC_ALL=C sort |
    grep -vxF -e "$sums" -e symbols "${files[@]/#/-e}" "${symbols[@]/#/-e}" |
    grep -vxE 'Sashcaster-[0-9]+\.[0-9]+\.[0-9]+(-update)?\.zip(\.sha256)?' || true)
  if [ -n "$foreign" ]; then
    echo "package: $dest holds files that are not the release's, so nothing was written:" >&2
    printf '%s\n' "$foreign" | sed 's/^/  /' >&2
    echo "Package into a new or empty folder (dist/ for instance)." >&2
    exit 1
  fi
fi

# Each program's debug information into a file of its own, then the program
# stripped and linked to that file. objcopy stamps the PE files it writes with
# SOURCE_DATE_EPOCH, else the time of day: 0 keeps the linker's "no stamp".
for file in "${files[@]}"; do
  case $file in *.asi | *.exe) ;; *) continue ;; esac
  [[ $(symbols_of "$file") != *.pdb ]] || continue
  debug=$stage/symbols/$(basename "$file").debug
  if ! SOURCE_DATE_EPOCH=0 "$objcopy" --only-keep-debug "$stage/files/$file" "$debug" ||
    ! "$objdump" -h "$debug" 2>/dev/null | grep -q '\.debug_info'; then
    echo "package: $file carries no debug information: build it with -g and without -s" >&2
    exit 1
  fi
  (cd "$stage/symbols" && SOURCE_DATE_EPOCH=0 "$objcopy" --strip-all --add-gnu-debuglink="$(basename "$debug")" \
    "$stage/files/$file")
  chmod 0644 "$debug"
done

(
  cd "$stage/files"
  sha256sum "${files[@]}" >"$sums"
  chmod 0644 "${files[@]}" "$sums"
  touch -d "@$epoch" "${files[@]}" "$sums"
  # zip writes local time as the entries' date: UTC makes it the epoch's.
  TZ=UTC zip -q -X -D "$stage/$zip_name" "${files[@]}" "$sums"
  mapfile -t updated < <(printf '%s\n' "${files[@]}" | grep -vxF "$settings_file")
  TZ=UTC zip -q -X -D "$stage/$update_name" "${updated[@]}" "$sums"
)
(
  cd "$stage"
  for archive in "$zip_name" "$update_name"; do
    sha256sum "$archive" >"$archive.sha256"
    chmod 0644 "$archive" "$archive.sha256"
  done
)

mkdir -p "$dest"
for file in "${files[@]}" "$sums"; do
  mkdir -p "$dest/$(dirname "$file")"
  cp -f "$stage/files/$file" "$dest/$file"
done
for archive in "$zip_name" "$update_name"; do
  cp -f "$stage/$archive" "$stage/$archive.sha256" "$dest/"
done
mkdir -p "$dest/symbols"
for file in "${symbols[@]}"; do
  cp -f "$stage/$file" "$dest/$file"
done
printf '%s\n' "$dest/$zip_name" "$dest/$update_name"
