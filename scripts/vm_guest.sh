#!/bin/sh
# What the guest that scripts/vm.sh boots does, read from the shared
# work tree, so that changing it needs no new system image:
#   vm_guest.sh prepare      makes the 32-bit Wine prefix kept in the image
#   vm_guest.sh test BUILD   runs ctest in BUILD, at the same path as on
#                                  the machine that built it, and leaves its
#                                  output and status in BUILD/vm_results
#   vm_guest.sh kernel BUILD RESULTS
#                                  the native Linux lane's lcd_host, driver and
#                                  ppdev port library on this kernel's
#                                  parallel port, then LCDd; each step's
#                                  output and status go to RESULTS
#   vm_guest.sh package TESTS RESULTS
#                                  the Debian package in RESULTS installed,
#                                  used and purged (tests/package/installed.sh)
#   vm_guest.sh lcdd CONNECTION TESTS RESULTS
#                                  LCDd alone on its ConnectionType
#                                  CONNECTION, its output and status to
#                                  RESULTS
prefix=/root/wine32prefix

case "$1" in
  prepare)
    WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
      /usr/lib/wine/wine wineboot --init &&
      WINEPREFIX=$prefix /usr/lib/wine/wineserver -w && echo "vm_guest: prepared"
    ;;
  test)
    build=$2
    work=${build%/build/*}
    lane=${build#"$work"/}
    # Wine maps programs into memory, and pages mapped from the 9p share come
    # out wrong: the sources, the lane and the 64-bit files the release zip
    # takes are copied to the guest's own memory, at the same path.
    mkdir -p /share
    mount --move "$work" /share || exit 1
    mount -t tmpfs -o size=2G tmpfs "$work"
    (cd /share && tar cf - --exclude=./build --exclude=./.git .) | (cd "$work" && tar xf -)
    (cd /share && tar cf - --exclude='*.obj' --exclude='*.a' "$lane" build/win64/ship 2>/dev/null) |
      (cd "$work" && tar xf -)
    # The lane's prefix is the one made at preparation, on the guest's own
    # disk: a Wine prefix over 9p is slow and loses its locks.
    mkdir -p "$build/wineprefix"
    mount --bind "$prefix" "$build/wineprefix"
    cd "$build" || exit 1
    # Emulated time is not real time: tests with an upper time bound widen it.
    export HD66712_TIME_SCALE=20
    # One Wine server for the whole run, with the services it starts on the
    # first process already running (apart from ctest's pipes, which they
    # would otherwise hold open): starting them for each test's process
    # costs seconds under emulation.
    WINEPREFIX=$build/wineprefix /usr/lib/wine/wineserver -p
    WINEPREFIX=$build/wineprefix WINEDEBUG=-all /usr/lib/wine/wine wineboot </dev/null >/dev/null 2>&1
    # Written straight to the share, so it can be followed from outside.
    results=/share/$lane/vm_results
    mkdir -p "$results"
    ctest --output-on-failure -j "$(nproc)" --timeout 1500 >"$results/ctest.log" 2>&1
    echo $? >"$results/status"
    # cpack's own logs and the test programs' results stay in the guest's
    # memory otherwise.
    cp "$build"/package/_CPack_Packages/*/*/*.log "$results/" 2>/dev/null
    cp -r "$build/gtest_results" "$results/" 2>/dev/null
    WINEPREFIX=$build/wineprefix /usr/lib/wine/wineserver -k 2>/dev/null
    echo "vm_guest: tests ran"
    ;;
  kernel)
    build=$2
    results=$3
    tests=${build%/build/*}/tests/kernel
    # The programs run from the guest's own memory, as a user's would.
    bin=/tmp/kernel
    mkdir -p "$bin/parport"
    cp "$build/bin/lcd_host" "$build/bin/HD66712.so" "$build/bin/hold_port" "$bin/"
    cp "$build/bin/parport/inpout32.dll" "$bin/parport/"
    cd "$bin" || exit 1
    export LD_LIBRARY_PATH=$bin/parport
    modprobe parport_pc
    modprobe ppdev
    dmesg | grep -i parport >"$results/kernel.out"
    cat /proc/sys/dev/parport/parport0/base-addr >>"$results/kernel.out" 2>&1
    step() {
      name=$1
      shift
      "$@" >"$results/$name.out" 2>&1
      echo $? >"$results/$name.status"
    }
    # Another program holds the port while lcd_host asks for it.
    held() {
      ./hold_port /dev/parport0 ${2:+"$2"} >"$results/$1.holder" 2>&1 &
      holder=$!
      tries=0
      until grep -q holding "$results/$1.holder" || [ $tries -ge 50 ]; do
        sleep 0.2
        tries=$((tries + 1))
      done
      step "$1" ./lcd_host check-port
      kill $holder
      wait $holder
    }
    module="--columns 20 --rows 4 --chip HD44780"
    step check ./lcd_host check-port
    held held_exclusively --exclusive
    held claimed ""
    # shellcheck disable=SC2086
    step walk ./lcd_host wiring-walk --step-ms 0 --page-ms 1 $module
    # shellcheck disable=SC2086
    step session ./lcd_host real-port --script "$tests/session.txt" $module
    # LCDd shows its greeting and runs until told to stop; then its goodbye.
    rmmod ppdev parport_pc
    LCDd -c "$tests/LCDd.conf" >"$results/LCDd.out" 2>&1 &
    lcdd=$!
    sleep 4
    kill -TERM $lcdd
    wait $lcdd
    echo $? >"$results/LCDd.status"
    echo "vm_guest: kernel lane ran"
    ;;
  lcdd)
    # LCDd alone on another of its connection types, the port at 0x378
    # reached by direct I/O as before.
    connection=$2
    tests=$3
    results=$4
    sed "s/^ConnectionType=.*/ConnectionType=$connection/" "$tests/LCDd.conf" >/tmp/LCDd.conf
    LCDd -c /tmp/LCDd.conf >"$results/LCDd.out" 2>&1 &
    lcdd=$!
    sleep 4
    kill -TERM $lcdd
    wait $lcdd
    echo $? >"$results/LCDd.status"
    echo "vm_guest: lcdd ran"
    ;;
  package)
    sh "$(dirname "$0")/../tests/package/installed.sh" "$2" "$3"
    echo "vm_guest: package lane ran"
    ;;
  *) echo "vm_guest: unknown task '$1'" ;;
esac
