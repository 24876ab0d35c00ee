// lcd_host's command line: one subcommand per mode (modes.h), each with its
// own options, help and checks; the old flag forms taken as before.
#ifndef HOST_READ_COMMAND_LINE_H
#define HOST_READ_COMMAND_LINE_H

#include <vector>

#include "modes.h"

// Reads the command line into `options`, the mode chosen into `chosen`
// (one of `modes`, which it fills). Returns -1 to go on, or the exit status
// when lcd_host is done (--help, or a bad option already reported).
int ReadCommandLine(int argc, char** argv, Options* options, std::vector<Mode>* modes,
                    const Mode** chosen);

#endif  // HOST_READ_COMMAND_LINE_H
