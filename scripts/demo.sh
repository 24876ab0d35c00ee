#!/usr/bin/env bash
# Builds the driver and the virtual LCD natively and runs a demo session on
# a virtual 20x4 HD66712: a title, a wrapping line and a glyph bar graph,
# sized to the module when --columns, --rows or --chip change it.
# Its arguments are lcd_host's, a mode and its options, read from where you
# stand, so
#   scripts/demo.sh script my.lcd --columns 16 --rows 2 --chip HD44780
# runs your own session; scripts/demo.sh --help lists the modes and
# scripts/demo.sh MODE --help a mode's options. Unless --output says
# otherwise, the screen is saved as build/demo/virtual_lcd.txt and .png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --native
cmake -S "$root" --preset linux >/dev/null
cmake --build "$root/build/linux" -j "$(nproc)" --target lcd_host ppdev_port virtual-lcd-run >/dev/null
default_output="$root/build/demo/virtual_lcd"
mode=()
if (($# == 0)); then
  mode=(demo)
elif [[ $1 != -* ]]; then
  mode=("$1")
  shift
fi
# The modes that save screens save them under build/demo; those that reach
# a real port find the port library the driver would: this build's, for
# ppdev, on the library path. The mode is also read from an earlier
# version's flags, which lcd_host still takes.
output=(--output "$default_output")
for argument in "${mode[@]}" "$@"; do
  case "$argument" in
    --output | --output=* | check-port | real-port | run | --check-port | --write-real-port) output=() ;;
  esac
  case "$argument" in
    check-port | real-port | wiring-walk | --check-port | --write-real-port | --wiring-walk)
      export LD_LIBRARY_PATH="$root/build/linux/bin/parport${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
      ;;
    -h | --help)
      echo "scripts/demo.sh: runs lcd_host; unless --output says otherwise, the screen is saved"
      echo "as $default_output.txt and .png."
      echo
      output=()
      ;;
  esac
done
((${#output[@]})) && mkdir -p "$root/build/demo"
exec "$root/build/linux/bin/lcd_host" "${mode[@]}" "$@" "${output[@]}"
