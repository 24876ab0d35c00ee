#!/usr/bin/env bash
# Configures, builds and tests every lane: native Linux (then again under
# valgrind, and on a real kernel's parallel port driver in a small emulated
# Debian machine, scripts/vm.sh), Linux with ASan and UBSan, the libFuzzer targets for a bounded
# time, 64-bit Windows under Wine, and the shipped 32-bit Windows DLL with
# its release zip, tested under 32-bit Wine: here where this machine runs
# 32-bit code and Debian's 32-bit Wine is installed, and otherwise in that
# emulated machine. HD66712_WIN32_IN_VM=1 takes the emulated machine
# anyway; HD66712_WIN32_IN_VM=0 never does, and where 32-bit Wine does not
# run here the lane is then only built and inspected. The lanes in the
# emulated machine run beside the others; their output follows the others'.
# Ends with what each lane did; exits non-zero when any lane failed or could
# not run.
set -uo pipefail
if (($#)); then
  echo "test.sh: unexpected argument '$1' (it takes none)" >&2
  exit 2
fi
cd "$(dirname "$0")/.." || exit 1
scripts/setup.sh || exit 1
if [ -z "${HD66712_WIN32_IN_VM:-}" ]; then
  HD66712_WIN32_IN_VM=1
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine ] && HD66712_WIN32_IN_VM=0
fi
export HD66712_WIN32_IN_VM

# The emulated machine's image takes minutes to make the first time, mostly
# waiting on downloads: it is made in the background while the native lanes
# build, and the lanes that boot it wait for it (scripts/vm.sh).
image_job=""
if [ "${HD66712_KERNEL_LANE:-1}" != 0 ] || [ "$HD66712_WIN32_IN_VM" = 1 ]; then
  mkdir -p build
  scripts/vm.sh image >build/vm_image.log 2>&1 &
  image_job=$!
fi

export WINEDEBUG=-all
summary=()
failed=0

# The tests that passed, by name, from ctest's JUnit results in file $1,
# and how many.
passed_in() { sed -n 's/^[[:space:]]*<testcase name="\([^"]*\)".* status="run">.*/\1/p' "$1"; }
tests_run() { passed_in "$1" | wc -l; }
can_run() { grep -q '^HD66712_CAN_RUN_TESTS:INTERNAL=ON' "build/$1/CMakeCache.txt"; }
# Of lane $1's tests that passed, those labelled `module` (those on the
# shipped DLL), as ctest lists them.
module_tests() {
  comm -12 <(passed_in "build/$1.junit.xml" | sort) \
    <(ctest --test-dir "build/$1" -N -L module | sed -n 's/^ *Test *#[0-9]*: //p' | sort) | wc -l
}
# The win32 lane's tests that ctest selects with the options given, each
# GoogleTest program that ran whole in the emulated machine counted by the
# cases its results say passed (tests/CMakeLists.txt).
cases_in_vm() {
  local name results count=0
  while read -r name; do
    results=build/win32/vm_results/gtest_results/$name.xml
    if [ -f "$results" ]; then
      count=$((count + $(grep -c 'result="completed"' "$results")))
    else
      count=$((count + 1))
    fi
  done < <(ctest --test-dir build/win32 -N "$@" | sed -n 's/^ *Test *#[0-9]*: //p')
  echo "$count"
}
# The 32-bit lane's tests run here, or in the virtual machine.
configure_options() {
  [ "$1" = win32 ] && echo "-DHD66712_TESTS_IN_VM=$([ "$HD66712_WIN32_IN_VM" = 1 ] && echo ON || echo OFF)"
}
run_tests() {
  if [ "$1" = win32 ] && [ "$HD66712_WIN32_IN_VM" = 1 ]; then
    scripts/vm.sh test build/win32
  else
    ctest --preset "$1" --output-junit "$PWD/build/$1.junit.xml"
  fi
}

# The live window's test needs a virtual X server; when none started it
# exits as skipped, which ctest counts among the tests that did not fail.
window_status() {
  window="the live window passed on a virtual X server"
  window_not_run=0
  if ! grep -q "live_window .*Passed" "$1"; then
    window="the live window NOT RUN (no virtual X server started), not counted"
    window_not_run=1
  fi
}

build_lane() {
  local name=$1
  echo "=== $name ==="
  mkdir -p build
  # shellcheck disable=SC2046
  if ! { cmake --preset "$name" $(configure_options "$name") >/dev/null &&
    cmake --build --preset "$name" -j "$(nproc)"; }; then
    summary+=("$name: FAILED to build")
    failed=1
    return 1
  fi
}

lane() { build_lane "$1" && test_lane "$1"; }

test_lane() {
  local name=$1 log="build/$1.test.log"
  echo "=== $name tests ==="
  if ! run_tests "$name" 2>&1 | tee "$log"; then
    summary+=("$name: FAILED, see $log")
    failed=1
    return
  fi
  local count=0
  [ -f "build/$name.junit.xml" ] && count=$(tests_run "build/$name.junit.xml")
  case "$name" in
    win64)
      if can_run win64; then
        window_status "$log"
        summary+=("win64: $((count - window_not_run)) tests passed under Wine 64; $window")
      else
        summary+=("win64: COULD NOT RUN, Wine 64 did not start; only inspected")
        failed=1
      fi
      ;;
    win32)
      if can_run win32; then
        local how="" guest="" module
        if [ "$HD66712_WIN32_IN_VM" = 1 ]; then
          how=", emulated in a VM"
          guest=$(sed -n 's/^vm: the guest ran for \([0-9]*\) s$/; the guest ran \1 s/p' "$log")
          count=$(cases_in_vm)
          module=$(cases_in_vm -L module)
        else
          module=$(module_tests win32)
        fi
        window_status "$log"
        summary+=("win32: $((count - window_not_run)) tests passed under 32-bit Wine$how, $module of them on the shipped HD66712.dll itself, and the release zip's lcd_host.exe ran its test pattern; $window; exports and zip inspected$guest")
      else
        summary+=("win32: inspected only, 32-bit Wine does not run on this machine (exports, calling convention and release zip checked in $count tests); the live window NOT RUN under 32-bit Wine (HD66712_WIN32_IN_VM=0 kept it from running in an emulated VM)")
      fi
      ;;
    *) summary+=("$name: $count tests passed") ;;
  esac
}

