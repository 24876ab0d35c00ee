// A stand-in port I/O library. It drives no hardware: it appends every event
// to "port_trace.txt" in the current folder so a test can read back exactly
// what reached the port, and when. One source builds every variant; a
// variant leaves out an entry by not defining its name.
//
// Reads answer as a machine without a port at that address does (0xFF),
// unless STAND_IN_ECHO makes them answer as a standard port does: each
// register returns what was last written to it, except that a control
// register (base + 2) reads its upper four bits, which drive no pin, as 1,
// as most ports do; with STAND_IN_READS_ANSWERED=N only the first N reads
// answer so, as a port that dies midway (a card pulled, a cable cut) does,
// and the rest 0xFF. STAND_IN_DRIVER_OPEN adds
// the inpout32 family's IsInpOutDriverOpen, answering its value.
#include <cstdint>
#include <cstdio>

#include "port_library_abi.h"
#include "steady_nanoseconds.h"

namespace {

// Load and unload are recorded too, so tests see when the driver takes and
// releases the library.
struct TraceFile {
  std::FILE* file = std::fopen("port_trace.txt", "a");
  TraceFile() { Event("load"); }
  ~TraceFile() {
    Event("unload");
    if (file != nullptr) std::fclose(file);
  }
  void Event(const char* kind) {
    if (file == nullptr) return;
    std::fprintf(file, "%s %s 0 0 %lld\n", kind, STAND_IN_TAG,
                 static_cast<long long>(SteadyNanoseconds()));
    std::fflush(file);
  }
};

TraceFile trace;

// The last value written to each of the low 64 K port addresses.
[[maybe_unused]] uint8_t written[0x10000] = {};

}  // namespace

#ifdef STAND_IN_READ_ENTRY
PORT_LIBRARY_EXPORT int32_t DISPLAYDLL_CALL STAND_IN_READ_ENTRY(int32_t port) {
#ifdef STAND_IN_ECHO
#ifdef STAND_IN_READS_ANSWERED
  static int reads = 0;
  if (++reads > STAND_IN_READS_ANSWERED) return 0xFF;
#endif
  constexpr int32_t kUndrivenControlBits = 0xF0;
  return written[port & 0xFFFF] | ((port & 3) == 2 ? kUndrivenControlBits : 0);
#else
  static_cast<void>(port);
  return 0xFF;
#endif
}
#endif

#ifdef STAND_IN_DRIVER_OPEN
PORT_LIBRARY_EXPORT int32_t DISPLAYDLL_CALL IsInpOutDriverOpen() { return STAND_IN_DRIVER_OPEN; }
#endif

#ifdef STAND_IN_WRITE_ENTRY
PORT_LIBRARY_EXPORT void DISPLAYDLL_CALL STAND_IN_WRITE_ENTRY(int32_t port, int32_t value) {
  const int64_t now = SteadyNanoseconds();
  written[port & 0xFFFF] = static_cast<uint8_t>(value);
  if (trace.file == nullptr) return;
  std::fprintf(trace.file, "write %s %d %d %lld\n", STAND_IN_TAG, port, value,
               static_cast<long long>(now));
  std::fflush(trace.file);
}
#endif
