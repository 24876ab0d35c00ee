// How lcd_host speaks: errors and warnings on standard error under its own
// name, and the exit statuses it ends with.
#ifndef HOST_MESSAGES_H
#define HOST_MESSAGES_H

#include <string>

#include "problem.h"

constexpr int kRunError = 1;
constexpr int kUsageError = 2;

// Prints "lcd_host: <message>" and returns `status`.
int Fail(int status, const std::string& message);
void Warn(const std::string& message);
// Prints "lcd_host: note: <message>": nothing is wrong, but something to know.
void Note(const std::string& message);

#endif  // HOST_MESSAGES_H
