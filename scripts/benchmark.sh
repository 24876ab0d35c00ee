#!/usr/bin/env bash
# Builds the native lane and prints the driver's cost as ratios to the waits
# its protocol mandates (about 30 s: each power-up pauses a second).
# Extra arguments go to Google Benchmark (for example --benchmark_filter=Delay).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$(nproc)" --target driver_benchmarks >/dev/null
build/linux/bin/driver_benchmarks "$@"
