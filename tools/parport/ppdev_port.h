// A PC parallel port reached through Linux's parallel-port device interface
// (ppdev, /dev/parportN), for a port library that the driver loads under the
// name it looks for. Registers are decoded from the address the driver
// writes: the data register at a 4-aligned base, the control register two
// above it.
//
// The device is HD_PARPORT when set, otherwise the port whose
// /proc/sys/dev/parport/parportN/base-addr is the driver's base address,
// otherwise /dev/parport0. It is opened and claimed at the first access and
// released at unload. A failure is reported once on standard error with its
// fix; afterwards writes do nothing and reads return 0xFF, as where no port
// answers.
#ifndef PARPORT_PPDEV_PORT_H
#define PARPORT_PPDEV_PORT_H

#include <cstdint>
#include <string>

void PpdevWrite(uint16_t port, uint8_t value);
uint8_t PpdevRead(uint16_t port);
// Releases and closes the device if it was claimed; the next access claims
// it again.
void PpdevRelease();

// The device for a port at `base`, as above, looking in `proc_folder`.
std::string PpdevDeviceFor(uint16_t base, const std::string& proc_folder);
// What went wrong and how to fix it, for an errno from opening or claiming.
std::string PpdevProblem(int error, const std::string& device, bool claiming);

#endif  // PARPORT_PPDEV_PORT_H
