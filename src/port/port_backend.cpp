#include "port/port_backend.h"

#include "log/diag_log.h"
#include "platform/library.h"

namespace {

// Port libraries use the same standard-call convention as the driver's entries.
using PortWriteEntry = void(DISPLAYDLL_CALL*)(int32_t port, int32_t value);

struct PortBackend {
  platform::LibraryHandle library = nullptr;
  // Looked up only to accept the library; never called.
  platform::LibraryEntry read_port = nullptr;
  PortWriteEntry write_port = nullptr;
};

// Only this file reads or writes the record; others see it through the
// functions below.
PortBackend port_backend_record;
}  // namespace

void ResetPortBackend() { port_backend_record = PortBackend{}; }

bool PortBackendReady() { return port_backend_record.write_port != nullptr; }

namespace {

struct PortLibrary {
  const char* file_name;
  const char* read_entry;
  const char* write_entry;
  const char* loaded_text;
  // dlportio's messages name the inpout32 entries; hosts match on these texts.
  const char* read_missing;
  const char* write_missing;
};

constexpr PortLibrary kDebugInpout{kPortLibraryFiles[0],
                                   "Inp32",
                                   "Out32",
                                   "inpout32_debug.dll loaded",
                                   "GetProcAddress for inpout32_debug.dll/Inp32 Failed",
                                   "GetProcAddress for inpout32_debug.dll/Out32 Failed"};
constexpr PortLibrary kInpout{kPortLibraryFiles[1],
                              "Inp32",
                              "Out32",
                              "inpout32.dll loaded",
                              "GetProcAddress for inpout32.dll/Inp32 Failed",
                              "GetProcAddress for inpout32.dll/Out32 Failed"};
constexpr PortLibrary kDlportio{kPortLibraryFiles[2],
                                "DlPortReadPortUchar",
                                "DlPortWritePortUchar",
                                "dlportio.dll loaded",
                                "GetProcAddress for dlportio.dll/Inp32 Failed",
                                "GetProcAddress for dlportio.dll/Out32 Failed"};

constexpr const char kNoLibraryMessage[] = "LoadLibrary for parallel port Failed";

// A candidate that loads but lacks an entry ends the search: it stays loaded
// (as `library`) until release, and later candidates are not tried.
const char* AcceptLibrary(const PortLibrary& candidate) {
  port_backend_record.read_port =
      platform::LibraryFind(port_backend_record.library, candidate.read_entry);
  if (port_backend_record.read_port == nullptr) return candidate.read_missing;
  platform::LibraryEntry write =
      platform::LibraryFind(port_backend_record.library, candidate.write_entry);
  if (write == nullptr) return candidate.write_missing;
  port_backend_record.write_port = reinterpret_cast<PortWriteEntry>(write);
  dp_log("Init", candidate.loaded_text);
  return nullptr;
}

}  // namespace

const char* LoadPortBackend(bool logging_requested) {
  // A retry after a failed load must not leak the library that lacked an entry.
  ReleasePortBackend();
  const PortLibrary* candidates[] = {&kDebugInpout, &kInpout, &kDlportio};
  for (const PortLibrary* candidate : candidates) {
    if (candidate == &kDebugInpout && !logging_requested) continue;
    port_backend_record.library = platform::LibraryOpen(candidate->file_name);
    if (port_backend_record.library != nullptr) return AcceptLibrary(*candidate);
  }
  return kNoLibraryMessage;
}

void PortWrite(uint16_t port, uint8_t value) {
  if (port_backend_record.write_port == nullptr) return;
  // Port libraries take 16-bit arguments widened with their sign, the way a
  // host's signed char reaches them; the library keeps the low bits.
  port_backend_record.write_port(static_cast<int16_t>(port), static_cast<int8_t>(value));
}

void ReleasePortBackend() {
  if (port_backend_record.library != nullptr) platform::LibraryClose(port_backend_record.library);
  port_backend_record = PortBackend{};
}
