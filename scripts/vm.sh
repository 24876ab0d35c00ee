#!/usr/bin/env bash
# A small Debian system booted under qemu-system-x86_64 (software
# emulation), for two lanes: the 32-bit Windows lane's tests on a machine
# whose kernel runs no 32-bit programs (the guest has Debian's 32-bit Wine),
# and the real-kernel lane, where the Linux tools meet a kernel's parallel
# port driver. Lanes are built on this machine as usual; the guest sees the
# work tree at the same path (a 9p share) and runs them from there.
#
#   scripts/vm.sh image          makes the system image when there is none
#                                for this recipe (about 10 min)
#   scripts/vm.sh test BUILD     boots it and runs `ctest` in BUILD
#                                (build/win32), its output on this terminal;
#                                exits with ctest's status
#   scripts/vm.sh kernel BUILD   boots it with a parallel port and runs the
#                                Linux lane's tools in BUILD (build/linux)
#                                on its kernel; exits non-zero when a check
#                                of what they did fails
#   scripts/vm.sh package BUILD DEB
#                                boots it with a parallel port, installs the
#                                Debian package DEB, uses it as a user
#                                would, purges it; exits non-zero when a
#                                check fails
#
# The image lives outside the work tree, in $HD66712_VM_CACHE (default
# ~/.cache/hd66712-vm), under the hash of this file's recipe, so later
# runs reuse it and a changed recipe makes a new one.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root_dir=$(pwd)

# The recipe: what the guest is made of. Changing any of it makes a new image.
suite=bookworm
mirror=http://deb.debian.org/debian
packages="linux-image-amd64 kmod udev procps wine wine32:i386 xvfb x11-utils x11-apps imagemagick
cmake make binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 libstdc++6 lcdproc lcdproc-extra-drivers
lcd4linux man-db"
recipe_version=4
# The guest's first program: it mounts the work tree, shared at the same
# path, and runs the task from there (scripts/vm_guest.sh). Pages of a
# program Wine maps must come through the share's cache (cache=mmap).
read -r -d '' guest_init <<'INIT'
#!/bin/sh
PATH=/usr/sbin:/usr/bin:/sbin:/bin
export PATH HOME=/root LANG=C.UTF-8
mount -t proc proc /proc
mount -t sysfs sys /sys 2>/dev/null
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
work=$1
shift
modprobe 9pnet_virtio
modprobe 9p
mkdir -p "$work"
if mount -t 9p -o trans=virtio,version=9p2000.L,msize=524288,cache=mmap work "$work"; then
  sh "$work/scripts/vm_guest.sh" "$@"
else
  echo "vm_guest: the work tree could not be mounted"
fi
sync
echo o >/proc/sysrq-trigger
sleep 30
INIT

# With SMAP on, every 32-bit Wine process in the guest dies on an iret.
cpu="max,-smap"
memory=3G

cache=${HD66712_VM_CACHE:-$HOME/.cache/hd66712-vm}
key=$(printf '%s\n' "$suite" "$mirror" "$packages" "$recipe_version" "$guest_init" |
  sha256sum | cut -c1-16)
image_dir=$cache/$key
image=$image_dir/root.ext4

# Making the system needs root (debootstrap, chroot, mount); booting does not.
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

say() { echo "vm: $*"; }
die() {
  echo "vm: $*" >&2
  exit 1
}

# Software emulation, which every machine has, one host thread per guest
# core; HD66712_VM_ACCEL=kvm asks for KVM instead (with -cpu max, KVM inside
# another virtual machine can refuse the CPU's model registers, and qemu
# then aborts).
accelerator() {
  if [ "${HD66712_VM_ACCEL:-}" = kvm ]; then echo "-accel kvm"; else echo "-accel tcg,thread=multi"; fi
}
# The guest gets the machine's cores, up to 4.
cores=$(nproc)
((cores > 4)) && cores=4

# Boots the image with `init` as the guest's first program; the console goes
# to `console`. Gives up after `limit` seconds.
# Further arguments go to qemu.
boot() {
  local init=$1 console=$2 limit=$3 drive_options=$4
  shift 4
  # shellcheck disable=SC2046
  timeout --kill-after=10 "$limit" qemu-system-x86_64 $(accelerator) -cpu "$cpu" -m "$memory" \
    -smp "$cores" -nographic -no-reboot "$@" \
    -kernel "$image_dir/vmlinuz" -initrd "$image_dir/initrd.img" \
    -append "root=/dev/vda rw console=ttyS0 panic=-1 init=$init" \
    -drive "file=$image,format=raw,if=virtio$drive_options" \
    -virtfs "local,path=$root_dir,mount_tag=work,security_model=none,id=work" \
    -serial "file:$console" -monitor none </dev/null >/dev/null 2>&1
}

