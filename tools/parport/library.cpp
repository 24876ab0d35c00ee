// The port I/O library for Linux: the entries the driver looks for, under
// the file name it loads, over the parallel-port device. It lives in the
// host's process: nothing here throws or ends it.
#include <cstdint>

#include "port_library_abi.h"
#include "ppdev_port.h"

namespace {

// Unloading the library gives the port back.
struct ReleaseAtUnload {
  ~ReleaseAtUnload() { PpdevRelease(); }
} release_at_unload;

}  // namespace

PORT_LIBRARY_EXPORT int32_t DISPLAYDLL_CALL Inp32(int32_t port) {
  try {
    return PpdevRead(static_cast<uint16_t>(port));
  } catch (...) {
    return 0xFF;
  }
}

PORT_LIBRARY_EXPORT void DISPLAYDLL_CALL Out32(int32_t port, int32_t value) {
  try {
    PpdevWrite(static_cast<uint16_t>(port), static_cast<uint8_t>(value));
  } catch (...) {
    // A write that cannot be made is lost; the host lives on.
  }
}

PORT_LIBRARY_EXPORT const char* DISPLAYDLL_CALL PortLibraryProblem() { return PpdevProblem(); }
