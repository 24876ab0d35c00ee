#!/usr/bin/env bash
# Configures, builds and tests every lane: native Linux, Linux with ASan and
# UBSan, 64-bit Windows under Wine, and the shipped 32-bit Windows DLL.
# Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

export WINEDEBUG=-all
lanes=(linux linux-asan win64 win32)
for lane in "${lanes[@]}"; do
  echo "=== $lane ==="
  cmake --preset "$lane" >/dev/null
  cmake --build --preset "$lane" -j "$(nproc)"
  ctest --preset "$lane"
done
echo "All lanes passed: ${lanes[*]}"
