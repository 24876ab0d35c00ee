// A port library that takes every write and does nothing, so a benchmark
// measures the driver and its waits alone.
#include <cstdint>

#include "port_library_abi.h"

PORT_LIBRARY_EXPORT int32_t PORT_LIBRARY_ENTRY Inp32(int32_t) { return 0; }
PORT_LIBRARY_EXPORT void PORT_LIBRARY_ENTRY Out32(int32_t, int32_t) {}
