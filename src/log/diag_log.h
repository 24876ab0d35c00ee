// The optional diagnostic log: one time-stamped line per display call and
// per byte sent. Nothing reads it back; with logging off nothing here runs.
#ifndef LOG_DIAG_LOG_H
#define LOG_DIAG_LOG_H

#include <cstdio>

// The open log file, or nullptr: none open, or the open failed.
std::FILE* dp_log_file();
// Back to the load-time values, as a fresh load of the module leaves it;
// for the unit tests, which load the driver once for many cases.
void ResetLogState();

void dp_enable_log(bool enabled);
void dp_open_log();
void dp_log(const char* name, const char* text);
// Same line as dp_log, with the text formatted from `format`; no length limit.
void dp_logf(const char* name, const char* format, ...) __attribute__((format(printf, 2, 3)));
// Logs the low 8 bits of `value` as decimal, hexadecimal and character.
void dp_log_char(const char* name, int value);
void dp_close_log();

#endif  // LOG_DIAG_LOG_H
