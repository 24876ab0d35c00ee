// The system calls behind the console helpers, a file for each system.
#ifndef HOST_CONSOLE_SEAM_H
#define HOST_CONSOLE_SEAM_H

#include <cstdio>

// Empties `sink` and points standard output's descriptor at it; returns a
// copy of the old descriptor for RestoreStdout, or -1 when it cannot.
int RedirectStdoutTo(std::FILE* sink);
void RestoreStdout(int saved);

#endif  // HOST_CONSOLE_SEAM_H
