// The port I/O library the driver writes the parallel port through.
#ifndef PORT_PORT_BACKEND_H
#define PORT_PORT_BACKEND_H

#include <cstdint>
#include <string_view>

#include "displaydll.h"
#include "hd66712_log_format.h"

// A port library the driver knows: its file, its two entries, and the
// texts it logs when it loads and returns when an entry is missing.
struct PortLibraryFile {
  const char* file_name;
  bool only_when_logging;
  const char* read_entry;
  const char* write_entry;
  const char* loaded_text;
  // dlportio's messages name the inpout32 entries; hosts match on these texts.
  const char* read_missing;
  const char* write_missing;
};

// In the order the driver tries them. A 64-bit process loads only 64-bit
// libraries, so there the usual name of inpout's 64-bit build comes first,
// and a library that is not one is named in the failure message.
inline constexpr PortLibraryFile kPortLibraryFiles[] = {
#ifdef _WIN64
    {"inpoutx64.dll", false, "Inp32", "Out32", "inpoutx64.dll loaded",
     "GetProcAddress for inpoutx64.dll/Inp32 Failed",
     "GetProcAddress for inpoutx64.dll/Out32 Failed"},
#endif
    {"inpout32_debug.dll", true, "Inp32", "Out32", "inpout32_debug.dll loaded",
     "GetProcAddress for inpout32_debug.dll/Inp32 Failed",
     "GetProcAddress for inpout32_debug.dll/Out32 Failed"},
    {"inpout32.dll", false, "Inp32", "Out32", "inpout32.dll loaded",
     "GetProcAddress for inpout32.dll/Inp32 Failed",
     "GetProcAddress for inpout32.dll/Out32 Failed"},
    {"dlportio.dll", false, "DlPortReadPortUchar", "DlPortWritePortUchar", "dlportio.dll loaded",
     "GetProcAddress for dlportio.dll/Inp32 Failed",
     "GetProcAddress for dlportio.dll/Out32 Failed"},
};

// Each "<file> loaded" text tells a log's reader which library a session used.
constexpr bool LoadedTextsNameTheirFiles() {
  for (const PortLibraryFile& file : kPortLibraryFiles) {
    const std::string_view text = file.loaded_text;
    if (!text.starts_with(file.file_name) || !text.ends_with(hd66712_log::kLoadedEnding) ||
        text.size() != std::string_view(file.file_name).size() +
                           std::string_view(hd66712_log::kLoadedEnding).size()) {
      return false;
    }
  }
  return true;
}
static_assert(LoadedTextsNameTheirFiles());
#ifdef _WIN64
inline constexpr bool kNamesLibrariesOfTheWrongKind = true;
#else
inline constexpr bool kNamesLibrariesOfTheWrongKind = false;
#endif

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