# Whoever comes second (test.sh makes the image in the background while the
# lanes build) waits for the first and then finds it made.
make_image() {
  mkdir -p "$cache" || die "cannot create $cache"
  exec 9>"$cache/lock"
  flock 9
  [ -s "$image_dir/ready" ] && { exec 9>&-; return 0; }
  if ! command -v debootstrap >/dev/null || ! command -v qemu-system-x86_64 >/dev/null; then
    die "debootstrap and qemu-system-x86_64 are needed (scripts/setup.sh installs them)"
  fi
  local started=$SECONDS tree=$image_dir/tree
  say "making the guest system in $image_dir (once per recipe; about 10 minutes)"
  # Images of earlier recipes are of no more use.
  find "$cache" -mindepth 1 -maxdepth 1 -type d ! -name "$key" -exec rm -rf {} + 2>/dev/null
  rm -rf "$image_dir"
  mkdir -p "$tree" || die "cannot create $tree"
  $sudo debootstrap --variant=minbase "$suite" "$tree" "$mirror" >"$image_dir/debootstrap.log" 2>&1 ||
    die "debootstrap failed; see $image_dir/debootstrap.log"
  $sudo mount -t proc proc "$tree/proc"
  $sudo mount --bind /dev "$tree/dev"
  # Packages with a service (LCDd) must not start it inside the chroot.
  printf '#!/bin/sh\nexit 101\n' | $sudo tee "$tree/usr/sbin/policy-rc.d" >/dev/null
  $sudo chmod 755 "$tree/usr/sbin/policy-rc.d"
  local status=0
  # The echo joins the list's lines into one line of words for sh -c.
  # shellcheck disable=SC2086,SC2116
  $sudo chroot "$tree" /bin/sh -c "dpkg --add-architecture i386 && apt-get update -qq &&
      DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $(echo $packages)" \
    >"$image_dir/install.log" 2>&1 || status=$?
  $sudo umount "$tree/dev" "$tree/proc"
  ((status == 0)) || die "installing the guest's packages failed; see $image_dir/install.log"
  $sudo chroot "$tree" apt-get clean
  $sudo cp "$tree"/boot/vmlinuz-* "$image_dir/vmlinuz"
  $sudo cp "$tree"/boot/initrd.img-* "$image_dir/initrd.img"
  $sudo chmod a+r "$image_dir/vmlinuz" "$image_dir/initrd.img"
  printf '%s\n' "$guest_init" | $sudo tee "$tree/guest.sh" >/dev/null
  $sudo chmod 755 "$tree/guest.sh"
  $sudo mkfs.ext4 -q -F -L hd66712vm -d "$tree" "$image" 6G >"$image_dir/mkfs.log" 2>&1 ||
    die "mkfs.ext4 failed; see $image_dir/mkfs.log"
  $sudo chown "$(id -u):$(id -g)" "$image"
  $sudo rm -rf "$tree"
  # The first start of 32-bit Wine makes its prefix; it is kept in the image.
  say "first boot: making the 32-bit Wine prefix in the guest"
  boot "/guest.sh $root_dir prepare" "$image_dir/prepare.console" 900 "" ||
    true
  grep -q "vm_guest: prepared" "$image_dir/prepare.console" ||
    die "the guest did not prepare its Wine prefix; its console: $image_dir/prepare.console"
  echo "$((SECONDS - started))" >"$image_dir/ready"
  say "guest system ready in $((SECONDS - started)) s"
  exec 9>&-
}

run_tests() {
  local build=$1
  [ -f "$build/CTestTestfile.cmake" ] || die "'$build' holds no built lane to test"
  make_image || exit 1
  local results=$build/vm_results console
  rm -rf "$results"
  mkdir -p "$results"
  console=$results/console.log
  say "booting the guest to run the tests of $build (software emulation is slow: minutes)"
  local started=$SECONDS
  # Changes to the system stay in memory: the cached image is never written.
  boot "/guest.sh $root_dir test $root_dir/$build" "$console" 3600 ",snapshot=on"
  if [ ! -f "$results/status" ]; then
    echo "vm: the guest ended without a result; the last of its console:" >&2
    tail -40 "$console" >&2
    exit 1
  fi
  cat "$results/ctest.log"
  say "the guest ran for $((SECONDS - started)) s"
  exit "$(cat "$results/status")"
}

