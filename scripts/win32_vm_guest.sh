#!/bin/sh
# What the guest that scripts/win32_vm.sh boots does, read from the shared
# work tree, so that changing it needs no new system image:
#   win32_vm_guest.sh prepare      makes the 32-bit Wine prefix kept in the image
#   win32_vm_guest.sh test BUILD   runs ctest in BUILD, at the same path as on
#                                  the machine that built it, and leaves its
#                                  output and status in BUILD/vm_results
prefix=/root/wine32prefix

case "$1" in
  prepare)
    WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
      /usr/lib/wine/wine wineboot --init &&
      WINEPREFIX=$prefix /usr/lib/wine/wineserver -w && echo "win32_vm_guest: prepared"
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
    ctest --output-on-failure -j 1 --timeout 1500 >"$results/ctest.log" 2>&1
    echo $? >"$results/status"
    # cpack's own logs stay in the guest's memory otherwise.
    cp "$build"/package/_CPack_Packages/*/*/*.log "$results/" 2>/dev/null
    WINEPREFIX=$build/wineprefix /usr/lib/wine/wineserver -k 2>/dev/null
    echo "win32_vm_guest: tests ran"
    ;;
  *) echo "win32_vm_guest: unknown task '$1'" ;;
esac
