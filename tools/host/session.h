// A host session: the driver calls a host application would make, read from
// a small script, one command a line:
//
//   init                   DISPLAYDLL_Init with the session's size and parameters
//   position X Y           DISPLAYDLL_SetPosition (from 1)
//   write TEXT             DISPLAYDLL_Write; \xHH is a byte, \gN glyph N's code
//   glyph N R0 ... R7      DISPLAYDLL_CustomChar, rows in hexadecimal
//   resume                 DISPLAYDLL_PowerResume
//   done                   DISPLAYDLL_Done
//
// Blank lines and lines starting with '#' are skipped.
#ifndef HOST_SESSION_H
#define HOST_SESSION_H

#include <string>

#include "driver_module.h"

struct SessionSettings {
  int columns = 20;
  int rows = 4;
  std::string parameters = "LPT1,HD66712";
};

// Runs every command; returns "" or the first error, with its line number.
std::string RunSession(const DriverEntries& driver, const SessionSettings& settings,
                       const std::string& script);

// Expands \xHH and \gN (N from 1 to 8) in a text to write.
std::string ExpandText(const DriverEntries& driver, const std::string& text, std::string* error);

#endif  // HOST_SESSION_H
