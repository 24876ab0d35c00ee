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
  vlcd::Screen before_shut_down;
  // DISPLAYDLL_Init was called but no port library loaded: it failed, and
  // nothing could be sent. The driver does not log its failure message.
  bool init_failed = false;
  // Bytes the log records after such a failure, which never left the driver.
  int64_t unsent_bytes = 0;
};

struct Replay {
  std::vector<ReplayedSession> sessions;
  std::vector<std::string> unreadable;  // "line N: why"
  std::vector<std::string> warnings;    // about the log as a whole
};

// Each "dp_open_log" line starts a session on a fresh `module`. CR LF or LF.
Replay ReplayLog(const std::string& log, const vlcd::Module& module);

// What the host shows when DISPLAYDLL_Init fails, for a session whose log
// says it did.
extern const char kInitFailureMessages[];

#endif  // HOST_LOG_REPLAY_H
