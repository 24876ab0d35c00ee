// A host session: the driver calls a host application would make, read from
// a small script, one command a line (the table in session.cpp lists them;
// ScriptHelp() prints it). A line whose first non-blank character is '#' is
// a comment; blank lines are skipped. There are no comments after a
// command: a '#' in a write is text, and anything after a command's own
// words is an error. The whole script is checked before the first command
// runs, including that the driver is initialised before it is asked to show
// anything.
#ifndef HOST_SESSION_H
#define HOST_SESSION_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "character_rom.h"
#include "driver_module.h"
#include "problem.h"

struct SessionSettings {
  int columns = 20;
  int rows = 4;
  std::string parameters = "LPT1,HD66712";
  // False for a built-in script, whose line numbers the user never sees.
  bool lines_named = true;
  // Called by "snapshot"; returns why the screen was not saved, if it was not.
  std::function<Problem()> snapshot;
  // Told each command's line just before it runs, when set.
  std::function<void(const std::string&)> announce;
  // Told how many bytes a write hands the driver, just before it does.
  std::function<void(size_t bytes)> writing;
  // Runs each driver call, when set (to look at what the driver prints).
  std::function<void(const std::function<void()>&)> call_driver;
  // Carries out "wait", when set; otherwise the thread sleeps.
  std::function<void(long milliseconds)> pause;
  // Asked after each command whether the run may go on, when set; what it
  // returns ends the run.
  std::function<Problem()> after_command;
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

// The commands, their arguments and what they do, a line each, for --help.
std::string ScriptHelp();

// What lies between words and what a blank line holds.
bool IsScriptBlank(char c);

// Checks every line; returns the first problem, "line N: ...", if any. Things
// that are allowed but probably not meant go to `warnings`, when given; text
// meant as characters of the module's ROM is read as `rom`'s.
Problem ParseScript(const std::string& script, std::vector<ScriptCommand>* commands,
                    std::vector<std::string>* warnings = nullptr,
                    vlcd::CharacterRom rom = vlcd::CharacterRom::A00);

// Runs the commands in order; returns the first problem, with its line.
// `driver_open`, when given, tells whether the driver was left initialised
// (an init tried, and no done after it), so that a host's shut-down is not
// sent twice.
Problem RunCommands(const DriverEntries& driver, const SessionSettings& settings,
                    const std::vector<ScriptCommand>& commands, bool* driver_open = nullptr);

// ParseScript, then RunCommands.
Problem RunSession(const DriverEntries& driver, const SessionSettings& settings,
                   const std::string& script);

// Expands the escapes of a write's text; `driver` gives glyph codes, and may
// be null to only check the text.
Problem ExpandText(const DriverEntries* driver, const std::string& text, std::string* expanded);

#endif  // HOST_SESSION_H
