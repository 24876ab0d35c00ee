// lcd_host's ways to run, each in a file of its own: a session on the
// virtual LCD, a session on the real port through the user's own port
// library, the replay of a driver log, the port check and the wiring walk.
// Each returns the exit status.
#ifndef HOST_RUN_MODES_H
#define HOST_RUN_MODES_H

#include "options.h"

int RunOnVirtualLcd(const Options& options, Settings& settings);
int RunOnRealPort(const Options& options, Settings& settings);
int RunReplay(const Options& options, const Settings& settings);
int RunCheckPort(const Options& options);
int RunWiringWalk(const Options& options, Settings& settings);

#endif  // HOST_RUN_MODES_H
