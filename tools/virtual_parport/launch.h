// Starting a program with the virtual parallel port preloaded and its
// module set up, as faketime or torsocks start theirs, so nobody has to
// write LD_PRELOAD and HD_VLCD_* by hand. In a terminal the module's screen
// is shown live while the program runs, with the program's own output
// below it. virtual-lcd-run is this alone; lcd_host has it as a mode.
#ifndef VIRTUAL_PARPORT_LAUNCH_H
#define VIRTUAL_PARPORT_LAUNCH_H

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <map>
#include <string>
#include <vector>

inline constexpr int kCannotRun = 127;  // as a shell says of a program it cannot run

struct Launch {
  std::string name = "virtual-lcd-run";  // as messages and examples name the launcher
  std::string device = "/dev/parport0";
  std::map<std::string, std::string> settings;  // setting name: value given
  std::string output;
  bool trace = false;
  bool live = isatty(STDOUT_FILENO) != 0;
  std::vector<std::string> command;  // the program and its arguments
};

// The launcher's options, and the program after them, on `command`.
void AddLaunchOptions(CLI::App& command, Launch* launch);
// After parsing: the program and the settings given, or what is wrong ("").
std::string FinishLaunch(const CLI::App& command, Launch* launch);
// Runs the program, live or in the launcher's place; its exit status, or
// kCannotRun.
int RunLaunch(const Launch& launch);

#endif  // VIRTUAL_PARPORT_LAUNCH_H
