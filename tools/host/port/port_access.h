// The user's own port I/O library, loaded as the driver finds it (or by
// the path the user gives), for the tools that talk to the port directly:
// the port check, the wiring walk, and the real-port run, which checks the
// port before the driver drives it and watches it while it does.
#ifndef HOST_PORT_ACCESS_H
#define HOST_PORT_ACCESS_H

#include <cstdint>
#include <string>

#include "displaydll.h"
#include "hd66712_port_libraries.h"
#include "module_loader.h"
#include "port_library_abi.h"
#include "problem.h"

struct PortLibrary {
  loader::ModuleHandle handle = nullptr;
  std::string file;     // where the system's loader found it
  std::string entries;  // "Inp32 and Out32", for the report
  PortReadFn read = nullptr;
  PortWriteFn write = nullptr;
  // What the library says of its own state, when it has the entry.
  InpOutDriverOpenFn driver_open = nullptr;
  PortLibraryProblemFn problem = nullptr;
  // The virtual LCD's library answers its pins' levels; nullptr for a port.
  int (*virtual_pins)() = nullptr;

  uint8_t Read(uint16_t port) const { return static_cast<uint8_t>(read(port) & 0xFF); }
  void Write(uint16_t port, uint8_t value) const { write(port, value); }
};

// Loads `path`, or when it is empty the first of the port libraries the
// driver looks for that the system's search finds (the debug library only
// when the driver logs); says why none would do. `other_ways` ends the
// advice when none is found with the mode's own options (", or name it with
// --port-library"), "" where the mode has none.
Problem OpenPortLibrary(const std::string& path, bool logging, PortLibrary* library,
                        const std::string& other_ways);
void ClosePortLibrary(PortLibrary* library);

// The port library a driver inside a host whose program is in `host_folder`
// would load: the first name the driver tries that the system's search
// finds, as `path`. Says why it would find none, naming any that sit in a
// subfolder (beside a plug-in), where the search does not look.
Problem FindAsAHostWould(const std::string& host_folder, std::string* path);

// Whether what is written through `library` reaches a port at
// `data_register`: the library's own word on its driver or device, where it
// gives one, and a read-back of the data register (with the control
// register's idle level set first, so the module latches nothing) or, for
// the port check, of both registers. Prints what was written and read; says
// why the port cannot be driven, with the next step, when it cannot.
enum class PortProbe { DataRegister, BothRegisters };
Problem CheckPortReached(const PortLibrary& library, uint16_t data_register, PortProbe probe);

// During a run: whether the library has since found its port gone.
Problem CheckPortStillReached(const PortLibrary& library);

// The port as the driver leaves it between bytes: data 0, control idle.
void LeavePortIdle(const PortLibrary& library, uint16_t data_register);

// Gives the virtual LCD's library at `library` a fresh module; says why it
// cannot, in the library's own words where it gives them.
Problem ConfigureVirtualLcd(loader::ModuleHandle library, const std::string& settings,
                            uint16_t port, int flags);

// Why no parallel port can be at `port`, if none can: the PC's own chips
// answer every address below 0x100, and writing them can hang the machine.
Problem NoParallelPortAt(unsigned port);

std::string HexByte(unsigned value);
std::string HexAddress(unsigned value);

#endif  // HOST_PORT_ACCESS_H
