#!/usr/bin/env bash
# LCDd in the guest on one of its own connection types, against the virtual
# LCD wired as that cable is: the text it wrote holds its greeting, the
# screen it left holds its goodbye, and the virtual LCD found no timing
# rule broken.
#   tests/kernel/check_lcdd.sh RESULTS CONNECTION
set -uo pipefail
if (($# != 2)); then
  echo "usage: tests/kernel/check_lcdd.sh RESULTS CONNECTION" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
results=$1
connection=$2
failed=0
if ! grep -q "vm_guest: lcdd ran" "$results/console.log" 2>/dev/null; then
  echo "kernel lane: FAILED: LCDd on $connection: the guest ended early; its console:"
  tail -20 "$results/console.log" 2>/dev/null
  exit 1
fi
# shellcheck source=tests/kernel/lcdd_greeting.sh
. "$here/lcdd_greeting.sh"
awk '$1 ~ /^[0-9]+$/ { print $2, $3 }' "$results/screen-trace.txt" >"$results/lcdd.bytes"
missing=$(lcdd_missing "$results/lcdd.bytes" "$results/screen.txt")
if [ -s "$results/lcdd.bytes" ] && [ -z "$missing" ] &&
  grep -q ", 0 timing violations$" "$results/screen.txt"; then
  echo "kernel lane: ok: LCDd on its $connection cable: its greeting, then its goodbye, $(grep -o "ROM .*timing violations" "$results/screen.txt")"
else
  echo "kernel lane: FAILED: LCDd on its $connection cable; missing:$missing. The screen:"
  sed 's/^/    /' "$results/screen.txt" 2>/dev/null
  tail -5 "$results/LCDd.out" 2>/dev/null
  failed=1
fi
exit $failed
