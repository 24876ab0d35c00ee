// The port I/O library the driver writes the parallel port through.
#ifndef PORT_PORT_BACKEND_H
#define PORT_PORT_BACKEND_H

#include <cstdint>

#include "platform/library.h"

#if defined(_WIN32)
#define PORT_LIBRARY_CALL __stdcall
#else
#define PORT_LIBRARY_CALL
#endif

using PortWriteEntry = void(PORT_LIBRARY_CALL*)(int32_t port, int32_t value);

struct PortBackend {
  platform::LibraryHandle library = nullptr;
  // Looked up only to accept the library; never called.
  platform::LibraryEntry read_port = nullptr;
  PortWriteEntry write_port = nullptr;
};

extern PortBackend port_backend;

// Returns nullptr on success, otherwise the failure message for the host.
const char* LoadPortBackend(bool logging_requested);
// Sends nothing while no write entry is loaded.
void PortWrite(uint16_t port, uint8_t value);
void ReleasePortBackend();

#endif  // PORT_PORT_BACKEND_H
