// Replaying a driver log written with "Log" on any machine: the instruction
// and data bytes it records are fed to a virtual module, so the screen the
// real module should have shown can be set beside the one it did show.
#ifndef HOST_LOG_REPLAY_H
#define HOST_LOG_REPLAY_H

#include <string>
#include <vector>

#include "virtual_lcd.h"

struct ReplayedSession {
  int first_line = 0;  // of its "dp_open_log" line, or 1
  int last_line = 0;
  vlcd::VirtualLcd lcd;
  // Shut-down clears the display: what it showed just before is what the
  // user saw while the host ran.
  bool shut_down = false;
  vlcd::VirtualLcd before_shut_down;
};

struct Replay {
  std::vector<ReplayedSession> sessions;
  std::vector<std::string> unreadable;  // "line N: why"
};

// Each "dp_open_log" line starts a session on a fresh `module`. CR LF or LF.
Replay ReplayLog(const std::string& log, const vlcd::Module& module);

#endif  // HOST_LOG_REPLAY_H
