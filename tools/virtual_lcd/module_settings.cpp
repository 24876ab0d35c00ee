#include "module_settings.h"

#include <charconv>
#include <cstdio>
#include <string_view>

namespace vlcd {

namespace {

constexpr int kMaxCellsPerLine = 80;
constexpr int kMaxRows = 4;

// Every chip the tools know, by the name users write; the first is the default.
struct ChipInfo {
  Chip chip;
  const char* name;
};
constexpr ChipInfo kChips[] = {{Chip::HD66712, "HD66712"}, {Chip::HD44780, "HD44780"}};
static_assert(kChips[0].chip == Chip{}, "the first chip listed is the default");

}  // namespace

Problem ParseNumber(const std::string& text, NumberForm form, long low, long high, long* value) {
  const bool prefixed = form == NumberForm::Address && text.rfind("0x", 0) == 0;
  const bool hex = prefixed || form == NumberForm::Hexadecimal;
  const std::string_view digits = std::string_view(text).substr(prefixed ? 2 : 0);
  const char* expected = form == NumberForm::Address
                             ? "a decimal number or 0x and hexadecimal digits"
                         : form == NumberForm::Hexadecimal ? "hexadecimal digits"
                                                           : "a decimal number";
  // from_chars would take a sign; a number here never has one.
  if (digits.empty() || digits[0] == '-' || digits[0] == '+') {
    return "'" + text + "' is not " + expected;
  }
  // Some tools read a leading zero as octal, others not: refuse to guess.
  if (!hex && digits.size() > 1 && digits[0] == '0' &&
      digits.find_first_not_of("0123456789") == std::string_view::npos) {
    return "'" + text + "' starts with 0, which some tools read as octal: leave the 0 out" +
           (form == NumberForm::Address ? " or write 0x for hexadecimal" : "");
  }
  long number = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, number, hex ? 16 : 10);
  if (stop != end) return "'" + text + "' is not " + expected;
  if (error == std::errc::result_out_of_range || number < low || number > high) {
    return "'" + text + "' is out of range (" + std::to_string(low) + " to " +
           std::to_string(high) + ")";
  }
  *value = number;
  return std::nullopt;
}

Problem ReadChipName(const std::string& text, Chip* chip) {
  for (const ChipInfo& known : kChips) {
    if (text == known.name) {
      *chip = known.chip;
      return std::nullopt;
    }
  }
  return "'" + text + "' is not a chip (" + ChipNames() + ", in capitals)";
}

const char* ChipName(Chip chip) {
  for (const ChipInfo& known : kChips) {
    if (known.chip == chip) return known.name;
  }
  return "?";
}

std::string ParametersFor(uint16_t port, Chip chip) {
  const std::string name = ChipName(chip);
  if (port == 0x378) return "LPT1," + name;
  if (port == 0x278) return "LPT2," + name;
  char text[16];
  std::snprintf(text, sizeof text, "0x%X,", static_cast<unsigned>(port));
  return text + name;
}

std::string ChipNames() {
  std::string names;
  for (const ChipInfo& known : kChips) {
    names += (names.empty() ? "" : " or ") + std::string(known.name);
  }
  return names;
}

Problem GeometryWarning(int columns, int rows) {
  if (columns > kMaxCellsPerLine) {
    return std::to_string(columns) + " columns: a controller shows at most " +
           std::to_string(kMaxCellsPerLine) + " cells a line";
  }
  if (rows > kMaxRows) {
    return std::to_string(rows) + " rows: a controller drives at most " + std::to_string(kMaxRows) +
           " rows";
  }
  return std::nullopt;
}

}  // namespace vlcd
