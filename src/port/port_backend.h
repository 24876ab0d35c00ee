// The port I/O library the driver writes the parallel port through.
#ifndef PORT_PORT_BACKEND_H
#define PORT_PORT_BACKEND_H

#include <cstdint>

#include "hd66712_port_libraries.h"

// Whether a library with both entries is loaded, so bytes reach the port.
bool PortBackendReady();

// Returns nullptr on success, otherwise the failure message for the host.
const char* LoadPortBackend(bool logging_requested);
// Sends nothing while no write entry is loaded.
void PortWrite(uint16_t port, uint8_t value);
void ReleasePortBackend();
// Back to the load-time values, as a fresh load of the module leaves it;
// for the unit tests, which load the driver once for many cases.
void ResetPortBackend();

#endif  // PORT_PORT_BACKEND_H
