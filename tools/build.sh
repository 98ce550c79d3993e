#!/usr/bin/env bash
# Installs what is missing, builds the plug-in and the Linux tools, and puts
# the release files into dist/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset native >/dev/null
cmake --build --preset native

zip=$(bash tools/package.sh build/windows dist)
echo "Built: $zip and, beside it, $(cut -d' ' -f3- dist/SHA256SUMS | tr '\n' ' ')SHA256SUMS"
echo "Their debug information, for crash reports (not in the zip): $(cd dist && echo symbols/*)"

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
echo "Your own settings file in a scenario of yours: build/native/tools/sim/sashcaster-sim --ini FILE SCENARIO"
