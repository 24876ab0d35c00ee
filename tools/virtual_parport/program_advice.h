// What the virtual parallel port tells the user of the program it is loaded
// into, in the terms they set it up with: HD_VLCD_* variables and the
// program's own port setting.
#ifndef VIRTUAL_PARPORT_PROGRAM_ADVICE_H
#define VIRTUAL_PARPORT_PROGRAM_ADVICE_H

#include <string>
#include <vector>

#include "problem.h"

namespace vparport {

// A path through which a Linux program reaches a parallel port: ppdev's
// /dev/parportN (or devfs's /dev/parports/N), the printer driver's /dev/lpN,
// or /dev/port.
bool LooksLikeParallelPort(const std::string& path);

// Why HD_VLCD_PARPORT cannot stand for the port, if it cannot: it names a
// file that exists and is not ppdev's, so simulating it would take that
// file from the program. A real port (ppdev's character device) is fine:
// simulating it keeps the real one safe.
Problem DevicePathProblem(const std::string& device);

// The program ended without opening `device`: what it reached instead
// (`opened`, parallel-port paths; `direct_ports`, "ioperm 0x378-0x37A" or
// such when it asked for the I/O ports themselves), and what to change.
// "" when it reached none of them.
std::string NeverOpenedAdvice(const std::string& device, const std::vector<std::string>& opened,
                              const std::vector<std::string>& direct_ports);

}  // namespace vparport

#endif  // VIRTUAL_PARPORT_PROGRAM_ADVICE_H
