// The port I/O library the driver writes the parallel port through.
#ifndef PORT_PORT_BACKEND_H
#define PORT_PORT_BACKEND_H

#include <cstdint>

#include "displaydll.h"
#include "platform/library.h"

// Port libraries use the same standard-call convention as the driver's entries.
using PortWriteEntry = void(DISPLAYDLL_CALL*)(int32_t port, int32_t value);

// The port library files the driver knows, in the order it tries them; the
// first only while logging.
inline constexpr const char* kPortLibraryFiles[] = {"inpout32_debug.dll", "inpout32.dll",
                                                    "dlportio.dll"};

struct PortBackend {
  platform::LibraryHandle library = nullptr;
  // Looked up only to accept the library; never called.
  platform::LibraryEntry read_port = nullptr;
  PortWriteEntry write_port = nullptr;
};

const PortBackend& port_backend();
// Whether a library with both entries is loaded, so bytes reach the port.
bool PortBackendReady();

// Returns nullptr on success, otherwise the failure message for the host.
const char* LoadPortBackend(bool logging_requested);
// Sends nothing while no write entry is loaded.
void PortWrite(uint16_t port, uint8_t value);
void ReleasePortBackend();

#endif  // PORT_PORT_BACKEND_H
