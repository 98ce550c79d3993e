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

rm -rf dist
cmake --install build/windows --prefix dist >/dev/null
echo "Built: $(ls dist/* | tr '\n' ' ')"
