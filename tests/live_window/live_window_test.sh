#!/usr/bin/env bash
# The live window as a user meets it: the stand-in host application, the
# driver, the virtual port library and the window's module in one folder,
# run under Wine on a virtual X server and looked at through screenshots.
#   live_window_test.sh EMULATOR HOST LCD_HOST DRIVER PORT_LIBRARY WINDOW_MODULE WORK
# EMULATOR is the Wine command, its words joined by '|'. Exits 77 when no
# virtual X server can be started: then nothing was looked at.
set -uo pipefail
IFS='|' read -r -a emulator <<<"$1"
host=$2 lcd_host=$3 driver=$4 port_library=$5 window_module=$6 work=$7
# A Wine prefix of its own: the Wine server and desktop that the other
# tests share were started without this display. It starts as a copy of
# theirs: Wine takes most of a minute to make one under emulation.
prefix="$work.wineprefix"
wine_program=${emulator[-1]}
unset 'emulator[-1]'
for word in "${emulator[@]}"; do
  if [[ $word == WINEPREFIX=* ]] && [ ! -d "$prefix" ] && [ -f "${word#*=}/system.reg" ]; then
    rm -rf "$prefix.copy"
    mkdir -p "${prefix%/*}" && cp -a "${word#*=}" "$prefix.copy" && mv "$prefix.copy" "$prefix"
  fi
done
emulator+=("WINEPREFIX=$prefix" "$wine_program")
wineserver() { env WINEPREFIX="$prefix" "${wine_program%/*}/wineserver" "$@"; }

for tool in Xvfb xwd xwininfo convert compare identify; do
  if ! command -v "$tool" >/dev/null; then
    echo "NOT RUN: $tool is missing (scripts/setup.sh installs it)"
    exit 77
  fi
done

# shellcheck source=scripts/xvfb.sh
source "$(dirname "$0")/../../scripts/xvfb.sh"
rm -rf "$work"
mkdir -p "$work"
cp "$host" "$driver" "$port_library" "$window_module" "$work/"
# lcd_host as the release zip lays it out.
mkdir -p "$work/kit/virtual_port"
cp "$lcd_host" "$driver" "$work/kit/"
cp "$port_library" "$window_module" "$work/kit/virtual_port/"
cd "$work" || exit 1

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

