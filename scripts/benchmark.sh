#!/usr/bin/env bash
# Prints the driver's cost as ratios to the waits its protocol mandates:
# natively in-process (Google Benchmark), natively as a host loads the
# module, and for the shipped 32-bit DLL under 32-bit Wine where this
# machine runs 32-bit code. Takes about a minute: each power-up pauses 1 s.
# Extra arguments go to Google Benchmark (for example --benchmark_filter=Delay).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target driver_benchmarks hosted_benchmarks >/dev/null
echo "=== native, the driver in-process ==="
build/linux/bin/driver_benchmarks "$@"
echo "=== native, HD66712.so loaded as a host loads it ==="
(cd build/linux/bin && ./hosted_benchmarks HD66712.so null_port/inpout32.dll)

echo "=== 32-bit Windows, the shipped HD66712.dll under 32-bit Wine ==="
cmake --preset win32 >/dev/null
if ! grep -q '^HD66712_CAN_RUN_TESTS:INTERNAL=ON' build/win32/CMakeCache.txt; then
  echo "not measured: this machine runs no 32-bit code"
  exit 0
fi
cmake --build --preset win32 -j "$(nproc)" --target hosted_benchmarks >/dev/null
cd build/win32/bin
WINEPREFIX="$PWD/../wineprefix" WINEARCH=win32 WINEDEBUG=-all \
  /usr/lib/wine/wine hosted_benchmarks.exe ../ship/HD66712.dll null_port/inpout32.dll
