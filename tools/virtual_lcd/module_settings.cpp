#include "module_settings.h"

#include <cctype>

namespace vlcd {

namespace {

constexpr int kMaxCellsPerLine = 80;
constexpr int kMaxRows = 4;

int DigitValue(char c, int base) {
  const int digit = HexDigit(c);
  return digit < base ? digit : -1;
}

}  // namespace

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const int lower = std::tolower(static_cast<unsigned char>(c));
  if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
  return -1;
}

std::string ParseNumber(const std::string& text, NumberForm form, long low, long high,
                        long* value) {
  const bool hex = form == NumberForm::Address && text.rfind("0x", 0) == 0;
  const int base = hex ? 16 : 10;
  const std::string digits = hex ? text.substr(2) : text;
  const std::string expected = form == NumberForm::Address
                                   ? "a decimal number or 0x and hexadecimal digits"
                                   : "a decimal number";
  if (digits.empty()) return "'" + text + "' is not " + expected;
  // Some tools read a leading zero as octal, others not: refuse to guess.
  if (!hex && digits.size() > 1 && digits[0] == '0' &&
      digits.find_first_not_of("0123456789") == std::string::npos) {
    return "'" + text + "' starts with 0, which some tools read as octal: leave the 0 out" +
           (form == NumberForm::Address ? " or write 0x for hexadecimal" : "");
  }
  long number = 0;
  for (char c : digits) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return "'" + text + "' is not " + expected;
    // Stop before the number can overflow; anything this large is out of range.
    if (number > high) break;
    number = number * base + digit;
  }
  if (number < low || number > high) {
    return "'" + text + "' is out of range (" + std::to_string(low) + " to " +
           std::to_string(high) + ")";
  }
  *value = number;
  return "";
}

std::string ParseChip(const std::string& text, Chip* chip) {
  if (text == "HD66712") {
    *chip = Chip::HD66712;
  } else if (text == "HD44780") {
    *chip = Chip::HD44780;
  } else {
    return "'" + text + "' is not a chip (HD66712 or HD44780, in capitals)";
  }
  return "";
}

const char* ChipName(Chip chip) { return chip == Chip::HD66712 ? "HD66712" : "HD44780"; }

std::string GeometryWarning(int columns, int rows) {
  if (columns > kMaxCellsPerLine) {
    return std::to_string(columns) + " columns: a controller shows at most " +
           std::to_string(kMaxCellsPerLine) + " cells a line";
  }
  if (rows > kMaxRows) {
    return std::to_string(rows) + " rows: a controller drives at most " + std::to_string(kMaxRows) +
           " rows";
  }
  return "";
}

}  // namespace vlcd
