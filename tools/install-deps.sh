#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, skipping what
# is already there. Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-tidy cppcheck shellcheck pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev libinih-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
  clang-16 lld-16 llvm-16
  wine wine64 zip
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# Recommended packages too: wine has only been tried here with them.
$sudo apt-get install -y -qq "${missing[@]}" >/dev/null
