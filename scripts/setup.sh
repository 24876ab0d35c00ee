#!/usr/bin/env bash
# Installs what building and testing every lane needs, from Debian's
# packages, when it is not already there. Safe to run again.
#   scripts/setup.sh           everything the test command needs
#   scripts/setup.sh --native  only what the native build needs (the demo)
set -euo pipefail

native=(cmake g++ make libstb-dev libcli11-dev dpkg-dev)
packages=("${native[@]}"
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64
  clang libclang-rt-14-dev valgrind
  xvfb x11-utils x11-apps imagemagick shellcheck lcd4linux tmux
  lintian
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
    # A mirror caught mid-sync fails one index (seen: bookworm-security's
    # i386 list) while the packages needed are still listed elsewhere, so
    # a failed update is said and the install goes on: it fails by name if
    # a package really cannot be had.
    $sudo apt-get update -qq ||
      echo "setup.sh: apt-get update could not read every package list; installing from those it read" >&2
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
# A mirror that lacks a matching 32-bit package leaves the lane to the
# emulated machine, as on a kernel without 32-bit support.
if install libc6:i386 && /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  if install wine32:i386; then
    runs_32_bit=1
  else
    echo "setup.sh: 32-bit Wine could not be installed here; the 32-bit lane's tests will run in the emulated machine" >&2
  fi
fi
# The emulated machine also serves the real-kernel lane, which runs
# everywhere unless HD66712_KERNEL_LANE=0.
if [ "${HD66712_KERNEL_LANE:-1}" != 0 ] || [ "${HD66712_WIN32_IN_VM:-}" = 1 ] ||
  { [ -z "${HD66712_WIN32_IN_VM:-}" ] && [ -z "${runs_32_bit:-}" ]; }; then
  install qemu-system-x86 debootstrap
fi