# Under valgrind a process costs seconds to start, so each GoogleTest
# program runs its whole suite in one process rather than once per test
# (ctest runs a GoogleTest case as its program with --gtest_filter), with
# the environment CMake gives the module tests. lcd_host's cases run
# lcd_host itself under memcheck (ctest's memcheck would check the cmake
# that runs each case); their memcheck errors exit 97, which no case expects.
valgrind_lane() {
  echo "=== linux under valgrind ==="
  if [ ! -x build/linux/bin/lcd_host ]; then
    summary+=("valgrind: NOT RUN, the linux lane did not build")
    failed=1
    return
  fi
  local log=build/valgrind.test.log programs=() options dirty=() program
  mapfile -t programs < <(ctest --test-dir build/linux -N -V |
    sed -n 's/^[0-9]*: Test command: \([^ ]*\) "--gtest_filter=.*/\1/p' | sort -u)
  options=$(sed -n 's/^MemoryCheckCommandOptions: //p' build/linux/DartConfiguration.tcl)
  # Many of lcd_host's cases wait on a port or a clock: the programs' suites
  # run beside them.
  local jobs=() i
  for program in "${programs[@]}"; do
    # shellcheck disable=SC2086
    (cd build/linux/bin && LD_LIBRARY_PATH=. HD_VLCD_WINDOW=0 valgrind -q $options "$program") \
      >"build/valgrind.$(basename "$program").log" 2>&1 &
    jobs+=($!)
  done
  HD66712_CASE_UNDER="valgrind -q $options --error-exitcode=97" \
    ctest --test-dir build/linux -R '^lcd_host[.]' -j 4 --timeout 900 --output-on-failure \
    --output-junit "$PWD/build/valgrind.junit.xml" >"$log" 2>&1 || dirty+=("lcd_host's cases")
  local cases
  cases=$(tests_run build/valgrind.junit.xml)
  for i in "${!programs[@]}"; do
    program=$(basename "${programs[i]}")
    wait "${jobs[i]}" || dirty+=("$program")
    cat "build/valgrind.$program.log" >>"$log"
  done
  if ((${#dirty[@]} == 0 && ${#programs[@]} > 0 && cases > 0)); then
    summary+=("valgrind: lcd_host in its $cases cases and ${#programs[@]} test programs' whole suites clean under memcheck")
  else
    tail -40 "$log"
    summary+=("valgrind: FAILED (${dirty[*]:-no test found}), see $log")
    failed=1
  fi
}

# The scripts are held to the same standard as the C++.
echo "=== shellcheck ==="
scripts=(scripts/*.sh tests/live_window/*.sh tests/kernel/*.sh tests/package/*.sh .ci/run)
if shellcheck -x "${scripts[@]}"; then
  summary+=("shellcheck: ${#scripts[@]} scripts clean")
else
  summary+=("shellcheck: FAILED")
  failed=1
fi

# The Linux lane's tools on a real kernel's parallel port driver, in the
# emulated machine; HD66712_KERNEL_LANE=0 leaves it out, and says so.
kernel_lane() {
  echo "=== kernel ==="
  if [ "${HD66712_KERNEL_LANE:-1}" = 0 ]; then
    summary+=("kernel: NOT RUN (HD66712_KERNEL_LANE=0), not counted")
    return
  fi
  if [ ! -x build/linux/bin/lcd_host ]; then
    summary+=("kernel: NOT RUN, the linux lane did not build")
    failed=1
    return
  fi
  local log=build/kernel.test.log
  if scripts/vm.sh kernel build/linux 2>&1 | tee "$log"; then
    local checks guest
    checks=$(grep -c "^kernel lane: ok:" "$log")
    guest=$(sed -n 's/^vm: the guest ran for \([0-9]*\) s$/\1/p' "$log")
    summary+=("kernel: $checks checks passed on a real Linux kernel's ppdev and parport_pc (emulated machine, guest $guest s): port check, held and busy ports, wiring walk, driver session and LCDd, then LCDd on its own 4bit and 8bit cables, against the virtual LCD")
  else
    summary+=("kernel: FAILED, see $log")
    failed=1
  fi
}

# The Linux tools as a Debian package, made from the linux lane's build,
# held to lintian, then installed, used and purged in a clean system (the
# emulated machine, which HD66712_KERNEL_LANE=0 leaves out).
package_lane() {
  echo "=== Debian package ==="
  if [ ! -x build/linux/bin/lcd_host ]; then
    summary+=("package: NOT RUN, the linux lane did not build")
    failed=1
    return
  fi
  local log=build/package.test.log deb lint
  if ! (cd build/linux && cpack -G DEB) >"$log" 2>&1; then
    tail -20 "$log"
    summary+=("package: FAILED to be made, see $log")
    failed=1
    return
  fi
  deb=$(sed -n 's/^CPack: - package: \(.*\.deb\) generated\.$/\1/p' "$log")
  deb=build/linux/package/$(basename "$deb")
  local verdict=0
  lintian --fail-on error,warning "$deb" >build/lintian.log 2>&1 || verdict=$?
  grep -v "^running with root" build/lintian.log | tee -a "$log"
  if ((verdict != 0)); then
    summary+=("package: FAILED lintian, see $log")
    failed=1
    return
  fi
  lint="$(basename "$deb") made, lintian clean of errors and warnings"
  if [ "${HD66712_KERNEL_LANE:-1}" = 0 ]; then
    summary+=("package: $lint; installed NOT RUN (HD66712_KERNEL_LANE=0), not counted")
    return
  fi
  if scripts/vm.sh package build/linux "$deb" 2>&1 | tee -a "$log"; then
    local checks guest
    checks=$(grep -c "^package: ok:" "$log")
    guest=$(sed -n 's/^vm: the guest ran for \([0-9]*\) s$/\1/p' "$log")
    summary+=("package: $lint; installed in a clean Debian system (emulated machine, guest $guest s), $checks checks passed: demo, port check and real-port session through the installed ppdev library, lcd4linux through the installed launcher, man pages, then purged leaving nothing")
  else
    summary+=("package: FAILED as installed, see $log")
    failed=1
  fi
}

# Each lane's time goes on its summary line.
timed() {
  local started=$SECONDS before=${#summary[@]} status=0
  "$@" || status=$?
  for ((i = before; i < ${#summary[@]}; ++i)); do
    summary[i]+=" [$((SECONDS - started)) s]"
  done
  return "$status"
}

# The lanes given, one after another, with a summary of their own: they
# run in the background, and leave their lines in build/vm_lanes.summary.
run_vm_lanes() {
  local summary=() vm_lane waited=$SECONDS
  # A fresh image is still being made: the wait is the image's, not a lane's.
  if [ -n "$image_job" ]; then
    scripts/vm.sh image >/dev/null 2>&1
    echo "$((SECONDS - waited))" >build/vm_image.waited
  fi
  for vm_lane in "$@"; do
    # shellcheck disable=SC2086
    timed $vm_lane
  done
  printf '%s\n' "${summary[@]}" >build/vm_lanes.summary
  return "$failed"
}

timed lane linux
# The lanes that boot the emulated machine leave most of this machine's two
# cores idle while the guest works: they run beside the lanes that need only
# this machine. The 32-bit lane is built first, here.
vm_lanes=(kernel_lane package_lane)
win32_built=0
if [ "$HD66712_WIN32_IN_VM" = 1 ]; then
  win32_built=$SECONDS
  timed build_lane win32 && vm_lanes+=("test_lane win32")
  win32_built=$((SECONDS - win32_built))
fi
rm -f build/vm_lanes.summary build/vm_image.waited
run_vm_lanes "${vm_lanes[@]}" >build/vm_lanes.log 2>&1 &
vm_lanes_job=$!
timed valgrind_lane
for name in linux-asan fuzz win64; do
  timed lane "$name"
done
[ "$HD66712_WIN32_IN_VM" = 1 ] || timed lane win32

echo "=== the lanes in the emulated machine ==="
wait "$vm_lanes_job" || failed=1
cat build/vm_lanes.log
if [ -s build/vm_lanes.summary ] && mapfile -t vm_summary <build/vm_lanes.summary; then
  for line in "${vm_summary[@]}"; do
    [ "${line%%:*}" = win32 ] && line+=" (built in $win32_built s beforehand)"
    summary+=("$line")
  done
else
  summary+=("kernel, package, win32: NO RESULT, see build/vm_lanes.log")
  failed=1
fi

if [ -n "$image_job" ]; then
  if ! wait "$image_job"; then
    summary+=("VM image: FAILED to be made, see build/vm_image.log")
    failed=1
  elif made=$(sed -n 's/^vm: guest system ready in \([0-9]*\) s$/\1/p' build/vm_image.log) &&
    [ -n "$made" ]; then
    summary+=("VM image: made in $made s, in the background while the native lanes built; the lanes in the emulated machine waited $(cat build/vm_image.waited 2>/dev/null || echo "?") s for it")
  else
    summary+=("VM image: the one made for this recipe before")
  fi
fi

echo
echo "=== Summary ==="
printf '  %s\n' "${summary[@]}"
if ((failed)); then
  echo "Some lanes failed or could not run."
  exit 1
fi
echo "Every lane that this machine can run passed."
