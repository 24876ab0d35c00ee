#!/bin/sh
# Run in the emulated machine (scripts/vm.sh package): the Debian package
# installed into a clean system, used there as a user would, with nothing
# from the build tree (commands from PATH, files from where the package
# put them), then purged. Each check's verdict goes to RESULTS/verdicts;
# the guest's kernel drives an emulated port at 0x378 whose far side is the
# virtual LCD on the machine that booted it.
#   tests/package/installed.sh TESTS RESULTS (which holds the package)
tests=$1
results=$2
deb=$(ls "$results"/*.deb)
verdicts=$results/verdicts
: >"$verdicts"
ok() { echo "ok: $*" >>"$verdicts"; }
failed() {
  echo "FAILED: $*" >>"$verdicts"
  [ -f "$results/last.out" ] && sed 's/^/    /' "$results/last.out" | tail -15 >>"$verdicts"
}
# Runs a command, its output to last.out and to RESULTS/NAME.out.
run() {
  name=$1
  shift
  "$@" >"$results/last.out" 2>&1
  status=$?
  cp "$results/last.out" "$results/$name.out"
  return $status
}
said() { grep -q -- "$1" "$results/last.out"; }

# Everything on the system's own disk before, to hold against after.
files() {
  find / -xdev \( -path /var/log -o -path /var/cache -o -path /var/lib/dpkg -o -path /root \
    -o -path /run \) \
    -prune -o -print | sort
}
files >/tmp/before

if run install dpkg -i "$deb"; then
  ok "dpkg -i installed $(dpkg-query -W -f='${Package} ${Version}' hd66712-tools)"
else
  failed "dpkg -i $deb"
fi
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
unset LD_LIBRARY_PATH LD_PRELOAD
mkdir -p /tmp/user && cd /tmp/user || exit 1

for command in lcd_host virtual-lcd-run; do
  where=$(command -v $command)
  if [ "$where" = /usr/bin/$command ]; then ok "$command is $where"; else failed "$command is '${where}'"; fi
done

if run demo lcd_host demo --chip HD44780 --columns 16 --rows 2 --output demo &&
  grep -q "│ HD66712 virtual│" demo.txt && said ", 0 timing violations"; then
  ok "lcd_host's demo drew on the virtual LCD: $(sed -n 2p demo.txt)"
else
  failed "lcd_host's demo"
fi

modprobe parport_pc
modprobe ppdev
library=/usr/lib/x86_64-linux-gnu/hd66712/parport/inpout32.dll
if run check lcd_host check-port --port 0x378 && said "Port library: $library" &&
  said "a parallel port answers at 0x378"; then
  ok "lcd_host check-port reached the kernel's port through $library"
else
  failed "lcd_host check-port through the installed ppdev library"
fi
if run session lcd_host real-port --script "$tests/session.txt" --columns 20 --rows 4 \
  --chip HD44780 --params LPT1,HD44780 && said "commands sent"; then
  ok "lcd_host real-port: the driver found the installed port library by name"
else
  failed "lcd_host real-port through the installed ppdev library"
fi

# lcd4linux through the installed launcher, on its own 4-bit cable.
cat >lcd4linux.conf <<'CONF'
Display Winamp {
  Driver 'HD44780'
  Model 'generic'
  UseBusy 0
  Port '/tmp/user/parport'
  Size '20x2'
  Bits '4'
}
Widget Hello {
  class 'Text'
  expression 'Installed on Debian'
  width 20
}
Layout Test {
  Row1 {
    Col1 'Hello'
  }
}
Display 'Winamp'
Layout 'Test'
CONF
chmod 600 lcd4linux.conf
if run lcd4linux virtual-lcd-run --no-live --device /tmp/user/parport --chip HD44780 --rows 2 \
  --cable lcd4linux-4bit --output lcd4linux -- timeout 8 lcd4linux -F -q -f lcd4linux.conf;
  [ -f lcd4linux.txt ] && grep -q "│Installed on Debian │" lcd4linux.txt; then
  ok "lcd4linux drew through the installed virtual-lcd-run: $(sed -n 2p lcd4linux.txt)"
else
  failed "lcd4linux through the installed virtual-lcd-run"
  [ -f lcd4linux.txt ] && sed 's/^/    /' lcd4linux.txt >>"$verdicts"
fi

for page in lcd_host virtual-lcd-run; do
  if run "man-$page" env MANPAGER=cat MANWIDTH=80 man "$page" && said "^NAME" &&
    said "$page"; then
    ok "man $page: $(grep -A1 '^NAME' "$results/last.out" | tail -1 | sed 's/^ *//')"
  else
    failed "man $page"
  fi
done

cd / || exit 1
if run purge dpkg --purge hd66712-tools && ! dpkg-query -W hd66712-tools >/dev/null 2>&1; then
  ok "dpkg --purge removed the package"
else
  failed "dpkg --purge hd66712-tools"
fi
files >/tmp/after
if diff /tmp/before /tmp/after >"$results/last.out"; then
  ok "nothing of the package is left: the system's files are as before it was installed"
else
  failed "files differ after the purge (< before, > after)"
  sed 's/^/    /' "$results/last.out" | head -20 >>"$verdicts"
fi
echo "installed.sh: done" >>"$verdicts"
