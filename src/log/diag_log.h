// The optional diagnostic log: one time-stamped line per display call and
// per byte sent. Nothing reads it back; with logging off nothing here runs.
#ifndef LOG_DIAG_LOG_H
#define LOG_DIAG_LOG_H

#include <cstdio>
#include <ctime>

struct LogState {
  // Set by the driver's first start from its parameters; nothing here runs
  // while it is clear.
  bool log_enabled = false;
  bool log_open = false;  // an open was attempted since load or the last close
  std::FILE* log_file = nullptr;
  // Formatting the local time costs far more than a line, and a refresh logs
  // hundreds of lines a second: the stamp is made again only when the
  // second changes.
  std::time_t stamp_second = -1;
  char stamp[20] = "";
};

const LogState& log_state();

void dp_enable_log(bool enabled);
void dp_open_log();
void dp_log(const char* name, const char* text);
// Same line as dp_log, with the text formatted from `format`; no length limit.
void dp_logf(const char* name, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Logs the low 8 bits of `value` as decimal, hexadecimal and character.
void dp_log_char(const char* name, int value);
void dp_close_log();

#endif  // LOG_DIAG_LOG_H
