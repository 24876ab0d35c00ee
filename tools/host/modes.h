// lcd_host's ways to run, one row each: the flag that chooses it (none for a
// session on the virtual LCD), what it does, its own options, the options
// it shares with other modes, and the function that runs it. A mode's own
// options are added by its own file, under the mode's heading in --help;
// an option belongs to the modes that own or share it, and one given to a
// mode that does not is refused, never ignored.
#ifndef HOST_MODES_H
#define HOST_MODES_H

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "options.h"

// When a mode saves the screen to --output's files.
enum class SavesScreens {
  Never,
  Always,          // to the default prefix unless --output is given
  WhenAsked,       // only with --output
  OnTheSimulator,  // only when the port library turns out to be the virtual LCD
};

struct Mode {
  const char* flag;  // "" for the default
  const char* what;
  // Adds the mode's flag, when it has one, and the options only it takes,
  // each under `heading`; they keep what is given in the mode's own file.
  void (*add_own_options)(CLI::App& app, const std::string& heading);
  std::vector<std::string> shares;  // options it takes that other modes take too
  bool drives_a_port;               // writes registers through a port library
  SavesScreens saves_screens;
  int (*run)(const Options& options, Settings& settings);
};

// Every mode, the default first.
const std::vector<Mode>& Modes();

// The --help heading of the options only `mode` takes.
std::string OwnHeading(const Mode& mode);

// Whether `mode` takes `option`, as `app` holds it.
bool Takes(const Mode& mode, const CLI::Option& option);

// The modes and the options each takes, for --help.
std::string ModesHelp(const CLI::App& app);

// A mode as messages name it: its flag, or "a session on the virtual LCD".
std::string ModeName(const Mode& mode);

#endif  // HOST_MODES_H
