#include "parport_model.h"

#include <sys/ioctl.h>
#include <sys/time.h>
// After sys/ioctl.h, which defines the request macros it uses.
#include <linux/parport.h>
#include <linux/ppdev.h>

#include <cerrno>
#include <cstring>

#include "wiring.h"

namespace vparport {

namespace {

// A PC-style port drives four control lines; the driver keeps a soft copy
// of them and reads that back, never the register.
constexpr uint8_t kControlOutputs = 0x0F;
// What a port reads on status lines that nothing drives: pulled high, BUSY
// inverted by the port.
constexpr uint8_t kUndrivenStatus = 0x78;
constexpr unsigned kModes = PARPORT_MODE_PCSPP | PARPORT_MODE_TRISTATE;

template <typename Value>
Value Read(void* argument) {
  Value value;
  std::memcpy(&value, argument, sizeof value);
  return value;
}

template <typename Value>
void Write(void* argument, Value value) {
  std::memcpy(argument, &value, sizeof value);
}

// What the module sees: the latch while the port drives the data lines.
void DriveData(Parport& port) {
  if (port.reverse) return;
  vlcd::ReceivePortWrite(port.lcd, port.lcd.module.port_base, port.data, port.now());
}

// The module sees the control lines, and whether the port drives the data
// lines, as a bidirectional port's control register shows both.
uint8_t ControlSeen(const Parport& port) {
  return port.control | (port.reverse ? vlcd::kDataInputBit : 0);
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
  port.released.wait(hold, [&port] { return port.holder == 0; });
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
      client.mode = Read<int>(argument);
      return 0;
    case PPGETMODE:
      Write<int>(argument, client.mode);
      return 0;
    case PPSETPHASE:
      client.phase = Read<int>(argument);
      return 0;
    case PPGETPHASE:
      Write<int>(argument, client.phase);
      return 0;
    case PPGETMODES:
      Write<unsigned>(argument, kModes);
      return 0;
    case PPSETFLAGS:
      client.flags = Read<int>(argument) & PP_FLAGMASK;
      return 0;
    case PPGETFLAGS:
      Write<int>(argument, client.flags);
      return 0;
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
    case PPWDATA:
      port.data = Read<uint8_t>(argument);
      DriveData(port);
      return 0;
    case PPRDATA:
      Write<uint8_t>(argument, static_cast<uint8_t>(vlcd::ReceivePortRead(
                                   port.lcd, port.lcd.module.port_base, port.now())));
      return 0;
    case PPWCONTROL:
      DriveControl(port, Read<uint8_t>(argument));
      return 0;
    case PPRCONTROL:
      Write<uint8_t>(argument, port.control);
      return 0;
    case PPFCONTROL: {
      const auto frob = Read<ppdev_frob_struct>(argument);
      const uint8_t mask = frob.mask & kControlOutputs;
      DriveControl(port, static_cast<uint8_t>((port.control & ~mask) ^ (frob.val & mask)));
      return 0;
    }
    case PPRSTATUS:
      Write<uint8_t>(argument, kUndrivenStatus);
      return 0;
    case PPDATADIR:
      port.reverse = Read<int>(argument) != 0;
      DriveControl(port, port.control);
      DriveData(port);
      return 0;
    case PPNEGOT:
      // Compatibility mode needs no handshake; an LCD answers no other.
      return Read<int>(argument) == IEEE1284_MODE_COMPAT ? 0 : -EIO;
    case PPWCTLONIRQ:
      client.irq_control = Read<unsigned char>(argument);
      return 0;
    case PPCLRIRQ:
      Write<int>(argument, 0);  // an LCD raises no interrupt
      return 0;
    case PPSETTIME: {
      const auto time = Read<timeval>(argument);
      if (time.tv_sec < 0 || time.tv_usec < 0) return -EINVAL;
      client.timeout_ns = time.tv_sec * 1000000000LL + time.tv_usec * 1000LL;
      return 0;
    }
    case PPGETTIME: {
      timeval time{};
      time.tv_sec = static_cast<time_t>(client.timeout_ns / 1000000000);
      time.tv_usec = static_cast<suseconds_t>(client.timeout_ns % 1000000000 / 1000);
      Write<timeval>(argument, time);
      return 0;
    }
    default:
      return -EINVAL;
  }
}

}  // namespace

void MakeParport(Parport& port, const vlcd::Module& module, int64_t (*now)()) {
  port.lcd = vlcd::MakeVirtualLcd(module);
  port.data = port.lcd.bus.data_register;
  port.control = port.lcd.bus.control_register & kControlOutputs;
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
  if (argument == nullptr && _IOC_SIZE(request) > 0) return -EFAULT;
  const int unclaimed = Unclaimed(port, hold, handle, request, argument);
  if (unclaimed != kNeedsTheClaim) return unclaimed;
  return Claimed(port, handle, request, argument);
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
