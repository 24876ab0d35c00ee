// Each of lcd_host's modes, in a file of its own (modes.h).
#ifndef HOST_RUN_MODES_H
#define HOST_RUN_MODES_H

#include "modes.h"

Mode AddDemoMode(CLI::App& app, Options* options);
Mode AddScriptMode(CLI::App& app, Options* options);
Mode AddTestPatternMode(CLI::App& app, Options* options);
Mode AddReplayMode(CLI::App& app, Options* options);
Mode AddCheckPortMode(CLI::App& app, Options* options);
Mode AddWiringWalkMode(CLI::App& app, Options* options);
Mode AddRealPortMode(CLI::App& app, Options* options);
// A program of the user's on the virtual parallel port, where there is one
// (Linux); elsewhere a Mode without a command.
Mode AddRunProgramMode(CLI::App& app, Options* options);

// The session on the virtual LCD the wiring walk ends with on the
// simulator, and the real-port session it ends with on a port.
int RunSessionOnVirtualLcd(const Options& options, Settings& settings, bool test_pattern,
                           bool window);
int RunOnRealPort(const Options& options, Settings& settings);

#endif  // HOST_RUN_MODES_H
