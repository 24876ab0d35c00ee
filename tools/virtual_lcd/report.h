#ifndef VIRTUAL_LCD_REPORT_H
#define VIRTUAL_LCD_REPORT_H

#include <string>

#include "virtual_lcd.h"

namespace vlcd {

// The framed screen, the summary line, any notes and one line per timing
// violation.
std::string Report(const VirtualLcd& lcd);
// Writes the report to <prefix>.txt and the dots to <prefix>.png; returns
// the report, with a line saying where the files went or why one could not
// be written. `problems` gets those lines alone: "" when both were saved.
std::string SaveScreen(const VirtualLcd& lcd, const std::string& prefix, std::string* problems);

// One line for each byte recorded from the `from`-th on: its number,
// instruction or data, the value, the time since the byte before and its
// meaning, then any timing violation found as it was latched.
std::string TraceLines(const VirtualLcd& lcd, size_t from);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_REPORT_H
