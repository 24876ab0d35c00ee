// A host session's script: the driver calls a host application would make,
// read from a small file, one command a line (the table in script.cpp lists them;
// ScriptHelp() prints it). A line whose first non-blank character is '#' is
// a comment; blank lines are skipped. There are no comments after a
// command: a '#' in a write is text, and anything after a command's own
// words is an error. The whole script is checked before the first command
// runs, including that the driver is initialised before it is asked to show
// anything.
#ifndef HOST_SCRIPT_H
#define HOST_SCRIPT_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "character_rom.h"
#include "driver_module.h"
#include "problem.h"

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

// The longest pause anything asks for: a script's wait, and the options'
// pauses between pins and pages.
constexpr long kMaxWaitMs = 60000;

// The commands, their arguments and what they do, a line each, for --help.
std::string ScriptHelp();

// How a write's text gives a byte by its code: "\xDF".
std::string ByteEscape(int code);

// What lies between words and what a blank line holds.
bool IsScriptBlank(char c);

// Checks every line; returns the first problem, "line N: ...", if any. Things
// that are allowed but probably not meant go to `warnings`, when given; text
// meant as characters of the module's ROM is read as `rom`'s.
Problem ParseScript(const std::string& script, std::vector<ScriptCommand>* commands,
                    std::vector<std::string>* warnings = nullptr,
                    vlcd::CharacterRom rom = vlcd::CharacterRom::A00);
// The same for the script file at `path`, read a line at a time: a file
// that never ends (/dev/zero) or is far larger than a script is refused.
Problem ParseScriptFile(const std::string& path, std::vector<ScriptCommand>* commands,
                        std::vector<std::string>* warnings,
                        vlcd::CharacterRom rom = vlcd::CharacterRom::A00);

// Expands the escapes of a write's text; `driver` gives glyph codes, and may
// be null to only check the text.
Problem ExpandText(const DriverEntries* driver, const std::string& text, std::string* expanded);

#endif  // HOST_SCRIPT_H
