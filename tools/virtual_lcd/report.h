#ifndef VIRTUAL_LCD_REPORT_H
#define VIRTUAL_LCD_REPORT_H

#include <string>

#include "virtual_lcd.h"

namespace vlcd {

// The framed screen, the summary line and one line per timing violation.
std::string Report(const VirtualLcd& lcd);
// Writes the report to <prefix>.txt and the dots to <prefix>.png; returns
// the report, with a line saying where the files went or that they could not
// be written.
std::string SaveScreen(const VirtualLcd& lcd, const std::string& prefix);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_REPORT_H
