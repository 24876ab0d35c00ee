#!/usr/bin/env bash
# Builds the driver and the virtual LCD natively and runs the demo session:
# a 20x4 HD66712 showing a title, a wrapping line and a glyph bar graph.
# Extra arguments go to lcd_host (for example --script FILE, --chip HD44780).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target lcd_host >/dev/null
mkdir -p build/demo
cd build/demo
../linux/bin/lcd_host "$@"
echo "PNG: $(pwd)/virtual_lcd.png"
