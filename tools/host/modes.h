// lcd_host's ways to run, one row each: the flag that chooses it (none for a
// session on the virtual LCD), what it does, the options it takes, and the
// function that runs it. An option belongs to the modes that list it, and
// one given to a mode that does not is refused, never ignored.
#ifndef HOST_MODES_H
#define HOST_MODES_H

#include <string>
#include <vector>

#include "options.h"

struct Mode {
  const char* flag;  // "" for the default
  const char* what;
  std::vector<std::string> takes;  // besides its own flag and --help
  bool drives_a_port;              // writes registers through a port library
  int (*run)(const Options& options, Settings& settings);
};

// Every mode, the default first.
const std::vector<Mode>& Modes();

// The modes and their options, for --help.
std::string ModesHelp();

// A mode as messages name it: its flag, or "a session on the virtual LCD".
std::string ModeName(const Mode& mode);

#endif  // HOST_MODES_H
