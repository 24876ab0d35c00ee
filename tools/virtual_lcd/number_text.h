// Numbers and texts as users write them in options, variables and files:
// read strictly, so that a typo is named, never read as something else, and
// quoted back in a message at a readable length.
#ifndef VIRTUAL_LCD_NUMBER_TEXT_H
#define VIRTUAL_LCD_NUMBER_TEXT_H

#include <string>

#include "problem.h"

namespace vlcd {

enum class NumberForm {
  Decimal,      // digits only
  Address,      // digits, or "0x" and hexadecimal digits
  Hexadecimal,  // hexadecimal digits only, either case
};

// `text` as a message quotes it: whole up to a line's worth (60 bytes),
// else its start and "...", cut between characters.
std::string Excerpt(const std::string& text);

// A whole number from `low` to `high`: no sign, blank, leading zero (which
// some read as octal) or trailing character. Sets `value`, or says what is wrong.
Problem ParseNumber(const std::string& text, NumberForm form, long low, long high, long* value);

}  // namespace vlcd

#endif  // VIRTUAL_LCD_NUMBER_TEXT_H
