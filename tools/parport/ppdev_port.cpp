#include "ppdev_port.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>
// After sys/ioctl.h, which defines the request macros it uses.
#include <linux/ppdev.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <vector>

#include "port_registers.h"
#include "ppdev_system.h"

namespace fs = std::filesystem;

namespace {

constexpr char kPortsFolder[] = "sys/dev/parport";
constexpr char kDefaultDevice[] = "/dev/parport0";

// Plain characters, no destructor: the record is released at unload by
// another file's destructor, and the order of the two is not defined.
struct PpdevState {
  bool tried = false;       // the first access happened
  int fd = -1;              // claimed when not -1
  char device[256] = "";    // the one tried
  char problem[1024] = "";  // why nothing reaches the port; "" while it does
  bool host_asks = false;   // the host shows the problem itself
};

// Only this file reads or writes the record.
PpdevState ppdev_state;

// Said once, on standard error, since a host shows no port library's
// messages; not by a host that asks through PpdevProblem, which says it.
void Fail(const std::string& problem) {
  std::snprintf(ppdev_state.problem, sizeof ppdev_state.problem, "%s", problem.c_str());
  if (!ppdev_state.host_asks) {
    std::fprintf(stderr, "inpout32.dll (Linux parallel port): %s\n", problem.c_str());
  }
}

std::string Hex(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%03X", value);
  return text;
}

void Ignore(int) {}

// The kernel's claim waits for as long as another program holds the port
// claimed, and ends with EINTR when a signal arrives. A timer of this
// thread's own sends one after `ms`, to a handler that does nothing. A
// signal the host uses, or no timer, leaves the claim unbounded.
int ClaimWithin(int fd, int ms) {
  const int signal_number = SIGRTMAX - 3;
  struct sigaction quiet {};
  struct sigaction previous {};
  quiet.sa_handler = Ignore;  // no SA_RESTART: the wait ends instead
  sigemptyset(&quiet.sa_mask);
  if (sigaction(signal_number, nullptr, &previous) != 0 || previous.sa_handler != SIG_DFL ||
      sigaction(signal_number, &quiet, nullptr) != 0) {
    return ppdev_system.ioctl(fd, PPCLAIM, nullptr);
  }
  sigset_t ours;
  sigset_t mask;
  sigemptyset(&ours);
  sigaddset(&ours, signal_number);
  pthread_sigmask(SIG_UNBLOCK, &ours, &mask);
  sigevent event{};
  event.sigev_notify = SIGEV_THREAD_ID;
  event.sigev_signo = signal_number;
  event._sigev_un._tid = static_cast<pid_t>(syscall(SYS_gettid));
  timer_t timer{};
  const bool timed = timer_create(CLOCK_MONOTONIC, &event, &timer) == 0;
  if (timed) {
    itimerspec at{};
    at.it_value.tv_sec = ms / 1000;
    at.it_value.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    timer_settime(timer, 0, &at, nullptr);
  }
  const int result = ppdev_system.ioctl(fd, PPCLAIM, nullptr);
  const int error = errno;
  // Once the timer is gone no signal can come, and one that came was taken.
  if (timed) timer_delete(timer);
  pthread_sigmask(SIG_SETMASK, &mask, nullptr);
  sigaction(signal_number, &previous, nullptr);
  errno = error;
  return result;
}

// The kernel hands the port over with the control lines at the port's
// start state, which on our cable is E high with R/W and RS high: the
// module reads, against the port's driven data lines, and no program can
// prevent that. It is ended with E alone, R/W and RS held, so that the
// program's first write, which changes them, does not meet E still high
// and turn the read into a write of whatever the data lines carry.
void EndTheClaimsRead(uint16_t base) {
  const auto control = static_cast<uint16_t>(base + lpt::kControlOffset);
  const uint8_t lines = PpdevRead(control) & 0x0F;
  if (ppdev_state.fd >= 0 && !(lines & lpt::kEnableBit)) {
    PpdevWrite(control, lines | lpt::kEnableBit);
  }
}

// Opens and claims the device, with the data lines as outputs.
void Claim(uint16_t base) {
  ppdev_state.tried = true;
  PpdevFailure failure;
  failure.device = PpdevDeviceFor(base, ppdev_system.proc, &failure.by_variable);
  std::snprintf(ppdev_state.device, sizeof ppdev_state.device, "%s", failure.device.c_str());
  if (failure.device.empty()) {
    Fail("no parallel port at " + Hex(base) + ": the system lists " +
         PpdevPortsListed(ppdev_system.proc) +
         ". Write to one of those addresses (lcd_host's --port, or the driver's parameters), "
         "or name the device with HD_PARPORT. Nothing is written to the port.");
    return;
  }
  if (failure.by_variable && failure.device.find('/') == std::string::npos) {
    Fail("HD_PARPORT=" + failure.device +
         " is not a device's path: give one such as /dev/parport0 (the system lists its "
         "ports in /proc/sys/dev/parport/). Nothing is written to the port.");
    return;
  }
  const int fd = ppdev_system.open(failure.device.c_str(), O_RDWR);
  if (fd < 0) {
    failure.error = errno;
    Fail(PpdevCause(failure, ppdev_system.proc));
    return;
  }
  if (ClaimWithin(fd, ppdev_system.claim_wait_ms) != 0) {
    failure.error = errno;
    failure.claiming = true;
    if (failure.error == EINTR) {
      failure.error = EBUSY;
      failure.waited_ms = ppdev_system.claim_wait_ms;
    }
    ppdev_system.close(fd);
    Fail(PpdevCause(failure, ppdev_system.proc));
    return;
  }
  int output = 0;
  if (ppdev_system.ioctl(fd, PPDATADIR, &output) != 0) {
    Fail(failure.device + ": the data lines cannot be set to output: " + std::strerror(errno));
    ppdev_system.ioctl(fd, PPRELEASE, nullptr);
    ppdev_system.close(fd);
    return;
  }
  ppdev_state.fd = fd;
  EndTheClaimsRead(base);
}

// The claimed device for an access at `port`, or -1.
int DeviceFor(uint16_t port) {
  if (!ppdev_state.tried) Claim(static_cast<uint16_t>(port & ~3u));
  return ppdev_state.fd;
}

// A register access the device refused: the port is gone (unplugged card,
// unloaded driver), so it is given up rather than half-driven.
void GiveUp(const char* what) {
  const int error = errno;
  ppdev_system.ioctl(ppdev_state.fd, PPRELEASE, nullptr);
  ppdev_system.close(ppdev_state.fd);
  ppdev_state.fd = -1;
  Fail(std::string(ppdev_state.device) + ": " + what + " failed: " + std::strerror(error) +
       ". Nothing more is written to the port.");
}

struct ListedPort {
  std::string device;  // "/dev/parport0"
  long address;
};

// The ports the kernel lists under `proc`, with their base addresses.
std::vector<ListedPort> PortsListed(const std::string& proc) {
  std::vector<ListedPort> ports;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(fs::path(proc) / kPortsFolder, error)) {
    std::ifstream file(entry.path() / "base-addr");
    long address = -1;
    if (file >> address) ports.push_back({"/dev/" + entry.path().filename().string(), address});
  }
  return ports;
}

