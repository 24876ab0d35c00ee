// The user's own port I/O library, loaded as the driver finds it (or by
// the path the user gives), for the tools that talk to the port directly:
// the port check and the wiring walk.
#ifndef HOST_PORT_ACCESS_H
#define HOST_PORT_ACCESS_H

#include <cstdint>
#include <string>

#include "displaydll.h"
#include "module_loader.h"
#include "port_library_abi.h"
#include "problem.h"

// The port library files a driver looks for, in its order; it tries the
// first only while it logs.
inline constexpr const char* kPortLibraryFiles[] = {"inpout32_debug.dll", "inpout32.dll",
                                                    "dlportio.dll"};

struct PortLibrary {
  loader::ModuleHandle handle = nullptr;
  std::string file;     // where the system's loader found it
  std::string entries;  // "Inp32 and Out32", for the report
  PortReadFn read = nullptr;
  PortWriteFn write = nullptr;
  // The inpout32 family's IsInpOutDriverOpen, when the library has it.
  int32_t(DISPLAYDLL_CALL* driver_open)() = nullptr;
  // The virtual LCD's library answers its pins' levels; nullptr for a port.
  int (*virtual_pins)() = nullptr;

  uint8_t Read(uint16_t port) const { return static_cast<uint8_t>(read(port) & 0xFF); }
  void Write(uint16_t port, uint8_t value) const { write(port, value); }
};

// Loads `path`, or when it is empty the first of the port libraries the
// driver looks for that the system's search finds; says why none would do.
Problem OpenPortLibrary(const std::string& path, PortLibrary* library);
void ClosePortLibrary(PortLibrary* library);

// The port as the driver leaves it between bytes: data 0, control idle.
void LeavePortIdle(const PortLibrary& library, uint16_t data_register);

#endif  // HOST_PORT_ACCESS_H
