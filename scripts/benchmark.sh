#!/usr/bin/env bash
# Prints the driver's cost as ratios to the waits its protocol mandates:
# natively in-process (Google Benchmark), natively as a host loads the
# module, and for the shipped 32-bit DLL under 32-bit Wine where this
# machine runs 32-bit code; then what a port write costs a host on the
# virtual port library with its live window shown and without (natively,
# where there is no window, and under Wine 64 on a virtual X server). Takes
# a few minutes: each power-up pauses 1 s.
# Extra arguments go to Google Benchmark (for example --benchmark_filter=Delay).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" \
  --target driver_benchmarks hosted_benchmarks port_write_benchmarks >/dev/null
echo "=== native, the driver in-process ==="
build/linux/bin/driver_benchmarks "$@"
echo "=== native, HD66712.so loaded as a host loads it ==="
(cd build/linux/bin && ./hosted_benchmarks HD66712.so null_port/inpout32.dll)

echo "=== native, port writes on the virtual port library (no window on Linux) ==="
(cd build/linux/bin && HD_VLCD_WINDOW=0 ./port_write_benchmarks virtual_port/inpout32.dll)

echo "=== 64-bit Windows under Wine 64, port writes with the live window and without ==="
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target port_write_benchmarks >/dev/null
source scripts/xvfb.sh
trap 'kill $xvfb_pid 2>/dev/null' EXIT
if ! start_xvfb build/benchmark_display.txt; then
  echo "not measured: Xvfb did not start"
else
  (
    cd build/win64/bin
    export WINEPREFIX="$PWD/../benchmark_wineprefix" WINEDEBUG=-all
    for window in 0 1; do
      HD_VLCD_WINDOW=$window /usr/lib/wine/wine64 port_write_benchmarks.exe \
        virtual_port/inpoutx64.dll 2>/dev/null
    done
    /usr/lib/wine/wineserver -k
  )
fi

echo "=== 32-bit Windows, the shipped HD66712.dll under 32-bit Wine ==="
cmake --preset win32 -DHD66712_TESTS_IN_VM=OFF >/dev/null
if ! grep -q '^HD66712_CAN_RUN_TESTS:INTERNAL=ON' build/win32/CMakeCache.txt; then
  echo "not measured: 32-bit Wine does not run on this machine. The test command runs the 32-bit"
  echo "lane in a virtual machine instead, but emulated time is not real time, so no ratio"
  echo "measured there would be a figure."
  exit 0
fi
cmake --build --preset win32 -j "$(nproc)" --target hosted_benchmarks >/dev/null
cd build/win32/bin
WINEPREFIX="$PWD/../wineprefix" WINEARCH=win32 WINEDEBUG=-all \
  /usr/lib/wine/wine hosted_benchmarks.exe ../ship/HD66712.dll null_port/inpout32.dll