std::string Named(const PpdevFailure& failure) {
  return failure.device + (failure.by_variable ? " (named by HD_PARPORT)" : "");
}

}  // namespace

std::string PpdevDeviceFor(uint16_t base, const std::string& proc, bool* by_variable) {
  if (by_variable != nullptr) *by_variable = false;
  if (const char* chosen = std::getenv("HD_PARPORT"); chosen != nullptr && *chosen != '\0') {
    if (by_variable != nullptr) *by_variable = true;
    return chosen;
  }
  const std::vector<ListedPort> ports = PortsListed(proc);
  for (const ListedPort& port : ports) {
    if (port.address == base) return port.device;
  }
  // With no port listed the port's drivers are not loaded; opening the
  // first device then says so.
  return ports.empty() ? kDefaultDevice : "";
}

std::string PpdevPortsListed(const std::string& proc) {
  std::string listed;
  for (const ListedPort& port : PortsListed(proc)) {
    listed += (listed.empty() ? "" : ", ") + port.device + " at " +
              Hex(static_cast<unsigned>(port.address));
  }
  return listed;
}

std::string PpdevHolders(const std::string& device, const std::string& proc) {
  const std::string self = std::to_string(getpid());
  std::string holders;
  std::error_code error;
  for (const auto& process : fs::directory_iterator(proc, error)) {
    const std::string pid = process.path().filename().string();
    if (pid.find_first_not_of("0123456789") != std::string::npos || pid == self) continue;
    std::error_code unreadable;  // another user's process, or one that just ended
    for (const auto& fd : fs::directory_iterator(process.path() / "fd", unreadable)) {
      std::error_code not_a_link;
      if (fs::read_symlink(fd.path(), not_a_link).string() != device) continue;
      std::string name;
      std::getline(std::ifstream(process.path() / "comm"), name);
      holders += (holders.empty() ? "" : ", ") + pid + " (" + name + ")";
      break;
    }
  }
  return holders;
}

