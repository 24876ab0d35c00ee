#include "port/port_backend.h"

#include <cstdio>

#include "displaydll.h"
#include "hd66712_log_format.h"
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

constexpr const char kNoLibraryMessage[] = "LoadLibrary for parallel port Failed";

// The failure message with what the driver found out after it; static, as
// every text the driver returns is.
char failure_message[1024];

// A port library beside the driver, in a plug-in folder the system's search
// passes by, is the usual reason none loads when one was installed.
const char* LibraryBesideTheDriver() {
  static char folder[512];
  for (const PortLibraryFile& candidate : kPortLibraryFiles) {
    if (!platform::LibraryBesideThisModule(candidate.file_name, folder, sizeof folder)) continue;
    std::snprintf(failure_message, sizeof failure_message,
                  "%s: %s is beside this driver in %s, where the system does not look for it; "
                  "put it in the host program's own folder (where its .exe is) or in the "
                  "system folder",
                  kNoLibraryMessage, candidate.file_name, folder);
    return failure_message;
  }
  return nullptr;
}

const char* NoLibraryMessage(const char* wrong_kind_file) {
  if (kNamesLibrariesOfTheWrongKind && wrong_kind_file != nullptr) {
    std::snprintf(failure_message, sizeof failure_message,
                  "%s: %s is not a 64-bit library (it is a 32-bit one, or no library at all); "
                  "a 64-bit host needs inpoutx64.dll, the 64-bit build of the port library",
                  kNoLibraryMessage, wrong_kind_file);
    return failure_message;
  }
  if (const char* beside = LibraryBesideTheDriver()) return beside;
  return kNoLibraryMessage;
}

// A candidate that loads but lacks an entry ends the search: it stays loaded
// (as `library`) until release, and later candidates are not tried.
const char* AcceptLibrary(const PortLibraryFile& candidate) {
  port_backend_record.read_port =
      platform::LibraryFind(port_backend_record.library, candidate.read_entry);
  if (port_backend_record.read_port == nullptr) return candidate.read_missing;
  platform::LibraryEntry write =
      platform::LibraryFind(port_backend_record.library, candidate.write_entry);
  if (write == nullptr) return candidate.write_missing;
  port_backend_record.write_port = reinterpret_cast<PortWriteEntry>(write);
  dp_log(hd66712_log::kInit, candidate.loaded_text);
  return nullptr;
}

}  // namespace

const char* LoadPortBackend(bool logging_requested) {
  // A retry after a failed load must not leak the library that lacked an entry.
  ReleasePortBackend();
  const char* wrong_kind_file = nullptr;
  for (const PortLibraryFile& candidate : kPortLibraryFiles) {
    if (candidate.only_when_logging && !logging_requested) continue;
    bool wrong_kind = false;
    port_backend_record.library = platform::LibraryOpen(candidate.file_name, &wrong_kind);
    if (port_backend_record.library != nullptr) return AcceptLibrary(candidate);
    if (wrong_kind && wrong_kind_file == nullptr) wrong_kind_file = candidate.file_name;
  }
  return NoLibraryMessage(wrong_kind_file);
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
