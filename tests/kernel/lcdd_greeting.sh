# shellcheck shell=bash
# Sourced by the kernel lane's checks: what of LCDd's greeting and goodbye
# (tests/kernel/LCDd.conf) the virtual LCD did not see.
# lcdd_missing BYTES SCREEN: BYTES lines "KIND VALUE" (data 0x41, ...), the
# bytes LCDd's run latched, whose text must hold every Hello line; SCREEN
# the saved screen, which must hold every GoodBye line. Prints the missing
# lines, each quoted, after a space; nothing when none is.
lcdd_missing() {
  local conf written="" kind value line
  conf=$(dirname "${BASH_SOURCE[0]}")/LCDd.conf
  while read -r kind value; do
    [ "$kind" = data ] && ((16#${value#0x} >= 0x20)) && written+=$(printf '%b' "\\x${value#0x}")
  done <"$1"
  while IFS= read -r line; do
    grep -qF "$line" <<<"$written" || printf ' "%s"' "$line"
  done < <(sed -n 's/^Hello="\(.*\)"$/\1/p' "$conf")
  while IFS= read -r line; do
    grep -qF "$line" <"$2" 2>/dev/null || printf ' "%s"' "$line"
  done < <(sed -n 's/^GoodBye="\(.*\)"$/\1/p' "$conf")
}
