#!/usr/bin/env bash
# Builds the driver and the virtual LCD natively and runs a demo session on
# a virtual 20x4 HD66712: a title, a wrapping line and a glyph bar graph,
# sized to the module when --columns, --rows or --chip change it.
# Arguments go to lcd_host and are read from where you stand, so
#   scripts/demo.sh --script my.lcd --columns 16 --rows 2 --chip HD44780
# runs your own session; scripts/demo.sh --help lists every option, its
# default and the script syntax. Unless --output says otherwise, the screen
# is saved as build/demo/virtual_lcd.txt and .png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --native
cmake -S "$root" --preset linux >/dev/null
cmake --build "$root/build/linux" -j "$(nproc)" --target lcd_host ppdev_port virtual-lcd-run >/dev/null
default_output="$root/build/demo/virtual_lcd"
output=(--output "$default_output")
for argument in "$@"; do
  case "$argument" in
    --output | --output=*) output=() ;;
    # The modes that reach a real port take no --output, and find the port
    # library the driver would: this build's, for ppdev, on the library path.
    --write-real-port | --check-port | --wiring-walk)
      [ "$argument" = --wiring-walk ] || output=()
      export LD_LIBRARY_PATH="$root/build/linux/bin/parport${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
      ;;
    -h | --help)
      echo "scripts/demo.sh: runs lcd_host; unless --output says otherwise, the screen is saved"
      echo "as $default_output.txt and .png. lcd_host's options:"
      echo
      output=()
      ;;
  esac
done
((${#output[@]})) && mkdir -p "$root/build/demo"
exec "$root/build/linux/bin/lcd_host" "${output[@]}" "$@"
