#!/usr/bin/env bash
# Installs what building and testing every lane needs, from Debian's
# packages, when it is not already there. Safe to run again.
#   scripts/setup.sh           everything the test command needs
#   scripts/setup.sh --native  only what the native build needs (the demo)
set -euo pipefail

native=(cmake g++ make libstb-dev libcli11-dev)
packages=("${native[@]}"
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64
  clang libclang-rt-14-dev valgrind
  xvfb x11-utils x11-apps imagemagick shellcheck lcd4linux
)
case "${1:-}" in
  --native) packages=("${native[@]}") ;;
  "") ;;
  *) echo "setup.sh: unknown option '$1' (use --native or nothing)" >&2; exit 2 ;;
esac

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
updated=no
install() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  if [ "$updated" = no ]; then
    $sudo apt-get update -qq
    updated=yes
  fi
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

install "${packages[@]}"
[ "${1:-}" = --native ] && exit 0

# The shipped DLL is 32-bit. Where the kernel runs 32-bit programs, Debian's
# 32-bit Wine runs it and its tests; elsewhere (or with HD66712_WIN32_IN_VM=1)
# they run in a small emulated machine that does, made from Debian's packages.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
  updated=no
fi
install libc6:i386
if /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  install wine32:i386
  runs_32_bit=1
fi
# The emulated machine also serves the real-kernel lane, which runs
# everywhere unless HD66712_KERNEL_LANE=0.
if [ "${HD66712_KERNEL_LANE:-1}" != 0 ] || [ "${HD66712_WIN32_IN_VM:-}" = 1 ] ||
  { [ -z "${HD66712_WIN32_IN_VM:-}" ] && [ -z "${runs_32_bit:-}" ]; }; then
  install qemu-system-x86 debootstrap
fi
