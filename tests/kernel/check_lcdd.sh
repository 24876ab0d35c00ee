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
written=""
while read -r number kind value _; do
  [[ "$number" =~ ^[0-9]+$ ]] || continue
  [ "$kind" = data ] && ((16#${value#0x} >= 0x20)) && written+=$(printf '%b' "\\x${value#0x}")
done <"$results/screen-trace.txt"
shown=$(cat "$results/screen.txt" 2>/dev/null)
missing=""
while IFS= read -r line; do
  grep -qF "$line" <<<"$written" || missing+=" \"$line\""
done < <(sed -n 's/^Hello="\(.*\)"$/\1/p' "$here/LCDd.conf")
while IFS= read -r line; do
  grep -qF "$line" <<<"$shown" || missing+=" \"$line\""
done < <(sed -n 's/^GoodBye="\(.*\)"$/\1/p' "$here/LCDd.conf")
if [ -n "$written" ] && [ -z "$missing" ] && grep -q ", 0 timing violations$" "$results/screen.txt"; then
  echo "kernel lane: ok: LCDd on its $connection cable: its greeting, then its goodbye, $(grep -o "ROM .*timing violations" "$results/screen.txt")"
else
  echo "kernel lane: FAILED: LCDd on its $connection cable; missing:$missing. The screen:"
  sed 's/^/    /' "$results/screen.txt" 2>/dev/null
  tail -5 "$results/LCDd.out" 2>/dev/null
  failed=1
fi
exit $failed
