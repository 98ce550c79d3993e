#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, skipping what
# is already there. Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-tidy cppcheck shellcheck pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev libinih-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64
  clang-16 lld-16 llvm-16
  wine wine64 zip locales
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  # Recommended packages too: wine has only been tried here with them.
  $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The locales the players' programs are tested in under wine, which takes
# Windows' display language from the Unix locale: glibc must have them built.
wanted_locales=(de_DE ja_JP pt_BR ru_RU sv_SE)
built=$(locale -a 2>/dev/null)
generate=()
for name in "${wanted_locales[@]}"; do
  grep -qx "$name.utf8" <<<"$built" || generate+=("$name")
done
if [ ${#generate[@]} -gt 0 ]; then
  echo "Generating locales: ${generate[*]}"
  for name in "${generate[@]}"; do
    grep -qx "$name.UTF-8 UTF-8" /etc/locale.gen ||
      echo "$name.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
  done
  $sudo locale-gen >/dev/null
fi
