#!/usr/bin/env bash
# Installs what is missing, builds the plug-in and the Linux tools, and puts
# the release files into dist/: the full zip and the update zip (without
# Sashcaster.ini), each with its .sha256 beside it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset native >/dev/null
cmake --build --preset native

# A failure stops the script here; a process substitution's would not.
listing=$(bash tools/package.sh build/windows dist)
mapfile -t zips <<<"$listing"
echo "Built: ${zips[0]} (the full release) and ${zips[1]} (all of it but"
echo "Sashcaster.ini, for upgrades), each with its checksum beside it (.sha256), and"
echo "in dist/ $(cut -d' ' -f3- dist/Sashcaster-SHA256SUMS | tr '\n' ' ')Sashcaster-SHA256SUMS"
echo "Their debug information, for crash reports (in neither zip): $(cd dist && echo symbols/*)"
echo "Sashcaster.asi's PDB, which Visual Studio and WinDbg take for it: dist/symbols/Sashcaster.pdb"

# The plug-in at work without the game: the built-in scenario played on
# dist/Sashcaster.asi under the stand-in script hook, in wine.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${WINEPREFIX:-$PWD/build/wine-prefix}
[ -d "$WINEPREFIX" ] || wineboot --init >/dev/null 2>&1
echo
echo "dist/Sashcaster.asi with dist/Sashcaster.ini under a stand-in script hook (wine),"
echo "playing the built-in scenario:"
wine build/windows/wine/sashcaster-wine.exe --plugin "Z:$PWD/dist/Sashcaster.asi" \
  --ini "Z:$PWD/dist/Sashcaster.ini"
echo
echo "Your own settings file in a scenario of yours: build/native/harness/sim/sashcaster-sim --ini FILE SCENARIO"
