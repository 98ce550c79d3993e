#!/usr/bin/env bash
# Puts the release into DEST: every file the Windows build installs
# (Sashcaster.asi, Sashcaster.ini, README.txt and the tools beside them),
# SHA256SUMS of those files, and a zip of them all named with the project's
# version.
#
# The same commit gives the same bytes wherever it is built: the zip's entries
# come in a fixed order, all dated SOURCE_DATE_EPOCH (by default the commit's
# time), with fixed permissions and no extra fields.
#
# DEST is never emptied. It may be new, or hold only files of a release
# (these names, or an older Sashcaster-*.zip, which stays); anything else in
# it, a game folder for instance, makes the script stop before it writes.
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

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cmake --install "$build" --prefix "$stage/files" >/dev/null
mapfile -t files < <(cd "$stage/files" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
for file in Sashcaster.asi Sashcaster.ini Sashcaster-check.exe Sashcaster-keys.exe README.txt; do
  [ -f "$stage/files/$file" ] || { echo "package: $file was not installed" >&2; exit 1; }
done

# Refuse a DEST with files of its own before anything is written.
if [ -e "$dest" ]; then
  [ -d "$dest" ] || { echo "package: $dest is not a folder" >&2; exit 1; }
  foreign=$(find "$dest" -mindepth 1 -printf '%P\n' | LC_ALL=C sort |
    grep -vxF -e SHA256SUMS -e "$zip_name" "${files[@]/#/-e}" |
    grep -vxE 'Sashcaster-[0-9]+\.[0-9]+\.[0-9]+\.zip' || true)
  if [ -n "$foreign" ]; then
    echo "package: $dest holds files that are not the release's, so nothing was written:" >&2
    printf '%s\n' "$foreign" | sed 's/^/  /' >&2
    echo "Package into a new or empty folder (dist/ for instance)." >&2
    exit 1
  fi
fi

(
  cd "$stage/files"
  sha256sum "${files[@]}" >SHA256SUMS
  chmod 0644 "${files[@]}" SHA256SUMS
  touch -d "@$epoch" "${files[@]}" SHA256SUMS
  # zip writes local time as the entries' date: UTC makes it the epoch's.
  TZ=UTC zip -q -X -D "$stage/$zip_name" "${files[@]}" SHA256SUMS
)

mkdir -p "$dest"
for file in "${files[@]}" SHA256SUMS; do
  mkdir -p "$dest/$(dirname "$file")"
  cp -f "$stage/files/$file" "$dest/$file"
done
cp -f "$stage/$zip_name" "$dest/$zip_name"
echo "$dest/$zip_name"
