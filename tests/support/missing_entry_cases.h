// Every way a port library can lack an entry, and the one message the driver
// must give for it: one table for the unit tests (in-process libraries) and
// the module tests (stand-ins loaded by the system).
#ifndef TESTS_SUPPORT_MISSING_ENTRY_CASES_H
#define TESTS_SUPPORT_MISSING_ENTRY_CASES_H

#include <ostream>

struct MissingEntryCase {
  const char* library;  // the file name the driver looks for
  bool has_read;
  bool has_write;
  bool logging;
  const char* message;
};

// gtest would otherwise print the case's raw bytes, padding included.
inline void PrintTo(const MissingEntryCase& c, std::ostream* out) { *out << c.message; }

inline constexpr MissingEntryCase kMissingEntryCases[] = {
    {"inpout32_debug.dll", false, true, true, "GetProcAddress for inpout32_debug.dll/Inp32 Failed"},
    {"inpout32_debug.dll", true, false, true, "GetProcAddress for inpout32_debug.dll/Out32 Failed"},
    {"inpout32.dll", false, true, false, "GetProcAddress for inpout32.dll/Inp32 Failed"},
    {"inpout32.dll", true, false, false, "GetProcAddress for inpout32.dll/Out32 Failed"},
    // dlportio's messages name the inpout32 entries, not its own.
    {"dlportio.dll", false, true, false, "GetProcAddress for dlportio.dll/Inp32 Failed"},
    {"dlportio.dll", true, false, false, "GetProcAddress for dlportio.dll/Out32 Failed"},
    // With neither entry, the read entry's lookup comes first.
    {"inpout32.dll", false, false, false, "GetProcAddress for inpout32.dll/Inp32 Failed"},
#ifdef _WIN64
    {"inpoutx64.dll", false, true, false, "GetProcAddress for inpoutx64.dll/Inp32 Failed"},
    {"inpoutx64.dll", true, false, true, "GetProcAddress for inpoutx64.dll/Out32 Failed"},
#endif
};

#endif  // TESTS_SUPPORT_MISSING_ENTRY_CASES_H
