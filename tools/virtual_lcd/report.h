#ifndef VIRTUAL_LCD_REPORT_H
#define VIRTUAL_LCD_REPORT_H

#include <string>
#include <vector>

#include "problem.h"
#include "virtual_lcd.h"

namespace vlcd {

// "ROM A00: N bytes (I instructions, D data) in T ms, V timing violations".
std::string Summary(const Module& module, const Traffic& traffic);

// Lines that explain a screen the summary alone would leave puzzling: no
// byte reached the module though the driver wrote elsewhere, a driver that
// set the controller up for a chip that does not suit the module's rows, or
// rows that belong to a second controller. Each ends in '\n'; "" when none apply.
std::string Notes(const VirtualLcd& lcd);

// The framed screen `shown`, the summary line, any notes and one line per
// timing violation.
std::string Report(const VirtualLcd& lcd, const Screen& shown);
struct SavedScreen {
  std::string text_path;
  std::string png_path;
  std::vector<std::string> problems;  // why a file was not written; none when both were
};

// Why `prefix` names no files, if it names none: it is empty, a folder
// (or ends in a separator), or a device such as /dev/null.
Problem CheckScreenPrefix(const std::string& prefix);
// Why files cannot be written from `prefix`, found by writing and removing
// a file of our own beside them, if they cannot.
Problem CheckScreenWritable(const std::string& prefix);

// Writes the report to <prefix>.txt and the dots of `shown` to <prefix>.png,
// unless CheckScreenPrefix refuses the prefix.
SavedScreen SaveScreen(const VirtualLcd& lcd, const Screen& shown, const std::string& prefix);

// The name screens are saved under when the user names none, or names only
// a folder.
inline constexpr char kDefaultScreenPrefix[] = "virtual_lcd";
// `given`, or for a folder (one that exists, or any name ending in a
// separator, "." and ".." included) the default name in it.
std::string ScreenPrefixFor(const std::string& given);
// "Screen written to A and B", or the problems, a line each.
std::string SavedLines(const SavedScreen& saved);

// One line for each byte recorded from the `from`-th on: its number,
// instruction or data, the value, the time since the byte before and its
// meaning, then any timing violation found as it was latched.
std::string TraceLines(const VirtualLcd& lcd, size_t from);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_REPORT_H
