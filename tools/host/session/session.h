// Running a host session: a script's commands, each the driver call a host
// would make, in order (script.h reads them).
#ifndef HOST_SESSION_H
#define HOST_SESSION_H

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "driver_module.h"
#include "problem.h"
#include "script.h"

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

// Runs the commands in order; returns the first problem, with its line.
// `driver_open`, when given, tells whether the driver was left initialised
// (an init tried, and no done after it), so that a host's shut-down is not
// sent twice.
Problem RunCommands(const DriverEntries& driver, const SessionSettings& settings,
                    const std::vector<ScriptCommand>& commands, bool* driver_open = nullptr);

#endif  // HOST_SESSION_H