# The real-kernel lane: the guest's kernel (parport_pc, ppdev) drives an
# emulated parallel port at 0x378, which qemu passes on as ppdev requests to
# a device here that the virtual parallel port library makes the virtual
# LCD; what the guest's programs said is then held against what that LCD saw.
run_kernel_lane() {
  local build=$1 bin=$1/bin
  for file in lcd_host HD66712.so hold_port parport/inpout32.dll virtual_port/virtual_parport.so; do
    [ -f "$bin/$file" ] || die "'$build' holds no built $file: build the linux lane first"
  done
  make_image || exit 1
  local results=$build/kernel_results
  rm -rf "$results"
  mkdir -p "$results"
  say "booting the guest for the real-kernel lane"
  local started=$SECONDS device=$results/virtual_parport0
  HD_VLCD_PARPORT=$device HD_VLCD_CHIP=HD44780 HD_VLCD_COLUMNS=20 HD_VLCD_ROWS=4 \
    HD_VLCD_TRACE=1 HD_VLCD_OUTPUT=$results/screen LD_PRELOAD=$root_dir/$bin/virtual_port/virtual_parport.so \
    boot "/guest.sh $root_dir kernel $root_dir/$build $root_dir/$results" "$results/console.log" 600 \
    ",snapshot=on" -chardev "parallel,id=lpt0,path=$device" -device "isa-parallel,chardev=lpt0"
  say "the guest ran for $((SECONDS - started)) s"
  if ! grep -q "vm_guest: kernel lane ran" "$results/console.log"; then
    echo "vm: the guest ended before the kernel lane's end; the last of its console:" >&2
    tail -40 "$results/console.log" >&2
    exit 1
  fi
  local failed=0
  tests/kernel/check_results.sh "$build" "$results" || failed=1
  # LCDd on its own cables: the default 4bit and the 8bit, each a boot of
  # its own with the virtual LCD wired as that cable is.
  local run connection cable
  for run in 4bit:lcdproc-4bit 8bit:lcdproc-8bit; do
    connection=${run%%:*}
    cable=${run#*:}
    local lcdd=$results/lcdd-$connection
    mkdir -p "$lcdd"
    started=$SECONDS
    HD_VLCD_PARPORT=$lcdd/virtual_parport0 HD_VLCD_CHIP=HD44780 HD_VLCD_COLUMNS=20 HD_VLCD_ROWS=4 \
      HD_VLCD_CABLE=$cable HD_VLCD_TRACE=1 HD_VLCD_OUTPUT=$lcdd/screen \
      LD_PRELOAD=$root_dir/$bin/virtual_port/virtual_parport.so \
      boot "/guest.sh $root_dir lcdd $connection $root_dir/tests/kernel $root_dir/$lcdd" \
      "$lcdd/console.log" 300 ",snapshot=on" \
      -chardev "parallel,id=lpt0,path=$lcdd/virtual_parport0" -device "isa-parallel,chardev=lpt0"
    say "the guest ran LCDd on $connection for $((SECONDS - started)) s"
    tests/kernel/check_lcdd.sh "$lcdd" "$connection" || failed=1
  done
  return $failed
}

# The Debian package installed into the clean guest, used with nothing from
# the build tree, and purged (tests/package/installed.sh). The guest's port
# leads to a virtual LCD here, through BUILD's virtual parallel port.
run_package_lane() {
  local build=$1 deb=$2
  [ -f "$deb" ] || die "no package '$deb': make it with cpack -G DEB in $build"
  [ -f "$build/bin/virtual_port/virtual_parport.so" ] || die "'$build' holds no virtual parallel port"
  make_image || exit 1
  local results=$build/package_results started=$SECONDS
  rm -rf "$results"
  mkdir -p "$results"
  # The kernel hands init no argument with a dot in it (it takes such for a
  # module's parameter): the guest finds the package in the results folder.
  cp "$deb" "$results/" || die "cannot copy $deb to $results"
  say "booting the guest to install $(basename "$deb")"
  HD_VLCD_PARPORT=$results/virtual_parport0 HD_VLCD_CHIP=HD44780 HD_VLCD_COLUMNS=20 HD_VLCD_ROWS=4 \
    HD_VLCD_OUTPUT=$results/screen LD_PRELOAD=$root_dir/$build/bin/virtual_port/virtual_parport.so \
    boot "/guest.sh $root_dir package $root_dir/tests/kernel $root_dir/$results" \
    "$results/console.log" 600 ",snapshot=on" \
    -chardev "parallel,id=lpt0,path=$results/virtual_parport0" -device "isa-parallel,chardev=lpt0"
  say "the guest ran for $((SECONDS - started)) s"
  sed 's/^/package: /' "$results/verdicts" 2>/dev/null
  if ! grep -q "^installed.sh: done" "$results/verdicts" 2>/dev/null; then
    echo "vm: the guest ended before the package's checks did; the last of its console:" >&2
    tail -40 "$results/console.log" >&2
    return 1
  fi
  # What the installed driver wrote through the guest's kernel reached the
  # module here.
  if grep -q "│Through a kernel    │" "$results/screen.txt" 2>/dev/null; then
    echo "package: ok: the installed driver's session reached the virtual LCD through the guest's kernel"
  else
    echo "package: FAILED: the installed driver's session is not on the virtual LCD:"
    sed 's/^/    /' "$results/screen.txt" 2>/dev/null | head -8
    return 1
  fi
  ! grep -q "^FAILED" "$results/verdicts"
}

case "${1:-}" in
  image) make_image ;;
  test) [ $# -eq 2 ] || die "usage: vm.sh test BUILD_FOLDER"; run_tests "$2" ;;
  kernel) [ $# -eq 2 ] || die "usage: vm.sh kernel LINUX_BUILD_FOLDER"; run_kernel_lane "$2" ;;
  package) [ $# -eq 3 ] || die "usage: vm.sh package LINUX_BUILD_FOLDER DEB"; run_package_lane "$2" "$3" ;;
  *) echo "usage: scripts/vm.sh image | test BUILD_FOLDER | kernel LINUX_BUILD_FOLDER | package LINUX_BUILD_FOLDER DEB" >&2; exit 2 ;;
esac
