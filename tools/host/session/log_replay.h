// Replaying a driver log written with "Log" on any machine: the instruction
// and data bytes it records are fed to a virtual module, so the screen the
// real module should have shown can be set beside the one it did show.
#ifndef HOST_LOG_REPLAY_H
#define HOST_LOG_REPLAY_H

#include <string>
#include <vector>

#include "problem.h"
#include "virtual_lcd.h"

struct ReplayedSession {
  int first_line = 0;  // of its "dp_open_log" line, or 1
  int last_line = 0;
  vlcd::VirtualLcd lcd;
  // "size and chip", when the module's settings came from this session's
  // Init lines; empty when the module is as the user gave it.
  std::string from_log;
  // Shut-down clears the display: what it showed just before is what the
  // user saw while the host ran.
  bool shut_down = false;
  vlcd::Screen before_shut_down;
  // DISPLAYDLL_Init was called but no port library loaded: it failed, and
  // nothing could be sent. The driver does not log its failure message.
  bool init_failed = false;
  // Bytes the log records after such a failure, which never left the driver.
  int64_t unsent_bytes = 0;
  // The line whose function set switched the controller to 4-bit transfers,
  // or 0: the driver sends whole bytes, so what follows it is garbled.
  int four_bit_line = 0;
};

struct Replay {
  std::vector<ReplayedSession> sessions;
  // The first lines that could not be read, "line N: why", and how many
  // more there were: a binary file has hundreds of thousands.
  std::vector<std::string> unreadable;
  int64_t more_unreadable = 0;
  std::vector<std::string> warnings;  // about the log as a whole
};

// The settings a replay takes from what each session's Init recorded
// ("Display width=16, height=2", "Chip type=1"), because the user left
// them out.
struct FromTheLog {
  bool columns = false;
  bool rows = false;
  bool chip = false;
  // Not from the log: every session's module keeps the bytes it latched,
  // for a trace.
  bool record_bytes = false;
};

// The log at `path`, read a line at a time: each "dp_open_log" line starts
// a session on a fresh `module`. Lines end as an editor's do (LF, CR LF,
// CR). Says why the log cannot be read, if it cannot.
Problem ReplayLogFile(const std::string& path, const vlcd::Module& module, FromTheLog from_log,
                      Replay* replay);

// What the host shows when DISPLAYDLL_Init fails, for a session whose log
// says it did.
extern const char kInitFailureMessages[];

#endif  // HOST_LOG_REPLAY_H
