// A host session: the driver calls a host application would make, read from
// a small script, one command a line:
//
//   init                   DISPLAYDLL_Init with the session's size and parameters
//   position X Y           DISPLAYDLL_SetPosition, X and Y from 0 to 255 (1 is the first)
//   write TEXT             DISPLAYDLL_Write with everything after "write "; in it
//                          \xHH is the byte HH (01-FF), \gN glyph N's code (N 1-8),
//                          \\ a backslash
//   glyph N R0 ... R7      DISPLAYDLL_CustomChar: N from 0 to 255, eight rows of
//                          one or two hexadecimal digits
//   resume                 DISPLAYDLL_PowerResume
//   done                   DISPLAYDLL_Done
//   snapshot               save the screen as it is now (numbered files)
//   wait MS                pause MS milliseconds (0 to 60000), to read a screen
//
// A line whose first non-blank character is '#' is a comment; blank lines
// are skipped. There are no comments after a command: a '#' in a write is
// text, and anything after a command's own words is an error. The whole
// script is checked before the first command runs.
#ifndef HOST_SESSION_H
#define HOST_SESSION_H

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "driver_module.h"

struct SessionSettings {
  int columns = 20;
  int rows = 4;
  std::string parameters = "LPT1,HD66712";
  // Called by "snapshot"; returns "" or why the screen was not saved.
  std::function<std::string()> snapshot;
  // Told each command's line just before it runs, when set.
  std::function<void(const std::string&)> announce;
};

struct ScriptCommand {
  enum class Kind { Init, Position, Write, Glyph, Resume, Done, Snapshot, Wait };
  Kind kind = Kind::Init;
  int line = 0;
  std::string source;  // the line as written
  long wait_ms = 0;
  uint8_t x = 0;     // position: column; glyph: number
  uint8_t y = 0;     // position: row
  std::string text;  // write: as written, escapes checked but not expanded
  std::array<uint8_t, 8> rows{};
};

// Checks every line; returns "" or the first error, "line N: ...".
std::string ParseScript(const std::string& script, std::vector<ScriptCommand>* commands);

// Runs the commands in order; returns "" or the first error, with its line.
std::string RunCommands(const DriverEntries& driver, const SessionSettings& settings,
                        const std::vector<ScriptCommand>& commands);

// ParseScript, then RunCommands.
std::string RunSession(const DriverEntries& driver, const SessionSettings& settings,
                       const std::string& script);

// Expands the escapes of a write's text; `driver` gives glyph codes, and may
// be null to only check the text. Returns "" or what is wrong.
std::string ExpandText(const DriverEntries* driver, const std::string& text, std::string* expanded);

#endif  // HOST_SESSION_H
