// lcd_host's ways to run, one subcommand each: a session on the virtual LCD
// (the demo, a script, the test pattern), the replay of a driver log, the
// port check, the wiring walk, the driver on the real port and, on Linux,
// a program of the user's on the virtual parallel port. Each mode's file
// adds its subcommand with the options it takes, its own and the shared
// ones (options.h), keeps what its own are given, checks the rules between
// them, and runs.
#ifndef HOST_MODES_H
#define HOST_MODES_H

#include <CLI/CLI.hpp>
#include <functional>
#include <vector>

#include "options.h"
#include "problem.h"

// When a mode saves the screen to --output's files.
enum class SavesScreens {
  Never,
  Always,          // to the default prefix unless --output is given
  WhenAsked,       // only with --output
  OnTheSimulator,  // only when the port library turns out to be the virtual LCD
};

struct Mode {
  CLI::App* command = nullptr;  // the subcommand, in the app it was added to
  bool drives_a_port = false;   // writes registers through a port library
  SavesScreens saves_screens = SavesScreens::Never;
  // The rules between the mode's options, after parsing; none by default.
  std::function<Problem(const Options&)> check;
  std::function<int(const Options&, Settings&)> run;
};

// Adds every mode's subcommand to `app`, its options kept in `options`.
std::vector<Mode> AddModes(CLI::App& app, Options* options);

#endif  // HOST_MODES_H
