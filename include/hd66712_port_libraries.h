// The port I/O libraries the driver loads, in its order, with the texts it
// logs and reports for each: public, so that the tools find and name them
// as the driver does.
#ifndef HD66712_PORT_LIBRARIES_H
#define HD66712_PORT_LIBRARIES_H

#include <string_view>

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

#endif  // HD66712_PORT_LIBRARIES_H
