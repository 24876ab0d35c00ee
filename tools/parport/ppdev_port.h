// A PC parallel port reached through Linux's parallel-port device interface
// (ppdev, /dev/parportN), for a port library that the driver loads under the
// name it looks for. Registers are decoded from the address the driver
// writes: the data register at a 4-aligned base, the control register two
// above it.
//
// The device is HD_PARPORT when set, otherwise the port whose
// /proc/sys/dev/parport/parportN/base-addr is the driver's base address;
// /dev/parport0 when the system lists no port at all, and none when it
// lists others only. It is opened and claimed at the first access and
// released at unload. A failure, at the claim or at a later register
// access, is reported once on standard error with its cause and fix, and
// kept for PpdevProblem; afterwards writes do nothing and reads return
// 0xFF, as where no port answers. A claim that another program's holds up
// waits a few seconds, then gives up with that program's name.
#ifndef PARPORT_PPDEV_PORT_H
#define PARPORT_PPDEV_PORT_H

#include <cstdint>
#include <string>

void PpdevWrite(uint16_t port, uint8_t value);
uint8_t PpdevRead(uint16_t port);
// Releases and closes the device if it was claimed; the next access claims
// it again.
void PpdevRelease();
// Why nothing reaches the port, or nullptr while it does (or before the
// first access). Valid until the next release. A host that asks shows the
// problem itself, so from then until the release it is no longer printed.
const char* PpdevProblem();

// The device for a port at `base`, as above ("" for none), looking in
// `proc`; `by_variable` says whether HD_PARPORT chose it.
std::string PpdevDeviceFor(uint16_t base, const std::string& proc, bool* by_variable = nullptr);
// "/dev/parport0 at 0x378, /dev/parport1 at 0xD010", as `proc` lists them.
std::string PpdevPortsListed(const std::string& proc);

// What went wrong and how to fix it, for an errno from opening the device
// (`claiming` false) or claiming it.
struct PpdevFailure {
  int error = 0;
  std::string device;
  bool by_variable = false;  // HD_PARPORT named the device
  bool claiming = false;
  int waited_ms = 0;  // a claim that waited this long for the port in vain
};
std::string PpdevCause(const PpdevFailure& failure, const std::string& proc);

// The processes other than this one that have `device` open, as
// "1234 (cupsd)", looking in `proc`; "" when none is found.
std::string PpdevHolders(const std::string& device, const std::string& proc);

#endif  // PARPORT_PPDEV_PORT_H
