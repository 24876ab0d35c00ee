// What every stand-in port I/O library shares: entries exported under their
// plain names, with the standard-call convention the driver calls them with.
#ifndef PORT_ABI_PORT_LIBRARY_ABI_H
#define PORT_ABI_PORT_LIBRARY_ABI_H

#include "displaydll.h"

#if defined(_WIN32)
#define PORT_LIBRARY_EXPORT extern "C" __declspec(dllexport)
#else
#define PORT_LIBRARY_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The inpout32 family's entries (and dlportio's, which have the same shape),
// as a host finds them by name.
using PortReadFn = int32_t(DISPLAYDLL_CALL*)(int32_t port);
using PortWriteFn = void(DISPLAYDLL_CALL*)(int32_t port, int32_t value);

// What a port library knows of its own state, where it reports it: the
// inpout32 family's driver (0 when it is not open, so every access is
// lost), and this project's Linux library's reason that nothing reaches the
// port (nullptr while it does).
constexpr char kInpOutDriverOpen[] = "IsInpOutDriverOpen";
using InpOutDriverOpenFn = int32_t(DISPLAYDLL_CALL*)();
constexpr char kPortLibraryProblem[] = "PortLibraryProblem";
using PortLibraryProblemFn = const char*(DISPLAYDLL_CALL*)();

#endif  // PORT_ABI_PORT_LIBRARY_ABI_H
