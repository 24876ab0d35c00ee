#!/usr/bin/env bash
# Installs what building and testing every lane needs, from Debian's
# packages, when it is not already there. Safe to run again.
set -euo pipefail

packages=(
  cmake g++ make googletest libgtest-dev libbenchmark-dev libstb-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64
  clang libclang-rt-14-dev valgrind
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