namespace {

// Who holds `device`: the processes the system lists, or how to find them.
std::string HeldBy(const std::string& device, const std::string& proc) {
  const std::string holders = PpdevHolders(device, proc);
  if (!holders.empty()) return "process " + holders;
  return "another program (find it with fuser -v " + device +
         ") or by the printer driver lp (sudo rmmod lp)";
}

}  // namespace

std::string PpdevCause(const PpdevFailure& failure, const std::string& proc) {
  const std::string device = Named(failure);
  std::string cause;
  switch (failure.error) {
    case ENXIO:
      // At the claim: another program registered the port as its alone.
      if (failure.claiming) {
        cause = device + ": the port is held exclusively by " + HeldBy(failure.device, proc) +
                ". Close it, or stop it, and try again";
        break;
      }
      [[fallthrough]];
    case ENOENT:
    case ENODEV:
      cause = device +
              ": no parallel port there. Load the port's drivers (sudo modprobe parport_pc, "
              "then sudo modprobe ppdev), make sure the port is enabled in the BIOS/UEFI setup, "
              "and check that the system lists it (/proc/sys/dev/parport/*/base-addr). A USB "
              "printer adapter cannot drive an LCD";
      if (failure.by_variable) cause += "; or HD_PARPORT names the wrong device";
      break;
    case EACCES:
    case EPERM:
      cause = device +
              ": permission denied. Add your user to the lp group (sudo usermod -aG lp "
              "$USER) and log in again";
      break;
    case EBUSY: {
      char waited[64] = "";
      if (failure.waited_ms > 0) {
        std::snprintf(waited, sizeof waited, " (waited %.1f s for it to let go)",
                      failure.waited_ms / 1000.0);
      }
      cause = device + ": the port is busy, held by " + HeldBy(failure.device, proc) + waited +
              ". Close it, or stop it, and try again";
      break;
    }
    case ENOTTY:
    case EISDIR:
      cause = device + " is not a parallel port device (" + std::strerror(failure.error) +
              "): a port is a device such as /dev/parport0";
      break;
    default:
      cause = device + ": " + std::strerror(failure.error);
  }
  return cause + ". Nothing is written to the port.";
}

const char* PpdevProblem() {
  ppdev_state.host_asks = true;
  return ppdev_state.problem[0] == '\0' ? nullptr : ppdev_state.problem;
}

void PpdevWrite(uint16_t port, uint8_t value) {
  const int fd = DeviceFor(port);
  if (fd < 0) return;
  const uint16_t offset = port & 3u;
  if (offset != 0 && offset != lpt::kControlOffset) return;
  if (ppdev_system.ioctl(fd, offset == 0 ? PPWDATA : PPWCONTROL, &value) != 0) {
    GiveUp("a register write");
  }
}

uint8_t PpdevRead(uint16_t port) {
  const int fd = DeviceFor(port);
  const uint16_t offset = port & 3u;
  unsigned char value = 0xFF;
  if (fd < 0 || (offset != 0 && offset != lpt::kControlOffset)) return 0xFF;
  if (ppdev_system.ioctl(fd, offset == 0 ? PPRDATA : PPRCONTROL, &value) != 0) {
    GiveUp("a register read");
    return 0xFF;
  }
  return value;
}

void PpdevRelease() {
  if (ppdev_state.fd >= 0) {
    ppdev_system.ioctl(ppdev_state.fd, PPRELEASE, nullptr);
    ppdev_system.close(ppdev_state.fd);
  }
  ppdev_state = PpdevState{};
}
