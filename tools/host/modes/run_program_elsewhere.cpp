// The virtual parallel port is a Linux program's ppdev device: elsewhere
// lcd_host has no run mode.
#include "run_modes.h"

Mode AddRunProgramMode(CLI::App&, Options*) { return Mode{}; }
