// A port library that takes every write and does nothing, so a benchmark
// measures the driver and its waits alone.
#include <cstdint>

#include "port_library_abi.h"

PORT_LIBRARY_EXPORT int32_t DISPLAYDLL_CALL Inp32(int32_t) { return 0; }
PORT_LIBRARY_EXPORT void DISPLAYDLL_CALL Out32(int32_t, int32_t) {}
