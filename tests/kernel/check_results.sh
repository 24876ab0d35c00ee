#!/usr/bin/env bash
# Holds what the real-kernel lane's guest did (scripts/vm.sh kernel) against
# what the virtual LCD on this side saw. The driver's bytes for the wiring
# walk and the session are known from the same runs here, through the
# virtual parallel port with no kernel in between: the guest's must be the
# same bytes, in the same order, with nothing before them, so that the port
# check and the two refused claims latched nothing. LCDd's bytes follow.
#   tests/kernel/check_results.sh LINUX_BUILD RESULTS
set -uo pipefail
if (($# != 2)); then
  echo "usage: tests/kernel/check_results.sh LINUX_BUILD RESULTS" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$1/bin" && pwd) || exit 1
results=$(cd "$2" && pwd) || exit 1
failed=0
pass() { echo "kernel lane: ok: $*"; }
fail() {
  echo "kernel lane: FAILED: $*"
  failed=1
}
# Step $1 ended with status $2 and its output matches the extended regex $3.
expect() {
  local step=$1 status=$2 pattern=$3 got
  got=$(cat "$results/$step.status" 2>/dev/null)
  if [ "$got" = "$status" ] && grep -Eq "$pattern" "$results/$step.out"; then
    pass "$step: exit $status, said: $(grep -Eo "$pattern" "$results/$step.out" | head -1)"
  else
    fail "$step: exit ${got:-none} (expected $status) or no \"$pattern\"; it said:"
    sed 's/^/    /' "$results/$step.out" 2>/dev/null | tail -15
  fi
}
# The bytes of a trace, one "kind value" a line.
# shellcheck source=tests/kernel/lcdd_greeting.sh
. "$here/lcdd_greeting.sh"
bytes_of() { awk '$1 ~ /^[0-9]+$/ { print $2, $3 }' "$1"; }

if grep -q "parport0: PC-style at 0x378" "$results/kernel.out"; then
  pass "the guest's kernel found the port: $(grep -o "parport0: PC-style at 0x378.*" "$results/kernel.out")"
else
  fail "the guest's kernel found no port at 0x378: $(cat "$results/kernel.out")"
fi
expect check 0 "a parallel port answers at 0x378"
expect held_exclusively 1 "held exclusively by process [0-9]+ \(hold_port\)"
expect claimed 1 "busy, held by process [0-9]+ \(hold_port\).*waited 3.0 s"
expect walk 0 "commands sent"
expect session 0 "commands sent"

# The same walk and session here, with no kernel between the driver and the
# virtual LCD.
reference=$results/reference
mkdir -p "$reference"
module=(--columns 20 --rows 4 --chip HD44780)
on_the_virtual_port() {
  local name=$1
  shift
  (cd "$reference" &&
    HD_PARPORT=$reference/$name.device HD_VLCD_PARPORT=$reference/$name.device HD_VLCD_CHIP=HD44780 \
      HD_VLCD_COLUMNS=20 HD_VLCD_ROWS=4 HD_VLCD_TRACE=1 HD_VLCD_OUTPUT=$reference/$name \
      LD_PRELOAD=$bin/virtual_port/virtual_parport.so LD_LIBRARY_PATH=$bin/parport \
      "$bin/lcd_host" "$@" >"$reference/$name.out" 2>&1) ||
    fail "the reference $name here failed: $(tail -3 "$reference/$name.out")"
}
on_the_virtual_port walk wiring-walk --step-ms 0 --page-ms 1 "${module[@]}"
on_the_virtual_port session real-port --script "$here/session.txt" "${module[@]}"

seen=$results/screen-trace.txt
if [ ! -f "$seen" ]; then
  fail "the virtual LCD kept no trace; qemu's console: $(tail -5 "$results/console.log")"
  exit 1
fi
bytes_of "$reference/walk-trace.txt" >"$reference/walk.bytes"
bytes_of "$reference/session-trace.txt" >"$reference/session.bytes"
bytes_of "$seen" >"$results/seen.bytes"
walk=$(wc -l <"$reference/walk.bytes")
session=$(wc -l <"$reference/session.bytes")
total=$(wc -l <"$results/seen.bytes")
if cat "$reference/walk.bytes" "$reference/session.bytes" | cmp -s - <(head -n $((walk + session)) "$results/seen.bytes"); then
  pass "the virtual LCD latched first the walk's $walk bytes and the session's $session, as here: the port check and the refused claims latched none"
else
  fail "the virtual LCD's first $((walk + session)) bytes are not the walk's and the session's; the first difference:"
  diff <(cat "$reference/walk.bytes" "$reference/session.bytes") <(head -n $((walk + session)) "$results/seen.bytes") | head -8
fi
lcdd=$((total - walk - session))
# The text LCDd wrote, from its data bytes, holds its greeting; the screen
# it left holds its goodbye.
tail -n +$((walk + session + 1)) "$results/seen.bytes" >"$results/lcdd.bytes"
missing=$(lcdd_missing "$results/lcdd.bytes" "$results/screen.txt")
if ((lcdd > 0)) && [ -z "$missing" ]; then
  pass "LCDd latched $lcdd bytes: its greeting, then its goodbye, left on the virtual LCD"
else
  fail "LCDd latched $lcdd bytes; missing:$missing. The screen:"
  sed 's/^/    /' "$results/screen.txt" 2>/dev/null
  tail -5 "$results/LCDd.out" 2>/dev/null
fi
# The guest kernel's claims reach this side as plain control writes through
# qemu: each raises E with R/W and RS (parport_pc's start state), which the
# virtual LCD reports as RS or R/W changing as E rose and, where the data
# lines were driven, as a read against them. Before the first claim,
# parport_pc's probe at boot toggles control lines while its start state
# holds E high, which the virtual LCD reports as RS or R/W changing while E
# was high. Those are the kernel's; any other finding is a program's, and
# fails the lane.
claim_rule='^  ((RS|R/W|RS and R/W) changed only 0 ns before E rose|bus contention: E rose with R/W high, a read, while the port drove the data lines) \(write [0-9]+\)$'
probe_rule='^  (RS|R/W|RS and R/W) changed while E was high \(write [0-9]+\)$'
counted=$(sed -n 's/^ROM .*, \([0-9]*\) timing violations$/\1/p' "$results/screen.txt")
listed=$(grep -cE '^  [^ .]' "$results/screen.txt")
first_claim=$(grep -E "$claim_rule" "$results/screen.txt" | grep -oE 'write [0-9]+' | head -1 | tr -dc 0-9)
others=$(grep -E '^  [^ .]' "$results/screen.txt" | grep -vE "$claim_rule" |
  while IFS= read -r line; do
    write=$(grep -oE 'write [0-9]+' <<<"$line" | tr -dc 0-9)
    if grep -qE "$probe_rule" <<<"$line" && [ -n "$first_claim" ] && ((write < first_claim)); then
      continue
    fi
    echo "$line"
  done)
claims=$(grep -E "$claim_rule" "$results/screen.txt" | grep -oE 'write [0-9]+' | sort -u | wc -l)
if [ -n "$counted" ] && [ "$counted" = "$listed" ] && [ -z "$others" ] && ((claims > 0)); then
  pass "$(grep -o "ROM .*timing violations" "$results/screen.txt"): the guest kernel's probe and its $claims claims, and nothing else"
else
  fail "the virtual LCD found more than the guest kernel's probe and claims:"
  sed -n '/timing violations$/,$p' "$results/screen.txt" | head -25
fi
exit $failed
