// A PC parallel port as Linux's ppdev driver presents it (/dev/parportN),
// with the virtual LCD on its pins: the requests a parallel-port LCD driver
// or QEMU makes, answered as the kernel answers them. Each open of the
// device is a client; a client registers with the port at its first claim
// (exclusively after PPEXCL), and one client at a time holds the port
// claimed. A claim waits while another client holds it, as the kernel's
// does; a claim beside an exclusive client, or an exclusive one beside any
// other, fails with ENXIO. A claim sets the control lines to the
// claimant's own, as the kernel's does. Register requests need the claim
// (EINVAL without it). Every call is serialised, so clients on several threads
// meet one consistent port.
#ifndef VIRTUAL_PARPORT_PARPORT_MODEL_H
#define VIRTUAL_PARPORT_PARPORT_MODEL_H

#include <sys/types.h>

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>

#include "virtual_lcd.h"

namespace vparport {

struct Client {
  bool exclusive_wanted = false;  // PPEXCL before the first claim
  bool registered = false;
  bool claimed = false;
  int mode = 0;  // IEEE 1284 mode, as PPSETMODE left it
  int phase = 0;
  int flags = 0;  // PP_FASTWRITE and the like, kept for PPGETFLAGS
  int64_t timeout_ns = 0;
  unsigned char irq_control = 0;
  // The control lines and data direction the kernel gives the client at
  // its claim: at first parport_pc's start state (0x0C: Strobe, Auto-feed
  // and Initialize pins high, so E, R/W and RS on our cable, the data lines
  // driven), then those it had at its last release.
  uint8_t control = 0x0C;
  bool reverse = false;
};

struct Parport {
  std::mutex lock;
  std::condition_variable released;
  std::map<int, Client> clients;  // by handle
  int next_handle = 1;
  int registered = 0;
  bool exclusive = false;  // an exclusive client is registered
  int holder = 0;          // the client that holds the claim; 0 for none
  int claims_waiting = 0;  // claims waiting for the holder to let go
  uint8_t data = 0;        // the data register's latch
  uint8_t control = 0;     // the control register's four outputs, as written
  bool reverse = false;    // the data lines are inputs (PPDATADIR 1)
  vlcd::VirtualLcd lcd;
  int64_t (*now)() = nullptr;  // the time a write reaches the pins
};

// The port with `module` on its pins, idle: data 0, control lines low.
void MakeParport(Parport& port, const vlcd::Module& module, int64_t (*now)());

// A new client, as open() gives one.
int OpenClient(Parport& port);
// 0, or the negated errno the kernel gives for `request` with `argument`.
int ClientRequest(Parport& port, int handle, unsigned long request, void* argument);
// read() and write() on the device: the count of bytes, or the negated
// errno ppdev gives (a module takes no byte through the printer protocol).
ssize_t ClientRead(Parport& port, int handle, void* buffer, size_t count);
ssize_t ClientWrite(Parport& port, int handle, const void* buffer, size_t count);
// Releases the claim the client holds and forgets it, as close() does.
void CloseClient(Parport& port, int handle);

}  // namespace vparport

#endif  // VIRTUAL_PARPORT_PARPORT_MODEL_H
