#include "parport_model.h"

#include <sys/ioctl.h>
#include <sys/time.h>
// After sys/ioctl.h, which defines the request macros it uses.
#include <linux/parport.h>
#include <linux/ppdev.h>

#include <cerrno>

#include "port_registers.h"
#include "user_memory.h"
#include "wiring.h"

namespace vparport {

namespace {

// A PC-style port drives four control lines; the driver keeps a soft copy
// of them and reads that back, never the register.
constexpr uint8_t kControlOutputs = 0x0F;
// What a port reads on status lines that nothing drives: pulled high, BUSY
// inverted by the port.
constexpr uint8_t kUndrivenStatus = 0x78;
// What parport_pc sets on the control lines to write in compatibility mode:
// Select-in and Initialize.
constexpr uint8_t kCompatibilityWriteControl = 0x0C;
constexpr unsigned kModes = PARPORT_MODE_PCSPP | PARPORT_MODE_TRISTATE;

// A request's argument as the kernel takes and gives it: from and to the
// program's memory, -EFAULT where that memory cannot be reached.
template <typename Value>
int Read(const void* argument, Value& value) {
  return CopyFromUser(&value, argument, sizeof value) ? 0 : -EFAULT;
}

template <typename Value>
int Write(void* argument, Value value) {
  return CopyToUser(argument, &value, sizeof value) ? 0 : -EFAULT;
}

// What the module sees: the latch while the port drives the data lines.
void DriveData(Parport& port) {
  if (port.reverse) return;
  vlcd::ReceivePortWrite(port.lcd, port.lcd.module.port_base, port.data, port.now());
}

// The module sees the control lines, and whether the port drives the data
// lines, as a bidirectional port's control register shows both.
uint8_t ControlSeen(const Parport& port) {
  return port.control | (port.reverse ? lpt::kDataInputBit : 0);
}

void DriveControl(Parport& port, uint8_t value) {
  port.control = value & kControlOutputs;
  vlcd::ReceivePortWrite(port.lcd, vlcd::ControlRegister(port.lcd.module), ControlSeen(port),
                         port.now());
}

// The first claim registers the client: refused (ENXIO) beside an exclusive
// client, or when it wants the port to itself and others are registered.
int Register(Parport& port, Client& client) {
  if (port.exclusive || (client.exclusive_wanted && port.registered > 0)) return -ENXIO;
  client.registered = true;
  ++port.registered;
  port.exclusive = client.exclusive_wanted;
  return 0;
}

void Release(Parport& port, int handle, Client& client) {
  client.claimed = false;
  client.control = port.control;
  client.reverse = port.reverse;
  if (port.holder == handle) port.holder = 0;
  port.released.notify_all();
}

int Claim(Parport& port, std::unique_lock<std::mutex>& hold, int handle) {
  Client& client = port.clients.at(handle);
  if (client.claimed) return -EINVAL;
  if (!client.registered) {
    if (const int refused = Register(port, client)) return refused;
  }
  // As the kernel's claim: it waits for the holder to let go.
  ++port.claims_waiting;
  port.released.wait(hold, [&port] { return port.holder == 0; });
  --port.claims_waiting;
  // Closed by another thread meanwhile.
  const auto still = port.clients.find(handle);
  if (still == port.clients.end()) return -EBADF;
  port.holder = handle;
  Client& claimed = still->second;
  claimed.claimed = true;
  // The kernel hands over the port with the claimant's own control lines
  // and data direction: as the client left them, or for a new one its
  // start state. The data latch stays as it was.
  const bool was_reverse = port.reverse;
  port.reverse = claimed.reverse;
  port.control = claimed.control;
  vlcd::ReceiveClaim(port.lcd, ControlSeen(port), port.now());
  if (was_reverse) DriveData(port);
  return 0;
}

// Said by Unclaimed of a request that needs the claim; no errno is positive.
constexpr int kNeedsTheClaim = 1;

// The requests a client may make without the claim.
int Unclaimed(Parport& port, std::unique_lock<std::mutex>& hold, int handle, unsigned long request,
              void* argument) {
  Client& client = port.clients.at(handle);
  switch (request) {
    case PPCLAIM:
      return Claim(port, hold, handle);
    case PPEXCL:
      if (client.registered) return client.exclusive_wanted ? 0 : -EINVAL;
      client.exclusive_wanted = true;
      return 0;
    case PPSETMODE:
      return Read(argument, client.mode);
    case PPGETMODE:
      return Write(argument, client.mode);
    case PPSETPHASE:
      return Read(argument, client.phase);
    case PPGETPHASE:
      return Write(argument, client.phase);
    case PPGETMODES:
      return Write(argument, kModes);
    case PPSETFLAGS: {
      int flags = 0;
      if (const int fault = Read(argument, flags)) return fault;
      client.flags = flags & PP_FLAGMASK;
      return 0;
    }
    case PPGETFLAGS:
      return Write(argument, client.flags);
    default:
      return client.claimed ? kNeedsTheClaim : -EINVAL;
  }
}

// The requests that need the claim.
int Claimed(Parport& port, int handle, unsigned long request, void* argument) {
  Client& client = port.clients.at(handle);
  switch (request) {
    case PPRELEASE:
      Release(port, handle, client);
      return 0;
    case PPYIELD:
      return 0;
    case PPWDATA: {
      uint8_t data = 0;
      if (const int fault = Read(argument, data)) return fault;
      port.data = data;
      DriveData(port);
      return 0;
    }
    case PPRDATA:
      return Write(argument, static_cast<uint8_t>(vlcd::ReceivePortRead(
                                 port.lcd, port.lcd.module.port_base, port.now())));
    case PPWCONTROL: {
      uint8_t control = 0;
      if (const int fault = Read(argument, control)) return fault;
      DriveControl(port, control);
      return 0;
    }
    case PPRCONTROL:
      return Write(argument, port.control);
    case PPFCONTROL: {
      ppdev_frob_struct frob{};
      if (const int fault = Read(argument, frob)) return fault;
      const uint8_t mask = frob.mask & kControlOutputs;
      DriveControl(port, static_cast<uint8_t>((port.control & ~mask) ^ (frob.val & mask)));
      return 0;
    }
    case PPRSTATUS:
      return Write(argument, kUndrivenStatus);
    case PPDATADIR: {
      int reverse = 0;
      if (const int fault = Read(argument, reverse)) return fault;
      port.reverse = reverse != 0;
      DriveControl(port, port.control);
      DriveData(port);
      return 0;
    }
    case PPNEGOT: {
      // Compatibility mode needs no handshake; an LCD answers no other.
      int mode = 0;
      if (const int fault = Read(argument, mode)) return fault;
      return mode == IEEE1284_MODE_COMPAT ? 0 : -EIO;
    }
    case PPWCTLONIRQ:
      return Read(argument, client.irq_control);
    case PPCLRIRQ:
      return Write(argument, 0);  // an LCD raises no interrupt
    case PPSETTIME: {
      timeval time{};
      if (const int fault = Read(argument, time)) return fault;
      // The kernel refuses a timeout that is negative, or none at all once
      // counted in its ticks; one too long to count is refused here too.
      int64_t seconds_ns = 0;
      int64_t micros_ns = 0;
      int64_t timeout_ns = 0;
      if (time.tv_sec < 0 || time.tv_usec < 0 ||
          __builtin_mul_overflow(time.tv_sec, int64_t{1000000000}, &seconds_ns) ||
          __builtin_mul_overflow(time.tv_usec, int64_t{1000}, &micros_ns) ||
          __builtin_add_overflow(seconds_ns, micros_ns, &timeout_ns) || timeout_ns == 0) {
        return -EINVAL;
      }
      client.timeout_ns = timeout_ns;
      return 0;
    }
    case PPGETTIME: {
      timeval time{};
      time.tv_sec = static_cast<time_t>(client.timeout_ns / 1000000000);
      time.tv_usec = static_cast<suseconds_t>(client.timeout_ns % 1000000000 / 1000);
      return Write(argument, time);
    }
    default:
      return -EINVAL;
  }
}

}  // namespace

void MakeParport(Parport& port, const vlcd::Module& module, int64_t (*now)()) {
  port.lcd = vlcd::MakeVirtualLcd(module);
  port.data = vlcd::kPowerOnData;
  port.control = vlcd::kPowerOnControl & kControlOutputs;
  port.now = now;
}

int OpenClient(Parport& port) {
  const std::lock_guard<std::mutex> hold(port.lock);
  const int handle = port.next_handle++;
  port.clients[handle] = Client{};
  return handle;
}

int ClientRequest(Parport& port, int handle, unsigned long request, void* argument) {
  std::unique_lock<std::mutex> hold(port.lock);
  if (port.clients.count(handle) == 0) return -EBADF;
  const int unclaimed = Unclaimed(port, hold, handle, request, argument);
  if (unclaimed != kNeedsTheClaim) return unclaimed;
  return Claimed(port, handle, request, argument);
}

ssize_t ClientRead(Parport& port, int handle, void* buffer, size_t count) {
  (void)buffer;
  const std::lock_guard<std::mutex> hold(port.lock);
  const auto found = port.clients.find(handle);
  if (found == port.clients.end()) return -EBADF;
  if (!found->second.claimed) return -EINVAL;
  if (count == 0) return 0;
  // ppdev reads in a reverse mode it first negotiates (byte, then nibble);
  // a module answers neither, so the read fails before any byte is copied.
  return -EIO;
}

ssize_t ClientWrite(Parport& port, int handle, const void* buffer, size_t count) {
  const std::lock_guard<std::mutex> hold(port.lock);
  const auto found = port.clients.find(handle);
  if (found == port.clients.end()) return -EBADF;
  if (!found->second.claimed) return -EINVAL;
  if (count == 0) return 0;
  unsigned char first = 0;
  if (!CopyFromUser(&first, buffer, 1)) return -EFAULT;
  // A compatibility-mode write as parport_pc makes it: Select-in and
  // Initialize set, the data lines driven, then a wait for the printer to
  // be ready. Nothing on an LCD drives the status lines, and undriven they
  // read as paper out, so the kernel gives up before the first byte.
  port.reverse = false;
  DriveControl(port, kCompatibilityWriteControl);
  DriveData(port);
  return 0;
}

void CloseClient(Parport& port, int handle) {
  const std::lock_guard<std::mutex> hold(port.lock);
  const auto found = port.clients.find(handle);
  if (found == port.clients.end()) return;
  Client& client = found->second;
  if (client.claimed) Release(port, handle, client);
  if (client.registered) {
    --port.registered;
    if (client.exclusive_wanted) port.exclusive = false;
  }
  port.clients.erase(found);
}

}  // namespace vparport
