#!/usr/bin/env bash
# Configures, builds and tests every lane: native Linux (then again under
# valgrind), Linux with ASan and UBSan, the libFuzzer targets for a bounded
# time, 64-bit Windows under Wine, and the shipped 32-bit Windows DLL with
# its release zip. Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

export WINEDEBUG=-all
lanes=(linux linux-asan fuzz win64 win32)
for lane in "${lanes[@]}"; do
  echo "=== $lane ==="
  cmake --preset "$lane" >/dev/null
  cmake --build --preset "$lane" -j "$(nproc)"
  ctest --preset "$lane"
  if [ "$lane" = linux ]; then
    echo "=== linux under valgrind ==="
    ctest --test-dir build/linux -T memcheck -j 4 --timeout 900 --output-on-failure
  fi
done
echo "All lanes passed: ${lanes[*]}, and valgrind"