hosts=()
xvfb_pid=""
cleanup() {
  for pid in "${hosts[@]}"; do kill "$pid" 2>/dev/null; done
  wineserver -k 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
if ! start_xvfb display.txt; then
  echo "NOT RUN: Xvfb did not start:"
  cat display.txt.log
  exit 77
fi
# A server left from an earlier run would still show on that run's display.
wineserver -k 2>/dev/null
echo "virtual X server on $DISPLAY"

# Starts the host with the environment given; ask() sends it a command and
# leaves its answer in $reply.
start_host() {
  coproc HOST { env "$@" "${emulator[@]}" ./window_host.exe 2>>host_errors.txt; }
  hosts+=("$HOST_PID")
}
ask() {
  reply=""
  echo "$1" >&"${HOST[1]}"
  IFS= read -r -t $((120 * ${HD66712_TIME_SCALE:-1})) reply <&"${HOST[0]}"
  reply=${reply%$'\r'}
  echo "> $1"
  echo "  $reply"
}
stop_host() {
  local to_host=${HOST[1]}
  exec {to_host}>&-
  wait "$HOST_PID"
}

# The client area's picture part, at the window's place on the X screen.
screen_shows() {
  local picture=$1 shot=$2
  local size
  size=$(identify -format '%wx%h' "$picture") || return 1
  xwd -root -silent >"$shot.xwd" &&
    convert "$shot.xwd" -crop "${size}+${left}+${top}" +repage "$shot.png" &&
    compare -metric AE "$picture" "$shot.png" null: 2>/dev/null
}

start_host
ask "session LPT1"
[[ $reply == ok* ]] || fail "the driver did not start: $reply"
ask "write 1 Hello window"
ask "where"
read -r status left top _ <<<"$reply"
if [ "$status" != ok ]; then
  fail "no window: $reply"
else
  ask "snapshot first"
  if ! screen_shows first.png shot1; then
    fail "the window does not show the renderer's picture (first.png against shot1.png)"
  fi
  if ! xwininfo -root -tree | grep -q '"Virtual LCD (simulator, no port is written) - 20x4 HD66712 with ROM A00, at 0x378"'; then
    fail "no window on the X screen has the simulator's title"
  fi

  ask "write 2 and then this"
  ask "snapshot second"
  followed=""
  start=$(date +%s%N)
  for _ in $(seq 20); do
    if screen_shows second.png shot2; then
      followed=$((($(date +%s%N) - start) / 1000000))
      break
    fi
  done
  # Under emulation (HD66712_TIME_SCALE > 1) time is no figure: the bound
  # widens and the time is not reported as the window's speed.
  scale=${HD66712_TIME_SCALE:-1}
  if [ -z "$followed" ]; then
    fail "the window did not follow the change (second.png against shot2.png)"
  elif ((followed > 1000 * scale)); then
    fail "the window took $followed ms to follow the change"
  elif ((scale > 1)); then
    echo "the window followed the change (in $followed ms of emulated time, which is no figure)"
  else
    echo "the window followed the change within $followed ms (one screenshot takes part of it)"
  fi
fi
# Closing the window hides it; the host and its driver go on.
ask "close-window"
ask "closed"
[ "$reply" = ok ] || fail "closing the window did not hide it: $reply"
ask "write 3 after closing"
ask "snapshot third"
grep -q "after closing" third.txt || fail "the host could not write after the window was closed"
ask "done"
ask "closed"
[ "$reply" = ok ] || fail "the window outlived the driver's Done: $reply"
# Under emulation each cycle takes a second or more: there a quarter of the
# cycles, still many loads after the first, while the 64-bit lane runs all
# hundred on the same sources.
cycles=100
((${HD66712_TIME_SCALE:-1} > 1)) && cycles=25
ask "cycles $cycles"
[[ $reply == "ok: $cycles cycles, windows seen $cycles,"* ]] || fail "$cycles loads and unloads: $reply"
stop_host || fail "the host did not end cleanly"

start_host HD_VLCD_WINDOW=0
ask "session LPT1"
ask "write 1 Hello window"
sleep 1
ask "windows"
[ "$reply" = "ok 0" ] || fail "HD_VLCD_WINDOW=0 still shows a window: $reply"
if xwininfo -root -tree | grep -q '"Virtual LCD'; then
  fail "HD_VLCD_WINDOW=0: a simulator window is on the X screen"
fi
ask "done"
stop_host || fail "the host with HD_VLCD_WINDOW=0 did not end cleanly"

# lcd_host shows the window only when asked, and keeps it until Enter;
# started through a link from another folder, it still finds its files.
mkfifo kit_keys
mkdir -p elsewhere
ln -s ../kit/lcd_host.exe elsewhere/lcd_host.exe
(cd elsewhere && exec "${emulator[@]}" lcd_host.exe demo --window --columns 16 --rows 2 --chip HD44780 --rom A02 \
  <../kit_keys >../kit_output.txt 2>&1) &
kit=$!
hosts+=("$kit")
exec {keys}>kit_keys
for _ in $(seq $((1200 * ${HD66712_TIME_SCALE:-1}))); do
  grep -q "The window stays open until you press Enter" kit_output.txt && break
  sleep 0.1
done
if ! xwininfo -root -tree | grep -q '"Virtual LCD (simulator, no port is written) - 16x2 HD44780 with ROM A02, at 0x378"'; then
  fail "lcd_host demo --window shows no window: $(cat kit_output.txt)"
fi
echo >&"$keys"
exec {keys}>&-
if wait "$kit"; then
  echo "lcd_host.exe demo --window, through a link, showed the 16x2 window and ended at Enter"
else
  fail "lcd_host demo --window did not end cleanly: $(cat kit_output.txt)"
fi

if [ -s host_errors.txt ]; then
  echo "The hosts said on standard error:"
  sort host_errors.txt | uniq -c
fi
if ((failures)); then
  echo "$failures failures; screenshots are in $work"
  exit 1
fi
echo "the live window passed"
