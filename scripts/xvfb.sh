# shellcheck shell=bash
# Sourced by the scripts that look at windows: a virtual X server of their
# own, so that a user's desktop is never touched.
#   start_xvfb FILE   starts it, writing its display number to FILE and what
#                     it says to FILE.log; sets DISPLAY and xvfb_pid. Returns
#                     1 when no server is ready within 10 s (times
#                     HD66712_TIME_SCALE under emulation).
start_xvfb() {
  local file=$1
  rm -f "$file"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$file" 2>"$file.log" &
  # Read by the scripts that source this one, to stop the server.
  # shellcheck disable=SC2034
  xvfb_pid=$!
  for _ in $(seq $((100 * ${HD66712_TIME_SCALE:-1}))); do
    [ -s "$file" ] && break
    sleep 0.1
  done
  [ -s "$file" ] || return 1
  DISPLAY=":$(cat "$file")"
  export DISPLAY
}
