// lcd_host's ways to run, each in a file of its own: a session on the
// virtual LCD, a session on the real port through the user's own port
// library, the replay of a driver log, the port check and the wiring walk.
// Each file adds its mode's flag and own options, keeping what they are
// given there, and runs the mode, returning the exit status.
#ifndef HOST_RUN_MODES_H
#define HOST_RUN_MODES_H

#include <CLI/CLI.hpp>
#include <string>

#include "options.h"

void AddVirtualLcdOptions(CLI::App& app, const std::string& heading);
int RunOnVirtualLcd(const Options& options, Settings& settings);

void AddRealPortOptions(CLI::App& app, const std::string& heading);
int RunOnRealPort(const Options& options, Settings& settings);

void AddReplayOptions(CLI::App& app, const std::string& heading);
int RunReplay(const Options& options, Settings& settings);

void AddCheckPortOptions(CLI::App& app, const std::string& heading);
int RunCheckPort(const Options& options, Settings& settings);

void AddWiringWalkOptions(CLI::App& app, const std::string& heading);
int RunWiringWalk(const Options& options, Settings& settings);

// A session on the virtual LCD that runs the test pattern or the demo when
// no --script is given, as the wiring walk ends with one.
int RunSessionOnVirtualLcd(const Options& options, Settings& settings, bool test_pattern);

#endif  // HOST_RUN_MODES_H
