#!/usr/bin/env bash
# Runs every fuzz target for longer than the test command does: the
# driver's startup parameters and entry sequences, and the tools' readers of
# scripts, driver logs and settings.
#   scripts/fuzz.sh [seconds per target, default 600]
# New inputs collect in build/fuzz/fuzz/corpus/; crashes are written to
# build/fuzz/fuzz/run/<target>/ with the input that caused them.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
if ! [[ "$seconds" =~ ^[1-9][0-9]{0,5}$ ]]; then
  echo "fuzz.sh: '$seconds' is not a number of seconds from 1 to 999999" >&2
  exit 2
fi
scripts/setup.sh
cmake --preset fuzz -DHD66712_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
ctest --preset fuzz --timeout "$((seconds + 120))" -V | grep -E "stat::|Test|ERROR|invariant|Done"
cmake --preset fuzz -DHD66712_FUZZ_SECONDS=12 >/dev/null
